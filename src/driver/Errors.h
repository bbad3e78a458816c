#pragma once
// The engine's error convention: a stage that meets a fatal condition writes
// its message block, calls TerminateRun and returns; every caller tests
// Failed() after each call and returns at once.

#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>

#include "model/RunState.h"

namespace kestro {

// Stores `number` as the run's error number and writes the termination line
// for numbers 1..299 to the report channel: "input error" for codes INP...,
// "runtime error" for codes RUN....
void TerminateRun(std::string_view code, int number);
// The termination line TerminateRun wrote last ("Kestro ended prematurely due
// to input error number INP00095"); empty when it wrote none.
const std::string& TerminationLine();
void ClearTerminationLine();

// Writes each text as one line; an empty text is an empty line.
void WriteLines(std::ostream& out, std::initializer_list<std::string_view> lines);
// Writes n empty lines.
void WriteEmptyLines(std::ostream& out, int n);
// Writes each text as one line to the message channel, then to the report.
void WriteToMessagesAndReport(std::initializer_list<std::string_view> lines);

}  // namespace kestro
