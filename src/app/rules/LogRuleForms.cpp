#include "app/rules/LogRuleForms.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/RuleFileSave.h"
#include "app/rules/RuleGrid.h"
#include "rules/LogRuleCells.h"
#include "support/Files.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnok::app {
namespace {

constexpr int kVisibleRows = 15;

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// The caption "Log Length" over the table, as its heads are lengths.
QLabel* LengthCaption(QWidget* parent) {
    auto* caption = new QLabel("Log Length", parent);
    caption->setObjectName("Label3");
    caption->setAlignment(Qt::AlignCenter);
    return caption;
}

} // namespace

TReadLogScaleForm::TReadLogScaleForm(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent) {
    setObjectName("TReadLogScaleForm");
    setWindowTitle("View Log Rule");
    auto* layout = new QGridLayout(this);
    AddStep(layout, 0, 1, "Select the log rule to be viewed.", "Label1");
    list_ = new RuleFileList(data.LogRules(), this);
    list_->setObjectName("ListBox1");
    list_->setMaximumHeight(120);
    auto* view = MakeButton(this, "Button1", "View Selected Log Rule");
    grid_ = new RuleGrid(LogRuleViewerGrid(), false, 0, kVisibleRows, this);
    grid_->setObjectName("StringGrid1");
    auto* exit = MakeButton(this, "Cancel", "Exit Viewer");
    layout->addWidget(list_, 1, 1);
    AddStepNumber(layout, 2, 2);
    layout->addWidget(view, 2, 1, Qt::AlignLeft);
    layout->addWidget(LengthCaption(this), 3, 1);
    layout->addWidget(grid_, 4, 1);
    AddStepNumber(layout, 5, 3);
    layout->addWidget(exit, 5, 1, Qt::AlignLeft);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(4, 1);
    setTabOrder(list_, view);
    setTabOrder(view, grid_);
    setTabOrder(grid_, exit);
    connect(view, &QPushButton::clicked, this, &TReadLogScaleForm::Button1Click);
    connect(list_, &QListWidget::itemActivated, this, &TReadLogScaleForm::Button1Click);
    connect(exit, &QPushButton::clicked, this, &TReadLogScaleForm::reject);
}

void TReadLogScaleForm::ShowFile(const std::string& name) {
    show();
    raise();
    list_->Refresh();
    const std::string file = FindEntry(list_->Folder(), name).filename().string();
    list_->Select(file);
    View(file);
}

void TReadLogScaleForm::showEvent(QShowEvent* event) {
    grid_->Paint(LogRuleViewerGrid());
    list_->setFocus();
    ClosableDialog::showEvent(event);
}

bool TReadLogScaleForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        RefreshKeepingSelection(list_);
    }
    return ClosableDialog::event(event);
}

void TReadLogScaleForm::Button1Click() {
    if (const auto name = list_->Selected()) {
        View(*name);
    }
}

void TReadLogScaleForm::View(const std::string& name) {
    grid_->Paint(LogRuleViewerGrid());
    Guarded(this, [&] { grid_->Paint(LogRuleViewerGrid(ReadLogRule(list_->Folder() / name))); });
}

TDefineNewLogRule::TDefineNewLogRule(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent), data_(data) {
    setObjectName("TDefineNewLogRule");
    setWindowTitle("Define Log Rule");
    auto* layout = new QGridLayout(this);
    AddStep(layout, 0, 1, "Enter the desired log rule into the table below.", "Label1");
    grid_ = new RuleGrid(LogRuleEditorGrid(), true, 0, kVisibleRows, this);
    grid_->setObjectName("StringGrid1");
    AddStep(layout, 3, 2, "Enter the desired name for the log rule below.", "Label2");
    name_ = new QLineEdit(this);
    name_->setObjectName("Edit1");
    auto* save = MakeButton(this, "Save", "Save");
    save->setDefault(true);
    auto* cancel = MakeButton(this, "Cancel", "Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    auto* orLabel = new QLabel("or", this);
    orLabel->setObjectName("Label4");
    buttons->addWidget(orLabel);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    layout->addWidget(LengthCaption(this), 1, 1);
    layout->addWidget(grid_, 2, 1);
    layout->addWidget(name_, 4, 1);
    AddStepNumber(layout, 5, 3);
    layout->addLayout(buttons, 5, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    setTabOrder(grid_, name_);
    setTabOrder(name_, save);
    setTabOrder(save, cancel);
    connect(save, &QPushButton::clicked, this, &TDefineNewLogRule::SaveClick);
    connect(cancel, &QPushButton::clicked, this, &TDefineNewLogRule::reject);
}

void TDefineNewLogRule::showEvent(QShowEvent* event) {
    grid_->Paint(LogRuleEditorGrid());
    grid_->PointAt(0, 0);
    ClosableDialog::showEvent(event);
}

void TDefineNewLogRule::SaveClick() {
    grid_->CommitTyping();
    LogRuleCells cells;
    for (int r = 0; r < kLogRuleRows; ++r) {
        for (int c = 0; c < kLogRuleColumns; ++c) {
            cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = grid_->Text(r, c);
        }
    }
    Guarded(this, [&] {
        LogRuleTable table;
        try {
            table = LogRuleFromCells(cells, CommaIsDecimalSeparator());
        } catch (const CellError& error) {
            grid_->PointAt(error.Row(), error.Column());
            throw;
        }
        SaveRuleFile(this, data_.LogRules(), name_->text(), "log rule", table.Encode(),
                     [this] { hide(); });
    });
}

} // namespace varnok::app
