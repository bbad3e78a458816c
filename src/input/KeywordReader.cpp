#include "input/KeywordReader.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>

#include "model/FactoredLoads.h"
#include "axial/AxialModel.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "input/InputFile.h"
#include "input/ReaderSupport.h"
#include "input/Readers.h"
#include "model/ProblemData.h"
#include "report/Format.h"

namespace kestro {
namespace {

// The unrecognised-line block, to the report and then the message channel,
// followed by the line's number and the keyword it most likely misspells
// (by default the section keywords and END: what a line between sections
// may be).
void UnrecognizedLine(const std::string& line,
                      std::initializer_list<std::string_view> known = {
                          "TITLE", "OPTIONS", "SECTIONS", "AXIAL THRUST LOADS", "SOIL LAYERS", "TIP SHEAR",
                          "PILE BATTER AND SLOPE", "GROUP EFFECT FACTORS", "LRFD LOADS", "LRFD FACTORS AND CASES",
                          "LOADING", "SOIL MOVEMENTS", "DEPTHS OF PRINTED P-Y CURVES", "END"}) {
    std::string padded = line;
    padded.resize(RecordLength, ' ');
    for (std::ostream* out : {&ReportOut(), &MessageOut()}) {
        WriteLines(*out, {"", "", "***** INPUT ERROR *****", "", "",
                          "The following line is unrecognized or is out-of-order", "", "", padded, "", ""});
    }
    WriteErrorLineHint(99, line, known);
    TerminateRun("INP00099", 199);
}

// An unrecognised option line: its message to the report, the line's number
// and text and the option line it most likely misspells, then INP00095.
void OptionError(std::string_view message, bool before, bool after, std::string_view line,
                 std::initializer_list<std::string_view> known, std::string_view detail = {},
                 std::string_view match = {}) {
    for (std::ostream* out : {&ReportOut(), &MessageOut()}) {
        if (before) *out << '\n';
        *out << message << '\n';
        if (after) *out << '\n';
    }
    WriteErrorLineHint(95, line, known, match);
    if (!detail.empty()) WriteToMessagesAndReport({detail, ""});
    TerminateRun("INP00095", 195);
}

// Reads a YES/NO flag line: `name` followed by " YES" or " NO".
bool ReadFlag(std::string_view name, bool& flag, std::string_view message, bool before = true, bool after = false) {
    std::string line;
    if (!ReadRecord(line, std::string(name) + " option line")) return false;
    std::string yes = std::string(name) + " YES";
    std::string no = std::string(name) + " NO";
    if (line == yes) {
        flag = true;
    } else if (line == no) {
        flag = false;
    } else {
        OptionError(message, before, after, line, {yes, no});
        return false;
    }
    return true;
}

// Where in the loading line the word `word` (CYCLIC or STATIC, any case)
// stands, as 1-based first column; 0 when it is not there.
std::size_t WordColumn(const std::string& line, std::string_view word) {
    std::string upper = line;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    const std::size_t at = upper.find(word);
    return at == std::string::npos ? 0 : at + 1;
}

// Range check: the standard numbered block on both channels.
void RangeError(int number, std::string_view problem, std::string_view solution) {
    Fail(ErrorKind::Input, number, problem, solution);
}

}  // namespace

void ReadOptions() {
    AnalysisOptions& O = Problem.Options;
    std::string line;

    if (!ReadRecord(line, "the units line of OPTIONS")) return;
    if (line == "Units USCS") {
        O.UnitSystem = UnitsUS;
    } else if (line == "Units SI") {
        O.UnitSystem = UnitsSI;
    } else if (line == "Units GENERAL") {
        O.UnitSystem = UnitsGeneral;
    } else {
        UnrecognizedLine(line, {"Units USCS", "Units SI", "Units GENERAL"});
        return;
    }

    if (!ReadFlag("UseLRFD", O.UseLRFD, "INPUT ERROR - Unrecognized command for LRFD analysis option")) return;
    if (!ReadFlag("ComputeKmatrix", O.ComputeKmatrix,
                  "INPUT ERROR - Unrecognized command for compute pile-head stiffness matrix option"))
        return;
    if (!ReadFlag("UseTipShear", O.UseTipShear, "INPUT ERROR - Unrecognized command for tip shear option")) return;
    if (!ReadFlag("UseSoilMovement", O.UseSoilMovement,
                  "INPUT ERROR - Unrecognized command for soil movement option", true, true))
        return;
    if (!ReadFlag("UsePYModifiers", O.UsePYModifiers,
                  "INPUT ERROR - Unrecognized command for use of p-y modifiers option"))
        return;
    Problem.NumGroupFactorPoints = O.UsePYModifiers ? 1 : 0;
    bool eiOnly = false;
    if (!ReadFlag("ComputeEIOnly", eiOnly, "INPUT ERROR - Unrecognized command for compute nonlinear EI only option"))
        return;
    O.ComputationMode = eiOnly ? 2 : 3;

    // Loading line in fixed columns: 1-8 label, 9-14 CYCLIC or STATIC, 15-20 number of cycles.
    if (!ReadRecord(line, "the loading line of OPTIONS")) return;
    std::string padded = line;
    padded.resize(20, ' ');
    std::string kind = padded.substr(8, 6);
    if (kind == "CYCLIC") {
        O.LoadingType = true;
    } else if (kind == "STATIC") {
        O.LoadingType = false;
    } else {
        // The word is fixed in columns: say where it stands and where it must.
        std::string where;
        for (std::string_view word : {"CYCLIC", "STATIC"}) {
            const std::size_t col = WordColumn(line, word);
            if (col == 0 || col == 9) continue;
            where = "The loading type " + std::string(word) +
                    " must occupy columns 9 to 14 of the loading line (after the 8 columns of the label); it "
                    "stands in columns " +
                    std::to_string(col) + " to " + std::to_string(col + 5) +
                    ". The number of cycles goes in columns 15 to 20.";
            break;
        }
        OptionError("INPUT ERROR - Unrecognized command for loading type option", false, false, line,
                    {"STATIC", "CYCLIC"}, where, kind);
        return;
    }
    std::string cycles = padded.substr(14, 6);
    std::size_t a = cycles.find_first_not_of(' ');
    O.NumberOfCycles = 0.0;
    if (a != std::string::npos) {
        std::size_t b = cycles.find_last_not_of(' ');
        if (!ParseReal(std::string_view(cycles).substr(a, b - a + 1), O.NumberOfCycles)) {
            InputError(ErrUnreadableValue,
                       "Problem:  Line " + std::to_string(InputLineNumber()) + " holds \"" + cycles +
                           "\" in columns 15 to 20 where the number of cycles of loading was expected.",
                       "Solution: Write the number of cycles as a number in columns 15 to 20 of the loading line.");
            return;
        }
    }

    std::string label;
    if (!ReadList("the iteration limit", {label, O.MaxIterations})) return;
    if (O.MaxIterations < 30 || O.MaxIterations > 1000) {
        std::string problem = "Problem: Input value for iterations limit = " + std::to_string(O.MaxIterations) +
                              (O.MaxIterations < 30 ? " and is less than 30 iteractions"
                                                    : " and is more than 1,000 iteractions");
        Fail(ErrorKind::Input, 95,
             {"", "", "***** Input Data Error No. 95 *****", "", problem,
              "Solution:  Correct input value to be between 30 and 1000 iterations.", ""});
        return;
    }
    if (!ReadList("the excess deflection limit", {label, O.ExcessDeflectionLimit})) return;
    if (!ReadList("the convergence tolerance", {label, O.ConvergenceTolerance})) return;
    const double tol = O.ConvergenceTolerance;
    if (O.UnitSystem == UnitsUS) {
        if (tol < 1.0E-10) {
            RangeError(65, "Input value for convergence tolerance is too small (less than 1E-10 inches).",
                       "The recommended value for convergence tolerance is 0.00001 inches.");
            return;
        }
        if (tol > static_cast<double>(0.1f)) {
            RangeError(66, "Input value for convergence tolerance is too large (more than 0.1 inches). ",
                       "The recommended value for convergence tolerance is 0.00001 inches.");
            return;
        }
    } else if (O.UnitSystem == UnitsSI) {
        if (tol < 2.5E-12) {
            RangeError(67, "Input value for convergence tolerance is too small (less than 2.5E-12 meters). ",
                       "The recommended value for convergence tolerance is 2.54E-7 meters.");
            return;
        }
        if (tol > 0.00254) {
            RangeError(68, "Input value of convergence tolerance too large (more than 2.54E-3 meters). ",
                       "The recommended value for convergence tolerance is 2.54E-7 meters.");
            return;
        }
    }
    if (!ReadList("the number of pile increments", {label, O.NumIncrements})) return;
    if (O.NumIncrements < MinIncrements) {
        RangeError(55, "Problem:  The number of pile increments is less than 40.",
                   "Solution: Increase the number of pile increments to more than 40, preferably more than 100 "
                   "increments.");
        return;
    }
    if (O.NumIncrements > MaxIncrements) {
        RangeError(56, "Problem:  The number of pile increments is more than 500.",
                   "Solution: Limit the number of pile increments to 500 or less.");
        return;
    }
    if (!ReadFlag("PrintSummaryOnly", O.PrintSummaryOnly,
                  "INPUT ERROR - Unrecognized command for print summary only option"))
        return;
    if (!ReadList("the printing increment", {label, O.PrintIncrement})) return;
    if (!ReadFlag("PrintPYCurves", O.PrintPYCurves,
                  "INPUT ERROR - Unrecognized command for p-y curve output depths option"))
        return;
    if (!ReadFlag("ComputeInteraction", O.ComputeInteraction,
                  "INPUT ERROR - Unrecognized command for compute interaction option", false, false))
        return;
    if (O.ComputeInteraction) {
        std::string first, code;
        if (!ReadList("the interaction code line", {first, code})) return;
        if (code == "AASHTO") {
            O.InteractionCode = 1;
        } else if (code == "ACI318") {
            O.InteractionCode = 2;
        } else if (code == "Eurocode2") {
            O.InteractionCode = 3;
        } else {
            OptionError("INPUT ERROR - Unrecognized command for interaction code option", false, false, code,
                        {"AASHTO", "ACI318", "Eurocode2"});
            return;
        }
    }
}

void ExchangeSort(double* values, int n) {
    for (int i = 1; i < n; ++i)
        for (int j = i + 1; j <= n; ++j)
            if (values[j] < values[i]) {
                double t = values[i];
                values[i] = values[j];
                values[j] = t;
            }
}

double FactoredAxialLoad(int c) { return CombinationFactoredLoads(c).Axial; }

void ComputeLrfdFactoredLoads() {
    const auto At = [](int i) { return static_cast<std::size_t>(i); };
    ProblemData& P = Problem;
    const int n = P.NumLrfdCombinations < MaxLrfdCombinations ? P.NumLrfdCombinations : MaxLrfdCombinations;
    for (int c = 1; c <= n; ++c) {
        LrfdCombination& C = P.LrfdCombinations[At(c)];
        C.FlexureResistanceFactor = UsableResistanceFactor(C.FlexureResistanceFactor);
        C.ShearResistanceFactor = UsableResistanceFactor(C.ShearResistanceFactor);
        const FactoredLoads f = CombinationFactoredLoads(c);
        C.FactoredHorizontal = f.Horizontal;
        C.FactoredVertical = f.Vertical;
        C.FactoredMoment = f.Moment;
        C.FactoredShear = f.Shear;
        C.FactoredAxial = f.Axial;
    }

    // The thrust list is built by the same routine as after reading, from the
    // same factored axial forces, so the two always agree.
    BuildAxialThrustList();
    const bool kips = P.Options.UnitSystem == UnitsUS;
    for (int c = 1; c <= n; ++c) {
        LrfdCombination& C = P.LrfdCombinations[At(c)];
        const double q = kips ? C.FactoredAxial / 1000.0 : C.FactoredAxial;
        C.ThrustIndex = 0;
        for (int j = 1; j <= P.NumAxialThrusts; ++j) {
            if (P.AxialThrusts[At(j)] == q) {
                C.ThrustIndex = j;
                break;
            }
        }
    }
}

// The thrusts of the section computations: the factored axial loads of the
// LRFD combinations, or else the AXIAL THRUST LOADS values together with the
// axial loads of the load cases, distinct and ascending (kips in US units).
void BuildAxialThrustList() {
    ProblemData& P = Problem;
    constexpr int Capacity = MaxAxialThrusts + MaxLoadCases;
    std::array<double, Capacity + 1> t{};
    int n = 0;
    if (P.Options.UseLRFD) {
        for (int c = 1; c <= P.NumLrfdCombinations && n < MaxAxialThrusts; ++c)
            t[static_cast<std::size_t>(++n)] = FactoredAxialLoad(c);
    } else {
        for (int i = 1; i <= P.NumThrustLoads && i <= MaxAxialThrusts; ++i)
            t[static_cast<std::size_t>(++n)] = P.ThrustLoads[static_cast<std::size_t>(i)];
        for (int i = 1; i <= P.NumLoadCases && i <= MaxLoadCases; ++i)
            t[static_cast<std::size_t>(++n)] = P.LoadCases[static_cast<std::size_t>(i)].AxialLoad;
    }
    if (P.Options.UnitSystem == UnitsUS)
        for (int i = 1; i <= n; ++i) t[static_cast<std::size_t>(i)] /= 1000.0;
    ExchangeSort(t.data(), n);
    int m = 0;
    for (int i = 1; i <= n; ++i)
        if (m == 0 || t[static_cast<std::size_t>(i)] != t[static_cast<std::size_t>(m)])
            t[static_cast<std::size_t>(++m)] = t[static_cast<std::size_t>(i)];
    if (m > MaxAxialThrusts) {
        InputError(ErrCountOutOfRange,
                   "Problem:  The axial thrust loads and the axial loads of the load cases give " + std::to_string(m) +
                       " different axial thrusts; the bending stiffness tables hold at most " +
                       std::to_string(MaxAxialThrusts) + ".",
                   "Solution: Use fewer different axial loads, or leave out the AXIAL THRUST LOADS section.");
        return;
    }
    for (int i = 1; i <= m; ++i) P.AxialThrusts[static_cast<std::size_t>(i)] = t[static_cast<std::size_t>(i)];
    P.NumAxialThrusts = m;
}

namespace {

// The options fix the units of every value read after them and the limits of
// the analysis: without them the run would read SI values as US customary
// ones with a tolerance and deflection limit of zero.
void MissingOptions(const std::string& before) {
    const std::string problem =
        before.empty() ? "Problem:  The input has no OPTIONS section: the units, convergence tolerance, deflection "
                         "limit and iteration limit of the run are undefined."
                       : "Problem:  The section " + before +
                             " comes before the OPTIONS section, whose units its values need.";
    InputError(ErrMissingSection, problem,
               "Solution: Write the OPTIONS section right after the TITLE section, before any data section.");
}

}  // namespace

void ReadKeywordInput() {
    std::string line;
    bool b_Options = false;
    for (;;) {
        if (!ReadRecord(line, "the next section keyword line (or END)")) return;
        if (!b_Options && line != "TITLE" && line != "OPTIONS" && line != "END" && IsSectionKeyword(line)) {
            MissingOptions(line);
            return;
        }
        if (line == "TITLE") {
            std::string title;
            for (int i = 1; i <= 5; ++i) {
                if (!ReadRecord(title, "the title lines")) return;
                // A keyword line among the five title lines means that the
                // TITLE section is short and has taken the next section's
                // keyword: say so, rather than report a later line as unrecognized.
                if (IsSectionKeyword(title)) {
                    InputError(ErrTitleTakesKeyword,
                               "Problem:  Line " + std::to_string(InputLineNumber()) + ", title line " +
                                   std::to_string(i) + " of 5, is the keyword line \"" + title +
                                   "\": the TITLE section holds fewer than five title lines.",
                               "Solution: Give exactly five lines after TITLE; leave unused title lines empty.");
                    return;
                }
                Problem.Title[static_cast<std::size_t>(i)].Set(title);
            }
        } else if (line == "OPTIONS") {
            b_Options = true;
            ReadOptions();
        } else if (line == "SECTIONS") {
            ReadSections();
        } else if (line == "AXIAL THRUST LOADS") {
            ReadAxialThrustLoads();
        } else if (line == "SOIL LAYERS") {
            ReadSoilLayers();
        } else if (line == "TIP SHEAR") {
            ReadTipShear();
        } else if (line == "PILE BATTER AND SLOPE") {
            ReadBatterAndSlope();
        } else if (line == "GROUPEFF" || line == "GROUP EFFECT FACTORS") {
            ReadGroupFactors();
        } else if (line == "LRFD LOADS") {
            ReadLrfdLoads();
        } else if (line == "LRFD FACTORS AND CASES") {
            ReadLrfdFactors();
        } else if (line == "LOADING") {
            ReadLoading();
        } else if (line == "SOIL MOVEMENTS") {
            if (Problem.Options.UseSoilMovement) ReadSoilMovements();
        } else if (line == "DEPTHS OF PRINTED P-Y CURVES") {
            if (Problem.Options.PrintPYCurves) ReadPrintedPyDepths();
        } else if (line == "AXIAL ANALYSIS") {
            ReadAxialAnalysis();
        } else {
            break;
        }
        if (Failed()) return;
    }
    if (line != "END") {
        UnrecognizedLine(line);
        return;
    }
    if (!b_Options) {
        MissingOptions("");
        return;
    }
    // The pile analysis takes its moment-curvature tables at the thrusts of its
    // load cases whether or not the interaction study is asked for: that study
    // chooses thrusts of its own.
    BuildAxialThrustList();
}

}  // namespace kestro
