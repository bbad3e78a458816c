// Prestressed pile sections against hand mechanics written here: a doubly
// symmetric section carries no moment at zero curvature; the first row's
// EI = M / phi is the E I of the gross transformed section at the prestressed
// state; the nominal moment at a total concrete strain of 0.003 agrees with a
// strip integration of the same laws (the strand law as the report prints
// it). A plain concrete section finds its neutral axis for every thrust up
// to 0.95 of its squash load, and a thrust that no depth balances is said so.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "model/RunState.h"
#include "model/SectionTables.h"
#include "section/Materials.h"
#include "section/MomentCurvature.h"
#include "section/NeutralAxis.h"
#include "section/SectionWork.h"
#include "section/SliceTable.h"

using kestro::test::RunInput;

namespace {

constexpr double Pi = 3.141592653589793;

std::string EIOnlyRun(const std::string& section, const std::vector<double>& thrustsLbs) {
    std::string s =
        "KESTRO6\nTITLE\nprestressed section test\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\n"
        "UseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly YES\nLoading STATIC     1\n"
        "MaxIterations 100\nDeflectionLimit 100.0\nTolerance 1.0E-5\nIncrements 100\nPrintSummaryOnly NO\n"
        "PrintIncrement 5\nPrintPYCurves NO\nComputeInteraction NO\nSECTIONS\n1\n1\n" +
        section + "SOIL LAYERS\n1\n3  0.0  60.0\n120.0  2000.0  0.005\n125.0  3500.0  0.005\nAXIAL THRUST LOADS\n" +
        std::to_string(thrustsLbs.size()) + "\n";
    for (std::size_t i = 0; i < thrustsLbs.size(); ++i) s += std::to_string(i + 1) + " " + std::to_string(thrustsLbs[i]) + "\n";
    return s + "END\n";
}

const char* Concrete6 = "6000.0\n0.75\nUse default concrete tensile strength\nUse internal stress-strain curve for concrete\n";

// Autopositioned 0.5 in PCI 270 strands (0.153 sq. in.), 189 ksi initial.
std::string Strands(int n, int pattern) {
    return "Autoposition strands\n2\n1\n" + std::to_string(n) + "\n270000.0\n189000.0\n0.5\n" + std::to_string(pattern) +
           "\n";
}

struct PlotCurve {
    int Points = 0;
    double Thrust = 0.0, Mn = 0.0;
    std::vector<double> M, EI, Phi;
};

std::vector<PlotCurve> Curves(const std::string& plot) {
    std::vector<PlotCurve> out;
    std::istringstream in(plot);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream v(line.substr(0, 80));
        if (line.find("Line 4 :") != std::string::npos) {
            PlotCurve c;
            v >> c.Points >> c.Thrust >> c.Mn;
            out.push_back(c);
        } else if (line.find("Line 5 :") != std::string::npos && !out.empty()) {
            double m = 0, ei = 0, phi = 0;
            v >> m >> ei >> phi;
            out.back().M.push_back(m);
            out.back().EI.push_back(ei);
            out.back().Phi.push_back(phi);
        }
    }
    return out;
}

// ------------------------------------------------ hand mechanics (kips, in)

// A 14 in prestressed pile, f'c 6 ksi, 8 strands of 0.153 sq. in. (PCI 270,
// 189 ksi initial, loss 0.2) 3 in clear inside the outline: on the square of
// half side (14 - 0.5)/2 - 3 = 3.75 in for the square pile (0.75 in
// chamfers), on the circle of radius 3.75 in for the round one.
struct HandPile {
    const char* what = "";
    std::string section;         // input lines after the section number
    bool round = false;
    double B = 14.0, chamfer = 0.75, fc = 6.0, strand = 0.153, half = 3.75;
    double Ec() const { return 57.0 * std::sqrt(1000.0 * fc); }
    double Eps0() const { return 1.7 * fc / Ec(); }
    double As() const { return 8.0 * strand; }
    double Ag() const { return round ? Pi * B * B / 4.0 : B * B - 2.0 * chamfer * chamfer; }
    std::vector<double> StrandY() const {
        if (!round) return {half, half, half, 0.0, 0.0, -half, -half, -half};
        std::vector<double> y;
        for (int k = 0; k < 8; ++k) y.push_back(half * std::sin(2.0 * Pi * k / 8.0));
        return y;
    }
    // Gross moment of inertia: the circle, or the square less four corner
    // triangles (legs c, own inertia c^4/36, centroid B/2 - c/3 from the axis).
    double Ig() const {
        if (round) return Pi * B * B * B * B / 64.0;
        const double c = chamfer, d = B / 2.0 - c / 3.0;
        return B * B * B * B / 12.0 - 4.0 * (c * c * c * c / 36.0 + c * c / 2.0 * d * d);
    }
    double Width(double y) const {
        if (round) return 2.0 * std::sqrt(std::fmax(0.0, B * B / 4.0 - y * y));
        const double over = std::fabs(y) - (B / 2.0 - chamfer);
        return over > 0.0 ? B - 2.0 * over : B;
    }
    // Prestress after 20 % loss; concrete strain over the net concrete area.
    double Pe() const { return 0.8 * 189.0 * As(); }
    double StrandPrestrain() const { return -Pe() / (28500.0 * As()); }
    double ConcretePrestrain() const { return Pe() / (Ec() * (Ag() - As())); }
};

double UnconfinedCompression(double fc, double eps0, double eps) {
    if (eps <= 0.0) return 0.0;
    if (eps <= eps0) return fc * (2.0 * eps / eps0 - (eps / eps0) * (eps / eps0));
    if (eps <= 0.0038) return fc - 0.15 * fc * (eps - eps0) / (0.0038 - eps0);
    return 0.001;
}

// PCI 270 as the report prints it: 28500 eps to 0.0086, then
// 270 - 0.04/(eps - 0.007) < 270, the same in tension.
double Pci270(double eps) {
    const double x = std::fabs(eps);
    const double s = x <= 0.0086 ? 28500.0 * x : std::fmin(270.0, 270.0 - 0.04 / (x - 0.007));
    return eps < 0.0 ? -s : s;
}

// ------------------------------------------------------------------ tests

struct SymmetricCase {
    const char* what;
    std::string section;
};

// Every doubly symmetric prestressed section carries no moment at zero
// curvature: M(0) extrapolated from the first two points (an odd function of
// the curvature, so the error is third order) is zero to rounding. A strand
// area hung 0.029 in low gave -5.30 kip-in for 8 strands of the square pile.
TEST(PrestressedSection, NoMomentAtZeroCurvatureInEverySymmetricSection) {
    const std::string c = Concrete6;
    const SymmetricCase cases[] = {
        {"square, chamfered, 8 strands", "7\n55.0\n14.0\n0.75\n" + c + Strands(8, 1)},
        {"square, no chamfer, 4 strands", "7\n55.0\n14.0\n0.0\n" + c + Strands(4, 1)},
        {"square hollow, chamfered, 16 strands", "8\n55.0\n24.0\n11.0\n1.0\n" + c + Strands(16, 1)},
        {"square hollow, no chamfer, 12 strands", "8\n55.0\n24.0\n11.0\n0.0\n" + c + Strands(12, 1)},
        {"octagonal, 8 strands on a circle", "9\n55.0\n18.0\n" + c + Strands(8, 0)},
        {"octagonal hollow, 16 strands", "10\n55.0\n24.0\n12.0\n" + c + Strands(16, 0)},
        {"circular, 8 strands", "5\n55.0\n14.0\n" + c + Strands(8, 0)},
        {"circular hollow, 20 strands", "6\n55.0\n36.0\n24.0\n" + c + Strands(20, 0)},
    };
    for (const SymmetricCase& k : cases) {
        auto r = RunInput(EIOnlyRun(k.section, {0.0}));
        ASSERT_NE(r.Messages.find("The analysis ended normally."), std::string::npos) << k.what << "\n" << r.Report;
        const auto curves = Curves(r.Plot);
        ASSERT_EQ(curves.size(), 1u) << k.what;
        const PlotCurve& cv = curves[0];
        ASSERT_GE(cv.Points, 2) << k.what;
        EXPECT_DOUBLE_EQ(cv.Phi[1], 2.0 * cv.Phi[0]) << k.what;
        const double m0 = 2.0 * cv.M[0] - cv.M[1];
        EXPECT_NEAR(m0, 0.0, 1.0e-4 * std::fabs(cv.M[0]) + 2.0e-5) << k.what << ": M1 " << cv.M[0] << " M2 " << cv.M[1];
        EXPECT_GT(cv.M[0], 0.0) << k.what;
    }
}

// First-row EI and the nominal moment of the 14 in square and round piles
// against hand mechanics, and the strand law printed as computed.
TEST(PrestressedSection, FirstRowEIAndNominalMomentAgainstHandMechanics) {
    HandPile square, round;
    square.what = "square";
    square.section = "7\n55.0\n14.0\n0.75\n" + std::string(Concrete6) + Strands(8, 1);
    round.what = "round";
    round.round = true;
    round.section = "5\n55.0\n14.0\n" + std::string(Concrete6) + Strands(8, 0);
    for (const HandPile& p : {square, round}) {
        SCOPED_TRACE(p.what);
        auto r = RunInput(EIOnlyRun(p.section, {0.0}));
        ASSERT_NE(r.Messages.find("The analysis ended normally."), std::string::npos) << r.Report;
        const auto curves = Curves(r.Plot);
        ASSERT_EQ(curves.size(), 1u);
        const PlotCurve& cv = curves[0];

        // The report prints the strand law that the stresses follow.
        EXPECT_NE(r.Report.find("   Stress-Strain Curve for Reinforcement Defined Using PCI 270 Lo-lax Equation\n"
                                "   If eps <= 0.0086, fps = 28500 eps (ksi)\n"
                                "   If eps > 0.0086, fps = 270 - 0.04/(eps-0.007) < 270 (ksi)\n"),
                  std::string::npos);
        EXPECT_EQ(r.Report.find("268 - 0.075"), std::string::npos);

        // Prestressed state at zero load: the uniform total concrete strain e at
        // which the concrete (parabola) balances the strands, whose strain is
        // their prestrain plus the change of concrete strain, e - eps_pc.
        const double eps0 = p.Eps0(), epc = p.ConcretePrestrain(), esi = p.StrandPrestrain();
        const double ac = p.Ag() - p.As();
        auto net = [&](double e) {
            return ac * UnconfinedCompression(p.fc, eps0, e) + p.As() * 28500.0 * (e - epc + esi);
        };
        double lo = 0.0, hi = 2.0 * epc;
        for (int k = 0; k < 200; ++k) ((net(0.5 * (lo + hi)) < 0.0) ? lo : hi) = 0.5 * (lo + hi);
        const double e = 0.5 * (lo + hi);
        // Tangent of the parabola there, and the transformed section: concrete
        // net of the strands it is displaced by, strands at 28500 ksi.
        const double et = 2.0 * p.fc / eps0 * (1.0 - e / eps0);
        double sy2 = 0.0;
        for (double y : p.StrandY()) sy2 += p.strand * y * y;
        const double ei = et * (p.Ig() - sy2) + 28500.0 * sy2;
        EXPECT_NEAR(cv.EI[0], ei, 0.01 * ei) << "hand E I " << ei << " (tangent " << et << " ksi)";

        // Nominal moment: top-fibre total concrete strain 0.003, neutral-axis
        // depth c from equilibrium at zero thrust, the tension zone cracked (its
        // bottom fibre is far beyond the cracking strain); 2800 strips.
        auto state = [&](double c, double& force, double& moment) {
            const int strips = 2800;
            const double h = p.B / strips, phi = 0.003 / c;
            force = moment = 0.0;
            for (int i = 1; i <= strips; ++i) {
                const double depth = (i - 0.5) * h, y = p.B / 2.0 - depth;
                const double f = UnconfinedCompression(p.fc, eps0, phi * (c - depth)) * p.Width(y) * h;
                force += f;
                moment += f * y;
            }
            for (double y : p.StrandY()) {
                const double ec = phi * (c - (p.B / 2.0 - y));
                const double f = (Pci270(ec - epc + esi) - UnconfinedCompression(p.fc, eps0, ec)) * p.strand;
                force += f;
                moment += f * y;
            }
        };
        double clo = 0.5, chi = 14.0, force = 0.0, mn = 0.0;
        for (int k = 0; k < 100; ++k) {
            const double mid = 0.5 * (clo + chi);
            state(mid, force, mn);
            (force < 0.0 ? clo : chi) = mid;
        }
        state(0.5 * (clo + chi), force, mn);
        // Line 4 holds Mn in in-lb.
        EXPECT_NEAR(cv.Mn / 1000.0, mn, 0.001 * mn) << "strip integration " << mn;
    }
}

// A plain 12 x 12 in section (no bars, f'c 4 ksi) keeps its neutral axis for
// every thrust from 5 % to 95 % of its squash load 0.85 f'c A = 489.6 kips in
// 5 % steps (a thrust of 0 is not above its tensile capacity Nt = 0, so the
// input list drops it; the slice-level test below takes it).
TEST(PlainSection, ThrustSweepToNinetyFivePercentOfSquashLoad) {
    const std::string plain =
        "0\n40.0\n12.0\n12.0\n4000.0\n0.75\nUse default concrete tensile strength\n"
        "Use internal stress-strain curve for concrete\nNo rebar\n";
    const double squash = 0.85 * 4.0 * 144.0;  // kips
    std::vector<double> thrusts;
    for (int k = 1; k <= 19; ++k) thrusts.push_back(1000.0 * squash * 0.05 * k);
    auto r = RunInput(EIOnlyRun(plain, thrusts));
    EXPECT_EQ(r.Report.find("Runtime Error No. 16"), std::string::npos);
    EXPECT_EQ(r.Report.find("Runtime Error No. 40"), std::string::npos);
    ASSERT_EQ(r.Report.find("ended prematurely"), std::string::npos) << r.Report.substr(r.Report.size() - 3000);
    const auto curves = Curves(r.Plot);
    ASSERT_EQ(curves.size(), thrusts.size());
    for (const PlotCurve& cv : curves) {
        ASSERT_GE(cv.Points, 1) << cv.Thrust;
        EXPECT_GT(cv.M[0], 0.0) << cv.Thrust;
        // Uncracked first point: EI near the concrete's tangent E I.
        EXPECT_GT(cv.EI[0], 0.3 * 57.0 * std::sqrt(4000.0) * 1728.0) << cv.Thrust;
    }
}

// On the slices: a thrust above the largest axial force of a strain state is
// reported as no equilibrium (with the force range found), while a thrust
// just below it is balanced on the rising branch of the concrete law.
TEST(PlainSection, NoEquilibriumAboveTheSectionsCapacity) {
    using namespace kestro;
    static SliceTable t;
    SectionGeometry g;
    g.Shape = ShapeSquarePile;
    g.Width = 12.0;
    g.Depth = 12.0;
    g.NumVertices = 4;
    const double x[] = {0, -6, 6, 6, -6}, y[] = {0, -6, -6, 6, 6};
    for (std::size_t k = 1; k <= 4; ++k) g.OutlineX[k] = x[k], g.OutlineY[k] = y[k];
    PrepareSlices(g, 0.0, t);
    SectionMaterials m;
    DeriveConcreteProperties(m.Concrete, ConcreteUnconfined, 4.0, RebarLawBars, false, false);
    const NeutralAxisConstants k = NeutralAxisConstantsFor(false);
    const double phi = 1.25e-6, peak = 4.0 * 144.0;
    struct Case { double thrust; bool balanced; };
    for (const Case c : {Case{0.0, true}, Case{0.95 * peak, true}, Case{0.999 * peak, true}, Case{1.05 * peak, false}}) {
        NeutralAxisSearch search;
        SectionForces f;
        SectionRunFlags flags;
        const double dNA = FindNeutralAxis(t, m, phi, c.thrust, k, search, f, flags);
        if (c.balanced) {
            EXPECT_FALSE(search.b_Failed) << c.thrust;
            EXPECT_NEAR(f.TotalAxialForce, c.thrust, 1e-3) << c.thrust;
            // Rising branch: the bottom fibre has not passed the peak strain.
            EXPECT_LT(phi * (dNA - 12.0), m.Concrete.Epsilon0) << c.thrust;
        } else {
            EXPECT_TRUE(search.b_Failed);
            EXPECT_TRUE(search.b_NoEquilibrium);
            EXPECT_NEAR(search.LargestForce, peak, 0.002 * peak);
        }
    }

    // On the working store. Just below the peak the curve has its first
    // point, then ends (without ending the run) where the bent section can no
    // longer give the thrust, short of the 0.003 strain; above the peak the
    // single strain state ends the run with Runtime Error 40.
    static SliceTable copy;
    copy = t;
    SecWork.Slices = copy;
    SecWork.Materials = m;
    SecWork.ThrustIndex = 1;
    kestro::Run.ErrorNumber = 0;
    ASSERT_TRUE(ComputeCurve(0.999 * peak, phi, 0.0, 0.0038, 0.0));
    EXPECT_EQ(kestro::Run.ErrorNumber, 0);
    ASSERT_GE(kestro::Curve.NumPoints, 1);
    EXPECT_LT(kestro::Curve.NumPoints, 150);
    EXPECT_LT(kestro::Curve.Points[static_cast<std::size_t>(kestro::Curve.NumPoints)].MaxCompStrain, 0.003);
    SingleStrainState(1, phi, 1.05 * peak, 0.0, 0.0);
    EXPECT_EQ(kestro::Run.ErrorNumber, 240);
    kestro::Run.ErrorNumber = 0;
}

}  // namespace
