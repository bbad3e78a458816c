// Inputs that used to give answers that looked right and were wrong: the
// interaction option's lost thrusts, outcomes that disagree between the run
// result and the files, the deflection limit tested at the head only, and
// the equilibrium judged by an absolute limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PileRunSupport.h"

using namespace kestro::test;

namespace {

std::string Example(const std::string& name) {
    return ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/" + name);
}

// `text` with the first occurrence of `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> PlotLines(const std::string& plot, const std::string& tag) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < plot.size()) {
        std::size_t end = plot.find('\n', start);
        if (end == std::string::npos) end = plot.size();
        const std::string line = plot.substr(start, end - start);
        if (line.find(tag) != std::string::npos) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

}  // namespace

// The pile analysis takes its moment-curvature tables at the axial loads of
// its load cases whether or not the interaction study is asked for.
TEST(SoundResults, InteractionOptionKeepsTheLoadCaseThrusts) {
    const std::string plain = Example("drilled-shaft-36in-stiff-clay.kin");
    const std::string study = Replaced(plain, "ComputeInteraction NO", "ComputeInteraction YES\nCode ACI318");
    const RunOutput a = RunInput(plain);
    const RunOutput b = RunInput(study);
    EXPECT_EQ(a.Result, 0);
    EXPECT_EQ(b.Result, a.Result);
    const auto heads = PlotLines(a.Plot, "Line 13");
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(PlotLines(b.Plot, "Line 13"), heads);
    EXPECT_EQ(PlotLines(b.Plot, "Line 10("), PlotLines(a.Plot, "Line 10("));
}

// The run result, the report's warning summary and the completion lines of
// the message file tell one outcome for every path through a run.
TEST(SoundResults, OneOutcomeEverywhere) {
    const std::string shaft = Example("drilled-shaft-36in-stiff-clay.kin");
    const std::string clay = Example("soft-clay-elastic-pile.kin");
    struct Row {
        const char* What;
        std::string Input;
    };
    const std::vector<Row> rows = {
        {"example", shaft},
        {"f'c of 1e11 psi", Replaced(shaft, "4000.0                              concrete", "1.0E11  concrete")},
        {"unit weight outside the usual limits", Replaced(clay, "50.0  250.0", "5.0  250.0")},
        {"deflection limit", Replaced(clay, "DeflectionLimit 100.0", "DeflectionLimit 0.01")},
    };
    for (const Row& row : rows) {
        const RunOutput r = RunInput(row.Input);
        const bool normal = Has(r.Messages, "The analysis ended normally.");
        const bool error = Has(r.Messages, "The analysis ended due to an error.");
        const bool warnings = Has(r.Messages, "The analysis ended with one or more warning messages.");
        const bool summary = Has(r.Report, "Summary of Warning Messages");
        EXPECT_EQ(normal, r.Result == 0) << row.What;
        EXPECT_EQ(error, r.Result > 0) << row.What;
        EXPECT_EQ(warnings, summary) << row.What;
        if (r.Result < 0) {
            EXPECT_TRUE(warnings) << row.What;
        }
        EXPECT_FALSE(normal && warnings) << row.What;
        EXPECT_FALSE(Has(r.Report, "No error or warning messages")) << row.What;
    }
}

// The unit-weight warning of the input echo counts in the run result.
TEST(SoundResults, UnitWeightWarningCounts) {
    const std::string clay = Example("soft-clay-elastic-pile.kin");
    const RunOutput r = RunInput(Replaced(clay, "50.0  250.0", "5.0  250.0"));
    EXPECT_TRUE(Has(r.Report, "POSSIBLE INPUT DATA ERROR"));
    EXPECT_NE(r.Result, 0);
    EXPECT_LT(r.Result, 0);
}

// The excess deflection limit holds for the largest deflection along the
// pile: with the head deflection prescribed (load type 4) the pile below the
// head can deflect far more than the head.
TEST(SoundResults, DeflectionLimitAlongThePile) {
    const std::string clay = Example("soft-clay-elastic-pile.kin");
    struct Row {
        const char* Limit;
        int Result;
    };
    const std::string load = "1  4  0.0  5.0E6  100000.0  0";
    for (const Row& row : {Row{"100.0", 0}, Row{"0.05", 209}}) {
        std::string input = Replaced(clay, "DeflectionLimit 100.0", std::string("DeflectionLimit ") + row.Limit);
        input = Replaced(input, "1  1  15000.0  0.0  100000.0  1", load);
        const RunOutput r = RunInput(input);
        EXPECT_EQ(r.Result, row.Result) << row.Limit;
        if (row.Result == 209) {
            EXPECT_TRUE(Has(r.Report, "The largest computed deflection, at")) << r.Report;
        } else {
            // The same case under the usual limit: the head stays put while
            // the pile below it moves more than the small limit.
            const PileRun p = Analyse(input);
            double largest = 0.0;
            for (const StationResult& s : p.Stations) largest = std::max(largest, std::fabs(s.Y));
            EXPECT_GT(largest, 0.05);
            EXPECT_LT(std::fabs(p.Stations.front().Y), 0.05);
        }
    }
}

// Values that can describe no real pile or soil, or only a unit mistake, are
// input errors naming the field, the line and the value: none changes a
// result silently.
TEST(SoundResults, EveryFieldInItsRange) {
    const std::string shaft = Example("drilled-shaft-36in-stiff-clay.kin");
    const std::string clay = Example("soft-clay-elastic-pile.kin");
    const std::string rock = Example("weak-rock-us.kin");
    const std::string subgrade = Example("elastic-subgrade-us.kin");
    const std::string battered = Example("battered-pile-sloping-ground.kin");
    const std::string spread = Example("lateral-spread-soil-movement.kin");
    const std::string prestressed = Example("prestressed-square-14in.kin");
    const std::string lrfd = Example("h-pile-lrfd-combinations.kin");
    const std::string userEI = Example("user-defined-ei-shaft.kin");
    const std::string userPy = Example("user-py-curves-us.kin");
    const std::string tip = Example("short-shaft-tip-shear.kin");
    const std::string stickUp = Example("stick-up-distributed-load.kin");
    const std::string barrette = Example("rectangular-barrette-stiff-clay.kin");
    const std::string axial = Example("axial-pipe-pile-clay-sand.kin");
    struct Row {
        const char* What;
        std::string Input;
        const char* Field;
    };
    const std::vector<Row> rows = {
        {"f'c of 1e11 psi", Replaced(shaft, "4000.0                              concrete", "1.0E11  concrete"),
         "concrete strength of section 1"},
        {"f'c in ksi", Replaced(shaft, "4000.0                              concrete", "4.0  concrete"),
         "concrete strength of section 1"},
        {"rebar modulus in ksi", Replaced(shaft, "2.9E7 ", "29000.0 "), "rebar modulus of section 1"},
        {"rebar area of 1e11", Replaced(shaft, "1.0                                 bar area", "1.0E11  bar area"),
         "bar area of section 1"},
        {"thousands separators", Replaced(clay, "3600000.0 ", "3,600,000 "), "thousands separators"},
        {"negative cohesion at a layer top", Replaced(clay, "50.0  250.0  0.02", "50.0  -250.0  0.02"),
         "shear strength or rock strength at the top of soil layer 1"},
        {"layer top of -1e30", Replaced(clay, "1  0.0  60.0 ", "1  -1.0E30  60.0 "), "top depth of soil layer 1"},
        {"negative elastic subgrade modulus", Replaced(subgrade, "110.0  20.0 ", "110.0  -20.0 "),
         "elastic subgrade modulus at the top of soil layer 1"},
        {"negative rotational stiffness",
         Replaced(clay, "1  1  15000.0  0.0  100000.0  1", "1  3  15000.0  -1.0E9  100000.0  1"),
         "rotational stiffness of load case 1"},
        {"RQD above 100", Replaced(rock, "135.0  500.0  60000.0  50.0  2.0E-4  top", "135.0  500.0  60000.0  150.0  2.0E-4  top"),
         "RQD (%) at the top of soil layer 2"},
        {"batter of 1e30 degrees", Replaced(battered, "5.0                                 pile batter", "1.0E30  pile batter"),
         "pile batter angle"},
        {"soil movement of 1e30", Replaced(spread, "1  0.0  6.0 ", "1  0.0  1.0E30 "),
         "soil movement of soil movement point 1"},
        {"strand ultimate strength in ksi",
         Replaced(prestressed, "270000.0                            strand", "270.0  strand"),
         "strand ultimate strength of section 1"},
        {"negative prestress", Replaced(prestressed, "189000.0                            initial", "-1.0  initial"),
         "second strand strength of section 1"},
        {"strand diameter of 1e30", Replaced(prestressed, "0.5                                 strand diameter",
                                             "1.0E30  strand diameter"),
         "strand diameter of section 1"},
        {"LRFD shear of 1e30", Replaced(lrfd, "1  1  5000.0  0.0  150000.0  0", "1  1  1.0E30  0.0  150000.0  0"),
         "lateral load of LRFD loading group 1"},
        {"LRFD moment of -1e30", Replaced(lrfd, "3  5  15000.0  180000.0  0.0  0", "3  5  15000.0  -1.0E30  0.0  0"),
         "moment load of LRFD loading group 3"},
        {"LRFD axial load of 1e30", Replaced(lrfd, "2  2  2000.0  0.0  50000.0  0", "2  2  2000.0  0.0  1.0E30  0"),
         "axial load of LRFD loading group 2"},
        {"resistance factor above 1", Replaced(lrfd, "0.0  0.0  0.0  1.0  1.0  no.", "0.0  0.0  0.0  1.0E30  1.0  no."),
         "flexure resistance factor of LRFD load combination 1"},
        {"user EI of 1e30", Replaced(userEI, "1.4E11                              bending", "1.0E30  bending"),
         "bending stiffness EI of point 1 of axial thrust 1 of section 1"},
        {"negative user EI moment", Replaced(userEI, "1000000.0                           bending", "-1.0E6  bending"),
         "bending moment of point 1 of axial thrust 1 of section 1"},
        {"user p-y resistance of 1e30", Replaced(userPy, "0.1  150.0", "0.1  1.0E30"), "soil resistance p of p-y point 2"},
        {"user p-y deflection of -1e30", Replaced(userPy, "0.3  300.0", "-1.0E30  300.0"), "deflection y of p-y point 3"},
        {"tip shear of 1e30", Replaced(tip, "2  0.1  15000.0", "2  0.1  1.0E30"), "tip shear force of tip shear point 2"},
        {"tip displacement of 1e30", Replaced(tip, "2  0.1  15000.0", "2  1.0E30  15000.0"),
         "tip displacement of tip shear point 2"},
        {"distributed load of 1e30", Replaced(stickUp, "2  10.0  50.0", "2  10.0  1.0E30"),
         "distributed load of point 2"},
        {"distributed load depth of -1e30", Replaced(stickUp, "2  10.0  50.0", "2  -1.0E30  50.0"),
         "distributed load depth of point 2"},
        {"bar position of 1e30", Replaced(barrette, "1  8  1.0  0.79  -9.0  15.0", "1  8  1.0  0.79  -9.0  1.0E30"),
         "bar y position of bar 1 of section 1"},
        {"bar circle offset of 1e30",
         Replaced(shaft, "0.0                                 bar circle offset", "1.0E30  bar circle offset"),
         "bar circle offset of section 1"},
        {"axial head load of 1e30", Replaced(axial, "1  600000.0 ", "1  1.0E30 "), "axial load of axial head load 1"},
        {"head shear of 1e30", Replaced(clay, "1  1  15000.0  0.0  100000.0  1", "1  1  1.0E30  0.0  100000.0  1"),
         "lateral load of load case 1"},
        {"head moment of -1e30", Replaced(clay, "1  1  15000.0  0.0  100000.0  1", "1  1  15000.0  -1.0E30  100000.0  1"),
         "moment load of load case 1"},
        {"axial load of 1e30", Replaced(clay, "1  1  15000.0  0.0  100000.0  1", "1  1  15000.0  0.0  1.0E30  1"),
         "axial load of load case 1"},
        {"head slope of 2 radians", Replaced(clay, "1  1  15000.0  0.0  100000.0  1", "1  2  15000.0  2.0  100000.0  1"),
         "head slope of load case 1"},
        {"rotational stiffness of 1e30",
         Replaced(clay, "1  1  15000.0  0.0  100000.0  1", "1  3  15000.0  1.0E30  100000.0  1"),
         "rotational stiffness of load case 1"},
    };
    for (const Row& row : rows) {
        const RunOutput r = RunInput(row.Input);
        EXPECT_EQ(r.Result, 132) << row.What << "\n" << r.Messages;
        EXPECT_TRUE(Has(r.Messages, "**** Input Data Error No. 32 ****")) << row.What;
        EXPECT_TRUE(Has(r.Messages, row.Field)) << row.What << "\n" << r.Messages;
        EXPECT_FALSE(Has(r.Plot, "Line 13")) << row.What;
    }
}
