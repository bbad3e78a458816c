#pragma once
// The load-case analysis: for every pile-head load case, the nonlinear
// iteration on soil moduli and bending stiffness, and its results.

namespace kestro {

// Number of cases analysed: the load cases, or the LRFD load combinations.
int NumAnalysisCases();

// Runs every load case in input order; returns with the error set on a fatal error.
void RunLoadCases();

// One pass of the p-y criteria over every layer that holds a station: the
// secant moduli Es at the current deflections. The caller tests Failed().
void UpdateSoilModuli();

// Results page, plot records and summary values of the converged case `c`.
void WriteCaseResults(int c);
// Summary of pile responses after all load cases (with the LRFD
// performance table in LRFD runs).
void WriteSummary();
void WriteLrfdPerformance();

// p-y curves printed at the user's depths (after load case 1).
void PrintPyCurvesAtDepths();

// ---- The studies that repeat the iteration with loads or lengths of their own ----

// Stations of a pile of length `length` (the run's increments), with their
// sections, soil layers and soil movements; W(i) from the input's distributed
// loads. The load cases build theirs with it at the full pile length.
void PrepareStationsOfLength(double length);

// The station of the largest deflection of stations 1..N (the head on a tie):
// the deflection the excess deflection limit is tested on.
int LargestDeflectionStation();

enum class StudyCaseEnd {
    Converged,     // the iteration met the convergence rule
    LimitReached,  // excess deflection or iteration limit: no error is raised
    Failed,        // a fatal error (solver, p-y criteria) is set
};
// One case of a study on the stations prepared: initial moduli, the head
// loads of type `loadType` (1..5) with its two conditions and the axial load,
// and the iteration with its progress lines numbered `progressCase`.
StudyCaseEnd RunStudyCase(int progressCase, int loadType, double condition1, double condition2, double axial);

// Pile-head stiffness terms K22, K23, K32 and K33 for ten shears at zero
// rotation and ten moments at zero deflection (after the summary).
void ComputeHeadStiffness();
// Head deflection, maximum moment and shear of load case `n` for twenty
// trial pile lengths from the full length down to 5 % of it.
void LengthStudy(int n);

}  // namespace kestro
