#include "report/StudyReport.h"

#include <cmath>
#include <ostream>
#include <string>
#include <string_view>

#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/Format.h"
#include "model/HeldResults.h"
#include "report/PlotFile.h"

namespace kestro {
namespace {

const std::string Dashes(80, '-');

void Line(std::ostream& out, std::string_view text) { out << text << '\n'; }

// One table of ten steps: the head movement (14 wide), then the shear and
// moment reactions and the two stiffness terms (16 wide), after the three
// heading lines and the rule.
void StepTable(std::ostream& out, std::string_view heading1, std::string_view heading2, std::string_view units,
               const StiffnessStep (&steps)[11], bool rotationSteps) {
    Line(out, heading1);
    Line(out, heading2);
    Line(out, units);
    Line(out, "  ------------  --------------  --------------  --------------  --------------");
    for (int k = 1; k <= 10; ++k) {
        const StiffnessStep& s = steps[k];
        FormatNumber(out, rotationSteps ? s.Rotation : s.Deflection, 14);
        const double row[4] = {rotationSteps ? s.RotShearReaction : s.ShearReaction,
                               rotationSteps ? s.RotMomentReaction : s.MomentReaction, rotationSteps ? s.K23 : s.K22,
                               rotationSteps ? s.K33 : s.K32};
        for (double v : row) FormatNumber(out, v, 16);
        EndLine(out);
    }
    out << '\n';
}

}  // namespace

void WriteStiffnessTables(std::ostream& out, const StiffnessStep (&steps)[11]) {
    out << "\n\n" << Dashes << '\n' << std::string(18, ' ') << "Computed Pile-head Stiffness Matrix Values\n"
        << std::string(20, ' ') << "K22, K23, K32, K33 for Pile  Head\n" << Dashes << "\n\n";
    StepTable(out, "    Pile-Top       Pile-Top        Pile-Top                                   ",
              "   Deflection   Shear Reaction   Moment React.       K22              K32     ",
              ByUnits("     inches          lbs            in-lbs          lb/in.         in-lb/in.  ",
                      "     meters           kN             kN-m            kN/m            kN-m/m   ",
                      "       L              F              F-L             F/L            F-L/L     "),
              steps, false);
    const bool si = IsSI();
    StepTable(out, "    Pile-Top       Pile-Top        Pile-Top                                  ",
              si ? "    Rotation     Shear React.    Moment React.       K23              K33     "
                 : "    Rotation     Shear React.    Moment React.       K23              K33    ",
              ByUnits("     radians          lbs            in-lbs         lb/rad         in-lb/rad ",
                      "     radians          kN             kN-m           kN/rad          kN-m/rad  ",
                      "     radians          F              F-L            F/rad          F-L/rad   "),
              steps, true);
    Line(out, "  K22 = abs(Shear Reaction/Top y)");
    Line(out, "  K23 = abs(Shear Reaction/Top Rotation)");
    Line(out, "  K32 = abs(Moment Reaction/Top y)");
    Line(out, "  K33 = abs(Moment Reaction/Top Rotation)");
}

void WritePlotLine14(std::ostream& out, double V, double M, double K22, double K23, double K32, double K33,
                     double yTop, double theta) {
    std::string values;
    for (double v : {V, M, K22, K23, K32, K33, yTop, theta}) values += PlotReal(v);
    static constexpr const char* Label = "Line 14: V, M, K22, K23, K32, K33, ytop, theta";
    out << values << "  " << Label << '\n';
    HoldPlotRecord(values, Label);
}

void WriteStiffnessNotComputed(std::ostream& out, int step) {
    out << "\nPile-head stiffness matrix values are not reported: generated load case " << MinimalInteger(step)
        << " of the stiffness study\n"
        << "exceeded the deflection limit or did not converge within the iteration limit.\n";
}

void WriteLengthStudyHeading(std::ostream& out, int loadCase, int loadType, double c1, double c2, double axial) {
    out << "\n\n" << Dashes << '\n' << std::string(12, ' ') << "Pile-head Deflection vs. Pile Length for Load Case "
        << MinimalInteger(loadCase) << '\n' << Dashes << "\n\n";
    auto trimmed = [](std::string_view label) {
        const auto end = label.find_last_not_of(' ');
        return std::string(label.substr(0, end == std::string_view::npos ? 0 : end + 1));
    };
    const std::string length = trimmed(Run.Labels.Length), force = trimmed(Run.Labels.Force),
                      moment = trimmed(Run.Labels.Moment);
    const std::string rotational = moment + "/rad";
    struct Block {
        const char* Title;
        const char* Label1;
        const char* Label2;
        const std::string* Unit1;
        const std::string* Unit2;
    };
    static const std::string radians = "radians";
    const Block blocks[6] = {
        {"Boundary Condition Type 1, Shear and Moment", "Shear      = ", "Moment     = ", &force, &moment},
        {"Boundary Condition Type 1, Shear and Moment", "Shear      = ", "Moment     = ", &force, &moment},
        {"Boundary Condition Type 2, Shear and Slope", "Shear      = ", "Slope      = ", &force, &radians},
        {"Boundary Condition Type 3, Shear and Rotational Restraint", "Shear      = ", "Rot. Rest. = ", &force,
         &rotational},
        {"Boundary Condition Type 4, Deflection and Moment", "Deflection = ", "Moment     = ", &length, &moment},
        {"Boundary Condition Type 5, Deflection and Slope", "Deflection = ", "Slope      = ", &length, &radians},
    };
    const Block& b = blocks[loadType >= 1 && loadType <= 5 ? loadType : 0];
    out << b.Title << "\n\n";
    out << b.Label1;
    FormatNumber(out, c1, 14);
    out << ' ' << *b.Unit1 << '\n' << b.Label2;
    FormatNumber(out, c2, 14);
    out << ' ' << *b.Unit2 << '\n' << "Axial Load = ";
    FormatNumber(out, axial, 14);
    out << ' ' << force << "\n\n";
}

void WriteLengthTableHeading(std::ostream& out) {
    Line(out, "   Pile       Pile Head       Maximum      Maximum");
    Line(out, "  Length      Deflection      Moment        Shear ");
    Line(out, ByUnits("  inches        inches        ln-lbs          lbs ", "  meters        meters         kN-m           kN  ",
                      "    L             L             F-L            F   "));
    Line(out, "-----------  ------------  ------------  ------------");
}

void WriteLengthRow(std::ostream& out, double length, double yTop, double maxMoment, double maxShear) {
    FormatNumber(out, length, 10);
    for (double v : {yTop, maxMoment, maxShear}) FormatNumber(out, v, 14);
    EndLine(out);
}

void WriteNoAcceptedLength(std::ostream& out) {
    out << "No trial pile length gave a converged solution within the deflection limit.\n";
}

void WriteSkippedLengthsHeading(std::ostream& out) {
    out << "\nTrial pile lengths without a result (not in the table above):\n";
}

void WriteSkippedLength(std::ostream& out, double length, LengthSkipReason reason) {
    static constexpr const char* Reasons[4] = {
        "  the pile-head deflection exceeds the deflection limit",
        "  no converged solution within the iteration limit",
        "  the deflection did not converge to the tolerance",
        "  the pile buckles under the axial load (the equilibrium found is unstable)"};
    FormatNumber(out, length, 10);
    out << Reasons[static_cast<int>(reason)] << '\n';
}

void WritePlotLine11Study(std::ostream& out, int count, int loadCase) {
    WritePlotRecord(out, FormatIntegerText(count, 5),
                    "Line 11: Num. points on Ytop vs. pile length curve for load case " + MinimalInteger(loadCase));
}

void WritePlotLine12(std::ostream& out, double length, double yTop, double maxMoment, double maxShear) {
    WritePlotRecord(out, PlotReal(length) + PlotReal(yTop) + PlotReal(maxMoment) + PlotReal(maxShear),
                    "Line 12: pile length, Ytop, Mmax, Vmax");
}

}  // namespace kestro
