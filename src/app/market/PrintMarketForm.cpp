#include "app/market/PrintMarketForm.h"

#include "app/ErrorBox.h"
#include "app/market/MarketDialogParts.h"
#include "app/market/MarketList.h"
#include "app/rules/RuleDialogParts.h"
#include "market/MarketSpecs.h"
#include "services/Reports.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnok::app {

TextDocument MarketDefinitionDocument(const DataFolder& data, const std::string& name) {
    const MarketSpecs specs = ReadMarketSpecs(data.MarketSpecsFile(name));
    TextDocument document{QString::fromStdString(name + " Market Definition"), {}};
    for (const std::string& line : MarketDefinitionLines(name, specs)) {
        document.Lines << QString::fromStdString(line);
    }
    return document;
}

bool PrintMarketDefinition(QWidget* dialog, const DataFolder& data, const std::string& name) {
    TextDocument document;
    if (!Guarded(dialog, [&] { document = MarketDefinitionDocument(data, name); })) {
        return false;
    }
    dialog->hide();
    return PrintDocument(dialog->parentWidget(), data, document);
}

TPrintMarketForm::TPrintMarketForm(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent), data_(data) {
    setObjectName("TPrintMarketForm");
    setWindowTitle("Print Market Definintion");
    auto* layout = new QVBoxLayout(this);
    QLabel* select = AddStep(layout, this, 1, "Select the market to be printed", "Label1");
    list_ = new MarketList(data, false, this);
    list_->setObjectName("ListBox1");
    select->setBuddy(list_);
    layout->addWidget(list_);
    const EitherButtons buttons = AddEitherButtons(layout, this, 2, "Button1",
                                                   "Print Market Definition", "Button2", "Cancel");
    buttons.Row->addStretch(1);
    print_ = buttons.First;
    print_->setDefault(true);
    resize(360, 280);
    print_->setEnabled(false);
    connect(list_, &QListWidget::itemSelectionChanged, this,
            [this] { print_->setEnabled(list_->SelectedName().has_value()); });
    connect(list_, &QListWidget::itemActivated, this, &TPrintMarketForm::Button1Click);
    connect(print_, &QPushButton::clicked, this, &TPrintMarketForm::Button1Click);
    connect(buttons.Second, &QPushButton::clicked, this, &QWidget::hide);
}

void TPrintMarketForm::Button1Click() {
    if (const std::optional<std::string> name = list_->SelectedName()) {
        PrintMarketDefinition(this, data_, *name);
    }
}

} // namespace varnok::app
