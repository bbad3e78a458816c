// Printed p-y curve page of the elastic subgrade.

#include <ostream>
#include <string>

#include "model/RunState.h"
#include "report/PyCurvePage.h"

namespace kestro {

void WriteElasticSubgradePage(std::ostream& out, std::ostream& plot, const ElasticSubgradePage& s) {
    WritePyTitle(out, "p-y Curve for Elastic Subgrade");
    const std::string_view len = Run.Labels.Length;
    // Labels padded so that "= " stands in column 56.
    WritePyInteger(out, "Soil Layer Number", 55, s.Layer, 10);
    WritePyValue(out, "Depth below pile head", 55, s.DepthBelowHead, 3, len);
    WritePyValue(out, "Depth below Ground Surface", 55, s.Z, 3, len);
    WritePyValue(out, "Shaft Diameter", 55, s.B, 3, len);
    // Esub b is the spring modulus: Esub is a force per length cubed.
    WritePyValue(out, "Elastic Subgrade Modulus", 55, s.Esub, 3, UnitWeightUnitText());
    WritePyValue(out, "p-multiplier", 55, s.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 55, s.YMult, 5, "");
    out << '\n';
    // The p heading starts in column 22.
    const std::size_t used = 11 + (len.size() < 2 ? len.size() : 2);
    WritePyHeading(out, std::string(21 - used, ' '), "---------------   ---------------");
    for (int n = 1; n <= MaxPyPoints; ++n) {
        const std::size_t k = static_cast<std::size_t>(n);
        WritePyRow(out, s.Curve.Y[k], s.Curve.P[k]);
    }
    WritePyLine7(plot, s.Curve);
    for (int n = 1; n <= MaxPyPoints; ++n) WritePyLine8(plot, s.Curve, n);
}

}  // namespace kestro
