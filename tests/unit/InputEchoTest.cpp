// The input echo: page texts for US and SI input, every numbered check on
// both sides of its limit, and the LRFD pages with their factored loads.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "TestSupport.h"
#include "model/FactoredLoads.h"
#include "analysis/LrfdLoads.h"
#include "model/Warnings.h"
#include "input/KeywordReader.h"
#include "input/Units.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/InputEcho.h"
#include "report/LrfdEcho.h"

using namespace kestro;

namespace {

std::size_t At(int i) { return static_cast<std::size_t>(i); }

// A 30 ft drilled shaft of 24 in diameter in one soft clay layer from the
// pile head to 35 ft, one load case: shear 1000 lbs, axial 500 lbs.
void UsCase() {
    ResetRunState();
    ResetProblemData();
    ResetWarningRegistry();
    ProblemData& P = Problem;
    P.Title[1].Set("Echo test pile");
    P.Options.UnitSystem = UnitsUS;
    P.Options.ComputationMode = 3;
    P.Options.MaxIterations = 100;
    P.Options.ExcessDeflectionLimit = 100.0;
    P.Options.ConvergenceTolerance = 1.0E-5;
    P.Options.NumIncrements = 100;
    P.Options.PrintIncrement = 2;
    SetUnitLabels(UnitsUS);

    P.NumSections = 1;
    PileSection& S = P.Sections[1];
    S.SectionType = SecDrilledShaft;
    S.SectionLength = 30.0;
    S.SectionBottom = 30.0;
    S.PileDiameter = 24.0;
    P.PileLength = 30.0;
    P.NumPropertyRows = 2;
    P.PropertyTable[1].Depth = 0.0;
    P.PropertyTable[1].Width = 24.0;
    P.PropertyTable[2].Depth = 30.0;
    P.PropertyTable[2].Width = 24.0;

    P.NumLayers = 1;
    P.Layers[1] = {SoilSoftClay, 0.0, 35.0};
    P.NumSoilPoints = 2;
    for (int p = 1; p <= 2; ++p) {
        SoilPoint& Q = P.SoilPoints[At(p)];
        Q.Depth = p == 1 ? 0.0 : 35.0;
        Q.UnitWeight = 110.0;
        Q.Cohesion = 500.0;
        Q.Epsilon50 = 0.01;
    }
    P.GroundDepth = 0.0;

    P.NumLoadCases = 1;
    P.LoadCases[1] = {1, 1000.0, 0.0, 500.0, 1, false};
}

std::string Echo() {
    std::ostringstream os;
    EchoInput(os);
    return os.str();
}

}  // namespace

namespace {
// SI: a 10 m shaft of 1.2 m diameter, API sand over liquefied sand to 12 m.
void SiCase() {
    UsCase();
    ProblemData& P = Problem;
    P.Options.UnitSystem = UnitsSI;
    SetUnitLabels(UnitsSI);
    P.Options.ConvergenceTolerance = 2.54E-7;
    P.Options.ExcessDeflectionLimit = 2.5;
    P.Sections[1].SectionLength = 10.0;
    P.Sections[1].SectionBottom = 10.0;
    P.Sections[1].PileDiameter = 1.2;
    P.PileLength = 10.0;
    P.PropertyTable[1].Width = 1.2;
    P.PropertyTable[2].Depth = 10.0;
    P.PropertyTable[2].Width = 1.2;
    P.NumLayers = 2;
    P.Layers[1] = {SoilApiSand, 0.0, 4.0};
    P.Layers[2] = {SoilLiquefiedSand, 4.0, 12.0};
    P.NumSoilPoints = 4;
    const double depth[5] = {0, 0.0, 4.0, 4.0, 12.0};
    for (int p = 1; p <= 4; ++p) {
        SoilPoint& Q = P.SoilPoints[At(p)];
        Q = SoilPoint{};
        Q.Depth = depth[p];
        Q.UnitWeight = 18.0;
        if (p <= 2) Q.FrictionAngle = 35.0;
    }
    P.LoadCases[1] = {2, 100.0, 0.0, 250.0, 1, false};
}

// Two groups (dead and live) and three combinations; combinations 1 and 3
// give the same factored axial force, combination 2 has zero resistance factors.
void LrfdCase() {
    UsCase();
    ProblemData& P = Problem;
    P.Options.UseLRFD = true;
    P.NumLoadCases = 0;
    P.NumLrfdGroups = 2;
    P.LrfdGroups[1].LrfdLoadType = 1;
    P.LrfdGroups[1].GroupHorizontalForce = 1000.0;
    P.LrfdGroups[1].GroupMoment = 20000.0;
    P.LrfdGroups[1].GroupAxialForce = 100000.0;
    P.LrfdGroups[2].LrfdLoadType = 2;
    P.LrfdGroups[2].GroupHorizontalForce = 500.0;
    P.LrfdGroups[2].GroupMoment = 0.0;
    P.LrfdGroups[2].GroupAxialForce = 40000.0;
    P.LrfdGroups[2].NumDistributedPoints = 2;
    P.LrfdGroups[2].DistDepth[1] = 0.0;
    P.LrfdGroups[2].DistLoad[1] = 10.0;
    P.LrfdGroups[2].DistDepth[2] = 5.0;
    P.LrfdGroups[2].DistLoad[2] = 0.0;
    P.NumLrfdCombinations = 3;
    LrfdCombination& A = P.LrfdCombinations[1];
    A.Factor[1] = 1.25;
    A.Factor[2] = 1.75;
    A.FlexureResistanceFactor = 0.9;
    A.ShearResistanceFactor = 0.85;
    A.CombinationName.Set("Strength I");
    LrfdCombination& B = P.LrfdCombinations[2];
    B.Factor[1] = 0.9;
    B.CombinationName.Set("Strength I min");
    LrfdCombination& C = P.LrfdCombinations[3];
    C.Factor[1] = 1.25;
    C.Factor[2] = 1.75;
    C.FlexureResistanceFactor = 1.0;
    C.ShearResistanceFactor = 1.0;
    C.CombinationName.Set("Service");
}
}  // namespace


namespace {

const std::string Rule80(80, '-');

// The page whose title line holds `title`, from that line to the end of the
// page (the blank lines before the next page heading), or "" when absent.
std::string Page(const std::string& text, const std::string& title) {
    std::size_t pos = text.find(title + "\n");
    if (pos == std::string::npos) return "";
    std::size_t start = text.rfind('\n', pos);
    start = start == std::string::npos ? 0 : start + 1;
    std::size_t end = text.find("\n\n\n" + Rule80, pos);
    return text.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(InputEcho, ProgramOptionsPageUs) {
    UsCase();
    const std::string t = Echo();
    EXPECT_EQ(Page(t, "                               Program Options"),
              "                               Program Options\n" + Rule80 + "\n\n" +
                  R"(Engineering units are US Customary Units: pounds, inches, feet

Basic Program Options:
This analysis computes nonlinear bending stiffness and nominal moment 
capacity with pile response computed using nonlinear EI

Computation Options:
- Only internally-generated p-y curves used in analysis
- Analysis does not use p-y multipliers (individual pile or shaft action only)
- Analysis assumes no shear resistance at pile tip
- Analysis for fixed-length pile or shaft only
- No computation of foundation stiffness matrix elements
- Output pile response for full length of pile
- Analysis assumes no soil movements acting on pile
- No p-y curves to be computed and output for user-specified depths

Solution Control Parameters:
- Number of pile increments                            =          100
- Maximum number of iterations allowed                 =          100
- Deflection tolerance for convergence                 =   1.0000E-05 in
- Maximum allowable deflection                         =     100.0000 in

Pile Response Output Options:
- Values of pile-head deflection, bending moment, shear force, and 
  soil reaction are printed for full length of pile.
- Printing Increment (nodal spacing of output points)  =            2
)");
    // Title page: heading framed by rules, then the five title lines.
    const std::string title =
        "\n\n" + Rule80 + "\n" + std::string(32, ' ') + "Problem Title\n" + Rule80 + "\n\nEcho test pile\n\n\n\n\n\n\n" + Rule80;
    EXPECT_EQ(t.substr(0, title.size()), title);
    EXPECT_EQ(kestro::Run.ErrorNumber, 0);
}

TEST(InputEcho, ProgramOptionsSwitchTheirLines) {
    UsCase();
    ProblemData& P = Problem;
    P.Layers[1].SoilType = SoilUserPy;
    P.Options.UsePYModifiers = true;
    P.NumGroupFactorPoints = 1;
    P.PMultiplier[1] = 0.8;
    P.YMultiplier[1] = 1.0;
    P.Options.UseTipShear = true;
    P.NumTipShearPoints = 2;
    P.TipDisplacement[2] = 1.0;
    P.TipShearForce[2] = 100.0;
    P.LoadCases[1].LengthStudyRequested = true;
    P.Options.ComputeKmatrix = true;
    P.Options.PrintSummaryOnly = true;
    P.Options.UseSoilMovement = true;
    P.NumSoilMovementPoints = 2;
    P.SoilMovementDepth[2] = 10.0;
    P.Options.PrintPYCurves = true;
    P.NumPrintedPyDepths = 1;
    P.PrintedPyDepth[1] = 10.0;
    const std::string t = Echo();
    EXPECT_EQ(kestro::Run.ErrorNumber, 0);
    EXPECT_TRUE(Has(t, R"(Computation Options:
- User-specified p-y curves used in analysis
- Analysis uses p-y multiplers for group action
- Analysis uses tip shear resistance for short pile or shaft
- Analysis includes automatic computation of pile-top deflection vs.
  pile embedment length
- Analysis includes computation of foundation stiffness matrix elements
- Output summary table of values for pile-head deflection, maximum
  bending moment, and shear force only
- Analysis includes effects of soil movement on pile response
- p-y curves computed and output for user-specified depths

)")) << t;
    EXPECT_TRUE(Has(t, R"(Pile Response Output Options:
- Only summary tables of pile-head deflection, maximum bending moment,
  and maximum shear force are to be written to output report file.


)")) << t;
    EXPECT_FALSE(Has(t, "Printing Increment"));
    // Each switched-on input has its page.
    for (const char* title : {"User-input p-y Curves", "p-y Modification Factors for Group Action", "Lateral Soil Movements",
                              "Shear Resistance Curve at Pile Tip ", "Specified Depths for Output of p-y Curves"})
        EXPECT_TRUE(Has(t, std::string(title) + "\n")) << title;
}

struct ModeCase {
    int Mode;
    const char* Lines;
};

class ComputationModeText : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ComputationModeText, BasicOptionLines) {
    UsCase();
    Problem.Options.ComputationMode = GetParam().Mode;
    const std::string t = Echo();
    EXPECT_TRUE(Has(t, std::string("Basic Program Options:\n") + GetParam().Lines)) << t;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ComputationModeText,
    ::testing::Values(
        ModeCase{1, "This analysis computes pile response using user-specified constant EI\n\nComputation Options:"},
        ModeCase{2, "This analysis computes nominal moment capacity and nonlinear bending stiffness only\n\n\n" },
        ModeCase{3, "This analysis computes nonlinear bending stiffness and nominal moment \n"
                    "capacity with pile response computed using nonlinear EI\n\nComputation Options:"},
        ModeCase{4, "Analysis Type 4: \n- Computation of Nonlinear Bending Stiffness and Nominal Moment Capacity, \n"
                    "  Computation of Pile Response Using User-specified Constant EI\n\nComputation Options:"},
        ModeCase{5, "This analysis computes pile response using user-specified nonlinear bending stiffness\n\n"
                    "Computation Options:"}));

TEST(InputEcho, SectionOnlyRunHasNoAnalysisBlocksOrPages) {
    UsCase();
    Problem.Options.ComputationMode = 2;
    Problem.NumLayers = 0;  // no soil is needed to compute section properties
    const std::string t = Echo();
    EXPECT_EQ(kestro::Run.ErrorNumber, 0);
    for (const char* absent : {"Computation Options:", "Solution Control Parameters:", "Pile Response Output Options:",
                               "Soil and Rock Layering Information", "Loading Type", "Pile-head Loading"})
        EXPECT_FALSE(Has(t, absent)) << absent;
    EXPECT_TRUE(Has(t, "Pile Structural Properties and Geometry\n"));
}

struct ToleranceCase {
    int Units;
    double Entered;
    double Used;
    const char* Note;  // "" when no reset
};

class NegativeTolerance : public ::testing::TestWithParam<ToleranceCase> {};

TEST_P(NegativeTolerance, IsResetForTheIterationAndReported) {
    const ToleranceCase& c = GetParam();
    UsCase();
    Problem.Options.UnitSystem = c.Units;
    SetUnitLabels(c.Units);
    Problem.Options.ConvergenceTolerance = c.Entered;
    const std::string t = Echo();
    EXPECT_EQ(Problem.Options.ConvergenceTolerance, c.Used);
    if (c.Note[0] != '\0')
        EXPECT_TRUE(Has(t, c.Note)) << t;
    else
        EXPECT_FALSE(Has(t, "reset by program"));
}

INSTANTIATE_TEST_SUITE_P(
    Units, NegativeTolerance,
    ::testing::Values(
        // 1.0E-6 in single precision: 9.99999997E-7.
        ToleranceCase{UnitsUS, -1.0E-5, 9.999999974752427e-07,
                      "- Deflection tolerance for convergence                 =   1.0000E-06 in\n"
                      "(Specified convergence tolerance of 0 reset by program to  1.0000E-06 inches)\n"},
        ToleranceCase{UnitsSI, -2.0E-7, 2.54E-8,
                      "- Deflection tolerance for convergence                 =   2.5400E-08 m\n"
                      "(Specified convergence tolerance of 0 reset by program to  2.5400E-08 meters)\n"},
        ToleranceCase{UnitsUS, 1.0E-5, 1.0E-5, ""}, ToleranceCase{UnitsUS, 0.0, 0.0, ""},
        ToleranceCase{UnitsGeneral, -1.0E-5, -1.0E-5, ""}));

TEST(InputEcho, PileGeometryPageUs) {
    UsCase();
    Problem.GroundSlope = 5.0 * 3.141592653589793 / 180.0;
    const std::string t = Echo();
    EXPECT_EQ(Page(t, "Pile Structural Properties and Geometry"),
              "                    Pile Structural Properties and Geometry\n" + Rule80 + "\n\n" +
                  R"(Total Number of Sections                               =            1
Total Pile Length                                      =       30.000 ft
Depth of ground surface below top of pile              =        0.000 ft
Slope angle of ground surface                          =        5.000 deg.

Pile dimensions used for p-y curve computations defined using 2 points.
p-y curves are computed using values of pile diameter interpolated over 
the length of the pile.

Point         Depth              Pile   
                X              Diameter 
               ft                in
-----       ---------        -----------
    1           0.000            24.0000
    2          30.000            24.0000

Input Structural Properties:
----------------------------

Section No. 1:
   Section Type               = Drilled Shaft (Bored Pile)
   Section Length             =          30.000 ft
   Pile Diameter              =          24.000 in
)");
    EXPECT_TRUE(Has(t, "Ground Slope Angle                                     =        5.000 degrees\n"
                       "                                                       =        0.087 radians\n"));
}

TEST(InputEcho, ElasticAndUserEISectionBlocks) {
    UsCase();
    ProblemData& P = Problem;
    P.NumSections = 2;
    PileSection& A = P.Sections[1];
    A = PileSection{};
    A.SectionType = SecElasticWithCapacity;
    A.ElasticShape = 3;
    A.SectionLength = 10.0;
    A.FlangeWidth = 10.2;
    A.SectionDepth = 10.0;
    A.FlangeThickness = 0.565;
    A.WebThickness = 0.565;
    A.TopArea = A.BottomArea = 16.8;
    A.TopInertia = A.BottomInertia = 294.0;
    A.ElasticModulus = 29000000.0;
    A.TopPlasticMoment = 1500000.0;
    PileSection& B = P.Sections[2];
    B = PileSection{};
    B.SectionType = SecUserDefinedEI;
    B.SectionLength = 20.0;
    B.PileDiameter = 24.0;
    B.UserEISlot = 1;
    B.NumUserThrusts = 1;
    B.UserThrust[1] = 1000.0;
    B.NumUserEIPoints[1] = 2;
    UserEIToWrite(1).Moment[1][1] = 100000.0;
    UserEIToWrite(1).EI[1][1] = 5.0E9;
    UserEIToWrite(1).Moment[1][2] = 200000.0;
    UserEIToWrite(1).EI[1][2] = 4.0E9;
    P.NumPropertyRows = 4;
    for (int r = 1; r <= 4; ++r) P.PropertyTable[At(r)] = {r <= 2 ? 10.0 * (r - 1) : 10.0 + 20.0 * (r - 3), 24.0};
    const std::string t = Echo();
    EXPECT_TRUE(Has(t, R"(Section No. 1:
   Section Type               = Elastic with Specified Moment Capacity 
   Cross-sectional Shape      =   Strong H-Pile
   Section Length             =          10.000 ft
   Flange Width               =          10.200 in
   Section Depth              =          10.000 in
   Flange Thickness           =           0.565 in
   Web Thickness              =           0.565 in
   Area                       =       16.800000 sq. in
   Moment of Inertia at Top   =         294.000 in^4
   Moment of Inertia at Bottom=         294.000 in^4
   Elastic Modulus            =    29000000.000 psi
   Top Plastic Moment Capacity=     1500000.000 in-lb

Section No. 2:
   Section Type               = Pile with User-defined Nonlinear EI   
   Section Length             =          20.000 ft
   Pile Width                 =          24.000 in
   Number of Axial Thrusts    =               1

   Axial Thrust               =        1000.000 lbs
   Number of M-EI Points      =               2

   Point            Moment                  EI
    No.           in-lb               lb-in^2
   -----          ----------          ----------
      1          100000.000      5000000000.000
      2          200000.000      4000000000.000
)")) << t;
}

TEST(InputEcho, SoilLayeringPageSiWithDefaultKAndDeepLiquefiedSand) {
    SiCase();
    const std::string t = Echo();
    EXPECT_EQ(Page(t, "Soil and Rock Layering Information"),
              "                       Soil and Rock Layering Information\n" + Rule80 + "\n\n" +
                  R"(The soil profile is modelled using 2 layers

Layer 1 is sand, p-y criteria by API RP-2A, 1987
Distance from top of pile to top of layer              =        0.000 m
Distance from top of pile to bottom of layer           =        4.000 m
p-y subgrade modulus k for top of soil layer           =        0.000 kN/m3
p-y subgrade modulus k for bottom of layer             =        0.000 kN/m3
NOTE:  Internal default values for p-y subgrade modulus will be computed for
the above soil layer.

Layer 2 is liquefiable sand, by Rollins et al., 2004
Distance from top of pile to top of layer              =        4.000 m
Distance from top of pile to bottom of layer           =       12.000 m
Warning : The depth of this layer is deeper than the recommended depth limit 
for using the p-y criteria for liquefied sand.
Please consult the Kestro Technical Manual for additional background 
information regarding limitations on the use of the liquefied sand criteria.

(Depth of lowest layer extends 2.00 m below the pile tip)
)");
    EXPECT_EQ(Warnings.WarningCount[354], 1);
    EXPECT_EQ(LastWarningRaised(), -354);
    EXPECT_EQ(kestro::Run.ErrorNumber, 0);
}

TEST(InputEcho, UnitWeightAndSoilSummaryPagesSi) {
    SiCase();
    const std::string t = Echo();
    EXPECT_EQ(Page(t, "Effective Unit Weight of Soil vs. Depth"),
              "                    Effective Unit Weight of Soil vs. Depth\n" + Rule80 + "\n\n" +
                  R"(Effective unit weight of soil with depth defined using 4 points

Point        Depth X    Eff. Unit Weight
 No.              m           kN/m3
-----      ----------   ----------------
  1             0.00       18.00000
  2             4.00       18.00000
  3             4.00       18.00000
  4            12.00       18.00000
)");
    const std::string summary = Page(t, "Summary of Soil Properties");
    EXPECT_TRUE(Has(summary,
                    "Layer               Soil Type                   Depth     Eff. Unit     Cohesion     Friction        qu"
                    "           RQD      Epsilon 50      kpy       Rock Emass      krm       Test Type    Test Prop.   "
                    "Elas. Subgr.\n"
                    " Num.         (p-y Curve Criteria)                m       Wt., kN/m3       kPa      Ang., deg.       kPa"
                    "        percent                    kN/m3         kPa                                           "
                    "     kN/m3    \n" +
                        std::string(213, '-') + "\n"))
        << summary;
    EXPECT_TRUE(Has(summary, "   1    API Sand                                  0.00       18.000                    35.000"
                             "                                               0.000\n"
                             "                                                  4.00       18.000                    35.000"
                             "                                               0.000\n"
                             "   2    Liquefied Sand                            4.00       18.000\n"
                             "                                                 12.00       18.000\n"))
        << summary;
}

TEST(InputEcho, SoilSummaryUsUnitLineAndRockColumns) {
    UsCase();
    Problem.Layers[1].SoilType = SoilWeakRock;
    for (int p = 1; p <= 2; ++p) {
        SoilPoint& Q = Problem.SoilPoints[At(p)];
        Q.Cohesion = 1000.0;  // qu, psi
        Q.Kpy = 50000.0;      // rock modulus, psi
        Q.RQD = 50.0;
        Q.Epsilon50 = 0.0005;  // krm
    }
    const std::string t = Echo();
    EXPECT_TRUE(Has(t, " Num.         (p-y Curve Criteria)               ft       Wt., pcf         psf      Ang., deg.       psi"
                       "        percent                    pci          psi                                                  pci"
                       "     \n"));
    EXPECT_TRUE(Has(t, std::string("   1    Weak Rock                                 0.00      110.000                               "
                                   "1000.000       50.000") + std::string(31, ' ') + "50000.000   0.000500\n"))
        << t;
    EXPECT_TRUE(Has(t, "Initial modulus of rock at top of layer                =    50000.000 psi\n"));
}

TEST(InputEcho, PileHeadLoadingRowsByLoadType) {
    UsCase();
    ProblemData& P = Problem;
    P.NumLoadCases = 5;
    P.LoadCases[1] = {1, 1000.0, 25000.0, 500.0, 1, false};
    P.LoadCases[2] = {2, 1000.0, 0.0, 0.0, 1, false};
    P.LoadCases[3] = {3, 2000.0, 1.0E7, 100.0, 1, false};
    P.LoadCases[4] = {4, 0.25, 1000.0, 0.0, 1, false};
    P.LoadCases[5] = {5, 0.5, 0.001, 0.0, 1, false};
    const std::string t = Echo();
    EXPECT_EQ(Page(t, "Pile-head Loading and Pile-head Fixity Conditions"),
              "               Pile-head Loading and Pile-head Fixity Conditions\n" + Rule80 + "\n\n" +
                  R"(Number of loads specified = 5

Load   Load        Condition 1             Condition 2           Axial Thrust  
 No.   Type                                                       Force, lbs 
-----   ----   --------------------   -----------------------   ----------------
   1     1     V =     1000.000 lbs    M =    25000.000 in-lb            500.000
   2     2     V =     1000.000 lbs    S =   0.0000E+00 rad                0.000
   3     3     V =     2000.000 lbs    R = 10000000.000 in-lb/rad        100.000
   4     4     y =        0.250 in     M =     1000.000 in-lb              0.000
   5     5     y =        0.500 in     S =   1.0000E-03 rad                0.000

V = perpendicular shear force applied to pile head
M = bending moment applied to pile head
y = lateral deflection relative to pile axis
S = pile slope relative to original pile batter angle
R = rotational stiffness applie to pile head
Axial thrust is assumed to be acting axially
)");
}

namespace {

struct CheckCase {
    const char* Name;
    void (*Setup)();
    int Error;            // expected error number, 0 when the input passes
    const char* Message;  // expected part of the report ("" for none)
};

void PropertyRows(int n) {
    Problem.NumPropertyRows = n;
    for (int r = 1; r <= n && r <= MaxPropertyRows; ++r)
        Problem.PropertyTable[At(r)] = {30.0 * (r - 1) / (n > 1 ? n - 1 : 1), 24.0};
}

void Cyclic(double n) {
    Problem.Options.LoadingType = true;
    Problem.Options.NumberOfCycles = n;
}

void PrintAt(double z) {
    Problem.Options.PrintPYCurves = true;
    Problem.NumPrintedPyDepths = 2;
    Problem.PrintedPyDepth[1] = 10.0;
    Problem.PrintedPyDepth[2] = z;
}

void TipCurve(std::initializer_list<std::pair<double, double>> points) {
    Problem.Options.UseTipShear = true;
    Problem.NumTipShearPoints = 0;
    for (auto [d, f] : points) {
        ++Problem.NumTipShearPoints;
        Problem.TipDisplacement[At(Problem.NumTipShearPoints)] = d;
        Problem.TipShearForce[At(Problem.NumTipShearPoints)] = f;
    }
}

void GroupFactorsFrom(double z) {
    Problem.Options.UsePYModifiers = true;
    Problem.NumGroupFactorPoints = 2;
    Problem.GroupDepth[1] = z;
    Problem.GroupDepth[2] = 20.0;
    Problem.PMultiplier[1] = Problem.PMultiplier[2] = 0.7;
    Problem.YMultiplier[1] = Problem.YMultiplier[2] = 1.0;
}

class EchoChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(EchoChecks, EndTheRunOnlyBeyondTheirLimits) {
    const CheckCase& c = GetParam();
    UsCase();
    c.Setup();
    const std::string t = Echo();
    EXPECT_EQ(kestro::Run.ErrorNumber, c.Error == 0 ? 0 : 100 + c.Error) << t;
    if (c.Message[0] != '\0') {
        EXPECT_TRUE(Has(t, c.Message)) << t;
    }
    if (c.Error == 0) {
        EXPECT_FALSE(Has(t, "Input Data Error")) << t;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, EchoChecks,
    ::testing::Values(
        CheckCase{"PropertyPoints0", [] { PropertyRows(0); }, 17,
                  "\n\n**** Input Data Error No. 17 ****\n\nThe number of points to define the pile properties \n"
                  "is 2 to 40, not the input value of 0\n\n"},
        CheckCase{"PropertyPoints1", [] { PropertyRows(1); }, 17,
                  "\n\n**** INPUT DATA ERROR ****\n\nThe number of input values for pile diameter = 1 \n"
                  "Please add the properties for the tip of the pile.\n\n\n\n**** Input Data Error No. 17 ****\n"},
        CheckCase{"PropertyPoints2", [] { PropertyRows(2); }, 0, ""},
        CheckCase{"PropertyPoints40", [] { PropertyRows(40); }, 0, "defined using 40 points.\n"},
        CheckCase{"PropertyPoints41", [] { PropertyRows(41); }, 17, "is 2 to 40, not the input value of 41\n"},
        CheckCase{"ZeroDiameter", [] { Problem.PropertyTable[2].Width = 0.0; }, 27,
                  "**** Input Data Error No. 27 ****\n\n"
                  "Problem:  Zero values for one of the following values were \n"
                  "entered for one or more values of pile diameter.\n"
                  "          Point 2 at depth 30.000 ft has a pile diameter of 0.0000 in.\n"},
        CheckCase{"NegativeDiameter", [] { Problem.PropertyTable[1].Width = -24.0; }, 27, "Point 1 at depth 0.000"},
        CheckCase{"SoilAboveTip", [] { Problem.Layers[1].XBottom = 29.9; }, 18,
                  "**** Input Data Error No. 18 ****\n\n"
                  "Problem: The depth at the bottom of the lowermost soil layer is 29.900 ft\n"
                  "         This depth is higher than the tip of the pile at 30.000 ft.\n"
                  "Solution: Increase the depth of the soil profile or shorten the pile length.\n"},
        CheckCase{"SoilJustAboveTip", [] { Problem.Layers[1].XBottom = 30.0 - 1.0E-4; }, 18, ""},
        CheckCase{"SoilToTip", [] { Problem.Layers[1].XBottom = 30.0; }, 0,
                  "(Depth of lowest layer extends 0.00 ft below the pile tip)\n"},
        CheckCase{"SoilToTipWithRounding", [] { Problem.Layers[1].XBottom = 0.1 + 0.2; Problem.PileLength = 0.3;
                                                  Problem.PropertyTable[2].Depth = 0.3; },
                  0, ""},
        CheckCase{"NoSoilLayers", [] { Problem.NumLayers = 0; Problem.NumSoilPoints = 0; }, 18,
                  "Problem: The depth at the bottom of the lowermost soil layer is 0.000 ft\n"},
        CheckCase{"UnitWeightNotAtGround", [] { Problem.SoilPoints[1].Depth = 0.5; }, 19,
                  "**** Input Data Error No. 19 ****\n\n"
                  "The depth of the first point of the data for effective unit\n"
                  "is located at 0.500 ft below the top of the pile.\n"
                  "The ground surface is located at 0.000 ft.\n"
                  "The first point for the effective unit weight should be located\n"
                  "at the same elevation as the ground surface.\n"},
        CheckCase{"LayerNotAtGround", [] { Problem.Layers[1].XTop = 1.0; }, 20,
                  "**** Input Data Error No. 20 ****\n\n"
                  "Problem:  The first depth of the soil profile is located at 1.000 ft\n"
                  "          below the top of the pile.\n"
                  "          The ground surface is elevation is 0.000 ft.\n"},
        CheckCase{"PMultipliersNotAtGround", [] { GroupFactorsFrom(2.0); }, 21,
                  "**** Input Data Error No. 21 ****\n\n"
                  "Problem:  The depth for the first data for p-multipliers is 2.000 ft\n"},
        CheckCase{"PMultipliersAtGround", [] { GroupFactorsFrom(0.0); }, 0,
                  "Point      Depth X         p-mult         y-mult\n"
                  " No.            ft\n"
                  "-----     ----------     ----------     ----------\n"
                  "  1            0.000         0.7000         1.0000\n"
                  "  2           20.000         0.7000         1.0000\n"},
        CheckCase{"CyclesBelow2", [] { Cyclic(1.999); }, 22,
                  "**** Input Data Error No. 22 ****\n\n"
                  "Loading was specified as cyclic, but the number of cycles of \n"
                  "loading was specified as 1.999 (must be 2 or greater).\n"},
        CheckCase{"Cycles2", [] { Cyclic(2.0); }, 0,
                  "Cyclic loading criteria were used for computation of p-y curves for all analyses.\n\n"
                  "Number of cycles of loading = 2\n"},
        CheckCase{"Cycles5000", [] { Cyclic(5000.0); }, 0, "Number of cycles of loading = 5000\n"},
        CheckCase{"CyclesAbove5000", [] { Cyclic(5000.5); }, 28,
                  "**** Input Data Error No. 28 ****\n\n"
                  "Problem:  Cyclic loading type was specified and the number of cycles of loading\n"
                  "are outside the valid range of 2 to 5,000.\n"
                  "          The input number of cycles of loading is 5000.5.\n"},
        CheckCase{"StaticIgnoresCycles", [] { Problem.Options.NumberOfCycles = 0.0; }, 0,
                  "Static loading criteria were used when computing p-y curves for all analyses.\n"},
        CheckCase{"PrintAboveGround", [] { PrintAt(-0.5); }, 29,
                  "**** Input Data Error No. 29 ****\n\n"
                  "Problem:  A depth above the ground surface was specified for the printing\n"
                  "of a p-y curve.\n"},
        CheckCase{"PrintAtGround", [] { PrintAt(0.0); }, 0, ""},
        CheckCase{"PrintAtTip", [] { PrintAt(30.0); }, 0,
                  "  2                30.000                     30.000\n\n"
                  "Depth of ground surface below top of pile = 0.000 ft\n"},
        CheckCase{"PrintBelowTip", [] { PrintAt(30.01); }, 30,
                  "**** Input Data Error No. 30 ****\n\n"
                  "Problem:  Printing of a p-y curve was specified below the pile tip.\n"
                  "Solution:  Specify printing depths only for depths above the pile tip.\n"},
        CheckCase{"TipShearSound", [] { TipCurve({{0.0, 0.0}, {0.5, 100.0}, {1.0, 100.0}}); }, 0,
                  "Point     Displacement     Tip Shear Force\n"
                  " No.            in               lbs \n"
                  "   1          0.000               0.000\n"
                  "   2          0.500             100.000\n"},
        CheckCase{"TipShearNotFromOrigin", [] { TipCurve({{0.1, 0.0}, {0.5, 100.0}}); }, 50,
                  "**** Input Data Error No. 50 ****\n\n"
                  "Problem:   The input data for shear resistance at the pile tip appears to be in error at point 1.\n"},
        CheckCase{"TipShearForceFromOrigin", [] { TipCurve({{0.0, 5.0}, {0.5, 100.0}}); }, 50, "error at point 1.\n"},
        CheckCase{"TipShearRepeatedDisplacement", [] { TipCurve({{0.0, 0.0}, {0.5, 100.0}, {0.5, 150.0}}); }, 50,
                  "error at point 3.\n"},
        CheckCase{"TipShearFalling", [] { TipCurve({{0.0, 0.0}, {0.5, 100.0}, {1.0, 90.0}}); }, 50,
                  "error at point 3.\n"},
        CheckCase{"TipShearMissing", [] { TipCurve({}); }, 50, "error at point 1.\n"}),
    [](const ::testing::TestParamInfo<CheckCase>& p) { return std::string(p.param.Name); });

}  // namespace

namespace {

struct WeightCase {
    int Units;
    double Weight;  // as entered: pcf or kN/m3
    bool Warn;
};

class UnitWeightLimits : public ::testing::TestWithParam<WeightCase> {};

TEST_P(UnitWeightLimits, WarnOutsideThePlausibleRange) {
    EXPECT_EQ(echo_checks::UnitWeightImplausible(GetParam().Weight, GetParam().Units), GetParam().Warn)
        << GetParam().Weight;
}

// US limits are 0.011574 and 0.0810019 pci in single precision, compared after
// dividing pcf by 1728: 19.99987 pcf and 139.97128 pcf.
const double LowPcf = static_cast<double>(0.011574f) * 1728.0;
const double HighPcf = static_cast<double>(0.0810019f) * 1728.0;

INSTANTIATE_TEST_SUITE_P(
    BothSides, UnitWeightLimits,
    ::testing::Values(WeightCase{UnitsUS, LowPcf * (1 - 1e-9), true}, WeightCase{UnitsUS, LowPcf * (1 + 1e-9), false},
                      WeightCase{UnitsUS, 20.0, false}, WeightCase{UnitsUS, 139.97, false},
                      WeightCase{UnitsUS, HighPcf * (1 - 1e-9), false}, WeightCase{UnitsUS, HighPcf * (1 + 1e-9), true},
                      WeightCase{UnitsUS, 140.0, true}, WeightCase{UnitsUS, 0.0, true},
                      WeightCase{UnitsSI, 3.15, false}, WeightCase{UnitsSI, 3.15 * (1 - 1e-9), true},
                      WeightCase{UnitsSI, 22.0, false}, WeightCase{UnitsSI, 22.0 * (1 + 1e-9), true},
                      WeightCase{UnitsGeneral, 0.0, false}, WeightCase{UnitsGeneral, 1.0E6, false}));

}  // namespace

TEST(InputEcho, UnitWeightWarningTexts) {
    UsCase();
    Problem.SoilPoints[2].UnitWeight = 140.0;
    std::string t = Echo();
    EXPECT_TRUE(Has(t, "  2            35.00      140.00000\n\n"
                       "**** Warning - POSSIBLE INPUT DATA ERROR ****\n\n"
                       "Values entered for effective unit weights of soil were outside\n"
                       "the limits of 0.011574 pci (20 pcf) or 0.0810019 pci (140 pcf)\n"
                       "This data may be erroneous.  Please check your data.\n"))
        << t;
    EXPECT_EQ(kestro::Run.ErrorNumber, 0);

    SiCase();
    Problem.SoilPoints[3].UnitWeight = 23.0;
    t = Echo();
    EXPECT_TRUE(Has(t, "**** Warning - POSSIBLE INPUT DATA ERROR ****\n\n"
                       "Values entered for effective unit weights of soil were outside\n"
                       "the limits of 3.15 kN/m3 or 22 kN/m3.\n"
                       "The input data may be erroneous. Please check your data.\n"))
        << t;

    UsCase();
    Problem.Options.UnitSystem = UnitsGeneral;
    SetUnitLabels(UnitsGeneral);
    t = Echo();
    EXPECT_TRUE(Has(t, "**** Warning ****\n\n"
                       "Values of effective unit weight cannot be checked because \n"
                       "general units have been selected.\n"))
        << t;
    EXPECT_FALSE(Has(t, "POSSIBLE INPUT DATA ERROR"));

    // Frozen soil reads no unit weight: its zero weight is not questioned.
    UsCase();
    Problem.Layers[1].SoilType = SoilFrozen;
    Problem.SoilPoints[1].UnitWeight = Problem.SoilPoints[2].UnitWeight = 0.0;
    t = Echo();
    EXPECT_FALSE(Has(t, "POSSIBLE INPUT DATA ERROR")) << t;
}

namespace {

struct LiquefiedCase {
    int Units;
    double Ground;
    double Bottom;
    bool Deep;
};

class LiquefiedSandDepth : public ::testing::TestWithParam<LiquefiedCase> {};

TEST_P(LiquefiedSandDepth, WarnsBelowSixMetersUnderTheGround) {
    const LiquefiedCase& c = GetParam();
    UsCase();
    Problem.Options.UnitSystem = c.Units;
    SetUnitLabels(c.Units);
    Problem.GroundDepth = c.Ground;
    Problem.Layers[1] = {SoilLiquefiedSand, c.Ground, c.Bottom};
    Problem.SoilPoints[1].Depth = c.Ground;
    Problem.SoilPoints[2].Depth = c.Bottom;
    Problem.PileLength = c.Bottom;
    EXPECT_EQ(echo_checks::LiquefiedSandTooDeep(1), c.Deep);
    const std::string t = Echo();
    EXPECT_EQ(Has(t, "Warning : The depth of this layer is deeper than the recommended depth limit \n"), c.Deep);
    EXPECT_EQ(Warnings.WarningCount[354], c.Deep ? 1 : 0);
}

// 6 m is 19.685039 ft.
INSTANTIATE_TEST_SUITE_P(
    BothSides, LiquefiedSandDepth,
    ::testing::Values(LiquefiedCase{UnitsUS, 0.0, 19.685, false}, LiquefiedCase{UnitsUS, 0.0, 19.6851, true},
                      LiquefiedCase{UnitsUS, 5.0, 24.685, false}, LiquefiedCase{UnitsUS, 5.0, 24.6851, true},
                      LiquefiedCase{UnitsSI, 0.0, 6.0, false}, LiquefiedCase{UnitsSI, 0.0, 6.0001, true},
                      LiquefiedCase{UnitsGeneral, 0.0, 100.0, false}));

}  // namespace

TEST(InputEcho, SoilTypeNames) {
    const char* expected[17] = {"Unknown",
                                "Soft Clay",
                                "Stiff Clay with Free Water",
                                "Stiff Clay w/o Free Water",
                                "Stiff Clay w/o Free Water, using k",
                                "Sand (Reese, et al.)",
                                "API Sand",
                                "Liquefied Sand",
                                "Weak Rock",
                                "Vuggy Limestone",
                                "Piedmont Residual",
                                "Cemented Silt",
                                "Loess",
                                "Elastic Subgrade",
                                "User Input p-y Curves",
                                "Frozen Soil",
                                "Hard Rock"};
    for (int k = 0; k <= 16; ++k) EXPECT_EQ(SoilTypeName(k), expected[k]) << k;
    EXPECT_EQ(SoilTypeName(17), "Unknown");
    EXPECT_EQ(SoilTypeName(-1), "Unknown");
}

TEST(LrfdEcho, FactoredLoadsSharedThrustAndZeroResistanceFactors) {
    LrfdCase();
    const std::string t = Echo();
    ASSERT_EQ(kestro::Run.ErrorNumber, 0) << t;
    const ProblemData& P = Problem;
    // 1.25 DL + 1.75 LL: H = 1250 + 875, V = 125000 + 70000, M = 25000.
    EXPECT_DOUBLE_EQ(P.LrfdCombinations[1].FactoredHorizontal, 2125.0);
    EXPECT_DOUBLE_EQ(P.LrfdCombinations[1].FactoredVertical, 195000.0);
    EXPECT_DOUBLE_EQ(P.LrfdCombinations[1].FactoredMoment, 25000.0);
    EXPECT_DOUBLE_EQ(P.LrfdCombinations[2].FactoredHorizontal, 900.0);
    EXPECT_DOUBLE_EQ(P.LrfdCombinations[2].FactoredAxial, 90000.0);
    // A vertical pile: shear and axial force are the horizontal and vertical forces.
    EXPECT_EQ(P.LrfdCombinations[1].FactoredShear, 2125.0);
    EXPECT_EQ(P.LrfdCombinations[1].FactoredAxial, 195000.0);
    // Zero resistance factors are used as 0.75; given ones are kept.
    EXPECT_EQ(P.LrfdCombinations[2].FlexureResistanceFactor, 0.75);
    EXPECT_EQ(P.LrfdCombinations[2].ShearResistanceFactor, 0.75);
    EXPECT_EQ(P.LrfdCombinations[1].FlexureResistanceFactor, 0.9);
    // Combinations 1 and 3 share one thrust; the list is in kips.
    ASSERT_EQ(P.NumAxialThrusts, 2);
    EXPECT_EQ(P.AxialThrusts[1], 90.0);
    EXPECT_EQ(P.AxialThrusts[2], 195.0);
    EXPECT_EQ(P.LrfdCombinations[1].ThrustIndex, 2);
    EXPECT_EQ(P.LrfdCombinations[2].ThrustIndex, 1);
    EXPECT_EQ(P.LrfdCombinations[3].ThrustIndex, 2);

    EXPECT_FALSE(Has(t, "Factored Loads Transformed for Pile Batter")) << t;
    EXPECT_FALSE(Has(t, "Pile-head Loading and Pile-head Fixity Conditions"));
    EXPECT_TRUE(Has(t, "\n\n\n" + std::string(79, '-') +
                           "\n                  Unfactored Loading Groups for LRFD Analysis\n" + std::string(79, '-') +
                           "\nNumber of Loading Groups = 2\n\n"))
        << t;
    EXPECT_TRUE(Has(t, "        1               Dead Load   (DL)                 1000.00                20000.00"
                       "               100000.00             0\n"
                       "        2               Live Load   (LL)                  500.00                    0.00"
                       "                40000.00             2\n"));
    EXPECT_TRUE(Has(t, "Number of Distributed Loading Points Input for Load Group 2 = 2\n\n"
                       "Point           Depth          Distributed Load\n"
                       "                  ft               lb/inch   \n"
                       "-----     ----------------     ----------------\n"
                       "    1                0.000               10.000\n"
                       "    2                5.000                0.000\n"));
    EXPECT_TRUE(Has(t, "Dead Loads   (DL)                 1000.00                20000.00               100000.00"
                       "           1\n"
                       "Live Loads   (LL)                  500.00                    0.00                40000.00"
                       "           1\n"
                       "Earthquake   (EQ)                    0.00                    0.00                    0.00"
                       "           0\n"));
    EXPECT_TRUE(Has(t, "  1    1.25   1.75    --     --     --     --     --     --     --     --     --     --     --"
                       "    0.90   0.85   Strength I\n"
                       "  2    0.90    --     --     --     --     --     --     --     --     --     --     --     --"
                       "    0.75   0.75   Strength I min\n"));
    EXPECT_TRUE(Has(t, "Factored Load Combination No. 2\n"
                       "---------------------------------\n"
                       "Load Combination Name = Strength I min\n"
                       "Structural Resistance Factor for Flexure = 0.750\n"
                       "Structural Resistance Factor for Shear   = 0.750\n"
                       "Factored Load =  0.90*DL + 0.00*LL + 0.00*EQ + 0.00*IM + 0.00*W + 0.00*HW + 0.00*Ice"
                       " + 0.00*Hs + 0.00*Lr + 0.00*Rn + 0.00*Sn + 0.00*Tm + 0.00*Sp\n"
                       "Factored Horizontal Force =                   900.00 lbs\n"
                       "Factored Vertical Force   =                 90000.00 lbs\n"
                       "Factored Moment           =                 18000.00 in-lbs\n"))
        << t;
    EXPECT_TRUE(Has(t, "     Number               lbs              in-lbs               lbs        \n"
                       "--------------       --------------     --------------     --------------   "
                       "----------------------\n"
                       "        1                   2125.00           25000.00          195000.00   Strength I\n"))
        << t;
    EXPECT_TRUE(Has(t, "Number of Unique Axial Thrust Values = 2\n\n"
                       "Number   Factored Axial Thrust\n"
                       "------   ---------------------\n"
                       "   1       90000.000\n"
                       "   2      195000.000\n"))
        << t;
}

TEST(LrfdEcho, BatteredPileTransformsShearAndAxialForce) {
    LrfdCase();
    Problem.PileBatter = 10.0 * 3.141592653589793 / 180.0;
    const std::string t = Echo();
    ASSERT_EQ(kestro::Run.ErrorNumber, 0) << t;
    const double c = std::cos(10.0 * 3.141592653589793 / 180.0), s = std::sin(10.0 * 3.141592653589793 / 180.0);
    const LrfdCombination& A = Problem.LrfdCombinations[1];
    EXPECT_NEAR(A.FactoredShear, 35954.11, 0.005);   // 0.98481 x 2125 + 0.17365 x 195000
    EXPECT_NEAR(A.FactoredAxial, 191668.51, 0.005);  // -0.17365 x 2125 + 0.98481 x 195000
    EXPECT_DOUBLE_EQ(A.FactoredShear, c * 2125.0 + s * 195000.0);
    EXPECT_DOUBLE_EQ(A.FactoredAxial, -s * 2125.0 + c * 195000.0);
    EXPECT_DOUBLE_EQ(A.FactoredHorizontal, 2125.0);
    EXPECT_EQ(A.FactoredMoment, 25000.0);
    ASSERT_EQ(Problem.NumAxialThrusts, 2);
    EXPECT_EQ(Problem.AxialThrusts[2], A.FactoredAxial / 1000.0);
    EXPECT_EQ(A.ThrustIndex, 2);
    EXPECT_EQ(Problem.LrfdCombinations[2].ThrustIndex, 1);
    EXPECT_TRUE(Has(t, "Factored Loads Transformed for Pile Batter by Load Combination:\n" + std::string(63, '-') +
                           "\n\n"
                           "Horizontal and vertical loads are transformed into transverse shear and axial loads\n"
                           "using the following:\n\n"
                           "Pile PileBatter =  10.000 degrees\n\n"
                           "Transformation Matrix and Equations:\n\n"
                           "   T(1,1) =  Cos(PileBatter) =   0.9848\n"
                           "   T(1,2) = Sin(PileBatter) =   0.1736\n"
                           "   T(2,1) = -Sin(PileBatter) =  -0.1736\n"
                           "   T(2,2) = Cos(PileBatter) =   0.9848\n"))
        << t;
    EXPECT_TRUE(Has(t, "        1                  35954.11           25000.00          191668.51   Strength I\n"));
    EXPECT_TRUE(Has(t, "   1       88476.414\n   2      191668.509\n")) << t;

    // The list built after reading agrees with the one the echo left.
    const double first = Problem.AxialThrusts[1], second = Problem.AxialThrusts[2];
    BuildAxialThrustList();
    EXPECT_EQ(Problem.NumAxialThrusts, 2);
    EXPECT_EQ(Problem.AxialThrusts[1], first);
    EXPECT_EQ(Problem.AxialThrusts[2], second);
}

TEST(LrfdEcho, BatterAtThresholdCountsAsVertical) {
    LrfdCase();
    Problem.PileBatter = -1.0E-6;
    (void)Echo();
    EXPECT_EQ(Problem.LrfdCombinations[1].FactoredAxial, 195000.0);
    LrfdCase();
    Problem.PileBatter = 1.0E-6 * (1 + 1e-9);
    const std::string t = Echo();
    EXPECT_TRUE(Has(t, "Factored Loads Transformed for Pile Batter"));
    EXPECT_NE(Problem.LrfdCombinations[1].FactoredAxial, 195000.0);
}

TEST(LrfdEcho, SiThrustsStayInKilonewtons) {
    LrfdCase();
    Problem.Options.UnitSystem = UnitsSI;
    SetUnitLabels(UnitsSI);
    Problem.PileLength = 10.0;
    Problem.PropertyTable[2].Depth = 10.0;
    Problem.Options.ConvergenceTolerance = 2.54E-7;
    const std::string t = Echo();
    ASSERT_EQ(kestro::Run.ErrorNumber, 0) << t;
    ASSERT_EQ(Problem.NumAxialThrusts, 2);
    EXPECT_EQ(Problem.AxialThrusts[1], 90000.0);
    EXPECT_EQ(Problem.AxialThrusts[2], 195000.0);
    EXPECT_TRUE(Has(t, "      Group                   Type                     kN                     kN-m                 "
                       "    kN              Distrib. Lds. \n"));
    EXPECT_TRUE(Has(t, "      Type                     Kn                     Kn-M                     kN                  "
                       "Loads   \n"));
    EXPECT_TRUE(Has(t, "     Number               kN                kN-m                kN         \n"));
    EXPECT_TRUE(Has(t, "Factored Moment           =                 25000.00 kN-m\n"));
}

TEST(LrfdEcho, IterationUsesTheEchoedFactoredLoads) {
    LrfdCase();
    Problem.PileBatter = -8.0 * 3.141592653589793 / 180.0;
    (void)Echo();
    for (int c = 1; c <= 3; ++c) {
        const LrfdCombination& C = Problem.LrfdCombinations[At(c)];
        const FactoredHeadLoads f = FactoredLoadsOf(c);
        EXPECT_EQ(f.Shear, C.FactoredShear) << c;
        EXPECT_EQ(f.Moment, C.FactoredMoment) << c;
        EXPECT_EQ(f.Axial, C.FactoredAxial) << c;
        EXPECT_EQ(FactoredAxialLoad(c), C.FactoredAxial) << c;
    }
    // A negative batter turns the horizontal force the other way.
    const double b = -8.0 * 3.141592653589793 / 180.0;
    EXPECT_DOUBLE_EQ(Problem.LrfdCombinations[1].FactoredShear, std::cos(b) * 2125.0 + std::sin(b) * 195000.0);
}

// ------------------------------------------------------------ whole runs

namespace {

std::string WithOption(std::string input, const std::string& from, const std::string& to) {
    const std::size_t p = input.find(from);
    if (p != std::string::npos) input.replace(p, from.size(), to);
    return input;
}

}  // namespace

TEST(InputEchoRun, PagesComeInOrderBeforeTheResults) {
    auto r = kestro::test::RunInput(kestro::test::MinimalInput());
    ASSERT_EQ(r.Result, 0) << r.Report;
    std::size_t last = 0;
    for (const char* title :
         {"Problem Title", "Program Options", "Pile Structural Properties and Geometry",
          "Ground Slope and Pile Batter Angles", "Soil and Rock Layering Information",
          "Effective Unit Weight of Soil vs. Depth", "Summary of Soil Properties", "Loading Type",
          "Pile-head Loading and Pile-head Fixity Conditions", "Computed Values of Pile Loading and Deflection"}) {
        const std::size_t p = r.Report.find(std::string(title) + "\n");
        ASSERT_NE(p, std::string::npos) << title;
        EXPECT_GT(p, last) << title;
        last = p;
    }
    // Lengths as entered: the pile is 30 ft long and the layer ends at 35 ft.
    EXPECT_TRUE(Has(r.Report, "Total Pile Length                                      =       30.000 ft\n"));
    EXPECT_TRUE(Has(r.Report, "(Depth of lowest layer extends 5.00 ft below the pile tip)\n"));
}

TEST(InputEchoRun, SoilProfileAbovePileTipEndsWithError18InBothFiles) {
    auto r = kestro::test::RunInput(kestro::test::MinimalInput("SOIL LAYERS\n1\n13 0 25\n62 1000\n62 1000\n"));
    EXPECT_EQ(r.Result, 118);
    const std::string block =
        "\n\n**** Input Data Error No. 18 ****\n\n"
        "Problem: The depth at the bottom of the lowermost soil layer is 25.000 ft\n"
        "         This depth is higher than the tip of the pile at 30.000 ft.\n"
        "Solution: Increase the depth of the soil profile or shorten the pile length.\n\n";
    EXPECT_TRUE(Has(r.Report, block)) << r.Report;
    EXPECT_TRUE(Has(r.Messages, block)) << r.Messages;
    EXPECT_TRUE(Has(r.Report, "Kestro ended prematurely due to input error number INP00018\n"));
    EXPECT_TRUE(Has(r.Messages, "The analysis ended due to an error. "));
    // The run stops at the echo: no later page and no analysis.
    EXPECT_FALSE(Has(r.Report, "Effective Unit Weight of Soil vs. Depth"));
    EXPECT_FALSE(Has(r.Messages, "Computing lateral response"));
}

TEST(InputEchoRun, SectionOnlyRunNeedsNoSoil) {
    std::string input = WithOption(kestro::test::MinimalInput("SOIL LAYERS\n0\n"), "ComputeEIOnly NO", "ComputeEIOnly YES");
    auto r = kestro::test::RunInput(input);
    EXPECT_EQ(r.Result, 0) << r.Report;
    EXPECT_TRUE(Has(r.Report, "This analysis computes nominal moment capacity and nonlinear bending stiffness only\n"));
    EXPECT_FALSE(Has(r.Report, "Soil and Rock Layering Information"));
    EXPECT_FALSE(Has(r.Report, "Input Data Error"));
}

TEST(InputEchoRun, SiUnitWeightOutsideLimitsIsAWarningText) {
    std::string input = kestro::test::MinimalInput("SOIL LAYERS\n1\n13 0 35\n25 1000\n18 1000\n", "Units SI");
    auto r = kestro::test::RunInput(input);
    // Counted like every other warning: the run result is its number.
    EXPECT_EQ(r.Result, -371) << r.Report;
    EXPECT_TRUE(Has(r.Report, "**** Warning - POSSIBLE INPUT DATA ERROR ****\n\n"
                              "Values entered for effective unit weights of soil were outside\n"
                              "the limits of 3.15 kN/m3 or 22 kN/m3.\n"));
    EXPECT_TRUE(Has(r.Report, "Engineering units are SI Units: kilonewtons, meters, millimeters\n"));
    // Section sizes in mm are stored, and shown, in meters.
    EXPECT_TRUE(Has(r.Report, "   Top Width                  =           0.024 m\n")) << r.Report;
}

TEST(InputEchoRun, RunWithoutPileSectionsEndsWithError17) {
    auto r = kestro::test::RunInput(kestro::test::MinimalInput("SECTIONS\n0\n"));
    EXPECT_EQ(r.Result, 117);
    const std::string block = "\n\n**** Input Data Error No. 17 ****\n\n"
                              "The number of points to define the pile properties \n"
                              "is 2 to 40, not the input value of 0\n\n";
    EXPECT_TRUE(Has(r.Report, block)) << r.Report;
    EXPECT_TRUE(Has(r.Messages, block)) << r.Messages;
    EXPECT_TRUE(Has(r.Report, "Kestro ended prematurely due to input error number INP00017\n"));
}

TEST(InputEcho, DepthComparisonsAllowRoundingOnly) {
    UsCase();
    Problem.GroundDepth = 5.0;
    Problem.PileLength = 40.0;
    // 1.0E-6 of the reference depth (5 ft, 40 ft), at least 1.0E-6.
    EXPECT_TRUE(echo_checks::AtGroundSurface(5.0 + 4.9e-6));
    EXPECT_FALSE(echo_checks::AtGroundSurface(5.0 + 5.1e-6));
    EXPECT_FALSE(echo_checks::AtGroundSurface(5.0 - 5.1e-6));
    EXPECT_FALSE(echo_checks::AboveGroundSurface(5.0 - 4.9e-6));
    EXPECT_TRUE(echo_checks::AboveGroundSurface(5.0 - 5.1e-6));
    EXPECT_FALSE(echo_checks::AbovePileTip(40.0 - 3.9e-5));
    EXPECT_TRUE(echo_checks::AbovePileTip(40.0 - 4.1e-5));
    EXPECT_FALSE(echo_checks::BelowPileTip(40.0 + 3.9e-5));
    EXPECT_TRUE(echo_checks::BelowPileTip(40.0 + 4.1e-5));
    Problem.GroundDepth = 0.0;
    EXPECT_TRUE(echo_checks::AtGroundSurface(0.9e-6));
    EXPECT_FALSE(echo_checks::AtGroundSurface(1.1e-6));
}
