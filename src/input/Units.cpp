#include "input/Units.h"

#include "model/ProblemData.h"
#include "model/RunState.h"

namespace kestro {

void SetUnitLabels(int unitSystem) {
    UnitLabels& L = Run.Labels;
    switch (unitSystem) {
        case UnitsSI:
            L = {"m  ", "kN  ", "kN ", "kN-m ", "kN/m ", "kN/m3", "kPa ", "m ", "mm", "m "};
            break;
        case UnitsGeneral:
            L = {"L  ", "F   ", "F  ", "F-L  ", "F/L  ", "F/L3 ", "F/L2", "L ", "L ", "L "};
            break;
        default:
            L = {"in ", "lbs ", "lbs", "in-lb", "lb/in", "pcf  ", "psf ", "ft", "in", "in"};
            break;
    }
}

namespace {

constexpr double FeetToInches = 12.0;
constexpr double MillimetersToMeters = 1.0 / 1000.0;

void ConvertUS() {
    ProblemData& P = Problem;
    for (int s = 1; s <= P.NumSections; ++s) {
        PileSection& S = P.Sections[static_cast<std::size_t>(s)];
        S.SectionLength *= FeetToInches;
        S.SectionTop *= FeetToInches;
        S.SectionBottom *= FeetToInches;
    }
    P.PileLength *= FeetToInches;
    for (int r = 1; r <= P.NumPropertyRows; ++r) P.PropertyTable[static_cast<std::size_t>(r)].Depth *= FeetToInches;
    for (int k = 1; k <= P.NumLayers; ++k) {
        SoilLayer& L = P.Layers[static_cast<std::size_t>(k)];
        L.XTop *= FeetToInches;
        L.XBottom *= FeetToInches;
    }
    for (int p = 1; p <= P.NumSoilPoints; ++p) {
        SoilPoint& S = P.SoilPoints[static_cast<std::size_t>(p)];
        S.Depth *= FeetToInches;
    }
    P.GroundDepth *= FeetToInches;
}

void ConvertSI() {
    ProblemData& P = Problem;
    for (int k = 1; k <= P.NumSoilMovementPoints; ++k)
        P.SoilMovement[static_cast<std::size_t>(k)] *= MillimetersToMeters;
}

}  // namespace

void ConvertToInternalUnits() {
    if (Run.b_Converted) return;
    Run.b_Converted = true;
    if (Problem.Options.UnitSystem == UnitsUS)
        ConvertUS();
    else if (Problem.Options.UnitSystem == UnitsSI)
        ConvertSI();
}

}  // namespace kestro
