#pragma once

#include "game/PictureMapping.h"
#include "game/StemFigures.h"

#include <QWidget>

#include <vector>

namespace varnok::app {

// A stem picture: black, with the figures the core worked out for the tree in play, the stem
// fitted to the widget's width (see PictureMapping). Reports the mouse in picture pixels.
class StemCanvas : public QWidget {
    Q_OBJECT

public:
    explicit StemCanvas(StemPicture picture, QWidget* parent = nullptr);

    // Draws `figures` of `view` (which must stay alive until Clear or the next Show); the
    // highlight is cleared.
    void Show(const StemView& view, std::vector<Figure> figures);
    // Fills the picture black.
    void Clear();
    // Figures drawn over the stem until the next Show (the cut under the mouse).
    void SetHighlight(std::vector<Figure> highlight);
    // The widget row of a comparison picture's stem centre line, which the window lays out
    // below the labels (a main picture keeps its stem on its vertical centre).
    void SetStemRow(double row);

    bool HasStem() const { return view_ != nullptr; }
    const PictureMapping& Mapping() const { return mapping_; }
    const std::vector<Figure>& Figures() const { return figures_; }

signals:
    void MouseMovedTo(double pictureX, int pictureY);
    void LeftClicked();
    void RightClicked(bool shift);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateMapping();

    StemPicture picture_;
    const StemView* view_ = nullptr;
    std::vector<Figure> figures_;
    std::vector<Figure> highlight_;
    PictureMapping mapping_;
    double stemRow_ = 171.0; // where the designed comparison window has it
};

// Widget pixels kept free at each end of a stem scaled to fit its picture.
inline constexpr double kStemMargin = 24.0;

} // namespace varnok::app
