#include "app/rules/PriceSetForms.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/RuleFileSave.h"
#include "app/rules/RuleDialogParts.h"
#include "app/rules/RuleGrid.h"
#include "rules/RoundwoodProducts.h"
#include "support/Files.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnok::app {
namespace {

constexpr int kFixedColumns = 2; // name and units

} // namespace

TReadPrice::TReadPrice(const DataFolder& data, QWidget* parent)
    : RuleFileViewer(
          data.Prices(), PriceViewerGrid(), kFixedColumns, kPriceRows,
          [](const std::filesystem::path& path) { return PriceViewerGrid(ReadPriceSet(path)); },
          parent) {
    setObjectName("TReadPrice");
    setWindowTitle("View Price Set");
    auto* layout = new QVBoxLayout(this);
    AddStep(layout, this, 1, "Select the price set to be viewed.", "Label1");
    layout->addWidget(List());
    AddStep(layout, this, 2, MakeLengthCaption(this));
    layout->addWidget(Grid(), 1);
    auto* buttons = new QWidget(this);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    auto* view = new QPushButton("View Selected Price Set", buttons);
    view->setObjectName("ReadPriceFile");
    auto* exit = new QPushButton("Exit Viewer", buttons);
    exit->setObjectName("Return");
    row->addWidget(view);
    row->addWidget(exit);
    row->addStretch(1);
    AddStep(layout, this, 3, buttons);
    setTabOrder(List(), Grid());
    setTabOrder(Grid(), view);
    setTabOrder(view, exit);
    connect(view, &QPushButton::clicked, this, &TReadPrice::ViewSelected);
    connect(exit, &QPushButton::clicked, this, &TReadPrice::reject);
}

TDefineNewLogPrices::TDefineNewLogPrices(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent), data_(data) {
    setObjectName("TDefineNewLogPrices");
    setWindowTitle("Define Price Set");
    auto* layout = new QVBoxLayout(this);
    AddStep(layout, this, 1, "Select a roundwood product set, then click Select.", "Label1");
    list_ = new RuleFileList(data.Roundwood(), this);
    list_->setObjectName("ListBox1");
    list_->setMaximumHeight(90);
    auto* select = new QPushButton("Select", this);
    select->setObjectName("Button1");
    auto* startup = new QPushButton("Startup", this);
    startup->setObjectName("Button2");
    startup->hide();
    auto* roundwood = new QHBoxLayout;
    roundwood->addWidget(list_, 1);
    roundwood->addWidget(select, 0, Qt::AlignTop);
    roundwood->addWidget(startup, 0, Qt::AlignTop);
    layout->addLayout(roundwood);
    AddStep(layout, this, 2, "Enter prices for each log length for every product class.", "Label2");
    layout->addWidget(MakeLengthCaption(this));
    grid_ = new RuleGrid(PriceEditorGrid(heads_), true, kFixedColumns, kPriceRows, this);
    grid_->setObjectName("StringGrid1");
    layout->addWidget(grid_, 1);
    AddStep(layout, this, 3, "Enter the desired name for the prices set.", "Label4");
    name_ = new QLineEdit(this);
    name_->setObjectName("Edit1");
    layout->addWidget(name_);
    const SaveOrCancel buttons = AddSaveOrCancel(layout, this, 4, "SavePriceFile", "Cancel");
    buttons.Save->setDefault(true);
    setTabOrder(list_, select);
    setTabOrder(select, grid_);
    setTabOrder(grid_, name_);
    setTabOrder(name_, buttons.Save);
    setTabOrder(buttons.Save, buttons.Cancel);
    connect(select, &QPushButton::clicked, this, &TDefineNewLogPrices::Button1Click);
    connect(list_, &QListWidget::itemActivated, this, &TDefineNewLogPrices::Button1Click);
    connect(startup, &QPushButton::clicked, this, &TDefineNewLogPrices::Button2Click);
    connect(buttons.Save, &QPushButton::clicked, this, &TDefineNewLogPrices::SavePriceFileClick);
    connect(buttons.Cancel, &QPushButton::clicked, this, &TDefineNewLogPrices::reject);
}

void TDefineNewLogPrices::showEvent(QShowEvent* event) {
    name_->clear();
    heads_ = PriceRowHeadsWithoutRoundwood();
    grid_->Paint(PriceEditorGrid(heads_));
    list_->setFocus();
    ClosableDialog::showEvent(event);
}

void TDefineNewLogPrices::Button1Click() {
    const auto name = list_->Selected();
    if (!name) {
        return;
    }
    Guarded(this, [&] {
        heads_ = PriceRowHeadsFor(ReadRoundwoodProducts(list_->Folder() / *name));
        PaintRowHeads();
    });
}

// Writes the heads and the names of the fixed rows again, over nothing the user typed.
void TDefineNewLogPrices::Button2Click() {
    PaintRowHeads();
}

void TDefineNewLogPrices::PaintRowHeads() {
    const RuleGridTexts texts = PriceEditorGrid(heads_);
    for (int r = 0; r < kPriceRows; ++r) {
        for (int c = 0; c < kFixedColumns; ++c) {
            grid_->SetText(r, c,
                           texts.Cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
        }
    }
    const bool locked = !heads_.CullPriced;
    for (int c = kPriceFirstLengthColumn; c < grid_->columnCount(); ++c) {
        if (grid_->IsLocked(kCullRow, c) != locked) {
            grid_->SetText(kCullRow, c, texts.Cells[kCullRow][static_cast<std::size_t>(c)]);
            grid_->SetLocked(kCullRow, c, locked, kUnpricedCullNote);
        }
    }
    grid_->FitColumns();
}

void TDefineNewLogPrices::SavePriceFileClick() {
    Guarded(this, [this] {
        const PriceSet set = grid_->PointingAtBadCell([this] {
            return PriceSetFromCells(
                heads_, grid_->Cells<kPriceRows, kPriceLengths>(kPriceFirstLengthColumn),
                CommaIsDecimalSeparator());
        });
        const QString name = name_->text();
        // The name is checked before the warning, so Yes never leads to a refused name.
        CheckPlainName(name.toStdString(), "price set");
        if (const auto warning = CubicFeetFractionWarning(set)) {
            AskToGoOn(this, QString::fromStdString(*warning) + "\n\nSave the price set as it is?",
                      [this, name, set] { Save(name, set); });
            return;
        }
        Save(name, set);
    });
}

void TDefineNewLogPrices::Save(const QString& name, const PriceSet& set) {
    Guarded(this, [&] {
        SaveRuleFile(this, data_.Prices(), name, "price set", set.Encode(), [this] { hide(); });
    });
}

} // namespace varnok::app
