#include "app/RuleFileList.h"

#include "support/Files.h"

#include <QShowEvent>

namespace varnok::app {

RuleFileList::RuleFileList(std::filesystem::path folder, QWidget* parent)
    : QListWidget(parent), folder_(std::move(folder)) {}

void RuleFileList::Refresh(bool selectFirst) {
    clear();
    for (const std::string& name : ListFiles(folder_)) {
        addItem(QString::fromStdString(name));
    }
    setCurrentRow(selectFirst && count() > 0 ? 0 : -1);
}

std::optional<std::string> RuleFileList::Selected() const {
    const QListWidgetItem* item = currentItem();
    if (item == nullptr || !item->isSelected()) {
        return std::nullopt;
    }
    return item->text().toStdString();
}

bool RuleFileList::Select(const std::string& name) {
    const QList<QListWidgetItem*> found =
        findItems(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty()) {
        return false;
    }
    setCurrentItem(found.front());
    return true;
}

void RuleFileList::showEvent(QShowEvent* event) {
    // A window restored from the task bar shows its list again as it left it.
    if (!event->spontaneous()) {
        Refresh();
    }
    QListWidget::showEvent(event);
}

} // namespace varnok::app
