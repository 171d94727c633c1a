#include "rules/PriceSet.h"

#include "support/ByteBuffer.h"
#include "support/Files.h"
#include "support/Numbers.h"

#include <cmath>
#include <string>

namespace varnok {
namespace {
constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kUnitsOffset = 31;
constexpr std::size_t kPricesOffset = 64;
constexpr std::size_t kTextCapacity = 30;
} // namespace

const std::array<const char*, 6>& FixedPriceRowNames() {
    static constexpr std::array<const char*, 6> kNames = {"Prime Veneer", "A Veneer",  "B Veneer",
                                                          "#1 Sawlog",    "#2 Sawlog", "#3 Sawlog"};
    return kNames;
}

PriceSet PriceSet::Decode(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes);
    PriceSet set;
    for (std::size_t r = 0; r < set.Rows.size(); ++r) {
        const ByteReader row = reader.Sub(r * kRowSize, kRowSize);
        set.Rows[r].Name = row.ShortString(kNameOffset, kTextCapacity);
        set.Rows[r].Units = row.ShortString(kUnitsOffset, kTextCapacity);
        for (std::size_t l = 0; l < 5; ++l) {
            set.Rows[r].Prices[l] = row.F64(kPricesOffset + l * 8);
        }
    }
    return set;
}

std::vector<std::uint8_t> PriceSet::Encode() const {
    ByteWriter writer(kSize);
    for (std::size_t r = 0; r < Rows.size(); ++r) {
        const std::size_t base = r * kRowSize;
        writer.ShortString(base + kNameOffset, kTextCapacity, Rows[r].Name);
        writer.ShortString(base + kUnitsOffset, kTextCapacity, Rows[r].Units);
        for (std::size_t l = 0; l < 5; ++l) {
            writer.F64(base + kPricesOffset + l * 8, Rows[r].Prices[l]);
        }
    }
    return writer.Take();
}

void PriceSet::Check(std::span<const std::uint8_t> bytes, const FieldCheck& check) {
    static constexpr std::array<int, 5> kFeet = {8, 10, 12, 14, 16};
    const ByteReader reader(bytes);
    for (std::size_t r = 0; r < 10; ++r) {
        const ByteReader row = reader.Sub(r * kRowSize, kRowSize);
        const std::string name = "row " + std::to_string(r + 1) + " ";
        check.TextLength(name + "product name", row.U8(kNameOffset), kTextCapacity);
        check.TextLength(name + "units", row.U8(kUnitsOffset), kTextCapacity);
        for (std::size_t l = 0; l < kFeet.size(); ++l) {
            const double price = row.F64(kPricesOffset + l * 8);
            if (!std::isfinite(price)) {
                check.Fail(name + "price for " + std::to_string(kFeet[l]) + " ft logs",
                           FormatGeneral(price), "a finite number");
            }
        }
    }
}

PriceSet ReadPriceSet(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = ReadRecord(path, PriceSet::kSize, RecordChoice::First);
    PriceSet::Check(bytes, FieldCheck(path));
    return PriceSet::Decode(bytes);
}

void WritePriceSet(const std::filesystem::path& path, const PriceSet& set) {
    WriteFileBytes(path, set.Encode());
}

} // namespace varnok
