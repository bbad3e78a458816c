// kestro pushover and kestro springs: the first plastic hinge of a long
// elastic-plastic pile against the closed form of the beam on an elastic
// foundation, the exported secant springs fed back as straight user p-y lines,
// the head stiffness of a long pile, and the options that are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "CliTestSupport.h"
#include "PileRunSupport.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using kestro::test::ReadText;
using kestro::test::ScratchDir;
using kestro::test::WriteText;

namespace {

using kestro::test::CliRun;
using kestro::test::RunCli;

// A 24 in circular pile, E = 3,600 ksi, I = 16,286 in^4, 100 ft long, head at
// the ground, in an elastic subgrade of 100 pci (Es = 2,400 psi); section
// type 12 with the plastic moment mp (in-lbs); one free-head case of 10 kips.
constexpr double E = 3.6e6, I = 16286.0, Es = 2400.0, Shear = 10000.0;
std::string LongPile(int increments, double mp) {
    std::ostringstream s;
    s << "KESTRO6\nTITLE\nLong elastic-plastic pile on an elastic subgrade\n\n\n\n\n"
      << "OPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\n"
      << "UsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     1\nMaxIterations 100\nDeflectionLimit 100.0\n"
      << "Tolerance 1.0E-6\nIncrements " << increments
      << "\nPrintSummaryOnly YES\nPrintIncrement 5\nPrintPYCurves NO\nComputeInteraction NO\n"
      << "SECTIONS\n1\n1\n" << (mp > 0.0 ? 12 : 11) << "\n100.0\n1\n3600000.0\n";
    if (mp > 0.0) s << mp << "\n" << mp << "\n";
    s << "24.0\n24.0\n452.3893\n452.3893\n16286.0\n16286.0\n"
      << "SOIL LAYERS\n1\n13  0.0  110.0\n110.0  100.0\n110.0  100.0\n"
      << "LOADING\n1\n1  1  10000.0  0.0  0.0  1\n0\nEND\n";
    return s.str();
}

nlohmann::json ReadJson(const std::string& path) { return nlohmann::json::parse(ReadText(path)); }

std::vector<std::vector<double>> ReadCsv(const std::string& path) {
    std::istringstream in(ReadText(path));
    std::string line;
    std::getline(in, line);  // header
    std::vector<std::vector<double>> rows;
    while (std::getline(in, line)) {
        std::vector<double> row;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, ',')) row.push_back(std::stod(cell));
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

// The long pile's largest moment is M_max = H / beta * exp(-pi/4) sin(pi/4)
// = 0.3224 H / beta (free head, no head moment), beta = (Es / 4 E I)^(1/4):
// the first hinge forms at H = Mp beta / 0.3224. The error of the finite
// differences falls as the increments shrink; before the hinge the curve is a
// straight line through the origin (linear springs, elastic pile).
TEST(Pushover, FirstHingeOfLongElasticPlasticPileMatchesClosedForm) {
    const double beta = std::pow(Es / (4.0 * E * I), 0.25);
    const double mp = 3.0e6;
    const double hClosed = mp * beta / (std::exp(-M_PI / 4.0) * std::sin(M_PI / 4.0));
    struct Row {
        int Increments;
        double Tolerance;  // relative error of the hinge load allowed at this mesh
    };
    double lastError = 1.0;
    for (const Row& row : {Row{100, 1.2e-2}, Row{200, 2e-3}, Row{400, 5e-4}}) {
        SCOPED_TRACE(row.Increments);
        const std::string dir = ScratchDir();
        WriteText(dir + "/pile.kin", LongPile(row.Increments, mp));
        const CliRun r = RunCli({"pushover", dir + "/pile.kin", "--steps", "4"});
        ASSERT_EQ(r.Status, 0) << r.Err;
        const nlohmann::json j = ReadJson(dir + "/pile-pushover/pile-pushover.json");
        ASSERT_EQ(j["end"]["reason"], "first_hinge") << j["end"]["text"];
        const double h = j["first_hinge"]["head_shear"].get<double>();
        const double error = std::fabs(h - hClosed) / hClosed;
        EXPECT_LT(error, row.Tolerance) << "hinge at " << h << " lbs, closed form " << hClosed;
        // Second order: halving the increment divides the error by about four.
        EXPECT_LT(error, lastError / 3.0);
        lastError = error;
        EXPECT_NEAR(j["first_hinge"]["moment_capacity"].get<double>(), mp, 1e-6 * mp);
        EXPECT_NEAR(std::fabs(j["first_hinge"]["load_factor"].get<double>()) * Shear, h, 1e-6 * h);
        // A straight line up to the hinge: the same V / y at every point.
        const auto& pts = j["points"];
        ASSERT_GE(pts.size(), 10u);
        const double k0 = pts[1]["head_shear"].get<double>() / pts[1]["head_deflection"].get<double>();
        for (std::size_t i = 1; i < pts.size(); ++i)
            EXPECT_NEAR(pts[i]["head_shear"].get<double>() / pts[i]["head_deflection"].get<double>(), k0, 1e-6 * k0);
        // The load at 0.25 in read off the straight line.
        const auto& at = j["loads_at_deflections"][0];
        EXPECT_EQ(at["head_deflection"].get<double>(), 0.25);
        EXPECT_NEAR(at["head_shear"].get<double>(), 0.25 * k0, 1e-6 * 0.25 * k0);
        // The CSV holds the same points in kip and in; the page and the report exist.
        const auto csv = ReadCsv(dir + "/pile-pushover/pile-pushover.csv");
        ASSERT_EQ(csv.size(), pts.size());
        EXPECT_NEAR(csv.back()[1], pts.back()["head_shear"].get<double>() / 1000.0, 1e-6 * csv.back()[1]);
        EXPECT_NE(ReadText(dir + "/pile-pushover/pile-pushover.html").find("First plastic hinge"), std::string::npos);
        EXPECT_NE(ReadText(dir + "/pile-pushover/pile-pushover.txt").find("first plastic hinge"), std::string::npos);
    }
}

// The other ends of a curve: a head deflection asked for, the deflection
// limit of the input (an elastic pile without capacity), each an exit 0.
TEST(Pushover, CurveEndsAtTheDeflectionAskedForOrTheLimit) {
    struct Row {
        std::vector<std::string> Options;
        double DeflectionLimit;
        const char* Reason;
        double LastDeflection;  // in; 0: not checked
    };
    for (const Row& row : {Row{{"--to-deflection", "0.5"}, 100.0, "target_deflection", 0.5},
                           Row{{"--steps", "1"}, 1.0, "deflection_limit", 0.0}}) {
        SCOPED_TRACE(row.Reason);
        const std::string dir = ScratchDir();
        std::string input = LongPile(100, 0.0);
        input.replace(input.find("DeflectionLimit 100.0"), 21, "DeflectionLimit " + std::to_string(row.DeflectionLimit));
        WriteText(dir + "/pile.kin", input);
        std::vector<std::string> args{"pushover", dir + "/pile.kin"};
        args.insert(args.end(), row.Options.begin(), row.Options.end());
        const CliRun r = RunCli(args);
        ASSERT_EQ(r.Status, 0) << r.Err;
        const nlohmann::json j = ReadJson(dir + "/pile-pushover/pile-pushover.json");
        EXPECT_EQ(j["end"]["reason"], row.Reason) << j["end"]["text"];
        EXPECT_TRUE(j["first_hinge"].is_null());
        const double y = std::fabs(j["points"].back()["head_deflection"].get<double>());
        if (row.LastDeflection > 0.0) {
            EXPECT_NEAR(y, row.LastDeflection, 1e-6);
        }
        // The last converged point lies just below the limit, within a few
        // thousandths of a load step.
        if (row.LastDeflection == 0.0) {
            EXPECT_LT(y, row.DeflectionLimit);
            EXPECT_GT(y, row.DeflectionLimit * 0.999);
        }
    }
}

// The secant springs of a nonlinear soil, fed back as straight user p-y lines
// (one layer between each pair of stations, written here from the CSV), give
// the load case's head deflection and largest moment back within 0.1 %.
TEST(Springs, SecantSpringsFedBackReproduceTheLoadCase) {
    struct Row {
        std::string Example;
        bool Si;
    };
    for (const Row& row : {Row{"soft-clay-elastic-pile.kin", false}, Row{"sand-reese-static-si.kin", true}}) {
        SCOPED_TRACE(row.Example);
        const std::string dir = ScratchDir();
        std::string input = ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/" + row.Example);
        const std::size_t inc = input.find("Increments ");
        ASSERT_NE(inc, std::string::npos);
        input.replace(inc, input.find('\n', inc) - inc, "Increments 40");
        WriteText(dir + "/case.kin", input);
        // Analyse keeps the last load case, case 2, whose springs are exported.
        const kestro::test::PileRun original = kestro::test::Analyse(input);
        ASSERT_EQ(original.Result, 0);

        const CliRun r = RunCli({"springs", dir + "/case.kin", "--case", "2"});
        ASSERT_EQ(r.Status, 0) << r.Err;
        const auto rows = ReadCsv(dir + "/case-springs/case-springs.csv");
        ASSERT_EQ(rows.size(), 41u);
        // Columns: station, depth, y, p, secant Es, tangent Es, tributary
        // length, secant spring, tangent spring.
        for (const auto& s : rows) {
            if (s[2] != 0.0) {
                EXPECT_NEAR(s[4], -s[3] / s[2], 1e-9 * std::fabs(s[4]) + 1e-12);
            }
            EXPECT_NEAR(s[7], s[4] * s[6], 1e-9 * std::fabs(s[7]) + 1e-9);
        }

        // The pile with the springs as straight lines: depths in ft (m), the
        // deflection of the last point far beyond any station's.
        const double toLayer = row.Si ? 1.0 : 12.0;
        std::ostringstream layers;
        layers << "SOIL LAYERS\n" << rows.size() - 1 << "\n";
        for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
            const double bottom = rows[i + 1][1] / toLayer + (i + 2 == rows.size() ? 1.0 : 0.0);
            layers << "14  " << std::setprecision(17) << rows[i][1] / toLayer << "  " << bottom << "\n";
            for (std::size_t end : {i, i + 1}) {
                const double y = 10.0;
                layers << (row.Si ? 18.0 : 110.0) << "  2\n0.0  0.0\n" << y << "  " << rows[end][4] * y << "\n";
            }
        }
        std::string linear = input;
        const std::size_t from = linear.find("SOIL LAYERS"), to = linear.find("LOADING");
        linear.replace(from, to - from, layers.str());
        const kestro::test::PileRun fed = kestro::test::Analyse(linear);
        ASSERT_EQ(fed.Result, 0);
        EXPECT_NEAR(fed.TopY, original.TopY, 1e-3 * std::fabs(original.TopY));
        EXPECT_NEAR(fed.Mmax, original.Mmax, 1e-3 * std::fabs(original.Mmax));
        EXPECT_NE(ReadText(dir + "/case-springs/case-springs.tcl").find("element zeroLength"), std::string::npos);
    }
}

// Head stiffness of a long pile on uniform springs: K22 = 4 E I beta^3 (shear
// per deflection at zero rotation), K23 = K32 = 2 E I beta^2, K33 = 2 E I beta.
TEST(Springs, HeadStiffnessOfLongPileMatchesClosedForm) {
    const double beta = std::pow(Es / (4.0 * E * I), 0.25);
    const double ei = E * I;
    const std::string dir = ScratchDir();
    WriteText(dir + "/pile.kin", LongPile(400, 0.0));
    const CliRun r = RunCli({"springs", dir + "/pile.kin"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto head = ReadCsv(dir + "/pile-springs/pile-head-stiffness.csv");
    ASSERT_EQ(head.size(), 1u);
    ASSERT_EQ(head[0].size(), 9u);
    const double expected[] = {4.0 * ei * std::pow(beta, 3), 2.0 * ei * beta * beta, 2.0 * ei * beta * beta,
                               2.0 * ei * beta};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(head[0][5 + k], expected[k], 5e-3 * expected[k]) << "term " << k;
}

TEST(Pushover, BadOptionsAreUsageErrorsNamingTheOption) {
    const std::string dir = ScratchDir();
    WriteText(dir + "/pile.kin", LongPile(40, 0.0));
    const std::string in = dir + "/pile.kin";
    struct Row {
        std::vector<std::string> Args;
        int Status;
        const char* Says;
    };
    for (const Row& row : std::vector<Row>{
             {{"pushover", in, "--case", "2"}, 64, "--case 2: the input has 1 load case"},
             {{"pushover", in, "--case", "0"}, 64, "--case takes a whole number greater than zero"},
             {{"pushover", in, "--steps", "0"}, 64, "--steps takes a whole number greater than zero"},
             {{"pushover", in, "--steps", "-3"}, 64, "--steps takes"},
             {{"pushover", in, "--steps", "ten"}, 64, "not 'ten'"},
             {{"pushover", in, "--to-deflection", "-1"}, 64, "--to-deflection takes a head deflection greater"},
             {{"pushover", in, "--to-deflection", "1in"}, 64, "not '1in'"},
             {{"pushover", in, "--steps"}, 64, "option '--steps' needs a value"},
             {{"pushover", in, "--bogus"}, 64, "unknown option '--bogus'"},
             {{"pushover"}, 64, "no input file given"},
             {{"pushover", dir + "/missing.kin"}, 66, "cannot read input file"},
             {{"springs", in, "--case", "x"}, 64, "--case takes a whole number"},
             {{"springs", in, "--steps", "3"}, 64, "unknown option '--steps'"},
         }) {
        SCOPED_TRACE(row.Args.back());
        const CliRun r = RunCli(row.Args);
        EXPECT_EQ(r.Status, row.Status);
        EXPECT_NE(r.Err.find(row.Says), std::string::npos) << r.Err;
    }
}
