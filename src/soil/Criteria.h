#pragma once
// The functions each criterion file supplies to the criterion table
// (CriteriaTable.cpp). Curves and inversions are pure; Properties and the
// page writers may raise warnings and errors.

#include "soil/PyCriteria.h"

namespace kestro {

// Soft clay, Matlock (1970). Result Aux slots for the page.
namespace softclay {
enum AuxSlot : int { AuxNp = 0, AuxY50 = 1, AuxXr = 2, AuxKi = 3, AuxPuCyclic = 4, AuxPsCyclic = 5 };
// Default strain e50 by shear strength when the input value is not positive.
double DefaultEps50(double c, int unitSystem, double input);
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
double Invert(const PyPoint& first, double F);
void PrintPage(const PyPoint& pt);
}  // namespace softclay

// Linear elastic subgrade: p = Esub b y. pt.Aux[0] holds Esub.
namespace elasticsubgrade {
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void PrintPage(const PyPoint& pt);
}  // namespace elasticsubgrade

}  // namespace kestro
