// The kestro command: arguments, run folder, NAMES.DAT, outcome line and exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Cli.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using kestro::cli::Main;

namespace {
struct CliRun {
    int Status;
    std::string Out, Err;
};
CliRun RunCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int status = Main(args, out, err);
    return {status, out.str(), err.str()};
}
}  // namespace

TEST(Cli, UsageErrorsExit64) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"run"}, {"run", "a.kin", "b.kin"}, {"run", "a.kin", "-o"}, {"run", "--bogus", "a.kin"}}) {
        auto r = RunCli(args);
        EXPECT_EQ(r.Status, kestro::cli::ExitUsage);
        EXPECT_NE(r.Err.find("Usage: kestro run INPUT"), std::string::npos);
    }
}

TEST(Cli, HelpAndVersion) {
    auto h = RunCli({"--help"});
    EXPECT_EQ(h.Status, 0);
    EXPECT_NE(h.Out.find("Exit status: 0 ended normally; 1 ended with warnings; 2 ended by an error"), std::string::npos);
    auto v = RunCli({"--version"});
    EXPECT_EQ(v.Status, 0);
    EXPECT_EQ(v.Out, "kestro 6.0.20\n");
}

TEST(Cli, RunWritesNamesFileAndOutputs) {
    std::string dir = kestro::test::ScratchDir();
    kestro::test::WriteText(dir + "/case.kin", kestro::test::MinimalInput());
    auto r = RunCli({"run", dir + "/case.kin", "--user", "A. Engineer", "--company", "Acme Foundations", "-q"});
    EXPECT_EQ(r.Status, 0) << r.Out << r.Err;
    EXPECT_EQ(r.Out.rfind("The analysis ended normally; run result 0.\n", 0), 0u) << r.Out;
    fs::path out = fs::path(dir) / "case-output";
    std::string names = kestro::test::ReadText((out / "NAMES.DAT").string());
    EXPECT_EQ(names, (fs::path(dir) / "case.kin").string() +
                         "\ncase-report.txt\ncase-plot.txt\ncase-messages.txt\nA. Engineer\nAcme Foundations\n");
    std::string report = kestro::test::ReadText((out / "case-report.txt").string());
    EXPECT_NE(report.find("A. Engineer\nAcme Foundations\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(out / "case-plot.txt"));
    EXPECT_TRUE(r.Err.empty()) << "quiet run printed progress: " << r.Err;
}

TEST(Cli, ErrorRunExits2AndNamesTheCode) {
    std::string dir = kestro::test::ScratchDir();
    kestro::test::WriteText(dir + "/bad.kin", kestro::test::MinimalInput("NONSENSE\n"));
    auto r = RunCli({"run", dir + "/bad.kin", "-o", dir + "/out"});
    EXPECT_EQ(r.Status, kestro::cli::ExitError);
    EXPECT_NE(r.Out.find("The analysis ended by error 199 (INP00099); run result 199."), std::string::npos) << r.Out;
    // Progress lines of the message file are echoed while the engine runs.
    EXPECT_NE(r.Err.find("The analysis ended due to an error."), std::string::npos) << r.Err;
    auto missing = RunCli({"run", dir + "/nothere.kin"});
    EXPECT_EQ(missing.Status, kestro::cli::ExitCannotStart);
}

TEST(Cli, OutcomeClassification) {
    using kestro::cli::Classify;
    auto warn = Classify(-302, "The analysis ended with one or more warning messages.", "");
    EXPECT_EQ(kestro::cli::ExitStatusFor(warn), kestro::cli::ExitWarnings);
    // Warnings replace the error number in the run result; the message file still tells the error.
    auto both = Classify(-300, "The analysis ended due to an error. \nThe analysis ended with one or more warning messages.",
                         "Kestro ended prematurely due to runtime error number RUN00010");
    EXPECT_EQ(kestro::cli::ExitStatusFor(both), kestro::cli::ExitError);
    EXPECT_EQ(kestro::cli::OutcomeLine(both), "The analysis ended by error (RUN00010), with warnings; run result -300.");
    EXPECT_EQ(kestro::cli::ExitStatusFor(Classify(0, "The analysis ended normally. ", "")), 0);
}
