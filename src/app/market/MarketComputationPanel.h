#pragma once

#include "market/Market.h"
#include "market/OptimalCuts.h"
#include "services/MarketComputation.h"
#include "support/DataFolder.h"

#include <QFrame>

#include <atomic>
#include <string>
#include <thread>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace varnok::app {

// The program's market computation, run on a thread of its own (ComputeMarket with one worker
// per core) so that the window answers meanwhile, and its progress under the main window's
// toolbar while it runs: the read-only line "Working on Tree Number n of 150" (ProgressLine), a
// bar of the trees stored (ProgressBar) and "Cancel" (CancelComputation), which asks the
// computation to stop once the trees under way are done. Hidden while no computation runs; one
// computation at a time. The window reads the progress ten times a second; the end is posted
// to the window's thread.
class MarketComputationPanel : public QFrame {
    Q_OBJECT

public:
    // `data` must outlive the panel.
    MarketComputationPanel(const DataFolder& data, QWidget* parent);
    // Stops a computation still running and waits for its threads, so that none outlives the
    // window; its end is then not reported.
    ~MarketComputationPanel() override;

    bool Busy() const { return thread_.joinable(); }
    // The market being computed; empty when none is.
    const std::string& MarketName() const { return name_; }

    // Starts computing `definition`, which ComputeMarket checks again before it touches a
    // file. False, doing nothing, while another computation runs.
    bool Start(const MarketDefinition& definition);
    // Asks the computation to stop; Failed follows with the trees stored. Nothing when none runs.
    void Stop();

signals:
    // One of the two follows every Start, once the computation's threads have ended.
    void Computed(const varnok::Market& market);
    // Why the computation stopped: its error, or its cancellation with the trees it stored.
    void Failed(const QString& message);

private:
    struct Outcome;
    void Run(const MarketDefinition& definition, std::stop_token stop); // the computation's thread
    void ShowProgress();
    void Finish(const Outcome& outcome);

    const DataFolder& data_;
    QLineEdit* line_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    std::string name_;
    std::atomic<int> latestTree_{0}; // the tree the computation is at; 0 before the first
    int shownTree_ = 0;
    QTimer* poll_;
    std::jthread thread_; // last: it reads the members above while it runs
};

} // namespace varnok::app
