#include "group/GroupInput.h"

#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <sstream>

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
        const std::vector<std::string> t = Tokens(line);
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
            // TYPE n FIXED|PINNED KAXIAL v K22 v K23 v K33 v
            PileType pt;
            if (t.size() != 11 || !ToInt(t[1], pt.Number) || pt.Number < 1)
                return fail("TYPE takes a number (1 or more), FIXED or PINNED and the values KAXIAL, K22, K23, K33");
            if (FindType(model, pt.Number) != nullptr) return fail("pile type " + t[1] + " is given twice");
            if (model.Types.size() >= MaxTypes) return fail("more than 100 pile types");
            const std::string head = Upper(t[2]);
            if (head != "FIXED" && head != "PINNED") return fail("the head connection is FIXED or PINNED, not " + t[2]);
            pt.Terms.Head = head == "FIXED" ? Connection::Fixed : Connection::Pinned;
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
            if (t.size() != 5 || !ToInt(t[1], p.Type) || !ToNumber(t[2], p.X) || !ToNumber(t[3], p.Z) ||
                !ToNumber(t[4], p.BatterDegrees))
                return fail("PILE takes its type number, x, z and batter angle in degrees");
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
        } else {
            return fail("unknown keyword " + t[0] + " (TITLE, UNITS, TYPE, PILE, LOAD, MOVE, END)");
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
    return 0;
}

int RunGroup(const GroupModel& model, std::ostream& out, std::string& error) {
    std::vector<std::unique_ptr<LinearPileHead>> heads;
    std::vector<GroupPile> piles;
    for (const PileInput& p : model.Piles) {
        const PileType* t = FindType(model, p.Type);
        if (t == nullptr) {
            error = "pile type " + std::to_string(p.Type) + " is not defined";
            return ErrorPileFailed;
        }
        heads.push_back(std::make_unique<LinearPileHead>(t->Terms));
        piles.push_back({p.X, p.Z, p.BatterDegrees * Pi / 180.0, heads.back().get()});
    }
    const std::string& F = model.ForceUnit;
    const std::string& L = model.LengthUnit;
    out << "Pile group under a rigid cap (linear pile-head stiffness)\n";
    if (!model.Title.empty()) out << model.Title << '\n';
    out << "Units: force " << F << ", length " << L << ", rotation rad; z and w positive downward,\n"
        << "theta and M positive turning +x toward +z.\n\n";
    out << "Piles: " << piles.size() << "\n  Pile Type Head              x            z  batter(deg)\n";
    for (std::size_t i = 0; i < model.Piles.size(); ++i) {
        const PileInput& p = model.Piles[i];
        char buf[160];
        std::snprintf(buf, sizeof buf, "  %4zu %4d %-6s %12.5g %12.5g %12.5g\n", i + 1, p.Type,
                      FindType(model, p.Type)->Terms.Head == Connection::Fixed ? "fixed" : "pinned", p.X, p.Z,
                      p.BatterDegrees);
        out << buf;
    }
    const SolveResult zero = EvaluateCap(piles, {0.0, 0.0, 0.0});
    out << "\nGroup stiffness at zero load\n";
    WriteMatrix(out, "Tangent", zero.State.Tangent);
    for (std::size_t c = 0; c < model.Cases.size(); ++c) {
        const LoadCase& lc = model.Cases[c];
        if (lc.b_Prescribed)
            out << "\nLoad case " << c + 1 << ": " << lc.Name << "   prescribed u =" << Fmt(lc.Load[0])
                << "  w =" << Fmt(lc.Load[1]) << "  theta =" << Fmt(lc.Load[2]) << '\n';
        else
            out << "\nLoad case " << c + 1 << ": " << lc.Name << "   H =" << Fmt(lc.Load[0])
                << "  V =" << Fmt(lc.Load[1]) << "  M =" << Fmt(lc.Load[2]) << '\n';
        const SolveResult r = lc.b_Prescribed ? EvaluateCap(piles, lc.Load) : SolveCap(piles, lc.Load);
        if (r.Error != 0) {
            error = "load case " + std::to_string(c + 1) + " (" + lc.Name + "): Runtime Error " +
                    std::to_string(r.Error) + ": " + r.Message;
            out << "  " << error << '\n';
            return r.Error;
        }
        const CapState& s = r.State;
        out << "  Cap movement: u =" << Fmt(s.Displacement[0]) << "  w =" << Fmt(s.Displacement[1])
            << "  theta =" << Fmt(s.Displacement[2]) << '\n';
        if (lc.b_Prescribed)
            out << "  Cap load needed: H =" << Fmt(s.Resisting[0]) << "  V =" << Fmt(s.Resisting[1])
                << "  M =" << Fmt(s.Resisting[2]) << '\n';
        else
            out << "  Balanced in " << r.Iterations << " iteration(s); out-of-balance H, V, M:" << Fmt(r.OutOfBalance[0])
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
        WriteMatrix(out, "Tangent stiffness", s.Tangent);
        WriteMatrix(out, "Secant stiffness", s.Secant);
    }
    return 0;
}

}  // namespace kestro::group
