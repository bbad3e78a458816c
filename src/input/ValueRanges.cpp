#include "input/ValueRanges.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "driver/Channels.h"
#include "driver/Warnings.h"
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
    }
    return "";
}

bool InRange(double value, ValueRange r) {
    if (!std::isfinite(value)) return false;
    switch (r) {
        case ValueRange::Positive: return value > 0.0;
        case ValueRange::NonNegative: return value >= 0.0;
        case ValueRange::Angle0To90: return value >= 0.0 && value < 90.0;
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
        // Structural moduli from soft timber to steel: 1E5 to 1E8 psi (7E5 to 7E8 kPa).
        if (f.Field == "the elastic modulus" || f.Field == "the rebar modulus")
            return IsSI() ? CheckPlausible(what, value, 7.0E5, 7.0E8, "kPa")
                               : CheckPlausible(what, value, 1.0E5, 1.0E8, "psi");
        return true;
    }
    return true;
}

}  // namespace kestro
