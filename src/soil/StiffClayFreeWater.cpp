// Stiff clay below free water: Reese, Cox & Koop (1975), "Field testing and
// analysis of laterally loaded piles in stiff clay", OTC 2312.

#include "soil/StiffClayFreeWater.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "model/Warnings.h"
#include "report/CriteriaMessages.h"
#include "report/PyCurvePage.h"
#include "soil/PrintedPoints.h"
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

int StiffClayStrengthClass(double c, int unitSystem, const std::array<double, 3>& limitsPsi,
                           const std::array<double, 3>& limitsKPa) {
    const std::array<double, 3>* limits = nullptr;
    if (unitSystem == UnitsUS)
        limits = &limitsPsi;
    else if (unitSystem == UnitsSI)
        limits = &limitsKPa;
    else
        return 0;
    if (c < (*limits)[0]) return 1;
    if (c < (*limits)[1]) return 2;
    if (c < (*limits)[2]) return 3;
    return 4;
}

double StiffClayDefaultEps50(int strengthClass) {
    if (strengthClass < 1 || strengthClass > 4) return 0.0;
    return DefaultEps50[static_cast<std::size_t>(strengthClass)];
}

int StiffClayFreeWaterClass(double c, int unitSystem) {
    return StiffClayStrengthClass(c, unitSystem, ClassLimitPsi, ClassLimitKPa);
}

double StiffClayFreeWaterDefaultEps50(int strengthClass) { return StiffClayDefaultEps50(strengthClass); }

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

double StiffClayFreeWaterUltimate(const StiffClayFreeWaterCurve& cv) {
    // static: pc; cyclic: Ac pc, the peak of the cyclic curve
    return cv.b_Cyclic ? cv.Ac * cv.Pc : cv.Pc;
}

double StiffClayFreeWaterEquivalentDepth(double f, double b, double c, double ca, double gamma, bool cyclic) {
    if (!(b > 0.0) || !(f > 0.0)) return 0.0;
    // Ultimate resistance at depth z: pc = min(2 ca b + gamma' b z + 2.83 ca z, 11 c b),
    // times Ac(z/b) under cyclic loading.
    auto ultimate = [&](double z) {
        const double pc = std::min(2.0 * ca * b + (gamma * b + 2.83 * ca) * z, 11.0 * c * b);
        return cyclic ? StiffClayAc(z / b) * pc : pc;
    };
    // Below zc the resistance per length no longer changes: the flow-around
    // limit is reached at xr' = (11 c - 2 ca) b / (gamma' b + 2.83 ca), and Ac
    // is constant beyond 1.5 b.
    const double den = gamma * b + 2.83 * ca;
    const double xr = den > 0.0 ? std::max(0.0, (11.0 * c - 2.0 * ca) * b / den) : 0.0;
    const double zc = cyclic ? std::max(xr, 1.5 * b) : xr;
    constexpr int Steps = 400;
    const double dz = zc / Steps;
    double integral = 0.0;
    for (int j = 1; j <= Steps && dz > 0.0; ++j) {
        const double z0 = (j - 1) * dz;
        const double p0 = ultimate(z0), p1 = ultimate(z0 + dz);
        // trapezoid of the step; the depth within the step where the integral
        // reaches f follows from the linear resistance across the step
        const double step = 0.5 * (p0 + p1) * dz;
        if (integral + step >= f) {
            const double need = f - integral;
            const double slope = (p1 - p0) / dz;
            // p0 t + slope t^2 / 2 = need, in the form that stays exact for slope 0
            const double den2 = p0 + std::sqrt(std::max(0.0, p0 * p0 + 2.0 * slope * need));
            return den2 > 0.0 ? z0 + std::min(dz, 2.0 * need / den2) : z0;
        }
        integral += step;
    }
    const double deep = ultimate(zc);
    if (!(deep > 0.0)) return zc;
    return zc + (f - integral) / deep;
}

}  // namespace kestro

// The criterion "StfClyBW" in the common station loop.

namespace kestro::stiffclayfreewater {

namespace {

// Strengths outside which the input is unreasonable: 500 and 8000 psf; 23.94 and 383.04 kPa.
constexpr double LowPsi = static_cast<double>(3.4722223f);
constexpr double HighPsi = static_cast<double>(55.555557f);
constexpr double LowKPa = static_cast<double>(23.940128f);
constexpr double HighKPa = static_cast<double>(383.04205f);

// The running trapezoid average of c over the stations of a layer below the
// first, carried by the point from station to station.
enum PointCarry : int { CarryXFirst = 0, CarryXPrevious = 1, CarryCPrevious = 2, CarryArea = 3 };

StiffClayFreeWaterCurve CurveAt(const PyPoint& pt) {
    StiffClayFreeWaterInput in;
    in.B = pt.B;
    in.C = pt.C;
    in.Ca = pt.Aux[AuxCa];
    in.Gamma = pt.Gamma;
    in.Eps50 = pt.Eps50;
    in.K = pt.Aux[AuxK];
    in.ZEq = pt.ZEq;
    // wedge of sloping ground (soft clay form of the slope factor)
    in.SlopeFactor = ClaySlopeFactor(pt.EffectiveSlope, pt.Sign);
    in.b_Cyclic = pt.b_Cyclic;
    return MakeStiffClayFreeWaterCurve(in);
}

}  // namespace

double AverageStrength(PyPoint& pt) {
    if (pt.Layer == 1) return AverageShearStrength(pt.Depth);
    auto& r = pt.Carry;
    if (pt.b_FirstStation) {
        r = {};
        r[CarryXFirst] = r[CarryXPrevious] = pt.Depth;
        r[CarryCPrevious] = pt.C;
        return pt.C;
    }
    // ca = sum (x_i - x_(i-1)) (c_(i-1) + c_i) / 2 / (x - x_first)
    r[CarryArea] += (pt.Depth - r[CarryXPrevious]) * (r[CarryCPrevious] + pt.C) / 2.0;
    r[CarryXPrevious] = pt.Depth;
    r[CarryCPrevious] = pt.C;
    const double span = pt.Depth - r[CarryXFirst];
    return span > 0.0 ? r[CarryArea] / span : pt.C;
}

double LayerK(int k, double depth) {
    const SoilPoint& top = Problem.SoilPoints[static_cast<std::size_t>(2 * k - 1)];
    const SoilPoint& bottom = Problem.SoilPoints[static_cast<std::size_t>(2 * k)];
    const double kt = top.Kpy;
    if (kt <= 0.0) return 0.0;
    // a bottom value of zero repeats the top value
    const double kb = bottom.Kpy > 0.0 ? bottom.Kpy : kt;
    const SoilLayer& L = Problem.Layers[static_cast<std::size_t>(k)];
    const double span = L.XBottom - L.XTop;
    if (!(span > 0.0) || kb == kt) return kt;
    return kt + (depth - L.XTop) * (kb - kt) / span;
}

void Properties(PyPoint& pt) {
    pt.C = f_c(pt.Depth);
    if (Failed()) return;
    if (!pt.b_FirstStation && pt.C < 1.0E-10) {
        Fail(ErrorKind::Input, 14, [](std::ostream& out) { WriteInputError14(out); });
        return;
    }
    if (!pt.b_AtNode) {
        if (pt.UnitSystem == UnitsUS) {
            if (pt.C < LowPsi) RaiseWarning(-3051);
            if (pt.C > HighPsi) RaiseWarning(-3052);
        } else if (pt.UnitSystem == UnitsSI) {
            if (pt.C < LowKPa) RaiseWarning(-3053);
            if (pt.C > HighKPa) RaiseWarning(-3054);
        }
    }
    pt.Gamma = AverageUnitWeight(pt.Depth);
    if (Failed()) return;
    pt.Aux[AuxCa] = AverageStrength(pt);
    if (Failed()) return;
    const int cls = StiffClayFreeWaterClass(pt.C, pt.UnitSystem);
    double k = LayerK(pt.Layer, pt.Depth);
    pt.Aux[AuxDefaultK] = 0.0;
    if (k <= 0.0) {
        if (pt.UnitSystem == UnitsGeneral) {
            Fail(ErrorKind::Runtime, 13, [&](std::ostream& out) { WriteStiffClayDefaultKError(out, pt.Layer); });
            return;
        }
        k = StiffClayDefaultK(cls, pt.b_Cyclic, pt.UnitSystem);
        pt.Aux[AuxDefaultK] = 1.0;
    }
    pt.Aux[AuxK] = k;
    const double eps = Eps50At(pt.Depth);
    pt.Eps50 = eps > 0.0 ? eps : StiffClayFreeWaterDefaultEps50(cls);
}

void Curve(const PyPoint& pt, PyResult& r) {
    const StiffClayFreeWaterCurve c = CurveAt(pt);
    r.P = StiffClayFreeWaterP(c, pt.Y);
    // The layered-soil equivalent depth integrates ultimate resistance: pc
    // (Ac pc under cyclic loading), not the residual resistance of the curve.
    r.Pu = StiffClayFreeWaterUltimate(c);
    r.Resist = r.Pu;
    // its value at the ground surface, where pc = 2 ca b
    r.ResistTop = 2.0 * pt.Aux[AuxCa] * pt.B * (pt.b_Cyclic ? StiffClayAc(0.0) : 1.0);
    r.YSmall = 1.0E-14;
    r.EsSmall = c.Kx;
    r.Aux[AuxAs] = c.As;
    r.Aux[AuxAc] = c.Ac;
    r.Aux[AuxPct] = c.Pct;
    r.Aux[AuxPcd] = c.Pcd;
    r.Aux[AuxPc] = c.Pc;
    r.Aux[AuxY50] = c.Y50;
}

double Invert(const PyPoint& first, double F) {
    return StiffClayFreeWaterEquivalentDepth(F, first.B, first.C, first.Aux[AuxCa], first.Gamma, first.b_Cyclic);
}

void PrintPage(const PyPoint& pt) {
    const StiffClayFreeWaterCurve c = CurveAt(pt);
    StiffClayFreeWaterPage page{};
    page.Layer = pt.Layer;
    page.DepthBelowHead = Problem.GroundDepth + pt.Z;
    page.Z = pt.Z;
    page.ZEq = pt.ZEq;
    page.B = pt.B;
    page.C = pt.C;
    page.Ca = pt.Aux[AuxCa];
    page.Gamma = pt.Gamma;
    page.K = pt.Aux[AuxK];
    page.Eps50 = pt.Eps50;
    page.Y50 = c.Y50;
    page.As = c.As;
    page.Ac = c.Ac;
    page.Pct = c.Pct;
    page.Pcd = c.Pcd;
    page.Pc = c.Pc;
    page.Pu = c.Pu;
    page.PMult = pt.PMult;
    page.YMult = pt.YMult;
    page.NumberOfCycles = pt.NumberOfCycles;
    page.b_Cyclic = pt.b_Cyclic;
    PyCurveTable& t = page.Curve;
    t.Depth = pt.Depth;
    t.CurveNumber = pt.Station;
    t.Line7Soil = "stiff clay with free water";
    t.Line8Soil = pt.b_Cyclic ? "cyclic stiff clay w/water" : "static stiff clay with free water";
    std::array<double, 18> y{};
    StiffClayFreeWaterPrintedY(c, y);
    FillPrintedPoints(t, pt, y, [&c](double v) { return StiffClayFreeWaterP(c, v); });
    WriteStiffClayFreeWaterPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::stiffclayfreewater
