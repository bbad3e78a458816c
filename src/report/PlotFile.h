#pragma once
// Labelled records of the plot output file. Reals are written as ES15.7,
// labels start in column 81.

#include <iosfwd>
#include <string>

namespace kestro {

// A real value of a plot record: scientific, 15 wide, 7 decimals.
std::string PlotReal(double v);
// Pads `values` with blanks to column 80 and appends `label`.
void WritePlotRecord(std::ostream& out, const std::string& values, const std::string& label);

void WritePlotLine1(std::ostream& out, int computationMode, int unitSystem, int lengthEntry, int kmatrix);
void WritePlotLine2(std::ostream& out, int numSections);

}  // namespace kestro
