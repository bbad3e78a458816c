#pragma once
// Stiff clay below free water (Reese, Cox & Koop 1975), static and cyclic:
// the pure curve, its defaults by strength class and the equivalent-depth
// inversion (no store, no files, no errors), and the criterion functions of
// the station loop (namespace stiffclayfreewater), which raise those.

#include <array>

#include "soil/PyCriteria.h"

namespace kestro {

// Strength class 1..4 of a stiff clay with free water (c in psi for US
// customary, kPa for SI); 0 in general units, where no default exists.
int StiffClayFreeWaterClass(double c, int unitSystem);
// Default strain at 50% of the peak stress for a class 1..4 (0 for class 0).
double StiffClayFreeWaterDefaultEps50(int strengthClass);
// Default initial modulus of subgrade reaction k (pci or kN/m^3) for a class
// 1..4, static or cyclic; 0 for class 0 or general units. Shared by the stiff
// clay criteria that take a k.
double StiffClayDefaultK(int strengthClass, bool cyclic, int unitSystem);
// Strength class 1..4 of a stiff clay from the criterion's three class limits
// (psi for US customary, kPa for SI); 0 in general units. Shared by the stiff
// clay criteria, each with its own limits.
int StiffClayStrengthClass(double c, int unitSystem, const std::array<double, 3>& limitsPsi,
                           const std::array<double, 3>& limitsKPa);
// Default strain at 50% of the peak stress for a class 1..4 (0 for class 0),
// the same table for the stiff clay criteria.
double StiffClayDefaultEps50(int strengthClass);

// Everything the free-water curve needs at one station.
struct StiffClayFreeWaterInput {
    double B = 0.0;            // pile width
    double C = 0.0;            // undrained shear strength at the depth
    double Ca = 0.0;           // average shear strength
    double Gamma = 0.0;        // average effective unit weight
    double Eps50 = 0.0;        // strain at 50% (default already applied)
    double K = 0.0;            // initial modulus of subgrade reaction (default already applied)
    double ZEq = 0.0;          // equivalent depth below the ground surface
    double SlopeFactor = 1.0;  // ground-slope factor on the wedge resistance
    bool b_Cyclic = false;
};

struct StiffClayFreeWaterCurve {
    double As = 0.0, Ac = 0.0;
    double Pct = 0.0, Pcd = 0.0, Pc = 0.0;
    double Y50 = 0.0;
    double Pu = 0.0;           // residual resistance of the loading type
    double Kx = 0.0;           // initial slope k * zeq
    double Yp = 0.0;           // cyclic reference deflection 4.1 As y50
    bool b_Cyclic = false;
};

StiffClayFreeWaterCurve MakeStiffClayFreeWaterCurve(const StiffClayFreeWaterInput& in);
// p at deflection y >= 0, limited by the initial line kx * y. A curve with a
// non-positive y50 has no defined shape and returns a value that is not a
// number, so the caller's check stops the run.
double StiffClayFreeWaterP(const StiffClayFreeWaterCurve& curve, double y);
// The 17 printed deflections (element 0 unused).
void StiffClayFreeWaterPrintedY(const StiffClayFreeWaterCurve& curve, std::array<double, 18>& y);

// Ultimate resistance of the loading type: pc static, Ac pc cyclic.
double StiffClayFreeWaterUltimate(const StiffClayFreeWaterCurve& curve);
// Depth in this soil at which the integral of its ultimate resistance (pc,
// or Ac pc under cyclic loading) from the ground surface equals f
// (first-station b, c, ca, gamma). Never negative.
double StiffClayFreeWaterEquivalentDepth(double f, double b, double c, double ca, double gamma, bool cyclic);

// Stiff clay with free water, Reese, Cox & Koop (1975).
namespace stiffclayfreewater {
enum PointAux : int { AuxCa = 0, AuxK = 1, AuxDefaultK = 2 };
enum ResultAux : int { AuxAs = 0, AuxAc = 1, AuxPct = 2, AuxPcd = 3, AuxPc = 4, AuxY50 = 5 };
// Average shear strength: from the ground surface in layer 1, else the
// running trapezoid average over the layer's stations, carried in pt.Carry.
double AverageStrength(PyPoint& pt);
// The layer's initial modulus k at a depth; 0 when the input asks for the default.
double LayerK(int k, double depth);
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
double Invert(const PyPoint& first, double F);
void PrintPage(const PyPoint& pt);
}  // namespace stiffclayfreewater

}  // namespace kestro
