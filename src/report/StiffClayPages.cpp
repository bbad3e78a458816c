// Printed p-y curve pages of the stiff clay criteria, with and without free
// water (the latter with or without the initial line k z y).

#include <ostream>
#include <string>

#include "model/RunState.h"
#include "report/PyCurvePage.h"

namespace kestro {

void WriteStiffClayFreeWaterPage(std::ostream& out, std::ostream& plot, const StiffClayFreeWaterPage& s) {
    WritePyTitle(out, s.b_Cyclic ? "p-y Curve Computed Using Cyclic Criteria for Stiff Clay with Free Water"
                                 : "p-y Curve Computed Using Static Criteria for Stiff Clay with Free Water");
    const std::string_view len = Run.Labels.Length;
    const std::string_view fpl = Run.Labels.ForcePerLength;
    WritePyLayerAndDepths(out, 28, s.Layer, s.DepthBelowHead, s.Z);
    WritePyValue(out, "Equivalent Depth", 28, s.ZEq, 3, len);
    WritePyValue(out, "Diameter", 28, s.B, 3, len);
    WritePyValue(out, "c (at curve depth)", 28, s.C, 3, StressUnitText());
    WritePyValue(out, "Avergage c", 28, s.Ca, 3, StressUnitText());
    WritePyValue(out, "Average Eff. Unit Weight", 28, s.Gamma, 5, UnitWeightUnitText());
    WritePyValue(out, "k", 28, s.K, 3, UnitWeightUnitText());
    WritePyValue(out, "Epsilon50", 28, s.Eps50, 5, "");
    WritePyValue(out, "y50", 28, s.Y50, 5, len);
    WritePyValue(out, "As", 28, s.As, 3, "");
    WritePyValue(out, s.b_Cyclic ? "Ac" : "Ac (not used)", 28, s.Ac, 5, "");
    WritePyValue(out, "pct", 28, s.Pct, 3, fpl);
    WritePyValue(out, "pcd", 28, s.Pcd, 3, fpl);
    WritePyValue(out, "pc", 28, s.Pc, 3, fpl);
    WritePyValue(out, "pu", 28, s.Pu, 3, fpl);
    WritePyValue(out, "p-multiplier", 28, s.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 28, s.YMult, 5, "");
    if (s.b_Cyclic) WritePyValue(out, "Number of Cycles of Loading", 28, s.NumberOfCycles, 0, "");
    out << '\n' << "        y, " << len.substr(0, 2) << "             p," << fpl << '\n'
        << "----------------    -----------------\n";
    WritePyRowsAndRecords(out, plot, s.Curve);
}

void WriteStiffClayNoFreeWaterPage(std::ostream& out, std::ostream& plot, const StiffClayNoFreeWaterPage& s) {
    constexpr double Degrees = 180.0 / 3.14159265358979323846;
    const std::string_view title = s.b_Cyclic
                                       ? "p-y Curve Computed Using Cyclic Criteria for Stiff Clay without Free Water"
                                       : "p-y Curve Computed Using Static Criteria for Stiff Clay without Free Water";
    // The page with k: the title line is followed at once by the line of the
    // option, then the blank line; its values stand at "= " in column 29,
    // the other page's in column 56, after the three angles.
    const bool withK = s.b_InitialK;
    if (withK)
        out << "\n\n" << title << "\nWith Option of Defining Initial k\n\n";
    else
        WritePyTitle(out, title);
    const int width = withK ? 28 : 55;
    const std::string_view len = Run.Labels.Length;
    const std::string_view fpl = Run.Labels.ForcePerLength;
    WritePyLayerAndDepths(out, width, s.Layer, s.DepthBelowHead, s.Z);
    if (!withK) {
        WritePyValue(out, "Ground Slope Angle", width, s.GroundSlope * Degrees, 3, "degrees");
        WritePyValue(out, "Pile Batter Angle", width, s.PileBatter * Degrees, 3, "degrees");
        WritePyValue(out, "Effective Slope", width, s.EffectiveSlope * Degrees, 3, "degrees");
    }
    WritePyValue(out, "Equivalent Depth", width, s.ZEq, 3, len);
    WritePyValue(out, "Diameter", width, s.B, 3, len);
    WritePyValue(out, "Undrained cohesion, c", width, s.C, 5, StressUnitText());
    WritePyValue(out, "Average Eff. Unit Weight", width, s.Gamma, 5, UnitWeightUnitText());
    if (withK) WritePyValue(out, "k", width, s.K, 0, UnitWeightUnitText());
    WritePyValue(out, "Epsilon-50", width, s.Eps50, 5, "");
    WritePyValue(out, "Pct", width, s.Pct, 3, fpl);
    WritePyValue(out, "Pcd", width, s.Pcd, 3, fpl);
    WritePyValue(out, "Pu", width, s.Pu, 3, fpl);
    WritePyValue(out, "y50", width, s.Y50, 5, len);
    WritePyValue(out, "p-multiplier", width, s.PMult, 5, "");
    WritePyValue(out, "y-multiplier", width, s.YMult, 5, "");
    if (s.b_Cyclic)
        WritePyValue(out, withK ? "Number of Cycles of Loading" : "Number of cycles of loading", width,
                     s.NumberOfCycles, 0, "");
    out << "\n\n        y, " << len.substr(0, 2) << "            p, " << fpl << '\n'
        << "----------------    -----------------\n";
    WritePyRowsAndRecords(out, plot, s.Curve);
}

}  // namespace kestro
