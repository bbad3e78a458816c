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
};

struct PileInput {
    int Type = 0;             // number of its PileType
    double X = 0.0, Z = 0.0;  // head offset from the cap's reference point
    double BatterDegrees = 0.0;
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
};

// Reads the group file's text. Returns 0, or 1 with `error` naming the line
// and what is wrong with it.
int ReadGroup(const std::string& text, GroupModel& model, std::string& error);

// Solves every load case and writes the report. Returns 0, or the runtime
// error number of the first case that could not be balanced (61, 64 or 74),
// whose message is written to the report and to `error`; later cases are
// not run.
int RunGroup(const GroupModel& model, std::ostream& report, std::string& error);

}  // namespace kestro::group
