// SOIL LAYERS: the soil profile as a stack of layers, each with one p-y
// criterion and its parameters at the top (point 2k-1) and the bottom
// (point 2k) of layer k. Depths are read in feet (US customary) or meters
// (SI); unit weights per cubic foot and cohesions per square foot in US input
// until the conversion to internal units.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstddef>
#include <string>

#include "driver/RunSequence.h"
#include "input/ValueRanges.h"
#include "input/InputFile.h"
#include "input/ReaderSupport.h"
#include "input/Readers.h"
#include "model/ProblemData.h"
#include "model/RunState.h"

namespace kestro {
namespace {

// A user-input p-y curve: unit weight and point count, then one (y, p) pair
// per line.
bool ReadUserCurve(SoilPoint& P, const std::string& where) {
    if (!ReadList("the unit weight and number of p-y points " + where, {P.UnitWeight, P.UserCurvePoints}))
        return false;
    if (!CountWithin(P.UserCurvePoints, 0, MaxUserCurvePoints, "points on the user-input p-y curve " + where))
        return false;
    for (int j = 1; j <= P.UserCurvePoints; ++j) {
        const std::size_t uj = static_cast<std::size_t>(j);
        if (!ReadList("p-y point " + std::to_string(j) + " " + where, {P.UserY[uj], P.UserP[uj]})) return false;
    }
    return true;
}

// The parameters of one point in the order of the soil model's table.
// Rock keeps qu in the cohesion slot, krm in the strain slot and the initial
// rock modulus in the subgrade-modulus slot.
bool ReadSoilPointValues(int type, SoilPoint& P, const std::string& where) {
    const std::string what = "the soil parameters " + where;
    switch (type) {
        case SoilSoftClay:
        case SoilStiffClayNoWater:
            return ReadList(what, {P.UnitWeight, P.Cohesion, P.Epsilon50});
        case SoilStiffClayFreeWater:
        case SoilStiffClayNoWaterK:
            return ReadList(what, {P.UnitWeight, P.Cohesion, P.Epsilon50, P.Kpy});
        case SoilSandReese:
        case SoilApiSand:
            return ReadList(what, {P.UnitWeight, P.FrictionAngle, P.Kpy});
        case SoilLiquefiedSand:
            return ReadList(what, {P.UnitWeight});
        case SoilWeakRock:
            return ReadList(what, {P.UnitWeight, P.Cohesion, P.Kpy, P.RQD, P.Epsilon50});
        case SoilVuggyLimestone:
            return ReadList(what, {P.UnitWeight, P.Cohesion});
        case SoilPiedmont:
            return ReadList(what, {P.UnitWeight, P.TestType, P.TestValue[1], P.TestValue[2], P.TestValue[3],
                                   P.TestValue[4]});
        case SoilCementedSilt:
            return ReadList(what, {P.UnitWeight, P.Cohesion, P.FrictionAngle, P.Kpy, P.Epsilon50});
        case SoilLoess:
            return ReadList(what, {P.UnitWeight, P.ConeTipResistance});
        case SoilElasticSubgrade:
            return ReadList(what, {P.UnitWeight, P.ElasticSubgrade});
        case SoilUserPy:
            return ReadUserCurve(P, where);
        default:  // frozen soil and massive rock read no parameter lines
            return true;
    }
}

// A point's values, then their physical ranges: a negative unit weight,
// strain or subgrade modulus describes no soil, and a friction angle must lie
// in 0 to 90 degrees. Values a model does not read stay zero and pass.
bool ReadSoilPoint(int type, SoilPoint& P, const std::string& where) {
    if (!ReadSoilPointValues(type, P, where)) return false;
    return CheckRange("the unit weight " + where, P.UnitWeight, ValueRange::NonNegative) &&
           CheckRange("the friction angle " + where, P.FrictionAngle, ValueRange::Angle0To90) &&
           CheckRange("the strain e50 " + where, P.Epsilon50, ValueRange::NonNegative) &&
           CheckRange("the subgrade modulus k " + where, P.Kpy, ValueRange::NonNegative);
}

// Massive rock reads no parameter lines; its unit weight, uniaxial compressive
// strength and intact rock modulus may follow the depths on the layer line,
// for the top and then the bottom of the layer (three values give both).
void ReadMassiveRockValues(SoilPoint& T, SoilPoint& B) {
    double v[6] = {};
    const int n = TrailingReals(3, v, 6);
    if (n < 3) return;
    T.UnitWeight = v[0];
    T.Cohesion = v[1];
    T.Kpy = v[2];
    const int b = n >= 6 ? 3 : 0;
    B.UnitWeight = v[b];
    B.Cohesion = v[b + 1];
    B.Kpy = v[b + 2];
}

}  // namespace

void ReadSoilLayers() {
    ProblemData& D = Problem;
    int nl = 0;
    if (!ReadList("the number of soil layers", {nl})) return;
    // Fewer than one layer reads nothing more and leaves no layers.
    if (nl > MaxSoilLayers && !CountWithin(nl, 0, MaxSoilLayers, "soil layers")) return;
    D.NumLayers = 0;
    D.NumSoilPoints = 0;
    D.GroundDepth = 0.0;
    static const SoilPoint EmptyPoint{};
    for (int k = 1; k <= nl; ++k) {
        const std::string layer = "of soil layer " + std::to_string(k);
        SoilLayer& L = D.Layers[static_cast<std::size_t>(k)];
        int type = 0;
        double top = 0.0, bottom = 0.0;
        if (!ReadList("the soil type and depths " + layer, {type, top, bottom})) return;
        if (type < 1 || type > NumSoilCodes) {
            InputError(ErrSoilTypeUnknown,
                       "Problem:  The soil type " + layer + " is " + std::to_string(type) +
                           ", which is not a soil model code (1 to 16).",
                       "Solution: Give one of the soil model codes 1 to 16 for the layer.");
            return;
        }
        // A layer whose top lies above the bottom of the layer before it
        // overlaps it: two soils at one depth, whose interface no lookup can
        // place. Depths are still in the input's units here.
        const double above = k > 1 ? D.Layers[static_cast<std::size_t>(k - 1)].XBottom : top;
        if (top < above - 1.0E-6 * std::max(1.0, std::fabs(above))) {
            char text[160];
            std::snprintf(text, sizeof text, "Problem:  The top of soil layer %d (%.3f) lies above the bottom of "
                          "soil layer %d (%.3f): the layers overlap.", k, top, k - 1, above);
            InputError(ErrInvertedLayer, text,
                       "Solution: Give the soil layers in order from the ground surface down, each starting at the "
                       "bottom of the layer above it.");
            return;
        }
        L.SoilType = type;
        L.XTop = top;
        L.XBottom = bottom;
        SoilPoint& T = D.SoilPoints[static_cast<std::size_t>(2 * k - 1)];
        SoilPoint& B = D.SoilPoints[static_cast<std::size_t>(2 * k)];
        T = EmptyPoint;
        B = EmptyPoint;
        T.Depth = top;
        B.Depth = bottom;
        if (type == SoilMassiveRock) ReadMassiveRockValues(T, B);
        if (!ReadSoilPoint(type, T, "at the top " + layer)) return;
        if (!ReadSoilPoint(type, B, "at the bottom " + layer)) return;
        D.NumLayers = k;
        D.NumSoilPoints = 2 * k;
    }
    if (D.NumLayers >= 1) D.GroundDepth = D.Layers[1].XTop;
}

}  // namespace kestro
