#pragma once
// Printed p-y curve pages of the weak rock, liquefied sand, loess and
// cemented silt criteria: the values printed above each curve, the 17 points
// (already multiplied by the y- and p-multipliers) and the plot records.

#include <iosfwd>

#include "report/PyCurvePage.h"

namespace kestro {

struct WeakRockPage {
    int Layer = 0;
    double Z = 0.0, B = 0.0, Qu = 0.0, Gamma = 0.0, Xr = 0.0, Rqd = 0.0, Eir = 0.0, Pur = 0.0, Krm = 0.0;
    double Kir = 0.0, AlphaR = 0.0, Yu = 0.0, Yrm = 0.0, YA = 0.0, PMult = 1.0, YMult = 1.0;
    PyCurveTable Curve{};
};
void WriteWeakRockPage(std::ostream& report, std::ostream& plot, const WeakRockPage& page);

struct LiquefiedSandPage {
    double Z = 0.0, B = 0.0, Gamma = 0.0, Pu = 0.0, PMult = 1.0, YMult = 1.0;
    PyCurveTable Curve{};
};
void WriteLiquefiedSandPage(std::ostream& report, std::ostream& plot, const LiquefiedSandPage& page);

struct LoessPage {
    int Layer = 0;
    double DepthBelowHead = 0.0, Z = 0.0, B = 0.0;
    bool b_DepthAdjusted = false;   // within two widths of the pile head
    double Qc = 0.0, Ei = 0.0, Pu0 = 0.0, Pu = 0.0, Cycles = 1.0, PMult = 1.0, YMult = 1.0;
    PyCurveTable Curve{};
};
void WriteLoessPage(std::ostream& report, std::ostream& plot, const LoessPage& page);

struct CementedSiltPage {
    bool b_Cyclic = false;
    int Layer = 0;
    double DepthBelowHead = 0.0, Z = 0.0, ZEq = 0.0, B = 0.0, C = 0.0, PhiDegrees = 0.0, Gamma = 0.0;
    double K = 0.0, Eps50 = 0.0, XOverB = 0.0, A = 0.0, Bc = 0.0, M = 0.0, N = 0.0, Cbar = 0.0, Yk = 0.0;
    double Pu = 0.0, Pc = 0.0, Ym = 0.0, Pm = 0.0, Yu = 0.0, PuC = 0.0, PuPhi = 0.0, PMult = 1.0, YMult = 1.0;
    PyCurveTable Curve{};
};
void WriteCementedSiltPage(std::ostream& report, std::ostream& plot, const CementedSiltPage& page);

}  // namespace kestro
