#include "coach/Coach.h"

#include "support/Errors.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace varnok {
namespace {

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

} // namespace

Coach::Coach(const Tree& tree, const Market& market)
    : evaluator_(tree, market), stemLength_(tree.Stem.StemLength), spans_(evaluator_) {
    const std::size_t steps = At(stemLength_ / kCutStep + 2);
    best_.assign(steps, 0.0);
    plateau_.assign(steps, 0);
    predecessor_.assign(steps, 0);
    suffix_.assign(steps, 0.0);
    optimal_ = GapValue<false>(0, stemLength_, nullptr);
}

int Coach::GapEnd(int upper) const {
    return upper == stemLength_ ? spans_.UsableLength() : upper;
}

float Coach::Span(int start, int index) {
    const int offset = start % kCutStep;
    if (offset == 0) {
        return spans_.Value(start, index);
    }
    std::vector<float>& cache = offGrid_[At(offset - 1)];
    if (cache.empty()) {
        cache.assign(At((stemLength_ / kCutStep + 1) * kLengthCount),
                     std::numeric_limits<float>::quiet_NaN());
    }
    float& value = cache[At(start / kCutStep * kLengthCount + index)];
    if (std::isnan(value)) {
        value = SpanValue(evaluator_, start, start + spans_.Lengths()[At(index)]);
    }
    return value;
}

// Steps 0 .. steps - 1 lie on the grid from `start`; the last step is the gap's end, on the
// grid or not. A span of waste is worth 0 and values are never negative, so the best total
// never falls from one step to the next: the best of all the waste spans reaching a step is the
// previous step's, and among equal totals the first in reach (the plateau's start) is the one
// the optimiser keeps.
template <bool Trace> double Coach::GapValue(int start, int upper, std::vector<int>* added) {
    const int end = GapEnd(upper);
    if (end <= start) {
        return 0.0;
    }
    const int steps = (end - start + kCutStep - 1) / kCutStep;
    const int longest = spans_.LongestLength();
    const std::array<int, kLengthCount>& lengths = spans_.Lengths();
    best_[0] = 0.0;
    plateau_[0] = 0;
    predecessor_[0] = 0;
    for (int t = 1; t <= steps; ++t) {
        const int p = t < steps ? start + t * kCutStep : end;
        const bool onGrid = (p - start) % kCutStep == 0;
        if constexpr (!Trace) {
            double best = best_[At(t - 1)];
            for (int k = 0; onGrid && k < kLengthCount; ++k) {
                const int from = p - lengths[At(k)];
                if (from < start) {
                    break;
                }
                best = std::max(best, best_[At((from - start) / kCutStep)] +
                                          static_cast<double>(Span(from, k)));
            }
            best_[At(t)] = best;
        } else {
            const int reach = p - start - longest;
            const int firstInReach = reach <= 0 ? 0 : (reach + kCutStep - 1) / kCutStep;
            const int waste = std::max(plateau_[At(t - 1)], firstInReach);
            double best = 0.0;
            int from = 0;
            const auto offer = [&](int step, double total) {
                if (total > best) {
                    best = total;
                    from = step;
                }
            };
            bool wasteOffered = false;
            for (int k = kLengthCount - 1; onGrid && k >= 0; --k) {
                const int s = p - lengths[At(k)];
                if (s < start) {
                    continue;
                }
                const int step = (s - start) / kCutStep;
                if (!wasteOffered && waste < step) {
                    offer(waste, best_[At(t - 1)]);
                    wasteOffered = true;
                }
                offer(step, best_[At(step)] + static_cast<double>(Span(s, k)));
            }
            if (!wasteOffered) {
                offer(waste, best_[At(t - 1)]);
            }
            best_[At(t)] = best;
            predecessor_[At(t)] = from;
            plateau_[At(t)] = best == best_[At(t - 1)] ? plateau_[At(t - 1)] : t;
        }
    }
    if constexpr (Trace) {
        const std::size_t first = added->size();
        // The optimiser's stem ends at the usable length: the stub above it is cut off.
        if (end < upper) {
            added->push_back(end);
        }
        for (int t = predecessor_[At(steps)]; t != 0; t = predecessor_[At(t)]) {
            added->push_back(start + t * kCutStep);
        }
        std::reverse(added->begin() + static_cast<std::ptrdiff_t>(first), added->end());
    }
    return best_[At(steps)];
}

void Coach::CheckCuts(std::span<const int> cuts) const {
    if (cuts.size() < 2 || cuts.size() > kMaxCoachCuts) {
        throw VarnokError("A pattern needs 2 to 27 cut positions (butt and top included), not " +
                          std::to_string(cuts.size()) + ".");
    }
    // Order first: a cut out of order is the fault to name, not the end it happens to leave.
    for (std::size_t k = 1; k < cuts.size(); ++k) {
        if (cuts[k] <= cuts[k - 1]) {
            throw VarnokError("Cut positions must ascend: " + std::to_string(cuts[k]) +
                              " follows " + std::to_string(cuts[k - 1]) + ".");
        }
    }
    if (cuts.front() != 0 || cuts.back() != stemLength_) {
        throw VarnokError("The cuts must start at 0 and end at the stem length (" +
                          std::to_string(stemLength_) + " inches); these run from " +
                          std::to_string(cuts.front()) + " to " + std::to_string(cuts.back()) +
                          ".");
    }
}

std::vector<double> Coach::GapValues(std::span<const int> cuts) {
    CheckCuts(cuts);
    std::vector<double> values;
    values.reserve(cuts.size() - 1);
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        values.push_back(GapValue<false>(cuts[k], cuts[k + 1], nullptr));
    }
    return values;
}

namespace {

double Sum(const std::vector<double>& values) {
    double sum = 0.0;
    for (const double value : values) {
        sum += value;
    }
    return sum;
}

} // namespace

Completion Coach::BestCompletion(std::span<const int> cuts) {
    CheckCuts(cuts);
    Completion completion;
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        CoachedGap gap;
        gap.Start = cuts[k];
        gap.End = cuts[k + 1];
        gap.BestValue = GapValue<true>(gap.Start, gap.End, &gap.AddedCuts);
        completion.BestValue += gap.BestValue;
        completion.BestCuts.push_back(gap.Start);
        completion.BestCuts.insert(completion.BestCuts.end(), gap.AddedCuts.begin(),
                                   gap.AddedCuts.end());
        completion.Gaps.push_back(std::move(gap));
    }
    completion.BestCuts.push_back(cuts.back());
    return completion;
}

std::optional<std::size_t> CostliestCut(std::span<const CutCost> costs) {
    const auto costliest =
        std::max_element(costs.begin(), costs.end(),
                         [](const CutCost& a, const CutCost& b) { return a.Cost < b.Cost; });
    if (costliest == costs.end() || costliest->Cost <= 0.0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(costliest - costs.begin());
}

double Coach::BestValue(std::span<const int> cuts) {
    return Sum(GapValues(cuts));
}

double Coach::Loss(std::span<const int> cuts) {
    return std::max(0.0, optimal_ - Sum(GapValues(cuts)));
}

std::vector<CutCost> Coach::CutCosts(std::span<const int> cuts) {
    const std::vector<double> gaps = GapValues(cuts);
    std::vector<CutCost> costs;
    costs.reserve(cuts.size() - 2);
    for (std::size_t k = 1; k + 1 < cuts.size(); ++k) {
        const double without = GapValue<false>(cuts[k - 1], cuts[k + 1], nullptr);
        costs.push_back({cuts[k], std::max(0.0, without - gaps[k - 1] - gaps[k])});
    }
    return costs;
}

double Coach::ValueWithCutAt(std::span<const int> cuts, int position) {
    const std::vector<double> gaps = GapValues(cuts);
    if (position < 0 || position > stemLength_) {
        throw VarnokError("The extra cut at " + std::to_string(position) +
                          " lies outside the stem (0 to " + std::to_string(stemLength_) +
                          " inches).");
    }
    const double total = Sum(gaps);
    const auto above = std::upper_bound(cuts.begin(), cuts.end(), position);
    if (above == cuts.end() || *(above - 1) == position) {
        return total;
    }
    const std::size_t k = static_cast<std::size_t>(above - cuts.begin()) - 1;
    return total - gaps[k] + GapValue<false>(cuts[k], position, nullptr) +
           GapValue<false>(position, cuts[k + 1], nullptr);
}

// The mirror of the forward programme: a gap valued from its upper end down. A start takes
// the best of leaving 4 inches as waste and of each allowed length that still ends within the
// gap. Sums of these dollar amounts are exact in double, so the value equals the forward one.
void Coach::SuffixValues(int lowest, int upper) {
    const int end = GapEnd(upper);
    const int top = end / kCutStep;
    const std::array<int, kLengthCount>& lengths = spans_.Lengths();
    suffix_[At(top + 1)] = 0.0;
    for (int i = top; i >= lowest / kCutStep; --i) {
        const int start = i * kCutStep;
        double best = suffix_[At(i + 1)];
        for (int k = 0; k < kLengthCount; ++k) {
            const int stop = start + lengths[At(k)];
            if (stop > end) {
                break;
            }
            best =
                std::max(best, static_cast<double>(Span(start, k)) + suffix_[At(stop / kCutStep)]);
        }
        suffix_[At(i)] = best;
    }
}

std::vector<double> Coach::GridValuesWithCut(std::span<const int> cuts) {
    const std::vector<double> gaps = GapValues(cuts);
    const double total = Sum(gaps);
    const int count = stemLength_ > 0 ? (stemLength_ - 1) / kCutStep : 0;
    // Where a cut already stands the value is the pattern's own.
    std::vector<double> values(At(count), total);
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        const int lower = cuts[k];
        const int first = lower / kCutStep + 1;
        const int last = std::min((cuts[k + 1] - 1) / kCutStep, count);
        if (first > last) {
            continue;
        }
        // best_[t]: the gap's value from its lower cut up to 4 t inches above it.
        GapValue<false>(lower, last * kCutStep, nullptr);
        SuffixValues(first * kCutStep, cuts[k + 1]);
        for (int i = first; i <= last; ++i) {
            // A position off the lower cut's grid ends that gap in waste after the step below
            // it, so both cases take the step the division rounds down to.
            const int step = (i * kCutStep - lower) / kCutStep;
            values[At(i - 1)] = total - gaps[k] + best_[At(step)] + suffix_[At(i)];
        }
    }
    return values;
}

} // namespace varnok
