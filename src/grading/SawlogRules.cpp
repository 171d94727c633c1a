#include "grading/SawlogRules.h"

#include "support/ByteBuffer.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace varnok {
namespace {

std::size_t CellIndex(int g, int d, int l) {
    if (g < 1 || g > 3 || d < 1 || d > 3 || l < 1 || l > 3) {
        throw std::out_of_range("sawlog rule cell index outside 1..3");
    }
    return static_cast<std::size_t>(9 * (g - 1) + 3 * (d - 1) + (l - 1));
}

int ClampCount(std::uint8_t count) {
    return std::min<int>(count, 3);
}

std::string CellName(int g, int d, int l) {
    return "cell (" + std::to_string(g) + ", " + std::to_string(d) + ", " + std::to_string(l) +
           ") ";
}

void CheckCell(const SawlogRuleCell& c, const FieldCheck& check) {
    check.Integer("GradeNumber", c.GradeNumber, 0, 3);
    if (c.GradeNumber == 0) {
        return; // the grader skips a cell not in use
    }
    check.Integer("MinDiameter", c.MinDiameter, 8, 50);
    check.Integer("MaxDiameter", c.MaxDiameter, 8, 50);
    check.OneOf("MinLength", c.MinLength, {8, 10, 12, 14, 16});
    check.OneOf("MaxLength", c.MaxLength, {8, 10, 12, 14, 16});
    check.Flag("ButtLogsOnly", c.ButtLogsOnly);
    check.OneOf("ClearCuttingCode", c.ClearCuttingCode, {2, 3, 5, 7, 11, 12, 13, 14});
    check.OneOf("MaxClearCuttings", c.MaxClearCuttings, {1, 2, 3, 99});
    check.Number("YieldFraction", c.YieldFraction, 0.0, 1.0);
    check.Number("MaxSweepUnder25", c.MaxSweepUnder25, 0.0, 1.0);
    check.Number("MaxSweepOver25", c.MaxSweepOver25, 0.0, 1.0);
    check.Number("MaxDeduction", c.MaxDeduction, 0.0, 1.0);
}

} // namespace

const SawlogRuleCell& SawlogRuleSet::Cell(int g, int d, int l) const {
    return Cells[CellIndex(g, d, l)];
}

SawlogRuleCell& SawlogRuleSet::Cell(int g, int d, int l) {
    return Cells[CellIndex(g, d, l)];
}

int SawlogRuleSet::GradeCount() const {
    return ClampCount(Cell(1, 1, 1).GradeCount);
}

int SawlogRuleSet::DiameterSetCount(int g) const {
    return ClampCount(Cell(g, 1, 1).DiameterSetCount);
}

int SawlogRuleSet::LengthVariationCount(int g, int d) const {
    return ClampCount(Cell(g, d, 1).LengthVariationCount);
}

bool SawlogRuleSet::IsFacesMode() const {
    const std::uint8_t code = Cell(1, 1, 1).ClearCuttingCode;
    return code >= 11 && code <= 14;
}

SawlogRuleSet SawlogRuleSet::Decode(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes);
    SawlogRuleSet set;
    for (std::size_t i = 0; i < set.Cells.size(); ++i) {
        const ByteReader r = reader.Sub(i * kCellSize, kCellSize);
        SawlogRuleCell& c = set.Cells[i];
        c.GradeNumber = r.U8(0);
        c.MinDiameter = r.U8(1);
        c.MaxDiameter = r.U8(2);
        c.MinLength = r.U8(3);
        c.MaxLength = r.U8(4);
        c.ButtLogsOnly = r.U8(5);
        c.ClearCuttingCode = r.U8(6);
        c.MaxClearCuttings = r.U8(7);
        c.YieldFraction = r.F32(8);
        c.MaxSweepUnder25 = r.F32(12);
        c.MaxSweepOver25 = r.F32(16);
        c.MaxDeduction = r.F32(20);
        c.GradeCount = r.U8(24);
        c.DiameterSetCount = r.U8(25);
        c.LengthVariationCount = r.U8(26);
    }
    return set;
}

std::vector<std::uint8_t> SawlogRuleSet::Encode() const {
    ByteWriter w(kSize);
    for (std::size_t i = 0; i < Cells.size(); ++i) {
        const std::size_t b = i * kCellSize;
        const SawlogRuleCell& c = Cells[i];
        w.U8(b + 0, c.GradeNumber);
        w.U8(b + 1, c.MinDiameter);
        w.U8(b + 2, c.MaxDiameter);
        w.U8(b + 3, c.MinLength);
        w.U8(b + 4, c.MaxLength);
        w.U8(b + 5, c.ButtLogsOnly);
        w.U8(b + 6, c.ClearCuttingCode);
        w.U8(b + 7, c.MaxClearCuttings);
        w.F32(b + 8, c.YieldFraction);
        w.F32(b + 12, c.MaxSweepUnder25);
        w.F32(b + 16, c.MaxSweepOver25);
        w.F32(b + 20, c.MaxDeduction);
        w.U8(b + 24, c.GradeCount);
        w.U8(b + 25, c.DiameterSetCount);
        w.U8(b + 26, c.LengthVariationCount);
    }
    return w.Take();
}

void SawlogRuleSet::Check(std::span<const std::uint8_t> bytes, const FieldCheck& check) {
    const SawlogRuleSet set = Decode(bytes);
    // The counts are read from one cell each and walked as the grader walks them.
    const std::uint8_t grades = set.Cell(1, 1, 1).GradeCount;
    check.Integer(CellName(1, 1, 1) + "GradeCount", grades, 0, 3);
    for (int g = 1; g <= grades; ++g) {
        const std::uint8_t sets = set.Cell(g, 1, 1).DiameterSetCount;
        check.Integer(CellName(g, 1, 1) + "DiameterSetCount", sets, 0, 3);
        for (int d = 1; d <= sets; ++d) {
            const std::uint8_t lengths = set.Cell(g, d, 1).LengthVariationCount;
            check.Integer(CellName(g, d, 1) + "LengthVariationCount", lengths, 0, 3);
            for (int l = 1; l <= lengths; ++l) {
                CheckCell(set.Cell(g, d, l), check.Within(CellName(g, d, l)));
            }
        }
    }
}

SawlogRuleSet ReadSawlogRuleSet(const std::filesystem::path& path, RecordChoice choice) {
    const std::vector<std::uint8_t> bytes = ReadRecord(path, SawlogRuleSet::kSize, choice);
    SawlogRuleSet::Check(bytes, FieldCheck(path));
    return SawlogRuleSet::Decode(bytes);
}

void WriteSawlogRuleSet(const std::filesystem::path& path, const SawlogRuleSet& set) {
    WriteFileBytes(path, set.Encode());
}

} // namespace varnok
