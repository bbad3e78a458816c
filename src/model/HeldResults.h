#pragma once
// Results of the last run held in memory, for front ends linked with the
// engine (the command, the Python model library) that build the results
// files from them instead of reading the plot file back. Not exported from
// the shared library: its only entry point stays KGO.
//
// Holding is off unless a front end asks for it; a run then keeps every plot
// record as it was written, and per load case the station values the plot
// file does not carry.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kestro {

// One record of the plot file: its label (from "Line " to the end of the
// line) and the numbers of its value fields as the file holds them (reals
// rounded to their printed digits, integers exactly), so that a front end
// reading them gets the values a reader of the file would.
struct HeldRecord {
    std::string Label;
    std::array<double, 8> Numbers{};
    int Count = 0;
    // The values' text, kept only when a field did not read back as a finite
    // number or there were more fields than Numbers holds (the front end then
    // reads the text as it would read the file).
    std::string ValuesText;
    bool HasText = false;
};

// Values of one station of a load case that the plot file does not carry,
// at full precision. Pu is the ultimate soil resistance per length of the
// station's p-y criterion with the depth's p-multiplier applied; 0 where the
// station has none (above the ground, user p-y curves, elastic subgrade).
struct HeldStation {
    double Slope = 0.0, EI = 0.0, Es = 0.0, Pu = 0.0;
};

struct HeldResults {
    std::vector<HeldRecord> Plot;                      // in the order written
    std::vector<std::vector<HeldStation>> CaseStations;  // per load case with stations, in order
    bool Held = false;                                 // the last run was held
};

// Asks the following runs to hold their results (or no longer to).
void HoldResults(bool on);
bool HoldingResults();
// The results of the last run; cleared when a run starts.
HeldResults& Held();
const HeldResults& LastHeldResults();
void ClearHeldResults();

// Keeps one plot record: `values` the record's value text, `label` its label.
void HoldPlotRecord(std::string_view values, std::string_view label);
// Starts the station list of a load case's plot table and keeps one station.
void HoldCaseStart();
void HoldStation(const HeldStation& station);

}  // namespace kestro
