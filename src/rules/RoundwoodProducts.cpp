#include "rules/RoundwoodProducts.h"

#include "support/ByteBuffer.h"
#include "support/Files.h"

namespace varnok {
namespace {
constexpr std::size_t kTextCapacity = 20;
constexpr std::size_t kCullHandlingOffset = 156;
constexpr std::size_t kCullUnitsOffset = 177;
} // namespace

RoundwoodProductSet RoundwoodProductSet::Decode(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes);
    RoundwoodProductSet set;
    for (std::size_t p = 0; p < set.Products.size(); ++p) {
        const ByteReader slot = reader.Sub(p * kSpecSize, kSpecSize);
        RoundwoodProductSpec& product = set.Products[p];
        product.Name = slot.ShortString(0, kTextCapacity);
        product.Units = slot.ShortString(21, kTextCapacity);
        product.MinDiameter = slot.U8(42);
        product.MaxDiameter = slot.U8(43);
        product.MinLength = slot.U8(44);
        product.MaxLength = slot.U8(45);
        product.Soundness = slot.F32(48);
    }
    set.CullHandling = reader.ShortString(kCullHandlingOffset, kTextCapacity);
    set.CullUnits = reader.ShortString(kCullUnitsOffset, kTextCapacity);
    return set;
}

std::vector<std::uint8_t> RoundwoodProductSet::Encode() const {
    ByteWriter writer(kSize);
    for (std::size_t p = 0; p < Products.size(); ++p) {
        const std::size_t base = p * kSpecSize;
        const RoundwoodProductSpec& product = Products[p];
        writer.ShortString(base, kTextCapacity, product.Name);
        writer.ShortString(base + 21, kTextCapacity, product.Units);
        writer.U8(base + 42, product.MinDiameter);
        writer.U8(base + 43, product.MaxDiameter);
        writer.U8(base + 44, product.MinLength);
        writer.U8(base + 45, product.MaxLength);
        writer.F32(base + 48, product.Soundness);
    }
    writer.ShortString(kCullHandlingOffset, kTextCapacity, CullHandling);
    writer.ShortString(kCullUnitsOffset, kTextCapacity, CullUnits);
    return writer.Take();
}

RoundwoodProductSet ReadRoundwoodProducts(const std::filesystem::path& path) {
    return RoundwoodProductSet::Decode(
        ReadRecord(path, RoundwoodProductSet::kSize, RecordChoice::First));
}

void WriteRoundwoodProducts(const std::filesystem::path& path, const RoundwoodProductSet& set) {
    WriteFileBytes(path, set.Encode());
}

} // namespace varnok
