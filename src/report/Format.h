#pragma once
// Fixed-width number formatting shared by every report page.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kestro {

// One blank, then `v` in a field of W-1 characters, fixed or scientific by
// magnitude; "  Not-a-Number" for a value that is not a number.
std::string FormatNumberText(double v, int W);
void FormatNumber(std::ostream& out, double v, int W);

// `value` right-justified in W characters (W outside 1..16 is taken as 10).
std::string FormatIntegerText(long long value, int W);
void FormatInteger(std::ostream& out, long long value, int W);

void WriteBlanks(std::ostream& out, int n);
void EndLine(std::ostream& out);

// Fortran-style edit descriptors used by the fixed report tables:
// Fw.d, ESw.d (one digit before the point) and Iw. A value that does not fit
// its field prints as w asterisks, as a fixed-width report must.
std::string FixedText(double v, int w, int d);
std::string ScientificText(double v, int w, int d);
// Fw.d when `v` fits the field, otherwise ESw.d: for values that explain an
// error, which must never print as asterisks.
std::string FixedOrScientificText(double v, int w, int d);
// printf's %.*f (style 'f') or %.*e (style 'e') of `v` with `d` digits into
// [buf, buf + size); the end of the text, or nullptr when it does not fit. The
// formatter's path where the standard library has no floating to_chars with a
// precision; it writes the same characters.
char* PrintfDigits(char* buf, std::size_t size, double v, char style, int d);
// Integer without leading blanks.
std::string MinimalInteger(long long value);

// Unit text by the run's unit system: US customary (the default), SI, general.
std::string_view ByUnits(std::string_view us, std::string_view si, std::string_view general);

}  // namespace kestro
