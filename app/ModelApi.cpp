// libkestro_model: the front end's JSON model conversion and results reading
// behind a C interface, for programs (the Python package) that run the engine
// through libkestro and want the same model and results files as the command.
// Every function returns 0 on success and stores a text that the caller frees
// with kestro_model_free; on failure it returns 1 and the text is the reason.
// No exception leaves this file.

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "HtmlReport.h"
#include "ModelJson.h"
#include "ResultFiles.h"
#include "ResultsJson.h"

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
