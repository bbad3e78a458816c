// API sand: American Petroleum Institute RP 2A-WSD, lateral soil resistance
// of sand (after O'Neill & Murchison 1983).

#include "soil/ApiSand.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/Warnings.h"
#include "report/CriteriaMessages.h"
#include "report/PyCurvePage.h"
#include "soil/PrintedPoints.h"
#include "soil/SandReese.h"
#include "soil/SoilProperties.h"

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

// The criterion "API Sand" in the common station loop.

namespace kestro::sand {

namespace {

constexpr double Degrees = 180.0 / std::numbers::pi;

// The point carries the slope factor of the previous station of the layer:
// the API form keeps it for deflections within 1.0E-14 of zero.
enum PointCarry : int { CarryPreviousS = 0 };

ApiSandCurve CurveAt(const PyPoint& pt, ApiSandCoefficients& co) {
    const SandWedgeParams w = MakeSandWedgeParams(pt.Phi / Degrees);
    co = MakeApiSandCoefficients(w);
    const double theta = pt.Aux[AuxTheta];
    const double z = pt.ZEq;
    double pus = 0.0, pud = 0.0;
    if (theta > 1.0E-10) {
        const SandUltimate u = SandUltimateResistance(w, pt.B, pt.Gamma, z, z, theta, true, pt.Aux[AuxS]);
        pus = u.Pst;
        pud = u.Psd;
    } else {
        // pus = (C1 z + C2 b) gamma' z, pud = C3 b gamma' z
        pus = (co.C1 * z + co.C2 * pt.B) * pt.Gamma * z;
        pud = co.C3 * pt.B * pt.Gamma * z;
    }
    return MakeApiSandCurve(pus, pud, pt.B, pt.Aux[AuxK], z, pt.b_Cyclic);
}

}  // namespace

void ApiProperties(PyPoint& pt) {
    pt.Phi = FrictionAngleAt(pt.Depth);
    if (Failed()) return;
    const double phi = pt.Phi / Degrees;
    if (pt.Phi < 20.0 || pt.Phi > 48.0) RaiseWarning(-303);
    if (!pt.b_FirstStation && phi < 1.0E-10) {
        Fail(ErrorKind::Input, 1, [&](std::ostream& out) { WriteInputError1(out, pt.Layer); });
        return;
    }
    pt.Gamma = AverageUnitWeight(pt.Depth);
    if (Failed()) return;
    AssignK(pt);
    if (Failed()) return;
    const double theta = std::fabs(pt.EffectiveSlope);
    pt.Aux[AuxTheta] = theta;
    if (pt.b_FirstStation) pt.Carry[CarryPreviousS] = 0.0;
    pt.Aux[AuxS] = 1.0;
    if (theta > 1.0E-10) {
        // the sloping-ground wedge exists only for slopes flatter than the friction angle
        if (SandSlopeDiscriminant(theta, phi) < 1.0E-10) {
            WriteInputError2(MessageOut(), pt.Layer);
            TerminateRun("INP00002", 102);
            return;
        }
        const double t = std::tan(theta) * std::tan(std::numbers::pi / 4.0 + phi / 2.0);
        pt.Aux[AuxS] = ApiSandSlopeFactor(t, pt.EffectiveSlope, RawDeflection(pt), pt.Carry[CarryPreviousS]);
        pt.Carry[CarryPreviousS] = pt.Aux[AuxS];
    }
}

void ApiPrepare(const PyPoint& pt, PyResult& r) {
    ApiSandCoefficients co;
    const ApiSandCurve c = CurveAt(pt, co);
    // the layer resistance integrates p at yu = 3b/80
    const double pyu = ApiSandP(c, 3.0 * pt.B / 80.0);
    r.Pu = pyu;
    // The curve's asymptote A pu, which p approaches at large deflection.
    r.Ultimate = c.Apu;
    r.Resist = pyu;
    r.ResistTop = 0.0;
    // below 1.0E-14 the initial modulus k zeq, without the multipliers
    r.YSmall = 1.0E-14;
    r.EsSmall = pt.Aux[AuxK] * pt.ZEq;
    r.Aux[AuxPst] = c.Pus;
    r.Aux[AuxPsd] = c.Pud;
    r.Aux[AuxPs] = c.Pu;
    r.Aux[AuxA] = c.A;
    r.Aux[AuxC1] = co.C1;
    r.Aux[AuxC2] = co.C2;
    r.Aux[AuxC3] = co.C3;
    // the constants of p(y): A pu, and k z_eq as ApiSandP forms it
    r.Aux[AuxApu] = c.Apu;
    r.Aux[AuxKz] = c.K * c.ZEq;
}

void ApiAtDeflection(const PyPoint& pt, PyResult& r) {
    // ApiSandP with the prepared constants (the curve's z_eq is the point's)
    const double apu = r.Aux[AuxApu];
    r.P = pt.ZEq < 1.0E-10 || !(apu > 0.0) ? 0.0 : apu * std::tanh(r.Aux[AuxKz] * pt.Y / apu);
}

void ApiCurve(const PyPoint& pt, PyResult& r) {
    ApiPrepare(pt, r);
    ApiAtDeflection(pt, r);
}

void ApiPrintPage(const PyPoint& pt) {
    ApiSandCoefficients co;
    const ApiSandCurve c = CurveAt(pt, co);
    ApiSandPage page{};
    page.Common = PageCommonOf(pt, "API sand");
    page.C1 = co.C1;
    page.C2 = co.C2;
    page.C3 = co.C3;
    page.A = c.A;
    page.Pus = c.Pus;
    page.Pud = c.Pud;
    page.Pu = c.Pu;
    std::array<double, 18> y{};
    ApiSandPrintedY(pt.B, y);
    FillPrintedPoints(page.Common.Curve, pt, y, [&c](double v) { return ApiSandP(c, v); });
    WriteApiSandPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::sand
