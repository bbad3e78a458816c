#pragma once
// Sand (Reese, Cox & Koop 1974): the wedge and flow-around ultimate
// resistances shared with API sand, the sloping-ground forms, the default
// initial modulus k, the empirical A and B coefficients, the four-segment
// curve with its printed points and the equivalent-depth inversion.
// Pure functions (no store, no files, no errors), and the criterion
// functions of the station loop for both sands (namespace sand).

#include <array>
#include <string_view>

#include "soil/PyCriteria.h"

namespace kestro {

// Abscissas z/b of the A and B tables and the four tables.
extern const double SandCoefficientDepths[10];
extern const double SandAStatic[10];
extern const double SandBStatic[10];
extern const double SandACyclic[10];
extern const double SandBCyclic[10];

double ReeseSandA(double zOverB, bool cyclic);
double ReeseSandB(double zOverB, bool cyclic);

// Wedge angles and earth pressure coefficients of a sand with friction angle phi.
struct SandWedgeParams {
    double Phi = 0.0;     // radians
    double Alpha = 0.0;   // phi / 2
    double Beta = 0.0;    // pi/4 + phi/2
    double K0 = 0.4;
    double Ka = 0.0;      // tan^2(pi/4 - phi/2)
    double Kp = 0.0;      // tan^2(beta)
};
SandWedgeParams MakeSandWedgeParams(double phi);

// Default initial modulus of subgrade reaction (pci or kN/m^3) for a friction
// angle in degrees and an effective unit weight; 0 in general units, where the
// caller must stop the run.
double DefaultSandK(double phiDegrees, double gamma, int unitSystem);

// cos^2(theta) - cos^2(phi): negative when the ground slope is steeper than
// the friction angle, where the sloping-ground wedge has no solution.
double SandSlopeDiscriminant(double theta, double phi);

// Slope factor S = 1 + t or 1 - t, t = tan(theta) tan(beta), selected by the
// sign of the raw deflection against the signed effective slope.
double ReeseSandSlopeFactor(double t, double slope, double yRaw);
// API form: deflections within 1.0E-14 of zero keep the previous station's S,
// except an exactly zero deflection under a positive slope.
double ApiSandSlopeFactor(double t, double slope, double yRaw, double previousS);

struct SandUltimate {
    double Pst = 0.0;   // wedge resistance
    double Psd = 0.0;   // flow-around resistance
    double Ps = 0.0;    // the smaller
};
// theta: magnitude of the effective slope; b_Sloped: the criterion's slope
// switch (Reese theta > 1.0E-15, API theta > 1.0E-10); s: slope factor S.
// zWedge is the depth of the wedge term, zFlow that of the flow-around term.
SandUltimate SandUltimateResistance(const SandWedgeParams& w, double b, double gamma, double zWedge, double zFlow,
                                    double theta, bool b_Sloped, double s);

struct ReeseSandCurve {
    double A = 0.0, B = 0.0;
    double Pu = 0.0, Pm = 0.0;
    double Ym = 0.0, Yu = 0.0;
    double M = 0.0;       // slope of the straight segment
    double Kx = 0.0;      // k zeq
    double N = 0.0, C = 0.0, Yk = 0.0, Pk = 0.0;
};
ReeseSandCurve MakeReeseSandCurve(double ps, double b, double k, double zEq, bool cyclic);
double ReeseSandP(const ReeseSandCurve& curve, double y);

// The 17 printed points (element 0 unused) and the rows where the initial line
// governs. Returns the layout case 0..3.
struct ReeseSandPrinted {
    std::array<double, 18> Y{};
    std::array<double, 18> P{};
    std::array<bool, 18> b_Initial{};
    int Case = 0;
};
void ReeseSandPrintedPoints(const ReeseSandCurve& curve, double b, ReeseSandPrinted& out);

// Coefficients of the shallow and deep sand resistances used by the
// equivalent-depth inversions: A p_st ~ A gamma' b^2 (D1 (z/b)^2 + D2 z/b) and
// p_sd ~ D3 gamma' b z; zt = (D3 - D2) b / D1 is where they meet.
struct SandInversionTerms {
    double D1 = 0.0, D2 = 0.0, D3 = 0.0, Zt = 0.0;
};
SandInversionTerms MakeSandInversionTerms(const SandWedgeParams& w, double b);

// Depth in this sand at which the integral of A p_st from the ground surface
// equals f; w of the layer's first station, z its depth below the ground.
double SandEquivalentDepth(double f, const SandWedgeParams& w, double b, double gamma, double z, bool cyclic);

struct SandPageCommon;

// Sand, Reese, Cox & Koop (1974), and API sand (API RP 2A).
namespace sand {
enum PointAux : int { AuxK = 0, AuxDefaultK = 1, AuxS = 2, AuxTheta = 3 };
// API sand's Prepare leaves A pu and k z_eq of p(y) in AuxApu and AuxKz.
enum ResultAux : int {
    AuxPst = 0, AuxPsd = 1, AuxPs = 2, AuxA = 3, AuxB = 4, AuxKa = 5, AuxKp = 6, AuxC1 = 7, AuxC2 = 8, AuxC3 = 9,
    AuxApu = 10, AuxKz = 11
};
// Reese sand's Prepare leaves the rest of its curve for p(y) in slots 5..11
// (a Reese result has no Ka, Kp or C1..C3).
enum ReeseResultAux : int {
    AuxReeseYk = 5, AuxReeseYm = 6, AuxReeseN = 7, AuxReeseC = 8, AuxReeseYu = 9, AuxReesePm = 10, AuxReeseM = 11
};
void ReeseProperties(PyPoint& pt);
void ReeseCurve(const PyPoint& pt, PyResult& r);
void ReesePrepare(const PyPoint& pt, PyResult& r);
void ReeseAtDeflection(const PyPoint& pt, PyResult& r);
void ReesePrintPage(const PyPoint& pt);
void ApiProperties(PyPoint& pt);
void ApiCurve(const PyPoint& pt, PyResult& r);
void ApiPrepare(const PyPoint& pt, PyResult& r);
void ApiAtDeflection(const PyPoint& pt, PyResult& r);
void ApiPrintPage(const PyPoint& pt);
// Both sand codes invert the same resistance integral.
double Invert(const PyPoint& first, double F);
// Shared by both codes: k of the layer at the depth, the default when the
// input asks for it (Runtime Error 13 in general units).
void AssignK(PyPoint& pt);
// The station's raw deflection, which selects the slope-factor side.
double RawDeflection(const PyPoint& pt);
// The values of both sand pages at the station; `soil` names the curve in
// the plot records.
SandPageCommon PageCommonOf(const PyPoint& pt, std::string_view soil);
}  // namespace sand

}  // namespace kestro
