#pragma once

#include "game/Bucking.h"
#include "support/DataFolder.h"
#include "tracking/TrackingSession.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

class QLabel;
class QPushButton;
class QWidget;

namespace varnok {
class Market;
class Tree;
} // namespace varnok

namespace varnok::app {

class TTrackResultsForm;
class TTrackingBuckersForm;
class TTrackingTreesForm;

// The tree in play on the main window, as the progress button scores it. Null pointers when no
// tree is shown.
struct TrackedTreeInPlay {
    const Tree* TreeModel = nullptr;
    const Market* MarketInForce = nullptr;
    std::vector<int> BuckerCuts;            // inches, butt and top included
    const StoredOptimum* Optimum = nullptr; // read with the tree from the market in force
};

// What a session asks of the main window.
struct TrackingHooks {
    std::function<void()> ShowMarketSelection;
    // Loads and shows tree `number` as the tree box does; false, the error shown, when it fails.
    std::function<bool(int number)> ShowTree;
    std::function<TrackedTreeInPlay()> InPlay;
    // The plain bucking layout: no tree, no session controls, the main window shown.
    std::function<void()> RestorePlainWindow;
};

// A tracking session from its command to its summary: "Buckers Selection" (group sessions),
// the market chosen in "Market Selection", "Trees Selection" and the draw of the trees, the
// progress button and its label on the main window, which score the tree in play for the
// bucker whose turn it is and bring the next tree, and "Results Of Bucking Session". Closing
// any of the session's dialogs cancels the session and restores the plain main window.
class TrackingController : public QObject {
    Q_OBJECT

public:
    // `progress` and `count` are the main window's progress button and label; `window` is the
    // main window, parent of the dialogs. `data` (for the summary's reports) must outlive the
    // controller.
    TrackingController(const DataFolder& data, TrackingHooks hooks, QPushButton* progress,
                       QLabel* count, QWidget* window);
    ~TrackingController() override;

    // From a tracking command to the end of its summary or its cancelling.
    bool Active() const { return session_.has_value(); }

    // Ends any session and starts one in `mode` (Tracking or GroupTracking): the store empty,
    // the progress button "Next Tree" and the label "0 of 0" shown; then "Buckers Selection"
    // for a group, market selection for one bucker.
    void Start(GameMode mode);
    // Ends the session without a summary and hides its dialogs and progress controls; the main
    // window's layout is the caller's. Nothing when no session is active.
    void Cancel();

    // Whether `market` cannot serve the session: every tree drawn is scored against its optimal
    // pattern, so a market lacking any refuses, in an error box over `over`. False when no
    // session is active.
    bool RefusesMarket(const Market& market, QWidget* over);
    // The market of the session is in force: "Trees Selection" comes next.
    void MarketAccepted();
    // A market computed during a session is not put in force, so that no session mixes
    // markets; the user is told. Returns whether it was held back.
    bool HoldsBackComputedMarket(const Market& market);

private:
    void BuckersChosen(int count);
    void TreesChosen(int count);
    void ProgressClick();
    // Loads the session's tree in play; a tree that fails, or has no optimal pattern to score
    // against, cancels the session with the error shown.
    void ShowSessionTree();
    void ShowProgress();
    void CancelAndRestore();

    TrackingHooks hooks_;
    QPushButton* progress_;
    QLabel* count_;
    QWidget* window_;
    TTrackingBuckersForm* buckers_;
    TTrackingTreesForm* trees_;
    std::unique_ptr<TTrackResultsForm> results_; // a window of its own, like the comparison
    // Seeded once: two sessions started in the same clock tick still draw different trees.
    std::mt19937 generator_;
    std::optional<TrackingSession> session_;
};

} // namespace varnok::app
