#pragma once
// Axial force equilibrium of a bent section and the neutral-axis search.
//
// Provides:
//  - `SectionForces`: slice strains, per-slice stresses and forces of every
//    material and their totals, as left by the last force evaluation (the
//    moment-curvature step takes its moments from them);
//  - `AxialThrustForce`: the axial force of the strain state
//    eps(i) = phi (dNA - SliceDepth(i)) on a given slice table and materials;
//  - `NeutralAxisSearch` and `FindNeutralAxis`: Newton iteration with a
//    central-difference slope and best-point memory for the depth at which
//    the axial force equals the applied thrust; after 1,000 iterations the run
//    ends with Runtime Error 16;
//  - `Compute_Axial_Thrust_Force` and `Find_Neutral_Axis`, the same on the
//    section working store `SecWork` (SectionWork.h).
//
// Units: dNA and lengths in the section length unit (in, or m in SI runs),
// measured down from the compression face of the turned section; curvature
// 1/length; forces in kips (US) or kN (SI), compression positive.

#include "section/Materials.h"
#include "section/SliceTable.h"

namespace kestro {

struct SectionForces {
    SliceArray Strain{};
    // Stress and force (stress x area) per slice of each material.
    SliceArray ConcreteStress{}, RebarStress{}, CasingStress{}, CoreSteelStress{}, CoreConcreteStress{},
        HPileStress{};
    SliceArray ConcreteForceAt{}, RebarForceAt{}, CasingForceAt{}, CoreForceAt{}, InnerConcreteForceAt{},
        HPileForceAt{};
    double ConcreteForce = 0.0;
    double RebarForce = 0.0;
    double CasingForce = 0.0;
    double CoreForce = 0.0;
    double InnerConcreteForce = 0.0;
    double HPileForce = 0.0;
    double TotalAxialForce = 0.0;
    // Generation of the slice table these arrays were last cleared for.
    unsigned long TableGeneration = 0;
};

// Axial force of the strain state at curvature phi and neutral-axis depth
// dNA; fills `f` and raises the run flags. Pure: no store, no files.
double AxialThrustForce(const SliceTable& t, const SectionMaterials& m, double phi, double dNA, SectionForces& f,
                        SectionRunFlags& flags);

// Search constants of a unit system.
struct NeutralAxisConstants {
    double Step = 1.0e-7;        // central-difference step (1.0e-7 in, 2.54e-9 m)
    double Tolerance = 1.0e-6;   // step tolerance (1.0e-6 in, 2.54e-8 m)
    double ZeroSlopeStep = 1.0e-8;
    int MaxIterations = 1000;
};
NeutralAxisConstants NeutralAxisConstantsFor(bool si);

// State carried between curvature points of one thrust: the starting depth
// (the last converged depth), reset to H/2 at the start of each thrust.
struct NeutralAxisSearch {
    double Start = 0.0;
    bool b_HaveStart = false;
    int Iterations = 0;          // of the last search
    bool b_Failed = false;       // the last search reached the iteration limit
    // The last search proved that no depth balances the thrust: the axial
    // force over every strain state of this curvature (top-fibre strains from
    // a tension of ScanStrainLimit to a compression of ScanStrainLimit beyond
    // the bottom fibre) stays on one side of it. Set together with b_Failed.
    bool b_NoEquilibrium = false;
    double LargestForce = 0.0;   // the largest axial force met by that scan
    double SmallestForce = 0.0;  // the smallest
};

// Strain range of the scan that looks for a sign change of the force when
// the Newton iteration fails: every law of the section analysis has reached
// its last branch (crushed concrete, yielded or limiting steel) well within
// a strain of 0.05.
inline constexpr double ScanStrainLimit = 0.05;
inline constexpr double ScanStrainStep = 2.5e-5;

// Finds dNA with AxialThrustForce(dNA) = thrust. Returns the depth reached;
// `search.b_Failed` is set when 1,000 iterations did not meet the stop rule
// and neither the nearby bracket search nor the strain scan found a sign
// change (the caller raises Runtime Error 16, or, with `b_NoEquilibrium`,
// reports that the section cannot carry the thrust at this curvature). `f`
// and `flags` hold the last evaluation (the +step probe of the final
// iteration).
double FindNeutralAxis(const SliceTable& t, const SectionMaterials& m, double phi, double thrust,
                       const NeutralAxisConstants& k, NeutralAxisSearch& search, SectionForces& f,
                       SectionRunFlags& flags);

// On the working store SecWork: force at dNA for SecWork.Curvature.
double Compute_Axial_Thrust_Force(double dNA);
// On the working store: dNA for SecWork.Curvature and SecWork.Thrust, stored
// in SecWork.NeutralAxisDepth[thrust index][point index]. Ends the run with
// Runtime Error 16 (report and message file) when the search fails for want
// of convergence; when no depth balances the thrust it only sets
// SecWork.Search.b_NoEquilibrium and leaves the decision to the caller.
double Find_Neutral_Axis();

}  // namespace kestro
