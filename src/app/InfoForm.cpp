#include "app/InfoForm.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnok::app {

InfoForm::InfoForm(const QString& name, const QString& title, const QString& text, int lines,
                   const QString& closeCaption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    if (lines > 1) {
        auto* memo = new QPlainTextEdit(text, this);
        memo->setObjectName("Memo1");
        memo->setReadOnly(true);
        memo->setMinimumHeight(QFontMetrics(memo->font()).lineSpacing() * lines + 12);
        memo->setMinimumWidth(460);
        layout->addWidget(memo);
    } else {
        auto* line = new QLineEdit(text, this);
        line->setObjectName("Edit1");
        line->setReadOnly(true);
        line->setMinimumWidth(QFontMetrics(line->font()).horizontalAdvance(text) + 24);
        layout->addWidget(line);
    }
    auto* close = new QPushButton(closeCaption, this);
    close->setObjectName("Button1");
    close->setDefault(true);
    layout->addWidget(close, 0, Qt::AlignRight);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

} // namespace varnok::app
