#pragma once
// The kestro command's side of the results files: writing them after a run and
// the `view` subcommand that rebuilds them from an existing plot file.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ResultFiles.h"
#include "model/RunState.h"

namespace kestro::cli {

// The command's version (kestro --version): the engine's, written once in model/RunState.h
// ("(6.0.20)" there, "6.0.20" here).
inline constexpr std::string_view CommandVersion = VersionText.substr(1, VersionText.size() - 2);

struct ResultsRequest {
    bool Json = true;
    bool Html = true;
    results::DisplayUnits Units = results::DisplayUnits::Input;  // of the HTML page
    bool Csv = false;          // --csv: the tidy tables NAME-<table>.csv
    bool Pdf = false;          // --pdf: NAME-report.pdf printed from the page
    std::string Paper = "a4";  // --paper a4|letter
};

// Writes NAME-results.json and NAME-report.html (and with --csv the tables,
// with --pdf NAME-report.pdf) in `dir` from the results the engine has just
// held in memory (a fresh run in this process; the plot file is read when the
// run held none) and the run's report and message texts; prints their paths
// on `out`. Returns false (after a message on `err`) when a file cannot be
// written. `inputPath` is the analysed input (its hash goes into the PDF's
// title block).
bool WriteHeldRunResults(const std::string& dir, const std::string& name, std::optional<int> result,
                         const std::string& reportText, const std::string& messageText, const ResultsRequest& req,
                         std::ostream& out, std::ostream& err, const std::string& inputPath);

// kestro view PLOTFILE [-o OUTDIR] [--no-html] [--no-json] [--units us|si|engine] [--csv] [--pdf [--paper P]]

int ViewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Takes --no-html, --no-json, --csv or --pdf; false for any other argument.
bool ResultsOption(const std::string& arg, ResultsRequest& req);
// The value of --units: "us", "si", "engine" or "input"; false for any other.
bool UnitsOption(const std::string& value, ResultsRequest& req);
constexpr const char* UnitsProblem = "kestro: --units takes us, si, engine or input\n";
// The value of --paper: "a4" or "letter"; false for any other.
bool PaperOption(const std::string& value, ResultsRequest& req);
constexpr const char* PaperProblem = "kestro: --paper takes a4 or letter\n";
constexpr const char* NoChromium =
    "--pdf prints the HTML page with headless Chromium, which was not found (install the Debian package "
    "chromium, or set KESTRO_CHROMIUM to the browser's path)";
// Exit status when --pdf is asked for and no Chromium is found (sysexits.h EX_UNAVAILABLE).
constexpr int ExitUnavailable = 69;

}  // namespace kestro::cli
