// The per-run state of the p-y criteria and its reset.

#include "model/SoilState.h"

namespace kestro {

SoilState Soil;

void ResetSoilState() { Soil = SoilState{}; }

}  // namespace kestro
