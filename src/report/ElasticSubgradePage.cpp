// Printed p-y curve pages of the elastic subgrade and of Piedmont residual
// soil: one modulus under the depths, with "= " in column 56.

#include <ostream>
#include <string>

#include "model/RunState.h"
#include "report/PyCurvePage.h"

namespace kestro {

namespace {
void WriteModulusPage(std::ostream& out, std::ostream& plot, const BasicPyPage& s, std::string_view title,
                      std::string_view label, std::string_view unit) {
    WritePyTitle(out, title);
    const std::string_view len = Run.Labels.Length;
    // Labels padded so that "= " stands in column 56.
    WritePyInteger(out, "Soil Layer Number", 55, s.Layer, 10);
    WritePyValue(out, "Depth below pile head", 55, s.DepthBelowHead, 3, len);
    WritePyValue(out, "Depth below Ground Surface", 55, s.Z, 3, len);
    WritePyValue(out, "Shaft Diameter", 55, s.B, 3, len);
    WritePyValue(out, label, 55, s.Value, 3, unit);
    WritePyValue(out, "p-multiplier", 55, s.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 55, s.YMult, 5, "");
    out << '\n';
    // The p heading starts in column 22.
    WritePyHeading(out, PyHeadingGapTo(22), "---------------   ---------------");
    WritePyRowsAndRecords(out, plot, s.Curve);
}
}  // namespace

void WriteElasticSubgradePage(std::ostream& out, std::ostream& plot, const BasicPyPage& s) {
    // Esub b is the spring modulus: Esub is a force per length cubed.
    WriteModulusPage(out, plot, s, "p-y Curve for Elastic Subgrade", "Elastic Subgrade Modulus", UnitWeightUnitText());
}

void WritePiedmontPage(std::ostream& out, std::ostream& plot, const BasicPyPage& s) {
    WriteModulusPage(out, plot, s, "p-y Curve for Piedmont Residual Soil Criteria", "Initial Modulus from Field Tests",
                     StressUnitText());
}

}  // namespace kestro
