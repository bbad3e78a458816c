#pragma once
// A cleared model with one input section of the given type in US customary
// units, for the section geometry and material tests.
#include "model/ProblemData.h"
#include "model/RunState.h"

namespace kestro::test {

inline PileSection& OneSection(int type) {
    ResetProblemData();
    kestro::Run.ErrorNumber = 0;
    Problem.Options.UnitSystem = UnitsUS;
    Problem.NumSections = 1;
    PileSection& S = Problem.Sections[1];
    S.SectionType = type;
    return S;
}

}  // namespace kestro::test
