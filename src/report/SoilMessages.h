#pragma once
// Error blocks and notes of the soil property lookups and the p-y criteria.
// Each writes one block to `out`; the caller writes it to the report and, where
// the block belongs there too, to the runtime message file, then terminates.

#include <iosfwd>
#include <string_view>

namespace kestro {

void WriteInputError3(std::ostream& out, double depth);
void WriteInputError4(std::ostream& out, double depth);
void WriteInputError5(std::ostream& out, double depth, double deepest);
void WriteInputError15(std::ostream& out, double depth);
void WriteInputError60(std::ostream& out, double depth);

struct InterfaceDump {
    double X = 0.0;
    bool b_AtInterface = false, b_InMiddle = false, b_AtTip = false, b_AtNode = false;
    int LayerAbove = 0, LayerBelow = 0;
    double GapAbove = 0.0, GapBelow = 0.0;
};
// Internal error of f_c: the layer interface cannot be located.
void WriteInterfaceNotFound(std::ostream& out, const InterfaceDump& d);

struct ClassPairDump {
    double X = 0.0;
    int ClassAbove = 0, ClassBelow = 0;
    int PointIndex = 0;
    bool b_AtTip = false;
    int SoilAbove = 0, SoilBelow = 0;
};
// Runtime Error 24: strengths of two layers that cannot be combined.
void WriteRuntimeError24(std::ostream& out, const ClassPairDump& d);

// A secant modulus that is not a finite number.
void WriteModulusNotANumber(std::ostream& out, int station);
// A layer whose soil code names a criterion this build does not provide.
void WriteCriterionUnavailable(std::ostream& out, int layer, std::string_view code);

struct SoftClayError12 {
    int Layer = 0, Station = 0, TopStation = 0, BottomStation = 0;
    double Depth = 0.0, C = 0.0, PileLength = 0.0;
};
// Input Data Error 12; `reportCopy` adds the pile length and station range.
void WriteInputError12(std::ostream& out, const SoftClayError12& e, bool reportCopy);

// Support address printed by Runtime Error 24.
inline constexpr std::string_view SupportAddress = "support@kestro.example";

}  // namespace kestro
