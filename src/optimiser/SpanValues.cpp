#include "optimiser/SpanValues.h"

#include <algorithm>

namespace varnok {

float SpanValue(LogEvaluator& evaluator, int start, int end, const ValueBar& bar) {
    if (!evaluator.TheMarket().Lengths().Contains(end - start)) {
        return 0.0F;
    }
    return evaluator.ProductValue(start, end, bar);
}

SpanGrid::SpanGrid(const Tree& tree, const LogLengthSet& lengths)
    : Usable(tree.Stem.StemLength / kCutStep * kCutStep) {
    std::copy(lengths.Lengths.begin(), lengths.Lengths.end(), Lengths.begin());
    std::sort(Lengths.begin(), Lengths.end());
}

GridSpanValues::GridSpanValues(LogEvaluator& evaluator)
    : grid_(evaluator.TheTree(), evaluator.TheMarket().Lengths()) {
    const int usable = grid_.Usable;
    const int positions = usable / kCutStep + 1;
    values_.assign(static_cast<std::size_t>(positions * kLengthCount), 0.0F);
    for (int i = 0; i <= usable; i += kCutStep) {
        for (int k = 0; k < kLengthCount; ++k) {
            const int end = i + grid_.Lengths[static_cast<std::size_t>(k)];
            if (end > usable) {
                break;
            }
            values_[static_cast<std::size_t>(i / kCutStep * kLengthCount + k)] =
                SpanValue(evaluator, i, end);
        }
    }
}

} // namespace varnok
