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
void Optimiser::SettlePosition(int j, const SpanGrid& grid) {
    const int first = std::max(0, j - grid.Longest());
    double known = 0.0; // the best total into j known exactly
    for (int i = first; i < j; i += kCutStep) {
        known = std::max(known, static_cast<double>(bestValue_[static_cast<std::size_t>(i)]));
    }
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
    std::size_t span = grid.Lengths.size(); // the span from i, counted down as i rises
    while (span > 0 && j - grid.Lengths[span - 1] < first) {
        --span;
    }
    for (int i = first; i < j; i += kCutStep) {
        const float fromHere = bestValue_[static_cast<std::size_t>(i)];
        if (fromHere > best) {
            best = fromHere;
            predecessor = i;
        }
        if (span == 0 || j - grid.Lengths[span - 1] != i) {
            continue;
        }
        --span;
        const double total = static_cast<double>(fromHere) + static_cast<double>(values[span]);
        if (total > static_cast<double>(best)) {
            best = static_cast<float>(total);
            predecessor = i;
        }
    }
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
