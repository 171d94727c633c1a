#pragma once

#include "engine/LogEvaluator.h"

#include <array>
#include <cstddef>
#include <vector>

namespace varnok {

inline constexpr int kCutStep = 4;     // inches between candidate cut positions
inline constexpr int kLengthCount = 5; // allowed log lengths of a market

// The one way a span is valued for bucking: 0 unless `end` - `start` (inches) is one of the
// market's allowed lengths, else the engine's value of the log as it sells best
// (EvaluatedLog::ProductValue, dollars). Throws VarnokError for a span that does not lie on the
// stem. With a bar, a span whose value does not beat it may be given any value that does not
// beat it either (see LogEvaluator::ProductValue).
float SpanValue(LogEvaluator& evaluator, int start, int end, const ValueBar& bar = ValueBar{});

// The spans one optimisation of a tree asks the engine about: every span of an allowed length
// that starts on the 4-inch grid measured from the butt and ends at or below the usable length
// (the stem length rounded down to a multiple of 4 inches).
struct SpanGrid {
    SpanGrid(const Tree& tree, const LogLengthSet& lengths);

    int Usable = 0;                          // inches
    std::array<int, kLengthCount> Lengths{}; // the allowed lengths in inches, ascending
    int Longest() const { return Lengths.back(); }
};

// The values of every span of the grid (SpanGrid), each valued once, in ascending start and then
// ascending length.
class GridSpanValues {
public:
    // Values every such span through `evaluator` (its tree and market). Throws what the engine
    // throws.
    explicit GridSpanValues(LogEvaluator& evaluator);

    int UsableLength() const { return grid_.Usable; } // inches
    // The allowed lengths in inches, ascending.
    const std::array<int, kLengthCount>& Lengths() const { return grid_.Lengths; }
    int LongestLength() const { return grid_.Longest(); }

    // Dollars of the span from `start` (a multiple of 4 from 0 to the usable length) of the
    // allowed length `Lengths()[index]`; 0 for a span that ends beyond the usable length. No
    // range checks.
    float Value(int start, int index) const {
        return values_[static_cast<std::size_t>(start / kCutStep * kLengthCount + index)];
    }

private:
    SpanGrid grid_;
    std::vector<float> values_; // [start / 4 * 5 + length index]
};

} // namespace varnok
