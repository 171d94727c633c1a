#pragma once

#include "rules/PriceSet.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnok {

// Whole-dollar prices by product (1 to 10) and nominal length (8 to 16 ft; only the even
// lengths are filled). Rows 1 to 6 are dollars per thousand board feet, rows 7 to 10 dollars
// per 140 cubic feet.
struct PriceTable {
    std::array<std::array<std::int16_t, 9>, 10> Rows{};

    // Price of product 1 to 10 for a length of 8 to 16 ft; 0 outside those ranges. Inline:
    // every evaluated log asks for several.
    std::int16_t Price(int product, int lengthFeet) const {
        if (product < 1 || product > 10 || lengthFeet < 8 || lengthFeet > 16) {
            return 0;
        }
        return Rows[static_cast<std::size_t>(product - 1)]
                   [static_cast<std::size_t>(lengthFeet - 8)];
    }
};

// Each price rounded to whole dollars (halves to even), times its unit factor. Throws
// VarnokError naming the price set, the row and the length when a result does not fit
// 16 bits (or the price is not a number).
PriceTable ConvertPriceSet(const PriceSet& set, std::string_view priceSetName);

} // namespace varnok
