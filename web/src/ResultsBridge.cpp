// The page's entry points beside KGO: after a run in the in-memory file
// system, writes NAME-results.json and NAME-report.html from the engine's
// three files, with the same code as `kestro run`, so the page shows and
// offers the same results files as the command; and `kestro convert` itself,
// so a JSON model opened in the page becomes the KESTRO6 text the command
// would write (and the text a JSON model), with the command's messages.

#include <fstream>
#include <sstream>
#include <string>

#include "../../app/Convert.h"

#include "../../app/HtmlReport.h"
#include "model/HeldResults.h"
#include "../../app/ResultFiles.h"
#include "../../app/ResultsJson.h"

namespace {
// Every run of the page is followed by its results files, built (as by
// `kestro run`) from the results the engine holds in memory: the slope, EI,
// Es and p_u of the stations are not in the plot file.
[[maybe_unused]] const bool HoldingEveryRun = (kestro::HoldResults(true), true);

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
    return static_cast<bool>(f);
}
}  // namespace

extern "C" int KestroResultFiles(const char* name, int result) {
    try {
        const std::string stem(name);
        kestro::results::RunResults r = kestro::results::HeldRunResults(
            stem + "-plot.txt", stem + "-report.txt", stem + "-messages.txt",
            kestro::results::ReadFileText(stem + "-report.txt"), kestro::results::ReadFileText(stem + "-messages.txt"),
            result);
        r.Name = stem;
        const bool json = WriteText(stem + "-results.json", kestro::results::ResultsJsonText(r));
        const bool html = WriteText(stem + "-report.html", kestro::results::HtmlReport(r));
        return json && html ? 0 : 1;
    } catch (...) {
        return 2;
    }
}

// `kestro convert IN OUT` on files of the in-memory file system: returns the
// command's exit status and writes what it would print on its error stream
// (the mistake with its JSON path) to `errPath`.
extern "C" int KestroConvert(const char* in, const char* out, const char* errPath) {
    try {
        std::ostringstream o, e;
        const int status = kestro::cli::ConvertMain({"convert", in, out}, o, e);
        WriteText(errPath, e.str());
        return status;
    } catch (...) {
        WriteText(errPath, "kestro: the conversion failed unexpectedly\n");
        return 70;
    }
}
