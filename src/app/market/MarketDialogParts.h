#pragma once

class QBoxLayout;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace varnok::app {

// Pieces the market dialogs build alike.

// Adds the step `step` of two buttons with "or" between them, named and captioned as given;
// returns them and their row, to which more may be added.
struct EitherButtons {
    QPushButton* First;
    QPushButton* Second;
    QHBoxLayout* Row;
};
EitherButtons AddEitherButtons(QBoxLayout* layout, QWidget* parent, int step, const char* firstName,
                               const char* firstCaption, const char* secondName,
                               const char* secondCaption);

} // namespace varnok::app
