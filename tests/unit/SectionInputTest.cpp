// SECTIONS: running depths, every section type's lines, SI lengths, the pile
// property table, the exact texts of the section errors and every capacity.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ReaderTestSupport.h"
#include "model/ProblemData.h"

using kestro::Problem;
using kestro::test::Has;
using kestro::test::MinimalInput;
using kestro::test::ReadOnly;
using kestro::test::RunInput;

namespace {

constexpr double Pi = 3.141592653589793;

std::string Concrete(const std::string& fc = "4000") {
    return fc + "\n0.75\nUse default concrete tensile strength\nUse internal stress-strain curve for concrete\n";
}
const std::string CircleRebar =
    "Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000\n29000000\n8\n1\n1.0\n0.79\n3.0\n0.0\n";

// A drilled shaft (type 1) of the given number, length and diameter.
std::string Shaft(int n, const std::string& length, const std::string& diameter,
                  const std::string& rebar = "No rebar\n") {
    return std::to_string(n) + "\n1\n" + length + "\n" + diameter + "\n" + Concrete() + rebar;
}

std::string Sections(int count, const std::string& body) { return "SECTIONS\n" + std::to_string(count) + "\n" + body; }

std::string In(const std::string& body, const std::string& units = "Units USCS") { return MinimalInput(body, units); }

}  // namespace

TEST(SectionInput, RunningDepthsAndPileLength) {
    ASSERT_EQ(ReadOnly(In(Sections(2, Shaft(1, "10", "36") + Shaft(2, "20", "30")))), 0);
    EXPECT_EQ(Problem.NumSections, 2);
    EXPECT_DOUBLE_EQ(Problem.Sections[1].SectionTop, 0.0);
    EXPECT_DOUBLE_EQ(Problem.Sections[1].SectionBottom, 10.0);
    EXPECT_DOUBLE_EQ(Problem.Sections[2].SectionTop, 10.0);
    EXPECT_DOUBLE_EQ(Problem.Sections[2].SectionBottom, 30.0);
    EXPECT_DOUBLE_EQ(Problem.PileLength, 30.0);
    ASSERT_EQ(Problem.NumPropertyRows, 4);
    const double depths[5] = {0, 0, 10, 10, 30};
    const double widths[5] = {0, 36, 36, 30, 30};
    for (int r = 1; r <= 4; ++r) {
        EXPECT_DOUBLE_EQ(Problem.PropertyTable[static_cast<std::size_t>(r)].Depth, depths[r]) << r;
        EXPECT_DOUBLE_EQ(Problem.PropertyTable[static_cast<std::size_t>(r)].Width, widths[r]) << r;
    }
    // In US customary units the lengths and depths become inches; diameters stay.
    ASSERT_EQ(ReadOnly(In(Sections(2, Shaft(1, "10", "36") + Shaft(2, "20", "30"))), true), 0);
    EXPECT_DOUBLE_EQ(Problem.PileLength, 360.0);
    EXPECT_DOUBLE_EQ(Problem.Sections[2].SectionTop, 120.0);
    EXPECT_DOUBLE_EQ(Problem.Sections[2].SectionLength, 240.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[4].Depth, 360.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[4].Width, 30.0);
}

TEST(SectionInput, DrilledShaftPropertiesAreGrossSectionWithConcreteModulus) {
    ASSERT_EQ(ReadOnly(In(Sections(1, Shaft(1, "10", "36", CircleRebar)))), 0);
    const auto& R = Problem.PropertyTable[1];
    EXPECT_NEAR(R.Inertia, Pi * std::pow(36.0, 4) / 64.0, 1e-8);   // 82447.96 in^4
    EXPECT_NEAR(R.Area, Pi * 36.0 * 36.0 / 4.0, 1e-10);             // 1017.88 in^2
    EXPECT_NEAR(R.Modulus, 57000.0 * std::sqrt(4000.0), 1e-6);      // 3604996.5 psi
    EXPECT_DOUBLE_EQ(R.Second, 36.0);
    const auto& S = Problem.Sections[1];
    EXPECT_EQ(S.RebarPattern, kestro::RebarCircle);
    EXPECT_EQ(S.BarCount1, 8);
    EXPECT_EQ(S.BarCount2, 1);
    EXPECT_DOUBLE_EQ(S.CircleBarArea, 0.79);
    EXPECT_DOUBLE_EQ(S.Cover, 3.0);
    EXPECT_DOUBLE_EQ(S.RebarYieldStrength, 60000.0);
}

TEST(SectionInput, SIDimensionsAreStoredInMeters) {
    std::string shaft = "1\n1\n10\n1200\n28000\n20\nUse default concrete tensile strength\n"
                        "Use internal stress-strain curve for concrete\n"
                        "Rebar Arrangement Not Same As Section Above\nRebar in circle\n414000\n2.0E8\n10\n1\n25\n500\n75\n0\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, shaft), "Units SI")), 0);
    const auto& S = Problem.Sections[1];
    EXPECT_DOUBLE_EQ(S.PileDiameter, 1.2);
    EXPECT_DOUBLE_EQ(S.AggregateSize, 0.02);
    EXPECT_DOUBLE_EQ(S.CircleBarDiameter, 0.025);
    EXPECT_DOUBLE_EQ(S.CircleBarArea, 0.0005);
    EXPECT_DOUBLE_EQ(S.Cover, 0.075);
    EXPECT_DOUBLE_EQ(S.SectionLength, 10.0);
    // Concrete modulus in kPa: 57000 sqrt(f'c psi) psi with 28000 kPa = 4061.057 psi
    // gives 3632404 psi = 25044540 kPa (close to 4700 sqrt(28 MPa) = 24.87 GPa).
    const double ec = Problem.PropertyTable[1].Modulus;
    EXPECT_NEAR(ec, 25044540.0, 1.0e-5 * ec);
    EXPECT_NEAR(Problem.PropertyTable[1].Inertia, Pi * std::pow(1.2, 4) / 64.0, 1e-14);
    // SI conversion leaves section lengths in meters.
    ASSERT_EQ(ReadOnly(In(Sections(1, shaft), "Units SI"), true), 0);
    EXPECT_DOUBLE_EQ(Problem.PileLength, 10.0);
}

TEST(SectionInput, SteelPipeMomentOfInertia) {
    ASSERT_EQ(ReadOnly(In(Sections(1, "1\n4\n40\n24\n0.5\n36000\n29000000\n"))), 0);
    const auto& S = Problem.Sections[1];
    // pi/64 (24^4 - 23^4) = pi/64 x 51935
    EXPECT_NEAR(S.MomentOfInertia, Pi / 64.0 * 51935.0, 1e-9);
    EXPECT_NEAR(Problem.PropertyTable[2].Inertia, 2549.35335, 1e-4);
    EXPECT_NEAR(Problem.PropertyTable[2].Area, Pi / 4.0 * (576.0 - 529.0), 1e-10);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[2].Modulus, 29000000.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[2].Depth, 40.0);
}

TEST(SectionInput, VoidCoreCodeReadsTheSameLinesAsType3) {
    std::string body = "-3\n30\n48\n0.5\n36000\n29000000\n24\n0.75\n50000\n29000000\n" + Concrete() + "No rebar\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, "1\n" + body))), 0);
    EXPECT_EQ(Problem.Sections[1].SectionType, 3);
    EXPECT_FALSE(Problem.Sections[1].CoreFilled);
    EXPECT_DOUBLE_EQ(Problem.Sections[1].CoreModulus, 29000000.0);
    body[0] = ' ';  // " 3": concrete-filled core
    ASSERT_EQ(ReadOnly(In(Sections(1, "1\n" + body))), 0);
    EXPECT_TRUE(Problem.Sections[1].CoreFilled);
    EXPECT_DOUBLE_EQ(Problem.Sections[1].CoreDiameter, 24.0);
}

TEST(SectionInput, RectangleAndPrestressedGrossProperties) {
    std::string rect = "1\n0\n10\n12\n18\n" + Concrete("5000") + "No rebar\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, rect))), 0);
    EXPECT_DOUBLE_EQ(Problem.Sections[1].PileDiameter, 12.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Width, 12.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Second, 18.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Inertia, 5832.0);   // 12 x 18^3 / 12
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Area, 216.0);
    // Square prestressed pile 14 in with 1 in chamfers: each corner removes a
    // triangle of area 0.5 whose centroid is 7 - 1/3 from the axis.
    std::string square = "1\n7\n10\n14\n1\n" + Concrete("6000") +
                         "Autoposition strands\n2\n1\n8\n270000\n189000\n0.5\n1\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, square))), 0);
    const double arm = 7.0 - 1.0 / 3.0;
    EXPECT_NEAR(Problem.PropertyTable[1].Inertia, 14.0 * 14.0 * 14.0 * 14.0 / 12.0 - 4.0 * (1.0 / 36.0 + 0.5 * arm * arm),
                1e-9);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Area, 196.0 - 2.0);
    EXPECT_EQ(Problem.Sections[1].NumStrands, 8);
    EXPECT_EQ(Problem.Sections[1].StrandPattern, 1);
}

TEST(SectionInput, ElasticSectionsTakeTheirValues) {
    // Type 11, rectangular shape: E, widths, depths, areas, inertias, top then bottom rows.
    std::string rect = "1\n11\n20\n0\n3.0E6\n12\n10\n16\n14\n192\n140\n4096\n2286.67\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, rect))), 0);
    const auto& T = Problem.PropertyTable[1];
    const auto& B = Problem.PropertyTable[2];
    EXPECT_DOUBLE_EQ(T.Width, 12.0);
    EXPECT_DOUBLE_EQ(B.Width, 10.0);
    EXPECT_DOUBLE_EQ(T.Second, 16.0);
    EXPECT_DOUBLE_EQ(B.Second, 14.0);
    EXPECT_DOUBLE_EQ(T.Area, 192.0);
    EXPECT_DOUBLE_EQ(B.Inertia, 2286.67);
    EXPECT_DOUBLE_EQ(B.Modulus, 3.0E6);
    EXPECT_DOUBLE_EQ(B.Depth, 20.0);
    // Type 12, strong H-pile: E, one plastic moment, flange width, depth,
    // flange and web thickness, area, inertia.
    std::string hp = "1\n12\n50\n3\n29.0E6\n2.5E6\n10.2\n10.0\n0.5\n0.5\n15.5\n271\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, hp))), 0);
    const auto& S = Problem.Sections[1];
    EXPECT_DOUBLE_EQ(S.TopPlasticMoment, 2.5E6);
    EXPECT_DOUBLE_EQ(S.BottomPlasticMoment, 2.5E6);
    EXPECT_DOUBLE_EQ(S.PileDiameter, 10.2);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[2].Inertia, 271.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[2].Area, 15.5);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[2].Second, 10.0);
    // Weak axis: the web depth faces the soil.
    hp[hp.find("\n3\n") + 1] = '4';
    ASSERT_EQ(ReadOnly(In(Sections(1, hp))), 0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Width, 10.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Second, 10.2);
    // Embedded pole (shape 5): the drilled hole diameter is the p-y width.
    std::string pole = "1\n12\n30\n5\n1.6E6\n9.0E5\n7.0E5\n12\n10\n113\n78.5\n1018\n491\n30\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, pole))), 0);
    EXPECT_DOUBLE_EQ(Problem.Sections[1].BottomPlasticMoment, 7.0E5);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Width, 30.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[2].Second, 10.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[2].Inertia, 491.0);
}

TEST(SectionInput, ElasticValuesInSIAreMillimeterBased) {
    std::string circ = "1\n11\n20\n1\n2.0E8\n600\n600\n282743\n282743\n6.3617E9\n6.3617E9\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, circ), "Units SI")), 0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Width, 0.6);
    EXPECT_NEAR(Problem.PropertyTable[1].Area, 0.282743, 1e-12);
    EXPECT_NEAR(Problem.PropertyTable[1].Inertia, 6.3617E-3, 1e-15);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Modulus, 2.0E8);
}

TEST(SectionInput, UserDefinedEISection) {
    // Width 24, two thrusts; per point one line of moment, one of EI.
    std::string ei = "1\n13\n40\n24\n2\n0\n2\n1.0E6\n5.0E10\n2.0E6\n4.0E10\n100000\n1\n3.0E6\n3.0E10\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, ei))), 0);
    const auto& S = Problem.Sections[1];
    EXPECT_EQ(S.UserEISlot, 1);
    EXPECT_EQ(S.NumUserThrusts, 2);
    EXPECT_EQ(S.NumUserEIPoints[1], 2);
    EXPECT_DOUBLE_EQ(S.UserThrust[2], 100000.0);
    EXPECT_DOUBLE_EQ(kestro::UserEI[1].Moment[1][2], 2.0E6);
    EXPECT_DOUBLE_EQ(kestro::UserEI[1].EI[2][1], 3.0E10);
    // The property rows carry the first EI of the first curve.
    const auto& R = Problem.PropertyTable[1];
    EXPECT_NEAR(R.Modulus * R.Inertia, 5.0E10, 1.0);
    EXPECT_DOUBLE_EQ(R.Width, 24.0);
}

TEST(SectionInput, RebarSameAsSectionAboveCopiesTheBars) {
    std::string noncircular = "Rebar Arrangement Not Same As Section Above\nRebar in noncircular pattern\n60000\n29000000\n"
                              "2\n1 8 1.0 0.79 4.0 0.0\n2 8 1.0 0.79 -4.0 0.0\n";
    std::string body = Shaft(1, "10", "24", noncircular) + Shaft(2, "10", "24", "Rebar Arrangement Same As Section Above\n");
    ASSERT_EQ(ReadOnly(In(Sections(2, body))), 0);
    const auto& S = Problem.Sections[2];
    EXPECT_EQ(S.RebarContinuation, kestro::RebarSameAsAbove);
    EXPECT_EQ(S.NumBars, 2);
    EXPECT_DOUBLE_EQ(S.BarX[2], -4.0);
    EXPECT_EQ(S.BarSizeCode[1], 8);
    EXPECT_DOUBLE_EQ(S.RebarModulus, 29000000.0);
}

TEST(SectionInput, OutOfOrderSectionNumber) {
    auto r = RunInput(In(Sections(2, Shaft(1, "10", "36") + Shaft(3, "20", "36"))));
    EXPECT_EQ(r.Result, 195);
    EXPECT_TRUE(Has(r.Report, "SECTION DATA OUT-OF-ORDER\n\n\nExpecting section number 2, but section number 3 was found\n"))
        << r.Report;
    EXPECT_TRUE(Has(r.Report, "Kestro ended prematurely due to input error number INP00095"));
}

struct OptionCase {
    const char* Name;
    std::string Section;
    const char* Message;
};

TEST(SectionInput, EveryWrongOptionLine) {
    const std::string base = "1\n1\n10\n36\n4000\n0.75\n";
    const OptionCase cases[] = {
        {"tensile", base + "Use default tensile strength\n",
         "\nINPUT ERROR - Unrecognized command for concrete tensile strength option\n"},
        {"curve", base + "Use default concrete tensile strength\nUse internal curve\n",
         "\nINPUT ERROR - Unrecognized input for concrete stress-strain option\n"},
        {"continuation", base + "Override concrete tensile strength\n400\nUse internal stress-strain curve for concrete\n"
                                "rebar arrangement same as section above\n",
         "\nINPUT ERROR - Unrecognized command for rebar continuation from section above option\n"},
        {"pattern", base + "Use default concrete tensile strength\nUse internal stress-strain curve for concrete\n"
                           "Rebar Arrangement Not Same As Section Above\nRebar in square\n",
         "\nINPUT ERROR - Unrecognized command for rebar pattern option\n"},
        {"strands", "1\n5\n10\n24\n" + Concrete() + "Automatic strands\n",
         "\nINPUT ERROR - Unrecognized command for strand positioning option\n"},
    };
    for (const auto& c : cases) {
        auto r = RunInput(In(Sections(1, c.Section)));
        EXPECT_EQ(r.Result, 195) << c.Name;
        EXPECT_TRUE(Has(r.Report, c.Message)) << c.Name << "\n" << r.Report;
        EXPECT_TRUE(Has(r.Report, "Kestro ended prematurely due to input error number INP00095")) << c.Name;
    }
}

TEST(SectionInput, ConcreteCurveAndStrandSequence) {
    std::string curve = "1\n1\n10\n36\n4000\n0.75\nUse default concrete tensile strength\n"
                        "Input stress-strain curve for concrete\n3\n1 0.0 0.0\n2 0.001 3000\n4 0.002 4000\nNo rebar\n";
    auto r = RunInput(In(Sections(1, curve)));
    EXPECT_EQ(r.Result, 195);
    EXPECT_TRUE(Has(r.Report, "\nINPUT ERROR - Sequence error encountered when reading concrete stress-strain curve\n\n\n"
                              "Expecting line no. 3 but line no. 4 was read\n\n\n"))
        << r.Report;
    curve.replace(curve.find("4 0.002"), 1, "3");
    ASSERT_EQ(ReadOnly(In(Sections(1, curve))), 0);
    EXPECT_TRUE(Problem.Sections[1].UserStressStrainCurve);
    EXPECT_EQ(Problem.Sections[1].NumConcreteCurvePoints, 3);
    EXPECT_DOUBLE_EQ(Problem.Sections[1].ConcreteStress[3], 4000.0);

    std::string manual = "1\n5\n10\n24\n" + Concrete() + "Manually-positioned strands\n2\n2\n270000\n189000\n"
                         "1 1 1 5.0 0.0\n3 1 1 -5.0 0.0\n";
    r = RunInput(In(Sections(1, manual)));
    EXPECT_EQ(r.Result, 195);
    EXPECT_TRUE(Has(r.Report, "INPUT ERROR - Input out-of-order for strand no. 2\n")) << r.Report;
    manual.replace(manual.find("3 1 1"), 1, "2");
    ASSERT_EQ(ReadOnly(In(Sections(1, manual))), 0);
    EXPECT_DOUBLE_EQ(Problem.Sections[1].StrandX[2], -5.0);
    EXPECT_EQ(Problem.Sections[1].StrandPositioning, kestro::StrandsManual);
}

TEST(SectionInput, RebarSameAsAboveOnFirstSection) {
    auto r = RunInput(In(Sections(1, Shaft(1, "10", "36", "Rebar Arrangement Same As Section Above\n"))));
    EXPECT_EQ(r.Result, 186);
    EXPECT_TRUE(Has(r.Report, "**** Input Data Error No. 86 ****")) << r.Report;
    EXPECT_TRUE(Has(r.Report, "Section 1 asks for the rebar arrangement of the section above"));
    EXPECT_TRUE(Has(r.Messages, "**** Input Data Error No. 86 ****"));
}

TEST(SectionInput, RebarCircleThatCannotBePlaced) {
    // Cover 20 in a 36 in shaft leaves no bar circle; 4 bars per position; 0 positions.
    const char* bad[] = {"8\n1\n1.0\n0.79\n20.0\n0\n", "8\n4\n1.0\n0.79\n3.0\n0\n", "0\n1\n1.0\n0.79\n3.0\n0\n",
                         "8\n1\n1.0\n0.79\n0.0\n0\n"};
    const int expected[] = {187, 187, 184, 187};
    for (int i = 0; i < 4; ++i) {
        std::string rebar = std::string("Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000\n29000000\n") + bad[i];
        auto r = RunInput(In(Sections(1, Shaft(1, "10", "36", rebar))));
        EXPECT_EQ(r.Result, expected[i]) << i << r.Report;
    }
}

TEST(SectionInput, UnknownSectionTypeAndShape) {
    auto r = RunInput(In(Sections(1, "1\n15\n10\n")));
    EXPECT_EQ(r.Result, 189);
    EXPECT_TRUE(Has(r.Report, "Problem:  The section type of section 1 is 15, which is not a valid code.")) << r.Report;
    r = RunInput(In(Sections(1, "1\n11\n10\n6\n")));
    EXPECT_EQ(r.Result, 189);
    EXPECT_TRUE(Has(r.Report, "cross-sectional shape code of section 1 is 6")) << r.Report;
}

struct CapacityCase {
    const char* Name;
    std::string Body;
    const char* Text;
};

TEST(SectionInput, EveryCapacityOnePastItsBound) {
    std::string ok300, bars301 = "301\n";
    const std::string shaftHead = "1\n1\n10\n36\n" + Concrete();
    std::string ei11;
    for (int s = 1; s <= 11; ++s) ei11 += std::to_string(s) + "\n13\n1\n24\n1\n0\n1\n1.0\n1.0E9\n";
    const CapacityCase cases[] = {
        {"sections", Sections(21, ""), "The number of pile sections is 21, outside the valid range of 0 to 20."},
        {"negative sections", Sections(-1, ""), "The number of pile sections is -1"},
        {"curve points",
         Sections(1, "1\n1\n10\n36\n4000\n0.75\nUse default concrete tensile strength\n"
                     "Input stress-strain curve for concrete\n100\n"),
         "The number of concrete stress-strain points of section 1 is 100, outside the valid range of 1 to 99."},
        {"bars",
         Sections(1, shaftHead + "Rebar Arrangement Not Same As Section Above\nRebar in noncircular pattern\n60000\n"
                                 "29000000\n301\n"),
         "The number of reinforcing bars of section 1 is 301, outside the valid range of 0 to 300."},
        {"circle bars",
         Sections(1, shaftHead + "Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000\n29000000\n"
                                 "101\n3\n1.0\n0.79\n3.0\n0\n"),
         "The number of bars on the rebar circle of section 1 is 303, outside the valid range of 1 to 300."},
        {"strands", Sections(1, "1\n5\n10\n24\n" + Concrete() + "Autoposition strands\n2\n1\n301\n"),
         "The number of prestressing strands of section 1 is 301, outside the valid range of 0 to 300."},
        {"manual strands", Sections(1, "1\n5\n10\n24\n" + Concrete() + "Manually-positioned strands\n2\n301\n"),
         "The number of prestressing strands of section 1 is 301"},
        {"user EI sections", Sections(11, ei11),
         "The number of sections with user-defined nonlinear EI is 11, outside the valid range of 0 to 10."},
        {"user EI thrusts", Sections(1, "1\n13\n10\n24\n101\n"),
         "The number of axial thrusts with user-defined EI of section 1 is 101, outside the valid range of 1 to 100."},
        {"user EI points", Sections(1, "1\n13\n10\n24\n1\n0\n151\n"),
         "The number of moment-EI points of axial thrust 1 of section 1 is 151, outside the valid range of 1 to 150."},
    };
    for (const auto& c : cases) {
        auto r = RunInput(In(c.Body));
        EXPECT_EQ(r.Result, 184) << c.Name << "\n" << r.Report;
        EXPECT_TRUE(Has(r.Report, "**** Input Data Error No. 84 ****")) << c.Name;
        EXPECT_TRUE(Has(r.Report, c.Text)) << c.Name << "\n" << r.Report;
        EXPECT_TRUE(Has(r.Report, "Kestro ended prematurely due to input error number INP00084")) << c.Name;
    }
}

TEST(SectionInput, EndOfFileInsideEverySectionType) {
    // Cut each section's lines one by one: every cut ends with Input Data Error 80.
    const std::string bodies[] = {
        Shaft(1, "10", "36", CircleRebar),
        "1\n0\n10\n12\n18\n" + Concrete() + "No rebar\n",
        "1\n3\n30\n48\n0.5\n36000\n29000000\n24\n0.75\n50000\n29000000\n" + Concrete() + "No rebar\n",
        "1\n4\n40\n24\n0.5\n36000\n29000000\n",
        "1\n8\n10\n14\n6\n1\n" + Concrete() + "Manually-positioned strands\n2\n1\n270000\n189000\n1 1 1 5.0 0.0\n",
        "1\n12\n50\n3\n29.0E6\n2.5E6\n10.2\n10.0\n0.5\n0.5\n15.5\n271\n",
        "1\n13\n10\n24\n1\n0\n1\n1.0\n1.0E9\n",
    };
    for (const auto& body : bodies) {
        std::string full = "KESTRO6\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\n"
                           "UseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     1\n"
                           "Iterations 100\nDeflLimit 100.0\nTolerance 1.0E-5\nIncrements 100\nPrintSummaryOnly NO\n"
                           "PrintIncrement 1\nPrintPYCurves NO\nComputeInteraction NO\nSECTIONS\n1\n" + body;
        std::size_t cut = full.find("SECTIONS\n") + 9;
        int cuts = 0;
        while ((cut = full.find('\n', cut)) != std::string::npos && cut + 1 < full.size()) {
            ++cut;
            std::string part = full.substr(0, cut);
            EXPECT_EQ(ReadOnly(part), 180) << part;
            ++cuts;
        }
        EXPECT_GT(cuts, 0);
        // The whole section followed by END reads cleanly.
        EXPECT_EQ(ReadOnly(full + "END\n"), 0) << full;
    }
}

TEST(SectionInput, UnusedPatternBlockAfterNoRebarOrSameAsAboveIsReadAndIgnored) {
    // A front end may write the section's own pattern block after either line.
    std::string own = "Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000\n29000000\n8\n1\n1.0\n0.79\n3.0\n0\n";
    std::string same = "Rebar Arrangement Same As Section Above\nRebar in circle\n75000\n29000000\n0\n0\n0\n0\n0\n0\n";
    std::string none = "No rebar\nRebar in noncircular pattern\n60000\n29000000\n1\n1 8 1.0 0.79 0 0\n";
    ASSERT_EQ(ReadOnly(In(Sections(3, Shaft(1, "10", "36", own) + Shaft(2, "10", "36", same) +
                                          Shaft(3, "10", "36", none)))),
              0);
    EXPECT_EQ(Problem.NumSections, 3);
    const auto& S = Problem.Sections[2];
    EXPECT_EQ(S.RebarContinuation, kestro::RebarSameAsAbove);
    EXPECT_EQ(S.BarCount1, 8);                       // the bars of section 1, not the block's zeros
    EXPECT_DOUBLE_EQ(S.RebarYieldStrength, 60000.0);
    EXPECT_DOUBLE_EQ(S.Cover, 3.0);
    EXPECT_EQ(Problem.Sections[3].NumBars, 0);
    EXPECT_EQ(Problem.Sections[3].RebarPattern, kestro::RebarPatternNone);
    EXPECT_DOUBLE_EQ(Problem.Sections[3].SectionBottom, 30.0);
}

namespace {
// Area and second moment about the horizontal centroidal axis of a square of
// width w with corners cut back by c, by summing 200000 horizontal strips.
void StripIntegrate(double w, double c, double voidDiameter, double& area, double& inertia) {
    const int n = 200000;
    const double dy = w / n;
    area = inertia = 0.0;
    for (int i = 0; i < n; ++i) {
        const double y = -w / 2.0 + (i + 0.5) * dy;
        const double over = std::fabs(y) - (w / 2.0 - c);
        double width = over > 0.0 ? w - 2.0 * over : w;
        if (std::fabs(y) < voidDiameter / 2.0) width -= 2.0 * std::sqrt(voidDiameter * voidDiameter / 4.0 - y * y);
        area += width * dy;
        inertia += width * y * y * dy;
    }
}
}  // namespace

TEST(SectionInput, PrestressedOutlinesAgainstStripIntegration) {
    struct Case {
        std::string Body;
        double W, C, Void;
    };
    const Case cases[] = {
        {"1\n7\n10\n16\n2\n" + Concrete("6000"), 16.0, 2.0, 0.0},
        {"1\n8\n10\n24\n11\n1.5\n" + Concrete("6000"), 24.0, 1.5, 11.0},
        {"1\n9\n10\n18\n" + Concrete("6000"), 18.0, 0.2929 * 18.0, 0.0},
        {"1\n10\n10\n24\n12\n" + Concrete("6000"), 24.0, 0.2929 * 24.0, 12.0},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(ReadOnly(In(Sections(1, c.Body + "Autoposition strands\n2\n1\n8\n270000\n189000\n0.5\n1\n"))), 0)
            << c.Body;
        double area = 0.0, inertia = 0.0;
        StripIntegrate(c.W, c.C, c.Void, area, inertia);
        EXPECT_NEAR(Problem.PropertyTable[1].Area, area, 1e-5 * area) << c.Body;
        EXPECT_NEAR(Problem.PropertyTable[2].Inertia, inertia, 1e-5 * inertia) << c.Body;
        EXPECT_DOUBLE_EQ(Problem.PropertyTable[2].Width, c.W);
        EXPECT_NEAR(Problem.PropertyTable[2].Modulus, 57000.0 * std::sqrt(6000.0), 1e-6);
    }
    // Circular hollow: pi/64 (D^4 - Dv^4) = pi/64 (36^4 - 26^4).
    ASSERT_EQ(ReadOnly(In(Sections(1, "1\n6\n10\n36\n26\n" + Concrete("6000") +
                                          "Autoposition strands\n2\n1\n16\n270000\n189000\n0.5\n0\n"))),
              0);
    EXPECT_NEAR(Problem.PropertyTable[1].Inertia, Pi / 64.0 * (1679616.0 - 456976.0), 1e-8);
    EXPECT_NEAR(Problem.PropertyTable[1].Area, Pi / 4.0 * (1296.0 - 676.0), 1e-10);
}

TEST(SectionInput, CasedShaftTransformsTheSteelToConcrete) {
    // 48 in shaft, 0.5 in casing (Es 29e6 psi), f'c 4000 psi: n = Es / Ec.
    std::string cased = "1\n2\n20\n48\n0.5\n36000\n29000000\n" + Concrete() + "No rebar\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, cased))), 0);
    const double ec = 57000.0 * std::sqrt(4000.0);
    const double n = 29.0e6 / ec;
    const auto& R = Problem.PropertyTable[1];
    EXPECT_NEAR(R.Modulus, ec, 1e-6);
    EXPECT_NEAR(R.Inertia, Pi / 64.0 * (4879681.0 + n * (5308416.0 - 4879681.0)), 1e-6);
    EXPECT_NEAR(R.Area, Pi / 4.0 * (2209.0 + n * (2304.0 - 2209.0)), 1e-9);
    // With a void core of 24 in x 0.75 in (Es 29e6): the concrete inside the core is gone.
    std::string core = "1\n-3\n20\n48\n0.5\n36000\n29000000\n24\n0.75\n50000\n29000000\n" + Concrete() + "No rebar\n";
    ASSERT_EQ(ReadOnly(In(Sections(1, core))), 0);
    const double concrete = 4879681.0 - 331776.0;        // 47^4 - 24^4
    const double coreRing = 331776.0 - 256289.0625;     // 24^4 - 22.5^4
    EXPECT_NEAR(Problem.PropertyTable[1].Inertia,
                Pi / 64.0 * (concrete + n * (5308416.0 - 4879681.0) + n * coreRing), 1e-6);
}

TEST(SectionInput, MicropileReadsOnlyItsLengthAndStrandCodesMustNotBeNegative) {
    ASSERT_EQ(ReadOnly(In(Sections(2, "1\n14\n5\n" + Shaft(2, "20", "24")))), 0);
    EXPECT_EQ(Problem.Sections[1].SectionType, kestro::SecMicropile);
    EXPECT_DOUBLE_EQ(Problem.Sections[2].SectionTop, 5.0);
    EXPECT_DOUBLE_EQ(Problem.PileLength, 25.0);
    EXPECT_DOUBLE_EQ(Problem.PropertyTable[1].Width, 0.0);
    std::string manual = "1\n5\n10\n24\n" + Concrete() + "Manually-positioned strands\n2\n2\n270000\n189000\n"
                         "1 1 1 5.0 0.0\n2 -1 1 -5.0 0.0\n";
    auto r = RunInput(In(Sections(1, manual)));
    EXPECT_EQ(r.Result, 195);
    EXPECT_TRUE(Has(r.Report, "INPUT ERROR - Unrecognized input for strand no. 2\n\n")) << r.Report;
}
