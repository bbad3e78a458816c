#pragma once
// The finite-difference pile model: stations 1..N from the pile head to the
// tip with constant spacing h, plus the imaginary stations y(-1), y(0) above
// the head and y(N+1) below the tip. Rebuilt for every load case.

#include <array>
#include <cstddef>

#include "model/Limits.h"
#include "model/ProblemData.h"

namespace kestro {

// Array position of station i (i = -1 .. MaxStations + 1).
constexpr std::size_t St(int i) { return static_cast<std::size_t>(i + StationOffset); }

using StationArray = std::array<double, StationArraySize>;

// Values of one converged load case kept for the summary table.
struct CaseSummary {
    int LoadType = 0;
    double Condition1 = 0.0, Condition2 = 0.0, AxialLoad = 0.0;
    double HeadDeflection = 0.0;
    double HeadRotation = 0.0;
    double MaxMoment = 0.0;
    double MaxShear = 0.0;
    double DepthMaxMoment = 0.0;
    double DepthMaxShear = 0.0;
    double HeadShear = 0.0;
    double HeadMoment = 0.0;
    int Iterations = 0;
    int ZeroDeflectionPoints = 0;
    // Per pile section: largest |M| and |V| of the case, and the nominal
    // moment capacity at the case's axial load (0: none).
    Array1<double, MaxEISections> SectionMaxMoment{}, SectionMaxShear{}, SectionCapacity{};
};

struct PileModel {
    int NumStations = 0;          // N = increments + 1
    double Length = 0.0;          // L
    double Spacing = 0.0;         // h = L / increments

    StationArray x{};             // distance from the head along the pile
    StationArray xv{};            // vertical depth below the head
    StationArray y{};             // lateral deflection (with imaginary stations)
    StationArray Es{};            // secant soil modulus p/y
    StationArray EI{};            // bending stiffness
    StationArray W{};             // distributed lateral load per length used by the solver
    StationArray ysm{};           // lateral soil movement
    std::array<int, StationArraySize> Section{};

    // Results of the converged solution
    StationArray Moment{}, Shear{}, Slope{}, SoilReaction{}, TotalStress{};
    // Ultimate soil resistance per length of the station's criterion at the
    // last soil update (p-multiplier applied); 0 where none.
    StationArray Pu{};
    // Station whose curvature ran beyond the end of its moment-EI table.
    std::array<bool, StationArraySize> b_BeyondEITable{};
    bool b_EITableExceeded = false;   // any station, this run

    // Soil layer assignment: stations of layer k (FirstStation 0: no station)
    Array1<int, MaxSoilLayers> FirstStation{};
    Array1<int, MaxSoilLayers> LastStation{};

    // Current load case as seen by the solver
    int LoadType = 1;
    double HeadShear = 0.0, HeadMoment = 0.0, HeadSlope = 0.0, HeadRotationalStiffness = 0.0,
           HeadDeflection = 0.0;
    double AxialLoad = 0.0;       // Q, compression positive
    double TipShear = 0.0;        // V_tip
    double DYMAX = 0.0;

    // Iteration state of the current load case
    int LoadCaseNumber = 0;
    int Iteration = 0;
    bool b_NonlinearEI = false;   // EI updated from the moment-EI tables
    int ThrustIndex = 1;
    bool b_StiffnessMode = false; // results stored for the head-stiffness study, no pages
    // p-multiplier of a pile in a group, applied over the group-effect table
    // (1 outside a group run).
    double GroupPMultiplier = 1.0;

    // Running maxima of the station results of the case
    double MaxMoment = 0.0, DepthMaxMoment = 0.0;
    double MaxShear = 0.0, DepthMaxShear = 0.0;
    double MaxStress = 0.0;
    Array1<double, MaxEISections> SectionMaxMoment{}, SectionMaxShear{};
    Array1<int, MaxEISections> SectionMaxMomentStation{}, SectionMaxShearStation{};

    // Equilibrium check of the case: largest imbalances and their stations,
    // and the shear and slope carried from one segment to the next.
    double MaxMomentImbalance = 0.0, MaxForceImbalance = 0.0;
    int MomentImbalanceStation = 0, ForceImbalanceStation = 0;
    double CarriedShear = 0.0, CarriedSlope = 0.0;

    // LRFD: distributed load per unit length of each load type (1..13) at
    // every station, averaged over the station's tributary length.
    std::array<StationArray, NumLrfdLoadTypes + 1> LrfdW{};
    bool b_LrfdCase = false;      // the current case is an LRFD load combination

    // Summary of every converged load case
    Array1<CaseSummary, MaxLoadCases> Summary{};
    int NumSummaryCases = 0;
};

extern PileModel Pile;

// Empties the pile model (start of a run).
void ResetPileModel();

}  // namespace kestro
