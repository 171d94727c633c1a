#include "market/PriceTable.h"

#include "rules/SaleUnits.h"
#include "support/Errors.h"
#include "support/Numbers.h"

#include <cmath>
#include <limits>

namespace varnok {

PriceTable ConvertPriceSet(const PriceSet& set, std::string_view priceSetName) {
    PriceTable table;
    for (int row = 1; row <= 10; ++row) {
        const PriceRow& prices = set.Rows[static_cast<std::size_t>(row - 1)];
        const int factor = PriceUnitFactor(row, prices.Units);
        for (int l = 0; l < 5; ++l) {
            const int feet = 8 + 2 * l;
            const double value = RoundHalfEven(prices.Prices[static_cast<std::size_t>(l)]) * factor;
            if (!std::isfinite(value) || value < std::numeric_limits<std::int16_t>::min() ||
                value > std::numeric_limits<std::int16_t>::max()) {
                throw VarnokError("Price set \"" + std::string(priceSetName) + "\": the price of " +
                                  "row " + std::to_string(row) +
                                  (prices.Name.empty() ? "" : " (" + prices.Name + ")") + " for " +
                                  std::to_string(feet) +
                                  " ft logs does not fit a whole-dollar price table (-32768 to "
                                  "32767 after the unit factor " +
                                  std::to_string(factor) + ")");
            }
            table.Rows[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(feet - 8)] =
                static_cast<std::int16_t>(value);
        }
    }
    return table;
}

} // namespace varnok
