#pragma once

#include "game/Bucking.h"
#include "game/PatternEvaluation.h"
#include "tracking/TrackingStore.h"

#include <random>
#include <string>
#include <vector>

namespace varnok {

enum class TrackingButton { NextTree, NextUser, ViewPerformance };

// "Next Tree", "Next User", "View Performance"
const char* TrackingButtonCaption(TrackingButton button);

// count (1..10) distinct tree numbers from 1..150 drawn uniformly with `generator`, in order.
// Throws VarnokError for a count outside 1..10.
std::vector<int> DrawTrackingTrees(int count, std::mt19937& generator);

// One tracking session: its buckers, its trees, whose turn it is, and the logs recorded.
// Every bucker bucks every tree in order; then the next bucker starts again at the first tree.
class TrackingSession {
public:
    // mode must be GameMode::Tracking (UserCount 1) or GameMode::GroupTracking; throws
    // VarnokError otherwise.
    explicit TrackingSession(GameMode mode);

    GameMode Mode() const;
    int UserCount() const;
    // 1..5; throws otherwise, and in mode Tracking for count != 1. The turn goes back to
    // bucker 1 (at position 1 once the trees are drawn).
    void SetUserCount(int count);
    int CurrentUser() const; // 1..UserCount
    bool TreesDrawn() const; // the session flag (no button caption)
    // 1..10 distinct numbers 1..150; throws otherwise, leaving the session as it was.
    // Position 1, user 1, and the store emptied: the bucking starts afresh.
    void SetTrees(std::vector<int> trees);
    int TreeCount() const; // 0 before SetTrees
    const std::vector<int>& Trees() const;
    int CurrentPosition() const; // 1..TreeCount once drawn, 0 before
    int CurrentTree() const;     // Trees()[CurrentPosition() - 1]; throws VarnokError before drawn
    TrackingButton Button() const;    // what the progress button reads now
    std::string ProgressText() const; // "0 of 0" before the trees are drawn, then "n of count"

    // The progress button's step once the tree in play is recorded: the next tree of this
    // bucker, or the next bucker at position 1. Throws VarnokError when Button() is
    // ViewPerformance, or before the trees are drawn.
    void Advance();

    // Records the evaluated pattern of the tree in play for the current bucker and position
    // (RecordPattern: the slots are cleared first). Throws VarnokError before the trees are
    // drawn.
    void Record(PatternKind kind, const PatternEvaluation& evaluation);

    const TrackingResultStore& Results() const;

private:
    GameMode mode_;
    int userCount_ = 1;
    int currentUser_ = 1;
    std::vector<int> trees_;
    int position_ = 0;
    TrackingResultStore results_;
};

} // namespace varnok
