// The results page as an engineer reads it: every number of its tables in the
// display units equals the JSON file's value converted with this test's own
// unit sizes, shows at most four significant figures, and each view is on the
// page exactly when its data exist. Run over every example.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "HtmlReport.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// Size in N and m of every unit label the JSON file or the page uses.
double UnitSize(const std::string& label) {
    const double in = 0.0254, ft = 0.3048, lb = 4.4482216152605, kip = 4448.2216152605;
    static const std::map<std::string, double> sizes = {
        {"", 1.0},          {"rad", 1.0},          {"in", in},              {"ft", ft},
        {"m", 1.0},         {"mm", 1.0e-3},        {"lb", lb},              {"kip", kip},
        {"kN", 1.0e3},      {"in-lb", lb * in},    {"kip-in", kip * in},    {"kip-ft", kip * ft},
        {"kN-m", 1.0e3},    {"lb/in", lb / in},    {"kip/in", kip / in},    {"kN/m", 1.0e3},
        {"kip-in2", kip * in * in}, {"kip-in\u00b2", kip * in * in},       {"kN-m2", 1.0e3},
        {"kN-m\u00b2", 1.0e3}, {"rad/in", 1.0 / in}, {"rad/m", 1.0},        {"lb/rad", lb},
        {"kip/rad", kip},   {"kN/rad", 1.0e3},     {"in-lb/in", lb},        {"kip-ft/in", kip * ft / in},
        {"kN-m/m", 1.0e3},  {"in-lb/rad", lb * in}, {"kip-ft/rad", kip * ft}, {"kN-m/rad", 1.0e3}};
    const auto it = sizes.find(label);
    return it == sizes.end() ? std::nan("") : it->second;
}

// Significant figures a number's text shows: "0.009227" 4, "12350" 4, "1.5E+07" 2.
int Significant(std::string t) {
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.erase(0, 1);
    t = t.substr(0, t.find_first_of("eE"));
    const bool point = t.find('.') != std::string::npos;
    t.erase(std::remove(t.begin(), t.end(), '.'), t.end());
    t.erase(0, std::min(t.find_first_not_of('0'), t.size()));
    if (!point)
        while (!t.empty() && t.back() == '0') t.pop_back();
    return static_cast<int>(t.size());
}

// The value a cell points at and its JSON unit: a quantity object, a column
// entry (its unit in the table's `units`), or a plain ratio.
bool JsonValue(const json& j, const std::string& pointer, double& v, std::string& unit) {
    const json::json_pointer p(pointer);
    if (!j.contains(p)) return false;
    const json& x = j.at(p);
    if (x.is_object()) {
        if (!x.at("value").is_number()) return false;
        v = x.at("value").get<double>();
        unit = x.at("unit").get<std::string>();
        return true;
    }
    if (!x.is_number()) return false;
    v = x.get<double>();
    const std::string last = pointer.substr(pointer.rfind('/') + 1);
    if (last.find_first_not_of("0123456789") != std::string::npos) {
        unit = "";  // a ratio or factor
        return true;
    }
    const std::string column = pointer.substr(0, pointer.rfind('/'));
    const std::string table = column.substr(0, column.rfind('/'));
    unit = j.at(json::json_pointer(table + "/units/" + column.substr(column.rfind('/') + 1))).get<std::string>();
    return true;
}

struct PageCheck {
    int Cells = 0;
    std::string Problems;
};

// Every numeric table cell against the JSON; every number of a cell or tick at
// four significant figures or fewer.
PageCheck CheckNumbers(const std::string& page, const json& j) {
    PageCheck c;
    const std::regex cell("<td class=\"num\"( data-json=\"([^\"]*)\" data-unit=\"([^\"]*)\")?>([^<]*)</td>");
    for (std::sregex_iterator it(page.begin(), page.end(), cell), end; it != end; ++it) {
        const std::string text = (*it)[4];
        if (Significant(text) > 4) c.Problems += "more than four figures: " + text + "\n";
        if (!(*it)[1].matched) continue;
        double v = 0.0;
        std::string unit;
        if (!JsonValue(j, (*it)[2], v, unit)) {
            c.Problems += "no JSON value at " + (*it)[2].str() + "\n";
            continue;
        }
        // A free head's moment of rounding noise (below 1E-9 of the case's
        // largest moment) is shown as zero.
        const std::string pointer = (*it)[2];
        if (text == "0" && pointer.size() > 18 && pointer.compare(pointer.size() - 18, 18, "/stations/moment/0") == 0) {
            const std::string lc = pointer.substr(0, pointer.size() - 18);
            if (std::fabs(v) <= 1e-9 * std::fabs(j.at(json::json_pointer(lc + "/maxMoment/value")).get<double>())) {
                ++c.Cells;
                continue;
            }
        }
        const std::string shownUnit = (*it)[3];
        const double factor = unit == shownUnit ? 1.0 : UnitSize(unit) / UnitSize(shownUnit);
        const double expected = v * factor, shown = std::strtod(text.c_str(), nullptr);
        if (!(std::fabs(shown - expected) <= 5.0e-4 * std::fabs(expected) + 1e-12))
            c.Problems += (*it)[2].str() + ": page " + text + " " + shownUnit + ", JSON " + std::to_string(v) + " " +
                          unit + " gives " + std::to_string(expected) + "\n";
        ++c.Cells;
    }
    const std::regex tick("<text class=\"tick\"[^>]*>([^<]*)</text>");
    for (std::sregex_iterator it(page.begin(), page.end(), tick), end; it != end; ++it)
        if (Significant((*it)[1]) > 4) c.Problems += "tick with more than four figures: " + (*it)[1].str() + "\n";
    return c;
}

bool Has(const std::string& page, const std::string& s) { return page.find(s) != std::string::npos; }

std::vector<std::string> ExampleNames() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(std::string(KESTRO_SOURCE_DIR) + "/examples"))
        if (e.path().extension() == ".kin") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ResultsPage : public testing::TestWithParam<std::string> {};

TEST_P(ResultsPage, ShowsTheJsonInDisplayUnitsAndEachViewWhenItsDataExist) {
    const std::string name = GetParam();
    const std::string dir = kestro::test::ScratchDir();
    std::ostringstream out, err;
    // 0: ended normally; 1: ended with warnings (the massive rock examples'
    // unit weight of rock lies above the echo's usual limit for soil).
    ASSERT_LE(kestro::cli::Main({"run", std::string(KESTRO_SOURCE_DIR) + "/examples/" + name + ".kin", "-q", "-o",
                                 dir + "/input"},
                                out, err),
              1)
        << err.str();
    const json j = json::parse(kestro::test::ReadText(dir + "/input/" + name + "-results.json"));
    const std::string system = j.at("units").at("name");
    // The default page is in the units of the input; then both systems and the engine's.
    struct Variant {
        const char* Units;
        const char* Length;  // depth unit expected in the summary's header
    };
    const bool us = system == "US customary";
    const std::vector<Variant> variants = {{"input", us ? "ft" : "m"}, {"us", "ft"}, {"si", "m"}, {"engine", us ? "in" : "m"}};
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.Units);
        const std::string out2 = dir + "/" + v.Units;
        std::ostringstream o2, e2;
        ASSERT_EQ(kestro::cli::Main({"view", dir + "/input/" + name + "-plot.txt", "-o", out2, "--units", v.Units,
                                     "--no-json"},
                                    o2, e2),
                  0)
            << e2.str();
        const std::string page = kestro::test::ReadText(out2 + "/" + name + "-report.html");
        const PageCheck c = CheckNumbers(page, j);
        EXPECT_EQ(c.Problems, "");
        if (j.at("loadCases").empty()) continue;  // a section-only run: its capacity table alone
        EXPECT_GT(c.Cells, 10);
        EXPECT_TRUE(Has(page, std::string("Depth of max. moment<br>") + v.Length)) << v.Length;
    }
    const std::string page = kestro::test::ReadText(dir + "/input/" + name + "-report.html");

    // Views present exactly when their data exist.
    EXPECT_EQ(Has(page, "id=\"lrfd\""), !j.at("lrfdChecks").is_null());
    EXPECT_EQ(Has(page, "data-chart=\"interaction-1\""), !j.at("interaction").is_null());
    EXPECT_EQ(!j.at("interaction").is_null(), Has(kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/" +
                                                                         name + ".kin"),
                                                  "ComputeInteraction YES"));
    bool study = false, groups = false;
    int failed = 0;
    std::map<std::pair<int, double>, int> sharing;
    for (const json& lc : j.at("loadCases")) {
        study = study || !lc.at("lengthStudy").is_null();
        failed += lc.at("failed").get<bool>() ? 1 : 0;
        if (lc.at("failed").get<bool>() || lc.at("headCondition").is_null()) continue;
        const json& h = lc.at("headCondition");
        groups = ++sharing[{h.at("loadType").get<int>(), h.at("condition2").at("value").get<double>()}] >= 2 || groups;
    }
    EXPECT_EQ(Has(page, "data-chart=\"length-study\""), study);
    EXPECT_EQ(Has(page, "data-chart=\"load-deflection\""), groups);
    EXPECT_EQ(Has(page, "data-chart=\"load-moment\""), groups);
    EXPECT_EQ(Has(page, "data-chart=\"stiffness-shear\""), !j.at("stiffness").is_null());
    int curves = 0;
    for (const json& pc : j.at("pyCurves"))
        if (!pc.at("y").empty()) {
            ++curves;
            EXPECT_TRUE(Has(page, "data-chart=\"py-curve-" + std::to_string(pc.at("number").get<int>()) + "\""));
        }
    std::size_t charts = 0;
    for (std::size_t at = page.find("data-chart=\"py-curve-"); at != std::string::npos;
         at = page.find("data-chart=\"py-curve-", at + 1))
        ++charts;
    EXPECT_EQ(charts, static_cast<std::size_t>(curves));
    EXPECT_EQ(Has(page, "data-chart=\"pile-soil\""), !j.at("profile").at("soilLayers").empty());
    bool capacity = false;
    for (const json& s : j.at("sections"))
        for (const json& t : s.at("curves")) capacity = capacity || t.at("nominalMomentCapacity").at("value").get<double>() > 0.0;
    const bool moments = !j.at("loadCases").empty();  // the moment chart
    EXPECT_EQ(Has(page, "data-ref=\"Nominal capacity Mn"), capacity && moments);
    EXPECT_EQ(Has(page, "data-ref=\"Factored capacity"), !j.at("lrfdChecks").is_null() && moments);
    std::size_t failedRows = 0;
    for (std::size_t at = page.find("class=\"failed\""); at != std::string::npos; at = page.find("class=\"failed\"", at + 1))
        ++failedRows;
    EXPECT_EQ(failedRows, static_cast<std::size_t>(failed));
    EXPECT_EQ(Has(page, "data-chart=\"slope\""), moments);
    bool printed = false;
    for (const json& lc : j.at("loadCases")) printed = printed || !lc.at("printedStations").is_null();
    EXPECT_EQ(Has(page, "data-chart=\"ei\""), printed && moments);
}

INSTANTIATE_TEST_SUITE_P(Examples, ResultsPage, testing::ValuesIn(ExampleNames()),
                         [](const testing::TestParamInfo<std::string>& i) {
                             std::string n = i.param;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

// Four significant figures, no exponent in the everyday range, no minus zero.
TEST(ResultsPage, NumbersHaveFourSignificantFigures) {
    struct Row {
        double V;
        const char* Text;
    };
    const Row rows[] = {{0.0092273308, "0.009227"}, {725.000010803, "725"},   {-0.0, "0"},
                        {123456.0, "123500"},        {99999.0, "100000"},      {1.0e6, "1E+06"},
                        {-5047788.0, "-5.048E+06"},  {0.00012346, "0.0001235"}, {1.2e-5, "1.2E-05"},
                        {9.99951, "10"},             {-0.0048960, "-0.004896"}, {1.0, "1"},
                        {2.5, "2.5"}};
    for (const Row& r : rows) EXPECT_EQ(kestro::results::DisplayNumber(r.V), r.Text) << r.V;
    for (const Row& r : rows) EXPECT_LE(Significant(r.Text), 4) << r.Text;
}

// Chart coordinates against printf's %.2f: exact half-hundredths (ties to
// even), values a hair either side of a half, signs and zeros, the limits, and
// a million values spread over the range.
TEST(ResultsPage, CoordinatesAreWrittenAsPrintfWritesThem) {
    auto printf2 = [](double v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.2f", v);
        return std::string(buf);
    };
    auto ours = [](double v) {
        char buf[32];
        return std::string(buf, kestro::results::CoordinateText(buf, v));
    };
    std::vector<double> values = {0.0, -0.0, 0.125, 0.375, -0.125, 2.675, 1.005, 0.005, -0.004, 99999.995,
                                  1.0e5, -1.0e5, 0.015, 0.025, 1234.565, 5e-324};
    for (int k = -2000; k <= 2000; ++k) {
        const double half = (k + 0.5) / 100.0;  // rarely exact: the product's error decides
        values.push_back(half);
        values.push_back(std::nextafter(half, 1e9));
        values.push_back(std::nextafter(half, -1e9));
        values.push_back(k / 8.0);  // exact ties in binary
    }
    std::uint64_t x = 88172645463325252ull;  // xorshift: the same values every run
    for (int k = 0; k < 1000000; ++k) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        const double u = static_cast<double>(x >> 11) / 9007199254740992.0;
        values.push_back((u - 0.5) * (k % 3 == 0 ? 2.0e5 : k % 3 == 1 ? 2000.0 : 2.0));
    }
    int wrong = 0;
    for (const double v : values)
        if (ours(v) != printf2(v) && ++wrong <= 5) ADD_FAILURE() << v << ": " << ours(v) << " against " << printf2(v);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(ours(std::nan("")), "0.00");
    EXPECT_EQ(ours(3.0e7), "100000.00");
    EXPECT_EQ(ours(-HUGE_VAL), "-100000.00");
}

// A case that failed is shown as failed with the engine's reason, never as
// zeros; the JSON holds null values for it. A case before it keeps its results.
TEST(ResultsPage, AFailedCaseIsShownAsFailedWithItsReason) {
    std::string input =
        kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/soft-clay-cyclic-si.kin");
    const std::string from = "2  1  100.0  0.0  400.0";
    ASSERT_NE(input.find(from), std::string::npos);
    input.replace(input.find(from), from.size(), "2  1  900.0  0.0  400.0");
    const std::string dir = kestro::test::ScratchDir();
    kestro::test::WriteText(dir + "/over.kin", input);
    std::ostringstream out, err;
    EXPECT_EQ(kestro::cli::Main({"run", dir + "/over.kin", "-q", "-o", dir + "/out"}, out, err),
              kestro::cli::ExitError);
    const json j = json::parse(kestro::test::ReadText(dir + "/out/over-results.json"));
    ASSERT_EQ(j.at("loadCases").size(), 2u);
    EXPECT_FALSE(j.at("loadCases").at(0).at("failed").get<bool>());
    EXPECT_TRUE(j.at("loadCases").at(1).at("failed").get<bool>());
    EXPECT_TRUE(j.at("loadCases").at(1).at("headShear").at("value").is_null());
    EXPECT_TRUE(j.at("loadCases").at(1).at("maxMoment").at("value").is_null());
    const std::string page = kestro::test::ReadText(dir + "/out/over-report.html");
    const std::size_t row = page.find("<tr data-case=\"2\" class=\"failed\">");
    ASSERT_NE(row, std::string::npos);
    const std::string tr = page.substr(row, page.find("</tr>", row) - row);
    EXPECT_NE(tr.find("Failed: Runtime Error No. 9. The computed deflection is larger than the specified excess "
                      "deflection limit."),
              std::string::npos)
        << tr;
    EXPECT_EQ(tr.find("class=\"num\""), std::string::npos) << tr;
    const std::size_t first = page.find("<tr data-case=\"1\">");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(page.substr(first, page.find("</tr>", first) - first).find("data-json=\"/loadCases/0/maxMoment\""),
              std::string::npos);
    EXPECT_EQ(CheckNumbers(page, j).Problems, "");
}

// With the interaction option the report's interaction diagram is in the JSON
// file (its rows to the digit) and drawn on the page.
TEST(ResultsPage, InteractionDiagramWhenTheOptionIsOn) {
    std::string input =
        kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/drilled-shaft-36in-stiff-clay.kin");
    const std::string from = "ComputeInteraction NO\n";
    ASSERT_NE(input.find(from), std::string::npos);
    input.replace(input.find(from), from.size(), "ComputeInteraction YES\nCode ACI318\n");
    const std::string dir = kestro::test::ScratchDir();
    kestro::test::WriteText(dir + "/shaft.kin", input);
    std::ostringstream out, err;
    kestro::cli::Main({"run", dir + "/shaft.kin", "-q", "-o", dir + "/out"}, out, err);
    const json j = json::parse(kestro::test::ReadText(dir + "/out/shaft-results.json"));
    ASSERT_FALSE(j.at("interaction").is_null());
    const json& d = j.at("interaction").at(0);
    EXPECT_EQ(d.at("units").at("axialThrust"), "kip");
    EXPECT_EQ(d.at("units").at("moment"), "kip-in");
    ASSERT_GT(d.at("axialThrust").size(), 5u);
    EXPECT_EQ(d.at("axialThrust").size(), d.at("moment").size());
    // The report's rows: "    2           441.173         30177.311".
    const std::string report = kestro::test::ReadText(dir + "/out/shaft-report.txt");
    const std::size_t at = report.find("Summary of Results for Column Interaction");
    ASSERT_NE(at, std::string::npos);
    std::istringstream rows(report.substr(report.find("Num.", at)));
    std::string line;
    std::getline(rows, line);  // the rest of the heading's line
    for (std::size_t k = 0; std::getline(rows, line) && k < d.at("moment").size(); ++k) {
        std::istringstream w(line);
        int n = 0;
        double t = 0.0, m = 0.0;
        ASSERT_TRUE(static_cast<bool>(w >> n >> t >> m)) << line;
        EXPECT_EQ(t, d.at("axialThrust").at(k).get<double>()) << line;
        EXPECT_EQ(m, d.at("moment").at(k).get<double>()) << line;
    }
    const std::string page = kestro::test::ReadText(dir + "/out/shaft-report.html");
    EXPECT_TRUE(Has(page, "data-chart=\"interaction-1\""));
    EXPECT_TRUE(Has(page, "Moment capacity, kip-ft"));
}

TEST(ResultsPage, UnitsOptionTakesOnlyKnownSystems) {
    std::ostringstream out, err;
    EXPECT_EQ(kestro::cli::Main({"view", "x-plot.txt", "--units", "furlongs"}, out, err), kestro::cli::ExitUsage);
    EXPECT_NE(err.str().find("--units takes us, si, engine or input"), std::string::npos);
    EXPECT_EQ(kestro::cli::Main({"view", "x-plot.txt", "--units"}, out, err), kestro::cli::ExitUsage);
    EXPECT_EQ(kestro::cli::Main({"run", "x.kin", "--units", "cgs"}, out, err), kestro::cli::ExitUsage);
}

}  // namespace
