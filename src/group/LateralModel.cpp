#include "group/LateralModel.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

#include "analysis/LoadCases.h"
#include "model/PileProperties.h"
#include "analysis/Stability.h"
#include "analysis/StationResults.h"
#include "analysis/Stations.h"
#include "axial/AxialModel.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "driver/RunSequence.h"
#include "model/Warnings.h"
#include "input/InputFile.h"
#include "input/InputWarnings.h"
#include "input/KeywordReader.h"
#include "input/Units.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "section/SectionAnalysis.h"

namespace kestro::group {
namespace {

// The convergence tolerance of the pile's secant iteration in a group run:
// the input's tolerance, made at least as tight as 1E-8 of the pile width,
// so that a pile's head forces are a smooth function of its head conditions
// at the cap solution's tolerance. A solution that stalls above that within
// the iteration limit is accepted when its last change of deflection met the
// input's own tolerance (the single-pile run would accept it).
constexpr double GroupDeflectionTolerance = 1.0E-8;
// The iteration limit of those solutions (at least).
constexpr int GroupIterationLimit = 200;

// Head movements smaller than SmallestMovement times the iteration's
// tolerance are answered in proportion; a head slope counts as the movement
// it gives over SlopeLength pile widths.
constexpr double SmallestMovement = 1000.0;
constexpr double SlopeLength = 10.0;
// The smallest step of the differences that give the tangent, in input tolerances.
constexpr double FiniteDifferenceFloor = 100.0;

struct AnswerKey {
    int Model;
    bool Fixed;
    double Y, Slope, Axial, PMult;
    bool operator<(const AnswerKey& o) const {
        return std::tie(Model, Fixed, Y, Slope, Axial, PMult) <
               std::tie(o.Model, o.Fixed, o.Y, o.Slope, o.Axial, o.PMult);
    }
};

// The kept answers; bounded so that a long run never grows without end.
constexpr std::size_t MaxKeptAnswers = 100000;

struct ModelState {
    bool b_Prepared = false;
    bool b_ChannelsOpen = false;
    double Width = 0.0;            // of the model in the store
    double InputTolerance = 0.0;   // the input's own convergence tolerance (model in the store)
    // Every lateral model of the group run; the store holds the one numbered
    // Current and is prepared again from its text when another is needed.
    std::vector<std::string> Texts;
    std::vector<double> Widths, InputTolerances;
    int Current = -1;
    std::map<AnswerKey, LateralAnswer> Answers;
    std::map<AnswerKey, std::pair<int, std::string>> Stable;   // stability checks made
    long Solutions = 0;
};

ModelState& State() {
    static ModelState s;
    return s;
}

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

// The error stored by the engine, cleared so the store can be used again.
int TakeEngineError(std::string& why, const char* stage) {
    const int e = Run.ErrorNumber;
    if (e <= 0) return 0;
    why = std::string(stage) + ": ";
    if (e >= 200)
        why += "Runtime Error " + std::to_string(e - 200);
    else if (e >= 100)
        why += "Input Data Error " + std::to_string(e - 100);
    else
        why += "error " + std::to_string(e);
    if (!TerminationLine().empty()) why += " (" + TerminationLine() + ")";
    Run.ErrorNumber = 0;
    ClearTerminationLine();
    return e;
}

// The head shear that the finite-difference equations of the pile balance:
// the shear condition that a head loaded by a shear would have imposed,
//   V = EI(2) (y3 - 2 y2 + 2 y0 - y-1) / (2 h^3) + Q (y2 - y0) / (2 h),
// evaluated on the solution with the head deflection prescribed. The
// equations of the prescribed-deflection head are those of the shear-loaded
// head without that one condition, so a pile held at the deflection and slope
// that a shear V produces returns V to round-off.
double HeadShearOfTheDifferenceEquations() {
    const PileModel& P = Pile;
    const double h = P.Spacing;
    const double EI = P.EI[St(2)];
    const auto y = [&P](int i) { return P.y[St(i)]; };
    return EI * (y(3) - 2.0 * y(2) + 2.0 * y(0) - y(-1)) / (2.0 * h * h * h) + P.AxialLoad * (y(2) - y(0)) / (2.0 * h);
}

}  // namespace

namespace {

// Reads and prepares one keyword input into the store (the kept answers and
// the other models are left as they are). On failure the whole group state
// is released.
int LoadIntoStore(const std::string& text, LateralModelInfo& info, std::string& why) {
    ModelState& M = State();
    M.b_Prepared = false;
    info = LateralModelInfo{};
    if (M.b_ChannelsOpen) {
        CloseOutputChannels();
        M.b_ChannelsOpen = false;
    }
    ClearTerminationLine();
    SetInRun(true);
    ResetModelStore();
    int failed = 0;
    if (!OpenOutputChannels("/dev/null", "/dev/null", "/dev/null", failed)) {
        SetInRun(false);
        why = "the lateral model's output channels could not be opened";
        return 200 + ErrWriteFailed;
    }
    M.b_ChannelsOpen = true;
    LoadInputText(text);
    std::string tag;
    if (!TryReadFirstWord(tag) || tag.substr(0, 7) != "KESTRO6") {
        why = "the lateral model is not a keyword input (its first line is not KESTRO6)";
        ReleaseLateralModel();
        return 100 + ErrUnsupportedFormat;
    }
    Run.FormatTag.Set(std::string_view(tag).substr(0, 7));
    ReadKeywordInput();
    if (const int e = TakeEngineError(why, "reading the lateral model"); e != 0) return ReleaseLateralModel(), e;

    const AnalysisOptions& O = Problem.Options;
    if (O.ComputationMode == 2) {
        why = "the lateral model computes section properties only (ComputeEIOnly YES): it has no pile to analyse";
        ReleaseLateralModel();
        return 100 + ErrNoLoadCases;
    }
    Run.b_SI = O.UnitSystem == UnitsSI;
    SetUnitLabels(O.UnitSystem);
    ConvertToInternalUnits();
    if (const int e = TakeEngineError(why, "converting the lateral model"); e != 0) return ReleaseLateralModel(), e;
    for (int k = 2; k <= Problem.NumLayers; ++k)
        Problem.Layers[static_cast<std::size_t>(k)].XTop = Problem.Layers[static_cast<std::size_t>(k - 1)].XBottom;
    for (int k = 1; k <= Problem.NumLayers; ++k) {
        const SoilLayer& L = Problem.Layers[static_cast<std::size_t>(k)];
        if (L.XBottom < L.XTop) {
            why = "soil layer " + std::to_string(k) + " of the lateral model has its bottom above its top";
            ReleaseLateralModel();
            return 100 + ErrInvertedLayer;
        }
    }
    if (Problem.NumSections < 1 || !(Problem.PileLength > 0.0)) {
        why = "the lateral model has no pile section";
        ReleaseLateralModel();
        return 100 + ErrNoLoadCases;
    }
    if (AxialInput.b_Requested) BuildAxialColumn();
    if (const int e = TakeEngineError(why, "building the axial column"); e != 0) return ReleaseLateralModel(), e;
    PrepareStationsOfLength(Problem.PileLength);
    if (const int e = TakeEngineError(why, "building the stations"); e != 0) return ReleaseLateralModel(), e;
    if (O.ComputationMode == 3) {
        for (int s = 1; s <= Problem.NumSections; ++s) {
            ComputeSectionStiffness(s);
            if (Failed()) break;
        }
    }
    if (const int e = TakeEngineError(why, "computing the sections' bending stiffness"); e != 0)
        return ReleaseLateralModel(), e;

    Pile.b_NonlinearEI = O.ComputationMode == 3 || O.ComputationMode == 5;
    Pile.b_LrfdCase = false;
    Pile.b_StiffnessMode = true;
    M.Width = PropertiesAt(0.0).b;
    M.InputTolerance = Problem.Options.ConvergenceTolerance;
    const double tol = GroupDeflectionTolerance * (M.Width > 0.0 ? M.Width : 1.0);
    if (!(Problem.Options.ConvergenceTolerance <= tol)) Problem.Options.ConvergenceTolerance = tol;
    if (Problem.Options.MaxIterations < GroupIterationLimit) Problem.Options.MaxIterations = GroupIterationLimit;
    M.b_Prepared = true;

    info.b_Axial = AxialInput.b_Requested;
    info.Length = Problem.PileLength;
    info.Width = M.Width;
    info.DeflectionLimit = O.ExcessDeflectionLimit;
    info.ForceUnit = IsUS() ? "lbs" : IsSI() ? "kN" : "F";
    info.LengthUnit = IsUS() ? "in" : IsSI() ? "m" : "L";
    return 0;
}

// Puts model k in the store (prepared again from its text when another one is there).
int SelectModel(int k, std::string& why) {
    ModelState& M = State();
    if (M.b_Prepared && M.Current == k) return 0;
    if (k < 0 || static_cast<std::size_t>(k) >= M.Texts.size()) {
        why = "no lateral model " + std::to_string(k + 1) + " is prepared";
        return ErrorPileFailed;
    }
    LateralModelInfo info;
    std::string engine;
    if (LoadIntoStore(M.Texts[static_cast<std::size_t>(k)], info, engine) != 0) {
        why = "lateral model " + std::to_string(k + 1) + " could not be prepared again: " + engine;
        return ErrorPileFailed;
    }
    M.Current = k;
    return 0;
}

}  // namespace

int PrepareLateralModels(const std::vector<std::string>& texts, std::vector<LateralModelInfo>& infos,
                         std::string& why, std::size_t& failed) {
    ModelState& M = State();
    if (M.b_ChannelsOpen) CloseOutputChannels();
    M = ModelState{};
    infos.assign(texts.size(), LateralModelInfo{});
    failed = 0;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        failed = k;
        if (const int e = LoadIntoStore(texts[k], infos[k], why); e != 0) return e;
        M.Texts.push_back(texts[k]);
        M.Widths.push_back(M.Width);
        M.InputTolerances.push_back(M.InputTolerance);
        M.Current = static_cast<int>(k);
    }
    return 0;
}

int PrepareLateralModel(const std::string& text, LateralModelInfo& info, std::string& why) {
    std::vector<LateralModelInfo> infos;
    std::size_t failed = 0;
    const int e = PrepareLateralModels({text}, infos, why, failed);
    info = infos.empty() ? LateralModelInfo{} : infos[0];
    return e;
}

void ReleaseLateralModel() {
    ModelState& M = State();
    if (M.b_ChannelsOpen) CloseOutputChannels();
    SetInRun(false);
    M = ModelState{};
    // Nothing of the group's model reaches the next user of the store.
    ResetModelStore();
}

void ForgetLateralAnswers() {
    State().Answers.clear();
    State().Stable.clear();
}

long LateralSolutionCount() { return State().Solutions; }

LateralAnswer SolveLateral(bool fixedHead, double y, double slope, double axial, double pMultiplier, int model) {
    ModelState& M = State();
    LateralAnswer a;
    if (!M.b_Prepared) {
        a.Error = ErrorPileFailed;
        a.Why = "no lateral model is prepared";
        return a;
    }
    if (!fixedHead) slope = 0.0;
    const AnswerKey key{model, fixedHead, y, slope, axial, pMultiplier};
    if (const auto it = M.Answers.find(key); it != M.Answers.end()) return it->second;
    if (SelectModel(model, a.Why) != 0) {
        a.Error = ErrorPileFailed;
        return a;
    }

    // A head movement too small for the iteration's tolerance to mean
    // anything (the iteration would stop on its first solutions, far from
    // the soil's moduli) is answered in proportion from the movement of the
    // same shape at the smallest size that it resolves; none at all by none.
    const double b = M.Width > 0.0 ? M.Width : 1.0;
    const double size = std::max(std::fabs(y), SlopeLength * b * std::fabs(slope));
    const double smallest = SmallestMovement * Problem.Options.ConvergenceTolerance;
    if (!(size > 0.0)) {
        // The stations as prepared, at rest.
        for (int i = 1; i <= Pile.NumStations; ++i) a.ProfileDepth.push_back(Pile.x[St(i)]);
        a.ProfileDeflection.assign(a.ProfileDepth.size(), 0.0);
        a.ProfileMoment.assign(a.ProfileDepth.size(), 0.0);
        M.Answers.emplace(key, a);
        return a;
    }
    if (size < smallest) {
        // Scaled a hair beyond the smallest size, so that rounding never
        // brings the scaled movement back below it.
        const double f = smallest / size * (1.0 + 1.0E-9);
        a = SolveLateral(fixedHead, y * f, slope * f, axial, pMultiplier, model);
        if (a.Error == 0) {
            a.Deflection /= f;
            a.Slope /= f;
            a.Shear /= f;
            a.Moment /= f;
            a.MaxMoment /= f;
            for (double& v : a.ProfileDeflection) v /= f;
            for (double& v : a.ProfileMoment) v /= f;
        }
        M.Answers.emplace(key, a);
        return a;
    }

    ++M.Solutions;
    Pile.GroupPMultiplier = pMultiplier;
    StudyCaseEnd end = RunStudyCase(1, fixedHead ? 5 : 4, y, slope, axial);
    const int worst = LargestDeflectionStation();
    const double yWorst = Pile.y[St(worst)];
    if (end == StudyCaseEnd::LimitReached && !Failed() && std::isfinite(yWorst) &&
        std::fabs(yWorst) < Problem.Options.ExcessDeflectionLimit && Pile.DYMAX <= M.InputTolerance)
        end = StudyCaseEnd::Converged;
    if (end == StudyCaseEnd::Converged) {
        WriteCaseResults(1);
    }
    std::string engine;
    if (TakeEngineError(engine, "lateral analysis") != 0) {
        a.Error = ErrorPileFailed;
        a.Why = engine;
    } else if (end == StudyCaseEnd::LimitReached || end == StudyCaseEnd::Failed) {
        if (!std::isfinite(yWorst) || std::fabs(yWorst) >= Problem.Options.ExcessDeflectionLimit) {
            a.Error = ErrorDeflectionLimit;
            a.Why = "its deflection (" + Number(yWorst) + " at " + Number(Pile.x[St(worst)]) +
                    " below the head) exceeds the deflection limit " + Number(Problem.Options.ExcessDeflectionLimit) +
                    " of its lateral model, at head deflection " + Number(y) +
                    (fixedHead ? ", head slope " + Number(slope) : std::string(", pinned head")) +
                    ", axial load " + Number(axial);
        } else {
            a.Error = ErrorPileFailed;
            a.Why = "its lateral analysis did not converge in " + std::to_string(Problem.Options.MaxIterations) +
                    " iterations at head deflection " + Number(y) +
                    " (a load beyond what the piles can carry drives them there)";
        }
    } else {
        a.Deflection = Pile.y[St(1)];
        a.Slope = ReportedHeadSlope();
        a.Shear = HeadShearOfTheDifferenceEquations();
        a.Moment = ReportedHeadMoment();
        a.MaxMoment = Pile.MaxMoment;
        a.DepthMaxMoment = Pile.DepthMaxMoment;
        a.Iterations = Pile.Iteration;
        const auto n = static_cast<std::size_t>(Pile.NumStations);
        a.ProfileDepth.resize(n);
        a.ProfileDeflection.resize(n);
        a.ProfileMoment.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const int station = static_cast<int>(i) + 1;
            a.ProfileDepth[i] = Pile.x[St(station)];
            a.ProfileDeflection[i] = Pile.y[St(station)];
            a.ProfileMoment[i] = Pile.Moment[St(station)];
        }
        // The running maximum holds |M|: give it the sign of the moment there.
        for (int i = 1; i <= Pile.NumStations; ++i)
            if (std::fabs(Pile.Moment[St(i)]) == Pile.MaxMoment) {
                a.MaxMoment = Pile.Moment[St(i)];
                a.DepthMaxMoment = Pile.x[St(i)];
                break;
            }
    }
    Pile.GroupPMultiplier = 1.0;
    if (M.Answers.size() >= MaxKeptAnswers) M.Answers.clear();
    M.Answers.emplace(key, a);
    return a;
}

int CheckLateralStability(bool fixedHead, double y, double slope, double axial, double pMultiplier,
                          std::string& why, int model) {
    ModelState& M = State();
    if (!M.b_Prepared || !(axial > 0.0)) return 0;
    if (!fixedHead) slope = 0.0;
    const AnswerKey key{model, fixedHead, y, slope, axial, pMultiplier};
    if (const auto it = M.Stable.find(key); it != M.Stable.end()) {
        why = it->second.second;
        return it->second.first;
    }
    if (SelectModel(model, why) != 0) return ErrorPileFailed;
    // The same solution as the answer's (a small movement at the size it was solved at).
    const double b = M.Width > 0.0 ? M.Width : 1.0;
    const double size = std::max(std::fabs(y), SlopeLength * b * std::fabs(slope));
    const double smallest = SmallestMovement * Problem.Options.ConvergenceTolerance;
    const double f = size > 0.0 && size < smallest ? smallest / size * (1.0 + 1.0E-9) : 1.0;
    int error = 0;
    ++M.Solutions;
    Pile.GroupPMultiplier = pMultiplier;
    const StudyCaseEnd end = RunStudyCase(1, fixedHead ? 5 : 4, y * f, slope * f, axial);
    if (end == StudyCaseEnd::Converged || (end == StudyCaseEnd::LimitReached && !Failed() &&
                                           Pile.DYMAX <= M.InputTolerance)) {
        WriteCaseResults(1);
        if (!Failed()) CheckCaseStability(1);
        std::string engine;
        if (TakeEngineError(engine, "stability of its lateral analysis") != 0) {
            error = ErrorPileFailed;
            why = engine + ": the pile buckles under its axial load " + Number(axial) +
                  " or its solution is not in equilibrium";
        }
    }
    Pile.GroupPMultiplier = 1.0;
    M.Stable.emplace(key, std::make_pair(error, why));
    return error;
}

int LateralPileHead::CheckStability(std::string& why) const {
    if (!b_Answered) return 0;
    return CheckLateralStability(Head_ == Connection::Fixed, LastY_, LastSlope_, LastAxial_, PMultiplier_, why, Model_);
}

LateralPileHead::LateralPileHead(Connection head, double pMultiplier, const axial::AxialPile* axialColumn,
                                 double kAxial, int model)
    : Head_(head), PMultiplier_(pMultiplier), Column_(axialColumn), KAxial_(kAxial), Model_(model) {}

HeadResult LateralPileHead::Respond(const Vector3& movement) {
    HeadResult r;
    // The axial column in the store is that of the model in the store.
    if (Column_ != nullptr && SelectModel(Model_, r.Why) != 0) {
        r.Error = ErrorPileFailed;
        return r;
    }
    // Axial: the column, or the linear stiffness.
    double N = 0.0, kN = KAxial_;
    if (Column_ != nullptr) {
        const axial::HeadResponse ax = axial::SolveForHeadDisplacement(*Column_, movement[0], AxialState_);
        if (!ax.b_Converged || !std::isfinite(ax.Force)) {
            r.Why = "the axial analysis did not converge at a head movement of " + Number(movement[0]);
            return r;
        }
        N = ax.Force;
        kN = ax.Stiffness;
    } else {
        N = KAxial_ * movement[0];
    }
    const bool fixed = Head_ == Connection::Fixed;
    const double y = movement[1], slope = fixed ? -movement[2] : 0.0;
    const LateralAnswer a = SolveLateral(fixed, y, slope, N, PMultiplier_, Model_);
    if (a.Error != 0) {
        r.Error = a.Error;
        r.Why = a.Why;
        return r;
    }
    Last_ = a;
    b_Answered = true;
    LastY_ = y;
    LastSlope_ = slope;
    LastAxial_ = N;
    // One-sided differences of the head forces, each step taken toward zero
    // movement (so that it never carries the pile toward its deflection
    // limit): steps of 1E-3 of the head movement, never below 100 times the
    // input's convergence tolerance (a solution is accepted at that
    // tolerance: the step stays well clear of the iteration's residual).
    const ModelState& M = State();
    const auto k = static_cast<std::size_t>(Model_);
    const double width = k < M.Widths.size() ? M.Widths[k] : M.Width;
    const double b = width > 0.0 ? width : 1.0;
    const double floor = FiniteDifferenceFloor * (k < M.InputTolerances.size() ? M.InputTolerances[k] : M.InputTolerance);
    const double hy = (y > 0.0 ? -1.0 : 1.0) * std::max(1.0E-3 * std::fabs(y), floor);
    const LateralAnswer yd = SolveLateral(fixed, y + hy, slope, N, PMultiplier_, Model_);
    if (yd.Error != 0) {
        r.Error = yd.Error;
        r.Why = yd.Why;
        return r;
    }
    r.Force = {N, a.Shear, fixed ? a.Moment : 0.0};
    r.Tangent = Matrix3{};
    r.Tangent[0][0] = kN;
    r.Tangent[1][1] = (yd.Shear - a.Shear) / hy;
    if (fixed) {
        r.Tangent[2][1] = (yd.Moment - a.Moment) / hy;
        const double hs = (slope > 0.0 ? -1.0 : 1.0) * std::max(1.0E-3 * std::fabs(slope), floor / (SlopeLength * b));
        const LateralAnswer sd = SolveLateral(true, y, slope + hs, N, PMultiplier_, Model_);
        if (sd.Error != 0) {
            r.Error = sd.Error;
            r.Why = sd.Why;
            return r;
        }
        // d/d(rotation) = -d/d(slope).
        r.Tangent[1][2] = -(sd.Shear - a.Shear) / hs;
        r.Tangent[2][2] = -(sd.Moment - a.Moment) / hs;
        // The pair of cross terms is one quantity: their mean keeps the
        // group's tangent symmetric.
        const double k23 = 0.5 * (r.Tangent[1][2] + r.Tangent[2][1]);
        r.Tangent[1][2] = r.Tangent[2][1] = k23;
    }
    // Secant: the diagonal ratios where the movement is not zero, the tangent
    // where it is; the cross terms of the tangent.
    r.Secant = r.Tangent;
    if (movement[0] != 0.0) r.Secant[0][0] = N / movement[0];
    if (!fixed) {
        if (y != 0.0) r.Secant[1][1] = a.Shear / y;
    } else {
        // Solve the 2 x 2 secant with the tangent's cross term: Q = s22 y + k23 rot, Mh = k23 y + s33 rot.
        const double rot = movement[2], k23 = r.Tangent[1][2];
        if (y != 0.0) r.Secant[1][1] = (a.Shear - k23 * rot) / y;
        if (rot != 0.0) r.Secant[2][2] = (a.Moment - k23 * y) / rot;
    }
    r.b_Ok = true;
    return r;
}

}  // namespace kestro::group
