#pragma once

#include <QString>
#include <QWidget>

#include <exception>
#include <functional>

namespace varnok::app {

// Shows an error to the user in a message box over `parent` without blocking: file errors carry
// their path and the runtime-style text in what(). The box deletes itself when closed.
void ShowError(QWidget* parent, const std::exception& error);
void ShowMessage(QWidget* parent, const QString& title, const QString& text);

// Asks over `parent` whether to go on in spite of `question`, in a message box named
// "WarningBox" that does not block (No is the default); `goOn` runs once, on Yes. The box
// deletes itself when answered.
void AskToGoOn(QWidget* parent, const QString& question, std::function<void()> goOn);

// Runs `action`, showing any error it throws over `parent` instead of letting it leave the
// event handler. Returns whether it ran to the end.
template <typename Action> bool Guarded(QWidget* parent, Action&& action) {
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        ShowError(parent, error);
        return false;
    }
}

} // namespace varnok::app
