#include "optimiser/Optimiser.h"
#include "EngineFixtures.h"
#include "game/PatternEvaluation.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

using test::StraightTree;
using test::TestMarket;

std::unique_ptr<Market> SawlogMarket(int trim) {
    auto market = TestMarket(trim);
    test::SetSawlogGrades(*market, 1, 2, 0.5F, 99);
    test::SetPrice(*market, 4, 100);
    return market;
}

TEST(Optimiser, StemLengthRoundsDownToFourInches) {
    auto market = SawlogMarket(4);
    auto tree = StraightTree(101, 20, 19);
    const OptimalPattern p = Optimiser(*tree, *market).OptimiseTree();
    EXPECT_EQ(p.UsableLength, 100);
    EXPECT_EQ(p.Cuts, (std::vector<int>{0, 100}));
    EXPECT_GT(p.TotalValue, 0.0F);
}

TEST(Optimiser, WorthlessStemIsOneLogEvenLongerThanSixteenFeet) {
    auto market = TestMarket(8); // nothing is priced
    auto tree = StraightTree(501, 20, 14);
    const OptimalPattern p = Optimiser(*tree, *market).OptimiseTree();
    EXPECT_EQ(p.Cuts, (std::vector<int>{0, 500}));
    EXPECT_EQ(p.TotalValue, 0.0F);
}

TEST(Optimiser, EqualTotalsKeepTheSmallerPredecessor) {
    // On a uniform stem a 16 ft log is worth exactly two 8 ft logs. 208 inches are reached
    // first from 8 (a 16 ft log after an 8-inch stub) and then from 104 with the same total,
    // which is not strictly greater.
    auto market = SawlogMarket(8);
    auto tree = StraightTree(208, 20, 20);
    Optimiser optimiser(*tree, *market);
    EXPECT_EQ(optimiser.SpanValue(8, 208), 2 * optimiser.SpanValue(0, 104));
    const OptimalPattern p = optimiser.OptimiseTree();
    EXPECT_EQ(p.Cuts, (std::vector<int>{0, 8, 208}));
    EXPECT_FLOAT_EQ(p.TotalValue, 25.6F);
    EXPECT_EQ(optimiser.SpanValue(0, 108), 0.0F); // not an allowed length
}

TEST(Optimiser, WorthlessStretchBecomesWasteBetweenLogs) {
    auto market = SawlogMarket(8);
    auto tree = StraightTree(720, 24, 16);
    test::AddSpan(*tree, DefectKind::Fork, 250, 420);
    test::Map(*tree);
    const OptimalPattern p = Optimiser(*tree, *market).OptimiseTree();
    ASSERT_GE(p.Cuts.size(), 3U);
    EXPECT_EQ(p.Cuts.front(), 0);
    EXPECT_EQ(p.Cuts.back(), 720);
    const PatternEvaluation e = EvaluatePattern(*tree, *market, p.Cuts);
    double total = 0.0;
    bool wasteInTheFork = false;
    for (const EvaluatedPiece& piece : e.Pieces) {
        const int length = piece.Log.Segment.LengthInches;
        EXPECT_EQ(length % 4, 0);
        EXPECT_LE(length, 200);
        if (piece.Log.Segment.ProductClass != kCullProduct) {
            EXPECT_TRUE(market->Lengths().Contains(length)) << length;
            total += piece.Log.Segment.Value;
        } else if (piece.Log.Segment.StartPosition < 420 && piece.Log.Segment.EndPosition > 250) {
            wasteInTheFork = true;
        }
    }
    EXPECT_TRUE(wasteInTheFork);
    EXPECT_NEAR(total, p.TotalValue, 1e-3);
}

TEST(Optimiser, ShortStemHasNoCuts) {
    auto market = SawlogMarket(8);
    auto tree = StraightTree(3, 20, 20);
    const OptimalPattern p = Optimiser(*tree, *market).OptimiseTree();
    EXPECT_EQ(p.UsableLength, 0);
    EXPECT_TRUE(p.Cuts.empty());
}

} // namespace
} // namespace varnok
