#include "rules/LogRule.h"

#include "support/ByteBuffer.h"
#include "support/Files.h"

namespace varnok {

double LogRuleTable::VolumeFor(int diameter, int lengthFeet) const {
    if (diameter < 1 || diameter > 50 || lengthFeet < 8 || lengthFeet > 16 || lengthFeet % 2 != 0) {
        return 0.0;
    }
    return Entries[static_cast<std::size_t>(diameter - 1)]
        .Volume[static_cast<std::size_t>((lengthFeet - 8) / 2)];
}

LogRuleTable LogRuleTable::Decode(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes);
    LogRuleTable table;
    for (std::size_t k = 0; k < table.Entries.size(); ++k) {
        const std::size_t base = k * kEntrySize;
        table.Entries[k].Diameter = reader.I32(base);
        for (std::size_t l = 0; l < 5; ++l) {
            table.Entries[k].Volume[l] = reader.F64(base + 4 + l * 8);
        }
    }
    return table;
}

std::vector<std::uint8_t> LogRuleTable::Encode() const {
    ByteWriter writer(kSize);
    for (std::size_t k = 0; k < Entries.size(); ++k) {
        const std::size_t base = k * kEntrySize;
        writer.I32(base, Entries[k].Diameter);
        for (std::size_t l = 0; l < 5; ++l) {
            writer.F64(base + 4 + l * 8, Entries[k].Volume[l]);
        }
    }
    return writer.Take();
}

LogRuleTable ReadLogRule(const std::filesystem::path& path) {
    return LogRuleTable::Decode(ReadRecord(path, LogRuleTable::kSize, RecordChoice::First));
}

void WriteLogRule(const std::filesystem::path& path, const LogRuleTable& table) {
    WriteFileBytes(path, table.Encode());
}

} // namespace varnok
