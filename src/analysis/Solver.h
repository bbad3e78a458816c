#pragma once
// Linear finite-difference solution of the pile as a beam-column on linear
// springs (EI, Es, W and axial load Q of the current stations and load case).

namespace kestro {

// Solves for y(-1)..y(N+1) and DYMAX, the largest change of deflection of
// stations 1..N since the previous solution. On a head-system pivot below
// 1.0E-20 reports Runtime Error 11 and returns with the error set, the
// deflections of the previous solution kept.
void SolvePile();

// Tip shear force for the tip deflection yTip from the tip shear table, or
// `previous` when the table gives no value (a single point not yet reached).
double TipShearFor(double yTip, double previous);

}  // namespace kestro
