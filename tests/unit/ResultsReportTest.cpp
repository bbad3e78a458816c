// Fixed texts of the results report: pile-head condition blocks, the
// equilibrium warning, the summary rows and the SI headings.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "PileTestSupport.h"
#include "report/ResultsReport.h"

using namespace kestro;

namespace {
void UseUnits(int units) {
    ResetRunState();
    ResetProblemData();
    Problem.Options.UnitSystem = units;
    Run.b_SI = units == UnitsSI;
    SetUnitLabels(units);
}
}  // namespace

struct HeadBlockCase {
    const char* Name;
    int Units, Type;
    double C1, C2, Axial;
    const char* Expected;
};

class HeadConditionBlock : public ::testing::TestWithParam<HeadBlockCase> {};

TEST_P(HeadConditionBlock, IsWrittenExactly) {
    const HeadBlockCase& c = GetParam();
    UseUnits(c.Units);
    std::ostringstream out;
    WriteHeadConditions(out, c.Type, c.C1, c.C2, c.Axial);
    EXPECT_EQ(out.str(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Results, HeadConditionBlock,
    ::testing::Values(
        HeadBlockCase{"type2_rotated", UnitsUS, 2, 100.0, 0.001, 50.0,
                      "Pile-head conditions are Shear and Pile-head Rotation (Loading Type 2)\n\n"
                      "Shear force at pile head                             =         100.000 lbs\n"
                      "Rotation of pile head                                =      1.0000E-03 radians\n"
                      "Axial load at pile head                              =          50.000 lbs\n\n"
                      "(Non-zero slope for this load does indicates rotated pile-head condition)\n\n"},
        HeadBlockCase{"type2_fixed_below_threshold", UnitsUS, 2, 100.0, 0.99e-10, 0.0,
                      "Pile-head conditions are Shear and Pile-head Rotation (Loading Type 2)\n\n"
                      "Shear force at pile head                             =         100.000 lbs\n"
                      "Rotation of pile head                                =      9.9000E-11 radians\n"
                      "Axial load at pile head                              =           0.000 lbs\n\n"
                      "(Zero slope for this load indicates fixed-head conditions)\n\n"},
        HeadBlockCase{"type3_si", UnitsSI, 3, 10.0, 2500.0, 1.0,
                      "Pile-head conditions are Shear and Rotational Stiffness (Loading Type 3)\n\n"
                      "Shear force at pile head                             =          10.000 kN\n"
                      "Rotational stiffness                                 =        2500.000 kN-m/rad\n"
                      "Axial load at pile head                              =           1.000 kN\n\n"},
        HeadBlockCase{"type4", UnitsUS, 4, 0.25, 1000.0, 0.0,
                      "Pile-head conditions are Displacement and Moment (Loading Type 4)\n\n"
                      "Displacement of pile head                            =        0.250000 inches\n"
                      "Moment at pile head                                  =        1000.000 in-lbs\n"
                      "Axial load at pile head                              =           0.000 lbs\n\n"},
        HeadBlockCase{"type5_si", UnitsSI, 5, 0.01, -0.002, 0.0,
                      "Pile-head conditions are Displacement and Pile-head Rotation (Loading Type 5)\n\n"
                      "Displacement of pile head                            =        0.010000 meters\n"
                      "Rotation of pile head                                =     -2.0000E-03 radians\n"
                      "Axial load on pile head                              =           0.000 kN\n\n"},
        HeadBlockCase{"general_units_omitted", UnitsGeneral, 1, 1.0, 2.0, 3.0, ""}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(Results, EquilibriumWarningBlocks) {
    UseUnits(UnitsUS);
    std::ostringstream report, messages;
    WriteEquilibriumWarning(report, messages, 2.5, 0.125);
    const std::string body =
        "Force and moment imbalances may be too large for a good solution.\n"
        "The cause of the imbalance may be due to extreme changes in magnitude\n"
        "of nonlinear bending stiffness within three nodal points of the top of the pile\n"
        "which may affect the finite difference computation of shear force.\n"
        "Please examine curves and printed output for deflection, moment, shear force,\n"
        "and number of iterations to determine if computed values are reasonable.\n"
        "If the shear force shows large changes, increase the number of nodal points\n"
        "(pile increments) and repeat the analysis.\n";
    EXPECT_EQ(report.str(), "\n**** Warning - POSSIBLE SOLUTION ERROR 5501 ****\n" + body +
                                "Maximum internal moment imbalance for pile        =  2.50000E+00 in-lb\n"
                                "Maximum internal lateral force imbalance for pile =  1.25000E-01 lbs \n");
    EXPECT_EQ(messages.str(), "\n**** Warning - Possible Solution Error 550 ****\n" + body +
                                  "Maximum internal moment imbalance for pile solution         =  2.50000E+00 in-lb\n"
                                  "Maximum internal lateral force imbalance for pile  solution =  1.25000E-01 lbs \n");
}

TEST(Results, SummaryRowsOfEveryLoadType) {
    UseUnits(UnitsUS);
    std::ostringstream out;
    for (int t = 1; t <= 5; ++t) WriteSummaryRow(out, t, t, 1.5, 0.0, 0.0, 0.0, 0.0, 0.0, -0.00123456789);
    std::istringstream in(out.str());
    std::string l;
    const char* tags[] = {"  1     1   V =", "  2    2   V =", "  3     3   V =", "  4     4   y =", "  5    5   y ="};
    const char* second[] = {"  M =", "  S =", "  R =", "  M =", "  S ="};
    for (int t = 0; t < 5; ++t) {
        ASSERT_TRUE(std::getline(in, l));
        EXPECT_EQ(l.substr(0, std::string(tags[t]).size()), tags[t]);
        EXPECT_NE(l.find(std::string("     1.5000") + second[t] + "      0.000"), std::string::npos) << l;
        EXPECT_EQ(l.substr(l.size() - 15), "    -0.00123457");
    }
}

TEST(Results, SummaryHeadingInSIUnits) {
    UseUnits(UnitsSI);
    std::ostringstream out;
    WriteSummaryHeading(out);
    const std::string s = out.str();
    EXPECT_NE(s.find("Load Type 1: Load 1 = Shear, kN, and Load 2 = Moment, kN-m \n"), std::string::npos);
    EXPECT_NE(s.find("Case  Type    V(kN) or       kN-m, rad.,       Loading      Deflection       Moment          "
                     "Shear        Rotation   \n No.   No.    y(meters)      or kN-m/rad.        kN           meters  "
                     "        kN-m            kN           radians   \n"),
              std::string::npos);
}

TEST(Results, OutputSummaryInSIUnits) {
    UseUnits(UnitsSI);
    std::ostringstream out;
    WriteOutputSummary(out, 3, 0.0125, -0.001, 250.0, -80.0, 2.5, 0.0, 17, 2);
    EXPECT_EQ(out.str(), "\nOutput Summary for Load Case No. 3:\n\n"
                         "Pile-head deflection             =      0.0125000 meters\n"
                         "Computed slope at pile head      =     -0.0010000 radians\n"
                         "Maximum bending moment           =    250.0000000 kN-m\n"
                         "Maximum shear force              =    -80.0000000 kN\n"
                         "Depth of maximum bending moment  =      2.5000000 meters below pile head\n"
                         "Depth of maximum shear force     =       0.000000 meters below pile head\n"
                         "Number of iterations             =             17\n"
                         "Number of zero deflection points =              2\n");
}
