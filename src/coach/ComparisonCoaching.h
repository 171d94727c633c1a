#pragma once

#include "coach/Coach.h"
#include "game/Comparison.h"
#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "tree/Tree.h"

#include <span>
#include <string>
#include <vector>

namespace varnok {

// What one of the bucker's inner cuts costs, as its label under the bucker's stem.
struct CutCostLabel {
    int Position = 0;  // inches from the butt
    int X = 0;         // picture x of the label's centre: the cut's own x
    double Cost = 0.0; // dollars: Coach::CutCosts of the bucker's pattern, never negative
    // "−$8.63" (a real minus sign, U+2212, in UTF-8) with two decimals; "$0.00" for a cut that
    // costs nothing to the cent.
    std::string Text;
    bool Costliest = false; // the one cut CostliestCut picks; none when no cut costs anything
};

// The coaching a comparison shows on the bucker's picture: under every inner cut what it
// costs, the cuts that would complete the pattern best drawn dashed, and a legend line saying
// how to read both.
struct ComparisonCoaching {
    std::vector<CutCostLabel> CutCosts; // one per inner cut of the bucker's, butt first
    // Inches: what the best completion adds, ascending, but for a cut at the usable length
    // (the stub above it is waste either way).
    std::vector<int> AddedCuts;
    std::vector<int> AddedCutPixels; // picture x of the same cuts
    std::string Legend;
};

// Coaches the bucker's pattern `inches` (butt and top included, 2 to 27 positions, strictly
// ascending, ending at the stem length) through the tree's `coach`, for a picture whose butt
// lies at x `buttX`. Throws VarnokError for a pattern the Coach refuses, and what the engine
// throws.
ComparisonCoaching CoachComparison(Coach& coach, std::span<const int> inches, int buttX);

// The piece (from 1, butt first) of the pattern `inches` drawn with its butt at x `buttX` that
// lies under picture x `pictureX`. A piece reaches from its lower cut up to, not including,
// its upper cut, and the last one includes the top. 0 when `pictureX` lies beside the stem or
// the pattern has no piece.
int PieceAtX(std::span<const int> inches, int buttX, double pictureX);

// Why a piece of a compared pattern took its grade, as "Why This Grade" shows it.
struct GradeExplanationText {
    // Whose log it is, where it lies and what it sold as, e.g. "Bucker's log 2, 200 to 392
    // in.: 16' #2 Sawlog".
    std::string Heading;
    // The piece's reasons, one ReasonLine each, best product first; empty when the pattern was
    // compared without them.
    std::vector<std::string> Lines;
};

GradeExplanationText ExplainPiece(Solution solution, const EvaluatedPiece& piece);

} // namespace varnok
