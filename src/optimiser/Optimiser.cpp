#include "optimiser/Optimiser.h"

#include "support/Errors.h"

#include <algorithm>
#include <array>

namespace varnok {

Optimiser::Optimiser(const Tree& tree, const Market& market) : evaluator_(tree, market) {}

namespace {

// A candidate total below the best total known into a position by more than float rounding
// (2^-24 relative) can neither be that position's best nor change which candidate is: the
// known one still replaces it, whatever the order. Such a span's value is not needed exactly.
constexpr double kBelowKnown = 1.0 - 0x1p-22;

} // namespace

// Position j's best comes from the spans and waste pieces that end there, taken as if pushed
// from ascending starts, waste before the span of the same start: the first to reach the
// greatest total (as stored, in float) wins. The spans are valued first, shortest first, each
// against the best total already known into j (the waste pieces included, all known), so the
// engine can skip grades that could not matter.
//
// Best totals never fall along the grid, since each position can be reached from the one below
// by waste. So the waste pieces from a stretch of starts bring the stretch's last total, from
// the first start that has it, and the best waste piece into j is the one from j - 4.
void Optimiser::SettlePosition(int j, const SpanGrid& grid) {
    const int first = std::max(0, j - grid.Longest());
    double known = bestValue_[static_cast<std::size_t>(j - kCutStep)];
    std::array<float, kLengthCount> values{}; // of the span of each length into j
    for (std::size_t k = 0; k < grid.Lengths.size(); ++k) {
        const int i = j - grid.Lengths[k];
        if (i < 0) {
            break;
        }
        const double from = bestValue_[static_cast<std::size_t>(i)];
        values[k] = varnok::SpanValue(evaluator_, i, j, ValueBar{from, known * kBelowKnown});
        known = std::max(known, from + static_cast<double>(values[k]));
    }
    float best = 0.0F;
    int predecessor = 0;
    const auto wasteFrom = [&](int low, int high) { // starts low to high, on the grid
        const float top = bestValue_[static_cast<std::size_t>(high)];
        if (low > high || !(top > best)) {
            return;
        }
        while (low < high) { // the first start with the top total
            const int middle = low + (high - low) / (2 * kCutStep) * kCutStep;
            if (bestValue_[static_cast<std::size_t>(middle)] < top) {
                low = middle + kCutStep;
            } else {
                high = middle;
            }
        }
        best = top;
        predecessor = low;
    };
    int low = first;
    for (std::size_t k = grid.Lengths.size(); k-- > 0;) { // ascending starts
        const int i = j - grid.Lengths[k];
        if (i < first) {
            continue;
        }
        wasteFrom(low, i);
        const double total = static_cast<double>(bestValue_[static_cast<std::size_t>(i)]) +
                             static_cast<double>(values[k]);
        if (total > static_cast<double>(best)) {
            best = static_cast<float>(total);
            predecessor = i;
        }
        low = i + kCutStep;
    }
    wasteFrom(low, j - kCutStep);
    bestValue_[static_cast<std::size_t>(j)] = best;
    bestPredecessor_[static_cast<std::size_t>(j)] = predecessor;
}

OptimalPattern Optimiser::OptimiseTree() {
    const SpanGrid grid(evaluator_.TheTree(), evaluator_.TheMarket().Lengths());
    const int usable = grid.Usable;
    bestValue_[0] = 0.0F;
    bestPredecessor_[0] = 0;
    for (int j = kCutStep; j <= usable; j += kCutStep) {
        SettlePosition(j, grid);
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
