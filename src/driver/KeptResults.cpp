#include "driver/KeptResults.h"

#include <array>
#include <cstddef>

#include "model/Limits.h"

namespace kestro {
namespace {

// One table for the run: about 1.6 MB, held as a static object (never on the
// stack); a reset clears the counts only, and readers never go past them.
struct KeptTable {
    std::array<int, MaxLoadCases + 1> Count{};
    std::array<std::array<KeptStationValues, MaxStations + 1>, MaxLoadCases + 1> Values{};
};
KeptTable Kept;

bool InRange(int c, int i) { return c >= 1 && c <= MaxLoadCases && i >= 1 && i <= MaxStations; }

}  // namespace

void ResetKeptResults() { Kept.Count.fill(0); }

void KeepStationValues(int c, int i, const KeptStationValues& v) {
    if (!InRange(c, i)) return;
    const auto cc = static_cast<std::size_t>(c);
    Kept.Values[cc][static_cast<std::size_t>(i)] = v;
    if (i > Kept.Count[cc]) Kept.Count[cc] = i;
}

int KeptStationCount(int c) { return c >= 1 && c <= MaxLoadCases ? Kept.Count[static_cast<std::size_t>(c)] : 0; }

KeptStationValues KeptStation(int c, int i) {
    if (!InRange(c, i) || i > Kept.Count[static_cast<std::size_t>(c)]) return {};
    return Kept.Values[static_cast<std::size_t>(c)][static_cast<std::size_t>(i)];
}

}  // namespace kestro
