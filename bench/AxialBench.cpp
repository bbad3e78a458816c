// Cost of the axial load-transfer analysis: the benchmark pile of the lateral
// runs (24 in pipe, 80 ft, soft clay, 400 increments: 401 nodes) with a
// 20-step load-settlement curve to plunging, the plunging loads in compression
// and uplift, the movements at half the capacity and one head-load profile.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "axial/AxialModel.h"
#include "model/Channels.h"
#include "input/InputFile.h"
#include "input/KeywordReader.h"
#include "input/Units.h"
#include "model/ProblemData.h"
#include "model/RunState.h"

using namespace kestro;

namespace {

bool LoadBenchPile() {
    ResetRunState();
    ResetProblemData();
    ResetAxialModel();
    std::ifstream f(std::string(KESTRO_SOURCE_DIR) + "/bench/peer-fe/pipe-soft-clay-400.kin");
    std::stringstream text;
    text << f.rdbuf();
    std::string input = text.str();
    const std::string axial =
        "AXIAL ANALYSIS\nPipeTip PLUGGED\nResidualRatio 0.9\nCapacityFraction 0.5\nCurveSteps 20\n0\n0\nEND\n";
    const std::size_t end = input.rfind("END");
    if (end == std::string::npos) return false;
    input.replace(end, std::string::npos, axial);
    LoadInputText(input);
    std::string tag;
    if (!TryReadFirstWord(tag)) return false;
    ReadKeywordInput();
    if (Failed()) return false;
    ConvertToInternalUnits();
    for (int k = 2; k <= Problem.NumLayers; ++k)
        Problem.Layers[static_cast<std::size_t>(k)].XTop = Problem.Layers[static_cast<std::size_t>(k - 1)].XBottom;
    return !Failed();
}

}  // namespace

static void BM_AxialLoadSettlementCurve(benchmark::State& state) {
    int failed = 0;
    OpenOutputChannels("/dev/null", "/dev/null", "/dev/null", failed);
    if (!LoadBenchPile()) {
        state.SkipWithError("the benchmark pile could not be read");
        return;
    }
    for (auto _ : state) {
        Run.ErrorNumber = 0;
        AxialResults = AxialResultsData{};
        BuildAxialColumn();
        if (!ComputeAxialResponse()) state.SkipWithError("the axial analysis ended with an error");
        // A copy: DoNotOptimize may write its argument back through a register.
        double plunging = AxialResults.PlungingCompression;
        benchmark::DoNotOptimize(plunging);
    }
    state.counters["nodes"] = AxialColumn.NumNodes;
    state.counters["plunging_lb"] = AxialResults.PlungingCompression;
}
BENCHMARK(BM_AxialLoadSettlementCurve)->Unit(benchmark::kMillisecond);
