#pragma once
// The warning registry: non-fatal conditions are raised as numbered warnings
// and summarised once at the end of the report.

#include <array>
#include <cstdint>
#include <iosfwd>

#include "model/Limits.h"

namespace kestro {

struct WarningRegistry {
    std::array<int32_t, MaxWarnings + 1> WarningCount{};   // 1..4000 by warning number
    int32_t LastWarningCount = 0;
    std::array<int32_t, MaxWarnings + 1> WarningList{};    // entry n: signed number of the raise that reached count n
    std::array<bool, MaxWarnings + 1> WarningTextPending{};
};

extern WarningRegistry Warnings;

// Raises a warning given by its signed (negative) number; |number| is 1..4000.
void RaiseWarning(int number);
// Zeroes every counter and sets every text flag (start of a load case).
void ClearWarnings();
// Empties counters, list and LastWarningCount at the start of a run; the text
// flags keep their state.
void ResetWarningRegistry();
// Writes the summary page and sets LastWarningCount to the number of distinct
// warning numbers with a nonzero counter.
void WriteWarningSummary(std::ostream& out);
// The last nonzero entry of the warning list: the run result when exactly one
// kind of warning was raised.
int LastWarningRaised();

}  // namespace kestro
