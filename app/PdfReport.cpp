#include "PdfReport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "HtmlReport.h"
#include "ResultsJson.h"
#include "RunReport.h"

extern char** environ;

namespace fs = std::filesystem;

namespace kestro::results {
namespace {

std::string Trim(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// Value of the report header line starting with `key` ("Name of input data file:").
std::string HeaderValue(const std::vector<std::string>& lines, const std::string& key) {
    for (const std::string& l : lines)
        if (l.rfind(key, 0) == 0) return Trim(l.substr(key.size()));
    return {};
}

// Runs a program (no shell) with its standard output to `outFile` (or
// nowhere) and its error stream nowhere; its exit status, -1 when it could not
// be started.
int RunProgram(const std::vector<std::string>& argv, const std::string& outFile) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.empty() ? "/dev/null" : outFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// SHA-256 of a file by coreutils' sha256sum; empty when it cannot be had.
std::string Sha256Of(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec)) return {};
    const fs::path out = fs::temp_directory_path(ec) / ("kestro-sha-" + std::to_string(::getpid()));
    if (RunProgram({"sha256sum", "--", path}, out.string()) != 0) {
        fs::remove(out, ec);
        return {};
    }
    std::string text = ReadFileText(out);
    fs::remove(out, ec);
    const std::string hash = text.substr(0, text.find(' '));
    if (hash.size() != 64 || hash.find_first_not_of("0123456789abcdef") != std::string::npos) return {};
    return hash;
}

bool Executable(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

}  // namespace

PrintInfo ReadPrintInfo(const RunResults& r, const std::string& reportText, const std::string& inputPath) {
    PrintInfo info;
    const std::vector<std::string> lines = SplitLines(reportText);
    for (std::size_t i = 0; i < r.Facts.Title.size(); ++i)
        info.Project += (i ? " " : "") + Trim(r.Facts.Title[i]);
    // "This program is licensed to:", a blank line, then the user and company names.
    for (std::size_t i = 0; i + 3 < lines.size(); ++i)
        if (lines[i].rfind("This program is licensed to:", 0) == 0) {
            info.Engineer = Trim(lines[i + 2]);
            info.Company = Trim(lines[i + 3]);
            break;
        }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (info.Engine.empty() && lines[i].find("Version") != std::string::npos && lines[i].find("Kestro") != std::string::npos)
            info.Engine = Trim(lines[i]);
        const std::size_t at = lines[i].find("Date:");
        if (info.Date.empty() && at != std::string::npos && lines[i].find("Time:") != std::string::npos)
            info.Date = Trim(lines[i].substr(at + 5));
    }
    info.InputName = inputPath;
    if (info.InputName.empty()) {
        const std::string dir = HeaderValue(lines, "Path to file locations:");
        const std::string name = HeaderValue(lines, "Name of input data file:");
        if (!name.empty()) info.InputName = (fs::path(dir) / name).string();
    }
    info.InputHash = Sha256Of(info.InputName);
    if (!info.InputHash.empty()) info.InputLines = SplitLines(ReadFileText(info.InputName));
    return info;
}

std::string PrintablePage(const std::string& page, const RunResults& r, const PrintInfo& info) {
    const bool letter = info.Paper == "letter";
    // Print rules: the paper, page numbers at the foot, nothing cut across pages.
    std::ostringstream css;
    css << "<style>\n@page{size:" << (letter ? "Letter" : "A4")
        << ";margin:14mm 12mm 16mm;@bottom-center{content:\"Page \" counter(page) \" of \" counter(pages);"
           "font-size:9px;color:#444}@bottom-left{content:\""
        << EscapeHtml(r.Name) << "\";font-size:9px;color:#444}}\n"
        << "@media print{figure.chart,table.title-block,tr,.charts>figure{break-inside:avoid}"
           "h2{break-after:avoid}table.input-echo{font-size:9px}.input-echo td{padding:0 4px}}\n"
           "table.title-block th{text-align:left}table.input-echo td.text{font-family:\"DejaVu Sans Mono\",monospace;"
           "white-space:pre}\n</style>\n";

    std::ostringstream block;
    block << "<table class=\"title-block\" id=\"title-block\">\n";
    auto row = [&](const char* name, const std::string& value) {
        block << "<tr><th>" << name << "</th><td>" << EscapeHtml(value.empty() ? "not given" : value) << "</td></tr>\n";
    };
    row("Project", info.Project);
    row("Engineer", info.Engineer);
    row("Company", info.Company);
    row("Date of analysis", info.Date);
    row("Engine", info.Engine);
    row("Input file", info.InputName);
    row("SHA-256 of the input file", info.InputHash.empty() ? "the input file could not be read" : info.InputHash);
    block << "</table>\n";

    std::ostringstream echo;
    echo << "<h2>Input</h2>\n";
    const RunFacts& f = r.Facts;
    const PlotUnits u = UnitsOf(r.Plot.UnitSystem);
    if (!f.SectionShapes.empty()) {
        echo << "<h3>Pile sections</h3>\n<table class=\"input-sections\"><thead><tr><th>Section</th><th>Shape</th>"
             << "<th>Length, " << u.Length << "</th><th>Top width, " << u.Length << "</th><th>Bottom width, "
             << u.Length << "</th></tr></thead><tbody>\n";
        for (const SectionGeometry& s : f.SectionShapes)
            echo << "<tr><td>" << s.Number << "</td><td>" << EscapeHtml(s.Shape) << "</td><td class=\"num\">"
                 << ExactNumber(s.Length) << "</td><td class=\"num\">" << ExactNumber(s.TopWidth)
                 << "</td><td class=\"num\">" << ExactNumber(s.BottomWidth) << "</td></tr>\n";
        echo << "</tbody></table>\n";
    }
    if (!f.Layers.empty()) {
        echo << "<h3>Soil layers</h3>\n<table class=\"input-layers\"><thead><tr><th>Layer</th><th>Soil</th><th>Top, "
             << u.Length << "</th><th>Bottom, " << u.Length << "</th></tr></thead><tbody>\n";
        for (const SoilLayerInfo& l : f.Layers)
            echo << "<tr><td>" << l.Number << "</td><td>" << EscapeHtml(l.Description) << "</td><td class=\"num\">"
                 << ExactNumber(l.Top) << "</td><td class=\"num\">" << ExactNumber(l.Bottom) << "</td></tr>\n";
        echo << "</tbody></table>\n";
    }
    if (!f.CaseSummaries.empty()) {
        echo << "<h3>Pile-head loading</h3>\n<table class=\"input-loads\"><thead><tr><th>Load case</th>"
             << "<th>Load type</th><th>Condition 1</th><th>Condition 2</th><th>Axial load, " << u.Force
             << "</th></tr></thead><tbody>\n";
        auto unit = [&](char k) -> std::string {
            switch (k) {
                case 'V': return std::string("V, ") + u.Force;
                case 'y': return std::string("y, ") + u.Length;
                case 'M': return std::string("M, ") + u.Moment;
                case 'S': return "S, rad";
                case 'R': return std::string("R, ") + u.K33;
                default: return "";
            }
        };
        for (const CaseSummaryRow& c : f.CaseSummaries)
            echo << "<tr><td>" << c.Case << "</td><td>" << c.LoadType << "</td><td>" << EscapeHtml(unit(c.Condition1Kind))
                 << " = " << ExactNumber(c.Condition1) << "</td><td>" << EscapeHtml(unit(c.Condition2Kind)) << " = "
                 << ExactNumber(c.Condition2) << "</td><td class=\"num\">" << ExactNumber(c.AxialLoad) << "</td></tr>\n";
        echo << "</tbody></table>\n";
    }
    if (!info.InputLines.empty()) {
        echo << "<h3>Input file</h3>\n<p>" << EscapeHtml(info.InputName) << ", as analysed (SHA-256 " << info.InputHash
             << "):</p>\n<table class=\"input-echo\"><thead><tr><th>Line</th><th>Text</th></tr></thead><tbody>\n";
        for (std::size_t i = 0; i < info.InputLines.size(); ++i)
            echo << "<tr><td class=\"num\">" << i + 1 << "</td><td class=\"text\">" << EscapeHtml(info.InputLines[i])
                 << "</td></tr>\n";
        echo << "</tbody></table>\n";
    }

    std::string out = page;
    const std::size_t head = out.find("</head>");
    if (head != std::string::npos) out.insert(head, css.str());
    const std::size_t header = out.find("</header>");
    if (header != std::string::npos) out.insert(header, block.str());
    const std::size_t footer = out.rfind("<footer>");
    out.insert(footer != std::string::npos ? footer : out.size(), echo.str());
    return out;
}

std::string FindChromium() {
    if (const char* own = std::getenv("KESTRO_CHROMIUM"); own != nullptr && *own != '\0')
        return Executable(own) ? std::string(own) : std::string();
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        for (const char* name : {"chromium", "chromium-browser"})
            if (!dir.empty() && Executable(fs::path(dir) / name)) return (fs::path(dir) / name).string();
    return {};
}

bool PrintToPdf(const std::string& browser, const std::string& pageText, const std::string& pdfPath,
                std::string& error) {
    std::error_code ec;
    const fs::path pdf = fs::absolute(pdfPath, ec);
    const fs::path work = pdf.parent_path() / (".kestro-print-" + std::to_string(::getpid()));
    fs::remove_all(work, ec);
    fs::create_directories(work, ec);
    struct Cleanup {
        fs::path Dir;
        ~Cleanup() {
            std::error_code e;
            fs::remove_all(Dir, e);
        }
    } cleanup{work};
    const fs::path html = work / "page.html", part = work / "page.pdf";
    if (!WriteFileAtomically(html, pageText)) {
        error = "cannot write the page to print in '" + work.string() + "'";
        return false;
    }
    // A browser that hangs is stopped after two minutes.
    const int rc = RunProgram({"timeout", "120", browser, "--headless", "--no-sandbox", "--disable-gpu",
                               "--no-first-run", "--disable-background-networking", "--disable-component-update",
                               "--disable-sync", "--user-data-dir=" + (work / "profile").string(),
                               "--no-pdf-header-footer", "--print-to-pdf=" + part.string(), "file://" + html.string()},
                              {});
    if (rc != 0 || !fs::is_regular_file(part, ec) || fs::file_size(part, ec) == 0) {
        error = "Chromium (" + browser + ") could not print the page to PDF (exit status " + std::to_string(rc) + ")";
        return false;
    }
    fs::rename(part, pdf, ec);
    if (ec) {
        error = "cannot write '" + pdf.string() + "'";
        return false;
    }
    return true;
}

}  // namespace kestro::results
