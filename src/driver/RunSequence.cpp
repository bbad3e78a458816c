#include "driver/RunSequence.h"

#include <cstdio>
#include <ctime>
#include <ostream>
#include <string>

#include "analysis/LoadCases.h"
#include "analysis/Stations.h"
#include "axial/AxialModel.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "input/InputFile.h"
#include "input/InputWarnings.h"
#include "input/Units.h"
#include "model/EITables.h"
#include "model/HeldResults.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "model/Warnings.h"
#include "report/Header.h"
#include "report/InputEcho.h"
#include "report/Format.h"
#include "report/PlotFile.h"
#include "section/SectionWork.h"
#include "section/SectionAnalysis.h"

namespace kestro {
namespace {

// The nonlinear bending stiffness of every section, with its progress lines.
void ComputeAllSections() {
    for (int s = 1; s <= Problem.NumSections; ++s) {
        MessageOut() << "Computing nonlinear bending stiffness of section " << MinimalInteger(s) << '\n';
        ComputeSectionStiffness(s);
        if (Failed()) return;
        MessageOut() << "Completed computing nonlinear bending stiffness of section " << MinimalInteger(s) << "\n\n";
    }
}

// A pile-response run needs at least one load case (one load combination in
// the LRFD mode); without one it would end normally with no result at all.
// The pile-head stiffness matrix applies loads of its own.
void CheckLoadCasesGiven() {
    if (NumAnalysisCases() >= 1 || Problem.Options.ComputeKmatrix) return;
    if (Problem.Options.UseLRFD) {
        InputError(ErrNoLoadCases,
                   "Problem:  The input holds no LRFD load combination to analyse (section LRFD FACTORS AND CASES).",
                   "Solution: Add the LRFD load combinations, or set ComputeEIOnly YES for the section properties "
                   "only.");
    } else {
        InputError(ErrNoLoadCases,
                   "Problem:  The input holds no pile-head load case to analyse (section LOADING with at least one "
                   "load case).",
                   "Solution: Add a LOADING section with the load cases, or set ComputeEIOnly YES for the section "
                   "properties only.");
    }
}

// A layer whose bottom lies above its top (as given, or once the profile is
// made contiguous) has no meaning: the run ends rather than analysing an
// inverted layer.
void CheckLayerOrder() {
    const double unit = IsUS() ? 12.0 : 1.0;  // report depths as entered
    auto depth = [unit](double x) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.3f", x / unit);
        return std::string(buf);
    };
    for (int k = 1; k <= Problem.NumLayers; ++k) {
        const SoilLayer& L = Problem.Layers[static_cast<std::size_t>(k)];
        if (L.XBottom < L.XTop) {
            InputError(ErrInvertedLayer,
                       "Problem:  The bottom of soil layer " + std::to_string(k) + " (" +
                           depth(L.XBottom) + ") lies above its top (" + depth(L.XTop) +
                           ", the bottom of the layer above it for layers below the first).",
                       "Solution: Give the soil layers in order from the ground surface down, each with its bottom below "
                       "its top.");
            return;
        }
    }
}

// An echo-only run ends here: the input was read, checked and echoed.
void EndEchoOnlyRun() {
    WriteToMessagesAndReport(
        {"", "The input was read, checked and echoed only (ECHO ONLY in NAMES.DAT); no analysis was run."});
}

}  // namespace

void ResetAnalysisState() {
    ResetPileModel();
    ResetEITables();
    ResetSectionWork();
    ResetSoilState();
    ResetAxialModel();
}

void ResetModelStore() {
    ResetRunState();
    ResetProblemData();
    ResetWarningRegistry();
    ResetInputWarnings();
    ClearHeldResults();
    ResetAnalysisState();
}

void RunStages() {
    const AnalysisOptions& O = Problem.Options;

    Run.b_SI = O.UnitSystem == UnitsSI;
    SetUnitLabels(O.UnitSystem);
    RewindReport();

    std::time_t clock = std::time(nullptr);
    std::tm now{};
    localtime_r(&clock, &now);
    WriteReportHeader(ReportOut(), now);
    // The warnings met while reading, which the rewind removed from the report.
    WriteInputWarnings(ReportOut());

    const int lengthEntry = Problem.NumLoadCases >= 1 ? Problem.LoadCases[1].LengthCode : 0;
    WritePlotLine1(PlotOut(), O.ComputationMode, O.UnitSystem, lengthEntry, O.ComputeKmatrix ? 1 : 0);

    // The echo restates the input as entered, so it comes before the conversion.
    EchoInput(ReportOut());
    if (Failed() || !CheckOutputWrites()) return;

    ConvertToInternalUnits();
    if (Failed()) return;
    if (O.ComputationMode != 2) {
        CheckLoadCasesGiven();
        if (Failed()) return;
    }

    if (O.ComputationMode == 2) {
        WritePlotLine2(PlotOut(), Problem.NumSections);
        if (Run.b_EchoOnly) {
            EndEchoOnlyRun();
            return;
        }
        ComputeAllSections();
        return;
    }

    // The soil profile is made contiguous: each layer after the first starts
    // where the layer above it ends.
    for (int k = 2; k <= Problem.NumLayers; ++k)
        Problem.Layers[static_cast<std::size_t>(k)].XTop = Problem.Layers[static_cast<std::size_t>(k - 1)].XBottom;
    CheckLayerOrder();
    if (Failed()) return;
    // The axial column is built (and its input checked) before any analysis.
    if (AxialInput.b_Requested) BuildAxialColumn();
    if (Failed()) return;
    WritePlotLine2(PlotOut(), Problem.NumSections);
    if (Run.b_EchoOnly) {
        EndEchoOnlyRun();
        return;
    }
    // Without pile sections there is no pile to analyse.
    if (Problem.NumSections < 1) return;
    BuildStations(Problem.PileLength);
    if (Failed()) return;
    AssignSections();
    AssignLayers();

    if (O.ComputationMode == 3) {
        ComputeAllSections();
        if (Failed()) return;
    }
    // The user-specified nonlinear EI stage (mode 4) comes here.

    RunLoadCases();
    if (Failed() || !CheckOutputWrites()) return;
    WriteSummary();
    if (Failed()) return;

    if (O.ComputeKmatrix) {
        MessageOut() << "Computing pile-head stiffness matrix components.\n\n";
        ComputeHeadStiffness();
        if (Failed()) return;
    }
    if (AxialInput.b_Requested) RunAxialAnalysis();
}

}  // namespace kestro
