#include "game/Comparison.h"
#include "EngineFixtures.h"
#include "TestSupport.h"
#include "game/ComparisonLayout.h"
#include "market/OptimalCuts.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace varnok {
namespace {

using test::StraightTree;
using test::TestMarket;

// Clear stems sell as "Prime Veneer" at $1000 a thousand board feet; with `eightFeetVeneer`
// false an 8-foot log has no outlet and is charged as cull at $1 a cubic foot.
std::unique_ptr<Market> VeneerMarket(bool eightFeetVeneer = true,
                                     const std::string& name = "Prime Veneer") {
    auto market = TestMarket(8);
    VeneerGradeRules prime = test::OpenVeneerGrade(1, 8);
    prime.GradeNames[0] = name;
    prime.LengthAccepted[0] = eightFeetVeneer ? 1 : 0;
    test::SetVeneerGrade(*market, 1, prime);
    test::SetPrice(*market, 1, 1000);
    test::SetPrice(*market, 10, 140);
    return market;
}

TEST(Comparison, ReturnsLineIsRightAlignedInFiveCharacters) {
    struct Case {
        Solution solution;
        double returns;
        const char* line;
    };
    const Case cases[] = {
        {Solution::Optimal, 12.5, "Optimal Solution Returns $12.50"},
        {Solution::Bucker, 7.25, "Bucker Solution Returns $ 7.25"},
        {Solution::Optimal, 0.0, "Optimal Solution Returns $ 0.00"},
        {Solution::Bucker, 123.456, "Bucker Solution Returns $123.46"},
        {Solution::Optimal, 1234.5, "Optimal Solution Returns $1234.50"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReturnsLine(c.solution, c.returns), c.line) << c.returns;
    }
}

TEST(Comparison, LabelsSitUnderTheMiddleOfEachGradedLog) {
    auto market = VeneerMarket();
    auto tree = StraightTree(400, 24, 24);
    struct Case {
        std::vector<int> cuts;
        int buttX;
        std::vector<int> indices;
        std::vector<int> xs;
    };
    const Case cases[] = {
        // The whole stem is one log: measured back from the top.
        {{0, 400}, 100, {1}, {300}},
        // 107 inches: half is 53.5, to the even 54, taken from the upper end (107 - 54 = 53);
        // 105 inches: 52.5 to 52, added to the lower end (107 + 52); 188 inches: 94.
        {{0, 107, 212, 400}, 100, {1, 2, 3}, {153, 259, 406}},
        {{0, 107, 212, 400}, -20, {1, 2, 3}, {33, 139, 286}},
        // A butt piece too short to grade has no label; the next log still counts from below.
        {{0, 50, 250, 400}, 10, {2, 3}, {160, 335}},
        // Nor have short top pieces (92 and 100 inches, under 8 ft plus 8).
        {{0, 104, 208, 300, 400}, 0, {1, 2}, {52, 156}},
    };
    for (const Case& c : cases) {
        const PatternResult r = ComparePattern(*tree, *market, Solution::Bucker, c.cuts, c.buttX);
        ASSERT_EQ(r.Labels.size(), c.indices.size()) << c.cuts.size();
        for (std::size_t i = 0; i < r.Labels.size(); ++i) {
            EXPECT_EQ(r.Labels[i].LogIndex, c.indices[i]) << c.cuts[1];
            EXPECT_EQ(r.Labels[i].X, c.xs[i]) << c.cuts[1] << " log " << c.indices[i];
        }
        EXPECT_EQ(r.Evaluation.Pieces.size(), c.cuts.size() - 1);
    }
}

TEST(Comparison, LabelWidthCountsTheCharactersOfTheLongestLine) {
    struct Case {
        std::string productName;
        std::vector<int> cuts;
        std::vector<int> widths;
    };
    const Case cases[] = {
        // "16' Prime Veneer" is 16 characters: 7 x 16 + 4.
        {"Prime Veneer", {0, 200}, {116}},
        // "8' Prime Veneer" (15), "14' Prime Veneer" (16).
        {"Prime Veneer", {0, 104, 280}, {109, 116}},
        // Two-byte letters count once: "16' Écorcé" is 10 characters in 12 bytes, one more
        // than "400.00 bf".
        {"\xC3\x89"
         "corc\xC3\xA9",
         {0, 200},
         {74}},
        {"V", {0, 104}, {67}}, // the volume line "200.00 bf" (9) is the longest
    };
    for (const Case& c : cases) {
        auto market = VeneerMarket(true, c.productName);
        auto tree = StraightTree(400, 24, 24);
        const PatternResult r = ComparePattern(*tree, *market, Solution::Optimal, c.cuts, 0);
        ASSERT_EQ(r.Labels.size(), c.widths.size()) << c.productName;
        for (std::size_t i = 0; i < r.Labels.size(); ++i) {
            EXPECT_EQ(r.Labels[i].MinimumWidth, c.widths[i]) << c.productName << " " << i;
            EXPECT_EQ(r.Labels[i].Lines, r.Evaluation.Pieces[i].LabelLines);
        }
    }
}

TEST(Comparison, ReturnsAndNetLines) {
    auto tree = StraightTree(400, 24, 24);
    // 24 inches clear: Doyle gives 400 board feet at 16 ft and 200 at 8 ft.
    {
        auto market = VeneerMarket();
        const std::vector<int> cuts = {0, 200, 304, 400};
        const PatternResult r = ComparePattern(*tree, *market, Solution::Optimal, cuts, 0);
        EXPECT_EQ(r.ReturnsLine, "Optimal Solution Returns $600.00");
        // The 96-inch top piece is not graded; with no nominal length it has no volume to
        // charge, so nothing is culled.
        EXPECT_FALSE(r.NetLine.has_value());
        EXPECT_EQ(r.NetLineMinimumWidth, 0);
    }
    {
        // The 8-foot log finds no outlet and is charged 3.14 x 8 = 25.12 cubic feet of cull.
        auto market = VeneerMarket(false);
        const std::vector<int> cuts = {0, 200, 304, 400};
        const PatternResult r = ComparePattern(*tree, *market, Solution::Bucker, cuts, 0);
        EXPECT_EQ(r.ReturnsLine, "Bucker Solution Returns $400.00");
        EXPECT_EQ(r.NetLine, "$400.00 - $25.12 (cull penalty) = $374.88");
        EXPECT_EQ(r.NetLineMinimumWidth, 6 * 41);
        // Both logs were graded, so both have labels; the culled one sells for nothing.
        ASSERT_EQ(r.Labels.size(), 2U);
        EXPECT_EQ(r.Labels[1].Lines[5], "$0.00");
    }
    {
        // Nothing but cull: the returns line shows zero and the net goes below it.
        auto market = VeneerMarket(false);
        const std::vector<int> cuts = {0, 104};
        const PatternResult r = ComparePattern(*tree, *market, Solution::Bucker, cuts, 0);
        EXPECT_EQ(r.ReturnsLine, "Bucker Solution Returns $ 0.00");
        EXPECT_EQ(r.NetLine, "$0.00 - $25.12 (cull penalty) = $-25.12");
    }
    {
        // A stem too short for any log: no label, no returns line.
        auto shortTree = StraightTree(90, 24, 24);
        auto market = VeneerMarket();
        const std::vector<int> cuts = {0, 90};
        const PatternResult r = ComparePattern(*shortTree, *market, Solution::Optimal, cuts, 0);
        EXPECT_TRUE(r.Labels.empty());
        EXPECT_FALSE(r.ReturnsLine.has_value());
        EXPECT_FALSE(r.NetLine.has_value());
    }
}

TEST(Comparison, EveryLogOfALongPatternHasALabel) {
    // 17 logs of 8 ft plus trim: more than the 15 boxes a picture was first drawn with.
    auto market = VeneerMarket();
    auto tree = StraightTree(17 * 104, 24, 24);
    std::vector<int> cuts;
    for (int k = 0; k <= 17; ++k) {
        cuts.push_back(104 * k);
    }
    const PatternResult r = ComparePattern(*tree, *market, Solution::Optimal, cuts, 40);
    ASSERT_EQ(r.Labels.size(), 17U);
    for (int k = 1; k <= 17; ++k) {
        const LogLabel& label = r.Labels[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(label.LogIndex, k);
        EXPECT_EQ(label.X, 40 + 104 * (k - 1) + 52);
    }
    // 17 logs of 200 board feet at $1000 a thousand.
    EXPECT_EQ(r.ReturnsLine, "Optimal Solution Returns $3400.00");
}

TEST(Comparison, RefusedPatternsThrow) {
    auto market = VeneerMarket();
    auto tree = StraightTree(400, 24, 24);
    const OptimalCutEntry neverComputed{};
    const std::vector<std::vector<int>> bad = {
        CutPositions(neverComputed), {0}, {0, 300, 200, 400}, {0, 500}};
    for (const std::vector<int>& cuts : bad) {
        EXPECT_THROW((void)ComparePattern(*tree, *market, Solution::Optimal, cuts, 0), VarnokError)
            << cuts.size();
    }
}

TEST(Comparison, TheStoredOptimumOrTheWordsWhyThereIsNone) {
    const test::TempFolder folder;
    const auto tree = StraightTree(400, 24, 24);
    OptimalCutsTable table;
    table.Entry(3) = MakeOptimalCutEntry(std::vector<int>{0, 200, 396});
    table.Entry(4) = MakeOptimalCutEntry(std::vector<int>{0, 200, 404}); // beyond the top
    const auto file = folder.Path() / "Optmcuts";
    WriteOptimalCuts(file, table);
    const auto shortFile = folder.Path() / "Short";
    test::WriteBytes(shortFile, std::vector<std::uint8_t>(100, 0));
    struct Case {
        std::filesystem::path path;
        int tree;
        std::vector<int> cuts;
        std::vector<std::string> words; // each found in the text of what is missing
    };
    const Case cases[] = {
        {file, 3, {0, 200, 396}, {}},
        {file, 5, {}, {"No optimal pattern is stored for this tree in this market."}},
        {file, 4, {}, {"optimal pattern stored for this tree cannot be used", "404", "tree 4"}},
        {folder.Path() / "Missing", 3, {}, {"patterns of this market cannot be read", "Missing"}},
        {shortFile, 3, {}, {"patterns of this market cannot be read", "Short"}},
    };
    for (const Case& c : cases) {
        const StoredOptimum optimum = ReadStoredOptimum(c.path, c.tree, *tree);
        EXPECT_EQ(optimum.Cuts, c.cuts) << c.path << " " << c.tree;
        EXPECT_EQ(optimum.Missing.empty(), c.words.empty()) << optimum.Missing;
        for (const std::string& word : c.words) {
            EXPECT_NE(optimum.Missing.find(word), std::string::npos) << optimum.Missing;
        }
    }
}

TEST(ComparisonLayout, LabelsKeepApartInRowsOrInASmallerFont) {
    const std::vector<LabelSize> wide(4, {100, 90});
    const std::vector<LabelSize> narrow(4, {40, 60});
    struct Case {
        const char* what;
        std::vector<double> centres;
        std::vector<std::vector<LabelSize>> fonts;
        std::size_t font;
        std::vector<int> lefts;
        std::vector<int> rows;
        int height;
    };
    const Case cases[] = {
        {"no label", {}, {wide}, 0, {}, {}, 0},
        {"far apart", {100, 400, 700}, {wide}, 0, {50, 350, 650}, {0, 0, 0}, 90},
        {"touching: the second row", {100, 190}, {wide}, 0, {50, 140}, {0, 1}, 184},
        {"exactly the gap apart", {100, 206}, {wide}, 0, {50, 156}, {0, 0}, 90},
        {"halves round to even", {100.5, 101.5}, {wide}, 0, {50, 52}, {0, 1}, 184},
        {"pushed inside both edges", {20, 990}, {wide}, 0, {0, 900}, {0, 0}, 90},
        {"a box wider than the picture", {500}, {{{1200, 90}}}, 0, {0}, {0}, 90},
        {"rows alternate", {100, 160, 220, 280}, {wide}, 0, {50, 110, 170, 230}, {0, 1, 0, 1}, 184},
        {"three in a heap: the smaller font",
         {100, 130, 160},
         {wide, narrow},
         1,
         {80, 110, 140},
         {0, 1, 0},
         124},
        {"too many even so: as many rows as needed",
         {300, 300, 300, 300},
         {wide, narrow},
         1,
         {280, 280, 280, 280},
         {0, 1, 2, 3},
         252},
        {"the highest box sets the rows",
         {100, 190},
         {{{100, 90}, {100, 120}}},
         0,
         {50, 140},
         {0, 1},
         244},
        // Placed from the left, whatever the order of the logs' middles.
        {"a wide box left of a narrow one",
         {300, 260},
         {{{300, 90}, {20, 90}}},
         0,
         {150, 250},
         {0, 1},
         184},
    };
    for (const Case& c : cases) {
        const LabelRows rows = LayOutLabels(c.centres, c.fonts, 1000, 6, 4, 2);
        EXPECT_EQ(rows.Font, c.font) << c.what;
        EXPECT_EQ(rows.Height, c.height) << c.what;
        ASSERT_EQ(rows.Places.size(), c.lefts.size()) << c.what;
        int rowsUsed = 0;
        for (std::size_t i = 0; i < rows.Places.size(); ++i) {
            EXPECT_EQ(rows.Places[i].Left, c.lefts[i]) << c.what << " " << i;
            EXPECT_EQ(rows.Places[i].Row, c.rows[i]) << c.what << " " << i;
            const int rowHeight = (c.height + 4) / std::max(rows.Rows, 1) - 4;
            EXPECT_EQ(rows.Places[i].Top, c.rows[i] * (rowHeight + 4)) << c.what << " " << i;
            rowsUsed = std::max(rowsUsed, c.rows[i] + 1);
        }
        EXPECT_EQ(rows.Rows, rowsUsed) << c.what;
    }
}

TEST(ComparisonLayout, ThePictureMakesRoomForItsLinesStemAndLabels) {
    struct Case {
        int returns, net, coaching, labels;
        StemExtent stem;
        int netTop, stemRow, coachingTop, labelsTop, height;
    };
    const Case cases[] = {
        {17, 0, 0, 0, {20, 20}, 27, 61, 95, 95, 105},      // a returns line and the stem alone
        {17, 0, 0, 94, {20, 20}, 27, 61, 95, 95, 199},     // labels under the stem
        {17, 21, 0, 198, {30, 25}, 27, 92, 131, 131, 339}, // a net line: the stem comes lower
        {45, 0, 0, 0, {30, 25}, 55, 99, 138, 138, 148},    // words that wrap to three lines
        {17, 21, 0, 0, {0, 0}, 27, 62, 76, 76, 86},        // no stem to show
        {17, 0, 40, 94, {20, 20}, 27, 61, 95, 143, 247},   // cut costs between stem and labels
        {17, 0, 40, 0, {20, 20}, 27, 61, 95, 143, 153},    // cut costs, no graded log
    };
    for (const Case& c : cases) {
        const ComparisonPicture p =
            LayOutComparisonPicture(c.returns, c.net, c.coaching, c.labels, c.stem);
        EXPECT_EQ(p.ReturnsTop, 10) << c.labels;
        EXPECT_EQ(p.NetTop, c.netTop) << c.labels;
        EXPECT_EQ(p.StemRow, c.stemRow) << c.labels;
        EXPECT_EQ(p.CoachingTop, c.coachingTop) << c.coaching << " " << c.labels;
        EXPECT_EQ(p.LabelsTop, c.labelsTop) << c.coaching << " " << c.labels;
        EXPECT_EQ(p.Height, c.height) << c.coaching << " " << c.labels;
    }
}

TEST(ComparisonLayout, PicturesShareTheHeightTheyDoNotNeed) {
    struct Case {
        std::vector<int> needs;
        int available;
        std::vector<int> heights;
    };
    const Case cases[] = {
        {{}, 300, {}},
        {{300, 200}, 400, {300, 200}}, // more than there is: the window scrolls
        {{300, 200}, 500, {300, 200}},
        {{100, 100}, 501, {250, 251}}, // halves; the last takes the odd pixel
        {{300, 100}, 500, {300, 200}}, // the first needs more than its half
        {{50}, 269, {269}},
        {{100, 50, 60}, 400, {133, 133, 134}},
        {{200, 50, 60}, 400, {200, 100, 100}},
        {{50, 200, 60}, 400, {100, 200, 100}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StackPictures(c.needs, c.available), c.heights) << c.available;
    }
}

TEST(ComparisonLayout, TheStemReachesAsFarAsAnyRotationDrawsIt) {
    EXPECT_EQ(VerticalExtent(StemView{}).Above, 0);
    StemView view;
    view.CentreY = 346;
    view.Stations = {{0, 20, 0, 0}, {100, 16, 0, 0}};
    view.Bands[0][0] = {{0, 326}, {100, 330}};
    view.Bands[3][4] = {{0, 371}, {100, 362}};
    BandPatch patch{};
    for (auto& corners : patch) {
        corners.fill({50, 346});
    }
    patch[0][1] = {60, 300}; // a fork standing 46 above the centre line at rotation 7
    view.Patches[6].push_back(patch);
    view.Ellipses[9].push_back({12.0F, 3.0F, 40, 380});   // 24 pixels high each way: 404
    view.Ellipses[10].push_back({90.0F, 3.0F, -10, -10}); // hidden: not drawn
    const StemExtent extent = VerticalExtent(view);
    EXPECT_EQ(extent.Above, 46);
    EXPECT_EQ(extent.Below, 58);
}

} // namespace
} // namespace varnok
