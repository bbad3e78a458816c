#include "soil/SoilProperties.h"

#include <cmath>
#include <cstddef>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/RockSiltMessages.h"
#include "report/SoilMessages.h"
#include "soil/PyCriteria.h"
#include "soil/SoilModels.h"

namespace kestro {

namespace {

constexpr double NodeTolerance = 1.0E-6;

int NumPoints() {
    const int n = Problem.NumSoilPoints;
    return n < 0 ? 0 : (n > MaxStrengthPoints ? MaxStrengthPoints : n);
}
const SoilPoint& Point(int p) { return Problem.SoilPoints[static_cast<std::size_t>(p)]; }
double Depth(int p) { return Point(p).Depth; }
const SoilLayer& Layer(int k) { return Problem.Layers[static_cast<std::size_t>(k)]; }
int NumLayers() {
    const int n = Problem.NumLayers;
    return n < 0 ? 0 : (n > MaxSoilLayers ? MaxSoilLayers : n);
}

using Column = double (*)(const SoilPoint&);
double CohesionOf(const SoilPoint& s) { return s.Cohesion; }
double PhiOf(const SoilPoint& s) { return s.FrictionAngle; }
double Eps50Of(const SoilPoint& s) { return s.Epsilon50; }
double RqdOf(const SoilPoint& s) { return s.RQD; }
double UnitWeightOf(const SoilPoint& s) { return s.UnitWeight; }

// The class of layer k at an interface, `value` being its strength there.
int ClassOfLayer(int k, double value) {
    const int type = Layer(k).SoilType;
    const SoilModel* e = CriterionOf(type);
    if (e != nullptr && e->b_ClassByStrength) return value > 0.0 ? ClassCohesive : ClassCohesionless;
    return e != nullptr ? e->SoilClass : ClassNone;
}

// Input data error `number`, its block written by write(out, depth).
void FailAt(void (*write)(std::ostream&, double), double depth, int number) {
    Fail(ErrorKind::Input, number, [&](std::ostream& out) { write(out, depth); });
}

// Lookup by depth used for the friction angle and the strain e50: exact
// comparisons; at an interface the two values are averaged unless one of them
// is zero; at the pile tip the upper value. `below` is set when X lies below
// the table.
double InterfaceColumnAt(double X, Column col, bool& below) {
    below = false;
    const int n = NumPoints();
    int i = 0;
    for (int p = 2; p <= n; ++p)
        if (X <= Depth(p)) {
            i = p;
            break;
        }
    if (i == 0) {
        below = true;
        return 0.0;
    }
    const double v = col(Point(i));
    if (X == Depth(n)) return v;
    if (X == Depth(i)) {
        if (i >= n || Depth(i + 1) != Depth(i)) return v;
        if (X == CurrentPileLength()) return v;
        const double lower = col(Point(i + 1));
        if (lower < 1.0E-20) return v;
        if (v < 1.0E-20) return lower;
        return 0.5 * (v + lower);
    }
    const double len = Depth(i) - Depth(i - 1);
    if (len <= 0.0) return v;
    const double upper = col(Point(i - 1));
    return upper + (X - Depth(i - 1)) * (v - upper) / len;
}

// Trapezoid area under the piecewise-linear column from the first table point
// down to X (X within the table). Segments shorter than 1.0E-6 add nothing;
// beyond the last point the last segment is extended.
double AreaTo(double X, Column col) {
    const int n = NumPoints();
    double area = 0.0;
    for (int p = 2; p <= n; ++p) {
        const double d0 = Depth(p - 1), d1 = Depth(p);
        const double len = d1 - d0;
        if (len < NodeTolerance) continue;
        const double v0 = col(Point(p - 1)), v1 = col(Point(p));
        if (X >= d1 && p < n) {
            area += 0.5 * (v0 + v1) * len;
            continue;
        }
        if (X <= d0) break;
        const double vx = v0 + (X - d0) * (v1 - v0) / len;
        area += 0.5 * (v0 + vx) * (X - d0);
        break;
    }
    return area;
}

}  // namespace

double InterpolateInLayer(int k, double X, double topValue, double bottomValue) {
    if (k < 1 || k > MaxSoilLayers) return topValue;
    const double top = Layer(k).XTop, len = Layer(k).XBottom - top;
    if (!(len > 0.0)) return topValue;
    return topValue + (X - top) * (bottomValue - topValue) / len;
}

double CurrentPileLength() { return Pile.Length > 0.0 ? Pile.Length : Problem.PileLength; }

bool AtStrengthNode(double X) {
    const int n = NumPoints();
    for (int p = 2; p <= n - 1; ++p)
        if (std::fabs(X - Depth(p)) <= NodeTolerance) return true;
    return false;
}

double f_c(double X) {
    const int n = NumPoints();
    const bool atNode = AtStrengthNode(X);
    const bool atTip = std::fabs(X - CurrentPileLength()) <= NodeTolerance;

    int i = 0;
    for (int p = 2; p <= n; ++p)
        if (X <= Depth(p) + NodeTolerance) {
            i = p;
            break;
        }
    if (i == 0) {
        const double deepest = n >= 1 ? Depth(n) : 0.0;
        Fail(ErrorKind::Input, 5, [&](std::ostream& out) { WriteInputError5(out, X, deepest); });
        return 0.0;
    }
    if (std::fabs(X - Depth(n)) <= NodeTolerance) return Point(n).Cohesion;

    if (!atNode) {
        const double len = Depth(i) - Depth(i - 1);
        if (!(len > 0.0)) {
            FailAt(WriteInputError60, X, 60);
            return 0.0;
        }
        const double c0 = Point(i - 1).Cohesion, c1 = Point(i).Cohesion;
        return c0 + (X - Depth(i - 1)) * (c1 - c0) / len;
    }

    // At a layer interface: locate the pair of layers that meet at X.
    const int nl = NumLayers();
    int top = 0;
    InterfaceDump dump{};
    dump.X = X;
    dump.b_AtInterface = true;
    dump.b_AtTip = atTip;
    dump.b_AtNode = atNode;
    for (int kt = 1; kt + 1 <= nl; ++kt) {
        dump.LayerAbove = kt;
        dump.LayerBelow = kt + 1;
        dump.GapAbove = std::fabs(X - Layer(kt).XBottom);
        dump.GapBelow = std::fabs(X - Layer(kt + 1).XTop);
        if (dump.GapAbove < NodeTolerance && dump.GapBelow < NodeTolerance) {
            top = kt;
            break;
        }
    }
    if (top == 0 || i + 1 > n) {
        WriteInterfaceNotFound(ReportOut(), dump);
        TerminateRun("RUN00999", 999);
        return 0.0;
    }

    const double ca = Point(i).Cohesion, cb = Point(i + 1).Cohesion;
    if (atTip) return ca;
    const int above = ClassOfLayer(top, ca), below = ClassOfLayer(top + 1, cb);
    // A layer whose model has no shear strength of its own (frozen soil,
    // elastic subgrade, loess and the like) contributes none at the interface,
    // like a cohesionless layer: the strength is that of the layer that has one.
    const bool looseBelow = below == ClassCohesionless || below == ClassUser || below == ClassNone;
    const bool looseAbove = above == ClassCohesionless || above == ClassUser || above == ClassNone;
    if (above == ClassCohesive && below == ClassCohesive) return (ca + cb) * 0.5;
    if (above == ClassCohesive && below == ClassRock) return (2.0 * ca + cb) * 0.5;
    if (above == ClassRock && below == ClassCohesive) return (2.0 * cb + ca) * 0.5;
    if (above == ClassRock && below == ClassRock) return (ca + cb) * 0.5;
    if ((above == ClassCohesive || above == ClassRock) && looseBelow) return ca;
    if (looseAbove && (below == ClassCohesive || below == ClassRock)) return cb;

    ClassPairDump d{};
    d.X = X;
    d.ClassAbove = above;
    d.ClassBelow = below;
    d.PointIndex = i;
    d.b_AtTip = atTip;
    d.SoilAbove = Layer(top).SoilType;
    d.SoilBelow = Layer(top + 1).SoilType;
    Fail(ErrorKind::Runtime, 24, [&](std::ostream& out) { WriteRuntimeError24(out, d); });
    return 0.0;
}

double FrictionAngleAt(double X) {
    bool below = false;
    const double v = InterfaceColumnAt(X, PhiOf, below);
    if (below) {
        FailAt(WriteInputError4, X, 4);
        return 0.0;
    }
    return v;
}

double Eps50At(double X) {
    bool below = false;
    const double v = InterfaceColumnAt(X, Eps50Of, below);
    return below ? 0.0 : v;
}

double RqdAt(double X) {
    bool below = false;
    const double v = InterfaceColumnAt(X, RqdOf, below);
    if (below) {
        FailAt(WriteInputError31, X, 31);
        return 0.0;
    }
    if (v < 0.0 || v > 100.0) {
        FailAt(WriteInputError49, v, 49);
        return 0.0;
    }
    return v;
}

double KrmAt(double X) {
    const int n = NumPoints();
    for (int i = 2; i <= n; ++i) {
        const double d0 = Depth(i - 1), d1 = Depth(i);
        if (!(d0 <= X && X <= d1)) continue;
        if (X == d1) {
            // an interface (two points of equal depth) takes the lower layer's value, except at the pile tip
            if (i < n && Depth(i + 1) == d1 && X != CurrentPileLength()) return Point(i + 1).Epsilon50;
            return Point(i).Epsilon50;
        }
        if (X == d0) return Point(i - 1).Epsilon50;
        const double v0 = Point(i - 1).Epsilon50, v1 = Point(i).Epsilon50;
        return v0 + (X - d0) * (v1 - v0) / (d1 - d0);
    }
    return 0.0;
}

double LayerValueAt(int k, double X, double SoilPoint::*column, bool& b_ZeroThickness) {
    b_ZeroThickness = false;
    if (k < 1 || k > NumLayers()) return 0.0;
    const SoilPoint& top = Point(2 * k - 1);
    const SoilPoint& bottom = Point(2 * k);
    b_ZeroThickness = Layer(k).XBottom - Layer(k).XTop == 0.0;
    return InterpolateInLayer(k, X, top.*column, bottom.*column);
}

double AverageShearStrength(double X) {
    const double g = Problem.GroundDepth;
    const int n = NumPoints();
    if (X < g) return 0.0;
    if (n < 2) return 0.0;
    if (X - g <= NodeTolerance) return f_c(X);
    if (X > Depth(n) + NodeTolerance) {
        FailAt(WriteInputError3, X, 3);
        return 0.0;
    }
    return AreaTo(X, CohesionOf) / (X - g);
}

double AverageUnitWeight(double X) {
    const double g = Problem.GroundDepth;
    const int n = NumPoints();
    if (X < g - NodeTolerance) return 0.0;
    if (X - g <= NodeTolerance) {
        for (int p = 1; p <= n; ++p)
            if (Point(p).UnitWeight > 0.0) return Point(p).UnitWeight;
        return 0.0;
    }
    if (n < 2 || X > Depth(n) + NodeTolerance) {
        FailAt(WriteInputError15, X, 15);
        return 0.0;
    }
    return AreaTo(X, UnitWeightOf) / (X - g);
}

double InterpolateCoefficient(double r, const double (&values)[10], const double (&points)[10]) {
    if (r > points[9]) return values[9];
    int j = 9;  // zero-based index of the upper point
    for (int m = 1; m <= 9; ++m)
        if (r < points[m]) {
            j = m;
            break;
        }
    const double len = points[j] - points[j - 1];
    if (len == 0.0) return values[j - 1];
    return values[j - 1] + (r - points[j - 1]) * (values[j] - values[j - 1]) / len;
}

double StiffClayAs(double z) {
    if (z > 3.3) return 0.6;
    // As = 0.2345 + 0.2958796 z - 0.0786111 z^2 + 0.0068981 z^3, at most 0.6
    const double a = static_cast<double>(0.2345f) + static_cast<double>(0.2958796f) * z -
                     static_cast<double>(0.0786111f) * z * z + static_cast<double>(0.0068981f) * z * z * z;
    return a > 0.6 ? 0.6 : a;
}

double StiffClayAc(double z) {
    if (z > 1.5) return 0.3;
    // Ac = 0.2 + 0.153333 z - 0.075 z^2 + 0.011667 z^3, at most 0.3
    const double a = 0.2 + static_cast<double>(0.153333f) * z - 0.075 * z * z +
                     static_cast<double>(0.011667f) * z * z * z;
    return a > 0.3 ? 0.3 : a;
}

double ClaySlopeFactor(double theta, double deflection) {
    constexpr double Tiny = 1.0E-20;
    if (std::fabs(theta) <= Tiny || std::fabs(deflection) <= Tiny) return 1.0;
    const double a = std::fabs(theta);
    const bool same = (theta > Tiny && deflection > Tiny) || (theta < -Tiny && deflection < -Tiny);
    if (same) return 1.0 / (1.0 + std::tan(a));
    // cos|theta| cos(pi/4) / cos(|theta| + pi/4) = 1 / (1 - tan|theta|)
    return std::cos(a) * static_cast<double>(0.70710677f) / std::cos(a + 0.78539816339744831);
}

}  // namespace kestro
