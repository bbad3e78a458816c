// Loess: Johnson, Berger, Thompson, Hay & Lane (2006), "p-y curves for loess
// from cone penetration tests", the hyperbola of Kondner with the cyclic
// degradation of the ultimate resistance.

#include "soil/Loess.h"

#include <cmath>
#include <limits>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "report/RockSiltMessages.h"
#include "report/RockSiltPages.h"
#include "soil/PrintedPoints.h"
#include "soil/SoilProperties.h"

namespace kestro {

LoessCurve MakeLoessCurve(double qc, double x, double b, double cycles, int unitSystem) {
    LoessCurve c;
    c.YRef = unitSystem == UnitsUS ? 0.117 : 0.0029718;
    // within two widths of the pile head: qc_a = qc (x / (2 b) + 0.5)
    c.Qca = x < 2.0 * b ? qc * (x / (2.0 * b) + 0.5) : qc;
    // pu0 = 0.409 qc_a; pu = b pu0 / (1 + 0.24 ln N); Ei = pu / y_ref
    c.Pu0 = 0.409 * c.Qca;
    c.Pu = b * c.Pu0 / (1.0 + 0.24 * std::log(std::fabs(cycles)));
    c.Ei = c.Pu / c.YRef;
    return c;
}

double LoessP(const LoessCurve& c, double y) {
    // p = Ei y / (1 + (y / y_ref) (1 + 0.1 e^(-y / y_ref)))
    const double r = y / c.YRef;
    return c.Ei * y / (1.0 + r * (1.0 + 0.1 * std::exp(-r)));
}

void LoessPrintedY(const LoessCurve& c, std::array<double, 18>& y) {
    static constexpr double Ratios[17] = {0.0, 0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0,
                                          6.0, 8.0,  12.0, 16.0, 23.0, 30.0, 40.0, 50.0};
    y[0] = 0.0;
    for (std::size_t n = 1; n <= 17; ++n) y[n] = Ratios[n - 1] * c.YRef;
}

}  // namespace kestro

// The criterion "KS Loess" in the common station loop.

namespace kestro::loess {

namespace {
LoessCurve CurveAt(const PyPoint& pt) {
    return MakeLoessCurve(pt.Aux[AuxQc], pt.Aux[AuxX], pt.B, pt.Aux[AuxCycles], pt.UnitSystem);
}
}  // namespace

void Properties(PyPoint& pt) {
    const double N = Problem.Options.NumberOfCycles;
    if (std::fabs(N) > 10.1) {
        WriteInputError70(ReportOut(), pt.Layer, N);
        TerminateRun("INP00170", 170);
        return;
    }
    // The criterion holds for 1 to 10 cycles; fewer than one (static input
    // with no count) is one cycle, so that ln N never removes the resistance.
    pt.Aux[AuxCycles] = std::fabs(N) < 1.0 ? 1.0 : std::fabs(N);
    const std::size_t top = static_cast<std::size_t>(2 * pt.Layer - 1);
    const double qcTop = Problem.SoilPoints[top].ConeTipResistance;
    const double qcBottom = Problem.SoilPoints[top + 1].ConeTipResistance;
    if (!(qcTop > 0.0) || !(qcBottom > 0.0)) {
        Fail(ErrorKind::Input, 77,
             [&](std::ostream& out) { WriteConeResistanceError(out, pt.Layer, qcTop, qcBottom); });
        return;
    }
    bool b_ZeroThickness = false;
    pt.Aux[AuxQc] = LayerValueAt(pt.Layer, pt.Depth, &SoilPoint::ConeTipResistance, b_ZeroThickness);
    // the near-surface adjustment goes by the station's abscissa along the pile
    pt.Aux[AuxX] = pt.b_PrintMode ? pt.Depth : Pile.x[St(pt.Station)];
}

void Curve(const PyPoint& pt, PyResult& r) {
    const LoessCurve c = CurveAt(pt);
    r.P = LoessP(c, pt.Y);
    r.Pu = c.Pu;
    r.Resist = c.Pu;
    // at zero deflection the initial slope Ei, with the multipliers
    r.YSmall = std::numeric_limits<double>::min();
    r.EsSmall = pt.PMult * c.Ei / pt.YMult;
}

void PrintPage(const PyPoint& pt) {
    const LoessCurve c = CurveAt(pt);
    LoessPage page{};
    page.Layer = pt.Layer;
    page.DepthBelowHead = Problem.GroundDepth + pt.Z;
    page.Z = pt.Z;
    page.B = pt.B;
    page.b_DepthAdjusted = pt.Aux[AuxX] < 2.0 * pt.B;
    page.Qc = page.b_DepthAdjusted ? c.Qca : pt.Aux[AuxQc];
    page.Ei = c.Ei;
    page.Pu0 = c.Pu0;
    page.Pu = c.Pu;
    page.Cycles = pt.Aux[AuxCycles];
    page.PMult = pt.PMult;
    page.YMult = pt.YMult;
    page.Curve.Depth = pt.Depth;
    page.Curve.CurveNumber = pt.Station;
    page.Curve.Line7Soil = "loess";
    page.Curve.Line8Soil = "Loess";
    page.Curve.b_MinimalPointNumber = true;
    std::array<double, 18> y{};
    LoessPrintedY(c, y);
    FillPrintedPoints(page.Curve, pt, y, [&c](double v) { return LoessP(c, v); });
    WriteLoessPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::loess
