// Store of the pile analysis: the nonlinear EI tables and their reset.

#include "model/EITables.h"
#include "model/PileModel.h"
#include "model/SoilState.h"
#include "model/WrittenSlots.h"

namespace kestro {

namespace {
WrittenSlots<NonlinearEITable, MaxEISections> Tables;
}  // namespace

const Array1<NonlinearEITable, MaxEISections>& EITables = Tables.Slots;

NonlinearEITable& EITableToWrite(int s) { return Tables.Write(s); }

void ResetEITables() {
    // Copy from a static empty table: a table is too large for the stack.
    static const NonlinearEITable Empty{};
    Tables.EmptyWritten(Empty);
}

void ResetPileModel() {
    static const PileModel Empty{};
    Pile = Empty;
    NewKeptStationGeneration();
}

}  // namespace kestro
