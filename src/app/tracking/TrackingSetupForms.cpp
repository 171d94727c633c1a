#include "app/tracking/TrackingSetupForms.h"

#include "tracking/TrackingStore.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnok::app {
namespace {

QLabel* Prompt(QWidget* parent, const char* text, QWidget* buddy) {
    auto* prompt = new QLabel(text, parent);
    prompt->setObjectName("Label1");
    prompt->setBuddy(buddy);
    return prompt;
}

QPushButton* DefaultButton(QWidget* parent, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName("Button1");
    button->setDefault(true);
    return button;
}

} // namespace

TTrackingBuckersForm::TTrackingBuckersForm(QWidget* parent) : ClosableDialog(parent) {
    setObjectName("TTrackingBuckersForm");
    setWindowTitle("Buckers Selection");
    list_ = new QListWidget(this);
    list_->setObjectName("ListBox1");
    for (int n = 1; n <= kMaxBuckers; ++n) {
        list_->addItem(QString::number(n));
    }
    // Five short entries: no scrolling.
    list_->setFixedHeight(list_->sizeHintForRow(0) * kMaxBuckers + 2 * list_->frameWidth());
    QPushButton* next = DefaultButton(this, "Next");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Prompt(this, "Select The Number of Buckers to Track", list_));
    layout->addWidget(list_);
    layout->addWidget(next);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(next, &QPushButton::clicked, this, &TTrackingBuckersForm::Button1Click);
    connect(list_, &QListWidget::itemActivated, this, &TTrackingBuckersForm::Button1Click);
}

void TTrackingBuckersForm::showEvent(QShowEvent* event) {
    list_->clearSelection();
    list_->setCurrentRow(-1);
    list_->setFocus();
    ClosableDialog::showEvent(event);
}

void TTrackingBuckersForm::Button1Click() {
    const QList<QListWidgetItem*> chosen = list_->selectedItems();
    if (chosen.isEmpty()) {
        return;
    }
    emit BuckersChosen(list_->row(chosen.front()) + 1);
}

TTrackingTreesForm::TTrackingTreesForm(QWidget* parent) : ClosableDialog(parent) {
    setObjectName("TTrackingTreesForm");
    setWindowTitle("Trees Selection");
    combo_ = new QComboBox(this); // not editable: a typed number could name no trees
    combo_->setObjectName("ComboBox1");
    for (int n = 1; n <= kMaxTrackedTrees; ++n) {
        combo_->addItem(QString::number(n));
    }
    combo_->setMaxVisibleItems(kMaxTrackedTrees);
    QPushButton* begin = DefaultButton(this, "Begin Bucking Session");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Prompt(this, "Select The Number of Trees to Track", combo_));
    layout->addWidget(combo_);
    layout->addWidget(begin);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(begin, &QPushButton::clicked, this,
            [this] { emit TreesChosen(combo_->currentIndex() + 1); });
}

void TTrackingTreesForm::showEvent(QShowEvent* event) {
    combo_->setCurrentIndex(0);
    combo_->setFocus();
    ClosableDialog::showEvent(event);
}

} // namespace varnok::app
