// Pile-head deflection, maximum moment and maximum shear of one load case for
// twenty trial pile lengths, from the full length down to 5 % of it, with
// the number of increments kept: the shortest pile that still behaves as a
// long one is where the head deflection starts to rise.

#include <cmath>
#include <cstddef>

#include "analysis/LoadCases.h"
#include "analysis/Stability.h"
#include "analysis/StationResults.h"
#include "model/Channels.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/StudyReport.h"

namespace kestro {
namespace {

constexpr int NumTrialLengths = 20;

// Trial length factor 1 - 0.05 j, formed in single precision.
double TrialFactor(int j) { return static_cast<double>(1.0f - 0.05f * static_cast<float>(j)); }

struct TrialResult {
    double Length = 0.0, HeadDeflection = 0.0, MaxMoment = 0.0, MaxShear = 0.0;
};

struct SkippedTrial {
    double Length = 0.0;
    LengthSkipReason Reason = LengthSkipReason::DeflectionLimit;
};

}  // namespace

void LengthStudy(int n) {
    if (n < 1 || n > MaxLoadCases || n > Problem.NumLoadCases) return;
    const LoadCase& C = Problem.LoadCases[static_cast<std::size_t>(n)];
    const AnalysisOptions& O = Problem.Options;
    PileModel& P = Pile;
    WriteLengthStudyHeading(ReportOut(), n, C.LoadType, C.Condition1, C.Condition2, C.AxialLoad);

    TrialResult accepted[NumTrialLengths]{};
    int count = 0;
    SkippedTrial skipped[NumTrialLengths]{};
    int numSkipped = 0;
    for (int j = 0; j < NumTrialLengths; ++j) {
        const double length = TrialFactor(j) * Problem.PileLength;
        PrepareStationsOfLength(length);
        if (Failed()) return;
        const StudyCaseEnd end = RunStudyCase(n, C.LoadType, C.Condition1, C.Condition2, C.AxialLoad);
        if (end == StudyCaseEnd::Failed) return;
        const double yTop = P.y[St(1)];
        // A trial that exceeds the deflection limit or does not converge has
        // no row; it is listed after the table with its reason. The limit
        // holds for the largest deflection along the pile, as in a load case.
        if (!(std::fabs(P.y[St(LargestDeflectionStation())]) < O.ExcessDeflectionLimit)) {
            skipped[numSkipped++] = SkippedTrial{length, LengthSkipReason::DeflectionLimit};
            continue;
        }
        if (end != StudyCaseEnd::Converged) {
            skipped[numSkipped++] = SkippedTrial{length, LengthSkipReason::IterationLimit};
            continue;
        }
        if (!(P.DYMAX < O.ConvergenceTolerance)) {
            skipped[numSkipped++] = SkippedTrial{length, LengthSkipReason::Tolerance};
            continue;
        }
        // Under a compressive axial load a short trial pile can converge to a
        // shape its own P-delta moment holds up (the head leaning back
        // against the shear): a buckled pile, as a load case would report
        // with Runtime Error 34. It has no row.
        const int stability = StudyTrialStability();
        if (stability < 0) return;
        if (stability > 0) {
            skipped[numSkipped++] = SkippedTrial{length, LengthSkipReason::Buckled};
            continue;
        }
        ClearRunningMaxima();
        for (int i = 1; i <= P.NumStations; ++i) StationResults(i);
        accepted[count++] = TrialResult{length, yTop, P.MaxMoment, P.MaxShear};
    }

    WriteLengthTableHeading(ReportOut());
    for (int t = 0; t < count; ++t) {
        const TrialResult& r = accepted[t];
        WriteLengthRow(ReportOut(), r.Length, r.HeadDeflection, r.MaxMoment, r.MaxShear);
    }
    if (count == 0) WriteNoAcceptedLength(ReportOut());
    if (numSkipped > 0) {
        WriteSkippedLengthsHeading(ReportOut());
        for (int t = 0; t < numSkipped; ++t) WriteSkippedLength(ReportOut(), skipped[t].Length, skipped[t].Reason);
    }
    WritePlotLine11Study(PlotOut(), count, n);
    for (int t = 0; t < count; ++t) {
        const TrialResult& r = accepted[t];
        WritePlotLine12(PlotOut(), r.Length, r.HeadDeflection, r.MaxMoment, r.MaxShear);
    }

    // The pile model is left as the run's pile for whatever follows.
    PrepareStationsOfLength(Problem.PileLength);
}

}  // namespace kestro
