#pragma once

#include "rules/PriceSet.h"
#include "rules/RoundwoodProducts.h"
#include "services/MarketComputation.h"
#include "support/DataFolder.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// The eight steps of "Define Market" that the user fills in, in order: the six rule sets (log
// rule, veneer rules, sawlog rules, price set, defect filter set, roundwood products), the trim
// allowance and the name.
inline constexpr std::size_t kDefineMarketSteps = 8;
const std::array<const char*, kDefineMarketSteps>& DefineMarketStepTexts();

// What "Define Market" still lacks before a market can be computed from `definition`: the
// first step in order whose choice is not made (an empty rule-set name, a trim allowance other
// than 4 or 8), "Step 3 is still open: select a sawlog grading rule.", else what is wrong with
// the name in CheckPlainName's words. Nothing when every choice is made and the name is plain;
// whether the files load and the name is free is for CheckMarketDefinition.
std::optional<std::string> MissingMarketChoice(const MarketDefinition& definition);

// Where the price set's roundwood rows name another product or unit than the roundwood product
// set in their place (rows 7 to 9 its products 1 to 3, row 10 its cull handling and cull
// units): one text per such row, "product 2 is "Tie Logs" in "MBF" in the price set but "Bolts"
// in "Cords" in the roundwood set". A product the roundwood set leaves without a name is never
// sold, so its row is not compared, and the cull row only when the set charges cull.
std::vector<std::string> RoundwoodRowMismatches(const PriceSet& prices,
                                                const RoundwoodProductSet& roundwood);

// Whether a log sold as cull is charged although the roundwood set charges no cull penalty:
// the valuation charges cull at the price table's cull price (the 8 ft price of row 10, rounded
// to whole dollars, times its unit factor) whatever the roundwood set says. Throws VarnokError
// as ConvertPriceSet when a price of the set does not fit the price table.
bool ChargesCullWithoutPenalty(const PriceSet& prices, const RoundwoodProductSet& roundwood);

// What the user is warned of before a market of the price set `prices` (named `pricesName`)
// and the roundwood set `roundwood` (named `roundwoodName`) is computed: the roundwood rows
// that do not match, then a cull charge without a cull penalty. Each warning is a sentence or
// two; the market may be computed all the same. Empty when the two agree. Throws as
// ChargesCullWithoutPenalty.
std::vector<std::string> MarketDefinitionWarnings(const PriceSet& prices,
                                                  std::string_view pricesName,
                                                  const RoundwoodProductSet& roundwood,
                                                  std::string_view roundwoodName);

// The same for the price set and roundwood set that `definition` names, opened as a market
// opens them (the exact name, else a single match ignoring letter case). Throws FileError when
// either cannot be read or is refused by its reader, and as ChargesCullWithoutPenalty.
std::vector<std::string> MarketDefinitionWarnings(const DataFolder& data,
                                                  const MarketDefinition& definition);

} // namespace varnok
