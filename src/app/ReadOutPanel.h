#pragma once

#include "game/Bucking.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include <array>

namespace varnok::app {

// The measuring read-out that follows the mouse over the stem: a mark at the snapped position,
// the gaps to the neighbouring cuts and the diameter, and below them a table of distances that
// shows as the panel grows downwards. The mouse passes through it to the stem picture.
class ReadOutPanel : public QFrame {
    Q_OBJECT

public:
    static constexpr int kWidth = 161;

    explicit ReadOutPanel(QWidget* parent);

    // Shows the texts of `readOut`; the caller places the panel.
    void ShowReadOut(const ReadOut& readOut);

private:
    QLabel* mark_;
    QLabel* leftGap_;
    QLabel* rightGap_;
    QLabel* diameter_;
    std::array<QLineEdit*, 5> values_{};
};

} // namespace varnok::app
