#pragma once
// The station values the engine kept in the run that has just ended in this
// process (slope, EI, Es, p_u), for the results files. Only for a caller that
// ran KGO itself, right after it returned: the engine keeps the last run's.

#include <utility>
#include <vector>

#include "ResultFiles.h"
#include "driver/KeptResults.h"

namespace kestro::results {

// Every load case whose station table the plot file holds completely, with
// the same number of stations as the engine kept.
inline std::vector<CaseStationValues> EngineStationValues(const PlotResults& p) {
    std::vector<CaseStationValues> all;
    for (const LoadCase& c : p.LoadCases) {
        const int n = KeptStationCount(c.Number);
        if (n < 1 || !c.StationsComplete || static_cast<std::size_t>(n) != c.Stations.size()) continue;
        CaseStationValues v;
        v.Case = c.Number;
        for (int i = 1; i <= n; ++i) {
            const KeptStationValues k = KeptStation(c.Number, i);
            v.Slope.push_back(k.Slope);
            v.EI.push_back(k.EI);
            v.Es.push_back(k.Es);
            v.Pu.push_back(k.Pu);
        }
        all.push_back(std::move(v));
    }
    return all;
}

}  // namespace kestro::results
