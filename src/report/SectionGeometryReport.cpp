// Report blocks of the section geometry and material stages (interfaces; filled in next).

#include "report/SectionGeometryReport.h"

#include <ostream>

namespace kestro {

void WriteCircularBarPositions(std::ostream&, const CircularArrangement&, const BarArray&, const BarArray&, int) {}
void WriteManderParameters(std::ostream&, const ManderResults&, bool) {}
void WritePrestressBlock(std::ostream&, const PrestressInputs&, const PrestressResults&, bool) {}
void WritePrestressAreaError(std::ostream&, int, double) {}
void WriteNeutralAxisError(std::ostream&) {}
void WriteNegativeStationError(std::ostream&, double, int, bool) {}
void WriteStationBeyondSectionError(std::ostream&, double, int, double, bool) {}
void WriteSectionValueError(std::ostream&, int, int, const char*, double, int) {}

}  // namespace kestro
