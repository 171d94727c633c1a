#include "app/TreeCoach.h"

#include <QMetaObject>

#include <exception>

namespace varnok::app {

TreeCoach::TreeCoach(QObject* parent) : QObject(parent) {}

TreeCoach::~TreeCoach() {
    for (auto& [build, thread] : threads_) {
        thread.join();
    }
}

void TreeCoach::Start(std::shared_ptr<const Tree> tree, const Market& market) {
    Stop();
    JoinEnded();
    auto build = std::make_shared<Build>();
    build->TheTree = std::move(tree);
    build->TheMarket = market;
    building_ = true;
    const std::uint64_t generation = generation_;
    threads_.emplace_back(build,
                          std::thread([this, build, generation] { Run(build, generation); }));
}

void TreeCoach::Stop() {
    ++generation_;
    ready_.reset();
    building_ = false;
}

// On the build's thread: it touches nothing but its own build until it hands the end over.
void TreeCoach::Run(const std::shared_ptr<Build>& build, std::uint64_t generation) {
    QString failure;
    try {
        build->TheCoach = std::make_unique<Coach>(*build->TheTree, build->TheMarket);
    } catch (const std::exception& error) {
        failure = QString::fromStdString(error.what());
    }
    QMetaObject::invokeMethod(
        this, [this, build, generation, failure] { Finish(build, generation, failure); },
        Qt::QueuedConnection);
    build->Ended = true;
}

void TreeCoach::Finish(const std::shared_ptr<Build>& build, std::uint64_t generation,
                       const QString& failure) {
    JoinEnded();
    if (generation != generation_) {
        return; // a later tree, market or stop
    }
    building_ = false;
    if (!failure.isEmpty()) {
        emit Failed(failure);
        return;
    }
    ready_ = build;
    emit Built();
}

void TreeCoach::JoinEnded() {
    for (auto it = threads_.begin(); it != threads_.end();) {
        if (it->first->Ended) {
            it->second.join();
            it = threads_.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace varnok::app
