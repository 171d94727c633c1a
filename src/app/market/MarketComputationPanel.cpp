#include "app/market/MarketComputationPanel.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <exception>
#include <memory>
#include <optional>

namespace varnok::app {

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
    hide();
    connect(cancel_, &QPushButton::clicked, this, &MarketComputationPanel::Stop);
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
    line_->clear();
    bar_->setValue(0);
    cancel_->setEnabled(true);
    show();
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

// Touches nothing of the panel but the data folder, which does not change, and hands
// everything else to the window's thread.
void MarketComputationPanel::Run(const MarketDefinition& definition, std::stop_token stop) {
    auto outcome = std::make_shared<Outcome>();
    const MarketProgress progress = [this](int tree, int count) {
        QMetaObject::invokeMethod(
            this, [this, tree, count] { ShowProgress(tree, count); }, Qt::QueuedConnection);
    };
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

void MarketComputationPanel::ShowProgress(int treeNumber, int treeCount) {
    line_->setText(QString::fromStdString(MarketProgressText(treeNumber, treeCount)));
    bar_->setMaximum(treeCount);
    bar_->setValue(treeNumber - 1); // the trees stored
}

void MarketComputationPanel::Finish(const Outcome& outcome) {
    thread_.join(); // it has nothing left to do
    name_.clear();
    hide();
    if (outcome.Computed) {
        emit Computed(*outcome.Computed);
    } else {
        emit Failed(QString::fromStdString(outcome.Error));
    }
}

} // namespace varnok::app
