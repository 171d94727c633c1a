// Tracking sessions driven as buckers drive them: the tracking commands, the session dialogs,
// the progress button on the main window, and the results window with its grid, its chart, its
// export and its printout, checked against the core's figures for the same patterns.

#include "AppTestSupport.h"
#include "PdfText.h"
#include "TestSupport.h"

#include "game/Comparison.h"
#include "market/OptimalCuts.h"
#include "tracking/TrackingSummary.h"
#include "tree/TreeLoad.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QTableWidget>
#include <QTimer>

#include <clocale>
#include <functional>

namespace varnok {
namespace {

using test::Find;

const QString kMarket = "Appalachian Doyle";

QStringList ComboItems(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

// Steps a drop-down list to entry `index` with the arrow keys, as a user does.
void ChooseEntry(QComboBox* combo, int index) {
    const int presses = index - combo->currentIndex();
    for (int n = 0; n < std::abs(presses); ++n) {
        QTest::keyClick(combo, presses > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
    QCOMPARE(combo->currentIndex(), index);
}

QWidget* Visible(app::TMain& window, const char* name) {
    QWidget* dialog = Find<QWidget>(&window, name);
    if (!QTest::qWaitFor([dialog] { return dialog->isVisible(); }) || !test::Activate(dialog)) {
        qFatal("%s is not shown", name);
    }
    return dialog;
}

QWidget* ResultsWindow() {
    QWidget* results = test::TopLevel("TTrackResultsForm");
    if (results == nullptr) {
        qFatal("no results window");
    }
    return results;
}

// Starts a session of `buckers` and `trees` in the bundled market: "Bu&ck With Tracking" for
// one bucker, "Group Buc&k With Tracking" otherwise, every dialog answered by clicks and keys.
void StartSession(app::TMain& window, int buckers, int trees) {
    if (buckers == 1) {
        window.Action("BuckWithTracking1")->trigger();
    } else {
        window.Action("GroupBuckWithTracking1")->trigger();
        QWidget* form = Visible(window, "TTrackingBuckersForm");
        test::ClickEntry(Find<QListWidget>(form, "ListBox1"), QString::number(buckers));
        test::ClickButton(form, "Button1");
    }
    test::ChooseMarket(window, kMarket);
    QWidget* form = Visible(window, "TTrackingTreesForm");
    ChooseEntry(Find<QComboBox>(form, "ComboBox1"), trees - 1);
    test::ClickButton(form, "Button1");
    QTRY_VERIFY(window.View() != nullptr);
}

// The session as the core records it for the same trees and cuts, built apart from the window.
struct ExpectedSession {
    const DataFolder& Data;
    const Market& MarketInForce;
    TrackingSession Session;

    ExpectedSession(const DataFolder& data, const Market& market, int buckers,
                    std::vector<int> trees)
        : Data(data), MarketInForce(market),
          Session(buckers == 1 ? GameMode::Tracking : GameMode::GroupTracking) {
        Session.SetUserCount(buckers);
        Session.SetTrees(std::move(trees));
    }
    // Records the tree in play as the bucker cut it, then moves on unless the session is over.
    void Record(const std::vector<int>& buckerCuts) {
        const int number = Session.CurrentTree();
        const auto tree = LoadTree(Data, number, MarketInForce.Filter);
        const std::vector<int> optimal =
            ReadStoredOptimum(MarketInForce.OptmcutsPath, number, *tree).Cuts;
        QVERIFY(!optimal.empty());
        Session.Record(PatternKind::Optimal, EvaluatePattern(*tree, MarketInForce, optimal));
        Session.Record(PatternKind::Bucker, EvaluatePattern(*tree, MarketInForce, buckerCuts));
        if (Session.Button() != TrackingButton::ViewPerformance) {
            Session.Advance();
        }
    }
};

// What each bucker cuts on every tree: the length buttons clicked in order.
const std::vector<std::vector<const char*>> kBuckerCuts = {
    {"Button8"},            // 16'
    {"Button3", "Button4"}, // 8', 10'
    {},                     // the whole stem as one piece
};

// One press of the progress button: what it and its label read, the tree in play, its cuts.
struct Turn {
    int User = 1;
    int Tree = 0;
    std::vector<int> Cuts;
    QString Caption;
    QString Count;
};

// Plays a session shown on `window` to its summary: each bucker cuts as kBuckerCuts says and
// presses the progress button, `presses` times in all.
// A tracked bucker is never coached and cannot turn the coaching on.
void ExpectNoCoaching(app::TMain& window) {
    test::MoveMouse(test::Canvas(&window), test::OverStem(window, 300));
    QVERIFY(!window.Action("Coach1")->isEnabled());
    QVERIFY(window.Action("Coach1")->isChecked());
    QVERIFY(!test::Canvas(&window)->CostStripShown());
    QVERIFY(!Find<QLabel>(&window, "CoachStatus")->isVisible());
    QVERIFY(!Find<QLabel>(&window, "CoachCutHere")->isVisible());
    QCOMPARE(Find<QWidget>(&window, "Panel2")->width(), 161);
}

std::vector<Turn> Play(app::TMain& window, int presses) {
    auto* progress = Find<QPushButton>(&window, "Button12");
    auto* count = Find<QLabel>(&window, "Label5");
    std::vector<Turn> turns;
    int user = 1;
    for (int press = 0; press < presses; ++press) {
        Turn turn;
        turn.User = user;
        turn.Tree = window.Game().TreeNumber;
        turn.Caption = progress->text();
        turn.Count = count->text();
        for (const char* button : kBuckerCuts[static_cast<std::size_t>(user - 1)]) {
            test::ClickButton(&window, button);
        }
        turn.Cuts = window.Game().Cuts().UsedInches();
        ExpectNoCoaching(window);
        if (QTest::currentTestFailed()) {
            return turns;
        }
        if (turn.Caption == "Next User") {
            ++user;
        }
        turns.push_back(turn);
        test::Click(progress);
    }
    return turns;
}

// The session the core records for the same turns, built apart from the window: the trees are
// those of the first bucker's turns.
TrackingSession Expected(const DataFolder& data, const Market& market, int buckers,
                         const std::vector<Turn>& turns) {
    TrackingSession session(buckers == 1 ? GameMode::Tracking : GameMode::GroupTracking);
    session.SetUserCount(buckers);
    std::vector<int> trees;
    for (const Turn& turn : turns) {
        if (turn.User == 1) {
            trees.push_back(turn.Tree);
        }
    }
    session.SetTrees(trees);
    for (const Turn& turn : turns) {
        const auto tree = LoadTree(data, turn.Tree, market.Filter);
        const std::vector<int> optimal =
            ReadStoredOptimum(market.OptmcutsPath, turn.Tree, *tree).Cuts;
        session.Record(PatternKind::Optimal, EvaluatePattern(*tree, market, optimal));
        session.Record(PatternKind::Bucker, EvaluatePattern(*tree, market, turn.Cuts));
        if (session.Button() != TrackingButton::ViewPerformance) {
            session.Advance();
        }
    }
    return session;
}

// The grid's texts as the core's grid holds them, and every column at least as wide.
void CheckGrid(QWidget* results, const SummaryGrid& expected) {
    auto* grid = Find<QTableWidget>(results, "StringGrid1");
    QCOMPARE(grid->rowCount(), expected.Rows());
    QCOMPARE(grid->columnCount(), expected.Columns());
    for (int row = 0; row < expected.Rows(); ++row) {
        for (int column = 0; column < expected.Columns(); ++column) {
            const QTableWidgetItem* item = grid->item(row, column);
            QCOMPARE(item == nullptr ? QString() : item->text(),
                     QString::fromStdString(expected.At(column, row)));
            if (item != nullptr) {
                QVERIFY(grid->columnWidth(column) >
                        grid->fontMetrics().horizontalAdvance(item->text()));
            }
        }
        QVERIFY(grid->columnWidth(0) >= expected.ColumnWidths[0]);
    }
}

// The chart's two bar sets: their names, categories and values.
void CheckChart(QWidget* results, const QStringList& categories, const QString& buckerName,
                const QList<qreal>& optimal, const QList<qreal>& bucker) {
    QChart* chart = Find<QChartView>(results, "SessionChart")->chart();
    QCOMPARE(chart->series().size(), 1);
    auto* series = qobject_cast<QBarSeries*>(chart->series().front());
    QVERIFY(series != nullptr);
    QCOMPARE(series->count(), 2);
    const std::array<std::pair<QString, const QList<qreal>*>, 2> sets = {
        {{"Optimal", &optimal}, {buckerName, &bucker}}};
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const QBarSet* set = series->barSets()[static_cast<int>(i)];
        QCOMPARE(set->label(), sets[i].first);
        QCOMPARE(set->count(), sets[i].second->size());
        for (int n = 0; n < set->count(); ++n) {
            QCOMPARE(set->at(n), sets[i].second->at(n));
        }
    }
    auto* across = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).front());
    QVERIFY(across != nullptr);
    QCOMPARE(across->categories(), categories);
}

void CheckSessionChart(QWidget* results, const TrackingSession& session) {
    QStringList categories;
    QList<qreal> optimal;
    QList<qreal> bucker;
    for (int user = 1; user <= session.UserCount(); ++user) {
        categories << "Bucker " + QString::number(user);
        optimal << SumSession(session, user).OV;
        bucker << SumSession(session, user).BV;
    }
    CheckChart(results, categories, "Bucker", optimal, bucker);
}

void CheckTreeChart(QWidget* results, const TrackingSession& session, int user) {
    QStringList categories;
    QList<qreal> optimal;
    QList<qreal> bucker;
    for (const TreeValues& tree : ValuesPerTree(session, user)) {
        categories << QString("Tree%1 (%2)").arg(tree.Position).arg(tree.TreeNumber);
        optimal << tree.Optimal;
        bucker << tree.Bucker;
    }
    CheckChart(results, categories, "Bucker " + QString::number(user), optimal, bucker);
}

// The plain bucking layout: no tree, no toolbar, "&Compare" and the tree box in place of the
// tracking controls, the main window shown and no session dialog left open.
void CheckPlainWindow(app::TMain& window) {
    QTRY_VERIFY(window.isVisible());
    QVERIFY(!test::Canvas(&window)->HasStem());
    QVERIFY(window.View() == nullptr);
    QVERIFY(!Find<QWidget>(&window, "Panel1")->isVisible());
    QVERIFY(!Find<QWidget>(&window, "StatusPanel")->isVisible());
    for (const char* name : {"Button12", "Label5"}) {
        QVERIFY2(Find<QWidget>(&window, name)->isHidden(), name);
    }
    for (const char* name : {"Button5", "Label2", "ComboBox2"}) {
        QVERIFY2(!Find<QWidget>(&window, name)->isHidden(), name);
    }
    for (const char* name : {"TTrackingBuckersForm", "TTrackingTreesForm", "TSelectTreeForm"}) {
        QVERIFY2(!Find<QWidget>(&window, name)->isVisible(), name);
    }
    QVERIFY(!ResultsWindow()->isVisible());
    QVERIFY(window.Game().Mode != GameMode::Tracking &&
            window.Game().Mode != GameMode::GroupTracking);
}

// Answers the question a save dialog asks, in a nested event loop of its own, before it
// replaces a file: the box is looked for until it is up.
void AnswerReplace(QMessageBox::StandardButton answer, QString* question) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer, question] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        *question = box->text();
        poll->stop();
        poll->deleteLater();
        box->button(answer)->click();
    });
    poll->start(10);
}

} // namespace

class TrackingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    // The commands, hidden unless asked for; the dialogs' texts and choices; the progress
    // controls in place of "&Compare" and the tree box; the captions at the first tree.
    void TheCommandsAndTheSetupDialogs() {
        {
            app::TMain standard(test::Bundled(), false);
            QVERIFY(!standard.Action("BuckWithTracking1")->isVisible());
            QVERIFY(!standard.Action("GroupBuckWithTracking1")->isVisible());
        }
        app::TMain window(test::Bundled(), true);
        window.showMaximized();
        QCOMPARE(window.Action("BuckWithTracking1")->text(), QString("Bu&ck With Tracking"));
        QCOMPARE(window.Action("GroupBuckWithTracking1")->text(),
                 QString("Group Buc&k With Tracking"));
        QVERIFY(window.Action("BuckWithTracking1")->isVisible());
        QVERIFY(window.Action("GroupBuckWithTracking1")->isVisible());

        window.Action("GroupBuckWithTracking1")->trigger();
        QWidget* buckers = Visible(window, "TTrackingBuckersForm");
        QCOMPARE(buckers->windowTitle(), QString("Buckers Selection"));
        QCOMPARE(Find<QLabel>(buckers, "Label1")->text(),
                 QString("Select The Number of Buckers to Track"));
        auto* buckerList = Find<QListWidget>(buckers, "ListBox1");
        QCOMPARE(test::Items(buckerList), (QStringList{"1", "2", "3", "4", "5"}));
        QVERIFY(buckerList->selectedItems().isEmpty());
        QCOMPARE(Find<QPushButton>(buckers, "Button1")->text(), QString("Next"));
        QVERIFY(!Find<QWidget>(&window, "TSelectMarketForm")->isVisible());
        QCOMPARE(Find<QPushButton>(&window, "Button12")->text(), QString("Next Tree"));
        QCOMPARE(Find<QLabel>(&window, "Label5")->text(), QString("0 of 0"));
        QVERIFY(Find<QWidget>(&window, "Button12")->isVisible());
        QVERIFY(Find<QWidget>(&window, "Label5")->isVisible());
        QVERIFY(Find<QWidget>(&window, "Button5")->isHidden());
        QVERIFY(Find<QWidget>(&window, "ComboBox2")->isHidden());
        QVERIFY(Find<QWidget>(&window, "Label2")->isHidden());
        QVERIFY(!Find<QWidget>(&window, "Button12")->isEnabled());
        test::ClickButton(buckers, "Button1"); // no number chosen: nothing happens
        QVERIFY(buckers->isVisible());
        QVERIFY(!Find<QWidget>(&window, "TSelectMarketForm")->isVisible());
        test::ClickEntry(buckerList, "3");
        test::ClickButton(buckers, "Button1");
        QVERIFY(!buckers->isVisible());

        test::ChooseMarket(window, kMarket);
        QWidget* trees = Visible(window, "TTrackingTreesForm");
        QVERIFY(!Find<QWidget>(&window, "TSelectTreeForm")->isVisible());
        QCOMPARE(trees->windowTitle(), QString("Trees Selection"));
        QCOMPARE(Find<QLabel>(trees, "Label1")->text(),
                 QString("Select The Number of Trees to Track"));
        auto* treeList = Find<QComboBox>(trees, "ComboBox1");
        QCOMPARE(ComboItems(treeList),
                 (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
        QCOMPARE(treeList->currentText(), QString("1"));
        QVERIFY(!treeList->isEditable());
        QCOMPARE(Find<QPushButton>(trees, "Button1")->text(), QString("Begin Bucking Session"));

        // One tree: the last tree at once, for three buckers "Next User", for one "View
        // Performance".
        test::ClickButton(trees, "Button1");
        QTRY_VERIFY(window.View() != nullptr);
        QCOMPARE(Find<QPushButton>(&window, "Button12")->text(), QString("Next User"));
        QCOMPARE(Find<QLabel>(&window, "Label5")->text(), QString("1 of 1"));
        QVERIFY(Find<QPushButton>(&window, "Button12")->isEnabled());
        QVERIFY(Find<QWidget>(&window, "ComboBox2")->isHidden());

        StartSession(window, 1, 1);
        QCOMPARE(Find<QPushButton>(&window, "Button12")->text(), QString("View Performance"));
        QCOMPARE(Find<QLabel>(&window, "Label5")->text(), QString("1 of 1"));
        test::ClickButton(&window, "Button12");
        QWidget* results = ResultsWindow();
        QTRY_VERIFY(results->isVisible());
        QVERIFY(!window.isVisible());
        QCOMPARE(results->windowTitle(), QString("Results Of Bucking Session"));
        QCOMPARE(ComboItems(Find<QComboBox>(results, "ComboBox1")), QStringList{"1"});
        QCOMPARE(ComboItems(Find<QComboBox>(results, "ComboBox3")),
                 (QStringList{"Performance Summary", "Tree1"}));
        test::ClickButton(results, "Button1"); // Done
        CheckPlainWindow(window);
        QVERIFY(window.Action("GroupBuckWithTracking1")->isEnabled());
    }

    // Three trees, two buckers: the captions in turn, each tree scored for the bucker whose
    // turn it is, and the summary with the core's grids and the chart of the same numbers.
    void ThreeTreesTwoBuckersEndOnTheSummary() {
        app::TMain window(test::Bundled(), true);
        window.showMaximized();
        StartSession(window, 2, 3);
        // A tracked bucker is scored unaided: "&Compare" shows no comparison, so no cut
        // costs and no log's reasons either.
        test::ClickButton(&window, "Button8");
        QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
        QApplication::processEvents();
        QWidget* comparison = test::TopLevel("TOptimizedStemForm");
        QVERIFY(comparison != nullptr && !comparison->isVisible());
        QVERIFY(!Find<QWidget>(comparison, "WhyThisGradeForm")->isVisible());
        for (const QLabel* label : comparison->findChildren<QLabel*>()) {
            QVERIFY2(!label->objectName().startsWith("CutCost"), qPrintable(label->objectName()));
        }
        test::ClickButton(&window, "Button9"); // X: the stem whole again
        QCOMPARE(window.Game().Cuts().UsedInches().size(), std::size_t{2});
        const std::vector<Turn> turns = Play(window, 6);
        QStringList captions;
        QStringList counts;
        for (const Turn& turn : turns) {
            captions << turn.Caption;
            counts << turn.Count;
        }
        QCOMPARE(captions, (QStringList{"Next Tree", "Next Tree", "Next User", "Next Tree",
                                        "Next Tree", "View Performance"}));
        QCOMPARE(counts, (QStringList{"1 of 3", "2 of 3", "3 of 3", "1 of 3", "2 of 3", "3 of 3"}));
        for (std::size_t i = 0; i < 3; ++i) {
            QCOMPARE(turns[i + 3].Tree, turns[i].Tree); // the second bucker bucks the same trees
            QCOMPARE(turns[i + 3].User, 2);
        }
        QVERIFY(turns[0].Tree != turns[1].Tree && turns[1].Tree != turns[2].Tree &&
                turns[0].Tree != turns[2].Tree);

        QWidget* results = ResultsWindow();
        QTRY_VERIFY(results->isVisible());
        QVERIFY(!window.isVisible());
        const Market& market = *window.CurrentMarket();
        const TrackingSession expected = Expected(test::Bundled(), market, 2, turns);
        auto* bucker = Find<QComboBox>(results, "ComboBox1");
        auto* result = Find<QComboBox>(results, "ComboBox3");
        QCOMPARE(ComboItems(bucker), (QStringList{"1", "2"}));
        QCOMPARE(ComboItems(result),
                 (QStringList{"Performance Summary", "Tree1", "Tree2", "Tree3"}));
        QCOMPARE(result->currentText(), QString("Performance Summary"));
        QVERIFY(Find<QPushButton>(results, "Button1")->hasFocus());
        CheckGrid(results, SessionSummary(expected, 1));
        CheckSessionChart(results, expected);
        // The two buckers cut differently, so their totals differ.
        QVERIFY(SumSession(expected, 1).BV != SumSession(expected, 2).BV);

        struct Step {
            const char* list;
            int index;
            int user, position; // shown afterwards; position 0: the session summary
        };
        const Step steps[] = {
            {"ComboBox1", 1, 2, 0}, {"ComboBox3", 2, 2, 2}, {"ComboBox1", 0, 1, 2},
            {"ComboBox3", 3, 1, 3}, {"ComboBox3", 0, 1, 0},
        };
        for (const Step& step : steps) {
            ChooseEntry(Find<QComboBox>(results, step.list), step.index);
            if (step.position == 0) {
                CheckGrid(results, SessionSummary(expected, step.user));
                CheckSessionChart(results, expected);
            } else {
                CheckGrid(results, TreeSummary(expected, step.user, step.position, market));
                CheckTreeChart(results, expected, step.user);
            }
        }
        results->close(); // the window's frame: as "Done"
        CheckPlainWindow(window);
    }

    // Each way out of a session before its summary: the session ends and the main window is
    // plain again; a new game afterwards is an ordinary one.
    void LeavingASessionCancelsIt() {
        struct Case {
            const char* name;
            int buckers;
            const char* at; // the dialog open when the session is left
            std::function<void(app::TMain&, QWidget*)> leave;
            bool plain; // the plain window afterwards (else a new game has begun)
        };
        const auto escape = [](app::TMain&, QWidget* dialog) {
            QTest::keyClick(dialog, Qt::Key_Escape);
        };
        const auto frame = [](app::TMain&, QWidget* dialog) { dialog->close(); };
        const auto buck = [](app::TMain& window, QWidget*) { window.Action("Buck1")->trigger(); };
        const Case cases[] = {
            {"Esc on Buckers Selection", 3, "TTrackingBuckersForm", escape, true},
            {"frame of Buckers Selection", 3, "TTrackingBuckersForm", frame, true},
            {"Esc on Market Selection", 1, "TSelectMarketForm", escape, true},
            {"Esc on Trees Selection", 2, "TTrackingTreesForm", escape, true},
            {"frame of Trees Selection", 1, "TTrackingTreesForm", frame, true},
            {"Buck With Optimal on Trees Selection", 1, "TTrackingTreesForm", buck, false},
            {"Buck With Optimal while bucking", 2, nullptr, buck, false},
        };
        for (const Case& c : cases) {
            qInfo("%s", c.name);
            app::TMain window(test::Bundled(), true);
            window.showMaximized();
            QWidget* dialog = nullptr;
            if (c.at == nullptr) {
                StartSession(window, c.buckers, 2);
                test::ClickButton(&window, "Button12");
                QCOMPARE(Find<QLabel>(&window, "Label5")->text(), QString("2 of 2"));
            } else {
                window.Action(c.buckers == 1 ? "BuckWithTracking1" : "GroupBuckWithTracking1")
                    ->trigger();
                const QString at = c.at;
                if (at != "TTrackingBuckersForm" && c.buckers > 1) {
                    QWidget* buckers = Visible(window, "TTrackingBuckersForm");
                    test::ClickEntry(Find<QListWidget>(buckers, "ListBox1"),
                                     QString::number(c.buckers));
                    test::ClickButton(buckers, "Button1");
                }
                if (at == "TTrackingTreesForm") {
                    test::ChooseMarket(window, kMarket);
                }
                dialog = Visible(window, c.at);
            }
            c.leave(window, dialog);
            if (c.plain) {
                CheckPlainWindow(window);
            } else {
                QVERIFY(Find<QWidget>(&window, "TSelectMarketForm")->isVisible());
                QVERIFY(Find<QWidget>(&window, "Button12")->isHidden());
                QVERIFY(Find<QWidget>(&window, "Label5")->isHidden());
                QVERIFY(!Find<QWidget>(&window, "TTrackingTreesForm")->isVisible());
            }
            // No session is left behind: a market chosen now goes on to "Tree Selection".
            window.Action("Buck1")->trigger();
            test::ChooseMarket(window, kMarket);
            QTRY_VERIFY(Find<QWidget>(&window, "TSelectTreeForm")->isVisible());
            QVERIFY(!Find<QWidget>(&window, "TTrackingTreesForm")->isVisible());
            QCOMPARE(window.Game().Mode, GameMode::BuckWithOptimal);
        }
    }

    // A market lacking an optimal pattern cannot serve a session; a session tree that cannot
    // be loaded cancels the session with the error shown.
    void AMarketOrTreeThatCannotBeScoredEndsTheSession() {
        const test::BundledCopy copy;
        app::TMain window(copy.Data, true);
        window.showMaximized();
        const std::filesystem::path optmcuts =
            copy.Data.Root() / "Markets" / kMarket.toStdString() / "Optmcuts";
        const OptimalCutsTable whole = ReadOptimalCuts(optmcuts);
        OptimalCutsTable lacking = whole;
        lacking.Entry(150) = {};
        WriteOptimalCuts(optmcuts, lacking);
        window.Action("BuckWithTracking1")->trigger();
        test::ChooseMarket(window, kMarket);
        QWidget* markets = Find<QWidget>(&window, "TSelectMarketForm");
        auto* error = markets->findChild<QMessageBox*>("ErrorBox");
        QVERIFY(error != nullptr);
        QCOMPARE(error->text(), QString("Market \"Appalachian Doyle\" stores no optimal pattern "
                                        "for tree 150. A tracking session scores every tree it "
                                        "draws against its optimal pattern: choose a complete "
                                        "market."));
        test::Click(error->button(QMessageBox::Ok));
        QVERIFY(markets->isVisible());
        QVERIFY(!Find<QWidget>(&window, "TTrackingTreesForm")->isVisible());
        QVERIFY(window.CurrentMarket() == nullptr);
        QTest::keyClick(markets, Qt::Key_Escape);
        CheckPlainWindow(window);

        WriteOptimalCuts(optmcuts, whole);
        for (int tree = 1; tree <= kTreeCount; ++tree) {
            std::filesystem::remove(copy.Data.ShapeFile(tree));
        }
        window.Action("BuckWithTracking1")->trigger();
        test::ChooseMarket(window, kMarket);
        QWidget* trees = Visible(window, "TTrackingTreesForm");
        test::ClickButton(trees, "Button1");
        QMessageBox* failed = nullptr;
        QTRY_VERIFY((failed = window.findChild<QMessageBox*>("ErrorBox")) != nullptr);
        QVERIFY2(failed->text().contains("File not found"), qPrintable(failed->text()));
        QVERIFY2(failed->text().contains(".SHP"), qPrintable(failed->text()));
        CheckPlainWindow(window);
    }

    // "Export..." proposes a file in "Reports" and writes the core's text byte for byte,
    // replacing a file only when told to; "Print..." prints the core's report lines.
    void ExportAndPrintTheSession() {
        const test::BundledCopy copy;
        app::TMain window(copy.Data, true);
        window.showMaximized();
        StartSession(window, 1, 2);
        const std::vector<Turn> turns = Play(window, 2);
        QWidget* results = ResultsWindow();
        QTRY_VERIFY(results->isVisible());
        const TrackingSession expected = Expected(copy.Data, *window.CurrentMarket(), 1, turns);
        const std::string csv = SessionCsv(expected, *window.CurrentMarket());
        const std::filesystem::path file =
            copy.Data.Reports() / "Appalachian Doyle Tracking Session.csv";

        auto* save = Find<QFileDialog>(results, "SaveDialog1");
        const auto exportTo = [&] {
            test::ClickButton(results, "ExportButton");
            QTRY_VERIFY(save->isVisible());
            QCOMPARE(save->directory().absolutePath(),
                     QString::fromStdString(copy.Data.Reports().string()));
            auto* name = Find<QLineEdit>(save, "fileNameEdit");
            QCOMPARE(name->text(), QString("Appalachian Doyle Tracking Session.csv"));
            QVERIFY(test::Activate(save));
            QTest::keyClick(name, Qt::Key_Return);
        };
        exportTo();
        QTRY_VERIFY(!save->isVisible());
        const auto bytes = test::ReadBytes(file);
        QCOMPARE(std::string(bytes.begin(), bytes.end()), csv);
        QVERIFY(csv.find("\r\n1,") != std::string::npos);

        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            test::WriteText(file, "old");
            QString question;
            AnswerReplace(answer, &question);
            exportTo();
            QVERIFY2(question.contains("already exists"), qPrintable(question));
            const auto now = test::ReadBytes(file);
            QCOMPARE(std::string(now.begin(), now.end()),
                     answer == QMessageBox::Yes ? csv : std::string("old"));
            if (save->isVisible()) {
                QTest::keyClick(save, Qt::Key_Escape);
            }
            QTRY_VERIFY(!save->isVisible());
        }

        if (QPrinterInfo::availablePrinterNames().isEmpty()) {
            test::ClickButton(results, "PrintButton");
            const std::filesystem::path pdf =
                copy.Data.Reports() / "Tracking Session - Appalachian Doyle.pdf";
            auto* told = results->findChild<QMessageBox*>("MessageBox");
            QVERIFY(told != nullptr);
            QVERIFY2(told->text().contains(QString::fromStdString(pdf.string())),
                     qPrintable(told->text()));
            QStringList printed;
            for (const QStringList& page : test::PdfPages(pdf)) {
                for (const QString& line : test::SqueezeBlanks(page)) {
                    if (!line.isEmpty()) {
                        printed << line;
                    }
                }
            }
            QStringList lines;
            for (const std::string& line : SessionReportLines(expected, *window.CurrentMarket())) {
                const QString text = QString::fromStdString(line).simplified();
                if (!text.isEmpty()) {
                    lines << text;
                }
            }
            QCOMPARE(printed, lines);
            test::Click(told->button(QMessageBox::Ok));
        }
        test::ClickButton(results, "Button1");
        CheckPlainWindow(window);
    }
};

} // namespace varnok

QTEST_MAIN(varnok::TrackingTest)
#include "TrackingTest.moc"
