#include "optimiser/SpanValues.h"

#include <algorithm>

namespace varnok {

float SpanValue(LogEvaluator& evaluator, int start, int end) {
    if (!evaluator.TheMarket().Lengths().Contains(end - start)) {
        return 0.0F;
    }
    return evaluator.ProductValue(start, end);
}

GridSpanValues::GridSpanValues(LogEvaluator& evaluator)
    : usable_(evaluator.TheTree().Stem.StemLength / kCutStep * kCutStep) {
    const LogLengthSet& set = evaluator.TheMarket().Lengths();
    std::copy(set.Lengths.begin(), set.Lengths.end(), lengths_.begin());
    std::sort(lengths_.begin(), lengths_.end());
    const int positions = usable_ / kCutStep + 1;
    values_.assign(static_cast<std::size_t>(positions * kLengthCount), 0.0F);
    for (int i = 0; i <= usable_; i += kCutStep) {
        for (int k = 0; k < kLengthCount; ++k) {
            const int end = i + lengths_[static_cast<std::size_t>(k)];
            if (end > usable_) {
                break;
            }
            values_[static_cast<std::size_t>(i / kCutStep * kLengthCount + k)] =
                SpanValue(evaluator, i, end);
        }
    }
}

} // namespace varnok
