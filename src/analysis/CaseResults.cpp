// Results of a converged load case and the summary of all cases.

#include <cmath>
#include <cstddef>
#include <ostream>

#include "model/FactoredLoads.h"
#include "analysis/LoadCases.h"
#include "analysis/StationResults.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "model/Warnings.h"
#include "model/HeldResults.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/ResultsReport.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }
inline double Clean(double v) { return std::fabs(v) < 1.0E-20 ? 0.0 : v; }

// Computes the station values of the case and tests every reported quantity
// before anything of the case is written: a value that is not a finite
// number is never reported as a result. Stops the run with Runtime Error 46
// naming the first such quantity and node.
bool CaseResultsFinite(int c) {
    PileModel& P = Pile;
    for (int i = 1; i <= P.NumStations; ++i) {
        StationResults(i);
        const std::size_t s = St(i);
        const double values[] = {P.y[s],           P.Slope[s],       P.Moment[s], P.Shear[s],
                                 P.SoilReaction[s], P.TotalStress[s], P.EI[s],     P.Es[s]};
        for (int q = 0; q < 8; ++q) {
            if (std::isfinite(values[q])) continue;
            Fail(ErrorKind::Runtime, 46, [&](std::ostream& out) {
                WriteNonFiniteResult(out, c, static_cast<ResultQuantity>(q), i, P.x[s], values[q]);
            });
            return false;
        }
    }
    return true;
}

}  // namespace

void WriteCaseResults(int c) {
    PileModel& P = Pile;
    const AnalysisOptions& O = Problem.Options;
    const int N = P.NumStations;
    const bool page = !O.PrintSummaryOnly && !P.b_StiffnessMode;
    const bool plot = !P.b_StiffnessMode;
    std::ostream& out = ReportOut();
    const bool lrfd = P.b_LrfdCase && c >= 1 && c <= MaxLrfdCombinations;
    if (!CaseResultsFinite(c)) return;

    if (page)
        WriteCaseHeading(out, c, lrfd, lrfd ? Problem.LrfdCombinations[U(c)].CombinationName.View() : "");
    if (plot && c == 1) WritePlotLine9(PlotOut(), NumAnalysisCases(), N, O.UnitSystem);
    if (page) {
        WriteHeadConditions(out, P.LoadType, HeadCondition1(), HeadCondition2(), P.AxialLoad);
        WriteResultsTableHeading(out);
    }

    ClearRunningMaxima();
    for (int s = 1; s <= MaxEISections; ++s) {
        P.SectionMaxMoment[U(s)] = P.SectionMaxShear[U(s)] = 0.0;
        P.SectionMaxMomentStation[U(s)] = P.SectionMaxShearStation[U(s)] = 0;
    }
    StartEquilibriumCheck();
    const int k = O.PrintIncrement >= 1 ? O.PrintIncrement : 1;
    if (plot) HoldCaseStart();
    for (int i = 1; i <= N; ++i) {
        StationResults(i);
        if (i >= 3) CheckEquilibrium(i);
        P.y[St(i)] = Clean(P.y[St(i)]);
        P.Moment[St(i)] = Clean(P.Moment[St(i)]);
        P.Shear[St(i)] = Clean(P.Shear[St(i)]);
        P.SoilReaction[St(i)] = Clean(P.SoilReaction[St(i)]);
        if (plot) {
            WritePlotLine10(PlotOut(), i, P.x[St(i)], P.y[St(i)], P.Moment[St(i)], P.Shear[St(i)],
                            P.SoilReaction[St(i)]);
            HoldStation(HeldStation{P.Slope[St(i)], P.EI[St(i)], P.Es[St(i)], P.Pu[St(i)]});
        }
        if (page && (i - 1) % k == 0) {
            const double spring = P.Es[St(i)] * P.Spacing * ((i == 1 || i == N) ? 0.5 : 1.0);
            WriteResultsRow(out, ResultsRow{P.x[St(i)], P.y[St(i)], P.Moment[St(i)], P.Shear[St(i)],
                                            P.Slope[St(i)], P.TotalStress[St(i)], P.EI[St(i)],
                                            P.SoilReaction[St(i)], spring, P.W[St(i)]});
        }
    }
    CheckEquilibrium(N + 1);
    if (page && O.ComputationMode == 3) WriteNonlinearStressNote(out);

    const EquilibriumJudgement judged = JudgeEquilibrium();
    // A load type 4 case reported after Runtime Error 10 is no converged
    // solution: its imbalance is shown, the run's error stays.
    if (judged == EquilibriumJudgement::Unbalanced && !Failed()) {
        Fail(ErrorKind::Runtime, 35, [&](std::ostream& to) {
            WriteEquilibriumError(to, c, P.MaxMomentImbalance, P.MaxForceImbalance, RelativeImbalance());
        });
        return;
    }
    if (judged != EquilibriumJudgement::Verified) {
        WriteEquilibriumWarning(out, MessageOut(), P.MaxMomentImbalance, P.MaxForceImbalance);
        RaiseWarning(-WarnEquilibriumDoubtful);
    } else if (!O.PrintSummaryOnly && !O.ComputeKmatrix && !P.b_StiffnessMode) {
        WriteEquilibriumVerified(out);
    }

    // The stiffness study reads the head values from the pile model; its
    // generated cases never replace the summary of the run's load cases.
    if (P.b_StiffnessMode) return;
    StoreCaseSummary(c);
    if (page && c >= 1 && c <= MaxLoadCases) {
        const CaseSummary& S = P.Summary[U(c)];
        WriteOutputSummary(out, c, S.HeadDeflection, S.HeadRotation, S.MaxMoment, S.MaxShear, S.DepthMaxMoment,
                           S.DepthMaxShear, S.Iterations, S.ZeroDeflectionPoints);
    }
}

void WriteSummary() {
    std::ostream& out = ReportOut();
    WriteSummaryHeading(out, Pile.b_LrfdCase);
    const int n = Pile.NumSummaryCases < MaxLoadCases ? Pile.NumSummaryCases : MaxLoadCases;
    for (int c = 1; c <= n; ++c) {
        const CaseSummary& S = Pile.Summary[U(c)];
        WriteSummaryRow(out, c, S.LoadType, S.Condition1, S.Condition2, S.AxialLoad, S.HeadDeflection, S.MaxMoment,
                        S.MaxShear, S.HeadRotation);
    }
    for (int c = 1; c <= n; ++c) {
        const CaseSummary& S = Pile.Summary[U(c)];
        WritePlotLine13(PlotOut(), S.HeadShear, S.HeadDeflection, S.MaxMoment, S.MaxShear);
    }
    if (Pile.b_LrfdCase) WriteLrfdPerformance();
}

void WriteLrfdPerformance() {
    std::ostream& out = ReportOut();
    WriteLrfdPerformanceHeading(out);
    const int n = Pile.NumSummaryCases < MaxLrfdCombinations ? Pile.NumSummaryCases : MaxLrfdCombinations;
    const int ns = Problem.NumSections < MaxEISections ? Problem.NumSections : MaxEISections;
    int failed = 0, unchecked = 0;
    for (int c = 1; c <= n; ++c) {
        const CaseSummary& S = Pile.Summary[U(c)];
        const LrfdCombination& C = Problem.LrfdCombinations[U(c)];
        bool caseFailed = false;
        for (int k = 1; k <= ns; ++k) {
            LrfdPerformanceRow row;
            row.Combination = c;
            row.Section = k;
            row.ResistanceFactor = UsableResistanceFactor(C.FlexureResistanceFactor);
            row.FactoredCapacity = row.ResistanceFactor * S.SectionCapacity[U(k)];
            row.MaxMoment = S.SectionMaxMoment[U(k)];
            row.MaxShear = S.SectionMaxShear[U(k)];
            row.HeadDeflection = S.HeadDeflection;
            row.HeadRotation = S.HeadRotation;
            // A section without a nominal moment capacity (an elastic
            // section) cannot be checked; it is shown as such, never as passed.
            row.b_Checked = S.SectionCapacity[U(k)] > 0.0;
            row.b_Passed = row.b_Checked && row.MaxMoment <= row.FactoredCapacity;
            if (!row.b_Checked) ++unchecked;
            if (row.b_Checked && !row.b_Passed) caseFailed = true;
            WriteLrfdPerformanceRow(out, row, C.CombinationName.View());
        }
        // Every combination that overloads a pile section raises the LRFD
        // failure warning, so the summary of warnings and the run result say so.
        if (caseFailed) {
            ++failed;
            RaiseWarning(-400);
        }
    }
    WriteLrfdPerformanceClosing(out, failed, unchecked);
}

}  // namespace kestro
