#include "grading/VeneerRules.h"

#include "support/ByteBuffer.h"

#include <stdexcept>
#include <string>

namespace varnok {
namespace {

constexpr std::size_t kNameCapacity = 255;

template <std::size_t N>
void ReadBytes(const ByteReader& r, std::size_t offset, std::array<std::uint8_t, N>& out) {
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = r.U8(offset + i);
    }
}

template <std::size_t N>
void WriteBytes(ByteWriter& w, std::size_t offset, const std::array<std::uint8_t, N>& in) {
    for (std::size_t i = 0; i < N; ++i) {
        w.U8(offset + i, in[i]);
    }
}

VeneerGradeRules DecodeBlock(const ByteReader& r) {
    VeneerGradeRules b;
    b.GradeCount = r.U8(0);
    b.MinSmallEndDiameter = r.U8(1);
    ReadBytes(r, 2, b.LengthAccepted);
    for (std::size_t i = 0; i < b.MaxSweep.size(); ++i) {
        b.MaxSweep[i] = r.F32(kVeneerMaxSweepOffset + 4 * i);
    }
    b.DefectsVaryWithDiameter = r.U8(180);
    ReadBytes(r, 181, b.MaxDefectsForDiameter);
    b.DefectsVaryWithLength = r.U8(223);
    ReadBytes(r, 224, b.MaxDefectsForLength);
    b.MaxDefects = r.U8(233);
    b.MaxKnotSize = r.U8(234);
    b.MaxSeamLength = r.U8(235);
    ReadBytes(r, 236, b.InLineCountsAsOne);
    b.MaxInLineAngle = r.U8(245);
    ReadBytes(r, kVeneerMaxHoleOffset, b.MaxHoleForDiameter);
    b.MaxHeartPercent = r.F32(288);
    ReadBytes(r, 292, b.HalvesSeparate);
    for (std::size_t n = 0; n < 3; ++n) {
        b.GradeNames[n] = r.ShortString(kVeneerGradeNameOffset + 256 * n, kNameCapacity);
    }
    b.ReservedMaxHeight = r.U8(1069);
    return b;
}

void EncodeBlock(ByteWriter& w, std::size_t base, const VeneerGradeRules& b) {
    w.U8(base + 0, b.GradeCount);
    w.U8(base + 1, b.MinSmallEndDiameter);
    WriteBytes(w, base + 2, b.LengthAccepted);
    for (std::size_t i = 0; i < b.MaxSweep.size(); ++i) {
        w.F32(base + kVeneerMaxSweepOffset + 4 * i, b.MaxSweep[i]);
    }
    w.U8(base + 180, b.DefectsVaryWithDiameter);
    WriteBytes(w, base + 181, b.MaxDefectsForDiameter);
    w.U8(base + 223, b.DefectsVaryWithLength);
    WriteBytes(w, base + 224, b.MaxDefectsForLength);
    w.U8(base + 233, b.MaxDefects);
    w.U8(base + 234, b.MaxKnotSize);
    w.U8(base + 235, b.MaxSeamLength);
    WriteBytes(w, base + 236, b.InLineCountsAsOne);
    w.U8(base + 245, b.MaxInLineAngle);
    WriteBytes(w, base + kVeneerMaxHoleOffset, b.MaxHoleForDiameter);
    w.F32(base + 288, b.MaxHeartPercent);
    WriteBytes(w, base + 292, b.HalvesSeparate);
    for (std::size_t n = 0; n < 3; ++n) {
        w.ShortString(base + kVeneerGradeNameOffset + 256 * n, kNameCapacity, b.GradeNames[n]);
    }
    w.U8(base + 1069, b.ReservedMaxHeight);
}

template <std::size_t N>
void CheckFlags(const FieldCheck& check, const char* field,
                const std::array<std::uint8_t, N>& flags, int firstIndex) {
    for (std::size_t i = 0; i < N; ++i) {
        check.Flag(std::string(field) + "[" + std::to_string(firstIndex + static_cast<int>(i)) +
                       "]",
                   flags[i]);
    }
}

// Defect counts are compared with counts of surface defects, of which a tree holds at most 100.
constexpr int kMostDefects = 100;

void CheckBlock(const VeneerGradeRules& b, const FieldCheck& check) {
    check.Integer("GradeCount", b.GradeCount, 0, 3);
    check.Integer("MinSmallEndDiameter", b.MinSmallEndDiameter, 9, 50);
    CheckFlags(check, "LengthAccepted", b.LengthAccepted, 8);
    for (std::size_t i = 0; i < b.MaxSweep.size(); ++i) {
        check.Number("MaxSweep[" + std::to_string(9 + i) + "]", b.MaxSweep[i], 0.0, 255.0);
    }
    check.Flag("DefectsVaryWithDiameter", b.DefectsVaryWithDiameter);
    for (std::size_t i = 0; i < b.MaxDefectsForDiameter.size(); ++i) {
        check.Integer("MaxDefectsForDiameter[" + std::to_string(9 + i) + "]",
                      b.MaxDefectsForDiameter[i], 0, kMostDefects);
    }
    check.Flag("DefectsVaryWithLength", b.DefectsVaryWithLength);
    for (std::size_t i = 0; i < b.MaxDefectsForLength.size(); ++i) {
        check.Integer("MaxDefectsForLength[" + std::to_string(8 + i) + "]",
                      b.MaxDefectsForLength[i], 0, kMostDefects);
    }
    check.Integer("MaxDefects", b.MaxDefects, 0, kMostDefects);
    CheckFlags(check, "InLineCountsAsOne", b.InLineCountsAsOne, 8);
    // The in-line window is the angle in 10-degree sectors; past a quarter turn "in a line"
    // would take in the other side of the log.
    check.Integer("MaxInLineAngle", b.MaxInLineAngle, 0, 90);
    check.Number("MaxHeartPercent", b.MaxHeartPercent, 0.0, 100.0);
    CheckFlags(check, "HalvesSeparate", b.HalvesSeparate, 8);
}

} // namespace

const VeneerGradeRules& VeneerRuleSet::GradeBlock(int g) const {
    if (g < 1 || g > 3) {
        throw std::out_of_range("veneer grade outside 1..3");
    }
    return Blocks[static_cast<std::size_t>(g - 1)];
}

VeneerGradeRules& VeneerRuleSet::GradeBlock(int g) {
    if (g < 1 || g > 3) {
        throw std::out_of_range("veneer grade outside 1..3");
    }
    return Blocks[static_cast<std::size_t>(g - 1)];
}

const std::string& VeneerRuleSet::GradeName(int g) const {
    return GradeBlock(g).GradeNames[static_cast<std::size_t>(g - 1)];
}

VeneerRuleSet VeneerRuleSet::Decode(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes);
    VeneerRuleSet set;
    for (std::size_t g = 0; g < 3; ++g) {
        set.Blocks[g] = DecodeBlock(reader.Sub(g * kBlockSize, kBlockSize));
    }
    return set;
}

std::vector<std::uint8_t> VeneerRuleSet::Encode() const {
    ByteWriter writer(kSize);
    for (std::size_t g = 0; g < 3; ++g) {
        EncodeBlock(writer, g * kBlockSize, Blocks[g]);
    }
    return writer.Take();
}

void VeneerRuleSet::Check(std::span<const std::uint8_t> bytes, const FieldCheck& check) {
    const VeneerRuleSet set = Decode(bytes);
    const std::uint8_t grades = set.Blocks[0].GradeCount;
    check.Integer("grade 1 GradeCount", grades, 0, 3);
    for (int g = 1; g <= grades; ++g) {
        CheckBlock(set.GradeBlock(g), check.Within("grade " + std::to_string(g) + " "));
    }
}

VeneerRuleSet ReadVeneerRuleSet(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes =
        ReadRecord(path, VeneerRuleSet::kSize, RecordChoice::First);
    VeneerRuleSet::Check(bytes, FieldCheck(path));
    return VeneerRuleSet::Decode(bytes);
}

void WriteVeneerRuleSet(const std::filesystem::path& path, const VeneerRuleSet& set) {
    WriteFileBytes(path, set.Encode());
}

} // namespace varnok
