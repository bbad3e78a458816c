// Pile groups under a rigid cap: the row multipliers and the cap solution,
// against truth written here (the multiplier table, the closed-form
// assembly of vertical piles, statics of a battered pair, symmetry and
// equilibrium recomputed by hand from the pile head forces).

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <vector>

#include <sstream>
#include <string>

#include "Cli.h"
#include "TestSupport.h"
#include "axial/AxialSolver.h"
#include "group/CapSolver.h"
#include "group/GroupInput.h"
#include "group/RowMultipliers.h"

using namespace kestro;
using namespace kestro::group;
using namespace kestro::test;

namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }
constexpr double Pi = 3.14159265358979323846;

TEST(GroupMultipliers, TableRowsAndDirection) {
    struct Row {
        double Ratio;
        double First, Second, Third;
        bool Below;
    };
    // The tabulated values at 3 b and 5 b, linear between, 1.0 beyond 5 b,
    // the 3 b values (flagged) below 3 b.
    const Row rows[] = {
        {2.0, 0.80, 0.40, 0.30, true},    {3.0, 0.80, 0.40, 0.30, false}, {4.0, 0.90, 0.625, 0.50, false},
        {3.5, 0.85, 0.5125, 0.40, false}, {5.0, 1.00, 0.85, 0.70, false}, {6.0, 1.0, 1.0, 1.0, false},
        {NAN, 0.80, 0.40, 0.30, true},
    };
    for (const Row& r : rows) {
        const RowFactors f = RowFactorsForSpacing(r.Ratio);
        EXPECT_NEAR(f.ByRow[0], r.First, 1.0E-12) << r.Ratio;
        EXPECT_NEAR(f.ByRow[1], r.Second, 1.0E-12) << r.Ratio;
        EXPECT_NEAR(f.ByRow[2], r.Third, 1.0E-12) << r.Ratio;
        EXPECT_EQ(f.b_BelowTable, r.Below) << r.Ratio;
    }

    // Four rows of two piles at 4 b (b = 1.5): moving toward +x the row at the
    // largest x leads; a reversed movement reverses the rows.
    const std::vector<double> x{0.0, 0.0, 6.0, 6.0, 12.0, 12.0, 18.0, 18.0 + 1.0E-9};
    const PileMultipliers plus = GroupMultipliers(x, 1.5, +1.0, 1.0E-6);
    const PileMultipliers minus = GroupMultipliers(x, 1.5, -1.0, 1.0E-6);
    const double expectPlus[] = {0.5, 0.5, 0.5, 0.5, 0.625, 0.625, 0.9, 0.9};
    const int rowPlus[] = {4, 4, 3, 3, 2, 2, 1, 1};
    const double expectMinus[] = {0.9, 0.9, 0.625, 0.625, 0.5, 0.5, 0.5, 0.5};
    for (std::size_t i = 0; i < x.size(); ++i) {
        EXPECT_NEAR(plus.Multiplier[i], expectPlus[i], 1.0E-12) << i;
        EXPECT_EQ(plus.Row[i], rowPlus[i]) << i;
        EXPECT_EQ(minus.Row[i], 5 - rowPlus[i]) << i;
        EXPECT_NEAR(minus.Multiplier[i], expectMinus[i], 1.0E-12) << i;
    }
    EXPECT_FALSE(plus.b_BelowTable);
    // The closest pair of rows governs: rows at 0, 3.6, 12 with b = 1.2 are at 3 b.
    const PileMultipliers uneven = GroupMultipliers({0.0, 3.6, 12.0}, 1.2, +1.0, 1.0E-6);
    EXPECT_NEAR(uneven.Multiplier[2], 0.8, 1.0E-12);
    EXPECT_NEAR(uneven.Multiplier[0], 0.3, 1.0E-12);
    // One row: no group effect. Close rows: flagged.
    const PileMultipliers single = GroupMultipliers({2.0, 2.0, 2.0}, 1.0, +1.0, 1.0E-6);
    for (double m : single.Multiplier) EXPECT_EQ(m, 1.0);
    EXPECT_TRUE(GroupMultipliers({0.0, 2.0}, 1.0, +1.0, 1.0E-6).b_BelowTable);
}

// Linear head terms of two pile types (kip, in): K23 < 0 in the cap's
// rotation sense.
const LinearHeadTerms TypeA{2000.0, 200.0, -8000.0, 1.2E6, Connection::Fixed};
const LinearHeadTerms TypeB{3500.0, 300.0, -15000.0, 2.5E6, Connection::Fixed};

// Equilibrium recomputed from the head forces in pile axes: the force that
// the cap applies along a = (sin b, cos b) and n = (cos b, -sin b), and its
// moment about the reference point, summed against the load.
void ExpectEquilibrium(const std::vector<GroupPile>& piles, const SolveResult& r, const Vector3& load) {
    ASSERT_EQ(r.Error, 0) << r.Message;
    double H = 0.0, V = 0.0, M = 0.0;
    for (std::size_t i = 0; i < piles.size(); ++i) {
        const GroupPile& p = piles[i];
        const Vector3& f = r.State.HeadForce[i];
        const double s = std::sin(p.BatterRadians), c = std::cos(p.BatterRadians);
        const double hx = f[0] * s + f[1] * c, vz = f[0] * c - f[1] * s;
        H += hx;
        V += vz;
        M += vz * p.dx - hx * p.dz + f[2];
    }
    EXPECT_LE(std::fabs(H - load[0]), r.ForceTolerance * 1.0001 + 1.0E-9);
    EXPECT_LE(std::fabs(V - load[1]), r.ForceTolerance * 1.0001 + 1.0E-9);
    EXPECT_LE(std::fabs(M - load[2]), r.MomentTolerance * 1.0001 + 1.0E-9);
    EXPECT_LE(r.ForceTolerance, 1.0E-7 * std::fmax(std::fabs(load[0]), std::fabs(load[1])) + 1.0E-6);
}

TEST(GroupCap, VerticalFixedPilesMatchClosedFormAssembly) {
    // A 2 x 3 group in plan, seen in the plane of loading as three rows of two
    // piles, the rows of different types and the reference point off centre.
    std::vector<std::unique_ptr<LinearPileHead>> heads;
    std::vector<GroupPile> piles;
    const double xs[] = {-4.0, -4.0, 50.0, 50.0, 104.0, 104.0};
    for (int i = 0; i < 6; ++i) {
        heads.push_back(std::make_unique<LinearPileHead>(i < 2 ? TypeB : TypeA));
        piles.push_back({xs[i], 0.0, 0.0, heads.back().get()});
    }
    // Closed form: K_uu = sum K22, K_ww = sum Ka, K_uth = sum K23,
    // K_wth = sum Ka x, K_thth = sum (Ka x^2 + K33), K_uw = 0.
    double Kuu = 0.0, Kww = 0.0, Kut = 0.0, Kwt = 0.0, Ktt = 0.0;
    for (int i = 0; i < 6; ++i) {
        const LinearHeadTerms& t = i < 2 ? TypeB : TypeA;
        Kuu += t.K22;
        Kww += t.KAxial;
        Kut += t.K23;
        Kwt += t.KAxial * xs[i];
        Ktt += t.KAxial * xs[i] * xs[i] + t.K33;
    }
    const Matrix3 K{{{Kuu, 0.0, Kut}, {0.0, Kww, Kwt}, {Kut, Kwt, Ktt}}};
    const SolveResult at = EvaluateCap(piles, {0.3, 0.2, -0.001});
    ASSERT_EQ(at.Error, 0);
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) {
            EXPECT_NEAR(at.State.Tangent[i][j], K[i][j], 1.0E-9 * std::fabs(Ktt)) << i << j;
            EXPECT_NEAR(at.State.Secant[i][j], K[i][j], 1.0E-9 * std::fabs(Ktt)) << i << j;
        }
    // The resisting force of a prescribed movement is K times it.
    for (std::size_t i = 0; i < 3; ++i) {
        const double KD = K[i][0] * 0.3 + K[i][1] * 0.2 + K[i][2] * -0.001;
        EXPECT_NEAR(at.State.Resisting[i], KD, 1.0E-9 * std::fabs(Ktt)) << i;
    }
    const Vector3 load{150.0, 3000.0, -40000.0};
    const SolveResult r = SolveCap(piles, load);
    ExpectEquilibrium(piles, r, load);
    EXPECT_LE(r.Iterations, 2);
    // The closed-form matrix times the movement is the load.
    const Vector3& D = r.State.Displacement;
    for (std::size_t i = 0; i < 3; ++i) {
        const double KD = K[i][0] * D[0] + K[i][1] * D[1] + K[i][2] * D[2];
        EXPECT_NEAR(KD, load[i], 1.0E-6 * std::fabs(load[i]) + 1.0E-6) << i;
    }
}

// A pile in kip and in: 600 in long in 30 bars of EA 4E6 kip, shaft friction
// 0.5 kip/in mobilised linearly over 0.1 in, end bearing 200 kip mobilised
// over 0.5 in, no tip tension. Plunges at 500 kip, pulls out at 300 kip.
axial::AxialPile TestPile() {
    axial::AxialPile p;
    const int elements = 30;
    const double L = 600.0, h = L / elements;
    p.NumNodes = elements + 1;
    p.NumCurves = 2;
    axial::Curve& c = p.Curves[1];
    c.NumPoints = 2;
    c.Z[0] = 0.0;
    c.Z[1] = 1.0;
    c.T[0] = 0.0;
    c.T[1] = 1.0;
    p.Curves[2] = c;
    p.Curves[2].b_NoTension = true;
    for (int i = 1; i <= p.NumNodes; ++i) {
        p.Depth[U(i)] = h * (i - 1);
        p.EA[U(i)] = 4.0E6;
        p.ElementLength[U(i)] = h;
        const double trib = (i == 1 || i == p.NumNodes) ? 0.5 * h : h;
        p.Shaft[U(i)] = {1, 0.1, 0.5 * trib};
    }
    p.Tip = {2, 0.5, 200.0};
    return p;
}

TEST(GroupCap, OneNonlinearPileEqualsTheAxialAnalysis) {
    const axial::AxialPile pile = TestPile();
    AxialPileHead head(pile, TypeA);
    std::vector<GroupPile> piles{{0.0, 0.0, 0.0, &head}};
    for (double P : {100.0, 350.0, 480.0, -250.0}) {
        const SolveResult r = SolveCap(piles, {0.0, P, 0.0});
        ExpectEquilibrium(piles, r, {0.0, P, 0.0});
        axial::AxialState s;
        const axial::HeadResponse single = axial::SolveForHeadForce(pile, P, s);
        ASSERT_TRUE(single.b_Converged);
        EXPECT_NEAR(r.State.Displacement[1], single.Displacement, 1.0E-5 * std::fabs(single.Displacement)) << P;
        EXPECT_NEAR(r.State.Displacement[0], 0.0, 1.0E-12);
        // Secant times movement is the load; the tangent softer than the secant.
        EXPECT_NEAR(r.State.Secant[1][1] * r.State.Displacement[1], P, 1.0E-6 * std::fabs(P));
        EXPECT_LT(r.State.Tangent[1][1], r.State.Secant[1][1]) << P;
    }
    // Beyond the plunging load the cap cannot be balanced: a numbered error,
    // never a result.
    const SolveResult over = SolveCap(piles, {0.0, 520.0, 0.0});
    EXPECT_TRUE(over.Error == ErrorNoStiffness || over.Error == ErrorNotConverged || over.Error == ErrorPileFailed)
        << over.Error;
    EXPECT_FALSE(over.Message.empty());
}

TEST(GroupCap, SymmetricGroupsSettleEvenlyAndMirror) {
    const axial::AxialPile pile = TestPile();
    // Four piles at x = -60, -20, 20, 60, the outer ones battered outward by
    // 1 in 6, so that the group is symmetric about x = 0.
    const double xs[] = {-60.0, -20.0, 20.0, 60.0};
    const double b = std::atan(1.0 / 6.0);
    const double batter[] = {-b, 0.0, 0.0, b};
    std::vector<std::unique_ptr<AxialPileHead>> heads;
    std::vector<GroupPile> piles;
    for (int i = 0; i < 4; ++i) {
        heads.push_back(std::make_unique<AxialPileHead>(pile, TypeA));
        piles.push_back({xs[i], 0.0, batter[i], heads.back().get()});
    }
    // Vertical piles only: equal shares and no rotation under a vertical load.
    {
        std::vector<GroupPile> vertical{piles[1], piles[2]};
        vertical[0].dx = -45.0;
        vertical[1].dx = 45.0;
        const SolveResult r = SolveCap(vertical, {0.0, 800.0, 0.0});
        ExpectEquilibrium(vertical, r, {0.0, 800.0, 0.0});
        EXPECT_NEAR(r.State.HeadForce[0][0], 400.0, 1.0E-5);
        EXPECT_NEAR(r.State.HeadForce[1][0], 400.0, 1.0E-5);
        EXPECT_NEAR(r.State.Displacement[2], 0.0, 1.0E-12);
        EXPECT_NEAR(r.State.Displacement[0], 0.0, 1.0E-12);
    }
    // The symmetric battered group under vertical load: no rotation, no sway,
    // mirrored piles carry the same axial force.
    const SolveResult v = SolveCap(piles, {0.0, 1200.0, 0.0});
    ExpectEquilibrium(piles, v, {0.0, 1200.0, 0.0});
    EXPECT_NEAR(v.State.Displacement[0], 0.0, 1.0E-9);
    EXPECT_NEAR(v.State.Displacement[2], 0.0, 1.0E-11);
    EXPECT_NEAR(v.State.HeadForce[0][0], v.State.HeadForce[3][0], 1.0E-5);
    EXPECT_NEAR(v.State.HeadForce[1][0], v.State.HeadForce[2][0], 1.0E-5);

    // A horizontal load and its reverse (with the same vertical load): the
    // mirrored pile of the reversed case has the same axial force and the
    // opposite lateral force and moment; the cap sways and turns the other way.
    const Vector3 plus{120.0, 1000.0, 0.0}, minus{-120.0, 1000.0, 0.0};
    const SolveResult a = SolveCap(piles, plus);
    ExpectEquilibrium(piles, a, plus);
    std::vector<Vector3> forcesA = a.State.HeadForce;
    const Vector3 DA = a.State.Displacement;
    const SolveResult c = SolveCap(piles, minus);
    ExpectEquilibrium(piles, c, minus);
    EXPECT_NEAR(c.State.Displacement[0], -DA[0], 1.0E-7 * std::fabs(DA[0]));
    EXPECT_NEAR(c.State.Displacement[1], DA[1], 1.0E-7 * std::fabs(DA[1]));
    EXPECT_NEAR(c.State.Displacement[2], -DA[2], 1.0E-7 * std::fabs(DA[2]) + 1.0E-14);
    for (int i = 0; i < 4; ++i) {
        const Vector3& f = forcesA[U(i)];
        const Vector3& g = c.State.HeadForce[U(3 - i)];
        EXPECT_NEAR(g[0], f[0], 1.0E-4) << i;
        EXPECT_NEAR(g[1], -f[1], 1.0E-4) << i;
        EXPECT_NEAR(g[2], -f[2], 1.0E-2) << i;
    }
    // The pile battered toward the load's direction is pushed harder.
    EXPECT_GT(forcesA[3][0], forcesA[0][0]);
}

TEST(GroupCap, NonlinearTangentMatchesCentralDifferences) {
    // Battered and vertical nonlinear piles, fixed and pinned: the assembled
    // tangent against central differences of the resisting force, at a cap
    // movement where the springs are partly mobilised.
    const axial::AxialPile pile = TestPile();
    const LinearHeadTerms pinned{0.0, 200.0, -8000.0, 1.2E6, Connection::Pinned};
    AxialPileHead h1(pile, TypeA), h2(pile, pinned), h3(pile, TypeA);
    std::vector<GroupPile> piles{{-50.0, 0.0, -0.2, &h1}, {0.0, 6.0, 0.0, &h2}, {50.0, 0.0, 0.3, &h3}};
    const Vector3 D{0.05, 0.04, 0.0006};
    const SolveResult at = EvaluateCap(piles, D);
    ASSERT_EQ(at.Error, 0);
    const double step[3] = {1.0E-6, 1.0E-6, 1.0E-8};
    for (std::size_t j = 0; j < 3; ++j) {
        Vector3 Dp = D, Dm = D;
        Dp[j] += step[j];
        Dm[j] -= step[j];
        const Vector3 Rp = EvaluateCap(piles, Dp).State.Resisting, Rm = EvaluateCap(piles, Dm).State.Resisting;
        for (std::size_t i = 0; i < 3; ++i) {
            const double fd = (Rp[i] - Rm[i]) / (2.0 * step[j]);
            EXPECT_NEAR(at.State.Tangent[i][j], fd, 1.0E-4 * std::fabs(at.State.Tangent[i][i]) + 1.0E-3) << i << j;
        }
    }
    // Secant times movement is the resisting force.
    for (std::size_t i = 0; i < 3; ++i) {
        const Matrix3& S = at.State.Secant;
        EXPECT_NEAR(S[i][0] * D[0] + S[i][1] * D[1] + S[i][2] * D[2], at.State.Resisting[i],
                    1.0E-9 * std::fabs(at.State.Resisting[i]) + 1.0E-9);
    }
}

TEST(GroupCap, BatteredPairTakesHorizontalLoadAxially) {
    // Two piles 48 in apart, battered 1 in 4 away from each other, fixed to
    // the cap, axially 100 times stiffer than laterally. Their axes meet at
    // x = 0, z = -24 / tan b above the cap. A horizontal load H through that
    // point (the cap load H and M = H * 24 / tan b about the reference point
    // between the heads) is carried by the pair as a truss: the cap's
    // equilibrium along x and z gives N_right = -N_left = H / (2 sin b).
    const double b = std::atan(0.25), H = 100.0;
    const LinearHeadTerms pair{20000.0, 200.0, -8000.0, 1.2E6, Connection::Fixed};
    LinearPileHead left(pair), right(pair);
    std::vector<GroupPile> piles{{-24.0, 0.0, -b, &left}, {24.0, 0.0, b, &right}};
    const double zMeet = -24.0 / std::tan(b);
    const Vector3 load{H, 0.0, -zMeet * H};
    const SolveResult r = SolveCap(piles, load);
    ExpectEquilibrium(piles, r, load);
    const double Ntruss = H / (2.0 * std::sin(b));
    const double Nl = r.State.HeadForce[0][0], Nr = r.State.HeadForce[1][0];
    EXPECT_LT(Nl, 0.0);  // the left pile is pulled
    EXPECT_GT(Nr, 0.0);  // the right pile is pushed
    EXPECT_NEAR(Nr, Ntruss, 0.03 * Ntruss);
    EXPECT_NEAR(-Nl, Ntruss, 0.03 * Ntruss);
    // The horizontal components of the axial forces carry most of the load.
    const double axialShare = (Nr - Nl) * std::sin(b) / H;
    EXPECT_GT(axialShare, 0.95);

    // The same pair at the cap's reference point with vertical piles carries
    // the load only by bending: the batter is what moves it into the axes.
    std::vector<GroupPile> vertical{{-24.0, 0.0, 0.0, &left}, {24.0, 0.0, 0.0, &right}};
    const SolveResult rv = SolveCap(vertical, {H, 0.0, 0.0});
    ExpectEquilibrium(vertical, rv, {H, 0.0, 0.0});
    EXPECT_NEAR(rv.State.HeadForce[0][1] + rv.State.HeadForce[1][1], H, 1.0E-6);
}

TEST(GroupCap, MechanismsAndBadLoadsEndWithNumberedErrors) {
    // A single pinned pile cannot take a moment; pinned vertical piles in one
    // row (all at x = 0) neither.
    const LinearHeadTerms pinned{2000.0, 200.0, -8000.0, 1.2E6, Connection::Pinned};
    LinearPileHead a(pinned), b(pinned);
    std::vector<GroupPile> row{{0.0, 0.0, 0.0, &a}, {0.0, 0.0, 0.0, &b}};
    const SolveResult m = SolveCap(row, {10.0, 100.0, 500.0});
    EXPECT_EQ(m.Error, ErrorNoStiffness);
    EXPECT_NE(m.Message.find("mechanism"), std::string::npos);
    // Apart, the same pinned piles resist the moment by push and pull:
    // N = +-M / 2 s with the heads 2 s apart, and the shear split equally
    // (the condensed lateral term of both piles is the same).
    row[0].dx = -30.0;
    row[1].dx = 30.0;
    const SolveResult ok = SolveCap(row, {10.0, 100.0, 600.0});
    ExpectEquilibrium(row, ok, {10.0, 100.0, 600.0});
    EXPECT_NEAR(ok.State.HeadForce[1][0] - ok.State.HeadForce[0][0], 600.0 / 30.0, 1.0E-6);
    EXPECT_NEAR(ok.State.HeadForce[0][1], 5.0, 1.0E-6);
    EXPECT_EQ(ok.State.HeadForce[0][2], 0.0);
    // The pinned head's lateral stiffness is the condensed term
    // K22 - K23^2 / K33 = 200 - 8000^2 / 1.2E6.
    EXPECT_NEAR(ok.State.HeadForce[0][1] / ok.State.HeadMovement[0][1], 200.0 - 64.0E6 / 1.2E6, 1.0E-9);
    // Not a number, or no piles: an error, never a result.
    EXPECT_NE(SolveCap(row, {NAN, 1.0, 0.0}).Error, 0);
    std::vector<GroupPile> none;
    EXPECT_EQ(SolveCap(none, {0.0, 1.0, 0.0}).Error, ErrorNoStiffness);
    // An iteration limit too small for a nonlinear case: error 61.
    const axial::AxialPile pile = TestPile();
    AxialPileHead h1(pile, pinned), h2(pile, pinned);
    std::vector<GroupPile> two{{-30.0, 0.0, 0.0, &h1}, {30.0, 0.0, 0.0, &h2}};
    SolveOptions once;
    once.MaxIterations = 1;
    const SolveResult limited = SolveCap(two, {0.0, 900.0, 3000.0}, once);
    EXPECT_EQ(limited.Error, ErrorNotConverged);
    const SolveResult full = SolveCap(two, {0.0, 900.0, 3000.0});
    ExpectEquilibrium(two, full, {0.0, 900.0, 3000.0});
    (void)Pi;
}

TEST(GroupFile, BadLinesNameTheLineAndTheCause) {
    const std::string head = "KESTRO GROUP\nTYPE 1 FIXED KAXIAL 2000 K22 200 K23 -8000 K33 1.2E6\n";
    struct Case {
        std::string Text, Expect;
    };
    const Case cases[] = {
        {"PILE 1 0 0 0\n", "line 1: a group file starts with the line KESTRO GROUP"},
        {"", "line 1: a group file starts"},
        {head + "PILE 2 0 0 0\nLOAD a 1 2 3\n", "line 3: pile type 2 is not defined"},
        {head + "PILE 1 0 0 60\nLOAD a 1 2 3\n", "line 3: the batter angle"},
        {head + "PILE 1 0 0\nLOAD a 1 2 3\n", "line 3: PILE takes"},
        {head + "PILE 1 0 0 0\nLOAD a 1 nan 3\n", "line 4: LOAD takes"},
        {head + "PILE 1 0 0 0\nLOAD a 1 2 1e999\n", "line 4: LOAD takes"},
        {head + "TYPE 1 FIXED KAXIAL 1 K22 1 K23 0 K33 1\n", "line 3: pile type 1 is given twice"},
        {"KESTRO GROUP\nTYPE 1 FIXED KAXIAL 1 K22 1 K23 1 K33 1\n", "line 2: K22 K33 must exceed K23^2"},
        {"KESTRO GROUP\nTYPE 1 FIXED KAXIAL 0 K22 1 K23 0 K33 1\n", "line 2: KAXIAL, K22 and K33 must be greater"},
        {"KESTRO GROUP\nTYPE 1 FIXED KAXIAL 1 K22 1 K22 0 K33 1\n", "line 2: K22 is given twice"},
        {"KESTRO GROUP\nTYPE 1 HINGED KAXIAL 1 K22 1 K23 0 K33 1\n", "line 2: the head connection"},
        {head + "PILES 1 0 0 0\n", "line 3: unknown keyword PILES"},
        {head + "LOAD a 1 2 3\n", "the group has no PILE line"},
        {head + "PILE 1 0 0 0\nEND\nLOAD a 1 2 3\n", "the group has no LOAD or MOVE line"},
        // Piles answered by the p-y analysis.
        {"KESTRO GROUP\nTYPE 1 FIXED PY\nPILE 1 0 0 0\nLOAD a 1 2 3\n", "a PY pile type without a LATERAL path of its own needs the LATERAL line"},
        {"KESTRO GROUP\nTYPE 1 FIXED PY K22 5\n", "line 2: after PY only KAXIAL"},
        {"KESTRO GROUP\nTYPE 1 FIXED PY KAXIAL -5\n", "line 2: KAXIAL must be a number greater than zero"},
        {"KESTRO GROUP\nTYPE 1 FIXED PY KAXIAL\n", "line 2: TYPE takes"},
        {"KESTRO GROUP\nLATERAL a.kin\nLATERAL b.kin\n", "line 3: LATERAL is given twice"},
        {"KESTRO GROUP\nLATERAL\n", "line 2: LATERAL takes the path"},
        {"KESTRO GROUP\nMULTIPLIERS AASHTO\n", "line 2: MULTIPLIERS takes ROWS or NONE"},
        {head + "PILE 1 0 0 0 PMULT 1.5\n", "line 3: PMULT must be"},
        {head + "PILE 1 0 0 0 PMULT 0\n", "line 3: PMULT must be"},
        {head + "PILE 1 0 0 0 PM 0.5\n", "line 3: after the batter angle only PMULT"},
    };
    for (const Case& c : cases) {
        group::GroupModel m;
        std::string error;
        EXPECT_EQ(ReadGroup(c.Text, m, error), 1) << c.Text;
        EXPECT_EQ(error.rfind(c.Expect, 0), 0u) << error;
    }
}

// The two example groups run with the command; the report's cap movement is
// checked against the closed-form linear solution recomputed here.
TEST(GroupFile, ExamplesRunFromTheCommand) {
    for (const char* name : {"drilled-shafts-2x3.kgr", "battered-pipes.kgr"}) {
        const std::string path = std::string(KESTRO_SOURCE_DIR) + "/examples/group/" + name;
        std::ostringstream out, err;
        EXPECT_EQ(kestro::cli::Main({"group", path}, out, err), kestro::cli::ExitNormal) << err.str();
        EXPECT_NE(out.str().find("Load case 2:"), std::string::npos);
        group::GroupModel m;
        std::string error;
        ASSERT_EQ(ReadGroup(ReadText(path), m, error), 0) << error;
        std::vector<std::unique_ptr<LinearPileHead>> heads;
        std::vector<GroupPile> piles;
        for (const group::PileInput& p : m.Piles) {
            heads.push_back(std::make_unique<LinearPileHead>(m.Types[0].Terms));
            piles.push_back({p.X, p.Z, p.BatterDegrees * Pi / 180.0, heads.back().get()});
        }
        for (const group::LoadCase& c : m.Cases) ExpectEquilibrium(piles, SolveCap(piles, c.Load), c.Load);
    }
    // A prescribed movement: u = 0.01 on two vertical fixed piles needs
    // H = 2 K22 u and M = 2 K23 u, written with the report's format.
    {
        group::GroupModel mv;
        std::string why;
        ASSERT_EQ(ReadGroup("KESTRO GROUP\nTYPE 1 FIXED KAXIAL 2000 K22 200 K23 -8000 K33 1.2E6\n"
                            "PILE 1 -30 0 0\nPILE 1 30 0 0\nMOVE sway 0.01 0 0\n",
                            mv, why),
                  0)
            << why;
        ASSERT_TRUE(mv.Cases[0].b_Prescribed);
        std::ostringstream report;
        ASSERT_EQ(RunGroup(mv, report, why), 0) << why;
        char expect[96];
        std::snprintf(expect, sizeof expect, "  Cap load needed: H =%12.5g  V =%12.5g  M =%12.5g\n", 4.0, 0.0, -160.0);
        EXPECT_NE(report.str().find(expect), std::string::npos) << report.str();
    }
    // A positive K23 (the sign of the single-pile study taken over) runs, with
    // a warning naming the line, and exit status 1.
    {
        const std::string plus = ScratchDir() + "/k23.kgr";
        WriteText(plus, "KESTRO GROUP\n# comment\nTYPE 1 FIXED KAXIAL 2000 K22 200 K23 8000 K33 1.2E6\n"
                        "PILE 1 -30 0 0\nPILE 1 30 0 0\nLOAD a 10 100 0\n");
        std::ostringstream o, e;
        EXPECT_EQ(kestro::cli::Main({"group", plus}, o, e), kestro::cli::ExitWarnings);
        EXPECT_NE(e.str().find("k23.kgr: line 3: K23 is positive"), std::string::npos) << e.str();
    }
    // A mechanism (one pinned pile under a moment) ends with Runtime Error 64
    // and exit status 2, and no load case after it is run.
    const std::string bad = ScratchDir() + "/mechanism.kgr";
    WriteText(bad, "KESTRO GROUP\nTYPE 1 PINNED KAXIAL 100 K22 10 K23 -1 K33 100\nPILE 1 0 0 0\n"
                   "LOAD a 1 1 1\nLOAD b 0 1 0\n");
    std::ostringstream out, err;
    EXPECT_EQ(kestro::cli::Main({"group", bad}, out, err), kestro::cli::ExitError);
    EXPECT_NE(err.str().find("load case 1 (a): Runtime Error 64"), std::string::npos) << err.str();
    EXPECT_EQ(out.str().find("Load case 2"), std::string::npos);
    std::ostringstream o2, e2;
    EXPECT_EQ(kestro::cli::Main({"group", bad + ".missing"}, o2, e2), kestro::cli::ExitNoInput);
}

}  // namespace
