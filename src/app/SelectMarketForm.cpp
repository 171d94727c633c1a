#include "app/SelectMarketForm.h"

#include "app/ErrorBox.h"
#include "services/MarketChoice.h"
#include "services/MarketStats.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace varnok::app {
namespace {

constexpr int kWarningRole = Qt::UserRole + 1;
constexpr int kWidth = 320; // pixels, with short entries

} // namespace

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
    resize(kWidth, 300);
    connect(use, &QPushButton::clicked, this, &TSelectMarketForm::UseSelectedMarketClick);
    connect(list_, &QListWidget::itemActivated, this, &TSelectMarketForm::UseSelectedMarketClick);
}

// Each entry keeps its market's name apart from what it shows, and the words the user gets on
// choosing it, so the user is told about missing patterns once instead of at every tree.
void TSelectMarketForm::showEvent(QShowEvent* event) {
    list_->clear();
    Guarded(this, [&] {
        for (const MarketListing& market : ListMarketsWithProgress(data_)) {
            auto* item =
                new QListWidgetItem(QString::fromStdString(MarketEntryText(market)), list_);
            item->setData(Qt::UserRole, QString::fromStdString(market.Name));
            if (const auto warning = MarketChoiceWarning(market)) {
                item->setData(kWarningRole, QString::fromStdString(*warning));
                item->setToolTip(QString::fromStdString(*warning));
            }
        }
    });
    if (list_->count() > 0) {
        list_->setCurrentRow(0);
    }
    // Wide enough for the longest entry, what an incomplete market lacks included.
    const QMargins margins = layout()->contentsMargins();
    const int entries = list_->sizeHintForColumn(0) + 2 * list_->frameWidth() +
                        list_->verticalScrollBar()->sizeHint().width() + margins.left() +
                        margins.right();
    resize(std::max(kWidth, entries), height());
    list_->setFocus();
    QDialog::showEvent(event);
}

void TSelectMarketForm::UseSelectedMarketClick() {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr) {
        return;
    }
    emit MarketChosen(item->data(Qt::UserRole).toString(), item->data(kWarningRole).toString());
}

} // namespace varnok::app
