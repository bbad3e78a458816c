// Geometry of an input pile section in its own axes: the shape the section
// analysis slices, its outline, casing, cores and voids, and the bars or
// strands; the checks that the section can be analysed; and the dimensions at
// a station of a tapered section.

#include <cmath>
#include <cstddef>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/ProblemData.h"
#include "model/SectionTypes.h"
#include "report/SectionGeometryReport.h"
#include "section/Materials.h"
#include "section/SectionErrors.h"
#include "section/SliceTable.h"

namespace kestro {
namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

constexpr double InchesPerMeter = 1.0 / 0.0254;
constexpr double SquareInchesToSquareMeters = 0.00064516;

// Octagonal piles: a regular octagon across flats w, each corner of the
// square cut back by 0.2929 w along both sides.
constexpr double OctagonCornerCut = 0.2929;

bool NotNegative(int s, const char* item, double v) {
    return v >= 0.0 ? true : RejectSectionValue(ErrSectionValue, s, item, v, ValueNegative);
}

// Square of width w and depth d centred on the origin, counterclockwise,
// with each corner cut back by c along both sides (c = 0: four vertices).
void SquareOutline(double w, double d, double c, SectionGeometry& g) {
    const double a = w / 2.0, b = d / 2.0;
    int n = 0;
    auto put = [&](double x, double y) {
        ++n;
        g.OutlineX[U(n)] = x;
        g.OutlineY[U(n)] = y;
    };
    if (c > 0.0) {
        put(-a + c, -b);
        put(a - c, -b);
        put(a, -b + c);
        put(a, b - c);
        put(a - c, b);
        put(-a + c, b);
        put(-a, b - c);
        put(-a, -b + c);
    } else {
        put(-a, -b);
        put(a, -b);
        put(a, b);
        put(-a, b);
    }
    g.NumVertices = n;
}

void AddCore(SectionGeometry& g, double diameter, double thickness, bool concrete) {
    g.NumCores = 1;
    SectionCore& c = g.Cores[1];
    c = SectionCore{};
    c.Diameter = diameter;
    c.Thickness = thickness;
    c.b_Concrete = concrete;
}

// Nominal area of a seven-wire prestressing strand (ASTM A416) of diameter d
// in inches: 3/8, 7/16, 1/2, 1/2 special, 0.6 and 0.7 in; another diameter
// takes the strand's usual fill of 0.78 of its circle.
double StrandAreaSquareInches(double d) {
    constexpr double Diameters[] = {0.375, 0.4375, 0.5, 0.52, 0.6, 0.7};
    constexpr double Areas[] = {0.085, 0.115, 0.153, 0.167, 0.217, 0.294};
    for (int k = 0; k < 6; ++k)
        if (std::fabs(d - Diameters[k]) <= 0.005) return Areas[k];
    return 0.78 * SectionPi * d * d / 4.0;
}

// Diameter of a manually positioned strand from its size code 1..6 (the
// strand sizes above), inches.
double StrandDiameterOfCode(int code) {
    constexpr double Diameters[] = {0.375, 0.4375, 0.5, 0.52, 0.6, 0.7};
    return code >= 1 && code <= 6 ? Diameters[code - 1] : 0.0;
}

bool SetStrands(int s, const PileSection& S, SectionGeometry& g) {
    const bool si = IsSI();
    const int law = S.StrandTypeCode + 3;
    const bool strand = law >= RebarLawPci250 && law <= RebarLawPci300;
    const double toInches = si ? InchesPerMeter : 1.0;
    // Area of one strand or bar of diameter d (section length unit).
    auto area = [&](double d) {
        if (!strand) return SectionPi * d * d / 4.0;
        const double a = StrandAreaSquareInches(d * toInches);
        return si ? a * SquareInchesToSquareMeters : a;
    };
    const int n = S.NumStrands;
    if (n <= 0) return true;  // no strands: the prestress stage reports the missing steel
    if (S.StrandPositioning == StrandsManual) {
        for (int k = 1; k <= n; ++k) {
            const double d = StrandDiameterOfCode(S.StrandCodeA[U(k)]) / toInches;
            if (!(d > 0.0)) return RejectSectionValue(ErrSectionValue, s, "strand size code", S.StrandCodeA[U(k)], CodeOutOfRange);
            g.BarX[U(k)] = S.StrandX[U(k)];
            g.BarY[U(k)] = S.StrandY[U(k)];
            g.BarDiameter[U(k)] = d;
            g.BarArea[U(k)] = area(d);
        }
        g.NumBars = n;
        return true;
    }
    const double d = S.StrandDiameter;
    if (!PositiveSectionValue(s, "strand diameter", d)) return false;
    const double cover = DefaultStrandCover(si);
    bool placed = false;
    switch (S.StrandPattern) {
        case 1:
            if (n < 4) return RejectSectionValue(ErrBarsDoNotFit, s, "number of strands", n, TooFewBars);
            placed = PlaceBarsOnSquare(S.PileDiameter, cover, n, d, g.NumBars, g.BarX, g.BarY);
            break;
        case 2:
            if (n < 4) return RejectSectionValue(ErrBarsDoNotFit, s, "number of strands", n, TooFewBars);
            placed = PlaceBarsOnRectangle(S.PileDiameter, S.PileDiameter, cover, n, d, g.NumBars, g.BarX, g.BarY);
            break;
        default:
            placed = PlaceBarsOnCircle(S.PileDiameter, cover, n, 1, d, g.NumBars, g.BarX, g.BarY, g.Arrangement);
            g.b_CircleArrangement = placed;
            break;
    }
    if (!placed) return RejectSectionValue(ErrBarsDoNotFit, s, "strand diameter", d, ValueTooLarge);
    for (int k = 1; k <= g.NumBars; ++k) {
        g.BarDiameter[U(k)] = d;
        g.BarArea[U(k)] = area(d);
    }
    return true;
}

bool SetBars(int s, const PileSection& S, SectionGeometry& g) {
    if (S.RebarPattern == RebarCircle) {
        const double db = S.CircleBarDiameter;
        if (!PositiveSectionValue(s, "bar area", S.CircleBarArea)) return false;
        if (!PlaceBarsOnCircle(S.PileDiameter, S.Cover, S.BarCount1, S.BarCount2, db, g.NumBars, g.BarX, g.BarY,
                               g.Arrangement))
            return RejectSectionValue(ErrBarsDoNotFit, s, "concrete cover", S.Cover, ValueTooLarge);
        g.b_CircleArrangement = true;
        for (int k = 1; k <= g.NumBars; ++k) {
            g.BarDiameter[U(k)] = db;
            g.BarArea[U(k)] = S.CircleBarArea;
        }
        return true;
    }
    if (S.RebarPattern == RebarNoncircular) {
        g.NumBars = S.NumBars < MaxBars ? S.NumBars : MaxBars;
        for (int k = 1; k <= g.NumBars; ++k) {
            if (!PositiveSectionValue(s, "area of a reinforcing bar", S.BarArea[U(k)])) return false;
            if (!NotNegative(s, "diameter of a reinforcing bar", S.BarDiameter[U(k)])) return false;
            g.BarX[U(k)] = S.BarX[U(k)];
            g.BarY[U(k)] = S.BarY[U(k)];
            g.BarDiameter[U(k)] = S.BarDiameter[U(k)];
            g.BarArea[U(k)] = S.BarArea[U(k)];
        }
    }
    return true;
}

// True when the point lies inside the convex counterclockwise outline.
bool InsideOutline(const SectionGeometry& g, double x, double y) {
    const int n = g.NumVertices;
    for (int k = 1; k <= n; ++k) {
        const int next = k < n ? k + 1 : 1;
        const double ex = g.OutlineX[U(next)] - g.OutlineX[U(k)], ey = g.OutlineY[U(next)] - g.OutlineY[U(k)];
        const double px = x - g.OutlineX[U(k)], py = y - g.OutlineY[U(k)];
        const double scale = std::fabs(ex) + std::fabs(ey);
        if (ex * py - ey * px < -1.0e-9 * scale * scale) return false;
    }
    return true;
}

// Every bar must lie inside the concrete (inside the casing wall, outside
// every core or void) and must not overlap a bar of another position.
// `bundle` bars in a row belong to one position of a circular arrangement
// and touch by design.
bool BarsFit(int s, const SectionGeometry& g, int bundle) {
    constexpr double Slack = 1.0e-9;
    for (int k = 1; k <= g.NumBars; ++k) {
        const double x = g.BarX[U(k)], y = g.BarY[U(k)], r = g.BarDiameter[U(k)] / 2.0;
        if (!std::isfinite(x) || !std::isfinite(y)) return RejectSectionValue(ErrBarsDoNotFit, s, "reinforcing bar", k, BarsDoNotFit);
        bool inside = true;
        if (IsCircularShape(g.Shape)) {
            const double limit = g.Diameter / 2.0 - g.CasingThickness;
            inside = std::hypot(x, y) + r <= limit * (1.0 + Slack);
        } else {
            inside = InsideOutline(g, x - r, y - r) && InsideOutline(g, x + r, y - r) && InsideOutline(g, x + r, y + r) &&
                     InsideOutline(g, x - r, y + r);
        }
        for (int c = 1; inside && c <= g.NumCores; ++c) {
            const SectionCore& core = g.Cores[U(c)];
            inside = std::hypot(x - core.X, y - core.Y) - r >= core.Diameter / 2.0 * (1.0 - Slack);
        }
        if (!inside) return RejectSectionValue(ErrBarsDoNotFit, s, "reinforcing bar", k, BarsDoNotFit);
        for (int j = 1; j < k; ++j) {
            if (bundle > 1 && (j - 1) / bundle == (k - 1) / bundle) continue;
            const double gap = std::hypot(x - g.BarX[U(j)], y - g.BarY[U(j)]) - r - g.BarDiameter[U(j)] / 2.0;
            if (gap < -Slack * (r + 1.0e-30)) return RejectSectionValue(ErrBarsDoNotFit, s, "reinforcing bar", k, BarsDoNotFit);
        }
    }
    return true;
}

}  // namespace

bool RejectSectionValue(int number, int s, const char* item, double value, int problem) {
    Fail(ErrorKind::Input, number,
         [&](std::ostream& out) { WriteSectionValueError(out, number, s, item, value, problem); });
    return false;
}

bool PositiveSectionValue(int s, const char* item, double v) {
    return v > 0.0 ? true : RejectSectionValue(ErrSectionValue, s, item, v, ValueNotPositive);
}

double DefaultStrandCover(bool si) { return si ? 0.0762 : 3.0; }

bool BuildSectionGeometry(int s, int coreConcreteModel, SectionGeometry& g) {
    static const SectionGeometry Empty{};
    g = Empty;
    if (s < 1 || s > Problem.NumSections) return false;
    const PileSection& S = Problem.Sections[U(s)];
    g.Section = s;
    const SectionType& type = SectionTypeFor(S.SectionType);
    g.Shape = type.Shape;
    g.BarCircleOffset = S.RebarFurtherLength;
    int bundle = 1;
    switch (type.Outline) {
        case SectionOutline::Rectangle:
            if (!PositiveSectionValue(s, "width", S.RectangleWidth) || !PositiveSectionValue(s, "depth", S.RectangleDepth)) return false;
            g.Width = S.RectangleWidth;
            g.Depth = S.RectangleDepth;
            SquareOutline(g.Width, g.Depth, 0.0, g);
            break;
        case SectionOutline::Square:
        case SectionOutline::Octagon: {
            if (!PositiveSectionValue(s, "width", S.PileDiameter)) return false;
            g.Width = g.Depth = S.PileDiameter;
            const bool octagon = type.Outline == SectionOutline::Octagon;
            g.CornerChamfer = octagon ? OctagonCornerCut * g.Width : S.CornerChamfer;
            if (!NotNegative(s, "corner chamfer", g.CornerChamfer)) return false;
            if (!(g.CornerChamfer < g.Width / 2.0))
                return RejectSectionValue(ErrSectionValue, s, "corner chamfer", g.CornerChamfer, ValueTooLarge);
            SquareOutline(g.Width, g.Depth, g.CornerChamfer, g);
            break;
        }
        default:
            if (g.Shape == ShapeNone) return true;  // not sliced
            if (!PositiveSectionValue(s, "diameter", S.PileDiameter)) return false;
            g.Diameter = g.Width = g.Depth = S.PileDiameter;
            break;
    }
    // Casing, pipe wall, cores and voids.
    if (type.b_Casing) {
        if (!NotNegative(s, "casing thickness", S.CasingThickness)) return false;
        if (!(S.CasingThickness < g.Diameter / 2.0))
            return RejectSectionValue(ErrSectionValue, s, "casing thickness", S.CasingThickness, ValueTooLarge);
        g.CasingThickness = S.CasingThickness;
    }
    if (type.IsSteelPipe()) {
        if (!PositiveSectionValue(s, "wall thickness", S.WallThickness)) return false;
        if (!(S.WallThickness <= g.Diameter / 2.0))
            return RejectSectionValue(ErrSectionValue, s, "wall thickness", S.WallThickness, ValueTooLarge);
        g.CasingThickness = S.WallThickness;
    }
    if (type.b_Core) {
        if (!PositiveSectionValue(s, "core diameter", S.CoreDiameter) || !NotNegative(s, "core thickness", S.CoreThickness))
            return false;
        if (!(S.CoreDiameter <= g.Diameter - 2.0 * g.CasingThickness))
            return RejectSectionValue(ErrSectionValue, s, "core diameter", S.CoreDiameter, ValueTooLarge);
        if (!(S.CoreThickness <= S.CoreDiameter / 2.0))
            return RejectSectionValue(ErrSectionValue, s, "core thickness", S.CoreThickness, ValueTooLarge);
        AddCore(g, S.CoreDiameter, S.CoreThickness, coreConcreteModel != ConcreteNone);
    }
    if (type.b_Hollow) {
        // The void is a core without wall and without concrete.
        if (!PositiveSectionValue(s, "void diameter", S.VoidDiameter)) return false;
        const double room = g.Diameter > 0.0 ? g.Diameter : g.Width;
        if (!(S.VoidDiameter < room))
            return RejectSectionValue(ErrSectionValue, s, "void diameter", S.VoidDiameter, ValueTooLarge);
        AddCore(g, S.VoidDiameter, 0.0, false);
    }
    // Bars or strands.
    if (type.HasBars()) {
        if (!SetBars(s, S, g)) return false;
        if (S.RebarPattern == RebarCircle) bundle = S.BarCount2;
    } else if (type.IsPrestressed()) {
        if (!SetStrands(s, S, g)) return false;
    }
    return BarsFit(s, g, bundle);
}

bool GeometryAtStation(const SectionGeometry& g, double x, SectionGeometry& out) {
    out = g;
    if (!g.b_Tapered) return true;
    const TaperDimensions& T = g.Taper;
    if (x < 0.0) {
        Fail(ErrorKind::Input, 45, [&](std::ostream& to) { WriteNegativeStationError(to, x, g.Section, true); });
        return false;
    }
    if (x > T.Bottom) {
        Fail(ErrorKind::Input, 46,
             [&](std::ostream& to) { WriteStationBeyondSectionError(to, T.Bottom, g.Section, x, true); });
        return false;
    }
    const double span = T.Bottom - T.Top;
    double f = span > 0.0 ? (x - T.Top) / span : 0.0;
    if (f < 0.0) f = 0.0;
    if (f > 1.0) f = 1.0;
    if (IsCircularShape(g.Shape)) {
        const double d = T.Diameter0 + f * (T.Diameter1 - T.Diameter0);
        // Bar circle scaled with the shaft: (D - k)/(D0 - k), k the bar-circle offset.
        const double denominator = T.Diameter0 - g.BarCircleOffset;
        const double scale = denominator != 0.0 ? (d - g.BarCircleOffset) / denominator : 1.0;
        out.Diameter = out.Width = out.Depth = d;
        for (int k = 1; k <= out.NumBars; ++k) {
            out.BarX[U(k)] *= scale;
            out.BarY[U(k)] *= scale;
        }
        return true;
    }
    const double w = T.Width0 + f * (T.Width1 - T.Width0);
    const double d = T.Depth0 + f * (T.Depth1 - T.Depth0);
    const double sx = T.Width0 != 0.0 ? w / T.Width0 : 1.0;
    const double sy = T.Depth0 != 0.0 ? d / T.Depth0 : 1.0;
    out.Width = w;
    out.Depth = d;
    for (int k = 1; k <= out.NumBars; ++k) {
        out.BarX[U(k)] *= sx;
        out.BarY[U(k)] *= sy;
    }
    for (int k = 1; k <= out.NumVertices; ++k) {
        out.OutlineX[U(k)] *= sx;
        out.OutlineY[U(k)] *= sy;
    }
    return true;
}

}  // namespace kestro
