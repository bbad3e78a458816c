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

#include <array>
#include <string>
#include <vector>

#include "ResultFiles.h"
#include "ResultsJson.h"

namespace kestro::results {

// "input", "us", "si", "engine"; false for anything else.
bool ParseDisplayUnits(const std::string& text, DisplayUnits& units);

std::string HtmlReport(const RunResults& r, DisplayUnits units = DisplayUnits::Input);

// Four significant figures, no exponent between 1E-4 and 1E6 ("0.009227",
// "725", "1.235E+07"); "0" for zero and negative zero.
std::string DisplayNumber(double v);

// A chart coordinate as printf's %.2f writes it, held within +-1E5 (NaN as
// 0), written into `buf` (at least 16 characters); returns the end.
char* CoordinateText(char* buf, double v);

// The page's building blocks for other pages of the command (the capacity
// curve of `kestro pushover`): the style sheet, escaping, and one x-y chart
// drawn as the results page draws its load-deflection charts.
struct XYSeries {
    std::string Name;
    std::vector<std::array<double, 2>> Points;
    bool Markers = false;
};
std::string PageStyle();
std::string EscapeHtml(const std::string& s);
std::string XYChart(const std::string& id, const std::string& title, const std::string& xLabel,
                    const std::string& yLabel, const std::vector<XYSeries>& series);

// The labels and factors (display value = engine value * factor) of the
// quantities shown for a run in the plot file's unit system.
struct ShownUnits {
    std::string Depth, Deflection, Force, Moment;
    double DepthFactor = 1.0, DeflectionFactor = 1.0, ForceFactor = 1.0, MomentFactor = 1.0;
};
ShownUnits ShownUnitsFor(int unitSystem, DisplayUnits units = DisplayUnits::Input);

}  // namespace kestro::results
