// Total stress of the results table: |Q|/A + |M| e / I, with the extreme
// fibre e at half the section's depth in the direction of the load.
#include <gtest/gtest.h>

#include <cmath>

#include "PileTestSupport.h"
#include "analysis/StationResults.h"
#include "analysis/Stations.h"

using namespace kestro;

namespace {

struct FibreCase {
    const char* Name;
    int SectionType;
    double B, D2;   // width facing the soil, second dimension
    double E;       // expected fibre distance
};

}  // namespace

TEST(TotalStress, FibreDistanceIsHalfTheBendingDepth) {
    // HP 14x73: flange width 14.585 in, section depth 13.61 in. Strong axis
    // (flange facing the soil) bends over the depth; weak axis over the flange.
    const FibreCase cases[] = {
        {"strong-axis H-pile", SecElastic, 14.585, 13.61, 13.61 / 2.0},
        {"weak-axis H-pile", SecElastic, 13.61, 14.585, 14.585 / 2.0},
        {"embedded pole (hole 36 in, pole 24 in)", SecElasticWithCapacity, 36.0, 24.0, 12.0},
        {"rectangular elastic 12 x 24 in", SecElastic, 12.0, 24.0, 12.0},
        {"circular elastic", SecElastic, 24.0, 24.0, 12.0},
        {"steel pipe", SecSteelPipe, 24.0, 24.0, 12.0},
    };
    const double EI = 2.9E7 * 1000.0, Q = 5000.0, A = 100.0, I = 1000.0, curvature = 2.0E-3;
    for (const FibreCase& c : cases) {
        SCOPED_TRACE(c.Name);
        test::SetElasticPileProblem(400.0, EI, c.B, A);
        for (int r = 1; r <= 2; ++r) Problem.PropertyTable[static_cast<std::size_t>(r)].Second = c.D2;
        Problem.Sections[1].SectionType = c.SectionType;
        BuildStations(400.0);
        AssignSections();
        // y = curvature x^2 / 2: M = EI curvature at every interior station
        for (int i = -1; i <= Pile.NumStations + 1; ++i) {
            const double x = (i - 1) * Pile.Spacing;
            Pile.y[St(i)] = 0.5 * curvature * x * x;
        }
        Pile.AxialLoad = Q;
        Pile.LoadType = 1;
        ClearRunningMaxima();
        StationResults(50);
        const double expected = Q / A + EI * curvature * c.E / I;
        EXPECT_NEAR(Pile.TotalStress[St(50)], expected, 1e-9 * expected);
    }
}
