#pragma once

#include "game/Bucking.h"
#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "tree/Tree.h"

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace varnok {

enum class Solution { Optimal, Bucker };

// A graded log's label on a comparison picture.
struct LogLabel {
    int LogIndex = 0; // the piece's index, from 1 (pieces too short to grade have no label)
    int X = 0;        // picture x of the label's centre: the log's middle
    std::array<std::string, 6> Lines;
    int MinimumWidth = 0; // pixels: 7 per character (not byte) of the longest line, and 4
};

// What the comparison window shows of one pattern.
struct PatternResult {
    PatternEvaluation Evaluation;
    std::vector<LogLabel> Labels; // one per graded piece, butt first, however many there are
    // "Optimal Solution Returns $" or "Bucker Solution Returns $" and the returns; nothing
    // when no log was graded.
    std::optional<std::string> ReturnsLine;
    // "$R - $C (cull penalty) = $N", when something was charged as cull.
    std::optional<std::string> NetLine;
    int NetLineMinimumWidth = 0; // pixels: 6 per character; 0 without a net line
};

// Evaluates a pattern (cut positions in inches, butt and top included) of a loaded tree and
// lays out its labels for a picture whose butt lies at x `buttX` (a cut at p inches is drawn at
// buttX + p). Throws VarnokError for a pattern EvaluatePattern refuses, the empty pattern of a
// tree with no stored optimum included: the caller says so in words instead. With
// GradeReasons::Record every piece also carries the reasons for its grades.
PatternResult ComparePattern(const Tree& tree, const Market& market, Solution solution,
                             std::span<const int> inches, int buttX,
                             GradeReasons reasons = GradeReasons::Skip);

// Tree `treeNumber`'s optimal pattern in the market's optimal cuts `optmcuts`, checked against
// the loaded tree. Never throws: a file that cannot be read, an entry that does not fit the
// stem and an entry never computed give no cuts and the words for the comparison window.
// Read once per tree load and market change, so a pattern never outlives its market.
StoredOptimum ReadStoredOptimum(const std::filesystem::path& optmcuts, int treeNumber,
                                const Tree& tree);

// "Optimal Solution Returns $" (or "Bucker ...") and the amount with two decimals, right-aligned
// in at least five characters.
std::string ReturnsLine(Solution solution, double returns);

} // namespace varnok
