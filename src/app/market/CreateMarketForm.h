#pragma once

#include "app/ClosableDialog.h"
#include "services/MarketComputation.h"
#include "support/DataFolder.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace varnok::app {

class RuleFileList;

// "Define Market": one rule set of each kind from its folder, a trim allowance and the name of
// a new market. The six rule lists are read afresh on every show and keep their choices; the
// trim and the name are cleared. "Create Market" is enabled once all seven are chosen and the
// name is a plain name, and what is still open is said beside it. It checks the whole
// definition before anything is touched (CheckMarketDefinition: a market of that name is
// refused with "I/O error 183"), warns where the price set and the roundwood set disagree
// (going on only on Yes), and then hands the definition to `start` and hides. A refusal keeps
// the dialog open with every choice.
//
// Components: ListBox1 to ListBox6 (log rule, veneer rules, sawlog rules, price set, defect
// filter set, roundwood products), ListBox7 (trim allowance "4", "8"), Edit1 (the name), Button1
// ("Create Market"), Button2 ("Cancel"), Label9 (what is still open).
class TCreateMarketForm : public ClosableDialog {
    Q_OBJECT

public:
    // Starts the computation of a checked definition; false when it cannot start now (having
    // told the user why).
    using StartComputation = std::function<bool(const MarketDefinition&)>;

    // `data` must outlive the dialog.
    TCreateMarketForm(const DataFolder& data, StartComputation start, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    static constexpr std::size_t kRuleLists = 6;

    void BuildRuleLists(QGridLayout* grid);
    void BuildTrimAndName(QGridLayout* grid);
    MarketDefinition Definition() const;
    void ChoicesChanged();
    void Button1Click();
    void Create(const MarketDefinition& definition);

    const DataFolder& data_;
    StartComputation start_;
    std::array<RuleFileList*, kRuleLists> rules_{};
    std::array<std::optional<std::string>, kRuleLists> kept_{}; // the choices while hidden
    QListWidget* trim_;
    QLineEdit* name_;
    QPushButton* create_;
    QLabel* missing_;
};

} // namespace varnok::app
