// The section type descriptor: every code the section line accepts (0 to 14
// and -3, docs/input.md) has a complete row, reads exactly the lines its
// input block holds and is echoed by its own name, to the character.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ReaderTestSupport.h"
#include "model/ProblemData.h"
#include "model/SectionTypes.h"
#include "section/SectionAnalysis.h"
#include "section/SliceTable.h"

using namespace kestro;
using kestro::test::Has;
using kestro::test::MinimalInput;
using kestro::test::ReadOnly;
using kestro::test::RunInput;

namespace {

const std::string Concrete =
    "4000\n0.75\nUse default concrete tensile strength\nUse internal stress-strain curve for concrete\n";
const std::string Strands = "Manually-positioned strands\n2\n1\n270000\n189000\n1 1 1 3.0 0.0\n";
const std::string CasedCore = "30\n48\n0.5\n36000\n29000000\n24\n0.75\n50000\n29000000\n" + Concrete + "No rebar\n";

struct InputCode {
    int Code;         // as written on the section line
    int Stored;       // SectionTypeCode kept in the model
    std::string Lines;  // the section's lines after its type
    const char* Echo;   // the input echo's "Section Type" line
};

// Each block as docs/input.md gives it, written here independently of the readers.
const InputCode Codes[] = {
    {0, 0, "30\n12\n18\n" + Concrete + "No rebar\n", "   Section Type               = Rectangular Concrete Pile"},
    {1, 1, "30\n36\n" + Concrete + "No rebar\n", "   Section Type               = Drilled Shaft (Bored Pile)"},
    {2, 2, "30\n48\n0.5\n36000\n29000000\n" + Concrete + "No rebar\n",
     "   Section Type = Drilled Shaft with Permanent Casing  "},
    {3, 3, CasedCore, "   Section Type = Drilled Shaft with Casing and Concrete-filled Core   "},
    {-3, 3, CasedCore, "   Section Type = Drilled Shaft with Casing and Void Core   "},
    {4, 4, "30\n24\n0.5\n36000\n29000000\n", "   Section Type = Steel Pipe Pile            "},
    {5, 5, "30\n16\n" + Concrete + Strands, "   Section Type = Circular Solid Prestressed Pile    "},
    {6, 6, "30\n24\n8\n" + Concrete + Strands, "   Section Type = Circular Hollow Prestressed Pile    "},
    {7, 7, "30\n14\n0.75\n" + Concrete + Strands, "   Section Type = Square Solid Prestressed Pile     "},
    {8, 8, "30\n18\n8\n0.75\n" + Concrete + Strands, "   Section Type = Square Hollow Prestressed Pile     "},
    {9, 9, "30\n18\n" + Concrete + Strands, "   Section Type = Octagonal Solid Prestressed Pile    "},
    {10, 10, "30\n24\n8\n" + Concrete + Strands, "   Section Type = Octagonal Hollow Prestressed Pile   "},
    {11, 11, "30\n0\n3.0E6\n24\n24\n24\n24\n576\n576\n27648\n27648\n", "   Section Type               =    Elastic Pile"},
    {12, 12, "30\n3\n29.0E6\n2.5E6\n10.2\n10.0\n0.5\n0.5\n15.5\n271\n",
     "   Section Type               = Elastic with Specified Moment Capacity "},
    {13, 13, "30\n24\n1\n0\n2\n1.0E6\n5.0E10\n2.0E6\n4.0E10\n",
     "   Section Type               = Pile with User-defined Nonlinear EI   "},
    {14, 14, "30\n", "   Section Type               = Micropile"},
};

std::string OneSection(const InputCode& c) {
    return MinimalInput("SECTIONS\n1\n1\n" + std::to_string(c.Code) + "\n" + c.Lines);
}

}  // namespace

// Every code the input accepts has a complete, consistent row; its reader
// takes exactly its block (the keyword after it reads cleanly) and the echo
// names it.
TEST(SectionTypes, EveryInputCodeHasACompleteDescriptor) {
    ASSERT_EQ(NumSectionTypes(), 15);
    EXPECT_EQ(SectionTypeOf(-1), nullptr);
    EXPECT_EQ(SectionTypeOf(-3), nullptr);  // stored as 3 with a void core
    EXPECT_EQ(SectionTypeOf(15), nullptr);
    std::set<std::string> names, echoes, titles, keys;
    std::set<int> covered;
    for (const InputCode& c : Codes) {
        SCOPED_TRACE(c.Code);
        const SectionType* t = SectionTypeOf(c.Stored);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Code, c.Stored);
        covered.insert(c.Stored);
        if (c.Code >= 0) {
            EXPECT_FALSE(t->Name.empty());
            EXPECT_FALSE(t->EchoName.empty());
            EXPECT_TRUE(names.insert(std::string(t->Name)).second) << t->Name;
            EXPECT_TRUE(echoes.insert(std::string(t->EchoName)).second) << t->EchoName;
            // The JSON model's name: lower-case words joined by underscores, unique.
            EXPECT_EQ(t->Key.find_first_not_of("abcdefghijklmnopqrstuvwxyz_"), std::string_view::npos) << t->Key;
            EXPECT_TRUE(keys.insert(std::string(t->Key)).second) << t->Key;
            if (!t->PageTitle.empty()) {
                EXPECT_TRUE(titles.insert(std::string(t->PageTitle)).second) << t->PageTitle;
            }
        }
        EXPECT_NE(t->ReadDimensions, nullptr);
        EXPECT_NE(t->GrossProperties, nullptr);
        EXPECT_NE(t->ComputeStiffness, nullptr);
        // The stiffness function is the one of its kind of bending stiffness.
        switch (t->Bending) {
            case SectionBending::MomentCurvature: EXPECT_EQ(t->ComputeStiffness, MomentCurvatureEITable); break;
            case SectionBending::Elastic: EXPECT_EQ(t->ComputeStiffness, ElasticEITable); break;
            case SectionBending::ElasticPlastic: EXPECT_EQ(t->ComputeStiffness, ElasticPlasticEITable); break;
            case SectionBending::UserCurves: EXPECT_EQ(t->ComputeStiffness, UserEITableCheck); break;
            case SectionBending::None: EXPECT_EQ(t->ComputeStiffness, NoBendingStiffness); break;
        }
        // A section analysed in full is sliced and has its property page;
        // its materials are concrete or steel.
        const bool analysed = t->Bending == SectionBending::MomentCurvature;
        EXPECT_EQ(analysed, t->Shape != ShapeNone);
        // A fixed list of dimensions (for the JSON model) exactly for the
        // sections analysed in full, with no gap in it.
        EXPECT_EQ(analysed, !t->Dimensions[0].empty());
        for (std::size_t k = 1; k < t->Dimensions.size(); ++k)
            EXPECT_TRUE(t->Dimensions[k].empty() || !t->Dimensions[k - 1].empty()) << k;
        EXPECT_EQ(analysed, !t->PageTitle.empty());
        EXPECT_EQ(analysed, t->HasConcrete() || t->IsSteelPipe());
        if (analysed) {
            EXPECT_EQ(IsCircularShape(t->Shape), t->Outline == SectionOutline::Circle);
        }
        // Elastic sections carry their own shape code; given stiffness, no materials.
        EXPECT_EQ(t->IsElastic(), t->Outline == SectionOutline::Given);
        EXPECT_EQ(t->Material == SectionMaterial::GivenStiffness,
                  t->IsElastic() || t->Bending == SectionBending::UserCurves);
        // Casing, core, void and chamfer belong to their materials and outlines.
        EXPECT_TRUE(!t->b_Core || t->b_Casing);
        EXPECT_TRUE(!t->b_Casing || (t->HasBars() && t->Outline == SectionOutline::Circle));
        EXPECT_TRUE(!t->b_Hollow || t->IsPrestressed());
        EXPECT_EQ(t->b_Chamfer, t->Outline == SectionOutline::Square);
        EXPECT_EQ(t->IsPrestressed(), t->PrestressMomentFactor > 0.0);
        EXPECT_EQ(!t->EchoNameVoidCore.empty(), t->b_Core);

        // Read alone: its block and nothing more.
        ASSERT_EQ(ReadOnly(OneSection(c)), 0) << OneSection(c);
        EXPECT_EQ(Problem.Sections[1].SectionType, c.Stored);
        EXPECT_EQ(Problem.Sections[1].CoreFilled, c.Code != -3);
        EXPECT_DOUBLE_EQ(Problem.PileLength, 30.0);
    }
    EXPECT_EQ(static_cast<int>(covered.size()), NumSectionTypes());
}

// A micropile has no width, so the echo stops at the pile's property rows
// (input data error 27) before its section line.
TEST(SectionTypes, EchoNamesEveryInputCode) {
    for (const InputCode& c : Codes) {
        SCOPED_TRACE(c.Code);
        if (c.Stored == SecMicropile) continue;
        const auto r = RunInput(OneSection(c));
        EXPECT_TRUE(Has(r.Report, "\nSection No. 1:\n" + std::string(c.Echo) + "\n")) << r.Report.substr(0, 4000);
    }
}
