// The input echo. Every page restates the model as the readers left it, in
// the units of the input (feet for depths and lengths in US customary runs,
// pcf for unit weights, psf for cohesion ...), because it runs before the
// conversion to internal units. The checks that need the whole model (pile
// against soil profile, curves against the ground surface) are made here.

#include "report/InputEcho.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/Warnings.h"
#include "input/InputWarnings.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SectionTypes.h"
#include "report/Format.h"
#include "report/LrfdEcho.h"
#include "soil/SoilModels.h"

namespace kestro {

namespace {

constexpr double RadiansToDegrees = 180.0 / 3.141592653589793;

// Plausible effective unit weights: 20 to 140 pcf, held in pci as single-precision
// constants; the input (pcf) is divided by 1728 before the comparison.
const double UnitWeightLowPci = static_cast<double>(0.011574f);
const double UnitWeightHighPci = static_cast<double>(0.0810019f);
constexpr double CubicInchesPerCubicFoot = 1728.0;
constexpr double UnitWeightLowSI = 3.15;   // kN/m3
constexpr double UnitWeightHighSI = 22.0;  // kN/m3

// Recommended depth limit of the liquefied sand criterion below the ground surface.
constexpr double LiquefiedSandLimitMeters = 6.0;
constexpr double MetersPerFoot = 0.3048;

// Reset values of a negative convergence tolerance.
const double ResetToleranceInches = static_cast<double>(1.0E-6f);
constexpr double ResetToleranceMeters = 2.54E-8;

std::size_t At(int i) { return static_cast<std::size_t>(i); }

int Clamp(int n, int max) { return std::max(0, std::min(n, max)); }

std::string Pad(std::string_view s, std::size_t w) {
    std::string r(s);
    if (r.size() < w) r.append(w - r.size(), ' ');
    return r;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// A real without leading blanks, d decimals (for numbers inside message text).
std::string Plain(double v, int d) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", d, v);
    return buf;
}

std::string Int(long long v) { return MinimalInteger(v); }

const std::string Rule80(80, '-');

// Page heading: two blank lines, a rule, the indented title, a rule, a blank line.
void PageHeading(std::ostream& out, int indent, std::string_view title) {
    out << "\n\n" << Rule80 << '\n' << std::string(At(indent), ' ') << title << '\n' << Rule80 << "\n\n";
}

// A labelled value with "= " at column 56.
void ValueLine(std::ostream& out, std::string_view label, const std::string& value, std::string_view unit = {}) {
    out << Pad(label, 55) << "= " << value;
    unit = TrimRight(unit);
    if (!unit.empty()) out << ' ' << unit;
    out << '\n';
}

// A section dimension line: 30-character label, "= ", the value and its unit.
void DimensionLine(std::ostream& out, std::string_view label, const std::string& value, std::string_view unit) {
    out << Pad(label, 30) << "= " << value;
    unit = TrimRight(unit);
    if (!unit.empty()) out << ' ' << unit;
    out << '\n';
}

// Numbered input data error found while echoing: the block goes to the report
// and to the runtime message file, then the run ends with "INP" and the number.
void EchoError(std::ostream& out, int number, const std::vector<std::string>& lines) {
    char head[48];
    std::snprintf(head, sizeof head, "**** Input Data Error No. %d ****", number);
    for (std::ostream* o : {&out, &MessageOut()}) {
        *o << "\n\n" << head << "\n\n";
        for (const std::string& l : lines) *o << l << '\n';
        *o << '\n';
    }
    char code[16];
    std::snprintf(code, sizeof code, "INP%05d", number);
    TerminateRun(code, 100 + number);
}

int Units() { return Problem.Options.UnitSystem; }
const UnitLabels& L() { return Run.Labels; }

// Units of soil and section properties that the label table does not hold.
std::string_view SubgradeUnit() { return Units() == UnitsUS ? "pci" : Units() == UnitsSI ? "kN/m3" : "F/L3"; }
std::string_view PressureUnit() { return Units() == UnitsUS ? "psi" : Units() == UnitsSI ? "kPa" : "F/L2"; }
// The elastic subgrade modulus Esub gives the spring p = Esub b y, a force
// per length cubed like k.
std::string_view ElasticSubgradeUnit() {
    return Units() == UnitsUS ? "pci" : Units() == UnitsSI ? "kN/m3" : "F/L3";
}
std::string_view StiffnessUnit() { return Units() == UnitsUS ? "lb-in^2" : Units() == UnitsSI ? "kN-m^2" : "F-L^2"; }
std::string_view DepthUnit() { return TrimRight(L().Depth); }
std::string_view SizeUnit() { return TrimRight(L().SectionLength); }
std::string_view ForceUnit() { return TrimRight(L().Force); }
std::string_view MomentUnit() { return TrimRight(L().Moment); }

const SoilLayer& Layer(int k) { return Problem.Layers[At(k)]; }

// True when soil model `type` reads value `v` for its points.
bool Reads(int type, SoilValue v) {
    const SoilModel* m = SoilModelOf(type);
    return m != nullptr && m->ReadsValue(v);
}
const SoilPoint& Point(int p) { return Problem.SoilPoints[At(p)]; }
int NumLayers() { return Clamp(Problem.NumLayers, MaxSoilLayers); }

bool AnyUserCurveLayer() {
    for (int k = 1; k <= NumLayers(); ++k)
        if (Reads(Layer(k).SoilType, SoilValue::UserCurve)) return true;
    return false;
}

bool AnyLengthStudy() {
    for (int i = 1; i <= Clamp(Problem.NumLoadCases, MaxLoadCases); ++i)
        if (Problem.LoadCases[At(i)].LengthStudyRequested) return true;
    return false;
}

// ---------------------------------------------------------------- pages

void TitlePage(std::ostream& out) {
    PageHeading(out, 32, "Problem Title");
    for (int i = 1; i <= 5; ++i) out << Problem.Title[At(i)].View() << '\n';
}

void ProgramOptionsPage(std::ostream& out) {
    AnalysisOptions& O = Problem.Options;
    PageHeading(out, 31, "Program Options");
    switch (O.UnitSystem) {
        case UnitsSI:
            out << "Engineering units are SI Units: kilonewtons, meters, millimeters\n";
            break;
        case UnitsGeneral:
            out << "Engineering units are Generic Units: force, length\n";
            break;
        default:
            out << "Engineering units are US Customary Units: pounds, inches, feet\n";
            break;
    }

    out << "\nBasic Program Options:\n";
    switch (O.ComputationMode) {
        case 1:
            out << "This analysis computes pile response using user-specified constant EI\n";
            break;
        case 2:
            out << "This analysis computes nominal moment capacity and nonlinear bending stiffness only\n";
            break;
        case 3:
            out << "This analysis computes nonlinear bending stiffness and nominal moment \n"
                << "capacity with pile response computed using nonlinear EI\n";
            break;
        case 4:
            out << "Analysis Type 4: \n"
                << "- Computation of Nonlinear Bending Stiffness and Nominal Moment Capacity, \n"
                << "  Computation of Pile Response Using User-specified Constant EI\n";
            break;
        case 5:
            out << "This analysis computes pile response using user-specified nonlinear bending stiffness\n";
            break;
        default:
            break;
    }
    if (O.ComputationMode == 2) return;

    out << "\nComputation Options:\n";
    out << (AnyUserCurveLayer() ? "- User-specified p-y curves used in analysis\n"
                                : "- Only internally-generated p-y curves used in analysis\n");
    out << (O.UsePYModifiers ? "- Analysis uses p-y multiplers for group action\n"
                             : "- Analysis does not use p-y multipliers (individual pile or shaft action only)\n");
    out << (O.UseTipShear ? "- Analysis uses tip shear resistance for short pile or shaft\n"
                          : "- Analysis assumes no shear resistance at pile tip\n");
    out << (AnyLengthStudy() ? "- Analysis includes automatic computation of pile-top deflection vs.\n"
                               "  pile embedment length\n"
                             : "- Analysis for fixed-length pile or shaft only\n");
    out << (O.ComputeKmatrix ? "- Analysis includes computation of foundation stiffness matrix elements\n"
                             : "- No computation of foundation stiffness matrix elements\n");
    out << (O.PrintSummaryOnly ? "- Output summary table of values for pile-head deflection, maximum\n"
                                 "  bending moment, and shear force only\n"
                               : "- Output pile response for full length of pile\n");
    out << (O.UseSoilMovement ? "- Analysis includes effects of soil movement on pile response\n"
                              : "- Analysis assumes no soil movements acting on pile\n");
    out << (O.PrintPYCurves ? "- p-y curves computed and output for user-specified depths\n"
                            : "- No p-y curves to be computed and output for user-specified depths\n");

    // A negative tolerance is replaced here, in the model, so that the
    // iteration uses the value the report states.
    bool reset = false;
    if (O.ConvergenceTolerance < 0.0 && (O.UnitSystem == UnitsUS || O.UnitSystem == UnitsSI)) {
        O.ConvergenceTolerance = O.UnitSystem == UnitsUS ? ResetToleranceInches : ResetToleranceMeters;
        reset = true;
    }
    const std::string_view length = L().Length;
    out << "\nSolution Control Parameters:\n";
    ValueLine(out, "- Number of pile increments", FormatIntegerText(O.NumIncrements, 12));
    ValueLine(out, "- Maximum number of iterations allowed", FormatIntegerText(O.MaxIterations, 12));
    ValueLine(out, "- Deflection tolerance for convergence", ScientificText(O.ConvergenceTolerance, 12, 4), length);
    if (reset) {
        out << "(Specified convergence tolerance of 0 reset by program to"
            << ScientificText(O.ConvergenceTolerance, 12, 4)
            << (O.UnitSystem == UnitsUS ? " inches)" : " meters)") << '\n';
    }
    ValueLine(out, "- Maximum allowable deflection", FixedText(O.ExcessDeflectionLimit, 12, 4), length);

    out << "\nPile Response Output Options:\n";
    if (O.PrintSummaryOnly) {
        out << "- Only summary tables of pile-head deflection, maximum bending moment,\n"
            << "  and maximum shear force are to be written to output report file.\n";
    } else {
        out << "- Values of pile-head deflection, bending moment, shear force, and \n"
            << "  soil reaction are printed for full length of pile.\n";
        ValueLine(out, "- Printing Increment (nodal spacing of output points)", FormatIntegerText(O.PrintIncrement, 12));
    }
}

// ------------------------------------------------------- pile sections

std::string SectionValue(double v) { return FixedText(v, 15, 3); }

// Areas and moments of inertia below 1 in magnitude (small SI sections in m2
// and m4) print in scientific notation so that their digits are kept.
std::string SectionPropertyValue(double v, int decimals) {
    if (v != 0.0 && std::fabs(v) < 1.0) return ScientificText(v, 15, 6);
    return FixedText(v, 15, decimals);
}

void AreaLine(std::ostream& out, std::string_view label, double v) {
    out << Pad(label, 30) << "= " << SectionPropertyValue(v, 6) << " sq. " << SizeUnit() << '\n';
}

void InertiaLine(std::ostream& out, std::string_view label, double v) {
    DimensionLine(out, label, SectionPropertyValue(v, 3), std::string(SizeUnit()) + "^4");
}

void SizeLine(std::ostream& out, std::string_view label, double v) { DimensionLine(out, label, SectionValue(v), SizeUnit()); }

void ElasticSectionBlock(std::ostream& out, const PileSection& S) {
    static constexpr const char* ShapeNames[6] = {"    Rectangular", "       Circular", "  Circular Pipe",
                                                  "  Strong H-Pile", "    Weak H-Pile", "Embedded Circular Pole"};
    const int shape = S.ElasticShape;
    out << Pad("   Cross-sectional Shape      ", 30) << "= "
        << ((shape >= 0 && shape <= 5) ? ShapeNames[shape] : "Unknown") << '\n';
    DimensionLine(out, "   Section Length             ", SectionValue(S.SectionLength), DepthUnit());
    if (shape == 3 || shape == 4) {
        SizeLine(out, "   Flange Width               ", S.FlangeWidth);
        SizeLine(out, "   Section Depth              ", S.SectionDepth);
        SizeLine(out, "   Flange Thickness           ", S.FlangeThickness);
        SizeLine(out, "   Web Thickness              ", S.WebThickness);
        AreaLine(out, "   Area                       ", S.TopArea);
        InertiaLine(out, "   Moment of Inertia at Top   ", S.TopInertia);
        InertiaLine(out, "   Moment of Inertia at Bottom", S.BottomInertia);
    } else {
        SizeLine(out, "   Top Width                  ", S.TopWidth);
        SizeLine(out, "   Bottom Width               ", S.BottomWidth);
        if (shape == 0) {
            SizeLine(out, "   Top Section Depth          ", S.TopDepth);
            SizeLine(out, "   Bottom Section Depth       ", S.BottomDepth);
        } else if (shape == 2) {
            SizeLine(out, "   Wall Thickness at Top      ", S.TopWallThickness);
            SizeLine(out, "   Wall Thickness at Bottom   ", S.BottomWallThickness);
        }
        AreaLine(out, "   Top Area                   ", S.TopArea);
        AreaLine(out, "   Bottom Area                ", S.BottomArea);
        InertiaLine(out, "   Moment of Inertia at Top   ", S.TopInertia);
        InertiaLine(out, "   Moment of Inertia at Bottom", S.BottomInertia);
        if (shape == 5) SizeLine(out, "   Drilled Hole Diameter      ", S.DrilledHoleDiameter);
    }
    DimensionLine(out, "   Elastic Modulus            ", SectionValue(S.ElasticModulus), PressureUnit());
    if (SectionTypeFor(S.SectionType).Bending == SectionBending::ElasticPlastic) {
        DimensionLine(out, "   Top Plastic Moment Capacity", SectionValue(S.TopPlasticMoment), MomentUnit());
        if (shape != 3 && shape != 4)
            DimensionLine(out, "   Bot Plastic Moment Capacity", SectionValue(S.BottomPlasticMoment), MomentUnit());
    }
}

void UserEIBlock(std::ostream& out, const PileSection& S) {
    DimensionLine(out, "   Section Length             ", SectionValue(S.SectionLength), DepthUnit());
    SizeLine(out, "   Pile Width                 ", S.PileDiameter);
    const int nt = Clamp(S.NumUserThrusts, MaxAxialThrusts);
    DimensionLine(out, "   Number of Axial Thrusts", FormatIntegerText(nt, 15), {});
    const bool haveCurves = S.UserEISlot >= 1 && S.UserEISlot <= MaxEISections;
    for (int t = 1; t <= nt; ++t) {
        out << '\n';
        DimensionLine(out, "   Axial Thrust", SectionValue(S.UserThrust[At(t)]), ForceUnit());
        const int np = Clamp(S.NumUserEIPoints[At(t)], MaxUserEIPoints);
        DimensionLine(out, "   Number of M-EI Points", FormatIntegerText(np, 15), {});
        out << '\n'
            << "   Point            Moment                  EI\n"
            << "    No.           " << L().Moment << std::string(15, ' ') << StiffnessUnit() << '\n'
            << "   -----          ----------          ----------\n";
        if (!haveCurves) continue;
        const UserEICurves& C = UserEI[At(S.UserEISlot)];
        for (int p = 1; p <= np; ++p) {
            out << FormatIntegerText(p, 7) << FixedText(C.Moment[At(t)][At(p)], 20, 3)
                << FixedText(C.EI[At(t)][At(p)], 20, 3) << '\n';
        }
    }
}

// Main dimensions of the reinforced-concrete, prestressed and steel sections;
// their material details are reported by the section analysis.
void StructuralSectionBlock(std::ostream& out, const PileSection& S) {
    const SectionType& type = SectionTypeFor(S.SectionType);
    DimensionLine(out, "   Section Length             ", SectionValue(S.SectionLength), DepthUnit());
    if (type.Outline == SectionOutline::Rectangle) {
        SizeLine(out, "   Section Width              ", S.RectangleWidth);
        SizeLine(out, "   Section Depth              ", S.RectangleDepth);
    } else if (type.HasWidth()) {
        SizeLine(out, "   Section Width              ", S.PileDiameter);
    } else if (type.Outline != SectionOutline::None) {
        SizeLine(out, "   Pile Diameter              ", S.PileDiameter);
    }
    if (type.b_Casing) SizeLine(out, "   Casing Thickness           ", S.CasingThickness);
    if (type.b_Core) {
        SizeLine(out, "   Core Diameter              ", S.CoreDiameter);
        SizeLine(out, "   Core Wall Thickness        ", S.CoreThickness);
    }
    if (type.IsSteelPipe()) {
        SizeLine(out, "   Wall Thickness             ", S.WallThickness);
        DimensionLine(out, "   Yield Stress               ", SectionValue(S.YieldStrength), PressureUnit());
        DimensionLine(out, "   Elastic Modulus            ", SectionValue(S.ElasticModulus), PressureUnit());
    }
    if (type.b_Hollow) SizeLine(out, "   Void Diameter              ", S.VoidDiameter);
    if (type.b_Chamfer) SizeLine(out, "   Corner Chamfer             ", S.CornerChamfer);
}

// The type's echo name: padded to the value column, or after "Section Type = ".
void SectionTypeLine(std::ostream& out, const PileSection& S) {
    const SectionType& type = SectionTypeFor(S.SectionType);
    const std::string_view name =
        !S.CoreFilled && !type.EchoNameVoidCore.empty() ? type.EchoNameVoidCore : type.EchoName;
    if (type.b_EchoAligned) out << Pad("   Section Type", 30) << "= " << name << '\n';
    else out << "   Section Type = " << name << '\n';
}

void PileGeometryPage(std::ostream& out) {
    const ProblemData& P = Problem;
    PageHeading(out, 20, "Pile Structural Properties and Geometry");
    ValueLine(out, "Total Number of Sections", FormatIntegerText(P.NumSections, 12));
    ValueLine(out, "Total Pile Length", FixedText(P.PileLength, 12, 3), DepthUnit());
    ValueLine(out, "Depth of ground surface below top of pile", FixedText(P.GroundDepth, 12, 3), DepthUnit());
    ValueLine(out, "Slope angle of ground surface", FixedText(P.GroundSlope * RadiansToDegrees, 12, 3), "deg.");

    const int n = P.NumPropertyRows;
    if (n == 1) {
        out << "\n\n**** INPUT DATA ERROR ****\n\n"
            << "The number of input values for pile diameter = 1 \n"
            << "Please add the properties for the tip of the pile.\n\n";
    }
    if (n < 2 || n > MaxPropertyRows) {
        EchoError(out, 17, {"The number of points to define the pile properties ",
                            "is 2 to 40, not the input value of " + Int(n)});
        return;
    }

    out << "\nPile dimensions used for p-y curve computations defined using " << n << " points.\n"
        << "p-y curves are computed using values of pile diameter interpolated over \n"
        << "the length of the pile.\n\n"
        << "Point         Depth              Pile   \n"
        << "                X              Diameter \n"
        << std::string(15, ' ') << L().Depth << std::string(16, ' ') << L().SectionLength << '\n'
        << "-----       ---------        -----------\n";
    for (int r = 1; r <= n; ++r) {
        const PropertyRow& R = P.PropertyTable[At(r)];
        out << FormatIntegerText(r, 5) << FixedText(R.Depth, 16, 3) << FixedText(R.Width, 19, 4) << '\n';
    }
    for (int r = 1; r <= n; ++r) {
        const PropertyRow& R = P.PropertyTable[At(r)];
        if (!(R.Width > 0.0)) {
            EchoError(out, 27, {"Problem:  Zero values for one of the following values were ",
                                "entered for one or more values of pile diameter.",
                                "          Point " + Int(r) + " at depth " + Plain(R.Depth, 3) + " " +
                                    std::string(DepthUnit()) + " has a pile diameter of " + Plain(R.Width, 4) +
                                    " " + std::string(SizeUnit()) + ".",
                                "Solution: Enter a pile diameter greater than zero for every pile section."});
            return;
        }
    }

    out << "\nInput Structural Properties:\n"
        << "----------------------------\n";
    for (int s = 1; s <= Clamp(P.NumSections, MaxSections); ++s) {
        const PileSection& S = P.Sections[At(s)];
        out << "\nSection No. " << s << ":\n";
        SectionTypeLine(out, S);
        const SectionType& type = SectionTypeFor(S.SectionType);
        if (type.IsElastic())
            ElasticSectionBlock(out, S);
        else if (type.Bending == SectionBending::UserCurves)
            UserEIBlock(out, S);
        else
            StructuralSectionBlock(out, S);
    }
}

void SlopeAndBatterPage(std::ostream& out) {
    PageHeading(out, 22, "Ground Slope and Pile Batter Angles");
    auto angle = [&out](std::string_view label, double radians) {
        ValueLine(out, label, FixedText(radians * RadiansToDegrees, 12, 3), "degrees");
        out << std::string(55, ' ') << "= " << FixedText(radians, 12, 3) << " radians\n";
    };
    angle("Ground Slope Angle", Problem.GroundSlope);
    out << '\n';
    angle("Pile Batter Angle", Problem.PileBatter);
}

// ---------------------------------------------------------- soil layers

std::string_view LayerDescription(int type) {
    const SoilModel* m = SoilModelOf(type);
    return m != nullptr ? m->Description : "of an unknown soil type";
}

bool UsesSubgradeModulus(int type) { return Reads(type, SoilValue::SubgradeK); }

// Layer value line: the value, 12 wide with 3 decimals, and its unit.
void LayerValue(std::ostream& out, std::string_view label, double v, std::string_view unit) {
    ValueLine(out, label, FixedText(v, 12, 3), unit);
}

void PiedmontTestLines(std::ostream& out, const SoilPoint& top, const SoilPoint& bottom) {
    const int test = top.TestType;
    const double vt = (test >= 1 && test <= 4) ? top.TestValue[At(test)] : 0.0;
    const double vb = (test >= 1 && test <= 4) ? bottom.TestValue[At(test)] : 0.0;
    switch (test) {
        case 1: {
            const std::string unit = "blows/" + std::string(DepthUnit());
            out << "The type of field test is the Standard Penetration Test (SPT)\n";
            LayerValue(out, "N60 at top of layer", vt, unit);
            LayerValue(out, "N60 at bottom of layer", vb, unit);
            break;
        }
        case 2:
            out << "The type of field test is the Cone Penetration Test (CPT)\n";
            LayerValue(out, "Cone tip resistance at top of layer", vt, PressureUnit());
            LayerValue(out, "Cone tip resistance at bottom of layer", vb, PressureUnit());
            break;
        case 3:
            out << "The type of field test is the Dilatometer Test (DMT)\n";
            LayerValue(out, "Dilatometer modulus at top of layer", vt, PressureUnit());
            LayerValue(out, "Dilatometer modulus at bottom of layer", vb, PressureUnit());
            break;
        case 4:
            out << "The type of field test is the Pressuremeter Test (DMT)\n";
            LayerValue(out, "Pressuremeter modulus at top of layer", vt, PressureUnit());
            LayerValue(out, "Pressuremeter modulus at bottom of layer", vb, PressureUnit());
            break;
        default:
            out << "The type of field test is not one of SPT, CPT, DMT or PMT (test type " << test << ")\n";
            break;
    }
}

void SoilLayeringPage(std::ostream& out) {
    const ProblemData& P = Problem;
    PageHeading(out, 23, "Soil and Rock Layering Information");
    const int nl = NumLayers();
    out << "The soil profile is modelled using " << nl << " layers\n";
    if (nl >= 1 && !echo_checks::AtGroundSurface(Layer(1).XTop)) {
        EchoError(out, 20, {"Problem:  The first depth of the soil profile is located at " + Plain(Layer(1).XTop, 3) +
                                " " + std::string(DepthUnit()),
                            "          below the top of the pile.",
                            "          The ground surface is elevation is " + Plain(P.GroundDepth, 3) + " " +
                                std::string(DepthUnit()) + ".",
                            "Solution: Start the first soil layer at the depth of the ground surface."});
        return;
    }
    for (int k = 1; k <= nl; ++k) {
        const SoilLayer& Ly = Layer(k);
        const SoilPoint& top = Point(2 * k - 1);
        const SoilPoint& bottom = Point(2 * k);
        out << "\nLayer " << k << " is " << LayerDescription(Ly.SoilType) << '\n';
        LayerValue(out, "Distance from top of pile to top of layer", Ly.XTop, DepthUnit());
        LayerValue(out, "Distance from top of pile to bottom of layer", Ly.XBottom, DepthUnit());
        const int t = Ly.SoilType;
        if (Reads(t, SoilValue::RockModulus)) {
            LayerValue(out, "Initial modulus of rock at top of layer", top.Kpy, PressureUnit());
            LayerValue(out, "Initial modulus of rock at bottom of layer", bottom.Kpy, PressureUnit());
        }
        if (Reads(t, SoilValue::ConeTip)) {
            LayerValue(out, "Cone tip resistance at top of layer", top.ConeTipResistance, PressureUnit());
            LayerValue(out, "Cone tip resistance at bottom of layer", bottom.ConeTipResistance, PressureUnit());
        }
        if (Reads(t, SoilValue::ElasticSubgrade)) {
            LayerValue(out, "Elastic subgrade at top of layer", top.ElasticSubgrade, ElasticSubgradeUnit());
            LayerValue(out, "Elastic subgrade at bottom of layer", bottom.ElasticSubgrade, ElasticSubgradeUnit());
        }
        if (Reads(t, SoilValue::FieldTest)) PiedmontTestLines(out, top, bottom);
        if (UsesSubgradeModulus(Ly.SoilType)) {
            LayerValue(out, "p-y subgrade modulus k for top of soil layer", top.Kpy, SubgradeUnit());
            LayerValue(out, "p-y subgrade modulus k for bottom of layer", bottom.Kpy, SubgradeUnit());
            if (top.Kpy == 0.0) {
                out << "NOTE:  Internal default values for p-y subgrade modulus will be computed for\n"
                    << "the above soil layer.\n";
            }
        }
        if (echo_checks::LiquefiedSandTooDeep(k)) {
            out << "Warning : The depth of this layer is deeper than the recommended depth limit \n"
                << "for using the p-y criteria for liquefied sand.\n"
                << "Please consult the Kestro Technical Manual for additional background \n"
                << "information regarding limitations on the use of the liquefied sand criteria.\n";
            RaiseWarning(-354);
        }
    }

    // The profile must reach the pile tip; an empty profile reaches nowhere.
    const double lowest = nl >= 1 ? Layer(nl).XBottom : P.GroundDepth;
    if (nl < 1 || echo_checks::AbovePileTip(lowest)) {
        EchoError(out, 18, {"Problem: The depth at the bottom of the lowermost soil layer is " + Plain(lowest, 3) +
                                " " + std::string(DepthUnit()),
                            "         This depth is higher than the tip of the pile at " + Plain(P.PileLength, 3) +
                                " " + std::string(DepthUnit()) + ".",
                            "Solution: Increase the depth of the soil profile or shorten the pile length."});
        return;
    }
    out << "\n(Depth of lowest layer extends " << Plain(lowest - P.PileLength, 2) << ' ' << DepthUnit()
        << " below the pile tip)\n";
}

void UnitWeightPage(std::ostream& out) {
    const ProblemData& P = Problem;
    PageHeading(out, 20, "Effective Unit Weight of Soil vs. Depth");
    const int np = Clamp(2 * NumLayers(), MaxStrengthPoints);
    out << "Effective unit weight of soil with depth defined using " << np << " points\n\n"
        << "Point        Depth X    Eff. Unit Weight\n"
        << " No.  " << std::string(12, ' ') << L().Depth << std::string(10, ' ') << L().UnitWeight << '\n'
        << "-----      ----------   ----------------\n";
    for (int p = 1; p <= np; ++p)
        out << FormatIntegerText(p, 3) << FixedText(Point(p).Depth, 17, 2) << FixedText(Point(p).UnitWeight, 15, 5)
            << '\n';

    if (np >= 1 && !echo_checks::AtGroundSurface(Point(1).Depth)) {
        EchoError(out, 19, {"The depth of the first point of the data for effective unit",
                            "is located at " + Plain(Point(1).Depth, 3) + " " + std::string(DepthUnit()) +
                                " below the top of the pile.",
                            "The ground surface is located at " + Plain(P.GroundDepth, 3) + " " +
                                std::string(DepthUnit()) + ".",
                            "The first point for the effective unit weight should be located",
                            "at the same elevation as the ground surface."});
        return;
    }

    if (np < 1) return;
    if (Units() == UnitsGeneral) {
        out << "\n**** Warning ****\n\n"
            << "Values of effective unit weight cannot be checked because \n"
            << "general units have been selected.\n";
        return;
    }
    bool implausible = false;
    for (int k = 1; k <= NumLayers(); ++k) {
        // Frozen soil reads no unit weight.
        if (!Reads(Layer(k).SoilType, SoilValue::UnitWeight)) continue;
        for (int p = 2 * k - 1; p <= 2 * k; ++p)
            if (echo_checks::UnitWeightImplausible(Point(p).UnitWeight, Units())) implausible = true;
    }
    if (!implausible) return;
    // Counted like every other warning: the run does not end normally.
    CountInputWarning(WarnUnitWeight);
    out << "\n**** Warning - POSSIBLE INPUT DATA ERROR ****\n\n"
        << "Values entered for effective unit weights of soil were outside\n";
    if (Units() == UnitsUS) {
        out << "the limits of 0.011574 pci (20 pcf) or 0.0810019 pci (140 pcf)\n"
            << "This data may be erroneous.  Please check your data.\n";
    } else {
        out << "the limits of 3.15 kN/m3 or 22 kN/m3.\n"
            << "The input data may be erroneous. Please check your data.\n";
    }
}

// One soil property cell: a value right-aligned in its column, or blanks.
void Cell(std::ostream& out, bool shown, double v, int w, int d) {
    out << (shown ? FixedText(v, w, d) : std::string(At(w), ' '));
}

void SoilSummaryCells(std::ostream& out, int k, bool isTop) {
    const SoilLayer& Ly = Layer(k);
    const SoilPoint& S = Point(isTop ? 2 * k - 1 : 2 * k);
    const int t = Ly.SoilType;
    const bool hasWeight = Reads(t, SoilValue::UnitWeight);
    const bool hasCohesion = Reads(t, SoilValue::ShearStrength);
    const bool hasFriction = Reads(t, SoilValue::FrictionAngle);
    const bool hasQu = Reads(t, SoilValue::RockStrength);
    const bool hasEps50 = Reads(t, SoilValue::Eps50);
    const bool hasFieldTest = Reads(t, SoilValue::FieldTest);
    const bool hasConeTip = Reads(t, SoilValue::ConeTip);
    const bool hasTest = hasFieldTest || hasConeTip;

    if (isTop)
        out << FormatIntegerText(k, 4) << "    " << Pad(SoilTypeName(t), 34);
    else
        out << std::string(42, ' ');
    Cell(out, true, isTop ? Ly.XTop : Ly.XBottom, 12, 2);
    Cell(out, hasWeight, S.UnitWeight, 13, 3);
    Cell(out, hasCohesion, S.Cohesion, 13, 3);
    Cell(out, hasFriction, S.FrictionAngle, 13, 3);
    Cell(out, hasQu, S.Cohesion, 13, 3);
    Cell(out, Reads(t, SoilValue::Rqd), S.RQD, 13, 3);
    Cell(out, hasEps50, S.Epsilon50, 14, 5);
    Cell(out, UsesSubgradeModulus(t), S.Kpy, 12, 3);
    Cell(out, Reads(t, SoilValue::RockModulus), S.Kpy, 14, 3);
    Cell(out, Reads(t, SoilValue::Krm), S.Epsilon50, 11, 6);
    out << ' ';
    static constexpr const char* TestNames[5] = {"             ", "    SPT      ", "    CPT      ", "    DMT      ",
                                                 "    PMT      "};
    int test = 0;
    double prop = 0.0;
    if (hasFieldTest && S.TestType >= 1 && S.TestType <= 4) {
        test = S.TestType;
        prop = S.TestValue[At(test)];
    } else if (hasConeTip) {
        test = 2;
        prop = S.ConeTipResistance;
    }
    out << TestNames[test];
    Cell(out, hasTest && test != 0, prop, 14, 3);
    Cell(out, Reads(t, SoilValue::ElasticSubgrade), S.ElasticSubgrade, 15, 3);
}

// One row of the soil summary, without the blanks of the empty cells at its end.
void SoilSummaryRow(std::ostream& out, int k, bool isTop) {
    std::ostringstream row;
    SoilSummaryCells(row, k, isTop);
    out << TrimRight(row.str()) << '\n';
}

void SoilSummaryPage(std::ostream& out) {
    PageHeading(out, 27, "Summary of Soil Properties");
    out << "Layer               Soil Type                   Depth     Eff. Unit     Cohesion     Friction        qu   "
           "        RQD      Epsilon 50      kpy       Rock Emass      krm       Test Type    Test Prop.   Elas. Subgr.\n";
    switch (Units()) {
        case UnitsSI:
            out << " Num.         (p-y Curve Criteria)                m       Wt., kN/m3       kPa      Ang., deg.       "
                   "kPa        percent                    kN/m3         kPa                                           "
                   "     kN/m3    \n";
            break;
        case UnitsGeneral:
            out << " Num.         (p-y Curve Criteria)                L       Wt., F/L3        F/L2     Ang., deg.       "
                   "F/L2       percent                    F/L3          F/L2                                          "
                   "      F/L3    \n";
            break;
        default:
            out << " Num.         (p-y Curve Criteria)               ft       Wt., pcf         psf      Ang., deg.       "
                   "psi        percent                    pci          psi                                            "
                   "      pci     \n";
            break;
    }
    out << std::string(213, '-') << '\n';
    for (int k = 1; k <= NumLayers(); ++k) {
        SoilSummaryRow(out, k, true);
        SoilSummaryRow(out, k, false);
    }
}

void UserCurveTable(std::ostream& out, const SoilPoint& S) {
    out << "Point                y                     p     \n"
        << " No.  " << std::string(14, ' ') << L().Length << std::string(18, ' ') << L().ForcePerLength << '\n'
        << "-----          ------------          ------------\n";
    for (int p = 1; p <= Clamp(S.UserCurvePoints, MaxUserCurvePoints); ++p)
        out << FormatIntegerText(p, 5) << std::string(10, ' ') << FormatNumberText(S.UserY[At(p)], 12)
            << std::string(10, ' ') << FormatNumberText(S.UserP[At(p)], 12) << '\n';
}

void UserCurvesPage(std::ostream& out) {
    int curves = 0;
    for (int k = 1; k <= NumLayers(); ++k)
        if (Reads(Layer(k).SoilType, SoilValue::UserCurve)) curves += 2;
    PageHeading(out, 30, "User-input p-y Curves");
    out << "Number of user-input p-y curves = " << curves << '\n';
    for (int k = 1; k <= NumLayers(); ++k) {
        if (!Reads(Layer(k).SoilType, SoilValue::UserCurve)) continue;
        out << "\nUser-input p-y curve at top of layer " << k << ",    Depth = " << FixedText(Layer(k).XTop, 12, 3)
            << ' ' << DepthUnit() << "\n\n";
        UserCurveTable(out, Point(2 * k - 1));
        out << "\nUser-input p-y curve at bottom of layer " << k << ", Depth = "
            << FixedText(Layer(k).XBottom, 12, 3) << ' ' << DepthUnit() << "\n\n";
        UserCurveTable(out, Point(2 * k));
    }
}

void GroupFactorsPage(std::ostream& out) {
    const ProblemData& P = Problem;
    const int n = Clamp(P.NumGroupFactorPoints, MaxGroupFactorPoints);
    PageHeading(out, 19, "p-y Modification Factors for Group Action");
    out << "Distribution of p-y modifiers with depth defined using " << n << " points\n\n"
        << "Point      Depth X         p-mult         y-mult\n"
        << " No.  " << std::string(10, ' ') << L().Depth << '\n'
        << "-----     ----------     ----------     ----------\n";
    for (int i = 1; i <= n; ++i)
        out << FormatIntegerText(i, 3) << FixedText(P.GroupDepth[At(i)], 17, 3) << FixedText(P.PMultiplier[At(i)], 15, 4)
            << FixedText(P.YMultiplier[At(i)], 15, 4) << '\n';
    if (n >= 1 && !echo_checks::AtGroundSurface(P.GroupDepth[1])) {
        EchoError(out, 21, {"Problem:  The depth for the first data for p-multipliers is " + Plain(P.GroupDepth[1], 3) +
                                " " + std::string(DepthUnit()),
                            "          below the top of the pile.",
                            "          The ground surface is located at " + Plain(P.GroundDepth, 3) + " " +
                                std::string(DepthUnit()) + ".",
                            "Solution: Give the first depth of the p-multipliers at the ground surface."});
    }
}

void SoilMovementPage(std::ostream& out) {
    const ProblemData& P = Problem;
    const int n = Clamp(P.NumSoilMovementPoints, MaxSoilMovementPoints);
    PageHeading(out, 29, "Lateral Soil Movements");
    out << "Profile of soil movement with depth defined using " << n << " points\n\n"
        << "Point       Depth X     Soil Movement\n"
        << " No.  " << std::string(12, ' ') << L().Depth << std::string(13, ' ') << L().SmallLength << '\n';
    for (int i = 1; i <= n; ++i)
        out << FormatIntegerText(i, 3) << "  " << FixedText(P.SoilMovementDepth[At(i)], 15, 5)
            << FixedText(P.SoilMovement[At(i)], 15, 5) << '\n';
}

// Number of cycles: a whole number without decimals, otherwise six
// significant digits, so that 1.999 is never shown as 2.
std::string CyclesText(double n) {
    if (std::fabs(n) < 1.0E9 && n == std::floor(n)) return Int(static_cast<long long>(n));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6g", n);
    return buf;
}

void LoadingTypePage(std::ostream& out) {
    const AnalysisOptions& O = Problem.Options;
    if (!O.LoadingType) {
        PageHeading(out, 33, "Loading Type");
        out << "Static loading criteria were used when computing p-y curves for all analyses.\n";
        return;
    }
    PageHeading(out, 34, "Loading Type");
    out << "Cyclic loading criteria were used for computation of p-y curves for all analyses.\n\n"
        << "Number of cycles of loading = " << CyclesText(O.NumberOfCycles) << '\n';
    if (O.NumberOfCycles < 2.0) {
        EchoError(out, 22, {"Loading was specified as cyclic, but the number of cycles of ",
                            "loading was specified as " + CyclesText(O.NumberOfCycles) + " (must be 2 or greater)."});
        return;
    }
    if (O.NumberOfCycles > 5000.0) {
        EchoError(out, 28, {"Problem:  Cyclic loading type was specified and the number of cycles of loading",
                            "are outside the valid range of 2 to 5,000.",
                            "          The input number of cycles of loading is " + CyclesText(O.NumberOfCycles) + "."});
    }
}

void DistributedLoadPage(std::ostream& out) {
    const ProblemData& P = Problem;
    const int n = Clamp(P.NumDistributedPoints, MaxDistributedLoadPoints);
    PageHeading(out, 27, "Distributed Lateral Loading");
    out << "Distributed lateral load intensity defined using " << n << " points\n\n"
        << "Point           Depth X            Dist. Load\n"
        << " No.  " << std::string(15, ' ') << L().Depth << std::string(16, ' ') << L().ForcePerLength << '\n'
        << "-----          ----------          ----------\n";
    for (int i = 1; i <= n; ++i)
        out << FormatIntegerText(i, 3) << FixedText(P.DistDepth[At(i)], 20, 3) << FixedText(P.DistLoad[At(i)], 20, 3)
            << '\n';
}

void TipShearPage(std::ostream& out) {
    const ProblemData& P = Problem;
    const int n = Clamp(P.NumTipShearPoints, MaxTipShearPoints);
    PageHeading(out, 22, "Shear Resistance Curve at Pile Tip ");
    out << "Point     Displacement     Tip Shear Force\n"
        << " No.  " << std::string(10, ' ') << L().Length << std::string(14, ' ') << L().Force << '\n';
    for (int i = 1; i <= n; ++i)
        out << FormatIntegerText(i, 4) << "     " << FixedText(P.TipDisplacement[At(i)], 10, 3) << std::string(10, ' ')
            << FixedText(P.TipShearForce[At(i)], 10, 3) << '\n';
    const int bad = echo_checks::FirstBadTipShearPoint();
    if (bad > 0) {
        EchoError(out, 50, {"Problem:   The input data for shear resistance at the pile tip appears to be in error at point " +
                                Int(bad) + ".",
                            "Solution:  The curve must start at zero displacement and zero force, and the",
                            "           displacements must increase and the forces must not decrease from",
                            "           one point to the next."});
    }
}

void PrintedPyDepthsPage(std::ostream& out) {
    const ProblemData& P = Problem;
    const int n = Clamp(P.NumPrintedPyDepths, MaxPrintedPyDepths);
    PageHeading(out, 19, "Specified Depths for Output of p-y Curves");
    out << "Lateral load-transfer (p-y) curves are computed and output at " << n << " depths.\n"
        << "(Note the depths of these curves may differ from nodal point depths.),/\n\n"
        << "Depth      Depth Below Pile Head      Depth Below Ground Surface\n"
        << " No.  " << std::string(17, ' ') << L().Depth << std::string(25, ' ') << L().Depth << '\n'
        << "-----      ---------------------      --------------------------\n";
    for (int i = 1; i <= n; ++i) {
        const double z = P.PrintedPyDepth[At(i)];
        out << FormatIntegerText(i, 3) << FixedText(z, 22, 3) << FixedText(z - P.GroundDepth, 27, 3) << '\n';
    }
    out << "\nDepth of ground surface below top of pile = " << Plain(P.GroundDepth, 3) << ' ' << DepthUnit() << '\n';
    for (int i = 1; i <= n; ++i) {
        const double z = P.PrintedPyDepth[At(i)];
        if (echo_checks::AboveGroundSurface(z)) {
            EchoError(out, 29, {"Problem:  A depth above the ground surface was specified for the printing",
                                "of a p-y curve.",
                                "          Depth no. " + Int(i) + " is " + Plain(z, 3) + " " + std::string(DepthUnit()) +
                                    " below the pile head; the ground surface is at " + Plain(P.GroundDepth, 3) + " " +
                                    std::string(DepthUnit()) + ".",
                                "Solution:  Specify printing depths only at or below the ground surface."});
            return;
        }
        if (echo_checks::BelowPileTip(z)) {
            EchoError(out, 30, {"Problem:  Printing of a p-y curve was specified below the pile tip.",
                                "Solution:  Specify printing depths only for depths above the pile tip.",
                                "           Depth no. " + Int(i) + " is " + Plain(z, 3) + " " +
                                    std::string(DepthUnit()) + " below the pile head; the pile tip is at " +
                                    Plain(P.PileLength, 3) + " " + std::string(DepthUnit()) + "."});
            return;
        }
    }
}

}  // namespace

// ------------------------------------------------------------- checks

namespace echo_checks {

double DepthTolerance(double reference) { return 1.0E-6 * std::max(1.0, std::fabs(reference)); }

bool AtGroundSurface(double depth) {
    return std::fabs(depth - Problem.GroundDepth) <= DepthTolerance(Problem.GroundDepth);
}
bool AboveGroundSurface(double depth) { return depth < Problem.GroundDepth - DepthTolerance(Problem.GroundDepth); }
bool AbovePileTip(double depth) { return depth < Problem.PileLength - DepthTolerance(Problem.PileLength); }
bool BelowPileTip(double depth) { return depth > Problem.PileLength + DepthTolerance(Problem.PileLength); }

bool UnitWeightImplausible(double unitWeight, int unitSystem) {
    if (unitSystem == UnitsUS) {
        const double pci = unitWeight / CubicInchesPerCubicFoot;
        return pci < UnitWeightLowPci || pci > UnitWeightHighPci;
    }
    if (unitSystem == UnitsSI) return unitWeight < UnitWeightLowSI || unitWeight > UnitWeightHighSI;
    return false;
}

int FirstBadTipShearPoint() {
    const ProblemData& P = Problem;
    const int n = Clamp(P.NumTipShearPoints, MaxTipShearPoints);
    if (n < 1) return 1;  // tip shear requested without a curve
    if (P.TipDisplacement[1] != 0.0 || P.TipShearForce[1] != 0.0) return 1;
    for (int i = 2; i <= n; ++i) {
        if (!(P.TipDisplacement[At(i)] > P.TipDisplacement[At(i - 1)])) return i;
        if (!(P.TipShearForce[At(i)] >= P.TipShearForce[At(i - 1)])) return i;
    }
    return 0;
}

bool LiquefiedSandTooDeep(int k) {
    if (k < 1 || k > MaxSoilLayers) return false;
    const SoilLayer& Ly = Problem.Layers[At(k)];
    if (Ly.SoilType != SoilLiquefiedSand) return false;
    double limit = 0.0;
    if (IsUS())
        limit = LiquefiedSandLimitMeters / MetersPerFoot;  // feet
    else if (IsSI())
        limit = LiquefiedSandLimitMeters;
    else
        return false;
    return Ly.XBottom - Problem.GroundDepth > limit;
}

}  // namespace echo_checks

std::string_view SoilTypeName(int code) {
    const SoilModel* m = SoilModelOf(code);
    return m != nullptr ? m->Name : "Unknown";
}

void EchoPileHeadLoading(std::ostream& out) {
    const ProblemData& P = Problem;
    const int n = Clamp(P.NumLoadCases, MaxLoadCases);
    PageHeading(out, 15, "Pile-head Loading and Pile-head Fixity Conditions");
    out << "Number of loads specified = " << n << "\n\n"
        << "Load   Load        Condition 1             Condition 2           Axial Thrust  \n"
        << " No.   Type                                                       Force, " << L().Force << '\n'
        << "-----   ----   --------------------   -----------------------   ----------------\n";
    const std::string rotation = std::string(TrimRight(L().Moment)) + "/rad";
    for (int i = 1; i <= n; ++i) {
        const LoadCase& C = P.LoadCases[At(i)];
        const bool shear = C.LoadType >= 1 && C.LoadType <= 3;
        out << FormatIntegerText(i, 4) << FormatIntegerText(C.LoadType, 6) << (shear ? "     V = " : "     y = ")
            << FixedOrScientificText(C.Condition1, 12, 3) << ' ' << Pad(shear ? L().Force : L().Length, 5);
        // Moments and rotational stiffnesses in fixed notation (scientific
        // beyond the field); slopes, small numbers of radians, in scientific
        // notation.
        std::string_view tag = "M = ";
        std::string unit(L().Moment);
        std::string value = FixedOrScientificText(C.Condition2, 12, 3);
        if (C.LoadType == 2 || C.LoadType == 5) {
            tag = "S = ";
            unit = "rad";
            value = ScientificText(C.Condition2, 12, 4);
        } else if (C.LoadType == 3) {
            tag = "R = ";
            unit = rotation;
        }
        out << "  " << tag << value << ' ' << Pad(unit, 10)
            << FixedOrScientificText(C.AxialLoad, 14, 3) << '\n';
    }
    out << "\nV = perpendicular shear force applied to pile head\n"
        << "M = bending moment applied to pile head\n"
        << "y = lateral deflection relative to pile axis\n"
        << "S = pile slope relative to original pile batter angle\n"
        << "R = rotational stiffness applie to pile head\n"
        << "Axial thrust is assumed to be acting axially\n";
}

void EchoInput(std::ostream& out) {
    const ProblemData& P = Problem;
    const AnalysisOptions& O = P.Options;
    TitlePage(out);
    ProgramOptionsPage(out);
    PileGeometryPage(out);
    if (Failed()) return;

    // A run for section properties only analyses no pile in soil: the soil,
    // loading and output pages do not apply to it.
    if (O.ComputationMode != 2) {
        SlopeAndBatterPage(out);
        SoilLayeringPage(out);
        if (Failed()) return;
        UnitWeightPage(out);
        if (Failed()) return;
        SoilSummaryPage(out);
        if (AnyUserCurveLayer()) UserCurvesPage(out);
        if (O.UsePYModifiers && P.NumGroupFactorPoints >= 1) {
            GroupFactorsPage(out);
            if (Failed()) return;
        }
        if (O.UseSoilMovement && P.NumSoilMovementPoints >= 1) SoilMovementPage(out);
        LoadingTypePage(out);
        if (Failed()) return;
        if (P.NumDistributedPoints >= 1) DistributedLoadPage(out);
        if (O.UseTipShear) {
            TipShearPage(out);
            if (Failed()) return;
        }
        if (!O.UseLRFD) EchoPileHeadLoading(out);
        if (O.PrintPYCurves && P.NumPrintedPyDepths >= 1) {
            PrintedPyDepthsPage(out);
            if (Failed()) return;
        }
    }
    if (O.UseLRFD) {
        EchoLrfdInput(out);
        if (Failed()) return;
    }
}

}  // namespace kestro
