// The run driver: one call of KGO is one analysis run, from NAMES.DAT to the
// completion lines. Every stage returns to the driver, which always reaches
// the completion step, closes the four channels and returns the run result.

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/HeldResults.h"
#include "driver/RunSequence.h"
#include "model/Warnings.h"
#include "input/InputFile.h"
#include "input/InputWarnings.h"
#include "input/KeywordReader.h"
#include "input/Units.h"
#include "kestro/kgo.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/PlotFile.h"
#include "report/ResultsReport.h"

namespace kestro {
namespace {

constexpr const char* RunFileWhat[5] = {"", "input data file", "output report file", "plot output file",
                                        "runtime message file"};

// Set once a failed write has been reported in this run.
bool WriteFailureReported = false;

// A run file error found before the output files are opened goes to the
// engine's message log (the default message file): no output file of the run
// is touched, and nothing is written to a standard stream of the caller.
void WriteBeforeOpenError(int number, std::initializer_list<std::string_view> lines) {
    char head[48];
    std::snprintf(head, sizeof head, "**** Runtime Error No. %d ****", number);
    WriteLines(EngineLog(), {"", "", head, "", ""});
    WriteLines(EngineLog(), lines);
}

std::string Quoted(std::string_view path) { return "\"" + std::string(path) + "\""; }

// An optional seventh line of NAMES.DAT: "ECHO ONLY" asks for a run that
// reads, checks and echoes the input and stops before the analysis. Any other
// seventh line, or none, is an ordinary run.
void ReadRunMode(std::istream& names) {
    std::string line;
    if (!std::getline(names, line)) return;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    Run.b_EchoOnly = line == "ECHO ONLY";
}

// Reads NAMES.DAT; returns false after raising the run file error.
bool ReadNamesFile() {
    std::ifstream names("NAMES.DAT");
    if (!names.is_open()) {
        // A file that is not there is not corrupted: say which it is.
        std::error_code ec;
        const bool exists = std::filesystem::exists("NAMES.DAT", ec);
        WriteLines(MessageOut(), {"", "", "**** Runtime Error No. 2 ****", "", "",
                                  exists ? "File NAMES.DAT in the working directory cannot be opened for reading."
                                         : "File NAMES.DAT was not found in the working directory."});
        TerminateRun("RUN00002", 202);
        return false;
    }
    static constexpr const char* Texts[7] = {"",
                                             "The name of the input data file is corrupted.",
                                             "The name of the output report file is corrupted.",
                                             "The name of the plot output file is corrupted.",
                                             "Name of runtime message file is corrupted",
                                             "User name is corrupted",
                                             "User company name is corrupted"};
    std::string line;
    for (int k = 1; k <= 6; ++k) {
        if (!std::getline(names, line)) {
            char head[48], code[16];
            std::snprintf(head, sizeof head, "**** Runtime Error No. %d ****", k + 2);
            std::snprintf(code, sizeof code, "RUN%05d", k + 2);
            WriteLines(MessageOut(), {"", "", head, "", "", Texts[k]});
            // Error 4 ends the run like the others, so that a corrupt report
            // file name can never pass for a successful run.
            TerminateRun(code, 200 + k + 2);
            return false;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A path is never cut: its first 256 characters may name another,
        // unrelated file. The user and company names are only printed.
        const std::size_t used = line.find_last_not_of(" \t") + 1;  // 0 for a blank line
        if (k <= 4 && used > static_cast<std::size_t>(RecordLength)) {
            WriteBeforeOpenError(ErrPathTooLong,
                                 {"The name of the " + std::string(RunFileWhat[k]) + " in NAMES.DAT is " +
                                      std::to_string(used) + " characters long; at most " +
                                      std::to_string(RecordLength) + " are allowed. No analysis performed.",
                                  "Solution: Use a shorter folder or file name, or a path relative to the working "
                                  "folder."});
            TerminateRun("RUN00042", 200 + ErrPathTooLong);
            return false;
        }
        Run.RunFiles[static_cast<std::size_t>(k)].Set(line);
    }
    ReadRunMode(names);
    return true;
}

bool CheckBlankPaths() {
    static constexpr const char* Texts[5] = {
        "", "Input data filename information corrupted. No analysis performed.",
        "Output filename information is corrupted. No analysis performed.",
        "Plot output filename information is corrupted. No analysis performed.",
        "Run message filename information is corrupted. No analysis performed."};
    for (int k = 1; k <= 4; ++k) {
        std::string_view path = Run.RunFiles[static_cast<std::size_t>(k)].View();
        if (path.find_first_not_of(" \t") == std::string_view::npos) {
            WriteLines(EngineLog(), {"**** Runtime Error No. 17 ****", "", "", Texts[k]});
            TerminateRun("RUN00017", 217);
            return false;
        }
    }
    return true;
}

// The file a run file path names, resolved against the working folder with
// "." and ".." and symbolic links removed as far as the path exists.
std::filesystem::path Resolved(std::string_view path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(path), ec);
    if (ec) return fs::path(path).lexically_normal();
    fs::path r = fs::weakly_canonical(p, ec);
    return ec ? p.lexically_normal() : r;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a == b) return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);  // hard links; false when either is missing
}

// No two of the four run files may name the same file: the report would
// empty the input before it is read, or one output would overwrite another.
// Checked before any file is opened for writing.
bool CheckDistinctRunFiles() {
    std::filesystem::path files[5];
    for (int k = 1; k <= 4; ++k) files[k] = Resolved(Run.RunFiles[static_cast<std::size_t>(k)].View());
    for (int a = 1; a <= 4; ++a) {
        for (int b = a + 1; b <= 4; ++b) {
            if (!SameFile(files[a], files[b])) continue;
            WriteBeforeOpenError(ErrSameRunFile,
                                 {"The " + std::string(RunFileWhat[b]) + " and the " + RunFileWhat[a] +
                                      " in NAMES.DAT name the same file, " + Quoted(files[a].string()) +
                                      ". No analysis performed.",
                                  "Solution: Give the input, output report, plot output and runtime message files "
                                  "four different names."});
            TerminateRun("RUN00041", 200 + ErrSameRunFile);
            return false;
        }
    }
    return true;
}

// No run file may name NAMES.DAT or the engine's message log in the working
// folder: an output would overwrite the run's own file list or the log that
// receives the messages of a refused run, and neither is an input.
bool CheckReservedRunFiles() {
    const char* reserved[2] = {"NAMES.DAT", DefaultMessageFile};
    const char* what[2] = {"the run file list NAMES.DAT itself", "the engine's message log"};
    for (int k = 1; k <= 4; ++k) {
        const std::filesystem::path file = Resolved(Run.RunFiles[static_cast<std::size_t>(k)].View());
        for (int r = 0; r < 2; ++r) {
            if (!SameFile(file, Resolved(reserved[r]))) continue;
            WriteBeforeOpenError(ErrReservedRunFile,
                                 {"The " + std::string(RunFileWhat[k]) + " in NAMES.DAT, " +
                                      Quoted(Run.RunFiles[static_cast<std::size_t>(k)].View()) + ", names " +
                                      what[r] + " (" + reserved[r] + " in the working folder). No analysis performed.",
                                  std::string("Solution: Give the ") + RunFileWhat[k] +
                                      " another name; NAMES.DAT and " + DefaultMessageFile +
                                      " belong to the engine."});
            TerminateRun("RUN00037", 200 + ErrReservedRunFile);
            return false;
        }
    }
    return true;
}

// A run file that cannot be opened after NAMES.DAT was read ends the run with
// Runtime Error 18, naming the file. Nothing has been written to the output
// files then, so the message goes to the default message file.
void ReportOpenFailure(int line) {
    std::string text = std::string("Unable to open the ") + RunFileWhat[line] + " " +
                       Quoted(Run.RunFiles[static_cast<std::size_t>(line)].View()) + ".";
    WriteLines(EngineLog(), {"", "", "**** Runtime Error No. 18 ****", "", "", text,
                              "Check that the file exists (input) or that its folder exists and is writable."});
    TerminateRun("RUN00018", 218);
}

// The input is read whole first, then every output file is checked writable
// before any is emptied.
bool OpenRunFiles() {
    // The input must be a file: a pipe would block the run at the open.
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(std::string(Run.RunFiles[1].View()), ec);
    if ((std::filesystem::exists(st) && !std::filesystem::is_regular_file(st)) ||
        !OpenInput(std::string(Run.RunFiles[1].View()))) {
        ReportOpenFailure(1);
        return false;
    }
    int failed = 0;
    if (!OpenOutputChannels(std::string(Run.RunFiles[2].View()), std::string(Run.RunFiles[3].View()),
                            std::string(Run.RunFiles[4].View()), failed)) {
        ReportOpenFailure(failed);
        return false;
    }
    return true;
}

void CheckInputSize() {
    if (InputSize() < 1) {
        WriteLines(MessageOut(), {"", "", "**** Input Data Error No. 25 ****", "", "",
                                  "Size of input data file is 0 bytes.  No analysis performed.", ""});
        TerminateRun("INP00025", 125);
    }
}

void ReadInputFile() {
    std::string tag;
    if (!TryReadFirstWord(tag)) tag = "3";
    Run.FormatTag.Set(std::string_view(tag).substr(0, 7));
    if (Run.FormatTag.View() == "KESTRO6") {
        ReadKeywordInput();
        return;
    }
    // Older fixed-order layouts are not read by this engine.
    RewindInput();
    std::string problem = "Problem:  The input file begins with \"" + std::string(Run.FormatTag.View()) +
                          "\", which is not a supported input format.";
    InputError(ErrUnsupportedFormat, problem,
               "Solution: Start the input file with the format tag KESTRO6 and write it in the keyword format.");
}

// Writes `lines` to the report and message channels that are open and still
// writable.
void WriteToSoundChannels(int failed, std::initializer_list<std::string_view> lines) {
    if (failed != 4 && OutputChannelOpen(4)) WriteLines(MessageOut(), lines);
    if (failed != 2 && OutputChannelOpen(2)) WriteLines(ReportOut(), lines);
}

void ReportWriteFailure(int channel) {
    WriteFailureReported = true;
    const std::string text = "Writing the " + std::string(RunFileWhat[channel]) + " " +
                             Quoted(Run.RunFiles[static_cast<std::size_t>(channel)].View()) +
                             " failed; the file is incomplete and is not kept: an earlier file of that name is "
                             "left as it was.";
    const char* solution = "Solution: Check that the disk holding the file has free space and run the analysis again.";
    WriteToSoundChannels(channel, {"", "", "**** Runtime Error No. 43 ****", "", "", text, solution});
    // The log also holds it, for a caller whose other files failed as well.
    WriteLines(EngineLog(), {"", "", "**** Runtime Error No. 43 ****", "", "", text, solution});
    TerminateRun("RUN00043", 200 + ErrWriteFailed);
}

void CompleteRun(int& result) {
    // A run that wrote a number as NaN, Infinity or asterisks never ends
    // normally, whatever wrote it.
    if (Run.ErrorNumber == 0 && Run.UnprintableValues > 0) {
        for (std::ostream* out : {&ReportOut(), &MessageOut()}) WriteUnprintableValues(*out, Run.UnprintableValues);
        TerminateRun("RUN00047", 247);
    }
    CheckOutputWrites();
    // An error decides the run result; warnings raised before it are still
    // listed in the summary but never turn a failed run into a finished one.
    // Input warnings count as warnings of a run that went on; after an error
    // the error number stays the result and the warnings stay in the files.
    if (Run.ErrorNumber == 0) RegisterInputWarnings();
    if (Run.ErrorNumber > 0) {
        // The message file names the error by its number too, whatever text
        // the error block had.
        if (OutputChannelOpen(4) && !TerminationLine().empty()) WriteLines(MessageOut(), {"", TerminationLine()});
        WriteToMessagesAndReport({"", "The analysis ended due to an error. ", ""});
    }
    result = Run.ErrorNumber;
    // One outcome everywhere: the completion line of the message file, the
    // summary of the report and the run result all follow from the kinds of
    // warning the run raised.
    if (CountWarningKinds() > 0) {
        WriteLines(MessageOut(), {"", "", "The analysis ended with one or more warning messages.", "", ""});
        WriteWarningSummary(ReportOut());
        if (result <= 0) {
            if (Warnings.LastWarningCount > 1)
                result = -300;
            else if (Warnings.LastWarningCount == 1)
                result = LastWarningRaised();
        }
    }
    if (result == 0) {
        WriteToMessagesAndReport({"", "The analysis ended normally. ", ""});
    }
    // The completion lines themselves may be what no longer fits.
    if (!WriteFailureReported && !CheckOutputWrites())
        WriteToSoundChannels(FailedOutputChannel(), {"", "The analysis ended due to an error. ", ""});
    CloseInput();
    if (!CloseOutputChannels() && !WriteFailureReported) {
        WriteLines(EngineLog(), {"", "", "**** Runtime Error No. 43 ****", "", "",
                                 "Closing the output files failed; a file that could not be completed is not kept: "
                                 "an earlier file of that name is left as it was.",
                                 "Solution: Check that the disk holding the files has free space and run the "
                                 "analysis again."});
        CloseEngineLog();
        Run.ErrorNumber = 200 + ErrWriteFailed;
    }
    if (WriteFailureReported || Run.ErrorNumber == 200 + ErrWriteFailed) result = 200 + ErrWriteFailed;
}

}  // namespace

bool CheckOutputWrites() {
    if (WriteFailureReported) return false;
    const int channel = FailedOutputChannel();
    if (channel == 0) return true;
    ReportWriteFailure(channel);
    return false;
}

int RunAnalysis() {
    WriteFailureReported = false;
    ClearTerminationLine();
    SetInRun(true);
    // The large arrays of the model store (about 7.6 MB) start out in their
    // empty state when the process starts; clearing them again on the first
    // run would only make the kernel supply every page of them. Every later
    // run clears them, so nothing of one run reaches the next.
    static bool b_StoreUsed = false;
    if (b_StoreUsed) {
        ResetModelStore();
    } else {
        ResetRunState();
        ResetWarningRegistry();
        ResetInputWarnings();
        ClearHeldResults();
    }
    b_StoreUsed = true;

    if (ReadNamesFile() && CheckBlankPaths() && CheckReservedRunFiles() && CheckDistinctRunFiles() &&
        OpenRunFiles()) {
        CheckInputSize();
        if (!Failed()) ReadInputFile();
        if (!Failed()) RunStages();
    }
    int result = 0;
    CompleteRun(result);
    SetInRun(false);
    return result;
}

}  // namespace kestro

namespace {
// The model store is process-wide: one run at a time. A second caller waits
// here until the first run has closed its files.
std::mutex RunLock;
}  // namespace

extern "C" int32_t KGO(void) {
    std::lock_guard<std::mutex> hold(RunLock);
    try {
        return kestro::RunAnalysis();
    } catch (...) {
        // Nothing may escape the engine: an unexpected failure is a silent stop.
        kestro::Run.ErrorNumber = 999;
        try {
            kestro::SetInRun(false);
            kestro::CloseInput();
            kestro::CloseOutputChannels();
        } catch (...) {
        }
        return 999;
    }
}
