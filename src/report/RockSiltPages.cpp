// Printed p-y curve pages of weak rock, liquefied sand, loess and cemented silt.

#include "report/RockSiltPages.h"

#include <ostream>
#include <string>

#include "model/RunState.h"
#include "report/Format.h"

namespace kestro {

namespace {

// label padded to `width`, "= ", the value in ES12.d, then " unit"
void WriteScientificValue(std::ostream& out, std::string_view label, int width, double v, int d,
                          std::string_view unit) {
    std::string s(label);
    if (static_cast<int>(s.size()) < width) s.append(static_cast<std::size_t>(width) - s.size(), ' ');
    out << s << "= " << ScientificText(v, 12, d);
    if (!unit.empty()) out << ' ' << unit;
    out << '\n';
}

// A value that fits F12.d is printed so; a larger one in ES12.4, never as asterisks.
void WriteValue(std::ostream& out, std::string_view label, int width, double v, int d, std::string_view unit) {
    if (FixedText(v, 12, d).find('*') == std::string::npos)
        WritePyValue(out, label, width, v, d, unit);
    else
        WriteScientificValue(out, label, width, v, 4, unit);
}

}  // namespace

void WriteWeakRockPage(std::ostream& out, std::ostream& plot, const WeakRockPage& s) {
    constexpr int W = 33;
    const std::string_view len = Run.Labels.Length;
    const std::string_view fpl = Run.Labels.ForcePerLength;
    WritePyTitle(out, "p-y Curve Computed Using Weak Rock Criteria");
    WritePyInteger(out, "Soil Layer Number", W, s.Layer, 12);
    WriteValue(out, "Depth below ground surface", W, s.Z, 3, len);
    WriteValue(out, "Diameter", W, s.B, 3, len);
    WriteValue(out, "Unconfined Compressive Strength", W, s.Qu, 3, StressUnitText());
    WriteValue(out, "Gamma Avg", W, s.Gamma, 5, UnitWeightUnitText());
    WriteValue(out, "Xr", W, s.Xr, 3, len);
    WriteValue(out, "RQD", W, s.Rqd, 3, "%");
    WriteValue(out, "Eir", W, s.Eir, 0, StressUnitText());
    WriteValue(out, "Pu", W, s.Pur, 3, fpl);
    WriteValue(out, "k_rm", W, s.Krm, 5, "");
    WriteScientificValue(out, "K_ir", W, s.Kir, 5, ModulusUnitText());
    WriteValue(out, "Alpha_r", W, s.AlphaR, 5, "");
    WriteValue(out, "Yu", W, s.Yu, 5, len);
    WriteValue(out, "Yrm", W, s.Yrm, 5, len);
    WriteScientificValue(out, "Y_A", W, s.YA, 5, len);
    WriteValue(out, "p-multiplier", W, s.PMult, 5, "");
    WriteValue(out, "y-multiplier", W, s.YMult, 5, "");
    out << '\n';
    WritePyHeading(out, "            ", "----------------    -----------------");
    WritePyRowsAndRecords(out, plot, s.Curve);
}

void WriteLiquefiedSandPage(std::ostream& out, std::ostream& plot, const LiquefiedSandPage& s) {
    constexpr int W = 55;
    const std::string_view len = Run.Labels.Length;
    WritePyTitle(out, "p-y Curve Computed Using Liquefied Sand Criteria");
    out << '\n';
    WriteValue(out, "Depth below ground surface", W, s.Z, 3, len);
    WriteValue(out, "Diameter", W, s.B, 3, len);
    WriteValue(out, "Gamma Avg", W, s.Gamma, 5, UnitWeightUnitText());
    WriteValue(out, "Upper limit Pu", W, s.Pu, 3, Run.Labels.ForcePerLength);
    WriteValue(out, "p-multiplier", W, s.PMult, 5, "");
    WriteValue(out, "y-multiplier", W, s.YMult, 5, "");
    out << '\n';
    WritePyHeading(out, "            ", "----------------    -----------------");
    WritePyRowsAndRecords(out, plot, s.Curve);
    out << '\n';
}

void WriteLoessPage(std::ostream& out, std::ostream& plot, const LoessPage& s) {
    constexpr int W = 55;
    const std::string_view len = Run.Labels.Length;
    const std::string_view fpl = Run.Labels.ForcePerLength;
    WritePyTitle(out, "p-y Curve for Loess");
    WritePyInteger(out, "Soil Layer Number", W, s.Layer, 10);
    WriteValue(out, "Depth below pile head", W, s.DepthBelowHead, 3, len);
    WriteValue(out, "Depth below Ground Surface", W, s.Z, 3, len);
    WriteValue(out, "Shaft Diameter", W, s.B, 3, len);
    WriteValue(out, s.b_DepthAdjusted ? "Depth Adj. Cone tip resistance" : "Cone tip resistance", W, s.Qc, 3,
               StressUnitText());
    WriteValue(out, "Initial Modulus, Ei", W, s.Ei, 3, ModulusUnitText());
    WriteValue(out, "p_u0", W, s.Pu0, 3, StressUnitText());
    WriteValue(out, "p_u", W, s.Pu, 3, fpl);
    WriteValue(out, "Number of Cycles of Loading", W, s.Cycles, 0, "cycles");
    WriteValue(out, "p-multiplier", W, s.PMult, 5, "");
    WriteValue(out, "y-multiplier", W, s.YMult, 5, "");
    out << '\n';
    WritePyHeading(out, PyHeadingGapTo(22), "---------------   ---------------");
    WritePyRowsAndRecords(out, plot, s.Curve);
}

void WriteCementedSiltPage(std::ostream& out, std::ostream& plot, const CementedSiltPage& s) {
    constexpr int W = 28;
    const std::string_view len = Run.Labels.Length;
    const std::string_view fpl = Run.Labels.ForcePerLength;
    WritePyTitle(out, s.b_Cyclic ? "p-y Curve Computed Using the Cyclic Criteria for Cemented Silt"
                                 : "p-y Curve Computed Using the Static Criteria for Cemented Silt");
    WritePyInteger(out, "Soil Layer Number", W, s.Layer, 12);
    WriteValue(out, "Depth below pile head", W, s.DepthBelowHead, 3, len);
    WriteValue(out, "Depth below ground surface", W, s.Z, 3, len);
    WriteValue(out, "Equivalent Depth, x", W, s.ZEq, 3, len);
    WriteValue(out, "Pile Diameter, B", W, s.B, 3, len);
    WriteValue(out, "Cohesion, c", W, s.C, 3, StressUnitText());
    WriteValue(out, "Angle of Friction, phi", W, s.PhiDegrees, 3, "deg.");
    WriteValue(out, "Avg. Eff. Unit Weight", W, s.Gamma, 5, UnitWeightUnitText());
    WriteValue(out, "k (interp. from input)", W, s.K, 3, UnitWeightUnitText());
    WriteValue(out, "Epsilon50 (interp.)", W, s.Eps50, 5, "");
    WriteValue(out, "x/B ratio", W, s.XOverB, 3, "");
    WriteValue(out, "A parameter = fn(x/B)", W, s.A, 5, "");
    WriteValue(out, "B parameter = fn(x/B)", W, s.Bc, 5, "");
    WriteValue(out, "m", W, s.M, 3, ModulusUnitText());
    WriteValue(out, "n", W, s.N, 5, "");
    WriteValue(out, "Cbar", W, s.Cbar, 3, "");
    WriteValue(out, "yk", W, s.Yk, 5, len);
    WriteValue(out, "Pu", W, s.Pu, 3, fpl);
    WriteValue(out, "Pc", W, s.Pc, 3, fpl);
    WriteValue(out, "ym = b/60", W, s.Ym, 5, len);
    WriteValue(out, "pm", W, s.Pm, 3, fpl);
    WriteValue(out, "yu = 3b/80", W, s.Yu, 5, len);
    WriteValue(out, "Pu,c", W, s.PuC, 3, fpl);
    WriteValue(out, "Pu,phi", W, s.PuPhi, 3, fpl);
    WriteValue(out, "p-multiplier", W, s.PMult, 5, "");
    WriteValue(out, "y-multiplier", W, s.YMult, 5, "");
    out << '\n'
        << "        y, " << len.substr(0, len.size() < 2 ? len.size() : 2) << "             p," << fpl << '\n'
        << "----------------    -----------------\n";
    WritePyRowsAndRecords(out, plot, s.Curve);
}

}  // namespace kestro
