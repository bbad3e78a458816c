#pragma once
// Cemented silt, a c-phi soil: the frictional ultimate resistance of sand
// (Reese et al. 1974) plus the cohesive resistance of clay (Matlock 1970),
// on the four-segment curve of the Reese sand criterion. Pure curve functions
// and the criterion functions of the station loop (namespace cementedsilt).

#include <array>

#include "soil/PyCriteria.h"

namespace kestro {

struct CementedSiltInput {
    double B = 0.0;           // pile width
    double C = 0.0;           // cohesion
    double Phi = 0.0;         // friction angle, radians
    double Gamma = 0.0;       // average effective unit weight
    double K = 0.0;           // initial modulus of subgrade reaction (default applied)
    double Z = 0.0;           // depth below the ground surface
    double ZEq = 0.0;         // equivalent depth
    double J = 0.5;           // Matlock's wedge factor
    double Theta = 0.0;       // magnitude of the effective slope, radians
    double SandS = 1.0;       // sand slope factor S
    double ClaySlope = 1.0;   // clay slope factor on Np
    bool b_Cyclic = false;
};

struct CementedSiltCurve {
    double A = 0.0, B = 0.0;      // Reese sand coefficients at z_eq / b
    double PuPhi = 0.0;           // frictional ultimate resistance
    double Pc = 0.0;              // Np c b before the 9 c b limit
    double PuC = 0.0;             // cohesive ultimate resistance
    double Pu = 0.0;              // A Pu,phi + Pu,c
    double Pm = 0.0;              // B Pu,phi + Pu,c
    double Ym = 0.0, Yu = 0.0;    // b/60, 3b/80
    double M = 0.0, N = 0.0, Cbar = 0.0;
    double Kx = 0.0;              // k z_eq
    double Yk = 0.0;              // where the initial line meets the parabola
};

CementedSiltCurve MakeCementedSiltCurve(const CementedSiltInput& in);
// p at deflection y >= 0, limited by the initial line kx y.
double CementedSiltP(const CementedSiltCurve& curve, double y);
// The 17 printed deflections (element 0 unused).
void CementedSiltPrintedY(const CementedSiltCurve& curve, double b, std::array<double, 18>& y);
// Depth in this soil at which the integral of its ultimate resistance from
// the ground surface equals f (first station's b, c, gamma, phi; z its depth
// below the ground surface).
double CementedSiltEquivalentDepth(double f, double b, double c, double gamma, double phi, double z, bool cyclic);
// Default initial modulus k when the input gives none: the stiff clay value of
// the strength class plus a frictional part by unit weight and friction angle
// (degrees); 0 in general units.
double CementedSiltDefaultK(double c, double gamma, double phiDegrees, bool cyclic, int unitSystem);
// Strain e50 when the input gives none (printed only).
double CementedSiltDefaultEps50(double c, int unitSystem);

namespace cementedsilt {
enum PointAux : int { AuxK = 0, AuxDefaultK = 1, AuxS = 2 };
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
double Invert(const PyPoint& first, double F);
void PrintPage(const PyPoint& pt);
}  // namespace cementedsilt

}  // namespace kestro
