#include "app/tracking/TrackingController.h"

#include "app/ErrorBox.h"
#include "app/tracking/TrackResultsForm.h"
#include "app/tracking/TrackingSetupForms.h"
#include "market/Market.h"
#include "market/OptimalCuts.h"
#include "services/MarketStats.h"
#include "support/Errors.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace varnok::app {
namespace {

void ShowInFront(QWidget* dialog) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

} // namespace

TrackingController::TrackingController(const DataFolder& data, TrackingHooks hooks,
                                       QPushButton* progress, QLabel* count, QWidget* window)
    : QObject(window), hooks_(std::move(hooks)), progress_(progress), count_(count),
      window_(window), buckers_(new TTrackingBuckersForm(window)),
      trees_(new TTrackingTreesForm(window)), results_(std::make_unique<TTrackResultsForm>(data)),
      generator_(std::random_device{}()) {
    connect(buckers_, &TTrackingBuckersForm::BuckersChosen, this,
            &TrackingController::BuckersChosen);
    connect(buckers_, &TTrackingBuckersForm::Closed, this, &TrackingController::CancelAndRestore);
    connect(trees_, &TTrackingTreesForm::TreesChosen, this, &TrackingController::TreesChosen);
    connect(trees_, &TTrackingTreesForm::Closed, this, &TrackingController::CancelAndRestore);
    connect(results_.get(), &TTrackResultsForm::Done, this, &TrackingController::CancelAndRestore);
    connect(progress_, &QPushButton::clicked, this, &TrackingController::ProgressClick);
    // Wide enough for every caption, so that the button does not change size from tree to tree.
    int width = progress_->minimumWidth();
    for (const TrackingButton button :
         {TrackingButton::NextTree, TrackingButton::NextUser, TrackingButton::ViewPerformance}) {
        progress_->setText(TrackingButtonCaption(button));
        width = std::max(width, progress_->sizeHint().width());
    }
    progress_->setMinimumWidth(width);
}

TrackingController::~TrackingController() = default;

void TrackingController::Start(GameMode mode) {
    Cancel();
    session_.emplace(mode);
    ShowProgress();
    progress_->setEnabled(false); // until the session's first tree is shown
    progress_->show();
    count_->show();
    if (mode == GameMode::GroupTracking) {
        ShowInFront(buckers_);
    } else {
        hooks_.ShowMarketSelection();
    }
}

void TrackingController::Cancel() {
    if (!session_) {
        return;
    }
    buckers_->hide();
    trees_->hide();
    results_->hide(); // before the session it shows goes
    progress_->hide();
    count_->hide();
    session_.reset();
}

// Closing a dialog reports it twice (its close event, then its rejection): the second finds
// nothing to cancel.
void TrackingController::CancelAndRestore() {
    if (!session_) {
        return;
    }
    Cancel();
    hooks_.RestorePlainWindow();
}

bool TrackingController::RefusesMarket(const Market& market, QWidget* over) {
    if (!session_) {
        return false;
    }
    std::vector<int> missing;
    if (!Guarded(over, [&] { missing = MissingTrees(ReadOptimalCuts(market.OptmcutsPath)); })) {
        return true;
    }
    if (missing.empty()) {
        return false;
    }
    ShowError(over, VarnokError("Market " + Quoted(market.Name) +
                                " stores no optimal pattern for " + TreeNumbersText(missing) +
                                ". A tracking session scores every tree it draws against its "
                                "optimal pattern: choose a complete market."));
    return true;
}

void TrackingController::MarketAccepted() {
    if (session_) {
        ShowInFront(trees_);
    }
}

bool TrackingController::HoldsBackComputedMarket(const Market& market) {
    if (!session_) {
        return false;
    }
    QWidget* over = results_->isVisible() ? static_cast<QWidget*>(results_.get()) : window_;
    ShowMessage(over, "Define Market",
                QString::fromStdString("Market " + Quoted(market.Name) +
                                       " is computed. It is not put in force during the tracking "
                                       "session, whose trees are all scored under one market: "
                                       "choose it in \"Market Selection\" once the session is "
                                       "over."));
    return true;
}

void TrackingController::BuckersChosen(int count) {
    if (!session_ || !Guarded(buckers_, [&] { session_->SetUserCount(count); })) {
        return;
    }
    buckers_->hide();
    hooks_.ShowMarketSelection();
}

void TrackingController::TreesChosen(int count) {
    if (!session_ ||
        !Guarded(trees_, [&] { session_->SetTrees(DrawTrackingTrees(count, generator_)); })) {
        return;
    }
    trees_->hide();
    ShowSessionTree();
}

void TrackingController::ShowSessionTree() {
    const int tree = session_->CurrentTree();
    if (!hooks_.ShowTree(tree)) {
        CancelAndRestore();
        return;
    }
    const TrackedTreeInPlay inPlay = hooks_.InPlay();
    if (inPlay.Optimum == nullptr || inPlay.Optimum->Cuts.empty()) {
        const std::string why = inPlay.Optimum == nullptr ? "" : " " + inPlay.Optimum->Missing;
        CancelAndRestore();
        ShowError(window_, VarnokError("Tree " + std::to_string(tree) + " cannot be scored:" + why +
                                       " The tracking session is cancelled."));
        return;
    }
    ShowProgress();
}

void TrackingController::ShowProgress() {
    const bool drawn = session_->TreesDrawn();
    progress_->setText(
        TrackingButtonCaption(drawn ? session_->Button() : TrackingButton::NextTree));
    count_->setText(QString::fromStdString(session_->ProgressText()));
}

// Both patterns are evaluated before either is recorded, so a pattern the engine refuses
// leaves the tree's record and the turn as they were.
void TrackingController::ProgressClick() {
    if (!session_ || !session_->TreesDrawn()) {
        return;
    }
    const TrackedTreeInPlay inPlay = hooks_.InPlay();
    if (inPlay.TreeModel == nullptr || inPlay.MarketInForce == nullptr ||
        inPlay.Optimum == nullptr) {
        return;
    }
    const bool recorded = Guarded(window_, [&] {
        const PatternEvaluation optimal =
            EvaluatePattern(*inPlay.TreeModel, *inPlay.MarketInForce, inPlay.Optimum->Cuts);
        const PatternEvaluation bucker =
            EvaluatePattern(*inPlay.TreeModel, *inPlay.MarketInForce, inPlay.BuckerCuts);
        session_->Record(PatternKind::Optimal, optimal);
        session_->Record(PatternKind::Bucker, bucker);
    });
    if (!recorded) {
        return;
    }
    if (session_->Button() == TrackingButton::ViewPerformance) {
        results_->Present(*session_, *inPlay.MarketInForce);
        results_->showMaximized();
        results_->raise();
        results_->activateWindow();
        window_->hide();
        return;
    }
    session_->Advance();
    ShowSessionTree();
}

} // namespace varnok::app
