#pragma once
// Input data errors of sections that cannot be analysed, shared by the
// geometry and the material stages: the block goes to the report and the
// message file, then the run ends.

namespace kestro {

inline constexpr int ErrSectionValue = 92;   // a dimension, strength or modulus that cannot be used
inline constexpr int ErrBarsDoNotFit = 93;   // reinforcement that does not fit the section

// Writes the error naming section s, the item and the value (the problem
// kinds of report/SectionGeometryReport.h), terminates the run, returns false.
bool RejectSectionValue(int number, int s, const char* item, double value, int problem);
// True when v > 0; otherwise rejects it with Input Data Error 92.
bool PositiveSectionValue(int s, const char* item, double v);

}  // namespace kestro
