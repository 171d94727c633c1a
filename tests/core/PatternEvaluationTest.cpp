#include "game/PatternEvaluation.h"
#include "EngineFixtures.h"
#include "TestSupport.h"
#include "services/Reports.h"
#include "support/Errors.h"
#include "support/Numbers.h"
#include "tracking/TrackedLog.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

using test::StraightTree;
using test::TestMarket;

std::unique_ptr<Market> PricedMarket(int trim = 8) {
    auto market = TestMarket(trim);
    test::SetSawlogGrades(*market, 1, 2, 0.5F, 99);
    VeneerGradeRules prime = test::OpenVeneerGrade(1, 8);
    prime.GradeNames[0] = "Prime Veneer";
    prime.MinSmallEndDiameter = 18;
    test::SetVeneerGrade(*market, 1, prime);
    market->Roundwood.Products[0] = test::RoundwoodProduct("Pulpwood", 8, 17, 8, 16, 1.0F);
    test::SetPrice(*market, 1, 1000);
    test::SetPrice(*market, 4, 300);
    test::SetPrice(*market, 7, 60);
    test::SetPrice(*market, 10, 140); // 1 dollar a cubic foot of cull
    return market;
}

TEST(PatternEvaluation, ButtAndTopGiveOneLog) {
    auto market = PricedMarket();
    auto tree = StraightTree(200, 20, 20);
    const std::vector<int> cuts = {0, 200};
    const PatternEvaluation e = EvaluatePattern(*tree, *market, cuts);
    ASSERT_EQ(e.Pieces.size(), 1U);
    const EvaluatedPiece& log = e.Pieces[0];
    EXPECT_TRUE(log.Log.Graded);
    EXPECT_EQ(log.Log.Segment.ProductClass, 1);
    EXPECT_EQ(log.ProductName, "Prime Veneer");
    EXPECT_EQ(log.Log.NetScale, 256);
    EXPECT_FLOAT_EQ(log.Log.Segment.Value, 256.0F);
    EXPECT_FLOAT_EQ(e.Returns, 256.0F);
    EXPECT_FALSE(e.ShowsNet());
    EXPECT_EQ(log.LabelLines,
              (std::array<std::string, 6>{"16' Prime Veneer", "20\" sed", "0\" sweep", "0%S  0%C",
                                          "256.00 bf", "$256.00"}));
    const ResearchEntry research = MakeResearchEntry(log);
    EXPECT_EQ(research.ProductName, "Prime Veneer");
    EXPECT_EQ(research.Volume, 256);
    EXPECT_EQ(research.VolumeUnit, "Board Feet");
    EXPECT_EQ(MakeTrackedLog(log).Unit, "mbf");
}

TEST(PatternEvaluation, ShortPiecesAreNotGradedAndTrimDecidesTheLength) {
    struct Case {
        int trim;
        int length;
        bool graded;
        int nominal;
    };
    const Case cases[] = {{4, 100, true, 8},
                          {4, 99, false, 0},
                          {4, 250, true, 16},
                          {8, 103, false, 0},
                          {8, 104, true, 8}};
    for (const Case& c : cases) {
        auto market = PricedMarket(c.trim);
        auto tree = StraightTree(400, 20, 20);
        const std::vector<int> cuts = {0, c.length, 400};
        const PatternEvaluation e = EvaluatePattern(*tree, *market, cuts);
        const EvaluatedPiece& first = e.Pieces[0];
        EXPECT_EQ(first.Log.Graded, c.graded) << c.trim << " " << c.length;
        EXPECT_EQ(first.Log.Segment.NominalLength, c.nominal);
        if (!c.graded) {
            EXPECT_EQ(first.Log.Segment.ProductClass, kCullProduct);
            EXPECT_EQ(first.ProductName, "Cull");
            EXPECT_EQ(first.LabelLines[0], "");
            EXPECT_EQ(first.Log.Segment.Value,
                      0.0F); // no nominal length: no cubic volume to charge
            EXPECT_EQ(MakeResearchEntry(e.Pieces[1]).StartPosition, c.length);
        }
    }
}

TEST(PatternEvaluation, LogsWorthNothingAreSoldAsCull) {
    auto market = PricedMarket();
    // SED 9 at 16 ft: Doyle 25 board feet, under the 30 needed, and too thin for veneer;
    // pulpwood takes it when priced.
    auto tree = StraightTree(400, 12, 9);
    const std::vector<int> cuts = {0, 200, 400};
    PatternEvaluation e = EvaluatePattern(*tree, *market, cuts);
    const EvaluatedPiece& top = e.Pieces[1];
    EXPECT_EQ(top.Log.NetScale, 25);
    EXPECT_EQ(top.Log.Segment.ProductClass, 7);
    EXPECT_EQ(top.ProductName, "Pulpwood");
    EXPECT_EQ(top.LabelLines[4],
              FormatFixed(
                  static_cast<double>(top.Log.CubicVolume) * static_cast<double>(0.014285714F), 2) +
                  " Cords");
    EXPECT_EQ(MakeTrackedLog(top).Unit, "ft3");
    EXPECT_EQ(MakeResearchEntry(top).VolumeUnit, "Cubic Feet");
    EXPECT_FALSE(e.ShowsNet());

    market->Roundwood.Products[0].Name.clear(); // no outlet left
    e = EvaluatePattern(*tree, *market, cuts);
    const EvaluatedPiece& cull = e.Pieces[1];
    EXPECT_EQ(cull.Log.Segment.ProductClass, kCullProduct);
    EXPECT_TRUE(cull.Log.Graded);
    EXPECT_FLOAT_EQ(cull.Log.Segment.ShownVolume, cull.Log.CubicVolume);
    EXPECT_FLOAT_EQ(cull.Log.Segment.Value, cull.Log.CubicVolume); // 140 per 140 cubic feet
    EXPECT_FLOAT_EQ(e.CullPenalty, cull.Log.CubicVolume);
    EXPECT_TRUE(e.ShowsNet());
    EXPECT_FLOAT_EQ(e.Returns, e.Pieces[0].Log.Segment.Value); // the cull log adds nothing
    EXPECT_EQ(cull.LabelLines[5], "$0.00");
    EXPECT_EQ(cull.LabelLines[4].substr(cull.LabelLines[4].find(' ')), " Cubic Feet");
    EXPECT_FLOAT_EQ(MakeResearchEntry(cull).Value, -cull.Log.CubicVolume); // reports sum to net
    EXPECT_FLOAT_EQ(MakeTrackedLog(cull).Value, cull.Log.CubicVolume);
}

TEST(PatternEvaluation, NetScaleOf29EarnsNoBoardFootValue) {
    auto market = PricedMarket();
    market->Roundwood.Products[0].Name.clear();
    market->LogRule.Entries[19].Volume[0] = 29.4; // SED 20, 8 ft
    auto tree = StraightTree(400, 20, 20);
    const std::vector<int> cuts = {0, 104};
    const PatternEvaluation e = EvaluatePattern(*tree, *market, cuts);
    EXPECT_EQ(e.Pieces[0].Log.NetScale, 29);
    EXPECT_EQ(e.Pieces[0].Log.Segment.ProductClass, kCullProduct);
    market->LogRule.Entries[19].Volume[0] = 29.6;
    EXPECT_EQ(EvaluatePattern(*tree, *market, cuts).Pieces[0].Log.Segment.ProductClass, 1);
}

TEST(PatternEvaluation, RefusesBadPatterns) {
    auto market = PricedMarket();
    auto tree = StraightTree(400, 20, 20);
    const std::vector<std::vector<int>> bad = {
        {0}, {0, 200, 200, 400}, {0, 300, 200, 400}, {-4, 400}, {0, 404}, std::vector<int>(28, 0)};
    for (const auto& cuts : bad) {
        EXPECT_THROW((void)EvaluatePattern(*tree, *market, cuts), VarnokError) << cuts.size();
    }
}

// A stored pattern is checked against the tree it is used with: a top beyond the stem is the
// fault of the file that stores it, not of the pattern.
TEST(PatternEvaluation, StoredCutsBeyondTheStemNameTheFileAndTheTree) {
    auto tree = StraightTree(400, 20, 20);
    OptimalCutsTable table;
    const std::vector<int> fits = {0, 200, 400};
    const std::vector<int> beyond = {0, 200, 404};
    table.Entry(3) = MakeOptimalCutEntry(fits);
    table.Entry(4) = MakeOptimalCutEntry(beyond);
    const std::filesystem::path file = "Markets/M/Optmcuts";
    EXPECT_EQ(StoredOptimalCuts(table, file, 3, *tree), fits);
    EXPECT_TRUE(StoredOptimalCuts(table, file, 5, *tree).empty());
    EXPECT_FILE_ERROR((void)StoredOptimalCuts(table, file, 4, *tree), file,
                      "the optimal pattern of tree 4 ends at 404 inches, beyond the top of the "
                      "stem (400 inches)");
}

} // namespace
} // namespace varnok
