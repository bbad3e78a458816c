#pragma once
// Reader of the engine's plot file: the labelled records "Line 1" to "Line 14"
// turned into a results model for the JSON results file and the HTML report.
// The reader relies on the record labels and their order, not on columns, and
// keeps whatever it read before the first record it cannot accept, so that the
// plot file of a run that stopped early still yields its results so far.

#include <string>
#include <vector>

#include "AxialResults.h"

namespace kestro {
struct HeldResults;
}

namespace kestro::results {

// One point of a moment-EI-curvature curve (Line 5).
struct SectionCurvePoint {
    double Moment = 0.0, EI = 0.0, Curvature = 0.0;
};

// The curve of one section at one axial thrust (Line 4 and its Line 5 records).
struct ThrustCurve {
    int ThrustNumber = 0;
    double Thrust = 0.0;
    double NominalMomentCapacity = 0.0;
    std::vector<SectionCurvePoint> Points;
};

struct SectionCurves {
    int Number = 0;
    std::string Kind;  // "elastic", "elastic-plastic", "nonlinear" (from the Line 4/5 labels)
    std::vector<ThrustCurve> Thrusts;
};

struct PyPoint {
    double Y = 0.0, P = 0.0;
};

// A p-y curve printed at a depth the input asked for (Line 7 and its Line 8 records).
struct PrintedPyCurve {
    int Number = 0;               // curve number in Line 7; 0 for a depth below the tip
    double Depth = 0.0;           // below the pile head
    std::string SoilDescription;  // Line 7: "soft clay", "stiff clay with free water", ...
    std::string CurveName;        // Line 8: "static stiff clay with free water", ...
    std::vector<PyPoint> Points;  // empty for a depth below the pile tip
};

// One station of a load case (Line 10). Slope, EI, Es and the ultimate soil
// resistance Pu (0: the station's criterion has none) are not in the plot
// file: they are known only for results held in memory (ReadHeldPlot).
struct Station {
    int Number = 0;
    double Depth = 0.0, Deflection = 0.0, Moment = 0.0, Shear = 0.0, SoilReaction = 0.0;
    double Slope = 0.0, EI = 0.0, Es = 0.0, Pu = 0.0;
};

// One point of pile-head deflection against pile length (Line 12).
struct LengthPoint {
    double PileLength = 0.0, HeadDeflection = 0.0, MaxMoment = 0.0, MaxShear = 0.0;
};

struct LoadCase {
    int Number = 0;
    bool Lrfd = false;                // Line 11 names an LRFD load case
    std::vector<Station> Stations;    // Line 10, station 1 (pile head) to N
    bool StationsComplete = false;    // all N stations present
    bool HasStationProperties = false;  // Slope, EI, Es and Pu of the stations are known
    std::vector<LengthPoint> LengthStudy;
    // Head and maximum values. From the Line 13 summary when present, else from
    // the station table. Maxima keep the sign of the largest magnitude; the depth
    // of the maximum moment is that of the first station holding it.
    bool HasSummary = false;          // a Line 13 record was read for this case
    double HeadShear = 0.0, HeadDeflection = 0.0, MaxMoment = 0.0, MaxShear = 0.0;
    double DepthMaxMoment = 0.0, DepthMaxShear = 0.0;
};

// One load step of the pile-head stiffness study (Line 14).
struct StiffnessStep {
    double HeadShear = 0.0, HeadMoment = 0.0, K22 = 0.0, K23 = 0.0, K32 = 0.0, K33 = 0.0;
    double HeadDeflection = 0.0, HeadRotation = 0.0;
};

struct PlotResults {
    bool HasHeader = false;  // Line 1 was read
    int ComputationMode = 0, UnitSystem = 0, LengthStudyEntry = 0, StiffnessMatrix = 0;
    int NumSections = -1;    // Line 2; -1 when absent
    std::vector<SectionCurves> Sections;
    int NumPyDepths = -1;    // Line 6; -1 when absent
    std::vector<PrintedPyCurve> PyCurves;
    int NumLoadCases = -1, NumStations = -1, LoadUnitSystem = 0;  // Line 9; -1 when absent
    std::vector<LoadCase> LoadCases;
    std::vector<StiffnessStep> Stiffness;
    AxialPlotResults Axial;  // the axial records (Line 21 to 26), read apart
    int LinesRead = 0;
    // Complete: every record the file announces is present and nothing else.
    bool Complete = false;
    // Otherwise the first problem, naming its line: "line 17: ..."
    std::string Problem;
    int ProblemLine = 0;
};

// Units of the plot records in a unit system (1 US customary, 2 SI, 3 general).
// The section curves are kept in kip and inch units in US runs; the nominal
// moment capacity of Line 4 is written in in-lb there.
struct PlotUnits {
    const char* SystemName;
    const char* Length;          // depths, deflections, pile length
    const char* Force;           // shear
    const char* Moment;          // bending moment along the pile
    const char* ForcePerLength;  // soil reaction p
    const char* SectionMoment;   // Line 5 moment
    const char* SectionEI;       // Line 5 EI
    const char* Curvature;       // Line 5 curvature
    const char* Thrust;          // Line 4 axial thrust
    const char* Capacity;        // Line 4 nominal moment capacity
    const char* K22;             // lateral force per deflection
    const char* K23;             // lateral force per rotation
    const char* K32;             // moment per deflection
    const char* K33;             // moment per rotation
};
PlotUnits UnitsOf(int unitSystem);

// Reads the text of a plot file. Never throws on bad text: a record that does
// not fit ends the reading with `Problem` set and the results read so far kept.
PlotResults ReadPlotText(const std::string& text);
// Reads the file; a missing or unreadable file gives a result with `Problem` set.
PlotResults ReadPlotFile(const std::string& path);
// The same results from the plot records the engine held in memory during
// the run that has just ended (values identical to those of its plot file),
// with the slope, EI and Es of every station besides.
PlotResults ReadHeldPlot(const HeldResults& held);

}  // namespace kestro::results
