#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "support/Errors.h"
#include "support/Files.h"

namespace varnok {

// One (grade, diameter set, length variation) combination of the sawlog grading rules.
struct SawlogRuleCell {
    std::uint8_t GradeNumber = 0;      // 1 to 3; 0 = cell not in use
    std::uint8_t MinDiameter = 0;      // small-end diameter, inches
    std::uint8_t MaxDiameter = 0;      // inclusive
    std::uint8_t MinLength = 0;        // feet
    std::uint8_t MaxLength = 0;        // feet (shown, not used in grading)
    std::uint8_t ButtLogsOnly = 0;     // 1 = butt logs only
    std::uint8_t ClearCuttingCode = 0; // 2, 3, 5, 7 feet; 11 to 14 = 1 to 4 clear faces
    std::uint8_t MaxClearCuttings = 0; // 1 to 3; 99 = no limit
    float YieldFraction = 0.0F;
    float MaxSweepUnder25 = 0.0F; // fraction
    float MaxSweepOver25 = 0.0F;  // fraction (shown, not used in grading)
    float MaxDeduction = 0.0F;    // fraction
    std::uint8_t GradeCount = 0;
    std::uint8_t DiameterSetCount = 0;
    std::uint8_t LengthVariationCount = 0;
};

// The sawlog grading rules file: 27 cells of 28 bytes, 756 bytes.
struct SawlogRuleSet {
    static constexpr std::size_t kCellSize = 28;
    static constexpr std::size_t kSize = 27 * kCellSize;

    std::array<SawlogRuleCell, 27> Cells{};

    // Cell (g, d, l), each 1 to 3. Out-of-range indices throw std::out_of_range.
    const SawlogRuleCell& Cell(int g, int d, int l) const;
    SawlogRuleCell& Cell(int g, int d, int l);

    // The counts, read where the rules keep them and clamped to 0..3 so that a damaged file
    // can never make a reader step outside the record.
    int GradeCount() const;
    int DiameterSetCount(int g) const;
    int LengthVariationCount(int g, int d) const;

    // Faces mode: the clear-cutting code of cell (1, 1, 1) is 11, 12, 13 or 14.
    bool IsFacesMode() const;

    static SawlogRuleSet Decode(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Encode() const;

    // Refuses (FileError through `check`) a record of kSize bytes with a field the grader
    // cannot use: a count outside 0 to 3 where it is read, or, in a cell the grader walks, a
    // grade number outside 0 to 3, a diameter outside 8 to 50 inches, a length other than 8,
    // 10, 12, 14 or 16 ft, a butt-log flag other than 0 or 1, a clear-cutting code other than
    // 2, 3, 5, 7, 11 to 14, a cutting limit other than 1, 2, 3 or 99, or a fraction (yield,
    // sweep, deduction) outside 0 to 1 or not finite. Cells the grader never reads are not
    // checked.
    static void Check(std::span<const std::uint8_t> bytes, const FieldCheck& check);
};

// Byte offset of cell (g, d, l): 252 (g - 1) + 84 (d - 1) + 28 (l - 1).
constexpr std::size_t SawlogCellOffset(int g, int d, int l) {
    return static_cast<std::size_t>(252 * (g - 1) + 84 * (d - 1) + 28 * (l - 1));
}

// Reads one record: `choice` First for viewers, Last for a market (the last complete record).
// Throws FileError when the file cannot be read, holds no complete record or the record fails
// SawlogRuleSet::Check.
SawlogRuleSet ReadSawlogRuleSet(const std::filesystem::path& path, RecordChoice choice);
// Writes one record, replacing the file. Throws FileError on failure.
void WriteSawlogRuleSet(const std::filesystem::path& path, const SawlogRuleSet& set);

} // namespace varnok
