// Damaged files of every kind: readers and the engine must refuse them with an error or work
// on what they hold, never crash or step outside a record. Run under the sanitizers too.

#include "TestSupport.h"
#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "market/OptimalCuts.h"
#include "optimiser/Optimiser.h"
#include "support/Errors.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace varnok {
namespace {

using test::TempFolder;

std::vector<std::uint8_t> RandomBytes(std::mt19937& random, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(random() & 0xFF);
    }
    return bytes;
}

TEST(Robustness, RandomRulesNeverBreakTheEngine) {
    std::mt19937 random(20261207);
    const DataFolder golden(test::GoldenData());
    const Market base = LoadMarket(golden, "Hardwood8");
    const std::unique_ptr<Tree> tree = LoadTree(golden, 4, base.Filter);
    for (int round = 0; round < 40; ++round) {
        Market m = base;
        m.SawlogRules = SawlogRuleSet::Decode(RandomBytes(random, SawlogRuleSet::kSize));
        MarketSpecs specs = m.Specs();
        const std::vector<std::uint8_t> veneer = RandomBytes(random, VeneerRuleSet::kSize);
        std::copy(veneer.begin(), veneer.end(), specs.VeneerRecord.begin());
        m.SetSpecs(specs);
        m.Roundwood = RoundwoodProductSet::Decode(RandomBytes(random, RoundwoodProductSet::kSize));
        m.LogRule = LogRuleTable::Decode(RandomBytes(random, LogRuleTable::kSize));
        for (auto& row : m.Prices.Rows) {
            for (auto& price : row) {
                price = static_cast<std::int16_t>(random() & 0xFFFF);
            }
        }
        // Every record decodes and encodes again to the same size.
        EXPECT_EQ(m.SawlogRules.Encode().size(), SawlogRuleSet::kSize);
        EXPECT_EQ(m.VeneerRules().Encode().size(), VeneerRuleSet::kSize);
        EXPECT_EQ(m.Roundwood.Encode().size(), RoundwoodProductSet::kSize);

        Optimiser optimiser(*tree, m);
        OptimalPattern pattern;
        try {
            pattern = optimiser.OptimiseTree();
        } catch (const VarnokError&) {
            continue; // too many logs to store: refused, not overrun
        }
        ASSERT_FALSE(pattern.Cuts.empty());
        const PatternEvaluation e = EvaluatePattern(*tree, m, pattern.Cuts);
        for (const EvaluatedPiece& piece : e.Pieces) {
            EXPECT_GE(piece.Log.Segment.ProductClass, 1);
            EXPECT_LE(piece.Log.Segment.ProductClass, 10);
            EXPECT_LE(piece.Log.Segment.Deduction, 1.0F);
            EXPECT_GE(piece.Log.Segment.Deduction, 0.0F);
        }
    }
}

TEST(Robustness, DamagedTreeFilesAreRefusedOrRead) {
    TempFolder folder;
    test::CopyGoldenData(folder.Path());
    const DataFolder data(folder.Path());
    const Market market = LoadMarket(data, "Hardwood8");
    const auto shape = test::ReadBytes(test::GoldenData() / "Shapes" / "Tree4.SHP");
    const auto defects = test::ReadBytes(test::GoldenData() / "Defects" / "Tree4.DEF");
    std::mt19937 random(7);
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        auto damagedShape = shape;
        auto damagedDefects = defects;
        // Flip a few bytes, cut the file short or append noise.
        for (int k = 0; k < 3; ++k) {
            auto& file = random() % 2 == 0 ? damagedShape : damagedDefects;
            switch (random() % 3) {
            case 0:
                file[random() % file.size()] =
                    static_cast<std::uint8_t>(" 0123456789.-\r\nx"[random() % 16]);
                break;
            case 1:
                file.resize(random() % file.size());
                break;
            default: {
                const auto noise = RandomBytes(random, random() % 40);
                file.insert(file.end(), noise.begin(), noise.end());
                break;
            }
            }
            if (file.empty()) {
                file.push_back('\n');
            }
        }
        test::WriteBytes(data.ShapeFile(4), damagedShape);
        test::WriteBytes(data.DefectFile(4), damagedDefects);
        std::unique_ptr<Tree> tree;
        try {
            tree = LoadTree(data, 4, market.Filter);
        } catch (const FileError& e) {
            ++refused;
            EXPECT_FALSE(e.Message().empty());
            continue;
        }
        Optimiser optimiser(*tree, market);
        const OptimalPattern pattern = optimiser.OptimiseTree();
        if (pattern.Cuts.size() >= 2) {
            (void)EvaluatePattern(*tree, market, pattern.Cuts);
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_LT(refused, 300);
}

TEST(Robustness, ShortAndOddRuleFilesNameTheFile) {
    TempFolder folder;
    const std::vector<std::pair<std::size_t, std::function<void(const std::filesystem::path&)>>>
        readers = {
            {LogRuleTable::kSize, [](const auto& p) { (void)ReadLogRule(p); }},
            {PriceSet::kSize, [](const auto& p) { (void)ReadPriceSet(p); }},
            {RoundwoodProductSet::kSize, [](const auto& p) { (void)ReadRoundwoodProducts(p); }},
            {DefectFilterSet::kSize, [](const auto& p) { (void)ReadDefectFilterSet(p); }},
            {SawlogRuleSet::kSize,
             [](const auto& p) { (void)ReadSawlogRuleSet(p, RecordChoice::Last); }},
            {VeneerRuleSet::kSize, [](const auto& p) { (void)ReadVeneerRuleSet(p); }},
            {MarketSpecs::kSize, [](const auto& p) { (void)ReadMarketSpecs(p); }},
            {OptimalCutsTable::kSize, [](const auto& p) { (void)ReadOptimalCuts(p); }},
        };
    std::mt19937 random(3);
    for (const auto& [size, read] : readers) {
        const auto path = folder.Path() / ("rule" + std::to_string(size));
        for (const std::size_t length : {std::size_t{0}, size - 1}) {
            test::WriteBytes(path, RandomBytes(random, length));
            try {
                read(path);
                ADD_FAILURE() << size << " bytes record read from " << length << " bytes";
            } catch (const FileError& e) {
                EXPECT_EQ(e.Path(), path);
                EXPECT_EQ(e.Message(), "Read beyond end of file");
            }
        }
        // Too long: read as records, and random records are refused by their fields.
        test::WriteBytes(path, RandomBytes(random, size * 2 + 5));
        try {
            read(path);
            ADD_FAILURE() << size << " random bytes were read as a record";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Path(), path);
            EXPECT_NE(e.Message(), "Read beyond end of file");
        }
    }
}

} // namespace
} // namespace varnok
