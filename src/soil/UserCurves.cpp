// User-input p-y curves: the curve given at the layer's top and the one at
// its bottom, each evaluated at the station's deflection and interpolated
// linearly by depth between the two.

#include "soil/UserCurves.h"

#include <cmath>
#include <cstddef>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/SoilState.h"
#include "report/LayerDataMessages.h"
#include "report/PyCurvePage.h"
#include "soil/SoilProperties.h"

namespace kestro {

namespace {
int NumPoints(const SoilPoint& c) {
    return c.UserCurvePoints < 0 ? 0 : (c.UserCurvePoints > MaxUserCurvePoints ? MaxUserCurvePoints : c.UserCurvePoints);
}
std::size_t U(int i) { return static_cast<std::size_t>(i); }
}  // namespace

double UserCurveP(const SoilPoint& c, double y) {
    const int n = NumPoints(c);
    if (n < 1) return 0.0;
    for (int j = 2; j <= n; ++j) {
        const double y0 = c.UserY[U(j - 1)], y1 = c.UserY[U(j)];
        if (y == y1) return c.UserP[U(j)];
        if (y > y0 && y < y1) {
            const double p0 = c.UserP[U(j - 1)], p1 = c.UserP[U(j)];
            return p0 + (y - y0) * (p1 - p0) / (y1 - y0);
        }
    }
    if (y == c.UserY[1]) return c.UserP[1];
    return c.UserP[U(n)];
}

double InterpolatedUserP(const SoilPoint& top, const SoilPoint& bottom, double depthTop, double depthBottom,
                         double depth, double y) {
    if (std::fabs(depthBottom - depthTop) <= 1.0E-6) return UserCurveP(top, y);
    if (depth < depthTop || depth > depthBottom) return 0.0;
    const double pt = UserCurveP(top, y), pb = UserCurveP(bottom, y);
    return pt + (pb - pt) * (depth - depthTop) / (depthBottom - depthTop);
}

UserCurveFault FindUserCurveFault(const SoilPoint& c, int& point, double& value) {
    const int n = NumPoints(c);
    point = 0;
    value = n;
    if (n < 2) return UserCurveFault::TooFewPoints;
    for (int j = 1; j <= n; ++j) {
        point = j;
        const double y = c.UserY[U(j)], p = c.UserP[U(j)];
        value = std::isfinite(y) ? p : y;
        if (!std::isfinite(y) || !std::isfinite(p)) return UserCurveFault::NotANumber;
        if (j == 1) {
            value = y != 0.0 ? y : p;
            if (y != 0.0 || p != 0.0) return UserCurveFault::FirstPointNotAtOrigin;
            continue;
        }
        value = y;
        if (!(y > c.UserY[U(j - 1)])) return UserCurveFault::DeflectionNotRising;
        value = p;
        if (p < 0.0) return UserCurveFault::NegativeP;
    }
    point = 0;
    return UserCurveFault::None;
}

}  // namespace kestro

namespace kestro::usercurves {

namespace {

const SoilPoint& CurveOf(int k, bool top) { return Problem.SoilPoints[U(top ? 2 * k - 1 : 2 * k)]; }

bool CheckCurves(int k) {
    for (bool top : {true, false}) {
        UserCurveProblem e{};
        e.Layer = k;
        e.b_Top = top;
        e.Fault = FindUserCurveFault(CurveOf(k, top), e.Point, e.Value);
        if (e.Fault == UserCurveFault::None) continue;
        Fail(ErrorKind::Input, ErrUserCurveInvalid, [&](std::ostream& out) { WriteUserCurveError(out, e); });
        return false;
    }
    return true;
}

void PrintPage(const PyPoint& pt, const SoilPoint& top, const SoilPoint& bottom, double dTop, double dBottom) {
    BasicPyPage page = BasicPageOf(pt, "user-input p-y curve", "user-input p-y curve");
    page.Curve.Line8Gap = 20;
    // 0, 0.001 (length units), then fractions of b
    static constexpr double Fractions[15] = {0.00625, 0.0125, 0.01875, 0.025,  0.03125, 0.0375, 0.04375, 0.05,
                                             0.05625, 0.0625, 0.06875, 0.075, 0.2,     0.375,  0.5};
    for (int n = 1; n <= MaxPyPoints; ++n) {
        const double y = n == 1 ? 0.0 : (n == 2 ? 0.001 : Fractions[n - 3] * pt.B);
        const std::size_t s = U(n);
        page.Curve.Y[s] = pt.YMult * y;
        page.Curve.P[s] = n == 1 ? 0.0 : pt.PMult * InterpolatedUserP(top, bottom, dTop, dBottom, pt.Depth, y);
    }
    WriteUserCurvePage(ReportOut(), PlotOut(), page);
}

}  // namespace

void EvaluateLayer(int k) {
    if (k < 1 || k > Problem.NumLayers || k > MaxSoilLayers) return;
    const int first = Pile.FirstStation[U(k)];
    const int last = Pile.LastStation[U(k)];
    if (first < 1 || last < first || last > MaxStations) return;
    if (!CheckCurves(k)) return;

    const AnalysisOptions& O = Problem.Options;
    const bool print = Soil.PyPrintMode;
    const bool movement = O.UseSoilMovement;
    const double h = O.NumIncrements > 0 ? CurrentPileLength() / O.NumIncrements : 0.0;
    const SoilPoint& top = CurveOf(k, true);
    const SoilPoint& bottom = CurveOf(k, false);
    const double dTop = Problem.Layers[U(k)].XTop, dBottom = Problem.Layers[U(k)].XBottom;
    // The curves' last resistances, for the layer resistance.
    const double lastTop = top.UserP[U(NumPoints(top))], lastBottom = bottom.UserP[U(NumPoints(bottom))];

    PyPoint pt = LayerPoint(k);
    for (int i = first; i <= last; ++i) {
        PlaceStation(pt, i, first, last);
        if (print) {
            PrintPage(pt, top, bottom, dTop, dBottom);
            if (Failed()) return;
            continue;
        }
        if (pt.b_FirstStation) Soil.LayerResistance[U(k)] = 0.0;
        const double lastP = std::fabs(dBottom - dTop) <= 1.0E-6
                                 ? lastTop
                                 : lastTop + (lastBottom - lastTop) * (pt.Depth - dTop) / (dBottom - dTop);
        Soil.LayerResistance[U(k)] += h * lastP;

        const double ysm = movement ? Pile.ysm[St(i)] : 0.0;
        const double y = std::fabs(Pile.y[St(i)] - ysm) / pt.YMult;
        // Without deflection the secant is undefined: the station keeps its modulus.
        if (y < 1.0E-14) continue;
        const double p = InterpolatedUserP(top, bottom, dTop, dBottom, pt.Depth, y);
        if (!StoreModulus(i, pt.PMult * p / (pt.YMult * y), movement, ysm)) return;
    }
}

}  // namespace kestro::usercurves
