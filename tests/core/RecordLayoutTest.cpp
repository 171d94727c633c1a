#include "TestSupport.h"
#include "grading/SawlogRules.h"
#include "grading/VeneerRules.h"
#include "market/MarketSpecs.h"
#include "market/OptimalCuts.h"
#include "rules/DefectFilterSet.h"
#include "rules/LogRule.h"
#include "rules/PriceSet.h"
#include "rules/RoundwoodProducts.h"
#include "support/ByteBuffer.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

#include <bit>

namespace varnok {
namespace {

using test::TempFolder;

double DoubleAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return ByteReader(bytes).F64(offset);
}

TEST(LogRuleRecord, VolumesLieWhereTheTableSays) {
    EXPECT_EQ(LogRuleVolumeOffset(20, 12), 856U);
    LogRuleTable table;
    for (int d = 6; d <= 50; ++d) {
        table.Entries[static_cast<std::size_t>(d - 1)].Diameter = d;
    }
    table.Entries[19].Volume[2] = 123.5;  // 20 in, 12 ft
    table.Entries[49].Volume[4] = 2304.0; // 50 in, 16 ft
    const auto bytes = table.Encode();
    ASSERT_EQ(bytes.size(), 2200U);
    EXPECT_EQ(DoubleAt(bytes, 856), 123.5);
    EXPECT_EQ(DoubleAt(bytes, LogRuleVolumeOffset(50, 16)), 2304.0);
    EXPECT_EQ(ByteReader(bytes).I32(5 * 44), 6);
    // Entries 1 to 5 stay all zero.
    for (std::size_t i = 0; i < 220; ++i) {
        ASSERT_EQ(bytes[i], 0) << i;
    }
    const LogRuleTable back = LogRuleTable::Decode(bytes);
    EXPECT_EQ(back.VolumeFor(20, 12), 123.5);
    EXPECT_EQ(back.VolumeFor(20, 11), 0.0);
    EXPECT_EQ(back.VolumeFor(51, 12), 0.0);
    EXPECT_EQ(back.VolumeFor(0, 12), 0.0);
    EXPECT_EQ(back.Encode(), bytes);
}

TEST(PriceRecord, RowsNamesAndPrices) {
    EXPECT_EQ(PriceOffset(4, 12), 392U);
    PriceSet set;
    for (std::size_t r = 0; r < 6; ++r) {
        set.Rows[r].Name = FixedPriceRowNames()[r];
        set.Rows[r].Units = "MBF";
    }
    set.Rows[3].Prices[2] = 450.25;
    set.Rows[6].Name = std::string(35, 'P'); // cut to 30
    set.Rows[6].Units = "Cords";
    const auto bytes = set.Encode();
    ASSERT_EQ(bytes.size(), 1040U);
    EXPECT_EQ(DoubleAt(bytes, 392), 450.25);
    EXPECT_EQ(bytes[3 * 104], 9);      // "#1 Sawlog"
    EXPECT_EQ(bytes[3 * 104 + 31], 3); // "MBF"
    EXPECT_EQ(bytes[6 * 104], 30);
    const PriceSet back = PriceSet::Decode(bytes);
    EXPECT_EQ(back.Rows[3].Name, "#1 Sawlog");
    EXPECT_EQ(back.Rows[6].Name, std::string(30, 'P'));
    EXPECT_EQ(back.Rows[6].Units, "Cords");
    EXPECT_EQ(back.Encode(), bytes);
}

TEST(RoundwoodRecord, SlotsAndCullHandling) {
    RoundwoodProductSet set;
    set.Products[1].Name = "Bolts";
    set.Products[1].Units = "Cubic Feet";
    set.Products[1].MinDiameter = 10;
    set.Products[1].MaxDiameter = 20;
    set.Products[1].MinLength = 8;
    set.Products[1].MaxLength = 10;
    set.Products[1].Soundness = 0.05F;
    set.CullHandling = "Cull";
    set.CullUnits = "Cubic Meters";
    const auto bytes = set.Encode();
    ASSERT_EQ(bytes.size(), 200U);
    EXPECT_EQ(bytes[52], 5);
    EXPECT_EQ(bytes[52 + 21], 10);
    EXPECT_EQ(bytes[52 + 42], 10);
    EXPECT_EQ(bytes[52 + 45], 10);
    EXPECT_EQ(ByteReader(bytes).F32(52 + 48), 0.05F);
    EXPECT_EQ(bytes[156], 4);
    EXPECT_EQ(bytes[177], 12);
    const RoundwoodProductSet back = RoundwoodProductSet::Decode(bytes);
    EXPECT_FALSE(back.Products[0].IsDefined());
    EXPECT_TRUE(back.Products[1].IsDefined());
    EXPECT_EQ(back.CullUnits, "Cubic Meters");
    EXPECT_EQ(back.Encode(), bytes);

    // The golden set: product 1 "Pulpwood" in cords, 8 to 30 inches.
    const auto golden =
        RoundwoodProductSet::Decode(test::ReadBytes(test::GoldenData() / "Roundwood" / "RW Two"));
    EXPECT_EQ(golden.Products[0].Name, "Pulpwood");
    EXPECT_EQ(golden.Products[0].Units, "Cords");
    EXPECT_EQ(golden.Products[0].MaxDiameter, 30);
    EXPECT_EQ(golden.CullHandling, "Cull");
}

TEST(DefectFilterRecord, FixedTableAndEditorDefaults) {
    const DefectFilterSet set = DefaultDefectFilterSet();
    const auto bytes = set.Encode();
    ASSERT_EQ(bytes.size(), 9086U);
    const std::size_t unchecked[] = {8, 15, 20, 22, 35, 39, 41, 47, 49};
    int checked = 0;
    for (std::size_t n = 1; n <= 59; ++n) {
        const std::uint8_t flag = bytes[(n - 1) * 154 + 102];
        const bool expectUnchecked =
            std::find(std::begin(unchecked), std::end(unchecked), n) != std::end(unchecked);
        EXPECT_EQ(flag, expectUnchecked ? 0 : 1) << "entry " << n;
        checked += flag;
    }
    EXPECT_EQ(checked, 50);
    const ByteReader r(bytes);
    EXPECT_EQ(r.ShortString(16 * 154 + 51, 50), "F");
    EXPECT_EQ(r.ShortString(16 * 154 + 103, 50), "  F");
    EXPECT_EQ(r.ShortString(14 * 154 + 51, 50), "GLA");
    EXPECT_EQ(r.ShortString(35 * 154, 50), "Medium Bark Distoriton");
    EXPECT_EQ(r.ShortString(58 * 154, 50), "Large Maple Heart");
    EXPECT_EQ(DefectFilterSet::Decode(bytes).Encode(), bytes);

    // The golden "Default Filter" is the editor's defaults, byte for byte in its used bytes.
    const DefectFilterSet golden =
        ReadDefectFilterSet(test::GoldenData() / "Filters" / "Default Filter");
    for (std::size_t n = 0; n < 59; ++n) {
        EXPECT_EQ(golden.Entries[n].Code, set.Entries[n].Code);
        EXPECT_EQ(golden.Entries[n].Flag, set.Entries[n].Flag);
        EXPECT_EQ(golden.Entries[n].ClassCode, set.Entries[n].ClassCode);
        EXPECT_EQ(golden.Entries[n].Name, set.Entries[n].Name);
    }
}

TEST(DefectFilterRecord, ReadingKeepsTheLastRecord) {
    TempFolder folder;
    DefectFilterSet first = DefaultDefectFilterSet();
    DefectFilterSet second = DefaultDefectFilterSet();
    second.Entries[27].Flag = 0;
    auto bytes = first.Encode();
    const auto tail = second.Encode();
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    bytes.push_back(7); // a partial record after them is ignored
    test::WriteBytes(folder.Path() / "two", bytes);
    EXPECT_EQ(ReadDefectFilterSet(folder.Path() / "two").Entries[27].Flag, 0);
}

TEST(SawlogRecord, CellAddressingCountsAndFacesMode) {
    struct Case {
        int g, d, l;
        std::size_t offset;
    };
    const Case cases[] = {{1, 1, 1, 0},   {1, 1, 2, 28},  {1, 2, 1, 84},
                          {2, 1, 1, 252}, {3, 3, 3, 728}, {2, 3, 2, 448}};
    for (const Case& c : cases) {
        EXPECT_EQ(SawlogCellOffset(c.g, c.d, c.l), c.offset);
        SawlogRuleSet set;
        set.Cell(c.g, c.d, c.l).GradeNumber = static_cast<std::uint8_t>(c.g);
        set.Cell(c.g, c.d, c.l).YieldFraction = 0.8333333F;
        const auto bytes = set.Encode();
        ASSERT_EQ(bytes.size(), 756U);
        EXPECT_EQ(bytes[c.offset], c.g);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(ByteReader(bytes).F32(c.offset + 8)), 0x3F555555U);
        EXPECT_EQ(SawlogRuleSet::Decode(bytes).Encode(), bytes);
    }
    EXPECT_THROW((void)SawlogRuleSet{}.Cell(0, 1, 1), std::out_of_range);

    SawlogRuleSet set;
    set.Cell(1, 1, 1).GradeCount = 2;
    set.Cell(2, 1, 1).DiameterSetCount = 3;
    set.Cell(2, 3, 1).LengthVariationCount = 200; // damaged: clamped
    set.Cell(2, 2, 1).DiameterSetCount = 1;       // not where grade 2's count is read
    EXPECT_EQ(set.GradeCount(), 2);
    EXPECT_EQ(set.DiameterSetCount(2), 3);
    EXPECT_EQ(set.LengthVariationCount(2, 3), 3);
    EXPECT_EQ(set.LengthVariationCount(2, 2), 0);

    const std::pair<int, bool> codes[] = {{2, false}, {7, false}, {10, false}, {11, true},
                                          {12, true}, {14, true}, {15, false}};
    for (const auto& [code, faces] : codes) {
        SawlogRuleSet s;
        s.Cell(1, 1, 1).ClearCuttingCode = static_cast<std::uint8_t>(code);
        EXPECT_EQ(s.IsFacesMode(), faces) << code;
    }
    SawlogRuleSet other;
    other.Cell(1, 1, 2).ClearCuttingCode = 12; // only cell (1, 1, 1) decides
    EXPECT_FALSE(other.IsFacesMode());
}

TEST(SawlogRecord, MarketReaderTakesTheLastRecordViewerTheFirst) {
    TempFolder folder;
    SawlogRuleSet a;
    a.Cell(1, 1, 1).GradeCount = 1;
    SawlogRuleSet b;
    b.Cell(1, 1, 1).GradeCount = 3;
    auto bytes = a.Encode();
    const auto tail = b.Encode();
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    test::WriteBytes(folder.Path() / "two", bytes);
    EXPECT_EQ(ReadSawlogRuleSet(folder.Path() / "two", RecordChoice::First).GradeCount(), 1);
    EXPECT_EQ(ReadSawlogRuleSet(folder.Path() / "two", RecordChoice::Last).GradeCount(), 3);
    test::WriteBytes(folder.Path() / "empty", {});
    EXPECT_THROW((void)ReadSawlogRuleSet(folder.Path() / "empty", RecordChoice::Last), FileError);
}

TEST(VeneerRecord, BlocksArraysAndNames) {
    VeneerRuleSet set;
    for (int g = 1; g <= 3; ++g) {
        VeneerGradeRules& b = set.GradeBlock(g);
        b.GradeCount = 3;
        b.GradeNames = {"Prime", "A grade", "B grade"};
        b.ReservedMaxHeight = 100;
    }
    VeneerGradeRules& b2 = set.GradeBlock(2);
    b2.MinSmallEndDiameter = 12;
    b2.LengthAccepted[10 - 8] = 1;
    b2.MaxSweep[15 - 9] = 2.0F;
    b2.MaxDefectsForDiameter[50 - 9] = 4;
    b2.MaxDefectsForLength[16 - 8] = 3;
    b2.InLineCountsAsOne[12 - 8] = 1;
    b2.MaxInLineAngle = 30;
    b2.MaxHoleForDiameter[30 - 9] = 6;
    b2.MaxHeartPercent = 40.0F;
    b2.HalvesSeparate[14 - 8] = 1;
    const auto bytes = set.Encode();
    ASSERT_EQ(bytes.size(), 3216U);
    const std::size_t base = 1072;
    const ByteReader r(bytes);
    EXPECT_EQ(bytes[base + 1], 12);
    EXPECT_EQ(bytes[base + 2 + 2], 1);                // 10 ft accepted
    EXPECT_EQ(r.F32(base + 12 + 4 * (15 - 9)), 2.0F); // sweep for 15 inches
    EXPECT_EQ(bytes[base + 181 + 41], 4);             // defects for 50 inches
    EXPECT_EQ(bytes[base + 224 + 8], 3);              // defects for 16 ft
    EXPECT_EQ(bytes[base + 236 + 4], 1);
    EXPECT_EQ(bytes[base + 245], 30);
    EXPECT_EQ(bytes[base + 246 + 21], 6); // hole for 30 inches
    EXPECT_EQ(r.F32(base + 288), 40.0F);
    EXPECT_EQ(bytes[base + 292 + 6], 1);
    EXPECT_EQ(r.ShortString(base + 301 + 256, 255), "A grade");
    EXPECT_EQ(bytes[base + 1069], 100);
    const VeneerRuleSet back = VeneerRuleSet::Decode(bytes);
    EXPECT_EQ(back.GradeName(1), "Prime");
    EXPECT_EQ(back.GradeName(3), "B grade");
    EXPECT_EQ(back.GradeCount(), 3);
    const VeneerGradeRules& g2 = back.GradeBlock(2);
    EXPECT_EQ(g2.MaxSweepFor(15), 2.0F);
    EXPECT_EQ(g2.MaxSweepFor(8), 0.0F);
    EXPECT_EQ(g2.MaxSweepFor(51), 0.0F);
    EXPECT_EQ(g2.MaxHoleFor(30), 6);
    EXPECT_EQ(g2.MaxDefectsForDiameterOf(50), 4);
    EXPECT_TRUE(g2.Accepts(10));
    EXPECT_FALSE(g2.Accepts(12));
    EXPECT_FALSE(g2.Accepts(17));
    EXPECT_TRUE(g2.InLineCountsAsOneFor(12));
    EXPECT_TRUE(g2.HalvesSeparateFor(14));
    EXPECT_EQ(back.Encode(), bytes);

    VeneerRuleSet damaged;
    damaged.Blocks[0].GradeCount = 9;
    EXPECT_EQ(damaged.GradeCount(), 3);
}

TEST(MarketSpecsRecord, FieldOffsets) {
    MarketSpecs specs;
    specs.TrimAllowance = 8;
    specs.SawlogRuleName = "Saw";
    specs.LogRuleName = "Doyle";
    specs.VeneerRuleName = "Ven";
    specs.VeneerRecord[0] = 2;
    specs.VeneerRecord[3215] = 77;
    specs.PriceSetName = "Prices";
    specs.FilterSetName = "Filter";
    specs.RoundwoodName = std::string(255, 'R');
    const auto bytes = specs.Encode();
    ASSERT_EQ(bytes.size(), 4756U);
    const ByteReader r(bytes);
    EXPECT_EQ(bytes[0], 8);
    EXPECT_EQ(r.ShortString(1, 255), "Saw");
    EXPECT_EQ(r.ShortString(257, 255), "Doyle");
    EXPECT_EQ(r.ShortString(513, 255), "Ven");
    EXPECT_EQ(bytes[772], 2);
    EXPECT_EQ(bytes[772 + 3215], 77);
    EXPECT_EQ(r.ShortString(3988, 255), "Prices");
    EXPECT_EQ(r.ShortString(4244, 255), "Filter");
    EXPECT_EQ(bytes[4500], 255);
    EXPECT_EQ(MarketSpecs::Decode(bytes).Encode(), bytes);

    const MarketSpecs golden =
        ReadMarketSpecs(test::GoldenData() / "Markets" / "Hardwood8" / "Specs");
    EXPECT_EQ(golden.TrimAllowance, 8);
    EXPECT_EQ(golden.SawlogRuleName, "Factory Grades");
    EXPECT_EQ(golden.LogRuleName, "Doyle");
    EXPECT_EQ(golden.PriceSetName, "Hardwood Whole");
    EXPECT_EQ(golden.FilterSetName, "Default Filter");
    EXPECT_EQ(golden.RoundwoodName, "RW Two");
    EXPECT_EQ(golden.VeneerRuleName, "Veneer Three");
    // The copy of the veneer rules in Specs equals the veneer file.
    const auto veneerFile = test::ReadBytes(test::GoldenData() / "Veneer" / "Veneer Three");
    EXPECT_TRUE(std::equal(veneerFile.begin(), veneerFile.end(), golden.VeneerRecord.begin()));
}

TEST(OptimalCutsRecord, EntriesAndPositions) {
    OptimalCutsTable table;
    const int cuts[] = {0, 200, 400};
    table.Entry(1) = MakeOptimalCutEntry(cuts);
    table.Entry(150)[0] = 0;
    table.Entry(150)[1] = 104;
    table.Entry(150)[2] = 128;
    const auto bytes = table.Encode();
    ASSERT_EQ(bytes.size(), 16200U);
    const ByteReader r(bytes);
    EXPECT_EQ(r.I32(4), 200);
    EXPECT_EQ(r.I32(8), 400);
    EXPECT_EQ(r.I32(12), 0);
    EXPECT_EQ(r.I32(16200 - 108 + 8), 128);
    const OptimalCutsTable back = OptimalCutsTable::Decode(bytes);
    EXPECT_EQ(CutPositions(back.Entry(1)), (std::vector<int>{0, 200, 400}));
    EXPECT_EQ(CutPositions(back.Entry(150)), (std::vector<int>{0, 104, 128}));
    EXPECT_TRUE(CutPositions(back.Entry(2)).empty());
    EXPECT_THROW((void)back.Entry(151), std::out_of_range);
    const std::vector<int> tooMany(28, 4);
    EXPECT_THROW((void)MakeOptimalCutEntry(tooMany), VarnokError);
}

} // namespace
} // namespace varnok
