#pragma once
// Report pages and plot records of the axial load-transfer analysis.

#include <iosfwd>

namespace kestro {

// The axial pages: the load-transfer data, the capacities, the
// load-settlement curve and the response along the pile per head load.
void WriteAxialReport(std::ostream& out);

// Plot records of the axial analysis, after every record of the lateral run:
//   Line 21: numbers of curve points, head loads and nodes
//   Line 22: ultimate shaft and tip resistance, plunging loads (compression, uplift)
//   Line 23: capacity fraction, head movement at it in compression and in uplift
//   Line 24(k): load-settlement curve point k = 0..n: head load, settlement, shaft, tip
//   Line 25: head load j: load, head movement, shaft, tip (label "beyond plunging"
//            and no Line 26 records when the pile cannot carry it)
//   Line 26(i): node i: depth, axial force, movement, mobilised unit shaft friction
void WriteAxialPlotRecords(std::ostream& out);

}  // namespace kestro
