// A soft clay or sand layer evaluated pass after pass from the station
// data kept through a load case (the curve's deflection-free part prepared
// once, the layer's resistance integral reused while nothing is prepared
// again) gives to the last bit what a fresh evaluation of every station
// gives, also where the equivalent depth (sand above, on sloping ground) or
// the side of the deflection (sloping ground) changes from pass to pass.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "LayerTestSupport.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/SoilState.h"
#include "soil/PyCriteria.h"

using namespace kestro;
using kestro::test::BuildPile;
using kestro::test::Clay;
using kestro::test::Sand;

namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Everything a pass writes that the analysis reads afterwards.
struct PassResult {
    std::vector<double> Es, Pu;
    double Resistance[3] = {}, EquivalentDepth[3] = {};
};

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Deflection profile p (of several) at station i of n: signs that flip from
// pass to pass, deflections below 1.0E-5 y50, beyond 3 y50 (cyclic branch)
// and beyond 15 y50, and an exact zero.
double Deflection(int p, int i, int n) {
    const double s = static_cast<double>(i) / n;
    switch (p) {
        case 0: return 0.4 * (1.0 - s);
        case 1: return -0.4 * (1.0 - s);
        case 2: return 0.5 * std::cos(7.0 * s) * std::exp(-3.0 * s);
        case 3: return i % 3 == 0 ? 0.0 : 1.0E-7 * std::sin(11.0 * s);
        case 4: return 6.0 * std::cos(3.0 * s);
        default: return 0.5 * std::cos(7.0 * s) * std::exp(-3.0 * s);  // profile 2 again
    }
}
constexpr int NumProfiles = 6;

PassResult Pass(int p, bool fresh) {
    if (fresh) ForgetStationProperties();
    const int n = Pile.NumStations;
    for (int i = 1; i <= n; ++i) Pile.y[St(i)] = Deflection(p, i, n);
    Soil.RockLayerCount = 0;
    for (int k = 1; k <= Problem.NumLayers; ++k) EvaluateLayerCriterion(k);
    PassResult r;
    for (int i = 1; i <= n; ++i) {
        r.Es.push_back(Pile.Es[St(i)]);
        r.Pu.push_back(Pile.Pu[St(i)]);
    }
    for (int k = 1; k <= Problem.NumLayers; ++k) {
        r.Resistance[k] = Soil.LayerResistance[U(k)];
        r.EquivalentDepth[k] = Soil.EquivalentDepth[U(k)];
    }
    return r;
}

}  // namespace

TEST(KeptSplitCurveLayer, PassesFromKeptDataEqualFreshPasses) {
    const double b = 24.0, g = 0.0361;
    struct Case {
        const char* Name;
        int Upper;             // soil model of the upper layer
        int Lower;             // soil model of the lower layer, with a split curve
        bool b_Cyclic;
        double EffectiveSlope; // radians
    };
    const Case cases[] = {
        {"soft clay over soft clay, static, level", SoilSoftClay, SoilSoftClay, false, 0.0},
        {"soft clay over soft clay, cyclic, level", SoilSoftClay, SoilSoftClay, true, 0.0},
        {"soft clay over soft clay, cyclic, sloping", SoilSoftClay, SoilSoftClay, true, 0.1},
        {"sand over soft clay, static, sloping", SoilSandReese, SoilSoftClay, false, 0.1},
        {"sand over soft clay, cyclic, sloping down", SoilSandReese, SoilSoftClay, true, -0.1},
        {"sand over soft clay, cyclic, level", SoilSandReese, SoilSoftClay, true, 0.0},
        {"soft clay over API sand, static, level", SoilSoftClay, SoilApiSand, false, 0.0},
        {"API sand over API sand, cyclic, level", SoilApiSand, SoilApiSand, true, 0.0},
        {"sand over API sand, static, sloping", SoilSandReese, SoilApiSand, false, 0.1},
        {"soft clay over Reese sand, static, level", SoilSoftClay, SoilSandReese, false, 0.0},
        {"Reese sand over Reese sand, cyclic, level", SoilSandReese, SoilSandReese, true, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto build = [&] {
            const bool clay = c.Upper == SoilSoftClay, lowerClay = c.Lower == SoilSoftClay;
            BuildPile({{c.Upper, 0.0, 96.0, clay ? Clay(g, 3.0, 0.02) : Sand(g, 33.0, 60.0),
                        clay ? Clay(g, 4.0, 0.02) : Sand(g, 34.0, 60.0)},
                       {c.Lower, 96.0, 600.0, lowerClay ? Clay(g, 4.0, 0.01) : Sand(g, 35.0, 90.0),
                        lowerClay ? Clay(g, 9.0, 0.005) : Sand(g, 37.0, 120.0)}},
                      b, 600.0, 50, 0.0);
            Problem.Options.LoadingType = c.b_Cyclic;
            Problem.Options.NumberOfCycles = c.b_Cyclic ? 100.0 : 0.0;
            Problem.EffectiveSlope = c.EffectiveSlope;
        };
        build();
        std::vector<PassResult> kept;
        for (int p = 0; p < NumProfiles; ++p) {
            kept.push_back(Pass(p, false));
            ASSERT_FALSE(Failed());
        }
        build();
        for (int p = 0; p < NumProfiles; ++p) {
            SCOPED_TRACE(p);
            const PassResult fresh = Pass(p, true);
            ASSERT_FALSE(Failed());
            const PassResult& k = kept[U(p)];
            for (std::size_t i = 0; i < fresh.Es.size(); ++i) {
                EXPECT_TRUE(SameBits(k.Es[i], fresh.Es[i])) << "Es at station " << i + 1;
                EXPECT_TRUE(SameBits(k.Pu[i], fresh.Pu[i])) << "p_u at station " << i + 1;
            }
            for (int L = 1; L <= 2; ++L) {
                EXPECT_TRUE(SameBits(k.Resistance[L], fresh.Resistance[L])) << "resistance of layer " << L;
                EXPECT_TRUE(SameBits(k.EquivalentDepth[L], fresh.EquivalentDepth[L])) << "depth of layer " << L;
            }
        }
        // The layer below the sand sees a different equivalent depth on each
        // side of a sloping ground, so the test does reach a changed depth.
        if (c.Upper == SoilSandReese && c.EffectiveSlope != 0.0) {
            EXPECT_FALSE(SameBits(kept[0].EquivalentDepth[2], kept[1].EquivalentDepth[2]));
        }
    }
}
