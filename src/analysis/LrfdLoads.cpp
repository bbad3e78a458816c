#include "analysis/LrfdLoads.h"

#include <cstddef>
#include <ostream>

#include "model/FactoredLoads.h"
#include "model/Channels.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "report/ResultsReport.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

int NumGroups() { return Problem.NumLrfdGroups < MaxLrfdGroups ? Problem.NumLrfdGroups : MaxLrfdGroups; }

// Integral of a piecewise-linear profile over [a, b], clipped to its extent;
// a step (two points at one depth) adds nothing of its own.
double ProfileIntegral(const LrfdLoadGroup& G, double a, double b) {
    const int n = G.NumDistributedPoints < MaxLrfdDistributedPoints ? G.NumDistributedPoints
                                                                    : MaxLrfdDistributedPoints;
    double sum = 0.0;
    for (int k = 1; k < n; ++k) {
        const double d0 = G.DistDepth[U(k)], d1 = G.DistDepth[U(k + 1)];
        if (!(d1 > d0)) continue;
        const double lo = a > d0 ? a : d0;
        const double hi = b < d1 ? b : d1;
        if (!(hi > lo)) continue;
        const double slope = (G.DistLoad[U(k + 1)] - G.DistLoad[U(k)]) / (d1 - d0);
        const double wlo = G.DistLoad[U(k)] + slope * (lo - d0);
        const double whi = G.DistLoad[U(k)] + slope * (hi - d0);
        sum += 0.5 * (wlo + whi) * (hi - lo);
    }
    return sum;
}

}  // namespace

void TabulateLrfdDistributedLoads() {
    PileModel& P = Pile;
    const int N = P.NumStations;
    const double h = P.Spacing;
    for (auto& w : P.LrfdW) w.fill(0.0);
    if (!(h > 0.0)) return;
    for (int k = 1; k <= NumLrfdLoadTypes; ++k) {
        for (int g = 1; g <= NumGroups(); ++g) {
            const LrfdLoadGroup& G = Problem.LrfdGroups[U(g)];
            if (G.LrfdLoadType != k) continue;
            for (int i = 1; i <= N; ++i) {
                const double x = P.x[St(i)];
                P.LrfdW[U(k)][St(i)] += ProfileIntegral(G, x - 0.5 * h, x + 0.5 * h);
            }
        }
        for (int i = 1; i <= N; ++i) P.LrfdW[U(k)][St(i)] /= h;
        WriteLrfdDistributedLoadTable(ReportOut(), k, P.LrfdW[U(k)], P.x, N);
    }
}

FactoredHeadLoads FactoredLoadsOf(int c) {
    // The combination's factored loads along the pile axes (shear and axial
    // force turned for the pile batter), the same values the LRFD echo reports
    // and from which the axial thrust list is built.
    const FactoredLoads f = CombinationFactoredLoads(c);
    FactoredHeadLoads h;
    h.Shear = f.Shear;
    h.Moment = f.Moment;
    h.Axial = f.Axial;
    return h;
}

void ApplyLrfdDistributedLoads(int c) {
    if (c < 1 || c > MaxLrfdCombinations) return;
    const LrfdCombination& C = Problem.LrfdCombinations[U(c)];
    PileModel& P = Pile;
    for (int i = 1; i <= P.NumStations; ++i) {
        double w = 0.0;
        for (int k = 1; k <= NumLrfdLoadTypes; ++k) w += C.Factor[U(k)] * P.LrfdW[U(k)][St(i)];
        P.W[St(i)] = w;
    }
}

}  // namespace kestro
