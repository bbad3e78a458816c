// The axial analysis of the pile: the column of bar elements between the
// stations of the lateral run's spacing, with t-z springs from the soil layers
// (API RP 2GEO 2011 for clay and sand, user curves otherwise) and a q-z spring
// at the tip; then the capacities, the load-settlement curve to plunging and
// the response under the user's head loads.

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <ostream>
#include <string>

#include "axial/AxialModel.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "model/Warnings.h"
#include "input/InputFile.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SectionTypes.h"
#include "report/AxialReport.h"
#include "section/Materials.h"
#include "section/SliceTable.h"
#include "soil/SoilModels.h"

namespace kestro {

AxialInputData AxialInput;
AxialResultsData AxialResults;
axial::AxialPile AxialColumn;

void ResetAxialModel() {
    AxialInput = AxialInputData{};
    AxialResults = AxialResultsData{};
    AxialColumn = axial::AxialPile{};
}

namespace {

constexpr std::size_t U(int i) { return static_cast<std::size_t>(i); }
constexpr double Pi = 3.14159265358979323846;
// 1 ksf = 1000 lbf/ft2 = 1000/144 psi = 47.880259 kPa.
constexpr double KsfInPsi = 1000.0 / 144.0;
constexpr double KsfInKPa = 4.4482216152605 / 0.09290304;

std::string Number(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

// The outline of a section as the soil sees it along the shaft and at the tip.
struct Outline {
    double Width = 0.0;       // diameter or width: the scale of the clay t-z and the q-z curves
    double Perimeter = 0.0;
    double GrossArea = 0.0;   // area inside the outline (a plugged or closed tip)
    double WallArea = 0.0;    // steel annulus of an open-ended pipe
    bool b_OpenPipe = false;
};

Outline Circle(double d) { return {d, Pi * d, Pi / 4.0 * d * d, 0.0, false}; }
Outline Box(double b, double d) { return {b < d ? b : d, 2.0 * (b + d), b * d, 0.0, false}; }
Outline Pipe(double d, double t) {
    const double di = d - 2.0 * t;
    return {d, Pi * d, Pi / 4.0 * d * d, Pi / 4.0 * (d * d - di * di), true};
}

Outline OutlineOf(const PileSection& S) {
    const SectionType& type = SectionTypeFor(S.SectionType);
    if (type.IsSteelPipe()) return Pipe(S.PileDiameter, S.WallThickness);
    switch (type.Outline) {
        case SectionOutline::Rectangle:
            return Box(S.RectangleWidth, S.RectangleDepth);
        case SectionOutline::Square:
            return Box(S.PileDiameter, S.PileDiameter);
        case SectionOutline::Octagon: {
            // Regular octagon of width d across the flats.
            const double t = std::tan(Pi / 8.0);
            return {S.PileDiameter, 8.0 * S.PileDiameter * t, 2.0 * S.PileDiameter * S.PileDiameter * t, 0.0, false};
        }
        case SectionOutline::Given:
            switch (S.ElasticShape) {
                case 0: return Box(S.TopWidth, S.TopDepth);
                case 2: return Pipe(S.TopWidth, S.TopWallThickness);
                case 3:
                case 4: return Box(S.FlangeWidth, S.SectionDepth);
                case 5: return Circle(S.DrilledHoleDiameter);
                default: return Circle(S.TopWidth);
            }
        default:
            return Circle(S.PileDiameter);
    }
}

// Section at depth x along the pile: at a boundary the lower one.
int SectionAt(double x) {
    for (int s = 1; s <= Problem.NumSections; ++s)
        if (x < Problem.Sections[U(s)].SectionBottom) return s;
    return Problem.NumSections;
}

// Longitudinal steel that the gross concrete area of the property table
// leaves out: the bars of reinforced sections (types 0 to 3) and the strands
// of prestressed piles. Casing and core steel are already in the table's area,
// transformed to concrete by the modular ratio. Returns false when the run
// was ended (strands that cannot be placed).
bool LongitudinalSteel(int s, double& area, double& modulus) {
    const PileSection& S = Problem.Sections[U(s)];
    area = 0.0;
    modulus = 0.0;
    if (!(S.ConcreteStrength > 0.0)) return true;
    const SectionType& type = SectionTypeFor(S.SectionType);
    if (type.HasBars()) {
        if (S.RebarPattern == RebarCircle) {
            area = S.BarCount1 * S.BarCount2 * S.CircleBarArea;
        } else if (S.RebarPattern == RebarNoncircular) {
            const int n = S.NumBars < MaxBars ? S.NumBars : MaxBars;
            for (int k = 1; k <= n; ++k) area += S.BarArea[U(k)];
        }
        modulus = S.RebarModulus;
        return true;
    }
    if (type.IsPrestressed() && S.NumStrands > 0) {
        // The strand areas as the section analysis places them.
        SectionGeometry g;
        if (!BuildSectionGeometry(s, 1, g)) return false;
        for (int k = 1; k <= g.NumBars; ++k) area += g.BarArea[U(k)];
        // Seven-wire strand 28500 ksi (type codes 1 to 3), high-strength bars
        // 29000 ksi (4 to 6), in the stress unit of the property table.
        const double ksi = S.StrandTypeCode <= 3 ? 28500.0 : 29000.0;
        modulus = IsSI() ? ksi * KsiInKPa : ksi * 1000.0;
    }
    return true;
}

// E A at depth x within its section: the product interpolated between the
// section's top and bottom rows of the property table, plus (Es - Ec) As of
// the longitudinal steel, so that a concrete section is the gross transformed
// section Ec (Ag + (n - 1) As), n = Es / Ec.
double AxialStiffnessAt(double x) {
    const int s = SectionAt(x);
    const PileSection& S = Problem.Sections[U(s)];
    const PropertyRow& top = Problem.PropertyTable[U(2 * s - 1)];
    const PropertyRow& bottom = Problem.PropertyTable[U(2 * s)];
    const double span = S.SectionBottom - S.SectionTop;
    double t = span > 0.0 ? (x - S.SectionTop) / span : 0.0;
    if (t < 0.0) t = 0.0;
    if (t > 1.0) t = 1.0;
    const double ea = top.Modulus * top.Area + t * (bottom.Modulus * bottom.Area - top.Modulus * top.Area);
    return ea + AxialResults.SteelStiffness[U(s)];
}

AxialSoil AxialSoilOf(int type) {
    const SoilModel* m = SoilModelOf(type);
    return m != nullptr ? m->Axial : AxialSoil::None;
}
bool IsClay(int type) { return AxialSoilOf(type) == AxialSoil::Clay; }
bool IsSand(int type) { return AxialSoilOf(type) == AxialSoil::Sand; }

const SoilPoint& TopPoint(int k) { return Problem.SoilPoints[U(2 * k - 1)]; }
const SoilPoint& BottomPoint(int k) { return Problem.SoilPoints[U(2 * k)]; }

double InLayer(int k, double x, double SoilPoint::*column) {
    const SoilLayer& L = Problem.Layers[U(k)];
    const double span = L.XBottom - L.XTop;
    const double t = span > 0.0 ? (x - L.XTop) / span : 0.0;
    return TopPoint(k).*column + t * (BottomPoint(k).*column - TopPoint(k).*column);
}

// The layer holding depth x; `below` picks the lower layer at an interface.
int LayerAt(double x, bool below) {
    const int n = Problem.NumLayers;
    for (int k = 1; k <= n; ++k) {
        const SoilLayer& L = Problem.Layers[U(k)];
        if (x >= L.XTop && (below ? x < L.XBottom : x <= L.XBottom)) return k;
    }
    if (n >= 1 && x >= Problem.Layers[U(n)].XTop) return n;
    return 0;
}

// Effective overburden pressure p'0 at depth x: the integral of the effective
// unit weight (linear within each layer) from the ground surface.
double OverburdenAt(double x) {
    double p0 = 0.0;
    for (int k = 1; k <= Problem.NumLayers; ++k) {
        const SoilLayer& L = Problem.Layers[U(k)];
        const double a = L.XTop, b = x < L.XBottom ? x : L.XBottom;
        if (!(b > a)) continue;
        p0 += 0.5 * (InLayer(k, a, &SoilPoint::UnitWeight) + InLayer(k, b, &SoilPoint::UnitWeight)) * (b - a);
    }
    return p0;
}

// The user curves of a layer for the shaft (t-z) or the tip (q-z): one curve
// for the whole layer (Bottom null), or the curves at its top and bottom.
struct UserCurves {
    const AxialUserCurve* Top = nullptr;
    const AxialUserCurve* Bottom = nullptr;
    explicit operator bool() const { return Top != nullptr; }
};

UserCurves UserCurvesOf(int layer, bool tip) {
    UserCurves u;
    for (int i = 1; i <= AxialInput.NumUserCurves; ++i) {
        const AxialUserCurve& c = AxialInput.UserCurves[U(i)];
        if (c.Layer != layer || c.b_Tip != tip) continue;
        if (c.Position == AxialCurveBottom)
            u.Bottom = &c;
        else
            u.Top = &c;
    }
    if (u.Top == nullptr) u.Bottom = nullptr;
    return u;
}

// Weight of the bottom curve at depth x of layer k, as user p-y curves are
// interpolated: linear in depth from 0 at the layer's top to 1 at its bottom
// (clamped to the layer), 0 (the top curve) in a layer 1.0E-6 or less thick.
double DepthWeight(int k, double x) {
    const SoilLayer& L = Problem.Layers[U(k)];
    const double span = L.XBottom - L.XTop;
    if (!(std::fabs(span) > 1.0E-6)) return 0.0;
    const double t = (x - L.XTop) / span;
    return t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
}

double StressPerInputStress() { return IsUS() ? 1.0 / 144.0 : 1.0; }
double KsfInStress() { return IsUS() ? KsfInPsi : KsfInKPa; }

struct Context {
    double K = 1.0;                 // sand earth pressure coefficient
    int ClayCurve = 0, SandCurve = 0, TipCurve = 0;
    axial::NodeArray<int> UserCurveIndex{};  // curve index of user curve i of the input
};

// The last (largest: the curves never fall) resistance of a layer's user
// curves at depth x of layer k, in the analysis's stress unit.
double UserPeak(const UserCurves& u, int k, double x) {
    const double top = u.Top->T[U(u.Top->NumPoints)] * StressPerInputStress();
    if (u.Bottom == nullptr) return top;
    const double bottom = u.Bottom->T[U(u.Bottom->NumPoints)] * StressPerInputStress();
    return top + DepthWeight(k, x) * (bottom - top);
}

// Unit shaft friction f_max at depth x of layer k.
double UnitFriction(int k, double x, const Context& ctx) {
    if (const UserCurves u = UserCurvesOf(k, false)) return UserPeak(u, k, x);
    const int type = Problem.Layers[U(k)].SoilType;
    const double p0 = OverburdenAt(x);
    if (IsClay(type)) return axial::ClayShaftFriction(InLayer(k, x, &SoilPoint::Cohesion), p0);
    if (IsSand(type)) return axial::SandShaftFriction(ctx.K, p0, InLayer(k, x, &SoilPoint::FrictionAngle), KsfInStress());
    return 0.0;
}

// Input data errors of a layer the pile reaches: no law, or a missing strength.
bool CheckLayer(int k) {
    const SoilLayer& L = Problem.Layers[U(k)];
    const std::string where = "Soil layer " + std::to_string(k) + " (line " + std::to_string(L.InputLine) + ", code " +
                              std::to_string(L.SoilType) + ")";
    const bool userTz = static_cast<bool>(UserCurvesOf(k, false));
    if (!userTz && !IsClay(L.SoilType) && !IsSand(L.SoilType)) {
        InputError(ErrAxialNoCurve,
                   "Problem:  " + where + " has no load-transfer (t-z) law of its own: only the clay codes 1 to 4, "
                                          "the sand codes 5 and 6 and cemented silt (11) have one.",
                   "Solution: Give a TZ user curve for the layer in AXIAL ANALYSIS (and a QZ curve if the pile tip "
                   "is in it).");
        return false;
    }
    if (!userTz && IsSand(L.SoilType) && IsGeneral()) {
        InputError(ErrAxialNoCurve,
                   "Problem:  " + where + " is a sand: its limiting friction and end bearing and the 0.1 in movement "
                                          "of its t-z curve have no value in general units.",
                   "Solution: Use US customary or SI units, or give TZ and QZ user curves for the layer.");
        return false;
    }
    if (userTz) return true;
    const bool clay = IsClay(L.SoilType);
    const double top = clay ? TopPoint(k).Cohesion : TopPoint(k).FrictionAngle;
    const double bottom = clay ? BottomPoint(k).Cohesion : BottomPoint(k).FrictionAngle;
    if (!(top > 0.0) || !(bottom > 0.0)) {
        const double shown = !(top > 0.0) ? top : bottom;
        const double asInput = clay && IsUS() ? shown * 144.0 : shown;
        InputError(ErrAxialStrength,
                   "Problem:  " + where + " has " + (clay ? "an undrained shear strength" : "a friction angle") +
                       " of " + Number(asInput) + " at its " + (!(top > 0.0) ? "top" : "bottom") +
                       ": the axial analysis needs it for the unit shaft friction.",
                   std::string("Solution: Give the ") + (clay ? "shear strength" : "friction angle") +
                       " of the layer, or a TZ user curve for it in AXIAL ANALYSIS.");
        return false;
    }
    return true;
}

axial::Curve UserCurve(const AxialUserCurve& u) {
    axial::Curve c;
    int n = 0;
    if (u.Z[1] > 0.0) {
        c.Z[0] = 0.0;
        c.T[0] = 0.0;
        n = 1;
    }
    for (int j = 1; j <= u.NumPoints && n < axial::MaxCurvePoints; ++j, ++n) {
        c.Z[U(n)] = u.Z[U(j)];
        c.T[U(n)] = u.T[U(j)] * StressPerInputStress();
    }
    c.NumPoints = n;
    c.b_NoTension = u.b_Tip;
    return c;
}

void RuntimeError(int number, const std::string& problem, const std::string& solution) {
    Fail(ErrorKind::Runtime, number, problem, solution);
}

// Shaft friction integrated over [a, b] of layer k: composite Simpson rule.
double FrictionIntegral(int k, double a, double b, const Context& ctx) {
    constexpr int Parts = 16;
    const double step = (b - a) / Parts;
    double sum = 0.0;
    for (int j = 0; j <= Parts; ++j) {
        const double x = a + step * j;
        const double w = (j == 0 || j == Parts) ? 1.0 : (j % 2 == 1 ? 4.0 : 2.0);
        sum += w * UnitFriction(k, x, ctx) * OutlineOf(Problem.Sections[U(SectionAt(x))]).Perimeter;
    }
    return sum * step / 3.0;
}

}  // namespace

void BuildAxialColumn() {
    axial::AxialPile& P = AxialColumn;
    AxialResultsData& R = AxialResults;
    P = axial::AxialPile{};
    const double L = Problem.PileLength;
    const int increments = Problem.Options.NumIncrements;
    const int n = increments + 1;
    if (n < 2 || n > axial::MaxNodes || !(L > 0.0)) return;

    // E A of every section: the transformed section of concrete and
    // composite sections.
    for (int s = 1; s <= Problem.NumSections; ++s) {
        const PileSection& S = Problem.Sections[U(s)];
        double as = 0.0, es = 0.0;
        if (!LongitudinalSteel(s, as, es)) return;
        const double ec = Problem.PropertyTable[U(2 * s - 1)].Modulus;
        R.SteelArea[U(s)] = as;
        R.SteelModulus[U(s)] = es;
        R.SteelStiffness[U(s)] = as > 0.0 && es > 0.0 ? (es - ec) * as : 0.0;
        for (int r = 2 * s - 1; r <= 2 * s; ++r) {
            const PropertyRow& row = Problem.PropertyTable[U(r)];
            const double ea = row.Modulus * row.Area + R.SteelStiffness[U(s)];
            if (!(ea > 0.0)) {
                InputError(ErrAxialStiffness,
                           "Problem:  Pile section " + std::to_string(s) + " (line " + std::to_string(S.InputLine) +
                               ", type " + std::to_string(S.SectionType) + ") has an axial stiffness EA of " +
                               Number(ea) + " " + std::string(IsSI() ? "kN" : IsUS() ? "lbs" : "F") + " at its " +
                               (r == 2 * s - 1 ? "top" : "bottom") + " (modulus " + Number(row.Modulus) +
                               ", area " + Number(row.Area) + ").",
                           "Solution: The axial analysis needs a section with an area and an elastic modulus; give "
                           "the section as an elastic section (type 11) with its area.");
                return;
            }
        }
    }

    // Layers the pile reaches.
    const double ground = Problem.GroundDepth;
    for (int k = 1; k <= Problem.NumLayers; ++k) {
        const SoilLayer& Lk = Problem.Layers[U(k)];
        if (Lk.XTop < L && Lk.XBottom > ground && Lk.XBottom > Lk.XTop) {
            if (!CheckLayer(k)) return;
        }
    }

    Context ctx;
    const int tipSection = Problem.NumSections;
    const Outline tipOutline = OutlineOf(Problem.Sections[U(tipSection)]);
    const bool unplugged = tipOutline.b_OpenPipe && AxialInput.TipCondition == AxialTipUnplugged;
    ctx.K = unplugged ? axial::KOpenEnded : axial::KPlugged;

    P.Curves[1] = axial::ClayTzCurve(AxialInput.ResidualRatio);
    P.Curves[2] = axial::SandTzCurve();
    P.Curves[3] = axial::TipQzCurve();
    P.NumCurves = 3;
    ctx.ClayCurve = 1;
    ctx.SandCurve = 2;
    ctx.TipCurve = 3;
    for (int i = 1; i <= AxialInput.NumUserCurves; ++i) {
        P.Curves[U(++P.NumCurves)] = UserCurve(AxialInput.UserCurves[U(i)]);
        ctx.UserCurveIndex[U(i)] = P.NumCurves;
    }
    auto userIndex = [&ctx](const AxialUserCurve* c) {
        return c == nullptr ? 0 : ctx.UserCurveIndex[U(static_cast<int>(c - &AxialInput.UserCurves[1]) + 1)];
    };
    // A spring on a layer's user curves: the curve of the whole layer, or the
    // curves at its top and bottom weighted by the depth x.
    auto userSpring = [&userIndex](axial::Spring& sp, const UserCurves& u, int k, double x) {
        sp.Curve = userIndex(u.Top);
        sp.Curve2 = userIndex(u.Bottom);
        sp.Weight = u.Bottom != nullptr ? DepthWeight(k, x) : 0.0;
        sp.ZScale = 1.0;
    };

    const double h = L / increments;
    const double sandPeak = IsSI() ? axial::SandPeakMovementM : axial::SandPeakMovementIn;
    P.NumNodes = n;
    for (int i = 1; i <= n; ++i) {
        const double x = i == n ? L : h * (i - 1);
        P.Depth[U(i)] = x;
        if (i < n) {
            P.ElementLength[U(i)] = h;
            P.EA[U(i)] = AxialStiffnessAt(x + 0.5 * h);
        }
        const Outline o = OutlineOf(Problem.Sections[U(SectionAt(x))]);
        R.Perimeter[U(i)] = o.Perimeter;
        // Tributary length of the node, below the ground surface, split at
        // the layer interfaces.
        double a = x - 0.5 * h, b = x + 0.5 * h;
        if (a < 0.0) a = 0.0;
        if (b > L) b = L;
        if (a < ground) a = ground;
        double ultimate = 0.0;
        for (int k = 1; k <= Problem.NumLayers && b > a; ++k) {
            const SoilLayer& Lk = Problem.Layers[U(k)];
            const double lo = a > Lk.XTop ? a : Lk.XTop, hi = b < Lk.XBottom ? b : Lk.XBottom;
            if (hi > lo) ultimate += FrictionIntegral(k, lo, hi, ctx);
        }
        if (!(ultimate > 0.0)) continue;
        const int k = LayerAt(x < ground ? ground : x, i < n);
        R.Layer[U(i)] = k;
        if (k < 1 || !(ultimate > 0.0)) continue;
        R.UnitFriction[U(i)] = UnitFriction(k, x, ctx);
        axial::Spring& sp = P.Shaft[U(i)];
        if (const UserCurves u = UserCurvesOf(k, false)) {
            userSpring(sp, u, k, x);
            const double tMax = UserPeak(u, k, x);
            sp.ForceScale = tMax > 0.0 ? ultimate / tMax : 0.0;
        } else if (IsClay(Problem.Layers[U(k)].SoilType)) {
            sp.Curve = ctx.ClayCurve;
            sp.ZScale = o.Width;
            sp.ForceScale = ultimate;
        } else {
            sp.Curve = ctx.SandCurve;
            sp.ZScale = sandPeak;
            sp.ForceScale = ultimate;
        }
    }

    // The tip: its layer, area and q-z spring.
    R.TipDiameter = tipOutline.Width;
    R.TipArea = unplugged ? tipOutline.WallArea : tipOutline.GrossArea;
    if (L > ground) {
        const int k = LayerAt(L, false);
        R.TipLayer = k;
        if (k >= 1) {
            const int type = Problem.Layers[U(k)].SoilType;
            axial::Spring& tip = P.Tip;
            if (const UserCurves u = UserCurvesOf(k, true)) {
                userSpring(tip, u, k, L);
                tip.ForceScale = R.TipArea;
                R.UnitEndBearing = UserPeak(u, k, L);
            } else if (IsClay(type) || (IsSand(type) && !UserCurvesOf(k, false))) {
                const double p0 = OverburdenAt(L);
                R.UnitEndBearing = IsClay(type) ? axial::ClayEndBearing(InLayer(k, L, &SoilPoint::Cohesion))
                                                : axial::SandEndBearing(p0, InLayer(k, L, &SoilPoint::FrictionAngle),
                                                                        KsfInStress());
                tip.Curve = ctx.TipCurve;
                tip.ZScale = tipOutline.Width;
                tip.ForceScale = R.UnitEndBearing * R.TipArea;
            } else {
                const SoilLayer& Lk = Problem.Layers[U(k)];
                InputError(ErrAxialNoCurve,
                           "Problem:  The pile tip lies in soil layer " + std::to_string(k) + " (line " +
                               std::to_string(Lk.InputLine) + ", code " + std::to_string(type) +
                               "), which has no end-bearing (q-z) law of its own.",
                           "Solution: Give a QZ user curve for the layer in AXIAL ANALYSIS.");
                return;
            }
        }
    }
}

namespace {

void StoreProfile(AxialProfile& out, const axial::AxialState& state, const axial::HeadResponse& r) {
    const axial::AxialPile& P = AxialColumn;
    out.b_Solved = true;
    out.HeadMovement = r.Displacement;
    out.HeadStiffness = r.Stiffness;
    const axial::Resistance res = axial::Resistances(P, state);
    out.Shaft = res.Shaft;
    out.Tip = res.Tip;
    axial::NodeArray<double> shaft{};
    axial::AxialForces(P, state, r.Force, out.Force, shaft);
    for (int i = 1; i <= P.NumNodes; ++i) {
        out.Movement[U(i)] = state.w[U(i)];
        // Mobilised unit friction: the spring force over its shaft area.
        const double area = AxialResults.Perimeter[U(i)] * (i == 1 || i == P.NumNodes ? 0.5 : 1.0) *
                            (P.NumNodes > 1 ? P.ElementLength[1] : 0.0);
        out.Friction[U(i)] = area > 0.0 ? shaft[U(i)] / area : 0.0;
    }
}

bool NotConverged(double load) {
    RuntimeError(RunAxialNotConverged,
                 "Problem:  The axial analysis found no equilibrium of the pile under the head load " + Number(load) +
                     " " + std::string(IsSI() ? "kN" : IsUS() ? "lbs" : "F") + ".",
                 "Solution: Check the sections' area and modulus (EA, in the units of the input) and the soil data; a "
                 "different number of pile increments may help.");
    return false;
}

}  // namespace

bool ComputeAxialResponse() {
    const axial::AxialPile& P = AxialColumn;
    AxialResultsData& R = AxialResults;
    for (int i = 1; i <= P.NumNodes; ++i) {
        const axial::Spring& s = P.Shaft[U(i)];
        if (s.Curve >= 1) R.UltimateShaft += s.ForceScale * axial::SpringPeak(P, s);
    }
    // The q-z curves never fall: their peak is their last point.
    if (P.Tip.Curve >= 1) R.UltimateTip = P.Tip.ForceScale * axial::SpringPeak(P, P.Tip);
    if (!(R.UltimateShaft + R.UltimateTip > 0.0)) {
        RuntimeError(RunAxialNoResistance,
                     "Problem:  The pile meets no soil resistance along its shaft or at its tip: the axial analysis "
                     "has nothing to carry the head load.",
                     "Solution: Check that the soil layers reach the pile below the ground surface.");
        return false;
    }
    double wUp = 0.0, wDown = 0.0;
    R.PlungingCompression = axial::PlungingForce(P, 1.0, wDown);
    R.PlungingUplift = axial::PlungingForce(P, -1.0, wUp);

    // Load-settlement curve in compression to the plunging load.
    axial::AxialState state;
    const int steps = AxialInput.CurveSteps;
    R.NumCurvePoints = steps + 1;
    for (int k = 1; k <= steps; ++k) {
        axial::HeadResponse r;
        if (k == steps) {
            r = axial::SolveForHeadDisplacement(P, wDown, state);
        } else {
            r = axial::SolveForHeadForce(P, R.PlungingCompression * k / steps, state);
        }
        if (!r.b_Converged) return NotConverged(R.PlungingCompression * k / steps);
        const axial::Resistance res = axial::Resistances(P, state);
        R.CurveLoad[U(k)] = r.Force;
        R.CurveMovement[U(k)] = r.Displacement;
        R.CurveShaft[U(k)] = res.Shaft;
        R.CurveTip[U(k)] = res.Tip;
    }
    const double f = AxialInput.CapacityFraction;
    axial::AxialState other;
    axial::HeadResponse r = axial::SolveForHeadForce(P, f * R.PlungingCompression, other);
    if (!r.b_Converged) return NotConverged(f * R.PlungingCompression);
    R.MovementAtFractionCompression = r.Displacement;
    if (R.PlungingUplift < 0.0) {
        other = axial::AxialState{};
        r = axial::SolveForHeadForce(P, f * R.PlungingUplift, other);
        if (!r.b_Converged) return NotConverged(f * R.PlungingUplift);
        R.MovementAtFractionUplift = r.Displacement;
    }

    // The user's head loads; without them the profile at the fraction of
    // the compression capacity.
    const int nLoads = AxialInput.NumHeadLoads;
    R.NumProfiles = nLoads > 0 ? nLoads : 1;
    for (int j = 1; j <= R.NumProfiles; ++j) {
        AxialProfile& out = R.Profiles[U(j)];
        const double load = nLoads > 0 ? AxialInput.HeadLoads[U(j)] : f * R.PlungingCompression;
        out.HeadLoad = load;
        const double limit = load >= 0.0 ? R.PlungingCompression : R.PlungingUplift;
        if (std::fabs(load) > std::fabs(limit)) {
            out.b_Solved = false;
            RaiseWarning(-WarnAxialBeyondPlunging);
            continue;
        }
        other = axial::AxialState{};
        r = axial::SolveForHeadForce(P, load, other);
        if (!r.b_Converged) return NotConverged(load);
        StoreProfile(out, other, r);
    }
    return true;
}

void RunAxialAnalysis() {
    MessageOut() << "Computing axial load transfer of the pile\n";
    if (AxialColumn.NumNodes < 2) return;
    if (!ComputeAxialResponse()) return;
    WriteAxialReport(ReportOut());
    WriteAxialPlotRecords(PlotOut());
    MessageOut() << "Completed axial analysis\n\n";
}

}  // namespace kestro
