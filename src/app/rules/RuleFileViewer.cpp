#include "app/rules/RuleFileViewer.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/rules/RuleDialogParts.h"
#include "app/rules/RuleGrid.h"

#include <QEvent>

namespace varnok::app {
namespace {

void RefreshKeepingSelection(RuleFileList* list) {
    const std::optional<std::string> kept = list->Selected();
    list->Refresh();
    if (kept) {
        list->Select(*kept);
    }
}

} // namespace

RuleFileViewer::RuleFileViewer(const std::filesystem::path& folder, const RuleGridTexts& heads,
                               int fixedColumns, int visibleRows, Reader read, QWidget* parent)
    : ClosableDialog(parent), heads_(heads), read_(std::move(read)) {
    list_ = new RuleFileList(folder, this);
    list_->setObjectName("ListBox1");
    list_->setMaximumHeight(120);
    grid_ = new RuleGrid(heads_, false, fixedColumns, visibleRows, this);
    grid_->setObjectName("StringGrid1");
    connect(list_, &QListWidget::itemActivated, this, &RuleFileViewer::ViewSelected);
}

void RuleFileViewer::ShowFile(const std::string& name) {
    View(ShowWithFile(this, list_, name));
}

void RuleFileViewer::ViewSelected() {
    if (const auto name = list_->Selected()) {
        View(list_->Folder() / *name);
    }
}

void RuleFileViewer::showEvent(QShowEvent* event) {
    grid_->Paint(heads_);
    grid_->scrollToTop();
    list_->setFocus();
    ClosableDialog::showEvent(event);
}

bool RuleFileViewer::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        RefreshKeepingSelection(list_);
    }
    return ClosableDialog::event(event);
}

void RuleFileViewer::View(const std::filesystem::path& path) {
    grid_->Paint(heads_);
    Guarded(this, [&] { grid_->Paint(read_(path)); });
}

} // namespace varnok::app
