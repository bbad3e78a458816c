// kestro batch and kestro sweep: the list, the shards, the summary table and
// the stop by Ctrl-C, run through the real command.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "Batch.h"
#include "Cli.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using namespace kestro::cli;

namespace {

struct Command {
    int Status = -1;
    std::string Out;
};

// Runs the kestro command with its standard output (and, when asked, its
// error stream) captured.
Command Kestro(const std::string& args, bool withErrors = false) {
    Command c;
    const std::string line = std::string(KESTRO_CLI) + " " + args + (withErrors ? " 2>&1" : " 2>/dev/null");
    FILE* p = ::popen(line.c_str(), "r");
    if (p == nullptr) return c;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) c.Out.append(buf, n);
    const int status = ::pclose(p);
    c.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return c;
}

std::string Example(const char* name) { return std::string(KESTRO_SOURCE_DIR) + "/examples/" + name; }

std::vector<std::string> CsvRows(const std::string& path) {
    std::ifstream f(path);
    std::vector<std::string> rows;
    std::string l;
    while (std::getline(f, l)) rows.push_back(l);
    return rows;
}

}  // namespace

TEST(Batch, ArgumentsAndTexts) {
    struct ShardCase {
        const char* Text;
        bool Ok;
        int I, N;
    };
    for (const ShardCase& c : {ShardCase{"1/1", true, 1, 1}, ShardCase{"3/8", true, 3, 8}, ShardCase{"8/8", true, 8, 8},
                               ShardCase{"0/3", false, 0, 0}, ShardCase{"4/3", false, 0, 0},
                               ShardCase{"2", false, 0, 0}, ShardCase{"2/", false, 0, 0},
                               ShardCase{"a/3", false, 0, 0}, ShardCase{"1/3x", false, 0, 0}}) {
        int i = 0, n = 0;
        EXPECT_EQ(ParseShard(c.Text, i, n), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_TRUE(i == c.I && n == c.N) << c.Text;
        }
    }

    struct ReplaceCase {
        int Line, Field;
        const char* Expected;  // nullptr: no such value
    };
    const std::string text = "KESTRO6\n1  1  15000.0  0.0,100000.0  1   comment\n";
    for (const ReplaceCase& c : {ReplaceCase{2, 3, "1  1  20000  0.0,100000.0  1   comment"},
                                 ReplaceCase{2, 5, "1  1  15000.0  0.0,20000  1   comment"},
                                 ReplaceCase{2, 1, "20000  1  15000.0  0.0,100000.0  1   comment"},
                                 ReplaceCase{2, 9, nullptr}, ReplaceCase{4, 1, nullptr}}) {
        std::string t = text;
        const bool ok = ReplaceValue(t, c.Line, c.Field, "20000");
        EXPECT_EQ(ok, c.Expected != nullptr) << c.Line << ' ' << c.Field;
        if (ok) {
            EXPECT_EQ(t, "KESTRO6\n" + std::string(c.Expected) + "\n");
        }
    }

    const std::string report =
        "Output Summary for Load Case No. 2:\n\nPile-head deflection             =      0.0124354 meters\n"
        "Maximum bending moment           =    105.8596832 kN-m\nMaximum shear force              =     "
        "50.0000000 kN\nDepth of maximum bending moment  =      3.7800000 meters below pile head\n"
        "Number of iterations             =             24\n";
    const auto cases = ReadCaseSummaries(report);
    ASSERT_EQ(cases.size(), 1u);
    EXPECT_EQ(cases[0].Case, 2);
    EXPECT_EQ(cases[0].HeadDeflection + " " + cases[0].DeflectionUnit, "0.0124354 meters");
    EXPECT_EQ(cases[0].MaxMoment + " " + cases[0].MomentUnit, "105.8596832 kN-m");
    EXPECT_EQ(cases[0].MaxMomentDepth + " " + cases[0].DepthUnit, "3.7800000 meters");
    EXPECT_EQ(cases[0].MaxShear + " " + cases[0].ShearUnit, "50.0000000 kN");
}

// The worker count is taken in every usual spelling; a count that is not a
// whole number from 1 to 256 is a usage error naming the value. The input is
// missing, so an accepted option ends with that run "not run" (status 2).
TEST(Batch, JobsOptionSpellings) {
    const std::string dir = kestro::test::ScratchDir();
    struct JobsCase {
        const char* Option;
        int Status;
        const char* Said;
    };
    for (const JobsCase& c : {JobsCase{"-j 2", ExitError, "1 not run."}, JobsCase{"-j2", ExitError, "1 not run."},
                              JobsCase{"--jobs 2", ExitError, "1 not run."},
                              JobsCase{"--jobs=256", ExitError, "1 not run."},
                              JobsCase{"-j0", ExitUsage, "from 1 to 256, not '0'"},
                              JobsCase{"-jx", ExitUsage, "from 1 to 256, not 'x'"},
                              JobsCase{"--jobs=257", ExitUsage, "from 1 to 256, not '257'"},
                              JobsCase{"--jobs=", ExitUsage, "from 1 to 256, not ''"},
                              JobsCase{"-j2x", ExitUsage, "from 1 to 256, not '2x'"},
                              JobsCase{"-j", ExitUsage, "option '-j' needs a value"}}) {
        for (const char* command : {"batch ", "sweep "}) {
            const std::string args = std::string(command) + dir + "/missing.kin -o " + dir + "/out -q" +
                                     (command[0] == 's' ? " --line 2 --values 1 " : " ") + c.Option;
            const Command r = Kestro(args, true);
            // The sweep's template is missing too: an accepted option ends with status 66.
            const int expected = command[0] == 's' && c.Status == ExitError ? ExitNoInput : c.Status;
            EXPECT_EQ(r.Status, expected) << args << '\n' << r.Out;
            if (command[0] == 'b' || c.Status == ExitUsage) {
                EXPECT_NE(r.Out.find(c.Said), std::string::npos) << args << '\n' << r.Out;
            }
        }
    }
}

// The summary rows equal the output summaries of the same inputs run one by
// one; a missing input is reported and does not stop the others; the shards
// of a list, one after the other, give the whole list's summary.
TEST(Batch, SummaryShardsAndFailures) {
    const std::string dir = kestro::test::ScratchDir();
    const std::vector<std::string> inputs = {Example("soft-clay-elastic-pile.kin"), Example("soft-clay-cyclic-si.kin"),
                                             dir + "/missing.kin", Example("api-sand-static-us.kin")};
    {
        std::ofstream list(dir + "/list.txt");
        for (const auto& i : inputs) list << i << '\n';
    }
    const Command whole = Kestro("batch @" + dir + "/list.txt -o " + dir + "/all -j 2 -q");
    EXPECT_EQ(whole.Status, ExitError) << whole.Out;
    EXPECT_NE(whole.Out.find("4 inputs, 3 normal, 0 with warnings, 0 by error, 1 not run."), std::string::npos)
        << whole.Out;
    const auto rows = CsvRows(dir + "/all/summary.csv");

    std::size_t row = 1;
    for (const auto& input : inputs) {
        if (input.find("missing") != std::string::npos) {
            ASSERT_LT(row, rows.size());
            EXPECT_EQ(rows[row].rfind(input + ",not run,", 0), 0u) << rows[row];
            ++row;
            continue;
        }
        const std::string single = dir + "/single-" + fs::path(input).stem().string();
        ASSERT_EQ(Kestro("run " + input + " -o " + single + " -q").Status, ExitNormal);
        const auto cases =
            ReadCaseSummaries(kestro::test::ReadText(single + "/" + fs::path(input).stem().string() + "-report.txt"));
        ASSERT_FALSE(cases.empty());
        for (const auto& c : cases) {
            ASSERT_LT(row, rows.size());
            const std::string expected = input + ",normal,0," + std::to_string(c.Case) + "," + c.HeadDeflection + "," +
                                         c.DeflectionUnit + "," + c.MaxMoment + "," + c.MomentUnit + "," +
                                         c.MaxMomentDepth + "," + c.DepthUnit + "," + c.MaxShear + "," + c.ShearUnit +
                                         ",,";  // no message, no error reason
            EXPECT_EQ(rows[row], expected);
            ++row;
        }
    }
    EXPECT_EQ(row, rows.size());

    std::vector<std::string> joined = {rows[0]};
    for (int s = 1; s <= 3; ++s) {
        Kestro("batch @" + dir + "/list.txt -o " + dir + "/sharded -q --shard " + std::to_string(s) + "/3");
        const auto part = CsvRows(dir + "/sharded/summary-" + std::to_string(s) + "-of-3.csv");
        ASSERT_FALSE(part.empty());
        EXPECT_EQ(part[0], rows[0]);
        joined.insert(joined.end(), part.begin() + 1, part.end());
    }
    EXPECT_EQ(joined, rows);
}

// A run ended by an error carries the error's own reason in the last CSV
// column and in the JSON; the good run beside it has none.
TEST(Batch, ErrorRunCarriesItsReason) {
    const std::string dir = kestro::test::ScratchDir();
    std::string text = kestro::test::ReadText(Example("soft-clay-elastic-pile.kin"));
    const std::size_t at = text.find("3600000.0 ");
    ASSERT_NE(at, std::string::npos) << "the example no longer has E = 3,600 ksi";
    const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    ASSERT_TRUE(ReplaceValue(text, line, 1, "0.0"));
    std::ofstream(dir + "/zero-modulus.kin") << text;

    const Command c = Kestro("batch " + Example("soft-clay-elastic-pile.kin") + " " + dir + "/zero-modulus.kin -o " +
                             dir + "/out -q");
    EXPECT_EQ(c.Status, ExitError) << c.Out;
    const auto rows = CsvRows(dir + "/out/summary.csv");
    ASSERT_EQ(rows.size(), 1u + 2u + 1u);  // header, two load cases, the error run
    // The earlier columns keep their order; the reason is added at the end.
    EXPECT_EQ(rows[0], "input,outcome,run_result,load_case,head_deflection,deflection_unit,max_moment,moment_unit,"
                       "max_moment_depth,depth_unit,max_shear,shear_unit,message,error_reason");
    EXPECT_EQ(rows[1].back(), ',');  // a normal run: no message, no reason
    const std::string reason = "Input Data Error No. 32: The value of elastic modulus of section 1 on line " +
                               std::to_string(line) + " is 0, outside its physical range: greater than zero.";
    EXPECT_EQ(rows[3], dir + "/zero-modulus.kin,error,132,,,,,,,,,,,\"" + reason + "\"");
    const auto json = nlohmann::json::parse(kestro::test::ReadText(dir + "/out/summary.json"));
    EXPECT_FALSE(json["runs"][0].contains("error_reason"));
    EXPECT_EQ(json["runs"][1]["error_reason"], reason);
    EXPECT_EQ(json["batch_summary_version"], 1);
}

TEST(Batch, SweepReplacesOneValuePerRun) {
    const std::string dir = kestro::test::ScratchDir();
    // The line of load case 1 of the soft clay example; value 3 is its shear.
    const std::string templ = Example("soft-clay-elastic-pile.kin");
    std::ifstream t(templ);
    std::string line;
    int lineNo = 0;
    for (int i = 1; std::getline(t, line); ++i)
        if (line.rfind("1  1  15000.0", 0) == 0) lineNo = i;
    ASSERT_GT(lineNo, 0) << "the example no longer has its load case 1";
    const std::string at = " --line " + std::to_string(lineNo);

    const Command c = Kestro("sweep " + templ + at + " --field 3 --values 5000,15000,30000 -o " + dir + " -q");
    EXPECT_EQ(c.Status, ExitNormal) << c.Out;
    const auto rows = CsvRows(dir + "/summary.csv");
    ASSERT_EQ(rows.size(), 1u + 3u * 2u);  // two load cases per run
    EXPECT_EQ(rows[0].rfind("input,value,outcome,", 0), 0u);
    double last = 0.0;
    for (int v = 0; v < 3; ++v) {
        const std::string& r = rows[static_cast<std::size_t>(1 + 2 * v)];
        EXPECT_NE(r.find(std::string(",") + (v == 0 ? "5000" : v == 1 ? "15000" : "30000") + ",normal,0,1,"),
                  std::string::npos)
            << r;
        // Head deflection of load case 1 grows with the swept shear.
        std::istringstream fields(r);
        std::string f;
        for (int k = 0; k < 6; ++k) std::getline(fields, f, ',');
        const double y = std::stod(f);
        EXPECT_GT(y, last);
        last = y;
    }
    EXPECT_EQ(Kestro("sweep " + templ + at + " --field 40 --values 1 -o " + dir + "/bad -q").Status, ExitUsage);
}

// Ctrl-C stops the workers; the summary still lists what finished and what
// did not run, and the command ends with status 130.
TEST(Batch, InterruptKeepsFinishedResults) {
    const std::string dir = kestro::test::ScratchDir();
    {
        std::ofstream list(dir + "/list.txt");
        for (int i = 0; i < 300; ++i) list << Example("soft-clay-elastic-pile.kin") << '\n';
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        const std::string listArg = "@" + dir + "/list.txt", out = dir + "/out";
        ::execl(KESTRO_CLI, KESTRO_CLI, "batch", listArg.c_str(), "-o", out.c_str(), "-j", "1", "-q", nullptr);
        ::_exit(127);
    }
    ASSERT_GT(pid, 0);
    // Wait (at most 60 s) until the second run has started: with one worker,
    // the first has then finished.
    const fs::path second = fs::path(dir) / "out" / "soft-clay-elastic-pile-2";
    for (int i = 0; i < 6000 && !fs::exists(second); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(pid, SIGINT);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    const std::string csv = kestro::test::ReadText(dir + "/out/summary.csv");
    EXPECT_NE(csv.find(",normal,0,1,"), std::string::npos);
    EXPECT_NE(csv.find(",not run,"), std::string::npos);
    // The folder of a run stopped part way says so, as the summary does (a run
    // stopped before it made its folder has none); a finished run's folder
    // does not.
    std::size_t stopped = 0;
    for (std::size_t at = 0; (at = csv.find("stopped before the end of the run", at)) != std::string::npos; ++at)
        ++stopped;
    std::size_t marked = 0;
    for (const auto& folder : fs::directory_iterator(fs::path(dir) / "out"))
        if (fs::exists(folder.path() / "NOT-FINISHED.txt")) ++marked;
    EXPECT_LE(marked, stopped);
    EXPECT_FALSE(fs::exists(fs::path(dir) / "out" / "soft-clay-elastic-pile" / "NOT-FINISHED.txt"));
}

// A report printed as a summary only has no output summary per load case:
// the batch summary takes each case from the plot file instead, with the
// same head deflection, maximum moment and maximum shear.
TEST(Batch, SummaryOnlyReportStillGivesItsLoadCases) {
    const std::string dir = kestro::test::ScratchDir();
    std::string text = kestro::test::ReadText(Example("soft-clay-elastic-pile.kin"));
    kestro::test::WriteText(dir + "/full.kin", text);
    const std::string no = "PrintSummaryOnly NO";
    ASSERT_NE(text.find(no), std::string::npos);
    text.replace(text.find(no), no.size(), "PrintSummaryOnly YES");
    kestro::test::WriteText(dir + "/short.kin", text);
    const Command c = Kestro("batch " + dir + "/full.kin " + dir + "/short.kin -o " + dir + "/out -q");
    EXPECT_EQ(c.Status, ExitNormal) << c.Out;
    const nlohmann::json j = nlohmann::json::parse(kestro::test::ReadText(dir + "/out/summary.json"));
    ASSERT_EQ(j["runs"].size(), 2u) << j.dump();
    const auto& full = j["runs"][0]["load_cases"];
    const auto& brief = j["runs"][1]["load_cases"];
    ASSERT_EQ(full.size(), 2u);
    ASSERT_EQ(brief.size(), 2u) << j.dump();
    for (std::size_t k = 0; k < 2; ++k) {
        for (const char* q : {"head_deflection", "max_moment", "max_shear", "max_moment_depth"}) {
            const double a = full[k][q]["value"].get<double>();
            const double b = brief[k][q]["value"].get<double>();
            EXPECT_NEAR(b, a, 1e-6 * std::max(1.0, std::abs(a))) << q;
        }
    }
}

// Group files (.kgr) in a batch: each run leaves the report, JSON and page of
// `kestro group` in its folder, the very same as the command run on its own;
// the summary names each outcome (a failed case with its runtime error, a
// file refused for a bad line as not run). A sweep of a group file varies
// one cap load and finds the lateral model from the template's folder.
TEST(Batch, GroupFilesRunAsKestroGroupDoes) {
    const std::string dir = kestro::test::ScratchDir();
    // Pinned piles in one row have no stiffness against a cap moment.
    std::ofstream(dir + "/mechanism.kgr") << "KESTRO GROUP\nTYPE 1 PINNED KAXIAL 100 K22 10 K23 -100 K33 1E4\n"
                                             "PILE 1 0 0 0\nPILE 1 0 0 0\nLOAD turn 0 0 1000\n";
    std::ofstream(dir + "/bad-line.kgr") << "KESTRO GROUP\nPILE 7 0 0 0\n";
    struct Row {
        std::string Input;
        std::string Outcome;   // in the summary
        int Result;            // run_result
        int Status;            // of kestro group on its own
    };
    const Row rows[] = {{Example("group/drilled-shafts-2x3.kgr"), "normal", 0, ExitNormal},
                        {Example("group/battered-pipes.kgr"), "normal", 0, ExitNormal},
                        {Example("group/mixed-shafts-py.kgr"), "normal", 0, ExitNormal},
                        {Example("group/shafts-2x3-py-pinned.kgr"), "normal", 0, ExitNormal},
                        {Example("group/battered-pipes-py.kgr"), "normal", 0, ExitNormal},
                        {dir + "/mechanism.kgr", "error", 64, ExitError},
                        {dir + "/bad-line.kgr", "not run", 0, ExitError}};
    std::string inputs;
    for (const Row& r : rows) inputs += " " + r.Input;
    const Command c = Kestro("batch" + inputs + " -o " + dir + "/out -j 2 -q");
    EXPECT_EQ(c.Status, ExitError) << c.Out;
    const auto json = nlohmann::json::parse(kestro::test::ReadText(dir + "/out/summary.json"));
    ASSERT_EQ(json["runs"].size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        const nlohmann::json& run = json["runs"][i];
        EXPECT_EQ(run["outcome"], r.Outcome) << r.Input;
        const std::string stem = fs::path(r.Input).stem().string();
        const std::string folder = dir + "/out/" + stem;
        const Command alone = Kestro("group " + r.Input + " --json " + dir + "/" + stem + ".json");
        EXPECT_EQ(alone.Status, r.Status) << r.Input;
        if (r.Outcome == "not run") {
            EXPECT_NE(run["message"].get<std::string>().find("line 2"), std::string::npos) << run.dump();
            EXPECT_FALSE(fs::exists(folder + "/" + stem + "-group.json"));
            continue;
        }
        EXPECT_EQ(run["run_result"], r.Result) << r.Input;
        if (r.Result != 0) {
            EXPECT_NE(run["error_reason"].get<std::string>().find("load case 1 (turn): Runtime Error 64: "),
                      std::string::npos)
                << run.dump();
        }
        // The batch's files are those of the command on its own, byte for byte.
        EXPECT_EQ(kestro::test::ReadText(folder + "/" + stem + "-report.txt"), alone.Out) << r.Input;
        EXPECT_EQ(kestro::test::ReadText(folder + "/" + stem + "-group.json"),
                  kestro::test::ReadText(dir + "/" + stem + ".json"))
            << r.Input;
        EXPECT_TRUE(fs::exists(folder + "/" + stem + "-group.html"));
        // Every balanced example with a horizontal load draws its deformed
        // shape with the factor it is magnified by.
        if (r.Result == 0) {
            EXPECT_NE(kestro::test::ReadText(folder + "/" + stem + "-group.html").find("magnified "),
                      std::string::npos)
                << r.Input;
        }
    }

    // Sweep the horizontal load of case "wind" of the p-y example (its
    // lateral model named relative to the template): the cap's sway grows
    // with it.
    const std::string templ = Example("group/shafts-2x3-py.kgr");
    std::ifstream t(templ);
    std::string line;
    int lineNo = 0;
    for (int i = 1; std::getline(t, line); ++i)
        if (line.rfind("LOAD wind ", 0) == 0) lineNo = i;
    ASSERT_GT(lineNo, 0) << "the example no longer has its wind case";
    const Command s = Kestro("sweep " + templ + " --line " + std::to_string(lineNo) +
                             " --field 3 --values 120000,180000 -o " + dir + "/sweep -q");
    EXPECT_EQ(s.Status, ExitNormal) << s.Out;
    double last = 0.0;
    for (const char* n : {"001", "002"}) {
        const std::string stem = std::string("shafts-2x3-py-") + n;
        const auto g = nlohmann::json::parse(
            kestro::test::ReadText(dir + "/sweep/" + stem + "/" + stem + "-group.json"), nullptr, false);
        ASSERT_TRUE(g.is_object()) << stem;
        EXPECT_EQ(g["run"]["status"], "balanced") << stem;
        const double u = g["cases"][1]["capMovement"]["u"].get<double>();
        EXPECT_GT(u, last) << stem;
        last = u;
    }
}
