#pragma once

#include "rules/PriceSet.h"
#include "rules/RoundwoodProducts.h"
#include "rules/RuleCells.h"

#include <array>
#include <optional>
#include <string>

namespace varnok {

// The price table of the editor and the viewer: rows 0 to 9 are products 1 to 10; body
// columns 0 and 1 hold each row's name and units, columns 2 to 6 its prices for logs of 8 to
// 16 feet.
inline constexpr int kPriceRows = 10;
inline constexpr int kPriceLengths = 5;
inline constexpr int kPriceFirstLengthColumn = 2;
inline constexpr int kCullRow = 9;

// The price cells the user types, [row][length] with length 0 to 4 for 8 to 16 feet.
using PriceCells = std::array<std::array<std::string, kPriceLengths>, kPriceRows>;

// What the editor shows beside the prices: the names and units of the ten rows, rows 6 to 9
// from the roundwood product set chosen, and whether the cull row takes prices.
struct PriceRowHeads {
    std::array<std::string, kPriceRows> Names{};
    std::array<std::string, kPriceRows> Units{};
    // False when the roundwood set charges no cull penalty: the valuation charges cull at the
    // cull row's price whatever the set says, so that row is stored as zeros.
    bool CullPriced = true;
};

// Rows 1 to 6 with their fixed names and "MBF"; rows 7 to 10 empty, as when no roundwood set
// was chosen.
PriceRowHeads PriceRowHeadsWithoutRoundwood();
// The fixed rows with products 1 to 3 of `roundwood` in rows 7 to 9 (name and units) and its
// cull handling and cull units in row 10; the cull row takes prices only when the set charges
// cull ("Cull").
PriceRowHeads PriceRowHeadsFor(const RoundwoodProductSet& roundwood);

// What the editor says of a cull row that takes no prices.
inline constexpr const char* kUnpricedCullNote =
    "The roundwood product set charges no cull penalty, so the cull row is stored as zeros.";

// The editor's table of `heads`: headers "Product", "Units", "8" to "16", each row's name and
// units, prices empty but for a cull row that takes none, which shows "0".
RuleGridTexts PriceEditorGrid(const PriceRowHeads& heads);

// The viewer's table with its headers and every cell empty.
RuleGridTexts PriceViewerGrid();
// The viewer's table of `set`: each row's name, units and prices in the shortest general form
// with up to 15 significant digits.
RuleGridTexts PriceViewerGrid(const PriceSet& set);

// The price set the editor stores: the names and units of `heads` and the prices of `cells`,
// an empty cell giving 0.0 and a cull row that takes no prices zeros. Throws CellError for the
// first cell, row by row, that is not a number ("'%s' is not a valid floating point value")
// or whose price, rounded to whole dollars and times the unit factor of its row, leaves the
// whole-dollar price table (-32768 to 32767) a market converts it into; it names the row and
// the length. A comma is a decimal point too when `commaDecimal`.
PriceSet PriceSetFromCells(const PriceRowHeads& heads, const PriceCells& cells, bool commaDecimal);

// Prices per "Cubic Feet" are rounded to whole dollars before they are charged per cubic foot,
// so a fraction there changes what a log fetches: the words naming every such price of `set`
// and what it counts as, or nothing when there is none.
std::optional<std::string> CubicFeetFractionWarning(const PriceSet& set);

} // namespace varnok
