// The run driver: run files, header, completion lines and run results.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "model/Warnings.h"
#include "kestro/kgo.h"

using kestro::test::MinimalInput;
using kestro::test::RunInput;
using kestro::test::RunWithNames;

namespace {
bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }
}  // namespace

TEST(RunDriver, MinimalInputEndsNormallyWithHeader) {
    auto r = RunInput(MinimalInput());
    EXPECT_EQ(r.Result, 0);
    const std::string eq(80, '=');
    EXPECT_EQ(r.Report.rfind(eq + "\n\n               " + "  Kestro for Windows, Version 6.0 (6.0.20)\n\n", 0), 0u);
    EXPECT_TRUE(Has(r.Report, "               Subjected to Lateral Loading Using the p-y Method\n"));
    EXPECT_TRUE(Has(r.Report, "This program is licensed to: \n\nTest User\nTest Company\n\n"));
    EXPECT_TRUE(Has(r.Report, "                            Files Used for Analysis\n"));
    EXPECT_TRUE(Has(r.Report, "Name of input data file:     input.dat\n"));
    EXPECT_TRUE(Has(r.Report, "Name of output file:         report.txt\n"));
    EXPECT_TRUE(Has(r.Report, "Name of plot output file:    plot.txt\n"));
    EXPECT_TRUE(Has(r.Report, "Name of runtime file:        messages.txt\n"));
    EXPECT_TRUE(Has(r.Report, "\nThe analysis ended normally. \n\n"));
    EXPECT_TRUE(Has(r.Messages, "\nThe analysis ended normally. \n\n"));
    EXPECT_FALSE(Has(r.Report, "Summary of Warning Messages"));
    // The minimal pile's load case asks for the given length only: entry 1.
    EXPECT_EQ(r.Plot.substr(0, 20), "    3    1    1    0");
    EXPECT_TRUE(Has(r.Plot, std::string(60, ' ') + "Line 1 : ICOM, IUNITS, KYL, KXX\n"));
}

struct NamesCase {
    const char* Name;
    const char* Names;      // NAMES.DAT text, nullptr for none
    int Result;
    const char* Text;       // expected in the default message file
};

class RunFileErrors : public ::testing::TestWithParam<NamesCase> {};

TEST_P(RunFileErrors, EndWithRuntimeError) {
    const NamesCase& c = GetParam();
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    auto r = RunWithNames(MinimalInput(), c.Names);
    std::string out = ::testing::internal::GetCapturedStdout();
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.Result, c.Result);
    // The library writes to no standard stream of its caller: the reason and
    // the termination line are in the engine's message log.
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
    EXPECT_TRUE(Has(r.DefaultMessages, c.Text)) << r.DefaultMessages;
    EXPECT_TRUE(Has(r.DefaultMessages, "Kestro ended prematurely due to runtime error number RUN000"))
        << r.DefaultMessages;
    EXPECT_TRUE(Has(r.DefaultMessages, "The analysis ended due to an error. ")) << r.DefaultMessages;
}

INSTANTIATE_TEST_SUITE_P(
    NamesFile, RunFileErrors,
    ::testing::Values(
        NamesCase{"Missing", nullptr, 202, "File NAMES.DAT was not found in the working directory."},
        NamesCase{"Empty", "", 203, "The name of the input data file is corrupted."},
        NamesCase{"OneLine", "input.dat\n", 204, "The name of the output report file is corrupted."},
        NamesCase{"TwoLines", "input.dat\nreport.txt\n", 205, "The name of the plot output file is corrupted."},
        NamesCase{"ThreeLines", "input.dat\nreport.txt\nplot.txt\n", 206, "Name of runtime message file is corrupted"},
        NamesCase{"FourLines", "input.dat\nreport.txt\nplot.txt\nmessages.txt\n", 207, "User name is corrupted"},
        NamesCase{"FiveLines", "input.dat\nreport.txt\nplot.txt\nmessages.txt\nUser\n", 208,
                  "User company name is corrupted"},
        NamesCase{"BlankInput", "   \nreport.txt\nplot.txt\nmessages.txt\nU\nC\n", 217,
                  "Input data filename information corrupted. No analysis performed."},
        NamesCase{"BlankOutputBeforePlot", "input.dat\n \n \nmessages.txt\nU\nC\n", 217,
                  "Output filename information is corrupted. No analysis performed."},
        NamesCase{"BlankPlot", "input.dat\nreport.txt\n\nmessages.txt\nU\nC\n", 217,
                  "Plot output filename information is corrupted. No analysis performed."},
        NamesCase{"BlankMessages", "input.dat\nreport.txt\nplot.txt\n   \nU\nC\n", 217,
                  "Run message filename information is corrupted. No analysis performed."}),
    [](const auto& tp) { return std::string(tp.param.Name); });

TEST(RunDriver, EmptyNameLinesAreAccepted) {
    auto r = RunWithNames(MinimalInput(), "input.dat\nreport.txt\nplot.txt\nmessages.txt\n\n\n");
    EXPECT_EQ(r.Result, 0);
    EXPECT_TRUE(Has(r.Report, "This program is licensed to: \n\n\n\n\n"));
}

TEST(RunDriver, MissingInputFileIsRuntimeError18) {
    auto r = RunWithNames(MinimalInput(), "nosuchfile.dat\nreport.txt\nplot.txt\nmessages.txt\nU\nC\n");
    EXPECT_EQ(r.Result, 218);
    // Nothing was run, so no output file was created or emptied; the message
    // goes to the default message file.
    EXPECT_FALSE(std::filesystem::exists(r.Dir + "/report.txt"));
    EXPECT_FALSE(std::filesystem::exists(r.Dir + "/messages.txt"));
    EXPECT_TRUE(Has(r.DefaultMessages, "**** Runtime Error No. 18 ****"));
    EXPECT_TRUE(Has(r.DefaultMessages, "nosuchfile.dat"));
    EXPECT_TRUE(Has(r.DefaultMessages, "The analysis ended due to an error. "));
}

TEST(RunDriver, EmptyInputFileIsInputError25) {
    auto r = RunInput("");
    EXPECT_EQ(r.Result, 125);
    EXPECT_TRUE(Has(r.Messages, "\n\n**** Input Data Error No. 25 ****\n\n\nSize of input data file is 0 bytes.  No analysis performed.\n"));
    EXPECT_TRUE(Has(r.Messages, "The analysis ended due to an error. "));
    EXPECT_TRUE(Has(r.Report, "\n\nKestro ended prematurely due to input error number INP00025\n\n"
                              "**** Input Data Error No. 25 ****\n\n\n"
                              "Length of input file is 0 bytes.  No analysis can be performed.\n"));
    EXPECT_TRUE(Has(r.Report, "The analysis ended due to an error. "));
}

TEST(RunDriver, FormatTags) {
    // A longer first value whose first seven characters are the tag selects the keyword reader.
    std::string input = MinimalInput();
    auto r = RunInput("KESTRO6X" + input.substr(7));
    EXPECT_EQ(r.Result, 0);
    r = RunInput("'KESTRO6'" + input.substr(7));
    EXPECT_EQ(r.Result, 0);
    r = RunInput("KESTRO5" + input.substr(7));
    EXPECT_EQ(r.Result, 182);
    EXPECT_TRUE(Has(r.Report, "\"KESTRO5\", which is not a supported input format."));
    r = RunInput("\n\n");
    EXPECT_EQ(r.Result, 182);
    EXPECT_TRUE(Has(r.Report, "\"3\", which is not a supported input format."));
}

TEST(RunDriver, SecondCallStartsClean) {
    auto bad = RunInput(MinimalInput("GARBAGE\n"));
    EXPECT_EQ(bad.Result, 199);
    auto good = RunInput(MinimalInput());
    EXPECT_EQ(good.Result, 0);
    EXPECT_FALSE(Has(good.Report, "INPUT ERROR"));
}

TEST(RunDriver, ExtensionIsCutToFiveCharacters) {
    auto r = RunWithNames(MinimalInput(), "input.dat\nreport.output\nplot.txt\nmessages.txt\nU\nC\n");
    std::string report = kestro::test::ReadText(r.Dir + "/report.output");
    EXPECT_TRUE(Has(report, "Name of output file:         report.outp\n"));
}

TEST(Warnings, SummaryOrderCountsAndTexts) {
    std::ostringstream out;
    kestro::ResetWarningRegistry();
    kestro::ClearWarnings();
    for (int i = 0; i < 5; ++i) kestro::RaiseWarning(-3041);
    kestro::RaiseWarning(-302);
    kestro::WriteWarningSummary(out);
    EXPECT_EQ(kestro::Warnings.LastWarningCount, 2);
    std::string s = out.str();
    std::size_t a = s.find("The following warning was reported 1 times\n\n**** Warning ****\n\nAn unreasonable value was input");
    std::size_t b = s.find("The following warning was reported 5 times\n\n**** Warning ****\n\nAn unreasonable input value for shear");
    ASSERT_NE(a, std::string::npos) << s;
    ASSERT_NE(b, std::string::npos) << s;
    EXPECT_LT(a, b);
    EXPECT_EQ(s.substr(0, 2 + 81 + 27 + 26), "\n\n" + std::string(80, '-') + "\n" + std::string(26, ' ') + "Summary of Warning Messages");
    // Texts are printed once until the flags are set again.
    std::ostringstream again;
    kestro::WriteWarningSummary(again);
    EXPECT_EQ(again.str().find("**** Warning ****"), std::string::npos);
}

TEST(Warnings, CounterStopsAt4000AndResultIsLatestRaise) {
    kestro::ResetWarningRegistry();
    kestro::ClearWarnings();
    for (int i = 0; i < 4005; ++i) kestro::RaiseWarning(-302);
    EXPECT_EQ(kestro::Warnings.WarningCount[302], 4000);
    EXPECT_EQ(kestro::Warnings.LastWarningCount, 4000);
    std::ostringstream out;
    kestro::WriteWarningSummary(out);
    EXPECT_NE(out.str().find("reported 4000 times"), std::string::npos);
    // A kind cleared by a later load case leaves stale list entries above the
    // surviving kind's count; the result is the surviving kind.
    kestro::ClearWarnings();
    kestro::RaiseWarning(-303);
    EXPECT_EQ(kestro::LastWarningRaised(), -303);
}

// A kind raised before a later load case cleared the counters is still a
// warning of the run: the summary lists it with its count in the run, and
// it is the run result when it is the only kind.
TEST(Warnings, KindClearedByALaterCaseStaysAWarningOfTheRun) {
    kestro::ResetWarningRegistry();
    kestro::RaiseWarning(-308);
    kestro::RaiseWarning(-308);
    kestro::ClearWarnings();
    EXPECT_EQ(kestro::CountWarningKinds(), 1);
    std::ostringstream out;
    kestro::WriteWarningSummary(out);
    EXPECT_NE(out.str().find("The following warning was reported 2 times\n\n**** Warning ****\n\nAn unreasonable "
                             "input value for uniaxial compressive strength"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(kestro::Warnings.LastWarningCount, 1);
    EXPECT_EQ(kestro::LastWarningRaised(), -308);
    kestro::ResetWarningRegistry();
    EXPECT_EQ(kestro::CountWarningKinds(), 0);
}

TEST(Warnings, Warning306HasNoHeading) {
    kestro::ResetWarningRegistry();
    kestro::ClearWarnings();
    kestro::RaiseWarning(-306);
    std::ostringstream out;
    kestro::WriteWarningSummary(out);
    EXPECT_NE(out.str().find("reported 1 times\n\nWarning - Negative values of bending moment were computed in nonlinear EI computations.\nThis may indicate that the pile is too weak or is under-reinforced and that all reinforcing steel \nhas yielded.\n"), std::string::npos) << out.str();
}
