#pragma once

#include "services/MarketStats.h"
#include "support/DataFolder.h"

#include <QListWidget>

#include <optional>
#include <string>
#include <vector>

namespace varnok::app {

// The markets of the data folder as every market dialog lists them: each entry says what an
// incomplete market lacks and whether it is being computed now (MarketEntryText), keeps the
// market's name apart from what it shows (Qt::UserRole) and has what the user is told on
// choosing it as its tooltip. Read afresh each time the list is shown, and again when its
// window is activated, since a computation may have stored trees or ended meanwhile; that
// reading keeps the selection, and changes nothing when nothing changed. A Markets folder that
// cannot be read is reported over the list's window and lists nothing.
class MarketList : public QListWidget {
    Q_OBJECT

public:
    // `selectFirst`: whether the first market is current after each show, or none.
    MarketList(const DataFolder& data, bool selectFirst, QWidget* parent);

    // The market of the current entry, if one is selected, and its listing as last read.
    std::optional<std::string> SelectedName() const;
    const MarketListing* SelectedListing() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the markets; entries are rebuilt only when their texts changed. The market selected
    // stays selected when it is still listed; else the first is current when `selectFirst`.
    void Reread(bool selectFirst);

    const DataFolder& data_;
    bool selectFirst_;
    std::vector<MarketListing> listing_; // one per row
};

} // namespace varnok::app
