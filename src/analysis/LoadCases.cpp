#include "analysis/LoadCases.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <ostream>
#include <string_view>

#include "analysis/BendingStiffness.h"
#include "analysis/LrfdLoads.h"
#include "analysis/Solver.h"
#include "analysis/Stability.h"
#include "analysis/StationResults.h"
#include "analysis/Stations.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "model/Warnings.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "report/Format.h"
#include "report/ResultsReport.h"
#include "soil/PyCriteria.h"
#include "soil/SoilModels.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Initial secant modulus of every station at or below the ground surface.
constexpr double EsInitial = 50000.0;

// The criterion of layer k, or nullptr for a soil model without one.
const SoilModel* LayerCriterion(int k) { return CriterionOf(Problem.Layers[U(k)].SoilType); }

int NumLayers() { return Problem.NumLayers < MaxSoilLayers ? Problem.NumLayers : MaxSoilLayers; }

// Calls the criterion of layer k and keeps the counter of rock-like layers
// and the layer's marker that the criteria use for their messages.
void EvaluateLayer(int k) {
    const SoilModel* m = LayerCriterion(k);
    if (m == nullptr) return;  // a layer without a criterion keeps its moduli
    EvaluateLayerCriterion(k);
    if (Failed()) return;
    // After a rock-like layer the counter advances; a layer evaluated when
    // the counter was already positive (and a layer of a model marked always)
    // is marked for the criteria's messages.
    if (m->b_CountsAsRock) {
        if (Soil.RockLayerCount >= 1 || m->b_AlwaysMarked) Soil.LayerMarker[U(k)] = -1;
        ++Soil.RockLayerCount;
    }
}

// One pass of the soil update over every layer that holds a station; with
// `onlyCaseStart` set, only the layers of models updated at the start of a case.
void UpdateSoil(bool onlyCaseStart = false) {
    Soil.RockLayerCount = 0;
    for (int k = 1; k <= NumLayers(); ++k) {
        if (Pile.FirstStation[U(k)] < 1) continue;
        if (onlyCaseStart) {
            const SoilModel* m = LayerCriterion(k);
            if (m == nullptr || !m->b_UpdatedAtCaseStart) continue;
        }
        EvaluateLayer(k);
        if (Failed()) return;
    }
}

double TableAxialLoad(double Q) { return IsUS() ? Q / 1000.0 : Q; }

void UpdateStiffnessFromTables() {
    const double q = TableAxialLoad(Pile.AxialLoad);
    Pile.ThrustIndex = ChooseThrustIndex(q);
    UpdateBendingStiffness(Pile.ThrustIndex, q);
}

// Stations, sections, layers and soil movement of a load case (steps 1 and
// 2); an LRFD combination c takes its factored distributed loads.
void PrepareStations(int c) {
    PrepareStationsOfLength(Problem.PileLength);
    if (Failed()) return;
    if (Pile.b_LrfdCase) {
        TabulateLrfdDistributedLoads();
        ApplyLrfdDistributedLoads(c);
    }
}

// Deflections cleared and the initial secant moduli (step 4).
void StartCase() {
    // The stations, sections, loads or warnings may have changed since the
    // last case: no soil data kept from it is used again.
    ForgetStationProperties();
    PileModel& P = Pile;
    P.y.fill(0.0);
    P.Moment.fill(0.0);
    P.Shear.fill(0.0);
    P.Slope.fill(0.0);
    P.SoilReaction.fill(0.0);
    P.Pu.fill(0.0);
    P.TotalStress.fill(0.0);
    P.Es.fill(0.0);
    P.DYMAX = 0.0;
    for (int s = 1; s <= MaxEISections; ++s) {
        P.SectionMaxMoment[U(s)] = 0.0;
        P.SectionMaxShear[U(s)] = 0.0;
        P.SectionMaxMomentStation[U(s)] = 0;
        P.SectionMaxShearStation[U(s)] = 0;
    }
    for (int i = 1; i <= P.NumStations; ++i) P.Es[St(i)] = P.xv[St(i)] >= Problem.GroundDepth ? EsInitial : 0.0;
}

// The solver's head conditions for a load of type t (1..5) with its two
// conditions and the axial load; the tip shear starts from 0.
void SetHeadLoads(int t, double c1, double c2, double axial) {
    PileModel& P = Pile;
    P.LoadType = t;
    P.HeadShear = P.HeadMoment = P.HeadSlope = P.HeadRotationalStiffness = P.HeadDeflection = 0.0;
    switch (t) {
        case 2:
            P.HeadShear = c1;
            P.HeadSlope = c2;
            break;
        case 3:
            P.HeadShear = c1;
            P.HeadRotationalStiffness = c2;
            break;
        case 4:
            P.HeadDeflection = c1;
            P.HeadMoment = c2;
            break;
        case 5:
            P.HeadDeflection = c1;
            P.HeadSlope = c2;
            break;
        default:
            P.HeadShear = c1;
            P.HeadMoment = c2;
            break;
    }
    P.AxialLoad = axial;
    P.TipShear = 0.0;
}

void SetLoadConditions(int c) {
    if (Pile.b_LrfdCase) {
        // Every LRFD combination is a shear and moment case with its factored
        // loads (in the pile's axes for a battered pile).
        const FactoredHeadLoads f = FactoredLoadsOf(c);
        SetHeadLoads(1, f.Shear, f.Moment, f.Axial);
        return;
    }
    const LoadCase& L = Problem.LoadCases[U(c)];
    SetHeadLoads(L.LoadType, L.Condition1, L.Condition2, L.AxialLoad);
}

// The start of every analysed case, load case or study case: initial moduli,
// the first update of the layers updated at the start of a case (vuggy
// limestone), the head loads set by
// `setLoads` and, with nonlinear bending stiffness, EI from the tables.
// False with the error set.
template <class SetLoads>
bool BeginCase(SetLoads setLoads) {
    StartCase();
    UpdateSoil(true);
    if (Failed()) return false;
    setLoads();
    if (Pile.b_NonlinearEI) {
        UpdateStiffnessFromTables();
        if (Failed()) return false;
    }
    return true;
}

enum class CaseEnd { Converged, NotConvergedReported, LimitReached, IterationLimit, Failed };

// Relaxation of a stalled iteration. The plain secant iteration can be caught
// in a cycle: near a zero crossing of the deflection the secant modulus of a
// station flips between two values and the largest change of deflection stops
// falling. Once the largest change has not reached a new low for
// `StallIterations` solutions, each soil update is blended with the moduli it
// replaces, Es = w Es(new) + (1 - w) Es(old), which damps the cycle onto its
// fixed point. The lows are counted from solution `StallWatchStart` on, after
// the first transient in which the change can rise for several solutions. A
// case that converges without stalling never meets the rule, so its results
// are exactly those of the plain iteration.
constexpr int StallWatchStart = 10;
constexpr int StallIterations = 10;
constexpr double RelaxationWeight = 0.5;

struct StallWatch {
    double LowestChange = 0.0;
    int SinceLowest = 0;
    bool b_Relaxing = false;

    void Observe(int it, double change) {
        if (it < StallWatchStart) return;
        if (it == StallWatchStart || change < LowestChange) {
            LowestChange = change;
            SinceLowest = 0;
        } else if (++SinceLowest >= StallIterations) {
            b_Relaxing = true;
        }
    }
};

// Blends the moduli of the soil update just made with those it replaced.
void RelaxSoilUpdate(const StationArray& before) {
    PileModel& P = Pile;
    for (int i = 1; i <= P.NumStations; ++i)
        P.Es[St(i)] = RelaxationWeight * P.Es[St(i)] + (1.0 - RelaxationWeight) * before[St(i)];
}

// Runtime Error 10 after the iteration limit: a load type 4 case is still
// reported, then the run stops.
CaseEnd EndWithoutConvergence() {
    const AnalysisOptions& O = Problem.Options;
    Fail(ErrorKind::Runtime, 10, [&](std::ostream& out) {
        WriteRuntimeError10(out, O.MaxIterations, Pile.DYMAX, O.ConvergenceTolerance);
    });
    return Pile.LoadType == 4 ? CaseEnd::NotConvergedReported : CaseEnd::Failed;
}

// The iteration of one load case (step 7): converged; or a load type 4 case
// that ran out of iterations, whose results are still reported with the
// error set; or failed with the error set. In a study (`study` true) the
// excess deflection and the iteration limit end the case as LimitReached,
// without an error: the study decides what follows.
//
// With `quietLimit` the iteration limit ends the case as IterationLimit with
// no error either: the caller retries it by load steps.
// `reportLines` false keeps the iteration lines of the last solutions out of
// the report (the load steps of a retried case).
CaseEnd Iterate(int c, bool study = false, bool quietLimit = false, bool reportLines = true) {
    const AnalysisOptions& O = Problem.Options;
    PileModel& P = Pile;
    StallWatch stall;
    StationArray esBefore{};  // the moduli a relaxed soil update replaces
    for (int it = 1;; ++it) {
        P.Iteration = it;
        ClearRunningMaxima();
        SolvePile();
        if (Failed()) return CaseEnd::Failed;
        const double yTop = P.y[St(1)];
        if (!std::isfinite(yTop) || !std::isfinite(P.DYMAX)) {
            // A study trial that diverges beyond the range of numbers has
            // failed like one beyond the deflection limit.
            if (study) return CaseEnd::LimitReached;
            // A result that is not a number is never reported as an answer.
            Fail(ErrorKind::Runtime, 28, [it](std::ostream& out) { WriteComputationError28(out, it); });
            return CaseEnd::Failed;
        }
        MessageOut() << ProgressLine(c, it, yTop, P.DYMAX) << '\n';
        if (reportLines && it > O.MaxIterations - 5) ReportOut() << IterationReportLine(it, yTop, P.DYMAX) << '\n';

        // Every solution, converged or not, is held to the excess deflection
        // limit: a pile with next to no soil resistance can "converge" on a
        // deflection of metres or more, and a mechanism is never a result.
        // The largest deflection along the pile is tested, not only the
        // head's: with a prescribed head deflection (load types 4 and 5) a
        // diverging case grows below the head.
        const int worst = LargestDeflectionStation();
        const double yWorst = P.y[St(worst)];
        if (std::fabs(yWorst) >= O.ExcessDeflectionLimit) {
            if (study) return CaseEnd::LimitReached;
            const double depth = worst == 1 ? -1.0 : P.x[St(worst)];
            Fail(ErrorKind::Runtime, 9, [&](std::ostream& out) {
                WriteRuntimeError9(out, yWorst, O.ExcessDeflectionLimit, depth);
            });
            return CaseEnd::Failed;
        }
        // A case never converges in fewer than six solutions.
        if (P.DYMAX <= O.ConvergenceTolerance && it >= 6) return CaseEnd::Converged;

        stall.Observe(it, P.DYMAX);
        if (stall.b_Relaxing) esBefore = P.Es;
        UpdateSoil();
        if (Failed()) return CaseEnd::Failed;
        if (stall.b_Relaxing) RelaxSoilUpdate(esBefore);
        if (P.b_NonlinearEI) {
            UpdateStiffnessFromTables();
            if (Failed()) return CaseEnd::Failed;
        }

        if (it + 1 > O.MaxIterations) {
            if (study) return CaseEnd::LimitReached;
            if (quietLimit) return CaseEnd::IterationLimit;
            return EndWithoutConvergence();
        }
    }
}

// Load stepping of a case whose secant iteration ran out of iterations: the
// pile-head conditions (shear, moment, slope, deflection; not the axial load,
// the rotational stiffness or the distributed loads) are applied in
// LoadStepCount equal steps, each step's iteration starting from the moduli
// and deflections of the step before. A step that does not converge is split
// in two, down to MinLoadStep of the full load. Only a case that failed
// with the plain iteration comes here, so every case that converges without
// it keeps its results exactly.
constexpr int LoadStepCount = 4;
constexpr double MinLoadStep = 1.0 / 64.0;

void ScaleHeadLoads(double f) {
    PileModel& P = Pile;
    P.HeadShear *= f;
    P.HeadMoment *= f;
    P.HeadSlope *= f;
    P.HeadDeflection *= f;
}

CaseEnd IterateByLoadSteps(int c) {
    PileModel& P = Pile;
    MessageOut() << "Load case " << MinimalInteger(c)
                 << " did not converge in one step; its pile-head loads are applied in steps.\n";
    double reached = 0.0;
    double step = 1.0 / LoadStepCount;
    bool started = false;
    // Each step starts from the state of the last converged one (the first
    // from the initial moduli); a failed step is taken again from there.
    static PileModel lastConverged;
    while (reached < 1.0) {
        const double target = reached + step > 1.0 - 1.0E-12 ? 1.0 : reached + step;
        if (!started) {
            if (!BeginCase([c, target] {
                    SetLoadConditions(c);
                    ScaleHeadLoads(target);
                }))
                return CaseEnd::Failed;
        } else {
            const double tipShear = P.TipShear;
            SetLoadConditions(c);
            ScaleHeadLoads(target);
            P.TipShear = tipShear;
            if (P.b_NonlinearEI) {
                UpdateStiffnessFromTables();
                if (Failed()) return CaseEnd::Failed;
            }
        }
        const CaseEnd end = Iterate(c, false, true, false);
        if (end == CaseEnd::Converged) {
            MessageOut() << "Load step to " << FixedText(100.0 * target, 7, 2) << " % converged\n";
            reached = target;
            started = true;
            lastConverged = P;
            continue;
        }
        if (end != CaseEnd::IterationLimit) return end;
        if (step / 2.0 < MinLoadStep - 1.0E-12) break;
        step /= 2.0;
        if (started) P = lastConverged;
    }
    if (reached >= 1.0) return CaseEnd::Converged;
    return EndWithoutConvergence();
}

}  // namespace

int NumAnalysisCases() {
    const int n = Problem.Options.UseLRFD ? Problem.NumLrfdCombinations : Problem.NumLoadCases;
    const int limit = Problem.Options.UseLRFD ? MaxLrfdCombinations : MaxLoadCases;
    return n < 0 ? 0 : (n > limit ? limit : n);
}

void RunLoadCases() {
    const AnalysisOptions& O = Problem.Options;
    PileModel& P = Pile;
    // Pile response with nonlinear bending stiffness: computed (3) or
    // user-specified (5) moment-EI tables.
    P.b_NonlinearEI = O.ComputationMode == 3 || O.ComputationMode == 5;
    // In the LRFD mode the cases are the factored load combinations.
    P.b_LrfdCase = O.UseLRFD;
    const int numCases = NumAnalysisCases();
    for (int c = 1; c <= numCases; ++c) {
        P.LoadCaseNumber = c;
        PrepareStations(c);
        if (Failed()) return;

        MessageOut() << "Computing lateral response of pile for load number " << MinimalInteger(c) << '\n';
        ClearWarnings();

        if (!BeginCase([c] { SetLoadConditions(c); })) return;

        CaseEnd end = Iterate(c, false, true);
        if (end == CaseEnd::IterationLimit) end = IterateByLoadSteps(c);
        if (end == CaseEnd::Failed) return;
        // A converged equilibrium that the axial load holds up by its own
        // P-delta moment is a buckled pile, never an answer.
        if (end == CaseEnd::Converged && !CheckCaseStability(c)) return;
        // A head rotation beyond the range of small-deflection beam theory.
        if (end == CaseEnd::Converged &&
            std::fabs(P.y[St(2)] - P.y[St(0)]) / (2.0 * P.Spacing) > SmallDeflectionSlopeLimit)
            RaiseWarning(-WarnLargeHeadRotation);
        // A case that ran out of iterations is never announced as converged.
        if (end == CaseEnd::Converged) MessageOut() << "Convergence Criteria Met\n";
        if (c == 1) {
            const int nd = Problem.NumPrintedPyDepths;
            WritePlotLine6(PlotOut(), nd);
            if (nd != 0 && !Failed()) {
                MessageOut() << "Computing p-y curves for output at user-specified depths.\n";
                PrintPyCurvesAtDepths();
                if (Failed()) return;
            }
        }

        WriteCaseResults(c);
        if (Failed() && P.LoadType != 4) return;

        // The study of pile-head deflection versus pile length; LRFD
        // combinations and cases without the request get their Line 11
        // record with no points.
        if (O.UseLRFD || Failed() || c > MaxLoadCases || !Problem.LoadCases[U(c)].LengthStudyRequested) {
            WritePlotLine11NoStudy(PlotOut(), c, O.UseLRFD);
        } else {
            MessageOut() << "Computing top deflection vs. pile embedment length for load case " << MinimalInteger(c)
                         << ".\n";
            LengthStudy(c);
            if (Failed()) return;
        }

        MessageOut() << "Completed Analysis " << MinimalInteger(c) << "\n\n";
        if (Failed()) return;
    }
}

void UpdateSoilModuli() { UpdateSoil(); }

void PrepareStationsOfLength(double length) {
    BuildStations(length);
    if (Failed()) return;
    AssignSections();
    AssignLayers();
    if (Problem.Options.UseSoilMovement && Problem.NumSoilMovementPoints >= 2) InterpolateSoilMovement();
}

StudyCaseEnd RunStudyCase(int progressCase, int loadType, double condition1, double condition2, double axial) {
    PileModel& P = Pile;
    P.LoadCaseNumber = progressCase;
    if (!BeginCase([&] { SetHeadLoads(loadType, condition1, condition2, axial); })) return StudyCaseEnd::Failed;
    switch (Iterate(progressCase, true)) {
        case CaseEnd::Converged: return StudyCaseEnd::Converged;
        case CaseEnd::LimitReached: return StudyCaseEnd::LimitReached;
        default: return Failed() ? StudyCaseEnd::Failed : StudyCaseEnd::LimitReached;
    }
}

// The station of the largest deflection of stations 1..N (the head on a tie).
int LargestDeflectionStation() {
    const PileModel& P = Pile;
    int worst = 1;
    for (int i = 2; i <= P.NumStations; ++i)
        if (std::fabs(P.y[St(i)]) > std::fabs(P.y[St(worst)])) worst = i;
    return worst;
}

}  // namespace kestro
