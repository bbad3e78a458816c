#pragma once
// The working store of the section analysis: the section being analysed in
// its own axes, its slice table, its materials, the current strain state and
// the forces it left, the run flags and the neutral-axis memory. One
// process-wide instance, `SecWork`, reset at the start of every run and
// rebuilt for every section, station position and direction of loading.

#include <array>

#include "model/Limits.h"
#include "section/Materials.h"
#include "section/NeutralAxis.h"
#include "section/SliceTable.h"

namespace kestro {

struct SectionWork {
    int Section = 0;                  // input section number
    bool b_SI = false;
    SectionGeometry Geometry{};       // as built from the input (top of a tapered section)
    SectionGeometry Station{};        // at the current station position
    SliceTable Slices{};
    SectionMaterials Materials{};
    SectionRunFlags Flags{};
    SectionForces Forces{};

    double Curvature = 0.0;           // phi of the current point
    double Thrust = 0.0;              // P of the current thrust, compression positive
    int ThrustIndex = 1;
    int PointIndex = 1;
    NeutralAxisSearch Search{};
    // Converged neutral-axis depth per thrust and point.
    std::array<std::array<double, MaxMomentCurvaturePoints + 1>, MaxAxialThrusts + 1> NeutralAxisDepth{};

    bool b_PrestressReported = false; // the prestress block is written once per run
};

extern SectionWork SecWork;

// Empties the working store (start of a run).
void ResetSectionWork();

}  // namespace kestro
