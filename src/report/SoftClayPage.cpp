// Printed p-y curve page of the soft clay criterion.

#include <ostream>

#include "model/RunState.h"
#include "report/Format.h"
#include "report/PyCurvePage.h"

namespace kestro {

void WriteSoftClayPage(std::ostream& out, std::ostream& plot, const SoftClayPage& s) {
    constexpr double Degrees = 180.0 / 3.14159265358979323846;
    const bool cyclicPage = s.NumberOfCycles >= 2.0;
    WritePyTitle(out, cyclicPage ? "p-y Curve Computed Using the Soft Clay Criteria for Cyclic Loading Conditions"
                                 : "p-y Curve Computed Using the Soft Clay Criteria for Static Loading Conditions");
    const std::string_view len = Run.Labels.Length;
    WritePyLayerAndDepths(out, 28, s.Layer, s.DepthBelowHead, s.Z);
    WritePyValue(out, "Ground Slope Angle", 28, s.GroundSlope * Degrees, 3, "degrees");
    WritePyValue(out, "Pile Batter", 28, s.PileBatter * Degrees, 3, "degrees");
    WritePyValue(out, "Effective Slope", 28, s.EffectiveSlope * Degrees, 3, "degrees");
    WritePyValue(out, "Equivalent Depth", 28, s.ZEq, 3, len);
    WritePyValue(out, "Pile Diameter", 28, s.B, 3, len);
    WritePyValue(out, "Cohesion, c", 28, s.C, 3, StressUnitText());
    WritePyValue(out, "Avg Eff Unit Weight", 28, s.Gamma, 5, UnitWeightUnitText());
    WritePyValue(out, "Epsilon50 parameter", 28, s.Eps50, 5, "");
    WritePyValue(out, "Default J parameter", 28, s.J, 3, "");
    WritePyValue(out, "Y50", 28, s.Y50, 5, len);
    WritePyValue(out, "p-multiplier", 28, s.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 28, s.YMult, 5, "");
    if (cyclicPage) {
        WritePyValue(out, "Number of cycles of loading", 28, s.NumberOfCycles, 0, "");
        WritePyValue(out, "Xr", 28, s.Xr, 3, len);
    }
    out << '\n';
    WritePyHeading(out, "            ", "----------------    -----------------");
    for (int n = 1; n <= MaxPyPoints; ++n) {
        const std::size_t k = static_cast<std::size_t>(n);
        WritePyRow(out, s.Curve.Y[k], s.Curve.P[k]);
        if (n > 1 && s.b_Limited[k]) {
            out << "\n**** Warning ****\n\nThe pile deflection is less than 0.00001*Y50.\n"
                << "Kestro used the limiting value of soil modulus (= " << ScientificText(s.Ki, 12, 4) << ' '
                << ModulusUnitText() << ") when computing the p-y curve for soft clay.\n";
        }
    }
    WritePyLine7(plot, s.Curve);
    for (int n = 1; n <= MaxPyPoints; ++n) WritePyLine8(plot, s.Curve, n);
}

}  // namespace kestro
