#include "TestSupport.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "kestro/kgo.h"

namespace fs = std::filesystem;

namespace kestro::test {

std::string ReadText(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
}

std::string ScratchDir() {
    std::string tmpl = (fs::temp_directory_path() / "kestro-test-XXXXXX").string();
    if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

RunOutput RunWithNames(const std::string& input, const char* namesText) {
    RunOutput r;
    r.Dir = ScratchDir();
    WriteText(r.Dir + "/input.dat", input);
    if (namesText != nullptr) WriteText(r.Dir + "/NAMES.DAT", namesText);
    fs::path cwd = fs::current_path();
    fs::current_path(r.Dir);
    r.Result = KGO();
    fs::current_path(cwd);
    r.Report = ReadText(r.Dir + "/report.txt");
    r.Plot = ReadText(r.Dir + "/plot.txt");
    r.Messages = ReadText(r.Dir + "/messages.txt");
    r.DefaultMessages = ReadText(r.Dir + "/KESTRO.MSG");
    return r;
}

RunOutput RunInput(const std::string& input, const std::string& user, const std::string& company) {
    std::string names = "input.dat\nreport.txt\nplot.txt\nmessages.txt\n" + user + "\n" + company + "\n";
    return RunWithNames(input, names.c_str());
}

std::string PileInput() {
    return "SECTIONS\n1\n1\n11\n30\n1\n29000000\n24\n24\n452.4\n452.4\n16286\n16286\n"
           "SOIL LAYERS\n1\n13 0 35\n62 1000\n62 1000\n"
           "LOADING\n1\n1 1 0 0 0 1\n0\n";
}

std::string MinimalInput(const std::string& body, const std::string& units) {
    return "KESTRO6\n"
           "TITLE\nTest run\n\n\n\n\n"
           "OPTIONS\n" +
           units +
           "\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
           "ComputeEIOnly NO\nLoading STATIC     1\nIterations 100\nDeflLimit 100.0\nTolerance 1.0E-5\n"
           "Increments 100\nPrintSummaryOnly NO\nPrintIncrement 1\nPrintPYCurves NO\nComputeInteraction NO\n" +
           PileInput() + body + "END\n";
}

}  // namespace kestro::test
