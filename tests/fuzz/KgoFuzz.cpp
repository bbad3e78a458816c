// Coverage-guided fuzzing of the whole run: each input is written as the
// input data file and analysed by KGO, many times in one process, so the
// reader, the echo, the analysis and the run-file handling all meet hostile
// bytes and whatever state earlier runs left behind. Besides the sanitizers'
// findings, every run must end in one of the documented ways:
//   - a run result of 0, 101..199, 201..299, 999 or a warning number;
//   - the completion lines that agree with the result;
//   - no not-a-number or infinite value in a report that ended normally;
//   - no file descriptor left open (descriptors accumulate; a few are allowed
//     for the fuzzer's and the sanitizers' own threads).
// A run that breaks one of these aborts, which libFuzzer records as a finding.

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "kestro/kgo.h"

namespace {

int BaselineDescriptor = -1;
std::string WorkFolder;

void RemoveWorkFolder() {
    std::error_code ec;
    std::filesystem::remove_all(WorkFolder, ec);
}

std::string ReadFile(const char* path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool Has(const std::string& text, const char* what) { return text.find(what) != std::string::npos; }

[[noreturn]] void Finding(const char* what, int result, const std::string& messages) {
    std::fprintf(stderr, "\nKGO fuzz finding: %s (run result %d)\n--- messages (end) ---\n%s\n", what, result,
                 messages.substr(messages.size() > 3000 ? messages.size() - 3000 : 0).c_str());
    std::abort();
}

// The lowest free descriptor: it rises when a run leaves a file open.
int NextDescriptor() {
    const int fd = open("/dev/null", O_RDONLY);
    if (fd >= 0) close(fd);
    return fd;
}

std::string Trimmed(std::string line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.pop_back();
    return line;
}

bool HasLetter(const std::string& line) {
    for (char ch : line)
        if (std::isalpha(static_cast<unsigned char>(ch)) != 0) return true;
    return false;
}

// True when a line of the report prints a value that is not a finite number,
// or a field that overflowed into asterisks (two or more asterisks in a line
// that is not a framed heading such as "**** Warning ****"). Lines restated
// word for word from the input (titles, combination names) are the user's
// text and may say anything.
bool UnprintableValue(const std::string& report, const std::string& input) {
    std::set<std::string> inputLines;
    std::istringstream in(input);
    for (std::string l; std::getline(in, l);) inputLines.insert(Trimmed(l));
    std::istringstream out(report);
    for (std::string l; std::getline(out, l);) {
        const bool nonFinite = Has(l, "Not-a-Number") || Has(l, "NaN") || Has(l, "Infinity");
        const bool asterisks = Has(l, "**") && !(l[0] == '*' && HasLetter(l));
        if (!nonFinite && !asterisks) continue;
        if (inputLines.count(Trimmed(l)) == 0) return true;
    }
    return false;
}

bool ValidResult(int r) {
    return r == 0 || (r >= 101 && r <= 199) || (r >= 201 && r <= 299) || r == 999 || r == -300 ||
           (r <= -1 && r >= -4000);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A private working folder holds NAMES.DAT, the input and the outputs.
    char dir[] = "/tmp/kestro-fuzz-XXXXXX";
    if (mkdtemp(dir) == nullptr || chdir(dir) != 0) {
        std::perror("kestro fuzz: working folder");
        std::exit(1);
    }
    WorkFolder = dir;
    std::atexit(RemoveWorkFolder);
    std::ofstream("NAMES.DAT") << "input.dat\nreport.txt\nplot.txt\nmessages.txt\nFuzz\nKestro\n";
    BaselineDescriptor = NextDescriptor();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream in("input.dat", std::ios::binary | std::ios::trunc);
        in.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const int result = KGO();
    const std::string messages = ReadFile("messages.txt");
    if (!ValidResult(result)) Finding("run result outside the documented values", result, messages);
    if (result > 0 && !Has(messages, "The analysis ended due to an error. "))
        Finding("run ended by an error without its completion line", result, messages);
    if (result < 0 && !Has(messages, "The analysis ended with one or more warning messages."))
        Finding("warning result without the warnings line", result, messages);
    if (result == 0 && !Has(messages, "The analysis ended normally. "))
        Finding("normal end without its line", result, messages);
    // A run that ended without an error (normally or with warnings) prints
    // only finite numbers that fit their fields.
    if (result <= 0 && UnprintableValue(ReadFile("report.txt"), std::string(reinterpret_cast<const char*>(data), size)))
        Finding("value that is not a finite number, or a field of asterisks, in a report that ended without an error",
                result, messages);
    if (NextDescriptor() > BaselineDescriptor + 8) Finding("files left open by the runs", result, messages);
    return 0;
}
