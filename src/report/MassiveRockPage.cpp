// Printed p-y curve page of massive rock.

#include <ostream>

#include "model/RunState.h"
#include "report/PyCurvePage.h"

namespace kestro {

void WriteMassiveRockPage(std::ostream& out, std::ostream& plot, const MassiveRockPage& s) {
    const BasicPyPage& c = s.Common;
    WritePyTitle(out, "p-y Curve Computed Using the Criteria for Massive Rock by Liang, et al., 2009");
    const std::string_view len = Run.Labels.Length;
    const std::string_view fpl = Run.Labels.ForcePerLength;
    WritePyLayerAndDepths(out, 55, c.Layer, c.DepthBelowHead, c.Z);
    WritePyValue(out, s.b_EquivalentDepth ? "Depth into rock used for the rock mass strength"
                                          : "Depth used for the rock mass strength",
                 55, s.ZEq, 3, len);
    WritePyValue(out, "Pile Diameter", 55, c.B, 3, len);
    WritePyValue(out, "Uniaxial compressive strength", 55, c.Value, 3, StressUnitText());
    WritePyValue(out, "Avg. Eff. Unit Weight", 55, s.Gamma, 5, UnitWeightUnitText());
    WritePyValue(out, "m sub i", 55, 6.0, 3, "");
    WritePyValue(out, "Geological Strength Index GSI", 55, 42.0, 3, "");
    WritePyValue(out, "Poisson's Ratio", 55, 0.4, 3, "");
    WritePyValue(out, "Intact rock modulus Er", 55, s.Er, 3, StressUnitText());
    WritePyValue(out, "Rock mass modulus Em", 55, s.Em, 3, StressUnitText());
    WritePyValue(out, "Initial slope Ki", 55, s.Ki, 3, ModulusUnitText());
    WritePyValue(out, "Friction angle of the Hoek-Brown tangent", 55, s.PhiDegrees, 3, "degrees");
    WritePyValue(out, "Cohesion of the Hoek-Brown tangent", 55, s.Cohesion, 3, StressUnitText());
    WritePyValue(out, "Side shear 0.45 sqrt(qu)", 55, s.Tau, 3, StressUnitText());
    WritePyValue(out, "pu, wedge", 55, s.PuWedge, 3, fpl);
    WritePyValue(out, "pu, flow around", 55, s.PuFlow, 3, fpl);
    WritePyValue(out, "pu", 55, s.Pu, 3, fpl);
    WritePyValue(out, "p-multiplier", 55, c.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 55, c.YMult, 5, "");
    out << '\n';
    WritePyHeading(out, "            ", "----------------    -----------------");
    WritePyRowsAndRecords(out, plot, c.Curve);
}

}  // namespace kestro
