#include "engine/detail/Scaling.h"
#include "EngineFixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace varnok {
namespace {

using test::StraightTree;
using test::TestMarket;

TEST(NominalLength, ThresholdsFollowTheTrim) {
    struct Case {
        int trim;
        int inches;
        int feet;
    };
    const Case cases[] = {{4, 99, 0},   {4, 100, 8},  {4, 123, 8},   {4, 124, 10}, {4, 196, 16},
                          {4, 250, 16}, {8, 103, 0},  {8, 104, 8},   {8, 151, 10}, {8, 152, 12},
                          {8, 199, 14}, {8, 200, 16}, {8, 2400, 16}, {8, 4, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(LogLengthSet::FromTrim(c.trim).NominalFeet(c.inches), c.feet)
            << c.trim << " " << c.inches;
    }
    // Lengths out of order (a damaged record): the last of the five that is reached decides.
    LogLengthSet unordered;
    unordered.Lengths = {104, 200, 128, 176, 152};
    const std::array<std::pair<int, int>, 5> reached = {
        {{103, 0}, {130, 12}, {160, 16}, {180, 16}, {201, 16}}};
    for (const auto& [inches, feet] : reached) {
        EXPECT_EQ(unordered.NominalFeet(inches), feet) << inches;
    }
    unordered.Lengths = {104, 128, 152, 176, 250};
    EXPECT_EQ(unordered.NominalFeet(240), 14);
}

TEST(Sweep, DeductionThresholdsByLength) {
    struct Case {
        int length;   // inches, trim 8
        float offset; // centre offset at mid-log, inches
        float sweep;
        float deduction;
    };
    const Case cases[] = {
        {152, 2.0F, 2.0F, 0.0F}, // 12 ft: sweep under 3 costs nothing
        {152, 3.0F, 3.0F, 0.1F}, // (3 - 2) / 10
        {128, 2.0F, 2.0F, 0.1F}, // 10 ft: (2 - 1) / 10
        {128, 1.0F, 1.0F, 0.0F}, {128, 1.4F, 1.0F, 0.0F},
        {128, 2.5F, 2.0F, 0.1F},                            // 2.5 rounds to even
        {128, 3.5F, 4.0F, 0.3F}, {104, 12.0F, 12.0F, 1.0F}, // capped
    };
    const auto market = TestMarket();
    for (const Case& c : cases) {
        auto tree = StraightTree(400, 10, 10);
        test::AddBend(*tree, 100 + c.length / 2, c.offset, 20);
        test::Map(*tree);
        const LogSegment s = test::Evaluate(*tree, *market, 100, 100 + c.length).Segment;
        EXPECT_EQ(s.Sweep, c.sweep) << c.length << " " << c.offset;
        EXPECT_FLOAT_EQ(s.SweepDeduction, c.deduction) << c.length << " " << c.offset;
        EXPECT_FLOAT_EQ(s.Deduction, c.deduction);
    }
    // A bend outside the log, or at its ends, is not its sweep.
    auto tree = StraightTree(400, 10, 10);
    test::AddBend(*tree, 300, 5.0F, 10);
    const LogSegment s = test::Evaluate(*tree, *market, 0, 200).Segment;
    EXPECT_EQ(s.Sweep, 0.0F);
}

TEST(Decay, CountsByHowItMeetsTheLogEnds) {
    struct Case {
        int from, to, diameter;
        double expected; // added deduction on the log 0..200 with SED 20
    };
    const double f4 = 25.0 / 361.0; // (4 + 1)^2 / (20 - 1)^2
    const Case cases[] = {
        {30, 400, 4, f4 * 170.0 / 200.0}, // starts inside, runs out of the top
        {50, 150, 4, 0.0},                // inside, shows at neither end
        {0, 300, 4, f4},                  // covers the whole log
        {0, 100, 4, f4 * 100.0 / 200.0},  // starts below, ends inside
        {250, 400, 4, 0.0},               // beyond the log
        {0, 300, 30, 1.0},                // capped at 1
    };
    const auto market = TestMarket();
    for (const Case& c : cases) {
        auto tree = StraightTree(400, 20, 20);
        test::AddEnd(*tree, DefectKind::Decay, c.from, c.to, c.diameter, c.diameter);
        test::Map(*tree);
        const LogSegment s = test::Evaluate(*tree, *market, 0, 200).Segment;
        EXPECT_NEAR(s.Deduction, c.expected, 1e-6) << c.from << "-" << c.to;
    }
    // The factor is read at the middle of the affected part: decay narrowing from 10 to 0 over
    // 0..100 is 5 at inch 50.
    auto tree = StraightTree(400, 20, 20);
    test::AddEnd(*tree, DefectKind::Decay, 0, 100, 10, 0);
    test::Map(*tree);
    const LogSegment s = test::Evaluate(*tree, *market, 0, 200).Segment;
    const int middle = tree->DecayProfile[50];
    EXPECT_NEAR(s.Deduction, (middle + 1.0) * (middle + 1.0) / 361.0 * 0.5, 1e-6);
}

TEST(ForksAndBulges, ShareOfTheLogTheyCover) {
    struct Case {
        DefectKind kind;
        int from, to;
        double expected; // on the log 100..300
    };
    const Case cases[] = {
        {DefectKind::Fork, 50, 400, 1.0},   {DefectKind::Fork, 150, 200, 0.25},
        {DefectKind::Fork, 250, 400, 0.25}, {DefectKind::Bulge, 50, 150, 0.25},
        {DefectKind::Bulge, 200, 150, 0.0}, {DefectKind::Fork, 300, 400, 0.0},
        {DefectKind::Fork, 0, 50, 0.0},
    };
    const auto market = TestMarket();
    for (const Case& c : cases) {
        auto tree = StraightTree(400, 20, 20);
        test::AddSpan(*tree, c.kind, c.from, c.to);
        test::Map(*tree);
        const LogSegment s = test::Evaluate(*tree, *market, 100, 300).Segment;
        EXPECT_NEAR(s.Deduction, c.expected, 1e-7) << c.from << "-" << c.to;
    }
    // A fork over the whole log leaves nothing to scale.
    auto tree = StraightTree(400, 20, 20);
    test::AddSpan(*tree, DefectKind::Fork, 0, 400);
    test::AddSpan(*tree, DefectKind::Fork, 150, 200);
    test::Map(*tree);
    const EvaluatedLog log = test::Evaluate(*tree, *market, 100, 300);
    EXPECT_EQ(log.Segment.Deduction, 1.0F);
    EXPECT_EQ(log.NetScale, 0);
    EXPECT_EQ(log.CubicVolume, 0.0F);
}

TEST(Seams, AffectedStretchAndSectors) {
    struct Case {
        int from, sector, to, endSector;
        double expected; // on the log 0..200
    };
    const Case cases[] = {
        {20, 5, 160, 5, 200.0 / 200.0 / 36.0},       // within 48 inches of both ends
        {60, 5, 100, 5, 40.0 / 200.0 / 36.0},        // inside
        {60, 34, 100, 2, 40.0 / 200.0 * 5.0 / 36.0}, // across sector 0, 34..38
        {60, 2, 100, 34, 40.0 / 200.0 * 5.0 / 36.0},
        {100, 0, 200, 10, 100.0 / 200.0 * 11.0 / 36.0}, // sectors 0 at 100 and 10 at the top
        {250, 5, 300, 5, 0.0},
        // The 48-inch windows at the ends of the log 0..200: a seam starting at 47 is taken to
        // start at the butt, one at 48 starts where it does; one ending at 153 runs to the top,
        // one ending at 152 ends where it does.
        {47, 5, 100, 5, 100.0 / 200.0 / 36.0},
        {48, 5, 100, 5, 52.0 / 200.0 / 36.0},
        {100, 5, 153, 5, 100.0 / 200.0 / 36.0},
        {100, 5, 152, 5, 52.0 / 200.0 / 36.0},
    };
    const auto market = TestMarket();
    for (const Case& c : cases) {
        auto tree = StraightTree(400, 20, 20);
        test::AddSeam(*tree, c.from, c.sector, c.to, c.endSector);
        test::Map(*tree);
        const LogSegment s = test::Evaluate(*tree, *market, 0, 200).Segment;
        EXPECT_NEAR(s.Deduction, c.expected, 1e-7) << c.from << "-" << c.to;
    }
    // A seam ending 40 inches below the top of the log is taken to run to the top.
    auto tree = StraightTree(400, 20, 20);
    test::AddSeam(*tree, 100, 7, 160, 7);
    test::Map(*tree);
    const LogSegment s = test::Evaluate(*tree, *market, 0, 200).Segment;
    EXPECT_NEAR(s.Deduction, 100.0 / 200.0 / 36.0, 1e-7);
}

TEST(Scale, NetBoardFeetAndCubicVolume) {
    const auto market = TestMarket();
    auto tree = StraightTree(400, 24, 20);
    const EvaluatedLog log = test::Evaluate(*tree, *market, 0, 200);
    EXPECT_EQ(log.Segment.SED, 22);
    EXPECT_EQ(log.Segment.LED, 24);
    EXPECT_EQ(log.Segment.NominalLength, 16);
    EXPECT_EQ(log.NetScale, 324); // Doyle (22 - 4)^2
    LogSegment s = log.Segment;
    s.Deduction = 0.25F;
    EXPECT_EQ(detail::NetScale(market->LogRule, s), 243);
    s.Deduction = 0.1F;
    EXPECT_EQ(detail::NetScale(market->LogRule, s), 292); // 324 - round(32.4)
    for (const float none : {0.0F, -0.0F, 0.001F}) {      // no loss, or one that rounds away
        s.Deduction = none;
        EXPECT_EQ(detail::NetScale(market->LogRule, s), 324) << none;
    }
    s.Deduction = 1.0F;
    EXPECT_EQ(detail::NetScale(market->LogRule, s), 0);

    // Gross and deduction both round halves to even.
    auto odd = TestMarket();
    odd->LogRule.Entries[21].Volume[4] = 122.5;
    EXPECT_EQ(test::Evaluate(*tree, *odd, 0, 200).NetScale, 122);
    odd->LogRule.Entries[21].Volume[4] = 123.5;
    EXPECT_EQ(test::Evaluate(*tree, *odd, 0, 200).NetScale, 124);

    const EvaluatedLog small = test::Evaluate(*tree, *market, 0, 104);
    EXPECT_EQ(small.Segment.SED, 23);
    EXPECT_NEAR(small.CubicVolume, (3.14 + 3.14 * (23.0 / 24) * (23.0 / 24)) * 0.5 * 8, 1e-4);

    // Trim-only length: no nominal length, no scale, no volume.
    const EvaluatedLog stub = test::Evaluate(*tree, *market, 0, 100);
    EXPECT_EQ(stub.Segment.NominalLength, 0);
    EXPECT_FALSE(stub.Graded);
    EXPECT_EQ(stub.NetScale, 0);
    EXPECT_EQ(stub.CubicVolume, 0.0F);

    // Small-end diameters outside the log rule's rows scale to nothing.
    auto giant = StraightTree(400, 60, 55);
    const EvaluatedLog big = test::Evaluate(*giant, *market, 0, 200);
    EXPECT_GT(big.Segment.SED, 50);
    EXPECT_EQ(big.NetScale, 0);
    EXPECT_GT(big.CubicVolume, 0.0F);

    EXPECT_EQ(log.Segment.ButtLog, 1);
    EXPECT_EQ(test::Evaluate(*tree, *market, 200, 400).Segment.ButtLog, 0);
}

} // namespace
} // namespace varnok
