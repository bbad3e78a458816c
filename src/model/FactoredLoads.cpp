#include "model/FactoredLoads.h"

#include <cmath>
#include <cstddef>

#include "model/ProblemData.h"

namespace kestro {

namespace {
std::size_t At(int i) { return static_cast<std::size_t>(i); }
}  // namespace

LoadTypeTotals TotalsOfLoadType(int t) {
    LoadTypeTotals s;
    const int n = Problem.NumLrfdGroups < MaxLrfdGroups ? Problem.NumLrfdGroups : MaxLrfdGroups;
    for (int j = 1; j <= n; ++j) {
        const LrfdLoadGroup& G = Problem.LrfdGroups[At(j)];
        if (G.LrfdLoadType != t) continue;
        s.Horizontal += G.GroupHorizontalForce;
        s.Moment += G.GroupMoment;
        s.Vertical += G.GroupAxialForce;
        ++s.NumGroups;
    }
    return s;
}

FactoredLoads CombinationFactoredLoads(int c) {
    FactoredLoads f;
    if (c < 1 || c > MaxLrfdCombinations) return f;
    const LrfdCombination& C = Problem.LrfdCombinations[At(c)];
    // Factored load = sum over the load types of (load factor x unfactored total of the type).
    for (int t = 1; t <= NumLrfdLoadTypes; ++t) {
        const LoadTypeTotals s = TotalsOfLoadType(t);
        const double factor = C.Factor[At(t)];
        f.Horizontal += factor * s.Horizontal;
        f.Vertical += factor * s.Vertical;
        f.Moment += factor * s.Moment;
    }
    // Rotation into the pile axes for a battered pile:
    //   shear = cos(b) H + sin(b) V,  axial = -sin(b) H + cos(b) V.
    const double b = Problem.PileBatter;
    if (std::fabs(b) > BatterThreshold) {
        f.Shear = std::cos(b) * f.Horizontal + std::sin(b) * f.Vertical;
        f.Axial = -std::sin(b) * f.Horizontal + std::cos(b) * f.Vertical;
    } else {
        f.Shear = f.Horizontal;
        f.Axial = f.Vertical;
    }
    return f;
}

double UsableResistanceFactor(double factor) { return factor > 0.0 ? factor : 0.75; }

}  // namespace kestro
