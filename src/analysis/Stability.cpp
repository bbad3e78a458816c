#include "analysis/Stability.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <ostream>
#include <string>

#include "analysis/LoadCases.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "model/Warnings.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "report/Format.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Symmetric band of half-bandwidth 2: K(j, j+d) at Band[j][d], j from 1.
struct TangentBand {
    std::array<std::array<double, 3>, MaxStations + 2> Band{};
    void Add(int i, int j, double v) {
        if (j < i) {
            const int t = i;
            i = j;
            j = t;
        }
        Band[U(i)][U(j - i)] += v;
    }
    // 1/2 c (y(a) - y(b))^2
    void AddPair(int a, int b, double c) {
        Add(a, a, c);
        Add(b, b, c);
        Add(a, b, -c);
    }
};
TangentBand Tb;

// Relative size of the deflection step of the tangent moduli.
constexpr double TangentStep = 1.0E-4;

void WriteRuntimeError34(std::ostream& out, int c, double axial) {
    std::string force(Run.Labels.Force);
    while (!force.empty() && force.back() == ' ') force.pop_back();
    WriteLines(out, {"", "", "**** Runtime Error No. 34 ****",
                     "Problem:  The pile buckles (has lost stability) under the axial load of load case " +
                         MinimalInteger(c) + "."});
    out << "          Axial load = " << FixedOrScientificText(axial, 12, 4) << ' ' << force << '\n';
    WriteLines(out, {"          The deflected shape the iteration found is held up by the axial load's",
                     "          own P-delta moment: the stiffness of the pile and the soil's tangent moduli",
                     "          cannot resist the axial load, so the equilibrium is unstable and is not",
                     "          reported as a result.",
                     "Solution: Reduce the axial load, or increase the pile's bending stiffness, its",
                     "          embedment or the support of the pile above the ground."});
}

}  // namespace

int CountUnstablePivots(int n, double h, const StationArray& EI, const StationArray& k, double Q,
                        HeadRestraint head, double rotationalStiffness, bool headDeflectionFixed, double kTip) {
    if (n < 3 || n > MaxStations || !(h > 0.0)) return 0;
    for (int i = 0; i <= n + 1; ++i) Tb.Band[U(i)] = {0.0, 0.0, 0.0};
    const double h3 = h * h * h;
    // Bending of the interior stations: curvature (y(i-1) - 2 y(i) + y(i+1)) / h^2.
    for (int i = 2; i <= n - 1; ++i) {
        const double c = EI[St(i)] / h3;
        const std::array<int, 3> s{i - 1, i, i + 1};
        const std::array<double, 3> v{1.0, -2.0, 1.0};
        for (std::size_t a = 0; a < 3; ++a)
            for (std::size_t b = a; b < 3; ++b) Tb.Add(s[a], s[b], c * v[a] * v[b]);
    }
    // Head with its rotation held: y(0) = y(2), curvature 2 (y(2) - y(1)) / h^2
    // over half a segment. A rotational spring: 1/2 K_theta ((y(2) - y(1)) / h)^2.
    if (head == HeadRestraint::Slope) Tb.AddPair(1, 2, 2.0 * EI[St(1)] / h3);
    if (head == HeadRestraint::RotationSpring && rotationalStiffness > 0.0)
        Tb.AddPair(1, 2, rotationalStiffness / (h * h));
    // The axial load's geometric term, compression positive.
    for (int i = 1; i <= n - 1; ++i) Tb.AddPair(i, i + 1, -Q / h);
    // The soil springs and the tip spring.
    for (int i = 1; i <= n; ++i) Tb.Add(i, i, k[St(i)] * (i == 1 || i == n ? 0.5 * h : h));
    if (kTip > 0.0) Tb.Add(n, n, kTip);
    if (headDeflectionFixed) Tb.Band[1] = {1.0, 0.0, 0.0};

    // LDL^T of the band: L(j, j-1) and L(j, j-2) kept with the pivots D(j).
    std::array<double, MaxStations + 2> D{};
    std::array<double, MaxStations + 2> L1{};  // L(j, j-1)
    std::array<double, MaxStations + 2> L2{};  // L(j, j-2)
    int unstable = 0;
    for (int j = 1; j <= n; ++j) {
        const double kjj = Tb.Band[U(j)][0];
        if (j >= 3) L2[U(j)] = D[U(j - 2)] != 0.0 ? Tb.Band[U(j - 2)][2] / D[U(j - 2)] : 0.0;
        if (j >= 2) {
            double s = Tb.Band[U(j - 1)][1];
            if (j >= 3) s -= L1[U(j - 1)] * L2[U(j)] * D[U(j - 2)];
            L1[U(j)] = D[U(j - 1)] != 0.0 ? s / D[U(j - 1)] : 0.0;
        }
        double d = kjj;
        if (j >= 2) d -= L1[U(j)] * L1[U(j)] * D[U(j - 1)];
        if (j >= 3) d -= L2[U(j)] * L2[U(j)] * D[U(j - 2)];
        D[U(j)] = d;
        // A pivot lost to rounding against the diagonal it came from counts as zero.
        if (!(d > 1.0E-12 * std::fabs(kjj))) ++unstable;
    }
    return unstable;
}

bool SoilTangentModuli(StationArray& Et) {
    // The evaluation below changes the moduli, the soil state and the warning
    // counts; all three are restored so that the case's results and its
    // warning summary are those of the converged iteration.
    static PileModel saved;
    saved = Pile;
    const SoilState soilSaved = Soil;
    const WarningRegistry warningsSaved = Warnings;
    PileModel& P = Pile;
    const int n = P.NumStations;
    const bool movement = Problem.Options.UseSoilMovement;

    UpdateSoilModuli();
    StationArray es1 = P.Es;
    bool ok = !Failed();
    if (ok) {
        for (int i = 1; i <= n; ++i) {
            const double Y = P.y[St(i)] - (movement ? P.ysm[St(i)] : 0.0);
            P.y[St(i)] += TangentStep * Y;  // outward along the curve
        }
        UpdateSoilModuli();
        ok = !Failed();
    }
    if (ok) {
        for (int i = 1; i <= n; ++i) {
            const double Y = saved.y[St(i)] - (movement ? saved.ysm[St(i)] : 0.0);
            const double dY = TangentStep * Y;
            // p = Es Y; at no deflection the tangent is the initial modulus.
            Et[St(i)] = dY != 0.0 ? (P.Es[St(i)] * (Y + dY) - es1[St(i)] * Y) / dY : es1[St(i)];
        }
    }
    Pile = saved;
    Soil = soilSaved;
    Warnings = warningsSaved;
    return ok;
}

namespace {

// Non-positive pivots of the tangent system of the converged equilibrium in
// Pile with bending stiffnesses EI (0: stable); -1 when a p-y criterion failed.
int UnstablePivotsWith(const StationArray& EI) {
    PileModel& P = Pile;
    StationArray Et{};
    if (!SoilTangentModuli(Et)) return -1;
    HeadRestraint head = HeadRestraint::Free;
    if (P.LoadType == 2 || P.LoadType == 5) head = HeadRestraint::Slope;
    if (P.LoadType == 3) head = HeadRestraint::RotationSpring;
    const bool fixedDeflection = P.LoadType == 4 || P.LoadType == 5;
    // The tip shear table acts as a spring of the tip's secant stiffness.
    const int n = P.NumStations;
    const double yTip = P.y[St(n)];
    const double kTip = yTip != 0.0 ? P.TipShear / yTip : 0.0;
    return CountUnstablePivots(n, P.Spacing, EI, Et, P.AxialLoad, head, P.HeadRotationalStiffness, fixedDeflection,
                               kTip);
}

}  // namespace

bool CheckCaseStability(int c) {
    PileModel& P = Pile;
    if (!(P.AxialLoad > 0.0)) return true;  // only a compressive load can buckle the pile
    P.EI[St(1)] = P.EI[St(2)];
    const int unstable = UnstablePivotsWith(P.EI);
    if (unstable < 0) return false;
    if (unstable == 0) return true;
    Fail(ErrorKind::Runtime, 34, [&](std::ostream& out) { WriteRuntimeError34(out, c, P.AxialLoad); });
    return false;
}

int StudyTrialStability() {
    const PileModel& P = Pile;
    if (!(P.AxialLoad > 0.0)) return 0;
    static StationArray ei;
    ei = P.EI;
    ei[St(1)] = ei[St(2)];
    const int unstable = UnstablePivotsWith(ei);
    return unstable < 0 ? -1 : (unstable > 0 ? 1 : 0);
}

}  // namespace kestro
