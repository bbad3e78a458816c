// Equivalent depth of layered soils (Georgiadis 1983), run through the whole
// engine: a 30 in pile in an upper layer 0-10 ft over a lower layer 10-90 ft,
// the curve of the lower layer printed 6 ft below its top. The printed
// equivalent depth is the depth z0 at which the ultimate resistance of the
// lower soil, integrated from the ground surface, equals that of the upper
// layer, plus the 72 in below the layer's top.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <sstream>
#include <string>

#include "TestSupport.h"

namespace {

enum Soil { SoftClay = 1, StfClyBW = 2, StfClyAW = 3, StfClyAK = 4, SandReese = 5, ApiSand = 6 };
const Soil AllSoils[] = {SoftClay, StfClyBW, StfClyAW, StfClyAK, SandReese, ApiSand};

// Soil values in input units and in pounds and inches.
constexpr double GammaPcf = 60.0, SoftCPsf = 400.0, StiffCPsf = 2000.0, PhiDeg = 35.0, KPci = 100.0;
constexpr double B = 30.0;                 // pile width, in
constexpr double Gamma = GammaPcf / 1728.0;  // pci
constexpr double TopOfLower = 120.0, Printed = 192.0, Spacing = 960.0 / 100.0;

std::string Points(Soil s) {
    std::ostringstream o;
    switch (s) {
        case SoftClay: o << GammaPcf << ' ' << SoftCPsf << " 0.02"; break;
        case StfClyBW:
        case StfClyAK: o << GammaPcf << ' ' << StiffCPsf << " 0.005 1000.0"; break;
        case StfClyAW: o << GammaPcf << ' ' << StiffCPsf << " 0.005"; break;
        default: o << GammaPcf << ' ' << PhiDeg << ' ' << KPci; break;
    }
    return o.str() + "\n";
}

std::string Input(Soil upper, Soil lower, bool cyclic) {
    std::ostringstream s;
    s << "KESTRO6\nTITLE\nEquivalent depth\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\n"
         "UseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\n"
      << (cyclic ? "Loading CYCLIC   100\n" : "Loading STATIC     1\n")
      << "MaxIterations 100\nDeflectionLimit 100.0\nTolerance 1.0E-5\nIncrements 100\nPrintSummaryOnly NO\n"
         "PrintIncrement 5\nPrintPYCurves YES\nComputeInteraction NO\n"
         "SECTIONS\n1\n1\n11\n80.0\n2\n2.9E7\n30.0\n30.0\n0.75\n0.75\n68.919\n68.919\n7375.38\n7375.38\n"
         "SOIL LAYERS\n2\n"
      << upper << " 0.0 10.0\n" << Points(upper) << Points(upper) << lower << " 10.0 90.0\n" << Points(lower)
      << Points(lower) << "LOADING\n1\n1 1 1000.0 0.0 0.0 1\n0\nDEPTHS OF PRINTED P-Y CURVES\n1\n1 16.0\nEND\n";
    return s.str();
}

// The equivalent depth printed on the page of the curve at 16 ft.
double PrintedEquivalentDepth(const std::string& report) {
    const auto page = report.find("p-y Curves Reported for Specified Depths");
    if (page == std::string::npos) return -1.0;
    const auto at = report.find("Equivalent Depth", page);
    if (at == std::string::npos) return -1.0;
    return std::strtod(report.c_str() + report.find('=', at) + 1, nullptr);
}

// ---- Ultimate resistances per unit length from the published equations ----

// Matlock (1970): pu = min((3 + gamma' z / c + J z / b) c b, 9 c b), J = 0.5;
// cyclic 0.72 pu, reduced linearly above Xr = 6 c b / (gamma' b + J c).
double SoftClayPu(double z, bool cyclic) {
    const double c = SoftCPsf / 144.0;
    const double pu = std::min((3.0 + Gamma * z / c + 0.5 * z / B) * c * B, 9.0 * c * B);
    if (!cyclic) return pu;
    const double xr = 6.0 * c * B / (Gamma * B + 0.5 * c);
    return z < xr ? 0.72 * pu * z / xr : 0.72 * pu;
}

// Reese, Cox & Koop (1975): pc = min(2 ca b + gamma' b z + 2.83 ca z, 11 c b);
// cyclic Ac pc, Ac = 0.2 + 0.153333 r - 0.075 r^2 + 0.011667 r^3 <= 0.3, r = z/b.
double StiffClayFreeWaterPu(double z, bool cyclic) {
    const double c = StiffCPsf / 144.0;
    const double pc = std::min(2.0 * c * B + Gamma * B * z + 2.83 * c * z, 11.0 * c * B);
    const double r = z / B;
    const double ac = r > 1.5 ? 0.3 : std::min(0.3, 0.2 + 0.153333 * r - 0.075 * r * r + 0.011667 * r * r * r);
    return cyclic ? ac * pc : pc;
}

// Welch & Reese (1972): pu = min(3 c b + gamma' b z + 0.5 c z, 9 c b).
double StiffClayNoWaterPu(double z) {
    const double c = StiffCPsf / 144.0;
    return std::min(3.0 * c * B + Gamma * B * z + 0.5 * c * z, 9.0 * c * B);
}

// Reese, Cox & Koop (1974) with K0 = 0.4, alpha = phi/2, beta = 45 + phi/2:
// pst = gamma' z [K0 z tan(phi) sin(beta) / (cos(alpha) tan(beta - phi))
//       + tan(beta) / tan(beta - phi) (b + z tan(beta) tan(alpha))
//       + K0 z tan(beta) (tan(phi) sin(beta) - tan(alpha)) - Ka b],
// psd = Ka b gamma' z (tan^8(beta) - 1) + K0 b gamma' z tan(phi) tan^4(beta).
struct Wedge {
    double Pst, Psd;
};
Wedge SandWedge(double z) {
    const double phi = PhiDeg * std::numbers::pi / 180.0, a = phi / 2.0, beta = std::numbers::pi / 4.0 + phi / 2.0;
    const double k0 = 0.4, ka = std::pow(std::tan(std::numbers::pi / 4.0 - phi / 2.0), 2.0);
    const double tb = std::tan(beta), tp = std::tan(phi), tbp = std::tan(beta - phi);
    const double pst = Gamma * z *
                       (k0 * z * tp * std::sin(beta) / (std::cos(a) * tbp) + tb / tbp * (B + z * tb * std::tan(a)) +
                        k0 * z * tb * (tp * std::sin(beta) - std::tan(a)) - ka * B);
    const double psd = ka * B * Gamma * z * (std::pow(tb, 8.0) - 1.0) + k0 * B * Gamma * z * tp * std::pow(tb, 4.0);
    return {pst, psd};
}
// The empirical A of Reese et al. (1974) against z/b, static and cyclic.
double ReeseA(double r, bool cyclic) {
    const double at[10] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
    const double as[10] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
    const double ac[10] = {0.75, 0.93, 1.07, 1.11, 1.03, 0.98, 0.94, 0.90, 0.88, 0.88};
    const double* v = cyclic ? ac : as;
    if (r >= at[9]) return v[9];
    int i = 0;
    while (r > at[i + 1]) ++i;
    return v[i] + (r - at[i]) * (v[i + 1] - v[i]) / (at[i + 1] - at[i]);
}
double SandPu(double z, bool cyclic) {
    const Wedge w = SandWedge(z);
    return ReeseA(z / B, cyclic) * std::min(w.Pst, w.Psd);
}
// API RP 2A sand as an upper layer hands down p at yu = 3b/80 of
// p = A pu tanh(k z y / (A pu)), A = max(3 - 0.8 z/b, 0.9) static, 0.9 cyclic.
double ApiSandHandedDown(double z, bool cyclic) {
    const Wedge w = SandWedge(z);
    const double apu = (cyclic ? 0.9 : std::max(0.9, 3.0 - 0.8 * z / B)) * std::min(w.Pst, w.Psd);
    return apu > 0.0 ? apu * std::tanh(KPci * z * (3.0 * B / 80.0) / apu) : 0.0;
}

double UpperResistance(Soil s, double z, bool cyclic) {
    switch (s) {
        case SoftClay: return SoftClayPu(z, cyclic);
        case StfClyBW: return StiffClayFreeWaterPu(z, cyclic);
        case StfClyAW:
        case StfClyAK: return StiffClayNoWaterPu(z);
        case SandReese: return SandPu(z, cyclic);
        default: return ApiSandHandedDown(z, cyclic);
    }
}
// Both sands invert the Reese resistance.
double LowerResistance(Soil s, double z, bool cyclic) {
    return s == ApiSand ? SandPu(z, cyclic) : UpperResistance(s, z, cyclic);
}

template <typename Fn>
double Integral(Fn f, double a, double b) {
    const int n = 4000;  // Simpson
    double s = 0.0;
    for (int i = 0; i <= n; ++i) s += ((i == 0 || i == n) ? 1.0 : (i % 2 == 1 ? 4.0 : 2.0)) * f(a + i * (b - a) / n);
    return s * (b - a) / n / 3.0;
}

// Depth z0 with the integral of `lower` from 0 to z0 equal to f.
template <typename Fn>
double Invert(Fn lower, double f) {
    double z = 0.0, sum = 0.0;
    const double dz = 0.05;
    while (sum < f && z < 1.0E5) {
        const double step = 0.5 * (lower(z) + lower(z + dz)) * dz;
        if (sum + step >= f) return z + dz * (f - sum) / step;
        sum += step;
        z += dz;
    }
    return z;
}

struct Pair {
    Soil Upper, Lower;
    bool Cyclic;
};

std::string Name(const testing::TestParamInfo<Pair>& info) {
    const char* names[] = {"", "SoftClay", "StfClyBW", "StfClyAW", "StfClyAK", "Sand", "ApiSand"};
    return std::string(names[info.param.Upper]) + "Over" + names[info.param.Lower] +
           (info.param.Cyclic ? "Cyclic" : "Static");
}

std::vector<Pair> AllPairs() {
    std::vector<Pair> v;
    for (bool cyclic : {false, true})
        for (Soil u : AllSoils)
            for (Soil l : AllSoils) v.push_back({u, l, cyclic});
    return v;
}

class LayeredProfile : public testing::TestWithParam<Pair> {};

TEST_P(LayeredProfile, EquivalentDepthOfTheLowerLayer) {
    const Pair p = GetParam();
    auto r = kestro::test::RunInput(Input(p.Upper, p.Lower, p.Cyclic));
    ASSERT_TRUE(r.Result == 0 || r.Result < 0) << r.Report;
    const double printed = PrintedEquivalentDepth(r.Report);
    ASSERT_GE(printed, 0.0) << r.Report;
    // Every equivalent depth is a finite depth below the layer's top.
    EXPECT_TRUE(std::isfinite(printed));
    EXPECT_GE(printed, Printed - TopOfLower - 1e-9);

    // One soil split into two layers: the depth of the unsplit profile, within a station spacing.
    if (p.Upper == p.Lower) {
        EXPECT_NEAR(printed, Printed, Spacing);
    }

    // Pairs with stiff clay with free water: against the integration above.
    if (p.Upper == StfClyBW || p.Lower == StfClyBW) {
        const double f = Integral([&](double z) { return UpperResistance(p.Upper, z, p.Cyclic); }, 0.0, TopOfLower);
        const double z0 = Invert([&](double z) { return LowerResistance(p.Lower, z, p.Cyclic); }, f);
        const double expected = z0 + (Printed - TopOfLower);
        EXPECT_NEAR(printed, expected, 0.10 * expected) << "upper resistance " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryOrderedPair, LayeredProfile, testing::ValuesIn(AllPairs()), Name);

}  // namespace
