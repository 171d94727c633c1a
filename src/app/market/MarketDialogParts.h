#pragma once

#include <QString>

#include <functional>

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

// Asks over `parent` whether to go on in spite of `question`, in a message box named
// "WarningBox" that does not block (No is the default); `goOn` runs once, on Yes. The box
// deletes itself when answered.
void AskToGoOn(QWidget* parent, const QString& question, std::function<void()> goOn);

} // namespace varnok::app
