#pragma once
// Geometry of a structural pile section for the section analysis.
//
// Provides:
//  - `SectionShapeCode`, the eleven shapes the section analysis slices;
//  - `SectionGeometry`, one pile section described in its own axes (outline,
//    bars or strands, casing, cores, H-pile insert, taper), built from the
//    input section by `BuildSectionGeometry`;
//  - `SliceTable`, the section turned through the direction of loading and cut
//    into `MaxSlices` horizontal slices of equal height, with the net area of
//    every material per slice, the turned bar list and the turned outlines;
//  - `PrepareSlices`, which turns and slices one geometry (at one station
//    position and one direction of loading) into a SliceTable;
//  - the area primitives (`SegmentArea`, `PolygonAreaBelow`,
//    `PolygonSliceArea`), the turning and extent helpers, `fn_FindSliceY`,
//    `FillSliceDepths`, the component area routines and `SliceSection`;
//  - the bar and strand placements on a circle, a square and a rectangle.
//
// Units: lengths in the run's section length unit (inches in US customary
// runs, meters in SI runs, as stored by the section reader); areas in that
// unit squared. Angles in radians. y is measured upward from the mid-depth of
// the turned section; the top fibre is SliceY[0].
//
// Arrays are 1-based like the model store: per-slice arrays use 1..NumSlices,
// SliceY uses 0..NumSlices, bars 1..NumBars, vertices 1..n.

#include <array>

#include "model/Limits.h"
#include "model/ProblemData.h"

namespace kestro {

inline constexpr double SectionPi = 3.141592653589793;

enum SectionShapeCode : int {
    ShapeNone = 0,
    ShapeSquarePile = 1,
    ShapeSquarePileWithCore = 2,
    ShapeRoundPile = 3,
    ShapeShaftWithHPile = 4,
    ShapeShaftWithPipe = 5,
    ShapeShaftWithCasing = 6,
    ShapeShaftWithCasingAndCore = 7,
    ShapeShaftWithCasingAndHPile = 8,
    ShapeSteelPipe = 9,
    ShapeNoncircular = 10,
    ShapeComposite = 11,
};

// True for the shapes whose concrete is a circle (3 to 9).
constexpr bool IsCircularShape(int shape) { return shape >= ShapeRoundPile && shape <= ShapeSteelPipe; }

inline constexpr int MaxOutlineVertices = 300;
inline constexpr int HPileVertices = 12;
inline constexpr int MaxSectionCores = 4;

using SliceArray = std::array<double, MaxSlices + 1>;          // 1..MaxSlices
using BoundaryArray = std::array<double, MaxSlices + 1>;       // 0..MaxSlices
using BarArray = std::array<double, MaxBars + 1>;              // 1..MaxBars
using VertexArray = std::array<double, MaxOutlineVertices + 1>;  // 1..MaxOutlineVertices

// A circular core (steel pipe insert, inner core of a cased shaft, or the void
// of a hollow pile). A void is a core of zero wall thickness whose inside
// carries no concrete.
struct SectionCore {
    double Diameter = 0.0;      // outside diameter Dc
    double Thickness = 0.0;     // wall thickness tc (0: no steel wall)
    double X = 0.0, Y = 0.0;    // centre in the section's own axes
    bool b_Concrete = false;    // the inside holds concrete (core concrete model not 1)
};

// Dimensions that vary along a tapered section, at its top and its bottom.
struct TaperDimensions {
    double Top = 0.0;           // section top, distance from the pile head
    double Bottom = 0.0;        // section bottom
    double Diameter0 = 0.0, Diameter1 = 0.0;   // circular shapes
    double Width0 = 0.0, Width1 = 0.0;         // square shapes
    double Depth0 = 0.0, Depth1 = 0.0;
};

// Result of a circular arrangement, for the report block.
struct CircularArrangement {
    double Radius = 0.0;            // R
    double CentralAngle = 0.0;      // radians between positions
    double ClearSpacing = 0.0;      // chord between neighbouring positions minus db
    double BarDiameter = 0.0;
};

// One pile section in its own axes, before turning and slicing.
struct SectionGeometry {
    int Section = 0;            // input section number (for messages)
    int Shape = ShapeNone;
    // Circular shapes: diameter (outside diameter of the casing or pipe).
    double Diameter = 0.0;
    // Square shapes: width (x) and depth (y); the outline of shapes 1, 2, 10
    // and 11 is also held in Outline.
    double Width = 0.0, Depth = 0.0;
    double CornerChamfer = 0.0;
    // Casing or pipe wall (shapes 6 to 9).
    double CasingThickness = 0.0;
    // Cores 1..NumCores (shapes 2, 5, 7, 11).
    int NumCores = 0;
    std::array<SectionCore, MaxSectionCores + 1> Cores{};
    // H-pile insert (shapes 4, 8), centred.
    double HPileFlangeWidth = 0.0, HPileDepth = 0.0, HPileFlangeThickness = 0.0, HPileWebThickness = 0.0;
    // Concrete outline (square, noncircular and composite shapes).
    int NumVertices = 0;
    VertexArray OutlineX{}, OutlineY{};
    // Bars or strands.
    int NumBars = 0;
    BarArray BarX{}, BarY{}, BarArea{}, BarDiameter{};
    // Taper: dimensions at the top (0) and bottom (1) and the bar-circle
    // offset k of the section (the bar coordinates scale by (D - k)/(D0 - k)).
    bool b_Tapered = false;
    TaperDimensions Taper{};
    double BarCircleOffset = 0.0;
    // The circular arrangement the bars were placed on (for its report block).
    bool b_CircleArrangement = false;
    CircularArrangement Arrangement{};
};

// The section turned and sliced. Rebuilt for each section, station position
// and direction of loading; read by the force and moment integration.
struct SliceTable {
    int Shape = ShapeNone;
    // Distinguishes every preparation of a table (the force integration
    // clears its per-slice arrays once per new table).
    unsigned long Generation = 0;
    int NumSlices = MaxSlices;
    double NumSlicesReal = static_cast<double>(MaxSlices);
    double SliceThickness = 0.0;
    double SectionDepth = 0.0;    // H, in the bending direction after the turn
    double SectionWidth = 0.0;
    double Theta = 0.0, SinTheta = 0.0, CosTheta = 1.0;
    BoundaryArray SliceY{};       // SliceY[0] top fibre, SliceY[i] = SliceY[0] - i t
    SliceArray SliceDepth{};      // (i - 0.5) H / N from the top fibre

    SliceArray ConcreteArea{};    // net concrete outside every core
    SliceArray RebarArea{};
    SliceArray CasingArea{};
    SliceArray CoreSteelArea{};
    SliceArray CoreConcreteArea{};
    SliceArray HPileArea{};
    double TotalConcreteArea = 0.0;
    double TotalRebarArea = 0.0;

    // Casing or pipe wall
    double CasingDiameter = 0.0, CasingThickness = 0.0;
    // Cores, turned; outer circle area per slice of each core and the slices
    // the core spans (the steel laws are evaluated over these only).
    int NumCores = 0;
    std::array<SectionCore, MaxSectionCores + 1> Cores{};
    std::array<SliceArray, MaxSectionCores + 1> CoreOuterArea{};
    int CoreTopSlice = 1, CoreBottomSlice = 0;
    // H-pile outline, turned, and the slices it spans.
    int NumHPileVertices = 0;
    std::array<double, HPileVertices + 1> HPileX{}, HPileY{};
    double HPileTop = 0.0, HPileBottom = 0.0;
    int HPileTopSlice = 1, HPileBottomSlice = 0;
    // Concrete outline, turned.
    int NumVertices = 0;
    VertexArray OutlineX{}, OutlineY{};
    // Bars, turned.
    int NumBars = 0;
    BarArray BarX{}, BarY{}, BarArea{}, BarDiameter{};
};

// Clear cover over automatically positioned strands (no input gives it):
// 3 in, or 0.0762 m in SI runs.
double DefaultStrandCover(bool si);

// Builds the geometry of input section s (1-based) in its own axes: shape,
// dimensions, outline, cores (voids of hollow piles as cores without wall),
// casing, and the bars or strands (placed on a circle, square or rectangle,
// or taken from the input list). `coreConcreteModel` is the concrete model of
// the core (1: empty). Checks dimensions and that the reinforcement fits; a
// value that cannot be analysed ends the run with an input data error that
// names the section and the value. Returns false when the run was ended.
bool BuildSectionGeometry(int s, int coreConcreteModel, SectionGeometry& g);

// The geometry at station position x (distance from the pile head) of a
// tapered section: dimensions interpolated linearly between the section's top
// and bottom, bar coordinates scaled. An untapered geometry is copied as is.
// x < 0 ends the run with Input Data Error 45, x beyond the bottom with 46.
bool GeometryAtStation(const SectionGeometry& g, double x, SectionGeometry& out);

// Turns the geometry through `theta` (radians), sets the slice boundaries and
// depths and runs SliceSection: the one call that prepares a SliceTable.
void PrepareSlices(const SectionGeometry& g, double theta, SliceTable& t);

// --- Area primitives --------------------------------------------------------

// Area of the part of a circle of diameter D lying within depth h below its top.
double SegmentArea(double D, double h);
// Area of the part of the polygon (x[1..n], y[1..n]) at or below y = level.
// Counterclockwise outlines give positive areas.
double PolygonAreaBelow(const double* x, const double* y, int n, double level);
// Area of the polygon between y = bottom and y = top.
double PolygonSliceArea(const double* x, const double* y, int n, double bottom, double top);
// Turns n points (x[1..n], y[1..n]) through the angle whose sine and cosine are given.
void TurnPoints(double* x, double* y, int n, double sinTheta, double cosTheta);
// Highest and lowest y of n points.
void PolygonExtent(const double* y, int n, double& highest, double& lowest);

// Number of the slice (1..NumSlices) holding ordinate yReal; an ordinate
// outside the section falls in the last slice.
int fn_FindSliceY(const SliceTable& t, double yReal);
// SliceDepth from H and NumSlices, for shapes 1 to 11.
void FillSliceDepths(SliceTable& t);

// --- Component area routines (read the boundaries, add to or subtract from
// the per-slice areas) ----------------------------------------------------------
void Calculate_Concrete_Slice_Areas_for_Drilled_Shaft(SliceTable& t, double diameter);
void Calculate_Rectangle_Concrete_Slice_Areas(SliceTable& t, double width, double depth);
void Calculate_Polygon_Concrete_Slice_Areas(SliceTable& t);
void Calculate_Rebar_Slice_Areas(SliceTable& t);
void Calculate_Casing_Slice_Areas(SliceTable& t);
void Calculate_Core_Slice_Areas(SliceTable& t, int core);
void Calculate_HP_Slice_Areas(SliceTable& t);
// Runs the components of the table's shape in order, then the totals.
void SliceSection(SliceTable& t);

// --- Bar and strand placements ------------------------------------------------


// Places n positions (1..MaxBars) of 1, 2 or 3 bars of diameter db on a
// circle of radius R = (D - db)/2 - cover inside a section of diameter (or
// width) D. Writes NumBars and the coordinates (areas are left to the caller).
// Returns false (nothing placed) when the arrangement cannot be made.
bool PlaceBarsOnCircle(double D, double cover, int n, int perPosition, double db, int& numBars, BarArray& x,
                       BarArray& y, CircularArrangement& arrangement);
// n bars (4..MaxBars) on the sides of the bar square of half side
// a = (B - db)/2 - cover, corners first, spacing s = 2a / floor(n/4).
bool PlaceBarsOnSquare(double B, double cover, int n, double db, int& numBars, BarArray& x, BarArray& y);
// n bars (4..MaxBars) on the sides of the bar rectangle inside a width x
// depth section, corners first, the count per side in proportion to its length.
bool PlaceBarsOnRectangle(double width, double depth, double cover, int n, double db, int& numBars, BarArray& x,
                          BarArray& y);

}  // namespace kestro
