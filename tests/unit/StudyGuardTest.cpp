// LRFD runs are analysed combination by combination, and inverted soil layers
// end the run with a clear error.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace {
std::string QuickStart() {
    return kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/soft-clay-elastic-pile.kin");
}
void Replace(std::string& s, const std::string& from, const std::string& to) {
    auto at = s.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    s.replace(at, from.size(), to);
}
}  // namespace

// LRFD load combinations are analysed: each combination is reported with its
// factored loads, followed by the performance table.
TEST(StudyGuard, LrfdCombinationsAreAnalysed) {
    std::string input = QuickStart();
    Replace(input, "UseLRFD NO", "UseLRFD YES");
    Replace(input, "END", "LRFD LOADS\n1\n1 1 15000.0 0.0 100000.0 0\nLRFD FACTORS AND CASES\n1\n"
                          "1 1.25 1.75 0 0 0 0 0 0 0 0 0 0 0 0.75 0.9\nStrength I\nEND");
    auto r = kestro::test::RunInput(input);
    EXPECT_EQ(r.Result, 0) << r.Report;
    EXPECT_NE(r.Report.find("for Lateral Loading for LRFD Load Case Number 1\n"), std::string::npos);
    EXPECT_NE(r.Report.find("Load Case No. 1:  Strength I\n"), std::string::npos);
    EXPECT_NE(r.Report.find("Horizontal shear force at pile head                  =       18750.000 lbs\n"),
              std::string::npos);
    EXPECT_NE(r.Report.find("LRFD Performance by Load Case Combination"), std::string::npos);
}

TEST(LayerOrder, InvertedLayerEndsWithError91) {
    std::string input = QuickStart();
    // Two layers: 0 to 70 ft and a second whose bottom (60 ft) lies above the
    // bottom of the first, so that it would be inverted once made contiguous.
    Replace(input, "1                                   number of soil layers\n1  0.0  60.0",
            "2\n1  0.0  70.0\n50.0  250.0  0.02\n50.0  500.0  0.015\n1  70.0  60.0");
    auto r = kestro::test::RunInput(input);
    EXPECT_EQ(r.Result, 191) << r.Report;
    EXPECT_NE(r.Report.find("The bottom of soil layer 2 (60.000) lies above its top (70.000"), std::string::npos)
        << r.Report;
}
