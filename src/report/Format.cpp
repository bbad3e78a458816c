#include "report/Format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace kestro {

namespace {
std::string Stars(int w) { return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

std::string PadLeft(const std::string& s, int w) {
    if (static_cast<int>(s.size()) > w) return Stars(w);
    return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}
}  // namespace

std::string FixedText(double v, int w, int d) {
    if (std::isnan(v)) return PadLeft("NaN", w);
    if (std::isinf(v)) return PadLeft(v > 0 ? "Infinity" : "-Infinity", w);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", d, v);
    std::string s(buf);
    if (d == 0) s += '.';  // Fw.0 writes the decimal point
    return PadLeft(s, w);
}

std::string ScientificText(double v, int w, int d) {
    if (std::isnan(v)) return PadLeft("NaN", w);
    if (std::isinf(v)) return PadLeft(v > 0 ? "Infinity" : "-Infinity", w);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", d, v);
    std::string s(buf);
    // A three-digit exponent drops the letter, as Fortran writes it.
    std::size_t e = s.find('E');
    if (e != std::string::npos && s.size() - e > 4) s.erase(e, 1);
    return PadLeft(s, w);
}

std::string FixedOrScientificText(double v, int w, int d) {
    std::string s = FixedText(v, w, d);
    if (s.find('*') == std::string::npos) return s;
    return ScientificText(v, w, d);
}

std::string FormatNumberText(double v, int W) {
    if (std::isnan(v)) return "  Not-a-Number";
    // The range limits are single-precision values, as the report has always used.
    const double T1 = static_cast<double>(static_cast<float>(std::pow(10.0, W - 3) - 1.0));
    const double T2 = static_cast<double>(static_cast<float>(std::pow(10.0, 9 - W)));
    const double T3 = static_cast<double>(static_cast<float>(std::pow(10.0, 7 - W)));
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

}  // namespace kestro
