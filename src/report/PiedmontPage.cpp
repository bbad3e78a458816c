// Printed p-y curve page of Piedmont residual soil.

#include <ostream>

#include "model/RunState.h"
#include "report/PyCurvePage.h"

namespace kestro {

void WritePiedmontPage(std::ostream& out, std::ostream& plot, const PiedmontPage& s) {
    WritePyTitle(out, "p-y Curve for Piedmont Residual Soil Criteria");
    const std::string_view len = Run.Labels.Length;
    // Labels padded so that "= " stands in column 56.
    WritePyInteger(out, "Soil Layer Number", 55, s.Layer, 10);
    WritePyValue(out, "Depth below pile head", 55, s.DepthBelowHead, 3, len);
    WritePyValue(out, "Depth below Ground Surface", 55, s.Z, 3, len);
    WritePyValue(out, "Shaft Diameter", 55, s.B, 3, len);
    WritePyValue(out, "Initial Modulus from Field Tests", 55, s.E, 3, StressUnitText());
    WritePyValue(out, "p-multiplier", 55, s.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 55, s.YMult, 5, "");
    out << '\n';
    WritePyHeading(out, PyHeadingGapTo(22), "---------------   ---------------");
    WritePyRowsAndRecords(out, plot, s.Curve);
}

}  // namespace kestro
