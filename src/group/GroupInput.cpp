#include "group/GroupInput.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <sstream>

#include "axial/AxialModel.h"
#include "group/LateralModel.h"
#include "group/RowMultipliers.h"
#include "input/InputFile.h"

namespace kestro::group {
namespace {

// Bounds that keep a hand-written file from asking for an unbounded run.
constexpr std::size_t MaxPiles = 1000;
constexpr std::size_t MaxCases = 1000;
constexpr std::size_t MaxTypes = 100;
constexpr double MaxBatterDegrees = 60.0;
constexpr double Pi = 3.14159265358979323846;

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> t;
    std::istringstream in(line);
    std::string w;
    while (in >> w) t.push_back(w);
    return t;
}

// A number as the keyword input reads one (D exponents too); finite only.
bool ToNumber(const std::string& s, double& v) { return ParseReal(s, v); }

bool ToInt(const std::string& s, int& n) {
    double v = 0.0;
    if (!ToNumber(s, v) || v != std::floor(v) || std::fabs(v) > 1.0E6) return false;
    n = static_cast<int>(v);
    return true;
}

std::string Fmt(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%12.5g", v);
    return buf;
}

const PileType* FindType(const GroupModel& m, int number) {
    for (const PileType& t : m.Types)
        if (t.Number == number) return &t;
    return nullptr;
}

void WriteMatrix(std::ostream& out, const char* title, const Matrix3& K) {
    out << "  " << title << " (rows H, V, M; columns u, w, theta):\n";
    for (const auto& row : K) out << "    " << Fmt(row[0]) << ' ' << Fmt(row[1]) << ' ' << Fmt(row[2]) << '\n';
}

}  // namespace

int ReadGroup(const std::string& text, GroupModel& model, std::string& error) {
    model = GroupModel{};
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    bool header = false;
    auto fail = [&error, &lineNo](const std::string& why) {
        error = "line " + std::to_string(lineNo) + ": " + why;
        return 1;
    };
    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = raw.substr(0, raw.find('#'));
        std::vector<std::string> t = Tokens(line);
        if (t.empty()) continue;
        const std::string key = Upper(t[0]);
        if (!header) {
            if (key != "KESTRO" || t.size() != 2 || Upper(t[1]) != "GROUP")
                return fail("a group file starts with the line KESTRO GROUP");
            header = true;
            continue;
        }
        if (key == "END") break;
        if (key == "TITLE") {
            const std::size_t at = line.find_first_not_of(" \t", line.find(t[0]) + t[0].size());
            model.Title = at == std::string::npos ? "" : line.substr(at);
            while (!model.Title.empty() && std::isspace(static_cast<unsigned char>(model.Title.back())))
                model.Title.pop_back();
        } else if (key == "UNITS") {
            if (t.size() != 3) return fail("UNITS takes a force unit and a length unit, e.g. UNITS kip in");
            model.ForceUnit = t[1];
            model.LengthUnit = t[2];
        } else if (key == "TYPE") {
            // TYPE n FIXED|PINNED KAXIAL v K22 v K23 v K33 v, or TYPE n FIXED|PINNED PY [KAXIAL v]
            PileType pt;
            const bool py = t.size() >= 4 && Upper(t[3]) == "PY";
            // PY [KAXIAL v] [LATERAL path]: the type's own lateral model (a path without spaces).
            std::string ownModel;
            if (py && t.size() >= 6 && Upper(t[t.size() - 2]) == "LATERAL") {
                ownModel = t.back();
                t.resize(t.size() - 2);
            }
            if ((py ? (t.size() != 4 && t.size() != 6) : t.size() != 11) || !ToInt(t[1], pt.Number) || pt.Number < 1)
                return fail("TYPE takes a number (1 or more), FIXED or PINNED and the values KAXIAL, K22, K23, K33; "
                            "or FIXED or PINNED, PY and optionally KAXIAL and its value and LATERAL and a path");
            if (FindType(model, pt.Number) != nullptr) return fail("pile type " + t[1] + " is given twice");
            if (model.Types.size() >= MaxTypes) return fail("more than 100 pile types");
            const std::string head = Upper(t[2]);
            if (head != "FIXED" && head != "PINNED") return fail("the head connection is FIXED or PINNED, not " + t[2]);
            pt.Terms.Head = head == "FIXED" ? Connection::Fixed : Connection::Pinned;
            if (py) {
                pt.b_PY = true;
                pt.b_LinearAxial = t.size() == 6;
                if (pt.b_LinearAxial) {
                    if (Upper(t[4]) != "KAXIAL")
                        return fail("after PY only KAXIAL and its value, and LATERAL and a path, may follow");
                    if (!ToNumber(t[5], pt.Terms.KAxial) || !(pt.Terms.KAxial > 0.0))
                        return fail("KAXIAL must be a number greater than zero");
                }
                if (!ownModel.empty()) {
                    std::size_t k = 0;
                    while (k < model.TypeModels.size() && model.TypeModels[k].Path != ownModel) ++k;
                    if (k == model.TypeModels.size()) model.TypeModels.push_back({ownModel, lineNo, std::string()});
                    pt.LateralModel = static_cast<int>(k) + 1;
                }
                model.Types.push_back(pt);
                continue;
            }
            bool seen[4] = {false, false, false, false};
            for (std::size_t k = 3; k + 1 < t.size(); k += 2) {
                const std::string name = Upper(t[k]);
                double v = 0.0;
                if (!ToNumber(t[k + 1], v)) return fail("the value of " + t[k] + " is not a number: " + t[k + 1]);
                int slot = name == "KAXIAL" ? 0 : name == "K22" ? 1 : name == "K23" ? 2 : name == "K33" ? 3 : -1;
                if (slot < 0) return fail("unknown stiffness term " + t[k] + " (KAXIAL, K22, K23, K33)");
                if (seen[slot]) return fail(t[k] + " is given twice");
                seen[slot] = true;
                (slot == 0 ? pt.Terms.KAxial : slot == 1 ? pt.Terms.K22 : slot == 2 ? pt.Terms.K23 : pt.Terms.K33) = v;
            }
            const LinearHeadTerms& k = pt.Terms;
            if (!(k.KAxial > 0.0) || !(k.K22 > 0.0) || !(k.K33 > 0.0))
                return fail("KAXIAL, K22 and K33 must be greater than zero");
            if (!(k.K22 * k.K33 > k.K23 * k.K23))
                return fail("K22 K33 must exceed K23^2: such terms give a pile that pushed sideways does work on "
                            "the cap");
            if (k.K23 > 0.0)
                model.Warnings.push_back("line " + std::to_string(lineNo) +
                                         ": K23 is positive; a real pile has K23 < 0 in the group's signs "
                                         "(enter K23 = -|K23| of the single-pile stiffness study)");
            model.Types.push_back(pt);
        } else if (key == "PILE") {
            // PILE type x z batter
            PileInput p;
            p.Line = lineNo;
            if ((t.size() != 5 && t.size() != 7) || !ToInt(t[1], p.Type) || !ToNumber(t[2], p.X) ||
                !ToNumber(t[3], p.Z) || !ToNumber(t[4], p.BatterDegrees))
                return fail("PILE takes its type number, x, z and batter angle in degrees, and optionally PMULT "
                            "and the pile's p-multiplier");
            if (t.size() == 7) {
                if (Upper(t[5]) != "PMULT") return fail("after the batter angle only PMULT and its value may follow");
                if (!ToNumber(t[6], p.PMultiplier) || !(p.PMultiplier > 0.0) || p.PMultiplier > 1.0)
                    return fail("PMULT must be a number greater than 0 and at most 1");
            }
            if (FindType(model, p.Type) == nullptr) return fail("pile type " + t[1] + " is not defined above");
            if (!(std::fabs(p.BatterDegrees) < MaxBatterDegrees))
                return fail("the batter angle must be less than 60 degrees either way");
            if (model.Piles.size() >= MaxPiles) return fail("more than 1000 piles");
            model.Piles.push_back(p);
        } else if (key == "LOAD" || key == "MOVE") {
            // LOAD name H V M, or MOVE name u w theta
            LoadCase c;
            c.Line = lineNo;
            c.b_Prescribed = key == "MOVE";
            if (t.size() != 5 || !ToNumber(t[2], c.Load[0]) || !ToNumber(t[3], c.Load[1]) ||
                !ToNumber(t[4], c.Load[2]))
                return fail(c.b_Prescribed ? "MOVE takes a name (one word) and the cap movement u, w and theta"
                                           : "LOAD takes a name (one word) and the cap load H, V and M");
            c.Name = t[1];
            if (model.Cases.size() >= MaxCases) return fail("more than 1000 load cases");
            model.Cases.push_back(c);
        } else if (key == "LATERAL") {
            // LATERAL path: the keyword input of the soil profile and the pile
            const std::size_t at = line.find_first_not_of(" \t", line.find(t[0]) + t[0].size());
            std::string path = at == std::string::npos ? "" : line.substr(at);
            while (!path.empty() && std::isspace(static_cast<unsigned char>(path.back()))) path.pop_back();
            if (path.empty()) return fail("LATERAL takes the path of the keyword input (KESTRO6) of the soil and pile");
            if (!model.LateralPath.empty()) return fail("LATERAL is given twice: a group has one lateral model");
            model.LateralPath = path;
            model.LateralLine = lineNo;
        } else if (key == "MULTIPLIERS") {
            const std::string v = t.size() == 2 ? Upper(t[1]) : "";
            if (v != "ROWS" && v != "NONE") return fail("MULTIPLIERS takes ROWS or NONE");
            model.b_RowMultipliers = v == "ROWS";
        } else {
            return fail("unknown keyword " + t[0] +
                        " (TITLE, UNITS, LATERAL, MULTIPLIERS, TYPE, PILE, LOAD, MOVE, END)");
        }
    }
    if (!header) {
        lineNo = 1;
        return fail("a group file starts with the line KESTRO GROUP");
    }
    if (model.Piles.empty()) {
        error = "the group has no PILE line";
        return 1;
    }
    if (model.Cases.empty()) {
        error = "the group has no LOAD or MOVE line";
        return 1;
    }
    bool needsGroupModel = false;
    for (const PileType& pt : model.Types) needsGroupModel = needsGroupModel || (pt.b_PY && pt.LateralModel == 0);
    if (needsGroupModel && model.LateralPath.empty()) {
        error = "a PY pile type without a LATERAL path of its own needs the LATERAL line naming the keyword input "
                "of the soil and pile";
        return 1;
    }
    return 0;
}

int RunGroup(const GroupModel& model, std::ostream& out, std::string& error) {
    GroupResults results;
    return RunGroup(model, out, error, results);
}

namespace {

// The cap's tolerance when piles are answered by the p-y analysis, whose head
// forces carry the iteration's own small residual.
constexpr double LateralRelativeTolerance = 1.0E-6;

// Piles whose heads are closer than half the pile width along x stand in one row.
constexpr double RowToleranceOverWidth = 0.5;

// Releases the lateral model however the run ends.
struct LateralModelGuard {
    bool b_Held = false;
    ~LateralModelGuard() {
        if (b_Held) ReleaseLateralModel();
    }
};

}  // namespace

int RunGroup(const GroupModel& model, std::ostream& out, std::string& error, GroupResults& results) {
    results = GroupResults{};
    bool anyPY = false;
    for (const PileType& t : model.Types) anyPY = anyPY || t.b_PY;
    LateralModelInfo info;
    LateralModelGuard guard;
    // The lateral models prepared: the group's (when named) first, then those
    // of the TYPE lines; `prepared[k]` is the prepared number of the type's
    // model k (0 the group's).
    std::vector<const LateralSource*> sources;
    LateralSource groupSource{model.LateralPath, model.LateralLine, model.LateralText};
    std::vector<int> prepared(model.TypeModels.size() + 1, 0);
    if (!model.LateralPath.empty()) sources.push_back(&groupSource);
    for (std::size_t k = 0; k < model.TypeModels.size(); ++k) {
        prepared[k + 1] = static_cast<int>(sources.size());
        sources.push_back(&model.TypeModels[k]);
    }
    std::vector<LateralModelInfo> infos;
    if (anyPY) {
        std::string why;
        std::vector<std::string> texts;
        for (const LateralSource* src : sources) texts.push_back(src->Text);
        std::size_t failed = 0;
        if (PrepareLateralModels(texts, infos, why, failed) != 0) {
            const LateralSource* src = failed < sources.size() ? sources[failed] : &groupSource;
            error = "the lateral model " + src->Path + " (line " + std::to_string(src->Line) +
                    ") cannot be analysed: " + why;
            out << error << '\n';
            return ErrorPileFailed;
        }
        guard.b_Held = true;
        info = infos.front();
        // One system of units for the whole group; the rows are measured in
        // the widest pile's width (the smaller multipliers).
        for (std::size_t k = 1; k < infos.size(); ++k) {
            if (std::string(infos[k].ForceUnit) != info.ForceUnit || std::string(infos[k].LengthUnit) != info.LengthUnit) {
                error = "the lateral model " + sources[k]->Path + " (line " + std::to_string(sources[k]->Line) +
                        ") is in other units (" + infos[k].ForceUnit + ", " + infos[k].LengthUnit + ") than " +
                        sources[0]->Path + " (" + info.ForceUnit + ", " + info.LengthUnit +
                        "): the group's lateral models share one system of units";
                out << error << '\n';
                return ErrorPileFailed;
            }
            info.Width = std::max(info.Width, infos[k].Width);
        }
        results.b_Lateral = true;
        results.ModelForceUnit = info.ForceUnit;
        results.ModelLengthUnit = info.LengthUnit;
        results.ModelWidth = info.Width;
    }
    std::vector<std::unique_ptr<PileHead>> heads;
    std::vector<LateralPileHead*> lateral;
    std::vector<GroupPile> piles;
    std::vector<double> xs;
    for (const PileInput& p : model.Piles) {
        const PileType* t = FindType(model, p.Type);
        if (t == nullptr) {
            error = "pile type " + std::to_string(p.Type) + " is not defined";
            return ErrorPileFailed;
        }
        LateralPileHead* lat = nullptr;
        if (t->b_PY) {
            const int k = t->LateralModel >= 0 && static_cast<std::size_t>(t->LateralModel) < prepared.size()
                              ? prepared[static_cast<std::size_t>(t->LateralModel)]
                              : 0;
            if (!t->b_LinearAxial && !infos[static_cast<std::size_t>(k)].b_Axial) {
                error = "pile type " + std::to_string(t->Number) +
                        " gives no KAXIAL and its lateral model holds no AXIAL ANALYSIS section";
                out << error << '\n';
                return ErrorPileFailed;
            }
            auto h = std::make_unique<LateralPileHead>(t->Terms.Head, 1.0, t->b_LinearAxial ? nullptr : &AxialColumn,
                                                       t->Terms.KAxial, k);
            lat = h.get();
            heads.push_back(std::move(h));
        } else {
            heads.push_back(std::make_unique<LinearPileHead>(t->Terms));
        }
        lateral.push_back(lat);
        piles.push_back({p.X, p.Z, p.BatterDegrees * Pi / 180.0, heads.back().get()});
        xs.push_back(p.X);
    }
    // Every pile's p-multiplier for a cap movement in the direction `direction`.
    auto setMultipliers = [&](double direction, std::vector<PileCaseResult>& rows) {
        rows.assign(piles.size(), PileCaseResult{});
        PileMultipliers pm;
        if (anyPY && model.b_RowMultipliers) {
            pm = GroupMultipliers(xs, info.Width, direction, RowToleranceOverWidth * info.Width);
            results.b_BelowTable = results.b_BelowTable || pm.b_BelowTable;
        }
        for (std::size_t i = 0; i < piles.size(); ++i) {
            double m = pm.Multiplier.size() == piles.size() ? pm.Multiplier[i] : 1.0;
            rows[i].Row = pm.Row.size() == piles.size() ? pm.Row[i] : 1;
            if (model.Piles[i].PMultiplier > 0.0) m = model.Piles[i].PMultiplier;
            rows[i].PMultiplier = m;
            if (lateral[i] != nullptr) lateral[i]->SetPMultiplier(m);
        }
    };
    auto keepLateral = [&](std::vector<PileCaseResult>& rows) {
        for (std::size_t i = 0; i < piles.size(); ++i) {
            if (lateral[i] == nullptr) continue;
            const LateralAnswer& a = lateral[i]->Last();
            rows[i].b_Lateral = true;
            rows[i].Deflection = a.Deflection;
            rows[i].Slope = a.Slope;
            rows[i].MaxMoment = a.MaxMoment;
            rows[i].DepthMaxMoment = a.DepthMaxMoment;
            rows[i].ProfileDepth = a.ProfileDepth;
            rows[i].ProfileDeflection = a.ProfileDeflection;
            rows[i].ProfileMoment = a.ProfileMoment;
        }
    };

    const std::string& F = anyPY ? results.ModelForceUnit : model.ForceUnit;
    const std::string& L = anyPY ? results.ModelLengthUnit : model.LengthUnit;
    out << (anyPY ? "Pile group under a rigid cap (p-y lateral analysis of the piles)\n"
                  : "Pile group under a rigid cap (linear pile-head stiffness)\n");
    if (!model.Title.empty()) out << model.Title << '\n';
    out << "Units: force " << F << ", length " << L << ", rotation rad; z and w positive downward,\n"
        << "theta and M positive turning +x toward +z.\n";
    if (anyPY && sources.size() == 1)
        out << "Lateral model: " << sources[0]->Path << " (pile width " << Fmt(infos[0].Width) << ", length "
            << Fmt(infos[0].Length) << ")\n";
    else if (anyPY)
        for (std::size_t k = 0; k < sources.size(); ++k)
            out << "Lateral model " << k + 1 << ": " << sources[k]->Path << " (pile width " << Fmt(infos[k].Width)
                << ", length " << Fmt(infos[k].Length) << ")\n";
    out << "\nPiles: " << piles.size() << "\n  Pile Type Head              x            z  batter(deg)\n";
    for (std::size_t i = 0; i < model.Piles.size(); ++i) {
        const PileInput& p = model.Piles[i];
        const PileType* t = FindType(model, p.Type);
        char buf[200];
        std::snprintf(buf, sizeof buf, "  %4zu %4d %-6s %12.5g %12.5g %12.5g%s\n", i + 1, p.Type,
                      t->Terms.Head == Connection::Fixed ? "fixed" : "pinned", p.X, p.Z, p.BatterDegrees,
                      t->b_PY ? (t->b_LinearAxial ? "  p-y, linear axial" : "  p-y, axial column") : "");
        out << buf;
    }
    {
        std::vector<PileCaseResult> rows;
        setMultipliers(1.0, rows);
        const SolveResult zero = EvaluateCap(piles, {0.0, 0.0, 0.0});
        if (zero.Error != 0) {
            error = "group stiffness at zero load: Runtime Error " + std::to_string(zero.Error) + ": " + zero.Message;
            out << error << '\n';
            return zero.Error;
        }
        results.ZeroLoadTangent = zero.State.Tangent;
        out << "\nGroup stiffness at zero load\n";
        WriteMatrix(out, "Tangent", zero.State.Tangent);
    }
    for (std::size_t c = 0; c < model.Cases.size(); ++c) {
        const LoadCase& lc = model.Cases[c];
        CaseResult cr;
        cr.Name = lc.Name;
        cr.b_Prescribed = lc.b_Prescribed;
        cr.Given = lc.Load;
        // The leading row is the one the cap's horizontal movement meets
        // first: taken in the direction of H (of u for a prescribed movement).
        setMultipliers(lc.Load[0] < 0.0 ? -1.0 : 1.0, cr.Piles);
        if (lc.b_Prescribed)
            out << "\nLoad case " << c + 1 << ": " << lc.Name << "   prescribed u =" << Fmt(lc.Load[0])
                << "  w =" << Fmt(lc.Load[1]) << "  theta =" << Fmt(lc.Load[2]) << '\n';
        else
            out << "\nLoad case " << c + 1 << ": " << lc.Name << "   H =" << Fmt(lc.Load[0])
                << "  V =" << Fmt(lc.Load[1]) << "  M =" << Fmt(lc.Load[2]) << '\n';
        SolveOptions options;
        if (anyPY) options.RelativeTolerance = LateralRelativeTolerance;
        cr.Solution = lc.b_Prescribed ? EvaluateCap(piles, lc.Load) : SolveCap(piles, lc.Load, options);
        const SolveResult& r = cr.Solution;
        if (r.Error != 0) {
            error = "load case " + std::to_string(c + 1) + " (" + lc.Name + "): Runtime Error " +
                    std::to_string(r.Error) + ": " + r.Message;
            out << "  " << error << '\n';
            results.Cases.push_back(cr);
            results.LateralSolutions = LateralSolutionCount();
            return r.Error;
        }
        // A balanced case is held to the stability of every p-y pile under
        // its axial load: a buckled pile is never an answer.
        for (std::size_t i = 0; i < piles.size() && cr.Solution.Error == 0; ++i) {
            if (lateral[i] == nullptr) continue;
            std::string why;
            if (lateral[i]->CheckStability(why) != 0) {
                cr.Solution.Error = ErrorPileFailed;
                char x[32];
                std::snprintf(x, sizeof x, "%.6g", piles[i].dx);
                cr.Solution.Message = "pile " + std::to_string(i + 1) + " (head at x = " + x + "): " + why;
            }
        }
        if (cr.Solution.Error != 0) {
            error = "load case " + std::to_string(c + 1) + " (" + lc.Name + "): Runtime Error " +
                    std::to_string(cr.Solution.Error) + ": " + cr.Solution.Message;
            out << "  " << error << '\n';
            results.Cases.push_back(cr);
            results.LateralSolutions = LateralSolutionCount();
            return cr.Solution.Error;
        }
        keepLateral(cr.Piles);
        const CapState& s = r.State;
        out << "  Cap movement: u =" << Fmt(s.Displacement[0]) << "  w =" << Fmt(s.Displacement[1])
            << "  theta =" << Fmt(s.Displacement[2]) << '\n';
        if (lc.b_Prescribed)
            out << "  Cap load needed: H =" << Fmt(s.Resisting[0]) << "  V =" << Fmt(s.Resisting[1])
                << "  M =" << Fmt(s.Resisting[2]) << '\n';
        else
            out << "  Balanced in " << r.Iterations << " iteration(s)"
                << (r.Increments > 1 ? " (load in " + std::to_string(r.Increments) + " increments)" : std::string())
                << "; out-of-balance H, V, M:" << Fmt(r.OutOfBalance[0])
            << Fmt(r.OutOfBalance[1]) << Fmt(r.OutOfBalance[2]) << '\n';
        out << "  Pile   axial mvmt lateral mvmt            N            Q       M head"
               "       H(cap)       V(cap)   M(cap ref)\n";
        for (std::size_t i = 0; i < piles.size(); ++i) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "  %4zu ", i + 1);
            out << buf << Fmt(s.HeadMovement[i][0]) << ' ' << Fmt(s.HeadMovement[i][1]) << ' ' << Fmt(s.HeadForce[i][0])
                << ' ' << Fmt(s.HeadForce[i][1]) << ' ' << Fmt(s.HeadForce[i][2]) << ' ' << Fmt(s.CapForce[i][0]) << ' '
                << Fmt(s.CapForce[i][1]) << ' ' << Fmt(s.CapForce[i][2]) << '\n';
        }
        if (anyPY) {
            out << "  Pile  row p-mult   deflection   head slope   max moment  depth of max\n";
            for (std::size_t i = 0; i < piles.size(); ++i) {
                const PileCaseResult& p = cr.Piles[i];
                if (!p.b_Lateral) continue;
                char buf[64];
                std::snprintf(buf, sizeof buf, "  %4zu %4d %6.3f ", i + 1, p.Row, p.PMultiplier);
                out << buf << Fmt(p.Deflection) << ' ' << Fmt(p.Slope) << ' ' << Fmt(p.MaxMoment) << ' '
                    << Fmt(p.DepthMaxMoment) << '\n';
            }
        }
        WriteMatrix(out, "Tangent stiffness", s.Tangent);
        WriteMatrix(out, "Secant stiffness", s.Secant);
        results.Cases.push_back(cr);
    }
    if (anyPY) {
        results.LateralSolutions = LateralSolutionCount();
        out << "\nLateral pile analyses: " << results.LateralSolutions << '\n';
        if (results.b_BelowTable)
            out << "Warning: the rows stand closer than 3 pile widths; the multipliers of 3 widths were used.\n";
    }
    return 0;
}

}  // namespace kestro::group
