#pragma once

#include "coach/CostStrip.h"
#include "game/Bucking.h"
#include "game/StemView.h"
#include "market/Market.h"
#include "services/MarketComputation.h"
#include "support/DataFolder.h"
#include "tree/Tree.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;

namespace varnok::app {

class MarketComputationPanel;
class ReadOutPanel;
class StatusPanel;
class StemCanvas;
class TCreateMarketForm;
class TDefineNewLogPrices;
class TDefineNewLogRule;
class TDefineRoundwoodProductstab;
class TFilterGradingDefectsForm;
class TOptimizedStemForm;
class TPrintMarketForm;
class TPrintSawMatrixForm;
class TPrintSolutionForm;
class TReadDefectsFileForm;
class TReadLogScaleForm;
class TReadPrice;
class TReadRoundwood;
class TReadSawSpecForm;
class TReadVeneerSpecForm;
class TSelectMarketForm;
class TSelectTreeForm;
class TSpecifySawForm;
class TSpecifyForm;
class TreeGradingMode;
class TViewMarketDefinitionForm;
class TrackingController;
class TreeCoach;

// The main window: the menu, the toolbar with the bucking controls, the progress of a market
// computation, the stem picture with its read-out, and the status panel naming the market in
// force. It owns the game: the market, the tree in play with its view and cut list, and the
// comparison window. While the bucker cuts in the two plain game modes it coaches: a strip
// under the stem with what one more cut would cost, a line in the read-out and one under the
// picture.
class TMain : public QMainWindow {
    Q_OBJECT

public:
    // `data` must outlive the window. `allCommands` shows the menu items that are hidden in the
    // standard configuration.
    TMain(const DataFolder& data, bool allCommands);
    ~TMain() override;

    const GameState& Game() const { return game_; }
    const Market* CurrentMarket() const { return market_ ? &*market_ : nullptr; }
    const StemView* View() const { return view_.get(); }
    int TrimAllowance() const { return trim_; }

    // A menu item by its component name (for the tests and the comparison window).
    QAction* Action(const QString& name) const;

protected:
    // The tree box takes the mouse wheel only when it has the focus, so that a wheel turned
    // over the toolbar does not load another tree and lose every cut.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The first show brings up the veneer grading rule viewer in front of the window.
    void showEvent(QShowEvent* event) override;
    // While a market is computed, closing asks first; on Yes the computation is stopped and
    // the window closes once its threads have ended.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildGameMenu();
    void BuildSettingsMenu();
    void BuildMenus();
    QWidget* BuildToolbar(QWidget* parent);
    // A menu item; without a handler it says that its command is not available yet.
    QAction* AddItem(QMenu* menu, const char* name, const char* caption, bool visible,
                     std::function<void()> handler = {});
    void NotYet(const QString& caption);

    void StartGame(GameMode mode);
    void StartTreeGrading();
    void ShowMarketSelection();
    void MarketChosen(const QString& name, const QString& warning);
    // As "Use Selected Market" and a computation leave it: the market in force, its trim on
    // the menu and in the status panel, the market's reports enabled.
    void MakeMarketCurrent(Market market);
    bool StartMarketComputation(const MarketDefinition& definition);
    void MarketComputed(const Market& market);
    void MarketComputationFailed(const QString& message);
    void MarketSelectionClosed();
    // No tree, the toolbar and the status panel hidden, "&Compare" and the tree box back in
    // place of the tracking controls, the window shown.
    void RestorePlainLayout();
    void TreeChosen(int treeNumber);
    void TreeComboActivated(int index);
    // Returns whether the tree is shown; a failure is shown to the user.
    bool LoadAndShowTree(int treeNumber);
    void ReloadTreeInPlay();
    void EnterBucking();
    void PutTreeAway();
    void ClearPicture();
    void Redraw();

    void MouseMoved(double pictureX, int pictureY);
    void StemLeftClicked();
    void StemRightClicked(bool shift);
    void LengthClick(int feet);
    void RemoveClick();
    void RotateClick(bool up);
    void CompareClick();
    void Returned();

    void SetStatusPanelShown(bool shown);
    void SetEndDefectKeyShown(bool shown);
    void SetTrimAllowance(int inches);
    void SetBuckingControlsEnabled(bool enabled);
    void SetFitStem(bool fit);

    // The "Coach" setting is on and the game is one a bucker plays alone with no tracking and
    // no grading ("&Buck", "B&uck With Optimal"): the main window then coaches while the bucker
    // cuts, and the comparison shows what each cut costs, the cuts that complete the pattern
    // best and why each log took its grade.
    bool CoachingInForce() const;
    // The "Coach" item is offered only where coaching can be in force.
    void UpdateCoachItem();
    // Builds the coach of the tree in play when coaching is in force, else drops it.
    void StartCoaching();
    void StopCoaching();
    // The strip, the status line and the read-out's line for the cuts in place.
    void UpdateCoaching();
    void ShowCoachingAt(int inches);

    const DataFolder& data_;
    bool allCommands_;
    std::map<QString, QAction*> actions_;

    QWidget* toolbar_ = nullptr;
    QLabel* treeLabel_ = nullptr;
    QComboBox* treeCombo_ = nullptr;
    QPushButton* compare_ = nullptr;
    QPushButton* trackingNext_ = nullptr;
    QLabel* trackingCount_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    std::map<int, QPushButton*> lengthButtons_; // by feet
    QPushButton* remove_ = nullptr;
    QWidget* endDefectKey_ = nullptr;
    QPushButton* return_ = nullptr;
    StemCanvas* canvas_ = nullptr;
    ReadOutPanel* readOut_ = nullptr;
    StatusPanel* status_ = nullptr;
    QLabel* coachStatus_ = nullptr;
    MarketComputationPanel* computation_ = nullptr;
    bool closeWhenStopped_ = false;

    TSelectMarketForm* marketForm_ = nullptr;
    TSelectTreeForm* treeForm_ = nullptr;
    TreeGradingMode* grading_ = nullptr;
    TOptimizedStemForm* comparison_ = nullptr;
    QWidget* welcome_ = nullptr;
    QWidget* webResources_ = nullptr;
    QWidget* about_ = nullptr;
    TReadSawSpecForm* sawViewer_ = nullptr;
    TSpecifySawForm* sawEditor_ = nullptr; // made when first asked for
    TReadVeneerSpecForm* veneerViewer_ = nullptr;
    TSpecifyForm* veneerEditor_ = nullptr;
    TPrintSawMatrixForm* sawMatrix_ = nullptr;
    TPrintSolutionForm* solutions_ = nullptr;
    bool shownOnce_ = false;
    TReadRoundwood* roundwoodViewer_ = nullptr;
    TDefineRoundwoodProductstab* roundwoodEditor_ = nullptr;
    TReadDefectsFileForm* filterViewer_ = nullptr;
    TFilterGradingDefectsForm* filterEditor_ = nullptr;
    TReadLogScaleForm* logRuleViewer_ = nullptr;
    TDefineNewLogRule* logRuleEditor_ = nullptr;
    TReadPrice* priceViewer_ = nullptr;
    TDefineNewLogPrices* priceEditor_ = nullptr;
    TCreateMarketForm* defineMarket_ = nullptr;
    TViewMarketDefinitionForm* viewMarket_ = nullptr;
    TPrintMarketForm* printMarket_ = nullptr;
    TrackingController* tracking_ = nullptr;

    std::optional<Market> market_;
    std::shared_ptr<const Tree> tree_; // shared with the coach's build
    TreeCoach* coach_ = nullptr;
    std::optional<CostStrip> strip_; // of the cuts in place, while coaching
    std::unique_ptr<StemView> view_;
    GameState game_;
    int trim_ = 8; // inches, as the Settings menu shows it
    bool highlighted_ = false;
    bool readOutArmed_ = false; // a tree is shown and the comparison is not
};

} // namespace varnok::app
