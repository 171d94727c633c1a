#pragma once

#include "engine/LogEvaluator.h"
#include "market/Market.h"
#include "optimiser/SpanValues.h"
#include "tree/Tree.h"

#include <array>
#include <vector>

namespace varnok {

inline constexpr int kMaxLogs = 26; // logs an optimal pattern may hold

// The most valuable pattern of a tree: its cuts from the butt to the top.
struct OptimalPattern {
    int UsableLength = 0;    // the stem length rounded down to a multiple of 4 inches
    std::vector<int> Cuts;   // 0, ..., UsableLength: one more than the logs
    float TotalValue = 0.0F; // dollars, the best chain's value
};

// Dynamic programme over cut positions every 4 inches. Each span of an allowed log length is
// valued by the engine as the best of a veneer log, a sawlog and a roundwood product (the spans
// of SpanGrid, each when the programme reaches its end); any other span is waste worth 0. A
// position keeps the first predecessor that reaches it with the strictly greatest total, the
// spans and waste pieces taken in ascending start, waste first. A span whose total could not
// matter to its end may be valued only as far as that shows (see SettlePosition): the pattern
// and its total are those of every span valued in full.
//
// Keeps references to the tree and the market: both must outlive the optimiser and stay
// unchanged. An optimiser keeps work areas and must not be used by two threads at once;
// several optimisers may share one tree and one market across threads.
class Optimiser {
public:
    Optimiser(const Tree& tree, const Market& market);

    // Throws VarnokError when the best pattern has more than 26 logs (it could not be stored).
    OptimalPattern OptimiseTree();

    // The value of the span from i to j inches (dollars), as the free SpanValue. Throws
    // VarnokError for a span that does not lie on the stem.
    float SpanValue(int i, int j) { return varnok::SpanValue(evaluator_, i, j); }

private:
    // Sets the best total and predecessor of grid position j (inches) from those below it.
    void SettlePosition(int j, const SpanGrid& grid);

    LogEvaluator evaluator_;
    // Filled up to the usable length by each optimisation before it reads them.
    std::array<float, kInchSlots> bestValue_;
    std::array<int, kInchSlots> bestPredecessor_;
};

} // namespace varnok
