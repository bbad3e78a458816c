#include "analysis/BendingStiffness.h"

#include <cmath>
#include <cstddef>

#include "model/PileProperties.h"
#include "analysis/StationResults.h"
#include "model/EITables.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SectionTypes.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Tables hold kip units in US customary runs, the stations pounds.
inline double TableScale() { return IsUS() ? 1000.0 : 1.0; }

int NumThrusts() {
    const int n = Problem.NumAxialThrusts;
    return n < 0 ? 0 : (n > MaxAxialThrusts ? MaxAxialThrusts : n);
}

int PointCount(const NonlinearEITable& T, int j) {
    const int np = T.NumPoints[U(j)];
    return np < 0 ? 0 : (np > MaxMomentCurvaturePoints ? MaxMomentCurvaturePoints : np);
}

// Curvature of station i from the deflections: (y(i+1) - 2 y(i) + y(i-1)) / h^2.
double Curvature(int i) {
    const double h = Pile.Spacing;
    return (Pile.y[St(i + 1)] - 2.0 * Pile.y[St(i)] + Pile.y[St(i - 1)]) / (h * h);
}

// Index j of an ascending thrust list t[1..n] with t(j) <= Q < t(j+1); 1 at
// or below the first thrust, n at or above the last.
int IndexInThrusts(const double* t, int n, double Q) {
    if (n < 1 || Q <= t[1]) return 1;
    if (Q >= t[n]) return n;
    for (int j = 1; j < n; ++j)
        if (t[j] <= Q && Q < t[j + 1]) return j;
    return n;
}

}  // namespace

int ChooseThrustIndex(double Q) { return IndexInThrusts(Problem.AxialThrusts.data(), NumThrusts(), Q); }

double EIFromTable(int i, int k, int j) {
    const double scale = TableScale();
    if (k < 1 || k > MaxEISections || j < 1 || j > MaxAxialThrusts) return Pile.EI[St(i)];
    const NonlinearEITable& T = EITables[U(k)];
    const int np = PointCount(T, j);
    // Without a table the station keeps its stiffness.
    if (np < 1) return Pile.EI[St(i)];
    const auto& Mt = T.Moment[U(j)];
    const auto& EIt = T.EI[U(j)];
    const auto& Ct = T.Curvature[U(j)];
    // Below the first table moment the section is uncracked: initial EI.
    const double M = std::fabs(StationMoment(i)) / scale;
    if (M <= Mt[1]) return EIt[1] * scale;
    const double phi = i >= Pile.NumStations ? 0.0 : std::fabs(Curvature(i));
    if (phi <= Ct[1]) return EIt[1] * scale;
    if (phi >= Ct[U(np)]) {
        Pile.b_BeyondEITable[St(i)] = true;
        Pile.b_EITableExceeded = true;
        return Mt[U(np)] / phi * scale;
    }
    int p = 1;
    while (p < np - 1 && !(Ct[U(p)] < phi && phi <= Ct[U(p + 1)])) ++p;
    double Mp = Mt[U(p)];
    const double span = Ct[U(p + 1)] - Ct[U(p)];
    if (Mt[U(p + 1)] != Mt[U(p)] && span > 0.0) Mp += (Mt[U(p + 1)] - Mt[U(p)]) * (phi - Ct[U(p)]) / span;
    return Mp / phi * scale;
}

double NominalMomentCapacityAt(int k, double Q) {
    if (k < 1 || k > MaxEISections || k > Problem.NumSections) return 0.0;
    const NonlinearEITable& T = EITables[U(k)];
    const double scale = TableScale();
    const double q = Q / scale;
    const int j = ChooseThrustIndex(q);
    const int nt = NumThrusts();
    if (PointCount(T, j) < 1) return 0.0;
    double mn = T.NominalMomentCapacity[U(j)];
    const auto& thrust = Problem.AxialThrusts;
    if (j < nt && q > thrust[1] && PointCount(T, j + 1) >= 1) {
        const double span = thrust[U(j + 1)] - thrust[U(j)];
        const double mn2 = T.NominalMomentCapacity[U(j + 1)];
        if (span > 0.0 && mn > 0.0 && mn2 > 0.0) mn = mn2 - (mn2 - mn) * (thrust[U(j + 1)] - q) / span;
    }
    return mn * scale;
}

void UpdateBendingStiffness(int j, double Q) {
    PileModel& P = Pile;
    const int N = P.NumStations;
    const double scale = TableScale();
    const int nt = NumThrusts();
    const auto& thrust = Problem.AxialThrusts;
    // The new stiffnesses are formed from the moments of the current
    // stiffnesses; they are written only after every station is done, so
    // that no station sees a neighbour's updated value.
    static StationArray next;
    for (int i = 1; i <= N; ++i) {
        next[St(i)] = P.EI[St(i)];
        const int k = P.Section[St(i)];
        if (k < 1 || k > Problem.NumSections || k > MaxSections) continue;
        const SectionBending bending = SectionTypeFor(Problem.Sections[U(k)].SectionType).Bending;
        if (bending == SectionBending::Elastic || k > MaxEISections) continue;
        const NonlinearEITable& T = EITables[U(k)];
        if (bending == SectionBending::ElasticPlastic) {
            // Elastic up to the plastic moment, then EI = Mp / curvature.
            const double M = std::fabs(StationMoment(i)) / scale;
            const double first = PointCount(T, j) >= 1 ? T.Moment[U(j)][1] : 0.0;
            const double Mref = M > first ? M : first;
            const double Mp = T.PlasticMoment;
            if (Mp > 0.0 && Mref >= Mp) {
                if (i < N) {
                    const double phi = Curvature(i);
                    if (phi != 0.0) next[St(i)] = Mp / std::fabs(phi) * scale;
                }
            } else {
                next[St(i)] = PropertiesAt(P.x[St(i)]).EI;
            }
            continue;
        }
        // A section with user-defined curves has thrusts of its own; the
        // computed tables share the run's thrust list.
        const bool own = bending == SectionBending::UserCurves;
        const int ntk = own ? (T.NumThrusts > MaxAxialThrusts ? MaxAxialThrusts : T.NumThrusts) : nt;
        const double* tk = own ? T.Thrust.data() : thrust.data();
        const int jk = own ? IndexInThrusts(tk, ntk, Q) : j;
        double ei = EIFromTable(i, k, jk);
        if (jk < ntk && Q > tk[1]) {
            const double ei2 = EIFromTable(i, k, jk + 1);
            const double span = tk[jk + 1] - tk[jk];
            if (span > 0.0) ei = ei2 - (ei2 - ei) * (tk[jk + 1] - Q) / span;
        }
        next[St(i)] = ei;
    }
    for (int i = 1; i <= N; ++i) P.EI[St(i)] = next[St(i)];
    if (N >= 3) P.EI[St(3)] = P.EI[St(2)];
}

}  // namespace kestro
