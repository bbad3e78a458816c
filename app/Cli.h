#pragma once
// The kestro command: prepares a run folder, writes NAMES.DAT, calls KGO and
// turns the run result into a one-line outcome and an exit status.

#include <iosfwd>
#include <string>
#include <vector>

#include "ResultsCommand.h"

namespace kestro::cli {

// Exit statuses of the command. 64, 66 and 73 are those of sysexits.h: the
// command could not run the analysis at all, as against 2, an analysis that
// ran and ended by an error.
constexpr int ExitNormal = 0;
constexpr int ExitWarnings = 1;
constexpr int ExitError = 2;
constexpr int ExitUsage = 64;
constexpr int ExitNoInput = 66;     // input file missing, unreadable or a folder
constexpr int ExitCantCreate = 73;  // output folder or NAMES.DAT cannot be created, or a results file written

struct RunRequest {
    std::string Input;
    std::string OutDir;       // empty: a folder beside the input named after it
    std::string User;
    std::string Company;
    bool Quiet = false;       // no progress lines or error text on the error stream
    bool CheckOnly = false;   // kestro check: read, check and echo the input only
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
// The text of the error that ended a run: the block before the termination
// line of the report (or, without one, the last error block of the message
// file), from its heading on; empty when none is found.
std::string ErrorText(const std::string& report, const std::string& messages);
// That error on one line: its heading and the statement of its problem (or,
// without one, the lines after the heading up to the solution), e.g. "Input
// Data Error No. 32: The value of elastic modulus ... greater than zero.";
// empty when no error text is found.
std::string ErrorReason(const std::string& report, const std::string& messages);
// The warning blocks of the report before its summary of warnings (the input
// echo's checks and the reader's warnings), each heading and body as one text.
std::vector<std::string> EchoWarnings(const std::string& report);
int ExitStatusFor(const Outcome& o);
std::string OutcomeLine(const Outcome& o);

// Runs the command; returns the exit status.
int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestro::cli
