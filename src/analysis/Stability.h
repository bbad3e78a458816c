#pragma once
// Stability of a converged load case. The secant iteration finds an
// equilibrium, but under a large axial load that equilibrium can be one the
// axial load holds up by its own P-delta moment (the pile leaning against the
// applied shear): a buckled pile, which is never an answer. The equilibrium
// is stable when the tangent stiffness of the pile and soil, with the axial
// load's geometric term, is positive definite; the signs of the pivots of its
// banded LDL^T factorisation tell.

#include "model/PileModel.h"

namespace kestro {

// The pile-head restraint of the tangent system, from the load type.
enum class HeadRestraint {
    Free,            // types 1 (shear and moment) and 4's rotation
    Slope,           // rotation fixed: types 2 and 5
    RotationSpring,  // type 3: moment = K_theta x slope
};

// The tangent system of stations 1..n (spacing h) as energy terms:
// bending 1/2 EI(i) h curvature(i)^2 at the interior stations (zero curvature
// at a free end), the soil 1/2 k(i) w(i) y(i)^2 with the trapezoid weights
// w = h (h/2 at the ends), the geometric term -1/2 Q (dy/dx)^2 h of every
// segment, a rotational spring K_theta at the head, a tip spring kTip and, with
// `headDeflectionFixed`, the head's deflection held. EI and k are indexed by
// station (St(i)). Returns the number of pivots that are not positive: 0 for
// a stable equilibrium.
int CountUnstablePivots(int n, double h, const StationArray& EI, const StationArray& k, double Q,
                        HeadRestraint head, double rotationalStiffness, bool headDeflectionFixed, double kTip);

// The soil's tangent moduli dp/dy at the converged deflections of the current
// case, from the p-y criteria evaluated at the deflections and at deflections
// a little larger; the pile model, soil state and warnings are restored
// afterwards. False with the error set when a criterion failed.
bool SoilTangentModuli(StationArray& Et);

// Stability check of the converged case `c` (Pile holds its solution):
// only a case with a compressive axial load can lose stability by it. On an
// unstable equilibrium writes Runtime Error 34 naming the case and ends the
// run. Returns false with the error set.
bool CheckCaseStability(int c);

// Stability of a converged trial of the pile length study (Pile holds its
// solution), the test of CheckCaseStability without ending the run and
// without changing Pile: 0 stable (or no compressive axial load), 1 the pile
// buckles, -1 a p-y criterion failed (the error is set).
int StudyTrialStability();

// Warning 370 when the head slope of the converged case exceeds the range of
// small-deflection theory.
inline constexpr double SmallDeflectionSlopeLimit = 0.1;
inline constexpr int WarnLargeHeadRotation = 370;

}  // namespace kestro
