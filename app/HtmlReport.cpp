#include "HtmlReport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace kestro::results {
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
// Written with std::to_chars (the digits of printf's %.2f, much faster): a
// report draws tens of thousands of points.
std::string Px(double v) {
    v = std::isnan(v) ? 0.0 : std::clamp(v, -1.0e5, 1.0e5);
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    return std::string(buf, r.ptr);
}

// Tick labels: up to six significant digits, no trailing zeros, in units of
// the axis multiplier 10^k.
std::string TickText(double v, double step, int k) {
    if (std::fabs(v) < step * 1e-9) v = 0.0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v / std::pow(10.0, k));
    return buf;
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

constexpr std::array<const char*, 8> Palette = {"#1f5fa8", "#c0392b", "#2e8b57", "#8e44ad",
                                                "#d35400", "#16808a", "#7f6a00", "#555555"};
constexpr std::array<const char*, 3> Dashes = {"", "6 3", "2 3"};

struct Series {
    std::string Name;
    std::string Key;  // data-series attribute: "case-1", "curve-2", ...
    std::vector<std::array<double, 2>> Points;
};

struct DepthMark {
    double Depth = 0.0;
    std::string Label;
    bool Ground = false;
    bool Line = true;  // false: label only (a layer top on the ground surface)
};

struct Chart {
    std::string Id, Title, XLabel, YLabel;
    bool DepthDown = false;  // the y axis is depth below the pile head, growing downward
    std::vector<Series> Lines;
    std::vector<DepthMark> Marks;
};

constexpr double W = 340.0, H = 440.0, ML = 60.0, MR = 18.0, MT = 30.0, MB = 46.0;
constexpr std::size_t MaxLegend = 12;
constexpr int MaxTicks = 40;  // a nice axis has at most a dozen; the bound guards rounding

std::string Svg(const Chart& c) {
    double xlo = INFINITY, xhi = -INFINITY, ylo = INFINITY, yhi = -INFINITY;
    for (const Series& s : c.Lines)
        for (const auto& p : s.Points) {
            xlo = std::min(xlo, p[0]);
            xhi = std::max(xhi, p[0]);
            ylo = std::min(ylo, p[1]);
            yhi = std::max(yhi, p[1]);
        }
    if (!(xlo <= xhi)) xlo = xhi = ylo = yhi = 0.0;
    const Axis ax = NiceAxis(xlo, xhi, 4);
    const Axis ay = c.DepthDown ? NiceAxis(ylo, yhi, 8) : NiceAxis(ylo, yhi, 6);
    const int kx = AxisExponent(ax.Lo, ax.Hi), ky = AxisExponent(ay.Lo, ay.Hi);
    const double pw = W - ML - MR, ph = H - MT - MB;
    auto X = [&](double v) { return ML + (v - ax.Lo) / (ax.Hi - ax.Lo) * pw; };
    auto Y = [&](double v) {
        const double t = (v - ay.Lo) / (ay.Hi - ay.Lo);
        return c.DepthDown ? MT + t * ph : MT + (1.0 - t) * ph;
    };
    const std::size_t legendRows = c.Lines.size() > 1 ? std::min(c.Lines.size(), MaxLegend + 1) : 0;
    const double height = H + (legendRows > 0 ? 8.0 + 15.0 * static_cast<double>(legendRows) : 0.0);

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
    // Grid and tick labels.
    for (int i = 0; i <= MaxTicks; ++i) {
        const double v = ax.Lo + i * ax.Step;
        if (v > ax.Hi + ax.Step * 1e-6) break;
        o << "<line class=\"grid\" x1=\"" << Px(X(v)) << "\" y1=\"" << Px(MT) << "\" x2=\"" << Px(X(v)) << "\" y2=\""
          << Px(MT + ph) << "\"/><text class=\"tick\" x=\"" << Px(X(v)) << "\" y=\"" << Px(MT + ph + 14)
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
    // Ground surface and soil layer tops.
    for (const DepthMark& m : c.Marks) {
        if (m.Depth < ay.Lo - 1e-9 * ay.Step || m.Depth > ay.Hi + 1e-9 * ay.Step) continue;
        const double y = Y(m.Depth);
        if (m.Line)
            o << "<line class=\"" << (m.Ground ? "ground" : "layer") << "\" x1=\"" << Px(ML) << "\" y1=\"" << Px(y)
              << "\" x2=\"" << Px(ML + pw) << "\" y2=\"" << Px(y) << "\"/>\n";
        o << "<text class=\"" << (m.Ground ? "ground-label" : "layer-label") << "\" x=\"" << Px(ML + 4) << "\" y=\""
          << Px(m.Ground ? y - 3 : y + 11) << "\">" << Escape(m.Label) << "</text>\n";
    }
    // Curves.
    for (std::size_t i = 0; i < c.Lines.size(); ++i) {
        const Series& s = c.Lines[i];
        std::string d;
        for (const auto& p : s.Points) d += (d.empty() ? "M" : " L") + Px(X(p[0])) + ' ' + Px(Y(p[1]));
        const char* dash = Dashes[(i / Palette.size()) % Dashes.size()];
        o << "<path class=\"series\" clip-path=\"url(#clip-" << Escape(c.Id) << ")\" data-series=\"" << Escape(s.Key)
          << "\" d=\"" << d << "\" stroke=\""
          << Palette[i % Palette.size()] << '"' << (*dash ? std::string(" stroke-dasharray=\"") + dash + '"' : "")
          << "/>\n";
    }
    // Axis titles.
    o << "<text class=\"axis\" x=\"" << Px(ML + pw / 2) << "\" y=\"" << Px(MT + ph + 34) << "\" text-anchor=\"middle\">"
      << Escape(WithExponent(c.XLabel, kx)) << "</text>\n";
    o << "<text class=\"axis\" transform=\"translate(14 " << Px(MT + ph / 2) << ") rotate(-90)\" text-anchor=\"middle\">"
      << Escape(WithExponent(c.YLabel, ky)) << "</text>\n";
    // Legend below the plot when several curves share it.
    for (std::size_t i = 0; i < legendRows; ++i) {
        const double y = H + 8.0 + 15.0 * static_cast<double>(i);
        if (i == MaxLegend && c.Lines.size() > MaxLegend + 1) {
            o << "<text class=\"legend\" x=\"" << Px(ML) << "\" y=\"" << Px(y + 4) << "\">and "
              << c.Lines.size() - MaxLegend << " more curves</text>\n";
            break;
        }
        const char* dash = Dashes[(i / Palette.size()) % Dashes.size()];
        o << "<line class=\"key\" x1=\"" << Px(ML) << "\" y1=\"" << Px(y) << "\" x2=\"" << Px(ML + 22) << "\" y2=\""
          << Px(y) << "\" stroke=\"" << Palette[i % Palette.size()] << '"'
          << (*dash ? std::string(" stroke-dasharray=\"") + dash + '"' : "") << "/><text class=\"legend\" x=\""
          << Px(ML + 28) << "\" y=\"" << Px(y + 4) << "\">" << Escape(c.Lines[i].Name) << "</text>\n";
    }
    o << "</svg></figure>\n";
    return o.str();
}

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
    if (f.HasGroundSurface || !f.Layers.empty()) marks.push_back({ground, "Ground surface", true, true});
    for (const SoilLayerInfo& l : f.Layers) {
        const bool onGround = std::fabs(l.Top - ground) <= 1e-9 * std::max(1.0, std::fabs(ground));
        marks.push_back({l.Top, "Layer " + std::to_string(l.Number) + ": " + ShortName(l.Description), false, !onGround});
    }
    return marks;
}

using StationField = double Station::*;

std::string ResponseCharts(const RunResults& r, const PlotUnits& u) {
    struct Quantity {
        const char* Id;
        const char* Title;
        const char* Axis;
        const char* Unit;
        StationField Field;
    };
    const Quantity quantities[] = {
        {"deflection", "Lateral deflection", "Deflection y", u.Length, &Station::Deflection},
        {"moment", "Bending moment", "Moment M", u.Moment, &Station::Moment},
        {"shear", "Shear force", "Shear V", u.Force, &Station::Shear},
        {"soil-reaction", "Soil reaction", "Soil reaction p", u.ForcePerLength, &Station::SoilReaction}};
    std::string out = "<div class=\"charts\">\n";
    for (const Quantity& q : quantities) {
        Chart c;
        c.Id = q.Id;
        c.Title = q.Title;
        c.XLabel = std::string(q.Axis) + ", " + q.Unit;
        c.YLabel = std::string("Depth below pile head, ") + u.Length;
        c.DepthDown = true;
        c.Marks = ProfileMarks(r.Facts);
        for (const LoadCase& lc : r.Plot.LoadCases) {
            if (lc.Stations.empty()) continue;
            Series s{CaseName(r, lc), "case-" + std::to_string(lc.Number), {}};
            for (const Station& st : lc.Stations) s.Points.push_back({st.*q.Field, st.Depth});
            c.Lines.push_back(std::move(s));
        }
        out += Svg(c);
    }
    return out + "</div>\n";
}

std::string Cell(double v, const char* key) {
    return "<td class=\"num\" data-key=\"" + std::string(key) + "\">" + ExactNumber(v) + "</td>";
}

std::string SummaryTable(const RunResults& r, const PlotUnits& u) {
    std::ostringstream o;
    o << "<table class=\"summary\" id=\"summary\"><thead><tr><th>Load case</th><th>Name</th>"
      << "<th>Head shear<br>" << u.Force << "</th><th>Head deflection<br>" << u.Length << "</th>"
      << "<th>Maximum moment<br>" << u.Moment << "</th><th>Depth of max. moment<br>" << u.Length << "</th>"
      << "<th>Maximum shear<br>" << u.Force << "</th><th>Depth of max. shear<br>" << u.Length << "</th>"
      << "<th>Stations</th></tr></thead><tbody>\n";
    for (const LoadCase& lc : r.Plot.LoadCases) {
        const auto k = static_cast<std::size_t>(lc.Number - 1);
        std::string name = k < r.Facts.CaseNames.size() ? r.Facts.CaseNames[k] : std::string();
        if (name.empty()) name = lc.Lrfd ? "LRFD" : "";
        o << "<tr data-case=\"" << lc.Number << "\"><td>" << lc.Number << "</td><td>" << Escape(name) << "</td>"
          << Cell(lc.HeadShear, "headShear") << Cell(lc.HeadDeflection, "headDeflection")
          << Cell(lc.MaxMoment, "maxMoment") << Cell(lc.DepthMaxMoment, "depthOfMaxMoment")
          << Cell(lc.MaxShear, "maxShear") << Cell(lc.DepthMaxShear, "depthOfMaxShear") << "<td>"
          << lc.Stations.size() << (lc.StationsComplete && lc.HasSummary ? "" : " (incomplete)") << "</td></tr>\n";
    }
    o << "</tbody></table>\n";
    return o.str();
}

std::string PyChart(const RunResults& r, const PlotUnits& u) {
    Chart c;
    c.Id = "py-curves";
    c.Title = "p-y curves at the requested depths";
    c.XLabel = std::string("Deflection y, ") + u.Length;
    c.YLabel = std::string("Soil resistance p, ") + u.ForcePerLength;
    std::string notes;
    for (const PrintedPyCurve& pc : r.Plot.PyCurves) {
        if (pc.Points.empty()) {
            notes += "<li>Depth " + ExactNumber(pc.Depth) + ' ' + u.Length + ": below the pile tip, no curve.</li>\n";
            continue;
        }
        Series s{"Curve " + std::to_string(pc.Number) + " at " + ExactNumber(pc.Depth) + ' ' + u.Length + ": " +
                     pc.CurveName,
                 "curve-" + std::to_string(pc.Number), {}};
        for (const PyPoint& p : pc.Points) s.Points.push_back({p.Y, p.P});
        c.Lines.push_back(std::move(s));
    }
    std::string out = c.Lines.empty() ? "" : "<div class=\"charts\">" + Svg(c) + "</div>\n";
    if (!notes.empty()) out += "<ul>" + notes + "</ul>\n";
    return out;
}

std::string ThrustName(const ThrustCurve& t, const PlotUnits& u) {
    return "Thrust " + ExactNumber(t.Thrust) + ' ' + u.Thrust;
}

std::string SectionCharts(const RunResults& r, const PlotUnits& u) {
    std::ostringstream o;
    for (const SectionCurves& s : r.Plot.Sections) {
        const std::string sec = "Section " + std::to_string(s.Number);
        o << "<h3>" << sec << " (" << Escape(s.Kind) << ")</h3>\n<div class=\"charts\">\n";
        Chart mc, ec;
        mc.Id = "moment-curvature-" + std::to_string(s.Number);
        mc.Title = sec + ": moment-curvature";
        mc.XLabel = std::string("Curvature, ") + u.Curvature;
        mc.YLabel = std::string("Moment, ") + u.SectionMoment;
        ec.Id = "ei-moment-" + std::to_string(s.Number);
        ec.Title = sec + ": bending stiffness";
        ec.XLabel = std::string("Moment, ") + u.SectionMoment;
        ec.YLabel = std::string("EI, ") + u.SectionEI;
        for (const ThrustCurve& t : s.Thrusts) {
            Series m{ThrustName(t, u), "thrust-" + std::to_string(t.ThrustNumber), {}};
            Series e = m;
            for (const SectionCurvePoint& p : t.Points) {
                m.Points.push_back({p.Curvature, p.Moment});
                e.Points.push_back({p.Moment, p.EI});
            }
            mc.Lines.push_back(std::move(m));
            ec.Lines.push_back(std::move(e));
        }
        o << Svg(mc) << Svg(ec) << "</div>\n<table class=\"small\"><tr><th>Axial thrust, " << u.Thrust
          << "</th><th>Nominal moment capacity, " << u.Capacity << "</th><th>Points</th></tr>\n";
        for (const ThrustCurve& t : s.Thrusts)
            o << "<tr><td class=\"num\">" << ExactNumber(t.Thrust) << "</td><td class=\"num\">"
              << ExactNumber(t.NominalMomentCapacity) << "</td><td class=\"num\">" << t.Points.size() << "</td></tr>\n";
        o << "</table>\n";
    }
    return o.str();
}

std::string StudyCharts(const RunResults& r, const PlotUnits& u) {
    std::string out;
    Chart lc;
    lc.Id = "length-study";
    lc.Title = "Pile-head deflection against pile length";
    lc.XLabel = std::string("Pile length, ") + u.Length;
    lc.YLabel = std::string("Pile-head deflection, ") + u.Length;
    for (const LoadCase& c : r.Plot.LoadCases) {
        if (c.LengthStudy.empty()) continue;
        Series s{CaseName(r, c), "case-" + std::to_string(c.Number), {}};
        for (const LengthPoint& p : c.LengthStudy) s.Points.push_back({p.PileLength, p.HeadDeflection});
        lc.Lines.push_back(std::move(s));
    }
    if (!lc.Lines.empty()) out += "<h2>Pile length study</h2>\n<div class=\"charts\">" + Svg(lc) + "</div>\n";
    if (!r.Plot.Stiffness.empty()) {
        Chart v, m;
        v.Id = "stiffness-shear";
        v.Title = "Pile-head shear against deflection";
        v.XLabel = std::string("Pile-head deflection, ") + u.Length;
        v.YLabel = std::string("Shear, ") + u.Force;
        m.Id = "stiffness-moment";
        m.Title = "Pile-head moment against rotation";
        m.XLabel = "Pile-head rotation, rad";
        m.YLabel = std::string("Moment, ") + u.Moment;
        Series sv{"Load steps", "steps", {}}, sm = sv;
        std::ostringstream t;
        t << "<table class=\"small\"><tr><th>V, " << u.Force << "</th><th>M, " << u.Moment << "</th><th>K22, " << u.K22
          << "</th><th>K23, " << u.K23 << "</th><th>K32, " << u.K32 << "</th><th>K33, " << u.K33 << "</th><th>y, "
          << u.Length << "</th><th>rotation, rad</th></tr>\n";
        for (const StiffnessStep& s : r.Plot.Stiffness) {
            sv.Points.push_back({s.HeadDeflection, s.HeadShear});
            sm.Points.push_back({s.HeadRotation, s.HeadMoment});
            t << "<tr>";
            for (double x : {s.HeadShear, s.HeadMoment, s.K22, s.K23, s.K32, s.K33, s.HeadDeflection, s.HeadRotation})
                t << "<td class=\"num\">" << ExactNumber(x) << "</td>";
            t << "</tr>\n";
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
footer{margin-top:32px;color:#666;font-size:12px}
@media print{body{margin:0;max-width:none}figure.chart,table,.outcome{break-inside:avoid}h2{break-after:avoid}}
@page{margin:14mm}
</style>
)";

}  // namespace

std::string HtmlReport(const RunResults& r) {
    const PlotResults& p = r.Plot;
    const RunFacts& f = r.Facts;
    const PlotUnits u = UnitsOf(p.UnitSystem);
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
    if (p.HasHeader) o << "<tr><th>Units</th><td>" << u.SystemName << " (lengths in " << u.Length << ")</td></tr>\n";
    if (p.NumStations > 0) o << "<tr><th>Stations per load case</th><td>" << p.NumStations << "</td></tr>\n";
    if (p.NumLoadCases >= 0) o << "<tr><th>Load cases</th><td>" << p.NumLoadCases << "</td></tr>\n";
    o << "<tr><th>Files</th><td>" << Escape(r.PlotFile) << ", " << Escape(r.ReportFile) << ", "
      << Escape(r.MessageFile) << "</td></tr>\n</table>\n";

    o << "<h2>Summary of load cases</h2>\n";
    if (p.LoadCases.empty())
        o << "<p class=\"none\">No load case results: the plot file holds none.</p>\n";
    else
        o << SummaryTable(r, u);

    if (!p.LoadCases.empty()) {
        o << "<h2>Pile response against depth</h2>\n" << ResponseCharts(r, u);
        if (!f.Layers.empty()) {
            o << "<table class=\"small\"><tr><th>Layer</th><th>Soil</th><th>Top, " << u.Length << "</th><th>Bottom, "
              << u.Length << "</th></tr>\n";
            for (const SoilLayerInfo& l : f.Layers)
                o << "<tr><td>" << l.Number << "</td><td>" << Escape(l.Description) << "</td><td class=\"num\">"
                  << ExactNumber(l.Top) << "</td><td class=\"num\">" << ExactNumber(l.Bottom) << "</td></tr>\n";
            o << "</table>\n";
        } else {
            o << "<p>The report names no soil layers, so none are drawn.</p>\n";
        }
    }
    if (!p.PyCurves.empty()) o << "<h2>Printed p-y curves</h2>\n" << PyChart(r, u);
    if (!p.Sections.empty()) o << "<h2>Section curves</h2>\n" << SectionCharts(r, u);
    o << StudyCharts(r, u);
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
