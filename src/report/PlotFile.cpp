#include "report/PlotFile.h"

#include <ostream>

#include "model/HeldResults.h"
#include "report/Format.h"

namespace kestro {

std::string PlotReal(double v) { return ScientificText(v, 15, 7); }

void WritePlotRecord(std::ostream& out, const std::string& values, const std::string& label) {
    out << values;
    if (values.size() < 80) out << std::string(80 - values.size(), ' ');
    out << label << '\n';
    HoldPlotRecord(values, label);
}

void WritePlotLine1(std::ostream& out, int computationMode, int unitSystem, int lengthEntry, int kmatrix) {
    WritePlotRecord(out,
                    FormatIntegerText(computationMode, 5) + FormatIntegerText(unitSystem, 5) +
                        FormatIntegerText(lengthEntry, 5) + FormatIntegerText(kmatrix, 5),
                    "Line 1 : ICOM, IUNITS, KYL, KXX");
}

void WritePlotLine2(std::ostream& out, int numSections) {
    WritePlotRecord(out, FormatIntegerText(numSections, 5), "Line 2 : Total number of sections");
}

}  // namespace kestro
