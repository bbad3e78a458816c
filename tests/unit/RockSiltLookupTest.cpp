// Property lookups of weak rock (k_rm and RQD by depth, at a layer interface
// and at the pile tip) and the cemented silt defaults: the initial modulus k
// (clay default of the strength class plus the frictional addition by unit
// weight and friction angle) and e50 by the silt's consistency classes, each
// limit taken just below and just above. The limits and moduli are the
// single-precision values of the tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LayerTestSupport.h"
#include "model/ProblemData.h"
#include "soil/CementedSilt.h"
#include "soil/SoilProperties.h"

using namespace kestro;

namespace {

constexpr double F(float v) { return static_cast<double>(v); }
constexpr double Below = 1.0 - 1.0e-9;
constexpr double Above = 1.0 + 1.0e-9;

struct KCase {
    std::string Name;
    double C, Gamma, PhiDeg;
    bool Cyclic;
    int Units;
    double Expected;
};

TEST(CementedSiltDefaults, InitialModulusByClassUnitWeightAndFriction) {
    // US: c = 10 psi is class 2 of the stiff clays (6.94 <= c < 13.88):
    // 500 pci static, 200 pci cyclic. SI: c = 50 kPa is class 2
    // (47.8927 <= c < 95.7854): 135723.59 kN/m3 static.
    const double us2 = 500.0, us2c = 200.0, si2 = F(135723.59f);
    const std::vector<KCase> cases = {
        {"US dense phi 30", 10.0, 0.05, 30.0, false, UnitsUS, us2 + 25.0},
        {"US dense just above 30", 10.0, 0.05, 30.0 * Above, false, UnitsUS, us2 + 90.0},
        {"US dense phi 36", 10.0, 0.05, 36.0, false, UnitsUS, us2 + 90.0},
        {"US dense just above 36", 10.0, 0.05, 36.0 * Above, false, UnitsUS, us2 + 225.0},
        {"US unit weight 0.045 is loose", 10.0, 0.045, 25.0, false, UnitsUS, us2 + 20.0},
        {"US unit weight just above 0.045", 10.0, 0.045 * Above, 25.0, false, UnitsUS, us2 + 25.0},
        {"US loose phi 33", 10.0, 0.04, 33.0, false, UnitsUS, us2 + 60.0},
        {"US loose phi 40", 10.0, 0.04, 40.0, false, UnitsUS, us2 + 125.0},
        {"US cyclic", 10.0, 0.05, 30.0, true, UnitsUS, us2c + 25.0},
        {"SI unit weight 12.225 is loose", 50.0, 12.225, 30.0, false, UnitsSI, si2 + F(5428.9399f)},
        {"SI unit weight just above 12.225", 50.0, 12.225 * Above, 30.0, false, UnitsSI, si2 + F(6786.1802f)},
        {"SI dense just above 30", 50.0, 13.0, 30.0 * Above, false, UnitsSI, si2 + F(24430.240f)},
        {"SI dense just above 36", 50.0, 13.0, 36.0 * Above, false, UnitsSI, si2 + F(61075.602f)},
        {"SI loose phi 33", 50.0, 10.0, 33.0, false, UnitsSI, si2 + F(16286.830f)},
        {"SI loose phi 37", 50.0, 10.0, 37.0, false, UnitsSI, si2 + F(33930.898f)},
        {"general units have no default", 10.0, 0.05, 30.0, false, UnitsGeneral, 0.0},
    };
    for (const KCase& k : cases) {
        SCOPED_TRACE(k.Name);
        const double v = CementedSiltDefaultK(k.C, k.Gamma, k.PhiDeg, k.Cyclic, k.Units);
        EXPECT_NEAR(v, k.Expected, 1.0e-7 * (k.Expected + 1.0));
    }
}

struct EpsCase {
    double C;
    int Units;
    double Expected;
};

TEST(CementedSiltDefaults, Eps50BySiltConsistencyClass) {
    const double us1 = F(3.4721999f), us2 = F(6.9443998f), us4 = F(27.8889f);
    const double si1 = F(23.9401f), si2 = F(47.8803f), si4 = F(191.521f);
    const std::vector<EpsCase> cases = {
        {us1 * Below, UnitsUS, 0.02},  {us1 * Above, UnitsUS, 0.01},   {us2 * Below, UnitsUS, 0.01},
        {us2 * Above, UnitsUS, 0.005}, {us4 * Below, UnitsUS, 0.005},  {us4 * Above, UnitsUS, 0.004},
        {si1 * Below, UnitsSI, 0.02},  {si1 * Above, UnitsSI, 0.01},   {si2 * Below, UnitsSI, 0.01},
        {si2 * Above, UnitsSI, 0.005}, {si4 * Below, UnitsSI, 0.005},  {si4 * Above, UnitsSI, 0.004},
        {10.0, UnitsGeneral, 0.0},
    };
    for (const EpsCase& e : cases) {
        SCOPED_TRACE(std::to_string(e.C) + " in unit system " + std::to_string(e.Units));
        EXPECT_DOUBLE_EQ(CementedSiltDefaultEps50(e.C, e.Units), e.Expected);
    }
}

SoilPoint Rock(double rqd, double krm) {
    SoilPoint p;
    p.UnitWeight = 0.08;
    p.Cohesion = 500.0;
    p.Kpy = 5.0e4;
    p.RQD = rqd;
    p.Epsilon50 = krm;
    return p;
}

struct LookupCase {
    std::string Name;
    double PileLength, X;
    double Krm, Rqd;
};

// Two weak rock layers meeting at 120 in: k_rm 1e-4 to 2e-4 above, 3e-4 to
// 4e-4 below; RQD 20 to 20 above, 40 to 60 below.
TEST(WeakRockLookup, KrmAndRqdAtInterfaceTipAndBetweenPoints) {
    const std::vector<LookupCase> cases = {
        {"top point", 240.0, 0.0, 1.0e-4, 20.0},
        {"between points", 240.0, 60.0, 1.5e-4, 20.0},
        {"just above the interface", 240.0, 120.0 * (1.0 - 1.0e-9), 2.0e-4, 20.0},
        // k_rm of the lower layer; RQD the mean of the two (neither is zero)
        {"interface above the tip", 240.0, 120.0, 3.0e-4, 30.0},
        {"just below the interface", 240.0, 120.0 * (1.0 + 1.0e-9), 3.0e-4, 40.0},
        {"between points below", 240.0, 180.0, 3.5e-4, 50.0},
        {"last table depth", 240.0, 240.0, 4.0e-4, 60.0},
        // the pile tip on the interface keeps the upper layer's values
        {"interface at the tip", 120.0, 120.0, 2.0e-4, 20.0},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.Name);
        kestro::test::BuildPile({{SoilWeakRock, 0.0, 120.0, Rock(20.0, 1.0e-4), Rock(20.0, 2.0e-4)},
                                 {SoilWeakRock, 120.0, 240.0, Rock(40.0, 3.0e-4), Rock(60.0, 4.0e-4)}},
                                24.0, c.PileLength, 24, 0.01);
        EXPECT_NEAR(KrmAt(c.X), c.Krm, 1.0e-12);
        EXPECT_NEAR(RqdAt(c.X), c.Rqd, 1.0e-7);
        EXPECT_EQ(kestro::Run.ErrorNumber, 0);
    }
    // Below the table: k_rm 0; RQD stops the run with Input Data Error 31.
    kestro::test::BuildPile({{SoilWeakRock, 0.0, 120.0, Rock(20.0, 1.0e-4), Rock(20.0, 2.0e-4)}}, 24.0, 120.0, 12,
                            0.01);
    EXPECT_EQ(KrmAt(120.0 * (1.0 + 1.0e-9)), 0.0);
    RqdAt(130.0);
    EXPECT_EQ(kestro::Run.ErrorNumber, 131);
}

}  // namespace
