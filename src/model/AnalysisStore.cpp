// Store of the pile analysis: the nonlinear EI tables and their reset.

#include "model/EITables.h"
#include "model/PileModel.h"
#include "model/SoilState.h"

namespace kestro {

namespace {
Array1<NonlinearEITable, MaxEISections> Tables;
Array1<bool, MaxEISections> Written{};
}  // namespace

const Array1<NonlinearEITable, MaxEISections>& EITables = Tables;

NonlinearEITable& EITableToWrite(int s) {
    const std::size_t k = static_cast<std::size_t>(s);
    Written.at(k) = true;
    return Tables[k];
}

void ResetEITables() {
    // Copy from a static empty table: a table is too large for the stack.
    static const NonlinearEITable Empty{};
    for (std::size_t k = 0; k < Tables.size(); ++k) {
        if (!Written[k]) continue;
        Tables[k] = Empty;
        Written[k] = false;
    }
}

void ResetPileModel() {
    static const PileModel Empty{};
    Pile = Empty;
    NewKeptStationGeneration();
}

}  // namespace kestro
