// Axial force of a strain state and the neutral-axis search: elastic
// sections sit at mid-depth without thrust and move by P/(E A phi) with it;
// the force equilibrium holds for a cracked, yielding reinforced-concrete
// shaft; a flat force function moves by the fall-back step; a failed search
// ends the run with Runtime Error 16 and never returns a non-number.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/RunState.h"
#include "section/NeutralAxis.h"
#include "section/SectionWork.h"

using namespace kestro;

namespace {

constexpr double Pi = 3.141592653589793;

// Linear elastic concrete: the power law with no reference stress is E0 eps.
SectionMaterials Elastic(double e) {
    SectionMaterials m;
    m.Concrete.Model = ConcretePowerLaw;
    m.Concrete.PowerModulus = e;
    m.Concrete.PowerReferenceStress = 0.0;
    return m;
}

const SliceTable& Rectangle(double w, double d, double theta = 0.0) {
    static SliceTable t;
    SectionGeometry g;
    g.Shape = ShapeSquarePile;
    g.Width = w;
    g.Depth = d;
    g.NumVertices = 4;
    const double x[] = {0, -w / 2, w / 2, w / 2, -w / 2}, y[] = {0, -d / 2, -d / 2, d / 2, d / 2};
    for (std::size_t k = 1; k <= 4; ++k) g.OutlineX[k] = x[k], g.OutlineY[k] = y[k];
    PrepareSlices(g, theta, t);
    return t;
}

const SliceTable& Circle(double d, int bars = 0, double barArea = 0.0, double cover = 0.0) {
    static SliceTable t;
    SectionGeometry g;
    g.Shape = ShapeRoundPile;
    g.Diameter = d;
    if (bars > 0) {
        CircularArrangement a;
        EXPECT_TRUE(PlaceBarsOnCircle(d, cover, bars, 1, 1.128, g.NumBars, g.BarX, g.BarY, a));
        for (int k = 1; k <= g.NumBars; ++k) {
            g.BarArea[static_cast<std::size_t>(k)] = barArea;
            g.BarDiameter[static_cast<std::size_t>(k)] = 1.128;
        }
    }
    PrepareSlices(g, 0.0, t);
    return t;
}

}  // namespace

TEST(NeutralAxis, ElasticSectionsAtZeroAndWithThrust) {
    const NeutralAxisConstants k = NeutralAxisConstantsFor(false);
    const double E = 3000.0, phi = 1.0e-5;
    struct Case { const char* what; const SliceTable* t; double area; double thrust; };
    const SliceTable& rect = Rectangle(12.0, 24.0);
    static SliceTable rectCopy;
    rectCopy = rect;
    const SliceTable& circ = Circle(36.0);
    static SliceTable circCopy;
    circCopy = circ;
    const Case cases[] = {{"rectangle, no thrust", &rectCopy, 288.0, 0.0},
                          {"rectangle, 100 kips", &rectCopy, 288.0, 100.0},
                          {"rectangle, -50 kips", &rectCopy, 288.0, -50.0},
                          {"circle, no thrust", &circCopy, Pi * 324.0, 0.0},
                          {"circle, 1000 kips", &circCopy, Pi * 324.0, 1000.0}};
    const SectionMaterials m = Elastic(E);
    for (const Case& c : cases) {
        NeutralAxisSearch search;
        SectionForces f;
        SectionRunFlags flags;
        const double H = c.t->SectionDepth;
        const double dNA = FindNeutralAxis(*c.t, m, phi, c.thrust, k, search, f, flags);
        // Uniform strain P/(E A) on top of the bending strain about mid-depth.
        const double want = H / 2.0 + c.thrust / (E * c.area * phi);
        EXPECT_FALSE(search.b_Failed) << c.what;
        EXPECT_NEAR(dNA, want, 1.0e-6) << c.what;
        EXPECT_NEAR(AxialThrustForce(*c.t, m, phi, dNA, f, flags), c.thrust, 1.0e-6 * (1.0 + std::fabs(c.thrust)))
            << c.what;
        if (c.thrust == 0.0) {
            EXPECT_LE(search.Iterations, 2) << c.what;
        }
    }
    // Large compression puts the axis below the section, tension above it.
    NeutralAxisSearch search;
    SectionForces f;
    SectionRunFlags flags;
    EXPECT_GT(FindNeutralAxis(rectCopy, m, phi, 0.9 * E * 288.0 * phi * 24.0, k, search, f, flags), 24.0);
    search = NeutralAxisSearch{};
    EXPECT_LT(FindNeutralAxis(rectCopy, m, phi, -0.9 * E * 288.0 * phi * 24.0, k, search, f, flags), 0.0);
}

TEST(NeutralAxis, ReinforcedShaftEquilibriumAtEveryThrust) {
    const SliceTable& t = Circle(36.0, 12, 1.0, 3.0);
    SectionMaterials m;
    DeriveConcreteProperties(m.Concrete, ConcreteUnconfined, 4.0, RebarLawBars, false, false);
    m.Rebar.Law = RebarLawBars;
    m.Rebar.Modulus = 29000.0;
    m.Rebar.Yield = 60.0;
    m.Rebar.StressLimit = 36.0;
    const NeutralAxisConstants k = NeutralAxisConstantsFor(false);
    // The start carries over from one curvature to the next; the jump from
    // 2e-5 to 1e-4 under tension sends Newton into the flat, fully yielded
    // range and back (a cycle the bracket safeguard must end).
    for (double thrust : {0.0, 500.0, 1000.0, -200.0}) {
        NeutralAxisSearch search;
        for (double phi : {1.0e-6, 2.0e-5, 1.0e-4, 4.0e-4}) {
            SectionForces f;
            SectionRunFlags flags;
            const double dNA = FindNeutralAxis(t, m, phi, thrust, k, search, f, flags);
            ASSERT_FALSE(search.b_Failed) << thrust << " " << phi;
            // Equilibrium written out slice by slice from the forces left behind
            // (the probe at dNA + step): concrete plus steel equals the thrust.
            double sum = 0.0;
            for (std::size_t i = 1; i <= 100; ++i) sum += f.ConcreteForceAt[i] + f.RebarForceAt[i];
            EXPECT_NEAR(sum, f.TotalAxialForce, 1e-9 * (1.0 + std::fabs(sum)));
            EXPECT_NEAR(AxialThrustForce(t, m, phi, dNA, f, flags), thrust, 1e-3) << thrust << " " << phi;
            if (phi >= 1.0e-4 && thrust <= 500.0) {
                EXPECT_TRUE(flags.b_Cracked);
            }
        }
    }
}

TEST(NeutralAxis, FlatForceFunctionMovesByTheFallBackStep) {
    // A steel pipe bent far beyond yield: every slice is on a flat branch.
    SectionGeometry g;
    g.Shape = ShapeSteelPipe;
    g.Diameter = 24.0;
    g.CasingThickness = 0.5;
    static SliceTable t;
    PrepareSlices(g, 0.0, t);
    SectionMaterials m;
    m.Casing = SteelProperties{29000.0, 36.0};
    NeutralAxisSearch search;
    SectionForces f;
    SectionRunFlags flags;
    const double dNA = FindNeutralAxis(t, m, 1.0, 0.0, NeutralAxisConstantsFor(false), search, f, flags);
    EXPECT_FALSE(search.b_Failed);
    EXPECT_DOUBLE_EQ(dNA, 12.0 + 1.0e-8);
    EXPECT_TRUE(flags.b_Yielded);
    // The start carries over to the next point and is reset when outside +-H.
    EXPECT_TRUE(search.b_HaveStart);
    EXPECT_DOUBLE_EQ(search.Start, dNA);
}

TEST(NeutralAxis, CyclingNewtonBisectsAndFailureIsRuntimeError16) {
    const SliceTable& t = Rectangle(12.0, 24.0);
    const SectionMaterials m = Elastic(3000.0);
    NeutralAxisConstants k = NeutralAxisConstantsFor(false);
    NeutralAxisSearch search;
    SectionForces f;
    SectionRunFlags flags;
    // A Newton iteration cut off before its step is within the tolerance
    // falls back to bisection of the sign change it has seen.
    k.MaxIterations = 1;
    const double d = FindNeutralAxis(t, m, 1.0e-5, 100.0, k, search, f, flags);
    EXPECT_FALSE(search.b_Failed);
    EXPECT_NEAR(d, 12.0 + 100.0 / (3000.0 * 288.0 * 1.0e-5), 1.0e-6);
    // The strains and forces left behind are those at the depth returned:
    // they balance the thrust (slope E phi A = 8.64 kip/in, depth within 1e-6 in).
    EXPECT_DOUBLE_EQ(f.Strain[1], 1.0e-5 * (d - t.SliceDepth[1]));
    EXPECT_NEAR(f.TotalAxialForce, 100.0, 1.0e-4);
    // A strain state that is not a number has no depth: the search fails.
    search = NeutralAxisSearch{};
    FindNeutralAxis(t, m, std::numeric_limits<double>::quiet_NaN(), 0.0, NeutralAxisConstantsFor(false), search, f,
                    flags);
    EXPECT_TRUE(search.b_Failed);

    // On the working store the failure ends the run with RUN00016, and no
    // non-number is returned as a depth.
    static SliceTable copy;
    copy = t;
    kestro::Run.ErrorNumber = 0;
    SecWork.Slices = copy;
    SecWork.Materials = m;
    SecWork.Curvature = std::numeric_limits<double>::quiet_NaN();
    SecWork.Thrust = 0.0;
    SecWork.Search = NeutralAxisSearch{};
    const double dNA = Find_Neutral_Axis();
    EXPECT_EQ(kestro::Run.ErrorNumber, 216);
    EXPECT_TRUE(std::isfinite(dNA));
}

TEST(NeutralAxis, SiConstantsAreTheSameLengths) {
    const NeutralAxisConstants us = NeutralAxisConstantsFor(false), si = NeutralAxisConstantsFor(true);
    EXPECT_DOUBLE_EQ(us.Tolerance, 1.0e-6);
    EXPECT_DOUBLE_EQ(si.Tolerance, 2.54e-8);
    EXPECT_DOUBLE_EQ(si.Step, 2.54e-9);
    EXPECT_DOUBLE_EQ(us.ZeroSlopeStep, 1.0e-8);
    EXPECT_EQ(us.MaxIterations, 1000);
    // SI lengths are meters: the same physical step and tolerance as in inches.
    EXPECT_NEAR(si.Step, us.Step * 0.0254, 1e-12 * si.Step);
    EXPECT_NEAR(si.Tolerance, us.Tolerance * 0.0254, 1e-12 * si.Tolerance);
}
