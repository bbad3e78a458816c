// Bad values in the numeric fields of a bundled example: each must end in a
// numbered error or warning whose reason reaches the message file, and never
// in a normal end whose report or plot holds NaN, Infinity or asterisks.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }
using kestro::test::RunInput;

std::string Example(const std::string& name) {
    std::ifstream in(std::string(KESTRO_SOURCE_DIR) + "/examples/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The example with the first value of line `line` (1-based) replaced.
std::string WithValue(const std::string& text, int line, const std::string& value) {
    std::vector<std::string> lines;
    std::stringstream s(text);
    for (std::string l; std::getline(s, l);) lines.push_back(l);
    std::string& l = lines[static_cast<std::size_t>(line - 1)];
    const auto start = l.find_first_not_of(' ');
    const auto end = l.find(' ', start);
    l = value + (end == std::string::npos ? "" : l.substr(end));
    std::string out;
    for (const auto& x : lines) out += x + "\n";
    return out;
}

bool Unprintable(const std::string& s) {
    return s.find("******") != std::string::npos || s.find("NaN") != std::string::npos ||
           s.find("Infinity") != std::string::npos || s.find("Not-a-Number") != std::string::npos;
}

struct Field {
    int Line;
    const char* Name;  // as the error message names it
};

// Every numeric single-value field of the steel pipe example (lines 29-33)
// and the friction angle of its sand (line 37, second value, checked apart).
const Field PipeFields[] = {{29, "length of section 1"},
                            {30, "diameter of section 1"},
                            {31, "wall thickness of section 1"},
                            {32, "yield strength of section 1"},
                            {33, "elastic modulus of section 1"}};
const char* BadValues[] = {"0", "-1", "1e-308", "-30", "-1e300"};

TEST(ValueRanges, EveryBadSectionValueIsANumberedErrorNamingFieldLineAndRange) {
    const std::string base = Example("steel-pipe-24in-api-sand.kin");
    ASSERT_FALSE(base.empty());
    for (const Field& f : PipeFields) {
        for (const char* v : BadValues) {
            auto r = RunInput(WithValue(base, f.Line, v));
            const std::string ctx = std::string(f.Name) + " = " + v;
            if (r.Result == 0) FAIL() << "no error for " << ctx;
            EXPECT_FALSE(Unprintable(r.Report) || Unprintable(r.Plot)) << ctx;
            if (r.Result == 132) {
                const std::string want = "The value of " + std::string(f.Name) + " on line " + std::to_string(f.Line);
                EXPECT_TRUE(Has(r.Messages, want)) << ctx << "\n" << r.Messages;
                // Greater than zero, or for strengths and moduli the bounds
                // that catch unit mistakes.
                EXPECT_TRUE(Has(r.Messages, "outside its physical range: greater than zero.") ||
                            Has(r.Messages, "outside its physical range: from "))
                    << ctx;
                EXPECT_TRUE(Has(r.Report, "Kestro ended prematurely due to input error number INP00032")) << ctx;
            } else {
                // Another numbered error caught it first; its reason must still reach the message file.
                EXPECT_TRUE(Has(r.Messages, "Error No.") || Has(r.Messages, "ERROR")) << ctx << "\n" << r.Messages;
            }
        }
    }
}

TEST(ValueRanges, FrictionAngleBoundsAreZeroAndNinety) {
    const std::string base = Example("steel-pipe-24in-api-sand.kin");
    struct Case {
        const char* Line37;
        bool b_Error;
    } cases[] = {{"62.0  -30.0  60.0", true}, {"62.0  90.0  60.0", true}, {"62.0  89.9999999  60.0", false},
                 {"62.0  0.0  60.0", false},  {"62.0  -0.0000001  60.0", true}};
    for (const Case& c : cases) {
        std::string text = base;
        const auto at = text.find("62.0  33.0  60.0");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 16, c.Line37);
        auto r = RunInput(text);
        EXPECT_EQ(r.Result == 132, c.b_Error) << c.Line37 << " result " << r.Result;
        if (c.b_Error) {
            EXPECT_TRUE(Has(r.Messages, "friction angle")) << r.Messages;
        }
        // Never reported as "zero was input" for a negative angle.
        EXPECT_FALSE(Has(r.Messages, "Zero was input") && c.Line37[6] == '-') << c.Line37;
    }
}

TEST(ValueRanges, MissingOptionsIsInputError33) {
    std::string text = Example("steel-pipe-24in-api-sand.kin");
    const auto a = text.find("OPTIONS");
    const auto b = text.find("SECTIONS");
    ASSERT_LT(a, b);
    auto noOptions = RunInput(text.substr(0, a) + text.substr(b));
    EXPECT_EQ(noOptions.Result, 133);
    EXPECT_TRUE(Has(noOptions.Messages, "comes before the OPTIONS section")) << noOptions.Messages;
    // OPTIONS after the data it governs is as bad as none.
    auto late = RunInput(text.substr(0, a) + text.substr(b, text.find("LOADING") - b) + text.substr(a, b - a) +
                         text.substr(text.find("LOADING")));
    EXPECT_EQ(late.Result, 133);
}

TEST(ValueRanges, RuntimeErrorsSayRuntimeAndGiveTheirReasonInTheMessageFile) {
    // 30 increments: Runtime Error 30 (the grid needs 40 to 500).
    std::string text = Example("steel-pipe-24in-api-sand.kin");
    const auto at = text.find("Increments 100");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 14, "Increments 3");
    auto r = RunInput(text);
    ASSERT_GT(r.Result, 100);
    ASSERT_LE(r.Result, 299);
    const std::string kind = r.Result > 200 ? "runtime error number RUN" : "input error number INP";
    EXPECT_TRUE(Has(r.Report, "Kestro ended prematurely due to " + kind)) << r.Report;
    EXPECT_FALSE(Has(r.Report, "due to input error number RUN"));
    EXPECT_TRUE(Has(r.Messages, "Error No.")) << r.Messages;
}

}  // namespace

namespace {

TEST(ValueRanges, ImplausibleModulusIsWarning366JustOutsideItsUsualRange) {
    const std::string base = Example("soft-clay-elastic-pile.kin");
    // The run result: the soft piles go past the deflection limit, and that
    // error decides; the stiff ones end with warning 366 alone, or normally.
    struct Case {
        const char* Value;
        bool b_Warning;
        int Result;
    } cases[] = {{"99999.9999", true, 209}, {"100000.0", false, 209}, {"1.0E8", false, 0}, {"100000000.1", true, -366}};
    for (const Case& c : cases) {
        auto r = RunInput(WithValue(base, 31, c.Value));
        EXPECT_EQ(Has(r.Messages, "Warning 366 - Implausible Input Value"), c.b_Warning) << c.Value;
        if (c.b_Warning) {
            EXPECT_TRUE(Has(r.Messages, "elastic modulus of section 1 on line 31")) << r.Messages;
            // In the report too, and in the run result after the load cases.
            EXPECT_TRUE(Has(r.Report, "elastic modulus of section 1 on line 31")) << c.Value;
        }
        EXPECT_EQ(r.Result, c.Result) << c.Value;
    }
}

}  // namespace
