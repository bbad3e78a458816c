// Soft clay (Matlock 1970) and elastic subgrade: curves against the published
// equations worked by hand, the default e50, the equivalent-depth inversion,
// the station loop on the model store and the printed page.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "LayerTestSupport.h"
#include "TestSupport.h"
#include "input/Units.h"
#include "model/Channels.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "model/Warnings.h"
#include "report/PyCurvePage.h"
#include "soil/PyCriteria.h"
#include "soil/SoftClay.h"

namespace kestro {
namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// b = 24 in, c = 5 psi (720 psf), g' = 0.0289 pci (50 pcf), e50 = 0.01, J = 0.5.
PyPoint ClayPoint(double z, bool cyclic = false) {
    PyPoint pt{};
    pt.Layer = 1;
    pt.B = 24.0;
    pt.C = 5.0;
    pt.Gamma = 0.0289;
    pt.Eps50 = 0.01;
    pt.J = 0.5;
    pt.Z = z;
    pt.ZEq = z;
    pt.Depth = z;
    pt.b_Cyclic = cyclic;
    pt.UnitSystem = UnitsUS;
    return pt;
}

// Matlock's ultimate resistance worked from the published form.
double MatlockPu(double z, double c = 5.0) {
    const double Np = 3.0 + 0.0289 * z / c + 0.5 * z / 24.0;
    return (Np < 9.0 ? Np : 9.0) * c * 24.0;
}
constexpr double Y50 = 2.5 * 0.01 * 24.0;              // 0.6 in
const double XrHand = 6.0 * 24.0 * 5.0 / (0.0289 * 24.0 + 0.5 * 5.0);   // 225.45 in

double P(const PyPoint& base, double y) {
    PyPoint pt = base;
    pt.Y = y;
    PyResult r{};
    softclay::Curve(pt, r);
    return r.P;
}

TEST(SoftClayCurve, StaticCurveFollowsMatlockAboveAndBelowXr) {
    for (double z : {60.0, 300.0}) {
        const PyPoint pt = ClayPoint(z);
        const double pu = MatlockPu(z);
        struct Case { double yOverY50, pOverPu; };
        const Case cases[] = {{0.5, 0.5 * std::cbrt(0.5)}, {1.0, 0.5}, {3.0, 0.5 * std::cbrt(3.0)},
                              {5.0, 0.5 * std::cbrt(5.0)}, {8.0 * (1 + 1e-9), 1.0}, {20.0, 1.0}};
        for (const Case& c : cases)
            EXPECT_NEAR(P(pt, c.yOverY50 * Y50), c.pOverPu * pu, 1e-6 * pu) << "z=" << z << " y/y50=" << c.yOverY50;
        // Never above pu, also just below 8 y50 where the single-precision third overshoots.
        EXPECT_LE(P(pt, 8.0 * Y50 * (1 - 1e-12)), pu);
    }
}

TEST(SoftClayCurve, UltimateResistanceReachesNineCbAtXr) {
    // Np = 9 where 3 + g'z/c + Jz/b = 9, i.e. z = 6 b c / (g' b + J c)
    const double below = XrHand * (1 - 1e-7), above = XrHand * (1 + 1e-7);
    PyResult r{};
    PyPoint pt = ClayPoint(below);
    softclay::Curve(pt, r);
    EXPECT_NEAR(r.Pu, MatlockPu(below), 1e-9 * r.Pu);
    EXPECT_LT(r.Pu, 9.0 * 5.0 * 24.0);
    pt = ClayPoint(above);
    softclay::Curve(pt, r);
    EXPECT_DOUBLE_EQ(r.Pu, 9.0 * 5.0 * 24.0);
    EXPECT_NEAR(r.Aux[softclay::AuxXr], XrHand, 1e-9 * XrHand);
    // Deeper still it stays 9 c b.
    pt = ClayPoint(2000.0);
    softclay::Curve(pt, r);
    EXPECT_DOUBLE_EQ(r.Pu, 1080.0);
}

TEST(SoftClayCurve, CyclicCurveAboveXrFallsToPsAt15Y50) {
    const double z = 60.0;
    const PyPoint pt = ClayPoint(z, true);
    const double pu = MatlockPu(z);
    const double puc = 0.72 * pu;
    const double ps = 0.72 * pu * z / XrHand;   // Matlock: 0.72 pu (z / Xr)
    const double eps = 1e-9;
    EXPECT_NEAR(P(pt, 3.0 * Y50 * (1 - eps)), 0.5 * pu * std::cbrt(3.0), 1e-6 * pu);   // cubic parabola
    EXPECT_NEAR(P(pt, 3.0 * Y50 * (1 + eps)), puc, 1e-6 * pu);                          // then pu_c
    EXPECT_NEAR(P(pt, 9.0 * Y50), 0.5 * (puc + ps), 1e-9 * pu);                          // linear, half-way
    EXPECT_NEAR(P(pt, 15.0 * Y50 * (1 - eps)), ps, 1e-6 * pu);
    EXPECT_NEAR(P(pt, 15.0 * Y50 * (1 + eps)), ps, 1e-12 * pu);
    EXPECT_NEAR(P(pt, 20.0 * Y50), ps, 1e-12 * pu);
}

TEST(SoftClayCurve, CyclicCurveBelowXrStaysAtPuc) {
    const double z = 300.0;   // below Xr: Np >= 9
    const PyPoint pt = ClayPoint(z, true);
    const double puc = 0.72 * 9.0 * 5.0 * 24.0;
    EXPECT_NEAR(P(pt, 3.0 * Y50 * (1 + 1e-9)), puc, 1e-9 * puc);
    EXPECT_NEAR(P(pt, 10.0 * Y50), puc, 1e-12 * puc);
    EXPECT_NEAR(P(pt, 40.0 * Y50), puc, 1e-12 * puc);
}

TEST(SoftClayCurve, SmallDeflectionUsesTangentAt1e5Y50) {
    const PyPoint pt = ClayPoint(60.0);
    PyResult r{};
    softclay::Curve(pt, r);
    const double pu = MatlockPu(60.0);
    // d/dy [0.5 pu (y/y50)^(1/3)] at y = 1e-5 y50 = pu / (6 y50) (1e-5)^(-2/3)
    const double tangent = pu / (6.0 * Y50) * std::pow(1e-5, -2.0 / 3.0);
    EXPECT_NEAR(r.EsSmall, tangent, 1e-6 * tangent);
    EXPECT_DOUBLE_EQ(r.YSmall, 1e-5 * Y50);
}

TEST(SoftClayCurve, SlopeFactorScalesNp) {
    PyPoint pt = ClayPoint(60.0);
    pt.EffectiveSlope = 0.2;
    pt.Sign = 1.0;
    PyResult r{};
    softclay::Curve(pt, r);
    const double Np = 3.0 + 0.0289 * 60.0 / 5.0 + 0.5 * 60.0 / 24.0;
    EXPECT_NEAR(r.Pu, Np / (1.0 + std::tan(0.2)) * 120.0, 1e-9 * r.Pu);
    pt.Sign = -1.0;
    softclay::Curve(pt, r);
    EXPECT_NEAR(r.Pu, Np / (1.0 - std::tan(0.2)) * 120.0, 1e-6 * r.Pu);
}

TEST(SoftClayDefaults, Eps50ByStrengthClass) {
    struct Case { double c; int units; double expected; };
    const double e = 1 + 1e-6;
    const Case cases[] = {
        {5.0, UnitsUS, 0.01},           {27.78, UnitsUS, 0.004},        {3.4722223 / e, UnitsUS, 0.02},
        {3.4722223 * e, UnitsUS, 0.01}, {6.9444447 / e, UnitsUS, 0.01},  {6.9444447 * e, UnitsUS, 0.005},
        {13.888889 * e, UnitsUS, 0.005}, {27.777779 / e, UnitsUS, 0.005}, {27.777779 * e, UnitsUS, 0.004},
        {10.0, UnitsSI, 0.02},          {23.940128 * e, UnitsSI, 0.01},  {47.880257 / e, UnitsSI, 0.01},
        {47.880257 * e, UnitsSI, 0.005}, {191.52103 / e, UnitsSI, 0.005}, {191.52103 * e, UnitsSI, 0.004},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(softclay::DefaultEps50(c.c, c.units, 0.0), c.expected) << c.c;
    EXPECT_DOUBLE_EQ(softclay::DefaultEps50(5.0, UnitsUS, -1.0), 0.01);
    EXPECT_DOUBLE_EQ(softclay::DefaultEps50(5.0, UnitsUS, 0.007), 0.007);   // input kept
    EXPECT_DOUBLE_EQ(softclay::DefaultEps50(5.0, UnitsGeneral, 0.0), 0.0);  // no default
}

// Static ultimate resistance of the layer's own soil integrated from the
// ground surface to h by fine trapezoids.
double IntegratedPu(double h, double c = 5.0) {
    const int n = 200000;
    double sum = 0.0;
    for (int j = 0; j < n; ++j) {
        const double a = h * j / n, b = h * (j + 1) / n;
        sum += 0.5 * (MatlockPu(a, c) + MatlockPu(b, c)) * (b - a);
    }
    return sum;
}

TEST(SoftClayInversion, EquivalentDepthCarriesTheResistanceAbove) {
    const PyPoint first = ClayPoint(0.0);
    for (double h : {10.0, 120.0, XrHand * 0.999, 400.0, 900.0}) {
        const double F = IntegratedPu(h);
        EXPECT_NEAR(softclay::Invert(first, F), h, 1e-4 * h) << h;
    }
}

// ---- The station loop on the model store ----

// One pile of 24 in width, 100 increments over L; soft clay layers given as
// (top, bottom, c top, c bottom) in inches and psi, g' = 0.0289 pci.
struct ClayLayer { double top, bottom, ctop, cbottom; int type = SoilSoftClay; };

void BuildProblem(double L, std::initializer_list<ClayLayer> layers) {
    ResetProblemData();
    ResetRunState();
    ResetSoilState();
    ResetWarningRegistry();
    Problem.Options.UnitSystem = UnitsUS;
    SetUnitLabels(UnitsUS);
    Problem.Options.NumIncrements = 100;
    Problem.PileLength = L;
    Problem.NumPropertyRows = 2;
    Problem.PropertyTable[1] = PropertyRow{0.0, 24.0, 24.0, 1000.0, 29.0e6, 100.0};
    Problem.PropertyTable[2] = PropertyRow{L, 24.0, 24.0, 1000.0, 29.0e6, 100.0};
    int k = 0;
    for (const ClayLayer& c : layers) {
        ++k;
        Problem.Layers[U(k)] = SoilLayer{c.type, c.top, c.bottom};
        SoilPoint& t = Problem.SoilPoints[U(2 * k - 1)];
        SoilPoint& b = Problem.SoilPoints[U(2 * k)];
        t.Depth = c.top;
        b.Depth = c.bottom;
        t.Cohesion = c.ctop;
        b.Cohesion = c.cbottom;
        t.UnitWeight = b.UnitWeight = 0.0289;
        t.Epsilon50 = b.Epsilon50 = 0.01;
        t.ElasticSubgrade = c.ctop;
        b.ElasticSubgrade = c.cbottom;
    }
    Problem.NumLayers = k;
    Problem.NumSoilPoints = 2 * k;
    Problem.GroundDepth = Problem.Layers[1].XTop;
    const int N = 101;
    Pile.NumStations = N;
    Pile.Length = L;
    Pile.Spacing = L / 100.0;
    for (int i = 1; i <= N; ++i) {
        Pile.x[St(i)] = (i - 1) * L / 100.0;
        Pile.xv[St(i)] = Pile.x[St(i)];
    }
    // Stations by layer: a station on a boundary belongs to the lower layer.
    for (int j = 1; j <= k; ++j) {
        int first = 0, last = 0;
        for (int i = 1; i <= N; ++i) {
            const double x = Pile.x[St(i)];
            const bool in = x >= Problem.Layers[U(j)].XTop - 1e-9 &&
                            (x < Problem.Layers[U(j)].XBottom - 1e-9 || (j == k && i == N));
            if (in) {
                if (first == 0) first = i;
                last = i;
            }
        }
        Pile.FirstStation[U(j)] = first;
        Pile.LastStation[U(j)] = last;
    }
}

TEST(SoftClayStations, SecantModulusFromTheCurveWithMultipliers) {
    BuildProblem(600.0, {{0.0, 600.0, 5.0, 5.0}});
    kestro::test::UniformGroupFactors(0.0, 600.0, 0.8, 2.0);
    Pile.y[St(11)] = 2.4;   // station at 60 in
    Pile.y[St(21)] = 0.0;   // station at 120 in
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    // y used = 2.4 / 2 = 1.2 = 2 y50; p = 0.5 pu 2^(1/3); Es = 0.8 p / (2 * 1.2)
    const double p = 0.5 * MatlockPu(60.0) * std::cbrt(2.0);
    EXPECT_NEAR(Pile.Es[St(11)], 0.8 * p / (2.0 * 1.2), 1e-6 * Pile.Es[St(11)]);
    // Zero deflection: the initial tangent, without the multipliers.
    const double tangent = MatlockPu(120.0) / (6.0 * Y50) * std::pow(1e-5, -2.0 / 3.0);
    EXPECT_NEAR(Pile.Es[St(21)], tangent, 1e-6 * tangent);
}

TEST(SoftClayStations, EquivalentDepthOfLowerLayerMatchesIntegratedResistance) {
    // Layer 1: c = 2 psi to 240 in; layer 2: c = 5 psi below.
    BuildProblem(600.0, {{0.0, 240.0, 2.0, 2.0}, {240.0, 600.0, 5.0, 5.0}});
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    // Layer 1's resistance: its own pu (c = 2 psi) integrated over 0..240 in.
    auto pu1 = [](double z) {
        const double Np = 3.0 + 0.0289 * z / 2.0 + 0.5 * z / 24.0;
        return (Np < 9.0 ? Np : 9.0) * 2.0 * 24.0;
    };
    double F = 0.0;
    for (int j = 0; j < 24000; ++j) F += 0.5 * (pu1(j * 0.01) + pu1((j + 1) * 0.01)) * 0.01;
    EXPECT_NEAR(Soil.LayerResistance[1], F, 2e-3 * F);
    EvaluateLayerCriterion(2);
    ASSERT_FALSE(Failed());
    // The soil of layer 2 as seen at its first station, on the interface:
    // the clay strengths of both sides averaged, (2 + 5) / 2.
    const double h = Soil.EquivalentDepth[2];
    EXPECT_NEAR(IntegratedPu(h, 3.5), Soil.LayerResistance[1], 1e-6 * F);
    EXPECT_GT(h, 0.0);
    EXPECT_LT(h, 240.0);   // the weaker soil above is worth less depth of the stronger one
}

TEST(SoftClayStations, LayerBelowRockUsesTrueDepth) {
    BuildProblem(600.0, {{0.0, 240.0, 2.0, 2.0}, {240.0, 600.0, 5.0, 5.0}});
    EvaluateLayerCriterion(1);
    Soil.RockLayerCount = 1;
    Soil.EquivalentDepth[2] = 0.0;
    EvaluateLayerCriterion(2);
    ASSERT_FALSE(Failed());
    EXPECT_DOUBLE_EQ(Soil.EquivalentDepth[2], 0.0);
}

TEST(SoftClayStations, ZeroCohesionAcceptedAtFirstStationOnly) {
    BuildProblem(600.0, {{0.0, 600.0, 0.0, 5.0}});
    Pile.y[St(1)] = 0.1;
    EvaluateLayerCriterion(1);
    EXPECT_FALSE(Failed());
    EXPECT_DOUBLE_EQ(Pile.Es[St(1)], 0.0);
    BuildProblem(600.0, {{0.0, 600.0, 0.0, 0.0}});
    testing::internal::CaptureStdout();
    EvaluateLayerCriterion(1);
    const std::string report = testing::internal::GetCapturedStdout();
    if (!Failed()) FAIL() << "Input Data Error 12 expected";
    EXPECT_EQ(kestro::Run.ErrorNumber, 112);
    EXPECT_NE(report.find("**** Input Data Error No. 12 ****\n\nAn error was detected that is related to an "
                          "incompatibility between the input \n"),
              std::string::npos);
    EXPECT_NE(report.find("Layer no. = 1, Node no. = 2, Top node in layer = 1, Elevation =      6.000, c(x) =      "
                          "0.000, Pile length =    600.000\n, ITOP = 1, IBOT = 101\n"),
              std::string::npos);
}

TEST(SoftClayStations, StrengthWarningJustAboveTheLimit) {
    const double limit = static_cast<double>(8.6805553f);
    BuildProblem(600.0, {{0.0, 600.0, limit, limit}});
    EvaluateLayerCriterion(1);
    EXPECT_EQ(Warnings.WarningCount[3041], 0);
    BuildProblem(600.0, {{0.0, 600.0, limit * (1 + 1e-9), limit * (1 + 1e-9)}});
    EvaluateLayerCriterion(1);
    EXPECT_GT(Warnings.WarningCount[3041], 0);
    EXPECT_EQ(Warnings.WarningCount[3042], 0);
}

TEST(SoftClayStations, StrengthWarningInSIUnits) {
    const double limit = static_cast<double>(59.850323f);   // kPa
    for (double f : {1 - 1e-9, 1 + 1e-9}) {
        BuildProblem(600.0, {{0.0, 600.0, limit * f, limit * f}});
        Problem.Options.UnitSystem = UnitsSI;
        Problem.SoilPoints[1].UnitWeight = Problem.SoilPoints[2].UnitWeight = 8.0;
        EvaluateLayerCriterion(1);
        ASSERT_FALSE(Failed());
        EXPECT_EQ(Warnings.WarningCount[3042] > 0, f > 1) << f;
        EXPECT_EQ(Warnings.WarningCount[3041], 0);
    }
}

TEST(ElasticSubgrade, ModulusIsLinearInDepthAndHalvesWithYMultiplier) {
    // Esub 1000 at the top, 3000 at the bottom of a layer 0..600 in; b = 24 in.
    BuildProblem(600.0, {{0.0, 600.0, 1000.0, 3000.0, SoilElasticSubgrade}});
    Pile.y[St(51)] = 0.3;
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    EXPECT_NEAR(Pile.Es[St(51)], 2000.0 * 24.0, 1e-9);
    EXPECT_NEAR(Pile.Es[St(1)], 1000.0 * 24.0, 1e-9);   // zero deflection too
    const double before = Pile.Es[St(51)];
    Pile.y[St(51)] = 5.0;
    EvaluateLayerCriterion(1);
    EXPECT_DOUBLE_EQ(Pile.Es[St(51)], before);            // independent of deflection
    kestro::test::UniformGroupFactors(0.0, 600.0, 1.0, 2.0);
    ForgetStationProperties();  // the multipliers are kept with the station otherwise
    EvaluateLayerCriterion(1);
    EXPECT_DOUBLE_EQ(Pile.Es[St(51)], before / 2.0);
}

// ---- Printed page ----

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SoftClayPage, StaticPageAndPlotRecords) {
    BuildProblem(600.0, {{0.0, 600.0, 5.0, 5.0}});
    EvaluateLayerCriterion(1);
    // One temporary station at 60 in.
    Pile.x[St(1)] = 60.0;
    Pile.FirstStation[1] = Pile.LastStation[1] = 1;
    const std::string dir = test::ScratchDir();
    int failed = 0;
    ASSERT_TRUE(OpenOutputChannels(dir + "/r.txt", dir + "/p.txt", dir + "/m.txt", failed));
    PrintLayerCurves(1);
    CloseOutputChannels();
    ASSERT_FALSE(Failed());
    EXPECT_FALSE(Soil.PyPrintMode);
    const std::string report = ReadFile(dir + "/r.txt");
    const std::string expected =
        "\n\np-y Curve Computed Using the Soft Clay Criteria for Static Loading Conditions\n\n"
        "Soil Layer Number           =            1\n"
        "Depth below pile head       =       60.000 in \n"
        "Depth below ground surface  =       60.000 in \n"
        "Ground Slope Angle          =        0.000 degrees\n"
        "Pile Batter                 =        0.000 degrees\n"
        "Effective Slope             =        0.000 degrees\n"
        "Equivalent Depth            =       60.000 in \n"
        "Pile Diameter               =       24.000 in \n"
        "Cohesion, c                 =        5.000 psi\n"
        "Avg Eff Unit Weight         =      0.02890 pci\n"
        "Epsilon50 parameter         =      0.01000\n"
        "Default J parameter         =        0.500\n"
        "Y50                         =      0.60000 in \n"
        "p-multiplier                =      1.00000\n"
        "y-multiplier                =      1.00000\n"
        "\n"
        "        y, in            p, lb/in\n"
        "----------------    -----------------\n";
    EXPECT_EQ(report.substr(0, expected.size()), expected);
    const std::string plot = ReadFile(dir + "/p.txt");
    const std::string line7 = "  6.0000000E+01   17" + std::string(60, ' ') +
                              "Line 7:  p-y curve depth in soft clay, no. p-y points on curve no. 1\n";
    EXPECT_EQ(plot.substr(0, line7.size()), line7);
    // Point 15 at 8 y50 = 4.8 in carries pu.
    const double pu = MatlockPu(60.0);
    std::ostringstream l15;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%15.7E%15.7E", 4.8, pu);
    l15 << buf << std::string(50, ' ') << "Line 8(15): y, p, for soft clay\n";
    EXPECT_NE(plot.find(l15.str()), std::string::npos) << plot;
    EXPECT_NE(plot.find("Line 8( 1): y, p, for soft clay\n"), std::string::npos);
}


TEST(SoftClayStations, CyclicLayerResistanceIntegratesPsAboveXr) {
    // A layer from 0 to 120 in lies wholly above Xr = 225 in: the cyclic
    // ultimate resistance there is p_s = 0.72 pu z / Xr (Matlock 1970).
    BuildProblem(600.0, {{0.0, 120.0, 5.0, 5.0}, {120.0, 600.0, 5.0, 5.0}});
    Problem.Options.LoadingType = true;
    Problem.Options.NumberOfCycles = 100.0;
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    double F = 0.0;
    for (int j = 0; j < 11400; ++j) {   // trapezoids over 0..114 in, the last station
        const double a = j * 0.01, b = (j + 1) * 0.01;
        F += 0.5 * (0.72 * MatlockPu(a) * a / XrHand + 0.72 * MatlockPu(b) * b / XrHand) * 0.01;
    }
    // end term: the spacing h times the cyclic resistance p_s of the last
    // station (the static pu there would count resistance cyclic loading has lost)
    F += 6.0 * 0.72 * MatlockPu(114.0) * 114.0 / XrHand;
    EXPECT_NEAR(Soil.LayerResistance[1], F, 1e-3 * F);
}

TEST(SoftClayStations, GroundAbovePileHeadUsesWholeLayerTrapezoid) {
    // Ground 12 in above the pile head: layer 1 from -12 to 240 in.
    BuildProblem(600.0, {{-12.0, 240.0, 5.0, 5.0}, {240.0, 600.0, 5.0, 5.0}});
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    const int last = Pile.LastStation[1];
    const double zLast = Pile.xv[St(last)] + 12.0;
    // (3 c b + pu(last station)) / 2 x layer thickness
    EXPECT_NEAR(Soil.LayerResistance[1], (3.0 * 5.0 * 24.0 + MatlockPu(zLast)) * 0.5 * 252.0, 1e-9 * 1e5);
}

TEST(SoftClayPage, PrintModeWritesNoModuliAndLayerBelowRockPrintsTrueDepth) {
    BuildProblem(600.0, {{0.0, 240.0, 2.0, 2.0}, {240.0, 600.0, 5.0, 5.0}});
    EvaluateLayerCriterion(1);
    Soil.RockLayerCount = 1;   // as if layer 1 were rock-like
    EvaluateLayerCriterion(2);
    Soil.RockLayerCount = 0;
    Pile.x[St(1)] = 300.0;
    Pile.Es[St(1)] = -7.0;
    Pile.FirstStation[1] = 0;
    Pile.FirstStation[2] = Pile.LastStation[2] = 1;
    Soil.PyPrintMode = true;
    testing::internal::CaptureStdout();
    EvaluateLayerCriterion(2);
    const std::string report = testing::internal::GetCapturedStdout();
    Soil.PyPrintMode = false;
    ASSERT_FALSE(Failed());
    EXPECT_DOUBLE_EQ(Pile.Es[St(1)], -7.0);
    EXPECT_NE(report.find("Equivalent Depth            =      300.000 in \n"), std::string::npos) << report;
}

TEST(SoftClayPage, CyclicPageListsCyclesAndXr) {
    BuildProblem(600.0, {{0.0, 600.0, 5.0, 5.0}});
    Problem.Options.LoadingType = true;
    Problem.Options.NumberOfCycles = 100.0;
    Pile.x[St(1)] = 60.0;
    Pile.FirstStation[1] = Pile.LastStation[1] = 1;
    testing::internal::CaptureStdout();
    PrintLayerCurves(1);
    const std::string report = testing::internal::GetCapturedStdout();
    EXPECT_NE(report.find("p-y Curve Computed Using the Soft Clay Criteria for Cyclic Loading Conditions\n\n"),
              std::string::npos);
    EXPECT_NE(report.find("y-multiplier                =      1.00000\n"
                          "Number of cycles of loading =         100.\n"
                          "Xr                          =      225.451 in \n\n"),
              std::string::npos)
        << report;
}

TEST(SoftClayPage, LimitingModulusWarningFollowsItsRow) {
    ResetRunState();
    ResetProblemData();
    Problem.Options.UnitSystem = UnitsUS;
    SetUnitLabels(UnitsUS);
    SoftClayPage page{};
    page.Layer = 1;
    page.Ki = 1234.5;
    page.Curve.Line7Soil = "soft clay";
    page.Curve.Line8Soil = "soft clay";
    page.Curve.Y[2] = 1.0E-7;
    page.Curve.P[2] = 1.0E-7 * 1234.5;
    page.b_Limited[2] = true;
    std::ostringstream report, plot;
    WriteSoftClayPage(report, plot, page);
    const std::string text = report.str();
    const std::string warning =
        "\n**** Warning ****\n\n"
        "The pile deflection is less than 0.00001*Y50.\n"
        "Kestro used the limiting value of soil modulus (=   1.2345E+03 lb/in2) when computing the p-y curve for "
        "soft clay.\n";
    const std::size_t at = text.find(warning);
    ASSERT_NE(at, std::string::npos) << text;
    // The block stands right after the row of point 2 and is written once.
    const std::size_t rows = text.find("----------------    -----------------\n");
    ASSERT_NE(rows, std::string::npos);
    int rowsBefore = 0;
    for (std::size_t p = text.find('\n', rows) + 1; p < at; p = text.find('\n', p) + 1) ++rowsBefore;
    EXPECT_EQ(rowsBefore, 2);
    EXPECT_EQ(text.find(warning, at + 1), std::string::npos);
}

TEST(ElasticSubgradePage, PageAndPlotRecords) {
    BuildProblem(600.0, {{0.0, 600.0, 1000.0, 3000.0, SoilElasticSubgrade}});
    Pile.x[St(1)] = 300.0;
    Pile.FirstStation[1] = Pile.LastStation[1] = 1;
    const std::string dir = test::ScratchDir();
    int failed = 0;
    ASSERT_TRUE(OpenOutputChannels(dir + "/r.txt", dir + "/p.txt", dir + "/m.txt", failed));
    PrintLayerCurves(1);
    CloseOutputChannels();
    ASSERT_FALSE(Failed());
    const std::string report = ReadFile(dir + "/r.txt");
    const std::string expected =
        "\n\np-y Curve for Elastic Subgrade\n\n"
        "Soil Layer Number                                      =          1\n"
        "Depth below pile head                                  =      300.000 in \n"
        "Depth below Ground Surface                             =      300.000 in \n"
        "Shaft Diameter                                         =       24.000 in \n"
        // Esub b y is p: Esub is a force per length cubed
        "Elastic Subgrade Modulus                               =     2000.000 pci\n"
        "p-multiplier                                           =      1.00000\n"
        "y-multiplier                                           =      1.00000\n"
        "\n"
        "        y, in        p, lb/in\n"
        "---------------   ---------------\n";
    EXPECT_EQ(report.substr(0, expected.size()), expected);
    const std::string plot = ReadFile(dir + "/p.txt");
    // Point 17 at y = 2 b = 48 in: p = 2000 x 24 x 48.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%15.7E%15.7E", 48.0, 2000.0 * 24.0 * 48.0);
    EXPECT_NE(plot.find(std::string(buf) + std::string(50, ' ') + "Line 8(17): y, p, for elastic subgrade\n"),
              std::string::npos)
        << plot;
    EXPECT_NE(plot.find("Line 8(1): y, p, for elastic subgrade\n"), std::string::npos);
    EXPECT_NE(plot.find("Line 7:  p-y curve depth in elastic subgrade soil, no. p-y points on curve no. 1\n"),
              std::string::npos);
}


TEST(EquivalentDepth, LiquefiedResistanceStandsInForAnEmptyLayer) {
    BuildProblem(600.0, {{0.0, 120.0, 5.0, 5.0}, {120.0, 240.0, 5.0, 5.0}, {240.0, 600.0, 5.0, 5.0}});
    const PyPoint first = ClayPoint(0.0);
    // Layer 1 carried nothing by the common rule (below 0.01) but 5000 as liquefied sand.
    Soil.LayerResistance[1] = 0.005;
    Soil.LiquefiedResistance[1] = 5000.0;
    Soil.LayerResistance[2] = 7000.0;
    ComputeEquivalentDepth(3, first);
    EXPECT_DOUBLE_EQ(Soil.LayerResistance[1], 5000.0);
    EXPECT_NEAR(IntegratedPu(Soil.EquivalentDepth[3]), 12000.0, 1e-3);
    // A sum beyond 1.0E+20 restarts at 100.
    Soil.LayerResistance[1] = 2.0E+20;
    Soil.LayerResistance[2] = 50.0;
    ComputeEquivalentDepth(3, first);
    EXPECT_NEAR(IntegratedPu(Soil.EquivalentDepth[3]), 150.0, 1e-6);
}


// A whole run: a 24 in elastic pile in soft clay with c from 250 psf at the
// ground to 750 psf at 60 ft, g' = 50 pcf, e50 0.02 to 0.01; curves printed at
// 5 ft and 20 ft below the head.
const char* const SoftClayRun = R"(KESTRO6
TITLE
24 in concrete pile in soft clay, static loading
Pile modelled as elastic: E = 3,600 ksi, gross section, 50 ft long, head at ground
Soft clay (Matlock): c from 250 psf at the ground to 750 psf at 60 ft
Free head, two lateral loads with 100 kips axial load

OPTIONS
Units USCS
UseLRFD NO
ComputeKmatrix NO
UseTipShear NO
UseSoilMovement NO
UsePYModifiers NO
ComputeEIOnly NO
Loading STATIC     1
MaxIterations 100
DeflectionLimit 100.0
Tolerance 1.0E-5
Increments 100
PrintSummaryOnly NO
PrintIncrement 5
PrintPYCurves YES
ComputeInteraction NO
SECTIONS
1                                   number of sections
1                                   section number
11                                  section type: elastic pile
50.0                                section length, ft
1                                   elastic shape: circular
3600000.0                           elastic modulus, psi
24.0                                width at top, in
24.0                                width at bottom, in
452.3893                            area at top, sq. in
452.3893                            area at bottom, sq. in
16286.0                             moment of inertia at top, in^4
16286.0                             moment of inertia at bottom, in^4
SOIL LAYERS
1                                   number of soil layers
1  0.0  60.0                        layer: soft clay, top and bottom ft
50.0  250.0  0.02                   top: unit weight pcf, cohesion psf, eps50
50.0  750.0  0.01                   bottom
LOADING
2                                   number of pile-head load cases
1  1  15000.0  0.0  100000.0  1     no., type, condition 1, condition 2, axial, length code
2  1  30000.0  0.0  100000.0  1
0                                   number of distributed load points
DEPTHS OF PRINTED P-Y CURVES
2
1 5.0
2 20.0
END
)";

TEST(SoftClayRun, PrintedCurvesMatchMatlockByHand) {
    const test::RunOutput r = test::RunInput(SoftClayRun);
    ASSERT_EQ(r.Result, 0) << r.Report;
    // 5 ft: c = 291.667 psf = 2.02546 psi, e50 = 0.0191667, y50 = 2.5 e50 b = 1.15 in,
    // Np = 3 + (50/1728) 60 / c + 0.5 (60/24), pu = Np c b; p(y50) = pu / 2.
    const double c5 = (250.0 + 500.0 * 5.0 / 60.0) / 144.0;
    const double pu5 = (3.0 + 50.0 / 1728.0 * 60.0 / c5 + 0.5 * 60.0 / 24.0) * c5 * 24.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%15.7E%15.7E", 1.15, 0.5 * pu5);
    EXPECT_NE(r.Plot.find(std::string(buf) + std::string(50, ' ') + "Line 8( 6): y, p, for soft clay\n"),
              std::string::npos)
        << r.Plot;
    // 20 ft: c = 416.667 psf, Np = 3 + 2.4 + 5 = 10.4 > 9, so pu = 9 c b = 625 lb/in, reached at 8 y50 = 8 in.
    EXPECT_NE(r.Plot.find("  8.0000000E+00  6.2500000E+02" + std::string(50, ' ') + "Line 8(15): y, p, for soft clay\n"),
              std::string::npos)
        << r.Plot;
    EXPECT_NE(r.Report.find("Y50                         =      1.15000 in \n"), std::string::npos);
    EXPECT_NE(r.Report.find("Epsilon50 parameter         =      0.01667\n"), std::string::npos);
}

}  // namespace
}  // namespace kestro
