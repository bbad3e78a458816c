#pragma once
// Stiff clay above the water table (Welch & Reese 1972; Reese & Welch 1975),
// static and cyclic, with or without an initial modulus k: the pure curve, the
// default strain by strength class and the equivalent-depth inversion, and
// the criterion functions of the station loop (namespace stiffclaynofreewater).

#include <array>

#include "soil/PyCriteria.h"

namespace kestro {

// Strength class 1..4 (c in psi for US customary, kPa for SI); 0 in general units.
int StiffClayNoFreeWaterClass(double c, int unitSystem);
// Default strain at 50% for a class 1..4 (0 for class 0).
double StiffClayNoFreeWaterDefaultEps50(int strengthClass);

struct StiffClayNoFreeWaterInput {
    double B = 0.0;            // pile width
    double C = 0.0;            // undrained shear strength at the depth
    double Gamma = 0.0;        // average effective unit weight
    double Eps50 = 0.0;        // default already applied
    double ZEq = 0.0;          // equivalent depth below the ground surface
    double SlopeFactor = 1.0;  // ground-slope factor on the wedge resistance
    double Cycles = 1.0;       // number of cycles N (at least 1)
    bool b_Cyclic = false;
    bool b_UsesK = false;      // the "with k" form: p is limited by k zeq y
    double K = 0.0;            // initial modulus, default already applied
};

struct StiffClayNoFreeWaterCurve {
    double Pct = 0.0, Pcd = 0.0, Pu = 0.0;
    double Y50 = 0.0, Y16 = 0.0;
    double Step = 0.0, YEnd = 0.0;   // spacing of the last printed points
    double CyclicScale = 1.0;        // 1 + 0.6 log10 N
    double Kx = 0.0;                 // k zeq ("with k" form)
    double Ki = 0.0;                 // secant at y = 2.0E-5 b (form without k)
    double YSmall = 0.0;             // 2.0E-5 b
    bool b_Cyclic = false;
    bool b_UsesK = false;
};

StiffClayNoFreeWaterCurve MakeStiffClayNoFreeWaterCurve(const StiffClayNoFreeWaterInput& in);
// p at deflection y >= 0 (NaN when y50 is not positive: no defined curve).
double StiffClayNoFreeWaterP(const StiffClayNoFreeWaterCurve& curve, double y);
// The 17 printed deflections (element 0 unused).
void StiffClayNoFreeWaterPrintedY(const StiffClayNoFreeWaterCurve& curve, std::array<double, 18>& y);

// Depth in this soil at which the integral of pu from the ground surface
// equals f (first-station b, c, ca, gamma); static and cyclic alike.
double StiffClayNoFreeWaterEquivalentDepth(double f, double b, double c, double ca, double gamma);

// Stiff clay without free water, Welch & Reese (1972): "StfClyAW" (curve
// alone) and "StfClyAK" (limited by the initial line k z y).
namespace stiffclaynofreewater {
enum PointAux : int { AuxCaGround = 0, AuxK = 1, AuxDefaultK = 2, AuxRawY = 3 };
enum ResultAux : int { AuxPct = 0, AuxPcd = 1, AuxY50 = 2, AuxKi = 3, AuxKx = 4 };
void Properties(PyPoint& pt);
void PropertiesK(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void CurveK(const PyPoint& pt, PyResult& r);
double Invert(const PyPoint& first, double F);
void PrintPage(const PyPoint& pt);
void PrintPageK(const PyPoint& pt);
}  // namespace stiffclaynofreewater

}  // namespace kestro
