// Massive rock: Liang, Yang & Nusairat (2009), "p-y criterion for rock mass",
// J. Geotech. Geoenviron. Eng. 135(1). The curve is the hyperbola
// p = y / (1/Ki + y/pu) with
//   Ki = Em (b / 1 ft) e^(-2 nu) (EI / (Em b^4))^0.284,
//   Em = (Er / 100) e^(GSI / 21.7),
// and pu the smaller of a wedge and a flow-around resistance of the rock
// mass. The Hoek-Brown envelope is replaced at the vertical effective stress
// sigma3 = gamma' z_eq by its tangent line, whose friction angle phi' and
// cohesion c' feed
//   wedge:  p_st(phi', K0 = 1 - sin phi') + c' (2 b + 2.83 z_eq) + tau b
//           (Reese et al. 1974 sand wedge with beta = pi/4 + phi'/2, plus the
//           cohesive wedge terms of Reese 1958),
//   flow:   (sigma1(sigma3) + tau) b   (Zhang, Zhu & Xu 2000),
// with the side shear tau = 0.45 sqrt(qu) in MPa (Rowe & Armitage 1987).

#include "soil/MassiveRock.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "model/PileProperties.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/LayerDataMessages.h"
#include "report/PyCurvePage.h"
#include "soil/SandReese.h"
#include "soil/PrintedPoints.h"
#include "soil/SoilProperties.h"

namespace kestro {

namespace {
constexpr double F(float v) { return static_cast<double>(v); }
// psi in one MPa, and the foot in inches and meters
constexpr double PsiPerMPa = 1000.0 / 6.894757293168361;
}  // namespace

RockMassConstants MassiveRockConstants() {
    RockMassConstants r;
    // m_i = 6, GSI = 42, D = 0
    r.Mb = 6.0 * std::exp(-F(2.0714286f));
    r.S = std::exp(-F(6.4444444f));
    r.A = 0.5 + (std::exp(-2.8) - F(0.0012726338f)) / 6.0;
    r.EmFactor = std::exp(F(1.9354838f));
    // nu = 0.4
    r.NuFactor = std::exp(-0.8);
    return r;
}

MassiveRockCurve MakeMassiveRockCurve(double qu, double Er, double gamma, double zEq, double b, double EI,
                                      int unitSystem) {
    const RockMassConstants k = MassiveRockConstants();
    MassiveRockCurve c;
    c.Em = Er / 100.0 * k.EmFactor;
    const double bFeet = unitSystem == UnitsSI ? b / 0.3048 : b / 12.0;
    // Ki = Em b_ft e^(-0.8) (EI / (Em b^4))^0.284
    c.Ki = c.Em * bFeet * k.NuFactor * std::pow(EI / (c.Em * b * b * b * b), 0.284);

    // Hoek-Brown: sigma1 = sigma3 + qu (mb sigma3 / qu + s)^a
    // no tension: a negative unit weight (flagged by the input echo) gives no confinement
    c.Sigma3 = std::max(0.0, gamma * (zEq > 0.0 ? zEq : 0.0));
    const double t = k.Mb * c.Sigma3 / qu + k.S;
    c.Sigma1 = c.Sigma3 + qu * std::pow(t, k.A);
    // tangent: d sigma1 / d sigma3 = 1 + a mb t^(a - 1) = (1 + sin phi') / (1 - sin phi')
    c.Kp = 1.0 + k.A * k.Mb * std::pow(t, k.A - 1.0);
    c.Phi = std::asin((c.Kp - 1.0) / (c.Kp + 1.0));
    // the tangent's intercept sigma_cm = sigma1 - Kp sigma3 = 2 c' sqrt(Kp)
    c.Cohesion = (c.Sigma1 - c.Kp * c.Sigma3) / (2.0 * std::sqrt(c.Kp));

    // tau = 0.45 sqrt(qu) with qu and tau in MPa
    c.Tau = unitSystem == UnitsSI ? 0.45 * std::sqrt(1000.0 * qu) : 0.45 * std::sqrt(PsiPerMPa * qu);

    SandWedgeParams w = MakeSandWedgeParams(c.Phi);
    w.K0 = 1.0 - std::sin(c.Phi);
    const double z = zEq > 0.0 ? zEq : 0.0;
    const double pst = SandUltimateResistance(w, b, gamma, z, z, 0.0, false, 1.0).Pst;
    c.PuWedge = pst + c.Cohesion * (2.0 * b + 2.83 * z) + c.Tau * b;
    c.PuFlow = (c.Sigma1 + c.Tau) * b;
    c.Pu = c.PuWedge < c.PuFlow ? c.PuWedge : c.PuFlow;
    return c;
}

double MassiveRockP(const MassiveRockCurve& c, double y) {
    if (!(y > 0.0)) return 0.0;
    return y / (1.0 / c.Ki + y / c.Pu);
}

}  // namespace kestro

namespace kestro::massiverock {

namespace {
enum PointAux : int { AuxQu = 0, AuxEr = 1, AuxEI = 2 };

void Stop(const RockLayerProblem& e) {
    Fail(ErrorKind::Input, ErrRockLayerInvalid, [&](std::ostream& out) { WriteRockLayerError(out, e); });
}

// Intact rock modulus of the layer at X, interpolated between the values at
// the layer's top and bottom; a layer of no thickness is Runtime Error 20.
double MassRockModulusAt(int k, double X) {
    const SoilLayer& L = Problem.Layers[static_cast<std::size_t>(k)];
    if (L.XTop == L.XBottom) {
        WriteRuntimeError20MassiveRock(ReportOut(), k, L.XTop);
        TerminateRun("RUN00020", 220);
        return 0.0;
    }
    const SoilPoint& top = Problem.SoilPoints[static_cast<std::size_t>(2 * k - 1)];
    const SoilPoint& bottom = Problem.SoilPoints[static_cast<std::size_t>(2 * k)];
    return InterpolateInLayer(k, X, top.Kpy, bottom.Kpy);
}

MassiveRockCurve CurveAt(const PyPoint& pt) {
    return MakeMassiveRockCurve(pt.Aux[AuxQu], pt.Aux[AuxEr], pt.Gamma, pt.ZEq, pt.B, pt.Aux[AuxEI], pt.UnitSystem);
}
}  // namespace

void Properties(PyPoint& pt) {
    RockLayerProblem e{};
    e.Layer = pt.Layer;
    e.Depth = pt.Depth;
    if (pt.UnitSystem != UnitsUS && pt.UnitSystem != UnitsSI) {
        // Ki scales with the pile width in feet, which general units cannot give.
        e.What = RockLayerProblem::GeneralUnits;
        Stop(e);
        return;
    }
    // A station exactly at the ground surface takes a small depth instead of zero.
    if (pt.Z == 0.0) pt.Z = pt.UnitSystem == UnitsSI ? 2.54E-6 : 1.0E-4;
    const double qu = f_c(pt.Depth);
    if (Failed()) return;
    const double Er = MassRockModulusAt(pt.Layer, pt.Depth);
    if (Failed()) return;
    e.Value = qu;
    if (!(qu > 0.0)) {
        e.What = RockLayerProblem::Strength;
        Stop(e);
        return;
    }
    e.Value = Er;
    if (!(Er > 0.0)) {
        e.What = RockLayerProblem::Modulus;
        Stop(e);
        return;
    }
    pt.C = qu;
    pt.Aux[AuxQu] = qu;
    pt.Aux[AuxEr] = Er;
    pt.Aux[AuxEI] = pt.b_PrintMode ? PropertiesAt(pt.Depth).EI : Pile.EI[St(pt.Station)];
    pt.Gamma = AverageUnitWeight(pt.Depth);
}

void Curve(const PyPoint& pt, PyResult& r) {
    const MassiveRockCurve c = CurveAt(pt);
    r.P = MassiveRockP(c, pt.Y);
    r.Pu = c.Pu;
    r.Resist = c.Pu;
    // resistance at the ground surface of the layer-1 rule: 3 c' b
    r.ResistTop = 3.0 * c.Cohesion * pt.B;
    // Below 1.0E-14 the initial slope, with the multipliers as in the secant.
    r.YSmall = 1.0E-14;
    r.EsSmall = pt.PMult * c.Ki / pt.YMult;
}

void PrintPage(const PyPoint& pt) {
    const MassiveRockCurve c = CurveAt(pt);
    MassiveRockPage page{};
    page.Common = BasicPageOf(pt, "massive rock", "Massive Rock");
    page.Common.Value = pt.Aux[AuxQu];
    page.ZEq = pt.ZEq;
    page.Gamma = pt.Gamma;
    page.Er = pt.Aux[AuxEr];
    page.Em = c.Em;
    page.Ki = c.Ki;
    page.PhiDegrees = c.Phi * 180.0 / std::numbers::pi;
    page.Cohesion = c.Cohesion;
    page.Tau = c.Tau;
    page.PuWedge = c.PuWedge;
    page.PuFlow = c.PuFlow;
    page.Pu = c.Pu;
    page.b_EquivalentDepth = pt.Layer != 1 && pt.RockLayerCount == 0;
    // 0, j 0.005 b / 15 for j = 1 .. 15, 0.006 b
    std::array<double, MaxPyPoints + 1> y{};
    for (int n = 1; n <= MaxPyPoints; ++n) y[static_cast<std::size_t>(n)] = (n - 1) * 0.005 * pt.B / 15.0;
    y[MaxPyPoints] = 0.006 * pt.B;
    FillPrintedPoints(page.Common.Curve, pt, y, [&c](double v) { return MassiveRockP(c, v); });
    WriteMassiveRockPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::massiverock
