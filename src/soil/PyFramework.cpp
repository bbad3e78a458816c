// The station loop common to all p-y criteria, the layer dispatch used by the
// load-case iteration and the printed curves, and the layered-soil
// equivalent depth.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/PileProperties.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "model/Warnings.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "report/SoilMessages.h"
#include "soil/PyCriteria.h"
#include "soil/SoilModels.h"
#include "soil/SoilProperties.h"

namespace kestro {

namespace {

std::size_t L(int k) { return static_cast<std::size_t>(k); }

bool ValidLayer(int k) { return k >= 1 && k <= Problem.NumLayers && k <= MaxSoilLayers; }

// Equivalent depth of the station (Georgiadis 1983): the depth in this layer's
// own soil at which it would carry the resistance of all layers above, plus
// the distance below the layer top. Layer 1, criteria without the correction
// and layers below rock use the depth below the ground surface.
double EquivalentDepthOf(int k, const SoilModel& e, const PyPoint& pt) {
    if (k == 1 || !e.b_UsesEqDepth || Soil.RockLayerCount != 0) return pt.Z;
    if (pt.b_FirstStation && !pt.b_PrintMode) ComputeEquivalentDepth(k, pt);
    const double bottom1 = Problem.Layers[1].XBottom;
    const double bottom2 = Problem.NumLayers >= 2 ? Problem.Layers[2].XBottom : 0.0;
    if (bottom1 < -1.0E-8 || bottom2 < -1.0E-8) return pt.Depth - Problem.Layers[1].XTop;
    return pt.Depth - Problem.Layers[L(k)].XTop + Soil.EquivalentDepth[L(k)];
}

// Station data kept from the first pass of a load case: the point after
// PlaceStation and the Properties step, and the warnings that step raised.
// It lives outside the model store and is matched by the generation number of
// the soil state, which only ever grows, so data of an earlier case or run can
// never be taken for the current one.
//
// For a criterion with a split curve it also keeps the prepared result (all
// but p) with the equivalent depth and the side of the deflection it was
// prepared for, the two inputs of Prepare that may change from pass to pass;
// it is prepared again when either differs (the side only on sloping ground,
// the only place where a curve depends on it).
struct KeptStation {
    std::uint64_t Generation = 0;
    int Layer = 0;
    int RockLayerCount = 0;
    PyPoint Point{};
    WarningTape Tape{};
    bool b_Prepared = false;
    double PreparedZEq = 0.0;
    double PreparedSign = 0.0;
    double PreparedPu = 0.0;  // the station's p_u times the p-multiplier
    PyResult Prepared{};
};
std::array<KeptStation, MaxStations + 1> Kept{};

bool MayKeepProperties(const SoilModel& e) {
    if (Soil.PyPrintMode) return false;
    switch (e.Reuse) {
        case PropertiesPerStation: return true;
        case PropertiesPerStationLevel: return Problem.EffectiveSlope == 0.0;
        default: return false;
    }
}

// True when every station of the layer is kept for this case: a layer is
// evaluated from kept data as a whole or not at all, since some Properties
// steps carry running values (averages from the layer top) from station to
// station.
bool LayerKept(int k, int first, int last, int rockCount) {
    const std::uint64_t generation = KeptStationGeneration();
    for (int i = first; i <= last; ++i) {
        const KeptStation& s = Kept[static_cast<std::size_t>(i)];
        if (s.Generation != generation || s.Layer != k || s.RockLayerCount != rockCount || s.Tape.b_Overflow)
            return false;
    }
    return true;
}

// Runtime error 99 for a secant modulus that is not a finite number: result
// 299, in the runtime range like the others.
[[gnu::noinline]] void FailModulusNotANumber(int i) {
    Fail(ErrorKind::Runtime, 99, [i](std::ostream& out) { WriteModulusNotANumber(out, i); });
}

// StoreModulus, inlined into the station loop.
inline bool StoreStationModulus(int i, double Es, bool b_Movement, double ysm) {
    if (!std::isfinite(Es)) {
        FailModulusNotANumber(i);
        return false;
    }
    Pile.Es[St(i)] = Es;
    if (b_Movement) Pile.W[St(i)] = ysm * Es + DistributedLoadAt(Pile.x[St(i)]);
    return true;
}

void Dispatch(int k) {
    if (!ValidLayer(k)) return;
    const int first = Pile.FirstStation[L(k)];
    const int last = Pile.LastStation[L(k)];
    if (first < 1 || last < first || last > MaxStations) return;
    const std::string_view code = SoilCode(Problem.Layers[L(k)].SoilType);
    const SoilModel* e = FindCriterion(code);
    if (e == nullptr) return;  // "Frz Soil": the stations keep their moduli
    if (e->LayerFn != nullptr) {
        e->LayerFn(k);
        return;
    }
    if (e->Properties == nullptr || e->Curve == nullptr || e->PrintPage == nullptr) {
        // A code that names a criterion missing from this build must never
        // leave the initial moduli in place as if they were the soil's.
        WriteCriterionUnavailable(ReportOut(), k, code);
        WriteCriterionUnavailable(MessageOut(), k, code);
        TerminateRun("RUN00999", 999);
        return;
    }
    RunStationLoop(k, *e);
}

}  // namespace

void ForgetStationProperties() { NewKeptStationGeneration(); }

bool IncrementsRockLayerCount(int soilType) {
    const SoilModel* e = CriterionOf(soilType);
    return e != nullptr && e->b_CountsAsRock;
}

void EvaluateLayerCriterion(int k) {
    if (!ValidLayer(k)) return;
    if (!Soil.PyPrintMode) {
        Soil.RockCountSeen[L(k)] = Soil.RockLayerCount;
        Dispatch(k);
        return;
    }
    // The printed curve is the one the analysis used: the layer sees the rock
    // layer count it saw in its last analysis pass.
    const int saved = Soil.RockLayerCount;
    Soil.RockLayerCount = Soil.RockCountSeen[L(k)];
    Dispatch(k);
    Soil.RockLayerCount = saved;
}

void PrintLayerCurves(int k) {
    if (!ValidLayer(k)) return;
    const bool saved = Soil.PyPrintMode;
    Soil.PyPrintMode = true;
    EvaluateLayerCriterion(k);
    Soil.PyPrintMode = saved;
}

void ComputeEquivalentDepth(int k, const PyPoint& first) {
    if (!ValidLayer(k)) return;
    double F = 0.0;
    for (int j = 1; j <= k - 1; ++j) {
        if (Soil.LayerResistance[L(j)] < 0.01) Soil.LayerResistance[L(j)] = Soil.LiquefiedResistance[L(j)];
        F += Soil.LayerResistance[L(j)];
        if (F > 1.0E+20) F = 100.0;
    }
    const SoilModel* e = CriterionOf(Problem.Layers[L(k)].SoilType);
    if (e == nullptr || e->Invert == nullptr) return;
    Soil.EquivalentDepth[L(k)] = e->Invert(first, F);
}

PyPoint LayerPoint(int k) {
    const AnalysisOptions& O = Problem.Options;
    PyPoint pt{};
    pt.Layer = k;
    pt.b_PrintMode = Soil.PyPrintMode;
    pt.b_Cyclic = O.LoadingType;
    pt.NumberOfCycles = O.NumberOfCycles;
    pt.UnitSystem = O.UnitSystem;
    pt.EffectiveSlope = Problem.EffectiveSlope;
    pt.J = Soil.SoftClayJ;
    pt.RockLayerCount = Soil.RockLayerCount;
    return pt;
}

void PlaceStation(PyPoint& pt, int i, int first, int last) {
    pt.Station = i;
    pt.b_FirstStation = i == first;
    pt.b_LastStation = i == last;
    // Depth: vertical below the pile head; along the pile for a printed curve.
    pt.Depth = pt.b_PrintMode ? Pile.x[St(i)] : Pile.xv[St(i)];
    pt.Z = pt.Depth - Problem.GroundDepth;
    pt.B = PropertiesAt(pt.Depth).b;
    pt.PMult = PMultiplierAt(pt.Depth);
    pt.YMult = YMultiplierAt(pt.Depth);
    pt.b_AtNode = AtStrengthNode(pt.Depth);
    pt.C = pt.Gamma = pt.Phi = pt.Eps50 = 0.0;
}

bool StoreModulus(int i, double Es, bool b_Movement, double ysm) { return StoreStationModulus(i, Es, b_Movement, ysm); }

namespace {

// The integral of the ultimate resistance over layer k, one station at a
// time in station order (criteria with b_KeepsResistance).
struct ResistanceSum {
    int Layer = 0;
    const SoilModel* Model = nullptr;
    double H = 0.0;                // station spacing
    bool b_GroundRule = false;     // layer 1 of a criterion with the rule, the pile head above the ground
    double PrevResist = 0.0;

    void Add(const PyPoint& pt, const PyResult& res) {
        double& R = Soil.LayerResistance[L(Layer)];
        if (pt.b_FirstStation) R = 0.0;
        if (!pt.b_FirstStation) R += H * (PrevResist + res.Resist) / 2.0;
        if (pt.b_LastStation) {
            if (Model->EndTerm == EndSpacingTimesPu)
                R += H * res.Pu;
            else if (Model->EndTerm == EndToLayerBottomTimesPu)
                R += (Problem.Layers[L(Layer)].XBottom - pt.Depth) * res.Pu;
        }
        if (b_GroundRule) R = (res.ResistTop + res.Pu) * 0.5 * (Problem.Layers[1].XBottom - Problem.Layers[1].XTop);
        if (Model->b_StoresLiquefied) Soil.LiquefiedResistance[L(Layer)] = R;
        PrevResist = res.Resist;
    }
    // Stations from..to of a kept layer, from their kept points and results.
    void AddKept(int from, int to) {
        for (int i = from; i <= to; ++i) {
            const KeptStation& s = Kept[static_cast<std::size_t>(i)];
            Add(s.Point, s.Prepared);
        }
    }
};

// The station's ultimate resistance, as the soil acting on the pile sees it:
// p_u of the curve times the p-multiplier.
double StationUltimate(const PyPoint& pt, const PyResult& res) {
    const double pu = res.Ultimate > 0.0 ? res.Ultimate : res.Pu;
    return pu > 0.0 && std::isfinite(pu) ? pt.PMult * pu : 0.0;
}

// The resistance of a kept layer with a split curve as its last pass left
// it. While no station of the layer is prepared again and the other inputs
// of the sum (the spacing, the layer's bottom, the ground rule and the first
// layer's extent it uses) are the same, a pass sums the same values in the
// same order, so the total is the same to the last bit.
struct KeptLayerResistance {
    std::uint64_t Generation = 0;  // 0: none kept
    double H = 0.0;
    double LayerBottom = 0.0;
    bool b_GroundRule = false;
    double FirstTop = 0.0, FirstBottom = 0.0;
    double Resistance = 0.0;
    double Liquefied = 0.0;

    bool SameInputs(const KeptLayerResistance& o) const {
        return Generation == o.Generation && H == o.H && LayerBottom == o.LayerBottom &&
               b_GroundRule == o.b_GroundRule && FirstTop == o.FirstTop && FirstBottom == o.FirstBottom;
    }
};
std::array<KeptLayerResistance, MaxSoilLayers + 1> KeptResistance{};

}  // namespace

void RunStationLoop(int k, const SoilModel& e) {
    const int first = Pile.FirstStation[L(k)];
    const int last = Pile.LastStation[L(k)];
    if (first < 1 || last < first || last > MaxStations) return;

    const AnalysisOptions& O = Problem.Options;
    const bool print = Soil.PyPrintMode;
    const bool movement = O.UseSoilMovement && !e.b_IgnoresSoilMovement;
    const double h = O.NumIncrements > 0 ? CurrentPileLength() / O.NumIncrements : 0.0;

    PyPoint running = LayerPoint(k);
    const bool keep = MayKeepProperties(e);
    const bool split = e.Prepare != nullptr && e.AtDeflection != nullptr;
    const bool kept = keep && LayerKept(k, first, last, running.RockLayerCount);
    // A kept layer with a split curve sums its resistance after the loop, from
    // the kept results, or takes the sum of its last pass when no station was
    // prepared again; every other layer sums it station by station.
    const bool keptSplit = kept && split && !print;
    const bool sumInLoop = e.b_KeepsResistance && !print && !keptSplit;
    ResistanceSum sum{k, &e, h, k == 1 && e.b_Layer1GroundRule && Problem.GroundDepth < -1.0E-5};
    KeptLayerResistance& keptSum = KeptResistance[L(k)];
    bool prepared = false;  // a station of a kept split layer prepared in this pass
    if (!keptSplit) keptSum.Generation = 0;
    // One result for the layer: the scalars are cleared at every station; the
    // intermediate values (Aux) are written by a curve before it reads them
    // and are read only by the printed pages, which use their own.
    PyResult r;
    for (int i = first; i <= last; ++i) {
        KeptStation& store = Kept[static_cast<std::size_t>(i)];
        // The station's point: the kept one, or the running point placed and
        // given its soil values now.
        PyPoint& pt = kept ? store.Point : running;
        if (kept) {
            if (store.Tape.Count > 0) ReplayWarnings(store.Tape);
        } else {
            PlaceStation(pt, i, first, last);
        }
        if (pt.b_FirstStation && !print) Soil.LayerResistance[L(k)] = 0.0;
        if (!kept) {
            if (keep) RecordWarnings(&store.Tape);
            e.Properties(pt);
            RecordWarnings(nullptr);
            if (Failed()) return;
            if (keep) {
                store.Generation = KeptStationGeneration();
                store.Layer = k;
                store.RockLayerCount = pt.RockLayerCount;
                store.Point = pt;
                store.b_Prepared = false;
            }
        }
        pt.ZEq = EquivalentDepthOf(k, e, pt);

        if (print) {
            // A printed curve is drawn for deflections toward positive y.
            pt.Y = 0.0;
            pt.Sign = 1.0;
            e.PrintPage(pt);
            if (Failed()) return;
            continue;
        }

        const double raw = Pile.y[St(i)];
        const double ysm = movement ? Pile.ysm[St(i)] : 0.0;
        pt.Y = std::fabs(raw - ysm) / pt.YMult;
        pt.Sign = raw > 0.0 ? 1.0 : (raw < 0.0 ? -1.0 : 0.0);

        // The curve's result: a split curve of a kept station is prepared
        // once and kept while its inputs stay the same, with the station's
        // ultimate resistance as the soil acting on the pile sees it (p_u of
        // the curve times the p-multiplier); p(y) is evaluated only where the
        // secant modulus uses it (at or above YSmall).
        PyResult& res = split && keep ? store.Prepared : r;
        double stationPu = 0.0;
        if (split) {
            if (keep && store.b_Prepared && store.PreparedZEq == pt.ZEq &&
                (store.PreparedSign == pt.Sign || pt.EffectiveSlope == 0.0)) {
                stationPu = store.PreparedPu;
            } else {
                res.P = res.Pu = res.Ultimate = res.Resist = res.ResistTop = res.YSmall = res.EsSmall = 0.0;
                e.Prepare(pt, res);
                stationPu = StationUltimate(pt, res);
                prepared = true;
                if (keep) {
                    store.b_Prepared = true;
                    store.PreparedZEq = pt.ZEq;
                    store.PreparedSign = pt.Sign;
                    store.PreparedPu = stationPu;
                }
            }
            if (!(pt.Y < res.YSmall)) e.AtDeflection(pt, res);
        } else {
            r.P = r.Pu = r.Ultimate = r.Resist = r.ResistTop = r.YSmall = r.EsSmall = 0.0;
            e.Curve(pt, r);
            stationPu = StationUltimate(pt, r);
        }
        const double Es = pt.Y < res.YSmall ? res.EsSmall : pt.PMult * res.P / (pt.YMult * pt.Y);
        if (!StoreStationModulus(i, Es, movement, ysm)) {
            // The resistance as far as the station before.
            if (keptSplit && e.b_KeepsResistance) sum.AddKept(first, i - 1);
            keptSum.Generation = 0;
            return;
        }
        Pile.Pu[St(i)] = stationPu;
        if (sumInLoop) sum.Add(pt, res);
    }
    if (print || !e.b_KeepsResistance || !split || !keep) return;

    // A kept split layer: the sum of the last pass while nothing was prepared
    // again and the sum's other inputs are the same.
    KeptLayerResistance now;
    now.Generation = KeptStationGeneration();
    now.H = h;
    now.LayerBottom = Problem.Layers[L(k)].XBottom;
    now.b_GroundRule = sum.b_GroundRule;
    now.FirstTop = Problem.Layers[1].XTop;
    now.FirstBottom = Problem.Layers[1].XBottom;
    if (keptSplit) {
        if (!prepared && keptSum.SameInputs(now)) {
            Soil.LayerResistance[L(k)] = keptSum.Resistance;
            if (e.b_StoresLiquefied) Soil.LiquefiedResistance[L(k)] = keptSum.Liquefied;
            return;
        }
        sum.AddKept(first, last);
    }
    now.Resistance = Soil.LayerResistance[L(k)];
    now.Liquefied = Soil.LiquefiedResistance[L(k)];
    keptSum = now;
}

}  // namespace kestro
