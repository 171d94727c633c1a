#pragma once

#include "engine/LogEvaluator.h"
#include "market/Market.h"
#include "optimiser/SpanValues.h"
#include "tree/Tree.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace varnok {

inline constexpr int kMaxCoachCuts = 27; // cut positions of a bucker's pattern, butt and top

// One stretch between two consecutive cuts of the bucker's, completed as well as it can be.
struct CoachedGap {
    int Start = 0;          // the bucker's lower cut, inches
    int End = 0;            // the bucker's upper cut, inches (the stem length for the top)
    double BestValue = 0.0; // dollars
    // Strictly between Start and End, ascending; in the top gap of a stem whose length is not
    // a multiple of 4 inches the last one is the usable length.
    std::vector<int> AddedCuts;
};

// The most valuable pattern that keeps every one of the bucker's cuts.
struct Completion {
    double BestValue = 0.0;    // dollars: the sum of the gaps' best values
    std::vector<int> BestCuts; // the bucker's cuts and the added ones, ascending
    std::vector<CoachedGap> Gaps;
};

struct CutCost {
    int Position = 0;  // inches
    double Cost = 0.0; // dollars, never negative
};

// The index of the costliest of `costs`: the first of the greatest, the one nearest the butt
// where a bucker starts; nothing when there are no costs or none is above 0.
std::optional<std::size_t> CostliestCut(std::span<const CutCost> costs);

// Tells a bucker what the cuts of a pattern cost against the optimiser. The pattern's cuts are
// kept and cuts may be added between them: in each gap on the 4-inch grid measured from the
// gap's lower cut, valued as the optimiser values spans (SpanValue: an allowed length is worth
// what it sells best for, any other span is waste worth 0, a span is at most the longest
// allowed length). The top gap ends at the usable length (the stem length rounded down to a
// multiple of 4 inches), as the optimiser's stem does, so the butt and the top alone give the
// optimum.
//
// Building a coach values every span on the 4-inch grid from the butt once (GridSpanValues: the
// spans one optimisation asks about, each valued in full). A query is then a dynamic programme per gap over those
// values. A gap whose lower cut is not on that grid needs spans the optimiser never valued:
// they are valued on first use by the same evaluator and kept for the life of the coach.
//
// Values are summed in double, where sums of these dollar amounts are exact, so a gap's value
// does not depend on the order of the sum and a pattern that an optimal one completes loses 0.
// Within a gap the added cuts follow the optimiser's choice among equal totals: the chain whose
// last piece starts lowest wins.
//
// Cut patterns passed to a query hold 2 to 27 positions in inches: 0 first, the stem length
// last, strictly ascending; anything else throws VarnokError with a one-line message.
//
// Keeps references to the tree and the market: both must outlive the coach and stay unchanged.
// A coach keeps work areas and a cache: it must not be used by two threads at once.
class Coach {
public:
    // Throws what the engine throws.
    Coach(const Tree& tree, const Market& market);

    int StemLength() const { return stemLength_; }             // inches
    int UsableLength() const { return spans_.UsableLength(); } // inches
    // The best value with the butt and the top alone: the optimum, dollars.
    double OptimalValue() const { return optimal_; }

    // The best completion of `cuts`, gap by gap.
    Completion BestCompletion(std::span<const int> cuts);
    // The value of the best completion of `cuts`, dollars.
    double BestValue(std::span<const int> cuts);
    // The optimum minus the best completion of `cuts`, dollars; never negative.
    double Loss(std::span<const int> cuts);
    // For each inner cut, ascending: the best value without it (the others kept) minus the best
    // value with all of them, never negative.
    std::vector<CutCost> CutCosts(std::span<const int> cuts);
    // The best value of `cuts` with one more cut at `position` (inches, 0 to the stem length;
    // the value of `cuts` itself where a cut already stands). Throws VarnokError for a position
    // off the stem.
    double ValueWithCutAt(std::span<const int> cuts, int position);
    // What ValueWithCutAt gives at every position of the 4-inch grid strictly inside the stem
    // (4, 8, ... below the stem length): element i is position 4 (i + 1) inches. One forward
    // and one backward sweep per gap, where asking position by position would value each gap
    // once per position. Throws VarnokError for the cuts as the other queries do.
    std::vector<double> GridValuesWithCut(std::span<const int> cuts);

private:
    // The best value of the gap from `start` to `upper` (a cut of the pattern; the top gap is
    // valued to the usable length). With `added`, the cuts the best chain adds are appended.
    template <bool Trace> double GapValue(int start, int upper, std::vector<int>* added);
    // The end a gap reaching up to the cut `upper` is valued to.
    int GapEnd(int upper) const;
    // Dollars of the span from `start` of the allowed length of `index`.
    float Span(int start, int index);
    // suffix_[i] := the best value from 4 i inches up to the cut `upper`, for every grid
    // position from `lowest` (a multiple of 4) to the gap's end.
    void SuffixValues(int lowest, int upper);
    void CheckCuts(std::span<const int> cuts) const;
    std::vector<double> GapValues(std::span<const int> cuts);

    LogEvaluator evaluator_;
    int stemLength_ = 0;
    GridSpanValues spans_;
    // Spans starting 1, 2 or 3 inches off the grid from the butt, [offset - 1][start / 4 * 5 +
    // length index]; negative until valued, empty until a gap needs one.
    std::array<std::vector<float>, kCutStep - 1> offGrid_;
    // Work areas of a gap's programme, by step from the gap's lower cut.
    std::vector<double> best_;
    std::vector<int> plateau_;     // the first step whose best equals this step's
    std::vector<int> predecessor_; // the step the best chain's last piece starts at
    std::vector<double> suffix_;   // by grid position from the butt, see SuffixValues
    double optimal_ = 0.0;
};

} // namespace varnok
