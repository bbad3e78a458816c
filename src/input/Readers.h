#pragma once
// Readers of the keyword sections, each called after its keyword line.

namespace kestro {

struct PileSection;
struct PropertyRow;

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

// The dimension readers of the section types, each named by its type's row
// (section/SectionTypes.cpp): the values after the section length.
bool ReadRectangleDimensions(int s, PileSection& S, int& eiSlots);            // width and depth
bool ReadShaftDiameter(int s, PileSection& S, int& eiSlots);                  // diameter
bool ReadCasedShaftDimensions(int s, PileSection& S, int& eiSlots);           // casing, then the core pipe
bool ReadPipeDimensions(int s, PileSection& S, int& eiSlots);                 // pipe wall and steel
bool ReadPrestressedDimensions(int s, PileSection& S, int& eiSlots);          // width, void, chamfer
bool ReadElasticDimensions(int s, PileSection& S, int& eiSlots);              // the elastic section block
bool ReadElasticDimensionsWithCapacity(int s, PileSection& S, int& eiSlots);  // the same with plastic moments
bool ReadUserEIDimensions(int s, PileSection& S, int& eiSlots);               // width and moment-EI curves
bool ReadNoDimensions(int s, PileSection& S, int& eiSlots);                   // nothing after the length

// The gross properties of the pile property table rows of the section types,
// each named by its type's row.
void ConcreteGrossProperties(const PileSection& S, PropertyRow& top, PropertyRow& bottom);
void PipeGrossProperties(const PileSection& S, PropertyRow& top, PropertyRow& bottom);
void ElasticGrossProperties(const PileSection& S, PropertyRow& top, PropertyRow& bottom);
void UserEIGrossProperties(const PileSection& S, PropertyRow& top, PropertyRow& bottom);
void NoGrossProperties(const PileSection& S, PropertyRow& top, PropertyRow& bottom);

// Checks of elastic circular sections against their dimensions.
namespace section_checks {
struct CircleProperties {
    double Area, Inertia;
};
// Area and moment of inertia of a circle of diameter d, less a concentric
// hole of diameter `inner` (0 for a solid circle).
CircleProperties Circle(double d, double inner);
// True when `given` differs from `expected` by more than 5 % of `expected`.
bool FarFrom(double given, double expected);
}  // namespace section_checks

// The joint between two soil layers, in input depth units.
namespace layer_checks {
// Largest difference between the top of a layer and the bottom of the layer
// above that is taken as rounding of the input: 0.1 % of the larger depth,
// at least 0.001 depth units.
double LayerJointTolerance(double bottomAbove, double top);
// True when the difference exceeds the tolerance (a gap or an overlap).
bool IsGapOrOverlap(double bottomAbove, double top);
}  // namespace layer_checks

// Fills the two pile property table rows (top and bottom) of section s from
// its input values, in input length units for the depths.
void SetSectionPropertyRows(int s);

}  // namespace kestro
