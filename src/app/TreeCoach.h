#pragma once

#include "coach/Coach.h"
#include "market/Market.h"
#include "tree/Tree.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace varnok::app {

// The coach of the tree in play, built on a thread of its own (one optimisation's work) so that
// the stem shows at once. Each build owns the tree it was given and a copy of the market, so a
// new tree or market, or the window closing, while a build runs is safe: a build started before
// the last Start or Stop is dropped when it ends, and the destructor waits for builds still
// running. The coach handed out is used on the window's thread only.
class TreeCoach : public QObject {
    Q_OBJECT

public:
    explicit TreeCoach(QObject* parent);
    ~TreeCoach() override;

    // Builds the coach of `tree` under `market` (copied); the coach held so far is dropped at
    // once.
    void Start(std::shared_ptr<const Tree> tree, const Market& market);
    // Drops the coach held and any build in progress.
    void Stop();
    // The coach once built, else null.
    Coach* Ready() const { return ready_ ? ready_->TheCoach.get() : nullptr; }
    bool Building() const { return building_; }

signals:
    // After Start, once: the coach is Ready(), or its build failed with `message`.
    void Built();
    void Failed(const QString& message);

private:
    struct Build {
        std::shared_ptr<const Tree> TheTree;
        Market TheMarket;
        std::unique_ptr<Coach> TheCoach;
        std::atomic<bool> Ended{false};
    };

    void Run(const std::shared_ptr<Build>& build, std::uint64_t generation);
    void Finish(const std::shared_ptr<Build>& build, std::uint64_t generation,
                const QString& failure);
    void JoinEnded();

    std::shared_ptr<Build> ready_;
    std::uint64_t generation_ = 0; // of the last Start or Stop
    bool building_ = false;
    std::vector<std::pair<std::shared_ptr<Build>, std::thread>> threads_;
};

} // namespace varnok::app
