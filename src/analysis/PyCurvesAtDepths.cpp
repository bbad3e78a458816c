// p-y curves printed at the depths the user asked for, after load case 1.

#include <algorithm>
#include <array>
#include <cstddef>
#include <ostream>

#include "analysis/LoadCases.h"
#include "analysis/Stations.h"
#include "model/Channels.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/ResultsReport.h"
#include "soil/PyCriteria.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Stations of the pile as built for the load cases, restored after the
// temporary stations of the printed curves.
void RestoreStations() {
    PileModel& P = Pile;
    const int n = Problem.Options.NumIncrements;
    if (n < 1 || n > MaxIncrements) return;
    P.NumStations = n + 1;
    P.Spacing = P.Length / static_cast<double>(n);
    for (int i = 1; i <= P.NumStations; ++i) P.x[St(i)] = static_cast<double>(i - 1) * P.Spacing;
    P.x[St(P.NumStations)] = P.Length;
    AssignLayers();
    AssignSections();
}

}  // namespace

void PrintPyCurvesAtDepths() {
    PileModel& P = Pile;
    const int nd = std::min(std::max(Problem.NumPrintedPyDepths, 0), MaxPrintedPyDepths);
    std::ostream& out = ReportOut();
    WritePyCurvesHeading(out);

    // Every depth must be at or below the ground surface; the first one above
    // it is reported and no curve is printed.
    for (int i = 1; i <= nd; ++i) {
        const double d = Problem.PrintedPyDepth[U(i)];
        if (d < Problem.GroundDepth) {
            WriteDepthAboveGround(out, i, d, Problem.GroundDepth);
            WriteDepthAboveGround(MessageOut(), i, d, Problem.GroundDepth);
            WritePlotLine7NoCurve(PlotOut(), d);
            RestoreStations();
            return;
        }
    }

    // Temporary stations at the depths in ascending order; depths below the
    // pile tip have no soil spring and get a curve record without points.
    static std::array<double, MaxPrintedPyDepths + 1> depths;
    for (int i = 1; i <= nd; ++i) depths[U(i)] = Problem.PrintedPyDepth[U(i)];
    std::stable_sort(depths.begin() + 1, depths.begin() + 1 + nd);
    int m = 0;
    while (m < nd && depths[U(m + 1)] <= P.Length) ++m;
    for (int i = 1; i <= m; ++i) P.x[St(i)] = depths[U(i)];

    if (m >= 1) {
        AssignLayersAlongPile(m);
        const int NL = Problem.NumLayers < MaxSoilLayers ? Problem.NumLayers : MaxSoilLayers;
        for (int k = 1; k <= NL; ++k) {
            if (P.FirstStation[U(k)] < 1) continue;
            PrintLayerCurves(k);
            if (Failed()) break;
            out << "\n\n";
        }
    }
    if (!Failed())
        for (int i = m + 1; i <= nd; ++i) WritePlotLine7NoCurve(PlotOut(), depths[U(i)]);
    RestoreStations();
}

}  // namespace kestro
