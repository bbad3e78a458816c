#include "ModelJson.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string_view>

#include "model/SectionTypes.h"
#include "soil/SoilModels.h"

namespace kestro::model {
namespace {

// ------------------------------------------------------------------ the names

// One value of a fixed list: its JSON name and whether the keyword reader
// takes it as a whole number.
struct Field {
    const char* Name;
    bool Integer = false;
};
using Fields = std::vector<Field>;

// The section types are those of the engine's descriptor table: a type's
// name in JSON is its row's Key, its dimension values those the row names.
const std::vector<std::string_view>& SectionTypeNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> n;
        for (int code = 0; code < kestro::NumSectionTypes(); ++code) n.push_back(kestro::SectionTypeOf(code)->Key);
        return n;
    }();
    return names;
}

// The dimension lines after the length, for the types with a fixed list.
const Fields& SectionDimensions(int type) {
    static const std::vector<Fields> dims = [] {
        std::vector<Fields> all(static_cast<std::size_t>(kestro::NumSectionTypes()));
        for (int code = 0; code < kestro::NumSectionTypes(); ++code)
            for (const std::string_view name : kestro::SectionTypeOf(code)->Dimensions)  // string literals
                if (!name.empty()) all[static_cast<std::size_t>(code)].push_back(Field{name.data()});
        return all;
    }();
    return dims[static_cast<std::size_t>(type)];
}

constexpr std::array<const char*, 6> ShapeNames = {"rectangular", "circular",       "pipe",
                                                   "h_pile_strong_axis", "h_pile_weak_axis", "embedded_pole"};

// The elastic values after the modulus (and the plastic moments) of a shape.
const Fields& ShapeValues(int shape) {
    static const std::array<Fields, 6> v = {{
        {{"top_width"}, {"bottom_width"}, {"top_depth"}, {"bottom_depth"}, {"top_area"}, {"bottom_area"},
         {"top_inertia"}, {"bottom_inertia"}},
        {{"top_width"}, {"bottom_width"}, {"top_area"}, {"bottom_area"}, {"top_inertia"}, {"bottom_inertia"}},
        {{"top_width"}, {"bottom_width"}, {"top_wall_thickness"}, {"bottom_wall_thickness"}, {"top_area"},
         {"bottom_area"}, {"top_inertia"}, {"bottom_inertia"}},
        {{"flange_width"}, {"section_depth"}, {"flange_thickness"}, {"web_thickness"}, {"area"}, {"inertia"}},
        {{"flange_width"}, {"section_depth"}, {"flange_thickness"}, {"web_thickness"}, {"area"}, {"inertia"}},
        {{"top_width"}, {"bottom_width"}, {"top_area"}, {"bottom_area"}, {"top_inertia"}, {"bottom_inertia"},
         {"hole_diameter"}},
    }};
    return v[static_cast<std::size_t>(shape)];
}

const Fields& PlasticMoments(int shape) {
    static const Fields one = {{"plastic_moment"}};
    static const Fields two = {{"top_plastic_moment"}, {"bottom_plastic_moment"}};
    return shape == 3 || shape == 4 ? one : two;
}

// The soil models are those of the engine's descriptor table: a model's name
// in JSON is its row's Key, its values those the row reads, each kind of value
// named here.
const std::vector<std::string_view>& SoilModelNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> n;
        for (int code = 1; code <= kestro::NumSoilModels(); ++code) n.push_back(kestro::SoilModelOf(code)->Key);
        return n;
    }();
    return names;
}

// The JSON names of one kind of soil value, in the order of the input line.
Fields FieldsOf(kestro::SoilValue v) {
    using V = kestro::SoilValue;
    switch (v) {
        case V::UnitWeight: return {{"unit_weight"}};
        case V::ShearStrength: return {{"cohesion"}};
        case V::FrictionAngle: return {{"friction_angle"}};
        case V::Eps50: return {{"e50"}};
        case V::SubgradeK: return {{"k"}};
        case V::RockStrength: return {{"qu"}};
        case V::RockModulus: return {{"rock_modulus"}};
        case V::Rqd: return {{"rqd"}};
        case V::Krm: return {{"krm"}};
        case V::FieldTest:
            return {{"test_type", true}, {"spt_n60"}, {"cpt_tip_resistance"}, {"dmt_modulus"}, {"pmt_modulus"}};
        case V::ConeTip: return {{"cone_tip_resistance"}};
        case V::ElasticSubgrade: return {{"subgrade_modulus"}};
        case V::None:
        case V::UserCurve: return {};  // a user curve's points are written apart
    }
    return {};
}

// The values of one soil point of soil model `code` (a valid code).
const Fields& SoilValues(int code) {
    static const std::vector<Fields> v = [] {
        std::vector<Fields> all(static_cast<std::size_t>(kestro::NumSoilModels() + 1));
        for (int c = 1; c <= kestro::NumSoilModels(); ++c)
            for (const kestro::SoilValue r : kestro::SoilModelOf(c)->Reads)
                for (const Field& f : FieldsOf(r)) all[static_cast<std::size_t>(c)].push_back(f);
        return all;
    }();
    return v[static_cast<std::size_t>(code)];
}

bool HasUserCurve(int code) { return kestro::SoilModelOf(code)->ReadsValue(kestro::SoilValue::UserCurve); }
bool ValuesOnLayerLine(int code) { return kestro::SoilModelOf(code)->b_ValuesOnLayerLine; }
bool ReadsNoValues(int code) { return kestro::SoilModelOf(code)->Reads[0] == kestro::SoilValue::None; }

// Values that the keyword input lets the user leave at zero for a default.
bool DefaultsToZero(std::string_view name) { return name == "k" || name == "e50"; }

// The tip of an open-ended pipe in the axial analysis.
constexpr std::array<const char*, 3> AxialPipeTipNames = {"PLUGGED", "UNPLUGGED", "CLOSED"};
// Kinds of axial user curves: shaft (t-z) and tip (q-z), for the whole layer
// or at its top and bottom.
constexpr std::array<const char*, 6> AxialCurveKindNames = {"TZ", "QZ", "TZ-TOP", "TZ-BOTTOM", "QZ-TOP", "QZ-BOTTOM"};
constexpr std::array<const char*, 5> HeadConditionNames = {"shear_moment", "shear_slope", "shear_rotational_stiffness",
                                                           "deflection_moment", "deflection_slope"};
// Condition 1 and condition 2 of each pile-head load type.
constexpr std::array<std::array<const char*, 2>, 5> HeadConditionValues = {{{"shear", "moment"},
                                                                            {"shear", "slope"},
                                                                            {"shear", "rotational_stiffness"},
                                                                            {"deflection", "moment"},
                                                                            {"deflection", "slope"}}};

constexpr std::array<const char*, 13> LrfdLoadTypeNames = {"dead", "live",  "earthquake", "impact",     "wind",
                                                           "water", "ice",  "horizontal_soil", "live_roof", "rain",
                                                           "snow", "temperature", "special"};

constexpr std::array<const char*, 3> InteractionCodes = {"AASHTO", "ACI318", "Eurocode2"};

int IndexOf(std::string_view name, const auto& names) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (name == names[i]) return static_cast<int>(i);
    return -1;
}

std::string Quoted(const auto& names) {
    std::string s;
    for (std::size_t i = 0; i < names.size(); ++i) s += (i ? ", \"" : "\"") + std::string(names[i]) + "\"";
    return s;
}

// ------------------------------------------------------- numbers as the reader

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == '\t'; }

// A free-format real: digits, signs, a point and E or D exponents.
bool ParseReal(std::string_view token, double& value) {
    if (token.empty() || token.size() > 64) return false;
    std::string t;
    bool digit = false;
    for (char c : token) {
        if (c >= '0' && c <= '9') {
            digit = true;
            t.push_back(c);
        } else if (c == '+' || c == '-' || c == '.') {
            t.push_back(c);
        } else if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
            t.push_back('E');
        } else {
            return false;
        }
    }
    if (!digit) return false;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParseInteger(std::string_view token, int& value) {
    double v = 0.0;
    if (!ParseReal(token, v) || v != std::floor(v) || std::fabs(v) > 2147483647.0) return false;
    value = static_cast<int>(v);
    return true;
}

// The shortest text that reads back to the same double.
std::string NumberText(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// ------------------------------------------------------------ KESTRO6 reading

// The lines of a KESTRO6 file, read as the engine reads them: whole records
// (trailing blanks removed, at most 256 characters) and free-format lists that
// start on a new line, may continue on the following lines, and leave the
// rest of their last line unread.
class KeywordLines {
public:
    explicit KeywordLines(const std::string& text) {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            Lines.push_back(std::move(line));
            start = end + 1;
        }
    }

    int LineNumber() const { return static_cast<int>(Next); }
    bool AtEnd() const { return Next >= Lines.size(); }

    std::string Record(std::string_view what) {
        if (AtEnd()) Fail("the file ends while reading " + std::string(what));
        return Trim(Lines[Next++]);
    }
    bool Peek(std::string& line) const {
        if (AtEnd()) return false;
        line = Trim(Lines[Next]);
        return true;
    }

    std::vector<std::string> List(std::size_t n, std::string_view what) {
        std::vector<std::string> tokens;
        std::string_view rest;
        bool have = false;
        while (tokens.size() < n) {
            std::string token;
            if (have && NextToken(rest, token)) {
                tokens.push_back(token);
                continue;
            }
            if (AtEnd()) Fail("the file ends while reading " + std::string(what));
            rest = Lines[Next++];
            have = true;
        }
        LastRest = std::string(rest);
        return tokens;
    }
    double Real(std::string_view what) { return ToReal(List(1, what)[0], what); }
    int Int(std::string_view what) { return ToInt(List(1, what)[0], what); }

    double ToReal(const std::string& token, std::string_view what) const {
        double v = 0.0;
        if (!ParseReal(token, v)) Fail("\"" + token + "\" is not a number (" + std::string(what) + ")");
        return v;
    }
    int ToInt(const std::string& token, std::string_view what) const {
        int v = 0;
        if (!ParseInteger(token, v)) Fail("\"" + token + "\" is not a whole number (" + std::string(what) + ")");
        return v;
    }

    // The reals after the first `skip` values on the last line read, up to
    // `max`, stopping at the first token that is not a number.
    std::vector<double> TrailingReals(int skip, std::size_t max) const {
        std::vector<double> v;
        if (Next == 0) return v;
        std::string_view rest = Lines[Next - 1];
        std::string token;
        for (int j = 0; j < skip; ++j)
            if (!NextToken(rest, token)) return v;
        double x = 0.0;
        while (v.size() < max && NextToken(rest, token) && ParseReal(token, x)) v.push_back(x);
        return v;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw ModelError("line " + std::to_string(std::max<std::size_t>(Next, 1)), what);
    }

private:
    static std::string Trim(std::string_view s) {
        if (s.size() > 256) s = s.substr(0, 256);
        std::size_t n = s.size();
        while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
        return std::string(s.substr(0, n));
    }
    // The engine's tokenizer: blanks, commas and tabs separate; quoted text is one token.
    static bool NextToken(std::string_view& rest, std::string& token) {
        std::size_t i = 0;
        while (i < rest.size() && IsSeparator(rest[i])) ++i;
        if (i >= rest.size()) {
            rest = {};
            return false;
        }
        token.clear();
        const char q = rest[i];
        if (q == '\'' || q == '"') {
            ++i;
            while (i < rest.size()) {
                if (rest[i] == q) {
                    if (i + 1 < rest.size() && rest[i + 1] == q) {
                        token.push_back(q);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                token.push_back(rest[i++]);
            }
        } else {
            while (i < rest.size() && !IsSeparator(rest[i])) token.push_back(rest[i++]);
        }
        rest = rest.substr(i);
        return true;
    }

    std::vector<std::string> Lines;
    std::size_t Next = 0;
    std::string LastRest;
};

// One value per line, as the section blocks are written.
void ReadFields(KeywordLines& in, Json& obj, const Fields& fields, const std::string& of) {
    for (const Field& f : fields) {
        const std::string what = std::string(f.Name) + of;
        if (f.Integer)
            obj[f.Name] = in.Int(what);
        else
            obj[f.Name] = in.Real(what);
    }
}

// All values on one list (a soil point line).
Json ReadFieldList(KeywordLines& in, const Fields& fields, const std::string& what) {
    Json obj = Json::object();
    const std::vector<std::string> t = in.List(fields.size(), what);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].Integer)
            obj[fields[i].Name] = in.ToInt(t[i], what);
        else
            obj[fields[i].Name] = in.ToReal(t[i], what);
    }
    return obj;
}

bool Flag(KeywordLines& in, std::string_view name) {
    const std::string line = in.Record(std::string(name) + " option line");
    if (line == std::string(name) + " YES") return true;
    if (line == std::string(name) + " NO") return false;
    in.Fail("expected \"" + std::string(name) + " YES\" or \"" + std::string(name) + " NO\", found \"" + line + "\"");
}

Json ReadOptions(KeywordLines& in) {
    Json o = Json::object();
    const std::string units = in.Record("the units line");
    if (units == "Units USCS")
        o["units"] = "USCS";
    else if (units == "Units SI")
        o["units"] = "SI";
    else if (units == "Units GENERAL")
        o["units"] = "GENERAL";
    else
        in.Fail("expected Units USCS, Units SI or Units GENERAL, found \"" + units + "\"");
    o["use_lrfd"] = Flag(in, "UseLRFD");
    o["compute_stiffness_matrix"] = Flag(in, "ComputeKmatrix");
    o["use_tip_shear"] = Flag(in, "UseTipShear");
    o["use_soil_movement"] = Flag(in, "UseSoilMovement");
    o["use_py_modifiers"] = Flag(in, "UsePYModifiers");
    o["compute_ei_only"] = Flag(in, "ComputeEIOnly");
    std::string loading = in.Record("the loading line");
    loading.resize(20, ' ');
    const std::string kind = loading.substr(8, 6);
    if (kind != "STATIC" && kind != "CYCLIC") in.Fail("expected STATIC or CYCLIC in columns 9 to 14 of the loading line");
    o["loading"] = kind == "STATIC" ? "static" : "cyclic";
    const std::string cycles = loading.substr(14, 6);
    double n = 0.0;
    const std::size_t a = cycles.find_first_not_of(' ');
    if (a != std::string::npos) {
        const std::size_t b = cycles.find_last_not_of(' ');
        if (!ParseReal(std::string_view(cycles).substr(a, b - a + 1), n))
            in.Fail("the number of cycles in columns 15 to 20 is not a number");
    }
    o["cycles"] = n;
    auto labelled = [&](const char* name, bool integer, const char* what) {
        const std::vector<std::string> t = in.List(2, what);
        if (integer)
            o[name] = in.ToInt(t[1], what);
        else
            o[name] = in.ToReal(t[1], what);
    };
    labelled("max_iterations", true, "the iteration limit");
    labelled("deflection_limit", false, "the deflection limit");
    labelled("tolerance", false, "the convergence tolerance");
    labelled("increments", true, "the number of increments");
    o["print_summary_only"] = Flag(in, "PrintSummaryOnly");
    labelled("print_increment", true, "the printing increment");
    o["print_py_curves"] = Flag(in, "PrintPYCurves");
    if (Flag(in, "ComputeInteraction")) {
        const std::vector<std::string> t = in.List(2, "the interaction code line");
        if (IndexOf(t[1], InteractionCodes) < 0) in.Fail("unknown interaction code \"" + t[1] + "\"");
        o["interaction_code"] = t[1];
    } else {
        o["interaction_code"] = nullptr;
    }
    return o;
}

Json ReadConcrete(KeywordLines& in, const std::string& of) {
    Json c = Json::object();
    c["strength"] = in.Real("the concrete strength" + of);
    c["aggregate_size"] = in.Real("the aggregate size" + of);
    const std::string tension = in.Record("the concrete tensile strength option line" + of);
    if (tension == "Use default concrete tensile strength")
        c["tensile_strength"] = nullptr;
    else if (tension == "Override concrete tensile strength")
        c["tensile_strength"] = in.Real("the concrete tensile strength" + of);
    else
        in.Fail("unrecognized concrete tensile strength option \"" + tension + "\"");
    const std::string curve = in.Record("the concrete stress-strain option line" + of);
    if (curve == "Use internal stress-strain curve for concrete") {
        c["stress_strain"] = nullptr;
    } else if (curve == "Input stress-strain curve for concrete") {
        const int n = in.Int("the number of stress-strain points" + of);
        if (n < 1) in.Fail("the concrete stress-strain curve needs at least one point");
        Json pts = Json::array();
        for (int k = 1; k <= n; ++k) {
            const std::string what = "stress-strain point " + std::to_string(k) + of;
            const std::vector<std::string> t = in.List(3, what);
            if (in.ToInt(t[0], what) != k) in.Fail("stress-strain point " + std::to_string(k) + " is numbered " + t[0]);
            pts.push_back(Json{{"strain", in.ToReal(t[1], what)}, {"stress", in.ToReal(t[2], what)}});
        }
        c["stress_strain"] = pts;
    } else {
        in.Fail("unrecognized concrete stress-strain option \"" + curve + "\"");
    }
    return c;
}

void ReadRebarPattern(KeywordLines& in, Json& r, const std::string& of) {
    const std::string line = in.Record("the rebar pattern line" + of);
    if (line == "Rebar in circle") {
        r["pattern"] = "circle";
        ReadFields(in, r,
                   {{"yield_strength"}, {"modulus"}, {"positions", true}, {"bars_per_position", true},
                    {"bar_diameter"}, {"bar_area"}, {"cover"}, {"offset"}},
                   of);
    } else if (line == "Rebar in noncircular pattern") {
        r["pattern"] = "noncircular";
        ReadFields(in, r, {{"yield_strength"}, {"modulus"}}, of);
        const int n = in.Int("the number of bars" + of);
        Json bars = Json::array();
        for (int k = 1; k <= n; ++k) {
            const std::string what = "bar " + std::to_string(k) + of;
            const std::vector<std::string> t = in.List(6, what);
            bars.push_back(Json{{"size_code", in.ToInt(t[1], what)},
                                {"diameter", in.ToReal(t[2], what)},
                                {"area", in.ToReal(t[3], what)},
                                {"x", in.ToReal(t[4], what)},
                                {"y", in.ToReal(t[5], what)}});
        }
        r["bars"] = bars;
    } else {
        in.Fail("unrecognized rebar pattern line \"" + line + "\"");
    }
}

Json ReadRebar(KeywordLines& in, int s, const std::string& of) {
    Json r = Json::object();
    const std::string line = in.Record("the rebar arrangement line" + of);
    std::string next;
    if (line == "No rebar" || line == "Rebar Arrangement Same As Section Above") {
        if (line != "No rebar" && s == 1) in.Fail("section 1 cannot take the rebar of the section above");
        r["arrangement"] = line == "No rebar" ? "none" : "same_as_above";
        // A pattern block may follow and is then read but not used.
        if (in.Peek(next) && (next == "Rebar in circle" || next == "Rebar in noncircular pattern"))
            ReadRebarPattern(in, r, of);
    } else if (line == "Rebar Arrangement Not Same As Section Above") {
        r["arrangement"] = "own";
        ReadRebarPattern(in, r, of);
    } else {
        in.Fail("unrecognized rebar arrangement line \"" + line + "\"");
    }
    return r;
}

Json ReadStrands(KeywordLines& in, const std::string& of) {
    Json st = Json::object();
    const std::string line = in.Record("the strand positioning line" + of);
    if (line == "Autoposition strands") {
        st["positioning"] = "auto";
        ReadFields(in, st,
                   {{"type_code", true}, {"second_code", true}, {"count", true}, {"ultimate_strength"},
                    {"second_strength"}, {"diameter"}, {"pattern", true}},
                   of);
    } else if (line == "Manually-positioned strands") {
        st["positioning"] = "manual";
        st["type_code"] = in.Int("the strand type code" + of);
        const int n = in.Int("the number of strands" + of);
        ReadFields(in, st, {{"ultimate_strength"}, {"second_strength"}}, of);
        Json strands = Json::array();
        for (int k = 1; k <= n; ++k) {
            const std::string what = "strand " + std::to_string(k) + of;
            const std::vector<std::string> t = in.List(5, what);
            if (in.ToInt(t[0], what) != k) in.Fail("strand " + std::to_string(k) + " is numbered " + t[0]);
            strands.push_back(Json{{"code_a", in.ToInt(t[1], what)},
                                   {"code_b", in.ToInt(t[2], what)},
                                   {"x", in.ToReal(t[3], what)},
                                   {"y", in.ToReal(t[4], what)}});
        }
        st["strands"] = strands;
    } else {
        in.Fail("unrecognized strand positioning line \"" + line + "\"");
    }
    return st;
}

Json ReadSections(KeywordLines& in) {
    const int n = in.Int("the number of sections");
    Json list = Json::array();
    for (int s = 1; s <= n; ++s) {
        const std::string of = " of section " + std::to_string(s);
        if (in.Int("the section number" + of) != s) in.Fail("expected section number " + std::to_string(s));
        int type = in.Int("the section type" + of);
        Json sec = Json::object();
        bool voidCore = false;
        if (type == -3) {
            type = 3;
            voidCore = true;
        }
        if (kestro::SectionTypeOf(type) == nullptr)
            in.Fail("section type " + std::to_string(type) + " is not a section type (0 to " +
                    std::to_string(kestro::NumSectionTypes() - 1) + ", -3)");
        const kestro::SectionType& row = kestro::SectionTypeFor(type);
        sec["type"] = SectionTypeNames()[static_cast<std::size_t>(type)];
        sec["length"] = in.Real("the length" + of);
        ReadFields(in, sec, SectionDimensions(type), of);
        if (row.b_Core) sec["core_filled"] = !voidCore;
        if (row.Outline == kestro::SectionOutline::Given) {
            const int shape = in.Int("the shape code" + of);
            if (shape < 0 || shape > 5) in.Fail("shape code " + std::to_string(shape) + " is not 0 to 5");
            sec["shape"] = ShapeNames[static_cast<std::size_t>(shape)];
            sec["elastic_modulus"] = in.Real("the elastic modulus" + of);
            if (row.Bending == kestro::SectionBending::ElasticPlastic) ReadFields(in, sec, PlasticMoments(shape), of);
            ReadFields(in, sec, ShapeValues(shape), of);
        } else if (row.Bending == kestro::SectionBending::UserCurves) {
            sec["width"] = in.Real("the width" + of);
            const int nt = in.Int("the number of axial thrusts" + of);
            Json thrusts = Json::array();
            for (int j = 1; j <= nt; ++j) {
                Json t = Json::object();
                t["thrust"] = in.Real("the axial thrust" + of);
                const int np = in.Int("the number of moment-EI points" + of);
                Json pts = Json::array();
                for (int p = 1; p <= np; ++p) {
                    const double m = in.Real("a bending moment" + of);
                    pts.push_back(Json{{"moment", m}, {"ei", in.Real("a bending stiffness" + of)}});
                }
                t["points"] = pts;
                thrusts.push_back(t);
            }
            sec["thrusts"] = thrusts;
        }
        if (row.HasBars()) {
            sec["concrete"] = ReadConcrete(in, of);
            sec["rebar"] = ReadRebar(in, s, of);
        } else if (row.IsPrestressed()) {
            sec["concrete"] = ReadConcrete(in, of);
            sec["strands"] = ReadStrands(in, of);
        }
        list.push_back(sec);
    }
    return list;
}

Json ReadSoilPoint(KeywordLines& in, int code, const std::string& what) {
    if (HasUserCurve(code)) {
        const std::vector<std::string> t = in.List(2, what);
        Json p = Json::object();
        p["unit_weight"] = in.ToReal(t[0], what);
        const int n = in.ToInt(t[1], what);
        Json pts = Json::array();
        for (int j = 1; j <= n; ++j) {
            const std::vector<std::string> yp = in.List(2, "p-y point " + std::to_string(j) + " " + what);
            pts.push_back(Json{{"y", in.ToReal(yp[0], what)}, {"p", in.ToReal(yp[1], what)}});
        }
        p["points"] = pts;
        return p;
    }
    return ReadFieldList(in, SoilValues(code), what);
}

Json ReadSoilLayers(KeywordLines& in) {
    const int n = in.Int("the number of soil layers");
    Json list = Json::array();
    for (int k = 1; k <= n; ++k) {
        const std::string of = " of soil layer " + std::to_string(k);
        const std::vector<std::string> t = in.List(3, "the layer line" + of);
        const int code = in.ToInt(t[0], "the soil model code" + of);
        if (kestro::SoilModelOf(code) == nullptr)
            in.Fail("soil model code " + std::to_string(code) + " is not 1 to " + std::to_string(kestro::NumSoilModels()));
        Json layer = Json::object();
        layer["model"] = SoilModelNames()[static_cast<std::size_t>(code - 1)];
        layer["top"] = in.ToReal(t[1], "the top" + of);
        layer["bottom"] = in.ToReal(t[2], "the bottom" + of);
        if (ValuesOnLayerLine(code)) {
            const std::vector<double> v = in.TrailingReals(3, 6);
            if (v.size() >= 3) {
                const std::size_t b = v.size() >= 6 ? 3 : 0;
                layer["top_values"] = Json{{"unit_weight", v[0]}, {"qu", v[1]}, {"rock_modulus", v[2]}};
                layer["bottom_values"] = Json{{"unit_weight", v[b]}, {"qu", v[b + 1]}, {"rock_modulus", v[b + 2]}};
            }
        } else if (!ReadsNoValues(code)) {
            layer["top_values"] = ReadSoilPoint(in, code, "the values at the top" + of);
            layer["bottom_values"] = ReadSoilPoint(in, code, "the values at the bottom" + of);
        }
        list.push_back(layer);
    }
    return list;
}

// A list of numbered points: per point the item number (not kept), then the values.
Json ReadPoints(KeywordLines& in, const Fields& fields, const std::string& what, int n, bool checkNumbers = false) {
    Json list = Json::array();
    for (int k = 1; k <= n; ++k) {
        const std::string w = what + " " + std::to_string(k);
        const std::vector<std::string> t = in.List(fields.size() + 1, w);
        if (checkNumbers && in.ToInt(t[0], w) != k) in.Fail(w + " is numbered " + t[0]);
        in.ToInt(t[0], w);
        Json p = Json::object();
        for (std::size_t i = 0; i < fields.size(); ++i) p[fields[i].Name] = in.ToReal(t[i + 1], w);
        list.push_back(p);
    }
    return list;
}

Json ReadLoading(KeywordLines& in) {
    Json loading = Json::object();
    const int n = in.Int("the number of load cases");
    Json cases = Json::array();
    for (int i = 1; i <= n; ++i) {
        const std::string what = "load case " + std::to_string(i);
        const std::vector<std::string> t = in.List(6, what);
        const int type = in.ToInt(t[1], what);
        if (type < 1 || type > 5) in.Fail("load type " + std::to_string(type) + " of " + what + " is not 1 to 5");
        const auto& names = HeadConditionValues[static_cast<std::size_t>(type - 1)];
        Json c = Json::object();
        c["head"] = HeadConditionNames[static_cast<std::size_t>(type - 1)];
        c[names[0]] = in.ToReal(t[2], what);
        c[names[1]] = in.ToReal(t[3], what);
        c["axial_load"] = in.ToReal(t[4], what);
        c["length_code"] = in.ToInt(t[5], what);
        cases.push_back(c);
    }
    loading["load_cases"] = cases;
    const int m = in.Int("the number of distributed load points");
    loading["distributed_loads"] = ReadPoints(in, {{"depth"}, {"load"}}, "distributed load point", m);
    return loading;
}

Json ReadLrfdLoads(KeywordLines& in) {
    const int n = in.Int("the number of LRFD loading groups");
    Json list = Json::array();
    for (int j = 1; j <= n; ++j) {
        const std::string what = "LRFD loading group " + std::to_string(j);
        const std::vector<std::string> t = in.List(6, what);
        if (in.ToInt(t[0], what) != j) in.Fail(what + " is numbered " + t[0]);
        const int type = in.ToInt(t[1], what);
        if (type < 1 || type > 13) in.Fail("load type " + std::to_string(type) + " of " + what + " is not 1 to 13");
        Json g = Json::object();
        g["load_type"] = LrfdLoadTypeNames[static_cast<std::size_t>(type - 1)];
        g["shear"] = in.ToReal(t[2], what);
        g["moment"] = in.ToReal(t[3], what);
        g["axial_load"] = in.ToReal(t[4], what);
        const int np = in.ToInt(t[5], what);
        g["distributed_loads"] = ReadPoints(in, {{"depth"}, {"load"}}, "distributed load point of " + what,
                                            np < 0 ? 0 : np, true);
        list.push_back(g);
    }
    return list;
}

Json ReadLrfdFactors(KeywordLines& in) {
    const int n = in.Int("the number of LRFD load combinations");
    Json list = Json::array();
    for (int c = 1; c <= n; ++c) {
        const std::string what = "LRFD load combination " + std::to_string(c);
        const std::vector<std::string> t = in.List(16, what);
        Json combo = Json::object();
        Json factors = Json::object();
        for (std::size_t i = 0; i < 13; ++i) factors[LrfdLoadTypeNames[i]] = in.ToReal(t[i + 1], what);
        combo["factors"] = factors;
        combo["flexure_resistance_factor"] = in.ToReal(t[14], what);
        combo["shear_resistance_factor"] = in.ToReal(t[15], what);
        combo["name"] = in.Record("the name of " + what);
        list.push_back(combo);
    }
    return list;
}

// AXIAL ANALYSIS: four labelled option lines, the head loads and the user
// t-z and q-z curves.
Json ReadAxialAnalysis(KeywordLines& in) {
    Json a = Json::object();
    auto labelled = [&](const char* label) {
        const std::string what = std::string("the ") + label + " line of AXIAL ANALYSIS";
        const std::vector<std::string> t = in.List(2, what);
        if (t[0] != label) in.Fail("expected the option " + std::string(label) + ", found \"" + t[0] + "\"");
        return t[1];
    };
    const std::string tip = labelled("PipeTip");
    if (IndexOf(tip, AxialPipeTipNames) < 0) in.Fail("PipeTip \"" + tip + "\" is not one of " + Quoted(AxialPipeTipNames));
    a["pipe_tip"] = tip;
    a["residual_ratio"] = in.ToReal(labelled("ResidualRatio"), "ResidualRatio");
    a["capacity_fraction"] = in.ToReal(labelled("CapacityFraction"), "CapacityFraction");
    a["curve_steps"] = in.ToInt(labelled("CurveSteps"), "CurveSteps");
    const int n = in.Int("the number of axial head loads");
    Json loads = Json::array();
    for (const Json& p : ReadPoints(in, {{"load"}}, "axial head load", n < 0 ? 0 : n, true))
        loads.push_back(p["load"]);
    a["head_loads"] = loads;
    const int m = in.Int("the number of axial user curves");
    Json curves = Json::array();
    for (int k = 1; k <= m; ++k) {
        const std::string what = "axial user curve " + std::to_string(k);
        const std::vector<std::string> t = in.List(3, what);
        Json c = Json::object();
        c["layer"] = in.ToInt(t[0], what);
        if (IndexOf(t[1], AxialCurveKindNames) < 0)
            in.Fail(what + " is of kind \"" + t[1] + "\", not one of " + Quoted(AxialCurveKindNames));
        c["kind"] = t[1];
        const int np = in.ToInt(t[2], what);
        Json points = Json::array();
        for (int j = 1; j <= np; ++j) {
            const std::string w = "point " + std::to_string(j) + " of " + what;
            const std::vector<std::string> v = in.List(2, w);
            Json pt = Json::object();
            pt["movement"] = in.ToReal(v[0], w);
            pt["resistance"] = in.ToReal(v[1], w);
            points.push_back(pt);
        }
        c["points"] = points;
        curves.push_back(c);
    }
    a["user_curves"] = curves;
    return a;
}

}  // namespace

Json FromKestro6(const std::string& text) {
    KeywordLines in(text);
    std::string tag;
    // The format tag: the first value of the file.
    for (;;) {
        if (in.AtEnd()) in.Fail("the file is empty; a Kestro input begins with KESTRO6");
        const std::string line = in.Record("the format tag");
        std::istringstream words(line);
        if (words >> tag) break;
    }
    if (tag != "KESTRO6") in.Fail("a Kestro input begins with KESTRO6, not \"" + tag + "\"");

    Json m = Json::object();
    m["format"] = FormatName;
    m["version"] = FormatVersion;
    std::map<std::string, Json> found;
    bool usePy = false, useMovement = false;
    for (;;) {
        const std::string key = in.Record("the next section keyword (or END)");
        if (key == "END") break;
        if (key == "TITLE") {
            Json title = Json::array();
            for (int i = 0; i < 5; ++i) title.push_back(in.Record("the title lines"));
            found["title"] = title;
        } else if (key == "OPTIONS") {
            found["options"] = ReadOptions(in);
            usePy = found["options"]["print_py_curves"].get<bool>();
            useMovement = found["options"]["use_soil_movement"].get<bool>();
        } else if (key == "SECTIONS") {
            found["sections"] = ReadSections(in);
        } else if (key == "SOIL LAYERS") {
            found["soil_layers"] = ReadSoilLayers(in);
        } else if (key == "LOADING") {
            found["loading"] = ReadLoading(in);
        } else if (key == "AXIAL THRUST LOADS") {
            const int n = in.Int("the number of axial thrust loads");
            Json list = Json::array();
            for (const Json& p : ReadPoints(in, {{"thrust"}}, "axial thrust load", n)) list.push_back(p["thrust"]);
            found["axial_thrusts"] = list;
        } else if (key == "LRFD LOADS") {
            found["lrfd_loads"] = ReadLrfdLoads(in);
        } else if (key == "LRFD FACTORS AND CASES") {
            found["lrfd_combinations"] = ReadLrfdFactors(in);
        } else if (key == "AXIAL ANALYSIS") {
            if (!found.count("soil_layers")) in.Fail("AXIAL ANALYSIS is read only after SOIL LAYERS");
            found["axial_analysis"] = ReadAxialAnalysis(in);
        } else if (key == "TIP SHEAR") {
            const int n = in.Int("the number of tip shear points");
            found["tip_shear"] = ReadPoints(in, {{"displacement"}, {"force"}}, "tip shear point", n);
        } else if (key == "PILE BATTER AND SLOPE") {
            Json b = Json::object();
            b["ground_slope_angle"] = in.Real("the ground slope angle");
            b["pile_batter_angle"] = in.Real("the pile batter angle");
            found["batter_and_slope"] = b;
        } else if (key == "GROUP EFFECT FACTORS" || key == "GROUPEFF") {
            const int n = in.Int("the number of p-y modifier points");
            found["group_factors"] =
                ReadPoints(in, {{"depth"}, {"p_multiplier"}, {"y_multiplier"}}, "p-y modifier point", n);
        } else if (key == "SOIL MOVEMENTS") {
            if (!useMovement) in.Fail("SOIL MOVEMENTS is read only after UseSoilMovement YES in OPTIONS");
            const int n = in.Int("the number of soil movement points");
            found["soil_movements"] = ReadPoints(in, {{"depth"}, {"movement"}}, "soil movement point", n);
        } else if (key == "DEPTHS OF PRINTED P-Y CURVES") {
            if (!usePy) in.Fail("DEPTHS OF PRINTED P-Y CURVES is read only after PrintPYCurves YES in OPTIONS");
            const int n = in.Int("the number of depths of printed p-y curves");
            Json list = Json::array();
            for (const Json& p : ReadPoints(in, {{"depth"}}, "printed p-y curve depth", n)) list.push_back(p["depth"]);
            found["printed_py_depths"] = list;
        } else {
            in.Fail("\"" + key + "\" is not a section keyword");
        }
    }
    // The sections in the order of docs/input.md, the order the writer uses.
    for (const char* k : {"title", "options", "sections", "soil_layers", "loading", "axial_thrusts", "lrfd_loads",
                          "lrfd_combinations", "tip_shear", "batter_and_slope", "group_factors", "soil_movements",
                          "printed_py_depths", "axial_analysis"})
        if (found.count(k)) m[k] = found[k];
    return m;
}

// ------------------------------------------------------------ KESTRO6 writing
namespace {

std::string Index(const std::string& path, std::size_t i) { return path + "[" + std::to_string(i) + "]"; }
std::string Member(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

// A JSON object being read: every member must be known, and each value of
// the expected kind; errors name the member's path.
class Obj {
public:
    Obj(const Json& j, std::string path) : J(j), Path(std::move(path)) {
        if (!J.is_object()) throw ModelError(Path.empty() ? "(model)" : Path, "must be an object");
    }
    ~Obj() = default;
    Obj(const Obj&) = delete;
    Obj& operator=(const Obj&) = delete;

    bool Has(std::string_view key) {
        Used.insert(std::string(key));
        return J.contains(key) && !J.at(std::string(key)).is_null();
    }
    const Json& At(std::string_view key) {
        Used.insert(std::string(key));
        if (!J.contains(key)) throw ModelError(P(key), "missing");
        return J.at(std::string(key));
    }
    std::string P(std::string_view key) const { return Member(Path, key); }

    double Real(std::string_view key) { return RealOf(At(key), P(key)); }
    double Real(std::string_view key, double fallback) { return Has(key) ? Real(key) : fallback; }
    int Int(std::string_view key) { return IntOf(At(key), P(key)); }
    int Int(std::string_view key, int fallback) { return Has(key) ? Int(key) : fallback; }
    bool Bool(std::string_view key, bool fallback) {
        if (!Has(key)) return fallback;
        const Json& v = At(key);
        if (!v.is_boolean()) throw ModelError(P(key), "must be true or false");
        return v.get<bool>();
    }
    std::string Text(std::string_view key) {
        const Json& v = At(key);
        if (!v.is_string()) throw ModelError(P(key), "must be a string");
        return v.get<std::string>();
    }
    template <typename Names>
    int Choice(std::string_view key, const Names& names) {
        const std::string s = Text(key);
        const int i = IndexOf(s, names);
        if (i < 0) throw ModelError(P(key), "\"" + s + "\" is not one of " + Quoted(names));
        return i;
    }
    const Json& Array(std::string_view key) {
        const Json& v = At(key);
        if (!v.is_array()) throw ModelError(P(key), "must be an array");
        return v;
    }
    // Every member was read: anything else is a misspelt or misplaced name.
    void Done() const {
        for (auto it = J.begin(); it != J.end(); ++it)
            if (!Used.count(it.key())) throw ModelError(P(it.key()), "unknown field");
    }

    static double RealOf(const Json& v, const std::string& path) {
        if (!v.is_number()) throw ModelError(path, "must be a number");
        const double d = v.get<double>();
        if (!std::isfinite(d)) throw ModelError(path, "must be a finite number");
        return d;
    }
    static int IntOf(const Json& v, const std::string& path) {
        if (!v.is_number()) throw ModelError(path, "must be a whole number");
        const double d = v.get<double>();
        if (d != std::floor(d) || std::fabs(d) > 2147483647.0) throw ModelError(path, "must be a whole number");
        return static_cast<int>(d);
    }

    const Json& J;
    std::string Path;

private:
    std::set<std::string> Used;
};

class Writer {
public:
    void Line(const std::string& text, const std::string& path) {
        if (text.find('\n') != std::string::npos || text.find('\r') != std::string::npos)
            throw ModelError(path, "must be one line of text");
        Out.Text += text;
        Out.Text += '\n';
        Out.LinePaths.push_back(path);
    }
    void Value(double v, const std::string& path) { Line(NumberText(v), path); }
    void Value(int v, const std::string& path) { Line(std::to_string(v), path); }
    Kestro6Text Out;
};

void WriteFields(Writer& w, Obj& o, const Fields& fields) {
    for (const Field& f : fields) {
        if (f.Integer)
            w.Value(o.Int(f.Name), o.P(f.Name));
        else
            w.Value(o.Real(f.Name), o.P(f.Name));
    }
}

// All values on one line, the first value's path for the line.
void WriteFieldLine(Writer& w, Obj& o, const Fields& fields, const std::string& lead = "") {
    std::string line = lead;
    for (const Field& f : fields) {
        if (!line.empty()) line += "  ";
        if (f.Integer)
            line += std::to_string(o.Int(f.Name));
        else
            line += NumberText(DefaultsToZero(f.Name) ? o.Real(f.Name, 0.0) : o.Real(f.Name));
    }
    w.Line(line, o.Path);
}

void WriteOptions(Writer& w, const Json& j) {
    Obj o(j, "options");
    const int units = o.Choice("units", std::array<const char*, 3>{"USCS", "SI", "GENERAL"});
    w.Line(std::string("Units ") + o.Text("units"), o.P("units"));
    auto flag = [&](const char* label, const char* key) {
        w.Line(std::string(label) + (o.Bool(key, false) ? " YES" : " NO"), o.P(key));
    };
    flag("UseLRFD", "use_lrfd");
    flag("ComputeKmatrix", "compute_stiffness_matrix");
    flag("UseTipShear", "use_tip_shear");
    flag("UseSoilMovement", "use_soil_movement");
    flag("UsePYModifiers", "use_py_modifiers");
    flag("ComputeEIOnly", "compute_ei_only");
    const int loading = o.Has("loading") ? o.Choice("loading", std::array<const char*, 2>{"static", "cyclic"}) : 0;
    const double cycles = o.Real("cycles", 1.0);
    std::string c = NumberText(cycles);
    if (c.size() > 6) throw ModelError(o.P("cycles"), "must be written in at most 6 characters, not " + c);
    std::string line = std::string("Loading ") + (loading == 0 ? "STATIC" : "CYCLIC");
    line += std::string(6 - c.size(), ' ') + c;
    w.Line(line, o.P(o.Has("loading") ? "loading" : "cycles"));
    // Defaults in the unit system: 100 iterations and increments, a
    // deflection limit of 100 in (2.54 m) and a tolerance of 1E-5 in (2.54E-7 m).
    const bool si = units == 1;
    w.Line("MaxIterations " + std::to_string(o.Int("max_iterations", 100)), o.P("max_iterations"));
    w.Line("DeflectionLimit " + NumberText(o.Real("deflection_limit", si ? 2.54 : 100.0)), o.P("deflection_limit"));
    w.Line("Tolerance " + NumberText(o.Real("tolerance", si ? 2.54E-7 : 1.0E-5)), o.P("tolerance"));
    w.Line("Increments " + std::to_string(o.Int("increments", 100)), o.P("increments"));
    flag("PrintSummaryOnly", "print_summary_only");
    w.Line("PrintIncrement " + std::to_string(o.Int("print_increment", 1)), o.P("print_increment"));
    flag("PrintPYCurves", "print_py_curves");
    if (o.Has("interaction_code")) {
        o.Choice("interaction_code", InteractionCodes);
        w.Line("ComputeInteraction YES", o.P("interaction_code"));
        w.Line("Code " + o.Text("interaction_code"), o.P("interaction_code"));
    } else {
        w.Line("ComputeInteraction NO", o.P("interaction_code"));
    }
    o.Done();
}

void WriteConcrete(Writer& w, const Json& j, const std::string& path) {
    Obj c(j, path);
    w.Value(c.Real("strength"), c.P("strength"));
    w.Value(c.Real("aggregate_size"), c.P("aggregate_size"));
    if (c.Has("tensile_strength")) {
        w.Line("Override concrete tensile strength", c.P("tensile_strength"));
        w.Value(c.Real("tensile_strength"), c.P("tensile_strength"));
    } else {
        w.Line("Use default concrete tensile strength", c.P("tensile_strength"));
    }
    if (c.Has("stress_strain")) {
        const Json& pts = c.Array("stress_strain");
        w.Line("Input stress-strain curve for concrete", c.P("stress_strain"));
        w.Value(static_cast<int>(pts.size()), c.P("stress_strain"));
        for (std::size_t k = 0; k < pts.size(); ++k) {
            Obj p(pts[k], Index(c.P("stress_strain"), k));
            w.Line(std::to_string(k + 1) + "  " + NumberText(p.Real("strain")) + "  " + NumberText(p.Real("stress")),
                   p.Path);
            p.Done();
        }
    } else {
        w.Line("Use internal stress-strain curve for concrete", c.P("stress_strain"));
    }
    c.Done();
}

void WriteRebar(Writer& w, const Json& j, const std::string& path, std::size_t s) {
    Obj r(j, path);
    const int arrangement = r.Choice("arrangement", std::array<const char*, 3>{"own", "same_as_above", "none"});
    if (arrangement == 1 && s == 0)
        throw ModelError(r.P("arrangement"), "the first section has no section above to take its rebar from");
    static constexpr std::array<const char*, 3> lines = {"Rebar Arrangement Not Same As Section Above",
                                                         "Rebar Arrangement Same As Section Above", "No rebar"};
    w.Line(lines[static_cast<std::size_t>(arrangement)], r.P("arrangement"));
    // A section with its own bars needs a pattern; the others may keep one (read, not used).
    if (arrangement == 0 || r.Has("pattern")) {
        const int pattern = r.Choice("pattern", std::array<const char*, 2>{"circle", "noncircular"});
        if (pattern == 0) {
            w.Line("Rebar in circle", r.P("pattern"));
            WriteFields(w, r,
                        {{"yield_strength"}, {"modulus"}, {"positions", true}, {"bars_per_position", true},
                         {"bar_diameter"}, {"bar_area"}, {"cover"}, {"offset"}});
        } else {
            w.Line("Rebar in noncircular pattern", r.P("pattern"));
            WriteFields(w, r, {{"yield_strength"}, {"modulus"}});
            const Json& bars = r.Array("bars");
            w.Value(static_cast<int>(bars.size()), r.P("bars"));
            for (std::size_t k = 0; k < bars.size(); ++k) {
                Obj b(bars[k], Index(r.P("bars"), k));
                WriteFieldLine(w, b, {{"size_code", true}, {"diameter"}, {"area"}, {"x"}, {"y"}},
                               std::to_string(k + 1));
                b.Done();
            }
        }
    }
    r.Done();
}

void WriteStrands(Writer& w, const Json& j, const std::string& path) {
    Obj st(j, path);
    const int manual = st.Choice("positioning", std::array<const char*, 2>{"auto", "manual"});
    if (manual == 0) {
        w.Line("Autoposition strands", st.P("positioning"));
        WriteFields(w, st,
                    {{"type_code", true}, {"second_code", true}, {"count", true}, {"ultimate_strength"},
                     {"second_strength"}, {"diameter"}, {"pattern", true}});
    } else {
        w.Line("Manually-positioned strands", st.P("positioning"));
        w.Value(st.Int("type_code"), st.P("type_code"));
        const Json& strands = st.Array("strands");
        w.Value(static_cast<int>(strands.size()), st.P("strands"));
        WriteFields(w, st, {{"ultimate_strength"}, {"second_strength"}});
        for (std::size_t k = 0; k < strands.size(); ++k) {
            Obj p(strands[k], Index(st.P("strands"), k));
            WriteFieldLine(w, p, {{"code_a", true}, {"code_b", true}, {"x"}, {"y"}}, std::to_string(k + 1));
            p.Done();
        }
    }
    st.Done();
}

void WriteSections(Writer& w, const Json& j) {
    if (!j.is_array()) throw ModelError("sections", "must be an array");
    w.Line("SECTIONS", "sections");
    w.Value(static_cast<int>(j.size()), "sections");
    for (std::size_t s = 0; s < j.size(); ++s) {
        Obj sec(j[s], Index("sections", s));
        w.Value(static_cast<int>(s + 1), sec.Path);
        const int type = sec.Choice("type", SectionTypeNames());
        const kestro::SectionType& row = kestro::SectionTypeFor(type);
        const bool voidCore = row.b_Core && !sec.Bool("core_filled", true);
        w.Value(voidCore ? -3 : type, sec.P("type"));
        w.Value(sec.Real("length"), sec.P("length"));
        WriteFields(w, sec, SectionDimensions(type));
        if (row.Outline == kestro::SectionOutline::Given) {
            const int shape = sec.Choice("shape", ShapeNames);
            w.Value(shape, sec.P("shape"));
            w.Value(sec.Real("elastic_modulus"), sec.P("elastic_modulus"));
            if (row.Bending == kestro::SectionBending::ElasticPlastic) WriteFields(w, sec, PlasticMoments(shape));
            WriteFields(w, sec, ShapeValues(shape));
        } else if (row.Bending == kestro::SectionBending::UserCurves) {
            w.Value(sec.Real("width"), sec.P("width"));
            const Json& thrusts = sec.Array("thrusts");
            w.Value(static_cast<int>(thrusts.size()), sec.P("thrusts"));
            for (std::size_t t = 0; t < thrusts.size(); ++t) {
                Obj th(thrusts[t], Index(sec.P("thrusts"), t));
                w.Value(th.Real("thrust"), th.P("thrust"));
                const Json& pts = th.Array("points");
                w.Value(static_cast<int>(pts.size()), th.P("points"));
                for (std::size_t p = 0; p < pts.size(); ++p) {
                    Obj pt(pts[p], Index(th.P("points"), p));
                    w.Value(pt.Real("moment"), pt.P("moment"));
                    w.Value(pt.Real("ei"), pt.P("ei"));
                    pt.Done();
                }
                th.Done();
            }
        }
        if (row.HasBars()) {
            WriteConcrete(w, sec.At("concrete"), sec.P("concrete"));
            WriteRebar(w, sec.At("rebar"), sec.P("rebar"), s);
        } else if (row.IsPrestressed()) {
            WriteConcrete(w, sec.At("concrete"), sec.P("concrete"));
            WriteStrands(w, sec.At("strands"), sec.P("strands"));
        }
        sec.Done();
    }
}

void WriteSoilPoint(Writer& w, const Json& j, const std::string& path, int code) {
    Obj p(j, path);
    if (HasUserCurve(code)) {
        const Json& pts = p.Array("points");
        w.Line(NumberText(p.Real("unit_weight")) + "  " + std::to_string(pts.size()), p.Path);
        for (std::size_t k = 0; k < pts.size(); ++k) {
            Obj yp(pts[k], Index(p.P("points"), k));
            w.Line(NumberText(yp.Real("y")) + "  " + NumberText(yp.Real("p")), yp.Path);
            yp.Done();
        }
    } else {
        WriteFieldLine(w, p, SoilValues(code));
    }
    p.Done();
}

std::string Short(double v) {
    std::ostringstream s;
    s.precision(6);
    s << v;
    return s.str();
}

void WriteSoilLayers(Writer& w, const Json& j) {
    if (!j.is_array()) throw ModelError("soil_layers", "must be an array");
    w.Line("SOIL LAYERS", "soil_layers");
    w.Value(static_cast<int>(j.size()), "soil_layers");
    double above = 0.0;
    for (std::size_t k = 0; k < j.size(); ++k) {
        Obj l(j[k], Index("soil_layers", k));
        const int code = l.Choice("model", SoilModelNames()) + 1;
        const double top = l.Real("top");
        const double bottom = l.Real("bottom");
        if (bottom < top)
            throw ModelError(l.P("bottom"), Short(bottom) + " is above the top, " + Short(top));
        // The keyword reader's own joint check (0.1 % of the depth, at least 0.001).
        if (k > 0 && std::fabs(top - above) > 1.0E-3 * std::max({1.0, std::fabs(above), std::fabs(top)}))
            throw ModelError(l.P("top"), Short(top) + " is not where the layer above ends, " + Short(above) +
                                             (top > above ? " (a gap)" : " (an overlap)"));
        above = bottom;
        std::string line = std::to_string(code) + "  " + NumberText(top) + "  " + NumberText(bottom);
        if (ValuesOnLayerLine(code)) {
            if (l.Has("top_values") || l.Has("bottom_values")) {
                Obj t(l.At("top_values"), l.P("top_values"));
                Obj b(l.At("bottom_values"), l.P("bottom_values"));
                std::string tv, bv;
                for (const Field& f : SoilValues(code)) {
                    tv += "  " + NumberText(t.Real(f.Name));
                    bv += "  " + NumberText(b.Real(f.Name));
                }
                t.Done();
                b.Done();
                line += tv;
                if (bv != tv) line += bv;
            }
            w.Line(line, l.Path);
        } else {
            w.Line(line, l.Path);
            if (!ReadsNoValues(code)) {
                WriteSoilPoint(w, l.At("top_values"), l.P("top_values"), code);
                WriteSoilPoint(w, l.At("bottom_values"), l.P("bottom_values"), code);
            }
        }
        l.Done();
    }
}

void WritePoints(Writer& w, const Json& j, const std::string& path, const Fields& fields) {
    if (!j.is_array()) throw ModelError(path, "must be an array");
    w.Value(static_cast<int>(j.size()), path);
    for (std::size_t k = 0; k < j.size(); ++k) {
        Obj p(j[k], Index(path, k));
        WriteFieldLine(w, p, fields, std::to_string(k + 1));
        p.Done();
    }
}

void WriteNumbers(Writer& w, const Json& j, const std::string& path) {
    if (!j.is_array()) throw ModelError(path, "must be an array");
    w.Value(static_cast<int>(j.size()), path);
    for (std::size_t k = 0; k < j.size(); ++k)
        w.Line(std::to_string(k + 1) + "  " + NumberText(Obj::RealOf(j[k], Index(path, k))), Index(path, k));
}

void WriteLoading(Writer& w, const Json& j) {
    Obj o(j, "loading");
    w.Line("LOADING", "loading");
    const Json& cases = o.Array("load_cases");
    w.Value(static_cast<int>(cases.size()), o.P("load_cases"));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Obj c(cases[i], Index(o.P("load_cases"), i));
        const int type = c.Choice("head", HeadConditionNames);
        const auto& names = HeadConditionValues[static_cast<std::size_t>(type)];
        w.Line(std::to_string(i + 1) + "  " + std::to_string(type + 1) + "  " + NumberText(c.Real(names[0])) + "  " +
                   NumberText(c.Real(names[1])) + "  " + NumberText(c.Real("axial_load", 0.0)) + "  " +
                   std::to_string(c.Int("length_code", 1)),
               c.Path);
        c.Done();
    }
    if (o.Has("distributed_loads"))
        WritePoints(w, o.At("distributed_loads"), o.P("distributed_loads"), {{"depth"}, {"load"}});
    else
        w.Value(0, o.P("distributed_loads"));
    o.Done();
}

void WriteLrfdLoads(Writer& w, const Json& j) {
    if (!j.is_array()) throw ModelError("lrfd_loads", "must be an array");
    w.Line("LRFD LOADS", "lrfd_loads");
    w.Value(static_cast<int>(j.size()), "lrfd_loads");
    for (std::size_t g = 0; g < j.size(); ++g) {
        Obj o(j[g], Index("lrfd_loads", g));
        const int type = o.Choice("load_type", LrfdLoadTypeNames) + 1;
        const Json empty = Json::array();
        const Json& pts = o.Has("distributed_loads") ? o.Array("distributed_loads") : empty;
        w.Line(std::to_string(g + 1) + "  " + std::to_string(type) + "  " + NumberText(o.Real("shear", 0.0)) + "  " +
                   NumberText(o.Real("moment", 0.0)) + "  " + NumberText(o.Real("axial_load", 0.0)) + "  " +
                   std::to_string(pts.size()),
               o.Path);
        for (std::size_t k = 0; k < pts.size(); ++k) {
            Obj p(pts[k], Index(o.P("distributed_loads"), k));
            WriteFieldLine(w, p, {{"depth"}, {"load"}}, std::to_string(k + 1));
            p.Done();
        }
        o.Done();
    }
}

void WriteLrfdCombinations(Writer& w, const Json& j) {
    if (!j.is_array()) throw ModelError("lrfd_combinations", "must be an array");
    w.Line("LRFD FACTORS AND CASES", "lrfd_combinations");
    w.Value(static_cast<int>(j.size()), "lrfd_combinations");
    for (std::size_t c = 0; c < j.size(); ++c) {
        Obj o(j[c], Index("lrfd_combinations", c));
        std::string line = std::to_string(c + 1);
        {
            Obj f(o.At("factors"), o.P("factors"));
            for (const char* name : LrfdLoadTypeNames) line += "  " + NumberText(f.Real(name, 0.0));
            f.Done();
        }
        line += "  " + NumberText(o.Real("flexure_resistance_factor", 0.0));
        line += "  " + NumberText(o.Real("shear_resistance_factor", 0.0));
        w.Line(line, o.P("factors"));
        w.Line(o.Text("name"), o.P("name"));
        o.Done();
    }
}

void WriteAxialAnalysis(Writer& w, const Json& j) {
    Obj o(j, "axial_analysis");
    w.Line("AXIAL ANALYSIS", "axial_analysis");
    w.Line(std::string("PipeTip ") + AxialPipeTipNames[static_cast<std::size_t>(
                                         o.Has("pipe_tip") ? o.Choice("pipe_tip", AxialPipeTipNames) : 0)],
           o.P("pipe_tip"));
    w.Line("ResidualRatio " + NumberText(o.Real("residual_ratio", 0.9)), o.P("residual_ratio"));
    w.Line("CapacityFraction " + NumberText(o.Real("capacity_fraction", 0.5)), o.P("capacity_fraction"));
    w.Line("CurveSteps " + std::to_string(o.Int("curve_steps", 20)), o.P("curve_steps"));
    if (o.Has("head_loads"))
        WriteNumbers(w, o.Array("head_loads"), o.P("head_loads"));
    else
        w.Value(0, o.P("head_loads"));
    const Json empty = Json::array();
    const Json& curves = o.Has("user_curves") ? o.Array("user_curves") : empty;
    w.Value(static_cast<int>(curves.size()), o.P("user_curves"));
    for (std::size_t k = 0; k < curves.size(); ++k) {
        Obj c(curves[k], Index(o.P("user_curves"), k));
        const std::string kind = AxialCurveKindNames[static_cast<std::size_t>(c.Choice("kind", AxialCurveKindNames))];
        const Json& points = c.Array("points");
        w.Line(std::to_string(c.Int("layer")) + "  " + kind + "  " + std::to_string(points.size()), c.Path);
        for (std::size_t p = 0; p < points.size(); ++p) {
            Obj pt(points[p], Index(c.P("points"), p));
            WriteFieldLine(w, pt, {{"movement"}, {"resistance"}});
            pt.Done();
        }
        c.Done();
    }
    o.Done();
}

}  // namespace

Kestro6Text ToKestro6(const Json& model) {
    Writer w;
    Obj m(model, "");
    if (m.Has("format") && m.Text("format") != FormatName)
        throw ModelError("format", "must be \"" + std::string(FormatName) + "\"");
    if (m.Has("version") && m.Int("version") != FormatVersion)
        throw ModelError("version", "this Kestro reads version " + std::to_string(FormatVersion));
    w.Line("KESTRO6", "format");
    if (m.Has("title")) {
        const Json& t = m.Array("title");
        if (t.size() > 5) throw ModelError("title", "holds at most five lines");
        w.Line("TITLE", "title");
        for (std::size_t i = 0; i < 5; ++i) {
            std::string line;
            if (i < t.size()) {
                if (!t[i].is_string()) throw ModelError(Index("title", i), "must be a string");
                line = t[i].get<std::string>();
                if (line.size() > 256) throw ModelError(Index("title", i), "is longer than 256 characters");
            }
            w.Line(line, Index("title", i));
        }
    }
    if (m.Has("options")) {
        w.Line("OPTIONS", "options");
        WriteOptions(w, m.At("options"));
    }
    if (m.Has("sections")) WriteSections(w, m.At("sections"));
    if (m.Has("soil_layers")) WriteSoilLayers(w, m.At("soil_layers"));
    if (m.Has("axial_analysis")) WriteAxialAnalysis(w, m.At("axial_analysis"));
    if (m.Has("loading")) WriteLoading(w, m.At("loading"));
    if (m.Has("axial_thrusts")) {
        w.Line("AXIAL THRUST LOADS", "axial_thrusts");
        WriteNumbers(w, m.At("axial_thrusts"), "axial_thrusts");
    }
    if (m.Has("lrfd_loads")) WriteLrfdLoads(w, m.At("lrfd_loads"));
    if (m.Has("lrfd_combinations")) WriteLrfdCombinations(w, m.At("lrfd_combinations"));
    if (m.Has("tip_shear")) {
        w.Line("TIP SHEAR", "tip_shear");
        WritePoints(w, m.At("tip_shear"), "tip_shear", {{"displacement"}, {"force"}});
    }
    if (m.Has("batter_and_slope")) {
        Obj b(m.At("batter_and_slope"), "batter_and_slope");
        w.Line("PILE BATTER AND SLOPE", "batter_and_slope");
        w.Value(b.Real("ground_slope_angle", 0.0), b.P("ground_slope_angle"));
        w.Value(b.Real("pile_batter_angle", 0.0), b.P("pile_batter_angle"));
        b.Done();
    }
    if (m.Has("group_factors")) {
        w.Line("GROUP EFFECT FACTORS", "group_factors");
        WritePoints(w, m.At("group_factors"), "group_factors", {{"depth"}, {"p_multiplier"}, {"y_multiplier"}});
    }
    const Json* options = model.contains("options") && model["options"].is_object() ? &model["options"] : nullptr;
    auto enabled = [&](const char* key) {
        return options != nullptr && options->contains(key) && (*options)[key].is_boolean() && (*options)[key].get<bool>();
    };
    // The keyword reader reads these two only when the options switch them on.
    if (m.Has("soil_movements")) {
        if (!enabled("use_soil_movement"))
            throw ModelError("soil_movements", "needs options.use_soil_movement true");
        w.Line("SOIL MOVEMENTS", "soil_movements");
        WritePoints(w, m.At("soil_movements"), "soil_movements", {{"depth"}, {"movement"}});
    }
    if (m.Has("printed_py_depths")) {
        if (!enabled("print_py_curves"))
            throw ModelError("printed_py_depths", "needs options.print_py_curves true");
        w.Line("DEPTHS OF PRINTED P-Y CURVES", "printed_py_depths");
        WriteNumbers(w, m.At("printed_py_depths"), "printed_py_depths");
    }
    m.Done();
    w.Line("END", "");
    return std::move(w.Out);
}

Json ParseJson(const std::string& text) {
    try {
        return Json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        // The byte offset as a line and column.
        const std::size_t at = std::min<std::size_t>(e.byte, text.size());
        std::size_t line = 1, col = 1;
        for (std::size_t i = 0; i + 1 < at; ++i) {
            if (text[i] == '\n') {
                ++line;
                col = 1;
            } else {
                ++col;
            }
        }
        std::string what = e.what();
        const std::size_t colon = what.rfind(": ");
        if (colon != std::string::npos) what = what.substr(colon + 2);
        throw ModelError("JSON line " + std::to_string(line) + " column " + std::to_string(col), what);
    }
}

bool LooksLikeJson(const std::string& text) {
    const std::size_t i = text.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return i != std::string::npos && text[i] == '{';
}

std::string AnnotateLines(const std::string& message, const std::vector<std::string>& linePaths) {
    std::string out;
    std::size_t i = 0;
    while (i < message.size()) {
        const std::size_t a = message.find("ine ", i);
        if (a == std::string::npos || a == 0 || (message[a - 1] != 'l' && message[a - 1] != 'L')) {
            if (a == std::string::npos) {
                out += message.substr(i);
                break;
            }
            out += message.substr(i, a + 4 - i);
            i = a + 4;
            continue;
        }
        std::size_t b = a + 4;
        while (b < message.size() && message[b] >= '0' && message[b] <= '9') ++b;
        out += message.substr(i, b - i);
        i = b;
        if (b == a + 4 || b - (a + 4) > 9) continue;
        const std::size_t n = std::stoul(message.substr(a + 4, b - a - 4));
        if (n >= 1 && n <= linePaths.size() && !linePaths[n - 1].empty())
            out += " (JSON model: " + linePaths[n - 1] + ")";
    }
    return out;
}

}  // namespace kestro::model
