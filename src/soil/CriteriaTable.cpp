// The one table of p-y criteria, in the order in which the load-case
// iteration compares the soil codes. Adding a criterion means filling its row.

#include <cstring>

#include "soil/CementedSilt.h"
#include "soil/Criteria.h"
#include "soil/LiquefiedSand.h"
#include "soil/Loess.h"
#include "soil/WeakRock.h"
#include "soil/MassiveRock.h"
#include "soil/PiedmontResidual.h"
#include "soil/PyCriteria.h"
#include "soil/UserCurves.h"
#include "soil/VuggyLimestone.h"

namespace kestro {

namespace {

// Code, class, equivalent depth, counts as rock, keeps resistance, layer-1
// rule, stores liquefied resistance, end term, Properties, Curve, Invert,
// PrintPage, own layer loop and, where set, that soil movement is ignored and
// how long the result of the Properties step holds. Massive rock (the pile's
// EI, which changes with a nonlinear bending stiffness) is evaluated every
// pass; the sands, cemented silt and the stiff clay with k read the side of
// the deflection, which matters only on sloping ground.
// Rows without functions are criteria not yet provided: a layer of such a
// code stops the run.
constexpr CriterionEntry Table[] = {
    {"SoftClay", ClassCohesive, true, false, true, true, false, EndSpacingTimesPu, softclay::Properties,
     softclay::Curve, softclay::Invert, softclay::PrintPage, nullptr, false, PropertiesPerStation},
    {"StfClyBW", ClassCohesive, true, false, true, true, false, EndToLayerBottomTimesPu,
     stiffclayfreewater::Properties, stiffclayfreewater::Curve, stiffclayfreewater::Invert,
     stiffclayfreewater::PrintPage, nullptr, false, PropertiesPerStation},
    {"StfClyAW", ClassCohesive, true, false, true, true, false, EndToLayerBottomTimesPu,
     stiffclaynofreewater::Properties, stiffclaynofreewater::Curve, stiffclaynofreewater::Invert,
     stiffclaynofreewater::PrintPage, nullptr, false, PropertiesPerStation},
    {"StfClyAK", ClassCohesive, true, false, true, true, false, EndToLayerBottomTimesPu,
     stiffclaynofreewater::PropertiesK, stiffclaynofreewater::CurveK, stiffclaynofreewater::Invert,
     stiffclaynofreewater::PrintPageK, nullptr, false, PropertiesPerStationLevel},
    {"Sand    ", ClassCohesionless, true, false, true, true, false, EndToLayerBottomTimesPu, sand::ReeseProperties,
     sand::ReeseCurve, sand::Invert, sand::ReesePrintPage, nullptr, false, PropertiesPerStationLevel},
    {"API Sand", ClassCohesionless, true, false, true, true, false, EndToLayerBottomTimesPu, sand::ApiProperties,
     sand::ApiCurve, sand::Invert, sand::ApiPrintPage, nullptr, false, PropertiesPerStationLevel},
    {"Liq Sand", ClassCohesionless, false, false, true, false, true, EndToLayerBottomTimesPu,
     liquefiedsand::Properties, liquefiedsand::Curve, nullptr, liquefiedsand::PrintPage, nullptr, false,
     PropertiesPerStation},
    // Cemented silt is cohesive at an interface point with strength, else cohesionless.
    {"Cem Silt", ClassCohesive, true, false, true, true, false, EndToLayerBottomTimesPu, cementedsilt::Properties,
     cementedsilt::Curve, cementedsilt::Invert, cementedsilt::PrintPage, nullptr, false, PropertiesPerStationLevel},
    {"User p-y", ClassUser, false, false, true, false, false, EndNone, nullptr, nullptr, nullptr, nullptr,
     usercurves::EvaluateLayer},
    {"WeakRock", ClassRock, false, true, true, false, false, EndToLayerBottomTimesPu, weakrock::Properties,
     weakrock::Curve, nullptr, weakrock::PrintPage, nullptr, false, PropertiesPerStation},
    // Vuggy limestone does not move with the soil.
    {"Vuggy LS", ClassRock, false, true, false, false, false, EndNone, vuggylimestone::Properties,
     vuggylimestone::Curve, nullptr, vuggylimestone::PrintPage, nullptr, true, PropertiesPerStation},
    // Massive rock is rock at layer interfaces; it has no equivalent-depth inversion.
    {"MassRock", ClassRock, true, true, true, true, false, EndToLayerBottomTimesPu, massiverock::Properties,
     massiverock::Curve, nullptr, massiverock::PrintPage, nullptr},
    {"KS Loess", ClassNone, false, true, false, false, false, EndNone, loess::Properties, loess::Curve, nullptr,
     loess::PrintPage, nullptr, false, PropertiesPerStation},
    {"Piedmont", ClassNone, false, true, false, false, false, EndNone, piedmont::Properties, piedmont::Curve, nullptr,
     piedmont::PrintPage, nullptr, false, PropertiesPerStation},
    {"Elast SG", ClassNone, false, true, false, false, false, EndNone, elasticsubgrade::Properties,
     elasticsubgrade::Curve, nullptr, elasticsubgrade::PrintPage, nullptr, false, PropertiesPerStation},
};

constexpr int TableSize = static_cast<int>(sizeof Table / sizeof Table[0]);

}  // namespace

const CriterionEntry* FindCriterion(std::string_view code) {
    if (code.size() < 8) return nullptr;
    for (const CriterionEntry& e : Table)
        if (std::memcmp(e.Code, code.data(), 8) == 0) return &e;
    return nullptr;
}

int NumCriteria() { return TableSize; }

const CriterionEntry& CriterionAt(int n) {
    if (n < 1 || n > TableSize) n = 1;
    return Table[n - 1];
}

}  // namespace kestro
