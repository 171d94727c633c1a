#include "CliRunner.h"
#include "JsonCompare.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>

namespace varnok {
namespace {

using test::ExpectSameJson;
using test::ReadJson;
using test::RunCli;

TEST(CliTree, MatchesTheGoldenTreeModels) {
    for (const int tree : {1, 4, 6}) {
        const auto result = RunCli({"--data", test::GoldenData().string(), "tree", "--market",
                                    "Hardwood8", "--tree", std::to_string(tree), "--json"});
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        const auto actual = nlohmann::json::parse(result.Out);
        const auto expected =
            ReadJson(test::GoldenExpected() / ("tree-" + std::to_string(tree) + ".json"));
        ExpectSameJson(actual, expected, "tree-" + std::to_string(tree));
        EXPECT_EQ(actual["diameter"].size(), 2401U);
    }
}

TEST(CliTree, TableAndMarkets) {
    // The golden market has no optimal cuts: it is listed, with the reason it has no patterns.
    const std::string optmcuts =
        (test::GoldenData() / "Markets" / "Hardwood8" / "Optmcuts").string();
    const auto markets = RunCli({"--data", test::GoldenData().string(), "markets"});
    EXPECT_EQ(markets.ExitCode, 0);
    EXPECT_EQ(markets.Out,
              "Hardwood8\t(optimal patterns unreadable: " + optmcuts + ": File not found)\n");
    const auto json = RunCli({"--data", test::GoldenData().string(), "markets", "--json"});
    EXPECT_EQ(json.ExitCode, 0) << json.Err;
    EXPECT_EQ(nlohmann::json::parse(json.Out),
              nlohmann::json::parse(R"([{"name": "Hardwood8", "complete": false, "trees_stored": 0,
                                         "missing": [], "problem": ")" +
                                    optmcuts + R"(: File not found"}])"));
    const auto table = RunCli(
        {"tree", "--market", "Hardwood8", "--tree", "6", "--data", test::GoldenData().string()});
    EXPECT_EQ(table.ExitCode, 0) << table.Err;
    EXPECT_NE(table.Out.find("Stem length: 600 in"), std::string::npos) << table.Out;
    EXPECT_NE(table.Out.find("Decay"), std::string::npos);
}

TEST(CliTree, ExitCodesAndMessages) {
    const std::string data = test::GoldenData().string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* stderrHolds;
    };
    const std::vector<Case> cases = {
        {{"--data", data, "tree", "--market", "Hardwood8", "--tree", "151"}, 1, "outside 1 to 150"},
        {{"--data", data, "tree", "--market", "Hardwood8", "--tree", "2"},
         1,
         "Tree2.DEF: File not found"},
        {{"--data", data, "tree", "--market", "Nope", "--tree", "1"}, 1, "no market \"Nope\""},
        {{"--data", data, "tree", "--market", "../x", "--tree", "1"}, 1, "path separator"},
        {{"--data", data, "tree", "--market", "Hardwood8"}, 2, "--tree"},
        {{"--data", data, "frobnicate"}, 2, ""},
        {{"--data", data, "markets", "--bogus"}, 2, ""},
        {{"--data", data, "tree", "--market", "Hardwood8", "--tree", "x"}, 2, ""},
        {{"--data", data, "grade-tree", "--market", "Hardwood8", "--tree", "6", "--trim", "6"},
         2,
         "--trim"},
        {{"--data", data, "grade-tree", "--market", "Hardwood8", "--tree", "151"},
         1,
         "outside 1 to 150"},
    };
    for (const Case& c : cases) {
        const auto result = RunCli(c.args);
        EXPECT_EQ(result.ExitCode, c.exitCode) << c.stderrHolds << "\n" << result.Err;
        EXPECT_NE(result.Err.find(c.stderrHolds), std::string::npos) << result.Err;
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(result.Err.begin(), result.Err.end(), '\n'), 1) << result.Err;
        }
    }
}

TEST(CliTree, DataFolderFromTheEnvironment) {
    setenv("VARNOK_DATA", test::GoldenData().c_str(), 1);
    const auto result = RunCli({"markets"});
    unsetenv("VARNOK_DATA");
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_TRUE(result.Out.starts_with("Hardwood8\t")) << result.Out;
}

} // namespace
} // namespace varnok
