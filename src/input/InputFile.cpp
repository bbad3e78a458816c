#include "input/InputFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

#include "model/Channels.h"
#include "model/Errors.h"
#include "input/InputWarnings.h"
#include "input/ValueRanges.h"
#include "model/Limits.h"

namespace kestro {
namespace {

// The last list of values that began on one line and took values from a
// following line: an error met soon after is most often its consequence.
struct Continuation {
    int FromLine = 0;  // line that held the first values of the list
    int ToLine = 0;    // line the last values were taken from
    std::string What;
};

struct InputState {
    bool Open = false;
    long long Size = 0;
    std::vector<std::string> Lines;
    std::size_t Next = 0;  // index of the next line to read
    Continuation LastContinuation;
};

InputState In;

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == '\t'; }

// Splits the next token off `rest`; handles quoted text. Returns false when
// the line holds no more tokens.
bool NextToken(std::string_view& rest, std::string& token) {
    std::size_t i = 0;
    while (i < rest.size() && IsSeparator(rest[i])) ++i;
    if (i >= rest.size()) {
        rest = {};
        return false;
    }
    token.clear();
    char q = rest[i];
    if (q == '\'' || q == '"') {
        ++i;
        while (i < rest.size()) {
            if (rest[i] == q) {
                if (i + 1 < rest.size() && rest[i + 1] == q) {  // doubled quote stands for one
                    token.push_back(q);
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            token.push_back(rest[i++]);
        }
    } else {
        while (i < rest.size() && !IsSeparator(rest[i])) token.push_back(rest[i++]);
    }
    rest = rest.substr(i);
    return true;
}

std::string Shown(std::string_view token) {
    std::string s(token.substr(0, 40));
    if (token.size() > 40) s += "...";
    return s;
}

std::string Trimmed(std::string_view line) {
    std::size_t n = line.size();
    while (n > 0 && (line[n - 1] == ' ' || line[n - 1] == '\t')) --n;
    return std::string(line.substr(0, n));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text of a number written with thousands separators in `line`, such as
// "29,000,000": a digit, a comma and exactly three digits that are not
// followed by a fourth. Empty when the line holds none.
std::string ThousandsGroup(std::string_view line) {
    for (std::size_t i = 1; i + 4 <= line.size(); ++i) {
        if (line[i] != ',' || !IsDigit(line[i - 1])) continue;
        if (!IsDigit(line[i + 1]) || !IsDigit(line[i + 2]) || !IsDigit(line[i + 3])) continue;
        if (i + 4 < line.size() && IsDigit(line[i + 4])) continue;
        std::size_t a = i - 1, b = i + 4;
        auto part = [](char c) { return IsDigit(c) || c == ',' || c == '.' || c == '+' || c == '-'; };
        while (a > 0 && part(line[a - 1])) --a;
        while (b < line.size() && part(line[b])) ++b;
        while (b > a && line[b - 1] == ',') --b;
        return std::string(line.substr(a, b - a));
    }
    return {};
}

// The numbers left on a line after a list was read, up to the first word
// that is not a number (the description many lines carry); `end` receives the
// length of `rest` that they take.
int NumbersLeft(std::string_view rest, std::size_t* end = nullptr) {
    int n = 0;
    std::string token;
    double v = 0.0;
    std::string_view r = rest;
    std::size_t used = 0;
    while (NextToken(r, token) && ParseReal(token, v)) {
        ++n;
        used = rest.size() - r.size();
    }
    if (end != nullptr) *end = used;
    return n;
}

// The line that ended a list holds further numbers and reads like a number
// with thousands separators: "29,000,000" read as the values 29, 0 and 0, of
// which the reader would take the first. A value a thousand or a million
// times too small is never a result: Input Data Error 32. False with the
// error set.
bool CheckThousandsSeparators(int lineNumber, std::string_view line, std::string_view rest, std::string_view what) {
    std::size_t end = 0;
    if (NumbersLeft(rest, &end) == 0) return true;
    // Only the values of the line count, not the description after them.
    const std::size_t numeric = static_cast<std::size_t>(rest.data() - line.data()) + end;
    const std::string group = ThousandsGroup(line.substr(0, numeric));
    if (group.empty()) return true;
    std::vector<std::string> parts;
    std::string_view g = group;
    std::string token;
    while (NextToken(g, token)) parts.push_back(token);
    std::string values;
    for (std::size_t i = 0; i < parts.size(); ++i)
        values += (i == 0 ? "" : (i + 1 == parts.size() ? " and " : ", ")) + parts[i];
    std::string plain;
    for (char c : group)
        if (c != ',') plain.push_back(c);
    const std::string at = std::to_string(lineNumber);
    InputError(ErrValueOutOfRange,
               "Problem:  Line " + at + " holds more values than are read for " + std::string(what) +
                   ",\n          and the text \"" + group + "\" on it would be read as the separate values " +
                   values + ":\n          commas separate values.",
               "Solution: Write numbers without thousands separators (" + plain + ").");
    return false;
}

// A list begun on one line that took its last values from a following line
// which holds further numbers: that line is most likely the next header or
// data line, and a value is missing at the end of the line before it.
void CheckContinuation(int firstLine, int expectedLine, int lastLine, std::string_view rest, std::string_view what) {
    if (lastLine == firstLine) return;
    In.LastContinuation = Continuation{firstLine, lastLine, std::string(what)};
    if (NumbersLeft(rest) == 0) return;
    const std::string to = std::to_string(lastLine);
    const std::string expected = std::to_string(expectedLine);
    RaiseInputWarning(WarnValueFromNextLine, "**** Warning - Possible Input Data Error, line " + expected + " ****",
                      {"Line " + expected + " holds fewer values than are read for " + std::string(what) + ";",
                       "the last of them were taken from line " + to +
                           ", which holds further values (the next header or data line).",
                       "Add the missing value at the end of line " + expected + "."});
}

// Input Data Error 81. When the line is a section keyword line, the message
// says so and names the line that was expected to hold the value: the line
// before, when the list began there (`expectedLine`), or the line whose list
// was last completed from a following line.
void ReportUnreadableValue(int line, const std::string& token, bool integer, std::string_view what,
                           int expectedLine) {
    const std::string& text = In.Lines[static_cast<std::size_t>(line - 1)];
    std::ostringstream p;
    std::string solution = "Solution: Correct the value on that line of the input file.";
    if (IsSectionKeyword(Trimmed(text))) {
        p << "Problem:  Line " << line << " is the keyword line \"" << Trimmed(text) << "\", where "
          << (integer ? "a whole number" : "a number") << " was still expected while reading " << what << ".";
        if (expectedLine > 0) {
            solution = "Solution: Line " + std::to_string(expectedLine) +
                       " holds fewer values than are read there: add the missing value at its end.";
        } else if (In.LastContinuation.ToLine > 0) {
            const Continuation& c = In.LastContinuation;
            solution = "Solution: A value is missing above this line. The values of " + c.What + " began on line " +
                       std::to_string(c.FromLine) + " and were completed from line " + std::to_string(c.ToLine) +
                       ": check the end of line " + std::to_string(c.FromLine) + ".";
        } else {
            solution = "Solution: A line or value is missing above this line: check the counts of the section.";
        }
    } else {
        p << "Problem:  Line " << line << " holds \"" << Shown(token) << "\" where "
          << (integer ? "a whole number" : "a number") << " was expected while reading " << what << ".";
        if (expectedLine > 0)
            solution += " The value was looked for on line " + std::to_string(line) + " because line " +
                        std::to_string(expectedLine) + " holds fewer values than are read there.";
    }
    InputError(ErrUnreadableValue, p.str(), solution);
}

void ReportEndOfInput(std::string_view what) {
    std::ostringstream p;
    p << "Problem:  The input file ended after line " << In.Lines.size() << " while reading " << what << ".";
    InputError(ErrEndOfInput, p.str(),
               "Solution: Complete the input data. Check the counts given in this section against the lines that follow.");
}

}  // namespace

void LoadInputText(std::string text) {
    In = InputState{};
    In.Open = true;
    In.Size = static_cast<long long>(text.size());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        In.Lines.push_back(std::move(line));
        start = end + 1;
    }
}

bool OpenInput(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        In = InputState{};
        return false;
    }
    std::ostringstream ss;
    ss << f.rdbuf();
    LoadInputText(ss.str());
    return true;
}

void CloseInput() { In = InputState{}; }
bool InputIsOpen() { return In.Open; }
long long InputSize() { return In.Size; }
void RewindInput() { In.Next = 0; }
int InputLineNumber() { return static_cast<int>(In.Next); }

bool TryReadRecord(std::string& line) {
    if (In.Next >= In.Lines.size()) return false;
    In.LastContinuation = Continuation{};  // a keyword or option line starts afresh
    std::string_view s = In.Lines[In.Next++];
    if (s.size() > static_cast<std::size_t>(RecordLength)) s = s.substr(0, RecordLength);
    std::size_t n = s.size();
    while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
    line.assign(s.substr(0, n));
    return true;
}

bool PeekRecord(std::string& line) {
    const std::size_t next = In.Next;
    const Continuation kept = In.LastContinuation;
    const bool found = TryReadRecord(line);
    In.Next = next;
    In.LastContinuation = kept;
    return found;
}

bool ReadRecord(std::string& line, std::string_view what) {
    if (TryReadRecord(line)) return true;
    ReportEndOfInput(what);
    return false;
}

bool ParseReal(std::string_view token, double& value) {
    if (token.empty() || token.size() > 64) return false;
    std::string t;
    bool digit = false;
    for (char c : token) {
        if (c >= '0' && c <= '9') {
            digit = true;
            t.push_back(c);
        } else if (c == '+' || c == '-' || c == '.') {
            t.push_back(c);
        } else if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
            t.push_back('E');  // Fortran-style D exponents read as E
        } else {
            return false;
        }
    }
    if (!digit) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParseInteger(std::string_view token, int& value) {
    double v = 0.0;
    if (!ParseReal(token, v)) return false;
    if (v != std::floor(v) || std::fabs(v) > 2147483647.0) return false;
    value = static_cast<int>(v);
    return true;
}

int TrailingReals(int skip, double* values, int max) {
    if (In.Next < 1 || In.Next > In.Lines.size()) return 0;
    std::string_view rest = In.Lines[In.Next - 1];
    std::string token;
    for (int j = 0; j < skip; ++j)
        if (!NextToken(rest, token)) return 0;
    int n = 0;
    while (n < max && NextToken(rest, token)) {
        double v = 0.0;
        if (!ParseReal(token, v)) break;
        values[n++] = v;
    }
    return n;
}

bool ReadList(std::string_view what, std::initializer_list<ListItem> items) {
    return ReadList(what, std::span<const ListItem>(items.begin(), items.size()));
}

bool ReadList(std::string_view what, std::span<const ListItem> items) {
    std::string token;
    std::string_view rest;
    bool haveLine = false;
    int firstLine = 0;     // line of the first value
    int expectedLine = 0;  // last line before the current one that gave a value
    int valueLine = 0;     // line of the value just read
    for (const ListItem& item : items) {
        for (;;) {
            if (haveLine && NextToken(rest, token)) break;
            if (In.Next >= In.Lines.size()) {
                ReportEndOfInput(what);
                return false;
            }
            rest = In.Lines[In.Next++];
            haveLine = true;
        }
        const int line = static_cast<int>(In.Next);
        if (firstLine == 0) firstLine = line;
        if (line != valueLine && valueLine != 0) expectedLine = valueLine;
        valueLine = line;
        bool ok = true;
        switch (item.kind) {
            case ListItem::Real: ok = ParseReal(token, *static_cast<double*>(item.target)); break;
            case ListItem::Integer: ok = ParseInteger(token, *static_cast<int*>(item.target)); break;
            case ListItem::Word: *static_cast<std::string*>(item.target) = token; break;
        }
        if (!ok) {
            ReportUnreadableValue(line, token, item.kind == ListItem::Integer, what,
                                  line != firstLine ? expectedLine : 0);
            return false;
        }
    }
    if (valueLine == 0) return true;
    const std::string& last = In.Lines[static_cast<std::size_t>(valueLine - 1)];
    if (!CheckThousandsSeparators(valueLine, last, rest, what)) return false;
    CheckContinuation(firstLine, expectedLine, valueLine, rest, what);
    return true;
}

bool TryReadFirstWord(std::string& word) {
    while (In.Next < In.Lines.size()) {
        std::string_view rest = In.Lines[In.Next++];
        if (NextToken(rest, word)) return true;
        // Fortran list-directed reads pass over empty records to the first value.
    }
    return false;
}

bool IsSectionKeyword(std::string_view line) {
    static constexpr std::string_view Keywords[] = {"TITLE",
                                                    "OPTIONS",
                                                    "SECTIONS",
                                                    "AXIAL THRUST LOADS",
                                                    "SOIL LAYERS",
                                                    "TIP SHEAR",
                                                    "PILE BATTER AND SLOPE",
                                                    "GROUPEFF",
                                                    "LRFD LOADS",
                                                    "LRFD FACTORS AND CASES",
                                                    "LOADING",
                                                    "SOIL MOVEMENTS",
                                                    "GROUP EFFECT FACTORS",
                                                    "DEPTHS OF PRINTED P-Y CURVES",
                                                    "AXIAL ANALYSIS",
                                                    "END"};
    for (std::string_view k : Keywords)
        if (line == k) return true;
    return false;
}

}  // namespace kestro
