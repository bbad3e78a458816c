#include "report/CriteriaMessages.h"

#include <ostream>
#include <string>

#include "model/Errors.h"
#include "report/Format.h"

namespace kestro {

void WriteInputError8(std::ostream& out) {
    WriteLines(out, {"**** Input Data Error No. 8 ****", "",
                     "An error was detected in the input data for friction angle.",
                     "Problem:  Zero was input for the friction angle for a sand when computing ",
                     "          a p-y curve using the Reese et al. criteria.", "",
                     "Solution: Check values of soil strength values and revise the input data."});
}

void WriteInputError9(std::ostream& out, int layer) {
    const std::string which = "the Reese sand criteria for layer " + MinimalInteger(layer) + ".";
    WriteLines(out, {"**** Input Data Error No. 9 ****", "",
                     "An error was found in the input data when computing a p-y curve using ", which, "",
                     "Problem:  The angle of the ground slope can not be greater than the ",
                     "internal friction angle of the sand.", "",
                     "Solution:  Set the value for slope angle to be less than the angle of friction."});
}

void WriteInputError1(std::ostream& out, int layer) {
    const std::string which = "curve using the API sand criteria for layer " + MinimalInteger(layer) + ".";
    WriteLines(out, {"**** Input Data Error No. 1 ****", "", "An error was detected in the input data when computing a p-y.",
                     which, "", "Problem:  Zero was input for the friction angle for sand.", "",
                     "Solution:  Check the friction angle values and revise the ", "data to correct this problem."});
}

void WriteInputError2(std::ostream& out, int layer) {
    const std::string which = "curve using the API criteria for sand for layer " + MinimalInteger(layer) + ".";
    WriteLines(out, {"**** Input Data Error No. 2 ****", "", "An error was detected in the input data when computing a p-y.",
                     which, "", "Problem:  The angle of the ground slope can not be greater ",
                     "than the internal friction angle of the sand.", "",
                     "Solution:  Set the value for slope angle to be less than ", "the angle of friction."});
}

void WriteInputError13(std::ostream& out) {
    WriteLines(out, {"**** Input Data Error No. 13 ****", "", "An error was detected in the input data.",
                     "Problem:  Zero was input for cohesion of stiff clay without free water.", "",
                     "Solution:  Please check the values of soil shear strength and revise the input data."});
}

void WriteInputError14(std::ostream& out) {
    WriteLines(out, {"**** Input Data Error No. 14 ****", "",
                     "An error was detected in the input data used to compute p-y curves in ",
                     "stiff clay with free water.", "", "Problem:  Zero was input for the cohesion of a stiff clay. ", "",
                     "Solution:  Check and compare the values of shear strength and revise the ",
                     "input so that the strength values are correct for the soil types specified."});
}

void WriteRuntimeError13(std::ostream& out) {
    WriteLines(out, {"", "", "**** Runtime Error No. 13 ****", "",
                     "Problem:  General units have been selected for use in computations in      ",
                     "combination with default values of k for a layer classified as API sand    ",
                     "criteria. This combination of data cannot be used because Kestro cannot     ",
                     "compute default values of subgrade modulus in general units.               ", "",
                     "Solution:  You must select either US customary for SI units for the        ",
                     "units of computation to use a default value for subgrade subgrade modulus  ",
                     "for the API sand criteria or enter an appropriate proper value by entering ",
                     "a non-zero for k."});
}

void WriteStiffClayDefaultKError(std::ostream& out, int layer) {
    const std::string which = "combination with default values of k for stiff clay layer " + MinimalInteger(layer) + ".";
    WriteLines(out, {"", "", "**** Runtime Error No. 13 ****", "",
                     "Problem:  General units have been selected for use in computations in", which,
                     "Kestro cannot compute default values of subgrade modulus in general units.", "",
                     "Solution:  Select US customary or SI units to use a default value of k,",
                     "or enter a non-zero value for k."});
}

void WriteReeseFrictionWarning(std::ostream& out) {
    WriteLines(out, {"", "**** Warning ****", "",
                     "An unreasonable value for friction angle was input for a Reese sand layer. ",
                     "The input value is either smaller than 20 degrees or higher than 48 degrees.",
                     "The input data should be checked for correctness.", "",
                     "The input value for friction angle was used in computations.", ""});
}

}  // namespace kestro
