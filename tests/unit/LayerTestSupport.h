#pragma once
// A straight pile of constant width in the model store with soil layers from
// the pile head, every station deflected by the same amount, for tests of the
// p-y criteria in their station loop.

#include <initializer_list>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "PileTestSupport.h"
#include "model/SoilState.h"

namespace kestro::test {

struct LayerSpec {
    int Type;
    double Top, Bottom;
    SoilPoint AtTop, AtBottom;
};

// Width b and length L in computation units, n increments, deflection y0 at
// every station, bending stiffness EI; the layers' stations assigned by depth.
inline void BuildPile(std::initializer_list<LayerSpec> layers, double b, double L, int n, double y0,
                      int units = UnitsUS, double EI = 1.0) {
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
    Problem.PropertyTable[1] = PropertyRow{0.0, b, b, 1.0, EI, 1.0};
    Problem.PropertyTable[2] = PropertyRow{L, b, b, 1.0, EI, 1.0};
    auto U = [](int i) { return static_cast<std::size_t>(i); };
    int k = 0;
    for (const LayerSpec& s : layers) {
        ++k;
        Problem.Layers[U(k)] = SoilLayer{s.Type, s.Top, s.Bottom};
        Problem.SoilPoints[U(2 * k - 1)] = s.AtTop;
        Problem.SoilPoints[U(2 * k - 1)].Depth = s.Top;
        Problem.SoilPoints[U(2 * k)] = s.AtBottom;
        Problem.SoilPoints[U(2 * k)].Depth = s.Bottom;
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
        Pile.EI[St(i)] = EI;
    }
    for (int j = 1; j <= k; ++j) {
        int first = 0, last = 0;
        for (int i = 1; i <= n + 1; ++i) {
            const double x = (i - 1) * h;
            const bool inside = x >= Problem.Layers[U(j)].XTop - 1e-9 &&
                                (x < Problem.Layers[U(j)].XBottom - 1e-9 || (j == k && i == n + 1));
            if (inside) {
                if (first == 0) first = i;
                last = i;
            }
        }
        Pile.FirstStation[U(j)] = first;
        Pile.LastStation[U(j)] = last;
    }
}

}  // namespace kestro::test
