#include "tracking/TrackingSession.h"

#include "market/OptimalCuts.h"
#include "support/Errors.h"

#include <algorithm>
#include <utility>

namespace varnok {
namespace {

void CheckTrees(const std::vector<int>& trees) {
    if (trees.empty() || trees.size() > static_cast<std::size_t>(kMaxTrackedTrees)) {
        throw VarnokError("A tracking session has 1 to 10 trees, not " +
                          std::to_string(trees.size()) + ".");
    }
    for (std::size_t i = 0; i < trees.size(); ++i) {
        if (trees[i] < 1 || trees[i] > kTreeCount) {
            throw VarnokError("Tracking: tree " + std::to_string(trees[i]) +
                              " is outside 1 to 150.");
        }
        if (std::find(trees.begin(), trees.begin() + static_cast<std::ptrdiff_t>(i), trees[i]) !=
            trees.begin() + static_cast<std::ptrdiff_t>(i)) {
            throw VarnokError("Tracking: tree " + std::to_string(trees[i]) +
                              " is in the session twice.");
        }
    }
}

void RequireTrees(bool drawn) {
    if (!drawn) {
        throw VarnokError("The trees of the tracking session are not drawn yet.");
    }
}

} // namespace

const char* TrackingButtonCaption(TrackingButton button) {
    switch (button) {
    case TrackingButton::NextTree:
        return "Next Tree";
    case TrackingButton::NextUser:
        return "Next User";
    case TrackingButton::ViewPerformance:
        return "View Performance";
    }
    return "Next Tree";
}

std::vector<int> DrawTrackingTrees(int count, std::mt19937& generator) {
    if (count < 1 || count > kMaxTrackedTrees) {
        throw VarnokError("A tracking session has 1 to 10 trees, not " + std::to_string(count) +
                          ".");
    }
    std::uniform_int_distribution<int> tree(1, kTreeCount);
    std::vector<int> trees;
    while (trees.size() < static_cast<std::size_t>(count)) {
        const int drawn = tree(generator);
        if (std::find(trees.begin(), trees.end(), drawn) == trees.end()) {
            trees.push_back(drawn);
        }
    }
    return trees;
}

TrackingSession::TrackingSession(GameMode mode) : mode_(mode) {
    if (mode != GameMode::Tracking && mode != GameMode::GroupTracking) {
        throw VarnokError("A tracking session runs only in the two tracking modes.");
    }
}

GameMode TrackingSession::Mode() const {
    return mode_;
}

int TrackingSession::UserCount() const {
    return userCount_;
}

void TrackingSession::SetUserCount(int count) {
    if (count < 1 || count > kMaxBuckers) {
        throw VarnokError("A tracking session has 1 to 5 buckers, not " + std::to_string(count) +
                          ".");
    }
    if (mode_ == GameMode::Tracking && count != 1) {
        throw VarnokError("Tracking with one bucker cannot take " + std::to_string(count) +
                          " buckers.");
    }
    userCount_ = count;
    currentUser_ = 1;
    position_ = TreesDrawn() ? 1 : 0;
}

int TrackingSession::CurrentUser() const {
    return currentUser_;
}

bool TrackingSession::TreesDrawn() const {
    return !trees_.empty();
}

void TrackingSession::SetTrees(std::vector<int> trees) {
    CheckTrees(trees);
    trees_ = std::move(trees);
    currentUser_ = 1;
    position_ = 1;
    results_.ClearTrackingResultStore();
}

int TrackingSession::TreeCount() const {
    return static_cast<int>(trees_.size());
}

const std::vector<int>& TrackingSession::Trees() const {
    return trees_;
}

int TrackingSession::CurrentPosition() const {
    return position_;
}

int TrackingSession::CurrentTree() const {
    RequireTrees(TreesDrawn());
    return trees_[static_cast<std::size_t>(position_ - 1)];
}

TrackingButton TrackingSession::Button() const {
    if (!TreesDrawn() || position_ < TreeCount()) {
        return TrackingButton::NextTree;
    }
    return currentUser_ < userCount_ ? TrackingButton::NextUser : TrackingButton::ViewPerformance;
}

std::string TrackingSession::ProgressText() const {
    return std::to_string(position_) + " of " + std::to_string(TreeCount());
}

void TrackingSession::Advance() {
    RequireTrees(TreesDrawn());
    switch (Button()) {
    case TrackingButton::NextTree:
        ++position_;
        return;
    case TrackingButton::NextUser:
        ++currentUser_;
        position_ = 1;
        return;
    case TrackingButton::ViewPerformance:
        break;
    }
    throw VarnokError("Every bucker has bucked every tree of the session.");
}

void TrackingSession::Record(PatternKind kind, const PatternEvaluation& evaluation) {
    RequireTrees(TreesDrawn());
    results_.RecordPattern(currentUser_, position_, kind, evaluation);
}

const TrackingResultStore& TrackingSession::Results() const {
    return results_;
}

} // namespace varnok
