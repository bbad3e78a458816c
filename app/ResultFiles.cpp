#include "ResultFiles.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "HtmlReport.h"
#include "ResultsJson.h"

namespace fs = std::filesystem;

namespace kestro::results {

std::string ReadFileText(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return {};
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

namespace {

bool WriteText(const fs::path& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
    f.close();
    return static_cast<bool>(f);
}

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

WrittenFiles WriteResultFiles(const RunResults& r, const std::string& dir, bool json, bool html) {
    WrittenFiles w;
    auto write = [&](const std::string& name, const std::string& text) {
        const fs::path path = fs::path(dir) / name;
        if (WriteText(path, text))
            w.Paths.push_back(path.string());
        else if (w.Error.empty())
            w.Error = "cannot write '" + path.string() + "'";
    };
    if (json) write(r.Name + "-results.json", ResultsJsonText(r));
    if (html) write(r.Name + "-report.html", HtmlReport(r));
    return w;
}

}  // namespace kestro::results
