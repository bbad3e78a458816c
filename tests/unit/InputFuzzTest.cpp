// No input may crash, hang or overrun the store: thousands of section bodies
// made of random counts, codes, values and option lines are read (and
// converted) under every unit system; each read must end cleanly or with an
// input data error. The sanitizer build turns any overrun into a failure.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ReaderTestSupport.h"

using kestro::test::ReadOnly;

TEST(InputFuzz, RandomSectionBodiesEndCleanlyOrWithAnInputError) {
    const std::vector<std::string> keywords = {
        "SECTIONS", "SOIL LAYERS", "LOADING", "AXIAL THRUST LOADS", "LRFD LOADS", "LRFD FACTORS AND CASES",
        "TIP SHEAR", "PILE BATTER AND SLOPE", "GROUPEFF", "SOIL MOVEMENTS", "DEPTHS OF PRINTED P-Y CURVES"};
    const std::vector<std::string> words = {
        "0", "1", "2", "3", "-3", "4", "5", "7", "8", "10", "11", "12", "13", "14", "15", "16", "17", "20", "21",
        "30", "31", "40", "41", "50", "51", "80", "81", "99", "100", "101", "150", "151", "300", "301", "-1",
        "-2147483648", "2147483647", "1e9", "0.5", "36", "1200", "4000", "-7.5", "x", "",
        "Use default concrete tensile strength", "Override concrete tensile strength",
        "Input stress-strain curve for concrete", "Use internal stress-strain curve for concrete", "No rebar",
        "Rebar Arrangement Same As Section Above", "Rebar Arrangement Not Same As Section Above", "Rebar in circle",
        "Rebar in noncircular pattern", "Autoposition strands", "Manually-positioned strands", "END"};
    std::mt19937 gen(20261207u);
    std::uniform_int_distribution<std::size_t> pickKeyword(0, keywords.size() - 1);
    std::uniform_int_distribution<std::size_t> pickWord(0, words.size() - 1);
    std::uniform_int_distribution<int> lineCount(1, 60), tokens(1, 4), unitPick(0, 2);
    const char* units[3] = {"Units USCS", "Units SI", "Units GENERAL"};
    int clean = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::string body = keywords[pickKeyword(gen)] + "\n";
        const int lines = lineCount(gen);
        for (int l = 0; l < lines; ++l) {
            const int t = tokens(gen);
            for (int k = 0; k < t; ++k) body += (k ? " " : "") + words[pickWord(gen)];
            body += "\n";
        }
        std::string input = kestro::test::MinimalInput(body, units[unitPick(gen)]);
        // Let SOIL MOVEMENTS and printed depths be read too.
        input.replace(input.find("UseSoilMovement NO"), 18, "UseSoilMovement YES");
        input.replace(input.find("PrintPYCurves NO"), 16, "PrintPYCurves YES");
        const int error = ReadOnly(input, true);
        EXPECT_TRUE(error == 0 || (error > 100 && error < 200)) << error << "\n" << body;
        if (error == 0) ++clean;
    }
    EXPECT_GT(clean, 0);
}
