// Checks of the input that catch the mistakes users make: a gap or overlap
// between soil layers, thousands separators, an elastic circular section whose
// area or inertia does not belong to its diameter, a short TITLE block, and a
// value missing at the end of a line. Each case runs the input with the
// mistake and the same input without it: the message must name the line and
// the value in the report and in the runtime message file, and the clean input
// must raise nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "input/Readers.h"

using kestro::test::MinimalInput;
using kestro::test::RunInput;

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

std::string Replaced(std::string s, const std::string& from, const std::string& to) {
    const auto at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

// MinimalInput's lines (1-based): 31 the elastic modulus, 34 and 35 the top and
// bottom areas, 36 and 37 the inertias, 38 SOIL LAYERS, 40 to 42 its one layer,
// 43 LOADING, 45 the load case, 46 the distributed point count.
const std::string OneLayer = "SOIL LAYERS\n1\n13 0 35\n62 1000\n62 1000\n";
std::string TwoLayers(const char* secondTop) {
    return std::string("SOIL LAYERS\n2\n13 0 10\n62 1000\n62 1000\n13 ") + secondTop + " 35\n62 1000\n62 1000\n";
}

struct CheckCase {
    const char* Name;
    std::string Faulty;      // the input with the mistake
    std::string Clean;       // the same input without it
    int Result;              // run result of the faulty input
    std::vector<std::string> Texts;  // in the report and in the message file
};

class InputCheck : public testing::TestWithParam<CheckCase> {};

TEST_P(InputCheck, NamesTheLineAndValueAndRaisesNothingOnTheCleanInput) {
    const CheckCase& c = GetParam();
    const auto bad = RunInput(c.Faulty);
    EXPECT_EQ(bad.Result, c.Result) << bad.Messages;
    for (const std::string& t : c.Texts) {
        EXPECT_TRUE(Has(bad.Report, t)) << "report lacks: " << t << "\n" << bad.Report;
        EXPECT_TRUE(Has(bad.Messages, t)) << "messages lack: " << t << "\n" << bad.Messages;
    }
    const auto good = RunInput(c.Clean);
    EXPECT_EQ(good.Result, 0) << good.Messages;
    EXPECT_FALSE(Has(good.Messages, "Possible Input Data Error")) << good.Messages;
}

const std::string Base = MinimalInput();

INSTANTIATE_TEST_SUITE_P(
    Mistakes, InputCheck,
    testing::Values(
        CheckCase{"LayerGap", Replaced(Base, OneLayer, TwoLayers("12")), Replaced(Base, OneLayer, TwoLayers("10")), 169,
                  {"**** Input Data Error No. 69 ****",
                   "Problem:  Soil layer 2 (line 43) starts at 12 ft, but soil layer 1 ends at 10 ft: a gap of 2 ft "
                   "where the pile would have no soil."}},
        CheckCase{"LayerOverlap", Replaced(Base, OneLayer, TwoLayers("8.5")), Replaced(Base, OneLayer, TwoLayers("10.0")),
                  169,
                  {"Problem:  Soil layer 2 (line 43) starts at 8.5 ft, but soil layer 1 ends at 10 ft: an overlap of "
                   "1.5 ft where two soil models would apply."}},
        // 29,000,000 would be read as 29 psi: a value a million times too
        // small is never a result.
        CheckCase{"ThousandsSeparators", Replaced(Base, "29000000\n", "29,000,000\n"), Base, 132,
                  {"**** Input Data Error No. 32 ****",
                   "Problem:  Line 31 holds more values than are read for the elastic modulus of section 1,",
                   "          and the text \"29,000,000\" on it would be read as the separate values 29, 000 and 000:",
                   "Solution: Write numbers without thousands separators (29000000)."}},
        // An axial load of 100,000 would be read as 100 and a length code of
        // 0; commas that separate every value a line needs are no thousands
        // separators.
        CheckCase{"ThousandsSeparatorsInsideALoadCase", Replaced(Base, "1 1 0 0 0 1\n", "1 1 0 0 100,000 1\n"),
                  Replaced(Base, "1 1 0 0 0 1\n", "1,1,0,0,0,1\n"), 132,
                  {"Problem:  Line 45 holds more values than are read for load case 1,",
                   "          and the text \"100,000\" on it would be read as the separate values 100 and 000:"}},
        CheckCase{"CircularInertia", Replaced(Base, "16286\n16286\n", "16286\n14286\n"), Base, -321,
                  {"**** Warning - Possible Input Data Error, line 37 ****",
                   "The moment of inertia at the bottom of section 1 is 14286 in4 (line 37),",
                   "more than 5 % from 16286 in4, the value of a circle of diameter 24."}},
        CheckCase{"CircularArea", Replaced(Base, "452.4\n452.4\n", "45.24\n452.4\n"), Base, -321,
                  {"The area at the top of section 1 is 45.24 sq. in (line 34),",
                   "more than 5 % from 452.389 sq. in, the value of a circle of diameter 24."}},
        CheckCase{"PipeArea",
                  Replaced(Base, "1\n29000000\n24\n24\n452.4\n452.4\n16286\n16286\n",
                           "2\n29000000\n24\n24\n0.5\n0.5\n36.91\n39.91\n2549.4\n2549.4\n"),
                  Replaced(Base, "1\n29000000\n24\n24\n452.4\n452.4\n16286\n16286\n",
                           "2\n29000000\n24\n24\n0.5\n0.5\n36.91\n36.91\n2549.4\n2549.4\n"),
                  -321,
                  {"The area at the bottom of section 1 is 39.91 sq. in (line 37),",
                   "more than 5 % from 36.9137 sq. in, the value of a pipe of diameter 24 and wall 0.5."}},
        CheckCase{"TitleTakesTheNextKeyword", Replaced(Base, "TITLE\nTest run\n\n\n\n\n", "TITLE\nTest run\n\n\n\n"),
                  Base, 175,
                  {"**** Input Data Error No. 75 ****",
                   "Problem:  Line 7, title line 5 of 5, is the keyword line \"OPTIONS\": the TITLE section holds "
                   "fewer than five title lines."}},
        // The top line of the layer lacks its last value: the reader takes it
        // from the bottom line, then meets LOADING where the bottom line's
        // second value should be.
        CheckCase{"ValueTakenFromTheNextLine", Replaced(Base, "13 0 35\n62 1000\n", "13 0 35\n62\n"), Base, 181,
                  {"Line 41 holds fewer values than are read for the soil parameters at the top of soil layer 1;",
                   "the last of them were taken from line 42, which holds further values",
                   "Problem:  Line 43 is the keyword line \"LOADING\", where a number was still expected while "
                   "reading the soil parameters at the bottom of soil layer 1.",
                   "Solution: A value is missing above this line. The values of the soil parameters at the top of "
                   "soil layer 1 began on line 41 and were completed from line 42: check the end of line 41."}},
        CheckCase{"KeywordWhereAValueIsExpected", Replaced(Base, "1 1 0 0 0 1\n0\nEND", "1 1 0 0 0\n0\nEND"), Base, 181,
                  {"Problem:  Line 47 is the keyword line \"END\", where a whole number was still expected while "
                   "reading the number of distributed load points.",
                   "The values of load case 1 began on line 45 and were completed from line 46: check the end of "
                   "line 45."}}),
    [](const auto& tp) { return std::string(tp.param.Name); });

// The rounding allowance of the layer joint: 0.1 % of the larger depth, at
// least 0.001 depth units. Hand values: a joint at 200 allows 0.2, one at 0.5
// allows 0.001.
TEST(InputCheckThresholds, LayerJointTolerance) {
    using kestro::layer_checks::IsGapOrOverlap;
    struct Joint {
        double Above, Allowed;
    };
    for (const Joint j : {Joint{200.0, 0.2}, Joint{0.5, 0.001}, Joint{30.0, 0.03}}) {
        // Tops above the bottom: the allowance is set by the bottom above.
        EXPECT_FALSE(IsGapOrOverlap(j.Above, j.Above - j.Allowed * (1.0 - 1e-6))) << j.Above;
        EXPECT_TRUE(IsGapOrOverlap(j.Above, j.Above - j.Allowed * (1.0 + 1e-3))) << j.Above;
    }
    // A gap below 200: the top 200.3 makes the allowance 0.2003.
    EXPECT_FALSE(IsGapOrOverlap(200.0, 200.0 + 0.2003 * (1.0 - 1e-3)));
    EXPECT_TRUE(IsGapOrOverlap(200.0, 200.25));
}

TEST(InputCheckThresholds, FivePercentOfTheCircleValue) {
    using kestro::section_checks::Circle;
    using kestro::section_checks::FarFrom;
    // pi/64 24^4 = 16286.016316 in4, pi/4 24^2 = 452.389342 in2; a 24 x 0.5 in
    // pipe: pi/4 (24^2 - 23^2) = 36.913714 in2, pi/64 (24^4 - 23^4) = 2549.35335 in4.
    const auto solid = Circle(24.0, 0.0);
    EXPECT_NEAR(solid.Inertia, 16286.016316, 1e-5);
    EXPECT_NEAR(solid.Area, 452.389342, 1e-6);
    const auto pipe = Circle(24.0, 23.0);
    EXPECT_NEAR(pipe.Area, 36.913714, 1e-6);
    EXPECT_NEAR(pipe.Inertia, 2549.35335, 1e-5);
    const double i = 16286.016316;
    EXPECT_FALSE(FarFrom(i * 1.05 * (1.0 - 1e-9), i));
    EXPECT_TRUE(FarFrom(i * 1.05 * (1.0 + 1e-9), i));
    EXPECT_FALSE(FarFrom(i * 0.95 * (1.0 + 1e-9), i));
    EXPECT_TRUE(FarFrom(i * 0.95 * (1.0 - 1e-9), i));
}

// SI input: widths in millimeters, areas in mm2; the check compares the values
// as entered (a 600 mm circle: pi/4 600^2 = 282743.3 mm2).
TEST(InputCheckUnits, SiCircleIsComparedInMillimeters) {
    const std::string section = "SECTIONS\n1\n1\n11\n10\n1\n2.0E8\n600\n600\n282743\n%s\n6.3617E9\n6.3617E9\n";
    char clean[160], bad[160];
    std::snprintf(clean, sizeof clean, section.c_str(), "282743");
    std::snprintf(bad, sizeof bad, section.c_str(), "2827430");
    auto r = RunInput(MinimalInput(bad, "Units SI"));
    EXPECT_TRUE(Has(r.Messages, "The area at the bottom of section 1 is 2.82743e+06 mm2 (line ")) << r.Messages;
    EXPECT_TRUE(Has(r.Messages, "more than 5 % from 282743 mm2, the value of a circle of diameter 600.")) << r.Messages;
    r = RunInput(MinimalInput(clean, "Units SI"));
    EXPECT_FALSE(Has(r.Messages, "Possible Input Data Error")) << r.Messages;
}

}  // namespace
