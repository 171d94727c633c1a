#pragma once

#include "rules/RuleCells.h"

#include <QString>
#include <QTableWidget>

#include <array>
#include <cstddef>
#include <string>

class QLabel;

namespace varnok::app {

// A rule dialog's table. The heads of the texts it paints become the table's own header row
// and column, so they stay in view while the body scrolls; the corner text sits where the
// two meet. Body cells are editable in an editable grid, except in its first `fixedColumns`
// columns (names and units the user does not type) and in cells that are locked.
class RuleGrid : public QTableWidget {
    Q_OBJECT

public:
    // `texts` gives the shape, which stays; `visibleRows` body rows show without scrolling.
    RuleGrid(const RuleGridTexts& texts, bool editable, int fixedColumns, int visibleRows,
             QWidget* parent);

    // Paints every head and body cell of `texts` (of the shape given at construction) and
    // unlocks every cell.
    void Paint(const RuleGridTexts& texts);
    void SetText(int row, int column, const std::string& text);
    std::string Text(int row, int column) const;
    QString CornerText() const;
    // A locked cell takes no typing, shows greyed and says `why` when the mouse rests on it.
    void SetLocked(int row, int column, bool locked, const QString& why = {});
    bool IsLocked(int row, int column) const;
    // Makes the cell current and in view and gives the grid the focus.
    void PointAt(int row, int column);
    // The texts of the body cells from column `firstColumn` on, what the user typed included
    // (a cell still being typed is stored first).
    template <std::size_t Rows, std::size_t Columns>
    std::array<std::array<std::string, Columns>, Rows> Cells(int firstColumn) {
        CommitTyping();
        std::array<std::array<std::string, Columns>, Rows> cells;
        for (std::size_t r = 0; r < Rows; ++r) {
            for (std::size_t c = 0; c < Columns; ++c) {
                cells[r][c] = Text(static_cast<int>(r), firstColumn + static_cast<int>(c));
            }
        }
        return cells;
    }
    // Runs `convert` (cells to a record); when it throws CellError the cell it names becomes
    // current before the error goes on to be shown.
    template <typename Convert> auto PointingAtBadCell(Convert&& convert) {
        try {
            return convert();
        } catch (const CellError& error) {
            PointAt(error.Row(), error.Column());
            throw;
        }
    }

    // Widens the columns to their texts.
    void FitColumns();

    QSize sizeHint() const override;

protected:
    // Return ends a cell and goes on to the one below, as in a spreadsheet, and never presses
    // the dialog's default button (a second Return would save a table half typed); Delete
    // and Backspace empty the current cell.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void CommitTyping();
    void GoDown();

    bool editable_;
    int fixedColumns_;
    int visibleRows_;
    QLabel* corner_ = nullptr;
};

// The caption "Log Length" over a table whose columns are log lengths.
QLabel* MakeLengthCaption(QWidget* parent);

} // namespace varnok::app
