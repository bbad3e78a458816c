// The one table of pile section types, one row per type in the order of their
// codes on the section line. Adding a section type means filling its row and
// writing the functions it names.
//
// Echo names keep their trailing blanks: they are part of the echoed line.

#include "model/SectionTypes.h"

#include "input/Readers.h"
#include "model/ProblemData.h"
#include "section/SectionAnalysis.h"
#include "section/SliceTable.h"

namespace kestro {

namespace {

using O = SectionOutline;
using M = SectionMaterial;
using B = SectionBending;

constexpr SectionType Table[] = {
    {.Code = SecRectangularConcrete,
     .Name = "rectangular concrete pile",
     .Key = "rectangular_concrete",
     .Dimensions = {"width", "depth"},
     .EchoName = "Rectangular Concrete Pile",
     .b_EchoAligned = true,
     .PageTitle = "Dimensions and Properties of Rectangular Concrete Pile:",
     .Outline = O::Rectangle,
     .Shape = ShapeSquarePile,
     .Material = M::ReinforcedConcrete,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadRectangleDimensions,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecDrilledShaft,
     .Name = "drilled shaft",
     .Key = "drilled_shaft",
     .Dimensions = {"diameter"},
     .EchoName = "Drilled Shaft (Bored Pile)",
     .b_EchoAligned = true,
     .PageTitle = "Dimensions and Properties of Drilled Shaft:",
     .Outline = O::Circle,
     .Shape = ShapeRoundPile,
     .Material = M::ReinforcedConcrete,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadShaftDiameter,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecCasedShaft,
     .Name = "drilled shaft with permanent casing",
     .Key = "cased_shaft",
     .Dimensions = {"diameter", "casing_thickness", "casing_yield_strength", "casing_modulus"},
     .EchoName = "Drilled Shaft with Permanent Casing  ",
     .PageTitle = "Dimensions and Properties of Drilled Shaft with Permanent Casing:",
     .Outline = O::Circle,
     .Shape = ShapeShaftWithCasing,
     .Material = M::ReinforcedConcrete,
     .b_Casing = true,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadCasedShaftDimensions,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    // Input code -3 is this type with a core void of concrete.
    {.Code = SecCasedShaftWithCore,
     .Name = "drilled shaft with casing and concrete-filled core",
     .Key = "cased_shaft_with_core",
     .Dimensions = {"diameter", "casing_thickness", "casing_yield_strength", "casing_modulus", "core_diameter", "core_thickness", "core_yield_strength", "core_modulus"},
     .EchoName = "Drilled Shaft with Casing and Concrete-filled Core   ",
     .EchoNameVoidCore = "Drilled Shaft with Casing and Void Core   ",
     .PageTitle = "Dimensions and Properties of Drilled Shaft with Casing and Core:",
     .Outline = O::Circle,
     .Shape = ShapeShaftWithCasingAndCore,
     .Material = M::ReinforcedConcrete,
     .b_Casing = true,
     .b_Core = true,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadCasedShaftDimensions,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecSteelPipe,
     .Name = "steel pipe pile",
     .Key = "steel_pipe",
     .Dimensions = {"diameter", "wall_thickness", "yield_strength", "elastic_modulus"},
     .EchoName = "Steel Pipe Pile            ",
     .PageTitle = "Dimensions and Properties of Steel Pipe Pile:",
     .Outline = O::Circle,
     .Shape = ShapeSteelPipe,
     .Material = M::Steel,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadPipeDimensions,
     .GrossProperties = PipeGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecCircularSolidPrestressed,
     .Name = "circular solid prestressed pile",
     .Key = "circular_prestressed",
     .Dimensions = {"diameter"},
     .EchoName = "Circular Solid Prestressed Pile    ",
     .PageTitle = "Dimensions and Properties of Circular Prestressed Pile:",
     .Outline = O::Circle,
     .Shape = ShapeRoundPile,
     .Material = M::PrestressedConcrete,
     .PrestressMomentFactor = 0.32,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadPrestressedDimensions,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecCircularHollowPrestressed,
     .Name = "circular hollow prestressed pile",
     .Key = "circular_hollow_prestressed",
     .Dimensions = {"diameter", "void_diameter"},
     .EchoName = "Circular Hollow Prestressed Pile    ",
     .PageTitle = "Dimensions and Properties of Hollow Core Circular Prestressed Pile:",
     .Outline = O::Circle,
     .Shape = ShapeShaftWithPipe,
     .Material = M::PrestressedConcrete,
     .b_Hollow = true,
     .PrestressMomentFactor = 0.34,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadPrestressedDimensions,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecSquareSolidPrestressed,
     .Name = "square solid prestressed pile",
     .Key = "square_prestressed",
     .Dimensions = {"width", "chamfer"},
     .EchoName = "Square Solid Prestressed Pile     ",
     .PageTitle = "Dimensions of Square Prestressed Pile Section:",
     .Outline = O::Square,
     .Shape = ShapeSquarePile,
     .Material = M::PrestressedConcrete,
     .b_Chamfer = true,
     .PrestressMomentFactor = 0.32,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadPrestressedDimensions,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecSquareHollowPrestressed,
     .Name = "square hollow prestressed pile",
     .Key = "square_hollow_prestressed",
     .Dimensions = {"width", "void_diameter", "chamfer"},
     .EchoName = "Square Hollow Prestressed Pile     ",
     .PageTitle = "Dimensions and Properties of Square Prestressed Pile Section with Hollow Core:",
     .Outline = O::Square,
     .Shape = ShapeSquarePileWithCore,
     .Material = M::PrestressedConcrete,
     .b_Hollow = true,
     .b_Chamfer = true,
     .PrestressMomentFactor = 0.34,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadPrestressedDimensions,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecOctagonalSolidPrestressed,
     .Name = "octagonal solid prestressed pile",
     .Key = "octagonal_prestressed",
     .Dimensions = {"width"},
     .EchoName = "Octagonal Solid Prestressed Pile    ",
     .PageTitle = "Dimensions and Properties of Octagonal Prestressed Pile:",
     .Outline = O::Octagon,
     .Shape = ShapeNoncircular,
     .Material = M::PrestressedConcrete,
     .PrestressMomentFactor = 0.37,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadPrestressedDimensions,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecOctagonalHollowPrestressed,
     .Name = "octagonal hollow prestressed pile",
     .Key = "octagonal_hollow_prestressed",
     .Dimensions = {"width", "void_diameter"},
     .EchoName = "Octagonal Hollow Prestressed Pile   ",
     .PageTitle = "Dimensions and Properties of Octagonal Prestressed Pile Section with Hollow Core:",
     .Outline = O::Octagon,
     .Shape = ShapeComposite,
     .Material = M::PrestressedConcrete,
     .b_Hollow = true,
     .PrestressMomentFactor = 0.38,
     .Bending = B::MomentCurvature,
     .ReadDimensions = ReadPrestressedDimensions,
     .GrossProperties = ConcreteGrossProperties,
     .ComputeStiffness = MomentCurvatureEITable},
    {.Code = SecElastic,
     .Name = "elastic pile",
     .Key = "elastic",
     .EchoName = "   Elastic Pile",
     .b_EchoAligned = true,
     .Outline = O::Given,
     .Material = M::GivenStiffness,
     .Bending = B::Elastic,
     .ReadDimensions = ReadElasticDimensions,
     .GrossProperties = ElasticGrossProperties,
     .ComputeStiffness = ElasticEITable},
    {.Code = SecElasticWithCapacity,
     .Name = "elastic with specified moment capacity",
     .Key = "elastic_with_capacity",
     .EchoName = "Elastic with Specified Moment Capacity ",
     .b_EchoAligned = true,
     .Outline = O::Given,
     .Material = M::GivenStiffness,
     .Bending = B::ElasticPlastic,
     .ReadDimensions = ReadElasticDimensionsWithCapacity,
     .GrossProperties = ElasticGrossProperties,
     .ComputeStiffness = ElasticPlasticEITable},
    // The width is taken as the diameter of a gross circle.
    {.Code = SecUserDefinedEI,
     .Name = "pile with user-defined nonlinear EI",
     .Key = "user_defined_ei",
     .EchoName = "Pile with User-defined Nonlinear EI   ",
     .b_EchoAligned = true,
     .Outline = O::Circle,
     .Material = M::GivenStiffness,
     .Bending = B::UserCurves,
     .ReadDimensions = ReadUserEIDimensions,
     .GrossProperties = UserEIGrossProperties,
     .ComputeStiffness = UserEITableCheck},
    // A micropile is given by its length only: no property rows, no stiffness.
    {.Code = SecMicropile,
     .Name = "micropile",
     .Key = "micropile",
     .EchoName = "Micropile",
     .b_EchoAligned = true,
     .ReadDimensions = ReadNoDimensions,
     .GrossProperties = NoGrossProperties,
     .ComputeStiffness = NoBendingStiffness},
};

constexpr int TableSize = static_cast<int>(sizeof Table / sizeof Table[0]);

// Row n holds type n: the table is indexed by the code on the section line.
constexpr bool RowsInOrder() {
    for (int n = 0; n < TableSize; ++n)
        if (Table[n].Code != n) return false;
    return true;
}
static_assert(RowsInOrder(), "section type rows must stand in the order of their codes");

// What a stored section of no known type is: nothing read, nothing computed.
constexpr SectionType Unknown{.EchoName = "Unknown", .b_EchoAligned = true};

}  // namespace

const SectionType* SectionTypeOf(int code) {
    if (code < 0 || code >= TableSize) return nullptr;
    return &Table[code];
}

int NumSectionTypes() { return TableSize; }

const SectionType& SectionTypeFor(int code) {
    const SectionType* t = SectionTypeOf(code);
    return t != nullptr ? *t : Unknown;
}

}  // namespace kestro
