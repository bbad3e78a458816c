#pragma once
// Loess (Johnson et al. 2006): a hyperbolic p-y curve whose ultimate
// resistance comes from the cone tip resistance and degrades with the number
// of load cycles. Pure curve functions and the criterion functions of the
// station loop (namespace loess).

#include <array>

#include "soil/PyCriteria.h"

namespace kestro {

struct LoessCurve {
    double YRef = 0.0;   // reference deflection 0.117 in (0.0029718 m)
    double Qca = 0.0;    // cone tip resistance after the near-surface adjustment
    double Pu0 = 0.0;    // 0.409 qc_a
    double Pu = 0.0;     // b pu0 / (1 + 0.24 ln N)
    double Ei = 0.0;     // pu / y_ref
};

// qc: cone tip resistance at the depth; x: station abscissa along the pile;
// cycles: number of load cycles (1 to 10).
LoessCurve MakeLoessCurve(double qc, double x, double b, double cycles, int unitSystem);
// p at deflection y >= 0.
double LoessP(const LoessCurve& curve, double y);
// The 17 printed deflections (element 0 unused): y_ref times 0 .. 50.
void LoessPrintedY(const LoessCurve& curve, std::array<double, 18>& y);

namespace loess {
enum PointAux : int { AuxQc = 0, AuxX = 1, AuxCycles = 2 };
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void PrintPage(const PyPoint& pt);
}  // namespace loess

}  // namespace kestro
