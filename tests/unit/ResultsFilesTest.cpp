// The results files written by `kestro run` and `kestro view`: the JSON file
// against the plot records, damaged and error runs, and the HTML report opened
// in headless Chromium.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "HtmlReport.h"
#include "JsonWriter.h"
#include "PlotReader.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

struct Ran {
    int Status = 0;
    std::string Out, Err, Dir;  // Dir: the output folder
};

// Copies the example (or writes `input`) into a scratch folder and runs kestro on it.
Ran RunKestro(const std::string& name, const std::string& input, std::vector<std::string> extra = {}) {
    Ran r;
    const std::string dir = kestro::test::ScratchDir();
    kestro::test::WriteText(dir + "/" + name + ".kin", input);
    r.Dir = dir + "/out";
    std::vector<std::string> args = {"run", dir + "/" + name + ".kin", "-q", "-o", r.Dir};
    args.insert(args.end(), extra.begin(), extra.end());
    std::ostringstream out, err;
    r.Status = kestro::cli::Main(args, out, err);
    r.Out = out.str();
    r.Err = err.str();
    return r;
}

std::string Example(const std::string& name) {
    return kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/" + name + ".kin");
}

json ReadJson(const std::string& path) {
    json j = json::parse(kestro::test::ReadText(path), nullptr, false);
    EXPECT_FALSE(j.is_discarded()) << path << " is not JSON";
    return j;
}

// Significant digits of a number's text: "5.0478149E+06" and "5047814.9" both give "50478149".
std::string Digits(const std::string& s) {
    std::string d;
    for (char c : s.substr(0, s.find_first_of("eE")))
        if (c >= '0' && c <= '9') d += c;
    d.erase(0, d.find_first_not_of('0') == std::string::npos ? d.size() : d.find_first_not_of('0'));
    while (!d.empty() && d.back() == '0') d.pop_back();
    return d;
}

std::string Shortest(double v) {
    char buf[64];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// The same double as the plot file's text, whose shortest digits are the plot file's.
void ExpectSameNumber(const std::string& plotText, const json& v, const std::string& where) {
    ASSERT_TRUE(v.is_number()) << where;
    EXPECT_EQ(std::strtod(plotText.c_str(), nullptr), v.get<double>()) << where;
    EXPECT_EQ(Digits(plotText), Digits(Shortest(v.get<double>()))) << where;
}

// Every real number in a JSON text is written with its shortest digits.
struct RealTexts : nlohmann::json_sax<json> {
    std::string Longer;  // reals written with more digits than they need
    int Reals = 0;
    bool number_float(number_float_t v, const string_t& s) override {
        ++Reals;
        if (Digits(s) != Digits(Shortest(v))) Longer += s + " ";
        return true;
    }
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }
};

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream in(line.substr(0, line.find("Line ")));
    std::vector<std::string> t;
    for (std::string s; in >> s;) t.push_back(s);
    return t;
}

struct JsonCase {
    const char* Example;
    const char* Length;
    const char* Moment;
};

class ResultsJsonFile : public testing::TestWithParam<JsonCase> {};

TEST_P(ResultsJsonFile, CarriesEveryPlotNumberWithItsDigitsAndUnit) {
    const JsonCase& c = GetParam();
    const Ran r = RunKestro(c.Example, Example(c.Example));
    ASSERT_EQ(r.Status, 0) << r.Out << r.Err;
    const std::string text = kestro::test::ReadText(r.Dir + "/" + c.Example + "-results.json");
    RealTexts reals;
    EXPECT_TRUE(json::sax_parse(text, &reals));
    EXPECT_EQ(reals.Longer, "");
    EXPECT_GT(reals.Reals, 500);
    // The text is written directly; its layout is the JSON library's own.
    const nlohmann::ordered_json tree = nlohmann::ordered_json::parse(text);
    EXPECT_EQ(kestro::results::WithShortestReals(tree.dump(1)) + "\n", text);
    const json j = ReadJson(r.Dir + "/" + c.Example + "-results.json");
    EXPECT_EQ(j.at("schema"), "kestro-results");
    EXPECT_EQ(j.at("schemaVersion"), 1);
    EXPECT_EQ(j.at("run").at("status"), "normal");
    EXPECT_EQ(j.at("run").at("result"), 0);
    EXPECT_EQ(j.at("loadCases").at(0).at("headDeflection").at("unit"), c.Length);
    EXPECT_EQ(j.at("loadCases").at(0).at("maxMoment").at("unit"), c.Moment);
    EXPECT_EQ(j.at("loadCases").at(0).at("stations").at("units").at("moment"), c.Moment);

    std::istringstream plot(kestro::test::ReadText(r.Dir + "/" + c.Example + "-plot.txt"));
    int caseIndex = -1, summaryIndex = 0, curveIndex = -1, compared = 0;
    static const char* StationKeys[] = {"depth", "deflection", "moment", "shear", "soilReaction"};
    static const char* SummaryKeys[] = {"headShear", "headDeflection", "maxMoment", "maxShear"};
    for (std::string line; std::getline(plot, line);) {
        const std::vector<std::string> t = Tokens(line);
        if (line.find("Line 10(") != std::string::npos) {
            const int station = std::atoi(line.c_str() + line.find("Line 10(") + 8);
            if (station == 1) ++caseIndex;
            const json& st = j.at("loadCases").at(caseIndex).at("stations");
            for (int k = 0; k < 5; ++k)
                ExpectSameNumber(t.at(k), st.at(StationKeys[k]).at(station - 1), line), ++compared;
        } else if (line.find("Line 13:") != std::string::npos) {
            const json& lc = j.at("loadCases").at(summaryIndex++);
            for (int k = 0; k < 4; ++k) ExpectSameNumber(t.at(k), lc.at(SummaryKeys[k]).at("value"), line), ++compared;
        } else if (line.find("Line 7:") != std::string::npos) {
            ExpectSameNumber(t.at(0), j.at("pyCurves").at(++curveIndex).at("depth").at("value"), line);
        } else if (line.find("Line 8(") != std::string::npos) {
            const int k = std::atoi(line.c_str() + line.find("Line 8(") + 7) - 1;
            ExpectSameNumber(t.at(0), j.at("pyCurves").at(curveIndex).at("y").at(k), line);
            ExpectSameNumber(t.at(1), j.at("pyCurves").at(curveIndex).at("p").at(k), line);
        }
    }
    EXPECT_EQ(caseIndex + 1, static_cast<int>(j.at("loadCases").size()));
    EXPECT_GT(compared, 1000);
}

INSTANTIATE_TEST_SUITE_P(Examples, ResultsJsonFile,
                         testing::Values(JsonCase{"layered-soft-clay-sand-stiff-clay", "in", "in-lb"},
                                         JsonCase{"soft-clay-cyclic-si", "m", "kN-m"}));

// The direct writer against the JSON library writing the same document: the
// layout, empty containers, embedded trees, numbers that are not finite, and
// strings with quotes, control characters, UTF-8 and invalid bytes.
TEST(JsonWriter, WritesWhatTheJsonLibraryWrites) {
    using Tree = nlohmann::ordered_json;
    const std::vector<std::string> strings = {"", "plain", "say \"q\" \\ /", "tab\there\nline\x01\x1f\x7f",
                                              "\xc3\xa9t\xc3\xa9 \xe2\x80\x94", "bad \xff\xfe bytes \xc3"};
    const std::vector<double> reals = {0.0, -0.0, 1.5, -71.252243, 1e-300, 5047814.9, 1e21, 1.0 / 3.0,
                                       std::nan(""), HUGE_VAL};
    for (const bool compact : {false, true}) {
        std::string text;
        kestro::results::JsonWriter w(text, compact);
        Tree t;
        w.Object().Key("strings").Array();
        t["strings"] = Tree::array();
        for (const std::string& s : strings) w.Value(s), t["strings"].push_back(s);
        w.Close().Key("reals").Array();
        t["reals"] = Tree::array();
        for (const double v : reals) w.Value(v), t["reals"].push_back(v);
        w.Close().Member("count", 42).Member("flag", true).Member("none", nullptr);
        t["count"] = 42, t["flag"] = true, t["none"] = nullptr;
        w.Key("emptyArray").Array().Close().Key("emptyObject").Object().Close();
        t["emptyArray"] = Tree::array(), t["emptyObject"] = Tree::object();
        const Tree sub = {{"a", {1, 2.5, "x"}}, {"b", Tree::object()}, {"c", {{"d", Tree::array()}}}};
        w.Key("nested").Array().Value(sub).Value(Tree::array()).Close().Close();
        t["nested"] = Tree::array({sub, Tree::array()});
        const std::string expected = kestro::results::WithShortestReals(
            t.dump(compact ? -1 : 1, ' ', false, nlohmann::json::error_handler_t::replace));
        EXPECT_EQ(text, expected) << (compact ? "compact" : "indented");
    }
}

// Damaged plot files, a run that stopped early and a run that ended by an error:
// the JSON still parses with the outcome and what exists, the page says what happened.
TEST(ResultsFiles, BadInputStillGivesAnOutcomeAndAPage) {
    const Ran good = RunKestro("pile", Example("layered-soft-clay-sand-stiff-clay"));
    ASSERT_EQ(good.Status, 0);
    const Ran bad = RunKestro("bad", kestro::test::MinimalInput("NONSENSE\n"));
    ASSERT_EQ(bad.Status, kestro::cli::ExitError);
    const std::string plot = kestro::test::ReadText(good.Dir + "/pile-plot.txt");
    const std::string report = kestro::test::ReadText(good.Dir + "/pile-report.txt");
    const std::string messages = kestro::test::ReadText(good.Dir + "/pile-messages.txt");
    std::size_t cut = 0;
    for (int i = 0; i < 360; ++i) cut = plot.find('\n', cut) + 1;

    struct Case {
        const char* What;
        std::string Plot, Report, Messages;  // files for `kestro view`; empty Plot: use the error run's own
        const char* Status;
        std::size_t LoadCases;
        std::vector<std::string> PageSays;
    };
    const std::vector<Case> table = {
        {"aborted run", plot.substr(0, cut + 20), report.substr(0, report.find("Summary of Pile Response")),
         messages.substr(0, messages.find("Completed Analysis 2")), "unfinished", 2,
         {"The analysis did not finish", "The plot file is incomplete: line 361"}},
        {"empty plot file", "\n", report, messages, "normal", 0,
         {"The analysis ended normally.", "line 1: ", "No load case results"}},
        {"run ended by an error", "", "", "", "error", 0,
         {"The analysis ended by error 199 (INPUT ERROR, INP00099).", "The following line is unrecognized or is out-of-order"}},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.What);
        std::string dir = bad.Dir, name = "bad";
        if (!c.Plot.empty()) {
            dir = kestro::test::ScratchDir();
            name = "pile";
            kestro::test::WriteText(dir + "/pile-plot.txt", c.Plot == "\n" ? "" : c.Plot);
            kestro::test::WriteText(dir + "/pile-report.txt", c.Report);
            kestro::test::WriteText(dir + "/pile-messages.txt", c.Messages);
        }
        std::ostringstream out, err;
        EXPECT_EQ(kestro::cli::Main({"view", dir + "/" + name + "-plot.txt"}, out, err), 0) << err.str();
        const json j = ReadJson(dir + "/" + name + "-results.json");
        EXPECT_EQ(j.at("schemaVersion"), 1);
        EXPECT_EQ(j.at("run").at("status"), c.Status);
        EXPECT_FALSE(j.at("plotFile").at("complete"));
        EXPECT_EQ(j.at("loadCases").size(), c.LoadCases);
        const std::string page = kestro::test::ReadText(dir + "/" + name + "-report.html");
        EXPECT_NE(page.find("</html>"), std::string::npos);
        for (const std::string& s : c.PageSays) EXPECT_NE(page.find(s), std::string::npos) << s;
    }
    // The error number of the run survives a rebuild of the files.
    const json j = ReadJson(bad.Dir + "/bad-results.json");
    EXPECT_EQ(j.at("run").at("error").at("number"), 199);
    EXPECT_EQ(j.at("run").at("error").at("code"), "INP00099");
}

TEST(ResultsFiles, OptionsChooseTheFilesAndViewChecksItsArguments) {
    const Ran r = RunKestro("pile", kestro::test::MinimalInput(), {"--no-html"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(fs::exists(r.Dir + "/pile-results.json"));
    EXPECT_FALSE(fs::exists(r.Dir + "/pile-report.html"));
    const Ran r2 = RunKestro("pile", kestro::test::MinimalInput(), {"--no-json"});
    EXPECT_FALSE(fs::exists(r2.Dir + "/pile-results.json"));
    EXPECT_TRUE(fs::exists(r2.Dir + "/pile-report.html"));
    std::ostringstream out, err;
    EXPECT_EQ(kestro::cli::Main({"view"}, out, err), kestro::cli::ExitUsage);
    EXPECT_EQ(kestro::cli::Main({"view", r.Dir + "/nothere-plot.txt"}, out, err), kestro::cli::ExitError);
    EXPECT_EQ(kestro::cli::Main({"view", r.Dir + "/pile-plot.txt", "--bogus"}, out, err), kestro::cli::ExitUsage);
}

// Values at the ends of the double range still give a whole page (no endless
// tick loop, no overflowing axis).
// A results file is replaced only by a complete one: when its new text cannot
// be written (here a folder stands where the partial file would go), the file
// of the earlier run stays as it was and the command says which it could not
// write; no partial file is left behind.
TEST(ResultsFiles, AFileThatCannotBeWrittenLeavesTheEarlierOne) {
    const Ran first = RunKestro("atomic", Example("soft-clay-elastic-pile"));
    ASSERT_EQ(first.Status, 0) << first.Err;
    const std::string json = first.Dir + "/atomic-results.json";
    const std::string html = first.Dir + "/atomic-report.html";
    ASSERT_TRUE(fs::exists(json) && fs::exists(html));
    const std::string before = kestro::test::ReadText(json);
    kestro::test::WriteText(json, before + " ");  // marks the earlier file
    fs::create_directory(json + ".part");

    std::ostringstream out, err;
    const int status = kestro::cli::Main({"view", first.Dir + "/atomic-plot.txt", "-o", first.Dir}, out, err);
    EXPECT_NE(status, 0);
    EXPECT_NE(err.str().find("atomic-results.json"), std::string::npos) << err.str();
    EXPECT_EQ(kestro::test::ReadText(json), before + " ");
    EXPECT_TRUE(fs::is_directory(json + ".part"));
    EXPECT_FALSE(fs::exists(html + ".part"));
}

TEST(ResultsFiles, ExtremeValuesStillGiveAPage) {
    const std::string label80 = std::string(50, ' ');
    kestro::results::RunResults r;
    r.Name = "extreme";
    r.Plot = kestro::results::ReadPlotText(
        "    3    1    1    0 " + label80 + "Line 1 : ICOM, IUNITS, KYL, KXX\n"
        "    1 " + label80 + "Line 2 : Total number of sections\n"
        "    0 " + label80 + "Line 6 : number of output p-y curves\n"
        "    1    2    1 " + label80 + "Line 9:  No. loads, No. nodes, iunits: 1 = USCS, 2 = SI\n"
        "0.0E+00 -1.7E+308 1.7E+308 1.0E-300 1.0E+00 Line 10(  1): nodal depth, y, M, V, p\n"
        "1.0E+300 1.7E+308 -1.7E+308 1.0E+00 1.0E+00 Line 10(  2): nodal depth, y, M, V, p\n"
        "    0 " + label80 + "Line 11: Num. points on Ytop vs. Length curve for load case 1\n"
        "1.0E+00 -1.7E+308 1.7E+308 1.0E+00 Line 13: TopV, TopY, Mmax, Vmax\n");
    ASSERT_TRUE(r.Plot.Complete) << r.Plot.Problem;
    const std::string page = kestro::results::HtmlReport(r);
    EXPECT_NE(page.find("</html>"), std::string::npos);
    EXPECT_NE(page.find("data-chart=\"moment\""), std::string::npos);
    EXPECT_EQ(page.find("nan"), std::string::npos);
    EXPECT_EQ(page.find("inf"), std::string::npos);
}

// ---- The HTML report in a real browser -------------------------------------

std::string Browser() {
    for (const char* b : {"chromium", "chromium-browser"})
        if (std::system((std::string("command -v ") + b + " >/dev/null 2>&1").c_str()) == 0) return b;
    return {};
}

// Missing browser: a failure in continuous integration, a skip elsewhere.
#define REQUIRE_BROWSER(b)                                                                  \
    const std::string b = Browser();                                                        \
    if (b.empty()) {                                                                        \
        const char* ci = std::getenv("CI");                                                 \
        if (ci != nullptr && std::string(ci) == "true") FAIL() << "Chromium is not installed"; \
        GTEST_SKIP() << "Chromium is not installed";                                        \
    }

struct Page {
    std::string Dom, Log;
};

// Opens `html` headless; the DOM as rendered and the browser's log (console lines).
Page OpenInBrowser(const std::string& browser, const std::string& html, const std::string& screenshot = {}) {
    const std::string work = kestro::test::ScratchDir();
    const std::string common = "timeout 120 " + browser +
                               " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
                               "--disable-background-networking --disable-component-update --disable-sync "
                               "--hide-scrollbars --user-data-dir=" + work + "/profile ";
    const std::string url = "file://" + fs::absolute(html).string();
    std::system((common + "--window-size=1366,900 --enable-logging=stderr --v=0 --dump-dom '" + url + "' >" + work + "/dom.html 2>" + work +
                 "/log.txt")
                    .c_str());
    if (!screenshot.empty())
        std::system((common + "--window-size=1366,3400 --screenshot='" + screenshot + "' '" + url + "' >/dev/null 2>&1")
                        .c_str());
    return {kestro::test::ReadText(work + "/dom.html"), kestro::test::ReadText(work + "/log.txt")};
}

std::string ConsoleLines(const std::string& log) {
    std::istringstream in(log);
    std::string found;
    for (std::string l; std::getline(in, l);)
        if (l.find(":CONSOLE") != std::string::npos) found += l + "\n";
    return found;
}

TEST(HtmlReportInBrowser, ConsoleMessagesAreSeen) {
    REQUIRE_BROWSER(browser);
    const std::string dir = kestro::test::ScratchDir();
    kestro::test::WriteText(dir + "/t.html", "<!DOCTYPE html><html><body><script>console.error('x')</script></body></html>");
    EXPECT_NE(ConsoleLines(OpenInBrowser(browser, dir + "/t.html").Log), "");
}

// Measures, in the page as the browser lays it out, every chart's text against
// the curves, points and capacity lines drawn in its plot area and against the
// chart's other text; writes what overlaps into the page.
constexpr const char* OverlapScript = R"(<script>
(function () {
  const found = [];
  const meet = (a, b) => a.left < b.right - 0.5 && b.left < a.right - 0.5 && a.top < b.bottom - 0.5 && b.top < a.bottom - 0.5;
  const charts = document.querySelectorAll('svg[data-chart]');
  let lines = 0;
  for (const svg of charts) {
    const id = svg.getAttribute('data-chart');
    const texts = [...svg.querySelectorAll('text')].map(t => [t.textContent, t.getBoundingClientRect()]);
    const frame = svg.querySelector('rect.frame');
    const f = frame ? frame.getBoundingClientRect() : null;
    const drawn = [...svg.querySelectorAll('path.series, circle.marker, line.ref')].map(p => {
      const r = p.getBoundingClientRect();
      const c = f ? {left: Math.max(r.left, f.left), right: Math.min(r.right, f.right),
                     top: Math.max(r.top, f.top), bottom: Math.min(r.bottom, f.bottom)} : r;
      return [p.getAttribute('data-series') || p.getAttribute('data-ref'), c];
    });
    lines += drawn.length;
    for (const [s, t] of texts)
      for (const [k, l] of drawn)
        if (l.right >= l.left && l.bottom >= l.top && meet(t, l)) found.push(id + ': "' + s + '" over ' + k);
    for (let a = 0; a < texts.length; a++)
      for (let b = a + 1; b < texts.length; b++)
        if (meet(texts[a][1], texts[b][1])) found.push(id + ': "' + texts[a][0] + '" over "' + texts[b][0] + '"');
  }
  const pre = document.createElement('pre');
  pre.id = 'overlaps';
  pre.textContent = 'charts ' + charts.length + ' lines ' + lines + '\n' + found.map(x => x + '\n').join('') + 'end';
  document.body.appendChild(pre);
})();
</script>)";

struct PageCase {
    const char* Example;
    int LoadCases;
    int PyCurves;
    const char* MustShow;  // a view the example has
};

class HtmlReportInBrowserExamples : public testing::TestWithParam<PageCase> {};

// The three inputs of an engineer's trial: each page opens at laptop width
// without a console message, every chart is drawn, and no label overlaps a
// curve or another label.
TEST_P(HtmlReportInBrowserExamples, DrawsEveryChartWithoutOverlappingText) {
    REQUIRE_BROWSER(browser);
    const PageCase& c = GetParam();
    const Ran r = RunKestro(c.Example, Example(c.Example));
    ASSERT_EQ(r.Status, 0) << r.Out;
    const std::string artifacts = KESTRO_TEST_ARTIFACTS;
    fs::create_directories(artifacts);
    const std::string shot = artifacts + "/" + c.Example + "-report.png";
    fs::remove(shot);
    const std::string html = r.Dir + "/" + c.Example + "-report.html";
    const Page page = OpenInBrowser(browser, html, shot);
    ASSERT_NE(page.Dom.find("</html>"), std::string::npos) << "the browser gave no page: " << page.Log;
    EXPECT_EQ(ConsoleLines(page.Log), "");
    ASSERT_TRUE(fs::exists(shot));
    EXPECT_GT(fs::file_size(shot), 20000u);

    auto svgOf = [&](const std::string& id) {
        std::size_t at = page.Dom.find("data-chart=\"" + id + "\"");
        if (at == std::string::npos) return std::string();
        return page.Dom.substr(at, page.Dom.find("</svg>", at) - at);
    };
    // A drawn curve: a path of the series whose outline has a move and at least one line segment.
    auto drawn = [](const std::string& svg, const std::string& key) {
        const std::string head = "data-series=\"" + key + "\" d=\"M";
        const std::size_t at = svg.find(head);
        if (at == std::string::npos) return false;
        const std::string d = svg.substr(at + head.size() - 1, svg.find('"', at + head.size()) - (at + head.size() - 1));
        return d.find(" L") != std::string::npos && d.find("nan") == std::string::npos;
    };
    for (const char* id : {"deflection", "slope", "moment", "shear", "soil-reaction"}) {
        const std::string svg = svgOf(id);
        ASSERT_FALSE(svg.empty()) << "no chart " << id;
        for (int k = 1; k <= c.LoadCases; ++k) EXPECT_TRUE(drawn(svg, "case-" + std::to_string(k))) << id << " case " << k;
        EXPECT_NE(svg.find(">GS</text>"), std::string::npos) << id;
    }
    for (int k = 1; k <= c.PyCurves; ++k) {
        const std::string svg = svgOf("py-curve-" + std::to_string(k));
        EXPECT_TRUE(drawn(svg, "curve-" + std::to_string(k))) << k;
        EXPECT_NE(svg.find("class=\"marker\" clip-path=\"url(#clip-py-curve-" + std::to_string(k) + ")\" data-series=\"case-1\""),
                  std::string::npos)
            << k;
    }
    EXPECT_FALSE(svgOf("pile-soil").empty());
    EXPECT_FALSE(svgOf(c.MustShow).empty() && page.Dom.find(std::string("id=\"") + c.MustShow + "\"") == std::string::npos)
        << c.MustShow;

    // Layout at laptop width: the page with the measuring script, as laid out.
    std::string text = kestro::test::ReadText(html);
    text.insert(text.rfind("</body>"), OverlapScript);
    const std::string measured = r.Dir + "/measured.html";
    kestro::test::WriteText(measured, text);
    const Page m = OpenInBrowser(browser, measured);
    const std::size_t at = m.Dom.find("<pre id=\"overlaps\">");
    ASSERT_NE(at, std::string::npos) << m.Log;
    const std::string report = m.Dom.substr(at + 19, m.Dom.find("</pre>", at) - at - 19);
    const std::string first = report.substr(0, report.find('\n'));
    EXPECT_EQ(report.substr(report.find('\n') + 1), "end") << report;
    // The measure saw the charts and their curves.
    EXPECT_GE(std::atoi(first.c_str() + 7), 8) << first;
    EXPECT_GE(std::atoi(first.c_str() + first.find("lines ") + 6), 20) << first;
}

INSTANTIATE_TEST_SUITE_P(Examples, HtmlReportInBrowserExamples,
                         testing::Values(PageCase{"drilled-shaft-48in-clay-sand-weak-rock", 3, 3, "load-deflection"},
                                         PageCase{"pipe-914mm-api-sand-cyclic-si", 4, 3, "load-moment"},
                                         PageCase{"h-pile-lrfd-combinations", 3, 0, "lrfd"}));

}  // namespace
