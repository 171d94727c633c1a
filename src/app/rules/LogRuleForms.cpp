#include "app/rules/LogRuleForms.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/RuleFileSave.h"
#include "app/rules/RuleGrid.h"
#include "rules/LogRuleCells.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnok::app {
namespace {

constexpr int kVisibleRows = 12;

} // namespace

TReadLogScaleForm::TReadLogScaleForm(const DataFolder& data, QWidget* parent)
    : RuleFileViewer(
          data.LogRules(), LogRuleViewerGrid(), 0, kVisibleRows,
          [](const std::filesystem::path& path) { return LogRuleViewerGrid(ReadLogRule(path)); },
          parent) {
    setObjectName("TReadLogScaleForm");
    setWindowTitle("View Log Rule");
    auto* layout = new QGridLayout(this);
    AddStep(layout, 0, 1, "Select the log rule to be viewed.", "Label1");
    auto* view = MakeRuleButton(this, "Button1", "View Selected Log Rule");
    auto* exit = MakeRuleButton(this, "Cancel", "Exit Viewer");
    layout->addWidget(List(), 1, 1);
    AddStepNumber(layout, 2, 2);
    layout->addWidget(view, 2, 1, Qt::AlignLeft);
    layout->addWidget(MakeLengthCaption(this), 3, 1);
    layout->addWidget(Grid(), 4, 1);
    AddStepNumber(layout, 5, 3);
    layout->addWidget(exit, 5, 1, Qt::AlignLeft);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(4, 1);
    setTabOrder(List(), view);
    setTabOrder(view, Grid());
    setTabOrder(Grid(), exit);
    connect(view, &QPushButton::clicked, this, &TReadLogScaleForm::ViewSelected);
    connect(exit, &QPushButton::clicked, this, &TReadLogScaleForm::reject);
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
    const SaveOrCancel buttons = MakeSaveOrCancel(this, "Save");
    layout->addWidget(MakeLengthCaption(this), 1, 1);
    layout->addWidget(grid_, 2, 1);
    layout->addWidget(name_, 4, 1);
    AddStepNumber(layout, 5, 3);
    layout->addLayout(buttons.Row, 5, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    setTabOrder(grid_, name_);
    setTabOrder(name_, buttons.Save);
    setTabOrder(buttons.Save, buttons.Cancel);
    connect(buttons.Save, &QPushButton::clicked, this, &TDefineNewLogRule::SaveClick);
    connect(buttons.Cancel, &QPushButton::clicked, this, &TDefineNewLogRule::reject);
}

void TDefineNewLogRule::showEvent(QShowEvent* event) {
    grid_->Paint(LogRuleEditorGrid());
    grid_->PointAt(0, 0);
    ClosableDialog::showEvent(event);
}

void TDefineNewLogRule::SaveClick() {
    Guarded(this, [this] {
        const LogRuleTable table = grid_->PointingAtBadCell([this] {
            return LogRuleFromCells(grid_->Cells<kLogRuleRows, kLogRuleColumns>(0),
                                    CommaIsDecimalSeparator());
        });
        SaveRuleFile(this, data_.LogRules(), name_->text(), "log rule", table.Encode(),
                     [this] { hide(); });
    });
}

} // namespace varnok::app
