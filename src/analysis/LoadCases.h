#pragma once
// The load-case analysis: for every pile-head load case, the nonlinear
// iteration on soil moduli and bending stiffness, and its results.

namespace kestro {

// Number of cases analysed: the load cases, or the LRFD load combinations.
int NumAnalysisCases();

// Runs every load case in input order; returns with the error set on a fatal error.
void RunLoadCases();

// Results page, plot records and summary values of the converged case `c`.
void WriteCaseResults(int c);
// Summary of pile responses after all load cases (with the LRFD
// performance table in LRFD runs).
void WriteSummary();
void WriteLrfdPerformance();

// p-y curves printed at the user's depths (after load case 1).
void PrintPyCurvesAtDepths();

}  // namespace kestro
