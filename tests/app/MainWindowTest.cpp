// The main window and the comparison, driven as a user drives them: menu items, real clicks on
// buttons and on the stem picture, key presses of the accelerators.

#include "AppTestSupport.h"
#include "TestSupport.h"

#include "game/Comparison.h"
#include "game/StemFigures.h"
#include "tree/ShapeFile.h"
#include "tree/TreeLoad.h"

#include <QLineEdit>
#include <QTest>

#include <clocale>
#include <filesystem>

namespace varnok {
namespace {

using test::ClickButton;
using test::Find;

const DataFolder& Bundled() {
    static const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
    return data;
}

const QString kMarket = "Appalachian Doyle";

std::vector<int> InchesOf(const app::TMain& window) {
    return window.Game().Cuts().UsedInches();
}

// The tree with the longest stem of the bundled data.
int LongestTree() {
    int longest = 1;
    int longestLength = 0;
    for (int n = 1; n <= 150; ++n) {
        const int length = ReadCrossSections(Bundled().ShapeFile(n)).back().Position;
        if (length > longestLength) {
            longest = n;
            longestLength = length;
        }
    }
    return longest;
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text();
    }
    return items;
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
        ClickButton(&window, "Button3"); // then with 4
        const std::vector<int> cuts = InchesOf(window);
        QCOMPARE(cuts[1], 104);
        QCOMPARE(cuts[2], 204);
        window.Action("N8inches1")->trigger();
        QVERIFY(!window.Action("N4inches1")->isChecked());
        QCOMPARE(window.CurrentMarket()->Lengths().Lengths[0], 104);
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

    void AnUnreadableMarketKeepsThePreviousOne() {
        test::TempFolder folder;
        std::filesystem::copy(Bundled().Root(), folder.Path(),
                              std::filesystem::copy_options::recursive);
        const DataFolder data(folder.Path());
        std::filesystem::create_directories(data.MarketFolder("Broken"));
        test::WriteText(data.MarketSpecsFile("Broken"), "short");
        app::TMain window(data, false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, 3);
        QTRY_VERIFY(window.View() != nullptr);

        window.Action("Buck1")->trigger();
        QWidget* markets = Find<QWidget>(&window, "TSelectMarketForm");
        QTRY_VERIFY(markets->isVisible());
        auto* list = Find<QListWidget>(markets, "ListBox1");
        list->setCurrentItem(list->findItems("Broken", Qt::MatchExactly).front());
        ClickButton(markets, "Button1");
        QMessageBox* error = nullptr;
        QTRY_VERIFY((error = markets->findChild<QMessageBox*>("ErrorBox")) != nullptr);
        QVERIFY(error->text().contains("Specs"));
        QVERIFY(error->text().contains("Read beyond end of file"));
        QVERIFY(markets->isVisible()); // the user may choose again
        QCOMPARE(window.CurrentMarket()->Name, kMarket.toStdString());
        QCOMPARE(Find<QLineEdit>(&window, "Edit3")->text(), kMarket);

        // Closing the dialog without a market clears the picture and hides the bucking bars.
        error->close();
        QTest::keyClick(markets, Qt::Key_Escape);
        QTRY_VERIFY(!markets->isVisible());
        QVERIFY(!test::Canvas(&window)->HasStem());
        QVERIFY(!Find<QWidget>(&window, "Panel1")->isVisible());
        QVERIFY(!Find<QWidget>(&window, "StatusPanel")->isVisible());
    }

    void AMissingTreeFileLeavesThePreviousTreeShown() {
        test::TempFolder folder;
        std::filesystem::copy(Bundled().Root(), folder.Path(),
                              std::filesystem::copy_options::recursive);
        const DataFolder data(folder.Path());
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
