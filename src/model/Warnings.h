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
    // Raises of each kind in the whole run: the counters above start again at
    // every load case, but a kind raised by an earlier case or before the
    // cases (section analysis, input) is still a warning of the run.
    std::array<int32_t, MaxWarnings + 1> RunCount{};
};

extern WarningRegistry Warnings;

// Raises a warning given by its signed (negative) number; |number| is 1..4000.
void RaiseWarning(int number);

// The warnings raised while a tape records, in order, so that a computation
// whose result is kept and used again can raise them again exactly as a
// repeated computation would (the counts in the summary stay the same).
struct WarningTape {
    static constexpr int Capacity = 8;
    std::array<int32_t, Capacity> Numbers{};
    int32_t Count = 0;
    bool b_Overflow = false;  // more raises than it holds: it cannot stand in for the computation
};
// Starts recording every RaiseWarning call into `tape` (emptied first);
// nullptr stops recording.
void RecordWarnings(WarningTape* tape);
// Raises the recorded warnings again, in their order.
void ReplayWarnings(const WarningTape& tape);
// Zeroes every counter and sets every text flag (start of a load case).
void ClearWarnings();
// Empties counters, list and LastWarningCount and sets every text flag at the
// start of a run.
void ResetWarningRegistry();
// Number of distinct warning kinds the run raised: those counted in the
// current load case, and those of earlier stages that a later case cleared.
int CountWarningKinds();
// Writes the summary page and sets LastWarningCount to CountWarningKinds(). A
// kind cleared by a later load case is listed with its count in the run.
void WriteWarningSummary(std::ostream& out);
// The last nonzero entry of the warning list: the run result when exactly one
// kind of warning was raised.
int LastWarningRaised();

}  // namespace kestro
