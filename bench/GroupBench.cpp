// Cost of the rigid-cap solution of a group: 16 piles of 2 types (nonlinear
// axial analysis of 101 nodes each, linear lateral head terms), the outer
// rows battered 1 in 6, under 5 load cases solved one after the other from
// fresh pile states; and the same group run from its group file with every
// pile answered by the p-y lateral analysis of a 36 in drilled shaft.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include <fstream>
#include <sstream>
#include <string>

#include "axial/AxialSolver.h"
#include "group/CapSolver.h"
#include "group/GroupInput.h"

using namespace kestro;
using namespace kestro::group;

namespace {

// A pile in kip and in: 100 bars of EA ea over 900 in, clay-like shaft
// friction 0.4 kip/in mobilised over 0.2 in, end bearing 300 kip over 1 in.
axial::AxialPile BenchPile(double ea) {
    axial::AxialPile p;
    const int elements = 100;
    const double L = 900.0, h = L / elements;
    p.NumNodes = elements + 1;
    p.NumCurves = 2;
    axial::Curve& c = p.Curves[1];
    c.NumPoints = 3;
    c.Z[0] = 0.0;
    c.Z[1] = 0.5;
    c.Z[2] = 1.0;
    c.T[0] = 0.0;
    c.T[1] = 0.7;
    c.T[2] = 1.0;
    p.Curves[2] = c;
    p.Curves[2].b_NoTension = true;
    for (int i = 1; i <= p.NumNodes; ++i) {
        const auto k = static_cast<std::size_t>(i);
        p.Depth[k] = h * (i - 1);
        p.EA[k] = ea;
        p.ElementLength[k] = h;
        const double trib = (i == 1 || i == p.NumNodes) ? 0.5 * h : h;
        p.Shaft[k] = {1, 0.2, 0.4 * trib};
    }
    p.Tip = {2, 1.0, 300.0};
    return p;
}

void BM_GroupSixteenPilesFiveCases(benchmark::State& state) {
    const axial::AxialPile typeA = BenchPile(4.0E6), typeB = BenchPile(6.0E6);
    const LinearHeadTerms lateralA{0.0, 300.0, -20000.0, 3.0E6, Connection::Fixed};
    const LinearHeadTerms lateralB{0.0, 450.0, -38000.0, 6.5E6, Connection::Fixed};
    const std::vector<Vector3> cases{
        {0.0, 4000.0, 0.0}, {300.0, 4000.0, 0.0}, {-300.0, 4000.0, 0.0}, {200.0, 3000.0, 150000.0}, {0.0, 2000.0, -200000.0}};
    const double batter = std::atan(1.0 / 6.0);
    for (auto _ : state) {
        std::vector<std::unique_ptr<AxialPileHead>> heads;
        std::vector<GroupPile> piles;
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) {
                const bool b = k % 2 == 1;
                heads.push_back(std::make_unique<AxialPileHead>(b ? typeB : typeA, b ? lateralB : lateralA));
                const double x = -90.0 + 60.0 * row;
                const double bat = row == 0 ? -batter : row == 3 ? batter : 0.0;
                piles.push_back({x, 0.0, bat, heads.back().get()});
            }
        int errors = 0;
        for (const Vector3& load : cases) errors += SolveCap(piles, load).Error != 0;
        if (errors != 0) state.SkipWithError("a load case did not balance");
        benchmark::DoNotOptimize(errors);
    }
}
BENCHMARK(BM_GroupSixteenPilesFiveCases)->Unit(benchmark::kMillisecond);

// 16 piles of 2 types in 4 rows 108 in (3 widths) apart, the outer rows
// battered 1 in 6: type 1 fixed to the cap with the axial load-transfer
// analysis of the shaft, type 2 pinned with a linear axial term; every pile
// answered by the p-y analysis of the 36 in shaft of examples/group (nonlinear
// bending stiffness, stiff clay), multipliers by row; 5 load cases. Each
// iteration is a whole group run: the lateral model read and prepared (the
// sections' moment-curvature included), then the 5 cases balanced.
void BM_GroupSixteenPyPilesFiveCases(benchmark::State& state) {
    std::ifstream in(std::string(KESTRO_SOURCE_DIR) + "/examples/group/shaft-36in-stiff-clay.kin");
    std::ostringstream lateral;
    lateral << in.rdbuf();
    std::ostringstream g;
    g << "KESTRO GROUP\nLATERAL shaft-36in-stiff-clay.kin\nTYPE 1 FIXED PY\nTYPE 2 PINNED PY KAXIAL 2.0E6\n";
    const double batter = std::atan(1.0 / 6.0) * 180.0 / 3.14159265358979323846;
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) {
            const double bat = row == 0 ? -batter : row == 3 ? batter : 0.0;
            g << "PILE " << (k % 2 == 0 ? 1 : 2) << ' ' << -162.0 + 108.0 * row << " 0 " << bat << '\n';
        }
    g << "LOAD dead 0 4.8E6 0\nLOAD wind 3.0E5 4.8E6 3.0E7\nLOAD back -3.0E5 4.8E6 -3.0E7\n"
         "LOAD light 2.0E5 3.2E6 0\nLOAD turn 0 3.2E6 -6.0E7\n";
    group::GroupModel model;
    std::string error;
    if (group::ReadGroup(g.str(), model, error) != 0) {
        state.SkipWithError(error.c_str());
        return;
    }
    model.LateralText = lateral.str();
    long analyses = 0;
    for (auto _ : state) {
        std::ostringstream report;
        group::GroupResults results;
        if (group::RunGroup(model, report, error, results) != 0) {
            state.SkipWithError(error.c_str());
            return;
        }
        analyses = results.LateralSolutions;
        benchmark::DoNotOptimize(results);
    }
    state.counters["lateralAnalyses"] = static_cast<double>(analyses);
}
BENCHMARK(BM_GroupSixteenPyPilesFiveCases)->Unit(benchmark::kMillisecond);

}  // namespace
