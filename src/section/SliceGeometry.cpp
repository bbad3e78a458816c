// Section geometry and slicing: the cross-section, turned so that bending acts
// about a horizontal axis, is cut into horizontal slices of equal height and
// the net area of every material is stored per slice. The force integration
// then reads only these areas.

#include <cmath>
#include <cstddef>

#include "section/SliceTable.h"

namespace kestro {
namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Circle of diameter d whose top lies at yTop: its area per slice is added to
// `area` times `sign` (+1 or -1). The cumulative segment areas
// SegmentArea(d, yTop - SliceY(i)) are taken from the slice holding the top to
// the one above the slice holding the bottom, the bottom slice's cumulative
// value is the whole circle, and differences turn them into slice areas, so
// the parts always sum to the whole circle.
void AddCircleSlices(const SliceTable& t, double d, double yTop, double wholeArea, double sign, SliceArray& area) {
    if (!(d > 0.0) || !(wholeArea > 0.0)) return;
    const int top = fn_FindSliceY(t, yTop);
    const int bottom = fn_FindSliceY(t, yTop - d);
    if (top >= bottom) {
        area[U(top)] += sign * wholeArea;
        return;
    }
    double previous = 0.0;
    for (int i = top; i <= bottom; ++i) {
        const double cumulative = i < bottom ? SegmentArea(d, yTop - t.SliceY[U(i)]) : wholeArea;
        area[U(i)] += sign * (cumulative - previous);
        previous = cumulative;
    }
}

double CircleArea(double d) { return SectionPi * d * d / 4.0; }

// The 12-vertex outline of an H-pile centred on the origin, counterclockwise:
// flange width bf along x, depth d along y, flange thickness tf, web tw.
void HPileOutline(double bf, double d, double tf, double tw, std::array<double, HPileVertices + 1>& x,
                  std::array<double, HPileVertices + 1>& y) {
    const double b = bf / 2.0, h = d / 2.0, w = tw / 2.0;
    const double px[HPileVertices] = {-b, b, b, w, w, b, b, -b, -b, -w, -w, -b};
    const double py[HPileVertices] = {-h, -h, -h + tf, -h + tf, h - tf, h - tf, h, h, h - tf, h - tf, -h + tf, -h + tf};
    for (int k = 1; k <= HPileVertices; ++k) {
        x[U(k)] = px[k - 1];
        y[U(k)] = py[k - 1];
    }
}

}  // namespace

// --- Area primitives --------------------------------------------------------

double SegmentArea(double D, double h) {
    if (!(D > 0.0)) return 0.0;
    // b = cos(phi) of the half angle phi subtended by the chord at depth h.
    double b = 1.0 - h / (D / 2.0);
    if (std::fabs(b) > 1.0) {
        if (b > 0.99) b = 1.0;
        if (b < -0.99) b = -1.0;
    }
    double phi;
    if (std::fabs(b) < 1.0e-12) {
        phi = SectionPi / 2.0;
    } else {
        phi = std::atan(std::sqrt(std::fabs(1.0 - b * b)) / b);
        if (b < 0.0) phi += SectionPi;
    }
    // Segment of half angle phi: A = D^2/8 (2 phi - sin 2 phi).
    return D * D / 8.0 * (2.0 * phi - std::sin(2.0 * phi));
}

double PolygonAreaBelow(const double* x, const double* y, int n, double level) {
    if (n < 3 || n > MaxOutlineVertices) return 0.0;
    // Clip against the half-plane y <= level (each edge: keep a flagged start
    // vertex, add the crossing when exactly one end is flagged), then take the
    // shoelace sum. At most two points per edge.
    constexpr int Capacity = 2 * MaxOutlineVertices;
    double cx[Capacity], cy[Capacity];
    int m = 0;
    auto append = [&](double px, double py) {
        if (m > 0) {
            const double dx = px - cx[m - 1], dy = py - cy[m - 1];
            if (static_cast<float>(dx * dx + dy * dy) < 1.0e-8f) return;  // merge near-coincident points
        }
        cx[m] = px;
        cy[m] = py;
        ++m;
    };
    for (int k = 1; k <= n; ++k) {
        const int next = k < n ? k + 1 : 1;
        const double x0 = x[k], y0 = y[k], x1 = x[next], y1 = y[next];
        const bool in0 = y0 <= level, in1 = y1 <= level;
        if (in0) append(x0, y0);
        if (in0 != in1) {
            const double xc = y1 != y0 ? x0 + (x1 - x0) * (level - y0) / (y1 - y0) : x0;
            append(xc, level);
        }
    }
    if (m > 1) {
        const double dx = cx[m - 1] - cx[0], dy = cy[m - 1] - cy[0];
        if (static_cast<float>(dx * dx + dy * dy) < 1.0e-8f) --m;
    }
    if (m < 3) return 0.0;
    double sum = 0.0;
    for (int k = 0; k < m; ++k) {
        const int next = k + 1 < m ? k + 1 : 0;
        sum += cx[k] * cy[next] - cx[next] * cy[k];
    }
    return sum / 2.0;
}

double PolygonSliceArea(const double* x, const double* y, int n, double bottom, double top) {
    return PolygonAreaBelow(x, y, n, top) - PolygonAreaBelow(x, y, n, bottom);
}

void TurnPoints(double* x, double* y, int n, double sinTheta, double cosTheta) {
    for (int k = 1; k <= n; ++k) {
        const double xk = x[k], yk = y[k];
        x[k] = xk * cosTheta - yk * sinTheta;
        y[k] = xk * sinTheta + yk * cosTheta;
    }
}

void PolygonExtent(const double* y, int n, double& highest, double& lowest) {
    highest = lowest = n >= 1 ? y[1] : 0.0;
    for (int k = 2; k <= n; ++k) {
        if (y[k] > highest) highest = y[k];
        if (y[k] < lowest) lowest = y[k];
    }
}

int fn_FindSliceY(const SliceTable& t, double yReal) {
    // An ordinate above the top fibre belongs to the top slice, one below the
    // bottom fibre to the last slice.
    if (yReal > t.SliceY[0]) return 1;
    for (int i = 1; i < t.NumSlices; ++i)
        if (t.SliceY[U(i - 1)] >= yReal && yReal > t.SliceY[U(i)]) return i;
    return t.NumSlices;
}

void FillSliceDepths(SliceTable& t) {
    if (t.Shape < ShapeSquarePile || t.Shape > ShapeComposite) return;
    for (int i = 1; i <= t.NumSlices; ++i)
        t.SliceDepth[U(i)] = (static_cast<double>(i) - 0.5) * t.SectionDepth / t.NumSlicesReal;
}

// --- Component area routines --------------------------------------------------

void Calculate_Concrete_Slice_Areas_for_Drilled_Shaft(SliceTable& t, double diameter) {
    t.ConcreteArea.fill(0.0);
    AddCircleSlices(t, diameter, diameter / 2.0, CircleArea(diameter), 1.0, t.ConcreteArea);
}

void Calculate_Rectangle_Concrete_Slice_Areas(SliceTable& t, double width, double depth) {
    t.ConcreteArea.fill(0.0);
    if (t.Theta == 0.0 && t.NumVertices == 4) {
        // Unturned rectangle: every slice is width x slice height.
        for (int i = 1; i <= t.NumSlices; ++i) t.ConcreteArea[U(i)] = width * depth / t.NumSlicesReal;
        return;
    }
    Calculate_Polygon_Concrete_Slice_Areas(t);
}

void Calculate_Polygon_Concrete_Slice_Areas(SliceTable& t) {
    t.ConcreteArea.fill(0.0);
    for (int i = 1; i <= t.NumSlices; ++i) {
        const double top = t.SliceY[U(i - 1)];
        t.ConcreteArea[U(i)] =
            PolygonSliceArea(t.OutlineX.data(), t.OutlineY.data(), t.NumVertices, top - t.SliceThickness, top);
    }
}

void Calculate_Rebar_Slice_Areas(SliceTable& t) {
    t.RebarArea.fill(0.0);
    const int n = t.NumBars < MaxBars ? t.NumBars : MaxBars;
    for (int b = 1; b <= n; ++b) {
        const double area = t.BarArea[U(b)];
        if (!(area > 0.0)) continue;
        // The bar is sliced as a circle of its own area (equivalent diameter
        // sqrt(4 A / pi)) centred on the bar's centre. A strand's nominal
        // diameter is larger than that of a circle of its area (0.5 in
        // against 0.441 in for 0.153 sq. in.): a circle hung from the top of
        // the nominal diameter would put every strand's area 0.029 in low,
        // and the prestress force would bend a symmetric section at zero
        // curvature.
        const double deq = std::sqrt(4.0 * area / SectionPi);
        const double yTop = t.BarY[U(b)] + deq / 2.0;
        const int top = fn_FindSliceY(t, yTop);
        const int bottom = fn_FindSliceY(t, yTop - deq);
        if (top >= bottom) {
            t.RebarArea[U(top)] += area;
            continue;
        }
        double previous = 0.0;
        for (int i = top; i <= bottom; ++i) {
            const double cumulative = i < bottom ? SegmentArea(deq, yTop - t.SliceY[U(i)]) : area;
            t.RebarArea[U(i)] += cumulative - previous;
            previous = cumulative;
        }
    }
    for (int i = 1; i <= t.NumSlices; ++i) t.ConcreteArea[U(i)] -= t.RebarArea[U(i)];
}

void Calculate_Casing_Slice_Areas(SliceTable& t) {
    t.CasingArea.fill(0.0);
    const double d = t.CasingDiameter, wall = t.CasingThickness;
    // Without a wall there is no casing: nothing to add and no concrete removed.
    if (!(wall > 0.0)) return;
    AddCircleSlices(t, d, d / 2.0, CircleArea(d), 1.0, t.CasingArea);
    const double di = d - 2.0 * wall;
    AddCircleSlices(t, di, d / 2.0 - wall, CircleArea(di), -1.0, t.CasingArea);
    if (t.Shape != ShapeSteelPipe)
        for (int i = 1; i <= t.NumSlices; ++i) t.ConcreteArea[U(i)] -= t.CasingArea[U(i)];
}

void Calculate_Core_Slice_Areas(SliceTable& t, int core) {
    if (core < 1 || core > t.NumCores) return;
    const SectionCore& c = t.Cores[U(core)];
    SliceArray& outer = t.CoreOuterArea[U(core)];
    outer.fill(0.0);
    const double yTop = c.Y + c.Diameter / 2.0;
    AddCircleSlices(t, c.Diameter, yTop, CircleArea(c.Diameter), 1.0, outer);
    // Concrete after subtraction of the outer core.
    for (int i = 1; i <= t.NumSlices; ++i) t.ConcreteArea[U(i)] -= outer[U(i)];
    SliceArray inner{};
    const double di = c.Diameter - 2.0 * c.Thickness;
    // A core without a wall is a void: no steel and no concrete inside it.
    if (c.Thickness > 0.0) {
        AddCircleSlices(t, di, yTop - c.Thickness, CircleArea(di), 1.0, inner);
        for (int i = 1; i <= t.NumSlices; ++i) t.CoreSteelArea[U(i)] += outer[U(i)] - inner[U(i)];
        if (c.b_Concrete)
            for (int i = 1; i <= t.NumSlices; ++i) t.CoreConcreteArea[U(i)] += inner[U(i)];
    }
    const int top = fn_FindSliceY(t, yTop), bottom = fn_FindSliceY(t, yTop - c.Diameter);
    if (core == 1 || top < t.CoreTopSlice) t.CoreTopSlice = top;
    if (core == 1 || bottom > t.CoreBottomSlice) t.CoreBottomSlice = bottom;
}

void Calculate_HP_Slice_Areas(SliceTable& t) {
    t.HPileArea.fill(0.0);
    if (t.NumHPileVertices < 3) return;
    PolygonExtent(t.HPileY.data(), t.NumHPileVertices, t.HPileTop, t.HPileBottom);
    t.HPileTopSlice = fn_FindSliceY(t, t.HPileTop);
    t.HPileBottomSlice = fn_FindSliceY(t, t.HPileBottom);
    for (int i = t.HPileTopSlice; i <= t.HPileBottomSlice; ++i)
        t.HPileArea[U(i)] = PolygonSliceArea(t.HPileX.data(), t.HPileY.data(), t.NumHPileVertices, t.SliceY[U(i)],
                                             t.SliceY[U(i - 1)]);
    for (int i = 1; i <= t.NumSlices; ++i) t.ConcreteArea[U(i)] -= t.HPileArea[U(i)];
}

void SliceSection(SliceTable& t) {
    t.CoreSteelArea.fill(0.0);
    t.CoreConcreteArea.fill(0.0);
    t.CoreTopSlice = 1;
    t.CoreBottomSlice = 0;
    const double d = t.SectionDepth;
    switch (t.Shape) {
        case ShapeSquarePile:
        case ShapeSquarePileWithCore:
            Calculate_Rectangle_Concrete_Slice_Areas(t, t.SectionWidth, d);
            Calculate_Rebar_Slice_Areas(t);
            if (t.Shape == ShapeSquarePileWithCore) Calculate_Core_Slice_Areas(t, 1);
            break;
        case ShapeRoundPile:
        case ShapeShaftWithHPile:
        case ShapeShaftWithPipe:
            Calculate_Concrete_Slice_Areas_for_Drilled_Shaft(t, d);
            if (t.Shape == ShapeShaftWithHPile) {
                Calculate_HP_Slice_Areas(t);
            } else {
                Calculate_Rebar_Slice_Areas(t);
                if (t.Shape == ShapeShaftWithPipe) Calculate_Core_Slice_Areas(t, 1);
            }
            break;
        case ShapeShaftWithCasing:
        case ShapeShaftWithCasingAndCore:
        case ShapeShaftWithCasingAndHPile:
            Calculate_Concrete_Slice_Areas_for_Drilled_Shaft(t, d);
            Calculate_Casing_Slice_Areas(t);
            Calculate_Rebar_Slice_Areas(t);
            if (t.Shape == ShapeShaftWithCasingAndCore) Calculate_Core_Slice_Areas(t, 1);
            if (t.Shape == ShapeShaftWithCasingAndHPile) Calculate_HP_Slice_Areas(t);
            break;
        case ShapeSteelPipe:
            t.ConcreteArea.fill(0.0);
            t.RebarArea.fill(0.0);
            Calculate_Casing_Slice_Areas(t);
            break;
        case ShapeNoncircular:
        case ShapeComposite:
            Calculate_Polygon_Concrete_Slice_Areas(t);
            Calculate_Rebar_Slice_Areas(t);
            if (t.Shape == ShapeComposite)
                for (int k = 1; k <= t.NumCores; ++k) Calculate_Core_Slice_Areas(t, k);
            break;
        default:
            return;
    }
    t.TotalConcreteArea = 0.0;
    t.TotalRebarArea = 0.0;
    for (int i = 1; i <= t.NumSlices; ++i) {
        t.TotalConcreteArea += t.ConcreteArea[U(i)];
        t.TotalRebarArea += t.RebarArea[U(i)];
    }
}

// --- Turning and slice boundaries ---------------------------------------------

void PrepareSlices(const SectionGeometry& g, double theta, SliceTable& t) {
    static const SliceTable Empty{};
    static unsigned long generation = 0;
    t = Empty;
    t.Generation = ++generation;
    t.Shape = g.Shape;
    t.Theta = theta;
    t.SinTheta = std::sin(theta);
    t.CosTheta = std::cos(theta);

    t.NumBars = g.NumBars < MaxBars ? g.NumBars : MaxBars;
    t.BarX = g.BarX;
    t.BarY = g.BarY;
    t.BarArea = g.BarArea;
    t.BarDiameter = g.BarDiameter;
    TurnPoints(t.BarX.data(), t.BarY.data(), t.NumBars, t.SinTheta, t.CosTheta);

    t.NumCores = g.NumCores < MaxSectionCores ? g.NumCores : MaxSectionCores;
    for (int k = 1; k <= t.NumCores; ++k) {
        SectionCore c = g.Cores[U(k)];
        const double x = c.X, y = c.Y;
        c.X = x * t.CosTheta - y * t.SinTheta;
        c.Y = x * t.SinTheta + y * t.CosTheta;
        t.Cores[U(k)] = c;
    }

    if (g.Shape == ShapeShaftWithHPile || g.Shape == ShapeShaftWithCasingAndHPile) {
        t.NumHPileVertices = HPileVertices;
        HPileOutline(g.HPileFlangeWidth, g.HPileDepth, g.HPileFlangeThickness, g.HPileWebThickness, t.HPileX, t.HPileY);
        TurnPoints(t.HPileX.data(), t.HPileY.data(), t.NumHPileVertices, t.SinTheta, t.CosTheta);
    }

    double top = 0.0, bottom = 0.0;
    if (IsCircularShape(g.Shape)) {
        top = g.Diameter / 2.0;
        bottom = -top;
        t.SectionWidth = g.Diameter;
        t.CasingDiameter = g.Diameter;
        t.CasingThickness = g.CasingThickness;
    } else {
        t.NumVertices = g.NumVertices < MaxOutlineVertices ? g.NumVertices : MaxOutlineVertices;
        t.OutlineX = g.OutlineX;
        t.OutlineY = g.OutlineY;
        TurnPoints(t.OutlineX.data(), t.OutlineY.data(), t.NumVertices, t.SinTheta, t.CosTheta);
        PolygonExtent(t.OutlineY.data(), t.NumVertices, top, bottom);
        double right = 0.0, left = 0.0;
        PolygonExtent(t.OutlineX.data(), t.NumVertices, right, left);
        t.SectionWidth = g.Shape == ShapeSquarePile || g.Shape == ShapeSquarePileWithCore ? g.Width : right - left;
        if (t.Theta != 0.0) t.SectionWidth = right - left;
    }
    t.SectionDepth = top - bottom;
    t.SliceThickness = std::fabs(top - bottom) / t.NumSlicesReal;
    for (int i = 0; i <= t.NumSlices; ++i) t.SliceY[U(i)] = top - static_cast<double>(i) * t.SliceThickness;
    FillSliceDepths(t);
    SliceSection(t);
}

}  // namespace kestro
