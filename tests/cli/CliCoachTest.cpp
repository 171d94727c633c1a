#include "CliRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace varnok {
namespace {

using test::RunCli;

const std::string kData = VARNOK_BUNDLED_DATA_DIR;
const std::string kMarket = "Appalachian Doyle";

std::vector<std::string> Coach(int tree, const std::string& cuts, std::vector<std::string> extra) {
    std::vector<std::string> args = {
        "--data", kData, "coach", "--market", kMarket, "--tree", std::to_string(tree),
        "--cuts", cuts};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

nlohmann::json RunJson(const std::vector<std::string>& args) {
    const auto run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    return run.ExitCode == 0 ? nlohmann::json::parse(run.Out) : nlohmann::json::object();
}

nlohmann::json Optimise(int tree) {
    return RunJson({"--data", kData, "optimise", "--market", kMarket, "--tree",
                    std::to_string(tree), "--json"});
}

std::string Joined(const std::vector<int>& cuts) {
    std::string text;
    for (const int cut : cuts) {
        text += (text.empty() ? "" : ",") + std::to_string(cut);
    }
    return text;
}

// The completion keeps the bucker's cuts, its gaps tile the stem and add cuts only inside
// themselves, and the figures add up.
void ExpectConsistent(const nlohmann::json& json, const std::vector<int>& bucker) {
    const auto best = json["best_cuts"].get<std::vector<int>>();
    for (const int cut : bucker) {
        EXPECT_TRUE(std::binary_search(best.begin(), best.end(), cut)) << cut;
    }
    EXPECT_TRUE(std::is_sorted(best.begin(), best.end()));
    ASSERT_EQ(json["gaps"].size(), bucker.size() - 1);
    double sum = 0.0;
    std::vector<int> rebuilt;
    for (std::size_t k = 0; k < json["gaps"].size(); ++k) {
        const auto& gap = json["gaps"][k];
        EXPECT_EQ(gap["start"], bucker[k]);
        EXPECT_EQ(gap["end"], bucker[k + 1]);
        rebuilt.push_back(bucker[k]);
        for (const int cut : gap["cuts"].get<std::vector<int>>()) {
            EXPECT_GT(cut, bucker[k]);
            EXPECT_LT(cut, bucker[k + 1]);
            rebuilt.push_back(cut);
        }
        sum += gap["best_value"].get<double>();
    }
    rebuilt.push_back(bucker.back());
    EXPECT_EQ(rebuilt, best);
    EXPECT_DOUBLE_EQ(sum, json["best_value"].get<double>());
    EXPECT_DOUBLE_EQ(json["loss"].get<double>(),
                     std::max(0.0, json["optimal_value"].get<double>() - sum));
    ASSERT_EQ(json["cut_costs"].size(), bucker.size() - 2);
    for (std::size_t k = 0; k + 2 < bucker.size(); ++k) {
        EXPECT_EQ(json["cut_costs"][k]["position"], bucker[k + 1]);
        EXPECT_GE(json["cut_costs"][k]["cost"].get<double>(), 0.0);
    }
}

TEST(CliCoach, AnOptimalPatternLosesNothingAndTheButtAndTopAloneGiveTheOptimum) {
    for (const int tree : {1, 42, 150}) {
        SCOPED_TRACE(tree);
        const nlohmann::json optimal = Optimise(tree);
        auto cuts = optimal["cuts"].get<std::vector<int>>();
        const int top = RunJson({"--data", kData, "tree", "--market", kMarket, "--tree",
                                 std::to_string(tree), "--json"})["stem_length"]
                            .get<int>();
        // As `optimise` gives it: ending at the usable length, not at the top.
        nlohmann::json coached = RunJson(Coach(tree, Joined(cuts), {"--json"}));
        std::vector<int> toTheTop = cuts;
        toTheTop.back() = top;
        ExpectConsistent(coached, toTheTop);
        EXPECT_EQ(coached["loss"], 0.0);
        EXPECT_NEAR(coached["optimal_value"].get<double>(), optimal["total_value"].get<double>(),
                    0.005);
        for (const auto& cost : coached["cut_costs"]) {
            EXPECT_EQ(cost["cost"], 0.0) << cost.dump();
        }

        const nlohmann::json bare = RunJson(Coach(tree, "0," + std::to_string(top), {"--json"}));
        ExpectConsistent(bare, {0, top});
        EXPECT_EQ(bare["best_value"], bare["optimal_value"]);
        EXPECT_EQ(bare["loss"], 0.0);
        std::vector<int> expected = cuts;
        if (expected.back() != top) {
            expected.push_back(top);
        }
        EXPECT_EQ(bare["best_cuts"].get<std::vector<int>>(), expected);
        EXPECT_EQ(bare["cut_costs"], nlohmann::json::array());
    }
}

TEST(CliCoach, ABuckersPatternShowsItsLossTheCostOfEachCutAndOneMoreCut) {
    // Tree 1's stem is 1026 inches: a bucker's 16 ft logs from the butt, then a cut at 596.
    const std::vector<int> bucker = {0, 200, 400, 596, 1026};
    const nlohmann::json json = RunJson(Coach(1, Joined(bucker), {"--at", "300", "--json"}));
    std::set<std::string> keys;
    for (const auto& item : json.items()) {
        keys.insert(item.key());
    }
    EXPECT_EQ(keys, (std::set<std::string>{"market", "tree", "optimal_value", "best_value", "loss",
                                           "best_cuts", "gaps", "cut_costs", "at"}));
    EXPECT_EQ(json["market"], kMarket);
    EXPECT_EQ(json["tree"], 1);
    ExpectConsistent(json, bucker);
    EXPECT_GT(json["loss"].get<double>(), 0.0);
    EXPECT_EQ(json["at"]["position"], 300);
    // A cut more never raises the best value; where a cut stands it changes nothing.
    EXPECT_LE(json["at"]["best_value"].get<double>(), json["best_value"].get<double>());
    const nlohmann::json onACut = RunJson(Coach(1, Joined(bucker), {"--at", "400", "--json"}));
    EXPECT_EQ(onACut["at"]["best_value"], json["best_value"]);
    EXPECT_FALSE(RunJson(Coach(1, Joined(bucker), {"--json"})).contains("at"));

    // The cost of a cut is what the best value gains when it goes.
    for (std::size_t k = 1; k + 1 < bucker.size(); ++k) {
        std::vector<int> without = bucker;
        without.erase(without.begin() + static_cast<std::ptrdiff_t>(k));
        const nlohmann::json less = RunJson(Coach(1, Joined(without), {"--json"}));
        EXPECT_GE(less["best_value"].get<double>(), json["best_value"].get<double>());
        EXPECT_NEAR(json["cut_costs"][k - 1]["cost"].get<double>(),
                    less["best_value"].get<double>() - json["best_value"].get<double>(), 1e-9);
    }
}

TEST(CliCoach, ReadableOutputNamesTheFiguresAndTheCostliestCut) {
    const auto run = RunCli(Coach(1, "0,200,400,596,1024", {"--at", "300"}));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const nlohmann::json json = RunJson(Coach(1, "0,200,400,596,1024", {"--json"}));
    const auto dollars = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "$%.2f", value);
        return std::string(text);
    };
    EXPECT_NE(run.Out.find("Tree 1 (market Appalachian Doyle), cuts: 0 200 400 596 1026\n"),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("Optimal value:          " + dollars(json["optimal_value"]) + "\n"),
              std::string::npos);
    EXPECT_NE(run.Out.find("Loss:                   " + dollars(json["loss"]) + "\n"),
              std::string::npos);
    const auto costs = json["cut_costs"];
    const auto costliest = std::max_element(costs.begin(), costs.end(), [](auto& a, auto& b) {
        return a["cost"].template get<double>() < b["cost"].template get<double>();
    });
    EXPECT_NE(run.Out.find("Costliest cut: " + std::to_string((*costliest)["position"].get<int>()) +
                           " (" + dollars((*costliest)["cost"]) + ")\n"),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("Best completion: 0 200 "), std::string::npos);
    EXPECT_NE(run.Out.find("\nWith one more cut at 300: $"), std::string::npos);
}

TEST(CliCoach, BadInputIsOneLineAndAFailingStatus) {
    std::string many = "0";
    for (int cut = 36; cut < 1000; cut += 36) {
        many += "," + std::to_string(cut);
    }
    many += ",1026"; // 29 positions
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    };
    const std::vector<Case> cases = {
        {Coach(1, "0,x,1026", {}), 1,
         "varnok-cli: --cuts: \"x\" is not a whole number of inches.\n"},
        {Coach(1, "0,500,400,1026", {}), 1,
         "varnok-cli: Cut positions must ascend: 400 follows 500.\n"},
        {Coach(1, "0,500,1100", {}), 1,
         "varnok-cli: Cut position 1100 lies outside the stem (0 to 1026 inches).\n"},
        // A last cut below the top is the bucker's, not the usable length moved to the top.
        {Coach(1, "0,200,400,596,12", {}), 1,
         "varnok-cli: Cut positions must ascend: 12 follows 596.\n"},
        {Coach(1, "0,0", {}), 1, "varnok-cli: Cut positions must ascend: 0 follows 0.\n"},
        {Coach(1, "0,1026,0", {}), 1, "varnok-cli: Cut positions must ascend: 0 follows 1026.\n"},
        {Coach(1, "0,500,1020", {}), 1,
         "varnok-cli: --cuts must start at the butt (0) and end at the top (1026 inches for tree "
         "1); this pattern ends at 1020, leaving 6 inches of the stem out.\n"},
        {Coach(1, "0,500,1000", {}), 1,
         "varnok-cli: --cuts must start at the butt (0) and end at the top (1026 inches for tree "
         "1); this pattern ends at 1000, leaving 26 inches of the stem out.\n"},
        {Coach(1, "8,500,1026", {}), 1,
         "varnok-cli: --cuts must start at the butt (0) and end at the top (1026 inches for tree "
         "1); this pattern starts at 8.\n"},
        {Coach(1, many, {}), 1,
         "varnok-cli: A pattern needs 2 to 27 cut positions (butt and top included), not 29.\n"},
        {Coach(1, "0,500,1026", {"--at", "1027"}), 1,
         "varnok-cli: The extra cut at 1027 lies outside the stem (0 to 1026 inches).\n"},
        {Coach(1, "0,500,1026", {"--at", "-4"}), 1,
         "varnok-cli: The extra cut at -4 lies outside the stem (0 to 1026 inches).\n"},
        {Coach(151, "0,500,1026", {}), 1, "varnok-cli: Tree number 151 lies outside 1 to 150.\n"},
        {{"--data", kData, "coach", "--market", "Nope", "--tree", "1", "--cuts", "0,1026"},
         1,
         "varnok-cli: There is no market \"Nope\" in " + kData + "/Markets.\n"},
        {{"--data", kData, "coach", "--market", kMarket, "--tree", "1"},
         2,
         "varnok-cli: --cuts is required\n"},
    };
    for (const Case& c : cases) {
        const auto run = RunCli(c.args);
        EXPECT_EQ(run.ExitCode, c.exitCode) << c.err;
        EXPECT_EQ(run.Err, c.err);
        EXPECT_EQ(run.Out, "");
    }
}

} // namespace
} // namespace varnok
