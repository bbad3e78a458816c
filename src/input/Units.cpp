#include "input/Units.h"

#include <cstddef>

#include "model/ProblemData.h"
#include "model/RunState.h"
#include "soil/SoilModels.h"

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
constexpr double PerCubicFootToPerCubicInch = 1.0 / 1728.0;
constexpr double PerSquareFootToPerSquareInch = 1.0 / 144.0;
constexpr double MillimetersToMeters = 1.0 / 1000.0;

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Soil models whose cohesion slot holds an undrained shear strength (psf in
// US input). Rock models keep qu there, read in psi, which is not converted.
bool CohesionInPsf(int soilType) {
    const SoilModel* m = SoilModelOf(soilType);
    return m != nullptr && m->ReadsValue(SoilValue::ShearStrength);
}

// US customary input: every depth or length along the pile from feet to
// inches, unit weights from pcf to pci and cohesions from psf to psi. Section
// dimensions, forces, moments, deflections, stresses of rock and structural
// materials and the subgrade moduli are read in pounds and inches already.
void ConvertUS() {
    ProblemData& P = Problem;
    for (int s = 1; s <= P.NumSections; ++s) {
        PileSection& S = P.Sections[U(s)];
        S.SectionLength *= FeetToInches;
        S.SectionTop *= FeetToInches;
        S.SectionBottom *= FeetToInches;
    }
    P.PileLength *= FeetToInches;
    for (int r = 1; r <= P.NumPropertyRows; ++r) P.PropertyTable[U(r)].Depth *= FeetToInches;
    for (int k = 1; k <= P.NumLayers; ++k) {
        SoilLayer& L = P.Layers[U(k)];
        L.XTop *= FeetToInches;
        L.XBottom *= FeetToInches;
        for (int p = 2 * k - 1; p <= 2 * k; ++p) {
            SoilPoint& S = P.SoilPoints[U(p)];
            S.Depth *= FeetToInches;
            S.UnitWeight *= PerCubicFootToPerCubicInch;
            if (CohesionInPsf(L.SoilType)) S.Cohesion *= PerSquareFootToPerSquareInch;
        }
    }
    P.GroundDepth *= FeetToInches;
    for (int k = 1; k <= P.NumDistributedPoints; ++k) P.DistDepth[U(k)] *= FeetToInches;
    for (int j = 1; j <= P.NumLrfdGroups; ++j) {
        LrfdLoadGroup& G = P.LrfdGroups[U(j)];
        for (int k = 1; k <= G.NumDistributedPoints; ++k) G.DistDepth[U(k)] *= FeetToInches;
    }
    for (int k = 1; k <= P.NumGroupFactorPoints; ++k) P.GroupDepth[U(k)] *= FeetToInches;
    for (int k = 1; k <= P.NumSoilMovementPoints; ++k) P.SoilMovementDepth[U(k)] *= FeetToInches;
    for (int k = 1; k <= P.NumPrintedPyDepths; ++k) P.PrintedPyDepth[U(k)] *= FeetToInches;
}

// SI input: the soil movements, read in millimeters, become meters. Section
// dimensions given in millimeters were converted when they were read; all
// other values are read in kilonewtons and meters.
void ConvertSI() {
    ProblemData& P = Problem;
    for (int k = 1; k <= P.NumSoilMovementPoints; ++k) P.SoilMovement[U(k)] *= MillimetersToMeters;
}

}  // namespace

void ConvertToInternalUnits() {
    if (Run.b_Converted) return;
    Run.b_Converted = true;
    if (IsUS())
        ConvertUS();
    else if (IsSI())
        ConvertSI();
}

}  // namespace kestro
