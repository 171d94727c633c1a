#include "game/TreeGrading.h"
#include "EngineFixtures.h"
#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "support/DataFolder.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace varnok {
namespace {

std::vector<int> Starts(const ButtLogGrade& grade) {
    std::vector<int> starts;
    for (const ButtLogTrial& trial : grade.Trials) {
        starts.push_back(trial.Start);
    }
    return starts;
}

std::vector<int> EveryFourInches(int last) {
    std::vector<int> starts;
    for (int start = 0; start <= last; start += 4) {
        starts.push_back(start);
    }
    return starts;
}

// The trial logs are 10 ft plus the trim in force, stepped up the butt; those that would end
// above the top are left out, the one ending exactly at the top is kept.
TEST(TreeGrading, TrialLogsStepUpTheButtAndStopAtTheTop) {
    struct Case {
        int trim;
        int stemLength;
        std::vector<int> starts;
    };
    const std::vector<Case> cases = {
        {8, 400, EveryFourInches(64)},
        {4, 400, EveryFourInches(68)},
        {8, 192, EveryFourInches(64)},
        {8, 191, EveryFourInches(60)},
        {8, 140, {0, 4, 8, 12}},
        {4, 124, {0}},
        {8, 128, {0}},
        {8, 127, {}},
        {4, 123, {}},
    };
    for (const Case& c : cases) {
        const auto market = test::TestMarket(c.trim);
        const auto tree = test::StraightTree(c.stemLength, 20, 16);
        const ButtLogGrade grade = GradeButtLog(*tree, *market);
        const std::string name =
            "trim " + std::to_string(c.trim) + ", stem " + std::to_string(c.stemLength);
        EXPECT_EQ(Starts(grade), c.starts) << name;
        for (const ButtLogTrial& trial : grade.Trials) {
            EXPECT_EQ(trial.End, trial.Start + 120 + c.trim) << name;
        }
        // Nothing is priced, so every trial log goes as cull; no trial at all is no grade.
        EXPECT_EQ(ButtLogGradeText(grade.Code), c.starts.empty() ? "No Grade" : "Cull") << name;
    }
}

// Bundled trees, each trial checked against the evaluation of its own one-log pattern, and the
// grade pinned: the lowest code over the trials, which need not be the butt's (Appalachian
// Doyle tree 1 makes #2 Saw at 52 inches only), and which the trim can change (Lake States
// Scribner tree 7).
TEST(TreeGrading, BundledTreesTakeTheirBestTrialLog) {
    struct Case {
        const char* market;
        int tree;
        int trim;
        const char* grade;
    };
    const std::vector<Case> cases = {
        {"Appalachian Doyle", 1, 8, "#1 Saw"},
        {"Appalachian Doyle", 3, 8, "#2 Saw"},
        {"Appalachian Doyle", 22, 4, "#2 Veneer"},
        {"Appalachian Doyle", 36, 8, "Product3"},
        {"Lake States Scribner", 7, 4, "#2 Saw"},
        {"Lake States Scribner", 7, 8, "Product2"},
        {"Lake States Scribner", 37, 4, "Product1"},
        {"Lake States Scribner", 6, 8, "#3 Saw"},
        {"Northern International", 20, 4, "#3 Veneer"},
        {"Northern International", 27, 8, "Product1"},
    };
    const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
    for (const Case& c : cases) {
        Market market = LoadMarket(data, c.market);
        MarketSpecs specs = market.Specs();
        specs.TrimAllowance = static_cast<std::uint8_t>(c.trim);
        market.SetSpecs(specs);
        const auto tree = LoadTree(data, c.tree, market.Filter);
        const std::string name = std::string(c.market) + " tree " + std::to_string(c.tree) +
                                 " trim " + std::to_string(c.trim);

        const ButtLogGrade grade = GradeButtLog(*tree, market);
        EXPECT_EQ(Starts(grade), EveryFourInches(72 - c.trim)) << name;
        int lowest = kNoButtLogGrade;
        for (const ButtLogTrial& trial : grade.Trials) {
            const std::array<int, 2> pattern = {trial.Start, trial.Start + 120 + c.trim};
            EXPECT_EQ(trial.End, pattern[1]) << name;
            const PatternEvaluation evaluation = EvaluatePattern(*tree, market, pattern);
            EXPECT_EQ(trial.ProductCode, evaluation.Pieces.front().Log.Segment.ProductClass)
                << name << " at " << trial.Start;
            lowest = std::min(lowest, trial.ProductCode);
        }
        EXPECT_EQ(grade.Code, lowest) << name;
        EXPECT_EQ(ButtLogGradeText(grade.Code), c.grade) << name;
    }
}

// The texts name the product slots, not the market's own product names.
TEST(TreeGrading, GradeTexts) {
    const std::vector<std::pair<int, const char*>> cases = {
        {1, "#1 Veneer"},
        {2, "#2 Veneer"},
        {3, "#3 Veneer"},
        {4, "#1 Saw"},
        {5, "#2 Saw"},
        {6, "#3 Saw"},
        {7, "Product1"},
        {8, "Product2"},
        {9, "Product3"},
        {10, "Cull"},
        {0, "No Grade"},
        {11, "No Grade"},
        {kNoButtLogGrade, "No Grade"},
        {-1, "No Grade"},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(ButtLogGradeText(code), text) << code;
    }
}

} // namespace
} // namespace varnok
