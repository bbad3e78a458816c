#pragma once
// The axial analysis of the pile (section AXIAL ANALYSIS): its input, the
// column model built from the pile and soil of the lateral run, and its
// results. One process-wide instance of each, emptied at the start of a run.

#include <array>

#include "axial/AxialSolver.h"
#include "model/Limits.h"
#include "model/ProblemData.h"

namespace kestro {

inline constexpr int MaxAxialHeadLoads = 20;
inline constexpr int MaxAxialCurveSteps = 100;
// A t-z and a q-z curve per layer, each given for the whole layer or as a
// curve at its top and one at its bottom.
inline constexpr int MaxAxialUserCurves = 4 * MaxSoilLayers;

// Tip of an open-ended pipe: plugged (the plug bears on its inner area, K = 1.0),
// unplugged (the steel annulus bears, K = 0.8), or a closed end (K = 1.0).
enum AxialTipCode : int { AxialTipPlugged = 1, AxialTipUnplugged = 2, AxialTipClosed = 3 };

// Where a user curve applies in its layer: the whole layer (kinds TZ, QZ), or
// its top or bottom (TZ-TOP, TZ-BOTTOM, QZ-TOP, QZ-BOTTOM), the curve at a
// depth between them interpolated as user p-y curves are.
enum AxialCurvePosition : int { AxialCurveWholeLayer = 0, AxialCurveTop = 1, AxialCurveBottom = 2 };

// A user t-z (unit shaft friction) or q-z (unit end bearing) curve of a layer,
// in input units until the analysis converts it: movement (in; m), stress (psf; kPa).
struct AxialUserCurve {
    int Layer = 0;
    bool b_Tip = false;              // QZ: the tip curve of the layer
    int Position = AxialCurveWholeLayer;
    int NumPoints = 0;
    Array1<double, MaxUserCurvePoints> Z{};
    Array1<double, MaxUserCurvePoints> T{};
    int InputLine = 0;               // line of the layer number
};

struct AxialInputData {
    bool b_Requested = false;        // the input holds AXIAL ANALYSIS
    int KeywordLine = 0;
    int TipCondition = AxialTipPlugged;
    double ResidualRatio = 0.9;
    double CapacityFraction = 0.5;
    int CurveSteps = 20;
    int NumHeadLoads = 0;
    Array1<double, MaxAxialHeadLoads> HeadLoads{};   // (lbs; kN), compression positive
    int NumUserCurves = 0;
    Array1<AxialUserCurve, MaxAxialUserCurves> UserCurves{};
};

// The response of the pile under one head load: per node (1 head .. N tip).
struct AxialProfile {
    double HeadLoad = 0.0;
    bool b_Solved = false;           // false: beyond the plunging load
    double HeadMovement = 0.0;
    double Shaft = 0.0, Tip = 0.0;
    double HeadStiffness = 0.0;
    axial::NodeArray<double> Force{};       // axial force, compression positive
    axial::NodeArray<double> Movement{};    // downward positive
    axial::NodeArray<double> Friction{};    // mobilised unit shaft friction
};

struct AxialResultsData {
    // Per node of the pile: the data the springs were built from.
    axial::NodeArray<double> Perimeter{};
    axial::NodeArray<double> UnitFriction{};   // f_max at the node
    axial::NodeArray<int> Layer{};
    double TipArea = 0.0, UnitEndBearing = 0.0, TipDiameter = 0.0;
    // Per section: the longitudinal steel (bars or strands) added to the
    // gross area, its modulus, and (Es - Ec) As added to Ec Ag.
    Array1<double, MaxSections> SteelArea{}, SteelModulus{}, SteelStiffness{};
    int TipLayer = 0;
    // Capacities: sums of the unit values, and the plunging loads of the
    // load-transfer analysis (the clay residual ratio can make them smaller).
    double UltimateShaft = 0.0, UltimateTip = 0.0;
    double PlungingCompression = 0.0, PlungingUplift = 0.0;
    double MovementAtFractionCompression = 0.0, MovementAtFractionUplift = 0.0;
    // The load-settlement curve, point 0 the origin.
    int NumCurvePoints = 0;
    std::array<double, MaxAxialCurveSteps + 1> CurveLoad{}, CurveMovement{}, CurveShaft{}, CurveTip{};
    int NumProfiles = 0;
    Array1<AxialProfile, MaxAxialHeadLoads> Profiles{};
};

extern AxialInputData AxialInput;
extern AxialResultsData AxialResults;
extern axial::AxialPile AxialColumn;

// The kind of a user curve as the input writes it: TZ, QZ, TZ-TOP, ... QZ-BOTTOM.
const char* AxialCurveKindText(bool tip, int position);

// Empties the axial model (start of a run).
void ResetAxialModel();

// AXIAL ANALYSIS, called after its keyword line.
void ReadAxialAnalysis();

// With the column built: runs the capacities, the load-settlement curve and
// the head loads, and writes the report pages and plot records.
void RunAxialAnalysis();

// Builds AxialColumn and the node data of AxialResults; raises the input
// errors of missing strengths, unsupported soils and EA <= 0.
void BuildAxialColumn();

// The capacities, the load-settlement curve and the head-load responses of
// the built column into AxialResults; false (the run ended) on a runtime error.
bool ComputeAxialResponse();

// Input data errors and runtime errors of the axial analysis.
inline constexpr int ErrAxialStiffness = 52;      // EA <= 0 of a section
inline constexpr int ErrAxialStrength = 54;       // missing strength of a layer
inline constexpr int ErrAxialOption = 57;         // residual ratio, fraction, steps or tip out of range
inline constexpr int ErrAxialUserCurve = 58;      // user curve not increasing, unknown layer, repeated or unpaired
inline constexpr int ErrAxialNoCurve = 59;        // a soil without a load-transfer law
inline constexpr int RunAxialNotConverged = 52;   // runtime: no equilibrium found
inline constexpr int RunAxialNoResistance = 54;   // runtime: the pile meets no soil
inline constexpr int WarnAxialBeyondPlunging = 384;

}  // namespace kestro
