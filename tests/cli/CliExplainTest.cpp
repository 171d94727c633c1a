#include "CliRunner.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>

namespace varnok {
namespace {

using test::RunCli;

const std::string kData = VARNOK_BUNDLED_DATA_DIR;
const std::string kMarket = "Appalachian Doyle";

std::vector<std::string> Evaluate(const std::string& tree, std::vector<std::string> extra) {
    std::vector<std::string> args = {"--data", kData,    "evaluate", "--market",
                                     kMarket,  "--tree", tree};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST(CliExplain, JsonAddsTheReasonsAndChangesNothingElse) {
    for (const char* tree : {"1", "77", "150"}) {
        SCOPED_TRACE(tree);
        const auto plain = RunCli(Evaluate(tree, {"--optimal", "--json"}));
        const auto explained = RunCli(Evaluate(tree, {"--optimal", "--explain", "--json"}));
        ASSERT_EQ(plain.ExitCode, 0) << plain.Err;
        ASSERT_EQ(explained.ExitCode, 0) << explained.Err;
        nlohmann::json json = nlohmann::json::parse(explained.Out);
        ASSERT_FALSE(json["logs"].empty());
        for (auto& log : json["logs"]) {
            ASSERT_TRUE(log.contains("explain"));
            const auto& reasons = log["explain"];
            ASSERT_FALSE(reasons.empty());
            for (const auto& reason : reasons) {
                std::vector<std::string> keys;
                for (const auto& item : reason.items()) {
                    keys.push_back(item.key());
                }
                std::sort(keys.begin(), keys.end());
                EXPECT_EQ(keys, (std::vector<std::string>{"detail", "passed", "product",
                                                          "product_class", "rule"}));
                EXPECT_FALSE(reason["detail"].get<std::string>().empty());
            }
            // The last reason is the product the log sells as.
            EXPECT_EQ(reasons.back()["rule"], "value");
            EXPECT_EQ(reasons.back()["product"], log["product"]);
            EXPECT_EQ(reasons.back()["product_class"], log["product_class"]);
            // Every better sawlog grade than the one reached is there, failed.
            const int saw = log["saw_grade"].get<int>();
            for (int g = 1; log["graded"].get<bool>() && g < std::min(saw, 4); ++g) {
                const bool failed = std::any_of(reasons.begin(), reasons.end(), [&](const auto& r) {
                    return r["product_class"] == g + 3 && r["passed"] == false;
                });
                EXPECT_TRUE(failed) << "sawlog grade " << g << " of " << log.dump();
            }
            log.erase("explain");
        }
        EXPECT_EQ(json, nlohmann::json::parse(plain.Out));
    }
}

TEST(CliExplain, ReadableOutputPrintsTheReasonsUnderEachLog) {
    const auto run = RunCli(Evaluate("1", {"--cuts", "0,200,300,596,1024", "--explain"}));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    std::istringstream lines(run.Out);
    std::string line;
    int logs = 0;
    int values = 0;
    int reasonsOfLog = -1; // reasons seen since the last log line
    while (std::getline(lines, line)) {
        const bool reason =
            line.starts_with("      passed  ") || line.starts_with("      failed  ");
        if (reason) {
            ASSERT_GE(reasonsOfLog, 0) << "a reason before any log: " << line;
            ++reasonsOfLog;
            values += line.find("  value: ") != std::string::npos ? 1 : 0;
        } else if (line.size() > 3 && line[2] >= '1' && line[2] <= '9' && line[3] == ' ') {
            EXPECT_NE(reasonsOfLog, 0) << "a log without reasons before: " << line;
            ++logs;
            reasonsOfLog = 0;
        }
    }
    EXPECT_EQ(logs, 4);
    EXPECT_EQ(values, 4);
    EXPECT_GT(reasonsOfLog, 0);
    EXPECT_NE(run.Out.find("Returns: $"), std::string::npos);

    const auto plain = RunCli(Evaluate("1", {"--cuts", "0,200,300,596"}));
    EXPECT_EQ(plain.Out.find("passed  "), std::string::npos);
}

TEST(CliExplain, BadInputExitsWithOneLine) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message; // a part of stderr
    };
    const Case cases[] = {
        {Evaluate("0", {"--optimal", "--explain"}), 1, "0"},
        {Evaluate("151", {"--cuts", "0,200", "--explain", "--json"}), 1, "151"},
        {Evaluate("1", {"--cuts", "0,200,x", "--explain"}), 1, "\"x\" is not a whole number"},
        {Evaluate("1", {"--cuts", "0,300,200", "--explain"}), 1, "must ascend"},
        {Evaluate("1", {"--cuts", "0,99999", "--explain"}), 1, "outside the stem"},
        {{"--data", kData, "evaluate", "--market", "Nowhere", "--tree", "1", "--optimal",
          "--explain"},
         1,
         "Nowhere"},
        {Evaluate("1", {"--explain"}), 2, "--cuts or --optimal"},
        {{"--data", kData, "optimise", "--market", kMarket, "--tree", "1", "--explain"}, 2, ""},
    };
    for (const Case& c : cases) {
        const auto run = RunCli(c.args);
        SCOPED_TRACE(c.args.back() + " " + c.args[c.args.size() - 2]);
        EXPECT_EQ(run.ExitCode, c.exitCode) << run.Err;
        EXPECT_TRUE(run.Out.empty()) << run.Out;
        EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        }
    }
}

} // namespace
} // namespace varnok
