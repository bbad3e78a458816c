#pragma once
// Weak rock (Reese 1997): the rock mass strength reduced by RQD, an ultimate
// resistance that grows with the depth into the rock, an initial modulus from
// the rock mass modulus Eir, and a curve of three segments joined at y_A and
// 16 y_rm. The curve functions are pure; the criterion functions of the
// station loop (namespace weakrock) look the properties up and raise the
// warnings and errors.

#include <array>

#include "soil/PyCriteria.h"

namespace kestro {

struct WeakRockInput {
    double B = 0.0;      // pile width
    double Qu = 0.0;     // uniaxial compressive strength
    double Rqd = 0.0;    // rock quality designation, percent
    double Krm = 0.0;    // strain factor k_rm
    double Eir = 0.0;    // rock mass modulus
    double Xr = 0.0;     // depth into the rock
};

struct WeakRockCurve {
    double AlphaR = 0.0;  // strength reduction 1 - 2 RQD / 300
    double Pur = 0.0;     // ultimate resistance
    double Kir = 0.0;     // initial modulus
    double Yrm = 0.0;     // k_rm b
    double YA = 0.0;      // end of the initial line
};

WeakRockCurve MakeWeakRockCurve(const WeakRockInput& in);
// p at deflection y >= 0.
double WeakRockP(const WeakRockCurve& curve, double y);
// The 17 printed deflections (element 0 unused).
void WeakRockPrintedY(const WeakRockCurve& curve, std::array<double, 18>& y);

namespace weakrock {
enum PointAux : int { AuxRqd = 0, AuxKrm = 1, AuxEir = 2, AuxXr = 3 };
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void PrintPage(const PyPoint& pt);
}  // namespace weakrock

}  // namespace kestro
