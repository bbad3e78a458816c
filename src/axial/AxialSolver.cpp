#include "axial/AxialSolver.h"

#include <cmath>
#include <cstddef>

namespace kestro::axial {
namespace {

constexpr std::size_t U(int i) { return static_cast<std::size_t>(i); }

double Stiffness(const AxialPile& p, int e) { return p.EA[U(e)] / p.ElementLength[U(e)]; }

// EA / L of every element, once per solve: the iterations reuse them (the
// same values as computed element by element, so results do not change).
void ElementStiffnesses(const AxialPile& p, NodeArray<double>& k) {
    for (int e = 1; e < p.NumNodes; ++e) k[U(e)] = Stiffness(p, e);
}

// Force and (non-negative) tangent of the soil at node i: its shaft spring
// and, at the tip, the q-z spring. A softening branch (the residual part of
// the clay curve) enters the tangent as zero, which keeps the tangent matrix
// positive definite; the residual of the equations still uses the true force.
CurveValue SoilAt(const AxialPile& p, int i, double w) {
    CurveValue v = SpringForce(p, p.Shaft[U(i)], w);
    if (i == p.NumNodes) {
        const CurveValue t = SpringForce(p, p.Tip, w);
        v.T += t.T;
        v.Slope += t.Slope;
    }
    if (v.Slope < 0.0) v.Slope = 0.0;
    return v;
}

// Residual of nodes 2..N with the head at w[1]; returns its largest magnitude.
double Residual(const AxialPile& p, const NodeArray<double>& k, const NodeArray<double>& w, NodeArray<double>& r,
                NodeArray<double>& diag) {
    const int n = p.NumNodes;
    double largest = 0.0;
    for (int i = 2; i <= n; ++i) {
        const double kUp = k[U(i - 1)];
        double ri = kUp * (w[U(i)] - w[U(i - 1)]);
        double di = kUp;
        if (i < n) {
            const double kDown = k[U(i)];
            ri += kDown * (w[U(i)] - w[U(i + 1)]);
            di += kDown;
        }
        const CurveValue s = SoilAt(p, i, w[U(i)]);
        ri += s.T;
        di += s.Slope;
        r[U(i)] = ri;
        diag[U(i)] = di;
        // (a NaN is passed over, as std::fmax would)
        if (std::fabs(ri) > largest) largest = std::fabs(ri);
    }
    return largest;
}

// Solves the tridiagonal system of nodes 2..N (diagonal `diag`, off-diagonal
// -k of the elements) for `rhs`, in place (Thomas algorithm; the matrix is
// positive definite with the head held).
// Nodes first..N (first = 2 with the head held, 1 with the head free).
// Returns the smallest pivot relative to its diagonal (a free column whose
// every spring is on a plateau has none left).
double SolveTridiagonal(const AxialPile& p, const NodeArray<double>& k, const NodeArray<double>& diag,
                        NodeArray<double>& rhs, NodeArray<double>& work, int first = 2) {
    const int n = p.NumNodes;
    double cPrev = 0.0, smallest = 1.0;
    for (int i = first; i <= n; ++i) {
        const double sub = i > first ? -k[U(i - 1)] : 0.0;
        const double m = diag[U(i)] - sub * cPrev;
        const double sup = i < n ? -k[U(i)] : 0.0;
        const double ratio = diag[U(i)] > 0.0 ? m / diag[U(i)] : 0.0;
        if (ratio < smallest) smallest = ratio;
        if (!(m > 0.0)) return 0.0;
        work[U(i)] = sup / m;
        rhs[U(i)] = (rhs[U(i)] - sub * (i > first ? rhs[U(i - 1)] : 0.0)) / m;
        cPrev = work[U(i)];
    }
    for (int i = n - 1; i >= first; --i) rhs[U(i)] -= work[U(i)] * rhs[U(i + 1)];
    return smallest;
}

// Scale of forces for the convergence test: the ultimate resistance of every
// spring and the force of the head displacement on the stiffest element.
double ForceScale(const AxialPile& p, double w0) {
    double s = 0.0;
    for (int i = 1; i <= p.NumNodes; ++i) s += std::fabs(p.Shaft[U(i)].ForceScale);
    s += std::fabs(p.Tip.ForceScale);
    double kMax = 0.0;
    for (int e = 1; e < p.NumNodes; ++e) kMax = std::fmax(kMax, Stiffness(p, e));
    s = std::fmax(s, kMax * std::fabs(w0));
    return s > 0.0 ? s : 1.0;
}

bool HasSecondCurve(const AxialPile& p, const Spring& s) { return s.Curve2 >= 1 && s.Curve2 <= p.NumCurves; }

// The movement beyond which a spring resists no more: its last breakpoint
// (the later of its two curves').
double YieldMovement(const AxialPile& p, const Spring& s) {
    if (s.Curve < 1 || s.Curve > p.NumCurves) return 0.0;
    const Curve& c = p.Curves[U(s.Curve)];
    double z = c.NumPoints >= 1 ? c.Z[U(c.NumPoints - 1)] : 0.0;
    if (HasSecondCurve(p, s)) {
        const Curve& c2 = p.Curves[U(s.Curve2)];
        if (c2.NumPoints >= 1 && c2.Z[U(c2.NumPoints - 1)] > z) z = c2.Z[U(c2.NumPoints - 1)];
    }
    return std::fabs(s.ZScale) * z;
}

// Head force and tangent head stiffness of a solved state.
void HeadValues(const AxialPile& p, const NodeArray<double>& k, const NodeArray<double>& w,
                const NodeArray<double>& diag, HeadResponse& out) {
    const double k1 = k[1];
    const CurveValue s1 = SoilAt(p, 1, w[1]);
    out.Force = k1 * (w[1] - w[2]) + s1.T;
    // Tangent: unit head movement with nodes 2..N following in equilibrium.
    // Work arrays are written before they are read (nodes 2..N only).
    NodeArray<double> u, work;
    u[2] = k1;
    for (int i = 3; i <= p.NumNodes; ++i) u[U(i)] = 0.0;
    SolveTridiagonal(p, k, diag, u, work);
    out.Stiffness = k1 * (1.0 - u[2]) + s1.Slope;
}

// Newton iteration on the free column under the head force P (every node
// unknown). Much cheaper than the search on the head displacement, but its
// tangent matrix loses its pivot when the springs that would carry P are all
// on plateaus; then, or when it does not converge, it returns false and the
// caller falls back to the search.
bool DirectForceSolve(const AxialPile& p, double P, AxialState& state, HeadResponse& out) {
    const int n = p.NumNodes;
    NodeArray<double>& w = state.w;
    NodeArray<double> k, r, diag, dw, work, trial, rTrial, dTrial;
    ElementStiffnesses(p, k);
    auto residual = [&p, &k, P](const NodeArray<double>& x, NodeArray<double>& rr, NodeArray<double>& dd) {
        double largest = Residual(p, k, x, rr, dd);
        const double k1 = k[1];
        const CurveValue s1 = SoilAt(p, 1, x[1]);
        rr[1] = k1 * (x[1] - x[2]) + s1.T - P;
        dd[1] = k1 + s1.Slope;
        return std::fmax(largest, std::fabs(rr[1]));
    };
    const double tolerance = 1.0E-10 * std::fmax(ForceScale(p, w[1]), std::fabs(P));
    double norm = residual(w, r, diag);
    constexpr int MaxIterations = 60;
    for (int it = 1; it <= MaxIterations; ++it) {
        if (norm <= tolerance) {
            out.Iterations = it;
            out.Displacement = w[1];
            out.b_Converged = true;
            HeadValues(p, k, w, diag, out);
            return true;
        }
        for (int i = 1; i <= n; ++i) dw[U(i)] = -r[U(i)];
        if (SolveTridiagonal(p, k, diag, dw, work, 1) < 1.0E-12) return false;
        double step = 1.0, trialNorm = 0.0;
        for (int cut = 0; cut <= 20; ++cut) {
            for (int i = 1; i <= n; ++i) trial[U(i)] = w[U(i)] + step * dw[U(i)];
            trialNorm = residual(trial, rTrial, dTrial);
            if (trialNorm < norm) break;
            step *= 0.5;
        }
        for (int i = 1; i <= n; ++i) {
            w[U(i)] = trial[U(i)];
            r[U(i)] = rTrial[U(i)];
            diag[U(i)] = dTrial[U(i)];
        }
        norm = trialNorm;
    }
    return false;
}

}  // namespace

CurveValue SpringForce(const AxialPile& pile, const Spring& s, double w) {
    if (s.Curve < 1 || s.Curve > pile.NumCurves || !(s.ZScale > 0.0)) return {};
    CurveValue v = Evaluate(pile.Curves[U(s.Curve)], w / s.ZScale);
    if (s.Curve2 > 0 && HasSecondCurve(pile, s)) {
        // The two curves at the same movement, interpolated by depth.
        const CurveValue v2 = Evaluate(pile.Curves[U(s.Curve2)], w / s.ZScale);
        v.T += s.Weight * (v2.T - v.T);
        v.Slope += s.Weight * (v2.Slope - v.Slope);
    }
    return {s.ForceScale * v.T, s.ForceScale * v.Slope / s.ZScale};
}

double SpringPeak(const AxialPile& pile, const Spring& s) {
    if (s.Curve < 1 || s.Curve > pile.NumCurves) return 0.0;
    const Curve& c = pile.Curves[U(s.Curve)];
    double peak = 0.0;
    if (!HasSecondCurve(pile, s)) {
        for (int j = 0; j < c.NumPoints; ++j) peak = std::fmax(peak, c.T[U(j)]);
        return peak;
    }
    // Both curves are linear between their breakpoints, so the interpolated
    // one is linear between the breakpoints of either: its peak is at one of
    // them.
    const Curve& c2 = pile.Curves[U(s.Curve2)];
    auto at = [&](double z) {
        const double t1 = Evaluate(c, z).T;
        return t1 + s.Weight * (Evaluate(c2, z).T - t1);
    };
    for (int j = 0; j < c.NumPoints; ++j) peak = std::fmax(peak, at(c.Z[U(j)]));
    for (int j = 0; j < c2.NumPoints; ++j) peak = std::fmax(peak, at(c2.Z[U(j)]));
    return peak;
}

HeadResponse SolveForHeadDisplacement(const AxialPile& p, double w0, AxialState& state) {
    HeadResponse out;
    out.Displacement = w0;
    const int n = p.NumNodes;
    if (n < 2) return out;
    NodeArray<double>& w = state.w;
    w[1] = w0;
    // Work arrays: only nodes 2..N are written and read.
    NodeArray<double> k, r, diag, dw, work, trial, rTrial, dTrial;
    ElementStiffnesses(p, k);
    trial[1] = w0;
    const double tolerance = 1.0E-10 * ForceScale(p, w0);
    constexpr int MaxIterations = 200;
    double norm = Residual(p, k, w, r, diag);
    for (int it = 1; it <= MaxIterations; ++it) {
        out.Iterations = it;
        if (norm <= tolerance) {
            out.b_Converged = true;
            break;
        }
        for (int i = 2; i <= n; ++i) dw[U(i)] = -r[U(i)];
        SolveTridiagonal(p, k, diag, dw, work);
        // Backtracking guard: a full Newton step that crosses breakpoints of
        // the curves may raise the residual; halve it until the residual falls
        // (at most 20 times, then the smallest step is taken and the
        // iteration goes on from there).
        double step = 1.0;
        double trialNorm = 0.0;
        for (int cut = 0; cut <= 20; ++cut) {
            for (int i = 2; i <= n; ++i) trial[U(i)] = w[U(i)] + step * dw[U(i)];
            trialNorm = Residual(p, k, trial, rTrial, dTrial);
            if (trialNorm < norm) break;
            step *= 0.5;
        }
        for (int i = 2; i <= n; ++i) {
            w[U(i)] = trial[U(i)];
            r[U(i)] = rTrial[U(i)];
            diag[U(i)] = dTrial[U(i)];
        }
        norm = trialNorm;
    }
    if (!out.b_Converged && norm <= tolerance) out.b_Converged = true;
    HeadValues(p, k, w, diag, out);
    return out;
}

HeadResponse SolveForHeadForce(const AxialPile& p, double P, AxialState& state) {
    HeadResponse out;
    const int n = p.NumNodes;
    if (n < 2) return out;
    if (P == 0.0) {
        return SolveForHeadDisplacement(p, 0.0, state);
    }
    const AxialState start = state;
    if (DirectForceSolve(p, P, state, out) && out.Displacement * P > 0.0) return out;
    state = start;
    out = HeadResponse{};
    const double s = P > 0.0 ? 1.0 : -1.0;
    const double target = std::fabs(P);
    // Beyond a head movement of the largest yield movement plus the elastic
    // shortening under |P| every spring has passed its last breakpoint: the
    // head force can rise no more.
    double yieldMax = YieldMovement(p, p.Tip);
    double flexibility = 0.0;
    for (int i = 1; i <= n; ++i) yieldMax = std::fmax(yieldMax, YieldMovement(p, p.Shaft[U(i)]));
    for (int e = 1; e < n; ++e) flexibility += 1.0 / Stiffness(p, e);
    const double aLimit = 2.0 * (yieldMax + target * flexibility) + 1.0E-12;

    // Search on a = s w0 >= 0 for g(a) = s F - |P| = 0, g(0) = -|P|.
    double aLo = 0.0, aHi = -1.0;
    double a = s * state.w[1];
    if (!(a > 0.0)) {
        for (int i = 1; i <= n; ++i) state.w[U(i)] = 0.0;
        const HeadResponse r0 = SolveForHeadDisplacement(p, 0.0, state);
        a = r0.Stiffness > 0.0 ? target / r0.Stiffness : aLimit / 4.0;
    }
    const double forceTolerance = 1.0E-9 * target;
    constexpr int MaxSearch = 200;
    for (int it = 1; it <= MaxSearch; ++it) {
        HeadResponse r = SolveForHeadDisplacement(p, s * a, state);
        r.Iterations = it;
        if (!r.b_Converged) return r;
        const double g = s * r.Force - target;
        if (std::fabs(g) <= forceTolerance) {
            out = r;
            out.b_Converged = true;
            return out;
        }
        if (g < 0.0)
            aLo = a;
        else
            aHi = a;
        if (aHi < 0.0 && aLo >= aLimit) {
            out = r;
            out.b_Converged = false;  // beyond plunging
            return out;
        }
        // Newton step on the tangent head stiffness, kept inside the bracket;
        // bisection (or expansion while no upper bound is known) otherwise.
        double next = r.Stiffness > 0.0 ? a - g / r.Stiffness : -1.0;
        const bool inside = aHi < 0.0 ? next > aLo : (next > aLo && next < aHi);
        if (!inside) next = aHi < 0.0 ? std::fmin(2.0 * aLo + 1.0E-12, aLimit) : 0.5 * (aLo + aHi);
        if (aHi >= 0.0 && aHi - aLo <= 1.0E-15 * aHi) {
            out = r;
            out.b_Converged = true;
            return out;
        }
        a = next;
    }
    out.b_Converged = false;
    return out;
}

double PlungingForce(const AxialPile& p, double sign, double& w0AtMax) {
    const int n = p.NumNodes;
    w0AtMax = 0.0;
    if (n < 2) return 0.0;
    const double s = sign < 0.0 ? -1.0 : 1.0;
    double yieldMax = YieldMovement(p, p.Tip);
    double flexibility = 0.0, bound = 0.0;
    for (int i = 1; i <= n; ++i) {
        yieldMax = std::fmax(yieldMax, YieldMovement(p, p.Shaft[U(i)]));
        bound += std::fabs(p.Shaft[U(i)].ForceScale);
    }
    bound += std::fabs(p.Tip.ForceScale);
    for (int e = 1; e < n; ++e) flexibility += 1.0 / Stiffness(p, e);
    // Every spring has passed its last breakpoint at this head movement; the
    // largest head force lies on 0..aEnd. The curves' maxima lie at
    // breakpoints, so a fine march and a golden-section refinement around its
    // largest sample find it.
    const double aEnd = 1.05 * (yieldMax + bound * flexibility);
    if (!(aEnd > 0.0)) return 0.0;
    AxialState state;
    constexpr int Samples = 24;
    double best = 0.0, bestA = 0.0;
    int bestK = 0;
    for (int k = 1; k <= Samples; ++k) {
        const double a = aEnd * k / Samples;
        const HeadResponse r = SolveForHeadDisplacement(p, s * a, state);
        if (r.b_Converged && s * r.Force > best) {
            best = s * r.Force;
            bestA = a;
            bestK = k;
        }
    }
    if (bestK < Samples) {
        // The force falls after its peak (a softening shaft): refine.
        double lo = aEnd * (bestK - 1) / Samples, hi = aEnd * (bestK + 1) / Samples;
        constexpr double G = 0.6180339887498949;
        auto force = [&](double a) {
            const double f = s * SolveForHeadDisplacement(p, s * a, state).Force;
            if (f > best) {
                best = f;
                bestA = a;
            }
            return f;
        };
        double m1 = hi - G * (hi - lo), m2 = lo + G * (hi - lo);
        double f1 = force(m1), f2 = force(m2);
        for (int it = 0; it < 24; ++it) {
            if (f1 < f2) {
                lo = m1;
                m1 = m2;
                f1 = f2;
                m2 = lo + G * (hi - lo);
                f2 = force(m2);
            } else {
                hi = m2;
                m2 = m1;
                f2 = f1;
                m1 = hi - G * (hi - lo);
                f1 = force(m1);
            }
        }
    }
    w0AtMax = s * bestA;
    return s * best;
}

void AxialForces(const AxialPile& p, const AxialState& state, double headForce, NodeArray<double>& force,
                 NodeArray<double>& shaftForce) {
    const int n = p.NumNodes;
    const NodeArray<double>& w = state.w;
    for (int i = 1; i <= n; ++i) shaftForce[U(i)] = SpringForce(p, p.Shaft[U(i)], w[U(i)]).T;
    if (n < 2) return;
    force[1] = headForce;
    for (int i = 2; i < n; ++i) {
        const double above = Stiffness(p, i - 1) * (w[U(i - 1)] - w[U(i)]);
        const double below = Stiffness(p, i) * (w[U(i)] - w[U(i + 1)]);
        force[U(i)] = 0.5 * (above + below);
    }
    force[U(n)] = SpringForce(p, p.Tip, w[U(n)]).T;
}

Resistance Resistances(const AxialPile& p, const AxialState& state) {
    Resistance r;
    for (int i = 1; i <= p.NumNodes; ++i) r.Shaft += SpringForce(p, p.Shaft[U(i)], state.w[U(i)]).T;
    if (p.NumNodes >= 1) r.Tip = SpringForce(p, p.Tip, state.w[U(p.NumNodes)]).T;
    return r;
}

}  // namespace kestro::axial
