#pragma once
// The axial load-transfer results of a run: read from the plot file's axial
// records (Line 21 to Line 26, written after every record of the lateral run),
// written to the JSON results file (key "axial") and drawn in the HTML report.

#include <string>
#include <vector>

#include "JsonWriter.h"

namespace kestro::results {

struct AxialCurvePoint {
    double Load = 0.0, Settlement = 0.0, Shaft = 0.0, Tip = 0.0;
};
struct AxialNode {
    double Depth = 0.0, Force = 0.0, Movement = 0.0, Friction = 0.0;
};
struct AxialLoad {
    double Load = 0.0, Movement = 0.0, Shaft = 0.0, Tip = 0.0;
    bool Solved = true;              // false: beyond the plunging load (no nodes)
    std::vector<AxialNode> Nodes;
};
struct AxialPlotResults {
    bool Present = false;            // the plot file holds axial records
    int NumCurvePoints = 0, NumLoads = 0, NumNodes = 0;
    double UltimateShaft = 0.0, UltimateTip = 0.0, PlungingCompression = 0.0, PlungingUplift = 0.0;
    double CapacityFraction = 0.0, SettlementAtFraction = 0.0, UpliftAtFraction = 0.0;
    std::vector<AxialCurvePoint> Curve;
    std::vector<AxialLoad> Loads;
    bool Complete = false;           // every announced record was read
    std::string Problem;             // the first record that could not be read
};

// Takes the axial records out of a plot file's text into `out` and returns
// the text without them (they come last, so the line numbers of the other
// records do not change).
std::string SplitAxialRecords(const std::string& text, AxialPlotResults& out);
// Reads the axial records given as whole lines (as in the file) into `out`.
void ReadAxialLines(const std::vector<std::string>& lines, AxialPlotResults& out);

// The value of the "axial" key of the results file: null without axial records.
void AxialJson(JsonWriter& w, const AxialPlotResults& a, int unitSystem);

// The HTML section: capacities, the load-settlement chart and the charts of
// axial force, movement and mobilised shaft friction against depth; empty
// without axial records.
std::string AxialHtml(const AxialPlotResults& a, int unitSystem);

}  // namespace kestro::results
