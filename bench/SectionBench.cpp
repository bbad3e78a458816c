// Cost of the section analysis: the moment-curvature curve of a 36 in drilled
// shaft (f'c 4 ksi, 12 #9 bars, Grade 60) at one thrust, and a whole
// computation-mode-3 run of the drilled-shaft example (section analysis,
// then the pile analysis with nonlinear EI).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/Channels.h"
#include "input/InputFile.h"
#include "input/KeywordReader.h"
#include "input/Units.h"
#include "kestro/kgo.h"
#include "model/EITables.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SectionTables.h"
#include "section/MomentCurvature.h"
#include "section/SectionWork.h"

using namespace kestro;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Reads the section-only example and prepares its shaft for thrust 0.
bool PrepareShaft() {
    int failed = 0;
    OpenOutputChannels("/dev/null", "/dev/null", "/dev/null", failed);
    ResetRunState();
    ResetProblemData();
    ResetEITables();
    ResetSectionTables();
    ResetSectionWork();
    LoadInputText(ReadFile(fs::path(KESTRO_SOURCE_DIR) / "examples" / "drilled-shaft-moment-curvature.kin"));
    std::string tag;
    TryReadFirstWord(tag);
    ReadKeywordInput();
    if (Failed()) return false;
    SetUnitLabels(Problem.Options.UnitSystem);
    ConvertToInternalUnits();
    return !Failed() && Initialize_EI_Vars(0.0, 0.0, 1, 2, 1);
}

}  // namespace

static void BM_ShaftMomentCurvature(benchmark::State& state) {
    if (!PrepareShaft()) {
        state.SkipWithError("the shaft could not be prepared");
        return;
    }
    const double phi0 = FirstCurvature(36.0, false);
    for (auto _ : state) {
        SecWork.ThrustIndex = 1;
        if (!ComputeCurve(0.0, phi0, 0.0, 1.0, -1.0e30)) state.SkipWithError("the curve ended with an error");
        benchmark::DoNotOptimize(Curve.Points[150].Moment);
    }
    state.counters["points"] = Curve.NumPoints;
}
// A strain limit of 1 lets the curve run to all 150 points.
BENCHMARK(BM_ShaftMomentCurvature)->Unit(benchmark::kMillisecond);

static void BM_DrilledShaftMode3Run(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / "kestro-bench-mode3";
    fs::create_directories(dir);
    const fs::path input = fs::path(KESTRO_SOURCE_DIR) / "examples" / "drilled-shaft-36in-stiff-clay.kin";
    std::ofstream(dir / "NAMES.DAT") << input.string() << "\nreport.txt\nplot.txt\nmessages.txt\nBench\nBench\n";
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    int result = 0;
    for (auto _ : state) {
        result = KGO();
        if (result > 0) state.SkipWithError("the run ended with an error");
    }
    fs::current_path(previous);
    state.counters["result"] = result;
}
BENCHMARK(BM_DrilledShaftMode3Run)->Unit(benchmark::kMillisecond);
