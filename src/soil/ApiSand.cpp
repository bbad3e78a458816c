// API sand: American Petroleum Institute RP 2A-WSD, lateral soil resistance
// of sand (after O'Neill & Murchison 1983).

#include "soil/ApiSand.h"

#include <algorithm>
#include <cmath>

namespace kestro {

namespace {
constexpr double F(float v) { return static_cast<double>(v); }
}  // namespace

ApiSandCoefficients MakeApiSandCoefficients(const SandWedgeParams& w) {
    const double tphi = std::tan(w.Phi);
    const double tb = std::tan(w.Beta);
    const double ta = std::tan(w.Alpha);
    ApiSandCoefficients c;
    // C1 = tan(beta) [K0 (tan(phi) sin(beta) (1/cos(alpha) + 1) - tan(alpha)) + Kp tan(alpha)]
    c.C1 = tb * (w.K0 * (tphi * std::sin(w.Beta) * (1.0 / std::cos(w.Alpha) + 1.0) - ta) + w.Kp * ta);
    // C2 = Kp - Ka
    c.C2 = w.Kp - w.Ka;
    // C3 = Kp^2 (K0 tan(phi) + Kp) - Ka
    c.C3 = w.Kp * w.Kp * (w.K0 * tphi + w.Kp) - w.Ka;
    return c;
}

double ApiSandA(double zEq, double b, bool cyclic) {
    if (cyclic) return F(0.9f);
    // A = 3 - 0.8 z/b >= 0.9
    const double a = 3.0 - F(0.8f) * zEq / b;
    return std::max(F(0.9f), a);
}

ApiSandCurve MakeApiSandCurve(double pus, double pud, double b, double k, double zEq, bool cyclic) {
    ApiSandCurve c;
    c.Pus = pus;
    c.Pud = pud;
    c.Pu = std::min(pus, pud);
    c.A = ApiSandA(zEq, b, cyclic);
    c.Apu = c.A * c.Pu;
    c.K = k;
    c.ZEq = zEq;
    return c;
}

double ApiSandP(const ApiSandCurve& c, double y) {
    if (c.ZEq < 1.0E-10 || !(c.Apu > 0.0)) return 0.0;
    // p = A pu tanh(k z y / (A pu))
    return c.Apu * std::tanh(c.K * c.ZEq * y / c.Apu);
}

void ApiSandPrintedY(double b, std::array<double, 18>& y) {
    y[0] = 0.0;
    const double d = b / 720.0;
    for (int i = 1; i <= 13; ++i) y[static_cast<std::size_t>(i)] = (i - 1) * d;
    const double yu = 3.0 * b / 80.0;
    y[14] = yu;
    y[15] = yu + b;
    y[16] = yu + 2.0 * b;
    y[17] = yu + 3.0 * b;
}

}  // namespace kestro
