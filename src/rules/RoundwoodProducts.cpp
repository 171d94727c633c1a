#include "rules/RoundwoodProducts.h"

#include "support/ByteBuffer.h"
#include "support/Files.h"

#include <string>

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

void RoundwoodProductSet::Check(std::span<const std::uint8_t> bytes, const FieldCheck& check) {
    const ByteReader reader(bytes);
    for (std::size_t p = 0; p < 3; ++p) {
        const ByteReader slot = reader.Sub(p * kSpecSize, kSpecSize);
        const FieldCheck product = check.Within("product " + std::to_string(p + 1) + " ");
        product.TextLength("name", slot.U8(0), kTextCapacity);
        product.TextLength("units", slot.U8(21), kTextCapacity);
        if (slot.U8(0) == 0) {
            continue;
        }
        product.Integer("MinDiameter", slot.U8(42), 8, 50);
        product.Integer("MaxDiameter", slot.U8(43), 8, 50);
        product.OneOf("MinLength", slot.U8(44), {8, 10, 12, 14, 16});
        product.OneOf("MaxLength", slot.U8(45), {8, 10, 12, 14, 16});
        product.Number("Soundness", slot.F32(48), 0.0, 1.0);
    }
    check.TextLength("cull handling", reader.U8(kCullHandlingOffset), kTextCapacity);
    check.TextLength("cull units", reader.U8(kCullUnitsOffset), kTextCapacity);
    const std::string handling = reader.ShortString(kCullHandlingOffset, kTextCapacity);
    const std::string units = reader.ShortString(kCullUnitsOffset, kTextCapacity);
    const bool known = (handling == "none" && units == "none") ||
                       (handling == "Cull" && (units == "Cubic Feet" || units == "Cubic Meters")) ||
                       (handling.empty() && units.empty());
    if (!known) {
        check.Fail("the cull pair", "\"" + handling + "\"/\"" + units + "\"",
                   "\"none\"/\"none\", \"Cull\"/\"Cubic Feet\" or \"Cull\"/\"Cubic Meters\"");
    }
}

RoundwoodProductSet ReadRoundwoodProducts(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes =
        ReadRecord(path, RoundwoodProductSet::kSize, RecordChoice::First);
    RoundwoodProductSet::Check(bytes, FieldCheck(path));
    return RoundwoodProductSet::Decode(bytes);
}

void WriteRoundwoodProducts(const std::filesystem::path& path, const RoundwoodProductSet& set) {
    WriteFileBytes(path, set.Encode());
}

} // namespace varnok
