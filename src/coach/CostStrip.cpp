#include "coach/CostStrip.h"

#include "support/Numbers.h"

#include <algorithm>
#include <cmath>

namespace varnok {
namespace {

std::string Dollars(double value) {
    return "$" + FormatFixed(value, 2);
}

std::uint8_t Blend(int from, int to, double t) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
}

Rgb Between(const Rgb& from, const Rgb& to, double t) {
    return {Blend(from.R, to.R, t), Blend(from.G, to.G, t), Blend(from.B, to.B, t)};
}

constexpr Rgb kNothing{0, 176, 0};
constexpr Rgb kHalf{240, 208, 0};
constexpr Rgb kMost{224, 0, 0};

} // namespace

std::optional<std::size_t> CostStrip::IndexOf(int inches) const {
    if (inches < kCutStep || inches % kCutStep != 0) {
        return std::nullopt;
    }
    const std::size_t index = static_cast<std::size_t>(inches / kCutStep - 1);
    if (index >= Values.size()) {
        return std::nullopt;
    }
    return index;
}

double CostStrip::LossSoFar() const {
    return std::max(0.0, OptimalValue - BestValue);
}

CostStrip BuildCostStrip(Coach& coach, std::span<const int> cuts) {
    CostStrip strip;
    strip.Values = coach.GridValuesWithCut(cuts);
    strip.BestValue = coach.BestValue(cuts);
    strip.OptimalValue = coach.OptimalValue();
    strip.Losses.reserve(strip.Values.size());
    for (const double value : strip.Values) {
        const double loss = std::max(0.0, strip.BestValue - value);
        strip.Losses.push_back(loss);
        strip.MaxLoss = std::max(strip.MaxLoss, loss);
    }
    return strip;
}

Rgb CostColour(double loss, double maxLoss) {
    if (!(maxLoss > 0.0) || !(loss > 0.0)) {
        return kNothing;
    }
    const double t = std::min(loss / maxLoss, 1.0);
    return t < 0.5 ? Between(kNothing, kHalf, t * 2.0) : Between(kHalf, kMost, t * 2.0 - 1.0);
}

std::vector<StripCell> CostStripCells(const CostStrip& strip, const StemView& view) {
    std::vector<StripCell> cells;
    cells.reserve(strip.Losses.size());
    for (std::size_t i = 0; i < strip.Losses.size(); ++i) {
        const int x = view.ButtX + static_cast<int>(i + 1) * kCutStep;
        cells.push_back(
            {x - kCutStep / 2, x + kCutStep / 2, CostColour(strip.Losses[i], strip.MaxLoss)});
    }
    return cells;
}

CostLegend MakeCostLegend(const CostStrip& strip, int rampSteps) {
    CostLegend legend{"One more cut costs:", "nothing", Dollars(strip.MaxLoss) + ", the most", {}};
    for (int k = 0; k < rampSteps; ++k) {
        const double t = rampSteps > 1 ? static_cast<double>(k) / (rampSteps - 1) : 0.0;
        legend.Ramp.push_back(CostColour(t, 1.0));
    }
    return legend;
}

CoachReadOut MakeCoachReadOut(const CostStrip& strip, int inches) {
    const std::optional<std::size_t> index = strip.IndexOf(inches);
    return {index ? "A cut here: " + Dollars(strip.Values[*index]) + " best" : "A cut here: -",
            "Best now: " + Dollars(strip.BestValue) + " of " + Dollars(strip.OptimalValue)};
}

std::string CoachStatusLine(const CostStrip& strip) {
    return "Best still reachable with these cuts: " + Dollars(strip.BestValue) +
           "    Lost so far: " + Dollars(strip.LossSoFar()) + " of the optimum " +
           Dollars(strip.OptimalValue);
}

} // namespace varnok
