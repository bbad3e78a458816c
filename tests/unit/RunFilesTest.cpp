// The run files are never lost: two run files naming one file, paths longer
// than a NAMES.DAT line, output files that cannot be opened and writes that
// fail (a full disk) all end the run with an error, and none of them empties
// a file the run was not asked to write.
#include <gtest/gtest.h>
#include <sys/stat.h>

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
    std::string Stderr;

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
        ::testing::internal::GetCapturedStdout();
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
        EXPECT_TRUE(Has(f.Stderr, c.Text)) << f.Stderr;
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
        EXPECT_TRUE(Has(witness, std::string("Writing the ") + c.What + " failed; the file is incomplete."))
            << witness;
        EXPECT_TRUE(Has(witness, "The analysis ended due to an error. ")) << witness;
        EXPECT_FALSE(Has(witness, "The analysis ended normally. ")) << witness;
        EXPECT_TRUE(Has(f.Stderr, "**** Runtime Error No. 43 ****")) << f.Stderr;
    }
}
