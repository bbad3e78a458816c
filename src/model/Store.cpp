// The process-wide model store and its reset.

#include <cstring>

#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "model/WrittenSlots.h"

namespace kestro {

ProblemData Problem;

namespace {
WrittenSlots<UserEICurves, MaxEISections> UserEISlots;
}  // namespace

const Array1<UserEICurves, MaxEISections>& UserEI = UserEISlots.Slots;

UserEICurves& UserEIToWrite(int n) { return UserEISlots.Write(n); }

RunState Run;

namespace {
constexpr const char* SoilCodes[NumSoilCodes + 1] = {
    "        ", "SoftClay", "StfClyBW", "StfClyAW", "StfClyAK", "Sand    ", "API Sand", "Liq Sand", "WeakRock",
    "Vuggy LS", "Piedmont", "Cem Silt", "KS Loess", "Elast SG", "User p-y", "Frz Soil", "MassRock"};
}

void ResetProblemData() {
    // Copy from static empty instances: the store is too large for temporaries on the stack.
    static const ProblemData EmptyProblem{};
    static const UserEICurves EmptyCurves{};
    Problem = EmptyProblem;
    UserEISlots.EmptyWritten(EmptyCurves);
    NewKeptStationGeneration();
}

std::string_view SoilCode(int type) {
    if (type < 1 || type > NumSoilCodes) return std::string_view(SoilCodes[0], 8);
    return std::string_view(Run.SoilCodeTable[static_cast<std::size_t>(type)].data(), 8);
}

void ResetRunState() {
    Run.ErrorNumber = 0;
    for (auto& f : Run.RunFiles) f.Clear();
    Run.FormatTag.Clear();
    Run.Labels = UnitLabels{};
    Run.b_SI = false;
    Run.b_Converted = false;
    Run.UnprintableValues = 0;
    Run.b_EchoOnly = false;
    // Soil model codes: each stored as 10 characters, the 8-character code and two blanks.
    for (int k = 0; k <= NumSoilCodes; ++k) {
        auto& e = Run.SoilCodeTable[static_cast<std::size_t>(k)];
        std::memcpy(e.data(), SoilCodes[k], 8);
        e[8] = ' ';
        e[9] = ' ';
        e[10] = '\0';
    }
    for (std::size_t k = 0; k < Run.KindNumbers.size(); ++k) Run.KindNumbers[k] = static_cast<int>(k);
}

}  // namespace kestro

#include "model/PileModel.h"
namespace kestro {
PileModel Pile;
}  // namespace kestro
