#pragma once

namespace kestro {

// The driver's run, from NAMES.DAT to the completion step; returns the run result.
int RunAnalysis();
// The stages after the input is read: units, header, echo, conversion,
// section analysis, pile analysis and summary, in their fixed order.
void RunStages();
// Tests the report, plot and message channels for a failed write (a full
// disk); a failure ends the run with Runtime Error 43, once. True when every
// write so far succeeded.
bool CheckOutputWrites();
// Empties the analysis state of the store (stations, soil tables, EI tables)
// at the start of a run.
void ResetAnalysisState();
// Empties the whole model store: the run state, the problem read, the
// warnings, the results held in memory and the analysis state.
void ResetModelStore();

// Input data error of a soil layer whose bottom lies above its top.
inline constexpr int ErrInvertedLayer = 91;
// Input data error of a pile-response run without any load case (or LRFD
// load combination) to analyse.
inline constexpr int ErrNoLoadCases = 83;

// Runtime errors of the run files: two run files naming the same file, a
// path longer than a NAMES.DAT line holds, a write to an output file that
// failed.
inline constexpr int ErrSameRunFile = 41;
inline constexpr int ErrPathTooLong = 42;
inline constexpr int ErrWriteFailed = 43;
// Runtime error of a run file naming NAMES.DAT or the engine's message log.
inline constexpr int ErrReservedRunFile = 37;

}  // namespace kestro
