#pragma once
// LRFD loading: the distributed loads of the thirteen load types at the
// stations and the factored station loads of a load combination (the
// factored pile-head loads are in analysis/FactoredLoads.h).

namespace kestro {

// Fills the per-type station loads from the LRFD loading groups (each
// profile integrated over the station's tributary length, divided by h) and
// writes the table of every type that has a load.
void TabulateLrfdDistributedLoads();

// Station loads W(i) of combination c: the factored sum of the per-type loads.
void ApplyLrfdDistributedLoads(int c);

}  // namespace kestro
