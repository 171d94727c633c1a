#include "tracking/TrackingSession.h"
#include "TrackingFixtures.h"
#include "support/Errors.h"
#include "tracking/TrackingStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace varnok {
namespace {

using test::ExpectSameLog;
using test::Pattern;

void ExpectEmptyPattern(const TrackingResultStore& store, int user, int position,
                        PatternKind kind) {
    for (int k = 1; k <= kTrackedLogSlots; ++k) {
        SCOPED_TRACE("log " + std::to_string(k));
        ExpectSameLog(store.Slot(user, position, kind, k), EmptyTrackedLog());
    }
}

TEST(TrackingStore, AnEmptySlotIsAZeroCullRecordWithABlankUnit) {
    TrackedLog empty; // all zero
    empty.Unit = " ";
    empty.ProductClass = 10;
    ExpectSameLog(EmptyTrackedLog(), empty);
    const TrackingResultStore store;
    ExpectEmptyPattern(store, 5, 10, PatternKind::Bucker);
    EXPECT_TRUE(store.RecordedLogs(1, 1, PatternKind::Optimal).empty());
}

TEST(TrackingStore, PiecesKeepTheirSlotsAndARecordReplacesThePattern) {
    TrackingResultStore store;
    // A short piece between two logs and the piece left at the top: their slots stay empty.
    store.RecordPattern(
        2, 3, PatternKind::Bucker,
        Pattern({{.Index = 1, .ProductClass = 4, .Volume = 120, .Value = 36},
                 {.Index = 2, .ProductClass = 10, .Value = 1.5F, .Length = 90, .Graded = false},
                 {.Index = 3, .ProductClass = 7, .Volume = 14.5F, .Value = 6},
                 {.Index = 4, .ProductClass = 10, .Volume = 9, .Value = 2.5F},
                 {.Index = 5, .ProductClass = 10, .Value = 0.75F, .Length = 40, .Graded = false}}));
    EXPECT_EQ(store.ShortPieceCharge(2, 3, PatternKind::Bucker), 2.25F);
    const std::vector<TrackedLog> logs = store.RecordedLogs(2, 3, PatternKind::Bucker);
    ASSERT_EQ(logs.size(), 3U);
    EXPECT_EQ(logs[0].LogIndex, 1);
    EXPECT_EQ(logs[1].LogIndex, 3);
    EXPECT_EQ(logs[2].LogIndex, 4);
    EXPECT_EQ(logs[0].Unit, "mbf");
    EXPECT_EQ(logs[1].Unit, "ft3");
    EXPECT_EQ(logs[2].Unit, "ft3");
    EXPECT_EQ(logs[2].Value, 2.5F);
    ExpectSameLog(store.Slot(2, 3, PatternKind::Bucker, 3), logs[1]);
    ExpectSameLog(store.Slot(2, 3, PatternKind::Bucker, 2), EmptyTrackedLog());
    ExpectSameLog(store.Slot(2, 3, PatternKind::Bucker, 5), EmptyTrackedLog());

    // The same bucker and tree again with fewer logs: nothing of the first pattern remains,
    // and the other patterns are untouched.
    store.RecordPattern(2, 3, PatternKind::Optimal,
                        Pattern({{.Index = 1, .Volume = 200, .Value = 60}}));
    store.RecordPattern(2, 4, PatternKind::Bucker,
                        Pattern({{.Index = 1, .Volume = 80, .Value = 20}}));
    store.RecordPattern(
        2, 3, PatternKind::Bucker,
        Pattern({{.Index = 1, .ProductClass = 10, .Value = 0.5F, .Length = 60, .Graded = false},
                 {.Index = 2, .Volume = 150, .Value = 45}}));
    EXPECT_EQ(store.ShortPieceCharge(2, 3, PatternKind::Bucker), 0.5F);
    const std::vector<TrackedLog> again = store.RecordedLogs(2, 3, PatternKind::Bucker);
    ASSERT_EQ(again.size(), 1U);
    EXPECT_EQ(again[0].LogIndex, 2);
    EXPECT_EQ(again[0].Value, 45.0F);
    for (const int k : {1, 3, 4}) {
        ExpectSameLog(store.Slot(2, 3, PatternKind::Bucker, k), EmptyTrackedLog());
    }
    EXPECT_EQ(store.RecordedLogs(2, 3, PatternKind::Optimal).size(), 1U);
    EXPECT_EQ(store.RecordedLogs(2, 4, PatternKind::Bucker).size(), 1U);

    // A single slot is written as given.
    TrackedLog log = EmptyTrackedLog();
    log.LED = 14;
    log.Unit = "mbf";
    store.RecordTrackedLog(5, 10, PatternKind::Optimal, 26, log);
    ExpectSameLog(store.Slot(5, 10, PatternKind::Optimal, 26), log);

    store.ClearTrackingResultStore();
    for (int user = 1; user <= kMaxBuckers; ++user) {
        for (int position = 1; position <= kMaxTrackedTrees; ++position) {
            for (const PatternKind kind : {PatternKind::Optimal, PatternKind::Bucker}) {
                EXPECT_TRUE(store.RecordedLogs(user, position, kind).empty());
            }
        }
    }
    ExpectEmptyPattern(store, 2, 3, PatternKind::Bucker);
    EXPECT_EQ(store.ShortPieceCharge(2, 3, PatternKind::Bucker), 0.0F);
}

TEST(TrackingStore, IndicesOutOfRangeAreRefused) {
    struct Case {
        int user;
        int position;
        int log;
    };
    const std::vector<Case> cases = {{0, 1, 1},  {6, 1, 1}, {1, 0, 1},
                                     {1, 11, 1}, {1, 1, 0}, {1, 1, 27}};
    TrackingResultStore store;
    const TrackedLog log = EmptyTrackedLog();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.user) + "/" + std::to_string(c.position) + "/" +
                     std::to_string(c.log));
        EXPECT_THROW(store.RecordTrackedLog(c.user, c.position, PatternKind::Bucker, c.log, log),
                     VarnokError);
        EXPECT_THROW((void)store.Slot(c.user, c.position, PatternKind::Optimal, c.log),
                     VarnokError);
        if (c.log == 1) {
            EXPECT_THROW((void)store.RecordedLogs(c.user, c.position, PatternKind::Optimal),
                         VarnokError);
            EXPECT_THROW(store.RecordPattern(c.user, c.position, PatternKind::Optimal, {}),
                         VarnokError);
        }
    }
    // A pattern with a piece beyond the 26th slot changes nothing, not even its first slots.
    store.RecordPattern(1, 1, PatternKind::Bucker, Pattern({{.Index = 1, .Value = 10}}));
    EXPECT_THROW(store.RecordPattern(1, 1, PatternKind::Bucker,
                                     Pattern({{.Index = 1, .Value = 99}, {.Index = 27}})),
                 VarnokError);
    ASSERT_EQ(store.RecordedLogs(1, 1, PatternKind::Bucker).size(), 1U);
    EXPECT_EQ(store.RecordedLogs(1, 1, PatternKind::Bucker)[0].Value, 10.0F);
}

TEST(TrackingSession, OnlyTheTrackingModesAndTheirBuckerCounts) {
    for (const GameMode mode : {GameMode::Idle, GameMode::Buck, GameMode::BuckWithOptimal}) {
        EXPECT_THROW(TrackingSession{mode}, VarnokError);
    }
    TrackingSession single(GameMode::Tracking);
    EXPECT_EQ(single.Mode(), GameMode::Tracking);
    EXPECT_EQ(single.UserCount(), 1);
    EXPECT_THROW(single.SetUserCount(2), VarnokError);
    single.SetUserCount(1);

    TrackingSession group(GameMode::GroupTracking);
    for (const int bad : {0, 6, -1}) {
        EXPECT_THROW(group.SetUserCount(bad), VarnokError);
    }
    EXPECT_EQ(group.UserCount(), 1);
    group.SetUserCount(5);
    EXPECT_EQ(group.UserCount(), 5);
    EXPECT_EQ(group.CurrentUser(), 1);

    // Nothing to buck before the trees are drawn.
    EXPECT_FALSE(group.TreesDrawn());
    EXPECT_EQ(group.TreeCount(), 0);
    EXPECT_EQ(group.CurrentPosition(), 0);
    EXPECT_EQ(group.ProgressText(), "0 of 0");
    EXPECT_EQ(group.Button(), TrackingButton::NextTree);
    EXPECT_THROW((void)group.CurrentTree(), VarnokError);
    EXPECT_THROW(group.Advance(), VarnokError);
    EXPECT_THROW(group.Record(PatternKind::Bucker, Pattern({{.Index = 1}})), VarnokError);
}

TEST(TrackingSession, EveryBuckerBucksEveryTreeInOrder) {
    struct Turn {
        TrackingButton button;
        int user;
        std::string progress;
    };
    struct Case {
        std::vector<int> trees;
        int buckers;
        std::vector<Turn> turns; // one per tree loaded
    };
    using enum TrackingButton;
    const std::vector<Case> cases = {
        {{57}, 1, {{ViewPerformance, 1, "1 of 1"}}},
        {{57},
         3,
         {{NextUser, 1, "1 of 1"}, {NextUser, 2, "1 of 1"}, {ViewPerformance, 3, "1 of 1"}}},
        {{12, 150, 1},
         2,
         {{NextTree, 1, "1 of 3"},
          {NextTree, 1, "2 of 3"},
          {NextUser, 1, "3 of 3"},
          {NextTree, 2, "1 of 3"},
          {NextTree, 2, "2 of 3"},
          {ViewPerformance, 2, "3 of 3"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.trees.size()) + " trees, " + std::to_string(c.buckers) +
                     " buckers");
        TrackingSession session(GameMode::GroupTracking);
        session.SetUserCount(c.buckers);
        session.SetTrees(c.trees);
        EXPECT_TRUE(session.TreesDrawn());
        EXPECT_EQ(session.Trees(), c.trees);
        for (std::size_t k = 0; k < c.turns.size(); ++k) {
            SCOPED_TRACE("turn " + std::to_string(k + 1));
            const Turn& turn = c.turns[k];
            if (k > 0) {
                session.Advance();
            }
            EXPECT_EQ(session.Button(), turn.button);
            EXPECT_EQ(session.CurrentUser(), turn.user);
            EXPECT_EQ(session.ProgressText(), turn.progress);
            const int position = session.CurrentPosition();
            EXPECT_EQ(turn.progress,
                      std::to_string(position) + " of " + std::to_string(c.trees.size()));
            EXPECT_EQ(session.CurrentTree(), c.trees[static_cast<std::size_t>(position - 1)]);
        }
        EXPECT_THROW(session.Advance(), VarnokError);
        EXPECT_EQ(session.Button(), ViewPerformance);
    }
    EXPECT_STREQ(TrackingButtonCaption(NextTree), "Next Tree");
    EXPECT_STREQ(TrackingButtonCaption(NextUser), "Next User");
    EXPECT_STREQ(TrackingButtonCaption(ViewPerformance), "View Performance");
}

TEST(TrackingSession, RecordsForTheBuckerAndTreeInPlay) {
    TrackingSession session(GameMode::GroupTracking);
    session.SetUserCount(2);
    session.SetTrees({7, 8});
    session.Advance();
    session.Advance(); // bucker 2, position 1
    session.Advance(); // bucker 2, position 2
    session.Record(PatternKind::Optimal, Pattern({{.Index = 1, .Value = 50}}));
    session.Record(PatternKind::Bucker, Pattern({{.Index = 2, .Value = 40}}));
    const TrackingResultStore& store = session.Results();
    EXPECT_EQ(store.Slot(2, 2, PatternKind::Optimal, 1).Value, 50.0F);
    EXPECT_EQ(store.Slot(2, 2, PatternKind::Bucker, 2).Value, 40.0F);
    for (const auto& [user, position] : {std::pair{1, 1}, {1, 2}, {2, 1}}) {
        EXPECT_TRUE(store.RecordedLogs(user, position, PatternKind::Optimal).empty());
        EXPECT_TRUE(store.RecordedLogs(user, position, PatternKind::Bucker).empty());
    }

    // Bad tree lists leave the session as it was.
    const std::vector<std::vector<int>> bad = {
        {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {0}, {151}, {3, 9, 3}};
    for (const std::vector<int>& trees : bad) {
        EXPECT_THROW(session.SetTrees(trees), VarnokError);
    }
    EXPECT_EQ(session.Trees(), (std::vector<int>{7, 8}));
    EXPECT_EQ(session.CurrentUser(), 2);
    EXPECT_EQ(session.CurrentPosition(), 2);
    EXPECT_EQ(store.RecordedLogs(2, 2, PatternKind::Bucker).size(), 1U);

    // New trees start the bucking afresh.
    session.SetTrees({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(session.CurrentUser(), 1);
    EXPECT_EQ(session.CurrentPosition(), 1);
    EXPECT_EQ(session.ProgressText(), "1 of 10");
    EXPECT_TRUE(store.RecordedLogs(2, 2, PatternKind::Bucker).empty());
}

TEST(TrackingTrees, DrawsDistinctTreesUniformlyFromTheWholeSet) {
    std::set<int> seen;
    for (int count = 1; count <= kMaxTrackedTrees; ++count) {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            std::mt19937 generator(seed * 7919U + static_cast<unsigned>(count));
            const std::vector<int> trees = DrawTrackingTrees(count, generator);
            ASSERT_EQ(trees.size(), static_cast<std::size_t>(count));
            const std::set<int> distinct(trees.begin(), trees.end());
            EXPECT_EQ(distinct.size(), trees.size());
            EXPECT_GE(*distinct.begin(), 1);
            EXPECT_LE(*distinct.rbegin(), 150);
            seen.insert(trees.begin(), trees.end());
        }
    }
    // 2200 draws reach every tree, the first and the last included.
    EXPECT_EQ(seen.size(), 150U);

    std::mt19937 first(20261208U);
    std::mt19937 second(20261209U);
    EXPECT_NE(DrawTrackingTrees(10, first), DrawTrackingTrees(10, second));
    // The generator goes on, so a second session of the same generator draws afresh.
    EXPECT_NE(DrawTrackingTrees(10, first), DrawTrackingTrees(10, first));

    for (const int bad : {0, 11}) {
        EXPECT_THROW((void)DrawTrackingTrees(bad, first), VarnokError);
    }
}

} // namespace
} // namespace varnok
