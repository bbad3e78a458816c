#include "GroupOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

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

std::string Escape(const std::string& s) {
    std::string o;
    for (char c : s) {
        switch (c) {
            case '&': o += "&amp;"; break;
            case '<': o += "&lt;"; break;
            case '>': o += "&gt;"; break;
            case '"': o += "&quot;"; break;
            default: o += c;
        }
    }
    return o;
}

std::string G(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.5g", v);
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
      << Escape(model.Title) << "</title>\n<style>body{font-family:sans-serif;margin:1.5em}table{border-collapse:"
      << "collapse;margin:0.5em 0 1.5em}td,th{border:1px solid #bbb;padding:2px 6px;text-align:right}"
      << "th{background:#eee}.err{color:#a00}</style></head><body>\n";
    o << "<h1>Pile group under a rigid cap</h1>\n<p>" << Escape(model.Title) << "</p>\n";
    const std::string F = results.b_Lateral ? results.ModelForceUnit : model.ForceUnit;
    const std::string L = results.b_Lateral ? results.ModelLengthUnit : model.LengthUnit;
    o << "<p>Units: force " << Escape(F) << ", length " << Escape(L) << ", rotation rad.</p>\n";
    o << "<h2>The group in the plane of loading</h2>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << G(W)
      << "\" height=\"" << G(H) << "\" viewBox=\"0 0 " << G(W) << ' ' << G(H) << "\">\n";
    o << "<rect x=\"" << G(X(xmin) - 0.05 * span * scale) << "\" y=\"" << G(Y(0.0) - 0.06 * span * scale)
      << "\" width=\"" << G((xmax - xmin + 0.1 * span) * scale) << "\" height=\"" << G(0.06 * span * scale)
      << "\" fill=\"#ccc\" stroke=\"#555\"/>\n";
    for (std::size_t i = 0; i < model.Piles.size(); ++i) {
        const group::PileInput& p = model.Piles[i];
        const double b = p.BatterDegrees * 3.14159265358979323846 / 180.0;
        const double len = depth / std::max(std::cos(b), 0.5);
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
        if (shown != nullptr) {
            const group::CapState& s = shown->Solution.State;
            const double Q = s.CapForce[i][0];
            double Hmax = 0.0;
            for (const Vector3& f : s.CapForce) Hmax = std::max(Hmax, std::fabs(f[0]));
            if (Hmax > 0.0) {
                const double len2 = 0.12 * span * scale * Q / Hmax;
                o << "<line x1=\"" << G(X(p.X)) << "\" y1=\"" << G(Y(p.Z) - 8) << "\" x2=\"" << G(X(p.X) + len2)
                  << "\" y2=\"" << G(Y(p.Z) - 8) << "\" stroke=\"#c00\" stroke-width=\"2\"/>\n";
            }
        }
    }
    o << "</svg>\n";
    if (shown != nullptr)
        o << "<p>Red: the horizontal force each pile takes from the cap in load case &quot;" << Escape(shown->Name)
          << "&quot;, to scale against the largest.</p>\n";
    for (std::size_t c = 0; c < results.Cases.size(); ++c) {
        const group::CaseResult& r = results.Cases[c];
        o << "<h2>Load case " << c + 1 << ": " << Escape(r.Name) << "</h2>\n";
        if (r.Solution.Error != 0) {
            o << "<p class=\"err\">Runtime Error " << r.Solution.Error << ": " << Escape(r.Solution.Message)
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
    if (error != 0) o << "<p class=\"err\">The run ended with Runtime Error " << error << ": " << Escape(message) << "</p>\n";
    o << "</body></html>\n";
    return o.str();
}

}  // namespace kestro::cli
