#include "EngineFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

namespace varnok {
namespace {

using test::StraightTree;
using test::TestMarket;

// Grade 1 of a one-grade market, changed by `rules`, applied to the log 0..end of `tree`.
bool Meets(const Tree& tree, const std::function<void(VeneerGradeRules&)>& rules, int end = 200) {
    auto market = TestMarket();
    VeneerGradeRules grade = test::OpenVeneerGrade(1, 8);
    rules(grade);
    test::SetVeneerGrade(*market, 1, grade);
    const LogSegment s = test::Evaluate(tree, *market, 0, end).Segment;
    EXPECT_EQ(s.VeneerGradeMet[0] == 1, s.VeneerGrade == 1);
    return s.VeneerGrade == 1;
}

TEST(VeneerGrading, LogRequirements) {
    auto tree = StraightTree(400, 20, 20);
    test::AddBend(*tree, 100, 2.0F, 20);
    test::Map(*tree);
    struct Case {
        const char* what;
        std::function<void(VeneerGradeRules&)> rules;
        int end;
        bool meets;
    };
    const std::vector<Case> cases = {
        {"open grade", [](VeneerGradeRules&) {}, 200, true},
        {"only 8 and 10 ft, a 12 ft log",
         [](VeneerGradeRules& g) {
             g.LengthAccepted = {};
             g.LengthAccepted[0] = g.LengthAccepted[2] = 1;
         },
         152, false},
        {"only 8 and 10 ft, a 10 ft log",
         [](VeneerGradeRules& g) {
             g.LengthAccepted = {};
             g.LengthAccepted[0] = g.LengthAccepted[2] = 1;
         },
         128, true},
        {"minimum diameter 21", [](VeneerGradeRules& g) { g.MinSmallEndDiameter = 21; }, 200,
         false},
        {"sweep 2 within a whole 2", [](VeneerGradeRules& g) { g.MaxSweep.fill(2.0F); }, 200, true},
        {"sweep 2 over a whole 1", [](VeneerGradeRules& g) { g.MaxSweep.fill(1.0F); }, 200, false},
        {"sweep 2 within 0.1 x SED 20", [](VeneerGradeRules& g) { g.MaxSweep.fill(0.1F); }, 200,
         true},
        {"sweep 2 over 0.05 x SED 20", [](VeneerGradeRules& g) { g.MaxSweep.fill(0.05F); }, 200,
         false},
        {"no sweep allowed for SED 20 (0 stored)",
         [](VeneerGradeRules& g) { g.MaxSweep[11] = 0.0F; }, 200, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Meets(*tree, c.rules, c.end), c.meets) << c.what;
    }
}

TEST(VeneerGrading, EndDefectsForksAndBulges) {
    struct Case {
        const char* what;
        std::function<void(Tree&)> defects;
        bool meets;
    };
    const std::vector<Case> cases = {
        {"stain touching the log",
         [](Tree& t) { test::AddEnd(t, DefectKind::Stain, 190, 300, 1, 1); }, false},
        {"stain above the log", [](Tree& t) { test::AddEnd(t, DefectKind::Stain, 250, 300, 1, 1); },
         true},
        {"decay hole within 3", [](Tree& t) { test::AddEnd(t, DefectKind::Decay, 0, 50, 3, 3); },
         true},
        {"decay hole of 4", [](Tree& t) { test::AddEnd(t, DefectKind::Decay, 0, 50, 4, 4); },
         false},
        {"decay inside only", [](Tree& t) { test::AddEnd(t, DefectKind::Decay, 50, 100, 9, 9); },
         true},
        {"heart 6 of 20 within 30%",
         [](Tree& t) { test::AddEnd(t, DefectKind::Heart, 0, 400, 6, 6); }, true},
        {"heart 7 of 20 over 30%",
         [](Tree& t) { test::AddEnd(t, DefectKind::Heart, 0, 400, 7, 7); }, false},
        {"fork in the log", [](Tree& t) { test::AddSpan(t, DefectKind::Fork, 150, 160); }, false},
        {"bulge at the top end", [](Tree& t) { test::AddSpan(t, DefectKind::Bulge, 200, 260); },
         false},
        {"bulge above", [](Tree& t) { test::AddSpan(t, DefectKind::Bulge, 201, 260); }, true},
    };
    for (const Case& c : cases) {
        auto tree = StraightTree(400, 20, 20);
        c.defects(*tree);
        test::Map(*tree);
        EXPECT_EQ(Meets(*tree,
                        [](VeneerGradeRules& g) {
                            g.MaxHoleForDiameter.fill(3);
                            g.MaxHeartPercent = 30.0F;
                        }),
                  c.meets)
            << c.what;
    }
}

TEST(VeneerGrading, DefectsInLineCountAsOne) {
    struct Case {
        std::vector<int> sectors; // knots up the log, in table order
        int angle;                // largest in-line angle, degrees
        bool inLineFlag;
        int maxDefects;
        bool meets;
    };
    const std::vector<Case> cases = {
        {{10, 12, 13}, 30, true, 1, true},      // one group
        {{10, 12, 13, 20}, 30, true, 1, false}, // 20 counts as a second
        {{10, 12, 13, 20}, 30, true, 2, true},
        {{10, 12, 13, 20, 14}, 30, true, 2, false}, // 14 lies in the window: counted
        {{35, 1}, 20, true, 1, true},               // 2 apart across sector 0
        {{1, 35}, 20, true, 1, true},
        {{10, 12}, 10, true, 1, false}, // a window of one sector
        {{10, 11}, 10, true, 1, true},  // 10 degrees make a window of one sector
        {{10, 11}, 9, true, 1, false},  // 9 degrees make none: the second counts
        {{10, 12}, 20, true, 1, true},
        {{10, 12}, 19, true, 1, false},
        {{10, 12, 13}, 30, false, 1, false}, // the length's flag is off: all count
        {{10, 10}, 0, true, 1, true},        // the same sector is in line even with window 0
        {{10, 14, 12}, 40, true, 1, false},  // 12 lies strictly inside the window: counted
    };
    for (const Case& c : cases) {
        auto tree = StraightTree(400, 20, 20);
        int position = 20;
        for (const int sector : c.sectors) {
            test::AddKnot(*tree, position, sector, 1);
            position += 30;
        }
        test::Map(*tree);
        const bool meets = Meets(*tree, [&](VeneerGradeRules& g) {
            g.MaxInLineAngle = static_cast<std::uint8_t>(c.angle);
            g.InLineCountsAsOne[16 - 8] = c.inLineFlag ? 1 : 0;
            g.MaxDefects = static_cast<std::uint8_t>(c.maxDefects);
        });
        EXPECT_EQ(meets, c.meets) << c.sectors.size() << " knots, angle " << c.angle;
    }
}

TEST(VeneerGrading, HalvesSeamsAndKnotSizes) {
    struct Case {
        const char* what;
        std::function<void(Tree&)> defects;
        bool halves;
        bool meets;
    };
    // Limits: one defect per count, by length (16 ft).
    const std::vector<Case> cases = {
        {"a knot in each half",
         [](Tree& t) {
             test::AddKnot(t, 50, 3, 1);
             test::AddKnot(t, 150, 20, 1);
         },
         true, true},
        {"the same knots in one count",
         [](Tree& t) {
             test::AddKnot(t, 50, 3, 1);
             test::AddKnot(t, 150, 20, 1);
         },
         false, false},
        {"knot at the half-way inch is in the lower half",
         [](Tree& t) {
             test::AddKnot(t, 100, 3, 1);
             test::AddKnot(t, 150, 20, 1);
         },
         true, true},
        {"two knots in the lower half",
         [](Tree& t) {
             test::AddKnot(t, 50, 3, 1);
             test::AddKnot(t, 90, 20, 1);
         },
         true, false},
        {"a short straight seam counts in both halves",
         [](Tree& t) { test::AddSeam(t, 80, 5, 104, 5); }, true, true},
        {"seam and a knot in a half",
         [](Tree& t) {
             test::AddSeam(t, 80, 5, 104, 5);
             test::AddKnot(t, 150, 20, 1);
         },
         true, false},
        {"seam of 25 inches is over 2 ft", [](Tree& t) { test::AddSeam(t, 80, 5, 105, 5); }, true,
         false},
        {"spiral seam", [](Tree& t) { test::AddSeam(t, 80, 5, 90, 6); }, true, false},
        {"seam running out of the top: 20 inches inside",
         [](Tree& t) { test::AddSeam(t, 180, 5, 300, 5); }, true, true},
        {"knot 4 inches wide", [](Tree& t) { test::AddKnot(t, 50, 3, 4); }, true, false},
        {"big knot just above the log",
         [](Tree& t) { test::AddSurface(t, DefectKind::Knot, 203, 3, 4, 4); }, true, true},
        {"big knot reaching into the log",
         [](Tree& t) { test::AddSurface(t, DefectKind::Knot, 202, 3, 4, 4); }, true, false},
    };
    for (const Case& c : cases) {
        auto tree = StraightTree(400, 20, 20);
        c.defects(*tree);
        test::Map(*tree);
        const bool meets = Meets(*tree, [&](VeneerGradeRules& g) {
            g.HalvesSeparate[16 - 8] = c.halves ? 1 : 0;
            g.DefectsVaryWithLength = 1;
            g.MaxDefectsForLength[16 - 8] = 1;
        });
        EXPECT_EQ(meets, c.meets) << c.what;
    }
    // With halves counted separately and neither diameter nor length setting the limit, the
    // general maximum does not apply.
    auto many = StraightTree(400, 20, 20);
    for (int k = 0; k < 6; ++k) {
        test::AddKnot(*many, 20 + 30 * k, 5 * k, 1);
    }
    test::Map(*many);
    EXPECT_TRUE(Meets(*many, [](VeneerGradeRules& g) {
        g.HalvesSeparate[16 - 8] = 1;
        g.MaxDefects = 0;
    }));
    EXPECT_FALSE(Meets(*many, [](VeneerGradeRules& g) { g.MaxDefects = 5; }));
    EXPECT_FALSE(Meets(*many, [](VeneerGradeRules& g) {
        g.DefectsVaryWithDiameter = 1;
        g.MaxDefectsForDiameter[20 - 9] = 5;
    }));
}

// Grades 1 to 3 allow knots of 1 to 3 inches. Among `count` knots, the one at table index `at`
// lies in the log with `size`; of the others, every second lies in the log (1 inch) and the
// rest above it. Around the knot scan's steps of eight, traced and untraced, a grade is met
// exactly when that knot is within its size, and a knot too large for all ends no grade early.
TEST(VeneerGrading, KnotSizesWhereverTheKnotLies) {
    auto market = TestMarket();
    for (int g = 1; g <= 3; ++g) {
        VeneerGradeRules grade = test::OpenVeneerGrade(3, 100);
        grade.MaxKnotSize = static_cast<std::uint8_t>(g);
        test::SetVeneerGrade(*market, g, grade);
    }
    struct Case {
        int count;
        int at;
        int size;
    };
    const std::vector<Case> cases = {
        {1, 0, 4},  {7, 6, 2},  {8, 0, 3},   {8, 7, 4},   {9, 8, 1},   {9, 3, 4},
        {16, 7, 2}, {16, 8, 4}, {17, 16, 4}, {17, 16, 3}, {23, 15, 1}, {24, 23, 4},
    };
    for (const Case& c : cases) {
        auto tree = StraightTree(400, 20, 20);
        for (int k = 0; k < c.count; ++k) {
            const int sector = (7 * k) % 36;
            if (k == c.at) {
                test::AddKnot(*tree, 100, sector, c.size);
            } else {
                test::AddKnot(*tree, k % 2 == 1 ? 20 + 5 * k : 300 + 2 * k, sector, 1);
            }
        }
        test::Map(*tree);
        LogEvaluator evaluator(*tree, *market);
        const LogSegment plain = evaluator.EvaluateLog(0, 200).Segment;
        const LogSegment traced = evaluator.ExplainLog(0, 200).Log.Segment;
        std::array<std::uint8_t, 3> expected{};
        for (int g = 1; g <= 3; ++g) {
            expected[static_cast<std::size_t>(g - 1)] = c.size <= g ? 1 : 0;
        }
        const int best = c.size <= 3 ? std::max(c.size, 1) : kNoGrade;
        EXPECT_EQ(plain.VeneerGradeMet, expected) << c.count << " knots, at " << c.at;
        EXPECT_EQ(plain.VeneerGrade, best) << c.count << " knots, at " << c.at;
        EXPECT_EQ(traced.VeneerGradeMet, expected) << c.count << " knots, at " << c.at;
        EXPECT_EQ(traced.VeneerGrade, best) << c.count << " knots, at " << c.at;
    }
}

TEST(VeneerGrading, TheBestGradeMetWins) {
    auto market = TestMarket();
    for (int g = 1; g <= 3; ++g) {
        test::SetVeneerGrade(*market, g, test::OpenVeneerGrade(3, 8));
    }
    test::EditVeneer(*market, [](VeneerRuleSet& r) {
        r.GradeBlock(1).MinSmallEndDiameter = 22; // grade 1 out of reach
    });
    auto tree = StraightTree(400, 20, 20);
    LogSegment s = test::Evaluate(*tree, *market, 0, 200).Segment;
    EXPECT_EQ(s.VeneerGrade, 2);
    EXPECT_EQ(s.VeneerGradeMet, (std::array<std::uint8_t, 3>{0, 1, 1}));
    test::EditVeneer(*market, [](VeneerRuleSet& r) {
        r.GradeBlock(1).GradeCount = 1; // only grade 1 is tried
    });
    s = test::Evaluate(*tree, *market, 0, 200).Segment;
    EXPECT_EQ(s.VeneerGrade, kNoGrade);
}

} // namespace
} // namespace varnok
