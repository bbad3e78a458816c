// What a run hands in besides its report: the mobilised soil resistance p / p_u
// of every station, the envelopes over the load cases, the tidy CSV tables and
// the printed calculation package (PDF).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "CliTestSupport.h"
#include "HtmlReport.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

using kestro::test::CliRun;
using kestro::test::RunCli;

// One elastic 24 in pile, 50 ft long, head at the ground, in one uniform
// layer (`layer`: code and the top and bottom property lines), one load case.
std::string PileIn(const std::string& layer, double headShear, const std::string& loading = "STATIC") {
    return "KESTRO6\nTITLE\nMobilised resistance\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\n"
           "UseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading " + loading + "   100\n"
           "MaxIterations 200\nDeflectionLimit 100.0\nTolerance 1.0E-5\nIncrements 100\nPrintSummaryOnly NO\n"
           "PrintIncrement 5\nPrintPYCurves NO\nComputeInteraction NO\nSECTIONS\n1\n1\n11\n50.0\n1\n3600000.0\n"
           "24.0\n24.0\n452.3893\n452.3893\n16286.0\n16286.0\nSOIL LAYERS\n1\n" +
           layer + "LOADING\n1\n1  1  " + std::to_string(headShear) + "  0.0  0.0  1\n0\nEND\n";
}

json RunJson(const std::string& dir, const std::string& input, const std::vector<std::string>& extra = {}) {
    const std::string path = dir + "/case.kin";
    kestro::test::WriteText(path, input);
    std::vector<std::string> args{"run", path, "-o", dir, "-q", "--no-html"};
    args.insert(args.end(), extra.begin(), extra.end());
    const CliRun r = RunCli(args);
    EXPECT_LE(r.Status, 1) << r.Out << r.Err;
    std::ifstream f(dir + "/case-results.json");
    return json::parse(f);
}

// Published p-y equations, written here apart from the engine's code. Units:
// lb and in. `z` depth below the ground, `y` deflection; both return p_u (the
// curve's largest resistance) and the expected p / p_u.
struct Expected {
    double Pu, Ratio;
};

// Matlock (1970), static: pu = min(3 + g' z / c + J z / b, 9) c b;
// p / pu = 0.5 (y / y50)^(1/3) up to 8 y50, 1 beyond; y50 = 2.5 e50 b.
Expected SoftClayStatic(double z, double y) {
    const double c = 250.0 / 144.0, g = 50.0 / 1728.0, e50 = 0.02, b = 24.0, J = 0.5;
    const double Np = std::min(3.0 + g * z / c + J * z / b, 9.0);
    const double y50 = 2.5 * e50 * b;
    return {Np * c * b, std::min(0.5 * std::cbrt(y / y50), 1.0)};
}

// Matlock (1970), cyclic: p = 0.5 pu (y / y50)^(1/3) up to 3 y50 (its peak,
// 0.5 pu 3^(1/3)); beyond, 0.72 pu below Xr = max(6 b c / (g' b + J c), 2.5 b),
// above it falling linearly to 0.72 pu z / Xr at 15 y50. p_u is the peak.
Expected SoftClayCyclic(double z, double y) {
    const double c = 250.0 / 144.0, g = 50.0 / 1728.0, e50 = 0.02, b = 24.0, J = 0.5;
    const double pu = std::min(3.0 + g * z / c + J * z / b, 9.0) * c * b;
    const double y50 = 2.5 * e50 * b, Xr = std::max(6.0 * b * c / (g * b + J * c), 2.5 * b);
    const double peak = 0.5 * pu * std::cbrt(3.0);
    double p = 0.0;
    if (y <= 3.0 * y50)
        p = 0.5 * pu * std::cbrt(y / y50);
    else if (z >= Xr)
        p = 0.72 * pu;
    else if (y <= 15.0 * y50)
        p = 0.72 * pu + (0.72 * pu * z / Xr - 0.72 * pu) * (y - 3.0 * y50) / (12.0 * y50);
    else
        p = 0.72 * pu * z / Xr;
    return {peak, p / peak};
}

// Reese, Cox and Koop (1974) wedge and flow-around resistances with
// alpha = phi/2, beta = 45 + phi/2, K0 = 0.4, Ka = tan^2(45 - phi/2); the API
// curve p = A pu tanh(k z y / (A pu)) with A = max(3 - 0.8 z/b, 0.9) (static)
// approaches A pu.
Expected ApiSandStatic(double z, double y) {
    const double phi = 35.0 * std::numbers::pi / 180.0, g = 60.0 / 1728.0, b = 24.0, k = 60.0, K0 = 0.4;
    const double a = phi / 2.0, be = std::numbers::pi / 4.0 + phi / 2.0;
    const double Ka = std::pow(std::tan(std::numbers::pi / 4.0 - phi / 2.0), 2.0);
    const double pst = g * z *
                       (K0 * z * std::tan(phi) * std::sin(be) / (std::tan(be - phi) * std::cos(a)) +
                        std::tan(be) / std::tan(be - phi) * (b + z * std::tan(be) * std::tan(a)) +
                        K0 * z * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(a)) - Ka * b);
    const double psd = Ka * b * g * z * (std::pow(std::tan(be), 8.0) - 1.0) +
                       K0 * b * g * z * std::tan(phi) * std::pow(std::tan(be), 4.0);
    const double A = std::max(3.0 - 0.8 * z / b, 0.9);
    const double apu = A * std::min(pst, psd);
    return {apu, std::tanh(k * z * y / apu)};
}

}  // namespace

// p_u at every station against the published equations worked here, and
// p / p_u against the curve's own shape at the station's deflection: never
// above 1, and 1 where the soft clay's curve has reached its plateau.
TEST(MobilisedResistance, HandComputedUltimateResistanceAndRatio) {
    struct Case {
        const char* Name;
        std::string Layer;
        double HeadShear;
        Expected (*Hand)(double z, double y);
        bool Plateau;  // some stations must be on the plateau
        std::string Loading = "STATIC";
    };
    const std::string clay = "1  0.0  60.0\n50.0  250.0  0.02\n50.0  250.0  0.02\n";
    const Case cases[] = {
        {"soft clay", clay, 60000.0, SoftClayStatic, true},
        {"soft clay, cyclic", clay, 40000.0, SoftClayCyclic, false, "CYCLIC"},
        {"API sand", "6  0.0  60.0\n60.0  35.0  60.0\n60.0  35.0  60.0\n", 60000.0, ApiSandStatic, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const json j = RunJson(kestro::test::ScratchDir(), PileIn(c.Layer, c.HeadShear, c.Loading));
        const json& st = j["loadCases"][0]["stations"];
        ASSERT_EQ(st["units"]["ultimateResistance"], "lb/in");
        int checked = 0, plateau = 0;
        for (std::size_t i = 0; i < st["depth"].size(); ++i) {
            const double z = st["depth"][i].get<double>(), y = std::fabs(st["deflection"][i].get<double>());
            const double p = std::fabs(st["soilReaction"][i].get<double>());
            const Expected e = c.Hand(z, y);
            if (!(e.Pu > 0.0)) {
                // At the ground surface the sand has no resistance: null with a reason.
                EXPECT_TRUE(st["ultimateResistance"][i].is_null());
                EXPECT_TRUE(st["ultimateResistanceNote"][i].is_string());
                continue;
            }
            ASSERT_TRUE(st["ultimateResistance"][i].is_number()) << "station " << i + 1;
            const double pu = st["ultimateResistance"][i].get<double>();
            const double ratio = st["mobilisedRatio"][i].get<double>();
            EXPECT_NEAR(pu, e.Pu, 1.0E-5 * e.Pu) << "z = " << z;
            EXPECT_DOUBLE_EQ(ratio, p / pu);
            EXPECT_LE(ratio, 1.0 + 1.0E-4) << "z = " << z;
            // The secant modulus is that of the last iteration: within its tolerance.
            EXPECT_NEAR(ratio, e.Ratio, 1.0E-4) << "z = " << z << ", y = " << y;
            if (e.Ratio == 1.0) {
                EXPECT_NEAR(ratio, 1.0, 1.0E-4);
                ++plateau;
            }
            ++checked;
        }
        EXPECT_GT(checked, 90);
        if (c.Plateau) {
            EXPECT_GT(plateau, 0);
        }
    }
}

// Over every example: p / p_u never above 1 where the criterion has a p_u.
TEST(MobilisedResistance, NeverAboveOneInTheExamples) {
    int stations = 0;
    for (const auto& e : fs::directory_iterator(fs::path(KESTRO_SOURCE_DIR) / "examples")) {
        if (e.path().extension() != ".kin") continue;
        SCOPED_TRACE(e.path().filename().string());
        const std::string dir = kestro::test::ScratchDir();
        const CliRun r = RunCli({"run", e.path().string(), "-o", dir, "-q", "--no-html"});
        std::ifstream f(dir + "/" + e.path().stem().string() + "-results.json");
        if (!f) continue;
        const json j = json::parse(f);
        for (const json& c : j["loadCases"])
            for (const json& v : c["stations"]["mobilisedRatio"])
                if (v.is_number()) {
                    EXPECT_LE(v.get<double>(), 1.0 + 1.0E-3);
                    ++stations;
                }
    }
    EXPECT_GT(stations, 1000);
}

// The envelope of each quantity equals the largest and smallest station value
// over the cases, taken here from the cases' own station tables; the CSV
// tables hold the JSON file's numbers digit for digit.
TEST(ResultTables, EnvelopesAndCsvTablesAgreeWithTheJson) {
    for (const char* example : {"api-sand-static-us.kin", "h-pile-lrfd-combinations.kin"}) {
        SCOPED_TRACE(example);
        const std::string dir = kestro::test::ScratchDir();
        const std::string input = (fs::path(KESTRO_SOURCE_DIR) / "examples" / example).string();
        const CliRun r = RunCli({"run", input, "-o", dir, "-q", "--no-html", "--csv"});
        ASSERT_LE(r.Status, 1) << r.Out << r.Err;
        const std::string stem = fs::path(example).stem().string();
        const json j = json::parse(std::ifstream(dir + "/" + stem + "-results.json"));
        const json& env = j["envelope"];
        ASSERT_TRUE(env.is_object());
        const json& cases = j["loadCases"];
        ASSERT_GE(cases.size(), 2u);
        for (const char* q : {"deflection", "moment", "shear"}) {
            for (std::size_t i = 0; i < env["depth"].size(); ++i) {
                double lo = INFINITY, hi = -INFINITY;
                for (const json& c : cases) {
                    lo = std::min(lo, c["stations"][q][i].get<double>());
                    hi = std::max(hi, c["stations"][q][i].get<double>());
                }
                EXPECT_EQ(env[std::string(q) + "Min"][i].get<double>(), lo) << q << " station " << i + 1;
                EXPECT_EQ(env[std::string(q) + "Max"][i].get<double>(), hi) << q << " station " << i + 1;
            }
        }

        // The CSV tables read back: the header's units and every number.
        auto table = [&](const std::string& name) {
            std::ifstream f(dir + "/" + stem + "-" + name + ".csv");
            std::vector<std::vector<std::string>> rows;
            for (std::string line; std::getline(f, line);) {
                std::vector<std::string> cells;
                std::string cell;
                bool quoted = false;
                for (char ch : line) {
                    if (ch == '"') quoted = !quoted;
                    else if (ch == ',' && !quoted) {
                        cells.push_back(cell);
                        cell.clear();
                    } else cell += ch;
                }
                cells.push_back(cell);
                rows.push_back(cells);
            }
            return rows;
        };
        const auto stations = table("stations");
        ASSERT_FALSE(stations.empty());
        EXPECT_EQ(stations[0],
                  (std::vector<std::string>{"load_case", "case_name", "station", "depth_in", "deflection_in",
                                            "slope_rad", "moment_in_lb", "shear_lb", "soil_reaction_lb_per_in",
                                            "ei_lb_in2", "es_lb_per_in2", "pu_lb_per_in", "p_over_pu"}));
        std::size_t n = 0;
        for (const json& c : cases) {
            const json& st = c["stations"];
            for (std::size_t i = 0; i < st["depth"].size(); ++i) {
                const auto& row = stations.at(++n);
                ASSERT_EQ(row.size(), 13u);
                EXPECT_EQ(std::stoi(row[0]), c["number"].get<int>());
                const char* keys[] = {"depth", "deflection", "slope", "moment", "shear", "soilReaction", "ei", "es",
                                      "ultimateResistance", "mobilisedRatio"};
                const int cols[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
                for (int k = 0; k < 10; ++k) {
                    const json& v = st[keys[k]][i];
                    const std::string& cell = row[static_cast<std::size_t>(cols[k])];
                    if (v.is_null()) {
                        EXPECT_EQ(cell, "") << keys[k];
                    } else {
                        EXPECT_EQ(std::strtod(cell.c_str(), nullptr), v.get<double>()) << keys[k];
                    }
                }
            }
        }
        EXPECT_EQ(n + 1, stations.size());
        const auto envelope = table("envelope");
        ASSERT_EQ(envelope.size(), env["depth"].size() + 1);
        for (std::size_t i = 0; i < env["depth"].size(); ++i) {
            EXPECT_EQ(std::strtod(envelope[i + 1][3].c_str(), nullptr), env["momentMin"][i].get<double>());
            EXPECT_EQ(std::strtod(envelope[i + 1][4].c_str(), nullptr), env["momentMax"][i].get<double>());
        }
        const auto summary = table("summary");
        ASSERT_EQ(summary.size(), cases.size() + 1);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            EXPECT_EQ(std::strtod(summary[i + 1][5].c_str(), nullptr), cases[i]["headDeflection"]["value"].get<double>());
            EXPECT_EQ(std::strtod(summary[i + 1][8].c_str(), nullptr), cases[i]["maxMoment"]["value"].get<double>());
        }
        // LRFD runs: factored moment against phi Mn, as the JSON file has it.
        const bool lrfd = j["lrfdChecks"].is_array();
        EXPECT_EQ(fs::exists(dir + "/" + stem + "-lrfd-checks.csv"), lrfd);
        if (lrfd) {
            const auto checks = table("lrfd-checks");
            ASSERT_EQ(checks.size(), j["lrfdChecks"].size() + 1);
            for (std::size_t i = 0; i < j["lrfdChecks"].size(); ++i) {
                const json& c = j["lrfdChecks"][i];
                EXPECT_EQ(checks[i + 1][7], c["check"].get<std::string>());
                if (c["ratio"].is_number()) {
                    EXPECT_EQ(std::strtod(checks[i + 1][6].c_str(), nullptr), c["ratio"].get<double>());
                }
            }
        }
    }
}

// ---- The printed calculation package ---------------------------------------

namespace {

std::string Capture(const std::string& command) {
    const std::string out = kestro::test::ScratchDir() + "/out.txt";
    std::system((command + " >" + out + " 2>/dev/null").c_str());
    return kestro::test::ReadText(out);
}

bool Have(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

// The PDF holds the title block, the summary numbers of the JSON file as the
// page shows them (engine units), page numbers on every page, and the paper
// asked for.
TEST(CalculationPackage, PdfHoldsTheSummaryOnThePaperAskedFor) {
    const bool ci = std::getenv("CI") != nullptr && std::string(std::getenv("CI")) == "true";
    for (const char* tool : {"chromium", "pdftotext", "pdfinfo"})
        if (!Have(tool)) {
            if (ci) FAIL() << tool << " is not installed";
            GTEST_SKIP() << tool << " is not installed";
        }
    struct Paper {
        const char* Option;
        const char* Size;  // pdfinfo's page size (Chromium rounds A4 to whole pixels)
    };
    const std::string input = (fs::path(KESTRO_SOURCE_DIR) / "examples" / "api-sand-static-us.kin").string();
    const std::string hash = Capture("sha256sum '" + input + "'").substr(0, 64);
    for (const Paper& p : {Paper{"a4", "pts (A4)"}, Paper{"letter", "612 x 792 pts (letter)"}}) {
        SCOPED_TRACE(p.Option);
        const std::string dir = kestro::test::ScratchDir();
        const CliRun r = RunCli({"run", input, "-o", dir, "--user", "A. Engineer", "--units", "engine", "--pdf",
                                 "--paper", p.Option});
        ASSERT_LE(r.Status, 1) << r.Out << r.Err;
        const std::string pdf = dir + "/api-sand-static-us-report.pdf";
        ASSERT_TRUE(fs::exists(pdf)) << r.Out << r.Err;
        EXPECT_NE(r.Out.find("  pdf:      " + pdf), std::string::npos);
        const std::string info = Capture("pdfinfo '" + pdf + "'");
        EXPECT_NE(info.find(p.Size), std::string::npos) << info;
        const int pages = std::atoi(info.substr(info.find("Pages:") + 6).c_str());
        EXPECT_GE(pages, 3);
        std::string text = Capture("pdftotext -layout '" + pdf + "' -");
        // Every page numbered "Page k of n".
        for (int k = 1; k <= pages; ++k)
            EXPECT_NE(text.find("Page " + std::to_string(k) + " of " + std::to_string(pages)), std::string::npos);
        for (const char* s : {"API sand, static loading", "A. Engineer", "Input file", "SHA-256"})
            EXPECT_NE(text.find(s), std::string::npos) << s;
        EXPECT_NE(text.find(hash), std::string::npos) << "hash " << hash;
        const json j = json::parse(std::ifstream(dir + "/api-sand-static-us-results.json"));
        for (const json& c : j["loadCases"])
            for (const char* key : {"headDeflection", "maxMoment", "maxShear"}) {
                const std::string shown = kestro::results::DisplayNumber(c[key]["value"].get<double>());
                EXPECT_NE(text.find(shown), std::string::npos) << key << " " << shown;
            }
    }
}

// Without the browser the command says so before it runs anything.
TEST(CalculationPackage, MissingBrowserIsAClearErrorBeforeTheRun) {
    ::setenv("KESTRO_CHROMIUM", "/nonexistent/chromium", 1);
    const std::string dir = kestro::test::ScratchDir() + "/out";
    const std::string input = (fs::path(KESTRO_SOURCE_DIR) / "examples" / "api-sand-static-us.kin").string();
    const CliRun r = RunCli({"run", input, "-o", dir, "--pdf"});
    EXPECT_EQ(r.Status, 69);
    EXPECT_NE(r.Err.find("headless Chromium, which was not found"), std::string::npos) << r.Err;
    EXPECT_FALSE(fs::exists(dir));
    const CliRun bad = RunCli({"run", input, "-o", dir, "--pdf", "--paper", "a3"});
    EXPECT_EQ(bad.Status, kestro::cli::ExitUsage);
    EXPECT_NE(bad.Err.find("--paper takes a4 or letter"), std::string::npos);
    ::unsetenv("KESTRO_CHROMIUM");
}
