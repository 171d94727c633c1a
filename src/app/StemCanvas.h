#pragma once

#include "coach/CostStrip.h"
#include "game/PictureMapping.h"
#include "game/StemFigures.h"

#include <QPainter>
#include <QWidget>

#include <vector>

namespace varnok::app {

// A stem picture: black, with the figures the core worked out for the tree in play, the stem
// fitted to the widget's width (see PictureMapping), and on the main picture the cost strip
// under the stem. Reports the mouse in picture pixels.
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
    // On: every stem across the whole width, enlarged across up to what the picture holds
    // (FillStem); off: a stem scaled only when it is longer than the picture is wide.
    void SetFitStem(bool fit);
    // A comparison picture's cap across, which its window works out from the room the
    // pictures share; the main picture works out its own from its height.
    void SetAcrossCap(double cap);
    // The cost strip under the main picture's stem with its legend, until hidden or Clear.
    void ShowCostStrip(std::vector<StripCell> cells, CostLegend legend);
    void HideCostStrip();
    bool CostStripShown() const { return !cells_.empty(); }
    // The rows under the main picture's stem in widget pixels; zeros without a stem.
    BelowStemRows RowsBelowStem() const;
    // The widget row of the last mouse move over the picture.
    double MouseRow() const { return mouseRow_; }

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
    void PaintCostStrip(QPainter& painter) const;

    StemPicture picture_;
    const StemView* view_ = nullptr;
    std::vector<Figure> figures_;
    std::vector<Figure> highlight_;
    PictureMapping mapping_;
    StemExtent extent_;      // of view_
    double stemRow_ = 171.0; // where the designed comparison window has it
    bool fit_ = false;
    double mouseRow_ = 0.0;
    double acrossCap_ = 1.0;
    std::vector<StripCell> cells_;
    CostLegend legend_;
};

// Widget pixels kept free at each end of a stem scaled to fit its picture.
inline constexpr double kStemMargin = 24.0;

} // namespace varnok::app
