// Stiff clay p-y curves with free water (Reese, Cox & Koop 1975) and without
// free water (Welch & Reese 1972), checked against hand evaluations of the
// published equations.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "model/ProblemData.h"
#include "soil/StiffClayFreeWater.h"
#include "soil/StiffClayNoFreeWater.h"
#include "soil/SoilProperties.h"

using namespace kestro;

namespace {
constexpr double F(float v) { return static_cast<double>(v); }

StiffClayFreeWaterInput FreeWater(bool cyclic, double k = 1.0e9) {
    StiffClayFreeWaterInput in;
    in.B = 24.0;
    in.C = 10.0;
    in.Ca = 9.0;
    in.Gamma = 0.0361;
    in.Eps50 = 0.007;
    in.K = k;
    in.ZEq = 24.0;   // z/b = 1
    in.b_Cyclic = cyclic;
    return in;
}
}  // namespace

TEST(StiffClayCoefficients, PolynomialsAndCaps) {
    // As(1) = 0.2345 + 0.2958796 - 0.0786111 + 0.0068981
    EXPECT_NEAR(StiffClayAs(1.0), 0.2345 + 0.2958796 - 0.0786111 + 0.0068981, 1e-7);
    EXPECT_NEAR(StiffClayAs(0.0), 0.2345, 1e-7);
    EXPECT_DOUBLE_EQ(StiffClayAs(3.3 * (1 + 1e-6)), 0.6);
    EXPECT_LE(StiffClayAs(3.0), 0.6);
    // Ac(1) = 0.2 + 0.153333 - 0.075 + 0.011667
    EXPECT_NEAR(StiffClayAc(1.0), 0.2 + 0.153333 - 0.075 + 0.011667, 1e-7);
    EXPECT_DOUBLE_EQ(StiffClayAc(1.5 * (1 + 1e-6)), 0.3);
    EXPECT_DOUBLE_EQ(StiffClayAc(1.5), 0.3);   // 0.30063 capped
}

TEST(StiffClayFreeWater, StaticCurveReachesPuAt18AsY50) {
    const StiffClayFreeWaterInput in = FreeWater(false);
    const StiffClayFreeWaterCurve c = MakeStiffClayFreeWaterCurve(in);
    const double as = StiffClayAs(1.0);
    // pct = (gamma b + 2.83 ca) z + 2 ca b; pcd = 11 c b
    const double pct = (0.0361 * 24.0 + 2.83 * 9.0) * 24.0 + 2.0 * 9.0 * 24.0;
    const double pcd = 11.0 * 10.0 * 24.0;
    const double pc = std::min(pct, pcd);
    EXPECT_NEAR(c.Pct, pct, 1e-9);
    EXPECT_NEAR(c.Pcd, pcd, 1e-9);
    const double y50 = 0.007 * 24.0;
    const double pu = pc * (0.5 * std::sqrt(6.0 * as) - 0.75 * as - 0.411);
    EXPECT_NEAR(c.Pu, pu, 1e-9);
    const double y18 = 18.0 * as * y50;
    EXPECT_NEAR(StiffClayFreeWaterP(c, y18), pu, 1e-9 * pc);
    EXPECT_DOUBLE_EQ(StiffClayFreeWaterP(c, y18 * (1 + 1e-9)), pu);
    EXPECT_GT(StiffClayFreeWaterP(c, y18 * (1 - 1e-6)), pu);   // the softening branch lies above pu
    EXPECT_DOUBLE_EQ(StiffClayFreeWaterP(c, 100.0 * y18), pu);
    // first branch: 0.5 pc sqrt(y/y50)
    const double y1 = 0.5 * as * y50;
    EXPECT_NEAR(StiffClayFreeWaterP(c, y1), 0.5 * pc * std::sqrt(y1 / y50), 1e-9);
    // second branch at 3 As y50
    const double y2 = 3.0 * as * y50;
    EXPECT_NEAR(StiffClayFreeWaterP(c, y2), pc * (0.5 * std::sqrt(y2 / y50) - 0.055 * std::pow(2.0, 1.25)), 1e-9);
    // third branch at 10 As y50
    const double y3 = 10.0 * as * y50;
    EXPECT_NEAR(StiffClayFreeWaterP(c, y3), pc * (0.5 * std::sqrt(6.0 * as) - 0.411) - 0.0625 * pc * 4.0 * as, 1e-9);
    // the branches meet (to the rounding of 0.055 * 5^1.25 = 0.41122 against 0.411)
    const double y6 = 6.0 * as * y50;
    EXPECT_NEAR(StiffClayFreeWaterP(c, y6 * (1 + 1e-12)), StiffClayFreeWaterP(c, y6), 3e-4 * pc);
}

TEST(StiffClayFreeWater, CyclicCurvePeaksAtAcPcThenFallsToPu) {
    const StiffClayFreeWaterCurve c = MakeStiffClayFreeWaterCurve(FreeWater(true));
    const double as = StiffClayAs(1.0), ac = StiffClayAc(1.0);
    const double y50 = 0.007 * 24.0;
    const double yp = 4.1 * as * y50;
    EXPECT_NEAR(c.Yp, yp, 1e-12);
    const double pc = c.Pc;
    EXPECT_NEAR(StiffClayFreeWaterP(c, 0.45 * yp), ac * pc, 1e-9);
    EXPECT_LT(StiffClayFreeWaterP(c, 0.5 * yp), ac * pc);
    EXPECT_NEAR(StiffClayFreeWaterP(c, yp), 0.936 * ac * pc - 0.085 * pc * 0.4 * yp / y50, 1e-9);
    const double pu = pc * (0.936 * ac - 0.4182 * as);
    EXPECT_NEAR(c.Pu, pu, 1e-9);
    EXPECT_NEAR(StiffClayFreeWaterP(c, 1.8 * yp), pu, 1e-9);
    EXPECT_DOUBLE_EQ(StiffClayFreeWaterP(c, 1.8 * yp * (1 + 1e-9)), 0.936 * ac * pc - 0.102 * pc * yp / y50);
    EXPECT_DOUBLE_EQ(StiffClayFreeWaterP(c, 50.0 * yp), StiffClayFreeWaterP(c, 2.0 * yp));
}

TEST(StiffClayFreeWater, InitialLineLimitsTheCurve) {
    const StiffClayFreeWaterCurve soft = MakeStiffClayFreeWaterCurve(FreeWater(false, 0.5));
    const double kx = 0.5 * 24.0;
    for (double y : {0.001, 0.01, 0.1, 1.0}) EXPECT_DOUBLE_EQ(StiffClayFreeWaterP(soft, y), std::min(kx * y, StiffClayFreeWaterP(MakeStiffClayFreeWaterCurve(FreeWater(false)), y)));
    EXPECT_DOUBLE_EQ(StiffClayFreeWaterP(soft, 0.001), kx * 0.001);
    const StiffClayFreeWaterCurve stiff = MakeStiffClayFreeWaterCurve(FreeWater(false));
    const double y = 0.05;
    EXPECT_NEAR(StiffClayFreeWaterP(stiff, y), 0.5 * stiff.Pc * std::sqrt(y / stiff.Y50), 1e-9);
}

TEST(StiffClayFreeWater, SlopeFactorScalesTheWedge) {
    StiffClayFreeWaterInput in = FreeWater(false);
    in.SlopeFactor = 0.8;
    const double pct = ((0.0361 * 24.0 + 2.83 * 9.0) * 24.0 + 2.0 * 9.0 * 24.0) * 0.8;
    EXPECT_NEAR(MakeStiffClayFreeWaterCurve(in).Pct, pct, 1e-9);
}

TEST(StiffClayFreeWater, UndefinedStrainGivesNotANumber) {
    StiffClayFreeWaterInput in = FreeWater(false);
    in.Eps50 = 0.0;
    EXPECT_TRUE(std::isnan(StiffClayFreeWaterP(MakeStiffClayFreeWaterCurve(in), 0.1)));
}

struct ClassCase {
    double C;
    int Units;
    int FreeWaterClass, NoWaterClass;
};
class StiffClayClassTest : public ::testing::TestWithParam<ClassCase> {};

TEST_P(StiffClayClassTest, LimitsAreTheSinglePrecisionValues) {
    const ClassCase& c = GetParam();
    EXPECT_EQ(StiffClayFreeWaterClass(c.C, c.Units), c.FreeWaterClass) << c.C;
    EXPECT_EQ(StiffClayNoFreeWaterClass(c.C, c.Units), c.NoWaterClass) << c.C;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, StiffClayClassTest,
    ::testing::Values(
        ClassCase{F(6.9444447f) * (1 - 1e-9), UnitsUS, 1, 2}, ClassCase{F(6.9444447f), UnitsUS, 2, 2},
        ClassCase{F(6.9400001f) * (1 - 1e-9), UnitsUS, 1, 1}, ClassCase{F(6.9400001f), UnitsUS, 1, 2},
        ClassCase{F(13.888889f) * (1 - 1e-9), UnitsUS, 2, 3}, ClassCase{F(13.888889f), UnitsUS, 3, 3},
        ClassCase{F(13.88f) * (1 - 1e-9), UnitsUS, 2, 2}, ClassCase{F(27.777779f), UnitsUS, 4, 3},
        ClassCase{F(27.780001f), UnitsUS, 4, 4}, ClassCase{10.0, UnitsUS, 2, 2},
        ClassCase{F(47.880260f) * (1 - 1e-9), UnitsSI, 1, 1}, ClassCase{F(47.880260f), UnitsSI, 2, 1},
        ClassCase{F(47.8927f), UnitsSI, 2, 2}, ClassCase{F(95.760521f), UnitsSI, 3, 2},
        ClassCase{F(95.785400f), UnitsSI, 3, 3}, ClassCase{F(191.52104f), UnitsSI, 4, 3},
        ClassCase{F(191.57080f), UnitsSI, 4, 4}, ClassCase{50.0, UnitsSI, 2, 2}, ClassCase{50.0, UnitsGeneral, 0, 0}));

TEST(StiffClayDefaults, StrainAndModulusByClass) {
    // US customary, c = 10 psi: k = 500 static, 200 cyclic, eps50 = 0.007
    const int cls = StiffClayFreeWaterClass(10.0, UnitsUS);
    EXPECT_DOUBLE_EQ(StiffClayFreeWaterDefaultEps50(cls), 0.007);
    EXPECT_DOUBLE_EQ(StiffClayDefaultK(cls, false, UnitsUS), 500.0);
    EXPECT_DOUBLE_EQ(StiffClayDefaultK(cls, true, UnitsUS), 200.0);
    EXPECT_DOUBLE_EQ(StiffClayDefaultK(1, false, UnitsSI), F(67861.797f));
    EXPECT_DOUBLE_EQ(StiffClayDefaultK(4, true, UnitsSI), F(217157.70f));
    EXPECT_DOUBLE_EQ(StiffClayDefaultK(4, false, UnitsUS), 2000.0);
    EXPECT_DOUBLE_EQ(StiffClayDefaultK(2, false, UnitsGeneral), 0.0);
    EXPECT_DOUBLE_EQ(StiffClayDefaultK(0, false, UnitsUS), 0.0);
    // SI, c = 50 kPa without free water: eps50 = 0.007
    EXPECT_DOUBLE_EQ(StiffClayNoFreeWaterDefaultEps50(StiffClayNoFreeWaterClass(50.0, UnitsSI)), 0.007);
    EXPECT_DOUBLE_EQ(StiffClayNoFreeWaterDefaultEps50(1), 0.011);
    EXPECT_DOUBLE_EQ(StiffClayNoFreeWaterDefaultEps50(4), 0.004);
}

namespace {
StiffClayNoFreeWaterInput NoWater(bool cyclic, double cycles = 1.0) {
    StiffClayNoFreeWaterInput in;
    in.B = 30.0;
    in.C = 15.0;
    in.Gamma = 0.07;
    in.Eps50 = 0.005;
    in.ZEq = 60.0;
    in.Cycles = cycles;
    in.b_Cyclic = cyclic;
    return in;
}
}  // namespace

TEST(StiffClayNoFreeWater, StaticCurveReachesPuAt16Y50) {
    const StiffClayNoFreeWaterCurve c = MakeStiffClayNoFreeWaterCurve(NoWater(false));
    // Pct = (gamma b + 0.5 c) z + 3 b c, Pcd = 9 c b
    const double pct = (0.07 * 30.0 + 0.5 * 15.0) * 60.0 + 3.0 * 30.0 * 15.0;
    const double pcd = 9.0 * 15.0 * 30.0;
    EXPECT_NEAR(c.Pct, pct, 1e-9);
    EXPECT_NEAR(c.Pcd, pcd, 1e-9);
    const double pu = std::min(pct, pcd);
    const double y50 = 2.5 * 0.005 * 30.0;
    EXPECT_NEAR(c.Y50, y50, 1e-15);
    EXPECT_NEAR(StiffClayNoFreeWaterP(c, 16.0 * y50), pu, 1e-9 * pu);
    EXPECT_LT(StiffClayNoFreeWaterP(c, 16.0 * y50 * (1 - 1e-6)), pu);
    EXPECT_DOUBLE_EQ(StiffClayNoFreeWaterP(c, 16.0 * y50 * (1 + 1e-9)), pu);
    EXPECT_NEAR(StiffClayNoFreeWaterP(c, y50), 0.5 * pu, 1e-9);
    EXPECT_NEAR(StiffClayNoFreeWaterP(c, 3.0 * y50), 0.5 * pu * std::pow(3.0, 0.25), 1e-9);
    // secant at 2.0E-5 b
    const double y0 = 2.0e-5 * 30.0;
    EXPECT_NEAR(c.Ki, 0.5 * pu * std::pow(y0 / y50, 0.25) / y0, 1e-9 * c.Ki);
}

TEST(StiffClayNoFreeWater, CyclicStretchesDeflections) {
    const StiffClayNoFreeWaterCurve s = MakeStiffClayNoFreeWaterCurve(NoWater(false));
    const StiffClayNoFreeWaterCurve one = MakeStiffClayNoFreeWaterCurve(NoWater(true, 1.0));
    for (double y : {0.01, 0.3, 1.0, 5.0, 20.0}) EXPECT_DOUBLE_EQ(StiffClayNoFreeWaterP(one, y), StiffClayNoFreeWaterP(s, y));
    // N below one is taken as one
    const StiffClayNoFreeWaterCurve zero = MakeStiffClayNoFreeWaterCurve(NoWater(true, 0.0));
    EXPECT_DOUBLE_EQ(StiffClayNoFreeWaterP(zero, 0.3), StiffClayNoFreeWaterP(s, 0.3));
    const StiffClayNoFreeWaterCurve hundred = MakeStiffClayNoFreeWaterCurve(NoWater(true, 100.0));
    const double y50 = 2.5 * 0.005 * 30.0;
    EXPECT_NEAR(StiffClayNoFreeWaterP(hundred, 0.3), 0.5 * hundred.Pu * std::pow(0.3 / (2.2 * y50), 0.25), 1e-9);
    EXPECT_DOUBLE_EQ(StiffClayNoFreeWaterP(hundred, 1000.0), hundred.Pu);
    // printed spacing: step = (16 + 9.6 log10 N) y50 / 15, y_end = 18.75 step
    EXPECT_NEAR(hundred.Step, (16.0 + 19.2) * y50 / 15.0, 1e-12);
    EXPECT_NEAR(hundred.YEnd, 18.75 * hundred.Step, 1e-12);
}

TEST(StiffClayNoFreeWater, WithSmallKFollowsTheInitialLine) {
    for (bool cyclic : {false, true}) {
        StiffClayNoFreeWaterInput in = NoWater(cyclic, 10.0);
        in.b_UsesK = true;
        in.K = 1.0e-3;
        const StiffClayNoFreeWaterCurve c = MakeStiffClayNoFreeWaterCurve(in);
        std::array<double, 18> y{};
        StiffClayNoFreeWaterPrintedY(c, y);
        for (std::size_t i = 1; i <= 17; ++i)
            EXPECT_DOUBLE_EQ(StiffClayNoFreeWaterP(c, y[i]), 1.0e-3 * 60.0 * y[i]) << "point " << i;
    }
}

TEST(StiffClayNoFreeWater, PrintedDeflections) {
    const StiffClayNoFreeWaterCurve c = MakeStiffClayNoFreeWaterCurve(NoWater(false));
    std::array<double, 18> y{};
    StiffClayNoFreeWaterPrintedY(c, y);
    const double y16 = 16.0 * 2.5 * 0.005 * 30.0;
    EXPECT_EQ(y[1], 0.0);
    EXPECT_DOUBLE_EQ(y[2], 1.0e-5 * y16);
    EXPECT_DOUBLE_EQ(y[14], 0.5 * y16);
    EXPECT_NEAR(y[15], 0.5 * y16 + y16 / 15.0, 1e-12);
    EXPECT_NEAR(y[16], (y16 + 20.0 * y16 / 16.0) / 2.0, 1e-12);
    EXPECT_NEAR(y[17], y[16] + y16 / 15.0, 1e-12);
    for (std::size_t i = 2; i <= 17; ++i) EXPECT_GT(y[i], y[i - 1]);
}

TEST(StiffClayNoFreeWater, EquivalentDepthInvertsTheResistanceIntegral) {
    const double b = 30.0, c = 15.0, ca = 15.0, g = 0.07;
    // integral of Pct from 0 to h: (0.5 gamma b + 0.25 c) h^2 + 3 b c h
    const double xr = (9.0 * c - 3.0 * ca) * b / (0.5 * ca + g * b);
    for (double h : {5.0, 50.0, 0.9 * xr}) {
        const double f = (0.5 * g * b + 0.25 * ca) * h * h + 3.0 * b * ca * h;
        EXPECT_NEAR(StiffClayNoFreeWaterEquivalentDepth(f, b, c, ca, g), h, 1e-9 * h);
    }
    const double fr = (0.5 * g * b + 0.25 * ca) * xr * xr + 3.0 * b * ca * xr;
    EXPECT_NEAR(StiffClayNoFreeWaterEquivalentDepth(fr + 9.0 * c * b * 40.0, b, c, ca, g), xr + 40.0, 1e-9 * xr);
    EXPECT_EQ(StiffClayNoFreeWaterEquivalentDepth(0.0, b, c, ca, g), 0.0);
}

// The equivalent depth integrates the ultimate resistance of Reese, Cox &
// Koop (1975): pc = min(2 ca b + gamma' b z + 2.83 ca z, 11 c b) under static
// loading and Ac pc under cyclic loading, Ac = 0.2 + 0.153333 (z/b)
// - 0.075 (z/b)^2 + 0.011667 (z/b)^3 up to 0.3 (constant beyond 1.5 b), never
// the residual resistance R pc of the curve.
TEST(StiffClayFreeWater, EquivalentDepthInvertsTheUltimateResistanceIntegral) {
    const double b = 24.0, c = 10.0, ca = 10.0, g = 0.0361;
    const double xr = (11.0 * c - 2.0 * ca) * b / (g * b + 2.83 * ca);
    for (bool cyclic : {false, true}) {
        auto ultimate = [&](double z) {
            const double pc = std::min(2.0 * ca * b + g * b * z + 2.83 * ca * z, 11.0 * c * b);
            const double r = z / b;
            const double ac = r > 1.5 ? 0.3 : std::min(0.3, 0.2 + 0.153333 * r - 0.075 * r * r + 0.011667 * r * r * r);
            return cyclic ? ac * pc : pc;
        };
        for (double h : {0.05 * xr, 0.3 * xr, 0.7 * xr, 1.6 * xr}) {
            // Simpson integral of the ultimate resistance up to h
            const int n = 20000;
            double s = 0.0;
            for (int i = 0; i <= n; ++i) {
                const double w = (i == 0 || i == n) ? 1.0 : (i % 2 == 1 ? 4.0 : 2.0);
                s += w * ultimate(i * h / n);
            }
            const double f = s * h / n / 3.0;
            EXPECT_NEAR(StiffClayFreeWaterEquivalentDepth(f, b, c, ca, g, cyclic), h, 1e-3 * h)
                << "cyclic " << cyclic << " h " << h;
        }
    }
    // nothing above: depth 0, never negative
    EXPECT_EQ(StiffClayFreeWaterEquivalentDepth(0.0, b, c, ca, g, false), 0.0);
    EXPECT_GE(StiffClayFreeWaterEquivalentDepth(1.0e-6, b, c, ca, g, false), 0.0);
}
