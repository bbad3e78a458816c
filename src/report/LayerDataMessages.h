#pragma once
// Error blocks about the data of a soil layer that its p-y criterion cannot
// use: user-input p-y curves, the field test of a Piedmont residual soil and
// the rock values of a massive rock layer. Each names the layer and, where
// there is one, the point and the value.

#include <iosfwd>

#include "soil/UserCurves.h"

namespace kestro {

inline constexpr int ErrUserCurveInvalid = 71;
inline constexpr int ErrFieldTestInvalid = 72;
inline constexpr int ErrRockLayerInvalid = 73;

struct UserCurveProblem {
    int Layer = 0;
    bool b_Top = true;
    UserCurveFault Fault = UserCurveFault::None;
    int Point = 0;
    double Value = 0.0;
};
void WriteUserCurveError(std::ostream& out, const UserCurveProblem& e);

struct FieldTestProblem {
    enum Kind : int { KindUnknown, KindsDiffer, GeneralUnits, NegativeValue, NoValue };
    Kind What = KindUnknown;
    int Layer = 0;
    int Kind = 0, BottomKind = 0;
    bool b_AtTop = false;
    double TopValue = 0.0, BottomValue = 0.0;
};
void WriteFieldTestError(std::ostream& out, const FieldTestProblem& e);

struct RockLayerProblem {
    enum Kind : int { GeneralUnits, Strength, Modulus };
    Kind What = Strength;
    int Layer = 0;
    double Depth = 0.0;   // computation units
    double Value = 0.0;
};
void WriteRockLayerError(std::ostream& out, const RockLayerProblem& e);

// Massive rock layer whose top and bottom depths are equal.
void WriteRuntimeError20MassiveRock(std::ostream& out, int layer, double depth);

}  // namespace kestro
