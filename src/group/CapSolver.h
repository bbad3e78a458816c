#pragma once
// A rigid cap on a group of piles, in the plane of loading.
//
// Axes: x horizontal in the loading direction, z vertical, positive downward;
// the cap's reference point is the origin. The cap moves by
//   u (along x), w (along z, positive down: settlement) and theta,
// theta positive when it turns +x toward +z (a point at +x goes down). A
// point at offset (dx, dz) from the reference point moves by
//   (u - theta dz, w + theta dx).
// The cap load (H, V, M) is work-conjugate to (u, w, theta): H along +x,
// V downward, M in the sense of theta (M = V_i dx - H_i dz for a force at an
// offset).
//
// Each pile has its head at (dx, dz) and a batter angle beta from the
// vertical, positive when the pile runs toward +x with depth. Its axis
// a = (sin beta, cos beta) points down the pile and its lateral direction
// n = (cos beta, -sin beta). The head moves with the cap by
//   axial   da  = a . d      (positive: pushed into the ground)
//   lateral dn  = n . d
//   rotation    = theta      (the frame (n, a) turns with the same sense)
// and the cap applies to the pile the head forces N (along +a, compression
// positive), Q (along +n) and the moment Mh (sense of theta). The group's
// load is the sum of T_i^T (N, Q, Mh) over the piles, T_i the 3 x 3 map
// above; its tangent stiffness is the sum of T_i^T k_i T_i.
//
// Engine code: no store, no files; errors by return with the number of the
// runtime error that a run reports.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "axial/AxialSolver.h"

namespace kestro::group {

using Vector3 = std::array<double, 3>;
using Matrix3 = std::array<std::array<double, 3>, 3>;

// Runtime errors of the cap solution.
inline constexpr int ErrorNotConverged = 61;   // iteration limit reached
inline constexpr int ErrorNoStiffness = 64;    // group tangent singular: a mechanism or the capacity reached
inline constexpr int ErrorPileFailed = 74;     // a pile could not answer a head movement
inline constexpr int ErrorDeflectionLimit = 36; // a pile deflects beyond the deflection limit of its lateral analysis

// The pile's head movement and head forces in its own axes: axial, lateral,
// rotation (moment).
struct HeadResult {
    Vector3 Force{};     // N, Q, Mh
    Matrix3 Tangent{};   // d(Force) / d(movement)
    Matrix3 Secant{};    // Secant * movement = Force
    bool b_Ok = false;
    int Error = ErrorPileFailed;  // when not Ok: the runtime error the case ends with
    std::string Why;     // when not Ok: what the pile could not do
};

// How one pile's head answers a movement (axial, lateral, rotation). A pinned
// head carries no moment: its answer has Mh = 0 and no rotation terms.
class PileHead {
public:
    virtual ~PileHead() = default;
    virtual HeadResult Respond(const Vector3& movement) = 0;
};

enum class Connection { Fixed, Pinned };

// Linear head stiffness terms, work-conjugate in the pile's axes:
//   Q = K22 dn + K23 rot,  Mh = K23 dn + K33 rot,  N = KAxial da.
// With the rotation taken in the sense of theta (the pile's slope dy/ds is
// -rot), a head pushed sideways with its rotation held needs a moment of the
// opposite sense: K23 < 0 for a real pile, and K22 K33 > K23^2. A pinned head
// keeps only the condensed lateral term K22 - K23^2 / K33.
struct LinearHeadTerms {
    double KAxial = 0.0;
    double K22 = 0.0, K23 = 0.0, K33 = 0.0;
    Connection Head = Connection::Fixed;
};

// The 3 x 3 head stiffness (axial, lateral, rotation) of linear terms.
Matrix3 HeadStiffness(const LinearHeadTerms& t);

// A pile with linear head stiffness.
class LinearPileHead final : public PileHead {
public:
    explicit LinearPileHead(const LinearHeadTerms& t) : K_(HeadStiffness(t)) {}
    HeadResult Respond(const Vector3& movement) override;

private:
    Matrix3 K_;
};

// A pile whose axial response is the nonlinear axial analysis (t-z and q-z
// springs) and whose lateral response is linear (the terms' K22, K23, K33;
// KAxial unused). The pile's axial state is kept between calls as the start
// of the next solution. The AxialPile is not copied: it must outlive this head.
class AxialPileHead final : public PileHead {
public:
    AxialPileHead(const axial::AxialPile& pile, const LinearHeadTerms& lateral);
    HeadResult Respond(const Vector3& movement) override;

private:
    const axial::AxialPile& Pile_;
    axial::AxialState State_;
    Matrix3 Lateral_;
};

struct GroupPile {
    double dx = 0.0, dz = 0.0;       // head offset from the cap's reference point
    double BatterRadians = 0.0;      // from the vertical, + toward +x with depth
    PileHead* Head = nullptr;        // not owned
};

// The map from cap movement (u, w, theta) to the pile's head movement
// (axial, lateral, rotation).
Matrix3 HeadTransform(const GroupPile& p);


// Convergence: the out-of-balance force (both components) at most
// ForceTolerance = RelativeTolerance * Fref, the out-of-balance moment at
// most RelativeTolerance * Fref * Lref, where Fref is the largest of |H|, |V|,
// |M| / Lref and the largest pile head force component, and Lref the largest
// head offset |dx|, |dz| of the group (1 length unit when all heads are at the
// reference point). A zero load is balanced by zero movement.
struct SolveOptions {
    double RelativeTolerance = 1.0E-8;
    int MaxIterations = 100;
    int MaxHalvings = 30;             // step halvings when a Newton step does not reduce the out-of-balance
};

struct CapState {
    Vector3 Displacement{};           // u, w, theta
    std::vector<Vector3> HeadMovement;   // per pile, pile axes
    std::vector<Vector3> HeadForce;      // per pile, pile axes (N, Q, Mh)
    std::vector<Vector3> CapForce;       // per pile, cap axes (H, V, M about the reference point)
    Vector3 Resisting{};                  // sum of CapForce
    Matrix3 Tangent{};                    // group tangent stiffness
    Matrix3 Secant{};                     // group secant stiffness: Secant * Displacement = Resisting
};

struct SolveResult {
    int Error = 0;                    // 0, or ErrorNotConverged / ErrorNoStiffness / ErrorPileFailed
    std::string Message;              // why, naming the pile (1-based) where one is to blame
    int Iterations = 0;
    int Increments = 1;               // load increments used (more than 1 when the direct iteration stalled)
    Vector3 OutOfBalance{};           // load - resisting force at the end
    double ForceTolerance = 0.0, MomentTolerance = 0.0;
    CapState State;                   // valid only when Error == 0
};

// The piles' response to a prescribed cap movement.
SolveResult EvaluateCap(std::vector<GroupPile>& piles, const Vector3& displacement);

// Cap equilibrium under the load (H, V, M): Newton iteration on the group
// tangent, each step halved while it does not reduce the scaled
// out-of-balance. Starts from `start` (zero movement by default). When that
// iteration stalls (Runtime Error 61), the load is applied again in 2, 4 and
// then 8 equal increments from `start`, each balanced from the one before.
SolveResult SolveCap(std::vector<GroupPile>& piles, const Vector3& load, const SolveOptions& options = {},
                     const Vector3& start = {});

// Solves the 3 x 3 system A x = b by Gaussian elimination with partial
// pivoting; false when A is singular relative to its largest entry per column
// scale.
bool Solve3(const Matrix3& A, const Vector3& b, Vector3& x);

}  // namespace kestro::group
