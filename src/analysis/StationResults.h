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
// Largest moment imbalance allowed: 1.0 in-lb, or 1.1298E-4 kN-m in SI runs.
double MomentImbalanceLimit();

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
