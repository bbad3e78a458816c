#pragma once
// Section analysis run before the load cases: the nonlinear EI table of every
// pile section, from which the pile analysis takes the bending stiffness.

#include <iosfwd>

namespace kestro {

// The section computation of section s (1-based): heading lines, then the EI
// table of the section's kind. Ends the run for a kind whose moment-curvature
// analysis is not available.
void ComputeSectionStiffness(int s);

// EI table of an elastic section: 150 points of constant EI = E*I.
void ElasticEITable(int s);
// EI table of an elastic section with a specified plastic moment Mp: elastic
// up to Mp, then moment held at Mp with EI = Mp / curvature.
void ElasticPlasticEITable(int s);

// Input data error raised for a section kind whose nonlinear bending
// stiffness cannot be computed by this engine.
inline constexpr int ErrSectionKindUnavailable = 88;

}  // namespace kestro
