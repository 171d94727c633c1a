#pragma once

#include "support/Errors.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace varnok {

// The largest volume a log rule may give, board feet: net scale is kept in 16 bits.
inline constexpr double kMaxLogRuleVolume = 65535.0;

// One row of a log rule: the board-foot volume of logs of one small-end diameter.
struct LogRuleEntry {
    std::int32_t Diameter = 0;      // inches
    std::array<double, 5> Volume{}; // board feet for 8, 10, 12, 14 and 16 ft logs
};

// A log rule file: 50 entries of 44 bytes (diameters 1 to 50 inches), 2200 bytes.
struct LogRuleTable {
    static constexpr std::size_t kEntrySize = 44;
    static constexpr std::size_t kSize = 50 * kEntrySize;

    std::array<LogRuleEntry, 50> Entries{};

    // Board feet of a log of small-end diameter `diameter` (1 to 50 inches) and nominal length
    // `lengthFeet` (8, 10, 12, 14 or 16); 0.0 for any other diameter or length.
    double VolumeFor(int diameter, int lengthFeet) const;

    static LogRuleTable Decode(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Encode() const;

    // Refuses (FileError through `check`) a record of kSize bytes whose entry k holds a
    // diameter other than k or 0, or a volume that is not a number within 0 to
    // kMaxLogRuleVolume board feet. A zero volume loads: the rule gives such a log none.
    static void Check(std::span<const std::uint8_t> bytes, const FieldCheck& check);
};

// File offset of the volume of diameter d and length L (feet): (d - 1) x 44 + 4 + (L - 8) / 2 x 8.
constexpr std::size_t LogRuleVolumeOffset(int diameter, int lengthFeet) {
    return static_cast<std::size_t>(diameter - 1) * LogRuleTable::kEntrySize + 4 +
           static_cast<std::size_t>((lengthFeet - 8) / 2) * 8;
}

// Reads the first record. Throws FileError when the file cannot be read, is too short or fails
// LogRuleTable::Check.
LogRuleTable ReadLogRule(const std::filesystem::path& path);
// Writes one record, replacing the file. Throws FileError on failure.
void WriteLogRule(const std::filesystem::path& path, const LogRuleTable& table);

} // namespace varnok
