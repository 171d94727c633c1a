#include "app/StemCanvas.h"

#include "app/FigurePainter.h"

#include <QMouseEvent>
#include <QPainter>

namespace varnok::app {

StemCanvas::StemCanvas(StemPicture picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setMouseTracking(true);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void StemCanvas::Show(const StemView& view, std::vector<Figure> figures) {
    view_ = &view;
    figures_ = std::move(figures);
    highlight_.clear();
    UpdateMapping();
    update();
}

void StemCanvas::Clear() {
    view_ = nullptr;
    figures_.clear();
    highlight_.clear();
    update();
}

void StemCanvas::SetHighlight(std::vector<Figure> highlight) {
    highlight_ = std::move(highlight);
    update();
}

void StemCanvas::SetStemRow(double row) {
    stemRow_ = row;
    UpdateMapping();
    update();
}

void StemCanvas::UpdateMapping() {
    if (view_ == nullptr) {
        return;
    }
    const bool main = picture_ == StemPicture::MainWindow;
    mapping_ = FitStem(*view_, width(), kStemMargin, main ? view_->CentreY : view_->CentreY - 175.0,
                       main ? height() * 0.5 : stemRow_);
}

void StemCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (view_ == nullptr) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintFigures(painter, figures_, mapping_);
    PaintFigures(painter, highlight_, mapping_);
}

void StemCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (view_ == nullptr) {
        return;
    }
    const QPointF at = event->position();
    emit MouseMovedTo(mapping_.ToPictureX(at.x()),
                      static_cast<int>(std::lround(mapping_.ToPictureY(at.y()))));
}

void StemCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit LeftClicked();
    } else if (event->button() == Qt::RightButton) {
        emit RightClicked((event->modifiers() & Qt::ShiftModifier) != 0);
    }
}

void StemCanvas::resizeEvent(QResizeEvent*) {
    UpdateMapping();
}

} // namespace varnok::app
