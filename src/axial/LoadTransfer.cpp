#include "axial/LoadTransfer.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>

namespace kestro::axial {
namespace {

constexpr double DegreesToRadians = 3.14159265358979323846 / 180.0;

Curve FromPoints(std::initializer_list<double> z, std::initializer_list<double> t, bool noTension) {
    Curve c;
    c.b_NoTension = noTension;
    std::size_t i = 0;
    for (double v : z) c.Z[i++] = v;
    i = 0;
    for (double v : t) c.T[i++] = v;
    c.NumPoints = static_cast<int>(i);
    return c;
}

}  // namespace

CurveValue Evaluate(const Curve& c, double z) {
    if (c.NumPoints < 2) return {};
    const double sign = z < 0.0 ? -1.0 : 1.0;
    if (z <= 0.0 && c.b_NoTension) return {};
    const double a = std::fabs(z);
    const std::size_t n = static_cast<std::size_t>(c.NumPoints);
    for (std::size_t i = 1; i < n; ++i) {
        if (a < c.Z[i]) {
            const double dz = c.Z[i] - c.Z[i - 1];
            const double slope = dz > 0.0 ? (c.T[i] - c.T[i - 1]) / dz : 0.0;
            return {sign * (c.T[i - 1] + slope * (a - c.Z[i - 1])), slope};
        }
    }
    return {sign * c.T[n - 1], 0.0};
}

Curve ClayTzCurve(double residual) {
    return FromPoints({0.0, 0.0016, 0.0031, 0.0057, 0.0080, 0.0100, 0.0200},
                      {0.0, 0.30, 0.50, 0.75, 0.90, 1.00, residual}, false);
}

Curve SandTzCurve() { return FromPoints({0.0, 1.0}, {0.0, 1.0}, false); }

Curve TipQzCurve() {
    return FromPoints({0.0, 0.002, 0.013, 0.042, 0.073, 0.100}, {0.0, 0.25, 0.50, 0.75, 0.90, 1.00}, true);
}

double ClayAlpha(double c, double p0) {
    // At the ground surface psi grows without bound and alpha falls to zero.
    if (!(p0 > 0.0)) return 0.0;
    const double psi = c / p0;
    // alpha = 0.5 psi^-0.5 (psi <= 1), 0.5 psi^-0.25 (psi > 1), alpha <= 1
    const double alpha = psi <= 1.0 ? 0.5 / std::sqrt(psi) : 0.5 * std::pow(psi, -0.25);
    return alpha < 1.0 ? alpha : 1.0;
}

SandValues SandTable(double delta) {
    static constexpr double Delta[] = {15.0, 20.0, 25.0, 30.0, 35.0};
    static constexpr double FLim[] = {1.0, 1.4, 1.7, 2.0, 2.4};
    static constexpr double Nq[] = {8.0, 12.0, 20.0, 40.0, 50.0};
    static constexpr double QLim[] = {40.0, 60.0, 100.0, 200.0, 250.0};
    if (!(delta > Delta[0])) return {FLim[0], Nq[0], QLim[0]};
    if (delta >= Delta[4]) return {FLim[4], Nq[4], QLim[4]};
    std::size_t j = 1;
    while (delta > Delta[j]) ++j;
    const double t = (delta - Delta[j - 1]) / (Delta[j] - Delta[j - 1]);
    auto lerp = [t, j](const double* v) { return v[j - 1] + t * (v[j] - v[j - 1]); };
    return {lerp(FLim), lerp(Nq), lerp(QLim)};
}

double ClayShaftFriction(double c, double p0) { return ClayAlpha(c, p0) * c; }

double ClayEndBearing(double c) { return 9.0 * c; }

double SandShaftFriction(double K, double p0, double phi, double ksf) {
    const double delta = phi - 5.0;
    // f = K p'0 tan(delta), at most f_lim
    const double f = delta > 0.0 ? K * p0 * std::tan(delta * DegreesToRadians) : 0.0;
    const double limit = SandTable(delta).FLimitKsf * ksf;
    return f < limit ? f : limit;
}

double SandEndBearing(double p0, double phi, double ksf) {
    const SandValues v = SandTable(phi - 5.0);
    // q = Nq p'0, at most q_lim
    const double q = v.Nq * p0;
    const double limit = v.QLimitKsf * ksf;
    return q < limit ? q : limit;
}

}  // namespace kestro::axial
