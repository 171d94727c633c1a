#pragma once

#include "support/Errors.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace varnok {

// A market's definition, the file "Specs" of its folder: the trim allowance, the names of its
// rule files (bare names inside their folders) and a copy of its veneer rules, 4756 bytes.
struct MarketSpecs {
    static constexpr std::size_t kSize = 4756;
    static constexpr std::size_t kVeneerOffset = 772;
    static constexpr std::size_t kVeneerSize = 3216;

    std::uint8_t TrimAllowance = 8;                       // inches, 4 or 8
    std::string SawlogRuleName;                           // folder "SawGrades", capacity 255
    std::string LogRuleName;                              // folder "Log Rules"
    std::string VeneerRuleName;                           // folder "Veneer"
    std::array<std::uint8_t, kVeneerSize> VeneerRecord{}; // the veneer rules, byte for byte
    std::string PriceSetName;                             // folder "Prices"
    std::string FilterSetName;                            // folder "Filters"
    std::string RoundwoodName;                            // folder "Roundwood"

    static MarketSpecs Decode(std::span<const std::uint8_t> bytes);
    // Throws VarnokError when a name cannot be stored in Windows-1252.
    std::vector<std::uint8_t> Encode() const;

    // Refuses (FileError through `check`) a record of kSize bytes whose trim allowance is not
    // 4 or 8 inches, whose rule names, once decoded, are not plain file names (CheckPlainName),
    // or whose copy of the veneer rules fails VeneerRuleSet::Check.
    static void Check(std::span<const std::uint8_t> bytes, const FieldCheck& check);
};

// Reads "Specs": records until end of file, keeping the last complete one. Throws FileError
// when the file cannot be read, holds no complete record or the record fails
// MarketSpecs::Check.
MarketSpecs ReadMarketSpecs(const std::filesystem::path& path);
// Writes one record, replacing the file. Throws FileError or VarnokError on failure.
void WriteMarketSpecs(const std::filesystem::path& path, const MarketSpecs& specs);

} // namespace varnok
