// "Print Optimal Bucking Solutions" driven as a user drives it: the lists and choices by keys
// and clicks, printouts read back from their PDF, the products file byte by byte, and the game
// left as it was.

#include "AppTestSupport.h"
#include "PdfText.h"
#include "TestSupport.h"

#include "market/OptimalCuts.h"
#include "services/Reports.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QRadioButton>

#include <clocale>

namespace varnok {
namespace {

using test::Find;

const QString kMarket = "Appalachian Doyle";

// Steps a list towards `tree` with the arrow keys, one press per tree, as a user does.
void Choose(QWidget* dialog, const char* list, int tree) {
    auto* box = Find<QComboBox>(dialog, list);
    const int presses = tree - 1 - box->currentIndex();
    for (int n = 0; n < std::abs(presses); ++n) {
        QTest::keyClick(box, presses > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
}

// Clicks a result kind where a user does: on the indicator of its radio button.
void ChooseKind(QWidget* dialog, const QString& caption) {
    for (QRadioButton* button :
         Find<QGroupBox>(dialog, "RadioGroup1")->findChildren<QRadioButton*>()) {
        if (button->text() == caption) {
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
            return;
        }
    }
    qFatal("no result kind %s", qPrintable(caption));
}

QStringList ReportTexts(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines) {
        if (!line.empty()) {
            texts << QString::fromStdString(line).simplified();
        }
    }
    return texts;
}

// Every text line of a PDF's pages, blanks squeezed: page breaks and blank lines are the
// layout's to choose.
QStringList PdfTextLines(const std::filesystem::path& pdf) {
    QStringList texts;
    for (const QStringList& page : test::PdfPages(pdf)) {
        for (const QString& line : test::SqueezeBlanks(page)) {
            if (!line.isEmpty()) {
                texts << line;
            }
        }
    }
    return texts;
}

// Counts how often the "Please Wait..." window is shown.
struct ShowCounter : QObject {
    int Shown = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == "PleaseWait") {
            ++Shown;
        }
        return false;
    }
};

// A main window with a market chosen and tree 5 in play, cut once.
struct Session {
    test::BundledCopy Copy;
    app::TMain Window{Copy.Data, true};
    QWidget* Form = nullptr;

    Session() {
        Window.showMaximized();
        test::StartTree(Window, "Buck1", kMarket, 5);
        test::ClickButton(&Window, "Button8"); // a 16 ft log
        Form = Find<QWidget>(&Window, "TPrintSolutionForm");
    }
    const Market& CurrentMarket() const { return *Window.CurrentMarket(); }
    void Open() {
        Window.Action("OptimalResults1")->trigger();
        QTRY_VERIFY(Form->isVisible());
        QVERIFY(test::Activate(Form));
    }
};

} // namespace

class PrintSolutionFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    // The texts, the state on every show, the lists that keep the last tree at or above the
    // first, and "Print Solutions" that waits for a kind of result.
    void TheFormAndItsChoices() {
        Session s;
        s.Open();
        QCOMPARE(s.Form->windowTitle(), QString("Print Optimal Bucking Solutions"));
        QStringList texts;
        for (const QLabel* label : s.Form->findChildren<QLabel*>()) {
            texts << label->text();
        }
        texts.sort();
        for (const QAbstractButton* button : s.Form->findChildren<QAbstractButton*>()) {
            texts << button->objectName() + " " + button->text();
            QVERIFY(!button->isChecked());
        }
        QCOMPARE(texts,
                 (QStringList{"\"Create File\" will only create a file containing the "
                              "\"Products Produced\" results.",
                              "1)", "2)", "3)", "Choose the desired results.", "Note:",
                              "Select the desired trees.", "or", "or", "to", " Cut Locations",
                              " Products Produced", " Cut Locations and Produced Products",
                              "Button1 Print Solutions", "Button3 Create File", "Button2 Cancel"}));
        auto* print = Find<QPushButton>(s.Form, "Button1");
        QVERIFY(!print->isEnabled());
        QTest::mouseClick(print, Qt::LeftButton);
        QVERIFY(s.Form->isVisible());
        QVERIFY(!std::filesystem::exists(s.Copy.Data.Reports()));

        auto* first = Find<QComboBox>(s.Form, "ComboBox1");
        auto* last = Find<QComboBox>(s.Form, "ComboBox2");
        QCOMPARE(last->itemText(149), QString("150"));
        struct Step {
            const char* list;
            int tree;
            int first, last; // the lists afterwards
        };
        const Step steps[] = {
            {"ComboBox2", 5, 1, 5},   {"ComboBox1", 12, 12, 12}, // the last moves up to the first
            {"ComboBox2", 3, 12, 12}, {"ComboBox2", 150, 12, 150}, {"ComboBox1", 2, 2, 150},
        };
        for (const Step& step : steps) {
            Choose(s.Form, step.list, step.tree);
            QCOMPARE(first->currentText(), QString::number(step.first));
            QCOMPARE(last->currentText(), QString::number(step.last));
        }
        ChooseKind(s.Form, "Products Produced");
        QVERIFY(print->isEnabled());

        test::ClickButton(s.Form, "Button2"); // Cancel
        QTRY_VERIFY(!s.Form->isVisible());
        s.Open();
        QCOMPARE(first->currentText(), QString("1"));
        QCOMPARE(last->currentText(), QString("1"));
        QVERIFY(!print->isEnabled());
        QTest::keyClick(s.Form, Qt::Key_Escape);
        QTRY_VERIFY(!s.Form->isVisible());
    }

    // Each kind prints the core's report lines of the market in force, for the trees chosen,
    // while the game keeps its tree and cuts.
    void PrintSolutionsPrintsTheReportsOfTheRange() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
            QSKIP("this machine has a printer; the PDF fallback is not taken");
        }
        Session s;
        const std::vector<int> cuts = s.Window.Game().Cuts().UsedInches();
        const Market& market = s.CurrentMarket();
        const OptimalCutsTable table = ReadOptimalCuts(market.OptmcutsPath);
        const auto products = [&](int a, int b) {
            return ProductsReportLines(ResearchOptimalPatterns(s.Copy.Data, market, a, b), a, b);
        };
        struct Case {
            QString kind;
            int first, last;
            QStringList expected;
        };
        const Case cases[] = {
            {"Cut Locations", 2, 6, ReportTexts(CutLocationLines(table, 2, 6))},
            {"Products Produced", 1, 1, ReportTexts(products(1, 1))},
            {"Cut Locations and Produced Products", 1, 2,
             ReportTexts(CutLocationLines(table, 1, 2)) + ReportTexts(products(1, 2))},
        };
        QVERIFY(cases[1].expected.contains("Value: $-2.18")); // tree 1's cull charge
        for (const Case& c : cases) {
            s.Open();
            Choose(s.Form, "ComboBox1", c.first);
            Choose(s.Form, "ComboBox2", c.last);
            ChooseKind(s.Form, c.kind);
            test::ClickButton(s.Form, "Button1");
            QTRY_VERIFY(!s.Form->isVisible());
            const std::filesystem::path pdf =
                s.Copy.Data.Reports() / QString("%1 - %2 - Trees %3 To %4.pdf")
                                            .arg(c.kind, kMarket)
                                            .arg(c.first)
                                            .arg(c.last)
                                            .toStdString();
            auto* told = s.Window.findChild<QMessageBox*>("MessageBox");
            QVERIFY(told != nullptr);
            QVERIFY2(told->text().contains(QString::fromStdString(pdf.string())),
                     qPrintable(told->text()));
            test::Click(told->button(QMessageBox::Ok));
            QTRY_VERIFY(s.Window.findChild<QMessageBox*>("MessageBox") == nullptr);
            QCOMPARE(PdfTextLines(pdf), c.expected);
        }
        QCOMPARE(s.Window.Game().TreeNumber, 5);
        QCOMPARE(s.Window.Game().Cuts().UsedInches(), cuts);
        QVERIFY(!s.CurrentMarket().IsResearchMarket());
    }

    // "Create File" evaluates the range behind "Please Wait...", proposes a ".csv" file in
    // "Reports" (made for it) and writes the products file with CR LF line ends.
    void CreateFileWritesTheProductsOfTheRange() {
        Session s;
        const std::vector<int> cuts = s.Window.Game().Cuts().UsedInches();
        ShowCounter waits;
        qApp->installEventFilter(&waits);
        s.Open();
        Choose(s.Form, "ComboBox1", 3);
        Choose(s.Form, "ComboBox2", 3);
        test::ClickButton(s.Form, "Button3");
        qApp->removeEventFilter(&waits);
        QCOMPARE(waits.Shown, 1);
        QVERIFY(!Find<QWidget>(&s.Window, "PleaseWait")->isVisible());
        QVERIFY(!s.Form->isVisible());
        auto* save = Find<QFileDialog>(&s.Window, "SaveDialog1");
        QTRY_VERIFY(save->isVisible());
        QCOMPARE(save->directory().absolutePath(),
                 QString::fromStdString(s.Copy.Data.Reports().string()));
        auto* name = Find<QLineEdit>(save, "fileNameEdit");
        QCOMPARE(name->text(), QString("Appalachian Doyle Optimal Products 3 To 3.csv"));
        QVERIFY(test::Activate(save));
        QTest::keyClick(name, Qt::Key_Return);
        QTRY_VERIFY(!save->isVisible());

        const auto bytes = test::ReadBytes(s.Copy.Data.Reports() /
                                           "Appalachian Doyle Optimal Products 3 To 3.csv");
        const std::vector<std::string> lines =
            ProductsFileLines(ResearchOptimalPatterns(s.Copy.Data, s.CurrentMarket(), 3, 3), 3, 3);
        QCOMPARE(std::string(bytes.begin(), bytes.end()), test::CrLf(lines));
        QCOMPARE(lines.size(), std::size_t{3 + 4});
        QCOMPARE(lines[1],
                 std::string("tree,segment,length,product,s.e.d.,sweep,cull,volume,value"));
        QCOMPARE(lines[6], std::string("3,4,116,Cull,4,0.00,0.00,2,-1.74"));
        QVERIFY(s.Window.findChild<QMessageBox*>() == nullptr);
        QCOMPARE(s.Window.Game().TreeNumber, 5);
        QCOMPARE(s.Window.Game().Cuts().UsedInches(), cuts);

        s.Open(); // a closed save dialog writes nothing
        test::ClickButton(s.Form, "Button3");
        QTRY_VERIFY(save->isVisible());
        QTest::keyClick(save, Qt::Key_Escape);
        QTRY_VERIFY(!save->isVisible());
        QCOMPARE(std::distance(std::filesystem::directory_iterator(s.Copy.Data.Reports()), {}),
                 std::ptrdiff_t{1});
    }

    // Unreadable optimal cuts or a missing tree file is shown over the form, which stays; trees
    // without a stored pattern are named once the output is made.
    void ErrorsAndTreesWithoutAPattern() {
        Session s;
        const std::filesystem::path optmcuts = s.CurrentMarket().OptmcutsPath;
        const OptimalCutsTable whole = ReadOptimalCuts(optmcuts);
        test::WriteText(optmcuts, "short");
        struct Case {
            const char* button;
            int tree;
            QStringList words;
        };
        const Case cases[] = {
            {"Button1", 1, {"Optmcuts", "Read beyond end of file"}},
            {"Button3", 1, {"Optmcuts", "Read beyond end of file"}},
            {"Button3", 4, {"Tree4.SHP", "File not found"}},
        };
        for (const Case& c : cases) {
            if (c.tree == 4) {
                WriteOptimalCuts(optmcuts, whole);
                std::filesystem::remove(s.Copy.Data.ShapeFile(4));
            }
            s.Open();
            Choose(s.Form, "ComboBox2", c.tree);
            ChooseKind(s.Form, "Cut Locations");
            test::ClickButton(s.Form, c.button);
            auto* error = s.Form->findChild<QMessageBox*>("ErrorBox");
            QVERIFY(error != nullptr);
            for (const QString& word : c.words) {
                QVERIFY2(error->text().contains(word), qPrintable(error->text()));
            }
            test::Click(error->button(QMessageBox::Ok));
            QVERIFY(s.Form->isVisible());
            QVERIFY(!Find<QFileDialog>(&s.Window, "SaveDialog1")->isVisible());
            QVERIFY(!std::filesystem::exists(s.Copy.Data.Reports()) ||
                    std::filesystem::is_empty(s.Copy.Data.Reports()));
            QTest::keyClick(s.Form, Qt::Key_Escape);
        }

        OptimalCutsTable stopped = whole;
        for (int n = 8; n <= kTreeCount; ++n) {
            stopped.Entry(n) = {};
        }
        WriteOptimalCuts(optmcuts, stopped);
        s.Open();
        Choose(s.Form, "ComboBox1", 6);
        Choose(s.Form, "ComboBox2", 9);
        test::ClickButton(s.Form, "Button3");
        auto* save = Find<QFileDialog>(&s.Window, "SaveDialog1");
        QTRY_VERIFY(save->isVisible());
        QVERIFY(test::Activate(save));
        QTest::keyClick(Find<QLineEdit>(save, "fileNameEdit"), Qt::Key_Return);
        auto* told = s.Window.findChild<QMessageBox*>("MessageBox");
        QVERIFY(told != nullptr);
        QCOMPARE(told->text(), QString("Market \"Appalachian Doyle\" stores no optimal pattern for "
                                       "trees 8 to 9: the file leaves them out."));
        const auto bytes = test::ReadBytes(s.Copy.Data.Reports() /
                                           "Appalachian Doyle Optimal Products 6 To 9.csv");
        const std::string text(bytes.begin(), bytes.end());
        QVERIFY(text.find("\r\n7,1,") != std::string::npos);
        QVERIFY(text.find("\r\n8,") == std::string::npos);
    }
};

} // namespace varnok

QTEST_MAIN(varnok::PrintSolutionFormTest)
#include "PrintSolutionFormTest.moc"
