#pragma once

#include "coach/CostStrip.h"
#include "game/Bucking.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include <array>

namespace varnok::app {

// The measuring read-out that follows the mouse over the stem: a mark at the snapped position,
// the gaps to the neighbouring cuts and the diameter, and below them a table of distances that
// shows as the panel grows downwards. While coaching, a line under the diameter tells what a
// cut under the mouse would leave and the best the cuts made still allow; the panel widens to
// hold it. The mouse passes through it to the stem picture.
class ReadOutPanel : public QFrame {
    Q_OBJECT

public:
    static constexpr int kWidth = 161;
    static constexpr int kCoachRowHeight = 18;

    explicit ReadOutPanel(QWidget* parent);

    // Shows the texts of `readOut`; the caller places the panel.
    void ShowReadOut(const ReadOut& readOut);
    // The coaching line, shown until HideCoaching; the panel widens to hold it.
    void ShowCoaching(const CoachReadOut& coaching);
    void HideCoaching();
    bool CoachingShown() const { return coaching_; }
    // The panel's width and the height it takes for a read-out of `readOutHeight` (the core's,
    // without the coaching line), pixels.
    int PanelWidth() const { return width_; }
    int PanelHeight(int readOutHeight) const;

private:
    void LayOut();

    QLabel* mark_;
    QLabel* leftGap_;
    QLabel* rightGap_;
    QLabel* diameter_;
    QLabel* cutHere_;
    QLabel* bestNow_;
    std::array<QLineEdit*, 5> captions_{};
    std::array<QLineEdit*, 5> values_{};
    bool coaching_ = false;
    int width_ = kWidth;
};

} // namespace varnok::app
