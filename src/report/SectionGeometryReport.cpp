// Report blocks of the section geometry and material stages.

#include "report/SectionGeometryReport.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "model/Errors.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/Format.h"

namespace kestro {
namespace {

std::string Trim(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

std::string Pad(std::string_view s, std::size_t w) {
    std::string t(s);
    if (t.size() < w) t.append(w - t.size(), ' ');
    return t;
}

std::string LengthUnit() { return Trim(Run.Labels.SectionLength); }
std::string AreaUnit() { return IsSI() ? "sq. m" : IsUS() ? "sq. in." : "sq. L"; }
std::string StressUnit() { return IsSI() ? "kPa" : IsUS() ? "ksi" : "F/L2"; }
std::string ForceUnit() { return IsSI() ? "kN" : IsUS() ? "kips" : "F"; }

// A value printed compactly for a message line.
std::string Compact(double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%.6g", v);
    return b;
}

void Line(std::ostream& out, std::string_view label, std::size_t width, const std::string& value,
          const std::string& unit) {
    out << Pad(label, width) << "= " << value;
    if (!unit.empty()) out << ' ' << unit;
    out << '\n';
}

}  // namespace

void WriteCircularBarPositions(std::ostream& out, const CircularArrangement& a, const BarArray& x, const BarArray& y,
                               int n) {
    const std::string u = LengthUnit();
    out << "\nComputed Positions of Reinforcing Steel for Circular Arrangement:\n\n";
    Line(out, "Radius of Reinforcement Circle", 55, FixedText(a.Radius, 12, 4), u);
    Line(out, "Diameter of Reinforcement Circle", 55, FixedText(2.0 * a.Radius, 12, 4), u);
    Line(out, "Central Angle Between Reinforcement (center-to-center)", 55,
         FixedText(a.CentralAngle * 180.0 / 3.141592653589793, 12, 2), "deg.");
    Line(out, "Clear Spacing Between Reinforcing Bars", 55, FixedText(a.ClearSpacing, 12, 4), u);
    Line(out, "Diameter of Reinforcing Bar", 55, FixedText(a.BarDiameter, 12, 4), u);
    out << "\n   Bar           X           Y\n";
    const std::string unit = std::string(u.size() < 12 ? 12 - u.size() : 0, ' ') + u;
    out << std::string(6, ' ') << unit << unit << '\n';
    for (int k = 1; k <= n && k <= MaxBars; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        out << FormatIntegerText(k, 6) << FixedText(x[kk], 12, 3) << FixedText(y[kk], 12, 3) << '\n';
    }
}

void WriteManderParameters(std::ostream& out, const ManderResults& r, bool core) {
    auto v = [](double d) { return FormatNumberText(d, 14); };
    const std::string s = StressUnit(), a = AreaUnit();
    if (core) {
        out << "\nMander & Priestley Parameters for Confined Concrete in Core\n\n";
        out << "f'cc = " << v(r.ConfinedStrength) << ' ' << s << '\n'
            << "f'l  = " << v(r.ConfiningStress) << ' ' << s << '\n'
            << "r    = " << v(r.R) << '\n'
            << "rhos = " << v(r.Rhos) << '\n'
            << "Ep 0 = " << v(r.Epsilon0) << '\n'
            << "Epcc = " << v(r.EpsilonCC) << '\n'
            << "Ac   = " << v(r.Acc) << ' ' << a << '\n'
            << "Ust  = " << v(r.Ust) << '\n'
            << "Ucc  = " << v(r.Ucc) << '\n'
            << "Uco  = " << v(r.Uco) << '\n'
            << "Epcu = " << v(r.Epcu) << '\n';
        return;
    }
    out << "\nMander & Priestley Parameters for Confined Concrete\n\n";
    Line(out, "f'cc", 32, v(r.ConfinedStrength), s);
    Line(out, "f'l", 32, v(r.ConfiningStress), s);
    Line(out, "r", 32, v(r.R), "");
    Line(out, "rhos", 32, v(r.Rhos), "");
    Line(out, "Epsilon 0", 32, v(r.Epsilon0), "");
    Line(out, "Epsilon cc", 32, v(r.EpsilonCC), "");
    Line(out, "Ac", 32, v(r.Acc), a);
    Line(out, "Ust", 32, v(r.Ust), "");
    Line(out, "Ucc", 32, v(r.Ucc), "");
    Line(out, "Uco", 32, v(r.Uco), "");
    Line(out, "Strain energy imbalance Ust+Uco", 32, v(r.Imbalance), "");
    Line(out, "Epcu", 32, v(r.Epcu), "");
}

void WritePrestressBlock(std::ostream& out, const PrestressInputs& in, const PrestressResults& r, bool si) {
    const std::string f = ForceUnit(), s = StressUnit(), a = AreaUnit();
    const int areaDecimals = si ? 6 : 3;
    // Forces of the input are in pounds in US customary runs and printed in kips.
    const double forceScale = in.b_US ? 1.0 / 1000.0 : 1.0;
    out << "\nComputation of Loss of Prestress:\n\n";
    Line(out, "Initial Prestressing Force", 40, FixedText(in.InitialForce * forceScale, 14, 3), f);
    Line(out, "Fraction of Loss of Prestress", 40, FixedText(in.LossFraction, 14, 3), "");
    Line(out, "Effective Prestressing Force", 40, FixedText(r.EffectiveForce * forceScale, 14, 3), f);
    Line(out, "Area of Concrete, Ac      ", 40, FixedText(in.ConcreteArea, 14, areaDecimals), a);
    Line(out, "Area of Steel, As         ", 40, FixedText(in.SteelArea, 14, areaDecimals), a);
    Line(out, "Stress in Concrete After Losses, f_pc", 40, FixedText(r.ConcreteStress, 14, 3), s);
    Line(out, "Stress in Steel After Losses", 40, FixedText(r.SteelStress, 14, 3), s);
    Line(out, "Compressive Strain in Concrete", 40, FixedText(r.ConcretePrestrain, 14, 6), "");
    Line(out, "Tensile Strain in Steel  ", 40, FixedText(r.InitialSteelStrain, 14, 6), "");
    out << "\nEstimated Structural Capacities Computed Using PCI Equations:\n\n";
    Line(out, "Nom. Axial Cap., Pn = (0.85 f'c - 0.60 f_pc) Ag", 55, FixedText(r.NominalAxialCapacity, 14, 3), f);
    Line(out, "Unfac. Axial Load Cap. N  = (0.33 f'c - 0.27 f_pc) Ag", 55, FixedText(r.AxialLoadCapacity, 14, 3), f);
    Line(out, "Axial Capacity in Tension, Nt = As fpu", 55, FixedText(r.TensileCapacity, 14, 3), f);
    const char* mn = "Mn = 0.32 D As fpu ";
    if (in.MomentFactor == 0.34) mn = "Mn = 0.34 D As fpu";
    if (in.MomentFactor == 0.37) mn = "Mn = 0.37 D As fpu";
    if (in.MomentFactor == 0.38) mn = "Mn = 0.38 D As fpu";
    Line(out, std::string("Nom. Moment Capacity, ") + mn, 55, FixedText(r.NominalMoment, 14, 3),
         Trim(IsSI() ? "kN-m" : IsUS() ? "in-kips" : "F-L"));
    WriteLines(out, {"", "Note:  The above value of nominal moment capacity is based on equations that",
                     "assume a concrete compressive strength of 6,000 psi (41.4 MPa), a prestressing",
                     "level after losses of 700 psi (4.83 MPa), and an axial thrust loading of zero. ",
                     "When different values for these factors are input, the estimated value of Mn ",
                     "may differ greatly from the capacity computed by Kestro and should be considered",
                     "only as an approximate check."});
}

void WritePrestressAreaError(std::ostream& out, int number, double value) {
    const bool concrete = number == 14;
    WriteLines(out, {"", "", concrete ? "**** Runtime Error No. 14 ****" : "**** Runtime Error No. 15 ****", "",
                     "Error in prestrain computations"});
    out << (concrete ? "Computed area of concrete is less than 0 = " : "Computed area of steel is less than 0 = ")
        << FormatNumberText(value, 14) << '\n';
}

void WriteNeutralAxisError(std::ostream& out) {
    WriteLines(out, {"", "", "**** Runtime Error No. 16 ****", "",
                     "Location of neutral axis was not found within 1,000 iterations."});
}

void WriteNegativeStationError(std::ostream& out, double x, int station, bool tapered) {
    WriteLines(out, {"", "", "**** Input Data Error No. 45 ****", "",
                     "Input data has specified negative pile station coordinate.",
                     "Value must be greater than or equal to 0.  "});
    out << "Input value = " << Compact(x) << ", PileStation = " << station << ", and Tapered = "
        << (tapered ? 'T' : 'F') << '\n';
    WriteLines(out, {"Check and correct input data"});
}

void WriteStationBeyondSectionError(std::ostream& out, double limit, int section, double x, bool tapered) {
    WriteLines(out, {"", "", "**** Input Data Error No. 46 ****", "",
                     "A pile coordinate has been specified that is deeper than the pile length."});
    out << "The value must be less than or equal to " << Compact(limit) << '\n'
        << "Pile section number = " << section << ", Pile Station Position = " << Compact(x)
        << " and b_Tapered = " << (tapered ? 'T' : 'F') << '\n';
    WriteLines(out, {"Check and correct the input data"});
}

void WriteInterpolatedDimensions(std::ostream& out, double depth, double width) {
    const std::string u = LengthUnit();
    out << "\nInterpolated Section Dimensions\n";
    out << "Depth of section = " << FixedText(depth, 12, 4) << ' ' << u << '\n';
    out << "Width of section = " << FixedText(width, 12, 4) << ' ' << u << '\n';
}

void WriteSectionValueError(std::ostream& out, int number, int section, const char* item, double value,
                            int problem) {
    char head[48];
    std::snprintf(head, sizeof head, "**** Input Data Error No. %d ****", number);
    const std::string of = " of section " + std::to_string(section);
    std::string text;
    switch (problem) {
        case ValueNegative:
            text = "Problem:  The " + std::string(item) + of + " is " + Compact(value) + "; it must not be negative.";
            break;
        case ValueTooLarge:
            text = "Problem:  The " + std::string(item) + of + " is " + Compact(value) +
                   ", which leaves no room for it inside the section.";
            break;
        case BarsDoNotFit:
            text = "Problem:  Reinforcing bar " + Compact(value) + of +
                   " lies outside the concrete or overlaps another bar.";
            break;
        case TooFewBars:
            text = "Problem:  The " + std::string(item) + of + " is " + Compact(value) +
                   "; a square or rectangular pattern needs at least 4.";
            break;
        case CodeOutOfRange:
            text = "Problem:  The " + std::string(item) + of + " is " + Compact(value) + "; it must be 1 to 6.";
            break;
        default:
            text = "Problem:  The " + std::string(item) + of + " is " + Compact(value) +
                   "; it must be greater than zero.";
            break;
    }
    WriteLines(out, {"", "", head, "", text,
                     "Solution: Correct the dimensions, materials and reinforcement of the section.", ""});
}

}  // namespace kestro
