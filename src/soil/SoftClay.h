#pragma once
// Soft clay (Matlock 1970): the criterion functions of the station loop
// (namespace softclay).

#include "soil/PyCriteria.h"

namespace kestro {

// Soft clay, Matlock (1970). Result Aux slots for the page.
namespace softclay {
// Slots 6.. hold the constants of p(y) that Prepare leaves for AtDeflection.
enum AuxSlot : int {
    AuxNp = 0, AuxY50 = 1, AuxXr = 2, AuxKi = 3, AuxPuCyclic = 4, AuxPsCyclic = 5,
    AuxPu = 6, AuxHalfPu = 7, AuxY3 = 8, AuxY8 = 9, AuxY15 = 10, AuxCyclicSlope = 11
};
// Default strain e50 by shear strength when the input value is not positive.
double DefaultEps50(double c, int unitSystem, double input);
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void Prepare(const PyPoint& pt, PyResult& r);
void AtDeflection(const PyPoint& pt, PyResult& r);
double Invert(const PyPoint& first, double F);
void PrintPage(const PyPoint& pt);
}  // namespace softclay

}  // namespace kestro
