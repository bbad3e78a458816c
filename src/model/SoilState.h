#pragma once
// Per-run state of the p-y criteria, shared by the load-case iteration (which
// counts rock layers and sets the layer markers) and the criteria (which keep
// the layer resistances and equivalent depths). Zeroed at the start of a run.

#include <cstdint>

#include "model/Limits.h"
#include "model/ProblemData.h"

namespace kestro {

// Matlock's (1970) empirical factor J of the soft clay wedge term; the keyword
// input has no entry for it, so every run uses the value recommended for
// soft clay.
inline constexpr double DefaultSoftClayJ = 0.5;

struct SoilState {
    // Integral of the ultimate soil resistance over the part of layer k that
    // the pile crosses, rebuilt every time the layer is evaluated.
    Array1<double, MaxSoilLayers> LayerResistance{};
    // Depth in layer k's own soil at which that soil carries the resistance of
    // all layers above it (layered-soil correction of Georgiadis 1983).
    Array1<double, MaxSoilLayers> EquivalentDepth{};
    // Accumulated resistance of a liquefied sand layer; used by the equivalent
    // depth in place of a LayerResistance below 0.01.
    Array1<double, MaxSoilLayers> LiquefiedResistance{};
    // Set to -1 by the load-case iteration for the criteria's messages.
    Array1<int, MaxSoilLayers> LayerMarker{};
    // RockLayerCount as the layer saw it in its last evaluation outside print
    // mode, so that a printed curve uses the depth the analysis used.
    Array1<int, MaxSoilLayers> RockCountSeen{};
    // Number of rock-like layers evaluated so far in the current pass over the
    // layers; equivalent depths are used only while it is 0. Set to 0 before
    // each pass by the load-case iteration, incremented after each layer whose
    // code counts (IncrementsRockLayerCount).
    int RockLayerCount = 0;
    // True while the curves at user depths are printed: a criterion then
    // writes its curve page instead of secant moduli.
    bool PyPrintMode = false;
    // The soft clay factor J, printed as "Default J parameter".
    double SoftClayJ = DefaultSoftClayJ;
};

extern SoilState Soil;

void ResetSoilState();

// Generation of the station data that the p-y station loop keeps through the
// iteration of a load case. The number only ever grows: a new generation is
// started at every load case and by every reset of the soil state, the pile
// model or the problem data, so kept data can never outlive what it was
// computed from.
std::uint64_t KeptStationGeneration();
void NewKeptStationGeneration();

}  // namespace kestro
