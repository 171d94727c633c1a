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
};

// The widget row on which a comparison picture puts the stem's centre line: where the
// designed window has it (175 pixels above the main picture's centre of 346).
inline constexpr double kComparisonStemRow = 171.0;

} // namespace varnok::app
