// Whole runs: a 36 in shaft socketed into weak rock under soft clay, and a
// 24 in pile in liquefied sand over dense sand. Each converges with the mesh,
// balances the head shear, and its soil reactions lie on the published
// curves computed here by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "PileRunSupport.h"
#include "TestSupport.h"

namespace {

using kestro::test::Analyse;
using kestro::test::PileRun;
using Station = kestro::test::StationResult;

// Elastic circular pile (E psi, D in, A sq in, I in^4, L ft), given layers, one head shear.
std::string Input(int increments, double L, double D, double A, double I, const std::string& layers, double shear,
                  const std::string& loading = "STATIC     1") {
    std::ostringstream s;
    s << "KESTRO6\nTITLE\nRock and liquefied sand\n\n\n\n\n"
      << "OPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\n"
      << "UsePYModifiers NO\nComputeEIOnly NO\nLoading " << loading << "\nMaxIterations 500\n"
      << "DeflectionLimit 100.0\nTolerance 1.0E-9\nIncrements " << increments
      << "\nPrintSummaryOnly NO\nPrintIncrement 1\nPrintPYCurves NO\nComputeInteraction NO\n"
      << "SECTIONS\n1\n1\n11\n" << L << "\n1\n3600000.0\n" << D << "\n" << D << "\n" << A << "\n" << A << "\n" << I
      << "\n" << I << "\nSOIL LAYERS\n" << layers << "LOADING\n1\n1  1  " << shear << "  0.0  0.0  1\n0\nEND\n";
    return s.str();
}


// Soft clay 0..10 ft (c 400 psf, 50 pcf, e50 0.02) over weak rock 10..40 ft
// (135 pcf, qu 500 psi, Eir 60 ksi, RQD 50 %, krm 0.0002); 36 in shaft 30 ft long.
const char* SocketLayers = "2\n1  0.0  10.0\n50.0  400.0  0.02\n50.0  400.0  0.02\n"
                           "8  10.0  40.0\n135.0  500.0  60000.0  50.0  2.0E-4\n135.0  500.0  60000.0  50.0  2.0E-4\n";
std::string Socket(int n) { return Input(n, 30.0, 36.0, 1017.876, 82448.0, SocketLayers, 60000.0); }

// Liquefied sand 0..15 ft (55 pcf) over API sand 15..60 ft (62 pcf, 38 deg, k 225 pci); 24 in pile 45 ft long.
const char* LiquefiedLayers = "2\n7  0.0  15.0\n55.0\n55.0\n6  15.0  60.0\n62.0  38.0  225.0\n62.0  38.0  225.0\n";
std::string Liquefied(int n) { return Input(n, 45.0, 24.0, 452.3893, 16286.0, LiquefiedLayers, 8000.0); }

// Published curves, US units (p lb/in, y in, x in).
double SoftClayP(double x, double y) {
    const double c = 400.0 / 144.0, g = 50.0 / 1728.0, b = 36.0, y50 = 2.5 * 0.02 * b;
    const double pu = std::min((3.0 + g * x / c + 0.5 * x / b) * c * b, 9.0 * c * b);
    return y >= 8.0 * y50 ? pu : 0.5 * pu * std::cbrt(y / y50);
}
double WeakRockP(double x, double y) {
    const double b = 36.0, qu = 500.0, eir = 60000.0, xr = x - 120.0, ar = 1.0 - 2.0 * 50.0 / 300.0;
    const double pur = xr <= 3.0 * b ? ar * qu * b * (1.0 + 1.4 * xr / b) : 5.2 * ar * qu * b;
    const double kir = xr <= 3.0 * b ? eir * (100.0 + 400.0 * xr / (3.0 * b)) : 500.0 * eir;
    const double yrm = 2.0e-4 * b;
    const double ya = std::pow(pur / (2.0 * std::pow(yrm, 0.25) * kir), static_cast<double>(1.3329999f));
    return y < ya ? kir * y : std::min(pur, 0.5 * pur * std::pow(y / yrm, 0.25));
}
double LiquefiedP(double x, double y) {
    // s = gamma' z / 0.036 pci * 0.0254 + 1; p = 5.7101474 A (25.4 B y)^C Pd, at most the value at 150 mm
    const double g = 55.0 / 1728.0, s = (x > 1e-7 ? g * x : g * 1e-4) / 0.036 * 0.0254 + 1.0;
    const double A = 3.0e-7 * std::pow(s, 6.05), B = 2.80 * std::pow(s, 0.11), C = 2.85 * std::pow(s, -0.41);
    const double pd = 3.81 * std::log(24.0 * 0.0254) + 5.6, kn = 1000.0 / 4.4482216152605 / 39.37007874015748;
    const double pu = std::min(static_cast<double>(85.652214f), kn * A * std::pow(150.0 * B, C) * pd);
    return std::min(pu, kn * A * std::pow(25.4 * B * y, C) * pd);
}

struct Case {
    const char* Name;
    std::string (*Make)(int);
    double Shear;
    double (*Upper)(double, double);   // curve of the upper layer
    double (*Lower)(double, double);   // curve of the lower layer (nullptr: not checked)
    double Interface;                  // in
};

class RockSiltPile : public testing::TestWithParam<Case> {};

TEST_P(RockSiltPile, ConvergesBalancesAndFollowsTheCurves) {
    const Case& c = GetParam();
    std::vector<PileRun> runs;
    for (int n : {50, 100, 200, 400}) {
        runs.push_back(Analyse(c.Make(n)));
        const PileRun& r = runs.back();
        ASSERT_EQ(r.Result, 0) << c.Name << " n = " << n;
        ASSERT_EQ(r.Stations.size(), static_cast<std::size_t>(n + 1));
        kestro::test::ExpectSoilEquilibrium(r, c.Shear, 0.02, 0.01, std::string(c.Name) + " n = " + std::to_string(n));
        std::printf("%-16s n = %3d  y_top = %.6f in  M_max = %.1f lb-in\n", c.Name, n, r.TopY, r.Mmax);
        // soil reactions on the hand-computed curves (0.2 %), opposing the deflection
        int checked = 0;
        for (const Station& s : r.Stations) {
            const double y = std::fabs(s.Y);
            if (y < 1e-4 || std::fabs(s.X - c.Interface) < 1e-6) continue;
            const bool upper = s.X < c.Interface;
            if (!upper && c.Lower == nullptr) continue;
            const double p = upper ? c.Upper(s.X, y) : c.Lower(s.X, y);
            EXPECT_NEAR(std::fabs(s.P), p, 2e-3 * p + 1e-9) << c.Name << " n = " << n << " x = " << s.X;
            EXPECT_LE(s.P * s.Y, 0.0) << "x = " << s.X;
            ++checked;
        }
        EXPECT_GT(checked, n / 5) << c.Name;
    }
    EXPECT_LT(std::fabs(runs[3].TopY - runs[2].TopY), std::fabs(runs[1].TopY - runs[0].TopY)) << c.Name;
    EXPECT_LT(std::fabs(runs[3].TopY - runs[2].TopY) / runs[3].TopY, 1e-2) << c.Name;
    EXPECT_LT(std::fabs(runs[3].Mmax - runs[2].Mmax) / runs[3].Mmax, 1e-2) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(Runs, RockSiltPile,
                         testing::Values(Case{"RockSocket", Socket, 60000.0, SoftClayP, WeakRockP, 120.0},
                                         Case{"LiquefiedSand", Liquefied, 8000.0, LiquefiedP, nullptr, 180.0}),
                         [](const testing::TestParamInfo<Case>& p) { return std::string(p.param.Name); });


// Bad input ends the run with the criterion's numbered error, its text in the
// files it belongs in, and never a result.
struct BadInput {
    const char* Name;
    const char* Layers;
    const char* Loading;
    const char* Code;
    const char* Block;
    bool InReport, InMessages;
};

class RockSiltBadInput : public testing::TestWithParam<BadInput> {};

TEST_P(RockSiltBadInput, StopsWithItsError) {
    const BadInput& c = GetParam();
    const kestro::test::RunOutput out =
        kestro::test::RunInput(Input(100, 30.0, 36.0, 1017.876, 82448.0, c.Layers, 60000.0, c.Loading));
    EXPECT_NE(out.Report.find(std::string("Kestro ended prematurely due to input error number ") + c.Code),
              std::string::npos)
        << c.Name << "\n" << out.Report.substr(out.Report.size() > 3000 ? out.Report.size() - 3000 : 0);
    EXPECT_NE(out.Messages.find("The analysis ended due to an error."), std::string::npos) << c.Name;
    EXPECT_EQ(out.Report.find(c.Block) != std::string::npos, c.InReport) << c.Name;
    EXPECT_EQ(out.Messages.find(c.Block) != std::string::npos, c.InMessages) << c.Name << "\n" << out.Messages;
    EXPECT_EQ(out.Plot.find("Line 10("), std::string::npos) << c.Name << ": no results after an error";
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RockSiltBadInput,
    testing::Values(
        BadInput{"RqdAbove100", "1\n8  0.0  40.0\n135.0  500.0  60000.0  120.0  2.0E-4\n135.0  500.0  60000.0  120.0  2.0E-4\n",
                 // Caught where it is read, before any interpolation.
                 "STATIC     1", "INP00032",
                 "**** Input Data Error No. 32 ****\n\n"
                 "Problem:  The value of RQD (%) at the top of soil layer 1 on line 41 is 120, outside its "
                 "physical range: from 0 to 100.\n",
                 true, true},
        BadInput{"ZeroQu", "1\n8  0.0  40.0\n135.0  0.0  60000.0  50.0  2.0E-4\n135.0  0.0  60000.0  50.0  2.0E-4\n",
                 "STATIC     1", "INP00062",
                 "**** Input Data Error No. 62 ****\n\n"
                 "Problem:   The input value for compressive strength is less than or equal to zero.\n\n"
                 "Solution:  Check the input values for layer 1\n",
                 false, true},
        BadInput{"ZeroKrm", "1\n8  0.0  40.0\n135.0  500.0  60000.0  50.0  0.0\n135.0  500.0  60000.0  50.0  0.0\n",
                 "STATIC     1", "INP00163",
                 "**** Input Data Error No. 63 ****\n\n"
                 "Problem:  The input value for k_rm for weak rock is less than or equal to zero.\n\n"
                 "Solution: Check the input values for layer 1\n",
                 false, true},
        BadInput{"ZeroRockModulus", "1\n8  0.0  40.0\n135.0  500.0  0.0  50.0  2.0E-4\n135.0  500.0  0.0  50.0  2.0E-4\n",
                 "STATIC     1", "INP00076", "**** Input Data Error No. 76 ****\n\n"
                 "Problem:  The rock mass modulus Eir of weak rock layer 1 is   0.0000E+00 at the depth   0.0000E+00.\n",
                 true, true},
        BadInput{"ZeroConeResistance", "1\n12  0.0  40.0\n95.0  0.0\n100.0  0.0\n", "STATIC     1", "INP00077",
                 "**** Input Data Error No. 77 ****\n\n"
                 "Problem:  The cone tip resistance of loess layer 1 is   0.0000E+00 at its top and   0.0000E+00 at its bottom.\n",
                 true, true},
        BadInput{"LoessElevenCycles", "1\n12  0.0  40.0\n95.0  250.0\n100.0  450.0\n", "CYCLIC    11", "INP00170",
                 "\n\n**** Input Data Error No. 70 ****\n\n"
                 "PROBLEM: Soil layer 1 is a loess and the input value for the number of cycles of loading =         11.0\n"
                 "This value is greater than 10. The soil model for loess is valid only for 1 to 10 cycles of loading. \n"
                 "SOLUTION: Revise the input data so that the number of cycles of loading is in the range of 1 to 10.\n\n",
                 true, false},
        BadInput{"SiltWithoutCohesion", "1\n11  0.0  40.0\n115.0  0.0  30.0  0.0  0.007\n118.0  0.0  30.0  0.0  0.007\n",
                 "STATIC     1", "INP00048",
                 "**** Input Data Error No. 48 ****\n\n"
                 "Problem: A negative or zero value of cohesion was input for \na soil defined as a silt.\n"
                 "Layer = 1, Depth =    3.60000000, c =  0.000E+00\n\n"
                 "Solution:  Please revise and correct the input data.  \n"
                 "Both cohesion and friction angle should be non-zero for silt soils.\n",
                 true, true},
        BadInput{"SiltWithoutFriction", "1\n11  0.0  40.0\n115.0  400.0  0.0  0.0  0.007\n118.0  600.0  0.0  0.0  0.007\n",
                 "STATIC     1", "INP00010",
                 "**** Input Data Error No. 10 ****\n\n"
                 "Problem:  A negative or zero value was input for the friction angle for a silt.\n\n"
                 "Solution:  Please revise and correct the input data.  \n"
                 "Both cohesion and friction angle must be non-zero for the cemented silt soil.\n",
                 true, true},
        // qu of zero where two rock layers meet: the interface station has no curve shape
        BadInput{"RockStrengthZeroAtInterface",
                 "2\n8  0.0  15.0\n135.0  500.0  60000.0  50.0  2.0E-4\n135.0  0.0  60000.0  50.0  2.0E-4\n"
                 "8  15.0  40.0\n135.0  0.0  60000.0  50.0  2.0E-4\n135.0  500.0  60000.0  50.0  2.0E-4\n",
                 "STATIC     1", "INP00016",
                 "**** Input Data Error No. 16 ****\n\n"
                 "An error was detected when computing the p-y curve for weak rock.\n"
                 "Problem:   The input value for the compressive strength of a weak rock was \n"
                 "           input as negative or zero (0).\n",
                 true, true}),
    [](const testing::TestParamInfo<BadInput>& p) { return std::string(p.param.Name); });


// The same physical problem in US customary and SI input gives the same pile
// response: the criteria's unit-dependent constants and the input conversions
// agree end to end.
struct UnitCase {
    const char* Name;
    int Type;
    // the layer's parameter line in US units (values) and their factors to SI
    std::vector<double> Us, ToSi;
};

class RockSiltUnits : public testing::TestWithParam<UnitCase> {};

std::string UnitInput(const UnitCase& c, bool si) {
    const double in = 0.0254, ft = 0.3048, lb = 4.4482216152605e-3, psi = lb / (in * in);
    const double L = 30.0, D = 36.0, E = 3.6e6, A = 1017.876, I = 82448.0, V = 60000.0;
    std::ostringstream s;
    s.precision(17);
    s << "KESTRO6\nTITLE\nUnits\n\n\n\n\nOPTIONS\nUnits " << (si ? "SI" : "USCS")
      << "\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
      << "ComputeEIOnly NO\nLoading STATIC     1\nMaxIterations 500\nDeflectionLimit " << (si ? 100.0 * in : 100.0)
      << "\nTolerance " << (si ? 1.0e-9 * in : 1.0e-9) << "\nIncrements 100\nPrintSummaryOnly NO\nPrintIncrement 1\n"
      << "PrintPYCurves NO\nComputeInteraction NO\nSECTIONS\n1\n1\n11\n" << (si ? L * ft : L) << "\n1\n"
      << (si ? E * psi : E) << "\n";
    for (int k = 0; k < 2; ++k) s << (si ? D * 25.4 : D) << "\n";
    for (int k = 0; k < 2; ++k) s << (si ? A * 25.4 * 25.4 : A) << "\n";
    for (int k = 0; k < 2; ++k) s << (si ? I * std::pow(25.4, 4) : I) << "\n";
    s << "SOIL LAYERS\n1\n" << c.Type << "  0.0  " << (si ? 40.0 * ft : 40.0) << "\n";
    for (int k = 0; k < 2; ++k) {
        for (std::size_t j = 0; j < c.Us.size(); ++j) s << (si ? c.Us[j] * c.ToSi[j] : c.Us[j]) << "  ";
        s << "\n";
    }
    s << "LOADING\n1\n1  1  " << (si ? V * lb : V) << "  0.0  0.0  1\n0\nEND\n";
    return s.str();
}

TEST_P(RockSiltUnits, UsAndSiGiveTheSameResponse) {
    const UnitCase& c = GetParam();
    const PileRun us = Analyse(UnitInput(c, false)), si = Analyse(UnitInput(c, true));
    ASSERT_EQ(us.Result, 0) << c.Name;
    ASSERT_EQ(si.Result, 0) << c.Name;
    const double in = 0.0254, lbin = 4.4482216152605e-3 * in;   // lb-in in kN-m
    EXPECT_NEAR(si.TopY / in, us.TopY, 1e-6 * us.TopY) << c.Name;
    EXPECT_NEAR(si.Mmax / lbin, us.Mmax, 1e-6 * std::fabs(us.Mmax)) << c.Name;
}

// unit weight pcf, psf, psi and pci to kN/m3, kPa and kN/m3
constexpr double Pcf = 4.4482216152605e-3 / (0.3048 * 0.3048 * 0.3048);
constexpr double Psf = 4.4482216152605e-3 / (0.3048 * 0.3048);
constexpr double Psi = 4.4482216152605e-3 / (0.0254 * 0.0254);
constexpr double Pci = 4.4482216152605e-3 / (0.0254 * 0.0254 * 0.0254);

INSTANTIATE_TEST_SUITE_P(
    Units, RockSiltUnits,
    testing::Values(UnitCase{"WeakRock", 8, {135.0, 500.0, 60000.0, 50.0, 2.0e-4}, {Pcf, Psi, Psi, 1.0, 1.0}},
                    UnitCase{"Loess", 12, {95.0, 300.0}, {Pcf, Psi}},
                    UnitCase{"CementedSilt", 11, {115.0, 500.0, 32.0, 300.0, 0.007}, {Pcf, Psf, 1.0, Pci, 1.0}}),
    [](const testing::TestParamInfo<UnitCase>& p) { return std::string(p.param.Name); });


// The printed curve of each criterion reaches the plot file as one Line 7
// record and 17 Line 8 records with the criterion's labels and columns.
struct PlotCase {
    const char* Name;
    const char* Layers;
    const char* Line7;
    const char* Line8Point1;   // the Line 8 record's text from its label on
    std::size_t Line8Column;   // zero-based column of "Line 8("
};

class RockSiltPlot : public testing::TestWithParam<PlotCase> {};

TEST_P(RockSiltPlot, PrintedCurveRecords) {
    const PlotCase& c = GetParam();
    std::string input = Input(100, 30.0, 36.0, 1017.876, 82448.0, c.Layers, 20000.0);
    input.replace(input.find("PrintPYCurves NO"), 16, "PrintPYCurves YES");
    input.replace(input.rfind("END\n"), 4, "DEPTHS OF PRINTED P-Y CURVES\n1\n1  6.0\nEND\n");
    const kestro::test::RunOutput out = kestro::test::RunInput(input);
    ASSERT_EQ(out.Result, 0) << c.Name;
    const std::string line7 = std::string("Line 7:  p-y curve depth in ") + c.Line7 + ", no. p-y points on curve no. 1\n";
    EXPECT_NE(out.Plot.find("  7.2000000E+01   17" + std::string(60, ' ') + line7), std::string::npos)
        << c.Name << "\n" << out.Plot.substr(0, 2000);
    std::istringstream plot(out.Plot);
    std::string line;
    int records = 0;
    while (std::getline(plot, line)) {
        const std::size_t at = line.find("Line 8(");
        if (at == std::string::npos) continue;
        ++records;
        EXPECT_EQ(at, c.Line8Column) << c.Name << ": " << line;
        if (records == 1) {
            EXPECT_EQ(line.substr(at), c.Line8Point1) << c.Name;
        }
    }
    EXPECT_EQ(records, 17) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Plot, RockSiltPlot,
    testing::Values(
        PlotCase{"WeakRock", "1\n8  0.0  40.0\n135.0  500.0  60000.0  50.0  2.0E-4\n135.0  500.0  60000.0  50.0  2.0E-4\n",
                 "weak rock", "Line 8( 1): y, p, for weak rock", 80},
        PlotCase{"LiquefiedSand", "2\n7  0.0  15.0\n55.0\n55.0\n6  15.0  60.0\n62.0  38.0  225.0\n62.0  38.0  225.0\n",
                 "liquefied sand", "Line 8( 1): y, p, for liquefied sand", 50},
        PlotCase{"Loess", "1\n12  0.0  40.0\n95.0  250.0\n100.0  450.0\n", "loess", "Line 8(1): y, p, for Loess", 80},
        PlotCase{"CementedSilt", "1\n11  0.0  40.0\n115.0  500.0  32.0  300.0  0.007\n115.0  500.0  32.0  300.0  0.007\n",
                 "cemented silt", "Line 8( 1): y, p, for cemented c-phi", 80}),
    [](const testing::TestParamInfo<PlotCase>& p) { return std::string(p.param.Name); });

}  // namespace
