#pragma once
// Moment-curvature analysis of a pile section: the section is bent through a
// rising schedule of curvatures at a fixed axial thrust; at each curvature the
// neutral axis is found, the bending moment about mid-depth is taken from the
// slice forces and EI = M / phi is tabulated. The moment at a concrete strain
// of 0.003 is the nominal moment capacity. The same machinery serves the
// section-only options: one given strain state, a sweep of the direction of
// loading and a column interaction study.

#include "model/SectionTables.h"
#include "section/Materials.h"

namespace kestro {

// --- Pure rules ------------------------------------------------------------------

// First curvature by section size: n = size / 24 in rounded to the nearest
// whole number (at least 1); 1.25e-6 / n rad/in (US customary) or
// 4.921259901994065e-5 / n rad/m (SI, size in m).
double FirstCurvature(double size, bool si);
// Curvature of point k (1-based) of the schedule: phi0 at point 1, then
// increments of phi0 (points 2-39), 2 phi0 (40-79), 8 phi0 (80-119) and
// 48 phi0 (120-150).
double ScheduleCurvature(double phi0, int k);
// First curvature of a steel pipe: (1.7 fy/E - P/(E A)) / (D/2) / 80.
double PipeFirstCurvature(double fy, double e, double area, double d, double p);
// Moment interpolated at a concrete strain of 0.003 between the first pair of
// points whose upper point reaches it (or the last pair); 0 when the curve
// never reaches 0.003. Arrays are 1-based, n points.
double MomentAtStrain003(const double* moment, const double* strain, int n);

// --- Section analysis -------------------------------------------------------------

// Prepares section s for the computation: geometry at the station position,
// turned through theta (radians) and sliced; the materials with the given
// concrete models; the prestrains of prestressed sections. Returns false
// when the run was ended.
bool Initialize_EI_Vars(double theta, double station, int s, int concreteModel, int coreConcreteModel);

// Prestress results of the section last prepared (zero when it has no strands).
const PrestressResults& SectionPrestress();

// Computes one point of the curve of the current section at curvature phi
// and thrust P into `p` (moment, EI, neutral axis, strains, peak stresses,
// run messages). `search` and the run flags of SecWork carry over between
// points of one thrust. Returns false when the run was ended.
bool ComputeCurvePoint(double phi, double P, CurvePoint& p);

// Curve at thrust P with first curvature phi0 and the standard schedule (or
// a constant step when `constantStep` > 0), until a stop rule; fills Curve.
// `strainLimit` is the concrete strain that stops the curve (0.0038, or 0.003
// for the interaction study). Returns false when the run was ended.
bool ComputeCurve(double P, double phi0, double constantStep, double strainLimit, double cracking);

// The moment-curvature computation of section s for the thrusts of its EI
// table: report tables, plot records Line 4 and 5, warnings 305 and 306 and
// the summary of nominal moment capacities. `option` is printed in the heading.
void MomentCurvature(int s, int option);

// Section-only options on the prepared section s.
void SingleStrainState(int s, double phi, double thrust, double theta, double station);
void RotationOfLoading(int s, const double* anglesDegrees, int n, double thrust, double station);
void ColumnInteraction(int s, double theta, double station);

}  // namespace kestro
