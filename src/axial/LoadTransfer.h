#pragma once
// Load-transfer laws of a driven pile under axial load (API RP 2GEO, 2011):
// the unit shaft friction and end bearing of clay and sand, and the t-z and
// q-z curves that mobilise them with the pile's movement. Pure functions:
// no store, no files, no errors; their callers raise the numbered errors.
//
// Stresses are in the caller's force and length units; the sand table is
// given in ksf and converted by the caller's factor (ksf to psi, kPa or the
// general unit of stress).

#include <array>

namespace kestro::axial {

// At most this many points on one load-transfer curve (the origin included).
inline constexpr int MaxCurvePoints = 32;

// A load-transfer curve: normalised (or absolute) movement Z against
// mobilised resistance T, from (0, 0) through ascending Z; beyond the last
// point T stays at its last value. The curve is odd in Z (the same law in
// push and pull) unless b_NoTension, when T = 0 for Z <= 0 (a pile tip).
struct Curve {
    int NumPoints = 0;                         // points 0..NumPoints-1
    std::array<double, MaxCurvePoints> Z{};
    std::array<double, MaxCurvePoints> T{};
    bool b_NoTension = false;
};

// T and its slope dT/dZ at Z. On a breakpoint the slope of the segment on the
// side away from zero (the next segment of a growing movement).
struct CurveValue {
    double T = 0.0;
    double Slope = 0.0;
};
CurveValue Evaluate(const Curve& c, double z);

// Clay t-z curve, t/t_max against z/D, with the residual ratio r (0.7 to 1.0):
// (0, 0), (0.0016, 0.30), (0.0031, 0.50), (0.0057, 0.75), (0.0080, 0.90),
// (0.0100, 1.00), (0.0200, r), then r.
Curve ClayTzCurve(double residual);
// Sand t-z curve, t/t_max against z/z_peak (z_peak = 0.1 in): (0, 0), (1, 1), then 1.
Curve SandTzCurve();
// Tip q-z curve, Q/Q_p against z/D: (0, 0), (0.002, 0.25), (0.013, 0.50),
// (0.042, 0.75), (0.073, 0.90), (0.100, 1.00), then 1; no tension.
Curve TipQzCurve();

// Adhesion factor of clay: alpha = 0.5 psi^-0.5 for psi <= 1.0,
// 0.5 psi^-0.25 for psi > 1.0, at most 1.0; psi = c / p'0.
// A zero overburden (the ground surface: psi without bound) gives alpha = 0.
double ClayAlpha(double c, double p0);

// Sand values by the interface friction angle delta = phi - 5 degrees, from
// the table for delta = 15, 20, 25, 30, 35 degrees, linear in delta between
// its rows and the end rows beyond them. FLimit and QLimit in ksf.
struct SandValues {
    double FLimitKsf = 0.0;
    double Nq = 0.0;
    double QLimitKsf = 0.0;
};
SandValues SandTable(double deltaDegrees);

// Unit shaft friction and end bearing in the caller's stress unit; ksf is the
// caller's stress per ksf.
double ClayShaftFriction(double c, double p0);                       // f = alpha c
double ClayEndBearing(double c);                                     // q = 9 c
double SandShaftFriction(double K, double p0, double phiDegrees, double ksf);  // min(K p'0 tan delta, f_lim)
double SandEndBearing(double p0, double phiDegrees, double ksf);               // min(Nq p'0, q_lim)

// Earth pressure coefficient K of sand: 0.8 for an open-ended pipe driven
// unplugged, 1.0 for a plugged or closed-ended pile.
inline constexpr double KOpenEnded = 0.8;
inline constexpr double KPlugged = 1.0;

// Movement at which sand shaft friction is fully mobilised: 0.1 in (2.54 mm).
inline constexpr double SandPeakMovementIn = 0.1;
inline constexpr double SandPeakMovementM = 0.00254;

}  // namespace kestro::axial
