// Weak rock: Reese (1997), "Analysis of laterally loaded piles in weak rock",
// J. Geotech. Geoenviron. Eng. 123(11).

#include "soil/WeakRock.h"

#include <cmath>
#include <ostream>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/Warnings.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/RockSiltMessages.h"
#include "report/RockSiltPages.h"
#include "soil/PrintedPoints.h"
#include "soil/SoilModels.h"
#include "soil/SoilProperties.h"

namespace kestro {

namespace {
constexpr double F(float v) { return static_cast<double>(v); }
}  // namespace

WeakRockCurve MakeWeakRockCurve(const WeakRockInput& in) {
    WeakRockCurve c;
    const double b = in.B;
    // alpha_r = 1 - 2 RQD / 300
    c.AlphaR = 1.0 - in.Rqd * F(0.0066666668f);
    if (in.Xr <= 3.0 * b) {
        // near the rock surface: pur = alpha_r qu b (1 + 1.4 xr / b), Kir = Eir (100 + 400 xr / (3 b))
        c.Pur = c.AlphaR * in.Qu * b * (1.0 + 1.4 * in.Xr / b);
        c.Kir = in.Eir * (100.0 + 400.0 * in.Xr / (3.0 * b));
    } else {
        // below three widths: pur = 5.2 alpha_r qu b, Kir = 500 Eir
        c.Pur = 5.2 * c.AlphaR * in.Qu * b;
        c.Kir = 500.0 * in.Eir;
    }
    // y_rm = k_rm b
    c.Yrm = in.Krm * b;
    // y_A = (pur / (2 y_rm^0.25 Kir))^1.333
    c.YA = std::pow(c.Pur / (2.0 * std::pow(c.Yrm, 0.25) * c.Kir), F(1.3329999f));
    return c;
}

double WeakRockP(const WeakRockCurve& c, double y) {
    // initial line p = Kir y up to y_A
    if (y < c.YA) return c.Kir * y;
    // p = pur / 2 (y / y_rm)^0.25, at most pur (reached at 16 y_rm)
    const double p = c.Pur / 2.0 * std::pow(y / c.Yrm, 0.25);
    return p < c.Pur ? p : c.Pur;
}

void WeakRockPrintedY(const WeakRockCurve& c, std::array<double, 18>& y) {
    static constexpr double Fractions[13] = {0.02, 0.04, 0.06, 0.08, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};
    y[0] = 0.0;
    y[1] = 0.0;
    y[2] = c.YA;
    const double y16 = 16.0 * c.Yrm;
    for (std::size_t j = 0; j < 13; ++j) y[3 + j] = c.YA + Fractions[j] * (y16 - c.YA);
    y[16] = y16;
    y[17] = 20.0 * c.Yrm;
}

}  // namespace kestro

// The criterion "WeakRock" in the common station loop.

namespace kestro::weakrock {

namespace {

// Depth into the rock: below this layer's top, plus the thickness of every
// rock layer (b_RockForDepth: weak rock, vuggy limestone) directly above, up
// to a layer of another kind.
double DepthIntoRock(int k, double depth) {
    double xr = depth + 1.0E-8 - Problem.Layers[static_cast<std::size_t>(k)].XTop;
    for (int j = k - 1; j >= 1; --j) {
        const SoilLayer& L = Problem.Layers[static_cast<std::size_t>(j)];
        const SoilModel* m = SoilModelOf(L.SoilType);
        if (m == nullptr || !m->b_RockForDepth) break;
        xr += L.XBottom - L.XTop;
    }
    return xr;
}

WeakRockCurve CurveAt(const PyPoint& pt) {
    WeakRockInput in;
    in.B = pt.B;
    in.Qu = pt.C;
    in.Rqd = pt.Aux[AuxRqd];
    in.Krm = pt.Aux[AuxKrm];
    in.Eir = pt.Aux[AuxEir];
    in.Xr = pt.Aux[AuxXr];
    return MakeWeakRockCurve(in);
}

void Stop(void (*write)(std::ostream&, int), int layer, std::string_view code, int number) {
    write(MessageOut(), layer);
    TerminateRun(code, number);
}

}  // namespace

void Properties(PyPoint& pt) {
    if (Problem.Options.NumberOfCycles <= 0.0) Problem.Options.NumberOfCycles = 1.0;
    pt.NumberOfCycles = Problem.Options.NumberOfCycles;
    pt.C = f_c(pt.Depth);
    if (Failed()) return;
    if (!pt.b_AtNode) {
        // unreasonable strengths: 100 and 1000 psi; 689.5 and 6895 kPa
        if (pt.UnitSystem == UnitsUS) {
            if (pt.C < 100.0) RaiseWarning(-3071);
            if (pt.C > 1000.0) RaiseWarning(-3072);
        } else if (pt.UnitSystem == UnitsSI) {
            if (pt.C < 689.5) RaiseWarning(-3073);
            if (pt.C > 6895.0) RaiseWarning(-3074);
        }
        if (pt.C <= 0.0) {
            Stop(WriteInputError62, pt.Layer, "INP00062", 162);
            return;
        }
    }
    pt.Aux[AuxRqd] = RqdAt(pt.Depth);
    if (Failed()) return;
    bool b_ZeroThickness = false;
    pt.Aux[AuxEir] = LayerValueAt(pt.Layer, pt.Depth, &SoilPoint::Kpy, b_ZeroThickness);
    if (b_ZeroThickness) {
        TerminateRun("RUN00020", 220);
        WriteRuntimeError20(ReportOut());
        return;
    }
    if (!pt.b_FirstStation && pt.C < 1.0E-10) {
        Fail(ErrorKind::Input, 16, [](std::ostream& out) { WriteInputError16(out); });
        return;
    }
    pt.Gamma = AverageUnitWeight(pt.Depth);
    if (Failed()) return;
    const double krm = KrmAt(pt.Depth);
    if (krm <= 0.0) {
        Stop(WriteInputError63, pt.Layer, "INP00163", 163);
        return;
    }
    if (krm < 5.0E-5) RaiseWarning(-316);
    if (krm > 5.0E-4) RaiseWarning(-317);
    pt.Aux[AuxKrm] = krm;
    pt.Aux[AuxXr] = DepthIntoRock(pt.Layer, pt.Depth);
    // Without a positive rock mass modulus the initial line has no slope and
    // y_A no value: the layer would carry nothing.
    if (!(pt.Aux[AuxEir] > 0.0)) {
        Fail(ErrorKind::Input, 76,
             [&](std::ostream& out) { WriteRockModulusError(out, pt.Layer, pt.Depth, pt.Aux[AuxEir]); });
        return;
    }
    const WeakRockCurve c = CurveAt(pt);
    if (!(c.Yrm > 0.0)) {
        Fail(ErrorKind::Runtime, 22, [&](std::ostream& out) { WriteRuntimeError22(out, pt.Layer); });
        return;
    }
    // The base of y_A is positive unless pur is not (a strength of zero at a
    // layer interface): the curve has no shape there, so the run stops.
    if (!(c.Pur / (2.0 * std::pow(c.Yrm, 0.25)) / c.Kir > 0.0)) {
        MessageOut() << "ERROR 2 BEFORE EQN 11\n";
        Fail(ErrorKind::Input, 16, [](std::ostream& out) { WriteInputError16(out); });
        return;
    }
}

void Curve(const PyPoint& pt, PyResult& r) {
    const WeakRockCurve c = CurveAt(pt);
    r.P = WeakRockP(c, pt.Y);
    r.Pu = c.Pur;
    r.Resist = c.Pur;
    r.ResistTop = 0.0;
    // on the initial line the modulus is Kir itself, without the multipliers
    r.YSmall = c.YA;
    r.EsSmall = c.Kir;
}

void PrintPage(const PyPoint& pt) {
    const WeakRockCurve c = CurveAt(pt);
    WeakRockPage page{};
    page.Layer = pt.Layer;
    page.Z = pt.Z;
    page.B = pt.B;
    page.Qu = pt.C;
    page.Gamma = pt.Gamma;
    page.Xr = pt.Aux[AuxXr];
    page.Rqd = pt.Aux[AuxRqd];
    page.Eir = pt.Aux[AuxEir];
    page.Pur = c.Pur;
    page.Krm = pt.Aux[AuxKrm];
    page.Kir = c.Kir;
    page.AlphaR = c.AlphaR;
    page.Yu = 16.0 * c.Yrm;
    page.Yrm = c.Yrm;
    page.YA = c.YA;
    page.PMult = pt.PMult;
    page.YMult = pt.YMult;
    page.Curve.Depth = pt.Depth;
    page.Curve.CurveNumber = pt.Station;
    page.Curve.Line7Soil = "weak rock";
    page.Curve.Line8Soil = "weak rock";
    std::array<double, 18> y{};
    WeakRockPrintedY(c, y);
    FillPrintedPoints(page.Curve, pt, y, [&c](double v) { return WeakRockP(c, v); });
    WriteWeakRockPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::weakrock
