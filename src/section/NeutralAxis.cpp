// Axial force of a linear strain state over the slices of a section, and the
// Newton search for the neutral-axis depth at which it equals the thrust.

#include "section/NeutralAxis.h"

#include <cmath>
#include <cstddef>

#include "model/Channels.h"
#include "model/Errors.h"
#include "report/SectionGeometryReport.h"
#include "section/SectionWork.h"

namespace kestro {
namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Force of one material: stress x area over the slices first..last that hold
// it. Slices without the material keep the zero stress and force they were
// cleared to for this table.
template <typename StressFn>
double MaterialForce(const SliceTable& t, const SliceArray& area, int first, int last, const SliceArray& eps,
                     SliceArray& stress, SliceArray& force, StressFn law) {
    double total = 0.0;
    if (first < 1) first = 1;
    if (last > t.NumSlices) last = t.NumSlices;
    for (int i = first; i <= last; ++i) {
        const double a = area[U(i)];
        if (a == 0.0) continue;
        stress[U(i)] = law(eps[U(i)]);
        force[U(i)] = stress[U(i)] * a;
        total += force[U(i)];
    }
    return total;
}

double ConcreteForce(const SliceTable& t, const SliceArray& area, const SliceArray& stress, SliceArray& force) {
    double total = 0.0;
    for (int i = 1; i <= t.NumSlices; ++i) {
        force[U(i)] = stress[U(i)] * area[U(i)];
        total += force[U(i)];
    }
    return total;
}

// Clears every per-slice array once for a new slice table.
void ClearFor(const SliceTable& t, SectionForces& f) {
    if (f.TableGeneration == t.Generation && t.Generation != 0) return;
    for (SliceArray* a : {&f.ConcreteStress, &f.RebarStress, &f.CasingStress, &f.CoreSteelStress,
                          &f.CoreConcreteStress, &f.HPileStress, &f.ConcreteForceAt, &f.RebarForceAt,
                          &f.CasingForceAt, &f.CoreForceAt, &f.InnerConcreteForceAt, &f.HPileForceAt})
        a->fill(0.0);
    f.TableGeneration = t.Generation;
}

}  // namespace

double AxialThrustForce(const SliceTable& t, const SectionMaterials& m, double phi, double dNA, SectionForces& f,
                        SectionRunFlags& flags) {
    SectionRunFlags fl;
    const int n = t.NumSlices;
    ClearFor(t, f);
    SliceStrains(t, phi, dNA, f.Strain);
    // Total strain of the bottom fibre for the cracking test (the slice
    // strains are total concrete strains, prestress included).
    const double bottom = (dNA - t.SectionDepth) * phi;

    // Casing or pipe wall: only where it has a wall.
    f.CasingForce = 0.0;
    if (t.CasingThickness > 0.0) {
        f.CasingForce = MaterialForce(t, t.CasingArea, 1, n, f.Strain, f.CasingStress, f.CasingForceAt,
                                      [&](double e) { return ElasticPlasticStress(m.Casing, e, fl); });
    }

    ConcreteStresses(m.Concrete, t, f.Strain, bottom, m.b_IgnoreConcreteTension, m.b_PreCracked, f.ConcreteStress,
                     fl);
    f.ConcreteForce = ConcreteForce(t, t.ConcreteArea, f.ConcreteStress, f.ConcreteForceAt);

    f.RebarForce = MaterialForce(t, t.RebarArea, 1, n, f.Strain, f.RebarStress, f.RebarForceAt,
                                 [&](double e) { return ReinforcementStress(m.Rebar, e, fl); });

    f.CoreForce = MaterialForce(t, t.CoreSteelArea, t.CoreTopSlice, t.CoreBottomSlice, f.Strain, f.CoreSteelStress,
                                f.CoreForceAt, [&](double e) { return ElasticPlasticStress(m.CoreSteel, e, fl); });

    f.InnerConcreteForce = 0.0;
    if (m.CoreConcrete.Model != ConcreteNone) {
        ConcreteStresses(m.CoreConcrete, t, f.Strain, bottom, false, m.b_PreCracked, f.CoreConcreteStress, fl);
        f.InnerConcreteForce = ConcreteForce(t, t.CoreConcreteArea, f.CoreConcreteStress, f.InnerConcreteForceAt);
    }

    f.HPileForce = MaterialForce(t, t.HPileArea, t.HPileTopSlice, t.HPileBottomSlice, f.Strain, f.HPileStress,
                                 f.HPileForceAt, [&](double e) { return ElasticPlasticStress(m.HPile, e, fl); });

    // Summed in the order casing, concrete, reinforcement, core steel, core
    // concrete, H-pile; a component the shape does not have adds zero.
    f.TotalAxialForce =
        f.CasingForce + f.ConcreteForce + f.RebarForce + f.CoreForce + f.InnerConcreteForce + f.HPileForce;
    flags = fl;
    return f.TotalAxialForce;
}

NeutralAxisConstants NeutralAxisConstantsFor(bool si) {
    NeutralAxisConstants k;
    if (si) {
        // The same physical lengths as 1.0e-7 in and 1.0e-6 in.
        k.Step = 2.54e-9;
        k.Tolerance = 2.54e-8;
    }
    return k;
}

namespace {

// Bisection on a bracket lo < root < hi (force minus thrust negative at lo,
// positive at hi, or the reverse) to the step tolerance. The forces and flags
// are left as evaluated at the returned depth.
double Bisect(const SliceTable& t, const SectionMaterials& m, double phi, double thrust, double lo, double hi,
              double tolerance, SectionForces& f, SectionRunFlags& flags) {
    const double fLo = AxialThrustForce(t, m, phi, lo, f, flags) - thrust;
    for (int k = 0; k < 200 && std::fabs(hi - lo) > tolerance; ++k) {
        const double mid = 0.5 * (lo + hi);
        const double fm = AxialThrustForce(t, m, phi, mid, f, flags) - thrust;
        if ((fm < 0.0) == (fLo < 0.0)) lo = mid;
        else hi = mid;
    }
    const double root = 0.5 * (lo + hi);
    AxialThrustForce(t, m, phi, root, f, flags);
    return root;
}

// Steps the strain of the top fibre from a tension of ScanStrainLimit to a
// compression of ScanStrainLimit beyond the bottom fibre (phi H more) and
// returns the first sign change of force minus thrust met from the tension
// side: the equilibrium on the rising branch of the force, before the
// concrete crushes. The axial force of a section is not monotonic in the
// depth of the neutral axis (crushed concrete keeps a residual stress, cracked
// concrete none), so a Newton iteration can stall on a flat branch far from
// the root; the scan cannot. Without a sign change, the range of the forces
// met is left in `search` for the message.
bool ScanForBracket(const SliceTable& t, const SectionMaterials& m, double phi, double thrust, SectionForces& f,
                    SectionRunFlags& flags, NeutralAxisSearch& search, double& lo, double& hi) {
    if (!(std::isfinite(phi) && phi != 0.0) || !std::isfinite(thrust)) return false;
    const double strainSpan = 2.0 * ScanStrainLimit + std::fabs(phi) * t.SectionDepth;
    const int steps = static_cast<int>(std::ceil(strainSpan / ScanStrainStep));
    double prevDepth = 0.0, prevF = 0.0;
    bool allFinite = true;
    for (int j = 0; j <= steps; ++j) {
        const double topStrain = -ScanStrainLimit + strainSpan * static_cast<double>(j) / static_cast<double>(steps);
        const double depth = topStrain / phi;
        const double force = AxialThrustForce(t, m, phi, depth, f, flags);
        if (!std::isfinite(force)) {
            allFinite = false;
            continue;
        }
        if (j == 0 || force > search.LargestForce) search.LargestForce = force;
        if (j == 0 || force < search.SmallestForce) search.SmallestForce = force;
        const double fx = force - thrust;
        if (fx == 0.0) {
            lo = hi = depth;
            return true;
        }
        if (j > 0 && (fx < 0.0) != (prevF < 0.0)) {
            lo = prevDepth;
            hi = depth;
            return true;
        }
        prevDepth = depth;
        prevF = fx;
    }
    search.b_NoEquilibrium = allFinite;
    return false;
}

}  // namespace

double FindNeutralAxis(const SliceTable& t, const SectionMaterials& m, double phi, double thrust,
                       const NeutralAxisConstants& k, NeutralAxisSearch& search, SectionForces& f,
                       SectionRunFlags& flags) {
    const double H = t.SectionDepth;
    search.b_Failed = false;
    search.b_NoEquilibrium = false;
    search.Iterations = 0;
    // (A force evaluation at H/2 before the iteration would be overwritten
    // unused, so none is made.)
    double dNA = search.b_HaveStart && std::fabs(search.Start) <= H ? search.Start : H / 2.0;
    double bestDepth = dNA, bestF = 0.0;
    // Depths seen with the force below and above the thrust: a bracket for
    // the safeguard when the Newton iteration cycles.
    bool haveBelow = false, haveAbove = false;
    double below = 0.0, above = 0.0;
    auto finish = [&](double depth) {
        search.Start = depth;
        search.b_HaveStart = true;
        return depth;
    };
    // Newton cycling (a converged step worse than an earlier point, or the
    // iteration limit) with a sign change already seen: bisect that bracket.
    // Without a bracket, look for one outward from the best point.
    auto safeguard = [&]() {
        if (!(haveBelow && haveAbove)) {
            const double fBest = AxialThrustForce(t, m, phi, bestDepth, f, flags) - thrust;
            for (int j = 1; j <= 40 && !(haveBelow && haveAbove); ++j) {
                for (double sign : {1.0, -1.0}) {
                    const double d = bestDepth + sign * static_cast<double>(j) * H / 4.0;
                    const double fd = AxialThrustForce(t, m, phi, d, f, flags) - thrust;
                    if ((fd < 0.0) != (fBest < 0.0)) {
                        (fd < 0.0 ? below : above) = d;
                        (fBest < 0.0 ? below : above) = bestDepth;
                        haveBelow = haveAbove = true;
                        break;
                    }
                }
            }
        }
        return haveBelow && haveAbove;
    };
    for (int it = 1;; ++it) {
        search.Iterations = it;
        const double fx = AxialThrustForce(t, m, phi, dNA, f, flags) - thrust;
        if (fx < 0.0) haveBelow = true, below = dNA;
        if (fx > 0.0) haveAbove = true, above = dNA;
        const double fMinus = AxialThrustForce(t, m, phi, dNA - k.Step, f, flags);
        const double fPlus = AxialThrustForce(t, m, phi, dNA + k.Step, f, flags);
        const double slope = (fPlus - fMinus) / (2.0 * k.Step);
        const double step = slope != 0.0 ? -fx / slope : k.ZeroSlopeStep;
        if (it == 1 || std::fabs(fx) < bestF) {
            bestF = std::fabs(fx);
            bestDepth = dNA;
        }
        const double next = dNA + step;
        if (it >= k.MaxIterations || !std::isfinite(next)) {
            if (std::isfinite(fx) && safeguard())
                return finish(Bisect(t, m, phi, thrust, below, above, k.Tolerance, f, flags));
            // No sign change near the iterates: scan every strain state of
            // this curvature for one.
            double lo = 0.0, hi = 0.0;
            if (ScanForBracket(t, m, phi, thrust, f, flags, search, lo, hi))
                return finish(lo == hi ? lo : Bisect(t, m, phi, thrust, lo, hi, k.Tolerance, f, flags));
            search.b_Failed = true;
            return dNA;
        }
        if (std::fabs(step) <= k.Tolerance) {
            if (std::fabs(fx) > bestF) {
                if (safeguard()) return finish(Bisect(t, m, phi, thrust, below, above, k.Tolerance, f, flags));
                dNA = bestDepth;  // worse than an earlier point: go on from the best one
                continue;
            }
            return finish(next);
        }
        dNA = next;
    }
}

double Compute_Axial_Thrust_Force(double dNA) {
    SectionWork& w = SecWork;
    return AxialThrustForce(w.Slices, w.Materials, w.Curvature, dNA, w.Forces, w.Flags);
}

double Find_Neutral_Axis() {
    SectionWork& w = SecWork;
    const double dNA = FindNeutralAxis(w.Slices, w.Materials, w.Curvature, w.Thrust, NeutralAxisConstantsFor(w.b_SI),
                                       w.Search, w.Forces, w.Flags);
    if (w.Search.b_Failed && w.Search.b_NoEquilibrium) return dNA;  // the caller reports it
    if (w.Search.b_Failed) {
        Fail(ErrorKind::Runtime, 16, [](std::ostream& out) { WriteNeutralAxisError(out); });
        return dNA;
    }
    if (w.ThrustIndex >= 1 && w.ThrustIndex <= MaxAxialThrusts && w.PointIndex >= 1 &&
        w.PointIndex <= MaxMomentCurvaturePoints)
        w.NeutralAxisDepth[U(w.ThrustIndex)][U(w.PointIndex)] = dNA;
    return dNA;
}

}  // namespace kestro
