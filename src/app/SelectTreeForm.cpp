#include "app/SelectTreeForm.h"

#include "market/OptimalCuts.h"

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
    button_ = new QPushButton(this);
    button_->setObjectName("Button1");
    button_->setDefault(true);
    SetGrading(false);
    layout->addWidget(heading);
    layout->addWidget(count_);
    layout->addWidget(combo_);
    layout->addWidget(button_);
    connect(button_, &QPushButton::clicked, this, [this] { emit TreeChosen(SelectedTree()); });
}

void TSelectTreeForm::SetGrading(bool grading) {
    button_->setText(grading ? "Grade Tree" : "Show Tree");
}

void TSelectTreeForm::showEvent(QShowEvent* event) {
    count_->setText("1 to " + QString::number(combo_->count()));
    combo_->setCurrentIndex(0);
    combo_->setFocus();
    QDialog::showEvent(event);
}

} // namespace varnok::app
