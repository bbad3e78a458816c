#pragma once
// Lookups of the pile model at any depth below the pile head: section
// properties from the pile property table, the averaged distributed load of a
// station, and the p- and y-multipliers of the group-effect table. Pure
// functions of the store: they never fail and never terminate the run.

namespace kestro {

struct PileProperties {
    double b = 0.0;    // width used by the p-y curves
    double d2 = 0.0;   // second dimension of the section
    double I = 0.0;    // moment of inertia
    double A = 0.0;    // cross-section area
    double EI = 0.0;   // bending stiffness (interpolated product E*I)
};

// Properties at depth z along the pile. At a section boundary the lower
// section's row applies; below the table the last row.
PileProperties PropertiesAt(double z);

// Distributed lateral load per unit length at a station at depth z: the
// integral of the piecewise-linear load profile over the station's tributary
// length z - h/2 .. z + h/2 (h the current station spacing), divided by h.
double DistributedLoadAt(double z);

// Group-effect multipliers at depth z; 1.0 outside the table or without one.
double PMultiplierAt(double z);
double YMultiplierAt(double z);

}  // namespace kestro
