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
};

extern PileModel Pile;

}  // namespace kestro
