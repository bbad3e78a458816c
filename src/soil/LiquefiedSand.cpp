// Liquefied sand: Rollins, Gerber, Lane & Ashford (2005), "Lateral resistance
// of a full-scale pile group in liquefied sand", J. Geotech. Geoenviron. Eng.
// 131(1), with the diameter correction of the same authors.

#include "soil/LiquefiedSand.h"

#include <cmath>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/ProblemData.h"
#include "report/RockSiltMessages.h"
#include "report/RockSiltPages.h"
#include "soil/PrintedPoints.h"
#include "soil/SoilProperties.h"

namespace kestro {

namespace {
constexpr double F(float v) { return static_cast<double>(v); }
// 1 kN/m in lb/in
constexpr double KNPerMToLbPerIn = F(5.7101474f);
}  // namespace

double LiquefiedSandWidthMeters(double b, int unitSystem) { return unitSystem == UnitsUS ? b * 0.0254 : b; }

LiquefiedSandCurve MakeLiquefiedSandCurve(double gamma, double z, double b, int unitSystem) {
    LiquefiedSandCurve c;
    c.b_US = unitSystem == UnitsUS;
    // at the ground surface the overburden term starts just above 1
    if (!(z > 1.0E-7)) z = 1.0E-4;
    // s = 0.1 gamma' z + 1; in US units gamma' z (psi) / 0.036 times 0.0254
    c.S = c.b_US ? gamma * z / 0.036 * 0.0254 + 1.0 : 0.1 * gamma * z + 1.0;
    // A = 3.0E-7 s^6.05, B = 2.80 s^0.11, C = 2.85 s^-0.41
    c.A = 3.0E-7 * std::pow(c.S, 6.05);
    c.B = 2.80 * std::pow(c.S, 0.11);
    c.C = 2.85 * std::pow(c.S, -0.41);
    // Pd = 3.81 ln(b) + 5.6, b in metres
    c.Pd = 3.81 * std::log(LiquefiedSandWidthMeters(b, unitSystem)) + 5.6;
    // pu: the curve at 150 mm, at most 15 kN/m (85.652214 lb/in)
    const double p150 = c.A * std::pow(150.0 * c.B, c.C) * c.Pd;
    c.Pu = c.b_US ? std::fmin(F(85.652214f), KNPerMToLbPerIn * p150) : std::fmin(15.0, p150);
    return c;
}

double LiquefiedSandP(const LiquefiedSandCurve& c, double y) {
    // p = A (B y)^C Pd with y in mm and p in kN/m
    const double ymm = c.b_US ? 25.4 * y : 1000.0 * y;
    double p = c.A * std::pow(c.B * ymm, c.C) * c.Pd;
    if (c.b_US) p *= KNPerMToLbPerIn;
    return p < c.Pu ? p : c.Pu;
}

void LiquefiedSandPrintedY(int unitSystem, std::array<double, 18>& y) {
    static constexpr double Meters[17] = {0.00025, 0.0025, 0.005,  0.01,  0.015,  0.02,  0.025,  0.0375, 0.05,
                                          0.0625,  0.075,  0.0875, 0.1,   0.1125, 0.125, 0.1375, 0.15};
    static constexpr double Inches[17] = {0.01, 0.1, 0.2, 0.4, 0.6, 0.8, 1.0, 1.5, 2.0,
                                          2.5,  3.0, 3.5, 4.0, 4.5, 5.0, 5.5, 6.0};
    y[0] = 0.0;
    for (std::size_t n = 1; n <= 17; ++n) y[n] = unitSystem == UnitsUS ? Inches[n - 1] : Meters[n - 1];
}

}  // namespace kestro

// The criterion "Liq Sand" in the common station loop.

namespace kestro::liquefiedsand {

namespace {
LiquefiedSandCurve CurveAt(const PyPoint& pt) { return MakeLiquefiedSandCurve(pt.Gamma, pt.Z, pt.B, pt.UnitSystem); }
}  // namespace

void Properties(PyPoint& pt) {
    if (Problem.Options.NumberOfCycles <= 0.0) Problem.Options.NumberOfCycles = 1.0;
    pt.NumberOfCycles = Problem.Options.NumberOfCycles;
    pt.Gamma = AverageUnitWeight(pt.Depth);
    if (Failed()) return;
    // Below 0.23 m the diameter correction turns negative: the curve would
    // push the pile instead of resisting it.
    if (!(CurveAt(pt).Pd > 0.0)) {
        const double bm = LiquefiedSandWidthMeters(pt.B, pt.UnitSystem);
        Fail(ErrorKind::Input, 78, [&](std::ostream& out) { WriteLiquefiedSandWidthError(out, pt.Layer, bm); });
    }
}

void Curve(const PyPoint& pt, PyResult& r) {
    const LiquefiedSandCurve c = CurveAt(pt);
    r.P = LiquefiedSandP(c, pt.Y);
    r.Pu = c.Pu;
    r.Resist = c.Pu;
    r.ResistTop = 0.0;
    // at zero deflection the limit of p/y, taken as the secant at 1.0E-14
    // (zero for the usual exponent C > 1)
    constexpr double Tiny = 1.0E-14;
    r.YSmall = Tiny;
    r.EsSmall = pt.PMult * LiquefiedSandP(c, Tiny) / (pt.YMult * Tiny);
}

void PrintPage(const PyPoint& pt) {
    const LiquefiedSandCurve c = CurveAt(pt);
    LiquefiedSandPage page{};
    page.Z = pt.Z;
    page.B = pt.B;
    page.Gamma = pt.Gamma;
    page.Pu = c.Pu;
    page.PMult = pt.PMult;
    page.YMult = pt.YMult;
    page.Curve.Depth = pt.Depth;
    page.Curve.CurveNumber = pt.Station;
    page.Curve.Line7Soil = "liquefied sand";
    page.Curve.Line8Soil = "liquefied sand";
    page.Curve.Line8Gap = 20;
    std::array<double, 18> y{};
    LiquefiedSandPrintedY(pt.UnitSystem, y);
    FillPrintedPoints(page.Curve, pt, y, [&c](double v) { return LiquefiedSandP(c, v); });
    WriteLiquefiedSandPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::liquefiedsand
