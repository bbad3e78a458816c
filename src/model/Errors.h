#pragma once
// The engine's error convention: a stage that meets a fatal condition calls
// Fail (its message block on both channels, the code and the run result) and
// returns; every caller tests Failed() after each call and returns at once.

#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>

#include "model/RunState.h"

namespace kestro {

// The kind of an error that ends the run, which forms its code, its heading
// and the run result from its number n.
enum class ErrorKind {
    Input,     // "**** Input Data Error No. n ****", code INP000nn, run result 100 + n
    Runtime,   // "**** Runtime Error No. n ****", code RUN000nn, run result 200 + n
};

// The code of error `number` ("INP00070", "RUN00010").
std::string ErrorCode(ErrorKind kind, int number);
// The heading line of error `number` ("**** Input Data Error No. 70 ****").
std::string ErrorHeading(ErrorKind kind, int number);

// The one way to end a run by an error: writes the error's block to the
// message file and to the report (once when, before the report is open, both
// lead to the message log), then stores the code and the run result
// (TerminateRun). The caller returns at once; its callers test Failed().
//   Fail(kind, n, write)          the block written by write(out) on each channel
//   Fail(kind, n, lines)          the block as given, one text per line
//   Fail(kind, n, problem, solution)
//                                 the standard block: two empty lines, the
//                                 heading, an empty line, the problem, the
//                                 solution and an empty line
void Fail(ErrorKind kind, int number, const std::function<void(std::ostream&)>& write);
void Fail(ErrorKind kind, int number, std::initializer_list<std::string_view> lines);
void Fail(ErrorKind kind, int number, std::string_view problem, std::string_view solution);

// Input data error `number` with the standard block, for problems found by
// the readers where no message of its own exists: Fail(ErrorKind::Input, ...).
void InputError(int number, std::string_view problem, std::string_view solution);

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
