// What the sawlog grading rule viewer and the full-matrix printout show of a rule set.

#include "grading/SawlogRulesView.h"

#include <gtest/gtest.h>

#include <bit>
#include <stdexcept>

namespace varnok {
namespace {

std::filesystem::path BundledSawGrades(const std::string& name) {
    return std::filesystem::path(VARNOK_TEST_DATA_DIR) / ".." / ".." / "data" / "SawGrades" / name;
}

SawlogRuleCell UsedCell(int grade) {
    SawlogRuleCell cell;
    cell.GradeNumber = static_cast<std::uint8_t>(grade);
    cell.MinDiameter = 8;
    cell.MaxDiameter = 12;
    cell.MinLength = 8;
    cell.MaxLength = 16;
    cell.ClearCuttingCode = 2;
    cell.MaxClearCuttings = 1;
    cell.YieldFraction = 0.5F;
    return cell;
}

// Column `column` of `grade`'s grid, rows 0 to 8.
std::vector<std::string> GridColumn(const SawlogRuleSet& rules, int grade, std::size_t column) {
    const auto grid = SawlogGradeGrid(rules, grade);
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < kSawlogRowCount; ++row) {
        texts.push_back(grid[row][column]);
    }
    return texts;
}

TEST(SawlogViewer, GradeListFollowsTheFirstCellOfEachGrade) {
    struct Case {
        std::uint8_t grade2;
        std::uint8_t grade3;
        std::vector<int> listed;
    };
    const Case cases[] = {
        {0, 0, {1}},       {2, 0, {1, 2}},
        {2, 3, {1, 2, 3}}, {0, 3, {1, 3}}, // each grade is asked for by its own cell alone
        {3, 2, {1}},                       // a cell holding another grade's number lists nothing
        {1, 1, {1}},
    };
    for (const Case& c : cases) {
        SawlogRuleSet rules;
        rules.Cell(2, 1, 1).GradeNumber = c.grade2;
        rules.Cell(3, 1, 1).GradeNumber = c.grade3;
        EXPECT_EQ(SawlogViewerGrades(rules), c.listed) << int(c.grade2) << " " << int(c.grade3);
    }
}

TEST(SawlogViewer, CellTextsOfEveryField) {
    struct Case {
        void (*set)(SawlogRuleCell&);
        std::size_t row;
        std::string text;
    };
    const Case cases[] = {
        {[](SawlogRuleCell& c) { c.MinDiameter = 8, c.MaxDiameter = 8; }, 0, "8 to 8"},
        {[](SawlogRuleCell& c) { c.MinDiameter = 20, c.MaxDiameter = 50; }, 0, "20 to 50"},
        {[](SawlogRuleCell& c) { c.ButtLogsOnly = 1; }, 1, "yes"},
        {[](SawlogRuleCell& c) { c.ButtLogsOnly = 7; }, 1, "yes"}, // any byte but 0
        {[](SawlogRuleCell& c) { c.MinLength = 10, c.MaxLength = 14; }, 2, "10 to 14"},
        {[](SawlogRuleCell& c) { c.ClearCuttingCode = 7; }, 3, "7"},
        {[](SawlogRuleCell& c) { c.ClearCuttingCode = 11; }, 3, "1 Face"},
        {[](SawlogRuleCell& c) { c.ClearCuttingCode = 14; }, 3, "4 Face"},
        {[](SawlogRuleCell& c) { c.ClearCuttingCode = 10; }, 3, "10"},
        {[](SawlogRuleCell& c) { c.MaxClearCuttings = 99; }, 4, "99"},
        {[](SawlogRuleCell& c) { c.YieldFraction = std::bit_cast<float>(0x3F2AAAABU); }, 5, "0.67"},
        {[](SawlogRuleCell& c) { c.YieldFraction = std::bit_cast<float>(0x3F555555U); }, 5, "0.83"},
        {[](SawlogRuleCell& c) { c.MaxSweepUnder25 = 0.3F; }, 6, "0.30"},
        {[](SawlogRuleCell& c) { c.MaxSweepOver25 = 0.05F; }, 7, "0.05"},
        {[](SawlogRuleCell& c) { c.MaxDeduction = 1.0F; }, 8, "1.00"},
        {[](SawlogRuleCell& c) { c.MaxDeduction = 0.125F; }, 8, "0.12"}, // halves to even
    };
    for (const Case& c : cases) {
        SawlogRuleSet rules;
        rules.Cell(2, 3, 2) = UsedCell(2);
        c.set(rules.Cell(2, 3, 2));
        EXPECT_EQ(GridColumn(rules, 2, 1)[c.row], c.text) << c.text;
    }
}

TEST(SawlogViewer, CellsInUseTakeTheNextColumn) {
    SawlogRuleSet rules;
    for (const auto& [d, l] : {std::pair{1, 1}, {1, 3}, {3, 2}}) {
        rules.Cell(1, d, l) = UsedCell(1);
        rules.Cell(1, d, l).MinDiameter = static_cast<std::uint8_t>(10 * d + l);
        rules.Cell(1, d, l).MaxDiameter = static_cast<std::uint8_t>(10 * d + l);
    }
    rules.Cell(1, 2, 1).MinDiameter = 40; // not in use: skipped although it holds values
    rules.Cell(1, 2, 2).GradeNumber = 3;  // in use under another grade's number: shown
    const auto grid = SawlogGradeGrid(rules, 1);
    ASSERT_EQ(grid.size(), 10U);
    for (const auto& row : grid) {
        ASSERT_EQ(row.size(), 10U);
    }
    const std::vector<std::string> expected = {
        "Diameter Range", "11 to 11", "13 to 13", "0 to 0", "32 to 32", "", "", "", "", ""};
    EXPECT_EQ(grid[0], expected);
    const std::vector<std::string> labels(SawlogRowLabels().begin(), SawlogRowLabels().end());
    for (std::size_t row = 0; row < kSawlogRowCount; ++row) {
        EXPECT_EQ(grid[row][0], labels[row]);
    }
    EXPECT_EQ(labels.back(), "Max Cull %");
    EXPECT_EQ(labels[6], "Max Sweep % (<1/4)");
    EXPECT_EQ(grid[9], std::vector<std::string>(10));

    const auto columns = SawlogGradeColumns(rules, 1);
    ASSERT_EQ(columns.size(), 4U);
    EXPECT_EQ(columns[2].DiameterSet, 2);
    EXPECT_EQ(columns[2].LengthVariation, 2);
    EXPECT_THROW((void)SawlogGradeGrid(rules, 0), std::out_of_range);
    EXPECT_THROW((void)SawlogGradeColumns(rules, 4), std::out_of_range);
}

TEST(SawlogFullMatrix, FactoryGradesLineByLine) {
    const SawlogRuleSet factory =
        ReadSawlogRuleSet(BundledSawGrades("Factory Grades"), RecordChoice::First);
    const std::vector<std::string> expected = {
        "Saw Grading Rules Full Matrix",
        "Market : Appalachian Doyle",
        "Sawlog Grading Rule : Factory Grades",
        "",
        "Grade 1",
        "Cell                    1.1.1     1.2.1     1.3.1",
        "Diameter Range       13 to 15  16 to 19  20 to 50",
        "Butts Only                yes        no        no",
        "Log Lengths          10 to 16  10 to 16  10 to 16",
        "CC Min Length               7         5         3",
        "CC Max Number               2         2         2",
        "Yield                    0.83      0.83      0.83",
        "Max Sweep % (<1/4)       0.15      0.15      0.15",
        "Max Sweep % (>1/4)       0.10      0.10      0.10",
        "Max Cull %               0.40      0.40      0.40",
        "",
        "Grade 2",
        "Cell                    2.1.1     2.2.1     2.3.1",
        "Diameter Range       10 to 10  11 to 11  12 to 50",
        "Butts Only                 no        no        no",
        "Log Lengths           8 to 16   8 to 16   8 to 16",
        "CC Min Length               7         3         3",
        "CC Max Number               2         2         3",
        "Yield                    0.83      0.67      0.67",
        "Max Sweep % (<1/4)       0.30      0.30      0.30",
        "Max Sweep % (>1/4)       0.20      0.20      0.20",
        "Max Cull %               0.50      0.50      0.50",
        "",
        "Grade 3",
        "Cell                    3.1.1",
        "Diameter Range        8 to 50",
        "Butts Only                 no",
        "Log Lengths           8 to 16",
        "CC Min Length               2",
        "CC Max Number              99",
        "Yield                    0.50",
        "Max Sweep % (<1/4)       0.50",
        "Max Sweep % (>1/4)       0.35",
        "Max Cull %               0.50",
    };
    EXPECT_EQ(SawlogFullMatrixLines(factory, "Appalachian Doyle", "Factory Grades"), expected);

    // Faces mode names the faces; grade 3 has two length variations in its second set.
    const SawlogRuleSet faces =
        ReadSawlogRuleSet(BundledSawGrades("Clear Faces"), RecordChoice::First);
    EXPECT_EQ(GridColumn(faces, 1, 1)[3], "3 Face");
    EXPECT_EQ(SawlogGradeGrid(faces, 3)[2],
              (std::vector<std::string>{"Log Lengths", "8 to 16", "8 to 10", "12 to 16", "", "", "",
                                        "", "", ""}));
}

TEST(SawlogFullMatrix, AGradeWithoutACellInUseSaysSo) {
    SawlogRuleSet rules; // grade 1 is always listed, even with cell (1, 1, 1) not in use
    rules.Cell(3, 1, 1) = UsedCell(3);
    const auto lines = SawlogFullMatrixLines(rules, "M", "R");
    const std::vector<std::string> tail(lines.begin() + 3, lines.begin() + 8);
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "", "Grade 1", "No rule cell of this grade is in use.", "", "Grade 3"}));
}

} // namespace
} // namespace varnok
