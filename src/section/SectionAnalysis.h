#pragma once
// Section analysis run before the load cases (or alone, in the section-only
// computation mode): for every pile section its property pages, axial and
// tensile capacities, the axial thrusts it is analysed for, and its nonlinear
// EI table (moment-curvature analysis, closed-form elastic rules or the
// user's own curves), from which the pile analysis takes the bending
// stiffness.
//
// Units: kips, inches and ksi in US customary runs (input psi divided by
// 1000), kN, m and kPa in SI runs.

namespace kestro {

// The section computation of section s (1-based): the heading of the stage
// (before section 1), "Section No.", then the pages and EI table of the
// section's kind.
void ComputeSectionStiffness(int s);

// The EI table of a section analysed in full (reinforced concrete, steel
// pipe, prestressed): its property page, axial capacities, thrusts, bar or
// strand table and its moment-curvature at every thrust.
void MomentCurvatureEITable(int s);
// A section whose bending stiffness cannot be computed (a micropile, given by
// its length only): ends the run with input data error 88.
void NoBendingStiffness(int s);
// EI table of an elastic section: 150 points of constant EI = E*I.
void ElasticEITable(int s);
// EI table of an elastic section with a specified plastic moment Mp: elastic
// up to Mp, then moment held at Mp with EI = Mp / curvature.
void ElasticPlasticEITable(int s);
// Echo and checks of the user's moment-EI curves of section s, and its EI
// table from them. Ends the run with Input Data Error 51 when the EI of one
// thrust spans more than a factor of 100.
void UserEITableCheck(int s);

// Input data error raised for a section kind whose nonlinear bending
// stiffness cannot be computed (a micropile, given by its length only).
inline constexpr int ErrSectionKindUnavailable = 88;
// Input data error 51: user EI varying by more than a factor of 100.
inline constexpr int ErrUserEIRatio = 51;
// A user moment-EI curve whose curvatures M/EI do not rise from point to
// point cannot be looked up by curvature.
inline constexpr int ErrUserEICurvature = 79;

// --- Pure rules (no store, no files) -------------------------------------------

// Concrete properties of the tensile capacity: Ec = 57 sqrt(1000 f'c) and
// fr = -0.0075 sqrt(1000 f'c) (f'c in ksi), the SI forms in kPa;
// eps0 = 1.7 f'c / Ec; cracking strain -(1 - sqrt(1 + fr/f'c)) eps0.
struct TensileConcrete {
    double Ec = 0.0, Fr = 0.0, Eps0 = 0.0, CrackStrain = 0.0;
};
TensileConcrete TensileConcreteOf(double fc, bool si);

// True when the largest EI of a user curve is at most 100 times its smallest
// (and every EI is positive).
bool UserEIRatioAcceptable(const double* ei, int n);

// Thrusts strictly between Nt and Pn, in order; returns their count and sets
// `dropped` when any input value was left out.
int ThrustsInValidRange(const double* in, int n, double nt, double pn, double* out, bool& dropped);

}  // namespace kestro
