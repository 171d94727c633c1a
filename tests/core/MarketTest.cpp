#include "market/Market.h"
#include "TestSupport.h"
#include "support/Errors.h"
#include "support/Numbers.h"

#include "tree/TreeLoad.h"
#include <functional>

#include <gtest/gtest.h>

#include <memory>

namespace varnok {
namespace {

using test::TempFolder;

TEST(PriceConversion, RoundsThenAppliesTheUnitFactor) {
    struct Case {
        int row;
        const char* units;
        double price;
        int expected;
    };
    const Case cases[] = {
        {7, "Cubic Feet", 0.5, 0},     {7, "Cubic Feet", 1.5, 280}, {4, "MBF", 1.5, 2},
        {4, "Cubic Feet", 1.5, 2},     {8, "Cords", 30.0, 60},      {9, "Tons", 12.5, 60},
        {10, "Cubic Meters", 3.5, 16}, {10, "none", 2.5, 2},        {7, "cords", 30.0, 30},
        {7, "Board feet", 30.0, 30},   {1, "MBF", -4.5, -4},        {9, "Cubic Feet", 234.0, 32760},
    };
    for (const Case& c : cases) {
        PriceSet set;
        set.Rows[static_cast<std::size_t>(c.row - 1)].Units = c.units;
        set.Rows[static_cast<std::size_t>(c.row - 1)].Prices[2] = c.price;
        const PriceTable table = ConvertPriceSet(set, "test");
        EXPECT_EQ(table.Price(c.row, 12), c.expected) << c.row << " " << c.units << " " << c.price;
        EXPECT_EQ(table.Price(c.row, 11), 0);
    }
    EXPECT_EQ(PriceTable{}.Price(11, 8), 0);
}

TEST(PriceConversion, APriceThatDoesNotFitSixteenBitsStopsTheLoad) {
    const std::pair<const char*, double> cases[] = {
        {"Cubic Feet", 235.0}, {"MBF", 40000.0}, {"MBF", -40000.0}, {"MBF", std::nan("")}};
    for (const auto& [units, price] : cases) {
        PriceSet set;
        set.Rows[7].Name = "Bolts";
        set.Rows[7].Units = units;
        set.Rows[7].Prices[4] = price;
        try {
            (void)ConvertPriceSet(set, "Big Prices");
            ADD_FAILURE() << units << " " << price;
        } catch (const VarnokError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("Big Prices"), std::string::npos) << text;
            EXPECT_NE(text.find("row 8 (Bolts)"), std::string::npos) << text;
            EXPECT_NE(text.find("16 ft"), std::string::npos) << text;
        }
    }
}

TEST(LogLengths, FollowTheTrimAllowance) {
    const LogLengthSet eight = LogLengthSet::FromTrim(8);
    EXPECT_EQ(eight.Lengths, (std::array<std::uint8_t, 5>{104, 128, 152, 176, 200}));
    EXPECT_EQ(eight.MaxLength, 200);
    const LogLengthSet four = LogLengthSet::FromTrim(4);
    EXPECT_EQ(four.Lengths, (std::array<std::uint8_t, 5>{100, 124, 148, 172, 196}));
    int members = 0;
    for (int b = -1; b < 300; ++b) {
        members += four.Contains(b) ? 1 : 0;
    }
    EXPECT_EQ(members, 5);
    EXPECT_TRUE(four.Contains(196));
    EXPECT_FALSE(four.Contains(200));
    EXPECT_THROW((void)LogLengthSet::FromTrim(6), VarnokError);
}

class MarketFolderTest : public ::testing::Test {
protected:
    MarketFolderTest() { test::CopyGoldenData(folder_.Path() / "data"); }

    DataFolder Data() const { return DataFolder(folder_.Path() / "data"); }
    std::filesystem::path SpecsPath() const { return Data().Markets() / "Hardwood8" / "Specs"; }
    void RewriteSpecs(const std::function<void(MarketSpecs&)>& change) const {
        // Decoded without the reader's checks, so a test can write what the reader refuses.
        MarketSpecs specs =
            MarketSpecs::Decode(ReadRecord(SpecsPath(), MarketSpecs::kSize, RecordChoice::Last));
        change(specs);
        WriteMarketSpecs(SpecsPath(), specs);
    }

    TempFolder folder_;
};

TEST_F(MarketFolderTest, LoadsEveryRuleOfTheGoldenMarket) {
    EXPECT_EQ(ListMarkets(Data()), (std::vector<std::string>{"Hardwood8"}));
    const Market m = LoadMarket(Data(), "Hardwood8");
    EXPECT_EQ(m.TrimAllowance(), 8);
    EXPECT_EQ(m.Lengths().MaxLength, 200);
    EXPECT_FALSE(m.FacesMode());
    EXPECT_FALSE(m.IsResearchMarket());
    EXPECT_EQ(m.SawlogRules.GradeCount(), 3);
    EXPECT_EQ(m.VeneerRules().GradeCount(), 3);
    EXPECT_EQ(m.VeneerRules().GradeName(1), "Prime Veneer Log");
    EXPECT_EQ(m.Roundwood.Products[1].Name, "Bolts");
    EXPECT_EQ(m.LogRule.VolumeFor(20, 16), 256.0);
    EXPECT_EQ(m.Filter.Entries[16].Code, "F");
    EXPECT_EQ(m.OptmcutsPath, Data().Markets() / "Hardwood8" / "Optmcuts");
    // Product 7 "Pulpwood" in cords, product 8 "Bolts" in cubic feet.
    const PriceSet prices = ReadPriceSet(Data().Prices() / "Hardwood Whole");
    EXPECT_EQ(m.Prices.Price(7, 8), RoundToInt(prices.Rows[6].Prices[0]) * 2);
    EXPECT_EQ(m.Prices.Price(8, 8), RoundToInt(prices.Rows[7].Prices[0]) * 140);
    EXPECT_EQ(m.Prices.Price(4, 16),
              static_cast<std::int16_t>(RoundToInt(prices.Rows[3].Prices[4])));
}

TEST_F(MarketFolderTest, RuleNamesMatchIgnoringCaseAndResearchIsExact) {
    std::filesystem::rename(Data().Prices() / "Hardwood Whole", Data().Prices() / "hardwood whole");
    EXPECT_NO_THROW((void)LoadMarket(Data(), "Hardwood8"));
    std::filesystem::copy(Data().Markets() / "Hardwood8", Data().Markets() / "RESEARCH");
    std::filesystem::copy(Data().Markets() / "Hardwood8", Data().Markets() / "research");
    EXPECT_TRUE(LoadMarket(Data(), "RESEARCH").IsResearchMarket());
    EXPECT_FALSE(LoadMarket(Data(), "research").IsResearchMarket());
}

TEST_F(MarketFolderTest, RefusesBadNamesMissingFilesAndDamagedSpecs) {
    EXPECT_THROW((void)LoadMarket(Data(), ".."), VarnokError);
    EXPECT_THROW((void)LoadMarket(Data(), "a/b"), VarnokError);
    EXPECT_THROW((void)LoadMarket(Data(), "Nowhere"), VarnokError);

    std::filesystem::remove(Data().SawGrades() / "Factory Grades");
    try {
        (void)LoadMarket(Data(), "Hardwood8");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Message(), "File not found");
        EXPECT_EQ(e.Path().filename(), "Factory Grades");
    }
    test::WriteBytes(Data().SawGrades() / "Factory Grades", std::vector<std::uint8_t>(100, 1));
    try {
        (void)LoadMarket(Data(), "Hardwood8");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Message(), "Read beyond end of file");
    }
    test::CopyGoldenData(folder_.Path() / "fresh");
    std::filesystem::copy(folder_.Path() / "fresh" / "SawGrades" / "Factory Grades",
                          Data().SawGrades() / "Factory Grades",
                          std::filesystem::copy_options::overwrite_existing);

    RewriteSpecs([](MarketSpecs& s) { s.TrimAllowance = 6; });
    EXPECT_FILE_ERROR((void)LoadMarket(Data(), "Hardwood8"), SpecsPath(),
                      "the trim allowance is 6; it must be 4 or 8");
    RewriteSpecs([](MarketSpecs& s) {
        s.TrimAllowance = 8;
        s.PriceSetName = "../Prices/Hardwood Whole";
    });
    try {
        (void)LoadMarket(Data(), "Hardwood8");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Path(), SpecsPath());
    }
    test::WriteBytes(SpecsPath(), {});
    EXPECT_THROW((void)LoadMarket(Data(), "Hardwood8"), FileError);
}

TEST_F(MarketFolderTest, TreeFilesAreFoundIgnoringCase) {
    const Market m = LoadMarket(Data(), "Hardwood8");
    std::filesystem::rename(Data().Shapes() / "Tree4.SHP", Data().Shapes() / "tree4.shp");
    std::unique_ptr<Tree> tree = LoadTree(Data(), 4, m.Filter);
    EXPECT_EQ(tree->Stem.StemLength, 660);
    EXPECT_THROW(tree = LoadTree(Data(), 0, m.Filter), VarnokError);
    EXPECT_THROW(tree = LoadTree(Data(), 151, m.Filter), VarnokError);
    EXPECT_FILE_ERROR(tree = LoadTree(Data(), 2, m.Filter), Data().Defects() / "Tree2.DEF",
                      "File not found");
}

// A load that fails, for any of the files and at any stage, hands nothing over: the tree the
// caller had (the one in play in the game) stays whole.
TEST_F(MarketFolderTest, AFailedTreeLoadLeavesThePreviousTreeWhole) {
    const Market m = LoadMarket(Data(), "Hardwood8");
    const std::filesystem::path shape = Data().ShapeFile(4);
    const std::filesystem::path defects = Data().DefectFile(4);
    struct Case {
        const char* what;
        std::filesystem::path file;
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"shape file cut to its header", shape, "Tree 4\r\n", "no cross-section"},
        {"knot above the top", defects, "SK 90.0    4    2    2\r\n", ""},
        {"defect file missing", defects, "", "File not found"},
    };
    for (const Case& c : cases) {
        const auto shapeBytes = test::ReadBytes(shape);
        const auto defectBytes = test::ReadBytes(defects);
        std::unique_ptr<Tree> tree = LoadTree(Data(), 1, m.Filter);
        const Tree before = *tree;
        if (c.text.empty()) {
            std::filesystem::remove(c.file);
        } else {
            test::WriteText(c.file, c.text);
        }
        try {
            tree = LoadTree(Data(), 4, m.Filter);
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Path(), c.file) << c.what;
            if (!c.message.empty()) {
                EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.what();
            }
        }
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->Stem.StemLength, before.Stem.StemLength) << c.what;
        EXPECT_EQ(tree->SurfaceDefectCount, before.SurfaceDefectCount) << c.what;
        EXPECT_EQ(tree->Stem.Diameter, before.Stem.Diameter) << c.what;
        EXPECT_EQ(tree->ForkBulgeFree, before.ForkBulgeFree) << c.what;
        test::WriteBytes(shape, shapeBytes);
        test::WriteBytes(defects, defectBytes);
    }
}

} // namespace
} // namespace varnok
