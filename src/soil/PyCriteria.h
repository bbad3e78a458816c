#pragma once
// The seam between the load-case iteration and the p-y criteria.
//
// The iteration calls EvaluateLayerCriterion(k) once per soil layer per
// iteration; the criterion writes the secant modulus Es(i) = p/y of every
// station of the layer (and W(i) under soil movement). The station loop that
// is common to all criteria (depth, pile width, multipliers, equivalent depth,
// deflection used, secant modulus, not-a-number check, layer resistance,
// soil-movement load) is written once in PyFramework.cpp; each criterion file
// supplies its curve through the functions named in its row of the soil
// model table (SoilModels.cpp):
//
//   Properties  looks up the soil values of a station (f_c, unit weight, ...),
//               raises the criterion's warnings and numbered errors;
//   Curve       pure: p at the deflection Y, the ultimate resistance and the
//               small-deflection modulus; no store, no files, no errors;
//   Prepare,    optional, pure: Curve split in two. Prepare sets every value
//   AtDeflection of the result that does not depend on Y (all but P);
//               AtDeflection sets P at Y from what Prepare left in the result.
//               Prepare then AtDeflection is exactly Curve, so the station
//               loop may keep a station's prepared result through the
//               iteration of a load case and evaluate only p(y) per pass;
//   Invert      pure: the depth in this soil at which the integrated ultimate
//               resistance equals F (layered-soil equivalent depth);
//   PrintPage   computes the 17 printed points at a user depth (print mode)
//               and hands the page values to its writer in report/.
//
// A criterion whose loop truly differs supplies its own LayerFn instead.

#include <array>
#include <string_view>

namespace kestro {

// ---- Entries used by the load-case iteration and the printed curves ----

// Evaluates the p-y criterion of soil layer k for the stations
// Pile.FirstStation(k) .. Pile.LastStation(k). Layers whose code has no
// criterion ("Frz Soil") keep their moduli. The caller tests Failed() after
// every call. RockLayerCount (model/SoilState.h) must hold the number of
// counted layers evaluated before this one in the current pass. With
// Soil.PyPrintMode set it prints the layer's curves instead (as
// PrintLayerCurves does).
void EvaluateLayerCriterion(int k);

// Writes the printed p-y curve page (report) and its Line 7 / Line 8 records
// (plot file) for every temporary station of layer k, the stations having
// been placed at the user depths along the pile (x) and assigned to layers.
// Sets PyPrintMode for the call itself. The caller tests Failed() afterwards.
void PrintLayerCurves(int k);

// True when a layer of soil model `soilType` increments RockLayerCount after
// it has been evaluated (the rows of SoilModels.cpp with b_CountsAsRock).
bool IncrementsRockLayerCount(int soilType);

// Fills EquivalentDepth(k) from the resistance of layers 1..k-1, using the
// soil of layer k at the station described by `first` (normally the layer's
// first station). Leaves it unchanged for a code without an inversion.
struct PyPoint;
void ComputeEquivalentDepth(int k, const PyPoint& first);

// ---- The criterion seam ----

enum SoilClassCode : int { ClassNone = 0, ClassCohesive = 1, ClassCohesionless = 2, ClassRock = 3, ClassUser = 4 };

// One station of a layer as the criterion sees it. Lengths and forces are in
// the computation units (inches and pounds, or meters and kilonewtons).
struct PyPoint {
    int Layer = 0;
    int Station = 0;
    bool b_FirstStation = false;
    bool b_LastStation = false;
    bool b_PrintMode = false;
    bool b_AtNode = false;        // depth lies on an interior strength-table point
    double Depth = 0.0;           // below the pile head (vertical; along the pile when printing)
    double Z = 0.0;               // below the ground surface
    double ZEq = 0.0;             // equivalent depth; Z where the criterion does not use one
    double B = 0.0;               // pile width
    double PMult = 1.0;
    double YMult = 1.0;
    double C = 0.0;               // shear strength (f_c), or qu for rock
    double Gamma = 0.0;           // average effective unit weight from the ground surface
    double Phi = 0.0;             // friction angle, degrees
    double Eps50 = 0.0;           // strain at 50 % of the strength, after defaults
    double Y = 0.0;               // deflection used: |y - ysm| / ymult, never negative
    double Sign = 1.0;            // sign of the raw deflection (+1, -1, 0): slope factor side
    // Run controls, copied once per layer call.
    bool b_Cyclic = false;
    double NumberOfCycles = 0.0;
    int UnitSystem = 1;
    double EffectiveSlope = 0.0;  // radians, signed
    double J = 0.5;               // soft clay factor
    int RockLayerCount = 0;
    // Criterion-specific inputs set by its Properties step (k, average c, ...).
    std::array<double, 8> Aux{};
    // Values a Properties step carries from one station of the layer to the
    // next, in station order (a running average, the previous station's slope
    // factor). The station loop keeps one point for the whole layer, so they
    // survive PlaceStation; each layer call starts from zero and the criterion
    // resets them at the layer's first station.
    std::array<double, 4> Carry{};
};

// What a curve returns for one station. The multipliers are not applied to
// P; the station loop forms Es = pmult p / (ymult y).
struct PyResult {
    double P = 0.0;               // soil resistance at Y
    double Pu = 0.0;              // ultimate resistance (end term, layer-1 rule)
    // The largest resistance the curve gives (its plateau or peak), where it
    // differs from Pu; 0: Pu is that value. Reported as the station's p_u.
    double Ultimate = 0.0;
    double Resist = 0.0;          // resistance per length integrated into LayerResistance
    double ResistTop = 0.0;       // resistance at the ground surface (layer-1 rule): 3cb clays, 0 sands
    double YSmall = 0.0;          // below this deflection Es = EsSmall
    double EsSmall = 0.0;         // modulus used below YSmall, multipliers included where they apply
    std::array<double, 12> Aux{}; // intermediate values the printed page shows
};

using PyPropertiesFn = void (*)(PyPoint&);              // may raise warnings and terminate
// pure; sets the scalars it uses and writes an Aux value before it reads it
// (the station loop clears only the scalars between stations)
using PyCurveFn = void (*)(const PyPoint&, PyResult&);
// Curve split in two (see above): Prepare(pt, r) reads every field of the
// point but Y, and the side of the deflection (Sign) only on sloping ground
// (EffectiveSlope not zero); AtDeflection(pt, r) reads Y and what Prepare
// wrote, sets only P.
using PyPrepareFn = void (*)(const PyPoint&, PyResult&);
using PyAtDeflectionFn = void (*)(const PyPoint&, PyResult&);
using PyInversionFn = double (*)(const PyPoint& first, double F);  // pure
using PyPageFn = void (*)(const PyPoint&);              // print mode: one page per depth
using PyLayerFn = void (*)(int k);                      // a criterion's own station loop

// Term added to LayerResistance at the layer's last station.
enum EndTermCode : int {
    EndNone = 0,
    EndSpacingTimesPu = 1,        // h pu (soft clay)
    EndToLayerBottomTimesPu = 2,  // (XLayerBottom(k) - abscissa) pu (most others)
};

// What the Properties step of a criterion reads, which decides whether its
// result for a station can be kept through the iteration of a load case.
enum PropertiesReuse : int {
    PropertiesEveryPass = 0,      // reads the deflection or the pile's current EI: evaluated every pass
    PropertiesPerStation = 1,     // the soil profile and the station only: once per load case
    PropertiesPerStationLevel = 2 // the deflection only on sloping ground: once per load case on level ground
};

// A soil model and its criterion: soil/SoilModels.h.
struct SoilModel;

// The common station loop over the stations of layer k for one criterion.
// Station data that cannot change within a load case (depth, width,
// multipliers and the soil values of the Properties step, with the warnings
// that step raised) is kept from the first pass of the case and used again
// in the following passes, for criteria whose Reuse allows it.
void RunStationLoop(int k, const SoilModel& e);

// Forgets the kept station data: called at the start of every load case and
// trial, when the stations, sections or loads may have changed.
void ForgetStationProperties();

// Pieces of the station loop for a criterion with its own LayerFn.
// The run controls of layer k copied into a fresh point.
PyPoint LayerPoint(int k);
// Station i of the point's layer: depth (along the pile when printing),
// depth below the ground, width, multipliers and the strength-node flag.
void PlaceStation(PyPoint& pt, int i, int first, int last);
// Stores Es(i) (and W(i) = ysm Es + the distributed load when `ysm` is in
// use); a modulus that is not finite stops the run with error 99 and
// returns false.
bool StoreModulus(int i, double Es, bool b_Movement, double ysm);

}  // namespace kestro
