#pragma once
// The printed points of a p-y curve page from a deflection schedule.

#include <array>
#include <cstddef>

#include "model/Limits.h"
#include "report/PyCurvePage.h"
#include "soil/PyCriteria.h"

namespace kestro {

// Points 1..17 of the printed curve: each scheduled deflection times the
// y-multiplier, and the criterion's p at that (unmultiplied) deflection times
// the p-multiplier. y[0] is not used.
template <class PAt>
void FillPrintedPoints(PyCurveTable& t, const PyPoint& pt, const std::array<double, MaxPyPoints + 1>& y, PAt pAt) {
    for (std::size_t n = 1; n <= static_cast<std::size_t>(MaxPyPoints); ++n) {
        t.Y[n] = pt.YMult * y[n];
        t.P[n] = pt.PMult * pAt(y[n]);
    }
}

}  // namespace kestro
