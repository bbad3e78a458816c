// EI tables of elastic and elastic-plastic sections, checked against values
// worked by hand from E, I and the plastic moment.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/EITables.h"
#include "model/ProblemData.h"
#include "section/SectionAnalysis.h"

using namespace kestro;

namespace {
void OneElasticSection(int type, int units) {
    ResetProblemData();
    ResetEITables();
    Problem.Options.UnitSystem = units;
    Problem.NumSections = 1;
    PileSection& S = Problem.Sections[1];
    S.SectionType = type;
    S.ElasticModulus = 29.0e6;   // psi, steel
    S.TopInertia = 1000.0;       // in^4
    S.BottomInertia = 1000.0;
    S.TopPlasticMoment = 5.8e6;  // in-lb
    Problem.NumAxialThrusts = 2;
    Problem.AxialThrusts[1] = 0.0;
    Problem.AxialThrusts[2] = 50.0;
}
}  // namespace

TEST(ElasticSection, ConstantEIAtEveryThrustInKipUnits) {
    OneElasticSection(SecElastic, UnitsUS);
    ElasticEITable(1);
    const NonlinearEITable& T = EITables[1];
    ASSERT_EQ(T.NumThrusts, 2);
    for (std::size_t j = 1; j <= 2; ++j) {
        ASSERT_EQ(T.NumPoints[j], 150);
        for (std::size_t p = 1; p <= 150; ++p) {
            // 29e6 psi x 1000 in^4 = 2.9e10 lb-in^2 = 2.9e7 kip-in^2
            EXPECT_DOUBLE_EQ(T.EI[j][p], 2.9e7);
            EXPECT_DOUBLE_EQ(T.Curvature[j][p], 10.0 * static_cast<double>(p));
            EXPECT_DOUBLE_EQ(T.Moment[j][p], 2.9e7 * 10.0 * static_cast<double>(p));
        }
    }
    EXPECT_DOUBLE_EQ(T.Thrust[2], 50.0);
}

TEST(ElasticSection, PlasticBranchHoldsMpAndSoftens) {
    OneElasticSection(SecElasticWithCapacity, UnitsSI);
    ElasticPlasticEITable(1);
    const NonlinearEITable& T = EITables[1];
    const double ei = 29.0e9, mp = 5.8e6;
    const double c = mp / ei / 100.0;  // 2e-6
    EXPECT_DOUBLE_EQ(T.Curvature[1][100], 100.0 * c);
    EXPECT_DOUBLE_EQ(T.Moment[1][100], mp);
    EXPECT_DOUBLE_EQ(T.EI[1][100], ei);
    EXPECT_DOUBLE_EQ(T.Moment[1][50], mp / 2.0);
    for (std::size_t p = 101; p <= 150; ++p) {
        double phi = 100.0 * c + 20.0 * c * static_cast<double>(p - 100);
        EXPECT_DOUBLE_EQ(T.Curvature[1][p], phi);
        EXPECT_DOUBLE_EQ(T.Moment[1][p], mp);
        EXPECT_NEAR(T.EI[1][p], mp / phi, 1e-9 * mp / phi);
    }
    EXPECT_DOUBLE_EQ(T.NominalMomentCapacity[1], mp);
    EXPECT_DOUBLE_EQ(T.PlasticMoment, mp);
}

TEST(ElasticSection, UsCustomaryPlasticTableInKips) {
    OneElasticSection(SecElasticWithCapacity, UnitsUS);
    ElasticPlasticEITable(1);
    const NonlinearEITable& T = EITables[1];
    EXPECT_DOUBLE_EQ(T.Moment[2][150], 5800.0);   // kip-in
    EXPECT_DOUBLE_EQ(T.EI[2][1], 2.9e7);          // kip-in^2
    EXPECT_DOUBLE_EQ(T.PlasticMoment, 5800.0);
}
