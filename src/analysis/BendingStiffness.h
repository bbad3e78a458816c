#pragma once
// Update of the stations' bending stiffness from the nonlinear moment-EI
// tables of the sections, for the current moments and curvatures.

namespace kestro {

// Index j of the thrust list with thrust(j) <= Q < thrust(j+1); 1 at or below
// the first thrust, the last index at or above the last. Q in table units
// (kips in US customary runs).
int ChooseThrustIndex(double Q);

// EI of station i from the table of section k at thrust index j, in the
// station units (pounds in US customary runs). Marks the station when its
// curvature lies beyond the end of the table.
double EIFromTable(int i, int k, int j);

// Nominal moment capacity of section k at axial load Q (station units, Q in
// the station force unit), interpolated between the thrusts of its table;
// 0 when the section has no table or no capacity.
double NominalMomentCapacityAt(int k, double Q);

// New EI of every station of a non-elastic section from its current moment;
// j the thrust index, Q the axial load in table units.
void UpdateBendingStiffness(int j, double Q);

}  // namespace kestro
