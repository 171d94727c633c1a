// The log-rule and price-set viewers and editors, driven as a user drives them: menu items,
// clicks on list entries and cells, typed keys, the question and error boxes.

#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/rules/LogRuleForms.h"
#include "app/rules/PriceSetForms.h"
#include "app/rules/RuleGrid.h"
#include "rules/LogRule.h"
#include "rules/PriceSet.h"
#include "rules/RoundwoodProducts.h"
#include "support/ByteBuffer.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QTest>

#include <clocale>
#include <filesystem>

namespace varnok {
namespace {

using test::Bundled;
namespace fs = std::filesystem;
using test::Answer;
using test::WaitForBox;

using app::RuleGrid;
using test::Activate;
using test::ClickButton;
using test::Find;

// A copy of the bundled rule files (no trees: these dialogs never read one).
struct RulesCopy {
    test::TempFolder Folder;
    DataFolder Data{Folder.Path()};

    RulesCopy() {
        for (const fs::path& kind : {Data.LogRules(), Data.Prices(), Data.Roundwood()}) {
            fs::copy(Bundled().Root() / kind.filename(), kind);
        }
    }
};

// Shows `window` and closes the veneer grading rule viewer that comes up in front of it at
// start-up, as a user would before turning to the rule sets.
void ShowMain(app::TMain& window) {
    window.show();
    auto* veneer = Find<QWidget>(&window, "TReadVeneerSpecForm");
    if (!QTest::qWaitFor([veneer] { return veneer->isVisible(); })) {
        qFatal("the veneer viewer did not come up");
    }
    veneer->close();
}

// The dialog `name` of `window`, opened by its menu item `action`.
QWidget* Open(app::TMain& window, const char* action, const QString& name) {
    window.Action(action)->trigger();
    auto* dialog = Find<QWidget>(&window, name);
    if (!dialog->isVisible() || !Activate(dialog)) {
        qFatal("%s did not open", qPrintable(name));
    }
    return dialog;
}

RuleGrid* Grid(const QWidget* dialog) {
    return Find<RuleGrid>(dialog, "StringGrid1");
}

void ClickEntry(const QWidget* dialog, const QString& entry, bool twice = false) {
    auto* list = Find<QListWidget>(dialog, "ListBox1");
    const QList<QListWidgetItem*> found = list->findItems(entry, Qt::MatchExactly);
    if (found.isEmpty()) {
        qFatal("no entry %s", qPrintable(entry));
    }
    list->scrollToItem(found.front());
    const QPoint at = list->visualItemRect(found.front()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    QApplication::processEvents();
}

// Types `text` into body cell `row`, `column` as a user does: a click on the cell, the keys,
// the first of which opens the cell, and Return.
void Type(RuleGrid* grid, int row, int column, const QString& text) {
    Activate(grid->window()); // a cell opens only in the active window
    grid->scrollToItem(grid->item(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(row, column)).center());
    QTest::keyClicks(grid, text.left(1));
    QWidget* typing = QApplication::focusWidget(); // the cell's editor, if it opened
    QTest::keyClicks(typing, text.mid(1));
    QTest::keyClick(typing, Qt::Key_Return);
    QApplication::processEvents(); // the cell is stored once the key is handled
}

void TypeName(const QWidget* dialog, const QString& name) {
    auto* edit = Find<QLineEdit>(dialog, "Edit1");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, name);
}

bool BodyIsEmpty(const RuleGrid* grid) {
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (!grid->Text(r, c).empty()) {
                return false;
            }
        }
    }
    return true;
}

// The 2200 bytes of a log rule with diameters 6 to 50 and the one volume given.
std::vector<std::uint8_t> OneVolumeRule(std::size_t offset, double volume) {
    ByteWriter bytes(2200);
    for (int d = 6; d <= 50; ++d) {
        bytes.I32(static_cast<std::size_t>(d - 1) * 44, d);
    }
    bytes.F64(offset, volume);
    return bytes.Take();
}

} // namespace

class LogRulePriceDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    // Each viewer lists its folder, shows heads alone until a file is read, shows the cells of
    // the file chosen, and on a file its reader refuses says why and keeps nothing of the file
    // viewed before. The market viewer opens them on a file named in any letter case.
    void ViewersShowTheirFilesAndRefuseForeignOnes() {
        const RulesCopy copy;
        test::WriteText(copy.Data.LogRules() / "Notes.txt", "a text beside the rules\n");
        std::vector<std::uint8_t> nanPrice =
            test::ReadBytes(copy.Data.Prices() / "Appalachian Doyle");
        std::fill(nanPrice.begin() + 392, nanPrice.begin() + 400, 0xFF); // a NaN
        test::WriteBytes(copy.Data.Prices() / "Damaged", nanPrice);
        struct Case {
            const char *Action, *Form, *View, *File;
            int Row; // diameter 20 and product 7
            std::vector<std::string> Shown;
            const char *Bad, *Says;
        };
        const Case cases[] = {
            {"ViewLogRuleFile1",
             "TReadLogScaleForm",
             "Button1",
             "Scribner",
             14,
             {"136", "170", "204", "238", "272"},
             "Notes.txt",
             "Read beyond end of file"},
            {"ViewPriceFile1",
             "TReadPrice",
             "",
             "Lake States Scribner",
             6,
             {"Pulpwood", "Cords", "75", "75", "75", "75", "75"},
             "Damaged",
             "row 4 price for 12"},
        };
        app::TMain window(copy.Data, false);
        ShowMain(window);
        for (const Case& c : cases) {
            QWidget* dialog = Open(window, c.Action, c.Form);
            QCOMPARE(Find<QListWidget>(dialog, "ListBox1")->count(), 4);
            RuleGrid* grid = Grid(dialog);
            QVERIFY(BodyIsEmpty(grid));
            ClickEntry(dialog, c.File, std::string(c.View).empty()); // a double click views
            if (!std::string(c.View).empty()) {
                ClickButton(dialog, c.View);
            }
            for (std::size_t col = 0; col < c.Shown.size(); ++col) {
                QCOMPARE(grid->Text(c.Row, static_cast<int>(col)), c.Shown[col]);
            }
            ClickEntry(dialog, c.Bad, true);
            QMessageBox* error = WaitForBox(dialog, "ErrorBox");
            QVERIFY2(error->text().contains(c.Says) && error->text().contains(c.Bad),
                     qPrintable(error->text()));
            QVERIFY(BodyIsEmpty(grid));
            QCOMPARE(grid->horizontalHeaderItem(grid->columnCount() - 1)->text(), QString("16"));
            Answer(error, QMessageBox::Ok);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QTRY_VERIFY(!dialog->isVisible());
        }
        auto* logs = Find<app::TReadLogScaleForm>(&window, "TReadLogScaleForm");
        QCOMPARE(Grid(logs)->CornerText(), QString("Log Diam"));
        logs->ShowFile("international quarter inch");
        QCOMPARE(Find<QListWidget>(logs, "ListBox1")->currentItem()->text(),
                 QString("International Quarter Inch"));
        QCOMPARE(Grid(logs)->Text(0, 0), std::string("10"));
        ClickButton(logs, "Cancel");
        QVERIFY(!logs->isVisible());
        auto* prices = Find<app::TReadPrice>(&window, "TReadPrice");
        prices->ShowFile("Northern International");
        QCOMPARE(Grid(prices)->Text(8, 0), std::string("Fuelwood"));
    }

    // Tab walks the steps in order and leaves the table (the arrow keys move inside it).
    void TabFollowsTheSteps() {
        const std::tuple<const char*, const char*, QStringList> cases[] = {
            {"ViewLogRuleFile1",
             "TReadLogScaleForm",
             {"ListBox1", "Button1", "StringGrid1", "Cancel"}},
            {"DefineLogRule1", "TDefineNewLogRule", {"StringGrid1", "Edit1", "Save", "Cancel"}},
            {"ViewPriceFile1",
             "TReadPrice",
             {"ListBox1", "StringGrid1", "ReadPriceFile", "Return"}},
            {"DefineNewPrices1",
             "TDefineNewLogPrices",
             {"ListBox1", "Button1", "StringGrid1", "Edit1", "SavePriceFile", "Cancel"}},
        };
        app::TMain window(Bundled(), true);
        ShowMain(window);
        for (const auto& [action, form, order] : cases) {
            QWidget* dialog = Open(window, action, form);
            QCOMPARE(QApplication::focusWidget()->objectName(), order.front());
            for (const QString& next : order.mid(1)) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget()->objectName(), next);
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    }

    // A bad cell is named and made current before any file is touched; the volume typed in
    // row "20", column "12" (with a comma where the locale writes one) lands at offset 856 of a
    // 2200-byte file, which a viewer open all along lists at once. Saving over an existing file,
    // named in any letter case, asks first: No keeps its bytes, Yes replaces that very file.
    void ALogRuleIsCheckedSavedAndViewed() {
        const RulesCopy copy;
        const fs::path doyle = copy.Data.LogRules() / "Doyle";
        const std::vector<std::uint8_t> old = test::ReadBytes(doyle);
        app::TMain window(copy.Data, true);
        ShowMain(window);
        QWidget* viewer = Open(window, "ViewLogRuleFile1", "TReadLogScaleForm");
        ClickEntry(viewer, "Doyle");
        QWidget* editor = Open(window, "DefineLogRule1", "TDefineNewLogRule");
        QCOMPARE(Grid(editor)->CornerText(), QString("Diameter"));
        Type(Grid(editor), 14, 2, "12x");
        TypeName(editor, "Hand Rule");
        ClickButton(editor, "Save");
        QMessageBox* error = WaitForBox(editor, "ErrorBox");
        QCOMPARE(error->text(),
                 QString("Diameter 20 in., 12 ft logs: '12x' is not a valid floating point value"));
        Answer(error, QMessageBox::Ok);
        QCOMPARE(std::pair(Grid(editor)->currentRow(), Grid(editor)->currentColumn()),
                 std::pair(14, 2));
        QVERIFY(editor->isVisible() && !fs::exists(copy.Data.LogRules() / "Hand Rule"));

        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Type(Grid(editor), 14, 2, "123,5");
        Type(Grid(editor), 44, 4, "7"); // the last row: Return stays on it
        QTest::keyClick(Grid(editor), Qt::Key_Delete);
        ClickButton(editor, "Save");
        QLocale::setDefault(QLocale::c());
        QTRY_VERIFY(!editor->isVisible());
        QCOMPARE(test::ReadBytes(copy.Data.LogRules() / "Hand Rule"), OneVolumeRule(856, 123.5));
        QVERIFY(Activate(viewer));
        QCOMPARE(Find<QListWidget>(viewer, "ListBox1")->currentItem()->text(), QString("Doyle"));
        ClickEntry(viewer, "Hand Rule", true);
        QCOMPARE(Grid(viewer)->Text(14, 2) + Grid(viewer)->Text(14, 1), std::string("123.50"));

        editor = Open(window, "DefineLogRule1", "TDefineNewLogRule");
        QVERIFY(BodyIsEmpty(Grid(editor)));
        QCOMPARE(Find<QLineEdit>(editor, "Edit1")->text(), QString("Hand Rule"));
        Type(Grid(editor), 0, 0, "2");
        TypeName(editor, "DOYLE");
        ClickButton(editor, "Save");
        QMessageBox* question = WaitForBox(editor, "ReplaceBox");
        QVERIFY(question->text().contains("\"Doyle\""));
        Answer(question, QMessageBox::No);
        QVERIFY(editor->isVisible());
        QCOMPARE(test::ReadBytes(doyle), old);
        ClickButton(editor, "Save");
        Answer(WaitForBox(editor, "ReplaceBox"), QMessageBox::Yes);
        QTRY_VERIFY(!editor->isVisible());
        QCOMPARE(test::ReadBytes(doyle), OneVolumeRule(5 * 44 + 4, 2.0));
        QCOMPARE(ListFiles(copy.Data.LogRules()),
                 (std::vector<std::string>{"Doyle", "Hand Rule", "International Quarter Inch",
                                           "Scribner"}));
    }

    // Rows 7 to 10 take the names and units of the roundwood set selected; another set replaces
    // them and keeps the prices typed; a bad cell is pointed at; a fraction of a price per cubic
    // foot is asked about; a set without cull penalty greys the cull row, which takes no typing
    // and stores zeros.
    void PriceEditorFollowsTheRoundwoodSet() {
        const RulesCopy copy;
        RoundwoodProductSet noCull =
            ReadRoundwoodProducts(copy.Data.Roundwood() / "Northern Roundwood");
        noCull.CullHandling = noCull.CullUnits = "none";
        WriteRoundwoodProducts(copy.Data.Roundwood() / "No Cull", noCull);
        app::TMain window(copy.Data, true);
        ShowMain(window);
        QWidget* editor = Open(window, "DefineNewPrices1", "TDefineNewLogPrices");
        QVERIFY(!Find<QPushButton>(editor, "Button2")->isVisible()); // "Startup"
        RuleGrid* grid = Grid(editor);
        Type(grid, 3, 4, "4,5");
        Type(grid, 6, 2, "30");
        Type(grid, 3, 0, "X"); // a fixed name takes no typing
        QCOMPARE(grid->Text(3, 0) + grid->Text(3, 1), std::string("#1 SawlogMBF"));
        ClickEntry(editor, "Appalachian Roundwood");
        ClickButton(editor, "Button1");
        QCOMPARE(grid->Text(7, 0), std::string("Tie Logs"));
        ClickEntry(editor, "Northern Roundwood", true);
        QCOMPARE(grid->Text(7, 0) + grid->Text(9, 1), std::string("BoltsCubic Feet"));
        QCOMPARE(grid->Text(6, 2), std::string("30"));
        TypeName(editor, "Hand Prices");
        ClickButton(editor, "SavePriceFile");
        Answer(WaitForBox(editor, "ErrorBox"), QMessageBox::Ok);
        QCOMPARE(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(3, 4));
        Type(grid, 3, 4, "450.25");
        Type(grid, 9, 2, "0.5");
        ClickButton(editor, "SavePriceFile");
        QMessageBox* warning = WaitForBox(editor, "WarningBox");
        QVERIFY2(warning->text().contains("Row 10 (Cull), 8 ft logs: 0.5 counts as 0."),
                 qPrintable(warning->text()));
        Answer(warning, QMessageBox::No);
        QVERIFY(editor->isVisible() && !fs::exists(copy.Data.Prices() / "Hand Prices"));
        QTest::keyClick(Find<QLineEdit>(editor, "Edit1"), Qt::Key_Return); // Save is the default
        Answer(WaitForBox(editor, "WarningBox"), QMessageBox::Yes);
        QTRY_VERIFY(!editor->isVisible());
        const ByteReader saved(test::ReadBytes(copy.Data.Prices() / "Hand Prices"));
        QCOMPARE(saved.Size(), std::size_t{1040});
        QCOMPARE(saved.F64(392) + saved.F64(6 * 104 + 64) + saved.F64(9 * 104 + 64), 480.75);
        QCOMPARE(saved.ShortString(7 * 104, 30), std::string("Bolts"));

        editor = Open(window, "DefineNewPrices1", "TDefineNewLogPrices");
        QVERIFY(Find<QLineEdit>(editor, "Edit1")->text().isEmpty());
        QVERIFY(grid->Text(3, 4).empty() && grid->Text(7, 0).empty());
        Type(grid, 9, 3, "3");
        ClickEntry(editor, "No Cull", true);
        for (int c = 2; c < 7; ++c) {
            QVERIFY(grid->Text(9, c) == "0" && grid->IsLocked(9, c));
            QCOMPARE(grid->item(9, c)->toolTip(), QString(kUnpricedCullNote));
        }
        Type(grid, 9, 4, "5");
        QCOMPARE(grid->Text(9, 4), std::string("0"));
        TypeName(editor, "No Cull Prices");
        ClickButton(editor, "SavePriceFile");
        QTRY_VERIFY(!editor->isVisible());
        const std::vector<std::uint8_t> bytes =
            test::ReadBytes(copy.Data.Prices() / "No Cull Prices");
        QCOMPARE(std::vector<std::uint8_t>(bytes.begin() + 9 * 104 + 64, bytes.end()),
                 std::vector<std::uint8_t>(40));
        QCOMPARE(ByteReader(bytes).ShortString(9 * 104, 30), std::string("none"));
    }
};

} // namespace varnok

QTEST_MAIN(varnok::LogRulePriceDialogsTest)
#include "LogRulePriceDialogsTest.moc"
