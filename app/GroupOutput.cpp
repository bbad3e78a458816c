#include "GroupOutput.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "HtmlReport.h"

namespace kestro::cli {
namespace {

using nlohmann::ordered_json;
using group::Matrix3;
using group::Vector3;

// A number in JSON: finite values as they are, anything else as null.
ordered_json Num(double v) { return std::isfinite(v) ? ordered_json(v) : ordered_json(nullptr); }

ordered_json Matrix(const Matrix3& K) {
    ordered_json m = ordered_json::array();
    for (const auto& row : K) m.push_back({Num(row[0]), Num(row[1]), Num(row[2])});
    return m;
}

const group::PileType* TypeOf(const group::GroupModel& m, int number) {
    for (const group::PileType& t : m.Types)
        if (t.Number == number) return &t;
    return nullptr;
}

using results::EscapeHtml;

std::string G(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.5g", v);
    return buf;
}

// Three significant figures, for labels on a drawing.
std::string G3(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", v);
    return buf;
}

// A chart of one quantity along the p-y piles of a case (0 deflection,
// 1 bending moment) against depth below the head, one line per pile; piles
// with the same profile draw over each other.
std::string ProfileChart(const group::CaseResult& c, const char* title, int quantity) {
    double zmax = 0.0, vmax = 0.0;
    for (const group::PileCaseResult& p : c.Piles) {
        if (!p.b_Lateral) continue;
        const std::vector<double>& v = quantity == 0 ? p.ProfileDeflection : p.ProfileMoment;
        for (std::size_t n = 0; n < p.ProfileDepth.size() && n < v.size(); ++n) {
            zmax = std::max(zmax, p.ProfileDepth[n]);
            if (std::isfinite(v[n])) vmax = std::max(vmax, std::fabs(v[n]));
        }
    }
    if (!(zmax > 0.0)) return "";
    if (!(vmax > 0.0)) vmax = 1.0;
    const double W = 300.0, H = 360.0, m = 30.0;
    auto X = [&](double v) { return m + (W - 2.0 * m) * (0.5 + 0.5 * v / vmax); };
    auto Y = [&](double z) { return m + (H - 2.0 * m) * z / zmax; };
    static const char* colours[] = {"#c00", "#06c", "#080", "#a60", "#808", "#066"};
    std::ostringstream o;
    o << "<figure style=\"display:inline-block;margin:0 1em\"><svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
      << G(W) << "\" height=\"" << G(H) << "\">\n";
    o << "<line x1=\"" << G(X(0.0)) << "\" y1=\"" << G(m) << "\" x2=\"" << G(X(0.0)) << "\" y2=\"" << G(H - m)
      << "\" stroke=\"#999\"/>\n";
    o << "<text x=\"" << G(m) << "\" y=\"" << G(m - 8) << "\" font-size=\"11\">+-" << G(vmax) << "</text>\n";
    o << "<text x=\"" << G(m) << "\" y=\"" << G(H - 8) << "\" font-size=\"11\">depth " << G(zmax) << "</text>\n";
    std::size_t k = 0;
    for (std::size_t i = 0; i < c.Piles.size(); ++i) {
        const group::PileCaseResult& p = c.Piles[i];
        if (!p.b_Lateral) continue;
        const std::vector<double>& v = quantity == 0 ? p.ProfileDeflection : p.ProfileMoment;
        o << "<polyline fill=\"none\" stroke=\"" << colours[k++ % 6] << "\" points=\"";
        for (std::size_t n = 0; n < p.ProfileDepth.size() && n < v.size(); ++n)
            if (std::isfinite(v[n])) o << G(X(v[n])) << ',' << G(Y(p.ProfileDepth[n])) << ' ';
        o << "\"><title>pile " << i + 1 << "</title></polyline>\n";
    }
    o << "</svg><figcaption>" << title << " along the piles (hover a line for its pile)</figcaption></figure>\n";
    return o.str();
}

}  // namespace

std::string GroupResultsJson(const group::GroupModel& model, const group::GroupResults& results, int error,
                             const std::string& message) {
    ordered_json j;
    j["schema"] = "kestro-group-results";
    j["schemaVersion"] = 1;
    j["title"] = model.Title;
    const bool py = results.b_Lateral;
    j["units"] = {{"force", py ? results.ModelForceUnit : model.ForceUnit},
                  {"length", py ? results.ModelLengthUnit : model.LengthUnit},
                  {"rotation", "rad"}};
    j["lateralModel"] = py ? ordered_json{{"path", model.LateralPath.empty() ? ordered_json(nullptr) : ordered_json(model.LateralPath)},
                                          {"pileWidth", Num(results.ModelWidth)}}
                           : ordered_json(nullptr);
    j["multipliers"] = model.b_RowMultipliers ? "rows" : "none";
    ordered_json piles = ordered_json::array();
    for (std::size_t i = 0; i < model.Piles.size(); ++i) {
        const group::PileInput& p = model.Piles[i];
        const group::PileType* t = TypeOf(model, p.Type);
        piles.push_back({{"number", i + 1},
                         {"type", p.Type},
                         {"head", t != nullptr && t->Terms.Head == group::Connection::Pinned ? "pinned" : "fixed"},
                         {"lateral", t != nullptr && t->b_PY ? "p-y" : "linear"},
                         {"axial", t != nullptr && t->b_PY && !t->b_LinearAxial ? "load-transfer" : "linear"},
                         {"x", Num(p.X)},
                         {"z", Num(p.Z)},
                         {"batterDegrees", Num(p.BatterDegrees)},
                         {"pMultiplierGiven", p.PMultiplier > 0.0 ? Num(p.PMultiplier) : ordered_json(nullptr)},
                         {"lateralModel", t == nullptr || !t->b_PY ? ordered_json(nullptr)
                                          : t->LateralModel > 0 &&
                                                    static_cast<std::size_t>(t->LateralModel) <= model.TypeModels.size()
                                              ? ordered_json(model.TypeModels[static_cast<std::size_t>(t->LateralModel - 1)].Path)
                                              : ordered_json(model.LateralPath)}});
    }
    j["piles"] = piles;
    j["zeroLoadTangent"] = Matrix(results.ZeroLoadTangent);
    ordered_json cases = ordered_json::array();
    for (std::size_t c = 0; c < results.Cases.size(); ++c) {
        const group::CaseResult& r = results.Cases[c];
        ordered_json k;
        k["number"] = c + 1;
        k["name"] = r.Name;
        k["kind"] = r.b_Prescribed ? "movement" : "load";
        if (r.b_Prescribed)
            k["given"] = {{"u", Num(r.Given[0])}, {"w", Num(r.Given[1])}, {"theta", Num(r.Given[2])}};
        else
            k["given"] = {{"H", Num(r.Given[0])}, {"V", Num(r.Given[1])}, {"M", Num(r.Given[2])}};
        const group::SolveResult& s = r.Solution;
        if (s.Error != 0) {
            k["status"] = "error";
            k["error"] = {{"runtimeError", s.Error}, {"message", s.Message}};
            cases.push_back(k);
            continue;
        }
        k["status"] = "balanced";
        k["error"] = nullptr;
        k["iterations"] = s.Iterations;
        k["outOfBalance"] = {Num(s.OutOfBalance[0]), Num(s.OutOfBalance[1]), Num(s.OutOfBalance[2])};
        const group::CapState& st = s.State;
        k["capMovement"] = {{"u", Num(st.Displacement[0])}, {"w", Num(st.Displacement[1])},
                            {"theta", Num(st.Displacement[2])}};
        k["capLoad"] = {{"H", Num(st.Resisting[0])}, {"V", Num(st.Resisting[1])}, {"M", Num(st.Resisting[2])}};
        k["tangent"] = Matrix(st.Tangent);
        k["secant"] = Matrix(st.Secant);
        ordered_json ps = ordered_json::array();
        for (std::size_t i = 0; i < st.HeadForce.size(); ++i) {
            const group::PileCaseResult& pr = r.Piles[i];
            ordered_json p{{"number", i + 1},
                           {"axialMovement", Num(st.HeadMovement[i][0])},
                           {"lateralMovement", Num(st.HeadMovement[i][1])},
                           {"rotation", Num(st.HeadMovement[i][2])},
                           {"N", Num(st.HeadForce[i][0])},
                           {"Q", Num(st.HeadForce[i][1])},
                           {"headMoment", Num(st.HeadForce[i][2])},
                           {"H", Num(st.CapForce[i][0])},
                           {"V", Num(st.CapForce[i][1])},
                           {"M", Num(st.CapForce[i][2])},
                           {"pMultiplier", Num(pr.PMultiplier)},
                           {"row", pr.Row}};
            if (pr.b_Lateral) {
                p["maxMoment"] = Num(pr.MaxMoment);
                p["depthMaxMoment"] = Num(pr.DepthMaxMoment);
                p["headSlope"] = Num(pr.Slope);
                ordered_json depth = ordered_json::array(), defl = ordered_json::array(),
                             moment = ordered_json::array();
                for (std::size_t n = 0; n < pr.ProfileDepth.size(); ++n) {
                    depth.push_back(Num(pr.ProfileDepth[n]));
                    defl.push_back(Num(pr.ProfileDeflection[n]));
                    moment.push_back(Num(pr.ProfileMoment[n]));
                }
                p["profile"] = {{"depth", depth}, {"deflection", defl}, {"moment", moment}};
            } else {
                p["maxMoment"] = nullptr;
                p["depthMaxMoment"] = nullptr;
                p["headSlope"] = nullptr;
                p["profile"] = nullptr;
            }
            ps.push_back(p);
        }
        k["piles"] = ps;
        cases.push_back(k);
    }
    j["cases"] = cases;
    j["lateralAnalyses"] = results.LateralSolutions;
    j["run"] = {{"status", error == 0 ? "balanced" : "error"},
                {"error", error == 0 ? ordered_json(nullptr)
                                     : ordered_json{{"runtimeError", error}, {"message", message}}}};
    return j.dump(1) + "\n";
}

std::string GroupResultsHtml(const group::GroupModel& model, const group::GroupResults& results, int error,
                             const std::string& message) {
    // Drawing extent: the heads, and each pile drawn over a fixed share of the
    // group's width below its head along its batter.
    double xmin = 0.0, xmax = 0.0;
    for (const group::PileInput& p : model.Piles) {
        xmin = std::min(xmin, p.X);
        xmax = std::max(xmax, p.X);
    }
    const double span = std::max(xmax - xmin, results.ModelWidth > 0.0 ? 4.0 * results.ModelWidth : 1.0);
    const double depth = 0.8 * span;
    const double pad = 0.15 * span;
    const double W = 640.0;
    const double scale = W / (span + 2.0 * pad);
    const double H = (depth + 2.0 * pad) * scale;
    auto X = [&](double x) { return (x - (xmin + xmax) / 2.0 + span / 2.0 + pad) * scale; };
    auto Y = [&](double z) { return (z + pad) * scale; };
    const group::CaseResult* shown = nullptr;
    for (const group::CaseResult& c : results.Cases)
        if (c.Solution.Error == 0 && !c.b_Prescribed && c.Given[0] != 0.0) {
            shown = &c;
            break;
        }
    std::ostringstream o;
    o << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Pile group: "
      << EscapeHtml(model.Title) << "</title>\n<style>body{font-family:sans-serif;margin:1.5em}table{border-collapse:"
      << "collapse;margin:0.5em 0 1.5em}td,th{border:1px solid #bbb;padding:2px 6px;text-align:right}"
      << "th{background:#eee}.err{color:#a00}</style></head><body>\n";
    o << "<h1>Pile group under a rigid cap</h1>\n<p>" << EscapeHtml(model.Title) << "</p>\n";
    const std::string F = results.b_Lateral ? results.ModelForceUnit : model.ForceUnit;
    const std::string L = results.b_Lateral ? results.ModelLengthUnit : model.LengthUnit;
    o << "<p>Units: force " << EscapeHtml(F) << ", length " << EscapeHtml(L) << ", rotation rad.</p>\n";
    o << "<h2>The group in the plane of loading</h2>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << G(W)
      << "\" height=\"" << G(H) << "\" viewBox=\"0 0 " << G(W) << ' ' << G(H) << "\">\n";
    o << "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" markerWidth=\"6\" "
      << "markerHeight=\"6\" orient=\"auto-start-reverse\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"context-stroke\"/>"
      << "</marker></defs>\n";
    // The cap, drawn as a block over the heads.
    const double capLeft = xmin - 0.05 * span, capRight = xmax + 0.05 * span, capTop = -0.06 * span;
    o << "<rect x=\"" << G(X(capLeft)) << "\" y=\"" << G(Y(capTop)) << "\" width=\"" << G((capRight - capLeft) * scale)
      << "\" height=\"" << G(-capTop * scale) << "\" fill=\"#ccc\" stroke=\"#555\"/>\n";
    // Each pile is drawn over `len` below its head along its batter, whatever
    // its length; a p-y pile's stations are spread over that drawn length.
    auto Batter = [&](const group::PileInput& p) { return p.BatterDegrees * 3.14159265358979323846 / 180.0; };
    auto DrawnLength = [&](const group::PileInput& p) { return depth / std::max(std::cos(Batter(p)), 0.5); };
    for (std::size_t i = 0; i < model.Piles.size(); ++i) {
        const group::PileInput& p = model.Piles[i];
        const double b = Batter(p);
        const double len = DrawnLength(p);
        o << "<line x1=\"" << G(X(p.X)) << "\" y1=\"" << G(Y(p.Z)) << "\" x2=\"" << G(X(p.X + len * std::sin(b)))
          << "\" y2=\"" << G(Y(p.Z + len * std::cos(b))) << "\" stroke=\"#333\" stroke-width=\"3\"/>\n";
        // Piles at one place in this plane (side by side across it) share one label.
        std::string label;
        bool first = true;
        for (std::size_t k = 0; k < model.Piles.size(); ++k) {
            const group::PileInput& q = model.Piles[k];
            if (q.X != p.X || q.Z != p.Z || q.BatterDegrees != p.BatterDegrees) continue;
            if (k < i) break;
            label += (first ? "" : ", ") + std::to_string(k + 1);
            first = false;
        }
        if (!label.empty())
            o << "<text x=\"" << G(X(p.X) + 4) << "\" y=\"" << G(Y(p.Z) + 14) << "\" font-size=\"11\">" << label
              << "</text>\n";
    }
    // The deformed shape of the case shown, magnified so that the largest
    // movement draws as a fixed share of the group's width (the factor
    // rounded down to 1, 2 or 5 times a power of ten).
    double magnification = 0.0;
    if (shown != nullptr) {
        const group::CapState& s = shown->Solution.State;
        const double u = s.Displacement[0], w = s.Displacement[1], th = s.Displacement[2];
        auto Move = [&](double x, double z) { return std::array<double, 2>{u - th * z, w + th * x}; };
        double largest = 0.0;
        for (double x : {capLeft, capRight})
            for (double z : {capTop, 0.0}) {
                const std::array<double, 2> d = Move(x, z);
                largest = std::max(largest, std::hypot(d[0], d[1]));
            }
        for (std::size_t i = 0; i < model.Piles.size() && i < shown->Piles.size(); ++i)
            for (double v : shown->Piles[i].ProfileDeflection)
                if (std::isfinite(v)) largest = std::max(largest, std::fabs(v));
        if (std::isfinite(largest) && largest > 0.0) {
            const double raw = 0.08 * span / largest;
            const double decade = std::pow(10.0, std::floor(std::log10(raw)));
            const double lead = raw / decade;
            magnification = (lead >= 5.0 ? 5.0 : lead >= 2.0 ? 2.0 : 1.0) * decade;
        }
        if (magnification > 0.0 && std::isfinite(magnification)) {
            const double f = magnification;
            o << "<g fill=\"none\" stroke=\"#06c\" stroke-width=\"1.5\" stroke-dasharray=\"5,3\">\n<polygon points=\"";
            for (const auto& c : {std::array<double, 2>{capLeft, capTop}, std::array<double, 2>{capRight, capTop},
                                  std::array<double, 2>{capRight, 0.0}, std::array<double, 2>{capLeft, 0.0}}) {
                const std::array<double, 2> d = Move(c[0], c[1]);
                o << G(X(c[0] + f * d[0])) << ',' << G(Y(c[1] + f * d[1])) << ' ';
            }
            o << "\"/>\n";
            for (std::size_t i = 0; i < model.Piles.size() && i < shown->Piles.size(); ++i) {
                const group::PileInput& p = model.Piles[i];
                const group::PileCaseResult& r = shown->Piles[i];
                const double b = Batter(p), len = DrawnLength(p);
                const double tx = std::sin(b), tz = std::cos(b);   // along the pile, into the ground
                const double nx = std::cos(b), nz = -std::sin(b);  // across it: the lateral movement
                const std::array<double, 2> head = Move(p.X, p.Z);
                o << "<polyline points=\"";
                const std::vector<double>& zs = r.ProfileDepth;
                const std::vector<double>& ys = r.ProfileDeflection;
                if (r.b_Lateral && zs.size() >= 2 && ys.size() == zs.size() && zs.back() > zs.front()) {
                    // The head's axial movement carries the whole pile along
                    // its axis; the stations deflect across it.
                    const double a = head[0] * tx + head[1] * tz;
                    for (std::size_t n = 0; n < zs.size(); ++n) {
                        if (!std::isfinite(ys[n])) continue;
                        const double sd = len * (zs[n] - zs.front()) / (zs.back() - zs.front());
                        o << G(X(p.X + sd * tx + f * (a * tx + ys[n] * nx))) << ','
                          << G(Y(p.Z + sd * tz + f * (a * tz + ys[n] * nz))) << ' ';
                    }
                } else {
                    // Linear head terms: the pile moved with its head.
                    for (double sd : {0.0, len})
                        o << G(X(p.X + sd * tx + f * head[0])) << ',' << G(Y(p.Z + sd * tz + f * head[1])) << ' ';
                }
                o << "\"><title>pile " << i + 1 << "</title></polyline>\n";
            }
            o << "</g>\n";
            o << "<text x=\"" << G(W - 8) << "\" y=\"" << G(H - 8) << "\" font-size=\"12\" text-anchor=\"end\" "
              << "fill=\"#06c\">deformed shape (dashed) magnified " << G(magnification) << " times</text>\n";
        }
        // Head forces: the shear Q across each pile and the axial force N
        // along it (an arrow pushing into the head for compression), each to
        // scale against the largest of its kind, with their values.
        double Nmax = 0.0, Qmax = 0.0;
        for (const Vector3& h : s.HeadForce) {
            if (std::isfinite(h[0])) Nmax = std::max(Nmax, std::fabs(h[0]));
            if (std::isfinite(h[1])) Qmax = std::max(Qmax, std::fabs(h[1]));
        }
        const double arrow = 0.12 * span;
        for (std::size_t i = 0; i < model.Piles.size() && i < s.HeadForce.size(); ++i) {
            const group::PileInput& p = model.Piles[i];
            bool firstHere = true;
            std::size_t line = 0;
            for (std::size_t k = 0; k < model.Piles.size(); ++k) {
                const group::PileInput& q = model.Piles[k];
                if (q.X != p.X || q.Z != p.Z || q.BatterDegrees != p.BatterDegrees) continue;
                if (k < i) {
                    firstHere = false;
                    ++line;
                }
            }
            const double b = Batter(p);
            const double tx = std::sin(b), tz = std::cos(b), nx = std::cos(b), nz = -std::sin(b);
            const double N = s.HeadForce[i][0], Q = s.HeadForce[i][1];
            if (firstHere && Nmax > 0.0 && std::isfinite(N) && N != 0.0) {
                // Drawn along the pile's axis above its head, ending on the
                // head for compression and leaving it for tension.
                const double l = arrow * std::fabs(N) / Nmax;
                const double xu = p.X - l * tx, zu = p.Z - l * tz;
                const bool push = N > 0.0;
                o << "<line x1=\"" << G(X(push ? xu : p.X)) << "\" y1=\"" << G(Y(push ? zu : p.Z)) << "\" x2=\""
                  << G(X(push ? p.X : xu)) << "\" y2=\"" << G(Y(push ? p.Z : zu))
                  << "\" stroke=\"#080\" stroke-width=\"2\" marker-end=\"url(#arrow)\"/>\n";
            }
            // The shear a little below the head, across the pile.
            const double x0 = p.X + 0.05 * span * tx, z0 = p.Z + 0.05 * span * tz;
            if (firstHere && Qmax > 0.0 && std::isfinite(Q) && Q != 0.0) {
                const double l = arrow * Q / Qmax;
                o << "<line x1=\"" << G(X(x0)) << "\" y1=\"" << G(Y(z0)) << "\" x2=\"" << G(X(x0 + l * nx))
                  << "\" y2=\"" << G(Y(z0 + l * nz)) << "\" stroke=\"#c00\" stroke-width=\"2\" "
                  << "marker-end=\"url(#arrow)\"/>\n";
            }
            // Values beside the pile (on its left at the drawing's right
            // edge), two lines a pile, staggered in depth from one place in
            // the plane to the next so that neighbours' values stay apart.
            const bool right = p.X >= xmax && xmax > xmin;
            std::size_t place = 0;
            for (std::size_t k = 0; k < model.Piles.size(); ++k) {
                bool earlier = model.Piles[k].X < p.X;
                for (std::size_t m = 0; m < k && earlier; ++m)
                    if (model.Piles[m].X == model.Piles[k].X) earlier = false;
                if (earlier) ++place;
            }
            const double tx0 = X(p.X) + (right ? -4.0 : 4.0);
            const double ty0 = Y(p.Z + (place % 2 == 0 ? 0.28 : 0.42) * span) + 24.0 * static_cast<double>(line);
            const char* anchor = right ? " text-anchor=\"end\"" : "";
            o << "<text x=\"" << G(tx0) << "\" y=\"" << G(ty0) << "\" font-size=\"10\" fill=\"#080\"" << anchor
              << ">" << i + 1 << ": N " << G3(N) << "</text>\n<text x=\"" << G(tx0) << "\" y=\"" << G(ty0 + 11.0)
              << "\" font-size=\"10\" fill=\"#c00\"" << anchor << ">Q " << G3(Q) << "</text>\n";
        }
    }
    o << "</svg>\n";
    if (shown != nullptr)
        o << "<p>Load case &quot;" << EscapeHtml(shown->Name) << "&quot;: "
          << (magnification > 0.0 ? "the cap and piles as they move (blue, dashed, magnified " + G(magnification) +
                                        " times; the piles drawn shortened, each p-y pile's deflection at every "
                                        "station across its axis); "
                                  : std::string("no movement to draw; "))
          << "at each head the axial force N (green, the arrow "
          << "pushing on the head for compression) and the shear Q across the pile (red), each to scale against "
          << "the largest, with their values in " << EscapeHtml(F) << ".</p>\n";
    for (std::size_t c = 0; c < results.Cases.size(); ++c) {
        const group::CaseResult& r = results.Cases[c];
        o << "<h2>Load case " << c + 1 << ": " << EscapeHtml(r.Name) << "</h2>\n";
        if (r.Solution.Error != 0) {
            o << "<p class=\"err\">Runtime Error " << r.Solution.Error << ": " << EscapeHtml(r.Solution.Message)
              << "</p>\n";
            continue;
        }
        const group::CapState& s = r.Solution.State;
        o << "<p>Cap movement u = " << G(s.Displacement[0]) << ", w = " << G(s.Displacement[1])
          << ", theta = " << G(s.Displacement[2]) << "; cap load H = " << G(s.Resisting[0])
          << ", V = " << G(s.Resisting[1]) << ", M = " << G(s.Resisting[2]) << ".</p>\n";
        o << "<table><tr><th>Pile</th><th>N</th><th>Q</th><th>head M</th><th>H (cap)</th><th>V (cap)</th>"
          << "<th>p-mult.</th><th>max M</th><th>depth of max M</th></tr>\n";
        for (std::size_t i = 0; i < s.HeadForce.size(); ++i) {
            const group::PileCaseResult& p = r.Piles[i];
            o << "<tr><td>" << i + 1 << "</td><td>" << G(s.HeadForce[i][0]) << "</td><td>" << G(s.HeadForce[i][1])
              << "</td><td>" << G(s.HeadForce[i][2]) << "</td><td>" << G(s.CapForce[i][0]) << "</td><td>"
              << G(s.CapForce[i][1]) << "</td><td>" << G(p.PMultiplier) << "</td><td>"
              << (p.b_Lateral ? G(p.MaxMoment) : "") << "</td><td>" << (p.b_Lateral ? G(p.DepthMaxMoment) : "")
              << "</td></tr>\n";
        }
        o << "</table>\n";
        o << ProfileChart(r, "Deflection", 0) << ProfileChart(r, "Bending moment", 1);
    }
    if (error != 0) o << "<p class=\"err\">The run ended with Runtime Error " << error << ": " << EscapeHtml(message) << "</p>\n";
    o << "</body></html>\n";
    return o.str();
}

}  // namespace kestro::cli
