#pragma once

#include "support/Errors.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace varnok {

class ByteWriter;

inline constexpr int kTreeCount = 150;
inline constexpr std::size_t kCutSlots = 27;

// One tree's optimal pattern: the start of each log from the butt, then the usable length,
// then zeros. All zero when the tree was never computed. Inches.
using OptimalCutEntry = std::array<std::int32_t, kCutSlots>;

// The file "Optmcuts": 150 entries of 27 signed 32-bit positions, 16200 bytes.
struct OptimalCutsTable {
    static constexpr std::size_t kEntrySize = kCutSlots * 4;
    static constexpr std::size_t kSize = kTreeCount * kEntrySize;

    std::array<OptimalCutEntry, kTreeCount> Entries{};

    // Entry of tree n (1 to 150); out-of-range throws std::out_of_range.
    const OptimalCutEntry& Entry(int treeNumber) const;
    OptimalCutEntry& Entry(int treeNumber);

    static OptimalCutsTable Decode(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Encode() const;
};

// Writes the entry of tree n (1 to 150) at its place in a table image of kSize bytes, so that
// a table growing tree by tree is not encoded whole each time.
void EncodeOptimalCutEntry(ByteWriter& image, int treeNumber, const OptimalCutEntry& entry);

// The cut positions of an entry, butt to top: 0, the non-zero starts, the usable length (the
// slots up to the first zero after slot 0). Empty when the entry is all zero. Every reader of
// an entry goes through this function.
std::vector<int> CutPositions(const OptimalCutEntry& entry);

// Builds an entry from cut positions butt to top (at most 27). Throws VarnokError beyond 27.
OptimalCutEntry MakeOptimalCutEntry(std::span<const int> cuts);

// Refuses (FileError through `check`, naming the tree) an entry that is neither all zero nor
// a pattern: 0 in slot 0, then positions rising strictly up to at most 2400 inches, then
// zeros only.
void CheckOptimalCutEntry(const OptimalCutEntry& entry, int treeNumber, const FieldCheck& check);

// Reads the table. Throws FileError when the file cannot be read, is too short or holds an
// entry that CheckOptimalCutEntry refuses.
OptimalCutsTable ReadOptimalCuts(const std::filesystem::path& path);
// Writes the table, replacing the file. Throws FileError on failure.
void WriteOptimalCuts(const std::filesystem::path& path, const OptimalCutsTable& table);

} // namespace varnok
