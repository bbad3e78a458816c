#include "ResultFiles.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "HtmlReport.h"
#include "model/HeldResults.h"
#include "ResultsJson.h"
#include "Tables.h"

namespace fs = std::filesystem;

namespace kestro::results {

std::string ReadFileText(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return {};
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool WriteFileAtomically(const fs::path& path, const std::string& text) {
    // The text goes to a partial file beside the final name, which is renamed
    // into place only when it is complete: a run that is killed, or a disk
    // that fills, never leaves a cut file where a good one stood.
    fs::path part = path;
    part += ".part";
    std::ofstream f(part, std::ios::binary | std::ios::trunc);
    f << text;
    f.close();
    std::error_code ec;
    if (f) fs::rename(part, path, ec);
    if (!f || ec) {
        if (fs::is_regular_file(part, ec)) fs::remove(part, ec);
        return false;
    }
    return true;
}

namespace {

bool WriteText(const fs::path& path, const std::string& text) { return WriteFileAtomically(path, text); }

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

RunResults LoadRunResults(const std::string& plotPath, const std::string& reportPath,
                          const std::string& messagePath, std::optional<int> result) {
    RunResults r;
    r.PlotFile = fs::path(plotPath).filename().string();
    r.ReportFile = fs::path(reportPath).filename().string();
    r.MessageFile = fs::path(messagePath).filename().string();
    r.Plot = ReadPlotFile(plotPath);
    r.Facts = ReadRunFacts(ReadFileText(reportPath), ReadFileText(messagePath), result);
    return r;
}

RunResults HeldRunResults(const std::string& plotPath, const std::string& reportPath, const std::string& messagePath,
                          const std::string& reportText, const std::string& messageText, std::optional<int> result) {
    RunResults r;
    r.PlotFile = fs::path(plotPath).filename().string();
    r.ReportFile = fs::path(reportPath).filename().string();
    r.MessageFile = fs::path(messagePath).filename().string();
    const HeldResults& held = LastHeldResults();
    r.Plot = held.Held ? ReadHeldPlot(held) : ReadPlotFile(plotPath);
    r.Facts = ReadRunFacts(reportText, messageText, result);
    return r;
}

RunFileSet FilesBesidePlot(const std::string& plotPath) {
    const fs::path plot(plotPath);
    std::string stem = plot.stem().string();
    RunFileSet s;
    s.Plot = plotPath;
    if (EndsWith(stem, "-plot")) {
        s.Name = stem.substr(0, stem.size() - 5);
        s.Report = (plot.parent_path() / (s.Name + "-report.txt")).string();
        s.Messages = (plot.parent_path() / (s.Name + "-messages.txt")).string();
    } else {
        s.Name = stem;
        s.Report = (plot.parent_path() / (stem + "-report.txt")).string();
        s.Messages = (plot.parent_path() / (stem + "-messages.txt")).string();
    }
    return s;
}

WrittenFiles WriteResultFiles(const RunResults& r, const std::string& dir, bool json, bool html,
                              DisplayUnits units, bool csv) {
    WrittenFiles w;
    auto write = [&](const std::string& name, const std::string& text) {
        const fs::path path = fs::path(dir) / name;
        if (WriteText(path, text))
            w.Paths.push_back(path.string());
        else if (w.Error.empty())
            w.Error = "cannot write '" + path.string() + "'";
    };
    // The page is built on a second thread while the JSON text is built and
    // written: both only read the results, and on a machine with two cores
    // the run's files are complete in the time of the longer of the two.
    std::string page;
    std::exception_ptr pageFailure;
    std::thread pageWriter;
    if (html) {
        pageWriter = std::thread([&]() {
            try {
                page = HtmlReport(r, units);
            } catch (...) {
                pageFailure = std::current_exception();
            }
        });
    }
    try {
        if (json) write(r.Name + "-results.json", ResultsJsonText(r));
    } catch (...) {
        if (pageWriter.joinable()) pageWriter.join();
        throw;
    }
    if (html) {
        pageWriter.join();
        if (pageFailure) std::rethrow_exception(pageFailure);
        write(r.Name + "-report.html", page);
    }
    if (csv)
        for (const CsvTable& t : CsvTables(r)) write(r.Name + "-" + t.Suffix + ".csv", t.Text);
    return w;
}

}  // namespace kestro::results
