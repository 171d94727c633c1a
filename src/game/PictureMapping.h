#pragma once

#include "game/StemView.h"

namespace varnok {

// Where a stem picture lies in a widget. Along the stem the picture is drawn at 1 pixel per
// inch when the stem fits the widget, else scaled down so the whole stem fits; across it never
// scales. The picture point (view centre x, `pictureRowY`) lands on the widget point
// (widget centre x, `widgetRowY`). Device pixel ratios (high-DPI screens) are the painter's
// affair: these are the widget's logical pixels.
struct PictureMapping {
    double ScaleX = 1.0;
    double PictureCentreX = 0.0;
    double PictureRowY = 0.0;
    double WidgetCentreX = 0.0;
    double WidgetRowY = 0.0;

    double ToWidgetX(double pictureX) const;
    double ToWidgetY(double pictureY) const;
    double ToPictureX(double widgetX) const;
    double ToPictureY(double widgetY) const;
};

// The mapping of `view` into a widget `widgetWidth` pixels wide, leaving `margin` pixels at
// each end of the stem; picture row `pictureRowY` on widget row `widgetRowY`. Scale 1 when the
// stem and both margins fit, else (widgetWidth - 2 margin) / (TopX - ButtX); a widget no wider
// than its margins still gets a positive scale (the stem then spans one pixel). Never fails.
PictureMapping FitStem(const StemView& view, double widgetWidth, double margin, double pictureRowY,
                       double widgetRowY);

} // namespace varnok
