// Stress-strain laws at their branch boundaries, from both sides, against
// values worked by hand from the published equations; derived concrete
// properties; Mander confined concrete with its energy balance; prestress
// strains and Runtime Errors 14 and 15; bad material input.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "SectionTestSupport.h"
#include "input/Units.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/SectionGeometryReport.h"
#include "section/Materials.h"

using namespace kestro;
using kestro::test::OneSection;

namespace {

constexpr double F(float v) { return static_cast<double>(v); }
constexpr double Below = 1.0 - 1.0e-9, Above = 1.0 + 1.0e-9;

ConcreteProperties Concrete(int model, double fc, double eps0) {
    ConcreteProperties c;
    c.Model = model;
    c.PeakStress = fc;
    c.Epsilon0 = eps0;
    c.DropStress = F(0.15f) * fc;
    c.DescentSpan = F(0.0038f) - eps0;
    return c;
}

struct LawCase {
    const char* what;
    double eps;
    double want;
    double tol;
};

}  // namespace

TEST(ConcreteLaw, BranchBoundariesFromBothSides) {
    const double fc = 4.0, e0 = 0.002;
    const ConcreteProperties m2 = Concrete(ConcreteUnconfined, fc, e0);
    const ConcreteProperties m3 = Concrete(ConcretePlateau, fc, e0);
    const ConcreteProperties m4 = Concrete(ConcreteCased, fc, e0);
    const double d = F(0.0038f), p = F(0.006f), a = F(0.0017813f), b = F(0.0035f), c = F(0.016f);
    auto parabola = [&](double e) { return fc * (2.0 * e / e0 - (e / e0) * (e / e0)); };
    const struct {
        const ConcreteProperties* law;
        LawCase c;
    } cases[] = {
        {&m2, {"model 2 peak from below", e0 * Below, parabola(e0 * Below), 1e-12}},
        {&m2, {"model 2 peak from above", e0 * Above, fc - F(0.15f) * fc * (e0 * Above - e0) / (d - e0), 1e-12}},
        {&m2, {"model 2 at 0.0038", d * Below, fc - F(0.15f) * fc * (d * Below - e0) / (d - e0), 1e-12}},
        {&m2, {"model 2 at 0.0038 is 0.85 f'c", d * Below, 0.85 * fc, 1e-6}},
        {&m2, {"model 2 beyond 0.0038", d * Above, F(0.001f), 0.0}},
        {&m2, {"model 2 at 0.0039", 0.0039, 0.001, 1e-9}},
        {&m3, {"model 3 plateau end", p * Below, fc, 0.0}},
        {&m3, {"model 3 crushed", p * Above, F(0.001f), 0.0}},
        {&m3, {"model 3 parabola", 0.001, 3.0, 1e-12}},
        {&m4, {"model 4 parabola end", a * Below, 0.98803 * fc, 1e-4}},
        {&m4, {"model 4 line start", a * Above, F(0.98803f) * fc, 1e-6}},
        {&m4, {"model 4 line end", b * Below, (F(0.98803f) + F(0.17797f) * (b - a) / F(0.0017187f)) * fc, 1e-6}},
        {&m4, {"model 4 plateau", b * Above, F(1.176f) * fc, 0.0}},
        {&m4, {"model 4 plateau end", c * Below, F(1.176f) * fc, 0.0}},
        {&m4, {"model 4 crushed", c * Above, F(0.001f), 0.0}},
    };
    for (const auto& k : cases)
        EXPECT_NEAR(ConcreteCompressionStress(*k.law, k.c.eps), k.c.want, k.c.tol) << k.c.what;
}

TEST(ConcreteLaw, UserCurveAndPowerLaw) {
    ConcreteProperties c;
    c.Model = ConcreteUserCurve;
    c.NumCurvePoints = 2;
    c.CurveStrain[1] = 0.002, c.CurveStress[1] = 4.0;
    c.CurveStrain[2] = 0.004, c.CurveStress[2] = 3.0;
    EXPECT_NEAR(ConcreteCompressionStress(c, 0.001), 2.0, 1e-12);
    EXPECT_NEAR(ConcreteCompressionStress(c, 0.003), 3.5, 1e-12);
    EXPECT_NEAR(ConcreteCompressionStress(c, 0.004 * Below), 3.0, 1e-6);
    EXPECT_EQ(ConcreteCompressionStress(c, 0.004 * Above), F(0.001f));
    // Power law: E0 x / (1 + (E0 x / f0)^n)^(1/n), signed with the strain.
    ConcreteProperties p;
    p.Model = ConcretePowerLaw;
    p.PowerModulus = 3000.0, p.PowerReferenceStress = 4.0, p.PowerExponent = 2.0;
    const double x = 0.001 + 0.0005;  // strain plus prestrain
    EXPECT_NEAR(PowerLawConcreteStress(p, 0.001, 0.0005), 3000.0 * x / std::sqrt(1.0 + std::pow(3000.0 * x / 4.0, 2.0)),
                1e-12);
    EXPECT_NEAR(PowerLawConcreteStress(p, -0.002, 0.0005), -3000.0 * x / std::sqrt(1.0 + std::pow(3000.0 * x / 4.0, 2.0)),
                1e-12);
}

TEST(ConcreteLaw, DerivedPropertiesOfReinforcedPrestressedAndCoreConcrete) {
    const double fc = 4.0, root = std::sqrt(4000.0);
    ConcreteProperties c;
    DeriveConcreteProperties(c, ConcreteUnconfined, fc, RebarLawBars, false, false);
    EXPECT_NEAR(c.Ec, 57.0 * root, 1e-9);
    EXPECT_NEAR(c.fr, -0.0075 * root, 1e-12);
    const double e0 = F(1.7f) * fc / (57.0 * root);
    EXPECT_NEAR(c.Epsilon0, e0, 1e-15);
    EXPECT_NEAR(c.CrackStrain, -e0 * (1.0 - std::sqrt(1.0 - 0.0075 * root / fc)), 1e-15);
    // The tension parabola reaches fr exactly at the cracking strain.
    EXPECT_NEAR(ConcreteTensionStress(c, c.CrackStrain), c.fr, 1e-12);
    DeriveConcreteProperties(c, ConcreteUnconfined, fc, RebarLawPci270, false, false);
    EXPECT_NEAR(c.fr, -0.004 * root, 1e-12);
    DeriveConcreteProperties(c, ConcreteUnconfined, fc, RebarLawBars, true, false);
    EXPECT_NEAR(c.Ec, 57.5 * root, 1e-9);
    EXPECT_NEAR(c.CrackStrain, -F(0.002f) * (1.0 - std::sqrt(1.0 - 0.0075 * root / fc)), 1e-15);
    // SI: the same law in kPa.
    DeriveConcreteProperties(c, ConcreteUnconfined, fc * 6894.75732421875, RebarLawBars, false, true);
    EXPECT_NEAR(c.Ec, 57.0 * root * 6894.75732421875, 1e-6);
    EXPECT_NEAR(c.Epsilon0, e0, 1e-15);
    DeriveConcreteProperties(c, ConcreteNone, fc, RebarLawBars, false, false);
    EXPECT_EQ(c.Ec, 0.0);
}

TEST(ConcreteLaw, CrackingRunsDownFromTheFirstCrackedSlice) {
    ConcreteProperties c;
    DeriveConcreteProperties(c, ConcreteUnconfined, 4.0, RebarLawBars, false, false);
    SliceTable t;
    SliceArray eps{}, sigma{};
    // Slices 1-50 in compression, 51 just short of cracking, 52 beyond it,
    // 53 back at a small tension (a kinked profile, to see the rule).
    for (std::size_t i = 1; i <= 50; ++i) eps[i] = 1.0e-4;
    eps[51] = c.CrackStrain * Below;
    eps[52] = c.CrackStrain * Above;
    eps[53] = 0.1 * c.CrackStrain;
    SectionRunFlags flags;
    ConcreteStresses(c, t, eps, 0.0, false, false, sigma, flags);
    EXPECT_NEAR(sigma[51], c.fr, 1e-6);
    EXPECT_EQ(sigma[52], 0.0);
    EXPECT_EQ(sigma[53], 0.0);
    EXPECT_TRUE(flags.b_Cracked);
    // Pure compression never cracks.
    for (std::size_t i = 1; i <= 100; ++i) eps[i] = 1.0e-4 + 1.0e-6 * static_cast<double>(i);
    flags.Clear();
    ConcreteStresses(c, t, eps, 1.0e-4, false, false, sigma, flags);
    EXPECT_FALSE(flags.b_Cracked);
    // A bottom fibre beyond the cracking strain cracks every tension slice.
    eps[100] = 0.5 * c.CrackStrain;
    flags.Clear();
    ConcreteStresses(c, t, eps, c.CrackStrain * Above, false, false, sigma, flags);
    EXPECT_EQ(sigma[100], 0.0);
    EXPECT_TRUE(flags.b_Cracked);
}

TEST(ConcreteLaw, ManderConfinedConcreteAndItsEnergyBalance) {
    // 36 in shaft, 12 #9 bars, #4 spiral at 4 in, fyh 60 ksi, f'c 4 ksi.
    const double fc = 4.0;
    ManderInputs in;
    in.LongitudinalSteelArea = 12.0;
    in.CoreArea = 3.141592653589793 * 30.0 * 30.0 / 4.0;
    in.SpiralArea = 0.2;
    in.SpiralPitch = 4.0;
    in.SectionDepth = 30.0;
    in.SpiralYield = 60.0;
    ConcreteProperties c;
    ASSERT_TRUE(ManderParameters(c, fc, in, false));
    const ManderResults& m = c.Mander;
    const double rhoCC = 12.0 / in.CoreArea;
    const double rhos = 4.0 * 0.2 / (30.0 * 4.0);
    const double fl = rhos * 60.0 / 2.0 / (1.0 - rhoCC);
    const double fcc = fc * (2.254 * std::sqrt(1.0 + 7.94 * fl / fc) - 1.254 - 2.0 * fl / fc);
    const double ecc = F(0.002f) * (1.0 + 5.0 * (fcc / fc - 1.0));
    const double ec = 57.0 * std::sqrt(4000.0);
    const double r = ec / (ec - fcc / ecc);
    EXPECT_NEAR(m.ConfinedStrength, fcc, 1e-12);
    EXPECT_NEAR(m.EpsilonCC, ecc, 1e-9);
    EXPECT_NEAR(m.R, r, 1e-9);
    // At eps_cc the curve gives f'cc.
    EXPECT_NEAR(ConcreteCompressionStress(c, ecc), fcc, 1e-9);
    // The confined curve from 0.0001 to eps_cu absorbs Ust + Uco (fine
    // trapezoid integration written here).
    const double acc = in.CoreArea * (1.0 - rhoCC);
    const double target = 15.954146534204483 * rhos * acc + 0.0024656409620096853 * std::sqrt(6.894757 * fc) * acc;
    double energy = 0.0;
    const int steps = 200000;
    const double h = (m.Epcu - 0.0001) / steps;
    for (int k = 0; k < steps; ++k) {
        const double e1 = 0.0001 + h * k, e2 = e1 + h;
        auto s = [&](double e) { const double x = e / ecc; return fcc * x * r / (r - 1.0 + std::pow(x, r)); };
        energy += 0.5 * (s(e1) + s(e2)) * h * acc;
    }
    EXPECT_NEAR(energy, target, 1e-6 * target);
    EXPECT_GT(m.Epcu, 0.004);
    EXPECT_EQ(ConcreteCompressionStress(c, m.Epcu * Above), F(0.001f));
    // No usable confinement: refused.
    in.SpiralPitch = 0.0;
    EXPECT_FALSE(ManderParameters(c, fc, in, false));
}

TEST(SteelLaw, ReinforcementAndStrandBranchesFromBothSides) {
    ReinforcementProperties bars;
    bars.Law = RebarLawBars;
    bars.Modulus = 29000.0;
    bars.Yield = 60.0;
    bars.StressLimit = F(0.6f) * 60.0;
    const double ey = 60.0 / 29000.0, es = F(0.6f) * 60.0 / 29000.0;
    struct Case {
        int law;
        int barType;
        double eps, want, tol;
        bool yielded, limit;
    };
    const Case cases[] = {
        {RebarLawBars, 0, ey * Below, 29000.0 * ey * Below, 1e-9, false, true},
        {RebarLawBars, 0, ey * Above, 60.0, 0.0, true, true},
        {RebarLawBars, 0, -ey * Above, -60.0, 0.0, true, true},
        {RebarLawBars, 0, es * Below, 29000.0 * es * Below, 1e-9, false, false},
        {RebarLawBars, 0, es * Above, 29000.0 * es * Above, 1e-9, false, true},
        {RebarLawPci250, 0, F(0.0076f) * Below, 28500.0 * F(0.0076f) * Below, 1e-9, false, false},
        {RebarLawPci250, 0, F(0.0076f), 216.6, 1e-4, false, false},
        {RebarLawPci250, 0, F(0.0076f) * Above, 250.0 - F(0.04f) / (F(0.0076f) * Above - F(0.0064f)), 1e-9, false, false},
        {RebarLawPci250, 0, -F(0.0076f) * Above, -216.6667, 1e-3, false, false},
        {RebarLawPci270, 0, F(0.0086f), 245.1, 1e-4, false, false},
        {RebarLawPci270, 0, F(0.0086f) * Above, 245.0, 1e-3, false, false},
        {RebarLawPci270, 0, 1.0, 270.0 - F(0.04f) / (1.0 - F(0.007f)), 1e-9, false, false},
        {RebarLawPci300, 0, F(0.0088846f) * Below, 28500.0 * F(0.0088846f) * Below, 1e-9, false, false},
        {RebarLawPci300, 0, F(0.0088846f) * Above, 300.0 - F(0.0835f) / (F(0.0088846f) * Above - F(0.0071f)), 1e-9,
         false, false},
        {RebarLawSmooth145, 0, 0.005 * Below, 145.0 * Below, 1e-9, false, false},
        {RebarLawSmooth145, 0, 0.005 * Above, 145.0, 0.0, true, false},
        {RebarLawSmooth160, 0, -(160.0 / 29000.0) * Above, -160.0, 0.0, true, false},
        {RebarLawDeformed, 1, 157.0 / 29000.0 * Below, 157.0 * Below, 1e-9, false, false},
        {RebarLawDeformed, 1, 157.0 / 29000.0 * Above, 157.0, 0.0, true, false},
        {RebarLawDeformed, 3, 0.1, 160.0, 0.0, true, false},
        {RebarLawDeformed, 2, 0.1, 150.0, 0.0, true, false},
    };
    for (const Case& c : cases) {
        ReinforcementProperties r = bars;
        r.Law = c.law;
        r.BarType = c.barType;
        SectionRunFlags flags;
        EXPECT_NEAR(ReinforcementStress(r, c.eps, flags), c.want, c.tol) << "law " << c.law << " eps " << c.eps;
        EXPECT_EQ(flags.b_Yielded, c.yielded) << "law " << c.law << " eps " << c.eps;
        EXPECT_EQ(flags.b_StressLimit, c.limit) << "law " << c.law << " eps " << c.eps;
    }
    // A strand takes the change of the (total) concrete strain from the
    // prestressed state: -0.005 + (0.0012 - 0.0002); SI runs scale the ksi laws.
    ReinforcementProperties strand = bars;
    strand.Law = RebarLawPci270;
    strand.InitialSteelStrain = -0.005;
    strand.ConcretePrestrain = 0.0002;
    strand.KsiToStress = 6894.75732421875;
    SectionRunFlags flags;
    EXPECT_NEAR(ReinforcementStress(strand, 0.0012, flags), 28500.0 * -0.004 * 6894.75732421875, 1e-6);
    // Richard equation.
    ReinforcementProperties rich = bars;
    rich.Law = RebarLawRichard;
    rich.RichardE = 29000.0, rich.RichardEp = 290.0, rich.RichardF0 = 60.0, rich.RichardN = 5.0;
    const double x = 0.004, dE = 28710.0;
    EXPECT_NEAR(ReinforcementStress(rich, -x, flags), -(dE * x / std::pow(1.0 + std::pow(dE * x / 60.0, 5.0), 0.2) + 290.0 * x),
                1e-9);
    // Casing steel.
    SteelProperties casing{29000.0, 36.0};
    flags.Clear();
    EXPECT_NEAR(ElasticPlasticStress(casing, 36.0 / 29000.0 * Below, flags), 36.0 * Below, 1e-9);
    EXPECT_FALSE(flags.b_Yielded);
    EXPECT_EQ(ElasticPlasticStress(casing, -36.0 / 29000.0 * Above, flags), -36.0);
    EXPECT_TRUE(flags.b_Yielded);
}

TEST(Prestress, StrainsAndPciEstimatesOfA14InchPile) {
    // 14 in square pile, 8 strands of 0.153 in^2, initial 189 ksi, loss 0.2,
    // f'c 6 ksi, fpu 270 ksi.
    PrestressInputs in;
    in.SteelArea = 8.0 * 0.153;
    in.ConcreteArea = 196.0 - in.SteelArea;
    in.InitialForce = 189000.0 * in.SteelArea;
    in.LossFraction = 0.2;
    in.StrandModulus = 28500.0;
    in.ConcreteModulus = 57.0 * std::sqrt(6000.0);
    in.ConcreteStrength = 6.0;
    in.StrandStrength = 270.0;
    in.SectionDepth = 14.0;
    in.MomentFactor = 0.32;
    in.b_US = true;
    PrestressResults r;
    kestro::Run.ErrorNumber = 0;
    ASSERT_TRUE(Calculate_Strains_Due_To_Prestressing(in, r));
    const double pe = 0.8 * 189000.0 * 1.224;  // lb
    EXPECT_NEAR(r.EffectiveForce, pe, 1e-6);
    EXPECT_NEAR(r.InitialSteelStrain, -pe / (28500.0 * 1.224 * 1000.0), 1e-15);
    const double epc = pe / (57.0 * std::sqrt(6000.0) * (196.0 - 1.224) * 1000.0);
    EXPECT_NEAR(r.ConcretePrestrain, epc, 1e-15);
    const double fpc = 57.0 * std::sqrt(6000.0) * epc;  // ksi, about 0.76
    EXPECT_NEAR(r.ConcreteStress, fpc, 1e-12);
    EXPECT_NEAR(r.NominalAxialCapacity, (0.85 * 6.0 - 0.60 * fpc) * 196.0, 1e-9);
    EXPECT_NEAR(r.AxialLoadCapacity, (0.33 * 6.0 - 0.27 * fpc) * 196.0, 1e-9);
    EXPECT_NEAR(r.TensileCapacity, -1.224 * 270.0, 1e-12);
    EXPECT_NEAR(r.NominalMoment, 0.32 * 14.0 * 1.224 * 270.0, 1e-9);

    for (int which : {14, 15}) {
        PrestressInputs bad = in;
        (which == 14 ? bad.ConcreteArea : bad.SteelArea) = 0.0;
        kestro::Run.ErrorNumber = 0;
        EXPECT_FALSE(Calculate_Strains_Due_To_Prestressing(bad, r));
        EXPECT_EQ(kestro::Run.ErrorNumber, 200 + which);
    }
}

TEST(SectionMaterials, LawsOfAnInputSectionAndBadStrengths) {
    PileSection& S = OneSection(SecDrilledShaft);
    S.PileDiameter = 36.0;
    S.ConcreteStrength = 4000.0;
    S.RebarPattern = RebarCircle;
    S.BarCount1 = 12;
    S.RebarYieldStrength = 60000.0;
    S.RebarModulus = 29.0e6;
    SectionMaterials m;
    ASSERT_TRUE(SetSectionMaterials(1, ConcreteUnconfined, ConcreteNone, m));
    EXPECT_EQ(m.Rebar.Law, RebarLawBars);
    EXPECT_DOUBLE_EQ(m.Rebar.Yield, 60.0);
    EXPECT_DOUBLE_EQ(m.Rebar.Modulus, 29000.0);
    EXPECT_DOUBLE_EQ(m.Concrete.PeakStress, 4.0);
    // A user tensile strength replaces fr; zero means no tension.
    S.UseDefaultTensileStrength = false;
    S.TensileStrength = 300.0;
    ASSERT_TRUE(SetSectionMaterials(1, ConcreteUnconfined, ConcreteNone, m));
    EXPECT_DOUBLE_EQ(m.Concrete.fr, -0.3);
    EXPECT_NEAR(ConcreteTensionStress(m.Concrete, m.Concrete.CrackStrain), -0.3, 1e-12);
    S.TensileStrength = 0.0;
    ASSERT_TRUE(SetSectionMaterials(1, ConcreteUnconfined, ConcreteNone, m));
    EXPECT_TRUE(m.b_IgnoreConcreteTension);

    struct Case { const char* what; double fc, fy, es, ft; };
    const Case cases[] = {{"zero concrete strength", 0.0, 60000.0, 29.0e6, 0.0},
                          {"negative rebar yield", 4000.0, -60000.0, 29.0e6, 0.0},
                          {"zero rebar modulus", 4000.0, 60000.0, 0.0, 0.0},
                          {"tensile strength above f'c", 4000.0, 60000.0, 29.0e6, 4000.0}};
    for (const Case& c : cases) {
        S.ConcreteStrength = c.fc;
        S.RebarYieldStrength = c.fy;
        S.RebarModulus = c.es;
        S.TensileStrength = c.ft;
        S.UseDefaultTensileStrength = c.ft == 0.0;
        kestro::Run.ErrorNumber = 0;
        EXPECT_FALSE(SetSectionMaterials(1, ConcreteUnconfined, ConcreteNone, m)) << c.what;
        EXPECT_EQ(kestro::Run.ErrorNumber, 192) << c.what;
    }
}

TEST(Prestress, ReportBlockTextsAndMnEquationByPileKind) {
    ResetProblemData();
    SetUnitLabels(UnitsUS);
    Problem.Options.UnitSystem = UnitsUS;
    PrestressInputs in;
    in.InitialForce = 231336.0;
    in.LossFraction = 0.2;
    in.b_US = true;
    PrestressResults r;
    r.EffectiveForce = 185068.8;
    const struct { double k; const char* text; } cases[] = {{0.32, "Nom. Moment Capacity, Mn = 0.32 D As fpu "},
                                                            {0.34, "Nom. Moment Capacity, Mn = 0.34 D As fpu"},
                                                            {0.37, "Nom. Moment Capacity, Mn = 0.37 D As fpu"},
                                                            {0.38, "Nom. Moment Capacity, Mn = 0.38 D As fpu"}};
    for (const auto& c : cases) {
        in.MomentFactor = c.k;
        std::ostringstream out;
        WritePrestressBlock(out, in, r, false);
        const std::string s = out.str();
        EXPECT_NE(s.find(c.text), std::string::npos) << s;
        EXPECT_NE(s.find("Computation of Loss of Prestress:"), std::string::npos);
        EXPECT_NE(s.find("231.336 kips"), std::string::npos) << s;   // printed in kips
        EXPECT_NE(s.find("185.069 kips"), std::string::npos) << s;
        EXPECT_NE(s.find("Estimated Structural Capacities Computed Using PCI Equations:"), std::string::npos);
        EXPECT_NE(s.find("only as an approximate check."), std::string::npos);
    }
    std::ostringstream err;
    WritePrestressAreaError(err, 15, -1.0);
    EXPECT_NE(err.str().find("**** Runtime Error No. 15 ****"), std::string::npos);
    EXPECT_NE(err.str().find("Computed area of steel is less than 0 = "), std::string::npos);
}
