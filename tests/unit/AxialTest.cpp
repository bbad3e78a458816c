// Axial load transfer: the published t-z and q-z laws by hand, the column
// solver against the closed form of a bar on an elastic foundation, the
// rigid-plastic plunging load, equilibrium of whole runs, and bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "HtmlReport.h"
#include "PlotReader.h"
#include "ResultsJson.h"
#include "TestSupport.h"
#include "axial/AxialModel.h"
#include "axial/AxialSolver.h"
#include "axial/LoadTransfer.h"
#include "model/ProblemData.h"
#include "model/RunState.h"

using namespace kestro;
using namespace kestro::axial;

namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }
constexpr double Below = 1.0 - 1.0E-9;
constexpr double Above = 1.0 + 1.0E-9;
constexpr double PsiToKPa = 6.894757293168361;   // 4.4482216152605 N / (0.0254 m)^2 / 1000

// Each curve at its breakpoints, just below and just above: the published
// ordinates on either side of every breakpoint (the plateaus included).
TEST(AxialCurves, BreakpointsOnBothSides) {
    struct Row {
        const char* Name;
        Curve C;
        double Z, TBelow, TAbove;
    };
    const Curve clay = ClayTzCurve(0.9), sand = SandTzCurve(), tip = TipQzCurve();
    const std::vector<Row> rows = {
        {"clay 0.0016", clay, 0.0016, 0.30, 0.30},  {"clay 0.0031", clay, 0.0031, 0.50, 0.50},
        {"clay 0.0057", clay, 0.0057, 0.75, 0.75},  {"clay 0.0080", clay, 0.0080, 0.90, 0.90},
        {"clay 0.0100", clay, 0.0100, 1.00, 1.00},  {"clay 0.0200", clay, 0.0200, 0.90, 0.90},
        {"clay 0.5", clay, 0.5, 0.90, 0.90},        {"sand 1", sand, 1.0, 1.0, 1.0},
        {"sand 10", sand, 10.0, 1.0, 1.0},          {"tip 0.002", tip, 0.002, 0.25, 0.25},
        {"tip 0.013", tip, 0.013, 0.50, 0.50},      {"tip 0.042", tip, 0.042, 0.75, 0.75},
        {"tip 0.073", tip, 0.073, 0.90, 0.90},      {"tip 0.100", tip, 0.100, 1.00, 1.00},
        {"tip 1.0", tip, 1.0, 1.00, 1.00},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        EXPECT_NEAR(Evaluate(r.C, r.Z * Below).T, r.TBelow, 1.0E-6);
        EXPECT_NEAR(Evaluate(r.C, r.Z * Above).T, r.TAbove, 1.0E-6);
    }
    // Between breakpoints: linear. 0.0045 on clay: 0.50 + 0.25 (0.0045-0.0031)/(0.0057-0.0031).
    EXPECT_NEAR(Evaluate(clay, 0.0045).T, 0.5 + 0.25 * 0.0014 / 0.0026, 1.0E-12);
    // The residual part falls from 1.0 at 0.01 to r at 0.02: at 0.015 the mean.
    EXPECT_NEAR(Evaluate(ClayTzCurve(0.7), 0.015).T, 0.85, 1.0E-12);
    EXPECT_NEAR(Evaluate(tip, 0.001).T, 0.125, 1.0E-12);
    // Shaft curves act alike in pull; the tip carries no tension.
    EXPECT_DOUBLE_EQ(Evaluate(clay, -0.0045).T, -Evaluate(clay, 0.0045).T);
    EXPECT_DOUBLE_EQ(Evaluate(sand, -0.5).T, -0.5);
    EXPECT_EQ(Evaluate(tip, -0.05).T, 0.0);
}

// alpha = 0.5 psi^-0.5 (psi <= 1), 0.5 psi^-0.25 (psi > 1), at most 1.
TEST(AxialCurves, ClayAlphaByHand) {
    struct Row {
        double C, P0, Alpha;
    };
    const std::vector<Row> rows = {
        {1.0, 1.0 * Above, 0.5 / std::sqrt(1.0 / (1.0 * Above))},   // just below psi = 1
        {1.0 * Above, 1.0, 0.5 * std::pow(Above, -0.25)},          // just above psi = 1
        {0.5, 1.0, 0.70710678118654752},                           // psi 0.5
        {4.0, 1.0, 0.35355339059327376},                           // psi 4: 0.5 / sqrt 2
        {0.25 * Above, 1.0, 0.99999999950},                        // psi just above 0.25: just below the cap
        {0.1, 1.0, 1.0},                                           // psi 0.1: capped at 1
        {2.0, 0.0, 0.0},                                           // at the ground surface: psi without bound
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.C);
        EXPECT_NEAR(ClayAlpha(r.C, r.P0), r.Alpha, 1.0E-9);
    }
    // f = alpha c and q = 9 c (US psi, SI kPa: the same law).
    EXPECT_NEAR(ClayShaftFriction(4.0, 1.0), 4.0 * 0.35355339059327376, 1.0E-12);
    EXPECT_DOUBLE_EQ(ClayEndBearing(10.0), 90.0);
}

// The sand table by delta = phi - 5, and the limited friction and bearing,
// in US (psi) and SI (kPa) units with the same soil: the SI value is the US
// value times 6.894757 kPa/psi.
TEST(AxialCurves, SandValuesByHandInBothUnits) {
    const SandValues mid = SandTable(22.5);  // halfway between the 20 and 25 degree rows
    EXPECT_NEAR(mid.FLimitKsf, 1.55, 1.0E-12);
    EXPECT_NEAR(mid.Nq, 16.0, 1.0E-12);
    EXPECT_NEAR(mid.QLimitKsf, 80.0, 1.0E-12);
    EXPECT_NEAR(SandTable(30.0 * Below).Nq, 40.0, 1.0E-6);
    EXPECT_NEAR(SandTable(30.0 * Above).Nq, 40.0, 1.0E-6);
    EXPECT_DOUBLE_EQ(SandTable(10.0).QLimitKsf, 40.0);
    EXPECT_DOUBLE_EQ(SandTable(40.0).FLimitKsf, 2.4);

    const double ksfPsi = 1000.0 / 144.0;          // 6.9444 psi
    const double ksfKPa = ksfPsi * PsiToKPa;       // 47.880 kPa
    struct Row {
        double K, P0Psi, Phi, FPsi, QPsi;
    };
    // phi 30: delta 25, tan 25 = 0.46630766; f_lim 1.7 ksf = 11.805556 psi, Nq 20, q_lim 100 ksf = 694.444 psi.
    // phi 40: delta 35; f_lim 2.4 ksf = 16.666667 psi, Nq 50, q_lim 250 ksf = 1736.111 psi.
    const std::vector<Row> rows = {
        {0.8, 10.0, 30.0, 0.8 * 10.0 * 0.46630765815499859, 20.0 * 10.0},
        {1.0, 40.0, 30.0, 11.805555555555555, 694.44444444444444},   // both limits govern
        {1.0, 20.0, 40.0, 1.0 * 20.0 * 0.70020753820970977, 50.0 * 20.0},
        {1.0, 30.0, 40.0, 16.666666666666667, 1500.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.P0Psi);
        const double fUs = SandShaftFriction(r.K, r.P0Psi, r.Phi, ksfPsi);
        const double qUs = SandEndBearing(r.P0Psi, r.Phi, ksfPsi);
        EXPECT_NEAR(fUs, r.FPsi, 1.0E-9 * r.FPsi);
        EXPECT_NEAR(qUs, r.QPsi, 1.0E-9 * r.QPsi);
        const double fSi = SandShaftFriction(r.K, r.P0Psi * PsiToKPa, r.Phi, ksfKPa);
        const double qSi = SandEndBearing(r.P0Psi * PsiToKPa, r.Phi, ksfKPa);
        EXPECT_NEAR(fSi, r.FPsi * PsiToKPa, 1.0E-9 * fSi);
        EXPECT_NEAR(qSi, r.QPsi * PsiToKPa, 1.0E-9 * qSi);
    }
}

// A uniform pile on linear shaft springs k (force per length per movement)
// and a linear tip spring kt: w'' = (k/EA) w, -EA w'(0) = P, -EA w'(L) = kt w(L).
// With lambda = sqrt(k/EA), xi = L - x and beta = kt / (EA lambda):
//   N(x) = EA lambda C (sinh lambda xi + beta cosh lambda xi),
//   w(x) = C (cosh lambda xi + beta sinh lambda xi).
struct BarErrors {
    double Stiffness = 0.0, Force = 0.0, Tangent = 0.0;
};
BarErrors ElasticBarErrors(int elements) {
    const double EA = 1.0E6, k = 100.0, kt = 5000.0, L = 200.0, P = 1000.0;
    AxialPile p;
    p.NumNodes = elements + 1;
    const double h = L / elements;
    p.NumCurves = 2;
    Curve& line = p.Curves[1];
    line.NumPoints = 2;
    line.Z = {0.0, 1.0E9};
    line.T = {0.0, 1.0E9};
    p.Curves[2] = line;
    p.Curves[2].b_NoTension = true;
    for (int i = 1; i <= p.NumNodes; ++i) {
        p.Depth[U(i)] = h * (i - 1);
        p.EA[U(i)] = EA;
        p.ElementLength[U(i)] = h;
        const double trib = (i == 1 || i == p.NumNodes) ? 0.5 * h : h;
        p.Shaft[U(i)] = {1, 1.0, k * trib};
    }
    p.Tip = {2, 1.0, kt};
    AxialState s;
    const HeadResponse r = SolveForHeadForce(p, P, s);
    EXPECT_TRUE(r.b_Converged);
    const double lambda = std::sqrt(k / EA), beta = kt / (EA * lambda);
    const double C = P / (EA * lambda * (std::sinh(lambda * L) + beta * std::cosh(lambda * L)));
    const double w0 = C * (std::cosh(lambda * L) + beta * std::sinh(lambda * L));
    BarErrors e;
    e.Stiffness = std::fabs(r.Force / r.Displacement - P / w0) / (P / w0);
    e.Tangent = std::fabs(r.Stiffness - P / w0) / (P / w0);
    NodeArray<double> force{}, shaft{};
    AxialForces(p, s, r.Force, force, shaft);
    for (int i = 1; i <= p.NumNodes; ++i) {
        const double xi = L - p.Depth[U(i)];
        const double exact = EA * lambda * C * (std::sinh(lambda * xi) + beta * std::cosh(lambda * xi));
        e.Force = std::fmax(e.Force, std::fabs(force[U(i)] - exact) / P);
    }
    // Equilibrium: the head force is carried by the shaft and the tip.
    const Resistance res = Resistances(p, s);
    EXPECT_NEAR(res.Shaft + res.Tip, r.Force, 1.0E-9 * P);
    EXPECT_NEAR(r.Force, P, 1.0E-8 * P);
    return e;
}

TEST(AxialSolver, ElasticBarConvergesWithTheSquareOfTheSpacing) {
    const BarErrors coarse = ElasticBarErrors(20), mid = ElasticBarErrors(40), fine = ElasticBarErrors(80);
    for (const auto& [n, e] : {std::pair{20, coarse}, std::pair{40, mid}, std::pair{80, fine}})
        RecordProperty("errors_" + std::to_string(n), std::to_string(e.Stiffness) + " " + std::to_string(e.Force) +
                                                          " " + std::to_string(e.Tangent));
    EXPECT_LT(fine.Stiffness, 2.0E-4);
    EXPECT_LT(fine.Force, 2.0E-4);
    for (const auto& [a, b] : {std::pair{coarse, mid}, std::pair{mid, fine}}) {
        EXPECT_NEAR(a.Stiffness / b.Stiffness, 4.0, 0.2);
        EXPECT_NEAR(a.Force / b.Force, 4.0, 0.4);
        EXPECT_NEAR(a.Tangent / b.Tangent, 4.0, 0.2);
    }
}

// A pipe pile 36 in x 1 in, 60 ft, in clay (c 600 psf, gamma' 55 pcf) over
// sand (phi 33, gamma' 60 pcf) from 30 ft, residual ratio 1.0: the plunging
// load is the sum of f_max over the shaft plus q at the tip, by hand.
void SetTwoLayerPile(int tip, double residual) {
    ResetRunState();
    ResetProblemData();
    ResetAxialModel();
    ProblemData& P = Problem;
    P.Options.UnitSystem = UnitsUS;
    P.Options.NumIncrements = 60;
    const double L = 720.0;
    P.NumSections = 1;
    PileSection& S = P.Sections[1];
    S.SectionType = SecSteelPipe;
    S.PileDiameter = 36.0;
    S.WallThickness = 1.0;
    S.ElasticModulus = 2.9E7;
    S.SectionBottom = L;
    P.PileLength = L;
    const double area = 3.14159265358979323846 / 4.0 * (36.0 * 36.0 - 34.0 * 34.0);
    P.NumPropertyRows = 2;
    P.PropertyTable[1] = {0.0, 36.0, 36.0, 1.0E4, 2.9E7, area};
    P.PropertyTable[2] = {L, 36.0, 36.0, 1.0E4, 2.9E7, area};
    P.NumLayers = 2;
    P.Layers[1] = {SoilSoftClay, 0.0, 360.0, 10};
    P.Layers[2] = {SoilApiSand, 360.0, 960.0, 13};
    P.NumSoilPoints = 4;
    for (int p = 1; p <= 4; ++p) {
        SoilPoint& s = P.SoilPoints[U(p)];
        s.Depth = p <= 2 ? (p == 1 ? 0.0 : 360.0) : (p == 3 ? 360.0 : 960.0);
        s.UnitWeight = (p <= 2 ? 55.0 : 60.0) / 1728.0;
        s.Cohesion = p <= 2 ? 600.0 / 144.0 : 0.0;
        s.FrictionAngle = p <= 2 ? 0.0 : 33.0;
    }
    AxialInput.b_Requested = true;
    AxialInput.TipCondition = tip;
    AxialInput.ResidualRatio = residual;
}

TEST(AxialSolver, RigidPlasticPlungingLoadByHand) {
    for (int tip : {AxialTipPlugged, AxialTipUnplugged}) {
        SCOPED_TRACE(tip);
        SetTwoLayerPile(tip, 1.0);
        BuildAxialColumn();
        ASSERT_FALSE(Failed());
        // By hand: p'0 = 55/1728 z in the clay, then + 60/1728 (z - 360).
        const double D = 36.0, perimeter = 3.14159265358979323846 * D;
        const double g1 = 55.0 / 1728.0, g2 = 60.0 / 1728.0, c = 600.0 / 144.0;
        const bool open = tip == AxialTipUnplugged;
        const double K = open ? 0.8 : 1.0;
        // delta = 28: between the 25 and 30 rows: f_lim = 1.7 + 0.6 (0.3) = 1.88 ksf, Nq = 20 + 0.6 (20) = 32,
        // q_lim = 100 + 0.6 (100) = 160 ksf.
        const double fLim = 1.88 * 1000.0 / 144.0, Nq = 32.0, qLim = 160.0 * 1000.0 / 144.0;
        const double tanDelta = std::tan(28.0 * 3.14159265358979323846 / 180.0);
        double shaft = 0.0;
        const int parts = 200000;
        const double dz = 720.0 / parts;
        for (int j = 0; j < parts; ++j) {
            const double z = (j + 0.5) * dz;
            double f = 0.0;
            if (z < 360.0) {
                const double p0 = g1 * z, psi = c / p0;
                double alpha = psi <= 1.0 ? 0.5 / std::sqrt(psi) : 0.5 / std::pow(psi, 0.25);
                if (alpha > 1.0) alpha = 1.0;
                f = alpha * c;
            } else {
                const double p0 = g1 * 360.0 + g2 * (z - 360.0);
                f = std::fmin(K * p0 * tanDelta, fLim);
            }
            shaft += f * perimeter * dz;
        }
        const double p0Tip = g1 * 360.0 + g2 * 360.0;
        const double tipArea = open ? 3.14159265358979323846 / 4.0 * (36.0 * 36.0 - 34.0 * 34.0)
                                    : 3.14159265358979323846 / 4.0 * 36.0 * 36.0;
        const double tipForce = std::fmin(Nq * p0Tip, qLim) * tipArea;
        double w = 0.0;
        const double plunging = PlungingForce(AxialColumn, 1.0, w);
        EXPECT_NEAR(plunging, shaft + tipForce, 2.0E-5 * plunging);
        const double uplift = PlungingForce(AxialColumn, -1.0, w);
        EXPECT_NEAR(uplift, -shaft, 2.0E-5 * shaft);
        EXPECT_LT(w, 0.0);
    }
}

// With the residual ratio below 1 the clay sheds load before the tip has
// mobilised: the plunging load lies below the sum of the peaks, above the
// sum with the clay at its residual.
TEST(AxialSolver, SofteningClayLowersThePlungingLoad) {
    SetTwoLayerPile(AxialTipPlugged, 1.0);
    BuildAxialColumn();
    double w = 0.0;
    const double peak = PlungingForce(AxialColumn, 1.0, w);
    SetTwoLayerPile(AxialTipPlugged, 0.7);
    BuildAxialColumn();
    const double soft = PlungingForce(AxialColumn, 1.0, w);
    EXPECT_LT(soft, peak * (1.0 - 1.0E-4));
    EXPECT_GT(soft, 0.7 * peak);
}

// Whole runs: the head load equals shaft plus tip at every point of the
// load-settlement curve and under every head load, from the plot records.
struct AxialRun {
    int Result = 0;
    std::vector<std::vector<double>> Curve, Loads;
    std::string Report, Messages;
};
AxialRun RunAxial(const std::string& input) {
    const test::RunOutput out = test::RunInput(input);
    AxialRun r;
    r.Result = out.Result;
    r.Report = out.Report;
    r.Messages = out.Messages;
    std::istringstream plot(out.Plot);
    std::string line;
    while (std::getline(plot, line)) {
        std::vector<double> v(4, 0.0);
        if (std::sscanf(line.c_str(), "%lf %lf %lf %lf", &v[0], &v[1], &v[2], &v[3]) != 4) continue;
        if (line.find("Line 24(") != std::string::npos) r.Curve.push_back(v);
        if (line.find("Line 25:") != std::string::npos && line.find("beyond") == std::string::npos)
            r.Loads.push_back(v);
    }
    return r;
}

std::string ReadExample(const std::string& name) {
    std::ifstream f(std::string(KESTRO_SOURCE_DIR) + "/examples/" + name);
    std::stringstream text;
    text << f.rdbuf();
    return text.str();
}

TEST(AxialRuns, EquilibriumAtEveryLoadOfTheExamples) {
    for (const char* name : {"axial-pipe-pile-clay-sand.kin", "axial-uplift-pile-rock-socket-si.kin",
                             "axial-weathered-rock-top-bottom-curves-si.kin"}) {
        SCOPED_TRACE(name);
        const AxialRun r = RunAxial(ReadExample(name));
        EXPECT_EQ(r.Result, 0) << r.Messages;
        ASSERT_EQ(r.Curve.size(), 21u);
        double last = 0.0;
        for (const auto& v : r.Curve) {
            EXPECT_NEAR(v[0], v[2] + v[3], 1.0E-6 * std::fabs(v[0]) + 1.0E-9);
            EXPECT_GE(v[0], last);   // rising to the plunging load
            last = v[0];
        }
        ASSERT_EQ(r.Loads.size(), 2u);
        for (const auto& v : r.Loads) EXPECT_NEAR(v[0], v[2] + v[3], 1.0E-6 * std::fabs(v[0]));
    }
}

// Bad input: each error names the layer or section, the line and the value.
TEST(AxialRuns, BadInputNamesWhereAndWhat) {
    const std::string base = ReadExample("axial-pipe-pile-clay-sand.kin");
    auto edit = [&base](const std::string& from, const std::string& to) {
        std::string s = base;
        const std::size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) s.replace(at, from.size(), to);
        return s;
    };
    struct Row {
        std::string Input;
        int Result;
        std::vector<std::string> Texts;
    };
    const std::vector<Row> rows = {
        {edit("ResidualRatio 0.9", "ResidualRatio 0.65"), 157, {"Input Data Error No. 57", "AXIAL ANALYSIS, line 51", "0.65", "0.7 to 1.0"}},
        {edit("ResidualRatio 0.9", "ResidualRatio 1.05"), 157, {"line 51", "1.05"}},
        {edit("50.0  400.0  0.02", "50.0  0.0  0.02"), 154,
         {"Input Data Error No. 54", "Soil layer 1 (line 36", "shear strength of 0 at its top"}},
        {edit("62.0  34.0  0", "62.0  0.0  0"), 154, {"Soil layer 2 (line 39", "friction angle of 0 at its bottom"}},
        {edit("0                          number of user t-z",
              "1\n1  TZ  3\n0.0 0.0\n0.2 300.0\n0.1 400.0"),
         158, {"Input Data Error No. 58", "Soil layer 1, TZ curve, point 3 (line 61)", "0.1 does not rise above 0.2"}},
        {edit("0                          number of user t-z",
              "1\n1  QZ  2\n0.0 0.0\n0.2 -5.0"),
         158, {"QZ curve, point 2 (line 60)", "resistance -5"}},
        {edit("6  20.0  50.0      layer 2: API sand", "9  20.0  50.0      layer 2: vuggy limestone"),
         159, {"Input Data Error No. 59", "Soil layer 2 (line 39, code 9)"}},
    };
    for (const Row& r : rows) {
        const AxialRun run = RunAxial(r.Input);
        EXPECT_EQ(run.Result, r.Result) << r.Texts[0];
        for (const std::string& t : r.Texts) EXPECT_NE(run.Report.find(t), std::string::npos) << t << "\n" << run.Report.substr(run.Report.size() > 2000 ? run.Report.size() - 2000 : 0);
    }
}

// EA <= 0: a user-defined EI section has no area.
TEST(AxialRuns, SectionWithoutAxialStiffnessIsAnInputError) {
    const std::string input = R"(KESTRO6
TITLE





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
Increments 50
PrintSummaryOnly NO
PrintIncrement 5
PrintPYCurves NO
ComputeInteraction NO
SECTIONS
1
1
13
40.0
24.0
1
0.0
2
1000000
1.0E12
5000000
1.0E12
SOIL LAYERS
1
1  0.0  50.0
50.0  500.0  0.01
50.0  900.0  0.01
LOADING
1
1  1  10000.0  0.0  0.0  1
0
AXIAL ANALYSIS
PipeTip PLUGGED
ResidualRatio 0.9
CapacityFraction 0.5
CurveSteps 20
0
0
END
)";
    const AxialRun run = RunAxial(input);
    EXPECT_EQ(run.Result, 152) << run.Report.substr(run.Report.size() > 3000 ? run.Report.size() - 3000 : 0);
    for (const char* t : {"Input Data Error No. 52", "Pile section 1 (line 27, type 13)", "EA of 0"})
        EXPECT_NE(run.Report.find(t), std::string::npos) << t;
}

// The command's readers: the axial records are read apart from the lateral
// ones (which stay complete), go to the JSON key "axial" and the HTML section.
TEST(AxialRuns, PlotReaderJsonAndHtml) {
    const test::RunOutput out = test::RunInput(ReadExample("axial-pipe-pile-clay-sand.kin"));
    ASSERT_EQ(out.Result, 0);
    const results::PlotResults p = results::ReadPlotText(out.Plot);
    EXPECT_TRUE(p.Complete) << p.Problem;
    ASSERT_TRUE(p.Axial.Present);
    EXPECT_TRUE(p.Axial.Complete) << p.Axial.Problem;
    ASSERT_EQ(p.Axial.Curve.size(), 21u);
    ASSERT_EQ(p.Axial.Loads.size(), 2u);
    EXPECT_EQ(p.Axial.Loads[0].Nodes.size(), 91u);
    EXPECT_NEAR(p.Axial.Curve.back().Load, p.Axial.PlungingCompression, 1.0E-7 * p.Axial.PlungingCompression);
    EXPECT_EQ(p.Axial.Loads[1].Load, 900000.0);

    results::RunResults r;
    r.Name = "axial";
    r.Plot = p;
    const nlohmann::ordered_json j = nlohmann::ordered_json::parse(results::ResultsJsonText(r));
    EXPECT_EQ(j["axial"]["plungingCompression"]["value"].get<double>(), p.Axial.PlungingCompression);
    EXPECT_EQ(j["axial"]["plungingCompression"]["unit"], "lb");
    EXPECT_EQ(j["axial"]["loadSettlement"]["settlement"].size(), 21u);
    EXPECT_EQ(j["axial"]["headLoads"][0]["nodes"]["axialForce"].size(), 91u);
    const std::string html = results::HtmlReport(r);
    for (const char* t : {"<h2>Axial load transfer</h2>", "id=\"axial-load-settlement\"", "id=\"axial-force\"",
                          "id=\"axial-friction\""})
        EXPECT_NE(html.find(t), std::string::npos) << t;

    // A plot file cut inside the axial records: the lateral results stay
    // complete, the axial part says where it ends.
    const std::string cut = out.Plot.substr(0, out.Plot.find("Line 24(5)"));
    const results::PlotResults q = results::ReadPlotText(cut.substr(0, cut.rfind('\n') + 1));
    EXPECT_TRUE(q.Complete) << q.Problem;
    EXPECT_TRUE(q.Axial.Present);
    EXPECT_FALSE(q.Axial.Complete);
    EXPECT_NE(q.Axial.Problem.find("Line 24(5)"), std::string::npos) << q.Axial.Problem;

    // Without the section: no axial records, "axial" is null, no HTML section.
    const std::string base = ReadExample("axial-pipe-pile-clay-sand.kin");
    const std::string lateral = base.substr(0, base.find("AXIAL ANALYSIS")) + "END\n";
    const test::RunOutput plain = test::RunInput(lateral);
    EXPECT_EQ(plain.Plot.find("Line 21"), std::string::npos);
    results::RunResults r2;
    r2.Plot = results::ReadPlotText(plain.Plot);
    EXPECT_TRUE(r2.Plot.Complete);
    EXPECT_TRUE(nlohmann::ordered_json::parse(results::ResultsJsonText(r2))["axial"].is_null());
    EXPECT_EQ(results::HtmlReport(r2).find("Axial load transfer"), std::string::npos);
    // The lateral results are those of the run with the section.
    const std::size_t first = out.Plot.rfind('\n', out.Plot.find("Line 21: Axial")) + 1;
    EXPECT_EQ(plain.Plot, out.Plot.substr(0, first));
}

}  // namespace

// EA of concrete sections is the gross transformed section
// Ec (Ag + (n - 1) As), n = Es / Ec, with all the longitudinal steel (bars,
// casing and core pipe, strands), computed here by hand from the section data.
TEST(AxialRuns, ConcreteSectionsUseTheTransformedSection) {
    const std::string base = ReadExample("axial-pipe-pile-clay-sand.kin");
    const std::string pipe =
        "1                  section number\n"
        "4                  section type 4: steel pipe\n"
        "90.0               section length, ft\n"
        "36.0               outside diameter, in\n"
        "1.0                wall thickness, in\n"
        "50000              yield strength, psi\n"
        "29000000           elastic modulus, psi\n";
    const double pi = 3.14159265358979323846;
    auto circle = [pi](double d) { return pi * d * d / 4.0; };
    const double ec4 = 57000.0 * std::sqrt(4000.0), ec6 = 57000.0 * std::sqrt(6000.0);
    const std::string concrete =
        "Use default concrete tensile strength\nUse internal stress-strain curve for concrete\n";
    const std::string bars = "Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000.0\n2.9E7\n";
    struct Row {
        const char* Name;
        std::string Section;
        double Ec, Ag, Es, As;   // EA = Ec (Ag + (Es/Ec - 1) As)
    };
    const std::vector<Row> rows = {
        // 36 in shaft, 12 #9 bars of 1.0 sq. in.
        {"drilled shaft", "1\n1\n90.0\n36.0\n4000.0\n0.75\n" + concrete + bars + "12\n1\n1.128\n1.0\n3.0\n0.0\n", ec4,
         circle(36.0), 2.9E7, 12.0 * 1.0},
        // 48 in shaft in a 0.5 in casing (Es 29000 ksi) with a filled 24 x 0.5 in
        // core pipe (Es 30000 ksi) and 16 bars of 1.27 sq. in: the steel of
        // the casing and core enters as Es/Ec times its area.
        {"cased shaft with core", "1\n3\n90.0\n48.0\n0.5\n36000.0\n2.9E7\n24.0\n0.5\n50000.0\n3.0E7\n4000.0\n0.75\n" +
             concrete + bars + "16\n1\n1.27\n1.27\n3.0\n0.0\n",
         ec4, circle(48.0) + (3.0E7 / 2.9E7 - 1.0) * (circle(24.0) - circle(23.0)), 2.9E7,
         (circle(48.0) - circle(47.0)) + (circle(24.0) - circle(23.0)) * 3.0E7 / 2.9E7 + 16.0 * 1.27},
        // 14 in square prestressed pile, 0.75 in chamfers, 8 strands of 0.5 in
        // (0.153 sq. in each, 28500 ksi).
        {"prestressed square pile",
         "1\n7\n90.0\n14.0\n0.75\n6000.0\n0.75\n" + concrete +
             "Autoposition strands\n2\n1\n8\n270000.0\n189000.0\n0.5\n1\n",
         ec6, 14.0 * 14.0 - 4.0 * 0.75 * 0.75 / 2.0, 2.85E7, 8.0 * 0.153},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        std::string input = base;
        const std::size_t at = input.find(pipe);
        ASSERT_NE(at, std::string::npos);
        input.replace(at, pipe.size(), r.Section);
        // A lateral case the slender prestressed pile carries.
        const std::string lateral = "1  1  30000.0  0.0  600000.0";
        ASSERT_NE(input.find(lateral), std::string::npos);
        input.replace(input.find(lateral), lateral.size(), "1  1  3000.0  0.0  60000.0");
        const AxialRun run = RunAxial(input);
        // The small pile plunges below the example's head loads: warning 384.
        ASSERT_TRUE(run.Result == 0 || run.Result == -384)
            << run.Report.substr(run.Report.size() > 3000 ? run.Report.size() - 3000 : 0);
        const double ea = r.Ec * (r.Ag + (r.Es / r.Ec - 1.0) * r.As);
        const double gross = r.Ec * r.Ag;
        ASSERT_GE(AxialColumn.NumNodes, 2);
        for (int i = 1; i < AxialColumn.NumNodes; i += 30) EXPECT_NEAR(AxialColumn.EA[U(i)], ea, 1.0E-9 * ea) << i;
        EXPECT_GT(ea / gross, 1.01);   // the steel is seen
        // The report states it.
        const std::size_t line = run.Report.find("Axial stiffness EA at the section top");
        ASSERT_NE(line, std::string::npos);
        const double printed = std::stod(run.Report.substr(run.Report.find('=', line) + 1));
        EXPECT_NEAR(printed, ea, 1.0E-4 * ea);
        if (r.Ec != ec4 || r.As != 12.0) continue;

        // The 36 in shaft on linear user springs (shaft 4000 psf/in, tip
        // 250000 psf/in over the whole circle): the head stiffness of the bar
        // on an elastic foundation, k = 4000/144 pi 36, kt = 250000/144 Ag,
        // K = EA lambda (tanh(lambda L) + beta) / (1 + beta tanh(lambda L)),
        // lambda = sqrt(k / EA), beta = kt / (EA lambda), with the transformed
        // EA; the gross EA would give a head stiffness about 3 % lower.
        std::string linear = input;
        const std::string none = "0                          number of user t-z and q-z curves";
        ASSERT_NE(linear.find(none), std::string::npos);
        linear.replace(linear.find(none), none.size(),
                       "4\n1 TZ 2\n0 0\n10 40000\n2 TZ 2\n0 0\n10 40000\n3 TZ 2\n0 0\n10 40000\n3 QZ 2\n0 0\n10 2500000");
        const AxialRun springs = RunAxial(linear);
        ASSERT_EQ(springs.Result, 0) << springs.Report.substr(springs.Report.size() > 3000 ? springs.Report.size() - 3000 : 0);
        const std::size_t at2 = springs.Report.find("Tangent head stiffness");
        ASSERT_NE(at2, std::string::npos);
        const double head = std::stod(springs.Report.substr(springs.Report.find('=', at2) + 1));
        const double k = 4000.0 / 144.0 * pi * 36.0, kt = 250000.0 / 144.0 * circle(36.0), length = 1080.0;
        auto closed = [&](double stiffness) {
            const double lambda = std::sqrt(k / stiffness), beta = kt / (stiffness * lambda);
            const double t = std::tanh(lambda * length);
            return stiffness * lambda * (t + beta) / (1.0 + beta * t);
        };
        EXPECT_NEAR(head / closed(ea), 1.0, 1.0E-3);
        EXPECT_GT(closed(ea) / closed(gross), 1.02);
    }
}

// User t-z and q-z curves at the top and the bottom of a layer, interpolated
// by depth as user p-y curves are: at a movement w the resistance is
// t_top(w) + s (t_bottom(w) - t_top(w)), s = (x - x_top) / (x_bottom - x_top).
// A 12 in solid elastic pile, 10 ft long, stiff (E 1.0E8 psi), in the upper
// half of a soft clay layer 0 to 20 ft whose user curves replace the clay laws.
namespace {

std::string TopBottomInput(const std::string& curves, int increments) {
    return "KESTRO6\nTITLE\nUser t-z and q-z curves at the top and the bottom of a layer\n\n\n\n\nOPTIONS\n"
           "Units USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
           "ComputeEIOnly NO\nLoading STATIC     1\nMaxIterations 100\nDeflectionLimit 100.0\nTolerance 1.0E-5\n"
           "Increments " + std::to_string(increments) + "\nPrintSummaryOnly NO\nPrintIncrement 10\n"
           "PrintPYCurves NO\nComputeInteraction NO\n"
           "SECTIONS\n1\n1\n11\n10.0\n1\n1.0E8\n12.0\n12.0\n113.09733552923255\n113.09733552923255\n"
           "1017.8760197630929\n1017.8760197630929\n"
           "SOIL LAYERS\n1\n1  0.0  20.0\n50.0  400.0  0.02\n50.0  400.0  0.02\n"
           "LOADING\n1\n1  1  100.0  0.0  0.0  1\n0\n"
           "AXIAL ANALYSIS\nPipeTip CLOSED\nResidualRatio 0.9\nCapacityFraction 0.5\nCurveSteps 20\n" + curves + "END\n";
}

// The curves of the test by hand (psf against in): piecewise linear, the
// last value beyond the last point.
double Linear(const std::vector<std::pair<double, double>>& pts, double w) {
    for (std::size_t j = 1; j < pts.size(); ++j)
        if (w <= pts[j].first)
            return pts[j - 1].second +
                   (pts[j].second - pts[j - 1].second) * (w - pts[j - 1].first) / (pts[j].first - pts[j - 1].first);
    return pts.back().second;
}
const std::vector<std::pair<double, double>> TzTop = {{0.0, 0.0}, {0.1, 500.0}, {0.3, 800.0}};
const std::vector<std::pair<double, double>> TzBottom = {{0.0, 0.0}, {0.2, 1200.0}, {0.4, 1600.0}, {1.0, 2000.0}};
const std::vector<std::pair<double, double>> QzTop = {{0.0, 0.0}, {0.5, 10000.0}};
const std::vector<std::pair<double, double>> QzBottom = {{0.0, 0.0}, {0.25, 30000.0}};
const std::string TopBottomCurves =
    "2                  number of head loads\n1  20000.0\n2  -10000.0\n"
    "4                  number of user curves\n"
    "1  TZ-TOP  3\n0.0 0.0\n0.1 500.0\n0.3 800.0\n"
    "1  QZ-TOP  2\n0.0 0.0\n0.5 10000.0\n"
    "1  TZ-BOTTOM  4\n0.0 0.0\n0.2 1200.0\n0.4 1600.0\n1.0 2000.0\n"
    "1  QZ-BOTTOM  2\n0.0 0.0\n0.25 30000.0\n";

TEST(AxialUserCurvesTopBottom, MidLayerCurveIsTheHandInterpolation) {
    // 48 increments of 2.5 in: node 25 at 60 in is a quarter of the way down
    // the layer (s = 0.25), node 49 the tip at 120 in, mid-layer (s = 0.5).
    const AxialRun run = RunAxial(TopBottomInput(TopBottomCurves, 48));
    ASSERT_EQ(run.Result, 0) << run.Report.substr(run.Report.size() > 3000 ? run.Report.size() - 3000 : 0);
    const AxialPile& P = AxialColumn;
    ASSERT_EQ(P.NumNodes, 49);
    const double pi = 3.14159265358979323846, perimeter = pi * 12.0, h = 2.5, tipArea = pi * 36.0;
    struct Row {
        int Node;
        double S;
    };
    for (const Row& node : {Row{25, 0.25}, Row{13, 0.125}, Row{47, 115.0 / 240.0}}) {
        SCOPED_TRACE(node.Node);
        // Interior node: its tributary length h of shaft carries the unit
        // friction of its own depth (the peak is linear in depth).
        for (double w : {0.05, 0.1, 0.15, 0.2, 0.25, 0.3, 0.35, 0.5, 0.9, 1.5, -0.15, -0.6}) {
            const double a = std::fabs(w);
            const double t = Linear(TzTop, a) + node.S * (Linear(TzBottom, a) - Linear(TzTop, a));
            const double hand = (w < 0.0 ? -1.0 : 1.0) * t / 144.0 * perimeter * h;
            EXPECT_NEAR(SpringForce(P, P.Shaft[U(node.Node)], w).T, hand, 1.0E-9 * std::fabs(hand)) << w;
        }
    }
    // The tip at mid-layer: q = (q_top + q_bottom) / 2 on the tip area; no tension.
    for (double w : {0.1, 0.25, 0.4, 0.5, 2.0}) {
        const double q = 0.5 * (Linear(QzTop, w) + Linear(QzBottom, w));
        EXPECT_NEAR(SpringForce(P, P.Tip, w).T, q / 144.0 * tipArea, 1.0E-9 * q) << w;
    }
    EXPECT_EQ(SpringForce(P, P.Tip, -0.1).T, 0.0);
    // The reported unit end bearing and ultimate values.
    EXPECT_NEAR(AxialResults.UnitEndBearing, 0.5 * (10000.0 + 30000.0) / 144.0, 1.0E-9);
    EXPECT_NEAR(AxialResults.UltimateTip, 20000.0 / 144.0 * tipArea, 1.0E-6);
    // f_max = 800 + (x / 240) 1200 psf integrated over 0 to 120 in.
    const double shaftUltimate = (800.0 * 120.0 + 1200.0 / 240.0 * 120.0 * 120.0 / 2.0) / 144.0 * perimeter;
    EXPECT_NEAR(AxialResults.UltimateShaft, shaftUltimate, 1.0E-9 * shaftUltimate);
}

// A layer whose top and bottom curves are the same is the one-curve layer,
// to the last bit of every result.
TEST(AxialUserCurvesTopBottom, IdenticalTopAndBottomEqualOneCurve) {
    const std::string tz = "0.0 0.0\n0.1 500.0\n0.3 800.0\n", qz = "0.0 0.0\n0.5 10000.0\n";
    const std::string loads = "2\n1  20000.0\n2  -10000.0\n";
    const AxialRun one = RunAxial(TopBottomInput(loads + "2\n1  TZ  3\n" + tz + "1  QZ  2\n" + qz, 48));
    ASSERT_EQ(one.Result, 0);
    const AxialResultsData a = AxialResults;
    const AxialRun two = RunAxial(TopBottomInput(
        loads + "4\n1  TZ-BOTTOM  3\n" + tz + "1  TZ-TOP  3\n" + tz + "1  QZ-TOP  2\n" + qz + "1  QZ-BOTTOM  2\n" + qz,
        48));
    ASSERT_EQ(two.Result, 0);
    const AxialResultsData& b = AxialResults;
    EXPECT_EQ(a.UltimateShaft, b.UltimateShaft);
    EXPECT_EQ(a.UltimateTip, b.UltimateTip);
    EXPECT_EQ(a.PlungingCompression, b.PlungingCompression);
    EXPECT_EQ(a.PlungingUplift, b.PlungingUplift);
    EXPECT_EQ(a.MovementAtFractionCompression, b.MovementAtFractionCompression);
    EXPECT_EQ(a.MovementAtFractionUplift, b.MovementAtFractionUplift);
    ASSERT_EQ(a.NumCurvePoints, 21);
    for (int k = 0; k < a.NumCurvePoints; ++k) {
        EXPECT_EQ(a.CurveLoad[U(k)], b.CurveLoad[U(k)]);
        EXPECT_EQ(a.CurveMovement[U(k)], b.CurveMovement[U(k)]);
    }
    for (int j = 1; j <= 2; ++j) {
        EXPECT_EQ(a.Profiles[U(j)].HeadMovement, b.Profiles[U(j)].HeadMovement);
        for (int i = 1; i <= 49; ++i) EXPECT_EQ(a.Profiles[U(j)].Force[U(i)], b.Profiles[U(j)].Force[U(i)]);
    }
    // The axial pages and records (after the input echo, which differs).
    auto tail = [](const std::string& s, const char* from) {
        const std::size_t at = s.find(from);
        return at == std::string::npos ? std::string() : s.substr(at);
    };
    EXPECT_FALSE(tail(one.Report, "Axial Load Transfer of the Pile").empty());
    EXPECT_EQ(tail(one.Report, "Axial Load Transfer of the Pile"), tail(two.Report, "Axial Load Transfer of the Pile"));
}

// The stiff pile moves as one body: under the head load P its settlement w
// solves P = perimeter * integral over 0..L of t(x, w) dx + A_tip q(L, w),
// with t(x, w) = t_top(w) + (x / 240) (t_bottom(w) - t_top(w)) and q at
// mid-layer; both linear in w on each stretch between breakpoints, so P(w) is
// computed here for a chosen w and the run is given P.
TEST(AxialUserCurvesTopBottom, RigidPileSettlementByHand) {
    const double pi = 3.14159265358979323846, perimeter = pi * 12.0, tipArea = pi * 36.0, L = 120.0;
    std::string loads = "3\n";
    const std::vector<double> ws = {0.05, 0.15, 0.35};
    std::vector<double> shafts, tips;
    for (std::size_t j = 0; j < ws.size(); ++j) {
        const double w = ws[j];
        const double top = Linear(TzTop, w), bottom = Linear(TzBottom, w);
        // integral of top + (x / 240) (bottom - top) over 0..L
        shafts.push_back((top * L + (bottom - top) / 240.0 * L * L / 2.0) / 144.0 * perimeter);
        tips.push_back(0.5 * (Linear(QzTop, w) + Linear(QzBottom, w)) / 144.0 * tipArea);
        char line[64];
        std::snprintf(line, sizeof line, "%zu  %.10g\n", j + 1, shafts.back() + tips.back());
        loads += line;
    }
    std::string curves = TopBottomCurves;
    curves.replace(0, curves.find("4                  number of user curves"), loads);
    const AxialRun run = RunAxial(TopBottomInput(curves, 240));
    ASSERT_EQ(run.Result, 0) << run.Report.substr(run.Report.size() > 3000 ? run.Report.size() - 3000 : 0);
    for (std::size_t j = 0; j < ws.size(); ++j) {
        SCOPED_TRACE(ws[j]);
        const AxialProfile& p = AxialResults.Profiles[j + 1];
        ASSERT_TRUE(p.b_Solved);
        // The pile shortens by about P L / (2 EA), below 1E-3 of w; the
        // shaft sum differs from the integral only at the two end nodes. Any
        // other weighting of the two curves (the top curve alone, the weights
        // reversed) is off by 10 % or more.
        EXPECT_NEAR(p.HeadMovement, ws[j], 2.0E-3 * ws[j]);
        EXPECT_NEAR(p.Shaft, shafts[j], 2.0E-3 * shafts[j]);
        EXPECT_NEAR(p.Tip, tips[j], 2.0E-3 * tips[j]);
    }
}

// Bad pairs: each an input error naming the curve, the layer and the line.
TEST(AxialUserCurvesTopBottom, UnpairedOrMixedCurvesAreInputErrors) {
    const std::string tz = "0.0 0.0\n0.1 500.0\n", loads = "0\n";
    struct Row {
        std::string Curves;
        std::vector<std::string> Texts;
    };
    const std::vector<Row> rows = {
        {loads + "1\n1  TZ-TOP  2\n" + tz,
         {"Input Data Error No. 58", "user curve 1 (line 54) gives the TZ-TOP curve of soil layer 1 but no TZ-BOTTOM"}},
        {loads + "2\n1  QZ-BOTTOM  2\n" + tz + "1  TZ  2\n" + tz, {"gives the QZ-BOTTOM curve of soil layer 1 but no QZ-TOP"}},
        {loads + "2\n1  TZ  2\n" + tz + "1  TZ-BOTTOM  2\n" + tz,
         {"user curve 2 (line 57) adds the TZ-BOTTOM curve of soil layer 1 to its TZ curve (user curve 1, line 54)"}},
        {loads + "2\n1  TZ-TOP  2\n" + tz + "1  TZ-TOP  2\n" + tz, {"repeats the TZ-TOP curve of soil layer 1"}},
        {loads + "1\n1  TZ-MIDDLE  2\n" + tz, {"is of kind \"TZ-MIDDLE\"", "TZ-TOP and TZ-BOTTOM"}},
        {loads + "2\n1  TZ-TOP  2\n" + tz + "1  TZ-BOTTOM  2\n0.0 0.0\n0.1 -5.0\n",
         {"Soil layer 1, TZ-BOTTOM curve, point 2 (line 59)", "resistance -5"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Texts[0]);
        const AxialRun run = RunAxial(TopBottomInput(r.Curves, 48));
        EXPECT_EQ(run.Result, 158);
        for (const std::string& t : r.Texts)
            EXPECT_NE(run.Report.find(t), std::string::npos)
                << t << "\n" << run.Report.substr(run.Report.size() > 1500 ? run.Report.size() - 1500 : 0);
    }
}

}  // namespace
