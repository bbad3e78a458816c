// The section computation that runs before the load cases in the
// computation modes that use nonlinear bending stiffness.

#include "section/SectionAnalysis.h"

#include <ostream>
#include <string>

#include "driver/Channels.h"
#include "driver/Errors.h"
#include "input/InputFile.h"
#include "model/ProblemData.h"
#include "report/Format.h"

namespace kestro {
namespace {

const char* ThrustSourceText() {
    if (Problem.Options.UseLRFD) return "Axial thrust force values were determined from LRFD load combinations";
    if (Problem.Options.ComputationMode == 2) return "Axial thrust force values were determined from input values";
    return "Axial thrust force values were determined from pile-head loading conditions";
}

void WriteHeading() {
    std::ostream& out = ReportOut();
    out << "\n\n" << std::string(80, '-') << '\n'
        << "Computations of Nominal Moment Capacity and Nonlinear Bending Stiffness\n"
        << std::string(80, '-') << "\n\n"
        << ThrustSourceText() << "\n\n"
        << "Number of Sections Analyzed = " << MinimalInteger(Problem.NumSections) << '\n';
}

}  // namespace

void ComputeSectionStiffness(int s) {
    if (s == 1) WriteHeading();
    if (s > MaxEISections) {
        InputError(ErrSectionKindUnavailable,
                   "Problem:  The pile has " + std::to_string(Problem.NumSections) +
                       " sections; nonlinear bending stiffness is computed for at most " +
                       std::to_string(MaxEISections) + " sections.",
                   "Solution: Combine sections or model the pile with at most 10 sections.");
        return;
    }
    const PileSection& S = Problem.Sections[static_cast<std::size_t>(s)];
    ReportOut() << "\nSection No. " << MinimalInteger(s) << '\n';
    switch (S.SectionType) {
        case SecElastic:
            ElasticEITable(s);
            return;
        case SecElasticWithCapacity:
            ElasticPlasticEITable(s);
            return;
        default:
            InputError(ErrSectionKindUnavailable,
                       "Problem:  The nonlinear bending stiffness of section " + std::to_string(s) + " (section type " +
                           std::to_string(S.SectionType) + ") cannot be computed by this version of the engine.",
                       "Solution: Give the section as an elastic section (type 11) or as an elastic section with "
                       "specified moment capacity (type 12).");
            return;
    }
}

}  // namespace kestro
