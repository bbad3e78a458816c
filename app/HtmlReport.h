#pragma once
// The HTML report: one self-contained page with the run's outcome, a summary
// table of the load cases and inline SVG charts (pile response against depth
// with the ground surface and soil layers, printed p-y curves, moment-curvature
// and EI-moment curves, length-study and stiffness curves). No scripts, no
// network: it opens offline and prints.

#include <string>

#include "ResultFiles.h"
#include "ResultsJson.h"

namespace kestro::results {

std::string HtmlReport(const RunResults& r);

}  // namespace kestro::results
