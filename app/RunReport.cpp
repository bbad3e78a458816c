#include "RunReport.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cmath>
#include <sstream>
#include <string_view>

namespace kestro::results {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) end = text.size();
        std::string l(text.substr(begin, end - begin));
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(std::move(l));
        begin = end + 1;
    }
    return lines;
}

namespace {

std::string Trim(std::string_view s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(" \t");
    return std::string(s.substr(b, e - b + 1));
}

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool Blank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

// "label   =   12.000 ft": the value and the unit after "= ".
bool ValueAndUnit(const std::string& line, double& v, std::string& unit) {
    std::size_t eq = line.find("= ");
    if (eq == std::string::npos) return false;
    std::istringstream in(line.substr(eq + 2));
    std::string number;
    in >> number >> unit;
    const char* first = number.data();
    auto [ptr, ec] = std::from_chars(first, first + number.size(), v);
    return ec == std::errc() && ptr == first + number.size() && std::isfinite(v);
}

// Input-echo depths are in ft in US customary runs, the plot records in inches;
// section widths are in mm in SI runs, the plot records in m.
double ToPlotLength(double v, const std::string& unit) {
    return unit == "ft" ? v * 12.0 : unit == "mm" ? v / 1000.0 : v;
}

// A number of the report's tables: "5047788.", "-0.00489604", "2.154E-05".
bool ReportNumber(const std::string& text, double& v) {
    const std::string t = Trim(text);
    if (t.empty()) return false;
    char* end = nullptr;
    v = std::strtod(t.c_str(), &end);
    return end == t.c_str() + t.size() && std::isfinite(v);
}

// The blank-separated words of a line (blanks as a stream's >> skips them).
std::vector<std::string> Words(const std::string& l) {
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::vector<std::string> w;
    std::size_t i = 0;
    while (i < l.size()) {
        while (i < l.size() && blank(l[i])) ++i;
        const std::size_t start = i;
        while (i < l.size() && !blank(l[i])) ++i;
        if (i > start) w.emplace_back(l, start, i - start);
    }
    return w;
}

bool LeadingInt(std::string_view s, int& v) {
    std::size_t e = 0;
    while (e < s.size() && s[e] >= '0' && s[e] <= '9') ++e;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + e, v);
    return e > 0 && ec == std::errc();
}

bool Contains(const std::vector<std::string>& lines, std::string_view text) {
    for (const std::string& l : lines)
        if (l.find(text) != std::string::npos) return true;
    return false;
}

void ReadTitle(const std::vector<std::string>& L, RunFacts& f) {
    for (std::size_t i = 0; i + 3 < L.size(); ++i) {
        if (Trim(L[i]) != "Problem Title") continue;
        // Heading, rule, empty line, then the five title lines.
        for (std::size_t k = i + 3; k < L.size() && k < i + 8; ++k) f.Title.push_back(Trim(L[k]));
        while (!f.Title.empty() && f.Title.back().empty()) f.Title.pop_back();
        return;
    }
}

void ReadProfile(const std::vector<std::string>& L, RunFacts& f) {
    std::string unit;
    for (const std::string& l : L) {
        if (StartsWith(l, "Depth of ground surface below top of pile") && ValueAndUnit(l, f.GroundSurface, unit)) {
            f.GroundSurface = ToPlotLength(f.GroundSurface, unit);
            f.HasGroundSurface = true;
            break;
        }
    }
    bool inPage = false;
    for (const std::string& l : L) {
        if (Trim(l) == "Soil and Rock Layering Information") {
            inPage = true;
            continue;
        }
        if (!inPage) continue;
        if (StartsWith(l, "--------") && !f.Layers.empty()) break;
        SoilLayerInfo layer;
        if (StartsWith(l, "Layer ") && LeadingInt(std::string_view(l).substr(6), layer.Number)) {
            std::size_t is = l.find(" is ");
            layer.Description = is == std::string::npos ? std::string() : Trim(std::string_view(l).substr(is + 4));
            f.Layers.push_back(layer);
        } else if (!f.Layers.empty() && StartsWith(l, "Distance from top of pile to top of layer")) {
            double v = 0.0;
            if (ValueAndUnit(l, v, unit)) f.Layers.back().Top = ToPlotLength(v, unit);
        } else if (!f.Layers.empty() && StartsWith(l, "Distance from top of pile to bottom of layer")) {
            double v = 0.0;
            if (ValueAndUnit(l, v, unit)) f.Layers.back().Bottom = ToPlotLength(v, unit);
        }
    }
}

void ReadCaseNames(const std::vector<std::string>& L, RunFacts& f) {
    static constexpr std::string_view Key = "Load Case No. ";
    for (const std::string& l : L) {
        int k = 0;
        if (!StartsWith(l, Key) || !LeadingInt(std::string_view(l).substr(Key.size()), k) || k < 1 || k > 100000) continue;
        std::size_t sep = l.find(":  ");
        if (sep == std::string::npos) continue;
        if (f.CaseNames.size() < static_cast<std::size_t>(k)) f.CaseNames.resize(static_cast<std::size_t>(k));
        f.CaseNames[static_cast<std::size_t>(k - 1)] = Trim(std::string_view(l).substr(sep + 3));
    }
}

// The summary of pile responses: "  1     1   V =     40000.  M =      0.000   200000. ..."
void ReadCaseSummaries(const std::vector<std::string>& L, RunFacts& f) {
    bool in = false;
    for (const std::string& l : L) {
        if (Trim(l) == "Summary of Pile Response(s)") {
            in = true;
            f.CaseSummaries.clear();
            continue;
        }
        if (!in) continue;
        if (StartsWith(Trim(l), "The analysis ended") || Trim(l) == "LRFD Performance by Load Case Combination") break;
        const std::vector<std::string> w = Words(l);
        if (w.size() != 13 || w[3] != "=" || w[6] != "=" || w[2].size() != 1 || w[5].size() != 1) continue;
        CaseSummaryRow r;
        double v[7];
        bool ok = LeadingInt(w[0], r.Case) && LeadingInt(w[1], r.LoadType);
        for (std::size_t k = 0; k < 7 && ok; ++k) ok = ReportNumber(w[k == 0 ? 4 : k == 1 ? 7 : k + 6], v[k]);
        if (!ok) continue;
        r.Condition1Kind = w[2][0];
        r.Condition2Kind = w[5][0];
        r.Condition1 = v[0];
        r.Condition2 = v[1];
        r.AxialLoad = v[2];
        r.HeadRotation = v[6];
        f.CaseSummaries.push_back(r);
    }
}

// The LRFD performance table, read by its fixed columns; the combination name
// follows the last column.
void ReadLrfdChecks(const std::vector<std::string>& L, RunFacts& f) {
    static constexpr std::size_t Ends[] = {5, 10, 19, 34, 49, 61, 74, 89, 104, 119};
    bool in = false;
    for (const std::string& l : L) {
        if (Trim(l) == "LRFD Performance by Load Case Combination") {
            in = true;
            continue;
        }
        if (!in) continue;
        if (l.size() < Ends[9] || StartsWith(Trim(l), "All LRFD") || StartsWith(Trim(l), "No LRFD")) {
            if (!f.LrfdChecks.empty() && Blank(l)) break;
            continue;
        }
        std::string c[10];
        for (std::size_t k = 0; k < 10; ++k) {
            const std::size_t b = k == 0 ? 0 : Ends[k - 1];
            c[k] = Trim(std::string_view(l).substr(b, Ends[k] - b));
        }
        LrfdCheckRow r;
        if (!LeadingInt(c[0], r.Combination) || !LeadingInt(c[1], r.Section) ||
            !ReportNumber(c[2], r.ResistanceFactor) || !ReportNumber(c[4], r.MaxMoment))
            continue;
        r.Checked = c[3] != "N/A" && ReportNumber(c[3], r.FactoredCapacity);
        r.Passed = c[6] == "Pass";
        r.Name = l.size() > Ends[9] ? Trim(std::string_view(l).substr(Ends[9])) : std::string();
        f.LrfdChecks.push_back(r);
    }
}

// Pile length, batter and the sections' lengths and widths from the echo.
void ReadGeometry(const std::vector<std::string>& L, RunFacts& f) {
    std::string unit;
    double v = 0.0;
    for (const std::string& l : L) {
        if (StartsWith(l, "Total Pile Length") && ValueAndUnit(l, v, unit)) f.PileLength = ToPlotLength(v, unit);
        if (StartsWith(l, "Pile Batter Angle") && ValueAndUnit(l, v, unit)) f.BatterDegrees = v;
        int n = 0;
        if (StartsWith(l, "Section No. ") && LeadingInt(std::string_view(l).substr(12), n) && l.back() == ':') {
            f.SectionShapes.push_back(SectionGeometry{n, 0.0, 0.0, 0.0, {}});
            continue;
        }
        if (f.SectionShapes.empty() || !StartsWith(l, "   ")) continue;
        SectionGeometry& s = f.SectionShapes.back();
        const std::string t = Trim(l);
        if (StartsWith(t, "Cross-sectional Shape")) {
            const std::size_t eq = t.find('=');
            s.Shape = eq == std::string::npos ? std::string() : Trim(std::string_view(t).substr(eq + 1));
        }
        if (!ValueAndUnit(l, v, unit)) continue;
        if (StartsWith(t, "Section Length")) s.Length = ToPlotLength(v, unit);
        const bool width = StartsWith(t, "Top Width") || StartsWith(t, "Pile Width") || StartsWith(t, "Flange Width") ||
                           StartsWith(t, "Section Width") || StartsWith(t, "Pile Diameter");
        if (width && s.TopWidth == 0.0) s.TopWidth = s.BottomWidth = ToPlotLength(v, unit);
        if (StartsWith(t, "Bottom Width")) s.BottomWidth = ToPlotLength(v, unit);
    }
}

// "Summary of Results for Column Interaction": the direction of loading, then
// rows of number, axial thrust and maximum moment.
void ReadInteraction(const std::vector<std::string>& L, RunFacts& f) {
    InteractionDiagram* open = nullptr;
    bool rows = false;
    for (const std::string& l : L) {
        if (StartsWith(l, "Summary of Results for Column Interaction")) {
            f.Interaction.push_back({});
            open = &f.Interaction.back();
            rows = false;
            continue;
        }
        if (open == nullptr) continue;
        std::string unit;
        double v = 0.0;
        if (StartsWith(l, "Direction of Loading") && ValueAndUnit(l, v, unit)) {
            open->DirectionDegrees = v;
            continue;
        }
        const std::vector<std::string> w = Words(l);
        double t = 0.0, m = 0.0;
        int k = 0;
        if (w.size() == 3 && LeadingInt(w[0], k) && ReportNumber(w[1], t) && ReportNumber(w[2], m)) {
            open->Thrust.push_back(t);
            open->Moment.push_back(m);
            rows = true;
        } else if (rows) {
            open = nullptr;
        }
    }
    std::erase_if(f.Interaction, [](const InteractionDiagram& d) { return d.Thrust.empty(); });
}

// Each case's station table: after "... for Load Case Number k" (or "LRFD Load
// Case Number k"), the three heading lines, a rule, then rows of ten numbers:
// depth, deflection, moment, shear, slope, total stress, EI, p, Es*h, load.
// EI is printed in lb-in^2 in US runs (kip-in2 in the section curves).
void ReadCaseStations(const std::vector<std::string>& L, RunFacts& f) {
    static constexpr std::string_view Key = "Load Case Number ";
    PrintedStations* open = nullptr;
    bool rows = false;
    double eiScale = 1.0;
    for (const std::string& l : L) {
        const std::size_t at = l.find(Key);
        int k = 0;
        if (at != std::string::npos && l.find("for Lateral Loading for") != std::string::npos &&
            LeadingInt(std::string_view(l).substr(at + Key.size()), k)) {
            f.CaseStations.push_back(PrintedStations{k, {}, {}, {}});
            open = &f.CaseStations.back();
            rows = false;
            continue;
        }
        if (open == nullptr) continue;
        if (l.find("lb-in^2") != std::string::npos) eiScale = 1.0e-3;
        if (l.find("kN-m^2") != std::string::npos) eiScale = 1.0;
        const std::vector<std::string> w = Words(l);
        double v[10];
        bool ok = w.size() == 10;
        for (std::size_t i = 0; i < 10 && ok; ++i) ok = ReportNumber(w[i], v[i]);
        if (ok) {
            open->Depth.push_back(v[0]);
            open->Slope.push_back(v[4]);
            open->EI.push_back(v[6] * eiScale);
            rows = true;
        } else if (rows) {
            open = nullptr;
        }
    }
    std::erase_if(f.CaseStations, [](const PrintedStations& c) { return c.Depth.size() < 2; });
}

void ReadWarnings(const std::vector<std::string>& L, RunFacts& f) {
    static constexpr std::string_view Key = "The following warning was reported ";
    WarningInfo* open = nullptr;
    std::vector<std::string> text;
    auto close = [&] {
        if (open == nullptr) return;
        while (!text.empty() && Blank(text.back())) text.pop_back();
        std::string joined;
        for (const std::string& t : text) joined += Trim(t) + "\n";
        open->Text = joined;
        text.clear();
    };
    for (const std::string& l : L) {
        int count = 0;
        if (StartsWith(l, Key) && LeadingInt(std::string_view(l).substr(Key.size()), count)) {
            close();
            f.Warnings.push_back(WarningInfo{count, {}});
            open = &f.Warnings.back();
        } else if (open != nullptr) {
            if (StartsWith(Trim(l), "The analysis ended")) {
                close();
                open = nullptr;
            } else if (!(text.empty() && Blank(l))) {
                text.push_back(l);
            }
        }
    }
    close();
}

// "**** Input Data Error No. 25 ****", "**** Runtime Error No. 9 ****",
// "***** INPUT ERROR *****"; not the non-fatal error or a warning.
bool IsErrorHeading(const std::string& l) {
    std::string t = Trim(l);
    if (!StartsWith(t, "****")) return false;
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t.find("ERROR") != std::string::npos && t.find("NON-FATAL") == std::string::npos &&
           t.find("WARNING") == std::string::npos;
}

// The error block written before the line "The analysis ended due to an error.":
// from its framed heading, or else the paragraph just before that line.
bool ReadErrorText(const std::vector<std::string>& L, RunFacts& f) {
    std::size_t end = L.size();
    for (std::size_t i = L.size(); i-- > 0;)
        if (Trim(L[i]) == "The analysis ended due to an error.") {
            end = i;
            break;
        }
    if (end == L.size()) return false;
    auto skip = [](const std::string& l) { return StartsWith(l, "Kestro ended prematurely due to input error number "); };
    std::size_t begin = end;
    for (std::size_t i = end; i-- > 0 && end - i <= 80;) {
        if (IsErrorHeading(L[i])) {
            begin = i;
            break;
        }
    }
    if (begin == end) {
        std::size_t i = end;
        while (i > 0 && (Blank(L[i - 1]) || skip(L[i - 1]))) --i;
        begin = i;
        while (begin > 0 && !Blank(L[begin - 1]) && !skip(L[begin - 1]) && !StartsWith(L[begin - 1], "-----")) --begin;
        end = i;
    } else {
        std::string h = Trim(L[begin]);
        while (StartsWith(h, "*")) h.erase(0, 1);
        while (!h.empty() && h.back() == '*') h.pop_back();
        f.ErrorHeading = Trim(h);
    }
    std::string text;
    int blanks = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (skip(L[i])) continue;
        if (Blank(L[i])) {
            ++blanks;
            continue;
        }
        if (!text.empty() && blanks > 0) text += "\n";
        blanks = 0;
        text += Trim(L[i]) + "\n";
    }
    f.ErrorText = text;
    return !text.empty();
}

// Error number from the code the report names: input data error n is 100 + n,
// runtime error n is 200 + n; the not-a-number and internal stops keep 99 and 999.
std::optional<int> NumberFromCode(const std::string& code) {
    int n = 0;
    if (code.size() != 8 || !LeadingInt(std::string_view(code).substr(3), n)) return std::nullopt;
    if (StartsWith(code, "INP")) return 100 + n;
    if (StartsWith(code, "RUN")) return (n == 99 || n == 999) ? n : 200 + n;
    return std::nullopt;
}

std::optional<int> NumberFromHeading(const std::string& heading) {
    int n = 0;
    static constexpr std::string_view In = "Input Data Error No. ", Rt = "Runtime Error No. ", Cp = "Computation Error No. ";
    if (StartsWith(heading, In) && LeadingInt(std::string_view(heading).substr(In.size()), n)) return 100 + n;
    if (StartsWith(heading, Rt) && LeadingInt(std::string_view(heading).substr(Rt.size()), n)) return 200 + n;
    if (StartsWith(heading, Cp) && LeadingInt(std::string_view(heading).substr(Cp.size()), n)) return 200 + n;
    return std::nullopt;
}

}  // namespace

RunFacts ReadRunFacts(const std::string& report, const std::string& messages, std::optional<int> result) {
    RunFacts f;
    f.Result = result;
    f.ReportFound = !report.empty();
    f.MessagesFound = !messages.empty();
    const std::vector<std::string> R = SplitLines(report), M = SplitLines(messages);
    ReadTitle(R, f);
    ReadProfile(R, f);
    ReadCaseNames(R, f);
    ReadWarnings(R, f);
    ReadCaseSummaries(R, f);
    ReadLrfdChecks(R, f);
    ReadGeometry(R, f);
    ReadInteraction(R, f);
    ReadCaseStations(R, f);

    const bool error = Contains(M, "The analysis ended due to an error.") || Contains(R, "The analysis ended due to an error.") ||
                       (result && *result > 0);
    f.WithWarnings = Contains(M, "The analysis ended with one or more warning messages.") || !f.Warnings.empty() ||
                     (result && *result < 0);
    const bool normal = Contains(M, "The analysis ended normally.") || Contains(R, "The analysis ended normally.");
    if (error)
        f.Status = RunStatus::Error;
    else if (f.WithWarnings)
        f.Status = RunStatus::Warnings;
    else if (normal || (result && *result == 0))
        f.Status = RunStatus::Normal;
    else if (f.ReportFound || f.MessagesFound)
        f.Status = RunStatus::Unfinished;

    if (f.Status == RunStatus::Error) {
        static constexpr std::string_view Key = "Kestro ended prematurely due to input error number ";
        std::size_t at = report.find(Key);
        if (at != std::string::npos) f.ErrorCode = Trim(std::string_view(report).substr(at + Key.size(), 8));
        if (!ReadErrorText(R, f)) ReadErrorText(M, f);
        if (result && *result > 0)
            f.ErrorNumber = *result;
        else if (auto n = NumberFromCode(f.ErrorCode))
            f.ErrorNumber = n;
        else
            f.ErrorNumber = NumberFromHeading(f.ErrorHeading);
    }
    return f;
}

const char* StatusName(RunStatus s) {
    switch (s) {
        case RunStatus::Normal: return "normal";
        case RunStatus::Warnings: return "warnings";
        case RunStatus::Error: return "error";
        case RunStatus::Unfinished: return "unfinished";
        default: return "unknown";
    }
}

std::string OutcomeSentence(const RunFacts& f) {
    std::string s;
    switch (f.Status) {
        case RunStatus::Normal: return "The analysis ended normally.";
        case RunStatus::Warnings: return "The analysis ended with warnings.";
        case RunStatus::Unfinished:
            return "The analysis did not finish: the engine's files stop before the completion line.";
        case RunStatus::Unknown: return "The outcome of the analysis is not known: no report or message file was found.";
        case RunStatus::Error: break;
    }
    s = "The analysis ended by error";
    if (f.ErrorNumber) s += " " + std::to_string(*f.ErrorNumber);
    std::string detail = f.ErrorHeading;
    if (!f.ErrorCode.empty()) detail += (detail.empty() ? "" : ", ") + f.ErrorCode;
    if (!detail.empty()) s += " (" + detail + ")";
    if (f.WithWarnings) s += ", with warnings";
    return s + ".";
}

}  // namespace kestro::results
