#include "app/MainWindow.h"

#include "app/AboutForm.h"
#include "app/ErrorBox.h"
#include "app/FigurePainter.h"
#include "app/OptimizedStemForm.h"
#include "app/ReadOutPanel.h"
#include "app/SelectMarketForm.h"
#include "app/SelectTreeForm.h"
#include "app/StatusPanel.h"
#include "app/StemCanvas.h"
#include "app/TreeCoach.h"
#include "app/TreeGradingForm.h"
#include "app/WebResourcesForm.h"
#include "app/WelcomeForm.h"
#include "app/grading/PrintSawMatrixForm.h"
#include "app/grading/ReadSawSpecForm.h"
#include "app/grading/ReadVeneerSpecForm.h"
#include "app/grading/SpecifySawForm.h"
#include "app/grading/SpecifyVeneerForm.h"
#include "app/market/CreateMarketForm.h"
#include "app/market/MarketComputationPanel.h"
#include "app/market/MarketDialogParts.h"
#include "app/market/PrintMarketForm.h"
#include "app/market/PrintSolutionForm.h"
#include "app/market/ViewMarketDefinitionForm.h"
#include "app/rules/DefectFilterForms.h"
#include "app/rules/LogRuleForms.h"
#include "app/rules/PriceSetForms.h"
#include "app/rules/RoundwoodForms.h"
#include "app/tracking/TrackingController.h"
#include "game/Comparison.h"
#include "game/StemFigures.h"
#include "tree/TreeLoad.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

namespace varnok::app {
namespace {

constexpr int kToolbarHeight = 46;

QPushButton* MakeButton(QWidget* parent, QHBoxLayout* layout, const char* name, const char* caption,
                        int width = 0) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    if (width > 0) {
        button->setMinimumWidth(width);
    }
    button->setEnabled(false);
    layout->addWidget(button);
    return button;
}

// The end-defect key: discs in the colours end defects are drawn in, beside their names.
QWidget* MakeEndDefectKey(QWidget* parent) {
    constexpr int kWidth = 217;
    constexpr int kHeight = 33;
    auto* key = new QWidget(parent);
    key->setObjectName("EndDefectKey");
    key->setFixedSize(kWidth, kHeight);
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(key->palette().color(QPalette::Window));
    QPainter painter(&pixmap);
    const std::vector<Figure> figures = EndDefectKeyFigures(kHeight);
    PaintFigures(painter, figures, PictureMapping{});
    painter.end();
    auto* image = new QLabel(key);
    image->setObjectName("EndDefectKeyImage");
    image->setPixmap(pixmap);
    image->setGeometry(0, 0, kWidth, kHeight);
    const std::array<std::pair<const char*, const char*>, 3> labels = {
        {{"HeartLabel", "Heart"}, {"StainLabel", "Stain"}, {"DecayLabel", "Decay"}}};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        auto* label = new QLabel(labels[i].second, key);
        label->setObjectName(labels[i].first);
        label->setGeometry(32 + 72 * static_cast<int>(i), 0, 40, kHeight);
    }
    key->setEnabled(false);
    return key;
}

void ShowInFront(QWidget* dialog) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace

TMain::TMain(const DataFolder& data, bool allCommands) : data_(data), allCommands_(allCommands) {
    setObjectName("TMain");
    setWindowTitle("Varnok");
    resize(1024, 692);
    // The stem picture paints itself black and fills the window when the toolbar and the status
    // panel are hidden; they keep the desktop's colours.
    auto* central = new QWidget(this);
    central->setObjectName("Client");
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolbar_ = BuildToolbar(central);
    canvas_ = new StemCanvas(StemPicture::MainWindow, central);
    canvas_->setObjectName("LogImageBox");
    // The picture takes the keys once a tree is shown or clicked, so that an arrow key meant
    // for nothing in particular does not reach the tree box.
    canvas_->setFocusPolicy(Qt::ClickFocus);
    readOut_ = new ReadOutPanel(canvas_);
    readOut_->hide();
    status_ = new StatusPanel(
        {"Edit3", "Edit4", "Edit2", "Edit6", "Edit7", "Edit10", "Edit9", "Edit5"}, central);
    status_->hide();
    coachStatus_ = new QLabel(central);
    coachStatus_->setObjectName("CoachStatus");
    coachStatus_->setContentsMargins(8, 2, 8, 2);
    coachStatus_->hide();
    computation_ = new MarketComputationPanel(data_, central);
    layout->addWidget(toolbar_);
    layout->addWidget(computation_);
    layout->addWidget(canvas_, 1);
    layout->addWidget(coachStatus_);
    layout->addWidget(status_);
    coach_ = new TreeCoach(this);
    setCentralWidget(central);
    BuildMenus();

    welcome_ = new TWelcomeForm(this);
    webResources_ = new TWebResourcesForm(this);
    about_ = new TAboutForm(this);
    logRuleViewer_ = new TReadLogScaleForm(data_, this);
    logRuleEditor_ = new TDefineNewLogRule(data_, this);
    priceViewer_ = new TReadPrice(data_, this);
    priceEditor_ = new TDefineNewLogPrices(data_, this);
    marketForm_ = new TSelectMarketForm(data_, this);
    treeForm_ = new TSelectTreeForm(this);
    grading_ = new TreeGradingMode(data_, this, treeForm_, {menuBar(), toolbar_, canvas_});
    comparison_ = new TOptimizedStemForm(nullptr);
    sawViewer_ = new TReadSawSpecForm(data_, this);
    sawMatrix_ = new TPrintSawMatrixForm(
        data_, [this] { return CurrentMarket(); }, this);
    veneerViewer_ = new TReadVeneerSpecForm(data_, this);
    veneerEditor_ = new TSpecifyForm(data_, this);
    solutions_ = new TPrintSolutionForm(
        data_, [this] { return CurrentMarket(); }, this);
    roundwoodViewer_ = new TReadRoundwood(data_, this);
    roundwoodEditor_ = new TDefineRoundwoodProductstab(data_, this);
    filterViewer_ = new TReadDefectsFileForm(data_, this);
    filterEditor_ = new TFilterGradingDefectsForm(data_, this);
    defineMarket_ = new TCreateMarketForm(
        data_, [this](const MarketDefinition& d) { return StartMarketComputation(d); }, this);
    viewMarket_ = new TViewMarketDefinitionForm(
        data_,
        {[this](const std::string& name) { priceViewer_->ShowFile(name); },
         [this](const std::string& name) { sawViewer_->ShowFile(QString::fromStdString(name)); },
         [this](const std::string& name) { filterViewer_->ShowFile(name); },
         [this](const std::string& name) { roundwoodViewer_->ShowFile(name); },
         [this](const std::string& name) { logRuleViewer_->ShowFile(name); }},
        this);
    printMarket_ = new TPrintMarketForm(data_, this);
    tracking_ = new TrackingController(
        data_,
        {[this] { ShowMarketSelection(); }, [this](int tree) { return LoadAndShowTree(tree); },
         [this] {
             return TrackedTreeInPlay{tree_.get(), CurrentMarket(), game_.Cuts().UsedInches(),
                                      &game_.OptimalCutList};
         },
         [this] { RestorePlainLayout(); }},
        trackingNext_, trackingCount_, this);

    connect(marketForm_, &TSelectMarketForm::MarketChosen, this, &TMain::MarketChosen);
    connect(marketForm_, &TSelectMarketForm::Closed, this, &TMain::MarketSelectionClosed);
    connect(treeForm_, &TSelectTreeForm::TreeChosen, this, &TMain::TreeChosen);
    connect(treeForm_, &TSelectTreeForm::Closed, grading_, &TreeGradingMode::End);
    connect(grading_, &TreeGradingMode::MarketWanted, this,
            [this] { StartGame(GameMode::BuckWithOptimal); });
    // The exercise leaves the window idle, as a market selection closed without a choice does.
    connect(grading_, &TreeGradingMode::Ended, this, &TMain::MarketSelectionClosed);
    connect(comparison_, &TOptimizedStemForm::Returned, this, &TMain::Returned);
    connect(canvas_, &StemCanvas::MouseMovedTo, this, &TMain::MouseMoved);
    connect(canvas_, &StemCanvas::LeftClicked, this, &TMain::StemLeftClicked);
    connect(canvas_, &StemCanvas::RightClicked, this, &TMain::StemRightClicked);
    connect(coach_, &TreeCoach::Built, this, &TMain::UpdateCoaching);
    connect(coach_, &TreeCoach::Failed, this, [this](const QString& message) {
        coachStatus_->setText("No coaching for this tree: " + message);
    });
    SetFitStem(true);
    connect(computation_, &MarketComputationPanel::Computed, this, &TMain::MarketComputed);
    connect(computation_, &MarketComputationPanel::Failed, this, &TMain::MarketComputationFailed);
}

TMain::~TMain() {
    delete comparison_;
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == treeCombo_ && event->type() == QEvent::Wheel && !treeCombo_->hasFocus()) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        // Queued, so that the viewer appears after the window it stands in front of.
        QTimer::singleShot(0, veneerViewer_, [this] { ShowInFront(veneerViewer_); });
    }
}

QAction* TMain::Action(const QString& name) const {
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

QAction* TMain::AddItem(QMenu* menu, const char* name, const char* caption, bool visible,
                        std::function<void()> handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setVisible(visible || allCommands_);
    if (!handler) {
        const QString text = QString(caption).remove('&');
        handler = [this, text] { NotYet(text); };
    }
    connect(action, &QAction::triggered, this, std::move(handler));
    actions_[name] = action;
    return action;
}

void TMain::NotYet(const QString& caption) {
    ShowMessage(this, "Varnok", "\"" + caption + "\" is not available yet in this version.");
}

void TMain::BuildGameMenu() {
    QMenu* game = menuBar()->addMenu("&Game");
    AddItem(game, "Welcom1", "&Welcome", true, [this] { welcome_->show(); });
    AddItem(game, "Buck2", "&Buck", false, [this] { StartGame(GameMode::Buck); });
    AddItem(game, "Buck1", "B&uck With Optimal", true,
            [this] { StartGame(GameMode::BuckWithOptimal); });
    AddItem(game, "BuckWithTracking1", "Bu&ck With Tracking", false,
            [this] { StartGame(GameMode::Tracking); });
    AddItem(game, "GroupBuckWithTracking1", "Group Buc&k With Tracking", false,
            [this] { StartGame(GameMode::GroupTracking); });
    AddItem(game, "TreeGrading1", "&Tree Grading", false, [this] { StartTreeGrading(); });
    game->addSeparator();
    QMenu* grading = game->addMenu("&Grading Rules");
    AddItem(grading, "DefineSawlogGradingRules1", "Define Sawlog Grading Rules", false, [this] {
        if (sawEditor_ == nullptr) {
            sawEditor_ = new TSpecifySawForm(data_, this);
        }
        ShowInFront(sawEditor_);
    });
    AddItem(grading, "ViewSawlogGradingRules1", "View Sawlog Grading Rules", true,
            [this] { ShowInFront(sawViewer_); });
    grading->addSeparator();
    AddItem(grading, "Createv1", "Define Veneer Grading Rules", false,
            [this] { ShowInFront(veneerEditor_); });
    AddItem(grading, "ViewVeneerGradingRules1", "View Veneer Grading Rules", true,
            [this] { ShowInFront(veneerViewer_); });
    QMenu* logRules = game->addMenu("&Log Rules");
    AddItem(logRules, "DefineLogRule1", "Define Log Rule", false,
            [this] { ShowInFront(logRuleEditor_); });
    AddItem(logRules, "ViewLogRuleFile1", "View Log Rule", true,
            [this] { ShowInFront(logRuleViewer_); });
    QMenu* prices = game->addMenu("&Prices");
    AddItem(prices, "DefineNewPrices1", "Define Price Set", false,
            [this] { ShowInFront(priceEditor_); });
    AddItem(prices, "ViewPriceFile1", "View Price Set", true,
            [this] { ShowInFront(priceViewer_); });
    QMenu* roundwood = game->addMenu("&Roundwoood Products");
    AddItem(roundwood, "DefineRoundwoodProducts", "Define Roundwood Products", false,
            [this] { roundwoodEditor_->show(); });
    AddItem(roundwood, "ViewRoundwoodProducts1", "View Roundwood Products", true,
            [this] { roundwoodViewer_->show(); });
    QMenu* filters = game->addMenu("&Defect Filters");
    AddItem(filters, "DefineDefectFilterSet1", "Define Defect Filter Set", false,
            [this] { filterEditor_->show(); });
    AddItem(filters, "ViewDefectFilterSet1", "View Defect Filter Set", true,
            [this] { filterViewer_->show(); });
    QMenu* markets = game->addMenu("&Markets");
    AddItem(markets, "DefineMarkeg1", "Define Market", false,
            [this] { ShowInFront(defineMarket_); });
    AddItem(markets, "PrintMarket1", "Print Market", false, [this] { ShowInFront(printMarket_); });
    AddItem(markets, "ViewMarketDefinition1", "View Market", true,
            [this] { ShowInFront(viewMarket_); });
    game->addSeparator();
    AddItem(game, "Exit1", "&Exit", true, [this] { close(); });
}

void TMain::BuildSettingsMenu() {
    QMenu* settings = menuBar()->addMenu("&Settings");
    AddItem(settings, "ShowStatusPanel1", "Show Status Panel", true,
            [this] { SetStatusPanelShown(true); });
    AddItem(settings, "HideStatusPanel1", "Hide Status Panel", true, [this] {
        SetStatusPanelShown(false);
    })->setEnabled(false);
    settings->addSeparator();
    AddItem(settings, "ShowEndDefectKey1", "Show End Defect Key", true, [this] {
        SetEndDefectKeyShown(true);
    })->setEnabled(false);
    AddItem(settings, "HideEndDefectKey1", "Hide End Defect Key", true,
            [this] { SetEndDefectKeyShown(false); });
    settings->addSeparator();
    QMenu* trim = settings->addMenu("Trim Allowance");
    auto* trims = new QActionGroup(this);
    for (const auto& [name, caption, inches] :
         {std::tuple{"N4inches1", "4 Inches", 4}, std::tuple{"N8inches1", "8 Inches", 8}}) {
        const int value = inches;
        QAction* action =
            AddItem(trim, name, caption, true, [this, value] { SetTrimAllowance(value); });
        action->setCheckable(true);
        action->setChecked(inches == trim_);
        trims->addAction(action);
    }
    settings->addSeparator();
    QAction* coach = AddItem(settings, "Coach1", "Coach", true, [this] {
        if (CoachingInForce()) {
            StartCoaching();
        } else {
            StopCoaching();
        }
    });
    coach->setCheckable(true);
    coach->setChecked(true);
    QAction* fit = AddItem(settings, "FitStemToWindow1", "Fit Stem To Window", true,
                           [this] { SetFitStem(actions_["FitStemToWindow1"]->isChecked()); });
    fit->setCheckable(true);
    fit->setChecked(true);
}

void TMain::BuildMenus() {
    BuildGameMenu();
    BuildSettingsMenu();
    QMenu* reporting = menuBar()->addMenu("&Reporting");
    AddItem(reporting, "OptimalResults1", "&Optimal Results", false, [this] {
        ShowInFront(solutions_);
    })->setEnabled(false);
    AddItem(reporting, "SawGradingRulesFullMatrix1", "Saw Grading Rules Full Matrix", false,
            [this] { ShowInFront(sawMatrix_); })
        ->setEnabled(false);
    AddItem(reporting, "Market1", "Market", true, [this] { ShowInFront(printMarket_); });
    QMenu* help = menuBar()->addMenu("&Help");
    AddItem(help, "WebResouces1", "&Web Resources", true, [this] { webResources_->show(); });
    AddItem(help, "AboutVarnok1", "&About Varnok", true, [this] { about_->show(); });
}

QWidget* TMain::BuildToolbar(QWidget* parent) {
    auto* bar = new QWidget(parent);
    bar->setObjectName("Panel1");
    bar->setFixedHeight(kToolbarHeight);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(6, 4, 6, 4);
    treeLabel_ = new QLabel("Tree", bar);
    treeLabel_->setObjectName("Label2");
    treeCombo_ = new QComboBox(bar);
    treeCombo_->setObjectName("ComboBox2");
    for (int n = 1; n <= kTreeCount; ++n) {
        treeCombo_->addItem(QString::number(n));
    }
    treeCombo_->setMaxVisibleItems(25);
    treeCombo_->setFocusPolicy(Qt::StrongFocus); // the wheel alone does not give it the focus
    treeCombo_->installEventFilter(this);
    treeLabel_->setBuddy(treeCombo_);
    layout->addWidget(treeLabel_);
    layout->addWidget(treeCombo_);
    compare_ = MakeButton(bar, layout, "Button5", "&Compare", 90);
    trackingNext_ = MakeButton(bar, layout, "Button12", "Next Tree", 90);
    trackingNext_->hide();
    trackingCount_ = new QLabel("0 of 0", bar);
    trackingCount_->setObjectName("Label5");
    trackingCount_->hide();
    layout->addWidget(trackingCount_);
    up_ = MakeButton(bar, layout, "Button1", "&Up");
    down_ = MakeButton(bar, layout, "Button2", "&Down");
    for (const auto& [name, caption, feet] :
         {std::tuple{"Button3", "8'", 8}, std::tuple{"Button4", "10'", 10},
          std::tuple{"Button6", "12'", 12}, std::tuple{"Button7", "14'", 14},
          std::tuple{"Button8", "16'", 16}}) {
        QPushButton* button = MakeButton(bar, layout, name, caption, 44);
        const int value = feet;
        connect(button, &QPushButton::clicked, this, [this, value] { LengthClick(value); });
        lengthButtons_[feet] = button;
    }
    remove_ = MakeButton(bar, layout, "Button9", "X", 36);
    endDefectKey_ = MakeEndDefectKey(bar);
    layout->addWidget(endDefectKey_);
    return_ = MakeButton(bar, layout, "Return", "&Return");
    return_->setEnabled(true);
    return_->hide();
    auto* clear = MakeButton(bar, layout, "Button13", "");
    clear->hide();
    layout->addStretch(1);
    bar->hide();

    connect(treeCombo_, &QComboBox::activated, this, &TMain::TreeComboActivated);
    connect(compare_, &QPushButton::clicked, this, &TMain::CompareClick);
    connect(up_, &QPushButton::clicked, this, [this] { RotateClick(true); });
    connect(down_, &QPushButton::clicked, this, [this] { RotateClick(false); });
    connect(remove_, &QPushButton::clicked, this, &TMain::RemoveClick);
    connect(return_, &QPushButton::clicked, this, [this] { comparison_->close(); });
    connect(clear, &QPushButton::clicked, this, &TMain::ClearPicture);
    return bar;
}

// Any game command ends a tracking session in progress; the tracking commands start one.
void TMain::StartGame(GameMode mode) {
    tracking_->Cancel();
    treeForm_->hide(); // a tree chosen there now would be of the previous game
    game_.Mode = mode;
    UpdateCoachItem();
    if (!CoachingInForce()) {
        StopCoaching();
    } else if (tree_ && coach_->Ready() == nullptr && !coach_->Building()) {
        StartCoaching();
    }
    compare_->setText(mode == GameMode::Buck ? "Show Results" : "&Compare");
    game_.ClientWidth = canvas_->width();
    game_.ClientHeight = canvas_->height();
    toolbar_->setVisible(!grading_->IsOn());
    treeLabel_->setEnabled(false);
    treeCombo_->setEnabled(false);
    const bool tracked = mode == GameMode::Tracking || mode == GameMode::GroupTracking;
    compare_->setVisible(!tracked);
    treeLabel_->setVisible(!tracked); // the session picks the trees
    treeCombo_->setVisible(!tracked);
    if (tracked) {
        marketForm_->hide(); // a group chooses its market after its buckers
        tracking_->Start(mode);
        return;
    }
    ShowMarketSelection();
}

void TMain::ShowMarketSelection() {
    marketForm_->show();
    marketForm_->raise();
    marketForm_->activateWindow();
}

// The picture stays black and the toolbar, read-out and status panel hidden until the exercise
// ends; then the market selection, as for a game.
void TMain::StartTreeGrading() {
    ClearPicture();
    grading_->Start();
    StartGame(GameMode::BuckWithOptimal);
}

void TMain::MarketChosen(const QString& name, const QString& warning) {
    std::optional<Market> market;
    if (!Guarded(marketForm_, [&] { market = LoadMarket(data_, name.toStdString()); }) ||
        tracking_->RefusesMarket(*market, marketForm_)) {
        return;
    }
    marketForm_->hide();
    MakeMarketCurrent(std::move(*market));
    ReloadTreeInPlay();
    if (tracking_->Active()) {
        tracking_->MarketAccepted();
        return;
    }
    treeForm_->show();
    treeForm_->raise();
    treeForm_->activateWindow();
    if (!warning.isEmpty()) {
        ShowMessage(treeForm_, "Market Selection", warning);
    }
}

void TMain::MakeMarketCurrent(Market market) {
    market_ = std::move(market);
    SetTrimAllowance(market_->TrimAllowance());
    actions_["OptimalResults1"]->setEnabled(true);
    actions_["SawGradingRulesFullMatrix1"]->setEnabled(true);
    status_->ShowMarket(*market_);
}

bool TMain::StartMarketComputation(const MarketDefinition& definition) {
    if (!computation_->Start(definition)) {
        ShowError(defineMarket_,
                  VarnokError("The market \"" + computation_->MarketName() +
                              "\" is being computed; define the next one when it is done."));
        return false;
    }
    actions_["DefineMarkeg1"]->setEnabled(false);
    return true;
}

// The new market is in force at once, as one chosen in "Market Selection"; the tree in play
// was bucked under another market, so it is put away (closing the comparison first, which
// shows it).
void TMain::MarketComputed(const Market& market) {
    actions_["DefineMarkeg1"]->setEnabled(true);
    if (closeWhenStopped_) {
        close();
        return;
    }
    if (tracking_->HoldsBackComputedMarket(market)) {
        return;
    }
    MakeMarketCurrent(market);
    if (comparison_->isVisible()) {
        comparison_->close();
    }
    PutTreeAway();
}

void TMain::MarketComputationFailed(const QString& message) {
    actions_["DefineMarkeg1"]->setEnabled(true);
    if (closeWhenStopped_) {
        close();
        return;
    }
    ShowError(this, VarnokError(message.toStdString()));
}

void TMain::closeEvent(QCloseEvent* event) {
    if (!computation_->Busy()) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    if (closeWhenStopped_) {
        return; // stopping already
    }
    const QString question =
        "The market \"" + QString::fromStdString(computation_->MarketName()) +
        "\" is being computed. Stop the computation and quit? The trees computed so far stay "
        "stored, and the market stays incomplete.";
    AskToGoOn(this, question, [this] {
        closeWhenStopped_ = true;
        if (!computation_->Busy()) {
            close();
            return;
        }
        computation_->Stop();
    });
}

void TMain::MarketSelectionClosed() {
    grading_->End();
    tracking_->Cancel();
    RestorePlainLayout();
    UpdateCoachItem();
}

void TMain::RestorePlainLayout() {
    if (game_.Mode == GameMode::Tracking || game_.Mode == GameMode::GroupTracking) {
        game_.Mode = GameMode::Idle; // no session is left to play
    }
    ClearPicture();
    compare_->show();
    treeLabel_->show();
    treeCombo_->show();
    trackingNext_->hide();
    trackingCount_->hide();
    show();
    raise();
    activateWindow();
}

void TMain::ClearPicture() {
    PutTreeAway();
    toolbar_->hide();
    status_->hide();
}

// Nothing that needs a tree answers until the next one is loaded.
void TMain::PutTreeAway() {
    StopCoaching();
    canvas_->Clear();
    tree_.reset();
    view_.reset();
    game_.EndTree();
    game_.OptimalCutList = {};
    readOutArmed_ = false;
    readOut_->hide();
    highlighted_ = false;
    SetBuckingControlsEnabled(false);
}

void TMain::TreeChosen(int treeNumber) {
    if (!treeCombo_->isEnabled() || grading_->IsOn()) {
        const QSignalBlocker blocker(treeCombo_);
        treeCombo_->setCurrentIndex(treeNumber - 1);
    }
    if (grading_->IsOn()) {
        if (market_) {
            grading_->Grade(*market_, treeNumber);
        }
        return;
    }
    LoadAndShowTree(treeCombo_->currentIndex() + 1);
    if (view_ && game_.TreeNumber == treeCombo_->currentIndex() + 1) {
        treeForm_->hide();
    }
}

void TMain::TreeComboActivated(int index) {
    LoadAndShowTree(index + 1);
}

// The engine's load validates the files before anything is replaced, so a tree that fails
// leaves the previous tree, its cuts and its picture as they were.
bool TMain::LoadAndShowTree(int treeNumber) {
    if (!market_) {
        return false;
    }
    QWidget* parent = treeForm_->isVisible() ? static_cast<QWidget*>(treeForm_) : this;
    std::unique_ptr<Tree> tree;
    std::unique_ptr<StemView> view;
    const bool loaded = Guarded(parent, [&] {
        tree = LoadTree(data_, treeNumber, market_->Filter);
        view = std::make_unique<StemView>(LoadStemView(data_, treeNumber, market_->Filter,
                                                       game_.ClientWidth, game_.ClientHeight));
    });
    if (!loaded) {
        const QSignalBlocker blocker(treeCombo_);
        treeCombo_->setCurrentIndex(game_.TreeNumber - 1);
        return false;
    }
    tree_ = std::move(tree);
    view_ = std::move(view);
    game_.OptimalCutList = ReadStoredOptimum(market_->OptmcutsPath, treeNumber, *tree_);
    game_.StartTree(treeNumber, *view_);
    StartCoaching();
    EnterBucking();
    return true;
}

// The tree in play read again under the market just chosen: its defects through that market's
// filter and its optimal pattern from that market, so that no comparison values one market's
// pattern under another's rules. The picture keeps its centre, so the cuts stay where they
// are; a tree the new market cannot read is put away.
void TMain::ReloadTreeInPlay() {
    if (!view_ || !tree_ || !market_) {
        return;
    }
    const int treeNumber = game_.TreeNumber;
    std::unique_ptr<Tree> tree;
    std::unique_ptr<StemView> view;
    const bool loaded = Guarded(this, [&] {
        tree = LoadTree(data_, treeNumber, market_->Filter);
        view = std::make_unique<StemView>(LoadStemView(data_, treeNumber, market_->Filter,
                                                       2.0 * view_->CentreX, 2.0 * view_->CentreY));
    });
    if (!loaded) {
        PutTreeAway();
        return;
    }
    tree_ = std::move(tree);
    view_ = std::move(view);
    game_.OptimalCutList = ReadStoredOptimum(market_->OptmcutsPath, treeNumber, *tree_);
    StartCoaching();
    Redraw();
}

void TMain::EnterBucking() {
    // The read-out appears where the mouse first meets the stem.
    readOut_->hide();
    readOutArmed_ = true;
    treeLabel_->setEnabled(true);
    treeCombo_->setEnabled(true);
    {
        const QSignalBlocker blocker(treeCombo_);
        treeCombo_->setCurrentIndex(game_.TreeNumber - 1);
    }
    Redraw();
    SetBuckingControlsEnabled(true);
    SetStatusPanelShown(true);
    canvas_->setFocus();
}

void TMain::SetBuckingControlsEnabled(bool enabled) {
    for (QWidget* widget : {static_cast<QWidget*>(compare_), static_cast<QWidget*>(trackingNext_),
                            static_cast<QWidget*>(up_), static_cast<QWidget*>(down_),
                            static_cast<QWidget*>(remove_), endDefectKey_}) {
        widget->setEnabled(enabled);
    }
    for (const auto& [feet, button] : lengthButtons_) {
        button->setEnabled(enabled);
    }
}

void TMain::Redraw() {
    if (!view_) {
        return;
    }
    const CutList& cuts = game_.Cuts();
    canvas_->Show(*view_, StemFigures(*view_, game_.ViewRotation, StemPicture::MainWindow,
                                      cuts.UsedPixels(), cuts.UsedInches()));
    highlighted_ = false;
    game_.StemRedrawn = 2;
    UpdateCoaching();
}

void TMain::MouseMoved(double pictureX, int pictureY) {
    if (!view_) {
        return;
    }
    const std::optional<ReadOut> readOut = game_.MoveMouse(*view_, pictureX, pictureY);
    if (!readOut) {
        return;
    }
    readOut_->ShowReadOut(*readOut);
    ShowCoachingAt(readOut->SnappedX - view_->ButtX);
    const PictureMapping& mapping = canvas_->Mapping();
    const int x = static_cast<int>(std::lround(mapping.ToWidgetX(readOut->SnappedX))) -
                  readOut_->PanelWidth() / 2;
    // The panel grows down to the mouse in the widget's rows, which the stem's scale across
    // does not stretch.
    const int top = static_cast<int>(std::lround(canvas_->RowsBelowStem().ReadOutTop));
    const int height = ReadOutHeight(top, canvas_->MouseRow());
    readOut_->setGeometry(x, top, readOut_->PanelWidth(), readOut_->PanelHeight(height));
    if (readOutArmed_ && !readOut_->isVisible()) {
        readOut_->show();
        readOut_->raise();
    }
    if (readOut->HoverOnCut) {
        canvas_->SetHighlight(CutHighlightFigures(*view_, readOut->SnappedX));
        highlighted_ = true;
    } else if (highlighted_) {
        canvas_->SetHighlight({});
        highlighted_ = false;
    }
}

void TMain::StemLeftClicked() {
    if (view_ && game_.Click(readOutArmed_ && readOut_->isVisible())) {
        Redraw();
    }
}

void TMain::StemRightClicked(bool shift) {
    if (up_->isEnabled() && up_->isVisible()) {
        RotateClick(!shift);
    }
}

void TMain::LengthClick(int feet) {
    if (view_ && game_.AddLength(feet, trim_)) {
        Redraw();
    }
}

void TMain::RemoveClick() {
    if (view_ && game_.RemoveUppermost()) {
        Redraw();
    }
}

void TMain::RotateClick(bool up) {
    if (!view_) {
        return;
    }
    if (up) {
        game_.RotateUp();
    } else {
        game_.RotateDown();
    }
    Redraw();
}

void TMain::CompareClick() {
    if (!view_ || !tree_ || !market_) {
        return;
    }
    const CutList& cuts = game_.Cuts();
    ComparisonContent content;
    const bool done = Guarded(this, [&] {
        if (market_->IsResearchMarket()) {
            // The research market only records the optimal pattern's logs; nothing is shown
            // and the main window stays as it is.
            const std::vector<int>& optimal = game_.OptimalCutList.Cuts;
            if (!optimal.empty()) {
                (void)ComparePattern(*tree_, *market_, Solution::Optimal, optimal, view_->ButtX);
            }
            return;
        }
        content.Mode = game_.Mode;
        content.TreeNumber = game_.TreeNumber;
        content.View = view_.get();
        content.BuckerInches = cuts.UsedInches();
        content.BuckerPixels = cuts.UsedPixels();
        const bool coaching = CoachingInForce();
        const GradeReasons reasons = coaching ? GradeReasons::Record : GradeReasons::Skip;
        content.Bucker = ComparePattern(*tree_, *market_, Solution::Bucker, content.BuckerInches,
                                        view_->ButtX, reasons);
        if (coaching) {
            // The coach built while the bucker cut, or, when its build has not ended yet, one
            // built now.
            std::unique_ptr<Coach> built;
            Coach* coach = coach_->Ready();
            if (coach == nullptr) {
                built = std::make_unique<Coach>(*tree_, *market_);
                coach = built.get();
            }
            content.Coaching = CoachComparison(*coach, content.BuckerInches, view_->ButtX);
        }
        if (game_.Mode != GameMode::Buck) {
            content.OptimalInches = game_.OptimalCutList.Cuts;
            content.OptimalStored = !content.OptimalInches.empty();
            content.OptimalMissing = game_.OptimalCutList.Missing;
            for (const int inches : content.OptimalInches) {
                content.OptimalPixels.push_back(view_->ButtX + inches);
            }
            if (content.OptimalStored) {
                content.Optimal = ComparePattern(*tree_, *market_, Solution::Optimal,
                                                 content.OptimalInches, view_->ButtX, reasons);
            }
        }
    });
    if (!done || market_->IsResearchMarket()) {
        return;
    }
    game_.StemRedrawn = 1;
    comparison_->Present(std::move(content), *status_, game_.ViewRotation);
    comparison_->showMaximized();
    comparison_->raise();
    comparison_->activateWindow();
    for (QWidget* widget : {static_cast<QWidget*>(treeLabel_), static_cast<QWidget*>(treeCombo_),
                            static_cast<QWidget*>(compare_)}) {
        widget->setEnabled(false);
        widget->hide();
    }
    for (QWidget* widget :
         {static_cast<QWidget*>(status_), endDefectKey_, static_cast<QWidget*>(readOut_),
          static_cast<QWidget*>(up_), static_cast<QWidget*>(down_), static_cast<QWidget*>(canvas_),
          static_cast<QWidget*>(remove_)}) {
        widget->hide();
    }
    for (const auto& [feet, button] : lengthButtons_) {
        button->hide();
    }
    return_->show();
    hide();
}

void TMain::Returned() {
    if (actions_["HideStatusPanel1"]->isEnabled()) {
        status_->show();
    }
    show();
    for (QWidget* widget : {static_cast<QWidget*>(treeLabel_), static_cast<QWidget*>(treeCombo_),
                            static_cast<QWidget*>(compare_)}) {
        widget->setEnabled(true);
        widget->show();
    }
    return_->hide();
    for (QWidget* widget : {static_cast<QWidget*>(up_), static_cast<QWidget*>(down_),
                            static_cast<QWidget*>(remove_), static_cast<QWidget*>(canvas_)}) {
        widget->show();
    }
    for (const auto& [feet, button] : lengthButtons_) {
        button->show();
    }
    endDefectKey_->setVisible(!actions_["ShowEndDefectKey1"]->isEnabled());
    game_.StemRedrawn = 2;
    raise();
    activateWindow();
}

void TMain::SetStatusPanelShown(bool shown) {
    status_->setVisible(shown);
    actions_["ShowStatusPanel1"]->setEnabled(!shown);
    actions_["HideStatusPanel1"]->setEnabled(shown);
}

void TMain::SetEndDefectKeyShown(bool shown) {
    endDefectKey_->setVisible(shown);
    actions_["ShowEndDefectKey1"]->setEnabled(!shown);
    actions_["HideEndDefectKey1"]->setEnabled(shown);
}

// The trim in force for the lengths of new cuts and for the evaluation; the cuts already placed
// stay where they are.
void TMain::SetTrimAllowance(int inches) {
    trim_ = inches == 4 ? 4 : 8;
    actions_["N4inches1"]->setChecked(trim_ == 4);
    actions_["N8inches1"]->setChecked(trim_ == 8);
    if (market_ && market_->TrimAllowance() != trim_) {
        MarketSpecs specs = market_->Specs();
        specs.TrimAllowance = static_cast<std::uint8_t>(trim_);
        market_->SetSpecs(specs);
        status_->ShowMarket(*market_);
        // The lengths a coach allows are the trim's.
        if (coach_->Ready() != nullptr || coach_->Building()) {
            StartCoaching();
        }
    }
}

void TMain::SetFitStem(bool fit) {
    canvas_->SetFitStem(fit);
    comparison_->SetFitStem(fit);
}

bool TMain::CoachingInForce() const {
    return actions_.at("Coach1")->isChecked() && !grading_->IsOn() &&
           (game_.Mode == GameMode::Buck || game_.Mode == GameMode::BuckWithOptimal);
}

void TMain::UpdateCoachItem() {
    const bool tracked = game_.Mode == GameMode::Tracking || game_.Mode == GameMode::GroupTracking;
    actions_["Coach1"]->setEnabled(!tracked && !grading_->IsOn());
}

void TMain::StartCoaching() {
    if (!CoachingInForce() || !tree_ || !market_) {
        StopCoaching();
        return;
    }
    coach_->Start(tree_, *market_);
    strip_.reset();
    canvas_->HideCostStrip();
    readOut_->HideCoaching();
    coachStatus_->setText("Coach: working out the best patterns of this tree...");
    coachStatus_->show();
}

void TMain::StopCoaching() {
    coach_->Stop();
    strip_.reset();
    canvas_->HideCostStrip();
    readOut_->HideCoaching();
    coachStatus_->clear();
    coachStatus_->hide();
}

void TMain::UpdateCoaching() {
    Coach* coach = coach_->Ready();
    if (coach == nullptr || !view_ || !CoachingInForce()) {
        return;
    }
    const std::vector<int> cuts = game_.Cuts().UsedInches();
    const bool built = Guarded(this, [&] { strip_ = BuildCostStrip(*coach, cuts); });
    if (!built) {
        StopCoaching();
        return;
    }
    canvas_->ShowCostStrip(CostStripCells(*strip_, *view_), MakeCostLegend(*strip_, 24));
    coachStatus_->setText(QString::fromStdString(CoachStatusLine(*strip_)));
    coachStatus_->show();
}

void TMain::ShowCoachingAt(int inches) {
    if (strip_) {
        readOut_->ShowCoaching(MakeCoachReadOut(*strip_, inches));
    } else {
        readOut_->HideCoaching();
    }
}

} // namespace varnok::app
