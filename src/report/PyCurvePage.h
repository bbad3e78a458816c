#pragma once
// The printed p-y curve page at a user depth and its plot records (Line 7 and
// Line 8). The criteria compute the 17 points; these functions only write.

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>

#include "model/Limits.h"

namespace kestro {

struct PyCurveTable {
    double Depth = 0.0;                          // below the pile head, printed in Line 7
    int CurveNumber = 0;
    std::array<double, MaxPyPoints + 1> Y{};     // 1..17, multiplied by the y-multiplier
    std::array<double, MaxPyPoints + 1> P{};     // 1..17, multiplied by the p-multiplier
    std::string_view Line7Soil;                  // "soft clay"
    std::string_view Line8Soil;                  // "soft clay"
    int Line8Gap = 50;                           // blanks after the two reals
    bool b_MinimalPointNumber = false;           // Line 8 point number without leading blanks
};

// Two blank lines, the title, a blank line.
void WritePyTitle(std::ostream& out, std::string_view title);
// label padded to labelWidth, "= ", value Fw.d in 12 positions, then " unit"
// (nothing when the unit is empty).
void WritePyValue(std::ostream& out, std::string_view label, int labelWidth, double v, int decimals,
                  std::string_view unit);
void WritePyInteger(std::ostream& out, std::string_view label, int labelWidth, long long v, int width);
// The first lines of most pages: "Soil Layer Number" (I12), "Depth below pile
// head" and "Depth below ground surface" (F12.3, length unit).
void WritePyLayerAndDepths(std::ostream& out, int labelWidth, int layer, double depthBelowHead, double z);
// "        y, " unit (2 characters) `gap` "p, " force-per-length unit, then the hyphen line.
void WritePyHeading(std::ostream& out, std::string_view gap, std::string_view hyphens);
// One row: 3 blanks, y (12), 5 blanks, p (12).
void WritePyRow(std::ostream& out, double y, double p);
void WritePyLine7(std::ostream& plot, const PyCurveTable& t);
void WritePyLine8(std::ostream& plot, const PyCurveTable& t, int point);

// Unit texts of the computation units (strengths per square inch and unit
// weights per cubic inch in US customary runs).
std::string_view StressUnitText();
std::string_view UnitWeightUnitText();
std::string_view ModulusUnitText();   // force per length squared

}  // namespace kestro

namespace kestro {

// Soft clay (Matlock 1970) page: the values printed above the curve.
struct SoftClayPage {
    int Layer = 0;
    double DepthBelowHead = 0.0, Z = 0.0, ZEq = 0.0;
    double GroundSlope = 0.0, PileBatter = 0.0, EffectiveSlope = 0.0;   // radians
    double B = 0.0, C = 0.0, Gamma = 0.0, Eps50 = 0.0, J = 0.0, Y50 = 0.0;
    double PMult = 1.0, YMult = 1.0;
    double NumberOfCycles = 0.0, Xr = 0.0;
    double Ki = 0.0;                                   // limiting modulus below 1.0E-5 y50
    PyCurveTable Curve{};
    std::array<bool, MaxPyPoints + 1> b_Limited{};     // point used the limiting modulus
};
void WriteSoftClayPage(std::ostream& report, std::ostream& plot, const SoftClayPage& page);

// The values above the curve shared by the elastic subgrade, vuggy
// limestone, Piedmont residual soil, user-input and massive rock pages.
struct BasicPyPage {
    int Layer = 0;
    double DepthBelowHead = 0.0, Z = 0.0, B = 0.0, PMult = 1.0, YMult = 1.0;
    double Value = 0.0;   // the criterion's parameter: Esub, qu or E
    PyCurveTable Curve{};
};
// Elastic subgrade page (Value: Esub).
void WriteElasticSubgradePage(std::ostream& report, std::ostream& plot, const BasicPyPage& page);

}  // namespace kestro

namespace kestro {

struct PyPoint;
// The page values of a station: layer, depths, width and multipliers, and the
// curve's plot labels and number.
BasicPyPage BasicPageOf(const PyPoint& pt, std::string_view line7Soil, std::string_view line8Soil);

// The 17 rows of a curve (report) and its Line 7 and Line 8 records (plot file).
void WritePyRowsAndRecords(std::ostream& report, std::ostream& plot, const PyCurveTable& t);
// The blanks after "        y, " and the two-character length unit that
// put the p heading in `column`.
std::string PyHeadingGapTo(int column);

// Vuggy limestone (Value: qu), Piedmont residual soil (Value: E) and
// user-input curve pages.
void WriteVuggyLimestonePage(std::ostream& report, std::ostream& plot, const BasicPyPage& page);
void WritePiedmontPage(std::ostream& report, std::ostream& plot, const BasicPyPage& page);
void WriteUserCurvePage(std::ostream& report, std::ostream& plot, const BasicPyPage& page);

// The values above the curve of both sand pages (Reese and API).
struct SandPageCommon {
    int Layer = 0;
    double DepthBelowHead = 0.0, Z = 0.0, ZEq = 0.0;
    double GroundSlope = 0.0, PileBatter = 0.0, EffectiveSlope = 0.0;   // radians
    double B = 0.0, Phi = 0.0, Gamma = 0.0, K = 0.0;                    // Phi in degrees
    double PMult = 1.0, YMult = 1.0;
    bool b_Cyclic = false;
    bool b_BelowRock = false;   // below a rock layer: the true depth is used, and the note says so
    bool b_DefaultK = false;    // k is the internal default
    PyCurveTable Curve{};
};

// Sand page (Reese, Cox & Koop 1974): wedge coefficients, ultimate
// resistances and the parameters of the four-part curve.
struct ReeseSandPage {
    SandPageCommon Common{};
    double Ka = 0.0, Kp = 0.0, K0 = 0.0, Pst = 0.0, Psd = 0.0, Ps = 0.0;
    double FactorA = 0.0, FactorB = 0.0;   // the empirical A and B of the loading type
    double C = 0.0, N = 0.0, M = 0.0, Yk = 0.0, Pk = 0.0, Ym = 0.0, Pm = 0.0, Yu = 0.0, Pu = 0.0, Kx = 0.0;
    std::array<bool, MaxPyPoints + 1> b_Initial{};   // point on the initial line p = k z y: marked
};
void WriteReeseSandPage(std::ostream& report, std::ostream& plot, const ReeseSandPage& page);

// API sand page: the coefficients C1-C3, A and the ultimate resistances.
struct ApiSandPage {
    SandPageCommon Common{};
    double C1 = 0.0, C2 = 0.0, C3 = 0.0, A = 0.0, Pus = 0.0, Pud = 0.0, Pu = 0.0;
};
void WriteApiSandPage(std::ostream& report, std::ostream& plot, const ApiSandPage& page);

// Stiff clay with free water page (Reese, Cox & Koop 1975).
struct StiffClayFreeWaterPage {
    int Layer = 0;
    double DepthBelowHead = 0.0, Z = 0.0, ZEq = 0.0, B = 0.0;
    double C = 0.0, Ca = 0.0, Gamma = 0.0, K = 0.0, Eps50 = 0.0;   // Ca: the average strength
    double Y50 = 0.0, As = 0.0, Ac = 0.0, Pct = 0.0, Pcd = 0.0, Pc = 0.0, Pu = 0.0;
    double PMult = 1.0, YMult = 1.0, NumberOfCycles = 0.0;
    bool b_Cyclic = false;
    PyCurveTable Curve{};
};
void WriteStiffClayFreeWaterPage(std::ostream& report, std::ostream& plot, const StiffClayFreeWaterPage& page);

// Stiff clay without free water page (Welch & Reese 1972), the curve alone
// or, with b_InitialK, limited by the initial line k z y.
struct StiffClayNoFreeWaterPage {
    int Layer = 0;
    double DepthBelowHead = 0.0, Z = 0.0, ZEq = 0.0, B = 0.0;
    double GroundSlope = 0.0, PileBatter = 0.0, EffectiveSlope = 0.0;   // radians; page without k only
    double C = 0.0, Gamma = 0.0, K = 0.0, Eps50 = 0.0;                  // K: page with k only
    double Pct = 0.0, Pcd = 0.0, Pu = 0.0, Y50 = 0.0;
    double PMult = 1.0, YMult = 1.0, NumberOfCycles = 0.0;
    bool b_Cyclic = false;
    bool b_InitialK = false;
    PyCurveTable Curve{};
};
void WriteStiffClayNoFreeWaterPage(std::ostream& report, std::ostream& plot, const StiffClayNoFreeWaterPage& page);

// Massive rock page (Liang et al. 2009).
struct MassiveRockPage {
    BasicPyPage Common{};   // Value: qu
    double ZEq = 0.0, Gamma = 0.0, Er = 0.0, Em = 0.0, Ki = 0.0;
    double PhiDegrees = 0.0, Cohesion = 0.0, Tau = 0.0, PuWedge = 0.0, PuFlow = 0.0, Pu = 0.0;
    bool b_EquivalentDepth = false;
};
void WriteMassiveRockPage(std::ostream& report, std::ostream& plot, const MassiveRockPage& page);

}  // namespace kestro
