#include "services/MarketComputation.h"
#include "TestSupport.h"
#include "services/MarketStats.h"
#include "services/Reports.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

using test::TempFolder;

// A data folder of 150 trees: tree k is a copy of golden tree 1, 4 or 6 in turn; the golden
// rule sets; no markets.
void Make150Trees(const std::filesystem::path& root) {
    test::CopyGoldenData(root);
    std::filesystem::remove_all(root / "Markets");
    std::filesystem::create_directories(root / "Markets");
    const int golden[] = {1, 4, 6};
    const auto source = test::GoldenData();
    for (int k = 1; k <= 150; ++k) {
        const int g = golden[(k - 1) % 3];
        for (const auto& [folder, extension] :
             {std::pair{"Shapes", ".SHP"}, std::pair{"Defects", ".DEF"}}) {
            std::filesystem::copy_file(source / folder / ("Tree" + std::to_string(g) + extension),
                                       root / folder / ("Tree" + std::to_string(k) + extension),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
}

MarketDefinition Definition(const std::string& name) {
    MarketDefinition d;
    d.Name = name;
    d.TrimAllowance = 8;
    d.LogRule = "Doyle";
    d.VeneerRules = "Veneer Three";
    d.SawlogRules = "Factory Grades";
    d.PriceSet = "Hardwood Whole";
    d.FilterSet = "Default Filter";
    d.Roundwood = "RW Two";
    return d;
}

class MarketComputationTest : public ::testing::Test {
protected:
    MarketComputationTest() { Make150Trees(folder_.Path()); }
    DataFolder Data() const { return DataFolder(folder_.Path()); }
    TempFolder folder_;
};

TEST_F(MarketComputationTest, SameBytesOnOneThreadAndTwo) {
    std::vector<int> progress;
    const Market one = ComputeMarket(Data(), Definition("One"), 1, [&](int tree, int count) {
        EXPECT_EQ(count, 150);
        progress.push_back(tree);
    });
    ASSERT_EQ(progress.size(), 150U);
    for (int k = 0; k < 150; ++k) {
        ASSERT_EQ(progress[static_cast<std::size_t>(k)], k + 1);
    }
    (void)ComputeMarket(Data(), Definition("Two"), 2, nullptr);
    const auto a = test::ReadBytes(Data().Markets() / "One" / "Optmcuts");
    const auto b = test::ReadBytes(Data().Markets() / "Two" / "Optmcuts");
    ASSERT_EQ(a.size(), 16200U);
    EXPECT_EQ(a, b);

    // The golden optima: tree 1 is 0, 104, 232, 360, 464, 528; so is every third tree.
    const OptimalCutsTable table = ReadOptimalCuts(one.OptmcutsPath);
    EXPECT_EQ(CutPositions(table.Entry(1)), (std::vector<int>{0, 104, 232, 360, 464, 528}));
    EXPECT_EQ(CutPositions(table.Entry(148)), CutPositions(table.Entry(1)));
    EXPECT_EQ(CutPositions(table.Entry(3)), (std::vector<int>{0, 4, 132, 236, 364, 392, 544, 600}));
    EXPECT_EQ(table.Entry(2)[7], 0);

    // Specs as written loads back into the same market.
    const Market loaded = LoadMarket(Data(), "One");
    EXPECT_EQ(loaded.Specs().Encode(), one.Specs().Encode());
    EXPECT_EQ(test::ReadBytes(Data().Markets() / "One" / "Specs").size(), 4756U);
    EXPECT_EQ(loaded.Specs().Encode()[0], 8);
}

TEST_F(MarketComputationTest, NeverOverwritesAMarket) {
    std::filesystem::create_directories(Data().Markets() / "Taken");
    test::WriteText(Data().Markets() / "Taken" / "Specs", "old");
    try {
        (void)ComputeMarket(Data(), Definition("Taken"), 1, nullptr);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_NE(e.Message().find("I/O error 183"), std::string::npos);
    }
    EXPECT_EQ(test::ReadBytes(Data().Markets() / "Taken" / "Specs").size(), 3U);
    EXPECT_FALSE(std::filesystem::exists(Data().Markets() / "Taken" / "Optmcuts"));
}

TEST_F(MarketComputationTest, RefusesBadNamesAndMissingRulesBeforeMakingTheFolder) {
    const std::vector<std::pair<std::string, void (*)(MarketDefinition&)>> cases = {
        {"..", [](MarketDefinition&) {}},
        {"Bad1", [](MarketDefinition& d) { d.PriceSet = "../Prices/Hardwood Whole"; }},
        {"Bad2", [](MarketDefinition& d) { d.TrimAllowance = 6; }},
        {"Bad3", [](MarketDefinition& d) { d.VeneerRules = "Missing"; }},
        {"Bad4", [](MarketDefinition& d) { d.LogRule = ""; }},
    };
    for (const auto& [name, change] : cases) {
        MarketDefinition d = Definition(name);
        change(d);
        EXPECT_THROW((void)ComputeMarket(Data(), d, 1, nullptr), VarnokError) << name;
        if (name != "..") {
            EXPECT_FALSE(std::filesystem::exists(Data().Markets() / name)) << name;
        }
    }
}

TEST_F(MarketComputationTest, AMissingTreeStopsTheComputationKeepingTheTreesBefore) {
    std::filesystem::remove(Data().Defects() / "Tree5.DEF");
    int last = 0;
    try {
        (void)ComputeMarket(Data(), Definition("Partial"), 2, [&](int tree, int) { last = tree; });
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Path().filename(), "Tree5.DEF");
        EXPECT_EQ(e.Message(), "File not found");
    }
    EXPECT_EQ(last, 4);
    const OptimalCutsTable table = ReadOptimalCuts(Data().Markets() / "Partial" / "Optmcuts");
    for (int t = 1; t <= 4; ++t) {
        EXPECT_FALSE(CutPositions(table.Entry(t)).empty()) << t;
    }
    for (int t = 5; t <= 150; ++t) {
        ASSERT_TRUE(CutPositions(table.Entry(t)).empty()) << t;
    }
}

TEST_F(MarketComputationTest, ReportsOfTheOptimalPatterns) {
    const Market market = ComputeMarket(Data(), Definition("Rep"), 2, nullptr);
    const std::vector<std::string> cuts =
        CutLocationLines(ReadOptimalCuts(market.OptmcutsPath), 1, 2);
    const std::vector<std::string> expectedStart = {
        "",
        "",
        "Cut Locations Of Optimal Bucking Pattern For Trees 1 To 2",
        "",
        "Distances are in inches from the butt of the tree.",
        "",
        "Tree Number 1",
        "   Segment 1 : 0 To 104",
        "   Segment 2 : 104 To 232"};
    EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), cuts.begin()));
    EXPECT_EQ(cuts[6 + 1 + 5], "");
    EXPECT_EQ(cuts[6 + 1 + 5 + 1], "Tree Number 2");

    const ResearchResults results = ResearchOptimalPatterns(Data(), market, 3, 3);
    ASSERT_EQ(results.at(3).size(), 4U); // tree 3 is golden tree 6: four graded logs
    const std::vector<std::string> products = ProductsReportLines(results, 3, 3);
    const std::vector<std::string> firstLog = {"",
                                               "",
                                               "Tree Number 3",
                                               "",
                                               "   Segment: 1",
                                               "   Length: 128 inches",
                                               "   Product: #1 Sawlog",
                                               "   S.E.D.: 25 inches",
                                               "   % Sweep: 0.00",
                                               "   % Cull: 0.07",
                                               "   Volume: 255 Board Feet",
                                               "   Value: $112.20",
                                               ""};
    EXPECT_TRUE(std::equal(firstLog.begin(), firstLog.end(), products.begin()));

    const std::vector<std::string> file = ProductsFileLines(results, 3, 3);
    ASSERT_EQ(file.size(), 3U + 4U);
    EXPECT_EQ(file[0], "");
    EXPECT_EQ(file[1], "tree,segment,length,product,s.e.d.,sweep,cull,volume,value");
    EXPECT_EQ(file[2], "");
    EXPECT_EQ(file[3], "3,1,128,#1 Sawlog,25,0.00,0.07,255,112.20");
    EXPECT_EQ(file[4], "3,2,104,Prime Veneer Log,23,0.00,0.00,180,216.00");

    ResearchResults named = results;
    named[3][0].ProductName = "Ties, \"grade\" A";
    EXPECT_EQ(ProductsFileLines(named, 3, 3)[3],
              "3,1,128,\"Ties, \"\"grade\"\" A\",25,0.00,0.07,255,112.20");
    EXPECT_THROW((void)ProductsFileLines(results, 5, 4), VarnokError);

    const MarketStats stats = ComputeMarketStats(Data(), market);
    EXPECT_EQ(stats.Trees.size(), 150U);
    EXPECT_NEAR(stats.OptimalTotal, 50 * (590.30 + 226.84 + 663.20), 0.05);
    EXPECT_NEAR(stats.NaiveTotal, 50 * (354.80 + 204.36 + 363.50), 0.05);
    EXPECT_NEAR(stats.MinTree, 226.84, 0.005);
    EXPECT_NEAR(stats.MedianTree, 590.30, 0.005);
    EXPECT_NEAR(stats.MaxTree, 663.20, 0.005);
    // Golden trees 1, 4 and 6 cut optimally into 4, 5 and 4 graded logs and 1, 1 and 3 stubs.
    EXPECT_EQ(stats.GradedLogs, 50 * 13);
    EXPECT_EQ(stats.WastePieces, 50 * 5);
    EXPECT_EQ(stats.LogsByProduct[1], 50 * 5);
    EXPECT_EQ(stats.LogsByProduct[6], 0);

    const std::vector<std::string> definition = MarketDefinitionLines("Rep", market.Specs());
    EXPECT_EQ(definition,
              (std::vector<std::string>{
                  "", "", "Rep Market Definition", "", "Veneer Grading Rule : Veneer Three",
                  "Sawlog Grading Rule : Factory Grades", "Roundwood Products : RW Two",
                  "Log Rule : Doyle", "Price Set : Hardwood Whole",
                  "Defect Filter Set : Default Filter", "Trim Allowance : 8 inches"}));
}

TEST(NaivePattern, SixteensThenTheLongestThatFits) {
    struct Case {
        int trim, stem;
        std::vector<int> cuts;
    };
    const std::vector<Case> cases = {
        {8, 528, {0, 200, 400, 528}},      // 128 left: a 10 ft log
        {8, 660, {0, 200, 400, 600, 660}}, // 60 left: a stub
        {8, 400, {0, 200, 400}},
        {8, 350, {0, 200, 328, 350}}, // 150 left: 10 ft (128) and a stub
        {4, 300, {0, 196, 296, 300}},
        {8, 90, {0, 90}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NaiveCuts(LogLengthSet::FromTrim(c.trim), c.stem), c.cuts) << c.stem;
    }
}

} // namespace
} // namespace varnok
