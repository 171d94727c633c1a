#pragma once

#include "game/StemView.h"

#include <cstddef>
#include <span>
#include <vector>

namespace varnok {

// The arithmetic of the comparison window's pictures, in widget pixels: where the label boxes
// of a pattern go so that none touches another, how high each picture must be to show its
// returns line, its labels and the whole stem, and how the pictures share the window's height.
// The window measures its texts in each font and paints; every position comes from here.

// A label box at one font.
struct LabelSize {
    int Width = 0;
    int Height = 0;
};

// A label box placed on its picture: Top is measured from the first row's top.
struct LabelPlace {
    int Left = 0;
    int Top = 0;
    int Row = 0; // 0 for the first row
};

struct LabelRows {
    std::size_t Font = 0;           // the candidate font taken
    int Rows = 0;                   // 0 without labels
    int Height = 0;                 // from the first row's top to the last row's bottom
    std::vector<LabelPlace> Places; // one per label, in the order given
};

// Lays out labels under their logs: label i is centred at x `centres[i]` (butt first), moved
// inside 0..`width` where it would stick out (a box wider than the picture starts at 0). A box
// that would come within `gap` pixels of a box already placed in a row is stepped to the next
// row (boxes are placed from the left; each takes the first row with room). `fonts[f][i]` is
// label i's size in candidate font f, the largest font first: the first font whose labels fit
// in `preferredRows` rows is taken, else the last (the smallest readable one) in as many rows
// as it needs. Rows are as high as the font's highest box and lie `rowGap` apart. No labels
// give no rows. Never fails; `fonts` must not be empty and each of its lists holds a size per
// label.
LabelRows LayOutLabels(std::span<const double> centres,
                       std::span<const std::vector<LabelSize>> fonts, int width, int gap,
                       int rowGap, int preferredRows);

// How far a stem reaches above and below the view's centre line at any rotation step, picture
// pixels: bands, band patches and ellipse figures included. Zero for a view without stations.
struct StemExtent {
    int Above = 0;
    int Below = 0;
};

StemExtent VerticalExtent(const StemView& view);

// One comparison picture from its top: the returns line 10 pixels down (the message that no
// optimal pattern is stored takes its place), the net line directly below it, then the stem,
// the coaching under it (what each cut costs, and the legend), and the label rows under the
// logs, clear of the stem, with a margin below them. The stem comes before the labels so that
// a low window still shows it without scrolling.
struct ComparisonPicture {
    int ReturnsTop = 0;
    int NetTop = 0;
    int StemRow = 0;     // the widget row of the stem's centre line
    int CoachingTop = 0; // where the coaching starts, or the labels when there is none
    int LabelsTop = 0;
    int Height = 0; // what the picture needs to show all of it
};

// `netHeight` is 0 without a net line, `coachingHeight` 0 without coaching and `labelsHeight`
// 0 without labels. Never fails.
ComparisonPicture LayOutComparisonPicture(int returnsHeight, int netHeight, int coachingHeight,
                                          int labelsHeight, const StemExtent& stem);

// The heights of pictures stacked in `available` pixels: each gets what it needs, and when
// together they need less, the rest is shared out equally (the last picture takes what the
// division leaves), so that two pictures of a tall window are its halves. Never fails.
std::vector<int> StackPictures(std::span<const int> needs, int available);

} // namespace varnok
