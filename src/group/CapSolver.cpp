#include "group/CapSolver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

namespace kestro::group {
namespace {

Vector3 Multiply(const Matrix3& A, const Vector3& v) {
    Vector3 r{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) r[i] += A[i][j] * v[j];
    return r;
}

Vector3 MultiplyTransposed(const Matrix3& A, const Vector3& v) {
    Vector3 r{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) r[i] += A[j][i] * v[j];
    return r;
}

// Adds T^T k T to K.
void AddCongruent(Matrix3& K, const Matrix3& T, const Matrix3& k) {
    Matrix3 kT{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            for (std::size_t m = 0; m < 3; ++m) kT[i][j] += k[i][m] * T[m][j];
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            for (std::size_t m = 0; m < 3; ++m) K[i][j] += T[m][i] * kT[m][j];
}

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

// The piles' answer to the cap movement D, assembled into `s`. Returns 0 or
// ErrorPileFailed with the message naming the pile.
int Assemble(std::vector<GroupPile>& piles, const Vector3& D, CapState& s, std::string& message) {
    s = CapState{};
    s.Displacement = D;
    for (std::size_t i = 0; i < piles.size(); ++i) {
        GroupPile& p = piles[i];
        if (p.Head == nullptr) {
            message = "pile " + std::to_string(i + 1) + " has no head response";
            return ErrorPileFailed;
        }
        const Matrix3 T = HeadTransform(p);
        const Vector3 m = Multiply(T, D);
        const HeadResult r = p.Head->Respond(m);
        bool finite = r.b_Ok;
        for (double f : r.Force) finite = finite && std::isfinite(f);
        if (!finite) {
            message = "pile " + std::to_string(i + 1) + " (head at x = " + Number(p.dx) + "): " +
                      (r.Why.empty() ? std::string("no finite head force") : r.Why);
            return r.b_Ok ? ErrorPileFailed : r.Error;
        }
        const Vector3 c = MultiplyTransposed(T, r.Force);
        s.HeadMovement.push_back(m);
        s.HeadForce.push_back(r.Force);
        s.CapForce.push_back(c);
        for (std::size_t k = 0; k < 3; ++k) s.Resisting[k] += c[k];
        AddCongruent(s.Tangent, T, r.Tangent);
        AddCongruent(s.Secant, T, r.Secant);
    }
    return 0;
}

// The numbers of equal load increments tried, in turn, when the direct
// Newton iteration cannot balance the cap.
constexpr std::array<int, 3> ContinuationSteps{2, 4, 8};

struct Tolerances {
    double Force = 0.0, Moment = 0.0;
};

Tolerances TolerancesFor(const std::vector<GroupPile>& piles, const Vector3& load, const CapState& s, double rel) {
    double L = 0.0;
    for (const GroupPile& p : piles) L = std::max({L, std::fabs(p.dx), std::fabs(p.dz)});
    if (!(L > 0.0)) L = 1.0;
    double F = std::max({std::fabs(load[0]), std::fabs(load[1]), std::fabs(load[2]) / L});
    for (const Vector3& f : s.HeadForce) F = std::max({F, std::fabs(f[0]), std::fabs(f[1]), std::fabs(f[2]) / L});
    return {rel * F, rel * F * L};
}

bool Within(const Vector3& r, const Tolerances& t) {
    return std::fabs(r[0]) <= t.Force && std::fabs(r[1]) <= t.Force && std::fabs(r[2]) <= t.Moment;
}

// Out-of-balance scaled by the tolerances (a tolerance of zero counts as 1).
double ScaledNorm(const Vector3& r, const Tolerances& t) {
    const double f = t.Force > 0.0 ? t.Force : 1.0, m = t.Moment > 0.0 ? t.Moment : 1.0;
    return std::sqrt((r[0] / f) * (r[0] / f) + (r[1] / f) * (r[1] / f) + (r[2] / m) * (r[2] / m));
}

Vector3 OutOfBalance(const Vector3& load, const CapState& s) {
    return {load[0] - s.Resisting[0], load[1] - s.Resisting[1], load[2] - s.Resisting[2]};
}

}  // namespace

Matrix3 HeadStiffness(const LinearHeadTerms& t) {
    Matrix3 K{};
    K[0][0] = t.KAxial;
    if (t.Head == Connection::Fixed) {
        K[1][1] = t.K22;
        K[1][2] = t.K23;
        K[2][1] = t.K23;
        K[2][2] = t.K33;
    } else {
        K[1][1] = t.K33 > 0.0 ? t.K22 - t.K23 * t.K23 / t.K33 : t.K22;
    }
    return K;
}

HeadResult LinearPileHead::Respond(const Vector3& movement) {
    HeadResult r;
    r.Force = Multiply(K_, movement);
    r.Tangent = K_;
    r.Secant = K_;
    r.b_Ok = true;
    return r;
}

AxialPileHead::AxialPileHead(const axial::AxialPile& pile, const LinearHeadTerms& lateral)
    : Pile_(pile), Lateral_(HeadStiffness(lateral)) {
    Lateral_[0][0] = 0.0;
}

HeadResult AxialPileHead::Respond(const Vector3& movement) {
    HeadResult r;
    const axial::HeadResponse a = axial::SolveForHeadDisplacement(Pile_, movement[0], State_);
    if (!a.b_Converged || !std::isfinite(a.Force)) {
        r.Why = "the axial analysis did not converge at a head movement of " + Number(movement[0]);
        return r;
    }
    r.Force = Multiply(Lateral_, movement);
    r.Force[0] = a.Force;
    r.Tangent = Lateral_;
    r.Tangent[0][0] = a.Stiffness;
    r.Secant = Lateral_;
    r.Secant[0][0] = movement[0] != 0.0 ? a.Force / movement[0] : a.Stiffness;
    r.b_Ok = true;
    return r;
}

Matrix3 HeadTransform(const GroupPile& p) {
    const double s = std::sin(p.BatterRadians), c = std::cos(p.BatterRadians);
    // Cap point movement: (u - theta dz, w + theta dx).
    return Matrix3{{{s, c, -s * p.dz + c * p.dx},   //
                    {c, -s, -c * p.dz - s * p.dx},  //
                    {0.0, 0.0, 1.0}}};
}

bool Solve3(const Matrix3& A, const Vector3& b, Vector3& x) {
    // Symmetric scaling by the diagonal makes the pivot test independent of
    // the units of force, length and rotation.
    Vector3 d{};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!(A[i][i] > 0.0) || !std::isfinite(A[i][i])) return false;
        d[i] = 1.0 / std::sqrt(A[i][i]);
    }
    std::array<std::array<double, 4>, 3> M{};
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) M[i][j] = d[i] * A[i][j] * d[j];
        M[i][3] = d[i] * b[i];
    }
    for (std::size_t k = 0; k < 3; ++k) {
        std::size_t piv = k;
        for (std::size_t i = k + 1; i < 3; ++i)
            if (std::fabs(M[i][k]) > std::fabs(M[piv][k])) piv = i;
        if (!(std::fabs(M[piv][k]) > 1.0E-12)) return false;
        std::swap(M[k], M[piv]);
        for (std::size_t i = k + 1; i < 3; ++i) {
            const double f = M[i][k] / M[k][k];
            for (std::size_t j = k; j < 4; ++j) M[i][j] -= f * M[k][j];
        }
    }
    Vector3 y{};
    for (std::size_t k = 3; k-- > 0;) {
        double s = M[k][3];
        for (std::size_t j = k + 1; j < 3; ++j) s -= M[k][j] * y[j];
        y[k] = s / M[k][k];
    }
    for (std::size_t i = 0; i < 3; ++i) x[i] = d[i] * y[i];
    return std::isfinite(x[0]) && std::isfinite(x[1]) && std::isfinite(x[2]);
}

SolveResult EvaluateCap(std::vector<GroupPile>& piles, const Vector3& displacement) {
    SolveResult r;
    r.Error = Assemble(piles, displacement, r.State, r.Message);
    if (r.Error == 0) r.OutOfBalance = {};
    return r;
}

namespace {

// Newton iteration with step halving from `start` to the load.
SolveResult NewtonCap(std::vector<GroupPile>& piles, const Vector3& load, const SolveOptions& options,
                      const Vector3& start) {
    SolveResult r;
    if (piles.empty()) {
        r.Error = ErrorNoStiffness;
        r.Message = "the group has no piles";
        return r;
    }
    for (double v : load)
        if (!std::isfinite(v)) {
            r.Error = ErrorNotConverged;
            r.Message = "the cap load is not a finite number";
            return r;
        }
    CapState s;
    std::string why;
    if (const int e = Assemble(piles, start, s, why); e != 0) {
        r.Error = e;
        r.Message = why;
        return r;
    }
    int lastPileError = 0;
    std::string lastPileWhy;
    for (int it = 0;; ++it) {
        const Vector3 R = OutOfBalance(load, s);
        const Tolerances tol = TolerancesFor(piles, load, s, options.RelativeTolerance);
        r.Iterations = it;
        r.OutOfBalance = R;
        r.ForceTolerance = tol.Force;
        r.MomentTolerance = tol.Moment;
        if (Within(R, tol)) {
            r.State = s;
            return r;
        }
        if (it >= options.MaxIterations) {
            // A pile that failed at the trial movements beyond the last one
            // accepted is why the cap could not be balanced: its error stands.
            if (lastPileError != 0) {
                r.Error = lastPileError;
                r.Message = lastPileWhy + "; the cap load cannot be balanced within it";
                return r;
            }
            r.Error = ErrorNotConverged;
            r.Message = "cap equilibrium not reached in " + std::to_string(options.MaxIterations) +
                        " iterations (out-of-balance H " + Number(R[0]) + ", V " + Number(R[1]) + ", M " +
                        Number(R[2]) + ")";
            return r;
        }
        Vector3 step{};
        if (!Solve3(s.Tangent, R, step)) {
            r.Error = ErrorNoStiffness;
            r.Message = "the group has no stiffness against the out-of-balance load at cap movement u " +
                        Number(s.Displacement[0]) + ", w " + Number(s.Displacement[1]) + ", theta " +
                        Number(s.Displacement[2]) + ": a mechanism, or the piles have reached their capacity";
            return r;
        }
        const double norm = ScaledNorm(R, tol);
        double alpha = 1.0;
        bool accepted = false;
        int pileError = 0;
        for (int h = 0; h <= options.MaxHalvings; ++h, alpha *= 0.5) {
            const Vector3 D{s.Displacement[0] + alpha * step[0], s.Displacement[1] + alpha * step[1],
                            s.Displacement[2] + alpha * step[2]};
            CapState trial;
            pileError = Assemble(piles, D, trial, why);
            if (pileError != 0) {
                lastPileError = pileError;
                lastPileWhy = why;
                continue;
            }
            if (ScaledNorm(OutOfBalance(load, trial), tol) < norm) {
                s = trial;
                accepted = true;
                break;
            }
        }
        if (!accepted) {
            r.Error = pileError != 0 ? pileError : ErrorNotConverged;
            r.Message = pileError != 0 ? why
                                       : "cap equilibrium not reached: no step along the Newton direction reduces "
                                         "the out-of-balance (H " +
                                             Number(R[0]) + ", V " + Number(R[1]) + ", M " + Number(R[2]) + ")";
            return r;
        }
    }
}

}  // namespace

SolveResult SolveCap(std::vector<GroupPile>& piles, const Vector3& load, const SolveOptions& options,
                     const Vector3& start) {
    SolveResult r = NewtonCap(piles, load, options, start);
    if (r.Error != ErrorNotConverged || piles.empty()) return r;
    // The p-y piles' head forces carry the residual of their own iteration:
    // near the balance they are smooth only down to that residual, and a
    // Newton step from far away can land where no step along its direction
    // reduces the out-of-balance further. The load is then applied again in
    // ContinuationSteps[k] equal increments from `start`, each balanced by
    // Newton from the movement that balanced the one before, so that the last
    // one starts next to the answer. A case balanced directly never comes here.
    int iterations = r.Iterations;
    for (const int n : ContinuationSteps) {
        Vector3 D = start;
        SolveResult step;
        for (int k = 1; k <= n; ++k) {
            const double f = static_cast<double>(k) / static_cast<double>(n);
            step = NewtonCap(piles, {f * load[0], f * load[1], f * load[2]}, options, D);
            iterations += step.Iterations;
            if (step.Error != 0) break;
            D = step.State.Displacement;
        }
        if (step.Error == 0) {
            step.Iterations = iterations;
            step.Increments = n;
            return step;
        }
        // A pile that fails on the way stands as the reason (as in the direct iteration).
        if (step.Error != ErrorNotConverged) return step;
    }
    r.Iterations = iterations;
    r.Message += "; nor with the load applied in up to " + std::to_string(ContinuationSteps.back()) + " increments";
    return r;
}

}  // namespace kestro::group
