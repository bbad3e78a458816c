// Sand p-y curves (Reese, Cox & Koop 1974; API RP 2A): resistances, curve
// shape, defaults and the equivalent depth, checked against the published
// equations evaluated by hand in each test.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "model/ProblemData.h"
#include "soil/ApiSand.h"
#include "soil/SandReese.h"
#include "soil/SoilProperties.h"

using namespace kestro;

namespace {

constexpr double Pi = std::numbers::pi;
double Deg(double d) { return d * Pi / 180.0; }
double Sq(double v) { return v * v; }

// Published wedge and flow-around resistances of level ground, written out.
struct HandSand {
    double Ka, Kp, Pst, Psd;
};
HandSand HandResistances(double phiDeg, double b, double g, double z) {
    const double phi = Deg(phiDeg);
    const double a = phi / 2.0;
    const double be = Pi / 4.0 + phi / 2.0;
    const double k0 = 0.4;
    HandSand h{};
    h.Ka = Sq(std::tan(Pi / 4.0 - phi / 2.0));
    h.Kp = Sq(std::tan(be));
    h.Pst = g * z *
            (k0 * z * std::tan(phi) * std::sin(be) / (std::tan(be - phi) * std::cos(a)) +
             std::tan(be) / std::tan(be - phi) * (b + z * std::tan(be) * std::tan(a)) +
             k0 * z * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(a)) - h.Ka * b);
    h.Psd = h.Ka * b * g * z * (std::pow(std::tan(be), 8) - 1.0) + k0 * b * g * z * std::tan(phi) * std::pow(std::tan(be), 4);
    return h;
}

}  // namespace

struct PhiCase {
    double PhiDeg;
};
class SandResistanceTest : public ::testing::TestWithParam<PhiCase> {};

TEST_P(SandResistanceTest, LevelGroundMatchesPublishedFormulas) {
    const double phiDeg = GetParam().PhiDeg;
    const double b = 24.0, g = 0.0361, z = 60.0;   // in, pci, in
    const HandSand h = HandResistances(phiDeg, b, g, z);
    const SandWedgeParams w = MakeSandWedgeParams(Deg(phiDeg));
    EXPECT_NEAR(w.Ka, h.Ka, 1e-12);
    EXPECT_NEAR(w.Kp, h.Kp, 1e-12);
    EXPECT_DOUBLE_EQ(w.Alpha, Deg(phiDeg) / 2.0);
    EXPECT_DOUBLE_EQ(w.Beta, Pi / 4.0 + Deg(phiDeg) / 2.0);
    const SandUltimate u = SandUltimateResistance(w, b, g, z, z, 0.0, false, 1.0);
    EXPECT_NEAR(u.Pst, h.Pst, 1e-9 * h.Pst);
    EXPECT_NEAR(u.Psd, h.Psd, 1e-9 * h.Psd);
    EXPECT_DOUBLE_EQ(u.Ps, std::min(h.Pst, h.Psd));
    // The API coefficients restate the same resistances: pus = (C1 z + C2 b) g z, pud = C3 b g z.
    const ApiSandCoefficients c = MakeApiSandCoefficients(w);
    EXPECT_NEAR((c.C1 * z + c.C2 * b) * g * z, h.Pst, 1e-9 * h.Pst);
    EXPECT_NEAR(c.C3 * b * g * z, h.Psd, 1e-9 * h.Psd);
}

INSTANTIATE_TEST_SUITE_P(FrictionAngles, SandResistanceTest,
                         ::testing::Values(PhiCase{30.0}, PhiCase{35.0}, PhiCase{40.0}));

TEST(SandResistance, ThirtyDegreesGivesTextbookCoefficients) {
    const SandWedgeParams w = MakeSandWedgeParams(Deg(30.0));
    EXPECT_NEAR(w.Ka, 1.0 / 3.0, 1e-12);
    EXPECT_NEAR(w.Kp, 3.0, 1e-12);
    EXPECT_DOUBLE_EQ(w.K0, 0.4);
    // Shallow: the wedge controls; deep: the flow-around resistance controls.
    EXPECT_LT(SandUltimateResistance(w, 24.0, 0.0361, 12.0, 12.0, 0.0, false, 1.0).Ps,
              SandUltimateResistance(w, 24.0, 0.0361, 12.0, 12.0, 0.0, false, 1.0).Psd);
    const SandUltimate deep = SandUltimateResistance(w, 24.0, 0.0361, 2400.0, 2400.0, 0.0, false, 1.0);
    EXPECT_DOUBLE_EQ(deep.Ps, deep.Psd);
}

TEST(SandResistance, FlowAroundUsesItsOwnDepth) {
    const SandWedgeParams w = MakeSandWedgeParams(Deg(35.0));
    const HandSand at60 = HandResistances(35.0, 24.0, 0.0361, 60.0);
    const HandSand at90 = HandResistances(35.0, 24.0, 0.0361, 90.0);
    const SandUltimate u = SandUltimateResistance(w, 24.0, 0.0361, 60.0, 90.0, 0.0, false, 1.0);
    EXPECT_NEAR(u.Pst, at60.Pst, 1e-9 * at60.Pst);
    EXPECT_NEAR(u.Psd, at90.Psd, 1e-9 * at90.Psd);
}

TEST(SandResistance, SlopedFormReducesToLevelGroundForVanishingSlope) {
    const SandWedgeParams w = MakeSandWedgeParams(Deg(35.0));
    const SandUltimate level = SandUltimateResistance(w, 24.0, 0.0361, 60.0, 60.0, 0.0, false, 1.0);
    const SandUltimate sloped = SandUltimateResistance(w, 24.0, 0.0361, 60.0, 60.0, 1.0e-12, true, 1.0);
    EXPECT_NEAR(sloped.Pst, level.Pst, 1e-9 * level.Pst);
}

TEST(SandResistance, SlopedGroundUsesSlopedActiveCoefficientAndFactor) {
    // phi 30, theta 10 degrees, downhill push (S = 1 - t), z = 60 in, b = 24 in.
    const double phi = Deg(30.0), th = Deg(10.0), b = 24.0, g = 0.0361, z = 60.0;
    const double a = phi / 2.0, be = Pi / 4.0 + phi / 2.0, k0 = 0.4;
    const double d = Sq(std::cos(th)) - Sq(std::cos(phi));
    const double ka = std::cos(th) * (std::cos(th) - std::sqrt(d)) / (std::cos(th) + std::sqrt(d));
    const double t = std::tan(th) * std::tan(be);
    const double s = 1.0 - t;
    const double u = t / s;
    const double f4 = 1.0 + 4.0 * u * u * u - 3.0 * u * u;
    const double pst = g * z *
                       (std::tan(be) / std::tan(be - phi) * (b + z * std::tan(a) * std::tan(be) / s) / s - ka * b +
                        f4 * k0 * z * std::tan(phi) * std::sin(be) / (std::cos(a) * std::tan(be - phi)) +
                        f4 * k0 * z * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(a)));
    const SandWedgeParams w = MakeSandWedgeParams(phi);
    const SandUltimate r = SandUltimateResistance(w, b, g, z, z, th, true, s);
    EXPECT_NEAR(r.Pst, pst, 1e-9 * std::fabs(pst));
    // the flow-around value keeps the level-ground Ka
    EXPECT_NEAR(r.Psd, HandResistances(30.0, b, g, z).Psd, 1e-9 * r.Psd);
    // a slope factor at or below 1.0E-10 hands the wedge over to the flow-around value
    const SandUltimate flat = SandUltimateResistance(w, b, g, z, z, th, true, 1.0e-10);
    EXPECT_DOUBLE_EQ(flat.Pst, flat.Psd);
    const SandUltimate above = SandUltimateResistance(w, b, g, z, z, th, true, 1.0e-10 * (1 + 1e-6));
    EXPECT_NE(above.Pst, above.Psd);
}

struct SlopeFactorCase {
    double Slope, YRaw, ReeseS, ApiS;
};
class SandSlopeFactorTest : public ::testing::TestWithParam<SlopeFactorCase> {};

TEST_P(SandSlopeFactorTest, SideFollowsDeflectionAgainstSlope) {
    const SlopeFactorCase& c = GetParam();
    const double t = 0.25, previous = 7.0;
    EXPECT_DOUBLE_EQ(ReeseSandSlopeFactor(t, c.Slope, c.YRaw), c.ReeseS);
    EXPECT_DOUBLE_EQ(ApiSandSlopeFactor(t, c.Slope, c.YRaw, previous), c.ApiS);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, SandSlopeFactorTest,
    ::testing::Values(SlopeFactorCase{0.1, 1.0, 1.25, 1.25}, SlopeFactorCase{-0.1, 1.0, 0.75, 0.75},
                      SlopeFactorCase{0.1, -1.0, 0.75, 0.75}, SlopeFactorCase{-0.1, -1.0, 1.25, 1.25},
                      // exactly zero deflection: API pushes uphill only for a positive slope
                      SlopeFactorCase{0.1, 0.0, 0.75, 1.25}, SlopeFactorCase{-0.1, 0.0, 1.25, 7.0},
                      // within 1.0E-14 of zero: API keeps the previous station's factor
                      SlopeFactorCase{0.1, 1.0e-14, 0.75, 7.0}, SlopeFactorCase{0.1, 1.0e-14 * (1 + 1e-9), 1.25, 1.25},
                      SlopeFactorCase{0.1, -1.0e-14 * (1 + 1e-9), 0.75, 0.75}));

TEST(SandCoefficients, InterpolationFollowsTheTables) {
    EXPECT_DOUBLE_EQ(ReeseSandA(0.0, false), 2.83);
    EXPECT_NEAR(ReeseSandA(1.25, false), (2.11 + 1.76) / 2.0, 1e-12);
    EXPECT_NEAR(ReeseSandB(1.25, false), (1.54 + 1.27) / 2.0, 1e-12);
    EXPECT_NEAR(ReeseSandA(3.5, true), (0.94 + 0.90) / 2.0, 1e-12);
    EXPECT_NEAR(ReeseSandB(4.5, true), 0.55, 1e-12);
    EXPECT_DOUBLE_EQ(ReeseSandA(6.0, false), 0.88);
    EXPECT_DOUBLE_EQ(ReeseSandA(60.0, false), 0.88);
    EXPECT_DOUBLE_EQ(ReeseSandB(60.0, true), 0.55);
    // above the last abscissa the last value is returned unchanged
    const double pts[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const double vals[10] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 95};
    EXPECT_DOUBLE_EQ(InterpolateCoefficient(9.5, vals, pts), 95.0);
    EXPECT_DOUBLE_EQ(InterpolateCoefficient(8.5, vals, pts), 87.5);
}

struct DefaultKCase {
    double Phi, Gamma;
    int Units;
    double Expected;
};
class DefaultSandKTest : public ::testing::TestWithParam<DefaultKCase> {};

TEST_P(DefaultSandKTest, FollowsFitByUnitsAndWaterTable) {
    const DefaultKCase& c = GetParam();
    EXPECT_NEAR(DefaultSandK(c.Phi, c.Gamma, c.Units), c.Expected, 1e-6 * std::max(1.0, c.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Fits, DefaultSandKTest,
    ::testing::Values(
        DefaultKCase{30.0, 0.0361, UnitsUS, 1.2098290e-07 * std::pow(30.0, 5.694468)},
        DefaultKCase{40.0, 0.0361, UnitsUS, 1.2098290e-07 * std::pow(40.0, 5.694468)},
        DefaultKCase{40.0 * (1 + 1e-9), 0.0361, UnitsUS, 160.54745},
        DefaultKCase{35.0, 12.225, UnitsSI, 3.2840464e-05 * std::pow(35.0, 5.694468)},
        DefaultKCase{35.0, 12.225 * (1 + 1e-9), UnitsSI, 4.1417488e-06 * std::pow(35.0, 6.416118)},
        DefaultKCase{42.0, 12.0, UnitsSI, 43580.148}, DefaultKCase{42.0, 13.0, UnitsSI, 78739.008},
        DefaultKCase{35.0, 10.0, UnitsGeneral, 0.0}));

TEST(ReeseSandCurve, PassesThroughItsCharacteristicPoints) {
    // z/b = 1.25 static: A = 1.935, B = 1.405; a stiff initial line.
    const double b = 24.0, z = 30.0, ps = 100.0, k = 1000.0;
    const ReeseSandCurve c = MakeReeseSandCurve(ps, b, k, z, false);
    const double a = (2.11 + 1.76) / 2.0, bb = (1.54 + 1.27) / 2.0;
    const double ym = b / 60.0, yu = 3.0 * b / 80.0;
    const double pu = a * ps, pm = bb * ps, m = (pu - pm) / (yu - ym);
    const double n = pm / (m * ym);
    EXPECT_NEAR(c.Pu, pu, 1e-10);
    EXPECT_NEAR(c.Pm, pm, 1e-10);
    EXPECT_NEAR(c.N, 1.25 * bb / (a - bb), 1e-10);   // n = B / (0.8 (A - B))
    EXPECT_NEAR(c.N, n, 1e-10);
    const double cc = pm / std::pow(ym, 1.0 / n);
    const double yk = std::pow(cc / (k * z), n / (n - 1.0));
    EXPECT_NEAR(c.Yk, yk, 1e-12);
    EXPECT_NEAR(ReeseSandP(c, ym), pm, 1e-9);
    EXPECT_NEAR(ReeseSandP(c, yu), pu, 1e-9);
    EXPECT_DOUBLE_EQ(ReeseSandP(c, yu * (1 + 1e-9)), pu);
    EXPECT_LT(ReeseSandP(c, yu * (1 - 1e-6)), pu);
    EXPECT_DOUBLE_EQ(ReeseSandP(c, 10.0 * b), pu);
    // straight segment halfway
    EXPECT_NEAR(ReeseSandP(c, 0.5 * (ym + yu)), 0.5 * (pm + pu), 1e-9);
    // parabola and the initial line meet at yk
    EXPECT_NEAR(ReeseSandP(c, yk), k * z * yk, 1e-9 * k * z * yk);
    EXPECT_DOUBLE_EQ(ReeseSandP(c, 0.5 * yk), k * z * 0.5 * yk);
    const double y = 0.5 * (yk + ym);
    EXPECT_NEAR(ReeseSandP(c, y), cc * std::pow(y, 1.0 / n), 1e-9);
}

TEST(ReeseSandCurve, SoftInitialLineCapsTheCurve) {
    const double b = 24.0, z = 30.0, ps = 100.0, k = 0.2;
    const ReeseSandCurve c = MakeReeseSandCurve(ps, b, k, z, true);
    for (double y : {0.01, 0.1, 0.5, 1.0, 5.0}) EXPECT_LE(ReeseSandP(c, y), k * z * y + 1e-12);
    EXPECT_DOUBLE_EQ(ReeseSandP(c, 0.1), k * z * 0.1);
}

TEST(ReeseSandCurve, GroundSurfaceCarriesNothing) {
    const ReeseSandCurve c = MakeReeseSandCurve(0.0, 24.0, 100.0, 0.0, false);
    EXPECT_EQ(c.N, 0.0);
    EXPECT_EQ(c.C, 0.0);
    EXPECT_EQ(c.Yk, 0.0);
    for (double y : {0.0, 0.001, 0.4, 0.9, 5.0}) EXPECT_EQ(ReeseSandP(c, y), 0.0);
}

namespace {
void ExpectNondecreasing(const ReeseSandPrinted& pr) {
    for (std::size_t i = 2; i <= 17; ++i) {
        EXPECT_GE(pr.Y[i], pr.Y[i - 1]) << "point " << i;
        EXPECT_GE(pr.P[i], pr.P[i - 1] - 1e-9) << "point " << i;
    }
}
}  // namespace

TEST(ReeseSandPrinted, CaseOneStepsFromYkToYm) {
    const double b = 24.0;
    const ReeseSandCurve c = MakeReeseSandCurve(100.0, b, 1000.0, 30.0, false);
    ASSERT_LT(c.Yk, c.Ym);
    ReeseSandPrinted pr;
    ReeseSandPrintedPoints(c, b, pr);
    EXPECT_EQ(pr.Case, 1);
    EXPECT_EQ(pr.Y[1], 0.0);
    EXPECT_DOUBLE_EQ(pr.Y[2], c.Yk);
    EXPECT_NEAR(pr.Y[7], c.Yk + 5.0 * (c.Ym - c.Yk) / 11.0, 1e-15);
    EXPECT_DOUBLE_EQ(pr.Y[13], b / 60.0);
    EXPECT_DOUBLE_EQ(pr.Y[14], 13.0 * b / 480.0);
    EXPECT_DOUBLE_EQ(pr.Y[15], 3.0 * b / 80.0);
    EXPECT_DOUBLE_EQ(pr.Y[17], 3.0 * b / 80.0 + b);
    EXPECT_NEAR(pr.P[15], c.Pu, 1e-9);
    EXPECT_TRUE(pr.b_Initial[2]);
    EXPECT_FALSE(pr.b_Initial[1]);
    EXPECT_FALSE(pr.b_Initial[5]);
    ExpectNondecreasing(pr);
}

TEST(ReeseSandPrinted, CaseTwoEndsOnYuInAscendingSteps) {
    const double b = 24.0;
    // choose k so that yk lies between ym and yu
    ReeseSandCurve c = MakeReeseSandCurve(100.0, b, 9.0, 30.0, false);
    ASSERT_GT(c.Yk, c.Ym);
    ASSERT_LT(c.Yk, c.Yu);
    ReeseSandPrinted pr;
    ReeseSandPrintedPoints(c, b, pr);
    EXPECT_EQ(pr.Case, 2);
    const double ys = (c.Pu - c.Yu * c.M) / (c.Kx - c.M);
    EXPECT_DOUBLE_EQ(pr.Y[2], ys);
    EXPECT_NEAR(pr.P[2], c.Kx * ys, 1e-9);
    EXPECT_DOUBLE_EQ(pr.Y[15], c.Yu);
    EXPECT_LT(pr.Y[14], c.Yu);
    ExpectNondecreasing(pr);
}

TEST(ReeseSandPrinted, CaseThreeFollowsTheInitialLineToPu) {
    const double b = 24.0;
    const ReeseSandCurve c = MakeReeseSandCurve(100.0, b, 0.2, 30.0, false);
    ASSERT_GT(c.Yk, c.Yu);
    ReeseSandPrinted pr;
    ReeseSandPrintedPoints(c, b, pr);
    EXPECT_EQ(pr.Case, 3);
    const double yp = c.Pu / c.Kx;
    EXPECT_NEAR(pr.Y[15], yp, 1e-12);
    EXPECT_NEAR(pr.P[15], c.Pu, 1e-9);
    EXPECT_NEAR(pr.Y[8], 7.0 * yp / 14.0, 1e-12);
    EXPECT_DOUBLE_EQ(pr.Y[17], yp + b);
    EXPECT_TRUE(pr.b_Initial[8]);
    ExpectNondecreasing(pr);
}

TEST(ApiSand, LoadingFactorThresholds) {
    const double b = 24.0;
    EXPECT_NEAR(ApiSandA(2.5 * b, b, false), 1.0, 1e-7);
    EXPECT_DOUBLE_EQ(ApiSandA(2.625 * b, b, false), static_cast<double>(0.9f));
    EXPECT_DOUBLE_EQ(ApiSandA(10.0 * b, b, false), static_cast<double>(0.9f));
    EXPECT_NEAR(ApiSandA(0.0, b, false), 3.0, 1e-15);
    EXPECT_DOUBLE_EQ(ApiSandA(0.0, b, true), static_cast<double>(0.9f));
    EXPECT_NEAR(ApiSandA(b, b, false), 3.0 - static_cast<double>(0.8f), 1e-15);
}

TEST(ApiSand, TanhCurveReachesAPu) {
    const double b = 24.0, z = 120.0, k = 90.0;
    const ApiSandCurve c = MakeApiSandCurve(500.0, 400.0, b, k, z, false);
    const double a = static_cast<double>(0.9f);   // z/b = 5
    EXPECT_DOUBLE_EQ(c.Pu, 400.0);
    EXPECT_DOUBLE_EQ(c.Apu, a * 400.0);
    const double y = 0.01;
    EXPECT_NEAR(ApiSandP(c, y), a * 400.0 * std::tanh(k * z * y / (a * 400.0)), 1e-9);
    EXPECT_NEAR(ApiSandP(c, 10.0), a * 400.0, 1e-9);
    EXPECT_LE(ApiSandP(c, 10.0), c.Apu);
    // initial slope k z
    EXPECT_NEAR(ApiSandP(c, 1e-9) / 1e-9, k * z, 1e-3);
    // the ground surface carries nothing
    const ApiSandCurve top = MakeApiSandCurve(0.0, 0.0, b, k, 0.0, false);
    EXPECT_EQ(ApiSandP(top, 1.0), 0.0);
    const ApiSandCurve almost = MakeApiSandCurve(1.0, 1.0, b, k, 1.0e-10 * (1 - 1e-9), false);
    EXPECT_EQ(ApiSandP(almost, 1.0), 0.0);
}

TEST(ApiSand, PrintedDeflections) {
    std::array<double, 18> y{};
    ApiSandPrintedY(36.0, y);
    EXPECT_EQ(y[1], 0.0);
    EXPECT_DOUBLE_EQ(y[2], 36.0 / 720.0);
    EXPECT_DOUBLE_EQ(y[13], 12.0 * 36.0 / 720.0);
    EXPECT_DOUBLE_EQ(y[14], 3.0 * 36.0 / 80.0);
    EXPECT_DOUBLE_EQ(y[17], 3.0 * 36.0 / 80.0 + 3.0 * 36.0);
}

namespace {
// Integral of A(z/b) p_st(z) from the ground surface to h by Simpson's rule
// with the published level-ground wedge resistance.
double ShallowIntegral(double phiDeg, double b, double g, double h, bool cyclic) {
    const int n = 20000;
    const double dz = h / n;
    double s = 0.0;
    for (int i = 0; i <= n; ++i) {
        const double z = i * dz;
        const double w = (i == 0 || i == n) ? 1.0 : (i % 2 == 1 ? 4.0 : 2.0);
        s += w * ReeseSandA(z / b, cyclic) * HandResistances(phiDeg, b, g, z).Pst;
    }
    return s * dz / 3.0;
}
}  // namespace

TEST(SandEquivalentDepth, InvertsTheShallowResistanceIntegral) {
    const double b = 24.0, g = 0.0361;
    for (bool cyclic : {false, true}) {
        const SandWedgeParams w = MakeSandWedgeParams(Deg(35.0));
        for (double h : {10.0, 40.0, 100.0}) {
            const double f = ShallowIntegral(35.0, b, g, h, cyclic);
            EXPECT_NEAR(SandEquivalentDepth(f, w, b, g, 200.0, cyclic), h, 0.01 * h) << h << " cyclic " << cyclic;
        }
    }
    EXPECT_EQ(SandEquivalentDepth(0.0, MakeSandWedgeParams(Deg(35.0)), b, g, 200.0, false), 0.0);
}

TEST(SandEquivalentDepth, BeyondTheWedgeUsesTheDeepResistance) {
    const double b = 24.0, g = 0.0361, z = 300.0;
    const double phi = Deg(30.0);
    const SandWedgeParams w = MakeSandWedgeParams(phi);
    const double tb = std::tan(w.Beta), ta = std::tan(w.Alpha);
    const double d1 = tb * (w.Kp * ta + 0.4 * (std::sin(w.Beta) * (1.0 / std::cos(w.Alpha) + 1.0) * std::tan(phi) - ta));
    const double d2 = w.Kp - w.Ka;
    const double d3 = w.Kp * w.Kp * (w.Kp + 0.4 * std::tan(phi)) - w.Ka;
    const double zt = (d3 - d2) * b / d1;
    const double iz = ShallowIntegral(30.0, b, g, zt, false);
    const double extra = 5000.0;
    const double h = SandEquivalentDepth(iz + extra, w, b, g, z, false);
    EXPECT_NEAR(h, zt + extra / (0.88 * d3 * g * b * z), 0.002 * zt);
}
