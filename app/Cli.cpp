#include "Cli.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "kestro/kgo.h"

namespace fs = std::filesystem;

namespace kestro::cli {
namespace {

constexpr const char* Usage =
    "Usage: kestro run INPUT [-o OUTDIR] [--user NAME] [--company NAME] [-q] [--no-html] [--no-json]\n"
    "       kestro view PLOTFILE [-o OUTDIR] [--no-html] [--no-json]\n"
    "       kestro --help | --version\n";

constexpr const char* Help =
    "kestro - lateral analysis of single piles and drilled shafts by the p-y method\n"
    "\n"
    "Usage: kestro run INPUT [-o OUTDIR] [--user NAME] [--company NAME] [-q] [--no-html] [--no-json]\n"
    "       kestro view PLOTFILE [-o OUTDIR] [--no-html] [--no-json]\n"
    "\n"
    "Runs the analysis described by the input file INPUT (keyword format, first\n"
    "value KESTRO6) and writes three files into OUTDIR:\n"
    "  <name>-report.txt    the output report\n"
    "  <name>-plot.txt      the plot records\n"
    "  <name>-messages.txt  progress, error texts and the completion line\n"
    "and from them two results files:\n"
    "  <name>-results.json  every result with its unit, the outcome and warnings\n"
    "  <name>-report.html   the outcome, a summary table and charts (opens offline)\n"
    "OUTDIR defaults to a folder <name>-output beside the input file. The folder\n"
    "also receives NAMES.DAT, the run file list given to the engine.\n"
    "\n"
    "Options:\n"
    "  -o, --output OUTDIR  folder for the output files (created if absent)\n"
    "  --user NAME          licensee name printed in the report header\n"
    "  --company NAME       company name printed in the report header\n"
    "  -q, --quiet          do not show the engine's progress lines while it runs\n"
    "  --no-html, --no-json do not write the HTML report or the JSON results file\n"
    "\n"
    "kestro view PLOTFILE rebuilds <name>-results.json and <name>-report.html from\n"
    "an existing <name>-plot.txt and the report and message files beside it.\n"
    "  -h, --help           show this help\n"
    "  --version            show the version\n"
    "\n"
    "Exit status: 0 ended normally; 1 ended with warnings; 2 ended by an error;\n"
    "64 usage error.\n";

std::string ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// The engine reads each NAMES.DAT line as at most 256 characters.
constexpr std::size_t MaxNameLength = 256;

// Runs the engine on a worker thread while this thread echoes the progress
// lines that it writes to the message file, so that a long run can be followed.
int RunEngine(const fs::path& messageFile, bool quiet, std::ostream& err) {
    std::error_code ec;
    fs::remove(messageFile, ec);  // no stale lines from an earlier run
    std::atomic<bool> done{false};
    int result = 0;
    std::thread worker([&] {
        result = KGO();
        done = true;
    });
    std::streamoff shown = 0;
    std::string pending;
    auto echo = [&] {
        if (quiet) return;
        std::ifstream f(messageFile, std::ios::binary);
        if (!f) return;
        f.seekg(shown);
        std::string chunk((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        shown += static_cast<std::streamoff>(chunk.size());
        pending += chunk;
        std::size_t nl;
        while ((nl = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            if (line.find_first_not_of(' ') != std::string::npos) err << "  " << line << '\n';
        }
    };
    while (!done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        echo();
    }
    worker.join();
    echo();
    return result;
}

}  // namespace

Outcome Classify(int result, const std::string& messages, const std::string& report) {
    Outcome o;
    o.Result = result;
    o.EndedByError = messages.find("The analysis ended due to an error.") != std::string::npos ||
                     (result > 0);
    o.Warnings = result < 0 || messages.find("The analysis ended with one or more warning messages.") !=
                                   std::string::npos;
    const std::string key = "Kestro ended prematurely due to input error number ";
    std::size_t at = report.find(key);
    if (at != std::string::npos) o.ErrorCode = report.substr(at + key.size(), 8);
    return o;
}

int ExitStatusFor(const Outcome& o) {
    if (o.EndedByError) return ExitError;
    if (o.Warnings) return ExitWarnings;
    return ExitNormal;
}

std::string OutcomeLine(const Outcome& o) {
    std::ostringstream s;
    if (o.EndedByError) {
        s << "The analysis ended by error";
        if (o.Result > 0) s << ' ' << o.Result;
        if (!o.ErrorCode.empty()) s << " (" << o.ErrorCode << ")";
        if (o.Warnings) s << ", with warnings";
    } else if (o.Warnings) {
        s << "The analysis ended with warnings";
    } else {
        s << "The analysis ended normally";
    }
    s << "; run result " << o.Result << '.';
    return s.str();
}

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << Usage;
        return ExitUsage;
    }
    if (args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
        out << Help;
        return ExitNormal;
    }
    if (args[0] == "--version") {
        out << "kestro 6.0.20\n";
        return ExitNormal;
    }
    if (args[0] == "view") return ViewCommand(args, out, err);
    if (args[0] != "run") {
        err << "kestro: unknown command '" << args[0] << "'\n" << Usage;
        return ExitUsage;
    }
    RunRequest req;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= args.size()) return false;
            target = args[++i];
            return true;
        };
        bool ok = true;
        if (a == "-o" || a == "--output")
            ok = value(req.OutDir);
        else if (a == "--user")
            ok = value(req.User);
        else if (a == "--company")
            ok = value(req.Company);
        else if (a == "-q" || a == "--quiet")
            req.Quiet = true;
        else if (ResultsOption(a, req.Results)) {
        }
        else if (!a.empty() && a[0] == '-') {
            err << "kestro: unknown option '" << a << "'\n" << Usage;
            return ExitUsage;
        } else if (req.Input.empty())
            req.Input = a;
        else {
            err << "kestro: more than one input file given\n" << Usage;
            return ExitUsage;
        }
        if (!ok) {
            err << "kestro: option '" << a << "' needs a value\n" << Usage;
            return ExitUsage;
        }
    }
    if (req.Input.empty()) {
        err << "kestro: no input file given\n" << Usage;
        return ExitUsage;
    }
    for (const std::string* s : {&req.User, &req.Company}) {
        if (s->find('\n') != std::string::npos || s->size() > MaxNameLength) {
            err << "kestro: --user and --company take one line of at most 256 characters\n";
            return ExitUsage;
        }
    }

    std::error_code ec;
    fs::path input = fs::absolute(req.Input, ec);
    if (!fs::is_regular_file(input, ec)) {
        err << "kestro: cannot read input file '" << req.Input << "'\n";
        return ExitError;
    }
    std::string stem = input.stem().string();
    fs::path outDir = req.OutDir.empty() ? input.parent_path() / (stem + "-output") : fs::absolute(req.OutDir, ec);
    fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir, ec)) {
        err << "kestro: cannot create output folder '" << outDir.string() << "'\n";
        return ExitError;
    }

    // NAMES.DAT lines hold at most 256 characters: the absolute path to the
    // input, or the relative one when the absolute path is too long.
    std::string inputName = input.lexically_normal().string();
    if (inputName.size() > MaxNameLength) {
        fs::path rel = fs::relative(input, outDir, ec);
        if (!ec && !rel.empty()) inputName = rel.string();
    }
    if (inputName.size() > MaxNameLength) {
        err << "kestro: the path to the input file is longer than 256 characters; move it closer to the output folder\n";
        return ExitUsage;
    }
    const std::string report = stem + "-report.txt";
    const std::string plot = stem + "-plot.txt";
    const std::string messages = stem + "-messages.txt";
    if (report.size() > MaxNameLength) {
        err << "kestro: the input file name is too long\n";
        return ExitUsage;
    }
    {
        std::ofstream names(outDir / "NAMES.DAT", std::ios::trunc);
        names << inputName << '\n'
              << report << '\n'
              << plot << '\n'
              << messages << '\n'
              << req.User << '\n'
              << req.Company << '\n';
        if (!names) {
            err << "kestro: cannot write NAMES.DAT in '" << outDir.string() << "'\n";
            return ExitError;
        }
    }

    fs::path cwd = fs::current_path(ec);
    if (::chdir(outDir.c_str()) != 0) {
        err << "kestro: cannot enter output folder '" << outDir.string() << "'\n";
        return ExitError;
    }
    int result = RunEngine(outDir / messages, req.Quiet, err);
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) {
        // The run is complete; the outcome below uses absolute paths.
    }

    Outcome o = Classify(result, ReadFile(outDir / messages), ReadFile(outDir / report));
    out << OutcomeLine(o) << '\n';
    out << "  report:   " << (outDir / report).string() << '\n';
    out << "  plot:     " << (outDir / plot).string() << '\n';
    out << "  messages: " << (outDir / messages).string() << '\n';
    WriteRunResults(outDir.string(), stem, result, req.Results, out, err);
    return ExitStatusFor(o);
}

}  // namespace kestro::cli
