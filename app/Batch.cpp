#include "Batch.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <system_error>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "PlotReader.h"
#include "Convert.h"
#include "ResultFiles.h"

namespace fs = std::filesystem;

namespace kestro::cli {
namespace {

constexpr const char* BatchUsage =
    "Usage: kestro batch INPUT... [-o OUTDIR] [-j JOBS] [--shard I/N] [--summary NAME] [-q]\n"
    "       (INPUT: an input file or a group file (.kgr), a folder of *.kin and *.kgr files, or @LIST, a file\n"
    "       naming one input a line)\n";
constexpr const char* SweepUsage =
    "Usage: kestro sweep TEMPLATE --line N [--field K] --values V1,V2,... [--expect TEXT] [-o OUTDIR] [-j JOBS] [-q]\n"
    "       kestro sweep MODEL.json --path JSONPATH --values V1,V2,... [-o OUTDIR] [-j JOBS] [-q]\n";

std::string Trim(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

volatile std::sig_atomic_t StopRequested = 0;
extern "C" void OnStopSignal(int) { StopRequested = 1; }

// A worker process that stays alive for the whole batch: it runs input after
// input in its own process, as `kestro run INPUT -o OUTDIR -q` would (the
// engine's store is reset at the start of every run, so nothing of one run
// reaches the next), and answers each with the command's exit status and
// what it printed. A run in a batch then costs its analysis and its files,
// not the start of a process.
struct Worker {
    pid_t Pid = -1;
    int Requests = -1;  // parent to worker: the index of the next entry, one a line
    int Answers = -1;   // worker to parent: "INDEX STATUS LENGTH\n" and LENGTH bytes of output
    bool Busy = false;
    std::size_t Entry = 0;
    std::string Pending;  // the answer read so far
};

bool WriteAll(int fd, const std::string& s) {
    std::size_t done = 0;
    while (done < s.size()) {
        const ssize_t n = ::write(fd, s.data() + done, s.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool IsGroupFile(const std::string& input) { return fs::path(input).extension() == ".kgr"; }

// The files a group file's run leaves in its output folder.
fs::path GroupFile(const BatchEntry& e, const char* suffix) {
    return fs::path(e.OutDir) / (fs::path(e.Input).stem().string() + suffix);
}

// A group file of a batch: `kestro group` with its report, JSON and page in
// the entry's output folder; the command's messages go to `messages`.
int RunGroupEntry(const BatchEntry& e, std::ostream& messages) {
    std::error_code ec;
    fs::create_directories(e.OutDir, ec);
    std::ostringstream report;
    const int status = Main({"group", e.Input, "--json", GroupFile(e, "-group.json").string(), "--html",
                             GroupFile(e, "-group.html").string()},
                            report, messages);
    if (!report.str().empty() && !results::WriteFileAtomically(GroupFile(e, "-report.txt"), report.str()))
        messages << "kestro group: cannot write '" << GroupFile(e, "-report.txt").string() << "'\n";
    return status;
}

// Fills the entry of a group file from the results JSON its run wrote: no
// JSON, the file was refused before any case was run ("not run", with the
// command's message); else the run's status and, for a case that could not
// be balanced, its runtime error and message.
void FinishGroup(BatchEntry& e, const std::string& output, int status) {
    nlohmann::json j;
    const fs::path json = GroupFile(e, "-group.json");
    std::error_code ec;
    if (fs::is_regular_file(json, ec)) j = nlohmann::json::parse(results::ReadFileText(json), nullptr, false);
    if (!j.is_object() || !j.contains("run") || !j["run"].is_object()) {
        e.Outcome = "not run";
        e.Message = Trim(output.substr(0, output.find('\n')));
        if (e.Message.empty()) e.Message = "the group did not run (exit status " + std::to_string(status) + ")";
        return;
    }
    e.b_Finished = true;
    const nlohmann::json& err = j["run"]["error"];
    if (err.is_object()) {
        e.Result = err.value("runtimeError", 0);
        // The message names the load case and its runtime error.
        const std::string message = err.value("message", std::string());
        const std::string number = "Runtime Error " + std::to_string(e.Result);
        const std::size_t at = message.find(number);
        const bool named = at != std::string::npos && (at + number.size() == message.size() ||
                                                       !std::isdigit(static_cast<unsigned char>(message[at + number.size()])));
        e.ErrorReason = named ? message : number + ": " + message;
    }
    e.Outcome = status == ExitNormal ? "normal" : status == ExitWarnings ? "warnings" : "error";
}

// A group file's copy written elsewhere (a sweep's inputs folder): the
// relative paths of its lateral models (LATERAL lines, LATERAL on TYPE lines)
// made absolute from the template's folder `base`, so that the copy names
// the same files. Every other character is kept.
std::string AnchorGroupPaths(const std::string& text, const fs::path& base) {
    std::istringstream in(text);
    std::string out, line;
    auto upper = [](std::string w) {
        for (char& c : w) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return w;
    };
    while (std::getline(in, line)) {
        const std::string body = line.substr(0, line.find('#'));
        std::istringstream words(body);
        std::vector<std::string> t;
        for (std::string w; words >> w;) t.push_back(w);
        std::string path;
        if (!t.empty() && upper(t[0]) == "LATERAL") path = Trim(body.substr(body.find(t[0]) + t[0].size()));
        else if (t.size() >= 6 && upper(t[0]) == "TYPE" && upper(t[t.size() - 2]) == "LATERAL") path = t.back();
        if (!path.empty() && fs::path(path).is_relative()) {
            const std::size_t at = body.rfind(path);
            line.replace(at, path.size(), (base / path).lexically_normal().string());
        }
        out += line;
        if (!in.eof()) out += '\n';
    }
    return out;
}

[[noreturn]] void WorkerLoop(int requests, int answers, const std::vector<BatchEntry>& entries) {
    // Ctrl-C is for the batch: it stops the workers with SIGTERM.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, SIG_DFL);
    std::string line;
    char ch = 0;
    for (;;) {
        const ssize_t n = ::read(requests, &ch, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // the batch has no more inputs
        if (ch != '\n') {
            line += ch;
            continue;
        }
        const std::size_t index = static_cast<std::size_t>(std::strtoull(line.c_str(), nullptr, 10));
        line.clear();
        if (index >= entries.size()) break;
        const BatchEntry& e = entries[index];
        std::ostringstream text;
        int status = ExitError;
        try {
            status = IsGroupFile(e.Input) ? RunGroupEntry(e, text) : Main({"run", e.Input, "-o", e.OutDir, "-q"}, text, text);
        } catch (...) {
            text << "kestro: the run of " << e.Input << " failed unexpectedly\n";
        }
        const std::string body = text.str();
        if (!WriteAll(answers, std::to_string(index) + ' ' + std::to_string(status) + ' ' +
                                   std::to_string(body.size()) + '\n' + body))
            break;
    }
    ::_exit(0);
}

// Starts a worker. The child closes the parent's ends of the other workers'
// pipes, so that each worker sees the end of its own requests.
Worker StartWorker(const std::vector<BatchEntry>& entries, const std::vector<Worker>& others) {
    Worker w;
    int req[2], ans[2];
    if (::pipe2(req, O_CLOEXEC) != 0) return w;
    if (::pipe2(ans, O_CLOEXEC) != 0) {
        ::close(req[0]);
        ::close(req[1]);
        return w;
    }
    std::cout.flush();
    std::cerr.flush();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(req[1]);
        ::close(ans[0]);
        for (const Worker& o : others) {
            if (o.Requests >= 0) ::close(o.Requests);
            if (o.Answers >= 0) ::close(o.Answers);
        }
        WorkerLoop(req[0], ans[1], entries);
    }
    ::close(req[0]);
    ::close(ans[1]);
    if (pid < 0) {
        ::close(req[1]);
        ::close(ans[0]);
        return w;
    }
    w.Pid = pid;
    w.Requests = req[1];
    w.Answers = ans[0];
    return w;
}

void StopWorker(Worker& w) {
    if (w.Requests >= 0) ::close(w.Requests);
    if (w.Answers >= 0) ::close(w.Answers);
    w.Requests = w.Answers = -1;
}

// The worker's status once it has ended (it is waited for).
int ReapWorker(Worker& w) {
    int status = 0;
    while (w.Pid > 0 && ::waitpid(w.Pid, &status, 0) < 0 && errno == EINTR) {
    }
    w.Pid = -1;
    return status;
}

// The load cases of a plot file: head deflection, maximum moment with its
// depth and maximum shear of each case, in the plot file's units, for a case
// whose stations or summary record were written.
std::vector<CaseSummary> CaseSummariesFromPlot(const results::PlotResults& p) {
    std::vector<CaseSummary> cases;
    if (!p.HasHeader) return cases;
    const results::PlotUnits u = results::UnitsOf(p.UnitSystem);
    auto number = [](double v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.8g", v);
        return std::string(buf);
    };
    for (const results::LoadCase& lc : p.LoadCases) {
        if (!lc.HasSummary && !lc.StationsComplete) continue;
        CaseSummary c;
        c.Case = lc.Number;
        c.HeadDeflection = number(lc.HeadDeflection);
        c.MaxMoment = number(lc.MaxMoment);
        c.MaxShear = number(lc.MaxShear);
        c.DeflectionUnit = u.Length;
        c.MomentUnit = u.Moment;
        c.ShearUnit = u.Force;
        if (lc.StationsComplete) {
            c.MaxMomentDepth = number(lc.DepthMaxMoment);
            c.DepthUnit = u.Length;
        }
        cases.push_back(c);
    }
    return cases;
}

// Fills the entry from the command's own output and the report it wrote.
void Finish(BatchEntry& e, const std::string& output, int status) {
    if (IsGroupFile(e.Input)) return FinishGroup(e, output, status);
    const std::string key = "run result ";
    const std::size_t at = output.find(key);
    if (at == std::string::npos) {
        e.Outcome = "not run";
        e.Message = Trim(output.substr(0, output.find('\n')));
        if (e.Message.empty()) e.Message = "the run did not start (exit status " + std::to_string(status) + ")";
        return;
    }
    e.b_Finished = true;
    e.Result = std::atoi(output.c_str() + at + key.size());
    e.Outcome = status == ExitNormal ? "normal" : status == ExitWarnings ? "warnings" : "error";
    // The command's own one-line reason, when it printed one.
    const std::string reasonKey = "  reason:   ";
    const std::size_t r = output.find(reasonKey);
    if (r != std::string::npos)
        e.ErrorReason = Trim(output.substr(r + reasonKey.size(), output.find('\n', r) - r - reasonKey.size()));
    // A run refused before its files were opened wrote none: files of those
    // names are an earlier run's.
    if (output.find("no output file was written") != std::string::npos) return;
    const std::string stem = fs::path(e.Input).stem().string();
    const std::string report = results::ReadFileText(fs::path(e.OutDir) / (stem + "-report.txt"));
    e.Cases = ReadCaseSummaries(report);
    // A report printed as a summary only (PrintSummaryOnly YES) has no output
    // summary per load case: the plot file's records of each case give them.
    if (e.Cases.empty())
        e.Cases = CaseSummariesFromPlot(results::ReadPlotFile((fs::path(e.OutDir) / (stem + "-plot.txt")).string()));
    if (e.Outcome == "error" && e.ErrorReason.empty())
        e.ErrorReason = ErrorReason(report, results::ReadFileText(fs::path(e.OutDir) / (stem + "-messages.txt")));
}

// A worker stopped part way may leave engine files that look complete (the
// engine had ended) without the results files, or partial files: the folder
// says, as the summary does, that the run did not finish.
constexpr const char* UnfinishedMarker = "NOT-FINISHED.txt";

void MarkUnfinished(const BatchEntry& e) {
    std::error_code ec;
    if (e.OutDir.empty() || !fs::is_directory(e.OutDir, ec)) return;
    std::ofstream(fs::path(e.OutDir) / UnfinishedMarker)
        << "The run of " << e.Input << " was stopped before it finished (" << e.Message
        << "). The files in this folder may be incomplete or from an earlier run; the batch summary lists the "
           "input as not run. Run it again to replace them.\n";
}

void DrawProgress(std::ostream& err, std::size_t done, std::size_t total, int failed, bool tty) {
    if (!tty) return;
    constexpr int Width = 30;
    const int filled = total == 0 ? Width : static_cast<int>(Width * done / total);
    err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
        << std::string(static_cast<std::size_t>(Width - filled), '.') << "] " << done << '/' << total;
    if (failed > 0) err << ", " << failed << " not normal";
    err << std::flush;
}

// Runs every entry on at most `jobs` worker processes that stay alive for
// the whole batch. Returns false when the batch was stopped by a signal.
bool RunEntries(std::vector<BatchEntry>& entries, int jobs, bool quiet, std::ostream& err) {
    StopRequested = 0;
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    struct sigaction oldInt {}, oldTerm {};
    ::sigaction(SIGINT, &sa, &oldInt);
    ::sigaction(SIGTERM, &sa, &oldTerm);
    // A worker that has ended must not stop the batch when it is written to.
    struct sigaction ignore {}, oldPipe {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &oldPipe);

    const bool tty = !quiet && ::isatty(STDERR_FILENO);
    std::size_t next = 0, done = 0;
    int failed = 0;
    DrawProgress(err, 0, entries.size(), 0, tty);
    auto finished = [&](BatchEntry& e) {
        ++done;
        if (e.Outcome != "normal") ++failed;
        if (!quiet && !tty) err << "  " << e.Input << ": " << e.Outcome << '\n';
        DrawProgress(err, done, entries.size(), failed, tty);
    };

    std::vector<Worker> workers;
    const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(std::max(1, jobs)), entries.size());
    for (std::size_t k = 0; k < wanted; ++k) {
        Worker w = StartWorker(entries, workers);
        if (w.Pid > 0) workers.push_back(w);
    }
    if (workers.empty()) {
        for (; next < entries.size(); ++next) {
            entries[next].Outcome = "not run";
            entries[next].Message = "a worker process could not be started";
            finished(entries[next]);
        }
    }

    for (;;) {
        // Every idle worker takes the next input.
        for (Worker& w : workers) {
            if (w.Busy || w.Pid < 0 || StopRequested || next >= entries.size()) continue;
            BatchEntry& e = entries[next];
            // The mark of an earlier batch stopped during this input's run
            // goes: this run replaces the files.
            std::error_code ec;
            fs::remove(fs::path(e.OutDir) / UnfinishedMarker, ec);
            w.Busy = WriteAll(w.Requests, std::to_string(next) + '\n');
            w.Entry = next;
            w.Pending.clear();
            if (w.Busy) ++next;
        }
        std::vector<pollfd> fds;
        std::vector<Worker*> polled;
        for (Worker& w : workers)
            if (w.Busy) {
                fds.push_back(pollfd{w.Answers, POLLIN, 0});
                polled.push_back(&w);
            }
        if (fds.empty()) break;
        if (StopRequested) {
            for (Worker* w : polled) {
                ::kill(w->Pid, SIGTERM);
                StopWorker(*w);
                ReapWorker(*w);
                BatchEntry& e = entries[w->Entry];
                e.Outcome = "not run";
                e.Message = "stopped before the end of the run";
                MarkUnfinished(e);
                w->Busy = false;
                finished(e);
            }
            break;
        }
        if (::poll(fds.data(), static_cast<nfds_t>(fds.size()), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (std::size_t k = 0; k < fds.size(); ++k) {
            if (fds[k].revents == 0) continue;
            Worker& w = *polled[k];
            char buf[65536];
            const ssize_t n = ::read(w.Answers, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n > 0) {
                w.Pending.append(buf, static_cast<std::size_t>(n));
                const std::size_t eol = w.Pending.find('\n');
                if (eol == std::string::npos) continue;
                std::istringstream head(w.Pending.substr(0, eol));
                std::size_t index = 0, length = 0;
                int status = 0;
                head >> index >> status >> length;
                if (w.Pending.size() - eol - 1 < length) continue;
                BatchEntry& e = entries[w.Entry];
                Finish(e, w.Pending.substr(eol + 1, length), status);
                w.Pending.clear();
                w.Busy = false;
                finished(e);
                continue;
            }
            // The worker ended during a run: that input is not run, and a
            // new worker takes the rest.
            StopWorker(w);
            const int status = ReapWorker(w);
            BatchEntry& e = entries[w.Entry];
            e.Outcome = "not run";
            e.Message = StopRequested         ? std::string("stopped before the end of the run")
                        : WIFSIGNALED(status) ? "the worker ended by signal " + std::to_string(WTERMSIG(status))
                                              : "the worker ended with exit status " +
                                                    std::to_string(WEXITSTATUS(status));
            MarkUnfinished(e);
            w.Busy = false;
            finished(e);
            if (!StopRequested && next < entries.size()) w = StartWorker(entries, workers);
        }
    }
    // No more inputs: each worker sees the end of its requests and exits.
    for (Worker& w : workers) {
        if (w.Pid < 0) continue;
        StopWorker(w);
        ReapWorker(w);
    }
    if (tty) err << '\n';
    for (std::size_t i = next; i < entries.size(); ++i) {
        entries[i].Outcome = "not run";
        entries[i].Message = "stopped before the run started";
    }
    ::sigaction(SIGINT, &oldInt, nullptr);
    ::sigaction(SIGTERM, &oldTerm, nullptr);
    ::sigaction(SIGPIPE, &oldPipe, nullptr);
    return !StopRequested;
}

// One output folder per input, named after the input file; a name met again
// gets the suffix -2, -3, ... in list order, so that every shard of the same
// list chooses the same folders.
void AssignOutputFolders(std::vector<BatchEntry>& entries, const fs::path& outDir) {
    std::map<std::string, int> seen;
    for (BatchEntry& e : entries) {
        const std::string stem = fs::path(e.Input).stem().string();
        const int n = ++seen[stem];
        e.OutDir = (outDir / (n == 1 ? stem : stem + "-" + std::to_string(n))).string();
    }
}

int BatchExitStatus(const std::vector<BatchEntry>& entries, bool completed) {
    if (!completed) return 130;
    int status = ExitNormal;
    for (const BatchEntry& e : entries) {
        if (e.Outcome == "warnings") status = std::max(status, ExitWarnings);
        if (e.Outcome != "normal" && e.Outcome != "warnings") status = ExitError;
    }
    return status;
}

bool WriteSummaries(const fs::path& outDir, const std::string& name, const std::vector<BatchEntry>& entries,
                    std::ostream& out, std::ostream& err) {
    const fs::path csv = outDir / (name + ".csv"), json = outDir / (name + ".json");
    std::ostringstream c, j;
    WriteSummaryCsv(c, entries);
    WriteSummaryJson(j, entries);
    const bool csvWritten = results::WriteFileAtomically(csv, c.str());
    if (!csvWritten || !results::WriteFileAtomically(json, j.str())) {
        err << "kestro: cannot write the summary files in '" << outDir.string() << "'\n";
        return false;
    }
    out << "  summary:  " << csv.string() << '\n' << "            " << json.string() << '\n';
    return true;
}

// Options shared by batch and sweep.
struct PoolOptions {
    std::string OutDir;
    int Jobs = 0;
    bool Quiet = false;
};

bool ParseJobs(const std::string& text, int& jobs) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || v < 1 || v > 256) return false;
    jobs = static_cast<int>(v);
    return true;
}

int DefaultJobs() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

int RunPool(std::vector<BatchEntry>& entries, const PoolOptions& o, const std::string& summaryName,
            std::ostream& out, std::ostream& err) {
    std::error_code ec;
    const fs::path outDir = fs::absolute(o.OutDir, ec);
    fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir, ec)) {
        err << "kestro: cannot create output folder '" << outDir.string() << "'\n";
        return ExitCantCreate;
    }
    const bool completed = RunEntries(entries, o.Jobs > 0 ? o.Jobs : DefaultJobs(), o.Quiet, err);
    int counts[4] = {0, 0, 0, 0};
    for (const BatchEntry& e : entries)
        ++counts[e.Outcome == "normal" ? 0 : e.Outcome == "warnings" ? 1 : e.Outcome == "error" ? 2 : 3];
    out << (completed ? "Batch finished: " : "Batch stopped: ") << entries.size() << " inputs, " << counts[0]
        << " normal, " << counts[1] << " with warnings, " << counts[2] << " by error, " << counts[3]
        << " not run.\n";
    if (!WriteSummaries(outDir, summaryName, entries, out, err)) return ExitCantCreate;
    return BatchExitStatus(entries, completed);
}

}  // namespace

std::vector<CaseSummary> ReadCaseSummaries(const std::string& report) {
    std::vector<CaseSummary> cases;
    const std::string head = "Output Summary for Load Case No. ";
    std::size_t at = 0;
    while ((at = report.find(head, at)) != std::string::npos) {
        CaseSummary c;
        c.Case = std::atoi(report.c_str() + at + head.size());
        const std::size_t end = report.find("Number of iterations", at);
        const std::string block = report.substr(at, end == std::string::npos ? std::string::npos : end - at);
        // "Label = value unit ..." : the value and the first word after it.
        auto field = [&](const char* label, std::string& value, std::string& unit) {
            const std::size_t l = block.find(label);
            if (l == std::string::npos) return;
            std::istringstream line(block.substr(block.find('=', l) + 1, block.find('\n', l) - block.find('=', l)));
            line >> value >> unit;
        };
        field("Pile-head deflection", c.HeadDeflection, c.DeflectionUnit);
        field("Maximum bending moment", c.MaxMoment, c.MomentUnit);
        field("Depth of maximum bending moment", c.MaxMomentDepth, c.DepthUnit);
        field("Maximum shear force", c.MaxShear, c.ShearUnit);
        cases.push_back(c);
        at += head.size();
    }
    return cases;
}

bool CollectInputs(const std::vector<std::string>& args, std::vector<std::string>& inputs, std::string& problem) {
    std::error_code ec;
    for (const std::string& a : args) {
        if (!a.empty() && a[0] == '@') {
            std::ifstream list(a.substr(1));
            if (!list) {
                problem = "cannot read the list file '" + a.substr(1) + "'";
                return false;
            }
            // Names in a list are relative to the list's folder.
            const fs::path base = fs::path(a.substr(1)).parent_path();
            std::string line;
            while (std::getline(list, line)) {
                line = Trim(line);
                if (line.empty() || line[0] == '#') continue;
                const fs::path p(line);
                inputs.push_back((p.is_absolute() || base.empty() ? p : base / p).string());
            }
        } else if (fs::is_directory(a, ec)) {
            std::vector<std::string> found;
            for (const auto& f : fs::directory_iterator(a, ec))
                if (f.is_regular_file(ec) && (f.path().extension() == ".kin" || f.path().extension() == ".kgr"))
                    found.push_back(f.path().string());
            std::sort(found.begin(), found.end());
            if (found.empty()) {
                problem = "the folder '" + a + "' holds no *.kin input or *.kgr group file";
                return false;
            }
            inputs.insert(inputs.end(), found.begin(), found.end());
        } else {
            inputs.push_back(a);
        }
    }
    if (inputs.empty()) {
        problem = "no input given";
        return false;
    }
    return true;
}

bool ParseShard(const std::string& text, int& index, int& count) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return false;
    char* end = nullptr;
    const long i = std::strtol(text.c_str(), &end, 10);
    if (end != text.c_str() + slash) return false;
    const long n = std::strtol(text.c_str() + slash + 1, &end, 10);
    if (*end != '\0' || end == text.c_str() + slash + 1 || n < 1 || n > 100000 || i < 1 || i > n) return false;
    index = static_cast<int>(i);
    count = static_cast<int>(n);
    return true;
}

namespace {
std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char ch : s) q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return q + "\"";
}
}  // namespace

void WriteSummaryCsv(std::ostream& out, const std::vector<BatchEntry>& entries) {
    bool sweep = false;
    for (const BatchEntry& e : entries) sweep = sweep || !e.SweepValue.empty();
    out << "input," << (sweep ? "value," : "")
        << "outcome,run_result,load_case,head_deflection,deflection_unit,max_moment,moment_unit,"
           "max_moment_depth,depth_unit,max_shear,shear_unit,message,error_reason\n";
    for (const BatchEntry& e : entries) {
        const std::string lead = CsvField(e.Input) + "," + (sweep ? CsvField(e.SweepValue) + "," : "") +
                                 e.Outcome + "," + (e.b_Finished ? std::to_string(e.Result) : "") + ",";
        const std::string tail = CsvField(e.Message) + "," + CsvField(e.ErrorReason) + "\n";
        if (e.Cases.empty()) {
            out << lead << ",,,,,,,,," << tail;
            continue;
        }
        for (const CaseSummary& c : e.Cases)
            out << lead << c.Case << ',' << c.HeadDeflection << ',' << CsvField(c.DeflectionUnit) << ','
                << c.MaxMoment << ',' << CsvField(c.MomentUnit) << ',' << c.MaxMomentDepth << ','
                << CsvField(c.DepthUnit) << ',' << c.MaxShear << ',' << CsvField(c.ShearUnit) << ',' << tail;
    }
}

void WriteSummaryJson(std::ostream& out, const std::vector<BatchEntry>& entries) {
    // Numbers keep the digits the report printed: each is parsed from its text.
    auto number = [](const std::string& s) -> nlohmann::json {
        char* end = nullptr;
        const double v = std::strtod(s.c_str(), &end);
        if (s.empty() || *end != '\0') return nullptr;
        return v;
    };
    nlohmann::json runs = nlohmann::json::array();
    for (const BatchEntry& e : entries) {
        nlohmann::json r;
        r["input"] = e.Input;
        if (!e.SweepValue.empty()) r["value"] = e.SweepValue;
        r["outcome"] = e.Outcome;
        r["run_result"] = e.b_Finished ? nlohmann::json(e.Result) : nlohmann::json(nullptr);
        r["output_folder"] = e.OutDir;
        if (!e.Message.empty()) r["message"] = e.Message;
        if (!e.ErrorReason.empty()) r["error_reason"] = e.ErrorReason;
        nlohmann::json cases = nlohmann::json::array();
        for (const CaseSummary& c : e.Cases) {
            cases.push_back({{"load_case", c.Case},
                             {"head_deflection", {{"value", number(c.HeadDeflection)}, {"unit", c.DeflectionUnit}}},
                             {"max_moment", {{"value", number(c.MaxMoment)}, {"unit", c.MomentUnit}}},
                             {"max_moment_depth", {{"value", number(c.MaxMomentDepth)}, {"unit", c.DepthUnit}}},
                             {"max_shear", {{"value", number(c.MaxShear)}, {"unit", c.ShearUnit}}}});
        }
        r["load_cases"] = cases;
        runs.push_back(r);
    }
    out << nlohmann::json{{"batch_summary_version", 1}, {"runs", runs}}.dump(2) << '\n';
}

bool ReplaceValue(std::string& text, int line, int field, const std::string& value) {
    if (line < 1 || field < 1) return false;
    std::size_t start = 0;
    for (int l = 1; l < line; ++l) {
        start = text.find('\n', start);
        if (start == std::string::npos) return false;
        ++start;
    }
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    auto separator = [](char ch) { return ch == ' ' || ch == '\t' || ch == ',' || ch == '\r'; };
    std::size_t p = start;
    for (int f = 1;; ++f) {
        while (p < end && separator(text[p])) ++p;
        if (p >= end) return false;
        std::size_t q = p;
        while (q < end && !separator(text[q])) ++q;
        if (f == field) {
            text.replace(p, q - p, value);
            return true;
        }
        p = q;
    }
}

std::string LineOf(const std::string& text, int line) {
    if (line < 1) return {};
    std::size_t start = 0;
    for (int l = 1; l < line; ++l) {
        start = text.find('\n', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string out = text.substr(start, end - start);
    if (!out.empty() && out.back() == '\r') out.pop_back();
    return out;
}

std::string FieldOf(const std::string& line, int field) {
    std::string copy = line;
    const std::string mark = "\x01";
    if (!ReplaceValue(copy, 1, field, mark)) return {};
    // The field is what the mark replaced.
    const std::size_t at = copy.find(mark);
    const std::size_t length = line.size() - (copy.size() - mark.size());
    return line.substr(at, length);
}

namespace {
// Reads the pool options; returns false with a usage message on a bad one.
// Arguments it does not know are left in `rest`.
bool ParsePoolOptions(const std::vector<std::string>& args, PoolOptions& o, std::vector<std::string>& rest,
                      std::map<std::string, std::string>& named, const std::set<std::string>& valued,
                      std::ostream& err) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= args.size()) {
                err << "kestro: option '" << a << "' needs a value\n";
                return false;
            }
            target = args[++i];
            return true;
        };
        if (a == "-o" || a == "--output") {
            if (!value(o.OutDir)) return false;
        } else if (a.rfind("-j", 0) == 0 || a == "--jobs" || a.rfind("--jobs=", 0) == 0) {
            // "-j N", "--jobs N", or the value attached: "-jN", "--jobs=N".
            std::string j;
            if (a == "-j" || a == "--jobs") {
                if (!value(j)) return false;
            } else {
                j = a.substr(a[1] == 'j' ? 2 : 7);
            }
            if (!ParseJobs(j, o.Jobs)) {
                err << "kestro: -j takes a number of worker processes from 1 to 256, not '" << j << "'\n";
                return false;
            }
        } else if (a == "-q" || a == "--quiet") {
            o.Quiet = true;
        } else if (valued.count(a) != 0) {
            if (!value(named[a])) return false;
        } else if (!a.empty() && a[0] == '-') {
            err << "kestro: unknown option '" << a << "'\n";
            return false;
        } else {
            rest.push_back(a);
        }
    }
    return true;
}
}  // namespace

int BatchMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PoolOptions o;
    std::vector<std::string> rest;
    std::map<std::string, std::string> named;
    if (!ParsePoolOptions(args, o, rest, named, {"--shard", "--summary"}, err)) {
        err << BatchUsage;
        return ExitUsage;
    }
    std::vector<std::string> inputs;
    std::string problem;
    if (!CollectInputs(rest, inputs, problem)) {
        err << "kestro: " << problem << '\n' << BatchUsage;
        return rest.empty() ? ExitUsage : ExitNoInput;
    }
    int shard = 1, shards = 1;
    if (named.count("--shard") != 0 && !ParseShard(named["--shard"], shard, shards)) {
        err << "kestro: --shard takes I/N with 1 <= I <= N, for example 2/8\n";
        return ExitUsage;
    }
    if (o.OutDir.empty()) o.OutDir = "kestro-batch";
    std::vector<BatchEntry> all(inputs.size());
    for (std::size_t i = 0; i < inputs.size(); ++i) all[i].Input = inputs[i];
    AssignOutputFolders(all, fs::absolute(o.OutDir));
    // Shard I of N: the I-th of N contiguous blocks of the list, so that the
    // shards' summaries, put one after the other, are the whole list's.
    const std::size_t n = all.size();
    const std::size_t from = n * static_cast<std::size_t>(shard - 1) / static_cast<std::size_t>(shards);
    const std::size_t to = n * static_cast<std::size_t>(shard) / static_cast<std::size_t>(shards);
    std::vector<BatchEntry> entries(all.begin() + static_cast<std::ptrdiff_t>(from),
                                    all.begin() + static_cast<std::ptrdiff_t>(to));
    std::string name = named.count("--summary") != 0 ? named["--summary"] : "summary";
    if (shards > 1 && named.count("--summary") == 0)
        name += "-" + std::to_string(shard) + "-of-" + std::to_string(shards);
    if (name.empty() || name.find('/') != std::string::npos) {
        err << "kestro: --summary takes a file name without a folder\n";
        return ExitUsage;
    }
    return RunPool(entries, o, name, out, err);
}

int SweepMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PoolOptions o;
    std::vector<std::string> rest;
    std::map<std::string, std::string> named;
    if (!ParsePoolOptions(args, o, rest, named, {"--line", "--field", "--values", "--expect", "--path"}, err)) {
        err << SweepUsage;
        return ExitUsage;
    }
    // A JSON model template names the varied value by its path instead of its line.
    const bool byPath = named.count("--path") != 0;
    if (byPath && named.count("--line") == 0) named["--line"] = "1";
    if (rest.size() != 1 || named.count("--line") == 0 || named.count("--values") == 0) {
        err << "kestro: sweep needs one template input, --line and --values\n" << SweepUsage;
        return ExitUsage;
    }
    auto wholeNumber = [](const std::string& t) {
        char* end = nullptr;
        const long v = std::strtol(t.c_str(), &end, 10);
        return (end == t.c_str() || *end != '\0' || v < 1 || v > 1000000) ? 0 : static_cast<int>(v);
    };
    const int line = wholeNumber(named["--line"]);
    const int field = named.count("--field") != 0 ? wholeNumber(named["--field"]) : 1;
    if (line < 1 || field < 1) {
        err << "kestro: --line and --field take whole numbers from 1\n" << SweepUsage;
        return ExitUsage;
    }
    std::vector<std::string> values;
    {
        std::istringstream list(named["--values"]);
        std::string v;
        while (std::getline(list, v, ',')) {
            v = Trim(v);
            if (!v.empty()) values.push_back(v);
        }
    }
    if (values.empty()) {
        err << "kestro: --values takes a comma-separated list of values\n" << SweepUsage;
        return ExitUsage;
    }
    const fs::path templ = rest[0];
    std::error_code ec;
    if (!fs::is_regular_file(templ, ec)) {
        err << "kestro: cannot read template input '" << templ.string() << "'\n";
        return ExitNoInput;
    }
    const std::string text = results::ReadFileText(templ);
    if (o.OutDir.empty()) o.OutDir = templ.stem().string() + "-sweep";
    const fs::path outDir = fs::absolute(o.OutDir, ec);
    const fs::path inputDir = outDir / "inputs";
    fs::create_directories(inputDir, ec);
    if (!fs::is_directory(inputDir, ec)) {
        err << "kestro: cannot create output folder '" << inputDir.string() << "'\n";
        return ExitCantCreate;
    }
    // The line replaced is checked before any input is written: it must hold
    // the value as a number, and the text given with --expect; the first
    // copy's line is shown before and after, so a wrong line number is seen.
    const std::string before = byPath ? std::string() : LineOf(text, line);
    const std::string found = byPath ? std::string("0") : FieldOf(before, field);
    if (found.empty()) {
        err << "kestro: line " << line << " of '" << templ.string() << "' has no value number " << field
            << (before.empty() ? "" : ": \"" + before + "\"") << '\n';
        return ExitUsage;
    }
    if (named.count("--expect") != 0 && before.find(named["--expect"]) == std::string::npos) {
        err << "kestro: line " << line << " of '" << templ.string() << "' does not contain \"" << named["--expect"]
            << "\": \"" << before << "\"\n";
        return ExitUsage;
    }
    {
        char* end = nullptr;
        std::strtod(found.c_str(), &end);
        if (end == found.c_str() || *end != '\0') {
            err << "kestro: value " << field << " of line " << line << " of '" << templ.string() << "' is \"" << found
                << "\", not a number: \"" << before << "\"\n";
            return ExitUsage;
        }
    }
    std::vector<BatchEntry> entries(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string copy = text;
        std::string problem;
        if (byPath && !SetModelValue(copy, named["--path"], values[i], problem)) {
            err << "kestro: " << templ.string() << ": " << problem << '\n';
            return ExitUsage;
        }
        if (!byPath && !ReplaceValue(copy, line, field, values[i])) {
            err << "kestro: line " << line << " of '" << templ.string() << "' has no value number " << field << '\n';
            return ExitUsage;
        }
        if (i == 0 && !o.Quiet && !byPath) {
            err << "kestro: line " << line << " of '" << templ.string() << "', value " << field << ":\n"
                << "  before: " << before << '\n'
                << "  after:  " << LineOf(copy, line) << '\n';
        }
        std::string number = std::to_string(i + 1);
        if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
        const bool group = IsGroupFile(templ.string());
        if (group) copy = AnchorGroupPaths(copy, fs::absolute(templ, ec).parent_path());
        const fs::path input =
            inputDir / (templ.stem().string() + "-" + number + (byPath ? ".json" : group ? ".kgr" : ".kin"));
        std::ofstream(input, std::ios::binary) << copy;
        entries[i].Input = input.string();
        entries[i].SweepValue = values[i];
    }
    AssignOutputFolders(entries, outDir);
    return RunPool(entries, o, "summary", out, err);
}

}  // namespace kestro::cli
