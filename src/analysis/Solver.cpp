#include "analysis/Solver.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <ostream>
#include <string>

#include "analysis/Stations.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "model/PileModel.h"
#include "model/RunState.h"
#include "report/Format.h"

namespace kestro {

namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Dense system of the pile-head conditions of one solution: A stored by
// columns with a leading dimension of 5, right-hand side R and solution X
// (1-based). Built afresh, all zeros, for every solution.
struct HeadSystemData {
    std::array<double, 26> A{};   // A(i,j) at (j-1)*5 + i
    std::array<double, 6> R{};
    std::array<double, 6> X{};
    double& At(int i, int j) { return A[static_cast<std::size_t>((j - 1) * 5 + i)]; }
};

// Working storage of the recursion y(m) = a(m) y(m-1) - b(m) y(m-2) + f(m) + g(m);
// f holds the distributed-load part and g the tip-shear part.
struct RecursionCoefficients {
    std::array<double, MaxStations + 1> a{}, b{}, f{}, g{}, d{};
};
RecursionCoefficients Rc;

void ReportSmallPivot(HeadSystemData& H, int row, double pivot) {
    const std::string node = "          Node number = " + MinimalInteger(row);
    const std::string value = "          Pivot value = " + FixedText(pivot, 12, 5);
    for (std::ostream* out : {&ReportOut(), &MessageOut()}) {
        WriteLines(*out, {"**** Runtime Error No. 11 ****", "", "Problem:  Solution failed due to small pivot value.",
                          node, value, "",
                          "Solution: This error usually occurs when a lateral bearing capacity failure",
                          "          occurs.  Reduce the load on the pile and repeat the analysis.",
                          "          You may also consider increasing pile diameter or pile length."});
    }
    std::ostream& out = ReportOut();
    out << "\nF Matrix \n\n";
    for (int i = 1; i <= 5; ++i) {
        for (int j = 1; j <= 5; ++j) out << FixedText(H.At(i, j), 12, 4);
        out << '\n';
    }
    out << "\nG Vector \n\n";
    for (int i = 1; i <= 5; ++i) out << FixedText(H.R[U(i)], 12, 4) << '\n';
    out << "\nYG Vector\n\n";
    for (int i = 1; i <= 5; ++i) out << FixedText(H.X[U(i)], 12, 4) << '\n';
    out << '\n';
    TerminateRun("RUN00011", 211);
}

// Gaussian elimination without row exchanges on the leading n x n block of
// H (n = 4 or 5). Reports Runtime Error 11 on a small pivot.
void SolveHeadSystem(HeadSystemData& H, int n) {
    if (n < 1 || n > 5) return;
    for (int j = 1; j < n; ++j) {
        const double pivot = H.At(j, j);
        if (std::fabs(pivot) < 1.0E-20) {
            ReportSmallPivot(H, j, pivot);
            return;
        }
        for (int i = j + 1; i <= n; ++i) {
            if (H.At(i, j) == 0.0) continue;
            const double factor = H.At(i, j) / pivot;
            for (int c = j; c <= n; ++c) H.At(i, c) -= factor * H.At(j, c);
            H.R[U(i)] -= factor * H.R[U(j)];
        }
    }
    // The last pivot is not tested: a zero there gives a non-finite
    // deflection, which the load-case iteration catches after the solution.
    for (int i = n; i >= 1; --i) {
        double s = H.R[U(i)];
        for (int c = i + 1; c <= n; ++c) s -= H.At(i, c) * H.X[U(c)];
        H.X[U(i)] = s / H.At(i, i);
    }
}

}  // namespace

double TipShearFor(double yTip, double previous) {
    const int n = Problem.NumTipShearPoints < MaxTipShearPoints ? Problem.NumTipShearPoints : MaxTipShearPoints;
    if (n < 1) return 0.0;
    const auto& d = Problem.TipDisplacement;
    const auto& v = Problem.TipShearForce;
    const double ya = std::fabs(yTip);
    double shear = previous;
    if (ya > d[U(n)]) {
        shear = v[U(n)];
    } else {
        bool found = false;
        for (int j = 2; j <= n; ++j) {
            if (d[U(j)] >= ya) {
                const double span = d[U(j)] - d[U(j - 1)];
                shear = span > 0.0 ? v[U(j - 1)] + (ya - d[U(j - 1)]) * (v[U(j)] - v[U(j - 1)]) / span : v[U(j)];
                found = true;
                break;
            }
        }
        if (!found) return previous;  // one point, not yet reached: keep the last value
    }
    return yTip < 0.0 ? -shear : shear;
}

namespace {

// The station spacing's powers and the axial thrust's term Q h^2 of the
// difference equations.
struct SpacingTerms {
    double h, h2, h3, h4, Qh2;
};

SpacingTerms TermsOf(const PileModel& P) {
    const double h = P.Spacing;
    const double h2 = h * h;
    return {h, h2, h2 * h, h2 * h2, P.AxialLoad * h2};
}

// Steps 1 to 6: the recursion coefficients y(m) = a(m) y(m-1) - b(m) y(m-2)
// + f(m) + g(m) from the tip up to station 1 (Rc), the tip shear included.
void FillRecursion() {
    PileModel& P = Pile;
    const int N = P.NumStations;
    auto& y = P.y;
    auto& a = Rc.a;
    auto& b = Rc.b;
    auto& f = Rc.f;
    auto& g = Rc.g;
    auto& d = Rc.d;
    const auto [h, h2, h3, h4, Qh2] = TermsOf(P);
    // 1. The head and the imaginary stations above it take the stiffness of station 2.
    P.EI[St(1)] = P.EI[St(2)];
    const double Rh = P.EI[St(2)];
    auto R = [&P, Rh](int i) { return i <= 2 ? Rh : P.EI[St(i)]; };
    auto k = [&P](int i) { return P.Es[St(i)]; };
    auto w = [&P](int i) { return P.W[St(i)]; };

    // 2. Tip shear from the previous tip deflection.
    P.TipShear = Problem.Options.UseTipShear ? TipShearFor(y[St(N)], P.TipShear) : 0.0;
    const double Vtip = P.TipShear;

    // 3. Tip: zero moment, y(N+1) = 2 y(N) - y(N-1), shear equal to V_tip.
    {
        const double S2 = R(N - 1) + R(N);
        d[U(N)] = k(N) * h4 + S2 - 2.0 * Qh2;
        a[U(N)] = 2.0 * (S2 - Qh2) / d[U(N)];
        b[U(N)] = S2 / d[U(N)];
        f[U(N)] = w(N) * h4 / d[U(N)];
        g[U(N)] = -2.0 * Vtip * h3 / d[U(N)];
    }
    // 4. Station N-1 with y(N+1) eliminated (the R(N) terms cancel).
    {
        const int m = N - 1;
        const double c3 = R(m - 1) + 4.0 * R(m) - 2.0 * Qh2 + k(m) * h4;
        const double c4 = -2.0 * R(m) + Qh2;
        d[U(m)] = c3 + c4 * a[U(N)];
        const double oneMinusB = 1.0 - b[U(N)];
        a[U(m)] = (2.0 * R(m - 1) + 2.0 * R(m) * oneMinusB - Qh2 * oneMinusB) / d[U(m)];
        b[U(m)] = R(m - 1) / d[U(m)];
        f[U(m)] = (w(m) * h4 - c4 * f[U(N)]) / d[U(m)];
        g[U(m)] = -c4 * g[U(N)] / d[U(m)];
    }
    // 5. and 6. Interior stations N-2 .. 1 (station 1 with R(0) = R(1) = R(2) = EI(2)):
    //    c1 y(m-2) + c2 y(m-1) + c3 y(m) + c4 y(m+1) + c5 y(m+2) = W(m) h^4
    for (int m = N - 2; m >= 1; --m) {
        const double c1 = R(m - 1);
        const double c2 = -2.0 * R(m - 1) - 2.0 * R(m) + Qh2;
        const double c3 = R(m - 1) + 4.0 * R(m) + R(m + 1) - 2.0 * Qh2 + k(m) * h4;
        const double c4 = -2.0 * R(m) - 2.0 * R(m + 1) + Qh2;
        const double c5 = R(m + 1);
        const double e = c4 + c5 * a[U(m + 2)];
        d[U(m)] = c3 - c5 * b[U(m + 2)] + e * a[U(m + 1)];
        a[U(m)] = -(c2 - e * b[U(m + 1)]) / d[U(m)];
        b[U(m)] = c1 / d[U(m)];
        f[U(m)] = (w(m) * h4 - c5 * f[U(m + 2)] - e * f[U(m + 1)]) / d[U(m)];
        g[U(m)] = (-c5 * g[U(m + 2)] - e * g[U(m + 1)]) / d[U(m)];
    }
}

// Steps 7 to 9: the head conditions of the load type give y(2), y(1), y(0)
// and y(-1). Returns with the error set on a singular head system.
void HeadConditions() {
    PileModel& P = Pile;
    auto& y = P.y;
    auto& a = Rc.a;
    auto& b = Rc.b;
    auto& f = Rc.f;
    auto& g = Rc.g;
    const auto [h, h2, h3, h4, Qh2] = TermsOf(P);
    const double Rh = P.EI[St(2)];
    // 7. to 9. Head conditions.
    HeadSystemData H{};
    switch (P.LoadType) {
        case 4: {
            // Deflection y_t and moment M; unknowns y(2), y(1), y(0), y(-1).
            H.At(1, 1) = 1.0;
            H.At(1, 2) = -2.0;
            H.At(1, 3) = 1.0;
            H.R[1] = P.HeadMoment * h2 / Rh;
            H.At(2, 2) = 1.0;
            H.R[2] = P.HeadDeflection;
            H.At(3, 1) = 1.0;
            H.At(3, 2) = -a[2];
            H.At(3, 3) = b[2];
            H.R[3] = f[2] + g[2];
            H.At(4, 2) = 1.0;
            H.At(4, 3) = -a[1];
            H.At(4, 4) = b[1];
            H.R[4] = f[1] + g[1];
            SolveHeadSystem(H, 4);
            if (Failed()) return;
            y[St(2)] = H.X[1];
            y[St(1)] = H.X[2];
            y[St(0)] = H.X[3];
            y[St(-1)] = H.X[4];
            break;
        }
        case 5: {
            // Deflection y_t (plus the soil movement at the head) and slope S.
            const double S = P.HeadSlope;
            y[St(1)] = P.HeadDeflection + P.ysm[St(1)];
            y[St(2)] = (a[2] * y[St(1)] + b[2] * 2.0 * h * S + f[2] + g[2]) / (1.0 + b[2]);
            y[St(0)] = y[St(2)] - 2.0 * h * S;
            y[St(-1)] = (a[1] * y[St(0)] + f[1] + g[1] - y[St(1)]) / b[1];
            break;
        }
        default: {
            // Types 1 to 3; unknowns y(3), y(2), y(1), y(0), y(-1).
            const double t = 2.0 - Qh2 / Rh;
            H.At(1, 1) = 1.0;
            H.At(1, 2) = -t;
            H.At(1, 4) = t;
            H.At(1, 5) = -1.0;
            H.R[1] = 2.0 * P.HeadShear * h3 / Rh;
            H.At(2, 1) = 1.0;
            H.At(2, 2) = -a[3];
            H.At(2, 3) = b[3];
            H.R[2] = f[3] + g[3];
            H.At(3, 2) = 1.0;
            H.At(3, 3) = -a[2];
            H.At(3, 4) = b[2];
            H.R[3] = f[2] + g[2];
            if (P.LoadType == 2) {
                // Slope S = (y(2) - y(0)) / 2h
                H.At(4, 2) = 1.0;
                H.At(4, 4) = -1.0;
                H.R[4] = 2.0 * h * P.HeadSlope;
            } else if (P.LoadType == 3) {
                // Moment = K_theta x slope
                const double c = h * P.HeadRotationalStiffness / (2.0 * Rh);
                H.At(4, 2) = 1.0 - c;
                H.At(4, 3) = -2.0;
                H.At(4, 4) = 1.0 + c;
                H.R[4] = 0.0;
            } else {
                // Moment M = EI (y(2) - 2 y(1) + y(0)) / h^2
                H.At(4, 2) = 1.0;
                H.At(4, 3) = -2.0;
                H.At(4, 4) = 1.0;
                H.R[4] = P.HeadMoment * h2 / Rh;
            }
            H.At(5, 3) = 1.0;
            H.At(5, 4) = -a[1];
            H.At(5, 5) = b[1];
            H.R[5] = f[1] + g[1];
            SolveHeadSystem(H, 5);
            if (Failed()) return;
            y[St(2)] = H.X[2];
            y[St(1)] = H.X[3];
            y[St(0)] = H.X[4];
            y[St(-1)] = H.X[5];
            break;
        }
    }
}

// Step 10: back-substitution down the pile, y(N+1), and the largest change of
// deflection since the previous solution (y1Old, y2Old: the head's before).
void BackSubstitution(double y1Old, double y2Old) {
    PileModel& P = Pile;
    const int N = P.NumStations;
    auto& y = P.y;
    auto& a = Rc.a;
    auto& b = Rc.b;
    auto& f = Rc.f;
    auto& g = Rc.g;
    // 10. Deflections down the pile and the largest change of deflection.
    double dymax = std::fabs(y[St(1)] - y1Old);
    const double d2 = std::fabs(y[St(2)] - y2Old);
    if (d2 > dymax) dymax = d2;
    for (int m = 3; m <= N; ++m) {
        const double yNew = a[U(m)] * y[St(m - 1)] - b[U(m)] * y[St(m - 2)] + f[U(m)] + g[U(m)];
        const double change = std::fabs(yNew - y[St(m)]);
        if (change > dymax || std::isnan(change)) dymax = change;
        y[St(m)] = yNew;
    }
    y[St(N + 1)] = 2.0 * y[St(N)] - y[St(N - 1)];
    P.DYMAX = dymax;
}

}  // namespace

void SolvePile() {
    PileModel& P = Pile;
    const int N = P.NumStations;
    if (N < 5 || N > MaxStations) {
        ReportInvalidStationGrid(P.Length, N - 1);
        return;
    }
    FillRecursion();
    const double y1Old = P.y[St(1)];
    const double y2Old = P.y[St(2)];
    HeadConditions();
    if (Failed()) return;
    BackSubstitution(y1Old, y2Old);
}

}  // namespace kestro
