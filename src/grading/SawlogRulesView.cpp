#include "grading/SawlogRulesView.h"

#include "support/Numbers.h"

#include <string>

namespace varnok {
namespace {

std::string Range(int low, int high) {
    return std::to_string(low) + " to " + std::to_string(high);
}

std::string ClearCuttingText(int code) {
    if (code >= 11 && code <= 14) {
        return std::to_string(code - 10) + " Face";
    }
    return std::to_string(code);
}

std::array<std::string, kSawlogRowCount> CellRows(const SawlogRuleCell& cell) {
    return {Range(cell.MinDiameter, cell.MaxDiameter), cell.ButtLogsOnly != 0 ? "yes" : "no",
            Range(cell.MinLength, cell.MaxLength),     ClearCuttingText(cell.ClearCuttingCode),
            std::to_string(cell.MaxClearCuttings),     FormatFixed(cell.YieldFraction, 2),
            FormatFixed(cell.MaxSweepUnder25, 2),      FormatFixed(cell.MaxSweepOver25, 2),
            FormatFixed(cell.MaxDeduction, 2)};
}

// The printed matrix: labels in a column as wide as the longest ("Max Sweep % (>1/4)") and a
// blank, then one right-aligned column per cell, wide enough for "50 to 50" and two blanks.
constexpr std::size_t kLabelWidth = 19;
constexpr std::size_t kValueWidth = 10;

std::string PadRight(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string MatrixLine(std::string_view label, const std::vector<std::string>& values) {
    std::string line = PadRight(std::string(label), kLabelWidth);
    for (const std::string& value : values) {
        line += PadLeft(value, kValueWidth);
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

void AppendGradeBlock(std::vector<std::string>& lines, const SawlogRuleSet& rules, int grade) {
    lines.push_back("Grade " + std::to_string(grade));
    const std::vector<SawlogCellColumn> columns = SawlogGradeColumns(rules, grade);
    if (columns.empty()) {
        lines.push_back("No rule cell of this grade is in use.");
        return;
    }
    std::vector<std::string> heads;
    for (const SawlogCellColumn& column : columns) {
        heads.push_back(std::to_string(grade) + "." + std::to_string(column.DiameterSet) + "." +
                        std::to_string(column.LengthVariation));
    }
    lines.push_back(MatrixLine("Cell", heads));
    for (std::size_t row = 0; row < kSawlogRowCount; ++row) {
        std::vector<std::string> values;
        for (const SawlogCellColumn& column : columns) {
            values.push_back(column.Rows[row]);
        }
        lines.push_back(MatrixLine(SawlogRowLabels()[row], values));
    }
}

} // namespace

std::vector<int> SawlogViewerGrades(const SawlogRuleSet& rules) {
    std::vector<int> grades = {1};
    for (const int grade : {2, 3}) {
        if (rules.Cell(grade, 1, 1).GradeNumber == grade) {
            grades.push_back(grade);
        }
    }
    return grades;
}

const std::array<std::string_view, kSawlogRowCount>& SawlogRowLabels() {
    static constexpr std::array<std::string_view, kSawlogRowCount> labels = {
        "Diameter Range",     "Butts Only",         "Log Lengths",
        "CC Min Length",      "CC Max Number",      "Yield",
        "Max Sweep % (<1/4)", "Max Sweep % (>1/4)", "Max Cull %"};
    return labels;
}

std::vector<SawlogCellColumn> SawlogGradeColumns(const SawlogRuleSet& rules, int grade) {
    std::vector<SawlogCellColumn> columns;
    for (int d = 1; d <= 3; ++d) {
        for (int l = 1; l <= 3; ++l) {
            const SawlogRuleCell& cell = rules.Cell(grade, d, l);
            if (cell.GradeNumber >= 1 && cell.GradeNumber <= 3) {
                columns.push_back({d, l, CellRows(cell)});
            }
        }
    }
    return columns;
}

std::vector<std::vector<std::string>> SawlogGradeGrid(const SawlogRuleSet& rules, int grade) {
    std::vector<std::vector<std::string>> grid(kSawlogGridSize,
                                               std::vector<std::string>(kSawlogGridSize));
    for (std::size_t row = 0; row < kSawlogRowCount; ++row) {
        grid[row][0] = SawlogRowLabels()[row];
    }
    const std::vector<SawlogCellColumn> columns = SawlogGradeColumns(rules, grade);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        for (std::size_t row = 0; row < kSawlogRowCount; ++row) {
            grid[row][c + 1] = columns[c].Rows[row];
        }
    }
    return grid;
}

std::vector<std::string> SawlogFullMatrixLines(const SawlogRuleSet& rules,
                                               std::string_view marketName,
                                               std::string_view ruleName) {
    std::vector<std::string> lines = {"Saw Grading Rules Full Matrix",
                                      "Market : " + std::string(marketName),
                                      "Sawlog Grading Rule : " + std::string(ruleName)};
    for (const int grade : SawlogViewerGrades(rules)) {
        lines.emplace_back();
        AppendGradeBlock(lines, rules, grade);
    }
    return lines;
}

} // namespace varnok
