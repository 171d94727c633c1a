// The main window and the comparison, driven as a user drives them: menu items, real clicks on
// buttons and on the stem picture, key presses of the accelerators.

#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/Application.h"

#include "coach/Coach.h"

#include "game/Comparison.h"
#include "game/ComparisonLayout.h"
#include "game/PatternEvaluation.h"
#include "game/StemFigures.h"
#include "market/OptimalCuts.h"
#include "support/Numbers.h"
#include "tree/ShapeFile.h"
#include "tree/TreeLoad.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <clocale>
#include <filesystem>

namespace varnok {
namespace {

using test::Activate;
using test::Bundled;
using test::BundledCopy;
using test::ClickButton;
using test::Find;
using test::Items;
using test::TreeOfLength;

const QString kMarket = "Appalachian Doyle";

std::vector<int> InchesOf(const app::TMain& window) {
    return window.Game().Cuts().UsedInches();
}

int LongestTree() {
    return TreeOfLength(true);
}

// The dollars of a cut's cost as the comparison shows it: "−$8.63" is 8.63, "$0.00" is 0.
double ShownCost(const QString& text) {
    const QString minus = QString(QChar(0x2212)) + "$";
    if (text.startsWith(minus)) {
        return text.mid(minus.size()).toDouble();
    }
    if (text != "$0.00") {
        qFatal("a cut's cost reads %s", qPrintable(text));
    }
    return 0.0;
}

// The reasons `evaluate --explain` prints for piece `index` (from 1), without its indentation.
QStringList ExplainedReasons(const Tree& tree, const Market& market, const std::vector<int>& cuts,
                             int index) {
    const PatternEvaluation evaluation = EvaluatePattern(tree, market, cuts, GradeReasons::Record);
    QStringList lines;
    for (const GradeReason& reason :
         evaluation.Pieces[static_cast<std::size_t>(index - 1)].Reasons) {
        lines << QString::fromStdString(ReasonLine(reason));
    }
    return lines;
}

// The widget point on the stem of comparison picture `canvas`, `inches` above the butt.
QPoint OnComparisonStem(const app::StemCanvas* canvas, const StemView& view, int inches) {
    const PictureMapping& mapping = canvas->Mapping();
    return QPoint(static_cast<int>(std::lround(mapping.ToWidgetX(view.ButtX + inches))),
                  static_cast<int>(std::lround(mapping.WidgetRowY)));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    void StartUpState() {
        app::TMain window(Bundled(), false);
        window.show();
        QVERIFY(!Find<QWidget>(&window, "Panel1")->isVisible());
        QVERIFY(!Find<QWidget>(&window, "StatusPanel")->isVisible());
        QVERIFY(!Find<QWidget>(&window, "Panel2")->isVisible());
        QVERIFY(!Find<QPushButton>(&window, "Button5")->isEnabled());
        for (const char* hidden :
             {"Buck2", "BuckWithTracking1", "GroupBuckWithTracking1", "TreeGrading1",
              "DefineSawlogGradingRules1", "Createv1", "DefineLogRule1", "DefineNewPrices1",
              "DefineRoundwoodProducts", "DefineDefectFilterSet1", "DefineMarkeg1", "PrintMarket1",
              "OptimalResults1", "SawGradingRulesFullMatrix1"}) {
            QVERIFY2(!window.Action(hidden)->isVisible(), hidden);
        }
        for (const char* shown : {"Welcom1", "Buck1", "ViewSawlogGradingRules1", "Exit1", "Market1",
                                  "WebResouces1", "AboutVarnok1"}) {
            QVERIFY2(window.Action(shown)->isVisible(), shown);
        }
        QCOMPARE(window.Action("Buck1")->text(), QString("B&uck With Optimal"));
        QVERIFY(!window.Action("OptimalResults1")->isEnabled());
        // Of each pair exactly one is enabled; the trim in force (8 inches) is checked.
        QVERIFY(window.Action("ShowStatusPanel1")->isEnabled());
        QVERIFY(!window.Action("HideStatusPanel1")->isEnabled());
        QVERIFY(!window.Action("ShowEndDefectKey1")->isEnabled());
        QVERIFY(window.Action("HideEndDefectKey1")->isEnabled());
        QVERIFY(window.Action("N8inches1")->isChecked());
        QVERIFY(!window.Action("N4inches1")->isChecked());

        app::TMain instructor(Bundled(), true);
        QVERIFY(instructor.Action("Buck2")->isVisible());
        QVERIFY(instructor.Action("DefineMarkeg1")->isVisible());
    }

    void BuckWithOptimalFromStartToReturn() {
        app::TMain window(Bundled(), false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, 5);
        QTRY_VERIFY(window.View() != nullptr);
        QCOMPARE(window.Game().TreeNumber, 5);
        QVERIFY(!Find<QWidget>(&window, "TSelectTreeForm")->isVisible());
        QVERIFY(Find<QWidget>(&window, "StatusPanel")->isVisible());
        QCOMPARE(Find<QLineEdit>(&window, "Edit3")->text(), kMarket);
        QCOMPARE(Find<QLineEdit>(&window, "Edit5")->text(), QString("8"));
        QCOMPARE(Find<QComboBox>(&window, "ComboBox2")->currentText(), QString("5"));
        const int top = window.View()->StemLength;
        QCOMPARE(InchesOf(window), (std::vector<int>{0, top}));

        ClickButton(&window, "Button8"); // 16'
        ClickButton(&window, "Button3"); // 8'
        QCOMPARE(InchesOf(window), (std::vector<int>{0, 200, 304, top}));

        // A mouse cut at 100 inches; over it again, a click takes it away.
        app::StemCanvas* canvas = test::Canvas(&window);
        test::MoveMouse(canvas, test::OverStem(window, 101));
        QVERIFY(Find<QWidget>(&window, "Panel2")->isVisible());
        test::PressMouse(canvas, test::OverStem(window, 101), Qt::LeftButton);
        QCOMPARE(InchesOf(window), (std::vector<int>{0, 100, 200, 304, top}));
        test::MoveMouse(canvas, test::OverStem(window, 100));
        QCOMPARE(Find<QLabel>(&window, "Label7")->text(), QString("<==  8' 4\" "));
        test::PressMouse(canvas, test::OverStem(window, 100), Qt::LeftButton);
        QCOMPARE(InchesOf(window), (std::vector<int>{0, 200, 304, top}));

        ClickButton(&window, "Button9"); // X: the cut nearest the top
        QCOMPARE(InchesOf(window), (std::vector<int>{0, 200, top}));
        const std::vector<int> cuts = InchesOf(window);

        QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier); // &Compare
        QWidget* comparison = test::TopLevel("TOptimizedStemForm");
        QVERIFY(comparison != nullptr);
        QTRY_VERIFY(comparison->isVisible());
        QVERIFY(!window.isVisible());
        QCOMPARE(comparison->windowTitle(), QString("Comparison With Optimal Solution"));
        QCOMPARE(Find<QLineEdit>(comparison, "Edit9")->text(), QString("5"));
        QCOMPARE(Find<QLineEdit>(comparison, "Edit1")->text(), kMarket);

        // The labels show what the core worked out for both patterns.
        const Market& market = *window.CurrentMarket();
        const auto tree = LoadTree(Bundled(), 5, market.Filter);
        const PatternResult bucker =
            ComparePattern(*tree, market, Solution::Bucker, cuts, window.View()->ButtX);
        QVERIFY(!bucker.Labels.empty());
        const LogLabel& first = bucker.Labels.front();
        const auto* box =
            Find<QListWidget>(comparison, "ListBox" + QString::number(15 + first.LogIndex));
        QVERIFY(box->isVisible());
        QStringList expected;
        for (const std::string& line : first.Lines) {
            expected << QString::fromStdString(line);
        }
        QCOMPARE(Items(box), expected);
        QVERIFY(
            Find<QLabel>(comparison, "OptDollar")->text().startsWith("Optimal Solution Returns $"));
        QCOMPARE(Find<QLabel>(comparison, "BuckDollar")->text(),
                 QString::fromStdString(*bucker.ReturnsLine));
        QVERIFY(Find<QListWidget>(comparison, "ListBox1")->isVisible());

        QVERIFY(test::Activate(comparison));
        QTest::keyClick(comparison, Qt::Key_R, Qt::AltModifier); // &Return
        QTRY_VERIFY(window.isVisible());
        QVERIFY(!comparison->isVisible());
        QCOMPARE(InchesOf(window), cuts);
        QVERIFY(Find<QPushButton>(&window, "Button5")->isVisible());
        QVERIFY(!Find<QPushButton>(&window, "Return")->isVisible());
        QCOMPARE(window.Game().StemRedrawn, 2);
    }

    // "B&uck With Optimal" coaches: under each of the bucker's cuts what the coach says it
    // costs, the costliest in red, the cuts of the best completion dashed on the stem, and a
    // click on a log, on a label or Enter on a label opens why that log took its grade.
    void TheComparisonCoachesTheBucker() {
        constexpr int treeNumber = 12;
        app::TMain window(Bundled(), false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, treeNumber);
        QTRY_VERIFY(window.View() != nullptr);
        for (const char* button : {"Button3", "Button3", "Button8", "Button4"}) {
            ClickButton(&window, button); // 8', 8', 16', 10'
        }
        const std::vector<int> cuts = InchesOf(window);
        QCOMPARE(cuts.size(), std::size_t{6});
        ClickButton(&window, "Button5");
        QWidget* comparison = test::TopLevel("TOptimizedStemForm");
        QTRY_VERIFY(comparison->isVisible());
        QApplication::processEvents();

        const Market& market = *window.CurrentMarket();
        const auto tree = LoadTree(Bundled(), treeNumber, market.Filter);
        Coach coach(*tree, market);
        const std::vector<CutCost> costs = coach.CutCosts(cuts);
        const auto costliest = CostliestCut(costs);
        QVERIFY(costliest.has_value()); // these cuts cost something: the test can tell
        const StemView& view = *window.View();
        auto* bucker = Find<app::StemCanvas>(comparison, "BuckerStemImageBox");
        const StemExtent extent = VerticalExtent(view);
        const int stemBottom = static_cast<int>(bucker->Mapping().WidgetRowY) + extent.Below;
        const int labelsTop = Find<QListWidget>(comparison, "ListBox16")->geometry().top();
        QList<QRect> places;
        for (std::size_t k = 0; k < costs.size(); ++k) {
            const QString name = "CutCost" + QString::number(k + 1);
            auto* label = Find<QLabel>(bucker, name);
            QVERIFY2(label->isVisible(), qPrintable(name));
            QVERIFY2(std::abs(ShownCost(label->text()) - costs[k].Cost) < 0.005 + 1e-9,
                     qPrintable(name + " " + label->text()));
            const QColor colour = label->palette().color(QPalette::WindowText);
            QCOMPARE(colour == QColor(255, 64, 64), k == *costliest);
            // Between the stem and the log labels, apart from one another, text not cut off.
            const QRect at = label->geometry();
            QVERIFY2(at.top() > stemBottom && at.bottom() < labelsTop, qPrintable(name));
            QVERIFY(QFontMetrics(label->font()).horizontalAdvance(label->text()) < at.width());
            for (const QRect& other : places) {
                QVERIFY2(!other.intersects(at), qPrintable(name));
            }
            places << at;
        }
        const auto* beyond =
            bucker->findChild<QLabel*>("CutCost" + QString::number(costs.size() + 1));
        QVERIFY(beyond == nullptr || !beyond->isVisible());
        auto* legend = Find<QLabel>(bucker, "CoachLegend");
        QVERIFY(legend->isVisible() && legend->text().contains("red"));
        QVERIFY(legend->geometry().bottom() < labelsTop);

        // The best completion's added cuts, and nothing else, are drawn dashed.
        std::vector<int> dashed;
        for (const Figure& figure : bucker->Figures()) {
            if (figure.Dashed) {
                dashed.push_back(figure.Points[0].X - view.ButtX);
                // They cross the stem and stop short of the returns and the cut costs.
                const PictureMapping& mapping = bucker->Mapping();
                const auto* net = Find<QListWidget>(comparison, "ListBox33");
                const int linesBottom =
                    std::max(Find<QLabel>(comparison, "BuckDollar")->geometry().bottom(),
                             net->isVisible() ? net->geometry().bottom() : 0);
                QVERIFY(mapping.ToWidgetY(figure.Points[0].Y) > linesBottom);
                QVERIFY(mapping.ToWidgetY(figure.Points[1].Y) < places.front().top());
            }
        }
        std::vector<int> added;
        for (const CoachedGap& gap : coach.BestCompletion(cuts).Gaps) {
            added.insert(added.end(), gap.AddedCuts.begin(), gap.AddedCuts.end());
        }
        std::erase(added, coach.UsableLength()); // the stub above it is waste either way
        QVERIFY(!added.empty());
        QCOMPARE(dashed, added);

        // A click on the bucker's second log, on its stem.
        auto* why = Find<QWidget>(comparison, "WhyThisGradeForm");
        QVERIFY(!why->isVisible());
        QTest::mouseClick(bucker, Qt::LeftButton, {},
                          OnComparisonStem(bucker, view, (cuts[1] + cuts[2]) / 2));
        QTRY_VERIFY(why->isVisible());
        QCOMPARE(why->windowTitle(), QString("Why This Grade"));
        QVERIFY(Find<QLabel>(why, "Heading")->text().startsWith("Bucker's log 2, "));
        const QStringList second = ExplainedReasons(*tree, market, cuts, 2);
        QVERIFY(second.size() >= 2);
        QCOMPARE(Items(Find<QListWidget>(why, "Reasons")), second);
        QVERIFY(test::Activate(why));
        QTest::keyClick(why, Qt::Key_Escape);
        QTRY_VERIFY(!why->isVisible());

        // A click on the optimal pattern's first label.
        const std::vector<int>& optimal = window.Game().OptimalCutList.Cuts;
        auto* optimalLabel = Find<QListWidget>(comparison, "ListBox1");
        QTest::mouseClick(optimalLabel->viewport(), Qt::LeftButton, {},
                          optimalLabel->viewport()->rect().center());
        QTRY_VERIFY(why->isVisible());
        QVERIFY(Find<QLabel>(why, "Heading")->text().startsWith("Optimal log 1, 0 to "));
        QCOMPARE(Items(Find<QListWidget>(why, "Reasons")),
                 ExplainedReasons(*tree, market, optimal, 1));
        ClickButton(why, "Close");
        QTRY_VERIFY(!why->isVisible());

        // By the keyboard: Tab to a label of the bucker's, Enter.
        QVERIFY(test::Activate(comparison));
        QListWidget* focused = nullptr;
        for (int press = 0; press < 40 && focused == nullptr; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            auto* list = qobject_cast<QListWidget*>(QApplication::focusWidget());
            if (list != nullptr && list->parentWidget() == bucker && list->count() == 6) {
                focused = list;
            }
        }
        QVERIFY(focused != nullptr);
        const int piece = focused->objectName().mid(7).toInt() - 15;
        QTest::keyClick(focused, Qt::Key_Return);
        QTRY_VERIFY(why->isVisible());
        QVERIFY(Find<QLabel>(why, "Heading")
                    ->text()
                    .startsWith("Bucker's log " + QString::number(piece) + ", "));
        QCOMPARE(Items(Find<QListWidget>(why, "Reasons")),
                 ExplainedReasons(*tree, market, cuts, piece));

        // Return closes it with the comparison.
        QVERIFY(test::Activate(comparison));
        QTest::keyClick(comparison, Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(window.isVisible());
        QVERIFY(!why->isVisible());
    }

    void BuckShowsTheBuckersResultsAlone() {
        app::TMain window(Bundled(), true);
        window.showMaximized();
        test::StartTree(window, "Buck2", kMarket, 9);
        QTRY_VERIFY(window.View() != nullptr);
        auto* compare = Find<QPushButton>(&window, "Button5");
        QCOMPARE(compare->text(), QString("Show Results"));
        ClickButton(&window, "Button8");
        test::Click(compare);
        QWidget* comparison = test::TopLevel("TOptimizedStemForm");
        QTRY_VERIFY(comparison->isVisible());
        QCOMPARE(comparison->windowTitle(), QString("Bucking Results"));
        QVERIFY(!Find<QWidget>(comparison, "OptimizedStemImageBox")->isVisible());
        QVERIFY(!Find<QWidget>(comparison, "OptimalRotateUp")->isVisible());
        QVERIFY(
            Find<QLabel>(comparison, "BuckDollar")->text().startsWith("Bucker Solution Returns $"));
        QVERIFY(Find<QLabel>(comparison, "OptDollar")->text().isEmpty());
        // Bucking alone is coached too: the one cut shows its cost.
        QVERIFY(Find<QLabel>(comparison, "CutCost1")->isVisible());
        QVERIFY(Find<QLabel>(comparison, "CoachLegend")->isVisible());
        ClickButton(comparison, "Button1");
        QTRY_VERIFY(window.isVisible());
    }

    void TheViewTurnsRoundInEighteenSteps() {
        app::TMain window(Bundled(), false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, 12);
        QTRY_VERIFY(window.View() != nullptr);
        const std::vector<Figure> first = test::Canvas(&window)->Figures();
        for (int step = 1; step <= 18; ++step) {
            QTest::keyClick(&window, Qt::Key_U, Qt::AltModifier);    // &Up
            QTRY_COMPARE(window.Game().ViewRotation, step % 18 + 1); // a mnemonic clicks late
        }
        QVERIFY(test::Canvas(&window)->Figures() == first);
        QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier); // &Down from 1
        QTRY_COMPARE(window.Game().ViewRotation, 18);
        // The right button turns up; with Shift, down.
        test::PressMouse(test::Canvas(&window), test::OverStem(window, 40), Qt::RightButton);
        QCOMPARE(window.Game().ViewRotation, 1);
        test::PressMouse(test::Canvas(&window), test::OverStem(window, 40), Qt::RightButton,
                         Qt::ShiftModifier);
        QCOMPARE(window.Game().ViewRotation, 18);
    }

    void TheTrimMenuSetsTheNextLength() {
        app::TMain window(Bundled(), false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, 20);
        QTRY_VERIFY(window.View() != nullptr);
        QVERIFY(window.Action("N8inches1")->isChecked());
        ClickButton(&window, "Button3"); // 8' with 8 inches of trim
        window.Action("N4inches1")->trigger();
        QVERIFY(window.Action("N4inches1")->isChecked());
        QVERIFY(!window.Action("N8inches1")->isChecked());
        QCOMPARE(window.CurrentMarket()->TrimAllowance(), 4);
        // The trim in force is the one the status panel and the comparison name.
        QCOMPARE(Find<QLineEdit>(&window, "Edit5")->text(), QString("4"));
        ClickButton(&window, "Button3"); // then with 4
        const std::vector<int> cuts = InchesOf(window);
        QCOMPARE(cuts[1], 104);
        QCOMPARE(cuts[2], 204);
        ClickButton(&window, "Button5");
        QWidget* comparison = test::TopLevel("TOptimizedStemForm");
        QTRY_VERIFY(comparison->isVisible());
        QCOMPARE(Find<QLineEdit>(comparison, "Edit8")->text(), QString("4"));
        ClickButton(comparison, "Button1");
        QTRY_VERIFY(window.isVisible());
        window.Action("N8inches1")->trigger();
        QVERIFY(!window.Action("N4inches1")->isChecked());
        QCOMPARE(window.CurrentMarket()->Lengths().Lengths[0], 104);
        QCOMPARE(Find<QLineEdit>(&window, "Edit5")->text(), QString("8"));
    }

    // A market chosen while a tree is in play: Compare shows that market's stored pattern valued
    // under its rules, never the previous market's pattern, and the cuts stay.
    void AMarketChangeReadsTheOptimumOfTheTreeInPlayAgain() {
        const QString other = "Northern International";
        const int treeNumber = 12;
        app::TMain window(Bundled(), false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, treeNumber);
        QTRY_VERIFY(window.View() != nullptr);
        ClickButton(&window, "Button8");
        const std::vector<int> cuts = InchesOf(window);

        window.Action("Buck1")->trigger();
        QWidget* markets = Find<QWidget>(&window, "TSelectMarketForm");
        QTRY_VERIFY(markets->isVisible());
        test::SelectMarket(markets, other);
        ClickButton(markets, "Button1");
        QWidget* trees = Find<QWidget>(&window, "TSelectTreeForm");
        QTRY_VERIFY(trees->isVisible());
        QTest::keyClick(trees, Qt::Key_Escape); // no new tree: the one in play stays
        QTRY_VERIFY(!trees->isVisible());
        QVERIFY(Activate(&window));
        QCOMPARE(window.Game().TreeNumber, treeNumber);
        QCOMPARE(InchesOf(window), cuts);
        QVERIFY(test::Canvas(&window)->HasStem());

        // What the core makes of each market's stored pattern for the tree.
        const auto expected = [&](const QString& name) {
            const Market market = LoadMarket(Bundled(), name.toStdString());
            const auto tree = LoadTree(Bundled(), treeNumber, market.Filter);
            const std::vector<int> stored = StoredOptimalCuts(
                ReadOptimalCuts(market.OptmcutsPath), market.OptmcutsPath, treeNumber, *tree);
            return ComparePattern(*tree, market, Solution::Optimal, stored, window.View()->ButtX);
        };
        const PatternResult now = expected(other);
        QVERIFY(*now.ReturnsLine != *expected(kMarket).ReturnsLine); // the test can tell them apart

        ClickButton(&window, "Button5");
        QWidget* comparison = test::TopLevel("TOptimizedStemForm");
        QTRY_VERIFY(comparison->isVisible());
        QCOMPARE(Find<QLineEdit>(comparison, "Edit1")->text(), other);
        QCOMPARE(Find<QLabel>(comparison, "OptDollar")->text(),
                 QString::fromStdString(*now.ReturnsLine));
        QStringList firstLog;
        for (const std::string& line : now.Labels.front().Lines) {
            firstLog << QString::fromStdString(line);
        }
        const QString box = "ListBox" + QString::number(now.Labels.front().LogIndex);
        QCOMPARE(Items(Find<QListWidget>(comparison, box)), firstLog);
        ClickButton(comparison, "Button1");
        QTRY_VERIFY(window.isVisible());
        QCOMPARE(InchesOf(window), cuts);
    }

    // After Esc on "Market Selection" nothing that needs a tree works until one is loaded.
    void ClosingTheMarketSelectionPutsTheTreeAway() {
        app::TMain window(Bundled(), false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, 3);
        QTRY_VERIFY(window.View() != nullptr);
        ClickButton(&window, "Button8");

        window.Action("Buck1")->trigger();
        QWidget* markets = Find<QWidget>(&window, "TSelectMarketForm");
        QTRY_VERIFY(markets->isVisible());
        QTest::keyClick(markets, Qt::Key_Escape);
        QTRY_VERIFY(!markets->isVisible());
        QVERIFY(!test::Canvas(&window)->HasStem());
        QVERIFY(!Find<QWidget>(&window, "Panel1")->isVisible());
        QVERIFY(!Find<QWidget>(&window, "StatusPanel")->isVisible());

        const QStringList needATree = {"Button5", "Button1", "Button2", "Button3", "Button4",
                                       "Button6", "Button7", "Button8", "Button9"};
        window.Action("Buck1")->trigger();
        QTRY_VERIFY(markets->isVisible());
        QVERIFY(Find<QWidget>(&window, "Panel1")->isVisible());
        for (const QString& name : needATree) {
            QVERIFY2(!Find<QPushButton>(&window, name)->isEnabled(), qPrintable(name));
        }
        QVERIFY(!Find<QWidget>(&window, "EndDefectKey")->isEnabled());
        ClickButton(&window, "Button3"); // 8' brings nothing back
        test::PressMouse(test::Canvas(&window), QPointF(300, 300), Qt::RightButton);
        QVERIFY(window.View() == nullptr);
        QVERIFY(!test::Canvas(&window)->HasStem());
        QCOMPARE(window.Game().Cuts().Count, 0);

        test::SelectMarket(markets, kMarket);
        ClickButton(markets, "Button1");
        QWidget* trees = Find<QWidget>(&window, "TSelectTreeForm");
        QTRY_VERIFY(trees->isVisible());
        ClickButton(trees, "Button1");
        QTRY_VERIFY(window.View() != nullptr);
        for (const QString& name : needATree) {
            QVERIFY2(Find<QPushButton>(&window, name)->isEnabled(), qPrintable(name));
        }
        QCOMPARE(InchesOf(window), (std::vector<int>{0, window.View()->StemLength}));
    }

    // The tree box does not take the wheel or the keys meant for the game, and a click off the
    // stem adds no cut.
    void TheTreeBoxDoesNotEatTheGame() {
        app::TMain window(Bundled(), false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, 5);
        QTRY_VERIFY(window.View() != nullptr);
        app::StemCanvas* canvas = test::Canvas(&window);
        QCOMPARE(window.focusWidget(), canvas);
        ClickButton(&window, "Button8");
        const std::vector<int> cuts = InchesOf(window);

        auto* combo = Find<QComboBox>(&window, "ComboBox2");
        const auto wheel = [&] {
            const QPointF at(combo->width() / 2.0, combo->height() / 2.0);
            QWheelEvent event(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(combo, &event);
            QApplication::processEvents();
        };
        wheel();
        QTest::keyClick(&window, Qt::Key_Down);
        QCOMPARE(window.Game().TreeNumber, 5);
        QCOMPARE(combo->currentText(), QString("5"));
        QCOMPARE(InchesOf(window), cuts);

        const int top = window.View()->StemLength;
        for (const int inches : {-12, -2, top + 2, top + 12}) {
            test::MoveMouse(canvas, test::OverStem(window, inches));
            test::PressMouse(canvas, test::OverStem(window, inches), Qt::LeftButton);
            QCOMPARE(InchesOf(window), cuts);
        }

        // Given the focus, the box turns with the wheel; the picture then has the focus again.
        combo->setFocus();
        wheel();
        QTRY_COMPARE(window.Game().TreeNumber, 6);
        QCOMPARE(window.focusWidget(), canvas);
        QCOMPARE(InchesOf(window), (std::vector<int>{0, window.View()->StemLength}));
    }

    void CutsOnALongStemLandOnTheGrid() {
        app::TMain window(Bundled(), false);
        window.resize(1024, 692);
        window.show();
        const int longest = LongestTree();
        test::StartTree(window, "Buck1", kMarket, longest);
        QTRY_VERIFY(window.View() != nullptr);
        const StemView& view = *window.View();
        app::StemCanvas* canvas = test::Canvas(&window);
        QVERIFY(view.TopX - view.ButtX > canvas->width()); // the picture is scaled to fit
        QVERIFY(canvas->Mapping().ScaleX < 1.0);
        const double left = canvas->Mapping().ToWidgetX(view.ButtX);
        const double right = canvas->Mapping().ToWidgetX(view.TopX);
        QVERIFY(left >= 0.0 && right <= canvas->width());
        for (double x = left + 13.0; x < right - 13.0; x += 41.7) {
            const QPointF at(x, canvas->Mapping().ToWidgetY(view.CentreY));
            test::MoveMouse(canvas, at);
            test::PressMouse(canvas, at, Qt::LeftButton);
        }
        const CutList& cuts = window.Game().Cuts();
        QVERIFY(cuts.Count > 10);
        for (int slot = 1; slot + 1 < cuts.Count; ++slot) {
            const int inches = cuts.Inches[static_cast<std::size_t>(slot)];
            QCOMPARE(inches % 4, 0);
            QCOMPARE(cuts.Pixels[static_cast<std::size_t>(slot)] - view.ButtX, inches);
        }
    }

    // At any size the comparison shows each stem whole across the window, the first without
    // scrolling, and labels that neither touch nor lose text; the rest scrolls into view.
    void TheComparisonFitsTheWindowAtAnySize() {
        struct Case {
            bool longTree;
            int width, height;
        };
        const Case cases[] = {{true, 1024, 375},  {true, 700, 450},  {true, 1600, 900},
                              {false, 1024, 375}, {false, 700, 450}, {true, 420, 600}};
        for (const Case& c : cases) {
            const QString where = QString("%1 tree at %2x%3")
                                      .arg(c.longTree ? "long" : "short")
                                      .arg(c.width)
                                      .arg(c.height);
            app::TMain window(Bundled(), false);
            window.showMaximized();
            test::StartTree(window, "Buck1", kMarket, TreeOfLength(c.longTree));
            QTRY_VERIFY(window.View() != nullptr);
            for (int log = 0; log < 12; ++log) {
                ClickButton(&window, "Button3"); // 8' logs, as many as fit
            }
            ClickButton(&window, "Button5");
            QWidget* comparison = test::TopLevel("TOptimizedStemForm");
            QTRY_VERIFY(comparison->isVisible());
            comparison->showNormal();
            comparison->resize(c.width, c.height);
            QTRY_COMPARE(comparison->size(), QSize(c.width, c.height));
            QApplication::processEvents();

            const StemView& view = *window.View();
            auto* area = Find<QScrollArea>(comparison, "PictureArea");
            for (const char* name : {"OptimizedStemImageBox", "BuckerStemImageBox"}) {
                auto* canvas = Find<app::StemCanvas>(comparison, name);
                const PictureMapping& mapping = canvas->Mapping();
                QVERIFY2(mapping.ToWidgetX(view.ButtX) >= 0.0, qPrintable(where));
                QVERIFY2(mapping.ToWidgetX(view.TopX) <= canvas->width(), qPrintable(where));
                QVERIFY2(canvas->width() <= area->viewport()->width(), qPrintable(where));
                const int stemRow = static_cast<int>(mapping.ToWidgetY(view.CentreY - 175.0));
                if (QString(name) == "OptimizedStemImageBox") {
                    QVERIFY2(canvas->mapTo(area->viewport(), QPoint(0, stemRow)).y() <
                                 area->viewport()->height(),
                             qPrintable(where));
                }
                QList<QListWidget*> labels;
                for (QListWidget* box : canvas->findChildren<QListWidget*>()) {
                    if (box->isVisibleTo(canvas) && box->count() == 6) {
                        labels << box;
                    }
                }
                QVERIFY2(labels.size() >= 2, qPrintable(where));
                for (QListWidget* box : labels) {
                    const QRect at = box->geometry();
                    QVERIFY2(at.left() >= 0 && at.right() < canvas->width(), qPrintable(where));
                    QVERIFY2(at.top() > stemRow + VerticalExtent(view).Below &&
                                 at.bottom() < canvas->height(),
                             qPrintable(where));
                    QVERIFY2(box->font().pointSizeF() >= 7.0, qPrintable(where));
                    const QFontMetrics metrics(box->font());
                    for (const QString& line : Items(box)) {
                        QVERIFY2(metrics.horizontalAdvance(line) < box->width(),
                                 qPrintable(where + ": " + line));
                    }
                    QVERIFY2(6 * metrics.height() <= box->height(), qPrintable(where));
                    for (QListWidget* other : labels) {
                        QVERIFY2(other == box || !other->geometry().intersects(at),
                                 qPrintable(where + ": " + box->objectName() + " meets " +
                                            other->objectName()));
                    }
                }
            }
            ClickButton(comparison, "Button1");
            QTRY_VERIFY(window.isVisible());
        }
    }

    void AnUnreadableMarketKeepsThePreviousOne() {
        const BundledCopy copy;
        const DataFolder& data = copy.Data;
        std::filesystem::create_directories(data.MarketFolder("Broken"));
        test::WriteText(data.MarketSpecsFile("Broken"), "short");
        app::TMain window(data, false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, 3);
        QTRY_VERIFY(window.View() != nullptr);

        window.Action("Buck1")->trigger();
        QWidget* markets = Find<QWidget>(&window, "TSelectMarketForm");
        QTRY_VERIFY(markets->isVisible());
        test::SelectMarket(markets, "Broken");
        ClickButton(markets, "Button1");
        QMessageBox* error = nullptr;
        QTRY_VERIFY((error = markets->findChild<QMessageBox*>("ErrorBox")) != nullptr);
        QVERIFY(error->text().contains("Specs"));
        QVERIFY(error->text().contains("Read beyond end of file"));
        QVERIFY(markets->isVisible()); // the user may choose again
        QCOMPARE(window.CurrentMarket()->Name, kMarket.toStdString());
        QCOMPARE(Find<QLineEdit>(&window, "Edit3")->text(), kMarket);
        QVERIFY(test::Canvas(&window)->HasStem());
    }

    // A market without readable or complete optimal patterns says so in the list; choosing it
    // works, the user is told once, and no tree load repeats it.
    void AMarketWithoutItsOptimalPatternsIsMarkedAndToldOnce() {
        const BundledCopy copy;
        const DataFolder& data = copy.Data;
        std::filesystem::remove(data.OptimalCutsFile("Lake States Scribner"));
        OptimalCutsTable stopped = ReadOptimalCuts(data.OptimalCutsFile("Northern International"));
        for (int n = 41; n <= kTreeCount; ++n) {
            stopped.Entry(n) = {};
        }
        WriteOptimalCuts(data.OptimalCutsFile("Northern International"), stopped);
        app::TMain window(data, false);
        window.showMaximized();

        window.Action("Buck1")->trigger();
        QWidget* markets = Find<QWidget>(&window, "TSelectMarketForm");
        QTRY_VERIFY(markets->isVisible());
        QCOMPARE(Items(Find<QListWidget>(markets, "ListBox1")),
                 QStringList({kMarket, "Lake States Scribner (optimal patterns unreadable)",
                              "Northern International (incomplete: trees 1 to 40 of 150 stored)"}));

        test::SelectMarket(markets, "Lake States Scribner");
        ClickButton(markets, "Button1");
        QWidget* trees = Find<QWidget>(&window, "TSelectTreeForm");
        QTRY_VERIFY(trees->isVisible());
        QCOMPARE(window.CurrentMarket()->Name, std::string("Lake States Scribner"));
        auto* told = trees->findChild<QMessageBox*>("MessageBox");
        QVERIFY(told != nullptr);
        QVERIFY(told->text().contains("cannot be read"));
        QVERIFY(told->text().contains("Optmcuts"));
        test::Click(told->button(QMessageBox::Ok));
        QTRY_VERIFY(window.findChildren<QMessageBox*>().isEmpty());

        ClickButton(trees, "Button1");
        QTRY_VERIFY(window.View() != nullptr);
        QVERIFY(Activate(&window));
        auto* combo = Find<QComboBox>(&window, "ComboBox2");
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(window.Game().TreeNumber, 2);
        QVERIFY(window.findChildren<QMessageBox*>().isEmpty());

        ClickButton(&window, "Button5");
        QWidget* comparison = test::TopLevel("TOptimizedStemForm");
        QTRY_VERIFY(comparison->isVisible());
        QVERIFY(Find<QLabel>(comparison, "OptDollar")
                    ->text()
                    .startsWith("The optimal patterns of this market cannot be read"));
        QVERIFY(!Find<QLabel>(comparison, "BuckDollar")->text().isEmpty());
        ClickButton(comparison, "Button1");
        QTRY_VERIFY(window.isVisible());
    }

    // The program refuses a folder that is not a data folder in words, instead of starting with
    // an empty market list.
    void AFolderThatIsNotADataFolderIsReported() {
        test::TempFolder folder;
        std::filesystem::create_directories(folder.Path() / "Shapes");
        struct Case {
            QString folder;
            QStringList words;
        };
        const Case cases[] = {
            {"/missing/varnok-data", {"/missing/varnok-data", "there is no data folder here"}},
            {QString::fromStdString(folder.Path().string()),
             {"not a data folder", "no \"Markets\" folder"}},
        };
        for (const Case& c : cases) {
            QString shown;
            QTimer watch;
            // The box is modal: read it and close it from the event loop it runs. Should the
            // program start instead, end its loop so that the test fails rather than waits.
            connect(&watch, &QTimer::timeout, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    shown = box->text();
                    box->accept();
                } else if (test::TopLevel("TMain") != nullptr) {
                    QApplication::exit(2);
                }
            });
            watch.start(0);
            QCOMPARE(app::Run({"varnok", "--data", c.folder}), 1);
            watch.stop();
            for (const QString& word : c.words) {
                QVERIFY2(shown.contains(word), qPrintable(shown));
            }
        }
    }

    void AMissingTreeFileLeavesThePreviousTreeShown() {
        const BundledCopy copy;
        const DataFolder& data = copy.Data;
        std::filesystem::remove(data.ShapeFile(7));
        app::TMain window(data, false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, 6);
        QTRY_VERIFY(window.View() != nullptr);
        ClickButton(&window, "Button8");
        const std::vector<int> cuts = InchesOf(window);
        const std::vector<Figure> figures = test::Canvas(&window)->Figures();

        auto* combo = Find<QComboBox>(&window, "ComboBox2");
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down); // tree 7
        QMessageBox* error = nullptr;
        QTRY_VERIFY((error = window.findChild<QMessageBox*>("ErrorBox")) != nullptr);
        QVERIFY(error->text().contains("Tree7.SHP"));
        QVERIFY(error->text().contains("File not found"));
        QCOMPARE(window.Game().TreeNumber, 6);
        QCOMPARE(combo->currentText(), QString("6"));
        QCOMPARE(InchesOf(window), cuts);
        QVERIFY(test::Canvas(&window)->Figures() == figures);
    }
};

} // namespace varnok

QTEST_MAIN(varnok::MainWindowTest)
#include "MainWindowTest.moc"
