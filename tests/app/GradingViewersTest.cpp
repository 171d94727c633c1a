// The grading rule viewers and the full matrix, driven as a user drives them: menu items, real
// clicks on the file list, the buttons and the grades, and the keys.

#include "AppTestSupport.h"
#include "PdfText.h"
#include "TestSupport.h"

#include "app/Application.h"
#include "app/grading/GradingRuleViewer.h"
#include "grading/SawlogRulesView.h"
#include "grading/VeneerRulesView.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>

#include <clocale>
#include <filesystem>

namespace varnok {
namespace {

using test::Bundled;
using test::ClickButton;
using test::Find;
using Grid = std::vector<std::vector<std::string>>;

// A copy of the bundled data with a few more rule files: "Two Records" (a one-grade sawlog
// record, then Factory Grades), "One Grade" (the veneer rules cut to their first grade), and
// two that cannot be read: "Short" (100 bytes) and "Seven Grades" (a grade count of 7).
struct DataCopy {
    test::TempFolder Folder;
    DataFolder Data{Folder.Path()};

    DataCopy() {
        std::filesystem::copy(Bundled().Root(), Folder.Path(),
                              std::filesystem::copy_options::recursive);
        std::vector<std::uint8_t> two = ReadFileBytes(Data.SawGrades() / "Factory Grades");
        std::fill(two.begin() + 252, two.end(), 0); // grades 2 and 3 not in use
        const std::vector<std::uint8_t> factory =
            ReadFileBytes(Data.SawGrades() / "Factory Grades");
        two.insert(two.end(), factory.begin(), factory.end());
        test::WriteBytes(Data.SawGrades() / "Two Records", two);
        test::WriteBytes(Data.SawGrades() / "Short", std::vector<std::uint8_t>(100, 1));
        std::vector<std::uint8_t> veneer = ReadFileBytes(Data.Veneer() / "Hardwood Veneer");
        std::fill(veneer.begin() + 1072, veneer.end(), 0);
        veneer[0] = 1;
        test::WriteBytes(Data.Veneer() / "One Grade", veneer);
        veneer[0] = 7;
        test::WriteBytes(Data.Veneer() / "Seven Grades", veneer);
    }
};

Grid SawlogGrid(const DataFolder& data, const std::string& file, int grade) {
    return SawlogGradeGrid(ReadSawlogRuleSet(data.SawGrades() / file, RecordChoice::First), grade);
}

Grid VeneerGrid(const DataFolder& data, const std::string& file, int grade) {
    const auto values = VeneerGradeRows(ReadVeneerRuleSet(data.Veneer() / file), grade);
    Grid grid;
    for (std::size_t row = 0; row < values.size(); ++row) {
        grid.push_back({std::string(VeneerRowLabels()[row]), values[row]});
    }
    return grid;
}

struct Viewer {
    QString Item;
    QString Name;
    QString Title;
    QString Step;
    QString Button;
    QString GradeCaption;
    Grid (*Expected)(const DataFolder&, const std::string&, int);
    int GridColumns;
    int GridRows;
    int FirstColumnWidth; // at least, once a grade is shown
    std::string File;     // a bundled file of three grades
    QStringList Grades;
    std::string Other; // a second file, of one grade
    QString Bad;       // a file that cannot be read, and the words of its error
    QString BadWords;
    QStringList LeftOnExit;
};

const Viewer kSawlog = {"ViewSawlogGradingRules1",
                        "TReadSawSpecForm",
                        "View Sawlog Grading Rules",
                        "Select the sawlog grading rule to be viewed.",
                        "View Selected Sawlog Grading Rule",
                        "Grade",
                        &SawlogGrid,
                        10,
                        10,
                        120,
                        "Factory Grades",
                        {"1", "2", "3"},
                        "Two Records", // its first record is viewed
                        "Short",
                        "Read beyond end of file",
                        {"1"}};
const Viewer kVeneer = {"ViewVeneerGradingRules1",
                        "TReadVeneerSpecForm",
                        "View Veneer Grading Rules",
                        "Select the veneer grading rule to be viewed.",
                        "View Selected Veneer Grading Rule",
                        "Veneer Grade",
                        &VeneerGrid,
                        2,
                        15,
                        390,
                        "Hardwood Veneer",
                        {"Prime Veneer", "Select Veneer", "Export Veneer"},
                        "One Grade",
                        "Seven Grades",
                        "GradeCount is 7",
                        {}};

Grid Cells(const QTableWidget* table) {
    Grid grid(static_cast<std::size_t>(table->rowCount()),
              std::vector<std::string>(static_cast<std::size_t>(table->columnCount())));
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            if (const QTableWidgetItem* item = table->item(row, column)) {
                grid[row][column] = item->text().toStdString();
            }
        }
    }
    return grid;
}

QTableWidget* GridOf(QWidget* viewer) {
    return Find<QTableWidget>(viewer, "StringGrid1");
}

QList<QRadioButton*> GradeButtons(QWidget* viewer) {
    return Find<QGroupBox>(viewer, "RadioGroup1")->findChildren<QRadioButton*>();
}

QStringList GradeCaptions(QWidget* viewer) {
    QStringList captions;
    for (const QRadioButton* button : GradeButtons(viewer)) {
        captions << button->text();
    }
    return captions;
}

// A click on the grade's round button, where a user clicks it (the button is wider than what
// takes a click).
void ClickGrade(QWidget* viewer, int position) {
    QRadioButton* button = GradeButtons(viewer)[position];
    const int middle = button->height() / 2;
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(middle, middle));
}

// A real click on the list entry `name`; a double click when `twice`.
void ClickEntry(QWidget* viewer, const std::string& name, bool twice = false) {
    auto* list = Find<QListWidget>(viewer, "ListBox1");
    const auto found = list->findItems(QString::fromStdString(name), Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), name.c_str());
    const QPoint at = list->visualItemRect(found.front()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
}

// The viewer shows nothing: no grade to choose, an empty and disabled grid.
void ExpectNothingShown(QWidget* viewer, const Viewer& v, const QStringList& grades = {}) {
    QVERIFY(!Find<QGroupBox>(viewer, "RadioGroup1")->isEnabled());
    QCOMPARE(GradeCaptions(viewer), grades);
    for (const QRadioButton* button : GradeButtons(viewer)) {
        QVERIFY(!button->isChecked());
    }
    QVERIFY(!GridOf(viewer)->isEnabled());
    QCOMPARE(Cells(GridOf(viewer)), Grid(v.GridRows, std::vector<std::string>(v.GridColumns)));
}

// Reads the error box over `viewer`, checks its words and closes it.
void ExpectError(QWidget* viewer, const QString& file, const QString& words) {
    QMessageBox* error = nullptr;
    QTRY_VERIFY((error = viewer->findChild<QMessageBox*>("ErrorBox")) != nullptr);
    QVERIFY2(error->text().contains(file) && error->text().contains(words),
             qPrintable(error->text()));
    test::Click(error->button(QMessageBox::Ok));
    QTRY_VERIFY(viewer->findChild<QMessageBox*>("ErrorBox") == nullptr);
}

} // namespace

class GradingViewersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    // The program starts with the veneer grading rule viewer in front of the main window, its
    // files listed, nothing viewed yet, and no other dialog showing.
    void TheVeneerViewerAppearsAtStartUp() {
        QStringList visible;
        QString active;
        int files = 0;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            QWidget* viewer = test::TopLevel("TReadVeneerSpecForm");
            if (viewer == nullptr || QApplication::activeWindow() != viewer) {
                return;
            }
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->isVisible()) {
                    visible << widget->objectName();
                }
            }
            active = QApplication::activeWindow()->objectName();
            files = Find<QListWidget>(viewer, "ListBox1")->count();
            QApplication::exit(0); // first, so that a failed check below cannot hang the test
            ExpectNothingShown(viewer, kVeneer);
        });
        watch.start(10);
        const QString data = QString::fromStdString(Bundled().Root().string());
        QCOMPARE(app::Run({"varnok", "--data", data}), 0);
        visible.sort();
        QCOMPARE(visible, (QStringList{"TMain", "TReadVeneerSpecForm"}));
        QCOMPARE(active, QString("TReadVeneerSpecForm"));
        QCOMPARE(files, 1);
    }

    // Each viewer from its menu item: the texts, nothing viewed on show, a file viewed grade by
    // grade (by mouse and by keys), a second file by a double click with exactly its own
    // grades, then "Exit Viewer" and a fresh start on the next show.
    void AFileViewedGradeByGrade() {
        const DataCopy copy;
        const DataFolder& data = copy.Data;
        app::TMain window(data, false);
        for (const Viewer& v : {kSawlog, kVeneer}) {
            QVERIFY(window.Action(v.Item)->isVisible());
            window.Action(v.Item)->trigger();
            QWidget* viewer = Find<QWidget>(&window, v.Name);
            QTRY_VERIFY(viewer->isVisible());
            QCOMPARE(viewer->windowTitle(), v.Title);
            QStringList labels;
            for (const QLabel* label : viewer->findChildren<QLabel*>()) {
                labels << label->text();
            }
            labels.sort();
            QCOMPARE(labels, (QStringList{"1)", "2)", "3)", v.Step}));
            QCOMPARE(Find<QPushButton>(viewer, "Button1")->text(), v.Button);
            QCOMPARE(Find<QPushButton>(viewer, "Button2")->text(), QString("Exit Viewer"));
            QCOMPARE(Find<QGroupBox>(viewer, "RadioGroup1")->title(), v.GradeCaption);
            ExpectNothingShown(viewer, v);
            ClickButton(viewer, "Button1"); // no file chosen: nothing
            ExpectNothingShown(viewer, v);

            ClickEntry(viewer, v.File);
            ClickButton(viewer, "Button1");
            QTableWidget* grid = GridOf(viewer);
            QVERIFY(grid->isEnabled());
            QCOMPARE(GradeCaptions(viewer), v.Grades);
            QVERIFY(GradeButtons(viewer).front()->isChecked());
            QCOMPARE(Cells(grid), v.Expected(data, v.File, 1));
            QVERIFY(grid->columnWidth(0) >= v.FirstColumnWidth);
            // Every column on view, or on a screen too narrow for them a way to scroll to it.
            QVERIFY(viewer->width() <= viewer->screen()->availableGeometry().width());
            QVERIFY(grid->horizontalHeader()->length() <= grid->viewport()->width() ||
                    grid->horizontalScrollBar()->isVisible());
            QVERIFY(grid->verticalHeader()->length() <= grid->viewport()->height());
            ClickGrade(viewer, 2);
            QCOMPARE(Cells(grid), v.Expected(data, v.File, 3));
            // Tab from the view button reaches the grades, an arrow key chooses the next.
            QVERIFY(test::Activate(viewer));
            Find<QPushButton>(viewer, "Button1")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), GradeButtons(viewer)[2]);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
            QTRY_VERIFY(GradeButtons(viewer)[1]->isChecked());
            QCOMPARE(Cells(grid), v.Expected(data, v.File, 2));

            ClickEntry(viewer, v.Other, true);
            QCOMPARE(GradeCaptions(viewer), QStringList{v.Grades.front()});
            QCOMPARE(Cells(grid), v.Expected(data, v.Other, 1));

            ClickButton(viewer, "Button2");
            QTRY_VERIFY(!viewer->isVisible());
            window.Action(v.Item)->trigger();
            QTRY_VERIFY(viewer->isVisible());
            ExpectNothingShown(viewer, v, v.LeftOnExit);
            QTest::keyClick(viewer, Qt::Key_Escape);
            QTRY_VERIFY(!viewer->isVisible());
        }
    }

    // A file that cannot be read shows its error and leaves nothing of the file viewed before.
    // Another window opens a viewer on a file by name, as a market names its rules.
    void UnreadableFilesAndFilesByName() {
        const DataCopy copy;
        app::TMain window(copy.Data, false);
        for (const Viewer& v : {kSawlog, kVeneer}) {
            auto* viewer = Find<app::GradingRuleViewer>(&window, v.Name);
            viewer->ShowFile(QString::fromStdString(v.File).toLower()); // a case-insensitive match
            QTRY_VERIFY(viewer->isVisible());
            QCOMPARE(Find<QListWidget>(viewer, "ListBox1")->currentItem()->text().toStdString(),
                     v.File);
            QCOMPARE(Cells(GridOf(viewer)), v.Expected(copy.Data, v.File, 1));
            ClickEntry(viewer, v.Bad.toStdString());
            ClickButton(viewer, "Button1");
            ExpectError(viewer, v.Bad, v.BadWords);
            ExpectNothingShown(viewer, v);

            // Shown already, the viewer reads its folder again for a file by name.
            const std::filesystem::path folder =
                v.Name == kSawlog.Name ? copy.Data.SawGrades() : copy.Data.Veneer();
            std::filesystem::copy_file(folder / v.File, folder / "New Copy");
            viewer->ShowFile("New Copy");
            QCOMPARE(Cells(GridOf(viewer)), v.Expected(copy.Data, v.File, 1));
            viewer->ShowFile("Missing");
            ExpectError(viewer, "Missing", "File not found");
            ExpectNothingShown(viewer, v);
        }
    }

    // "Print" prints the sawlog rules of the market in force, every grade and cell, and then
    // reads "done"; without a printer the PDF in "Reports" reads back as the matrix. Printed
    // again, it goes to a file of its own; a report that cannot be written is an error.
    void TheFullMatrixPrintsTheMarketInForce() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
            QSKIP("this machine has a printer; the PDF fallback is not taken");
        }
        const DataCopy copy;
        app::TMain window(copy.Data, true);
        window.show();
        QAction* item = window.Action("SawGradingRulesFullMatrix1");
        QVERIFY(!item->isEnabled());
        QWidget* form = Find<QWidget>(&window, "TPrintSawMatrixForm");
        auto* print = Find<QPushButton>(form, "Button1");
        const std::pair<QString, QString> markets[] = {
            {"Appalachian Doyle", "Diameter Range       13 to 15  16 to 19  20 to 50"},
            {"Lake States Scribner", "CC Min Length          2 Face    1 Face    1 Face"},
        };
        for (const auto& [name, line] : markets) {
            test::StartTree(window, "Buck1", name, 1);
            QTRY_VERIFY(window.View() != nullptr);
            item->trigger();
            QTRY_VERIFY(form->isVisible());
            QCOMPARE(form->windowTitle(), QString("PrintSawMatrixForm"));
            QCOMPARE(print->text(), QString("Print"));
            const Market& market = *window.CurrentMarket();
            QStringList expected;
            for (const std::string& text : SawlogFullMatrixLines(market.SawlogRules, market.Name,
                                                                 market.Specs().SawlogRuleName)) {
                expected << QString::fromStdString(text);
            }
            QVERIFY(expected.contains(line));
            const std::string file = "Saw Grading Rules Full Matrix - " + name.toStdString();
            for (const char* suffix : {".pdf", " (2).pdf"}) {
                ClickButton(form, "Button1");
                QCOMPARE(print->text(), QString("done"));
                const std::filesystem::path pdf = copy.Data.Reports() / (file + suffix);
                auto* told = form->findChild<QMessageBox*>("MessageBox");
                QVERIFY(told != nullptr);
                QVERIFY2(told->text().contains(QString::fromStdString(pdf.string())),
                         qPrintable(told->text()));
                test::Click(told->button(QMessageBox::Ok));
                QTRY_VERIFY(form->findChild<QMessageBox*>("MessageBox") == nullptr);
                const QList<QStringList> pages = test::PdfPages(pdf);
                QCOMPARE(pages.size(), 1);
                QCOMPARE(test::SqueezeBlanks(pages.front()), test::SqueezeBlanks(expected));
            }
            QTest::keyClick(form, Qt::Key_Escape);
            QTRY_VERIFY(!form->isVisible());
        }

        std::filesystem::remove_all(copy.Data.Reports());
        test::WriteText(copy.Data.Reports(), "a file where the folder should be");
        item->trigger();
        QTRY_VERIFY(form->isVisible());
        ClickButton(form, "Button1");
        ExpectError(form, "Reports", "");
        QCOMPARE(print->text(), QString("Print"));
    }
};

} // namespace varnok

QTEST_MAIN(varnok::GradingViewersTest)
#include "GradingViewersTest.moc"
