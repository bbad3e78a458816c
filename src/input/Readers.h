#pragma once
// Readers of the keyword sections, each called after its keyword line.

namespace kestro {

void ReadSections();            // SECTIONS
void ReadSoilLayers();          // SOIL LAYERS
void ReadLoading();             // LOADING
void ReadAxialThrustLoads();    // AXIAL THRUST LOADS
void ReadLrfdLoads();           // LRFD LOADS
void ReadLrfdFactors();         // LRFD FACTORS AND CASES
void ReadTipShear();            // TIP SHEAR
void ReadBatterAndSlope();      // PILE BATTER AND SLOPE
void ReadGroupFactors();        // GROUPEFF, GROUP EFFECT FACTORS
void ReadSoilMovements();       // SOIL MOVEMENTS
void ReadPrintedPyDepths();     // DEPTHS OF PRINTED P-Y CURVES

}  // namespace kestro
