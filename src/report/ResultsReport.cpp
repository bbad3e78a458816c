#include "report/ResultsReport.h"

#include <cmath>
#include <ostream>
#include <string>

#include "model/Errors.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/Format.h"
#include "report/PlotFile.h"

namespace kestro {
namespace {

const std::string Dashes(80, '-');

void PadTo(std::string& s, std::size_t column) {
    // Continue at `column` (1-based): blanks up to column - 1.
    if (s.size() + 1 < column) s.append(column - 1 - s.size(), ' ');
}

std::string Unit(std::string_view label) { return std::string(label); }

// A label, "= " ending at column 55 and the value from column 56.
void ConditionLine(std::ostream& out, const std::string& label, const std::string& value, const std::string& unit) {
    std::string s = label;
    PadTo(s, 54);
    out << s << "= " << value << unit << '\n';
}

double PlotValue(double v) { return std::fabs(v) < 1.0E-20 ? 0.0 : v; }

}  // namespace

// A progress value in 12 columns with 4 decimals; a value too large for the
// fixed field (a diverging solution) in scientific notation instead of asterisks.
namespace {
std::string ProgressValue(double v) { return FixedOrScientificText(v, 12, 4); }
}  // namespace

std::string ProgressLine(int loadCase, int iteration, double yTop, double dymax) {
    std::string s = "Analysis Case " + MinimalInteger(loadCase) + ",";
    PadTo(s, 20);
    s += "Iteration " + MinimalInteger(iteration) + ",";
    PadTo(s, 36);
    s += "Y(top) = " + ProgressValue(yTop) + ", dYmax = " + ProgressValue(dymax);
    return s;
}

std::string IterationReportLine(int iteration, double yTop, double dymax) {
    std::string s = "Iteration " + MinimalInteger(iteration) + ",";
    PadTo(s, 16);
    s += " Y(top) = " + ProgressValue(yTop) + ", dYmax = " + ProgressValue(dymax);
    return s;
}

void WriteRuntimeError9(std::ostream& out, double y, double limit, double depth) {
    const std::string unit = Unit(Run.Labels.Length);
    WriteLines(out, {"", "", "**** Runtime Error No. 9 ****", "An error in the analysis was detected by the program.  ",
                     "Problem:  The computed deflection is larger than the specified excess deflection limit."});
    if (depth < 0.0) {
        out << "The computed deflection of the pile head is " << FixedOrScientificText(std::fabs(y), 12, 4) << ' ' << unit << '\n';
    } else {
        out << "The largest computed deflection, at " << FixedOrScientificText(depth, 12, 4) << ' ' << unit
            << " below the pile head, is\n";
        out << "                                            " << FixedOrScientificText(std::fabs(y), 12, 4) << ' '
            << unit << '\n';
    }
    out << "The specified excess deflection limit is    " << FixedOrScientificText(limit, 12, 4) << ' ' << unit << '\n';
    WriteLines(out, {"This error may be due to overloading the pile or bad input data.", "Solution:",
                     "Please check input values for pile loading and soil properties for accuracy and/or ",
                     "increase the size of the pile if necessary."});
}

void WriteRuntimeError10(std::ostream& out, int maxIterations, double dymax, double tolerance) {
    const std::string unit = Unit(Run.Labels.Length);
    WriteLines(out, {"", "", "**** Runtime Error No. 10 ****"});
    out << "The analysis failed to converge within the limit of " << MinimalInteger(maxIterations)
        << " iterations.\n\n";
    out << "Maximum change in deflection    = " << FixedText(dymax, 10, 3) << ' ' << unit << '\n';
    // Scientific, so that a tolerance of the usual order (1.0E-5) keeps its digits.
    out << "Specified convergence tolerance = " << ScientificText(tolerance, 10, 3) << ' ' << unit << '\n';
}

void WriteEquilibriumError(std::ostream& out, int loadCase, double momentImbalance, double forceImbalance,
                           double relative) {
    WriteLines(out, {"", "", "**** Runtime Error No. 35 ****",
                     "Problem:  The solution of load case " + MinimalInteger(loadCase) +
                         " does not satisfy equilibrium: its force or moment imbalance",
                     "          is " + FixedOrScientificText(100.0 * relative, 12, 4) +
                         " % of the largest force or moment of the case."});
    out << "          Maximum internal moment imbalance        = " << ScientificText(momentImbalance, 12, 5) << ' '
        << Unit(Run.Labels.Moment) << '\n';
    out << "          Maximum internal lateral force imbalance = " << ScientificText(forceImbalance, 12, 5) << ' '
        << Unit(Run.Labels.Force) << '\n';
    WriteLines(out, {"Solution: Check the soil moduli and the pile's stiffness for values far outside",
                     "          their physical range, or increase the number of pile increments."});
}

void WriteComputationError28(std::ostream& out, int iteration) {
    out << "**** COMPUTATION ERROR 28 ****\n"
        << "Either top deflection or DYMAX is not a number after iteration " << MinimalInteger(iteration) << '\n';
}

namespace {
std::string Trimmed(const std::string& s) {
    const auto a = s.find_first_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a);
}
}  // namespace

void WriteNonFiniteResult(std::ostream& out, int loadCase, ResultQuantity q, int station, double depth,
                          double value) {
    static constexpr const char* Names[] = {"deflection",    "slope",        "bending moment",
                                            "shear force",   "soil reaction", "total stress",
                                            "bending stiffness EI", "soil modulus Es"};
    const char* name = Names[static_cast<int>(q)];
    WriteLines(out, {"", "", "**** Runtime Error No. 46 ****", ""});
    std::string unit = Unit(Run.Labels.Length);
    while (!unit.empty() && unit.back() == ' ') unit.pop_back();
    out << "Problem:  The computed " << name << " of load case " << MinimalInteger(loadCase) << " at node "
        << MinimalInteger(station) << " (depth " << Trimmed(FixedText(depth, 12, 3)) << ' ' << unit << ") is " << (std::isnan(value) ? "not a number" : "infinite") << ".\n"
        << "          No result of this load case is reported.\n\n"
        << "Solution: Check the input values of the pile (moduli, areas, moments of inertia, dimensions),\n"
        << "          the soil and the loading for zero, negative or extreme values.\n";
}

void WriteUnprintableValues(std::ostream& out, int count) {
    WriteLines(out, {"", "", "**** Runtime Error No. 47 ****", ""});
    out << "Problem:  " << MinimalInteger(count)
        << " value(s) of this run could not be written as finite numbers of their field\n"
        << "          (NaN, Infinity or asterisks in the report or plot file).\n\n"
        << "Solution: Check the input echo for zero, negative or extreme values and correct them.\n";
}

void WriteCaseHeading(std::ostream& out, int loadCase, bool lrfd, std::string_view name) {
    out << "\n\n" << Dashes << '\n';
    out << std::string(17, ' ') << "Computed Values of Pile Loading and Deflection\n";
    if (lrfd)
        out << std::string(17, ' ') << "for Lateral Loading for LRFD Load Case Number " << MinimalInteger(loadCase)
            << '\n';
    else
        out << std::string(19, ' ') << "for Lateral Loading for Load Case Number " << MinimalInteger(loadCase) << '\n';
    out << Dashes << "\n\n";
    if (lrfd) out << "Load Case No. " << MinimalInteger(loadCase) << ":  " << name << "\n\n";
}

void WriteHeadConditions(std::ostream& out, int loadType, double c1, double c2, double axial) {
    if (!IsUS() && !IsSI()) return;
    const bool us = IsUS();
    auto F3 = [](double v) { return FixedOrScientificText(v, 15, 3); };
    auto F6 = [](double v) { return FixedOrScientificText(v, 15, 6); };
    auto E = [](double v) { return ScientificText(v, 15, 4); };
    switch (loadType) {
        case 1:
            out << "Pile-head conditions are Shear and Moment (Loading Type 1)\n\n";
            ConditionLine(out, "Horizontal shear force at pile head", F3(c1), us ? " lbs" : " kN");
            ConditionLine(out, "Applied moment at pile head        ", F3(c2), us ? " in-lbs" : " kN-m");
            ConditionLine(out, "Axial thrust load on pile head     ", F3(axial), us ? " lbs" : " kN");
            break;
        case 2:
            out << "Pile-head conditions are Shear and Pile-head Rotation (Loading Type 2)\n\n";
            ConditionLine(out, "Shear force at pile head", F3(c1), us ? " lbs" : " kN");
            ConditionLine(out, "Rotation of pile head   ", E(c2), " radians");
            ConditionLine(out, "Axial load at pile head ", F3(axial), us ? " lbs" : " kN");
            out << '\n';
            if (std::fabs(c2) < 1.0E-10)
                out << "(Zero slope for this load indicates fixed-head conditions)\n";
            else
                out << "(Non-zero slope for this load does indicates rotated pile-head condition)\n";
            break;
        case 3:
            out << "Pile-head conditions are Shear and Rotational Stiffness (Loading Type 3)\n\n";
            ConditionLine(out, "Shear force at pile head", F3(c1), us ? " lb" : " kN");
            ConditionLine(out, "Rotational stiffness    ", F3(c2), us ? " in-lb/rad" : " kN-m/rad");
            ConditionLine(out, "Axial load at pile head ", F3(axial), us ? " lbs" : " kN");
            break;
        case 4:
            out << "Pile-head conditions are Displacement and Moment (Loading Type 4)\n\n";
            ConditionLine(out, "Displacement of pile head", F6(c1), us ? " inches" : " meters");
            ConditionLine(out, "Moment at pile head      ", F3(c2), us ? " in-lbs" : " kN-m");
            ConditionLine(out, "Axial load at pile head  ", F3(axial), us ? " lbs" : " kN");
            break;
        case 5:
            out << "Pile-head conditions are Displacement and Pile-head Rotation (Loading Type 5)\n\n";
            ConditionLine(out, "Displacement of pile head", F6(c1), us ? " inches" : " meters");
            ConditionLine(out, "Rotation of pile head    ", E(c2), " radians");
            ConditionLine(out, "Axial load on pile head  ", F3(axial), us ? " lbs" : " kN");
            break;
        default:
            break;
    }
    out << '\n';
}

void WriteResultsTableHeading(std::ostream& out) {
    out << "   Depth    Deflect.    Bending    Shear       Slope      Total    Bending   Soil Res.  Soil Spr.   "
           "Distrib. \n";
    out << "     X         y        Moment     Force         S       Stress   Stiffness      p         Es*h    "
           "Lat. Load \n";
    if (IsSI())
        out << "   meters    meters      kN-m       kN        radians     kPa*      kN-m^2     kN/m        kN/m      "
               "kN/m    \n";
    else if (IsGeneral())
        out << "   L         L          F-L         F         radians     F/L2*     F-L2       F/L        F/L        "
               "F/L     \n";
    else
        out << "   inches    inches     in-lbs      lbs       radians     psi*      lb-in^2    lb/in      lb/inch    "
               "lb/inch \n";
    out << std::string(10, '-');
    for (int k = 0; k < 9; ++k) out << ' ' << std::string(10, '-');
    out << '\n';
}

void WriteResultsRow(std::ostream& out, const ResultsRow& r) {
    FormatNumber(out, r.x, 10);
    for (double v : {r.y, r.M, r.V, r.S, r.Stress, r.EI, r.p, r.SpringEsH, r.W}) FormatNumber(out, v, 11);
    EndLine(out);
}

void WriteNonlinearStressNote(std::ostream& out) {
    WriteLines(out,
               {"", "* This analysis makes computations of pile response using nonlinear moment-curvature relationships. ",
                "  The above values of total stress are computed for combined axial stress and do not equal the ",
                "  actual stresses in concrete and steel in the range of nonlinear bending. "});
}

void WriteEquilibriumVerified(std::ostream& out) {
    WriteLines(out, {"", "Output Verification: Computed forces and moments are within specified convergence limits."});
}

void WriteEquilibriumWarning(std::ostream& report, std::ostream& messages, double momentImbalance,
                             double forceImbalance) {
    const std::string mUnit = " " + Unit(Run.Labels.Moment);
    const std::string fUnit = " " + Unit(Run.Labels.Force);
    const std::string body[] = {"Force and moment imbalances may be too large for a good solution.",
                                "The cause of the imbalance may be due to extreme changes in magnitude",
                                "of nonlinear bending stiffness within three nodal points of the top of the pile",
                                "which may affect the finite difference computation of shear force.",
                                "Please examine curves and printed output for deflection, moment, shear force,",
                                "and number of iterations to determine if computed values are reasonable.",
                                "If the shear force shows large changes, increase the number of nodal points",
                                "(pile increments) and repeat the analysis."};
    report << "\n**** Warning - POSSIBLE SOLUTION ERROR 5501 ****\n";
    for (const auto& l : body) report << l << '\n';
    report << "Maximum internal moment imbalance for pile        = " << ScientificText(momentImbalance, 12, 5)
           << mUnit << '\n';
    report << "Maximum internal lateral force imbalance for pile = " << ScientificText(forceImbalance, 12, 5)
           << fUnit << '\n';
    messages << "\n**** Warning - Possible Solution Error 550 ****\n";
    for (const auto& l : body) messages << l << '\n';
    messages << "Maximum internal moment imbalance for pile solution         = "
             << ScientificText(momentImbalance, 12, 5) << mUnit << '\n';
    messages << "Maximum internal lateral force imbalance for pile  solution = "
             << ScientificText(forceImbalance, 12, 5) << fUnit << '\n';
}

void WriteOutputSummary(std::ostream& out, int loadCase, double yTop, double slope, double maxMoment,
                        double maxShear, double depthMaxMoment, double depthMaxShear, int iterations,
                        int zeroPoints) {
    out << "\nOutput Summary for Load Case No. " << MinimalInteger(loadCase) << ":\n\n";
    auto line = [&out](const char* label, double v, std::string_view unit) {
        out << label;
        FormatNumber(out, v, 14);
        out << unit << '\n';
    };
    line("Pile-head deflection             = ", yTop, ByUnits(" inches", " meters", " L"));
    line("Computed slope at pile head      = ", slope, " radians");
    line("Maximum bending moment           = ", maxMoment, ByUnits(" inch-lbs", " kN-m", " F-L"));
    line("Maximum shear force              = ", maxShear, ByUnits(" lbs", " kN", " F"));
    line("Depth of maximum bending moment  = ", depthMaxMoment,
         ByUnits(" inches below pile head", " meters below pile head", " L below pile head"));
    line("Depth of maximum shear force     = ", depthMaxShear,
         ByUnits(" inches below pile head", " meters below pile head", " L below pile head"));
    out << "Number of iterations             = " << FormatIntegerText(iterations, 14) << '\n';
    out << "Number of zero deflection points = " << FormatIntegerText(zeroPoints, 14) << '\n';
}

void WriteSummaryHeading(std::ostream& out, bool lrfd) {
    const bool si = IsSI();
    out << "\n\n\n" << Dashes << '\n' << std::string(27, ' ') << "Summary of Pile Response(s)\n" << Dashes << "\n\n";
    out << "Definitions of Pile-head Loading Conditions:\n\n";
    if (si) {
        WriteLines(out, {"Load Type 1: Load 1 = Shear, kN, and Load 2 = Moment, kN-m ",
                         "Load Type 2: Load 1 = Shear, kN, and Load 2 = Slope, radians",
                         "Load Type 3: Load 1 = Shear, kN, and Load 2 = Rotational Stiffness, kN-m/radian",
                         "Load Type 4: Load 1 = Top Deflection, m, and Load 2 = Moment, kN-m",
                         "Load Type 5: Load 1 = Top Deflection, m, and Load 2 = Slope, radians"});
    } else if (IsGeneral()) {
        WriteLines(out, {"Load Type 1: Load 1 = Shear, F, and Load 2 = Moment, F-L",
                         "Load Type 2: Load 1 = Shear, F, and Load 2 = Slope, radians",
                         "Load Type 3: Load 1 = Shear, F, and Load 2 = Rotational Stiffness, F-L/radian",
                         "Load Type 4: Load 1 = Top Deflection, L, and Load 2 = Moment, F-L",
                         "Load Type 5: Load 1 = Top Deflection, L, and Load 2 = Slope, radians"});
    } else {
        WriteLines(out, {"Load Type 1: Load 1 = Shear, lbs, and Load 2 = Moment, in-lbs",
                         "Load Type 2: Load 1 = Shear, lbs, and Load 2 = Slope, radians",
                         "Load Type 3: Load 1 = Shear, lbs, and Load 2 = Rotational Stiffness, in-lbs/radian",
                         "Load Type 4: Load 1 = Top Deflection, inches, and Load 2 = Moment, in-lbs",
                         "Load Type 5: Load 1 = Top Deflection, inches, and Load 2 = Slope, radians"});
    }
    out << '\n';
    if (lrfd) {
        WriteLines(out, {"Load  Load      Pile-head     Pile-head         Axial        Pile-head       Maximum        "
                         "Maximum       Pile-Head  ",
                         "Case  Type        Shear         Moment           Load        Deflection       Moment         "
                         "Shear        Rotation    "});
        if (si)
            out << " No.   No.    kilonewtons        kN-m             kN           meters          kN-m           kN  "
                   "         radians   \n";
        else if (IsGeneral())
            out << " No.   No.         F            F-L              F            L               F-L             F    "
                   "        radians   \n";
        else
            out << " No.   No.         lbs          in-lbs           lbs          inches          in-lbs          lbs  "
                   "        radians   \n";
    } else {
        out << "               Pile-head      Pile-head \n";
        if (si) {
            WriteLines(out, {"Load  Load    Condition 1    Condition 2        Axial        Pile-head       Maximum        "
                             "Maximum       Pile-head  ",
                             "Case  Type    V(kN) or       kN-m, rad.,       Loading      Deflection       Moment          "
                             "Shear        Rotation   ",
                             " No.   No.    y(meters)      or kN-m/rad.        kN           meters          kN-m            "
                             "kN           radians   "});
        } else if (IsGeneral()) {
            WriteLines(out, {"Load  Load    Condition 1    Condition 2        Axial        Pile-head       Maximum        "
                             "Maximum       Pile-head  ",
                             "Case  Type    V(F) or       F-L, rad.,         Loading      Deflection       Moment          "
                             "Shear        Rotation   ",
                             " No.   No.    y(L)          or F-L/rad.          F            L              F-L             "
                             " F            radians   "});
        } else {
            WriteLines(out, {"Load  Load    Condition 1    Condition 2        Axial        Pile-head       Maximum        "
                             "Maximum       Pile-head  ",
                             "Case  Type    V(lbs) or     in-lb, rad.,       Loading      Deflection       Moment          "
                             "Shear        Rotation   ",
                             " No.   No.    y(inches)     or in-lb/rad.        lbs          inches         in-lbs           "
                             "lbs          radians   "});
        }
    }
    out << "----  ----  --------------  --------------  -------------  -------------  -------------  -------------  "
           "-------------\n";
}

void WriteSummaryRow(std::ostream& out, int loadCase, int loadType, double c1, double c2, double axial,
                     double yTop, double maxMoment, double maxShear, double rotation) {
    static constexpr const char* Tag1[6] = {"    ? ? =", "    1   V =", "   2   V =", "    3   V =", "    4   y =",
                                            "   5   y ="};
    static constexpr const char* Tag2[6] = {"  ? =", "  M =", "  S =", "  R =", "  M =", "  S ="};
    const int t = loadType >= 1 && loadType <= 5 ? loadType : 0;
    out << FormatIntegerText(loadCase, 3) << ' ' << Tag1[t];
    FormatNumber(out, c1, 11);
    out << Tag2[t];
    FormatNumber(out, c2, 11);
    FormatNumber(out, axial, 15);
    FormatNumber(out, yTop, 15);
    FormatNumber(out, maxMoment, 15);
    out << "    ";
    FormatNumber(out, maxShear, 11);
    out << FixedText(rotation, 15, 8) << '\n';
}

namespace {
// Right ends of the columns of the LRFD performance table; the combination
// name follows the last one after two blanks.
constexpr std::size_t PerformanceColumnEnds[] = {5, 10, 19, 34, 49, 61, 74, 89, 104, 119};

std::string PerformanceHeadingLine(const std::array<std::string_view, 11>& labels) {
    std::string line;
    for (std::size_t c = 0; c < 10; ++c) {
        const std::size_t end = PerformanceColumnEnds[c];
        const std::string_view l = labels[c];
        if (line.size() + l.size() < end) line.append(end - l.size() - line.size(), ' ');
        line += l;
    }
    if (!labels[10].empty()) {
        line.append(121 - line.size(), ' ');
        line += labels[10];
    }
    return line;
}
}  // namespace

void WriteLrfdPerformanceHeading(std::ostream& out) {
    out << "\n\n\n" << Dashes << '\n' << std::string(19, ' ') << "LRFD Performance by Load Case Combination\n"
        << Dashes << "\n\n";
    out << PerformanceHeadingLine({"Load ", "Sect.", "Resist.", "Factored", "Maximum", "Mmax/", "Moment", "Maximum",
                                   "Pile-head", "Pile-head", "Load"})
        << '\n';
    out << PerformanceHeadingLine({"Comb.", "No.", "Factor", "Mom. Capacity", "Moment", "phi Mn", "Check", "Shear",
                                   "Deflection", "Rotation", "Combination"})
        << '\n';
    const std::string_view moment = ByUnits("in-lbs", "kN-m", "F-L");
    out << PerformanceHeadingLine({"", "", "", moment, moment, "", "", ByUnits("lbs", "kN", "F"),
                                   ByUnits("inches", "meters", "L"), "radians", ""})
        << '\n';
    std::string rule;
    std::size_t start = 1;
    for (std::size_t end : PerformanceColumnEnds) {
        if (start > 1) rule.append(2, ' ');
        rule.append(start == 1 ? end : end - start - 1, '-');
        start = end + 1;
    }
    out << rule << "  " << std::string(11, '-') << '\n';
}

void WriteLrfdPerformanceRow(std::ostream& out, const LrfdPerformanceRow& r, std::string_view name) {
    out << FormatIntegerText(r.Combination, 5) << FormatIntegerText(r.Section, 5) << "  "
        << FixedText(r.ResistanceFactor, 7, 3);
    if (r.b_Checked)
        FormatNumber(out, r.FactoredCapacity, 15);
    else
        out << "            N/A";
    FormatNumber(out, r.MaxMoment, 15);
    out << "  ";
    if (!r.b_Checked)
        out << "    N/A   ";
    else if (!(r.FactoredCapacity > 0.0))
        out << " Infinite ";
    else
        out << FixedText(r.MaxMoment / r.FactoredCapacity, 10, 4);
    if (!r.b_Checked)
        out << "    N/A      ";
    else
        out << (r.b_Passed ? "    Pass     " : "  > FAIL <   ");
    FormatNumber(out, r.MaxShear, 15);
    FormatNumber(out, r.HeadDeflection, 15);
    FormatNumber(out, r.HeadRotation, 15);
    out << "  " << name << '\n';
}

void WriteLrfdPerformanceClosing(std::ostream& out, int failedCombinations, int uncheckedRows) {
    out << '\n';
    if (failedCombinations > 0)
        out << MinimalInteger(failedCombinations) << " LRFD load combinations have failed.\n";
    else if (uncheckedRows > 0)
        out << "No LRFD load combination has failed; the moment capacity of sections without a nominal moment "
               "capacity was not checked.\n";
    else
        out << "All LRFD load combinations have passed for all pile sections.\n";
}

void WritePlotLine6(std::ostream& out, int numDepths) {
    WritePlotRecord(out, FormatIntegerText(numDepths, 5), "Line 6 : number of output p-y curves");
}

void WritePlotLine7NoCurve(std::ostream& out, double depth) {
    WritePlotRecord(out, PlotReal(depth) + FormatIntegerText(0, 5), "Line 7:  p-y curve depth, no. p-y points");
}

void WritePlotLine9(std::ostream& out, int numLoadCases, int numStations, int unitSystem) {
    WritePlotRecord(out,
                    FormatIntegerText(numLoadCases, 5) + FormatIntegerText(numStations, 5) +
                        FormatIntegerText(unitSystem, 5),
                    "Line 9:  No. loads, No. nodes, iunits: 1 = USCS, 2 = SI");
}

void WritePlotLine10(std::ostream& out, int station, double x, double y, double M, double V, double p) {
    std::string values;
    values.reserve(75);
    for (double v : {x, y, M, V, p}) values += PlotReal(PlotValue(v));
    WritePlotRecord(out, values, "Line 10(" + FormatIntegerText(station, 3) + "): nodal depth, y, M, V, p");
}

void WritePlotLine11NoStudy(std::ostream& out, int loadCase, bool lrfd) {
    WritePlotRecord(out, "    0",
                    std::string(lrfd ? "Line 11: Num. points on Ytop vs. Length curve for LRFD load case "
                                     : "Line 11: Num. points on Ytop vs. Length curve for load case ") +
                        MinimalInteger(loadCase));
}

void WritePlotLine13(std::ostream& out, double headShear, double yTop, double maxMoment, double maxShear) {
    WritePlotRecord(out, PlotReal(headShear) + PlotReal(yTop) + PlotReal(maxMoment) + PlotReal(maxShear),
                    "Line 13: TopV, TopY, Mmax, Vmax");
}

void WriteLrfdDistributedLoadTable(std::ostream& out, int k, const std::array<double, StationArraySize>& w,
                                   const std::array<double, StationArraySize>& x, int n) {
    static constexpr const char* Names[NumLrfdLoadTypes + 1] = {
        "", "Dead Loads", "Live Loads", "Earthquake Loads", "Impact Loads", "Wind Loads", "Water Loads", "Ice Loads",
        "Horizontal Soil Pressures", "Live Roof Loads", "Rain Loads", "Snow Loads", "Temperature Loads",
        "Special Loads"};
    if (k < 1 || k > NumLrfdLoadTypes) return;
    bool any = false;
    for (int i = 1; i <= n; ++i) any = any || w[static_cast<std::size_t>(i + StationOffset)] != 0.0;
    if (!any) return;
    std::string name = Names[k];
    name.resize(30, ' ');
    out << "\nDistributed Lateral Loads for LRFD:\n-----------------------------------\n\n"
        << "Sums of Distributed Lateral Load Per Unit Length due to " << name << '\n'
        << "   Depth     Distributed Load\n";
    std::string units = "    " + std::string(Run.Labels.Length);
    PadTo(units, 18);
    out << units << Run.Labels.ForcePerLength << '\n' << "----------   ----------------\n";
    for (int i = 1; i <= n; ++i) {
        const std::size_t s = static_cast<std::size_t>(i + StationOffset);
        if (w[s] == 0.0) continue;
        out << FixedText(x[s], 10, 2) << "   " << FixedText(w[s], 10, 2) << '\n';
    }
    out << '\n';
}

void WritePyCurvesHeading(std::ostream& out) {
    out << Dashes << '\n' << std::string(20, ' ') << "p-y Curves Reported for Specified Depths\n" << Dashes << '\n';
}

void WriteDepthAboveGround(std::ostream& out, int depthNumber, double depth, double groundDepth) {
    const std::string unit = Unit(Run.Labels.Length);
    out << "**** Input Data Error No. 23 (NON-FATAL) ****\n"
        << "p-y curves cannot be generated at depth number " << MinimalInteger(depthNumber) << '\n'
        << "This location is " << FixedText(depth, 9, 3) << ' ' << unit << " below the pile head and \n"
        << "is above the ground surface for this problem.\n"
        << "The ground surface is " << FixedText(groundDepth, 9, 3) << ' ' << unit << " below the top of the pile.\n";
}

}  // namespace kestro
