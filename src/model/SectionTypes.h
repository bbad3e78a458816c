#pragma once
// One descriptor per pile section type: the only list of section types. Each
// row says what the type is (its code on the section line, its names in the
// input echo and on the section property page), which dimensions it reads
// and the outline they give, the shape the section analysis slices, its
// materials, its casing, core, void and chamfer, how its bending stiffness is
// found, and the functions that read its dimensions, fill its rows of the
// pile property table and compute its bending stiffness. Reading, echo,
// geometry, materials, section pages, the pile analysis and the axial
// analysis ask the descriptor; adding a section type means one row of
// section/SectionTypes.cpp (the table, beside the section analysis whose
// functions it names), those functions and its code in SectionTypeCode. The
// descriptor stands here, beside the model, so that the readers and the
// report writers ask it without reaching up.

#include <array>
#include <string_view>

namespace kestro {

struct PileSection;
struct PropertyRow;

// The outline of the cross-section, from the dimensions the type reads.
enum class SectionOutline : unsigned char {
    None,       // no cross-section given: the section is given by its length only
    Rectangle,  // width and depth
    Circle,     // diameter (the outside diameter of a casing or a pipe)
    Square,     // width, each corner chamfered by the chamfer read
    Octagon,    // width across flats, each corner of the square cut back by 0.2929 w
    Given,      // the elastic section's own shape code (rectangle, circle, pipe, H-pile, pole)
};

// The materials of the section, which decide the material blocks read after
// the dimensions and the laws of the section analysis.
enum class SectionMaterial : unsigned char {
    None,                 // no material given
    ReinforcedConcrete,   // concrete block and reinforcing bars (casing and core steel when flagged)
    PrestressedConcrete,  // concrete block and prestressing strands
    Steel,                // steel alone: yield strength and elastic modulus with the dimensions
    GivenStiffness,       // an elastic modulus or moment-EI curves, no material analysed
};

// How the pile analysis finds the bending stiffness of the section.
enum class SectionBending : unsigned char {
    None,             // cannot be found: the section analysis stops the run
    MomentCurvature,  // nonlinear EI from the moment-curvature analysis at every axial thrust
    Elastic,          // constant EI = E I
    ElasticPlastic,   // E I up to the given plastic moment, then Mp / curvature
    UserCurves,       // the user's moment-EI curves, each at its own axial thrusts
};

// Reads the dimension values of section s after its length (and, for a
// section of user-defined EI, its curves; `eiSlots` counts those sections).
using SectionDimensionsFn = bool (*)(int s, PileSection& S, int& eiSlots);
// The width, second dimension, moment of inertia, modulus and area of the
// top and bottom rows of the pile property table (the depths are the caller's).
using SectionPropertiesFn = void (*)(const PileSection& S, PropertyRow& top, PropertyRow& bottom);
// The nonlinear EI table of section s, with its pages in the report.
using SectionStiffnessFn = void (*)(int s);

struct SectionType {
    int Code = -1;                        // number on the section line (SectionTypeCode)
    std::string_view Name{};              // plain name, as in the input's comments and documentation
    std::string_view Key{};               // its name in the JSON model: "drilled_shaft"
    // The JSON model's names of the dimension values read after the length, in
    // their order, for a type that reads a fixed list (elastic sections and
    // user-defined EI read by their own shape and curves).
    std::array<std::string_view, 8> Dimensions{};
    // Input echo "Section Type" line: the text after "Section Type", trailing
    // blanks included; aligned: "Section Type" is padded to the value column.
    std::string_view EchoName{};
    std::string_view EchoNameVoidCore{};  // the echo of a core void of concrete (input code -3)
    bool b_EchoAligned = false;
    std::string_view PageTitle{};         // title of the section property page; empty: no page
    SectionOutline Outline = SectionOutline::None;
    int Shape = 0;                        // SectionShapeCode sliced by the section analysis; 0: not sliced
    SectionMaterial Material = SectionMaterial::None;
    bool b_Casing = false;                // permanent steel casing: thickness, yield strength, modulus
    bool b_Core = false;                  // concentric steel core pipe, concrete-filled unless input code -3
    bool b_Hollow = false;                // a void of the diameter read, without wall or concrete
    bool b_Chamfer = false;               // reads the corner chamfer of its square
    double PrestressMomentFactor = 0.0;   // PCI nominal moment Mn = factor x h x Aps x fpu (prestressed only)
    SectionBending Bending = SectionBending::None;
    SectionDimensionsFn ReadDimensions = nullptr;
    SectionPropertiesFn GrossProperties = nullptr;
    SectionStiffnessFn ComputeStiffness = nullptr;

    constexpr bool IsPrestressed() const { return Material == SectionMaterial::PrestressedConcrete; }
    constexpr bool HasBars() const { return Material == SectionMaterial::ReinforcedConcrete; }
    constexpr bool HasConcrete() const { return HasBars() || IsPrestressed(); }
    constexpr bool IsSteelPipe() const { return Material == SectionMaterial::Steel; }
    constexpr bool IsElastic() const {
        return Bending == SectionBending::Elastic || Bending == SectionBending::ElasticPlastic;
    }
    // Square and octagonal piles give a width, every other outline a diameter.
    constexpr bool HasWidth() const { return Outline == SectionOutline::Square || Outline == SectionOutline::Octagon; }
};

// The descriptor of section type `code` (0..NumSectionTypes() - 1), or
// nullptr for a code that names none (the input code -3 is stored as 3).
const SectionType* SectionTypeOf(int code);
// The number of section types: the section line accepts 0..NumSectionTypes() - 1 and -3.
int NumSectionTypes();
// The descriptor of a section type known to exist (a stored section's type).
const SectionType& SectionTypeFor(int code);

}  // namespace kestro
