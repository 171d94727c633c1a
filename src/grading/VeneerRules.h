#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "support/Errors.h"
#include "support/Files.h"

namespace varnok {

// The rules of one veneer grade (a 1072-byte block). Per-diameter arrays cover small-end
// diameters 9 to 50 inches, per-length arrays log lengths 8 to 16 feet (only the even ones
// are used). Flags are bytes: 0 = no, anything else = yes.
struct VeneerGradeRules {
    std::uint8_t GradeCount = 0;
    std::uint8_t MinSmallEndDiameter = 0;         // inches
    std::array<std::uint8_t, 9> LengthAccepted{}; // [8..16] ft
    std::array<float, 42> MaxSweep{};             // [9..50] in, inches of sweep
    std::uint8_t DefectsVaryWithDiameter = 0;
    std::array<std::uint8_t, 42> MaxDefectsForDiameter{}; // [9..50] in
    std::uint8_t DefectsVaryWithLength = 0;
    std::array<std::uint8_t, 9> MaxDefectsForLength{}; // [8..16] ft
    std::uint8_t MaxDefects = 0;
    std::uint8_t MaxKnotSize = 0;                      // inches
    std::uint8_t MaxSeamLength = 0;                    // feet
    std::array<std::uint8_t, 9> InLineCountsAsOne{};   // [8..16] ft
    std::uint8_t MaxInLineAngle = 0;                   // degrees
    std::array<std::uint8_t, 42> MaxHoleForDiameter{}; // [9..50] in, inches of decay
    float MaxHeartPercent = 0.0F;                      // percent of the end
    std::array<std::uint8_t, 9> HalvesSeparate{};      // [8..16] ft
    std::array<std::string, 3> GradeNames{};           // name slots 1 to 3, capacity 255
    std::uint8_t ReservedMaxHeight = 0;

    // Per-diameter values for small-end diameter `diameter`; 0 outside 9 to 50.
    float MaxSweepFor(int diameter) const {
        return InDiameterRange(diameter) ? MaxSweep[DiameterSlot(diameter)] : 0.0F;
    }
    int MaxDefectsForDiameterOf(int diameter) const {
        return InDiameterRange(diameter) ? MaxDefectsForDiameter[DiameterSlot(diameter)] : 0;
    }
    int MaxHoleFor(int diameter) const {
        return InDiameterRange(diameter) ? MaxHoleForDiameter[DiameterSlot(diameter)] : 0;
    }
    // Per-length flags and values for a log length in feet; false or 0 outside 8 to 16.
    bool Accepts(int lengthFeet) const {
        return InLengthRange(lengthFeet) && LengthAccepted[LengthSlot(lengthFeet)] != 0;
    }
    int MaxDefectsForLengthOf(int lengthFeet) const {
        return InLengthRange(lengthFeet) ? MaxDefectsForLength[LengthSlot(lengthFeet)] : 0;
    }
    bool InLineCountsAsOneFor(int lengthFeet) const {
        return InLengthRange(lengthFeet) && InLineCountsAsOne[LengthSlot(lengthFeet)] != 0;
    }
    bool HalvesSeparateFor(int lengthFeet) const {
        return InLengthRange(lengthFeet) && HalvesSeparate[LengthSlot(lengthFeet)] != 0;
    }

private:
    // The lookups are inline: the grader asks several of them for every grade of every log.
    static bool InDiameterRange(int d) { return d >= 9 && d <= 50; }
    static bool InLengthRange(int l) { return l >= 8 && l <= 16; }
    static std::size_t DiameterSlot(int d) { return static_cast<std::size_t>(d - 9); }
    static std::size_t LengthSlot(int l) { return static_cast<std::size_t>(l - 8); }
};

// The veneer grading rules file: three grade blocks, 3216 bytes.
struct VeneerRuleSet {
    static constexpr std::size_t kBlockSize = 1072;
    static constexpr std::size_t kSize = 3 * kBlockSize;

    std::array<VeneerGradeRules, 3> Blocks{};

    // Block g (1 to 3); out-of-range throws std::out_of_range.
    const VeneerGradeRules& GradeBlock(int g) const;
    VeneerGradeRules& GradeBlock(int g);
    // Grade g's name: block g, name slot g.
    const std::string& GradeName(int g) const;
    // The number of grades, from block 1, clamped to 0..3.
    int GradeCount() const { return Blocks[0].GradeCount < 3 ? Blocks[0].GradeCount : 3; }

    static VeneerRuleSet Decode(std::span<const std::uint8_t> bytes);
    // Throws VarnokError when a grade name cannot be stored in Windows-1252.
    std::vector<std::uint8_t> Encode() const;

    // Refuses (FileError through `check`) a record of kSize bytes with a field the grader
    // cannot use: a grade count outside 0 to 3, or, in a grade block in use, a minimum
    // diameter outside 9 to 50 inches, a yes/no byte other than 0 or 1, a sweep limit outside
    // 0 to 255 inches or not finite, a defect count above 100, an in-line angle above 90
    // degrees or a heart percent outside 0 to 100. Blocks beyond the grade count are not read
    // and not checked.
    static void Check(std::span<const std::uint8_t> bytes, const FieldCheck& check);
};

// Offsets inside a grade block, for tests and tools that look at the bytes.
inline constexpr std::size_t kVeneerMaxSweepOffset = 12;
inline constexpr std::size_t kVeneerMaxHoleOffset = 246;
inline constexpr std::size_t kVeneerGradeNameOffset = 301;

// Reads the first record. Throws FileError when the file cannot be read, is too short or fails
// VeneerRuleSet::Check.
VeneerRuleSet ReadVeneerRuleSet(const std::filesystem::path& path);
// Writes one record, replacing the file. Throws FileError or VarnokError on failure.
void WriteVeneerRuleSet(const std::filesystem::path& path, const VeneerRuleSet& set);

} // namespace varnok
