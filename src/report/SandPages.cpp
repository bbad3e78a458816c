// Printed p-y curve pages of the two sand criteria (Reese and API): the
// values above the curve with "= " in column 56, the rows, and the notes.

#include <ostream>
#include <string>

#include "model/Errors.h"
#include "model/RunState.h"
#include "report/Format.h"
#include "report/PyCurvePage.h"

namespace kestro {

namespace {

constexpr double Degrees = 180.0 / 3.14159265358979323846;

void WriteAngles(std::ostream& out, const SandPageCommon& s) {
    WritePyValue(out, "Ground Slope Angle", 55, s.GroundSlope * Degrees, 3, "degrees");
    WritePyValue(out, "Pile Batter", 55, s.PileBatter * Degrees, 3, "degrees");
    WritePyValue(out, "Effective Slope", 55, s.EffectiveSlope * Degrees, 3, "degrees");
}

void WriteDepthNote(std::ostream& out, const SandPageCommon& s) {
    if (!s.b_BelowRock) {
        out << "This p-y curve is computed using the equivalent depth.\n";
    } else {
        WriteLines(out, {"This layer is below one or more layers of rock.  In this case, the ",
                         "layering correction is not used and the true depth below the ground ",
                         "surface is used when computing the p-y curve.  "});
    }
}

}  // namespace

void WriteReeseSandPage(std::ostream& out, std::ostream& plot, const ReeseSandPage& page) {
    const SandPageCommon& s = page.Common;
    const std::string_view len = Run.Labels.Length;
    const std::string_view fpl = Run.Labels.ForcePerLength;
    WritePyTitle(out, s.b_Cyclic ? "p-y Curve in Sand Computed Using Reese Criteria for Cyclic Loading Conditions"
                                 : "p-y Curve in Sand Computed Using Reese Criteria for Static Loading Conditions");
    WritePyLayerAndDepths(out, 55, s.Layer, s.DepthBelowHead, s.Z);
    WriteAngles(out, s);
    WritePyValue(out, "Equivalent Depth (see note)", 55, s.ZEq, 3, len);
    WritePyValue(out, "Pile Diameter b", 55, s.B, 3, len);
    WritePyValue(out, "Angle of Friction", 55, s.Phi, 3, "deg.");
    WritePyValue(out, "Avg. Eff. Unit Weight", 55, s.Gamma, 5, UnitWeightUnitText());
    WritePyValue(out, "kpy", 55, s.K, 3, UnitWeightUnitText());
    WritePyValue(out, "K active", 55, page.Ka, 5, "");
    WritePyValue(out, "K passive", 55, page.Kp, 5, "");
    WritePyValue(out, "K0", 55, page.K0, 5, "");
    WritePyValue(out, "Pst", 55, page.Pst, 3, fpl);
    WritePyValue(out, "Psd", 55, page.Psd, 3, fpl);
    WritePyValue(out, page.Pst <= page.Psd ? "Ps = Pst (shallow controls)" : "Ps = Psd (deep controls)", 55, page.Ps,
                 3, fpl);
    WritePyValue(out, s.b_Cyclic ? "A (cyclic)" : "A (static)", 55, page.FactorA, 4, "");
    WritePyValue(out, s.b_Cyclic ? "B (cyclic)" : "B (static)", 55, page.FactorB, 4, "");
    WritePyValue(out, "C = pm/(ym^(1/n))", 55, page.C, 3, "");
    WritePyValue(out, "n = pm/(m ym)", 55, page.N, 3, "");
    WritePyValue(out, "m = (pu-pm)/(yu-ym)", 55, page.M, 3, ModulusUnitText());
    WritePyValue(out, "yk = [c/(kx)]^(n/(n-1))", 55, page.Yk, 5, len);
    WritePyValue(out, "pk", 55, page.Pk, 3, fpl);
    WritePyValue(out, "ym = b/60", 55, page.Ym, 5, len);
    WritePyValue(out, "pm = B ps", 55, page.Pm, 3, fpl);
    WritePyValue(out, "yu = 3b/80", 55, page.Yu, 5, len);
    WritePyValue(out, "pu = A Ps", 55, page.Pu, 3, fpl);
    WritePyValue(out, "Es,lim", 55, page.Kx, 3, ModulusUnitText());
    WritePyValue(out, "p-multiplier", 55, s.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 55, s.YMult, 5, "");
    WriteDepthNote(out, s);
    out << '\n';
    WritePyHeading(out, "            ", "----------------    -----------------");
    const PyCurveTable& t = s.Curve;
    bool b_AnyMarked = false;
    for (std::size_t n = 1; n <= static_cast<std::size_t>(MaxPyPoints); ++n) {
        if (page.b_Initial[n]) {
            // the mark takes the blank column in front of the deflection
            b_AnyMarked = true;
            out << "   *" << FormatNumberText(t.Y[n], 12).substr(1) << "     " << FormatNumberText(t.P[n], 12) << '\n';
        } else {
            WritePyRow(out, t.Y[n], t.P[n]);
        }
    }
    if (b_AnyMarked) out << "* p value(s) computed using p = k * Eff x * y \n";
    if (s.b_DefaultK)
        out << "The above p-y curve was computed using internal default values of k.\n";
    else
        out << '\n';
    WritePyLine7(plot, t);
    for (int n = 1; n <= MaxPyPoints; ++n) WritePyLine8(plot, t, n);
}

void WriteApiSandPage(std::ostream& out, std::ostream& plot, const ApiSandPage& page) {
    const SandPageCommon& s = page.Common;
    const std::string_view len = Run.Labels.Length;
    const std::string_view fpl = Run.Labels.ForcePerLength;
    WritePyTitle(out, s.b_Cyclic ? "p-y Curve Computed Using API Sand Criteria for Cyclic Loading"
                                 : "p-y Curve Computed Using API Sand Criteria for Static Loading");
    WritePyLayerAndDepths(out, 55, s.Layer, s.DepthBelowHead, s.Z);
    WriteAngles(out, s);
    WritePyValue(out, "Equivalent Depth (see note)", 55, s.ZEq, 3, len);
    WritePyValue(out, "Diameter", 55, s.B, 3, len);
    WritePyValue(out, "Friction Angle phi", 55, s.Phi, 3, "deg.");
    WritePyValue(out, "Avg. Eff. Unit Wt.", 55, s.Gamma, 5, UnitWeightUnitText());
    WritePyValue(out, "k", 55, s.K, 3, UnitWeightUnitText());
    WritePyValue(out, "C1", 55, page.C1, 5, "");
    WritePyValue(out, "C2", 55, page.C2, 5, "");
    WritePyValue(out, "C3", 55, page.C3, 5, "");
    WritePyValue(out, "A", 55, page.A, 5, "");
    WritePyValue(out, "Pus", 55, page.Pus, 3, fpl);
    WritePyValue(out, "Pud", 55, page.Pud, 3, fpl);
    WritePyValue(out, "Pu", 55, page.Pu, 3, fpl);
    WritePyValue(out, "p-multiplier", 55, s.PMult, 5, "");
    WritePyValue(out, "y-multiplier", 55, s.YMult, 5, "");
    WriteDepthNote(out, s);
    out << '\n';
    WritePyHeading(out, "            ", "----------------    -----------------");
    WritePyRowsAndRecords(out, plot, s.Curve);
    if (s.b_DefaultK) out << "The above p-y curve was computed using the internal default value of k.\n";
}

}  // namespace kestro
