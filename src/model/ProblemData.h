#pragma once
// The analysis model read from the input file. One process-wide instance,
// `Problem`, filled by the readers and read by every later stage. Arrays are
// 1-based: element 0 is unused so that indices follow the engine's numbering.

#include <array>

#include "model/Limits.h"
#include "model/Text.h"

namespace kestro {

template <typename T, int N>
using Array1 = std::array<T, N + 1>;  // indices 1..N

enum UnitSystemCode : int { UnitsUS = 1, UnitsSI = 2, UnitsGeneral = 3 };

struct AnalysisOptions {
    int UnitSystem = UnitsUS;
    bool UseLRFD = false;
    bool ComputeKmatrix = false;
    bool UseTipShear = false;
    bool UseSoilMovement = false;
    bool UsePYModifiers = false;
    int ComputationMode = 3;          // 1..5, see the driver
    bool LoadingType = false;         // true cyclic, false static
    double NumberOfCycles = 0.0;
    int MaxIterations = 100;
    double ExcessDeflectionLimit = 0.0;
    double ConvergenceTolerance = 0.0;
    int NumIncrements = 100;
    bool PrintSummaryOnly = false;
    int PrintIncrement = 1;
    bool PrintPYCurves = false;
    bool ComputeInteraction = false;
    int InteractionCode = 0;          // 1 AASHTO, 2 ACI318, 3 Eurocode2
};

// Section type codes (the input code -3 is stored as 3 with CoreFilled false);
// what each type is stands in its row of section/SectionTypes.cpp.
enum SectionTypeCode : int {
    SecRectangularConcrete = 0,
    SecDrilledShaft = 1,
    SecCasedShaft = 2,
    SecCasedShaftWithCore = 3,
    SecSteelPipe = 4,
    SecCircularSolidPrestressed = 5,
    SecCircularHollowPrestressed = 6,
    SecSquareSolidPrestressed = 7,
    SecSquareHollowPrestressed = 8,
    SecOctagonalSolidPrestressed = 9,
    SecOctagonalHollowPrestressed = 10,
    SecElastic = 11,
    SecElasticWithCapacity = 12,
    SecUserDefinedEI = 13,
    SecMicropile = 14,
};

enum RebarContinuationCode : int { RebarNone = 0, RebarSameAsAbove = 1, RebarOwn = 2 };
enum RebarPatternCode : int { RebarPatternNone = 0, RebarCircle = 1, RebarNoncircular = 2 };
enum StrandPositioningCode : int { StrandsNone = 0, StrandsAuto = 1, StrandsManual = 2 };

struct PileSection {
    int SectionType = 0;
    int InputLine = 0;                 // line of the section number
    bool CoreFilled = true;
    double SectionLength = 0.0;
    double SectionTop = 0.0;
    double SectionBottom = 0.0;
    double PileDiameter = 0.0;

    // Type 0
    double RectangleWidth = 0.0;
    double RectangleDepth = 0.0;
    // Types 2 and 3: permanent casing
    double CasingThickness = 0.0;
    double CasingYieldStrength = 0.0;
    double CasingModulus = 0.0;
    // Type 3: inner core pipe
    double CoreDiameter = 0.0;
    double CoreThickness = 0.0;
    double CoreYieldStrength = 0.0;
    double CoreModulus = 0.0;
    // Type 4: steel pipe (MomentOfInertia computed on reading)
    double WallThickness = 0.0;
    double YieldStrength = 0.0;
    double ElasticModulus = 0.0;
    double MomentOfInertia = 0.0;
    // Prestressed types
    double VoidDiameter = 0.0;
    double CornerChamfer = 0.0;

    // Types 11 and 12: elastic values by ElasticShape (0..5)
    int ElasticShape = 0;
    double TopWidth = 0.0, BottomWidth = 0.0;
    double TopDepth = 0.0, BottomDepth = 0.0;              // shape 0 section depths
    double TopWallThickness = 0.0, BottomWallThickness = 0.0;  // shape 2
    double TopArea = 0.0, BottomArea = 0.0;
    double TopInertia = 0.0, BottomInertia = 0.0;
    double FlangeWidth = 0.0, SectionDepth = 0.0;          // shapes 3 and 4
    double FlangeThickness = 0.0, WebThickness = 0.0;
    double DrilledHoleDiameter = 0.0;                      // shape 5
    double TopPlasticMoment = 0.0, BottomPlasticMoment = 0.0;  // type 12

    // Concrete block
    double ConcreteStrength = 0.0;
    double AggregateSize = 0.0;        // the second concrete value, a length
    double TensileStrength = 0.0;
    bool UseDefaultTensileStrength = true;
    bool UserStressStrainCurve = false;
    int NumConcreteCurvePoints = 0;
    Array1<double, MaxConcreteCurvePoints> ConcreteStrain{};
    Array1<double, MaxConcreteCurvePoints> ConcreteStress{};

    // Reinforcement block
    int RebarContinuation = RebarNone;
    int RebarPattern = RebarPatternNone;
    double RebarYieldStrength = 0.0;
    double RebarModulus = 0.0;
    int BarCount1 = 0;                 // circular pattern: the two bar counts as read
    int BarCount2 = 0;
    double CircleBarDiameter = 0.0;
    double CircleBarArea = 0.0;
    double Cover = 0.0;
    double RebarFurtherLength = 0.0;
    int NumBars = 0;                   // noncircular pattern bar list
    Array1<int, MaxBars> BarSizeCode{};
    Array1<double, MaxBars> BarDiameter{};
    Array1<double, MaxBars> BarArea{};
    Array1<double, MaxBars> BarX{};
    Array1<double, MaxBars> BarY{};

    // Strand block
    int StrandPositioning = StrandsNone;
    int StrandTypeCode = 0;
    int StrandCode2 = 0;
    int NumStrands = 0;
    double StrandUltimateStrength = 0.0;
    double StrandStrength2 = 0.0;
    double StrandDiameter = 0.0;
    int StrandPattern = 0;
    Array1<int, MaxStrands> StrandCodeA{};
    Array1<int, MaxStrands> StrandCodeB{};
    Array1<double, MaxStrands> StrandX{};
    Array1<double, MaxStrands> StrandY{};

    // Type 13: user-defined moment-EI curves, indexed [thrust][point]; the
    // curves live in UserEI[UserEISlot] (slots 1..MaxEISections in input order).
    int UserEISlot = 0;
    int NumUserThrusts = 0;
    Array1<double, MaxAxialThrusts> UserThrust{};
    Array1<int, MaxAxialThrusts> NumUserEIPoints{};
};

// Type-13 curves are large; they live apart from the sections, one table per
// user-EI section slot (at most MaxEISections of them).
struct UserEICurves {
    std::array<std::array<double, MaxUserEIPoints + 1>, MaxAxialThrusts + 1> Moment{};
    std::array<std::array<double, MaxUserEIPoints + 1>, MaxAxialThrusts + 1> EI{};
};

// One parameter point of a soil layer: the top (2k-1) or bottom (2k) of layer k.
// Slots are shared between criteria: Cohesion holds Qu for rock, Epsilon50
// holds krm for weak rock, Kpy holds the rock modulus.
struct SoilPoint {
    double Depth = 0.0;                // XTop or XBottom of the layer
    double UnitWeight = 0.0;
    double Cohesion = 0.0;
    double Epsilon50 = 0.0;
    double FrictionAngle = 0.0;
    double Kpy = 0.0;
    double RQD = 0.0;
    int TestType = 0;
    std::array<double, 5> TestValue{};   // 1..4
    double ConeTipResistance = 0.0;
    double ElasticSubgrade = 0.0;
    int UserCurvePoints = 0;
    Array1<double, MaxUserCurvePoints> UserY{};
    Array1<double, MaxUserCurvePoints> UserP{};
};

// The soil model numbers of the layer line; what each model is and reads is
// its row in soil/SoilModels.cpp.
enum SoilModelCode : int {
    SoilSoftClay = 1, SoilStiffClayFreeWater = 2, SoilStiffClayNoWater = 3, SoilStiffClayNoWaterK = 4,
    SoilSandReese = 5, SoilApiSand = 6, SoilLiquefiedSand = 7, SoilWeakRock = 8, SoilVuggyLimestone = 9,
    SoilPiedmont = 10, SoilCementedSilt = 11, SoilLoess = 12, SoilElasticSubgrade = 13, SoilUserPy = 14,
    SoilFrozen = 15, SoilMassiveRock = 16,
};

struct SoilLayer {
    int SoilType = 0;
    double XTop = 0.0;
    double XBottom = 0.0;
    int InputLine = 0;                 // line of the soil type and depths
};

struct LoadCase {
    int LoadType = 1;
    double Condition1 = 0.0;
    double Condition2 = 0.0;
    double AxialLoad = 0.0;
    int LengthCode = 1;
    bool LengthStudyRequested = false;
};

struct LrfdLoadGroup {
    int LrfdLoadType = 0;
    double GroupHorizontalForce = 0.0;
    double GroupMoment = 0.0;
    double GroupAxialForce = 0.0;
    int NumDistributedPoints = 0;
    Array1<double, MaxLrfdDistributedPoints> DistDepth{};
    Array1<double, MaxLrfdDistributedPoints> DistLoad{};
};

struct LrfdCombination {
    Array1<double, NumLrfdLoadTypes> Factor{};
    double FlexureResistanceFactor = 0.0;
    double ShearResistanceFactor = 0.0;
    Text<RecordLength> CombinationName{};
    // Filled by the LRFD echo: the factored pile-head loads (input force units),
    // the shear and axial force along the battered pile's axes, and the
    // position of FactoredAxial in the list of axial thrusts.
    double FactoredHorizontal = 0.0;
    double FactoredVertical = 0.0;
    double FactoredMoment = 0.0;
    double FactoredShear = 0.0;
    double FactoredAxial = 0.0;
    int ThrustIndex = 0;
};

// Pile property table: two rows per section (top and bottom) in depth order.
struct PropertyRow {
    double Depth = 0.0;
    double Width = 0.0;     // b, used by the p-y curves
    double Second = 0.0;    // d2, second dimension
    double Inertia = 0.0;
    double Modulus = 0.0;
    double Area = 0.0;
};

struct ProblemData {
    std::array<Text<RecordLength>, 6> Title{};   // 1..5
    AnalysisOptions Options{};

    int NumSections = 0;
    Array1<PileSection, MaxSections> Sections{};
    double PileLength = 0.0;
    int NumPropertyRows = 0;
    Array1<PropertyRow, MaxPropertyRows> PropertyTable{};

    int NumLayers = 0;
    Array1<SoilLayer, MaxSoilLayers> Layers{};
    int NumSoilPoints = 0;                        // 2 x NumLayers
    Array1<SoilPoint, MaxStrengthPoints> SoilPoints{};
    double GroundDepth = 0.0;

    int NumLoadCases = 0;
    Array1<LoadCase, MaxLoadCases> LoadCases{};
    int NumDistributedPoints = 0;
    Array1<double, MaxDistributedLoadPoints> DistDepth{};
    Array1<double, MaxDistributedLoadPoints> DistLoad{};

    int NumLrfdGroups = 0;
    Array1<LrfdLoadGroup, MaxLrfdGroups> LrfdGroups{};
    int NumLrfdCombinations = 0;
    Array1<LrfdCombination, MaxLrfdCombinations> LrfdCombinations{};

    // The values of the AXIAL THRUST LOADS section, ascending (as entered).
    int NumThrustLoads = 0;
    Array1<double, MaxAxialThrusts> ThrustLoads{};

    // Distinct ascending axial thrusts for the section computations
    // (kips in US customary runs).
    int NumAxialThrusts = 0;
    Array1<double, MaxAxialThrusts> AxialThrusts{};

    int NumTipShearPoints = 0;
    Array1<double, MaxTipShearPoints> TipDisplacement{};
    Array1<double, MaxTipShearPoints> TipShearForce{};

    double GroundSlope = 0.0;      // radians
    double PileBatter = 0.0;       // radians
    double EffectiveSlope = 0.0;   // GroundSlope - PileBatter

    int NumGroupFactorPoints = 0;
    Array1<double, MaxGroupFactorPoints> GroupDepth{};
    Array1<double, MaxGroupFactorPoints> PMultiplier{};
    Array1<double, MaxGroupFactorPoints> YMultiplier{};

    int NumSoilMovementPoints = 0;
    Array1<double, MaxSoilMovementPoints> SoilMovementDepth{};
    Array1<double, MaxSoilMovementPoints> SoilMovement{};

    int NumPrintedPyDepths = 0;
    Array1<double, MaxPrintedPyDepths> PrintedPyDepth{};
};

extern ProblemData Problem;

// The unit system of the current run.
inline bool IsUS() { return Problem.Options.UnitSystem == UnitsUS; }
inline bool IsSI() { return Problem.Options.UnitSystem == UnitsSI; }
inline bool IsGeneral() { return Problem.Options.UnitSystem == UnitsGeneral; }
// The user's moment-EI curves by slot, for reading; written only through
// UserEIToWrite, so that a run empties just the slots the run before it
// filled (the slots are about 2.7 MB).
extern const Array1<UserEICurves, MaxEISections>& UserEI;
// Slot n (1..MaxEISections) for writing; marked to be emptied at the next reset.
UserEICurves& UserEIToWrite(int n);

// Empties the model before a run.
void ResetProblemData();

}  // namespace kestro
