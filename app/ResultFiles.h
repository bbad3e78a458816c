#pragma once
// The results of one run gathered from the engine's three files, and the
// writing of the JSON results file and the HTML report beside them.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "PlotReader.h"
#include "RunReport.h"

namespace kestro::results {

// The whole text of a file; empty when it is missing or unreadable.
std::string ReadFileText(const std::filesystem::path& path);
// Writes the text to a partial file beside `path` and renames it into place when
// complete; false (and no partial file left) when it cannot be written.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& text);

// The units the HTML page shows: those of the input (US customary: ft, in,
// kip, kip-ft; SI: m, mm, kN, kN-m), either system, or the engine's own units
// (those of the plot and JSON files). General-unit runs are shown as they are.
enum class DisplayUnits { Input, Us, Si, Engine };

struct RunResults {
    std::string Name;  // the run's name: the input file's stem
    std::string PlotFile, ReportFile, MessageFile;  // file names, as written beside each other
    PlotResults Plot;
    RunFacts Facts;
};

// Reads the plot, report and message files; any of them may be missing or cut short.
// `result` is the engine's run result when known (a fresh run), else empty.
RunResults LoadRunResults(const std::string& plotPath, const std::string& reportPath,
                          const std::string& messagePath, std::optional<int> result);

// The results of the run that has just ended in this process, from the plot
// records the engine held in memory (see HoldResults) and the texts of its
// report and message files; the same results LoadRunResults reads from the
// files, with the slope, EI and Es of every station besides. Without held
// records (the run did not hold them) the plot file is read.
RunResults HeldRunResults(const std::string& plotPath, const std::string& reportPath, const std::string& messagePath,
                          const std::string& reportText, const std::string& messageText, std::optional<int> result);

// The run name and the report and message files beside a plot file named NAME-plot.txt.
struct RunFileSet {
    std::string Name, Plot, Report, Messages;
};
RunFileSet FilesBesidePlot(const std::string& plotPath);

struct WrittenFiles {
    std::vector<std::string> Paths;  // files written
    std::string Error;               // first failure, empty when all were written
};

// Writes NAME-results.json and NAME-report.html (in the display units) into
// `dir`, and with `csv` the tidy tables NAME-<table>.csv.
WrittenFiles WriteResultFiles(const RunResults& r, const std::string& dir, bool json, bool html,
                              DisplayUnits units = DisplayUnits::Input, bool csv = false);

}  // namespace kestro::results
