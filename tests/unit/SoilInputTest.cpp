// SOIL LAYERS: the parameter lines of all sixteen soil models, user p-y
// curves, the point list, the ground surface, the capacity and type checks,
// and the conversion of soil values to internal units in both systems.
#include <gtest/gtest.h>

#include <string>

#include "ReaderTestSupport.h"
#include "model/ProblemData.h"

using kestro::Problem;
using kestro::test::Has;
using kestro::test::MinimalInput;
using kestro::test::ReadOnly;
using kestro::test::RunInput;

namespace {

std::string Soil(int count, const std::string& body, const std::string& units = "Units USCS") {
    return MinimalInput("SOIL LAYERS\n" + std::to_string(count) + "\n" + body, units);
}

const kestro::SoilPoint& Pt(int p) { return Problem.SoilPoints[static_cast<std::size_t>(p)]; }

}  // namespace

TEST(SoilInput, SandReadsThreeValuesPerLineAndIgnoresTheRest) {
    ASSERT_EQ(ReadOnly(Soil(1, "5 0 10\n110 30 25 999\n115 35 60 999\n")), 0);
    EXPECT_EQ(Problem.NumLayers, 1);
    EXPECT_EQ(Problem.NumSoilPoints, 2);
    EXPECT_DOUBLE_EQ(Pt(1).UnitWeight, 110.0);
    EXPECT_DOUBLE_EQ(Pt(1).FrictionAngle, 30.0);
    EXPECT_DOUBLE_EQ(Pt(1).Kpy, 25.0);
    EXPECT_DOUBLE_EQ(Pt(2).FrictionAngle, 35.0);
    EXPECT_DOUBLE_EQ(Pt(2).Kpy, 60.0);
    EXPECT_DOUBLE_EQ(Pt(2).Depth, 10.0);
}

TEST(SoilInput, EveryModelReadsItsOwnParameterLines) {
    // One layer of each of the sixteen models, in order, each followed by a
    // marker layer of soft clay whose values show that nothing was over- or under-read.
    std::string body;
    const char* params[17] = {"",
                              "100 500 0.01\n101 600 0.02\n",
                              "100 500 0.005 400\n101 600 0.006 500\n",
                              "100 500 0.005\n101 600 0.006\n",
                              "100 500 0.005 400\n101 600 0.006 500\n",
                              "100 30 25\n101 32 26\n",
                              "100 30 25\n101 32 26\n",
                              "100\n101\n",
                              "100 1000 50000 70 0.0005\n101 1200 60000 80 0.0004\n",
                              "100 3000\n101 3500\n",
                              "100 2 250 0 0 0\n101 2 300 0 0 0\n",
                              "100 200 30 100 0.005\n101 250 32 110 0.006\n",
                              "100 400\n101 450\n",
                              "100 1000\n101 1200\n",
                              "100 2\n0 0\n1 100\n101 1\n0.5 50\n",
                              "",
                              ""};
    for (int t = 1; t <= 16; ++t) body += std::to_string(t) + " " + std::to_string(t - 1) + " " + std::to_string(t) + "\n" + params[t];
    body += "1 16 20\n90 700 0.02\n91 800 0.03\n";
    ASSERT_EQ(ReadOnly(Soil(17, body)), 0);
    EXPECT_EQ(Problem.NumLayers, 17);
    EXPECT_EQ(Problem.NumSoilPoints, 34);
    for (int t = 1; t <= 16; ++t) {
        EXPECT_EQ(Problem.Layers[static_cast<std::size_t>(t)].SoilType, t);
        EXPECT_DOUBLE_EQ(Problem.Layers[static_cast<std::size_t>(t)].XTop, t - 1.0);
        EXPECT_DOUBLE_EQ(Pt(2 * t - 1).Depth, t - 1.0);
        EXPECT_DOUBLE_EQ(Pt(2 * t).Depth, static_cast<double>(t));
    }
    // The marker layer.
    EXPECT_DOUBLE_EQ(Pt(33).UnitWeight, 90.0);
    EXPECT_DOUBLE_EQ(Pt(34).Epsilon50, 0.03);
    // Shared slots: qu in Cohesion, krm in Epsilon50, the rock modulus in Kpy.
    EXPECT_DOUBLE_EQ(Pt(15).Cohesion, 1000.0);
    EXPECT_DOUBLE_EQ(Pt(15).Kpy, 50000.0);
    EXPECT_DOUBLE_EQ(Pt(15).RQD, 70.0);
    EXPECT_DOUBLE_EQ(Pt(16).Epsilon50, 0.0004);
    EXPECT_DOUBLE_EQ(Pt(18).Cohesion, 3500.0);
    EXPECT_EQ(Pt(19).TestType, 2);
    EXPECT_DOUBLE_EQ(Pt(20).TestValue[1], 300.0);
    EXPECT_DOUBLE_EQ(Pt(21).Cohesion, 200.0);
    EXPECT_DOUBLE_EQ(Pt(21).FrictionAngle, 30.0);
    EXPECT_DOUBLE_EQ(Pt(21).Kpy, 100.0);
    EXPECT_DOUBLE_EQ(Pt(22).Epsilon50, 0.006);
    EXPECT_DOUBLE_EQ(Pt(24).ConeTipResistance, 450.0);
    EXPECT_DOUBLE_EQ(Pt(26).ElasticSubgrade, 1200.0);
    EXPECT_DOUBLE_EQ(Pt(4).Kpy, 500.0);
    EXPECT_DOUBLE_EQ(Pt(8).Kpy, 500.0);
    EXPECT_DOUBLE_EQ(Pt(6).Epsilon50, 0.006);
    EXPECT_DOUBLE_EQ(Pt(14).UnitWeight, 101.0);
}

TEST(SoilInput, UserCurvesOfThreeAndFourPoints) {
    std::string body = "14 0 10\n110 3\n0 0\n0.5 100\n1.0 150\n115 4\n0 0\n0.4 120\n0.8 180\n2.0 200\n"
                       "16 10 20\n";
    ASSERT_EQ(ReadOnly(Soil(2, body)), 0);
    EXPECT_EQ(Problem.NumLayers, 2);
    EXPECT_EQ(Pt(1).UserCurvePoints, 3);
    EXPECT_EQ(Pt(2).UserCurvePoints, 4);
    EXPECT_DOUBLE_EQ(Pt(1).UserP[3], 150.0);
    EXPECT_DOUBLE_EQ(Pt(2).UserY[4], 2.0);
    EXPECT_DOUBLE_EQ(Pt(2).UnitWeight, 115.0);
    // The massive rock layer reads no parameter lines: END follows at once.
    EXPECT_EQ(Problem.Layers[2].SoilType, kestro::SoilMassiveRock);
    EXPECT_DOUBLE_EQ(Pt(4).Depth, 20.0);
}

TEST(SoilInput, GroundSurfaceAndEmptyProfile) {
    ASSERT_EQ(ReadOnly(Soil(2, "1 5 10\n100 500 0.01\n100 500 0.01\n1 10 20\n100 500 0.01\n100 500 0.01\n")), 0);
    EXPECT_DOUBLE_EQ(Problem.GroundDepth, 5.0);
    EXPECT_DOUBLE_EQ(Problem.Layers[2].XTop, 10.0);
    ASSERT_EQ(ReadOnly(Soil(0, "")), 0);
    EXPECT_EQ(Problem.NumLayers, 0);
    EXPECT_EQ(Problem.NumSoilPoints, 0);
    ASSERT_EQ(ReadOnly(Soil(-2, "")), 0);
    EXPECT_EQ(Problem.NumLayers, 0);
}

TEST(SoilInput, UnknownSoilTypeEndsTheRun) {
    for (const char* type : {"0", "17", "-1"}) {
        auto r = RunInput(Soil(1, std::string(type) + " 0 10\n100 500 0.01\n100 500 0.01\n"));
        EXPECT_EQ(r.Result, 185) << type;
        EXPECT_TRUE(Has(r.Report, "**** Input Data Error No. 85 ****"));
        EXPECT_TRUE(Has(r.Report, "Problem:  The soil type of soil layer 1 is " + std::string(type) +
                                      ", which is not a soil model code (1 to 16)."))
            << r.Report;
        EXPECT_TRUE(Has(r.Messages, "**** Input Data Error No. 85 ****"));
    }
}

TEST(SoilInput, CapacitiesOnePastTheirBound) {
    auto r = RunInput(Soil(41, ""));
    EXPECT_EQ(r.Result, 184);
    EXPECT_TRUE(Has(r.Report, "The number of soil layers is 41, outside the valid range of 0 to 40.")) << r.Report;
    // 40 layers fit.
    std::string forty;
    for (int k = 1; k <= 40; ++k) forty += "16 " + std::to_string(k - 1) + " " + std::to_string(k) + "\n";
    ASSERT_EQ(ReadOnly(Soil(40, forty)), 0);
    EXPECT_EQ(Problem.NumSoilPoints, 80);
    EXPECT_DOUBLE_EQ(Pt(80).Depth, 40.0);
    // 31 points on a user curve.
    r = RunInput(Soil(1, "14 0 10\n110 31\n"));
    EXPECT_EQ(r.Result, 184);
    EXPECT_TRUE(Has(r.Report, "The number of points on the user-input p-y curve at the top of soil layer 1 is 31, "
                              "outside the valid range of 0 to 30."))
        << r.Report;
    r = RunInput(Soil(1, "14 0 10\n110 1\n0 0\n110 -1\n"));
    EXPECT_EQ(r.Result, 184);
}

TEST(SoilInput, EndOfFileInsideTheSection) {
    const std::string full = "SOIL LAYERS\n2\n4 0 10\n100 500 0.005 400\n101 600 0.006 500\n14 10 20\n110 2\n0 0\n1 100\n"
                             "110 2\n0 0\n1 100\n";
    const std::string head = "KESTRO6\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\n"
                             "UseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     1\n"
                             "Iterations 100\nDeflLimit 100.0\nTolerance 1.0E-5\nIncrements 100\nPrintSummaryOnly NO\n"
                             "PrintIncrement 1\nPrintPYCurves NO\nComputeInteraction NO\n";
    for (std::size_t cut = full.find('\n') + 1; cut < full.size(); cut = full.find('\n', cut) + 1) {
        EXPECT_EQ(ReadOnly(head + full.substr(0, cut)), 180) << full.substr(0, cut);
    }
    EXPECT_EQ(ReadOnly(head + full + "END\n"), 0);
}

TEST(SoilInput, USConversionOfDepthsUnitWeightsAndCohesion) {
    // Soft clay: 5 to 15 ft, 115.2 pcf, 720 psf. Weak rock: qu 1000 psi stays.
    std::string body = "1 5 15\n115.2 720 0.01\n86.4 1440 0.02\n8 15 30\n129.6 1000 50000 70 0.0005\n"
                       "129.6 1200 60000 80 0.0004\n";
    ASSERT_EQ(ReadOnly(Soil(2, body), true), 0);
    EXPECT_DOUBLE_EQ(Problem.GroundDepth, 60.0);
    EXPECT_DOUBLE_EQ(Problem.Layers[1].XTop, 60.0);
    EXPECT_DOUBLE_EQ(Problem.Layers[2].XBottom, 360.0);
    EXPECT_DOUBLE_EQ(Pt(2).Depth, 180.0);
    EXPECT_DOUBLE_EQ(Pt(1).UnitWeight, 115.2 / 1728.0);   // 0.0666667 pci
    EXPECT_DOUBLE_EQ(Pt(1).Cohesion, 5.0);                // 720 psf = 5 psi
    EXPECT_DOUBLE_EQ(Pt(2).Cohesion, 10.0);
    EXPECT_DOUBLE_EQ(Pt(1).Epsilon50, 0.01);
    EXPECT_DOUBLE_EQ(Pt(3).UnitWeight, 0.075);            // 129.6 pcf
    EXPECT_DOUBLE_EQ(Pt(3).Cohesion, 1000.0);             // qu of rock is read in psi
    EXPECT_DOUBLE_EQ(Pt(3).Kpy, 50000.0);
}

TEST(SoilInput, SIAndGeneralUnitsAreNotConverted) {
    std::string body = "1 1.5 4.5\n18 36 0.01\n19 48 0.02\n";
    for (const char* units : {"Units SI", "Units GENERAL"}) {
        ASSERT_EQ(ReadOnly(Soil(1, body, units), true), 0) << units;
        EXPECT_DOUBLE_EQ(Problem.GroundDepth, 1.5);
        EXPECT_DOUBLE_EQ(Pt(2).Depth, 4.5);
        EXPECT_DOUBLE_EQ(Pt(1).UnitWeight, 18.0);
        EXPECT_DOUBLE_EQ(Pt(2).Cohesion, 48.0);
    }
}

TEST(SoilInput, ConversionRunsOncePerRun) {
    ASSERT_EQ(ReadOnly(Soil(1, "1 1 2\n172.8 144 0.01\n172.8 144 0.01\n"), true), 0);
    kestro::ConvertToInternalUnits();
    EXPECT_DOUBLE_EQ(Pt(1).UnitWeight, 0.1);
    EXPECT_DOUBLE_EQ(Pt(1).Cohesion, 1.0);
    EXPECT_DOUBLE_EQ(Pt(2).Depth, 24.0);
}

TEST(SoilInput, MassiveRockValuesFollowTheDepthsOnTheLayerLine) {
    // three values serve the top and the bottom; six give both; a description ends them
    ASSERT_EQ(ReadOnly(Soil(3, "16 0 10 150 5000 2.0E6 rock\n16 10 20 150 5000 2.0E6 155 6000 3.0E6\n16 20 30 massive\n")), 0);
    EXPECT_EQ(Problem.NumLayers, 3);
    EXPECT_DOUBLE_EQ(Pt(1).UnitWeight, 150.0);
    EXPECT_DOUBLE_EQ(Pt(1).Cohesion, 5000.0);
    EXPECT_DOUBLE_EQ(Pt(2).Kpy, 2.0E6);
    EXPECT_DOUBLE_EQ(Pt(4).UnitWeight, 155.0);
    EXPECT_DOUBLE_EQ(Pt(4).Cohesion, 6000.0);
    EXPECT_DOUBLE_EQ(Pt(4).Kpy, 3.0E6);
    EXPECT_DOUBLE_EQ(Pt(3).Kpy, 2.0E6);
    EXPECT_DOUBLE_EQ(Pt(5).Cohesion, 0.0);
    EXPECT_DOUBLE_EQ(Pt(6).Depth, 30.0);
}
