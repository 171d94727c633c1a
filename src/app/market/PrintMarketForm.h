#pragma once

#include "app/ClosableDialog.h"
#include "app/print/Printing.h"
#include "support/DataFolder.h"

#include <string>

class QPushButton;

namespace varnok::app {

class MarketList;

// The printout of market `name`'s definition, the lines of MarketDefinitionLines from its
// "Specs", titled "NAME Market Definition". Throws FileError when "Specs" cannot be read.
TextDocument MarketDefinitionDocument(const DataFolder& data, const std::string& name);

// Prints market `name`'s definition for `dialog`: reads its "Specs" first, so that a market
// that cannot be read is reported over the dialog, which stays open; else hides the dialog and
// prints through the printing layer, which tells the user over the dialog's parent where a PDF
// went. Returns whether it printed.
bool PrintMarketDefinition(QWidget* dialog, const DataFolder& data, const std::string& name);

// "Print Market Definintion": the markets, read each time the dialog is shown, none selected;
// "Print Market Definition" (enabled once a market is selected) or a double click prints the
// one selected and closes the dialog; "Cancel" closes it.
//
// Components: Label1, ListBox1 (the markets), Button1 ("Print Market Definition"), Button2
// ("Cancel").
class TPrintMarketForm : public ClosableDialog {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TPrintMarketForm(const DataFolder& data, QWidget* parent);

private:
    void Button1Click();

    const DataFolder& data_;
    MarketList* list_;
    QPushButton* print_;
};

} // namespace varnok::app
