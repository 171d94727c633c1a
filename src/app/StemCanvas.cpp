#include "app/StemCanvas.h"

#include "app/FigurePainter.h"
#include "app/ReadOutPanel.h"
#include "game/Bucking.h"

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
    extent_ = VerticalExtent(view);
    figures_ = std::move(figures);
    highlight_.clear();
    UpdateMapping();
    update();
}

void StemCanvas::Clear() {
    view_ = nullptr;
    figures_.clear();
    highlight_.clear();
    cells_.clear();
    update();
}

void StemCanvas::SetFitStem(bool fit) {
    fit_ = fit;
    UpdateMapping();
    update();
}

void StemCanvas::SetAcrossCap(double cap) {
    acrossCap_ = cap;
    UpdateMapping();
    update();
}

void StemCanvas::ShowCostStrip(std::vector<StripCell> cells, CostLegend legend) {
    const bool appears = cells_.empty() != cells.empty();
    cells_ = std::move(cells);
    legend_ = std::move(legend);
    if (appears) {
        UpdateMapping(); // the strip needs room under the stem
    }
    update();
}

void StemCanvas::HideCostStrip() {
    if (cells_.empty()) {
        return;
    }
    cells_.clear();
    UpdateMapping();
    update();
}

BelowStemRows StemCanvas::RowsBelowStem() const {
    if (view_ == nullptr) {
        return {};
    }
    return LayOutBelowStem(mapping_, *view_, extent_, view_->CentreY + kReadOutTopBelowCentre,
                           CostStripShown());
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
    const double pictureRow = main ? view_->CentreY : view_->CentreY - 175.0;
    const double widgetRow = main ? height() * 0.5 : stemRow_;
    if (!fit_) {
        mapping_ = FitStem(*view_, width(), kStemMargin, pictureRow, widgetRow);
        return;
    }
    const double cap =
        main ? MainPictureCap(*view_, extent_, height(), view_->CentreY + kReadOutTopBelowCentre,
                              kReadOutMinimumHeight +
                                  (CostStripShown() ? ReadOutPanel::kCoachRowHeight : 0),
                              CostStripShown())
             : acrossCap_;
    mapping_ = FillStem(*view_, width(), kStemMargin, pictureRow, widgetRow, cap);
}

void StemCanvas::PaintCostStrip(QPainter& painter) const {
    const BelowStemRows rows = RowsBelowStem();
    painter.setPen(Qt::NoPen);
    for (const StripCell& cell : cells_) {
        const double left = mapping_.ToWidgetX(cell.Left);
        const double right = mapping_.ToWidgetX(cell.Right);
        painter.fillRect(QRectF(left, rows.StripTop, right - left, kStripHeight),
                         ToQColor(cell.Colour));
    }
    // The legend starts under the butt: the title, "nothing", the ramp, the most.
    QFont font = painter.font();
    font.setPointSize(8);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double height = rows.LegendBottom - rows.LegendTop;
    double x = std::max(mapping_.ToWidgetX(view_->ButtX), 2.0);
    painter.setPen(QColor(192, 192, 192));
    const auto text = [&](const std::string& words) {
        const QString shown = QString::fromStdString(words);
        painter.drawText(QRectF(x, rows.LegendTop, metrics.horizontalAdvance(shown) + 2, height),
                         Qt::AlignLeft | Qt::AlignVCenter, shown);
        x += metrics.horizontalAdvance(shown) + 6;
    };
    text(legend_.Title);
    text(legend_.Low);
    constexpr double kRampCell = 4.0;
    for (const Rgb& colour : legend_.Ramp) {
        painter.fillRect(QRectF(x, rows.LegendTop + height * 0.5 - 4.0, kRampCell, 8.0),
                         ToQColor(colour));
        x += kRampCell;
    }
    x += 6.0;
    text(legend_.High);
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
    if (!cells_.empty()) {
        PaintCostStrip(painter);
    }
}

void StemCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (view_ == nullptr) {
        return;
    }
    const QPointF at = event->position();
    mouseRow_ = at.y();
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
