#include "app/market/MarketComputationPanel.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <exception>
#include <memory>
#include <optional>

namespace varnok::app {
namespace {

constexpr int kPollInterval = 100; // milliseconds

} // namespace

struct MarketComputationPanel::Outcome {
    std::optional<Market> Computed;
    std::string Error; // when nothing was computed
};

MarketComputationPanel::MarketComputationPanel(const DataFolder& data, QWidget* parent)
    : QFrame(parent), data_(data) {
    setObjectName("ProgressPanel");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    line_ = new QLineEdit(this);
    line_->setObjectName("ProgressLine");
    line_->setReadOnly(true);
    line_->setFocusPolicy(Qt::NoFocus);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar");
    bar_->setRange(0, kTreeCount);
    bar_->setFormat("%v of %m trees stored");
    bar_->setFixedWidth(260);
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("CancelComputation");
    layout->addWidget(line_, 1);
    layout->addWidget(bar_);
    layout->addWidget(cancel_);
    // The window looks at the computation's progress now and then rather than at every tree:
    // painting each of 150 trees that take a tenth of a second slowed the computation by a
    // third on two cores.
    poll_ = new QTimer(this);
    poll_->setInterval(kPollInterval);
    hide();
    connect(cancel_, &QPushButton::clicked, this, &MarketComputationPanel::Stop);
    connect(poll_, &QTimer::timeout, this, &MarketComputationPanel::ShowProgress);
}

MarketComputationPanel::~MarketComputationPanel() {
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
}

bool MarketComputationPanel::Start(const MarketDefinition& definition) {
    if (Busy()) {
        return false;
    }
    name_ = definition.Name;
    latestTree_ = 0;
    shownTree_ = 0;
    line_->clear();
    bar_->setValue(0);
    cancel_->setEnabled(true);
    show();
    poll_->start();
    thread_ = std::jthread(
        [this, definition](std::stop_token stop) { Run(definition, std::move(stop)); });
    return true;
}

void MarketComputationPanel::Stop() {
    if (Busy()) {
        thread_.request_stop();
        cancel_->setEnabled(false);
    }
}

// Touches nothing of the panel but the data folder, which does not change, and the latest
// tree; the end is handed to the window's thread.
void MarketComputationPanel::Run(const MarketDefinition& definition, std::stop_token stop) {
    auto outcome = std::make_shared<Outcome>();
    const MarketProgress progress = [this](int tree, int) { latestTree_ = tree; };
    try {
        outcome->Computed = ComputeMarket(data_, definition, 0, progress, std::move(stop));
    } catch (const std::exception& error) {
        outcome->Error = error.what();
    } catch (...) {
        outcome->Error = "The computation of market \"" + definition.Name + "\" failed.";
    }
    QMetaObject::invokeMethod(
        this, [this, outcome] { Finish(*outcome); }, Qt::QueuedConnection);
}

void MarketComputationPanel::ShowProgress() {
    const int tree = latestTree_;
    if (tree < 1 || tree == shownTree_) {
        return;
    }
    shownTree_ = tree;
    line_->setText(QString::fromStdString(MarketProgressText(tree, kTreeCount)));
    bar_->setValue(tree - 1); // the trees stored
}

void MarketComputationPanel::Finish(const Outcome& outcome) {
    thread_.join(); // it has nothing left to do
    poll_->stop();
    name_.clear();
    hide();
    if (outcome.Computed) {
        emit Computed(*outcome.Computed);
    } else {
        emit Failed(QString::fromStdString(outcome.Error));
    }
}

} // namespace varnok::app
