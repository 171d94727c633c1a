// What the readers refuse, and what they must keep loading: a damaged file is refused with
// its path, the field (or line) and the value; every file the editors can write still loads;
// and the engine keeps a deduction within 0 to 1 whatever a tree holds.

#include "EngineFixtures.h"
#include "TestSupport.h"
#include "market/Market.h"
#include "market/OptimalCuts.h"
#include "support/ByteBuffer.h"
#include "support/Errors.h"
#include "support/Files.h"
#include "support/ShortString.h"
#include "tree/DefectFile.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <string>

namespace varnok {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

fs::path Bundled() {
    return fs::path(VARNOK_TEST_DATA_DIR).parent_path().parent_path() / "data";
}

std::vector<std::uint8_t> F32(float value) {
    ByteWriter w(4);
    w.F32(0, value);
    return w.Take();
}

std::vector<std::uint8_t> F64(double value) {
    ByteWriter w(8);
    w.F64(0, value);
    return w.Take();
}

std::vector<std::uint8_t> I32(std::int32_t value) {
    ByteWriter w(4);
    w.I32(0, value);
    return w.Take();
}

std::vector<std::uint8_t> Text(std::size_t capacity, const std::string& windows1252) {
    ByteWriter w(capacity + 1);
    w.ShortStringBytes(0, capacity, windows1252);
    return w.Take();
}

// Each folder of tests/data/refused-trees holds Tree1.SHP and/or Tree1.DEF put in place of the
// golden tree 1, and expected.txt: the file blamed, the line, and the message ("{shape}" for
// the path of the shape file).
TEST(ReaderRefusal, DamagedTreeFilesNameTheFileTheLineAndTheValue) {
    const fs::path cases = fs::path(VARNOK_TEST_DATA_DIR) / "refused-trees";
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(cases)) {
        ++seen;
        const std::string name = entry.path().filename().string();
        TempFolder folder;
        test::CopyGoldenData(folder.Path());
        const DataFolder data(folder.Path());
        for (const char* file : {"Tree1.SHP", "Tree1.DEF"}) {
            if (fs::exists(entry.path() / file)) {
                const fs::path target =
                    std::string(file) == "Tree1.SHP" ? data.ShapeFile(1) : data.DefectFile(1);
                fs::copy_file(entry.path() / file, target, fs::copy_options::overwrite_existing);
            }
        }
        std::ifstream expected(entry.path() / "expected.txt");
        std::string blamed;
        std::string line;
        std::string message;
        std::getline(expected, blamed);
        std::getline(expected, line);
        std::getline(expected, message);
        const std::string token = "{shape}";
        if (const auto at = message.find(token); at != std::string::npos) {
            message.replace(at, token.size(), data.ShapeFile(1).string());
        }
        const fs::path blamedPath = blamed == "Tree1.SHP" ? data.ShapeFile(1) : data.DefectFile(1);
        const Market market = LoadMarket(data, "Hardwood8");
        try {
            (void)LoadTree(data, 1, market.Filter);
            ADD_FAILURE() << name << ": loaded";
        } catch (const FileError& error) {
            EXPECT_EQ(error.Path(), blamedPath) << name;
            EXPECT_EQ(error.Line(), std::stoi(line)) << name;
            EXPECT_EQ(error.Message(), message) << name;
        }
    }
    EXPECT_GE(seen, 11);
}

TEST(ReaderRefusal, SectorsAreStoredModulo36) {
    TempFolder folder;
    const fs::path path = folder.Path() / "Tree1.DEF";
    struct Case {
        const char* line;
        int sector;
        int endSector;
    };
    const Case cases[] = {
        {"SK 10.0   -1    1    1", 35, 0},  {"SK 10.0 -128    1    1", 16, 0},
        {"SK 10.0   40    1    1", 4, 0},   {"SE 10.0    0 20.0  200", 0, 20},
        {"SE 10.0   71 20.0   35", 35, 35},
    };
    for (const Case& c : cases) {
        test::WriteText(path, test::CrLf({c.line}));
        Tree tree;
        NewTree(tree);
        ReadDefectFile(tree, path, DefaultDefectFilterSet());
        ASSERT_EQ(tree.SurfaceDefectCount, 1) << c.line;
        EXPECT_EQ(tree.SurfaceDefects[0].Sector, c.sector) << c.line;
        EXPECT_EQ(tree.SurfaceDefects[0].EndSector, c.endSector) << c.line;
    }
}

// One field of a golden file damaged at a time: the reader names the file, the field and the
// value.
TEST(ReaderRefusal, OneDamagedFieldRefusesTheRecord) {
    using Reader = std::function<void(const fs::path&)>;
    const Reader logRule = [](const fs::path& p) { (void)ReadLogRule(p); };
    const Reader prices = [](const fs::path& p) { (void)ReadPriceSet(p); };
    const Reader roundwood = [](const fs::path& p) { (void)ReadRoundwoodProducts(p); };
    const Reader filter = [](const fs::path& p) { (void)ReadDefectFilterSet(p); };
    const Reader sawlog = [](const fs::path& p) { (void)ReadSawlogRuleSet(p, RecordChoice::Last); };
    const Reader veneer = [](const fs::path& p) { (void)ReadVeneerRuleSet(p); };
    const Reader specs = [](const fs::path& p) { (void)ReadMarketSpecs(p); };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* file; // in the golden data folder
        Reader read;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"Log Rules/Doyle", logRule, 19 * 44, I32(21),
         "entry 20 diameter is 21; it must be 0 or 20"},
        {"Log Rules/Doyle", logRule, 856, F64(nan),
         "entry 20 volume of 12 ft logs is nan; it must be a number within 0 to 65535"},
        {"Log Rules/Doyle", logRule, 856, F64(70000.0),
         "entry 20 volume of 12 ft logs is 70000; it must be a number within 0 to 65535"},
        {"Log Rules/Doyle", logRule, 49 * 44 + 36, F64(-12.5),
         "entry 50 volume of 16 ft logs is -12.5; it must be a number within 0 to 65535"},
        {"Prices/Hardwood Whole", prices, 392, F64(inf),
         "row 4 price for 12 ft logs is inf; it must be a finite number"},
        {"Prices/Hardwood Whole",
         prices,
         104 + 31,
         {31},
         "row 2 units (its length byte) is 31; it must be at most 30 characters"},
        {"Roundwood/RW Two", roundwood, 48, F32(1.5F),
         "product 1 Soundness is 1.5; it must be a number within 0 to 1"},
        {"Roundwood/RW Two",
         roundwood,
         52 + 45,
         {15},
         "product 2 MaxLength is 15; it must be 8, 10, 12, 14 or 16"},
        {"Roundwood/RW Two",
         roundwood,
         52 + 43,
         {51},
         "product 2 MaxDiameter is 51; it must be within 8 to 50"},
        {"Roundwood/RW Two", roundwood, 177, Text(20, "none"),
         "the cull pair is \"Cull\"/\"none\"; it must be \"none\"/\"none\", \"Cull\"/\"Cubic "
         "Feet\" or \"Cull\"/\"Cubic Meters\""},
        {"Filters/Default Filter", filter, 2 * 154 + 103, Text(50, " XX"),
         "entry 3 grading class is \" XX\"; it must be one of the nine grading codes"},
        {"Filters/Default Filter",
         filter,
         27 * 154 + 102,
         {200},
         "entry 28 flag is 200; it must be 0 (no) or 1 (yes)"},
        {"Filters/Default Filter",
         filter,
         0,
         {51},
         "entry 1 name (its length byte) is 51; it must be at most 50 characters"},
        {"SawGrades/Factory Grades",
         sawlog,
         24,
         {4},
         "cell (1, 1, 1) GradeCount is 4; it must be within 0 to 3"},
        {"SawGrades/Factory Grades", sawlog, 20, F32(-1.0F),
         "cell (1, 1, 1) MaxDeduction is -1; it must be a number within 0 to 1"},
        {"SawGrades/Factory Grades",
         sawlog,
         252 + 6,
         {4},
         "cell (2, 1, 1) ClearCuttingCode is 4; it must be 2, 3, 5, 7, 11, 12, 13 or 14"},
        {"SawGrades/Factory Grades",
         sawlog,
         252 + 7,
         {0},
         "cell (2, 1, 1) MaxClearCuttings is 0; it must be 1, 2, 3 or 99"},
        {"SawGrades/Factory Grades",
         sawlog,
         18 * 28,
         {7},
         "cell (3, 1, 1) GradeNumber is 7; it must be within 0 to 3"},
        {"SawGrades/Factory Grades",
         sawlog,
         3 * 28 + 1,
         {200},
         "cell (1, 2, 1) MinDiameter is 200; it must be within 8 to 50"},
        {"SawGrades/Factory Grades",
         sawlog,
         3 * 28 + 26,
         {9},
         "cell (1, 2, 1) LengthVariationCount is 9; it must be within 0 to 3"},
        {"Veneer/Veneer Three", veneer, 1072 + 288, F32(101.0F),
         "grade 2 MaxHeartPercent is 101; it must be a number within 0 to 100"},
        {"Veneer/Veneer Three",
         veneer,
         6,
         {2},
         "grade 1 LengthAccepted[12] is 2; it must be 0 (no) or 1 (yes)"},
        {"Veneer/Veneer Three", veneer, 2144 + 12 + 4 * 11,
         F32(std::numeric_limits<float>::infinity()),
         "grade 3 MaxSweep[20] is inf; it must be a number within 0 to 255"},
        {"Veneer/Veneer Three",
         veneer,
         2144 + 245,
         {180},
         "grade 3 MaxInLineAngle is 180; it must be within 0 to 90"},
        {"Veneer/Veneer Three",
         veneer,
         0,
         {9},
         "grade 1 GradeCount is 9; it must be within 0 to 3"},
        {"Markets/Hardwood8/Specs", specs, 0, {6}, "the trim allowance is 6; it must be 4 or 8"},
        {"Markets/Hardwood8/Specs", specs, 772 + 1072 + 288, F32(-5.0F),
         "veneer rules: grade 2 MaxHeartPercent is -5; it must be a number within 0 to 100"},
        {"Markets/Hardwood8/Specs", specs, 3988, Text(255, "a/b"),
         "The price set name \"a/b\" holds a path separator; use a plain file name."},
        {"Markets/Hardwood8/Specs", specs, 4244, Text(255, "Filter\x81"),
         "The defect filter set name holds a control character."},
        {"Markets/Hardwood8/Specs", specs, 257, Text(255, ".."),
         "The log rule name \"..\" is not a plain file name."},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = test::ReadBytes(test::GoldenData() / c.file);
        ASSERT_LE(c.offset + c.bytes.size(), bytes.size()) << c.message;
        const fs::path path = folder.Path() / "damaged";
        test::WriteBytes(path, bytes);
        EXPECT_NO_THROW(c.read(path)) << c.file << " as committed";
        std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin() + static_cast<long>(c.offset));
        test::WriteBytes(path, bytes);
        EXPECT_FILE_ERROR(c.read(path), path, c.message);
    }
}

TEST(ReaderRefusal, DamagedOptimalCutsNameTheTree) {
    TempFolder folder;
    const fs::path path = folder.Path() / "Optmcuts";
    struct Case {
        std::vector<int> slots;
        const char* message;
    };
    const Case cases[] = {
        {{0, 200, 150}, "tree 7: cut slot 3 is 150; it must be within 201 to 2400"},
        {{0, 200, 0, 300}, "tree 7: cut slot 4 (after the top) is 300; it must be 0"},
        {{5, 200}, "tree 7: cut slot 1 is 5; it must be 0"},
        {{0, 2401}, "tree 7: cut slot 2 is 2401; it must be within 1 to 2400"},
        {{0, -96}, "tree 7: cut slot 2 is -96; it must be within 1 to 2400"},
    };
    for (const Case& c : cases) {
        OptimalCutsTable table;
        table.Entry(3) = MakeOptimalCutEntry(std::vector<int>{0, 96, 2400});
        for (std::size_t s = 0; s < c.slots.size(); ++s) {
            table.Entry(7)[s] = c.slots[s];
        }
        test::WriteBytes(path, table.Encode());
        EXPECT_FILE_ERROR((void)ReadOptimalCuts(path), path, c.message);
    }
    OptimalCutsTable good;
    good.Entry(150) = MakeOptimalCutEntry(std::vector<int>{0, 104, 208, 2400});
    test::WriteBytes(path, good.Encode());
    EXPECT_EQ(CutPositions(ReadOptimalCuts(path).Entry(150)).size(), 4U);
}

// Random bytes in any record kind are refused; the only random rule records that load are
// those whose grade count happens to be 0, which grade nothing.
TEST(ReaderRefusal, RandomRecordsAreRefused) {
    struct Kind {
        std::size_t size;
        std::function<void(const fs::path&)> read;
        std::size_t gradeCountOffset; // loads only when this byte is 0; npos: never loads
    };
    constexpr std::size_t kNever = std::string::npos;
    const Kind kinds[] = {
        {LogRuleTable::kSize, [](const auto& p) { (void)ReadLogRule(p); }, kNever},
        {PriceSet::kSize, [](const auto& p) { (void)ReadPriceSet(p); }, kNever},
        {RoundwoodProductSet::kSize, [](const auto& p) { (void)ReadRoundwoodProducts(p); }, kNever},
        {DefectFilterSet::kSize, [](const auto& p) { (void)ReadDefectFilterSet(p); }, kNever},
        {SawlogRuleSet::kSize,
         [](const auto& p) { (void)ReadSawlogRuleSet(p, RecordChoice::First); }, 24},
        {VeneerRuleSet::kSize, [](const auto& p) { (void)ReadVeneerRuleSet(p); }, 0},
        {MarketSpecs::kSize, [](const auto& p) { (void)ReadMarketSpecs(p); }, kNever},
        {OptimalCutsTable::kSize, [](const auto& p) { (void)ReadOptimalCuts(p); }, kNever},
    };
    TempFolder folder;
    const fs::path path = folder.Path() / "random";
    std::mt19937 random(9);
    for (const Kind& kind : kinds) {
        for (int round = 0; round < 150; ++round) {
            std::vector<std::uint8_t> bytes(kind.size);
            for (auto& b : bytes) {
                b = static_cast<std::uint8_t>(random() & 0xFF);
            }
            test::WriteBytes(path, bytes);
            const bool mayLoad =
                kind.gradeCountOffset != kNever && bytes[kind.gradeCountOffset] == 0;
            try {
                kind.read(path);
                EXPECT_TRUE(mayLoad) << kind.size << "-byte random record loaded";
            } catch (const FileError& error) {
                EXPECT_FALSE(mayLoad) << error.what();
                EXPECT_EQ(error.Path(), path);
            }
        }
    }
}

// Every rule file of the bundled and golden data, and the edge cases of what the editors
// write, load unchanged.
TEST(ReaderRefusal, WhatTheEditorsWriteStillLoads) {
    for (const fs::path& root : {Bundled(), test::GoldenData()}) {
        const DataFolder data(root);
        for (const auto& name : ListFiles(data.LogRules())) {
            EXPECT_NO_THROW((void)ReadLogRule(data.LogRules() / name)) << name;
        }
        for (const auto& name : ListFiles(data.Prices())) {
            EXPECT_NO_THROW((void)ReadPriceSet(data.Prices() / name)) << name;
        }
        for (const auto& name : ListFiles(data.Roundwood())) {
            EXPECT_NO_THROW((void)ReadRoundwoodProducts(data.Roundwood() / name)) << name;
        }
        for (const auto& name : ListFiles(data.Filters())) {
            EXPECT_NO_THROW((void)ReadDefectFilterSet(data.Filters() / name)) << name;
        }
        for (const auto& name : ListFiles(data.SawGrades())) {
            EXPECT_NO_THROW((void)ReadSawlogRuleSet(data.SawGrades() / name, RecordChoice::Last))
                << name;
        }
        for (const auto& name : ListFiles(data.Veneer())) {
            EXPECT_NO_THROW((void)ReadVeneerRuleSet(data.Veneer() / name)) << name;
        }
        for (const auto& name : ListMarkets(data)) {
            EXPECT_NO_THROW((void)LoadMarket(data, name)) << name;
            if (fs::exists(data.OptimalCutsFile(name))) {
                EXPECT_NO_THROW((void)ReadOptimalCuts(data.OptimalCutsFile(name))) << name;
            }
        }
    }

    TempFolder folder;
    const fs::path path = folder.Path() / "edge";
    // A log rule saved with every cell empty, and one at both ends of its volumes.
    LogRuleTable empty;
    for (int d = 6; d <= 50; ++d) {
        empty.Entries[static_cast<std::size_t>(d - 1)].Diameter = d;
    }
    WriteLogRule(path, empty);
    EXPECT_NO_THROW((void)ReadLogRule(path));
    empty.Entries[19].Volume[2] = 65535.0;
    empty.Entries[19].Volume[3] = 0.5;
    WriteLogRule(path, empty);
    EXPECT_EQ(ReadLogRule(path).VolumeFor(20, 12), 65535.0);

    // A roundwood set saved right after the editor opened: empty names, limits 8, soundness
    // 0.05; and one with products at both ends of their choices.
    RoundwoodProductSet roundwood;
    for (auto& product : roundwood.Products) {
        product.MinDiameter = product.MaxDiameter = product.MinLength = product.MaxLength = 8;
        product.Soundness = 0.05F;
    }
    WriteRoundwoodProducts(path, roundwood);
    EXPECT_NO_THROW((void)ReadRoundwoodProducts(path));
    roundwood.Products[0] = {"Pulp", "Free text units", 8, 50, 8, 16, 1.0F};
    roundwood.CullHandling = "Cull";
    roundwood.CullUnits = "Cubic Meters";
    WriteRoundwoodProducts(path, roundwood);
    EXPECT_NO_THROW((void)ReadRoundwoodProducts(path));

    // Sawlog rules with the extreme choices of the wizard; cells beyond the counts hold
    // counts left from an earlier definition.
    SawlogRuleSet sawlog;
    for (int l = 1; l <= 3; ++l) {
        SawlogRuleCell& c = sawlog.Cell(1, 1, l);
        c = {1,          8,    50,   static_cast<std::uint8_t>(8 + 2 * (l - 1)),
             16,         1,    14,   99,
             0.8333333F, 1.0F, 1.0F, 1.0F,
             1,          1,    3};
    }
    sawlog.Cell(2, 3, 3).LengthVariationCount = 3;
    WriteSawlogRuleSet(path, sawlog);
    EXPECT_NO_THROW((void)ReadSawlogRuleSet(path, RecordChoice::First));

    // Veneer rules at the ends of the wizard's lists.
    VeneerRuleSet veneer;
    VeneerGradeRules grade = test::OpenVeneerGrade(1, 8);
    grade.MinSmallEndDiameter = 26;
    grade.MaxInLineAngle = 90;
    grade.MaxHeartPercent = 100.0F;
    grade.MaxSeamLength = 15;
    grade.MaxKnotSize = 7;
    veneer.GradeBlock(1) = grade;
    WriteVeneerRuleSet(path, veneer);
    EXPECT_NO_THROW((void)ReadVeneerRuleSet(path));
}

TEST(ReaderRefusal, MarketErrorsNameTheFileAtFault) {
    TempFolder folder;
    test::CopyGoldenData(folder.Path());
    const DataFolder data(folder.Path());
    const MarketSpecs specs = ReadMarketSpecs(data.MarketSpecsFile("Hardwood8"));

    // Veneer rules being copied into a new market are blamed on their file.
    MarketSpecs copied = specs;
    const std::vector<std::uint8_t> heart = F32(250.0F);
    std::copy(heart.begin(), heart.end(), copied.VeneerRecord.begin() + 288);
    EXPECT_FILE_ERROR((void)BuildMarket(data, "New", copied), data.Veneer() / specs.VeneerRuleName,
                      "grade 1 MaxHeartPercent is 250; it must be a number within 0 to 100");

    // A price that does not fit the price table is blamed on the price set.
    const fs::path pricePath = data.Prices() / specs.PriceSetName;
    PriceSet prices = ReadPriceSet(pricePath);
    prices.Rows[6].Units = "Cubic Feet";
    prices.Rows[6].Prices[0] = 300.0; // 300 x 140 does not fit 16 bits
    WritePriceSet(pricePath, prices);
    try {
        (void)LoadMarket(data, "Hardwood8");
        ADD_FAILURE() << "loaded";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), pricePath);
        EXPECT_NE(error.Message().find("row 7"), std::string::npos) << error.what();
    }
}

TEST(PlainNames, AreCheckedAsTypedAndAsStored) {
    const std::string refused[] = {
        "\xC0\xAF"
        "etc", // an overlong '/'
        "a\xE0\x80\xAF"
        "b",                // a three-byte overlong '/'
        "\xC1\x81",         // an overlong 'A'
        "x\xED\xA0\x80",    // a surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "Rule\xC2\x81",     // U+0081, a control character stored as byte 0x81
        "\xC2\x9D",         // U+009D
    };
    for (const std::string& name : refused) {
        EXPECT_THROW(CheckPlainName(name, "market"), VarnokError) << name;
    }
    // Malformed UTF-8 has no stored form at all, so it can never reach a file name.
    for (const std::string& name : {refused[0], refused[1], refused[2], refused[3], refused[4]}) {
        EXPECT_FALSE(Utf8ToWindows1252(name).has_value()) << name;
    }
    // 128 characters that take two bytes each: 128 stored bytes, but 256 bytes on Linux.
    std::string wide;
    for (int i = 0; i < 128; ++i) {
        wide += "\xC3\xA9";
    }
    EXPECT_THROW(CheckPlainName(wide, "market"), VarnokError);
    wide.resize(254);
    EXPECT_NO_THROW(CheckPlainName(wide, "market"));
    EXPECT_NO_THROW(CheckPlainName("Hardwood \xE2\x82\xAC 8", "market")); // the euro sign
    EXPECT_EQ(*Utf8ToWindows1252("\xE2\x82\xAC"), "\x80");
    EXPECT_EQ(Windows1252ToUtf8("\xE9"), "\xC3\xA9");
}

// The second line of defence: trees built in code, past the readers, cannot make a deduction
// negative or above 1.
// Defect files the format allows, read through the whole tree load: a file without a defect
// line is a clean stem (what a filter removing every defect makes of tree 1), and a decay that
// ends before it starts marks its start alone, adding no volume to any log over it.
TEST(ReaderRefusal, DefectFilesTheFormatAllowsLoad) {
    TempFolder folder;
    test::CopyGoldenData(folder.Path());
    const DataFolder data(folder.Path());
    const Market market = LoadMarket(data, "Hardwood8");
    DefectFilterSet removeAll = market.Filter;
    for (DefectFilterEntry& entry : removeAll.Entries) {
        entry.Flag = 0;
    }
    const auto clean = LoadTree(data, 1, removeAll);
    ASSERT_EQ(clean->SurfaceDefectCount + clean->EndDefectCount, 0);
    const std::vector<std::pair<int, int>> logs = {{0, 104}, {200, 328}, {220, 420}, {236, 252}};
    for (const char* text : {"", "\r\n", "   \r\n\r\n"}) {
        test::WriteText(data.DefectFile(1), text);
        const auto empty = LoadTree(data, 1, market.Filter);
        for (const auto& [start, end] : logs) {
            const EvaluatedLog a = test::Evaluate(*empty, market, start, end);
            const EvaluatedLog b = test::Evaluate(*clean, market, start, end);
            EXPECT_EQ(a.Segment.Value, b.Segment.Value) << start;
            EXPECT_EQ(a.Segment.SawGrade, b.Segment.SawGrade) << start;
        }
    }
    test::WriteText(data.DefectFile(1), test::CrLf({"DY 20.0 10.0    8    2"}));
    const auto reversed = LoadTree(data, 1, market.Filter);
    ASSERT_EQ(reversed->EndDefectCount, 1);
    EXPECT_EQ(reversed->EndDefects[0].StartPosition, 240);
    EXPECT_EQ(reversed->EndDefects[0].EndPosition, 240);
    EXPECT_EQ(reversed->DecayProfile[240], 8);
    EXPECT_EQ(reversed->DecayProfile[239] + reversed->DecayProfile[241], 0);
    for (const auto& [start, end] : logs) {
        const EvaluatedLog log = test::Evaluate(*reversed, market, start, end);
        const EvaluatedLog plain = test::Evaluate(*clean, market, start, end);
        EXPECT_GE(log.Segment.Deduction, 0.0F) << start;
        EXPECT_LE(log.NetScale, plain.NetScale) << start;
        EXPECT_LE(log.CubicVolume, plain.CubicVolume) << start;
    }
}

TEST(DeductionBounds, NoDefectAddsVolume) {
    const auto market = test::TestMarket();
    struct Case {
        const char* what;
        std::function<void(Tree&)> damage;
    };
    const Case cases[] = {
        {"decay ending before it starts",
         [](Tree& t) { test::AddEnd(t, DefectKind::Decay, 100, 10, 6, 6); }},
        {"seam between sectors that are not reduced modulo 36",
         [](Tree& t) { test::AddSeam(t, 110, 0, 300, 200); }},
        {"seam from a negative sector", [](Tree& t) { test::AddSeam(t, 110, -100, 300, 35); }},
        {"bulge over the whole log", [](Tree& t) { test::AddSpan(t, DefectKind::Bulge, 0, 600); }},
    };
    for (const Case& c : cases) {
        auto tree = test::StraightTree(600, 20, 12);
        c.damage(*tree);
        test::Map(*tree);
        const auto clean = test::StraightTree(600, 20, 12);
        for (const auto& [start, end] : {std::pair{100, 300}, {0, 200}, {100, 600}}) {
            const EvaluatedLog log = test::Evaluate(*tree, *market, start, end);
            const EvaluatedLog plain = test::Evaluate(*clean, *market, start, end);
            EXPECT_GE(log.Segment.Deduction, 0.0F) << c.what << " " << start;
            EXPECT_LE(log.Segment.Deduction, 1.0F) << c.what << " " << start;
            EXPECT_LE(log.NetScale, plain.NetScale) << c.what << " " << start;
            EXPECT_LE(log.CubicVolume, plain.CubicVolume) << c.what << " " << start;
        }
    }
}

} // namespace
} // namespace varnok
