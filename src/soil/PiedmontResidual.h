#pragma once
// Piedmont residual soil: a p-y curve built on an initial modulus taken from
// a field test (SPT, CPT, DMT or PMT).

#include "soil/PyCriteria.h"

namespace kestro {

enum FieldTestKind : int { TestSpt = 1, TestCpt = 2, TestDmt = 3, TestPmt = 4 };

// Factor from the field-test value to the initial modulus E (psi or kPa);
// 0 for a kind outside 1..4 and for SPT blow counts in general units, where
// no factor exists.
double FieldTestModulusFactor(int kind, int unitSystem);

// The curve's width enters as b / (1 in), the form in which the field-test
// factors were fitted; 0 in general units, whose length unit is not known.
double PiedmontWidthInInches(double b, int unitSystem);

struct PiedmontCurve {
    double E = 0.0, B = 0.0;
    double Slope = 0.0; // initial slope E (b / 1 in)
    double Ya = 0.0;    // 0.001 b: end of the linear part
    double Yb = 0.0;    // 0.0375 b: start of the plateau
    double Pult = 0.0;  // 0.16648 E (b / 1 in) yb
};
PiedmontCurve MakePiedmontCurve(double E, double b, int unitSystem);
double PiedmontP(const PiedmontCurve& c, double y);

namespace piedmont {
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void PrintPage(const PyPoint& pt);
}  // namespace piedmont

}  // namespace kestro
