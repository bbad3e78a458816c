#include "input/ReaderSupport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "model/Channels.h"
#include "model/Errors.h"
#include "input/InputFile.h"
#include "model/ProblemData.h"

namespace kestro {

bool CountWithin(int n, int lo, int hi, std::string_view item) {
    if (n >= lo && n <= hi) return true;
    std::string problem = "Problem:  The number of " + std::string(item) + " is " + std::to_string(n) +
                          ", outside the valid range of " + std::to_string(lo) + " to " + std::to_string(hi) + ".";
    std::string solution = "Solution: Give from " + std::to_string(lo) + " to " + std::to_string(hi) + " " +
                           std::string(item) + " in the input data.";
    InputError(ErrCountOutOfRange, problem, solution);
    return false;
}

void UnknownCode(std::string_view item, int value, std::string_view known) {
    std::string problem = "Problem:  The " + std::string(item) + " is " + std::to_string(value) +
                          ", which is not a valid code.";
    std::string solution = "Solution: Use one of the codes " + std::string(known) + ".";
    InputError(ErrTypeCodeUnknown, problem, solution);
}

void SectionOptionError(std::string_view message, std::string_view line,
                        std::initializer_list<std::string_view> known) {
    // The reason goes to the message file as well, so the terminal shows it.
    for (std::ostream* out : {&ReportOut(), &MessageOut()}) *out << '\n' << message << '\n';
    WriteErrorLineHint(95, line, known);
    TerminateRun("INP00095", 195);
}

namespace {

// Lower case, blanks and tabs left out: the form in which a word typed in
// another case or with other blanks equals the word meant.
std::string Folded(std::string_view text) {
    std::string f;
    for (char ch : text)
        if (ch != ' ' && ch != '\t' && ch != '\r') f += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return f;
}

// Edits (insertions, deletions, substitutions and swaps of two neighbours)
// that turn `a` into `b`.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    const std::size_t n = a.size(), m = b.size();
    std::vector<std::size_t> d((n + 1) * (m + 1));
    auto at = [&](std::size_t i, std::size_t j) -> std::size_t& { return d[i * (m + 1) + j]; };
    for (std::size_t i = 0; i <= n; ++i) at(i, 0) = i;
    for (std::size_t j = 0; j <= m; ++j) at(0, j) = j;
    for (std::size_t i = 1; i <= n; ++i)
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            std::size_t v = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) v = std::min(v, at(i - 2, j - 2) + 1);
            at(i, j) = v;
        }
    return at(n, m);
}

}  // namespace

std::string ClosestKnown(std::string_view text, std::initializer_list<std::string_view> known) {
    // Lines are at most a few hundred characters; longer text is no keyword.
    if (text.size() > 300) return {};
    std::string_view trimmed = text;
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\r')) trimmed.remove_suffix(1);
    const std::string folded = Folded(trimmed);
    for (std::string_view k : known)
        if (k != trimmed && Folded(k) == folded) return std::string(k);
    std::string best;
    std::size_t bestDistance = 0;
    for (std::string_view k : known) {
        const std::size_t limit = k.size() <= 4 ? 1 : k.size() <= 10 ? 2 : 3;
        const std::size_t dist = std::min(EditDistance(trimmed, k), EditDistance(folded, Folded(k)));
        if (dist == 0 || dist > limit) continue;
        if (best.empty() || dist < bestDistance) {
            best = std::string(k);
            bestDistance = dist;
        }
    }
    return best;
}

void WriteErrorLineHint(int number, std::string_view text, std::initializer_list<std::string_view> known,
                        std::string_view match) {
    std::string shown(text);
    while (!shown.empty() && (shown.back() == ' ' || shown.back() == '\r')) shown.pop_back();
    const std::string where = "Input Data Error No. " + std::to_string(number) + " on line " +
                              std::to_string(InputLineNumber()) + " of the input file: \"" + shown + "\"";
    const std::string guess = ClosestKnown(match.empty() ? text : match, known);
    if (guess.empty())
        WriteToMessagesAndReport({where, ""});
    else
        WriteToMessagesAndReport({where, "Did you mean \"" + guess + "\"?", ""});
}

void ReportErrorLines(int number, std::initializer_list<std::string_view> lines) {
    bool numbered = false;
    for (std::string_view l : lines) numbered = numbered || l.find("Error No.") != std::string_view::npos;
    const std::string where = "Input Data Error No. " + std::to_string(number) + " on line " +
                              std::to_string(InputLineNumber()) + " of the input file.";
    Fail(ErrorKind::Input, number, [&](std::ostream& out) {
        WriteLines(out, lines);
        if (!numbered) WriteLines(out, {where, ""});
    });
}

}  // namespace kestro
