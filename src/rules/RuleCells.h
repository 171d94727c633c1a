#pragma once

#include "support/Errors.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// The texts of a rule dialog's table as it is painted: a header row over the columns, a header
// column beside the rows (none when RowHeads is empty), the corner where the two meet, and the
// body cells, Cells[row][column], one row per row head (or per body row without heads).
struct RuleGridTexts {
    std::string Corner;
    std::vector<std::string> ColumnHeads;
    std::vector<std::string> RowHeads;
    std::vector<std::vector<std::string>> Cells;
};

// A body cell of an editor's table that cannot be stored. Row and column count from 0 over the
// body cells of the table the editor paints (RuleGridTexts), so the editor can point at the
// cell; what() names it in the user's words.
class CellError : public VarnokError {
public:
    CellError(int row, int column, const std::string& message)
        : VarnokError(message), row_(row), column_(column) {}

    int Row() const { return row_; }
    int Column() const { return column_; }

private:
    int row_;
    int column_;
};

// The header text of price and volume column c (0 to 4): the nominal length "8" to "16" feet.
std::string LengthHead(int column);

// A number typed into an editor's cell (ParseCellDecimal): a cell that is empty or holds only
// blanks gives 0.0, as the user sees nothing in it. Nothing when the text is not a number.
std::optional<double> ParseNumberCell(std::string_view text, bool commaDecimal);

// The conversion message of the runtime, "'%s' is not a valid floating point value".
std::string NotAFloatText(std::string_view text);

} // namespace varnok
