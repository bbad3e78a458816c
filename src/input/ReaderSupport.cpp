#include "input/ReaderSupport.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "driver/Channels.h"
#include "driver/Errors.h"
#include "input/InputFile.h"
#include "model/ProblemData.h"

namespace kestro {

bool CountWithin(int n, int lo, int hi, std::string_view item) {
    if (n >= lo && n <= hi) return true;
    std::string problem = "Problem:  The number of " + std::string(item) + " is " + std::to_string(n) +
                          ", outside the valid range of " + std::to_string(lo) + " to " + std::to_string(hi) + ".";
    std::string solution = "Solution: Give from " + std::to_string(lo) + " to " + std::to_string(hi) + " " +
                           std::string(item) + " in the input data.";
    InputError(ErrCountOutOfRange, problem, solution);
    return false;
}

void UnknownCode(std::string_view item, int value, std::string_view known) {
    std::string problem = "Problem:  The " + std::string(item) + " is " + std::to_string(value) +
                          ", which is not a valid code.";
    std::string solution = "Solution: Use one of the codes " + std::string(known) + ".";
    InputError(ErrTypeCodeUnknown, problem, solution);
}

void SectionOptionError(std::string_view message) {
    // The reason goes to the message file as well, so the terminal shows it.
    for (std::ostream* out : {&ReportOut(), &MessageOut()}) *out << '\n' << message << '\n';
    TerminateRun("INP00095", 195);
}

void ReportErrorLines(int number, std::initializer_list<std::string_view> lines) {
    WriteToMessagesAndReport(lines);
    char code[16];
    std::snprintf(code, sizeof code, "INP%05d", number);
    TerminateRun(code, 100 + number);
}

}  // namespace kestro
