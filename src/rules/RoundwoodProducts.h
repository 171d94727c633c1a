#pragma once

#include "support/Errors.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace varnok {

// One roundwood product: what logs it takes and how it is sold.
struct RoundwoodProductSpec {
    std::string Name;  // capacity 20; empty = no product in this slot
    std::string Units; // capacity 20: "Cords", "Cubic Feet", "MBF", "Tons", "Cubic Meters"
    std::uint8_t MinDiameter = 0; // small-end diameter, inches
    std::uint8_t MaxDiameter = 0;
    std::uint8_t MinLength = 0; // nominal length, feet
    std::uint8_t MaxLength = 0;
    float Soundness = 0.0F; // largest deduction fraction the product accepts

    bool IsDefined() const { return !Name.empty(); }
};

// A roundwood product set file: three 52-byte product slots and the cull handling, 200 bytes.
struct RoundwoodProductSet {
    static constexpr std::size_t kSpecSize = 52;
    static constexpr std::size_t kSize = 200;

    std::array<RoundwoodProductSpec, 3> Products{};
    std::string CullHandling = "none"; // "none" or "Cull", capacity 20
    std::string CullUnits = "none";    // "none", "Cubic Feet" or "Cubic Meters", capacity 20

    static RoundwoodProductSet Decode(std::span<const std::uint8_t> bytes);
    // Throws VarnokError when a text cannot be stored in Windows-1252.
    std::vector<std::uint8_t> Encode() const;

    // Refuses (FileError through `check`) a record of kSize bytes with a text longer than its
    // capacity, a cull pair other than "none"/"none", "Cull"/"Cubic Feet", "Cull"/"Cubic
    // Meters" (or both empty, as a set saved without a cull choice), or, for a product with a
    // name, a diameter limit outside 8 to 50 inches, a length limit other than 8, 10, 12, 14
    // or 16 ft, or a soundness outside 0 to 1 or not finite. A slot without a name is never
    // chosen, so its limits are not checked.
    static void Check(std::span<const std::uint8_t> bytes, const FieldCheck& check);
};

// Reads the first record. Throws FileError when the file cannot be read, is too short or fails
// RoundwoodProductSet::Check.
RoundwoodProductSet ReadRoundwoodProducts(const std::filesystem::path& path);
// Writes one record, replacing the file. Throws FileError or VarnokError on failure.
void WriteRoundwoodProducts(const std::filesystem::path& path, const RoundwoodProductSet& set);

} // namespace varnok
