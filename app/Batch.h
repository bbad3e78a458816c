#pragma once
// Many analyses in one command: `kestro batch` runs a list of input files on a
// pool of worker processes (the engine keeps one model per process) and
// writes one summary table; `kestro sweep` makes those inputs from a template
// by replacing one value with each value of a list.

#include <iosfwd>
#include <string>
#include <vector>

namespace kestro::cli {

// One load case of a finished run, as its report's output summary gives it.
struct CaseSummary {
    int Case = 0;
    std::string HeadDeflection, MaxMoment, MaxMomentDepth, MaxShear;  // numbers as printed
    std::string DeflectionUnit, MomentUnit, DepthUnit, ShearUnit;
};

// One input of a batch and how its run ended.
struct BatchEntry {
    std::string Input;        // the path as given (or as found in a folder or list)
    std::string SweepValue;   // the value put into the template, for a sweep
    std::string OutDir;
    bool b_Finished = false;  // the run reached its end (whatever its outcome)
    std::string Outcome;      // "normal", "warnings", "error" or "not run"
    int Result = 0;           // the engine's run result
    std::string Message;      // why an input could not be run
    std::string ErrorReason;  // for a run ended by an error: the error's own reason, one line
    std::vector<CaseSummary> Cases;
};

// The load cases of a report's output summaries, in report order.
std::vector<CaseSummary> ReadCaseSummaries(const std::string& report);

// The inputs named by the arguments: files as given; the *.kin files of a
// folder, sorted by name; the lines of a list file given as @LIST.
// Returns false, with a message, when an argument names nothing usable.
bool CollectInputs(const std::vector<std::string>& args, std::vector<std::string>& inputs, std::string& problem);

// Parses "I/N" (1 <= I <= N); the shard keeps the I-th of N contiguous
// blocks of the whole list, so shards 1..N together hold every input exactly
// once whatever scheduler starts them.
bool ParseShard(const std::string& text, int& index, int& count);

// Writes the summary table as CSV (one row per load case, one row for a run
// without cases) and as JSON. The reason of a run ended by an error is the
// last CSV column and the JSON field "error_reason".
void WriteSummaryCsv(std::ostream& out, const std::vector<BatchEntry>& entries);
void WriteSummaryJson(std::ostream& out, const std::vector<BatchEntry>& entries);

// The commands; each returns the exit status.
int BatchMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int SweepMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Replaces the value number `field` (1-based, values separated as the input
// reader separates them) of line `line` (1-based) of `text`. Returns false
// when the line or the field does not exist.
bool ReplaceValue(std::string& text, int line, int field, const std::string& value);
// Line `line` (1-based) of `text` without its line end; empty when there is none.
std::string LineOf(const std::string& text, int line);
// Value number `field` (1-based) of one line, as ReplaceValue counts them;
// empty when there is none.
std::string FieldOf(const std::string& line, int field);

}  // namespace kestro::cli
