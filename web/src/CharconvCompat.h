#pragma once
// Forced into every file of the WebAssembly build only (-include). The C++
// library of Debian's emscripten has std::to_chars and std::from_chars for
// integers only; the results files (JSON and HTML) use their floating forms.
// These give the same characters through the C library: printf's %.*f and
// %.*e for a precision, the fewest significant digits that read back to the
// same double for the shortest form, and strtod for reading.

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace std {

inline to_chars_result to_chars(char* first, char* last, double v, chars_format fmt, int precision) {
    const char* f = fmt == chars_format::fixed ? "%.*f" : fmt == chars_format::scientific ? "%.*e" : "%.*g";
    const long room = last - first;
    char buf[400];
    const int n = snprintf(buf, sizeof buf, f, precision, v);
    if (n < 0 || n >= static_cast<int>(sizeof buf) || n > room) return {last, errc::value_too_large};
    memcpy(first, buf, static_cast<size_t>(n));
    return {first + n, errc()};
}

// The shortest text that reads back to `v`: the fewest significant digits,
// written in fixed or scientific notation, whichever is shorter (fixed on a tie).
inline to_chars_result to_chars(char* first, char* last, double v) {
    char sci[64];
    int digits = 1;
    for (; digits <= 17; ++digits) {
        snprintf(sci, sizeof sci, "%.*e", digits - 1, v);
        if (strtod(sci, nullptr) == v) break;
    }
    if (digits > 17) digits = 17;
    snprintf(sci, sizeof sci, "%.*e", digits - 1, v);
    // Drop a '+' and leading zeros of the exponent, as to_chars writes it ("1e+22", "1e-05").
    const char* e = strchr(sci, 'e');
    const int exponent = e ? atoi(e + 1) : 0;
    // Fixed notation with the same digits: digits after the point.
    const int decimals = digits - 1 - exponent > 0 ? digits - 1 - exponent : 0;
    char fixed[400];
    snprintf(fixed, sizeof fixed, "%.*f", decimals, v);
    const size_t sciLen = strlen(sci), fixedLen = strlen(fixed);
    const char* best = fixedLen <= sciLen ? fixed : sci;
    const size_t n = fixedLen <= sciLen ? fixedLen : sciLen;
    if (static_cast<long>(n) > last - first) return {last, errc::value_too_large};
    memcpy(first, best, n);
    return {first + n, errc()};
}

inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format = chars_format::general) {
    char buf[128];
    const long n = last - first;
    if (n <= 0 || first[0] == '+' || first[0] == ' ' || first[0] == '\t' || first[0] == '\n')
        return {first, errc::invalid_argument};
    const size_t len = static_cast<size_t>(n < 127 ? n : 127);
    memcpy(buf, first, len);
    buf[len] = '\0';
    char* end = nullptr;
    const double v = strtod(buf, &end);
    if (end == buf) return {first, errc::invalid_argument};
    value = v;
    return {first + (end - buf), errc()};
}

}  // namespace std
