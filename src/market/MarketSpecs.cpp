#include "market/MarketSpecs.h"

#include "grading/VeneerRules.h"
#include "support/ByteBuffer.h"
#include "support/Files.h"

#include <string>
#include <string_view>

#include <algorithm>

namespace varnok {
namespace {
constexpr std::size_t kNameCapacity = 255;
constexpr std::size_t kSawlogOffset = 1;
constexpr std::size_t kLogRuleOffset = 257;
constexpr std::size_t kVeneerNameOffset = 513;
constexpr std::size_t kPriceOffset = 3988;
constexpr std::size_t kFilterOffset = 4244;
constexpr std::size_t kRoundwoodOffset = 4500;
} // namespace

MarketSpecs MarketSpecs::Decode(std::span<const std::uint8_t> bytes) {
    const ByteReader r(bytes);
    MarketSpecs s;
    s.TrimAllowance = r.U8(0);
    s.SawlogRuleName = r.ShortString(kSawlogOffset, kNameCapacity);
    s.LogRuleName = r.ShortString(kLogRuleOffset, kNameCapacity);
    s.VeneerRuleName = r.ShortString(kVeneerNameOffset, kNameCapacity);
    for (std::size_t i = 0; i < kVeneerSize; ++i) {
        s.VeneerRecord[i] = r.U8(kVeneerOffset + i);
    }
    s.PriceSetName = r.ShortString(kPriceOffset, kNameCapacity);
    s.FilterSetName = r.ShortString(kFilterOffset, kNameCapacity);
    s.RoundwoodName = r.ShortString(kRoundwoodOffset, kNameCapacity);
    return s;
}

std::vector<std::uint8_t> MarketSpecs::Encode() const {
    ByteWriter w(kSize);
    w.U8(0, TrimAllowance);
    w.ShortString(kSawlogOffset, kNameCapacity, SawlogRuleName);
    w.ShortString(kLogRuleOffset, kNameCapacity, LogRuleName);
    w.ShortString(kVeneerNameOffset, kNameCapacity, VeneerRuleName);
    w.Bytes(kVeneerOffset, VeneerRecord);
    w.ShortString(kPriceOffset, kNameCapacity, PriceSetName);
    w.ShortString(kFilterOffset, kNameCapacity, FilterSetName);
    w.ShortString(kRoundwoodOffset, kNameCapacity, RoundwoodName);
    return w.Take();
}

void MarketSpecs::Check(std::span<const std::uint8_t> bytes, const FieldCheck& check) {
    const MarketSpecs specs = Decode(bytes);
    check.OneOf("the trim allowance", specs.TrimAllowance, {4, 8});
    const std::pair<const std::string*, const char*> names[] = {
        {&specs.SawlogRuleName, "sawlog grading rule"},
        {&specs.LogRuleName, "log rule"},
        {&specs.VeneerRuleName, "veneer grading rule"},
        {&specs.PriceSetName, "price set"},
        {&specs.FilterSetName, "defect filter set"},
        {&specs.RoundwoodName, "roundwood product set"},
    };
    for (const auto& [name, what] : names) {
        try {
            CheckPlainName(*name, what);
        } catch (const VarnokError& error) {
            throw FileError(check.Path(), error.what());
        }
    }
    VeneerRuleSet::Check(std::span<const std::uint8_t>(bytes).subspan(kVeneerOffset, kVeneerSize),
                         check.Within("veneer rules: "));
}

MarketSpecs ReadMarketSpecs(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes =
        ReadRecord(path, MarketSpecs::kSize, RecordChoice::Last);
    MarketSpecs::Check(bytes, FieldCheck(path));
    return MarketSpecs::Decode(bytes);
}

void WriteMarketSpecs(const std::filesystem::path& path, const MarketSpecs& specs) {
    WriteFileBytes(path, specs.Encode());
}

} // namespace varnok
