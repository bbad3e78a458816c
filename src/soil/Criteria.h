#pragma once
// The functions each criterion file supplies to the soil model table
// (SoilModels.cpp). Curves and inversions are pure; Properties and the
// page writers may raise warnings and errors.

#include <iosfwd>
#include <string_view>

#include "soil/PyCriteria.h"

namespace kestro {

struct SandPageCommon;

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

// Linear elastic subgrade: p = Esub b y. pt.Aux[0] holds Esub.
namespace elasticsubgrade {
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void PrintPage(const PyPoint& pt);
}  // namespace elasticsubgrade

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

// Stiff clay without free water, Welch & Reese (1972): "StfClyAW" (curve
// alone) and "StfClyAK" (limited by the initial line k z y).
namespace stiffclaynofreewater {
enum PointAux : int { AuxCaGround = 0, AuxK = 1, AuxDefaultK = 2, AuxRawY = 3 };
enum ResultAux : int { AuxPct = 0, AuxPcd = 1, AuxY50 = 2, AuxKi = 3, AuxKx = 4 };
void Properties(PyPoint& pt);
void PropertiesK(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void CurveK(const PyPoint& pt, PyResult& r);
double Invert(const PyPoint& first, double F);
void PrintPage(const PyPoint& pt);
void PrintPageK(const PyPoint& pt);
}  // namespace stiffclaynofreewater

// Sand, Reese, Cox & Koop (1974), and API sand (API RP 2A).
namespace sand {
enum PointAux : int { AuxK = 0, AuxDefaultK = 1, AuxS = 2, AuxTheta = 3 };
// API sand's Prepare leaves A pu and k z_eq of p(y) in AuxApu and AuxKz.
enum ResultAux : int {
    AuxPst = 0, AuxPsd = 1, AuxPs = 2, AuxA = 3, AuxB = 4, AuxKa = 5, AuxKp = 6, AuxC1 = 7, AuxC2 = 8, AuxC3 = 9,
    AuxApu = 10, AuxKz = 11
};
// Reese sand's Prepare leaves the rest of its curve for p(y) in slots 5..11
// (a Reese result has no Ka, Kp or C1..C3).
enum ReeseResultAux : int {
    AuxReeseYk = 5, AuxReeseYm = 6, AuxReeseN = 7, AuxReeseC = 8, AuxReeseYu = 9, AuxReesePm = 10, AuxReeseM = 11
};
void ReeseProperties(PyPoint& pt);
void ReeseCurve(const PyPoint& pt, PyResult& r);
void ReesePrepare(const PyPoint& pt, PyResult& r);
void ReeseAtDeflection(const PyPoint& pt, PyResult& r);
void ReesePrintPage(const PyPoint& pt);
void ApiProperties(PyPoint& pt);
void ApiCurve(const PyPoint& pt, PyResult& r);
void ApiPrepare(const PyPoint& pt, PyResult& r);
void ApiAtDeflection(const PyPoint& pt, PyResult& r);
void ApiPrintPage(const PyPoint& pt);
// Both sand codes invert the same resistance integral.
double Invert(const PyPoint& first, double F);
// Shared by both codes: k of the layer at the depth, the default when the
// input asks for it (Runtime Error 13 in general units).
void AssignK(PyPoint& pt);
// The station's raw deflection, which selects the slope-factor side.
double RawDeflection(const PyPoint& pt);
// The values of both sand pages at the station; `soil` names the curve in
// the plot records.
SandPageCommon PageCommonOf(const PyPoint& pt, std::string_view soil);
}  // namespace sand

}  // namespace kestro
