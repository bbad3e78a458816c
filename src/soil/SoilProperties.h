#pragma once
// Soil properties by depth, read from the layers' parameter points (the
// strength table: two points per layer, an interface being two points of equal
// depth), and small laws shared by several criteria. Depths are below the pile
// head in the computation length unit.
//
// The lookups that can meet bad input (below the table, zero-length segment,
// unsupported interface) write their error block, terminate the run and
// return 0; callers test Failed() after each call.

namespace kestro {

struct SoilPoint;

// Undrained shear strength (or rock compressive strength) at depth X. At a
// layer interface the value is combined from the two layers by their classes.
double f_c(double X);
// True when X lies within 1.0E-6 of an interior strength-table point.
bool AtStrengthNode(double X);
// Friction angle (degrees) at X; Input Data Error 4 below the table.
double FrictionAngleAt(double X);
// Strain at 50 % of the strength at X; 0 below the table.
double Eps50At(double X);
// Rock quality designation (percent) at X, by the rule of the friction angle;
// Input Data Error 31 below the table, Input Data Error 49 outside 0..100.
double RqdAt(double X);
// Weak-rock strain factor k_rm at X (the e50 column): at a layer interface the
// lower layer's value, at the pile tip the upper one; 0 outside the table.
double KrmAt(double X);
// Linear interpolation in depth X between the top and bottom values of layer
// k of one column of the layer points. `b_ZeroThickness` is set (and the top
// value returned) when the layer's top and bottom depths are equal.
double LayerValueAt(int k, double X, double SoilPoint::*column, bool& b_ZeroThickness);
// Average shear strength from the ground surface to X.
double AverageShearStrength(double X);
// Average effective unit weight from the ground surface to X.
double AverageUnitWeight(double X);

// A value given at the top and the bottom of layer k, interpolated linearly
// in the depth X below the pile head between the layer's top and bottom
// depths; the top value when the layer has no thickness.
double InterpolateInLayer(int k, double X, double topValue, double bottomValue);

// Length of the pile being analysed (the length study shortens it).
double CurrentPileLength();

// Linear interpolation in a ten-point coefficient table; above the tenth
// abscissa the tenth value.
double InterpolateCoefficient(double r, const double (&values)[10], const double (&points)[10]);
// Reese et al. (1975) stiff clay A coefficients as functions of z/b.
double StiffClayAs(double zOverB);
double StiffClayAc(double zOverB);

// Factor on the wedge resistance of the clay criteria for sloping ground:
// 1/(1 + tan|theta|) when the deflection and the effective slope have the same
// sign, 1/(1 - tan|theta|) when they differ, 1 when either is negligible.
double ClaySlopeFactor(double effectiveSlope, double deflectionSign);

}  // namespace kestro
