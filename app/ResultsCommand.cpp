#include "ResultsCommand.h"

#include <filesystem>
#include <fstream>
#include <ostream>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "HtmlReport.h"
#include "PdfReport.h"
#include "ResultFiles.h"

namespace fs = std::filesystem;

namespace kestro::cli {
namespace {

constexpr const char* ViewUsage =
    "Usage: kestro view PLOTFILE [-o OUTDIR] [--no-html] [--no-json] [--units us|si|engine] [--csv]\n"
    "                   [--pdf [--paper a4|letter]]\n";

// Prints the page to NAME-report.pdf in `dir`; false after a message on `err`.
bool EmitPdf(const results::RunResults& r, const std::string& dir, const ResultsRequest& req,
             const std::string& reportPath, const std::string& inputPath, std::ostream& out, std::ostream& err) {
    const std::string browser = results::FindChromium();
    if (browser.empty()) {
        err << "kestro: " << NoChromium << '\n';
        return false;
    }
    results::PrintInfo info = results::ReadPrintInfo(r, results::ReadFileText(reportPath), inputPath);
    info.Paper = req.Paper;
    // A run stopped before its report header names no engine version.
    if (info.Engine.empty()) info.Engine = std::string("kestro ").append(CommandVersion);
    const std::string page = results::PrintablePage(results::HtmlReport(r, req.Units), r, info);
    const std::string pdf = (fs::path(dir) / (r.Name + "-report.pdf")).string();
    std::string error;
    if (!results::PrintToPdf(browser, page, pdf, error)) {
        err << "kestro: " << error << "; no PDF was written\n";
        return false;
    }
    out << "  pdf:      " << pdf << '\n';
    return true;
}

bool Emit(const results::RunResults& r, const std::string& dir, const ResultsRequest& req, std::ostream& out,
          std::ostream& err) {
    const results::WrittenFiles w = results::WriteResultFiles(r, dir, req.Json, req.Html, req.Units, req.Csv);
    for (const std::string& p : w.Paths)
        out << (p.size() > 5 && p.compare(p.size() - 5, 5, ".json") == 0   ? "  results:  "
                : p.size() > 4 && p.compare(p.size() - 4, 4, ".csv") == 0 ? "  csv:      "
                                                                           : "  html:     ")
            << p << '\n';
    if (!w.Error.empty()) {
        err << "kestro: " << w.Error << '\n';
        return false;
    }
    return true;
}

// The run result kept in an earlier results file of the same plot file: the
// report and message files do not carry the number of every stop.
std::optional<int> EarlierResult(const fs::path& json, const std::string& plotName) {
    std::ifstream f(json);
    if (!f) return std::nullopt;
    const nlohmann::json j = nlohmann::json::parse(f, nullptr, false);
    if (j.is_discarded() || !j.is_object() || j.value("schema", "") != "kestro-results") return std::nullopt;
    const auto files = j.find("files");
    const auto run = j.find("run");
    if (files == j.end() || run == j.end() || !files->is_object() || !run->is_object() ||
        files->value("plot", "") != plotName)
        return std::nullopt;
    const auto result = run->find("result");
    if (result == run->end() || !result->is_number_integer()) return std::nullopt;
    return result->get<int>();
}

}  // namespace

bool PaperOption(const std::string& value, ResultsRequest& req) {
    if (value != "a4" && value != "letter") return false;
    req.Paper = value;
    return true;
}

bool ResultsOption(const std::string& arg, ResultsRequest& req) {
    if (arg == "--no-html") {
        req.Html = false;
        return true;
    }
    if (arg == "--no-json") {
        req.Json = false;
        return true;
    }
    if (arg == "--csv") {
        req.Csv = true;
        return true;
    }
    if (arg == "--pdf") {
        req.Pdf = true;
        return true;
    }
    return false;
}

bool UnitsOption(const std::string& value, ResultsRequest& req) {
    return results::ParseDisplayUnits(value, req.Units);
}

bool WriteHeldRunResults(const std::string& dir, const std::string& name, std::optional<int> result,
                         const std::string& reportText, const std::string& messageText, const ResultsRequest& req,
                         std::ostream& out, std::ostream& err, const std::string& inputPath) {
    if (!req.Json && !req.Html && !req.Csv && !req.Pdf) return true;
    const fs::path d(dir);
    results::RunResults r = results::HeldRunResults((d / (name + "-plot.txt")).string(),
                                                    (d / (name + "-report.txt")).string(),
                                                    (d / (name + "-messages.txt")).string(), reportText, messageText,
                                                    result);
    r.Name = name;
    const bool written = Emit(r, dir, req, out, err);
    if (!req.Pdf) return written;
    return EmitPdf(r, dir, req, (d / (name + "-report.txt")).string(), inputPath, out, err) && written;
}

int ViewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string plot, outDir;
    ResultsRequest req;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size()) {
                err << "kestro: option '" << a << "' needs a value\n" << ViewUsage;
                return ExitUsage;
            }
            outDir = args[++i];
        } else if (a == "--units") {
            if (i + 1 >= args.size() || !UnitsOption(args[++i], req)) {
                err << UnitsProblem << ViewUsage;
                return ExitUsage;
            }
        } else if (a == "--paper") {
            if (i + 1 >= args.size() || !PaperOption(args[++i], req)) {
                err << PaperProblem << ViewUsage;
                return ExitUsage;
            }
        } else if (ResultsOption(a, req)) {
        } else if (!a.empty() && a[0] == '-') {
            err << "kestro: unknown option '" << a << "'\n" << ViewUsage;
            return ExitUsage;
        } else if (plot.empty()) {
            plot = a;
        } else {
            err << "kestro: more than one plot file given\n" << ViewUsage;
            return ExitUsage;
        }
    }
    if (plot.empty()) {
        err << "kestro: no plot file given\n" << ViewUsage;
        return ExitUsage;
    }
    if (req.Pdf && results::FindChromium().empty()) {
        err << "kestro: " << NoChromium << '\n';
        return ExitUnavailable;
    }
    std::error_code ec;
    if (!fs::is_regular_file(plot, ec)) {
        err << "kestro: cannot read plot file '" << plot << "'\n";
        return ExitError;
    }
    // A plot file starts with its record "Line 1" (or is empty, for a run
    // that ended before writing it); anything else was given by mistake and
    // writes nothing.
    {
        std::ifstream f(plot);
        std::string first;
        while (std::getline(f, first) && first.find_first_not_of(" \r") == std::string::npos) {
        }
        if (first.find_first_not_of(" \r") != std::string::npos && first.find("Line 1 :") == std::string::npos) {
            std::string what = "its first line is not the plot record \"Line 1\"";
            if (first.rfind("KESTRO", 0) == 0)
                what = "it is an input file";
            else if (first.find_first_not_of("=\r") == std::string::npos)
                what = "it is an output report";
            else if (first.rfind("Computing", 0) == 0 || first.rfind("The analysis ended", 0) == 0)
                what = "it is a runtime message file";
            err << "kestro: '" << plot << "' is not a plot file: " << what
                << ". Give the <name>-plot.txt file that a run wrote.\n"
                << ViewUsage;
            return ExitUsage;
        }
    }
    const results::RunFileSet files = results::FilesBesidePlot(plot);
    if (outDir.empty()) outDir = fs::absolute(plot, ec).parent_path().string();
    fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir, ec)) {
        err << "kestro: cannot create output folder '" << outDir << "'\n";
        return ExitError;
    }
    const fs::path plotPath(files.Plot);
    const std::optional<int> result =
        EarlierResult(plotPath.parent_path() / (files.Name + "-results.json"), plotPath.filename().string());
    results::RunResults r = results::LoadRunResults(files.Plot, files.Report, files.Messages, result);
    r.Name = files.Name;
    out << results::OutcomeSentence(r.Facts) << '\n';
    if (!r.Plot.Complete) out << "  plot file incomplete: " << r.Plot.Problem << '\n';
    bool written = Emit(r, outDir, req, out, err);
    if (req.Pdf) written = EmitPdf(r, outDir, req, files.Report, {}, out, err) && written;
    return written ? ExitNormal : ExitError;
}

}  // namespace kestro::cli
