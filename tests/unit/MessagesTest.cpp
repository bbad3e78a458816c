// Every mistake names its line and what was meant: a keyword or option word
// with one character changed is reported with its line number, its text and
// the word meant; the errors without a number of their own carry one.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

using kestro::test::MinimalInput;
using kestro::test::RunInput;

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l)) lines.push_back(l);
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + '\n';
    return text;
}

std::string ReadExample(const char* name) {
    std::ifstream f(std::string(KESTRO_SOURCE_DIR) + "/examples/" + name);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// The keyword and option lines of the input, and the word a misspelling of
// each must be matched to (the whole line, or the word in its fixed columns).
struct WordLine {
    std::string Line;
    std::string Meant;
    std::size_t From = 0, To = 0;  // the characters that may be changed: [From, To)
};

// One character changed: at the start, the middle and the end of the part
// that may change, replaced by another letter, and one letter in the other case.
std::vector<std::string> Misspellings(const WordLine& w) {
    std::vector<std::string> out;
    const std::size_t to = w.To == 0 ? w.Line.size() : w.To;
    for (std::size_t p : {w.From, (w.From + to) / 2, to - 1}) {
        std::string m = w.Line;
        if (m[p] == ' ') continue;
        m[p] = m[p] == 'X' ? 'Q' : 'X';
        out.push_back(m);
    }
    for (std::size_t p = w.From; p < to; ++p) {
        const unsigned char c = static_cast<unsigned char>(w.Line[p]);
        if (std::isalpha(c) == 0) continue;
        std::string m = w.Line;
        m[p] = static_cast<char>(std::isupper(c) != 0 ? std::tolower(c) : std::toupper(c));
        out.push_back(m);
        break;
    }
    return out;
}

// Runs `lines` with line `index` (0-based) replaced by `changed` and checks
// that the message file and the report give the line and the word meant.
void ExpectNamed(std::vector<std::string> lines, std::size_t index, const std::string& changed,
                 const std::string& meant) {
    lines[index] = changed;
    SCOPED_TRACE("line " + std::to_string(index + 1) + ": \"" + changed + "\"");
    const auto r = RunInput(Join(lines));
    EXPECT_TRUE(r.Result == 195 || r.Result == 199) << r.Result;
    const std::string where = "on line " + std::to_string(index + 1) + " of the input file: \"" + changed + "\"";
    const std::string guess = "Did you mean \"" + meant + "\"?";
    for (const std::string* text : {&r.Messages, &r.Report}) {
        EXPECT_TRUE(Has(*text, where)) << *text;
        EXPECT_TRUE(Has(*text, guess)) << *text;
        EXPECT_TRUE(Has(*text, "Input Data Error No. " + std::to_string(r.Result - 100) + " on line")) << *text;
    }
}

}  // namespace

TEST(Messages, EveryMisspelledKeywordAndOptionWordNamesItsLineAndTheWordMeant) {
    struct Source {
        std::string Text;
        std::vector<WordLine> Words;
    };
    const std::string flags[] = {"UseLRFD", "ComputeKmatrix", "UseTipShear", "UseSoilMovement", "UsePYModifiers",
                                 "ComputeEIOnly", "PrintSummaryOnly", "PrintPYCurves", "ComputeInteraction"};
    std::vector<WordLine> options = {{"TITLE", "TITLE"},       {"OPTIONS", "OPTIONS"},
                                     {"Units USCS", "Units USCS"}, {"SECTIONS", "SECTIONS"},
                                     {"SOIL LAYERS", "SOIL LAYERS"}, {"LOADING", "LOADING"},
                                     {"END", "END"},               {"Loading STATIC     1", "STATIC", 8, 14}};
    for (const std::string& f : flags) options.push_back({f + " NO", f + " NO"});
    std::vector<Source> sources = {{MinimalInput(), options},
                                   {MinimalInput("", "Units SI"), {{"Units SI", "Units SI"}}},
                                   {MinimalInput("", "Units GENERAL"), {{"Units GENERAL", "Units GENERAL"}}}};
    // The YES forms and CYCLIC.
    {
        std::string text = MinimalInput();
        for (const char* f : {"UseLRFD NO", "ComputeKmatrix NO", "PrintSummaryOnly NO"}) {
            const std::string no = f, yes = no.substr(0, no.size() - 2) + "YES";
            std::string t = text;
            t.replace(t.find(no), no.size(), yes);
            sources.push_back({t, {{yes, yes}}});
        }
        std::string t = text;
        t.replace(t.find("Loading STATIC"), 14, "Loading CYCLIC");
        sources.push_back({t, {{"Loading CYCLIC     1", "CYCLIC", 8, 14}}});
    }
    // The section keywords that the minimal input does not use, placed before END.
    for (const char* k : {"AXIAL THRUST LOADS", "TIP SHEAR", "PILE BATTER AND SLOPE", "GROUP EFFECT FACTORS",
                          "LRFD LOADS", "LRFD FACTORS AND CASES", "SOIL MOVEMENTS", "DEPTHS OF PRINTED P-Y CURVES"}) {
        std::string t = MinimalInput();
        t.insert(t.rfind("END\n"), std::string(k) + "\n");
        sources.push_back({t, {{k, k}}});
    }
    // The option lines of the section blocks, in the examples that use them.
    const char* sectionLines[] = {"Use default concrete tensile strength", "Use internal stress-strain curve for concrete",
                                  "Rebar Arrangement Not Same As Section Above", "Rebar in circle",
                                  "Autoposition strands"};
    for (const char* example : {"drilled-shaft-36in-stiff-clay.kin", "prestressed-square-14in.kin"}) {
        Source s{ReadExample(example), {}};
        for (const char* l : sectionLines)
            if (Has(s.Text, std::string("\n") + l + "\n")) s.Words.push_back({l, l});
        sources.push_back(s);
    }
    int checked = 0;
    for (const Source& s : sources) {
        const std::vector<std::string> lines = SplitLines(s.Text);
        for (const WordLine& w : s.Words) {
            std::size_t index = lines.size();
            for (std::size_t i = 0; i < lines.size(); ++i)
                if (lines[i] == w.Line || (w.To != 0 && lines[i].rfind(w.Line.substr(0, w.To), 0) == 0)) {
                    index = i;
                    break;
                }
            ASSERT_LT(index, lines.size()) << "no line \"" << w.Line << "\"";
            WordLine at = w;
            at.Line = lines[index];
            for (const std::string& m : Misspellings(at)) {
                ExpectNamed(lines, index, m, w.Meant);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 100);
}

// A loading word one column off is not read; the message says which columns
// it must occupy and where it stands.
TEST(Messages, MisplacedLoadingWordNamesItsColumns) {
    struct Case {
        const char* Line;
        const char* Text;
    };
    const Case cases[] = {
        {"Loading  CYCLIC    1", "must occupy columns 9 to 14 of the loading line (after the 8 columns of the label); "
                                "it stands in columns 10 to 15."},
        {"Loading STATI C    1", "Did you mean \"STATIC\"?"},
        {"Load STATIC        1", "it stands in columns 6 to 11."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        std::string input = MinimalInput();
        input.replace(input.find("Loading STATIC     1"), 20, c.Line);
        const auto r = RunInput(input);
        EXPECT_EQ(r.Result, 195);
        EXPECT_TRUE(Has(r.Messages, c.Text)) << r.Messages;
        EXPECT_TRUE(Has(r.Messages, "Input Data Error No. 95 on line 16 of the input file")) << r.Messages;
    }
}

namespace {

struct Command {
    int Status = -1;
    std::string Out;
};

// The kestro command as a user runs it, standard output and error together.
Command Kestro(const std::string& args) {
    Command c;
    FILE* p = ::popen((std::string(KESTRO_CLI) + " " + args + " 2>&1").c_str(), "r");
    if (p == nullptr) return c;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) c.Out.append(buf, n);
    const int status = ::pclose(p);
    c.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return c;
}

}  // namespace

// What the command does with the engine's files: it never writes NAMES.DAT
// over its input, says why a run was refused before its files were opened
// (never showing an earlier run's files as this run's), gives the reason of
// an error with -q too, and refuses to view a file that is not a plot file.
TEST(Messages, CommandNamesEveryReasonAndKeepsEveryFile) {
    namespace fs = std::filesystem;
    const std::string dir = kestro::test::ScratchDir();
    const std::string good = MinimalInput();
    kestro::test::WriteText(dir + "/case.kin", good);
    kestro::test::WriteText(dir + "/bad.kin", MinimalInput("NONSENSE\n"));

    // The input is the NAMES.DAT the run would write: refused, kept.
    kestro::test::WriteText(dir + "/NAMES.DAT", good);
    Command c = Kestro("run " + dir + "/NAMES.DAT -o " + dir);
    EXPECT_EQ(c.Status, 73) << c.Out;
    EXPECT_TRUE(Has(c.Out, "is the NAMES.DAT the run writes in its output folder")) << c.Out;
    EXPECT_EQ(kestro::test::ReadText(dir + "/NAMES.DAT"), good);

    // A report that cannot be opened (a folder of its name): the engine's
    // reason, from its message log, is printed; the earlier run's messages
    // stay as they were and are not taken for this run's.
    fs::create_directories(dir + "/out/case-report.txt");
    kestro::test::WriteText(dir + "/out/case-messages.txt", "\n The analysis ended normally. \n");
    for (const char* quiet : {"", " -q"}) {
        SCOPED_TRACE(quiet);
        c = Kestro("run " + dir + "/case.kin -o " + dir + "/out" + quiet);
        EXPECT_EQ(c.Status, 2) << c.Out;
        EXPECT_TRUE(Has(c.Out, "The analysis ended by error 218 (RUN00018); run result 218.")) << c.Out;
        EXPECT_TRUE(Has(c.Out, "Unable to open the output report file \"case-report.txt\"")) << c.Out;
        EXPECT_TRUE(Has(c.Out, "no output file was written; the reason is in " + dir + "/out/KESTRO.MSG")) << c.Out;
        EXPECT_EQ(kestro::test::ReadText(dir + "/out/case-messages.txt"), "\n The analysis ended normally. \n");
        EXPECT_FALSE(fs::exists(dir + "/out/case-results.json"));
    }

    // -q: the outcome line and the error's reason on one line.
    c = Kestro("run " + dir + "/bad.kin -q -o " + dir + "/bad");
    EXPECT_EQ(c.Status, 2);
    EXPECT_TRUE(Has(c.Out, "The analysis ended by error 199 (INP00099)")) << c.Out;
    EXPECT_TRUE(Has(c.Out, "  reason:   INPUT ERROR: The following line is unrecognized or is out-of-order")) << c.Out;
    EXPECT_TRUE(Has(c.Out, "Input Data Error No. 99 on line")) << c.Out;

    // view: only a plot file.
    c = Kestro("run " + dir + "/case.kin -q -o " + dir + "/ok");
    ASSERT_EQ(c.Status, 0) << c.Out;
    struct ViewCase {
        std::string File;
        const char* Text;
    };
    const ViewCase views[] = {{dir + "/ok/case-report.txt", "is not a plot file: it is an output report"},
                              {dir + "/ok/case-messages.txt", "is not a plot file: it is a runtime message file"},
                              {dir + "/case.kin", "is not a plot file: it is an input file"}};
    fs::remove(dir + "/ok/case-report.html");
    for (const ViewCase& v : views) {
        c = Kestro("view " + v.File + " -o " + dir + "/view");
        EXPECT_EQ(c.Status, 64) << c.Out;
        EXPECT_TRUE(Has(c.Out, v.Text)) << c.Out;
        EXPECT_FALSE(fs::exists(dir + "/view/case-report.html"));
    }
    EXPECT_EQ(Kestro("view " + dir + "/ok/case-plot.txt -o " + dir + "/view").Status, 0);
}

// kestro sweep checks the line it replaces: the value must be a number, the
// line must hold the --expect text, and the first copy's line is shown before
// and after.
TEST(Messages, SweepChecksTheLineItReplaces) {
    const std::string dir = kestro::test::ScratchDir();
    const std::string input = MinimalInput();
    kestro::test::WriteText(dir + "/t.kin", input);
    // Line 45 of the minimal input is the load case "1 1 0 0 0 1"; line 16 the loading line.
    ASSERT_EQ(SplitLines(input)[44], "1 1 0 0 0 1");
    struct Case {
        std::string Args;
        int Status;
        std::string Text;
    };
    const Case cases[] = {
        {"--line 16 --values 5", 64, "value 1 of line 16 of '" + dir + "/t.kin' is \"Loading\", not a number"},
        {"--line 45 --field 3 --values 5 --expect LOAD", 64, "line 45 of '" + dir + "/t.kin' does not contain \"LOAD\""},
        {"--line 45 --field 9 --values 5", 64, "has no value number 9: \"1 1 0 0 0 1\""},
        {"--line 45 --field 3 --values 500,1000 --expect \"1 1\"", 0, "  before: 1 1 0 0 0 1\n  after:  1 1 500 0 0 1\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args);
        const Command r = Kestro("sweep " + dir + "/t.kin " + c.Args + " -o " + dir + "/s");
        EXPECT_EQ(r.Status, c.Status) << r.Out;
        EXPECT_TRUE(Has(r.Out, c.Text)) << r.Out;
    }
}

// Bad counts and stray lines: every error that ends the run is named by its
// number in the report and in the message file, and a line like no keyword
// gets no guess.
TEST(Messages, EveryErrorThatEndsARunHasItsNumber) {
    struct Case {
        const char* Name;
        const char* From;
        const char* To;
        int Result;
        const char* Numbered;  // the numbered line expected in both files
    };
    const Case cases[] = {
        {"no_soil_layers", "SOIL LAYERS\n1\n", "SOIL LAYERS\n0\n", 199,
         "Input Data Error No. 99 on line 40 of the input file: \"13 0 35\""},
        {"more_sections_than_given", "SECTIONS\n1\n", "SECTIONS\n2\n", 181, "**** Input Data Error No. 81 ****"},
        {"negative_section_count", "SECTIONS\n1\n", "SECTIONS\n-1\n", 184, "**** Input Data Error No. 84 ****"},
        {"stray_line", "END\n", "NONSENSE\nEND\n", 199,
         "Input Data Error No. 99 on line 47 of the input file: \"NONSENSE\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string input = MinimalInput();
        input.replace(input.find(c.From), std::string(c.From).size(), c.To);
        const auto r = RunInput(input);
        EXPECT_EQ(r.Result, c.Result);
        char code[16];
        std::snprintf(code, sizeof code, "INP%05d", c.Result - 100);
        for (const std::string* text : {&r.Messages, &r.Report}) {
            EXPECT_TRUE(Has(*text, c.Numbered)) << *text;
            EXPECT_TRUE(Has(*text, std::string("Kestro ended prematurely due to input error number ") + code)) << *text;
            EXPECT_FALSE(Has(*text, "Did you mean")) << *text;
        }
    }
}
