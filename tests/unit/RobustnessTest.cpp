// Malformed input never crashes, hangs or passes for a sound run: every
// truncation and every corrupted value of a complete example ends the run
// with an error, and the output files are always closed with their completion line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

std::vector<std::string> ExampleLines() {
    std::string text = kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/soft-clay-elastic-pile.kin");
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l)) lines.push_back(l);
    return lines;
}

std::string Join(const std::vector<std::string>& lines, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i) s += lines[i] + "\n";
    return s;
}

}  // namespace

TEST(Robustness, CompleteExampleEndsNormally) {
    auto lines = ExampleLines();
    ASSERT_GT(lines.size(), 20u);
    auto r = kestro::test::RunInput(Join(lines, lines.size()));
    EXPECT_EQ(r.Result, 0) << r.Report;
}

TEST(Robustness, EveryTruncationEndsWithAnInputError) {
    auto lines = ExampleLines();
    for (std::size_t n = 1; n + 1 < lines.size(); ++n) {
        auto r = kestro::test::RunInput(Join(lines, n));
        EXPECT_GT(r.Result, 100) << "truncated after line " << n;
        EXPECT_LT(r.Result, 300) << "truncated after line " << n;
        EXPECT_NE(r.Messages.find("The analysis ended due to an error. "), std::string::npos) << "line " << n;
        EXPECT_NE(r.Report.find("The analysis ended due to an error. "), std::string::npos) << "line " << n;
    }
}

TEST(Robustness, CorruptedFirstValueOfEveryNumericLine) {
    auto lines = ExampleLines();
    const char* junk[] = {"x", "1e999", "-", "nan"};
    int corrupted = 0;
    std::size_t first = 0;  // numeric lines follow the title and the options
    while (first < lines.size() && lines[first] != "SECTIONS") ++first;
    for (std::size_t n = first; n < lines.size(); ++n) {
        const std::string& l = lines[n];
        if (l.empty() || !(std::isdigit(static_cast<unsigned char>(l[0])) || l[0] == '-' || l[0] == '.')) continue;
        std::string bad = junk[corrupted % 4] + l.substr(l.find_first_of(" \t") == std::string::npos ? l.size()
                                                                                                   : l.find_first_of(" \t"));
        auto copy = lines;
        copy[n] = bad;
        auto r = kestro::test::RunInput(Join(copy, copy.size()));
        EXPECT_EQ(r.Result, 181) << "line " << (n + 1) << ": " << bad;
        EXPECT_NE(r.Report.find("**** Input Data Error No. 81 ****"), std::string::npos);
        ++corrupted;
    }
    EXPECT_GT(corrupted, 10);
}
