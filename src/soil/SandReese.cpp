// Sand: Reese, Cox & Koop (1974), "Analysis of laterally loaded piles in
// sand", OTC 2080. The wedge and flow-around resistances and the inversion
// serve the API sand criterion too.

#include "soil/SandReese.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>
#include <string>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/Warnings.h"
#include "report/CriteriaMessages.h"
#include "report/PyCurvePage.h"
#include "soil/SoilProperties.h"
#include "soil/StiffClayFreeWater.h"

namespace kestro {

namespace {
constexpr double F(float v) { return static_cast<double>(v); }
}  // namespace

const double SandCoefficientDepths[10] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
const double SandAStatic[10] = {2.83, 2.48, 2.11, 1.76, 1.48,
                                            1.23, 1.06, 0.90, 0.88, 0.88};
const double SandBStatic[10] = {2.14, 1.83, 1.54, 1.27, 1.05,
                                            0.86, 0.71, 0.53, 0.50, 0.50};
const double SandACyclic[10] = {0.75, 0.93, 1.07, 1.11, 1.03,
                                            0.98, 0.94, 0.90, 0.88, 0.88};
const double SandBCyclic[10] = {0.53, 0.72, 0.83, 0.86, 0.82,
                                            0.77, 0.70, 0.55, 0.55, 0.55};

double ReeseSandA(double zOverB, bool cyclic) {
    return InterpolateCoefficient(zOverB, cyclic ? SandACyclic : SandAStatic, SandCoefficientDepths);
}

double ReeseSandB(double zOverB, bool cyclic) {
    return InterpolateCoefficient(zOverB, cyclic ? SandBCyclic : SandBStatic, SandCoefficientDepths);
}

SandWedgeParams MakeSandWedgeParams(double phi) {
    SandWedgeParams w;
    w.Phi = phi;
    // alpha = phi/2, beta = 45 deg + phi/2
    w.Alpha = phi / 2.0;
    w.Beta = std::numbers::pi / 4.0 + phi / 2.0;
    w.K0 = 0.4;
    // Ka = tan^2(45 deg - phi/2), Kp = tan^2(45 deg + phi/2)
    const double ta = std::tan(std::numbers::pi / 4.0 - w.Alpha);
    w.Ka = ta * ta;
    const double tb = std::tan(w.Beta);
    w.Kp = tb * tb;
    return w;
}

double DefaultSandK(double phiDegrees, double gamma, int unitSystem) {
    if (unitSystem == UnitsUS) {
        if (phiDegrees > 40.0) return F(160.54745f);
        // k = 1.2098290E-07 phi^5.694468 (pci), fitted to the recommended k-phi relation
        return F(1.2098290E-07f) * std::pow(phiDegrees, F(5.694468f));
    }
    if (unitSystem == UnitsSI) {
        if (gamma <= 12.225) {
            // submerged sand (low effective unit weight)
            if (phiDegrees > 40.0) return F(43580.148f);
            return F(3.2840464E-05f) * std::pow(phiDegrees, F(5.694468f));
        }
        // sand above the water table
        if (phiDegrees > 40.0) return F(78739.008f);
        return F(4.1417488E-06f) * std::pow(phiDegrees, F(6.416118f));
    }
    return 0.0;
}

double SandSlopeDiscriminant(double theta, double phi) {
    const double ct = std::cos(theta);
    const double cp = std::cos(phi);
    return ct * ct - cp * cp;
}

double ReeseSandSlopeFactor(double t, double slope, double yRaw) {
    if (yRaw > 1.0E-14) {
        if (slope > 1.0E-14) return 1.0 + t;
        if (slope < 1.0E-14) return 1.0 - t;
    } else {
        if (slope > 1.0E-14) return 1.0 - t;
        if (slope < 1.0E-14) return 1.0 + t;
    }
    return 1.0;
}

double ApiSandSlopeFactor(double t, double slope, double yRaw, double previousS) {
    if (yRaw > 1.0E-14) {
        if (slope > 1.0E-14) return 1.0 + t;
        if (slope < 1.0E-14) return 1.0 - t;
    } else if (yRaw < -1.0E-14) {
        if (slope > 1.0E-14) return 1.0 - t;
        if (slope < 1.0E-14) return 1.0 + t;
    } else if (yRaw == 0.0 && slope > 1.0E-14) {
        return 1.0 + t;
    }
    return previousS;
}

SandUltimate SandUltimateResistance(const SandWedgeParams& w, double b, double gamma, double zWedge, double zFlow,
                                    double theta, bool b_Sloped, double s) {
    const double tphi = std::tan(w.Phi);
    const double sb = std::sin(w.Beta);
    const double tb = std::tan(w.Beta);
    const double ta = std::tan(w.Alpha);
    const double ca = std::cos(w.Alpha);
    const double tbp = std::tan(w.Beta - w.Phi);
    const double z = zWedge;

    // Active coefficient of sloping ground: Ka = cos t (cos t - sqrt(d)) / (cos t + sqrt(d))
    double ka = w.Ka;
    if (theta > 1.0E-10) {
        const double ct = std::cos(theta);
        const double rd = std::sqrt(SandSlopeDiscriminant(theta, w.Phi));
        ka = ct * (ct - rd) / (ct + rd);
    }

    SandUltimate r;
    // p_st = gamma' z [K0 z tan(phi) sin(beta) / (cos(alpha) tan(beta - phi))
    //        + tan(beta) / tan(beta - phi) (b + z tan(beta) tan(alpha))
    //        + K0 z tan(beta) (tan(phi) sin(beta) - tan(alpha)) - Ka b]
    r.Pst = gamma * z *
            (w.K0 * z * tphi * sb / (ca * tbp) + tb / tbp * (b + z * tb * ta) + w.K0 * z * tb * (tphi * sb - ta) -
             ka * b);
    if (b_Sloped && s > 1.0E-20) {
        // sloping ground: u = t/S, F4 = 1 + 4u^3 - 3u^2,
        // p_st = gamma' z [tan(beta)/tan(beta-phi) (b + z tan(alpha) tan(beta)/S)/S - Ka b
        //        + F4 K0 z tan(phi) sin(beta)/(cos(alpha) tan(beta-phi)) + F4 K0 z tan(beta)(tan(phi) sin(beta) - tan(alpha))]
        const double t = std::tan(theta) * tb;
        const double u = t / s;
        const double f4 = 1.0 + 4.0 * u * u * u - 3.0 * u * u;
        r.Pst = gamma * z *
                (tb / tbp * (b + z * ta * tb / s) / s - ka * b + f4 * w.K0 * z * tphi * sb / (ca * tbp) +
                 f4 * w.K0 * z * tb * (tphi * sb - ta));
    }
    // p_sd = (K0 tan(phi) tan^4(beta) + (tan^8(beta) - 1) Ka) b gamma' z, with the level-ground Ka
    const double tb4 = tb * tb * tb * tb;
    r.Psd = (w.K0 * tphi * tb4 + (tb4 * tb4 - 1.0) * w.Ka) * b * gamma * zFlow;
    if (b_Sloped && s <= 1.0E-10) r.Pst = r.Psd;
    r.Ps = r.Pst <= r.Psd ? r.Pst : r.Psd;
    return r;
}

ReeseSandCurve MakeReeseSandCurve(double ps, double b, double k, double zEq, bool cyclic) {
    ReeseSandCurve c;
    const double zb = b > 0.0 ? zEq / b : 0.0;
    c.A = ReeseSandA(zb, cyclic);
    c.B = ReeseSandB(zb, cyclic);
    // pu = A ps, pm = B ps, ym = b/60, yu = 3b/80
    c.Pu = c.A * ps;
    c.Pm = c.B * ps;
    c.Ym = b / 60.0;
    c.Yu = 3.0 * b / 80.0;
    // straight segment between (ym, pm) and (yu, pu)
    c.M = (c.Pu - c.Pm) / (c.Yu - c.Ym);
    c.Kx = k * zEq;
    if (zEq > 0.0 && c.Pm > 0.0 && c.M > 0.0 && c.Kx > 0.0) {
        // parabola p = C y^(1/n) through (ym, pm) with slope m there: n = pm / (m ym)
        c.N = c.Pm / (c.M * c.Ym);
        // C = pm / ym^(1/n)
        c.C = c.Pm / std::pow(c.Ym, 1.0 / c.N);
        // intersection with the initial line: yk = (C / (k x))^(n/(n-1))
        c.Yk = std::pow(c.C / c.Kx, c.N / (c.N - 1.0));
        c.Pk = c.C * std::pow(c.Yk, 1.0 / c.N);
    } else if (zEq < 0.0) {
        c.Yk = 2.0 * b;
    }
    return c;
}

namespace {
// The curve before the limit by the initial line, and whether the initial
// line itself is the governing segment.
double ReeseSandShape(const ReeseSandCurve& c, double y, bool& b_InitialSegment) {
    b_InitialSegment = false;
    if (y <= c.Yk && y < c.Ym) {
        b_InitialSegment = true;
        return c.Kx * y;
    }
    if (y <= c.Ym) return c.N == 0.0 ? 0.0 : c.C * std::pow(y, 1.0 / c.N);
    if (y <= c.Yu) return c.Pm + c.M * (y - c.Ym);
    return c.Pu;
}
}  // namespace

double ReeseSandP(const ReeseSandCurve& c, double y) {
    bool b_Initial = false;
    const double p = ReeseSandShape(c, y, b_Initial);
    return std::min(p, c.Kx * y);
}

void ReeseSandPrintedPoints(const ReeseSandCurve& c, double b, ReeseSandPrinted& out) {
    auto& y = out.Y;
    y.fill(0.0);
    out.P.fill(0.0);
    out.b_Initial.fill(false);
    const double yp = c.Kx > 0.0 ? c.Pu / c.Kx : 0.0;   // where the initial line reaches pu
    if (c.Yk < c.Ym && c.Ym < c.Yu) {
        out.Case = 1;
        y[2] = c.Yk;
        for (int j = 1; j <= 10; ++j) y[static_cast<std::size_t>(2 + j)] = c.Yk + j * (c.Ym - c.Yk) / 11.0;
        y[13] = c.Ym;
        y[14] = 13.0 * b / 480.0;
        y[15] = c.Yu;
        y[16] = c.Yu + 0.5 * b;
        y[17] = c.Yu + b;
    } else if (c.Ym < c.Yk && c.Yk < c.Yu) {
        out.Case = 2;
        // y* where the initial line meets the straight segment: (pu - yu m) / (kx - m)
        const double ys = (c.Pu - c.Yu * c.M) / (c.Kx - c.M);
        y[2] = ys;
        // twelve equal steps up to yu (the thirteenth lands on yu itself)
        for (int j = 1; j <= 12; ++j) y[static_cast<std::size_t>(2 + j)] = ys + j * (c.Yu - ys) / 13.0;
        y[15] = c.Yu;
        y[16] = c.Yu + 0.5 * b;
        y[17] = c.Yu + b;
    } else if (c.Yk > c.Yu && c.Ym < c.Yu) {
        out.Case = 3;
        for (int j = 1; j <= 14; ++j) y[static_cast<std::size_t>(1 + j)] = j * yp / 14.0;
        y[16] = yp + 0.5 * b;
        y[17] = yp + b;
    } else {
        out.Case = 0;
    }
    for (std::size_t i = 1; i <= 17; ++i) {
        bool b_InitialSegment = false;
        const double shape = ReeseSandShape(c, y[i], b_InitialSegment);
        const double line = c.Kx * y[i];
        out.P[i] = std::min(shape, line);
        out.b_Initial[i] = i > 1 && (b_InitialSegment || line < shape);
        if (i >= 16 && line < shape && c.Kx > 0.0) {
            // beyond the curve's own range the initial line reaches pu at yp
            y[i] = i == 16 ? yp : b + yp;
            out.P[i] = c.Pu;
            out.b_Initial[i] = i == 16;
        }
    }
}

SandInversionTerms MakeSandInversionTerms(const SandWedgeParams& w, double b) {
    SandInversionTerms t;
    const double tphi = std::tan(w.Phi);
    const double tb = std::tan(w.Beta);
    const double ta = std::tan(w.Alpha);
    // D1 = tan(beta) (Kp tan(alpha) + K0 (sin(beta) (1/cos(alpha) + 1) tan(phi) - tan(alpha)))
    t.D1 = tb * (w.Kp * ta + w.K0 * (std::sin(w.Beta) * (1.0 / std::cos(w.Alpha) + 1.0) * tphi - ta));
    // D2 = Kp - Ka; D3 = Kp^2 (Kp + K0 tan(phi)) - Ka
    t.D2 = w.Kp - w.Ka;
    t.D3 = w.Kp * w.Kp * (w.Kp + w.K0 * tphi) - w.Ka;
    // depth where the wedge and flow-around resistances meet: zt = (D3 - D2) b / D1
    if (t.D1 > 0.0) t.Zt = (t.D3 - t.D2) * b / t.D1;
    return t;
}

double SandEquivalentDepth(double f, const SandWedgeParams& w, double b, double gamma, double z, bool cyclic) {
    if (!(f > 0.0) || !(b > 0.0)) return 0.0;
    const SandInversionTerms t = MakeSandInversionTerms(w, b);
    const double d1 = t.D1, d2 = t.D2, d3 = t.D3, zt = t.Zt;
    if (!(d1 > 0.0)) return 0.0;
    if (!(zt > 0.0)) return 0.0;
    const double dz = zt / 500.0;
    double q0 = 0.0, integral = 0.0;
    for (int j = 1; j <= 500; ++j) {
        const double zj = j * dz;
        const double r = zj / b;
        // q_j = A_j gamma' b^2 (D1 (z_j/b)^2 + D2 z_j/b): the shallow ultimate resistance A p_st
        const double q = ReeseSandA(r, cyclic) * gamma * b * b * (d1 * r * r + d2 * r);
        const double previous = integral;
        integral += (q0 + q) * dz / 2.0;
        q0 = q;
        if (integral > f) return zj - dz * (integral - f) / (integral - previous);
    }
    // below zt: the deep resistance per length with A = 0.88
    const double deep = 0.88 * d3 * gamma * b * z;
    if (!(deep > 0.0)) return zt;
    return zt + (f - integral) / deep;
}

}  // namespace kestro

// The criterion "Sand    " in the common station loop, and the lookups that
// both sand criteria share.

namespace kestro::sand {

namespace {

constexpr double Degrees = 180.0 / std::numbers::pi;

ReeseSandCurve CurveAt(const PyPoint& pt, SandUltimate& u) {
    const SandWedgeParams w = MakeSandWedgeParams(pt.Phi / Degrees);
    const double theta = pt.Aux[AuxTheta];
    // wedge at the equivalent depth, flow around at the depth below the ground surface
    u = SandUltimateResistance(w, pt.B, pt.Gamma, pt.ZEq, pt.Z, theta, theta > 1.0E-15, pt.Aux[AuxS]);
    return MakeReeseSandCurve(u.Ps, pt.B, pt.Aux[AuxK], pt.ZEq, pt.b_Cyclic);
}

}  // namespace

void AssignK(PyPoint& pt) {
    double k = stiffclayfreewater::LayerK(pt.Layer, pt.Depth);
    pt.Aux[AuxDefaultK] = 0.0;
    if (k <= 0.0) {
        if (pt.UnitSystem == UnitsGeneral) {
            Fail(ErrorKind::Runtime, 13, [](std::ostream& out) { WriteRuntimeError13(out); });
            return;
        }
        k = DefaultSandK(pt.Phi, pt.Gamma, pt.UnitSystem);
        pt.Aux[AuxDefaultK] = 1.0;
    }
    pt.Aux[AuxK] = k;
}

double RawDeflection(const PyPoint& pt) {
    // a printed curve is drawn for deflections toward positive y
    if (pt.b_PrintMode) return 1.0;
    return Pile.y[St(pt.Station)];
}

void ReeseProperties(PyPoint& pt) {
    pt.Phi = FrictionAngleAt(pt.Depth);
    if (Failed()) return;
    const double phi = pt.Phi / Degrees;
    if (phi < 1.0E-10) {
        WriteInputError8(MessageOut());
        TerminateRun("INP00008", 108);
        return;
    }
    if (pt.Phi < 20.0 || pt.Phi > 48.0) {
        // the block goes to the message file once per load case; every station counts
        if (Warnings.WarningCount[302] == 0) WriteReeseFrictionWarning(MessageOut());
        RaiseWarning(-302);
    }
    pt.Gamma = AverageUnitWeight(pt.Depth);
    if (Failed()) return;
    AssignK(pt);
    if (Failed()) return;
    const double theta = std::fabs(pt.EffectiveSlope);
    pt.Aux[AuxTheta] = theta;
    // the sloping-ground wedge exists only for slopes flatter than the friction angle
    if (SandSlopeDiscriminant(theta, phi) < 1.0E-10) {
        Fail(ErrorKind::Input, 9, [&](std::ostream& out) { WriteInputError9(out, pt.Layer); });
        return;
    }
    pt.Aux[AuxS] = 1.0;
    if (theta > 1.0E-15) {
        // t = tan(theta) tan(beta)
        const double t = std::tan(theta) * std::tan(std::numbers::pi / 4.0 + phi / 2.0);
        pt.Aux[AuxS] = ReeseSandSlopeFactor(t, pt.EffectiveSlope, RawDeflection(pt));
    }
}

void ReesePrepare(const PyPoint& pt, PyResult& r) {
    SandUltimate u;
    const ReeseSandCurve c = CurveAt(pt, u);
    r.Pu = c.Pu;
    r.Resist = c.Pu;
    r.ResistTop = 0.0;
    // below 1.0E-14 the initial modulus k zeq, without the multipliers
    r.YSmall = 1.0E-14;
    r.EsSmall = c.Kx;
    r.Aux[AuxPst] = u.Pst;
    r.Aux[AuxPsd] = u.Psd;
    r.Aux[AuxPs] = u.Ps;
    r.Aux[AuxA] = c.A;
    r.Aux[AuxB] = c.B;
    // the rest of the curve p(y) reads (p_u and k z_eq are Pu and EsSmall)
    r.Aux[AuxReeseYk] = c.Yk;
    r.Aux[AuxReeseYm] = c.Ym;
    r.Aux[AuxReeseN] = c.N;
    r.Aux[AuxReeseC] = c.C;
    r.Aux[AuxReeseYu] = c.Yu;
    r.Aux[AuxReesePm] = c.Pm;
    r.Aux[AuxReeseM] = c.M;
}

void ReeseAtDeflection(const PyPoint& pt, PyResult& r) {
    ReeseSandCurve c;
    c.Pu = r.Pu;
    c.Kx = r.EsSmall;
    c.Yk = r.Aux[AuxReeseYk];
    c.Ym = r.Aux[AuxReeseYm];
    c.N = r.Aux[AuxReeseN];
    c.C = r.Aux[AuxReeseC];
    c.Yu = r.Aux[AuxReeseYu];
    c.Pm = r.Aux[AuxReesePm];
    c.M = r.Aux[AuxReeseM];
    r.P = ReeseSandP(c, pt.Y);
}

void ReeseCurve(const PyPoint& pt, PyResult& r) {
    ReesePrepare(pt, r);
    ReeseAtDeflection(pt, r);
}

double Invert(const PyPoint& first, double F) {
    const SandWedgeParams w = MakeSandWedgeParams(first.Phi / Degrees);
    return SandEquivalentDepth(F, w, first.B, first.Gamma, first.Z, first.b_Cyclic);
}

SandPageCommon PageCommonOf(const PyPoint& pt, std::string_view soil) {
    SandPageCommon s{};
    s.Layer = pt.Layer;
    s.DepthBelowHead = Problem.GroundDepth + pt.Z;
    s.Z = pt.Z;
    s.ZEq = pt.ZEq;
    s.GroundSlope = Problem.GroundSlope;
    s.PileBatter = Problem.PileBatter;
    s.EffectiveSlope = Problem.EffectiveSlope;
    s.B = pt.B;
    s.Phi = pt.Phi;
    s.Gamma = pt.Gamma;
    s.K = pt.Aux[AuxK];
    s.PMult = pt.PMult;
    s.YMult = pt.YMult;
    s.b_Cyclic = pt.b_Cyclic;
    s.b_BelowRock = pt.RockLayerCount != 0;
    s.b_DefaultK = pt.Aux[AuxDefaultK] > 0.0;
    s.Curve.Depth = pt.Depth;
    s.Curve.CurveNumber = pt.Station;
    s.Curve.Line7Soil = soil;
    s.Curve.Line8Soil = soil;
    return s;
}

void ReesePrintPage(const PyPoint& pt) {
    SandUltimate u;
    const ReeseSandCurve c = CurveAt(pt, u);
    const SandWedgeParams w = MakeSandWedgeParams(pt.Phi / Degrees);
    ReeseSandPage page{};
    page.Common = PageCommonOf(pt, "sand");
    page.Ka = w.Ka;
    page.Kp = w.Kp;
    page.K0 = w.K0;
    page.Pst = u.Pst;
    page.Psd = u.Psd;
    page.Ps = u.Ps;
    page.FactorA = c.A;
    page.FactorB = c.B;
    page.C = c.C;
    page.N = c.N;
    page.M = c.M;
    page.Yk = c.Yk;
    page.Pk = c.Pk;
    page.Ym = c.Ym;
    page.Pm = c.Pm;
    page.Yu = c.Yu;
    page.Pu = c.Pu;
    page.Kx = c.Kx;
    ReeseSandPrinted pr;
    ReeseSandPrintedPoints(c, pt.B, pr);
    PyCurveTable& t = page.Common.Curve;
    for (std::size_t n = 1; n <= static_cast<std::size_t>(MaxPyPoints); ++n) {
        t.Y[n] = pt.YMult * pr.Y[n];
        t.P[n] = pt.PMult * pr.P[n];
        page.b_Initial[n] = pr.b_Initial[n];
    }
    WriteReeseSandPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::sand
