// Never a silent wrong answer: runs without load cases, the run result when
// an error follows warnings, and the numbers that explain an error.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "report/Format.h"

using kestro::test::MinimalInput;
using kestro::test::RunInput;

namespace {
bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// The minimal input with its LOADING section replaced by `loading`.
std::string WithLoading(const std::string& loading, const std::string& options = "UseLRFD NO") {
    std::string s = MinimalInput();
    const std::size_t a = s.find("LOADING\n"), b = s.find("END\n");
    s.replace(a, b - a, loading);
    s.replace(s.find("UseLRFD NO"), 10, options);
    return s;
}
}  // namespace

// A pile-response run with nothing to analyse is an input data error, never
// a normal end without results. Section-only runs need no load case.
TEST(NoLoadCases, PileResponseRunWithoutLoadCasesIsInputError83) {
    struct Case { const char* Name; std::string Input; int Result; const char* Text; };
    const Case cases[] = {
        {"no_loading_section", WithLoading(""), 183, "no pile-head load case to analyse"},
        {"zero_load_cases", WithLoading("LOADING\n0\n0\n"), 183, "no pile-head load case to analyse"},
        {"lrfd_without_combinations", WithLoading("LRFD LOADS\n1\n1 1 1000 0 0 0\n", "UseLRFD YES"), 183,
         "no LRFD load combination to analyse"},
        {"one_load_case", WithLoading("LOADING\n1\n1 1 0 0 0 1\n0\n"), 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto r = RunInput(c.Input);
        EXPECT_EQ(r.Result, c.Result) << r.Report;
        if (c.Text == nullptr) continue;
        for (const std::string* file : {&r.Report, &r.Messages}) {
            EXPECT_TRUE(Has(*file, "**** Input Data Error No. 83 ****")) << *file;
            EXPECT_TRUE(Has(*file, c.Text));
            EXPECT_TRUE(Has(*file, "The analysis ended due to an error. "));
            EXPECT_FALSE(Has(*file, "The analysis ended normally. "));
        }
    }
    std::string sectionOnly = WithLoading("");
    sectionOnly.replace(sectionOnly.find("ComputeEIOnly NO"), 16, "ComputeEIOnly YES");
    EXPECT_EQ(RunInput(sectionOnly).Result, 0);
}

// An error decides the run result even when warnings were raised before it;
// the warnings are still summarised. Soft clay stronger than 1,250 psf
// raises warning 3041 at every soil update, and a 1 in deflection limit
// stops the run during the iteration (the head deflection converges to
// about 1.22 in).
TEST(RunResult, ErrorAfterWarningsIsTheResult) {
    std::string input = MinimalInput("SOIL LAYERS\n1\n1 0 35\n50 2000 0.02\n50 2000 0.02\nLOADING\n1\n1 1 100000 0 0 1\n0\n");
    input.replace(input.find("DeflLimit 100.0"), 15, "DeflLimit 1.0");
    auto r = RunInput(input);
    EXPECT_EQ(r.Result, 209) << r.Messages;
    EXPECT_TRUE(Has(r.Report, "The analysis ended due to an error. "));
    EXPECT_TRUE(Has(r.Messages, "The analysis ended with one or more warning messages."));
    EXPECT_TRUE(Has(r.Report, "psi (1,250 psf).  You should check your input data for correctness."));
    // Without the limit the same model ends with the warning as its result.
    input.replace(input.find("DeflLimit 1.0"), 13, "DeflLimit 10.0");
    EXPECT_EQ(RunInput(input).Result, -3041);
}

// Values that explain an error print in fixed notation while they fit and in
// scientific notation beyond, never as asterisks.
TEST(Format, FixedOrScientificNeverPrintsAsterisks) {
    struct Case { double Value; const char* Text; };
    const Case cases[] = {
        {9999999.9999, "9999999.9999"},
        {10000000.0, "  1.0000E+07"},
        {-999999.9999, "-999999.9999"},
        {-1000000.0, " -1.0000E+06"},
        {2.9513e10, "  2.9513E+10"},
        {0.0764, "      0.0764"},
    };
    for (const Case& c : cases) EXPECT_EQ(kestro::FixedOrScientificText(c.Value, 12, 4), c.Text) << c.Value;
}

// A nearly fixed head (rotational stiffness 5E10 in-lb/rad), a moment of
// 2E8 in-lb and an axial load of 1E10 lbs (the largest in range) overflow the fixed fields of the
// loading echo (12 and 14 wide, 3 decimals): they print in scientific
// notation there, never as asterisks (found by the random-model soak). The
// 15-wide pile-head conditions block still holds 5E10 in fixed notation.
TEST(Format, LargePileHeadLoadsAreNeverAsterisks) {
    auto r = RunInput(MinimalInput("LOADING\n2\n1 3 1000 5.0E10 0 1\n2 1 1000 2.0E8 1.0E10 1\n0\n"));
    EXPECT_TRUE(Has(r.Report, "   1     3     V =     1000.000 lbs    R =    5.000E+10 in-lb/rad          0.000\n"))
        << r.Report;
    EXPECT_TRUE(Has(r.Report, "   2     1     V =     1000.000 lbs    M =    2.000E+08 in-lb          1.000E+10\n"));
    EXPECT_TRUE(Has(r.Report, "= 50000000000.000 in-lb/rad"));
    EXPECT_FALSE(Has(r.Report, "*****")) << r.Report;
}
