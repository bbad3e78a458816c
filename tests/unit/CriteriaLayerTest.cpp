// The stiff clay and sand criteria in the station loop: moduli, layer
// resistance, equivalent depth of layered soils, warnings and input errors,
// checked against hand evaluations of the published equations.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <unistd.h>

#include "LayerTestSupport.h"
#include "TestSupport.h"
#include "model/Warnings.h"
#include "input/Units.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "soil/PyCriteria.h"

using namespace kestro;
using kestro::test::BuildPile;
using kestro::test::Clay;
using kestro::test::Sand;
using kestro::test::ATable;
using kestro::test::FlowP;
using kestro::test::WedgeP;

namespace {

constexpr double Pi = std::numbers::pi;
std::size_t U(int i) { return static_cast<std::size_t>(i); }

double AsHand(double z) {
    if (z > 3.3) return 0.6;
    return std::min(0.6, 0.2345 + 0.2958796 * z - 0.0786111 * z * z + 0.0068981 * z * z * z);
}

int Count(int number) { return Warnings.WarningCount[U(number)]; }

}  // namespace

TEST(StiffClayFreeWaterLayer, ModulusFollowsStaticCurveWithDefaults) {
    // US units: c = 10 psi, gamma' = 0.0361 pci; eps50 and k from the defaults (0.007, 500 pci).
    const double b = 24.0, L = 480.0, y0 = 0.2;
    BuildPile({{SoilStiffClayFreeWater, 0.0, L, Clay(0.0361, 10.0), Clay(0.0361, 10.0)}}, b, L, 40, y0);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    const int i = 11;   // depth 120 in
    const double z = 120.0;
    const double as = AsHand(z / b);
    // ca = c in a uniform layer 1; pct = (gamma b + 2.83 c) z + 2 c b; pcd = 11 c b
    const double pc = std::min((0.0361 * b + 2.83 * 10.0) * z + 2.0 * 10.0 * b, 11.0 * 10.0 * b);
    const double y50 = 0.007 * b;
    double p = 0.0;
    if (y0 <= as * y50)
        p = 0.5 * pc * std::sqrt(y0 / y50);
    else if (y0 <= 6 * as * y50)
        p = pc * (0.5 * std::sqrt(y0 / y50) - 0.055 * std::pow((y0 - as * y50) / (as * y50), 1.25));
    else
        FAIL() << "choose y0 on the second branch";
    p = std::min(p, 500.0 * z * y0);
    EXPECT_NEAR(Pile.Es[St(i)], p / y0, 1e-6 * p / y0);
    // The ground-surface station has kx = 0 and so no resistance.
    EXPECT_EQ(Pile.Es[St(1)], 0.0);
    EXPECT_GT(Soil.LayerResistance[1], 0.0);
}

TEST(StiffClayFreeWaterLayer, ZeroDeflectionUsesInitialLine) {
    const double b = 24.0, L = 480.0;
    BuildPile({{SoilStiffClayFreeWater, 0.0, L, Clay(0.0361, 10.0), Clay(0.0361, 10.0)}}, b, L, 40, 0.0);
    Problem.Options.LoadingType = true;
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    // cyclic default k for 6.94 <= c < 13.89 psi: 200 pci; Es = k z
    EXPECT_DOUBLE_EQ(Pile.Es[St(11)], 200.0 * 120.0);
}

TEST(StiffClayFreeWaterLayer, ZeroStrengthBelowTheFirstStationStops) {
    BuildPile({{SoilStiffClayFreeWater, 0.0, 480.0, Clay(0.0361, 10.0), Clay(0.0361, 0.0)}}, 24.0, 480.0, 40, 0.1);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 114);
}

struct StrengthWarningCase {
    int Type;
    int Units;
    double C;
    int Warning;
    bool Raised;
};
class StiffClayWarningTest : public ::testing::TestWithParam<StrengthWarningCase> {};

TEST_P(StiffClayWarningTest, UnreasonableStrengthRaisesWarning) {
    const StrengthWarningCase& c = GetParam();
    const double gamma = c.Units == UnitsSI ? 9.0 : 0.0361;
    const double b = c.Units == UnitsSI ? 0.6 : 24.0, L = c.Units == UnitsSI ? 12.0 : 480.0;
    BuildPile({{c.Type, 0.0, L, Clay(gamma, c.C, 0.005, 0.0), Clay(gamma, c.C, 0.005, 0.0)}}, b, L, 40, 0.001 * b, c.Units);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    EXPECT_EQ(Count(c.Warning) > 0, c.Raised) << "c = " << c.C;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, StiffClayWarningTest,
    ::testing::Values(
        StrengthWarningCase{SoilStiffClayFreeWater, UnitsUS, 3.4722223 * (1 - 1e-6), 3051, true},
        StrengthWarningCase{SoilStiffClayFreeWater, UnitsUS, 3.4722223 * (1 + 1e-6), 3051, false},
        StrengthWarningCase{SoilStiffClayFreeWater, UnitsUS, 55.555557 * (1 + 1e-6), 3052, true},
        StrengthWarningCase{SoilStiffClayFreeWater, UnitsUS, 55.555557 * (1 - 1e-6), 3052, false},
        StrengthWarningCase{SoilStiffClayFreeWater, UnitsSI, 23.940128 * (1 - 1e-6), 3053, true},
        StrengthWarningCase{SoilStiffClayFreeWater, UnitsSI, 383.04205 * (1 + 1e-6), 3054, true},
        StrengthWarningCase{SoilStiffClayNoWater, UnitsUS, 3.4722223 * (1 - 1e-6), 3061, true},
        StrengthWarningCase{SoilStiffClayNoWater, UnitsUS, 55.555557 * (1 + 1e-6), 3062, true},
        StrengthWarningCase{SoilStiffClayNoWater, UnitsSI, 23.94 * (1 - 1e-6), 3063, true},
        StrengthWarningCase{SoilStiffClayNoWater, UnitsSI, 23.94 * (1 + 1e-6), 3063, false},
        StrengthWarningCase{SoilStiffClayNoWater, UnitsSI, 383.04 * (1 + 1e-6), 3064, true},
        StrengthWarningCase{SoilStiffClayNoWaterK, UnitsUS, 3.4722223 * (1 - 1e-6), 3261, true},
        StrengthWarningCase{SoilStiffClayNoWaterK, UnitsUS, 55.555557 * (1 + 1e-6), 3262, true},
        StrengthWarningCase{SoilStiffClayNoWaterK, UnitsSI, 23.94 * (1 - 1e-6), 3263, true},
        StrengthWarningCase{SoilStiffClayNoWaterK, UnitsSI, 383.04 * (1 + 1e-6), 3264, true},
        StrengthWarningCase{SoilStiffClayNoWaterK, UnitsSI, 383.04 * (1 - 1e-6), 3264, false}));

TEST(StiffClayNoFreeWaterLayer, ModulusAndSmallDeflectionSecant) {
    const double b = 30.0, L = 600.0, c = 15.0, g = 0.07, eps = 0.005;
    BuildPile({{SoilStiffClayNoWater, 0.0, L, Clay(g, c, eps), Clay(g, c, eps)}}, b, L, 40, 0.5);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    const int i = 5;   // z = 60 in
    const double z = 60.0;
    const double pu = std::min((g * b + 0.5 * c) * z + 3.0 * b * c, 9.0 * c * b);
    const double y50 = 2.5 * eps * b;
    EXPECT_NEAR(Pile.Es[St(i)], 0.5 * pu * std::pow(0.5 / y50, 0.25) / 0.5, 1e-9 * pu);
    // Just below 2.0E-5 b the secant at 2.0E-5 b applies; just above, the curve's own secant.
    const double y0 = 2.0e-5 * b;
    const double ki = 0.5 * pu * std::pow(y50 / y0, 0.75) / y50;
    Pile.y[St(i)] = y0 * (1 - 1e-9);
    EvaluateLayerCriterion(1);
    EXPECT_NEAR(Pile.Es[St(i)], ki, 1e-9 * ki);
    Pile.y[St(i)] = y0 * (1 + 1e-6);
    EvaluateLayerCriterion(1);
    EXPECT_NEAR(Pile.Es[St(i)], 0.5 * pu * std::pow(y0 * (1 + 1e-6) / y50, 0.25) / (y0 * (1 + 1e-6)), 1e-9 * ki);
    EXPECT_LT(Pile.Es[St(i)], ki);
}

TEST(StiffClayNoFreeWaterLayer, CyclicWithoutCyclesRaisesTheRunValueToOne) {
    BuildPile({{SoilStiffClayNoWater, 0.0, 600.0, Clay(0.07, 15.0, 0.005), Clay(0.07, 15.0, 0.005)}}, 30.0, 600.0, 40, 0.5);
    Problem.Options.LoadingType = true;
    Problem.Options.NumberOfCycles = 0.0;
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    EXPECT_DOUBLE_EQ(Problem.Options.NumberOfCycles, 1.0);
}

TEST(StiffClayNoFreeWaterLayer, ZeroStrengthStops) {
    BuildPile({{SoilStiffClayNoWaterK, 0.0, 600.0, Clay(0.07, 15.0), Clay(0.07, 0.0)}}, 30.0, 600.0, 40, 0.5);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 113);
}

TEST(StiffClayNoFreeWaterLayer, GeneralUnitsWithoutKStop) {
    BuildPile({{SoilStiffClayNoWaterK, 0.0, 20.0, Clay(0.07, 15.0, 0.005), Clay(0.07, 15.0, 0.005)}}, 1.0, 20.0, 40, 0.01,
          UnitsGeneral);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 213);
}

TEST(StiffClayNoFreeWaterLayer, LowerLayerUsesEquivalentDepthOfTheLayersAbove) {
    // API sand 0..120 in over stiff clay without free water 120..600 in, equal unit weights.
    const double b = 30.0, L = 600.0, c = 15.0, g = 0.07;
    BuildPile({{SoilApiSand, 0.0, 120.0, Sand(g, 35.0, 100.0), Sand(g, 35.0, 100.0)},
           {SoilStiffClayNoWater, 120.0, L, Clay(g, c, 0.005), Clay(g, c, 0.005)}},
          b, L, 40, 0.5);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    const double F = Soil.LayerResistance[1];
    ASSERT_GT(F, 0.0);
    EvaluateLayerCriterion(2);
    ASSERT_FALSE(Failed());
    // (0.25 c + 0.5 gamma' b) h^2 + 3 b c h = F, while below xr'
    const double a2 = 0.25 * c + 0.5 * g * b, a1 = 3.0 * b * c;
    const double h = (std::sqrt(a1 * a1 + 4.0 * a2 * F) - a1) / (2.0 * a2);
    const double xr = (9.0 * c - 3.0 * c) * b / (0.5 * c + g * b);
    ASSERT_LT(h, xr);
    EXPECT_NEAR(Soil.EquivalentDepth[2], h, 1e-9 * h);
    // The clay at the interface acts at depth h, not at 120 in.
    const int i = Pile.FirstStation[2];
    const double pu = std::min((g * b + 0.5 * c) * h + 3.0 * b * c, 9.0 * c * b);
    const double y50 = 2.5 * 0.005 * b;
    EXPECT_NEAR(Pile.Es[St(i)], 0.5 * pu * std::pow(0.5 / y50, 0.25) / 0.5, 1e-9 * pu);
}

TEST(ApiSandLayer, ResistanceAndModulusFollowTheTanhCurve) {
    // US units, phi = 35 deg, gamma' = 0.0361 pci, k = 90 pci; uniform layer, 40 increments.
    const double b = 24.0, L = 480.0, g = 0.0361, k = 90.0, y0 = 0.3;
    BuildPile({{SoilApiSand, 0.0, L, Sand(g, 35.0, k), Sand(g, 35.0, k)}}, b, L, 40, y0);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    const double phi = 35.0 * Pi / 180.0, be = Pi / 4.0 + phi / 2.0, al = phi / 2.0, k0 = 0.4;
    const double ka = std::pow(std::tan(Pi / 4.0 - al), 2.0), kp = std::pow(std::tan(be), 2.0);
    const double c1 = std::tan(be) * (k0 * (std::tan(phi) * std::sin(be) * (1.0 / std::cos(al) + 1.0) - std::tan(al)) +
                                      kp * std::tan(al));
    const double c2 = kp - ka, c3 = kp * kp * (k0 * std::tan(phi) + kp) - ka;
    auto pAt = [&](double z, double y) {
        const double pu = std::min((c1 * z + c2 * b) * g * z, c3 * b * g * z);
        const double A = std::max(static_cast<double>(0.9f), 3.0 - static_cast<double>(0.8f) * z / b);
        return z < 1e-10 ? 0.0 : A * pu * std::tanh(k * z * y / (A * pu));
    };
    const int i = 9;   // z = 96 in
    EXPECT_NEAR(Pile.Es[St(i)], pAt(96.0, y0) / y0, 1e-9 * pAt(96.0, y0) / y0);
    // Layer resistance: trapezoids of p(3b/80) over the stations, nothing beyond the last one.
    double R = 0.0;
    for (int j = 2; j <= 41; ++j) R += 12.0 * (pAt((j - 2) * 12.0, 0.9) + pAt((j - 1) * 12.0, 0.9)) / 2.0;
    EXPECT_NEAR(Soil.LayerResistance[1], R, 1e-9 * R);
    EXPECT_EQ(Count(303), 0);
}

TEST(ApiSandLayer, DefaultKAndUnreasonableFrictionAngle) {
    const double b = 24.0, L = 480.0;
    BuildPile({{SoilApiSand, 0.0, L, Sand(0.0361, 19.0), Sand(0.0361, 19.0)}}, b, L, 40, 0.0);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    EXPECT_GT(Count(303), 0);
    // zero deflection: Es = k z with k = 1.2098290E-07 phi^5.694468
    const double k = 1.2098290e-07 * std::pow(19.0, 5.694468);
    EXPECT_NEAR(Pile.Es[St(11)], k * 120.0, 1e-5 * k * 120.0);
}

TEST(ApiSandLayer, ZeroFrictionAngleBelowTheFirstStationStops) {
    BuildPile({{SoilApiSand, 0.0, 480.0, Sand(0.0361, 0.0, 50.0), Sand(0.0361, 0.0, 50.0)}}, 24.0, 480.0, 40, 0.1);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 101);
}

TEST(ApiSandLayer, GeneralUnitsWithoutKStop) {
    BuildPile({{SoilApiSand, 0.0, 20.0, Sand(10.0, 35.0), Sand(10.0, 35.0)}}, 1.0, 20.0, 40, 0.01, UnitsGeneral);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 213);
}

TEST(ApiSandLayer, GeneralUnitsWithKRun) {
    BuildPile({{SoilApiSand, 0.0, 20.0, Sand(10.0, 35.0, 5000.0), Sand(10.0, 35.0, 5000.0)}}, 1.0, 20.0, 40, 0.01,
          UnitsGeneral);
    EvaluateLayerCriterion(1);
    EXPECT_FALSE(Failed());
}

TEST(ApiSandLayer, SlopeSteeperThanFrictionStopsInAnyLayer) {
    for (int layers : {1, 2}) {
        if (layers == 1)
            BuildPile({{SoilApiSand, 0.0, 480.0, Sand(0.0361, 30.0, 50.0), Sand(0.0361, 30.0, 50.0)}}, 24.0, 480.0, 40, 0.1);
        else
            BuildPile({{SoilSoftClay, 0.0, 120.0, Clay(0.0361, 5.0), Clay(0.0361, 5.0)},
                   {SoilApiSand, 120.0, 480.0, Sand(0.0361, 30.0, 50.0), Sand(0.0361, 30.0, 50.0)}},
                  24.0, 480.0, 40, 0.1);
        Problem.GroundSlope = Problem.EffectiveSlope = 31.0 * Pi / 180.0;
        EvaluateLayerCriterion(layers);
        EXPECT_EQ(kestro::Run.ErrorNumber, 102) << layers;
    }
}

TEST(ReeseSandLayer, ErrorsAndWarning) {
    BuildPile({{SoilSandReese, 0.0, 480.0, Sand(0.0361, 0.0, 50.0), Sand(0.0361, 0.0, 50.0)}}, 24.0, 480.0, 40, 0.1);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 108);

    BuildPile({{SoilSandReese, 0.0, 480.0, Sand(0.0361, 49.0, 50.0), Sand(0.0361, 49.0, 50.0)}}, 24.0, 480.0, 40, 0.1);
    EvaluateLayerCriterion(1);
    EXPECT_FALSE(Failed());
    EXPECT_GT(Count(302), 0);

    BuildPile({{SoilSandReese, 0.0, 480.0, Sand(0.0361, 48.0, 50.0), Sand(0.0361, 48.0, 50.0)}}, 24.0, 480.0, 40, 0.1);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(Count(302), 0);

    BuildPile({{SoilSandReese, 0.0, 480.0, Sand(0.0361, 30.0, 50.0), Sand(0.0361, 30.0, 50.0)}}, 24.0, 480.0, 40, 0.1);
    Problem.GroundSlope = Problem.EffectiveSlope = -30.5 * Pi / 180.0;
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 109);
}

TEST(ReeseSandLayer, LayerResistanceEndsAtTheLayerBottom) {
    // Reese sand 0..100 in over soft clay: the last station of the sand lies at 96 in,
    // and the resistance adds (100 - 96) pu there.
    const double b = 24.0, L = 480.0;
    BuildPile({{SoilSandReese, 0.0, 100.0, Sand(0.0361, 35.0, 50.0), Sand(0.0361, 35.0, 50.0)},
           {SoilSoftClay, 100.0, L, Clay(0.0361, 5.0), Clay(0.0361, 5.0)}},
          b, L, 40, 0.1);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    ASSERT_EQ(Pile.LastStation[1], 9);
    const double withEnd = Soil.LayerResistance[1];
    Problem.Layers[1].XBottom = 96.0;
    EvaluateLayerCriterion(1);
    const double without = Soil.LayerResistance[1];
    EXPECT_GT(withEnd, without);
    // The increment is 4 in times pu at 96 in: pu is the static A ps there (z/b = 4: A = 0.90).
    const double phi = 35.0 * Pi / 180.0, be = Pi / 4.0 + phi / 2.0, al = phi / 2.0, k0 = 0.4, g = 0.0361, z = 96.0;
    const double ka = std::pow(std::tan(Pi / 4.0 - al), 2.0);
    const double pst = g * z *
                       (k0 * z * std::tan(phi) * std::sin(be) / (std::tan(be - phi) * std::cos(al)) +
                        std::tan(be) / std::tan(be - phi) * (b + z * std::tan(be) * std::tan(al)) +
                        k0 * z * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(al)) - ka * b);
    const double psd = ka * b * g * z * (std::pow(std::tan(be), 8) - 1.0) + k0 * b * g * z * std::tan(phi) * std::pow(std::tan(be), 4);
    EXPECT_NEAR(withEnd - without, 4.0 * 0.90 * std::min(pst, psd), 1e-9 * withEnd);
}

TEST(PrintedCurves, StiffClayWithKNamesItsOptionUnderTheTitle) {
    BuildPile({{SoilStiffClayNoWaterK, 0.0, 480.0, Clay(0.0361, 10.0), Clay(0.0361, 10.0)}}, 24.0, 480.0, 40, 0.1);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    Pile.x[St(1)] = Pile.xv[St(1)] = 60.0;
    Pile.FirstStation[1] = Pile.LastStation[1] = 1;
    testing::internal::CaptureStdout();
    PrintLayerCurves(1);
    const std::string page = testing::internal::GetCapturedStdout();
    ASSERT_FALSE(Failed());
    const std::string head =
        "\n\np-y Curve Computed Using Static Criteria for Stiff Clay without Free Water\n"
        "With Option of Defining Initial k\n"
        "\n"
        "Soil Layer Number           =            1\n"
        "Depth below pile head       =       60.000 in \n";
    EXPECT_EQ(page.substr(0, head.size()), head);
}

TEST(PrintedCurves, EachCriterionWritesItsPage) {
    struct PageCase {
        int Type;
        SoilPoint Pt;
        const char* Title;
    };
    const PageCase cases[] = {
        {SoilStiffClayFreeWater, Clay(0.0361, 10.0), "p-y Curve Computed Using Static Criteria for Stiff Clay with Free Water"},
        {SoilStiffClayNoWater, Clay(0.0361, 10.0), "p-y Curve Computed Using Static Criteria for Stiff Clay without Free Water"},
        {SoilStiffClayNoWaterK, Clay(0.0361, 10.0), "With Option of Defining Initial k"},
        {SoilSandReese, Sand(0.0361, 35.0), "p-y Curve in Sand Computed Using Reese Criteria for Static Loading Conditions"},
        {SoilApiSand, Sand(0.0361, 35.0), "p-y Curve Computed Using API Sand Criteria for Static Loading"},
    };
    for (const PageCase& c : cases) {
        BuildPile({{c.Type, 0.0, 480.0, c.Pt, c.Pt}}, 24.0, 480.0, 40, 0.1);
        EvaluateLayerCriterion(1);
        ASSERT_FALSE(Failed());
        // one temporary station at 60 in
        Pile.x[St(1)] = Pile.xv[St(1)] = 60.0;
        Pile.FirstStation[1] = Pile.LastStation[1] = 1;
        testing::internal::CaptureStdout();
        PrintLayerCurves(1);
        const std::string page = testing::internal::GetCapturedStdout();
        ASSERT_FALSE(Failed());
        EXPECT_NE(page.find(c.Title), std::string::npos) << page;
        EXPECT_NE(page.find("----------------    -----------------"), std::string::npos);
        // 17 rows after the hyphen line (the Reese page adds its notes after them)
        const std::size_t at = page.find("-----------------\n");
        int rows = 0;
        for (std::size_t p = page.find('\n', at) + 1; p < page.size() && rows < 17; ++rows) {
            const std::size_t e = page.find('\n', p);
            EXPECT_EQ(e - p, 32u) << "row " << rows + 1 << " of " << c.Title;
            p = e + 1;
        }
        EXPECT_EQ(rows, 17);
        if (std::getenv("KESTRO_DUMP_PAGES") != nullptr) std::fputs(page.c_str(), stderr);
    }
}

TEST(SandLayer, SandBelowClayUsesTheEquivalentDepth) {
    // Soft clay 0..120 in (c = 5 psi) over sand 120..480 in, phi 35, gamma' 0.0361 pci, k 100 pci.
    const double b = 24.0, g = 0.0361, k = 100.0, y0 = 2.0;
    for (int type : {SoilSandReese, SoilApiSand}) {
        BuildPile({{SoilSoftClay, 0.0, 120.0, Clay(g, 5.0, 0.01), Clay(g, 5.0, 0.01)},
                   {type, 120.0, 480.0, Sand(g, 35.0, k), Sand(g, 35.0, k)}},
                  b, 480.0, 40, y0);
        EvaluateLayerCriterion(1);
        ASSERT_FALSE(Failed());
        EvaluateLayerCriterion(2);
        ASSERT_FALSE(Failed());
        const double F = Soil.LayerResistance[1];
        const double h = Soil.EquivalentDepth[2];
        ASSERT_GT(h, 0.0);
        ASSERT_LT(h, 120.0);   // the soft clay carried less than the sand would have
        // integral of A p_st from 0 to h equals F (Simpson)
        const int n = 2000;
        double s = 0.0;
        for (int i = 0; i <= n; ++i) {
            const double z = i * h / n;
            s += ((i == 0 || i == n) ? 1.0 : (i % 2 ? 4.0 : 2.0)) * ATable(z / b) * WedgeP(35.0, b, g, z);
        }
        EXPECT_NEAR(s * h / n / 3.0, F, 0.005 * F) << type;
        // first sand station at 120 in: z = 120, z_eq = h
        const int i = Pile.FirstStation[2];
        ASSERT_DOUBLE_EQ(Pile.xv[St(i)], 120.0);
        double p = 0.0;
        if (type == SoilSandReese) {
            // beyond yu = 3b/80: p = pu = A(h/b) min(p_st(h), p_sd(z))
            p = ATable(h / b) * std::min(WedgeP(35.0, b, g, h), FlowP(35.0, b, g, 120.0));
        } else {
            const double pu = std::min(WedgeP(35.0, b, g, h), FlowP(35.0, b, g, h));
            const double A = std::max(static_cast<double>(0.9f), 3.0 - static_cast<double>(0.8f) * h / b);
            p = A * pu * std::tanh(k * h * y0 / (A * pu));
        }
        EXPECT_NEAR(Pile.Es[St(i)], p / y0, 1e-9 * p / y0) << type;
    }
}

TEST(LayerResistance, GroundAboveThePileHeadIntegratesTheWholeFirstLayer) {
    // The ground surface lies 24 in above the pile head; layer 1 spans -24..240 in.
    const double b = 24.0, g = 0.0361, c = 10.0, y0 = 0.05, T = 264.0;
    {
        BuildPile({{SoilStiffClayFreeWater, -24.0, 240.0, Clay(g, c, 0.007, 500.0), Clay(g, c, 0.007, 500.0)},
                   {SoilSoftClay, 240.0, 480.0, Clay(g, 5.0, 0.01), Clay(g, 5.0, 0.01)}},
                  b, 480.0, 40, y0);
        EvaluateLayerCriterion(1);
        ASSERT_FALSE(Failed());
        // last station of layer 1: depth 228 in, z = 252 in; (2 ca b + pc) / 2 over the thickness
        const double z = 252.0;
        const double pc = std::min((g * b + 2.83 * c) * z + 2.0 * c * b, 11.0 * c * b);
        EXPECT_NEAR(Soil.LayerResistance[1], (2.0 * c * b + pc) * 0.5 * T, 1e-9 * pc * T);
    }
    {
        BuildPile({{SoilStiffClayNoWater, -24.0, 240.0, Clay(g, c, 0.007), Clay(g, c, 0.007)},
                   {SoilSoftClay, 240.0, 480.0, Clay(g, 5.0, 0.01), Clay(g, 5.0, 0.01)}},
                  b, 480.0, 40, y0);
        EvaluateLayerCriterion(1);
        ASSERT_FALSE(Failed());
        const double z = 252.0;
        const double pu = std::min((g * b + 0.5 * c) * z + 3.0 * b * c, 9.0 * c * b);
        EXPECT_NEAR(Soil.LayerResistance[1], (3.0 * c * b + pu) * 0.5 * T, 1e-9 * pu * T);
    }
    {
        BuildPile({{SoilSandReese, -24.0, 240.0, Sand(g, 35.0, 100.0), Sand(g, 35.0, 100.0)},
                   {SoilSoftClay, 240.0, 480.0, Clay(g, 5.0, 0.01), Clay(g, 5.0, 0.01)}},
                  b, 480.0, 40, y0);
        EvaluateLayerCriterion(1);
        ASSERT_FALSE(Failed());
        const double z = 252.0;
        const double pu = ATable(z / b) * std::min(WedgeP(35.0, b, g, z), FlowP(35.0, b, g, z));
        EXPECT_NEAR(Soil.LayerResistance[1], pu * 0.5 * T, 1e-9 * pu * T);
    }
}

TEST(StiffClayNoFreeWaterLayer, SlopeFactorSideOfAZeroDeflection) {
    // Layer 0..120 in where the wedge Pct stays below 9 c b, so the layer resistance scales
    // with the slope factor; effective slope 10 degrees.
    const double th = 10.0 * Pi / 180.0;
    auto resistance = [&](int type, double y0, double slope) {
        BuildPile({{type, 0.0, 120.0, Clay(0.0361, 10.0, 0.007, 500.0), Clay(0.0361, 10.0, 0.007, 500.0)},
                   {SoilSoftClay, 120.0, 480.0, Clay(0.0361, 5.0, 0.01), Clay(0.0361, 5.0, 0.01)}},
                  24.0, 480.0, 40, y0);
        Problem.GroundSlope = Problem.EffectiveSlope = slope;
        EvaluateLayerCriterion(1);
        EXPECT_FALSE(Failed());
        return Soil.LayerResistance[1];
    };
    const double uphill = 1.0 / (1.0 + std::tan(th)), downhill = 1.0 / (1.0 - std::tan(th));
    // a positive deflection pushes against a positive slope: 1 / (1 + tan)
    EXPECT_NEAR(resistance(SoilStiffClayNoWater, 0.1, th) / resistance(SoilStiffClayNoWater, 0.1, 0.0), uphill, 1e-6);
    EXPECT_NEAR(resistance(SoilStiffClayNoWaterK, 0.1, th) / resistance(SoilStiffClayNoWaterK, 0.1, 0.0), uphill, 1e-6);
    // zero deflection: no side for "StfClyAW"; counted as negative for "StfClyAK"
    EXPECT_NEAR(resistance(SoilStiffClayNoWater, 0.0, th) / resistance(SoilStiffClayNoWater, 0.0, 0.0), 1.0, 1e-12);
    EXPECT_NEAR(resistance(SoilStiffClayNoWaterK, 0.0, th) / resistance(SoilStiffClayNoWaterK, 0.0, 0.0), downhill, 1e-6);
}
