#pragma once
// Nonlinear bending stiffness tables: for each pile section (at most
// MaxEISections) and each axial thrust of the common ascending thrust list
// (Problem.AxialThrusts, at most MaxAxialThrusts), a moment-EI-curvature curve
// of at most MaxMomentCurvaturePoints points, ascending in curvature with the
// moment never decreasing, and the nominal moment capacity of the curve.
// Filled by the section analysis; read by the pile analysis, which looks up
// EI from the current curvature of every station.
//
// Units: kip-in and kip-in^2 in US customary runs (the station arrays hold
// pounds, so the lookups multiply by 1000), kN-m and kN-m^2 in SI runs.
// Indices are 1-based: Moment[j][p] is point p of the curve of thrust j.

#include <array>

#include "model/Limits.h"
#include "model/ProblemData.h"

namespace kestro {

template <typename T>
using ThrustPointArray = std::array<std::array<T, MaxMomentCurvaturePoints + 1>, MaxAxialThrusts + 1>;

struct NonlinearEITable {
    int NumThrusts = 0;                                  // thrusts with a curve (plot record Line 3)
    Array1<double, MaxAxialThrusts> Thrust{};            // the thrust of each curve, as computed
    Array1<int, MaxAxialThrusts> NumPoints{};            // np(j, k), 0..MaxMomentCurvaturePoints
    Array1<double, MaxAxialThrusts> NominalMomentCapacity{};  // Mn, 0 when never reached
    Array1<double, MaxAxialThrusts> StrainAtMn{};
    ThrustPointArray<double> Moment{};
    ThrustPointArray<double> EI{};
    ThrustPointArray<double> Curvature{};
    // Plastic moment of an elastic section with specified moment capacity
    // (SectionType 12), in the table's units.
    double PlasticMoment = 0.0;
};

// One table per section that has one (sections 1..MaxEISections), for
// reading. A table is written only through EITableToWrite, so that a run
// empties just the tables the run before it wrote (the tables are about
// 4 MB; most runs write one or two).
extern const Array1<NonlinearEITable, MaxEISections>& EITables;

// The table of section s (1..MaxEISections) for writing; it is marked to be
// emptied at the next reset.
NonlinearEITable& EITableToWrite(int s);

// Empties every table written since the last reset (start of a run).
void ResetEITables();

}  // namespace kestro
