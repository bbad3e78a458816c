#pragma once
// Report blocks of the section geometry and material stages: the computed bar
// positions of a circular arrangement, the Mander confined-concrete
// parameters, the prestress block, and the input data errors of sections that
// cannot be analysed. Each writes to `out`; the section stage decides where
// and when, and terminates the run after an error block.

#include <iosfwd>

#include "section/Materials.h"
#include "section/SliceTable.h"

namespace kestro {

// "Computed Positions of Reinforcing Steel for Circular Arrangement:" with the
// radius, diameter, central angle, clear spacing, bar diameter and the table
// of bar positions (1..n).
void WriteCircularBarPositions(std::ostream& out, const CircularArrangement& a, const BarArray& x, const BarArray& y,
                               int n);

// "Mander & Priestley Parameters for Confined Concrete" (or "... in Core").
void WriteManderParameters(std::ostream& out, const ManderResults& r, bool core);

// "Computation of Loss of Prestress:" and the PCI estimates; the Mn text
// follows the factor k of the inputs.
void WritePrestressBlock(std::ostream& out, const PrestressInputs& in, const PrestressResults& r, bool si);

// Runtime Errors 14 and 15 of the prestrain computation.
void WritePrestressAreaError(std::ostream& out, int number, double value);

// Runtime Error 16 of the neutral-axis search.
void WriteNeutralAxisError(std::ostream& out);

// Input Data Errors 45 and 46 of a station position outside a tapered section.
void WriteNegativeStationError(std::ostream& out, double x, int station, bool tapered);
void WriteStationBeyondSectionError(std::ostream& out, double limit, int section, double x, bool tapered);

// "Interpolated Section Dimensions" of a station of a tapered section.
void WriteInterpolatedDimensions(std::ostream& out, double depth, double width);

// What is wrong with a section value.
enum SectionValueProblem : int {
    ValueNotPositive = 1,        // must be greater than zero
    ValueNegative = 2,           // must not be negative
    ValueTooLarge = 3,           // leaves no room inside the section
    BarsDoNotFit = 4,            // bars overlap or reach outside the section
    TooFewBars = 5,              // the pattern needs at least 4 bars
    CodeOutOfRange = 6,          // a code outside 1 to 6
};

// Input data error naming section `section`, the item (a fixed text such as
// "concrete strength") and the value.
void WriteSectionValueError(std::ostream& out, int number, int section, const char* item, double value,
                            int problem);

}  // namespace kestro
