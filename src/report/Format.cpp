#include "report/Format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "model/ProblemData.h"
#include "model/RunState.h"

namespace kestro {

namespace {
std::string Stars(int w) {
    ++Run.UnprintableValues;
    return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*');
}

std::string PadLeft(const std::string& s, int w) {
    if (static_cast<int>(s.size()) > w) return Stars(w);
    return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

// NaN and infinities are written as words, and counted like asterisks.
std::string NonFiniteText(double v, int w) {
    ++Run.UnprintableValues;
    if (std::isnan(v)) return PadLeft("NaN", w);
    return PadLeft(v > 0 ? "Infinity" : "-Infinity", w);
}

// The range limits of FormatNumber are single-precision values, as the report
// has always used; they depend only on the field width, so they are worked
// out once per width.
struct RangeLimits {
    double T1, T2, T3;
};

RangeLimits LimitsOf(int W) {
    return {static_cast<double>(static_cast<float>(std::pow(10.0, W - 3) - 1.0)),
            static_cast<double>(static_cast<float>(std::pow(10.0, 9 - W))),
            static_cast<double>(static_cast<float>(std::pow(10.0, 7 - W)))};
}

RangeLimits LimitsFor(int W) {
    constexpr int Widths = 40;
    static const auto Table = [] {
        std::array<RangeLimits, Widths> t{};
        for (int w = 0; w < Widths; ++w) t[static_cast<std::size_t>(w)] = LimitsOf(w);
        return t;
    }();
    if (W >= 0 && W < Widths) return Table[static_cast<std::size_t>(W)];
    return LimitsOf(W);
}
}  // namespace

// Numbers are converted with std::to_chars, which gives the same digits as
// printf's %f and %E (correctly rounded) at a fraction of the cost: a report
// and plot file hold tens of thousands of numbers. A standard library without
// the floating to_chars with a precision (the WebAssembly build's) takes the
// printf path, which writes the same characters; KESTRO_PRINTF_NUMBERS forces
// it, and the unit tests compare both paths.
#if !defined(KESTRO_PRINTF_NUMBERS) && defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define KESTRO_TO_CHARS_NUMBERS 1
#endif

// Writes `v` with `d` digits after the point ('f') or after the first digit
// ('e') into [buf, buf + size), as printf's %.*f and %.*e; returns the end of
// the text, or nullptr when it does not fit.
char* PrintfDigits(char* buf, std::size_t size, double v, char style, int d) {
    const int n = std::snprintf(buf, size, style == 'f' ? "%.*f" : "%.*e", d, v);
    if (n < 0 || static_cast<std::size_t>(n) >= size) return nullptr;
    return buf + n;
}

namespace {
char* NumberDigits(char* buf, std::size_t size, double v, char style, int d) {
#ifdef KESTRO_TO_CHARS_NUMBERS
    auto [end, ec] = std::to_chars(buf, buf + size, v,
                                   style == 'f' ? std::chars_format::fixed : std::chars_format::scientific, d);
    return ec == std::errc() ? end : nullptr;
#else
    return PrintfDigits(buf, size, v, style, d);
#endif
}

// Fw.d of a finite value, or an empty text when it does not fit the field.
std::string FixedIfFits(double v, int w, int d) {
    char buf[400];
    char* end = NumberDigits(buf, sizeof buf - 1, v, 'f', d);
    if (end == nullptr) return "";
    if (d == 0) *end++ = '.';  // Fw.0 writes the decimal point
    if (end - buf > w) return "";
    return PadLeft(std::string(buf, end), w);
}
}  // namespace

std::string FixedText(double v, int w, int d) {
    if (!std::isfinite(v)) return NonFiniteText(v, w);
    std::string s = FixedIfFits(v, w, d);
    if (!s.empty()) return s;
    // A finite value too wide for its fixed field is written in scientific
    // notation in the same width (ES12.4 for F12.d), never as asterisks.
    return w >= 9 ? ScientificText(v, w, w - 8) : Stars(w);
}

std::string ScientificText(double v, int w, int d) {
    if (!std::isfinite(v)) return NonFiniteText(v, w);
    char buf[64];
    char* end = NumberDigits(buf, sizeof buf, v, 'e', d);
    if (end == nullptr) return Stars(w);
    char* e = std::find(buf, end, 'e');
    if (e != end) {
        *e = 'E';
        // A three-digit exponent drops the letter, as Fortran writes it.
        if (end - e > 4) end = std::copy(e + 1, end, e);
    }
    // Padded in place: the report and plot file write tens of thousands.
    const auto n = static_cast<int>(end - buf);
    if (n > w) return Stars(w);
    std::string s(static_cast<std::size_t>(w - n), ' ');
    s.append(buf, end);
    return s;
}

std::string FixedOrScientificText(double v, int w, int d) {
    if (!std::isfinite(v)) return NonFiniteText(v, w);
    std::string s = FixedIfFits(v, w, d);
    return s.empty() ? ScientificText(v, w, d) : s;
}

std::string FormatNumberText(double v, int W) {
    if (std::isnan(v)) {
        ++Run.UnprintableValues;
        return "  Not-a-Number";
    }
    const RangeLimits L = LimitsFor(W);
    const double T1 = L.T1, T2 = L.T2, T3 = L.T3;
    const int w = W - 1;
    double a = std::fabs(v);
    if (a < 1.0E-12) {
        v = 0.0;
        a = 0.0;
    }
    std::string field;
    if (a < 1.0E-25)
        field = FixedText(0.0, w, W - 8);
    else if (a > T1)
        field = ScientificText(v, w, W - 8);
    else if (a > 10000.0)
        field = FixedText(v, w, 0);
    else if (a > T2)
        field = FixedText(v, w, W - 7);
    else if (a >= T3)
        field = FixedText(v, w, W - 5);
    else
        field = ScientificText(v, w, W - 8);
    return " " + field;
}

void FormatNumber(std::ostream& out, double v, int W) { out << FormatNumberText(v, W); }

std::string FormatIntegerText(long long value, int W) {
    if (W < 1 || W > 16) W = 10;
    return PadLeft(std::to_string(value), W);
}

void FormatInteger(std::ostream& out, long long value, int W) { out << FormatIntegerText(value, W); }

std::string MinimalInteger(long long value) { return std::to_string(value); }

void WriteBlanks(std::ostream& out, int n) {
    for (int i = 0; i < n; ++i) out << ' ';
}

void EndLine(std::ostream& out) { out << '\n'; }

std::string_view ByUnits(std::string_view us, std::string_view si, std::string_view general) {
    switch (Problem.Options.UnitSystem) {
        case UnitsSI: return si;
        case UnitsGeneral: return general;
        default: return us;
    }
}

}  // namespace kestro
