// Elastic subgrade: a linear spring p = Esub b y whose modulus varies
// linearly with depth within the layer.

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "driver/Channels.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/PyCurvePage.h"
#include "soil/Criteria.h"

namespace kestro::elasticsubgrade {

void Properties(PyPoint& pt) {
    // Esub interpolated between the layer's top and bottom values by the
    // depth below the pile head.
    const std::size_t top = static_cast<std::size_t>(2 * pt.Layer - 1), bottom = top + 1;
    const SoilPoint& a = Problem.SoilPoints[top];
    const SoilPoint& b = Problem.SoilPoints[bottom];
    const double len = b.Depth - a.Depth;
    pt.Aux[0] = len > 0.0 ? a.ElasticSubgrade + (pt.Depth - a.Depth) * (b.ElasticSubgrade - a.ElasticSubgrade) / len
                          : a.ElasticSubgrade;
}

void Curve(const PyPoint& pt, PyResult& r) {
    const double Esub = pt.Aux[0];
    // p = Esub b y; the modulus k = pmult Esub b does not depend on y.
    r.P = Esub * pt.B * pt.Y;
    r.Pu = 0.0;
    r.YSmall = std::numeric_limits<double>::infinity();
    r.EsSmall = pt.PMult * Esub * pt.B / pt.YMult;
}

void PrintPage(const PyPoint& pt) {
    const double Esub = pt.Aux[0];
    const double k = pt.PMult * Esub * pt.B;
    std::ostream& out = ReportOut();
    WritePyTitle(out, "p-y Curve for Elastic Subgrade");
    const std::string_view len = Run.Labels.Length;
    WritePyInteger(out, "Soil Layer Number", 55, pt.Layer, 10);
    WritePyValue(out, "Depth below pile head", 55, Problem.GroundDepth + pt.Z, 3, len);
    WritePyValue(out, "Depth below Ground Surface", 55, pt.Z, 3, len);
    WritePyValue(out, "Shaft Diameter", 55, pt.B, 3, len);
    WritePyValue(out, "Elastic Subgrade Modulus", 55, Esub, 3, ModulusUnitText());
    WritePyValue(out, "p-multiplier", 55, pt.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 55, pt.YMult, 5, "");
    out << '\n';
    // The p heading starts in column 22.
    const std::size_t used = 11 + (len.size() < 2 ? len.size() : 2);
    WritePyHeading(out, std::string(21 - used, ' '), "---------------   ---------------");

    // Deflections 0, b/8, 2b/8 .. 2b; p = k y.
    PyCurveTable t{};
    t.Depth = pt.Depth;
    t.CurveNumber = pt.Station;
    t.Line7Soil = "elastic subgrade soil";
    t.Line8Soil = "elastic subgrade";
    t.b_MinimalPointNumber = true;
    for (int n = 1; n <= MaxPyPoints; ++n) {
        const double y = (n - 1) * pt.B / 8.0;
        const std::size_t s = static_cast<std::size_t>(n);
        t.Y[s] = pt.YMult * y;
        t.P[s] = k * y;
        WritePyRow(out, t.Y[s], t.P[s]);
    }
    WritePyLine7(PlotOut(), t);
    for (int n = 1; n <= MaxPyPoints; ++n) WritePyLine8(PlotOut(), t, n);
}

}  // namespace kestro::elasticsubgrade
