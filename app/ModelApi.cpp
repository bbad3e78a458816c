// libkestro_model: the front end's JSON model conversion and results reading
// behind a C interface, for programs (the Python package) that want the same
// model and results files as the command. It holds the engine itself (linked
// statically, as in the command), so that a run's results are taken from
// memory rather than read back from its plot file.
// Every function returns 0 on success and stores a text that the caller frees
// with kestro_model_free; on failure it returns 1 and the text is the reason.
// No exception leaves this file.

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "HtmlReport.h"
#include "ModelJson.h"
#include "ResultFiles.h"
#include "ResultsJson.h"
#include "model/HeldResults.h"
#include "kestro/kgo.h"

#define KESTRO_MODEL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

char* Copy(const std::string& s) {
    char* p = static_cast<char*>(std::malloc(s.size() + 1));
    if (p != nullptr) std::memcpy(p, s.c_str(), s.size() + 1);
    return p;
}

template <typename F>
int Guarded(char** out, F f) {
    if (out == nullptr) return 1;
    try {
        *out = Copy(f());
        return 0;
    } catch (const std::exception& e) {
        *out = Copy(e.what());
    } catch (...) {
        *out = Copy("unexpected failure");
    }
    return 1;
}

kestro::results::RunResults Load(const char* plot, const char* report, const char* messages, int result,
                                 int known) {
    return kestro::results::LoadRunResults(plot, report, messages,
                                           known != 0 ? std::optional<int>(result) : std::nullopt);
}

}  // namespace

// JSON model text to KESTRO6 text.
KESTRO_MODEL_EXPORT int kestro_model_to_kestro6(const char* json, char** out) {
    return Guarded(out, [&] { return kestro::model::ToKestro6(kestro::model::ParseJson(json ? json : "")).Text; });
}

// KESTRO6 text to JSON model text (indented).
KESTRO_MODEL_EXPORT int kestro_model_from_kestro6(const char* text, char** out) {
    return Guarded(out, [&] { return kestro::model::FromKestro6(text ? text : "").dump(2) + "\n"; });
}

// The results JSON (docs/results-json.md) of a finished run's three files.
KESTRO_MODEL_EXPORT int kestro_results_json(const char* plot, const char* report, const char* messages, int result,
                                            int resultKnown, char** out) {
    return Guarded(out, [&] {
        return kestro::results::ResultsJsonText(Load(plot, report, messages, result, resultKnown));
    });
}

// The HTML report page of a finished run's three files.
KESTRO_MODEL_EXPORT int kestro_results_html(const char* plot, const char* report, const char* messages, int result,
                                            int resultKnown, char** out) {
    return Guarded(out, [&] {
        return kestro::results::HtmlReport(Load(plot, report, messages, result, resultKnown));
    });
}

KESTRO_MODEL_EXPORT void kestro_model_free(char* text) { std::free(text); }

// ---------------------------------------------------------------------------
// A run in this process with its results held in memory. The engine's three
// files are written as by any run; the results JSON and the HTML page are
// built from the results the engine held, only when asked for.

namespace {

struct HeldRun {
    kestro::results::RunResults Results;
    std::string ReportText;
};

}  // namespace

// Runs the engine (NAMES.DAT in the current folder, naming the report, plot
// and message files given here) and keeps its results in
// `*handle` (freed with kestro_run_free). `*result` is the run result and
// `*engineSeconds` the time spent in the engine. `*runJson` (freed with
// kestro_model_free) is the "run" object of the results JSON followed by a
// line with the unit system. Returns 0, or 1 with the reason in `*runJson`.
KESTRO_MODEL_EXPORT int kestro_run_held(const char* report, const char* plot, const char* messages, int* result,
                                        double* engineSeconds, void** handle, char** runJson) {
    if (report == nullptr || plot == nullptr || messages == nullptr || result == nullptr ||
        engineSeconds == nullptr || handle == nullptr)
        return 1;
    *handle = nullptr;
    return Guarded(runJson, [&] {
        kestro::HoldResults(true);
        const auto start = std::chrono::steady_clock::now();
        *result = KGO();
        *engineSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        kestro::HoldResults(false);
        auto run = std::make_unique<HeldRun>();
        run->ReportText = kestro::results::ReadFileText(report);
        run->Results = kestro::results::HeldRunResults(plot, report, messages, run->ReportText,
                                                       kestro::results::ReadFileText(messages), *result);
        run->Results.Name = kestro::results::FilesBesidePlot(plot).Name;
        std::string text = kestro::results::RunJsonText(run->Results) + "\n" +
                           std::to_string(run->Results.Plot.UnitSystem) + "\n";
        *handle = run.release();
        return text;
    });
}

// The results JSON of a held run, as `kestro run` writes it.
KESTRO_MODEL_EXPORT int kestro_run_json(void* handle, char** out) {
    return Guarded(out, [&] {
        if (handle == nullptr) throw std::runtime_error("no run");
        return kestro::results::ResultsJsonText(static_cast<HeldRun*>(handle)->Results);
    });
}

// The HTML report page of a held run.
KESTRO_MODEL_EXPORT int kestro_run_html(void* handle, char** out) {
    return Guarded(out, [&] {
        if (handle == nullptr) throw std::runtime_error("no run");
        return kestro::results::HtmlReport(static_cast<HeldRun*>(handle)->Results);
    });
}

// The report text of a held run.
KESTRO_MODEL_EXPORT int kestro_run_report(void* handle, char** out) {
    return Guarded(out, [&] {
        if (handle == nullptr) throw std::runtime_error("no run");
        return static_cast<HeldRun*>(handle)->ReportText;
    });
}

// Number of load cases of a held run and the number of stations of case
// `index` (from 0) with slope, EI and Es known; 0 when there are none.
KESTRO_MODEL_EXPORT int kestro_run_cases(void* handle) {
    if (handle == nullptr) return 0;
    return static_cast<int>(static_cast<HeldRun*>(handle)->Results.Plot.LoadCases.size());
}

// Copies slope, EI and Es of the stations of load case `index` (from 0) into
// `out` (3 * `capacity` doubles: the slopes, then EI, then Es) and returns the
// number of stations, or 0 when the case has none.
KESTRO_MODEL_EXPORT int kestro_run_station_properties(void* handle, int index, double* out, int capacity) {
    if (handle == nullptr || out == nullptr || index < 0) return 0;
    const auto& cases = static_cast<HeldRun*>(handle)->Results.Plot.LoadCases;
    if (static_cast<std::size_t>(index) >= cases.size()) return 0;
    const kestro::results::LoadCase& c = cases[static_cast<std::size_t>(index)];
    const int n = static_cast<int>(c.Stations.size());
    if (!c.HasStationProperties || n > capacity) return 0;
    for (int i = 0; i < n; ++i) {
        const kestro::results::Station& s = c.Stations[static_cast<std::size_t>(i)];
        out[i] = s.Slope;
        out[capacity + i] = s.EI;
        out[2 * capacity + i] = s.Es;
    }
    return n;
}

KESTRO_MODEL_EXPORT void kestro_run_free(void* handle) { delete static_cast<HeldRun*>(handle); }
