// Slicing of pile sections: the slice areas of every material sum to the
// closed-form areas of circles, rectangles, octagons, casings, cores and
// H-piles; bars keep their whole area across slice boundaries; tapered
// sections interpolate; bad sections end with a numbered input error.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "SectionTestSupport.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "report/SectionGeometryReport.h"
#include "section/Materials.h"
#include "section/SliceTable.h"

using namespace kestro;
using kestro::test::OneSection;

namespace {

constexpr double Pi = 3.141592653589793;
double Circle(double d) { return Pi * d * d / 4.0; }

double Sum(const SliceArray& a) {
    double s = 0.0;
    for (int i = 1; i <= MaxSlices; ++i) s += a[static_cast<std::size_t>(i)];
    return s;
}

void ExpectRel(double got, double want, double rel = 1.0e-9) {
    EXPECT_NEAR(got, want, rel * std::fabs(want)) << "got " << got << " want " << want;
}

SliceTable& Sliced(int type, double thetaDeg, int coreModel = ConcreteNone) {
    static SectionGeometry g;
    static SliceTable t;
    EXPECT_TRUE(BuildSectionGeometry(1, coreModel, g));
    (void)type;
    PrepareSlices(g, thetaDeg * Pi / 180.0, t);
    return t;
}

}  // namespace

TEST(SegmentArea, EndsAndHalfAndQuarterDepth) {
    const double D = 2.0;  // R = 1
    struct Case { double h, want; };
    // Circular segment of height h: R^2 acos((R-h)/R) - (R-h) sqrt(2Rh - h^2).
    const Case cases[] = {{-0.5, 0.0},
                          {0.0, 0.0},
                          {0.5, Pi / 3.0 - 0.5 * std::sqrt(0.75)},
                          {1.0, Pi / 2.0},
                          {1.5, Pi - (Pi / 3.0 - 0.5 * std::sqrt(0.75))},
                          {2.0, Pi},
                          {3.0, Pi}};
    for (const Case& c : cases) EXPECT_NEAR(SegmentArea(D, c.h), c.want, 1e-12) << "h = " << c.h;
}

TEST(PolygonArea, ClippedBelowLowestAndAboveHighest) {
    // Unit square (counterclockwise) from y = 0 to 1.
    const double x[] = {0, 0, 1, 1, 0};
    const double y[] = {0, 0, 0, 1, 1};
    EXPECT_EQ(PolygonAreaBelow(x, y, 4, -1.0e-3), 0.0);
    EXPECT_NEAR(PolygonAreaBelow(x, y, 4, 2.0), 1.0, 1e-15);
    EXPECT_NEAR(PolygonAreaBelow(x, y, 4, 0.25), 0.25, 1e-15);
    EXPECT_NEAR(PolygonSliceArea(x, y, 4, 0.25, 0.75), 0.5, 1e-15);
}

TEST(Slicing, CircularShaftSumsToCircleAndIsSymmetric) {
    PileSection& S = OneSection(SecDrilledShaft);
    S.PileDiameter = 36.0;
    const SliceTable& t = Sliced(S.SectionType, 0.0);
    ExpectRel(t.TotalConcreteArea, Circle(36.0));
    ExpectRel(t.SectionDepth, 36.0);
    ExpectRel(t.SliceDepth[1], 0.18);
    ExpectRel(t.SliceDepth[100], 36.0 - 0.18);
    for (std::size_t i = 1; i <= 50; ++i) EXPECT_NEAR(t.ConcreteArea[i], t.ConcreteArea[101 - i], 1e-9);
}

TEST(Slicing, RectangleAtZeroAnd45Degrees) {
    PileSection& S = OneSection(SecRectangularConcrete);
    S.RectangleWidth = 24.0;
    S.RectangleDepth = 36.0;
    S.PileDiameter = 24.0;
    {
        const SliceTable& t = Sliced(S.SectionType, 0.0);
        ExpectRel(t.SectionDepth, 36.0);
        for (std::size_t i = 1; i <= 100; ++i) ExpectRel(t.ConcreteArea[i], 24.0 * 0.36);
        ExpectRel(t.TotalConcreteArea, 24.0 * 36.0);
    }
    S.RectangleDepth = 24.0;  // a square turned through 45 degrees is a diamond
    const SliceTable& t = Sliced(S.SectionType, 45.0);
    const double H = 24.0 * std::sqrt(2.0), th = H / 100.0;
    ExpectRel(t.SectionDepth, H);
    ExpectRel(t.TotalConcreteArea, 576.0);
    // Slice i of the upper half: the diamond's width at depth h is 2h, so the
    // slice holds (i th)^2 - ((i-1) th)^2 = (2i - 1) th^2.
    for (int i : {1, 2, 25, 50}) ExpectRel(t.ConcreteArea[static_cast<std::size_t>(i)], (2.0 * i - 1.0) * th * th, 1e-8);
    for (std::size_t i = 1; i <= 50; ++i) EXPECT_NEAR(t.ConcreteArea[i], t.ConcreteArea[101 - i], 1e-9);
}

TEST(Slicing, OctagonAndChamferedSquareAtTwoDirections) {
    struct Case { int type; double width, chamfer; double theta; };
    const Case cases[] = {{SecOctagonalSolidPrestressed, 16.0, 0.0, 0.0},
                          {SecOctagonalSolidPrestressed, 16.0, 0.0, 30.0},
                          {SecSquareSolidPrestressed, 14.0, 0.75, 0.0},
                          {SecSquareSolidPrestressed, 14.0, 0.75, 45.0}};
    for (const Case& c : cases) {
        PileSection& S = OneSection(c.type);
        S.PileDiameter = c.width;
        S.CornerChamfer = c.chamfer;
        const double cut = c.type == SecSquareSolidPrestressed ? c.chamfer : 0.2929 * c.width;
        const SliceTable& t = Sliced(c.type, c.theta);
        ExpectRel(t.TotalConcreteArea, c.width * c.width - 2.0 * cut * cut);
    }
}

TEST(Slicing, CasingCoreAndPipeAreas) {
    {
        PileSection& S = OneSection(SecCasedShaft);
        S.PileDiameter = 48.0;
        S.CasingThickness = 0.5;
        const SliceTable& t = Sliced(S.SectionType, 0.0);
        ExpectRel(Sum(t.CasingArea), Pi * (48.0 * 48.0 - 47.0 * 47.0) / 4.0);
        ExpectRel(t.TotalConcreteArea, Circle(47.0));
    }
    for (bool filled : {true, false}) {
        PileSection& S = OneSection(SecCasedShaftWithCore);
        S.PileDiameter = 48.0;
        S.CasingThickness = 0.5;
        S.CoreDiameter = 20.0;
        S.CoreThickness = 0.75;
        const SliceTable& t = Sliced(S.SectionType, 0.0, filled ? ConcreteUnconfined : ConcreteNone);
        ExpectRel(Sum(t.CoreSteelArea), Pi * (400.0 - 18.5 * 18.5) / 4.0);
        if (filled) ExpectRel(Sum(t.CoreConcreteArea), Circle(18.5));
        else EXPECT_EQ(Sum(t.CoreConcreteArea), 0.0);
        ExpectRel(t.TotalConcreteArea, Circle(47.0) - Circle(20.0));
        EXPECT_LE(t.CoreTopSlice, 30);
        EXPECT_GE(t.CoreBottomSlice, 71);
    }
    {
        PileSection& S = OneSection(SecSteelPipe);
        S.PileDiameter = 24.0;
        S.WallThickness = 0.5;
        const SliceTable& t = Sliced(S.SectionType, 0.0);
        EXPECT_EQ(t.TotalConcreteArea, 0.0);
        ExpectRel(Sum(t.CasingArea), Pi * (576.0 - 529.0) / 4.0);
    }
    {
        PileSection& S = OneSection(SecSquareHollowPrestressed);
        S.PileDiameter = 24.0;
        S.VoidDiameter = 12.0;
        const SliceTable& t = Sliced(S.SectionType, 0.0);
        ExpectRel(t.TotalConcreteArea, 576.0 - Circle(12.0));
        EXPECT_EQ(Sum(t.CoreSteelArea), 0.0);
    }
}

TEST(Slicing, HPileInsertAndCompositeCores) {
    SectionGeometry g;
    g.Shape = ShapeShaftWithHPile;
    g.Diameter = 36.0;
    g.HPileFlangeWidth = 14.585;
    g.HPileDepth = 13.61;
    g.HPileFlangeThickness = 0.505;
    g.HPileWebThickness = 0.505;
    const double hp = 2.0 * 14.585 * 0.505 + 0.505 * (13.61 - 2.0 * 0.505);
    for (double theta : {0.0, 0.3, Pi / 2.0}) {
        static SliceTable t;
        PrepareSlices(g, theta, t);
        ExpectRel(Sum(t.HPileArea), hp);
        ExpectRel(t.TotalConcreteArea, Circle(36.0) - hp);
    }
    // Two steel cores in a square polygon.
    SectionGeometry c;
    c.Shape = ShapeComposite;
    const double px[] = {0, -20, 20, 20, -20}, py[] = {0, -20, -20, 20, 20};
    c.NumVertices = 4;
    for (std::size_t k = 1; k <= 4; ++k) {
        c.OutlineX[k] = px[k];
        c.OutlineY[k] = py[k];
    }
    c.NumCores = 2;
    c.Cores[1] = SectionCore{8.0, 0.5, -9.0, 3.0, true};
    // Core 2 has no wall: a void, even with a core concrete law.
    c.Cores[2] = SectionCore{6.0, 0.0, 10.0, -10.0, true};
    static SliceTable t;
    PrepareSlices(c, 0.4, t);
    ExpectRel(t.TotalConcreteArea, 1600.0 - Circle(8.0) - Circle(6.0));
    ExpectRel(Sum(t.CoreSteelArea), Circle(8.0) - Circle(7.0));
    ExpectRel(Sum(t.CoreConcreteArea), Circle(7.0));
}

TEST(Slicing, BarAcrossSliceBoundaryKeepsItsArea) {
    SectionGeometry g;
    g.Shape = ShapeRoundPile;
    g.Diameter = 100.0;  // slices 1.0 thick, boundaries at whole numbers
    g.NumBars = 2;
    // Bar 1 centred on the boundary y = 20 (between slices 30 and 31), its
    // diameter that of its area; bar 2 inside slice 61 (y from -10 to -11).
    g.BarX[1] = 0.0, g.BarY[1] = 20.0, g.BarDiameter[1] = std::sqrt(4.0 * 1.56 / Pi), g.BarArea[1] = 1.56;
    g.BarX[2] = 5.0, g.BarY[2] = -10.5, g.BarDiameter[2] = 0.5, g.BarArea[2] = 0.2;
    static SliceTable t;
    PrepareSlices(g, 0.0, t);
    ExpectRel(t.TotalRebarArea, 1.76);
    EXPECT_NEAR(t.RebarArea[30], 0.78, 1e-12);
    EXPECT_NEAR(t.RebarArea[31], 0.78, 1e-12);
    EXPECT_NEAR(t.RebarArea[61], 0.2, 1e-15);
    ExpectRel(t.TotalConcreteArea, Circle(100.0) - 1.76);
    // Turned through any angle the bars still sum to their areas.
    PrepareSlices(g, 1.0, t);
    ExpectRel(t.TotalRebarArea, 1.76);
}

TEST(Slicing, TaperedShaftInterpolatesDiameterAndBarCircle) {
    SectionGeometry g;
    g.Shape = ShapeRoundPile;
    g.Diameter = 36.0;
    g.NumBars = 1;
    g.BarX[1] = 14.0, g.BarY[1] = 0.0, g.BarArea[1] = 1.0, g.BarDiameter[1] = 1.0;
    g.b_Tapered = true;
    g.Taper = TaperDimensions{0.0, 120.0, 36.0, 24.0, 0.0, 0.0, 0.0, 0.0};
    g.BarCircleOffset = 8.0;
    kestro::Run.ErrorNumber = 0;
    SectionGeometry at;
    ASSERT_TRUE(GeometryAtStation(g, 60.0, at));
    ExpectRel(at.Diameter, 30.0);
    ExpectRel(at.BarX[1], 14.0 * (30.0 - 8.0) / (36.0 - 8.0));
    static SliceTable t;
    PrepareSlices(at, 0.0, t);
    ExpectRel(t.TotalConcreteArea, Circle(30.0) - 1.0);

    EXPECT_FALSE(GeometryAtStation(g, -1.0e-9, at));
    EXPECT_EQ(kestro::Run.ErrorNumber, 145);
    kestro::Run.ErrorNumber = 0;
    EXPECT_TRUE(GeometryAtStation(g, 120.0, at));
    EXPECT_FALSE(GeometryAtStation(g, 120.0 * (1.0 + 1e-9), at));
    EXPECT_EQ(kestro::Run.ErrorNumber, 146);
}

TEST(BarPlacement, CircleOfFourAndItsReportBlock) {
    int n = 0;
    BarArray x{}, y{};
    CircularArrangement a;
    ASSERT_TRUE(PlaceBarsOnCircle(36.0, 3.0, 4, 1, 1.128, n, x, y, a));
    ASSERT_EQ(n, 4);
    const double R = (36.0 - 1.128) / 2.0 - 3.0;
    const double wantX[] = {0, R, 0, -R, 0}, wantY[] = {0, 0, R, 0, -R};
    for (std::size_t k = 1; k <= 4; ++k) {
        EXPECT_NEAR(x[k], wantX[k], 1e-12);
        EXPECT_NEAR(y[k], wantY[k], 1e-12);
    }
    EXPECT_NEAR(a.ClearSpacing, R * std::sqrt(2.0) - 1.128, 1e-12);
    Problem.Options.UnitSystem = UnitsUS;
    std::ostringstream out;
    WriteCircularBarPositions(out, a, x, y, n);
    EXPECT_NE(out.str().find("Central Angle Between Reinforcement (center-to-center) =        90.00 deg."),
              std::string::npos)
        << out.str();
    // Two bars per position touch; three add a bar inside the pair.
    ASSERT_TRUE(PlaceBarsOnCircle(36.0, 3.0, 6, 3, 1.0, n, x, y, a));
    EXPECT_EQ(n, 18);
    const double r = (36.0 - 1.0) / 2.0 - 3.0;
    EXPECT_NEAR(std::hypot(x[1] - x[2], y[1] - y[2]), 2.0 * r * std::sin(0.5 / r), 1e-12);
    EXPECT_NEAR(std::hypot(x[3], y[3]), r - 0.8660254037844386, 1e-12);
    // Impossible circles are refused.
    EXPECT_FALSE(PlaceBarsOnCircle(10.0, 5.0, 4, 1, 1.0, n, x, y, a));
    EXPECT_FALSE(PlaceBarsOnCircle(36.0, 3.0, 0, 1, 1.0, n, x, y, a));
    EXPECT_FALSE(PlaceBarsOnCircle(36.0, 3.0, 4, 4, 1.0, n, x, y, a));
}

TEST(BarPlacement, SquareAndRectangleGiveExactlyNBarsWithCorners) {
    for (int count : {4, 5, 6, 7, 8, 12, 13, 16, 22}) {
        int n = 0;
        BarArray x{}, y{};
        ASSERT_TRUE(PlaceBarsOnSquare(14.0, 3.0, count, 0.5, n, x, y)) << count;
        EXPECT_EQ(n, count);
        const double a = (14.0 - 0.5) / 2.0 - 3.0;
        int corners = 0;
        for (std::size_t k = 1; k <= static_cast<std::size_t>(n); ++k) {
            EXPECT_NEAR(std::max(std::fabs(x[k]), std::fabs(y[k])), a, 1e-12);  // on the bar square
            if (std::fabs(std::fabs(x[k]) - a) < 1e-12 && std::fabs(std::fabs(y[k]) - a) < 1e-12) ++corners;
        }
        EXPECT_EQ(corners, 4);
        ASSERT_TRUE(PlaceBarsOnRectangle(24.0, 36.0, 2.0, count, 1.0, n, x, y));
        EXPECT_EQ(n, count);
    }
    int n = 0;
    BarArray x{}, y{};
    EXPECT_FALSE(PlaceBarsOnSquare(14.0, 3.0, 3, 0.5, n, x, y));
}

TEST(SectionInput, SectionsThatCannotBeSlicedEndWithNumberedErrors) {
    struct Case { const char* what; int type; double d, cover, casing; int count; int want; };
    const Case cases[] = {
        {"zero rectangle width", SecRectangularConcrete, 0.0, 3.0, 0.0, 0, 192},
        {"cover larger than the radius", SecDrilledShaft, 36.0, 20.0, 0.0, 8, 193},
        {"more bars than fit", SecDrilledShaft, 12.0, 2.0, 0.0, 60, 193},
        {"casing thicker than the radius", SecCasedShaft, 36.0, 3.0, 18.0, 8, 192},
        {"negative casing", SecCasedShaft, 36.0, 3.0, -1.0, 8, 192},
        {"bars inside the casing wall", SecCasedShaft, 36.0, 0.5, 2.0, 8, 193},
    };
    for (const Case& c : cases) {
        PileSection& S = OneSection(c.type);
        S.PileDiameter = c.d;
        S.RectangleWidth = c.d;
        S.RectangleDepth = 24.0;
        S.CasingThickness = c.casing;
        S.RebarPattern = c.count > 0 ? RebarCircle : RebarPatternNone;
        S.BarCount1 = c.count;
        S.BarCount2 = 1;
        S.CircleBarDiameter = 1.0;
        S.CircleBarArea = 0.79;
        S.Cover = c.cover;
        SectionGeometry g;
        EXPECT_FALSE(BuildSectionGeometry(1, ConcreteNone, g)) << c.what;
        EXPECT_EQ(kestro::Run.ErrorNumber, c.want) << c.what;
    }
    // A listed bar outside a rectangle, and two overlapping listed bars.
    for (double x2 : {30.0, 0.5}) {
        PileSection& S = OneSection(SecRectangularConcrete);
        S.RectangleWidth = 24.0;
        S.RectangleDepth = 36.0;
        S.RebarPattern = RebarNoncircular;
        S.NumBars = 2;
        S.BarDiameter[1] = S.BarDiameter[2] = 1.0;
        S.BarArea[1] = S.BarArea[2] = 0.79;
        S.BarX[2] = x2;
        SectionGeometry g;
        EXPECT_FALSE(BuildSectionGeometry(1, ConcreteNone, g));
        EXPECT_EQ(kestro::Run.ErrorNumber, 193);
    }
}

TEST(Slicing, SquarePrestressedPileWithStrandsOnTheSquare) {
    // 14 in pile, 0.75 in chamfers, 8 half-inch strands (0.153 in^2) on the
    // square pattern, initial strand stress 189 ksi.
    PileSection& S = OneSection(SecSquareSolidPrestressed);
    S.PileDiameter = 14.0;
    S.CornerChamfer = 0.75;
    S.ConcreteStrength = 6000.0;
    S.StrandPositioning = StrandsAuto;
    S.StrandTypeCode = 2;
    S.NumStrands = 8;
    S.StrandUltimateStrength = 270000.0;
    S.StrandStrength2 = 189000.0;
    S.StrandDiameter = 0.5;
    S.StrandPattern = 1;
    const SliceTable& t = Sliced(S.SectionType, 0.0);
    ExpectRel(t.TotalRebarArea, 8.0 * 0.153);
    ExpectRel(t.TotalConcreteArea, 196.0 - 2.0 * 0.75 * 0.75 - 8.0 * 0.153);
    SectionMaterials m;
    ASSERT_TRUE(SetSectionMaterials(1, ConcreteUnconfined, ConcreteNone, m));
    EXPECT_EQ(m.Rebar.Law, RebarLawPci270);
    PrestressInputs in;
    PrestressInputsOf(1, t, m, in);
    ExpectRel(in.InitialForce, 189000.0 * 8.0 * 0.153);
    EXPECT_EQ(in.LossFraction, 0.2);
    ExpectRel(in.StrandModulus, 28500.0);
    ExpectRel(in.ConcreteModulus, 57.0 * std::sqrt(6000.0));
    EXPECT_EQ(in.MomentFactor, 0.32);
    // Strands sit 3 in clear of the faces: the bar square's half side.
    for (std::size_t k = 1; k <= 8; ++k)
        EXPECT_NEAR(std::max(std::fabs(t.BarX[k]), std::fabs(t.BarY[k])), (14.0 - 0.5) / 2.0 - 3.0, 1e-12);
}

TEST(SectionInput, ErrorMessagesNameTheSectionAndTheValue) {
    struct Case { int number, problem; const char* item; double value; const char* want; };
    const Case cases[] = {
        {92, ValueNotPositive, "concrete strength", -4000.0,
         "Problem:  The concrete strength of section 3 is -4000; it must be greater than zero."},
        {92, CodeOutOfRange, "strand type code", 7.0, "Problem:  The strand type code of section 3 is 7; it must be 1 to 6."},
        {93, BarsDoNotFit, "reinforcing bar", 5.0,
         "Problem:  Reinforcing bar 5 of section 3 lies outside the concrete or overlaps another bar."},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        WriteSectionValueError(out, c.number, 3, c.item, c.value, c.problem);
        EXPECT_NE(out.str().find(c.want), std::string::npos) << out.str();
        EXPECT_NE(out.str().find("**** Input Data Error No. " + std::to_string(c.number) + " ****"), std::string::npos);
    }
}
