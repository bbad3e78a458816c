// The keyword reader and the OPTIONS section: exact line matching, every flag
// line, the range limits on both sides, and unreadable or missing input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "input/InputFile.h"
#include "input/KeywordReader.h"
#include "model/ProblemData.h"

using kestro::test::MinimalInput;
using kestro::test::RunInput;

namespace {
bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// The option lines of MinimalInput, in order, so that one can be replaced.
std::vector<std::string> OptionLines() {
    return {"Units USCS",        "UseLRFD NO",         "ComputeKmatrix NO",   "UseTipShear NO",
            "UseSoilMovement NO", "UsePYModifiers NO", "ComputeEIOnly NO",    "Loading STATIC     1",
            "Iterations 100",    "DeflLimit 100.0",    "Tolerance 1.0E-5",    "Increments 100",
            "PrintSummaryOnly NO", "PrintIncrement 1", "PrintPYCurves NO",    "ComputeInteraction NO"};
}

std::string InputWithOption(int index, const std::string& line) {
    auto lines = OptionLines();
    lines[static_cast<std::size_t>(index)] = line;
    std::string s = "KESTRO6\nOPTIONS\n";
    for (auto& l : lines) s += l + "\n";
    return s + kestro::test::PileInput() + "END\n";
}
}  // namespace

struct FlagCase {
    int Index;
    const char* Line;
    const char* Message;
};

class OptionFlagErrors : public ::testing::TestWithParam<FlagCase> {};

TEST_P(OptionFlagErrors, EndWithInputError95) {
    const FlagCase& c = GetParam();
    auto r = RunInput(InputWithOption(c.Index, c.Line));
    EXPECT_EQ(r.Result, 195);
    EXPECT_TRUE(Has(r.Report, c.Message)) << r.Report;
    EXPECT_TRUE(Has(r.Report, "Kestro ended prematurely due to input error number INP00095"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryFlagLine, OptionFlagErrors,
    ::testing::Values(
        FlagCase{1, "UseLRFD yes", "\nINPUT ERROR - Unrecognized command for LRFD analysis option\n"},
        FlagCase{2, "ComputeKmatrix", "\nINPUT ERROR - Unrecognized command for compute pile-head stiffness matrix option\n"},
        FlagCase{3, " UseTipShear NO", "\nINPUT ERROR - Unrecognized command for tip shear option\n"},
        FlagCase{4, "UseSoilMovement  NO", "\nINPUT ERROR - Unrecognized command for soil movement option\n\n"},
        FlagCase{5, "UsePYModifiers MAYBE", "\nINPUT ERROR - Unrecognized command for use of p-y modifiers option\n"},
        FlagCase{6, "ComputeEIOnly", "\nINPUT ERROR - Unrecognized command for compute nonlinear EI only option\n"},
        FlagCase{7, "Loading static     1", "INPUT ERROR - Unrecognized command for loading type option\n"},
        FlagCase{12, "PrintSummaryOnly Y", "\nINPUT ERROR - Unrecognized command for print summary only option\n"},
        FlagCase{14, "PrintPYCurves", "\nINPUT ERROR - Unrecognized command for p-y curve output depths option\n"},
        FlagCase{15, "ComputeInteraction no", "INPUT ERROR - Unrecognized command for compute interaction option\n"},
        FlagCase{15, "ComputeInteraction YES\nCode ACI 318", "INPUT ERROR - Unrecognized command for interaction code option\n"}));

struct RangeCase {
    int Index;
    const char* Line;
    const char* Units;
    int Result;
    const char* Text;
};

class OptionRanges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(OptionRanges, LimitsOnBothSides) {
    const RangeCase& c = GetParam();
    std::string input = InputWithOption(c.Index, c.Line);
    if (std::string(c.Units) != "Units USCS") input.replace(input.find("Units USCS"), 10, c.Units);
    auto r = RunInput(input);
    EXPECT_EQ(r.Result, c.Result) << r.Report;
    if (c.Result != 0) {
        EXPECT_TRUE(Has(r.Report, c.Text)) << r.Report;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, OptionRanges,
    ::testing::Values(
        RangeCase{8, "Iterations 30", "Units USCS", 0, ""}, RangeCase{8, "Iterations 1000", "Units USCS", 0, ""},
        RangeCase{8, "Iterations 29", "Units USCS", 195,
                  "Problem: Input value for iterations limit = 29 and is less than 30 iteractions"},
        RangeCase{8, "Iterations 1001", "Units USCS", 195,
                  "Problem: Input value for iterations limit = 1001 and is more than 1,000 iteractions"},
        RangeCase{11, "Increments 40", "Units USCS", 0, ""}, RangeCase{11, "Increments 500", "Units USCS", 0, ""},
        RangeCase{11, "Increments 39", "Units USCS", 155, "Problem:  The number of pile increments is less than 40."},
        RangeCase{11, "Increments 501", "Units USCS", 156, "Problem:  The number of pile increments is more than 500."},
        RangeCase{10, "Tol 1.0E-10", "Units USCS", 0, ""},
        RangeCase{10, "Tol 0.99999E-10", "Units USCS", 165, "too small (less than 1E-10 inches)."},
        // The upper limit is 0.1 in single precision, 0.10000000149...
        RangeCase{10, "Tol 0.1000000014", "Units USCS", 0, ""},
        RangeCase{10, "Tol 0.1000000016", "Units USCS", 166, "too large (more than 0.1 inches). "},
        // The pile's US-sized unit weights read as SI values lie outside the
        // usual limits: the accepted SI runs end with that warning counted.
        RangeCase{10, "Tol 2.5E-12", "Units SI", -371, ""},
        RangeCase{10, "Tol 2.4E-12", "Units SI", 167, "too small (less than 2.5E-12 meters). "},
        RangeCase{10, "Tol 0.00254", "Units SI", -371, ""},
        RangeCase{10, "Tol 0.002541", "Units SI", 168, "too large (more than 2.54E-3 meters). "},
        // General units: the tolerance is not checked.
        RangeCase{10, "Tol 5.0", "Units GENERAL", 0, ""}));

TEST(KeywordReader, UnitsLineAcceptsTrailingBlanksOnly) {
    // Accepted: the run goes on (its US-sized unit weights, read as SI values,
    // give the counted unit-weight warning).
    EXPECT_EQ(RunInput(InputWithOption(0, "Units SI   ")).Result, -371);
    for (const char* bad : {" Units SI", "units SI", "Units  SI"}) {
        auto r = RunInput(InputWithOption(0, bad));
        EXPECT_EQ(r.Result, 199) << bad;
        EXPECT_TRUE(Has(r.Report, "***** INPUT ERROR *****\n\n\nThe following line is unrecognized or is out-of-order\n\n\n" +
                                      std::string(bad) + std::string(256 - std::string(bad).size(), ' ') + "\n\n\n"));
        EXPECT_TRUE(Has(r.Messages, "The following line is unrecognized or is out-of-order"));
    }
}

TEST(KeywordReader, UnknownKeywordAndMissingEnd) {
    auto r = RunInput(MinimalInput("SOIL LAYER\n"));
    EXPECT_EQ(r.Result, 199);
    EXPECT_TRUE(Has(r.Report, "SOIL LAYER" + std::string(246, ' ')));
    r = RunInput("KESTRO6\nOPTIONS\nUnits USCS\n");
    EXPECT_EQ(r.Result, 180);
    EXPECT_TRUE(Has(r.Report, "**** Input Data Error No. 80 ****"));
    EXPECT_TRUE(Has(r.Report, "The input file ended after line 3 while reading UseLRFD option line."));
    EXPECT_TRUE(Has(r.Messages, "The analysis ended due to an error. "));
}

TEST(KeywordReader, EndOfFileInsideEveryOptionLine) {
    auto lines = OptionLines();
    for (std::size_t cut = 0; cut < lines.size(); ++cut) {
        std::string s = "KESTRO6\nOPTIONS\n";
        for (std::size_t i = 0; i < cut; ++i) s += lines[i] + "\n";
        auto r = RunInput(s);
        EXPECT_EQ(r.Result, 180) << "cut before option line " << cut;
    }
}

TEST(KeywordReader, NonNumberWhereNumberExpected) {
    auto r = RunInput(InputWithOption(11, "Increments one-hundred"));
    EXPECT_EQ(r.Result, 181);
    EXPECT_TRUE(Has(r.Report, "Problem:  Line 14 holds \"one-hundred\" where a whole number was expected while reading "
                              "the number of pile increments."));
    r = RunInput(InputWithOption(11, "Increments 100.5"));
    EXPECT_EQ(r.Result, 181);
    r = RunInput(InputWithOption(7, "Loading STATICabc"));
    EXPECT_EQ(r.Result, 181);
}

TEST(KeywordReader, ValuesContinueOnNextLineAndExtrasAreIgnored) {
    auto r = RunInput(InputWithOption(11, "Increments\n120 extra"));
    EXPECT_EQ(r.Result, 0);
    EXPECT_EQ(kestro::Problem.Options.NumIncrements, 120);
    // Further numbers on the line the list was completed from are taken as a
    // sign of a missing value: the run goes on, with a warning.
    r = RunInput(InputWithOption(11, "Increments\n120 999 extra"));
    EXPECT_EQ(r.Result, -322);
    EXPECT_EQ(kestro::Problem.Options.NumIncrements, 120);
}

TEST(KeywordReader, LongLinesAreCutAt256ForKeywords) {
    std::string longTitle(300, 'x');
    std::string input = kestro::test::MinimalInput();
    input.replace(input.find("Test run"), 8, longTitle);
    input.replace(input.rfind("END\n"), 4, "END" + std::string(300, ' ') + "\n");
    auto r = RunInput(input);
    EXPECT_EQ(r.Result, 0);
    EXPECT_EQ(kestro::Problem.Title[1].View().size(), 256u);
}

TEST(KeywordReader, InteractionCodesAndModes) {
    auto r = RunInput(InputWithOption(15, "ComputeInteraction YES\nCode ACI318"));
    EXPECT_EQ(r.Result, 0);
    EXPECT_EQ(kestro::Problem.Options.InteractionCode, 2);
    r = RunInput(InputWithOption(6, "ComputeEIOnly YES"));
    EXPECT_EQ(kestro::Problem.Options.ComputationMode, 2);
    EXPECT_EQ(r.Plot.substr(0, 5), "    2");
    r = RunInput(InputWithOption(7, "Loading CYCLIC   100"));
    EXPECT_TRUE(kestro::Problem.Options.LoadingType);
    EXPECT_DOUBLE_EQ(kestro::Problem.Options.NumberOfCycles, 100.0);
}

TEST(FreeFormat, TokenParsing) {
    double v = 0;
    int i = 0;
    EXPECT_TRUE(kestro::ParseReal("1.5D+03", v));
    EXPECT_DOUBLE_EQ(v, 1500.0);
    EXPECT_TRUE(kestro::ParseReal("-.25e-1", v));
    EXPECT_DOUBLE_EQ(v, -0.025);
    for (const char* bad : {"nan", "inf", "1.0x", "0x10", "", "--1", "1e999"}) EXPECT_FALSE(kestro::ParseReal(bad, v)) << bad;
    EXPECT_TRUE(kestro::ParseInteger("12", i));
    EXPECT_EQ(i, 12);
    EXPECT_TRUE(kestro::ParseInteger("3.0", i));
    EXPECT_FALSE(kestro::ParseInteger("3.5", i));
    EXPECT_FALSE(kestro::ParseInteger("1e12", i));
}

TEST(AxialThrustList, SortedDistinctAndInKips) {
    kestro::ResetProblemData();
    auto& P = kestro::Problem;
    P.Options.UnitSystem = kestro::UnitsUS;
    P.NumLoadCases = 3;
    P.LoadCases[1].AxialLoad = 100.0;
    P.LoadCases[2].AxialLoad = 50.0;
    P.LoadCases[3].AxialLoad = 100.0;
    kestro::BuildAxialThrustList();
    ASSERT_EQ(P.NumAxialThrusts, 2);
    EXPECT_DOUBLE_EQ(P.AxialThrusts[1], 0.05);
    EXPECT_DOUBLE_EQ(P.AxialThrusts[2], 0.1);
}
