// Elastic subgrade: a linear spring p = Esub b y whose modulus varies
// linearly with depth within the layer.

#include <cmath>
#include <limits>

#include "model/Channels.h"
#include "model/ProblemData.h"
#include "report/PyCurvePage.h"
#include "soil/ElasticSubgrade.h"

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
    BasicPyPage page = BasicPageOf(pt, "elastic subgrade soil", "elastic subgrade");
    page.Value = Esub;
    page.Curve.b_MinimalPointNumber = true;
    // Deflections 0, b/8, 2b/8 .. 2b; p = k y with k = pmult Esub b.
    for (int n = 1; n <= MaxPyPoints; ++n) {
        const double y = (n - 1) * pt.B / 8.0;
        const std::size_t s = static_cast<std::size_t>(n);
        page.Curve.Y[s] = pt.YMult * y;
        page.Curve.P[s] = k * y;
    }
    WriteElasticSubgradePage(ReportOut(), PlotOut(), page);
}

}  // namespace kestro::elasticsubgrade
