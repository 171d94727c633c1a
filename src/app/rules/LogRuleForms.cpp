#include "app/rules/LogRuleForms.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/RuleFileSave.h"
#include "app/rules/RuleDialogParts.h"
#include "app/rules/RuleGrid.h"
#include "rules/LogRuleCells.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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
    auto* layout = new QVBoxLayout(this);
    AddStep(layout, this, 1, "Select the log rule to be viewed.", "Label1");
    layout->addWidget(List());
    auto* view = new QPushButton("View Selected Log Rule", this);
    view->setObjectName("Button1");
    AddStep(layout, this, 2, view);
    layout->addWidget(MakeLengthCaption(this));
    layout->addWidget(Grid(), 1);
    auto* exit = new QPushButton("Exit Viewer", this);
    exit->setObjectName("Cancel");
    AddStep(layout, this, 3, exit);
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
    auto* layout = new QVBoxLayout(this);
    AddStep(layout, this, 1, "Enter the desired log rule into the table below.", "Label1");
    layout->addWidget(MakeLengthCaption(this));
    grid_ = new RuleGrid(LogRuleEditorGrid(), true, 0, kVisibleRows, this);
    grid_->setObjectName("StringGrid1");
    layout->addWidget(grid_, 1);
    AddStep(layout, this, 2, "Enter the desired name for the log rule below.", "Label2");
    name_ = new QLineEdit(this);
    name_->setObjectName("Edit1");
    layout->addWidget(name_);
    const SaveOrCancel buttons = AddSaveOrCancel(layout, this, 3, "Save", "Cancel");
    buttons.Save->setDefault(true);
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
