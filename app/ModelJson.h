#pragma once
// The JSON model of a Kestro input: the same content as a KESTRO6 keyword
// file, under self-explanatory names (docs/model-json.md). Both directions of
// the conversion are exact: KESTRO6 -> JSON -> KESTRO6 gives a file that the
// engine reads to the same values on the same line numbers (the canonical
// layout of docs/input.md), and JSON -> KESTRO6 -> JSON gives the same JSON.

#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kestro::model {

using Json = nlohmann::ordered_json;

// The format tag and version written into every model.
inline constexpr const char* FormatName = "kestro-model";
inline constexpr int FormatVersion = 1;

// A model or input that cannot be converted. `Where` is the JSON path
// ("soil_layers[2].bottom") for a JSON model, or "line N" for a KESTRO6 file.
struct ModelError : std::runtime_error {
    std::string Where;
    ModelError(std::string where, const std::string& what)
        : std::runtime_error(where.empty() ? what : where + ": " + what), Where(std::move(where)) {}
};

// Reads a KESTRO6 file's text into the JSON model. Throws ModelError.
Json FromKestro6(const std::string& text);

// A KESTRO6 text and, for each of its lines (index 0 is line 1), the JSON
// path of the value written there, so that an engine message naming a line
// can name the model's field.
struct Kestro6Text {
    std::string Text;
    std::vector<std::string> LinePaths;
};

// Writes the JSON model as KESTRO6 text after checking its structure, names
// and the checks that need the model as a whole (layer order). Throws ModelError.
Kestro6Text ToKestro6(const Json& model);

// Parses JSON text; a syntax error is a ModelError naming the line and column.
Json ParseJson(const std::string& text);

// True when the text's first non-blank character opens a JSON object.
bool LooksLikeJson(const std::string& text);

// Appends " (JSON model: <path>)" to each "line N" / "Line N" of an engine
// message whose line maps to a model path.
std::string AnnotateLines(const std::string& message, const std::vector<std::string>& linePaths);

}  // namespace kestro::model
