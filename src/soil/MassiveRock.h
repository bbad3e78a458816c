#pragma once
// Massive rock: the hyperbolic p-y curve of Liang, Yang & Nusairat (2009)
// on a Hoek-Brown rock mass of fixed quality (m_i = 6, GSI = 42, Poisson's
// ratio 0.4), with the intact rock's compressive strength qu and modulus Er
// given for the layer.

#include "soil/PyCriteria.h"

namespace kestro {

// Hoek-Brown constants of the rock mass (Hoek, Carranza-Torres & Corkum 2002,
// undisturbed rock, D = 0) and the modulus factors.
struct RockMassConstants {
    double Mb = 0.0;        // m_i e^((GSI - 100) / 28)
    double S = 0.0;         // e^((GSI - 100) / 9)
    double A = 0.0;         // 0.5 + (e^(-GSI/15) - e^(-20/3)) / 6
    double EmFactor = 0.0;  // e^(GSI / 21.7): Em = Er / 100 x this
    double NuFactor = 0.0;  // e^(-2 nu)
};
RockMassConstants MassiveRockConstants();

struct MassiveRockCurve {
    double Em = 0.0;        // rock mass modulus
    double Ki = 0.0;        // initial slope of the curve
    double Sigma3 = 0.0;    // vertical effective stress gamma' z_eq
    double Sigma1 = 0.0;    // Hoek-Brown strength at Sigma3
    double Kp = 0.0;        // d sigma1 / d sigma3 at Sigma3
    double Phi = 0.0;       // friction angle of the tangent (radians)
    double Cohesion = 0.0;  // cohesion of the tangent
    double Tau = 0.0;       // side shear 0.45 sqrt(qu) (MPa form)
    double PuWedge = 0.0, PuFlow = 0.0, Pu = 0.0;
};
// qu, Er (stress), gamma (force per volume), zEq and b (length), EI of the
// pile (force x length^2) in the computation units of `unitSystem` (US or SI).
MassiveRockCurve MakeMassiveRockCurve(double qu, double Er, double gamma, double zEq, double b, double EI,
                                      int unitSystem);
// p = y / (1/Ki + y/pu)
double MassiveRockP(const MassiveRockCurve& c, double y);

namespace massiverock {
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void PrintPage(const PyPoint& pt);
}  // namespace massiverock

}  // namespace kestro
