// Sections whose readers are not part of this build yet: the run ends with a
// clear input error instead of reading them wrongly.

#include <string>

#include "input/InputFile.h"
#include "input/Readers.h"

namespace kestro {
namespace {
void NotYetSupported(const char* keyword) {
    InputError(83, std::string("Problem:  The ") + keyword + " section cannot be read by this build of the engine.",
               "Solution: Remove the section or use a build that reads it.");
}
}  // namespace

void ReadSections() { NotYetSupported("SECTIONS"); }
void ReadSoilLayers() { NotYetSupported("SOIL LAYERS"); }
void ReadLoading() { NotYetSupported("LOADING"); }
void ReadAxialThrustLoads() { NotYetSupported("AXIAL THRUST LOADS"); }
void ReadLrfdLoads() { NotYetSupported("LRFD LOADS"); }
void ReadLrfdFactors() { NotYetSupported("LRFD FACTORS AND CASES"); }
void ReadTipShear() { NotYetSupported("TIP SHEAR"); }
void ReadBatterAndSlope() { NotYetSupported("PILE BATTER AND SLOPE"); }
void ReadGroupFactors() { NotYetSupported("GROUP EFFECT FACTORS"); }
void ReadSoilMovements() { NotYetSupported("SOIL MOVEMENTS"); }
void ReadPrintedPyDepths() { NotYetSupported("DEPTHS OF PRINTED P-Y CURVES"); }

}  // namespace kestro
