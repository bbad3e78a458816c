#pragma once
// Linear finite-difference solution of the pile as a beam-column on linear
// springs (EI, Es, W and axial load Q of the current stations and load case).

#include <array>

namespace kestro {

// Dense system of the pile-head conditions: A stored by columns with a
// leading dimension of 5, right-hand side R and solution X (1-based).
struct HeadSystemData {
    std::array<double, 26> A{};   // A(i,j) at (j-1)*5 + i
    std::array<double, 6> R{};
    std::array<double, 6> X{};
    double& At(int i, int j) { return A[static_cast<std::size_t>((j - 1) * 5 + i)]; }
};
extern HeadSystemData HeadSystem;

// Solves for y(-1)..y(N+1) and DYMAX, the largest change of deflection of
// stations 1..N since the previous solution. On a head-system pivot below
// 1.0E-20 reports Runtime Error 11 and returns with the error set, the
// deflections of the previous solution kept.
void SolvePile();

// Gaussian elimination without row exchanges on the leading n x n block of
// HeadSystem (n = 4 or 5). Reports Runtime Error 11 on a small pivot.
void SolveHeadSystem(int n);

// Tip shear force for the tip deflection yTip from the tip shear table, or
// `previous` when the table gives no value (a single point not yet reached).
double TipShearFor(double yTip, double previous);

}  // namespace kestro
