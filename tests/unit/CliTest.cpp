// The kestro command: arguments, run folder, NAMES.DAT, outcome line and exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Cli.h"
#include "CliTestSupport.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using kestro::cli::Main;

namespace {
using kestro::test::CliRun;
using kestro::test::RunCli;
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
    EXPECT_NE(h.Out.find("Exit status: 0 ended normally (check: no problem found); 1 ended with\n"
                         "warnings; 2 ended by an error"),
              std::string::npos);
    EXPECT_NE(h.Out.find("  -q, --quiet          print only the outcome line, for an error its reason"), std::string::npos);
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
    // The error's own text follows the outcome: the block of error 99 is in
    // the message file, so the progress echo has shown it already, once.
    EXPECT_NE(r.Err.find("The following line is unrecognized or is out-of-order"), std::string::npos) << r.Err;
}

// The command could not run or could not write a results file (sysexits 66
// and 73) against an analysis that ran and ended by an error (2).
TEST(Cli, ExitStatusPerFailureKind) {
    const std::string dir = kestro::test::ScratchDir();
    kestro::test::WriteText(dir + "/good.kin", kestro::test::MinimalInput());
    kestro::test::WriteText(dir + "/bad.kin",
                            kestro::test::MinimalInput("SECTIONS\n1\n1\n1\n30\n24\n4000\n1\nUse no concrete\n"));
    kestro::test::WriteText(dir + "/a-file", "x");
    // A folder in the place of the results JSON: the analysis ends normally,
    // its results file cannot be written, and the command must not say success.
    std::filesystem::create_directories(dir + "/blocked/good-results.json");
    struct Case {
        std::vector<std::string> Args;
        int Status;
        const char* Err;  // expected on the error stream
    };
    const Case cases[] = {
        {{"run", dir + "/nothere.kin"}, kestro::cli::ExitNoInput, "kestro: cannot read input file"},
        {{"run", dir}, kestro::cli::ExitNoInput, "is a folder, not an input file"},
        {{"check", dir + "/nothere.kin"}, kestro::cli::ExitNoInput, "kestro: cannot read input file"},
        {{"run", dir + "/good.kin", "-o", dir + "/a-file/out"}, kestro::cli::ExitCantCreate,
         "kestro: cannot create output folder"},
        // The reason reaches the terminal through the message file.
        {{"run", dir + "/bad.kin", "-o", dir + "/bad-out"}, kestro::cli::ExitError,
         "INPUT ERROR - Unrecognized command for concrete tensile strength option\n"},
        {{"run", dir + "/bad.kin", "-o", dir + "/bad-out", "-q"}, kestro::cli::ExitError, ""},
        {{"run", dir + "/good.kin", "-q"}, kestro::cli::ExitNormal, ""},
        {{"run", dir + "/good.kin", "-o", dir + "/blocked", "-q"}, kestro::cli::ExitCantCreate, "cannot write"},
    };
    for (const Case& c : cases) {
        auto r = RunCli(c.Args);
        EXPECT_EQ(r.Status, c.Status) << c.Args[1] << r.Err;
        if (*c.Err == '\0')
            EXPECT_TRUE(r.Err.empty()) << r.Err;
        else
            EXPECT_NE(r.Err.find(c.Err), std::string::npos) << r.Err;
    }
}

// kestro check: the input is read, checked and echoed, never analysed; each
// problem is printed with its line; exit 0 only when nothing was found.
TEST(Cli, CheckReadsAndEchoesOnly) {
    const std::string dir = kestro::test::ScratchDir();
    const std::string good = kestro::test::MinimalInput();
    std::string gap = good;
    gap.replace(gap.find("13 0 35\n62 1000\n62 1000\n"), 24, "13 0 10\n62 1000\n62 1000\n13 12 35\n62 1000\n62 1000\n");
    gap.replace(gap.find("SOIL LAYERS\n1\n"), 14, "SOIL LAYERS\n2\n");
    std::string thousands = good;
    thousands.replace(thousands.find("29000000"), 8, "29,000,000");
    struct Case {
        const char* Name;
        std::string Input;
        int Status;
        const char* Out;
        const char* Err;
    };
    const Case cases[] = {
        {"good", good, kestro::cli::ExitNormal, "The input was read and checked: no problem found.\n", ""},
        {"gap", gap, kestro::cli::ExitError, "The input has an error (INP00069); run result 169.\n",
         "Problem:  Soil layer 2 (line 43) starts at 12 ft, but soil layer 1 ends at 10 ft"},
        // 29,000,000 would be read as 29 psi: an input error.
        {"thousands", thousands, kestro::cli::ExitError, "The input has an error (INP00032); run result 132.\n",
         "Problem:  Line 31 holds more values than are read"},
    };
    for (const Case& c : cases) {
        const std::string file = dir + "/" + c.Name + ".kin";
        kestro::test::WriteText(file, c.Input);
        auto r = RunCli({"check", file});
        EXPECT_EQ(r.Status, c.Status) << c.Name << r.Out << r.Err;
        EXPECT_EQ(r.Out, c.Out) << c.Name;
        EXPECT_NE(r.Err.find(c.Err), std::string::npos) << c.Name << ": " << r.Err;
        // Only the echo: no result pages, and the temporary folder is gone.
        EXPECT_FALSE(fs::exists(dir + "/" + c.Name + "-output")) << c.Name;
    }
    auto kept = RunCli({"check", dir + "/good.kin", "-o", dir + "/kept"});
    EXPECT_EQ(kept.Status, 0);
    const std::string report = kestro::test::ReadText(dir + "/kept/good-report.txt");
    EXPECT_NE(report.find("The input was read, checked and echoed only (ECHO ONLY in NAMES.DAT); no analysis was run."),
              std::string::npos);
    EXPECT_EQ(report.find("Computed Values of Pile Loading and Deflection"), std::string::npos);
    EXPECT_NE(kestro::test::ReadText(dir + "/kept/NAMES.DAT").find("\nECHO ONLY\n"), std::string::npos);
}

TEST(Cli, ErrorTextIsTheBlockBeforeTheTerminationLine) {
    const std::string report =
        "header\n\n\n**** Input Data Error No. 69 ****\n\nProblem:  A\nSolution: B\n\n\n\n"
        "Kestro ended prematurely due to input error number INP00069\n";
    EXPECT_EQ(kestro::cli::ErrorText(report, ""), "**** Input Data Error No. 69 ****\nProblem:  A\nSolution: B\n");
    // Without a termination line in the report: the message file's last block.
    EXPECT_EQ(kestro::cli::ErrorText("", "\n**** Runtime Error No. 2 ****\n\nFile NAMES.DAT was not found.\n\n"
                                         "The analysis ended due to an error. \n"),
              "**** Runtime Error No. 2 ****\nFile NAMES.DAT was not found.\n");
}

// The one-line reason the batch summary gives: the heading without its frame
// and the "Problem:" statement, not the line before it; without a statement,
// the lines up to the solution as sentences; nothing when no error is found.
TEST(Cli, ErrorReasonIsOneLine) {
    const std::string end = "\nThe analysis ended due to an error. \n";
    struct ReasonCase {
        std::string Messages;
        const char* Expected;
    };
    for (const ReasonCase& c : {
             ReasonCase{"\n**** Input Data Error No. 32 ****\n\nProblem:  The value of E is 0,  outside its range.\n"
                        "Solution: Correct it.\n" + end,
                        "Input Data Error No. 32: The value of E is 0, outside its range."},
             ReasonCase{"**** Runtime Error No. 9 ****\nAn error in the analysis was detected by the program.  \n"
                        "Problem:  The computed deflection is too large.\nSolution:\nCheck the loads.\n" + end,
                        "Runtime Error No. 9: The computed deflection is too large."},
             ReasonCase{"***** Input Data Error No. 97 *****\n\n\nInput appears to be out-of-order for LRFD loading\n"
                        "Input load number is 3\n and the expected load number is 2\n\n" + end,
                        "Input Data Error No. 97: Input appears to be out-of-order for LRFD loading. Input load "
                        "number is 3 and the expected load number is 2"},
             ReasonCase{"**** Input Data Error No. 53 ****\n" + end, "Input Data Error No. 53"},
             ReasonCase{"The analysis ended normally.\n", ""}}) {
        EXPECT_EQ(kestro::cli::ErrorReason("", c.Messages), c.Expected) << c.Messages;
    }
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
