// Cost of a whole run through KGO and of its parts: a 24 in steel pipe pile,
// 80 ft long, in soft clay, 400 increments, one 15 kip head shear. The whole
// warm run (input, echo, iteration, report and plot file), one soil update
// over every layer (the p-y pass of one iteration), one linear solution, the
// two timed in alternation (iteration per solution), and the number formatter
// that writes every value of the report.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/LoadCases.h"
#include "analysis/Solver.h"
#include "kestro/kgo.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/SoilState.h"
#include "report/Format.h"
#include "soil/PyCriteria.h"

namespace fs = std::filesystem;
using namespace kestro;

namespace {

const char* const SoftClayPipeInput =
    "KESTRO6\nTITLE\n24 in steel pipe, 80 ft, soft clay, 400 increments\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\n"
    "ComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\n"
    "Loading STATIC     1\nMaxIterations 100\nDeflectionLimit 100.0\nTolerance 1.0E-5\nIncrements 400\n"
    "PrintSummaryOnly NO\nPrintIncrement 5\nPrintPYCurves NO\nComputeInteraction NO\n"
    "SECTIONS\n1\n1\n11\n80.0\n2\n29000000.0\n24.0\n24.0\n0.5\n0.5\n36.9137\n36.9137\n2549.3534\n2549.3534\n"
    "SOIL LAYERS\n1\n1  0.0  90.0\n50.0  250.0  0.02\n50.0  750.0  0.01\n"
    "LOADING\n1\n1  1  15000.0  0.0  0.0  1\n0\nEND\n";

// A run folder with the input and NAMES.DAT; the working directory moves there.
void EnterRunFolder() {
    static bool ready = false;
    if (ready) return;
    const fs::path dir = fs::temp_directory_path() / ("kestro-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "input.kin") << SoftClayPipeInput;
    std::ofstream(dir / "NAMES.DAT") << "input.kin\nreport.txt\nplot.txt\nmessages.txt\nBench\nKestro\n";
    fs::current_path(dir);
    ready = true;
}

}  // namespace

static void BM_WholeRunWarm(benchmark::State& state) {
    EnterRunFolder();
    for (auto _ : state) {
        const int result = KGO();
        if (result != 0) state.SkipWithError("the run did not end normally");
    }
    state.counters["iterations"] = Pile.Summary[1].Iterations;
}
BENCHMARK(BM_WholeRunWarm)->Unit(benchmark::kMillisecond);

// One soil update on the converged deflections left by a whole run.
static void BM_PyPass(benchmark::State& state) {
    EnterRunFolder();
    if (KGO() != 0) state.SkipWithError("the run did not end normally");
    for (auto _ : state) {
        Soil.RockLayerCount = 0;
        for (int k = 1; k <= Problem.NumLayers; ++k) EvaluateLayerCriterion(k);
        benchmark::DoNotOptimize(Pile.Es[St(2)]);
    }
    state.counters["stations"] = Pile.NumStations;
}
BENCHMARK(BM_PyPass)->Unit(benchmark::kMicrosecond);

// One linear solution of the same pile with the converged moduli.
static void BM_SolveConverged(benchmark::State& state) {
    EnterRunFolder();
    if (KGO() != 0) state.SkipWithError("the run did not end normally");
    for (auto _ : state) {
        SolvePile();
        benchmark::DoNotOptimize(Pile.y[St(1)]);
    }
}
BENCHMARK(BM_SolveConverged)->Unit(benchmark::kMicrosecond);

// One iteration against one bare solution: a linear solution and a soil
// update (UpdateSoilModuli, as the load-case iteration calls it) timed in
// alternation on the converged pile, so that the load of the machine weighs
// on both alike. The counters are the medians of one solution and of one soil
// update, in microseconds, and the iteration (update and solution) per
// solution, the figure held to at most 3.
static void BM_IterationPerSolve(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    EnterRunFolder();
    if (KGO() != 0) state.SkipWithError("the run did not end normally");
    std::vector<double> solve, update;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        SolvePile();
        const auto t1 = Clock::now();
        UpdateSoilModuli();
        const auto t2 = Clock::now();
        benchmark::DoNotOptimize(Pile.Es[St(2)]);
        solve.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        update.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
    }
    if (solve.empty()) return;
    auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const double s = median(solve), u = median(update);
    state.counters["solve_us"] = s;
    state.counters["update_us"] = u;
    state.counters["iteration_per_solve"] = (s + u) / s;
}
BENCHMARK(BM_IterationPerSolve)->Unit(benchmark::kMicrosecond);

// The whole iteration of the load case from the initial moduli to convergence
// (solutions, soil updates, progress lines), without the report. Its time per
// solution, set against BM_SolveConverged, is the cost of the iteration over
// the bare linear solutions.
static void BM_IterationToConvergence(benchmark::State& state) {
    EnterRunFolder();
    if (KGO() != 0) state.SkipWithError("the run did not end normally");
    int solutions = 0;
    for (auto _ : state) {
        if (RunStudyCase(1, 1, 15000.0, 0.0, 0.0) != StudyCaseEnd::Converged) state.SkipWithError("no convergence");
        solutions = Pile.Iteration;
    }
    state.counters["solutions"] = solutions;
    state.counters["per_solution_us"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * solutions, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_IterationToConvergence)->Unit(benchmark::kMicrosecond);

// FormatNumber over values of every magnitude the report meets.
static void BM_FormatNumberEveryMagnitude(benchmark::State& state) {
    const double values[] = {0.0, 1.0E-30, 3.2E-9, -0.0041148, 0.6876183, 15000.0, -1366981.4, 5.863E10, 2.5E25};
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (double v : values) bytes += FormatNumberText(v, 14).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(sizeof values / sizeof values[0]));
}
BENCHMARK(BM_FormatNumberEveryMagnitude);
