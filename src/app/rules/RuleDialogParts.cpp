#include "app/rules/RuleDialogParts.h"

#include "app/RuleFileList.h"
#include "support/Files.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace varnok::app {

void AddStep(QBoxLayout* layout, QWidget* parent, int number, QWidget* content) {
    auto* row = new QHBoxLayout;
    auto* numberLabel = new QLabel(QString::number(number) + ")", parent);
    QFont bold = numberLabel->font();
    bold.setBold(true);
    numberLabel->setFont(bold);
    row->addWidget(numberLabel);
    row->addWidget(content, 1);
    layout->addLayout(row);
}

QLabel* AddStep(QBoxLayout* layout, QWidget* parent, int number, const QString& text,
                const char* name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    AddStep(layout, parent, number, label);
    return label;
}

SaveOrCancel AddSaveOrCancel(QBoxLayout* layout, QWidget* parent, int step, const char* saveName,
                             const char* cancelName) {
    auto* buttons = new QWidget(parent);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    auto* save = new QPushButton("Save", parent);
    save->setObjectName(saveName);
    auto* cancel = new QPushButton("Cancel", parent);
    cancel->setObjectName(cancelName);
    row->addWidget(save);
    row->addWidget(new QLabel("or", parent));
    row->addWidget(cancel);
    row->addStretch(1);
    AddStep(layout, parent, step, buttons);
    return {save, cancel};
}

QTableWidget* MakeRuleGrid(QWidget* parent, const char* name, int columns, int rows) {
    auto* grid = new QTableWidget(rows, columns, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            SetGridCell(grid, static_cast<std::size_t>(c), static_cast<std::size_t>(r), "");
        }
    }
    return grid;
}

void SetGridCell(QTableWidget* grid, std::size_t column, std::size_t row, const std::string& text,
                 bool editable) {
    const int c = static_cast<int>(column);
    const int r = static_cast<int>(row);
    QTableWidgetItem* item = grid->item(r, c);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        if (r == 0 || c == 0) {
            item->setBackground(grid->palette().button());
            item->setForeground(grid->palette().buttonText());
        }
        grid->setItem(r, c, item);
    }
    item->setText(QString::fromStdString(text));
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable) {
        flags |= Qt::ItemIsEditable;
    }
    item->setFlags(flags);
}

std::filesystem::path ShowWithFile(QWidget* dialog, RuleFileList* list, const std::string& name) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    list->Refresh();
    const std::filesystem::path path = FindEntry(list->Folder(), name);
    list->Select(path.filename().string());
    return path;
}

void FitGridToCells(QTableWidget* grid) {
    grid->resizeRowsToContents();
    int width = 2 * grid->frameWidth();
    for (int c = 0; c < grid->columnCount(); ++c) {
        width += grid->columnWidth(c);
    }
    int height = 2 * grid->frameWidth();
    for (int r = 0; r < grid->rowCount(); ++r) {
        height += grid->rowHeight(r);
    }
    grid->setFixedSize(width, height);
}

} // namespace varnok::app
