#pragma once
// Report pages of the section analysis: the heading of the computation, the
// property pages of every section kind, the axial capacities, the thrust
// lists, the bar table, the moment-curvature tables with their run messages,
// the summaries and the error and warning blocks of the section stage. These
// routines format values that the section analysis has computed; they never
// compute mechanics.

#include <iosfwd>
#include <string>

#include "model/EITables.h"
#include "model/SectionTables.h"

namespace kestro {

// Where the axial thrusts of the section computations come from.
enum ThrustSourceCode : int { ThrustFromLrfd = 1, ThrustFromLoadCases = 2, ThrustFromInput = 3 };

// Unit texts of the section analysis for the run's unit system.
struct SectionUnitTexts {
    const char* Length;     // "in" / "m"
    const char* Area;       // "sq. in." / "sq. m"
    const char* Stress;     // "ksi" / "kPa"
    const char* Force;      // "kips" / "kN"
    const char* Moment;     // "in-kips" / "kN-m"
    const char* EI;         // "kip-in2" / "kN-m2"
    const char* Curvature;  // "rad/in" / "rad/m"
    const char* SectionLength;  // "ft" / "m" (length of a section along the pile)
};
SectionUnitTexts SectionUnits();

void WriteSectionAnalysisHeading(std::ostream& out, int source, int numSections);
void WriteSectionNumber(std::ostream& out, int s);

// One labelled value of a property page: label, "= ", value, unit.
void WritePageValue(std::ostream& out, const std::string& label, double value, const std::string& unit);
void WritePageCount(std::ostream& out, const std::string& label, long long value);
void WritePageText(std::ostream& out, const std::string& text);

// Values of a property page, filled by the section analysis.
struct SectionPage {
    int SectionType = 0;
    const char* ShapeName = "";     // "Pile Section Type = " text
    double SectionLength = 0.0;     // in section-length units (ft or m)
    double Diameter = 0.0;          // diameter or width
    double Width = 0.0, Depth = 0.0;  // rectangular pile
    double CasingThickness = 0.0, CasingYield = 0.0, CasingModulus = 0.0, CasingArea = 0.0;
    double CoreDiameter = 0.0, CoreThickness = 0.0, CoreYield = 0.0, CoreModulus = 0.0, CoreArea = 0.0;
    bool b_CoreFilled = false;
    double VoidDiameter = 0.0;
    // Reinforcement
    int NumBars = 0;
    double BarDiameter = 0.0;
    double Cover = 0.0;
    double BarSpacing = 0.0;        // edge-to-edge, circular pattern (0 when not defined)
    double BarYield = 0.0, BarModulus = 0.0;
    double GrossArea = 0.0, SteelArea = 0.0, ConcreteArea = 0.0;
    // Steel pipe
    double WallThickness = 0.0, PipeYield = 0.0, PipeModulus = 0.0, PipeArea = 0.0, PipeInertia = 0.0;
    double PlasticModulus = 0.0, PlasticMoment = 0.0;
    // Strands
    int StrandLaw = 0;
    double StrandStrength = 0.0, StrandArea = 0.0, StrandCover = 0.0;
    // Concrete
    double Fc = 0.0, Ec = 0.0, Fr = 0.0, Eps0 = 0.0, CrackStrain = 0.0, Aggregate = 0.0;
};
void WriteSectionPropertyPage(std::ostream& out, const SectionPage& p);

// Bar or strand table: number, diameter, area, x, y.
void WriteBarTable(std::ostream& out, bool strands, int n, const double* dia, const double* area, const double* x,
                   const double* y);

// Plot records of curve j of section s's EI table: "Line 4" (point count,
// thrust, nominal moment capacity, in-lb in US customary runs), then one
// "Line 5" per point with the given labels.
void WriteCurvePlotRecords(std::ostream& out, const NonlinearEITable& T, int s, int j, const char* line4,
                           const char* line5);

void WriteAxialCapacities(std::ostream& out, bool pipe, double pn, double nt, double tcr);

// Thrust list of a section: the values used (count n), the count line and,
// for input values, the note that some were dropped.
void WriteThrustList(std::ostream& out, int source, const double* thrust, int n, bool dropped);

// Runtime Errors 24 to 27: a thrust outside the axial structural capacities.
// `lrfd` selects 26/27, `compression` 24/26.
void WriteThrustCapacityError(std::ostream& out, bool lrfd, bool compression, int caseNumber, double thrust,
                              double capacity);

// "RESULTS OF COMPUTATIONS - COMPUTATION OPTION " with the option number.
// Runtime Error 40: no depth of the neutral axis balances the thrust at the
// first curvature of a curve (the thrust exceeds what the section can carry).
void WriteNoEquilibriumError(std::ostream& out, int s, double thrust, double phi, double smallest, double largest);
// Note after a curve that ended because a later curvature has no equilibrium
// under its thrust (warning 390).
void WriteCurveEndsWithoutEquilibrium(std::ostream& out, double phi, double largest);
void WriteComputationHeading(std::ostream& out, int option);
// Moment-curvature computation heading (option number and legend).
void WriteMomentCurvatureHeading(std::ostream& out, int option, bool pipe);
// Table of one thrust: "Direction of Loading", column heading of the shape
// (columns: 0 concrete, 1 with casing, 2 with casing and core, 3 steel pipe).
void WriteCurveTable(std::ostream& out, int columns, double angleDegrees, const WorkingCurve& c);
// Thrust line above a table.
void WriteCurveThrust(std::ostream& out, int j, double thrust);
void WriteTooManyPointsWarning(std::ostream& out, int n, bool sectionOnly);
void WriteNegativeMomentWarning(std::ostream& out);
// Summary of nominal moment capacities of a section.
void WriteNominalMomentSummary(std::ostream& out, int s, bool lrfd, bool concrete, int n, const double* thrust,
                               const double* mn, const double* strain);

// Section-only options.
void WriteSingleStateHeading(std::ostream& out, double phi, double thrust, double angleDegrees, double station);
void WriteRotationHeading(std::ostream& out);
void WriteRotationSummary(std::ostream& out, int n, const double* angleDegrees, const double* moment);
void WriteInteractionHeading(std::ostream& out, double angleDegrees, double station);
void WriteInteractionSummary(std::ostream& out, double angleDegrees, int n, const double* thrust,
                             const double* moment);

// User-specified nonlinear bending stiffness.
void WriteUserEITitle(std::ostream& out);
void WriteUserEISection(std::ostream& out, int s, double top, double bottom);
void WriteUserEIThrust(std::ostream& out, int np, int j, int nt, double thrust);
void WriteUserEIRow(std::ostream& out, double moment, double ei, double curvature, bool suspect);
void WriteUserEIWarning(std::ostream& out);
// Input Data Error 51 (report and message file).
void WriteUserEIRatioError(std::ostream& report, std::ostream& messages);

}  // namespace kestro
