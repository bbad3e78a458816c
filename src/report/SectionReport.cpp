// Report pages of the section analysis. Values arrive computed; this file
// only lays them out in fixed-width lines.

#include "report/SectionReport.h"

#include <ostream>
#include <string>

#include "model/Errors.h"
#include "model/ProblemData.h"
#include "model/SectionTypes.h"
#include "report/Format.h"
#include "report/PlotFile.h"

namespace kestro {
namespace {

const std::string Rule80(80, '-');
constexpr int LabelWidth = 44;
constexpr int ValueWidth = 14;
constexpr int TableWidth = 13;

std::string Padded(const std::string& s, int w) {
    if (static_cast<int>(s.size()) >= w) return s;
    return s + std::string(static_cast<std::size_t>(w - static_cast<int>(s.size())), ' ');
}

const char* StrandTypeText(int law) {
    switch (law) {
        case 4: return "=    PCI 250";
        case 5: return "=    PCI 270";
        case 6: return "=    PCI 300";
        case 7: return "= Smooth 145 ksi bars";
        case 8: return "= Smooth 160 ksi bars";
        case 9: return "= Deformed bars (150-160 ksi)";
        default: return "= Richard equation";
    }
}

void WriteStrandCurveLines(std::ostream& out, int law) {
    switch (law) {
        // The laws as the strand stresses are computed (the same in tension
        // with the signs reversed).
        case 4:
            WriteLines(out, {"   Stress-Strain Curve for Reinforcement Defined Using PCI 250 Lo-lax Equation",
                             "   If eps <= 0.0076, fps = 28500 eps (ksi)",
                             "   If eps > 0.0076, fps = 250 - 0.04/(eps-0.0064) < 250 (ksi)"});
            return;
        case 5:
            WriteLines(out, {"   Stress-Strain Curve for Reinforcement Defined Using PCI 270 Lo-lax Equation",
                             "   If eps <= 0.0086, fps = 28500 eps (ksi)",
                             "   If eps > 0.0086, fps = 270 - 0.04/(eps-0.007) < 270 (ksi)"});
            return;
        case 6:
            WriteLines(out, {"   Stress-Strain Curve for Reinforcement Defined Using Grade 300 Equation",
                             "   If eps <= 0.0088846, fps = 28500 eps (ksi)",
                             "   If eps > 0.0088846, fps = 300 - 0.0835/(eps-0.0071) < 300 (ksi)"});
            return;
        case 3:
            WriteLines(out, {"   Stress-Strain Curve for Reinforcement Defined Using Richard Equation"});
            return;
        default:
            return;
    }
}

// The shorter legend of the section-only studies.
void WriteShortLegend(std::ostream& out) {
    WriteLines(out, {"", "Definition of Run Messages and Notes:", "", "C = concrete has cracked in tension",
                     "Y = stress in reinforcement has reached yield stress",
                     "Bending Stiffness = Bending Moment / Curvature",
                     "Position of neutral axis is computed from compression side of pile"});
}

std::string Cell(double v) { return FormatNumberText(v, TableWidth); }
std::string TextCell(const char* s) { return Padded(std::string(" ") + s, TableWidth); }

}  // namespace

SectionUnitTexts SectionUnits() {
    if (IsSI()) return {"m", "sq. m", "kPa", "kN", "kN-m", "kN-m2", "rad/m", "m"};
    if (IsGeneral()) return {"L", "L^2", "F/L^2", "F", "F-L", "F-L^2", "rad/L", "L"};
    return {"in", "sq. in.", "ksi", "kips", "in-kip", "kip-in2", "rad/in.", "ft"};
}

void WriteSectionAnalysisHeading(std::ostream& out, int source, int numSections) {
    const char* text = source == ThrustFromLrfd
                           ? "Axial thrust force values were determined from LRFD load combinations"
                           : (source == ThrustFromInput ? "Axial thrust force values were determined from input values"
                                                        : "Axial thrust force values were determined from pile-head "
                                                          "loading conditions");
    out << "\n\n" << Rule80 << '\n'
        << "Computations of Nominal Moment Capacity and Nonlinear Bending Stiffness\n"
        << Rule80 << "\n\n"
        << text << "\n\n"
        << "Number of Sections Analyzed = " << MinimalInteger(numSections) << '\n';
}

void WriteSectionNumber(std::ostream& out, int s) { out << "\nSection No. " << MinimalInteger(s) << '\n'; }

void WritePageValue(std::ostream& out, const std::string& label, double value, const std::string& unit) {
    out << "   " << Padded(label, static_cast<int>(label.size()) < LabelWidth ? LabelWidth : static_cast<int>(label.size()) + 1)
        << "=" << FormatNumberText(value, ValueWidth);
    if (!unit.empty()) out << ' ' << unit;
    out << '\n';
}

void WritePageCount(std::ostream& out, const std::string& label, long long value) {
    out << "   " << Padded(label, LabelWidth) << "=" << FormatIntegerText(value, ValueWidth) << '\n';
}

void WritePageText(std::ostream& out, const std::string& text) { out << "   " << text << '\n'; }

void WriteSectionPropertyPage(std::ostream& out, const SectionPage& p) {
    const SectionUnitTexts u = SectionUnits();
    const SectionType& t = SectionTypeFor(p.SectionType);
    out << '\n' << t.PageTitle << "\n\n";
    out << "   " << Padded("Pile Section Type", LabelWidth) << "= " << p.ShapeName << '\n';
    WritePageValue(out, "Length of Section", p.SectionLength, u.SectionLength);
    if (t.Outline == SectionOutline::Rectangle) {
        WritePageValue(out, "Width of Section", p.Width, u.Length);
        WritePageValue(out, "Depth of Section", p.Depth, u.Length);
    } else if (t.IsSteelPipe()) {
        WritePageValue(out, "Outside Diameter", p.Diameter, u.Length);
        WritePageValue(out, "Wall Thickness", p.WallThickness, u.Length);
        WritePageValue(out, "Cross-sectional Area of Pipe", p.PipeArea, u.Area);
        WritePageValue(out, "Moment of Inertia", p.PipeInertia, std::string(u.Length) + "^4");
        WritePageValue(out, "Yield Stress of Pipe", p.PipeYield, u.Stress);
        WritePageValue(out, "Elastic Modulus", p.PipeModulus, u.Stress);
        WritePageValue(out, "Plastic Modulus, Z", p.PlasticModulus, std::string(u.Length) + "^3");
        WritePageValue(out, "Plastic Moment Capacity = Fy Z", p.PlasticMoment, u.Moment);
        return;
    } else if (t.IsPrestressed()) {
        WritePageValue(out, t.HasWidth() ? "Width of Section " : "Diameter of Section ", p.Diameter, u.Length);
        if (p.VoidDiameter > 0.0) WritePageValue(out, "Diameter of Hollow Core", p.VoidDiameter, u.Length);
    } else {
        WritePageValue(out, "Shaft Diameter ", p.Diameter, u.Length);
    }
    if (t.b_Casing) {
        WritePageValue(out, "Casing Thickness", p.CasingThickness, u.Length);
        WritePageValue(out, "Yield Stress of Casing", p.CasingYield, u.Stress);
        WritePageValue(out, "Elastic Modulus of Casing", p.CasingModulus, u.Stress);
        WritePageValue(out, "Area of Casing", p.CasingArea, u.Area);
    }
    if (t.b_Core) {
        WritePageValue(out, "Core Diameter", p.CoreDiameter, u.Length);
        WritePageValue(out, "Core Wall Thickness", p.CoreThickness, u.Length);
        WritePageValue(out, "Yield Stress of Core", p.CoreYield, u.Stress);
        WritePageValue(out, "Elastic Modulus of Core", p.CoreModulus, u.Stress);
        WritePageValue(out, "Area of Core Steel", p.CoreArea, u.Area);
        if (!p.b_CoreFilled) WritePageText(out, "Note that the core is assumed to be void of concrete");
    }
    if (t.IsPrestressed()) {
        out << "\nPrestressing Strand Details:\n\n";
        out << "   " << Padded("Strand Type", LabelWidth) << StrandTypeText(p.StrandLaw) << '\n';
        WritePageValue(out, "Yield Stress, fpu", p.StrandStrength, u.Stress);
        WriteStrandCurveLines(out, p.StrandLaw);
        WritePageCount(out, "Number of Reinforcing Strands", p.NumBars);
        WritePageValue(out, "Cross-sectional Area of Single Strand", p.StrandArea, u.Area);
        WritePageValue(out, "Concrete Cover Thickness Over Strands", p.StrandCover, u.Length);
        WritePageValue(out, "Gross Area of Section", p.GrossArea, u.Area);
        WritePageValue(out, "Total Area of Prestressing Strands", p.SteelArea, u.Area);
        WritePageValue(out, "Area Ratio of Steel Reinforcement",
                       p.GrossArea > 0.0 ? 100.0 * p.SteelArea / p.GrossArea : 0.0, " percent");
    } else {
        if (p.NumBars > 0) {
            WritePageValue(out, "Concrete Cover Thickness", p.Cover, u.Length);
            WritePageCount(out, "Number of Reinforcing Bars", p.NumBars);
            WritePageValue(out, "Yield Stress of Reinforcing Bars", p.BarYield, u.Stress);
            WritePageValue(out, "Modulus of Elasticity of Reinforcing Bars", p.BarModulus, u.Stress);
            if (p.BarSpacing > 0.0) WritePageValue(out, "Edge-to-Edge Bar Spacing", p.BarSpacing, u.Length);
        } else {
            WritePageCount(out, "Number of Reinforcing Bars", 0);
        }
        WritePageValue(out, t.Outline == SectionOutline::Rectangle ? "Gross Area of Pile" : "Gross Area of Shaft",
                       p.GrossArea, u.Area);
        WritePageValue(out, "Total Area of Reinforcing Steel", p.SteelArea, u.Area);
        WritePageValue(out, "Area Ratio of Steel Reinforcement",
                       p.GrossArea > 0.0 ? 100.0 * p.SteelArea / p.GrossArea : 0.0, " percent");
    }
    out << "\nConcrete Properties:\n\n";
    WritePageValue(out, "Compressive Strength of Concrete", p.Fc, u.Stress);
    WritePageValue(out, "Modulus of Elasticity of Concrete", p.Ec, u.Stress);
    WritePageValue(out, t.IsPrestressed() ? "Modulus of Rupture of Prestressed Concrete"
                                              : "Modulus of Rupture of Concrete",
                   p.Fr, u.Stress);
    WritePageValue(out, "Compression Strain at Peak Stress", p.Eps0, "");
    WritePageValue(out, "Tensile Strain at Fracture of Concrete", p.CrackStrain, "");
    WritePageValue(out, "Maximum Coarse Aggregate Size", p.Aggregate, u.Length);
}

void WriteBarTable(std::ostream& out, bool strands, int n, const double* dia, const double* area, const double* x,
                   const double* y) {
    const SectionUnitTexts u = SectionUnits();
    out << '\n'
        << (strands ? "Prestressing Strand Geometry:" : "Reinforcing Bar Dimensions and Positions Used in Computations:")
        << "\n\n";
    // Headings and units right-aligned over their 14-column value fields.
    auto right = [](const std::string& t) { return std::string(t.size() < 14 ? 14 - t.size() : 1, ' ') + t; };
    out << (strands ? "   Strand" : "      Bar") << right("Diameter") << right("Area") << right("X") << right("Y") << '\n';
    out << "   Number" << right(u.Length) << right(u.Area) << right(u.Length) << right(u.Length) << '\n';
    for (int k = 1; k <= n; ++k)
        out << FormatIntegerText(k, 9) << FormatNumberText(dia[k], 14) << FormatNumberText(area[k], 14)
            << FormatNumberText(x[k], 14) << FormatNumberText(y[k], 14) << '\n';
}

void WriteCurvePlotRecords(std::ostream& out, const NonlinearEITable& T, int s, int j, const char* line4,
                           const char* line5) {
    const auto jj = static_cast<std::size_t>(j);
    const int np = T.NumPoints[jj];
    double mn = T.NominalMomentCapacity[jj];
    if (IsUS()) mn *= 1000.0;   // in-lb
    WritePlotRecord(out, FormatIntegerText(np, 5) + std::string(10, ' ') + PlotReal(T.Thrust[jj]) + PlotReal(mn), line4);
    for (int k = 1; k <= np; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        WritePlotRecord(out, PlotReal(T.Moment[jj][kk]) + PlotReal(T.EI[jj][kk]) + PlotReal(T.Curvature[jj][kk]),
                        std::string(line5) + MinimalInteger(s) + ", AxLd#=" + MinimalInteger(j) + ", CurvPnt#=" +
                            MinimalInteger(k));
    }
}

void WriteAxialCapacities(std::ostream& out, bool pipe, double pn, double nt, double tcr) {
    const SectionUnitTexts u = SectionUnits();
    out << "\nAxial Structural Capacities:\n\n";
    WritePageValue(out, pipe ? "Nom. Axial Structural Capacity = Fy As" : "Nom. Axial Structural Capacity = 0.85 Fc Ac + Fy As",
                   pn, u.Force);
    if (!pipe) WritePageValue(out, "Tensile Load for Cracking of Concrete", tcr, u.Force);
    WritePageValue(out, "Nominal Axial Tensile Capacity  ", nt, u.Force);
}

void WriteThrustList(std::ostream& out, int source, const double* thrust, int n, bool dropped) {
    const SectionUnitTexts u = SectionUnits();
    if (source == ThrustFromInput) {
        if (dropped)
            out << "\nThe following computations were performed only for the axial thrust values in the valid range.\n";
        out << "\nInput Axial Thrust Forces:\n\n";
    } else {
        out << "\nAxial Thrust Forces:\n\n";
    }
    out << "   Load No.    Axial Thrust, " << u.Force << '\n';
    for (int j = 1; j <= n; ++j) out << FormatIntegerText(j, 10) << "  " << FixedText(thrust[j], 16, 3) << '\n';
    out << '\n'
        << (source == ThrustFromInput ? "Number of Axial Thrust Force Values Determined from Input Data = "
                                      : "Number of Axial Thrust Force Values Determined from Pile-head Loadings = ")
        << MinimalInteger(n) << '\n';
}

void WriteThrustCapacityError(std::ostream& out, bool lrfd, bool compression, int caseNumber, double thrust,
                              double capacity) {
    const SectionUnitTexts u = SectionUnits();
    const int number = lrfd ? (compression ? 26 : 27) : (compression ? 24 : 25);
    const std::string caseText = std::string("PROBLEM:  The axial thrust load for ") +
                                 (lrfd || !compression ? "LRFD load case no. " : "load case no. ") +
                                 MinimalInteger(caseNumber) + " exceeds the axial structural capacity in " +
                                 (compression ? "compression." : "tension.");
    std::string thrustLine;
    std::string capacityLine;
    if (compression) {
        thrustLine = lrfd ? "          Factored axial thrust load     = " : "          Axial thrust load                  = ";
        capacityLine = "          Nominal axial compressive capacity = ";
    } else {
        thrustLine = lrfd ? "          Factored axial thrust load     = " : "          Axial thrust load              = ";
        capacityLine = "          Nominal axial tensile capacity = ";
    }
    const std::string force = std::string(" ") + u.Force;
    WriteLines(out, {"", "", "**** Runtime Error No. " + std::to_string(number) + " ****", "", caseText,
                     thrustLine + FormatNumberText(thrust, 14) + force,
                     capacityLine + FormatNumberText(capacity, 14) + force,
                     "SOLUTION: Change the properties of the section to increase the axial structural capacity."});
}

void WriteNoEquilibriumError(std::ostream& out, int s, double thrust, double phi, double smallest, double largest) {
    const SectionUnitTexts u = SectionUnits();
    const std::string force = std::string(" ") + u.Force;
    WriteLines(out, {"", "", "**** Runtime Error No. 40 ****", "",
                     "PROBLEM:  The section cannot carry the axial thrust: no depth of the neutral axis",
                     "          gives an axial force equal to the thrust at the first bending curvature.",
                     "          Section number                     = " + MinimalInteger(s),
                     "          Axial thrust load                  = " + FormatNumberText(thrust, 14) + force,
                     "          Bending curvature                  = " + FormatNumberText(phi, 14) + " " +
                         u.Curvature,
                     "          Axial force of the section, from   = " + FormatNumberText(smallest, 14) + force,
                     "                                       up to = " + FormatNumberText(largest, 14) + force,
                     "SOLUTION: Reduce the axial thrust, or change the properties of the section to increase",
                     "          its axial structural capacity."});
}

void WriteCurveEndsWithoutEquilibrium(std::ostream& out, double phi, double largest) {
    const SectionUnitTexts u = SectionUnits();
    WriteLines(out, {"", "Warning - The section cannot carry the axial thrust at a bending curvature of " +
                             FormatNumberText(phi, 14) + " " + u.Curvature,
                     "(largest axial force at that curvature = " + FormatNumberText(largest, 14) + " " + u.Force +
                         "). The moment-curvature curve ends at the last point of equilibrium."});
}

void WriteComputationHeading(std::ostream& out, int option) {
    out << "\n\n\nRESULTS OF COMPUTATIONS - COMPUTATION OPTION " << MinimalInteger(option) << "\n\n";
}

void WriteMomentCurvatureHeading(std::ostream& out, int option, bool pipe) {
    WriteComputationHeading(out, option);
    if (pipe) {
        WriteLines(out, {"Definition of Run Messages:", "", "Y = part of pipe section has yielded"});
        return;
    }
    WriteLines(out, {"Definitions of Run Messages and Notes:", "",
                     "   C = concrete in section has cracked in tension",
                     "   Y = stress in reinforcing steel has reached yield stress",
                     "   T = tensile strain in reinforcement exceeds 0.005 when compressive strain ",
                     "       in concrete is less than 0.003.",
                     "   Z = depth of tensile zone in concrete section is less than 10 percent of section depth",
                     "   S = stress in reinforcing steel has passed 0.6 of its yield stress",
                     "   Bending Stiffness (EI) = Bending Moment / Curvature",
                     "   Position of neutral axis is computed from compression side of pile",
                     "   Compressive stresses are positive in sign. Tensile stresses are negative in sign."});
}

void WriteCurveThrust(std::ostream& out, int j, double thrust) {
    const SectionUnitTexts u = SectionUnits();
    out << "\n\nAxial Thrust Force No. " << MinimalInteger(j) << " =" << FormatNumberText(thrust, 14) << ' ' << u.Force
        << '\n';
}

void WriteCurveTable(std::ostream& out, int columns, double angleDegrees, const WorkingCurve& c) {
    const bool si = IsSI();
    out << "\nDirection of Loading = " << FixedText(angleDegrees, 8, 2) << " degrees\n\n";
    const char* len = si ? "m" : "in";
    const char* strain = si ? "m/m" : "in/in";
    const char* stress = si ? "kPa" : "ksi";
    std::string h1, h2, h3;
    auto col = [&](const char* a, const char* b, const char* unit) {
        h1 += TextCell(a);
        h2 += TextCell(b);
        h3 += TextCell(unit);
    };
    col("Bending", "Curvature", si ? "rad/m" : "rad/in.");
    col("Bending", "Moment", si ? "kN-m" : "in-kip");
    col("Bending", "Stiffness", si ? "kN-m2" : "kip-in2");
    col("Depth to", "N Axis", len);
    if (columns == 3) {
        col("Max Total", "Stress", stress);
    } else {
        col("Max Comp", "Strain", strain);
        col("Max Tens", "Strain", strain);
        col("Max Concrete", "Stress", stress);
        col("Max Steel", "Stress", stress);
        if (columns >= 1) col("Max Casing", "Stress", stress);
        if (columns >= 2) col("Max Core", "Stress", stress);
    }
    h1 += " Run";
    h2 += " Msg";
    out << h1 << '\n' << h2 << '\n' << h3 << '\n';
    out << std::string(h1.size(), '-') << '\n';
    for (int k = 1; k <= c.NumPoints; ++k) {
        const CurvePoint& p = c.Points[static_cast<std::size_t>(k)];
        std::string row = Cell(p.Curvature) + Cell(p.Moment) + Cell(p.EI) + Cell(p.NeutralAxis);
        if (columns == 3) {
            row += Cell(p.MaxCasingStress);
        } else {
            row += Cell(p.MaxCompStrain) + Cell(p.MaxTensStrain) + Cell(p.MaxConcreteStress) + Cell(p.MaxSteelStress);
            if (columns >= 1) row += Cell(p.MaxCasingStress);
            if (columns >= 2) row += Cell(p.MaxCoreStress);
        }
        row += ' ';
        row += p.Msg[0];
        row += p.Msg[1];
        row += p.Msg[2];
        out << row << '\n';
    }
}

void WriteTooManyPointsWarning(std::ostream& out, int n, bool sectionOnly) {
    if (sectionOnly)
        out << "\nWarning - " << MinimalInteger(n) << " moment-curvature values were calculated.\n";
    else
        out << "\nWarning: " << MinimalInteger(n) << " values were calculated for moment-curvature.\n";
    WriteLines(out, {"This usually indicates that the pile is too weak or is under-reinforced, where all reinforcing "
                     "steel has yielded.",
                     "The input data should be examined and the amount of steel reinforcement should be increased if "
                     "necessary."});
}

void WriteNegativeMomentWarning(std::ostream& out) {
    WriteLines(out, {"", "Warning - Negative values of bending moment were computed.",
                     "This usually indicates that the pile is too weak or is under-reinforced, where all reinforcing "
                     "steel has yielded.",
                     "The input data should be examined and the amount of steel reinforcement should be increased if "
                     "necessary."});
}

void WriteNominalMomentSummary(std::ostream& out, int s, bool lrfd, bool concrete, int n, const double* thrust,
                               const double* mn, const double* strain) {
    const SectionUnitTexts u = SectionUnits();
    out << "\n\n" << Rule80 << '\n'
        << "Summary of Results for Nominal (Unfactored) Moment Capacity for Section " << MinimalInteger(s) << '\n'
        << Rule80 << "\n\n"
        << "Moment values interpolated at maximum compressive strain = 0.003\n"
        << "or maximum developed moment if pile fails at smaller strains.\n\n";
    out << "    Load       Axial Thrust      Nominal Moment" << (concrete ? "     Max. Comp." : "") << '\n';
    out << "    No.        Force             Capacity      " << (concrete ? "     Strain" : "") << '\n';
    out << "               " << Padded(u.Force, 18) << u.Moment << '\n';
    for (int j = 1; j <= n; ++j) {
        out << FormatIntegerText(j, 6) << "   " << FixedText(thrust[j], 16, 3) << "  " << FixedText(mn[j], 16, 3);
        if (concrete) out << "  " << FixedText(strain[j], 12, 5);
        out << '\n';
    }
    out << '\n';
    if (lrfd) {
        WriteLines(out, {"Note that the values in the above table are not factored by a strength",
                         "reduction factor for LRFD analysis."});
    } else {
        WriteLines(out, {"Note note that the values of moment capacity in the table above are not ",
                         "factored by a strength reduction (phi) factor."});
    }
}

void WriteSingleStateHeading(std::ostream& out, double phi, double thrust, double angleDegrees, double station) {
    const SectionUnitTexts u = SectionUnits();
    WriteComputationHeading(out, 1);
    out << "- All input values specified\n\n"
        << "Bending Curvature   = " << FormatNumberText(phi, 14) << ' ' << u.Curvature << '\n'
        << "Axial Loading        = " << FormatNumberText(thrust, 14) << ' ' << u.Force << '\n'
        << "Direction of loading = " << FixedText(angleDegrees, 8, 2) << " degrees\n"
        << "Pile station depth   = " << FormatNumberText(station, 14) << ' ' << u.Length << '\n';
    WriteShortLegend(out);
}

void WriteRotationHeading(std::ostream& out) {
    WriteComputationHeading(out, 2);
    WriteLines(out, {"- Outer loop on direction of loading angles", "- Inner loop on curvature",
                     "- Axial thrust and pile station specified"});
    WriteShortLegend(out);
}

void WriteRotationSummary(std::ostream& out, int n, const double* angleDegrees, const double* moment) {
    const SectionUnitTexts u = SectionUnits();
    out << "\n\nSummary of Results for Rotation of Angle of Loading - Analysis Mode 2\n\n"
        << "Interpolated values for maximum compression strain = 0.003\n\n"
        << "   Direction        Maximum Moment, " << u.Moment << '\n';
    for (int k = 1; k <= n; ++k)
        out << FixedText(angleDegrees[k], 10, 2) << " deg.  " << FixedText(moment[k], 16, 3) << '\n';
}

void WriteInteractionHeading(std::ostream& out, double angleDegrees, double station) {
    const SectionUnitTexts u = SectionUnits();
    WriteComputationHeading(out, 3);
    out << "- Interaction of Combined Axial Load and Bending Moment\n"
        << "- Direction of loading = " << FixedText(angleDegrees, 8, 2) << " degrees from X-axis\n"
        << "- Pile station depth   = " << FormatNumberText(station, 14) << ' ' << u.Length << " from top of pile\n";
    WriteShortLegend(out);
}

void WriteInteractionSummary(std::ostream& out, double angleDegrees, int n, const double* thrust,
                             const double* moment) {
    const bool si = IsSI();
    out << "\n\nSummary of Results for Column Interaction - Analysis Mode 3\n"
        << "(Interpolated values for maximum compression strain = 0.003)\n\n"
        << "Direction of Loading = " << FixedText(angleDegrees, 8, 2) << " degrees\n\n"
        << " Load" << "       Axial Thrust" << "     Maximum Moment" << '\n'
        << " Num." << Padded(std::string("       ") + (si ? "kN" : "kips"), 19)
        << (si ? "     kN-m" : "     in-kips") << '\n';
    for (int k = 1; k <= n; ++k)
        out << FormatIntegerText(k, 5) << FixedText(thrust[k], 18, 3) << FixedText(moment[k], 18, 3) << '\n';
}

void WriteUserEITitle(std::ostream& out) {
    out << "\n\n" << Rule80 << '\n' << "User-Specified Nonlinear Bending Stiffness\n" << Rule80 << '\n';
}

void WriteUserEISection(std::ostream& out, int s, double top, double bottom) {
    const SectionUnitTexts u = SectionUnits();
    out << "\nPile Section = " << MinimalInteger(s) << " from " << FixedText(top, 10, 3) << " to "
        << FixedText(bottom, 10, 3) << ' ' << u.SectionLength << '\n';
}

void WriteUserEIThrust(std::ostream& out, int np, int j, int nt, double thrust) {
    const bool si = IsSI();
    out << "\nNumber of points on EI vs. M curve = " << MinimalInteger(np) << " for Load No. " << MinimalInteger(j)
        << " of " << MinimalInteger(nt) << '\n'
        << "Axial Thrust Load = " << FormatNumberText(thrust, 14) << ' ' << SectionUnits().Force << "\n\n"
        << "        Moment            EI     Curvature\n"
        << (si ? "          kN-m         kN-m2     rad./meter\n" : "       in-kips       kip-in2  radians/inch\n");
}

void WriteUserEIRow(std::ostream& out, double moment, double ei, double curvature, bool suspect) {
    out << FormatNumberText(moment, 14) << FormatNumberText(ei, 14) << FormatNumberText(curvature, 14);
    if (suspect) out << " <-- Possible Input Error";
    out << '\n';
}

void WriteUserEIWarning(std::ostream& out) {
    WriteLines(out, {"", "**** Warning - POSSIBLE INPUT ERROR ****", "",
                     "The input data for nonlinear bending appears to be input incorrectly.",
                     "The bending moments of each curve should be positive and increase from point to point.",
                     "Please check the marked values."});
}

void WriteUserEIRatioError(std::ostream& report, std::ostream& messages) {
    for (std::ostream* o : {&report, &messages})
        WriteLines(*o, {"", "", "**** Input Data Error No. 51 ****", "",
                        "Problem:  The nonlinear bending stiffness input by the user varies by more than ",
                        "a factor of 100 for a given axial thrust force.",
                        "Solution: Check the values of bending stiffness EI of the user-defined curves."});
}

}  // namespace kestro
