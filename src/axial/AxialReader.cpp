// AXIAL ANALYSIS: the options of the axial load-transfer analysis, the head
// loads and the user t-z and q-z curves. Every value is checked here, where
// the line that holds it is known.

#include <cstddef>
#include <cstdio>
#include <string>

#include "axial/AxialModel.h"
#include "input/InputFile.h"
#include "input/ReaderSupport.h"
#include "input/ValueRanges.h"
#include "model/ProblemData.h"
#include "model/RunState.h"

namespace kestro {
namespace {

std::string Number(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

std::string LineText() { return "line " + std::to_string(InputLineNumber()); }

// Input Data Error 57: an option of the section outside its range.
void OptionOutOfRange(const std::string& what, const std::string& value, const std::string& range) {
    InputError(ErrAxialOption,
               "Problem:  AXIAL ANALYSIS, " + LineText() + ": " + what + " is " + value + ", outside " + range + ".",
               "Solution: Give " + what + " within " + range + ".");
}

// One labelled option line: the label and one value.
bool ReadLabelled(const char* label, std::string& word) {
    std::string found;
    if (!ReadList(std::string("the ") + label + " line of AXIAL ANALYSIS", {found, word})) return false;
    if (found != label) {
        InputError(ErrAxialOption,
                   "Problem:  AXIAL ANALYSIS, " + LineText() + " begins with \"" + found + "\" where the option " +
                       label + " was expected.",
                   "Solution: Write the options of AXIAL ANALYSIS in their order: PipeTip, ResidualRatio, "
                   "CapacityFraction, CurveSteps.");
        return false;
    }
    return true;
}

bool ReadLabelledReal(const char* label, double& value) {
    std::string text;
    if (!ReadLabelled(label, text)) return false;
    if (!ParseReal(text, value)) {
        InputError(ErrUnreadableValue,
                   "Problem:  AXIAL ANALYSIS, " + LineText() + ": \"" + text + "\" is not a number (option " + label +
                       ").",
                   std::string("Solution: Give the value of ") + label + " as a number.");
        return false;
    }
    return true;
}

// A user curve: z strictly ascending from zero or more, t from zero and never
// falling. Input Data Error 58 names the layer, the line and the value.
bool ReadUserCurve(AxialUserCurve& c, int number) {
    std::string kind;
    if (!ReadList("the layer, kind and number of points of axial user curve " + std::to_string(number),
                  {c.Layer, kind, c.NumPoints}))
        return false;
    c.InputLine = InputLineNumber();
    const std::string where = "AXIAL ANALYSIS, user curve " + std::to_string(number) + " (" + LineText() + ")";
    if (c.Layer < 1 || c.Layer > Problem.NumLayers) {
        InputError(ErrAxialUserCurve,
                   "Problem:  " + where + " names soil layer " + std::to_string(c.Layer) + "; the input has " +
                       std::to_string(Problem.NumLayers) + " soil layers.",
                   "Solution: Give the number of a soil layer of SOIL LAYERS (which must come before AXIAL "
                   "ANALYSIS).");
        return false;
    }
    bool known = false;
    for (bool tip : {false, true})
        for (int position : {AxialCurveWholeLayer, AxialCurveTop, AxialCurveBottom})
            if (kind == AxialCurveKindText(tip, position)) {
                c.b_Tip = tip;
                c.Position = position;
                known = true;
            }
    if (!known) {
        InputError(ErrAxialUserCurve, "Problem:  " + where + " is of kind \"" + kind + "\".",
                   "Solution: Give TZ for a shaft (t-z) curve or QZ for a tip (q-z) curve over the whole layer, or "
                   "TZ-TOP and TZ-BOTTOM (QZ-TOP and QZ-BOTTOM) for the curves at the layer's top and bottom.");
        return false;
    }
    if (!CountWithin(c.NumPoints, 2, MaxUserCurvePoints, "points of axial user curve " + std::to_string(number)))
        return false;
    for (int j = 1; j <= c.NumPoints; ++j) {
        const std::size_t uj = static_cast<std::size_t>(j);
        if (!ReadList("point " + std::to_string(j) + " of axial user curve " + std::to_string(number),
                      {c.Z[uj], c.T[uj]}))
            return false;
        const std::string at = "Problem:  Soil layer " + std::to_string(c.Layer) + ", " + kind + " curve, point " +
                               std::to_string(j) + " (" + LineText() + "): ";
        const std::string solution =
            "Solution: Give the points with the movement rising from zero and the resistance never falling, from "
            "zero at zero movement.";
        if (c.Z[uj] < 0.0 || c.T[uj] < 0.0 || (j == 1 && c.Z[uj] == 0.0 && c.T[uj] != 0.0)) {
            InputError(ErrAxialUserCurve,
                       at + "movement " + Number(c.Z[uj]) + " and resistance " + Number(c.T[uj]) +
                           ": negative, or a resistance at zero movement.",
                       solution);
            return false;
        }
        if (j > 1 && !(c.Z[uj] > c.Z[uj - 1])) {
            InputError(ErrAxialUserCurve,
                       at + "the movement " + Number(c.Z[uj]) + " does not rise above " + Number(c.Z[uj - 1]) + ".",
                       solution);
            return false;
        }
        if (j > 1 && c.T[uj] < c.T[uj - 1]) {
            InputError(ErrAxialUserCurve,
                       at + "the resistance " + Number(c.T[uj]) + " falls below " + Number(c.T[uj - 1]) + ".",
                       solution);
            return false;
        }
    }
    return true;
}

}  // namespace

void ReadAxialAnalysis() {
    AxialInputData& A = AxialInput;
    A = AxialInputData{};
    A.b_Requested = true;
    A.KeywordLine = InputLineNumber();

    std::string tip;
    if (!ReadLabelled("PipeTip", tip)) return;
    if (tip == "PLUGGED") {
        A.TipCondition = AxialTipPlugged;
    } else if (tip == "UNPLUGGED") {
        A.TipCondition = AxialTipUnplugged;
    } else if (tip == "CLOSED") {
        A.TipCondition = AxialTipClosed;
    } else {
        OptionOutOfRange("the pipe tip condition", "\"" + tip + "\"", "PLUGGED, UNPLUGGED or CLOSED");
        return;
    }
    if (!ReadLabelledReal("ResidualRatio", A.ResidualRatio)) return;
    if (!(A.ResidualRatio >= 0.7 && A.ResidualRatio <= 1.0)) {
        OptionOutOfRange("the residual ratio of the clay t-z curve", Number(A.ResidualRatio), "0.7 to 1.0");
        return;
    }
    if (!ReadLabelledReal("CapacityFraction", A.CapacityFraction)) return;
    if (!(A.CapacityFraction > 0.0 && A.CapacityFraction < 1.0)) {
        OptionOutOfRange("the fraction of the capacity for the reported movement", Number(A.CapacityFraction),
                         "0 to 1 (both excluded)");
        return;
    }
    double steps = 0.0;
    if (!ReadLabelledReal("CurveSteps", steps)) return;
    if (!(steps >= 1.0 && steps <= MaxAxialCurveSteps) || steps != static_cast<double>(static_cast<int>(steps))) {
        OptionOutOfRange("the number of steps of the load-settlement curve", Number(steps),
                         "1 to " + std::to_string(MaxAxialCurveSteps) + " (a whole number)");
        return;
    }
    A.CurveSteps = static_cast<int>(steps);

    int n = 0;
    if (!ReadList("the number of axial head loads", {n})) return;
    if (!CountWithin(n, 0, MaxAxialHeadLoads, "axial head loads")) return;
    for (int i = 1; i <= n; ++i) {
        int number = 0;
        if (!ReadList("axial head load " + std::to_string(i), {number, A.HeadLoads[static_cast<std::size_t>(i)]}))
            return;
        if (number != i) {
            OptionOutOfRange("the number of head load " + std::to_string(i), std::to_string(number),
                             "the order of the loads (" + std::to_string(i) + ")");
            return;
        }
        // Compression or uplift, bounded as the lateral run's axial loads.
        if (!CheckField("the axial load of axial head load " + std::to_string(i),
                        A.HeadLoads[static_cast<std::size_t>(i)]))
            return;
        A.NumHeadLoads = i;
    }
    int m = 0;
    if (!ReadList("the number of axial user curves", {m})) return;
    if (!CountWithin(m, 0, MaxAxialUserCurves, "axial user curves")) return;
    for (int k = 1; k <= m; ++k) {
        AxialUserCurve& c = A.UserCurves[static_cast<std::size_t>(k)];
        if (!ReadUserCurve(c, k)) return;
        // One curve per layer and kind: for the whole layer, or at its top
        // and at its bottom, not both.
        for (int j = 1; j < k; ++j) {
            const AxialUserCurve& o = A.UserCurves[static_cast<std::size_t>(j)];
            if (o.Layer != c.Layer || o.b_Tip != c.b_Tip) continue;
            const bool repeat = o.Position == c.Position;
            if (!repeat && o.Position != AxialCurveWholeLayer && c.Position != AxialCurveWholeLayer) continue;
            const std::string base = c.b_Tip ? "QZ" : "TZ";
            InputError(ErrAxialUserCurve,
                       "Problem:  AXIAL ANALYSIS, user curve " + std::to_string(k) + " (line " +
                           std::to_string(c.InputLine) + ") " + (repeat ? "repeats" : "adds") + " the " +
                           AxialCurveKindText(c.b_Tip, c.Position) + " curve of soil layer " +
                           std::to_string(c.Layer) + (repeat ? " (user curve " : " to its " +
                           std::string(AxialCurveKindText(o.b_Tip, o.Position)) + " curve (user curve ") +
                           std::to_string(j) + ", line " + std::to_string(o.InputLine) + ").",
                       "Solution: Give each soil layer at most one " + base + " curve for the whole layer, or one " +
                           base + "-TOP and one " + base + "-BOTTOM curve.");
            return;
        }
        A.NumUserCurves = k;
    }
    // A curve at a layer's top needs the one at its bottom, and the reverse.
    for (int k = 1; k <= A.NumUserCurves; ++k) {
        const AxialUserCurve& c = A.UserCurves[static_cast<std::size_t>(k)];
        if (c.Position == AxialCurveWholeLayer) continue;
        const int other = c.Position == AxialCurveTop ? AxialCurveBottom : AxialCurveTop;
        bool paired = false;
        for (int j = 1; j <= A.NumUserCurves; ++j) {
            const AxialUserCurve& o = A.UserCurves[static_cast<std::size_t>(j)];
            paired = paired || (o.Layer == c.Layer && o.b_Tip == c.b_Tip && o.Position == other);
        }
        if (paired) continue;
        InputError(ErrAxialUserCurve,
                   "Problem:  AXIAL ANALYSIS, user curve " + std::to_string(k) + " (line " +
                       std::to_string(c.InputLine) + ") gives the " + AxialCurveKindText(c.b_Tip, c.Position) +
                       " curve of soil layer " + std::to_string(c.Layer) + " but no " +
                       AxialCurveKindText(c.b_Tip, other) + " curve.",
                   std::string("Solution: Give the layer's ") + AxialCurveKindText(c.b_Tip, other) +
                       " curve too (the curve between them is interpolated by depth), or one " +
                       (c.b_Tip ? "QZ" : "TZ") + " curve for the whole layer.");
        return;
    }
}

const char* AxialCurveKindText(bool tip, int position) {
    switch (position) {
        case AxialCurveTop: return tip ? "QZ-TOP" : "TZ-TOP";
        case AxialCurveBottom: return tip ? "QZ-BOTTOM" : "TZ-BOTTOM";
        default: return tip ? "QZ" : "TZ";
    }
}

}  // namespace kestro
