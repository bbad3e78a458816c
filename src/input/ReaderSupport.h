#pragma once
// Helpers shared by the section, soil and load readers: the capacity check
// that runs before any array of the store is written, the option-line error
// of the section blocks, and the unit system of the input being read.

#include <initializer_list>
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
// to the report, then INP00095.
void SectionOptionError(std::string_view message);

// Lines to the report channel, then INP000nn with number 100 + nn.
void ReportErrorLines(int number, std::initializer_list<std::string_view> lines);

}  // namespace kestro
