#include "report/RockSiltMessages.h"

#include <ostream>
#include <string>

#include "model/Errors.h"
#include "report/Format.h"

namespace kestro {

namespace {
std::string Layer(int layer) { return MinimalInteger(layer); }
}  // namespace

void WriteInputError31(std::ostream& out, double depth) {
    const std::string at = "Problem:  The value for a pile station depth is " + ScientificText(depth, 12, 4);
    WriteLines(out, {"**** Input Data Error No. 31 ****", "",
                     "An error was detected that is related to an incompatibility",
                     "between the input data defining the embedment of the pile and",
                     "the maximum depth of the soil shear strength data.", "", at,
                     "This depth is below the deepest extent of the input data for", "RQD versus depth.", "",
                     "Solution:  Revise the input data by either extending the ",
                     "maximum depth for RQD or shorten the pile to correct this ", "problem."});
}

void WriteInputError49(std::ostream& out, double rqd) {
    const std::string value = "The interpolated value of RQD = " + ScientificText(rqd, 12, 4) + " %";
    WriteLines(out, {"**** Input Data Error No. 49 ****", "",
                     "Problem:  The interpolated value of RQD used for p-y curves in weak rock ",
                     "was found to be invalid because it was either less than zero or more than ", "100 percent.", "",
                     "Solution:  Check your input data and revise in the data for RQD.", "", value});
}

void WriteInputError62(std::ostream& out, int layer) {
    const std::string which = "Solution:  Check the input values for layer " + Layer(layer);
    WriteLines(out, {"**** Input Data Error No. 62 ****", "",
                     "Problem:   The input value for compressive strength is less than or equal to zero.", "", which});
}

void WriteInputError16(std::ostream& out) {
    WriteLines(out, {"**** Input Data Error No. 16 ****", "",
                     "An error was detected when computing the p-y curve for weak rock.",
                     "Problem:   The input value for the compressive strength of a weak rock was ",
                     "           input as negative or zero (0).", "",
                     "Solution:  Check the depth values for soil layering and soil shear strength ",
                     "           values and correct the input data."});
}

void WriteInputError63(std::ostream& out, int layer) {
    const std::string which = "Solution: Check the input values for layer " + Layer(layer);
    WriteLines(out, {"**** Input Data Error No. 63 ****", "",
                     "Problem:  The input value for k_rm for weak rock is less than or equal to zero.", "", which});
}

void WriteRuntimeError22(std::ostream& out, int layer) {
    const std::string which =
        "Solution:  Check the input values for the week rock properties in the soil layer " + Layer(layer);
    WriteLines(out, {"**** Runtime Error No. 22 ****", "",
                     "An error was detected when computing the p-y curve for weak rock.     ",
                     "Problem:  The input value for k_rm is less than or equal to 0. ", "", which});
}

void WriteRuntimeError20(std::ostream& out) {
    WriteLines(out, {"**** Runtime Error No. 20 ****", "",
                     "Problem:  The top and bottom elevations for weak rock layer are equal.",
                     "Solution: Correct the input data for elevations defining weak rock layer."});
}

void WriteRockModulusError(std::ostream& out, int layer, double depth, double eir) {
    const std::string which = "Problem:  The rock mass modulus Eir of weak rock layer " + Layer(layer) + " is " +
                              ScientificText(eir, 12, 4) + " at the depth " + ScientificText(depth, 12, 4) + ".";
    WriteLines(out, {"**** Input Data Error No. 76 ****", "", which,
                     "          The initial modulus of a weak rock must be greater than zero.", "",
                     "Solution:  Enter the initial modulus of rock at the top and the bottom of the layer."});
}

void WriteInputError70(std::ostream& out, int layer, double cycles) {
    const std::string which = "PROBLEM: Soil layer " + Layer(layer) +
                              " is a loess and the input value for the number of cycles of loading = " +
                              FixedText(cycles, 12, 1);
    WriteLines(out, {"", "", "**** Input Data Error No. 70 ****", "", which,
                     "This value is greater than 10. The soil model for loess is valid only for 1 to 10 cycles of "
                     "loading. ",
                     "SOLUTION: Revise the input data so that the number of cycles of loading is in the range of 1 "
                     "to 10.",
                     ""});
}

void WriteConeResistanceError(std::ostream& out, int layer, double top, double bottom) {
    const std::string which = "Problem:  The cone tip resistance of loess layer " + Layer(layer) + " is " +
                              ScientificText(top, 12, 4) + " at its top and " + ScientificText(bottom, 12, 4) +
                              " at its bottom.";
    WriteLines(out, {"**** Input Data Error No. 77 ****", "", which,
                     "          The loess criterion needs a cone tip resistance greater than zero.", "",
                     "Solution:  Enter the cone tip resistance at the top and the bottom of the layer."});
}

void WriteLiquefiedSandWidthError(std::ostream& out, int layer, double widthMeters) {
    const std::string which = "Problem:  The pile width in liquefied sand layer " + Layer(layer) + " is " +
                              FixedText(widthMeters, 8, 4) + " m.";
    WriteLines(out, {"**** Input Data Error No. 78 ****", "", which,
                     "          The diameter correction of the liquefied sand criterion, 3.81 ln(b) + 5.6,",
                     "          is not positive for a width below 0.23 m, so the curve has no resistance.", "",
                     "Solution:  Model the layer with another criterion or with user-input p-y curves."});
}

void WriteInputError48(std::ostream& out, int layer, double depth, double c) {
    const std::string which = "Layer = " + Layer(layer) + ", Depth = " + FixedText(depth, 13, 8) +
                              ", c = " + ScientificText(c, 10, 3);
    WriteLines(out, {"**** Input Data Error No. 48 ****", "",
                     "Problem: A negative or zero value of cohesion was input for ", "a soil defined as a silt.",
                     which, "", "Solution:  Please revise and correct the input data.  ",
                     "Both cohesion and friction angle should be non-zero for silt soils."});
}

void WriteInputError10(std::ostream& out) {
    WriteLines(out, {"**** Input Data Error No. 10 ****", "",
                     "Problem:  A negative or zero value was input for the friction angle for a silt.", "",
                     "Solution:  Please revise and correct the input data.  ",
                     "Both cohesion and friction angle must be non-zero for the cemented silt soil."});
}

void WriteRuntimeError23(std::ostream& out, int layer) {
    const std::string which = "greater than the friction angle for silt for layer " + Layer(layer) + ".";
    WriteLines(out, {"**** Runtime Error No. 23 ****", "",
                     "A runtime error occurred due to the ground slope angle being", which, "",
                     "Problem:  The angle of the ground slope can not be greater ",
                     "than the internal friction angle of silt.", "",
                     "Solution:  Set the value for slope angle to be less than ",
                     "the angle of friction or convert the layer into an equivalent", "strength clay layer."});
}

void WriteInputError11(std::ostream& out, int layer) {
    const std::string which = "curve using the criteria for silt for layer " + Layer(layer) + ".";
    WriteLines(out, {"**** Input Data Error No. 11 ****", "",
                     "An error was detected in the input data when computing a p-y.", which, "",
                     "Problem:  The angle of the ground slope can not be greater ",
                     "than the internal friction angle of cohesionless silt.", "",
                     "Solution:  Set the value for slope angle to be less than ", "the angle of friction."});
}

void WriteSiltDefaultKError(std::ostream& out, int layer) {
    const std::string which = "combination with default values of k for cemented silt layer " + Layer(layer) + ".";
    WriteLines(out, {"", "", "**** Runtime Error No. 13 ****", "",
                     "Problem:  General units have been selected for use in computations in", which,
                     "Kestro cannot compute default values of subgrade modulus in general units.", "",
                     "Solution:  Select US customary or SI units to use a default value of k,",
                     "or enter a non-zero value for k."});
}

}  // namespace kestro
