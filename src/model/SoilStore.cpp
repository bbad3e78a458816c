// The per-run state of the p-y criteria and its reset.

#include "model/SoilState.h"

namespace kestro {

SoilState Soil;

namespace {
std::uint64_t Generation = 1;
}

std::uint64_t KeptStationGeneration() { return Generation; }
void NewKeptStationGeneration() { ++Generation; }

void ResetSoilState() {
    Soil = SoilState{};
    NewKeptStationGeneration();
}

}  // namespace kestro
