// The cells of the log-rule and price-set editors and viewers: what a table of typed texts
// stores, byte for byte, which cells are refused and in what words, and what the viewers show
// of the bundled rule files.

#include "TestSupport.h"
#include "market/PriceTable.h"
#include "rules/LogRuleCells.h"
#include "rules/PriceSetCells.h"
#include "support/ByteBuffer.h"
#include "support/DataFolder.h"
#include "support/Numbers.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

namespace fs = std::filesystem;

DataFolder Bundled() {
    return DataFolder(fs::path(VARNOK_TEST_DATA_DIR).parent_path().parent_path() / "data");
}

std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

// The cell of diameter `diameter`, length `feet` of the editor's cells.
std::string& LogCell(LogRuleCells& cells, int diameter, int feet) {
    return cells[At(diameter - kLogRuleFirstDiameter)][At((feet - 8) / 2)];
}

// The message of the CellError `convert` throws, and the cell it points at.
template <typename Convert> std::tuple<std::string, int, int> Refusal(Convert&& convert) {
    try {
        convert();
    } catch (const CellError& error) {
        return {error.what(), error.Row(), error.Column()};
    }
    return {"accepted", -1, -1};
}

TEST(LogRuleCells, AllEmptyStoresZerosButTheDiametersSixToFifty) {
    LogRuleCells cells{};
    LogCell(cells, 7, 10) = "   "; // blanks look empty, so they are
    LogCell(cells, 8, 12) = "-0";
    const std::vector<std::uint8_t> bytes = LogRuleFromCells(cells, false).Encode();
    ASSERT_EQ(bytes.size(), 2200U);
    const ByteReader reader(bytes);
    for (int d = 1; d <= 50; ++d) {
        const std::size_t entry = At(d - 1) * 44;
        EXPECT_EQ(reader.I32(entry), d >= 6 ? d : 0) << d;
        for (std::size_t i = entry + 4; i < entry + 44; ++i) {
            ASSERT_EQ(bytes[i], 0) << "offset " << i;
        }
    }
    EXPECT_NO_THROW(LogRuleTable::Check(bytes, FieldCheck("empty")));
}

TEST(LogRuleCells, RowTwentyColumnTwelveLiesAtOffset856) {
    ByteWriter expected(2200);
    for (int d = 6; d <= 50; ++d) {
        expected.I32(At(d - 1) * 44, d);
    }
    expected.F64(856, 123.5);
    for (const auto& [text, comma] :
         {std::pair{"123.5", false}, {"123,5", true}, {"123.5", true}, {" 1.235e2 ", false}}) {
        LogRuleCells cells{};
        LogCell(cells, 20, 12) = text;
        EXPECT_EQ(LogRuleFromCells(cells, comma).Encode(), expected.Data()) << text;
    }
}

TEST(LogRuleCells, TheFirstBadCellIsNamedAndNothingTheReadersRefuseIsStored) {
    struct Case {
        int Diameter;
        int Feet;
        const char* Text;
        bool Comma;
        const char* Message; // "accepted" when the cell is stored
    };
    const Case cases[] = {
        {20, 12, "abc", false,
         "Diameter 20 in., 12 ft logs: 'abc' is not a valid floating point value"},
        {6, 8, "inf", false,
         "Diameter 6 in., 8 ft logs: 'inf' is not a valid floating point value"},
        {50, 16, "nan", false,
         "Diameter 50 in., 16 ft logs: 'nan' is not a valid floating point value"},
        {9, 10, "1e400", false,
         "Diameter 9 in., 10 ft logs: '1e400' is not a valid floating point value"},
        {9, 10, "1,5", false,
         "Diameter 9 in., 10 ft logs: '1,5' is not a valid floating point value"},
        {9, 10, "1,5", true, "accepted"},
        {9, 10, "1,234.5", true,
         "Diameter 9 in., 10 ft logs: '1,234.5' is not a valid floating point value"},
        {11, 14, "-1", false,
         "Diameter 11 in., 14 ft logs: '-1' is not a volume from 0 to 65535 board feet"},
        {11, 14, "65535.5", false,
         "Diameter 11 in., 14 ft logs: '65535.5' is not a volume from 0 to 65535 board feet"},
        {11, 14, "1e300", false,
         "Diameter 11 in., 14 ft logs: '1e300' is not a volume from 0 to 65535 board feet"},
        {11, 14, "65535", false, "accepted"},
        {11, 14, "+0.25", false, "accepted"},
    };
    for (const Case& c : cases) {
        LogRuleCells cells{};
        LogCell(cells, c.Diameter, c.Feet) = c.Text;
        LogCell(cells, 50, 16) = c.Diameter == 50 ? c.Text : "oops"; // a later bad cell
        const auto [message, row, column] =
            Refusal([&] { (void)LogRuleFromCells(cells, c.Comma); });
        if (std::string(c.Message) == "accepted") {
            EXPECT_EQ(message, "Diameter 50 in., 16 ft logs: 'oops' is not a valid floating point "
                               "value")
                << c.Text;
            LogCell(cells, 50, 16).clear();
            const LogRuleTable table = LogRuleFromCells(cells, c.Comma);
            EXPECT_NO_THROW(LogRuleTable::Check(table.Encode(), FieldCheck("typed"))) << c.Text;
            continue;
        }
        EXPECT_EQ(message, c.Message);
        EXPECT_EQ(row, c.Diameter - 6) << c.Text;
        EXPECT_EQ(column, (c.Feet - 8) / 2) << c.Text;
    }
}

TEST(LogRuleCells, GridsOfTheEditorAndViewer) {
    const RuleGridTexts editor = LogRuleEditorGrid();
    EXPECT_EQ(editor.Corner, "Diameter");
    EXPECT_EQ(editor.ColumnHeads, (std::vector<std::string>{"8", "10", "12", "14", "16"}));
    ASSERT_EQ(editor.RowHeads.size(), 45U);
    EXPECT_EQ(editor.RowHeads.front(), "6");
    EXPECT_EQ(editor.RowHeads.back(), "50");
    EXPECT_EQ(editor.Cells, std::vector<std::vector<std::string>>(45, std::vector<std::string>(5)));
    const RuleGridTexts empty = LogRuleViewerGrid();
    EXPECT_EQ(empty.Corner, "Log Diam");
    EXPECT_EQ(empty.RowHeads, editor.RowHeads);
    EXPECT_EQ(empty.Cells, editor.Cells);

    LogRuleTable table;
    table.Entries[19].Volume[2] = 123.5;
    table.Entries[20].Volume[0] = 0.1 + 0.2; // 15 significant digits at most
    table.Entries[0].Volume[0] = 99.0;       // diameter 1 is not shown
    const RuleGridTexts shown = LogRuleViewerGrid(table);
    EXPECT_EQ(shown.Cells[14][2], "123.5");
    EXPECT_EQ(shown.Cells[15][0], "0.3");
    EXPECT_EQ(shown.Cells[0][0], "0");

    struct Bundle {
        const char* Rule;
        int Diameter;
        int Feet;
        const char* Shown;
    };
    for (const Bundle& b :
         {Bundle{"Doyle", 50, 10, "1322.5"}, Bundle{"Doyle", 6, 8, "2"},
          Bundle{"Doyle", 16, 16, "144"}, Bundle{"Scribner", 20, 16, "272"},
          Bundle{"Scribner", 6, 12, "9"}, Bundle{"International Quarter Inch", 20, 14, "250"},
          Bundle{"International Quarter Inch", 50, 8, "940"}}) {
        const RuleGridTexts grid = LogRuleViewerGrid(ReadLogRule(Bundled().LogRules() / b.Rule));
        EXPECT_EQ(grid.Cells[At(b.Diameter - 6)][At((b.Feet - 8) / 2)], b.Shown)
            << b.Rule << " " << b.Diameter << " " << b.Feet;
    }
}

PriceCells AllPrices(const char* text) {
    PriceCells cells{};
    for (auto& row : cells) {
        row.fill(text);
    }
    return cells;
}

RoundwoodProductSet Roundwood(const char* name) {
    return ReadRoundwoodProducts(Bundled().Roundwood() / name);
}

TEST(PriceSetCells, WithoutRoundwoodRowsSevenToTenAreUnnamedAndKeepTheirPrices) {
    PriceCells cells = AllPrices("");
    cells[3][2] = "450.25"; // row 4 "#1 Sawlog", 12 ft
    cells[6][0] = "30";     // row 7, 8 ft
    cells[9][4] = "2";      // the cull row, 16 ft
    const std::vector<std::uint8_t> bytes =
        PriceSetFromCells(PriceRowHeadsWithoutRoundwood(), cells, false).Encode();
    ASSERT_EQ(bytes.size(), 1040U);
    const ByteReader reader(bytes);
    EXPECT_EQ(reader.F64(392), 450.25);
    EXPECT_EQ(reader.F64(6 * 104 + 64), 30.0);
    EXPECT_EQ(reader.F64(9 * 104 + 96), 2.0);
    EXPECT_EQ(reader.ShortString(3 * 104, 30), "#1 Sawlog");
    EXPECT_EQ(reader.ShortString(5 * 104 + 31, 30), "MBF");
    for (int r = 7; r <= 10; ++r) {
        EXPECT_EQ(reader.U8(At(r - 1) * 104), 0) << r;      // no name
        EXPECT_EQ(reader.U8(At(r - 1) * 104 + 31), 0) << r; // no units
    }
    EXPECT_NO_THROW(PriceSet::Check(bytes, FieldCheck("prices")));

    const RuleGridTexts grid = PriceEditorGrid(PriceRowHeadsWithoutRoundwood());
    EXPECT_EQ(grid.ColumnHeads,
              (std::vector<std::string>{"Product", "Units", "8", "10", "12", "14", "16"}));
    EXPECT_TRUE(grid.RowHeads.empty());
    EXPECT_EQ(grid.Cells[0], (std::vector<std::string>{"Prime Veneer", "MBF", "", "", "", "", ""}));
    EXPECT_EQ(grid.Cells[5][0], "#3 Sawlog");
    EXPECT_EQ(grid.Cells[9], std::vector<std::string>(7));
}

TEST(PriceSetCells, AnotherRoundwoodSetRenamesRowsSevenToTenAndKeepsThePrices) {
    const PriceCells cells = AllPrices("7");
    const PriceRowHeads first = PriceRowHeadsFor(Roundwood("Appalachian Roundwood"));
    const PriceRowHeads second = PriceRowHeadsFor(Roundwood("Northern Roundwood"));
    EXPECT_EQ(PriceEditorGrid(first).Cells[7][0], "Tie Logs");
    const PriceSet set = PriceSetFromCells(second, cells, false);
    const std::vector<std::string> names = {"Pulpwood", "Bolts", "Fuelwood", "Cull"};
    const std::vector<std::string> units = {"Cords", "Cords", "Tons", "Cubic Feet"};
    for (std::size_t r = 6; r < 10; ++r) {
        EXPECT_EQ(set.Rows[r].Name, names[r - 6]);
        EXPECT_EQ(set.Rows[r].Units, units[r - 6]);
        EXPECT_EQ(set.Rows[r].Prices, (std::array<double, 5>{7, 7, 7, 7, 7}));
    }
    EXPECT_EQ(PriceEditorGrid(second).Cells[9],
              (std::vector<std::string>{"Cull", "Cubic Feet", "", "", "", "", ""}));
}

TEST(PriceSetCells, ASetWithoutCullPenaltyZeroesTheCullRow) {
    RoundwoodProductSet roundwood = Roundwood("Northern Roundwood");
    roundwood.CullHandling = "none";
    roundwood.CullUnits = "none";
    const PriceRowHeads heads = PriceRowHeadsFor(roundwood);
    EXPECT_FALSE(heads.CullPriced);
    EXPECT_EQ(PriceEditorGrid(heads).Cells[9],
              (std::vector<std::string>{"none", "none", "0", "0", "0", "0", "0"}));
    PriceCells cells = AllPrices("5");
    cells[9] = {"3", "oops", "", "1e400", "9"}; // never read
    const std::vector<std::uint8_t> bytes = PriceSetFromCells(heads, cells, false).Encode();
    for (std::size_t i = 9 * 104 + 64; i < 1040; ++i) {
        ASSERT_EQ(bytes[i], 0) << i;
    }
    EXPECT_EQ(ByteReader(bytes).ShortString(9 * 104, 30), "none");
    EXPECT_EQ(ByteReader(bytes).F64(8 * 104 + 96), 5.0);
    roundwood.CullHandling = roundwood.CullUnits = ""; // a set saved without a cull choice
    EXPECT_FALSE(PriceRowHeadsFor(roundwood).CullPriced);
    EXPECT_TRUE(PriceRowHeadsFor(Roundwood("Northern Roundwood")).CullPriced);
}

// Whatever the editor stores, a market converts; what it refuses, a market would refuse.
TEST(PriceSetCells, PricesMustFitTheWholeDollarTable) {
    struct Case {
        int Row; // 1 to 10
        const char* Units;
        const char* Text;
        const char* Message; // "accepted" when stored
    };
    const Case cases[] = {
        {4, "MBF", "abc",
         "Row 4 (#1 Sawlog), 12 ft logs: 'abc' is not a valid floating point value"},
        {1, "MBF", "32767", "accepted"},
        {1, "MBF", "32767.5", // halves to even: 32768
         "Row 1 (Prime Veneer), 12 ft logs: '32767.5' makes 32768 dollars per thousand board "
         "feet; the whole-dollar price table holds -32768 to 32767"},
        {6, "MBF", "-32768.5", "accepted"}, // -32768
        {6, "MBF", "-32769",
         "Row 6 (#3 Sawlog), 12 ft logs: '-32769' makes -32769 dollars per thousand board feet; "
         "the whole-dollar price table holds -32768 to 32767"},
        {7, "Cubic Feet", "250",
         "Row 7 (P), 12 ft logs: '250' per Cubic Feet makes 35000 dollars per 140 cubic feet; "
         "the whole-dollar price table holds -32768 to 32767"},
        {7, "Cubic Feet", "234", "accepted"},   // 32760
        {7, "Cubic Feet", "234.5", "accepted"}, // 234
        {8, "Cords", "16383.5",
         "Row 8 (P), 12 ft logs: '16383.5' per Cords makes 32768 dollars per 140 cubic feet; the "
         "whole-dollar price table holds -32768 to 32767"},
        {8, "Cords", "16383", "accepted"},
        {9, "Tons", "6553", "accepted"},
        {9, "Tons", "6554",
         "Row 9 (P), 12 ft logs: '6554' per Tons makes 32770 dollars per 140 cubic feet; the "
         "whole-dollar price table holds -32768 to 32767"},
        {10, "Cubic Meters", "-8192", "accepted"},
        {10, "Cubic Meters", "1e300",
         "Row 10 (P), 12 ft logs: '1e300' per Cubic Meters makes 4e+300 dollars per 140 cubic "
         "feet; the whole-dollar price table holds -32768 to 32767"},
        {10, "cubic feet", "32767", "accepted"}, // other texts count as MBF
    };
    for (const Case& c : cases) {
        PriceRowHeads heads = PriceRowHeadsWithoutRoundwood();
        if (c.Row > 6) {
            heads.Names[At(c.Row - 1)] = "P";
            heads.Units[At(c.Row - 1)] = c.Units;
        }
        PriceCells cells = AllPrices("1");
        cells[At(c.Row - 1)][2] = c.Text;
        const auto [message, row, column] =
            Refusal([&] { (void)PriceSetFromCells(heads, cells, false); });
        EXPECT_EQ(message, c.Message);
        if (message == "accepted") {
            EXPECT_NO_THROW((void)ConvertPriceSet(PriceSetFromCells(heads, cells, false), "typed"))
                << c.Text;
            continue;
        }
        EXPECT_EQ(row, c.Row - 1) << c.Text;
        EXPECT_EQ(column, 4) << c.Text; // "Product", "Units", "8", "10", "12"
        if (std::string(c.Text) != "abc") {
            PriceSet set = PriceSetFromCells(heads, AllPrices("1"), false);
            set.Rows[At(c.Row - 1)].Prices[2] = *ParseDecimal(c.Text);
            EXPECT_THROW((void)ConvertPriceSet(set, "typed"), VarnokError) << c.Text;
        }
    }
}

TEST(PriceSetCells, FractionsOfCubicFeetPricesAreWarnedOf) {
    PriceRowHeads heads = PriceRowHeadsFor(Roundwood("Appalachian Roundwood"));
    heads.Units[7] = "Cubic Feet"; // row 8 "Tie Logs"
    PriceCells cells = AllPrices("1");
    EXPECT_EQ(CubicFeetFractionWarning(PriceSetFromCells(heads, cells, false)), std::nullopt);
    cells[0][0] = "0.5"; // per MBF: no warning
    cells[6][0] = "0.5"; // "Pulpwood" in tons: no warning
    cells[7][1] = "2.5";
    cells[9][0] = "0,4";
    cells[9][4] = "-0.4";
    EXPECT_EQ(CubicFeetFractionWarning(PriceSetFromCells(heads, cells, true)),
              "Prices in Cubic Feet are rounded to whole dollars before they are charged per cubic "
              "foot:\n"
              "Row 8 (Tie Logs), 10 ft logs: 2.5 counts as 2.\n"
              "Row 10 (Cull), 8 ft logs: 0.4 counts as 0.\n"
              "Row 10 (Cull), 16 ft logs: -0.4 counts as 0.");
}

TEST(PriceSetCells, ViewerTextsOfTheBundledSets) {
    const RuleGridTexts empty = PriceViewerGrid();
    EXPECT_EQ(empty.ColumnHeads, PriceEditorGrid(PriceRowHeadsWithoutRoundwood()).ColumnHeads);
    EXPECT_EQ(empty.Cells, std::vector<std::vector<std::string>>(10, std::vector<std::string>(7)));
    struct Row {
        const char* Set;
        int Row;
        std::vector<std::string> Shown;
    };
    const Row rows[] = {
        {"Appalachian Doyle", 1, {"Prime Veneer", "MBF", "1080", "1140", "1200", "1200", "1200"}},
        {"Appalachian Doyle", 8, {"Tie Logs", "MBF", "200", "200", "200", "200", "200"}},
        {"Appalachian Doyle", 10, {"Cull", "Cubic Feet", "1", "1", "1", "1", "1"}},
        {"Lake States Scribner", 4, {"#1 Sawlog", "MBF", "441", "466", "490", "490", "490"}},
        {"Lake States Scribner", 7, {"Pulpwood", "Cords", "75", "75", "75", "75", "75"}},
        {"Northern International", 9, {"Fuelwood", "Tons", "15", "15", "15", "15", "15"}},
        {"Northern International", 3, {"B Veneer", "MBF", "432", "456", "480", "480", "480"}},
    };
    for (const Row& r : rows) {
        const RuleGridTexts grid = PriceViewerGrid(ReadPriceSet(Bundled().Prices() / r.Set));
        EXPECT_EQ(grid.Cells[At(r.Row - 1)], r.Shown) << r.Set << " row " << r.Row;
    }
    PriceSet set;
    set.Rows[2].Prices[4] = 12.125;
    EXPECT_EQ(PriceViewerGrid(set).Cells[2][6], "12.125");
}

} // namespace
} // namespace varnok
