#pragma once
// Vuggy limestone (strong rock): a bilinear p-y curve from the uniaxial
// compressive strength, with a residual resistance beyond the second corner.

#include "soil/PyCriteria.h"

namespace kestro {

struct VuggyLimestoneCurve {
    double Su = 0.0;         // qu / 2
    double Y1 = 0.0, P1 = 0.0;
    double Ks = 0.0;         // initial slope 2000 su
    double Y2 = 0.0;         // where the second line reaches b su
    double PResidual = 0.0;  // 0.5 gamma' b z beyond y2
};

VuggyLimestoneCurve MakeVuggyLimestoneCurve(double qu, double b, double gamma, double z);
double VuggyLimestoneP(const VuggyLimestoneCurve& c, double y);

namespace vuggylimestone {
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void PrintPage(const PyPoint& pt);
}  // namespace vuggylimestone

}  // namespace kestro
