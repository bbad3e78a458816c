// Results held in memory: the plot records the engine keeps during a run give
// exactly what its plot file gives when read back (every value bit for bit),
// for every bundled example and regression input, and the stations carry
// slope, EI and Es besides.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "PlotReader.h"
#include "TestSupport.h"
#include "model/HeldResults.h"

namespace fs = std::filesystem;
using kestro::results::LoadCase;
using kestro::results::PlotResults;

namespace {

bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Every value both readers give, compared bit for bit.
void ExpectSameResults(const PlotResults& f, const PlotResults& h) {
    EXPECT_EQ(f.Complete, h.Complete);
    EXPECT_EQ(f.Problem, h.Problem);
    EXPECT_EQ(f.LinesRead, h.LinesRead);
    EXPECT_EQ(f.HasHeader, h.HasHeader);
    EXPECT_EQ(f.ComputationMode, h.ComputationMode);
    EXPECT_EQ(f.UnitSystem, h.UnitSystem);
    EXPECT_EQ(f.LengthStudyEntry, h.LengthStudyEntry);
    EXPECT_EQ(f.StiffnessMatrix, h.StiffnessMatrix);
    EXPECT_EQ(f.NumSections, h.NumSections);
    EXPECT_EQ(f.NumPyDepths, h.NumPyDepths);
    EXPECT_EQ(f.NumLoadCases, h.NumLoadCases);
    EXPECT_EQ(f.NumStations, h.NumStations);
    ASSERT_EQ(f.Sections.size(), h.Sections.size());
    for (std::size_t s = 0; s < f.Sections.size(); ++s) {
        EXPECT_EQ(f.Sections[s].Kind, h.Sections[s].Kind);
        ASSERT_EQ(f.Sections[s].Thrusts.size(), h.Sections[s].Thrusts.size());
        for (std::size_t t = 0; t < f.Sections[s].Thrusts.size(); ++t) {
            const auto &a = f.Sections[s].Thrusts[t], &b = h.Sections[s].Thrusts[t];
            EXPECT_TRUE(Same(a.Thrust, b.Thrust) && Same(a.NominalMomentCapacity, b.NominalMomentCapacity));
            ASSERT_EQ(a.Points.size(), b.Points.size());
            for (std::size_t k = 0; k < a.Points.size(); ++k)
                EXPECT_TRUE(Same(a.Points[k].Moment, b.Points[k].Moment) && Same(a.Points[k].EI, b.Points[k].EI) &&
                            Same(a.Points[k].Curvature, b.Points[k].Curvature));
        }
    }
    ASSERT_EQ(f.PyCurves.size(), h.PyCurves.size());
    for (std::size_t c = 0; c < f.PyCurves.size(); ++c) {
        EXPECT_EQ(f.PyCurves[c].CurveName, h.PyCurves[c].CurveName);
        EXPECT_EQ(f.PyCurves[c].SoilDescription, h.PyCurves[c].SoilDescription);
        EXPECT_TRUE(Same(f.PyCurves[c].Depth, h.PyCurves[c].Depth));
        ASSERT_EQ(f.PyCurves[c].Points.size(), h.PyCurves[c].Points.size());
        for (std::size_t k = 0; k < f.PyCurves[c].Points.size(); ++k)
            EXPECT_TRUE(Same(f.PyCurves[c].Points[k].Y, h.PyCurves[c].Points[k].Y) &&
                        Same(f.PyCurves[c].Points[k].P, h.PyCurves[c].Points[k].P));
    }
    ASSERT_EQ(f.LoadCases.size(), h.LoadCases.size());
    for (std::size_t c = 0; c < f.LoadCases.size(); ++c) {
        const LoadCase &a = f.LoadCases[c], &b = h.LoadCases[c];
        EXPECT_EQ(a.Lrfd, b.Lrfd);
        EXPECT_EQ(a.HasSummary, b.HasSummary);
        for (auto [x, y] : {std::pair{a.HeadShear, b.HeadShear}, {a.HeadDeflection, b.HeadDeflection},
                            {a.MaxMoment, b.MaxMoment}, {a.MaxShear, b.MaxShear},
                            {a.DepthMaxMoment, b.DepthMaxMoment}, {a.DepthMaxShear, b.DepthMaxShear}})
            EXPECT_TRUE(Same(x, y)) << x << " " << y;
        ASSERT_EQ(a.Stations.size(), b.Stations.size());
        for (std::size_t i = 0; i < a.Stations.size(); ++i) {
            const auto &p = a.Stations[i], &q = b.Stations[i];
            EXPECT_TRUE(p.Number == q.Number && Same(p.Depth, q.Depth) && Same(p.Deflection, q.Deflection) &&
                        Same(p.Moment, q.Moment) && Same(p.Shear, q.Shear) && Same(p.SoilReaction, q.SoilReaction))
                << "case " << c + 1 << " station " << i + 1;
        }
        ASSERT_EQ(a.LengthStudy.size(), b.LengthStudy.size());
        for (std::size_t k = 0; k < a.LengthStudy.size(); ++k)
            EXPECT_TRUE(Same(a.LengthStudy[k].PileLength, b.LengthStudy[k].PileLength) &&
                        Same(a.LengthStudy[k].HeadDeflection, b.LengthStudy[k].HeadDeflection) &&
                        Same(a.LengthStudy[k].MaxMoment, b.LengthStudy[k].MaxMoment) &&
                        Same(a.LengthStudy[k].MaxShear, b.LengthStudy[k].MaxShear));
    }
    ASSERT_EQ(f.Stiffness.size(), h.Stiffness.size());
    for (std::size_t k = 0; k < f.Stiffness.size(); ++k)
        EXPECT_TRUE(Same(f.Stiffness[k].K22, h.Stiffness[k].K22) && Same(f.Stiffness[k].K33, h.Stiffness[k].K33) &&
                    Same(f.Stiffness[k].HeadRotation, h.Stiffness[k].HeadRotation));
    EXPECT_EQ(f.Axial.Present, h.Axial.Present);
    EXPECT_EQ(f.Axial.Complete, h.Axial.Complete);
    EXPECT_EQ(f.Axial.Loads.size(), h.Axial.Loads.size());
    EXPECT_TRUE(Same(f.Axial.UltimateShaft, h.Axial.UltimateShaft));
}

// The inputs: every bundled example and every regression input.
std::vector<fs::path> Inputs() {
    std::vector<fs::path> v;
    for (const char* dir : {"/examples", "/tests/regression"})
        for (const auto& e : fs::recursive_directory_iterator(std::string(KESTRO_SOURCE_DIR) + dir)) {
            const fs::path& p = e.path();
            if (p.extension() == ".kin" || p.filename() == "input.dat") v.push_back(p);
        }
    return v;
}

}  // namespace

TEST(HeldResults, SameAsThePlotFileForEveryExampleAndRegressionInput) {
    int runs = 0;
    for (const fs::path& in : Inputs()) {
        SCOPED_TRACE(in.string());
        const std::string text = kestro::test::ReadText(in.string());
        if (text.rfind("KESTRO6", 0) != 0) continue;  // group files and other formats
        kestro::HoldResults(true);
        const kestro::test::RunOutput run = kestro::test::RunInput(text);
        kestro::HoldResults(false);
        const kestro::HeldResults& held = kestro::LastHeldResults();
        ASSERT_TRUE(held.Held);
        const PlotResults f = kestro::results::ReadPlotText(run.Plot);
        const PlotResults h = kestro::results::ReadHeldPlot(held);
        ExpectSameResults(f, h);
        ++runs;
        // Slope, EI and Es of every station: the slope against the central
        // difference of the deflections, the soil reaction against -Es y
        // (the secant modulus of the spring; not where the soil moves), EI
        // positive.
        const bool soilMoves = text.find("SOIL MOVEMENTS") != std::string::npos;
        for (const LoadCase& lc : h.LoadCases) {
            if (!lc.StationsComplete) continue;
            EXPECT_TRUE(lc.HasStationProperties);
            const auto& s = lc.Stations;
            double ymax = 0.0;
            for (const auto& st : s) ymax = std::fmax(ymax, std::fabs(st.Deflection));
            for (std::size_t i = 1; i + 1 < s.size(); ++i) {
                const double slope = (s[i + 1].Deflection - s[i - 1].Deflection) / (s[i + 1].Depth - s[i - 1].Depth);
                const double h2 = s[i + 1].Depth - s[i - 1].Depth;
                EXPECT_NEAR(s[i].Slope, slope, 1e-6 * ymax / h2 + 1e-12) << "slope, station " << i + 1;
                EXPECT_GT(s[i].EI, 0.0);
                if (!soilMoves && s[i].Es != 0.0 && std::fabs(s[i].Deflection) > 1e-4 * ymax) {
                    EXPECT_NEAR(s[i].SoilReaction, -s[i].Es * s[i].Deflection,
                                2e-7 * std::fabs(s[i].SoilReaction) + 1e-9 * std::fabs(s[i].Es) * ymax)
                        << "Es, station " << i + 1;
                }
            }
        }
    }
    EXPECT_GT(runs, 50);
}

TEST(HeldResults, NothingHeldUnlessAsked) {
    kestro::HoldResults(false);
    kestro::test::RunInput(kestro::test::ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/api-sand-static-us.kin"));
    EXPECT_FALSE(kestro::LastHeldResults().Held);
    EXPECT_TRUE(kestro::LastHeldResults().Plot.empty());
}
