#pragma once
// Warnings found while the input file is read: doubtful values that the run
// can go on with but the user must see. Each warning block names the input
// line and the value; it goes to the runtime message file at once and to the
// report after its header (the report is rewound once the input is read).
// A run that ends without an error also counts each kind in the warning
// registry, so that the run result and the summary say that warnings exist.

#include <initializer_list>
#include <iosfwd>
#include <string_view>

namespace kestro {

// A numeric line holds more values than are read, and its values look like a
// number written with thousands separators (29,000,000 read as 29).
inline constexpr int WarnThousandsSeparator = 320;
// An elastic circular or pipe section whose area or moment of inertia is more
// than 5 % away from the value of its diameter and wall thickness.
inline constexpr int WarnSectionProperties = 321;
// A list of values begun on one line took its last values from a following
// line that holds further values (a layer or section header, the next point).
inline constexpr int WarnValueFromNextLine = 322;

// Effective unit weights of soil outside the usual limits (the block is part
// of the input echo).
inline constexpr int WarnUnitWeight = 371;

void ResetInputWarnings();
// Counts a warning whose block another part of the report writes (the echo).
void CountInputWarning(int number);
// Writes the block (heading line, then `lines`) to the message channel and
// keeps it for the report.
void RaiseInputWarning(int number, std::string_view heading, std::initializer_list<std::string_view> lines);
// Number of input warnings raised in this run.
int InputWarningCount();
// Writes every kept block (used right after the report header).
void WriteInputWarnings(std::ostream& out);
// Raises each kept warning in the warning registry (at the end of a run that
// ended without an error).
void RegisterInputWarnings();

}  // namespace kestro
