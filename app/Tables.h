#pragma once
// Derived tables of a run's results: the mobilised soil resistance p / p_u of
// every station, the envelopes of deflection, moment and shear over the load
// cases, and the tidy CSV tables (one row per observation, units in the
// column names) written by `kestro run --csv`.

#include <optional>
#include <string>
#include <vector>

#include "ResultFiles.h"

namespace kestro::results {

// The ultimate soil resistance of one station and the share of it the soil
// reaction uses. Without a value, `Reason` says why.
struct Mobilised {
    std::optional<double> Pu;     // force per length, plot-file units
    std::optional<double> Ratio;  // |p| / p_u
    std::string Reason;           // empty when Pu is set
};
// Station `index` (0-based, as in LoadCase::Stations) of load case `c`.
Mobilised MobilisedAt(const RunResults& r, const LoadCase& c, std::size_t index);

// Largest and smallest deflection, moment and shear at each depth over every
// load case with a complete station table, and the case that gives each.
// Cases whose stations lie at other depths (never in one run of the engine)
// are left out and named.
struct Envelope {
    std::vector<int> Cases;     // load cases taken
    std::vector<int> LeftOut;   // cases with stations but other depths
    std::vector<double> Depth, MinDeflection, MaxDeflection, MinMoment, MaxMoment, MinShear, MaxShear;
    std::vector<int> CaseMinDeflection, CaseMaxDeflection, CaseMinMoment, CaseMaxMoment, CaseMinShear,
        CaseMaxShear;
};
// Empty `Cases` when no case has a complete station table.
Envelope ComputeEnvelope(const PlotResults& p);

// The CSV tables of a run: file name suffix ("stations") and text. A table
// without rows for this run (no LRFD checks, no printed p-y curve) is not
// written.
struct CsvTable {
    std::string Suffix, Text;
};
std::vector<CsvTable> CsvTables(const RunResults& r);

// A unit as a column-name suffix: "in-lb" -> "in_lb", "lb/in" -> "lb_per_in".
std::string UnitTag(const std::string& unit);

}  // namespace kestro::results
