#include "EngineFixtures.h"

#include <gtest/gtest.h>

#include <limits>

namespace varnok {
namespace {

using test::StraightTree;
using test::TestMarket;

LogSegment Grade(const Tree& tree, const Market& market, int start, int end) {
    return test::Evaluate(tree, market, start, end).Segment;
}

// Small knots at the given position in every sector: each face is cut there.
void Ring(Tree& tree, int position) {
    for (int sector = 0; sector < 36; ++sector) {
        test::AddKnot(tree, position, sector, 1);
    }
}

TEST(SawlogGrading, CleanLogReachesTheBestGradeAtTheFirstRotation) {
    auto market = TestMarket();
    test::SetSawlogGrades(*market, 3, 2, 0.8333333F, 2);
    auto tree = StraightTree(400, 20, 20);
    test::Map(*tree);
    const LogSegment s = Grade(*tree, *market, 0, 200);
    EXPECT_EQ(s.SawGrade, 1);
    EXPECT_EQ(s.SawGradeTried, (std::array<std::uint8_t, 3>{1, 1, 1}));
    EXPECT_EQ(s.FaceGrades[0], 1);
    EXPECT_EQ(s.FaceGrades[3], 1);
    EXPECT_EQ(s.FaceFirstSector, (std::array<std::uint8_t, 4>{0, 9, 18, 27}));

    // No grades in the rules: below grade, nothing tried.
    market->SawlogRules = SawlogRuleSet{};
    EXPECT_EQ(Grade(*tree, *market, 0, 200).SawGrade, kNoGrade);
}

TEST(SawlogGrading, WhichCellsApply) {
    struct Case {
        const char* what;
        void (*change)(SawlogRuleCell&);
        int start, end;
        std::array<std::uint8_t, 3> tried;
    };
    const Case cases[] = {
        {"all", [](SawlogRuleCell&) {}, 0, 200, {1, 1, 1}},
        {"grade 1 butt logs only, upper log",
         [](SawlogRuleCell& c) { c.ButtLogsOnly = c.GradeNumber == 1; },
         200,
         400,
         {0, 1, 1}},
        {"grade 1 butt logs only, butt log",
         [](SawlogRuleCell& c) { c.ButtLogsOnly = c.GradeNumber == 1; },
         0,
         200,
         {1, 1, 1}},
        {"minimum length 12 ft, a 10 ft log",
         [](SawlogRuleCell& c) { c.MinLength = 12; },
         0,
         128,
         {0, 0, 0}},
        {"minimum diameter above SED",
         [](SawlogRuleCell& c) { c.MinDiameter = 21; },
         0,
         200,
         {0, 0, 0}},
        {"maximum diameter below SED",
         [](SawlogRuleCell& c) { c.MaxDiameter = 19; },
         0,
         200,
         {0, 0, 0}},
        {"deduction over the limit",
         [](SawlogRuleCell& c) { c.MaxDeduction = 0.0F; },
         0,
         200,
         {0, 0, 0}},
        {"cell not in use",
         [](SawlogRuleCell& c) { c.GradeNumber = c.GradeNumber == 2 ? 0 : c.GradeNumber; },
         0,
         200,
         {1, 0, 1}},
    };
    for (const Case& c : cases) {
        auto market = TestMarket();
        test::SetSawlogGrades(*market, 3, 2, 0.5F, 99);
        for (int g = 1; g <= 3; ++g) {
            c.change(market->SawlogRules.Cell(g, 1, 1));
        }
        auto tree = StraightTree(400, 20, 20);
        test::AddSpan(*tree, DefectKind::Bulge, 195, 196); // a little deduction
        test::Map(*tree);
        EXPECT_EQ(Grade(*tree, *market, c.start, c.end).SawGradeTried, c.tried) << c.what;
    }
}

TEST(SawlogGrading, ClearCuttingsLengthCountAndYield) {
    struct Case {
        std::vector<int> rings; // knots all round the stem at these inches
        int code;               // minimum cutting length in feet
        int cuttings;           // largest number counted (99 = all)
        float yield;
        int grade;
    };
    // On the 16 ft log 0..200 the required clear length is round(192 x yield).
    const std::vector<Case> cases = {
        {{100}, 2, 2, 0.8333333F, 1},     // 100 + 100 >= 160
        {{100}, 2, 1, 0.8333333F, 4},     // 100 < 160
        {{100}, 2, 1, 0.5F, 1},           // 100 >= 96
        {{100}, 7, 99, 0.8333333F, 1},    // both runs are 7 ft cuttings
        {{50, 150}, 5, 3, 0.5F, 1},       // only the 99-inch run is a 5 ft cutting: 99 >= 96
        {{50, 150}, 5, 3, 0.6666667F, 4}, // 99 < 128
        {{50, 150}, 2, 3, 0.6666667F, 1}, // 50 + 99 + 50 >= 128
        {{}, 2, 1, 0.8333333F, 1},
        {{100}, 2, 1, 0.5208333F, 1},     // 100 >= 100: a sum just at the threshold reaches it
        {{100}, 2, 1, 0.5260417F, 4},     // 100 < 101
        {{50, 150}, 2, 4, 0.8333333F, 1}, // 50 + 99 + 50 >= 160: four counted takes all three
        {{50, 150}, 2, 2, 0.8333333F, 4}, // 99 + 50 < 160
        {{}, 2, 0, 0.5F, 4},              // no cutting counted: nothing reaches 96
        {{}, 2, 0, 0.0F, 1},              // nothing needed
        {{}, 2, 99, std::numeric_limits<float>::quiet_NaN(), 4}, // a damaged yield: never met
    };
    for (const Case& c : cases) {
        auto market = TestMarket();
        test::SetSawlogGrades(*market, 1, c.code, c.yield, c.cuttings);
        auto tree = StraightTree(400, 20, 20);
        for (const int position : c.rings) {
            Ring(*tree, position);
        }
        test::Map(*tree);
        EXPECT_EQ(Grade(*tree, *market, 0, 200).SawGrade, c.grade)
            << c.rings.size() << " rings, code " << c.code << ", " << c.cuttings
            << " cuttings, yield " << c.yield;
    }
}

TEST(SawlogGrading, ForksAndBulgesCutTheFacesRunsWithTheKnots) {
    struct Case {
        int from, to; // a bulge, inches
        int code;
        int cuttings;
        float yield;
        int grade;
    };
    // Knots all round at 100 inches; on the 16 ft log 0..200 the required clear length is
    // round(192 x yield).
    const Case cases[] = {
        {150, 160, 2, 3, 0.984375F, 1},  // 100 + 49 + 40 >= 189
        {150, 160, 2, 3, 0.9895833F, 4}, // 189 < 190
        {150, 160, 5, 99, 0.6F, 4},      // only 0..99 is a 5 ft cutting: 100 < 115
        {0, 20, 2, 2, 0.9322917F, 1},    // 79 + 100 >= 179
        {0, 20, 2, 2, 0.9375F, 4},       // 79 + 100 < 180
        {0, 200, 2, 99, 0.5F, 4},        // nothing of the log is usable
    };
    for (const Case& c : cases) {
        auto market = TestMarket();
        test::SetSawlogGrades(*market, 1, c.code, c.yield, c.cuttings);
        auto tree = StraightTree(400, 20, 20);
        Ring(*tree, 100);
        test::AddSpan(*tree, DefectKind::Bulge, c.from, c.to);
        test::Map(*tree);
        EXPECT_EQ(Grade(*tree, *market, 0, 200).SawGrade, c.grade)
            << "bulge " << c.from << " to " << c.to << ", code " << c.code << ", yield " << c.yield;
    }
}

TEST(SawlogGrading, SeamsOnFacesAndTheRotationNote) {
    auto market = TestMarket();
    test::SetSawlogGrades(*market, 1, 2, 0.8333333F, 2);

    // A straight seam the whole length of the log fails its face only: three faces still
    // reach the grade.
    auto one = StraightTree(400, 20, 20);
    test::AddSeam(*one, 0, 4, 400, 4);
    test::Map(*one);
    LogSegment s = Grade(*one, *market, 0, 200);
    EXPECT_EQ(s.SawGrade, 1);
    EXPECT_EQ(s.FaceGrades[0], kNoGrade);

    // Spiral seams failing two faces in every rotation leave the log below grade.
    auto two = StraightTree(400, 20, 20);
    test::AddSeam(*two, 0, 4, 200, 5);
    test::AddSeam(*two, 0, 22, 200, 23);
    test::Map(*two);
    EXPECT_EQ(Grade(*two, *market, 0, 200).SawGrade, kNoGrade);

    // Straight seams in sectors 8 and 17 (the last sectors of faces 1 and 2 at rotation 0): the
    // first is passed over at rotation 0, the second applied, so rotation 0 grades with face 2
    // failed only. At rotation 1 both lie inside their faces and both would fail.
    auto edges = StraightTree(400, 20, 20);
    test::AddSeam(*edges, 0, 8, 400, 8);
    test::AddSeam(*edges, 0, 17, 400, 17);
    test::Map(*edges);
    s = Grade(*edges, *market, 0, 200);
    EXPECT_EQ(s.SawGrade, 1);
    EXPECT_EQ(s.FaceFirstSector[0], 0);
    EXPECT_EQ(
        (std::array<int, 4>{s.FaceGrades[0], s.FaceGrades[1], s.FaceGrades[2], s.FaceGrades[3]}),
        (std::array<int, 4>{1, 4, 1, 1}));

    // A seam that ends inside the log blanks the lower part of its face only: from the butt
    // to round(t - L / 3).
    auto partial = StraightTree(400, 20, 20);
    test::AddSeam(*partial, 0, 4, 150, 4);
    test::Map(*partial);
    test::SetSawlogGrades(*market, 1, 2, 0.25F, 1);
    s = Grade(*partial, *market, 0, 200);
    EXPECT_EQ(s.SawGrade, 1);
}

TEST(SawlogGrading, FacesModeSumsOfClearFaces) {
    struct Case {
        std::vector<int> knotSectors; // one small knot each, mid-log
        int code;
        int grade;
    };
    const std::vector<Case> cases = {
        {{}, 14, 1},     {{0}, 14, 4},        {{0}, 13, 1},        {{0, 9}, 13, 4},
        {{0, 9}, 12, 1}, {{0, 9, 18}, 12, 4}, {{0, 9, 18}, 11, 1}, {{0, 9, 18, 27}, 11, 4},
    };
    for (const Case& c : cases) {
        auto market = TestMarket();
        test::SetSawlogGrades(*market, 1, c.code, 0.5F, 1);
        ASSERT_TRUE(market->FacesMode());
        auto tree = StraightTree(400, 20, 20);
        for (const int sector : c.knotSectors) {
            test::AddKnot(*tree, 100, sector, 1);
        }
        test::Map(*tree);
        EXPECT_EQ(Grade(*tree, *market, 0, 200).SawGrade, c.grade)
            << c.knotSectors.size() << " knots, code " << c.code;
    }
}

// In faces mode a face is clear only when every inch of the log, both end inches included, is
// free: its cuttings must add up to the log's length and one inch.
TEST(SawlogGrading, AClearFaceIsFreeToTheLastInch) {
    struct Case {
        int knotAt; // a 1-inch knot in sector 0, on the log 0..200
        int grade;
    };
    const Case cases[] = {{200, kNoGrade}, {201, 1}, {0, kNoGrade}, {100, kNoGrade}, {250, 1}};
    for (const Case& c : cases) {
        auto market = TestMarket();
        test::SetSawlogGrades(*market, 1, 14, 0.5F, 1); // four clear faces
        auto tree = StraightTree(400, 20, 20);
        test::AddKnot(*tree, c.knotAt, 0, 1);
        test::Map(*tree);
        ASSERT_EQ(tree->SurfaceMap[0].Used()[0], (MapInterval{c.knotAt, c.knotAt, 1}));
        EXPECT_EQ(Grade(*tree, *market, 0, 200).SawGrade, c.grade) << "knot at " << c.knotAt;
    }
}

TEST(SawlogGrading, ExcessiveDecayBlanksTheFaces) {
    auto market = TestMarket();
    test::SetSawlogGrades(*market, 1, 2, 0.5F, 1);
    // Decay of 10 inches in a 20-inch stem is above 0.4 of it from end to end of the log.
    auto rotten = StraightTree(400, 20, 20);
    test::AddEnd(*rotten, DefectKind::Decay, 0, 400, 10, 10);
    test::Map(*rotten);
    LogSegment s = Grade(*rotten, *market, 0, 200);
    EXPECT_EQ(s.SawGradeTried[0], 1);
    EXPECT_EQ(s.SawGrade, kNoGrade);
    // Decay that exceeds only from inch 150 on blanks from 150 + round(50 / 3) = 167 up: the
    // clear 167 inches still make half of 192.
    auto top = StraightTree(400, 20, 20);
    test::AddEnd(*top, DefectKind::Decay, 150, 400, 10, 10);
    test::Map(*top);
    EXPECT_EQ(Grade(*top, *market, 0, 200).SawGrade, 1);
    test::SetSawlogGrades(*market, 1, 2, 0.9F, 1); // needs 173 inches
    EXPECT_EQ(Grade(*top, *market, 0, 200).SawGrade, kNoGrade);
}

TEST(SawlogGrading, StainDowngrades) {
    struct Case {
        int butt, top;     // stem diameters at 0 and 400
        int start, end;    // the log
        int stain;         // inches of stain all along the stem
        bool gradeOneOpen; // whether grade 1 applies at all
        int grade;
    };
    const Case cases[] = {
        {20, 20, 0, 200, 11, true, 2},  // 11 / 20 = 0.55 > 0.5: grade 1 becomes 2
        {20, 20, 0, 200, 10, true, 1},  // 0.5 is not above 0.5
        {18, 18, 0, 200, 10, false, 2}, // grade 2, SED 18: 0.56 is not above 0.6
        {20, 18, 0, 200, 11, false, 3}, // 11 / 18 = 0.61 at the other end
        {14, 14, 0, 200, 8, false, 3},  // SED under 16: the 0.5 rule, 8 / 14
        {16, 16, 0, 200, 9, false, 2},  // SED 16: the 0.6 rule, 9 / 16 = 0.56
        {16, 16, 0, 200, 10, false, 3}, // 10 / 16 = 0.625
    };
    for (const Case& c : cases) {
        auto market = TestMarket();
        test::SetSawlogGrades(*market, 3, 2, 0.5F, 1);
        if (!c.gradeOneOpen) {
            market->SawlogRules.Cell(1, 1, 1).MinDiameter = 40;
        }
        // Diameter 20 at 0 falling to 18 at 200 when butt and top differ.
        auto tree = StraightTree(c.butt == c.top ? 400 : 200, c.butt, c.top);
        test::AddEnd(*tree, DefectKind::Stain, 0, tree->Stem.StemLength, c.stain, c.stain);
        test::Map(*tree);
        EXPECT_EQ(Grade(*tree, *market, c.start, c.end).SawGrade, c.grade)
            << c.butt << "/" << c.top << " stain " << c.stain;
    }
}

} // namespace
} // namespace varnok
