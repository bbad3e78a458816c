#pragma once
// Unit systems: report labels and the one-time conversion of the input to the
// internal units (pounds and inches for US customary, kN and meters for SI,
// the user's own consistent units for general units).

namespace kestro {

void SetUnitLabels(int unitSystem);

// Converts every field of the model read in feet, per cubic foot, per square
// foot (US customary) or millimeters (SI) to the internal units. Runs at most
// once per run: a second call does nothing.
void ConvertToInternalUnits();

}  // namespace kestro
