// Moment-EI-curvature tables of sections given by their bending properties:
// the elastic section (constant EI) and the elastic-plastic section (elastic
// up to the specified plastic moment, then a plastic hinge).

#include <ostream>
#include <string>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/EITables.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/Format.h"
#include "report/PlotFile.h"
#include "report/SectionReport.h"
#include "section/SectionAnalysis.h"

namespace kestro {
namespace {

constexpr int CurvePoints = MaxMomentCurvaturePoints;  // 150
constexpr int ElasticPoints = 100;                     // elastic branch of the elastic-plastic curve

// Thrusts for which a section gets a curve: the run's distinct thrust list,
// or one curve at zero thrust when the run has none.
int ThrustCount() { return Problem.NumAxialThrusts > 0 ? Problem.NumAxialThrusts : 1; }
double ThrustValue(int j) { return Problem.NumAxialThrusts > 0 ? Problem.AxialThrusts[static_cast<std::size_t>(j)] : 0.0; }

// E*I of an elastic section as given (top values), in the table's units:
// kip-in^2 in US customary runs.
double SectionEI(const PileSection& S) {
    double ei = S.ElasticModulus * S.TopInertia;
    if (IsUS()) ei /= 1000.0;
    return ei;
}

void WritePlotLine3(int numThrusts, const char* label) {
    WritePlotRecord(PlotOut(), FormatIntegerText(numThrusts, 5), label);
}

}  // namespace

void ElasticEITable(int s) {
    const PileSection& S = Problem.Sections[static_cast<std::size_t>(s)];
    NonlinearEITable& T = EITableToWrite(s);
    const double ei = SectionEI(S);
    const int nt = ThrustCount();
    T.NumThrusts = nt;
    ReportOut() << "\nMoment-Curvature properties derived from elastic section properties\n";
    if (s == 1) WritePlotLine3(nt, "Line 3 : Total number of axial thrusts for elastic section");
    for (int j = 1; j <= nt; ++j) {
        auto jj = static_cast<std::size_t>(j);
        T.Thrust[jj] = ThrustValue(j);
        T.NumPoints[jj] = CurvePoints;
        T.NominalMomentCapacity[jj] = 0.0;  // an elastic section has no moment capacity of its own
        for (int p = 1; p <= CurvePoints; ++p) {
            auto pp = static_cast<std::size_t>(p);
            // Curvatures 10, 20, ... 1500 (the table's curvature unit): EI stays constant.
            T.Curvature[jj][pp] = 10.0 * p;
            T.EI[jj][pp] = ei;
            T.Moment[jj][pp] = ei == 0.0 ? 0.0 : T.Curvature[jj][pp] * ei;
        }
        WriteCurvePlotRecords(PlotOut(), T, s, j,
                              "Line 4 : Num. Elas. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for linear EI",
                              "Line 5 : Elastic Moment, EI, Curvature for Sect#=");
    }
}

void ElasticPlasticEITable(int s) {
    const PileSection& S = Problem.Sections[static_cast<std::size_t>(s)];
    NonlinearEITable& T = EITableToWrite(s);
    const bool us = IsUS();
    const double ei = S.ElasticModulus * S.TopInertia;  // input units (lb-in^2 in US runs)
    const double mp = S.TopPlasticMoment;
    const double scale = us ? 1.0 / 1000.0 : 1.0;       // table in kip units in US runs
    const int nt = ThrustCount();
    T.NumThrusts = nt;
    T.PlasticMoment = mp * scale;
    ReportOut() << "\nMoment-curvature properties were derived from elastic-plastic section properties\n";
    WritePlotLine3(nt, "Line 3 : Total number of axial thrusts for elastic-plastic section");
    // Curvature at first yield divided into 100 elastic steps: c = Mp / EI / 100.
    const double c = ei > 0.0 ? mp / ei / 100.0 : 0.0;
    for (int j = 1; j <= nt; ++j) {
        auto jj = static_cast<std::size_t>(j);
        T.Thrust[jj] = ThrustValue(j);
        T.NumPoints[jj] = CurvePoints;
        T.NominalMomentCapacity[jj] = mp * scale;
        for (int p = 1; p <= CurvePoints; ++p) {
            auto pp = static_cast<std::size_t>(p);
            if (p <= ElasticPoints) {
                T.Curvature[jj][pp] = p * c;
                T.EI[jj][pp] = ei * scale;
                T.Moment[jj][pp] = ei * T.Curvature[jj][pp] * scale;
            } else {
                // Plastic branch: curvature 100c + 20c j, moment held at Mp.
                T.Curvature[jj][pp] = 100.0 * c + 20.0 * c * (p - ElasticPoints);
                T.Moment[jj][pp] = mp * scale;
                T.EI[jj][pp] = T.Curvature[jj][pp] > 0.0 ? mp / T.Curvature[jj][pp] * scale : 0.0;
            }
        }
        WriteCurvePlotRecords(PlotOut(), T, s, j,
                              "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for elastic-plastic EI",
                              "Line 5 : Elas-Plas Moment, EI, Curvature for Sect#=");
    }
}

}  // namespace kestro
