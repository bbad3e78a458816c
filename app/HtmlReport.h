#pragma once
// The HTML report: one self-contained page with the run's outcome, a summary
// table of the load cases and inline SVG charts (pile response against depth
// beside a drawing of the pile in its soil profile, one chart per printed p-y
// curve with the load cases' actual points, load against deflection and
// moment across the load cases, moment-curvature and EI-moment curves, the
// LRFD check, length-study and stiffness curves). Every number is shown in the
// display units with four significant figures; the JSON file keeps the
// engine's units and full precision. No scripts, no network: it opens offline
// and prints.

#include <string>

#include "ResultFiles.h"
#include "ResultsJson.h"

namespace kestro::results {

// "input", "us", "si", "engine"; false for anything else.
bool ParseDisplayUnits(const std::string& text, DisplayUnits& units);

std::string HtmlReport(const RunResults& r, DisplayUnits units = DisplayUnits::Input);

// Four significant figures, no exponent between 1E-4 and 1E6 ("0.009227",
// "725", "1.235E+07"); "0" for zero and negative zero.
std::string DisplayNumber(double v);

}  // namespace kestro::results
