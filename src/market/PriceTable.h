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

    // Price of product 1 to 10 for a length of 8 to 16 ft; 0 outside those ranges.
    std::int16_t Price(int product, int lengthFeet) const;
};

// The unit factor of a price row: 1 for rows 1 to 6; for rows 7 to 10 by the exact units text:
// "Cords" 2, "Cubic Feet" 140, "Tons" 5, "Cubic Meters" 4, any other text 1.
int PriceUnitFactor(int row, std::string_view units);

// Each price rounded to whole dollars (halves to even), times its unit factor. Throws
// VarnokError naming the price set, the row and the length when a result does not fit
// 16 bits (or the price is not a number).
PriceTable ConvertPriceSet(const PriceSet& set, std::string_view priceSetName);

// The five allowed log lengths in inches (8 to 16 ft plus the trim allowance) and their
// 256-bit set, with which a candidate length is tested in one step.
struct LogLengthSet {
    std::array<std::uint8_t, 5> Lengths{}; // inches: 96, 120, 144, 168, 192 + trim
    std::uint8_t MaxLength = 0;            // the 16 ft length, inches
    std::array<std::uint8_t, 32> Bits{};   // bit b set when b is one of the lengths

    bool Contains(int inches) const {
        return inches >= 0 && inches < 256 &&
               (Bits[static_cast<std::size_t>(inches) / 8] >> (inches % 8) & 1U) != 0;
    }

    // Throws VarnokError unless the trim is 4 or 8 inches.
    static LogLengthSet FromTrim(int trimInches);
};

} // namespace varnok
