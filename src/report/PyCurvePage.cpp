#include "report/PyCurvePage.h"

#include "model/HeldResults.h"

#include <ostream>
#include <string>

#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/Format.h"
#include "report/PlotFile.h"
#include "soil/PyCriteria.h"

namespace kestro {

namespace {
std::string Pad(std::string_view s, int w) {
    std::string t(s);
    if (static_cast<int>(t.size()) < w) t.append(static_cast<std::size_t>(w) - t.size(), ' ');
    return t;
}
}  // namespace

void WritePyTitle(std::ostream& out, std::string_view title) { out << "\n\n" << title << "\n\n"; }

void WritePyValue(std::ostream& out, std::string_view label, int labelWidth, double v, int decimals,
                  std::string_view unit) {
    out << Pad(label, labelWidth) << "= " << FixedText(v, 12, decimals);
    if (!unit.empty()) out << ' ' << unit;
    out << '\n';
}

void WritePyInteger(std::ostream& out, std::string_view label, int labelWidth, long long v, int width) {
    out << Pad(label, labelWidth) << "= " << FormatIntegerText(v, width) << '\n';
}

void WritePyLayerAndDepths(std::ostream& out, int labelWidth, int layer, double depthBelowHead, double z) {
    WritePyInteger(out, "Soil Layer Number", labelWidth, layer, 12);
    WritePyValue(out, "Depth below pile head", labelWidth, depthBelowHead, 3, Run.Labels.Length);
    WritePyValue(out, "Depth below ground surface", labelWidth, z, 3, Run.Labels.Length);
}

void WritePyHeading(std::ostream& out, std::string_view gap, std::string_view hyphens) {
    const std::string_view len = Run.Labels.Length.substr(0, Run.Labels.Length.size() < 2 ? Run.Labels.Length.size() : 2);
    out << "        y, " << len << gap << "p, " << Run.Labels.ForcePerLength << '\n' << hyphens << '\n';
}

void WritePyRow(std::ostream& out, double y, double p) {
    WriteBlanks(out, 3);
    FormatNumber(out, y, 12);
    WriteBlanks(out, 5);
    FormatNumber(out, p, 12);
    EndLine(out);
}

void WritePyLine7(std::ostream& plot, const PyCurveTable& t) {
    WritePlotRecord(plot, PlotReal(t.Depth) + FormatIntegerText(MaxPyPoints, 5),
                    "Line 7:  p-y curve depth in " + std::string(t.Line7Soil) + ", no. p-y points on curve no. " +
                        MinimalInteger(t.CurveNumber));
}

void WritePyLine8(std::ostream& plot, const PyCurveTable& t, int point) {
    const std::size_t n = static_cast<std::size_t>(point);
    std::string values = PlotReal(t.Y[n]) + PlotReal(t.P[n]) + std::string(static_cast<std::size_t>(t.Line8Gap), ' ');
    const std::string label = "Line 8(" +
                              (t.b_MinimalPointNumber ? MinimalInteger(point) : FormatIntegerText(point, 2)) +
                              "): y, p, for " + std::string(t.Line8Soil);
    plot << values << label << '\n';
    HoldPlotRecord(values, label);
}

BasicPyPage BasicPageOf(const PyPoint& pt, std::string_view line7Soil, std::string_view line8Soil) {
    BasicPyPage page{};
    page.Layer = pt.Layer;
    page.DepthBelowHead = Problem.GroundDepth + pt.Z;
    page.Z = pt.Z;
    page.B = pt.B;
    page.PMult = pt.PMult;
    page.YMult = pt.YMult;
    page.Curve.Depth = pt.Depth;
    page.Curve.CurveNumber = pt.Station;
    page.Curve.Line7Soil = line7Soil;
    page.Curve.Line8Soil = line8Soil;
    return page;
}

void WritePyRowsAndRecords(std::ostream& out, std::ostream& plot, const PyCurveTable& t) {
    for (int n = 1; n <= MaxPyPoints; ++n) {
        const std::size_t k = static_cast<std::size_t>(n);
        WritePyRow(out, t.Y[k], t.P[k]);
    }
    WritePyLine7(plot, t);
    for (int n = 1; n <= MaxPyPoints; ++n) WritePyLine8(plot, t, n);
}

std::string PyHeadingGapTo(int column) {
    const std::string_view len = Run.Labels.Length;
    const int used = 11 + static_cast<int>(len.size() < 2 ? len.size() : 2);
    return std::string(static_cast<std::size_t>(column - 1 > used ? column - 1 - used : 1), ' ');
}

std::string_view StressUnitText() {
    switch (Problem.Options.UnitSystem) {
        case UnitsSI: return "kPa";
        case UnitsGeneral: return "F/L2";
        default: return "psi";
    }
}

std::string_view UnitWeightUnitText() {
    switch (Problem.Options.UnitSystem) {
        case UnitsSI: return "kN/m3";
        case UnitsGeneral: return "F/L3";
        default: return "pci";
    }
}

std::string_view ModulusUnitText() {
    switch (Problem.Options.UnitSystem) {
        case UnitsSI: return "kN/m2";
        case UnitsGeneral: return "F/L2";
        default: return "lb/in2";
    }
}

}  // namespace kestro
