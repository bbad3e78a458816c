// The run files are never lost: two run files naming one file, paths longer
// than a NAMES.DAT line, output files that cannot be opened and writes that
// fail (a full disk) all end the run with an error, and none of them empties
// a file the run was not asked to write.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "kestro/kgo.h"

namespace fs = std::filesystem;
using kestro::test::MinimalInput;
using kestro::test::ReadText;
using kestro::test::ScratchDir;
using kestro::test::WriteText;

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

const std::string PreviousReport = "previous report\n";
const std::string PreviousPlot = "previous plot\n";
const std::string PreviousMessages = "previous messages\n";

// A folder holding the input, the output files of an earlier run and the
// given NAMES.DAT; `prepare` may add files before KGO runs there.
struct Folder {
    std::string Dir = ScratchDir();
    std::string Input = MinimalInput();
    int Result = 0;
    std::string Stdout, Stderr;

    Folder() {
        WriteText(Dir + "/input.dat", Input);
        WriteText(Dir + "/report.txt", PreviousReport);
        WriteText(Dir + "/plot.txt", PreviousPlot);
        WriteText(Dir + "/messages.txt", PreviousMessages);
    }
    std::string Path(const std::string& name) const { return Dir + "/" + name; }
    std::string Text(const std::string& name) const { return ReadText(Path(name)); }
    void Run(const std::string& names) {
        WriteText(Path("NAMES.DAT"), names);
        const fs::path cwd = fs::current_path();
        fs::current_path(Dir);
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        Result = KGO();
        Stdout = ::testing::internal::GetCapturedStdout();
        Stderr = ::testing::internal::GetCapturedStderr();
        fs::current_path(cwd);
    }
    // The input and the earlier run's files are exactly as they were.
    void ExpectUntouched() const {
        EXPECT_EQ(Text("input.dat"), Input);
        EXPECT_EQ(Text("report.txt"), PreviousReport);
        EXPECT_EQ(Text("plot.txt"), PreviousPlot);
        EXPECT_EQ(Text("messages.txt"), PreviousMessages);
    }
};

std::string Names(const std::string& input, const std::string& report, const std::string& plot,
                  const std::string& messages) {
    return input + "\n" + report + "\n" + plot + "\n" + messages + "\nUser\nCompany\n";
}

// The four paths of one NAMES.DAT and a text the message must hold.
struct FilesCase {
    const char* Name;
    const char* Input;
    const char* Report;
    const char* Plot;
    const char* Messages;
    const char* Text;
};

}  // namespace

// Any two of the four run files naming one file, however the paths are
// spelled, end the run with Runtime Error 41 before anything is opened for
// writing: the input is never emptied before it is read and no output
// overwrites another.
TEST(RunFiles, TwoRunFilesNamingOneFileAreRefused) {
    const FilesCase cases[] = {
        {"report_is_input", "input.dat", "input.dat", "plot.txt", "messages.txt",
         "The output report file and the input data file in NAMES.DAT name the same file"},
        {"report_is_input_by_dotdot", "input.dat", "sub/../input.dat", "plot.txt", "messages.txt",
         "The output report file and the input data file"},
        {"plot_is_report", "input.dat", "report.txt", "report.txt", "messages.txt",
         "The plot output file and the output report file"},
        {"messages_is_plot_by_dot", "input.dat", "report.txt", "plot.txt", "./plot.txt",
         "The runtime message file and the plot output file"},
        {"messages_is_input_absolute", "input.dat", "report.txt", "plot.txt", "@/input.dat",
         "The runtime message file and the input data file"},
        {"plot_through_symbolic_link", "input.dat", "report.txt", "link.txt", "messages.txt",
         "The plot output file and the output report file"},
        {"report_is_hard_link_of_input", "input.dat", "hard.dat", "plot.txt", "messages.txt",
         "The output report file and the input data file"},
    };
    for (const FilesCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Folder f;
        fs::create_directory(f.Path("sub"));
        fs::create_symlink("report.txt", f.Path("link.txt"));
        fs::create_hard_link(f.Path("input.dat"), f.Path("hard.dat"));
        auto resolve = [&](std::string p) { return p[0] == '@' ? f.Dir + p.substr(1) : p; };
        f.Run(Names(resolve(c.Input), resolve(c.Report), resolve(c.Plot), resolve(c.Messages)));
        EXPECT_EQ(f.Result, 241);
        f.ExpectUntouched();
        const std::string msg = f.Text("KESTRO.MSG");
        EXPECT_TRUE(Has(msg, "**** Runtime Error No. 41 ****")) << msg;
        EXPECT_TRUE(Has(msg, c.Text)) << msg;
        EXPECT_TRUE(Has(msg, "The analysis ended due to an error. ")) << msg;
        EXPECT_EQ(f.Stdout + f.Stderr, "");
    }
    Folder distinct;
    distinct.Run(Names("input.dat", "report.txt", "plot.txt", "messages.txt"));
    EXPECT_EQ(distinct.Result, 0);
}

// A path is never cut at 256 characters: a longer one ends the run with
// Runtime Error 42, and the file named by its first 256 characters is left
// alone. 256 characters (trailing blanks aside) are accepted.
TEST(RunFiles, PathsLongerThan256CharactersAreRefused) {
    Folder f;
    const std::string dir(200, 'd');
    fs::create_directory(f.Path(dir));
    const std::string path256 = dir + "/" + std::string(55, 'r');   // 200 + 1 + 55
    ASSERT_EQ(path256.size(), 256u);
    WriteText(f.Path(path256), "unrelated file\n");
    struct Case { std::string Input, Report, Plot; int Result; const char* Text; };
    const Case cases[] = {
        {"input.dat", path256 + "x", "plot.txt", 242,
         "The name of the output report file in NAMES.DAT is 257 characters long; at most 256 are allowed."},
        {"input.dat", "report.txt", path256 + "x", 242, "The name of the plot output file in NAMES.DAT is 257"},
        {dir + "/" + std::string(56, 'i'), "report.txt", "plot.txt", 242,
         "The name of the input data file in NAMES.DAT is 257"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        f.Run(Names(c.Input, c.Report, c.Plot, "messages.txt"));
        EXPECT_EQ(f.Result, c.Result);
        f.ExpectUntouched();
        EXPECT_EQ(f.Text(path256), "unrelated file\n");
        EXPECT_FALSE(fs::exists(f.Path(path256 + "x")));
        EXPECT_TRUE(Has(f.Text("KESTRO.MSG"), "**** Runtime Error No. 42 ****"));
        EXPECT_TRUE(Has(f.Text("KESTRO.MSG"), c.Text)) << f.Text("KESTRO.MSG");
    }
    // Exactly 256 characters, with blanks after them, name the file in full.
    f.Run(Names("input.dat", path256 + "    ", "plot.txt", "messages.txt"));
    EXPECT_EQ(f.Result, 0);
    EXPECT_TRUE(Has(f.Text(path256), "The analysis ended normally. "));
}

// Every run file is checked before any output is emptied: an input that is
// missing or no file, or an output that cannot be opened (or would block the
// run: a pipe), ends the run with Runtime Error 18 and leaves the earlier run's report, plot and messages as they were (and
// creates none of them).
TEST(RunFiles, NoOutputIsEmptiedWhenAnyRunFileCannotBeOpened) {
    const FilesCase cases[] = {
        {"missing_input", "nosuch.dat", "report.txt", "plot.txt", "messages.txt", "input data file \"nosuch.dat\""},
        {"report_folder_missing", "input.dat", "nodir/report.txt", "new-plot.txt", "new-messages.txt",
         "output report file \"nodir/report.txt\""},
        {"plot_folder_missing", "input.dat", "report.txt", "nodir/plot.txt", "new-messages.txt",
         "plot output file \"nodir/plot.txt\""},
        {"messages_folder_missing", "input.dat", "new-report.txt", "new-plot.txt", "nodir/messages.txt",
         "runtime message file \"nodir/messages.txt\""},
        // A pipe would block the run at its open; a folder is no file.
        {"input_is_a_pipe", "pipe", "report.txt", "plot.txt", "messages.txt", "input data file \"pipe\""},
        {"input_is_a_folder", "folder", "report.txt", "plot.txt", "messages.txt", "input data file \"folder\""},
        {"plot_is_a_pipe", "input.dat", "report.txt", "pipe", "messages.txt", "plot output file \"pipe\""},
        {"report_is_a_folder", "input.dat", "folder", "new-plot.txt", "messages.txt",
         "output report file \"folder\""},
    };
    for (const FilesCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Folder f;
        fs::create_directory(f.Path("folder"));
        ASSERT_EQ(mkfifo(f.Path("pipe").c_str(), 0600), 0);
        f.Run(Names(c.Input, c.Report, c.Plot, c.Messages));
        EXPECT_EQ(f.Result, 218);
        f.ExpectUntouched();
        for (const char* created : {"new-report.txt", "new-plot.txt", "new-messages.txt"})
            EXPECT_FALSE(fs::exists(f.Path(created))) << created;
        EXPECT_TRUE(Has(f.Text("KESTRO.MSG"), "**** Runtime Error No. 18 ****"));
        EXPECT_TRUE(Has(f.Text("KESTRO.MSG"), c.Text)) << f.Text("KESTRO.MSG");
        // The termination line and the reason are in the log, never on the
        // caller's standard streams.
        EXPECT_TRUE(Has(f.Text("KESTRO.MSG"), "Kestro ended prematurely due to runtime error number RUN00018"));
        EXPECT_EQ(f.Stdout + f.Stderr, "");
        for (const char* partial : {"report.txt.part", "plot.txt.part", "messages.txt.part"})
            EXPECT_FALSE(fs::exists(f.Path(partial))) << partial;
    }
}

// A write that fails (the full-disk device) ends the run with Runtime Error
// 43 whatever the analysis gave; the message names the file and lands in the
// other files.
TEST(RunFiles, FailedWritesEndTheRunWithAnError) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no full-disk device on this system";
    struct Case { const char* Report; const char* Plot; const char* Messages; const char* Witness; const char* What; };
    const Case cases[] = {
        {"/dev/full", "plot.txt", "messages.txt", "messages.txt", "output report file \"/dev/full\""},
        {"report.txt", "/dev/full", "messages.txt", "report.txt", "plot output file \"/dev/full\""},
        {"report.txt", "plot.txt", "/dev/full", "report.txt", "runtime message file \"/dev/full\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Folder f;
        f.Run(Names("input.dat", c.Report, c.Plot, c.Messages));
        EXPECT_EQ(f.Result, 243);
        const std::string witness = f.Text(c.Witness);
        EXPECT_TRUE(Has(witness, "**** Runtime Error No. 43 ****")) << witness;
        EXPECT_TRUE(Has(witness, std::string("Writing the ") + c.What + " failed; the file is incomplete and is not kept"))
            << witness;
        EXPECT_TRUE(Has(witness, "The analysis ended due to an error. ")) << witness;
        EXPECT_FALSE(Has(witness, "The analysis ended normally. ")) << witness;
        EXPECT_TRUE(Has(f.Text("KESTRO.MSG"), "**** Runtime Error No. 43 ****"));
        EXPECT_EQ(f.Stdout + f.Stderr, "");
    }
}

// No run file may name NAMES.DAT or the engine's message log: Runtime Error
// 37 before anything is written, and both files stay as they were (the log
// then holds only the refusal).
TEST(RunFiles, NamesFileAndMessageLogAreNeverRunFiles) {
    const FilesCase cases[] = {
        {"report_is_names", "input.dat", "NAMES.DAT", "plot.txt", "messages.txt",
         "The output report file in NAMES.DAT, \"NAMES.DAT\", names the run file list NAMES.DAT itself"},
        {"plot_is_names_by_path", "input.dat", "report.txt", "@/NAMES.DAT", "messages.txt",
         "The plot output file in NAMES.DAT"},
        {"messages_is_log", "input.dat", "report.txt", "plot.txt", "KESTRO.MSG",
         "The runtime message file in NAMES.DAT, \"KESTRO.MSG\", names the engine's message log"},
        {"report_is_log_by_dot", "input.dat", "./KESTRO.MSG", "plot.txt", "messages.txt",
         "names the engine's message log"},
        {"input_is_names", "NAMES.DAT", "report.txt", "plot.txt", "messages.txt",
         "The input data file in NAMES.DAT, \"NAMES.DAT\", names the run file list"},
    };
    for (const FilesCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Folder f;
        auto resolve = [&](std::string p) { return p[0] == '@' ? f.Dir + p.substr(1) : p; };
        const std::string names = Names(resolve(c.Input), resolve(c.Report), resolve(c.Plot), resolve(c.Messages));
        f.Run(names);
        EXPECT_EQ(f.Result, 237);
        f.ExpectUntouched();
        EXPECT_EQ(f.Text("NAMES.DAT"), names);
        const std::string log = f.Text("KESTRO.MSG");
        EXPECT_TRUE(Has(log, "**** Runtime Error No. 37 ****")) << log;
        EXPECT_TRUE(Has(log, c.Text)) << log;
        EXPECT_TRUE(Has(log, "Kestro ended prematurely due to runtime error number RUN00037")) << log;
        EXPECT_TRUE(Has(log, "The analysis ended due to an error. ")) << log;
        EXPECT_EQ(f.Stdout + f.Stderr, "");
    }
}

// Outputs are written to partial files beside their final names and renamed
// into place when complete. A write that fails partway (file size limited to
// 12 KiB, as a small disk that fills) leaves the earlier report as it was and
// no partial file; a run killed partway (the same limit, with its signal left
// to end the process) leaves every earlier file as it was. A complete run
// replaces them and leaves no partial file.
TEST(RunFiles, OutputsAreReplacedOnlyWhenComplete) {
    const std::string parts[3] = {"report.txt.part", "plot.txt.part", "messages.txt.part"};
    const rlim_t limit = 12 * 1024;
    {
        SCOPED_TRACE("write fails");
        Folder f;
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit small = old;
        small.rlim_cur = limit;
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        f.Run(Names("input.dat", "report.txt", "plot.txt", "messages.txt"));
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        EXPECT_EQ(f.Result, 243);
        EXPECT_EQ(f.Text("report.txt"), PreviousReport);
        const std::string msg = f.Text("messages.txt");
        EXPECT_TRUE(Has(msg, "Writing the output report file \"report.txt\" failed")) << msg;
        EXPECT_TRUE(Has(msg, "an earlier file of that name is left as it was")) << msg;
        EXPECT_TRUE(Has(msg, "The analysis ended due to an error. ")) << msg;
        for (const std::string& p : parts) EXPECT_FALSE(fs::exists(f.Path(p))) << p;
        EXPECT_EQ(f.Stdout + f.Stderr, "");
    }
    {
        SCOPED_TRACE("killed");
        Folder f;
        WriteText(f.Path("NAMES.DAT"), Names("input.dat", "report.txt", "plot.txt", "messages.txt"));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            rlimit small{limit, limit};
            std::signal(SIGXFSZ, SIG_DFL);
            if (chdir(f.Dir.c_str()) != 0 || setrlimit(RLIMIT_FSIZE, &small) != 0) _exit(3);
            KGO();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the run was not stopped by its file size limit";
        EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
        f.ExpectUntouched();
    }
    {
        SCOPED_TRACE("complete");
        Folder f;
        f.Run(Names("input.dat", "report.txt", "plot.txt", "messages.txt"));
        EXPECT_EQ(f.Result, 0);
        EXPECT_TRUE(Has(f.Text("report.txt"), "The analysis ended normally. "));
        EXPECT_TRUE(Has(f.Text("plot.txt"), "Line 1"));
        EXPECT_TRUE(Has(f.Text("messages.txt"), "The analysis ended normally. "));
        for (const std::string& p : parts) EXPECT_FALSE(fs::exists(f.Path(p))) << p;
        EXPECT_FALSE(fs::exists(f.Path("KESTRO.MSG")));
    }
}
