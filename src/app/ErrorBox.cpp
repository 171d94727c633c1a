#include "app/ErrorBox.h"

#include <QMessageBox>

namespace varnok::app {

void ShowMessage(QWidget* parent, const QString& title, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box->setObjectName("MessageBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void ShowError(QWidget* parent, const std::exception& error) {
    auto* box = new QMessageBox(QMessageBox::Critical, "Varnok", QString::fromUtf8(error.what()),
                                QMessageBox::Ok, parent);
    box->setObjectName("ErrorBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void AskToGoOn(QWidget* parent, const QString& question, std::function<void()> goOn) {
    auto* box = new QMessageBox(QMessageBox::Warning, "Varnok", question,
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setObjectName("WarningBox");
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, parent, [goOn = std::move(goOn)](int result) {
        if (result == QMessageBox::Yes) {
            goOn();
        }
    });
    box->open();
}

} // namespace varnok::app
