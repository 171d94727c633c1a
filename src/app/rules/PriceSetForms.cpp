#include "app/rules/PriceSetForms.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/RuleFileSave.h"
#include "app/rules/RuleGrid.h"
#include "rules/RoundwoodProducts.h"
#include "support/Files.h"

#include <QEvent>
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

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* LengthCaption(QWidget* parent) {
    auto* caption = new QLabel("Log Length", parent);
    caption->setObjectName("Label3");
    caption->setAlignment(Qt::AlignCenter);
    return caption;
}

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

TReadPrice::TReadPrice(const DataFolder& data, QWidget* parent) : ClosableDialog(parent) {
    setObjectName("TReadPrice");
    setWindowTitle("View Price Set");
    auto* layout = new QGridLayout(this);
    AddStep(layout, 0, 1, "Select the price set to be viewed.", "Label1");
    list_ = new RuleFileList(data.Prices(), this);
    list_->setObjectName("ListBox1");
    list_->setMaximumHeight(120);
    grid_ = new RuleGrid(PriceViewerGrid(), false, kFixedColumns, kPriceRows, this);
    grid_->setObjectName("StringGrid1");
    auto* view = MakeButton(this, "ReadPriceFile", "View Selected Price Set");
    auto* exit = MakeButton(this, "Return", "Exit Viewer");
    layout->addWidget(list_, 1, 1);
    AddStepNumber(layout, 2, 2);
    layout->addWidget(LengthCaption(this), 2, 1);
    layout->addWidget(grid_, 3, 1);
    AddStepNumber(layout, 4, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(view);
    buttons->addWidget(exit);
    buttons->addStretch(1);
    layout->addLayout(buttons, 4, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
    setTabOrder(list_, grid_);
    setTabOrder(grid_, view);
    setTabOrder(view, exit);
    connect(view, &QPushButton::clicked, this, &TReadPrice::ReadPriceFileClick);
    connect(list_, &QListWidget::itemActivated, this, &TReadPrice::ReadPriceFileClick);
    connect(exit, &QPushButton::clicked, this, &TReadPrice::reject);
}

void TReadPrice::ShowFile(const std::string& name) {
    show();
    raise();
    list_->Refresh();
    const std::string file = FindEntry(list_->Folder(), name).filename().string();
    list_->Select(file);
    View(file);
}

void TReadPrice::showEvent(QShowEvent* event) {
    grid_->Paint(PriceViewerGrid());
    list_->setFocus();
    ClosableDialog::showEvent(event);
}

bool TReadPrice::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        RefreshKeepingSelection(list_);
    }
    return ClosableDialog::event(event);
}

void TReadPrice::ReadPriceFileClick() {
    if (const auto name = list_->Selected()) {
        View(*name);
    }
}

void TReadPrice::View(const std::string& name) {
    grid_->Paint(PriceViewerGrid());
    Guarded(this, [&] { grid_->Paint(PriceViewerGrid(ReadPriceSet(list_->Folder() / name))); });
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
    auto* select = MakeButton(this, "Button1", "Select");
    auto* startup = MakeButton(this, "Button2", "Startup");
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
    auto* save = MakeButton(this, "SavePriceFile", "Save");
    save->setDefault(true);
    auto* cancel = MakeButton(this, "Cancel", "Cancel");
    auto* orLabel = new QLabel("or", this);
    orLabel->setObjectName("Label5");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(orLabel);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    layout->addLayout(roundwood, 1, 1);
    layout->addWidget(LengthCaption(this), 3, 1);
    layout->addWidget(grid_, 4, 1);
    layout->addWidget(name_, 6, 1);
    AddStepNumber(layout, 7, 4);
    layout->addLayout(buttons, 7, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(4, 1);
    setTabOrder(list_, select);
    setTabOrder(select, grid_);
    setTabOrder(grid_, name_);
    setTabOrder(name_, save);
    setTabOrder(save, cancel);
    connect(select, &QPushButton::clicked, this, &TDefineNewLogPrices::Button1Click);
    connect(list_, &QListWidget::itemActivated, this, &TDefineNewLogPrices::Button1Click);
    connect(startup, &QPushButton::clicked, this, &TDefineNewLogPrices::Button2Click);
    connect(save, &QPushButton::clicked, this, &TDefineNewLogPrices::SavePriceFileClick);
    connect(cancel, &QPushButton::clicked, this, &TDefineNewLogPrices::reject);
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
        }
    }
    grid_->FitColumns();
}

void TDefineNewLogPrices::SavePriceFileClick() {
    grid_->CommitTyping();
    PriceCells cells;
    for (int r = 0; r < kPriceRows; ++r) {
        for (int l = 0; l < kPriceLengths; ++l) {
            cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(l)] =
                grid_->Text(r, kPriceFirstLengthColumn + l);
        }
    }
    Guarded(this, [&] {
        PriceSet set;
        try {
            set = PriceSetFromCells(heads_, cells, CommaIsDecimalSeparator());
        } catch (const CellError& error) {
            grid_->PointAt(error.Row(), error.Column());
            throw;
        }
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
