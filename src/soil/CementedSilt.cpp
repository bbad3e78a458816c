// Cemented silt (c-phi soil): the sand wedge and flow-around resistances of
// Reese, Cox & Koop (1974) with the clay wedge of Matlock (1970) added, on the
// Reese sand curve shape.

#include "soil/CementedSilt.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/ProblemData.h"
#include "report/RockSiltMessages.h"
#include "report/RockSiltPages.h"
#include "soil/PrintedPoints.h"
#include "soil/SandReese.h"
#include "soil/SoilProperties.h"
#include "soil/StiffClayFreeWater.h"
#include "soil/StiffClayNoFreeWater.h"

namespace kestro {

namespace {

constexpr double F(float v) { return static_cast<double>(v); }

// Frictional addition to the default k (pci; kN/m3) by phi <= 30, <= 36, above 36 degrees.
constexpr double KPhiUSDense[3] = {25.0, 90.0, 225.0};
constexpr double KPhiUSLoose[3] = {20.0, 60.0, 125.0};
constexpr double KPhiSIDense[3] = {F(6786.1802f), F(24430.240f), F(61075.602f)};
constexpr double KPhiSILoose[3] = {F(5428.9399f), F(16286.830f), F(33930.898f)};

}  // namespace

double CementedSiltDefaultK(double c, double gamma, double phiDegrees, bool cyclic, int unitSystem) {
    if (unitSystem != UnitsUS && unitSystem != UnitsSI) return 0.0;
    const double clay = StiffClayDefaultK(StiffClayNoFreeWaterClass(c, unitSystem), cyclic, unitSystem);
    const std::size_t j = phiDegrees <= 30.0 ? 0 : (phiDegrees <= 36.0 ? 1 : 2);
    if (unitSystem == UnitsUS) return clay + (gamma > 0.045 ? KPhiUSDense[j] : KPhiUSLoose[j]);
    return clay + (gamma > 12.225 ? KPhiSIDense[j] : KPhiSILoose[j]);
}

double CementedSiltDefaultEps50(double c, int unitSystem) {
    // Matlock's e50 by consistency, limits in psi or kPa
    double t[4];
    if (unitSystem == UnitsUS) {
        t[0] = F(3.4721999f), t[1] = F(6.9443998f), t[2] = F(13.8889f), t[3] = F(27.8889f);
    } else if (unitSystem == UnitsSI) {
        t[0] = F(23.9401f), t[1] = F(47.8803f), t[2] = F(95.7605f), t[3] = F(191.521f);
    } else {
        return 0.0;
    }
    if (c < t[0]) return 0.02;
    if (c < t[1]) return 0.01;
    if (c < t[2]) return 0.005;
    if (c < t[3]) return 0.005;
    return 0.004;
}

CementedSiltCurve MakeCementedSiltCurve(const CementedSiltInput& in) {
    CementedSiltCurve cv;
    const double b = in.B;
    const SandWedgeParams w = MakeSandWedgeParams(in.Phi);
    // frictional part: the sand wedge at z_eq, flow around at z
    cv.PuPhi = SandUltimateResistance(w, b, in.Gamma, in.ZEq, in.Z, in.Theta, in.Theta > 1.0E-10, in.SandS).Ps;
    // cohesive part: Np = 3 + gamma' z_eq / c + J z_eq / b, at most 9
    if (in.C > 0.0) {
        const double np = (3.0 + in.Gamma * in.ZEq / in.C + in.J * in.ZEq / b) * in.ClaySlope;
        cv.Pc = np * in.C * b;
        cv.PuC = np >= 9.0 ? 9.0 * in.C * b : cv.Pc;
    }
    const double zb = b > 0.0 ? in.ZEq / b : 0.0;
    cv.A = ReeseSandA(zb, in.b_Cyclic);
    cv.B = ReeseSandB(zb, in.b_Cyclic);
    // pu = A Pu,phi + Pu,c; pm = B Pu,phi + Pu,c
    cv.Pu = cv.A * cv.PuPhi + cv.PuC;
    cv.Pm = cv.B * cv.PuPhi + cv.PuC;
    cv.Ym = b / 60.0;
    cv.Yu = 3.0 * b / 80.0;
    cv.Kx = in.K * in.ZEq;
    if (in.ZEq < 0.0) {
        cv.Yk = 2.0 * b;
        return cv;
    }
    // straight segment m = (pu - pm) / (yu - ym); parabola p = Cbar y^(1/n)
    // through (ym, pm) with slope m: n = pm / (ym m), Cbar = pm / ym^(1/n)
    cv.M = (cv.Pu - cv.Pm) / (cv.Yu - cv.Ym);
    if (cv.M > 0.0 && cv.Pm > 0.0) {
        cv.N = cv.Pm / (cv.Ym * cv.M);
        cv.Cbar = cv.Pm / std::pow(cv.Ym, 1.0 / cv.N);
        // the initial line meets the parabola at yk = (Cbar / kx)^(n / (n - 1))
        if (cv.Kx > 0.0) cv.Yk = std::pow(cv.Cbar / cv.Kx, cv.N / (cv.N - 1.0));
    } else if (cv.Kx > 0.0) {
        // no frictional part: the initial line runs up to the flat pm
        cv.Yk = cv.Pm / cv.Kx;
    }
    return cv;
}

double CementedSiltP(const CementedSiltCurve& cv, double y) {
    double p = 0.0;
    if (y <= cv.Yk)
        p = cv.Kx * y;
    else if (y <= cv.Ym)
        p = cv.N > 0.0 ? cv.Cbar * std::pow(y, 1.0 / cv.N) : cv.Pm;
    else if (y <= cv.Yu)
        p = cv.Pm + cv.M * (y - cv.Ym);
    else
        p = cv.Pu;
    // the curve never rises above the initial line, nor below zero
    return std::max(0.0, std::min(p, cv.Kx * y));
}

void CementedSiltPrintedY(const CementedSiltCurve& cv, double b, std::array<double, 18>& y) {
    // 0, b/720 .. 12 b/720 (= ym), then yu, yu + b, yu + 2b, yu + 3b
    y[0] = 0.0;
    for (std::size_t n = 1; n <= 13; ++n) y[n] = static_cast<double>(n - 1) * b / 720.0;
    for (std::size_t n = 14; n <= 17; ++n) y[n] = cv.Yu + static_cast<double>(n - 14) * b;
}

double CementedSiltEquivalentDepth(double f, double b, double c, double gamma, double phi, double z, bool cyclic) {
    if (!(f > 0.0) || !(b > 0.0)) return 0.0;
    const SandInversionTerms t = MakeSandInversionTerms(MakeSandWedgeParams(phi), b);
    double integral = 0.0;
    if (t.Zt > 0.0) {
        const double dz = t.Zt / 500.0;
        for (int j = 1; j <= 500; ++j) {
            const double zj = j * dz;
            const double r = zj / b;
            // q_j = A_j gamma' b^2 (D1 (z_j/b)^2 + D2 z_j/b) + (gamma' b + 0.5 c) z_j + 3 b c
            const double q = ReeseSandA(r, cyclic) * gamma * b * b * (t.D1 * r * r + t.D2 * r) +
                             (gamma * b + 0.5 * c) * zj + 3.0 * b * c;
            const double previous = integral;
            integral += q * dz;
            if (integral > f) return zj - dz * (integral - f) / (integral - previous);
        }
    }
    // below zt: 0.88 D3 gamma' b z + 9 c b per length
    const double deep = 0.88 * t.D3 * gamma * b * z + 9.0 * c * b;
    const double zt = t.Zt > 0.0 ? t.Zt : 0.0;
    if (!(deep > 0.0)) return zt;
    return zt + (f - integral) / deep;
}

}  // namespace kestro

// The criterion "Cem Silt" in the common station loop.

namespace kestro::cementedsilt {

namespace {

constexpr double Degrees = 180.0 / std::numbers::pi;

CementedSiltCurve CurveAt(const PyPoint& pt) {
    CementedSiltInput in;
    in.B = pt.B;
    in.C = pt.C;
    in.Phi = pt.Phi / Degrees;
    in.Gamma = pt.Gamma;
    in.K = pt.Aux[AuxK];
    in.Z = pt.Z;
    in.ZEq = pt.ZEq;
    in.J = pt.J;
    in.Theta = std::fabs(pt.EffectiveSlope);
    in.SandS = pt.Aux[AuxS];
    in.ClaySlope = ClaySlopeFactor(pt.EffectiveSlope, pt.Sign);
    in.b_Cyclic = pt.b_Cyclic;
    return MakeCementedSiltCurve(in);
}

void StopBoth(void (*write)(std::ostream&, int), int layer, ErrorKind kind, int number) {
    Fail(kind, number, [&](std::ostream& out) { write(out, layer); });
}

}  // namespace

void Properties(PyPoint& pt) {
    pt.C = f_c(pt.Depth);
    if (Failed()) return;
    const double top = Problem.Layers[static_cast<std::size_t>(pt.Layer)].XTop;
    if (pt.C < 1.0E-10 && pt.Depth > top) {
        Fail(ErrorKind::Input, 48, [&](std::ostream& out) { WriteInputError48(out, pt.Layer, pt.Depth, pt.C); });
        return;
    }
    pt.Phi = FrictionAngleAt(pt.Depth);
    if (Failed()) return;
    const double phi = pt.Phi / Degrees;
    if (phi < 1.0E-10) {
        Fail(ErrorKind::Input, 10, [](std::ostream& out) { WriteInputError10(out); });
        return;
    }
    const double theta = std::fabs(pt.EffectiveSlope);
    if (phi < theta) {
        StopBoth(WriteRuntimeError23, pt.Layer, ErrorKind::Runtime, 23);
        return;
    }
    if (SandSlopeDiscriminant(theta, phi) < 1.0E-10 && pt.C <= 0.0) {
        StopBoth(WriteInputError11, pt.Layer, ErrorKind::Input, 11);
        return;
    }
    pt.Gamma = AverageUnitWeight(pt.Depth);
    if (Failed()) return;
    const double eps = Eps50At(pt.Depth);
    pt.Eps50 = eps > 0.0 ? eps : CementedSiltDefaultEps50(pt.C, pt.UnitSystem);
    double k = stiffclayfreewater::LayerK(pt.Layer, pt.Depth);
    pt.Aux[AuxDefaultK] = 0.0;
    if (k <= 0.0) {
        if (pt.UnitSystem == UnitsGeneral) {
            StopBoth(WriteSiltDefaultKError, pt.Layer, ErrorKind::Runtime, 13);
            return;
        }
        k = CementedSiltDefaultK(pt.C, pt.Gamma, pt.Phi, pt.b_Cyclic, pt.UnitSystem);
        pt.Aux[AuxDefaultK] = 1.0;
    }
    pt.Aux[AuxK] = k;
    pt.Aux[AuxS] = 1.0;
    if (theta > 1.0E-10) {
        // S = 1 +- tan(theta) tan(beta) by the side of the deflection
        const double t = std::tan(theta) * std::tan(std::numbers::pi / 4.0 + phi / 2.0);
        pt.Aux[AuxS] = ReeseSandSlopeFactor(t, pt.EffectiveSlope, sand::RawDeflection(pt));
    }
}

void Curve(const PyPoint& pt, PyResult& r) {
    const CementedSiltCurve c = CurveAt(pt);
    r.P = CementedSiltP(c, pt.Y);
    r.Pu = c.Pu;
    r.Resist = c.Pu;
    // layer 1 above the pile head: the clay's 3 c b at the ground surface
    r.ResistTop = 3.0 * pt.C * pt.B;
    // below 1.0E-14 the initial modulus k zeq, without the multipliers
    r.YSmall = 1.0E-14;
    r.EsSmall = c.Kx;
}

double Invert(const PyPoint& first, double F) {
    return CementedSiltEquivalentDepth(F, first.B, first.C, first.Gamma, first.Phi / Degrees, first.Z, first.b_Cyclic);
}

void PrintPage(const PyPoint& pt) {
    const CementedSiltCurve c = CurveAt(pt);
    CementedSiltPage page{};
    page.b_Cyclic = pt.b_Cyclic;
    page.Layer = pt.Layer;
    page.DepthBelowHead = Problem.GroundDepth + pt.Z;
    page.Z = pt.Z;
    page.ZEq = pt.ZEq;
    page.B = pt.B;
    page.C = pt.C;
    page.PhiDegrees = pt.Phi;
    page.Gamma = pt.Gamma;
    page.K = pt.Aux[AuxK];
    page.Eps50 = pt.Eps50;
    page.XOverB = pt.B > 0.0 ? pt.ZEq / pt.B : 0.0;
    page.A = c.A;
    page.Bc = c.B;
    page.M = c.M;
    page.N = c.N;
    page.Cbar = c.Cbar;
    page.Yk = c.Yk;
    page.Pu = c.Pu;
    page.Pc = c.Pc;
    page.Ym = c.Ym;
    page.Pm = c.Pm;
    page.Yu = c.Yu;
    page.PuC = c.PuC;
    page.PuPhi = c.PuPhi;
    page.PMult = pt.PMult;
    page.YMult = pt.YMult;
    page.Curve.Depth = pt.Depth;
    page.Curve.CurveNumber = pt.Station;
    page.Curve.Line7Soil = "cemented silt";
    page.Curve.Line8Soil = "cemented c-phi";
    std::array<double, 18> y{};
    CementedSiltPrintedY(c, pt.B, y);
    FillPrintedPoints(page.Curve, pt, y, [&c](double v) { return CementedSiltP(c, v); });
    WriteCementedSiltPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::cementedsilt
