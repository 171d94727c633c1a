#include "game/PictureMapping.h"

#include <algorithm>

namespace varnok {

double PictureMapping::ToWidgetX(double pictureX) const {
    return (pictureX - PictureCentreX) * ScaleX + WidgetCentreX;
}

double PictureMapping::ToWidgetY(double pictureY) const {
    return pictureY - PictureRowY + WidgetRowY;
}

double PictureMapping::ToPictureX(double widgetX) const {
    return (widgetX - WidgetCentreX) / ScaleX + PictureCentreX;
}

double PictureMapping::ToPictureY(double widgetY) const {
    return widgetY - WidgetRowY + PictureRowY;
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

} // namespace varnok
