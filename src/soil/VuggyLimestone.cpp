// Vuggy limestone: the bilinear strong-rock curve of Reese & Nyman (1978),
// fitted to load tests of drilled shafts in vuggy limestone. The rock carries
// p = ks y up to y1 = 0.0004 b, then rises with slope 100 su to b su at y2;
// beyond y2 the rock is taken as broken and only the overburden term
// 0.5 gamma' b z is left.

#include "soil/VuggyLimestone.h"

#include <cstddef>

#include "model/Channels.h"
#include "model/Warnings.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/PyCurvePage.h"
#include "soil/PrintedPoints.h"
#include "soil/SoilProperties.h"

namespace kestro {

VuggyLimestoneCurve MakeVuggyLimestoneCurve(double qu, double b, double gamma, double z) {
    VuggyLimestoneCurve c;
    c.Su = qu / 2.0;
    // y1 = 0.0004 b, p1 = 0.8 b su, ks = 2000 su
    c.Y1 = 0.0004 * b;
    c.P1 = 0.8 * b * c.Su;
    c.Ks = 2000.0 * c.Su;
    // y2 = y1 + (b su - p1) / (100 su): the second line reaches b su there
    c.Y2 = c.Su > 0.0 ? c.Y1 + (b * c.Su - c.P1) / (100.0 * c.Su) : c.Y1;
    c.PResidual = 0.5 * gamma * b * z;
    return c;
}

double VuggyLimestoneP(const VuggyLimestoneCurve& c, double y) {
    if (y < c.Y1) return c.Ks * y;
    // p = p1 + 100 su (y - y1) for y1 <= y <= y2
    if (y <= c.Y2) return c.P1 + 100.0 * c.Su * (y - c.Y1);
    return c.PResidual;
}

}  // namespace kestro

namespace kestro::vuggylimestone {

namespace {
enum PointAux : int { AuxQu = 0 };

VuggyLimestoneCurve CurveAt(const PyPoint& pt) {
    return MakeVuggyLimestoneCurve(pt.Aux[AuxQu], pt.B, pt.Gamma, pt.Z);
}
}  // namespace

void Properties(PyPoint& pt) {
    const double qu = f_c(pt.Depth);
    if (Failed()) return;
    pt.C = qu;
    pt.Aux[AuxQu] = qu;
    const double su = qu / 2.0;
    // Strengths outside the range of the load tests the curve was fitted to.
    if (pt.Depth > Problem.Layers[static_cast<std::size_t>(pt.Layer)].XTop) {
        const bool outside = (pt.UnitSystem == UnitsUS && (su < 500.0 || su > 2500.0)) ||
                             (pt.UnitSystem == UnitsSI && (su < 6895.0 || su > 17237.5));
        if (outside) RaiseWarning(-308);
    }
    pt.Gamma = AverageUnitWeight(pt.Depth);
}

void Curve(const PyPoint& pt, PyResult& r) {
    const VuggyLimestoneCurve c = CurveAt(pt);
    r.P = VuggyLimestoneP(c, pt.Y);
    r.Pu = pt.B * c.Su;
    r.Resist = r.Pu;
    // Below 1.0E-14 the initial slope ks, divided by the y-multiplier only.
    r.YSmall = 1.0E-14;
    r.EsSmall = c.Ks / pt.YMult;
}

void PrintPage(const PyPoint& pt) {
    const VuggyLimestoneCurve c = CurveAt(pt);
    BasicPyPage page = BasicPageOf(pt, "vuggy limestone", "vuggy limestone rock");
    page.Value = 2.0 * c.Su;
    // 0, then y1 + j (y2 - y1) / 15 for j = 0 .. 15
    std::array<double, MaxPyPoints + 1> y{};
    for (int n = 2; n < MaxPyPoints; ++n) y[static_cast<std::size_t>(n)] = c.Y1 + (n - 2) * (c.Y2 - c.Y1) / 15.0;
    y[MaxPyPoints] = c.Y2;  // the corner itself, not a rounding past it
    FillPrintedPoints(page.Curve, pt, y, [&c](double v) { return VuggyLimestoneP(c, v); });
    WriteVuggyLimestonePage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::vuggylimestone
