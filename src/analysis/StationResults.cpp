#include "analysis/StationResults.h"

#include <cmath>
#include <limits>
#include <cstddef>

#include "analysis/BendingStiffness.h"
#include "model/PileProperties.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SectionTypes.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }
inline double Y(int i) { return Pile.y[St(i)]; }
// Bending stiffness of station i, the head taking that of station 2.
inline double R(int i) { return i <= 2 ? Pile.EI[St(2)] : Pile.EI[St(i)]; }

// Type-5 head quantities: one-sided slope and the moments of stations 2 and 3
// with the head stiffness, as the fixed-deflection head needs.
double Type5HeadSlope() {
    const double h = Pile.Spacing;
    return (4.0 * Y(2) - 3.0 * Y(1) - Y(3)) / (2.0 * h);
}
double HeadCurvatureMoment(int i) {
    const double h = Pile.Spacing;
    return R(2) * (Y(i + 1) - 2.0 * Y(i) + Y(i - 1)) / (h * h);
}

}  // namespace

double BendingFibreDistance(int section, const PileProperties& prop) {
    // An elastic section's second dimension d2 is its depth in the direction
    // of the lateral load (the section depth of a strong-axis H-pile, the
    // flange width of a weak-axis one, the pole of an embedded pole), so the
    // extreme fibre lies at d2/2; b is the width facing the soil.
    if (section >= 1 && section <= Problem.NumSections && section <= MaxSections) {
        if (SectionTypeFor(Problem.Sections[U(section)].SectionType).IsElastic() && prop.d2 > 0.0)
            return 0.5 * prop.d2;
    }
    return 0.5 * prop.b;
}

double StationMoment(int i) {
    const int N = Pile.NumStations;
    if (i < 1 || i >= N) return 0.0;
    const double h = Pile.Spacing;
    return R(i) * (Y(i + 1) - 2.0 * Y(i) + Y(i - 1)) / (h * h);
}

void ClearRunningMaxima() {
    Pile.MaxMoment = 0.0;
    Pile.DepthMaxMoment = 0.0;
    Pile.MaxShear = 0.0;
    Pile.DepthMaxShear = 0.0;
    Pile.MaxStress = 0.0;
}

void StationResults(int i) {
    PileModel& P = Pile;
    const int N = P.NumStations;
    if (i < 1 || i > N) return;
    const double h = P.Spacing;
    const double h3 = h * h * h;
    const double Q = P.AxialLoad;
    double M = 0.0, V = 0.0, S = 0.0;
    if (i == N) {
        M = 0.0;
        S = (Y(N) - Y(N - 1)) / h;
        V = P.TipShear;
    } else if (i == 1) {
        M = HeadCurvatureMoment(1);
        if (P.LoadType == 5) {
            const double s = Type5HeadSlope();
            V = Q * s + (4.0 * HeadCurvatureMoment(2) - 3.0 * M - HeadCurvatureMoment(3)) / (2.0 * h);
            S = P.HeadSlope;
        } else {
            V = R(2) * (Y(3) - 2.0 * Y(2) + 2.0 * Y(0) - Y(-1)) / (2.0 * h3) + Q * (Y(2) - Y(0)) / (2.0 * h);
            S = (Y(2) - Y(0)) / (2.0 * h);
        }
    } else {
        M = StationMoment(i);
        S = (Y(i + 1) - Y(i - 1)) / (2.0 * h);
        if (i == 2) {
            if (P.LoadType == 5) {
                V = (HeadCurvatureMoment(3) - HeadCurvatureMoment(1)) / (2.0 * h) + Q * (Y(3) - Y(1)) / (2.0 * h);
            } else {
                V = Q * (Y(3) - Y(1)) / (2.0 * h) + R(2) * (Y(4) - 2.0 * Y(3) + 2.0 * Y(1) - Y(0)) / (2.0 * h3);
            }
        } else {
            V = Q * (Y(i + 1) - Y(i - 1)) / (2.0 * h) +
                (R(i + 1) * (Y(i + 2) - 2.0 * Y(i + 1) + Y(i)) - R(i - 1) * (Y(i) - 2.0 * Y(i - 1) + Y(i - 2))) /
                    (2.0 * h3);
        }
    }
    const double xi = P.x[St(i)];
    double p = -P.Es[St(i)] * Y(i);
    if (Problem.Options.UseSoilMovement && Problem.NumSoilMovementPoints >= 2)
        p = -P.Es[St(i)] * (Y(i) - P.ysm[St(i)]) - DistributedLoadAt(xi);

    P.Moment[St(i)] = M;
    P.Shear[St(i)] = V;
    P.Slope[St(i)] = S;
    P.SoilReaction[St(i)] = p;

    // Maxima: the first station of a tie keeps it.
    // The maxima keep the sign of the station value of largest magnitude.
    if (std::fabs(M) > std::fabs(P.MaxMoment)) {
        P.MaxMoment = M;
        P.DepthMaxMoment = xi;
    }
    if (std::fabs(V) > std::fabs(P.MaxShear)) {
        P.MaxShear = V;
        P.DepthMaxShear = xi;
    }
    const int sec = P.Section[St(i)];
    if (sec >= 1 && sec <= MaxEISections) {
        if (std::fabs(M) > P.SectionMaxMoment[U(sec)]) {
            P.SectionMaxMoment[U(sec)] = std::fabs(M);
            P.SectionMaxMomentStation[U(sec)] = i;
        }
        if (std::fabs(V) > P.SectionMaxShear[U(sec)]) {
            P.SectionMaxShear[U(sec)] = std::fabs(V);
            P.SectionMaxShearStation[U(sec)] = i;
        }
    }

    // Total stress of combined axial load and bending: |Q|/A + |M| e / I.
    const PileProperties prop = PropertiesAt(xi);
    double sigma = 0.0;
    if (prop.I != 0.0 && prop.A != 0.0)
        sigma = std::fabs(Q) / prop.A + std::fabs(M) * BendingFibreDistance(sec, prop) / prop.I;
    P.TotalStress[St(i)] = sigma;
    if (sigma > P.MaxStress) P.MaxStress = sigma;
}

void StartEquilibriumCheck() {
    Pile.MaxMomentImbalance = 0.0;
    Pile.MaxForceImbalance = 0.0;
    Pile.MomentImbalanceStation = 0;
    Pile.ForceImbalanceStation = 0;
    Pile.CarriedShear = 0.0;
    Pile.CarriedSlope = 0.0;
}

void CheckEquilibrium(int a) {
    PileModel& P = Pile;
    const int N = P.NumStations;
    if (a < 3 || a > N + 1) return;
    const double h = P.Spacing;
    const double Q = P.AxialLoad;
    const int j = a - 2;
    // Distributed load plus soil reaction per unit length.
    auto r = [&P](int i) { return P.W[St(i)] - P.Es[St(i)] * P.y[St(i)]; };
    double Vp = P.CarriedShear, thetaP = P.CarriedSlope;
    if (a == 3) {
        Vp = R(1) * (Y(3) - 2.0 * Y(2) + 2.0 * Y(0) - Y(-1)) / (2.0 * h * h * h);
        thetaP = (Y(2) - Y(0)) / (2.0 * h);
    }
    const double Mj = P.Moment[St(j)];
    double Vq = 0.0, thetaQ = 0.0, Mj1 = 0.0;
    if (a == N + 1) {
        thetaQ = (Y(N) - Y(N - 1)) / h;
        Vq = -Q * thetaQ;
        Mj1 = 0.0;
    } else {
        Vq = (P.Moment[St(a)] - P.Moment[St(a - 2)]) / (2.0 * h);
        thetaQ = (Y(a) - Y(a - 2)) / (2.0 * h);
        Mj1 = P.Moment[St(j + 1)];
    }
    double F = (Vp + Q * thetaP) - (Vq + Q * thetaQ) + h * (r(j) + r(j + 1)) / 2.0;
    if (a == N + 1) F -= P.TipShear;
    const double Mi = (Vp + Q * thetaP + h * r(j) / 2.0) * h + Q * (Y(j) - Y(j + 1)) + (Mj - Mj1);
    if (std::fabs(Mi) > P.MaxMomentImbalance || std::isnan(Mi)) {
        P.MaxMomentImbalance = std::fabs(Mi);
        P.MomentImbalanceStation = j;
    }
    if (std::fabs(F) > P.MaxForceImbalance || std::isnan(F)) {
        P.MaxForceImbalance = std::fabs(F);
        P.ForceImbalanceStation = j;
    }
    P.CarriedShear = Vq;
    P.CarriedSlope = thetaQ;
}

double MomentImbalanceLimit() { return Run.b_SI ? static_cast<double>(1.1298E-4f) : 1.0; }

namespace {
struct ImbalanceScale {
    double Force = 0.0, Moment = 0.0;
};
ImbalanceScale CaseScale() {
    const PileModel& P = Pile;
    ImbalanceScale s;
    s.Force = std::fabs(ReportedHeadShear());
    s.Moment = std::fabs(ReportedHeadMoment());
    const double tip = std::fabs(P.TipShear);
    if (tip > s.Force) s.Force = tip;
    for (int i = 1; i <= P.NumStations; ++i) {
        const double v = std::fabs(P.Shear[St(i)]);
        const double p = std::fabs(P.SoilReaction[St(i)]) * P.Spacing;
        const double m = std::fabs(P.Moment[St(i)]);
        if (v > s.Force) s.Force = v;
        if (p > s.Force) s.Force = p;
        if (m > s.Moment) s.Moment = m;
    }
    if (s.Force * P.Spacing > s.Moment) s.Moment = s.Force * P.Spacing;
    return s;
}
}  // namespace

double RelativeImbalance() {
    const PileModel& P = Pile;
    const ImbalanceScale s = CaseScale();
    if (!(s.Force > 0.0) || !(s.Moment > 0.0)) return 0.0;
    const double f = P.MaxForceImbalance / s.Force;
    const double m = P.MaxMomentImbalance / s.Moment;
    if (std::isnan(f) || std::isnan(m)) return std::numeric_limits<double>::quiet_NaN();
    return f > m ? f : m;
}

EquilibriumJudgement JudgeEquilibrium() {
    const PileModel& P = Pile;
    if (std::isnan(P.MaxMomentImbalance) || std::isnan(P.MaxForceImbalance)) return EquilibriumJudgement::Unbalanced;
    const ImbalanceScale s = CaseScale();
    if (!(s.Force > 0.0) || !(s.Moment > 0.0))
        return P.MaxMomentImbalance > MomentImbalanceLimit() ? EquilibriumJudgement::Doubtful
                                                             : EquilibriumJudgement::Verified;
    const double r = RelativeImbalance();
    if (!(r <= EquilibriumErrorRatio)) return EquilibriumJudgement::Unbalanced;
    return r > EquilibriumVerifiedRatio ? EquilibriumJudgement::Doubtful : EquilibriumJudgement::Verified;
}

int CountZeroDeflectionPoints() {
    int count = 0;
    for (int i = 1; i <= Pile.NumStations; ++i) {
        const double a = Y(i), b = Y(i + 1);
        if ((a > 0.0 && b < 0.0) || (a < 0.0 && b > 0.0)) ++count;
    }
    return count;
}

double ReportedHeadShear() {
    const int t = Pile.LoadType;
    return (t == 4 || t == 5) ? Pile.Shear[St(1)] : Pile.HeadShear;
}

double ReportedHeadMoment() {
    const int t = Pile.LoadType;
    return (t == 2 || t == 3 || t == 5) ? Pile.Moment[St(1)] : Pile.HeadMoment;
}

double ReportedHeadSlope() { return Pile.LoadType == 5 ? Pile.HeadSlope : Pile.Slope[St(1)]; }

double HeadCondition1() { return Pile.LoadType >= 4 && Pile.LoadType <= 5 ? Pile.HeadDeflection : Pile.HeadShear; }

double HeadCondition2() {
    switch (Pile.LoadType) {
        case 2:
        case 5: return Pile.HeadSlope;
        case 3: return Pile.HeadRotationalStiffness;
        default: return Pile.HeadMoment;
    }
}

void StoreCaseSummary(int c) {
    if (c < 1 || c > MaxLoadCases) return;
    CaseSummary& S = Pile.Summary[U(c)];
    S.LoadType = Pile.LoadType;
    S.Condition1 = HeadCondition1();
    S.Condition2 = HeadCondition2();
    S.AxialLoad = Pile.AxialLoad;
    S.HeadDeflection = Pile.y[St(1)];
    S.HeadRotation = ReportedHeadSlope();
    S.MaxMoment = Pile.MaxMoment;
    S.MaxShear = Pile.MaxShear;
    S.DepthMaxMoment = Pile.DepthMaxMoment;
    S.DepthMaxShear = Pile.DepthMaxShear;
    S.HeadShear = ReportedHeadShear();
    S.HeadMoment = ReportedHeadMoment();
    S.Iterations = Pile.Iteration;
    S.ZeroDeflectionPoints = CountZeroDeflectionPoints();
    for (int k = 1; k <= MaxEISections; ++k) {
        S.SectionMaxMoment[U(k)] = Pile.SectionMaxMoment[U(k)];
        S.SectionMaxShear[U(k)] = Pile.SectionMaxShear[U(k)];
        S.SectionCapacity[U(k)] = NominalMomentCapacityAt(k, Pile.AxialLoad);
    }
    if (c > Pile.NumSummaryCases) Pile.NumSummaryCases = c;
}

}  // namespace kestro
