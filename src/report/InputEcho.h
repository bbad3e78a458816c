#pragma once
// The input echo: report pages that restate the input as entered (before the
// conversion to internal units), with the input checks made while restating.
// A failed check writes its numbered message block to the report and the
// runtime message file and ends the run through TerminateRun.

#include <iosfwd>
#include <string_view>

namespace kestro {

// Writes every echo page in order; returns with Failed() on an input error.
void EchoInput(std::ostream& out);
// The pile-head loading page.
void EchoPileHeadLoading(std::ostream& out);
// Long name of soil model `code` (1..16) for the report tables; "Unknown" otherwise.
std::string_view SoilTypeName(int code);

// Checks made while echoing, free of any text (exposed for tests).
namespace echo_checks {
// Depths compared with the ground surface or the pile tip agree within this
// fraction of the larger magnitude (at least of 1 length unit).
double DepthTolerance(double reference);
// Depth below the pile head compared with the ground surface and the pile tip
// of the model, within DepthTolerance.
bool AtGroundSurface(double depth);
bool AboveGroundSurface(double depth);
bool AbovePileTip(double depth);
bool BelowPileTip(double depth);
// True when the effective unit weight (as entered: pcf, kN/m3) lies outside
// the plausible range of the unit system; never true for general units.
bool UnitWeightImplausible(double unitWeight, int unitSystem);
// First tip shear point (1-based) that does not start the curve at (0,0) or
// does not increase; 0 when the curve is sound.
int FirstBadTipShearPoint();
// True when liquefied-sand layer k extends deeper below the ground surface
// than the 6 m limit of the criterion (checked in US and SI units only).
bool LiquefiedSandTooDeep(int k);
}  // namespace echo_checks

}  // namespace kestro
