#pragma once

#include "coach/Coach.h"
#include "game/StemFigures.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace varnok {

// What one more cut would cost a bucker, everywhere on the stem: for each position of the
// 4-inch grid strictly inside the stem, the best value the bucker's cuts still allow minus the
// best value with one more cut there. Drawn as a thin band under the stem, redrawn after each
// cut, and read under the mouse.
struct CostStrip {
    double BestValue = 0.0;     // dollars: the best completion of the bucker's cuts
    double OptimalValue = 0.0;  // dollars: the best the tree allows
    std::vector<double> Values; // [i]: dollars with one more cut at 4 (i + 1) inches
    // [i]: BestValue - Values[i], dollars; never negative (above a cut off the butt's grid a
    // cut on it can gain, and shows as costing nothing).
    std::vector<double> Losses;
    double MaxLoss = 0.0;       // dollars: the greatest of Losses, 0 without positions

    // The index of `inches` from the butt in Values and Losses; nothing off the grid or
    // outside the stem.
    std::optional<std::size_t> IndexOf(int inches) const;
    // Dollars lost so far against the optimum; never negative.
    double LossSoFar() const;
};

// The strip of `cuts` (as Coach queries take them). Throws VarnokError as the coach does.
CostStrip BuildCostStrip(Coach& coach, std::span<const int> cuts);

// The colour of a loss on a ramp from green (costs nothing) through yellow to red (costs the
// most, `maxLoss`). Green for every loss when nothing costs anything.
Rgb CostColour(double loss, double maxLoss);

// One cell of the band: the picture x range of a grid position (2 pixels either side) and its
// colour.
struct StripCell {
    int Left = 0;  // picture pixels
    int Right = 0; // picture pixels, exclusive
    Rgb Colour;
};

// The cells of `strip` on the picture of `view`: position p lies at ButtX + p.
std::vector<StripCell> CostStripCells(const CostStrip& strip, const StemView& view);

// The legend beside the band: what its two ends mean, in words and dollars.
struct CostLegend {
    std::string Title;     // "One more cut costs:"
    std::string Low;       // "nothing"
    std::string High;      // "$X, the most"
    std::vector<Rgb> Ramp; // the band's colours from nothing to the most, `rampSteps` of them
};

CostLegend MakeCostLegend(const CostStrip& strip, int rampSteps);

// The coaching line of the measuring read-out at `inches` from the butt: "A cut here: $X best"
// (the best value with one more cut there) and "Best now: $Y of $Z" (the best the cuts made
// still allow, of the optimum). The first is "A cut here: -" off the grid.
struct CoachReadOut {
    std::string CutHere;
    std::string BestNow;
};

CoachReadOut MakeCoachReadOut(const CostStrip& strip, int inches);

// The status line after a cut: the best value still reachable and the loss so far.
std::string CoachStatusLine(const CostStrip& strip);

} // namespace varnok
