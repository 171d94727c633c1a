#pragma once

#include "support/Errors.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace varnok {

// One product row: money per unit of `Units` for a log of each nominal length.
struct PriceRow {
    std::string Name;  // capacity 30
    std::string Units; // capacity 30: "MBF", "Cords", "Cubic Feet", "Tons", "Cubic Meters", ...
    std::array<double, 5> Prices{}; // dollars per unit, for 8, 10, 12, 14 and 16 ft logs
};

// A price set file: ten rows of 104 bytes, 1040 bytes. Row r (1 to 10) is product r: three
// veneer grades, three sawlog grades, three roundwood products, cull.
struct PriceSet {
    static constexpr std::size_t kRowSize = 104;
    static constexpr std::size_t kSize = 10 * kRowSize;

    std::array<PriceRow, 10> Rows{};

    static PriceSet Decode(std::span<const std::uint8_t> bytes);
    // Throws VarnokError when a name or units text cannot be stored in Windows-1252.
    std::vector<std::uint8_t> Encode() const;

    // Refuses (FileError through `check`) a record of kSize bytes with a text longer than its
    // capacity or a price that is not a finite number. Whether a price fits the whole-dollar
    // price table is decided when the market converts it.
    static void Check(std::span<const std::uint8_t> bytes, const FieldCheck& check);
};

// File offset of the price of row r (1 to 10) for length L (feet): (r - 1) x 104 + 64 + (L - 8) / 2
// x 8.
constexpr std::size_t PriceOffset(int row, int lengthFeet) {
    return static_cast<std::size_t>(row - 1) * PriceSet::kRowSize + 64 +
           static_cast<std::size_t>((lengthFeet - 8) / 2) * 8;
}

// The fixed names of rows 1 to 6 ("Prime Veneer" ... "#3 Sawlog"), whose units are "MBF".
const std::array<const char*, 6>& FixedPriceRowNames();

// Reads the first record. Throws FileError when the file cannot be read, is too short or fails
// PriceSet::Check.
PriceSet ReadPriceSet(const std::filesystem::path& path);
// Writes one record, replacing the file. Throws FileError or VarnokError on failure.
void WritePriceSet(const std::filesystem::path& path, const PriceSet& set);

} // namespace varnok
