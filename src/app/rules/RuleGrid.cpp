#include "app/rules/RuleGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>

namespace varnok::app {
namespace {

constexpr int kLockedRole = Qt::UserRole + 1;
constexpr int kMinColumnWidth = 64; // pixels: five digits and a decimal point

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

RuleGrid::RuleGrid(const RuleGridTexts& texts, bool editable, int fixedColumns, int visibleRows,
                   QWidget* parent)
    : QTableWidget(static_cast<int>(texts.Cells.size()), static_cast<int>(texts.ColumnHeads.size()),
                   parent),
      editable_(editable), fixedColumns_(fixedColumns), visibleRows_(visibleRows) {
    // Tab leaves the table for the next step; the arrow keys move between cells.
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Typing starts with a key, a double click or F2, not with merely moving to a cell.
    setEditTriggers(editable ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed
                             : QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setVisible(!texts.RowHeads.empty());
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Rows as high as the text needs, so that many show at once.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            auto* cell = new QTableWidgetItem;
            // Numbers line up by their last digits.
            if (c >= fixedColumns) {
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            setItem(r, c, cell);
        }
    }
    if (!texts.RowHeads.empty()) {
        // The corner button selects the whole table; it also carries the corner text.
        auto* button = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
        if (button != nullptr) {
            corner_ = new QLabel(button);
            corner_->setObjectName("Corner");
            corner_->setAlignment(Qt::AlignCenter);
            corner_->setAttribute(Qt::WA_TransparentForMouseEvents);
            auto* layout = new QHBoxLayout(button);
            layout->setContentsMargins(2, 0, 2, 0);
            layout->addWidget(corner_);
        }
    }
    Paint(texts);
}

void RuleGrid::Paint(const RuleGridTexts& texts) {
    QStringList columns;
    for (const std::string& head : texts.ColumnHeads) {
        columns << FromStd(head);
    }
    setHorizontalHeaderLabels(columns);
    QStringList rows;
    for (const std::string& head : texts.RowHeads) {
        rows << FromStd(head);
    }
    if (!rows.isEmpty()) {
        setVerticalHeaderLabels(rows);
    }
    if (corner_ != nullptr) {
        corner_->setText(FromStd(texts.Corner));
    }
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            SetText(r, c, texts.Cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
            SetLocked(r, c, false);
        }
    }
    FitColumns();
}

void RuleGrid::SetText(int row, int column, const std::string& text) {
    item(row, column)->setText(FromStd(text));
}

std::string RuleGrid::Text(int row, int column) const {
    return item(row, column)->text().toStdString();
}

QString RuleGrid::CornerText() const {
    return corner_ == nullptr ? QString() : corner_->text();
}

void RuleGrid::SetLocked(int row, int column, bool locked, const QString& why) {
    QTableWidgetItem* cell = item(row, column);
    cell->setData(kLockedRole, locked);
    cell->setToolTip(locked ? why : QString());
    const bool fixed = column < fixedColumns_;
    const Qt::ItemFlags flags = cell->flags();
    cell->setFlags(editable_ && !fixed && !locked ? flags | Qt::ItemIsEditable
                                                  : flags & ~Qt::ItemIsEditable);
    // Fixed columns look like heads; locked cells look disabled.
    cell->setData(Qt::BackgroundRole,
                  fixed || locked ? QVariant(palette().color(QPalette::Window)) : QVariant());
    cell->setData(Qt::ForegroundRole,
                  locked ? QVariant(palette().color(QPalette::Disabled, QPalette::Text))
                         : QVariant());
}

bool RuleGrid::IsLocked(int row, int column) const {
    return item(row, column)->data(kLockedRole).toBool();
}

void RuleGrid::PointAt(int row, int column) {
    setCurrentCell(row, column);
    scrollToItem(item(row, column));
    setFocus();
}

void RuleGrid::CommitTyping() {
    QWidget* editor = QApplication::focusWidget();
    if (state() == QAbstractItemView::EditingState && editor != nullptr &&
        viewport()->isAncestorOf(editor)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void RuleGrid::keyPressEvent(QKeyEvent* event) {
    if (state() == QAbstractItemView::EditingState) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        GoDown();
        event->accept();
        return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (QTableWidgetItem* cell = currentItem();
            cell != nullptr && (cell->flags() & Qt::ItemIsEditable) != 0) {
            cell->setText(QString());
        }
        event->accept();
        return;
    default:
        QTableWidget::keyPressEvent(event);
    }
}

void RuleGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableWidget::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::SubmitModelCache) { // Return
        GoDown();
    }
}

void RuleGrid::GoDown() {
    if (currentRow() + 1 < rowCount()) {
        setCurrentCell(currentRow() + 1, currentColumn());
    }
}

void RuleGrid::FitColumns() {
    resizeColumnsToContents();
    // Names and units of roundwood products run to 20 characters.
    const int textWidth = fontMetrics().horizontalAdvance(QString(18, 'x'));
    for (int c = 0; c < columnCount(); ++c) {
        const int least = c < fixedColumns_ ? textWidth : kMinColumnWidth;
        setColumnWidth(c, std::max(columnWidth(c), least));
    }
    if (corner_ != nullptr) {
        verticalHeader()->setMinimumWidth(corner_->sizeHint().width() + 8);
    }
    // Every column stays in view: the dialog grows rather than cut one off.
    setMinimumWidth(sizeHint().width());
    updateGeometry();
}

QSize RuleGrid::sizeHint() const {
    int width = 2 * frameWidth();
    for (int c = 0; c < columnCount(); ++c) {
        width += columnWidth(c);
    }
    if (verticalHeader()->isVisible()) {
        width += std::max(verticalHeader()->sizeHint().width(), verticalHeader()->minimumWidth());
    }
    const int shown = std::min(visibleRows_, rowCount());
    if (shown < rowCount()) {
        width += verticalScrollBar()->sizeHint().width();
    }
    const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
                       shown * verticalHeader()->defaultSectionSize();
    return {width, height};
}

QLabel* MakeLengthCaption(QWidget* parent) {
    auto* caption = new QLabel("Log Length", parent);
    caption->setObjectName("Label3");
    caption->setAlignment(Qt::AlignCenter);
    return caption;
}

} // namespace varnok::app
