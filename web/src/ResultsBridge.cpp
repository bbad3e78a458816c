// The page's second entry point beside KGO: after a run in the in-memory file
// system, writes NAME-results.json and NAME-report.html from the engine's
// three files, with the same code as `kestro run`, so the page shows and
// offers the same results files as the command.

#include <fstream>
#include <string>

#include "../../app/EngineValues.h"
#include "../../app/HtmlReport.h"
#include "../../app/ResultFiles.h"
#include "../../app/ResultsJson.h"

namespace {
bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
    return static_cast<bool>(f);
}
}  // namespace

extern "C" int KestroResultFiles(const char* name, int result) {
    try {
        const std::string stem(name);
        kestro::results::RunResults r = kestro::results::LoadRunResults(
            stem + "-plot.txt", stem + "-report.txt", stem + "-messages.txt", result);
        r.Name = stem;
        r.StationValues = kestro::results::EngineStationValues(r.Plot);  // the run just made in this module
        const bool json = WriteText(stem + "-results.json", kestro::results::ResultsJsonText(r));
        const bool html = WriteText(stem + "-report.html", kestro::results::HtmlReport(r));
        return json && html ? 0 : 1;
    } catch (...) {
        return 2;
    }
}
