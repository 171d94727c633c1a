#pragma once

#include "rules/LogRule.h"
#include "rules/RuleCells.h"

#include <array>
#include <string>

namespace varnok {

// The log-rule table of the editor and the viewer: one row per small-end diameter from 6 to
// 50 inches (row r is diameter r + 6), one column per nominal length from 8 to 16 feet.
inline constexpr int kLogRuleFirstDiameter = 6;
inline constexpr int kLogRuleRows = 45;
inline constexpr int kLogRuleColumns = 5;

// The editor's cell texts, [row][column] as above.
using LogRuleCells = std::array<std::array<std::string, kLogRuleColumns>, kLogRuleRows>;

// The editor's table: corner "Diameter", lengths "8" to "16", diameters "6" to "50", every
// cell empty.
RuleGridTexts LogRuleEditorGrid();

// The viewer's table: corner "Log Diam" and the heads of the editor, with every cell empty
// (what the viewer shows before a rule is read, or when it cannot be read).
RuleGridTexts LogRuleViewerGrid();
// The viewer's table of `table`: each volume of diameters 6 to 50 in the shortest general
// form with up to 15 significant digits (0 shows as "0", 123.5 as "123.5").
RuleGridTexts LogRuleViewerGrid(const LogRuleTable& table);

// The log rule the editor stores from its cells: entries 1 to 5 all zero, entry d (6 to 50)
// diameter d with the volumes of row d - 6 in board feet, an empty cell giving 0.0. Throws
// CellError for the first cell, row by row, that is not a number ("'%s' is not a valid
// floating point value") or is a volume the readers refuse (below 0 or above
// kMaxLogRuleVolume), naming its diameter and length. A comma is a decimal point too when
// `commaDecimal`.
LogRuleTable LogRuleFromCells(const LogRuleCells& cells, bool commaDecimal);

} // namespace varnok
