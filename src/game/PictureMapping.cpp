#include "game/PictureMapping.h"

#include <algorithm>
#include <limits>

namespace varnok {

double PictureMapping::ToWidgetX(double pictureX) const {
    return (pictureX - PictureCentreX) * ScaleX + WidgetCentreX;
}

double PictureMapping::ToWidgetY(double pictureY) const {
    return (pictureY - PictureRowY) * ScaleY + WidgetRowY;
}

double PictureMapping::ToPictureX(double widgetX) const {
    return (widgetX - WidgetCentreX) / ScaleX + PictureCentreX;
}

double PictureMapping::ToPictureY(double widgetY) const {
    return (widgetY - WidgetRowY) / ScaleY + PictureRowY;
}

double PictureMapping::BelowStemY(double pictureY, double stemBottomY) const {
    return ToWidgetY(stemBottomY) + (pictureY - stemBottomY);
}

PictureMapping FitStem(const StemView& view, double widgetWidth, double margin, double pictureRowY,
                       double widgetRowY) {
    PictureMapping mapping;
    mapping.PictureCentreX = view.CentreX;
    mapping.PictureRowY = pictureRowY;
    mapping.WidgetCentreX = widgetWidth / 2.0;
    mapping.WidgetRowY = widgetRowY;
    const double stem = static_cast<double>(view.TopX) - view.ButtX;
    if (stem <= 0.0 || stem + 2.0 * margin <= widgetWidth) {
        return mapping;
    }
    // A widget narrower than its margins still gets a positive scale, so the mapping can be
    // inverted; the stem is then squeezed into a single pixel.
    const double room = std::max(widgetWidth - 2.0 * margin, 1.0);
    mapping.ScaleX = room / stem;
    return mapping;
}

PictureMapping FillStem(const StemView& view, double widgetWidth, double margin, double pictureRowY,
                        double widgetRowY, double maxScaleY) {
    PictureMapping mapping = FitStem(view, widgetWidth, margin, pictureRowY, widgetRowY);
    const double stem = static_cast<double>(view.TopX) - view.ButtX;
    if (stem <= 0.0) {
        return mapping;
    }
    mapping.ScaleX = std::max(widgetWidth - 2.0 * margin, 1.0) / stem;
    mapping.ScaleY = std::clamp(mapping.ScaleX, 1.0, std::max(maxScaleY, 1.0));
    return mapping;
}

double AcrossCap(double above, double below, double roomAbove, double roomBelow) {
    double cap = std::numeric_limits<double>::infinity();
    if (above > 0.0) {
        cap = std::min(cap, roomAbove / above);
    }
    if (below > 0.0) {
        cap = std::min(cap, roomBelow / below);
    }
    return std::max(cap, 1.0);
}

BelowStemRows LayOutBelowStem(const PictureMapping& mapping, const StemView& view,
                              const StemExtent& extent, int readOutTop, bool strip) {
    const double stemBottom = view.CentreY + extent.Below;
    BelowStemRows rows;
    rows.StripTop = mapping.ToWidgetY(stemBottom) + kStripGap;
    rows.StripBottom = rows.StripTop + kStripHeight;
    rows.LegendTop = rows.StripBottom + 2.0;
    rows.LegendBottom = rows.LegendTop + kLegendHeight;
    rows.ReadOutTop = mapping.BelowStemY(readOutTop, stemBottom);
    if (strip) {
        rows.ReadOutTop = std::max(rows.ReadOutTop, rows.LegendBottom + 2.0);
    }
    return rows;
}

double MainPictureCap(const StemView& view, const StemExtent& extent, double widgetHeight,
                      int readOutTop, double readOutHeight, bool strip) {
    const double half = widgetHeight * 0.5;
    // What hangs under the stem keeps its unscaled size and distance.
    double under = std::max(0.0, static_cast<double>(readOutTop - view.CentreY - extent.Below)) +
                   readOutHeight;
    if (strip) {
        under =
            std::max(under, kStripGap + kStripHeight + 2.0 + kLegendHeight + 2.0 + readOutHeight);
    }
    const double above = std::max(extent.Above, kDiscTopAbove);
    return AcrossCap(above, extent.Below, half - 4.0, half - under - 4.0);
}

} // namespace varnok
