#include "optimiser/Optimiser.h"

#include "support/Errors.h"

#include <algorithm>

namespace varnok {

Optimiser::Optimiser(const Tree& tree, const Market& market) : evaluator_(tree, market) {}

OptimalPattern Optimiser::OptimiseTree() {
    const SpanGrid grid(evaluator_.TheTree(), evaluator_.TheMarket().Lengths());
    const int usable = grid.Usable;
    const int longest = grid.Longest();
    // Nothing beyond the usable length is read.
    const auto used = static_cast<std::ptrdiff_t>(usable) + 1;
    std::fill(bestValue_.begin(), bestValue_.begin() + used, 0.0F);
    std::fill(bestPredecessor_.begin(), bestPredecessor_.begin() + used, 0);
    // The spans from one position reach different positions, so the order among them does not
    // matter; what settles ties is that the positions are taken in ascending order. Every span
    // is first relaxed as waste: for a span of an allowed length that is the same as relaxing
    // it with its value alone, since values are never negative.
    for (int i = 0; i <= usable; i += kCutStep) {
        const float fromHere = bestValue_[static_cast<std::size_t>(i)];
        const int last = std::min(usable, i + longest);
        for (int j = i + kCutStep; j <= last; j += kCutStep) {
            if (fromHere > bestValue_[static_cast<std::size_t>(j)]) {
                bestValue_[static_cast<std::size_t>(j)] = fromHere;
                bestPredecessor_[static_cast<std::size_t>(j)] = i;
            }
        }
        // A span is valued against what it must beat to improve its end, so the engine skips
        // the grades that could not; its value is exact whenever it does improve the end.
        for (const int length : grid.Lengths) {
            const int j = i + length;
            if (j > usable) {
                break;
            }
            const ValueBar bar{static_cast<double>(fromHere),
                               static_cast<double>(bestValue_[static_cast<std::size_t>(j)])};
            const double total = static_cast<double>(fromHere) +
                                 static_cast<double>(varnok::SpanValue(evaluator_, i, j, bar));
            if (total > static_cast<double>(bestValue_[static_cast<std::size_t>(j)])) {
                bestValue_[static_cast<std::size_t>(j)] = static_cast<float>(total);
                bestPredecessor_[static_cast<std::size_t>(j)] = i;
            }
        }
    }
    OptimalPattern pattern;
    pattern.UsableLength = usable;
    pattern.TotalValue = bestValue_[static_cast<std::size_t>(usable)];
    if (usable == 0) {
        return pattern;
    }
    for (int p = usable; p != 0; p = bestPredecessor_[static_cast<std::size_t>(p)]) {
        pattern.Cuts.push_back(p);
    }
    pattern.Cuts.push_back(0);
    std::reverse(pattern.Cuts.begin(), pattern.Cuts.end());
    if (pattern.Cuts.size() > kMaxLogs + 1) {
        throw VarnokError("The best pattern has " + std::to_string(pattern.Cuts.size() - 1) +
                          " logs; at most 26 can be stored.");
    }
    return pattern;
}

} // namespace varnok
