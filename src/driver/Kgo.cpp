// The run driver: one call of KGO is one analysis run, from NAMES.DAT to the
// completion lines. Every stage returns to the driver, which always reaches
// the completion step, closes the four channels and returns the run result.

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <ostream>
#include <string>
#include <system_error>

#include "driver/Channels.h"
#include "driver/Errors.h"
#include "driver/RunSequence.h"
#include "driver/Warnings.h"
#include "input/InputFile.h"
#include "input/InputWarnings.h"
#include "input/KeywordReader.h"
#include "input/Units.h"
#include "kestro/kgo.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/PlotFile.h"

namespace kestro {
namespace {

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
            std::fprintf(stderr, "**** Runtime Error No. 17 ****\n\n\n%s\n", Texts[k]);
            std::fflush(stderr);
            TerminateRun("RUN00017", 217);
            return false;
        }
    }
    return true;
}

// A run file that cannot be opened after NAMES.DAT was read ends the run with
// Runtime Error 18, naming the file.
void ReportOpenFailure(int line) {
    static constexpr const char* What[5] = {"", "input data file", "output report file", "plot output file",
                                            "runtime message file"};
    std::string text = std::string("Unable to open the ") + What[line] + " \"" +
                       std::string(Run.RunFiles[static_cast<std::size_t>(line)].View()) + "\".";
    WriteLines(MessageOut(), {"", "", "**** Runtime Error No. 18 ****", "", "", text,
                              "Check that the file exists (input) or that its folder exists and is writable."});
    TerminateRun("RUN00018", 218);
}

bool OpenRunFiles() {
    std::string input(Run.RunFiles[1].View());
    int failed = 0;
    if (!OpenOutputChannels(std::string(Run.RunFiles[2].View()), std::string(Run.RunFiles[3].View()),
                            std::string(Run.RunFiles[4].View()), failed)) {
        ReportOpenFailure(failed);
        return false;
    }
    if (!OpenInput(input)) {
        ReportOpenFailure(1);
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

void CompleteRun(int& result) {
    // Input warnings count as warnings of a run that went on; after an error
    // the error number stays the result and the warnings stay in the files.
    if (Run.ErrorNumber == 0) RegisterInputWarnings();
    result = Run.ErrorNumber;
    if (Run.ErrorNumber > 0) {
        WriteLines(MessageOut(), {"", "The analysis ended due to an error. ", ""});
        WriteLines(ReportOut(), {"", "The analysis ended due to an error. ", ""});
    }
    if (Warnings.LastWarningCount > 0) {
        WriteLines(MessageOut(), {"", "", "The analysis ended with one or more warning messages.", "", ""});
        WriteWarningSummary(ReportOut());
        if (Warnings.LastWarningCount > 1)
            result = -300;
        else if (Warnings.LastWarningCount == 1)
            result = LastWarningRaised();
    }
    if (result == 0) {
        WriteLines(MessageOut(), {"", "The analysis ended normally. ", ""});
        WriteLines(ReportOut(), {"", "The analysis ended normally. ", ""});
    }
    CloseInput();
    CloseOutputChannels();
}

}  // namespace

int RunAnalysis() {
    ResetRunState();
    ResetProblemData();
    ResetWarningRegistry();
    ResetInputWarnings();
    ResetAnalysisState();

    if (ReadNamesFile() && CheckBlankPaths() && OpenRunFiles()) {
        CheckInputSize();
        if (!Failed()) ReadInputFile();
        if (!Failed()) RunStages();
    }
    int result = 0;
    CompleteRun(result);
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
            kestro::CloseInput();
            kestro::CloseOutputChannels();
        } catch (...) {
        }
        return 999;
    }
}
