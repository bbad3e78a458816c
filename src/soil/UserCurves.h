#pragma once
// User-input p-y curves: one curve at the top and one at the bottom of the
// layer, each a list of points (y, p) from (0, 0) with rising deflections;
// the curve at a station is interpolated between them by depth.

#include "model/ProblemData.h"
#include "soil/PyCriteria.h"

namespace kestro {

// p on one curve at deflection y >= 0: linear between the points that
// bracket y (y_lo < y <= y_hi), the last point's p beyond the last point.
double UserCurveP(const SoilPoint& curve, double y);
// p at `depth` between the curve at `depthTop` and the one at `depthBottom`;
// 0 outside those depths, the top curve when they differ by 1.0E-6 or less.
double InterpolatedUserP(const SoilPoint& top, const SoilPoint& bottom, double depthTop, double depthBottom,
                         double depth, double y);

// The first fault of a curve, or None: fewer than two points, a first point
// other than (0, 0), deflections that do not rise, or a negative resistance
// or a value that is not a finite number. `point` and `value` name it.
enum class UserCurveFault : int { None = 0, TooFewPoints, FirstPointNotAtOrigin, DeflectionNotRising, NegativeP,
                                  NotANumber };
UserCurveFault FindUserCurveFault(const SoilPoint& curve, int& point, double& value);

namespace usercurves {
// The criterion's own station loop: the curves are tables, a station with no
// deflection keeps its modulus, and the layer resistance sums the curves'
// last p over the stations.
void EvaluateLayer(int k);
}  // namespace usercurves

}  // namespace kestro
