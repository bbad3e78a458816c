#pragma once

// Fixed capacities of the process-wide model store. Every reader checks its
// counts against these before it writes an array, so no input can overrun them.
namespace kestro {

constexpr int MaxIncrements = 500;
constexpr int MinIncrements = 40;
constexpr int MaxStations = 505;          // stations 1..N with N = increments + 1
constexpr int StationOffset = 2;          // index of station i is i + StationOffset (y(-1) lives at 1)
constexpr int StationArraySize = MaxStations + StationOffset + 2;
constexpr int MaxSoilLayers = 40;
constexpr int MaxStrengthPoints = 80;     // two points per layer
constexpr int MaxSections = 20;
constexpr int MaxEISections = 10;
constexpr int MaxPropertyRows = 2 * MaxSections;
constexpr int MaxAxialThrusts = 100;
constexpr int MaxMomentCurvaturePoints = 150;
constexpr int MaxSlices = 100;
constexpr int MaxBars = 300;
constexpr int MaxPyPoints = 17;
constexpr int MaxWarnings = 4000;
constexpr int MaxLoadCases = 100;
constexpr int MaxDistributedLoadPoints = 50;
constexpr int MaxTipShearPoints = 50;
constexpr int MaxGroupFactorPoints = 80;
constexpr int MaxSoilMovementPoints = 100;
constexpr int MaxPrintedPyDepths = 50;
constexpr int MaxLrfdGroups = 100;
constexpr int MaxLrfdDistributedPoints = 100;
constexpr int MaxLrfdCombinations = 100;
constexpr int NumLrfdLoadTypes = 13;
constexpr int MaxConcreteCurvePoints = 99;
constexpr int MaxUserCurvePoints = 30;
constexpr int MaxUserEIPoints = 150;      // moment-EI points per thrust of a user-defined EI section
constexpr int MaxStrands = 300;
constexpr int RecordLength = 256;         // one input record, one NAMES.DAT line

}  // namespace kestro
