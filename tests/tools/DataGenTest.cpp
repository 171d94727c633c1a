// The generated data folder as a whole: the same bytes on every run, trees the core loads, the
// fixed-width layouts and limits of the tree files, and the program's output and exit status.

#include "DataGen.h"
#include "CliRunner.h"
#include "Parameters.h"
#include "RuleSets.h"
#include "TestSupport.h"

#include "rules/DefectFilterSet.h"
#include "support/DataFolder.h"
#include "support/Errors.h"
#include "support/Numbers.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

namespace varnok {
namespace {

namespace fs = std::filesystem;
using datagen::GenerateDataFolder;
using test::TempFolder;

// One generated folder shared by the tests that only read it.
class GeneratedData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::setlocale(LC_ALL, "C");
        folder_ = std::make_unique<TempFolder>();
        GenerateDataFolder(folder_->Path(), datagen::kSeed);
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static const fs::path& Root() { return folder_->Path(); }

private:
    static inline std::unique_ptr<TempFolder> folder_;
};

std::vector<std::string> RelativeFiles(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), root).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The lines of a tree file, which must end every line with CR LF and hold no other line break.
std::vector<std::string> CrLfLines(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = test::ReadBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << path << ": the last line is not ended by CR LF";
            break;
        }
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << path << ": bare line break";
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

double Decimal(const std::string& field) {
    const std::optional<double> value = ParseDecimal(field);
    EXPECT_TRUE(value.has_value()) << "'" << field << "' is not a number";
    return value.value_or(-1.0);
}

int Integer(const std::string& field) {
    const std::optional<std::int32_t> value = ParseInteger(field);
    EXPECT_TRUE(value.has_value()) << "'" << field << "' is not an integer";
    return value.value_or(-1);
}

// A field right-aligned in its columns: no trailing blank, not empty.
void ExpectRightAligned(const std::string& field, const std::string& where) {
    ASSERT_FALSE(field.empty()) << where;
    EXPECT_NE(field.back(), ' ') << where << ": '" << field << "'";
}

TEST(DataGenFolder, TwoRunsWriteTheSameBytes) {
    std::setlocale(LC_ALL, "C");
    const TempFolder first;
    const TempFolder second;
    GenerateDataFolder(first.Path(), datagen::kSeed);
    GenerateDataFolder(second.Path(), datagen::kSeed);
    const std::vector<std::string> files = RelativeFiles(first.Path());
    ASSERT_EQ(files, RelativeFiles(second.Path()));
    EXPECT_EQ(files.size(), 300U + 13U);
    for (const std::string& file : files) {
        ASSERT_EQ(test::ReadBytes(first.Path() / file), test::ReadBytes(second.Path() / file))
            << file;
    }
}

TEST(DataGenFolder, TheSeedChangesTheTreesAndNotTheRules) {
    const TempFolder usual;
    const TempFolder other;
    GenerateDataFolder(usual.Path(), datagen::kSeed);
    GenerateDataFolder(other.Path(), datagen::kSeed + 1);
    int sameTrees = 0;
    for (int n = 1; n <= 150; ++n) {
        const std::string shape = "Shapes/Tree" + std::to_string(n) + ".SHP";
        sameTrees += test::ReadBytes(usual.Path() / shape) == test::ReadBytes(other.Path() / shape);
    }
    EXPECT_EQ(sameTrees, 0);
    for (const char* rule : {"Log Rules/Doyle", "SawGrades/Factory Grades",
                             "Veneer/Hardwood Veneer", "Prices/Appalachian Doyle"}) {
        EXPECT_EQ(test::ReadBytes(usual.Path() / rule), test::ReadBytes(other.Path() / rule))
            << rule;
    }
}

TEST(DataGenFolder, RefusesAFolderItCannotWrite) {
    const TempFolder folder;
    test::WriteText(folder.Path() / "blocked", "a file where the data folder should be");
    EXPECT_THROW(GenerateDataFolder(folder.Path() / "blocked", datagen::kSeed), FileError);
    test::WriteText(folder.Path() / "data" / "Shapes", "a file where a subfolder should be");
    EXPECT_THROW(GenerateDataFolder(folder.Path() / "data", datagen::kSeed), FileError);
}

TEST_F(GeneratedData, EveryTreeLoadsThroughBothFilters) {
    const DataFolder data(Root());
    std::unique_ptr<Tree> tree;
    for (const char* filterName : {datagen::kDefaultFilterName, datagen::kStrictFilterName}) {
        const DefectFilterSet filter = ReadDefectFilterSet(data.Filters() / filterName);
        for (int n = 1; n <= 150; ++n) {
            ASSERT_NO_THROW(tree = LoadTree(data, n, filter)) << filterName << ", tree " << n;
            EXPECT_GE(tree->Stem.PointCount, 2) << n;
            EXPECT_LE(tree->Stem.PointCount, 49) << n;
            EXPECT_LE(tree->Stem.StemLength, 2400) << n;
            EXPECT_GE(tree->Stem.Diameter[tree->Stem.StemLength], 4) << n;
            EXPECT_LE(tree->SurfaceDefectCount, 100) << n;
            EXPECT_LE(tree->EndDefectCount, 40) << n;
        }
    }
}

// The set is meant to mix clean, ordinary, defective and nearly worthless stems; a fault that
// drops a whole kind of defect, or puts one on every tree, shows here.
TEST_F(GeneratedData, TheTreesMixEveryKindOfDefect) {
    constexpr int kButtRot = 100;
    const DataFolder data(Root());
    const DefectFilterSet filter = ReadDefectFilterSet(data.Filters() / datagen::kStrictFilterName);
    std::map<int, int> treesWithKind;
    int withoutButtLogKnots = 0;
    std::set<int> lengths;
    for (int n = 1; n <= 150; ++n) {
        const std::unique_ptr<Tree> tree = LoadTree(data, n, filter);
        std::set<int> kinds;
        bool buttLogKnot = false;
        for (const SurfaceDefect& d : tree->Surface()) {
            kinds.insert(d.Kind);
            buttLogKnot = buttLogKnot || (d.Kind <= 2 && d.Position <= 200);
        }
        for (const EndDefect& d : tree->Ends()) {
            // Decay from the stump (butt rot) apart from the thin columns behind knots.
            const bool buttRot =
                d.Kind == static_cast<int>(DefectKind::Decay) && d.StartPosition == 0;
            kinds.insert(buttRot ? kButtRot : d.Kind);
        }
        for (const int kind : kinds) {
            ++treesWithKind[kind];
        }
        withoutButtLogKnots += buttLogKnot ? 0 : 1;
        lengths.insert(tree->Stem.StemLength / 120);
    }
    const std::map<int, const char*> names = {
        {0, "knot"}, {1, "bump"},  {2, "surface rise"},      {3, "seam"},
        {4, "fork"}, {5, "bulge"}, {kButtRot, "butt decay"}, {8, "heart"}};
    for (const auto& [kind, name] : names) {
        EXPECT_GT(treesWithKind[kind], 0) << name;
        if (kind != 0) {
            EXPECT_LT(treesWithKind[kind], 75) << name;
        }
    }
    EXPECT_GE(withoutButtLogKnots, datagen::kCleanStems);
    EXPECT_GE(lengths.size(), 4U) << "stem lengths spread over at least four 10-ft classes";
}

TEST_F(GeneratedData, ShapeFilesKeepTheFixedLayout) {
    for (int n = 1; n <= 150; ++n) {
        const fs::path path = Root() / "Shapes" / ("Tree" + std::to_string(n) + ".SHP");
        const std::vector<std::string> lines = CrLfLines(path);
        ASSERT_GE(lines.size(), 3U) << path;
        ASSERT_LE(lines.size(), 50U) << path;
        EXPECT_FALSE(lines[0].empty()) << path;
        long previous = -1;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            const std::string where = path.filename().string() + " line " + std::to_string(i + 1);
            ASSERT_EQ(line.size(), 16U) << where;
            for (std::size_t f = 0; f < 4; ++f) {
                ExpectRightAligned(line.substr(4 * f, 4), where);
            }
            EXPECT_EQ(line.find('-'), std::string::npos) << where << ": a sign would be lost";
            const double feet = Decimal(line.substr(0, 4));
            if (feet >= 100.0) {
                EXPECT_EQ(line.substr(0, 4).find('.'), std::string::npos) << where;
            }
            const long position = RoundToInt(feet * 12.0);
            EXPECT_GT(position, previous) << where << ": heights ascend";
            EXPECT_LE(position, 2400) << where;
            if (i == 1) {
                EXPECT_EQ(position, 0) << where;
            }
            previous = position;
            const int diameter = Integer(line.substr(4, 4));
            EXPECT_GE(diameter, 4) << where;
            EXPECT_LE(diameter, 60) << where;
            EXPECT_GE(Decimal(line.substr(8, 4)), 0.0) << where;
            EXPECT_GE(Decimal(line.substr(12, 4)), 0.0) << where;
        }
        EXPECT_EQ(Integer(lines.back().substr(4, 4)), 4) << path << ": the top is 4 in";
    }
}

// The grading class a code stands for in the filter table ("  K", " SE", ...).
std::map<std::string, std::string> ClassOfCode() {
    std::map<std::string, std::string> classes;
    for (const DefectFilterEntry& entry : DefaultDefectFilterSet().Entries) {
        classes.emplace(entry.Code, entry.ClassCode);
    }
    // Mineral stain is written with its grading code, which no filter entry produces.
    classes.emplace("SN", " SN");
    return classes;
}

TEST_F(GeneratedData, DefectFilesKeepTheFixedLayoutAndLimits) {
    const std::map<std::string, std::string> classes = ClassOfCode();
    const std::set<std::string> surfaceClasses = {"  K", " BU", " SR"};
    for (int n = 1; n <= 150; ++n) {
        const std::string name = std::to_string(n);
        const std::vector<std::string> shape =
            CrLfLines(Root() / "Shapes" / ("Tree" + name + ".SHP"));
        const double top = Decimal(shape.back().substr(0, 4));
        const std::vector<std::string> lines =
            CrLfLines(Root() / "Defects" / ("Tree" + name + ".DEF"));
        ASSERT_LE(lines.size(), 100U) << name;
        int endDefects = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            const std::string where = "Tree" + name + ".DEF line " + std::to_string(i + 1);
            const std::size_t size = line.size();
            ASSERT_TRUE(size == 12 || size == 13 || size == 22 || size == 23) << where;
            const std::size_t codeWidth = (size == 12 || size == 22) ? 2 : 3;
            const std::string field = line.substr(0, codeWidth);
            const std::size_t first = field.find_first_not_of(' ');
            ASSERT_NE(first, std::string::npos) << where;
            const std::string code = field.substr(first);
            // Blanks only ever stand before a one-letter code.
            EXPECT_TRUE(first == 0 || (code.size() == 1 && codeWidth == 3)) << where;
            ASSERT_TRUE(classes.contains(code)) << where << ": unknown code " << code;
            const std::string& grading = classes.at(code);
            std::array<std::string, 4> f;
            for (std::size_t k = 0; k < (size - codeWidth) / 5; ++k) {
                f[k] = line.substr(codeWidth + 5 * k, 5);
                ExpectRightAligned(f[k], where);
            }
            const double a = Decimal(f[0]);
            EXPECT_GE(a, 0.0) << where;
            EXPECT_LE(a, top) << where << ": inside the stem";
            const bool span = grading == "  F" || grading == " BE";
            EXPECT_EQ(size - codeWidth == 10, span) << where;
            if (surfaceClasses.contains(grading)) {
                EXPECT_LT(RoundToInt(a * 12.0), RoundToInt(top * 12.0)) << where;
                const int sector = Integer(f[1]);
                EXPECT_TRUE(sector >= 0 && sector <= 35) << where;
                for (std::size_t k : {2U, 3U}) {
                    const int inches = Integer(f[k]);
                    EXPECT_TRUE(inches >= 1 && inches <= 255) << where;
                }
            } else if (grading == " SE") {
                EXPECT_GT(Decimal(f[2]), a) << where << ": a seam ends after it starts";
                EXPECT_LE(Decimal(f[2]), top) << where;
                for (std::size_t k : {1U, 3U}) {
                    const int sector = Integer(f[k]);
                    EXPECT_TRUE(sector >= 0 && sector <= 35) << where;
                }
            } else if (span) {
                EXPECT_GT(Decimal(f[1]), a) << where;
                EXPECT_LE(Decimal(f[1]), top) << where;
            } else {
                ++endDefects;
                EXPECT_GT(Decimal(f[1]), a) << where;
                EXPECT_LE(Decimal(f[1]), top) << where;
                for (std::size_t k : {2U, 3U}) {
                    const int inches = Integer(f[k]);
                    EXPECT_TRUE(inches >= 0 && inches <= 255) << where;
                }
            }
        }
        EXPECT_LE(endDefects, 40) << name;
    }
}

test::CliResult RunDataGen(const std::vector<std::string>& args) {
    return test::RunProgram(VARNOK_DATAGEN_PATH, args);
}

std::size_t LineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(DataGenProgram, OneSummaryLineOrOneErrorAndStatusOne) {
    const TempFolder scratch;
    const test::CliResult good = RunDataGen({(scratch.Path() / "out").string()});
    EXPECT_EQ(good.ExitCode, 0);
    EXPECT_EQ(LineCount(good.Out), 1U) << good.Out;
    EXPECT_NE(good.Out.find("150 trees"), std::string::npos) << good.Out;
    EXPECT_TRUE(good.Err.empty()) << good.Err;
    EXPECT_TRUE(fs::exists(scratch.Path() / "out" / "Shapes" / "Tree150.SHP"));

    test::WriteText(scratch.Path() / "file", "not a folder");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"one", "two"},
        {(scratch.Path() / "file").string()},
    };
    for (const auto& args : bad) {
        const test::CliResult result = RunDataGen(args);
        EXPECT_EQ(result.ExitCode, 1) << args.size();
        EXPECT_TRUE(result.Out.empty()) << result.Out;
        EXPECT_EQ(LineCount(result.Err), 1U) << result.Err;
    }
}

} // namespace
} // namespace varnok
