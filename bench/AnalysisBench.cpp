// Cost of the lateral pile analysis: one linear finite-difference solution
// (the work of one iteration) and one whole analysis of a realistic pile.
#include <benchmark/benchmark.h>

#include <cstddef>

#include "analysis/LoadCases.h"
#include "analysis/Solver.h"
#include "model/Channels.h"
#include "input/Units.h"
#include "model/EITables.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"

using namespace kestro;

namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

void OpenDiscardingChannels() {
    static bool open = false;
    if (open) return;
    int failed = 0;
    open = OpenOutputChannels("/dev/null", "/dev/null", "/dev/null", failed);
}

// A 24-in steel pipe pile (EI = 5.8e10 lb-in^2), 60 ft long, in soft clay whose
// strength rises from 3 to 10 psi over 70 ft; 100 increments; three load cases.
void SetSoftClayProblem() {
    ResetRunState();
    ResetProblemData();
    ResetPileModel();
    ResetEITables();
    ResetSoilState();
    ProblemData& P = Problem;
    P.Options.UnitSystem = UnitsUS;
    SetUnitLabels(UnitsUS);
    P.Options.ComputationMode = 3;
    P.Options.MaxIterations = 100;
    P.Options.ExcessDeflectionLimit = 100.0;
    P.Options.ConvergenceTolerance = 1.0E-5;
    P.Options.NumIncrements = 100;
    P.Options.PrintIncrement = 5;
    const double L = 720.0;
    P.NumSections = 1;
    P.Sections[1].SectionType = SecElastic;
    P.Sections[1].SectionBottom = L;
    P.PileLength = L;
    P.NumPropertyRows = 2;
    P.PropertyTable[1] = {0.0, 24.0, 24.0, 2000.0, 2.9E7, 36.0};
    P.PropertyTable[2] = {L, 24.0, 24.0, 2000.0, 2.9E7, 36.0};
    P.NumLayers = 1;
    P.Layers[1] = {SoilSoftClay, 0.0, 840.0};
    P.NumSoilPoints = 2;
    const double c[] = {3.0, 10.0};
    for (int p = 1; p <= 2; ++p) {
        SoilPoint& s = P.SoilPoints[U(p)];
        s.Depth = p == 1 ? 0.0 : 840.0;
        s.Cohesion = c[p - 1];
        s.UnitWeight = 60.0 / 1728.0;
        s.Epsilon50 = 0.01;
    }
    const double loads[][3] = {{1, 20000.0, 0.0}, {1, 50000.0, 1.0E6}, {2, 50000.0, 0.0}};
    P.NumLoadCases = 3;
    for (int k = 1; k <= 3; ++k) {
        LoadCase& lc = P.LoadCases[U(k)];
        lc.LoadType = static_cast<int>(loads[k - 1][0]);
        lc.Condition1 = loads[k - 1][1];
        lc.Condition2 = loads[k - 1][2];
    }
}

void SetUniformPile(int increments) {
    ResetRunState();
    ResetProblemData();
    ResetPileModel();
    const double L = 720.0;
    Pile.NumStations = increments + 1;
    Pile.Length = L;
    Pile.Spacing = L / increments;
    for (int i = 1; i <= increments + 1; ++i) {
        Pile.x[St(i)] = (i - 1) * Pile.Spacing;
        Pile.EI[St(i)] = 5.8E10;
        Pile.Es[St(i)] = 1000.0 + 10.0 * i;
    }
    Pile.LoadType = 1;
    Pile.HeadShear = 10000.0;
}

}  // namespace

static void BM_SolvePile(benchmark::State& state) {
    SetUniformPile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SolvePile();
        benchmark::DoNotOptimize(Pile.y[St(1)]);
    }
}
BENCHMARK(BM_SolvePile)->Arg(100)->Arg(500);

static void BM_WholeAnalysisSoftClay(benchmark::State& state) {
    OpenDiscardingChannels();
    SetSoftClayProblem();
    int iterations = 0;
    for (auto _ : state) {
        Run.ErrorNumber = 0;
        RunLoadCases();
        WriteSummary();
        if (Failed()) state.SkipWithError("the analysis ended with an error");
        iterations = Pile.Summary[1].Iterations + Pile.Summary[2].Iterations + Pile.Summary[3].Iterations;
    }
    state.counters["iterations"] = iterations;
}
BENCHMARK(BM_WholeAnalysisSoftClay)->Unit(benchmark::kMillisecond);
