// The finite-difference solver against closed forms of beam theory:
// Hetenyi's semi-infinite beam on elastic foundation and the cantilever.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "analysis/Solver.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"

using namespace kestro;

namespace {

// Uniform pile of n increments over length L with constant EI, Es and w.
void SetUniformPile(int n, double L, double EI, double Es, double w) {
    ResetPileModel();
    ResetProblemData();
    Run.ErrorNumber = 0;
    Pile.NumStations = n + 1;
    Pile.Length = L;
    Pile.Spacing = L / n;
    for (int i = 1; i <= n + 1; ++i) {
        Pile.x[St(i)] = (i - 1) * Pile.Spacing;
        Pile.EI[St(i)] = EI;
        Pile.Es[St(i)] = Es;
        Pile.W[St(i)] = w;
    }
}

double HeadMoment() {
    const double h = Pile.Spacing;
    return Pile.EI[St(2)] * (Pile.y[St(2)] - 2.0 * Pile.y[St(1)] + Pile.y[St(0)]) / (h * h);
}
double HeadSlope() { return (Pile.y[St(2)] - Pile.y[St(0)]) / (2.0 * Pile.Spacing); }
double MaxAbsMoment() {
    double m = 0.0;
    const double h = Pile.Spacing;
    for (int i = 1; i < Pile.NumStations; ++i) {
        const double Mi = Pile.EI[St(i)] * (Pile.y[St(i + 1)] - 2.0 * Pile.y[St(i)] + Pile.y[St(i - 1)]) / (h * h);
        m = std::max(m, std::fabs(Mi));
    }
    return m;
}

// Beam on elastic foundation: EI = 1e10 lb-in^2, k = 1000 lb/in^2, lambda L = 10.
constexpr double EIb = 1.0E10, kb = 1000.0;
const double Lambda = std::pow(kb / (4.0 * EIb), 0.25);
const double Lb = 10.0 / Lambda;

struct BefErrors {
    double Deflection, Slope, Moment;
};

BefErrors HeadShearErrors(int n, double P) {
    SetUniformPile(n, Lb, EIb, kb, 0.0);
    Pile.LoadType = 1;
    Pile.HeadShear = P;
    Pile.HeadMoment = 0.0;
    SolvePile();
    // Hetenyi: y0 = 2 P lambda / k, slope -2 P lambda^2 / k, Mmax = P/lambda e^(-pi/4) sin(pi/4)
    const double y0 = 2.0 * P * Lambda / kb;
    const double s0 = -2.0 * P * Lambda * Lambda / kb;
    const double mmax = P / Lambda * std::exp(-M_PI / 4.0) * std::sin(M_PI / 4.0);
    return {std::fabs(Pile.y[St(1)] / y0 - 1.0), std::fabs(HeadSlope() / s0 - 1.0),
            std::fabs(MaxAbsMoment() / mmax - 1.0)};
}

BefErrors HeadMomentErrors(int n, double M0) {
    SetUniformPile(n, Lb, EIb, kb, 0.0);
    Pile.LoadType = 1;
    Pile.HeadShear = 0.0;
    Pile.HeadMoment = M0;
    SolvePile();
    // Hetenyi: y0 = 2 M0 lambda^2 / k, slope -4 M0 lambda^3 / k, Mmax = M0 at the head
    const double y0 = 2.0 * M0 * Lambda * Lambda / kb;
    const double s0 = -4.0 * M0 * std::pow(Lambda, 3) / kb;
    return {std::fabs(Pile.y[St(1)] / y0 - 1.0), std::fabs(HeadSlope() / s0 - 1.0),
            std::fabs(MaxAbsMoment() / M0 - 1.0)};
}

}  // namespace

TEST(Solver, BeamOnElasticFoundationHeadShear) {
    std::vector<BefErrors> e;
    for (int n : {50, 100, 200, 400}) {
        e.push_back(HeadShearErrors(n, 1000.0));
        std::printf("shear  n=%3d  dy=%.3e  dslope=%.3e  dM=%.3e\n", n, e.back().Deflection, e.back().Slope,
                    e.back().Moment);
    }
    EXPECT_LT(e[1].Deflection, 0.01);
    EXPECT_LT(e[1].Slope, 0.01);
    EXPECT_LT(e[1].Moment, 0.01);
    for (std::size_t i = 1; i < e.size(); ++i) {
        EXPECT_LT(e[i].Deflection, e[i - 1].Deflection);
        EXPECT_LT(e[i].Slope, e[i - 1].Slope);
        EXPECT_LT(e[i].Moment, e[i - 1].Moment);
    }
}

TEST(Solver, BeamOnElasticFoundationHeadMoment) {
    std::vector<BefErrors> e;
    for (int n : {50, 100, 200, 400}) {
        e.push_back(HeadMomentErrors(n, 1.0E5));
        std::printf("moment n=%3d  dy=%.3e  dslope=%.3e  dM=%.3e\n", n, e.back().Deflection, e.back().Slope,
                    e.back().Moment);
    }
    EXPECT_LT(e[1].Deflection, 0.01);
    EXPECT_LT(e[1].Slope, 0.01);
    EXPECT_LT(e[1].Moment, 0.01);
    for (std::size_t i = 1; i < e.size(); ++i) {
        EXPECT_LT(e[i].Deflection, e[i - 1].Deflection);
        EXPECT_LT(e[i].Slope, e[i - 1].Slope);
    }
}
