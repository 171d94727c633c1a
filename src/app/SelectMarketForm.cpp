#include "app/SelectMarketForm.h"

#include "app/ErrorBox.h"
#include "app/market/MarketList.h"
#include "services/MarketChoice.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace varnok::app {
namespace {

constexpr int kWidth = 320; // pixels, with short entries

} // namespace

TSelectMarketForm::TSelectMarketForm(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent), data_(data) {
    setObjectName("TSelectMarketForm");
    setWindowTitle("Market Selection");
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("Select A Market", this);
    heading->setObjectName("Label1");
    list_ = new MarketList(data, true, this);
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

// The list has just been read again (it reads on every show): wide enough for the longest
// entry, what an incomplete market lacks included.
void TSelectMarketForm::showEvent(QShowEvent* event) {
    const QMargins margins = layout()->contentsMargins();
    const int entries = list_->sizeHintForColumn(0) + 2 * list_->frameWidth() +
                        list_->verticalScrollBar()->sizeHint().width() + margins.left() +
                        margins.right();
    resize(std::max(kWidth, entries), height());
    list_->setFocus();
    QDialog::showEvent(event);
}

// The user is told about missing patterns once, on choosing the market, instead of at every
// tree. The lock is asked for now: the computation may have begun or ended since the list was
// read.
void TSelectMarketForm::UseSelectedMarketClick() {
    const MarketListing* market = list_->SelectedListing();
    if (market == nullptr) {
        return;
    }
    if (const auto refusal = MarketChoiceRefusal(data_, market->Name)) {
        ShowError(this, VarnokError(*refusal));
        return;
    }
    const std::optional<std::string> warning = MarketChoiceWarning(*market);
    emit MarketChosen(QString::fromStdString(market->Name),
                      QString::fromStdString(warning.value_or("")));
}

} // namespace varnok::app
