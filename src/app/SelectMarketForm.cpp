#include "app/SelectMarketForm.h"

#include "app/ErrorBox.h"
#include "market/Market.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnok::app {

TSelectMarketForm::TSelectMarketForm(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent), data_(data) {
    setObjectName("TSelectMarketForm");
    setWindowTitle("Market Selection");
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("Select A Market", this);
    heading->setObjectName("Label1");
    list_ = new QListWidget(this);
    list_->setObjectName("ListBox1");
    heading->setBuddy(list_);
    auto* use = new QPushButton("Use Selected Market", this);
    use->setObjectName("Button1");
    use->setDefault(true);
    layout->addWidget(heading);
    layout->addWidget(list_);
    layout->addWidget(use);
    resize(320, 300);
    connect(use, &QPushButton::clicked, this, &TSelectMarketForm::UseSelectedMarketClick);
    connect(list_, &QListWidget::itemActivated, this, &TSelectMarketForm::UseSelectedMarketClick);
}

void TSelectMarketForm::showEvent(QShowEvent* event) {
    list_->clear();
    Guarded(this, [&] {
        for (const std::string& name : ListMarkets(data_)) {
            list_->addItem(QString::fromStdString(name));
        }
    });
    if (list_->count() > 0) {
        list_->setCurrentRow(0);
    }
    list_->setFocus();
    QDialog::showEvent(event);
}

void TSelectMarketForm::UseSelectedMarketClick() {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr) {
        return;
    }
    emit MarketChosen(item->text());
}

} // namespace varnok::app
