#pragma once

#include <QDialog>

namespace varnok::app {

// A non-modal dialog that reports when the user closes it (its close button or Esc) in one
// signal, never when the program hides it after a choice.
class ClosableDialog : public QDialog {
    Q_OBJECT

public:
    explicit ClosableDialog(QWidget* parent) : QDialog(parent) { setModal(false); }

signals:
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override {
        emit Closed();
        QDialog::closeEvent(event);
    }
    void reject() override {
        emit Closed();
        QDialog::reject();
    }
};

} // namespace varnok::app
