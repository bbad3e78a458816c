// The loading and auxiliary sections: load cases, axial thrusts, LRFD groups
// and combinations with their exact error texts, tip shear, batter and slope,
// group factors, soil movements, printed p-y depths, every capacity, and the
// conversion of their depths and movements to internal units.
#include <gtest/gtest.h>

#include <string>

#include "ReaderTestSupport.h"
#include "model/ProblemData.h"

using kestro::Problem;
using kestro::test::Has;
using kestro::test::MinimalInput;
using kestro::test::ReadOnly;
using kestro::test::RunInput;

namespace {

std::string WithOption(const std::string& from, const std::string& to, const std::string& body,
                       const std::string& units = "Units USCS") {
    std::string s = MinimalInput(body, units);
    s.replace(s.find(from), from.size(), to);
    return s;
}

std::string Repeat(int n, const std::string& line) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += std::to_string(i) + " " + line + "\n";
    return s;
}

}  // namespace

TEST(LoadInput, LoadCasesAndLengthCodes) {
    std::string body = "LOADING\n3\n3 1 1000 0 500 1\n2 2 2000 0.001 0 2\n1 4 0.5 100 0 0\n2\n1 0 10\n2 10 20\n";
    ASSERT_EQ(ReadOnly(MinimalInput(body)), 0);
    ASSERT_EQ(Problem.NumLoadCases, 3);
    const auto& c = Problem.LoadCases[1];
    EXPECT_EQ(c.LoadType, 1);
    EXPECT_DOUBLE_EQ(c.Condition1, 1000.0);
    EXPECT_DOUBLE_EQ(c.Condition2, 0.0);
    EXPECT_DOUBLE_EQ(c.AxialLoad, 500.0);
    EXPECT_FALSE(c.LengthStudyRequested);
    EXPECT_TRUE(Problem.LoadCases[2].LengthStudyRequested);
    EXPECT_TRUE(Problem.LoadCases[3].LengthStudyRequested);
    EXPECT_EQ(Problem.LoadCases[3].LoadType, 4);
    EXPECT_EQ(Problem.NumDistributedPoints, 2);
    EXPECT_DOUBLE_EQ(Problem.DistDepth[2], 10.0);
    EXPECT_DOUBLE_EQ(Problem.DistLoad[2], 20.0);
    // No distributed points: the first two entries are zero.
    ASSERT_EQ(ReadOnly(MinimalInput("LOADING\n1\n1 1 1000 0 0 1\n0\n")), 0);
    EXPECT_EQ(Problem.NumDistributedPoints, 0);
    EXPECT_DOUBLE_EQ(Problem.DistDepth[2], 0.0);
}

TEST(LoadInput, UnknownLoadTypeEndsTheRun) {
    auto r = RunInput(MinimalInput("LOADING\n1\n1 6 1000 0 0 1\n0\n"));
    EXPECT_EQ(r.Result, 189);
    EXPECT_TRUE(Has(r.Report, "The pile-head load type of load case 1 is 6, which is not a valid code.")) << r.Report;
}

TEST(LoadInput, AxialThrustsAreSortedAndNeverEmpty) {
    ASSERT_EQ(ReadOnly(MinimalInput("AXIAL THRUST LOADS\n3\n1 300\n2 100\n3 200\n")), 0);
    ASSERT_EQ(Problem.NumThrustLoads, 3);
    EXPECT_DOUBLE_EQ(Problem.ThrustLoads[1], 100.0);
    EXPECT_DOUBLE_EQ(Problem.ThrustLoads[2], 200.0);
    EXPECT_DOUBLE_EQ(Problem.ThrustLoads[3], 300.0);
    // Thrust list after END: kips, distinct, ascending, with the zero axial
    // load of the minimal pile's load case.
    EXPECT_EQ(Problem.NumAxialThrusts, 4);
    EXPECT_DOUBLE_EQ(Problem.AxialThrusts[1], 0.0);
    EXPECT_DOUBLE_EQ(Problem.AxialThrusts[2], 0.1);
    for (const char* count : {"0", "-4"}) {
        ASSERT_EQ(ReadOnly(MinimalInput(std::string("AXIAL THRUST LOADS\n") + count + "\n")), 0);
        EXPECT_EQ(Problem.NumThrustLoads, 1) << count;
        EXPECT_DOUBLE_EQ(Problem.ThrustLoads[1], 0.0);
    }
    auto r = RunInput(MinimalInput("AXIAL THRUST LOADS\n101\n"));
    EXPECT_EQ(r.Result, 184);
    EXPECT_TRUE(Has(r.Report, "The number of axial thrust loads is 101, outside the valid range of 0 to 100."));
}

// AXIAL THRUST LOADS and LOADING each fill their own data, in either order:
// the load cases keep their lateral loads and axial loads, the thrust list
// holds both sets of values.
TEST(LoadInput, AxialThrustsNeverReplaceTheLoadCases) {
    const std::string thrusts = "AXIAL THRUST LOADS\n2\n1 300000\n2 100000\n";
    const std::string loading = "LOADING\n2\n1 1 1000 0 50000 1\n2 2 2000 0 20000 1\n0\n";
    for (const std::string& body : {thrusts + loading, loading + thrusts}) {
        SCOPED_TRACE(body);
        ASSERT_EQ(ReadOnly(MinimalInput(body)), 0);
        ASSERT_EQ(Problem.NumLoadCases, 2);
        EXPECT_EQ(Problem.LoadCases[1].LoadType, 1);
        EXPECT_DOUBLE_EQ(Problem.LoadCases[1].Condition1, 1000.0);
        EXPECT_DOUBLE_EQ(Problem.LoadCases[1].AxialLoad, 50000.0);
        EXPECT_EQ(Problem.LoadCases[2].LoadType, 2);
        EXPECT_DOUBLE_EQ(Problem.LoadCases[2].AxialLoad, 20000.0);
        ASSERT_EQ(Problem.NumAxialThrusts, 4);
        const double kips[] = {20.0, 50.0, 100.0, 300.0};
        for (int j = 1; j <= 4; ++j) EXPECT_DOUBLE_EQ(Problem.AxialThrusts[static_cast<std::size_t>(j)], kips[j - 1]);
    }
}

TEST(LoadInput, LrfdLoadGroups) {
    std::string body = "LRFD LOADS\n3\n1 1 1000 0 50000 0\n2 2 500 100 20000 2\n1 0 10\n2 10 0\n"
                       "3 8 0 0 0 100\n" + Repeat(100, "5 1") + "LRFD FACTORS AND CASES\n1\n"
                       "1 1.25 1.75 0 0 0 0 0 1.5 0 0 0 0 0 0.9 0.75\n  Strength I  \n";
    auto input = WithOption("UseLRFD NO", "UseLRFD YES", body);
    ASSERT_EQ(ReadOnly(input), 0);
    EXPECT_EQ(Problem.NumLrfdGroups, 3);
    EXPECT_EQ(Problem.LrfdGroups[2].LrfdLoadType, 2);
    EXPECT_DOUBLE_EQ(Problem.LrfdGroups[2].GroupMoment, 100.0);
    EXPECT_DOUBLE_EQ(Problem.LrfdGroups[2].DistLoad[1], 10.0);
    EXPECT_EQ(Problem.LrfdGroups[3].NumDistributedPoints, 100);
    EXPECT_EQ(Problem.NumLrfdCombinations, 1);
    const auto& C = Problem.LrfdCombinations[1];
    EXPECT_DOUBLE_EQ(C.Factor[1], 1.25);
    EXPECT_DOUBLE_EQ(C.Factor[8], 1.5);
    EXPECT_DOUBLE_EQ(C.Factor[13], 0.0);
    EXPECT_DOUBLE_EQ(C.FlexureResistanceFactor, 0.9);
    EXPECT_DOUBLE_EQ(C.ShearResistanceFactor, 0.75);
    EXPECT_EQ(C.CombinationName.View(), "  Strength I");
    // Factored thrust 1.25 x 50000 + 1.75 x 20000 = 97500 lbs = 97.5 kips.
    EXPECT_EQ(Problem.NumAxialThrusts, 1);
    EXPECT_DOUBLE_EQ(Problem.AxialThrusts[1], 97.5);
}

TEST(LoadInput, LrfdErrorTexts) {
    struct Case {
        std::string Body;
        int Result;
        std::string Text;
    };
    const Case cases[] = {
        {"LRFD LOADS\n0\n", 198,
         "\n\n***** Input Data Error No. 98 *****\n\n\nNumber of LRFD loads specified is 0\n"
         "This is outside of the valid range to 1 to 100\n\n\n"},
        {"LRFD LOADS\n101\n", 198, "Number of LRFD loads specified is 101\n"},
        {"LRFD LOADS\n2\n1 1 0 0 0 0\n3 1 0 0 0 0\n", 197,
         "\n\n***** Input Data Error No. 97 *****\n\n\nInput appears to be out-of-order for LRFD loading\n"
         "Input load number is 3 and the expected load number is 2\n\n\n"},
        {"LRFD LOADS\n1\n1 1 0 0 0 1\n", 195,
         "\n\n***** Input Data Error No. 95 *****\n\n\nNumber of distributed load points for LRFD load number 1 is "
         "outside of the valid range of 0 or 2 to 100.\n\n\nThe input number of distributed load points is 1\n\n\n"},
        {"LRFD LOADS\n1\n1 1 0 0 0 101\n", 195, "The input number of distributed load points is 101\n"},
        {"LRFD LOADS\n1\n1 1 0 0 0 2\n1 0 10\n3 5 10\n", 196,
         "\n\n***** Input Data Error No. 96 *****\n\n\nInput appears to be out-of-order for LRFD distributed load 1\n\n"
         "Input distributed load point is 3\n and the expected point number is 2\n\n\n"},
        {"LRFD FACTORS AND CASES\n0\n", 194,
         "\n\n***** Input Data Error No. 94 *****\n\n\nNumber of LRFD load combinations outside of the valid range of "
         "1 to 100.\n\n\nNumber of LRFD load combinations input is 0\n\n\n"},
        {"LRFD FACTORS AND CASES\n101\n", 194, "Number of LRFD load combinations input is 101\n"},
        {"LRFD LOADS\n1\n1 14 0 0 0 0\n", 189, "The load type of LRFD loading group 1 is 14"},
    };
    for (const auto& c : cases) {
        auto r = RunInput(MinimalInput(c.Body));
        EXPECT_EQ(r.Result, c.Result) << c.Body;
        EXPECT_TRUE(Has(r.Report, c.Text)) << c.Body << "\n" << r.Report;
    }
}

TEST(LoadInput, TipShearBatterAndGroupFactors) {
    std::string body = "TIP SHEAR\n3\n1 0 0\n2 0.1 1000\n3 0.5 2000\nPILE BATTER AND SLOPE\n10\n4\n"
                       "GROUPEFF\n2\n1 0 0.8 1.0\n2 20 0.9 1.1\n";
    ASSERT_EQ(ReadOnly(MinimalInput(body)), 0);
    EXPECT_EQ(Problem.NumTipShearPoints, 3);
    EXPECT_DOUBLE_EQ(Problem.TipDisplacement[3], 0.5);
    EXPECT_DOUBLE_EQ(Problem.TipShearForce[2], 1000.0);
    EXPECT_DOUBLE_EQ(Problem.EffectiveSlope, 6.0 * 3.141592653589793 / 180.0);
    EXPECT_DOUBLE_EQ(Problem.GroundSlope, 10.0 * 3.141592653589793 / 180.0);
    EXPECT_EQ(Problem.NumGroupFactorPoints, 2);
    EXPECT_DOUBLE_EQ(Problem.PMultiplier[2], 0.9);
    EXPECT_DOUBLE_EQ(Problem.YMultiplier[2], 1.1);
    // The other name of the same section.
    ASSERT_EQ(ReadOnly(MinimalInput("GROUP EFFECT FACTORS\n1\n1 5 0.7 1.0\n")), 0);
    EXPECT_DOUBLE_EQ(Problem.GroupDepth[1], 5.0);
}

TEST(LoadInput, SoilMovementCountErrorInBothFiles) {
    const std::string text = "**** Input Data Error No. 53 ****\n\n\nNumber of lines specified for soil movement data = ";
    for (int n : {1, 101}) {
        auto r = RunInput(WithOption("UseSoilMovement NO", "UseSoilMovement YES",
                                     "SOIL MOVEMENTS\n" + std::to_string(n) + "\n" + Repeat(n, "0 1")));
        EXPECT_EQ(r.Result, 153) << n;
        const std::string full = text + std::to_string(n) +
                                 "\nThe number of lines of soil movement data cannot be less than 2 or exceed 100.\n\n";
        EXPECT_TRUE(Has(r.Report, full)) << r.Report;
        EXPECT_TRUE(Has(r.Messages, full)) << r.Messages;
        EXPECT_LT(r.Messages.find("Error No. 53"), r.Messages.find("The analysis ended due to an error."));
    }
    auto input = WithOption("UseSoilMovement NO", "UseSoilMovement YES", "SOIL MOVEMENTS\n100\n" + Repeat(100, "1 25"));
    ASSERT_EQ(ReadOnly(input), 0);
    EXPECT_EQ(Problem.NumSoilMovementPoints, 100);
    // Without the option the data lines are read as keyword lines.
    EXPECT_EQ(RunInput(MinimalInput("SOIL MOVEMENTS\n2\n1 0 1\n2 10 0\n")).Result, 199);
}

TEST(LoadInput, PrintedPyDepths) {
    auto input = WithOption("PrintPYCurves NO", "PrintPYCurves YES", "DEPTHS OF PRINTED P-Y CURVES\n2\n1 5\n2 10\n");
    ASSERT_EQ(ReadOnly(input), 0);
    EXPECT_EQ(Problem.NumPrintedPyDepths, 2);
    EXPECT_DOUBLE_EQ(Problem.PrintedPyDepth[2], 10.0);
    auto r = RunInput(WithOption("PrintPYCurves NO", "PrintPYCurves YES", "DEPTHS OF PRINTED P-Y CURVES\n51\n"));
    EXPECT_EQ(r.Result, 184);
    EXPECT_TRUE(Has(r.Report, "The number of depths of printed p-y curves is 51, outside the valid range of 0 to 50."));
}

TEST(LoadInput, EveryCountCapacityOnePastItsBound) {
    struct Case {
        std::string Body;
        std::string Text;
    };
    const Case cases[] = {
        {"LOADING\n101\n", "The number of pile-head load cases is 101, outside the valid range of 0 to 100."},
        {"LOADING\n-1\n", "The number of pile-head load cases is -1"},
        {"LOADING\n1\n1 1 0 0 0 1\n51\n",
         "The number of distributed lateral load points is 51, outside the valid range of 0 to 50."},
        {"TIP SHEAR\n51\n", "The number of tip shear resistance points is 51, outside the valid range of 0 to 50."},
        {"GROUPEFF\n81\n",
         "The number of p-y modifier points for group action is 81, outside the valid range of 0 to 80."},
        {"GROUP EFFECT FACTORS\n-3\n", "The number of p-y modifier points for group action is -3"},
    };
    for (const auto& c : cases) {
        auto r = RunInput(MinimalInput(c.Body));
        EXPECT_EQ(r.Result, 184) << c.Body;
        EXPECT_TRUE(Has(r.Report, "**** Input Data Error No. 84 ****"));
        EXPECT_TRUE(Has(r.Report, c.Text)) << c.Body << "\n" << r.Report;
    }
    // The bounds themselves are accepted.
    ASSERT_EQ(ReadOnly(MinimalInput("TIP SHEAR\n50\n" + Repeat(50, "0 0") + "GROUPEFF\n80\n" + Repeat(80, "0 1 1") +
                                    "LOADING\n100\n" + Repeat(100, "1 0 0 0 1") + "50\n" + Repeat(50, "0 0"))),
              0);
    EXPECT_EQ(Problem.NumLoadCases, 100);
    EXPECT_EQ(Problem.NumDistributedPoints, 50);
}

TEST(LoadInput, EndOfFileInsideEachSection) {
    const std::string sections[] = {
        "LOADING\n1\n1 1 1000 0 0 1\n1\n1 0 10\n",
        "AXIAL THRUST LOADS\n2\n1 100\n2 200\n",
        "LRFD LOADS\n1\n1 1 0 0 0 2\n1 0 10\n2 10 0\n",
        "LRFD FACTORS AND CASES\n1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 0.9 0.75\nName\n",
        "TIP SHEAR\n1\n1 0 0\n",
        "PILE BATTER AND SLOPE\n0\n0\n",
        "GROUPEFF\n1\n1 0 1 1\n",
    };
    // The format tag, title and options of the minimal input, without its pile.
    std::string head = MinimalInput();
    head = head.substr(0, head.find(kestro::test::PileInput()));
    for (const auto& full : sections) {
        for (std::size_t cut = full.find('\n') + 1; cut < full.size(); cut = full.find('\n', cut) + 1)
            EXPECT_EQ(ReadOnly(head + full.substr(0, cut)), 180) << full.substr(0, cut);
        EXPECT_EQ(ReadOnly(head + full + "END\n"), 0) << full;
    }
}

TEST(LoadInput, DepthsAndMovementsConvertedOnce) {
    std::string body = "LOADING\n1\n1 1 1000 0 0 1\n2\n1 0 10\n2 2.5 10\nGROUPEFF\n1\n1 3 0.8 1\n"
                       "SOIL MOVEMENTS\n2\n1 0 25\n2 10 0\nDEPTHS OF PRINTED P-Y CURVES\n1\n1 7.5\n"
                       "TIP SHEAR\n2\n1 0 0\n2 0.5 100\nLRFD LOADS\n1\n1 1 0 0 0 2\n1 0 5\n2 4 5\n";
    auto us = WithOption("UseSoilMovement NO", "UseSoilMovement YES", body);
    us.replace(us.find("PrintPYCurves NO"), 16, "PrintPYCurves YES");
    ASSERT_EQ(ReadOnly(us, true), 0);
    EXPECT_DOUBLE_EQ(Problem.DistDepth[2], 30.0);
    EXPECT_DOUBLE_EQ(Problem.DistLoad[2], 10.0);
    EXPECT_DOUBLE_EQ(Problem.GroupDepth[1], 36.0);
    EXPECT_DOUBLE_EQ(Problem.SoilMovementDepth[2], 120.0);
    EXPECT_DOUBLE_EQ(Problem.SoilMovement[1], 25.0);       // inches stay inches
    EXPECT_DOUBLE_EQ(Problem.PrintedPyDepth[1], 90.0);
    EXPECT_DOUBLE_EQ(Problem.TipDisplacement[2], 0.5);
    EXPECT_DOUBLE_EQ(Problem.LrfdGroups[1].DistDepth[2], 48.0);
    EXPECT_DOUBLE_EQ(Problem.LoadCases[1].Condition1, 1000.0);

    // SI: the soil movement of 25 mm becomes 0.025 m; depths are meters already.
    auto si = WithOption("UseSoilMovement NO", "UseSoilMovement YES", body, "Units SI");
    si.replace(si.find("PrintPYCurves NO"), 16, "PrintPYCurves YES");
    ASSERT_EQ(ReadOnly(si, true), 0);
    EXPECT_DOUBLE_EQ(Problem.SoilMovement[1], 0.025);
    EXPECT_DOUBLE_EQ(Problem.SoilMovementDepth[2], 10.0);
    EXPECT_DOUBLE_EQ(Problem.DistDepth[2], 2.5);
    EXPECT_DOUBLE_EQ(Problem.PrintedPyDepth[1], 7.5);
    kestro::ConvertToInternalUnits();
    EXPECT_DOUBLE_EQ(Problem.SoilMovement[1], 0.025);
}

TEST(LoadInput, EndOfFileInsideSoilMovementsAndPrintedDepths) {
    const std::string options = "KESTRO6\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\n"
                                "UseSoilMovement YES\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     1\n"
                                "Iterations 100\nDeflLimit 100.0\nTolerance 1.0E-5\nIncrements 100\nPrintSummaryOnly NO\n"
                                "PrintIncrement 1\nPrintPYCurves YES\nComputeInteraction NO\n";
    for (const std::string& full : {std::string("SOIL MOVEMENTS\n2\n1 0 1\n2 10 0\n"),
                                   std::string("DEPTHS OF PRINTED P-Y CURVES\n2\n1 5\n2 10\n")}) {
        for (std::size_t cut = full.find('\n') + 1; cut < full.size(); cut = full.find('\n', cut) + 1)
            EXPECT_EQ(ReadOnly(options + full.substr(0, cut)), 180) << full.substr(0, cut);
        EXPECT_EQ(ReadOnly(options + full + "END\n"), 0) << full;
    }
}
