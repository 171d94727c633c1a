#include "optimiser/Optimiser.h"
#include "EngineFixtures.h"
#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "optimiser/SpanValues.h"
#include "support/DataFolder.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <string>

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

// The programme at its plainest: every span valued in full first, then pushed forward from
// ascending starts, waste before spans, keeping the first predecessor to reach the greatest
// stored total.
OptimalPattern PushedOptimum(const Tree& tree, const Market& market) {
    LogEvaluator evaluator(tree, market);
    const GridSpanValues spans(evaluator);
    const int usable = spans.UsableLength();
    std::vector<float> best(static_cast<std::size_t>(usable) + 1, 0.0F);
    std::vector<int> predecessor(best.size(), 0);
    const auto at = [](int x) { return static_cast<std::size_t>(x); };
    for (int i = 0; i <= usable; i += kCutStep) {
        for (int j = i + kCutStep; j <= std::min(usable, i + spans.LongestLength());
             j += kCutStep) {
            if (best[at(i)] > best[at(j)]) {
                best[at(j)] = best[at(i)];
                predecessor[at(j)] = i;
            }
        }
        for (int k = 0; k < kLengthCount; ++k) {
            const int j = i + spans.Lengths()[at(k)];
            if (j > usable) {
                break;
            }
            const double total =
                static_cast<double>(best[at(i)]) + static_cast<double>(spans.Value(i, k));
            if (total > static_cast<double>(best[at(j)])) {
                best[at(j)] = static_cast<float>(total);
                predecessor[at(j)] = i;
            }
        }
    }
    OptimalPattern pattern;
    pattern.UsableLength = usable;
    pattern.TotalValue = best[at(usable)];
    for (int p = usable; usable > 0 && p != 0; p = predecessor[at(p)]) {
        pattern.Cuts.push_back(p);
    }
    if (usable > 0) {
        pattern.Cuts.push_back(0);
    }
    std::reverse(pattern.Cuts.begin(), pattern.Cuts.end());
    return pattern;
}

// The optimiser skips grades that could not change its choice; it must still make the choice,
// and reach the total, of the plain programme, bit for bit.
TEST(Optimiser, ChoosesAsThePlainProgrammeOnBundledTrees) {
    const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
    for (const char* name :
         {"Appalachian Doyle", "Lake States Scribner", "Northern International"}) {
        const Market market = LoadMarket(data, name);
        for (int number = 1; number <= 150; ++number) {
            const std::unique_ptr<Tree> tree = LoadTree(data, number, market.Filter);
            const OptimalPattern plain = PushedOptimum(*tree, market);
            const OptimalPattern found = Optimiser(*tree, market).OptimiseTree();
            const std::string which = std::string(name) + " tree " + std::to_string(number);
            EXPECT_EQ(found.Cuts, plain.Cuts) << which;
            EXPECT_EQ(std::bit_cast<std::uint32_t>(found.TotalValue),
                      std::bit_cast<std::uint32_t>(plain.TotalValue))
                << which;
        }
    }
}

} // namespace
} // namespace varnok
