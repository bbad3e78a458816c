// Printed p-y curve page of vuggy limestone.

#include <ostream>

#include "model/RunState.h"
#include "report/PyCurvePage.h"

namespace kestro {

void WriteVuggyLimestonePage(std::ostream& out, std::ostream& plot, const BasicPyPage& s) {
    WritePyTitle(out, "p-y Curve for Vuggy Limestone (Strong Rock) Criteria");
    const std::string_view len = Run.Labels.Length;
    WritePyInteger(out, "Soil Layer Number", 30, s.Layer, 12);
    WritePyValue(out, "Depth below pile head", 30, s.DepthBelowHead, 3, len);
    WritePyValue(out, "Depth below Ground Surface", 30, s.Z, 3, len);
    WritePyValue(out, "Shaft Diameter", 30, s.B, 3, len);
    WritePyValue(out, "Uniaxial Compressive Strength", 30, s.Value, 3, StressUnitText());
    WritePyValue(out, "p-multiplier", 30, s.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 30, s.YMult, 5, "");
    out << '\n';
    // The p heading starts in column 22.
    WritePyHeading(out, PyHeadingGapTo(22), "---------------   ---------------");
    WritePyRowsAndRecords(out, plot, s.Curve);
}

}  // namespace kestro
