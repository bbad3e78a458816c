#pragma once
// Results of the section analysis besides the EI tables: the axial and
// tensile capacities of every section and the working table of the
// moment-curvature curve being computed (one thrust at a time), which the
// section report prints before the next thrust replaces it.
//
// Units of the section analysis: kips, inches and ksi in US customary runs,
// kN, m and kPa in SI runs, the input's own units in general-unit runs.

#include <array>

#include "model/Limits.h"
#include "model/ProblemData.h"

namespace kestro {

// Capacities and derived properties of one section (concrete, steel pipe or
// prestressed), as printed on its property pages.
struct SectionCapacity {
    bool Computed = false;
    double Pn = 0.0;            // nominal axial compressive capacity (> 0)
    double Nt = 0.0;            // nominal axial tensile capacity (< 0)
    double Tcr = 0.0;           // tensile load that cracks the concrete (< 0)
    double Fc = 0.0;            // f'c
    double Ec = 0.0;            // concrete modulus
    double Fr = 0.0;            // modulus of rupture (negative)
    double Eps0 = 0.0;          // strain at peak concrete stress
    double CrackStrain = 0.0;   // tensile strain at cracking (negative)
    double GrossArea = 0.0;     // outline area (inside the casing for cased shafts)
    double ConcreteArea = 0.0;  // net concrete area
    double BarArea = 0.0;       // bars or strands
    double CasingArea = 0.0;    // casing or pipe wall
    double CoreArea = 0.0;      // core pipe wall
};

extern Array1<SectionCapacity, MaxSections> SectionCapacities;

// One point of the curve being computed.
struct CurvePoint {
    double Curvature = 0.0;
    double Moment = 0.0;
    double EI = 0.0;
    double NeutralAxis = 0.0;      // depth from the compression face
    double MaxCompStrain = 0.0;
    double MaxTensStrain = 0.0;
    double MaxConcreteStress = 0.0;
    double MaxSteelStress = 0.0;
    double MaxCasingStress = 0.0;
    double MaxCoreStress = 0.0;
    std::array<char, 3> Msg{' ', ' ', ' '};  // run messages C, S, Y or Z
};

struct WorkingCurve {
    int NumPoints = 0;
    double Thrust = 0.0;
    double NominalMoment = 0.0;
    Array1<CurvePoint, MaxMomentCurvaturePoints> Points{};
};

extern WorkingCurve Curve;

void ResetSectionTables();

}  // namespace kestro
