// The grading rule viewers and the full matrix, driven as a user drives them: menu items, real
// clicks on the file list, the buttons and the grades.

#include "AppTestSupport.h"
#include "PdfText.h"
#include "TestSupport.h"

#include "app/Application.h"
#include "app/grading/GradingRuleViewer.h"
#include "grading/SawlogRulesView.h"
#include "grading/VeneerRulesView.h"

#include <QGroupBox>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

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

struct BundledCopy {
    test::TempFolder Folder;
    DataFolder Data{Folder.Path()};

    BundledCopy() {
        std::filesystem::copy(Bundled().Root(), Folder.Path(),
                              std::filesystem::copy_options::recursive);
    }
};

using Grid = std::vector<std::vector<std::string>>;

// What each viewer shows: its menu item, its folder and the texts of its grid for a grade.
struct Viewer {
    QString Item;
    QString Name;
    std::filesystem::path (DataFolder::*Folder)() const;
    QString Step;
    QString Button;
    QString GradeCaption;
    QString Title;
};

const Viewer kSawlog = {"ViewSawlogGradingRules1",
                        "TReadSawSpecForm",
                        &DataFolder::SawGrades,
                        "Select the sawlog grading rule to be viewed.",
                        "View Selected Sawlog Grading Rule",
                        "Grade",
                        "View Sawlog Grading Rules"};
const Viewer kVeneer = {"ViewVeneerGradingRules1",
                        "TReadVeneerSpecForm",
                        &DataFolder::Veneer,
                        "Select the veneer grading rule to be viewed.",
                        "View Selected Veneer Grading Rule",
                        "Veneer Grade",
                        "View Veneer Grading Rules"};

Grid SawlogGrid(const DataFolder& data, const std::string& file, int grade) {
    return SawlogGradeGrid(ReadSawlogRuleSet(data.SawGrades() / file, RecordChoice::First), grade);
}

Grid VeneerGrid(const DataFolder& data, const std::string& file, int grade) {
    const VeneerRuleSet rules = ReadVeneerRuleSet(data.Veneer() / file);
    const auto values = VeneerGradeRows(rules, grade);
    Grid grid;
    for (std::size_t row = 0; row < values.size(); ++row) {
        grid.push_back({std::string(VeneerRowLabels()[row]), values[row]});
    }
    return grid;
}

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

bool AllEmpty(const QTableWidget* table) {
    for (const auto& row : Cells(table)) {
        for (const std::string& cell : row) {
            if (!cell.empty()) {
                return false;
            }
        }
    }
    return true;
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
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(button->height() / 2, button->height() / 2));
    QApplication::processEvents();
}

// A real click on the list entry `name`; twice for a double click.
void ClickEntry(QWidget* viewer, const QString& name, bool twice = false) {
    auto* list = Find<QListWidget>(viewer, "ListBox1");
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    const QPoint at = list->visualItemRect(found.front()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    QApplication::processEvents();
}

// Opens `viewer` from the menu and views `file` with a click on it and on the view button.
QWidget* View(app::TMain& window, const Viewer& viewer, const QString& file) {
    QWidget* dialog = Find<QWidget>(&window, viewer.Name);
    if (!dialog->isVisible()) {
        window.Action(viewer.Item)->trigger();
    }
    ClickEntry(dialog, file);
    ClickButton(dialog, "Button1");
    return dialog;
}

// The viewer shows nothing: no grade to choose, an empty and disabled grid.
void ExpectNothingShown(QWidget* dialog) {
    QVERIFY(!Find<QGroupBox>(dialog, "RadioGroup1")->isEnabled());
    QVERIFY(GradeButtons(dialog).isEmpty());
    auto* grid = Find<QTableWidget>(dialog, "StringGrid1");
    QVERIFY(!grid->isEnabled());
    QVERIFY(AllEmpty(grid));
}

QMessageBox* ErrorOver(QWidget* dialog) {
    QMessageBox* error = nullptr;
    [&] { QTRY_VERIFY((error = dialog->findChild<QMessageBox*>("ErrorBox")) != nullptr); }();
    return error;
}

void CloseError(QWidget* dialog) {
    QMessageBox* error = ErrorOver(dialog);
    QVERIFY(error != nullptr);
    test::Click(error->button(QMessageBox::Ok));
    QTRY_VERIFY(dialog->findChild<QMessageBox*>("ErrorBox") == nullptr);
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
        QStringList files;
        bool gradesEnabled = true;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            QWidget* viewer = test::TopLevel("TReadVeneerSpecForm");
            if (viewer == nullptr || !viewer->isVisible() ||
                QApplication::activeWindow() == nullptr) {
                return;
            }
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->isVisible()) {
                    visible << widget->objectName();
                }
            }
            active = QApplication::activeWindow()->objectName();
            const auto* list = Find<QListWidget>(viewer, "ListBox1");
            for (int row = 0; row < list->count(); ++row) {
                files << list->item(row)->text();
            }
            gradesEnabled = Find<QGroupBox>(viewer, "RadioGroup1")->isEnabled();
            QApplication::exit(0);
        });
        watch.start(10);
        QCOMPARE(app::Run({"varnok", "--data", QString::fromStdString(Bundled().Root().string())}),
                 0);
        watch.stop();
        visible.sort();
        QCOMPARE(visible, (QStringList{"TMain", "TReadVeneerSpecForm"}));
        QCOMPARE(active, QString("TReadVeneerSpecForm"));
        QCOMPARE(files, QStringList{"Hardwood Veneer"});
        QVERIFY(!gradesEnabled);
    }

    void CaptionsAndTheStateOnShow() {
        app::TMain window(Bundled(), false);
        for (const Viewer& viewer : {kSawlog, kVeneer}) {
            QVERIFY(window.Action(viewer.Item)->isVisible());
            window.Action(viewer.Item)->trigger();
            QWidget* dialog = Find<QWidget>(&window, viewer.Name);
            QTRY_VERIFY(dialog->isVisible());
            QCOMPARE(dialog->windowTitle(), viewer.Title);
            QVERIFY(!dialog->isModal());
            QStringList labels;
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                labels << label->text();
            }
            for (const QString& text : {QString("1)"), QString("2)"), QString("3)"), viewer.Step}) {
                QVERIFY2(labels.contains(text), qPrintable(text));
            }
            QCOMPARE(Find<QPushButton>(dialog, "Button1")->text(), viewer.Button);
            QCOMPARE(Find<QPushButton>(dialog, "Button2")->text(), QString("Exit Viewer"));
            QCOMPARE(Find<QGroupBox>(dialog, "RadioGroup1")->title(), viewer.GradeCaption);
            QStringList expected;
            for (const std::string& name : ListFiles((Bundled().*viewer.Folder)())) {
                expected << QString::fromStdString(name);
            }
            auto* list = Find<QListWidget>(dialog, "ListBox1");
            QStringList listed;
            for (int row = 0; row < list->count(); ++row) {
                listed << list->item(row)->text();
            }
            QCOMPARE(listed, expected);
            ExpectNothingShown(dialog);
            // Without a file chosen the view button does nothing.
            ClickButton(dialog, "Button1");
            ExpectNothingShown(dialog);
            QVERIFY(dialog->findChild<QMessageBox*>("ErrorBox") == nullptr);
        }
    }

    // A grade of the bundled sawlog rules, then another grade, then another file by a double
    // click; "Exit Viewer" leaves the grade "1" and the next show starts afresh.
    void TheSawlogViewerShowsOneGradeAtATime() {
        app::TMain window(Bundled(), false);
        QWidget* dialog = View(window, kSawlog, "Factory Grades");
        auto* grid = Find<QTableWidget>(dialog, "StringGrid1");
        QVERIFY(grid->isEnabled());
        QVERIFY(Find<QGroupBox>(dialog, "RadioGroup1")->isEnabled());
        QCOMPARE(GradeCaptions(dialog), (QStringList{"1", "2", "3"}));
        QVERIFY(GradeButtons(dialog).front()->isChecked());
        QCOMPARE(Cells(grid), SawlogGrid(Bundled(), "Factory Grades", 1));
        QCOMPARE(grid->columnCount(), 10);
        QVERIFY(grid->columnWidth(0) >= 120);
        QVERIFY(grid->columnWidth(9) >= 54);
        // Every column is on view, none cut by the grid's edge.
        int columns = 0;
        for (int c = 0; c < grid->columnCount(); ++c) {
            columns += grid->columnWidth(c);
        }
        QVERIFY(grid->viewport()->width() >= columns);

        ClickGrade(dialog, 2);
        QCOMPARE(Cells(grid), SawlogGrid(Bundled(), "Factory Grades", 3));
        QCOMPARE(grid->item(0, 2)->text(), QString()); // one cell: column 1 alone

        ClickEntry(dialog, "Clear Faces", true);
        QCOMPARE(GradeCaptions(dialog), (QStringList{"1", "2", "3"}));
        QVERIFY(GradeButtons(dialog).front()->isChecked());
        QCOMPARE(Cells(grid), SawlogGrid(Bundled(), "Clear Faces", 1));
        QCOMPARE(grid->item(3, 1)->text(), QString("3 Face"));

        ClickButton(dialog, "Button2");
        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(GradeCaptions(dialog), QStringList{"1"});
        window.Action(kSawlog.Item)->trigger();
        QTRY_VERIFY(dialog->isVisible());
        QVERIFY(!Find<QGroupBox>(dialog, "RadioGroup1")->isEnabled());
        QVERIFY(!GradeButtons(dialog).front()->isChecked());
        QVERIFY(!grid->isEnabled());
        QVERIFY(AllEmpty(grid));
    }

    void TheVeneerViewerListsGradesByName() {
        app::TMain window(Bundled(), false);
        QWidget* dialog = View(window, kVeneer, "Hardwood Veneer");
        auto* grid = Find<QTableWidget>(dialog, "StringGrid1");
        QCOMPARE(GradeCaptions(dialog),
                 (QStringList{"Prime Veneer", "Select Veneer", "Export Veneer"}));
        QCOMPARE(grid->columnCount(), 2);
        QCOMPARE(grid->rowCount(), 15);
        QCOMPARE(Cells(grid), VeneerGrid(Bundled(), "Hardwood Veneer", 1));
        QVERIFY(grid->columnWidth(0) >= 390 && grid->rowHeight(0) >= 24);
        // The keys reach the grades too: Tab from the view button, then an arrow.
        Find<QPushButton>(dialog, "Button1")->setFocus();
        QVERIFY(test::Activate(dialog));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), GradeButtons(dialog).front());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTRY_VERIFY(GradeButtons(dialog)[1]->isChecked());
        QCOMPARE(Cells(grid), VeneerGrid(Bundled(), "Hardwood Veneer", 2));
        ClickGrade(dialog, 2);
        QCOMPARE(Cells(grid), VeneerGrid(Bundled(), "Hardwood Veneer", 3));

        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(!dialog->isVisible());
        QVERIFY(GradeButtons(dialog).isEmpty());
    }

    // A file that cannot be read shows its error and leaves nothing of the file viewed before;
    // a second file shows exactly its own grades.
    void AnUnreadableFileClearsTheViewer() {
        const BundledCopy copy;
        const DataFolder& data = copy.Data;
        test::WriteBytes(data.SawGrades() / "Short", std::vector<std::uint8_t>(100, 1));
        SawlogRuleSet one =
            ReadSawlogRuleSet(data.SawGrades() / "Factory Grades", RecordChoice::First);
        for (const int grade : {2, 3}) {
            for (int d = 1; d <= 3; ++d) {
                for (int l = 1; l <= 3; ++l) {
                    one.Cell(grade, d, l) = {};
                }
            }
        }
        WriteSawlogRuleSet(data.SawGrades() / "One Grade", one);
        std::vector<std::uint8_t> veneer = test::ReadBytes(data.Veneer() / "Hardwood Veneer");
        veneer[0] = 7; // seven grades: refused
        test::WriteBytes(data.Veneer() / "Seven Grades", veneer);

        struct Case {
            const Viewer& viewer;
            QString good;
            QString bad;
            QString words;
        };
        const Case cases[] = {
            {kSawlog, "Factory Grades", "Short", "Read beyond end of file"},
            {kSawlog, "Factory Grades", "Missing", "File not found"},
            {kVeneer, "Hardwood Veneer", "Seven Grades", "GradeCount is 7"},
        };
        app::TMain window(data, false);
        for (const Case& c : cases) {
            QWidget* dialog = View(window, c.viewer, c.good);
            QVERIFY(GradeButtons(dialog).size() == 3);
            if (c.bad == "Missing") {
                app::GradingRuleViewer* viewer =
                    Find<app::GradingRuleViewer>(&window, c.viewer.Name);
                viewer->ShowFile(c.bad);
            } else {
                ClickEntry(dialog, c.bad);
                ClickButton(dialog, "Button1");
            }
            QMessageBox* error = ErrorOver(dialog);
            QVERIFY(error != nullptr);
            QVERIFY2(error->text().contains(c.words), qPrintable(error->text()));
            QVERIFY2(error->text().contains(c.bad), qPrintable(error->text()));
            ExpectNothingShown(dialog);
            CloseError(dialog);
        }
        QWidget* dialog = View(window, kSawlog, "Factory Grades");
        ClickEntry(dialog, "One Grade");
        ClickButton(dialog, "Button1");
        QCOMPARE(GradeCaptions(dialog), QStringList{"1"});
        QCOMPARE(Cells(Find<QTableWidget>(dialog, "StringGrid1")),
                 SawlogGrid(data, "One Grade", 1));
    }

    // Another window opens a viewer on a file by name, as a market names it.
    void ShowFileSelectsAndViews() {
        const BundledCopy copy;
        app::TMain window(copy.Data, false);
        auto* viewer = Find<app::GradingRuleViewer>(&window, kSawlog.Name);
        viewer->ShowFile("factory grades"); // one case-insensitive match
        QTRY_VERIFY(viewer->isVisible());
        auto* list = Find<QListWidget>(viewer, "ListBox1");
        QCOMPARE(list->currentItem()->text(), QString("Factory Grades"));
        QCOMPARE(Cells(Find<QTableWidget>(viewer, "StringGrid1")),
                 SawlogGrid(copy.Data, "Factory Grades", 1));
        // Shown already, it reads its folder again.
        std::filesystem::copy_file(copy.Data.SawGrades() / "Clear Faces",
                                   copy.Data.SawGrades() / "New Faces");
        viewer->ShowFile("New Faces");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentItem()->text(), QString("New Faces"));
        QCOMPARE(Cells(Find<QTableWidget>(viewer, "StringGrid1")),
                 SawlogGrid(copy.Data, "Clear Faces", 1));
    }

    // "Print" prints the sawlog rules of the market in force, every grade and cell, and then
    // reads "done"; without a printer the PDF in "Reports" reads back as the matrix.
    void TheFullMatrixPrintsTheMarketInForce() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
            QSKIP("this machine has a printer; the PDF fallback is not taken");
        }
        const BundledCopy copy;
        app::TMain window(copy.Data, true);
        window.show();
        QAction* item = window.Action("SawGradingRulesFullMatrix1");
        QVERIFY(item->isVisible());
        QVERIFY(!item->isEnabled());
        QWidget* form = Find<QWidget>(&window, "TPrintSawMatrixForm");
        auto* print = Find<QPushButton>(form, "Button1");
        struct Case {
            QString market;
            std::string rules;
            QString line; // one the reader sees on the page
        };
        const Case cases[] = {
            {"Appalachian Doyle", "Factory Grades",
             "Diameter Range       13 to 15  16 to 19  20 to 50"},
            {"Lake States Scribner", "Clear Faces",
             "CC Min Length          2 Face    1 Face    1 Face"},
        };
        for (const Case& c : cases) {
            test::StartTree(window, "Buck1", c.market, 1);
            QTRY_VERIFY(window.View() != nullptr);
            QVERIFY(item->isEnabled());
            item->trigger();
            QTRY_VERIFY(form->isVisible());
            QCOMPARE(form->windowTitle(), QString("PrintSawMatrixForm"));
            QCOMPARE(print->text(), QString("Print"));
            ClickButton(form, "Button1");
            QCOMPARE(print->text(), QString("done"));

            const std::filesystem::path pdf =
                copy.Data.Reports() /
                ("Saw Grading Rules Full Matrix - " + c.market.toStdString() + ".pdf");
            auto* told = form->findChild<QMessageBox*>("MessageBox");
            QVERIFY(told != nullptr);
            QVERIFY2(told->text().contains(QString::fromStdString(pdf.string())),
                     qPrintable(told->text()));
            test::Click(told->button(QMessageBox::Ok));
            QStringList expected;
            const Market& market = *window.CurrentMarket();
            for (const std::string& line :
                 SawlogFullMatrixLines(market.SawlogRules, market.Name, c.rules)) {
                expected << QString::fromStdString(line);
            }
            QVERIFY(expected.contains(c.line));
            const QList<QStringList> pages = test::PdfPages(pdf);
            QCOMPARE(pages.size(), 1);
            QCOMPARE(test::SqueezeBlanks(pages.front()), test::SqueezeBlanks(expected));

            // Printed again, it goes to a file of its own.
            const std::vector<std::uint8_t> first = test::ReadBytes(pdf);
            ClickButton(form, "Button1");
            QCOMPARE(test::ReadBytes(pdf), first);
            auto second = pdf;
            second.replace_filename(pdf.stem().string() + " (2).pdf");
            QCOMPARE(test::PdfPages(second), pages);
            QTRY_VERIFY(form->findChild<QMessageBox*>("MessageBox") != nullptr);
            test::Click(form->findChild<QMessageBox*>("MessageBox")->button(QMessageBox::Ok));
            QTest::keyClick(form, Qt::Key_Escape);
            QTRY_VERIFY(!form->isVisible());
        }

        // A report that cannot be written is shown as an error, never as "done".
        std::filesystem::remove_all(copy.Data.Reports());
        test::WriteText(copy.Data.Reports(), "a file where the folder should be");
        item->trigger();
        QTRY_VERIFY(form->isVisible());
        ClickButton(form, "Button1");
        CloseError(form);
        QCOMPARE(print->text(), QString("Print"));
    }
};

} // namespace varnok

QTEST_MAIN(varnok::GradingViewersTest)
#include "GradingViewersTest.moc"
