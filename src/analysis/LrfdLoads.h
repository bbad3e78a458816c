#pragma once
// LRFD loading: the distributed loads of the thirteen load types at the
// stations and the factored loads of a load combination.

namespace kestro {

// Fills the per-type station loads from the LRFD loading groups (each
// profile integrated over the station's tributary length, divided by h) and
// writes the table of every type that has a load.
void TabulateLrfdDistributedLoads();

// Factored head shear, moment and axial load of combination c, the values
// the iteration applies (those of the LRFD echo, along the pile axes).
struct FactoredHeadLoads {
    double Shear = 0.0, Moment = 0.0, Axial = 0.0;
};
FactoredHeadLoads FactoredLoadsOf(int c);

// Station loads W(i) of combination c: the factored sum of the per-type loads.
void ApplyLrfdDistributedLoads(int c);

}  // namespace kestro
