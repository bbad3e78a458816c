#include "HtmlReport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string_view>
#include <utility>

#include "Tables.h"

namespace kestro::results {
char* CoordinateText(char* buf, double v) {
    v = std::isnan(v) ? 0.0 : std::clamp(v, -1.0e5, 1.0e5);
    // v * 100 = s + e exactly (the product's rounding error by a fused
    // multiply-add). n, s rounded to the nearest integer with ties to even, is
    // the correctly rounded number of hundredths except where s lies exactly
    // half-way and the error decides the side: with |s| <= 1E7, s - n is
    // exact and a rounding error of at most half an ulp of s cannot carry any
    // other s across a half.
    const double s = v * 100.0;
    const double e = std::fma(v, 100.0, -s);
    double n = std::nearbyint(s);
    const double d = s - n;
    if (d == 0.5 && e > 0.0) n += 1.0;
    if (d == -0.5 && e < 0.0) n -= 1.0;
    auto hundredths = static_cast<unsigned long long>(std::fabs(n));
    char digits[24];
    char* p = digits + sizeof digits;
    for (int k = 0; k < 3 || hundredths != 0; ++k) {  // at least "0.00"
        *--p = static_cast<char>('0' + hundredths % 10);
        hundredths /= 10;
    }
    char* out = buf;
    if (std::signbit(v)) *out++ = '-';  // "-0.00" for small negatives, as %.2f writes
    const char* const end = digits + sizeof digits;
    while (p < end - 2) *out++ = *p++;
    *out++ = '.';
    *out++ = *p++;
    *out++ = *p;
    return out;
}

namespace {

std::string Escape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// Coordinates in the SVG: two decimals are far below a pixel. Points far off
// the chart (values beyond the axis) are held at a finite distance and clipped.
// A report draws tens of thousands of points, so the text is formed from the
// integer number of hundredths rather than by a general conversion.
std::string Px(double v) {
    char buf[32];
    return std::string(buf, CoordinateText(buf, v));
}

// Tick labels: four significant figures in units of the axis multiplier 10^k.
std::string TickText(double v, double step, int k) {
    if (std::fabs(v) < step * 1e-9) v = 0.0;
    return DisplayNumber(v / std::pow(10.0, k));
}

// Engineering exponent k (a multiple of 3) that keeps tick labels short: ticks
// of 1.5E7 read as 15 with "x10^6" on the axis title; 0 for moderate values.
int AxisExponent(double lo, double hi) {
    const double m = std::max(std::fabs(lo), std::fabs(hi));
    if (!(m > 0.0)) return 0;
    const int e = static_cast<int>(std::floor(std::log10(m)));
    if (e < 5 && e > -3) return 0;
    return 3 * static_cast<int>(std::floor(e / 3.0));
}

std::string WithExponent(const std::string& title, int k) {
    if (k == 0) return title;
    static constexpr const char* Sup[] = {"\u2070", "\u00b9", "\u00b2", "\u00b3", "\u2074",
                                          "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
    std::string digits = std::to_string(k < 0 ? -k : k), sup = k < 0 ? "\u207b" : "";
    for (char d : digits) sup += Sup[d - '0'];
    return title + " (\u00d710" + sup + ")";
}

// Step of 1, 2 or 5 times a power of ten giving about `target` intervals.
double NiceStep(double range, int target) {
    const double raw = range / target;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / mag;
    return (f <= 1.0 ? 1.0 : f <= 2.0 ? 2.0 : f <= 5.0 ? 5.0 : 10.0) * mag;
}

struct Axis {
    double Lo = 0.0, Hi = 1.0, Step = 0.2;
};

Axis NiceAxis(double lo, double hi, int target) {
    if (!(hi > lo)) {
        const double pad = lo == 0.0 ? 1.0 : std::fabs(lo) * 0.1;
        lo -= pad;
        hi += pad;
    }
    Axis a;
    a.Step = NiceStep(hi - lo, target);
    a.Lo = std::floor(lo / a.Step + 1e-9) * a.Step;
    a.Hi = std::ceil(hi / a.Step - 1e-9) * a.Step;
    // Ranges beyond the doubles (values near 1E308) fall back to a plain axis.
    if (!std::isfinite(a.Step) || !std::isfinite(a.Lo) || !std::isfinite(a.Hi) || !(a.Step > 0.0) || !(a.Hi > a.Lo))
        return Axis{};
    return a;
}

// ---------------------------------------------------------------- display units

// One display unit: its label and the factor from the engine's unit (display
// value = engine value * Factor).
struct Du {
    std::string Label;
    double Factor = 1.0;
};

// The display unit of every kind of quantity on the page.
struct Display {
    std::string Name;
    Du Depth, Deflection, Force, Moment, Reaction, SectionMoment, SectionEI, Curvature, Thrust, Capacity;
    Du K22, K23, K32, K33;
    Du Rotation{"rad", 1.0};
    // A moment along the pile in the unit of a section moment, a shear or axial
    // load in that of an axial thrust (other units only in the engine's display).
    double MomentToSection = 1.0, ForceToThrust = 1.0;
};

constexpr double Inch = 0.0254, Foot = 0.3048, Pound = 4.4482216152605, Kip = 1000.0 * Pound, KiloNewton = 1000.0;

// The size in N and m of each engine unit, by the plot file's unit system.
struct UnitSizes {
    double Depth, Deflection, Force, Moment, Reaction, SectionMoment, SectionEI, Curvature, Thrust, Capacity;
    double K22, K23, K32, K33;
};
constexpr UnitSizes EngineUs{Inch,        Inch,          Pound,       Pound * Inch,  Pound / Inch,
                             Kip * Inch,  Kip * Inch * Inch, 1.0 / Inch, Kip,       Pound * Inch,
                             Pound / Inch, Pound,        Pound,       Pound * Inch};
constexpr UnitSizes EngineSi{1.0,        1.0,        KiloNewton, KiloNewton, KiloNewton, KiloNewton, KiloNewton,
                             1.0,        KiloNewton, KiloNewton, KiloNewton, KiloNewton, KiloNewton, KiloNewton};
constexpr UnitSizes ShownUs{Foot,        Inch,         Kip,         Kip * Foot, Kip / Inch,
                            Kip * Foot,  Kip * Inch * Inch, 1.0 / Inch, Kip,    Kip * Foot,
                            Kip / Inch,  Kip,          Kip * Foot / Inch, Kip * Foot};
constexpr UnitSizes ShownSi{1.0,        1.0e-3,     KiloNewton, KiloNewton, KiloNewton, KiloNewton, KiloNewton,
                            1.0,        KiloNewton, KiloNewton, KiloNewton, KiloNewton, KiloNewton, KiloNewton};

Display EngineDisplay(const PlotUnits& u) {
    Display d;
    d.Name = std::string(u.SystemName) + " (the engine's units)";
    d.Depth = {u.Length, 1.0};
    d.Deflection = {u.Length, 1.0};
    d.Force = {u.Force, 1.0};
    d.Moment = {u.Moment, 1.0};
    d.Reaction = {u.ForcePerLength, 1.0};
    d.SectionMoment = {u.SectionMoment, 1.0};
    d.SectionEI = {u.SectionEI, 1.0};
    d.Curvature = {u.Curvature, 1.0};
    d.Thrust = {u.Thrust, 1.0};
    d.Capacity = {u.Capacity, 1.0};
    d.K22 = {u.K22, 1.0};
    d.K23 = {u.K23, 1.0};
    d.K32 = {u.K32, 1.0};
    d.K33 = {u.K33, 1.0};
    return d;
}

Display DisplayFor(int system, DisplayUnits choice) {
    const PlotUnits u = UnitsOf(system);
    if (choice == DisplayUnits::Engine || (system != 1 && system != 2)) {
        Display d = EngineDisplay(u);
        if (system == 1) {
            d.MomentToSection = EngineUs.Moment / EngineUs.SectionMoment;
            d.ForceToThrust = EngineUs.Force / EngineUs.Thrust;
        }
        return d;
    }
    const bool us = choice == DisplayUnits::Us || (choice == DisplayUnits::Input && system == 1);
    const UnitSizes& from = system == 1 ? EngineUs : EngineSi;
    const UnitSizes& to = us ? ShownUs : ShownSi;
    Display d;
    d.Name = us ? "US customary" : "SI";
    auto du = [](const char* label, double f, double t) { return Du{label, f / t}; };
    d.Depth = du(us ? "ft" : "m", from.Depth, to.Depth);
    d.Deflection = du(us ? "in" : "mm", from.Deflection, to.Deflection);
    d.Force = du(us ? "kip" : "kN", from.Force, to.Force);
    d.Moment = du(us ? "kip-ft" : "kN-m", from.Moment, to.Moment);
    d.Reaction = du(us ? "kip/in" : "kN/m", from.Reaction, to.Reaction);
    d.SectionMoment = du(us ? "kip-ft" : "kN-m", from.SectionMoment, to.SectionMoment);
    d.SectionEI = du(us ? "kip-in\u00b2" : "kN-m\u00b2", from.SectionEI, to.SectionEI);
    d.Curvature = du(us ? "rad/in" : "rad/m", from.Curvature, to.Curvature);
    d.Thrust = du(us ? "kip" : "kN", from.Thrust, to.Thrust);
    d.Capacity = du(us ? "kip-ft" : "kN-m", from.Capacity, to.Capacity);
    d.K22 = du(us ? "kip/in" : "kN/m", from.K22, to.K22);
    d.K23 = du(us ? "kip/rad" : "kN/rad", from.K23, to.K23);
    d.K32 = du(us ? "kip-ft/in" : "kN-m/m", from.K32, to.K32);
    d.K33 = du(us ? "kip-ft/rad" : "kN-m/rad", from.K33, to.K33);
    return d;
}

// A number of the page: engine value in display units, four significant figures.
std::string Show(double v, const Du& u) { return DisplayNumber(v * u.Factor); }

// A table cell with the JSON value it shows: `json` is the value's pointer in
// the results file, `unit` the display unit.
std::string Cell(double v, const Du& u, const std::string& json) {
    return "<td class=\"num\" data-json=\"" + json + "\" data-unit=\"" + Escape(u.Label) + "\">" + Show(v, u) + "</td>";
}

// ---------------------------------------------------------------- charts

constexpr std::array<const char*, 8> Palette = {"#1f5fa8", "#c0392b", "#2e8b57", "#8e44ad",
                                                "#d35400", "#16808a", "#7f6a00", "#555555"};
constexpr std::array<const char*, 3> Dashes = {"", "6 3", "2 3"};

struct Series {
    std::string Name;
    std::string Key;  // data-series attribute: "case-1", "curve-2", ...
    std::vector<std::array<double, 2>> Points;
    bool Markers = false;  // a circle at each point
    bool Line = true;      // the points joined
    int Colour = -1;       // palette index; -1: by the series' place in the chart
};

const char* ColourOf(const Series& s, std::size_t i) {
    return Palette[(s.Colour >= 0 ? static_cast<std::size_t>(s.Colour) : i) % Palette.size()];
}

struct DepthMark {
    double Depth = 0.0;
    std::string Label;  // short, written in the right margin ("GS", "L2")
    bool Ground = false;
};

// A capacity line: x = X over depths Top to Bottom (depth charts).
struct RefLine {
    double X = 0.0, Top = 0.0, Bottom = 0.0;
    std::string Name;  // legend text
    int Style = 0;     // 0 nominal capacity, 1 factored capacity
};

struct Chart {
    std::string Id, Title, XLabel, YLabel;
    bool DepthDown = false;  // the y axis is depth below the pile head, growing downward
    std::vector<Series> Lines;
    std::vector<DepthMark> Marks;
    std::vector<RefLine> Refs;
    double Width = 340.0, Height = 440.0;
    double XCut = 0.0;  // > 0: the x axis ends here (values beyond are clipped)
    bool FromZero = false;  // both axes start at zero
};

constexpr double ML = 60.0, MT = 30.0, MB = 46.0;
constexpr std::size_t MaxLegend = 12;
constexpr int MaxTicks = 40;  // a nice axis has at most a dozen; the bound guards rounding
constexpr const char* RefColours[] = {"#000000", "#b03060"};
constexpr const char* RefDashes[] = {"8 4", "3 3"};

std::string Svg(const Chart& c) {
    double xlo = INFINITY, xhi = -INFINITY, ylo = INFINITY, yhi = -INFINITY;
    for (const Series& s : c.Lines)
        for (const auto& p : s.Points) {
            if (!std::isfinite(p[0]) || !std::isfinite(p[1])) continue;
            xlo = std::min(xlo, p[0]);
            xhi = std::max(xhi, p[0]);
            ylo = std::min(ylo, p[1]);
            yhi = std::max(yhi, p[1]);
        }
    for (const RefLine& r : c.Refs) {
        xlo = std::min(xlo, r.X);
        xhi = std::max(xhi, r.X);
    }
    if (!(xlo <= xhi)) xlo = xhi = 0.0;
    if (!(ylo <= yhi)) ylo = yhi = 0.0;
    if (c.XCut > 0.0) xhi = std::min(xhi, c.XCut);
    if (c.FromZero) {
        xlo = std::min(xlo, 0.0);
        ylo = std::min(ylo, 0.0);
    }
    const Axis ax = NiceAxis(xlo, xhi, c.Width < 300.0 ? 4 : 4);
    const Axis ay = c.DepthDown ? NiceAxis(ylo, yhi, 8) : NiceAxis(ylo, yhi, 5);
    const int kx = AxisExponent(ax.Lo, ax.Hi), ky = AxisExponent(ay.Lo, ay.Hi);
    const double W = c.Width, H = c.Height;
    const double MR = c.Marks.empty() ? 18.0 : 30.0;
    const double pw = W - ML - MR, ph = H - MT - MB;
    auto X = [&](double v) { return ML + (v - ax.Lo) / (ax.Hi - ax.Lo) * pw; };
    auto Y = [&](double v) {
        const double t = (v - ay.Lo) / (ay.Hi - ay.Lo);
        return c.DepthDown ? MT + t * ph : MT + (1.0 - t) * ph;
    };
    // Legend rows: the curves when several share the chart, and the capacity lines.
    std::vector<std::pair<std::string, std::string>> legend;  // text, key markup
    const bool seriesLegend = c.Lines.size() > 1;
    const std::size_t shownSeries = seriesLegend ? std::min(c.Lines.size(), MaxLegend) : 0;
    std::size_t refKinds = 0;
    for (const RefLine& r : c.Refs) refKinds = std::max<std::size_t>(refKinds, static_cast<std::size_t>(r.Style) + 1);
    std::vector<std::string> refNames;
    for (const RefLine& r : c.Refs)
        if (std::find(refNames.begin(), refNames.end(), r.Name) == refNames.end()) refNames.push_back(r.Name);
    const std::size_t legendRows =
        shownSeries + (seriesLegend && c.Lines.size() > MaxLegend ? 1 : 0) + refNames.size();
    const double height = H + (legendRows > 0 ? 8.0 + 15.0 * static_cast<double>(legendRows) : 0.0);
    const std::string clip = "url(#clip-" + Escape(c.Id) + ")";

    std::ostringstream o;
    o << "<figure class=\"chart\"><svg xmlns=\"http://www.w3.org/2000/svg\" data-chart=\"" << Escape(c.Id)
      << "\" width=\"" << W << "\" height=\"" << height << "\" viewBox=\"0 0 " << W << ' ' << height
      << "\" role=\"img\" aria-label=\"" << Escape(c.Title) << "\">\n";
    o << "<text class=\"title\" x=\"" << Px(W / 2) << "\" y=\"18\" text-anchor=\"middle\">" << Escape(c.Title)
      << "</text>\n";
    o << "<clipPath id=\"clip-" << Escape(c.Id) << "\"><rect x=\"" << Px(ML) << "\" y=\"" << Px(MT)
      << "\" width=\"" << Px(pw) << "\" height=\"" << Px(ph) << "\"/></clipPath>\n";
    o << "<rect class=\"frame\" x=\"" << Px(ML) << "\" y=\"" << Px(MT) << "\" width=\"" << Px(pw) << "\" height=\""
      << Px(ph) << "\"/>\n";
    // Grid and tick labels, outside the plot area.
    for (int i = 0; i <= MaxTicks; ++i) {
        const double v = ax.Lo + i * ax.Step;
        if (v > ax.Hi + ax.Step * 1e-6) break;
        o << "<line class=\"grid\" x1=\"" << Px(X(v)) << "\" y1=\"" << Px(MT) << "\" x2=\"" << Px(X(v)) << "\" y2=\""
          << Px(MT + ph) << "\"/><text class=\"tick\" x=\"" << Px(X(v)) << "\" y=\"" << Px(MT + ph + 17)
          << "\" text-anchor=\"middle\">" << TickText(v, ax.Step, kx) << "</text>\n";
    }
    for (int i = 0; i <= MaxTicks; ++i) {
        const double v = ay.Lo + i * ay.Step;
        if (v > ay.Hi + ay.Step * 1e-6) break;
        o << "<line class=\"grid\" x1=\"" << Px(ML) << "\" y1=\"" << Px(Y(v)) << "\" x2=\"" << Px(ML + pw)
          << "\" y2=\"" << Px(Y(v)) << "\"/><text class=\"tick\" x=\"" << Px(ML - 5) << "\" y=\"" << Px(Y(v) + 4)
          << "\" text-anchor=\"end\">" << TickText(v, ay.Step, ky) << "</text>\n";
    }
    if (ax.Lo < 0.0 && ax.Hi > 0.0)
        o << "<line class=\"zero\" x1=\"" << Px(X(0)) << "\" y1=\"" << Px(MT) << "\" x2=\"" << Px(X(0)) << "\" y2=\""
          << Px(MT + ph) << "\"/>\n";
    if (!c.DepthDown && ay.Lo < 0.0 && ay.Hi > 0.0)
        o << "<line class=\"zero\" x1=\"" << Px(ML) << "\" y1=\"" << Px(Y(0)) << "\" x2=\"" << Px(ML + pw)
          << "\" y2=\"" << Px(Y(0)) << "\"/>\n";
    // Ground surface and layer tops: lines across the plot, their short names
    // in the right margin (never over a curve), moved down when two are close.
    double lastLabel = -INFINITY;
    for (const DepthMark& m : c.Marks) {
        if (m.Depth < ay.Lo - 1e-9 * ay.Step || m.Depth > ay.Hi + 1e-9 * ay.Step) continue;
        const double y = Y(m.Depth);
        o << "<line class=\"" << (m.Ground ? "ground" : "layer") << "\" x1=\"" << Px(ML) << "\" y1=\"" << Px(y)
          << "\" x2=\"" << Px(ML + pw) << "\" y2=\"" << Px(y) << "\"/>\n";
        const double ly = std::max(y + 4.0, lastLabel + 11.0);
        if (ly > MT + ph - 4.0) continue;
        lastLabel = ly;
        o << "<text class=\"" << (m.Ground ? "ground-label" : "layer-label") << "\" x=\"" << Px(ML + pw + 3)
          << "\" y=\"" << Px(ly) << "\">" << Escape(m.Label) << "</text>\n";
    }
    // Capacity lines.
    for (const RefLine& r : c.Refs) {
        const std::size_t k = static_cast<std::size_t>(r.Style) % 2;
        o << "<line class=\"ref\" clip-path=\"" << clip << "\" data-ref=\"" << Escape(r.Name) << "\" x1=\""
          << Px(X(r.X)) << "\" y1=\"" << Px(Y(r.Top)) << "\" x2=\"" << Px(X(r.X)) << "\" y2=\"" << Px(Y(r.Bottom))
          << "\" stroke=\"" << RefColours[k] << "\" stroke-dasharray=\"" << RefDashes[k] << "\"/>\n";
    }
    // Curves and points.
    for (std::size_t i = 0; i < c.Lines.size(); ++i) {
        const Series& s = c.Lines[i];
        const char* colour = ColourOf(s, i);
        const char* dash = Dashes[(i / Palette.size()) % Dashes.size()];
        if (s.Line) {
            std::string d;
            d.reserve(s.Points.size() * 18);
            char buf[32];
            for (const auto& p : s.Points) {
                d += d.empty() ? "M" : " L";
                d.append(buf, CoordinateText(buf, X(p[0])));
                d += ' ';
                d.append(buf, CoordinateText(buf, Y(p[1])));
            }
            o << "<path class=\"series\" clip-path=\"" << clip << "\" data-series=\"" << Escape(s.Key) << "\" d=\"" << d
              << "\" stroke=\"" << colour << '"'
              << (*dash ? std::string(" stroke-dasharray=\"") + dash + '"' : "") << "/>\n";
        }
        if (s.Markers)
            for (const auto& p : s.Points)
                o << "<circle class=\"marker\" clip-path=\"" << clip << "\" data-series=\"" << Escape(s.Key)
                  << "\" cx=\"" << Px(X(p[0])) << "\" cy=\"" << Px(Y(p[1])) << "\" r=\"3.5\" fill=\"" << colour
                  << "\"/>\n";
    }
    // Axis titles.
    o << "<text class=\"axis\" x=\"" << Px(ML + pw / 2) << "\" y=\"" << Px(MT + ph + 37) << "\" text-anchor=\"middle\">"
      << Escape(WithExponent(c.XLabel, kx)) << "</text>\n";
    o << "<text class=\"axis\" transform=\"translate(14 " << Px(MT + ph / 2) << ") rotate(-90)\" text-anchor=\"middle\">"
      << Escape(WithExponent(c.YLabel, ky)) << "</text>\n";
    // Legend below the plot.
    std::size_t row = 0;
    auto rowY = [&]() { return H + 8.0 + 15.0 * static_cast<double>(row++); };
    for (std::size_t i = 0; i < shownSeries; ++i) {
        const double y = rowY();
        const Series& s = c.Lines[i];
        const char* colour = ColourOf(s, i);
        const char* dash = Dashes[(i / Palette.size()) % Dashes.size()];
        if (s.Line)
            o << "<line class=\"key\" x1=\"" << Px(ML) << "\" y1=\"" << Px(y) << "\" x2=\"" << Px(ML + 22)
              << "\" y2=\"" << Px(y) << "\" stroke=\"" << colour << '"'
              << (*dash ? std::string(" stroke-dasharray=\"") + dash + '"' : "") << "/>";
        if (s.Markers)
            o << "<circle class=\"key-marker\" cx=\"" << Px(ML + 11) << "\" cy=\"" << Px(y) << "\" r=\"3.5\" fill=\""
              << colour << "\"/>";
        o << "<text class=\"legend\" x=\"" << Px(ML + 28) << "\" y=\"" << Px(y + 4) << "\">" << Escape(s.Name)
          << "</text>\n";
    }
    if (seriesLegend && c.Lines.size() > MaxLegend)
        o << "<text class=\"legend\" x=\"" << Px(ML) << "\" y=\"" << Px(rowY() + 4) << "\">and "
          << c.Lines.size() - MaxLegend << " more curves</text>\n";
    for (const std::string& name : refNames) {
        int style = 0;
        for (const RefLine& r : c.Refs)
            if (r.Name == name) style = r.Style;
        const std::size_t k = static_cast<std::size_t>(style) % 2;
        const double y = rowY();
        o << "<line class=\"key-ref\" x1=\"" << Px(ML) << "\" y1=\"" << Px(y) << "\" x2=\"" << Px(ML + 22)
          << "\" y2=\"" << Px(y) << "\" stroke=\"" << RefColours[k] << "\" stroke-dasharray=\"" << RefDashes[k]
          << "\"/><text class=\"legend\" x=\"" << Px(ML + 28) << "\" y=\"" << Px(y + 4) << "\">" << Escape(name)
          << "</text>\n";
    }
    o << "</svg></figure>\n";
    return o.str();
}

// ---------------------------------------------------------------- page parts

std::string ShortName(const std::string& description) {
    std::size_t comma = description.find(',');
    return comma == std::string::npos ? description : description.substr(0, comma);
}

std::string CaseName(const RunResults& r, const LoadCase& c) {
    const auto k = static_cast<std::size_t>(c.Number - 1);
    std::string name = "Case " + std::to_string(c.Number);
    if (k < r.Facts.CaseNames.size() && !r.Facts.CaseNames[k].empty()) name += ": " + r.Facts.CaseNames[k];
    return name;
}

std::vector<DepthMark> ProfileMarks(const RunFacts& f) {
    std::vector<DepthMark> marks;
    const double ground = f.HasGroundSurface ? f.GroundSurface : (f.Layers.empty() ? 0.0 : f.Layers.front().Top);
    if (f.HasGroundSurface || !f.Layers.empty()) marks.push_back({ground, "GS", true});
    for (const SoilLayerInfo& l : f.Layers) {
        const bool onGround = std::fabs(l.Top - ground) <= 1e-9 * std::max(1.0, std::fabs(ground));
        if (!onGround) marks.push_back({l.Top, "L" + std::to_string(l.Number), false});
    }
    return marks;
}

// Top and bottom depth of each section, from the section lengths of the echo.
std::vector<std::array<double, 2>> SectionRanges(const RunFacts& f) {
    std::vector<std::array<double, 2>> ranges;
    double top = 0.0;
    for (const SectionGeometry& s : f.SectionShapes) {
        ranges.push_back({top, top + s.Length});
        top += s.Length;
    }
    return ranges;
}

// Nominal moment capacity (per section and axial thrust) and, in LRFD runs,
// the factored capacity, as lines over each section's depths.
std::vector<RefLine> CapacityLines(const RunResults& r, const Display& d) {
    std::vector<RefLine> lines;
    const auto ranges = SectionRanges(r.Facts);
    for (const SectionCurves& s : r.Plot.Sections) {
        const auto k = static_cast<std::size_t>(s.Number - 1);
        if (s.Number < 1 || k >= ranges.size()) continue;
        double lo = INFINITY, hi = -INFINITY;
        for (const ThrustCurve& t : s.Thrusts)
            if (t.NominalMomentCapacity > 0.0) {
                lo = std::min(lo, t.NominalMomentCapacity);
                hi = std::max(hi, t.NominalMomentCapacity);
            }
        if (!(lo <= hi)) continue;
        const double top = ranges[k][0] * d.Depth.Factor, bottom = ranges[k][1] * d.Depth.Factor;
        // The capacity at the lowest thrust of the section's curves: a single
        // line when every thrust gives the same value.
        const double mn = lo * d.Capacity.Factor;
        const std::string name = hi > lo * (1.0 + 1e-9) ? "Nominal capacity Mn (lowest of the axial thrusts)"
                                                        : "Nominal capacity Mn";
        lines.push_back({mn, top, bottom, name, 0});
        lines.push_back({-mn, top, bottom, name, 0});
    }
    for (const LrfdCheckRow& c : r.Facts.LrfdChecks) {
        const auto k = static_cast<std::size_t>(c.Section - 1);
        if (!c.Checked || c.Section < 1 || k >= ranges.size()) continue;
        const double top = ranges[k][0] * d.Depth.Factor, bottom = ranges[k][1] * d.Depth.Factor;
        const double v = c.FactoredCapacity * d.Moment.Factor;
        bool seen = false;
        for (const RefLine& l : lines) seen = seen || (l.Style == 1 && l.X == v && l.Top == top);
        if (seen) continue;
        lines.push_back({v, top, bottom, "Factored capacity \u03c6Mn", 1});
        lines.push_back({-v, top, bottom, "Factored capacity \u03c6Mn", 1});
    }
    return lines;
}

// Slope of the deflected pile at each station, from the deflections by
// differences (central inside, one-sided at the ends): radians.
std::vector<double> Slopes(const std::vector<Station>& s) {
    std::vector<double> out(s.size(), 0.0);
    if (s.size() < 2) return out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const std::size_t a = i == 0 ? 0 : i - 1, b = i + 1 < s.size() ? i + 1 : i;
        const double dx = s[b].Depth - s[a].Depth;
        out[i] = dx != 0.0 ? (s[b].Deflection - s[a].Deflection) / dx : 0.0;
    }
    return out;
}

using StationField = double Station::*;

const PrintedStations* PrintedOf(const RunFacts& f, int number) {
    for (const PrintedStations& s : f.CaseStations)
        if (s.Case == number) return &s;
    return nullptr;
}

// The frame of a chart of a quantity against depth (depth down, the soil
// profile's layer marks), in the page's display units.
Chart DepthChart(const char* id, const char* title, std::string xLabel, const RunResults& r, const Display& d) {
    Chart c;
    c.Id = id;
    c.Title = title;
    c.XLabel = std::move(xLabel);
    c.YLabel = "Depth below pile head, " + d.Depth.Label;
    c.DepthDown = true;
    c.Width = 300.0;
    c.Marks = ProfileMarks(r.Facts);
    for (DepthMark& m : c.Marks) m.Depth *= d.Depth.Factor;
    return c;
}

std::string ResponseCharts(const RunResults& r, const Display& d) {
    struct Quantity {
        const char* Id;
        const char* Title;
        const char* Axis;
        const Du* Unit;
        StationField Field;
    };
    const Quantity quantities[] = {
        {"deflection", "Lateral deflection", "Deflection y", &d.Deflection, &Station::Deflection},
        {"slope", "Slope", "Slope", &d.Rotation, nullptr},
        {"moment", "Bending moment", "Moment M", &d.Moment, &Station::Moment},
        {"shear", "Shear force", "Shear V", &d.Force, &Station::Shear},
        {"soil-reaction", "Soil reaction", "Soil reaction p", &d.Reaction, &Station::SoilReaction},
        {"ei", "Bending stiffness", "EI", &d.SectionEI, nullptr}};
    bool printed = false;
    for (const LoadCase& lc : r.Plot.LoadCases) printed = printed || PrintedOf(r.Facts, lc.Number) != nullptr;
    std::string out;
    for (const Quantity& q : quantities) {
        Chart c = DepthChart(q.Id, q.Title, std::string(q.Axis) + ", " + q.Unit->Label, r, d);
        const bool ei = std::string_view(q.Id) == "ei", slopeChart = std::string_view(q.Id) == "slope";
        if (ei && !printed) continue;
        bool differenced = false;  // a case's slope taken from its deflections
        int place = -1;            // the case's colour: its place among the cases drawn
        for (const LoadCase& lc : r.Plot.LoadCases) {
            if (lc.Stations.empty()) continue;
            Series s{CaseName(r, lc), "case-" + std::to_string(lc.Number), {}};
            s.Colour = ++place;
            // Slope and EI from the report's station table when it has the case.
            const PrintedStations* ps = PrintedOf(r.Facts, lc.Number);
            if (ei || (slopeChart && ps != nullptr)) {
                if (ps == nullptr) continue;
                for (std::size_t i = 0; i < ps->Depth.size(); ++i)
                    s.Points.push_back({ei ? ps->EI[i] * d.SectionEI.Factor : ps->Slope[i], ps->Depth[i] * d.Depth.Factor});
                c.Lines.push_back(std::move(s));
                continue;
            }
            differenced = differenced || q.Field == nullptr;
            // Slope by differences: deflection unit per depth unit, in radians.
            const std::vector<double> slope = q.Field == nullptr ? Slopes(lc.Stations) : std::vector<double>();
            for (std::size_t i = 0; i < lc.Stations.size(); ++i) {
                const Station& st = lc.Stations[i];
                const double x = q.Field == nullptr ? slope[i] : st.*q.Field * q.Unit->Factor;
                s.Points.push_back({x, st.Depth * d.Depth.Factor});
            }
            c.Lines.push_back(std::move(s));
        }
        if (std::string_view(q.Id) == "moment") c.Refs = CapacityLines(r, d);
        if (differenced) c.Title = "Slope (from the deflections)";
        out += Svg(c);
    }
    return out;
}

// The share of the ultimate soil resistance the soil reaction uses, p / p_u,
// against depth for every case whose p_u the engine kept; stations without a
// p_u are left out.
std::string MobilisedChart(const RunResults& r, const Display& d) {
    Chart c = DepthChart("mobilised", "Mobilised soil resistance", "p / pu", r, d);
    int place = -1;
    for (const LoadCase& lc : r.Plot.LoadCases) {
        if (lc.Stations.empty()) continue;
        ++place;
        Series s{CaseName(r, lc), "case-" + std::to_string(lc.Number), {}};
        s.Colour = place;
        for (std::size_t i = 0; i < lc.Stations.size(); ++i) {
            const Mobilised m = MobilisedAt(r, lc, i);
            if (m.Ratio) s.Points.push_back({*m.Ratio, lc.Stations[i].Depth * d.Depth.Factor});
        }
        if (!s.Points.empty()) c.Lines.push_back(std::move(s));
    }
    if (c.Lines.empty()) return {};
    // The plateau of the curves: p = p_u.
    c.Refs.push_back(RefLine{1.0, c.Lines.front().Points.front()[1], c.Lines.front().Points.back()[1], "p = pu", 0});
    return Svg(c);
}

// Largest and smallest deflection, moment and shear over the load cases at
// each depth, with the table of the governing values.
std::string EnvelopeCharts(const RunResults& r, const Display& d) {
    const Envelope e = ComputeEnvelope(r.Plot);
    if (e.Cases.size() < 2) return {};
    struct Quantity {
        const char* Id;
        const char* Title;
        const char* Axis;
        const Du* Unit;
        const std::vector<double>* Min;
        const std::vector<double>* Max;
    };
    const Quantity quantities[] = {
        {"envelope-deflection", "Deflection envelope", "Deflection y", &d.Deflection, &e.MinDeflection,
         &e.MaxDeflection},
        {"envelope-moment", "Moment envelope", "Moment M", &d.Moment, &e.MinMoment, &e.MaxMoment},
        {"envelope-shear", "Shear envelope", "Shear V", &d.Force, &e.MinShear, &e.MaxShear}};
    std::string out = "<h2>Envelopes over the load cases</h2>\n<p>Largest and smallest values at each depth over "
                      "load cases ";
    for (std::size_t i = 0; i < e.Cases.size(); ++i) out += (i ? ", " : "") + std::to_string(e.Cases[i]);
    out += ".</p>\n<div class=\"charts\">\n";
    for (const Quantity& q : quantities) {
        Chart c = DepthChart(q.Id, q.Title, std::string(q.Axis) + ", " + q.Unit->Label, r, d);
        Series lo{"smallest", "min", {}}, hi{"largest", "max", {}};
        lo.Colour = 0;
        hi.Colour = 1;
        for (std::size_t i = 0; i < e.Depth.size(); ++i) {
            lo.Points.push_back({(*q.Min)[i] * q.Unit->Factor, e.Depth[i] * d.Depth.Factor});
            hi.Points.push_back({(*q.Max)[i] * q.Unit->Factor, e.Depth[i] * d.Depth.Factor});
        }
        c.Lines.push_back(std::move(lo));
        c.Lines.push_back(std::move(hi));
        if (std::string_view(q.Id) == "envelope-moment") c.Refs = CapacityLines(r, d);
        out += Svg(c);
    }
    out += "</div>\n";
    // The governing values over the whole pile.
    auto extreme = [&](const std::vector<double>& v, const std::vector<int>& cases, bool largest) {
        std::size_t k = 0;
        for (std::size_t i = 1; i < v.size(); ++i)
            if (largest ? v[i] > v[k] : v[i] < v[k]) k = i;
        return std::array<double, 3>{v[k], e.Depth[k], static_cast<double>(cases[k])};
    };
    struct Row {
        const char* Name;
        const Du* Unit;
        std::array<double, 3> V;
        const char* Json;
    };
    const Row rows[] = {
        {"Largest deflection", &d.Deflection, extreme(e.MaxDeflection, e.CaseMaxDeflection, true), "deflectionMax"},
        {"Smallest deflection", &d.Deflection, extreme(e.MinDeflection, e.CaseMinDeflection, false), "deflectionMin"},
        {"Largest moment", &d.Moment, extreme(e.MaxMoment, e.CaseMaxMoment, true), "momentMax"},
        {"Smallest moment", &d.Moment, extreme(e.MinMoment, e.CaseMinMoment, false), "momentMin"},
        {"Largest shear", &d.Force, extreme(e.MaxShear, e.CaseMaxShear, true), "shearMax"},
        {"Smallest shear", &d.Force, extreme(e.MinShear, e.CaseMinShear, false), "shearMin"}};
    std::ostringstream o;
    o << "<table class=\"envelope\" id=\"envelope\"><thead><tr><th>Quantity</th><th>Value</th><th>Unit</th><th>Depth, "
      << Escape(d.Depth.Label) << "</th><th>Load case</th></tr></thead><tbody>\n";
    for (const Row& w : rows)
        o << "<tr><td>" << w.Name << "</td><td class=\"num\">" << Show(w.V[0], *w.Unit) << "</td><td>"
          << Escape(w.Unit->Label) << "</td><td class=\"num\">" << Show(w.V[1], d.Depth) << "</td><td class=\"num\">"
          << static_cast<int>(w.V[2]) << "</td></tr>\n";
    o << "</tbody></table>\n";
    return out + o.str();
}

// Soil kind of a layer description, for its hatching.
const char* SoilKind(const std::string& description) {
    std::string t = description;
    for (char& ch : t) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const std::string name = ShortName(t);
    if (name.find("rock") != std::string::npos || name.find("limestone") != std::string::npos) return "rock";
    if (name.find("sand") != std::string::npos) return "sand";
    if (name.find("silt") != std::string::npos || name.find("loess") != std::string::npos) return "silt";
    if (name.find("clay") != std::string::npos) return "clay";
    return "other";
}

// The pile in its soil profile, depths to the scale of the response charts:
// layers hatched by kind and named, the ground surface (stick-up above it),
// the sections with their widths to scale, the batter.
std::string PileDrawing(const RunResults& r, const Display& d) {
    const RunFacts& f = r.Facts;
    double maxDepth = 0.0;
    for (const LoadCase& lc : r.Plot.LoadCases)
        for (const Station& s : lc.Stations) maxDepth = std::max(maxDepth, s.Depth);
    if (!(maxDepth > 0.0) || f.Layers.empty()) return {};
    const double pileLength = f.PileLength > 0.0 ? f.PileLength : maxDepth;
    const Axis ay = NiceAxis(0.0, maxDepth * d.Depth.Factor, 8);
    const double W = 300.0, H = 440.0, MR = 12.0, pw = W - ML - MR, ph = H - MT - MB;
    auto Y = [&](double engineDepth) {
        return MT + (engineDepth * d.Depth.Factor - ay.Lo) / (ay.Hi - ay.Lo) * ph;
    };
    const double scale = ph / ((ay.Hi - ay.Lo) / d.Depth.Factor);  // px per engine length unit
    std::ostringstream o;
    o << "<figure class=\"chart\"><svg xmlns=\"http://www.w3.org/2000/svg\" data-chart=\"pile-soil\" width=\"" << W
      << "\" height=\"" << H << "\" viewBox=\"0 0 " << W << ' ' << H
      << "\" role=\"img\" aria-label=\"Pile and soil profile\">\n<defs>"
      << "<pattern id=\"hatch-clay\" width=\"10\" height=\"6\" patternUnits=\"userSpaceOnUse\"><path d=\"M0 3 H6\" "
         "stroke=\"#8a6d3b\" stroke-width=\"1\"/></pattern>"
      << "<pattern id=\"hatch-sand\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\"><circle cx=\"2\" "
         "cy=\"2\" r=\"0.9\" fill=\"#b08d2c\"/><circle cx=\"5\" cy=\"5\" r=\"0.7\" fill=\"#b08d2c\"/></pattern>"
      << "<pattern id=\"hatch-silt\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\"><path d=\"M0 8 L8 0\" "
         "stroke=\"#9a8a6a\" stroke-width=\"0.8\"/></pattern>"
      << "<pattern id=\"hatch-rock\" width=\"10\" height=\"10\" patternUnits=\"userSpaceOnUse\"><path d=\"M0 10 L10 "
         "0 M0 0 L10 10\" stroke=\"#666\" stroke-width=\"0.8\"/></pattern>"
      << "<pattern id=\"hatch-other\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\"><path d=\"M0 0 L8 8\" "
         "stroke=\"#999\" stroke-width=\"0.8\"/></pattern></defs>\n";
    o << "<text class=\"title\" x=\"" << Px(W / 2) << "\" y=\"18\" text-anchor=\"middle\">Pile and soil profile</text>\n";
    // Depth ticks.
    for (int i = 0; i <= MaxTicks; ++i) {
        const double v = ay.Lo + i * ay.Step;
        if (v > ay.Hi + ay.Step * 1e-6) break;
        const double y = MT + (v - ay.Lo) / (ay.Hi - ay.Lo) * ph;
        o << "<line class=\"grid\" x1=\"" << Px(ML - 4) << "\" y1=\"" << Px(y) << "\" x2=\"" << Px(ML) << "\" y2=\""
          << Px(y) << "\"/><text class=\"tick\" x=\"" << Px(ML - 6) << "\" y=\"" << Px(y + 4)
          << "\" text-anchor=\"end\">" << TickText(v, ay.Step, 0) << "</text>\n";
    }
    o << "<text class=\"axis\" transform=\"translate(14 " << Px(MT + ph / 2)
      << ") rotate(-90)\" text-anchor=\"middle\">Depth below pile head, " << Escape(d.Depth.Label) << "</text>\n";
    // Layers, clipped to the drawn depths; names at the right, on a halo.
    const double bottomPx = MT + ph;
    double lastLabel = -INFINITY;
    for (const SoilLayerInfo& l : f.Layers) {
        const double y0 = std::clamp(Y(l.Top), MT, bottomPx), y1 = std::clamp(Y(l.Bottom), MT, bottomPx);
        if (!(y1 > y0)) continue;
        const char* kind = SoilKind(l.Description);
        o << "<rect class=\"soil soil-" << kind << "\" data-layer=\"" << l.Number << "\" x=\"" << Px(ML) << "\" y=\""
          << Px(y0) << "\" width=\"" << Px(pw) << "\" height=\"" << Px(y1 - y0) << "\" fill=\"url(#hatch-" << kind
          << ")\"/>\n<line class=\"layer\" x1=\"" << Px(ML) << "\" y1=\"" << Px(y0) << "\" x2=\"" << Px(ML + pw)
          << "\" y2=\"" << Px(y0) << "\"/>\n";
        const double ly = std::max(y0 + 12.0, lastLabel + 12.0);
        if (ly > y1 + 10.0 && ly > bottomPx) continue;
        lastLabel = ly;
        std::string name = "L" + std::to_string(l.Number) + " " + ShortName(l.Description);
        if (name.size() > 24) name = name.substr(0, 23) + "\u2026";
        o << "<text class=\"soil-label\" x=\"" << Px(ML + pw - 4) << "\" y=\"" << Px(ly)
          << "\" text-anchor=\"end\">" << Escape(name) << "</text>\n";
    }
    // Ground surface.
    const double ground = f.HasGroundSurface ? f.GroundSurface : f.Layers.front().Top;
    o << "<line class=\"ground\" x1=\"" << Px(ML) << "\" y1=\"" << Px(Y(ground)) << "\" x2=\"" << Px(ML + pw)
      << "\" y2=\"" << Px(Y(ground)) << "\"/>\n";
    // The pile: each section a trapezoid of its widths, along the batter.
    const double batter = std::tan(f.BatterDegrees * 3.14159265358979323846 / 180.0);
    const double x0 = ML + pw * 0.15;
    std::vector<SectionGeometry> sections = f.SectionShapes;
    if (sections.empty()) sections.push_back(SectionGeometry{1, pileLength, 0.0, 0.0, {}});
    double top = 0.0;
    for (const SectionGeometry& s : sections) {
        const double bottom = top + s.Length;
        const double wt = std::max(3.0, s.TopWidth * scale), wb = std::max(3.0, s.BottomWidth * scale);
        const double ct = x0 + top * batter * scale, cb = x0 + bottom * batter * scale;
        o << "<path class=\"pile\" data-section=\"" << s.Number << "\" d=\"M" << Px(ct - wt / 2) << ' ' << Px(Y(top))
          << " L" << Px(ct + wt / 2) << ' ' << Px(Y(top)) << " L" << Px(cb + wb / 2) << ' ' << Px(Y(bottom)) << " L"
          << Px(cb - wb / 2) << ' ' << Px(Y(bottom)) << " Z\"/>\n";
        if (sections.size() > 1)
            o << "<text class=\"section-label\" x=\"" << Px(ct - wt / 2 - 4) << "\" y=\""
              << Px((Y(top) + Y(bottom)) / 2 + 4) << "\" text-anchor=\"end\">S" << s.Number << "</text>\n";
        top = bottom;
    }
    o << "<rect class=\"frame\" x=\"" << Px(ML) << "\" y=\"" << Px(MT) << "\" width=\"" << Px(pw) << "\" height=\""
      << Px(ph) << "\"/>\n";
    std::string caption = "Depths to scale";
    if (f.HasGroundSurface && f.GroundSurface > 0.0)
        caption += "; stick-up " + Show(f.GroundSurface, d.Depth) + ' ' + d.Depth.Label;
    if (f.BatterDegrees != 0.0) caption += "; batter " + DisplayNumber(f.BatterDegrees) + "\u00b0";
    o << "<text class=\"legend\" x=\"" << Px(ML) << "\" y=\"" << Px(MT + ph + 16) << "\">" << Escape(caption)
      << "</text>\n</svg></figure>\n";
    return o.str();
}

const CaseSummaryRow* SummaryRowOf(const RunFacts& f, int number) {
    for (const CaseSummaryRow& s : f.CaseSummaries)
        if (s.Case == number) return &s;
    return nullptr;
}

const Du& ConditionUnit(char kind, const Display& d) {
    switch (kind) {
        case 'V': return d.Force;
        case 'y': return d.Deflection;
        case 'M': return d.Moment;
        case 'R': return d.K33;
        default: return d.Rotation;
    }
}

// Why a case has no results: the run's error for the first such case, else
// that the run stopped before it.
std::string FailureReason(const RunResults& r, const LoadCase& lc) {
    const RunFacts& f = r.Facts;
    bool earliest = true;
    for (const LoadCase& c : r.Plot.LoadCases)
        if (c.Number < lc.Number && CaseFailed(c)) earliest = false;
    if (!earliest) return "Not analysed: the run stopped at an earlier load case.";
    std::string reason = "Failed";
    if (f.Status == RunStatus::Error) {
        if (!f.ErrorHeading.empty()) reason += ": " + f.ErrorHeading;
        // The error's "Problem:" line when it has one, else its first line.
        std::istringstream text(f.ErrorText);
        std::string line, first, problem;
        while (std::getline(text, line)) {
            if (line.empty() || line.find("****") != std::string::npos) continue;
            if (first.empty()) first = line;
            if (problem.empty() && line.rfind("Problem:", 0) == 0) problem = line.substr(8);
        }
        if (!problem.empty()) first = problem.substr(std::min(problem.find_first_not_of(' '), problem.size()));
        if (!first.empty()) reason += (f.ErrorHeading.empty() ? ": " : ". ") + first;
    } else {
        reason += ": the plot file holds no results for this case.";
    }
    return reason;
}

// The moment at the pile head (station 1); the rounding noise of a free head
// (1E-10 of the largest moment) is shown as the zero it is.
double HeadMoment(const LoadCase& lc) {
    const double m = lc.Stations.front().Moment;
    return std::fabs(m) < 1e-9 * std::fabs(lc.MaxMoment) ? 0.0 : m;
}

std::string SummaryTable(const RunResults& r, const Display& d) {
    std::ostringstream o;
    auto th = [&](const char* name, const Du& u) { return std::string("<th>") + name + "<br>" + Escape(u.Label) + "</th>"; };
    o << "<table class=\"summary\" id=\"summary\"><thead><tr><th>Load case</th><th>Name</th><th>Head condition</th>"
      << th("Axial load", d.Force) << th("Head shear", d.Force) << th("Head moment", d.Moment)
      << th("Head deflection", d.Deflection) << th("Head rotation", d.Rotation) << th("Maximum moment", d.Moment)
      << th("Depth of max. moment", d.Depth) << th("Maximum shear", d.Force) << th("Depth of max. shear", d.Depth)
      << "<th>Results</th></tr></thead><tbody>\n";
    for (std::size_t i = 0; i < r.Plot.LoadCases.size(); ++i) {
        const LoadCase& lc = r.Plot.LoadCases[i];
        const std::string at = "/loadCases/" + std::to_string(i) + "/";
        const auto k = static_cast<std::size_t>(lc.Number - 1);
        std::string name = k < r.Facts.CaseNames.size() ? r.Facts.CaseNames[k] : std::string();
        if (name.empty()) name = lc.Lrfd ? "LRFD" : "";
        const CaseSummaryRow* row = SummaryRowOf(r.Facts, lc.Number);
        std::string condition;
        if (row != nullptr)
            condition = std::string(1, row->Condition1Kind) + " = " +
                        Show(row->Condition1, ConditionUnit(row->Condition1Kind, d)) + ' ' +
                        ConditionUnit(row->Condition1Kind, d).Label + ", " + std::string(1, row->Condition2Kind) +
                        " = " + Show(row->Condition2, ConditionUnit(row->Condition2Kind, d)) + ' ' +
                        ConditionUnit(row->Condition2Kind, d).Label;
        o << "<tr data-case=\"" << lc.Number << "\"" << (CaseFailed(lc) ? " class=\"failed\"" : "") << "><td>"
          << lc.Number << "</td><td>" << Escape(name) << "</td><td>" << Escape(condition) << "</td>";
        if (CaseFailed(lc)) {
            o << "<td colspan=\"10\" class=\"failure\">" << Escape(FailureReason(r, lc)) << "</td></tr>\n";
            continue;
        }
        o << (row ? Cell(row->AxialLoad, d.Force, at + "axialLoad") : std::string("<td></td>"))
          << Cell(lc.HeadShear, d.Force, at + "headShear")
          << (lc.Stations.empty() ? std::string("<td></td>") : Cell(HeadMoment(lc), d.Moment, at + "stations/moment/0"))
          << Cell(lc.HeadDeflection, d.Deflection, at + "headDeflection")
          << (row ? Cell(row->HeadRotation, d.Rotation, at + "headRotation") : std::string("<td></td>"))
          << Cell(lc.MaxMoment, d.Moment, at + "maxMoment") << Cell(lc.DepthMaxMoment, d.Depth, at + "depthOfMaxMoment")
          << Cell(lc.MaxShear, d.Force, at + "maxShear") << Cell(lc.DepthMaxShear, d.Depth, at + "depthOfMaxShear");
        std::string state = "complete";
        if (!lc.StationsComplete)
            state = "partial: " + std::to_string(lc.Stations.size()) + " of " +
                    std::to_string(std::max(r.Plot.NumStations, 0)) + " stations";
        else if (!lc.HasSummary)
            state = "from the stations (no summary record)";
        o << "<td class=\"state\">" << Escape(state) << "</td></tr>\n";
    }
    o << "</tbody></table>\n";
    return o.str();
}

// The LRFD check of each combination: factored moment against phi Mn.
std::string LrfdTable(const RunResults& r, const Display& d) {
    const auto& rows = r.Facts.LrfdChecks;
    if (rows.empty()) return {};
    std::ostringstream o;
    o << "<h2>LRFD check</h2>\n<table class=\"lrfd\" id=\"lrfd\"><thead><tr><th>Combination</th><th>Name</th>"
      << "<th>Section</th><th>Resistance factor \u03c6</th><th>Factored capacity \u03c6Mn<br>" << Escape(d.Moment.Label)
      << "</th><th>Factored moment Mu<br>" << Escape(d.Moment.Label)
      << "</th><th>Mu / \u03c6Mn</th><th>Check</th></tr></thead><tbody>\n";
    const Du plain{"", 1.0};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LrfdCheckRow& c = rows[i];
        const std::string at = "/lrfdChecks/" + std::to_string(i) + "/";
        const char* check = !c.Checked ? "not checked" : c.Passed ? "pass" : "fail";
        o << "<tr data-check=\"" << check << "\"><td>" << c.Combination << "</td><td>" << Escape(c.Name) << "</td><td>"
          << c.Section << "</td>" << Cell(c.ResistanceFactor, plain, at + "resistanceFactor")
          << (c.Checked ? Cell(c.FactoredCapacity, d.Moment, at + "factoredMomentCapacity") : "<td>N/A</td>")
          << Cell(c.MaxMoment, d.Moment, at + "maxMoment")
          << (c.Checked && c.FactoredCapacity > 0.0 ? Cell(c.MaxMoment / c.FactoredCapacity, plain, at + "ratio")
                                                    : "<td>N/A</td>")
          << "<td class=\"check " << (c.Passed ? "pass" : c.Checked ? "fail" : "") << "\">"
          << (!c.Checked ? "not checked" : c.Passed ? "Pass" : "FAIL") << "</td></tr>\n";
    }
    o << "</tbody></table>\n";
    return o.str();
}

// Linear interpolation of a station field at a depth; false outside the pile.
bool AtDepth(const std::vector<Station>& s, double depth, StationField field, double& v) {
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (depth < s[i - 1].Depth || depth > s[i].Depth) continue;
        const double dx = s[i].Depth - s[i - 1].Depth;
        const double t = dx > 0.0 ? (depth - s[i - 1].Depth) / dx : 0.0;
        v = s[i - 1].*field + t * (s[i].*field - s[i - 1].*field);
        return true;
    }
    return false;
}

// One small chart per printed p-y curve, each to its own range: the deflection
// axis ends at one and a half times the deflection where the curve reaches 95 % of its
// largest resistance (the whole curve when it still rises at its end), or
// further when a load case's point at that depth lies beyond. The load cases'
// actual deflection and soil reaction at the curve's depth are marked.
std::string PyCharts(const RunResults& r, const Display& d) {
    std::string charts, notes;
    for (const PrintedPyCurve& pc : r.Plot.PyCurves) {
        const std::string depth = Show(pc.Depth, d.Depth) + ' ' + d.Depth.Label;
        if (pc.Points.empty()) {
            notes += "<li>Depth " + depth + ": below the pile tip, no curve.</li>\n";
            continue;
        }
        Chart c;
        c.Id = "py-curve-" + std::to_string(pc.Number);
        c.Title = "p-y curve " + std::to_string(pc.Number) + " at " + depth;
        c.XLabel = "Deflection y, " + d.Deflection.Label;
        c.YLabel = "p, " + d.Reaction.Label;
        c.Width = 270.0;
        c.Height = 230.0;
        c.FromZero = true;
        Series s{pc.CurveName, "curve-" + std::to_string(pc.Number), {}};
        s.Colour = static_cast<int>(Palette.size()) - 1;  // grey: the case colours are those of the depth charts
        double pmax = 0.0, ymax = 0.0;
        for (const PyPoint& p : pc.Points) {
            s.Points.push_back({p.Y * d.Deflection.Factor, p.P * d.Reaction.Factor});
            pmax = std::max(pmax, p.P);
            ymax = std::max(ymax, p.Y);
        }
        double y95 = ymax;
        for (const PyPoint& p : pc.Points)
            if (p.P >= 0.95 * pmax) {
                y95 = p.Y;
                break;
            }
        double cut = std::min(ymax, 1.5 * y95);
        if (!(cut > 0.0)) cut = ymax;
        c.Lines.push_back(std::move(s));
        double yCase = 0.0;
        int place = -1;
        for (const LoadCase& lc : r.Plot.LoadCases) {
            if (!lc.Stations.empty()) ++place;
            double y = 0.0, p = 0.0;
            if (!AtDepth(lc.Stations, pc.Depth, &Station::Deflection, y) ||
                !AtDepth(lc.Stations, pc.Depth, &Station::SoilReaction, p))
                continue;
            Series m{CaseName(r, lc), "case-" + std::to_string(lc.Number),
                     {{{std::fabs(y) * d.Deflection.Factor, std::fabs(p) * d.Reaction.Factor}}}};
            m.Markers = true;
            m.Line = false;
            m.Colour = place;
            c.Lines.push_back(std::move(m));
            yCase = std::max(yCase, std::fabs(y));
        }
        cut = std::max(cut, 1.2 * yCase);
        c.XCut = cut * d.Deflection.Factor;
        const bool soilNamed = !pc.SoilDescription.empty() && pc.SoilDescription != pc.CurveName;
        charts += "<div class=\"py\">" + Svg(c) +
                  (soilNamed ? "<p class=\"caption\">Soil: " + Escape(pc.SoilDescription) + "</p>" : std::string()) +
                  "</div>\n";
    }
    std::string out = charts.empty() ? "" : "<div class=\"charts\">\n" + charts + "</div>\n";
    if (!notes.empty()) out += "<ul>" + notes + "</ul>\n";
    return out;
}

// Head load against head deflection and against the maximum moment, across
// the load cases sharing a head condition (load type and second condition).
std::string LoadDeflectionCharts(const RunResults& r, const Display& d) {
    struct Group {
        int LoadType;
        char Kind;
        double Condition2;
        std::vector<const LoadCase*> Cases;
    };
    std::vector<Group> groups;
    for (const LoadCase& lc : r.Plot.LoadCases) {
        const CaseSummaryRow* row = SummaryRowOf(r.Facts, lc.Number);
        if (row == nullptr || CaseFailed(lc)) continue;
        Group* g = nullptr;
        for (Group& x : groups)
            if (x.LoadType == row->LoadType && x.Condition2 == row->Condition2) g = &x;
        if (g == nullptr) {
            groups.push_back({row->LoadType, row->Condition2Kind, row->Condition2, {}});
            g = &groups.back();
        }
        g->Cases.push_back(&lc);
    }
    Chart yc, mc;
    yc.Id = "load-deflection";
    yc.Title = "Head shear against head deflection";
    yc.XLabel = "Head deflection, " + d.Deflection.Label;
    yc.YLabel = "Head shear, " + d.Force.Label;
    mc.Id = "load-moment";
    mc.Title = "Head shear against maximum moment";
    mc.XLabel = "Maximum moment |M|, " + d.Moment.Label;
    mc.YLabel = "Head shear, " + d.Force.Label;
    for (Chart* c : {&yc, &mc}) {
        c->Height = 300.0;
        c->FromZero = true;
    }
    for (const Group& g : groups) {
        if (g.Cases.size() < 2) continue;
        std::vector<const LoadCase*> cases = g.Cases;
        std::sort(cases.begin(), cases.end(),
                  [](const LoadCase* a, const LoadCase* b) { return std::fabs(a->HeadShear) < std::fabs(b->HeadShear); });
        const Du& u2 = ConditionUnit(g.Kind, d);
        const std::string name = "Load type " + std::to_string(g.LoadType) + ", " + std::string(1, g.Kind) + " = " +
                                 Show(g.Condition2, u2) + ' ' + u2.Label;
        Series sy{name, "type-" + std::to_string(g.LoadType) + "-" + std::to_string(yc.Lines.size() + 1), {}};
        Series sm = sy;
        sy.Points.push_back({0.0, 0.0});
        sm.Points.push_back({0.0, 0.0});
        for (const LoadCase* lc : cases) {
            sy.Points.push_back({std::fabs(lc->HeadDeflection) * d.Deflection.Factor, std::fabs(lc->HeadShear) * d.Force.Factor});
            sm.Points.push_back({std::fabs(lc->MaxMoment) * d.Moment.Factor, std::fabs(lc->HeadShear) * d.Force.Factor});
        }
        sy.Markers = sm.Markers = true;
        yc.Lines.push_back(std::move(sy));
        mc.Lines.push_back(std::move(sm));
    }
    if (yc.Lines.empty()) return {};
    return "<h2>Load against deflection and moment</h2>\n<p>Load cases with the same head condition, from the origin "
           "through each case (magnitudes).</p>\n<div class=\"charts\">" +
           Svg(yc) + Svg(mc) + "</div>\n";
}

// Each interaction diagram of the sections (axial thrust against moment
// capacity), with each load case's axial load and largest moment marked.
std::string InteractionCharts(const RunResults& r, const Display& d) {
    const auto& diagrams = r.Facts.Interaction;
    if (diagrams.empty()) return {};
    std::string out = "<h2>Interaction diagram</h2>\n<div class=\"charts\">\n";
    for (std::size_t k = 0; k < diagrams.size(); ++k) {
        const InteractionDiagram& g = diagrams[k];
        Chart c;
        c.Id = "interaction-" + std::to_string(k + 1);
        c.Title = "Interaction diagram " + std::to_string(k + 1) + " (" + DisplayNumber(g.DirectionDegrees) + "\u00b0)";
        c.XLabel = "Moment capacity, " + d.SectionMoment.Label;
        c.YLabel = "Axial thrust, " + d.Thrust.Label;
        c.Height = 320.0;
        c.FromZero = true;
        Series s{"Capacity at a compression strain of 0.003", "diagram-" + std::to_string(k + 1), {}};
        for (std::size_t i = 0; i < g.Thrust.size() && i < g.Moment.size(); ++i)
            s.Points.push_back({g.Moment[i] * d.SectionMoment.Factor, g.Thrust[i] * d.Thrust.Factor});
        s.Colour = static_cast<int>(Palette.size()) - 1;
        c.Lines.push_back(std::move(s));
        int place = -1;
        for (const LoadCase& lc : r.Plot.LoadCases) {
            if (!lc.Stations.empty()) ++place;
            const CaseSummaryRow* row = SummaryRowOf(r.Facts, lc.Number);
            if (row == nullptr || CaseFailed(lc)) continue;
            Series m{CaseName(r, lc), "case-" + std::to_string(lc.Number),
                     {{{std::fabs(lc.MaxMoment) * d.Moment.Factor * d.MomentToSection,
                        row->AxialLoad * d.Force.Factor * d.ForceToThrust}}}};
            m.Markers = true;
            m.Line = false;
            m.Colour = place;
            c.Lines.push_back(std::move(m));
        }
        out += Svg(c);
    }
    return out + "</div>\n";
}

std::string ThrustName(const ThrustCurve& t, const Display& d) {
    return "Thrust " + Show(t.Thrust, d.Thrust) + ' ' + d.Thrust.Label;
}

std::string SectionCharts(const RunResults& r, const Display& d) {
    std::ostringstream o;
    for (std::size_t si = 0; si < r.Plot.Sections.size(); ++si) {
        const SectionCurves& s = r.Plot.Sections[si];
        const std::string sec = "Section " + std::to_string(s.Number);
        o << "<h3>" << sec << " (" << Escape(s.Kind) << ")</h3>\n<div class=\"charts\">\n";
        Chart mc, ec;
        mc.Id = "moment-curvature-" + std::to_string(s.Number);
        mc.Title = sec + ": moment-curvature";
        mc.XLabel = "Curvature, " + d.Curvature.Label;
        mc.YLabel = "Moment, " + d.SectionMoment.Label;
        ec.Id = "ei-moment-" + std::to_string(s.Number);
        ec.Title = sec + ": bending stiffness";
        ec.XLabel = "Moment, " + d.SectionMoment.Label;
        ec.YLabel = "EI, " + d.SectionEI.Label;
        for (Chart* c : {&mc, &ec}) c->Height = 320.0;
        for (const ThrustCurve& t : s.Thrusts) {
            Series m{ThrustName(t, d), "thrust-" + std::to_string(t.ThrustNumber), {}};
            Series e = m;
            for (const SectionCurvePoint& p : t.Points) {
                m.Points.push_back({p.Curvature * d.Curvature.Factor, p.Moment * d.SectionMoment.Factor});
                e.Points.push_back({p.Moment * d.SectionMoment.Factor, p.EI * d.SectionEI.Factor});
            }
            mc.Lines.push_back(std::move(m));
            ec.Lines.push_back(std::move(e));
        }
        o << Svg(mc) << Svg(ec) << "</div>\n<table class=\"small\"><tr><th>Axial thrust, " << Escape(d.Thrust.Label)
          << "</th><th>Nominal moment capacity, " << Escape(d.Capacity.Label) << "</th><th>Points</th></tr>\n";
        for (std::size_t ti = 0; ti < s.Thrusts.size(); ++ti) {
            const ThrustCurve& t = s.Thrusts[ti];
            const std::string at = "/sections/" + std::to_string(si) + "/curves/" + std::to_string(ti) + "/";
            o << "<tr>" << Cell(t.Thrust, d.Thrust, at + "axialThrust")
              << (t.NominalMomentCapacity > 0.0 ? Cell(t.NominalMomentCapacity, d.Capacity, at + "nominalMomentCapacity")
                                                : std::string("<td>not computed</td>"))
              << "<td class=\"num\">"
              << t.Points.size() << "</td></tr>\n";
        }
        o << "</table>\n";
    }
    return o.str();
}

std::string StudyCharts(const RunResults& r, const Display& d) {
    std::string out;
    Chart lc;
    lc.Id = "length-study";
    lc.Title = "Pile-head deflection against pile length";
    lc.XLabel = "Pile length, " + d.Depth.Label;
    lc.YLabel = "Pile-head deflection, " + d.Deflection.Label;
    lc.Height = 300.0;
    for (const LoadCase& c : r.Plot.LoadCases) {
        if (c.LengthStudy.empty()) continue;
        Series s{CaseName(r, c), "case-" + std::to_string(c.Number), {}};
        for (const LengthPoint& p : c.LengthStudy)
            s.Points.push_back({p.PileLength * d.Depth.Factor, p.HeadDeflection * d.Deflection.Factor});
        s.Markers = true;
        lc.Lines.push_back(std::move(s));
    }
    if (!lc.Lines.empty()) out += "<h2>Pile length study</h2>\n<div class=\"charts\">" + Svg(lc) + "</div>\n";
    if (!r.Plot.Stiffness.empty()) {
        Chart v, m;
        v.Id = "stiffness-shear";
        v.Title = "Pile-head shear against deflection";
        v.XLabel = "Pile-head deflection, " + d.Deflection.Label;
        v.YLabel = "Shear, " + d.Force.Label;
        m.Id = "stiffness-moment";
        m.Title = "Pile-head moment against rotation";
        m.XLabel = "Pile-head rotation, rad";
        m.YLabel = "Moment, " + d.Moment.Label;
        v.Height = m.Height = 300.0;
        Series sv{"Load steps", "steps", {}}, sm = sv;
        std::ostringstream t;
        t << "<table class=\"small\"><tr><th>V, " << Escape(d.Force.Label) << "</th><th>M, " << Escape(d.Moment.Label)
          << "</th><th>K22, " << Escape(d.K22.Label) << "</th><th>K23, " << Escape(d.K23.Label) << "</th><th>K32, "
          << Escape(d.K32.Label) << "</th><th>K33, " << Escape(d.K33.Label) << "</th><th>y, "
          << Escape(d.Deflection.Label) << "</th><th>rotation, rad</th></tr>\n";
        for (std::size_t i = 0; i < r.Plot.Stiffness.size(); ++i) {
            const StiffnessStep& s = r.Plot.Stiffness[i];
            sv.Points.push_back({s.HeadDeflection * d.Deflection.Factor, s.HeadShear * d.Force.Factor});
            sm.Points.push_back({s.HeadRotation, s.HeadMoment * d.Moment.Factor});
            const std::string n = "/" + std::to_string(i);
            t << "<tr>" << Cell(s.HeadShear, d.Force, "/stiffness/headShear" + n)
              << Cell(s.HeadMoment, d.Moment, "/stiffness/headMoment" + n) << Cell(s.K22, d.K22, "/stiffness/k22" + n)
              << Cell(s.K23, d.K23, "/stiffness/k23" + n) << Cell(s.K32, d.K32, "/stiffness/k32" + n)
              << Cell(s.K33, d.K33, "/stiffness/k33" + n)
              << Cell(s.HeadDeflection, d.Deflection, "/stiffness/headDeflection" + n)
              << Cell(s.HeadRotation, d.Rotation, "/stiffness/headRotation" + n) << "</tr>\n";
        }
        t << "</table>\n";
        v.Lines.push_back(std::move(sv));
        m.Lines.push_back(std::move(sm));
        out += "<h2>Pile-head stiffness</h2>\n<div class=\"charts\">" + Svg(v) + Svg(m) + "</div>\n" + t.str();
    }
    return out;
}

std::string OutcomeBlock(const RunResults& r) {
    const RunFacts& f = r.Facts;
    const char* cls = f.Status == RunStatus::Normal ? "ok" : f.Status == RunStatus::Warnings ? "warn" : "bad";
    std::ostringstream o;
    o << "<section class=\"outcome " << cls << "\" id=\"outcome\" data-status=\"" << StatusName(f.Status)
      << "\">\n<p class=\"sentence\">" << Escape(OutcomeSentence(f)) << "</p>\n";
    if (f.Status == RunStatus::Error) {
        if (!f.ErrorText.empty())
            o << "<p>The report gives this error:</p>\n<pre class=\"error-text\">" << Escape(f.ErrorText) << "</pre>\n";
        else
            o << "<p>The report holds no text for this error.</p>\n";
        if (!r.Plot.LoadCases.empty())
            o << "<p>Results below are those the engine wrote before it stopped.</p>\n";
    }
    if (f.Result) o << "<p class=\"result\">Run result: " << *f.Result << "</p>\n";
    const PlotResults& p = r.Plot;
    if (!p.Complete) {
        o << "<p class=\"plot-problem\">The plot file is incomplete: " << Escape(p.Problem)
          << ". Only the records before that line are shown.</p>\n";
    }
    o << "</section>\n";
    return o.str();
}

constexpr const char* Style = R"(<style>
body{font-family:"DejaVu Sans",Arial,Helvetica,sans-serif;margin:24px auto;max-width:1440px;color:#222;padding:0 16px}
h1{font-size:22px;margin:0 0 4px}h2{font-size:18px;margin:28px 0 8px;border-bottom:1px solid #bbb}
h3{font-size:15px;margin:18px 0 6px}.title{margin:0;color:#444;white-space:pre-line}
.outcome{border-left:6px solid;padding:8px 14px;margin:16px 0;background:#f6f6f6}
.outcome.ok{border-color:#2e8b57}.outcome.warn{border-color:#d39e00;background:#fff8e1}
.outcome.bad{border-color:#c0392b;background:#fdecea}.sentence{font-weight:bold;font-size:16px;margin:4px 0}
pre{white-space:pre-wrap;background:#fff;border:1px solid #ddd;padding:8px;font-size:13px}
table{border-collapse:collapse;margin:8px 0;font-size:13px}th,td{border:1px solid #ccc;padding:3px 8px}
th{background:#eef2f6;font-weight:600}td.num{text-align:right;font-variant-numeric:tabular-nums}
.charts{display:flex;flex-wrap:wrap;gap:10px}figure.chart{margin:0}
svg text{font-family:"DejaVu Sans",Arial,sans-serif}
svg .title{font-size:13px;font-weight:bold}svg .tick{font-size:10px;fill:#333}svg .axis{font-size:11px}
svg .legend{font-size:10px}svg .frame{fill:none;stroke:#444;stroke-width:1}
svg .grid{stroke:#e3e3e3;stroke-width:1}svg .zero{stroke:#999;stroke-width:1}
svg .series{fill:none;stroke-width:1.8;stroke-linejoin:round}svg .key{stroke-width:2.5}
svg .ground{stroke:#8a5a00;stroke-width:2}svg .layer{stroke:#8a5a00;stroke-width:1;stroke-dasharray:5 3}
svg .ground-label,svg .layer-label{font-size:9.5px;fill:#6b4600}
svg .ref{stroke-width:1.4}svg .key-ref{stroke-width:1.6}svg .marker{stroke:#fff;stroke-width:1}
svg .soil{stroke:none}svg .pile{fill:#9aa3ad;stroke:#333;stroke-width:1}
svg .soil-label,svg .section-label{font-size:10px;fill:#3b2a00;paint-order:stroke;stroke:#fff;stroke-width:3px}
tr.failed td{background:#fdecea}td.failure{color:#a02616;font-weight:600}td.state{font-size:12px;color:#555}
td.check.pass{color:#1d6b3a;font-weight:600}td.check.fail{color:#a02616;font-weight:700}
.py{width:270px}.py .caption{font-size:11px;color:#444;margin:0 0 6px 4px}
.units-note{color:#555;font-size:13px}
footer{margin-top:32px;color:#666;font-size:12px}
@media print{body{margin:0;max-width:none;font-size:11px}figure.chart,table,.outcome,.py{break-inside:avoid}h2,h3{break-after:avoid}
table.summary{font-size:10px}}
@page{margin:14mm}
</style>
)";

}  // namespace

std::string DisplayNumber(double v) {
    if (!std::isfinite(v)) return std::isnan(v) ? "not a number" : v > 0 ? "infinite" : "-infinite";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.3e", v);
    const double rounded = std::strtod(buf, nullptr);
    if (rounded == 0.0) return "0";
    const int e = static_cast<int>(std::floor(std::log10(std::fabs(rounded)) + 1e-12));
    if (e >= -4 && e < 6) {
        std::snprintf(buf, sizeof buf, "%.*f", std::max(0, 3 - e), rounded);
        std::string s = buf;
        if (s.find('.') != std::string::npos) {
            s.erase(s.find_last_not_of('0') + 1);
            if (s.back() == '.') s.pop_back();
        }
        return s;
    }
    // Mantissa without trailing zeros, exponent as the plot file writes it.
    std::string s = buf;
    const std::size_t ex = s.find('e');
    std::string mant = s.substr(0, ex), exp = s.substr(ex + 1);
    if (mant.find('.') != std::string::npos) {
        mant.erase(mant.find_last_not_of('0') + 1);
        if (mant.back() == '.') mant.pop_back();
    }
    return mant + "E" + exp;
}

bool ParseDisplayUnits(const std::string& text, DisplayUnits& units) {
    if (text == "input") units = DisplayUnits::Input;
    else if (text == "us") units = DisplayUnits::Us;
    else if (text == "si") units = DisplayUnits::Si;
    else if (text == "engine") units = DisplayUnits::Engine;
    else return false;
    return true;
}

std::string PageStyle() { return Style; }

std::string EscapeHtml(const std::string& s) { return Escape(s); }

std::string XYChart(const std::string& id, const std::string& title, const std::string& xLabel,
                    const std::string& yLabel, const std::vector<XYSeries>& series) {
    Chart c;
    c.Id = id;
    c.Title = title;
    c.XLabel = xLabel;
    c.YLabel = yLabel;
    c.Height = 300.0;
    c.FromZero = true;
    for (std::size_t i = 0; i < series.size(); ++i) {
        Series s{series[i].Name, id + "-" + std::to_string(i + 1), series[i].Points};
        s.Markers = series[i].Markers;
        c.Lines.push_back(std::move(s));
    }
    return Svg(c);
}

ShownUnits ShownUnitsFor(int unitSystem, DisplayUnits units) {
    const Display d = DisplayFor(unitSystem, units);
    ShownUnits s;
    s.Depth = d.Depth.Label;
    s.Deflection = d.Deflection.Label;
    s.Force = d.Force.Label;
    s.Moment = d.Moment.Label;
    s.DepthFactor = d.Depth.Factor;
    s.DeflectionFactor = d.Deflection.Factor;
    s.ForceFactor = d.Force.Factor;
    s.MomentFactor = d.Moment.Factor;
    return s;
}

std::string HtmlReport(const RunResults& r, DisplayUnits units) {
    const PlotResults& p = r.Plot;
    const RunFacts& f = r.Facts;
    const PlotUnits u = UnitsOf(p.UnitSystem);
    const Display d = DisplayFor(p.UnitSystem, units);
    std::ostringstream o;
    o << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Kestro results: "
      << Escape(r.Name) << "</title>\n" << Style << "</head>\n<body>\n<header>\n<h1>Kestro results: " << Escape(r.Name)
      << "</h1>\n";
    if (!f.Title.empty()) {
        o << "<p class=\"title\">";
        for (std::size_t i = 0; i < f.Title.size(); ++i) o << (i ? "\n" : "") << Escape(f.Title[i]);
        o << "</p>\n";
    }
    o << "</header>\n" << OutcomeBlock(r);

    o << "<h2>Run</h2>\n<table class=\"small\">\n";
    if (p.HasHeader)
        o << "<tr><th>Units</th><td>Shown in " << Escape(d.Name) << " units: depths in " << Escape(d.Depth.Label)
          << ", deflections in " << Escape(d.Deflection.Label) << ", forces in " << Escape(d.Force.Label)
          << ", moments in " << Escape(d.Moment.Label) << ". The JSON file keeps the engine's units ("
          << u.SystemName << ", lengths in " << u.Length << ").</td></tr>\n";
    if (p.NumStations > 0) o << "<tr><th>Stations per load case</th><td>" << p.NumStations << "</td></tr>\n";
    if (p.NumLoadCases >= 0) o << "<tr><th>Load cases</th><td>" << p.NumLoadCases << "</td></tr>\n";
    o << "<tr><th>Files</th><td>" << Escape(r.PlotFile) << ", " << Escape(r.ReportFile) << ", "
      << Escape(r.MessageFile) << "</td></tr>\n</table>\n";

    o << "<h2>Summary of load cases</h2>\n";
    if (p.LoadCases.empty())
        o << "<p class=\"none\">No load case results: the plot file holds none.</p>\n";
    else
        o << SummaryTable(r, d);
    o << LrfdTable(r, d);

    if (!p.LoadCases.empty()) {
        o << "<h2>Pile response against depth</h2>\n<div class=\"charts\">\n" << PileDrawing(r, d)
          << ResponseCharts(r, d) << MobilisedChart(r, d) << "</div>\n";
        if (!f.Layers.empty()) {
            o << "<p class=\"units-note\">GS: ground surface; L1, L2, ...: tops of the soil layers below.</p>\n"
              << "<table class=\"small\"><tr><th>Layer</th><th>Soil</th><th>Top, " << Escape(d.Depth.Label)
              << "</th><th>Bottom, " << Escape(d.Depth.Label) << "</th></tr>\n";
            for (std::size_t i = 0; i < f.Layers.size(); ++i) {
                const SoilLayerInfo& l = f.Layers[i];
                const std::string at = "/profile/soilLayers/" + std::to_string(i) + "/";
                o << "<tr><td>" << l.Number << "</td><td>" << Escape(l.Description) << "</td>"
                  << Cell(l.Top, d.Depth, at + "top") << Cell(l.Bottom, d.Depth, at + "bottom") << "</tr>\n";
            }
            o << "</table>\n";
        } else {
            o << "<p>The report names no soil layers, so none are drawn.</p>\n";
        }
    }
    o << EnvelopeCharts(r, d);
    o << LoadDeflectionCharts(r, d);
    if (!p.PyCurves.empty()) o << "<h2>Printed p-y curves</h2>\n" << PyCharts(r, d);
    if (!p.Sections.empty()) o << "<h2>Section curves</h2>\n" << SectionCharts(r, d);
    o << InteractionCharts(r, d);
    o << StudyCharts(r, d);
    o << AxialHtml(p.Axial, p.UnitSystem);
    if (!f.Warnings.empty()) {
        o << "<h2>Warnings</h2>\n<ul class=\"warnings\">\n";
        for (const WarningInfo& w : f.Warnings)
            o << "<li>Reported " << w.Count << " times" << (w.Text.empty() ? "" : ":<pre>" + Escape(w.Text) + "</pre>")
              << "</li>\n";
        o << "</ul>\n";
    }
    o << "<footer>Written by kestro from " << Escape(r.PlotFile) << " and the report and message files beside it."
      << "</footer>\n</body>\n</html>\n";
    return o.str();
}

}  // namespace kestro::results
