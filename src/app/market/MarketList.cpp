#include "app/market/MarketList.h"

#include "app/ErrorBox.h"
#include "services/MarketChoice.h"

#include <QEvent>
#include <QShowEvent>

namespace varnok::app {

MarketList::MarketList(const DataFolder& data, bool selectFirst, QWidget* parent)
    : QListWidget(parent), data_(data), selectFirst_(selectFirst) {
    parent->window()->installEventFilter(this);
}

std::optional<std::string> MarketList::SelectedName() const {
    if (const MarketListing* listing = SelectedListing()) {
        return listing->Name;
    }
    return std::nullopt;
}

const MarketListing* MarketList::SelectedListing() const {
    const QListWidgetItem* item = currentItem();
    if (item == nullptr || !item->isSelected()) {
        return nullptr;
    }
    return &listing_[static_cast<std::size_t>(row(item))];
}

void MarketList::showEvent(QShowEvent* event) {
    // A window restored from the task bar shows its list as it left it.
    if (!event->spontaneous()) {
        clearSelection();
        setCurrentRow(-1);
        Reread(selectFirst_);
    }
    QListWidget::showEvent(event);
}

bool MarketList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate && isVisible()) {
        Reread(false);
    }
    return QListWidget::eventFilter(watched, event);
}

void MarketList::Reread(bool selectFirst) {
    std::vector<MarketListing> listing;
    Guarded(window(), [&] { listing = ListMarketsWithProgress(data_); });
    QStringList texts;
    for (const MarketListing& market : listing) {
        texts << QString::fromStdString(MarketEntryText(market));
    }
    QStringList shown;
    for (int r = 0; r < count(); ++r) {
        shown << item(r)->text();
    }
    const std::optional<std::string> selected = SelectedName();
    listing_ = std::move(listing);
    if (texts != shown) {
        clear();
        for (std::size_t m = 0; m < listing_.size(); ++m) {
            auto* entry = new QListWidgetItem(texts[static_cast<int>(m)], this);
            entry->setData(Qt::UserRole, QString::fromStdString(listing_[m].Name));
            if (const auto warning = MarketChoiceWarning(listing_[m])) {
                entry->setToolTip(QString::fromStdString(*warning));
            }
        }
        for (std::size_t m = 0; selected && m < listing_.size(); ++m) {
            if (listing_[m].Name == *selected) {
                setCurrentRow(static_cast<int>(m));
            }
        }
    }
    if (selectFirst && currentRow() < 0 && count() > 0) {
        setCurrentRow(0);
    }
}

} // namespace varnok::app
