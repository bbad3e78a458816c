#pragma once
// The group file: a hand-written description of a pile group under a rigid
// cap with linear pile-head stiffness terms, and its run (the cap solution
// of every load case written as a text report). The layout is documented in
// docs/groups.md. Engine code: no exceptions, errors by return.

#include <iosfwd>
#include <string>
#include <vector>

#include "group/CapSolver.h"

namespace kestro::group {

struct PileType {
    int Number = 0;
    LinearHeadTerms Terms;
    // PY: answered by the lateral p-y analysis of the group's lateral model;
    // axially by KAXIAL when given (b_LinearAxial), else by the model's axial column.
    bool b_PY = false;
    bool b_LinearAxial = true;
    // Its lateral model: 0 the group's (LATERAL line), k >= 1 the type's own
    // (LATERAL on its TYPE line), GroupModel::TypeModels[k - 1].
    int LateralModel = 0;
};

// A keyword input of the soil profile and a pile: its path as written, the
// line that names it, and its text, which the caller reads before the run.
struct LateralSource {
    std::string Path;
    int Line = 0;
    std::string Text;
};

struct PileInput {
    int Type = 0;             // number of its PileType
    double X = 0.0, Z = 0.0;  // head offset from the cap's reference point
    double BatterDegrees = 0.0;
    double PMultiplier = 0.0;   // given (PMULT), or 0: by row
    int Line = 0;
};

struct LoadCase {
    std::string Name;
    Vector3 Load{};           // H, V, M; or u, w, theta when b_Prescribed
    bool b_Prescribed = false;  // a prescribed cap movement (MOVE line)
    int Line = 0;
};

struct GroupModel {
    std::string Title;
    std::string ForceUnit = "force", LengthUnit = "length";
    std::vector<PileType> Types;
    std::vector<PileInput> Piles;
    std::vector<LoadCase> Cases;
    std::vector<std::string> Warnings;   // read, but probably not meant (line and cause)
    // The keyword input of the soil profile and the pile (LATERAL line): its
    // path as written, and its text, which the caller reads before the run.
    std::string LateralPath;
    int LateralLine = 0;
    std::string LateralText;
    // The lateral models named on TYPE lines (one per distinct path).
    std::vector<LateralSource> TypeModels;
    bool b_RowMultipliers = true;         // MULTIPLIERS ROWS (default) or NONE
};

// The results of one pile in one load case beyond its head forces.
struct PileCaseResult {
    double PMultiplier = 1.0;
    int Row = 1;
    bool b_Lateral = false;               // answered by the p-y analysis (the values below hold)
    double Deflection = 0.0, Slope = 0.0, MaxMoment = 0.0, DepthMaxMoment = 0.0;
    std::vector<double> ProfileDepth, ProfileDeflection, ProfileMoment;   // along the pile from the head
};

struct CaseResult {
    std::string Name;
    bool b_Prescribed = false;
    Vector3 Given{};
    SolveResult Solution;
    std::vector<PileCaseResult> Piles;
};

struct GroupResults {
    Matrix3 ZeroLoadTangent{};
    std::vector<CaseResult> Cases;        // the cases run (the last one may have failed)
    long LateralSolutions = 0;
    bool b_Lateral = false;
    std::string ModelForceUnit, ModelLengthUnit;
    double ModelWidth = 0.0;
    bool b_BelowTable = false;            // a spacing under 3 b used the 3 b multipliers
};

// Reads the group file's text. Returns 0, or 1 with `error` naming the line
// and what is wrong with it.
int ReadGroup(const std::string& text, GroupModel& model, std::string& error);

// Solves every load case and writes the report. Returns 0, or the runtime
// error number of the first case that could not be balanced (61, 64 or 74),
// whose message is written to the report and to `error`; later cases are
// not run.
int RunGroup(const GroupModel& model, std::ostream& report, std::string& error);
// The same, keeping the results for other outputs.
int RunGroup(const GroupModel& model, std::ostream& report, std::string& error, GroupResults& results);

}  // namespace kestro::group
