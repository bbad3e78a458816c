#include "model/PileProperties.h"

#include <cstddef>

#include "model/PileModel.h"
#include "model/ProblemData.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

PileProperties RowProperties(const PropertyRow& r) {
    return PileProperties{r.Width, r.Second, r.Inertia, r.Area, r.Modulus * r.Inertia};
}

// Multiplier table lookup shared by the p- and y-multipliers.
// The table applies only when the options ask for p-y modifiers, so that the
// analysis never uses a table that the input echo does not show.
double MultiplierAt(double z, const Array1<double, MaxGroupFactorPoints>& values) {
    if (!Problem.Options.UsePYModifiers) return 1.0;
    const int n = Problem.NumGroupFactorPoints < MaxGroupFactorPoints ? Problem.NumGroupFactorPoints
                                                                     : MaxGroupFactorPoints;
    if (n < 1) return 1.0;
    const auto& d = Problem.GroupDepth;
    if (z < d[1] || z > d[U(n)]) return 1.0;
    for (int k = 1; k <= n; ++k) {
        if (z == d[U(k)]) {
            // A repeated depth is a step: the lower point's value applies.
            if (k < n && d[U(k + 1)] == d[U(k)]) return values[U(k + 1)];
            return values[U(k)];
        }
        if (k < n && z > d[U(k)] && z < d[U(k + 1)]) {
            const double t = (z - d[U(k)]) / (d[U(k + 1)] - d[U(k)]);
            return values[U(k)] + t * (values[U(k + 1)] - values[U(k)]);
        }
    }
    return 1.0;
}

}  // namespace

PileProperties PropertiesAt(double z) {
    const int n = Problem.NumPropertyRows < MaxPropertyRows ? Problem.NumPropertyRows : MaxPropertyRows;
    const auto& T = Problem.PropertyTable;
    if (n < 1) return PileProperties{};
    if (n == 1 || z >= T[U(n)].Depth) return RowProperties(T[U(n)]);
    int r = 2;
    while (r < n && z > T[U(r)].Depth) ++r;
    const PropertyRow& lo = T[U(r - 1)];
    const PropertyRow& hi = T[U(r)];
    if (z == hi.Depth) {
        // At a section boundary (two rows of equal depth) the lower section applies.
        if (r < n && T[U(r + 1)].Depth == hi.Depth) return RowProperties(T[U(r + 1)]);
        return RowProperties(hi);
    }
    const double span = hi.Depth - lo.Depth;
    if (!(span > 0.0)) return RowProperties(hi);
    const double t = (z - lo.Depth) / span;
    auto lerp = [t](double a, double b) { return a + t * (b - a); };
    // EI is interpolated as the product E*I of the rows, not as the product of
    // interpolated E and I: a tapered section varies in I, not in E*I's factors.
    return PileProperties{lerp(lo.Width, hi.Width), lerp(lo.Second, hi.Second), lerp(lo.Inertia, hi.Inertia),
                          lerp(lo.Area, hi.Area), lerp(lo.Modulus * lo.Inertia, hi.Modulus * hi.Inertia)};
}

double DistributedLoadAt(double z) {
    const int n = Problem.NumDistributedPoints < MaxDistributedLoadPoints ? Problem.NumDistributedPoints
                                                                          : MaxDistributedLoadPoints;
    const double h = Pile.Spacing;
    if (n < 2 || !(h > 0.0)) return 0.0;
    const double a = z - 0.5 * h;
    const double b = z + 0.5 * h;
    const auto& d = Problem.DistDepth;
    const auto& w = Problem.DistLoad;
    double sum = 0.0;
    // Exact integral of the piecewise-linear profile over [a, b]; a step (two
    // points at one depth) is a segment of zero length and adds nothing.
    for (int k = 1; k < n; ++k) {
        const double d0 = d[U(k)], d1 = d[U(k + 1)];
        if (!(d1 > d0)) continue;
        const double lo = a > d0 ? a : d0;
        const double hi = b < d1 ? b : d1;
        if (!(hi > lo)) continue;
        const double slope = (w[U(k + 1)] - w[U(k)]) / (d1 - d0);
        const double wlo = w[U(k)] + slope * (lo - d0);
        const double whi = w[U(k)] + slope * (hi - d0);
        sum += 0.5 * (wlo + whi) * (hi - lo);
    }
    return sum / h;
}

double PMultiplierAt(double z) { return MultiplierAt(z, Problem.PMultiplier) * Pile.GroupPMultiplier; }
double YMultiplierAt(double z) { return MultiplierAt(z, Problem.YMultiplier); }

}  // namespace kestro
