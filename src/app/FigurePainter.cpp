#include "app/FigurePainter.h"

#include <QPolygonF>

namespace varnok::app {
namespace {

QPointF Map(const PictureMapping& mapping, const PixelPoint& p) {
    return {mapping.ToWidgetX(p.X), mapping.ToWidgetY(p.Y)};
}

QRectF EllipseBox(const PictureMapping& mapping, const Figure& figure) {
    const QRectF box(Map(mapping, figure.Points[0]), Map(mapping, figure.Points[1]));
    if (!figure.KeepsShape) {
        return box;
    }
    // Enlarged across with the stem, it stays as wide as it is high.
    const double width = (figure.Points[1].X - figure.Points[0].X) * mapping.ScaleY;
    return {box.center().x() - width * 0.5, box.top(), width, box.height()};
}

void UseFigureColours(QPainter& painter, const Figure& figure) {
    painter.setBrush(figure.Fill ? QBrush(ToQColor(*figure.Fill)) : QBrush(Qt::NoBrush));
    if (!figure.Pen) {
        painter.setPen(Qt::NoPen);
        return;
    }
    // A dashed line is drawn two pixels wide so that its dashes read at a glance.
    QPen pen(ToQColor(*figure.Pen), figure.Dashed ? 2 : 0);
    if (figure.Dashed) {
        pen.setStyle(Qt::DashLine);
        pen.setCosmetic(true);
    }
    painter.setPen(pen);
}

} // namespace

QColor ToQColor(const Rgb& rgb) {
    return {rgb.R, rgb.G, rgb.B};
}

void PaintFigures(QPainter& painter, std::span<const Figure> figures,
                  const PictureMapping& mapping) {
    for (const Figure& figure : figures) {
        UseFigureColours(painter, figure);
        switch (figure.Kind) {
        case Figure::Shape::Polygon: {
            QPolygonF polygon;
            polygon.reserve(static_cast<qsizetype>(figure.Points.size()));
            for (const PixelPoint& p : figure.Points) {
                polygon << Map(mapping, p);
            }
            painter.drawPolygon(polygon);
            break;
        }
        case Figure::Shape::Ellipse:
            if (figure.Points.size() == 2) {
                painter.drawEllipse(EllipseBox(mapping, figure));
            }
            break;
        case Figure::Shape::Line:
            if (figure.Points.size() == 2) {
                painter.drawLine(Map(mapping, figure.Points[0]), Map(mapping, figure.Points[1]));
            }
            break;
        }
    }
}

} // namespace varnok::app
