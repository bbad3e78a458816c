#pragma once

namespace kestro {

// The driver's run, from NAMES.DAT to the completion step; returns the run result.
int RunAnalysis();
// The stages after the input is read: units, header, echo, conversion,
// section analysis, pile analysis and summary, in their fixed order.
void RunStages();
// Empties the analysis state of the store (stations, soil tables, EI tables)
// at the start of a run.
void ResetAnalysisState();

// Input data error of a soil layer whose bottom lies above its top.
inline constexpr int ErrInvertedLayer = 91;

}  // namespace kestro
