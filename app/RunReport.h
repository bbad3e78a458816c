#pragma once
// What a results file needs besides the plot records, taken from the report and
// message files the engine writes beside the plot file: the title, the ground
// surface and soil layers of the input echo, the names of LRFD load cases, the
// warnings with their counts and the run's outcome with the error text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestro::results {

struct SoilLayerInfo {
    int Number = 0;
    std::string Description;         // "soft clay, p-y criteria by Matlock, 1970"
    double Top = 0.0, Bottom = 0.0;  // below the pile head, in the plot file's length unit
};

struct WarningInfo {
    int Count = 0;
    std::string Text;  // the warning's text (empty when the report printed it earlier)
};

// One row of the report's summary of pile responses (engine units, as the plot file).
struct CaseSummaryRow {
    int Case = 0, LoadType = 0;
    char Condition1Kind = '?';  // 'V' shear or 'y' deflection
    char Condition2Kind = '?';  // 'M' moment, 'S' slope, 'R' rotational stiffness
    double Condition1 = 0.0, Condition2 = 0.0, AxialLoad = 0.0, HeadRotation = 0.0;
};

// One row of the report's LRFD performance table: factored moment against phi Mn.
struct LrfdCheckRow {
    int Combination = 0, Section = 0;
    double ResistanceFactor = 0.0;
    bool Checked = false;             // false: the section has no nominal moment capacity
    double FactoredCapacity = 0.0;    // phi Mn
    double MaxMoment = 0.0;           // the factored moment in the section
    bool Passed = false;
    std::string Name;                 // "Strength I"
};

// A pile section of the input echo, top to bottom: length and width in the
// plot file's length unit.
struct SectionGeometry {
    int Number = 0;
    double Length = 0.0, TopWidth = 0.0, BottomWidth = 0.0;
    std::string Shape;  // "Circular Pipe", "Strong H-Pile", ...
};

// One interaction diagram of the report: axial thrust against the moment
// capacity at a compression strain of 0.003, in the section units (kip and
// kip-in, or kN and kN-m).
struct InteractionDiagram {
    double DirectionDegrees = 0.0;
    std::vector<double> Thrust, Moment;
};

// The report's table of a load case's printed stations (every few stations):
// depth in the plot length unit, slope in rad, bending stiffness EI in the
// section EI unit (kip-in2 or kN-m2).
struct PrintedStations {
    int Case = 0;
    std::vector<double> Depth, Slope, EI;
};

enum class RunStatus { Normal, Warnings, Error, Unfinished, Unknown };

struct RunFacts {
    bool ReportFound = false, MessagesFound = false;
    std::vector<std::string> Title;
    bool HasGroundSurface = false;
    double GroundSurface = 0.0;  // below the pile head, plot length unit
    std::vector<SoilLayerInfo> Layers;
    std::vector<std::string> CaseNames;  // by load case number - 1; empty names for ordinary cases
    std::vector<CaseSummaryRow> CaseSummaries;  // the report's summary of pile responses
    std::vector<LrfdCheckRow> LrfdChecks;       // the LRFD performance table (LRFD runs)
    std::vector<SectionGeometry> SectionShapes;  // section lengths and widths of the echo
    double PileLength = 0.0;                     // total pile length, plot length unit; 0 when not read
    double BatterDegrees = 0.0;                  // pile batter angle
    std::vector<InteractionDiagram> Interaction;  // when the run computed interaction diagrams
    std::vector<PrintedStations> CaseStations;    // per load case whose station table the report prints

    RunStatus Status = RunStatus::Unknown;
    bool WithWarnings = false;
    std::optional<int> Result;        // the engine's run result, when the caller knows it
    std::optional<int> ErrorNumber;   // the run's error number (100 + n input, 200 + n runtime, ...)
    std::string ErrorCode;            // "INP00090", when the report names one
    std::string ErrorHeading;         // "Input Data Error No. 90"
    std::string ErrorText;            // the error's message block from the report
    std::vector<WarningInfo> Warnings;
};

// Depths are turned into the plot file's length unit: the input echo gives them
// in ft in US customary runs, where the plot records use inches.
// `result` is the engine's run result when the caller has it (a fresh run).
RunFacts ReadRunFacts(const std::string& report, const std::string& messages, std::optional<int> result);

// A one-line statement of the outcome, e.g. "The analysis ended by error 190
// (Input Data Error No. 90, INP00090)."
std::string OutcomeSentence(const RunFacts& f);
const char* StatusName(RunStatus s);  // "normal", "warnings", "error", "unfinished", "unknown"

// The lines of a text, without their line ends ("\n" or "\r\n").
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace kestro::results
