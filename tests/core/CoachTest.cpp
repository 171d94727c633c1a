#include "coach/Coach.h"
#include "TestSupport.h"
#include "coach/ComparisonCoaching.h"
#include "coach/CostStrip.h"
#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "optimiser/Optimiser.h"
#include "support/DataFolder.h"
#include "support/Errors.h"
#include "support/Numbers.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace varnok {
namespace {

struct Loaded {
    Market TheMarket;
    std::unique_ptr<Tree> TheTree;
};

Loaded Load(const std::filesystem::path& folder, const std::string& market, int tree) {
    const DataFolder data(folder);
    Market loaded = LoadMarket(data, market);
    std::unique_ptr<Tree> stem = LoadTree(data, tree, loaded.Filter);
    return Loaded{std::move(loaded), std::move(stem)};
}

std::filesystem::path Bundled() {
    return VARNOK_BUNDLED_DATA_DIR;
}

struct Case {
    std::filesystem::path Folder;
    std::string Market;
    int Tree = 0;
};

std::vector<Case> SomeTrees() {
    std::vector<Case> cases = {{test::GoldenData(), "Hardwood8", 1},
                               {test::GoldenData(), "Hardwood8", 4},
                               {test::GoldenData(), "Hardwood8", 6}};
    for (const char* market :
         {"Appalachian Doyle", "Lake States Scribner", "Northern International"}) {
        for (const int tree : {3, 12, 57, 84, 121, 149}) {
            cases.push_back({Bundled(), market, tree});
        }
    }
    return cases;
}

std::string Name(const Case& c) {
    return c.Market + " tree " + std::to_string(c.Tree);
}

// The optimal cuts as a bucker's pattern: they end at the usable length, the bucker's at the
// stem length.
std::vector<int> AsBuckerCuts(const OptimalPattern& optimal, int stemLength) {
    std::vector<int> cuts = optimal.Cuts;
    if (cuts.empty()) {
        cuts.push_back(0);
    }
    if (cuts.back() != stemLength) {
        cuts.push_back(stemLength);
    }
    return cuts;
}

std::vector<int> With(std::vector<int> cuts, int position) {
    cuts.insert(std::upper_bound(cuts.begin(), cuts.end(), position), position);
    return cuts;
}

std::vector<int> Without(std::vector<int> cuts, std::size_t index) {
    cuts.erase(cuts.begin() + static_cast<std::ptrdiff_t>(index));
    return cuts;
}

TEST(Coach, OptimalCutsLoseNothingAndCostNothing) {
    for (const Case& c : SomeTrees()) {
        const Loaded loaded = Load(c.Folder, c.Market, c.Tree);
        const OptimalPattern optimal = Optimiser(*loaded.TheTree, loaded.TheMarket).OptimiseTree();
        Coach coach(*loaded.TheTree, loaded.TheMarket);
        const int stem = coach.StemLength();
        EXPECT_EQ(coach.UsableLength(), optimal.UsableLength) << Name(c);
        EXPECT_NEAR(coach.OptimalValue(), optimal.TotalValue, 1e-3) << Name(c);

        const std::vector<int> buttAndTop = {0, stem};
        const Completion alone = coach.BestCompletion(buttAndTop);
        EXPECT_EQ(alone.BestValue, coach.OptimalValue()) << Name(c);
        EXPECT_EQ(alone.BestCuts, AsBuckerCuts(optimal, stem)) << Name(c);
        EXPECT_EQ(coach.Loss(buttAndTop), 0.0) << Name(c);

        const std::vector<int> cuts = AsBuckerCuts(optimal, stem);
        EXPECT_EQ(coach.Loss(cuts), 0.0) << Name(c);
        const Completion kept = coach.BestCompletion(cuts);
        EXPECT_EQ(kept.BestCuts, cuts) << Name(c);
        const std::vector<CutCost> costs = coach.CutCosts(cuts);
        ASSERT_EQ(costs.size(), cuts.size() - 2) << Name(c);
        for (std::size_t k = 0; k < costs.size(); ++k) {
            EXPECT_EQ(costs[k].Position, cuts[k + 1]);
            EXPECT_EQ(costs[k].Cost, 0.0) << Name(c) << " cut " << costs[k].Position;
        }
    }
}

// Random patterns on the grid from the butt, as the game places cuts: removing a cut never
// lowers the best value, adding one never raises it, and the costs and the value with one more
// cut are those differences.
TEST(Coach, MoreCutsNeverHelpAndCostsAreTheDifferences) {
    std::mt19937 random(20261208);
    for (const Case& c : SomeTrees()) {
        const Loaded loaded = Load(c.Folder, c.Market, c.Tree);
        Coach coach(*loaded.TheTree, loaded.TheMarket);
        const int stem = coach.StemLength();
        std::uniform_int_distribution<int> grid(1, (stem - 1) / kCutStep);
        for (int pattern = 0; pattern < 6; ++pattern) {
            std::vector<int> cuts = {0, stem};
            const int inner = std::uniform_int_distribution<int>(0, 25)(random);
            for (int k = 0; k < inner; ++k) {
                const int p = grid(random) * kCutStep;
                if (std::find(cuts.begin(), cuts.end(), p) == cuts.end()) {
                    cuts = With(cuts, p);
                }
            }
            const double best = coach.BestCompletion(cuts).BestValue;
            EXPECT_LE(best, coach.OptimalValue() + 1e-9) << Name(c);
            EXPECT_NEAR(coach.Loss(cuts), coach.OptimalValue() - best, 1e-9);
            const std::vector<CutCost> costs = coach.CutCosts(cuts);
            for (std::size_t k = 1; k + 1 < cuts.size(); ++k) {
                const double without = coach.BestCompletion(Without(cuts, k)).BestValue;
                EXPECT_GE(without, best) << Name(c) << " removing " << cuts[k];
                EXPECT_NEAR(costs[k - 1].Cost, without - best, 1e-9);
            }
            const int p = grid(random) * kCutStep;
            if (cuts.size() < kMaxCoachCuts &&
                std::find(cuts.begin(), cuts.end(), p) == cuts.end()) {
                const double more = coach.ValueWithCutAt(cuts, p);
                EXPECT_LE(more, best) << Name(c) << " adding " << p;
                EXPECT_NEAR(more, coach.BestCompletion(With(cuts, p)).BestValue, 1e-9);
            }
        }
    }
}

// The value of a gap by trying every chain of logs in it: a log of an allowed length starts on
// the gap's grid and ends within the gap, everything between logs is waste worth 0.
double BruteForceGap(const std::function<float(int, int)>& span, const LogLengthSet& lengths,
                     int start, int end) {
    double best = 0.0;
    for (int from = start; from < end; from += kCutStep) {
        for (const int length : lengths.Lengths) {
            if (from + length <= end) {
                best = std::max(best, static_cast<double>(span(from, from + length)) +
                                          BruteForceGap(span, lengths, from + length, end));
            }
        }
    }
    return best;
}

TEST(Coach, EveryGapIsWorthWhatTryingEveryChainGives) {
    const Loaded loaded = Load(test::GoldenData(), "Hardwood8", 6);
    Optimiser optimiser(*loaded.TheTree, loaded.TheMarket);
    std::map<std::pair<int, int>, float> values;
    const auto span = [&](int i, int j) {
        const auto found = values.find({i, j});
        if (found != values.end()) {
            return found->second;
        }
        return values[{i, j}] = optimiser.SpanValue(i, j);
    };
    Coach coach(*loaded.TheTree, loaded.TheMarket);
    const int stem = coach.StemLength();
    const int usable = coach.UsableLength();
    // On the grid from the butt, off it (the gaps above 101, 203 and 330 have grids of their
    // own), gaps shorter than a log, and the top gap that ends at the usable length.
    const std::vector<std::vector<int>> patterns = {
        {0, 200, 420, stem},
        {0, 101, 203, 330, stem},
        {0, 50, 150, 250, 350, 450, stem},
        {0, 7, 309, stem - 1, stem},
        {0, 96, 97, 98, 99, 400, stem},
    };
    for (const std::vector<int>& cuts : patterns) {
        const Completion completion = coach.BestCompletion(cuts);
        ASSERT_EQ(completion.Gaps.size(), cuts.size() - 1);
        double total = 0.0;
        for (const CoachedGap& gap : completion.Gaps) {
            const int end = gap.End == stem ? usable : gap.End;
            const double expected =
                end > gap.Start ? BruteForceGap(span, loaded.TheMarket.Lengths(), gap.Start, end)
                                : 0.0;
            EXPECT_NEAR(gap.BestValue, expected, 1e-6) << gap.Start << " to " << gap.End;
            // The added cuts are on the gap's grid, and its pieces are worth the gap's value.
            std::vector<int> pieces = {gap.Start};
            pieces.insert(pieces.end(), gap.AddedCuts.begin(), gap.AddedCuts.end());
            pieces.push_back(std::max(gap.Start, end));
            double sum = 0.0;
            for (std::size_t k = 0; k + 1 < pieces.size(); ++k) {
                EXPECT_LT(pieces[k], pieces[k + 1]);
                if (k > 0) {
                    EXPECT_EQ((pieces[k] - gap.Start) % kCutStep, 0) << pieces[k];
                }
                sum += static_cast<double>(span(pieces[k], pieces[k + 1]));
            }
            EXPECT_NEAR(sum, gap.BestValue, 1e-6) << gap.Start << " to " << gap.End;
            total += gap.BestValue;
        }
        EXPECT_NEAR(completion.BestValue, total, 1e-9);
    }
}

// A cut off the grid from the butt ends the gap below with waste (no allowed length reaches it
// from that grid), and removing it can lower the value: the gap merged from its neighbours
// has the grid of the lower one, where the log that started at the cut no longer fits. Its
// cost then shows as 0, not as a gain.
TEST(Coach, CutsOffTheGridAreValuedExactly) {
    const Loaded loaded = Load(test::GoldenData(), "Hardwood8", 1);
    Coach coach(*loaded.TheTree, loaded.TheMarket);
    const int stem = coach.StemLength();
    struct Row {
        int Off;    // a cut off the grid
        int OnGrid; // the grid point just below it
    };
    for (const Row row : {Row{101, 100}, Row{102, 100}, Row{207, 204}, Row{333, 332}}) {
        const Completion off = coach.BestCompletion(std::vector<int>{0, row.Off, stem});
        const Completion on = coach.BestCompletion(std::vector<int>{0, row.OnGrid, stem});
        EXPECT_EQ(off.Gaps[0].BestValue, on.Gaps[0].BestValue) << row.Off;
        for (const int cut : off.Gaps[1].AddedCuts) {
            EXPECT_EQ((cut - row.Off) % kCutStep, 0) << row.Off;
        }
    }
    // 104 to 208 is a 8 ft 8 in log; starting one inch higher it is a log of the gap above 105.
    const std::vector<int> cuts = {0, 105, 209, stem};
    const Completion completion = coach.BestCompletion(cuts);
    const std::vector<CutCost> costs = coach.CutCosts(cuts);
    ASSERT_EQ(costs.size(), 2U);
    for (std::size_t k = 1; k + 1 < cuts.size(); ++k) {
        const double without = coach.BestCompletion(Without(cuts, k)).BestValue;
        EXPECT_EQ(costs[k - 1].Cost, std::max(0.0, without - completion.BestValue));
    }
    EXPECT_GE(coach.Loss(cuts), 0.0);
}

TEST(Coach, ValueWithOneMoreCut) {
    const Loaded loaded = Load(Bundled(), "Appalachian Doyle", 12);
    Coach coach(*loaded.TheTree, loaded.TheMarket);
    const int stem = coach.StemLength();
    const std::vector<int> cuts = {0, 200, 400, 600, 800, 1000, stem};
    const double best = coach.BestCompletion(cuts).BestValue;
    for (const int at : {0, 200, stem}) {
        EXPECT_EQ(coach.ValueWithCutAt(cuts, at), best) << at;
    }
    for (const int at : {4, 104, 301, 999, stem - 4, stem - 1}) {
        EXPECT_NEAR(coach.ValueWithCutAt(cuts, at), coach.BestCompletion(With(cuts, at)).BestValue,
                    1e-9)
            << at;
    }
}

TEST(Coach, BadPatternsAreRefused) {
    const Loaded loaded = Load(test::GoldenData(), "Hardwood8", 4);
    Coach coach(*loaded.TheTree, loaded.TheMarket);
    const int stem = coach.StemLength();
    std::vector<int> tooMany = {0};
    for (int k = 1; k <= 26; ++k) {
        tooMany.push_back(k * 20);
    }
    tooMany.push_back(stem);
    const std::vector<std::vector<int>> bad = {
        {},
        {0},
        {4, stem},
        {0, stem - 1},
        {0, stem + 1},
        {0, 300, 200, stem},
        {0, 200, 200, stem},
        {0, -4, stem},
        tooMany,
    };
    for (const std::vector<int>& cuts : bad) {
        EXPECT_THROW(coach.BestCompletion(cuts), VarnokError) << cuts.size();
        EXPECT_THROW(coach.CutCosts(cuts), VarnokError) << cuts.size();
        EXPECT_THROW(coach.Loss(cuts), VarnokError) << cuts.size();
    }
    tooMany.pop_back();
    tooMany.back() = stem; // 27 positions are still a pattern
    EXPECT_NO_THROW(coach.BestCompletion(tooMany));
    const std::vector<int> good = {0, 200, stem};
    EXPECT_THROW(coach.ValueWithCutAt(good, -1), VarnokError);
    EXPECT_THROW(coach.ValueWithCutAt(good, stem + 1), VarnokError);
}

// The strip is ValueWithCutAt at every grid position, computed in two sweeps per gap: equal to
// the last bit, on patterns on the grid, off it, with gaps shorter than a log and at the top.
TEST(CostStrip, IsTheValueWithOneMoreCutAtEveryGridPosition) {
    std::vector<Case> cases = {{test::GoldenData(), "Hardwood8", 1},
                               {test::GoldenData(), "Hardwood8", 6},
                               {Bundled(), "Appalachian Doyle", 12},
                               {Bundled(), "Northern International", 84}};
    for (const Case& c : cases) {
        const Loaded loaded = Load(c.Folder, c.Market, c.Tree);
        Coach coach(*loaded.TheTree, loaded.TheMarket);
        const int stem = coach.StemLength();
        const OptimalPattern optimal = Optimiser(*loaded.TheTree, loaded.TheMarket).OptimiseTree();
        const std::vector<std::vector<int>> patterns = {
            {0, stem},
            AsBuckerCuts(optimal, stem),
            {0, 200, 420, stem},
            {0, 101, 203, 330, stem},
            {0, 7, 309, stem - 1, stem},
            {0, 96, 97, 98, 99, 400, stem},
            {0, 4, 8, stem - 4, stem},
        };
        for (const std::vector<int>& cuts : patterns) {
            const CostStrip strip = BuildCostStrip(coach, cuts);
            ASSERT_EQ(strip.Values.size(), static_cast<std::size_t>((stem - 1) / kCutStep));
            ASSERT_EQ(strip.Losses.size(), strip.Values.size());
            EXPECT_EQ(strip.BestValue, coach.BestCompletion(cuts).BestValue) << Name(c);
            EXPECT_EQ(strip.OptimalValue, coach.OptimalValue());
            EXPECT_EQ(strip.LossSoFar(), coach.Loss(cuts)) << Name(c);
            double most = 0.0;
            for (std::size_t i = 0; i < strip.Values.size(); ++i) {
                const int at = static_cast<int>(i + 1) * kCutStep;
                ASSERT_EQ(strip.Values[i], coach.ValueWithCutAt(cuts, at))
                    << Name(c) << " at " << at << " of " << cuts.size() << " cuts";
                // A cut on the butt's grid above a cut off it can gain (the logs above it move
                // onto another grid): that shows as costing nothing.
                EXPECT_EQ(strip.Losses[i], std::max(0.0, strip.BestValue - strip.Values[i])) << at;
                if (std::binary_search(cuts.begin(), cuts.end(), at)) {
                    EXPECT_EQ(strip.Losses[i], 0.0) << Name(c) << " at a cut " << at;
                }
                most = std::max(most, strip.Losses[i]);
            }
            EXPECT_EQ(strip.MaxLoss, most);
        }
        // Butt and top alone: a cut where the optimum cuts costs nothing, elsewhere cuts do.
        const std::vector<int> buttAndTop = {0, stem};
        const CostStrip strip = BuildCostStrip(coach, buttAndTop);
        for (const int cut : optimal.Cuts) {
            if (cut > 0 && cut < stem) {
                ASSERT_TRUE(strip.IndexOf(cut).has_value()) << cut;
                EXPECT_EQ(strip.Losses[*strip.IndexOf(cut)], 0.0) << Name(c) << " at " << cut;
            }
        }
        EXPECT_GT(strip.MaxLoss, 0.0) << Name(c);
    }
}

TEST(CostStrip, ColoursLegendAndTexts) {
    struct Shade {
        double loss, most;
        Rgb colour;
    };
    // Green for nothing, yellow half way, red for the most; beyond the most stays red.
    const Shade shades[] = {{0.0, 10.0, {0, 176, 0}},   {10.0, 10.0, {224, 0, 0}},
                            {5.0, 10.0, {240, 208, 0}}, {2.5, 10.0, {120, 192, 0}},
                            {7.5, 10.0, {232, 104, 0}}, {20.0, 10.0, {224, 0, 0}},
                            {3.0, 0.0, {0, 176, 0}},    {-1.0, 10.0, {0, 176, 0}}};
    for (const Shade& s : shades) {
        EXPECT_EQ(CostColour(s.loss, s.most), s.colour) << s.loss << " of " << s.most;
    }

    CostStrip strip;
    strip.BestValue = 812.5;
    strip.OptimalValue = 950.0;
    strip.Values = {812.5, 700.25, 0.0};
    strip.Losses = {0.0, 112.25, 812.5};
    strip.MaxLoss = 812.5;
    const CostLegend legend = MakeCostLegend(strip, 5);
    EXPECT_EQ(legend.Low, "nothing");
    EXPECT_EQ(legend.High, "$812.50, the most");
    ASSERT_EQ(legend.Ramp.size(), 5U);
    EXPECT_EQ(legend.Ramp.front(), CostColour(0.0, 1.0));
    EXPECT_EQ(legend.Ramp[2], CostColour(0.5, 1.0));
    EXPECT_EQ(legend.Ramp.back(), CostColour(1.0, 1.0));

    struct Line {
        int inches;
        const char* cutHere;
    };
    for (const Line& line :
         {Line{4, "A cut here: $812.50 best"}, Line{8, "A cut here: $700.25 best"},
          Line{12, "A cut here: $0.00 best"}, Line{16, "A cut here: -"}, Line{6, "A cut here: -"},
          Line{0, "A cut here: -"}, Line{-4, "A cut here: -"}}) {
        const CoachReadOut readOut = MakeCoachReadOut(strip, line.inches);
        EXPECT_EQ(readOut.CutHere, line.cutHere) << line.inches;
        EXPECT_EQ(readOut.BestNow, "Best now: $812.50 of $950.00");
    }
    EXPECT_EQ(CoachStatusLine(strip), "Best still reachable with these cuts: $812.50    Lost so "
                                      "far: $137.50 of the optimum $950.00");

    StemView view;
    view.ButtX = 100;
    const std::vector<StripCell> cells = CostStripCells(strip, view);
    ASSERT_EQ(cells.size(), 3U);
    EXPECT_EQ(cells[0].Left, 102);
    EXPECT_EQ(cells[0].Right, 106);
    EXPECT_EQ(cells[2].Left, 110);
    EXPECT_EQ(cells[2].Colour, CostColour(812.5, 812.5));
}

} // namespace
TEST(Coach, TheCostliestIsTheFirstOfTheGreatestAboveZero) {
    struct Row {
        std::vector<double> Costs;
        std::optional<std::size_t> Costliest;
    };
    const Row rows[] = {
        {{}, std::nullopt},
        {{0.0, 0.0}, std::nullopt},
        {{5.0}, 0},
        {{1.0, 3.0, 3.0}, 1},
        {{2.0, 0.0}, 0},
        {{0.0, 0.01}, 1},
        {{4.0, 2.0, 4.5, 4.5}, 2},
    };
    for (const Row& row : rows) {
        std::vector<CutCost> costs;
        for (const double cost : row.Costs) {
            costs.push_back({static_cast<int>(costs.size() + 1) * 100, cost});
        }
        EXPECT_EQ(CostliestCut(costs), row.Costliest) << row.Costs.size();
    }
}

// The amount after the sign of a cost label: "−$8.63" is 8.63, "$0.00" is 0.
double LabelAmount(const std::string& text) {
    const std::string minus = "\xE2\x88\x92$";
    if (text.starts_with(minus)) {
        return std::stod(text.substr(minus.size()));
    }
    EXPECT_TRUE(text == "$0.00") << text;
    return 0.0;
}

// The bucker's picture carries the coach's own figures: every inner cut's cost at the cut's x,
// the costliest one marked, and the best completion's added cuts.
TEST(ComparisonCoaching, CostLabelsAreTheCoachsCutCosts) {
    constexpr int buttX = 37;
    struct Row {
        int Tree;
        std::vector<int> Inner; // the bucker's inner cuts; the stem's top is added
        bool Optimal;           // the optimiser's own cuts instead
    };
    const Row rows[] = {
        {12, {}, false},                                  // butt and top alone
        {12, {}, true},                                   // nothing to gain anywhere
        {12, {104, 208, 312, 416, 520, 624, 728}, false}, // 8 ft logs
        {57, {4, 200, 204, 500}, false},                  // a cut 4 inches above the butt
        {84, {121, 333, 601}, false},                     // cuts off the grid
        {1, {104, 208, 408, 536}, false}, // 1026 in.: the completion ends at 1024, not cut
    };
    for (const Row& row : rows) {
        const Loaded loaded = Load(Bundled(), "Appalachian Doyle", row.Tree);
        const Tree& tree = *loaded.TheTree;
        Coach coach(tree, loaded.TheMarket);
        std::vector<int> cuts = {0};
        if (row.Optimal) {
            cuts = AsBuckerCuts(Optimiser(tree, loaded.TheMarket).OptimiseTree(),
                                tree.Stem.StemLength);
        } else {
            cuts.insert(cuts.end(), row.Inner.begin(), row.Inner.end());
            cuts.push_back(tree.Stem.StemLength);
        }
        const std::string what =
            "tree " + std::to_string(row.Tree) + ", " + std::to_string(cuts.size()) + " cuts";
        const ComparisonCoaching coaching = CoachComparison(coach, cuts, buttX);
        const std::vector<CutCost> costs = coach.CutCosts(cuts);
        ASSERT_EQ(coaching.CutCosts.size(), costs.size()) << what;
        double greatest = 0.0;
        int marked = 0;
        for (std::size_t k = 0; k < costs.size(); ++k) {
            const CutCostLabel& label = coaching.CutCosts[k];
            EXPECT_EQ(label.Position, cuts[k + 1]) << what;
            EXPECT_EQ(label.X, buttX + cuts[k + 1]) << what;
            EXPECT_EQ(label.Cost, costs[k].Cost) << what;
            EXPECT_NEAR(LabelAmount(label.Text), label.Cost, 0.005 + 1e-9) << what << label.Text;
            greatest = std::max(greatest, label.Cost);
            marked += label.Costliest ? 1 : 0;
        }
        EXPECT_EQ(marked, greatest > 0.0 ? 1 : 0) << what;
        for (const CutCostLabel& label : coaching.CutCosts) {
            if (marked == 0) {
                break;
            }
            if (label.Costliest) {
                EXPECT_EQ(label.Cost, greatest) << what;
                break;
            }
            EXPECT_LT(label.Cost, greatest) << what << ": an earlier cut costs as much";
        }
        if (row.Optimal) {
            EXPECT_EQ(marked, 0) << what;
            EXPECT_TRUE(coaching.AddedCuts.empty()) << what;
        }
        EXPECT_EQ(coaching.Legend.find("red") != std::string::npos, marked == 1) << what;
        EXPECT_EQ(coaching.Legend.find("Dashed") != std::string::npos, !coaching.AddedCuts.empty())
            << what;

        // The bucker's cuts and the added ones make the best completion.
        std::vector<int> completed = cuts;
        ASSERT_EQ(coaching.AddedCutPixels.size(), coaching.AddedCuts.size()) << what;
        for (std::size_t k = 0; k < coaching.AddedCuts.size(); ++k) {
            EXPECT_EQ(coaching.AddedCutPixels[k], buttX + coaching.AddedCuts[k]) << what;
            EXPECT_FALSE(std::binary_search(cuts.begin(), cuts.end(), coaching.AddedCuts[k]));
            completed.push_back(coaching.AddedCuts[k]);
        }
        std::sort(completed.begin(), completed.end());
        std::vector<int> best = coach.BestCompletion(cuts).BestCuts;
        if (coach.UsableLength() != coach.StemLength()) {
            std::erase(best, coach.UsableLength()); // the stub above it is waste either way
        }
        EXPECT_EQ(completed, best) << what;
    }
}

TEST(ComparisonCoaching, APictureXFallsInOnePiece) {
    const std::vector<int> cuts = {0, 100, 200, 301};
    struct Row {
        double X;
        int Piece;
    };
    // The butt is drawn at x 10: a piece runs from its lower cut up to its upper one, which
    // belongs to the piece above, but for the top, which closes the last piece.
    const Row rows[] = {{9.99, 0},  {10.0, 1},  {60.0, 1},   {109.99, 1}, {110.0, 2}, {209.5, 2},
                        {210.0, 3}, {311.0, 3}, {311.01, 0}, {-400.0, 0}, {5000.0, 0}};
    for (const Row& row : rows) {
        EXPECT_EQ(PieceAtX(cuts, 10, row.X), row.Piece) << row.X;
    }
    EXPECT_EQ(PieceAtX(std::vector<int>{0}, 10, 10.0), 0);
    EXPECT_EQ(PieceAtX(std::vector<int>{}, 10, 10.0), 0);
}

// The heading names whose log it is, where it lies and what it sold as; the lines are its
// reasons, which a pattern compared without them lacks.
TEST(ComparisonCoaching, WhyThisGradeNamesThePiece) {
    const Loaded loaded = Load(Bundled(), "Appalachian Doyle", 12);
    const Tree& tree = *loaded.TheTree;
    const std::vector<int> cuts = {0, 200, 260, tree.Stem.StemLength};
    const PatternEvaluation evaluation =
        EvaluatePattern(tree, loaded.TheMarket, cuts, GradeReasons::Record);
    const GradeExplanationText first = ExplainPiece(Solution::Bucker, evaluation.Pieces[0]);
    EXPECT_EQ(first.Heading, "Bucker's log 1, 0 to 200 in.: " + evaluation.Pieces[0].LabelLines[0]);
    EXPECT_EQ(first.Lines.size(), evaluation.Pieces[0].Reasons.size());
    EXPECT_GE(first.Lines.size(), 2U);
    const GradeExplanationText shortPiece = ExplainPiece(Solution::Optimal, evaluation.Pieces[1]);
    EXPECT_EQ(shortPiece.Heading, "Optimal log 2, 200 to 260 in.: too short to grade, Cull");
    ASSERT_EQ(shortPiece.Lines.size(), 1U);
    EXPECT_TRUE(shortPiece.Lines[0].starts_with("passed  Cull  value: not graded"))
        << shortPiece.Lines[0];
    const PatternEvaluation plain = EvaluatePattern(tree, loaded.TheMarket, cuts);
    EXPECT_TRUE(ExplainPiece(Solution::Bucker, plain.Pieces[0]).Lines.empty());
}

} // namespace varnok
