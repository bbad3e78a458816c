#include "Pushover.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <system_error>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "HtmlReport.h"
#include "ModelJson.h"
#include "ResultFiles.h"
#include "kestro/kgo.h"

namespace fs = std::filesystem;

namespace kestro::cli {
namespace {

using model::Json;

constexpr const char* PushoverUsage =
    "Usage: kestro pushover INPUT [--case N] [--steps N] [--to-deflection D] [-o OUTDIR]\n";
constexpr const char* SpringsUsage = "Usage: kestro springs INPUT [--case N] [-o OUTDIR]\n";

// The load factor at which a curve that met no other end stops: the curve
// then holds this many times the load case.
constexpr double MaxLoadFactor = 100.0;
// At most this many steps (a fine --steps stops the curve at a lower factor).
constexpr int MaxSteps = 2000;
// Root searches on the load factor (the first hinge, a given head deflection)
// end when the quantity is within this fraction of its target.
constexpr double CrossingTolerance = 1.0E-7;
constexpr int MaxSearchRuns = 40;
// Halvings of the last step when a step fails: the last converged point is
// then within 1/65536 of a step of the end of the curve.
constexpr int FailureHalvings = 16;
// A curve that stops converging with its largest moment within this fraction
// of a section's capacity ends at that section's plastic hinge
// (the moment-curvature curve of a reinforced section flattens toward its
// capacity, and the iteration fails within a percent of it).
constexpr double HingeNearness = 1.0E-2;
// Relative change of the load for the tangent of a p-y curve by central
// differences along the loading path.
constexpr double TangentStep = 0.01;

// ------------------------------------------------------------ options

bool ParseWhole(const std::string& text, long& v) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end != nullptr && *end == '\0';
}

bool ParseNumber(const std::string& text, double& v) {
    if (text.empty()) return false;
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    return end != nullptr && *end == '\0' && std::isfinite(v);
}

struct Request {
    std::string Input, OutDir;
    int Case = 1;
    int Steps = 10;
    double ToDeflection = 0.0;  // display deflection unit; 0: none
};

// Parses the options shared by both commands (and, for pushover, --steps and
// --to-deflection). Returns 0 or the usage exit status with the message written.
int ParseRequest(const std::vector<std::string>& args, bool pushover, Request& req, std::ostream& err) {
    const std::string name = "kestro " + args[0];
    const char* usage = pushover ? PushoverUsage : SpringsUsage;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--case" || a == "-o" || a == "--output" ||
                                (pushover && (a == "--steps" || a == "--to-deflection"));
        if (takesValue && i + 1 >= args.size()) {
            err << name << ": option '" << a << "' needs a value\n" << usage;
            return ExitUsage;
        }
        if (a == "--case" || (pushover && a == "--steps")) {
            long v = 0;
            const std::string& text = args[++i];
            if (!ParseWhole(text, v) || v <= 0 || v > 100000) {
                err << name << ": " << a << " takes a whole number greater than zero, not '" << text << "'\n";
                return ExitUsage;
            }
            (a == "--case" ? req.Case : req.Steps) = static_cast<int>(v);
            if (a == "--steps" && v > 1000) {
                err << name << ": --steps takes at most 1000 steps per load case, not " << text << '\n';
                return ExitUsage;
            }
        } else if (pushover && a == "--to-deflection") {
            double v = 0.0;
            const std::string& text = args[++i];
            if (!ParseNumber(text, v) || !(v > 0.0)) {
                err << name << ": --to-deflection takes a head deflection greater than zero (in for US "
                    << "customary input, mm for SI), not '" << text << "'\n";
                return ExitUsage;
            }
            req.ToDeflection = v;
        } else if (a == "-o" || a == "--output") {
            req.OutDir = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            err << name << ": unknown option '" << a << "'\n" << usage;
            return ExitUsage;
        } else if (req.Input.empty()) {
            req.Input = a;
        } else {
            err << name << ": more than one input file given\n" << usage;
            return ExitUsage;
        }
    }
    if (req.Input.empty()) {
        err << name << ": no input file given\n" << usage;
        return ExitUsage;
    }
    return 0;
}

// ------------------------------------------------------------ the model

// The model of a KESTRO6 or JSON input; false with the reason in `problem`.
bool LoadModel(const fs::path& input, Json& m, std::string& problem) {
    const std::string text = results::ReadFileText(input);
    try {
        m = model::LooksLikeJson(text) ? model::ParseJson(text) : model::FromKestro6(text);
        model::ToKestro6(m);  // the structural checks, before any run
    } catch (const model::ModelError& e) {
        problem = e.what();
        return false;
    } catch (const std::exception& e) {
        problem = e.what();
        return false;
    }
    return true;
}

int UnitSystemOf(const Json& m) {
    const std::string u = m.value("/options/units"_json_pointer, std::string("USCS"));
    return u == "USCS" ? 1 : u == "SI" ? 2 : 3;
}

// The model with only load case `c` (0-based), its head loads times `factor`:
// shear, moment, imposed deflection and slope scale; the rotational restraint
// of a type 3 head, the axial load and the distributed loads stay as given.
// LRFD combinations, the stiffness matrix and the length study are left out:
// each run is one ordinary load case.
Json ScaledModel(const Json& m, std::size_t c, double factor) {
    Json s = m;
    Json lc = m["loading"]["load_cases"][c];
    for (const char* key : {"shear", "moment", "deflection", "slope"})
        if (lc.contains(key) && lc[key].is_number()) lc[key] = lc[key].get<double>() * factor;
    lc["length_code"] = 1;
    s["loading"]["load_cases"] = Json::array({lc});
    s["options"]["use_lrfd"] = false;
    s["options"]["compute_stiffness_matrix"] = false;
    s["options"]["compute_ei_only"] = false;
    return s;
}

// ------------------------------------------------------------ engine runs

struct EngineRun {
    int Result = 0;
    bool Converged = false;
    std::string Reason;  // the engine's error on one line, for a run that ended by one
    results::RunResults R;
};

// Runs the engine once on `m` in `dir` (files run.kin, run-report.txt, ...).
EngineRun RunModel(const Json& m, const fs::path& dir) {
    EngineRun e;
    std::string text;
    try {
        text = model::ToKestro6(m).Text;
    } catch (const std::exception& ex) {
        e.Result = 999;
        e.Reason = ex.what();
        return e;
    }
    {
        std::ofstream kin(dir / "run.kin", std::ios::trunc | std::ios::binary);
        kin << text;
        std::ofstream names(dir / "NAMES.DAT", std::ios::trunc);
        names << "run.kin\nrun-report.txt\nrun-plot.txt\nrun-messages.txt\n\n\n";
        if (!kin || !names) {
            e.Result = 999;
            e.Reason = "cannot write the run files in " + dir.string();
            return e;
        }
    }
    std::error_code ec;
    for (const char* f : {"run-report.txt", "run-plot.txt", "run-messages.txt"}) fs::remove(dir / f, ec);
    const fs::path cwd = fs::current_path(ec);
    if (::chdir(dir.c_str()) != 0) {
        e.Result = 999;
        e.Reason = "cannot enter " + dir.string();
        return e;
    }
    e.Result = KGO();
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) {
        // The files are read by absolute path below.
    }
    e.R = results::LoadRunResults((dir / "run-plot.txt").string(), (dir / "run-report.txt").string(),
                                  (dir / "run-messages.txt").string(), e.Result);
    e.Converged = e.Result <= 0 && e.R.Plot.LoadCases.size() == 1 && e.R.Plot.LoadCases[0].StationsComplete &&
                  !e.R.Plot.LoadCases[0].Stations.empty();
    if (e.Result > 0)
        e.Reason = ErrorReason(results::ReadFileText(dir / "run-report.txt"),
                               results::ReadFileText(dir / "run-messages.txt"));
    return e;
}

// ------------------------------------------------------------ the curve

struct CurvePoint {
    double Factor = 0.0, Shear = 0.0, Moment = 0.0, Deflection = 0.0, Rotation = 0.0;
    double MaxMoment = 0.0, MaxMomentDepth = 0.0;
    double HingeRatio = 0.0;  // largest |M| / Mn over the sections with a capacity
    int HingeSection = 0;
    double HingeDepth = 0.0, Capacity = 0.0;
};

// The nominal moment capacity of each station's section (0: none), in the
// moment unit of the stations. Sections are stacked from the head with the
// lengths of the input echo; the capacity is that of the section's axial
// thrust nearest the case's axial load.
std::vector<std::pair<int, double>> StationCapacities(const results::RunResults& r) {
    const results::LoadCase& lc = r.Plot.LoadCases[0];
    std::vector<std::pair<int, double>> cap(lc.Stations.size(), {0, 0.0});
    const auto& shapes = r.Facts.SectionShapes;
    if (shapes.empty() || r.Plot.Sections.empty()) return cap;
    const bool us = r.Plot.UnitSystem == 1;
    const double axial = r.Facts.CaseSummaries.empty() ? 0.0 : r.Facts.CaseSummaries[0].AxialLoad;
    const double thrust = us ? axial / 1000.0 : axial;
    std::vector<double> bottom;
    double z = 0.0;
    for (const auto& s : shapes) bottom.push_back(z += s.Length);
    for (std::size_t i = 0; i < lc.Stations.size(); ++i) {
        const double x = lc.Stations[i].Depth;
        std::size_t k = 0;
        while (k + 1 < bottom.size() && x > bottom[k] * (1.0 + 1.0E-9) + 1.0E-9) ++k;
        const int number = shapes[k].Number;
        for (const auto& sec : r.Plot.Sections) {
            if (sec.Number != number || sec.Thrusts.empty()) continue;
            const results::ThrustCurve* best = &sec.Thrusts[0];
            for (const auto& t : sec.Thrusts)
                if (std::fabs(t.Thrust - thrust) < std::fabs(best->Thrust - thrust)) best = &t;
            cap[i] = {number, best->NominalMomentCapacity};
        }
    }
    return cap;
}

CurvePoint PointOf(const EngineRun& e, double factor) {
    CurvePoint p;
    p.Factor = factor;
    const results::LoadCase& lc = e.R.Plot.LoadCases[0];
    p.Shear = lc.Stations[0].Shear;
    p.Moment = lc.Stations[0].Moment;
    p.Deflection = lc.Stations[0].Deflection;
    p.MaxMoment = lc.MaxMoment;
    p.MaxMomentDepth = lc.DepthMaxMoment;
    if (!e.R.Facts.CaseSummaries.empty()) p.Rotation = e.R.Facts.CaseSummaries[0].HeadRotation;
    const auto cap = StationCapacities(e.R);
    for (std::size_t i = 0; i < lc.Stations.size(); ++i) {
        if (!(cap[i].second > 0.0)) continue;
        const double ratio = std::fabs(lc.Stations[i].Moment) / cap[i].second;
        if (ratio > p.HingeRatio) {
            p.HingeRatio = ratio;
            p.HingeSection = cap[i].first;
            p.HingeDepth = lc.Stations[i].Depth;
            p.Capacity = cap[i].second;
        }
    }
    return p;
}

enum class EndReason { FirstHinge, TargetDeflection, DeflectionLimit, NoConvergence, FactorLimit, Error };

const char* ReasonKey(EndReason r) {
    switch (r) {
        case EndReason::FirstHinge: return "first_hinge";
        case EndReason::TargetDeflection: return "target_deflection";
        case EndReason::DeflectionLimit: return "deflection_limit";
        case EndReason::NoConvergence: return "no_convergence";
        case EndReason::FactorLimit: return "load_factor_limit";
        case EndReason::Error: return "error";
    }
    return "error";
}

struct Curve {
    std::vector<CurvePoint> Points;  // from the origin
    EndReason End = EndReason::Error;
    std::string EndText;             // one sentence
    std::string EngineReason;        // the engine's error of the failed step
    bool HasHinge = false;
    CurvePoint Hinge;
    int Runs = 0;
    std::vector<double> SteppedOver;  // load factors that did not converge while larger ones did
    int UnitSystem = 1;
    double DeflectionLimit = 0.0;    // engine units
};

struct Pusher {
    const Json& Model;
    std::size_t Case;
    fs::path Dir;
    double Target = 0.0;  // head deflection that ends the curve, engine units; 0 none
    int Runs = 0;
    EngineRun Last;

    bool Run(double factor, CurvePoint& p) {
        ++Runs;
        Last = RunModel(ScaledModel(Model, Case, factor), Dir);
        if (!Last.Converged) return false;
        p = PointOf(Last, factor);
        return true;
    }
    // Positive once the curve has passed its hinge or its target deflection.
    double Excess(const CurvePoint& p) const {
        double g = p.HingeRatio - 1.0;
        if (Target > 0.0) g = std::max(g, std::fabs(p.Deflection) / Target - 1.0);
        return g;
    }
};

Curve Push(const Json& m, std::size_t c, int steps, double target, const fs::path& dir) {
    Curve curve;
    curve.UnitSystem = UnitSystemOf(m);
    curve.DeflectionLimit = m.value("/options/deflection_limit"_json_pointer, 0.0);
    Pusher pu{m, c, dir, target, 0, {}};
    curve.Points.push_back(CurvePoint{});
    const double step = 1.0 / steps;
    const int maxSteps = std::min(static_cast<int>(std::lround(MaxLoadFactor * steps)), MaxSteps);
    const double maxFactor = maxSteps * step;
    auto finish = [&](EndReason r, std::string text) {
        curve.End = r;
        curve.EndText = std::move(text);
        curve.Runs = pu.Runs;
        return curve;
    };
    // The crossing of the hinge or the target between the converged point
    // `below` and the converged point `above` (Excess >= 0): regula falsi
    // (Illinois) on the load factor; a trial that fails is stepped over by
    // trying the middle of the bracket instead.
    auto cross = [&](CurvePoint below, CurvePoint above) {
        double ga = below.Factor == 0.0 ? -1.0 : pu.Excess(below), gb = pu.Excess(above);
        double fa = below.Factor, fb = above.Factor, gfb = gb;
        int side = 0;
        for (int it = 0; it < MaxSearchRuns && gb > CrossingTolerance && fb - fa > 1.0E-12 * fb; ++it) {
            double f2 = (fa * gfb - fb * ga) / (gfb - ga);
            if (!(f2 > fa && f2 < fb)) f2 = 0.5 * (fa + fb);
            CurvePoint q;
            if (!pu.Run(f2, q)) {
                f2 = 0.5 * (fa + fb);
                if (!pu.Run(f2, q)) {
                    fb = f2;
                    gfb = 1.0;
                    continue;
                }
            }
            const double gq = pu.Excess(q);
            if (gq >= 0.0) {
                above = q;
                fb = f2;
                gb = gfb = gq;
                if (side == -1) ga *= 0.5;
                side = -1;
            } else {
                below = q;
                fa = f2;
                ga = gq;
                if (side == 1) gfb *= 0.5;
                side = 1;
            }
        }
        curve.Points.push_back(above);
        if (above.HingeRatio >= 1.0 - 1.0E-6) {
            curve.HasHinge = true;
            curve.Hinge = above;
            return finish(EndReason::FirstHinge,
                          "The curve ended at the first plastic hinge: the moment reached the nominal moment "
                          "capacity of section " + std::to_string(above.HingeSection) + ".");
        }
        return finish(EndReason::TargetDeflection,
                      "The curve ended at the head deflection asked for (--to-deflection).");
    };

    CurvePoint lo;  // the last converged point of the curve
    for (int k = 1; k <= maxSteps; ++k) {
        CurvePoint p;
        if (pu.Run(k * step, p)) {
            if (pu.Excess(p) >= 0.0) return cross(lo, p);
            curve.Points.push_back(p);
            lo = p;
            continue;
        }
        const EngineRun failed = pu.Last;
        if (failed.Result > 100 && failed.Result < 200) {
            curve.EngineReason = failed.Reason;
            return finish(EndReason::Error, "The engine refused the input: " + failed.Reason);
        }
        // A step that fails is not yet the end: the secant iteration can fail
        // at one load and converge at a larger one. The loads half a step,
        // one and two steps further are tried; the first that converges
        // continues the curve, and the failed load is reported as stepped over.
        bool resumed = false;
        for (double ahead : {0.5, 1.0, 2.0}) {
            const double f = (k + ahead) * step;
            if (f > maxFactor + 1.0E-9) break;
            CurvePoint q;
            if (!pu.Run(f, q)) continue;
            curve.SteppedOver.push_back(k * step);
            if (pu.Excess(q) >= 0.0) return cross(lo, q);
            curve.Points.push_back(q);
            lo = q;
            k = static_cast<int>(std::floor(f / step + 1.0E-9));
            resumed = true;
            break;
        }
        if (resumed) continue;
        // The end of the curve: the last converged load found by halving the
        // failed step.
        double a = lo.Factor, b = k * step;
        for (int h = 0; h < FailureHalvings; ++h) {
            const double mid = 0.5 * (a + b);
            CurvePoint q;
            if (!pu.Run(mid, q)) {
                b = mid;
                continue;
            }
            if (pu.Excess(q) >= 0.0) return cross(lo, q);
            a = mid;
            lo = q;
        }
        if (lo.Factor > curve.Points.back().Factor) curve.Points.push_back(lo);
        curve.EngineReason = failed.Reason;
        if (lo.HingeRatio >= 1.0 - HingeNearness) {
            // An elastic-plastic section takes no more moment: no load beyond
            // its capacity converges, and the last converged point is the hinge.
            curve.HasHinge = true;
            curve.Hinge = lo;
            char pct[32];
            std::snprintf(pct, sizeof pct, "%.2f", 100.0 * lo.HingeRatio);
            return finish(EndReason::FirstHinge,
                          "The curve ended at the first plastic hinge: the moment reached " + std::string(pct) +
                              " % of the nominal moment capacity of section " + std::to_string(lo.HingeSection) +
                              " and no larger load converged.");
        }
        if (failed.Result == 209)
            return finish(EndReason::DeflectionLimit,
                          "The curve ended at the deflection limit of the input: larger loads deflect the pile "
                          "beyond it.");
        return finish(EndReason::NoConvergence,
                      "The curve ended where larger loads no longer converge (the soil's capacity, or see the "
                      "engine's reason): " +
                          (failed.Reason.empty() ? "run result " + std::to_string(failed.Result) : failed.Reason));
    }
    return finish(EndReason::FactorLimit, "The curve ended at " + results::DisplayNumber(maxFactor) +
                                              " times the load case without a hinge, the deflection limit or a "
                                              "failed step.");
}

// The load factor and head shear where the curve reaches head deflection d
// (engine units) by linear interpolation between its points; false beyond it.
bool AtDeflection(const Curve& c, double d, double& factor, double& shear) {
    for (std::size_t i = 1; i < c.Points.size(); ++i) {
        const CurvePoint& a = c.Points[i - 1];
        const CurvePoint& b = c.Points[i];
        const double ya = std::fabs(a.Deflection), yb = std::fabs(b.Deflection);
        if (d >= ya && d <= yb && yb > ya) {
            const double t = (d - ya) / (yb - ya);
            factor = a.Factor + t * (b.Factor - a.Factor);
            shear = a.Shear + t * (b.Shear - a.Shear);
            return true;
        }
    }
    return false;
}

// The head deflections at which loads are read off the curve, display units.
std::vector<double> ChosenDeflections(int system) {
    if (system == 1) return {0.25, 0.5, 1.0};
    if (system == 2) return {5.0, 10.0, 25.0};
    return {};
}

std::string Num(double v) { return results::DisplayNumber(v); }

// The head moment as shown: zero when it is rounding noise (a free head's
// moment below 1E-9 of the largest moment), as the results page shows it.
double ShownHeadMoment(const CurvePoint& p) {
    return std::fabs(p.Moment) < 1.0E-9 * std::fabs(p.MaxMoment) ? 0.0 : p.Moment;
}

std::string Full(double v) {
    if (v == 0.0) return "0";  // never "-0"
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

// ------------------------------------------------------------ output files

struct PushoverFiles {
    std::string Text, Json, Csv, Html;
};

PushoverFiles WriteCurve(const Curve& c, const std::string& name, int caseNumber, int steps, double targetShown,
                         const std::string& reference) {
    const results::ShownUnits u = results::ShownUnitsFor(c.UnitSystem);
    const results::PlotUnits eu = results::UnitsOf(c.UnitSystem);
    PushoverFiles f;
    // Loads at the chosen deflections.
    struct AtD {
        double Shown, Factor = 0.0, Shear = 0.0;
        bool Reached = false;
    };
    std::vector<AtD> at;
    for (double d : ChosenDeflections(c.UnitSystem)) {
        AtD a{d};
        a.Reached = AtDeflection(c, d / u.DeflectionFactor, a.Factor, a.Shear);
        at.push_back(a);
    }

    // Text report.
    std::ostringstream t;
    t << "Kestro pushover of " << name << ", load case " << caseNumber << "\n\n"
      << c.EndText << "\n";
    if (!c.EngineReason.empty() && c.End != EndReason::NoConvergence)
        t << "Engine: " << c.EngineReason << "\n";
    t << "\n" << reference << "\nLoad steps of 1/" << steps << " of the load case; " << c.Runs << " runs of the engine.\n";
    std::string over;
    for (double f0 : c.SteppedOver) over += (over.empty() ? "" : ", ") + Num(f0);
    if (!over.empty())
        t << "Load factors stepped over (the engine did not converge there; larger loads did): " << over << "\n";
    if (targetShown > 0.0) t << "Head deflection asked for: " << Num(targetShown) << ' ' << u.Deflection << "\n";
    if (c.HasHinge)
        t << "First plastic hinge: load factor " << Num(c.Hinge.Factor) << ", head shear " << Num(c.Hinge.Shear * u.ForceFactor)
          << ' ' << u.Force << ", head deflection " << Num(c.Hinge.Deflection * u.DeflectionFactor) << ' '
          << u.Deflection << ", in section " << c.Hinge.HingeSection << " at depth "
          << Num(c.Hinge.HingeDepth * u.DepthFactor) << ' ' << u.Depth << " (Mn " << Num(c.Hinge.Capacity * u.MomentFactor)
          << ' ' << u.Moment << ")\n";
    else
        t << "First plastic hinge: not reached (no section with a moment capacity reached it)\n";
    if (!at.empty()) {
        t << "\nLoads at chosen head deflections\n";
        for (const AtD& a : at) {
            t << "  " << std::setw(6) << Num(a.Shown) << ' ' << u.Deflection << ": ";
            if (a.Reached)
                t << "load factor " << Num(a.Factor) << ", head shear " << Num(a.Shear * u.ForceFactor) << ' ' << u.Force
                  << '\n';
            else
                t << "not reached\n";
        }
    }
    t << "\n" << std::setw(12) << "factor" << std::setw(14) << ("V, " + u.Force) << std::setw(14)
      << ("M, " + u.Moment) << std::setw(14) << ("y, " + u.Deflection) << std::setw(14) << "rot., rad"
      << std::setw(14) << ("Mmax, " + u.Moment) << std::setw(14) << ("depth, " + u.Depth) << '\n';
    for (const CurvePoint& p : c.Points)
        t << std::setw(12) << Num(p.Factor) << std::setw(14) << Num(p.Shear * u.ForceFactor) << std::setw(14)
          << Num(ShownHeadMoment(p) * u.MomentFactor) << std::setw(14) << Num(p.Deflection * u.DeflectionFactor) << std::setw(14)
          << Num(p.Rotation) << std::setw(14) << Num(p.MaxMoment * u.MomentFactor) << std::setw(14)
          << Num(p.MaxMomentDepth * u.DepthFactor) << '\n';
    f.Text = t.str();

    // CSV, display units in the column names.
    std::ostringstream csv;
    csv << "load_factor,head_shear_" << u.Force << ",head_moment_" << u.Moment << ",head_deflection_" << u.Deflection
        << ",head_rotation_rad,max_moment_" << u.Moment << ",max_moment_depth_" << u.Depth << '\n';
    for (const CurvePoint& p : c.Points)
        csv << Full(p.Factor) << ',' << Full(p.Shear * u.ForceFactor) << ',' << Full(p.Moment * u.MomentFactor) << ','
            << Full(p.Deflection * u.DeflectionFactor) << ',' << Full(p.Rotation) << ','
            << Full(p.MaxMoment * u.MomentFactor) << ',' << Full(p.MaxMomentDepth * u.DepthFactor) << '\n';
    f.Csv = csv.str();

    // JSON, the engine's units.
    nlohmann::ordered_json j;
    j["format"] = "kestro-pushover";
    j["version"] = 1;
    j["name"] = name;
    j["load_case"] = caseNumber;
    j["steps_per_load_case"] = steps;
    j["engine_runs"] = c.Runs;
    j["units"] = {{"depth", eu.Length}, {"deflection", eu.Length}, {"force", eu.Force}, {"moment", eu.Moment},
                  {"rotation", "rad"}};
    j["end"] = {{"reason", ReasonKey(c.End)}, {"text", c.EndText}, {"engine_error", c.EngineReason}};
    j["stepped_over_load_factors"] = c.SteppedOver;
    if (c.HasHinge)
        j["first_hinge"] = {{"load_factor", c.Hinge.Factor},         {"head_shear", c.Hinge.Shear},
                            {"head_moment", c.Hinge.Moment},         {"head_deflection", c.Hinge.Deflection},
                            {"section", c.Hinge.HingeSection},       {"depth", c.Hinge.HingeDepth},
                            {"moment_capacity", c.Hinge.Capacity},
                            {"moment_ratio", c.Hinge.HingeRatio}};
    else
        j["first_hinge"] = nullptr;
    j["loads_at_deflections"] = nlohmann::ordered_json::array();
    for (const AtD& a : at) {
        nlohmann::ordered_json e = {{"head_deflection", a.Shown / u.DeflectionFactor}, {"reached", a.Reached}};
        e["load_factor"] = a.Reached ? nlohmann::ordered_json(a.Factor) : nlohmann::ordered_json(nullptr);
        e["head_shear"] = a.Reached ? nlohmann::ordered_json(a.Shear) : nlohmann::ordered_json(nullptr);
        j["loads_at_deflections"].push_back(e);
    }
    j["points"] = nlohmann::ordered_json::array();
    for (const CurvePoint& p : c.Points)
        j["points"].push_back({{"load_factor", p.Factor},
                               {"head_shear", p.Shear},
                               {"head_moment", p.Moment},
                               {"head_deflection", p.Deflection},
                               {"head_rotation", p.Rotation},
                               {"max_moment", p.MaxMoment},
                               {"max_moment_depth", p.MaxMomentDepth}});
    f.Json = j.dump(2) + "\n";

    // HTML page with the results page's charts.
    using results::EscapeHtml;
    std::ostringstream h;
    h << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Kestro pushover: "
      << EscapeHtml(name) << "</title>\n" << results::PageStyle() << "</head>\n<body>\n<header>\n<h1>Kestro pushover: "
      << EscapeHtml(name) << ", load case " << caseNumber << "</h1>\n</header>\n";
    const bool bad = c.End == EndReason::Error;
    h << "<div class=\"outcome " << (bad ? "bad" : "ok") << "\"><p class=\"sentence\">" << EscapeHtml(c.EndText)
      << "</p>";
    if (!c.EngineReason.empty() && c.End != EndReason::NoConvergence)
        h << "<p>Engine: " << EscapeHtml(c.EngineReason) << "</p>";
    h << "<p>" << EscapeHtml(reference) << "</p><p>Head loads of the load case scaled in steps of 1/" << steps << "; " << c.Runs
      << " runs of the engine.</p>";
    if (!over.empty())
        h << "<p>Load factors stepped over (the engine did not converge there; larger loads did): " << over << "</p>";
    h << "</div>\n";
    h << "<h2>Key loads</h2>\n<table>\n<tr><th>Point</th><th>Load factor</th><th>Head shear, " << EscapeHtml(u.Force)
      << "</th><th>Head deflection, " << EscapeHtml(u.Deflection) << "</th></tr>\n";
    if (c.HasHinge)
        h << "<tr><td>First plastic hinge (section " << c.Hinge.HingeSection << ", depth "
          << Num(c.Hinge.HingeDepth * u.DepthFactor) << ' ' << EscapeHtml(u.Depth) << ", Mn "
          << Num(c.Hinge.Capacity * u.MomentFactor) << ' ' << EscapeHtml(u.Moment) << ")</td><td class=\"num\">"
          << Num(c.Hinge.Factor) << "</td><td class=\"num\">" << Num(c.Hinge.Shear * u.ForceFactor)
          << "</td><td class=\"num\">" << Num(c.Hinge.Deflection * u.DeflectionFactor) << "</td></tr>\n";
    else
        h << "<tr><td>First plastic hinge</td><td colspan=\"3\">not reached</td></tr>\n";
    for (const AtD& a : at) {
        h << "<tr><td>Head deflection " << Num(a.Shown) << ' ' << EscapeHtml(u.Deflection) << "</td>";
        if (a.Reached)
            h << "<td class=\"num\">" << Num(a.Factor) << "</td><td class=\"num\">" << Num(a.Shear * u.ForceFactor)
              << "</td><td class=\"num\">" << Num(a.Shown) << "</td></tr>\n";
        else
            h << "<td colspan=\"3\">not reached</td></tr>\n";
    }
    h << "</table>\n";
    std::vector<std::array<double, 2>> py, pr, pm, pd;
    for (const CurvePoint& p : c.Points) {
        py.push_back({std::fabs(p.Deflection) * u.DeflectionFactor, p.Factor});
        pr.push_back({std::fabs(p.Rotation), p.Factor});
        pm.push_back({std::fabs(p.MaxMoment) * u.MomentFactor, p.Factor});
        if (p.Factor > 0.0) pd.push_back({p.MaxMomentDepth * u.DepthFactor, p.Factor});
    }
    auto withHinge = [&](std::vector<std::array<double, 2>> pts, std::array<double, 2> hinge) {
        std::vector<results::XYSeries> s{{"Load case " + std::to_string(caseNumber), std::move(pts), true}};
        if (c.HasHinge) s.push_back({"First plastic hinge", {hinge}, true});
        return s;
    };
    const CurvePoint& hg = c.Hinge;
    h << "<h2>Capacity curve</h2>\n<div class=\"charts\">"
      << results::XYChart("pushover-deflection", "Load factor against head deflection",
                          "Head deflection |y|, " + u.Deflection, "Load factor",
                          withHinge(py, {std::fabs(hg.Deflection) * u.DeflectionFactor, hg.Factor}))
      << results::XYChart("pushover-rotation", "Load factor against head rotation", "Head rotation |\u03b8|, rad",
                          "Load factor", withHinge(pr, {std::fabs(hg.Rotation), hg.Factor}))
      << results::XYChart("pushover-moment", "Load factor against maximum moment",
                          "Maximum moment |M|, " + u.Moment, "Load factor",
                          withHinge(pm, {std::fabs(hg.MaxMoment) * u.MomentFactor, hg.Factor}))
      << results::XYChart("pushover-depth", "Depth of the maximum moment", "Depth, " + u.Depth, "Load factor",
                          {{"Load case " + std::to_string(caseNumber), pd, true}})
      << "</div>\n";
    h << "<h2>Points of the curve</h2>\n<table>\n<tr><th>Load factor</th><th>Head shear, " << EscapeHtml(u.Force)
      << "</th><th>Head moment, " << EscapeHtml(u.Moment) << "</th><th>Head deflection, " << EscapeHtml(u.Deflection)
      << "</th><th>Head rotation, rad</th><th>Max. moment, " << EscapeHtml(u.Moment) << "</th><th>Its depth, "
      << EscapeHtml(u.Depth) << "</th></tr>\n";
    for (const CurvePoint& p : c.Points)
        h << "<tr><td class=\"num\">" << Num(p.Factor) << "</td><td class=\"num\">" << Num(p.Shear * u.ForceFactor)
          << "</td><td class=\"num\">" << Num(ShownHeadMoment(p) * u.MomentFactor) << "</td><td class=\"num\">"
          << Num(p.Deflection * u.DeflectionFactor) << "</td><td class=\"num\">" << Num(p.Rotation)
          << "</td><td class=\"num\">" << Num(p.MaxMoment * u.MomentFactor) << "</td><td class=\"num\">"
          << Num(p.MaxMomentDepth * u.DepthFactor) << "</td></tr>\n";
    h << "</table>\n<footer>Written by kestro pushover; the JSON file keeps the engine's units.</footer>\n</body>\n</html>\n";
    f.Html = h.str();
    return f;
}

// What load factor 1 is: the load case's head conditions in display units.
std::string Reference(const Json& lc, int number, const results::ShownUnits& u) {
    std::string s = "Load factor 1 is load case " + std::to_string(number) + ":";
    auto value = [&](const char* key, const char* name, double factor, const std::string& unit) {
        if (!lc.contains(key) || !lc[key].is_number()) return;
        s += std::string(" ") + name + " " + Num(lc[key].get<double>() * factor) + (unit.empty() ? "" : " " + unit) + ",";
    };
    value("shear", "head shear", u.ForceFactor, u.Force);
    value("moment", "head moment", u.MomentFactor, u.Moment);
    value("deflection", "head deflection", u.DeflectionFactor, u.Deflection);
    value("slope", "head slope", 1.0, "rad");
    value("rotational_stiffness", "rotational restraint (not scaled)", u.MomentFactor, u.Moment + "/rad");
    value("axial_load", "axial load (not scaled)", u.ForceFactor, u.Force);
    if (!s.empty() && s.back() == ',') s.back() = '.';
    return s;
}

// The input, its model, the output folder and the work folder of the runs.
// The command's input, its model and the folder of its engine runs, which
// goes when the command ends, whatever way it ends.
struct Prepared {
    fs::path Input, OutDir, Work;
    std::string Stem;
    Json Model;
    std::size_t Case = 0;
    Prepared() = default;
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
    ~Prepared() {
        std::error_code ec;
        if (!Work.empty()) fs::remove_all(Work, ec);
    }
};

int Prepare(const Request& req, const std::string& command, const std::string& suffix, Prepared& p,
            std::ostream& err) {
    const std::string name = "kestro " + command;
    std::error_code ec;
    p.Input = fs::absolute(req.Input, ec);
    if (!fs::is_regular_file(p.Input, ec) || !std::ifstream(p.Input)) {
        err << name << ": cannot read input file '" << req.Input << "'\n";
        return ExitNoInput;
    }
    p.Stem = p.Input.stem().string();
    std::string problem;
    if (!LoadModel(p.Input, p.Model, problem)) {
        err << name << ": " << req.Input << ": " << problem << '\n';
        return ExitError;
    }
    const std::size_t n = p.Model["loading"]["load_cases"].size();
    if (n == 0) {
        err << name << ": " << req.Input << " has no load case in its LOADING section (" << command
            << " takes the load cases of LOADING, not LRFD combinations)\n";
        return ExitError;
    }
    if (static_cast<std::size_t>(req.Case) > n) {
        err << name << ": --case " << req.Case << ": the input has " << n << " load case" << (n == 1 ? "" : "s")
            << " (1 to " << n << ")\n";
        return ExitUsage;
    }
    p.Case = static_cast<std::size_t>(req.Case - 1);
    p.OutDir = req.OutDir.empty() ? p.Input.parent_path() / (p.Stem + suffix) : fs::absolute(req.OutDir, ec);
    fs::create_directories(p.OutDir, ec);
    if (!fs::is_directory(p.OutDir, ec)) {
        err << name << ": cannot create output folder '" << p.OutDir.string() << "'\n";
        return ExitCantCreate;
    }
    // Kept (and removed at the end) only once it is a folder this command made ready.
    const fs::path work = p.OutDir / (command + "-runs");
    fs::create_directories(work, ec);
    if (!fs::is_directory(work, ec)) {
        err << name << ": cannot create the folder of the runs '" << work.string() << "'\n";
        return ExitCantCreate;
    }
    p.Work = work;
    return 0;
}

bool WriteAll(const std::vector<std::pair<fs::path, std::string>>& files, const std::string& name, std::ostream& out,
              std::ostream& err) {
    for (const auto& [path, text] : files) {
        if (!results::WriteFileAtomically(path, text)) {
            err << name << ": cannot write '" << path.string() << "'\n";
            return false;
        }
        out << "  " << path.string() << '\n';
    }
    return true;
}

// ------------------------------------------------------------ springs

struct StationSpring {
    double Depth = 0.0, Deflection = 0.0, Reaction = 0.0, Secant = 0.0, Tangent = 0.0, Tributary = 0.0;
};

// The secant spring model of converged stations: one user p-y layer (straight
// lines through the origin) between each pair of stations at or below the
// ground, the secant moduli interpolated linearly between them as the engine
// interpolates a layer's top and bottom curves. With more than the engine's
// 40 layers, layers span several stations.
Json SecantModel(const Json& m, std::size_t c, const std::vector<StationSpring>& s, double ground, int system) {
    Json out = m;
    const double depthUnit = system == 1 ? 12.0 : 1.0;  // plot depth per input layer depth (in per ft)
    std::vector<std::size_t> below;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i].Depth >= ground - 1.0E-9 * (1.0 + std::fabs(ground))) below.push_back(i);
    Json layers = Json::array();
    if (below.size() >= 2) {
        const std::size_t intervals = below.size() - 1;
        const std::size_t span = (intervals + 39) / 40;
        double ymax = 0.0;
        for (const auto& st : s) ymax = std::max(ymax, std::fabs(st.Deflection));
        const double yBig = std::min(10000.0 * (system == 2 ? 0.0254 : 1.0), std::max(1000.0 * ymax, 1.0E-3));
        auto curve = [&](std::size_t i) {
            const double es = std::max(s[i].Secant, 0.0);
            double y = yBig;
            // The last point's p within the input's bound (1E8 lb/in, 1.75E7 kN/m).
            const double pMax = system == 2 ? 1.5E7 : 0.9E8;
            if (es * y > pMax) y = pMax / es;
            return Json{{"unit_weight", system == 2 ? 17.0 : 110.0},
                        {"points", Json::array({Json{{"y", 0.0}, {"p", 0.0}}, Json{{"y", y}, {"p", es * y}}})}};
        };
        for (std::size_t k = 0; k < intervals; k += span) {
            const std::size_t a = below[k], b = below[std::min(k + span, intervals)];
            double bottom = s[b].Depth / depthUnit;
            if (b == below.back()) bottom += 0.01 * (s[b].Depth - s[below[0]].Depth) / depthUnit + 1.0E-6;
            layers.push_back({{"model", "user_py_curves"},
                              {"top", s[a].Depth / depthUnit},
                              {"bottom", bottom},
                              {"top_values", curve(a)},
                              {"bottom_values", curve(b)}});
        }
    }
    out["soil_layers"] = layers;
    out["options"]["use_py_modifiers"] = false;
    out["options"]["use_soil_movement"] = false;
    out["options"]["print_py_curves"] = false;
    for (const char* k : {"py_modifiers", "group_effect_factors", "soil_movements", "printed_py_depths"})
        if (out.contains(k)) out.erase(k);
    Json lc = m["loading"]["load_cases"][c];
    lc["length_code"] = 1;
    out["loading"]["load_cases"] = Json::array({lc});
    // The head stiffness is that of head loads alone: no distributed load.
    out["loading"]["distributed_loads"] = Json::array();
    out["options"]["use_lrfd"] = false;
    out["options"]["compute_stiffness_matrix"] = false;
    return out;
}

}  // namespace

int PushoverMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Request req;
    if (int s = ParseRequest(args, true, req, err)) return s;
    Prepared p;
    if (int s = Prepare(req, "pushover", "-pushover", p, err)) return s;
    const int system = UnitSystemOf(p.Model);
    const results::ShownUnits u = results::ShownUnitsFor(system);
    const double target = req.ToDeflection > 0.0 ? req.ToDeflection / u.DeflectionFactor : 0.0;
    const Curve c = Push(p.Model, p.Case, req.Steps, target, p.Work);
    if (c.End == EndReason::Error) {
        err << "kestro pushover: " << req.Input << ": " << c.EndText << '\n';
        return ExitError;
    }
    const PushoverFiles f = WriteCurve(c, p.Stem, req.Case, req.Steps, req.ToDeflection,
                                       Reference(p.Model["loading"]["load_cases"][p.Case], req.Case, u));
    out << c.EndText << '\n';
    if (c.HasHinge)
        out << "First plastic hinge at load factor " << Num(c.Hinge.Factor) << ": head shear "
            << Num(c.Hinge.Shear * u.ForceFactor) << ' ' << u.Force << ", head deflection "
            << Num(c.Hinge.Deflection * u.DeflectionFactor) << ' ' << u.Deflection << ".\n";
    const fs::path base = p.OutDir / (p.Stem + "-pushover");
    if (!WriteAll({{base.string() + ".txt", f.Text},
                   {base.string() + ".json", f.Json},
                   {base.string() + ".csv", f.Csv},
                   {base.string() + ".html", f.Html}},
                  "kestro pushover", out, err))
        return ExitCantCreate;
    return ExitNormal;
}

int SpringsMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Request req;
    if (int s = ParseRequest(args, false, req, err)) return s;
    Prepared p;
    if (int s = Prepare(req, "springs", "-springs", p, err)) return s;
    const int system = UnitSystemOf(p.Model);

    // The converged state of the case, and the states at loads TangentStep
    // below and above it for the tangents of the p-y curves.
    const EngineRun base = RunModel(ScaledModel(p.Model, p.Case, 1.0), p.Work);
    if (!base.Converged) {
        err << "kestro springs: load case " << req.Case << " did not converge, so it has no springs: "
            << (base.Reason.empty() ? "run result " + std::to_string(base.Result) : base.Reason) << '\n';
        return ExitError;
    }
    const results::LoadCase lc = base.R.Plot.LoadCases[0];
    const double ground = base.R.Facts.HasGroundSurface ? base.R.Facts.GroundSurface : 0.0;
    const EngineRun lower = RunModel(ScaledModel(p.Model, p.Case, 1.0 - TangentStep), p.Work);
    EngineRun upper = RunModel(ScaledModel(p.Model, p.Case, 1.0 + TangentStep), p.Work);
    const results::LoadCase* lo = lower.Converged ? &lower.R.Plot.LoadCases[0] : nullptr;
    const results::LoadCase* hi = upper.Converged ? &upper.R.Plot.LoadCases[0] : &lc;
    if (lo == nullptr) lo = &lc;

    std::vector<StationSpring> s(lc.Stations.size());
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n; ++i) {
        const results::Station& st = lc.Stations[i];
        StationSpring& k = s[i];
        k.Depth = st.Depth;
        k.Deflection = st.Deflection;
        k.Reaction = st.SoilReaction;
        // The soil reaction opposes the deflection: p = -Es y.
        const double dy = hi->Stations[i].Deflection - lo->Stations[i].Deflection;
        const double dp = hi->Stations[i].SoilReaction - lo->Stations[i].SoilReaction;
        k.Tangent = dy != 0.0 ? -dp / dy : 0.0;
        k.Secant = st.Deflection != 0.0 ? -st.SoilReaction / st.Deflection : k.Tangent;
        const double up = i > 0 ? st.Depth - lc.Stations[i - 1].Depth : 0.0;
        const double down = i + 1 < n ? lc.Stations[i + 1].Depth - st.Depth : 0.0;
        k.Tributary = 0.5 * (up + down);
    }

    // Head secant stiffness: the pile on its secant springs, with the head
    // deflection imposed at zero rotation and the head rotation imposed at
    // zero deflection (load type 5), each of the size the load case reached.
    const double yt = lc.Stations[0].Deflection;
    const double theta = base.R.Facts.CaseSummaries.empty() ? 0.0 : base.R.Facts.CaseSummaries[0].HeadRotation;
    const double vt = lc.Stations[0].Shear, mt = lc.Stations[0].Moment;
    const double pileLength = lc.Stations.back().Depth - lc.Stations.front().Depth;
    const double y0 = std::fabs(yt) > 0.0 ? std::fabs(yt) : 1.0E-3 * pileLength;
    const double t0 = std::fabs(theta) > 0.0 ? std::fabs(theta) : 10.0 * y0 / pileLength;
    Json secant = SecantModel(p.Model, p.Case, s, ground, system);
    auto probe = [&](double y, double slope, double& v, double& mo) {
        Json m = secant;
        m["loading"]["load_cases"] = Json::array(
            {Json{{"head", "deflection_slope"}, {"deflection", y}, {"slope", slope},
                  {"axial_load", p.Model["loading"]["load_cases"][p.Case].value("axial_load", 0.0)},
                  {"length_code", 1}}});
        const EngineRun e = RunModel(m, p.Work);
        if (!e.Converged) return false;
        v = e.R.Plot.LoadCases[0].Stations[0].Shear;
        mo = e.R.Plot.LoadCases[0].Stations[0].Moment;
        return true;
    };
    double v1 = 0.0, m1 = 0.0, v2 = 0.0, m2 = 0.0;
    const bool headOk = probe(y0, 0.0, v1, m1) && probe(0.0, t0, v2, m2);
    // [V, M] = K [y, theta] with the engine's signs of its stiffness matrix:
    // K22 = V / y and K32 = -M / y at zero rotation, K23 = V / theta and
    // K33 = -M / theta at zero deflection.
    const double k22 = v1 / y0, k32 = -m1 / y0, k23 = v2 / t0, k33 = -m2 / t0;

    const results::PlotUnits eu = results::UnitsOf(system);
    const std::string L = eu.Length, F = eu.Force;
    const std::string FL = eu.Moment;
    const std::string perL = F + "/" + L, perL2 = F + "/" + L + "2";
    std::ostringstream csv;
    csv << "station,depth_" << L << ",deflection_" << L << ",soil_reaction_" << perL << ",secant_modulus_" << perL2
        << ",tangent_modulus_" << perL2 << ",tributary_length_" << L << ",secant_spring_" << perL
        << ",tangent_spring_" << perL << '\n';
    for (std::size_t i = 0; i < n; ++i)
        csv << i + 1 << ',' << Full(s[i].Depth) << ',' << Full(s[i].Deflection) << ',' << Full(s[i].Reaction) << ','
            << Full(s[i].Secant) << ',' << Full(s[i].Tangent) << ',' << Full(s[i].Tributary) << ','
            << Full(s[i].Secant * s[i].Tributary) << ',' << Full(s[i].Tangent * s[i].Tributary) << '\n';

    std::ostringstream head;
    head << "load_case,head_shear_" << F << ",head_moment_" << FL << ",head_deflection_" << L
         << ",head_rotation_rad,K22_" << perL << ",K23_" << F << "/rad,K32_" << FL << "/" << L << ",K33_" << FL
         << "/rad\n"
         << req.Case << ',' << Full(vt) << ',' << Full(mt) << ',' << Full(yt) << ',' << Full(theta) << ',';
    if (headOk)
        head << Full(k22) << ',' << Full(k23) << ',' << Full(k32) << ',' << Full(k33) << '\n';
    else
        head << ",,,\n";

    std::ostringstream tcl;
    tcl << "# Soil springs of " << p.Stem << ", load case " << req.Case << ", written by kestro springs.\n"
        << "# Units: " << F << " and " << L << ". Pile nodes " << "(PileNodeBase + station) lie on the pile axis at\n"
        << "# x = 0, y = -depth below the pile head; soil nodes (SoilNodeBase + station) at the same\n"
        << "# place are fixed. Each spring is a zeroLength element in direction 1 (lateral) with an\n"
        << "# elastic material of stiffness (soil modulus x tributary length): the secant springs, or\n"
        << "# the tangent ones with UseTangent 1. The pile's own elements are the model's to add.\n"
        << "# Model: 2 dimensions, 3 degrees of freedom per node (model BasicBuilder -ndm 2 -ndf 3).\n";
    if (headOk)
        tcl << "# Head secant stiffness at this load: K22 = " << Full(k22) << " " << perL << ", K23 = " << Full(k23)
            << " " << F << "/rad, K32 = " << Full(k32) << " " << FL << "/" << L << ", K33 = " << Full(k33) << " " << FL
            << "/rad\n";
    tcl << "if {![info exists PileNodeBase]} {set PileNodeBase 1000}\n"
        << "if {![info exists SoilNodeBase]} {set SoilNodeBase 2000}\n"
        << "if {![info exists SpringBase]} {set SpringBase 3000}\n"
        << "if {![info exists UseTangent]} {set UseTangent 0}\n";
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t k = i + 1;
        const double ks = s[i].Secant * s[i].Tributary, kt = s[i].Tangent * s[i].Tributary;
        tcl << "node [expr {$PileNodeBase + " << k << "}] 0.0 " << Full(-s[i].Depth) << '\n';
        if (ks == 0.0 && kt == 0.0) continue;  // above the ground: no spring
        tcl << "node [expr {$SoilNodeBase + " << k << "}] 0.0 " << Full(-s[i].Depth) << '\n'
            << "fix [expr {$SoilNodeBase + " << k << "}] 1 1 1\n"
            << "uniaxialMaterial Elastic [expr {$SpringBase + " << k << "}] [expr {$UseTangent ? " << Full(kt) << " : "
            << Full(ks) << "}]\n"
            << "element zeroLength [expr {$SpringBase + " << k << "}] [expr {$SoilNodeBase + " << k
            << "}] [expr {$PileNodeBase + " << k << "}] -mat [expr {$SpringBase + " << k << "}] -dir 1\n";
    }

    out << "Soil springs of load case " << req.Case << " at " << n << " stations";
    if (!upper.Converged) out << " (tangents from the load and 1 % below it: 1 % more did not converge)";
    out << ".\n";
    if (headOk)
        out << "Head secant stiffness: K22 = " << Num(k22) << ' ' << perL << ", K23 = " << Num(k23) << ' ' << F
            << "/rad, K32 = " << Num(k32) << ' ' << FL << '/' << L << ", K33 = " << Num(k33) << ' ' << FL << "/rad\n";
    else
        out << "Head secant stiffness: not computed (a run of the pile on its secant springs did not converge).\n";
    const fs::path base2 = p.OutDir / p.Stem;
    if (!WriteAll({{base2.string() + "-springs.csv", csv.str()},
                   {base2.string() + "-head-stiffness.csv", head.str()},
                   {base2.string() + "-springs.tcl", tcl.str()}},
                  "kestro springs", out, err))
        return ExitCantCreate;
    return ExitNormal;
}

}  // namespace kestro::cli
