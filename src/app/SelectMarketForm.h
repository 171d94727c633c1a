#pragma once

#include "support/DataFolder.h"

#include "app/ClosableDialog.h"

namespace varnok::app {

class MarketList;

// "Market Selection": the markets of the data folder, read afresh each time the dialog is
// shown, the first preselected. A market whose optimal patterns are incomplete or unreadable
// says so in its entry, and so does one being computed, which is refused when chosen. Choosing
// one (the button or a double click) only reports it: the main window loads it and hides the
// dialog once the market is in force.
class TSelectMarketForm : public ClosableDialog {
    Q_OBJECT

public:
    TSelectMarketForm(const DataFolder& data, QWidget* parent);

signals:
    // `warning`: what the user is to be told once the market is in force (which trees have no
    // optimal pattern to compare with); empty for a complete market.
    void MarketChosen(const QString& name, const QString& warning);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UseSelectedMarketClick();

    const DataFolder& data_;
    MarketList* list_;
};

} // namespace varnok::app
