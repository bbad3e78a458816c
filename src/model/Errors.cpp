#include "model/Errors.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "model/Channels.h"

namespace kestro {

void WriteLines(std::ostream& out, std::initializer_list<std::string_view> lines) {
    for (std::string_view l : lines) out << l << '\n';
}

void WriteEmptyLines(std::ostream& out, int n) {
    for (int i = 0; i < n; ++i) out << '\n';
}

void WriteToMessagesAndReport(std::initializer_list<std::string_view> lines) {
    WriteLines(MessageOut(), lines);
    // Before the report is open, both lead to the message log: once is enough.
    if (&ReportOut() != &MessageOut()) WriteLines(ReportOut(), lines);
}

std::string ErrorCode(ErrorKind kind, int number) {
    char code[16];
    std::snprintf(code, sizeof code, kind == ErrorKind::Input ? "INP%05d" : "RUN%05d", number);
    return code;
}

std::string ErrorHeading(ErrorKind kind, int number) {
    char head[64];
    std::snprintf(head, sizeof head,
                  kind == ErrorKind::Input ? "**** Input Data Error No. %d ****" : "**** Runtime Error No. %d ****",
                  number);
    return head;
}

void Fail(ErrorKind kind, int number, const std::function<void(std::ostream&)>& write) {
    write(MessageOut());
    // Before the report is open, both lead to the message log: once is enough.
    if (&ReportOut() != &MessageOut()) write(ReportOut());
    TerminateRun(ErrorCode(kind, number), (kind == ErrorKind::Input ? 100 : 200) + number);
}

void Fail(ErrorKind kind, int number, std::initializer_list<std::string_view> lines) {
    Fail(kind, number, [lines](std::ostream& out) { WriteLines(out, lines); });
}

void Fail(ErrorKind kind, int number, std::string_view problem, std::string_view solution) {
    const std::string head = ErrorHeading(kind, number);
    Fail(kind, number, {"", "", head, "", problem, solution, ""});
}

void InputError(int number, std::string_view problem, std::string_view solution) {
    Fail(ErrorKind::Input, number, problem, solution);
}

namespace {
// The termination line of the error that ended the run, for the message file.
std::string TerminationText;
}  // namespace

const std::string& TerminationLine() { return TerminationText; }
void ClearTerminationLine() { TerminationText.clear(); }

void TerminateRun(std::string_view code, int number) {
    TerminationText.clear();
    if (number >= 1 && number <= 299) {
        std::ostream& out = ReportOut();
        // Input data errors keep the fixed "input error" line that callers
        // parse; every other error (codes RUN...) is a runtime error.
        const bool input = code.substr(0, 3) == "INP";
        TerminationText = std::string("Kestro ended prematurely due to ") + (input ? "input error" : "runtime error") +
                          " number " + std::string(code.substr(0, 8));
        out << "\n\n" << TerminationText << '\n';
        if (number == 125) {
            WriteLines(out, {"", "**** Input Data Error No. 25 ****", "", "",
                             "Length of input file is 0 bytes.  No analysis can be performed."});
        }
    }
    Run.ErrorNumber = number;
}

}  // namespace kestro
