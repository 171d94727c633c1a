#pragma once

#include "game/ComparisonLayout.h"
#include "game/StemView.h"

namespace varnok {

// Where a stem picture lies in a widget. Along the stem the picture is drawn at 1 pixel per
// inch when the stem fits the widget, else scaled down so the whole stem fits (FitStem), or
// always scaled to the widget's width (FillStem); across it scales only when filled. The
// picture point (view centre x, `pictureRowY`) lands on the widget point (widget centre x,
// `widgetRowY`). Device pixel ratios (high-DPI screens) are the painter's affair: these are
// the widget's logical pixels.
struct PictureMapping {
    double ScaleX = 1.0;
    double ScaleY = 1.0; // across the stem
    double PictureCentreX = 0.0;
    double PictureRowY = 0.0;
    double WidgetCentreX = 0.0;
    double WidgetRowY = 0.0;

    double ToWidgetX(double pictureX) const;
    double ToWidgetY(double pictureY) const;
    double ToPictureX(double widgetX) const;
    double ToPictureY(double widgetY) const;
    // The widget row of picture row `pictureY` below the stem, kept as far below the stem's
    // lowest row `stemBottomY` (picture) as it is unscaled: what hangs under the stem (the
    // read-out, the cost strip) follows an enlarged stem down without being enlarged itself.
    double BelowStemY(double pictureY, double stemBottomY) const;
};

// The mapping of `view` into a widget `widgetWidth` pixels wide, leaving `margin` pixels at
// each end of the stem; picture row `pictureRowY` on widget row `widgetRowY`. Scale 1 when the
// stem and both margins fit, else (widgetWidth - 2 margin) / (TopX - ButtX); a widget no wider
// than its margins still gets a positive scale (the stem then spans one pixel). Never fails.
PictureMapping FitStem(const StemView& view, double widgetWidth, double margin, double pictureRowY,
                       double widgetRowY);

// The mapping of a stem drawn across the widget's width whatever its length: along the stem
// (widgetWidth - 2 margin) / (TopX - ButtX) (as FitStem scales a long stem, a short one
// enlarged), across it the same factor, but never below 1 nor above `maxScaleY` (taken as 1
// when smaller). A view without length keeps scale 1 both ways. Never fails.
PictureMapping FillStem(const StemView& view, double widgetWidth, double margin, double pictureRowY,
                        double widgetRowY, double maxScaleY);

// The greatest scale across that keeps `above` and `below` picture pixels (the stem's reach
// from its centre line) within `roomAbove` and `roomBelow` widget pixels; never below 1 (a
// stem that does not fit at scale 1 is not shrunk across), and unbounded for a side that
// reaches nothing. Never fails.
double AcrossCap(double above, double below, double roomAbove, double roomBelow);

// The rows under the main picture's stem, widget pixels: a thin band (the cost strip) a few
// pixels under the stem's lowest row, a legend row under it, and the measuring read-out's top,
// at its usual distance below the stem but clear of the legend while the strip is shown.
struct BelowStemRows {
    double StripTop = 0.0;
    double StripBottom = 0.0;
    double LegendTop = 0.0;
    double LegendBottom = 0.0;
    double ReadOutTop = 0.0;
};

inline constexpr double kStripGap = 5.0;      // widget pixels between the stem and the strip
inline constexpr double kStripHeight = 8.0;   // widget pixels
inline constexpr double kLegendHeight = 16.0; // widget pixels
inline constexpr int kDiscTopAbove = 100;     // picture pixels: end discs' top above the centre

// `readOutTop` is the read-out's top in picture pixels (the view centre y + 104), `extent` the
// stem's reach (VerticalExtent). Never fails.
BelowStemRows LayOutBelowStem(const PictureMapping& mapping, const StemView& view,
                              const StemExtent& extent, int readOutTop, bool strip);

// The cap across of the main picture, `widgetHeight` pixels high with the stem on its middle
// row: the stem and the end discs inside the picture, and under the stem the room the
// read-out needs (`readOutHeight` pixels at its usual distance below the stem, plus the strip
// and its legend when `strip`). Never below 1.
double MainPictureCap(const StemView& view, const StemExtent& extent, double widgetHeight,
                      int readOutTop, double readOutHeight, bool strip);

} // namespace varnok
