// Store of the section analysis results besides the EI tables.

#include "model/SectionTables.h"

namespace kestro {

Array1<SectionCapacity, MaxSections> SectionCapacities;
WorkingCurve Curve;

void ResetSectionTables() {
    static const WorkingCurve EmptyCurve{};
    for (auto& c : SectionCapacities) c = SectionCapacity{};
    Curve = EmptyCurve;
}

}  // namespace kestro
