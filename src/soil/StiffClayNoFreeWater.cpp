// Stiff clay above the water table: Welch & Reese (1972), "Laterally loaded
// behavior of drilled shafts", and Reese & Welch (1975), J. Geotech. Eng. Div.

#include "soil/StiffClayNoFreeWater.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/ProblemData.h"

namespace kestro {

namespace {

constexpr double F(float v) { return static_cast<double>(v); }

constexpr std::array<double, 3> ClassLimitPsi = {F(6.9400001f), F(13.88f), F(27.780001f)};
constexpr std::array<double, 3> ClassLimitKPa = {F(47.8927f), F(95.785400f), F(191.57080f)};
constexpr std::array<double, 5> DefaultEps50 = {0.0, 0.011, 0.007, 0.005, 0.004};

}  // namespace

int StiffClayNoFreeWaterClass(double c, int unitSystem) {
    const std::array<double, 3>* limits = nullptr;
    if (unitSystem == UnitsUS)
        limits = &ClassLimitPsi;
    else if (unitSystem == UnitsSI)
        limits = &ClassLimitKPa;
    else
        return 0;
    if (c < (*limits)[0]) return 1;
    if (c < (*limits)[1]) return 2;
    if (c < (*limits)[2]) return 3;
    return 4;
}

double StiffClayNoFreeWaterDefaultEps50(int strengthClass) {
    if (strengthClass < 1 || strengthClass > 4) return 0.0;
    return DefaultEps50[static_cast<std::size_t>(strengthClass)];
}

StiffClayNoFreeWaterCurve MakeStiffClayNoFreeWaterCurve(const StiffClayNoFreeWaterInput& in) {
    StiffClayNoFreeWaterCurve r;
    r.b_Cyclic = in.b_Cyclic;
    r.b_UsesK = in.b_UsesK;
    // wedge: Pct = 3 c b + gamma' b z + 0.5 c z, times the ground-slope factor
    r.Pct = ((in.Gamma * in.B + 0.5 * in.C) * in.ZEq + 3.0 * in.B * in.C) * in.SlopeFactor;
    // flow around: Pcd = 9 c b
    r.Pcd = 9.0 * in.C * in.B;
    r.Pu = std::min(r.Pct, r.Pcd);
    // y50 = 2.5 eps50 b
    r.Y50 = 2.5 * in.Eps50 * in.B;
    r.Y16 = 16.0 * r.Y50;
    const double n = std::max(in.Cycles, 1.0);
    // cyclic: the deflections of the static curve are stretched by (1 + 0.6 log10 N)
    r.CyclicScale = 1.0 + 0.6 * std::log10(n);
    if (!in.b_Cyclic) {
        r.Step = r.Y16 / 15.0;
        r.YEnd = 20.0 * r.Y50;
    } else {
        r.Step = (16.0 + 9.6 * std::log10(n)) * r.Y50 / 15.0;
        r.YEnd = 18.75 * r.Step;
    }
    r.Kx = in.K * in.ZEq;
    r.YSmall = 2.0E-5 * in.B;
    // secant of the static curve at y = 2.0E-5 b: ki = 0.5 pu (y50 / 2.0E-5 b)^0.75 / y50
    if (r.Y50 > 0.0 && r.YSmall > 0.0) r.Ki = 0.5 * r.Pu * std::pow(r.Y50 / r.YSmall, 0.75) / r.Y50;
    return r;
}

double StiffClayNoFreeWaterP(const StiffClayNoFreeWaterCurve& cv, double y) {
    if (!(cv.Y50 > 0.0)) return std::numeric_limits<double>::quiet_NaN();
    double p = 0.0;
    if (!cv.b_Cyclic) {
        // p = 0.5 pu (y/y50)^0.25 up to 16 y50, pu beyond
        p = y <= cv.Y16 ? 0.5 * cv.Pu * std::pow(y / cv.Y50, 0.25) : cv.Pu;
    } else {
        // p = 0.5 pu (y / ((1 + 0.6 log10 N) y50))^0.25, at most pu
        p = 0.5 * cv.Pu * std::pow(y / (cv.CyclicScale * cv.Y50), 0.25);
    }
    // the initial line k x y bounds the whole curve of the "with k" form
    if (cv.b_UsesK) p = std::min(p, cv.Kx * y);
    return std::min(p, cv.Pu);
}

void StiffClayNoFreeWaterPrintedY(const StiffClayNoFreeWaterCurve& cv, std::array<double, 18>& y) {
    static constexpr std::array<double, 13> Fractions = {1.0E-5, 5.0E-5, 1.0E-4, 5.0E-4, 0.001, 0.005, 0.01,
                                                         0.025,  0.05,   0.075,  0.1,    0.25,  0.5};
    y[0] = 0.0;
    y[1] = 0.0;
    for (std::size_t i = 0; i < Fractions.size(); ++i) y[i + 2] = Fractions[i] * cv.Y16;
    y[15] = 0.5 * cv.Y16 + cv.Step;
    y[16] = 0.5 * (cv.Y16 + cv.YEnd);
    y[17] = y[16] + cv.Step;
}

double StiffClayNoFreeWaterEquivalentDepth(double f, double b, double c, double ca, double gamma) {
    if (!(f > 0.0) || !(b > 0.0)) return 0.0;
    // xr' = (9 c - 3 ca) b / (0.5 ca + gamma' b), where Pct reaches Pcd
    const double den = 0.5 * ca + gamma * b;
    if (!(den > 0.0)) return 0.0;
    const double xr = std::max(0.0, (9.0 * c - 3.0 * ca) * b / den);
    // F' = integral of Pct from 0 to xr' = ((0.25 xr' + 3 b) ca + 0.5 gamma' xr' b) xr'
    const double fr = ((0.25 * xr + 3.0 * b) * ca + 0.5 * gamma * xr * b) * xr;
    if (f <= fr) {
        // (0.25 ca + 0.5 gamma' b) h^2 + 3 b ca h = F
        const double a2 = 0.25 * ca + 0.5 * gamma * b;
        const double a1 = 3.0 * b * ca;
        return (std::sqrt(a1 * a1 + 4.0 * a2 * f) - a1) / (2.0 * a2);
    }
    // below xr' the resistance per length is 9 c b
    const double deep = 9.0 * c * b;
    if (!(deep > 0.0)) return xr;
    return xr + (f - fr) / deep;
}

}  // namespace kestro
