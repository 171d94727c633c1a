#include "rules/LogRule.h"

#include "support/ByteBuffer.h"
#include "support/Files.h"
#include "support/Numbers.h"

#include <cmath>
#include <string>

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

void LogRuleTable::Check(std::span<const std::uint8_t> bytes, const FieldCheck& check) {
    static constexpr std::array<int, 5> kFeet = {8, 10, 12, 14, 16};
    const LogRuleTable table = Decode(bytes);
    for (std::size_t k = 0; k < table.Entries.size(); ++k) {
        const LogRuleEntry& entry = table.Entries[k];
        const int diameter = static_cast<int>(k + 1);
        const std::string name = "entry " + std::to_string(diameter) + " ";
        // The editor writes k into entries 6 to 50 and zeros into 1 to 5; anything else is a
        // damaged or foreign file.
        check.OneOf(name + "diameter", entry.Diameter, {0, diameter});
        // Net scale is kept in 16 bits: a larger volume would saturate it and value the log
        // by a scale it does not have.
        for (std::size_t l = 0; l < kFeet.size(); ++l) {
            check.Number(name + "volume of " + std::to_string(kFeet[l]) + " ft logs",
                         entry.Volume[l], 0.0, kMaxLogRuleVolume);
        }
    }
}

LogRuleTable ReadLogRule(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes =
        ReadRecord(path, LogRuleTable::kSize, RecordChoice::First);
    LogRuleTable::Check(bytes, FieldCheck(path));
    return LogRuleTable::Decode(bytes);
}

void WriteLogRule(const std::filesystem::path& path, const LogRuleTable& table) {
    WriteFileBytes(path, table.Encode());
}

} // namespace varnok
