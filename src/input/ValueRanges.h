#pragma once
// Physical ranges of the numeric input fields. A value outside its field's
// range can describe no real pile or soil: it ends the run with Input Data
// Error 32 naming the field, the line, the value and the range, before any
// computation can turn it into a result.

#include <string_view>

namespace kestro {

inline constexpr int ErrValueOutOfRange = 32;
// Warning for a value that is possible but far outside what piles are made of.
inline constexpr int WarnImplausibleValue = 366;

enum class ValueRange {
    Positive,     // finite and greater than zero
    NonNegative,  // finite, zero or more
    Angle0To90,   // degrees, zero or more and below 90
    AngleWithin90,  // degrees, above -90 and below 90
    Percent,      // 0 to 100
    Magnitude,    // finite, at most MaxMagnitude either way (depths, lengths, movements)
    Finite,       // any finite value (the bounds table may limit the field)
};

// The largest depth, length or movement any real pile or soil profile has, in
// any unit of the input (10,000 ft, m, in or mm alike is far beyond them).
inline constexpr double MaxMagnitude = 1.0E4;

// Checks `value` of the field `what` against lo..hi, given in the unit
// `unit` of the run's input; outside it raises Input Data Error 32 naming the
// range. Values that can only be unit mistakes (a strength in ksi or MPa, a
// modulus a thousand times too large) are caught this way.
bool CheckBetween(std::string_view what, double value, double lo, double hi, std::string_view unit);

// Text of a range as the message gives it, e.g. "greater than zero".
std::string_view RangeText(ValueRange r);
// True when `value` lies in range `r`.
bool InRange(double value, ValueRange r);

// Checks `value` of the field described by `what` (the reader's description,
// e.g. "the elastic modulus of section 1") against range `r`; outside it
// raises Input Data Error 32 on the last line read and returns false.
bool CheckRange(std::string_view what, double value, ValueRange r);

// Checks `value` against the range the table gives to the field that `what`
// names (its description up to " of section ..."); fields not in the table
// are accepted as read.
bool CheckField(std::string_view what, double value);

// Raises warning 366 when `value` of the field `what` lies outside the usual
// range lo..hi (in the units it was read in), writing the field, line, value
// and range to the message file. Returns true (the run goes on).
bool CheckPlausible(std::string_view what, double value, double lo, double hi, std::string_view unit);

}  // namespace kestro
