// Station data kept through the iteration of a load case: a soil update made
// from kept data must equal one made afresh, modulus for modulus and warning
// for warning, whatever the deflections and bending stiffness have become
// since the data was kept. Every example is used, so every criterion on level
// and sloping ground is met with its own profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "model/Warnings.h"
#include "model/PileModel.h"
#include "model/ProblemData.h"
#include "model/RunState.h"
#include "model/SoilState.h"
#include "soil/PyCriteria.h"

namespace fs = std::filesystem;

namespace kestro {
namespace {

struct Pass {
    std::vector<double> Es, W;
    std::vector<int> WarningsRaised;
};

Pass SoilPass() {
    const auto before = Warnings.WarningCount;
    Soil.RockLayerCount = 0;
    for (int k = 1; k <= Problem.NumLayers && k <= MaxSoilLayers; ++k)
        if (Pile.FirstStation[static_cast<std::size_t>(k)] >= 1) EvaluateLayerCriterion(k);
    Pass p;
    for (int i = 1; i <= Pile.NumStations; ++i) {
        p.Es.push_back(Pile.Es[St(i)]);
        p.W.push_back(Pile.W[St(i)]);
    }
    for (std::size_t n = 0; n < before.size(); ++n)
        p.WarningsRaised.push_back(Warnings.WarningCount[n] - before[n]);
    return p;
}

TEST(KeptStationProperties, UpdateFromKeptDataEqualsAFreshOne) {
    const fs::path examples = fs::path(KESTRO_SOURCE_DIR) / "examples";
    std::vector<std::pair<std::string, std::string>> inputs;  // name, input text
    for (const auto& e : fs::directory_iterator(examples))
        if (e.path().extension() == ".kin") inputs.emplace_back(e.path().filename().string(), test::ReadText(e.path().string()));
    std::sort(inputs.begin(), inputs.end());
    // The criteria that read the deflection on sloping ground, on a slope.
    for (const char* name : {"stiff-clay-with-k-static-us.kin", "api-sand-static-us.kin", "sand-reese-cyclic-us.kin",
                             "cemented-silt-us.kin"}) {
        std::string text = test::ReadText((examples / name).string());
        const std::size_t end = text.rfind("END");
        ASSERT_NE(end, std::string::npos);
        text.insert(end, "PILE BATTER AND SLOPE\n8.0\n0.0\n");
        inputs.emplace_back(std::string(name) + " on an 8 degree slope", text);
    }
    int compared = 0;
    for (const auto& [name, text] : inputs) {
        SCOPED_TRACE(name);
        const auto run = test::RunInput(text);
        // Runs that ended with warnings (negative results) are used too.
        if (run.Result > 0 || Pile.NumStations < 2) continue;

        ForgetStationProperties();
        SoilPass();  // keeps the data of the converged state
        ASSERT_FALSE(Failed());

        // Other deflections (every other station of the other sign: the side
        // of a sloping-ground wedge changes) and a softer pile.
        for (int i = 1; i <= Pile.NumStations; ++i) {
            Pile.y[St(i)] *= i % 2 == 0 ? 1.7 : -0.4;
            Pile.EI[St(i)] *= 0.8;
        }
        const Pass kept = SoilPass();
        ForgetStationProperties();
        const Pass fresh = SoilPass();
        ASSERT_FALSE(Failed());

        EXPECT_EQ(kept.Es, fresh.Es);
        EXPECT_EQ(kept.W, fresh.W);
        EXPECT_EQ(kept.WarningsRaised, fresh.WarningsRaised);
        ++compared;
    }
    EXPECT_GT(compared, 45);
}

}  // namespace
}  // namespace kestro
