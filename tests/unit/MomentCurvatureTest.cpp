// Moment-curvature analysis and section capacities: the curvature schedule,
// the nominal moment rule and the thrust and user-EI checks against hand
// values; the nominal moment of a 36 in drilled shaft against an independent
// fibre integration written here and an ACI rectangular stress block; the
// steel pipe against its plastic moment Fy Z and its elastic E I; the
// numbered errors of thrusts outside the capacities and of user EI curves.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "ReaderTestSupport.h"
#include "TestSupport.h"
#include "model/Channels.h"
#include "input/Units.h"
#include "model/EITables.h"
#include "model/SectionTables.h"
#include "section/SectionWork.h"
#include "section/MomentCurvature.h"
#include "section/SectionAnalysis.h"

using namespace kestro;
using kestro::test::RunInput;

namespace {

constexpr double Pi = 3.141592653589793;

// ----------------------------------------------------------------- inputs

std::string Options(bool eiOnly, const std::string& units = "Units USCS") {
    return "OPTIONS\n" + units +
           "\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
           "ComputeEIOnly " +
           (eiOnly ? "YES" : "NO") +
           "\nLoading STATIC     1\nMaxIterations 100\nDeflectionLimit 100.0\nTolerance 1.0E-5\nIncrements 100\n"
           "PrintSummaryOnly NO\nPrintIncrement 5\nPrintPYCurves NO\nComputeInteraction NO\n";
}

// 36 in drilled shaft, f'c 4 ksi, 12 #9 bars (1.0 sq in, 1.128 in), 3 in
// cover, Grade 60, 40 ft long.
const char* ShaftSection =
    "SECTIONS\n1\n1\n1\n40.0\n36.0\n4000.0\n0.75\nUse default concrete tensile strength\n"
    "Use internal stress-strain curve for concrete\nRebar Arrangement Not Same As Section Above\nRebar in circle\n"
    "60000.0\n2.9E7\n12\n1\n1.128\n1.0\n3.0\n0.0\n";

const char* StiffClay = "SOIL LAYERS\n1\n3  0.0  50.0\n120.0  2000.0  0.005\n125.0  3500.0  0.005\n";

std::string Thrusts(const std::vector<double>& lbs) {
    std::string s = "AXIAL THRUST LOADS\n" + std::to_string(lbs.size()) + "\n";
    for (std::size_t i = 0; i < lbs.size(); ++i) s += std::to_string(i + 1) + " " + std::to_string(lbs[i]) + "\n";
    return s;
}

std::string EIOnlyRun(const std::string& section, const std::vector<double>& thrustsLbs) {
    return "KESTRO6\nTITLE\nsection test\n\n\n\n\n" + Options(true) + section + StiffClay + Thrusts(thrustsLbs) +
           "END\n";
}

// ------------------------------------------------------------- plot file

struct PlotCurve {
    int Points = 0;
    double Thrust = 0.0, Mn = 0.0;
    std::vector<double> M, EI, Phi;
};

std::vector<PlotCurve> ParseCurves(const std::string& plot) {
    std::vector<PlotCurve> out;
    std::istringstream in(plot);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("Line 4 :") != std::string::npos) {
            PlotCurve c;
            std::istringstream v(line.substr(0, 80));
            v >> c.Points >> c.Thrust >> c.Mn;
            out.push_back(c);
        } else if (line.find("Line 5 :") != std::string::npos && !out.empty()) {
            std::istringstream v(line.substr(0, 80));
            double m = 0, ei = 0, phi = 0;
            v >> m >> ei >> phi;
            out.back().M.push_back(m);
            out.back().EI.push_back(ei);
            out.back().Phi.push_back(phi);
        }
    }
    return out;
}

std::string Code(const kestro::test::RunOutput& r) {
    for (const std::string at : {"ended prematurely due to input error number ",
                                 "ended prematurely due to runtime error number "}) {
        const auto k = r.Report.find(at);
        if (k != std::string::npos) return r.Report.substr(k + at.size(), 8);
    }
    return "";
}

// ------------------------------------- independent fibre integration (kips, in)

struct Shaft {
    double D = 36.0, fc = 4.0, fy = 60.0, Es = 29000.0, cover = 3.0, db = 1.128, bar = 1.0;
    int bars = 12;
    double Ec() const { return 57.0 * std::sqrt(1000.0 * fc); }
    double Eps0() const { return 1.7 * fc / Ec(); }
    double BarRadius() const { return (D - db) / 2.0 - cover; }
    double BarY(int k) const { return BarRadius() * std::sin(2.0 * Pi * k / bars); }
};

// Unconfined concrete in compression (parabola to eps0, then a straight
// descent to 0.85 f'c at 0.0038); no tension once the section has cracked.
double ConcreteStress(const Shaft& s, double eps) {
    if (eps <= 0.0) return 0.0;
    const double e0 = s.Eps0();
    if (eps <= e0) {
        const double r = eps / e0;
        return s.fc * (2.0 * r - r * r);
    }
    if (eps <= 0.0038) return s.fc - 0.15 * s.fc * (eps - e0) / (0.0038 - e0);
    return 0.0;
}

double SteelStress(const Shaft& s, double eps) { return std::fmax(-s.fy, std::fmin(s.fy, s.Es * eps)); }

// Axial force and moment about mid-depth for a top-fibre strain of 0.003
// and neutral-axis depth c, on 4000 layers of the circle.
void FibreState(const Shaft& s, double c, double& force, double& moment) {
    const int layers = 4000;
    const double R = s.D / 2.0, dh = s.D / layers, phi = 0.003 / c;
    force = moment = 0.0;
    for (int i = 1; i <= layers; ++i) {
        const double depth = (i - 0.5) * dh;
        const double y = R - depth;
        const double width = 2.0 * std::sqrt(std::fmax(0.0, R * R - y * y));
        const double f = ConcreteStress(s, phi * (c - depth)) * width * dh;
        force += f;
        moment += f * y;
    }
    for (int k = 0; k < s.bars; ++k) {
        const double y = s.BarY(k);
        const double eps = phi * (c - (R - y));
        const double f = (SteelStress(s, eps) - ConcreteStress(s, eps)) * s.bar;
        force += f;
        moment += f * y;
    }
}

// Bisection on the neutral-axis depth for the thrust P (kips).
double FibreMn(const Shaft& s, double P) {
    double lo = 0.5, hi = 20.0 * s.D, f = 0.0, m = 0.0;
    for (int it = 0; it < 200; ++it) {
        const double c = 0.5 * (lo + hi);
        FibreState(s, c, f, m);
        (f > P ? hi : lo) = c;
    }
    FibreState(s, 0.5 * (lo + hi), f, m);
    return m;
}

// ACI 318 rectangular stress block: 0.85 f'c over a = beta1 c (beta1 = 0.85
// for f'c = 4 ksi), steel by strain compatibility at 0.003.
double AciMn(const Shaft& s, double P) {
    const double R = s.D / 2.0;
    auto state = [&](double c, double& force, double& moment) {
        const double a = std::fmin(0.85 * c, s.D);
        // Circular segment of depth a: area and centroid height above the centre.
        const double h = R - a;
        const double half = std::sqrt(std::fmax(0.0, R * R - h * h));
        const double area = R * R * std::acos(h / R) - h * half;
        const double ybar = area > 0.0 ? 2.0 * half * half * half / (3.0 * area) : 0.0;
        force = 0.85 * s.fc * area;
        moment = force * ybar;
        for (int k = 0; k < s.bars; ++k) {
            const double y = s.BarY(k);
            const double depth = R - y;
            double fs = SteelStress(s, 0.003 * (c - depth) / c);
            if (depth < a) fs -= 0.85 * s.fc;
            force += fs * s.bar;
            moment += fs * s.bar * y;
        }
    };
    double lo = 0.5, hi = 20.0 * s.D, f = 0.0, m = 0.0;
    for (int it = 0; it < 200; ++it) {
        const double c = 0.5 * (lo + hi);
        state(c, f, m);
        (f > P ? hi : lo) = c;
    }
    state(0.5 * (lo + hi), f, m);
    return m;
}

}  // namespace

// ------------------------------------------------------------- pure rules

TEST(CurvatureSchedule, IncrementsDoubleAtForty) {
    const double phi0 = 1.0e-6;
    struct Case {
        int k;
        double times;
    } cases[] = {{1, 1}, {2, 2}, {39, 39}, {40, 41}, {41, 43}, {79, 119}, {80, 127}, {119, 439}, {120, 487},
                 {121, 535}, {150, 1927}};
    for (const Case& c : cases) EXPECT_NEAR(ScheduleCurvature(phi0, c.k), c.times * phi0, 1e-18) << c.k;
}

TEST(CurvatureSchedule, FirstCurvatureBySize) {
    struct Case {
        double size;
        bool si;
        double phi0;
    } cases[] = {
        {48.0, false, 6.25e-7},           // 48/24 = 2
        {30.0, false, 1.25e-6},           // 30/24 = 1.25 -> 1
        {35.9, false, 1.25e-6 / 1.0},     // 1.496 -> 1
        {36.0, false, 1.25e-6 / 2.0},     // 1.5 rounds up
        {12.0, false, 1.25e-6},           // 0.5 -> 1 (at least 1)
        {72.0, false, 1.25e-6 / 3.0},
        {1.2192, true, 4.921259901994065e-5 / 2.0},  // 48 in in metres
    };
    for (const Case& c : cases) EXPECT_NEAR(FirstCurvature(c.size, c.si), c.phi0, c.phi0 * 1e-12) << c.size;
}

TEST(NominalMoment, InterpolatedAtStrain003) {
    // 1-based arrays.
    const double m[] = {0, 100, 200, 300, 320};
    const double e[] = {0, 0.001, 0.002, 0.0028, 0.0032};
    // Pair (3, 4): 300 + 20 (0.0002 / 0.0004) = 310.
    EXPECT_NEAR(MomentAtStrain003(m, e, 4), 310.0, 1e-9);
    // Upper point exactly at 0.003 gives its own moment.
    const double e2[] = {0, 0.001, 0.002, 0.003, 0.0032};
    EXPECT_NEAR(MomentAtStrain003(m, e2, 4), 300.0, 1e-9);
    // Never reaching 0.003: no nominal capacity.
    const double e3[] = {0, 0.001, 0.002, 0.0025, 0.0029999};
    EXPECT_EQ(MomentAtStrain003(m, e3, 4), 0.0);
    // The first bracketing pair is used even if later strains fall back.
    const double e4[] = {0, 0.001, 0.0031, 0.002, 0.004};
    EXPECT_NEAR(MomentAtStrain003(m, e4, 4), 100.0 + 100.0 * 0.002 / 0.0021, 1e-9);
}

TEST(Thrusts, EqualToPnOrNtAreDropped) {
    const double pn = 3000.0, nt = -720.0;
    const double in[] = {0, nt, nt * (1 - 1e-9), 0.0, pn * (1 - 1e-9), pn, pn * (1 + 1e-9)};
    double out[8] = {};
    bool dropped = false;
    const int n = ThrustsInValidRange(in, 6, nt, pn, out, dropped);
    ASSERT_EQ(n, 3);
    EXPECT_TRUE(dropped);
    EXPECT_EQ(out[1], nt * (1 - 1e-9));
    EXPECT_EQ(out[2], 0.0);
    EXPECT_EQ(out[3], pn * (1 - 1e-9));
    const double ok[] = {0, -100.0, 100.0};
    EXPECT_EQ(ThrustsInValidRange(ok, 2, nt, pn, out, dropped), 2);
    EXPECT_FALSE(dropped);
}

TEST(UserEI, RatioOfExactlyHundredPassesAbovefails) {
    const double exact[] = {0, 1.0e9, 5.0e10, 1.0e11};
    EXPECT_TRUE(UserEIRatioAcceptable(exact, 3));
    const double over[] = {0, 1.0e9, 1.0001e11};
    EXPECT_FALSE(UserEIRatioAcceptable(over, 2));
    const double zero[] = {0, 1.0e9, 0.0};
    EXPECT_FALSE(UserEIRatioAcceptable(zero, 2));
}

TEST(TensileCapacity, ConcreteValuesByHand) {
    // f'c = 4 ksi: Ec = 57 sqrt(4000) = 3604.996 ksi, fr = -0.0075 sqrt(4000) = -0.474342 ksi.
    const TensileConcrete c = TensileConcreteOf(4.0, false);
    EXPECT_NEAR(c.Ec, 3604.9965325919, 1e-9);
    EXPECT_NEAR(c.Fr, -0.4743416490, 1e-9);
    const double e0 = 1.7 * 4.0 / 3604.9965325919;
    EXPECT_NEAR(c.Eps0, e0, 1e-15);
    EXPECT_NEAR(c.CrackStrain, -(1.0 - std::sqrt(1.0 - 0.4743416490 / 4.0)) * e0, 1e-12);
    // SI: the same concrete in kPa gives the same values times 6894.757.
    const TensileConcrete s = TensileConcreteOf(4.0 * 6894.757293168361, true);
    EXPECT_NEAR(s.Ec / 6894.757293168361, c.Ec, 1e-3);
    EXPECT_NEAR(s.Eps0, c.Eps0, 1e-8);
}

// ------------------------------------------------------------ whole runs

TEST(DrilledShaft, NominalMomentAgreesWithFibreIntegrationAndStressBlock) {
    auto r = RunInput(EIOnlyRun(ShaftSection, {0.0, 500000.0, 1000000.0}));
    ASSERT_NE(r.Messages.find("The analysis ended normally."), std::string::npos) << r.Report;
    const auto curves = ParseCurves(r.Plot);
    ASSERT_EQ(curves.size(), 3u);
    const Shaft s;
    const double thrusts[] = {0.0, 500.0, 1000.0};
    for (int j = 0; j < 3; ++j) {
        const double mn = curves[static_cast<std::size_t>(j)].Mn / 1000.0;  // Line 4 holds in-lb
        const double fibre = FibreMn(s, thrusts[j]);
        const double aci = AciMn(s, thrusts[j]);
        EXPECT_NEAR(curves[static_cast<std::size_t>(j)].Thrust, thrusts[j], 1e-9);
        EXPECT_NEAR(mn, fibre, 0.01 * fibre) << "thrust " << thrusts[j] << " fibre " << fibre;
        EXPECT_NEAR(mn, aci, 0.05 * aci) << "thrust " << thrusts[j] << " ACI " << aci;
        std::printf("Mn at %6.0f kips: engine %.1f, fibre %.1f, ACI block %.1f in-kip\n", thrusts[j], mn, fibre, aci);
    }
}

TEST(DrilledShaft, CurveRisesMonotoneAndCracksNearFrIgOverC) {
    auto r = RunInput(EIOnlyRun(ShaftSection, {0.0}));
    const auto curves = ParseCurves(r.Plot);
    ASSERT_EQ(curves.size(), 1u);
    const PlotCurve& c = curves[0];
    ASSERT_GE(c.M.size(), 10u);
    for (std::size_t k = 1; k < c.M.size(); ++k) {
        EXPECT_GE(c.M[k], c.M[k - 1]);
        EXPECT_GT(c.Phi[k], c.Phi[k - 1]);
        EXPECT_NEAR(c.EI[k], c.M[k] / c.Phi[k], 3e-7 * c.EI[k]);  // eight digits in the plot file
    }
    // Cracking moment: the moment of the first point flagged "C" in the table.
    const std::string head = "rad/in.";
    const auto table = r.Report.find(head);
    ASSERT_NE(table, std::string::npos);
    std::istringstream rows(r.Report.substr(r.Report.find("\n", r.Report.find("-----", table)) + 1));
    std::string row;
    double mcr = 0.0;
    while (std::getline(rows, row) && row.size() > 100) {
        if (row.substr(105).find('C') != std::string::npos) {
            mcr = std::strtod(row.c_str() + 13, nullptr);
            break;
        }
    }
    const double fr = 0.0075 * std::sqrt(4000.0), ig = Pi * std::pow(36.0, 4) / 64.0;
    const double hand = fr * ig / 18.0;  // 2172.9 in-kip
    EXPECT_NEAR(mcr, hand, 0.10 * hand) << "hand " << hand;
}

TEST(SteelPipe, ApproachesPlasticMomentAndStartsAtEI) {
    const std::string pipe = "SECTIONS\n1\n1\n4\n60.0\n24.0\n0.5\n52000.0\n2.9E7\n";
    auto r = RunInput(EIOnlyRun(pipe, {0.0}));
    ASSERT_NE(r.Messages.find("The analysis ended normally."), std::string::npos) << r.Report;
    const auto curves = ParseCurves(r.Plot);
    ASSERT_EQ(curves.size(), 1u);
    const double z = (24.0 * 24.0 * 24.0 - 23.0 * 23.0 * 23.0) / 6.0;   // 276.17 in^3
    const double mp = 52.0 * z;                                          // 14360.7 in-kip
    const double ei = 29000.0 * Pi / 64.0 * (std::pow(24.0, 4) - std::pow(23.0, 4));
    const PlotCurve& c = curves[0];
    EXPECT_NEAR(c.EI.front(), ei, 0.005 * ei);
    // At 5 fy/E the elastic core of a thin tube holds 0.7 % short of Mp.
    EXPECT_LE(c.M.back(), mp * (1 + 1e-3));
    EXPECT_GE(c.M.back(), 0.985 * mp);
    EXPECT_NEAR(c.Mn / 1000.0, c.M.back(), 1e-9 * mp);
    std::printf("Pipe: last moment %.1f in-kip, Fy Z = %.1f in-kip\n", c.M.back(), mp);
}

TEST(SectionErrors, ThrustsBeyondCapacityEndTheRun) {
    // Pile-head thrust above Pn (about 3150 kips) -> 24; below Nt (-720 kips) -> 25.
    struct Case {
        double axial;
        const char* code;
        const char* head;
    } cases[] = {{5.0e6, "RUN00024", "**** Runtime Error No. 24 ****"},
                 {-1.0e6, "RUN00025", "**** Runtime Error No. 25 ****"}};
    for (const Case& c : cases) {
        const std::string input = "KESTRO6\nTITLE\nt\n\n\n\n\n" + Options(false) + ShaftSection + StiffClay +
                                  "LOADING\n1\n1 1 1000.0 0.0 " + std::to_string(c.axial) + " 1\n0\nEND\n";
        auto r = RunInput(input);
        EXPECT_EQ(Code(r), c.code) << r.Report;
        EXPECT_NE(r.Report.find(c.head), std::string::npos);
        EXPECT_EQ(r.Report.find("Computed Values of Pile Loading"), std::string::npos);
    }
}

TEST(SectionErrors, InputThrustsOutsideCapacitiesAreDropped) {
    auto r = RunInput(EIOnlyRun(ShaftSection, {-2.0e6, 0.0, 9.0e6}));
    EXPECT_NE(r.Messages.find("The analysis ended normally."), std::string::npos);
    EXPECT_NE(r.Report.find("The following computations were performed only for the axial thrust values in the valid "
                            "range."),
              std::string::npos);
    EXPECT_EQ(ParseCurves(r.Plot).size(), 1u);
}

namespace {
std::string UserEIRun(const std::string& points) {
    return "KESTRO6\nTITLE\nt\n\n\n\n\n" + Options(false) + "SECTIONS\n1\n1\n13\n35.0\n30.0\n1\n0.0\n" + points +
           StiffClay + "LOADING\n1\n1 1 30000.0 0.0 0.0 1\n0\nEND\n";
}
}  // namespace

TEST(SectionErrors, UserEIRatioAboveHundredIsError51) {
    auto ok = RunInput(UserEIRun("3\n1.0E6\n1.0E11\n2.0E6\n5.0E10\n3.0E6\n1.0E9\n"));
    EXPECT_NE(ok.Messages.find("The analysis ended normally."), std::string::npos) << ok.Report;
    auto bad = RunInput(UserEIRun("3\n1.0E6\n1.0001E11\n2.0E6\n5.0E10\n3.0E6\n1.0E9\n"));
    EXPECT_EQ(Code(bad), "INP00051");
    EXPECT_NE(bad.Messages.find("**** Input Data Error No. 51 ****"), std::string::npos);
}

TEST(SectionErrors, FallingUserMomentsAreMarkedAndStopped) {
    // Moments fall from 2e6 to 1.5e6: marked, warned, and the curvature 1.5e6/4e10
    // is below 2e6/5e10, so the curve cannot be looked up.
    auto r = RunInput(UserEIRun("3\n1.0E6\n1.0E11\n2.0E6\n5.0E10\n1.5E6\n4.0E10\n"));
    EXPECT_NE(r.Report.find(" <-- Possible Input Error"), std::string::npos);
    EXPECT_NE(r.Report.find("**** Warning - POSSIBLE INPUT ERROR ****"), std::string::npos);
    EXPECT_EQ(Code(r), "INP00079");
}

namespace {

// Head deflection and largest moment of load case 1 (plot record Line 13).
void HeadResponse(const std::string& plot, double& ytop, double& mmax) {
    const auto at = plot.find("Line 13:");
    ASSERT_NE(at, std::string::npos);
    const auto start = plot.rfind('\n', at);
    std::istringstream v(plot.substr(start + 1, 80));
    double shear = 0;
    v >> shear >> ytop >> mmax;
}

std::string ShaftLoadRun(const std::string& section, double shear) {
    return "KESTRO6\nTITLE\nt\n\n\n\n\n" + Options(false) + section + StiffClay + "LOADING\n1\n1 1 " +
           std::to_string(shear) + " 0.0 0.0 1\n0\nEND\n";
}

}  // namespace

// The pile analysis with the shaft's nonlinear EI gives the deflection of the
// uncracked shaft while the moment stays below cracking, and a larger one
// once the shaft cracks; every converged case passes the equilibrium check.
TEST(NonlinearEI, UncrackedBelowCrackingSofterAbove) {
    auto table = RunInput(EIOnlyRun(ShaftSection, {0.0}));
    const auto curves = ParseCurves(table.Plot);
    ASSERT_EQ(curves.size(), 1u);
    const double ei = curves[0].EI.front() * 1000.0;   // lb-in^2
    const double inertia = Pi * std::pow(36.0, 4) / 64.0;
    char elastic[256];
    std::snprintf(elastic, sizeof elastic, "SECTIONS\n1\n1\n11\n40.0\n1\n%.10e\n36\n36\n1017.88\n1017.88\n%.6f\n%.6f\n",
                  ei / inertia, inertia, inertia);
    const double mcr = 0.0075 * std::sqrt(4000.0) * inertia / 18.0 * 1000.0;   // in-lb
    struct Case {
        double shear;
        bool cracked;
    } cases[] = {{5000.0, false}, {15000.0, false}, {150000.0, true}};
    for (const Case& c : cases) {
        auto shaft = RunInput(ShaftLoadRun(ShaftSection, c.shear));
        auto plain = RunInput(ShaftLoadRun(elastic, c.shear));
        ASSERT_NE(shaft.Messages.find("The analysis ended normally."), std::string::npos) << shaft.Report;
        ASSERT_NE(plain.Messages.find("The analysis ended normally."), std::string::npos) << plain.Report;
        for (const auto* r : {&shaft, &plain})
            EXPECT_NE(r->Report.find("Output Verification: Computed forces and moments are within specified "
                                     "convergence limits."),
                      std::string::npos);
        double y1 = 0, m1 = 0, y2 = 0, m2 = 0;
        HeadResponse(shaft.Plot, y1, m1);
        HeadResponse(plain.Plot, y2, m2);
        if (c.cracked) {
            EXPECT_GT(std::fabs(m1), mcr);
            EXPECT_GT(y1, 1.2 * y2) << "shear " << c.shear;
        } else {
            EXPECT_LT(std::fabs(m1), mcr);
            EXPECT_NEAR(y1, y2, 0.02 * y2) << "shear " << c.shear;
        }
    }
}

// A 14 in square prestressed pile (8 strands, PCI 270) under a tensile thrust
// near its tensile capacity: the neutral axis rises above 0.1 H and the curve
// stops with "Z" in the third run-message column.
TEST(PrestressedPile, NeutralAxisAboveTenthOfDepthStopsWithZ) {
    const std::string pile =
        "SECTIONS\n1\n1\n7\n55.0\n14.0\n0.75\n6000.0\n0.75\nUse default concrete tensile strength\n"
        "Use internal stress-strain curve for concrete\nAutoposition strands\n2\n1\n8\n270000.0\n189000.0\n0.5\n1\n";
    auto r = RunInput(EIOnlyRun(pile, {-310000.0, 0.0}));
    ASSERT_NE(r.Messages.find("The analysis ended normally."), std::string::npos) << r.Report;
    const auto curves = ParseCurves(r.Plot);
    ASSERT_EQ(curves.size(), 2u);
    // The tensile curve stops early, never reaching 0.003: no nominal capacity.
    EXPECT_LT(curves[0].Points, 150);
    EXPECT_EQ(curves[0].Mn, 0.0);
    const auto z = r.Report.find(" C Z\n");
    ASSERT_NE(z, std::string::npos);
    // The "Z" row is the last row of the first table.
    EXPECT_LT(z, r.Report.find("Axial Thrust Force No. 2"));
    EXPECT_EQ(r.Report.find(" Z\n", z + 4), std::string::npos);
    // Without the thrust the pile reaches 0.003 and has a capacity.
    EXPECT_GT(curves[1].Mn, 0.0);
}

// ------------------------------------------------------------- LRFD runs

namespace {
std::string LrfdShaftRun(double deadAxialLbs) {
    std::string text = kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/lrfd-h-pile-sand.kin");
    const auto a = text.find("SECTIONS\n"), b = text.find("SOIL LAYERS\n");
    text = text.substr(0, a) + ShaftSection + text.substr(b);
    const std::string dead = "1  1  5000.0  0.0  150000.0  0";
    const auto d = text.find(dead);
    if (d != std::string::npos) text.replace(d, dead.size(), "1  1  5000.0  0.0  " + std::to_string(deadAxialLbs) + "  0");
    return text;
}
}  // namespace

TEST(LrfdShaft, ThrustsOfTheCombinationsAndTheirCapacityErrors) {
    auto r = RunInput(LrfdShaftRun(150000.0));
    ASSERT_NE(r.Messages.find("The analysis ended normally."), std::string::npos) << r.Report;
    EXPECT_NE(r.Plot.find("Line 3 : Total number of axial thrusts for LRFD"), std::string::npos);
    EXPECT_NE(r.Report.find("Axial thrust force values were determined from LRFD load combinations"),
              std::string::npos);
    EXPECT_NE(r.Report.find("Note that the values in the above table are not factored by a strength"),
              std::string::npos);
    // Strength I: 1.25 x 150 + 1.75 x 50 = 275 kips, the largest thrust.
    const auto curves = ParseCurves(r.Plot);
    ASSERT_EQ(curves.size(), 3u);
    EXPECT_NEAR(curves[2].Thrust, 275.0, 1e-9);
    // A dead load of 4000 kips exceeds Pn (about 4140 kips once factored);
    // one of -600 kips, factored by 1.25, exceeds Nt = -720 kips.
    auto over = RunInput(LrfdShaftRun(4.0e6));
    EXPECT_EQ(Code(over), "RUN00026");
    EXPECT_NE(over.Report.find("PROBLEM:  The axial thrust load for LRFD load case no. 1 exceeds the axial structural "
                               "capacity in compression."),
              std::string::npos);
    auto under = RunInput(LrfdShaftRun(-6.0e5));
    EXPECT_EQ(Code(under), "RUN00027");
}

// --------------------------------------------------- section-only studies

TEST(ColumnInteraction, ComputedWithTheInteractionOption) {
    std::string input = EIOnlyRun(ShaftSection, {0.0});
    const auto at = input.find("ComputeInteraction NO\n");
    input.replace(at, 22, "ComputeInteraction YES\nCode ACI318\n");
    auto r = RunInput(input);
    ASSERT_NE(r.Messages.find("The analysis ended normally."), std::string::npos) << r.Report;
    const auto s = r.Report.find("Summary of Results for Column Interaction - Analysis Mode 3");
    ASSERT_NE(s, std::string::npos);
    // Rows: load number, thrust, moment. P0 = 0.85 f'c Ac + fy As.
    std::istringstream rows(r.Report.substr(r.Report.find("in-kips", s) + 8));
    std::vector<double> p, m;
    int k = 0;
    double pk = 0, mk = 0;
    while (rows >> k >> pk >> mk) {
        p.push_back(pk);
        m.push_back(mk);
    }
    ASSERT_GE(p.size(), 15u);
    const double ac = Pi * 36.0 * 36.0 / 4.0 - 12.0;
    const double p0 = 0.85 * 4.0 * ac + 60.0 * 12.0;
    EXPECT_NEAR(p[1], 0.05 * p0, 1e-3);
    // The moment at zero thrust is the nominal capacity (constant curvature
    // steps: within 2 %), and it rises toward the balanced point.
    EXPECT_NEAR(m[0], FibreMn(Shaft{}, 0.0), 0.02 * m[0]);
    EXPECT_GT(m[6], m[0]);
}

namespace {

// Reads `input`, prepares section 1 and runs `study` with the report channel
// open on a scratch file; returns the report text.
template <typename Study>
std::string SectionStudy(const std::string& input, Study study) {
    EXPECT_EQ(kestro::test::ReadOnly(input, true), 0);
    const std::string dir = kestro::test::ScratchDir();
    int failed = 0;
    OpenOutputChannels(dir + "/report.txt", dir + "/plot.txt", dir + "/messages.txt", failed);
    SetUnitLabels(Problem.Options.UnitSystem);
    ResetSectionWork();
    ResetSectionTables();
    ResetEITables();
    study();
    CloseOutputChannels();
    return kestro::test::ReadText(dir + "/report.txt");
}

std::vector<double> RotationMoments(const std::string& report) {
    std::vector<double> m;
    const auto s = report.find("Summary of Results for Rotation of Angle of Loading - Analysis Mode 2");
    if (s == std::string::npos) return m;
    std::istringstream rows(report.substr(report.find('\n', report.find("Maximum Moment", s)) + 1));
    std::string line;
    while (std::getline(rows, line)) {
        const auto d = line.find(" deg.  ");
        if (d == std::string::npos) break;
        m.push_back(std::strtod(line.c_str() + d + 7, nullptr));
    }
    return m;
}

const char* Barrette =
    "SECTIONS\n1\n1\n0\n40.0\n24.0\n36.0\n5000.0\n0.75\nUse default concrete tensile strength\n"
    "Use internal stress-strain curve for concrete\nRebar Arrangement Not Same As Section Above\n"
    "Rebar in noncircular pattern\n60000.0\n2.9E7\n10\n1 8 1.0 0.79 -9.0 15.0\n2 8 1.0 0.79 -3.0 15.0\n"
    "3 8 1.0 0.79 3.0 15.0\n4 8 1.0 0.79 9.0 15.0\n5 8 1.0 0.79 -9.0 -15.0\n6 8 1.0 0.79 -3.0 -15.0\n"
    "7 8 1.0 0.79 3.0 -15.0\n8 8 1.0 0.79 9.0 -15.0\n9 8 1.0 0.79 -9.0 0.0\n10 8 1.0 0.79 9.0 0.0\n";

}  // namespace

// Turning the direction of loading: a circular shaft with 12 bars keeps its
// capacity between bar positions (within 1.5 %); a 24 x 36 in barrette bent
// across its 24 in width is weaker than across its 36 in depth.
TEST(RotationOfLoading, CircleIsIsotropicRectangleIsNot) {
    const double angles[] = {0, 0.0, 15.0, 90.0};
    std::vector<double> shaft, barrette;
    const std::string a = SectionStudy(EIOnlyRun(ShaftSection, {0.0}), [&] {
        ASSERT_TRUE(Initialize_EI_Vars(0.0, 0.0, 1, 2, 1));
        RotationOfLoading(1, angles, 3, 0.0, 0.0);
    });
    shaft = RotationMoments(a);
    const std::string b = SectionStudy(EIOnlyRun(Barrette, {0.0}), [&] {
        ASSERT_TRUE(Initialize_EI_Vars(0.0, 0.0, 1, 2, 1));
        RotationOfLoading(1, angles, 3, 0.0, 0.0);
    });
    barrette = RotationMoments(b);
    ASSERT_EQ(shaft.size(), 3u) << a;
    ASSERT_EQ(barrette.size(), 3u) << b;
    EXPECT_NEAR(shaft[1], shaft[0], 0.015 * shaft[0]);
    EXPECT_NEAR(shaft[2], shaft[0], 0.015 * shaft[0]);
    EXPECT_GT(shaft[0], 0.0);
    EXPECT_LT(barrette[2], 0.8 * barrette[0]);
    EXPECT_NE(b.find("RESULTS OF COMPUTATIONS - COMPUTATION OPTION 2"), std::string::npos);
}

// One given strain state gives the moment of the curve point at the same
// curvature and thrust.
TEST(SingleStrainState, MatchesTheCurvePoint) {
    double curveMoment = 0.0, stateMoment = 0.0;
    const std::string r = SectionStudy(EIOnlyRun(ShaftSection, {0.0}), [&] {
        ASSERT_TRUE(Initialize_EI_Vars(0.0, 0.0, 1, 2, 1));
        SecWork.ThrustIndex = 1;
        const double phi0 = FirstCurvature(36.0, false);
        ASSERT_TRUE(ComputeCurve(0.0, phi0, 0.0, 0.0038, -1.0e30));
        ASSERT_GE(Curve.NumPoints, 60);
        curveMoment = Curve.Points[60].Moment;   // 60 is beyond the plateau after cracking
        SingleStrainState(1, Curve.Points[60].Curvature, 0.0, 0.0, 0.0);
        stateMoment = Curve.Points[1].Moment;
    });
    EXPECT_NEAR(stateMoment, curveMoment, 1e-4 * curveMoment);
    EXPECT_NE(r.find("- All input values specified"), std::string::npos);
}

// A 12 in shaft with three #3 bars is still short of a concrete strain of
// 0.0038 after 150 curvature points: warning 305 with its report block.
TEST(MomentCurvatureWarnings, HundredFiftyPointsRaise305) {
    const std::string small =
        "SECTIONS\n1\n1\n1\n20.0\n12.0\n4000.0\n0.75\nUse default concrete tensile strength\n"
        "Use internal stress-strain curve for concrete\nRebar Arrangement Not Same As Section Above\nRebar in circle\n"
        "60000.0\n2.9E7\n3\n1\n0.375\n0.11\n2.0\n0.0\n";
    auto r = RunInput(EIOnlyRun(small, {0.0}));
    EXPECT_EQ(r.Result, -305);
    const auto curves = ParseCurves(r.Plot);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_EQ(curves[0].Points, 150);
    EXPECT_NE(r.Report.find("Warning: 150 values were calculated for moment-curvature."), std::string::npos);
    EXPECT_NE(r.Report.find("The following warning was reported 1 times"), std::string::npos);
}

// A micropile is given by its length only: the run ends with an input data
// error before any analysis, never with a stiffness that was not computed.
TEST(SectionErrors, MicropileHasNoBendingStiffness) {
    for (const char* mode : {"NO", "YES"}) {
        std::string input = "KESTRO6\nTITLE\nt\n\n\n\n\n" + Options(false) + "SECTIONS\n1\n1\n14\n30.0\n" +
                            StiffClay + "LOADING\n1\n1 1 1000.0 0.0 0.0 1\n0\nEND\n";
        input.replace(input.find("ComputeEIOnly NO"), 16, std::string("ComputeEIOnly ") + mode);
        auto r = RunInput(input);
        EXPECT_EQ(Code(r).substr(0, 3), "INP") << mode;
        EXPECT_EQ(r.Plot.find("Line 4 :"), std::string::npos);
        EXPECT_EQ(r.Report.find("Computed Values of Pile Loading"), std::string::npos);
    }
}

// A tensile thrust beyond the cracking load Tcr = (Es As + Ec Ac) eps_cr
// (about -459 kips here) cracks the shaft before it bends: its first point
// is already marked "C"; a smaller tension leaves the first point uncracked.
TEST(DrilledShaft, TensionBeyondCrackingLoadCracksFromTheStart) {
    const double ec = 57.0 * std::sqrt(4000.0), fr = -0.0075 * std::sqrt(4000.0), e0 = 1.7 * 4.0 / ec;
    const double ecr = -(1.0 - std::sqrt(1.0 + fr / 4.0)) * e0;
    const double tcr = (29000.0 * 12.0 + ec * (Pi * 36.0 * 36.0 / 4.0 - 12.0)) * ecr;   // kips
    auto r = RunInput(EIOnlyRun(ShaftSection, {1000.0 * tcr * 1.05, 1000.0 * tcr * 0.95}));
    ASSERT_NE(r.Messages.find("The analysis ended normally."), std::string::npos) << r.Report;
    std::vector<std::string> firstRows;
    for (auto at = r.Report.find("rad/in.      in-kip"); at != std::string::npos;
         at = r.Report.find("rad/in.      in-kip", at + 1)) {
        const auto rule = r.Report.find('\n', at);
        const auto row = r.Report.find('\n', rule + 1);
        firstRows.push_back(r.Report.substr(row + 1, r.Report.find('\n', row + 1) - row - 1));
    }
    ASSERT_EQ(firstRows.size(), 2u);
    EXPECT_EQ(firstRows[0].substr(105, 1), "C") << firstRows[0];
    EXPECT_EQ(firstRows[1].substr(105, 1), " ") << firstRows[1];
}

// The same 36 in shaft given in SI units has the same nominal moment:
// 1 kip-in = 0.1129848 kN-m.
TEST(DrilledShaft, SameCapacityInSIUnits) {
    const std::string si =
        "SECTIONS\n1\n1\n1\n12.192\n914.4\n27579.032\n19.05\nUse default concrete tensile strength\n"
        "Use internal stress-strain curve for concrete\nRebar Arrangement Not Same As Section Above\nRebar in circle\n"
        "413685.44\n199947961.5\n12\n1\n28.6512\n645.16\n76.2\n0.0\n";
    std::string input = "KESTRO6\nTITLE\nsi\n\n\n\n\n" + Options(true, "Units SI") + si +
                        "SOIL LAYERS\n1\n3  0.0  15.0\n18.85  95.76  0.005\n19.64  167.58  0.005\n" +
                        "AXIAL THRUST LOADS\n2\n1 0.0\n2 2224.11\nEND\n";
    auto r = RunInput(input);
    ASSERT_NE(r.Messages.find("The analysis ended normally."), std::string::npos) << r.Report;
    const auto curves = ParseCurves(r.Plot);
    ASSERT_EQ(curves.size(), 2u);
    const double kipIn = 0.1129848290276167;
    EXPECT_NEAR(curves[0].Mn, FibreMn(Shaft{}, 0.0) * kipIn, 0.01 * curves[0].Mn);
    EXPECT_NEAR(curves[1].Mn, FibreMn(Shaft{}, 500.0) * kipIn, 0.01 * curves[1].Mn);
    EXPECT_NEAR(curves[0].Phi.front(), 6.25e-7 / 0.0254, 1e-3 * 6.25e-7 / 0.0254);
}
