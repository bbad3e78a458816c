#pragma once
// Factored pile-head loads of the LRFD load combinations: the load factors of
// a combination applied to the unfactored loading groups totalled by load
// type, then turned into the pile's own axes when the pile is battered.

namespace kestro {

// Sums of the unfactored group loads of one load type.
struct LoadTypeTotals {
    double Horizontal = 0.0;
    double Moment = 0.0;
    double Vertical = 0.0;
    int NumGroups = 0;
};

// Totals of load type t (1..13) over every loading group of the input.
LoadTypeTotals TotalsOfLoadType(int t);

struct FactoredLoads {
    double Horizontal = 0.0;  // sum over types of factor x total horizontal force
    double Vertical = 0.0;    // sum over types of factor x total axial (vertical) force
    double Moment = 0.0;
    double Shear = 0.0;       // transverse to the pile axis
    double Axial = 0.0;       // along the pile axis, compression positive
};

// Batter angles at or below this magnitude (radians) count as a vertical pile.
inline constexpr double BatterThreshold = 1.0E-6;

// Factored loads of combination c (1..NumLrfdCombinations) from the store,
// transformed for the pile batter. Pure: reads the store, writes nothing.
FactoredLoads CombinationFactoredLoads(int c);

// Resistance factor used by the analysis: a factor of zero or less is taken as 0.75.
double UsableResistanceFactor(double factor);

}  // namespace kestro
