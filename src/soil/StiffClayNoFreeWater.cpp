// Stiff clay above the water table: Welch & Reese (1972), "Laterally loaded
// behavior of drilled shafts", and Reese & Welch (1975), J. Geotech. Eng. Div.

#include "soil/StiffClayNoFreeWater.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/Warnings.h"
#include "report/CriteriaMessages.h"
#include "report/PyCurvePage.h"
#include "soil/SandReese.h"
#include "soil/SoilProperties.h"
#include "soil/StiffClayFreeWater.h"

namespace kestro {

namespace {

constexpr double F(float v) { return static_cast<double>(v); }

constexpr std::array<double, 3> ClassLimitPsi = {F(6.9400001f), F(13.88f), F(27.780001f)};
constexpr std::array<double, 3> ClassLimitKPa = {F(47.8927f), F(95.785400f), F(191.57080f)};

}  // namespace

int StiffClayNoFreeWaterClass(double c, int unitSystem) {
    return StiffClayStrengthClass(c, unitSystem, ClassLimitPsi, ClassLimitKPa);
}

double StiffClayNoFreeWaterDefaultEps50(int strengthClass) { return StiffClayDefaultEps50(strengthClass); }

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

// The criteria "StfClyAW" and "StfClyAK" in the common station loop.

namespace kestro::stiffclaynofreewater {

namespace {

// Strengths outside which the input is unreasonable: 500 and 8000 psf; 23.94 and 383.04 kPa.
constexpr double LowPsi = static_cast<double>(3.4722223f);
constexpr double HighPsi = static_cast<double>(55.555557f);
constexpr double LowKPa = 23.94;
constexpr double HighKPa = 383.04;

// Shared lookups; `warningBase` is 3060 ("StfClyAW") or 3260 ("StfClyAK").
void CommonProperties(PyPoint& pt, int warningBase) {
    pt.C = f_c(pt.Depth);
    if (Failed()) return;
    if (!pt.b_FirstStation && pt.C < 1.0E-10) {
        Fail(ErrorKind::Input, 13, [](std::ostream& out) { WriteInputError13(out); });
        return;
    }
    if (!pt.b_AtNode) {
        if (pt.UnitSystem == UnitsUS) {
            if (pt.C < LowPsi) RaiseWarning(-(warningBase + 1));
            if (pt.C > HighPsi) RaiseWarning(-(warningBase + 2));
        } else if (pt.UnitSystem == UnitsSI) {
            if (pt.C < LowKPa) RaiseWarning(-(warningBase + 3));
            if (pt.C > HighKPa) RaiseWarning(-(warningBase + 4));
        }
    }
    pt.Gamma = AverageUnitWeight(pt.Depth);
    if (Failed()) return;
    const double eps = Eps50At(pt.Depth);
    pt.Eps50 = eps > 0.0 ? eps : StiffClayNoFreeWaterDefaultEps50(StiffClayNoFreeWaterClass(pt.C, pt.UnitSystem));
    // The layer-1 rule integrates from 3 ca b at the ground surface, ca averaged from there.
    pt.Aux[AuxCaGround] = 0.0;
    if (pt.Layer == 1 && Problem.GroundDepth < -1.0E-5) {
        pt.Aux[AuxCaGround] = AverageShearStrength(pt.Depth);
        if (Failed()) return;
    }
}

StiffClayNoFreeWaterCurve CurveAt(const PyPoint& pt, bool usesK) {
    StiffClayNoFreeWaterInput in;
    in.B = pt.B;
    in.C = pt.C;
    in.Gamma = pt.Gamma;
    in.Eps50 = pt.Eps50;
    in.ZEq = pt.ZEq;
    // the "with k" form counts a raw deflection of at most 1.0E-20 as negative
    const double sign = usesK ? (pt.Aux[AuxRawY] > 1.0E-20 ? 1.0 : -1.0) : pt.Sign;
    in.SlopeFactor = ClaySlopeFactor(pt.EffectiveSlope, sign);
    in.Cycles = pt.NumberOfCycles;
    in.b_Cyclic = pt.b_Cyclic;
    in.b_UsesK = usesK;
    in.K = pt.Aux[AuxK];
    return MakeStiffClayNoFreeWaterCurve(in);
}

void FillResult(const PyPoint& pt, const StiffClayNoFreeWaterCurve& c, PyResult& r) {
    r.P = StiffClayNoFreeWaterP(c, pt.Y);
    r.Pu = c.Pu;
    r.Resist = c.Pu;
    r.ResistTop = 3.0 * pt.Aux[AuxCaGround] * pt.B;
    r.Aux[AuxPct] = c.Pct;
    r.Aux[AuxPcd] = c.Pcd;
    r.Aux[AuxY50] = c.Y50;
    r.Aux[AuxKi] = c.Ki;
    r.Aux[AuxKx] = c.Kx;
}

// The page of the station: values above the curve and the 17 points; with
// the initial k, below 1.0E-14 the line k z y, else below YSmall the secant.
StiffClayNoFreeWaterPage PageOf(const PyPoint& pt, bool usesK) {
    const StiffClayNoFreeWaterCurve c = CurveAt(pt, usesK);
    StiffClayNoFreeWaterPage page{};
    page.Layer = pt.Layer;
    page.DepthBelowHead = Problem.GroundDepth + pt.Z;
    page.Z = pt.Z;
    page.ZEq = pt.ZEq;
    page.B = pt.B;
    page.GroundSlope = Problem.GroundSlope;
    page.PileBatter = Problem.PileBatter;
    page.EffectiveSlope = Problem.EffectiveSlope;
    page.C = pt.C;
    page.Gamma = pt.Gamma;
    page.K = pt.Aux[AuxK];
    page.Eps50 = pt.Eps50;
    page.Pct = c.Pct;
    page.Pcd = c.Pcd;
    page.Pu = c.Pu;
    page.Y50 = c.Y50;
    page.PMult = pt.PMult;
    page.YMult = pt.YMult;
    page.NumberOfCycles = pt.NumberOfCycles;
    page.b_Cyclic = pt.b_Cyclic;
    page.b_InitialK = usesK;
    PyCurveTable& t = page.Curve;
    t.Depth = pt.Depth;
    t.CurveNumber = pt.Station;
    t.Line7Soil = usesK ? "stiff clay w/o free water with k" : "stiff clay w/o free water";
    t.Line8Soil = usesK ? "stiff clay with k" : "stiff clay w/o water";
    std::array<double, 18> y{};
    StiffClayNoFreeWaterPrintedY(c, y);
    for (std::size_t n = 1; n <= 17; ++n) {
        double p = 0.0;
        if (usesK)
            p = y[n] < 1.0E-14 ? c.Kx * y[n] : StiffClayNoFreeWaterP(c, y[n]);
        else
            p = y[n] < c.YSmall ? c.Ki * y[n] : StiffClayNoFreeWaterP(c, y[n]);
        t.Y[n] = pt.YMult * y[n];
        t.P[n] = pt.PMult * p;
    }
    return page;
}

}  // namespace

void Properties(PyPoint& pt) {
    // the cyclic curve needs at least one cycle: the run's value is raised to 1
    if (Problem.Options.NumberOfCycles < 1.0) Problem.Options.NumberOfCycles = 1.0;
    pt.NumberOfCycles = Problem.Options.NumberOfCycles;
    CommonProperties(pt, 3060);
}

void PropertiesK(PyPoint& pt) {
    CommonProperties(pt, 3260);
    if (Failed()) return;
    double k = stiffclayfreewater::LayerK(pt.Layer, pt.Depth);
    pt.Aux[AuxDefaultK] = 0.0;
    if (k <= 0.0) {
        if (pt.UnitSystem == UnitsGeneral) {
            Fail(ErrorKind::Runtime, 13, [&](std::ostream& out) { WriteStiffClayDefaultKError(out, pt.Layer); });
            return;
        }
        k = StiffClayDefaultK(StiffClayNoFreeWaterClass(pt.C, pt.UnitSystem), pt.b_Cyclic, pt.UnitSystem);
        pt.Aux[AuxDefaultK] = 1.0;
    }
    pt.Aux[AuxK] = k;
    pt.Aux[AuxRawY] = sand::RawDeflection(pt);
}

void Curve(const PyPoint& pt, PyResult& r) {
    const StiffClayNoFreeWaterCurve c = CurveAt(pt, false);
    FillResult(pt, c, r);
    // below 2.0E-5 b the secant at 2.0E-5 b, without the multipliers
    r.YSmall = c.YSmall;
    r.EsSmall = c.Ki;
}

void CurveK(const PyPoint& pt, PyResult& r) {
    const StiffClayNoFreeWaterCurve c = CurveAt(pt, true);
    FillResult(pt, c, r);
    r.YSmall = 1.0E-14;
    r.EsSmall = c.Kx;
}

double Invert(const PyPoint& first, double F) {
    // at the layer's first station the average strength is the strength there
    return StiffClayNoFreeWaterEquivalentDepth(F, first.B, first.C, first.C, first.Gamma);
}

void PrintPage(const PyPoint& pt) { WriteStiffClayNoFreeWaterPage(ReportOut(), PlotOut(), PageOf(pt, false)); }

void PrintPageK(const PyPoint& pt) { WriteStiffClayNoFreeWaterPage(ReportOut(), PlotOut(), PageOf(pt, true)); }

}  // namespace kestro::stiffclaynofreewater
