// The butt-log tree grading exercise on the main window, driven through its menu item, the
// market and tree selection and the grading dialog's buttons.

#include "AppTestSupport.h"
#include "TestSupport.h"

#include "game/TreeGrading.h"
#include "market/Market.h"
#include "tree/TreeLoad.h"

#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include <clocale>
#include <filesystem>
#include <functional>

namespace varnok {
namespace {

using test::Bundled;
using test::ClickButton;
using test::Find;

const QString kMarket = "Appalachian Doyle";

QString CoreGrade(const QString& market, int tree) {
    const Market loaded = LoadMarket(Bundled(), market.toStdString());
    const auto stem = LoadTree(Bundled(), tree, loaded.Filter);
    return QString::fromStdString(ButtLogGradeText(GradeButtLog(*stem, loaded).Code));
}

QWidget* GradingForm(const app::TMain& window) {
    return Find<QWidget>(&window, "TTreeGradingForm");
}

QString Text(const QWidget* parent, const char* name) {
    return Find<QLabel>(parent, name)->text();
}

QString TreeButton(const app::TMain& window) {
    return Find<QPushButton>(Find<QWidget>(&window, "TSelectTreeForm"), "Button1")->text();
}

// The main window as the exercise keeps it: black, its toolbar, read-out and status panel
// hidden, and its menu bar, toolbar and picture disabled while its dialogs work.
void VerifyGradingLayout(const app::TMain& window, bool running) {
    QVERIFY(window.View() == nullptr);
    QVERIFY(!test::Canvas(&window)->HasStem());
    for (const char* hidden : {"Panel1", "Panel2", "StatusPanel"}) {
        QVERIFY2(!Find<QWidget>(&window, hidden)->isVisible(), hidden);
    }
    QVERIFY(window.isEnabled());
    QCOMPARE(window.menuBar()->isEnabled(), !running);
    QCOMPARE(Find<QWidget>(&window, "Panel1")->isEnabled(), !running);
    QCOMPARE(test::Canvas(&window)->isEnabled(), !running);
    QCOMPARE(TreeButton(window), QString(running ? "Grade Tree" : "Show Tree"));
}

// Starts the exercise and grades `tree` of `market`.
void GradeTree(app::TMain& window, const QString& market, int tree) {
    window.Action("TreeGrading1")->trigger();
    test::ChooseMarket(window, market);
    test::ChooseTree(window, tree);
    QTRY_VERIFY(GradingForm(window)->isVisible());
}

} // namespace

class TreeGradingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    void TheItemShowsWithAllCommandsOnly() {
        const app::TMain standard(Bundled(), false);
        QVERIFY(!standard.Action("TreeGrading1")->isVisible());
        const app::TMain instructor(Bundled(), true);
        QVERIFY(instructor.Action("TreeGrading1")->isVisible());
        QCOMPARE(instructor.Action("TreeGrading1")->text(), QString("&Tree Grading"));
    }

    // Trees are graded, never drawn, through another tree and another market, until the
    // exercise is left.
    void GradingTreesAndMarketsInTurn() {
        app::TMain window(Bundled(), true);
        window.showMaximized();
        window.Action("TreeGrading1")->trigger();
        VerifyGradingLayout(window, true);
        QVERIFY(Find<QWidget>(&window, "TSelectMarketForm")->isVisible());
        test::ChooseMarket(window, kMarket);
        QTRY_VERIFY(Find<QWidget>(&window, "TSelectTreeForm")->isVisible());
        VerifyGradingLayout(window, true);
        test::ChooseTree(window, 3);

        QWidget* form = GradingForm(window);
        QTRY_VERIFY(form->isVisible());
        QVERIFY(!Find<QWidget>(&window, "TSelectTreeForm")->isVisible());
        QCOMPARE(form->windowTitle(), QString("Butt Log Tree Grading"));
        QCOMPARE(Text(form, "Label3"), QString());
        QCOMPARE(Text(form, "Label2"), QString("The Butt Log Tree Grade For Tree 3 Is"));
        QCOMPARE(Text(form, "Label1"), CoreGrade(kMarket, 3));
        QCOMPARE(Text(form, "Label1"), QString("#2 Saw"));
        QCOMPARE(Find<QComboBox>(&window, "ComboBox2")->currentText(), QString("3"));
        VerifyGradingLayout(window, true);
        // An ordinary dialog of a fixed size over the middle of the window.
        QVERIFY(!(form->windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY((form->geometry().center() - window.geometry().center()).manhattanLength() <= 4);
        const QSize size = form->size();

        ClickButton(form, "Button2"); // Grade Another Tree
        QVERIFY(!form->isVisible());
        test::ChooseTree(window, 22);
        QTRY_VERIFY(form->isVisible());
        QCOMPARE(Text(form, "Label2"), QString("The Butt Log Tree Grade For Tree 22 Is"));
        QCOMPARE(Text(form, "Label1"), CoreGrade(kMarket, 22));
        QCOMPARE(form->size(), size);

        ClickButton(form, "Button3"); // Choose A New Market
        QVERIFY(!form->isVisible());
        VerifyGradingLayout(window, true);
        test::ChooseMarket(window, "Lake States Scribner");
        QCOMPARE(TreeButton(window), QString("Grade Tree"));
        test::ChooseTree(window, 7);
        QTRY_VERIFY(form->isVisible());
        QCOMPARE(Text(form, "Label2"), QString("The Butt Log Tree Grade For Tree 7 Is"));
        QCOMPARE(Text(form, "Label1"), CoreGrade("Lake States Scribner", 7));
        VerifyGradingLayout(window, true);

        ClickButton(form, "Button1"); // Exit Tree Grading
        QVERIFY(!form->isVisible());
        VerifyGradingLayout(window, false);
    }

    // Every way of leaving the exercise leaves the window idle, and the next game draws its
    // tree again.
    void EachWayOutEndsTheExercise() {
        struct Case {
            const char* name;
            std::function<void(app::TMain&)> leave;
        };
        const std::vector<Case> cases = {
            {"Esc on the grading dialog",
             [](app::TMain& window) {
                 GradeTree(window, kMarket, 5);
                 QVERIFY(test::Activate(GradingForm(window)));
                 QTest::keyClick(GradingForm(window), Qt::Key_Escape);
             }},
            {"closing the grading dialog",
             [](app::TMain& window) {
                 GradeTree(window, kMarket, 5);
                 GradingForm(window)->close();
             }},
            {"Esc on the tree selection",
             [](app::TMain& window) {
                 GradeTree(window, kMarket, 5);
                 ClickButton(GradingForm(window), "Button2");
                 QWidget* trees = Find<QWidget>(&window, "TSelectTreeForm");
                 QVERIFY(test::Activate(trees));
                 QTest::keyClick(trees, Qt::Key_Escape);
                 QTRY_VERIFY(!trees->isVisible());
             }},
            {"Esc on the market selection",
             [](app::TMain& window) {
                 GradeTree(window, kMarket, 5);
                 ClickButton(GradingForm(window), "Button3");
                 QWidget* markets = Find<QWidget>(&window, "TSelectMarketForm");
                 QVERIFY(test::Activate(markets));
                 QTest::keyClick(markets, Qt::Key_Escape);
                 QTRY_VERIFY(!markets->isVisible());
             }},
        };
        for (const Case& c : cases) {
            app::TMain window(Bundled(), true);
            window.showMaximized();
            c.leave(window);
            QTRY_VERIFY2(!GradingForm(window)->isVisible(), c.name);
            VerifyGradingLayout(window, false);
            test::StartTree(window, "Buck1", kMarket, 5);
            QTRY_VERIFY2(window.View() != nullptr, c.name);
            QVERIFY2(Find<QWidget>(&window, "StatusPanel")->isVisible(), c.name);
        }
    }

    // A tree whose file is missing is reported over the tree selection, which stays open for
    // another tree.
    void AMissingTreeFileKeepsTheExerciseGoing() {
        const test::BundledCopy copy;
        std::filesystem::remove(copy.Data.ShapeFile(7));
        app::TMain window(copy.Data, true);
        window.showMaximized();
        window.Action("TreeGrading1")->trigger();
        test::ChooseMarket(window, kMarket);
        test::ChooseTree(window, 7);
        QMessageBox* error = nullptr;
        QTRY_VERIFY((error = window.findChild<QMessageBox*>("ErrorBox")) != nullptr);
        QVERIFY(error->text().contains("Tree7.SHP"));
        QVERIFY(!GradingForm(window)->isVisible());
        QVERIFY(Find<QWidget>(&window, "TSelectTreeForm")->isVisible());
        error->close();
        test::ChooseTree(window, 3);
        QTRY_VERIFY(GradingForm(window)->isVisible());
        QCOMPARE(Text(GradingForm(window), "Label1"), QString("#2 Saw"));
    }
};

} // namespace varnok

QTEST_MAIN(varnok::TreeGradingTest)
#include "TreeGradingTest.moc"
