#include "input/InputFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

#include "driver/Channels.h"
#include "driver/Errors.h"
#include "model/Limits.h"

namespace kestro {
namespace {

struct InputState {
    bool Open = false;
    long long Size = 0;
    std::vector<std::string> Lines;
    std::size_t Next = 0;  // index of the next line to read
};

InputState In;

std::string CodeFor(int number) {
    char code[16];
    std::snprintf(code, sizeof code, "INP%05d", number);
    return code;
}

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
    std::string_view s = In.Lines[In.Next++];
    if (s.size() > static_cast<std::size_t>(RecordLength)) s = s.substr(0, RecordLength);
    std::size_t n = s.size();
    while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
    line.assign(s.substr(0, n));
    return true;
}

bool PeekRecord(std::string& line) {
    const std::size_t next = In.Next;
    const bool found = TryReadRecord(line);
    In.Next = next;
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
    std::string token;
    std::string_view rest;
    bool haveLine = false;
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
        bool ok = true;
        switch (item.kind) {
            case ListItem::Real: ok = ParseReal(token, *static_cast<double*>(item.target)); break;
            case ListItem::Integer: ok = ParseInteger(token, *static_cast<int*>(item.target)); break;
            case ListItem::Word: *static_cast<std::string*>(item.target) = token; break;
        }
        if (!ok) {
            std::ostringstream p;
            p << "Problem:  Line " << In.Next << " holds \"" << Shown(token) << "\" where "
              << (item.kind == ListItem::Integer ? "a whole number" : "a number") << " was expected while reading "
              << what << ".";
            InputError(ErrUnreadableValue, p.str(), "Solution: Correct the value on that line of the input file.");
            return false;
        }
    }
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

void InputError(int number, std::string_view problem, std::string_view solution) {
    char head[64];
    std::snprintf(head, sizeof head, "**** Input Data Error No. %d ****", number);
    for (std::ostream* out : {&MessageOut(), &ReportOut()}) {
        WriteLines(*out, {"", "", head, "", problem, solution, ""});
    }
    TerminateRun(CodeFor(number), 100 + number);
}

}  // namespace kestro
