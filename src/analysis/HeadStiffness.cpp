// Pile-head stiffness terms: ten shears at zero head rotation and ten moments
// at zero head deflection, each analysed with the nonlinear iteration of the
// load cases. With the head load vector [V, M] = K [y, theta]:
//   K22 = V / y and K32 = -M / y at zero rotation (load type 2, slope 0),
//   K23 = V / theta and K33 = -M / theta at zero deflection (load type 4, y 0).

#include <cmath>
#include <cstddef>
#include <ostream>

#include "analysis/LoadCases.h"
#include "analysis/StationResults.h"
#include "model/Channels.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/StudyReport.h"

namespace kestro {
namespace {

// Load step factors: g(1) = 0.1 (single precision), g(j) = log10(j) for
// j = 2..10, so that the last step carries the whole reference load.
double StepFactor(int j) { return j <= 1 ? static_cast<double>(0.1f) : std::log10(static_cast<double>(j)); }

// Reference loads below this magnitude take the defaults.
constexpr double NegligibleLoad = 1.0E-7;

struct ReferenceLoads {
    double V0 = 0.0, M0 = 0.0, Q = 0.0;
};

// The head shear, head moment and axial load of the run's first case as
// analysed (prescribed or computed), so that a first case that prescribes a
// deflection, a slope or a rotational restraint never has that value used as
// a force; defaults of 10 lbs and 100 in-lbs (SI: the same in kN and kN-m).
ReferenceLoads ReferenceLoadsOfFirstCase() {
    ReferenceLoads r;
    if (Pile.NumSummaryCases >= 1) {
        const CaseSummary& S = Pile.Summary[1];
        r.V0 = S.HeadShear;
        r.M0 = S.HeadMoment;
        r.Q = S.AxialLoad;
    }
    const bool si = IsSI();
    if (!(std::fabs(r.V0) >= NegligibleLoad)) r.V0 = si ? 0.04448220133781433 : 10.0;
    if (!(std::fabs(r.M0) >= NegligibleLoad)) r.M0 = si ? 0.011298480443656445 : 100.0;
    return r;
}

// The note that the stiffness table was not computed, at load step `step`,
// to the report and then the message channel.
void ReportStiffnessNotComputed(int step) {
    for (std::ostream* out : {&ReportOut(), &MessageOut()}) WriteStiffnessNotComputed(*out, step);
}

// Head values of one converged generated case.
struct HeadValues {
    double V = 0.0, M = 0.0, y = 0.0, Theta = 0.0;
};

}  // namespace

void ComputeHeadStiffness() {
    PileModel& P = Pile;
    const ReferenceLoads ref = ReferenceLoadsOfFirstCase();
    // The generated cases keep the distributed loads of the last load case.
    const StationArray lastW = P.W;
    const int lastN = P.NumStations;
    const bool savedLrfd = P.b_LrfdCase;
    P.b_LrfdCase = false;
    P.b_StiffnessMode = true;
    auto restore = [&P, savedLrfd] {
        P.b_StiffnessMode = false;
        P.b_LrfdCase = savedLrfd;
    };

    HeadValues head[21]{};
    double applied[21]{};
    for (int k = 1; k <= 20; ++k) {
        PrepareStationsOfLength(Problem.PileLength);
        if (Failed()) return restore();
        if (P.NumStations == lastN) P.W = lastW;
        const bool shearStep = k <= 10;
        applied[k] = shearStep ? ref.V0 * StepFactor(k) : ref.M0 * StepFactor(k - 10);
        const StudyCaseEnd end = shearStep ? RunStudyCase(k, 2, applied[k], 0.0, ref.Q)
                                           : RunStudyCase(k, 4, 0.0, applied[k], ref.Q);
        if (end == StudyCaseEnd::Failed) return restore();
        if (end == StudyCaseEnd::LimitReached) {
            // No stiffness table from a partial set of steps, and no error.
            ReportStiffnessNotComputed(k);
            return restore();
        }
        MessageOut() << "Convergence Criteria Met\n";
        WriteCaseResults(k);
        if (Failed()) return restore();
        head[k] = HeadValues{ReportedHeadShear(), ReportedHeadMoment(), P.y[St(1)], ReportedHeadSlope()};
    }

    StiffnessStep steps[11]{};
    for (int k = 1; k <= 10; ++k) {
        const HeadValues& a = head[k];
        const HeadValues& b = head[k + 10];
        StiffnessStep& s = steps[k];
        s.Deflection = a.y;
        s.ShearReaction = applied[k];
        s.MomentReaction = a.M;
        s.K22 = applied[k] / a.y;
        s.K32 = -a.M / a.y;
        s.Rotation = b.Theta;
        s.RotShearReaction = b.V;
        s.RotMomentReaction = applied[k + 10];
        s.K23 = b.V / b.Theta;
        s.K33 = -applied[k + 10] / b.Theta;
        // A head that did not move has no finite stiffness to report.
        for (double v : {s.K22, s.K32, s.K23, s.K33}) {
            if (!std::isfinite(v)) {
                const int step = std::isfinite(s.K22) && std::isfinite(s.K32) ? k + 10 : k;
                ReportStiffnessNotComputed(step);
                return restore();
            }
        }
    }
    WriteStiffnessTables(ReportOut(), steps);
    for (int k = 1; k <= 10; ++k) {
        const StiffnessStep& s = steps[k];
        WritePlotLine14(PlotOut(), s.ShearReaction, s.RotMomentReaction, s.K22, s.K23, s.K32, s.K33,
                        std::fabs(s.Deflection), std::fabs(s.Rotation));
    }
    restore();
}

}  // namespace kestro
