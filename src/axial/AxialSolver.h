#pragma once
// The pile as an axially loaded column of two-node bar elements between its
// stations, with a nonlinear t-z spring at every station (its tributary
// length of shaft) and a q-z spring at the tip. Movement w is positive
// downward (settlement), the head force positive in compression.
//
// This is the interface a pile-group analysis calls for one pile: fill an
// AxialPile once, keep an AxialState per pile, and ask for the head force and
// tangent head stiffness at a head displacement, or for the head displacement
// and stiffness under a head force. No store, no files, no errors: a solution
// that does not converge says so in its result and leaves the caller to act.

#include <array>

#include "axial/LoadTransfer.h"
#include "model/Limits.h"

namespace kestro::axial {

inline constexpr int MaxNodes = MaxStations;
// Curves of one pile: the clay, sand and tip laws, and user curves (a t-z and
// a q-z curve per soil layer at most, each either one curve for the whole
// layer or a curve at its top and one at its bottom).
inline constexpr int MaxCurves = 3 + 4 * MaxSoilLayers;

template <typename T>
using NodeArray = std::array<T, MaxNodes + 1>;  // nodes 1..N

// A nonlinear spring: force = ForceScale * T(w / ZScale) of curve Curve
// (0: no spring). With a second curve (Curve2 >= 1, a layer's user curves at
// its top and bottom) T is interpolated between the two at the same movement:
// T = T1 + Weight (T2 - T1), Weight the depth of the spring within the layer
// (0 at its top, 1 at its bottom).
struct Spring {
    constexpr Spring(int curve = 0, double zScale = 1.0, double forceScale = 0.0)
        : Curve(curve), ZScale(zScale), ForceScale(forceScale) {}
    int Curve = 0;
    int Curve2 = 0;
    double ZScale = 1.0;
    double ForceScale = 0.0;
    double Weight = 0.0;
};

struct AxialPile {
    int NumNodes = 0;                 // N >= 2: node 1 the head, node N the tip
    NodeArray<double> Depth{};        // along the pile below the head
    NodeArray<double> EA{};           // element e joins nodes e and e + 1 (e = 1..N-1)
    NodeArray<double> ElementLength{};
    NodeArray<Spring> Shaft{};        // shaft spring of each node (its tributary length)
    Spring Tip{};                     // q-z spring of the tip, acting at node N
    int NumCurves = 0;
    std::array<Curve, MaxCurves + 1> Curves{};  // 1..NumCurves
};

// The movement of every node: the start of the next solution and, once
// solved, the pile's response.
struct AxialState {
    NodeArray<double> w{};
};

struct HeadResponse {
    double Displacement = 0.0;   // head movement
    double Force = 0.0;          // head force
    double Stiffness = 0.0;      // tangent dForce/dDisplacement at the head
    int Iterations = 0;
    bool b_Converged = false;
};

// The force of a spring and its tangent at movement w.
CurveValue SpringForce(const AxialPile& pile, const Spring& s, double w);

// The largest T of a spring's curve (of the two curves interpolated at its
// weight: their largest value at any breakpoint of either), before ForceScale.
double SpringPeak(const AxialPile& pile, const Spring& s);

// Equilibrium with the head held at displacement w0 (Newton iteration on the
// tangent stiffness with a backtracking guard); `state` holds the start and
// receives the solution.
HeadResponse SolveForHeadDisplacement(const AxialPile& pile, double w0, AxialState& state);

// Equilibrium under the head force P: a safeguarded secant search on the head
// displacement, each trial solved by SolveForHeadDisplacement. Not converged
// when P exceeds what the pile can carry in its direction (plunging).
HeadResponse SolveForHeadForce(const AxialPile& pile, double P, AxialState& state);

// Largest head force the pile can carry in the direction of `sign` (+1
// compression, -1 uplift), found by marching the head displacement until every
// spring has passed its last breakpoint. `w0AtMax` receives the head
// displacement at which it is reached.
double PlungingForce(const AxialPile& pile, double sign, double& w0AtMax);

// Along the pile for a solved state: the axial force at each node (the mean of
// the forces of the elements on either side; at the head the head force, at
// the tip the tip resistance) and the shaft spring force of each node.
void AxialForces(const AxialPile& pile, const AxialState& state, double headForce, NodeArray<double>& force,
                 NodeArray<double>& shaftForce);

// Total shaft and tip resistance of a solved state.
struct Resistance {
    double Shaft = 0.0;
    double Tip = 0.0;
};
Resistance Resistances(const AxialPile& pile, const AxialState& state);

}  // namespace kestro::axial
