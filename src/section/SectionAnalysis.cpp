// The section analysis stage: for each pile section its property pages,
// capacities, thrusts and nonlinear EI table.

#include "section/SectionAnalysis.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>

#include "model/Channels.h"
#include "model/Errors.h"
#include "input/InputFile.h"
#include "model/EITables.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SectionTables.h"
#include "model/SectionTypes.h"
#include "report/Format.h"
#include "report/PlotFile.h"
#include "report/SectionGeometryReport.h"
#include "report/SectionReport.h"
#include "section/Materials.h"
#include "section/MomentCurvature.h"
#include "section/SectionWork.h"
#include "section/SliceTable.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

int ThrustSource() {
    if (Problem.Options.UseLRFD) return ThrustFromLrfd;
    if (Problem.Options.ComputationMode == 2) return ThrustFromInput;
    return ThrustFromLoadCases;
}

const char* ShapeName(int shape) {
    switch (shape) {
        case ShapeSquarePile: return "Square Pile";
        case ShapeSquarePileWithCore: return "Square Pile with Core";
        case ShapeRoundPile: return "Drilled Shaft or Round Pile";
        case ShapeShaftWithHPile: return "Drilled Shaft with H-pile Insert";
        case ShapeShaftWithPipe: return "Drilled Shaft with Pipe Insert";
        case ShapeShaftWithCasing: return "Drilled Shaft with Permanent Casing";
        case ShapeShaftWithCasingAndCore: return "Drilled Shaft with Casing and Core";
        case ShapeShaftWithCasingAndHPile: return "Drilled Shaft with Casing and H-Pile";
        case ShapeSteelPipe: return "Steel Pipe Pile";
        case ShapeNoncircular: return "Noncircular_Pile Shaft";
        case ShapeComposite: return "Composite Shaft";
        default: return "";
    }
}

double SumOver(const SliceArray& a, int n) {
    double sum = 0.0;
    for (int i = 1; i <= n; ++i) sum += a[U(i)];
    return sum;
}

// Input force of a load case or combination in the section force unit.
double SectionForce(double inputForce) { return IsUS() ? inputForce / 1000.0 : inputForce; }

// Capacities, areas and concrete properties of the prepared section s.
void ComputeCapacities(int s) {
    const PileSection& S = Problem.Sections[U(s)];
    const SliceTable& t = SecWork.Slices;
    const SectionMaterials& m = SecWork.Materials;
    SectionCapacity& c = SectionCapacities[U(s)];
    c = SectionCapacity{};
    c.Computed = true;
    const int n = t.NumSlices;
    c.BarArea = t.TotalRebarArea;
    c.ConcreteArea = t.TotalConcreteArea + SumOver(t.CoreConcreteArea, n);
    c.CasingArea = SumOver(t.CasingArea, n);
    c.CoreArea = SumOver(t.CoreSteelArea, n);
    const bool pipe = t.Shape == ShapeSteelPipe;
    if (pipe) {
        // Pn = Fy As of the pipe wall; in tension the same.
        c.GrossArea = c.CasingArea;
        c.Pn = m.Casing.Yield * c.CasingArea;
        c.Nt = -c.Pn;
        c.Tcr = c.Nt;
        return;
    }
    c.GrossArea = c.ConcreteArea + c.BarArea;
    c.Fc = m.Concrete.PeakStress;
    const TensileConcrete tc = TensileConcreteOf(c.Fc, IsSI());
    c.Ec = tc.Ec;
    c.Fr = tc.Fr;
    c.Eps0 = tc.Eps0;
    c.CrackStrain = tc.CrackStrain;
    if (!S.UseDefaultTensileStrength && S.TensileStrength > 0.0) {
        // A tensile strength given in the input replaces the default rupture stress.
        c.Fr = -(IsUS() || IsGeneral() ? S.TensileStrength / 1000.0 : S.TensileStrength);
        c.CrackStrain = c.Fc > 0.0 && 1.0 + c.Fr / c.Fc > 0.0 ? -(1.0 - std::sqrt(1.0 + c.Fr / c.Fc)) * c.Eps0 : 0.0;
    }
    const double steelYield = c.CasingArea * m.Casing.Yield + c.CoreArea * m.CoreSteel.Yield;
    if (IsPrestressedLaw(m.Rebar.Law)) {
        // Strands: the PCI estimates of the prestressed section.
        const PrestressResults& p = SectionPrestress();
        c.Pn = p.NominalAxialCapacity;
        c.Nt = p.TensileCapacity;
        const double es = m.Rebar.Modulus > 0.0 ? m.Rebar.Modulus : 28500.0 * m.Rebar.KsiToStress;
        c.Tcr = (es * c.BarArea + c.Ec * c.ConcreteArea) * c.CrackStrain;
        return;
    }
    // Pn = 0.85 f'c Ac + fy As (+ casing and core steel at their yield).
    c.Pn = 0.85 * c.Fc * c.ConcreteArea + m.Rebar.Yield * c.BarArea + steelYield;
    // Nt = -fy As; the casing and core walls yield in tension as well.
    c.Nt = -(m.Rebar.Yield * c.BarArea + steelYield);
    // Tcr = (Es As + Ec Ac) eps_cr.
    c.Tcr = (m.Rebar.Modulus * c.BarArea + c.Ec * c.ConcreteArea) * c.CrackStrain;
}

void WritePropertyPage(int s) {
    const PileSection& S = Problem.Sections[U(s)];
    const SliceTable& t = SecWork.Slices;
    const SectionMaterials& m = SecWork.Materials;
    const SectionCapacity& c = SectionCapacities[U(s)];
    const SectionGeometry& g = SecWork.Geometry;
    SectionPage p;
    p.SectionType = S.SectionType;
    p.ShapeName = ShapeName(t.Shape);
    p.SectionLength = IsUS() ? S.SectionLength / 12.0 : S.SectionLength;
    p.Diameter = S.PileDiameter;
    p.Width = S.RectangleWidth;
    p.Depth = S.RectangleDepth;
    p.CasingThickness = S.CasingThickness;
    p.CasingYield = m.Casing.Yield;
    p.CasingModulus = m.Casing.Modulus;
    p.CasingArea = c.CasingArea;
    p.CoreDiameter = S.CoreDiameter;
    p.CoreThickness = S.CoreThickness;
    p.CoreYield = m.CoreSteel.Yield;
    p.CoreModulus = m.CoreSteel.Modulus;
    p.CoreArea = c.CoreArea;
    p.b_CoreFilled = S.CoreFilled;
    p.VoidDiameter = S.VoidDiameter;
    p.NumBars = g.NumBars;
    p.BarDiameter = g.NumBars >= 1 ? g.BarDiameter[1] : 0.0;
    p.Cover = S.Cover;
    if (g.b_CircleArrangement && g.NumBars >= 2) p.BarSpacing = g.Arrangement.ClearSpacing;
    p.BarYield = m.Rebar.Yield;
    p.BarModulus = m.Rebar.Modulus;
    p.GrossArea = c.GrossArea;
    p.SteelArea = c.BarArea;
    p.ConcreteArea = c.ConcreteArea;
    if (t.Shape == ShapeSteelPipe) {
        const double d = S.PileDiameter;
        const double di = d - 2.0 * S.WallThickness;
        p.WallThickness = S.WallThickness;
        p.PipeYield = m.Casing.Yield;
        p.PipeModulus = m.Casing.Modulus;
        p.PipeArea = c.CasingArea;
        p.PipeInertia = S.MomentOfInertia;
        // Plastic section modulus of a tube: Z = (D^3 - (D - 2t)^3) / 6.
        p.PlasticModulus = (d * d * d - di * di * di) / 6.0;
        p.PlasticMoment = m.Casing.Yield * p.PlasticModulus;
    }
    p.StrandLaw = m.Rebar.Law;
    p.StrandStrength = m.Rebar.Yield;
    p.StrandArea = g.NumBars >= 1 ? g.BarArea[1] : 0.0;
    p.StrandCover = S.StrandPositioning == StrandsAuto ? DefaultStrandCover(IsSI()) : S.Cover;
    // The concrete block prints the properties the stress-strain law uses.
    p.Fc = m.Concrete.PeakStress;
    p.Ec = m.Concrete.Ec;
    p.Fr = m.Concrete.fr;
    p.Eps0 = m.Concrete.Epsilon0;
    p.CrackStrain = m.Concrete.CrackStrain;
    p.Aggregate = S.AggregateSize;
    WriteSectionPropertyPage(ReportOut(), p);
}

// Runtime Errors 24 to 27: the first load case (or LRFD combination) whose
// thrust lies outside the section's capacities ends the run.
bool CheckThrustsAgainstCapacities(const SectionCapacity& c) {
    const bool lrfd = Problem.Options.UseLRFD;
    const int n = lrfd ? Problem.NumLrfdCombinations : Problem.NumLoadCases;
    for (int i = 1; i <= n; ++i) {
        const double q = lrfd ? SectionForce(Problem.LrfdCombinations[U(i)].FactoredAxial)
                              : SectionForce(Problem.LoadCases[U(i)].AxialLoad);
        const bool over = q > c.Pn;
        const bool under = q < c.Nt;
        if (!over && !under) continue;
        const int number = lrfd ? (over ? 26 : 27) : (over ? 24 : 25);
        Fail(ErrorKind::Runtime, number,
             [&](std::ostream& out) { WriteThrustCapacityError(out, lrfd, over, i, q, over ? c.Pn : c.Nt); });
        return false;
    }
    return true;
}

// The thrusts of section s's EI table, with their page and Line 3.
bool ChooseThrusts(int s) {
    NonlinearEITable& T = EITableToWrite(s);
    const SectionCapacity& c = SectionCapacities[U(s)];
    const int source = ThrustSource();
    double listed[MaxAxialThrusts + 1] = {};
    int n = Problem.NumAxialThrusts;
    if (n < 0) n = 0;
    if (n > MaxAxialThrusts) n = MaxAxialThrusts;
    for (int j = 1; j <= n; ++j) listed[j] = Problem.AxialThrusts[U(j)];
    if (n == 0) {
        // No thrust list (the interaction study builds none): one curve at zero thrust.
        n = 1;
        listed[1] = 0.0;
    }
    bool dropped = false;
    if (source == ThrustFromInput) {
        double kept[MaxAxialThrusts + 1] = {};
        const int m = ThrustsInValidRange(listed, n, c.Nt, c.Pn, kept, dropped);
        T.NumThrusts = m;
        for (int j = 1; j <= m; ++j) T.Thrust[U(j)] = kept[j];
    } else {
        if (!CheckThrustsAgainstCapacities(c)) return false;
        T.NumThrusts = n;
        for (int j = 1; j <= n; ++j) T.Thrust[U(j)] = listed[j];
    }
    WriteThrustList(ReportOut(), source, T.Thrust.data(), T.NumThrusts, dropped);
    const char* label = source == ThrustFromInput ? "Line 3 : Total number of axial thrusts for EI-only computations"
                        : source == ThrustFromLrfd ? "Line 3 : Total number of axial thrusts for LRFD"
                                                   : "Line 3 : Total number of axial thrusts";
    WritePlotRecord(PlotOut(), FormatIntegerText(T.NumThrusts, 5), label);
    return true;
}

// Concrete model of the concrete inside a core: the filled core of a cased
// shaft is concrete (model 2); every other core is empty.
int CoreConcreteModel(const PileSection& S) {
    return SectionTypeFor(S.SectionType).b_Core && S.CoreFilled ? ConcreteUnconfined : ConcreteNone;
}

}  // namespace

void MomentCurvatureEITable(int s) {
    const PileSection& S = Problem.Sections[U(s)];
    const SectionType& type = SectionTypeFor(S.SectionType);
    const bool pipe = type.IsSteelPipe();
    const int outside = pipe ? ConcreteNone : ConcreteUnconfined;
    const int core = CoreConcreteModel(S);
    if (!Initialize_EI_Vars(0.0, S.SectionTop, s, outside, core)) {
        // Every refusal of the preparation ends the run with its own message;
        // one that did not is still never passed over in silence.
        if (!Failed())
            InputError(ErrSectionKindUnavailable,
                       "Problem:  Section " + std::to_string(s) + " (section type " + std::to_string(S.SectionType) +
                           ") could not be prepared for the moment-curvature analysis.",
                       "Solution: Check the dimensions, materials and reinforcement of the section.");
        return;
    }
    ComputeCapacities(s);
    WritePropertyPage(s);
    const SectionCapacity& c = SectionCapacities[U(s)];
    WriteAxialCapacities(ReportOut(), pipe, c.Pn, c.Nt, c.Tcr);
    if (!ChooseThrusts(s)) return;
    const SectionGeometry& g = SecWork.Geometry;
    if (g.NumBars >= 1) {
        if (g.b_CircleArrangement) WriteCircularBarPositions(ReportOut(), g.Arrangement, g.BarX, g.BarY, g.NumBars);
        WriteBarTable(ReportOut(), type.IsPrestressed(), g.NumBars, g.BarDiameter.data(),
                      g.BarArea.data(), g.BarX.data(), g.BarY.data());
    }
    MomentCurvature(s, Problem.Options.ComputationMode);
    if (Failed()) return;
    if (Problem.Options.ComputeInteraction && !pipe) ColumnInteraction(s, 0.0, S.SectionTop);
}

void NoBendingStiffness(int s) {
    InputError(ErrSectionKindUnavailable,
               "Problem:  Section " + std::to_string(s) +
                   " is a micropile, which is given by its length only; its bending stiffness cannot be "
                   "computed.",
               "Solution: Give the section as an elastic section (type 11), an elastic section with "
               "specified moment capacity (type 12) or with its full structural details.");
}

TensileConcrete TensileConcreteOf(double fc, bool si) {
    TensileConcrete c;
    if (!(fc > 0.0)) return c;
    if (si) {
        // Ec = 57 ksi^0.5 and fr = 0.0075 ksi^0.5 with f'c in psi, in kPa.
        const double root = std::sqrt(0.14503774 * fc);
        c.Ec = 393001.16443634033 * root;
        c.Fr = -51.71067953109741 * root;
    } else {
        const double root = std::sqrt(1000.0 * fc);
        c.Ec = 57.0 * root;
        c.Fr = -0.0075 * root;
    }
    c.Eps0 = 1.7 * fc / c.Ec;
    c.CrackStrain = -(1.0 - std::sqrt(1.0 + c.Fr / fc)) * c.Eps0;
    return c;
}

bool UserEIRatioAcceptable(const double* ei, int n) {
    if (n < 1) return true;
    double lo = ei[1], hi = ei[1];
    for (int k = 1; k <= n; ++k) {
        if (!(ei[k] > 0.0) || !std::isfinite(ei[k])) return false;
        if (ei[k] < lo) lo = ei[k];
        if (ei[k] > hi) hi = ei[k];
    }
    return !(hi > 100.0 * lo);
}

int ThrustsInValidRange(const double* in, int n, double nt, double pn, double* out, bool& dropped) {
    dropped = false;
    int m = 0;
    for (int j = 1; j <= n; ++j) {
        if (in[j] > nt && in[j] < pn) {
            out[++m] = in[j];
        } else {
            dropped = true;
        }
    }
    return m;
}

void ComputeSectionStiffness(int s) {
    if (s == 1) WriteSectionAnalysisHeading(ReportOut(), ThrustSource(), Problem.NumSections);
    if (s > MaxEISections) {
        InputError(ErrSectionKindUnavailable,
                   "Problem:  The pile has " + std::to_string(Problem.NumSections) +
                       " sections; nonlinear bending stiffness is computed for at most " +
                       std::to_string(MaxEISections) + " sections.",
                   "Solution: Combine sections or model the pile with at most 10 sections.");
        return;
    }
    const PileSection& S = Problem.Sections[U(s)];
    WriteSectionNumber(ReportOut(), s);
    // The type's own computation: moment-curvature, the elastic rules or
    // the user's curves.
    const SectionType& type = SectionTypeFor(S.SectionType);
    if (type.ComputeStiffness != nullptr) type.ComputeStiffness(s);
    else MomentCurvatureEITable(s);
}

void UserEITableCheck(int s) {
    const PileSection& S = Problem.Sections[U(s)];
    NonlinearEITable& T = EITableToWrite(s);
    const UserEICurves& C = UserEI[U(S.UserEISlot >= 1 && S.UserEISlot <= MaxEISections ? S.UserEISlot : 1)];
    const double scale = IsUS() ? 1.0 / 1000.0 : 1.0;   // lb-in to kip-in in US customary runs
    const double depthUnit = IsUS() ? 12.0 : 1.0;
    WriteUserEITitle(ReportOut());
    WriteUserEISection(ReportOut(), s, S.SectionTop / depthUnit, S.SectionBottom / depthUnit);
    int nt = S.NumUserThrusts;
    if (nt > MaxAxialThrusts) nt = MaxAxialThrusts;
    T.NumThrusts = nt;
    bool suspect = false;
    double ei[MaxUserEIPoints + 1] = {};
    for (int j = 1; j <= nt; ++j) {
        int np = S.NumUserEIPoints[U(j)];
        if (np > MaxMomentCurvaturePoints) np = MaxMomentCurvaturePoints;
        const double thrust = S.UserThrust[U(j)] * scale;
        WriteUserEIThrust(ReportOut(), np, j, nt, thrust);
        T.Thrust[U(j)] = thrust;
        T.NumPoints[U(j)] = np;
        T.NominalMomentCapacity[U(j)] = 0.0;
        double previous = 0.0;
        for (int k = 1; k <= np; ++k) {
            const double m = C.Moment[U(j)][U(k)] * scale;
            const double e = C.EI[U(j)][U(k)] * scale;
            const double phi = e != 0.0 ? m / e : 0.0;
            // Moments must be positive and rise from point to point.
            const bool bad = !(m > 0.0) || (k > 1 && !(m > previous));
            suspect = suspect || bad;
            WriteUserEIRow(ReportOut(), m, e, phi, bad);
            T.Moment[U(j)][U(k)] = m;
            T.EI[U(j)][U(k)] = e;
            T.Curvature[U(j)][U(k)] = phi;
            ei[k] = e;
            previous = m;
        }
        if (!UserEIRatioAcceptable(ei, np)) {
            WriteUserEIRatioError(ReportOut(), MessageOut());
            TerminateRun("INP00051", 100 + ErrUserEIRatio);
            return;
        }
    }
    if (suspect) WriteUserEIWarning(ReportOut());
    // The pile analysis looks the curves up by curvature: M/EI must rise.
    for (int j = 1; j <= nt; ++j)
        for (int k = 2; k <= T.NumPoints[U(j)]; ++k)
            if (!(T.Curvature[U(j)][U(k)] > T.Curvature[U(j)][U(k - 1)])) {
                InputError(ErrUserEICurvature,
                           "Problem:  The curvature M/EI of point " + std::to_string(k) + " of axial thrust " +
                               std::to_string(j) + " of section " + std::to_string(s) +
                               " is not larger than that of the point before it, so the curve cannot be looked up "
                               "by curvature.",
                           "Solution: Give each curve with rising bending moments and curvatures M/EI.");
                return;
            }
    WritePlotRecord(PlotOut(), FormatIntegerText(nt, 5), "Line 3 : Total number of axial thrusts");
    for (int j = 1; j <= nt; ++j)
        WriteCurvePlotRecords(PlotOut(), T, s, j, "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap.",
                              "Line 5 : Moment, EI, Curvature for Sect#=");
}

}  // namespace kestro
