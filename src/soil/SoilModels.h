#pragma once
// One descriptor per soil model: the only list of soil models. Each row says
// what the model is (its number on the layer line, its eight-character code,
// its names in the input echo), which values it reads for the top and the
// bottom of a layer and in which slots and units they are kept, its soil
// class at layer interfaces, its special rules as flags, and the functions of
// its p-y criterion. Reading, unit conversion, echo and the load-case loop
// ask the descriptor; adding a soil model means writing its criterion file
// and one row of SoilModels.cpp (and its number in SoilModelCode).

#include <array>
#include <string_view>

#include "soil/PyCriteria.h"

namespace kestro {

// A value a soil model reads for each point (the top and the bottom of a
// layer), with the slot of SoilPoint that keeps it and its unit in US input
// (SI input: kN and m throughout).
enum class SoilValue : unsigned char {
    None = 0,
    UnitWeight,       // effective unit weight, UnitWeight: pcf, converted to pci
    ShearStrength,    // undrained shear strength c, Cohesion: psf, converted to psi
    FrictionAngle,    // FrictionAngle: degrees
    Eps50,            // strain at 50 % of the strength, Epsilon50
    SubgradeK,        // p-y subgrade modulus k, Kpy: pci (0: the criterion's default)
    RockStrength,     // uniaxial compressive strength qu, Cohesion: psi, not converted
    RockModulus,      // initial modulus of rock, Kpy: psi
    Rqd,              // rock quality designation, RQD: percent
    Krm,              // strain factor krm, Epsilon50
    FieldTest,        // TestType (1 SPT, 2 CPT, 3 DMT, 4 PMT) and the four TestValue
    ConeTip,          // cone tip resistance, ConeTipResistance: psi
    ElasticSubgrade,  // elastic subgrade modulus, ElasticSubgrade: pci
    UserCurve,        // UserCurvePoints and one (y, p) line per point, after the unit weight
};

constexpr int MaxSoilValues = 5;

// How the axial analysis takes the soil of a layer without t-z and q-w
// curves of the user: shaft friction and end bearing from the undrained
// shear strength (clay) or from the friction angle (sand); a layer of any
// other model needs the user's curves.
enum class AxialSoil : unsigned char { None = 0, Clay, Sand };

struct SoilModel {
    int Type = 0;                          // number on the layer line (SoilModelCode)
    char Code[9] = {};                     // eight-character code
    std::string_view Description;          // echo: "Layer k is <Description>"
    std::string_view Name;                 // echo: soil type in the summary of soil properties
    std::string_view Key;                  // its name in the JSON model: "soft_clay"
    std::array<SoilValue, MaxSoilValues> Reads{};  // the values of a point, in the order read
    // The values follow the depths on the layer line (top, then bottom; three
    // values give both) instead of standing on two parameter lines.
    bool b_ValuesOnLayerLine = false;
    bool b_NoCurve = false;                // no p-y criterion: the stations keep their moduli
    int SoilClass = ClassNone;             // class at layer interfaces
    AxialSoil Axial = AxialSoil::None;     // soil of the axial analysis
    bool b_ClassByStrength = false;        // cohesive at a point with strength, else cohesionless
    bool b_UsesEqDepth = false;            // layers k > 1 take the equivalent depth
    bool b_CountsAsRock = false;           // increments RockLayerCount after the layer
    bool b_AlwaysMarked = false;           // marked for the criteria's messages even as the first rock layer
    bool b_RockForDepth = false;           // its thickness adds to the depth into the rock below
    bool b_UpdatedAtCaseStart = false;     // evaluated once more before the head loads of every case
    bool b_KeepsResistance = false;        // accumulates LayerResistance in the common loop
    bool b_Layer1GroundRule = false;       // layer 1 above the pile head: (ResistTop + Pu)/2 x thickness
    bool b_StoresLiquefied = false;        // keeps LiquefiedResistance(k) after every station
    // The deflection is the pile's own, without soil movement, and soil
    // movement adds no distributed load (rock that does not move with the soil).
    bool b_IgnoresSoilMovement = false;
    EndTermCode EndTerm = EndNone;
    PropertiesReuse Reuse = PropertiesEveryPass;
    PyPropertiesFn Properties = nullptr;
    PyCurveFn Curve = nullptr;
    // Curve split in two (both or neither): the station loop keeps the
    // prepared result of a kept station and evaluates only p(y) per pass.
    PyPrepareFn Prepare = nullptr;
    PyAtDeflectionFn AtDeflection = nullptr;
    PyInversionFn Invert = nullptr;        // nullptr: EquivalentDepth left unchanged
    PyPageFn PrintPage = nullptr;
    PyLayerFn LayerFn = nullptr;           // nullptr: the common station loop

    constexpr bool ReadsValue(SoilValue v) const {
        for (SoilValue r : Reads)
            if (r == v) return true;
        return false;
    }
    std::string_view CodeText() const { return std::string_view(Code, 8); }
};

// The descriptor of soil model `type`, or nullptr for a number that names none.
const SoilModel* SoilModelOf(int type);
// The number of soil models: the layer line accepts 1..NumSoilModels().
int NumSoilModels();
// The 8-character code of soil model `type`, or eight blanks when out of range.
std::string_view SoilCode(int type);
// The soil model with a p-y criterion of this code, or nullptr ("Frz Soil").
const SoilModel* FindCriterion(std::string_view code);
// The criterion of soil model `type`, or nullptr.
const SoilModel* CriterionOf(int type);

}  // namespace kestro
