#include "input/InputWarnings.h"

#include <array>
#include <cstddef>
#include <ostream>

#include "model/Channels.h"
#include "model/Warnings.h"
#include "model/Limits.h"
#include "model/Text.h"

namespace kestro {
namespace {

// Kept blocks: at most MaxKeptLines lines in all; a warning raised after that
// still goes to the message file and is counted, and the report says that
// further warnings were left out.
constexpr int MaxKeptLines = 400;
constexpr int MaxKeptWarnings = 100;

struct InputWarningStore {
    std::array<Text<RecordLength>, MaxKeptLines + 1> Lines{};
    int NumLines = 0;
    std::array<int, MaxKeptWarnings + 1> Numbers{};
    int NumWarnings = 0;
    bool b_Truncated = false;
};

InputWarningStore Store;

void Keep(std::string_view line) {
    if (Store.NumLines >= MaxKeptLines) {
        Store.b_Truncated = true;
        return;
    }
    Store.Lines[static_cast<std::size_t>(++Store.NumLines)].Set(line);
}

}  // namespace

void ResetInputWarnings() {
    Store.NumLines = 0;
    Store.NumWarnings = 0;
    Store.b_Truncated = false;
}

void RaiseInputWarning(int number, std::string_view heading, std::initializer_list<std::string_view> lines) {
    // To the report as well: a run that ends by an error while reading keeps
    // its report as written so far; otherwise the report is rewound and the
    // kept blocks are written again after its header.
    for (std::ostream* out : {&MessageOut(), &ReportOut()}) {
        *out << '\n' << heading << '\n';
        for (std::string_view l : lines) *out << l << '\n';
        *out << '\n';
    }
    if (Store.NumWarnings < MaxKeptWarnings) {
        Store.Numbers[static_cast<std::size_t>(++Store.NumWarnings)] = number;
        Keep("");
        Keep(heading);
        for (std::string_view l : lines) Keep(l);
    } else {
        Store.b_Truncated = true;
    }
}

void CountInputWarning(int number) {
    if (Store.NumWarnings < MaxKeptWarnings) Store.Numbers[static_cast<std::size_t>(++Store.NumWarnings)] = number;
}

int InputWarningCount() { return Store.NumWarnings; }

void WriteInputWarnings(std::ostream& out) {
    if (Store.NumWarnings == 0) return;
    for (int i = 1; i <= Store.NumLines; ++i) out << Store.Lines[static_cast<std::size_t>(i)].View() << '\n';
    if (Store.b_Truncated) out << "\nFurther input warnings are listed in the runtime message file only.\n";
    out << '\n';
}

void RegisterInputWarnings() {
    for (int i = 1; i <= Store.NumWarnings; ++i) {
        const int number = Store.Numbers[static_cast<std::size_t>(i)];
        // The summary prints the kind's text even when no load case set the
        // text flags (a section-only or echo-only run).
        Warnings.WarningTextPending[static_cast<std::size_t>(number)] = true;
        RaiseWarning(-number);
    }
}

}  // namespace kestro
