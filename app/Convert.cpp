#include "Convert.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "Cli.h"
#include "ModelJson.h"
#include "ResultFiles.h"

namespace fs = std::filesystem;

namespace kestro::cli {
namespace {

constexpr const char* ConvertUsage =
    "Usage: kestro convert IN OUT\n"
    "  KESTRO6 input (.kin) to JSON model (.json), or JSON model to KESTRO6 input;\n"
    "  the direction is taken from OUT's extension, or else from IN's first bytes.\n"
    "  OUT may be - for the standard output.\n";

bool ReadWhole(const std::string& path, std::string& text) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::ostringstream s;
    s << f.rdbuf();
    text = s.str();
    return true;
}

}  // namespace

bool IsJsonModelFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    char head[256] = {};
    f.read(head, sizeof head);
    return model::LooksLikeJson(std::string(head, static_cast<std::size_t>(f.gcount())));
}

bool WriteModelAsKestro6(const std::string& jsonPath, const std::string& kinPath, std::string& problem,
                         std::vector<std::string>* linePaths) {
    std::string text;
    if (!ReadWhole(jsonPath, text)) {
        problem = "cannot read '" + jsonPath + "'";
        return false;
    }
    try {
        model::Kestro6Text k = model::ToKestro6(model::ParseJson(text));
        std::ofstream out(kinPath, std::ios::binary | std::ios::trunc);
        out << k.Text;
        if (!out) {
            problem = "cannot write '" + kinPath + "'";
            return false;
        }
        if (linePaths != nullptr) *linePaths = std::move(k.LinePaths);
        return true;
    } catch (const model::ModelError& e) {
        problem = e.what();
        return false;
    }
}

std::string NameModelPaths(const std::string& message, const std::vector<std::string>& linePaths) {
    return model::AnnotateLines(message, linePaths);
}

void ExplainModelLines(const std::string& text, const std::vector<std::string>& linePaths, std::ostream& err) {
    if (linePaths.empty() || text.empty()) return;
    std::vector<std::size_t> seen;
    for (std::size_t at = text.find("ine "); at != std::string::npos; at = text.find("ine ", at + 4)) {
        if (at == 0 || (text[at - 1] != 'l' && text[at - 1] != 'L')) continue;
        std::size_t b = at + 4, n = 0;
        while (b < text.size() && text[b] >= '0' && text[b] <= '9' && n < 100000000) n = n * 10 + static_cast<std::size_t>(text[b++] - '0');
        if (b == at + 4 || n < 1 || n > linePaths.size() || linePaths[n - 1].empty()) continue;
        bool dup = false;
        for (std::size_t s : seen) dup = dup || s == n;
        if (dup) continue;
        seen.push_back(n);
        err << "kestro: in the JSON model, line " << n << " is " << linePaths[n - 1] << '\n';
    }
}

bool SetModelValue(std::string& jsonText, const std::string& path, const std::string& value, std::string& problem) {
    model::Json m;
    try {
        m = model::ParseJson(jsonText);
    } catch (const model::ModelError& e) {
        problem = e.what();
        return false;
    }
    // "a.b[2].c" as a JSON pointer "/a/b/2/c".
    std::string pointer;
    std::string part;
    for (char c : path + ".") {
        if (c == '.' || c == '[' || c == ']') {
            if (!part.empty()) pointer += "/" + part;
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    try {
        const model::Json::json_pointer p(pointer);
        if (!m.contains(p)) {
            problem = "the model has no value at " + path;
            return false;
        }
        char* end = nullptr;
        const double v = std::strtod(value.c_str(), &end);
        if (end != value.c_str() && *end == '\0')
            m[p] = v;
        else
            m[p] = value;
    } catch (const nlohmann::json::exception&) {
        problem = "'" + path + "' is not a path in the model";
        return false;
    }
    jsonText = m.dump(2) + "\n";
    return true;
}

int ConvertMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && (args[1] == "-h" || args[1] == "--help")) {
        out << ConvertUsage;
        return ExitNormal;
    }
    if (args.size() != 3) {
        err << ConvertUsage;
        return ExitUsage;
    }
    const std::string& inPath = args[1];
    const std::string& outPath = args[2];
    std::string text;
    std::error_code ec;
    if (fs::is_directory(inPath, ec) || !ReadWhole(inPath, text)) {
        err << "kestro: cannot read input file '" << inPath << "'\n";
        return ExitNoInput;
    }
    const std::string ext = outPath == "-" ? "" : fs::path(outPath).extension().string();
    const bool fromJson = model::LooksLikeJson(text);
    // To JSON when OUT says so, or when IN is a KESTRO6 file and OUT says nothing.
    const bool toJson = ext == ".json" || (ext.empty() && !fromJson);
    std::string result;
    try {
        if (toJson) {
            if (fromJson) {
                // JSON to JSON: checked, and written in its canonical form.
                model::ToKestro6(model::ParseJson(text));
                result = model::FromKestro6(model::ToKestro6(model::ParseJson(text)).Text).dump(2) + "\n";
            } else {
                result = model::FromKestro6(text).dump(2) + "\n";
            }
        } else {
            result = fromJson ? model::ToKestro6(model::ParseJson(text)).Text
                              : model::ToKestro6(model::FromKestro6(text)).Text;
        }
    } catch (const model::ModelError& e) {
        err << "kestro: " << inPath << ": " << e.what() << '\n';
        return ExitError;
    }
    if (outPath == "-") {
        out << result;
        return ExitNormal;
    }
    std::ofstream f(outPath, std::ios::binary | std::ios::trunc);
    f << result;
    if (!f) {
        err << "kestro: cannot write '" << outPath << "'\n";
        return ExitCantCreate;
    }
    out << "kestro: wrote " << (toJson ? "JSON model " : "KESTRO6 input ") << outPath << '\n';
    return ExitNormal;
}

}  // namespace kestro::cli
