// The loading and auxiliary sections: LOADING, AXIAL THRUST LOADS, LRFD LOADS,
// LRFD FACTORS AND CASES, TIP SHEAR, PILE BATTER AND SLOPE, GROUP EFFECT
// FACTORS, SOIL MOVEMENTS and DEPTHS OF PRINTED P-Y CURVES. Depths below the
// pile head are read in feet (US customary) or meters (SI) and converted
// with the rest of the input; forces and moments are read in pounds and
// inch-pounds, or kilonewtons and kilonewton-meters.

#include <cstddef>
#include <ostream>
#include <string>

#include "model/Channels.h"
#include "model/Errors.h"
#include "input/ValueRanges.h"
#include "input/InputFile.h"
#include "input/KeywordReader.h"
#include "input/ReaderSupport.h"
#include "input/Readers.h"
#include "model/ProblemData.h"
#include "model/RunState.h"

namespace kestro {
namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }
std::string Num(int i) { return std::to_string(i); }

// A list of points after a count line: item number (not checked), then the
// values of each point.
template <typename ReadPoint>
bool ReadPoints(int n, ReadPoint read) {
    for (int k = 1; k <= n; ++k)
        if (!read(k)) return false;
    return true;
}

}  // namespace

void ReadLoading() {
    ProblemData& D = Problem;
    int n = 0;
    if (!ReadList("the number of load cases", {n})) return;
    if (!CountWithin(n, 0, MaxLoadCases, "pile-head load cases")) return;
    D.NumLoadCases = 0;
    for (int i = 1; i <= n; ++i) {
        LoadCase& C = D.LoadCases[U(i)];
        int item = 0;
        if (!ReadList("load case " + Num(i), {item, C.LoadType, C.Condition1, C.Condition2, C.AxialLoad, C.LengthCode}))
            return;
        if (C.LoadType < 1 || C.LoadType > 5) {
            UnknownCode("pile-head load type of load case " + Num(i), C.LoadType, "1 to 5");
            return;
        }
        // The two head conditions by load type (a negative rotational
        // stiffness would drive the head rotation), then the axial load.
        const std::string of = " of load case " + Num(i);
        const bool deflection = C.LoadType >= 4;
        const char* second = C.LoadType == 3 ? "the rotational stiffness"
                             : (C.LoadType == 2 || C.LoadType == 5) ? "the head slope"
                                                                    : "the moment load";
        if (!CheckField((deflection ? "the head deflection" : "the lateral load") + of, C.Condition1) ||
            !CheckField(second + of, C.Condition2) || !CheckField("the axial load" + of, C.AxialLoad))
            return;
        // Length code 1: the fixed-length analysis only; anything else asks
        // for the deflection versus embedment length study.
        C.LengthStudyRequested = C.LengthCode != 1;
        D.NumLoadCases = i;
    }

    int m = 0;
    if (!ReadList("the number of distributed load points", {m})) return;
    if (!CountWithin(m, 0, MaxDistributedLoadPoints, "distributed lateral load points")) return;
    D.NumDistributedPoints = m;
    if (m == 0) {
        D.DistDepth[1] = D.DistDepth[2] = 0.0;
        D.DistLoad[1] = D.DistLoad[2] = 0.0;
    }
    ReadPoints(m, [&](int k) {
        int item = 0;
        return ReadList("distributed load point " + Num(k), {item, D.DistDepth[U(k)], D.DistLoad[U(k)]}) &&
               CheckField("the distributed load depth of point " + Num(k), D.DistDepth[U(k)]) &&
               CheckField("the distributed load of point " + Num(k), D.DistLoad[U(k)]);
    });
}

// The thrusts of the section computations. They fill a list of their own, so
// that the section, wherever it stands, never touches the load cases.
void ReadAxialThrustLoads() {
    ProblemData& D = Problem;
    D.NumThrustLoads = 0;
    int n = 0;
    if (!ReadList("the number of axial thrust loads", {n})) return;
    if (n > MaxAxialThrusts && !CountWithin(n, 0, MaxAxialThrusts, "axial thrust loads")) return;
    for (int i = 1; i <= n; ++i) {
        int item = 0;
        if (!ReadList("axial thrust load " + Num(i), {item, D.ThrustLoads[U(i)]}) ||
            !CheckField("the axial thrust of axial thrust load " + Num(i), D.ThrustLoads[U(i)]))
            return;
    }
    if (n <= 0) {
        // No thrust given: one thrust of zero.
        n = 1;
        D.ThrustLoads[1] = 0.0;
    }
    D.NumThrustLoads = n;
    ExchangeSort(D.ThrustLoads.data(), n);
}

void ReadLrfdLoads() {
    ProblemData& D = Problem;
    int n = 0;
    if (!ReadList("the number of LRFD loading groups", {n})) return;
    if (n < 1 || n > MaxLrfdGroups) {
        ReportErrorLines(98, {"", "", "***** Input Data Error No. 98 *****", "", "",
                              "Number of LRFD loads specified is " + Num(n),
                              "This is outside of the valid range to 1 to 100", "", ""});
        return;
    }
    D.NumLrfdGroups = 0;
    for (int j = 1; j <= n; ++j) {
        LrfdLoadGroup& G = D.LrfdGroups[U(j)];
        int number = 0;
        if (!ReadList("LRFD loading group " + Num(j), {number, G.LrfdLoadType, G.GroupHorizontalForce,
                                                         G.GroupMoment, G.GroupAxialForce, G.NumDistributedPoints}))
            return;
        if (number != j) {
            ReportErrorLines(97, {"", "", "***** Input Data Error No. 97 *****", "", "",
                                  "Input appears to be out-of-order for LRFD loading",
                                  "Input load number is " + Num(number) + " and the expected load number is " + Num(j),
                                  "", ""});
            return;
        }
        const std::string group = " of LRFD loading group " + Num(j);
        if (!CheckField("the lateral load" + group, G.GroupHorizontalForce) ||
            !CheckField("the moment load" + group, G.GroupMoment) ||
            !CheckField("the axial load" + group, G.GroupAxialForce))
            return;
        const int np = G.NumDistributedPoints;
        if (np != 0 && (np < 2 || np > MaxLrfdDistributedPoints)) {
            G.NumDistributedPoints = 0;
            ReportErrorLines(95, {"", "", "***** Input Data Error No. 95 *****", "", "",
                                  "Number of distributed load points for LRFD load number " + Num(j) +
                                      " is outside of the valid range of 0 or 2 to 100.",
                                  "", "", "The input number of distributed load points is " + Num(np), "", ""});
            return;
        }
        if (G.LrfdLoadType < 1 || G.LrfdLoadType > NumLrfdLoadTypes) {
            UnknownCode("load type of LRFD loading group " + Num(j), G.LrfdLoadType, "1 to 13");
            return;
        }
        for (int k = 1; k <= np; ++k) {
            int point = 0;
            if (!ReadList("distributed load point " + Num(k) + " of LRFD loading group " + Num(j),
                          {point, G.DistDepth[U(k)], G.DistLoad[U(k)]}))
                return;
            if (point != k) {
                ReportErrorLines(96, {"", "", "***** Input Data Error No. 96 *****", "", "",
                                      "Input appears to be out-of-order for LRFD distributed load " + Num(j), "",
                                      "Input distributed load point is " + Num(point),
                                      " and the expected point number is " + Num(k), "", ""});
                return;
            }
            if (!CheckField("the distributed load depth of point " + Num(k) + group, G.DistDepth[U(k)]) ||
                !CheckField("the distributed load of point " + Num(k) + group, G.DistLoad[U(k)]))
                return;
        }
        D.NumLrfdGroups = j;
    }
}

void ReadLrfdFactors() {
    ProblemData& D = Problem;
    int n = 0;
    if (!ReadList("the number of LRFD load combinations", {n})) return;
    if (n < 1 || n > MaxLrfdCombinations) {
        ReportErrorLines(94, {"", "", "***** Input Data Error No. 94 *****", "", "",
                              "Number of LRFD load combinations outside of the valid range of 1 to 100.", "", "",
                              "Number of LRFD load combinations input is " + Num(n), "", ""});
        return;
    }
    D.NumLrfdCombinations = 0;
    for (int c = 1; c <= n; ++c) {
        LrfdCombination& C = D.LrfdCombinations[U(c)];
        int item = 0;
        auto& f = C.Factor;
        if (!ReadList("the factors of LRFD load combination " + Num(c),
                      {item, f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11], f[12], f[13],
                       C.FlexureResistanceFactor, C.ShearResistanceFactor}))
            return;
        // Load factors of either sign up to 100; resistance factors 0 to 1.
        for (int t = 1; t <= NumLrfdLoadTypes; ++t)
            if (!CheckBetween("the load factor of load type " + Num(t) + " of LRFD load combination " + Num(c),
                              f[U(t)], -100.0, 100.0, ""))
                return;
        if (!CheckBetween("the flexure resistance factor of LRFD load combination " + Num(c),
                          C.FlexureResistanceFactor, 0.0, 1.0, "") ||
            !CheckBetween("the shear resistance factor of LRFD load combination " + Num(c), C.ShearResistanceFactor,
                          0.0, 1.0, ""))
            return;
        std::string name;
        if (!ReadRecord(name, "the name of LRFD load combination " + Num(c))) return;
        C.CombinationName.Set(name);
        D.NumLrfdCombinations = c;
    }
}

void ReadTipShear() {
    ProblemData& D = Problem;
    int n = 0;
    if (!ReadList("the number of tip shear points", {n})) return;
    if (!CountWithin(n, 0, MaxTipShearPoints, "tip shear resistance points")) return;
    D.NumTipShearPoints = 0;
    if (!ReadPoints(n, [&](int k) {
            int item = 0;
            return ReadList("tip shear point " + Num(k), {item, D.TipDisplacement[U(k)], D.TipShearForce[U(k)]}) &&
                   CheckField("the tip displacement of tip shear point " + Num(k), D.TipDisplacement[U(k)]) &&
                   CheckField("the tip shear force of tip shear point " + Num(k), D.TipShearForce[U(k)]);
        }))
        return;
    D.NumTipShearPoints = n;
}

void ReadBatterAndSlope() {
    ProblemData& D = Problem;
    constexpr double DegreesToRadians = 3.141592653589793 / 180.0;
    double slope = 0.0, batter = 0.0;
    if (!ReadList("the ground slope angle", {slope}) ||
        !CheckRange("the ground slope angle", slope, ValueRange::AngleWithin90))
        return;
    if (!ReadList("the pile batter angle", {batter}) ||
        !CheckRange("the pile batter angle", batter, ValueRange::AngleWithin90))
        return;
    D.GroundSlope = slope * DegreesToRadians;
    D.PileBatter = batter * DegreesToRadians;
    D.EffectiveSlope = D.GroundSlope - D.PileBatter;
}

void ReadGroupFactors() {
    ProblemData& D = Problem;
    int n = 0;
    if (!ReadList("the number of p-y modifier points", {n})) return;
    if (!CountWithin(n, 0, MaxGroupFactorPoints, "p-y modifier points for group action")) return;
    D.NumGroupFactorPoints = 0;
    if (!ReadPoints(n, [&](int k) {
            int item = 0;
            return ReadList("p-y modifier point " + Num(k),
                            {item, D.GroupDepth[U(k)], D.PMultiplier[U(k)], D.YMultiplier[U(k)]}) &&
                   CheckRange("the p-multiplier of p-y modifier point " + Num(k), D.PMultiplier[U(k)],
                              ValueRange::NonNegative) &&
                   CheckRange("the y-multiplier of p-y modifier point " + Num(k), D.YMultiplier[U(k)],
                              ValueRange::Positive) &&
                   // No group reduces or raises the soil's resistance or deflection 10,000-fold.
                   CheckBetween("the p-multiplier of p-y modifier point " + Num(k), D.PMultiplier[U(k)], 0.0,
                                MaxMagnitude, "") &&
                   CheckBetween("the y-multiplier of p-y modifier point " + Num(k), D.YMultiplier[U(k)], 0.0,
                                MaxMagnitude, "") &&
                   CheckRange("the depth of p-y modifier point " + Num(k), D.GroupDepth[U(k)],
                              ValueRange::Magnitude);
        }))
        return;
    D.NumGroupFactorPoints = n;
}

void ReadSoilMovements() {
    ProblemData& D = Problem;
    int n = 0;
    if (!ReadList("the number of soil movement points", {n})) return;
    if (n < 2 || n > MaxSoilMovementPoints) {
        Fail(ErrorKind::Input, 53,
             {"**** Input Data Error No. 53 ****", "", "", "Number of lines specified for soil movement data = " + Num(n),
              "The number of lines of soil movement data cannot be less than 2 or exceed 100.", ""});
        return;
    }
    D.NumSoilMovementPoints = 0;
    if (!ReadPoints(n, [&](int k) {
            int item = 0;
            return ReadList("soil movement point " + Num(k), {item, D.SoilMovementDepth[U(k)], D.SoilMovement[U(k)]}) &&
                   CheckRange("the depth of soil movement point " + Num(k), D.SoilMovementDepth[U(k)],
                              ValueRange::Magnitude) &&
                   CheckRange("the soil movement of soil movement point " + Num(k), D.SoilMovement[U(k)],
                              ValueRange::Magnitude);
        }))
        return;
    D.NumSoilMovementPoints = n;
}

void ReadPrintedPyDepths() {
    ProblemData& D = Problem;
    int n = 0;
    if (!ReadList("the number of depths of printed p-y curves", {n})) return;
    if (!CountWithin(n, 0, MaxPrintedPyDepths, "depths of printed p-y curves")) return;
    D.NumPrintedPyDepths = 0;
    if (!ReadPoints(n, [&](int k) {
            int item = 0;
            return ReadList("printed p-y curve depth " + Num(k), {item, D.PrintedPyDepth[U(k)]}) &&
                   CheckField("the printed p-y curve depth of item " + Num(k), D.PrintedPyDepth[U(k)]);
        }))
        return;
    D.NumPrintedPyDepths = n;
}

}  // namespace kestro
