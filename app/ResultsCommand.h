#pragma once
// The kestro command's side of the results files: writing them after a run and
// the `view` subcommand that rebuilds them from an existing plot file.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "ResultFiles.h"

namespace kestro::cli {

struct ResultsRequest {
    bool Json = true;
    bool Html = true;
    results::DisplayUnits Units = results::DisplayUnits::Input;  // of the HTML page
};

// Reads NAME-plot.txt, NAME-report.txt and NAME-messages.txt in `dir` and writes
// NAME-results.json and NAME-report.html there; prints their paths on `out`.
// Returns false (after a message on `err`) when a file cannot be written.
bool WriteRunResults(const std::string& dir, const std::string& name, std::optional<int> result,
                     const ResultsRequest& req, std::ostream& out, std::ostream& err);

// kestro view PLOTFILE [-o OUTDIR] [--no-html] [--no-json] [--units us|si|engine]
// The same from the results the engine has just held in memory and the run's
// report and message texts (a fresh run in this process).
bool WriteHeldRunResults(const std::string& dir, const std::string& name, std::optional<int> result,
                         const std::string& reportText, const std::string& messageText, const ResultsRequest& req,
                         std::ostream& out, std::ostream& err);

int ViewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Takes --no-html or --no-json; false for any other argument.
bool ResultsOption(const std::string& arg, ResultsRequest& req);
// The value of --units: "us", "si", "engine" or "input"; false for any other.
bool UnitsOption(const std::string& value, ResultsRequest& req);
constexpr const char* UnitsProblem = "kestro: --units takes us, si, engine or input\n";

}  // namespace kestro::cli
