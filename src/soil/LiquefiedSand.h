#pragma once
// Liquefied sand (Rollins et al. 2005): a power-law p-y curve whose
// coefficients grow with the effective overburden, scaled by a pile-diameter
// correction and limited by the resistance at 150 mm. Pure curve functions and
// the criterion functions of the station loop (namespace liquefiedsand).

#include <array>

#include "soil/PyCriteria.h"

namespace kestro {

struct LiquefiedSandCurve {
    bool b_US = false;   // US customary: y in inches, p in lb/in
    double S = 0.0;      // overburden term: 0.1 gamma' z + 1 (z in m, gamma' in kN/m3)
    double A = 0.0, B = 0.0, C = 0.0;
    double Pd = 0.0;     // diameter correction 3.81 ln(b_m) + 5.6
    double Pu = 0.0;     // upper limit: the resistance at 150 mm
};

// gamma: average effective unit weight; z: depth below the ground surface;
// b: pile width, all in the computation units of `unitSystem`.
LiquefiedSandCurve MakeLiquefiedSandCurve(double gamma, double z, double b, int unitSystem);
// p at deflection y >= 0 (computation units).
double LiquefiedSandP(const LiquefiedSandCurve& curve, double y);
// Pile width in metres.
double LiquefiedSandWidthMeters(double b, int unitSystem);
// The 17 printed deflections (element 0 unused): 0.25 mm to 150 mm, or 0.01 to 6 in.
void LiquefiedSandPrintedY(int unitSystem, std::array<double, 18>& y);

namespace liquefiedsand {
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void PrintPage(const PyPoint& pt);
}  // namespace liquefiedsand

}  // namespace kestro
