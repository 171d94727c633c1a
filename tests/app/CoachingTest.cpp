// Coaching while the bucker cuts, and a stem that fills the window, driven as a user drives
// them: menu items, the length buttons and real mouse moves over the stem, checked against what
// the command line's coach says of the same cuts.

#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/ReadOutPanel.h"
#include "coach/CostStrip.h"
#include "tree/TreeLoad.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <clocale>

namespace varnok {
namespace {

using test::Bundled;
using test::ClickButton;
using test::Find;
using test::TreeOfLength;

const QString kMarket = "Appalachian Doyle";
constexpr int kWait = 30000; // milliseconds a coach may take to build on a busy machine

std::vector<int> InchesOf(const app::TMain& window) {
    return window.Game().Cuts().UsedInches();
}

QString Dollars(double value) {
    return "$" + QString::number(value, 'f', 2);
}

// `varnok-cli coach --json` on the bundled market for `cuts` with one more cut at `at`.
QJsonObject CliCoach(int tree, const std::vector<int>& cuts, int at) {
    QStringList joined;
    for (const int cut : cuts) {
        joined << QString::number(cut);
    }
    QProcess cli;
    cli.start(VARNOK_CLI_PATH, {"--data", QString::fromStdString(Bundled().Root().string()),
                                "coach", "--market", kMarket, "--tree", QString::number(tree),
                                "--cuts", joined.join(','), "--at", QString::number(at), "--json"});
    if (!cli.waitForFinished(kWait) || cli.exitCode() != 0) {
        qFatal("varnok-cli coach failed: %s", cli.readAllStandardError().constData());
    }
    return QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
}

QLabel* Label(const app::TMain& window, const char* name) {
    return Find<QLabel>(&window, name);
}

} // namespace

class CoachingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    // After each cut the read-out under the mouse and the status line say what the command
    // line's coach says of the same cuts, and the strip, its legend and the read-out keep clear
    // of the stem and of each other.
    void TheReadOutAndTheStatusLineCoachEachCut() {
        constexpr int kTree = 12;
        app::TMain window(Bundled(), false);
        window.showMaximized();
        test::StartTree(window, "Buck1", kMarket, kTree);
        QTRY_VERIFY(window.View() != nullptr);
        app::StemCanvas* canvas = test::Canvas(&window);
        QTRY_VERIFY_WITH_TIMEOUT(canvas->CostStripShown(), kWait);
        QVERIFY(window.Action("Coach1")->isEnabled());
        QVERIFY(window.Action("Coach1")->isChecked());
        QLabel* status = Label(window, "CoachStatus");
        QVERIFY(status->isVisible());

        struct Step {
            const char* button; // a length button pressed first, or none
            int at;             // inches above the butt the mouse then moves to
        };
        const Step steps[] = {{nullptr, 300},   {"Button8", 100}, {"Button8", 200},
                              {"Button4", 404}, {nullptr, 520},   {"Button9", 640}};
        for (const Step& step : steps) {
            if (step.button != nullptr) {
                ClickButton(&window, step.button);
            }
            test::MoveMouse(canvas, test::OverStem(window, step.at));
            const std::vector<int> cuts = InchesOf(window);
            const QJsonObject cli = CliCoach(kTree, cuts, step.at);
            const QString where = QString("at %1 with %2 cuts").arg(step.at).arg(cuts.size());
            QCOMPARE(Label(window, "CoachCutHere")->text(),
                     "A cut here: " + Dollars(cli["at"]["best_value"].toDouble()) + " best");
            QVERIFY2(Label(window, "CoachCutHere")->isVisible(), qPrintable(where));
            QCOMPARE(Label(window, "CoachBestNow")->text(),
                     "Best now: " + Dollars(cli["best_value"].toDouble()) + " of " +
                         Dollars(cli["optimal_value"].toDouble()));
            QCOMPARE(
                status->text(),
                "Best still reachable with these cuts: " + Dollars(cli["best_value"].toDouble()) +
                    "    Lost so far: " + Dollars(cli["loss"].toDouble()) + " of the optimum " +
                    Dollars(cli["optimal_value"].toDouble()));

            auto* panel = Find<app::ReadOutPanel>(&window, "Panel2");
            const BelowStemRows rows = canvas->RowsBelowStem();
            const StemExtent extent = VerticalExtent(*window.View());
            const double stemBottom =
                canvas->Mapping().ToWidgetY(window.View()->CentreY + extent.Below);
            QVERIFY2(rows.StripTop > stemBottom, qPrintable(where));
            QVERIFY2(panel->geometry().top() >= rows.LegendBottom, qPrintable(where));
            QVERIFY2(panel->geometry().bottom() < canvas->height(), qPrintable(where));
            // The mark stays over the snapped position however wide the line makes the panel.
            const double snapped = canvas->Mapping().ToWidgetX(window.View()->ButtX + step.at);
            QVERIFY2(std::abs(panel->geometry().center().x() - snapped) <= 2.0, qPrintable(where));
            for (const char* name : {"CoachCutHere", "CoachBestNow"}) {
                QLabel* line = Label(window, name);
                QVERIFY2(QFontMetrics(line->font()).horizontalAdvance(line->text()) <=
                             line->width(),
                         qPrintable(where + " " + name));
            }
        }
        // A cut where the mouse is: the strip is worked out again and costs nothing there.
        test::MoveMouse(canvas, test::OverStem(window, 520));
        test::PressMouse(canvas, test::OverStem(window, 520), Qt::LeftButton);
        const std::vector<int> withCut = InchesOf(window);
        QVERIFY(std::binary_search(withCut.begin(), withCut.end(), 520));
        const QJsonObject after = CliCoach(kTree, withCut, 520);
        QCOMPARE(Label(window, "CoachCutHere")->text(),
                 "A cut here: " + Dollars(after["best_value"].toDouble()) + " best");
        QVERIFY(status->text().contains(Dollars(after["loss"].toDouble())));
    }

    // With "Coach" off the game is as it was: no strip, no line in the read-out, no status
    // line, the read-out 161 pixels wide; on again, the coaching comes back for the same cuts.
    void TheCoachItemOffGivesThePlainGame() {
        app::TMain window(Bundled(), false);
        window.showMaximized();
        window.Action("FitStemToWindow1")->trigger(); // today's geometry throughout
        test::StartTree(window, "Buck1", kMarket, 5);
        QTRY_VERIFY(window.View() != nullptr);
        app::StemCanvas* canvas = test::Canvas(&window);
        QTRY_VERIFY_WITH_TIMEOUT(canvas->CostStripShown(), kWait);
        ClickButton(&window, "Button8");
        auto* panel = Find<app::ReadOutPanel>(&window, "Panel2");
        test::MoveMouse(canvas, test::OverStem(window, 300));
        QVERIFY(panel->width() > app::ReadOutPanel::kWidth);

        window.Action("Coach1")->trigger();
        QVERIFY(!window.Action("Coach1")->isChecked());
        QVERIFY(!canvas->CostStripShown());
        QVERIFY(!Label(window, "CoachStatus")->isVisible());
        test::MoveMouse(canvas, test::OverStem(window, 300));
        QVERIFY(!Label(window, "CoachCutHere")->isVisible());
        QVERIFY(!Label(window, "CoachBestNow")->isVisible());
        QCOMPARE(panel->width(), app::ReadOutPanel::kWidth);
        QCOMPARE(panel->height(), kReadOutMinimumHeight);
        QCOMPARE(Label(window, "Label7")->text(), QString("<==  8' 4\" "));
        // Today's place: 104 picture pixels under the centre line.
        QCOMPARE(panel->geometry().top(), static_cast<int>(std::lround(canvas->Mapping().ToWidgetY(
                                              window.View()->CentreY + kReadOutTopBelowCentre))));
        // Cutting with the coach off changes nothing but the cuts.
        ClickButton(&window, "Button3");
        QVERIFY(!canvas->CostStripShown());
        QVERIFY(!Label(window, "CoachStatus")->isVisible());

        window.Action("Coach1")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(canvas->CostStripShown(), kWait);
        QVERIFY(Label(window, "CoachStatus")->text().startsWith("Best still reachable"));
    }

    // Fit on: every stem, short or long, spans the picture's width and is enlarged across as
    // far as it stays inside; off: today's geometry. The comparison window follows.
    void TheStemFillsTheWindow() {
        struct Case {
            int tree;
            bool fit;
        };
        const Case cases[] = {{TreeOfLength(false), true},
                              {TreeOfLength(false), false},
                              {TreeOfLength(true), true},
                              {TreeOfLength(true), false}};
        for (const Case& c : cases) {
            app::TMain window(Bundled(), false);
            window.showMaximized();
            if (!c.fit) {
                window.Action("FitStemToWindow1")->trigger();
            }
            QCOMPARE(window.Action("FitStemToWindow1")->isChecked(), c.fit);
            test::StartTree(window, "Buck1", kMarket, c.tree);
            QTRY_VERIFY(window.View() != nullptr);
            const StemView& view = *window.View();
            app::StemCanvas* canvas = test::Canvas(&window);
            QTRY_VERIFY_WITH_TIMEOUT(canvas->CostStripShown(), kWait);
            const PictureMapping& m = canvas->Mapping();
            const QString where = QString("tree %1 fit %2").arg(c.tree).arg(c.fit);
            const double stem = view.TopX - view.ButtX;
            const double fits = canvas->width() - 2 * app::kStemMargin;
            if (c.fit || stem > fits) {
                QVERIFY2(std::abs(m.ToWidgetX(view.ButtX) - app::kStemMargin) < 1e-6,
                         qPrintable(where));
                QVERIFY2(std::abs(m.ToWidgetX(view.TopX) - (canvas->width() - app::kStemMargin)) <
                             1e-6,
                         qPrintable(where));
            } else {
                QCOMPARE(m.ScaleX, 1.0);
            }
            const StemExtent extent = VerticalExtent(view);
            if (c.fit && stem < fits) {
                QVERIFY2(m.ScaleY > 1.0, qPrintable(where));
            } else {
                QCOMPARE(m.ScaleY, 1.0);
            }
            QVERIFY2(m.ToWidgetY(view.CentreY - extent.Above) >= 0.0, qPrintable(where));
            QVERIFY2(m.ToWidgetY(view.CentreY + extent.Below) <= canvas->RowsBelowStem().StripTop,
                     qPrintable(where));
            // Cuts still land on the 4-inch grid from the butt.
            test::MoveMouse(canvas,
                            QPointF(m.ToWidgetX(view.ButtX + 203.0), m.ToWidgetY(view.CentreY)));
            test::PressMouse(canvas,
                             QPointF(m.ToWidgetX(view.ButtX + 203.0), m.ToWidgetY(view.CentreY)),
                             Qt::LeftButton);
            QCOMPARE(InchesOf(window), (std::vector<int>{0, 204, view.StemLength}));
            // The read-out grows down to the mouse, to show its table, however the stem scales.
            auto* panel = Find<app::ReadOutPanel>(&window, "Panel2");
            const double below = panel->geometry().top() + 100.0;
            test::MoveMouse(canvas, QPointF(m.ToWidgetX(view.ButtX + 203.0), below));
            QCOMPARE(panel->height(), 100 + app::ReadOutPanel::kCoachRowHeight);
            QVERIFY2(Find<QWidget>(panel, "Edit14")->geometry().bottom() < panel->height(),
                     qPrintable(where));

            ClickButton(&window, "Button5");
            QWidget* comparison = test::TopLevel("TOptimizedStemForm");
            QTRY_VERIFY(comparison->isVisible());
            QApplication::processEvents();
            for (const char* name : {"OptimizedStemImageBox", "BuckerStemImageBox"}) {
                auto* picture = Find<app::StemCanvas>(comparison, name);
                const PictureMapping& cm = picture->Mapping();
                const double across = picture->width() - 2 * app::kStemMargin;
                if (c.fit || stem > across) {
                    QVERIFY2(std::abs(cm.ToWidgetX(view.TopX) - cm.ToWidgetX(view.ButtX) - across) <
                                 1e-6,
                             qPrintable(where + name));
                    QVERIFY2(cm.ScaleY >= 1.0, qPrintable(where + name));
                } else {
                    QCOMPARE(cm.ScaleX, 1.0);
                }
                if (!c.fit) {
                    QCOMPARE(cm.ScaleY, 1.0);
                }
            }
            ClickButton(comparison, "Button1");
            QTRY_VERIFY(window.isVisible());
        }
    }

    // Another tree and another market while a coach is being built, and closing: the coach
    // shown is always the last tree's, and nothing outlives the window.
    void ANewTreeOrMarketWhileTheCoachIsBuilt() {
        auto window = std::make_unique<app::TMain>(Bundled(), false);
        window->showMaximized();
        test::StartTree(*window, "Buck1", kMarket, 3);
        QTRY_VERIFY(window->View() != nullptr);
        auto* combo = Find<QComboBox>(window.get(), "ComboBox2");
        for (const int tree : {7, 40, 12}) {
            combo->setCurrentIndex(tree - 1);
            emit combo->activated(tree - 1);
        }
        QCOMPARE(window->Game().TreeNumber, 12);
        app::StemCanvas* canvas = test::Canvas(window.get());
        QTRY_VERIFY_WITH_TIMEOUT(canvas->CostStripShown(), kWait);
        const Market& market = *window->CurrentMarket();
        const auto tree = LoadTree(Bundled(), 12, market.Filter);
        Coach coach(*tree, market);
        const std::vector<int> cuts = InchesOf(*window);
        QCOMPARE(Label(*window, "CoachStatus")->text(),
                 QString::fromStdString(CoachStatusLine(BuildCostStrip(coach, cuts))));

        // A market chosen again reads the tree again and coaches it under its rules.
        window->Action("Buck1")->trigger();
        test::ChooseMarket(*window, "Northern International");
        const Market& northern = *window->CurrentMarket();
        const auto again = LoadTree(Bundled(), 12, northern.Filter);
        Coach other(*again, northern);
        const QString expected =
            QString::fromStdString(CoachStatusLine(BuildCostStrip(other, cuts)));
        QTRY_COMPARE_WITH_TIMEOUT(Label(*window, "CoachStatus")->text(), expected, kWait);
        // Another trim starts another build; the window closes while it runs.
        window->Action("N8inches1")->trigger();
        QVERIFY(Label(*window, "CoachStatus")->text().startsWith("Coach:"));
        window.reset();
    }
};

} // namespace varnok

QTEST_MAIN(varnok::CoachingTest)
#include "CoachingTest.moc"
