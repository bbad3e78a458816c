#include "model/Warnings.h"

#include <cstdlib>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>

namespace kestro {

WarningRegistry Warnings;

namespace {

struct WarningText {
    int Number;
    bool Lead;
    bool Trail;
    const char* Heading;  // nullptr: the body lines follow one another with no heading
    std::initializer_list<const char*> Body;
};

// Texts printed once per kind in the summary. Spelling and trailing blanks are
// part of the report and are kept exactly.
const WarningText WarningTexts[] = {
    {302, true, true, "**** Warning ****", {"An unreasonable value was input for friction angle has been specified", "for a soil layer defined uisng the sand criteria.  The input value is", "either smaller than 20 degrees or higher than 48 degrees.  The input", "data should be checked for correctness."}},
    {303, false, true, "**** Warning ****", {"An unreasonable value was input for friction angle has been specified for a", "soil layer defined uisng the API sand criteria.  The input value is either", "smaller than 20 degrees or higher than 48 degrees.  The input data should", "be checked for correctness."}},
    {305, false, false, "***** Warning *****", {"Too many values were calculated for moment-curvature.", "This may indicate that the pile is too weak or is under-reinforced, ", "where all reinforcing steel has yielded.  You should examine your input ", "data and increase the amount of steel reinforcement if necessary."}},
    {306, true, true, nullptr, {"Warning - Negative values of bending moment were computed in nonlinear EI computations.", "This may indicate that the pile is too weak or is under-reinforced and that all reinforcing steel ", "has yielded.", "You should examine your input data and increase the amount of steel reinforcement if necessary."}},
    {308, true, true, "**** Warning ****", {"An unreasonable input value for uniaxial compressive strength has been ", "specified for a soil defined using the vuggy limestone criteria.", "The input value is outside of the range of 1,000 to 2,500 psi (6,895 to 17,237 kPa).", "You should check your input data for correctness."}},
    {316, false, true, "***** Warning *****", {"The input value for k_rm used by the weak rock criteria is smaller than ", "0.00005.  This value is outside the recommended range of 0.00005 to 0.0005.", "You should check your input data for accuracy."}},
    {317, false, true, "**** Warning - Possible Input Data Error ****", {"The input value for k_rm used by the weak rock criteria is ", "greater than 0.0005.  This value is outside the recommended ", "range of 0.00005 to 0.005.  You should check your input data", "for accuracy."}},
    {320, true, true, "**** Warning - Possible Input Data Error ****", {"A numeric input line holds more values than are read, and its values look like a", "number written with thousands separators (29,000,000 is read as 29, 000 and 000).", "The block that names the line is printed after the report header and in the", "runtime message file.  Check the input data."}},
    {321, true, true, "**** Warning - Possible Input Data Error ****", {"The area or moment of inertia of an elastic circular or pipe section differs by", "more than 5 % from the value of its diameter and wall thickness.  The block that", "names the line and both values is printed after the report header and in the", "runtime message file.  Check the input data."}},
    {322, true, true, "**** Warning - Possible Input Data Error ****", {"Values expected at the end of an input line were taken from the line after it,", "which holds further values: a value is probably missing.  The block that names", "both lines is printed after the report header and in the runtime message file.", "Check the input data."}},
    {354, true, true, "**** Warning - Possible Modelling Error ****", {"The depth of this liquefied sand layer is deeper than the recommended depth ", "limit of 6 meters for using the p-y criteria for liquefied sand.", "Please consult the Kestro Technical Manual for additional background ", "information regarding limitations on the use of the liquefied sand criteria."}},
    {366, true, true, "**** Warning - Implausible Input Value ****", {"A value of the input lies far outside the usual range of its field (the message", "file names the field, the line and the value).  Check the input data for correctness."}},
    {370, true, true, "**** Warning - Large Pile-Head Rotation ****", {"The rotation of the pile head exceeds 0.1 radian, beyond the range of the", "small-deflection beam theory the analysis uses.  Check the loads and the pile's", "size; the results may be inaccurate."}},
    {371, true, true, "**** Warning - Possible Input Data Error ****", {"Values entered for the effective unit weight of soil lie outside the usual limits", "(see the warning in the input echo).  Check the input data."}},
    {372, true, true, "**** Warning - Possible Solution Error ****", {"The force or moment imbalance of a load case is more than 0.1 % of the largest", "force or moment of the case (see the block of error 5501 on its results page)."}},
    {384, true, true, "**** Warning - Axial Head Load Beyond Plunging ****", {"An axial head load of the AXIAL ANALYSIS section exceeds the plunging load of", "the pile in its direction (compression or uplift).  The pile cannot carry it:", "its response is not computed.  Check the head loads and the soil data."}},
    {390, true, true, "**** Warning ****", {"A moment-curvature curve ended before its last point because the section cannot", "carry its axial thrust at a larger curvature: no depth of the neutral axis gives", "an axial force equal to the thrust.  The curve ends at the last point of", "equilibrium; a curve that ends below a concrete strain of 0.003 has no nominal", "moment capacity.  Check the axial thrust against the capacity of the section."}},
    {400, true, false, "**** Warning - Failure for One or More LRFD Load Cases ****", {"This warning message is provided to alert the user that one or more of ", "LRFD load cases has overloaded the structural capacity of the pile."}},
    {3041, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a soil", "defined using the soft clay criteria.  The input value is greater than 8.68", "psi (1,250 psf).  You should check your input data for correctness."}},
    {3042, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a soil", "defined using the soft clay criteria.", "The input value is greater than 59.85 kN/m2. You should check your input data for correctness."}},
    {3051, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay with free water criteria.  The input value is ", "less than 3.47 psi (500 psf). You should check your input data for correctness."}},
    {3052, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay with free water criteria.  The input value is ", "greater than 55.55 psi (8,000 psf).  You should check your input data for", "correctness."}},
    {3053, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay with free water criteria.  The input value is ", "less than 23.94 kN/m2.  You should check your input data for correctness."}},
    {3054, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer. ", "defined using the stiff clay with free water criteria.  The input value is ", "greater than 383.04 kN/m2.  You should check your input data for correctness."}},
    {3061, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer. ", "defined using the stiff clay without free water criteria.  The input value is ", "less than 3.47 psi (500 psf).  You should check your input data for correctness."}},
    {3062, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay without free water criteria.  The input value is ", "greater than 55.55 psi (8000 psf).  You should check your input data for correctness."}},
    {3063, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay without free water criteria.  The input value is ", "less than 23.94 kN/m2.  You should check your input data for correctness."}},
    {3064, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay without free water criteria.  The input value is ", "greater than 383.04 kN/m2.  You should check your input data for correctness."}},
    {3071, true, true, "**** Warning ****", {"An unreasonable input value for the compressive strength has been specified", "for a soil defined using the weak rock criteria.  The input value is less ", "than 100 psi.  You should check your input data for correctness."}},
    {3072, true, true, "**** Warning ****", {"An unreasonable input value for unconfined compressive strength has been ", "specified for a soil defined using the weak rock criteria.  The input value", "is greater than 1000 psi.  You should check your input data for correctness."}},
    {3073, true, true, "**** Warning ****", {"An unreasonable input value for unconfined compressive strength has been ", "specified for a soil defined using the weak rock criteria.  The input value", "is less than  689.5 kN/m2.  You should check your input data for correctness."}},
    {3074, true, true, "**** Warning ****", {"An unreasonable input value for unconfined compressive strength has been", "specified for a soil defined using the weak rock criteria.  The input value", "is greater than 6895 kN/m2.  You should check your input data for correctness."}},
    {3261, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay without free water criteria using k.", "The input value is less than 3.47 psi (500 psf).", "   You should check your input data for correctness."}},
    {3262, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay without free water criteria using k.", "The input value is greater than 55.55 psi (8000 psf).", "You should check your input data for correctness."}},
    {3263, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay without free water criteria using k.", "The input value is less than 23.94 kN/m2.", "You should check your input data for correctness."}},
    {3264, true, true, "**** Warning ****", {"An unreasonable input value for shear strength has been specified for a layer.", "defined using the stiff clay without free water criteria using k.", "The input value is greater than 383.04 kN/m2.", "You should check your input data for correctness."}},
};

const WarningText* FindText(int number) {
    for (const WarningText& t : WarningTexts)
        if (t.Number == number) return &t;
    return nullptr;
}

void WriteText(std::ostream& out, const WarningText& t) {
    if (t.Lead) out << '\n';
    if (t.Heading != nullptr) out << t.Heading << "\n\n";
    for (const char* line : t.Body) out << line << '\n';
    if (t.Trail) out << '\n';
}

// The tape that records the warnings raised, when one is recording.
WarningTape* Recording = nullptr;

}  // namespace

void RecordWarnings(WarningTape* tape) {
    Recording = tape;
    if (tape != nullptr) *tape = WarningTape{};
}

void ReplayWarnings(const WarningTape& tape) {
    for (int n = 0; n < tape.Count; ++n) RaiseWarning(tape.Numbers[static_cast<std::size_t>(n)]);
}

void RaiseWarning(int number) {
    if (Recording != nullptr) {
        if (Recording->Count < WarningTape::Capacity)
            Recording->Numbers[static_cast<std::size_t>(Recording->Count++)] = number;
        else
            Recording->b_Overflow = true;
    }
    int k = std::abs(number);
    if (k < 1 || k > MaxWarnings) return;
    auto idx = static_cast<std::size_t>(k);
    int n = Warnings.WarningCount[idx];
    if (n >= MaxWarnings) {
        Warnings.LastWarningCount = n;
        return;
    }
    ++n;
    ++Warnings.RunCount[idx];
    Warnings.WarningCount[idx] = n;
    Warnings.LastWarningCount = n;
    Warnings.WarningList[static_cast<std::size_t>(n)] = number;
}

void ClearWarnings() {
    Warnings.WarningCount.fill(0);
    Warnings.WarningTextPending.fill(true);
}

void ResetWarningRegistry() {
    Warnings.WarningCount.fill(0);
    Warnings.WarningList.fill(0);
    Warnings.RunCount.fill(0);
    Warnings.LastWarningCount = 0;
    // Every run starts with every text to print: a run that analyses no load
    // case (section properties only) still explains each warning it counts,
    // whatever an earlier run of the same process printed.
    Warnings.WarningTextPending.fill(true);
}

namespace {
// The count the summary gives kind k: that of the current load case, or for a
// kind the case did not raise, its count in the run.
int SummaryCount(int k) {
    const auto idx = static_cast<std::size_t>(k);
    return Warnings.WarningCount[idx] != 0 ? Warnings.WarningCount[idx] : Warnings.RunCount[idx];
}
}  // namespace

int CountWarningKinds() {
    int kinds = 0;
    for (int k = 1; k <= MaxWarnings; ++k)
        if (SummaryCount(k) != 0) ++kinds;
    return kinds;
}

void WriteWarningSummary(std::ostream& out) {
    const int kinds = CountWarningKinds();
    Warnings.LastWarningCount = kinds;
    if (kinds == 0) {
        out << "\n\nNo error or warning messages were generated by this analysis.\n\n";
        return;
    }
    out << "\n\n" << std::string(80, '-') << '\n'
        << std::string(26, ' ') << "Summary of Warning Messages\n"
        << std::string(80, '-') << '\n';
    for (int k = 1; k <= MaxWarnings; ++k) {
        auto idx = static_cast<std::size_t>(k);
        int count = SummaryCount(k);
        if (count == 0) continue;
        out << "The following warning was reported " << count << " times\n";
        const WarningText* t = FindText(k);
        if (t != nullptr && Warnings.WarningTextPending[idx]) {
            WriteText(out, *t);
            Warnings.WarningTextPending[idx] = false;
        }
    }
}

int LastWarningRaised() {
    // Entry n of the list holds the raise that brought a counter to n. With one
    // kind left, the entry at that kind's count is its latest raise; entries
    // above it may be stale raises of kinds cleared by a later load case.
    for (int k = 1; k <= MaxWarnings; ++k) {
        int count = Warnings.WarningCount[static_cast<std::size_t>(k)];
        if (count > 0) return Warnings.WarningList[static_cast<std::size_t>(count)];
    }
    // A kind of an earlier case or stage only: its own number.
    for (int k = 1; k <= MaxWarnings; ++k)
        if (Warnings.RunCount[static_cast<std::size_t>(k)] > 0) return -k;
    return 0;
}

}  // namespace kestro
