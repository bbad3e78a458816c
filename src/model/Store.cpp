// The process-wide model store and its reset.

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

void ResetProblemData() {
    // Copy from static empty instances: the store is too large for temporaries on the stack.
    static const ProblemData EmptyProblem{};
    static const UserEICurves EmptyCurves{};
    Problem = EmptyProblem;
    UserEISlots.EmptyWritten(EmptyCurves);
    NewKeptStationGeneration();
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
    for (std::size_t k = 0; k < Run.KindNumbers.size(); ++k) Run.KindNumbers[k] = static_cast<int>(k);
}

}  // namespace kestro

#include "model/PileModel.h"
namespace kestro {
PileModel Pile;
}  // namespace kestro
