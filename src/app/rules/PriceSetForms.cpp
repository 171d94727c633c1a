#include "app/rules/PriceSetForms.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/RuleFileSave.h"
#include "app/rules/RuleGrid.h"
#include "rules/RoundwoodProducts.h"
#include "support/Files.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

namespace varnok::app {
namespace {

constexpr int kFixedColumns = 2; // name and units

// Asks whether to go on in spite of `warning`, without blocking (a box named "WarningBox");
// `goOn` runs on Yes.
void AskToGoOn(QWidget* parent, const QString& warning, std::function<void()> goOn) {
    auto* box = new QMessageBox(QMessageBox::Warning, "Varnok", warning,
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setObjectName("WarningBox");
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, parent, [goOn = std::move(goOn)](int result) {
        if (result == QMessageBox::Yes) {
            goOn();
        }
    });
    box->open();
}

} // namespace

TReadPrice::TReadPrice(const DataFolder& data, QWidget* parent)
    : RuleFileViewer(
          data.Prices(), PriceViewerGrid(), kFixedColumns, kPriceRows,
          [](const std::filesystem::path& path) { return PriceViewerGrid(ReadPriceSet(path)); },
          parent) {
    setObjectName("TReadPrice");
    setWindowTitle("View Price Set");
    auto* layout = new QGridLayout(this);
    AddStep(layout, 0, 1, "Select the price set to be viewed.", "Label1");
    auto* view = MakeRuleButton(this, "ReadPriceFile", "View Selected Price Set");
    auto* exit = MakeRuleButton(this, "Return", "Exit Viewer");
    layout->addWidget(List(), 1, 1);
    AddStepNumber(layout, 2, 2);
    layout->addWidget(MakeLengthCaption(this), 2, 1);
    layout->addWidget(Grid(), 3, 1);
    AddStepNumber(layout, 4, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(view);
    buttons->addWidget(exit);
    buttons->addStretch(1);
    layout->addLayout(buttons, 4, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
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
    auto* layout = new QGridLayout(this);
    AddStep(layout, 0, 1, "Select a roundwood product set, then click Select.", "Label1");
    list_ = new RuleFileList(data.Roundwood(), this);
    list_->setObjectName("ListBox1");
    list_->setMaximumHeight(90);
    auto* select = MakeRuleButton(this, "Button1", "Select");
    auto* startup = MakeRuleButton(this, "Button2", "Startup");
    startup->hide();
    auto* roundwood = new QHBoxLayout;
    roundwood->addWidget(list_, 1);
    roundwood->addWidget(select, 0, Qt::AlignTop);
    roundwood->addWidget(startup, 0, Qt::AlignTop);
    AddStep(layout, 2, 2, "Enter prices for each log length for every product class.", "Label2");
    grid_ = new RuleGrid(PriceEditorGrid(heads_), true, kFixedColumns, kPriceRows, this);
    grid_->setObjectName("StringGrid1");
    AddStep(layout, 5, 3, "Enter the desired name for the prices set.", "Label4");
    name_ = new QLineEdit(this);
    name_->setObjectName("Edit1");
    const SaveOrCancel buttons = MakeSaveOrCancel(this, "SavePriceFile");
    layout->addLayout(roundwood, 1, 1);
    layout->addWidget(MakeLengthCaption(this), 3, 1);
    layout->addWidget(grid_, 4, 1);
    layout->addWidget(name_, 6, 1);
    AddStepNumber(layout, 7, 4);
    layout->addLayout(buttons.Row, 7, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(4, 1);
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
            grid_->SetLocked(kCullRow, c, locked);
            grid_->item(kCullRow, c)->setToolTip(locked ? kUnpricedCullNote : "");
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
