#pragma once
// The JSON results file: every value of the plot file with its unit, the run's
// outcome and warnings, the soil profile and the names of LRFD load cases.
// Layout and schema version: docs/results-json.md.

#include <string>

#include "ResultFiles.h"

namespace kestro::results {

constexpr int ResultsSchemaVersion = 1;

// Shortest text that reads back to the same double ("0.84290971", "5047814.9"):
// a value read from the plot file is written with the digits it had there.
std::string ExactNumber(double v);

// A load case of which the plot file holds neither stations nor a summary: it
// failed or was never reached, and has no results.
bool CaseFailed(const LoadCase& c);

// The "run" object of the file alone (outcome, result, error, warnings), unindented.
std::string RunJsonText(const RunResults& r);
// The file's text: indented, numbers in their shortest exact form.
std::string ResultsJsonText(const RunResults& r);

}  // namespace kestro::results
