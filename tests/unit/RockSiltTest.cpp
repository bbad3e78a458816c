// Weak rock, liquefied sand, loess and cemented silt: each curve at depths and
// deflections on every segment and at its boundaries, the 17 printed points,
// the agreement of the unit systems and the input errors, against hand
// evaluations of the published equations written here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "LayerTestSupport.h"
#include "soil/CementedSilt.h"
#include "soil/LiquefiedSand.h"
#include "soil/Loess.h"
#include "soil/PyCriteria.h"
#include "soil/WeakRock.h"

using namespace kestro;
using kestro::test::ATable;
using kestro::test::BTable;
using kestro::test::BuildPile;
using kestro::test::Clay;
using kestro::test::FlowP;
using kestro::test::WedgeP;

namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }
// 1 kN/m in lb/in, 1 kPa in psi, 1 kN/m3 in pci, 1 m in inches
constexpr double KNPerM = 1000.0 / 4.4482216152605 / 39.37007874015748;
constexpr double KPa = 1.0 / 6.894757293168361;
constexpr double KNPerM3 = KPa / 39.37007874015748;
constexpr double M = 39.37007874015748;

// ---- Weak rock (Reese 1997) ----
struct HandRock {
    double pur, kir, yrm, ya;
};
HandRock Rock(double b, double qu, double rqd, double krm, double eir, double xr) {
    const double ar = 1.0 - 2.0 * rqd / 300.0;
    HandRock r{};
    if (xr <= 3.0 * b) {
        r.pur = ar * qu * b * (1.0 + 1.4 * xr / b);
        r.kir = eir * (100.0 + 400.0 * xr / (3.0 * b));
    } else {
        r.pur = 5.2 * ar * qu * b;
        r.kir = 500.0 * eir;
    }
    r.yrm = krm * b;
    // exponent 1.333 as the single-precision value of the criterion
    r.ya = std::pow(r.pur / (2.0 * std::pow(r.yrm, 0.25) * r.kir), static_cast<double>(1.3329999f));
    return r;
}
double RockP(const HandRock& r, double y) {
    if (y < r.ya) return r.kir * y;
    return std::min(r.pur, 0.5 * r.pur * std::pow(y / r.yrm, 0.25));
}

// ---- Liquefied sand (Rollins et al. 2005), SI: z, b, y in m, p in kN/m ----
double LiqP(double s, double bm, double ymm) {
    const double A = 3.0e-7 * std::pow(s, 6.05), B = 2.80 * std::pow(s, 0.11), C = 2.85 * std::pow(s, -0.41);
    const double pd = 3.81 * std::log(bm) + 5.6;
    return A * std::pow(B * ymm, C) * pd;
}

// ---- Loess (Johnson et al. 2006) ----
double LoessP(double qc, double x, double b, double N, double yref, double y) {
    const double qca = x < 2.0 * b ? qc * (x / (2.0 * b) + 0.5) : qc;
    const double pu = b * 0.409 * qca / (1.0 + 0.24 * std::log(N));
    const double r = y / yref;
    return pu / yref * y / (1.0 + r * (1.0 + 0.1 * std::exp(-r)));
}

// ---- Cemented silt: level ground, layer 1 (z_eq = z), J = 0.5 ----
struct HandSilt {
    double pu, pm, ym, yu, m, n, cbar, kx, yk;
};
HandSilt Silt(double b, double c, double phi, double g, double k, double z, bool cyclic = false) {
    HandSilt h{};
    const double puphi = std::min(WedgeP(phi, b, g, z), FlowP(phi, b, g, z));
    const double np = 3.0 + g * z / c + 0.5 * z / b;
    const double puc = np >= 9.0 ? 9.0 * c * b : np * c * b;
    const double A = cyclic ? kestro::test::ACyclicTable(z / b) : ATable(z / b);
    const double B = cyclic ? kestro::test::BCyclicTable(z / b) : BTable(z / b);
    h.pu = A * puphi + puc;
    h.pm = B * puphi + puc;
    h.ym = b / 60.0;
    h.yu = 3.0 * b / 80.0;
    h.m = (h.pu - h.pm) / (h.yu - h.ym);
    h.n = h.pm / (h.ym * h.m);
    h.cbar = h.pm / std::pow(h.ym, 1.0 / h.n);
    h.kx = k * z;
    h.yk = std::pow(h.cbar / h.kx, h.n / (h.n - 1.0));
    return h;
}
double SiltP(const HandSilt& h, double y) {
    double p = h.pu;
    if (y <= h.yk)
        p = h.kx * y;
    else if (y <= h.ym)
        p = h.cbar * std::pow(y, 1.0 / h.n);
    else if (y <= h.yu)
        p = h.pm + h.m * (y - h.ym);
    return std::min(p, h.kx * y);
}

SoilPoint RockPoint(double g, double qu, double eir, double rqd, double krm) {
    SoilPoint p;
    p.UnitWeight = g;
    p.Cohesion = qu;
    p.Kpy = eir;
    p.RQD = rqd;
    p.Epsilon50 = krm;
    return p;
}
SoilPoint SiltPoint(double g, double c, double phi, double k, double eps) {
    SoilPoint p = Clay(g, c, eps, k);
    p.FrictionAngle = phi;
    return p;
}
SoilPoint WeightPoint(double g, double qc = 0.0) {
    SoilPoint p;
    p.UnitWeight = g;
    p.ConeTipResistance = qc;
    return p;
}

// The 17 rows of the first printed page in `text`: y, p and half a unit of
// the last digit each was printed with (the rounding of the page).
struct Row {
    double Y, P, TolY, TolP;
};
double HalfLastDigit(const std::string& token) {
    const std::size_t dot = token.find('.');
    if (dot == std::string::npos) return 0.5;
    return 0.5 * std::pow(10.0, -static_cast<double>(token.size() - dot - 1)) * (1 + 1e-9);
}
std::vector<Row> PrintedRows(const std::string& text) {
    std::vector<Row> rows;
    std::size_t at = text.find("-----\n");
    if (at == std::string::npos) return rows;
    std::istringstream in(text.substr(at + 6));
    std::string line;
    while (rows.size() < 17 && std::getline(in, line)) {
        std::istringstream f(line);
        std::string a, b;
        if (!(f >> a >> b)) continue;
        rows.push_back(Row{std::stod(a), std::stod(b), HalfLastDigit(a), HalfLastDigit(b)});
    }
    return rows;
}

// Prints the curve of layer k at depth x (one temporary station) and returns the page.
std::string PrintAt(int k, double x) {
    Pile.x[St(1)] = Pile.xv[St(1)] = x;
    for (int j = 1; j <= Problem.NumLayers; ++j) Pile.FirstStation[U(j)] = Pile.LastStation[U(j)] = 0;
    Pile.FirstStation[U(k)] = Pile.LastStation[U(k)] = 1;
    testing::internal::CaptureStdout();
    PrintLayerCurves(k);
    return testing::internal::GetCapturedStdout();
}

}  // namespace

// ---------------------------------------------------------------- weak rock

struct RockCase {
    double Xr;     // depth into rock
    double YOver;  // deflection as a multiple of ...
    int Base;      // 0: y_A, 1: y_rm
};
class WeakRockCurveTest : public testing::TestWithParam<RockCase> {};

TEST_P(WeakRockCurveTest, FollowsTheThreeSegments) {
    const RockCase& c = GetParam();
    const double b = 36.0, qu = 500.0, rqd = 40.0, krm = 1.0e-4, eir = 80000.0;
    const HandRock h = Rock(b, qu, rqd, krm, eir, c.Xr);
    const WeakRockCurve cv = MakeWeakRockCurve(WeakRockInput{b, qu, rqd, krm, eir, c.Xr});
    EXPECT_NEAR(cv.Pur, h.pur, 1e-7 * h.pur);
    EXPECT_NEAR(cv.Kir, h.kir, 1e-9 * h.kir);
    EXPECT_NEAR(cv.YA, h.ya, 1e-7 * h.ya);
    const double y = c.YOver * (c.Base == 0 ? h.ya : h.yrm);
    const double p = RockP(h, y);
    EXPECT_NEAR(WeakRockP(cv, y), p, 2e-7 * p) << "xr = " << c.Xr << " y = " << y;
}

INSTANTIATE_TEST_SUITE_P(
    SegmentsAndBoundaries, WeakRockCurveTest,
    testing::Values(RockCase{0.0, 0.5, 0}, RockCase{0.0, 1.0 - 1e-6, 0}, RockCase{0.0, 1.0 + 1e-6, 0},
                    RockCase{0.0, 3.0, 1}, RockCase{0.0, 16.0 * (1 - 1e-6), 1}, RockCase{0.0, 16.0 * (1 + 1e-6), 1},
                    RockCase{54.0, 0.3, 0}, RockCase{54.0, 8.0, 1}, RockCase{108.0 * (1 - 1e-9), 2.0, 1},
                    RockCase{108.0 * (1 + 1e-9), 2.0, 1}, RockCase{108.0 * (1 + 1e-9), 0.7, 0},
                    RockCase{300.0, 1.0 - 1e-6, 0}, RockCase{300.0, 1.0 + 1e-6, 0}, RockCase{300.0, 40.0, 1}));

TEST(WeakRockCurve, RqdAndThreeWidthsLimits) {
    // RQD 0: alpha_r = 1; RQD 100: 1/3. At xr = 3b the shallow forms equal the deep ones.
    const double b = 30.0;
    const WeakRockCurve r0 = MakeWeakRockCurve(WeakRockInput{b, 400.0, 0.0, 2e-4, 5e4, 90.0});
    const WeakRockCurve r100 = MakeWeakRockCurve(WeakRockInput{b, 400.0, 100.0, 2e-4, 5e4, 90.0});
    EXPECT_NEAR(r0.AlphaR, 1.0, 1e-15);
    EXPECT_NEAR(r100.AlphaR, 1.0 / 3.0, 1e-7);
    EXPECT_NEAR(r0.Pur, 5.2 * 400.0 * b, 1e-9 * r0.Pur);
    EXPECT_NEAR(r0.Kir, 500.0 * 5e4, 1e-6);
}

TEST(WeakRockLayer, StationModuliUnderSoftClayAndDepthIntoRock) {
    // Soft clay 0..120 in over weak rock 120..240 and 240..480 in (two rock layers:
    // the lower one measures xr from the top of the upper one). b = 24 in, h = 12 in.
    const double b = 24.0, qu = 500.0, eir = 50000.0, rqd = 30.0, krm = 1.0e-4;
    BuildPile({{SoilSoftClay, 0.0, 120.0, Clay(0.03, 3.0, 0.02), Clay(0.03, 3.0, 0.02)},
               {SoilWeakRock, 120.0, 240.0, RockPoint(0.08, qu, eir, rqd, krm), RockPoint(0.08, qu, eir, rqd, krm)},
               {SoilWeakRock, 240.0, 480.0, RockPoint(0.08, qu, eir, rqd, krm), RockPoint(0.08, qu, eir, rqd, krm)}},
              b, 480.0, 40, 0.0);
    struct At {
        int Layer, Station;
        double Y;
    };
    // station 14: x = 156 (xr 36, shallow); 17: x = 192 (xr just above 72: deep); 26: x = 300 in layer 3 (xr 180)
    const At cases[] = {{2, 14, 1e-5}, {2, 14, 0.01}, {2, 14, 1.0}, {2, 17, 2e-4}, {2, 17, 0.05}, {3, 26, 0.02}};
    for (const At& a : cases) {
        for (int i = 1; i <= 41; ++i) Pile.y[St(i)] = a.Y;
        EvaluateLayerCriterion(a.Layer);
        ASSERT_FALSE(Failed());
        const double x = (a.Station - 1) * 12.0;
        const HandRock h = Rock(b, qu, rqd, krm, eir, x + 1e-8 - 120.0);
        const double es = a.Y < h.ya ? h.kir : RockP(h, a.Y) / a.Y;
        EXPECT_NEAR(Pile.Es[St(a.Station)], es, 1e-6 * es) << "station " << a.Station << " y " << a.Y;
    }
    // Layer resistance of layer 3: trapezoids of pur at its stations 21..41 plus nothing below the tip.
    double R = 0.0;
    for (int i = 22; i <= 41; ++i) {
        const double x0 = (i - 2) * 12.0, x1 = (i - 1) * 12.0;
        R += 6.0 * (Rock(b, qu, rqd, krm, eir, x0 - 120.0).pur + Rock(b, qu, rqd, krm, eir, x1 - 120.0).pur);
    }
    EXPECT_NEAR(Soil.LayerResistance[3], R, 1e-6 * R);
}

TEST(WeakRockLayer, StrengthAndStrainWarnings) {
    struct W {
        int Units;
        double Qu, Krm;
        int Warning;
        bool Raised;
    };
    const W cases[] = {{UnitsUS, 100.0 * (1 - 1e-9), 1e-4, 3071, true},  {UnitsUS, 100.0 * (1 + 1e-9), 1e-4, 3071, false},
                       {UnitsUS, 1000.0 * (1 + 1e-9), 1e-4, 3072, true}, {UnitsUS, 1000.0 * (1 - 1e-9), 1e-4, 3072, false},
                       {UnitsSI, 689.5 * (1 - 1e-9), 1e-4, 3073, true},  {UnitsSI, 689.5 * (1 + 1e-9), 1e-4, 3073, false},
                       {UnitsSI, 6895.0 * (1 + 1e-9), 1e-4, 3074, true}, {UnitsSI, 6895.0 * (1 - 1e-9), 1e-4, 3074, false},
                       {UnitsUS, 500.0, 5e-5 * (1 - 1e-9), 316, true},   {UnitsUS, 500.0, 5e-5 * (1 + 1e-9), 316, false},
                       {UnitsUS, 500.0, 5e-4 * (1 + 1e-9), 317, true},   {UnitsUS, 500.0, 5e-4 * (1 - 1e-9), 317, false}};
    for (const W& c : cases) {
        const double L = c.Units == UnitsSI ? 10.0 : 400.0, b = c.Units == UnitsSI ? 0.6 : 24.0;
        const SoilPoint r = RockPoint(c.Units == UnitsSI ? 20.0 : 0.08, c.Qu, c.Units == UnitsSI ? 4e5 : 5e4, 20.0, c.Krm);
        BuildPile({{SoilWeakRock, 0.0, L, r, r}}, b, L, 40, 0.001 * b, c.Units);
        EvaluateLayerCriterion(1);
        ASSERT_FALSE(Failed());
        EXPECT_EQ(Warnings.WarningCount[U(c.Warning)] > 0, c.Raised) << c.Warning << " qu " << c.Qu << " krm " << c.Krm;
    }
}

TEST(WeakRockLayer, BadInputStopsWithItsError) {
    struct E {
        double QuTop, QuBottom, Eir, Rqd, Krm;
        int Error;
    };
    const E cases[] = {
        {0.0, 0.0, 5e4, 20.0, 1e-4, 162},     // qu zero: Input Data Error 62
        {-50.0, -50.0, 5e4, 20.0, 1e-4, 162}, // qu negative
        {500.0, 500.0, 5e4, 100.5, 1e-4, 149},  // RQD above 100: Input Data Error 49
        {500.0, 500.0, 5e4, -1.0, 1e-4, 149},   // RQD below 0
        {500.0, 500.0, 0.0, 20.0, 1e-4, 176},   // zero rock mass modulus
        {500.0, 500.0, 5e4, 20.0, 0.0, 163},    // k_rm zero: Input Data Error 63
    };
    for (const E& c : cases) {
        BuildPile({{SoilWeakRock, 0.0, 400.0, RockPoint(0.08, c.QuTop, c.Eir, c.Rqd, c.Krm),
                    RockPoint(0.08, c.QuBottom, c.Eir, c.Rqd, c.Krm)}},
                  24.0, 400.0, 40, 0.01);
        EvaluateLayerCriterion(1);
        EXPECT_EQ(kestro::Run.ErrorNumber, c.Error) << "qu " << c.QuTop << " Eir " << c.Eir << " RQD " << c.Rqd;
        for (int i = 1; i <= 41; ++i) EXPECT_TRUE(std::isfinite(Pile.Es[St(i)]));
    }
}

TEST(WeakRockPage, PrintsTheSeventeenPoints) {
    const double b = 36.0, qu = 500.0, eir = 60000.0, rqd = 50.0, krm = 2e-4;
    BuildPile({{SoilWeakRock, 0.0, 480.0, RockPoint(0.08, qu, eir, rqd, krm), RockPoint(0.08, qu, eir, rqd, krm)}}, b,
              480.0, 40, 0.01);
    const std::string page = PrintAt(1, 60.0);
    ASSERT_FALSE(Failed());
    ASSERT_NE(page.find("\n\np-y Curve Computed Using Weak Rock Criteria\n\nSoil Layer Number                =            1\n"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("RQD                              =       50.000 %\n"), std::string::npos) << page;
    const HandRock h = Rock(b, qu, rqd, krm, eir, 60.0);
    const double f[17] = {0, 0, 0.02, 0.04, 0.06, 0.08, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 0};
    const auto rows = PrintedRows(page);
    ASSERT_EQ(rows.size(), 17u);
    for (int n = 0; n < 17; ++n) {
        double y = n == 0 ? 0.0 : (n == 16 ? 20.0 * h.yrm : h.ya + f[n] * (16.0 * h.yrm - h.ya));
        if (n == 1) y = h.ya;
        const double p = RockP(h, y);
        EXPECT_NEAR(rows[U(n)].Y, y, rows[U(n)].TolY) << "point " << n + 1;
        EXPECT_NEAR(rows[U(n)].P, p, rows[U(n)].TolP) << "point " << n + 1;
    }
}

// ------------------------------------------------------------ liquefied sand

TEST(LiquefiedSandCurve, PowerLawWithDiameterCorrectionAndLimit) {
    // SI: gamma' = 8.5 kN/m3, b = 0.6 and 1.5 m, at the surface and 3 m deep.
    struct L {
        double Z, B, Y;
    };
    const L cases[] = {{0.0, 0.6, 0.01}, {3.0, 0.6, 0.002}, {3.0, 0.6, 0.02}, {3.0, 1.5, 0.05}, {1.0, 2.0, 0.14}};
    for (const L& c : cases) {
        const double s = c.Z > 1e-7 ? 0.1 * 8.5 * c.Z + 1.0 : 0.1 * 8.5 * 1e-4 + 1.0;
        const double pu = std::min(15.0, LiqP(s, c.B, 150.0));
        const double p = std::min(pu, LiqP(s, c.B, 1000.0 * c.Y));
        const LiquefiedSandCurve cv = MakeLiquefiedSandCurve(8.5, c.Z, c.B, UnitsSI);
        EXPECT_NEAR(cv.Pu, pu, 1e-9 * pu);
        EXPECT_NEAR(LiquefiedSandP(cv, c.Y), p, 1e-9 * p) << c.Z << " " << c.B << " " << c.Y;
    }
    // The upper limit from both sides: a wide pile reaches 15 kN/m before 150 mm.
    const LiquefiedSandCurve wide = MakeLiquefiedSandCurve(8.5, 3.0, 2.5, UnitsSI);
    EXPECT_DOUBLE_EQ(wide.Pu, 15.0);
    const double s = 0.1 * 8.5 * 3.0 + 1.0;
    double lo = 0.0, hi = 150.0;   // deflection (mm) where the power law reaches 15
    for (int it = 0; it < 200; ++it) ((LiqP(s, 2.5, 0.5 * (lo + hi)) < 15.0) ? lo : hi) = 0.5 * (lo + hi);
    EXPECT_NEAR(LiquefiedSandP(wide, lo * (1 - 1e-6) / 1000.0), LiqP(s, 2.5, lo * (1 - 1e-6)), 1e-9);
    EXPECT_LT(LiquefiedSandP(wide, lo * (1 - 1e-6) / 1000.0), 15.0);
    EXPECT_DOUBLE_EQ(LiquefiedSandP(wide, hi * (1 + 1e-6) / 1000.0), 15.0);
}

TEST(LiquefiedSandLayer, ModulusResistanceAndPrintedPoints) {
    const double b = 0.6, g = 8.5;
    BuildPile({{SoilLiquefiedSand, 0.0, 5.0, WeightPoint(g), WeightPoint(g)},
               {SoilApiSand, 5.0, 12.0, kestro::test::Sand(10.0, 36.0, 33900.0), kestro::test::Sand(10.0, 36.0, 33900.0)}},
              b, 12.0, 40, 0.03, UnitsSI);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    const double h = 0.3;
    auto pAt = [&](double z, double ymm) {
        const double s = (z > 1e-7 ? 0.1 * g * z : 0.1 * g * 1e-4) + 1.0;
        return std::min(std::min(15.0, LiqP(s, b, 150.0)), LiqP(s, b, ymm));
    };
    for (int i : {1, 5, 16}) {
        const double z = (i - 1) * h;
        EXPECT_NEAR(Pile.Es[St(i)], pAt(z, 30.0) / 0.03, 1e-9 * pAt(z, 30.0) / 0.03) << i;
    }
    // resistance: trapezoids of pu over stations 1..17 (x = 0..4.8), then (5.0 - 4.8) pu(4.8)
    double R = 0.0;
    for (int i = 2; i <= 17; ++i) R += h * 0.5 * (pAt((i - 2) * h, 150.0) + pAt((i - 1) * h, 150.0));
    R += 0.2 * pAt(4.8, 150.0);
    EXPECT_NEAR(Soil.LayerResistance[1], R, 1e-9 * R);
    EXPECT_NEAR(Soil.LiquefiedResistance[1], R, 1e-9 * R);

    const std::string page = PrintAt(1, 2.0);
    ASSERT_FALSE(Failed());
    EXPECT_NE(page.find("\n\np-y Curve Computed Using Liquefied Sand Criteria\n\n\nDepth below ground surface"),
              std::string::npos)
        << page;
    const double ys[17] = {0.00025, 0.0025, 0.005, 0.01,   0.015, 0.02,   0.025, 0.0375, 0.05,
                           0.0625,  0.075,  0.0875, 0.1,   0.1125, 0.125, 0.1375, 0.15};
    const auto rows = PrintedRows(page);
    ASSERT_EQ(rows.size(), 17u);
    for (int n = 0; n < 17; ++n) {
        EXPECT_NEAR(rows[U(n)].Y, ys[n], rows[U(n)].TolY) << n + 1;
        const double p = pAt(2.0, 1000.0 * ys[n]);
        EXPECT_NEAR(rows[U(n)].P, p, rows[U(n)].TolP) << n + 1;
    }
}

TEST(LiquefiedSandLayer, NarrowPileStopsInsteadOfPushing) {
    // 3.81 ln(b) + 5.6 turns negative below b = exp(-5.6/3.81) = 0.2299 m
    const double bmin = std::exp(-5.6 / 3.81);
    for (double f : {1 - 1e-6, 1 + 1e-6}) {
        BuildPile({{SoilLiquefiedSand, 0.0, 5.0, WeightPoint(8.5), WeightPoint(8.5)}}, bmin * f, 5.0, 40, 0.01, UnitsSI);
        EvaluateLayerCriterion(1);
        EXPECT_EQ(kestro::Run.ErrorNumber, f < 1 ? 178 : 0) << f;
    }
}

// -------------------------------------------------------------------- loess

TEST(LoessCurve, HyperbolaNearSurfaceAdjustmentAndCycles) {
    struct C {
        double X, N, YOverRef;
    };
    const double b = 30.0, qc = 300.0, yref = 0.117;
    const C cases[] = {{0.0, 1.0, 1.0},          {30.0, 1.0, 0.25},         {60.0 * (1 - 1e-9), 1.0, 2.0},
                       {60.0 * (1 + 1e-9), 1.0, 2.0}, {240.0, 1.0, 1.0}, {240.0, 10.0, 8.0}, {240.0, 4.0, 50.0}};
    for (const C& c : cases) {
        const LoessCurve cv = MakeLoessCurve(qc, c.X, b, c.N, UnitsUS);
        const double y = c.YOverRef * yref;
        const double p = LoessP(qc, c.X, b, c.N, yref, y);
        EXPECT_NEAR(LoessP(cv, y), p, 1e-12 * p) << c.X << " " << c.N << " " << c.YOverRef;
    }
    // N = 1: pu = b pu0; at y_ref, p = Ei y_ref / (2 + 0.1 e^-1)
    const LoessCurve one = MakeLoessCurve(qc, 240.0, b, 1.0, UnitsUS);
    EXPECT_DOUBLE_EQ(one.Pu, b * 0.409 * qc);
    EXPECT_NEAR(LoessP(one, yref), one.Ei * yref / (2.0 + 0.1 * std::exp(-1.0)), 1e-12 * one.Pu);
}

TEST(LoessLayer, ModulusAtZeroAndPrintedPoints) {
    const double b = 30.0, yref = 0.117;
    BuildPile({{SoilLoess, 0.0, 480.0, WeightPoint(0.055, 250.0), WeightPoint(0.058, 450.0)}}, b, 480.0, 40, 0.0);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    // zero deflection: Ei = pu / y_ref (N = 1 for static loading)
    const double qc20 = 250.0 + 228.0 / 480.0 * 200.0;   // station 20 at x = 228 in
    EXPECT_NEAR(Pile.Es[St(20)], b * 0.409 * qc20 / yref, 1e-9 * b * 0.409 * qc20 / yref);
    const std::string page = PrintAt(1, 24.0);
    ASSERT_FALSE(Failed());
    EXPECT_NE(page.find("Depth Adj. Cone tip resistance"), std::string::npos) << page;
    EXPECT_NE(page.find("        y, in        p, lb/in\n---------------   ---------------\n"), std::string::npos) << page;
    const double qc = 250.0 + 24.0 / 480.0 * 200.0;
    const double r[17] = {0, 0.25, 0.5, 0.75, 1, 1.5, 2, 3, 4, 6, 8, 12, 16, 23, 30, 40, 50};
    const auto rows = PrintedRows(page);
    ASSERT_EQ(rows.size(), 17u);
    for (int n = 0; n < 17; ++n) {
        const double y = r[n] * yref, p = LoessP(qc, 24.0, b, 1.0, yref, y);
        EXPECT_NEAR(rows[U(n)].Y, y, rows[U(n)].TolY) << n + 1;
        EXPECT_NEAR(rows[U(n)].P, p, rows[U(n)].TolP) << n + 1;
    }
}

TEST(LoessLayer, BadInputStops) {
    // more than 10.1 cycles
    for (double N : {10.1 * (1 - 1e-9), 10.1 * (1 + 1e-9)}) {
        BuildPile({{SoilLoess, 0.0, 480.0, WeightPoint(0.055, 250.0), WeightPoint(0.058, 450.0)}}, 30.0, 480.0, 40, 0.1);
        Problem.Options.LoadingType = true;
        Problem.Options.NumberOfCycles = N;
        EvaluateLayerCriterion(1);
        EXPECT_EQ(kestro::Run.ErrorNumber, N > 10.1 ? 170 : 0) << N;
    }
    // a cone tip resistance of zero at the top or the bottom
    for (double top : {0.0, 250.0}) {
        BuildPile({{SoilLoess, 0.0, 480.0, WeightPoint(0.055, top), WeightPoint(0.058, top > 0.0 ? 0.0 : 300.0)}}, 30.0,
                  480.0, 40, 0.1);
        EvaluateLayerCriterion(1);
        EXPECT_EQ(kestro::Run.ErrorNumber, 177);
    }
}

// ------------------------------------------------------------ cemented silt

TEST(CementedSiltCurve, FourSegmentsAndBoundaries) {
    // US: b = 24 in, c = 4 psi, phi = 32 deg, gamma' = 0.065 pci, k = 300 pci, z = 48 and 150 in
    const double b = 24.0, c = 4.0, phi = 32.0, g = 0.065, k = 300.0;
    for (const auto& [z, cyclic] : {std::pair{48.0, false}, std::pair{150.0, false}, std::pair{48.0, true},
                                    std::pair{150.0, true}}) {
        const HandSilt h = Silt(b, c, phi, g, k, z, cyclic);
        ASSERT_LT(h.yk, h.ym);
        CementedSiltInput in;
        in.B = b, in.C = c, in.Phi = phi * 3.14159265358979323846 / 180.0, in.Gamma = g, in.K = k, in.Z = z, in.ZEq = z;
        in.b_Cyclic = cyclic;
        const CementedSiltCurve cv = MakeCementedSiltCurve(in);
        EXPECT_NEAR(cv.Pu, h.pu, 1e-9 * h.pu);
        EXPECT_NEAR(cv.Yk, h.yk, 1e-9 * h.yk);
        const double ys[] = {0.5 * h.yk,          h.yk * (1 - 1e-6), h.yk * (1 + 1e-6), 0.5 * (h.yk + h.ym),
                             h.ym * (1 - 1e-6),  h.ym * (1 + 1e-6), 0.5 * (h.ym + h.yu), h.yu * (1 - 1e-6),
                             h.yu * (1 + 1e-6),  3.0 * h.yu};
        for (double y : ys) EXPECT_NEAR(CementedSiltP(cv, y), SiltP(h, y), 1e-9 * h.pu) << "z " << z << " y " << y;
    }
}

TEST(CementedSiltLayer, ModulusPrintedPointsAndErrors) {
    const double b = 24.0, c = 4.0, phi = 32.0, g = 0.065, k = 300.0;
    const SoilPoint s = SiltPoint(g, c, phi, k, 0.007);
    BuildPile({{SoilCementedSilt, 0.0, 480.0, s, s}}, b, 480.0, 40, 0.3);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    const HandSilt h = Silt(b, c, phi, g, k, 48.0);   // station 5
    EXPECT_NEAR(Pile.Es[St(5)], SiltP(h, 0.3) / 0.3, 1e-9 * SiltP(h, 0.3) / 0.3);

    const std::string page = PrintAt(1, 48.0);
    ASSERT_FALSE(Failed());
    EXPECT_NE(page.find("p-y Curve Computed Using the Static Criteria for Cemented Silt"), std::string::npos);
    const auto rows = PrintedRows(page);
    ASSERT_EQ(rows.size(), 17u);
    for (int n = 0; n < 17; ++n) {
        const double y = n <= 12 ? n * b / 720.0 : h.yu + (n - 13) * b;
        const double p = SiltP(h, y);
        EXPECT_NEAR(rows[U(n)].Y, y, rows[U(n)].TolY) << n + 1;
        EXPECT_NEAR(rows[U(n)].P, p, rows[U(n)].TolP) << n + 1;
    }

    // c = 0 below the layer top: Input Data Error 48; phi = 0: 10; slope above phi: Runtime Error 23
    BuildPile({{SoilCementedSilt, 0.0, 480.0, SiltPoint(g, 0.0, phi, k, 0.007), SiltPoint(g, 0.0, phi, k, 0.007)}}, b,
              480.0, 40, 0.3);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 148);
    BuildPile({{SoilCementedSilt, 0.0, 480.0, SiltPoint(g, c, 0.0, k, 0.007), SiltPoint(g, c, 0.0, k, 0.007)}}, b, 480.0,
              40, 0.3);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 110);
    BuildPile({{SoilCementedSilt, 0.0, 480.0, s, s}}, b, 480.0, 40, 0.3);
    Problem.EffectiveSlope = Problem.GroundSlope = 33.0 * 3.14159265358979323846 / 180.0;
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 223);
    // default k in general units
    BuildPile({{SoilCementedSilt, 0.0, 20.0, SiltPoint(10.0, 30.0, phi, 0.0, 0.007), SiltPoint(10.0, 30.0, phi, 0.0, 0.007)}},
              1.0, 20.0, 40, 0.01, UnitsGeneral);
    EvaluateLayerCriterion(1);
    EXPECT_EQ(kestro::Run.ErrorNumber, 213);
}

TEST(CementedSiltLayer, BelowSandUsesTheEquivalentDepthOfItsOwnResistance) {
    // Reese sand 0..96 in over cemented silt: the silt's equivalent depth h satisfies
    // sum q_j dz = F with q = A gamma' b^2 (D1 (z/b)^2 + D2 z/b) + (gamma' b + 0.5 c) z + 3 b c.
    const double b = 24.0, g = 0.065, c = 4.0, phi = 32.0;
    BuildPile({{SoilSandReese, 0.0, 96.0, kestro::test::Sand(g, 35.0, 100.0), kestro::test::Sand(g, 35.0, 100.0)},
               {SoilCementedSilt, 96.0, 480.0, SiltPoint(g, c, phi, 300.0, 0.007), SiltPoint(g, c, phi, 300.0, 0.007)}},
              b, 480.0, 40, 0.3);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    EvaluateLayerCriterion(2);
    ASSERT_FALSE(Failed());
    const double F = Soil.LayerResistance[1], h = Soil.EquivalentDepth[2];
    ASSERT_GT(h, 0.0);
    // Published shallow and deep sand resistances: A gamma' b^2 (D1 (z/b)^2 + D2 z/b) and
    // 0.88 D3 gamma' b z, meeting at zt = (D3 - D2) b / D1; the silt adds (gamma' b + 0.5 c) z + 3 b c
    // above zt and 9 c b below.
    // the first silt station lies on the interface: its friction angle is the mean of 35 and 32 degrees
    const double pi = 3.14159265358979323846, f = 0.5 * (35.0 + phi) * pi / 180.0, al = f / 2.0, be = pi / 4.0 + f / 2.0;
    const double ka = std::pow(std::tan(pi / 4.0 - al), 2.0), kp = std::pow(std::tan(be), 2.0), k0 = 0.4;
    const double d1 = std::tan(be) * (kp * std::tan(al) + k0 * (std::sin(be) * (1.0 / std::cos(al) + 1.0) * std::tan(f) - std::tan(al)));
    const double d2 = kp - ka, d3 = kp * kp * (kp + k0 * std::tan(f)) - ka;
    const double zt = (d3 - d2) * b / d1;
    // the inversion sums q_j dz at z_j = j dz, dz = zt / 500, and interpolates within the last step
    ASSERT_LT(h, zt);
    const double dz = zt / 500.0;
    auto q = [&](double z) {
        const double r = z / b;
        return ATable(r) * g * b * b * (d1 * r * r + d2 * r) + (g * b + 0.5 * c) * z + 3.0 * b * c;
    };
    double sum = 0.0;
    int j = 1;
    for (; j * dz <= h; ++j) sum += q(j * dz) * dz;
    sum += (h - (j - 1) * dz) * q(j * dz);
    EXPECT_NEAR(sum, F, 1e-6 * F) << "h " << h << " zt " << zt;
}

// ------------------------------------------------------------------- units

TEST(RockAndSiltUnits, OneProblemGivesOneCurveInEveryUnitSystem) {
    // Weak rock: b 0.9 m, qu 3500 kPa, Eir 400 MPa, RQD 40, krm 2e-4, xr 1.2 m
    const double bm = 0.9, xm = 1.2;
    const WeakRockCurve si = MakeWeakRockCurve(WeakRockInput{bm, 3500.0, 40.0, 2e-4, 4e5, xm});
    const WeakRockCurve us = MakeWeakRockCurve(WeakRockInput{bm * M, 3500.0 * KPa, 40.0, 2e-4, 4e5 * KPa, xm * M});
    const WeakRockCurve ge = MakeWeakRockCurve(WeakRockInput{bm, 3500.0, 40.0, 2e-4, 4e5, xm});
    // Loess: b 0.75 m, qc 2 MPa, 5 cycles, x 4 m
    const LoessCurve lsi = MakeLoessCurve(2000.0, 4.0, 0.75, 5.0, UnitsSI);
    const LoessCurve lus = MakeLoessCurve(2000.0 * KPa, 4.0 * M, 0.75 * M, 5.0, UnitsUS);
    const LoessCurve lge = MakeLoessCurve(2000.0, 4.0, 0.75, 5.0, UnitsGeneral);
    // Cemented silt: b 0.6 m, c 25 kPa, phi 32, gamma' 18 kN/m3, k 40000 kN/m3, z 2 m
    CementedSiltInput csi;
    csi.B = 0.6, csi.C = 25.0, csi.Phi = 32.0 * 3.14159265358979323846 / 180.0, csi.Gamma = 18.0, csi.K = 40000.0;
    csi.Z = csi.ZEq = 2.0;
    CementedSiltInput cus = csi;
    cus.B = 0.6 * M, cus.C = 25.0 * KPa, cus.Gamma = 18.0 * KNPerM3, cus.K = 40000.0 * KNPerM3, cus.Z = cus.ZEq = 2.0 * M;
    const CementedSiltCurve ssi = MakeCementedSiltCurve(csi), sus = MakeCementedSiltCurve(cus);
    // Liquefied sand: the US overburden term is built on 0.036 pci where SI takes 10 kN/m3,
    // so the two agree for those unit weights (0.036 pci = 9.77 kN/m3; see the decisions).
    const LiquefiedSandCurve qsi = MakeLiquefiedSandCurve(10.0, 3.0, 0.6, UnitsSI);
    const LiquefiedSandCurve qus = MakeLiquefiedSandCurve(0.036, 3.0 * M, 0.6 * M, UnitsUS);
    const LiquefiedSandCurve qge = MakeLiquefiedSandCurve(10.0, 3.0, 0.6, UnitsGeneral);
    for (double ym : {1e-5, 2e-4, 1e-3, 0.004, 0.012, 0.03, 0.1}) {
        const double r1 = WeakRockP(si, ym), r2 = WeakRockP(us, ym * M) / KNPerM;
        EXPECT_NEAR(r2, r1, 1e-6 * r1) << "weak rock y " << ym;
        EXPECT_EQ(WeakRockP(ge, ym), r1);
        const double l1 = LoessP(lsi, ym), l2 = LoessP(lus, ym * M) / KNPerM;
        EXPECT_NEAR(l2, l1, 1e-6 * l1) << "loess y " << ym;
        EXPECT_EQ(LoessP(lge, ym), l1);
        const double c1 = CementedSiltP(ssi, ym), c2 = CementedSiltP(sus, ym * M) / KNPerM;
        EXPECT_NEAR(c2, c1, 1e-6 * c1) << "cemented silt y " << ym;
        const double q1 = LiquefiedSandP(qsi, ym), q2 = LiquefiedSandP(qus, ym * M) / KNPerM;
        EXPECT_NEAR(q2, q1, 1e-6 * q1) << "liquefied sand y " << ym;
        EXPECT_EQ(LiquefiedSandP(qge, ym), q1);
    }
}

// ------------------------------------------------------------ layered profiles

TEST(RockLayers, ClayBelowWeakRockTakesNoEquivalentDepth) {
    // soft clay 0..120 in, weak rock 120..240 in, soft clay 240..480 in, evaluated in order
    // as the load-case iteration does, counting the rock layer after it is evaluated.
    const double b = 24.0, c = 3.0, g = 0.03, y0 = 0.5;
    BuildPile({{SoilSoftClay, 0.0, 120.0, Clay(g, c, 0.02), Clay(g, c, 0.02)},
               {SoilWeakRock, 120.0, 240.0, RockPoint(g, 500.0, 5e4, 30.0, 1e-4), RockPoint(g, 500.0, 5e4, 30.0, 1e-4)},
               {SoilSoftClay, 240.0, 480.0, Clay(g, c, 0.02), Clay(g, c, 0.02)}},
              b, 480.0, 40, y0);
    Soil.RockLayerCount = 0;
    for (int k = 1; k <= 3; ++k) {
        EvaluateLayerCriterion(k);
        ASSERT_FALSE(Failed());
        if (IncrementsRockLayerCount(Problem.Layers[U(k)].SoilType)) ++Soil.RockLayerCount;
    }
    EXPECT_EQ(Soil.RockLayerCount, 1);
    EXPECT_EQ(Soil.EquivalentDepth[3], 0.0);
    // station 30 at x = 348 in: Matlock with the true depth z = 348 in
    const double z = 348.0, y50 = 2.5 * 0.02 * b;
    const double pu = std::min((3.0 + g * z / c + 0.5 * z / b) * c * b, 9.0 * c * b);
    const double p = y0 >= 8.0 * y50 ? pu : 0.5 * pu * std::cbrt(y0 / y50);
    EXPECT_NEAR(Pile.Es[St(30)], p / y0, 1e-6 * p / y0);
    // the interface point between clay above and rock below carries (2 c_a + c_b) / 2:
    // the first rock station (x = 120 in) sees qu = c + 250 psi
    const HandRock h = Rock(b, c + 250.0, 30.0, 1e-4, 5e4, 1e-8);
    EXPECT_NEAR(Pile.Es[St(11)], RockP(h, y0) / y0, 1e-6 * RockP(h, y0) / y0);
}
