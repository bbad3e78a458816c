// The finite-difference solver against closed forms of beam theory:
// Hetenyi's semi-infinite beam on elastic foundation and the cantilever.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "PileTestSupport.h"
#include "analysis/Solver.h"
#include "analysis/StationResults.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"

using namespace kestro;

namespace {

// Uniform pile of n increments over length L with constant EI, Es and w.
void SetUniformPile(int n, double L, double EI, double Es, double w) {
    ResetPileModel();
    ResetProblemData();
    Run.ErrorNumber = 0;
    Pile.NumStations = n + 1;
    Pile.Length = L;
    Pile.Spacing = L / n;
    for (int i = 1; i <= n + 1; ++i) {
        Pile.x[St(i)] = (i - 1) * Pile.Spacing;
        Pile.EI[St(i)] = EI;
        Pile.Es[St(i)] = Es;
        Pile.W[St(i)] = w;
    }
}

double HeadMoment() {
    const double h = Pile.Spacing;
    return Pile.EI[St(2)] * (Pile.y[St(2)] - 2.0 * Pile.y[St(1)] + Pile.y[St(0)]) / (h * h);
}
double Head(int i) { return Pile.y[St(i)]; }
double HeadSlope() { return (Pile.y[St(2)] - Pile.y[St(0)]) / (2.0 * Pile.Spacing); }
double MaxAbsMoment() {
    double m = 0.0;
    const double h = Pile.Spacing;
    for (int i = 1; i < Pile.NumStations; ++i) {
        const double Mi = Pile.EI[St(i)] * (Pile.y[St(i + 1)] - 2.0 * Pile.y[St(i)] + Pile.y[St(i - 1)]) / (h * h);
        m = std::max(m, std::fabs(Mi));
    }
    return m;
}

// Beam on elastic foundation: EI = 1e10 lb-in^2, k = 1000 lb/in^2, lambda L = 10.
constexpr double EIb = 1.0E10, kb = 1000.0;
const double Lambda = std::pow(kb / (4.0 * EIb), 0.25);
const double Lb = 10.0 / Lambda;

struct BefErrors {
    double Deflection, Slope, Moment;
};

BefErrors HeadShearErrors(int n, double P) {
    SetUniformPile(n, Lb, EIb, kb, 0.0);
    Pile.LoadType = 1;
    Pile.HeadShear = P;
    Pile.HeadMoment = 0.0;
    SolvePile();
    // Hetenyi: y0 = 2 P lambda / k, slope -2 P lambda^2 / k, Mmax = P/lambda e^(-pi/4) sin(pi/4)
    const double y0 = 2.0 * P * Lambda / kb;
    const double s0 = -2.0 * P * Lambda * Lambda / kb;
    const double mmax = P / Lambda * std::exp(-M_PI / 4.0) * std::sin(M_PI / 4.0);
    return {std::fabs(Pile.y[St(1)] / y0 - 1.0), std::fabs(HeadSlope() / s0 - 1.0),
            std::fabs(MaxAbsMoment() / mmax - 1.0)};
}

BefErrors HeadMomentErrors(int n, double M0) {
    SetUniformPile(n, Lb, EIb, kb, 0.0);
    Pile.LoadType = 1;
    Pile.HeadShear = 0.0;
    Pile.HeadMoment = M0;
    SolvePile();
    // Hetenyi: y0 = 2 M0 lambda^2 / k, slope -4 M0 lambda^3 / k, Mmax = M0 at the head
    const double y0 = 2.0 * M0 * Lambda * Lambda / kb;
    const double s0 = -4.0 * M0 * std::pow(Lambda, 3) / kb;
    return {std::fabs(Pile.y[St(1)] / y0 - 1.0), std::fabs(HeadSlope() / s0 - 1.0),
            std::fabs(MaxAbsMoment() / M0 - 1.0)};
}

}  // namespace

TEST(Solver, BeamOnElasticFoundationHeadShear) {
    std::vector<BefErrors> e;
    for (int n : {50, 100, 200, 400}) {
        e.push_back(HeadShearErrors(n, 1000.0));
        std::printf("shear  n=%3d  dy=%.3e  dslope=%.3e  dM=%.3e\n", n, e.back().Deflection, e.back().Slope,
                    e.back().Moment);
    }
    EXPECT_LT(e[1].Deflection, 0.01);
    EXPECT_LT(e[1].Slope, 0.01);
    EXPECT_LT(e[1].Moment, 0.01);
    for (std::size_t i = 1; i < e.size(); ++i) {
        EXPECT_LT(e[i].Deflection, e[i - 1].Deflection);
        EXPECT_LT(e[i].Slope, e[i - 1].Slope);
        EXPECT_LT(e[i].Moment, e[i - 1].Moment);
    }
}

TEST(Solver, BeamOnElasticFoundationHeadMoment) {
    std::vector<BefErrors> e;
    for (int n : {50, 100, 200, 400}) {
        e.push_back(HeadMomentErrors(n, 1.0E5));
        std::printf("moment n=%3d  dy=%.3e  dslope=%.3e  dM=%.3e\n", n, e.back().Deflection, e.back().Slope,
                    e.back().Moment);
    }
    EXPECT_LT(e[1].Deflection, 0.01);
    EXPECT_LT(e[1].Slope, 0.01);
    EXPECT_LT(e[1].Moment, 0.01);
    for (std::size_t i = 1; i < e.size(); ++i) {
        EXPECT_LT(e[i].Deflection, e[i - 1].Deflection);
        EXPECT_LT(e[i].Slope, e[i - 1].Slope);
    }
}

// Cantilever, head fixed (load type 5 with zero deflection and slope), no
// soil, uniform load w: tip deflection w L^4 / 8EI, head moment w L^2 / 2.
TEST(Solver, CantileverUnderUniformLoad) {
    const double L = 240.0, EI = 2.0E9, w = 10.0;
    SetUniformPile(100, L, EI, 0.0, w);
    Pile.LoadType = 5;
    Pile.HeadDeflection = 0.0;
    Pile.HeadSlope = 0.0;
    SolvePile();
    ASSERT_FALSE(Failed());
    const double tip = w * std::pow(L, 4) / (8.0 * EI);
    const double m0 = w * L * L / 2.0;
    const double eTip = std::fabs(Head(101) / tip - 1.0);
    const double eM = std::fabs(HeadMoment() / m0 - 1.0);
    std::printf("cantilever uniform load: tip error %.3e, head moment error %.3e\n", eTip, eM);
    EXPECT_LT(eTip, 0.005);
    EXPECT_LT(eM, 0.005);
    EXPECT_DOUBLE_EQ(Head(1), 0.0);
    EXPECT_NEAR(HeadSlope(), 0.0, 1e-15);
}

// Cantilever with a point load at its free end, applied as a constant tip
// shear force: tip deflection P L^3 / 3EI.
TEST(Solver, CantileverUnderTipShear) {
    const double L = 240.0, EI = 2.0E9, P = 1000.0;
    SetUniformPile(100, L, EI, 0.0, 0.0);
    Problem.Options.UseTipShear = true;
    Problem.NumTipShearPoints = 2;
    Problem.TipDisplacement[1] = 0.0;
    Problem.TipShearForce[1] = P;
    Problem.TipDisplacement[2] = 1.0E6;
    Problem.TipShearForce[2] = P;
    Pile.LoadType = 5;
    SolvePile();
    ASSERT_FALSE(Failed());
    EXPECT_DOUBLE_EQ(Pile.TipShear, P);
    const double tip = P * std::pow(L, 3) / (3.0 * EI);
    const double e = std::fabs(std::fabs(Head(101)) / tip - 1.0);
    std::printf("cantilever tip load: tip error %.3e\n", e);
    EXPECT_LT(e, 0.005);
}

// The head rows of load types 2 to 5 hold their two conditions exactly.
TEST(Solver, HeadConditionsOfEveryLoadType) {
    const double h = Lb / 100;
    struct Case { int Type; double V, M, S, K, Y; } cases[] = {
        {2, 500.0, 0.0, 0.002, 0.0, 0.0},
        {3, 500.0, 0.0, 0.0, 3.0E8, 0.0},
        {4, 0.0, 2.0E4, 0.0, 0.0, 0.25},
        {5, 0.0, 0.0, -0.001, 0.0, 0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Type);
        SetUniformPile(100, Lb, EIb, kb, 0.0);
        Pile.LoadType = c.Type;
        Pile.HeadShear = c.V;
        Pile.HeadMoment = c.M;
        Pile.HeadSlope = c.S;
        Pile.HeadRotationalStiffness = c.K;
        Pile.HeadDeflection = c.Y;
        SolvePile();
        ASSERT_FALSE(Failed());
        const double slope = (Head(2) - Head(0)) / (2 * h);
        const double moment = EIb * (Head(2) - 2 * Head(1) + Head(0)) / (h * h);
        const double shear = EIb * (Head(3) - 2 * Head(2) + 2 * Head(0) - Head(-1)) / (2 * h * h * h);
        switch (c.Type) {
            case 2: EXPECT_NEAR(slope, c.S, 1e-12); EXPECT_NEAR(shear, c.V, 1e-6 * c.V); break;
            case 3: EXPECT_NEAR(moment, c.K * slope, 1e-6 * std::fabs(moment)); EXPECT_NEAR(shear, c.V, 1e-6 * c.V); break;
            case 4: EXPECT_DOUBLE_EQ(Head(1), c.Y); EXPECT_NEAR(moment, c.M, 1e-6 * c.M); break;
            case 5: EXPECT_DOUBLE_EQ(Head(1), c.Y); EXPECT_NEAR(slope, c.S, 1e-12); break;
        }
    }
}

// Load type 5 places the head at the deflection plus the soil movement there.
TEST(Solver, LoadType5AddsHeadSoilMovement) {
    SetUniformPile(100, Lb, EIb, kb, 0.0);
    Pile.LoadType = 5;
    Pile.HeadDeflection = 0.5;
    Pile.ysm[St(1)] = 0.125;
    SolvePile();
    EXPECT_DOUBLE_EQ(Head(1), 0.625);
}

// With Q h^2 = EI the factor (2 - Q h^2 / EI) of the head shear condition is
// 1: y(3) - y(2) + y(0) - y(-1) = 2 V h^3 / EI holds in the solution.
TEST(Solver, HeadShearRowWithAxialLoad) {
    SetUniformPile(100, Lb, EIb, kb, 0.0);
    const double h = Pile.Spacing;
    Pile.AxialLoad = EIb / (h * h);
    Pile.LoadType = 1;
    Pile.HeadShear = 100.0;
    SolvePile();
    ASSERT_FALSE(Failed());
    const double expected = 2.0 * 100.0 * h * h * h / EIb;
    EXPECT_NEAR(Head(3) - Head(2) + Head(0) - Head(-1), expected, 1e-9 * std::fabs(expected));
}

// DYMAX is the largest change of deflection over stations 1..N only.
TEST(Solver, DymaxIgnoresImaginaryStations) {
    SetUniformPile(100, Lb, EIb, kb, 0.0);
    Pile.LoadType = 1;
    Pile.HeadShear = 1000.0;
    SolvePile();
    std::vector<double> old(105);
    for (int i = -1; i <= 102; ++i) old[static_cast<std::size_t>(i + 1)] = Head(i);
    Pile.y[St(-1)] += 50.0;   // no effect on the next DYMAX
    Pile.y[St(0)] -= 50.0;
    Pile.y[St(102)] += 50.0;
    Pile.HeadShear = 1500.0;
    SolvePile();
    double expected = 0.0;
    for (int i = 1; i <= 101; ++i) expected = std::max(expected, std::fabs(Head(i) - old[static_cast<std::size_t>(i + 1)]));
    EXPECT_DOUBLE_EQ(Pile.DYMAX, expected);
    EXPECT_NEAR(Pile.DYMAX, Head(1) / 3.0, 1e-12);   // linear: 1500 vs 1000
}

struct TipShearCase { const char* Name; int NumPoints; double D[3], V[3]; double yTip, previous, expected; };

class TipShearLookup : public ::testing::TestWithParam<TipShearCase> {};
TEST_P(TipShearLookup, Interpolates) {
    const TipShearCase& c = GetParam();
    ResetProblemData();
    Problem.NumTipShearPoints = c.NumPoints;
    for (int k = 1; k <= c.NumPoints; ++k) {
        Problem.TipDisplacement[static_cast<std::size_t>(k)] = c.D[k - 1];
        Problem.TipShearForce[static_cast<std::size_t>(k)] = c.V[k - 1];
    }
    EXPECT_DOUBLE_EQ(TipShearFor(c.yTip, c.previous), c.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Solver, TipShearLookup,
    ::testing::Values(TipShearCase{"none", 0, {}, {}, 0.3, 7.0, 0.0},
                      TipShearCase{"between", 3, {0.0, 0.1, 0.5}, {0.0, 100.0, 300.0}, 0.3, 0.0, 200.0},
                      TipShearCase{"negative", 3, {0.0, 0.1, 0.5}, {0.0, 100.0, 300.0}, -0.05, 0.0, -50.0},
                      TipShearCase{"beyond", 3, {0.0, 0.1, 0.5}, {0.0, 100.0, 300.0}, 0.9, 0.0, 300.0},
                      TipShearCase{"single_not_reached", 1, {0.2}, {80.0}, 0.2, 0.0, 0.0},
                      TipShearCase{"single_keeps_previous", 1, {0.2}, {80.0}, 0.1, 80.0, 80.0},
                      TipShearCase{"single_exceeded", 1, {0.2}, {80.0}, -0.2000001, 0.0, -80.0}),
    [](const auto& p) { return std::string(p.param.Name); });

// A head-system pivot below 1.0E-20 ends the run with Runtime Error 11 and
// its dumps; the deflections of the previous solution are kept. A uniform
// pile without soil or axial load, fixed in deflection and moment at the head,
// may turn freely about it: the recursion gives a(m) = 2, b(m) = 1 exactly and
// the third pivot, b(2) - 1, is exactly zero.
TEST(Solver, SmallPivotEndsWithRuntimeError11) {
    kestro::test::CapturedChannels ch;
    ResetRunState();
    SetUnitLabels(UnitsUS);
    SetUniformPile(100, Lb, EIb, 0.0, 0.0);
    for (int i = -1; i <= 102; ++i) Pile.y[St(i)] = 0.25;
    Pile.LoadType = 4;
    Pile.HeadDeflection = 1.0;
    Pile.HeadMoment = 0.0;
    SolvePile();
    ch.Close();
    ASSERT_TRUE(Failed());
    EXPECT_EQ(kestro::Run.ErrorNumber, 211);
    for (int i = -1; i <= 102; ++i) EXPECT_EQ(Head(i), 0.25) << i;
    const std::string block =
        "**** Runtime Error No. 11 ****\n\nProblem:  Solution failed due to small pivot value.\n"
        "          Node number = 3\n          Pivot value =      0.00000\n\n"
        "Solution: This error usually occurs when a lateral bearing capacity failure\n"
        "          occurs.  Reduce the load on the pile and repeat the analysis.\n"
        "          You may also consider increasing pile diameter or pile length.\n";
    EXPECT_TRUE(kestro::test::Has(ch.Report, block)) << ch.Report;
    EXPECT_TRUE(kestro::test::Has(ch.Messages, block)) << ch.Messages;
    // Rows 1 (moment) and 2 (deflection) as eliminated so far; row 5 is unused.
    EXPECT_TRUE(kestro::test::Has(ch.Report, "\nF Matrix \n\n      1.0000     -2.0000      1.0000      0.0000      0.0000\n"
                                             "      0.0000      1.0000      0.0000      0.0000      0.0000\n"))
        << ch.Report;
    EXPECT_TRUE(kestro::test::Has(ch.Report, "      0.0000      0.0000      0.0000      0.0000      0.0000\n\nG Vector \n\n"
                                             "      0.0000\n      1.0000\n"))
        << ch.Report;
    EXPECT_TRUE(kestro::test::Has(ch.Report, "\nYG Vector\n\n      0.0000\n"));
    EXPECT_TRUE(kestro::test::Has(ch.Report, "Kestro ended prematurely due to runtime error number RUN00011\n"));
}

