#pragma once
// The lateral p-y analysis of the piles of a group.
//
// The single-pile engine keeps one pile model in its process-wide store. A
// group run prepares that store once from the keyword input that describes
// the soil profile and the pile (its sections, length, increments and
// options): the input is read and converted, the stations are built and the
// sections' moment-EI tables are computed, but no load case is run. Every
// pile of the group is then that prepared model solved again with its own
// head conditions, axial load (the P-delta term) and group p-multiplier:
//   fixed head:  head deflection and head slope prescribed;
//   pinned head: head deflection prescribed, head moment zero.
// Each solution is the nonlinear iteration of the load cases, from the same
// initial moduli every time, so that a pile's answer depends only on its head
// conditions, never on the pile solved before it. Answers are kept by their
// head conditions, so piles of the same type, row and batter (which move
// alike) share one analysis.
//
// A group may name several such inputs (pile types of other sections or
// lengths). The store holds one of them at a time: when a pile of another
// model is solved, the store is prepared again from that model's text
// (answers already found are kept, by model). Piles listed type by type
// switch models once per type and cap iteration.
//
// Engine code: errors by return; the run's output channels are opened on the
// null device while the model is in use, so the single-pile progress lines
// and pages are not written anywhere.

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "group/CapSolver.h"

namespace kestro::group {

struct LateralModelInfo {
    bool b_Axial = false;       // the input holds AXIAL ANALYSIS: the pile's axial column is built
    double Length = 0.0;        // pile length (model units)
    double Width = 0.0;         // width at the head, used by the p-y curves
    double DeflectionLimit = 0.0;
    const char* ForceUnit = "";  // "lbs", "kN" or "F"
    const char* LengthUnit = "";
};

// Reads the keyword input `text` into the store and prepares it as above.
// Returns 0, or the engine's error number (Input Data Errors as 100 + n,
// Runtime Errors as 200 + n) with `why` saying which.
int PrepareLateralModel(const std::string& text, LateralModelInfo& info, std::string& why);
// The same for several models, numbered 0, 1, ... in the order given; each is
// read and prepared once here (so that a bad one is found before any case
// is run). On failure `failed` is the index of the model at fault.
int PrepareLateralModels(const std::vector<std::string>& texts, std::vector<LateralModelInfo>& infos,
                         std::string& why, std::size_t& failed);

// Closes the output channels the prepared model opened (end of the group run).
void ReleaseLateralModel();

// The answer of the prepared pile to its head conditions.
struct LateralAnswer {
    int Error = 0;               // 0, ErrorDeflectionLimit or ErrorPileFailed
    std::string Why;
    double Deflection = 0.0;     // head deflection y (along the pile's lateral axis)
    double Slope = 0.0;          // head slope dy/dx
    double Shear = 0.0;          // head shear, along +y
    double Moment = 0.0;         // head moment in the single-pile signs
    double MaxMoment = 0.0;      // largest |M| along the pile, with its sign
    double DepthMaxMoment = 0.0; // along the pile below the head
    int Iterations = 0;
    // Along the pile, station by station from the head: depth below the
    // head, deflection and bending moment.
    std::vector<double> ProfileDepth, ProfileDeflection, ProfileMoment;
};

// Solves the prepared pile: head deflection y, and either head slope `slope`
// (fixed head) or zero head moment (pinned), under axial load `axial`
// (compression positive) with every p-y curve's p multiplied by `pMultiplier`.
// `model`: the number of the prepared model (0 for the first).
LateralAnswer SolveLateral(bool fixedHead, double y, double slope, double axial, double pMultiplier,
                           int model = 0);

// The stability under its axial load (compression) of the pile solution that
// SolveLateral gives for these values: the single-pile check of the
// equilibrium's tangent stiffness with the axial load's geometric term. Made
// once per balanced load case and pile, not at every trial of the cap
// iteration. Returns 0, or ErrorPileFailed with `why`.
int CheckLateralStability(bool fixedHead, double y, double slope, double axial, double pMultiplier,
                          std::string& why, int model = 0);

// A group pile answered by the lateral analysis of the prepared model and,
// axially, by the axial column of that model (when the input holds one) or
// by a linear axial stiffness. The lateral tangent is found by one-sided
// differences: one more solution per head condition.
//
// Sign map to the group's pile axes: lateral movement = y, rotation = -slope,
// Q = head shear, Mh = head moment (a positive head moment turns the head
// against its slope: it is work-conjugate to the rotation).
class LateralPileHead final : public PileHead {
public:
    // `axialColumn` null: linear axial stiffness `kAxial`.
    // `model`: the number of its prepared lateral model.
    LateralPileHead(Connection head, double pMultiplier, const axial::AxialPile* axialColumn, double kAxial,
                    int model = 0);
    HeadResult Respond(const Vector3& movement) override;

    // The lateral answer behind the last Respond.
    const LateralAnswer& Last() const { return Last_; }
    double PMultiplier() const { return PMultiplier_; }
    void SetPMultiplier(double m) { PMultiplier_ = m; }
    // CheckLateralStability of the last answer (0 before any).
    int CheckStability(std::string& why) const;

private:
    Connection Head_;
    double PMultiplier_;
    const axial::AxialPile* Column_;
    double KAxial_;
    int Model_;
    axial::AxialState AxialState_;
    LateralAnswer Last_;
    bool b_Answered = false;
    double LastY_ = 0.0, LastSlope_ = 0.0, LastAxial_ = 0.0;
};

// Solutions kept by their head conditions (cleared with the model).
void ForgetLateralAnswers();
// Number of lateral solutions computed since the model was prepared (for the
// report and the benchmark).
long LateralSolutionCount();

}  // namespace kestro::group
