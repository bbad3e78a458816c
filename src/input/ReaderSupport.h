#pragma once
// Helpers shared by the section, soil and load readers: the capacity check
// that runs before any array of the store is written, the option-line error
// of the section blocks, and the unit system of the input being read.

#include <initializer_list>
#include <string>
#include <string_view>

namespace kestro {

// Input data errors raised by the readers where the input holds more (or
// fewer) items than the model can take, or a code that means nothing.
inline constexpr int ErrLayerGapOrOverlap = 69;
inline constexpr int ErrCountOutOfRange = 84;
inline constexpr int ErrSoilTypeUnknown = 85;
inline constexpr int ErrRebarNoSectionAbove = 86;
inline constexpr int ErrRebarCircleInvalid = 87;
inline constexpr int ErrTypeCodeUnknown = 89;

// True when lo <= n <= hi. Otherwise ends the run with Input Data Error 84,
// naming `item`, the value found and the valid range, and returns false.
bool CountWithin(int n, int lo, int hi, std::string_view item);

// Ends the run with Input Data Error 89: `item` holds `value`, which is no
// known code; `known` lists the codes that are.
void UnknownCode(std::string_view item, int value, std::string_view known);

// An unrecognised option line inside SECTIONS: an empty line and `message`
// to the report, the error's number, line and text and the closest of the
// `known` option lines, then INP00095.
void SectionOptionError(std::string_view message, std::string_view line,
                        std::initializer_list<std::string_view> known);

// Lines to the report channel, then INP000nn with number 100 + nn. Lines
// that carry no error number are followed by the number and the input line.
void ReportErrorLines(int number, std::initializer_list<std::string_view> lines);

// Of `known`, the word or line that `text` most likely misspells: the same
// but for case and blanks, or else the one within a small edit distance
// (optimal string alignment, at most 1 for words up to 4 characters, 2 up to
// 10, 3 beyond); the first such in `known` when several are as close; empty
// when none is close.
std::string ClosestKnown(std::string_view text, std::initializer_list<std::string_view> known);

// For an error whose fixed text carries no number or line: "Input Data Error
// No. nn on line L of the input file: \"text\"" and, when one of `known` is
// close to `text`, "Did you mean \"word\"?", to the message and report
// channels. L is the line last read. `match`, when given, is the part of the
// line compared with `known` (a word in fixed columns).
void WriteErrorLineHint(int number, std::string_view text, std::initializer_list<std::string_view> known = {},
                        std::string_view match = {});

}  // namespace kestro
