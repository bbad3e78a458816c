// The one table of soil models, one row per model in the order of their
// numbers on the layer line. Adding a soil model means writing its criterion
// file and filling its row.
//
// Reuse: how long the result of the Properties step holds. Massive rock (the
// pile's EI, which changes with a nonlinear bending stiffness) is evaluated
// every pass; the sands, cemented silt and the stiff clay with k read the side
// of the deflection, which matters only on sloping ground.

#include <cstring>

#include "model/ProblemData.h"
#include "soil/CementedSilt.h"
#include "soil/ElasticSubgrade.h"
#include "soil/LiquefiedSand.h"
#include "soil/Loess.h"
#include "soil/MassiveRock.h"
#include "soil/PiedmontResidual.h"
#include "soil/SandReese.h"
#include "soil/SoftClay.h"
#include "soil/SoilModels.h"
#include "soil/StiffClayFreeWater.h"
#include "soil/StiffClayNoFreeWater.h"
#include "soil/UserCurves.h"
#include "soil/VuggyLimestone.h"
#include "soil/WeakRock.h"

namespace kestro {

namespace {

using V = SoilValue;

constexpr SoilModel Table[] = {
    {.Type = SoilSoftClay,
     .Code = "SoftClay",
     .Description = "soft clay, p-y criteria by Matlock, 1970",
     .Name = "Soft Clay",
     .Key = "soft_clay",
     .Reads = {V::UnitWeight, V::ShearStrength, V::Eps50},
     .SoilClass = ClassCohesive,
     .Axial = AxialSoil::Clay,
     .b_UsesEqDepth = true,
     .b_KeepsResistance = true,
     .b_Layer1GroundRule = true,
     .EndTerm = EndSpacingTimesPu,
     .Reuse = PropertiesPerStation,
     .Properties = softclay::Properties,
     .Curve = softclay::Curve,
     .Prepare = softclay::Prepare,
     .AtDeflection = softclay::AtDeflection,
     .Invert = softclay::Invert,
     .PrintPage = softclay::PrintPage},
    {.Type = SoilStiffClayFreeWater,
     .Code = "StfClyBW",
     .Description = "stiff clay with water-induced erosion",
     .Name = "Stiff Clay with Free Water",
     .Key = "stiff_clay_free_water",
     .Reads = {V::UnitWeight, V::ShearStrength, V::Eps50, V::SubgradeK},
     .SoilClass = ClassCohesive,
     .Axial = AxialSoil::Clay,
     .b_UsesEqDepth = true,
     .b_KeepsResistance = true,
     .b_Layer1GroundRule = true,
     .EndTerm = EndToLayerBottomTimesPu,
     .Reuse = PropertiesPerStation,
     .Properties = stiffclayfreewater::Properties,
     .Curve = stiffclayfreewater::Curve,
     .Invert = stiffclayfreewater::Invert,
     .PrintPage = stiffclayfreewater::PrintPage},
    {.Type = SoilStiffClayNoWater,
     .Code = "StfClyAW",
     .Description = "stiff clay without free water",
     .Name = "Stiff Clay w/o Free Water",
     .Key = "stiff_clay_no_free_water",
     .Reads = {V::UnitWeight, V::ShearStrength, V::Eps50},
     .SoilClass = ClassCohesive,
     .Axial = AxialSoil::Clay,
     .b_UsesEqDepth = true,
     .b_KeepsResistance = true,
     .b_Layer1GroundRule = true,
     .EndTerm = EndToLayerBottomTimesPu,
     .Reuse = PropertiesPerStation,
     .Properties = stiffclaynofreewater::Properties,
     .Curve = stiffclaynofreewater::Curve,
     .Invert = stiffclaynofreewater::Invert,
     .PrintPage = stiffclaynofreewater::PrintPage},
    {.Type = SoilStiffClayNoWaterK,
     .Code = "StfClyAK",
     .Description = "stiff clay without free water using initial selected k, 2004",
     .Name = "Stiff Clay w/o Free Water, using k",
     .Key = "stiff_clay_no_free_water_k",
     .Reads = {V::UnitWeight, V::ShearStrength, V::Eps50, V::SubgradeK},
     .SoilClass = ClassCohesive,
     .Axial = AxialSoil::Clay,
     .b_UsesEqDepth = true,
     .b_KeepsResistance = true,
     .b_Layer1GroundRule = true,
     .EndTerm = EndToLayerBottomTimesPu,
     .Reuse = PropertiesPerStationLevel,
     .Properties = stiffclaynofreewater::PropertiesK,
     .Curve = stiffclaynofreewater::CurveK,
     .Invert = stiffclaynofreewater::Invert,
     .PrintPage = stiffclaynofreewater::PrintPageK},
    {.Type = SoilSandReese,
     .Code = "Sand    ",
     .Description = "sand, p-y criteria by Reese et al., 1974",
     .Name = "Sand (Reese, et al.)",
     .Key = "sand_reese",
     .Reads = {V::UnitWeight, V::FrictionAngle, V::SubgradeK},
     .SoilClass = ClassCohesionless,
     .Axial = AxialSoil::Sand,
     .b_UsesEqDepth = true,
     .b_KeepsResistance = true,
     .b_Layer1GroundRule = true,
     .EndTerm = EndToLayerBottomTimesPu,
     .Reuse = PropertiesPerStationLevel,
     .Properties = sand::ReeseProperties,
     .Curve = sand::ReeseCurve,
     .Prepare = sand::ReesePrepare,
     .AtDeflection = sand::ReeseAtDeflection,
     .Invert = sand::Invert,
     .PrintPage = sand::ReesePrintPage},
    {.Type = SoilApiSand,
     .Code = "API Sand",
     .Description = "sand, p-y criteria by API RP-2A, 1987",
     .Name = "API Sand",
     .Key = "api_sand",
     .Reads = {V::UnitWeight, V::FrictionAngle, V::SubgradeK},
     .SoilClass = ClassCohesionless,
     .Axial = AxialSoil::Sand,
     .b_UsesEqDepth = true,
     .b_KeepsResistance = true,
     .b_Layer1GroundRule = true,
     .EndTerm = EndToLayerBottomTimesPu,
     .Reuse = PropertiesPerStationLevel,
     .Properties = sand::ApiProperties,
     .Curve = sand::ApiCurve,
     .Prepare = sand::ApiPrepare,
     .AtDeflection = sand::ApiAtDeflection,
     .Invert = sand::Invert,
     .PrintPage = sand::ApiPrintPage},
    {.Type = SoilLiquefiedSand,
     .Code = "Liq Sand",
     .Description = "liquefiable sand, by Rollins et al., 2004",
     .Name = "Liquefied Sand",
     .Key = "liquefied_sand",
     .Reads = {V::UnitWeight},
     .SoilClass = ClassCohesionless,
     .b_KeepsResistance = true,
     .b_StoresLiquefied = true,
     .EndTerm = EndToLayerBottomTimesPu,
     .Reuse = PropertiesPerStation,
     .Properties = liquefiedsand::Properties,
     .Curve = liquefiedsand::Curve,
     .PrintPage = liquefiedsand::PrintPage},
    {.Type = SoilWeakRock,
     .Code = "WeakRock",
     .Description = "weak rock, p-y criteria by Reese, 1997",
     .Name = "Weak Rock",
     .Key = "weak_rock",
     .Reads = {V::UnitWeight, V::RockStrength, V::RockModulus, V::Rqd, V::Krm},
     .SoilClass = ClassRock,
     .b_CountsAsRock = true,
     .b_AlwaysMarked = true,
     .b_RockForDepth = true,
     .b_KeepsResistance = true,
     .EndTerm = EndToLayerBottomTimesPu,
     .Reuse = PropertiesPerStation,
     .Properties = weakrock::Properties,
     .Curve = weakrock::Curve,
     .PrintPage = weakrock::PrintPage},
    // Vuggy limestone does not move with the soil; its moduli are set once
    // more at the start of every case, before the head loads.
    {.Type = SoilVuggyLimestone,
     .Code = "Vuggy LS",
     .Description = "strong rock (vuggy limestone)",
     .Name = "Vuggy Limestone",
     .Key = "vuggy_limestone",
     .Reads = {V::UnitWeight, V::RockStrength},
     .SoilClass = ClassRock,
     .b_CountsAsRock = true,
     .b_RockForDepth = true,
     .b_UpdatedAtCaseStart = true,
     .b_IgnoresSoilMovement = true,
     .Reuse = PropertiesPerStation,
     .Properties = vuggylimestone::Properties,
     .Curve = vuggylimestone::Curve,
     .PrintPage = vuggylimestone::PrintPage},
    {.Type = SoilPiedmont,
     .Code = "Piedmont",
     .Description = "Piedmont residual soil",
     .Name = "Piedmont Residual",
     .Key = "piedmont_residual",
     .Reads = {V::UnitWeight, V::FieldTest},
     .b_CountsAsRock = true,
     .Reuse = PropertiesPerStation,
     .Properties = piedmont::Properties,
     .Curve = piedmont::Curve,
     .PrintPage = piedmont::PrintPage},
    {.Type = SoilCementedSilt,
     .Code = "Cem Silt",
     .Description = "cemented silt with cohesion and friction",
     .Name = "Cemented Silt",
     .Key = "cemented_silt",
     .Reads = {V::UnitWeight, V::ShearStrength, V::FrictionAngle, V::SubgradeK, V::Eps50},
     .SoilClass = ClassCohesive,
     .Axial = AxialSoil::Sand,
     .b_ClassByStrength = true,
     .b_UsesEqDepth = true,
     .b_KeepsResistance = true,
     .b_Layer1GroundRule = true,
     .EndTerm = EndToLayerBottomTimesPu,
     .Reuse = PropertiesPerStationLevel,
     .Properties = cementedsilt::Properties,
     .Curve = cementedsilt::Curve,
     .Invert = cementedsilt::Invert,
     .PrintPage = cementedsilt::PrintPage},
    {.Type = SoilLoess,
     .Code = "KS Loess",
     .Description = "loess silt",
     .Name = "Loess",
     .Key = "loess",
     .Reads = {V::UnitWeight, V::ConeTip},
     .b_CountsAsRock = true,
     .Reuse = PropertiesPerStation,
     .Properties = loess::Properties,
     .Curve = loess::Curve,
     .PrintPage = loess::PrintPage},
    {.Type = SoilElasticSubgrade,
     .Code = "Elast SG",
     .Description = "modelled using an elastic subgrade modulus",
     .Name = "Elastic Subgrade",
     .Key = "elastic_subgrade",
     .Reads = {V::UnitWeight, V::ElasticSubgrade},
     .b_CountsAsRock = true,
     .Reuse = PropertiesPerStation,
     .Properties = elasticsubgrade::Properties,
     .Curve = elasticsubgrade::Curve,
     .PrintPage = elasticsubgrade::PrintPage},
    {.Type = SoilUserPy,
     .Code = "User p-y",
     .Description = "modelled using user-specified p-y curves",
     .Name = "User Input p-y Curves",
     .Key = "user_py_curves",
     .Reads = {V::UnitWeight, V::UserCurve},
     .SoilClass = ClassUser,
     .b_KeepsResistance = true,
     .LayerFn = usercurves::EvaluateLayer},
    // Frozen soil has no p-y criterion and reads no values.
    {.Type = SoilFrozen,
     .Code = "Frz Soil",
     .Description = "frozen soil",
     .Name = "Frozen Soil",
     .Key = "frozen_soil",
     .b_NoCurve = true},
    // Massive rock is rock at layer interfaces; it has no equivalent-depth inversion.
    {.Type = SoilMassiveRock,
     .Code = "MassRock",
     .Description = "massive rock (hard rock)",
     .Name = "Hard Rock",
     .Key = "massive_rock",
     .Reads = {V::UnitWeight, V::RockStrength, V::RockModulus},
     .b_ValuesOnLayerLine = true,
     .SoilClass = ClassRock,
     .b_UsesEqDepth = true,
     .b_CountsAsRock = true,
     .b_KeepsResistance = true,
     .b_Layer1GroundRule = true,
     .EndTerm = EndToLayerBottomTimesPu,
     .Properties = massiverock::Properties,
     .Curve = massiverock::Curve,
     .PrintPage = massiverock::PrintPage},
};

constexpr int TableSize = static_cast<int>(sizeof Table / sizeof Table[0]);

// Row n holds model n + 1: the table is indexed by the number on the layer line.
constexpr bool RowsInOrder() {
    for (int n = 0; n < TableSize; ++n)
        if (Table[n].Type != n + 1) return false;
    return true;
}
static_assert(RowsInOrder(), "soil model rows must stand in the order of their numbers");

constexpr std::string_view Blanks = "        ";

}  // namespace

const SoilModel* SoilModelOf(int type) {
    if (type < 1 || type > TableSize) return nullptr;
    return &Table[type - 1];
}

int NumSoilModels() { return TableSize; }

std::string_view SoilCode(int type) {
    const SoilModel* m = SoilModelOf(type);
    return m != nullptr ? m->CodeText() : Blanks;
}

const SoilModel* FindCriterion(std::string_view code) {
    if (code.size() < 8) return nullptr;
    for (const SoilModel& m : Table)
        if (!m.b_NoCurve && std::memcmp(m.Code, code.data(), 8) == 0) return &m;
    return nullptr;
}

const SoilModel* CriterionOf(int type) {
    const SoilModel* m = SoilModelOf(type);
    return m != nullptr && !m->b_NoCurve ? m : nullptr;
}

}  // namespace kestro
