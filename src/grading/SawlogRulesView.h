#pragma once

#include "grading/SawlogRules.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// What the sawlog grading rule viewer and the full-matrix printout show of a rule set. Pure
// texts: no file is opened here, and nothing fails (the grids show whatever the record holds).

// The grades the viewer lists, in order: 1 always, then 2 when cell (2, 1, 1) holds grade
// number 2, then 3 when cell (3, 1, 1) holds grade number 3. So a grade can be missing from
// the middle of the list; each entry is the grade it shows.
std::vector<int> SawlogViewerGrades(const SawlogRuleSet& rules);

// The viewer's grid is 10 by 10: column 0 holds the row labels, columns 1 to 9 one rule cell
// each; rows 0 to 8 hold the labels and the values, row 9 stays empty.
inline constexpr int kSawlogGridSize = 10;
inline constexpr int kSawlogRowCount = 9;

// "Diameter Range", "Butts Only", ..., "Max Cull %" (the labels say "%" though the values
// are fractions; that is how the rules are read out to buckers).
const std::array<std::string_view, kSawlogRowCount>& SawlogRowLabels();

// One rule cell in use, as a column of the grid.
struct SawlogCellColumn {
    int DiameterSet = 0;     // 1 to 3
    int LengthVariation = 0; // 1 to 3
    // "8 to 12", "yes"/"no", "8 to 16", the clear-cutting code or "1 Face" to "4 Face", the
    // cutting limit (99 = no limit), then yield, sweeps and deduction with two decimals.
    std::array<std::string, kSawlogRowCount> Rows;
};

// The cells (grade, d, l) for d = 1 to 3 and, within d, l = 1 to 3, whose GradeNumber is 1, 2
// or 3 (every other cell is skipped), each as its column. At most nine; grade is 1 to 3
// (std::out_of_range otherwise).
std::vector<SawlogCellColumn> SawlogGradeColumns(const SawlogRuleSet& rules, int grade);

// The whole grid of `grade`, [row][column], kSawlogGridSize by kSawlogGridSize: labels in
// column 0 of rows 0 to 8, the columns of SawlogGradeColumns from column 1, "" elsewhere.
std::vector<std::vector<std::string>> SawlogGradeGrid(const SawlogRuleSet& rules, int grade);

// The printed full matrix of a market's sawlog rules: a heading naming the market and the rule
// file, then for each grade of SawlogViewerGrades a block with the rows of the viewer and one
// column per cell in use, headed "grade.diameter set.length variation" ("1.2.3"). Plain lines
// for a fixed-pitch font, without line ends.
std::vector<std::string> SawlogFullMatrixLines(const SawlogRuleSet& rules,
                                               std::string_view marketName,
                                               std::string_view ruleName);

} // namespace varnok
