// The load-case analysis on the model store: station grid and lookups,
// iteration, results page, plot records, summary and run errors.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "PileTestSupport.h"
#include "analysis/BendingStiffness.h"
#include "analysis/LoadCases.h"
#include "model/PileProperties.h"
#include "analysis/StationResults.h"
#include "analysis/Stations.h"
#include "model/Warnings.h"
#include "report/ResultsReport.h"

using namespace kestro;
using kestro::test::AddLoadCase;
using kestro::test::CapturedChannels;
using kestro::test::CountOf;
using kestro::test::Has;
using kestro::test::SetElasticPileProblem;

namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Lines of `text` that contain `what`.
std::vector<std::string> LinesWith(const std::string& text, const std::string& what) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        if (l.find(what) != std::string::npos) out.push_back(l);
    return out;
}

// Beam on elastic foundation with k = 50000 (the initial secant modulus,
// kept by every station without soil layers): EI = 5.8e10 lb-in^2.
constexpr double EIp = 5.8E10, kInit = 50000.0;
const double LambdaP = std::pow(kInit / (4.0 * EIp), 0.25);
const double Lp = 10.0 / LambdaP;

void RunCases(CapturedChannels& ch) {
    RunLoadCases();
    if (!Failed()) WriteSummary();
    ch.Close();
}

}  // namespace

// ---------------------------------------------------------------- lookups

TEST(PileProperties, TableLookup) {
    ResetProblemData();
    // Section 1 from 0 to 100 tapering, section 2 from 100 to 200.
    const PropertyRow rows[] = {{0.0, 20.0, 10.0, 100.0, 3.0, 50.0},
                                {100.0, 30.0, 12.0, 300.0, 2.0, 70.0},
                                {100.0, 40.0, 14.0, 500.0, 4.0, 90.0},
                                {200.0, 40.0, 14.0, 500.0, 4.0, 90.0}};
    Problem.NumPropertyRows = 4;
    for (int r = 1; r <= 4; ++r) Problem.PropertyTable[U(r)] = rows[r - 1];
    struct Case { double z, b, I, EI; } cases[] = {
        {0.0, 20.0, 100.0, 300.0},
        {50.0, 25.0, 200.0, 0.5 * (300.0 + 600.0)},   // EI interpolates the products E*I
        {100.0, 40.0, 500.0, 2000.0},                 // boundary: the lower section's row
        {150.0, 40.0, 500.0, 2000.0},
        {200.0, 40.0, 500.0, 2000.0},
        {250.0, 40.0, 500.0, 2000.0},                 // below the table: last row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.z);
        const PileProperties p = PropertiesAt(c.z);
        EXPECT_DOUBLE_EQ(p.b, c.b);
        EXPECT_DOUBLE_EQ(p.I, c.I);
        EXPECT_DOUBLE_EQ(p.EI, c.EI);
    }
}

TEST(PileProperties, DistributedLoadAveragesOverTributaryLength) {
    ResetProblemData();
    ResetPileModel();
    Pile.Spacing = 10.0;
    // 0 until 100, then a step to 6 rising linearly to 16 at 200, ending there.
    Problem.NumDistributedPoints = 3;
    Problem.DistDepth[1] = 100.0; Problem.DistLoad[1] = 6.0;
    Problem.DistDepth[2] = 200.0; Problem.DistLoad[2] = 16.0;
    Problem.DistDepth[3] = 200.0; Problem.DistLoad[3] = 0.0;
    struct Case { double z, w; } cases[] = {
        {50.0, 0.0},                       // above the profile
        {100.0, 0.5 * (6.0 + 6.5) / 2.0},  // half the interval: mean 6.25 over 5 of 10
        {150.0, 11.0},                     // inside: linear, average = midpoint value
        {200.0, 0.5 * (15.5 + 16.0) / 2.0},
        {210.0, 0.0},
        {96.0, (6.0 + 6.1) / 2.0 * 1.0 / 10.0},   // reaches 1 into the profile
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.z);
        EXPECT_NEAR(DistributedLoadAt(c.z), c.w, 1e-12);
    }
}

TEST(PileProperties, GroupMultipliers) {
    ResetProblemData();
    EXPECT_DOUBLE_EQ(PMultiplierAt(10.0), 1.0);   // no table
    Problem.Options.UsePYModifiers = true;
    Problem.NumGroupFactorPoints = 4;
    const double d[] = {10.0, 20.0, 20.0, 40.0}, pm[] = {0.8, 0.6, 0.4, 0.2}, ym[] = {2.0, 3.0, 4.0, 5.0};
    for (int k = 1; k <= 4; ++k) {
        Problem.GroupDepth[U(k)] = d[k - 1];
        Problem.PMultiplier[U(k)] = pm[k - 1];
        Problem.YMultiplier[U(k)] = ym[k - 1];
    }
    struct Case { double z, p, y; } cases[] = {
        {5.0, 1.0, 1.0}, {10.0, 0.8, 2.0}, {15.0, 0.7, 2.5}, {20.0, 0.4, 4.0}, {30.0, 0.3, 4.5}, {40.0, 0.2, 5.0},
        {40.0 * (1 + 1e-9), 1.0, 1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.z);
        EXPECT_NEAR(PMultiplierAt(c.z), c.p, 1e-12);
        EXPECT_NEAR(YMultiplierAt(c.z), c.y, 1e-12);
    }
    // A table read while the options do not ask for p-y modifiers is not used.
    Problem.Options.UsePYModifiers = false;
    EXPECT_DOUBLE_EQ(PMultiplierAt(15.0), 1.0);
    EXPECT_DOUBLE_EQ(YMultiplierAt(15.0), 1.0);
}

// ---------------------------------------------------------------- stations

TEST(Stations, GridSectionsAndLayers) {
    SetElasticPileProblem(400.0, 1.0E10);
    Problem.NumSections = 2;
    Problem.Sections[1].SectionBottom = 100.0;
    Problem.Sections[2].SectionTop = 100.0;
    Problem.Sections[2].SectionBottom = 400.0;
    Problem.NumLayers = 3;
    Problem.Layers[1] = {1, 0.0, 36.0};
    Problem.Layers[2] = {1, 36.0, 37.0};     // thinner than a station spacing
    Problem.Layers[3] = {1, 37.0, 500.0};
    BuildStations(400.0);
    ASSERT_FALSE(Failed());
    AssignSections();
    AssignLayers();
    EXPECT_EQ(Pile.NumStations, 101);
    EXPECT_DOUBLE_EQ(Pile.Spacing, 4.0);
    EXPECT_EQ(Pile.x[St(101)], 400.0);
    EXPECT_DOUBLE_EQ(Pile.EI[St(50)], 1.0E10);
    EXPECT_EQ(Pile.Section[St(1)], 1);
    EXPECT_EQ(Pile.Section[St(26)], 1);   // x = 100 on the boundary: upper section
    EXPECT_EQ(Pile.Section[St(27)], 2);
    // Station 10 (x = 36) lies on the top of layer 2 and belongs to it; the
    // layer holds no other station, layer 3 starts at station 11 (x = 40).
    EXPECT_EQ(Pile.FirstStation[1], 1);
    EXPECT_EQ(Pile.LastStation[1], 9);
    EXPECT_EQ(Pile.FirstStation[2], 10);
    EXPECT_EQ(Pile.LastStation[2], 10);
    EXPECT_EQ(Pile.FirstStation[3], 11);
    EXPECT_EQ(Pile.LastStation[3], 101);
}

TEST(Stations, StationOnLayerTopBelongsToLowerLayer) {
    SetElasticPileProblem(400.0, 1.0E10);
    Problem.NumLayers = 2;
    Problem.Layers[1] = {1, 0.0, 40.0};
    Problem.Layers[2] = {1, 40.0, 400.0};
    BuildStations(400.0);
    AssignLayers();
    EXPECT_EQ(Pile.LastStation[1], 10);   // x = 36
    EXPECT_EQ(Pile.FirstStation[2], 11);  // x = 40
    EXPECT_EQ(Pile.LastStation[2], 101);
}

TEST(Stations, GroundBelowHeadLeavesUpperStationsWithoutLayer) {
    SetElasticPileProblem(400.0, 1.0E10);
    Problem.NumLayers = 1;
    Problem.Layers[1] = {1, 41.0, 600.0};   // ground below the head
    BuildStations(400.0);
    AssignLayers();
    EXPECT_EQ(Pile.FirstStation[1], 12);  // first station at or below 41: x = 44
    EXPECT_EQ(Pile.LastStation[1], 101);
}

TEST(Stations, SoilMovementStepAveragesAtItsDepth) {
    SetElasticPileProblem(400.0, 1.0E10);
    Problem.Options.UseSoilMovement = true;
    Problem.NumSoilMovementPoints = 4;
    const double d[] = {0.0, 40.0, 40.0, 80.0}, m[] = {1.0, 0.5, 0.25, 0.0};
    for (int k = 1; k <= 4; ++k) {
        Problem.SoilMovementDepth[U(k)] = d[k - 1];
        Problem.SoilMovement[U(k)] = m[k - 1];
    }
    BuildStations(400.0);
    InterpolateSoilMovement();
    EXPECT_DOUBLE_EQ(Pile.ysm[St(1)], 1.0);
    EXPECT_DOUBLE_EQ(Pile.ysm[St(6)], 0.75);     // x = 20
    EXPECT_DOUBLE_EQ(Pile.ysm[St(11)], 0.375);   // x = 40: average of the step
    EXPECT_DOUBLE_EQ(Pile.ysm[St(16)], 0.125);   // x = 60
    EXPECT_DOUBLE_EQ(Pile.ysm[St(21)], 0.0);
    EXPECT_DOUBLE_EQ(Pile.ysm[St(22)], 0.0);     // below the table
}

TEST(Stations, InvalidGridEndsTheRun) {
    CapturedChannels ch;
    SetElasticPileProblem(400.0, 1.0E10);
    BuildStations(0.0);
    ch.Close();
    EXPECT_EQ(kestro::Run.ErrorNumber, 230);
    EXPECT_TRUE(Has(ch.Report, "**** Runtime Error No. 30 ****"));
}

// ---------------------------------------------------------------- EI tables

namespace {
// Section 1 of type 1 with one thrust: a bilinear moment-curvature curve in
// kip units, EI 1000 kip-in^2 to M = 10 kip-in, flat beyond.
void SetBilinearTable() {
    SetElasticPileProblem(400.0, 1.0E6);
    Problem.Sections[1].SectionType = SecDrilledShaft;
    Problem.NumAxialThrusts = 1;
    Problem.AxialThrusts[1] = 0.0;
    NonlinearEITable& T = EITableToWrite(1);
    T.NumThrusts = 1;
    T.NumPoints[1] = 3;
    const double M[] = {10.0, 10.0, 10.0}, C[] = {0.01, 0.02, 0.04};
    for (int p = 1; p <= 3; ++p) {
        T.Moment[1][U(p)] = M[p - 1];
        T.Curvature[1][U(p)] = C[p - 1];
        T.EI[1][U(p)] = M[p - 1] / C[p - 1];
    }
    BuildStations(400.0);
    AssignSections();
}
// Deflections giving station 50 the curvature phi with EI(50) as built.
void SetCurvature(double phi) {
    const double h = Pile.Spacing;
    Pile.y.fill(0.0);
    Pile.y[St(50)] = -phi * h * h / 2.0;
    Pile.y[St(49)] = 0.0;
    Pile.y[St(51)] = 0.0;
}
}  // namespace

TEST(BendingStiffness, LookupFromTable) {
    SetBilinearTable();
    struct Case { const char* Name; double EIstation, phi, expected; bool beyond; } cases[] = {
        // moment at or below the first table moment keeps the initial EI whatever the curvature
        {"uncracked", 1.0E6, 0.01, 1000.0 * 1000.0, false},
        {"uncracked_large_curvature", 1.0E5, 0.1, 1000.0 * 1000.0, false},
        {"between_points", 1.0E6, 0.03, 10.0 / 0.03 * 1000.0, false},
        {"beyond_table", 1.0E6, 0.05, 10.0 / 0.05 * 1000.0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Pile.EI[St(50)] = c.EIstation;
        Pile.b_BeyondEITable[St(50)] = false;
        SetCurvature(c.phi);
        EXPECT_NEAR(EIFromTable(50, 1, 1), c.expected, 1e-9 * c.expected);
        EXPECT_EQ(Pile.b_BeyondEITable[St(50)], c.beyond);
    }
}

TEST(BendingStiffness, ThrustIndex) {
    ResetProblemData();
    Problem.NumAxialThrusts = 3;
    Problem.AxialThrusts[1] = 10.0;
    Problem.AxialThrusts[2] = 20.0;
    Problem.AxialThrusts[3] = 30.0;
    EXPECT_EQ(ChooseThrustIndex(5.0), 1);
    EXPECT_EQ(ChooseThrustIndex(10.0), 1);
    EXPECT_EQ(ChooseThrustIndex(19.999), 1);
    EXPECT_EQ(ChooseThrustIndex(20.0), 2);
    EXPECT_EQ(ChooseThrustIndex(30.0), 3);
    EXPECT_EQ(ChooseThrustIndex(99.0), 3);
}

TEST(BendingStiffness, ElasticSectionIsNeverUpdated) {
    SetElasticPileProblem(400.0, 1.0E6);
    BuildStations(400.0);
    AssignSections();
    SetCurvature(0.5);
    UpdateBendingStiffness(1, 0.0);
    EXPECT_DOUBLE_EQ(Pile.EI[St(50)], 1.0E6);
}

// ---------------------------------------------------------------- iteration

// A long elastic pile on the initial modulus (no layers) under a head shear:
// head deflection, rotation and maximum moment against Hetenyi's closed form
// for a semi-infinite beam on elastic foundation.
TEST(LoadCases, ElasticPileMatchesBeamOnElasticFoundation) {
    CapturedChannels ch;
    SetElasticPileProblem(Lp, EIp);
    AddLoadCase(1, 10000.0, 0.0, 0.0);
    AddLoadCase(1, 0.0, 1.0E6, 0.0);
    RunCases(ch);
    ASSERT_FALSE(Failed()) << ch.Report;
    const CaseSummary& S1 = Pile.Summary[1];
    const CaseSummary& S2 = Pile.Summary[2];
    const double V = 10000.0, M0 = 1.0E6, l = LambdaP;
    const double e[] = {S1.HeadDeflection / (2 * V * l / kInit) - 1, S1.HeadRotation / (-2 * V * l * l / kInit) - 1,
                        S1.MaxMoment / (V / l * std::exp(-M_PI / 4) * std::sin(M_PI / 4)) - 1,
                        S2.HeadDeflection / (2 * M0 * l * l / kInit) - 1,
                        S2.HeadRotation / (-4 * M0 * l * l * l / kInit) - 1, S2.MaxMoment / M0 - 1};
    for (double err : e) EXPECT_LT(std::fabs(err), 0.01);
    std::printf("iteration vs closed form: shear y %.2e rot %.2e M %.2e; moment y %.2e rot %.2e M %.2e\n", e[0],
                e[1], e[2], e[3], e[4], e[5]);
    // The moment is largest at lambda x = pi/4 below the head.
    EXPECT_NEAR(S1.DepthMaxMoment, M_PI / 4 / l, 2 * Pile.Spacing);
    // Constant moduli: converged at the sixth solution, the minimum.
    EXPECT_EQ(S1.Iterations, 6);
    EXPECT_EQ(CountOf(ch.Messages, "Analysis Case 1,"), 6);
    EXPECT_EQ(CountOf(ch.Messages, "Convergence Criteria Met\n"), 2);
    EXPECT_TRUE(Has(ch.Messages, "Computing lateral response of pile for load number 1\n"));
    EXPECT_TRUE(Has(ch.Messages, "Completed Analysis 2\n\n"));
}

// Head shear and moment of the converged solution equal the applied loads,
// and the equilibrium check finds no imbalance.
TEST(LoadCases, HeadForcesEqualAppliedLoads) {
    struct Case { int Type; double C1, C2, Q; } cases[] = {
        {1, 20000.0, 3.0E5, 0.0}, {1, 20000.0, -3.0E5, 5.0E5}, {2, 15000.0, 0.0, 1.0E5}, {3, 15000.0, 1.0E9, 0.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Type);
        CapturedChannels ch;
        SetElasticPileProblem(Lp, EIp);
        AddLoadCase(c.Type, c.C1, c.C2, c.Q);
        RunCases(ch);
        ASSERT_FALSE(Failed());
        EXPECT_NEAR(Pile.Shear[St(1)], c.C1, 1e-6 * c.C1);
        if (c.Type == 1) {
            EXPECT_NEAR(Pile.Moment[St(1)], c.C2, 1e-6 * std::fabs(c.C2));
        }
        if (c.Type == 3) {
            EXPECT_NEAR(Pile.Moment[St(1)], c.C2 * Pile.Slope[St(1)], 1e-6 * std::fabs(Pile.Moment[St(1)]));
        }
        // Soil reaction integrated over the pile balances the head shear.
        double sum = 0.0;
        for (int i = 1; i <= Pile.NumStations; ++i)
            sum += Pile.SoilReaction[St(i)] * Pile.Spacing * ((i == 1 || i == Pile.NumStations) ? 0.5 : 1.0);
        EXPECT_NEAR(sum, -c.C1, 0.01 * c.C1);
        EXPECT_LT(Pile.MaxMomentImbalance, 1.0);
        EXPECT_TRUE(Has(ch.Report, "\nOutput Verification: Computed forces and moments are within specified "
                                   "convergence limits.\n"));
    }
}

// The results page, its plot records and the summary, to the character.
TEST(LoadCases, ResultsPageAndPlotRecords) {
    CapturedChannels ch;
    SetElasticPileProblem(Lp, EIp);
    Problem.Options.PrintIncrement = 200;   // beyond N - 1: only the head is listed
    AddLoadCase(1, 10000.0, 0.0, 0.0);
    AddLoadCase(2, 10000.0, 0.0, 0.0);
    RunCases(ch);
    ASSERT_FALSE(Failed());
    const std::string dash(80, '-');
    EXPECT_TRUE(Has(ch.Report, "\n\n" + dash + "\n                 Computed Values of Pile Loading and Deflection\n"
                                   "                   for Lateral Loading for Load Case Number 1\n" + dash + "\n\n"));
    EXPECT_TRUE(Has(ch.Report, "Pile-head conditions are Shear and Moment (Loading Type 1)\n\n"
                               "Horizontal shear force at pile head                  =       10000.000 lbs\n"
                               "Applied moment at pile head                          =           0.000 in-lbs\n"
                               "Axial thrust load on pile head                       =           0.000 lbs\n"));
    EXPECT_TRUE(Has(ch.Report, "(Zero slope for this load indicates fixed-head conditions)\n"));
    EXPECT_TRUE(Has(ch.Report,
                    "   inches    inches     in-lbs      lbs       radians     psi*      lb-in^2    lb/in      "
                    "lb/inch    lb/inch \n---------- ---------- ---------- ---------- ---------- ---------- "
                    "---------- ---------- ---------- ----------\n      0.00 "));
    // One table row per case (the head only).
    EXPECT_EQ(LinesWith(ch.Report, "      0.00 ").size(), 2u);
    EXPECT_TRUE(Has(ch.Report, "\nOutput Summary for Load Case No. 1:\n\nPile-head deflection             = "));
    EXPECT_TRUE(Has(ch.Report, "Number of iterations             =              6\n"
                               "Number of zero deflection points =              "));
    // Plot: Line 6 once, Line 9 once before the first Line 10, N Line 10 per case, Line 11, Line 13.
    const auto line6 = LinesWith(ch.Plot, "Line 6 ");
    ASSERT_EQ(line6.size(), 1u);
    EXPECT_EQ(line6[0], "    0" + std::string(75, ' ') + "Line 6 : number of output p-y curves");
    const auto line9 = LinesWith(ch.Plot, "Line 9:");
    ASSERT_EQ(line9.size(), 1u);
    EXPECT_EQ(line9[0], "    2  101    1" + std::string(65, ' ') + "Line 9:  No. loads, No. nodes, iunits: 1 = USCS, 2 = SI");
    EXPECT_LT(ch.Plot.find("Line 9:"), ch.Plot.find("Line 10("));
    const auto line10 = LinesWith(ch.Plot, "Line 10(");
    ASSERT_EQ(line10.size(), 202u);
    EXPECT_EQ(line10[0].substr(0, 15), "  0.0000000E+00");
    EXPECT_EQ(line10[0].substr(75), "     Line 10(  1): nodal depth, y, M, V, p");
    EXPECT_EQ(line10[100].substr(80), "Line 10(101): nodal depth, y, M, V, p");
    const auto line11 = LinesWith(ch.Plot, "Line 11:");
    ASSERT_EQ(line11.size(), 2u);
    EXPECT_EQ(line11[1], "    0" + std::string(75, ' ') + "Line 11: Num. points on Ytop vs. Length curve for load case 2");
    const auto line13 = LinesWith(ch.Plot, "Line 13:");
    ASSERT_EQ(line13.size(), 2u);
    EXPECT_EQ(line13[0].substr(0, 15), "  1.0000000E+04");
    EXPECT_EQ(line13[0].substr(60), std::string(20, ' ') + "Line 13: TopV, TopY, Mmax, Vmax");
    // Summary table.
    EXPECT_TRUE(Has(ch.Report, "\n\n\n" + dash + "\n                           Summary of Pile Response(s)\n" + dash));
    EXPECT_TRUE(Has(ch.Report, "----  ----  --------------  --------------  -------------  -------------  "
                               "-------------  -------------  -------------\n"
                               "  1     1   V = 10000.0000  M =      0.000      0.0000000"));
    EXPECT_TRUE(Has(ch.Report, "\n  2    2   V = 10000.0000  S =      0.000      0.0000000"));
    // Head rotation: fixed, 15 wide, 8 decimals (fixed head: zero).
    EXPECT_TRUE(Has(ch.Report, "     0.00000000\n"));
}

// ---------------------------------------------------------------- run errors

namespace {
// An elastic-plastic pile (type 12) with the EI table of the section
// analysis: elastic to Mp = 1000 kip-in, then a plastic hinge.
void SetPlasticPile() {
    SetElasticPileProblem(Lp, EIp);
    Problem.Sections[1].SectionType = SecElasticWithCapacity;
    NonlinearEITable& T = EITableToWrite(1);
    T.NumThrusts = 1;
    T.NumPoints[1] = 1;
    T.Moment[1][1] = 0.0;
    T.Curvature[1][1] = 0.0;
    T.EI[1][1] = EIp / 1000.0;
    T.PlasticMoment = 1000.0;   // kip-in
}
}  // namespace

// A converging first case, then a second case whose head deflection is
// beyond the limit: Runtime Error 9 at its first solution, with everything
// written for case 1 kept.
TEST(LoadCases, ExcessDeflectionEndsWithRuntimeError9) {
    CapturedChannels ch;
    SetPlasticPile();
    Problem.Options.ExcessDeflectionLimit = 0.05;
    AddLoadCase(1, 1000.0, 0.0, 0.0);      // about 15000 in-lb: elastic, y = 0.0009 in
    AddLoadCase(1, 4.0E5, 0.0, 0.0);       // far beyond the plastic moment
    RunLoadCases();
    const int error = kestro::Run.ErrorNumber;
    ch.Close();
    ASSERT_EQ(error, 209) << ch.Report;
    EXPECT_EQ(CountOf(ch.Messages, "Analysis Case 2,"), 1);
    const std::string block =
        "\n\n**** Runtime Error No. 9 ****\nAn error in the analysis was detected by the program.  \n"
        "Problem:  The computed deflection is larger than the specified excess deflection limit.\n"
        "The computed deflection of the pile head is ";
    EXPECT_TRUE(Has(ch.Report, block));
    EXPECT_TRUE(Has(ch.Messages, block));
    EXPECT_TRUE(Has(ch.Report, "The specified excess deflection limit is          0.0500 in \n"
                               "This error may be due to overloading the pile or bad input data.\nSolution:\n"
                               "Please check input values for pile loading and soil properties for accuracy and/or \n"
                               "increase the size of the pile if necessary.\n"));
    EXPECT_TRUE(Has(ch.Report, "Kestro ended prematurely due to runtime error number RUN00009\n"));
    // Case 1 is complete in the report and the plot file; case 2 left nothing.
    EXPECT_TRUE(Has(ch.Report, "Output Summary for Load Case No. 1:"));
    EXPECT_FALSE(Has(ch.Report, "Output Summary for Load Case No. 2:"));
    EXPECT_EQ(CountOf(ch.Plot, "Line 10("), 101);
    EXPECT_EQ(CountOf(ch.Plot, "Line 11:"), 1);
    EXPECT_TRUE(Has(ch.Messages, "Completed Analysis 1\n\n"));
    EXPECT_FALSE(Has(ch.Messages, "Completed Analysis 2"));
}

// The plastic hinge limits the moment the pile can carry at Mp.
TEST(LoadCases, PlasticHingeCapsTheMoment) {
    CapturedChannels ch;
    SetPlasticPile();
    AddLoadCase(1, 1.0E5, 0.0, 0.0);       // elastic maximum 3.2E6 in-lb > Mp = 1.0E6 in-lb
    Problem.Options.MaxIterations = 1000;
    RunLoadCases();
    ch.Close();
    ASSERT_FALSE(Failed()) << ch.Report;
    EXPECT_LT(std::fabs(Pile.Summary[1].MaxMoment), 1.0E6 * 1.02);
    EXPECT_GT(std::fabs(Pile.Summary[1].MaxMoment), 1.0E6 * 0.98);
}

// Too few iterations allowed: Runtime Error 10. The run stops, except that a
// load type 4 case still reports its results. The last five iterations are
// listed in the report.
TEST(LoadCases, NoConvergenceEndsWithRuntimeError10) {
    for (int type : {1, 4}) {
        SCOPED_TRACE(type);
        CapturedChannels ch;
        SetElasticPileProblem(Lp, EIp);
        Problem.Options.MaxIterations = 5;   // below the six solutions a case needs
        AddLoadCase(type, type == 1 ? 1000.0 : 0.01, 0.0, 0.0);
        AddLoadCase(1, 1000.0, 0.0, 0.0);
        RunLoadCases();
        const int error = kestro::Run.ErrorNumber;
        ch.Close();
        EXPECT_EQ(error, 210);
        EXPECT_TRUE(Has(ch.Report, "\n\n**** Runtime Error No. 10 ****\n"
                                   "The analysis failed to converge within the limit of 5 iterations.\n\n"
                                   "Maximum change in deflection    =      0.000 in \n"
                                   "Specified convergence tolerance =  1.000E-05 in \n"));
        EXPECT_TRUE(Has(ch.Report, "Kestro ended prematurely due to runtime error number RUN00010\n"));
        for (int it = 1; it <= 5; ++it)
            EXPECT_EQ(CountOf(ch.Report, "Iteration " + std::to_string(it) + ",    Y(top) = "), 1);
        EXPECT_EQ(Has(ch.Report, "Output Summary for Load Case No. 1:"), type == 4);
        EXPECT_EQ(CountOf(ch.Plot, "Line 10("), type == 4 ? 101 : 0);
        EXPECT_FALSE(Has(ch.Messages, "Analysis Case 2,"));
        // A case that ran out of iterations is never announced as converged.
        EXPECT_FALSE(Has(ch.Messages, "Convergence Criteria Met"));
    }
}

// With MaxIterations = 6 a case converges at its sixth solution and the
// report lists iterations 2 to 6; the message file lists all six.
TEST(LoadCases, LastFiveIterationsAreListedInTheReport) {
    CapturedChannels ch;
    SetElasticPileProblem(Lp, EIp);
    Problem.Options.MaxIterations = 6;
    AddLoadCase(1, 1000.0, 0.0, 0.0);
    RunLoadCases();
    ch.Close();
    ASSERT_FALSE(Failed());
    EXPECT_FALSE(Has(ch.Report, "Iteration 1,"));
    EXPECT_TRUE(Has(ch.Report, "Iteration 2,    Y(top) =       0.0009, dYmax =       0.0000\n"));
    EXPECT_TRUE(Has(ch.Report, "Iteration 6,"));
    EXPECT_TRUE(Has(ch.Messages, "Analysis Case 1,   Iteration 1,    Y(top) =       0.0009, dYmax =       0.0009\n"));
    EXPECT_TRUE(Has(ch.Messages, "Analysis Case 1,   Iteration 6,    Y(top) =       0.0009, dYmax =       0.0000\n"
                                 "Convergence Criteria Met\n"));
}

// A solution that is not a number ends the run with Computation Error 28
// (the axial load makes the tip pivot zero), keeping case 1's output.
TEST(LoadCases, NotANumberEndsWithComputationError28) {
    CapturedChannels ch;
    SetElasticPileProblem(Lp, EIp);
    AddLoadCase(1, 1000.0, 0.0, 0.0);
    const double h = Lp / 100.0;
    // d(N) = k h^4 + 2 EI - 2 Q h^2 = 0
    AddLoadCase(1, 1000.0, 0.0, (kInit * h * h * h * h + 2.0 * EIp) / (2.0 * h * h));
    RunLoadCases();
    const int error = kestro::Run.ErrorNumber;
    ch.Close();
    EXPECT_EQ(error, 228);
    EXPECT_TRUE(Has(ch.Report, "**** COMPUTATION ERROR 28 ****\n"
                               "Either top deflection or DYMAX is not a number after iteration 1\n"));
    EXPECT_TRUE(Has(ch.Report, "Output Summary for Load Case No. 1:"));
    EXPECT_EQ(CountOf(ch.Plot, "Line 10("), 101);
    EXPECT_FALSE(Has(ch.Messages, "Analysis Case 2,"));
}

// ---------------------------------------------------------------- soil layers

namespace {
// One elastic subgrade layer from the head to below the tip: k = Esub b.
void AddElasticSubgradeLayer(double top, double bottom, double esub) {
    ProblemData& P = Problem;
    const int k = ++P.NumLayers;
    P.Layers[U(k)] = {SoilElasticSubgrade, top, bottom};
    P.NumSoilPoints = 2 * k;
    P.SoilPoints[U(2 * k - 1)].Depth = top;
    P.SoilPoints[U(2 * k - 1)].ElasticSubgrade = esub;
    P.SoilPoints[U(2 * k)].Depth = bottom;
    P.SoilPoints[U(2 * k)].ElasticSubgrade = esub;
}
}  // namespace

// Beam on elastic foundation through the elastic subgrade criterion: the
// soil update replaces the initial modulus by Esub b.
TEST(LoadCases, ElasticSubgradeLayerMatchesBeamOnElasticFoundation) {
    const double b = 24.0, esub = 200.0, k = esub * b;   // k = 4800 lb/in^2
    const double l = std::pow(k / (4.0 * EIp), 0.25);
    CapturedChannels ch;
    SetElasticPileProblem(10.0 / l, EIp, b);
    AddElasticSubgradeLayer(0.0, 20.0 / l, esub);
    AddLoadCase(1, 5000.0, 0.0, 0.0);
    RunCases(ch);
    ASSERT_FALSE(Failed()) << ch.Report;
    EXPECT_DOUBLE_EQ(Pile.Es[St(50)], k);
    const double y0 = 2.0 * 5000.0 * l / k;
    const double err = Pile.Summary[1].HeadDeflection / y0 - 1.0;
    std::printf("elastic subgrade layer: head deflection error %.2e\n", err);
    EXPECT_LT(std::fabs(err), 0.01);
    EXPECT_EQ(Pile.Summary[1].Iterations, 6);
}

// Printed p-y curves at user depths: curves for the depths in the soil, the
// short record for a depth below the tip, stations restored afterwards.
TEST(PyCurvesAtDepths, PrintsCurvesAndRestoresStations) {
    CapturedChannels ch;
    SetElasticPileProblem(400.0, EIp);
    AddElasticSubgradeLayer(0.0, 500.0, 100.0);
    Problem.NumPrintedPyDepths = 3;
    Problem.PrintedPyDepth[1] = 120.0;
    Problem.PrintedPyDepth[2] = 0.0;     // at the ground surface: accepted
    Problem.PrintedPyDepth[3] = 450.0;   // below the tip
    AddLoadCase(1, 1000.0, 0.0, 0.0);
    RunCases(ch);
    ASSERT_FALSE(Failed()) << ch.Report;
    EXPECT_TRUE(Has(ch.Messages, "Convergence Criteria Met\nComputing p-y curves for output at user-specified depths.\n"));
    EXPECT_TRUE(Has(ch.Report, std::string(80, '-') + "\n                    p-y Curves Reported for Specified Depths\n"));
    const auto line6 = LinesWith(ch.Plot, "Line 6 ");
    ASSERT_EQ(line6.size(), 1u);
    EXPECT_EQ(line6[0].substr(0, 5), "    3");
    EXPECT_EQ(CountOf(ch.Plot, "Line 7:  p-y curve depth in elastic subgrade soil"), 2);
    EXPECT_EQ(CountOf(ch.Plot, "Line 8("), 34);
    const auto shortLine7 = LinesWith(ch.Plot, "Line 7:  p-y curve depth, no. p-y points");
    ASSERT_EQ(shortLine7.size(), 1u);
    EXPECT_EQ(shortLine7[0], "  4.5000000E+02    0" + std::string(60, ' ') + "Line 7:  p-y curve depth, no. p-y points");
    // Curves come before the case's results; the stations are the pile's again.
    EXPECT_LT(ch.Plot.find("Line 8("), ch.Plot.find("Line 9:"));
    EXPECT_EQ(CountOf(ch.Plot, "Line 10("), 101);
    EXPECT_DOUBLE_EQ(Pile.x[St(2)], 4.0);
    EXPECT_EQ(Pile.FirstStation[1], 1);
    EXPECT_EQ(Pile.LastStation[1], 101);
}

// A depth above the ground surface: the non-fatal Input Data Error 23, no
// curves, and the load cases go on.
TEST(PyCurvesAtDepths, DepthAboveGroundIsReportedAndTheRunGoesOn) {
    CapturedChannels ch;
    SetElasticPileProblem(400.0, EIp);
    Problem.GroundDepth = 24.0;
    AddElasticSubgradeLayer(24.0, 500.0, 100.0);
    Problem.NumPrintedPyDepths = 3;
    Problem.PrintedPyDepth[1] = 48.0;
    Problem.PrintedPyDepth[2] = 12.0;    // above the ground: reported
    Problem.PrintedPyDepth[3] = 6.0;     // also above, not reported
    AddLoadCase(1, 1000.0, 0.0, 0.0);
    AddLoadCase(1, 2000.0, 0.0, 0.0);
    RunCases(ch);
    ASSERT_FALSE(Failed()) << ch.Report;
    const std::string block = "**** Input Data Error No. 23 (NON-FATAL) ****\n"
                              "p-y curves cannot be generated at depth number 2\n"
                              "This location is    12.000 in  below the pile head and \n"
                              "is above the ground surface for this problem.\n"
                              "The ground surface is    24.000 in  below the top of the pile.\n";
    EXPECT_TRUE(Has(ch.Report, block));
    EXPECT_TRUE(Has(ch.Messages, block));
    EXPECT_FALSE(Has(ch.Report, "depth number 3"));
    EXPECT_EQ(CountOf(ch.Plot, "Line 8("), 0);
    EXPECT_EQ(LinesWith(ch.Plot, "Line 7:")[0].substr(0, 20), "  1.2000000E+01    0");
    EXPECT_TRUE(Has(ch.Report, "Output Summary for Load Case No. 2:"));
    EXPECT_EQ(Pile.NumStations, 101);
}

// A realistic nonlinear case: a steel pipe in soft clay under increasing
// head shear. The iteration converges, the soil reactions balance the head
// shear, and the head deflection grows faster than the load (softening soil).
TEST(LoadCases, SoftClayPileIsInEquilibrium) {
    CapturedChannels ch;
    SetElasticPileProblem(720.0, 5.8E10, 24.0, 36.0);
    ProblemData& P = Problem;
    P.NumLayers = 1;
    P.Layers[1] = {SoilSoftClay, 0.0, 840.0};
    P.NumSoilPoints = 2;
    for (int p = 1; p <= 2; ++p) {
        SoilPoint& s = P.SoilPoints[U(p)];
        s.Depth = p == 1 ? 0.0 : 840.0;
        s.Cohesion = p == 1 ? 3.0 : 10.0;
        s.UnitWeight = 60.0 / 1728.0;
        s.Epsilon50 = 0.01;
    }
    AddLoadCase(1, 10000.0, 0.0, 0.0);
    AddLoadCase(1, 40000.0, 0.0, 0.0);
    RunCases(ch);
    ASSERT_FALSE(Failed()) << ch.Report;
    double sum = 0.0;
    for (int i = 1; i <= Pile.NumStations; ++i)
        sum += Pile.SoilReaction[St(i)] * Pile.Spacing * ((i == 1 || i == Pile.NumStations) ? 0.5 : 1.0);
    EXPECT_NEAR(sum, -40000.0, 400.0);
    EXPECT_NEAR(Pile.Shear[St(1)], 40000.0, 1e-6 * 40000.0);
    EXPECT_GT(Pile.Summary[1].Iterations, 6);
    EXPECT_GT(Pile.Summary[2].HeadDeflection, 4.0 * Pile.Summary[1].HeadDeflection);
    EXPECT_TRUE(Has(ch.Report, "Output Verification: Computed forces and moments are within specified"));
}

// Summary tables only: no results page, but the plot records and the summary.
TEST(LoadCases, SummaryOnlyKeepsPlotRecordsAndSummary) {
    CapturedChannels ch;
    SetElasticPileProblem(Lp, EIp);
    Problem.Options.PrintSummaryOnly = true;
    AddLoadCase(1, 1000.0, 0.0, 0.0);
    RunCases(ch);
    ASSERT_FALSE(Failed());
    EXPECT_FALSE(Has(ch.Report, "Computed Values of Pile Loading and Deflection"));
    EXPECT_FALSE(Has(ch.Report, "Output Summary for Load Case"));
    EXPECT_FALSE(Has(ch.Report, "Output Verification"));
    EXPECT_TRUE(Has(ch.Report, "Summary of Pile Response(s)"));
    EXPECT_EQ(CountOf(ch.Plot, "Line 9:"), 1);
    EXPECT_EQ(CountOf(ch.Plot, "Line 10("), 101);
    EXPECT_EQ(CountOf(ch.Plot, "Line 13:"), 1);
}

// Zero-deflection points: sign changes between stations, including the one
// between the tip and the extrapolated station below it.
TEST(StationResultsTest, ZeroDeflectionPoints) {
    ResetPileModel();
    Pile.NumStations = 5;
    const double y[] = {1.0, 0.5, 0.0, -0.5, -0.2, 0.1};   // stations 1..N+1
    for (int i = 1; i <= 6; ++i) Pile.y[St(i)] = y[i - 1];
    EXPECT_EQ(CountZeroDeflectionPoints(), 1);   // 0.0 is no sign: only -0.2 -> 0.1 at the tip counts
    Pile.y[St(3)] = -0.1;
    EXPECT_EQ(CountZeroDeflectionPoints(), 2);
}

// ---------------------------------------------------------------- LRFD

// LRFD: every combination is a shear and moment case with its factored head
// loads and distributed loads; the per-type distributed load tables.
TEST(LoadCases, LrfdCombinationsAreFactoredCases) {
    CapturedChannels ch;
    SetElasticPileProblem(Lp, EIp);
    ProblemData& P = Problem;
    P.Options.UseLRFD = true;
    P.NumLrfdGroups = 2;
    P.LrfdGroups[1].LrfdLoadType = 1;   // dead
    P.LrfdGroups[1].GroupHorizontalForce = 1000.0;
    P.LrfdGroups[1].GroupMoment = 5000.0;
    P.LrfdGroups[1].GroupAxialForce = 20000.0;
    P.LrfdGroups[2].LrfdLoadType = 5;   // wind: 10 lb/in over the top 40 in
    P.LrfdGroups[2].GroupHorizontalForce = 2000.0;
    P.LrfdGroups[2].NumDistributedPoints = 2;
    P.LrfdGroups[2].DistDepth[1] = 0.0;
    P.LrfdGroups[2].DistLoad[1] = 10.0;
    P.LrfdGroups[2].DistDepth[2] = 40.0;
    P.LrfdGroups[2].DistLoad[2] = 10.0;
    P.NumLrfdCombinations = 2;
    P.LrfdCombinations[1].Factor[1] = 1.25;
    P.LrfdCombinations[1].Factor[5] = 1.0;
    P.LrfdCombinations[1].CombinationName.Set("Strength I");
    P.LrfdCombinations[2].Factor[1] = 0.9;
    P.LrfdCombinations[2].Factor[5] = 1.4;
    P.LrfdCombinations[2].CombinationName.Set("Strength III");
    P.LrfdCombinations[1].FlexureResistanceFactor = 0.9;
    P.LrfdCombinations[2].FlexureResistanceFactor = 0.9;
    // Nominal moment capacity 60 kip-in: factored 54000 in-lb, between the
    // maximum moments of the two combinations (about 53100 and 59000 in-lb).
    EITableToWrite(1).NumThrusts = 1;
    EITableToWrite(1).NumPoints[1] = 1;
    EITableToWrite(1).NominalMomentCapacity[1] = 60.0;
    RunCases(ch);
    ASSERT_FALSE(Failed()) << ch.Report;
    EXPECT_EQ(Pile.NumSummaryCases, 2);
    EXPECT_DOUBLE_EQ(Pile.Summary[1].Condition1, 1.25 * 1000.0 + 2000.0);
    EXPECT_DOUBLE_EQ(Pile.Summary[1].Condition2, 1.25 * 5000.0);
    EXPECT_DOUBLE_EQ(Pile.Summary[2].AxialLoad, 0.9 * 20000.0);
    // Combination 2's station loads: 1.4 x 10 lb/in down to 40 in.
    const double h = Pile.Spacing;
    EXPECT_DOUBLE_EQ(Pile.W[St(1)], 1.4 * 10.0 * 0.5);
    EXPECT_DOUBLE_EQ(Pile.W[St(2)], 1.4 * 10.0);
    // Lateral equilibrium: soil reactions balance head shear plus distributed load.
    double soil = 0.0;
    for (int i = 1; i <= Pile.NumStations; ++i)
        soil += Pile.SoilReaction[St(i)] * h * ((i == 1 || i == Pile.NumStations) ? 0.5 : 1.0);
    EXPECT_NEAR(soil, -(0.9 * 1000.0 + 1.4 * 2000.0 + 1.4 * 10.0 * 40.0), 0.01 * 4000.0);
    EXPECT_TRUE(Has(ch.Report, "                 for Lateral Loading for LRFD Load Case Number 2\n" +
                                   std::string(80, '-') + "\n\nLoad Case No. 2:  Strength III\n\n"));
    EXPECT_TRUE(Has(ch.Report, "\nDistributed Lateral Loads for LRFD:\n-----------------------------------\n\n"
                               "Sums of Distributed Lateral Load Per Unit Length due to Wind Loads                    \n"
                               "   Depth     Distributed Load\n    in           lb/in\n----------   ----------------\n"));
    EXPECT_EQ(CountOf(ch.Report, "due to Dead Loads"), 0);   // no distributed dead load
    EXPECT_TRUE(Has(ch.Report, "Load  Load      Pile-head     Pile-head         Axial"));
    EXPECT_EQ(CountOf(ch.Plot, "Line 11: Num. points on Ytop vs. Length curve for LRFD load case "), 2);
    EXPECT_TRUE(Has(ch.Plot, "    2  101    1" + std::string(65, ' ') + "Line 9:"));
    // Performance table: combination 1 passes, combination 2 fails.
    EXPECT_GT(std::fabs(Pile.Summary[1].SectionMaxMoment[1]), 0.0);
    EXPECT_LT(Pile.Summary[1].SectionMaxMoment[1], 0.9 * 60000.0);
    EXPECT_GT(Pile.Summary[2].SectionMaxMoment[1], 0.9 * 60000.0);
    EXPECT_TRUE(Has(ch.Report, "                   LRFD Performance by Load Case Combination\n"));
    const auto pass = LinesWith(ch.Report, "    Pass     ");
    const auto fail = LinesWith(ch.Report, "  > FAIL <   ");
    ASSERT_EQ(pass.size(), 1u);
    ASSERT_EQ(fail.size(), 1u);
    EXPECT_EQ(pass[0].substr(0, 19), "    1    1    0.900");
    EXPECT_EQ(pass[0].substr(pass[0].size() - 12), "  Strength I");
    EXPECT_EQ(fail[0].substr(fail[0].size() - 14), "  Strength III");
    EXPECT_TRUE(Has(fail[0], "         54000.         58963.      1.0919  > FAIL <   ")) << fail[0];
    EXPECT_TRUE(Has(ch.Report, "\n1 LRFD load combinations have failed.\n"));
    // The failed combination raises the LRFD failure warning, whose text the
    // summary of warnings prints.
    EXPECT_EQ(kestro::Warnings.WarningCount[400], 1);
    std::ostringstream summary;
    kestro::WriteWarningSummary(summary);
    EXPECT_TRUE(Has(summary.str(),
                    "The following warning was reported 1 times\n\n"
                    "**** Warning - Failure for One or More LRFD Load Cases ****\n\n"
                    "This warning message is provided to alert the user that one or more of \n"
                    "LRFD load cases has overloaded the structural capacity of the pile.\n"))
        << summary.str();
}

// ---------------------------------------------------------------- EI update

// Between two thrusts the EI is interpolated linearly in the axial load:
// EI = EI' - (EI' - EI)(thrust(j+1) - Q)/(thrust(j+1) - thrust(j)).
TEST(BendingStiffness, InterpolatesBetweenThrusts) {
    SetBilinearTable();
    Problem.NumAxialThrusts = 2;
    Problem.AxialThrusts[1] = 0.0;
    Problem.AxialThrusts[2] = 100.0;   // kips
    NonlinearEITable& T = EITableToWrite(1);
    T.NumPoints[2] = 3;
    for (int p = 1; p <= 3; ++p) {      // the second curve carries twice the moment
        T.Moment[2][U(p)] = 2.0 * T.Moment[1][U(p)];
        T.Curvature[2][U(p)] = T.Curvature[1][U(p)];
        T.EI[2][U(p)] = 2.0 * T.EI[1][U(p)];
    }
    SetCurvature(0.03);
    Pile.EI[St(50)] = 1.0E6;              // moment 1.0E6 x 0.03 = 30 kip-in: on both curves' plateau
    const double ei1 = 10.0 / 0.03 * 1000.0, ei2 = 20.0 / 0.03 * 1000.0;
    UpdateBendingStiffness(1, 25.0);      // Q = 25 kips
    EXPECT_NEAR(Pile.EI[St(50)], ei2 - (ei2 - ei1) * (100.0 - 25.0) / 100.0, 1e-6);
    // Station 3 takes the stiffness of station 2 after every update.
    EXPECT_DOUBLE_EQ(Pile.EI[St(3)], Pile.EI[St(2)]);
}

// A section with user-defined curves interpolates between its own thrusts,
// whatever the run's thrust list holds.
TEST(BendingStiffness, UserCurvesUseTheirOwnThrusts) {
    SetBilinearTable();
    Problem.Sections[1].SectionType = SecUserDefinedEI;
    Problem.NumAxialThrusts = 1;
    Problem.AxialThrusts[1] = 25.0;       // the load case's own thrust
    NonlinearEITable& T = EITableToWrite(1);
    T.NumThrusts = 2;
    T.Thrust[1] = 0.0;
    T.Thrust[2] = 100.0;
    T.NumPoints[2] = 3;
    for (int p = 1; p <= 3; ++p) {
        T.Moment[2][U(p)] = 2.0 * T.Moment[1][U(p)];
        T.Curvature[2][U(p)] = T.Curvature[1][U(p)];
        T.EI[2][U(p)] = 2.0 * T.EI[1][U(p)];
    }
    SetCurvature(0.03);
    Pile.EI[St(50)] = 1.0E6;
    const double ei1 = 10.0 / 0.03 * 1000.0, ei2 = 20.0 / 0.03 * 1000.0;
    UpdateBendingStiffness(1, 25.0);
    EXPECT_NEAR(Pile.EI[St(50)], ei2 - (ei2 - ei1) * (100.0 - 25.0) / 100.0, 1e-6);
    // Beyond its last thrust the last curve applies.
    SetCurvature(0.03);
    Pile.EI[St(50)] = 1.0E6;
    UpdateBendingStiffness(1, 150.0);
    EXPECT_NEAR(Pile.EI[St(50)], ei2, 1e-6);
}

// Elastic section with a specified moment capacity: once the moment reaches
// Mp, EI = Mp / |curvature|; below it the elastic EI.
TEST(BendingStiffness, ElasticPlasticSection) {
    SetElasticPileProblem(400.0, 1.0E6);
    Problem.Sections[1].SectionType = SecElasticWithCapacity;
    EITableToWrite(1).NumPoints[1] = 1;
    EITableToWrite(1).PlasticMoment = 20.0;     // kip-in
    BuildStations(400.0);
    AssignSections();
    // The station's current EI is 2E6 lb-in^2 (moment = 2E6 x curvature); the
    // elastic EI of the section is 1E6.
    struct Case { double phi, expected; } cases[] = {
        {0.0099, 1.0E6},                    // M = 19.8 kip-in < Mp: elastic
        {0.01, 20.0 / 0.01 * 1000.0},       // M = Mp: plastic, Mp / curvature
        {0.05, 20.0 / 0.05 * 1000.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phi);
        Pile.EI[St(50)] = 2.0E6;
        SetCurvature(c.phi);
        UpdateBendingStiffness(1, 0.0);
        EXPECT_NEAR(Pile.EI[St(50)], c.expected, 1e-6 * c.expected);
    }
}

// The largest grid (500 increments, 501 stations) runs through the whole
// iteration and report without leaving the station arrays.
TEST(LoadCases, LargestStationGrid) {
    CapturedChannels ch;
    SetElasticPileProblem(Lp, EIp, 24.0, 100.0, 500);
    AddLoadCase(1, 10000.0, 0.0, 0.0);
    AddLoadCase(5, 0.01, 0.0, 0.0);
    RunCases(ch);
    ASSERT_FALSE(Failed());
    EXPECT_EQ(Pile.NumStations, 501);
    EXPECT_EQ(CountOf(ch.Plot, "Line 10("), 1002);
    EXPECT_NEAR(Pile.Summary[1].HeadDeflection / (2 * 10000.0 * LambdaP / kInit), 1.0, 2e-4);
}

// ---------------------------------------------------------------- robustness

// Degenerate models end normally or with an error, never with a crash or a
// write outside the station arrays (the sanitizer build checks the latter).
TEST(LoadCases, DegenerateModelsNeverCrash) {
    struct Case {
        const char* Name;
        void (*Setup)();
        int ErrorNumber;   // -1: any outcome accepted
    } cases[] = {
        {"zero_stiffness", [] { Problem.PropertyTable[1].Modulus = Problem.PropertyTable[2].Modulus = 0.0; }, 228},
        {"nan_stiffness", [] { Problem.PropertyTable[1].Modulus = std::nan(""); }, 228},
        {"no_property_rows", [] { Problem.NumPropertyRows = 0; }, 228},
        {"tiny_pile", [] { Problem.PileLength = 1.0E-6; }, -1},
        {"huge_load", [] { Problem.LoadCases[1].Condition1 = 1.0E300; }, -1},
        {"four_increments", [] { Problem.Options.NumIncrements = 4; }, -1},
        {"too_many_increments", [] { Problem.Options.NumIncrements = 501; }, 230},
        {"zero_print_increment", [] { Problem.Options.PrintIncrement = 0; }, 0},
        {"too_many_depths", [] {
             Problem.NumPrintedPyDepths = 1000;
             for (auto& d : Problem.PrintedPyDepth) d = 1.0E9;
         }, 0},
        {"too_many_cases", [] { Problem.NumLoadCases = 1000; }, 0},
        {"ground_below_tip", [] { Problem.GroundDepth = 1.0E9; }, -1},
        {"negative_tolerance", [] { Problem.Options.ConvergenceTolerance = -1.0; }, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CapturedChannels ch;
        SetElasticPileProblem(Lp, EIp);
        AddLoadCase(1, 1000.0, 0.0, 0.0);
        c.Setup();
        RunCases(ch);
        if (c.ErrorNumber >= 0) {
            EXPECT_EQ(kestro::Run.ErrorNumber, c.ErrorNumber) << ch.Report.substr(0, 2000);
        }
    }
}

// Every solution is held to the excess deflection limit, also one that has
// converged before the 11th solution. Without soil layers every station keeps
// the initial modulus, so all solutions give the same head deflection y0: a
// limit just above y0 lets the case end normally, one just below stops the
// run at the first solution with nothing reported as a result.
TEST(LoadCases, DeflectionLimitHoldsForEverySolution) {
    double y0 = 0.0;
    {
        CapturedChannels ch;
        SetElasticPileProblem(Lp, EIp);
        Problem.Options.ExcessDeflectionLimit = 1.0;
        AddLoadCase(1, 1000.0, 0.0, 0.0);
        RunCases(ch);
        ASSERT_FALSE(Failed()) << ch.Report;
        y0 = std::fabs(Pile.Summary[1].HeadDeflection);
        // Long pile on an elastic foundation: y0 = 2 V lambda / k.
        EXPECT_NEAR(y0, 2.0 * 1000.0 * LambdaP / kInit, 0.01 * y0);
    }
    struct Case { double Factor; int Error; int Solutions; } cases[] = {{1.0 + 1e-9, 0, 6}, {1.0 - 1e-9, 209, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Factor);
        CapturedChannels ch;
        SetElasticPileProblem(Lp, EIp);
        Problem.Options.ExcessDeflectionLimit = y0 * c.Factor;
        AddLoadCase(1, 1000.0, 0.0, 0.0);
        RunCases(ch);
        EXPECT_EQ(kestro::Run.ErrorNumber, c.Error) << ch.Report;
        EXPECT_EQ(CountOf(ch.Messages, "Analysis Case 1,"), c.Solutions);
        EXPECT_EQ(Has(ch.Report, "Output Summary for Load Case No. 1:"), c.Error == 0);
        EXPECT_EQ(Has(ch.Messages, "Convergence Criteria Met"), c.Error == 0);
    }
}

// Stations above the ground surface start and stay without soil spring.
TEST(LoadCases, StationsAboveGroundHaveNoSpring) {
    CapturedChannels ch;
    SetElasticPileProblem(Lp, EIp);
    Problem.GroundDepth = 40.0;
    AddElasticSubgradeLayer(40.0, 2.0 * Lp, 100.0);
    AddLoadCase(1, 1000.0, 0.0, 0.0);
    RunCases(ch);
    ASSERT_FALSE(Failed()) << ch.Report;
    for (int i = 1; i <= Pile.NumStations; ++i) {
        if (Pile.xv[St(i)] < 40.0)
            EXPECT_EQ(Pile.Es[St(i)], 0.0) << i;
        else
            EXPECT_DOUBLE_EQ(Pile.Es[St(i)], 100.0 * 24.0) << i;
    }
}

// A run empties only the EI tables and user curve slots written since the
// last reset; every one of them must come back empty, however many runs
// wrote which ones, or a curve of one run would reach the next.
TEST(StoreReset, EmptiesEveryWrittenTableAndUserCurveSlot) {
    ResetEITables();
    ResetProblemData();
    for (const std::vector<int>& written : {std::vector<int>{1}, {3, MaxEISections}, {1, 2, 3}, {MaxEISections}}) {
        for (int s : written) {
            NonlinearEITable& T = EITableToWrite(s);
            T.NumThrusts = 2;
            T.Moment[2][7] = 1.5;
            T.PlasticMoment = 3.0;
            UserEIToWrite(s).EI[1][1] = 2.0E9;
        }
        ResetEITables();
        ResetProblemData();
        for (int s = 1; s <= MaxEISections; ++s) {
            const auto k = static_cast<std::size_t>(s);
            EXPECT_EQ(EITables[k].NumThrusts, 0) << s;
            EXPECT_EQ(EITables[k].Moment[2][7], 0.0) << s;
            EXPECT_EQ(EITables[k].PlasticMoment, 0.0) << s;
            EXPECT_EQ(UserEI[k].EI[1][1], 0.0) << s;
        }
    }
}
