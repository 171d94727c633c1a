// The cells of the log-rule and price-set editors and viewers: what typed cells store, byte for
// byte, which cells are refused and in what words, and what the viewers show of bundled files.

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

DataFolder Bundled() {
    return DataFolder(std::filesystem::path(VARNOK_TEST_DATA_DIR).parent_path().parent_path() /
                      "data");
}

std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

// The message of the CellError `convert` throws and the cell it names, or "accepted".
template <typename Convert> std::tuple<std::string, int, int> Refusal(Convert&& convert) {
    try {
        convert();
    } catch (const CellError& error) {
        return {error.what(), error.Row(), error.Column()};
    }
    return {"accepted", -1, -1};
}

// Every byte zero but the diameters 6 to 50 and the volume 123.5 of row "20", column "12".
TEST(LogRuleCells, TypedCellsAreStoredAtTheirOffsets) {
    ByteWriter expected(2200);
    for (int d = 6; d <= 50; ++d) {
        expected.I32(At(d - 1) * 44, d);
    }
    LogRuleCells blank;
    blank[1][1] = "   "; // looks empty, so it is
    blank[2][2] = "-0";
    EXPECT_EQ(LogRuleFromCells(blank, false).Encode(), expected.Data());
    expected.F64(856, 123.5);
    for (const auto& [text, comma] :
         {std::pair{"123.5", false}, {"123,5", true}, {" 1.235e2 ", false}}) {
        LogRuleCells cells;
        cells[14][2] = text;
        EXPECT_EQ(LogRuleFromCells(cells, comma).Encode(), expected.Data()) << text;
    }
}

TEST(LogRuleCells, TheFirstBadCellIsNamedAndNothingTheReadersRefuseIsStored) {
    const std::string notFloat = "' is not a valid floating point value";
    const std::string notVolume = "' is not a volume from 0 to 65535 board feet";
    struct Case {
        int Row, Column; // 0-based body cells: diameter Row + 6, length 8 + 2 Column
        const char* Text;
        bool Comma;
        std::string Message;
    };
    const Case cases[] = {
        {14, 2, "abc", false, "Diameter 20 in., 12 ft logs: 'abc" + notFloat},
        {3, 1, "1,5", false, "Diameter 9 in., 10 ft logs: '1,5" + notFloat},
        {5, 3, "-1", false, "Diameter 11 in., 14 ft logs: '-1" + notVolume},
        {5, 3, "65535.5", false, "Diameter 11 in., 14 ft logs: '65535.5" + notVolume},
        {5, 3, "65535", false, "accepted"},
        {3, 1, "1,5", true, "accepted"},
    };
    for (const Case& c : cases) {
        LogRuleCells cells;
        cells[At(c.Row)][At(c.Column)] = c.Text;
        cells[44][3] = c.Message == "accepted" ? "" : "later"; // a bad cell further on
        const auto [message, row, column] =
            Refusal([&] { (void)LogRuleFromCells(cells, c.Comma); });
        EXPECT_EQ(message, c.Message);
        if (message == "accepted") {
            EXPECT_NO_THROW(LogRuleTable::Check(LogRuleFromCells(cells, c.Comma).Encode(),
                                                FieldCheck("typed")));
        } else {
            EXPECT_EQ(std::pair(row, column), std::pair(c.Row, c.Column)) << c.Text;
        }
    }
}

TEST(LogRuleCells, GridsOfTheEditorAndTheViewer) {
    const RuleGridTexts editor = LogRuleEditorGrid();
    EXPECT_EQ(editor.Corner, "Diameter");
    EXPECT_EQ(editor.ColumnHeads, (std::vector<std::string>{"8", "10", "12", "14", "16"}));
    ASSERT_EQ(editor.RowHeads.size(), 45U);
    EXPECT_EQ(editor.RowHeads.front() + editor.RowHeads.back(), "650");
    EXPECT_EQ(editor.Cells, std::vector<std::vector<std::string>>(45, std::vector<std::string>(5)));
    EXPECT_EQ(LogRuleViewerGrid().Corner, "Log Diam");
    EXPECT_EQ(LogRuleViewerGrid().Cells, editor.Cells);

    LogRuleTable table;
    table.Entries[20].Volume[0] = 0.1 + 0.2; // 15 significant digits at most
    EXPECT_EQ(LogRuleViewerGrid(table).Cells[15][0], "0.3");
    EXPECT_EQ(LogRuleViewerGrid(table).Cells[0][0], "0");
    struct Shown {
        const char* Rule;
        int Diameter, Feet;
        const char* Text;
    };
    for (const Shown& s :
         {Shown{"Doyle", 50, 10, "1322.5"}, Shown{"Doyle", 6, 8, "2"},
          Shown{"Scribner", 20, 16, "272"}, Shown{"International Quarter Inch", 20, 14, "250"}}) {
        const RuleGridTexts grid = LogRuleViewerGrid(ReadLogRule(Bundled().LogRules() / s.Rule));
        EXPECT_EQ(grid.Cells[At(s.Diameter - 6)][At((s.Feet - 8) / 2)], s.Text) << s.Rule;
    }
}

PriceCells AllPrices(const char* text) {
    PriceCells cells;
    for (auto& row : cells) {
        row.fill(text);
    }
    return cells;
}

RoundwoodProductSet Roundwood(const char* name) {
    return ReadRoundwoodProducts(Bundled().Roundwood() / name);
}

// Rows 7 to 10 as the roundwood set chosen last names them; the prices typed stay, but for the
// cull row of a set without cull penalty, which stores zeros.
TEST(PriceSetCells, RowsSevenToTenFollowTheRoundwoodSet) {
    RoundwoodProductSet noCull = Roundwood("Northern Roundwood");
    noCull.CullHandling = noCull.CullUnits = "none";
    struct Case {
        PriceRowHeads Heads;
        std::vector<std::string> Names, Units;
        double CullPrice;
    };
    const Case cases[] = {
        {PriceRowHeadsWithoutRoundwood(), {"", "", "", ""}, {"", "", "", ""}, 7},
        {PriceRowHeadsFor(Roundwood("Northern Roundwood")),
         {"Pulpwood", "Bolts", "Fuelwood", "Cull"},
         {"Cords", "Cords", "Tons", "Cubic Feet"},
         7},
        {PriceRowHeadsFor(noCull),
         {"Pulpwood", "Bolts", "Fuelwood", "none"},
         {"Cords", "Cords", "Tons", "none"},
         0},
    };
    PriceCells cells = AllPrices("7");
    cells[3][2] = "450.25"; // row 4 "#1 Sawlog", 12 ft
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> bytes = PriceSetFromCells(c.Heads, cells, false).Encode();
        ASSERT_EQ(bytes.size(), 1040U);
        const ByteReader reader(bytes);
        EXPECT_EQ(reader.F64(392), 450.25);
        EXPECT_EQ(reader.ShortString(3 * 104, 30) + reader.ShortString(3 * 104 + 31, 30),
                  "#1 SawlogMBF");
        for (int r = 7; r <= 10; ++r) {
            const std::size_t row = At(r - 1) * 104;
            EXPECT_EQ(reader.ShortString(row, 30), c.Names[At(r - 7)]);
            EXPECT_EQ(reader.ShortString(row + 31, 30), c.Units[At(r - 7)]);
            EXPECT_EQ(reader.F64(row + 64 + 32), r == 10 ? c.CullPrice : 7.0) << r;
        }
        const RuleGridTexts grid = PriceEditorGrid(c.Heads);
        EXPECT_EQ(grid.Cells[9][0], c.Names[3]);
        EXPECT_EQ(grid.Cells[9][2], c.CullPrice == 0 ? "0" : "");
        EXPECT_NO_THROW(PriceSet::Check(bytes, FieldCheck("prices")));
    }
    EXPECT_EQ(PriceEditorGrid(PriceRowHeadsWithoutRoundwood()).Cells[0],
              (std::vector<std::string>{"Prime Veneer", "MBF", "", "", "", "", ""}));
}

// Whatever the editor stores a market converts; what it refuses a market would refuse.
TEST(PriceSetCells, PricesMustFitTheWholeDollarTable) {
    const std::string holds = "; the whole-dollar price table holds -32768 to 32767";
    struct Case {
        int Row; // 1 to 10
        const char* Units;
        const char* Text;
        std::string Message;
    };
    const Case cases[] = {
        {4, "MBF", "abc",
         "Row 4 (#1 Sawlog), 12 ft logs: 'abc' is not a valid floating point value"},
        {1, "MBF", "32767", "accepted"},
        {1, "MBF", "32767.5", // halves to even: 32768
         "Row 1 (Prime Veneer), 12 ft logs: '32767.5' makes 32768 dollars per thousand board feet" +
             holds},
        {7, "Cubic Feet", "250",
         "Row 7 (P), 12 ft logs: '250' per Cubic Feet makes 35000 dollars per 140 cubic feet" +
             holds},
        {7, "Cubic Feet", "234.5", "accepted"}, // 234 x 140 = 32760
        {8, "Cords", "16383.5",
         "Row 8 (P), 12 ft logs: '16383.5' per Cords makes 32768 dollars per 140 cubic feet" +
             holds},
        {10, "Cubic Meters", "1e300",
         "Row 10 (P), 12 ft logs: '1e300' per Cubic Meters makes 4e+300 dollars per 140 cubic "
         "feet" +
             holds},
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
        PriceSet set = PriceSetFromCells(heads, AllPrices("1"), false);
        if (const auto price = ParseDecimal(c.Text)) {
            set.Rows[At(c.Row - 1)].Prices[2] = *price;
            bool converted = true;
            try {
                (void)ConvertPriceSet(set, "typed");
            } catch (const VarnokError&) {
                converted = false;
            }
            EXPECT_EQ(converted, message == "accepted") << c.Text;
        }
        if (message != "accepted") {
            EXPECT_EQ(std::pair(row, column), std::pair(c.Row - 1, 4)) << c.Text;
        }
    }
}

TEST(PriceSetCells, FractionsOfCubicFeetPricesAreWarnedOf) {
    PriceRowHeads heads = PriceRowHeadsFor(Roundwood("Appalachian Roundwood"));
    heads.Units[7] = "Cubic Feet"; // row 8 "Tie Logs"
    PriceCells cells = AllPrices("1");
    EXPECT_EQ(CubicFeetFractionWarning(PriceSetFromCells(heads, cells, false)), std::nullopt);
    cells[0][0] = "0.5"; // per MBF
    cells[6][0] = "0.5"; // "Pulpwood" in tons
    cells[7][1] = "2.5";
    cells[9][0] = "0,4";
    cells[9][4] = "-0.4";
    EXPECT_EQ(CubicFeetFractionWarning(PriceSetFromCells(heads, cells, true)),
              "Prices in Cubic Feet are rounded to whole dollars before they are charged per cubic "
              "foot:\nRow 8 (Tie Logs), 10 ft logs: 2.5 counts as 2.\nRow 10 (Cull), 8 ft logs: "
              "0.4 counts as 0.\nRow 10 (Cull), 16 ft logs: -0.4 counts as 0.");
}

TEST(PriceSetCells, ViewerTextsOfTheBundledSets) {
    EXPECT_EQ(PriceViewerGrid().ColumnHeads,
              (std::vector<std::string>{"Product", "Units", "8", "10", "12", "14", "16"}));
    EXPECT_EQ(PriceViewerGrid().Cells,
              std::vector<std::vector<std::string>>(10, std::vector<std::string>(7)));
    struct Row {
        const char* Set;
        int Row;
        std::vector<std::string> Shown;
    };
    const Row rows[] = {
        {"Appalachian Doyle", 1, {"Prime Veneer", "MBF", "1080", "1140", "1200", "1200", "1200"}},
        {"Appalachian Doyle", 10, {"Cull", "Cubic Feet", "1", "1", "1", "1", "1"}},
        {"Lake States Scribner", 7, {"Pulpwood", "Cords", "75", "75", "75", "75", "75"}},
        {"Northern International", 9, {"Fuelwood", "Tons", "15", "15", "15", "15", "15"}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(PriceViewerGrid(ReadPriceSet(Bundled().Prices() / r.Set)).Cells[At(r.Row - 1)],
                  r.Shown)
            << r.Set;
    }
    PriceSet set;
    set.Rows[2].Prices[4] = 12.125;
    EXPECT_EQ(PriceViewerGrid(set).Cells[2][6], "12.125");
}

} // namespace
} // namespace varnok
