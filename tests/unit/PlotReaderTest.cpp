// The plot-file reader: whole runs of bundled examples against the report's
// output summary, and truncated or corrupted plot files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "PlotReader.h"
#include "TestSupport.h"

using kestro::results::PlotResults;
using kestro::results::ReadPlotText;

namespace {

std::string ExampleText(const std::string& name) {
    return kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/" + name + ".kin");
}

// A two-case pile in general units (no bundled example uses them).
std::string GeneralUnitsInput() {
    std::string in = kestro::test::MinimalInput("", "Units GENERAL");
    const std::string oneCase = "LOADING\n1\n1 1 0 0 0 1\n";
    in.replace(in.find(oneCase), oneCase.size(), "LOADING\n2\n1 1 1000 0 0 1\n2 1 2000 5000 0 1\n");
    return in;
}

// A value printed by the report and half a unit of its last printed digit.
struct Printed {
    double Value = 0.0, HalfUnit = 0.0;
};

Printed PrintedValue(const std::string& text, std::size_t from, const std::string& label) {
    std::size_t at = text.find(label, from);
    EXPECT_NE(at, std::string::npos) << label;
    if (at == std::string::npos) return {};
    std::istringstream in(text.substr(text.find('=', at) + 1));
    std::string token;
    in >> token;
    Printed p;
    p.Value = std::strtod(token.c_str(), nullptr);
    const std::size_t dot = token.find('.'), e = token.find_first_of("Ee");
    const std::size_t mantissaEnd = e == std::string::npos ? token.size() : e;
    const int decimals = dot == std::string::npos ? 0 : static_cast<int>(mantissaEnd - dot - 1);
    const int exponent = e == std::string::npos ? 0 : std::atoi(token.c_str() + e + 1);
    p.HalfUnit = 0.5 * std::pow(10.0, exponent - decimals);
    return p;
}

// The plot records carry 8 significant digits; the report rounds to its field.
void ExpectAsPrinted(double read, const Printed& p, const std::string& what) {
    EXPECT_LE(std::fabs(read - p.Value), p.HalfUnit + 5e-8 * std::fabs(p.Value) + 1e-300)
        << what << ": plot file gives " << read << ", report prints " << p.Value;
}

std::vector<int> Line9(const std::string& plot) {
    std::size_t at = plot.find("Line 9:");
    std::size_t begin = plot.rfind('\n', at);
    std::istringstream in(plot.substr(begin == std::string::npos ? 0 : begin + 1, at));
    std::vector<int> v(3, -1);
    in >> v[0] >> v[1] >> v[2];
    return v;
}

struct ExampleCase {
    const char* Name;   // bundled example, or "general-units" for the input above
    int UnitSystem;
    bool PrintedCurves; // the run prints p-y curves
};

class PlotReaderExamples : public testing::TestWithParam<ExampleCase> {};

TEST_P(PlotReaderExamples, AgreesWithTheReportSummaryAndLine9) {
    const ExampleCase& ex = GetParam();
    const std::string input = std::string(ex.Name) == "general-units" ? GeneralUnitsInput() : ExampleText(ex.Name);
    const kestro::test::RunOutput run = kestro::test::RunInput(input);
    ASSERT_EQ(run.Result, 0) << run.Messages;
    const PlotResults r = ReadPlotText(run.Plot);
    ASSERT_TRUE(r.Complete) << r.Problem;
    EXPECT_EQ(r.UnitSystem, ex.UnitSystem);
    EXPECT_EQ(r.PyCurves.empty(), !ex.PrintedCurves);
    for (const auto& c : r.PyCurves) EXPECT_EQ(c.Points.size(), 17u) << "curve " << c.Number;

    const std::vector<int> line9 = Line9(run.Plot);
    EXPECT_EQ(r.NumLoadCases, line9[0]);
    EXPECT_EQ(r.NumStations, line9[1]);
    ASSERT_EQ(static_cast<int>(r.LoadCases.size()), line9[0]);
    for (const auto& lc : r.LoadCases) {
        SCOPED_TRACE("load case " + std::to_string(lc.Number));
        EXPECT_EQ(static_cast<int>(lc.Stations.size()), line9[1]);
        EXPECT_TRUE(lc.HasSummary);
        const std::size_t block = run.Report.find("Output Summary for Load Case No. " + std::to_string(lc.Number) + ":");
        ASSERT_NE(block, std::string::npos);
        ExpectAsPrinted(lc.HeadDeflection, PrintedValue(run.Report, block, "Pile-head deflection"), "head deflection");
        ExpectAsPrinted(lc.MaxMoment, PrintedValue(run.Report, block, "Maximum bending moment"), "maximum moment");
        ExpectAsPrinted(lc.DepthMaxMoment, PrintedValue(run.Report, block, "Depth of maximum bending moment"),
                        "depth of maximum moment");
        // The head deflection is the deflection of station 1 at the pile head.
        EXPECT_EQ(lc.Stations.front().Depth, 0.0);
        EXPECT_EQ(lc.Stations.front().Deflection, lc.HeadDeflection);
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, PlotReaderExamples,
                         testing::Values(ExampleCase{"layered-soft-clay-sand-stiff-clay", 1, true},
                                         ExampleCase{"lrfd-h-pile-sand", 1, false},
                                         ExampleCase{"soft-clay-cyclic-si", 2, false},
                                         ExampleCase{"api-sand-cyclic-si", 2, false},
                                         ExampleCase{"general-units", 3, false}),
                         [](const testing::TestParamInfo<ExampleCase>& i) {
                             std::string n = i.param.Name;
                             for (char& c : n)
                                 if (c == '-') c = '_';
                             return n;
                         });

// Lines of a text, each with its newline.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> v;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) v.push_back(l + "\n");
    return v;
}

std::string Join(const std::vector<std::string>& lines, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n && i < lines.size(); ++i) s += lines[i];
    return s;
}

// 1-based number of the first line holding `key`.
std::size_t LineOf(const std::vector<std::string>& lines, const std::string& key, std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].find(key) != std::string::npos) return i + 1;
    ADD_FAILURE() << key;
    return 0;
}

TEST(PlotReader, RejectsTruncatedAndCorruptedFilesNamingTheLine) {
    const kestro::test::RunOutput run = kestro::test::RunInput(ExampleText("layered-soft-clay-sand-stiff-clay"));
    ASSERT_EQ(run.Result, 0);
    const std::vector<std::string> L = Lines(run.Plot);
    const std::size_t case2 = LineOf(L, "Line 10(  1)", LineOf(L, "Line 11:"));  // station 1 of load case 2
    const std::size_t curve2 = LineOf(L, "on curve no. 2");
    const std::size_t summary = LineOf(L, "Line 13:");

    struct Damage {
        const char* What;
        std::string Text;
        std::size_t Line;           // expected line of the problem
        std::size_t CasesWithData;  // load cases read before it
    };
    std::vector<std::string> badNumber = L, swapped = L, noPoint = L, noLabel = L, extra = L;
    badNumber[case2 + 9].replace(badNumber[case2 + 9].find('E'), 1, "X");
    std::swap(swapped[case2 + 4], swapped[case2 + 5]);
    noPoint.erase(noPoint.begin() + static_cast<std::ptrdiff_t>(curve2 + 4));
    noLabel[summary - 1] = noLabel[summary - 1].substr(0, 40) + "\n";
    extra.push_back(L[case2 - 1]);
    const std::vector<Damage> table = {
        {"empty file", "", 1, 0},
        {"cut after Line 1", Join(L, 1), 2, 0},
        {"cut inside load case 2", Join(L, case2 + 40), case2 + 41, 2},
        {"cut before the summary", Join(L, summary - 1), summary, 2},
        {"last record cut mid-line", Join(L, case2 + 40) + L[case2 + 40].substr(0, 30), case2 + 41, 2},
        {"number not readable", Join(badNumber, L.size()), case2 + 10, 2},
        {"stations out of order", Join(swapped, L.size()), case2 + 5, 2},
        {"p-y point missing", Join(noPoint, noPoint.size()), curve2 + 5, 0},
        {"summary without its label", Join(noLabel, L.size()), summary, 2},
        {"record after the summary", Join(extra, extra.size()), L.size() + 1, 2},
    };
    for (const Damage& d : table) {
        SCOPED_TRACE(d.What);
        const PlotResults r = ReadPlotText(d.Text);
        EXPECT_FALSE(r.Complete);
        EXPECT_EQ(r.ProblemLine, static_cast<int>(d.Line)) << r.Problem;
        EXPECT_EQ(r.Problem.rfind("line " + std::to_string(d.Line) + ": ", 0), 0u) << r.Problem;
        EXPECT_EQ(r.LoadCases.size(), d.CasesWithData);
    }
    // What was read before the problem is kept: load case 1 whole.
    const PlotResults cut = ReadPlotText(Join(L, case2 + 40));
    ASSERT_GE(cut.LoadCases.size(), 1u);
    EXPECT_TRUE(cut.LoadCases[0].StationsComplete);
    EXPECT_EQ(cut.LoadCases[0].Stations.size(), 101u);
    EXPECT_EQ(cut.PyCurves.size(), 3u);
}

}  // namespace
