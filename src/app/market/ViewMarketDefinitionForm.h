#pragma once

#include "app/ClosableDialog.h"
#include "market/MarketSpecs.h"
#include "support/DataFolder.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

class QBoxLayout;
class QLineEdit;
class QPushButton;

namespace varnok::app {

class MarketList;

// Shows a rule viewer with the named file of its folder selected and viewed.
using ShowRuleFile = std::function<void(const std::string& name)>;

// The viewers the "View" buttons open on a market's own rule files.
struct MarketRuleViewers {
    ShowRuleFile PriceSet;
    ShowRuleFile SawlogRules;
    ShowRuleFile FilterSet;
    ShowRuleFile Roundwood;
    ShowRuleFile LogRule;
};

// "View Market Definition": the markets (read afresh on every show, none selected, incomplete
// ones marked) and the definition of the one chosen ("View Market Definition" or a double
// click): the names of its rule sets and its trim allowance as a whole number, from its
// "Specs". A "Specs" that cannot be read is reported and leaves the fields empty. Each "View"
// button hides the dialog and opens the viewer of its kind on the market's file. "Print
// Market Definition" prints the market selected. The two market buttons are enabled once a
// market is selected, the "View" buttons while a definition is shown.
//
// Components: ListBox6 (the markets), Button7 ("View Market Definition"), Button10 ("Print
// Market Definition"), Edit1 to Edit7 (in the order of their labels: veneer rules, price set,
// sawlog rules, defect filter set, roundwood products, trim allowance, log rule), the "View"
// buttons Button2 (price set), Button4 (sawlog rules), Button5 (defect filter set), Button6
// (roundwood products), Button9 (log rule), Button1 ("Exit").
class TViewMarketDefinitionForm : public ClosableDialog {
    Q_OBJECT

public:
    static constexpr std::size_t kFields = 7;

    // `data` must outlive the dialog.
    TViewMarketDefinitionForm(const DataFolder& data, MarketRuleViewers viewers, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildFields(QBoxLayout* layout);
    void Button7Click();
    void Button10Click();
    void ViewClick(std::size_t field);
    void Show(const std::optional<MarketSpecs>& specs);
    void SelectionChanged();

    const DataFolder& data_;
    MarketRuleViewers viewers_;
    MarketList* list_;
    QPushButton* view_;
    QPushButton* print_;
    std::array<QLineEdit*, kFields> fields_{};
    std::array<QPushButton*, kFields> viewButtons_{}; // null beside veneer and trim
    std::optional<MarketSpecs> shown_;
};

} // namespace varnok::app
