#include "driver/Errors.h"

#include <ostream>

#include "driver/Channels.h"

namespace kestro {

void WriteLines(std::ostream& out, std::initializer_list<std::string_view> lines) {
    for (std::string_view l : lines) out << l << '\n';
}

void WriteEmptyLines(std::ostream& out, int n) {
    for (int i = 0; i < n; ++i) out << '\n';
}

void TerminateRun(std::string_view code, int number) {
    if (number >= 1 && number <= 299) {
        std::ostream& out = ReportOut();
        out << "\n\nKestro ended prematurely due to input error number " << code.substr(0, 8) << '\n';
        if (number == 125) {
            WriteLines(out, {"", "**** Input Data Error No. 25 ****", "", "",
                             "Length of input file is 0 bytes.  No analysis can be performed."});
        }
    }
    Run.ErrorNumber = number;
}

}  // namespace kestro
