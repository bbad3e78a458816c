#include "report/LayerDataMessages.h"

#include <ostream>
#include <string>

#include "model/Errors.h"
#include "report/Format.h"

namespace kestro {

namespace {
std::string Value(double v) {
    const std::string t = ScientificText(v, 12, 4);
    const std::size_t at = t.find_first_not_of(' ');
    return at == std::string::npos ? t : t.substr(at);
}
std::string Heading(int n) { return "**** Input Data Error No. " + MinimalInteger(n) + " ****"; }
}  // namespace

void WriteUserCurveError(std::ostream& out, const UserCurveProblem& e) {
    const std::string curve = std::string(e.b_Top ? "The user-input p-y curve at the top" : "The user-input p-y curve at the bottom") +
                              " of soil layer " + MinimalInteger(e.Layer);
    const std::string at = curve + ", point " + MinimalInteger(e.Point) + ",";
    std::string problem;
    switch (e.Fault) {
        case UserCurveFault::TooFewPoints:
            problem = curve + " has " + MinimalInteger(static_cast<long long>(e.Value)) +
                      " point(s); at least two are needed.";
            break;
        case UserCurveFault::FirstPointNotAtOrigin:
            problem = at + " is not at y = 0 and p = 0 (it holds " + Value(e.Value) + ").";
            break;
        case UserCurveFault::DeflectionNotRising:
            problem = at + " has the deflection " + Value(e.Value) + ", not greater than that of the point before it.";
            break;
        case UserCurveFault::NegativeP:
            problem = at + " has the negative soil resistance " + Value(e.Value) + ".";
            break;
        default:
            problem = at + " holds a value that is not a number.";
            break;
    }
    WriteLines(out, {"", "", Heading(ErrUserCurveInvalid), "", "Problem:  " + problem, "",
                     "Solution: Start each user-input p-y curve at y = 0, p = 0 and give its points with",
                     "          deflections that rise from point to point and resistances of zero or more."});
}

void WriteFieldTestError(std::ostream& out, const FieldTestProblem& e) {
    const std::string layer = "soil layer " + MinimalInteger(e.Layer);
    std::string problem, solution = "Solution: Give the field test type 1 (SPT), 2 (CPT), 3 (DMT) or 4 (PMT) and its values.";
    switch (e.What) {
        case FieldTestProblem::KindUnknown:
            problem = "The field test type at the top of " + layer + " is " + MinimalInteger(e.Kind) +
                      "; it must be 1 to 4.";
            break;
        case FieldTestProblem::KindsDiffer:
            problem = "The field test types at the top (" + MinimalInteger(e.Kind) + ") and bottom (" +
                      MinimalInteger(e.BottomKind) + ") of " + layer + " differ.";
            solution = "Solution: Give the same field test type at the top and the bottom of the layer.";
            break;
        case FieldTestProblem::GeneralUnits:
            problem = "The p-y curves of the Piedmont residual soil of " + layer + " need US customary or SI units.";
            solution = "Solution: Select US customary or SI units.";
            break;
        case FieldTestProblem::NegativeValue:
            problem = "The field test value at the " + std::string(e.b_AtTop ? "top" : "bottom") + " of " + layer +
                      " is " + Value(e.b_AtTop ? e.TopValue : e.BottomValue) + "; it must not be negative.";
            break;
        case FieldTestProblem::NoValue:
            problem = "The field test values at the top and bottom of " + layer +
                      " are both zero: the soil would have no resistance.";
            break;
    }
    WriteLines(out, {"", "", Heading(ErrFieldTestInvalid), "",
                     "An error was found in the input data of a Piedmont residual soil.",
                     "Problem:  " + problem, "", solution});
}

void WriteRockLayerError(std::ostream& out, const RockLayerProblem& e) {
    const std::string layer = "massive rock layer " + MinimalInteger(e.Layer);
    std::string problem;
    switch (e.What) {
        case RockLayerProblem::GeneralUnits:
            problem = "The p-y curves of " + layer + " need US customary or SI units.";
            break;
        case RockLayerProblem::Strength:
            problem = "The uniaxial compressive strength of " + layer + " at depth " + Value(e.Depth) + " is " +
                      Value(e.Value) + "; it must be greater than zero.";
            break;
        case RockLayerProblem::Modulus:
            problem = "The intact rock modulus of " + layer + " at depth " + Value(e.Depth) + " is " +
                      Value(e.Value) + "; it must be greater than zero.";
            break;
    }
    WriteLines(out, {"", "", Heading(ErrRockLayerInvalid), "", "Problem:  " + problem, "",
                     "Solution: Give the unit weight, uniaxial compressive strength and rock modulus of",
                     "          the massive rock after its depths on the layer line, at the top and the bottom."});
}

void WriteRuntimeError20MassiveRock(std::ostream& out, int layer, double depth) {
    WriteLines(out, {"**** Runtime Error No. 20 ****", "",
                     "Problem:  The top and bottom elevations for massive rock layer are equal.",
                     "          The top and bottom elevations for layer " + MinimalInteger(layer) + " = " +
                         ScientificText(depth, 12, 4),
                     "", "Solution: Correct the input data for elevations defining the massive rock layer."});
}

}  // namespace kestro
