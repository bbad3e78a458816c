#pragma once
// The kestro command: prepares a run folder, writes NAMES.DAT, calls KGO and
// turns the run result into a one-line outcome and an exit status.

#include <iosfwd>
#include <string>
#include <vector>

#include "ResultsCommand.h"

namespace kestro::cli {

// Exit statuses of the command.
constexpr int ExitNormal = 0;
constexpr int ExitWarnings = 1;
constexpr int ExitError = 2;
constexpr int ExitUsage = 64;

struct RunRequest {
    std::string Input;
    std::string OutDir;       // empty: a folder beside the input named after it
    std::string User;
    std::string Company;
    bool Quiet = false;       // no progress lines on the error stream
    ResultsRequest Results;   // which results files to write after the run
};

struct Outcome {
    int Result = 0;            // run result returned by the engine
    bool EndedByError = false;
    bool Warnings = false;
    std::string ErrorCode;     // e.g. INP00025, when the report names one
};

// Classifies a finished run from its result and the texts of its message and report files.
Outcome Classify(int result, const std::string& messages, const std::string& report);
int ExitStatusFor(const Outcome& o);
std::string OutcomeLine(const Outcome& o);

// Runs the command; returns the exit status.
int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestro::cli
