#include "app/market/ViewMarketDefinitionForm.h"

#include "app/ErrorBox.h"
#include "app/market/MarketDialogParts.h"
#include "app/market/MarketList.h"
#include "app/market/PrintMarketForm.h"
#include "app/rules/RuleDialogParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace varnok::app {
namespace {

struct FieldLayout {
    const char* Label;
    const char* ViewButton;                  // null: no viewer
    ShowRuleFile MarketRuleViewers::*Viewer; // null: no viewer
};

constexpr std::size_t kFieldCount = 7;

const std::array<FieldLayout, kFieldCount> kFieldLayout = {{
    {"Veneer Grading Rule Used", nullptr, nullptr},
    {"Price Set Used", "Button2", &MarketRuleViewers::PriceSet},
    {"Sawlog Grading Rule", "Button4", &MarketRuleViewers::SawlogRules},
    {"Defect Filter Set Used", "Button5", &MarketRuleViewers::FilterSet},
    {"Roundwood Products Used", "Button6", &MarketRuleViewers::Roundwood},
    {"Trim Allowance Used", nullptr, nullptr},
    {"Log Rule Used", "Button9", &MarketRuleViewers::LogRule},
}};

// The fields in the order of kFieldLayout.
std::array<std::string, kFieldCount> FieldTexts(const MarketSpecs& specs) {
    return {specs.VeneerRuleName, specs.PriceSetName,  specs.SawlogRuleName,
            specs.FilterSetName,  specs.RoundwoodName, std::to_string(specs.TrimAllowance),
            specs.LogRuleName};
}

} // namespace

static_assert(TViewMarketDefinitionForm::kFields == kFieldCount);

TViewMarketDefinitionForm::TViewMarketDefinitionForm(const DataFolder& data,
                                                     MarketRuleViewers viewers, QWidget* parent)
    : ClosableDialog(parent), data_(data), viewers_(std::move(viewers)) {
    setObjectName("TViewMarketDefinitionForm");
    setWindowTitle("View Market Definition");
    auto* layout = new QVBoxLayout(this);
    QLabel* select = AddStep(layout, this, 1, "Select market to be viewed", "Label1");
    list_ = new MarketList(data, false, this);
    list_->setObjectName("ListBox6");
    list_->setFixedHeight(110);
    select->setBuddy(list_);
    layout->addWidget(list_);
    const EitherButtons buttons =
        AddEitherButtons(layout, this, 2, "Button7", "View Market Definition", "Button10",
                         "Print Market Definition");
    buttons.Row->addStretch(1);
    view_ = buttons.First;
    view_->setDefault(true);
    print_ = buttons.Second;
    BuildFields(layout);
    auto* exit = new QPushButton("Exit", this);
    exit->setObjectName("Button1");
    AddStep(layout, this, 3, exit);

    connect(list_, &QListWidget::itemSelectionChanged, this,
            &TViewMarketDefinitionForm::SelectionChanged);
    connect(list_, &QListWidget::itemActivated, this, &TViewMarketDefinitionForm::Button7Click);
    connect(view_, &QPushButton::clicked, this, &TViewMarketDefinitionForm::Button7Click);
    connect(print_, &QPushButton::clicked, this, &TViewMarketDefinitionForm::Button10Click);
    connect(exit, &QPushButton::clicked, this, &QWidget::hide);
    SelectionChanged();
}

void TViewMarketDefinitionForm::BuildFields(QBoxLayout* layout) {
    auto* grid = new QGridLayout;
    grid->setContentsMargins(24, 4, 0, 4);
    grid->setColumnStretch(1, 1);
    for (std::size_t f = 0; f < kFields; ++f) {
        const int row = static_cast<int>(f);
        auto* label = new QLabel(kFieldLayout[f].Label, this);
        fields_[f] = new QLineEdit(this);
        fields_[f]->setObjectName("Edit" + QString::number(row + 1));
        fields_[f]->setReadOnly(true);
        fields_[f]->setMinimumWidth(280);
        label->setBuddy(fields_[f]);
        grid->addWidget(label, row, 0);
        grid->addWidget(fields_[f], row, 1);
        if (kFieldLayout[f].ViewButton != nullptr) {
            viewButtons_[f] = new QPushButton("View", this);
            viewButtons_[f]->setObjectName(kFieldLayout[f].ViewButton);
            grid->addWidget(viewButtons_[f], row, 2);
            connect(viewButtons_[f], &QPushButton::clicked, this, [this, f] { ViewClick(f); });
        }
    }
    layout->addLayout(grid);
}

void TViewMarketDefinitionForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        Show(std::nullopt);
        list_->setFocus();
    }
    ClosableDialog::showEvent(event);
}

void TViewMarketDefinitionForm::SelectionChanged() {
    const bool selected = list_->SelectedName().has_value();
    view_->setEnabled(selected);
    print_->setEnabled(selected);
}

// The fields are emptied before the read, so a market that fails shows nothing of the one
// before.
void TViewMarketDefinitionForm::Button7Click() {
    const std::optional<std::string> name = list_->SelectedName();
    if (!name) {
        return;
    }
    Show(std::nullopt);
    Guarded(this, [&] { Show(ReadMarketSpecs(data_.MarketSpecsFile(*name))); });
}

void TViewMarketDefinitionForm::Button10Click() {
    if (const std::optional<std::string> name = list_->SelectedName()) {
        PrintMarketDefinition(this, data_, *name);
    }
}

void TViewMarketDefinitionForm::ViewClick(std::size_t field) {
    if (!shown_ || kFieldLayout[field].Viewer == nullptr) {
        return;
    }
    const std::string name = FieldTexts(*shown_)[field];
    hide();
    (viewers_.*kFieldLayout[field].Viewer)(name);
}

void TViewMarketDefinitionForm::Show(const std::optional<MarketSpecs>& specs) {
    shown_ = specs;
    std::array<std::string, kFieldCount> texts;
    if (specs) {
        texts = FieldTexts(*specs);
    }
    for (std::size_t f = 0; f < kFields; ++f) {
        fields_[f]->setText(QString::fromStdString(texts[f]));
        if (viewButtons_[f] != nullptr) {
            viewButtons_[f]->setEnabled(specs.has_value());
        }
    }
}

} // namespace varnok::app
