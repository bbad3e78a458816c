// The report number formatter, checked on each side of every range limit.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "report/Format.h"

using kestro::FormatNumberText;

struct FormatCase {
    double Value;
    int Width;
    const char* Expected;
};

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, MatchesFixedWidthRule) {
    const FormatCase& c = GetParam();
    std::string got = FormatNumberText(c.Value, c.Width);
    EXPECT_EQ(got, c.Expected) << "value " << c.Value << " width " << c.Width;
    if (!std::isnan(c.Value)) {
        EXPECT_EQ(got.size(), static_cast<std::size_t>(c.Width));
    }
}

// Limits: T1 = 10^(W-3)-1, T2 = 10^(9-W), T3 = 10^(7-W), all single precision.
INSTANTIATE_TEST_SUITE_P(
    RangeBoundaries, FormatNumberTest,
    ::testing::Values(
        // zero and values treated as zero
        FormatCase{0.0, 11, "      0.000"}, FormatCase{9.9e-13, 11, "      0.000"},
        FormatCase{-5e-13, 10, "      0.00"}, FormatCase{0.0, 14, "      0.000000"},
        FormatCase{0.0, 16, "      0.00000000"},
        // W = 11: T1 = 1e8 in single precision, T2 = 0.01f, T3 = 1e-4f; 0.01 itself lies
        // above 0.01f, 0.001 below 0.001f: the single-precision limits decide.
        FormatCase{12345.678, 11, "     12346."}, FormatCase{10000.0, 11, " 10000.0000"},
        FormatCase{10000.7, 11, "     10001."}, FormatCase{99999999.0, 11, "  99999999."},
        FormatCase{100000001.0, 11, "  1.000E+08"}, FormatCase{-2.5e9, 11, " -2.500E+09"},
        FormatCase{1.5, 11, "     1.5000"}, FormatCase{-123.45671, 11, "  -123.4567"},
        FormatCase{0.0100001, 11, "     0.0100"}, FormatCase{0.01, 11, "     0.0100"},
        FormatCase{0.005, 11, "   0.005000"}, FormatCase{0.0001, 11, "   0.000100"},
        FormatCase{0.0000999, 11, "  9.990E-05"}, FormatCase{-3.2e-7, 11, " -3.200E-07"},
        // W = 10: T1 = 9999999, T2 = 0.1, T3 = 0.001
        FormatCase{9999999.0, 10, "  9999999."}, FormatCase{10000001.0, 10, "  1.00E+07"},
        FormatCase{0.2, 10, "     0.200"}, FormatCase{0.1, 10, "   0.10000"},
        FormatCase{0.001, 10, "  1.00E-03"}, FormatCase{0.0011, 10, "   0.00110"}, FormatCase{0.0009, 10, "  9.00E-04"},
        // W = 14: T1 = 1e11-1 (single precision), T2 = 1e-5, T3 = 1e-7
        FormatCase{1.0e11, 14, "  1.000000E+11"}, FormatCase{5.0e10, 14, "  50000000000."},
        FormatCase{2.5, 14, "     2.5000000"}, FormatCase{1.0e-6, 14, "   0.000001000"},
        FormatCase{5.0e-8, 14, "  5.000000E-08"},
        // W = 16
        FormatCase{3.25, 16, "     3.250000000"}, FormatCase{2.0e-10, 16, "  2.00000000E-10"},
        FormatCase{1.0e14, 16, "  1.00000000E+14"}));

TEST(FormatNumber, NotANumberPrintsItsText) {
    EXPECT_EQ(FormatNumberText(std::numeric_limits<double>::quiet_NaN(), 11), "  Not-a-Number");
}

TEST(FormatInteger, RightJustifiedAndDefaultWidth) {
    EXPECT_EQ(kestro::FormatIntegerText(42, 5), "   42");
    EXPECT_EQ(kestro::FormatIntegerText(42, 0), "        42");
    EXPECT_EQ(kestro::FormatIntegerText(42, 17), "        42");
    EXPECT_EQ(kestro::FormatIntegerText(123456, 3), "***");
}

TEST(FortranEdit, FixedAndScientificFields) {
    EXPECT_EQ(kestro::FixedText(1.0, 8, 3), "   1.000");
    EXPECT_EQ(kestro::FixedText(12345.0, 8, 0), "  12345.");
    EXPECT_EQ(kestro::ScientificText(-1.0e-3, 15, 7), " -1.0000000E-03");
    EXPECT_EQ(kestro::ScientificText(1.0e120, 15, 7), "  1.0000000+120");
}

// The printf path (taken by the WebAssembly build, whose standard library has
// no floating to_chars with a precision) must write exactly the characters of
// the to_chars path, so that both builds write byte-identical files: values on
// both sides of rounding ties, at the edges of the magnitude ranges, negative
// zero, huge and tiny values, for every precision the report uses.
TEST(FormatNumber, PrintfPathWritesTheDigitsOfToChars) {
    const double values[] = {0.0,     -0.0,        0.5,         1.5,         2.5,          0.125,   0.0625,
                             1.0e-5,  1.005,       2.675,       -123.45671,  12345.678,    99999.5, 1.0e11,
                             1.0e22,  1.0e-300,    4.9e-324,    1.7976931348623157e308,    -2.5e9,  0.1,
                             1.0 / 3, 2.0 / 3,     9.9999995,   0.00049999999, 5047814.9, 0.84290971};
    for (double v : values) {
        for (int d = 0; d <= 12; ++d) {
            for (char style : {'f', 'e'}) {
                char expected[400], got[400];
                auto [end, ec] = std::to_chars(expected, expected + sizeof expected, v,
                                               style == 'f' ? std::chars_format::fixed : std::chars_format::scientific, d);
                ASSERT_EQ(ec, std::errc());
                char* gotEnd = kestro::PrintfDigits(got, sizeof got, v, style, d);
                ASSERT_NE(gotEnd, nullptr);
                EXPECT_EQ(std::string(got, gotEnd), std::string(expected, end)) << v << " " << style << d;
            }
        }
    }
    char small[4];
    EXPECT_EQ(kestro::PrintfDigits(small, sizeof small, 12345.0, 'f', 2), nullptr);
}
