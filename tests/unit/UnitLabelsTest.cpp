// Unit labels of the report: each label names the unit of the value it
// stands beside, in US customary, SI and general units.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// The minimal pile (elastic subgrade of 1000 in the input's own unit) with a
// head shear of 100 and a moment of 1000.
kestro::test::RunOutput RunLoaded(const char* units) {
    std::string input = kestro::test::MinimalInput("", units);
    const std::string from = "1 1 0 0 0 1\n";
    input.replace(input.find(from), from.size(), "1 1 1 10 0 1\n");
    return kestro::test::RunInput(input);
}

// The elastic subgrade modulus Esub enters the spring as p = Esub b y, so it is
// a force per length cubed (pci, kN/m3, F/L3) like the subgrade modulus k.
TEST(UnitLabels, ElasticSubgradeModulusIsAForcePerLengthCubed) {
    struct Case {
        const char* Units;
        const char* Label;
    };
    for (const Case c : {Case{"Units USCS", "pci"}, Case{"Units SI", "kN/m3"}, Case{"Units GENERAL", "F/L3"}}) {
        SCOPED_TRACE(c.Units);
        auto r = RunLoaded(c.Units);
        // SI: the US-sized values give counted warnings (unit weight, section
        // properties); no error.
        ASSERT_LE(r.Result, 0) << r.Report;
        const auto at = r.Report.find("Elastic subgrade at top of layer");
        ASSERT_NE(at, std::string::npos);
        const std::string line = r.Report.substr(at, r.Report.find('\n', at) - at);
        EXPECT_EQ(line.substr(line.size() - std::string(c.Label).size()), c.Label) << line;
        EXPECT_FALSE(Has(r.Report, "lb/in^2")) << "no force per length squared label for Esub";
        EXPECT_FALSE(Has(r.Report, "kN/m^2"));
        // the soil summary table's column of the elastic subgrade modulus
        const auto summary = r.Report.find("Elas. Subgr.\n");
        ASSERT_NE(summary, std::string::npos);
        const std::string units = r.Report.substr(summary + 13, r.Report.find('\n', summary + 13) - summary - 13);
        EXPECT_EQ(units.substr(units.find_last_not_of(' ') + 1 - std::string(c.Label).size(),
                               std::string(c.Label).size()),
                  c.Label)
            << units;
    }
}

// A general-units run labels its results with the general labels of its unit
// table, never with US customary ones.
TEST(UnitLabels, GeneralUnitsResultsUseGeneralLabels) {
    auto r = RunLoaded("Units GENERAL");
    ASSERT_EQ(r.Result, 0) << r.Report;
    for (const char* label :
         {"   L         L          F-L         F         radians     F/L2*     F-L2       F/L        F/L        F/L     \n",
          "Pile-head deflection             = ", " L\nComputed slope at pile head      = ",
          " F-L\nMaximum shear force              = ", " F\nDepth of maximum bending moment  = ",
          " L below pile head\nDepth of maximum shear force     = ",
          "Load Type 1: Load 1 = Shear, F, and Load 2 = Moment, F-L\n",
          "Load Type 4: Load 1 = Top Deflection, L, and Load 2 = Moment, F-L\n",
          "Case  Type    V(F) or       F-L, rad.,         Loading      Deflection       Moment          Shear        "
          "Rotation   \n"})
        EXPECT_TRUE(Has(r.Report, label)) << label;
    for (const char* us : {"inches", "lbs", "in-lb", "inch-lbs", "lb-in^2", "lb/in", "psi*"})
        EXPECT_FALSE(Has(r.Report, us)) << us;
}

}  // namespace
