#include "input/ValueRanges.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "model/Channels.h"
#include "model/Warnings.h"
#include "input/InputFile.h"
#include "input/InputWarnings.h"
#include "input/ReaderSupport.h"
#include "model/ProblemData.h"

namespace kestro {
namespace {

struct FieldRange {
    std::string_view Field;
    ValueRange Range;
};

// Bounds of fields whose values outside them can only be unit mistakes or
// no material a pile is made of: lo..hi in US customary and in SI units
// (general units are checked for their sign only).
struct FieldBounds {
    std::string_view Field;
    double UsLo, UsHi;
    std::string_view UsUnit;
    double SiLo, SiHi;
    std::string_view SiUnit;
};
constexpr FieldBounds Bounds[] = {
    // Structural moduli, from plastics to steel; a steel modulus in ksi or MPa
    // (29,000; 200,000) or a thousand times too large is an error.
    {"the elastic modulus", 1.0E4, 1.0E9, "psi", 6.9E4, 6.9E9, "kPa"},
    {"the rebar modulus", 1.0E6, 1.0E9, "psi", 6.9E6, 6.9E9, "kPa"},
    {"the casing modulus", 1.0E6, 1.0E9, "psi", 6.9E6, 6.9E9, "kPa"},
    {"the core modulus", 1.0E6, 1.0E9, "psi", 6.9E6, 6.9E9, "kPa"},
    // Concrete from lean to ultra-high strength; f'c in ksi or MPa (4; 28) is an error.
    {"the concrete strength", 500.0, 30000.0, "psi", 3450.0, 210000.0, "kPa"},
    // Steel strengths in ksi or MPa are errors.
    {"the yield strength", 1000.0, 500000.0, "psi", 6900.0, 3.5E6, "kPa"},
    {"the rebar yield strength", 1000.0, 500000.0, "psi", 6900.0, 3.5E6, "kPa"},
    {"the casing yield strength", 1000.0, 500000.0, "psi", 6900.0, 3.5E6, "kPa"},
    {"the core yield strength", 1000.0, 500000.0, "psi", 6900.0, 3.5E6, "kPa"},
    // The largest bar made is about 4 in2 (2,600 mm2).
    {"the bar area", 0.0, 100.0, "in2", 0.0, 64516.0, "mm2"},
    // Section dimensions up to 1,000 in (25,400 mm), areas and inertias of
    // such a section, section lengths up to 10,000 ft or m.
    {"the diameter", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the diameter or width", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the width", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the top width", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the bottom width", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the section depth", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the top section depth", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the bottom section depth", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the flange width", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the flange thickness", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the web thickness", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the wall thickness", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the wall thickness at top", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the wall thickness at bottom", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the area", 0.0, 1.0E6, "in2", 0.0, 6.5E8, "mm2"},
    {"the top area", 0.0, 1.0E6, "in2", 0.0, 6.5E8, "mm2"},
    {"the bottom area", 0.0, 1.0E6, "in2", 0.0, 6.5E8, "mm2"},
    {"the moment of inertia", 0.0, 1.0E11, "in4", 0.0, 4.2E16, "mm4"},
    {"the moment of inertia at top", 0.0, 1.0E11, "in4", 0.0, 4.2E16, "mm4"},
    {"the moment of inertia at bottom", 0.0, 1.0E11, "in4", 0.0, 4.2E16, "mm4"},
    {"the length", 0.0, MaxMagnitude, "ft", 0.0, MaxMagnitude, "m"},
    {"the drilled hole diameter", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    // Plastic moments beyond any section: 1E12 in-lbs (1.13E8 kN-m).
    {"the top plastic moment capacity", 0.0, 1.0E12, "in-lbs", 0.0, 1.13E8, "kN-m"},
    {"the bottom plastic moment capacity", 0.0, 1.0E12, "in-lbs", 0.0, 1.13E8, "kN-m"},
    {"the axial thrust", -1.0E10, 1.0E10, "lbs", -4.4E7, 4.4E7, "kN"},
    // Prestressing strands: ultimate strength as for steel; the effective
    // prestress no more than any steel carries.
    {"the strand ultimate strength", 1000.0, 500000.0, "psi", 6900.0, 3.5E6, "kPa"},
    {"the second strand strength", 0.0, 500000.0, "psi", 0.0, 3.5E6, "kPa"},
    {"the strand diameter", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the strand x position", -1000.0, 1000.0, "in", -25400.0, 25400.0, "mm"},
    {"the strand y position", -1000.0, 1000.0, "in", -25400.0, 25400.0, "mm"},
    // Other section dimensions and the concrete's tensile strength.
    {"the concrete cover", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the bar circle offset", -1000.0, 1000.0, "in", -25400.0, 25400.0, "mm"},
    {"the void diameter", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the corner chamfer", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the casing thickness", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the core diameter", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the core thickness", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the bar diameter", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the maximum coarse aggregate size", 0.0, 1000.0, "in", 0.0, 25400.0, "mm"},
    {"the concrete tensile strength", 0.0, 30000.0, "psi", 0.0, 210000.0, "kPa"},
    // Bars given one by one; points of a user concrete stress-strain curve
    // (strains are ratios, stresses no more than any concrete's strength).
    {"the bar x position", -1000.0, 1000.0, "in", -25400.0, 25400.0, "mm"},
    {"the bar y position", -1000.0, 1000.0, "in", -25400.0, 25400.0, "mm"},
    {"the concrete strain", -1.0, 1.0, "", -1.0, 1.0, ""},
    {"the concrete stress", -30000.0, 30000.0, "psi", -210000.0, 210000.0, "kPa"},
    // User-defined nonlinear EI: moments as plastic moments, EI of a section
    // of 1E11 in4 in a material of 1E9 psi.
    {"the bending moment", 0.0, 1.0E12, "in-lbs", 0.0, 1.13E8, "kN-m"},
    {"the bending stiffness EI", 0.0, 1.0E20, "lb-in2", 0.0, 2.87E14, "kN-m2"},
    // Loads act in either direction: magnitudes no real pile reaches (the
    // force and moment of the thrust and plastic-moment bounds).
    {"the lateral load", -1.0E10, 1.0E10, "lbs", -4.4E7, 4.4E7, "kN"},
    {"the axial load", -1.0E10, 1.0E10, "lbs", -4.4E7, 4.4E7, "kN"},
    {"the moment load", -1.0E12, 1.0E12, "in-lbs", -1.13E8, 1.13E8, "kN-m"},
    {"the head deflection", -MaxMagnitude, MaxMagnitude, "in", -MaxMagnitude, MaxMagnitude, "m"},
    {"the head slope", -1.0, 1.0, "radians", -1.0, 1.0, "radians"},
    {"the rotational stiffness", 0.0, 1.0E20, "in-lbs/rad", 0.0, 1.13E16, "kN-m/rad"},
    {"the distributed load", -1.0E8, 1.0E8, "lb/in", -1.75E7, 1.75E7, "kN/m"},
    {"the distributed load depth", -MaxMagnitude, MaxMagnitude, "ft", -MaxMagnitude, MaxMagnitude, "m"},
    {"the tip shear force", -1.0E10, 1.0E10, "lbs", -4.4E7, 4.4E7, "kN"},
    {"the tip displacement", -MaxMagnitude, MaxMagnitude, "in", -MaxMagnitude, MaxMagnitude, "m"},
    {"the printed p-y curve depth", -MaxMagnitude, MaxMagnitude, "ft", -MaxMagnitude, MaxMagnitude, "m"},
    // User p-y curves: deflections as head deflections, resistances as
    // distributed loads.
    {"the deflection y", -MaxMagnitude, MaxMagnitude, "in", -MaxMagnitude, MaxMagnitude, "m"},
    {"the soil resistance p", -1.0E8, 1.0E8, "lb/in", -1.75E7, 1.75E7, "kN/m"},
};

// Section fields read one to a line: a zero or negative modulus, area,
// inertia, dimension or strength would give a pile of no stiffness or one
// that deflects against its load.
constexpr FieldRange Fields[] = {
    {"the elastic modulus", ValueRange::Positive},   {"the area", ValueRange::Positive},
    {"the moment of inertia", ValueRange::Positive}, {"the diameter", ValueRange::Positive},
    {"the wall thickness", ValueRange::Positive},    {"the yield strength", ValueRange::Positive},
    {"the flange width", ValueRange::Positive},      {"the section depth", ValueRange::Positive},
    {"the flange thickness", ValueRange::Positive},  {"the web thickness", ValueRange::Positive},
    {"the length", ValueRange::Positive},            {"the top area", ValueRange::Positive},
    {"the bottom area", ValueRange::Positive},       {"the width", ValueRange::Positive},
    {"the diameter or width", ValueRange::Positive}, {"the top width", ValueRange::Positive},
    {"the bottom width", ValueRange::Positive},      {"the concrete strength", ValueRange::Positive},
    {"the rebar modulus", ValueRange::Positive},     {"the rebar yield strength", ValueRange::Positive},
    {"the bar area", ValueRange::NonNegative},          {"the casing modulus", ValueRange::Positive},
    {"the core modulus", ValueRange::Positive},      {"the casing yield strength", ValueRange::Positive},
    {"the core yield strength", ValueRange::Positive},
    {"the top plastic moment capacity", ValueRange::Positive},
    {"the bottom plastic moment capacity", ValueRange::Positive},
    {"the top section depth", ValueRange::Positive}, {"the bottom section depth", ValueRange::Positive},
    {"the wall thickness at top", ValueRange::Positive},
    {"the wall thickness at bottom", ValueRange::Positive},
    {"the moment of inertia at top", ValueRange::Positive},
    {"the moment of inertia at bottom", ValueRange::Positive},
    {"the drilled hole diameter", ValueRange::Positive},
    {"the axial thrust", ValueRange::Finite},
    {"the strand ultimate strength", ValueRange::Positive},
    {"the second strand strength", ValueRange::NonNegative},
    {"the strand diameter", ValueRange::NonNegative},
    {"the strand x position", ValueRange::Finite},
    {"the strand y position", ValueRange::Finite},
    {"the concrete cover", ValueRange::NonNegative},
    {"the bar circle offset", ValueRange::Finite},
    {"the void diameter", ValueRange::NonNegative},
    {"the corner chamfer", ValueRange::NonNegative},
    {"the casing thickness", ValueRange::NonNegative},
    {"the core diameter", ValueRange::NonNegative},
    {"the core thickness", ValueRange::NonNegative},
    {"the bar diameter", ValueRange::NonNegative},
    {"the maximum coarse aggregate size", ValueRange::NonNegative},
    {"the concrete tensile strength", ValueRange::NonNegative},
    {"the bar x position", ValueRange::Finite},
    {"the bar y position", ValueRange::Finite},
    {"the concrete strain", ValueRange::Finite},
    {"the concrete stress", ValueRange::Finite},
    {"the bending moment", ValueRange::NonNegative},
    {"the bending stiffness EI", ValueRange::Positive},
    {"the lateral load", ValueRange::Finite},
    {"the axial load", ValueRange::Finite},
    {"the moment load", ValueRange::Finite},
    {"the head deflection", ValueRange::Finite},
    {"the head slope", ValueRange::Finite},
    {"the rotational stiffness", ValueRange::NonNegative},
    {"the distributed load", ValueRange::Finite},
    {"the distributed load depth", ValueRange::Finite},
    {"the tip shear force", ValueRange::Finite},
    {"the tip displacement", ValueRange::Finite},
    {"the printed p-y curve depth", ValueRange::Finite},
    {"the deflection y", ValueRange::Finite},
    {"the soil resistance p", ValueRange::Finite},
};

// The field as it stands after "The value of": `what` without its leading "the ".
std::string FieldName(std::string_view what) {
    return std::string(what.substr(0, 4) == "the " ? what.substr(4) : what);
}

}  // namespace

std::string_view RangeText(ValueRange r) {
    switch (r) {
        case ValueRange::Positive: return "greater than zero";
        case ValueRange::NonNegative: return "zero or greater";
        case ValueRange::Angle0To90: return "from 0 up to (not including) 90 degrees";
        case ValueRange::AngleWithin90: return "between -90 and 90 degrees (not including either)";
        case ValueRange::Percent: return "from 0 to 100";
        case ValueRange::Magnitude: return "between -10,000 and 10,000";
        case ValueRange::Finite: return "a finite number";
    }
    return "";
}

bool InRange(double value, ValueRange r) {
    if (!std::isfinite(value)) return false;
    switch (r) {
        case ValueRange::Positive: return value > 0.0;
        case ValueRange::NonNegative: return value >= 0.0;
        case ValueRange::Angle0To90: return value >= 0.0 && value < 90.0;
        case ValueRange::AngleWithin90: return value > -90.0 && value < 90.0;
        case ValueRange::Percent: return value >= 0.0 && value <= 100.0;
        case ValueRange::Magnitude: return std::fabs(value) <= MaxMagnitude;
        case ValueRange::Finite: return true;
    }
    return false;
}

bool CheckRange(std::string_view what, double value, ValueRange r) {
    if (InRange(value, r)) return true;
    char shown[40];
    std::snprintf(shown, sizeof shown, "%.7G", value);
    const std::string field = FieldName(what);
    const std::string problem = "Problem:  The value of " + field + " on line " +
                                std::to_string(InputLineNumber()) + " is " + shown +
                                ", outside its physical range: " + std::string(RangeText(r)) + ".";
    InputError(ErrValueOutOfRange, problem, "Solution: Correct the value of " + field + " in the input data.");
    return false;
}

bool CheckBetween(std::string_view what, double value, double lo, double hi, std::string_view unit) {
    if (std::isfinite(value) && value >= lo && value <= hi) return true;
    char shown[40], range[120];
    std::snprintf(shown, sizeof shown, "%.7G", value);
    std::snprintf(range, sizeof range, "from %.7G to %.7G%s%.*s", lo, hi, unit.empty() ? "" : " ",
                  static_cast<int>(unit.size()), unit.data());
    const std::string field = FieldName(what);
    const std::string problem = "Problem:  The value of " + field + " on line " +
                                std::to_string(InputLineNumber()) + " is " + shown +
                                ", outside its physical range: " + range + ".";
    InputError(ErrValueOutOfRange, problem,
               "Solution: Correct the value of " + field + " in the input data (check its unit).");
    return false;
}

bool CheckPlausible(std::string_view what, double value, double lo, double hi, std::string_view unit) {
    if (!(value < lo || value > hi)) return true;
    char text[200];
    std::snprintf(text, sizeof text, "is %.7G %.*s, outside the usual range of %.7G to %.7G %.*s.", value,
                  static_cast<int>(unit.size()), unit.data(), lo, hi, static_cast<int>(unit.size()), unit.data());
    const std::string field = FieldName(what);
    // An input warning: kept for the report and counted in the run result
    // at the end of the run, after the load cases have cleared their own.
    const std::string line =
        "The value of " + field + " on line " + std::to_string(InputLineNumber()) + ' ' + text;
    RaiseInputWarning(WarnImplausibleValue, "**** Warning 366 - Implausible Input Value ****",
                      {line, "The analysis goes on with it; check the input data."});
    return true;
}

bool CheckField(std::string_view what, double value) {
    for (const FieldRange& f : Fields) {
        if (what.substr(0, f.Field.size()) != f.Field) continue;
        const std::string_view rest = what.substr(f.Field.size());
        if (!rest.empty() && rest.substr(0, 4) != " of " && rest.substr(0, 4) != " at ") continue;
        if (!CheckRange(what, value, f.Range)) return false;
        for (const FieldBounds& b : Bounds) {
            if (b.Field != f.Field) continue;
            if (IsSI()) {
                if (!CheckBetween(what, value, b.SiLo, b.SiHi, b.SiUnit)) return false;
            } else if (IsUS()) {
                if (!CheckBetween(what, value, b.UsLo, b.UsHi, b.UsUnit)) return false;
            }
        }
        // Structural moduli from soft timber to steel: 1E5 to 1E8 psi (7E5 to 7E8 kPa).
        if (f.Field == "the elastic modulus" || f.Field == "the rebar modulus")
            return IsSI() ? CheckPlausible(what, value, 7.0E5, 7.0E8, "kPa")
                               : CheckPlausible(what, value, 1.0E5, 1.0E8, "psi");
        return true;
    }
    return true;
}

}  // namespace kestro
