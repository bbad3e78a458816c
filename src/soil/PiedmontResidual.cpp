// Piedmont residual soil: Simpson & Brown (2006), p-y curves for the
// saprolites of the Piedmont region from the initial modulus of a field test.
// p = E b y up to 0.001 b, then E b y (1 - 0.23 ln(1000 y / b)), and a
// plateau pult from 0.0375 b. The product E b y is a force, not a force per
// length: the relation was fitted with b in inches, so b enters as the number
// b / (1 in) in every unit system and SI runs give the curve of US runs.

#include "soil/PiedmontResidual.h"

#include <cmath>
#include <cstddef>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/LayerDataMessages.h"
#include "report/PyCurvePage.h"
#include "soil/PrintedPoints.h"
#include "soil/SoilProperties.h"

namespace kestro {

namespace {
constexpr double F(float v) { return static_cast<double>(v); }
}  // namespace

double FieldTestModulusFactor(int kind, int unitSystem) {
    switch (kind) {
        case TestSpt:
            // E = 22 N60 psi; in kPa 22 x 6.894757 = 151.68466 per blow
            if (unitSystem == UnitsUS) return 22.0;
            if (unitSystem == UnitsSI) return F(151.68466f);
            return 0.0;
        case TestCpt: return 0.118;   // E = 0.118 qc
        case TestDmt: return 0.076;   // E = 0.076 ED
        case TestPmt: return 0.235;   // E = 0.235 EPMT
        default: return 0.0;
    }
}

double PiedmontWidthInInches(double b, int unitSystem) {
    if (unitSystem == UnitsUS) return b;
    if (unitSystem == UnitsSI) return b / 0.0254;
    return 0.0;
}

PiedmontCurve MakePiedmontCurve(double E, double b, int unitSystem) {
    PiedmontCurve c;
    c.E = E;
    c.B = b;
    c.Slope = E * PiedmontWidthInInches(b, unitSystem);
    c.Ya = 0.001 * b;
    c.Yb = 0.0375 * b;
    // pult = 0.16648 E b yb
    c.Pult = F(0.16648f) * c.Slope * c.Yb;
    return c;
}

double PiedmontP(const PiedmontCurve& c, double y) {
    if (y < c.Ya) return c.Slope * y;
    // p = E b y (1 - 0.23 ln(1000 y / b))
    if (y < c.Yb) return c.Slope * y * (1.0 - 0.23 * std::log(1000.0 * y / c.B));
    return c.Pult;
}

}  // namespace kestro

namespace kestro::piedmont {

namespace {
enum PointAux : int { AuxE = 0 };

const SoilPoint& PointOf(int k, bool top) {
    return Problem.SoilPoints[static_cast<std::size_t>(top ? 2 * k - 1 : 2 * k)];
}

// The layer's field test must be one kind, known, usable in the run's units,
// with values that are not negative and not both zero. Ends the run naming
// the layer, the point and the value otherwise.
bool CheckFieldTest(const PyPoint& pt) {
    const SoilPoint& top = PointOf(pt.Layer, true);
    const SoilPoint& bottom = PointOf(pt.Layer, false);
    FieldTestProblem e{};
    e.Layer = pt.Layer;
    e.Kind = top.TestType;
    e.BottomKind = bottom.TestType;
    if (top.TestType < TestSpt || top.TestType > TestPmt) {
        e.What = FieldTestProblem::KindUnknown;
    } else if (bottom.TestType != top.TestType) {
        e.What = FieldTestProblem::KindsDiffer;
    } else if (pt.UnitSystem != UnitsUS && pt.UnitSystem != UnitsSI) {
        e.What = FieldTestProblem::GeneralUnits;
    } else {
        const std::size_t kind = static_cast<std::size_t>(top.TestType);
        e.TopValue = top.TestValue[kind];
        e.BottomValue = bottom.TestValue[kind];
        if (e.TopValue < 0.0 || !std::isfinite(e.TopValue)) {
            e.What = FieldTestProblem::NegativeValue;
            e.b_AtTop = true;
        } else if (e.BottomValue < 0.0 || !std::isfinite(e.BottomValue)) {
            e.What = FieldTestProblem::NegativeValue;
        } else if (e.TopValue == 0.0 && e.BottomValue == 0.0) {
            e.What = FieldTestProblem::NoValue;
        } else {
            return true;
        }
    }
    Fail(ErrorKind::Input, ErrFieldTestInvalid, [&](std::ostream& out) { WriteFieldTestError(out, e); });
    return false;
}
}  // namespace

void Properties(PyPoint& pt) {
    if (pt.b_FirstStation && !CheckFieldTest(pt)) return;
    const SoilPoint& top = PointOf(pt.Layer, true);
    const SoilPoint& bottom = PointOf(pt.Layer, false);
    const int kind = top.TestType;
    const std::size_t slot = static_cast<std::size_t>(kind >= TestSpt && kind <= TestPmt ? kind : 1);
    const double value = InterpolateInLayer(pt.Layer, pt.Depth, top.TestValue[slot], bottom.TestValue[slot]);
    pt.Aux[AuxE] = FieldTestModulusFactor(kind, pt.UnitSystem) * value;
}

void Curve(const PyPoint& pt, PyResult& r) {
    const PiedmontCurve c = MakePiedmontCurve(pt.Aux[AuxE], pt.B, pt.UnitSystem);
    r.P = PiedmontP(c, pt.Y);
    r.Pu = c.Pult;
    r.Resist = c.Pult;
    // Below 1.0E-14 the initial slope E b, divided by the y-multiplier only.
    r.YSmall = 1.0E-14;
    r.EsSmall = c.Slope / pt.YMult;
}

void PrintPage(const PyPoint& pt) {
    const PiedmontCurve c = MakePiedmontCurve(pt.Aux[AuxE], pt.B, pt.UnitSystem);
    BasicPyPage page = BasicPageOf(pt, "Piedmont residual soil", "Piedmont residual soil");
    page.Value = c.E;
    page.Curve.b_MinimalPointNumber = true;
    // 0, j yb / 15 for j = 1 .. 14, yb, yb + b
    std::array<double, MaxPyPoints + 1> y{};
    for (int n = 1; n <= 15; ++n) y[static_cast<std::size_t>(n)] = (n - 1) * c.Yb / 15.0;
    y[16] = c.Yb;
    y[17] = c.Yb + c.B;
    FillPrintedPoints(page.Curve, pt, y, [&c](double v) { return PiedmontP(c, v); });
    WritePiedmontPage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::piedmont
