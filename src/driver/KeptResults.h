#pragma once
// Station values of every load case of the last run that the plot records do
// not carry: slope, bending stiffness, secant soil modulus and the ultimate
// soil resistance p_u of the station's p-y criterion. They are kept as each
// case's results are written and read by the kestro command after KGO has
// returned (internal: not exported from the shared library, which exports
// KGO only). Cleared at the start of every run.

namespace kestro {

struct KeptStationValues {
    double Slope = 0.0;  // rad
    double EI = 0.0;     // bending stiffness, units of the run (lb-in2, kN-m2)
    double Es = 0.0;     // secant soil modulus p/y, units of the run (lb/in2, kN/m2)
    // Ultimate soil resistance per length of the station's criterion, with
    // the p-multiplier of the depth applied; 0 where the station has no
    // criterion with an ultimate resistance (above the ground, user p-y
    // curves, elastic subgrade, a layer without strength).
    double Pu = 0.0;
};

// Empties the kept values (start of a run).
void ResetKeptResults();
// Keeps the values of station i (1..MaxStations) of load case c (1..MaxLoadCases);
// out-of-range indices are ignored.
void KeepStationValues(int c, int i, const KeptStationValues& v);

// Number of stations kept for case c in the last run (0: none, or c out of range).
int KeptStationCount(int c);
// Values of station i of case c; all zero outside the kept range.
KeptStationValues KeptStation(int c, int i);

}  // namespace kestro
