// The pile-head stiffness study and the pile-head deflection versus pile
// length study, run as a user runs them: whole inputs through the engine,
// results read back from the report and the plot records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

using kestro::test::MinimalInput;
using kestro::test::RunInput;

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size())) ++n;
    return n;
}

void Replace(std::string& s, const std::string& from, const std::string& to) {
    const auto at = s.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    s.replace(at, from.size(), to);
}

// The leading reals of every plot record with the given label.
std::vector<std::vector<double>> Records(const std::string& plot, const std::string& label) {
    std::vector<std::vector<double>> out;
    std::istringstream in(plot);
    for (std::string line; std::getline(in, line);) {
        const auto at = line.find(label);
        if (at == std::string::npos) continue;
        std::istringstream values(line.substr(0, at));
        std::vector<double> v;
        for (double x; values >> x;) v.push_back(x);
        out.push_back(v);
    }
    return out;
}

// A 24 in elastic pile (E = 3600 ksi, I = 16286 in^4) in one soil layer to
// 10 ft below its tip, with the options, soil points and load cases given.
std::string PileRun(double lengthFt, const std::string& soil, const std::string& loads, double limit = 100.0,
                    int increments = 100, bool kmatrix = true) {
    std::ostringstream s;
    s << "KESTRO6\nTITLE\nStudy test\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix "
      << (kmatrix ? "YES" : "NO")
      << "\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     1\n"
         "MaxIterations 100\nDeflectionLimit "
      << limit << "\nTolerance 1.0E-5\nIncrements " << increments
      << "\nPrintSummaryOnly NO\nPrintIncrement 5\nPrintPYCurves NO\nComputeInteraction NO\n"
         "SECTIONS\n1\n1\n11\n"
      << lengthFt << "\n1\n3600000.0\n24.0\n24.0\n452.3893\n452.3893\n16286.0\n16286.0\n"
      << "SOIL LAYERS\n1\n" << soil << "LOADING\n" << loads << "0\nEND\n";
    return s.str();
}

// Elastic subgrade of 100 pci over the whole pile: linear springs.
std::string Subgrade(double bottomFt) {
    return "13  0.0  " + std::to_string(bottomFt) + "\n110.0  100.0\n115.0  100.0\n";
}
// Soft clay, c 200 to 400 psf, e50 0.02.
const std::string SoftClay = "1  0.0  110.0\n50.0  200.0  0.02\n50.0  400.0  0.02\n";

// ---- Pile-head stiffness ----

// A long elastic pile on linear springs is a semi-infinite beam on an elastic
// foundation (Hetenyi 1946): with beta^4 = Es / 4EI and the head flexibilities
// y = 2 V beta / Es - 2 M beta^2 / Es, theta = -2 V beta^2 / Es + 4 M beta^3 / Es,
// the stiffness terms are K22 = 4 EI beta^3, K23 = K32 = 2 EI beta^2 and
// K33 = 2 EI beta, whatever the load.
TEST(HeadStiffness, LinearSpringsGiveTheSemiInfiniteBeamTermsAtEveryStep) {
    auto r = RunInput(PileRun(100.0, Subgrade(110.0), "1\n1  1  20000.0  1000000.0  0.0  1\n", 100.0, 200));
    ASSERT_EQ(r.Result, 0) << r.Report;
    const double EI = 3600000.0 * 16286.0;
    const double Es = 100.0 * 24.0;  // Esub b, lb/in^2
    const double beta = std::pow(Es / (4.0 * EI), 0.25);
    const double K22 = 4.0 * EI * beta * beta * beta, K23 = 2.0 * EI * beta * beta, K33 = 2.0 * EI * beta;
    const auto steps = Records(r.Plot, "Line 14: V, M, K22, K23, K32, K33, ytop, theta");
    ASSERT_EQ(steps.size(), 10u);
    for (std::size_t k = 0; k < steps.size(); ++k) {
        ASSERT_EQ(steps[k].size(), 8u);
        SCOPED_TRACE("step " + std::to_string(k + 1));
        EXPECT_NEAR(steps[k][2], K22, 0.01 * K22);
        EXPECT_NEAR(steps[k][3], K23, 0.01 * K23);
        EXPECT_NEAR(steps[k][4], K23, 0.01 * K23);
        EXPECT_NEAR(steps[k][5], K33, 0.01 * K33);
        // The steps are V0 g(k) and M0 g(k): g(1) = 0.1 and g(k) = log10 k.
        const double g = k == 0 ? 0.1 : std::log10(static_cast<double>(k + 1));
        EXPECT_NEAR(steps[k][0], 20000.0 * g, 1e-6 * 20000.0);
        EXPECT_NEAR(steps[k][1], 1000000.0 * g, 1e-6 * 1000000.0);
    }
    EXPECT_TRUE(Has(r.Report, "                  Computed Pile-head Stiffness Matrix Values\n"
                              "                    K22, K23, K32, K33 for Pile  Head\n"));
    EXPECT_TRUE(Has(r.Report, "  K33 = abs(Moment Reaction/Top Rotation)\n"));
    EXPECT_TRUE(Has(r.Messages, "Computing pile-head stiffness matrix components.\n\n"));
    // The generated cases neither print results pages nor replace the summary.
    EXPECT_EQ(CountOf(r.Report, "Output Summary for Load Case No."), 1);
    EXPECT_EQ(Records(r.Plot, "Line 13:").size(), 1u);
}

// Soft clay softens with deflection: the lateral stiffness K22 falls at every
// larger head shear. With a deflection limit below the largest fixed-head
// deflection (6.31 in at the last shear step, 5.78 in at the one before) the
// last shear step fails: the study ends without tables, without an error, and
// says why.
TEST(HeadStiffness, NonlinearSoilAndTheDeflectionLimit) {
    struct Case {
        double Limit;
        bool Tables;
    };
    for (const Case c : {Case{100.0, true}, Case{6.0, false}}) {
        SCOPED_TRACE(c.Limit);
        auto r = RunInput(PileRun(100.0, SoftClay, "1\n1  2  80000.0  0.03  0.0  1\n", c.Limit));
        EXPECT_EQ(r.Result, 0) << r.Report;
        EXPECT_TRUE(Has(r.Messages, "The analysis ended normally."));
        EXPECT_FALSE(Has(r.Report, "Runtime Error"));
        const auto steps = Records(r.Plot, "Line 14:");
        EXPECT_EQ(Has(r.Report, "Computed Pile-head Stiffness Matrix Values"), c.Tables);
        if (!c.Tables) {
            EXPECT_TRUE(steps.empty());
            EXPECT_TRUE(Has(r.Report, "Pile-head stiffness matrix values are not reported: generated load case 10 "));
            continue;
        }
        ASSERT_EQ(steps.size(), 10u);
        for (std::size_t k = 1; k < steps.size(); ++k) EXPECT_LT(steps[k][2], steps[k - 1][2]) << "step " << k + 1;
    }
}

// With zero reference loads the steps are 10 lbs (SI 0.04448220133781433 kN)
// times 0.1, log10 2, log10 3 ... 1, and the moments 100 in-lbs (SI
// 0.011298480443656445 kN-m) times the same factors; the tables carry the
// unit labels of the run.
TEST(HeadStiffness, ZeroReferenceLoadsStepThroughTheDefaults) {
    struct Case {
        const char* Units;
        double V0, M0;
        const char* UnitLine;
    };
    const Case cases[] = {
        {"Units USCS", 10.0, 100.0, "     inches          lbs            in-lbs          lb/in.         in-lb/in.  \n"},
        {"Units SI", 0.04448220133781433, 0.011298480443656445,
         "     meters           kN             kN-m            kN/m            kN-m/m   \n"},
        {"Units GENERAL", 10.0, 100.0, "       L              F              F-L             F/L            F-L/L     \n"},
    };
    const double g[10] = {0.1, 0.30103, 0.47712125, 0.60205999, 0.69897, 0.77815125, 0.84509804, 0.90308999,
                          0.95424251, 1.0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Units);
        std::string input = MinimalInput("", c.Units);
        Replace(input, "ComputeKmatrix NO", "ComputeKmatrix YES");
        auto r = RunInput(input);
        // SI: the minimal pile's US-sized unit weights give the counted
        // unit-weight warning; the study itself is what is tested.
        ASSERT_TRUE(r.Result == 0 || r.Result == -371) << r.Report;
        const auto steps = Records(r.Plot, "Line 14:");
        ASSERT_EQ(steps.size(), 10u);
        for (int k = 0; k < 10; ++k) {
            EXPECT_NEAR(steps[static_cast<std::size_t>(k)][0], c.V0 * g[k], 1e-7 * c.V0);
            EXPECT_NEAR(steps[static_cast<std::size_t>(k)][1], c.M0 * g[k], 1e-7 * c.M0);
        }
        EXPECT_TRUE(Has(r.Report, c.UnitLine));
        EXPECT_FALSE(Has(r.Report, "Not-a-Number"));
    }
}

// A first case that prescribes the head deflection: the reference shear is
// the head shear that case needed (its Line 13 record), never its deflection
// taken as a force. LRFD runs take the factored loads of their first
// combination and give every combination its LRFD Line 11 record.
TEST(HeadStiffness, ReferenceLoadsAreTheHeadForcesOfTheFirstCaseAnalysed) {
    struct Case {
        const char* Name;
        bool Lrfd;
    };
    for (const Case c : {Case{"deflection case", false}, Case{"LRFD combinations", true}}) {
        SCOPED_TRACE(c.Name);
        std::string input = PileRun(100.0, Subgrade(110.0), "1\n1  4  0.5  0.0  0.0  2\n");
        if (c.Lrfd) {
            Replace(input, "UseLRFD NO", "UseLRFD YES");
            Replace(input, "END", "LRFD LOADS\n1\n1 1 15000.0 0.0 100000.0 0\nLRFD FACTORS AND CASES\n1\n"
                                  "1 1.25 1.75 0 0 0 0 0 0 0 0 0 0 0 0.75 0.9\nStrength I\nEND");
        }
        auto r = RunInput(input);
        ASSERT_EQ(r.Result, 0) << r.Report;
        const auto summary = Records(r.Plot, "Line 13:");
        const auto steps = Records(r.Plot, "Line 14:");
        ASSERT_EQ(summary.size(), 1u);
        ASSERT_EQ(steps.size(), 10u);
        const double V = summary[0][0];
        EXPECT_GT(std::fabs(V), 100.0);
        EXPECT_NEAR(steps[9][0], V, 1e-6 * std::fabs(V));
        if (c.Lrfd) {
            EXPECT_NEAR(V, 1.25 * 15000.0, 1e-6);
            EXPECT_TRUE(Has(r.Plot, "Line 11: Num. points on Ytop vs. Length curve for LRFD load case 1\n"));
            EXPECT_FALSE(Has(r.Report, "Pile-head Deflection vs. Pile Length"));
        }
    }
}

// ---- Pile-head deflection versus pile length ----

TEST(LengthStudy, LongPileKeepsItsDeflectionUntilItBecomesShort) {
    auto r = RunInput(kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) +
                                            "/examples/stiffness-matrix-length-study.kin"));
    ASSERT_EQ(r.Result, 0) << r.Report;
    EXPECT_TRUE(Has(r.Messages, "Computing top deflection vs. pile embedment length for load case 1.\n"));
    EXPECT_TRUE(Has(r.Report, "            Pile-head Deflection vs. Pile Length for Load Case 1\n"));
    EXPECT_TRUE(Has(r.Report, "  inches        inches        ln-lbs          lbs \n"));
    const auto rows = Records(r.Plot, "Line 12: pile length, Ytop, Mmax, Vmax");
    const auto head = Records(r.Plot, "Line 11: Num. points on Ytop vs. pile length curve for load case 1");
    ASSERT_EQ(head.size(), 1u);
    ASSERT_EQ(static_cast<std::size_t>(head[0][0]), rows.size());
    // The shortest trials of this 50 ft pile fail and are left out; the
    // accepted ones are the longest, in order of decreasing length, at the
    // lengths (1 - 0.05 j) L formed in single precision.
    ASSERT_GE(rows.size(), 12u);
    ASSERT_LT(rows.size(), 20u);
    const double L = 600.0;
    for (std::size_t j = 0; j < rows.size(); ++j) {
        const double factor = static_cast<double>(1.0f - 0.05f * static_cast<float>(j));
        EXPECT_NEAR(rows[j][0], factor * L, 1e-4) << "trial " << j;
        if (L * factor >= 0.5 * L) {
            EXPECT_NEAR(rows[j][1], rows[0][1], 0.02 * rows[0][1]) << "trial " << j;
        }
    }
    EXPECT_GT(rows.back()[1], 2.0 * rows[0][1]);
    // The shortest trials diverge and are stopped at the deflection limit:
    // their progress lines never show a field of asterisks.
    EXPECT_FALSE(Has(r.Messages, "***"));
    EXPECT_FALSE(Has(r.Report, "***"));
    // The full-length trial is the load case itself.
    const auto summary = Records(r.Plot, "Line 13:");
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_NEAR(rows[0][1], summary[0][1], 1e-9);
}

// The study leaves the run's pile as it found it: the next case reports
// exactly what it reports in a run without the study.
TEST(LengthStudy, NextCaseIsUnchangedByTheStudy) {
    const std::string loads = "2\n1  1  30000.0  0.0  100000.0  CODE\n2  1  60000.0  50000.0  100000.0  1\n";
    auto run = [&](const char* code) {
        std::string l = loads;
        Replace(l, "CODE", code);
        return RunInput(PileRun(50.0, "2  0.0  60.0\n60.0  1500.0  0.007  500.0\n62.0  3000.0  0.005  1000.0\n", l,
                                100.0, 100, false));
    };
    auto with = run("2"), without = run("1");
    ASSERT_EQ(with.Result, 0) << with.Report;
    ASSERT_EQ(without.Result, 0) << without.Report;
    ASSERT_TRUE(Has(with.Report, "Pile-head Deflection vs. Pile Length for Load Case 1"));
    const std::string from = "for Lateral Loading for Load Case Number 2", to = "Number of zero deflection points";
    auto page = [&](const std::string& report) {
        const auto a = report.find(from);
        const auto b = report.find(to, a);
        return a == std::string::npos || b == std::string::npos ? std::string() : report.substr(a, b - a);
    };
    ASSERT_FALSE(page(without.Report).empty());
    EXPECT_EQ(page(with.Report), page(without.Report));
    const auto w = Records(with.Plot, "Line 13:"), wo = Records(without.Plot, "Line 13:");
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[1], wo[1]);
}

// A case whose head deflection is beyond the deflection limit is never a
// result, even when the linear pile converges at once: the run stops with
// Runtime Error 9 before any study of its length, and no Line 12 is written.
TEST(LengthStudy, CaseBeyondTheDeflectionLimitStopsBeforeItsStudy) {
    auto r = RunInput(PileRun(100.0, Subgrade(110.0), "1\n1  1  20000.0  0.0  0.0  2\n", 0.01, 100, false));
    EXPECT_EQ(r.Result, 209) << r.Report;
    EXPECT_TRUE(Has(r.Report, "**** Runtime Error No. 9 ****"));
    EXPECT_FALSE(Has(r.Report, "Pile-head Deflection vs. Pile Length for Load Case 1"));
    EXPECT_TRUE(Records(r.Plot, "Line 12:").empty());
    EXPECT_FALSE(Has(r.Report, "Not-a-Number"));
}

// Every row of a length study is the answer a run of the pile at that length
// gives, and a trial that such a run rejects is no row. The HP14x73 under
// 200 kips: at 7.5 ft the trial converged to a shape its own P-delta moment
// holds up, the head 7.3 in back against the shear (a buckled pile, Runtime
// Error 34 when run alone), and the study once listed it as a deflection.
// Under a positive shear and moment every accepted head deflection is
// positive.
TEST(LengthStudy, EveryRowIsTheRunOfThePileAtThatLength) {
    const std::string example =
        kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/h-pile-length-study.kin");
    auto r = RunInput(example);
    ASSERT_EQ(r.Result, 0) << r.Report;
    const auto rows = Records(r.Plot, "Line 12: pile length, Ytop, Mmax, Vmax");
    ASSERT_GE(rows.size(), 10u);
    for (const auto& row : rows) EXPECT_GT(row[1], 0.0) << "trial length " << row[0];
    int buckled = 0;
    for (int j = 0; j < 20; ++j) {
        const double factor = static_cast<double>(1.0f - 0.05f * static_cast<float>(j));
        const double length = factor * 600.0;
        SCOPED_TRACE(length);
        std::string alone = example;
        char ft[32];
        std::snprintf(ft, sizeof ft, "%.9g", factor * 50.0);
        Replace(alone, "50.0                                section length", std::string(ft) + "  section length");
        Replace(alone, "200000.0  2  no., type", "200000.0  1  no., type");
        const auto a = RunInput(alone);
        const std::vector<double>* row = nullptr;
        for (const auto& v : rows)
            if (std::fabs(v[0] - length) < 1e-3) row = &v;
        if (a.Result == 0) {
            ASSERT_NE(row, nullptr) << "a run of this length has a result; the study has no row";
            const auto summary = Records(a.Plot, "Line 13:");
            ASSERT_EQ(summary.size(), 1u);
            EXPECT_NEAR((*row)[1], summary[0][1], 1e-5 * std::fabs(summary[0][1]));
        } else {
            EXPECT_EQ(row, nullptr) << "the run of this length ends with " << a.Result;
        }
        if (a.Result == 234) {
            ++buckled;
            char line[128];
            std::snprintf(line, sizeof line, "%10.3f  the pile buckles under the axial load", length);
            EXPECT_TRUE(Has(r.Report, line)) << line;
        }
    }
    EXPECT_GE(buckled, 1);   // the 7.5 ft trial
}

}  // namespace
