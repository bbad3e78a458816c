// Section geometry and slicing (interfaces; filled in by the next steps).

#include "section/SliceTable.h"

namespace kestro {

int ShapeOfSectionType(int) { return ShapeNone; }
bool BuildSectionGeometry(int, int, SectionGeometry&) { return false; }
bool GeometryAtStation(const SectionGeometry& g, double, SectionGeometry& out) {
    out = g;
    return true;
}
void PrepareSlices(const SectionGeometry&, double, SliceTable&) {}
double SegmentArea(double, double) { return 0.0; }
double PolygonAreaBelow(const double*, const double*, int, double, int) { return 0.0; }
double PolygonSliceArea(const double*, const double*, int, double, double, int) { return 0.0; }
void TurnPoints(double*, double*, int, double, double) {}
void PolygonExtent(const double*, int, double& highest, double& lowest) { highest = lowest = 0.0; }
int fn_FindSliceY(const SliceTable& t, double) { return t.NumSlices; }
void FillSliceDepths(SliceTable&) {}
void Calculate_Concrete_Slice_Areas_for_Drilled_Shaft(SliceTable&, double) {}
void Calculate_Rectangle_Concrete_Slice_Areas(SliceTable&, double, double) {}
void Calculate_Polygon_Concrete_Slice_Areas(SliceTable&) {}
void Calculate_Rebar_Slice_Areas(SliceTable&) {}
void Calculate_Casing_Slice_Areas(SliceTable&) {}
void Calculate_Core_Slice_Areas(SliceTable&, int) {}
void Calculate_HP_Slice_Areas(SliceTable&) {}
void SliceSection(SliceTable&) {}
bool PlaceBarsOnCircle(double, double, int, int, double, int& numBars, BarArray&, BarArray&, CircularArrangement&) {
    numBars = 0;
    return false;
}
bool PlaceBarsOnSquare(double, double, int, double, int& numBars, BarArray&, BarArray&) {
    numBars = 0;
    return false;
}
bool PlaceBarsOnRectangle(double, double, double, int, double, int& numBars, BarArray&, BarArray&) {
    numBars = 0;
    return false;
}

}  // namespace kestro
