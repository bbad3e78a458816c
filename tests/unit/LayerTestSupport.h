#pragma once
// A straight pile in the model store with given soil layers, every station
// deflected by the same amount, for tests of the p-y criteria one layer at a
// time (EvaluateLayerCriterion) without the load-case iteration.

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <unistd.h>

#include "TestSupport.h"
#include "model/Warnings.h"
#include "input/Units.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"

namespace kestro::test {

struct LayerSpec {
    int Type;
    double Top, Bottom;
    SoilPoint AtTop, AtBottom;
};

// A straight pile of width b and length L in computation units, n increments,
// every station deflected by y0, with the given layers from the pile head.
inline void BuildPile(std::initializer_list<LayerSpec> layers, double b, double L, int n, double y0,
                      int units = UnitsUS) {
    // Error messages go to the default message file: keep it out of the build tree.
    static std::string dir = ScratchDir();
    ASSERT_EQ(chdir(dir.c_str()), 0);
    ResetRunState();
    ResetProblemData();
    ResetPileModel();
    ResetSoilState();
    ResetWarningRegistry();
    ClearWarnings();
    Problem.Options.UnitSystem = units;
    kestro::Run.b_SI = units == UnitsSI;
    SetUnitLabels(units);
    Problem.Options.NumIncrements = n;
    Problem.PileLength = L;
    Problem.NumPropertyRows = 2;
    Problem.PropertyTable[1] = PropertyRow{0.0, b, b, 1.0, 1.0, 1.0};
    Problem.PropertyTable[2] = PropertyRow{L, b, b, 1.0, 1.0, 1.0};
    int k = 0;
    for (const LayerSpec& s : layers) {
        ++k;
        const auto top = static_cast<std::size_t>(2 * k - 1);
        Problem.Layers[static_cast<std::size_t>(k)] = SoilLayer{s.Type, s.Top, s.Bottom};
        Problem.SoilPoints[top] = s.AtTop;
        Problem.SoilPoints[top].Depth = s.Top;
        Problem.SoilPoints[top + 1] = s.AtBottom;
        Problem.SoilPoints[top + 1].Depth = s.Bottom;
    }
    Problem.NumLayers = k;
    Problem.NumSoilPoints = 2 * k;
    Problem.GroundDepth = Problem.Layers[1].XTop;
    const double h = L / n;
    Pile.NumStations = n + 1;
    Pile.Length = L;
    Pile.Spacing = h;
    for (int i = 1; i <= n + 1; ++i) {
        Pile.x[St(i)] = Pile.xv[St(i)] = (i - 1) * h;
        Pile.y[St(i)] = y0;
    }
    for (int j = 1; j <= k; ++j) {
        const SoilLayer& Lj = Problem.Layers[static_cast<std::size_t>(j)];
        int first = 0, last = 0;
        for (int i = 1; i <= n + 1; ++i) {
            const double x = (i - 1) * h;
            const bool inside = x >= Lj.XTop - 1e-9 && (x < Lj.XBottom - 1e-9 || (j == k && i == n + 1));
            if (inside) {
                if (first == 0) first = i;
                last = i;
            }
        }
        Pile.FirstStation[static_cast<std::size_t>(j)] = first;
        Pile.LastStation[static_cast<std::size_t>(j)] = last;
    }
}

inline SoilPoint Clay(double gamma, double c, double eps50 = 0.0, double k = 0.0) {
    SoilPoint p;
    p.UnitWeight = gamma;
    p.Cohesion = c;
    p.Epsilon50 = eps50;
    p.Kpy = k;
    return p;
}

inline SoilPoint Sand(double gamma, double phi, double k = 0.0) {
    SoilPoint p;
    p.UnitWeight = gamma;
    p.FrictionAngle = phi;
    p.Kpy = k;
    return p;
}

// Published level-ground wedge and flow-around resistances of sand (Reese,
// Cox & Koop 1974); phi in degrees.
inline double WedgeP(double phiDeg, double b, double g, double z) {
    const double Pi = 3.14159265358979323846;
    const double phi = phiDeg * Pi / 180.0, al = phi / 2.0, be = Pi / 4.0 + phi / 2.0, k0 = 0.4;
    const double ka = std::pow(std::tan(Pi / 4.0 - al), 2.0);
    return g * z *
           (k0 * z * std::tan(phi) * std::sin(be) / (std::tan(be - phi) * std::cos(al)) +
            std::tan(be) / std::tan(be - phi) * (b + z * std::tan(be) * std::tan(al)) +
            k0 * z * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(al)) - ka * b);
}
inline double FlowP(double phiDeg, double b, double g, double z) {
    const double Pi = 3.14159265358979323846;
    const double phi = phiDeg * Pi / 180.0, al = phi / 2.0, be = Pi / 4.0 + phi / 2.0, k0 = 0.4;
    const double ka = std::pow(std::tan(Pi / 4.0 - al), 2.0);
    return ka * b * g * z * (std::pow(std::tan(be), 8) - 1.0) + k0 * b * g * z * std::tan(phi) * std::pow(std::tan(be), 4);
}
// Uniform group (p and y) multipliers fp and fy on the depths top to bottom.
inline void UniformGroupFactors(double top, double bottom, double fp, double fy) {
    Problem.Options.UsePYModifiers = true;
    Problem.NumGroupFactorPoints = 2;
    Problem.GroupDepth[1] = top;
    Problem.GroupDepth[2] = bottom;
    Problem.PMultiplier[1] = Problem.PMultiplier[2] = fp;
    Problem.YMultiplier[1] = Problem.YMultiplier[2] = fy;
}
// Reese's static A and B coefficients from the published tables, by z/b.
inline double ReeseTable(double r, const double (&values)[10]) {
    const double zs[10] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
    if (r >= 6.0) return values[9];
    int j = 1;
    while (r >= zs[j]) ++j;
    return values[j - 1] + (r - zs[j - 1]) * (values[j] - values[j - 1]) / (zs[j] - zs[j - 1]);
}
inline double ATable(double r) {
    const double as[10] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
    return ReeseTable(r, as);
}
inline double BTable(double r) {
    const double bs[10] = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};
    return ReeseTable(r, bs);
}
inline double ACyclicTable(double r) {
    const double as[10] = {0.75, 0.93, 1.07, 1.11, 1.03, 0.98, 0.94, 0.90, 0.88, 0.88};
    return ReeseTable(r, as);
}
inline double BCyclicTable(double r) {
    const double bs[10] = {0.53, 0.72, 0.83, 0.86, 0.82, 0.77, 0.70, 0.55, 0.55, 0.55};
    return ReeseTable(r, bs);
}

}  // namespace kestro::test
