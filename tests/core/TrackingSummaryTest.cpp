#include "tracking/TrackingSummary.h"
#include "TrackingFixtures.h"
#include "market/OptimalCuts.h"
#include "support/DataFolder.h"
#include "support/Errors.h"
#include "support/Numbers.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace varnok {
namespace {

using test::Pattern;
using test::PieceFacts;

Market NamedMarket() {
    Market market;
    market.Roundwood.Products[0].Name = "Pulpwood";
    market.Roundwood.Products[1].Name = "Ties, \"grade\"";
    market.Roundwood.Products[2].Name = "Bûches";
    return market;
}

// A session of one bucker whose patterns per tree are given, recorded as the game does.
TrackingSession OneBucker(const std::vector<int>& trees,
                          const std::vector<std::vector<PieceFacts>>& optimal,
                          const std::vector<std::vector<PieceFacts>>& bucker) {
    TrackingSession session(GameMode::Tracking);
    session.SetTrees(trees);
    for (std::size_t t = 0; t < trees.size(); ++t) {
        if (t > 0) {
            session.Advance();
        }
        session.Record(PatternKind::Optimal, Pattern(optimal[t]));
        session.Record(PatternKind::Bucker, Pattern(bucker[t]));
    }
    return session;
}

std::vector<std::string> Row(const SummaryGrid& grid, int row, int from, int to) {
    std::vector<std::string> texts;
    for (int column = from; column <= to; ++column) {
        texts.push_back(grid.At(column, row));
    }
    return texts;
}

using Texts = std::vector<std::string>;

TEST(TrackingSummary, SessionTotalsDifferenceGainAndLoss) {
    const PieceFacts saw{.Index = 1, .ProductClass = 4, .Volume = 100, .Value = 300};
    const PieceFacts pulp{.Index = 2, .ProductClass = 7, .Volume = 20, .Value = 15};
    struct Case {
        const char* name;
        std::vector<PieceFacts> optimal;
        std::vector<PieceFacts> bucker;
        Texts value, scale, cubic; // columns 2 to 6 of rows 2, 3 and 4
    };
    const std::vector<Case> cases = {
        {"the optimal pattern cut exactly",
         {saw, pulp},
         {saw, pulp},
         {"315.00", "315.00", "0.0", "0.0 %", "0.0 %"},
         {"100.0", "100.0", "0.0", "0.0 %", "0.0 %"},
         {"20.0", "20.0", "0.0", "0.0 %", "0.0 %"}},
        {"1000 against 900",
         {{.Index = 1, .Volume = 400, .Value = 1000}},
         {{.Index = 1, .Volume = 360, .Value = 900}},
         {"1000.00", "900.00", "-100.0", "11.1 %", "10.0 %"},
         {"400.0", "360.0", "-40.0", "11.1 %", "10.0 %"},
         {"0.0", "0.0", "0.0", "0.0 %", "0.0 %"}},
        {"no cubic feet in the optimum, no board feet from the bucker",
         {saw},
         {pulp},
         {"300.00", "15.00", "-285.0", "1900.0 %", "95.0 %"},
         {"100.0", "0.0", "-100.0", "0.0 %", "100.0 %"},
         {"0.0", "20.0", "20.0", "-100.0 %", "0.0 %"}},
        {"a bucker who beats the optimum",
         {{.Index = 1, .Volume = 360, .Value = 900}},
         {{.Index = 1, .Volume = 400, .Value = 1000}},
         {"900.00", "1000.00", "100.0", "-10.0 %", "-11.1 %"},
         {"360.0", "400.0", "40.0", "-10.0 %", "-11.1 %"},
         {"0.0", "0.0", "0.0", "0.0 %", "0.0 %"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TrackingSession session = OneBucker({42}, {c.optimal}, {c.bucker});
        const SummaryGrid grid = SessionSummary(session, 1);
        EXPECT_EQ(Row(grid, 0, 0, 6), (Texts{"SESSION SUMMARY", "", "Optimal", "Bucker",
                                             "Difference", "Potenial % Gain", "% Loss"}));
        EXPECT_EQ(Row(grid, 1, 0, 4), (Texts{"Number of Trees", "", "1", "1", ""}));
        EXPECT_EQ(grid.At(0, 2), "Total Value ($)");
        EXPECT_EQ(grid.At(0, 3), "Total Scale (bf)");
        EXPECT_EQ(grid.At(0, 4), "Total Scale (ft3)");
        EXPECT_EQ(Row(grid, 2, 2, 6), c.value);
        EXPECT_EQ(Row(grid, 3, 2, 6), c.scale);
        EXPECT_EQ(Row(grid, 4, 2, 6), c.cubic);
        for (int row = 0; row < grid.Rows(); ++row) {
            EXPECT_EQ(grid.At(1, row), "");
            EXPECT_EQ(Row(grid, row, 7, 15), Texts(9)) << "row " << row;
            if (row > 4) {
                EXPECT_EQ(Row(grid, row, 0, 6), Texts(7)) << "row " << row;
            }
        }
        EXPECT_EQ(grid.Rows(), 24);
        EXPECT_EQ(grid.Columns(), 16);
        EXPECT_EQ(grid.ColumnWidths, (std::vector<int>{110, 10, 100, 100, 100, 100, 100, 100, 100,
                                                       100, 100, 100, 100, 100, 100, 100}));
    }
}

TEST(TrackingSummary, ValuesAreNetOfCullChargesOverEveryTree) {
    // Tree 1: a sawlog, a short piece (charged as cull, with no slot of its own) and a log
    // sold as cull. Tree 2: roundwood only.
    const TrackingSession session = OneBucker(
        {30, 31},
        {{{.Index = 1, .Volume = 150, .Value = 45}}, {{.Index = 1, .Volume = 90, .Value = 27}}},
        {{{.Index = 1, .ProductClass = 5, .Volume = 120, .Value = 30},
          {.Index = 2, .ProductClass = 10, .Value = 0.5F, .Length = 50, .Graded = false},
          {.Index = 3, .ProductClass = 10, .Volume = 12.5F, .Value = 1.25F}},
         {{.Index = 1, .ProductClass = 8, .Volume = 30, .Value = 12}}});
    const TreeSums first = SumTrackedTree(session.Results(), 1, 1);
    EXPECT_EQ(first.OV, 45.0F);
    EXPECT_EQ(first.BV, 28.25F);
    EXPECT_EQ(first.BM, 120.0F);
    EXPECT_EQ(first.BF, 12.5F);
    const TreeSums total = SumSession(session, 1);
    EXPECT_EQ(total.OV, 72.0F);
    EXPECT_EQ(total.OM, 240.0F);
    EXPECT_EQ(total.OF, 0.0F);
    EXPECT_EQ(total.BV, 40.25F);
    EXPECT_EQ(total.BM, 120.0F);
    EXPECT_EQ(total.BF, 42.5F);

    const std::vector<TreeValues> chart = ValuesPerTree(session, 1);
    ASSERT_EQ(chart.size(), 2U);
    EXPECT_EQ(chart[0].Position, 1);
    EXPECT_EQ(chart[0].TreeNumber, 30);
    EXPECT_EQ(chart[0].Optimal, 45.0F);
    EXPECT_EQ(chart[0].Bucker, 28.25F);
    EXPECT_EQ(chart[1].TreeNumber, 31);
    EXPECT_EQ(chart[1].Bucker, 12.0F);

    const Market market = NamedMarket();
    const SummaryGrid tree = TreeSummary(session, 1, 1, market);
    EXPECT_EQ(Row(tree, 10, 2, 4), (Texts{"Segment 1", "Segment 2", ""}));
    EXPECT_EQ(Row(tree, 14, 2, 3), (Texts{"120.0 bf", "12.5 ft3"}));
    EXPECT_EQ(Row(tree, 17, 2, 3), (Texts{"#2 Saw", "Cull"}));
    EXPECT_EQ(Row(tree, 18, 2, 3), (Texts{"30.00", "-1.25"}));
    EXPECT_EQ(Row(tree, 19, 0, 3), (Texts{"Short Pieces ($)", "", "-0.50", ""}));
    EXPECT_EQ(Row(tree, 9, 0, 2), (Texts{"", "", ""})); // the optimum left none
    EXPECT_EQ(Row(tree, 21, 0, 4), (Texts{"Value ($)", "", "45.00", "28.25", "-16.8"}));
    EXPECT_EQ(SessionSummary(session, 1).At(3, 2), "40.25");
    EXPECT_EQ(TreeSummary(session, 1, 2, market).At(2, 17), "Ties, \"grade\"");

    EXPECT_THROW((void)SumSession(session, 2), VarnokError);
    EXPECT_THROW((void)SessionSummary(session, 0), VarnokError);
    EXPECT_THROW((void)TreeSummary(session, 1, 3, market), VarnokError);
    EXPECT_THROW((void)TreeSummary(session, 1, 0, market), VarnokError);
    EXPECT_THROW((void)ValuesPerTree(session, 2), VarnokError);
}

TEST(TrackingSummary, TreeSummaryColumnsHaveNoGapsAndTheGridGrows) {
    const Market market = NamedMarket();
    // Five optimal logs with a short piece between the second and the third.
    std::vector<PieceFacts> five;
    for (const int index : {1, 2, 4, 5, 6}) {
        five.push_back({.Index = index,
                        .ProductClass = index,
                        .Volume = 10.0F * static_cast<float>(index),
                        .Value = static_cast<float>(index),
                        .LED = 30 - index,
                        .SED = 28 - index,
                        .Length = 100 + index,
                        .SweepDeduction = 0.125F,
                        .Deduction = 0.25F});
    }
    five.push_back({.Index = 3, .Length = 60, .Graded = false});
    std::vector<PieceFacts> twenty;
    for (int index = 1; index <= 20; ++index) {
        twenty.push_back({.Index = index, .Volume = 25, .Value = 5});
    }
    const TrackingSession session = OneBucker({5}, {five}, {twenty});
    const SummaryGrid grid = TreeSummary(session, 1, 1, market);

    const Texts labels = {"Large End Diameter (in)",
                          "Small End Diameter (in)",
                          "Segment Length (in)",
                          "Scale",
                          "Sweep Deduction (%)",
                          "Cull Deduction (%)",
                          "Grade",
                          "Value ($)"};
    for (const int first : {0, 10}) {
        EXPECT_EQ(grid.At(0, first), first == 0 ? "OPTIMAL" : "BUCKER");
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(grid.At(0, first + 1 + k), labels[static_cast<std::size_t>(k)]);
        }
    }
    EXPECT_EQ(Row(grid, 0, 1, 7),
              (Texts{"", "Segment 1", "Segment 2", "Segment 3", "Segment 4", "Segment 5", ""}));
    EXPECT_EQ(Row(grid, 1, 2, 6), (Texts{"29", "28", "26", "25", "24"}));
    EXPECT_EQ(Row(grid, 2, 2, 6), (Texts{"27", "26", "24", "23", "22"}));
    EXPECT_EQ(Row(grid, 3, 2, 6), (Texts{"101", "102", "104", "105", "106"}));
    EXPECT_EQ(Row(grid, 4, 2, 6), (Texts{"10.0 bf", "20.0 bf", "40.0 bf", "50.0 bf", "60.0 bf"}));
    EXPECT_EQ(Row(grid, 5, 2, 6), (Texts{"12.5", "12.5", "12.5", "12.5", "12.5"}));
    EXPECT_EQ(Row(grid, 6, 2, 6), (Texts{"25.0", "25.0", "25.0", "25.0", "25.0"}));
    EXPECT_EQ(Row(grid, 7, 2, 6), (Texts{"#1 Veneer", "#2 Veneer", "#1 Saw", "#2 Saw", "#3 Saw"}));
    EXPECT_EQ(Row(grid, 8, 2, 6), (Texts{"1.00", "2.00", "4.00", "5.00", "6.00"}));

    // Twenty bucker logs: the grid grows to 22 columns, the new ones 100 pixels wide.
    EXPECT_EQ(grid.Rows(), 24);
    ASSERT_EQ(grid.Columns(), 22);
    EXPECT_EQ(grid.At(21, 10), "Segment 20");
    EXPECT_EQ(grid.At(21, 18), "5.00");
    EXPECT_EQ(grid.At(22, 10), "");
    EXPECT_EQ(grid.At(-1, 0), "");
    EXPECT_EQ(grid.At(0, 24), "");
    ASSERT_EQ(grid.ColumnWidths.size(), 22U);
    EXPECT_EQ(grid.ColumnWidths[0], 120);
    EXPECT_EQ(grid.ColumnWidths[1], 10);
    EXPECT_EQ(grid.ColumnWidths[21], 100);

    EXPECT_EQ(Row(grid, 20, 0, 5),
              (Texts{"TREE SUMMARY", "", "Optimal", "Bucker", "Difference", ""}));
    EXPECT_EQ(Row(grid, 21, 0, 4), (Texts{"Value ($)", "", "18.00", "100.00", "82.0"}));
    EXPECT_EQ(Row(grid, 22, 0, 4), (Texts{"Scale (bf)", "", "180.0", "500.0", "320.0"}));
    EXPECT_EQ(Row(grid, 23, 0, 4), (Texts{"Scale (ft3)", "", "0.0", "0.0", "0.0"}));
    EXPECT_EQ(grid.At(0, 9), "");
    EXPECT_EQ(grid.At(2, 9), "");
}

TEST(TrackingSummary, GradeNames) {
    const Market market = NamedMarket();
    const Texts expected = {"Cull",   "#1 Veneer", "#2 Veneer", "#3 Veneer",       "#1 Saw",
                            "#2 Saw", "#3 Saw",    "Pulpwood",  "Ties, \"grade\"", "Bûches",
                            "Cull",   "Cull"};
    for (int productClass = 0; productClass <= 11; ++productClass) {
        EXPECT_EQ(SummaryGradeName(productClass, market),
                  expected[static_cast<std::size_t>(productClass)]);
    }
}

// Tree 12 of a bundled market: its stored optimal pattern (an 8-inch butt trim first, so the
// first log sits in slot 2) against 200-inch logs from the butt.
TEST(TrackingSummary, ABundledTreeShowsWhatItsLogsSoldFor) {
    const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
    const Market market = LoadMarket(data, "Appalachian Doyle");
    const int number = 12;
    const std::unique_ptr<Tree> tree = LoadTree(data, number, market.Filter);
    const std::vector<int> optimalCuts =
        StoredOptimalCuts(ReadOptimalCuts(market.OptmcutsPath), market.OptmcutsPath, number, *tree);
    std::vector<int> buckerCuts;
    for (int p = 0; p < tree->Stem.StemLength; p += 200) {
        buckerCuts.push_back(p);
    }
    buckerCuts.push_back(tree->Stem.StemLength);
    const PatternEvaluation optimal = EvaluatePattern(*tree, market, optimalCuts);
    const PatternEvaluation bucker = EvaluatePattern(*tree, market, buckerCuts);
    TrackingSession session(GameMode::Tracking);
    session.SetTrees({number});
    session.Record(PatternKind::Optimal, optimal);
    session.Record(PatternKind::Bucker, bucker);
    const SummaryGrid grid = TreeSummary(session, 1, 1, market);

    EXPECT_FALSE(optimal.Pieces[0].Log.Graded);
    const std::vector<Texts> optimalColumns = {
        {"Segment 1", "29", "23", "200", "353.0 bf", "0.0", "2.2", "#1 Saw", "190.62"},
        {"Segment 2", "23", "22", "152", "243.0 bf", "0.0", "0.0", "#1 Saw", "131.22"},
        {"Segment 3", "22", "20", "104", "19.3 ft3", "0.0", "0.0", "Tie Logs", "27.54"},
        {"Segment 4", "20", "19", "128", "140.0 bf", "0.0", "0.5", "#2 Saw", "51.24"},
        {"Segment 5", "18", "16", "176", "118.0 bf", "6.2", "6.2", "#2 Saw", "45.43"},
        {"Segment 6", "16", "14", "152", "75.0 bf", "0.0", "0.0", "#2 Saw", "28.88"},
        {"Segment 7", "14", "11", "128", "31.0 bf", "0.0", "0.0", "#2 Saw", "11.35"},
        {"Segment 8", "11", "8", "200", "8.1 ft3", "0.0", "0.0", "Pulpwood", "6.34"},
        {"Segment 9", "8", "4", "188", "2.3 ft3", "25.0", "25.0", "Cull", "-2.29"},
        {"", "", "", "", "", "", "", "", ""},
    };
    for (std::size_t n = 0; n < optimalColumns.size(); ++n) {
        Texts column;
        for (int row = 0; row <= 8; ++row) {
            column.push_back(grid.At(static_cast<int>(n) + 2, row));
        }
        EXPECT_EQ(column, optimalColumns[n]) << "column " << n + 2;
    }
    EXPECT_EQ(Row(grid, 17, 2, 9),
              (Texts{"#1 Saw", "#3 Saw", "#3 Saw", "#3 Saw", "#2 Saw", "Pulpwood", "Cull", ""}));

    // Each log sold shows the value its label gives; the totals are the comparison's nets.
    for (const auto& [evaluation, first] : {std::pair{&optimal, 0}, {&bucker, 10}}) {
        int column = 2;
        for (const EvaluatedPiece& piece : evaluation->Pieces) {
            if (!piece.Log.Graded) {
                continue;
            }
            if (piece.Log.Segment.ProductClass != kCullProduct) {
                EXPECT_EQ("$" + grid.At(column, first + 8), piece.LabelLines[5]);
            }
            ++column;
        }
    }
    EXPECT_EQ(Row(grid, 21, 2, 4),
              (Texts{FormatFixed(optimal.Returns - optimal.CullPenalty, 2),
                     FormatFixed(bucker.Returns - bucker.CullPenalty, 2), "-144.4"}));
    EXPECT_EQ(Row(grid, 22, 2, 4), (Texts{"960.0", "1013.0", "53.0"}));
    EXPECT_EQ(Row(grid, 23, 2, 4), (Texts{"29.6", "11.0", "-18.6"}));
}

TEST(TrackingSummary, SessionCsvAndReportLines) {
    const Market market = NamedMarket();
    TrackingSession session(GameMode::GroupTracking);
    session.SetUserCount(2);
    session.SetTrees({9, 140});
    session.Record(PatternKind::Optimal,
                   Pattern({{.Index = 1, .Volume = 210, .Value = 63.5F, .Deduction = 0.0625F},
                            {.Index = 2, .ProductClass = 8, .Volume = 18.25F, .Value = 9}}));
    session.Record(
        PatternKind::Bucker,
        Pattern({{.Index = 1, .ProductClass = 10, .Value = 0.2F, .Length = 30, .Graded = false},
                 {.Index = 2,
                  .ProductClass = 10,
                  .Volume = 6.5F,
                  .Value = 1.3F,
                  .SED = 7,
                  .Length = 100,
                  .SweepDeduction = 0.5F,
                  .Deduction = 0.75F}}));
    session.Advance();
    session.Advance(); // bucker 2, tree 9: the optimal pattern alone
    session.Record(
        PatternKind::Optimal,
        Pattern({{.Index = 1, .ProductClass = 1, .Volume = 99, .Value = 120, .LED = 24, .SED = 22},
                 {.Index = 2, .ProductClass = 9, .Volume = 4, .Value = 3}}));
    EXPECT_EQ(SessionCsv(session, market),
              "Bucker,Tree,Pattern,Segment,Length (in),Product,Small End Diameter (in),Sweep (%),"
              "Cull (%),Volume,Unit,Value ($)\r\n"
              "1,9,Optimal,1,196,#1 Saw,18,0.0,6.2,210.0,bf,63.50\r\n"
              "1,9,Optimal,2,196,\"Ties, \"\"grade\"\"\",18,0.0,0.0,18.2,ft3,9.00\r\n"
              "1,9,Bucker,1,100,Cull,7,50.0,75.0,6.5,ft3,-1.30\r\n"
              "1,9,Bucker,,,Short pieces (cull),,,,,,-0.20\r\n"
              "2,9,Optimal,1,196,#1 Veneer,22,0.0,0.0,99.0,bf,120.00\r\n"
              "2,9,Optimal,2,196,Bûches,18,0.0,0.0,4.0,ft3,3.00\r\n");

    const std::vector<std::string> lines = SessionReportLines(session, market);
    const std::vector<std::string> bucker2 = {
        "Bucker 2",
        "",
        "SESSION SUMMARY    Optimal  Bucker  Difference  Potenial % Gain   % Loss",
        "Number of Trees          2       2",
        "Total Value ($)     123.00    0.00      -123.0            0.0 %  100.0 %",
        "Total Scale (bf)      99.0     0.0       -99.0            0.0 %  100.0 %",
        "Total Scale (ft3)      4.0     0.0        -4.0            0.0 %  100.0 %",
        "",
        "Bucker 2, Tree1 (tree number 9)",
        "",
        "OPTIMAL                  Segment 1  Segment 2",
        "Large End Diameter (in)         24         20",
    };
    const auto start = std::find(lines.begin(), lines.end(), "Bucker 2");
    ASSERT_NE(start, lines.end());
    ASSERT_GE(lines.end() - start, static_cast<std::ptrdiff_t>(bucker2.size()));
    EXPECT_EQ(std::vector<std::string>(start, start + static_cast<std::ptrdiff_t>(bucker2.size())),
              bucker2);
    // Bucker 1's summary, its two trees, then bucker 2's: four tree headings in all.
    EXPECT_EQ(lines.front(), "Bucker 1");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Bucker 2, Tree2 (tree number 140)"), 1);
    EXPECT_EQ(std::count_if(
                  lines.begin(), lines.end(),
                  [](const std::string& line) { return line.find(", Tree") != std::string::npos; }),
              4);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "BUCKER                   Segment 1"), 1);
    // Columns line up by characters, not bytes.
    EXPECT_NE(std::find(start, lines.end(), "Grade                    #1 Veneer     Bûches"),
              lines.end());
}

} // namespace
} // namespace varnok
