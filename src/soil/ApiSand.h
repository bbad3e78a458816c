#pragma once
// API sand (API RP 2A): hyperbolic-tangent p-y curve on the wedge and
// flow-around ultimate resistances of sand. Pure functions.

#include "soil/SandReese.h"

namespace kestro {

// Coefficients of the level-ground ultimate resistances
// pus = (C1 z + C2 b) gamma' z and pud = C3 b gamma' z.
struct ApiSandCoefficients {
    double C1 = 0.0, C2 = 0.0, C3 = 0.0;
};
ApiSandCoefficients MakeApiSandCoefficients(const SandWedgeParams& w);

// Loading factor A: max(0.9, 3 - 0.8 z/b) for static loading, 0.9 for cyclic.
double ApiSandA(double zEq, double b, bool cyclic);

struct ApiSandCurve {
    double Pus = 0.0, Pud = 0.0, Pu = 0.0;
    double A = 0.0, Apu = 0.0;
    double K = 0.0, ZEq = 0.0;
};
// pus, pud: the level-ground forms, or the sloping-ground wedge and flow-around values.
ApiSandCurve MakeApiSandCurve(double pus, double pud, double b, double k, double zEq, bool cyclic);
// p = A pu tanh(k z y / (A pu)); 0 at the ground surface.
double ApiSandP(const ApiSandCurve& curve, double y);
// The 17 printed deflections (element 0 unused).
void ApiSandPrintedY(double b, std::array<double, 18>& y);

}  // namespace kestro
