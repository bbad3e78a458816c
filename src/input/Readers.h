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

// Block readers of one pile section s (called by ReadSections).
void ReadConcrete(int s);
void ReadRebar(int s);
void ReadStrands(int s);
void ReadElasticSection(int s);               // type 11
void ReadElasticSectionWithCapacity(int s);   // type 12

// Fills the two pile property table rows (top and bottom) of section s from
// its input values, in input length units for the depths.
void SetSectionPropertyRows(int s);

}  // namespace kestro
