// The LRFD pages of the input echo. The numbers (factored loads, batter
// transformation, thrust list and indexes) are computed first into the model
// by ComputeLrfdFactoredLoads; the pages only restate them.

#include "report/LrfdEcho.h"

#include <cmath>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "input/KeywordReader.h"
#include "model/FactoredLoads.h"
#include "model/ProblemData.h"
#include "report/Format.h"

namespace kestro {

namespace {

constexpr double RadiansToDegrees = 180.0 / 3.141592653589793;

std::size_t At(int i) { return static_cast<std::size_t>(i); }
int Clamp(int n, int max) { return n < 0 ? 0 : (n > max ? max : n); }

std::string Rule(int n) { return std::string(At(n), '-'); }

// Type tags of the group table and of the totals table, by load type 1..13.
constexpr const char* GroupTags[NumLrfdLoadTypes + 1] = {
    "Unknown Type    ", "Dead Load   (DL)", "Live Load   (LL)", "Earthquake  (EQ)", "Impact Load (IM)",
    "Wind Load    (W)", "Water Load  (HW)", "Ice Load   (Ice)", "Horiz. Soil (Hs)", "Live Roof   (Lr)",
    "Rain Load   (Rn)", "Snow Load   (Sn)", "Temperature (Tm)", "Special     (Sp)"};
constexpr const char* TotalTags[NumLrfdLoadTypes + 1] = {
    "", "Dead Loads   (DL)", "Live Loads   (LL)", "Earthquake   (EQ)", "Impact Load  (IM)", "Wind Loads    (W)",
    "Water Loads  (HW)", "Ice Loads   (Ice)", "Horiz. Soil  (Hs)", "Live Roof    (Lr)", "Rain Loads   (Rn)",
    "Snow Loads   (Sn)", "Temperature  (Tm)", "Special      (Sp)"};
constexpr const char* Abbreviations[NumLrfdLoadTypes + 1] = {"",   "DL", "LL", "EQ", "IM", "W",  "HW",
                                                             "Ice", "Hs", "Lr", "Rn", "Sn", "Tm", "Sp"};

std::string_view ForceText() { return IsUS() ? " lbs" : IsSI() ? " kN" : " F"; }
std::string_view MomentText() { return IsUS() ? " in-lbs" : IsSI() ? " kN-m" : " F-L"; }

void GroupsPage(std::ostream& out) {
    const ProblemData& P = Problem;
    const int ng = Clamp(P.NumLrfdGroups, MaxLrfdGroups);
    out << "\n\n\n" << Rule(79) << '\n'
        << "                  Unfactored Loading Groups for LRFD Analysis\n"
        << Rule(79) << '\n'
        << "Number of Loading Groups = " << ng << "\n\n";
    out << "      Load                    Load                Horiz. Force               Moment                "
           "Axial Force           Number of \n";
    if (IsUS())
        out << "      Group                   Type                     lbs                  inch-lbs                 "
               "  lbs             Distrib. Lds. \n";
    else if (IsSI())
        out << "      Group                   Type                     kN                     kN-m                   "
               "  kN              Distrib. Lds. \n";
    else
        out << "      Group                   Type                     F                      F-L                    "
               "  F               Distrib. Lds. \n";
    out << "-----------------      ------------------      ------------------      ------------------      "
           "------------------      -------------\n";
    for (int j = 1; j <= ng; ++j) {
        const LrfdLoadGroup& G = P.LrfdGroups[At(j)];
        const int t = (G.LrfdLoadType >= 1 && G.LrfdLoadType <= NumLrfdLoadTypes) ? G.LrfdLoadType : 0;
        out << FormatIntegerText(j, 9) << std::string(15, ' ') << GroupTags[t] << FixedText(G.GroupHorizontalForce, 24, 2)
            << FixedText(G.GroupMoment, 24, 2) << FixedText(G.GroupAxialForce, 24, 2)
            << FormatIntegerText(G.NumDistributedPoints, 14) << '\n';
    }

    for (int j = 1; j <= ng; ++j) {
        const LrfdLoadGroup& G = P.LrfdGroups[At(j)];
        const int np = Clamp(G.NumDistributedPoints, MaxLrfdDistributedPoints);
        if (np < 1) continue;
        out << "\nNumber of Distributed Loading Points Input for Load Group " << j << " = " << np << "\n\n"
            << "Point           Depth          Distributed Load\n";
        if (IsUS())
            out << "                  ft               lb/inch   \n";
        else if (IsSI())
            out << "                  m                kN/m      \n";
        else
            out << "                  L                F/L       \n";
        out << "-----     ----------------     ----------------\n";
        for (int k = 1; k <= np; ++k)
            out << FormatIntegerText(k, 5) << FixedText(G.DistDepth[At(k)], 21, 3) << FixedText(G.DistLoad[At(k)], 21, 3)
                << '\n';
    }
}

void TotalsPage(std::ostream& out) {
    const ProblemData& P = Problem;
    out << "\n\nTotals of Unfactored Loads by Load Type for LRFD Analyses:\n"
        << Rule(58) << "\n\n"
        << "Number of Defined Unfactored Load Cases = " << Clamp(P.NumLrfdGroups, MaxLrfdGroups) << "\n\n"
        << "The following table presents the sum of unfactored pile-head loads for each load type.\n\n"
        << "      Load                Horiz. Force               Moment                Axial Force           "
           "Number of \n";
    if (IsUS())
        out << "      Type                     lbs                  inch-lbs                   lbs                 "
               "Loads   \n";
    else if (IsSI())
        out << "      Type                     Kn                     Kn-M                     kN                  "
               "Loads   \n";
    else
        out << "      Type                     F                      F-L                      F                   "
               "Loads   \n";
    out << "-----------------      ------------------      ------------------      ------------------      "
           "------------\n";
    for (int t = 1; t <= NumLrfdLoadTypes; ++t) {
        const LoadTypeTotals s = TotalsOfLoadType(t);
        out << TotalTags[t] << FixedText(s.Horizontal, 24, 2) << FixedText(s.Moment, 24, 2)
            << FixedText(s.Vertical, 24, 2) << FormatIntegerText(s.NumGroups, 12) << '\n';
    }
}

void FactorsPage(std::ostream& out) {
    const ProblemData& P = Problem;
    const int nc = Clamp(P.NumLrfdCombinations, MaxLrfdCombinations);
    out << "\n\n" << Rule(77) << '\n'
        << "     Load and Resistance Factors by Load Combinations for LRFD Analyses      \n"
        << Rule(77) << "\n\n"
        << "Number of Factored Load Combinations = " << nc << "\n\n"
        << "Summary of Load and Resistance Factors:\n"
        << Rule(39) << "\n\n"
        // One column per load type, dead load first and special loads last,
        // then the flexure and shear resistance factors and the name.
        << " No.    DL     LL     EQ     IM    Wind   Watr    Ice   Soil   Roof   Rain   Snow   Temp   Spe"
           "c   M RF   V RF   Name\n"
        << "----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----"
           "   ----   ---------------------\n";
    for (int c = 1; c <= nc; ++c) {
        const LrfdCombination& C = P.LrfdCombinations[At(c)];
        out << FormatIntegerText(c, 3) << ' ';
        for (int t = 1; t <= NumLrfdLoadTypes; ++t) {
            const double f = C.Factor[At(t)];
            out << (f == 0.0 ? std::string("    -- ") : FixedText(f, 7, 2));
        }
        out << FixedText(C.FlexureResistanceFactor, 7, 2) << FixedText(C.ShearResistanceFactor, 7, 2) << "   "
            << C.CombinationName.View() << '\n';
    }
}

void FactoredLoadsPage(std::ostream& out) {
    const ProblemData& P = Problem;
    const int nc = Clamp(P.NumLrfdCombinations, MaxLrfdCombinations);
    out << "\n\n" << Rule(78) << '\n' << std::string(18, ' ') << "Computed Factored Loads for LRFD Analyses\n";
    for (int c = 1; c <= nc; ++c) {
        const LrfdCombination& C = P.LrfdCombinations[At(c)];
        out << "\nFactored Load Combination No. " << c << '\n'
            << Rule(33) << '\n'
            << "Load Combination Name = " << C.CombinationName.View() << '\n'
            << "Structural Resistance Factor for Flexure =" << FixedText(C.FlexureResistanceFactor, 6, 3) << '\n'
            << "Structural Resistance Factor for Shear   =" << FixedText(C.ShearResistanceFactor, 6, 3) << '\n'
            << "Factored Load = ";
        for (int t = 1; t <= NumLrfdLoadTypes; ++t) {
            if (t > 1) out << " +";
            out << FixedText(C.Factor[At(t)], 5, 2) << '*' << Abbreviations[t];
        }
        out << '\n'
            << "Factored Horizontal Force = " << FixedText(C.FactoredHorizontal, 24, 2) << ForceText() << '\n'
            << "Factored Vertical Force   = " << FixedText(C.FactoredVertical, 24, 2) << ForceText() << '\n'
            << "Factored Moment           = " << FixedText(C.FactoredMoment, 24, 2) << MomentText() << '\n';
    }
}

std::string CombinationTableRule() {
    // Under the number (columns 1-14), the three values (ending in columns 35,
    // 54 and 73) and the name (from column 77).
    return Rule(14) + "       " + Rule(14) + "     " + Rule(14) + "     " + Rule(14) + "   " + Rule(22);
}

void UnitRow(std::ostream& out) {
    if (IsUS())
        out << "     Number               lbs              in-lbs               lbs        \n";
    else if (IsSI())
        out << "     Number               kN                kN-m                kN         \n";
    else
        out << "     Number               F                 F-L                 F          \n";
}

void CombinationRow(std::ostream& out, int c, double a, double b, double d) {
    const LrfdCombination& C = Problem.LrfdCombinations[At(c)];
    out << FormatIntegerText(c, 9) << std::string(7, ' ') << FixedText(a, 19, 2) << FixedText(b, 19, 2)
        << FixedText(d, 19, 2) << "   " << C.CombinationName.View() << '\n';
}

void FactoredTotalsPage(std::ostream& out) {
    const int nc = Clamp(Problem.NumLrfdCombinations, MaxLrfdCombinations);
    out << "\n\nTotals of Factored Loads by Load Combination:\n"
        << Rule(45) << "\n\n"
        << "      Load             Factored           Factored           Factored      \n"
        << "   Combination       Horiz. Force          Moment           Vert. Force     Load Combination Name  \n";
    UnitRow(out);
    out << CombinationTableRule() << '\n';
    for (int c = 1; c <= nc; ++c) {
        const LrfdCombination& C = Problem.LrfdCombinations[At(c)];
        CombinationRow(out, c, C.FactoredHorizontal, C.FactoredMoment, C.FactoredVertical);
    }
}

void BatterPage(std::ostream& out) {
    const double b = Problem.PileBatter;
    const int nc = Clamp(Problem.NumLrfdCombinations, MaxLrfdCombinations);
    const std::string title = "Factored Loads Transformed for Pile Batter by Load Combination:";
    out << "\n\n" << title << '\n'
        << Rule(static_cast<int>(title.size())) << "\n\n"
        << "Horizontal and vertical loads are transformed into transverse shear and axial loads\n"
        << "using the following:\n\n"
        << "Pile PileBatter = " << FixedText(b * RadiansToDegrees, 7, 3) << " degrees\n\n"
        << "Transformation Matrix and Equations:\n\n"
        << "   T(1,1) =  Cos(PileBatter) = " << FixedText(std::cos(b), 8, 4) << '\n'
        << "   T(1,2) = Sin(PileBatter) = " << FixedText(std::sin(b), 8, 4) << '\n'
        << "   T(2,1) = -Sin(PileBatter) = " << FixedText(-std::sin(b), 8, 4) << '\n'
        << "   T(2,2) = Cos(PileBatter) = " << FixedText(std::cos(b), 8, 4) << "\n\n"
        << "   Shear Force = T(1,1) * Horiz. Force + T(1,2) * Vertical Force\n"
        << "   Axial Force = T(2,1) * Horiz. Force + T(2,2) * Vertical Force\n\n"
        << "      Load             Factored           Factored          Factored\n"
        << "  Combination         Shear Force          Moment          Axial Force      Load Combination Name  \n";
    UnitRow(out);
    out << CombinationTableRule() << '\n';
    for (int c = 1; c <= nc; ++c) {
        const LrfdCombination& C = Problem.LrfdCombinations[At(c)];
        CombinationRow(out, c, C.FactoredShear, C.FactoredMoment, C.FactoredAxial);
    }
}

void ThrustsPage(std::ostream& out) {
    const ProblemData& P = Problem;
    const int nc = Clamp(P.NumLrfdCombinations, MaxLrfdCombinations);
    const int nt = Clamp(P.NumAxialThrusts, MaxAxialThrusts);
    const std::string title = "Sorted Values of Axial Thrust Forces Sorted for LRFD Computations:";
    out << "\n\n" << title << '\n'
        << Rule(static_cast<int>(title.size())) << "\n\n"
        << "Number of Unique Axial Thrust Values = " << nt << "\n\n"
        << "Number   Factored Axial Thrust\n"
        << "------   ---------------------\n";
    // Each listed thrust is printed from the first combination that uses it,
    // in the input's force unit (the list itself is in kips in US runs).
    for (int j = 1; j <= nt; ++j) {
        double value = P.AxialThrusts[At(j)];
        for (int c = 1; c <= nc; ++c) {
            if (P.LrfdCombinations[At(c)].ThrustIndex == j) {
                value = P.LrfdCombinations[At(c)].FactoredAxial;
                break;
            }
        }
        out << FormatIntegerText(j, 4) << FixedText(value, 16, 3) << '\n';
    }
}

}  // namespace

void EchoLrfdInput(std::ostream& out) {
    ComputeLrfdFactoredLoads();
    GroupsPage(out);
    TotalsPage(out);
    FactorsPage(out);
    FactoredLoadsPage(out);
    FactoredTotalsPage(out);
    if (std::fabs(Problem.PileBatter) > BatterThreshold) BatterPage(out);
    ThrustsPage(out);
}

}  // namespace kestro
