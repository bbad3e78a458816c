#pragma once
// Per-run state of the driver: the error number, the run files, the format
// tag, the unit labels and the soil code table. Reset at the start of each run.

#include <array>
#include <string_view>

#include "model/Limits.h"
#include "model/Text.h"

namespace kestro {

// Report unit labels of the chosen unit system; fixed widths, blank-padded.
struct UnitLabels {
    std::string_view Length;          // 3
    std::string_view Force;           // 4
    std::string_view ForceShort;      // 3
    std::string_view Moment;          // 5
    std::string_view ForcePerLength;  // 5
    std::string_view UnitWeight;      // 5
    std::string_view Stress;          // 4
    std::string_view Depth;           // 2
    std::string_view SmallLength;     // 2
    std::string_view SectionLength;   // 2
};

struct RunState {
    int ErrorNumber = 0;
    std::array<Text<RecordLength>, 7> RunFiles{};   // 1..6, the lines of NAMES.DAT
    Text<7> FormatTag{};
    UnitLabels Labels{};
    bool b_SI = false;                 // true only for SI units
    bool b_Converted = false;          // input converted to internal units this run
    // Numbers written this run as NaN, Infinity or a field of asterisks: a run
    // that wrote any of them cannot end normally.
    int UnprintableValues = 0;
    bool b_EchoOnly = false;           // NAMES.DAT line 7 "ECHO ONLY": read, check and echo the input only
    std::array<int, 12> KindNumbers{};  // consecutive kind numbers used by the section analysis
};

extern RunState Run;

inline constexpr std::string_view VersionText = "(6.0.20)";

// True once a fatal error has been stored; every caller returns at once.
inline bool Failed() { return Run.ErrorNumber > 0; }

// Empties the run state and refills its tables (the driver's first step).
void ResetRunState();

}  // namespace kestro
