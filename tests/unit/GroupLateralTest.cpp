// Pile groups whose piles are answered by the p-y lateral analysis: a group of
// one pile against the single-pile run of the same input, p-multipliers
// against the single pile's own group-effect table, symmetry, the order of
// the rows' shears, cap equilibrium recomputed here from the pile head
// forces, and the deflection-limit error.

#include <algorithm>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstddef>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "TestSupport.h"
#include "axial/AxialModel.h"
#include "group/GroupInput.h"
#include "group/LateralModel.h"
#include "model/PileModel.h"

using namespace kestro;
using namespace kestro::group;
using namespace kestro::test;

namespace {

constexpr double Pi = 3.14159265358979323846;

// A 24 in elastic concrete pile, 50 ft long, in submerged sand (lbs, in), with a
// tight iteration tolerance so that both analyses converge far below the
// differences tested. `loading` is the LOADING section's body, `extra` any
// sections added before END.
std::string LateralInput(const std::string& loading, const std::string& extra = "",
                      const std::string& modifiers = "NO") {
    return "KESTRO6\nTITLE\nGroup test pile\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\n"
           "UseTipShear NO\nUseSoilMovement NO\nUsePYModifiers " +
           modifiers +
           "\nComputeEIOnly NO\nLoading STATIC     1\nMaxIterations 200\nDeflectionLimit 20.0\n"
           "Tolerance 1.0E-8\nIncrements 100\nPrintSummaryOnly YES\nPrintIncrement 5\nPrintPYCurves NO\n"
           "ComputeInteraction NO\n"
           "SECTIONS\n1\n1\n11\n50.0\n1\n3600000.0\n24.0\n24.0\n452.3893\n452.3893\n16286.0\n16286.0\n"
           "SOIL LAYERS\n1\n6  0.0  60.0\n60.0  32.0  0.0\n62.0  35.0  0.0\n"
           "LOADING\n" +
           loading + "0\n" + extra + "END\n";
}

std::string AxialSection(double headLoad) {
    return "AXIAL ANALYSIS\nPipeTip CLOSED\nResidualRatio 0.9\nCapacityFraction 0.5\nCurveSteps 20\n1\n1  " +
           std::to_string(headLoad) + "\n0\n";
}

GroupModel ReadModel(const std::string& group, const std::string& lateral) {
    GroupModel m;
    std::string error;
    EXPECT_EQ(ReadGroup(group, m, error), 0) << error;
    m.LateralText = lateral;
    return m;
}

// Cap equilibrium recomputed from the pile head forces in pile axes with the
// statics of each pile written here (to the documented tolerance of a group
// of p-y piles, 1E-6): H = N sin b + Q cos b,
// V = N cos b - Q sin b, M = V x - H z + Mh.
void ExpectCapEquilibrium(const GroupModel& m, const CaseResult& c, const std::string& what) {
    ASSERT_EQ(c.Solution.Error, 0) << what;
    double H = 0.0, V = 0.0, M = 0.0, scale = 0.0;
    for (std::size_t i = 0; i < m.Piles.size(); ++i) {
        const double b = m.Piles[i].BatterDegrees * Pi / 180.0;
        const Vector3& f = c.Solution.State.HeadForce[i];
        const double h = f[0] * std::sin(b) + f[1] * std::cos(b);
        const double v = f[0] * std::cos(b) - f[1] * std::sin(b);
        H += h;
        V += v;
        M += v * m.Piles[i].X - h * m.Piles[i].Z + f[2];
        scale = std::max({scale, std::fabs(f[0]), std::fabs(f[1])});
    }
    double L = 1.0;
    for (const group::PileInput& p : m.Piles) L = std::max({L, std::fabs(p.X), std::fabs(p.Z)});
    scale = std::max({scale, std::fabs(c.Given[0]), std::fabs(c.Given[1]), std::fabs(c.Given[2]) / L});
    EXPECT_LE(std::fabs(H - c.Given[0]), 1.0E-6 * scale) << what;
    EXPECT_LE(std::fabs(V - c.Given[1]), 1.0E-6 * scale) << what;
    EXPECT_LE(std::fabs(M - c.Given[2]), 1.0E-6 * scale * L) << what;
}

// A group of one vertical pile against the single-pile run of the same input:
// free head (cap moment 0, load type 1), and the head held against rotation
// (cap moment = the head moment the fixed-head run needs, load type 2 with
// slope 0: the cap must not turn). The settlement against the axial analysis
// of the same input under the same head load.
TEST(GroupLateral, OnePileEqualsTheSinglePileAnalyses) {
    struct Case {
        const char* Name;
        int LoadType;     // of the single-pile run: 1 free head, 2 zero slope
        double H, V;
        bool PinnedPair;  // two pinned piles side by side under twice the load
    };
    const Case cases[] = {{"free head, small", 1, 5000.0, 80000.0, false},
                          {"free head, large", 1, 30000.0, 150000.0, false},
                          {"held head", 2, 30000.0, 150000.0, false},
                          {"free head, reversed", 1, -20000.0, 100000.0, false},
                          {"pinned pair", 1, 30000.0, 150000.0, true}};
    for (const Case& k : cases) {
        const std::string single =
            LateralInput("1\n1  " + std::to_string(k.LoadType) + "  " + std::to_string(k.H) + "  0.0  " +
                          std::to_string(k.V) + "  1\n",
                      AxialSection(k.V));
        const RunOutput run = RunInput(single);
        ASSERT_EQ(run.Result, 0) << k.Name << run.Messages;
        const CaseSummary S = Pile.Summary[1];
        ASSERT_GE(AxialResults.NumProfiles, 1);
        const double settlement = AxialResults.Profiles[1].HeadMovement;
        ASSERT_TRUE(AxialResults.Profiles[1].b_Solved);

        // The cap's moment about the head is the head moment the held head
        // needs (a positive head moment turns the head against its slope,
        // the sense of the cap's theta).
        const double M = k.LoadType == 1 ? 0.0 : S.HeadMoment;
        std::ostringstream g;
        if (k.PinnedPair)
            g << "KESTRO GROUP\nLATERAL pile.kin\nMULTIPLIERS NONE\nTYPE 1 PINNED PY\nPILE 1 -60 0 0\nPILE 1 60 0 0\n"
              << "LOAD two " << 2.0 * k.H << ' ' << 2.0 * k.V << " 0\n";
        else
            g << "KESTRO GROUP\nLATERAL pile.kin\nTYPE 1 FIXED PY\nPILE 1 0 0 0\nLOAD one " << k.H << ' ' << k.V << ' '
              << M << "\n";
        const GroupModel m = ReadModel(g.str(), single);
        std::ostringstream report;
        std::string error;
        GroupResults res;
        ASSERT_EQ(RunGroup(m, report, error, res), 0) << k.Name << ": " << error << report.str();
        const CaseResult& c = res.Cases.at(0);
        const Vector3& D = c.Solution.State.Displacement;
        const double y = S.HeadDeflection;
        std::printf("%-22s deflection %.9g / %.9g, max moment %.9g / %.9g, settlement %.9g / %.9g\n", k.Name, D[0],
                    y, c.Piles[0].MaxMoment, S.MaxMoment, D[1], settlement);
        EXPECT_NEAR(D[0], y, 1.0E-5 * std::fabs(y)) << k.Name;
        EXPECT_NEAR(c.Piles[0].Deflection, y, 1.0E-5 * std::fabs(y)) << k.Name;
        // theta = -slope; the held head does not turn.
        // A pinned pair under a load at its heads' level does not turn; each
        // head turns as the free head does.
        const double theta = k.LoadType == 1 && !k.PinnedPair ? -S.HeadRotation : 0.0;
        EXPECT_NEAR(c.Piles[0].Slope, S.HeadRotation, 1.0E-5 * std::fabs(S.HeadRotation) + 1.0E-7) << k.Name;
        EXPECT_NEAR(D[2], theta, 1.0E-5 * std::fabs(S.HeadRotation) + 1.0E-7) << k.Name;
        EXPECT_NEAR(c.Piles[0].MaxMoment, S.MaxMoment, 1.0E-5 * std::fabs(S.MaxMoment)) << k.Name;
        EXPECT_DOUBLE_EQ(c.Piles[0].DepthMaxMoment, S.DepthMaxMoment) << k.Name;
        EXPECT_NEAR(D[1], settlement, 1.0E-5 * std::fabs(settlement)) << k.Name;
        EXPECT_EQ(c.Piles[0].PMultiplier, 1.0) << k.Name;   // one row: no group effect
        ExpectCapEquilibrium(m, c, k.Name);
    }
}

// The pile's p-multiplier against the single pile's own group-effect table:
// PMULT 0.5 on the group's pile equals the single-pile run with p = 0.5 at
// every depth.
TEST(GroupLateral, PileMultiplierEqualsTheSinglePileTable) {
    const std::string factors = "GROUP EFFECT FACTORS\n2\n1  0.0  0.5  1.0\n2  60.0  0.5  1.0\n";
    const RunOutput run = RunInput(LateralInput("1\n1  1  20000.0  0.0  0.0  1\n", factors, "YES"));
    ASSERT_EQ(run.Result, 0) << run.Messages;
    const CaseSummary S = Pile.Summary[1];
    const GroupModel m = ReadModel(
        "KESTRO GROUP\nLATERAL p.kin\nTYPE 1 FIXED PY KAXIAL 1E6\nPILE 1 0 0 0 PMULT 0.5\nLOAD one 20000 0 0\n",
        LateralInput("1\n1  1  20000.0  0.0  0.0  1\n"));
    std::ostringstream report;
    std::string error;
    GroupResults res;
    ASSERT_EQ(RunGroup(m, report, error, res), 0) << error;
    const CaseResult& c = res.Cases.at(0);
    EXPECT_EQ(c.Piles[0].PMultiplier, 0.5);
    EXPECT_NEAR(c.Solution.State.Displacement[0], S.HeadDeflection, 1.0E-5 * S.HeadDeflection);
    EXPECT_NEAR(c.Piles[0].MaxMoment, S.MaxMoment, 1.0E-5 * S.MaxMoment);
}

// Groups of several piles: symmetric groups share equally, the rows' shears
// follow their multipliers (leading row stiffest), a reversed load reverses
// the rows, and every converged case balances the cap.
TEST(GroupLateral, SymmetryRowsAndEquilibrium) {
    const std::string lateral = LateralInput("1\n1  1  1000.0  0.0  0.0  1\n");
    // Three rows 72 in (3 widths) apart, two piles in each, fixed heads.
    const GroupModel m = ReadModel(
        "KESTRO GROUP\nLATERAL p.kin\nTYPE 1 FIXED PY KAXIAL 2E6\n"
        "PILE 1 -72 0 0\nPILE 1 -72 0 0\nPILE 1 0 0 0\nPILE 1 0 0 0\nPILE 1 72 0 0\nPILE 1 72 0 0\n"
        "LOAD vertical 0 600000 0\nLOAD push 60000 600000 0\nLOAD back -60000 600000 0\n",
        lateral);
    std::ostringstream report;
    std::string error;
    GroupResults res;
    ASSERT_EQ(RunGroup(m, report, error, res), 0) << error;
    ASSERT_EQ(res.Cases.size(), 3u);
    for (const CaseResult& c : res.Cases) ExpectCapEquilibrium(m, c, c.Name);

    // Vertical load on a symmetric group: equal shares, no turn, no sway.
    const CapState& v = res.Cases[0].Solution.State;
    for (std::size_t i = 0; i < 6; ++i) EXPECT_NEAR(v.HeadForce[i][0], 100000.0, 1.0E-6) << i;
    EXPECT_NEAR(v.Displacement[2], 0.0, 1.0E-14);

    // Toward +x the row at x = 72 leads (0.8), then 0 (0.4), then -72 (0.3);
    // the two piles of a row share exactly, and the shears fall row by row.
    const double expectM[] = {0.3, 0.3, 0.4, 0.4, 0.8, 0.8};
    const CaseResult& push = res.Cases[1];
    const CaseResult& back = res.Cases[2];
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(push.Piles[i].PMultiplier, expectM[i], 1.0E-12) << i;
        EXPECT_NEAR(back.Piles[i].PMultiplier, expectM[5 - i], 1.0E-12) << i;
    }
    const auto Q = [](const CaseResult& c, std::size_t i) { return c.Solution.State.HeadForce[i][1]; };
    for (std::size_t i = 0; i < 6; i += 2) {
        EXPECT_EQ(Q(push, i), Q(push, i + 1)) << i;
        EXPECT_EQ(Q(back, i), Q(back, i + 1)) << i;
    }
    EXPECT_GT(Q(push, 4), Q(push, 2));
    EXPECT_GT(Q(push, 2), Q(push, 0));
    EXPECT_GT(Q(push, 0), 0.0);
    EXPECT_LT(Q(back, 0), Q(back, 2));
    EXPECT_LT(Q(back, 2), Q(back, 4));
    EXPECT_LT(Q(back, 4), 0.0);
    // The reversed load mirrors the group: pile i of one is pile 5 - i of the other.
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(Q(back, i), -Q(push, 5 - i), 1.0E-6 * std::fabs(Q(push, 5 - i))) << i;
        EXPECT_NEAR(back.Solution.State.HeadForce[i][0], push.Solution.State.HeadForce[5 - i][0], 1.0E-3) << i;
    }
    EXPECT_NEAR(back.Solution.State.Displacement[0], -push.Solution.State.Displacement[0],
                1.0E-5 * push.Solution.State.Displacement[0]);
}

// A cap load the piles cannot carry within the deflection limit of their
// lateral model ends with Runtime Error 36 naming the pile and the limit;
// a lateral model that cannot be read ends with its input error, no result.
TEST(GroupLateral, DeflectionLimitAndBadModelEndWithNumberedErrors) {
    struct Case {
        const char* Name;
        std::string Lateral;
        double H;
        int Error;
        const char* Says;
    };
    const Case cases[] = {
        {"beyond the limit", LateralInput("1\n1  1  1000.0  0.0  0.0  1\n"), 4.0E6, ErrorDeflectionLimit,
         "exceeds the deflection limit 20"},
        {"not a keyword input", "3\nold layout\n", 1000.0, ErrorPileFailed, "not a keyword input"},
        {"bad keyword input", "KESTRO6\nTITLE\nx\nOPTIONS\nUnits Furlongs\nEND\n", 1000.0, ErrorPileFailed,
         "Input Data Error"},
    };
    for (const Case& k : cases) {
        const GroupModel m = ReadModel("KESTRO GROUP\nLATERAL p.kin\nTYPE 1 FIXED PY KAXIAL 1E6\nPILE 1 0 0 0\n"
                                       "LOAD big " +
                                           std::to_string(k.H) + " 0 0\n",
                                       k.Lateral);
        std::ostringstream report;
        std::string error;
        GroupResults res;
        EXPECT_EQ(RunGroup(m, report, error, res), k.Error) << k.Name << ": " << error;
        EXPECT_NE(error.find(k.Says), std::string::npos) << k.Name << ": " << error;
        if (k.Error == ErrorDeflectionLimit) {
            EXPECT_NE(error.find("pile 1"), std::string::npos) << error;
        }
    }
    // The store is left empty for the next run: a single-pile run after a
    // group run gives its own result.
    const RunOutput after = RunInput(LateralInput("1\n1  1  1000.0  0.0  0.0  1\n"));
    EXPECT_EQ(after.Result, 0) << after.Messages;
}

}  // namespace

namespace {

// The example group through the command, with its JSON results and page: the
// JSON holds every case balanced (equilibrium recomputed here from its pile
// forces in cap axes), the multipliers by row, and the moments along the piles;
// the page draws every pile. A missing lateral model ends with exit 66.
TEST(GroupLateral, ExampleRunsWithJsonAndPage) {
    const std::string dir = ScratchDir();
    const std::string path = std::string(KESTRO_SOURCE_DIR) + "/examples/group/shafts-2x3-py.kgr";
    std::ostringstream out, err;
    ASSERT_EQ(kestro::cli::Main({"group", path, "--json", dir + "/g.json", "--html", dir + "/g.html"}, out, err),
              kestro::cli::ExitNormal)
        << err.str() << out.str();
    const nlohmann::json j = nlohmann::json::parse(ReadText(dir + "/g.json"));
    EXPECT_EQ(j["schema"], "kestro-group-results");
    EXPECT_EQ(j["run"]["status"], "balanced");
    ASSERT_EQ(j["cases"].size(), 3u);
    for (const auto& c : j["cases"]) {
        ASSERT_EQ(c["status"], "balanced") << c.dump();
        double H = 0.0, V = 0.0, M = 0.0;
        for (const auto& p : c["piles"]) {
            H += p["H"].get<double>();
            V += p["V"].get<double>();
            M += p["M"].get<double>();
            // Dead load alone does not bend the piles; wind does.
            EXPECT_EQ(std::fabs(p["maxMoment"].get<double>()) > 0.0, c["given"]["H"].get<double>() != 0.0);
            // The profile along the pile holds the maximum moment at its depth,
            // starts at the head deflection and ends at the pile length.
            const auto& prof = p["profile"];
            ASSERT_EQ(prof["depth"].size(), 101u);
            double largest = 0.0, depth = 0.0;
            for (std::size_t n = 0; n < prof["moment"].size(); ++n)
                if (std::fabs(prof["moment"][n].get<double>()) > std::fabs(largest)) {
                    largest = prof["moment"][n].get<double>();
                    depth = prof["depth"][n].get<double>();
                }
            EXPECT_EQ(largest, p["maxMoment"].get<double>());
            if (largest != 0.0) {
                EXPECT_EQ(depth, p["depthMaxMoment"].get<double>());
            }
            EXPECT_EQ(prof["deflection"][0].get<double>(), p["lateralMovement"].get<double>());
            EXPECT_EQ(prof["depth"][100].get<double>(), 480.0);
        }
        EXPECT_NEAR(H, c["given"]["H"].get<double>(), 1.0E-6 * 2.4E6);
        EXPECT_NEAR(V, c["given"]["V"].get<double>(), 1.0E-6 * 2.4E6);
        EXPECT_NEAR(M, c["given"]["M"].get<double>(), 1.0E-6 * 2.4E6 * 108.0);
    }
    // Wind toward +x: the row at x = 108 leads with 0.8 and takes the most shear.
    const auto& wind = j["cases"][1]["piles"];
    EXPECT_EQ(wind[4]["pMultiplier"], 0.8);
    EXPECT_EQ(wind[2]["pMultiplier"], 0.4);
    EXPECT_EQ(wind[0]["pMultiplier"], 0.3);
    EXPECT_GT(wind[4]["Q"].get<double>(), wind[2]["Q"].get<double>());
    EXPECT_GT(wind[2]["Q"].get<double>(), wind[0]["Q"].get<double>());
    const std::string page = ReadText(dir + "/g.html");
    std::size_t lines = 0;
    for (std::size_t at = page.find("<line"); at != std::string::npos; at = page.find("<line", at + 1)) ++lines;
    EXPECT_GE(lines, 6u);
    // The deformed shape of case "wind" on the drawing: one line a pile
    // through all its stations, each head moved as the cap's point there,
    // (u - theta z, w + theta x) magnified: the direction of the move on the
    // page, x to the right and z down, is that of the cap's movement.
    auto Numbers = [](const std::string& text) {
        std::vector<double> v;
        std::string t = text;
        std::replace(t.begin(), t.end(), ',', ' ');
        std::istringstream in(t);
        for (double x; in >> x;) v.push_back(x);
        return v;
    };
    std::vector<std::vector<double>> heads, shapes;
    for (std::size_t at = page.find("stroke-width=\"3\""); at != std::string::npos;
         at = page.find("stroke-width=\"3\"", at + 1)) {
        const std::size_t from = page.rfind("<line", at);
        std::vector<double> xy;
        for (const char* key : {"x1=\"", "y1=\""}) {
            const std::size_t k = page.find(key, from) + 4;
            xy.push_back(std::stod(page.substr(k, page.find('"', k) - k)));
        }
        heads.push_back(xy);
    }
    const std::size_t g = page.find("<g fill=\"none\" stroke=\"#06c\"");
    ASSERT_NE(g, std::string::npos);
    const std::size_t gEnd = page.find("</g>", g);
    for (std::size_t at = page.find("<polyline points=\"", g); at < gEnd; at = page.find("<polyline points=\"", at + 1)) {
        const std::size_t k = at + 18;
        shapes.push_back(Numbers(page.substr(k, page.find('"', k) - k)));
    }
    ASSERT_EQ(heads.size(), 6u);
    ASSERT_EQ(shapes.size(), 6u);
    const auto& move = j["cases"][1]["capMovement"];
    const double u = move["u"], w = move["w"], theta = move["theta"];
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(shapes[i].size(), 2u * 101u) << i;
        const double x = j["piles"][i]["x"];
        const double dx = shapes[i][0] - heads[i][0], dz = shapes[i][1] - heads[i][1];
        EXPECT_GT(dx * u, 0.0) << i;
        EXPECT_NEAR(dz / dx, (w + theta * x) / u, 2.0E-3 * std::fabs((w + theta * x) / u) + 2.0E-3) << i;
    }
    EXPECT_NE(page.find("magnified "), std::string::npos);

    // A case that cannot balance: exit 2, and in the JSON the case with its
    // error and no numbers, the cases before it balanced, none after it.
    WriteText(dir + "/pile.kin", LateralInput("1\n1  1  1000.0  0.0  0.0  1\n"));
    WriteText(dir + "/over.kgr", "KESTRO GROUP\nLATERAL pile.kin\nTYPE 1 FIXED PY KAXIAL 1E6\nPILE 1 0 0 0\n"
                                 "PILE 1 120 0 0\nLOAD fine 1000 0 0\nLOAD over 8.0E6 0 0\nLOAD later 1 0 0\n");
    std::ostringstream out1, err1;
    EXPECT_EQ(kestro::cli::Main({"group", dir + "/over.kgr", "--json", dir + "/over.json"}, out1, err1),
              kestro::cli::ExitError);
    const nlohmann::json over = nlohmann::json::parse(ReadText(dir + "/over.json"));
    EXPECT_EQ(over["run"]["status"], "error");
    ASSERT_EQ(over["cases"].size(), 2u);
    EXPECT_EQ(over["cases"][0]["status"], "balanced");
    EXPECT_EQ(over["cases"][1]["status"], "error");
    EXPECT_FALSE(over["cases"][1].contains("piles"));
    EXPECT_FALSE(over["cases"][1].contains("capMovement"));
    EXPECT_EQ(over["run"]["error"]["runtimeError"], over["cases"][1]["error"]["runtimeError"]);

    // The lateral model missing: named, exit 66, nothing run.
    WriteText(dir + "/lost.kgr", "KESTRO GROUP\nLATERAL nowhere.kin\nTYPE 1 FIXED PY KAXIAL 1E6\nPILE 1 0 0 0\n"
                                 "LOAD a 1 0 0\n");
    std::ostringstream out2, err2;
    EXPECT_EQ(kestro::cli::Main({"group", dir + "/lost.kgr"}, out2, err2), kestro::cli::ExitNoInput);
    EXPECT_NE(err2.str().find("line 2: cannot read the lateral model"), std::string::npos) << err2.str();
}

}  // namespace

// Several pile types, each with its own lateral model. A group of two types
// whose models are the same pile (its own LATERAL on the second type, piles of
// the two types interleaved so that the store changes model at every pile)
// must give exactly the numbers of the one-type group; a stiffer second pile
// must take the larger shear with the cap still in balance; a model in other
// units is refused.
TEST(GroupLateral, SeveralLateralModels) {
    const std::string lateral = LateralInput("1\n1  1  1000.0  0.0  0.0  1\n", AxialSection(100000.0));
    std::string stiffer = lateral;
    stiffer.replace(stiffer.find("3600000.0"), 9, "7200000.0");   // twice the modulus
    const std::string piles = "PILE 1 -72 0 0\nPILE T 0 0 0\nPILE 1 72 0 -10\nPILE T 72 0 10\n"
                              "LOAD push 60000 600000 1.0E6\nLOAD back -60000 500000 0\n";
    struct Row {
        const char* Name;
        std::string Type2;        // the TYPE line of the second type ("" none)
        std::string Model2;       // the text of its own model
        int Expect;               // RunGroup's result
    };
    const Row rows[] = {
        {"linear axial", "TYPE 2 FIXED PY KAXIAL 2E6 LATERAL b.kin\n", lateral, 0},
        {"axial column", "TYPE 2 FIXED PY LATERAL b.kin\n", lateral, 0},
        {"stiffer second pile", "TYPE 2 FIXED PY KAXIAL 2E6 LATERAL b.kin\n", stiffer, 0},
    };
    for (const Row& r : rows) {
        const bool column = r.Type2.find("KAXIAL") == std::string::npos;
        const std::string type1 = column ? "TYPE 1 FIXED PY\n" : "TYPE 1 FIXED PY KAXIAL 2E6\n";
        std::string twoTypes = piles, oneType = piles;
        for (std::size_t at; (at = twoTypes.find("PILE T")) != std::string::npos;) twoTypes[at + 5] = '2';
        for (std::size_t at; (at = oneType.find("PILE T")) != std::string::npos;) oneType[at + 5] = '1';
        GroupModel two = ReadModel("KESTRO GROUP\nLATERAL a.kin\n" + type1 + r.Type2 + twoTypes, lateral);
        ASSERT_EQ(two.TypeModels.size(), 1u) << r.Name;
        EXPECT_EQ(two.TypeModels[0].Path, "b.kin");
        two.TypeModels[0].Text = r.Model2;
        const GroupModel one = ReadModel("KESTRO GROUP\nLATERAL a.kin\n" + type1 + oneType, lateral);
        std::ostringstream report2, report1;
        std::string error;
        GroupResults res2, res1;
        ASSERT_EQ(RunGroup(two, report2, error, res2), r.Expect) << r.Name << error;
        ASSERT_EQ(RunGroup(one, report1, error, res1), 0) << r.Name << error;
        ASSERT_EQ(res2.Cases.size(), 2u) << r.Name;
        for (std::size_t c = 0; c < 2; ++c) {
            ExpectCapEquilibrium(two, res2.Cases[c], r.Name);
            const CapState& a = res2.Cases[c].Solution.State;
            const CapState& b = res1.Cases[c].Solution.State;
            if (r.Model2 == lateral) {
                // The same pile: the same numbers, to the last digit.
                for (int k = 0; k < 3; ++k) EXPECT_EQ(a.Displacement[k], b.Displacement[k]) << r.Name << c << k;
                for (std::size_t i = 0; i < 4; ++i)
                    for (int k = 0; k < 3; ++k) EXPECT_EQ(a.HeadForce[i][k], b.HeadForce[i][k]) << r.Name << c << i;
                for (int i = 0; i < 3; ++i)
                    for (int k = 0; k < 3; ++k) EXPECT_EQ(res2.ZeroLoadTangent[i][k], res1.ZeroLoadTangent[i][k]);
            } else {
                // Piles 1 (x = -72) and 2 (x = 0), vertical, one multiplier row
                // apart; with the same multiplier the stiffer pile 2 would take
                // more shear: compare pile 2 of each run, same position and multiplier.
                EXPECT_GT(std::fabs(a.HeadForce[1][1]), 1.05 * std::fabs(b.HeadForce[1][1])) << r.Name << c;
                EXPECT_LT(std::fabs(a.Displacement[0]), std::fabs(b.Displacement[0])) << r.Name << c;
            }
        }
    }
    // A second model in SI units next to one in USCS.
    std::string si = lateral;
    si.replace(si.find("Units USCS"), 10, "Units SI  ");
    GroupModel mixed = ReadModel("KESTRO GROUP\nLATERAL a.kin\nTYPE 1 FIXED PY KAXIAL 2E6\n"
                                 "TYPE 2 FIXED PY KAXIAL 2E6 LATERAL si.kin\nPILE 1 0 0 0\nPILE 2 72 0 0\n"
                                 "LOAD push 1000 0 0\n",
                                 lateral);
    mixed.TypeModels[0].Text = si;
    std::ostringstream report;
    std::string error;
    EXPECT_EQ(RunGroup(mixed, report, error), 74);
    EXPECT_NE(error.find("si.kin (line 4)"), std::string::npos) << error;
    EXPECT_NE(error.find("one system of units"), std::string::npos) << error;
    // A PY type without a model of its own and no LATERAL line.
    GroupModel bad;
    EXPECT_EQ(ReadGroup("KESTRO GROUP\nTYPE 1 FIXED PY LATERAL b.kin\nTYPE 2 PINNED PY\nPILE 1 0 0 0\n"
                        "LOAD a 1 0 0\n",
                        bad, error),
              1);
    EXPECT_NE(error.find("LATERAL line"), std::string::npos) << error;
}

// The fixed p-y 2 x 3 shaft example (its own lateral model, p-multipliers
// 0.3, 0.4, 0.8 toward +x) under its wind case with H at 60 and 90 kip, each
// from rest, and 90 kip continued from the 60 kip answer. At 90 kip from rest
// the direct Newton iteration stalls next to the answer (the piles' head
// forces are smooth only down to the residual of their own iteration) and the
// load is applied in increments. Every row: cap equilibrium recomputed here
// from the head forces (vertical piles: H = sum Q, V = sum N,
// M = sum (N x + Mh)) within the cap tolerance; the 90 kip answers from rest
// and continued from 60 kip agree to the cap tolerance.
TEST(GroupLateral, StalledCapIterationBalancesByLoadIncrements) {
    LateralModelInfo info;
    std::string why;
    ASSERT_EQ(PrepareLateralModel(
                  ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/group/shaft-36in-stiff-clay.kin"), info, why),
              0)
        << why;
    ASSERT_TRUE(info.b_Axial);
    const double xs[] = {-108.0, -108.0, 0.0, 0.0, 108.0, 108.0};
    const double pm[] = {0.3, 0.3, 0.4, 0.4, 0.8, 0.8};
    std::vector<std::unique_ptr<LateralPileHead>> heads;
    std::vector<GroupPile> piles;
    for (std::size_t i = 0; i < 6; ++i) {
        heads.push_back(std::make_unique<LateralPileHead>(Connection::Fixed, pm[i], &AxialColumn, 0.0));
        piles.push_back({xs[i], 0.0, 0.0, heads.back().get()});
    }
    SolveOptions opt;
    opt.RelativeTolerance = 1.0E-6;  // the cap tolerance of a group of p-y piles
    struct Row {
        const char* What;
        double H;
        int FromRow;    // the row whose cap movement is the start; -1: rest
        bool Increments;  // balanced by load increments
    };
    const Row rows[] = {
        {"60 kip from rest", 60000.0, -1, false},
        {"90 kip from rest", 90000.0, -1, true},
        {"90 kip continued from 60 kip", 90000.0, 0, false},
    };
    std::vector<SolveResult> res;
    for (const Row& row : rows) {
        const Vector3 load{row.H, 2.4E6, 3.6E7};
        const Vector3 start = row.FromRow < 0 ? Vector3{} : res[static_cast<std::size_t>(row.FromRow)].State.Displacement;
        res.push_back(SolveCap(piles, load, opt, start));
        const SolveResult& r = res.back();
        ASSERT_EQ(r.Error, 0) << row.What << ": " << r.Message;
        EXPECT_EQ(r.Increments > 1, row.Increments) << row.What << ": " << r.Increments;
        double H = 0.0, V = 0.0, M = 0.0;
        for (std::size_t i = 0; i < 6; ++i) {
            const Vector3& f = r.State.HeadForce[i];
            H += f[1];
            V += f[0];
            M += f[0] * xs[i] + f[2];
        }
        EXPECT_LE(std::fabs(H - load[0]), r.ForceTolerance) << row.What;
        EXPECT_LE(std::fabs(V - load[1]), r.ForceTolerance) << row.What;
        EXPECT_LE(std::fabs(M - load[2]), r.MomentTolerance) << row.What;
        EXPECT_GT(r.ForceTolerance, 0.0);
        EXPECT_LE(r.ForceTolerance, 1.0E-6 * 2.5E6) << row.What;
    }
    // The two 90 kip answers: the cap forces of the difference of their
    // movements (group tangent) within the cap tolerance, and no pile's head
    // force further apart than that.
    const SolveResult& a = res[1];
    const SolveResult& b = res[2];
    const Vector3 dD{a.State.Displacement[0] - b.State.Displacement[0], a.State.Displacement[1] - b.State.Displacement[1],
                     a.State.Displacement[2] - b.State.Displacement[2]};
    for (std::size_t k = 0; k < 3; ++k) {
        double f = 0.0;
        for (std::size_t j = 0; j < 3; ++j) f += a.State.Tangent[k][j] * dD[j];
        EXPECT_LE(std::fabs(f), k < 2 ? a.ForceTolerance : a.MomentTolerance) << k;
    }
    for (std::size_t i = 0; i < 6; ++i)
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_LE(std::fabs(a.State.HeadForce[i][k] - b.State.HeadForce[i][k]),
                      k < 2 ? a.ForceTolerance : a.MomentTolerance)
                << "pile " << i + 1 << " component " << k;
}
