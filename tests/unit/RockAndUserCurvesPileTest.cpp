// Whole-pile runs in Piedmont residual soil and in user-input p-y curves:
// convergence, equilibrium of the soil reactions with the head loads, soil
// reactions on the hand-computed curve, and user curves that restate an
// elastic subgrade reproducing its result.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "PileRunSupport.h"
#include "TestSupport.h"

namespace {

using kestro::test::Analyse;
using kestro::test::PileRun;
using kestro::test::RunInput;
using Station = kestro::test::StationResult;

// A 30 in elastic shaft (E = 3600 ksi), 35 ft long, head at the ground, one
// shear load case; `layers` is the SOIL LAYERS section after its count line.
std::string ShaftInput(int numLayers, const std::string& layers, double shear, int increments = 100,
                       const std::string& units = "USCS") {
    std::ostringstream s;
    s << "KESTRO6\nTITLE\nShaft\n\n\n\n\n"
      << "OPTIONS\nUnits " << units << "\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\n"
      << "UsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     1\nMaxIterations 500\n"
      << "DeflectionLimit 100.0\nTolerance 1.0E-8\nIncrements " << increments
      << "\nPrintSummaryOnly NO\nPrintIncrement 1\nPrintPYCurves NO\nComputeInteraction NO\n"
      << "SECTIONS\n1\n1\n11\n35.0\n1\n3600000.0\n30.0\n30.0\n706.8583\n706.8583\n39760.8\n39760.8\n"
      << "SOIL LAYERS\n" << numLayers << "\n" << layers << "LOADING\n1\n1  1  " << shear
      << "  0.0  200000.0  1\n0\nEND\n";
    return s.str();
}

// Simpson & Brown (2006) with b in inches: p = E b y, E b y (1 - 0.23 ln(1000 y/b)), 0.16648 E b (0.0375 b).
double PiedmontByHand(double E, double b, double y) {
    if (y < 0.001 * b) return E * b * y;
    if (y < 0.0375 * b) return E * b * y * (1.0 - 0.23 * std::log(1000.0 * y / b));
    return static_cast<double>(0.16648f) * E * b * 0.0375 * b;
}

}  // namespace

TEST(PileInPiedmontResidualSoil, ConvergesInEquilibriumOnTheHandCurve) {
    // SPT N60 from 15 at the ground to 40 at 45 ft (540 in); E = 22 N60 psi.
    const std::string layer = "10  0.0  45.0\n115.0  1  15.0  0.0  0.0  0.0\n120.0  1  40.0  0.0  0.0  0.0\n";
    const double shear = 200000.0, b = 30.0;
    const PileRun r = Analyse(ShaftInput(1, layer, shear, 200));
    ASSERT_EQ(r.Result, 0);
    ASSERT_EQ(r.Stations.size(), 201u);
    // Equilibrium: V0 + integral p dx = 0 and, with no head moment, integral p x dx = 0.
    kestro::test::ExpectSoilEquilibrium(r, shear, 0.01, 0.01);
    // Every reaction lies on the curve of its depth, all three segments being met.
    int checked = 0, plateau = 0, linear = 0;
    for (const Station& s : r.Stations) {
        const double y = std::fabs(s.Y);
        if (y < 1e-4) continue;
        const double E = 22.0 * (15.0 + 25.0 * s.X / 540.0);
        const double p = PiedmontByHand(E, b, y);
        EXPECT_NEAR(std::fabs(s.P), p, 2e-3 * p) << "x = " << s.X;
        EXPECT_LT(s.P * s.Y, 0.0) << "the soil resists the deflection at x = " << s.X;
        ++checked;
        if (y >= 0.0375 * b) ++plateau;
        if (y < 0.001 * b) ++linear;
    }
    EXPECT_GT(checked, 100);
    EXPECT_GT(plateau, 0);
    EXPECT_GT(linear, 0);
}

TEST(PileInUserCurves, CurvesRestatingAnElasticSubgradeGiveItsResult) {
    // Elastic subgrade 1000 lb/in2 at the ground to 3000 lb/in2 at 45 ft: p = Esub b y.
    // The same springs as user curves: (0, 0) to (10 in, Esub b 10 in) at the top and bottom.
    const std::string elastic = "13  0.0  45.0\n110.0  1000.0\n110.0  3000.0\n";
    const std::string user = "14  0.0  45.0\n110.0  2\n0.0  0.0\n10.0  300000.0\n110.0  2\n0.0  0.0\n10.0  900000.0\n";
    const PileRun a = Analyse(ShaftInput(1, elastic, 40000.0));
    const PileRun u = Analyse(ShaftInput(1, user, 40000.0));
    ASSERT_EQ(a.Result, 0);
    ASSERT_EQ(u.Result, 0);
    ASSERT_EQ(a.Stations.size(), u.Stations.size());
    EXPECT_NEAR(u.TopY, a.TopY, 1e-9 * std::fabs(a.TopY));
    EXPECT_NEAR(u.Mmax, a.Mmax, 1e-9 * std::fabs(a.Mmax));
    for (std::size_t i = 0; i < a.Stations.size(); ++i) {
        EXPECT_NEAR(u.Stations[i].Y, a.Stations[i].Y, 1e-9 * std::fabs(a.TopY)) << i;
        EXPECT_NEAR(u.Stations[i].M, a.Stations[i].M, 1e-9 * std::fabs(a.Mmax)) << i;
    }
}

TEST(PileInUserCurves, BadCurveStopsTheRunAfterTheEcho) {
    // deflections that fall from point 2 to point 3 of the bottom curve
    const std::string user = "14  0.0  45.0\n110.0  2\n0.0  0.0\n1.0  500.0\n110.0  3\n0.0  0.0\n1.0  900.0\n0.5  950.0\n";
    const auto u = RunInput(ShaftInput(1, user, 40000.0));
    EXPECT_EQ(u.Result, 171);
    EXPECT_NE(u.Report.find("User-input p-y curve at bottom of layer 1"), std::string::npos);
    EXPECT_NE(u.Report.find("The user-input p-y curve at the bottom of soil layer 1, point 3, has the deflection "
                            "5.0000E-01, not greater than that of the point before it."),
              std::string::npos)
        << u.Report;
    EXPECT_NE(u.Messages.find("The analysis ended due to an error."), std::string::npos);
}

TEST(PileInMassiveRock, RockValuesOnTheLayerLine) {
    // Sand over massive rock; the rock's unit weight, qu and Er follow its depths.
    const std::string layers = "5  0.0  10.0\n115.0  34.0  90.0\n115.0  34.0  90.0\n"
                               "16  10.0  45.0  150.0  5000.0  2.0E6   massive rock\n";
    const auto r = RunInput(ShaftInput(2, layers, 60000.0));
    // Rock of 150 pcf lies above the echo's usual unit-weight limit of 140 pcf:
    // the run ends with that warning counted.
    ASSERT_EQ(r.Result, -371) << r.Messages;
    EXPECT_NE(r.Report.find("Initial modulus of rock at bottom of layer             =  2000000.000 psi"),
              std::string::npos);
    // Without the values the layer cannot be analysed and the run says why.
    const auto bare = RunInput(ShaftInput(2, "5  0.0  10.0\n115.0  34.0  90.0\n115.0  34.0  90.0\n16  10.0  45.0\n",
                                            60000.0));
    EXPECT_EQ(bare.Result, 173);
    EXPECT_NE(bare.Report.find("The uniaxial compressive strength of massive rock layer 2"), std::string::npos);
}

TEST(LayersBelowRock, TakeTheDepthBelowTheGroundSurface) {
    // Sand, vuggy limestone, then sand again: the lower sand is printed (and
    // analysed) without the equivalent depth, the limestone counting as rock.
    std::string input = ShaftInput(3,
                                   "5  0.0  5.0\n115.0  34.0  90.0\n115.0  34.0  90.0\n"
                                   "9  5.0  15.0\n130.0  2000.0\n130.0  2000.0\n"
                                   "5  15.0  45.0\n120.0  36.0  120.0\n120.0  36.0  120.0\n",
                                   60000.0);
    input.replace(input.find("PrintPYCurves NO"), 16, "PrintPYCurves YES");
    input.replace(input.find("END\n"), 4, "DEPTHS OF PRINTED P-Y CURVES\n2\n1  2.0\n2  20.0\nEND\n");
    const auto r = RunInput(input);
    ASSERT_EQ(r.Result, 0) << r.Messages;
    const auto below = r.Report.find("This layer is below one or more layers of rock.");
    ASSERT_NE(below, std::string::npos);
    // the note closes the page of the curve at 20 ft in layer 3
    const auto page = r.Report.rfind("Depth below pile head", below);
    ASSERT_NE(page, std::string::npos);
    EXPECT_NE(r.Report.substr(page, 80).find("240.000"), std::string::npos) << r.Report.substr(page, 80);
}
