#pragma once
// Helpers of the pile analysis tests: a uniform elastic pile in the model
// store and output channels captured in a scratch folder.

#include <string>

#include "TestSupport.h"
#include "model/Channels.h"
#include "model/Warnings.h"
#include "input/Units.h"
#include "model/EITables.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"

namespace kestro::test {

// A fresh store holding one elastic section (type 11) of length L with
// constant E*I = EI, width b and area A; ground at the head, no soil layers,
// so every station keeps the initial secant modulus of 50000.
inline void SetElasticPileProblem(double L, double EI, double b = 24.0, double A = 100.0, int increments = 100,
                                  int units = UnitsUS) {
    ResetRunState();
    ResetProblemData();
    ResetPileModel();
    ResetEITables();
    ResetWarningRegistry();
    ProblemData& P = Problem;
    P.Options.UnitSystem = units;
    Run.b_SI = units == UnitsSI;
    SetUnitLabels(units);
    P.Options.ComputationMode = 3;
    P.Options.MaxIterations = 100;
    P.Options.ExcessDeflectionLimit = 100.0;
    P.Options.ConvergenceTolerance = 1.0E-5;
    P.Options.NumIncrements = increments;
    P.Options.PrintIncrement = 1;
    P.NumSections = 1;
    P.Sections[1].SectionType = SecElastic;
    P.Sections[1].SectionTop = 0.0;
    P.Sections[1].SectionBottom = L;
    P.Sections[1].SectionLength = L;
    P.PileLength = L;
    P.NumPropertyRows = 2;
    for (int r = 1; r <= 2; ++r) {
        PropertyRow& row = P.PropertyTable[static_cast<std::size_t>(r)];
        row.Depth = r == 1 ? 0.0 : L;
        row.Width = b;
        row.Second = b;
        row.Inertia = 1000.0;
        row.Modulus = EI / 1000.0;
        row.Area = A;
    }
}

inline void AddLoadCase(int type, double c1, double c2, double axial) {
    ProblemData& P = Problem;
    ++P.NumLoadCases;
    LoadCase& L = P.LoadCases[static_cast<std::size_t>(P.NumLoadCases)];
    L.LoadType = type;
    L.Condition1 = c1;
    L.Condition2 = c2;
    L.AxialLoad = axial;
}

// Output channels opened on files of a scratch folder; Close() returns their text.
struct CapturedChannels {
    std::string Dir, Report, Plot, Messages;
    CapturedChannels() {
        Dir = ScratchDir();
        int failed = 0;
        OpenOutputChannels(Dir + "/report.txt", Dir + "/plot.txt", Dir + "/messages.txt", failed);
    }
    void Close() {
        CloseOutputChannels();
        Report = ReadText(Dir + "/report.txt");
        Plot = ReadText(Dir + "/plot.txt");
        Messages = ReadText(Dir + "/messages.txt");
    }
};

inline bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

inline int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size())) ++n;
    return n;
}

}  // namespace kestro::test
