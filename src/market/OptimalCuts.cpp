#include "market/OptimalCuts.h"

#include "support/ByteBuffer.h"
#include "support/Errors.h"
#include "support/Files.h"

#include <stdexcept>
#include <string>

namespace varnok {

const OptimalCutEntry& OptimalCutsTable::Entry(int treeNumber) const {
    if (treeNumber < 1 || treeNumber > kTreeCount) {
        throw std::out_of_range("tree number outside 1..150");
    }
    return Entries[static_cast<std::size_t>(treeNumber - 1)];
}

OptimalCutEntry& OptimalCutsTable::Entry(int treeNumber) {
    if (treeNumber < 1 || treeNumber > kTreeCount) {
        throw std::out_of_range("tree number outside 1..150");
    }
    return Entries[static_cast<std::size_t>(treeNumber - 1)];
}

OptimalCutsTable OptimalCutsTable::Decode(std::span<const std::uint8_t> bytes) {
    const ByteReader r(bytes);
    OptimalCutsTable table;
    for (std::size_t t = 0; t < table.Entries.size(); ++t) {
        for (std::size_t s = 0; s < kCutSlots; ++s) {
            table.Entries[t][s] = r.I32(t * kEntrySize + 4 * s);
        }
    }
    return table;
}

std::vector<std::uint8_t> OptimalCutsTable::Encode() const {
    ByteWriter w(kSize);
    for (int tree = 1; tree <= kTreeCount; ++tree) {
        EncodeOptimalCutEntry(w, tree, Entry(tree));
    }
    return w.Take();
}

void EncodeOptimalCutEntry(ByteWriter& image, int treeNumber, const OptimalCutEntry& entry) {
    const std::size_t base =
        static_cast<std::size_t>(treeNumber - 1) * OptimalCutsTable::kEntrySize;
    for (std::size_t s = 0; s < kCutSlots; ++s) {
        image.I32(base + 4 * s, entry[s]);
    }
}

std::vector<int> CutPositions(const OptimalCutEntry& entry) {
    std::vector<int> cuts;
    bool any = false;
    for (const std::int32_t value : entry) {
        any = any || value != 0;
    }
    if (!any) {
        return cuts;
    }
    cuts.push_back(0);
    for (std::size_t s = 1; s < entry.size() && entry[s] != 0; ++s) {
        cuts.push_back(entry[s]);
    }
    return cuts;
}

OptimalCutEntry MakeOptimalCutEntry(std::span<const int> cuts) {
    if (cuts.size() > kCutSlots) {
        throw VarnokError("an optimal pattern of more than 26 logs cannot be stored");
    }
    OptimalCutEntry entry{};
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        entry[i] = cuts[i];
    }
    return entry;
}

void CheckOptimalCutEntry(const OptimalCutEntry& entry, int treeNumber, const FieldCheck& check) {
    // The longest stem the tree model holds, inches.
    constexpr std::int32_t kLongestStem = 2400;
    const FieldCheck tree = check.Within("tree " + std::to_string(treeNumber) + ": ");
    bool any = false;
    for (const std::int32_t value : entry) {
        any = any || value != 0;
    }
    if (!any) {
        return; // never computed
    }
    tree.Integer("cut slot 1", entry[0], 0, 0);
    std::size_t s = 1;
    for (; s < entry.size() && entry[s] != 0; ++s) {
        tree.Integer("cut slot " + std::to_string(s + 1), entry[s], entry[s - 1] + 1, kLongestStem);
    }
    for (; s < entry.size(); ++s) {
        tree.Integer("cut slot " + std::to_string(s + 1) + " (after the top)", entry[s], 0, 0);
    }
}

OptimalCutsTable ReadOptimalCuts(const std::filesystem::path& path) {
    const OptimalCutsTable table =
        OptimalCutsTable::Decode(ReadRecord(path, OptimalCutsTable::kSize, RecordChoice::First));
    const FieldCheck check(path);
    for (int tree = 1; tree <= kTreeCount; ++tree) {
        CheckOptimalCutEntry(table.Entry(tree), tree, check);
    }
    return table;
}

void WriteOptimalCuts(const std::filesystem::path& path, const OptimalCutsTable& table) {
    WriteFileBytes(path, table.Encode());
}

} // namespace varnok
