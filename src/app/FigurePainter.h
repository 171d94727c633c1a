#pragma once

#include "game/PictureMapping.h"
#include "game/StemFigures.h"

#include <QPainter>

#include <span>

namespace varnok::app {

// Paints figures worked out by the core, through the mapping from picture pixels to the widget,
// in their order. Coordinates stay fractional so a scaled or high-DPI picture stays sharp.
void PaintFigures(QPainter& painter, std::span<const Figure> figures,
                  const PictureMapping& mapping);

QColor ToQColor(const Rgb& rgb);

} // namespace varnok::app
