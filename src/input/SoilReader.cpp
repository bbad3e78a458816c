// SOIL LAYERS: the soil profile as a stack of layers, each with one p-y
// criterion and its parameters at the top (point 2k-1) and the bottom
// (point 2k) of layer k. Depths are read in feet (US customary) or meters
// (SI); unit weights per cubic foot and cohesions per square foot in US input
// until the conversion to internal units.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstddef>
#include <string>
#include <vector>

#include "input/ValueRanges.h"
#include "input/InputFile.h"
#include "input/ReaderSupport.h"
#include "input/Readers.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "soil/SoilModels.h"

namespace kestro {
namespace {

// A user-input p-y curve: unit weight and point count, then one (y, p) pair
// per line.
bool ReadUserCurve(SoilPoint& P, const std::string& where) {
    if (!ReadList("the unit weight and number of p-y points " + where, {P.UnitWeight, P.UserCurvePoints}))
        return false;
    if (!CountWithin(P.UserCurvePoints, 0, MaxUserCurvePoints, "points on the user-input p-y curve " + where))
        return false;
    for (int j = 1; j <= P.UserCurvePoints; ++j) {
        const std::size_t uj = static_cast<std::size_t>(j);
        if (!ReadList("p-y point " + std::to_string(j) + " " + where, {P.UserY[uj], P.UserP[uj]}) ||
            !CheckField("the deflection y of p-y point " + std::to_string(j) + " " + where, P.UserY[uj]) ||
            !CheckField("the soil resistance p of p-y point " + std::to_string(j) + " " + where, P.UserP[uj]))
            return false;
    }
    return true;
}

// The slots of SoilPoint that keep value `v`, in the order they are read.
void AddSlots(SoilValue v, SoilPoint& P, std::vector<ListItem>& items) {
    switch (v) {
        case SoilValue::UnitWeight: items.emplace_back(P.UnitWeight); break;
        case SoilValue::ShearStrength:
        case SoilValue::RockStrength: items.emplace_back(P.Cohesion); break;
        case SoilValue::FrictionAngle: items.emplace_back(P.FrictionAngle); break;
        case SoilValue::Eps50:
        case SoilValue::Krm: items.emplace_back(P.Epsilon50); break;
        case SoilValue::SubgradeK:
        case SoilValue::RockModulus: items.emplace_back(P.Kpy); break;
        case SoilValue::Rqd: items.emplace_back(P.RQD); break;
        case SoilValue::FieldTest:
            items.emplace_back(P.TestType);
            for (int j = 1; j <= 4; ++j) items.emplace_back(P.TestValue[static_cast<std::size_t>(j)]);
            break;
        case SoilValue::ConeTip: items.emplace_back(P.ConeTipResistance); break;
        case SoilValue::ElasticSubgrade: items.emplace_back(P.ElasticSubgrade); break;
        case SoilValue::None:
        case SoilValue::UserCurve: break;
    }
}

std::vector<ListItem> SlotsOf(const SoilModel& m, SoilPoint& P) {
    std::vector<ListItem> items;
    for (SoilValue v : m.Reads) AddSlots(v, P, items);
    return items;
}

// The parameters of one point in the order of the soil model's descriptor.
// Rock keeps qu in the cohesion slot, krm in the strain slot and the initial
// rock modulus in the subgrade-modulus slot.
bool ReadSoilPointValues(const SoilModel& m, SoilPoint& P, const std::string& where) {
    if (m.b_ValuesOnLayerLine) return true;  // read with the depths (ReadLayerLineValues)
    if (m.ReadsValue(SoilValue::UserCurve)) return ReadUserCurve(P, where);
    const std::vector<ListItem> items = SlotsOf(m, P);
    if (items.empty()) return true;  // frozen soil reads no parameter lines
    return ReadList("the soil parameters " + where, items);
}

// No strength, modulus or test value of any soil or rock reaches 1E10 in any
// unit of the input, and no strain e50 exceeds 1: larger values are errors.
constexpr double SoilValueBound = 1.0E10;
bool SoilValuesBounded(const SoilPoint& P, const std::string& where) {
    const struct {
        const char* Field;
        double Value;
    } values[] = {{"the shear strength or rock strength ", P.Cohesion},
                  {"the subgrade modulus k ", P.Kpy},
                  {"the elastic subgrade modulus ", P.ElasticSubgrade},
                  {"the cone tip resistance ", P.ConeTipResistance},
                  {"the field test value 1 ", P.TestValue[1]},
                  {"the field test value 2 ", P.TestValue[2]},
                  {"the field test value 3 ", P.TestValue[3]},
                  {"the field test value 4 ", P.TestValue[4]}};
    for (const auto& v : values)
        if (!CheckBetween(std::string(v.Field) + where, v.Value, -SoilValueBound, SoilValueBound, "")) return false;
    return CheckBetween("the strain e50 " + where, P.Epsilon50, 0.0, 1.0, "");
}

// A point's values, then their physical ranges: a negative unit weight,
// strain or subgrade modulus describes no soil, and a friction angle must lie
// in 0 to 90 degrees. Values a model does not read stay zero and pass.
bool ReadSoilPoint(const SoilModel& m, SoilPoint& P, const std::string& where) {
    if (!ReadSoilPointValues(m, P, where)) return false;
    // No soil or rock weighs more than 1,000 pcf (157 kN/m3).
    const bool weightBounded = IsUS()   ? CheckBetween("the unit weight " + where, P.UnitWeight, 0.0, 1000.0, "pcf")
                               : IsSI() ? CheckBetween("the unit weight " + where, P.UnitWeight, 0.0, 157.0, "kN/m3")
                                        : true;
    return weightBounded && CheckRange("the unit weight " + where, P.UnitWeight, ValueRange::NonNegative) &&
           CheckRange("the friction angle " + where, P.FrictionAngle, ValueRange::Angle0To90) &&
           CheckRange("the strain e50 " + where, P.Epsilon50, ValueRange::NonNegative) &&
           CheckRange("the subgrade modulus k " + where, P.Kpy, ValueRange::NonNegative) &&
           CheckRange("the shear strength or rock strength " + where, P.Cohesion, ValueRange::NonNegative) &&
           CheckRange("the RQD (%) " + where, P.RQD, ValueRange::Percent) &&
           CheckRange("the elastic subgrade modulus " + where, P.ElasticSubgrade, ValueRange::NonNegative) &&
           CheckRange("the cone tip resistance " + where, P.ConeTipResistance, ValueRange::NonNegative) &&
           SoilValuesBounded(P, where);
}

// A model with its values on the layer line (massive rock) reads no
// parameter lines; its values (unit weight, uniaxial compressive strength and
// intact rock modulus) may follow the depths on the layer line, for the top
// and then the bottom of the layer (one set gives both).
void ReadLayerLineValues(const SoilModel& m, SoilPoint& T, SoilPoint& B) {
    const std::vector<ListItem> top = SlotsOf(m, T);
    const std::vector<ListItem> bottom = SlotsOf(m, B);
    const int count = static_cast<int>(top.size());
    double v[2 * MaxSoilValues] = {};
    const int n = TrailingReals(3, v, 2 * count);
    if (count == 0 || n < count) return;
    const int b = n >= 2 * count ? count : 0;
    for (int j = 0; j < count; ++j) {
        const std::size_t uj = static_cast<std::size_t>(j);
        if (top[uj].kind != ListItem::Real) continue;
        *static_cast<double*>(top[uj].target) = v[j];
        *static_cast<double*>(bottom[uj].target) = v[b + j];
    }
}

std::string DepthText(double depth) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6g", depth);
    return buf;
}

std::string_view DepthUnit() {
    switch (Problem.Options.UnitSystem) {
        case UnitsSI: return " m";
        case UnitsGeneral: return " L";
        default: return " ft";
    }
}

// Layer k must start where layer k - 1 ends: stations in a gap would have no
// soil model, and in an overlap two. Differences within the tolerance of
// layer_checks::LayerJointTolerance are rounding of the input and are closed
// by the contiguous profile; larger ones end the run.
bool CheckLayerJoint(int k, double top, int line) {
    const double above = Problem.Layers[static_cast<std::size_t>(k - 1)].XBottom;
    if (!layer_checks::IsGapOrOverlap(above, top)) return true;
    const bool gap = top > above;
    const std::string unit(DepthUnit());
    InputError(ErrLayerGapOrOverlap,
               "Problem:  Soil layer " + std::to_string(k) + " (line " + std::to_string(line) + ") starts at " +
                   DepthText(top) + unit + ", but soil layer " + std::to_string(k - 1) + " ends at " +
                   DepthText(above) + unit + ": " + (gap ? "a gap of " : "an overlap of ") +
                   DepthText(std::fabs(top - above)) + unit +
                   (gap ? " where the pile would have no soil." : " where two soil models would apply."),
               "Solution: Start each soil layer at the depth where the layer above it ends.");
    return false;
}

}  // namespace

namespace layer_checks {

double LayerJointTolerance(double bottomAbove, double top) {
    return 1.0E-3 * std::max({1.0, std::fabs(bottomAbove), std::fabs(top)});
}

bool IsGapOrOverlap(double bottomAbove, double top) {
    return std::fabs(top - bottomAbove) > LayerJointTolerance(bottomAbove, top);
}

}  // namespace layer_checks

void ReadSoilLayers() {
    ProblemData& D = Problem;
    int nl = 0;
    if (!ReadList("the number of soil layers", {nl})) return;
    // Fewer than one layer reads nothing more and leaves no layers.
    if (nl > MaxSoilLayers && !CountWithin(nl, 0, MaxSoilLayers, "soil layers")) return;
    D.NumLayers = 0;
    D.NumSoilPoints = 0;
    D.GroundDepth = 0.0;
    static const SoilPoint EmptyPoint{};
    for (int k = 1; k <= nl; ++k) {
        const std::string layer = "of soil layer " + std::to_string(k);
        SoilLayer& L = D.Layers[static_cast<std::size_t>(k)];
        int type = 0;
        double top = 0.0, bottom = 0.0;
        if (!ReadList("the soil type and depths " + layer, {type, top, bottom})) return;
        if (!CheckRange("the top depth " + layer, top, ValueRange::Magnitude) ||
            !CheckRange("the bottom depth " + layer, bottom, ValueRange::Magnitude))
            return;
        if (k > 1 && !CheckLayerJoint(k, top, InputLineNumber())) return;
        const SoilModel* model = SoilModelOf(type);
        if (model == nullptr) {
            const std::string codes = "1 to " + std::to_string(NumSoilModels());
            InputError(ErrSoilTypeUnknown,
                       "Problem:  The soil type " + layer + " is " + std::to_string(type) +
                           ", which is not a soil model code (" + codes + ").",
                       "Solution: Give one of the soil model codes " + codes + " for the layer.");
            return;
        }
        L.SoilType = type;
        L.InputLine = InputLineNumber();
        L.XTop = top;
        L.XBottom = bottom;
        SoilPoint& T = D.SoilPoints[static_cast<std::size_t>(2 * k - 1)];
        SoilPoint& B = D.SoilPoints[static_cast<std::size_t>(2 * k)];
        T = EmptyPoint;
        B = EmptyPoint;
        T.Depth = top;
        B.Depth = bottom;
        if (model->b_ValuesOnLayerLine) ReadLayerLineValues(*model, T, B);
        if (!ReadSoilPoint(*model, T, "at the top " + layer)) return;
        if (!ReadSoilPoint(*model, B, "at the bottom " + layer)) return;
        D.NumLayers = k;
        D.NumSoilPoints = 2 * k;
    }
    if (D.NumLayers >= 1) D.GroundDepth = D.Layers[1].XTop;
}

}  // namespace kestro
