#pragma once
// Slope, bending moment, shear, soil reaction and total stress of the
// stations from the converged deflections, the equilibrium check of the
// solution and the values kept for the summary.

namespace kestro {

// Bending moment of station i from the current deflections (0 at the tip);
// the head and station 2 use EI(2) for the stations above the head.
double StationMoment(int i);

struct PileProperties;
// Distance from the neutral axis to the extreme fibre in bending of pile
// section `section` with properties `prop`: d2/2 for elastic sections
// (types 11 and 12), b/2 for the others.
double BendingFibreDistance(int section, const PileProperties& prop);

// Clears the running maxima of moment, shear and total stress of the case.
void ClearRunningMaxima();
// Computes M, V, S, p and total stress of station i into the pile model and
// updates the running maxima.
void StationResults(int i);

// Clears the equilibrium check of the case.
void StartEquilibriumCheck();
// Checks the segment between stations a-2 and a-1 (a = 3..N right after
// StationResults(a), and once more with a = N+1 for the tip segment).
void CheckEquilibrium(int a);
// Largest moment imbalance allowed when the case has no load to compare it
// with: 1.0 in-lb, or 1.1298E-4 kN-m in SI runs.
double MomentImbalanceLimit();

// The equilibrium of a case judged relative to its forces: the largest force
// imbalance of a segment against the largest of the head shear, the shears
// along the pile, the soil reaction of a segment and the tip shear; the
// largest moment imbalance against the largest of the head moment, the
// moments along the pile and that force times a segment. Below
// EquilibriumVerifiedRatio the case is verified; above EquilibriumErrorRatio
// it is no solution; between, doubtful (the warning block, counted).
inline constexpr double EquilibriumVerifiedRatio = 1.0E-3;
inline constexpr double EquilibriumErrorRatio = 1.0E-2;
enum class EquilibriumJudgement { Verified, Doubtful, Unbalanced };
// The larger of the two relative imbalances of the case just checked (0 for
// a case without loads, which is judged by MomentImbalanceLimit).
double RelativeImbalance();
EquilibriumJudgement JudgeEquilibrium();
// Warning 372: the doubtful equilibrium of a case counts among the warnings.
inline constexpr int WarnEquilibriumDoubtful = 372;

// Sign changes of the deflection between consecutive stations, including the
// one between the tip and the extrapolated station below it.
int CountZeroDeflectionPoints();

// Head shear and head moment of the case: the prescribed value where the
// load type prescribes it, the computed one otherwise.
double ReportedHeadShear();
double ReportedHeadMoment();
// Head slope reported for the case (the input slope for load type 5).
double ReportedHeadSlope();

// The two pile-head conditions of the current case as its load type defines them.
double HeadCondition1();
double HeadCondition2();

// Stores the summary values of load case `c` (1..MaxLoadCases).
void StoreCaseSummary(int c);

}  // namespace kestro
