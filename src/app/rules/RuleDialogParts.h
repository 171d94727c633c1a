#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

class QBoxLayout;
class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;

namespace varnok::app {

class RuleFileList;

// Pieces the rule-set dialogs build alike.

// Adds to `layout` a step of the dialog: its number ("1)") beside `content` (a button, a text).
void AddStep(QBoxLayout* layout, QWidget* parent, int number, QWidget* content);
// A step whose content is a text, the label named `name`. Returns the label (a buddy can be set
// on it).
QLabel* AddStep(QBoxLayout* layout, QWidget* parent, int number, const QString& text,
                const char* name);

// Adds the step `step`: "Save" or "Cancel", the buttons named as given; returns them.
struct SaveOrCancel {
    QPushButton* Save;
    QPushButton* Cancel;
};
SaveOrCancel AddSaveOrCancel(QBoxLayout* layout, QWidget* parent, int step, const char* saveName,
                             const char* cancelName);

// A table of `columns` × `rows` cells in which row 0 and column 0 are headers drawn as the
// fixed cells of a grid; no cell is editable until a caller says so.
QTableWidget* MakeRuleGrid(QWidget* parent, const char* name, int columns, int rows);

// Writes one cell (column, row): its text, and whether the user may edit it.
void SetGridCell(QTableWidget* grid, std::size_t column, std::size_t row, const std::string& text,
                 bool editable = false);

// Writes every cell of a table given as cells[column][row].
template <std::size_t Columns, std::size_t Rows>
void PaintGrid(QTableWidget* grid,
               const std::array<std::array<std::string, Rows>, Columns>& cells) {
    for (std::size_t c = 0; c < Columns; ++c) {
        for (std::size_t r = 0; r < Rows; ++r) {
            SetGridCell(grid, c, r, cells[c][r]);
        }
    }
}

// Shows the viewer `dialog` in front, reads its `list`'s folder again and selects the file
// `name`, matched as a market names its rule sets (the exact name, else a single match ignoring
// letter case). Returns the path to view: the folder and `name` when there is no such file (its
// read then reports it).
std::filesystem::path ShowWithFile(QWidget* dialog, RuleFileList* list, const std::string& name);

// Makes the table exactly as large as its columns, as set, and its rows, fitted to their
// texts, so that no scroll bar hides a cell.
void FitGridToCells(QTableWidget* grid);

} // namespace varnok::app
