#include "app/SelectTreeForm.h"

#include "market/OptimalCuts.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace varnok::app {

TSelectTreeForm::TSelectTreeForm(QWidget* parent) : ClosableDialog(parent) {
    setObjectName("TSelectTreeForm");
    setWindowTitle("Tree Selection");
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("Select A Tree Number", this);
    heading->setObjectName("Label1");
    count_ = new QLabel(this);
    count_->setObjectName("Label2");
    combo_ = new QComboBox(this);
    combo_->setObjectName("ComboBox1");
    for (int n = 1; n <= kTreeCount; ++n) {
        combo_->addItem(QString::number(n));
    }
    combo_->setMaxVisibleItems(25);
    heading->setBuddy(combo_);
    auto* show = new QPushButton("Show Tree", this);
    show->setObjectName("Button1");
    show->setDefault(true);
    layout->addWidget(heading);
    layout->addWidget(count_);
    layout->addWidget(combo_);
    layout->addWidget(show);
    connect(show, &QPushButton::clicked, this, [this] { emit TreeChosen(SelectedTree()); });
}

void TSelectTreeForm::showEvent(QShowEvent* event) {
    count_->setText("1 to " + QString::number(combo_->count()));
    combo_->setCurrentIndex(0);
    combo_->setFocus();
    QDialog::showEvent(event);
}

} // namespace varnok::app
