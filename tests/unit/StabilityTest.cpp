// Stability of the converged equilibrium under axial load. A pile with a free
// end on a constant soil modulus k buckles first in its free-end mode: for a
// semi-infinite beam-column on an elastic foundation the head stiffness
// V / y(0) of the free end falls to zero at P = sqrt(k EI), half the classical
// 2 sqrt(k EI) of the endless beam. Below that load the head deflection is
// the closed form of the beam-column on an elastic foundation (Hetenyi).
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <utility>
#include <cstdio>
#include <string>

#include "PileRunSupport.h"
#include "analysis/Stability.h"
#include "model/PileModel.h"

using namespace kestro;
using namespace kestro::test;

namespace {

// The 24 in x 0.375 in steel pipe, 80 ft long, on Es = 1000 psi.
const double Pi = std::acos(-1.0);
const double PipeI = Pi / 64.0 * (std::pow(24.0, 4) - std::pow(23.25, 4));
const double PipeEI = 29.0E6 * PipeI;
constexpr double SoilK = 1000.0;
const double BucklingLoad = std::sqrt(SoilK * PipeEI);  // free-end mode, 7.505e6 lb

// Head deflection of the semi-infinite beam-column EI y'''' + P y'' + k y = 0
// under a head shear V with no head moment: y = e^(-a x) (C1 cos bx + C2 sin bx),
// a^2 = (sqrt(k/EI) - P/(2 EI)) / 2, b^2 = (sqrt(k/EI) + P/(2 EI)) / 2,
// y''(0) = 0 and V = EI y'''(0) + P y'(0).
double FreeHeadDeflection(double V, double P, double EI, double k) {
    const double r = std::sqrt(k / EI);
    const double a = std::sqrt((r - P / (2.0 * EI)) / 2.0);
    const double b = std::sqrt((r + P / (2.0 * EI)) / 2.0);
    const double c1 = 1.0;
    const double c2 = (a * a - b * b) * c1 / (2.0 * a * b);
    const double slope = -a * c1 + b * c2;
    const double third = b * ((a * a - b * b) * c2 + 2.0 * a * b * c1);
    return V / (EI * third + P * slope);
}

// Exact buckling load of the finite pile of length L with a free tip and a
// free (or rotation-fixed) head: the lowest P below 2 sqrt(k EI) at which the
// homogeneous beam-column EI y(4) + P y(2) + k y = 0 has a solution meeting the
// end conditions. The solutions are spanned by Re and Im of e^(r x) for
// r = -a + ib (decaying from the head) and of e^(r (x - L)) for r = a + ib
// (decaying from the tip); the end conditions make a real 4 x 4 determinant
// whose first sign change is found by a sweep and bisection.
double EndConditionDeterminant(double P, double L, bool slopeHeld) {
    const double r0 = std::sqrt(SoilK / PipeEI);
    const double a = std::sqrt((r0 - P / (2.0 * PipeEI)) / 2.0);
    const double b = std::sqrt((r0 + P / (2.0 * PipeEI)) / 2.0);
    using C = std::complex<double>;
    const C roots[2] = {C(-a, b), C(a, b)};
    const double shifts[2] = {0.0, L};
    // Derivative of order n of basis function j at x.
    auto derivative = [&](int j, double x, int n) {
        const C r = roots[j / 2];
        const C v = std::pow(r, n) * std::exp(r * (x - shifts[j / 2]));
        return j % 2 == 0 ? v.real() : v.imag();
    };
    double m[4][4];
    for (int j = 0; j < 4; ++j) {
        // Head: zero moment (or zero slope) and zero shear EI y(3) + P y(1).
        m[0][j] = slopeHeld ? derivative(j, 0.0, 1) : derivative(j, 0.0, 2);
        m[1][j] = PipeEI * derivative(j, 0.0, 3) + P * derivative(j, 0.0, 1);
        // Tip: zero moment and zero shear.
        m[2][j] = derivative(j, L, 2);
        m[3][j] = PipeEI * derivative(j, L, 3) + P * derivative(j, L, 1);
    }
    // Determinant by elimination with partial pivoting.
    double det = 1.0;
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int i = c + 1; i < 4; ++i)
            if (std::fabs(m[i][c]) > std::fabs(m[p][c])) p = i;
        if (p != c) {
            for (int j = 0; j < 4; ++j) std::swap(m[p][j], m[c][j]);
            det = -det;
        }
        if (m[c][c] == 0.0) return 0.0;
        det *= m[c][c];
        for (int i = c + 1; i < 4; ++i) {
            const double f = m[i][c] / m[c][c];
            for (int j = c; j < 4; ++j) m[i][j] -= f * m[c][j];
        }
    }
    return det;
}

double ExactBucklingLoad(bool slopeHeld) {
    const double L = 960.0;
    const bool positive0 = EndConditionDeterminant(1.0, L, slopeHeld) > 0.0;
    double lo = 1.0;
    for (int s = 1; s < 199; ++s) {
        const double P = 0.01 * s * BucklingLoad;
        if ((EndConditionDeterminant(P, L, slopeHeld) > 0.0) != positive0) {
            double hi = P;
            for (int it = 0; it < 60; ++it) {
                const double mid = 0.5 * (lo + hi);
                ((EndConditionDeterminant(mid, L, slopeHeld) > 0.0) != positive0 ? hi : lo) = mid;
            }
            return 0.5 * (lo + hi);
        }
        lo = P;
    }
    return 0.0;
}

// Lowest compressive load at which the tangent system has a pivot that is not
// positive, by bisection on the pivot count.
double TangentBucklingLoad(int n, HeadRestraint head) {
    const double L = 960.0, h = L / n;
    StationArray EI{}, k{};
    for (int i = 1; i <= n + 1; ++i) {
        EI[St(i)] = PipeEI;
        k[St(i)] = SoilK;
    }
    double lo = 0.0, hi = 4.0 * BucklingLoad;
    for (int it = 0; it < 60; ++it) {
        const double mid = 0.5 * (lo + hi);
        (CountUnstablePivots(n + 1, h, EI, k, mid, head, 0.0, false, 0.0) > 0 ? hi : lo) = mid;
    }
    return 0.5 * (lo + hi);
}

std::string PipeInput(int loadType, double shear, double condition2, double axial) {
    char loads[160];
    std::snprintf(loads, sizeof loads, "1  %d  %.1f  %.4f  %.1f  0\n", loadType, shear, condition2, axial);
    char section[400];
    std::snprintf(section, sizeof section,
                  "SECTIONS\n1\n1\n11\n80.0\n2\n29000000.0\n24.0\n24.0\n0.375\n0.375\n27.83\n27.83\n%.4f\n%.4f\n", PipeI, PipeI);
    return std::string("KESTRO6\nTITLE\nBuckling of a pipe on linear springs\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\n"
                       "ComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\n"
                       "Loading STATIC     1\nMaxIterations 100\nDeflectionLimit 1000.0\nTolerance 1.0E-5\n"
                       "Increments 200\nPrintSummaryOnly NO\nPrintIncrement 5\nPrintPYCurves NO\n"
                       "ComputeInteraction NO\n") +
           section +
           "SOIL LAYERS\n1\n13  0.0  100.0\n110.0  41.6666667\n110.0  41.6666667\n"
           "LOADING\n1\n" +
           loads + "0\nEND\n";
}

}  // namespace

// The tangent system's first non-positive pivot comes at sqrt(k EI) for a free
// and for a rotation-fixed head (the free tip buckles first in both), the
// error shrinking as the mesh is refined.
TEST(Stability, TangentSystemLosesDefinitenessAtTheFreeEndBucklingLoad) {
    for (HeadRestraint head : {HeadRestraint::Free, HeadRestraint::Slope}) {
        const double exact = ExactBucklingLoad(head == HeadRestraint::Slope);
        // The 80 ft pile is long: its free ends buckle within 1 % of the
        // semi-infinite beam's sqrt(k EI), far below 2 sqrt(k EI).
        EXPECT_NEAR(exact / BucklingLoad, 1.0, 0.01);
        double previous = 1.0;
        for (int n : {50, 100, 200, 400}) {
            const double error = std::fabs(TangentBucklingLoad(n, head) / exact - 1.0);
            EXPECT_LT(error, 0.02) << "n = " << n;
            // Second order: halving the spacing quarters the error.
            if (n > 50) {
                EXPECT_GT(previous / error, 3.5) << "n = " << n;
            }
            previous = error;
        }
        EXPECT_LT(previous, 2.0E-4);
    }
}

// Whole runs: a little below the buckling load the answer stands, a little
// above it the case ends with Runtime Error 34 naming the load case; at half
// the buckling load the head deflection is the beam-column's closed form.
TEST(Stability, RunsAroundTheBucklingLoad) {
    struct Row {
        int LoadType;
        double Fraction;
        int Result;
    };
    const Row rows[] = {
        {1, 0.5, 0},  {1, 0.97, 0}, {1, 1.03, 234}, {1, 1.5, 234},
        {2, 0.5, 0},  {2, 0.97, 0}, {2, 1.03, 234}, {2, 1.5, 234},
    };
    for (const Row& row : rows) {
        const double axial = row.Fraction * BucklingLoad;
        const PileRun r = Analyse(PipeInput(row.LoadType, 20000.0, 0.0, axial));
        const std::string what = "type " + std::to_string(row.LoadType) + " at " + std::to_string(row.Fraction);
        EXPECT_EQ(r.Result, row.Result) << what;
        if (row.Result == 0) {
            EXPECT_GT(r.TopY, 0.0) << what;  // the pile moves with the shear
            if (row.LoadType == 1 && row.Fraction == 0.5) {
                EXPECT_NEAR(r.TopY / FreeHeadDeflection(20000.0, axial, PipeEI, SoilK), 1.0, 0.005) << what;
            }
        } else {
            const RunOutput out = RunInput(PipeInput(row.LoadType, 20000.0, 0.0, axial));
            EXPECT_NE(out.Report.find("Runtime Error No. 34"), std::string::npos) << what;
            EXPECT_NE(out.Report.find("axial load of load case 1."), std::string::npos) << what;
            EXPECT_NE(out.Messages.find("Runtime Error No. 34"), std::string::npos) << what;
        }
    }
}

// A head rotation beyond 0.1 rad lies outside small-deflection beam theory:
// warning 370, the run result when it is the only warning. The closed form's
// head slope y'(0) = -a C1 + b C2 per unit head deflection tells which load
// gives which rotation.
TEST(Stability, LargeHeadRotationWarns) {
    const double axial = 0.9 * BucklingLoad;
    const double r0 = std::sqrt(SoilK / PipeEI);
    const double a = std::sqrt((r0 - axial / (2.0 * PipeEI)) / 2.0);
    const double b = std::sqrt((r0 + axial / (2.0 * PipeEI)) / 2.0);
    const double slopePerDeflection = std::fabs(-a + b * (a * a - b * b) / (2.0 * a * b));
    for (double rotation : {0.05, 0.15}) {
        const double shear = rotation / slopePerDeflection * 20000.0 / FreeHeadDeflection(20000.0, axial, PipeEI, SoilK);
        const RunOutput r = RunInput(PipeInput(1, shear, 0.0, axial));
        EXPECT_EQ(r.Result, rotation > 0.1 ? -370 : 0) << rotation;
        EXPECT_EQ(r.Report.find("The rotation of the pile head exceeds 0.1 radian") != std::string::npos,
                  rotation > 0.1)
            << rotation;
    }
}
