#pragma once

#include "engine/LogEvaluator.h"
#include "market/Market.h"
#include "market/OptimalCuts.h"
#include "tree/Tree.h"

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace varnok {

// One piece of a pattern (the stretch between two consecutive cuts) as the engine sees it.
struct EvaluatedPiece {
    int Index = 0; // from 1, butt first
    EvaluatedLog Log;
    std::string ProductName;
    std::array<std::string, 6> LabelLines; // empty for a piece that was not graded
    float RunningReturns = 0.0F;           // returns up to and including this piece, dollars
    // Why the piece took its grades and product (see ExplainedLog); empty unless the pattern
    // was evaluated with reasons.
    std::vector<GradeReason> Reasons;
};

// Whether a pattern evaluation records the reasons for each piece's grades.
enum class GradeReasons { Skip, Record };

struct PatternEvaluation {
    std::vector<EvaluatedPiece> Pieces;
    float Returns = 0.0F;     // dollars: the logs not sold as cull
    float CullPenalty = 0.0F; // dollars: the cull charges

    // The net line is shown only when something was charged as cull.
    bool ShowsNet() const { return CullPenalty > 0.0F; }
};

// Throws VarnokError unless `positions` holds 2 to 27 cut positions (inches from the butt)
// within the stem, strictly ascending; the message names the first position at fault.
void CheckPatternPositions(const Tree& tree, std::span<const int> positions);

// Cuts a loaded tree at `positions` (inches from the butt, butt and top included, 2 to 27
// entries, strictly ascending, within the stem: CheckPatternPositions) and evaluates every piece
// through the engine. A piece shorter than 8 ft plus trim is not graded and is charged as cull; a
// graded log sells in the way worth most (ties: veneer, sawlog, roundwood) or, when nothing is
// worth anything, as cull. With GradeReasons::Record each piece also gets its reasons; the
// evaluation is the same either way. Throws VarnokError for positions that break the rules above.
PatternEvaluation EvaluatePattern(const Tree& tree, const Market& market,
                                  std::span<const int> positions,
                                  GradeReasons reasons = GradeReasons::Skip);

// The optimal cuts `table` stores for tree `treeNumber`, checked against the loaded tree: empty
// when the entry is all zero. An entry whose top lies beyond the stem (a damaged file, or one
// computed from other tree files) throws FileError naming `file` and the tree, so that the fault
// is not blamed on the pattern.
std::vector<int> StoredOptimalCuts(const OptimalCutsTable& table, const std::filesystem::path& file,
                                   int treeNumber, const Tree& tree);

// The six lines of a graded log's label: nominal length and product, small-end diameter,
// sweep, sweep and total deduction in per cent, volume in its sale units, the value it sells
// for (0 for a log sold as cull).
std::array<std::string, 6> LabelLines(const Market& market, const EvaluatedLog& log,
                                      const std::string& productName);

} // namespace varnok
