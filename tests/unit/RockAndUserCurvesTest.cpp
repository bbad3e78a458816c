// Vuggy limestone, massive rock, Piedmont residual soil and user-input p-y
// curves: the curves at their segment boundaries, the printed points, the
// station loop (moduli, warnings, input errors) and the agreement of unit
// systems, against the published equations written out by hand here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "LayerTestSupport.h"
#include "PileTestSupport.h"
#include "model/SoilState.h"
#include "soil/MassiveRock.h"
#include "soil/PiedmontResidual.h"
#include "soil/PyCriteria.h"
#include "soil/UserCurves.h"
#include "soil/VuggyLimestone.h"

using namespace kestro;

namespace {

constexpr double Pi = std::numbers::pi;
std::size_t U(int i) { return static_cast<std::size_t>(i); }
constexpr double KPaPerPsi = 6.894757293168361;
constexpr double MPerIn = 0.0254;

// ---- Hand forms of the published equations ----

// Vuggy limestone (Reese & Nyman 1978).
double HandVuggy(double qu, double b, double g, double z, double y) {
    const double su = qu / 2.0, y1 = 0.0004 * b, p1 = 0.8 * b * su, y2 = y1 + (b * su - p1) / (100.0 * su);
    if (y < y1) return 2000.0 * su * y;
    if (y <= y2) return p1 + 100.0 * su * (y - y1);
    return 0.5 * g * b * z;
}

// Piedmont residual soil (Simpson & Brown 2006); bIn = b / (1 in).
double HandPiedmont(double E, double b, double bIn, double y) {
    if (y < 0.001 * b) return E * bIn * y;
    if (y < 0.0375 * b) return E * bIn * y * (1.0 - 0.23 * std::log(1000.0 * y / b));
    return static_cast<double>(0.16648f) * E * bIn * 0.0375 * b;
}

// Massive rock (Liang et al. 2009) with m_i = 6, GSI = 42, nu = 0.4; the
// Hoek-Brown tangent at sigma3 = gamma z, the Reese sand wedge with
// K0 = 1 - sin phi', Reese's cohesive terms, Rowe & Armitage side shear.
struct HandMassRock {
    double Ki, Pu, Phi, C;
};
HandMassRock HandMassiveRock(double qu, double Er, double g, double z, double b, double EI, bool si) {
    const double gsi = 42.0, mb = 6.0 * std::exp((gsi - 100.0) / 28.0), s = std::exp((gsi - 100.0) / 9.0);
    const double a = 0.5 + (std::exp(-gsi / 15.0) - std::exp(-20.0 / 3.0)) / 6.0;
    const double Em = Er / 100.0 * std::exp(gsi / 21.7);
    const double bft = si ? b / 0.3048 : b / 12.0;
    HandMassRock h{};
    h.Ki = Em * bft * std::exp(-2.0 * 0.4) * std::pow(EI / (Em * std::pow(b, 4)), 0.284);
    const double s3 = g * z;
    const double s1 = s3 + qu * std::pow(mb * s3 / qu + s, a);
    const double k = 1.0 + a * mb * std::pow(mb * s3 / qu + s, a - 1.0);
    h.Phi = std::asin((k - 1.0) / (k + 1.0));
    h.C = (s1 - k * s3) / (2.0 * std::sqrt(k));
    const double quMPa = si ? qu / 1000.0 : qu * KPaPerPsi / 1000.0;
    const double tau = 0.45 * std::sqrt(quMPa) * (si ? 1000.0 : 1000.0 / KPaPerPsi);
    const double phi = h.Phi, al = phi / 2.0, be = Pi / 4.0 + phi / 2.0, k0 = 1.0 - std::sin(phi);
    const double ka = std::pow(std::tan(Pi / 4.0 - phi / 2.0), 2);
    const double pst = g * z *
                       (k0 * z * std::tan(phi) * std::sin(be) / (std::cos(al) * std::tan(be - phi)) +
                        std::tan(be) / std::tan(be - phi) * (b + z * std::tan(be) * std::tan(al)) +
                        k0 * z * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(al)) - ka * b);
    const double wedge = pst + h.C * (2.0 * b + 2.83 * z) + tau * b;
    const double flow = (s1 + tau) * b;
    h.Pu = std::min(wedge, flow);
    return h;
}

SoilPoint UserCurve(std::initializer_list<std::pair<double, double>> pts, double gamma = 0.06) {
    SoilPoint c;
    c.UnitWeight = gamma;
    int n = 0;
    for (auto [y, p] : pts) {
        ++n;
        c.UserY[U(n)] = y;
        c.UserP[U(n)] = p;
    }
    c.UserCurvePoints = n;
    return c;
}

using test::BuildPile;

// The pile's bending stiffness EI in its property rows and at every station.
void SetPileEI(double EI) {
    Problem.PropertyTable[1].Inertia = Problem.PropertyTable[2].Inertia = 1.0;
    Problem.PropertyTable[1].Modulus = Problem.PropertyTable[2].Modulus = EI;
    for (int i = 1; i <= Pile.NumStations; ++i) Pile.EI[St(i)] = EI;
}

SoilPoint Rock(double gamma, double qu, double Er = 0.0) {
    SoilPoint p;
    p.UnitWeight = gamma;
    p.Cohesion = qu;
    p.Kpy = Er;
    return p;
}

SoilPoint Field(int kind, double value, double gamma = 0.07) {
    SoilPoint p;
    p.UnitWeight = gamma;
    p.TestType = kind;
    if (kind >= 1 && kind <= 4) p.TestValue[U(kind)] = value;
    return p;
}

// The printed curve of layer 1 at depth d: the 17 (y, p) of the Line 8 records.
struct Printed {
    std::vector<double> Y, P;
    std::string Report, Plot;
};
Printed PrintAt(double d) {
    test::CapturedChannels ch;
    Pile.x[St(1)] = d;
    Pile.FirstStation[1] = Pile.LastStation[1] = 1;
    for (int k = 2; k <= Problem.NumLayers; ++k) Pile.FirstStation[U(k)] = Pile.LastStation[U(k)] = 0;
    PrintLayerCurves(1);
    ch.Close();
    Printed r;
    r.Report = ch.Report;
    r.Plot = ch.Plot;
    std::istringstream in(ch.Plot);
    std::string line;
    while (std::getline(in, line)) {
        double y = 0.0, p = 0.0;
        if (line.find("Line 8(") != std::string::npos && std::sscanf(line.c_str(), "%lf %lf", &y, &p) == 2) {
            r.Y.push_back(y);
            r.P.push_back(p);
        }
    }
    return r;
}

void ExpectNear(double got, double want, double rel, const std::string& what) {
    EXPECT_NEAR(got, want, rel * std::max(1.0, std::fabs(want))) << what;
}

}  // namespace

// ---- Curves at their segment boundaries ----

TEST(VuggyLimestoneCurve, SegmentsAndBoundariesFromBothSides) {
    const double qu = 2000.0, b = 36.0, g = 0.07, z = 120.0;
    const double y1 = 0.0004 * b, y2 = y1 + 0.2 * b * 1000.0 / (100.0 * 1000.0);
    const VuggyLimestoneCurve c = MakeVuggyLimestoneCurve(qu, b, g, z);
    EXPECT_DOUBLE_EQ(c.Y1, y1);
    EXPECT_NEAR(c.Y2, y2, 1e-15);
    for (double y : {0.3 * y1, y1 * (1 - 1e-9), y1, y1 * (1 + 1e-9), 0.5 * (y1 + y2), y2 * (1 - 1e-9), y2,
                     y2 * (1 + 1e-9), 3.0 * y2})
        EXPECT_NEAR(VuggyLimestoneP(c, y), HandVuggy(qu, b, g, z, y), 1e-9 * b * qu) << "y = " << y;
    // The second line reaches b su at y2; beyond, only 0.5 gamma' b z is left.
    EXPECT_NEAR(VuggyLimestoneP(c, y2), b * qu / 2.0, 1e-9);
    EXPECT_DOUBLE_EQ(VuggyLimestoneP(c, y2 * (1 + 1e-9)), 0.5 * g * b * z);
}

TEST(PiedmontCurve, SegmentsAndBoundariesFromBothSides) {
    const double E = 22.0 * 20.0, b = 30.0;
    const PiedmontCurve c = MakePiedmontCurve(E, b, UnitsUS);
    const double ya = 0.001 * b, yb = 0.0375 * b;
    for (double y : {0.2 * ya, ya * (1 - 1e-9), ya, ya * (1 + 1e-9), 0.0284 * b, yb * (1 - 1e-9), yb,
                     yb * (1 + 1e-9), yb + b})
        EXPECT_NEAR(PiedmontP(c, y), HandPiedmont(E, b, b, y), 1e-9 * E * b) << "y = " << y;
    // Field-test factors: SPT 22 psi (151.68466 kPa) per blow; CPT, DMT and PMT in any units.
    EXPECT_DOUBLE_EQ(FieldTestModulusFactor(TestSpt, UnitsUS), 22.0);
    EXPECT_DOUBLE_EQ(FieldTestModulusFactor(TestSpt, UnitsSI), static_cast<double>(151.68466f));
    EXPECT_DOUBLE_EQ(FieldTestModulusFactor(TestSpt, UnitsGeneral), 0.0);
    for (int units : {UnitsUS, UnitsSI, UnitsGeneral}) {
        EXPECT_DOUBLE_EQ(FieldTestModulusFactor(TestCpt, units), 0.118);
        EXPECT_DOUBLE_EQ(FieldTestModulusFactor(TestDmt, units), 0.076);
        EXPECT_DOUBLE_EQ(FieldTestModulusFactor(TestPmt, units), 0.235);
    }
    EXPECT_DOUBLE_EQ(FieldTestModulusFactor(0, UnitsUS), 0.0);
    EXPECT_DOUBLE_EQ(FieldTestModulusFactor(5, UnitsUS), 0.0);
}

struct MassRockCase {
    double Z;       // in
    double Y;       // in
};
class MassiveRockCurveTest : public testing::TestWithParam<MassRockCase> {};

TEST_P(MassiveRockCurveTest, HyperbolaOnTheHoekBrownRockMass) {
    const double qu = 5000.0, Er = 2.0E6, g = 150.0 / 1728.0, b = 36.0, EI = 3.6E6 * 82448.0;
    const MassRockCase& c = GetParam();
    const HandMassRock h = HandMassiveRock(qu, Er, g, c.Z, b, EI, false);
    const MassiveRockCurve m = MakeMassiveRockCurve(qu, Er, g, c.Z, b, EI, UnitsUS);
    // The single-precision constants agree with their closed forms to about 1E-7.
    EXPECT_NEAR(m.Ki, h.Ki, 1e-6 * h.Ki);
    EXPECT_NEAR(m.Phi, h.Phi, 1e-6 * h.Phi);
    EXPECT_NEAR(m.Cohesion, h.C, 1e-6 * h.C);
    EXPECT_NEAR(m.Pu, h.Pu, 1e-6 * h.Pu);
    const double p = c.Y / (1.0 / h.Ki + c.Y / h.Pu);
    EXPECT_NEAR(MassiveRockP(m, c.Y), p, 1e-6 * p);
    EXPECT_LT(MassiveRockP(m, c.Y), h.Pu);
}

INSTANTIATE_TEST_SUITE_P(DepthsAndDeflections, MassiveRockCurveTest,
                         testing::Values(MassRockCase{1.0E-4, 0.01}, MassRockCase{12.0, 0.001}, MassRockCase{60.0, 0.05},
                                         MassRockCase{240.0, 0.2}, MassRockCase{600.0, 2.0}));

TEST(MassiveRockCurve, WedgeGovernsNearTheSurfaceAndFlowAtDepth) {
    const double qu = 5000.0, Er = 2.0E6, g = 150.0 / 1728.0, b = 36.0, EI = 1.0E11;
    const MassiveRockCurve top = MakeMassiveRockCurve(qu, Er, g, 1.0E-4, b, EI, UnitsUS);
    EXPECT_LT(top.PuWedge, top.PuFlow);
    EXPECT_DOUBLE_EQ(top.Pu, top.PuWedge);
    const MassiveRockCurve deep = MakeMassiveRockCurve(qu, Er, g, 2000.0, b, EI, UnitsUS);
    EXPECT_LT(deep.PuFlow, deep.PuWedge);
    EXPECT_DOUBLE_EQ(deep.Pu, deep.PuFlow);
}

TEST(UserCurve, InterpolatesOnEachCurveAndBetweenDepths) {
    const SoilPoint top = UserCurve({{0.0, 0.0}, {0.1, 150.0}, {0.3, 300.0}, {1.2, 500.0}});
    const SoilPoint bot = UserCurve({{0.0, 0.0}, {0.2, 600.0}, {1.0, 1800.0}});
    struct Row {
        double Y, PTop, PBot;
    } rows[] = {{0.05, 75.0, 150.0},   {0.1, 150.0, 300.0},   {0.1 * (1 + 1e-9), 150.0, 300.0},
                {0.3, 300.0, 750.0},   {0.75, 400.0, 1425.0}, {1.2, 500.0, 1800.0},
                {5.0, 500.0, 1800.0}};
    for (const Row& r : rows) {
        EXPECT_NEAR(UserCurveP(top, r.Y), r.PTop, 1e-6) << r.Y;
        EXPECT_NEAR(UserCurveP(bot, r.Y), r.PBot, 1e-6) << r.Y;
        // the curves reproduce themselves at their depths and interpolate linearly between
        EXPECT_NEAR(InterpolatedUserP(top, bot, 120.0, 600.0, 120.0, r.Y), r.PTop, 1e-6);
        EXPECT_NEAR(InterpolatedUserP(top, bot, 120.0, 600.0, 600.0, r.Y), r.PBot, 1e-6);
        EXPECT_NEAR(InterpolatedUserP(top, bot, 120.0, 600.0, 240.0, r.Y), 0.75 * r.PTop + 0.25 * r.PBot, 1e-6);
    }
    // Above the top curve and below the bottom curve there is no resistance.
    EXPECT_EQ(InterpolatedUserP(top, bot, 120.0, 600.0, 119.0, 0.5), 0.0);
    EXPECT_EQ(InterpolatedUserP(top, bot, 120.0, 600.0, 601.0, 0.5), 0.0);
}

struct FaultCase {
    SoilPoint Curve;
    UserCurveFault Fault;
    int Point;
    double Value;
};
class UserCurveFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(UserCurveFaultTest, FindsTheFirstFault) {
    const FaultCase& c = GetParam();
    int point = -1;
    double value = -1.0;
    EXPECT_EQ(FindUserCurveFault(c.Curve, point, value), c.Fault);
    EXPECT_EQ(point, c.Point);
    if (c.Fault != UserCurveFault::None) {
        EXPECT_DOUBLE_EQ(value, c.Value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Curves, UserCurveFaultTest,
    testing::Values(FaultCase{UserCurve({{0.0, 0.0}, {0.1, 10.0}, {0.2, 5.0}}), UserCurveFault::None, 0, 0.0},
                    FaultCase{UserCurve({{0.0, 0.0}}), UserCurveFault::TooFewPoints, 0, 1.0},
                    FaultCase{UserCurve({}), UserCurveFault::TooFewPoints, 0, 0.0},
                    FaultCase{UserCurve({{0.05, 0.0}, {0.1, 10.0}}), UserCurveFault::FirstPointNotAtOrigin, 1, 0.05},
                    FaultCase{UserCurve({{0.0, 3.0}, {0.1, 10.0}}), UserCurveFault::FirstPointNotAtOrigin, 1, 3.0},
                    FaultCase{UserCurve({{0.0, 0.0}, {0.2, 10.0}, {0.1, 20.0}}), UserCurveFault::DeflectionNotRising,
                              3, 0.1},
                    FaultCase{UserCurve({{0.0, 0.0}, {0.2, 10.0}, {0.2, 20.0}}), UserCurveFault::DeflectionNotRising,
                              3, 0.2},
                    FaultCase{UserCurve({{0.0, 0.0}, {0.2, -1.0}}), UserCurveFault::NegativeP, 2, -1.0}));

// ---- The station loop ----

TEST(VuggyLimestoneLayer, ModulusSecantAndInitialSlope) {
    const double b = 36.0, L = 600.0, qu = 2000.0, g = 0.075, y0 = 0.03;
    BuildPile({{SoilVuggyLimestone, 0.0, L, Rock(g, qu), Rock(g, qu)}}, b, L, 50, y0);
    Problem.Options.UseSoilMovement = true;   // rock does not move with the soil
    Pile.ysm[St(21)] = 0.02;
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    const double z = 240.0;   // station 21
    EXPECT_NEAR(Pile.Es[St(21)], HandVuggy(qu, b, g, z, y0) / y0, 1e-9 * HandVuggy(qu, b, g, z, y0) / y0);
    EXPECT_EQ(Pile.W[St(21)], 0.0);
    // Without deflection: ks = 2000 su, divided by the y-multiplier only.
    BuildPile({{SoilVuggyLimestone, 0.0, L, Rock(g, qu), Rock(g, qu)}}, b, L, 50, 0.0);
    EvaluateLayerCriterion(1);
    EXPECT_DOUBLE_EQ(Pile.Es[St(21)], 2000.0 * qu / 2.0);
}

struct WarningCase {
    int Units;
    double Su;
    bool Raised;
};
class VuggyWarningTest : public testing::TestWithParam<WarningCase> {};

TEST_P(VuggyWarningTest, StrengthOutsideTheTestedRangeRaises308) {
    const WarningCase& c = GetParam();
    const bool si = c.Units == UnitsSI;
    BuildPile({{SoilVuggyLimestone, 0.0, si ? 15.0 : 600.0, Rock(si ? 20.0 : 0.075, 2.0 * c.Su),
                Rock(si ? 20.0 : 0.075, 2.0 * c.Su)}},
              si ? 0.9 : 36.0, si ? 15.0 : 600.0, 20, 0.01, c.Units);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    EXPECT_EQ(Warnings.WarningCount[308] > 0, c.Raised) << c.Su;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, VuggyWarningTest,
    testing::Values(WarningCase{UnitsUS, 500.0 * (1 - 1e-9), true}, WarningCase{UnitsUS, 500.0 * (1 + 1e-9), false},
                    WarningCase{UnitsUS, 2500.0 * (1 + 1e-9), true}, WarningCase{UnitsUS, 2500.0 * (1 - 1e-9), false},
                    WarningCase{UnitsSI, 6895.0 * (1 - 1e-9), true}, WarningCase{UnitsSI, 6895.0 * (1 + 1e-9), false},
                    WarningCase{UnitsSI, 17237.5 * (1 + 1e-9), true}, WarningCase{UnitsSI, 17237.5 * (1 - 1e-9), false},
                    WarningCase{UnitsGeneral, 1.0, false}));

TEST(PiedmontLayer, ModulusFromTheInterpolatedFieldTest) {
    // SPT N60 from 10 at the top to 30 at the bottom of a 0-600 in layer.
    const double b = 30.0, L = 600.0, y0 = 0.2;
    BuildPile({{SoilPiedmont, 0.0, L, Field(TestSpt, 10.0), Field(TestSpt, 30.0)}}, b, L, 50, y0);
    Problem.Options.UseSoilMovement = true;
    Pile.ysm[St(26)] = 0.05;
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    const double E = 22.0 * (10.0 + 20.0 * 300.0 / 600.0);
    const double y = y0 - 0.05;
    const double es = HandPiedmont(E, b, b, y) / y;
    EXPECT_NEAR(Pile.Es[St(26)], es, 1e-9 * es);
    // The moving soil loads the pile: W = ysm Es.
    EXPECT_NEAR(Pile.W[St(26)], 0.05 * es, 1e-9 * es);
}

struct PiedmontErrorCase {
    int TopKind, BottomKind, Units;
    double TopValue, BottomValue;
    std::string Text;
};
class PiedmontErrorTest : public testing::TestWithParam<PiedmontErrorCase> {};

TEST_P(PiedmontErrorTest, BadFieldTestEndsTheRunNamingTheLayer) {
    const PiedmontErrorCase& c = GetParam();
    BuildPile({{SoilSandReese, 0.0, 120.0, {}, {}}, {SoilPiedmont, 120.0, 600.0, Field(c.TopKind, c.TopValue),
                                                     Field(c.BottomKind, c.BottomValue)}},
              30.0, 600.0, 50, 0.1, c.Units);
    test::CapturedChannels ch;
    EvaluateLayerCriterion(2);
    ch.Close();
    if (!Failed()) FAIL() << "Input Data Error 72 expected";
    EXPECT_EQ(kestro::Run.ErrorNumber, 172);
    EXPECT_TRUE(test::Has(ch.Report, "**** Input Data Error No. 72 ****")) << ch.Report;
    EXPECT_TRUE(test::Has(ch.Report, c.Text)) << ch.Report;
    EXPECT_TRUE(test::Has(ch.Messages, c.Text));
}

INSTANTIATE_TEST_SUITE_P(
    FieldTests, PiedmontErrorTest,
    testing::Values(
        PiedmontErrorCase{0, 0, UnitsUS, 10.0, 10.0, "The field test type at the top of soil layer 2 is 0; it must be 1 to 4."},
        PiedmontErrorCase{5, 5, UnitsUS, 10.0, 10.0, "The field test type at the top of soil layer 2 is 5; it must be 1 to 4."},
        PiedmontErrorCase{1, 2, UnitsUS, 10.0, 10.0, "The field test types at the top (1) and bottom (2) of soil layer 2 differ."},
        PiedmontErrorCase{2, 2, UnitsGeneral, 10.0, 10.0, "need US customary or SI units"},
        PiedmontErrorCase{1, 1, UnitsSI, -3.0, 10.0, "The field test value at the top of soil layer 2 is -3.0000E+00"},
        PiedmontErrorCase{3, 3, UnitsSI, 0.0, 0.0, "are both zero"}));

TEST(MassiveRockLayer, ModulusFromTheHyperbolaAndTheLayerResistance) {
    const double b = 36.0, L = 600.0, qu = 5000.0, Er = 2.0E6, g = 150.0 / 1728.0, y0 = 0.02, EI = 3.0E11;
    BuildPile({{SoilMassiveRock, 0.0, L, Rock(g, qu, Er), Rock(g, qu, Er)}}, b, L, 50, y0, UnitsUS);
    SetPileEI(EI);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    // station 11 at 120 in; in layer 1 the depth below the ground is used
    const HandMassRock h = HandMassiveRock(qu, Er, g, 120.0, b, EI, false);
    const double p = y0 / (1.0 / h.Ki + y0 / h.Pu);
    EXPECT_NEAR(Pile.Es[St(11)], p / y0, 1e-6 * p / y0);
    // the ground-surface station uses 1.0E-4 in instead of zero depth
    const HandMassRock top = HandMassiveRock(qu, Er, g, 1.0E-4, b, EI, false);
    EXPECT_NEAR(Pile.Es[St(1)], 1.0 / (1.0 / top.Ki + y0 / top.Pu), 1e-6 * top.Ki);
    // trapezoids of pu over the stations, nothing left below the last one
    double R = 0.0;
    for (int i = 2; i <= 51; ++i)
        R += 12.0 * 0.5 *
             (HandMassiveRock(qu, Er, g, i == 2 ? 1.0E-4 : (i - 2) * 12.0, b, EI, false).Pu +
              HandMassiveRock(qu, Er, g, (i - 1) * 12.0, b, EI, false).Pu);
    EXPECT_NEAR(Soil.LayerResistance[1], R, 1e-6 * R);
}

TEST(MassiveRockLayer, BelowSandTakesTheDepthIntoTheRockAndItsStrength) {
    // Sand 0-120 in over massive rock: at the interface the rock's own qu is used
    // (rock below cohesionless), and z_eq is the depth into the rock.
    const double b = 36.0, L = 600.0, qu = 5000.0, Er = 2.0E6, g = 0.08, y0 = 0.01, EI = 3.0E11;
    SoilPoint sand;
    sand.UnitWeight = 0.06;
    sand.FrictionAngle = 34.0;
    sand.Kpy = 90.0;
    BuildPile({{SoilSandReese, 0.0, 120.0, sand, sand}, {SoilMassiveRock, 120.0, L, Rock(g, qu, Er), Rock(g, qu, Er)}},
              b, L, 50, y0, UnitsUS);
    SetPileEI(EI);
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    EvaluateLayerCriterion(2);
    ASSERT_FALSE(Failed());
    const int i = 21;   // 240 in: 120 in into the rock
    const double gAvg = (0.06 * 120.0 + g * 120.0) / 240.0;
    const HandMassRock h = HandMassiveRock(qu, Er, gAvg, 120.0, b, EI, false);
    const double p = y0 / (1.0 / h.Ki + y0 / h.Pu);
    EXPECT_NEAR(Pile.Es[St(i)], p / y0, 1e-6 * p / y0);
    EXPECT_EQ(Soil.EquivalentDepth[2], 0.0);
}

struct RockErrorCase {
    double Qu, Er;
    int Units;
    std::string Text;
};
class MassiveRockErrorTest : public testing::TestWithParam<RockErrorCase> {};

TEST_P(MassiveRockErrorTest, MissingRockValuesEndTheRun) {
    const RockErrorCase& c = GetParam();
    BuildPile({{SoilMassiveRock, 0.0, 600.0, Rock(0.08, c.Qu, c.Er), Rock(0.08, c.Qu, c.Er)}}, 36.0, 600.0, 50, 0.01,
              c.Units);
    test::CapturedChannels ch;
    EvaluateLayerCriterion(1);
    ch.Close();
    if (!Failed()) FAIL() << "Input Data Error 73 expected";
    EXPECT_EQ(kestro::Run.ErrorNumber, 173);
    EXPECT_TRUE(test::Has(ch.Report, "**** Input Data Error No. 73 ****"));
    EXPECT_TRUE(test::Has(ch.Report, c.Text)) << ch.Report;
}

INSTANTIATE_TEST_SUITE_P(
    RockValues, MassiveRockErrorTest,
    testing::Values(
        RockErrorCase{5000.0, 0.0, UnitsUS,
                      "The intact rock modulus of massive rock layer 1 at depth 0.0000E+00 is 0.0000E+00"},
        RockErrorCase{0.0, 2.0E6, UnitsUS, "The uniaxial compressive strength of massive rock layer 1"},
        RockErrorCase{-5.0, 2.0E6, UnitsSI, "is -5.0000E+00; it must be greater than zero."},
        RockErrorCase{5000.0, 2.0E6, UnitsGeneral, "The p-y curves of massive rock layer 1 need US customary or SI units."}));

TEST(MassiveRockLayer, LayerWithoutThicknessIsRuntimeError20) {
    BuildPile({{SoilMassiveRock, 0.0, 600.0, Rock(0.08, 5000.0, 2.0E6), Rock(0.08, 5000.0, 2.0E6)}}, 36.0, 600.0, 50,
              0.01);
    Problem.Layers[1].XBottom = 0.0;
    test::CapturedChannels ch;
    EvaluateLayerCriterion(1);
    ch.Close();
    if (!Failed()) FAIL() << "Runtime Error 20 expected";
    EXPECT_EQ(kestro::Run.ErrorNumber, 220);
    EXPECT_TRUE(test::Has(ch.Report, "**** Runtime Error No. 20 ****\n\n"
                                     "Problem:  The top and bottom elevations for massive rock layer are equal.\n"
                                     "          The top and bottom elevations for layer 1 =   0.0000E+00\n"))
        << ch.Report;
}

struct UserErrorCase {
    SoilPoint Top, Bottom;
    std::string Text;
};
class UserCurveErrorTest : public testing::TestWithParam<UserErrorCase> {};

TEST_P(UserCurveErrorTest, BadCurveEndsTheRunNamingLayerPointAndValue) {
    const UserErrorCase& c = GetParam();
    BuildPile({{SoilUserPy, 0.0, 600.0, c.Top, c.Bottom}}, 24.0, 600.0, 50, 0.1);
    test::CapturedChannels ch;
    EvaluateLayerCriterion(1);
    ch.Close();
    if (!Failed()) FAIL() << "Input Data Error 71 expected";
    EXPECT_EQ(kestro::Run.ErrorNumber, 171);
    EXPECT_TRUE(test::Has(ch.Report, "**** Input Data Error No. 71 ****"));
    EXPECT_TRUE(test::Has(ch.Report, c.Text)) << ch.Report;
    EXPECT_TRUE(test::Has(ch.Messages, c.Text));
}

const SoilPoint GoodCurve = UserCurve({{0.0, 0.0}, {0.5, 100.0}, {2.0, 150.0}});

INSTANTIATE_TEST_SUITE_P(
    Curves, UserCurveErrorTest,
    testing::Values(
        UserErrorCase{UserCurve({{0.0, 0.0}}), GoodCurve,
                      "The user-input p-y curve at the top of soil layer 1 has 1 point(s); at least two are needed."},
        UserErrorCase{GoodCurve, UserCurve({{0.0, 0.0}, {0.5, 100.0}, {0.4, 150.0}}),
                      "The user-input p-y curve at the bottom of soil layer 1, point 3, has the deflection 4.0000E-01"},
        UserErrorCase{UserCurve({{0.1, 0.0}, {0.5, 100.0}}), GoodCurve,
                      "The user-input p-y curve at the top of soil layer 1, point 1, is not at y = 0 and p = 0 (it "
                      "holds 1.0000E-01)."},
        UserErrorCase{GoodCurve, UserCurve({{0.0, 0.0}, {0.5, -100.0}}),
                      "point 2, has the negative soil resistance -1.0000E+02."}));

TEST(UserCurveLayer, MultipliersScaleTheCurveAndZeroDeflectionKeepsTheModulus) {
    const SoilPoint top = UserCurve({{0.0, 0.0}, {0.1, 150.0}, {0.3, 300.0}, {1.2, 500.0}});
    const SoilPoint bot = UserCurve({{0.0, 0.0}, {0.2, 600.0}, {1.0, 1800.0}});
    BuildPile({{SoilUserPy, 0.0, 600.0, top, bot}}, 24.0, 600.0, 50, 0.3);
    kestro::test::UniformGroupFactors(0.0, 600.0, 0.7, 2.0);
    Pile.y[St(31)] = 0.0;
    Pile.Es[St(31)] = 1234.0;
    EvaluateLayerCriterion(1);
    ASSERT_FALSE(Failed());
    // station 1 (top curve) and 51 (bottom curve) at y/ymult = 0.15; station 26 at mid-depth
    EXPECT_NEAR(Pile.Es[St(1)], 0.7 * 187.5 / (2.0 * 0.15), 1e-9);
    EXPECT_NEAR(Pile.Es[St(51)], 0.7 * 450.0 / (2.0 * 0.15), 1e-9);
    EXPECT_NEAR(Pile.Es[St(26)], 0.7 * 0.5 * (187.5 + 450.0) / (2.0 * 0.15), 1e-9);
    EXPECT_EQ(Pile.Es[St(31)], 1234.0);
    // layer resistance: h times the curves' last p interpolated at every station
    double R = 0.0;
    for (int i = 1; i <= 51; ++i) R += 12.0 * (500.0 + (1800.0 - 500.0) * (i - 1) / 50.0);
    EXPECT_NEAR(Soil.LayerResistance[1], R, 1e-9 * R);
}

// ---- Printed curves: the 17 points ----

TEST(PrintedCurves, VuggyLimestoneSeventeenPoints) {
    const double b = 36.0, qu = 2000.0, g = 0.075;
    BuildPile({{SoilVuggyLimestone, 0.0, 600.0, Rock(g, qu), Rock(g, qu)}}, b, 600.0, 50, 0.0);
    const Printed r = PrintAt(120.0);
    ASSERT_FALSE(Failed());
    ASSERT_EQ(r.Y.size(), 17u);
    const double su = qu / 2.0, y1 = 0.0004 * b, y2 = y1 + (b * su - 0.8 * b * su) / (100.0 * su);
    for (int n = 1; n <= 17; ++n) {
        const double y = n == 1 ? 0.0 : y1 + (n - 2) * (y2 - y1) / 15.0;
        ExpectNear(r.Y[U(n - 1)], y, 1e-7, "y" + std::to_string(n));
        // the last point is the corner y2, where the curve reaches b su
        ExpectNear(r.P[U(n - 1)], n == 17 ? b * su : HandVuggy(qu, b, g, 120.0, y), 1e-7, "p" + std::to_string(n));
    }
    EXPECT_TRUE(test::Has(r.Report, "p-y Curve for Vuggy Limestone (Strong Rock) Criteria\n\n"
                                    "Soil Layer Number             =            1\n"
                                    "Depth below pile head         =      120.000 in \n"));
    EXPECT_TRUE(test::Has(r.Report, "Uniaxial Compressive Strength =     2000.000 psi\n"));
    EXPECT_TRUE(test::Has(r.Report, "        y, in        p, lb/in\n---------------   ---------------\n"));
    EXPECT_TRUE(test::Has(r.Plot, "Line 7:  p-y curve depth in vuggy limestone, no. p-y points on curve no. 1"));
    EXPECT_TRUE(test::Has(r.Plot, "Line 8(17): y, p, for vuggy limestone rock"));
}

TEST(PrintedCurves, PiedmontSeventeenPointsInSI) {
    const double b = 0.75;
    BuildPile({{SoilPiedmont, 0.0, 14.0, Field(TestSpt, 15.0, 18.0), Field(TestSpt, 40.0, 18.0)}}, b, 14.0, 50, 0.0,
              UnitsSI);
    const Printed r = PrintAt(7.0);
    ASSERT_FALSE(Failed());
    ASSERT_EQ(r.Y.size(), 17u);
    const double E = static_cast<double>(151.68466f) * 27.5, yb = 0.0375 * b, bIn = b / MPerIn;
    for (int n = 1; n <= 17; ++n) {
        double y = (n - 1) * yb / 15.0;
        if (n == 16) y = yb;
        if (n == 17) y = yb + b;
        ExpectNear(r.Y[U(n - 1)], y, 1e-7, "y" + std::to_string(n));
        ExpectNear(r.P[U(n - 1)], HandPiedmont(E, b, bIn, y), 1e-7, "p" + std::to_string(n));
    }
    EXPECT_TRUE(test::Has(r.Report, "Initial Modulus from Field Tests                       =     4171.328 kPa\n"));
    EXPECT_TRUE(test::Has(r.Plot, "Line 8(9): y, p, for Piedmont residual soil"));
}

TEST(PrintedCurves, MassiveRockSeventeenPoints) {
    const double b = 36.0, qu = 5000.0, Er = 2.0E6, g = 150.0 / 1728.0, EI = 3.0E11;
    BuildPile({{SoilMassiveRock, 0.0, 600.0, Rock(g, qu, Er), Rock(g, qu, Er)}}, b, 600.0, 50, 0.0, UnitsUS);
    SetPileEI(EI);
    const Printed r = PrintAt(240.0);
    ASSERT_FALSE(Failed());
    ASSERT_EQ(r.Y.size(), 17u);
    const HandMassRock h = HandMassiveRock(qu, Er, g, 240.0, b, EI, false);
    for (int n = 1; n <= 17; ++n) {
        const double y = n == 17 ? 0.006 * b : (n - 1) * 0.005 * b / 15.0;
        ExpectNear(r.Y[U(n - 1)], y, 1e-7, "y" + std::to_string(n));
        ExpectNear(r.P[U(n - 1)], y / (1.0 / h.Ki + y / h.Pu), 1e-6, "p" + std::to_string(n));
    }
    EXPECT_TRUE(test::Has(r.Plot, "Line 8(17): y, p, for Massive Rock"));
}

TEST(PrintedCurves, UserCurvesSeventeenPointsWithMultipliers) {
    const SoilPoint top = UserCurve({{0.0, 0.0}, {0.1, 150.0}, {0.3, 300.0}, {1.2, 500.0}, {12.0, 500.0}});
    const SoilPoint bot = UserCurve({{0.0, 0.0}, {0.2, 600.0}, {1.0, 1800.0}});
    const double b = 24.0;
    BuildPile({{SoilUserPy, 0.0, 600.0, top, bot}}, b, 600.0, 50, 0.0);
    kestro::test::UniformGroupFactors(0.0, 600.0, 0.8, 1.5);
    const Printed r = PrintAt(150.0);
    ASSERT_FALSE(Failed());
    ASSERT_EQ(r.Y.size(), 17u);
    const double f[17] = {0.0,     0.001 / b, 0.00625, 0.0125, 0.01875, 0.025, 0.03125, 0.0375, 0.04375,
                          0.05,    0.05625,   0.0625,  0.06875, 0.075,  0.2,   0.375,   0.5};
    for (int n = 1; n <= 17; ++n) {
        const double y = f[n - 1] * b;
        // p at depth 150 of 600: 3/4 of the top curve and 1/4 of the bottom one
        auto onCurve = [](std::initializer_list<std::pair<double, double>> pts, double yy) {
            double py = 0.0, pp = 0.0, last = 0.0;
            for (auto [cy, cp] : pts) {
                if (yy <= cy) return yy == cy ? cp : pp + (yy - py) * (cp - pp) / (cy - py);
                py = cy;
                pp = cp;
                last = cp;
            }
            return last;
        };
        const double pTop = onCurve({{0.0, 0.0}, {0.1, 150.0}, {0.3, 300.0}, {1.2, 500.0}, {12.0, 500.0}}, y);
        const double pBot = onCurve({{0.0, 0.0}, {0.2, 600.0}, {1.0, 1800.0}}, y);
        ExpectNear(r.Y[U(n - 1)], 1.5 * y, 1e-7, "y" + std::to_string(n));
        ExpectNear(r.P[U(n - 1)], 0.8 * (0.75 * pTop + 0.25 * pBot), 1e-7, "p" + std::to_string(n));
    }
    EXPECT_TRUE(test::Has(r.Report, "p-y Curve Computed by Interpolation Between User-input Curves\n\n"
                                    "Soil Layer Number           =            1\n"));
    EXPECT_TRUE(test::Has(r.Report, "p-multiplier                =        0.800\n"));
    EXPECT_TRUE(test::Has(r.Report, "        y, in        p, lb/in\n----------------    ----------------\n"));
    // the Line 8 label starts in column 51
    EXPECT_TRUE(test::Has(r.Plot, std::string(20, ' ') + "Line 8( 1): y, p, for user-input p-y curve\n"));
}

// ---- Unit systems agree ----

TEST(UnitSystems, SameRockAndSoilGiveTheSameCurves) {
    // US: b = 30 in, z = 240 in; SI: the same in meters and kPa.
    const double bUS = 30.0, zUS = 240.0, bSI = bUS * MPerIn, zSI = zUS * MPerIn;
    const double quPsi = 3000.0, quKPa = quPsi * KPaPerPsi;
    const double gPci = 130.0 / 1728.0, gSI = gPci * 4.4482216152605 / std::pow(MPerIn, 3) / 1000.0;
    const double lbPerInToKNPerM = 4.4482216152605e-3 / MPerIn;
    for (double yIn : {0.005, 0.02, 0.05, 0.2, 1.0}) {
        const double ySI = yIn * MPerIn;
        // vuggy limestone, also in general units (any consistent set)
        const double pv = VuggyLimestoneP(MakeVuggyLimestoneCurve(quPsi, bUS, gPci, zUS), yIn);
        const double pvSI = VuggyLimestoneP(MakeVuggyLimestoneCurve(quKPa, bSI, gSI, zSI), ySI);
        EXPECT_NEAR(pvSI, pv * lbPerInToKNPerM, 1e-6 * pvSI) << yIn;
        // Piedmont, CPT qc = 1500 psi
        const double pp = PiedmontP(MakePiedmontCurve(0.118 * 1500.0, bUS, UnitsUS), yIn);
        const double ppSI = PiedmontP(MakePiedmontCurve(0.118 * 1500.0 * KPaPerPsi, bSI, UnitsSI), ySI);
        EXPECT_NEAR(ppSI, pp * lbPerInToKNPerM, 1e-6 * ppSI) << yIn;
        // SPT N60 = 20: 22 psi and 151.68466 kPa per blow agree to single precision
        const double ps = PiedmontP(MakePiedmontCurve(22.0 * 20.0, bUS, UnitsUS), yIn);
        const double psSI = PiedmontP(MakePiedmontCurve(static_cast<double>(151.68466f) * 20.0, bSI, UnitsSI), ySI);
        EXPECT_NEAR(psSI, ps * lbPerInToKNPerM, 1e-6 * psSI) << yIn;
        // massive rock, Er = 1.5E6 psi, EI = 5E11 lb-in2
        const double EIUS = 5.0E11, EISI = EIUS * 4.4482216152605e-3 * MPerIn * MPerIn;
        const double pm = MassiveRockP(MakeMassiveRockCurve(quPsi, 1.5E6, gPci, zUS, bUS, EIUS, UnitsUS), yIn);
        const double pmSI =
            MassiveRockP(MakeMassiveRockCurve(quKPa, 1.5E6 * KPaPerPsi, gSI, zSI, bSI, EISI, UnitsSI), ySI);
        EXPECT_NEAR(pmSI, pm * lbPerInToKNPerM, 1e-6 * pmSI) << yIn;
        // user curves are tables in the run's own units
        const SoilPoint us = UserCurve({{0.0, 0.0}, {0.1, 150.0}, {1.0, 500.0}});
        const SoilPoint si = UserCurve({{0.0, 0.0}, {0.1 * MPerIn, 150.0 * lbPerInToKNPerM}, {MPerIn, 500.0 * lbPerInToKNPerM}});
        EXPECT_NEAR(UserCurveP(si, ySI), UserCurveP(us, yIn) * lbPerInToKNPerM, 1e-9) << yIn;
    }
}

TEST(UnitSystems, StationLoopGivesTheSameModuliInGeneralUnits) {
    // Vuggy limestone and user curves accept general units: the SI problem
    // entered in general units gives the SI moduli.
    const SoilPoint top = UserCurve({{0.0, 0.0}, {0.005, 40.0}, {0.05, 120.0}}, 19.0);
    const SoilPoint bot = UserCurve({{0.0, 0.0}, {0.005, 90.0}, {0.05, 300.0}}, 19.0);
    for (int type : {SoilVuggyLimestone, SoilUserPy}) {
        double es[2][51] = {};
        int run = 0;
        for (int units : {UnitsSI, UnitsGeneral}) {
            if (type == SoilVuggyLimestone)
                BuildPile({{type, 0.0, 15.0, Rock(21.0, 14000.0), Rock(21.0, 16000.0)}}, 0.9, 15.0, 50, 0.004, units);
            else
                BuildPile({{type, 0.0, 15.0, top, bot}}, 0.9, 15.0, 50, 0.004, units);
            EvaluateLayerCriterion(1);
            ASSERT_FALSE(Failed());
            for (int i = 1; i <= 51; ++i) es[run][i - 1] = Pile.Es[St(i)];
            ++run;
        }
        for (int i = 0; i < 51; ++i) EXPECT_NEAR(es[1][i], es[0][i], 1e-12 * es[0][i]) << type << " station " << i + 1;
    }
}
