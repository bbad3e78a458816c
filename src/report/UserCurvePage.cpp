// Printed page of a p-y curve interpolated between user-input curves.

#include <ostream>

#include "model/RunState.h"
#include "report/PyCurvePage.h"

namespace kestro {

void WriteUserCurvePage(std::ostream& out, std::ostream& plot, const BasicPyPage& s) {
    WritePyTitle(out, "p-y Curve Computed by Interpolation Between User-input Curves");
    const std::string_view len = Run.Labels.Length;
    WritePyLayerAndDepths(out, 28, s.Layer, s.DepthBelowHead, s.Z);
    WritePyValue(out, "Pile diameter", 28, s.B, 3, len);
    WritePyValue(out, "p-multiplier", 28, s.PMult, 3, "");
    WritePyValue(out, "y-multiplier", 28, s.YMult, 3, "");
    out << '\n';
    WritePyHeading(out, "        ", "----------------    ----------------");
    WritePyRowsAndRecords(out, plot, s.Curve);
}

}  // namespace kestro
