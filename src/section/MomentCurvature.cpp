// Moment-curvature analysis of a pile section and the section-only options.

#include "section/MomentCurvature.h"

#include <cmath>
#include <cstddef>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/Warnings.h"
#include "model/EITables.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/Format.h"
#include "report/PlotFile.h"
#include "report/SectionGeometryReport.h"
#include "report/SectionReport.h"
#include "section/Materials.h"
#include "section/NeutralAxis.h"
#include "section/SectionAnalysis.h"
#include "section/SectionWork.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

constexpr double NominalStrain = 0.003;       // concrete strain of the nominal moment capacity
constexpr double CrushingStrain = 0.0038;     // concrete strain that ends a curve
constexpr double TensileZoneLimit = 0.1;      // prestressed curve stops when dNA < 0.1 H ("Z")
constexpr double Pi = 3.141592653589793;

// Constant curvature step of the interaction study: 2.0e-5 rad/in, or the
// same physical value in rad/m.
constexpr double InteractionStepUS = 2.0e-5;
constexpr double InteractionStepSI = 7.874015718698502e-4;

bool IsPipe() { return SecWork.Slices.Shape == ShapeSteelPipe; }

bool IsPrestressed() { return IsPrestressedLaw(SecWork.Materials.Rebar.Law); }

// Column layout of the report table: 0 concrete, 1 with casing, 2 casing and
// core, 3 steel pipe.
int TableColumns() {
    switch (SecWork.Slices.Shape) {
        case ShapeSteelPipe: return 3;
        case ShapeShaftWithCasing:
        case ShapeShaftWithCasingAndHPile: return 1;
        case ShapeShaftWithCasingAndCore: return 2;
        default: return 0;
    }
}

double LargestMagnitude(const SliceArray& stress, const SliceArray& area, int from, int to) {
    double best = 0.0;
    for (int i = from; i <= to; ++i)
        if (area[U(i)] > 0.0 && std::fabs(stress[U(i)]) > std::fabs(best)) best = stress[U(i)];
    return best;
}

// Peak stresses of the last force evaluation: the largest concrete
// compressive stress, and the steel, casing and core stresses of largest
// magnitude (with their signs).
void PeakStrainsAndStresses(CurvePoint& p) {
    const SliceTable& t = SecWork.Slices;
    const SectionForces& f = SecWork.Forces;
    const int n = t.NumSlices;
    double fc = 0.0;
    for (int i = 1; i <= n; ++i) {
        if (t.ConcreteArea[U(i)] > 0.0 && f.ConcreteStress[U(i)] > fc) fc = f.ConcreteStress[U(i)];
        if (t.CoreConcreteArea[U(i)] > 0.0 && f.CoreConcreteStress[U(i)] > fc) fc = f.CoreConcreteStress[U(i)];
    }
    p.MaxConcreteStress = fc;
    p.MaxSteelStress = LargestMagnitude(f.RebarStress, t.RebarArea, 1, n);
    p.MaxCasingStress = LargestMagnitude(f.CasingStress, t.CasingArea, 1, n);
    p.MaxCoreStress = LargestMagnitude(f.CoreSteelStress, t.CoreSteelArea, 1, n);
    if (t.Shape == ShapeShaftWithHPile || t.Shape == ShapeShaftWithCasingAndHPile) {
        const double h = LargestMagnitude(f.HPileStress, t.HPileArea, 1, n);
        if (std::fabs(h) > std::fabs(p.MaxSteelStress)) p.MaxSteelStress = h;
    }
}

// M = sum over the slices of force x (H/2 - SliceDepth(i)), every material,
// with the forces of the last force evaluation.
double TotalMoment() {
    const SliceTable& t = SecWork.Slices;
    const SectionForces& f = SecWork.Forces;
    const double half = t.SectionDepth / 2.0;
    double m = 0.0;
    for (int i = 1; i <= t.NumSlices; ++i) {
        const auto k = U(i);
        const double force = f.ConcreteForceAt[k] + f.RebarForceAt[k] + f.CasingForceAt[k] + f.CoreForceAt[k] +
                             f.InnerConcreteForceAt[k] + f.HPileForceAt[k];
        m += force * (half - t.SliceDepth[k]);
    }
    return m;
}

// A curve whose curvature reached a strain state with no equilibrium under
// its thrust: the curve ends at the point before (warning 390), or, at the
// first point, the thrust is more than the section can carry (Runtime Error
// 40, or the end of the thrust list of the interaction study).
struct UnbalancedCurve {
    bool b_Ended = false;
    bool b_AtFirstPoint = false;
    double Curvature = 0.0;
    double SmallestForce = 0.0, LargestForce = 0.0;
};
UnbalancedCurve Unbalanced{};

// Runtime Error 40 for thrust P of section s (report and message file).
void NoEquilibriumError(int s, double P) {
    Fail(ErrorKind::Runtime, 40, [&](std::ostream& out) {
        WriteNoEquilibriumError(out, s, P, Unbalanced.Curvature, Unbalanced.SmallestForce, Unbalanced.LargestForce);
    });
}

// The note and warning 390 after the table of a curve that ended without
// equilibrium before its concrete reached the strain of the nominal moment.
// (Past that strain, the crushing of the top fibre ends the curve a point
// early, as the 0.0038 rule would have a point later.)
void ReportUnbalancedEnd() {
    if (!Unbalanced.b_Ended || Unbalanced.b_AtFirstPoint) return;
    const int n = Curve.NumPoints;
    if (n >= 1 && Curve.Points[U(n)].MaxCompStrain >= NominalStrain) return;
    WriteCurveEndsWithoutEquilibrium(ReportOut(), Unbalanced.Curvature, Unbalanced.LargestForce);
    RaiseWarning(-390);
}

// Prestress results of the section being analysed (zero for other sections).
PrestressResults Prestress{};
PrestressInputs PrestressIn{};

// Nominal moment of the working curve: interpolated at 0.003, or the last
// moment of a steel pipe.
double CurveNominalMoment() {
    const int n = Curve.NumPoints;
    if (n < 1) return 0.0;
    if (IsPipe()) return Curve.Points[U(n)].Moment;
    double m[MaxMomentCurvaturePoints + 1] = {};
    double e[MaxMomentCurvaturePoints + 1] = {};
    for (int k = 1; k <= n; ++k) {
        m[k] = Curve.Points[U(k)].Moment;
        e[k] = Curve.Points[U(k)].MaxCompStrain;
    }
    return MomentAtStrain003(m, e, n);
}

// Section size used for the first curvature: the diameter or width.
double SectionSize(int s) { return Problem.Sections[U(s)].PileDiameter; }

double FirstCurvatureOf(int s, double P) {
    if (IsPipe()) {
        const PileSection& S = Problem.Sections[U(s)];
        const SteelProperties& st = SecWork.Materials.Casing;
        const double d = S.PileDiameter;
        const double di = d - 2.0 * S.WallThickness;
        const double area = Pi * (d * d - di * di) / 4.0;
        const double phi = PipeFirstCurvature(st.Yield, st.Modulus, area, d, P);
        if (phi > 0.0 && std::isfinite(phi)) return phi;
    }
    return FirstCurvature(SectionSize(s), IsSI());
}

// Strain at which a steel pipe's curve ends: 5 fy/E - P/(E A).
double PipeStrainLimit(double P) {
    const SteelProperties& st = SecWork.Materials.Casing;
    double area = 0.0;
    for (int i = 1; i <= SecWork.Slices.NumSlices; ++i) area += SecWork.Slices.CasingArea[U(i)];
    if (!(st.Modulus > 0.0) || !(area > 0.0)) return 0.0;
    return 5.0 * st.Yield / st.Modulus - P / (st.Modulus * area);
}

}  // namespace

double FirstCurvature(double size, bool si) {
    const double inches = si ? size / 0.0254 : size;
    double n = std::round(inches / 24.0);
    if (!(n >= 1.0)) n = 1.0;
    return (si ? 4.921259901994065e-5 : 1.25e-6) / n;
}

double ScheduleCurvature(double phi0, int k) {
    // Running sums of the increments: phi(k) = phi0 * c(k).
    double c = 0.0;
    if (k <= 39) {
        c = k;
    } else if (k <= 79) {
        c = 39.0 + 2.0 * (k - 39);
    } else if (k <= 119) {
        c = 119.0 + 8.0 * (k - 79);
    } else {
        c = 439.0 + 48.0 * (k - 119);
    }
    return phi0 * c;
}

double PipeFirstCurvature(double fy, double e, double area, double d, double p) {
    if (!(e > 0.0) || !(area > 0.0) || !(d > 0.0)) return 0.0;
    return (1.7 * fy / e - p / (e * area)) / (d / 2.0) / 80.0;
}

double MomentAtStrain003(const double* moment, const double* strain, int n) {
    if (n < 2) return (n == 1 && strain[1] == NominalStrain) ? moment[1] : 0.0;
    int k = n - 1;
    for (int i = 1; i <= n - 1; ++i)
        if (strain[i + 1] >= NominalStrain) {
            k = i;
            break;
        }
    // A pair whose upper point reaches the strain (exactly or beyond) brackets
    // it; the interpolation then gives M(k+1) at equality.
    if (strain[k + 1] >= NominalStrain && moment[k + 1] > 0.0) {
        const double span = strain[k + 1] - strain[k];
        if (!(span > 0.0)) return moment[k + 1];
        return moment[k] + (moment[k + 1] - moment[k]) * (NominalStrain - strain[k]) / span;
    }
    return 0.0;
}

bool Initialize_EI_Vars(double theta, double station, int s, int concreteModel, int coreConcreteModel) {
    SectionWork& W = SecWork;
    W.Section = s;
    W.b_SI = IsSI();
    if (!BuildSectionGeometry(s, coreConcreteModel, W.Geometry)) return false;
    if (!GeometryAtStation(W.Geometry, station, W.Station)) return false;
    PrepareSlices(W.Station, theta, W.Slices);
    if (!SetSectionMaterials(s, concreteModel, coreConcreteModel, W.Materials)) return false;
    Prestress = PrestressResults{};
    PrestressIn = PrestressInputs{};
    if (IsPrestressedLaw(W.Materials.Rebar.Law)) {
        PrestressInputsOf(s, W.Slices, W.Materials, PrestressIn);
        if (!Calculate_Strains_Due_To_Prestressing(PrestressIn, Prestress)) return false;
        if (!W.b_PrestressReported) {
            WritePrestressBlock(ReportOut(), PrestressIn, Prestress, W.b_SI);
            W.b_PrestressReported = true;
        }
        // The slice strains are total concrete strains; the strands take the
        // changes of concrete strain from the prestressed state (eps_pc in
        // the concrete, the strain after losses in the strands).
        W.Materials.Rebar.InitialSteelStrain = Prestress.InitialSteelStrain;
        W.Materials.Rebar.ConcretePrestrain = Prestress.ConcretePrestrain;
    }
    return !Failed();
}

const PrestressResults& SectionPrestress() { return Prestress; }

bool ComputeCurvePoint(double phi, double P, CurvePoint& p) {
    SectionWork& W = SecWork;
    W.Curvature = phi;
    W.Thrust = P;
    const double dNA = Find_Neutral_Axis();
    if (Failed()) return false;
    if (W.Search.b_NoEquilibrium) {
        Unbalanced.b_Ended = true;
        Unbalanced.Curvature = phi;
        Unbalanced.SmallestForce = W.Search.SmallestForce;
        Unbalanced.LargestForce = W.Search.LargestForce;
        return false;
    }
    const double H = W.Slices.SectionDepth;
    // Total concrete strains of the extreme fibres (prestress included): the
    // strains of the concrete laws, of the cracking test and of the 0.003 and
    // 0.0038 limits.
    p.Curvature = phi;
    p.NeutralAxis = dNA;
    p.MaxCompStrain = phi * dNA;
    p.MaxTensStrain = phi * (dNA - H);
    PeakStrainsAndStresses(p);
    p.Moment = TotalMoment();
    p.Msg = {W.Flags.b_Cracked ? 'C' : ' ', W.Flags.b_StressLimit ? 'S' : ' ', W.Flags.b_Yielded ? 'Y' : ' '};
    return true;
}

bool ComputeCurve(double P, double phi0, double constantStep, double strainLimit, double cracking) {
    SectionWork& W = SecWork;
    W.Flags.Clear();
    W.Search = NeutralAxisSearch{};
    W.Thrust = P;
    // A tensile thrust beyond the cracking load: the concrete is cracked
    // before any bending, and the strands carry the thrust as their strain.
    const bool pipe = IsPipe();
    const ReinforcementProperties savedRebar = W.Materials.Rebar;
    if (!pipe && P < 0.0 && P < cracking) {
        W.Flags.b_Cracked = true;
        if (IsPrestressed()) {
            const double as = W.Slices.TotalRebarArea;
            const double es = savedRebar.Modulus > 0.0 ? savedRebar.Modulus : 28500.0 * savedRebar.KsiToStress;
            if (as > 0.0) {
                W.Materials.Rebar.InitialSteelStrain = P / (as * es);
                W.Materials.Rebar.ConcretePrestrain = 0.0;
            }
        }
    }
    const double pipeLimit = pipe ? PipeStrainLimit(P) : 0.0;
    const double H = W.Slices.SectionDepth;
    Curve.NumPoints = 0;
    Curve.Thrust = P;
    Unbalanced = UnbalancedCurve{};
    bool ok = true;
    for (int k = 1; k <= MaxMomentCurvaturePoints; ++k) {
        const double phi = constantStep > 0.0 ? phi0 + constantStep * (k - 1) : ScheduleCurvature(phi0, k);
        W.PointIndex = k;
        CurvePoint& p = Curve.Points[U(k)];
        p = CurvePoint{};
        if (!ComputeCurvePoint(phi, P, p)) {
            p = CurvePoint{};
            if (Unbalanced.b_Ended && !Failed()) {
                // No equilibrium at this curvature: the curve ends at the
                // point before, or has none at all.
                Unbalanced.b_AtFirstPoint = k == 1;
            } else {
                ok = false;
            }
            break;
        }
        // The stored moment never falls along a curve.
        if (k >= 2 && Curve.Points[U(k - 1)].Moment > p.Moment) p.Moment = Curve.Points[U(k - 1)].Moment;
        p.EI = phi != 0.0 ? p.Moment / phi : 0.0;
        Curve.NumPoints = k;
        if (p.Moment <= 0.0) break;
        if (pipe) {
            if (pipeLimit <= std::fmax(std::fabs(p.MaxCompStrain), std::fabs(p.MaxTensStrain))) break;
            continue;
        }
        if (IsPrestressed() && p.NeutralAxis < TensileZoneLimit * H) {
            p.Msg[2] = 'Z';
            break;
        }
        if (p.MaxCompStrain >= strainLimit) break;
    }
    W.Materials.Rebar = savedRebar;
    return ok && !Failed();
}

void MomentCurvature(int s, int option) {
    NonlinearEITable& T = EITableToWrite(s);
    const SectionCapacity& cap = SectionCapacities[U(s)];
    const bool pipe = IsPipe();
    WriteMomentCurvatureHeading(ReportOut(), option, pipe);
    const double angle = SecWork.Slices.Theta * 180.0 / Pi;
    double thrust[MaxAxialThrusts + 1] = {};
    double mn[MaxAxialThrusts + 1] = {};
    double strain[MaxAxialThrusts + 1] = {};
    bool tooMany = false;
    bool negative = false;
    for (int j = 1; j <= T.NumThrusts; ++j) {
        const double P = T.Thrust[U(j)];
        SecWork.ThrustIndex = j;
        if (!ComputeCurve(P, FirstCurvatureOf(s, P), 0.0, CrushingStrain, cap.Tcr)) return;
        if (Unbalanced.b_AtFirstPoint) {
            NoEquilibriumError(s, P);
            return;
        }
        Curve.NominalMoment = CurveNominalMoment();
        const int np = Curve.NumPoints;
        T.NumPoints[U(j)] = np;
        T.NominalMomentCapacity[U(j)] = Curve.NominalMoment;
        T.StrainAtMn[U(j)] = NominalStrain;
        for (int k = 1; k <= np; ++k) {
            const CurvePoint& p = Curve.Points[U(k)];
            T.Moment[U(j)][U(k)] = p.Moment;
            T.EI[U(j)][U(k)] = p.EI;
            T.Curvature[U(j)][U(k)] = p.Curvature;
        }
        WriteCurveThrust(ReportOut(), j, P);
        WriteCurveTable(ReportOut(), TableColumns(), angle, Curve);
        ReportUnbalancedEnd();
        if (np >= MaxMomentCurvaturePoints) {
            WriteTooManyPointsWarning(ReportOut(), np, false);
            RaiseWarning(-305);
            tooMany = true;
        }
        if (np >= 1 && Curve.Points[U(np)].Moment <= 0.0) {
            WriteNegativeMomentWarning(ReportOut());
            RaiseWarning(-306);
            negative = true;
        }
        WriteCurvePlotRecords(PlotOut(), T, s, j, "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap.",
                              "Line 5 : Moment, EI, Curvature for Sect#=");
        thrust[j] = P;
        mn[j] = Curve.NominalMoment;
        strain[j] = NominalStrain;
    }
    (void)tooMany;
    (void)negative;
    WriteNominalMomentSummary(ReportOut(), s, Problem.Options.UseLRFD, !pipe, T.NumThrusts, thrust, mn, strain);
}

void SingleStrainState(int s, double phi, double thrust, double theta, double station) {
    WriteSingleStateHeading(ReportOut(), phi, thrust, theta * 180.0 / Pi, station);
    SecWork.Flags.Clear();
    SecWork.Search = NeutralAxisSearch{};
    SecWork.ThrustIndex = 1;
    SecWork.PointIndex = 1;
    CurvePoint& p = Curve.Points[1];
    p = CurvePoint{};
    Unbalanced = UnbalancedCurve{};
    if (!ComputeCurvePoint(phi, thrust, p)) {
        if (Unbalanced.b_Ended && !Failed()) NoEquilibriumError(s, thrust);
        return;
    }
    p.EI = phi != 0.0 ? p.Moment / phi : 0.0;
    Curve.NumPoints = 1;
    Curve.Thrust = thrust;
    WriteCurveTable(ReportOut(), TableColumns(), theta * 180.0 / Pi, Curve);
}

void RotationOfLoading(int s, const double* anglesDegrees, int n, double thrust, double station) {
    WriteRotationHeading(ReportOut());
    const int concrete = IsPipe() ? ConcreteNone : ConcreteUnconfined;
    const int core = SecWork.Materials.CoreConcrete.Model;
    double moment[MaxAxialThrusts + 1] = {};
    double angle[MaxAxialThrusts + 1] = {};
    int m = 0;
    for (int k = 1; k <= n && m < MaxAxialThrusts; ++k) {
        const double theta = anglesDegrees[k] * Pi / 180.0;
        if (!Initialize_EI_Vars(theta, station, s, concrete, core)) return;
        SecWork.ThrustIndex = 1;
        const double phi0 = FirstCurvature(SectionSize(s), IsSI());
        if (!ComputeCurve(thrust, phi0, 12.0 * phi0, CrushingStrain, SectionCapacities[U(s)].Tcr)) return;
        if (Unbalanced.b_AtFirstPoint) {
            NoEquilibriumError(s, thrust);
            return;
        }
        WriteCurveTable(ReportOut(), TableColumns(), anglesDegrees[k], Curve);
        ReportUnbalancedEnd();
        if (Curve.NumPoints >= MaxMomentCurvaturePoints) {
            WriteTooManyPointsWarning(ReportOut(), Curve.NumPoints, true);
            RaiseWarning(-305);
        }
        ++m;
        angle[m] = anglesDegrees[k];
        moment[m] = CurveNominalMoment();
    }
    WriteRotationSummary(ReportOut(), m, angle, moment);
}

void ColumnInteraction(int s, double theta, double station) {
    if (IsPipe()) return;
    const SectionCapacity& cap = SectionCapacities[U(s)];
    WriteInteractionHeading(ReportOut(), theta * 180.0 / Pi, station);
    // Reference axial capacity: 0.85 f'c Ac + fy As for bars, or
    // (0.33 f'c - 0.27 f_pc) Ac for prestressed sections.
    const SliceTable& t = SecWork.Slices;
    const SectionMaterials& m = SecWork.Materials;
    double concreteArea = t.TotalConcreteArea;
    for (int i = 1; i <= t.NumSlices; ++i) concreteArea += t.CoreConcreteArea[U(i)];
    const double fc = m.Concrete.PeakStress;
    const double p0 = IsPrestressed() ? (0.33 * fc - 0.27 * Prestress.ConcreteStress) * concreteArea
                                      : 0.85 * fc * concreteArea + m.Rebar.Yield * t.TotalRebarArea;
    const double step = IsSI() ? InteractionStepSI : InteractionStepUS;
    double thrust[22] = {};
    double moment[22] = {};
    int n = 0;
    for (int k = 0; k <= 20; ++k) {
        const double P = p0 * 0.05 * k;
        SecWork.ThrustIndex = k + 1;
        if (!ComputeCurve(P, step, step, NominalStrain, cap.Tcr)) return;
        const int np = Curve.NumPoints;
        if (np >= 1 && Curve.Points[U(np)].Moment <= 0.0) break;  // the list ends before this thrust
        if (Unbalanced.b_AtFirstPoint) break;  // nor can the section carry the higher thrusts
        WriteCurveThrust(ReportOut(), k + 1, P);
        WriteCurveTable(ReportOut(), TableColumns(), theta * 180.0 / Pi, Curve);
        ReportUnbalancedEnd();
        if (np >= MaxMomentCurvaturePoints) {
            WriteTooManyPointsWarning(ReportOut(), np, true);
            RaiseWarning(-305);
        }
        ++n;
        thrust[n] = P;
        moment[n] = CurveNominalMoment();
    }
    WriteInteractionSummary(ReportOut(), theta * 180.0 / Pi, n, thrust, moment);
}

}  // namespace kestro
