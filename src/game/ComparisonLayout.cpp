#include "game/ComparisonLayout.h"

#include "support/Numbers.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace varnok {
namespace {

constexpr int kReturnsTop = 10;     // the returns line below the picture's top
constexpr int kStemBelowLines = 14; // free pixels between the returns or net line and the stem
constexpr int kLabelsBelowStem = 14;
constexpr int kLabelsBelowCoaching = 8;
constexpr int kMarginBelow = 10;

struct Attempt {
    std::vector<LabelPlace> Places;
    int Rows = 0;
};

// Places every label of one font, from the left, each in the first row where it keeps `gap`
// from the box before it; stops when a label would need a row beyond `maxRows`.
std::optional<Attempt> PlaceInRows(std::span<const double> centres,
                                   const std::vector<LabelSize>& sizes, int width, int gap,
                                   int maxRows) {
    const std::size_t count = centres.size();
    Attempt attempt;
    attempt.Places.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int boxWidth = sizes[i].Width;
        const int centred = RoundToInt32(centres[i] - boxWidth * 0.5);
        attempt.Places[i].Left = std::clamp(centred, 0, std::max(width - boxWidth, 0));
    }
    // From the left: the first-fit rows of boxes taken by their left edges use as few rows as
    // any placement can.
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return attempt.Places[a].Left < attempt.Places[b].Left;
    });
    std::vector<int> rowRight; // the right edge of the last box of each row
    for (const std::size_t i : order) {
        LabelPlace& place = attempt.Places[i];
        std::size_t row = 0;
        while (row < rowRight.size() && rowRight[row] + gap > place.Left) {
            ++row;
        }
        if (static_cast<int>(row) >= maxRows) {
            return std::nullopt;
        }
        if (row == rowRight.size()) {
            rowRight.push_back(0);
        }
        rowRight[row] = place.Left + sizes[i].Width;
        place.Row = static_cast<int>(row);
    }
    attempt.Rows = static_cast<int>(rowRight.size());
    return attempt;
}

} // namespace

LabelRows LayOutLabels(std::span<const double> centres,
                       std::span<const std::vector<LabelSize>> fonts, int width, int gap,
                       int rowGap, int preferredRows) {
    LabelRows rows;
    if (centres.empty() || fonts.empty()) {
        return rows;
    }
    std::optional<Attempt> attempt;
    for (std::size_t f = 0; f < fonts.size() && !attempt; ++f) {
        attempt = PlaceInRows(centres, fonts[f], width, gap, std::max(preferredRows, 1));
        rows.Font = f;
    }
    if (!attempt) {
        rows.Font = fonts.size() - 1;
        attempt = PlaceInRows(centres, fonts.back(), width, gap, static_cast<int>(centres.size()));
    }
    const std::vector<LabelSize>& sizes = fonts[rows.Font];
    int rowHeight = 0;
    for (std::size_t i = 0; i < centres.size(); ++i) {
        rowHeight = std::max(rowHeight, sizes[i].Height);
    }
    rows.Rows = attempt->Rows;
    rows.Places = std::move(attempt->Places);
    for (LabelPlace& place : rows.Places) {
        place.Top = place.Row * (rowHeight + rowGap);
    }
    rows.Height = rows.Rows * rowHeight + (rows.Rows - 1) * rowGap;
    return rows;
}

StemExtent VerticalExtent(const StemView& view) {
    StemExtent extent;
    if (view.Stations.empty()) {
        return extent;
    }
    const auto reach = [&](int y) {
        extent.Above = std::max(extent.Above, view.CentreY - y);
        extent.Below = std::max(extent.Below, y - view.CentreY);
    };
    for (std::size_t r = 0; r < static_cast<std::size_t>(kRotationSteps); ++r) {
        for (const std::vector<PixelPoint>& band : view.Bands[r]) {
            for (const PixelPoint& p : band) {
                reach(p.Y);
            }
        }
        for (const BandPatch& patch : view.Patches[r]) {
            for (const auto& corners : patch) {
                for (const PixelPoint& p : corners) {
                    reach(p.Y);
                }
            }
        }
        for (const EllipseFigure& e : view.Ellipses[r]) {
            if (e.Hidden()) {
                continue;
            }
            const int half = RoundToInt32(static_cast<double>(e.HalfHeight) * kFigureScale);
            reach(e.CentreY - half);
            reach(e.CentreY + half);
        }
    }
    return extent;
}

ComparisonPicture LayOutComparisonPicture(int returnsHeight, int netHeight, int coachingHeight,
                                          int labelsHeight, const StemExtent& stem) {
    ComparisonPicture picture;
    picture.ReturnsTop = kReturnsTop;
    picture.NetTop = kReturnsTop + returnsHeight;
    picture.StemRow = picture.NetTop + netHeight + kStemBelowLines + stem.Above;
    picture.CoachingTop = picture.StemRow + stem.Below + kLabelsBelowStem;
    picture.LabelsTop =
        picture.CoachingTop + (coachingHeight > 0 ? coachingHeight + kLabelsBelowCoaching : 0);
    picture.Height = picture.LabelsTop + labelsHeight + kMarginBelow;
    return picture;
}

std::vector<int> StackPictures(std::span<const int> needs, int available) {
    std::vector<int> heights(needs.begin(), needs.end());
    const int total = std::accumulate(heights.begin(), heights.end(), 0);
    if (heights.empty() || total >= available) {
        return heights;
    }
    // A picture that needs more than an equal share keeps its need; the others share what it
    // leaves, until every one left needs no more than its share.
    std::vector<bool> keepsNeed(heights.size(), false);
    int rest = available;
    int sharing = static_cast<int>(heights.size());
    for (bool again = true; again;) {
        again = false;
        for (std::size_t i = 0; i < heights.size(); ++i) {
            if (!keepsNeed[i] && heights[i] > rest / sharing) {
                keepsNeed[i] = true;
                rest -= heights[i];
                --sharing;
                again = true;
                break;
            }
        }
    }
    const int share = rest / sharing; // some picture shares, since together they need less
    std::size_t last = 0;
    for (std::size_t i = 0; i < heights.size(); ++i) {
        if (!keepsNeed[i]) {
            heights[i] = share;
            last = i;
        }
    }
    heights[last] += rest - share * sharing;
    return heights;
}

} // namespace varnok
