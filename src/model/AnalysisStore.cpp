// Store of the pile analysis: the nonlinear EI tables and their reset.

#include "model/EITables.h"
#include "model/PileModel.h"
#include "model/SoilState.h"

namespace kestro {

Array1<NonlinearEITable, MaxEISections> EITables;

void ResetEITables() {
    // Copy from a static empty table: a table is too large for the stack.
    static const NonlinearEITable Empty{};
    for (auto& t : EITables) t = Empty;
}

void ResetPileModel() {
    static const PileModel Empty{};
    Pile = Empty;
    NewKeptStationGeneration();
}

}  // namespace kestro
