// SECTIONS: the pile as a stack of sections from the head downward, each with
// its length, structural type, dimensions and material blocks, and the pile
// property table (two rows per section) that the pile model interpolates.
//
// Section lengths are read in feet (US customary) or meters (SI); section
// dimensions in inches, or in millimeters in SI input, which are stored in
// meters at once. Strengths and moduli stay in the input's stress unit.

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>

#include "model/Errors.h"
#include "input/ValueRanges.h"
#include "input/InputFile.h"
#include "input/InputWarnings.h"
#include "input/ReaderSupport.h"
#include "input/Readers.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SectionTypes.h"

namespace kestro {
namespace {

constexpr double Pi = 3.141592653589793;
constexpr double PiOver64 = 0.04908738521234052;

PileSection& Sec(int s) { return Problem.Sections[static_cast<std::size_t>(s)]; }

// A section length (diameter, width, thickness, cover ...) in the model's
// unit: millimeters become meters in SI input.
double SectionLength(double v) { return IsSI() ? v / 1000.0 : v; }
double SectionArea(double v) { return IsSI() ? v / 1.0E6 : v; }
double SectionInertia(double v) { return IsSI() ? v / 1.0E12 : v; }

std::string Of(int s) { return " of section " + std::to_string(s); }

bool ReadValue(double& v, const std::string& what) { return ReadList(what, {v}) && CheckField(what, v); }
bool ReadInt(int& v, const std::string& what) { return ReadList(what, {v}); }

// Reads a section length value and stores it in the model's unit.
bool ReadLength(double& v, const std::string& what) {
    if (!ReadValue(v, what)) return false;
    v = SectionLength(v);
    return true;
}

// Modulus of elasticity of normal-weight concrete from its compressive
// strength, ACI 318: Ec = 57000 sqrt(f'c) with f'c in psi (the same law in kPa
// for SI input, 57 ksi^0.5 converted as the section analysis does it).
double ConcreteModulus(double fc) {
    if (!(fc > 0.0)) return 0.0;
    if (IsSI()) return 393001.16443634033 * std::sqrt(0.14503774 * fc);
    return 57000.0 * std::sqrt(fc);
}

double CircleInertia(double d) { return PiOver64 * d * d * d * d; }
double CircleArea(double d) { return Pi * d * d / 4.0; }

// Square of width w with its four corners cut back by c along both sides:
// each cut removes a right triangle of legs c whose centroid lies c/3 inside
// the corner.
void ChamferedSquare(double w, double c, double& area, double& inertia) {
    const double tri = c * c / 2.0;
    const double arm = w / 2.0 - c / 3.0;
    area = w * w - 4.0 * tri;
    inertia = w * w * w * w / 12.0 - 4.0 * (c * c * c * c / 36.0 + tri * arm * arm);
}

// A regular octagon across flats w: corners cut back by 0.2929 w, the outline
// the section analysis slices.
constexpr double OctagonCornerCut = 0.2929;

}  // namespace

bool ReadRectangleDimensions(int s, PileSection& S, int&) {
    if (!ReadLength(S.RectangleWidth, "the width" + Of(s))) return false;
    if (!ReadLength(S.RectangleDepth, "the depth" + Of(s))) return false;
    S.PileDiameter = S.RectangleWidth;
    return true;
}

bool ReadShaftDiameter(int s, PileSection& S, int&) { return ReadLength(S.PileDiameter, "the diameter" + Of(s)); }

bool ReadPipeDimensions(int s, PileSection& S, int&) {
    if (!ReadLength(S.PileDiameter, "the diameter" + Of(s))) return false;
    if (!ReadLength(S.WallThickness, "the wall thickness" + Of(s))) return false;
    if (!ReadValue(S.YieldStrength, "the yield strength" + Of(s))) return false;
    if (!ReadValue(S.ElasticModulus, "the elastic modulus" + Of(s))) return false;
    S.MomentOfInertia = section_checks::Circle(S.PileDiameter, S.PileDiameter - 2.0 * S.WallThickness).Inertia;
    return true;
}

// The permanent casing, then for a type with a core the core pipe.
bool ReadCasedShaftDimensions(int s, PileSection& S, int&) {
    if (!ReadLength(S.PileDiameter, "the diameter" + Of(s))) return false;
    if (!ReadLength(S.CasingThickness, "the casing thickness" + Of(s))) return false;
    if (!ReadValue(S.CasingYieldStrength, "the casing yield strength" + Of(s))) return false;
    if (!ReadValue(S.CasingModulus, "the casing modulus" + Of(s))) return false;
    if (!SectionTypeFor(S.SectionType).b_Core) return true;
    if (!ReadLength(S.CoreDiameter, "the core diameter" + Of(s))) return false;
    if (!ReadLength(S.CoreThickness, "the core thickness" + Of(s))) return false;
    if (!ReadValue(S.CoreYieldStrength, "the core yield strength" + Of(s))) return false;
    return ReadValue(S.CoreModulus, "the core modulus" + Of(s));
}

bool ReadPrestressedDimensions(int s, PileSection& S, int&) {
    const SectionType& t = SectionTypeFor(S.SectionType);
    if (!ReadLength(S.PileDiameter, "the diameter or width" + Of(s))) return false;
    if (t.b_Hollow) {
        if (!ReadLength(S.VoidDiameter, "the void diameter" + Of(s))) return false;
    }
    if (t.b_Chamfer) {
        if (!ReadLength(S.CornerChamfer, "the corner chamfer" + Of(s))) return false;
    }
    return true;
}

bool ReadNoDimensions(int, PileSection&, int&) { return true; }

// User-defined EI: the width, then per axial thrust its own moment-EI curve.
bool ReadUserEIDimensions(int s, PileSection& S, int& slots) {
    if (!ReadLength(S.PileDiameter, "the width" + Of(s))) return false;
    if (!CountWithin(slots + 1, 0, MaxEISections, "sections with user-defined nonlinear EI")) return false;
    S.UserEISlot = ++slots;
    UserEICurves& C = UserEIToWrite(S.UserEISlot);
    if (!ReadInt(S.NumUserThrusts, "the number of axial thrusts" + Of(s))) return false;
    if (!CountWithin(S.NumUserThrusts, 1, MaxAxialThrusts, "axial thrusts with user-defined EI" + Of(s)))
        return false;
    for (int j = 1; j <= S.NumUserThrusts; ++j) {
        const std::size_t uj = static_cast<std::size_t>(j);
        const std::string th = " of axial thrust " + std::to_string(j) + Of(s);
        if (!ReadValue(S.UserThrust[uj], "the axial thrust" + th)) return false;
        int& np = S.NumUserEIPoints[uj];
        if (!ReadInt(np, "the number of moment-EI points" + th)) return false;
        if (!CountWithin(np, 1, MaxUserEIPoints, "moment-EI points" + th)) return false;
        for (int p = 1; p <= np; ++p) {
            const std::size_t up = static_cast<std::size_t>(p);
            if (!ReadValue(C.Moment[uj][up], "the bending moment of point " + std::to_string(p) + th)) return false;
            if (!ReadValue(C.EI[uj][up], "the bending stiffness EI of point " + std::to_string(p) + th))
                return false;
        }
    }
    return true;
}

namespace {

// The values of a pile property table row after its depth.
void SetValues(PropertyRow& R, double b, double d2, double inertia, double modulus, double area) {
    R.Width = b;
    R.Second = d2;
    R.Inertia = inertia;
    R.Modulus = modulus;
    R.Area = area;
}

// Gross uncracked properties of a reinforced-concrete or prestressed section
// as one concrete section (bars ignored, as for the gross moment of inertia
// Ig of ACI 318); casing and core steel are transformed to concrete by the
// modular ratio so that the cased shaft is not taken as plain concrete.
void ConcreteSectionProperties(const PileSection& S, double& b, double& d2, double& inertia, double& modulus,
                               double& area) {
    const double d = S.PileDiameter;
    const double ec = ConcreteModulus(S.ConcreteStrength);
    modulus = ec;
    b = d;
    d2 = d;
    const SectionType& t = SectionTypeFor(S.SectionType);
    if (!t.b_Casing) {
        switch (t.Outline) {
            case SectionOutline::Rectangle:
                b = S.RectangleWidth;
                d2 = S.RectangleDepth;
                area = b * d2;
                inertia = b * d2 * d2 * d2 / 12.0;
                return;
            case SectionOutline::Circle:
                area = CircleArea(d);
                inertia = CircleInertia(d);
                if (t.b_Hollow) {
                    area -= CircleArea(S.VoidDiameter);
                    inertia -= CircleInertia(S.VoidDiameter);
                }
                return;
            case SectionOutline::Square:
            case SectionOutline::Octagon:
                ChamferedSquare(d, t.Outline == SectionOutline::Octagon ? OctagonCornerCut * d : S.CornerChamfer,
                                area, inertia);
                if (t.b_Hollow) {
                    area -= CircleArea(S.VoidDiameter);
                    inertia -= CircleInertia(S.VoidDiameter);
                }
                return;
            default:
                break;
        }
    }
    // Cased shafts: concrete inside the casing, casing ring, and for a type
    // with a core the concentric core pipe, filled or void.
    const double dc = d - 2.0 * S.CasingThickness;
    double concreteArea = CircleArea(dc);
    double concreteInertia = CircleInertia(dc);
    double steelArea = CircleArea(d) - CircleArea(dc);
    double steelInertia = CircleInertia(d) - CircleInertia(dc);
    double steelModulus = S.CasingModulus;
    double coreArea = 0.0, coreInertia = 0.0, coreModulus = 0.0;
    if (t.b_Core) {
        const double co = S.CoreDiameter;
        const double ci = co - 2.0 * S.CoreThickness;
        concreteArea -= CircleArea(co);
        concreteInertia -= CircleInertia(co);
        if (S.CoreFilled) {
            concreteArea += CircleArea(ci);
            concreteInertia += CircleInertia(ci);
        }
        coreArea = CircleArea(co) - CircleArea(ci);
        coreInertia = CircleInertia(co) - CircleInertia(ci);
        coreModulus = S.CoreModulus;
    }
    if (ec > 0.0) {
        area = concreteArea + steelArea * steelModulus / ec + coreArea * coreModulus / ec;
        inertia = concreteInertia + steelInertia * steelModulus / ec + coreInertia * coreModulus / ec;
    } else {
        // No concrete strength given: the steel alone, in the casing modulus.
        modulus = steelModulus;
        area = steelArea;
        inertia = steelInertia;
        if (steelModulus > 0.0) {
            area += coreArea * coreModulus / steelModulus;
            inertia += coreInertia * coreModulus / steelModulus;
        }
    }
}

bool ReadSection(int s, int& eiSlots) {
    static const PileSection Empty{};
    PileSection& S = Sec(s);
    S = Empty;

    int number = 0;
    if (!ReadInt(number, "the section number of section " + std::to_string(s))) return false;
    S.InputLine = InputLineNumber();
    if (number != s) {
        ReportErrorLines(95, {"SECTION DATA OUT-OF-ORDER", "", "",
                              "Expecting section number " + std::to_string(s) + ", but section number " +
                                  std::to_string(number) + " was found"});
        return false;
    }
    int type = 0;
    if (!ReadInt(type, "the section type" + Of(s))) return false;
    S.CoreFilled = true;
    if (type == -3) {
        type = SecCasedShaftWithCore;
        S.CoreFilled = false;
    }
    const SectionType* t = SectionTypeOf(type);
    if (t == nullptr) {
        UnknownCode("section type" + Of(s), type, "0 to " + std::to_string(NumSectionTypes() - 1) + " and -3");
        return false;
    }
    S.SectionType = type;
    if (!ReadValue(S.SectionLength, "the length" + Of(s))) return false;
    if (!t->ReadDimensions(s, S, eiSlots)) return false;

    if (t->HasBars()) {
        ReadConcrete(s);
        if (Failed()) return false;
        ReadRebar(s);
        if (Failed()) return false;
    } else if (t->IsPrestressed()) {
        ReadConcrete(s);
        if (Failed()) return false;
        ReadStrands(s);
        if (Failed()) return false;
    }
    return true;
}

std::string Number(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

// An elastic circular section (shapes 1 and 5) or pipe (shape 2) whose given
// area or moment of inertia lies more than 5 % from the value of its width
// and wall thickness is most often a typing error (a wrong digit, the inertia
// of another size); the run goes on with the value given, and a warning names
// the line and both values. `lines` holds the input lines of the top area,
// bottom area, top inertia and bottom inertia (1..4). Values are compared as
// entered, before SI millimeters become meters.
void CheckCircularProperties(int s, const int* lines) {
    const PileSection& S = Sec(s);
    const double toInput = IsSI() ? 1000.0 : 1.0;  // widths are held in meters in SI input
    const bool pipe = S.ElasticShape == 2;
    const char* areaUnit = IsSI() ? " mm2" : (IsGeneral() ? " L2" : " sq. in");
    const char* inertiaUnit = IsSI() ? " mm4" : (IsGeneral() ? " L4" : " in4");
    for (int end = 0; end < 2; ++end) {
        const double d = (end == 0 ? S.TopWidth : S.BottomWidth) * toInput;
        const double t = pipe ? (end == 0 ? S.TopWallThickness : S.BottomWallThickness) * toInput : 0.0;
        const double inner = pipe ? d - 2.0 * t : 0.0;
        section_checks::CircleProperties expected = section_checks::Circle(d, inner);
        const double given[2] = {end == 0 ? S.TopArea : S.BottomArea, end == 0 ? S.TopInertia : S.BottomInertia};
        const double computed[2] = {expected.Area, expected.Inertia};
        for (int q = 0; q < 2; ++q) {
            if (!section_checks::FarFrom(given[q], computed[q])) continue;
            const int line = lines[1 + end + 2 * q];
            const std::string at = std::to_string(line);
            const std::string what = std::string(q == 0 ? "area" : "moment of inertia") + " at the " +
                                     (end == 0 ? "top" : "bottom") + Of(s);
            const std::string shape = pipe ? "a pipe of diameter " + Number(d) + " and wall " + Number(t)
                                           : "a circle of diameter " + Number(d);
            const char* unit = q == 0 ? areaUnit : inertiaUnit;
            RaiseInputWarning(WarnSectionProperties, "**** Warning - Possible Input Data Error, line " + at + " ****",
                              {"The " + what + " is " + Number(given[q]) + unit + " (line " + at + "),",
                               "more than 5 % from " + Number(computed[q]) + unit + ", the value of " + shape + ".",
                               "The analysis uses the value given; correct it unless it is meant (a cracked or",
                               "transformed section, for example)."});
        }
    }
}

// Elastic values of types 11 and 12, in the order of the shape's table; the
// plastic moment capacities (type 12) follow the elastic modulus.
void ReadElasticValues(int s, bool withCapacity) {
    PileSection& S = Sec(s);
    if (!ReadInt(S.ElasticShape, "the cross-sectional shape code" + Of(s))) return;
    const int shape = S.ElasticShape;
    if (shape < 0 || shape > 5) {
        UnknownCode("cross-sectional shape code" + Of(s), shape, "0 to 5");
        return;
    }
    if (!ReadValue(S.ElasticModulus, "the elastic modulus" + Of(s))) return;
    const bool hPile = shape == 3 || shape == 4;
    if (withCapacity) {
        if (!ReadValue(S.TopPlasticMoment, "the top plastic moment capacity" + Of(s))) return;
        if (hPile) {
            S.BottomPlasticMoment = S.TopPlasticMoment;  // a rolled H-pile is prismatic
        } else if (!ReadValue(S.BottomPlasticMoment, "the bottom plastic moment capacity" + Of(s))) {
            return;
        }
    }
    if (hPile) {
        if (!ReadLength(S.FlangeWidth, "the flange width" + Of(s))) return;
        if (!ReadLength(S.SectionDepth, "the section depth" + Of(s))) return;
        if (!ReadLength(S.FlangeThickness, "the flange thickness" + Of(s))) return;
        if (!ReadLength(S.WebThickness, "the web thickness" + Of(s))) return;
        if (!ReadValue(S.TopArea, "the area" + Of(s))) return;
        if (!ReadValue(S.TopInertia, "the moment of inertia" + Of(s))) return;
        S.TopArea = S.BottomArea = SectionArea(S.TopArea);
        S.TopInertia = S.BottomInertia = SectionInertia(S.TopInertia);
        // Strong axis: the flanges face the soil; weak axis: the web does.
        S.PileDiameter = shape == 3 ? S.FlangeWidth : S.SectionDepth;
        return;
    }
    if (!ReadLength(S.TopWidth, "the top width" + Of(s))) return;
    if (!ReadLength(S.BottomWidth, "the bottom width" + Of(s))) return;
    if (shape == 0) {
        if (!ReadLength(S.TopDepth, "the top section depth" + Of(s))) return;
        if (!ReadLength(S.BottomDepth, "the bottom section depth" + Of(s))) return;
    } else if (shape == 2) {
        if (!ReadLength(S.TopWallThickness, "the wall thickness at top" + Of(s))) return;
        if (!ReadLength(S.BottomWallThickness, "the wall thickness at bottom" + Of(s))) return;
    }
    int lines[5] = {};  // input lines of the top and bottom area and inertia
    if (!ReadValue(S.TopArea, "the top area" + Of(s))) return;
    lines[1] = InputLineNumber();
    if (!ReadValue(S.BottomArea, "the bottom area" + Of(s))) return;
    lines[2] = InputLineNumber();
    if (!ReadValue(S.TopInertia, "the moment of inertia at top" + Of(s))) return;
    lines[3] = InputLineNumber();
    if (!ReadValue(S.BottomInertia, "the moment of inertia at bottom" + Of(s))) return;
    lines[4] = InputLineNumber();
    if (shape == 1 || shape == 2 || shape == 5) CheckCircularProperties(s, lines);
    S.TopArea = SectionArea(S.TopArea);
    S.BottomArea = SectionArea(S.BottomArea);
    S.TopInertia = SectionInertia(S.TopInertia);
    S.BottomInertia = SectionInertia(S.BottomInertia);
    S.PileDiameter = S.TopWidth;
    if (shape == 5) {
        if (!ReadLength(S.DrilledHoleDiameter, "the drilled hole diameter" + Of(s))) return;
        S.PileDiameter = S.DrilledHoleDiameter;
    }
}

}  // namespace

bool ReadElasticDimensions(int s, PileSection&, int&) {
    ReadElasticValues(s, false);
    return !Failed();
}

bool ReadElasticDimensionsWithCapacity(int s, PileSection&, int&) {
    ReadElasticValues(s, true);
    return !Failed();
}

void ReadConcrete(int s) {
    PileSection& S = Sec(s);
    if (!ReadValue(S.ConcreteStrength, "the concrete strength" + Of(s))) return;
    if (!ReadLength(S.AggregateSize, "the maximum coarse aggregate size" + Of(s))) return;

    std::string line;
    if (!ReadRecord(line, "the concrete tensile strength option line" + Of(s))) return;
    if (line == "Use default concrete tensile strength") {
        S.UseDefaultTensileStrength = true;
    } else if (line == "Override concrete tensile strength") {
        S.UseDefaultTensileStrength = false;
        if (!ReadValue(S.TensileStrength, "the concrete tensile strength" + Of(s))) return;
    } else {
        SectionOptionError("INPUT ERROR - Unrecognized command for concrete tensile strength option", line,
                           {"Use default concrete tensile strength", "Override concrete tensile strength"});
        return;
    }

    if (!ReadRecord(line, "the concrete stress-strain option line" + Of(s))) return;
    if (line == "Input stress-strain curve for concrete") {
        S.UserStressStrainCurve = true;
        int n = 0;
        if (!ReadInt(n, "the number of concrete stress-strain points" + Of(s))) return;
        if (!CountWithin(n, 1, MaxConcreteCurvePoints, "concrete stress-strain points" + Of(s))) return;
        S.NumConcreteCurvePoints = n;
        for (int k = 1; k <= n; ++k) {
            const std::size_t uk = static_cast<std::size_t>(k);
            int number = 0;
            if (!ReadList("concrete stress-strain point " + std::to_string(k) + Of(s),
                          {number, S.ConcreteStrain[uk], S.ConcreteStress[uk]}))
                return;
            if (number != k) {
                ReportErrorLines(95, {"", "INPUT ERROR - Sequence error encountered when reading concrete stress-strain curve",
                                      "", "",
                                      "Expecting line no. " + std::to_string(k) + " but line no. " +
                                          std::to_string(number) + " was read",
                                      "", ""});
                return;
            }
            const std::string point = " of concrete stress-strain point " + std::to_string(k) + Of(s);
            if (!CheckField("the concrete strain" + point, S.ConcreteStrain[uk]) ||
                !CheckField("the concrete stress" + point, S.ConcreteStress[uk]))
                return;
        }
    } else if (line == "Use internal stress-strain curve for concrete") {
        S.UserStressStrainCurve = false;
        S.NumConcreteCurvePoints = 0;
    } else {
        SectionOptionError("INPUT ERROR - Unrecognized input for concrete stress-strain option", line,
                           {"Input stress-strain curve for concrete", "Use internal stress-strain curve for concrete"});
    }
}

namespace {

constexpr const char* RebarCircleLine = "Rebar in circle";
constexpr const char* RebarNoncircularLine = "Rebar in noncircular pattern";

// The pattern line and its data. `used` is false when the section takes no
// bars or the bars of the section above, so that the placement checks only
// judge an arrangement that will be built.
void ReadRebarPattern(int s, bool used) {
    PileSection& S = Sec(s);
    std::string line;
    if (!ReadRecord(line, "the rebar pattern option line" + Of(s))) return;
    if (line == RebarCircleLine) {
        S.RebarPattern = RebarCircle;
        if (!ReadValue(S.RebarYieldStrength, "the rebar yield strength" + Of(s))) return;
        if (!ReadValue(S.RebarModulus, "the rebar modulus" + Of(s))) return;
        if (!ReadInt(S.BarCount1, "the number of bar positions" + Of(s))) return;
        if (!ReadInt(S.BarCount2, "the number of bars per position" + Of(s))) return;
        if (!ReadLength(S.CircleBarDiameter, "the bar diameter" + Of(s))) return;
        if (!ReadValue(S.CircleBarArea, "the bar area" + Of(s))) return;
        S.CircleBarArea = SectionArea(S.CircleBarArea);
        if (!ReadLength(S.Cover, "the concrete cover" + Of(s))) return;
        if (!ReadLength(S.RebarFurtherLength, "the bar circle offset" + Of(s))) return;
        if (!used) return;
        // The bars are placed later on a circle of radius R = (D - db)/2 - cover,
        // with 1 to 3 bars at each of n positions; values that cannot give
        // such a circle are refused here, with a message, before placement.
        if (!CountWithin(S.BarCount1, 1, MaxBars, "bar positions on the rebar circle" + Of(s))) return;
        if (S.BarCount2 < 1 || S.BarCount2 > 3) {
            InputError(ErrRebarCircleInvalid,
                       "Problem:  The number of bars per position on the rebar circle" + Of(s) + " is " +
                           std::to_string(S.BarCount2) + "; it must be 1, 2 or 3.",
                       "Solution: Give 1, 2 or 3 bars per position.");
            return;
        }
        if (!CountWithin(S.BarCount1 * S.BarCount2, 1, MaxBars, "bars on the rebar circle" + Of(s))) return;
        const double radius = (S.PileDiameter - S.CircleBarDiameter) / 2.0 - S.Cover;
        if (!(S.CircleBarDiameter > 0.0) || !(S.Cover > 0.0) || !(radius > 0.0)) {
            InputError(ErrRebarCircleInvalid,
                       "Problem:  The bar diameter and cover of the rebar circle" + Of(s) +
                           " must be positive and leave a bar circle inside the section.",
                       "Solution: Check the section diameter, the bar diameter and the cover.");
        }
        return;
    }
    if (line == RebarNoncircularLine) {
        S.RebarPattern = RebarNoncircular;
        if (!ReadValue(S.RebarYieldStrength, "the rebar yield strength" + Of(s))) return;
        if (!ReadValue(S.RebarModulus, "the rebar modulus" + Of(s))) return;
        int n = 0;
        if (!ReadInt(n, "the number of bars" + Of(s))) return;
        if (!CountWithin(n, 0, MaxBars, "reinforcing bars" + Of(s))) return;
        S.NumBars = n;
        for (int k = 1; k <= n; ++k) {
            const std::size_t uk = static_cast<std::size_t>(k);
            int number = 0;
            if (!ReadList("bar " + std::to_string(k) + Of(s),
                          {number, S.BarSizeCode[uk], S.BarDiameter[uk], S.BarArea[uk], S.BarX[uk], S.BarY[uk]}))
                return;
            const std::string bar = " of bar " + std::to_string(k) + Of(s);
            if (!CheckField("the bar diameter" + bar, S.BarDiameter[uk]) ||
                !CheckField("the bar area" + bar, S.BarArea[uk]) ||
                !CheckField("the bar x position" + bar, S.BarX[uk]) ||
                !CheckField("the bar y position" + bar, S.BarY[uk]))
                return;
            S.BarDiameter[uk] = SectionLength(S.BarDiameter[uk]);
            S.BarArea[uk] = SectionArea(S.BarArea[uk]);
            S.BarX[uk] = SectionLength(S.BarX[uk]);
            S.BarY[uk] = SectionLength(S.BarY[uk]);
        }
        return;
    }
    SectionOptionError("INPUT ERROR - Unrecognized command for rebar pattern option", line,
                       {RebarCircleLine, RebarNoncircularLine});
}

// After "No rebar" or "Same As Section Above" a front end may still write the
// section's own pattern block; it is read (and not used) when present.
void SkipUnusedRebarPattern(int s) {
    std::string next;
    if (PeekRecord(next) && (next == RebarCircleLine || next == RebarNoncircularLine)) ReadRebarPattern(s, false);
}

void ClearRebar(PileSection& S) {
    S.RebarPattern = RebarPatternNone;
    S.BarCount1 = S.BarCount2 = 0;
    S.NumBars = 0;
}

}  // namespace

void ReadRebar(int s) {
    PileSection& S = Sec(s);
    std::string line;
    if (!ReadRecord(line, "the rebar continuation option line" + Of(s))) return;
    if (line == "No rebar") {
        S.RebarContinuation = RebarNone;
        SkipUnusedRebarPattern(s);
        ClearRebar(S);
        return;
    }
    if (line == "Rebar Arrangement Same As Section Above") {
        if (s == 1) {
            InputError(ErrRebarNoSectionAbove,
                       "Problem:  Section 1 asks for the rebar arrangement of the section above, but it is the "
                       "top section.",
                       "Solution: Give the reinforcement of section 1 in full (Rebar Arrangement Not Same As "
                       "Section Above) or No rebar.");
            return;
        }
        SkipUnusedRebarPattern(s);
        if (Failed()) return;
        const PileSection& A = Sec(s - 1);
        S.RebarPattern = A.RebarPattern;
        S.RebarYieldStrength = A.RebarYieldStrength;
        S.RebarModulus = A.RebarModulus;
        S.BarCount1 = A.BarCount1;
        S.BarCount2 = A.BarCount2;
        S.CircleBarDiameter = A.CircleBarDiameter;
        S.CircleBarArea = A.CircleBarArea;
        S.Cover = A.Cover;
        S.RebarFurtherLength = A.RebarFurtherLength;
        S.NumBars = A.NumBars;
        S.BarSizeCode = A.BarSizeCode;
        S.BarDiameter = A.BarDiameter;
        S.BarArea = A.BarArea;
        S.BarX = A.BarX;
        S.BarY = A.BarY;
        S.RebarContinuation = RebarSameAsAbove;
        return;
    }
    if (line != "Rebar Arrangement Not Same As Section Above") {
        SectionOptionError("INPUT ERROR - Unrecognized command for rebar continuation from section above option", line,
                           {"No rebar", "Rebar Arrangement Same As Section Above",
                            "Rebar Arrangement Not Same As Section Above"});
        return;
    }
    S.RebarContinuation = RebarOwn;
    ReadRebarPattern(s, true);
}

void ReadStrands(int s) {
    PileSection& S = Sec(s);
    std::string line;
    if (!ReadRecord(line, "the strand positioning option line" + Of(s))) return;
    if (line == "Autoposition strands") {
        S.StrandPositioning = StrandsAuto;
        if (!ReadInt(S.StrandTypeCode, "the strand type code" + Of(s))) return;
        if (!ReadInt(S.StrandCode2, "the second strand code" + Of(s))) return;
        if (!ReadInt(S.NumStrands, "the number of strands" + Of(s))) return;
        if (!CountWithin(S.NumStrands, 0, MaxStrands, "prestressing strands" + Of(s))) return;
        if (!ReadValue(S.StrandUltimateStrength, "the strand ultimate strength" + Of(s))) return;
        if (!ReadValue(S.StrandStrength2, "the second strand strength" + Of(s))) return;
        if (!ReadLength(S.StrandDiameter, "the strand diameter" + Of(s))) return;
        ReadInt(S.StrandPattern, "the strand placement pattern code" + Of(s));
        return;
    }
    if (line != "Manually-positioned strands") {
        SectionOptionError("INPUT ERROR - Unrecognized command for strand positioning option", line,
                           {"Autoposition strands", "Manually-positioned strands"});
        return;
    }
    S.StrandPositioning = StrandsManual;
    if (!ReadInt(S.StrandTypeCode, "the strand type code" + Of(s))) return;
    if (!ReadInt(S.NumStrands, "the number of strands" + Of(s))) return;
    if (!CountWithin(S.NumStrands, 0, MaxStrands, "prestressing strands" + Of(s))) return;
    if (!ReadValue(S.StrandUltimateStrength, "the strand ultimate strength" + Of(s))) return;
    if (!ReadValue(S.StrandStrength2, "the second strand strength" + Of(s))) return;
    for (int k = 1; k <= S.NumStrands; ++k) {
        const std::size_t uk = static_cast<std::size_t>(k);
        int number = 0;
        if (!ReadList("strand " + std::to_string(k) + Of(s),
                      {number, S.StrandCodeA[uk], S.StrandCodeB[uk], S.StrandX[uk], S.StrandY[uk]}))
            return;
        if (number != k) {
            ReportErrorLines(95, {"INPUT ERROR - Input out-of-order for strand no. " + std::to_string(k)});
            return;
        }
        if (S.StrandCodeA[uk] < 0 || S.StrandCodeB[uk] < 0) {
            ReportErrorLines(95, {"INPUT ERROR - Unrecognized input for strand no. " + std::to_string(k), ""});
            return;
        }
        if (!CheckField("the strand x position of strand " + std::to_string(k) + Of(s), S.StrandX[uk]) ||
            !CheckField("the strand y position of strand " + std::to_string(k) + Of(s), S.StrandY[uk]))
            return;
        S.StrandX[uk] = SectionLength(S.StrandX[uk]);
        S.StrandY[uk] = SectionLength(S.StrandY[uk]);
    }
}

namespace section_checks {

CircleProperties Circle(double d, double inner) {
    // A = pi/4 (D^2 - Di^2), I = pi/64 (D^4 - Di^4)
    return {Pi / 4.0 * (d * d - inner * inner), PiOver64 * (d * d * d * d - inner * inner * inner * inner)};
}

bool FarFrom(double given, double expected) { return std::fabs(given - expected) > 0.05 * std::fabs(expected); }

}  // namespace section_checks

void PipeGrossProperties(const PileSection& S, PropertyRow& top, PropertyRow& bottom) {
    const double d = S.PileDiameter;
    const double di = d - 2.0 * S.WallThickness;
    SetValues(top, d, d, S.MomentOfInertia, S.ElasticModulus, CircleArea(d) - CircleArea(di));
    bottom = top;
}

// The rows of an elastic section: its own values at the top and the bottom;
// b faces the soil and d2 is the depth in the direction of the load.
void ElasticGrossProperties(const PileSection& S, PropertyRow& top, PropertyRow& bottom) {
    const double e = S.ElasticModulus;
    switch (S.ElasticShape) {
        case 0:
            SetValues(top, S.TopWidth, S.TopDepth, S.TopInertia, e, S.TopArea);
            SetValues(bottom, S.BottomWidth, S.BottomDepth, S.BottomInertia, e, S.BottomArea);
            return;
        case 3:
            SetValues(top, S.FlangeWidth, S.SectionDepth, S.TopInertia, e, S.TopArea);
            SetValues(bottom, S.FlangeWidth, S.SectionDepth, S.BottomInertia, e, S.BottomArea);
            return;
        case 4:
            SetValues(top, S.SectionDepth, S.FlangeWidth, S.TopInertia, e, S.TopArea);
            SetValues(bottom, S.SectionDepth, S.FlangeWidth, S.BottomInertia, e, S.BottomArea);
            return;
        case 5:
            SetValues(top, S.DrilledHoleDiameter, S.TopWidth, S.TopInertia, e, S.TopArea);
            SetValues(bottom, S.DrilledHoleDiameter, S.BottomWidth, S.BottomInertia, e, S.BottomArea);
            return;
        default:
            SetValues(top, S.TopWidth, S.TopWidth, S.TopInertia, e, S.TopArea);
            SetValues(bottom, S.BottomWidth, S.BottomWidth, S.BottomInertia, e, S.BottomArea);
            return;
    }
}

// The initial (first) EI of the first user curve over the gross circle of
// the width: E x I then equals that EI. No area is given, so no axial stress
// is reported for the section.
void UserEIGrossProperties(const PileSection& S, PropertyRow& top, PropertyRow& bottom) {
    const double b = S.PileDiameter;
    const double inertia = CircleInertia(b);
    const double ei = (S.UserEISlot >= 1 && S.NumUserThrusts >= 1 && S.NumUserEIPoints[1] >= 1)
                          ? UserEI[static_cast<std::size_t>(S.UserEISlot)].EI[1][1]
                          : 0.0;
    SetValues(top, b, b, inertia, inertia > 0.0 ? ei / inertia : 0.0, 0.0);
    bottom = top;
}

void ConcreteGrossProperties(const PileSection& S, PropertyRow& top, PropertyRow& bottom) {
    double b = 0.0, d2 = 0.0, inertia = 0.0, modulus = 0.0, area = 0.0;
    ConcreteSectionProperties(S, b, d2, inertia, modulus, area);
    SetValues(top, b, d2, inertia, modulus, area);
    bottom = top;
}

void NoGrossProperties(const PileSection&, PropertyRow& top, PropertyRow& bottom) {
    top = PropertyRow{};
    bottom = PropertyRow{};
}

void SetSectionPropertyRows(int s) {
    const PileSection& S = Sec(s);
    PropertyRow top, bottom;
    const SectionType& t = SectionTypeFor(S.SectionType);
    if (t.GrossProperties != nullptr) t.GrossProperties(S, top, bottom);
    top.Depth = S.SectionTop;
    bottom.Depth = S.SectionBottom;
    Problem.PropertyTable[static_cast<std::size_t>(2 * s - 1)] = top;
    Problem.PropertyTable[static_cast<std::size_t>(2 * s)] = bottom;
}

void ReadSections() {
    int n = 0;
    if (!ReadList("the number of pile sections", {n})) return;
    if (!CountWithin(n, 0, MaxSections, "pile sections")) return;
    Problem.NumSections = 0;
    Problem.NumPropertyRows = 0;
    Problem.PileLength = 0.0;
    double depth = 0.0;
    int eiSlots = 0;
    for (int s = 1; s <= n; ++s) {
        if (!ReadSection(s, eiSlots)) return;
        PileSection& S = Sec(s);
        S.SectionTop = depth;
        depth += S.SectionLength;
        S.SectionBottom = depth;
        Problem.NumSections = s;
        Problem.PileLength = depth;
        SetSectionPropertyRows(s);
        Problem.NumPropertyRows = 2 * s;
    }
}

}  // namespace kestro
