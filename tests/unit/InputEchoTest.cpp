// The input echo: page texts for US and SI input, every numbered check on
// both sides of its limit, and the LRFD pages with their factored loads.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "analysis/FactoredLoads.h"
#include "driver/Warnings.h"
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
