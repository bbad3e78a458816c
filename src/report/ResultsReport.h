#pragma once
// Report texts of the load-case analysis: the results page of a case, the
// summary of pile responses, the progress lines and the error blocks of the
// iteration, and the plot records of the results. Writers only: every number
// comes from the analysis.

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>

#include "model/Limits.h"

namespace kestro {

// One row of the results table (values already computed).
struct ResultsRow {
    double x, y, M, V, S, Stress, EI, p, SpringEsH, W;
};

// Progress and error texts of the iteration.
std::string ProgressLine(int loadCase, int iteration, double yTop, double dymax);
std::string IterationReportLine(int iteration, double yTop, double dymax);
// Runtime Error 9 for the deflection y of the head (depth < 0) or of the
// station at `depth` along the pile, the largest of the solution.
void WriteRuntimeError9(std::ostream& out, double y, double limit, double depth = -1.0);
void WriteRuntimeError10(std::ostream& out, int maxIterations, double dymax, double tolerance);
void WriteComputationError28(std::ostream& out, int iteration);
// Runtime Error 35: the converged solution of load case c does not satisfy
// equilibrium; `relative` is the imbalance against the case's forces.
void WriteEquilibriumError(std::ostream& out, int loadCase, double momentImbalance, double forceImbalance,
                           double relative);

// The station quantities a load case reports, in the order of the results table.
enum class ResultQuantity { Deflection, Slope, Moment, Shear, SoilReaction, TotalStress, Stiffness, SoilModulus };
// Runtime Error 46: a reported quantity of a load case is not a finite number.
void WriteNonFiniteResult(std::ostream& out, int loadCase, ResultQuantity q, int station, double depth, double value);
// Runtime Error 47: the report or plot file of a run that would end normally
// holds a number written as NaN, Infinity or asterisks.
void WriteUnprintableValues(std::ostream& out, int count);

// Results page of one load case (of an LRFD load combination when `lrfd`,
// with the combination's name).
void WriteCaseHeading(std::ostream& out, int loadCase, bool lrfd = false, std::string_view name = {});
void WriteHeadConditions(std::ostream& out, int loadType, double condition1, double condition2, double axial);
void WriteResultsTableHeading(std::ostream& out);
void WriteResultsRow(std::ostream& out, const ResultsRow& r);
void WriteNonlinearStressNote(std::ostream& out);
void WriteEquilibriumVerified(std::ostream& out);
void WriteEquilibriumWarning(std::ostream& report, std::ostream& messages, double momentImbalance,
                             double forceImbalance);
void WriteOutputSummary(std::ostream& out, int loadCase, double yTop, double slope, double maxMoment,
                        double maxShear, double depthMaxMoment, double depthMaxShear, int iterations,
                        int zeroPoints);

// Summary of pile responses after all load cases.
void WriteSummaryHeading(std::ostream& out, bool lrfd = false);
void WriteSummaryRow(std::ostream& out, int loadCase, int loadType, double condition1, double condition2,
                     double axial, double yTop, double maxMoment, double maxShear, double rotation);

// LRFD performance by load combination and pile section.
struct LrfdPerformanceRow {
    int Combination = 0, Section = 0;
    double ResistanceFactor = 0.0, FactoredCapacity = 0.0, MaxMoment = 0.0, MaxShear = 0.0;
    double HeadDeflection = 0.0, HeadRotation = 0.0;
    bool b_Checked = false, b_Passed = false;
};
void WriteLrfdPerformanceHeading(std::ostream& out);
void WriteLrfdPerformanceRow(std::ostream& out, const LrfdPerformanceRow& r, std::string_view name);
void WriteLrfdPerformanceClosing(std::ostream& out, int failedCombinations, int uncheckedRows);

// Plot records of the load-case analysis.
void WritePlotLine6(std::ostream& out, int numDepths);
void WritePlotLine7NoCurve(std::ostream& out, double depth);
void WritePlotLine9(std::ostream& out, int numLoadCases, int numStations, int unitSystem);
void WritePlotLine10(std::ostream& out, int station, double x, double y, double M, double V, double p);
void WritePlotLine11NoStudy(std::ostream& out, int loadCase, bool lrfd);
void WritePlotLine13(std::ostream& out, double headShear, double yTop, double maxMoment, double maxShear);

// Distributed loads of LRFD load type k (1..13) at stations 1..n; nothing
// when every station value is zero.
void WriteLrfdDistributedLoadTable(std::ostream& out, int k, const std::array<double, StationArraySize>& w,
                                   const std::array<double, StationArraySize>& x, int n);

// The heading of the printed p-y curves and the non-fatal Input Data Error 23.
void WritePyCurvesHeading(std::ostream& out);
void WriteDepthAboveGround(std::ostream& out, int depthNumber, double depth, double groundDepth);

}  // namespace kestro
