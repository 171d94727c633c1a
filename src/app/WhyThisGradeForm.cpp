#include "app/WhyThisGradeForm.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnok::app {

TWhyThisGradeForm::TWhyThisGradeForm(QWidget* parent) : QDialog(parent) {
    setObjectName("WhyThisGradeForm");
    setWindowTitle("Why This Grade");
    setModal(false);
    resize(720, 360);
    auto* layout = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName("Heading");
    heading_->setWordWrap(true);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    reasons_ = new QListWidget(this);
    reasons_->setObjectName("Reasons");
    reasons_->setWordWrap(true);
    // Read, not chosen from: the keyboard scrolls it, nothing is selected.
    reasons_->setSelectionMode(QAbstractItemView::NoSelection);
    reasons_->setAlternatingRowColors(true);
    reasons_->setSpacing(2);
    // The lines are long: they wrap to the dialog's width instead of scrolling sideways.
    reasons_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    reasons_->setTextElideMode(Qt::ElideNone);
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("Close");
    close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addWidget(heading_);
    layout->addWidget(reasons_, 1);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void TWhyThisGradeForm::Present(const GradeExplanationText& text) {
    heading_->setText(QString::fromStdString(text.Heading));
    reasons_->clear();
    for (const std::string& line : text.Lines) {
        reasons_->addItem(QString::fromStdString(line));
    }
    show();
    raise();
    activateWindow();
    reasons_->setFocus();
}

} // namespace varnok::app
