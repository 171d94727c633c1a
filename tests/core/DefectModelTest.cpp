#include "TestSupport.h"
#include "support/Errors.h"
#include "tree/DefectFile.h"
#include "tree/DefectMap.h"
#include "tree/ShapeFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <tuple>

namespace varnok {
namespace {

using test::CrLf;
using test::TempFolder;

// A defect line in the 23-character layout (3-character code) or, for a 2-character code,
// the 22-character one.
std::string Line(const char* code, const char* a, const char* b, const char* c, const char* d) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%5s%5s%5s%5s", code, a, b, c, d);
    return buffer;
}

class DefectModelTest : public ::testing::Test {
protected:
    DefectModelTest() {
        // A straight 50 ft stem, 20 inches to 12 inches.
        test::WriteText(
            folder_.Path() / "Tree1.SHP",
            CrLf({"header", " 0.0  20 0.0 0.0", "25.0  16 0.0 0.0", "50.0  12 0.0 0.0"}));
    }

    const Tree& Load(const std::vector<std::string>& lines) {
        test::WriteText(DefectPath(), CrLf(lines));
        NewTree(*tree_);
        ReadDefectFile(*tree_, DefectPath(), filter_);
        ReadShapeFile(*tree_, folder_.Path() / "Tree1.SHP");
        MapDefects(*tree_);
        return *tree_;
    }

    std::filesystem::path DefectPath() const { return folder_.Path() / "Tree1.DEF"; }

    static std::vector<MapInterval> Sector(const Tree& t, int s) {
        const auto used = t.SurfaceMap[static_cast<std::size_t>(s)].Used();
        return {used.begin(), used.end()};
    }

    TempFolder folder_;
    DefectFilterSet filter_ = DefaultDefectFilterSet();
    std::unique_ptr<Tree> tree_ = std::make_unique<Tree>();
};

TEST(DefectLines, SplitByLineLength) {
    const DefectLine fork = SplitDefectLine(" F 10.0 12.5", 1); // 12 characters: 2-char code
    EXPECT_EQ(fork.Code, " F");
    EXPECT_EQ(fork.Fields[0], " 10.0");
    EXPECT_EQ(fork.Fields[1], " 12.5");
    const DefectLine seam = SplitDefectLine("FLU 36.0   10 52.0   16 trailing", 2);
    EXPECT_EQ(seam.Code, "FLU");
    EXPECT_EQ(seam.Fields[3], "   16");
    const DefectLine knot = SplitDefectLine("SK 30.0    4    1    1", 3);
    EXPECT_EQ(knot.Code, "SK");
    EXPECT_EQ(knot.Fields[0], " 30.0");
    EXPECT_EQ(SplitDefectLine("", 4).Code, "");
}

TEST(DefectFilter, FirstMatchingEntryDecides) {
    DefectFilterSet set = DefaultDefectFilterSet();
    struct Case {
        const char* code;
        bool removed;
        const char* result;
    };
    // "SW" is decided by entry 20 (unchecked) whatever entry 41 says.
    set.Entries[40].Flag = 1;
    const Case cases[] = {
        {"SK", false, "  K"},  {"SW", true, " SR"},   {"UW", false, " SR"},  {"FLA", false, "FLA"},
        {"GLA", true, " SE"},  {"OBP", false, "  K"}, {"  F", false, "  F"}, {" F", false, "  F"},
        {"  T", false, "  K"}, {"  L", false, "  K"}, {"  R", false, " DY"}, {"  K", false, "  K"},
        {" DY", false, " DY"}, {"DY", false, "DY"},   {"LOH", true, " DY"},  {"sk", false, "sk"},
        {" SK", false, " SK"},
    };
    for (const Case& c : cases) {
        const FilterOutcome outcome = ApplyDefectFilter(set, c.code);
        EXPECT_EQ(outcome.Removed, c.removed) << c.code;
        EXPECT_EQ(outcome.Code, c.result) << c.code;
    }
    // A flag other than 0 or 1 does not count as a grading defect.
    set.Entries[27].Flag = 2;
    EXPECT_TRUE(ApplyDefectFilter(set, "SK").Removed);
}

TEST_F(DefectModelTest, ForkLineOfTwelveCharacters) {
    const Tree& t = Load({" F 10.0 12.5"});
    ASSERT_EQ(t.SurfaceDefectCount, 1);
    EXPECT_EQ(t.SurfaceDefects[0].Kind, static_cast<std::uint8_t>(DefectKind::Fork));
    EXPECT_EQ(t.SurfaceDefects[0].Position, 120);
    EXPECT_EQ(t.SurfaceDefects[0].EndPosition, 150);
    EXPECT_EQ(t.ForkBulgeFree[119], 1);
    EXPECT_EQ(t.ForkBulgeFree[120], 0);
    EXPECT_EQ(t.ForkBulgeFree[150], 0);
    EXPECT_EQ(t.ForkBulgeFree[151], 1);
}

TEST_F(DefectModelTest, UncheckedCodesAreRemovedAlsoWhenAdjacent) {
    const Tree& t = Load({Line("SW", " 2.0", "3", "2", "2"), Line("SW", " 3.0", "3", "2", "2"),
                          Line("SK", " 4.0", "5", "2", "2")});
    ASSERT_EQ(t.SurfaceDefectCount, 1);
    EXPECT_EQ(t.SurfaceDefects[0].Position, 48);

    // Codes repeated among others keep each their own outcome, line by line; a one-letter
    // code in either width of the code field is a knot.
    const Tree& u = Load({Line("SK", " 4.0", "5", "2", "2"), Line("SW", " 2.0", "3", "2", "2"),
                          Line("SK", " 5.0", "6", "2", "2"), Line("SW", " 3.0", "3", "2", "2"),
                          Line("  K", " 6.0", "7", "2", "2"), Line(" K", " 7.0", "8", "2", "2"),
                          Line("SK", " 8.0", "9", "2", "2")});
    ASSERT_EQ(u.SurfaceDefectCount, 5);
    const std::array<int, 5> positions = {48, 60, 72, 84, 96};
    for (std::size_t n = 0; n < positions.size(); ++n) {
        EXPECT_EQ(u.SurfaceDefects[n].Position, positions[n]) << n;
        EXPECT_EQ(u.SurfaceDefects[n].Kind, static_cast<std::uint8_t>(DefectKind::Knot)) << n;
    }
}

TEST_F(DefectModelTest, KnotWidthInSectors) {
    // 2 inches on a 20-inch stem: w = 0.57 sectors, round(2w) = 1 is odd, one sector only.
    const Tree& t = Load({Line("SK", " 0.0", "5", "2", "3")});
    EXPECT_EQ(Sector(t, 5), (std::vector<MapInterval>{{-1, 1, 1}}));
    EXPECT_TRUE(Sector(t, 4).empty());
    EXPECT_TRUE(Sector(t, 6).empty());
}

TEST_F(DefectModelTest, WiderKnotCoversSectorsOnBothSides) {
    // 10 inches on a 16-inch stem at 25 ft: w = 3.58, round(2w) = 7 odd, c = sector 0;
    // i = 0 maps to sector 0 once, i = 1 to 3 on both sides (wrapping below 0).
    const Tree& t = Load({Line("SK", "25.0", "0", "10", "8")});
    const std::vector<int> covered = {0, 1, 2, 3, 33, 34, 35};
    for (int s = 0; s < 36; ++s) {
        const bool expect = std::find(covered.begin(), covered.end(), s) != covered.end();
        EXPECT_EQ(Sector(t, s).size(), expect ? 1U : 0U) << "sector " << s;
    }
    // Length 8 is even: centre 299.5, h = 4; i = 0: e = 4 -> 296 to 303.
    EXPECT_EQ(Sector(t, 0), (std::vector<MapInterval>{{296, 303, 1}}));
    EXPECT_EQ(Sector(t, 3), Sector(t, 33));
}

TEST_F(DefectModelTest, SeamTakesTheShorterWayAcrossSectorZero) {
    const Tree& t = Load({Line("SE", "20.0", "34", "30.0", "2")});
    EXPECT_EQ(Sector(t, 34), (std::vector<MapInterval>{{240, 255, 1}}));
    EXPECT_EQ(Sector(t, 35), (std::vector<MapInterval>{{255, 285, 1}}));
    EXPECT_EQ(Sector(t, 0), (std::vector<MapInterval>{{285, 315, 1}}));
    EXPECT_EQ(Sector(t, 1), (std::vector<MapInterval>{{315, 345, 1}}));
    EXPECT_EQ(Sector(t, 2), (std::vector<MapInterval>{{345, 360, 1}}));
    EXPECT_TRUE(Sector(t, 33).empty());
    EXPECT_TRUE(Sector(t, 3).empty());
}

TEST_F(DefectModelTest, SeamSectorsSteppingDownAndStraight) {
    const Tree& t =
        Load({Line("SE", " 1.0", "5", " 2.0", "3"), Line("SE", " 3.0", "40", " 4.0", "40")});
    EXPECT_EQ(Sector(t, 5).size(), 1U);
    EXPECT_EQ(Sector(t, 4).size(), 2U);
    EXPECT_EQ(Sector(t, 3).back().End, 24);
    // A sector beyond 35 is taken modulo 36.
    EXPECT_EQ(Sector(t, 4).back(), (MapInterval{36, 48, 2}));
}

TEST_F(DefectModelTest, EndDefectProfilesAndDecayExceedance) {
    const Tree& t =
        Load({Line("DY", " 0.0", " 6.0", "13", "4"), Line("DP", "10.0", "10.0", "3", "7"),
              Line("ST", "20.0", "22.0", "2", "2")});
    ASSERT_EQ(t.EndDefectCount, 3);
    EXPECT_EQ(t.DecayProfile[0], 13);
    EXPECT_EQ(t.DecayProfile[4], 13);
    EXPECT_EQ(t.DecayProfile[5], 12);
    EXPECT_EQ(t.DecayProfile[72], 4);
    EXPECT_EQ(t.DecayProfile[73], 0);
    // 0.4 of a 20-inch stem is 8: decay above 8 inches until the profile falls to 8.
    EXPECT_EQ(t.EndDefects[0].ExceedStart, 0);
    EXPECT_GT(t.EndDefects[0].ExceedEnd, 30);
    EXPECT_LT(t.EndDefects[0].ExceedEnd, 45);
    EXPECT_EQ(t.DecayProfile[t.EndDefects[0].ExceedEnd + 1] * 10 <=
                  4 * t.Stem.Diameter[t.EndDefects[0].ExceedEnd + 1],
              true);
    // An end defect that starts and ends at one inch sets that inch alone.
    EXPECT_EQ(t.HeartProfile[120], 3);
    EXPECT_EQ(t.HeartProfile[119], 0);
    EXPECT_EQ(t.HeartProfile[121], 0);
    // "ST" (stain and streak) is classed as heart by the filter; a later heart overwrites.
    EXPECT_EQ(t.HeartProfile[250], 2);
    EXPECT_EQ(t.StainProfile[250], 0);
}

TEST_F(DefectModelTest, UnknownCodesAreSkippedAndBlankNumbersReadZero) {
    // The fields of a skipped line are never read, so its garbage is no fault.
    const Tree& t = Load({Line("ZZ", " 1.x", "1", "1", "1"), Line("SK", "", "", "2", "2")});
    ASSERT_EQ(t.SurfaceDefectCount, 1);
    EXPECT_EQ(t.SurfaceDefects[0].Position, 0);
    EXPECT_EQ(t.SurfaceDefects[0].Sector, 0);
}

TEST_F(DefectModelTest, ReversedEndDefectsMarkTheirStartAlone) {
    const Tree& t =
        Load({Line("DY", "30.0", "29.0", "5", "9"), Line("SN", "40.0", " 0.0", "4", "1")});
    ASSERT_EQ(t.EndDefectCount, 2);
    EXPECT_EQ(t.EndDefects[0].StartPosition, 360);
    EXPECT_EQ(t.EndDefects[0].EndPosition, 360);
    EXPECT_EQ(t.EndDefects[0].EndDiameter, 9);
    EXPECT_EQ(t.EndDefects[1].EndPosition, 480);
    for (const auto& [profile, at, value] :
         {std::tuple{&t.DecayProfile, 360, 5}, {&t.StainProfile, 480, 4}}) {
        EXPECT_EQ((*profile)[static_cast<std::size_t>(at)], value);
        EXPECT_EQ((*profile)[static_cast<std::size_t>(at - 1)], 0);
        EXPECT_EQ((*profile)[static_cast<std::size_t>(at + 1)], 0);
    }
}

TEST_F(DefectModelTest, FilesWithoutDefectLinesAreCleanStems) {
    for (const std::vector<std::string>& lines :
         {std::vector<std::string>{}, {""}, {"   ", "\t"}}) {
        const Tree& t = Load(lines);
        EXPECT_EQ(t.SurfaceDefectCount, 0);
        EXPECT_EQ(t.EndDefectCount, 0);
        EXPECT_EQ(t.DecayProfile[0], 0);
    }
    test::WriteText(DefectPath(), "");
    NewTree(*tree_);
    ReadDefectFile(*tree_, DefectPath(), filter_);
    EXPECT_EQ(tree_->SurfaceDefectCount, 0);
}

TEST_F(DefectModelTest, ACompleteLastLineNeedsNoLineEnd) {
    for (const std::string& last : {Line("SK", "10.0", "3", "2", "2"), std::string(" F 10.0 12.5"),
                                    Line("SPH", "10.0", "12.0", "4", "4") + " trailing"}) {
        test::WriteText(DefectPath(), "SK  1.0    1    1    1\r\n" + last);
        NewTree(*tree_);
        ReadDefectFile(*tree_, DefectPath(), filter_);
        EXPECT_EQ(tree_->SurfaceDefectCount + tree_->EndDefectCount, 2) << last;
    }
}

TEST_F(DefectModelTest, RefusesFilesBeyondTheLimits) {
    std::vector<std::string> manyLines(101, Line("SK", " 1.0", "1", "1", "1"));
    std::vector<std::string> manySurface(101, Line("SK", " 1.0", "1", "1", "1"));
    std::vector<std::string> manyEnds(41, Line("DY", " 1.0", " 2.0", "1", "1"));
    std::vector<std::string> crowded;
    for (int i = 0; i < 20; ++i) { // knots wider than the stem wrap round it many times
        crowded.push_back(Line("SK", "40.0", "7", "255", "9"));
    }
    manySurface.resize(100);
    manySurface.push_back(Line("BB", " 1.0", " 2.0", "", ""));
    struct Case {
        std::vector<std::string> lines;
        int line;
        const char* message;
    };
    const std::vector<Case> cases = {
        {manyLines, 101, "more than 100 defect lines"},
        {{Line("SK", "201.0", "1", "1", "1")}, 1, "outside 0 to 200 ft"},
        {{Line("SE", " 1.0", "1", "-2.0", "1")}, 1, "outside 0 to 200 ft"},
        {{Line("SK", " 1.0", "1", "1", "1"), Line("SE", " 3.0", "1", " 2.0", "1")},
         2,
         "ends before it starts"},
        {{Line("SK", " abc", "1", "1", "1")}, 1, "field A holds \"abc\", which is not a number"},
        {{Line("SE", " 1.0", "1", " 2.0", "1.5")},
         1,
         "field D holds \"1.5\", which is not a whole"},
        {{Line("DY", " 1.0", " 2.0", "-", "1")}, 1, "field C holds \"-\", which is not"},
        {{Line("BB", " 1.0", "1e", "", "")}, 1, "field B holds \"1e\""},
        {{Line("SK", " 1.0", "200", "1", "1")}, 1, "sector"},
        {{Line("SK", " 1.0", "1", "300", "1")}, 1, "width"},
        {{Line("DY", " 1.0", " 2.0", "256", "1")}, 1, "diameter"},
        {{Line("SK", "  2.0", "1", "1", "1"), Line("SK", "51.0", "1", "1", "1")}, 2, "no diameter"},
        {manyEnds, 41, "more than 40 end defects"},
        {crowded, 17, "more than 100 defect intervals"},
    };
    for (const Case& c : cases) {
        try {
            Load(c.lines);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const FileError& e) {
            EXPECT_EQ(e.Path(), DefectPath());
            EXPECT_EQ(e.Line(), c.line) << c.message;
            EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(manySurface.size(), 101U);
    EXPECT_EQ(
        Load(std::vector<std::string>(100, Line("SK", " 1.0", "1", "1", "1"))).SurfaceDefectCount,
        100);
}

} // namespace
} // namespace varnok
