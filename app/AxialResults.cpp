#include "AxialResults.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "ResultsJson.h"

namespace kestro::results {
namespace {

struct Units {
    const char *Length, *Force, *Stress;
};
Units UnitsFor(int system) {
    if (system == 2) return {"m", "kN", "kPa"};
    if (system == 3) return {"L", "F", "F/L2"};
    return {"in", "lb", "psi"};
}

// The values of one record (before column 81) and its label.
bool Values(const std::string& line, std::vector<double>& v) {
    v.clear();
    std::istringstream in(line.substr(0, std::min<std::size_t>(line.size(), 80)));
    std::string token;
    while (in >> token) {
        char* end = nullptr;
        const double d = std::strtod(token.c_str(), &end);
        if (end == token.c_str() || *end != '\0') return false;
        v.push_back(d);
    }
    return true;
}

std::string Label(const std::string& line) { return line.size() > 80 ? line.substr(80) : std::string(); }

bool IsAxialRecord(const std::string& line) {
    const std::string l = Label(line);
    return l.rfind("Line 2", 0) == 0 && l.find("Axial") != std::string::npos;
}

class Reader {
public:
    Reader(const std::vector<std::string>& lines, AxialPlotResults& a) : lines_(lines), a_(a) {}
    void Run() {
        std::vector<double> v;
        if (!Take("Line 21:", 3, v)) return;
        a_.NumCurvePoints = static_cast<int>(v[0]);
        a_.NumLoads = static_cast<int>(v[1]);
        a_.NumNodes = static_cast<int>(v[2]);
        if (!Take("Line 22:", 4, v)) return;
        a_.UltimateShaft = v[0], a_.UltimateTip = v[1], a_.PlungingCompression = v[2], a_.PlungingUplift = v[3];
        if (!Take("Line 23:", 3, v)) return;
        a_.CapacityFraction = v[0], a_.SettlementAtFraction = v[1], a_.UpliftAtFraction = v[2];
        for (int k = 0; k < a_.NumCurvePoints; ++k) {
            if (!Take("Line 24(" + std::to_string(k) + ")", 4, v)) return;
            a_.Curve.push_back({v[0], v[1], v[2], v[3]});
        }
        for (int j = 1; j <= a_.NumLoads; ++j) {
            if (!Take("Line 25: Axial head load " + std::to_string(j), 4, v)) return;
            AxialLoad load{v[0], v[1], v[2], v[3], Label(lines_[pos_ - 1]).find("beyond") == std::string::npos, {}};
            if (load.Solved)
                for (int i = 1; i <= a_.NumNodes; ++i) {
                    if (!Take("Line 26(" + std::to_string(i) + ")", 4, v)) return;
                    load.Nodes.push_back({v[0], v[1], v[2], v[3]});
                }
            a_.Loads.push_back(std::move(load));
        }
        if (pos_ != lines_.size()) {
            a_.Problem = "an unexpected axial record: " + Label(lines_[pos_]);
            return;
        }
        a_.Complete = true;
    }

private:
    bool Take(const std::string& label, std::size_t count, std::vector<double>& v) {
        if (pos_ >= lines_.size()) {
            a_.Problem = "the axial records end before " + label;
            return false;
        }
        const std::string& line = lines_[pos_];
        if (Label(line).rfind(label, 0) != 0 || !Values(line, v) || v.size() != count) {
            a_.Problem = "\"" + Label(line) + "\" where " + label + " with " + std::to_string(count) +
                         " values was expected";
            return false;
        }
        ++pos_;
        return true;
    }
    const std::vector<std::string>& lines_;
    AxialPlotResults& a_;
    std::size_t pos_ = 0;
};

std::string Escape(const std::string& s) {
    std::string o;
    for (char c : s) {
        if (c == '<') o += "&lt;";
        else if (c == '>') o += "&gt;";
        else if (c == '&') o += "&amp;";
        else o += c;
    }
    return o;
}

// A small line chart in inline SVG: one or more series of (x, y) points.
struct Series {
    std::string Name;
    std::vector<std::pair<double, double>> Points;
};
constexpr const char* Colors[] = {"#1f5fa8", "#c0392b", "#2e8b57", "#8e44ad", "#d35400", "#16808a"};

std::string Num(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.4g", v);
    return b;
}

std::string Chart(const std::string& id, const std::string& title, const std::string& xLabel,
                  const std::string& yLabel, const std::vector<Series>& lines, bool depthDown) {
    constexpr double W = 340.0, H = 440.0, ML = 74.0, MR = 18.0, MT = 30.0, MB = 46.0;
    double xlo = 0.0, xhi = 0.0, ylo = 0.0, yhi = 0.0;
    bool any = false;
    for (const Series& s : lines)
        for (const auto& [x, y] : s.Points) {
            if (!any) xlo = xhi = x, ylo = yhi = y, any = true;
            xlo = std::min(xlo, x), xhi = std::max(xhi, x), ylo = std::min(ylo, y), yhi = std::max(yhi, y);
        }
    if (xhi == xlo) xhi = xlo + 1.0;
    if (yhi == ylo) yhi = ylo + 1.0;
    const double pw = W - ML - MR, ph = H - MT - MB;
    auto px = [&](double x) { return ML + (x - xlo) / (xhi - xlo) * pw; };
    auto py = [&](double y) { return depthDown ? MT + (y - ylo) / (yhi - ylo) * ph : MT + (yhi - y) / (yhi - ylo) * ph; };
    std::ostringstream o;
    o << "<figure class=\"chart\" id=\"" << id << "\"><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << W
      << "\" height=\"" << H << "\" viewBox=\"0 0 " << W << ' ' << H << "\">\n";
    o << "<text class=\"title\" x=\"" << W / 2 << "\" y=\"18\" text-anchor=\"middle\">" << Escape(title) << "</text>\n";
    o << "<rect class=\"frame\" x=\"" << ML << "\" y=\"" << MT << "\" width=\"" << pw << "\" height=\"" << ph
      << "\"/>\n";
    for (int k = 0; k <= 4; ++k) {
        const double x = xlo + (xhi - xlo) * k / 4.0, y = ylo + (yhi - ylo) * k / 4.0;
        o << "<text class=\"tick\" x=\"" << px(x) << "\" y=\"" << MT + ph + 14 << "\" text-anchor=\"middle\">" << Num(x)
          << "</text>\n";
        o << "<text class=\"tick\" x=\"" << ML - 4 << "\" y=\"" << py(y) + 3 << "\" text-anchor=\"end\">" << Num(y)
          << "</text>\n";
    }
    o << "<text class=\"axis\" x=\"" << ML + pw / 2 << "\" y=\"" << H - 8 << "\" text-anchor=\"middle\">"
      << Escape(xLabel) << "</text>\n";
    o << "<text class=\"axis\" transform=\"translate(12," << MT + ph / 2 << ") rotate(-90)\" text-anchor=\"middle\">"
      << Escape(yLabel) << "</text>\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const char* color = Colors[i % (sizeof Colors / sizeof *Colors)];
        o << "<polyline class=\"series\" data-series=\"" << Escape(lines[i].Name) << "\" stroke=\"" << color
          << "\" points=\"";
        for (const auto& [x, y] : lines[i].Points) o << Num(px(x)) << ',' << Num(py(y)) << ' ';
        o << "\"/>\n";
        o << "<text class=\"legend\" x=\"" << ML + 6 << "\" y=\"" << MT + 14 + 12.0 * static_cast<double>(i)
          << "\" fill=\"" << color << "\">" << Escape(lines[i].Name) << "</text>\n";
    }
    o << "</svg></figure>\n";
    return o.str();
}

}  // namespace

std::string SplitAxialRecords(const std::string& text, AxialPlotResults& out) {
    out = AxialPlotResults{};
    std::vector<std::string> axial;
    std::string rest;
    rest.reserve(text.size());
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        const bool last = end == std::string::npos;
        if (last) end = text.size();
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (IsAxialRecord(line))
            axial.push_back(line);
        else
            rest.append(text, begin, (last ? end : end + 1) - begin);
        begin = end + 1;
    }
    if (axial.empty()) return text;
    out.Present = true;
    Reader(axial, out).Run();
    return rest;
}

void ReadAxialLines(const std::vector<std::string>& lines, AxialPlotResults& out) {
    out = AxialPlotResults{};
    if (lines.empty()) return;
    out.Present = true;
    Reader(lines, out).Run();
}

void AxialJson(JsonWriter& w, const AxialPlotResults& a, int unitSystem) {
    if (!a.Present) {
        w.Value(nullptr);
        return;
    }
    const Units u = UnitsFor(unitSystem);
    w.Object().Member("complete", a.Complete);
    w.Key("problem").Value(a.Problem.empty() ? std::optional<std::string>() : a.Problem);
    w.Quantity("ultimateShaft", a.UltimateShaft, u.Force).Quantity("ultimateTip", a.UltimateTip, u.Force);
    w.Quantity("ultimateCompression", a.UltimateShaft + a.UltimateTip, u.Force);
    w.Quantity("ultimateUplift", -a.UltimateShaft, u.Force);
    w.Quantity("plungingCompression", a.PlungingCompression, u.Force);
    w.Quantity("plungingUplift", a.PlungingUplift, u.Force);
    w.Member("capacityFraction", a.CapacityFraction);
    w.Quantity("settlementAtFraction", a.SettlementAtFraction, u.Length);
    w.Quantity("upliftMovementAtFraction", a.UpliftAtFraction, u.Length);
    w.Key("loadSettlement").Object().Key("units").Object().Member("headLoad", u.Force);
    w.Member("settlement", u.Length).Member("shaft", u.Force).Member("tip", u.Force).Close();
    w.Column("headLoad", a.Curve, [](const AxialCurvePoint& p) { return p.Load; });
    w.Column("settlement", a.Curve, [](const AxialCurvePoint& p) { return p.Settlement; });
    w.Column("shaft", a.Curve, [](const AxialCurvePoint& p) { return p.Shaft; });
    w.Column("tip", a.Curve, [](const AxialCurvePoint& p) { return p.Tip; }).Close();
    w.Key("headLoads").Array();
    for (const AxialLoad& l : a.Loads) {
        w.Object().Quantity("headLoad", l.Load, u.Force).Member("beyondPlunging", !l.Solved);
        if (l.Solved) {
            w.Quantity("headMovement", l.Movement, u.Length).Quantity("shaftResistance", l.Shaft, u.Force);
            w.Quantity("tipResistance", l.Tip, u.Force);
            w.Key("nodes").Object().Key("units").Object().Member("depth", u.Length).Member("axialForce", u.Force);
            w.Member("movement", u.Length).Member("shaftFriction", u.Stress).Close();
            w.Column("depth", l.Nodes, [](const AxialNode& n) { return n.Depth; });
            w.Column("axialForce", l.Nodes, [](const AxialNode& n) { return n.Force; });
            w.Column("movement", l.Nodes, [](const AxialNode& n) { return n.Movement; });
            w.Column("shaftFriction", l.Nodes, [](const AxialNode& n) { return n.Friction; }).Close();
        } else {
            w.Member("headMovement", nullptr).Member("shaftResistance", nullptr).Member("tipResistance", nullptr);
            w.Member("nodes", nullptr);
        }
        w.Close();
    }
    w.Close().Close();
}

std::string AxialHtml(const AxialPlotResults& a, int unitSystem) {
    if (!a.Present) return "";
    const Units u = UnitsFor(unitSystem);
    const std::string L(u.Length), F(u.Force), S(u.Stress);
    std::ostringstream o;
    o << "<h2>Axial load transfer</h2>\n";
    if (!a.Complete) o << "<p class=\"none\">The axial records are incomplete: " << Escape(a.Problem) << "</p>\n";
    auto row = [&o](const std::string& name, double v, const std::string& unit, const char* key) {
        o << "<tr><th>" << name << "</th><td class=\"num\" data-key=\"" << key << "\">" << ExactNumber(v) << "</td><td>"
          << unit << "</td></tr>\n";
    };
    o << "<table class=\"small\" id=\"axial-capacities\">\n";
    row("Ultimate shaft resistance", a.UltimateShaft, F, "ultimateShaft");
    row("Ultimate tip resistance", a.UltimateTip, F, "ultimateTip");
    row("Plunging load in compression", a.PlungingCompression, F, "plungingCompression");
    row("Plunging load in uplift", a.PlungingUplift, F, "plungingUplift");
    row("Settlement at " + ExactNumber(a.CapacityFraction) + " of the compression capacity", a.SettlementAtFraction, L,
        "settlementAtFraction");
    row("Uplift movement at " + ExactNumber(a.CapacityFraction) + " of the uplift capacity", a.UpliftAtFraction, L,
        "upliftMovementAtFraction");
    o << "</table>\n<div class=\"charts\">\n";
    Series curve{"head load", {}};
    for (const AxialCurvePoint& p : a.Curve) curve.Points.emplace_back(p.Settlement, p.Load);
    o << Chart("axial-load-settlement", "Load-settlement curve", "Settlement, " + L, "Head load, " + F, {curve}, false);
    struct Field {
        const char *Id, *Title, *Axis;
        std::string Unit;
        double AxialNode::*Member;
    };
    const Field fields[] = {{"axial-force", "Axial force", "Axial force", F, &AxialNode::Force},
                            {"axial-movement", "Pile movement", "Movement", L, &AxialNode::Movement},
                            {"axial-friction", "Mobilised shaft friction", "Unit friction", S, &AxialNode::Friction}};
    for (const Field& f : fields) {
        std::vector<Series> lines;
        for (const AxialLoad& l : a.Loads) {
            if (!l.Solved) continue;
            Series s{"head load " + ExactNumber(l.Load) + " " + F, {}};
            for (const AxialNode& n : l.Nodes) s.Points.emplace_back(n.*f.Member, n.Depth);
            lines.push_back(std::move(s));
        }
        if (!lines.empty())
            o << Chart(f.Id, f.Title, std::string(f.Axis) + ", " + f.Unit, "Depth below pile head, " + L, lines, true);
    }
    o << "</div>\n";
    return o.str();
}

}  // namespace kestro::results
