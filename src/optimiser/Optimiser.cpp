#include "optimiser/Optimiser.h"

#include "support/Errors.h"

#include <algorithm>

namespace varnok {

Optimiser::Optimiser(const Tree& tree, const Market& market)
    : tree_(tree), market_(market), evaluator_(tree, market) {}

float Optimiser::SpanValue(int i, int j) {
    if (!market_.Lengths().Contains(j - i)) {
        return 0.0F;
    }
    return evaluator_.EvaluateLog(i, j).ProductValue;
}

OptimalPattern Optimiser::OptimiseTree() {
    const int usable = tree_.Stem.StemLength / kCutStep * kCutStep;
    const int longest = market_.Lengths().MaxLength;
    bestValue_.fill(0.0F);
    bestPredecessor_.fill(0);
    // Each position's best total is final once every span ending there has been seen, so the
    // spans are valued and relaxed in one sweep, in the same order as building every span
    // list first and passing over them afterwards.
    // Which spans of k steps of 4 inches are allowed log lengths; the others are waste worth 0.
    std::array<bool, kInchSlots / kCutStep + 1> allowed{};
    for (int k = 1; k * kCutStep <= longest; ++k) {
        allowed[static_cast<std::size_t>(k)] = market_.Lengths().Contains(k * kCutStep);
    }
    for (int i = 0; i <= usable; i += kCutStep) {
        const double fromHere = bestValue_[static_cast<std::size_t>(i)];
        for (int j = i + kCutStep; j <= usable && j - i <= longest; j += kCutStep) {
            const bool log = allowed[static_cast<std::size_t>((j - i) / kCutStep)];
            const float value = log ? evaluator_.EvaluateLog(i, j).ProductValue : 0.0F;
            const double total = fromHere + static_cast<double>(value);
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
