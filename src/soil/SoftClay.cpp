// Soft clay below free water, Matlock (1970), static and cyclic loading.

#include <algorithm>
#include <cmath>
#include <ostream>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "model/Warnings.h"
#include "report/PyCurvePage.h"
#include "report/SoilMessages.h"
#include "soil/SoftClay.h"
#include "soil/SoilProperties.h"

namespace kestro::softclay {

namespace {
// Shear strengths above which the input is unreasonable for soft clay
// (1250 psf; 59.85 kPa).
constexpr double StrengthLimitPsi = static_cast<double>(8.6805553f);
constexpr double StrengthLimitKPa = static_cast<double>(59.850323f);
// Exponent of the cubic parabola, as a single-precision third.
constexpr double Third = static_cast<double>(0.33333334f);
}  // namespace

double DefaultEps50(double c, int unitSystem, double input) {
    if (input > 0.0) return input;
    // Matlock's e50 by consistency: soft (< 250 psf) 0.02, medium (< 500 psf)
    // 0.01, stiff (< 1000 and < 2000 psf) 0.005, very stiff 0.004.
    double t1, t2, t3, t4;
    if (unitSystem == UnitsUS) {
        t1 = static_cast<double>(3.4722223f);
        t2 = static_cast<double>(6.9444447f);
        t3 = static_cast<double>(13.888889f);
        t4 = static_cast<double>(27.777779f);
    } else if (unitSystem == UnitsSI) {
        t1 = static_cast<double>(23.940128f);
        t2 = static_cast<double>(47.880257f);
        t3 = static_cast<double>(95.760513f);
        t4 = static_cast<double>(191.52103f);
    } else {
        return input;
    }
    if (c < t1) return 0.02;
    if (c < t2) return 0.01;
    if (c < t3) return 0.005;
    if (c < t4) return 0.005;
    return 0.004;
}

void Properties(PyPoint& pt) {
    pt.C = f_c(pt.Depth);
    if (Failed()) return;
    if (!pt.b_AtNode) {
        if (pt.UnitSystem == UnitsUS && pt.C > StrengthLimitPsi) RaiseWarning(-3041);
        if (pt.UnitSystem == UnitsSI && pt.C > StrengthLimitKPa) RaiseWarning(-3042);
    }
    pt.Gamma = AverageUnitWeight(pt.Depth);
    if (Failed()) return;
    pt.Eps50 = DefaultEps50(pt.C, pt.UnitSystem, Eps50At(pt.Depth));
    if (!pt.b_FirstStation && pt.C < 1.0E-10) {
        SoftClayError12 e{};
        e.Layer = pt.Layer;
        e.Station = pt.Station;
        e.TopStation = Pile.FirstStation[static_cast<std::size_t>(pt.Layer)];
        e.BottomStation = Pile.LastStation[static_cast<std::size_t>(pt.Layer)];
        e.Depth = pt.Depth;
        e.C = pt.C;
        e.PileLength = CurrentPileLength();
        // The report's block differs from the message file's (its last argument).
        Fail(ErrorKind::Input, 12, [&](std::ostream& out) { WriteInputError12(out, e, &out == &ReportOut()); });
    }
}

void Prepare(const PyPoint& pt, PyResult& r) {
    const double b = pt.B, c = pt.C, g = pt.Gamma, J = pt.J, z = pt.Z, zeq = pt.ZEq;

    // Np = 3 + g' z / c + J z / b (depth below the ground, not the equivalent depth)
    double Np = 3.0 + g * z / c + J * z / b;
    if (std::fabs(pt.EffectiveSlope) > 1.0E-20) Np *= ClaySlopeFactor(pt.EffectiveSlope, pt.Sign);
    // pu = Np c b, at most 9 c b. A station without strength carries nothing.
    double pu = Np >= 9.0 ? 9.0 * c * b : Np * c * b;
    if (!(c > 0.0)) pu = 0.0;
    // y50 = 2.5 e50 b
    const double y50 = 2.5 * pt.Eps50 * b;
    // Xr = max(6 b c / (g' b + J c), 2.5 b): depth where the flow-around wedge governs.
    const double xr = 6.0 * b * c / (g * b + J * c);
    const double Xr = xr > 2.5 * b ? xr : 2.5 * b;
    // ki: tangent of the static curve at y = 1.0E-5 y50
    const double ki = pu * static_cast<double>(0.010772172f) / (y50 * 3.0E-5);
    // Cyclic: pu_c = 0.72 pu below Xr, p_s = 0.72 pu z_eq / Xr above it.
    const double puc = 0.72 * pu;
    const double ps = zeq * puc / Xr;

    // Resistance integrated for the equivalent depth of lower layers: the
    // ultimate resistance of the loading type (cyclic: p_s above Xr), also
    // for the spacing added at the layer's last station and at the ground.
    r.Resist = pt.b_Cyclic ? (zeq < Xr ? ps : puc) : pu;
    r.Pu = r.Resist;
    // The curve's largest resistance: pu static; cyclic, its peak at 3 y50,
    // 0.5 pu 3^(1/3) = 0.7211 pu, which pu_c = 0.72 pu rounds.
    r.Ultimate = pt.b_Cyclic ? std::max(puc, 0.5 * pu * std::pow(3.0, Third)) : pu;
    r.ResistTop = pt.b_Cyclic ? 0.0 : 3.0 * c * b;
    r.YSmall = 1.0E-5 * y50;
    r.EsSmall = ki;
    r.Aux[AuxNp] = Np;
    r.Aux[AuxY50] = y50;
    r.Aux[AuxXr] = Xr;
    r.Aux[AuxKi] = ki;
    r.Aux[AuxPuCyclic] = puc;
    r.Aux[AuxPsCyclic] = ps;
    // The constants of p(y), each the very product or quotient the curve's
    // formulas form, so that p comes out to the last bit the same.
    r.Aux[AuxPu] = pu;
    r.Aux[AuxHalfPu] = 0.5 * pu;
    r.Aux[AuxY3] = 3.0 * y50;
    r.Aux[AuxY8] = 8.0 * y50;
    r.Aux[AuxY15] = 15.0 * y50;
    r.Aux[AuxCyclicSlope] = (ps - puc) / (12.0 * y50);
}

void AtDeflection(const PyPoint& pt, PyResult& r) {
    const double y = pt.Y, y50 = r.Aux[AuxY50], pu = r.Aux[AuxPu], puc = r.Aux[AuxPuCyclic];
    if (y <= r.Aux[AuxY3]) {
        // p / pu = 0.5 (y / y50)^(1/3)
        r.P = r.Aux[AuxHalfPu] * std::pow(y / y50, Third);
    } else if (!pt.b_Cyclic) {
        // Static: the cubic parabola up to 8 y50, pu beyond.
        r.P = y <= r.Aux[AuxY8] ? r.Aux[AuxHalfPu] * std::pow(y / y50, Third) : pu;
        if (r.P > pu) r.P = pu;
    } else if (pt.ZEq >= r.Aux[AuxXr]) {
        r.P = puc;
    } else if (y <= r.Aux[AuxY15]) {
        // Cyclic above Xr: from pu_c at 3 y50 down to p_s at 15 y50.
        r.P = puc + r.Aux[AuxCyclicSlope] * (y - r.Aux[AuxY3]);
    } else {
        r.P = r.Aux[AuxPsCyclic];
    }
}

void Curve(const PyPoint& pt, PyResult& r) {
    Prepare(pt, r);
    AtDeflection(pt, r);
}

double Invert(const PyPoint& first, double F) {
    const double b = first.B, c = first.C, g = first.Gamma, J = first.J;
    // xr' = 6 b c / (0.5 c + b g'): depth at which Np reaches 9
    const double xr = 6.0 * b * c / (0.5 * c + b * g);
    double Fr, pr;
    if (!first.b_Cyclic) {
        // Integral of (3 c + g' z) b + 0.5 c z from 0 to xr'
        Fr = ((3.0 * c + J * xr * g) * b + 0.25 * xr * c) * xr;
        pr = 9.0 * c * b;
    } else {
        Fr = 0.72 * (1.5 * xr * b * c + c * xr * xr / 6.0 + xr * xr * b * g / 3.0);
        pr = 0.72 * 9.0 * c * b;
    }
    if (F <= Fr && first.b_Cyclic) {
        // Above xr' the cyclic resistance is p_s = 0.72 pu z / xr': the depth h
        // with 0.72 (1.5 b c h^2 + (b g' + J c) h^3 / 3) / xr' = F, which rises
        // monotonically from 0 to Fr over 0..xr' (bisection).
        auto integral = [&](double h) { return 0.72 * (1.5 * b * c * h * h + (b * g + J * c) * h * h * h / 3.0) / xr; };
        double lo = 0.0, hi = xr;
        if (!(hi > 0.0) || !(F > 0.0)) return 0.0;
        for (int n = 0; n < 200 && hi - lo > 1.0E-12 * xr; ++n) {
            const double mid = 0.5 * (lo + hi);
            (integral(mid) < F ? lo : hi) = mid;
        }
        return 0.5 * (lo + hi);
    }
    if (F <= Fr) {
        // Root of (0.25 c + 0.5 b g') h^2 + 3 b c h - F = 0
        const double a = 0.25 * c + 0.5 * b * g;
        if (!(a > 0.0)) return 0.0;
        return (std::sqrt((3.0 * b * c) * (3.0 * b * c) + 4.0 * a * F) - 3.0 * b * c) / (2.0 * a);
    }
    return xr + (F - Fr) / pr;
}

void PrintPage(const PyPoint& pt) {
    PyPoint q = pt;
    PyResult r{};
    Curve(q, r);
    SoftClayPage page{};
    page.Layer = pt.Layer;
    page.DepthBelowHead = Problem.GroundDepth + pt.Z;
    page.Z = pt.Z;
    page.ZEq = pt.ZEq;
    page.GroundSlope = Problem.GroundSlope;
    page.PileBatter = Problem.PileBatter;
    page.EffectiveSlope = Problem.EffectiveSlope;
    page.B = pt.B;
    page.C = pt.C;
    page.Gamma = pt.Gamma;
    page.Eps50 = pt.Eps50;
    page.J = pt.J;
    page.Y50 = r.Aux[AuxY50];
    page.PMult = pt.PMult;
    page.YMult = pt.YMult;
    page.NumberOfCycles = pt.NumberOfCycles;
    page.Xr = r.Aux[AuxXr];
    page.Ki = r.Aux[AuxKi];
    page.Curve.Depth = pt.Depth;
    page.Curve.CurveNumber = pt.Station;
    page.Curve.Line7Soil = "soft clay";
    page.Curve.Line8Soil = "soft clay";

    // Deflections: 0, 0.008 y50, 0.25 y50 .. 3.0 y50 in steps of 0.25 y50, 8, 15 and 20 y50.
    const double y50 = page.Y50;
    for (int n = 1; n <= MaxPyPoints; ++n) {
        double m;
        if (n == 1)
            m = 0.0;
        else if (n == 2)
            m = 0.008;
        else if (n <= 14)
            m = 0.25 * (n - 2);
        else
            m = n == 15 ? 8.0 : (n == 16 ? 15.0 : 20.0);
        q.Y = m * y50;
        const std::size_t s = static_cast<std::size_t>(n);
        double p;
        if (q.Y < 1.0E-5 * y50 || !(y50 > 0.0)) {
            // Below 1.0E-5 y50 the limiting (initial tangent) modulus applies.
            p = q.Y * page.Ki;
            page.b_Limited[s] = true;
        } else {
            Curve(q, r);
            p = r.P;
        }
        page.Curve.Y[s] = pt.YMult * q.Y;
        page.Curve.P[s] = pt.PMult * p;
    }
    WriteSoftClayPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::softclay
