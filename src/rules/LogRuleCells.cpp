#include "rules/LogRuleCells.h"

#include "support/Numbers.h"

namespace varnok {
namespace {

RuleGridTexts EmptyGrid(const char* corner) {
    RuleGridTexts grid;
    grid.Corner = corner;
    for (int c = 0; c < kLogRuleColumns; ++c) {
        grid.ColumnHeads.push_back(LengthHead(c));
    }
    for (int r = 0; r < kLogRuleRows; ++r) {
        grid.RowHeads.push_back(std::to_string(r + kLogRuleFirstDiameter));
    }
    grid.Cells.assign(kLogRuleRows, std::vector<std::string>(kLogRuleColumns));
    return grid;
}

std::string CellName(int row, int column) {
    return "Diameter " + std::to_string(row + kLogRuleFirstDiameter) + " in., " +
           LengthHead(column) + " ft logs";
}

} // namespace

RuleGridTexts LogRuleEditorGrid() {
    return EmptyGrid("Diameter");
}

RuleGridTexts LogRuleViewerGrid() {
    return EmptyGrid("Log Diam");
}

RuleGridTexts LogRuleViewerGrid(const LogRuleTable& table) {
    RuleGridTexts grid = LogRuleViewerGrid();
    for (int r = 0; r < kLogRuleRows; ++r) {
        const LogRuleEntry& entry = table.Entries[static_cast<std::size_t>(r + 5)];
        for (int c = 0; c < kLogRuleColumns; ++c) {
            grid.Cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                FormatGeneral(entry.Volume[static_cast<std::size_t>(c)]);
        }
    }
    return grid;
}

LogRuleTable LogRuleFromCells(const LogRuleCells& cells, bool commaDecimal) {
    LogRuleTable table;
    for (int r = 0; r < kLogRuleRows; ++r) {
        LogRuleEntry& entry = table.Entries[static_cast<std::size_t>(r + 5)];
        entry.Diameter = r + kLogRuleFirstDiameter;
        for (int c = 0; c < kLogRuleColumns; ++c) {
            const std::string& text =
                cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            const std::optional<double> volume = ParseNumberCell(text, commaDecimal);
            if (!volume) {
                throw CellError(r, c, CellName(r, c) + ": " + NotAFloatText(text));
            }
            // The readers refuse such a rule, so no market could use the file.
            if (*volume < 0.0 || *volume > kMaxLogRuleVolume) {
                throw CellError(r, c,
                                CellName(r, c) + ": '" + text + "' is not a volume from 0 to " +
                                    FormatGeneral(kMaxLogRuleVolume) + " board feet");
            }
            // "-0" is stored as 0.0, so an untouched cell and a zero cell give the same bytes.
            entry.Volume[static_cast<std::size_t>(c)] = *volume + 0.0;
        }
    }
    return table;
}

} // namespace varnok
