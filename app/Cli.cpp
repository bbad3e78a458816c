#include "Cli.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <thread>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "Batch.h"
#include "kestro/kgo.h"

namespace fs = std::filesystem;

namespace kestro::cli {
namespace {

constexpr const char* Usage =
    "Usage: kestro run INPUT [-o OUTDIR] [--user NAME] [--company NAME] [-q]\n"
    "       kestro batch INPUT... [-o OUTDIR] [-j JOBS] [--shard I/N] [--summary NAME] [-q]\n"
    "       kestro sweep TEMPLATE --line N [--field K] --values V1,V2,... [-o OUTDIR] [-j JOBS] [-q]\n"
    "       kestro --help | --version\n";

constexpr const char* Help =
    "kestro - lateral analysis of single piles and drilled shafts by the p-y method\n"
    "\n"
    "Usage: kestro run INPUT [-o OUTDIR] [--user NAME] [--company NAME] [-q]\n"
    "\n"
    "Runs the analysis described by the input file INPUT (keyword format, first\n"
    "value KESTRO6) and writes three files into OUTDIR:\n"
    "  <name>-report.txt    the output report\n"
    "  <name>-plot.txt      the plot records\n"
    "  <name>-messages.txt  progress, error texts and the completion line\n"
    "OUTDIR defaults to a folder <name>-output beside the input file. The folder\n"
    "also receives NAMES.DAT, the run file list given to the engine.\n"
    "\n"
    "Options:\n"
    "  -o, --output OUTDIR  folder for the output files (created if absent)\n"
    "  --user NAME          licensee name printed in the report header\n"
    "  --company NAME       company name printed in the report header\n"
    "  -q, --quiet          do not show the engine's progress lines while it runs\n"
    "  -h, --help           show this help\n"
    "  --version            show the version\n"
    "\n"
    "\n"
    "kestro batch INPUT... runs many analyses on a pool of worker processes\n"
    "(one per core, or JOBS). INPUT is an input file, a folder (its *.kin files)\n"
    "or @LIST (a file naming one input a line). Each run writes its files into\n"
    "OUTDIR/<name>/ (OUTDIR defaults to kestro-batch); the summary of every run\n"
    "and load case goes to OUTDIR/summary.csv and summary.json. --shard I/N runs\n"
    "only the I-th of N equal parts of the list (for a cluster job array); the\n"
    "shards' summaries, one after the other, equal the whole list's. Ctrl-C\n"
    "stops the workers and still writes the summary of the finished runs.\n"
    "\n"
    "kestro sweep TEMPLATE --line N [--field K] --values V1,V2,... writes one\n"
    "input per value, with value K (default 1) of line N of TEMPLATE replaced,\n"
    "into OUTDIR/inputs/ (OUTDIR defaults to <name>-sweep) and runs them as a\n"
    "batch; the summary has a column with the value of each run.\n"
    "\n"
    "Exit status: 0 ended normally; 1 ended with warnings; 2 ended by an error\n"
    "(for batch and sweep: the worst of the runs); 64 usage error; 66 an input\n"
    "cannot be read; 73 an output folder cannot be made; 130 a batch stopped.\n";

std::string ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// The engine reads each NAMES.DAT line as at most 256 characters.
constexpr std::size_t MaxNameLength = 256;

// Runs the engine. Quiet runs call it on this thread. Otherwise the engine
// runs on a worker thread while this thread echoes the progress lines it
// writes to the message file, so that a long run can be followed: the thread
// sleeps in poll() until the kernel reports a change to the output folder
// (inotify) or the worker reports the end of the run (eventfd), so the
// command waits no longer than the engine takes.
int RunEngine(const fs::path& messageFile, bool quiet, std::ostream& err) {
    std::error_code ec;
    fs::remove(messageFile, ec);  // no stale lines from an earlier run
    if (quiet) return KGO();

    std::streamoff shown = 0;
    std::string pending;
    auto echo = [&] {
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
    echo();
    if (watch >= 0) ::close(watch);
    if (done >= 0) ::close(done);
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
    if (args[0] == "batch") return BatchMain(args, out, err);
    if (args[0] == "sweep") return SweepMain(args, out, err);
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
        return ExitCannotStart;
    }
    std::string stem = input.stem().string();
    fs::path outDir = req.OutDir.empty() ? input.parent_path() / (stem + "-output") : fs::absolute(req.OutDir, ec);
    fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir, ec)) {
        err << "kestro: cannot create output folder '" << outDir.string() << "'\n";
        return ExitCannotCreate;
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
    return ExitStatusFor(o);
}

}  // namespace kestro::cli
