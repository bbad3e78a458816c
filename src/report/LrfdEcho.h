#pragma once
// The LRFD pages of the input echo: unfactored loading groups, totals by load
// type, load and resistance factors, factored loads per combination, the
// batter transformation and the list of distinct axial thrusts.

#include <iosfwd>

namespace kestro {

// Computes the factored loads of every combination (stored in the model for
// the analysis) and writes the LRFD pages.
void EchoLrfdInput(std::ostream& out);

}  // namespace kestro
