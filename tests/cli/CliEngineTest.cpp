#include "CliRunner.h"
#include "JsonCompare.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace varnok {
namespace {

using test::ExpectSameJson;
using test::ReadJson;
using test::RunCli;

std::string Join(const nlohmann::json& cuts) {
    std::string text;
    for (const auto& cut : cuts) {
        text += (text.empty() ? "" : ",") + std::to_string(cut.get<int>());
    }
    return text;
}

TEST(CliEngine, OptimiseAndEvaluateGiveTheGoldenAnswers) {
    const std::string data = test::GoldenData().string();
    for (const int tree : {1, 4, 6}) {
        const std::string n = std::to_string(tree);
        const auto optimise =
            RunCli({"--data", data, "optimise", "--market", "Hardwood8", "--tree", n, "--json"});
        ASSERT_EQ(optimise.ExitCode, 0) << optimise.Err;
        const auto expected = ReadJson(test::GoldenExpected() / ("optimise-" + n + ".json"));
        const auto actual = nlohmann::json::parse(optimise.Out);
        ExpectSameJson(actual, expected, "optimise-" + n);
        EXPECT_EQ(actual["logs"].size(), expected["cuts"].size() - 1);

        for (const char* pattern : {"optimal", "sixteens"}) {
            const auto answer =
                ReadJson(test::GoldenExpected() / ("evaluate-" + n + "-" + pattern + ".json"));
            nlohmann::json cuts = nlohmann::json::array();
            for (const auto& log : answer["logs"]) {
                cuts.push_back(log["start"]);
            }
            cuts.push_back(answer["logs"].back()["end"]);
            const auto evaluate = RunCli({"--data", data, "evaluate", "--market", "Hardwood8",
                                          "--tree", n, "--cuts", Join(cuts), "--json"});
            ASSERT_EQ(evaluate.ExitCode, 0) << evaluate.Err;
            ExpectSameJson(nlohmann::json::parse(evaluate.Out), answer,
                           "evaluate-" + n + "-" + pattern);
        }
    }
}

TEST(CliEngine, ComputeAMarketThenUseIt) {
    test::TempFolder folder;
    const auto root = folder.Path() / "data";
    test::CopyGoldenData(root);
    for (int k = 1; k <= 150; ++k) {
        if (k == 4) {
            continue;
        }
        for (const auto& [sub, extension] :
             {std::pair{"Shapes", ".SHP"}, std::pair{"Defects", ".DEF"}}) {
            std::filesystem::copy_file(root / sub / ("Tree4" + std::string(extension)),
                                       root / sub / ("Tree" + std::to_string(k) + extension),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
    const std::string data = root.string();
    const std::vector<std::string> compute =
        test::GoldenComputeArgs(data, "Fresh", {"--jobs", "2"});
    const auto made = RunCli(compute);
    ASSERT_EQ(made.ExitCode, 0) << made.Err;
    EXPECT_NE(made.Err.find("Working on Tree Number 150 of 150"), std::string::npos);
    const auto again = RunCli(compute);
    EXPECT_EQ(again.ExitCode, 1);
    EXPECT_NE(again.Err.find("I/O error 183"), std::string::npos) << again.Err;
    EXPECT_NE(again.Err.find("give --replace"), std::string::npos) << again.Err;

    const auto markets = RunCli({"--data", data, "markets"});
    EXPECT_TRUE(markets.Out.starts_with("Fresh\nHardwood8\t(optimal patterns unreadable: "))
        << markets.Out;

    // The stored optimum of tree 4 evaluates as the golden optimum.
    const auto optimal = RunCli(
        {"--data", data, "evaluate", "--market", "Fresh", "--tree", "4", "--optimal", "--json"});
    ASSERT_EQ(optimal.ExitCode, 0) << optimal.Err;
    auto expected = ReadJson(test::GoldenExpected() / "evaluate-4-optimal.json");
    expected["market"] = "Fresh";
    ExpectSameJson(nlohmann::json::parse(optimal.Out), expected, "stored optimum");
    const auto none =
        RunCli({"--data", data, "evaluate", "--market", "Hardwood8", "--tree", "4", "--optimal"});
    EXPECT_EQ(none.ExitCode, 1); // the golden market has no Optmcuts
    EXPECT_NE(none.Err.find("Optmcuts"), std::string::npos) << none.Err;

    const auto file = folder.Path() / "products.csv";
    const auto exported = RunCli({"--data", data, "export-optimal", "--market", "Fresh", "--from",
                                  "4", "--to", "5", "--out", file.string()});
    ASSERT_EQ(exported.ExitCode, 0) << exported.Err;
    const auto bytes = test::ReadBytes(file);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, 64),
              "\r\ntree,segment,length,product,s.e.d.,sweep,cull,volume,value\r\n\r\n");
    EXPECT_NE(text.find("4,1,128,#1 Sawlog,20,0.00,0.03,156,68.64\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n5,5,104,#2 Sawlog,13,0.00,0.14,34,10.20\r\n"), std::string::npos)
        << text;

    const auto printed = RunCli({"--data", data, "print-market", "Fresh"});
    EXPECT_EQ(printed.ExitCode, 0);
    EXPECT_NE(
        printed.Out.find("\n\nFresh Market Definition\n\nVeneer Grading Rule : Veneer Three\n"),
        std::string::npos);
    EXPECT_NE(printed.Out.find("Trim Allowance : 8 inches\n"), std::string::npos);

    const auto report = RunCli({"--data", data, "report", "--market", "Fresh", "--from", "4",
                                "--to", "4", "--kind", "both"});
    EXPECT_EQ(report.ExitCode, 0) << report.Err;
    EXPECT_NE(report.Out.find("   Segment 6 : 556 To 660\n"), std::string::npos) << report.Out;
    EXPECT_NE(report.Out.find("   Product: B Veneer Log\n"), std::string::npos);
}

// The trim of --trim replaces the market's for the trials; the grade is the best of them.
TEST(CliEngine, GradeTreeListsItsTrials) {
    const std::string data = test::GoldenData().string();
    struct Case {
        const char* tree;
        const char* trim; // empty: the market's, 8
        int trials;
        const char* grade;
    };
    for (const Case& c : {Case{"6", "", 17, "#1 Saw"}, Case{"1", "4", 18, "#1 Veneer"}}) {
        std::vector<std::string> args = {"--data",    data,     "grade-tree", "--market",
                                         "Hardwood8", "--tree", c.tree,       "--json"};
        if (*c.trim != '\0') {
            args.insert(args.end(), {"--trim", c.trim});
        }
        const auto result = RunCli(args);
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        const auto json = nlohmann::json::parse(result.Out);
        const int trim = json["trim"].get<int>();
        EXPECT_EQ(trim, *c.trim == '\0' ? 8 : 4);
        ASSERT_EQ(json["trials"].size(), static_cast<std::size_t>(c.trials)) << c.tree;
        int lowest = 20;
        for (std::size_t i = 0; i < json["trials"].size(); ++i) {
            const auto& trial = json["trials"][i];
            EXPECT_EQ(trial["start"], 4 * static_cast<int>(i));
            EXPECT_EQ(trial["end"], 4 * static_cast<int>(i) + 120 + trim);
            lowest = std::min(lowest, trial["product"].get<int>());
        }
        EXPECT_EQ(json["code"], lowest);
        EXPECT_EQ(json["grade"], c.grade);
    }
    const auto table =
        RunCli({"--data", data, "grade-tree", "--market", "Hardwood8", "--tree", "6"});
    EXPECT_EQ(table.Out.substr(0, table.Out.find('\n')),
              "Tree 6 (market Hardwood8, trim 8 in): #1 Saw");
    EXPECT_NE(table.Out.find("\n     64    192        4  #1 Saw\n"), std::string::npos)
        << table.Out;
}

TEST(CliEngine, BadPatternsAndUsage) {
    const std::string data = test::GoldenData().string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {{"evaluate", "--market", "Hardwood8", "--tree", "1"}, 2},
        {{"evaluate", "--market", "Hardwood8", "--tree", "1", "--cuts", "0,x,528"}, 1},
        {{"evaluate", "--market", "Hardwood8", "--tree", "1", "--cuts", "0,300,200,528"}, 1},
        {{"evaluate", "--market", "Hardwood8", "--tree", "1", "--cuts", "0,600"}, 1},
        {{"evaluate", "--market", "Hardwood8", "--tree", "1", "--cuts", "0,528", "--optimal"}, 2},
        {{"compute-market", "--name", "X", "--log-rule", "Doyle", "--veneer", "V", "--sawlog", "S",
          "--prices", "P", "--filter", "F", "--roundwood", "R", "--trim", "6"},
         2},
        {{"export-optimal", "--market", "Hardwood8", "--from", "3", "--to", "2"}, 1},
        {{"print-market", "Nope"}, 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--data", data};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto result = RunCli(args);
        EXPECT_EQ(result.ExitCode, c.exitCode) << c.args[0] << " " << c.args.back() << "\n"
                                               << result.Err;
        EXPECT_FALSE(result.Err.empty());
    }
}

// In the products file, its JSON and the products report a log sold as cull has its cull charge
// as a negative value: each tree's values sum to the net of `evaluate --optimal`.
TEST(CliEngine, ACullChargeIsExportedAndReportedAsANegativeValue) {
    const std::string data = VARNOK_BUNDLED_DATA_DIR;
    struct Case {
        std::string market, from, to;
        std::string cullRow;   // of the products file, CR LF ended
        std::string cullValue; // of the products report
    };
    const std::vector<Case> cases = {
        {"Appalachian Doyle", "1", "4", "\r\n1,7,148,Cull,4,0.00,0.00,2,-2.18\r\n",
         "   Value: $-2.18\n"},
        {"Northern International", "6", "7", "\r\n7,7,188,Cull,4,0.00,0.00,3,-3.05\r\n",
         "   Value: $-3.05\n"},
    };
    for (const Case& c : cases) {
        const auto run = [&](const std::string& command, const std::vector<std::string>& extra) {
            std::vector<std::string> args = {"--data", data,   command, "--market", c.market,
                                             "--from", c.from, "--to",  c.to};
            args.insert(args.end(), extra.begin(), extra.end());
            const auto result = RunCli(args);
            EXPECT_EQ(result.ExitCode, 0) << result.Err;
            return result.Out;
        };
        EXPECT_NE(run("export-optimal", {}).find(c.cullRow), std::string::npos) << c.market;
        EXPECT_NE(run("report", {"--kind", "products"}).find(c.cullValue), std::string::npos)
            << c.market;
        const auto exported = nlohmann::json::parse(run("export-optimal", {"--json"}));
        for (const auto& tree : exported["trees"]) {
            const std::string n = std::to_string(tree["tree"].get<int>());
            double sum = 0.0;
            for (const auto& log : tree["logs"]) {
                const double value = log["value"].get<double>();
                EXPECT_EQ(value < 0.0, log["product_class"] == 10) << c.market << " tree " << n;
                sum += value;
            }
            const auto optimal = RunCli({"--data", data, "evaluate", "--market", c.market, "--tree",
                                         n, "--optimal", "--json"});
            const auto evaluated = nlohmann::json::parse(optimal.Out);
            EXPECT_NEAR(
                sum, evaluated["returns"].get<double>() - evaluated["cull_penalty"].get<double>(),
                1e-4)
                << c.market << " tree " << n;
        }
    }
}

} // namespace
} // namespace varnok
