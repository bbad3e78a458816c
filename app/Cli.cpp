#include "Cli.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <thread>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <thread>

#include "Batch.h"
#include "WebServer.h"
#include "Convert.h"
#include "PdfReport.h"
#include "Pushover.h"
#include "ResultFiles.h"
#include "GroupOutput.h"
#include "model/HeldResults.h"
#include "group/GroupInput.h"
#include "kestro/kgo.h"
#include "model/RunState.h"

namespace fs = std::filesystem;

namespace kestro::cli {
namespace {

constexpr const char* Usage =
    "Usage: kestro run INPUT [-o OUTDIR] [--user NAME] [--company NAME] [-q] [--no-html] [--no-json]\n"
    "                  [--units us|si|engine] [--csv] [--pdf [--paper a4|letter]]\n"
    "       kestro check INPUT [-o OUTDIR] [-q]\n"
    "       kestro view PLOTFILE [-o OUTDIR] [--no-html] [--no-json] [--units us|si|engine] [--csv] [--pdf]\n"
    "       kestro batch INPUT... [-o OUTDIR] [-j JOBS] [--shard I/N] [--summary NAME] [-q]\n"
    "       kestro sweep TEMPLATE --line N [--field K] --values V1,V2,... [--expect TEXT] [-o OUTDIR] [-j JOBS] [-q]\n"
    "       kestro sweep MODEL.json --path JSONPATH --values V1,V2,... [-o OUTDIR] [-j JOBS] [-q]\n"
    "       kestro convert IN OUT\n"
    "       kestro web [--port N]\n"
    "       kestro group FILE [--json OUT] [--html OUT]\n"
    "       kestro pushover INPUT [--case N] [--steps N] [--to-deflection D] [-o OUTDIR]\n"
    "       kestro springs INPUT [--case N] [-o OUTDIR]\n"
    "       kestro --help | --version\n";

constexpr const char* Help =
    "kestro - lateral analysis of single piles and drilled shafts by the p-y method\n"
    "\n"
    "Usage: kestro run INPUT [-o OUTDIR] [--user NAME] [--company NAME] [-q] [--no-html] [--no-json]\n"
    "                  [--units us|si|engine] [--csv] [--pdf [--paper a4|letter]]\n"
    "       kestro check INPUT [-o OUTDIR] [-q]\n"
    "       kestro view PLOTFILE [-o OUTDIR] [--no-html] [--no-json] [--units us|si|engine] [--csv] [--pdf]\n"
    "       kestro batch INPUT... [-o OUTDIR] [-j JOBS] [--shard I/N] [--summary NAME] [-q]\n"
    "       kestro sweep TEMPLATE --line N [--field K] --values V1,V2,... [--expect TEXT] [-o OUTDIR] [-j JOBS] [-q]\n"
    "       kestro sweep MODEL.json --path JSONPATH --values V1,V2,... [-o OUTDIR] [-j JOBS] [-q]\n"
    "       kestro convert IN OUT\n"
    "       kestro web [--port N]\n"
    "       kestro group FILE [--json OUT] [--html OUT]\n"
    "       kestro pushover INPUT [--case N] [--steps N] [--to-deflection D] [-o OUTDIR]\n"
    "       kestro springs INPUT [--case N] [-o OUTDIR]\n"
    "\n"
    "run: runs the analysis described by the input file INPUT (keyword format, first\n"
    "value KESTRO6) or the JSON model INPUT (docs/model-json.md) and writes three\n"
    "files into OUTDIR:\n"
    "  <name>-report.txt    the output report\n"
    "  <name>-plot.txt      the plot records\n"
    "  <name>-messages.txt  progress, error texts and the completion line\n"
    "and from them two results files:\n"
    "  <name>-results.json  every result with its unit, the outcome and warnings\n"
    "  <name>-report.html   the outcome, a summary table and charts (opens offline)\n"
    "OUTDIR defaults to a folder <name>-output beside the input file. The folder\n"
    "also receives NAMES.DAT, the run file list given to the engine. On an error\n"
    "the error's own text is printed after the outcome line.\n"
    "\n"
    "check: reads and checks the input and writes its echo, without analysing\n"
    "the pile; prints every problem found with its line. Its files go to a\n"
    "temporary folder that is removed afterwards, or to OUTDIR when given.\n"
    "\n"
    "The input file is described line by line in docs/input.md.\n"
    "\n"
    "Options:\n"
    "  -o, --output OUTDIR  folder for the output files (created if absent)\n"
    "  --user NAME          licensee name printed in the report header\n"
    "  --company NAME       company name printed in the report header\n"
    "  -q, --quiet          print only the outcome line, for an error its reason\n"
    "                       on one line, and the file paths: no progress lines\n"
    "  --no-html, --no-json do not write the HTML report or the JSON results file\n"
    "  --units us|si|engine units of the HTML report: US customary (ft, in, kip,\n"
    "                       kip-ft), SI (m, mm, kN, kN-m) or the engine's own;\n"
    "                       default those of the input. The JSON file keeps the\n"
    "                       engine's units.\n"
    "  --csv                also write tidy CSV tables: <name>-stations.csv (one\n"
    "                       row per station per load case, with slope, EI, Es,\n"
    "                       p_u and p/p_u), -summary, -envelope, -py-curves,\n"
    "                       -section-curves and -lrfd-checks (when the run has them)\n"
    "  --pdf                print the HTML page to <name>-report.pdf with headless\n"
    "                       Chromium: title block, results, charts, input echo\n"
    "  --paper a4|letter    paper size of the PDF (default a4)\n"
    "  -h, --help           show this help\n"
    "  --version            show the version\n"
    "\n"
    "kestro convert IN OUT converts a KESTRO6 input to a JSON model (OUT ending\n"
    "in .json) or a JSON model to a KESTRO6 input. run, check, batch and sweep\n"
    "take a JSON model wherever they take an input file: it is converted to\n"
    "OUTDIR/<name>.kin and that file is run.\n"
    "\n"
    "kestro group FILE balances a rigid cap on a group of piles (a group file,\n"
    "docs/groups.md), each pile answered by linear pile-head terms or by its own\n"
    "p-y analysis, and prints the cap movement, every pile's head forces and\n"
    "maximum moment, and the group stiffness; --json and --html also write the\n"
    "results as a JSON file and as a page with a drawing of the group. A pile\n"
    "type may name its own lateral model (TYPE n FIXED PY LATERAL path).\n"
    "\n"
    "kestro pushover INPUT scales the head loads of load case N (default 1) from\n"
    "zero in steps of 1/N of the case (--steps, default 10) until the first plastic\n"
    "hinge, the head deflection D (--to-deflection, in or mm), the deflection limit\n"
    "or a step that no longer converges, and writes the capacity curve to\n"
    "OUTDIR/<name>-pushover.txt, .json, .csv and .html (OUTDIR defaults to\n"
    "<name>-pushover beside the input). Reaching the end is its normal outcome.\n"
    "\n"
    "kestro springs INPUT writes the secant and tangent soil springs of every\n"
    "station of load case N and the head secant stiffness, as CSV and as an\n"
    "OpenSees Tcl fragment, into OUTDIR (default <name>-springs).\n"
    "\n"
    "kestro view PLOTFILE rebuilds <name>-results.json and <name>-report.html from\n"
    "an existing <name>-plot.txt and the report and message files beside it.\n"
    "\n"
    "kestro batch INPUT... runs many analyses on a pool of worker processes\n"
    "(one per core, or JOBS). INPUT is an input file, a group file (.kgr, run as\n"
    "kestro group runs it), a folder (its *.kin and *.kgr files) or @LIST (a file\n"
    "naming one input a line). Each run writes its files into\n"
    "OUTDIR/<name>/ (OUTDIR defaults to kestro-batch); the summary of every run\n"
    "and load case goes to OUTDIR/summary.csv and summary.json. --shard I/N runs\n"
    "only the I-th of N equal parts of the list (for a cluster job array); the\n"
    "shards' summaries, one after the other, equal the whole list's. Ctrl-C\n"
    "stops the workers and still writes the summary of the finished runs.\n"
    "\n"
    "kestro sweep TEMPLATE --line N [--field K] --values V1,V2,... writes one\n"
    "input per value, with value K (default 1) of line N of TEMPLATE replaced,\n"
    "into OUTDIR/inputs/ (OUTDIR defaults to <name>-sweep) and runs them as a\n"
    "batch; the summary has a column with the value of each run. Value K must be\n"
    "a number, and with --expect TEXT line N must contain TEXT; the line is shown\n"
    "before and after the first replacement. For a JSON model template, --path\n"
    "names the value instead (soil_layers[0].top_values.cohesion).\n"
    "\n"
    "Exit status: 0 ended normally (check: no problem found); 1 ended with\n"
    "warnings; 2 ended by an error (input, runtime or computation); for batch\n"
    "and sweep the worst of the runs; 64 usage error; 66 the input file is\n"
    "missing, unreadable or a folder; 73 the output folder or NAMES.DAT cannot\n"
    "be created, or a results file asked for cannot be written (after the\n"
    "analysis' own outcome line); 130 a batch stopped by Ctrl-C.\n";

// The engine reads each NAMES.DAT line as at most 256 characters.
constexpr std::size_t MaxNameLength = 256;

// What a file was before a run, to tell a file the run wrote from one an
// earlier run left: the engine writes each output to a partial file renamed
// into place (a new file), and empties its message log at its first use.
struct FileStamp {
    bool Exists = false;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
};

FileStamp Stamp(const fs::path& path) {
    FileStamp s;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return s;
    s.Exists = true;
    s.Inode = st.st_ino;
    s.Size = st.st_size;
    s.Modified = st.st_mtim;
    return s;
}

bool WrittenSince(const fs::path& path, const FileStamp& before) {
    const FileStamp now = Stamp(path);
    if (!now.Exists) return false;
    return !before.Exists || now.Inode != before.Inode || now.Size != before.Size ||
           now.Modified.tv_sec != before.Modified.tv_sec || now.Modified.tv_nsec != before.Modified.tv_nsec;
}

// The engine's message log in the run folder: it holds the reason of a run
// refused before its output files were opened.
constexpr const char* EngineLogName = "KESTRO.MSG";
// The ending of the file an output is written to until it is complete.
constexpr const char* PartialSuffix = ".part";

// Runs the engine. Quiet runs call it on this thread. Otherwise the engine
// runs on a worker thread while this thread echoes the progress lines it
// writes to the message file (its partial file while the run goes on), so
// that a long run can be followed: the thread
// sleeps in poll() until the kernel reports a change to the output folder
// (inotify) or the worker reports the end of the run (eventfd), so the
// command waits no longer than the engine takes.
int RunEngine(const fs::path& messageFile, bool quiet, std::ostream& err, std::string& echoed) {
    std::error_code ec;
    const fs::path partial = messageFile.string() + PartialSuffix;
    fs::remove(partial, ec);  // no stale lines of a run that was stopped
    if (quiet) return KGO();

    const FileStamp before = Stamp(messageFile);
    bool finished = false;
    std::streamoff shown = 0;
    std::string pending;
    auto echo = [&] {
        // While the run goes on its lines are in the partial file; once it
        // has ended, in the final file, if the run wrote one.
        fs::path source = partial;
        if (finished && !fs::exists(partial, ec)) {
            if (!WrittenSince(messageFile, before)) return;
            source = messageFile;
        }
        std::ifstream f(source, std::ios::binary);
        if (!f) return;
        f.seekg(shown);
        std::string chunk((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        shown += static_cast<std::streamoff>(chunk.size());
        pending += chunk;
        std::size_t nl;
        while ((nl = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            if (line.find_first_not_of(' ') != std::string::npos) {
                err << "  " << line << '\n';
                echoed += line + '\n';
            }
        }
    };

    const int done = ::eventfd(0, EFD_CLOEXEC);
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (watch >= 0)
        ::inotify_add_watch(watch, messageFile.parent_path().c_str(), IN_MODIFY | IN_CREATE | IN_CLOSE_WRITE);
    int result = 0;
    std::thread worker([&] {
        result = KGO();
        if (done >= 0) {
            const std::uint64_t one = 1;
            [[maybe_unused]] ssize_t n = ::write(done, &one, sizeof one);
        }
    });
    if (done >= 0) {
        pollfd fds[2] = {{done, POLLIN, 0}, {watch, POLLIN, 0}};
        const nfds_t count = watch >= 0 ? 2 : 1;
        for (;;) {
            // Without a folder watch, fall back to looking every 100 ms.
            int ready = ::poll(fds, count, watch >= 0 ? -1 : 100);
            if (ready < 0 && errno != EINTR) break;
            if (fds[0].revents & POLLIN) break;
            if (count == 2 && (fds[1].revents & POLLIN)) {
                char events[4096];
                while (::read(watch, events, sizeof events) > 0) {
                }
            }
            echo();
        }
    }
    worker.join();
    finished = true;
    echo();
    if (watch >= 0) ::close(watch);
    if (done >= 0) ::close(done);
    return result;
}

// The lines of a text without their trailing blanks.
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines = results::SplitLines(text);
    for (std::string& line : lines)
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return lines;
}

bool Blank(const std::string& line) { return line.find_first_not_of(' ') == std::string::npos; }

// The heading of an error block: "**** Input Data Error No. 81 ****",
// "***** INPUT ERROR *****", "INPUT ERROR - ...", "SECTION DATA OUT-OF-ORDER".
bool ErrorHeading(const std::string& line) {
    return (line.rfind("****", 0) == 0 && (line.find("Error") != std::string::npos ||
                                           line.find("ERROR") != std::string::npos)) ||
           line.rfind("INPUT ERROR", 0) == 0 || line.rfind("SECTION DATA", 0) == 0;
}

// Non-blank lines of `lines` from the last error heading before `end`, at
// most `maxBack` lines back; without a heading, the last few lines.
std::string BlockBefore(const std::vector<std::string>& lines, std::size_t end, std::size_t maxBack) {
    std::size_t from = end;
    std::size_t seen = 0;
    bool found = false;
    while (from > 0 && seen < maxBack) {
        --from;
        ++seen;
        if (ErrorHeading(lines[from])) {
            found = true;
            break;
        }
    }
    if (!found) {
        // No heading: the last non-blank lines before the end.
        from = end;
        int kept = 0;
        while (from > 0 && kept < 4) {
            --from;
            if (!Blank(lines[from])) ++kept;
        }
    }
    std::string text;
    for (std::size_t i = from; i < end; ++i)
        if (!Blank(lines[i])) text += lines[i] + '\n';
    return text;
}

int MakeTempDir(fs::path& dir) {
    std::string tmpl = (fs::temp_directory_path() / "kestro-check-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) return ExitCantCreate;
    dir = tmpl;
    return ExitNormal;
}

}  // namespace

std::string ErrorText(const std::string& report, const std::string& messages) {
    constexpr std::size_t MaxBlockLines = 24;
    const std::string key = "Kestro ended prematurely due to input error number ";
    std::vector<std::string> lines = Lines(report);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(key, 0) == 0) {
            std::string block = BlockBefore(lines, i, MaxBlockLines);
            if (!block.empty()) return block;
            break;
        }
    lines = Lines(messages);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind("The analysis ended due to an error.", 0) == 0) return BlockBefore(lines, i, MaxBlockLines);
    return {};
}

std::string ErrorReason(const std::string& report, const std::string& messages) {
    const std::vector<std::string> lines = Lines(ErrorText(report, messages));
    if (lines.empty()) return {};
    // Words separated by single blanks.
    auto tidy = [](const std::string& line) {
        std::istringstream words(line);
        std::string word, out;
        while (words >> word) out += (out.empty() ? "" : " ") + word;
        return out;
    };
    std::string heading;
    std::size_t body = 0;
    if (ErrorHeading(lines[0])) {
        std::string h = lines[0];  // "**** Input Data Error No. 32 ****": the words between the frames
        for (char& ch : h)
            if (ch == '*') ch = ' ';
        heading = tidy(h);
        body = 1;
    }
    for (std::size_t i = body; i < lines.size(); ++i) {
        const std::string line = tidy(lines[i]);
        if (line.rfind("Problem:", 0) == 0) return (heading.empty() ? "" : heading + ": ") + tidy(line.substr(8));
    }
    if (heading.empty()) return tidy(lines[0]);
    // A block without a "Problem:" statement: its lines up to any "Solution",
    // as sentences ("... for LRFD loading. Input load number is 3 ...").
    std::string reason;
    for (std::size_t i = body; i < lines.size(); ++i) {
        const std::string line = tidy(lines[i]);
        if (line.rfind("Solution", 0) == 0) break;
        if (!reason.empty()) {
            const bool sentence = std::string(".:;,").find(reason.back()) == std::string::npos &&
                                  std::isupper(static_cast<unsigned char>(line[0])) != 0;
            reason += sentence ? ". " : " ";
        }
        reason += line;
    }
    return reason.empty() ? heading : heading + ": " + reason;
}

std::vector<std::string> EchoWarnings(const std::string& report) {
    const std::vector<std::string> lines = Lines(report);
    std::vector<std::string> blocks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("Summary of Warning Messages") != std::string::npos) break;
        if (lines[i].rfind("****", 0) != 0 || lines[i].find("Warning") == std::string::npos) continue;
        // The heading, then its body up to the first blank line after it.
        std::string text = lines[i] + '\n';
        std::size_t j = i + 1;
        while (j < lines.size() && Blank(lines[j])) ++j;
        for (; j < lines.size() && !Blank(lines[j]); ++j) text += lines[j] + '\n';
        blocks.push_back(text);
        i = j;
    }
    return blocks;
}

Outcome Classify(int result, const std::string& messages, const std::string& report) {
    Outcome o;
    o.Result = result;
    o.EndedByError = messages.find("The analysis ended due to an error.") != std::string::npos ||
                     (result > 0);
    o.Warnings = result < 0 || messages.find("The analysis ended with one or more warning messages.") !=
                                   std::string::npos;
    // The engine's termination line: "input error" for input data errors
    // (codes INP...), "runtime error" for every other error (codes RUN...).
    for (const char* kind : {"input error", "runtime error"}) {
        const std::string key = std::string("Kestro ended prematurely due to ") + kind + " number ";
        std::size_t at = report.find(key);
        if (at != std::string::npos) {
            o.ErrorCode = report.substr(at + key.size(), 8);
            break;
        }
    }
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

namespace {

// Prints the problems of a finished run to the error stream: the error text
// (unless the progress echo already showed it) and, for a check, the warning
// blocks of the input echo and of the readers.
void ReportProblems(const RunRequest& req, const Outcome& o, const std::string& report, const std::string& messages,
                    const std::string& echoed, std::ostream& err) {
    if (req.Quiet) return;
    if (req.CheckOnly) {
        // Blocks the message file held were shown already.
        for (const std::string& block : EchoWarnings(report))
            if (echoed.find(block.substr(block.find('\n') + 1)) == std::string::npos) err << block;
    }
    if (!o.EndedByError) return;
    const std::string text = ErrorText(report, messages);
    if (text.empty()) return;
    const std::string first = text.substr(0, text.find('\n'));
    if (!echoed.empty() && echoed.find(first) != std::string::npos) return;
    err << "kestro: the analysis ended by this error:\n";
    for (const std::string& line : Lines(text))
        if (!line.empty()) err << "  " << line << '\n';
}

std::string CheckLine(const Outcome& o) {
    if (o.EndedByError) {
        std::string s = "The input has an error";
        if (!o.ErrorCode.empty()) s += " (" + o.ErrorCode + ")";
        return s + "; run result " + std::to_string(o.Result) + '.';
    }
    if (o.Warnings) return "The input was read with warnings; run result " + std::to_string(o.Result) + '.';
    return "The input was read and checked: no problem found.";
}

// Reads the text of every lateral model a group file names (its LATERAL
// line and the LATERAL paths of its TYPE lines), each taken relative to the
// group file's folder. Returns ExitNormal, or ExitNoInput with the message
// naming the line.
int ReadGroupLateralModels(group::GroupModel& model, const std::string& groupFile, std::ostream& err) {
    auto readOne = [&](const std::string& path, int line, std::string& text) {
        fs::path lateral(path);
        if (lateral.is_relative()) lateral = fs::path(groupFile).parent_path() / lateral;
        std::error_code ec;
        std::ifstream lin(lateral, std::ios::binary);
        std::ostringstream ltext;
        if (fs::is_regular_file(lateral, ec) && lin) ltext << lin.rdbuf();
        if (!fs::is_regular_file(lateral, ec) || !lin) {
            err << "kestro group: " << groupFile << ": line " << line << ": cannot read the lateral model '"
                << lateral.string() << "'\n";
            return false;
        }
        text = ltext.str();
        return true;
    };
    if (!model.LateralPath.empty() && !readOne(model.LateralPath, model.LateralLine, model.LateralText))
        return ExitNoInput;
    for (group::LateralSource& src : model.TypeModels)
        if (!readOne(src.Path, src.Line, src.Text)) return ExitNoInput;
    return ExitNormal;
}

// kestro group FILE: the pile group of a group file (docs/groups.md), its
// report to standard output.
int GroupCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // kestro group FILE [--json OUT] [--html OUT]
    std::string jsonPath, htmlPath;
    bool usage = args.size() < 2 || args[1].rfind("--", 0) == 0;
    for (std::size_t k = 2; !usage && k < args.size(); k += 2) {
        if (k + 1 >= args.size()) usage = true;
        else if (args[k] == "--json" && jsonPath.empty()) jsonPath = args[k + 1];
        else if (args[k] == "--html" && htmlPath.empty()) htmlPath = args[k + 1];
        else usage = true;
    }
    if (usage) {
        err << "kestro group: give one group file, and optionally --json OUT and --html OUT\n" << Usage;
        return ExitUsage;
    }
    std::error_code ec;
    if (!fs::is_regular_file(args[1], ec)) {
        err << "kestro group: cannot read '" << args[1] << "'\n";
        return ExitNoInput;
    }
    std::ifstream in(args[1], std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        err << "kestro group: cannot read '" << args[1] << "'\n";
        return ExitNoInput;
    }
    group::GroupModel model;
    std::string error;
    if (group::ReadGroup(text.str(), model, error) != 0) {
        err << "kestro group: " << args[1] << ": " << error << '\n';
        return ExitError;
    }
    for (const std::string& w : model.Warnings) err << "kestro group: warning: " << args[1] << ": " << w << '\n';
    if (const int status = ReadGroupLateralModels(model, args[1], err); status != ExitNormal) return status;
    group::GroupResults results;
    const int failed = group::RunGroup(model, out, error, results);
    // The results files are written whether or not every case balanced:
    // a failed case is there with its error, never with numbers.
    bool written = true;
    auto write = [&](const std::string& path, const std::string& content) {
        if (path.empty()) return;
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f << content;
        f.close();
        if (!f) {
            err << "kestro group: cannot write '" << path << "'\n";
            written = false;
        }
    };
    write(jsonPath, GroupResultsJson(model, results, failed, failed != 0 ? error : std::string()));
    write(htmlPath, GroupResultsHtml(model, results, failed, failed != 0 ? error : std::string()));
    if (failed != 0) {
        err << "kestro group: " << error << '\n';
        return ExitError;
    }
    if (!written) return ExitError;
    if (results.b_BelowTable)
        err << "kestro group: warning: " << args[1]
            << ": the rows stand closer than 3 pile widths; the multipliers of 3 widths were used\n";
    return model.Warnings.empty() && !results.b_BelowTable ? ExitNormal : ExitWarnings;
}

// What preparing a run settles: the input the engine reads (a JSON model's
// converted file), the output folder and the file names in NAMES.DAT. A
// temporary folder (a check without -o) is removed when the plan goes.
struct RunPlan {
    fs::path Input;
    fs::path OutDir;
    std::string Stem, Report, Plot, Messages;
    std::vector<std::string> ModelLines;  // JSON paths of a converted model's lines
    bool Temporary = false;
    fs::path TemporaryDir;
    RunPlan() = default;
    RunPlan(const RunPlan&) = delete;
    RunPlan& operator=(const RunPlan&) = delete;
    ~RunPlan() {
        std::error_code e;
        if (!TemporaryDir.empty()) fs::remove_all(TemporaryDir, e);
    }
};

// What one run of the engine left: its result, the report and message texts
// it wrote (empty when it wrote none), the check's echoed problems, and the
// stamps of the two files before the run.
struct RunFiles {
    int Result = 0;
    FileStamp ReportBefore, MessagesBefore;
    std::string ReportText, MessageText, Echoed;
};

// kestro run / check, parse: the request from the arguments. Returns the
// exit status of a refused request, or nothing to go on.
std::optional<int> ParseRun(const std::vector<std::string>& args, RunRequest& req, std::ostream& err) {
    req.CheckOnly = args[0] == "check";
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
        else if (a == "--units") {
            if (i + 1 >= args.size() || !UnitsOption(args[++i], req.Results)) {
                err << UnitsProblem << Usage;
                return ExitUsage;
            }
        } else if (a == "--paper") {
            if (i + 1 >= args.size() || !PaperOption(args[++i], req.Results)) {
                err << PaperProblem << Usage;
                return ExitUsage;
            }
        } else if (ResultsOption(a, req.Results)) {
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
    // Asked for a PDF without the browser that prints it: said before the run.
    if (req.Results.Pdf && !req.CheckOnly && results::FindChromium().empty()) {
        err << "kestro: " << NoChromium << '\n';
        return ExitUnavailable;
    }
    for (const std::string* s : {&req.User, &req.Company}) {
        if (s->find('\n') != std::string::npos || s->size() > MaxNameLength) {
            err << "kestro: --user and --company take one line of at most 256 characters\n";
            return ExitUsage;
        }
    }
    return std::nullopt;
}

// Prepare: the input checked, the output folder made (a temporary one for a
// check without -o), a JSON model converted to its KESTRO6 file and NAMES.DAT
// written. Returns the exit status of a refusal, or nothing to go on.
std::optional<int> PrepareRun(const RunRequest& req, RunPlan& plan, std::ostream& err) {
    std::error_code ec;
    fs::path input = fs::absolute(req.Input, ec);
    if (fs::is_directory(input, ec)) {
        err << "kestro: the input '" << req.Input << "' is a folder, not an input file\n";
        return ExitNoInput;
    }
    if (!fs::is_regular_file(input, ec) || !std::ifstream(input)) {
        err << "kestro: cannot read input file '" << req.Input << "'\n";
        return ExitNoInput;
    }
    std::string stem = input.stem().string();
    // A check writes its files into a temporary folder unless told where.
    const bool temporary = req.CheckOnly && req.OutDir.empty();
    fs::path& outDir = plan.OutDir;
    if (temporary) {
        if (MakeTempDir(outDir) != ExitNormal) {
            err << "kestro: cannot create a temporary folder for the check\n";
            return ExitCantCreate;
        }
    } else {
        outDir = req.OutDir.empty() ? input.parent_path() / (stem + "-output") : fs::absolute(req.OutDir, ec);
        fs::create_directories(outDir, ec);
    }
    if (!fs::is_directory(outDir, ec)) {
        err << "kestro: cannot create output folder '" << outDir.string() << "'\n";
        return ExitCantCreate;
    }
    // The command writes NAMES.DAT into the output folder, and the engine its
    // message log: neither may be the input.
    for (const char* own : {"NAMES.DAT", EngineLogName}) {
        if (fs::equivalent(input, outDir / own, ec)) {
            err << "kestro: the input '" << req.Input << "' is the " << own
                << " the run writes in its output folder '" << outDir.string()
                << "'; copy the input to another name or choose another output folder with -o\n";
            return ExitCantCreate;
        }
    }
    if (temporary) plan.TemporaryDir = outDir;

    // A JSON model runs as the KESTRO6 file it converts to, in the output folder.
    if (IsJsonModelFile(input.string())) {
        const fs::path kin = outDir / (stem + ".kin");
        std::string problem;
        if (kin == input.lexically_normal() ||
            !WriteModelAsKestro6(input.string(), kin.string(), problem, &plan.ModelLines)) {
            err << "kestro: " << req.Input << ": " << (problem.empty() ? "would overwrite itself" : problem) << '\n';
            return ExitError;
        }
        input = kin;
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
    const std::string& report = plan.Report = stem + "-report.txt";
    const std::string& plot = plan.Plot = stem + "-plot.txt";
    const std::string& messages = plan.Messages = stem + "-messages.txt";
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
        // The engine's echo-only run: read, check and echo, no analysis.
        if (req.CheckOnly) names << "ECHO ONLY\n";
        if (!names) {
            err << "kestro: cannot write NAMES.DAT in '" << outDir.string() << "'\n";
            return ExitCantCreate;
        }
    }
    plan.Input = input;
    plan.Stem = stem;
    plan.Temporary = temporary;
    return std::nullopt;
}

// Run: the engine in the output folder, the results held in memory when a
// results file is asked for; the report and message texts this run wrote.
// False when the output folder cannot be entered.
bool RunInFolder(const RunRequest& req, const RunPlan& plan, RunFiles& run, std::ostream& err) {
    const fs::path& outDir = plan.OutDir;
    const std::string& report = plan.Report;
    const std::string& messages = plan.Messages;
    run.ReportBefore = Stamp(outDir / report);
    run.MessagesBefore = Stamp(outDir / messages);
    const FileStamp logBefore = Stamp(outDir / EngineLogName);
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    if (::chdir(outDir.c_str()) != 0) {
        err << "kestro: cannot enter output folder '" << outDir.string() << "'\n";
        return false;
    }
    // The results files are built from the results the engine holds in
    // memory for this run, not from its plot file read back.
    HoldResults(!req.CheckOnly && (req.Results.Json || req.Results.Html || req.Results.Csv || req.Results.Pdf));
    // A check shows its problems once, after the run, rather than as progress.
    run.Result = RunEngine(outDir / messages, req.Quiet || req.CheckOnly, err, run.Echoed);
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) {
        // The run is complete; the outcome below uses absolute paths.
    }

    // Files an earlier run left are not this run's: a run refused before its
    // files were opened (a run file that cannot be opened, say) has its
    // reason in the engine's message log.
    if (WrittenSince(outDir / report, run.ReportBefore)) run.ReportText = results::ReadFileText(outDir / report);
    if (WrittenSince(outDir / messages, run.MessagesBefore)) run.MessageText = results::ReadFileText(outDir / messages);
    if (run.ReportText.empty() && run.MessageText.empty() && WrittenSince(outDir / EngineLogName, logBefore))
        run.ReportText = run.MessageText = results::ReadFileText(outDir / EngineLogName);
    return true;
}

// Report: the outcome line and the files written, the problems on the
// error stream, and the results files from the held results.
int ReportRun(const RunRequest& req, const RunPlan& plan, RunFiles& run, std::ostream& out, std::ostream& err) {
    const fs::path& outDir = plan.OutDir;
    const std::string& report = plan.Report;
    const std::string& messages = plan.Messages;
    std::string& reportText = run.ReportText;
    std::string& messageText = run.MessageText;
    std::string& echoed = run.Echoed;
    const std::vector<std::string>& modelLines = plan.ModelLines;
    const Outcome o = Classify(run.Result, messageText, reportText);
    if (req.CheckOnly) {
        if (!req.Quiet) {
            // The reader's warning blocks and error blocks, as the message file holds them.
            for (const std::string& line : Lines(messageText))
                if (!Blank(line) && line.rfind("The analysis ended", 0) != 0 &&
                    line.rfind("The input was read, checked and echoed only", 0) != 0)
                    echoed += line + '\n';
            if (!echoed.empty()) err << echoed;
        }
        ReportProblems(req, o, reportText, messageText, echoed, err);
        if (!req.Quiet) ExplainModelLines(echoed + ErrorText(reportText, messageText), modelLines, err);
        out << CheckLine(o) << '\n';
        if (!plan.Temporary) out << "  report:   " << (outDir / report).string() << '\n';
        return ExitStatusFor(o);
    }
    out << OutcomeLine(o) << '\n';
    // Quiet runs still say why a run ended by an error, on one line.
    if (req.Quiet && o.EndedByError) {
        const std::string reason = ErrorReason(reportText, messageText);
        if (!reason.empty()) out << "  reason:   " << reason << '\n';
    }
    if (!WrittenSince(outDir / report, run.ReportBefore) && !WrittenSince(outDir / messages, run.MessagesBefore)) {
        // Refused before its files were opened: any files of those names are
        // an earlier run's, left as they were.
        out << "  no output file was written; the reason is in " << (outDir / EngineLogName).string() << '\n';
        ReportProblems(req, o, reportText, messageText, echoed, err);
        return ExitStatusFor(o);
    }
    out << "  report:   " << (outDir / report).string() << '\n';
    out << "  plot:     " << (outDir / plan.Plot).string() << '\n';
    out << "  messages: " << (outDir / messages).string() << '\n';
    ReportProblems(req, o, reportText, messageText, echoed, err);
    if (!req.Quiet) ExplainModelLines(ErrorText(reportText, messageText), modelLines, err);
    if (reportText.empty()) reportText = results::ReadFileText(outDir / report);
    if (messageText.empty()) messageText = results::ReadFileText(outDir / messages);
    const bool written = WriteHeldRunResults(outDir.string(), plan.Stem, run.Result, reportText, messageText,
                                             req.Results, out, err, plan.Input.string());
    HoldResults(false);
    // A results file asked for and not written fails the command, whatever
    // the analysis' own outcome (reported in the lines above).
    if (!written) return ExitCantCreate;
    return ExitStatusFor(o);
}

}  // namespace

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
        out << "kestro " << CommandVersion << '\n';
        return ExitNormal;
    }
    if (args[0] == "view") return ViewCommand(args, out, err);
    if (args[0] == "batch") return BatchMain(args, out, err);
    if (args[0] == "sweep") return SweepMain(args, out, err);
    if (args[0] == "web") return web::WebMain(args, out, err);
    if (args[0] == "convert") return ConvertMain(args, out, err);
    if (args[0] == "group") return GroupCommand(args, out, err);
    if (args[0] == "pushover") return PushoverMain(args, out, err);
    if (args[0] == "springs") return SpringsMain(args, out, err);
    if (args[0] != "run" && args[0] != "check") {
        err << "kestro: unknown command '" << args[0] << "'\n" << Usage;
        return ExitUsage;
    }
    RunRequest req;
    if (const auto refused = ParseRun(args, req, err)) return *refused;
    RunPlan plan;
    if (const auto refused = PrepareRun(req, plan, err)) return *refused;
    RunFiles run;
    if (!RunInFolder(req, plan, run, err)) return ExitCantCreate;
    return ReportRun(req, plan, run, out, err);
}

}  // namespace kestro::cli
