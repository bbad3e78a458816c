#pragma once
// `kestro convert IN OUT` and the JSON model inputs of run, check, batch and
// sweep: a .json model is converted to a KESTRO6 file in the run's output
// folder, and that file is run.

#include <iosfwd>
#include <string>
#include <vector>

namespace kestro::cli {

// kestro convert IN OUT: KESTRO6 to JSON or JSON to KESTRO6, the direction
// from OUT's extension (.json or else KESTRO6) or, without one, from IN's first
// bytes. Returns the exit status.
int ConvertMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// True when the file at `path` holds a JSON model (by its first bytes).
bool IsJsonModelFile(const std::string& path);

// Converts the JSON model at `jsonPath` into `kinPath`. On failure returns
// false with the reason (naming the JSON path) in `problem`. `linePaths`
// receives the JSON path of each written line.
bool WriteModelAsKestro6(const std::string& jsonPath, const std::string& kinPath, std::string& problem,
                         std::vector<std::string>* linePaths = nullptr);

// The engine's messages with each "line N" followed by the JSON path written there.
std::string NameModelPaths(const std::string& message, const std::vector<std::string>& linePaths);

// For each "line N" in the engine's text that was written from the JSON model,
// prints the model path written there ("line 37 is soil_layers[0].top_values").
void ExplainModelLines(const std::string& text, const std::vector<std::string>& linePaths, std::ostream& err);

// Sets the value at a JSON path ("soil_layers[0].top_values.cohesion") of the
// model text to `value` (a number when it reads as one, else a string).
bool SetModelValue(std::string& jsonText, const std::string& path, const std::string& value, std::string& problem);

}  // namespace kestro::cli
