#include "model/HeldResults.h"

#include <charconv>
#include <cmath>

namespace kestro {
namespace {

struct HeldState {
    bool Holding = false;
    HeldResults Results;
};

HeldState& State() {
    static HeldState state;
    return state;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The record number of a label "Line NN...".
int RecordNumber(std::string_view label) {
    int n = 0;
    for (std::size_t i = 5; i < label.size() && i < 8 && label[i] >= '0' && label[i] <= '9'; ++i)
        n = n * 10 + (label[i] - '0');
    return n;
}

}  // namespace

void HoldResults(bool on) { State().Holding = on; }
bool HoldingResults() { return State().Holding; }
HeldResults& Held() { return State().Results; }
const HeldResults& LastHeldResults() { return State().Results; }

void ClearHeldResults() {
    HeldResults& r = State().Results;
    // The vectors keep their capacity: a batch of runs in one process does
    // not allocate the tables again for every run.
    r.Plot.clear();
    r.CaseStations.clear();
    r.Held = State().Holding;
}

void HoldPlotRecord(std::string_view values, std::string_view label) {
    HeldState& s = State();
    if (!s.Holding) return;
    HeldRecord& rec = s.Results.Plot.emplace_back();
    rec.Label.assign(label);
    // The fields are read back from the text just formatted for the file: the
    // numbers are then exactly those a reader of the file gets.
    std::size_t i = 0;
    bool ok = true;
    while (i < values.size()) {
        while (i < values.size() && IsBlank(values[i])) ++i;
        std::size_t j = i;
        while (j < values.size() && !IsBlank(values[j])) ++j;
        if (j > i) {
            const char* first = values.data() + i;
            const char* last = values.data() + j;
            if (*first == '+') ++first;
            double v = 0.0;
            auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
            if (rec.Count >= static_cast<int>(rec.Numbers.size()) || ec != std::errc() || ptr != last ||
                !std::isfinite(v)) {
                ok = false;
                break;
            }
            rec.Numbers[static_cast<std::size_t>(rec.Count++)] = v;
        }
        i = j;
    }
    // The axial records (Line 21 and after) are read by the front end from
    // their text, as it reads them from the file.
    if (!ok || RecordNumber(label) > 20) {
        rec.ValuesText.assign(values);
        rec.HasText = true;
    }
}

void HoldCaseStart() {
    if (State().Holding) State().Results.CaseStations.emplace_back();
}

void HoldStation(const HeldStation& station) {
    HeldState& s = State();
    if (!s.Holding || s.Results.CaseStations.empty()) return;
    s.Results.CaseStations.back().push_back(station);
}

}  // namespace kestro
