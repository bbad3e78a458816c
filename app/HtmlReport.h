#pragma once
// The HTML report: one self-contained page with the run's outcome, a summary
// table of the load cases and inline SVG charts (pile response against depth
// with the ground surface and soil layers, printed p-y curves, moment-curvature
// and EI-moment curves, length-study and stiffness curves). No scripts, no
// network: it opens offline and prints.

#include <string>

#include "ResultFiles.h"

namespace kestro::results {

std::string HtmlReport(const RunResults& r);

// Shortest text that reads back to the same double ("0.84290971", "5047814.9"),
// used for every number in tables so that they carry the plot file's digits.
std::string ExactNumber(double v);

}  // namespace kestro::results
