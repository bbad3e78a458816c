#pragma once
// Report pages and plot records of the two studies that repeat the load-case
// iteration: the pile-head stiffness terms and the pile-head deflection
// versus pile length. Writers only: every number comes from the analysis.

#include <iosfwd>

namespace kestro {

// One load step of the pile-head stiffness study: the head values of the
// shear step (zero rotation) and of the moment step (zero deflection).
struct StiffnessStep {
    double Deflection = 0.0, ShearReaction = 0.0, MomentReaction = 0.0, K22 = 0.0, K32 = 0.0;  // shear step
    double Rotation = 0.0, RotShearReaction = 0.0, RotMomentReaction = 0.0, K23 = 0.0, K33 = 0.0;  // moment step
};

// The two tables of ten steps (element 0 unused) with their heading and legend.
void WriteStiffnessTables(std::ostream& out, const StiffnessStep (&steps)[11]);
// Line 14 of step k: V, M, K22, K23, K32, K33, |y top|, |rotation|.
void WritePlotLine14(std::ostream& out, double V, double M, double K22, double K23, double K32, double K33,
                     double yTop, double theta);
// Note written when the stiffness study stops at generated load case `step`.
void WriteStiffnessNotComputed(std::ostream& out, int step);

// Length study of load case n: heading and the pile-head conditions of the case.
void WriteLengthStudyHeading(std::ostream& out, int loadCase, int loadType, double condition1, double condition2,
                             double axial);
void WriteLengthTableHeading(std::ostream& out);
void WriteLengthRow(std::ostream& out, double length, double yTop, double maxMoment, double maxShear);
// Note under an empty table: no trial length was accepted.
void WriteNoAcceptedLength(std::ostream& out);
// Why a trial length has no row: its head deflection exceeds the deflection
// limit, its iteration ended without convergence, or its last change of
// deflection was not within the tolerance.
enum class LengthSkipReason { DeflectionLimit = 0, IterationLimit = 1, Tolerance = 2, Buckled = 3 };
// After the table: the heading, then one line per trial length without a row.
void WriteSkippedLengthsHeading(std::ostream& out);
void WriteSkippedLength(std::ostream& out, double length, LengthSkipReason reason);
// Line 11 of a length study with its count of points, and one Line 12 per point.
void WritePlotLine11Study(std::ostream& out, int count, int loadCase);
void WritePlotLine12(std::ostream& out, double length, double yTop, double maxMoment, double maxShear);

}  // namespace kestro
