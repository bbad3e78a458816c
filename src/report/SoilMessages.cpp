#include "report/SoilMessages.h"

#include <ostream>
#include <string>

#include "model/Errors.h"
#include "report/Format.h"

namespace kestro {

namespace {
const char* Flag(bool b) { return b ? "T" : "F"; }
// Free-format real, as list-directed output writes it.
std::string Free(double v) { return ScientificText(v, 24, 15); }
}  // namespace

void WriteInputError3(std::ostream& out, double depth) {
    const std::string at = "The value for a pile station depth is " + ScientificText(depth, 12, 4);
    WriteLines(out, {"**** Input Data Error No. 3 ****", "",
                     "An error was detected that is related to an incompatibility",
                     "between the input data defining the embedment of the pile and",
                     "the maximum depth of the soil shear strength data.", "", at,
                     "This depth is below the deepest extent of the input data for",
                     "soil shear strength versus depth.", "", "Solution:",
                     "Please revise the input data by either extending the maximum",
                     "depth for soil shear strength or shorten the pile to correct", "this problem."});
}

void WriteInputError4(std::ostream& out, double depth) {
    const std::string at = "Problem:  The value for a pile station depth is " + ScientificText(depth, 12, 4);
    WriteLines(out, {"**** Input Data Error No. 4 ****", "",
                     "An error was detected that is related to an incompatibility",
                     "between the input data defining the embedment of the pile and",
                     "the maximum depth of the soil shear strength data.", "", at,
                     "This depth is below the deepest extent of the input data for",
                     "soil friction angle versus depth.", "",
                     "Solution:  Please revise the input data by either extending ",
                     "the maximum depth for soil friction angle or shorten the ", "pile to correct this problem."});
}

void WriteInputError5(std::ostream& out, double depth, double deepest) {
    const std::string at = "Problem:  The value for a pile station depth is " + ScientificText(depth, 12, 4);
    const std::string deep = "soil shear strength versus depth at " + FixedText(deepest, 10, 3);
    WriteLines(out, {"**** Input Data Error No. 5 ****", "",
                     "An error was detected that is related to an incompatibility",
                     "between the input data defining pile embedment depth and soil ",
                     "shear strength values versus depth.", "", at,
                     "This depth is below the deepest extent of the input curve for", deep, "",
                     "Solution:  Please revise the input data by either extending ",
                     "the maximum depth for soil shear strength or shorten the ",
                     "pile to be wholly within the defined soil layers."});
}

void WriteInputError15(std::ostream& out, double depth) {
    const std::string at = "The value for a pile station depth is " + ScientificText(depth, 12, 4);
    WriteLines(out, {"**** Input Data Error No. 15 ****", "",
                     "An error was detected related to an incompatibility between ",
                     "the data defining pile embedment depth and effective unit ", "weights versus depth.", "", at,
                     "This depth is below the deepest extent of the input curve for",
                     "effective unit weight versus depth.", "", "Solution:",
                     "Please revise the input data by either extending the maximum",
                     "depth for effective unit weight or shorten the length of pile",
                     "to be within the range of defined soil properties."});
}

void WriteInputError60(std::ostream& out, double depth) {
    const std::string at = "layer is zero.  The depth of computation is " + FixedText(depth, 10, 3);
    WriteLines(out, {"**** Input Data Error No. 60 ****", "",
                     "An error was found in the strength of soil input data when interpolating ",
                     "to obtain values of cohesion or uniaxial compressive strength.", "",
                     "Problem:  The depth increment between the upper and lower soil depths in a ", at, "",
                     "Solution:  Examine the program output file to find the depth in question",
                     "and correct the soil layer depth values. "});
}

void WriteInterfaceNotFound(std::ostream& out, const InterfaceDump& d) {
    WriteEmptyLines(out, 2);
    WriteLines(out, {"Internal error in function C (undrained shear strength)", "The layer interface cannot be located",
                     "Please contact Quenlar for support", ""});
    out << "Elevation             = " << Free(d.X) << '\n'
        << "b_AtInterface         = " << Flag(d.b_AtInterface) << '\n'
        << "b_InMiddle            = " << Flag(d.b_InMiddle) << '\n'
        << "b_AtTip               = " << Flag(d.b_AtTip) << '\n'
        << "b_AtNode              = " << Flag(d.b_AtNode) << '\n'
        << "Layer index above     = " << FormatIntegerText(d.LayerAbove, 12) << '\n'
        << "Layer index below     = " << FormatIntegerText(d.LayerBelow, 12) << '\n'
        << "DABS(X-XLayerBottom(KTOP))    = " << Free(d.GapAbove) << '\n'
        << "DABS(X-XLayerTop(KBOT))    = " << Free(d.GapBelow) << '\n';
}

void WriteRuntimeError24(std::ostream& out, const ClassPairDump& d) {
    out << " ***** Runtime Error No. 24 *****\n"
        << "Error in f_c, please report by email to " << SupportAddress << '\n'
        << " X value for f(c) = " << Free(d.X) << '\n'
        << " Soil types: 1 = cohesive, 2 = cohesionless, 3 = rock, 4= user input)\n"
        << " Soil type above        = " << FormatIntegerText(d.ClassAbove, 12) << '\n'
        << " Soil type below        = " << FormatIntegerText(d.ClassBelow, 12) << '\n'
        << " cohesionless           = " << FormatIntegerText(2, 12) << '\n'
        << " cohesive               = " << FormatIntegerText(1, 12) << '\n'
        << " JBOT index             = " << FormatIntegerText(d.PointIndex, 12) << '\n'
        << " At tip condition       = " << Flag(d.b_AtTip) << '\n'
        << " KSOIL(jbot/2)          = " << FormatIntegerText(d.SoilAbove, 12) << '\n'
        << " KSOIL(JBOT/2+1)        = " << FormatIntegerText(d.SoilBelow, 12) << '\n';
}

void WriteModulusNotANumber(std::ostream& out, int station) {
    out << "The computed value of soil modulus is not-a-number for node " << MinimalInteger(station) << '\n';
}

void WriteCriterionUnavailable(std::ostream& out, int layer, std::string_view code) {
    WriteEmptyLines(out, 2);
    out << "The p-y criterion for soil code \"" << code << "\" of soil layer " << MinimalInteger(layer)
        << " is not available in this version.\n"
        << "No analysis can be made with this soil profile.\n";
}

void WriteInputError12(std::ostream& out, const SoftClayError12& e, bool reportCopy) {
    WriteLines(out, {"**** Input Data Error No. 12 ****", "",
                     "An error was detected that is related to an incompatibility between the input ",
                     "data defining soil layering and soil shear strength values when computing a ",
                     "p-y curve using the Matlock soft clay criteria.", "",
                     "Problem:  A negative or zero value of cohesion was input for a soft clay soil.", "",
                     "Solution:  Please compare the depth values for soil layering and soil shear ",
                     "strength values and revise the input data.", "", ""});
    out << "Layer no. = " << MinimalInteger(e.Layer) << ", Node no. = " << MinimalInteger(e.Station)
        << ", Top node in layer = " << MinimalInteger(e.TopStation) << ", Elevation = " << FixedText(e.Depth, 10, 3)
        << ", c(x) = " << FixedText(e.C, 10, 3);
    if (reportCopy) {
        out << ", Pile length = " << FixedText(e.PileLength, 10, 3) << '\n'
            << ", ITOP = " << MinimalInteger(e.TopStation) << ", IBOT = " << MinimalInteger(e.BottomStation);
    }
    out << '\n';
}

}  // namespace kestro
