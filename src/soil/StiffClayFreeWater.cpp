// Stiff clay below free water: Reese, Cox & Koop (1975), "Field testing and
// analysis of laterally loaded piles in stiff clay", OTC 2312.

#include "soil/StiffClayFreeWater.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/ProblemData.h"
#include "soil/SoilProperties.h"

namespace kestro {

namespace {

constexpr double F(float v) { return static_cast<double>(v); }

// Class limits in psi (US customary) and kPa (SI).
constexpr std::array<double, 3> ClassLimitPsi = {F(6.9444447f), F(13.888889f), F(27.777779f)};
constexpr std::array<double, 3> ClassLimitKPa = {F(47.880260f), F(95.760521f), F(191.52104f)};

constexpr std::array<double, 5> DefaultEps50 = {0.0, 0.011, 0.007, 0.005, 0.004};
constexpr std::array<double, 5> KStaticUS = {0.0, 250.0, 500.0, 1000.0, 2000.0};
constexpr std::array<double, 5> KCyclicUS = {0.0, 100.0, 200.0, 400.0, 800.0};
constexpr std::array<double, 5> KStaticSI = {0.0, F(67861.797f), F(135723.59f), F(271447.19f), F(542894.38f)};
constexpr std::array<double, 5> KCyclicSI = {0.0, F(27144.711f), F(54289.398f), F(108578.90f), F(217157.70f)};

// Residual factor R of pu = R pc.
double ResidualFactor(double as, double ac, bool cyclic) {
    // static: pu = pc (0.5 sqrt(6 As) - 0.411 - 0.75 As)
    if (!cyclic) return 0.5 * std::sqrt(6.0 * as) - 0.411 - 0.75 * as;
    // cyclic: pu = pc (0.936 Ac - 0.102 * 4.1 As) = pc (0.936 Ac - 0.4182 As)
    return 0.936 * ac - 0.4182 * as;
}

}  // namespace

int StiffClayFreeWaterClass(double c, int unitSystem) {
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

double StiffClayFreeWaterDefaultEps50(int strengthClass) {
    if (strengthClass < 1 || strengthClass > 4) return 0.0;
    return DefaultEps50[static_cast<std::size_t>(strengthClass)];
}

double StiffClayDefaultK(int strengthClass, bool cyclic, int unitSystem) {
    if (strengthClass < 1 || strengthClass > 4) return 0.0;
    auto i = static_cast<std::size_t>(strengthClass);
    if (unitSystem == UnitsUS) return cyclic ? KCyclicUS[i] : KStaticUS[i];
    if (unitSystem == UnitsSI) return cyclic ? KCyclicSI[i] : KStaticSI[i];
    return 0.0;
}

StiffClayFreeWaterCurve MakeStiffClayFreeWaterCurve(const StiffClayFreeWaterInput& in) {
    StiffClayFreeWaterCurve r;
    r.b_Cyclic = in.b_Cyclic;
    double zb = in.B > 0.0 ? in.ZEq / in.B : 0.0;
    r.As = StiffClayAs(zb);
    r.Ac = StiffClayAc(zb);
    // wedge: pct = 2 ca b + gamma' b z + 2.83 ca z, times the ground-slope factor
    r.Pct = ((in.Gamma * in.B + 2.83 * in.Ca) * in.ZEq + 2.0 * in.Ca * in.B) * in.SlopeFactor;
    // flow around: pcd = 11 c b
    r.Pcd = 11.0 * in.C * in.B;
    r.Pc = std::min(r.Pct, r.Pcd);
    // y50 = eps50 b
    r.Y50 = in.Eps50 * in.B;
    r.Pu = ResidualFactor(r.As, r.Ac, in.b_Cyclic) * r.Pc;
    // initial straight line p = k x y
    r.Kx = in.K * in.ZEq;
    // yp = 4.1 As y50
    r.Yp = 4.1 * r.As * r.Y50;
    return r;
}

double StiffClayFreeWaterP(const StiffClayFreeWaterCurve& cv, double y) {
    if (!(cv.Y50 > 0.0) || !(cv.As > 0.0)) return std::numeric_limits<double>::quiet_NaN();
    const double pc = cv.Pc;
    const double y50 = cv.Y50;
    double p = 0.0;
    if (!cv.b_Cyclic) {
        const double a = cv.As * y50;
        if (y <= a) {
            // p = 0.5 pc (y/y50)^0.5
            p = 0.5 * pc * std::sqrt(y / y50);
        } else if (y <= 6.0 * a) {
            // p = 0.5 pc (y/y50)^0.5 - 0.055 pc ((y - As y50)/(As y50))^1.25
            p = pc * (0.5 * std::sqrt(y / y50) - 0.055 * std::pow((y - a) / a, 1.25));
        } else if (y <= 18.0 * a) {
            // p = 0.5 pc (6 As)^0.5 - 0.411 pc - 0.0625 pc (y - 6 As y50)/y50
            p = pc * (0.5 * std::sqrt(6.0 * cv.As) - 0.411) - 0.0625 * pc * (y - 6.0 * a) / y50;
        } else {
            // p = pc (0.5 (6 As)^0.5 - 0.75 As - 0.411)
            p = pc * (0.5 * std::sqrt(6.0 * cv.As) - 0.75 * cv.As - 0.411);
        }
    } else {
        const double yp = cv.Yp;
        if (y <= 0.6 * yp) {
            // p = Ac pc (1 - |(y - 0.45 yp)/(0.45 yp)|^2.5)
            p = cv.Ac * pc * (1.0 - std::pow(std::fabs((y - 0.45 * yp) / (0.45 * yp)), 2.5));
        } else if (y <= 1.8 * yp) {
            // p = 0.936 Ac pc - 0.085 pc (y - 0.6 yp)/y50
            p = 0.936 * cv.Ac * pc - 0.085 * pc * (y - 0.6 * yp) / y50;
        } else {
            // p = 0.936 Ac pc - 0.102 pc yp/y50
            p = 0.936 * cv.Ac * pc - 0.102 * pc * yp / y50;
        }
    }
    // the curve never rises above the initial line k x y
    return std::min(p, cv.Kx * y);
}

void StiffClayFreeWaterPrintedY(const StiffClayFreeWaterCurve& cv, std::array<double, 18>& y) {
    y[0] = 0.0;
    if (!cv.b_Cyclic) {
        const double a = cv.As * cv.Y50;
        for (int i = 1; i <= 13; ++i) y[static_cast<std::size_t>(i)] = 0.5 * (i - 1) * a;
        y[14] = 10.0 * a;
        y[15] = 14.0 * a;
        y[16] = 18.0 * a;
        y[17] = 22.0 * a;
    } else {
        for (int i = 1; i <= 13; ++i) y[static_cast<std::size_t>(i)] = 0.05 * (i - 1) * cv.Yp;
        y[14] = 1.0 * cv.Yp;
        y[15] = 1.4 * cv.Yp;
        y[16] = 1.8 * cv.Yp;
        y[17] = 20.0 * cv.Yp;
    }
}

double StiffClayFreeWaterEquivalentDepth(double f, double b, double c, double ca, double gamma, bool cyclic) {
    // depth where the wedge resistance reaches the flow-around limit:
    // xr' = (11 c - 2 ca) b / (gamma' b + 2.83 ca)
    const double den = gamma * b + 2.83 * ca;
    if (!(den > 0.0) || !(b > 0.0) || !(f > 0.0)) return 0.0;
    const double xr = (11.0 * c - 2.0 * ca) * b / den;
    if (!(xr > 0.0)) return 0.0;
    const double dz = xr / 100.0;
    double previous = 0.0, integral = 0.0, r = 0.0;
    for (int j = 1; j <= 100; ++j) {
        const double zj = (j - 0.5) * dz;
        r = ResidualFactor(StiffClayAs(zj / b), StiffClayAc(zj / b), cyclic);
        previous = integral;
        // I_j = I_(j-1) + dz R_j ((gamma' z_j + 2 ca) b + 2.83 z_j ca)
        integral += dz * r * ((gamma * zj + 2.0 * ca) * b + 2.83 * zj * ca);
        if (integral > f) return std::max(0.0, zj - dz * (integral - f) / (integral - previous));
    }
    // below xr' the resistance per length is R 11 c b
    const double deep = 11.0 * c * r * b;
    if (!(deep > 0.0)) return xr;
    return xr + (f - integral) / deep;
}

}  // namespace kestro
