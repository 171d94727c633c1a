#include "app/market/CreateMarketForm.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/market/MarketDialogParts.h"
#include "app/rules/RuleDialogParts.h"
#include "services/MarketDefinitionChecks.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace varnok::app {
namespace {

constexpr int kListHeight = 96; // pixels: five names in view
constexpr int kListWidth = 230; // pixels: the bundled names whole
constexpr int kColumns = 3;

QString StepText(std::size_t step) {
    return QString::fromUtf8(DefineMarketStepTexts()[step]);
}

std::string SelectedText(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item != nullptr && item->isSelected() ? item->text().toStdString() : std::string();
}

QString Joined(const std::vector<std::string>& warnings) {
    QString text;
    for (const std::string& warning : warnings) {
        text += QString::fromStdString(warning) + "\n\n";
    }
    return text;
}

} // namespace

TCreateMarketForm::TCreateMarketForm(const DataFolder& data, StartComputation start,
                                     QWidget* parent)
    : ClosableDialog(parent), data_(data), start_(std::move(start)) {
    setObjectName("TCreateMarketForm");
    setWindowTitle("Define Market");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    layout->addLayout(grid);
    BuildRuleLists(grid);
    BuildTrimAndName(grid);

    const EitherButtons buttons =
        AddEitherButtons(layout, this, 9, "Button1", "Create Market", "Button2", "Cancel");
    create_ = buttons.First;
    create_->setDefault(true);
    missing_ = new QLabel(this);
    missing_->setObjectName("Label9");
    buttons.Row->addSpacing(16);
    buttons.Row->addWidget(missing_, 1);

    connect(trim_, &QListWidget::itemSelectionChanged, this, &TCreateMarketForm::ChoicesChanged);
    connect(name_, &QLineEdit::textChanged, this, &TCreateMarketForm::ChoicesChanged);
    connect(create_, &QPushButton::clicked, this, &TCreateMarketForm::Button1Click);
    connect(buttons.Second, &QPushButton::clicked, this, &QWidget::hide);
    ChoicesChanged();
}

void TCreateMarketForm::BuildRuleLists(QGridLayout* grid) {
    const std::array<std::filesystem::path, kRuleLists> folders = {
        data_.LogRules(), data_.Veneer(),  data_.SawGrades(),
        data_.Prices(),   data_.Filters(), data_.Roundwood()};
    for (std::size_t i = 0; i < kRuleLists; ++i) {
        auto* cell = new QVBoxLayout;
        const QString number = QString::number(i + 1);
        QLabel* label =
            AddStep(cell, this, static_cast<int>(i) + 1, StepText(i), qPrintable("Label" + number));
        rules_[i] = new RuleFileList(folders[i], this);
        rules_[i]->setObjectName("ListBox" + number);
        rules_[i]->setFixedHeight(kListHeight);
        rules_[i]->setMinimumWidth(kListWidth);
        label->setBuddy(rules_[i]);
        cell->addWidget(rules_[i]);
        grid->addLayout(cell, static_cast<int>(i) / kColumns, static_cast<int>(i) % kColumns);
        connect(rules_[i], &QListWidget::itemSelectionChanged, this,
                &TCreateMarketForm::ChoicesChanged);
    }
}

void TCreateMarketForm::BuildTrimAndName(QGridLayout* grid) {
    auto* trimCell = new QVBoxLayout;
    QLabel* trimLabel = AddStep(trimCell, this, 7, StepText(6), "Label7");
    trim_ = new QListWidget(this);
    trim_->setObjectName("ListBox7");
    trim_->addItems({"4", "8"});
    trim_->setFixedHeight(trim_->sizeHintForRow(0) * 2 + 2 * trim_->frameWidth() + 2);
    trimLabel->setBuddy(trim_);
    trimCell->addWidget(trim_);
    trimCell->addStretch(1);
    grid->addLayout(trimCell, 2, 0);

    auto* nameCell = new QVBoxLayout;
    QLabel* nameLabel = AddStep(nameCell, this, 8, StepText(7), "Label8");
    name_ = new QLineEdit(this);
    name_->setObjectName("Edit1");
    nameLabel->setBuddy(name_);
    nameCell->addWidget(name_);
    nameCell->addStretch(1);
    grid->addLayout(nameCell, 2, 1, 1, 2);
}

// The rule lists have just been read again (they read on every show) and select nothing:
// the choices made before are selected again where their files are still there.
void TCreateMarketForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        for (std::size_t i = 0; i < kRuleLists; ++i) {
            if (kept_[i]) {
                rules_[i]->Select(*kept_[i]);
            }
        }
        trim_->clearSelection();
        trim_->setCurrentRow(-1);
        name_->clear();
        rules_[0]->setFocus();
    }
    ChoicesChanged();
    ClosableDialog::showEvent(event);
}

void TCreateMarketForm::hideEvent(QHideEvent* event) {
    for (std::size_t i = 0; i < kRuleLists; ++i) {
        kept_[i] = rules_[i]->Selected();
    }
    ClosableDialog::hideEvent(event);
}

MarketDefinition TCreateMarketForm::Definition() const {
    MarketDefinition d;
    d.Name = name_->text().toStdString();
    const std::string trim = SelectedText(trim_);
    d.TrimAllowance = trim.empty() ? 0 : std::stoi(trim);
    std::array<std::string*, kRuleLists> names = {&d.LogRule,  &d.VeneerRules, &d.SawlogRules,
                                                  &d.PriceSet, &d.FilterSet,   &d.Roundwood};
    for (std::size_t i = 0; i < kRuleLists; ++i) {
        *names[i] = rules_[i]->Selected().value_or("");
    }
    return d;
}

void TCreateMarketForm::ChoicesChanged() {
    const std::optional<std::string> missing = MissingMarketChoice(Definition());
    create_->setEnabled(!missing);
    missing_->setText(QString::fromStdString(missing.value_or("")));
}

void TCreateMarketForm::Button1Click() {
    const MarketDefinition definition = Definition();
    if (MissingMarketChoice(definition)) {
        return;
    }
    std::vector<std::string> warnings;
    const bool checked = Guarded(this, [&] {
        (void)CheckMarketDefinition(data_, definition);
        warnings = MarketDefinitionWarnings(data_, definition);
    });
    if (!checked) {
        return;
    }
    if (warnings.empty()) {
        Create(definition);
        return;
    }
    AskToGoOn(this, Joined(warnings) + "Compute the market anyway?",
              [this, definition] { Create(definition); });
}

void TCreateMarketForm::Create(const MarketDefinition& definition) {
    if (start_(definition)) {
        hide();
    }
}

} // namespace varnok::app
