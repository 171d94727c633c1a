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

namespace fs = std::filesystem;

using app::RuleGrid;
using test::Activate;
using test::ClickButton;
using test::Find;

const DataFolder& Bundled() {
    static const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
    return data;
}

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

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text();
    }
    return items;
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

// Types `text` into body cell `row`, `column` as a user does: a click on the cell (unless it
// is the current one: a click there opens it only after the double-click time), the keys,
// the first of which opens the cell, and Return. An empty text is Delete.
void Type(RuleGrid* grid, int row, int column, const QString& text) {
    if (grid->currentRow() != row || grid->currentColumn() != column) {
        grid->scrollToItem(grid->item(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(row, column)).center());
    }
    if (text.isEmpty()) {
        QTest::keyClick(grid, Qt::Key_Delete);
        return;
    }
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

QMessageBox* Box(const QWidget* dialog, const char* name) {
    QMessageBox* box = nullptr;
    if (!QTest::qWaitFor(
            [&] { return (box = dialog->findChild<QMessageBox*>(name)) != nullptr; })) {
        qFatal("no %s", name);
    }
    return box;
}

// Clicks `button` of `box`, which goes away (it deletes itself).
void Answer(QMessageBox* box, QMessageBox::StandardButton button) {
    const QPointer<QMessageBox> kept(box);
    test::Click(box->button(button));
    QTRY_VERIFY(kept.isNull());
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

    // Both viewers list their folder, show the heads before anything is read, and show the
    // cells of the file chosen by the button or by a double click; Esc and "Exit Viewer" close.
    void ViewersShowTheBundledFiles() {
        struct Case {
            const char* Action;
            const char* Form;
            const char* Caption;
            const char* View;
            const char* Exit;
            QStringList Files;
            const char* File;
            int Row;
            std::vector<std::string> Shown; // from column 0
        };
        const Case cases[] = {
            {"ViewLogRuleFile1",
             "TReadLogScaleForm",
             "View Log Rule",
             "Button1",
             "Cancel",
             {"Doyle", "International Quarter Inch", "Scribner"},
             "Scribner",
             14, // diameter 20
             {"136", "170", "204", "238", "272"}},
            {"ViewLogRuleFile1",
             "TReadLogScaleForm",
             "View Log Rule",
             "",
             "Cancel",
             {"Doyle", "International Quarter Inch", "Scribner"},
             "Doyle",
             44, // diameter 50
             {"1058", "1322.5", "1587", "1851.5", "2116"}},
            {"ViewPriceFile1",
             "TReadPrice",
             "View Price Set",
             "ReadPriceFile",
             "Return",
             {"Appalachian Doyle", "Lake States Scribner", "Northern International"},
             "Lake States Scribner",
             6,
             {"Pulpwood", "Cords", "75", "75", "75", "75", "75"}},
            {"ViewPriceFile1",
             "TReadPrice",
             "View Price Set",
             "",
             "",
             {"Appalachian Doyle", "Lake States Scribner", "Northern International"},
             "Appalachian Doyle",
             9,
             {"Cull", "Cubic Feet", "1", "1", "1", "1", "1"}},
        };
        app::TMain window(Bundled(), false);
        ShowMain(window);
        for (const Case& c : cases) {
            QWidget* dialog = Open(window, c.Action, c.Form);
            QCOMPARE(dialog->windowTitle(), QString(c.Caption));
            QCOMPARE(Items(Find<QListWidget>(dialog, "ListBox1")), c.Files);
            RuleGrid* grid = Grid(dialog);
            QVERIFY(BodyIsEmpty(grid));
            QCOMPARE(grid->horizontalHeaderItem(grid->columnCount() - 1)->text(), QString("16"));
            if (std::string(c.View).empty()) {
                ClickEntry(dialog, c.File, true);
            } else {
                ClickEntry(dialog, c.File);
                ClickButton(dialog, c.View);
            }
            for (std::size_t col = 0; col < c.Shown.size(); ++col) {
                QCOMPARE(grid->Text(c.Row, static_cast<int>(col)), c.Shown[col]);
            }
            if (std::string(c.Exit).empty()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                ClickButton(dialog, c.Exit);
            }
            QTRY_VERIFY(!dialog->isVisible());
        }
        auto* logs = Find<app::TReadLogScaleForm>(&window, "TReadLogScaleForm");
        QCOMPARE(Grid(logs)->CornerText(), QString("Log Diam"));
        QCOMPARE(Grid(logs)->verticalHeaderItem(0)->text(), QString("6"));
        QCOMPARE(Grid(logs)->verticalHeaderItem(44)->text(), QString("50"));
        QCOMPARE(Find<QLabel>(logs, "Label1")->text(),
                 QString("Select the log rule to be viewed."));
        QCOMPARE(Find<QPushButton>(logs, "Button1")->text(), QString("View Selected Log Rule"));
        QCOMPARE(Find<QPushButton>(logs, "Cancel")->text(), QString("Exit Viewer"));
        auto* prices = Find<app::TReadPrice>(&window, "TReadPrice");
        QCOMPARE(Grid(prices)->horizontalHeaderItem(0)->text(), QString("Product"));
        QCOMPARE(Find<QLabel>(prices, "Label1")->text(),
                 QString("Select the price set to be viewed."));
        QCOMPARE(Find<QPushButton>(prices, "ReadPriceFile")->text(),
                 QString("View Selected Price Set"));

        // The market viewer opens them on one file, named in any letter case.
        logs->ShowFile("international quarter inch");
        QVERIFY(logs->isVisible());
        QCOMPARE(Find<QListWidget>(logs, "ListBox1")->currentItem()->text(),
                 QString("International Quarter Inch"));
        QCOMPARE(Grid(logs)->Text(0, 0), std::string("10"));
        prices->ShowFile("Northern International");
        QCOMPARE(Grid(prices)->Text(8, 0), std::string("Fuelwood"));
    }

    // A file the readers refuse is reported, and the table keeps its heads and nothing of the
    // file viewed before.
    void AFileTheReaderRefusesLeavesTheHeadsOnly() {
        const RulesCopy copy;
        std::vector<std::uint8_t> nanPrice =
            test::ReadBytes(copy.Data.Prices() / "Appalachian Doyle");
        ByteWriter patch(8);
        patch.F64(0, std::nan(""));
        std::copy(patch.Data().begin(), patch.Data().end(), nanPrice.begin() + 392);
        test::WriteBytes(copy.Data.Prices() / "Damaged", nanPrice);
        test::WriteText(copy.Data.LogRules() / "Notes.txt", "a text file beside the rules\n");
        test::WriteBytes(copy.Data.LogRules() / "Foreign",
                         std::vector<std::uint8_t>(2200, 0x41)); // diameters of 0x41414141
        struct Case {
            const char* Action;
            const char* Form;
            const char* Good;
            const char* Bad;
            const char* Says;
        };
        const Case cases[] = {
            {"ViewLogRuleFile1", "TReadLogScaleForm", "Doyle", "Notes.txt",
             "Read beyond end of file"},
            {"ViewLogRuleFile1", "TReadLogScaleForm", "Scribner", "Foreign", "entry 1 diameter"},
            {"ViewPriceFile1", "TReadPrice", "Lake States Scribner", "Damaged",
             "row 4 price for 12 ft logs"},
        };
        app::TMain window(copy.Data, false);
        ShowMain(window);
        for (const Case& c : cases) {
            QWidget* dialog = Open(window, c.Action, c.Form);
            ClickEntry(dialog, c.Good, true);
            QVERIFY(!BodyIsEmpty(Grid(dialog)));
            ClickEntry(dialog, c.Bad, true);
            QMessageBox* error = Box(dialog, "ErrorBox");
            QVERIFY2(error->text().contains(c.Says), qPrintable(error->text()));
            QVERIFY(error->text().contains(c.Bad));
            QVERIFY(BodyIsEmpty(Grid(dialog)));
            QCOMPARE(Grid(dialog)->horizontalHeaderItem(1)->text(),
                     QString(std::string(c.Form) == "TReadPrice" ? "Units" : "10"));
            Answer(error, QMessageBox::Ok);
            QVERIFY(dialog->isVisible());
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    }

    // Tab walks the steps in order and leaves the table (the arrow keys move inside it);
    // a comma is a decimal point where the user's locale writes one.
    void TabFollowsTheStepsAndCommasFollowTheLocale() {
        struct Case {
            const char* Action;
            const char* Form;
            QStringList Order;
        };
        const Case cases[] = {
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
        const RulesCopy copy;
        app::TMain window(copy.Data, true);
        ShowMain(window);
        for (const Case& c : cases) {
            QWidget* dialog = Open(window, c.Action, c.Form);
            QCOMPARE(QApplication::focusWidget()->objectName(), c.Order.front());
            for (const QString& next : c.Order.mid(1)) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget()->objectName(), next);
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
            QTRY_VERIFY(!dialog->isVisible());
        }

        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QWidget* editor = Open(window, "DefineLogRule1", "TDefineNewLogRule");
        Type(Grid(editor), 14, 2, "123,5");
        TypeName(editor, "Komma");
        ClickButton(editor, "Save");
        QLocale::setDefault(QLocale::c());
        QTRY_VERIFY(!editor->isVisible());
        QCOMPARE(test::ReadBytes(copy.Data.LogRules() / "Komma"), OneVolumeRule(856, 123.5));
    }

    // A volume typed in row "20", column "12" lands at offset 856 of a 2200-byte file, and the
    // viewer, opened afterwards, lists and shows the new rule at once.
    void ALogRuleSavedIsViewedAtOnce() {
        const RulesCopy copy;
        app::TMain window(copy.Data, true);
        ShowMain(window);
        QWidget* editor = Open(window, "DefineLogRule1", "TDefineNewLogRule");
        QCOMPARE(editor->windowTitle(), QString("Define Log Rule"));
        QCOMPARE(Grid(editor)->CornerText(), QString("Diameter"));
        QCOMPARE(Find<QLabel>(editor, "Label1")->text(),
                 QString("Enter the desired log rule into the table below."));
        QCOMPARE(Find<QLabel>(editor, "Label2")->text(),
                 QString("Enter the desired name for the log rule below."));
        Type(Grid(editor), 14, 2, "123.5");
        Type(Grid(editor), 44, 4, "7"); // typed, then taken back
        Type(Grid(editor), 44, 4, "");
        TypeName(editor, "Hand Rule");
        ClickButton(editor, "Save");
        QTRY_VERIFY(!editor->isVisible());
        QCOMPARE(test::ReadBytes(copy.Data.LogRules() / "Hand Rule"), OneVolumeRule(856, 123.5));

        QWidget* viewer = Open(window, "ViewLogRuleFile1", "TReadLogScaleForm");
        QVERIFY(Items(Find<QListWidget>(viewer, "ListBox1")).contains("Hand Rule"));
        ClickEntry(viewer, "Hand Rule", true);
        QCOMPARE(Grid(viewer)->Text(14, 2), std::string("123.5"));
        QCOMPARE(Grid(viewer)->Text(14, 1), std::string("0"));

        // Shown again, the editor has an empty table and the last name.
        editor = Open(window, "DefineLogRule1", "TDefineNewLogRule");
        QVERIFY(BodyIsEmpty(Grid(editor)));
        QCOMPARE(Find<QLineEdit>(editor, "Edit1")->text(), QString("Hand Rule"));
        // A rule saved while the viewer is open is listed when the viewer is used again.
        TypeName(editor, "Second Rule");
        ClickButton(editor, "Save");
        QTRY_VERIFY(!editor->isVisible());
        QVERIFY(Activate(viewer));
        QTRY_VERIFY(Items(Find<QListWidget>(viewer, "ListBox1")).contains("Second Rule"));
        QCOMPARE(Find<QListWidget>(viewer, "ListBox1")->currentItem()->text(),
                 QString("Hand Rule"));
    }

    // A cell the editor cannot store is named, made current, and no file is touched; the
    // dialog stays open for the user to mend it.
    void ABadCellIsRefusedBeforeAnyFileIsTouched() {
        struct Case {
            const char* Action;
            const char* Form;
            const char* Save;
            int Row;
            int Column;
            const char* Text;
            const char* Says;
        };
        const Case cases[] = {
            {"DefineLogRule1", "TDefineNewLogRule", "Save", 14, 2, "12x",
             "Diameter 20 in., 12 ft logs: '12x' is not a valid floating point value"},
            {"DefineLogRule1", "TDefineNewLogRule", "Save", 0, 0, "inf",
             "Diameter 6 in., 8 ft logs: 'inf' is not a valid floating point value"},
            {"DefineLogRule1", "TDefineNewLogRule", "Save", 30, 4, "70000",
             "Diameter 36 in., 16 ft logs: '70000' is not a volume from 0 to 65535 board feet"},
            {"DefineNewPrices1", "TDefineNewLogPrices", "SavePriceFile", 3, 4, "4,5",
             "Row 4 (#1 Sawlog), 12 ft logs: '4,5' is not a valid floating point value"},
            {"DefineNewPrices1", "TDefineNewLogPrices", "SavePriceFile", 0, 2, "40000",
             "Row 1 (Prime Veneer), 8 ft logs: '40000' makes 40000 dollars per thousand board "
             "feet; the whole-dollar price table holds -32768 to 32767"},
        };
        const RulesCopy copy;
        app::TMain window(copy.Data, true);
        ShowMain(window);
        for (const Case& c : cases) {
            QWidget* editor = Open(window, c.Action, c.Form);
            const fs::path folder = std::string(c.Form) == "TDefineNewLogRule"
                                        ? copy.Data.LogRules()
                                        : copy.Data.Prices();
            const std::vector<std::string> before = ListFiles(folder);
            Type(Grid(editor), c.Row, c.Column, c.Text);
            TypeName(editor, "Doyle"); // an existing file: not even the question is asked
            ClickButton(editor, c.Save);
            QMessageBox* error = Box(editor, "ErrorBox");
            QCOMPARE(error->text(), QString(c.Says));
            QVERIFY(editor->findChild<QMessageBox*>("ReplaceBox") == nullptr);
            Answer(error, QMessageBox::Ok);
            QVERIFY(editor->isVisible());
            QCOMPARE(Grid(editor)->currentRow(), c.Row);
            QCOMPARE(Grid(editor)->currentColumn(), c.Column);
            QCOMPARE(ListFiles(folder), before);
            QTest::keyClick(editor, Qt::Key_Escape);
            QTRY_VERIFY(!editor->isVisible());
        }
        QCOMPARE(test::ReadBytes(copy.Data.LogRules() / "Doyle"),
                 test::ReadBytes(Bundled().LogRules() / "Doyle"));
    }

    // Saving under the name of an existing file, in any letter case, asks first: No keeps the
    // old bytes and the dialog open, Yes replaces that very file.
    void ReplacingAFileAsksFirst() {
        const RulesCopy copy;
        const fs::path doyle = copy.Data.LogRules() / "Doyle";
        const std::vector<std::uint8_t> old = test::ReadBytes(doyle);
        app::TMain window(copy.Data, true);
        ShowMain(window);
        QWidget* editor = Open(window, "DefineLogRule1", "TDefineNewLogRule");
        Type(Grid(editor), 0, 0, "2");
        TypeName(editor, "DOYLE");
        ClickButton(editor, "Save");
        QMessageBox* question = Box(editor, "ReplaceBox");
        QVERIFY(question->text().contains("\"Doyle\""));
        Answer(question, QMessageBox::No);
        QVERIFY(editor->isVisible());
        QCOMPARE(test::ReadBytes(doyle), old);

        ClickButton(editor, "Save");
        Answer(Box(editor, "ReplaceBox"), QMessageBox::Yes);
        QTRY_VERIFY(!editor->isVisible());
        QCOMPARE(test::ReadBytes(doyle), OneVolumeRule(5 * 44 + 4, 2.0));
        QCOMPARE(ListFiles(copy.Data.LogRules()),
                 (std::vector<std::string>{"Doyle", "International Quarter Inch", "Scribner"}));
        // A name that is no plain file name is refused before anything is asked or written.
        editor = Open(window, "DefineLogRule1", "TDefineNewLogRule");
        TypeName(editor, "../Escaped");
        ClickButton(editor, "Save");
        QVERIFY(Box(editor, "ErrorBox")->text().contains("log rule"));
        QVERIFY(!fs::exists(copy.Folder.Path() / "Escaped"));
        QVERIFY(editor->isVisible());
    }

    // Rows 7 to 10 take the names and units of the roundwood set selected; another set
    // replaces them and keeps the prices typed; a set without roundwood stores empty rows.
    void PriceEditorTakesItsRowsFromTheRoundwoodSet() {
        const RulesCopy copy;
        app::TMain window(copy.Data, true);
        ShowMain(window);
        QWidget* editor = Open(window, "DefineNewPrices1", "TDefineNewLogPrices");
        QCOMPARE(editor->windowTitle(), QString("Define Price Set"));
        QCOMPARE(Find<QLabel>(editor, "Label1")->text(),
                 QString("Select a roundwood product set, then click Select."));
        QCOMPARE(Find<QLabel>(editor, "Label4")->text(),
                 QString("Enter the desired name for the prices set."));
        QVERIFY(!Find<QPushButton>(editor, "Button2")->isVisible()); // "Startup"
        RuleGrid* grid = Grid(editor);
        QCOMPARE(grid->Text(3, 0), std::string("#1 Sawlog"));
        QCOMPARE(grid->Text(3, 1), std::string("MBF"));
        QCOMPARE(Items(Find<QListWidget>(editor, "ListBox1")),
                 (QStringList{"Appalachian Roundwood", "Northern Roundwood"}));
        Type(grid, 3, 4, "450.25");
        Type(grid, 6, 2, "30");
        Type(grid, 9, 6, "2");
        Type(grid, 3, 0, "X"); // a fixed name takes no typing
        QCOMPARE(grid->Text(3, 0), std::string("#1 Sawlog"));

        ClickEntry(editor, "Appalachian Roundwood");
        ClickButton(editor, "Button1");
        QCOMPARE(grid->Text(7, 0), std::string("Tie Logs"));
        ClickEntry(editor, "Northern Roundwood", true);
        const std::vector<std::string> names = {"Pulpwood", "Bolts", "Fuelwood", "Cull"};
        const std::vector<std::string> units = {"Cords", "Cords", "Tons", "Cubic Feet"};
        for (int r = 6; r < 10; ++r) {
            QCOMPARE(grid->Text(r, 0), names[static_cast<std::size_t>(r - 6)]);
            QCOMPARE(grid->Text(r, 1), units[static_cast<std::size_t>(r - 6)]);
        }
        QCOMPARE(grid->Text(3, 4), std::string("450.25"));
        QCOMPARE(grid->Text(6, 2), std::string("30"));
        TypeName(editor, "Hand Prices");
        ClickButton(editor, "SavePriceFile");
        QTRY_VERIFY(!editor->isVisible());
        const std::vector<std::uint8_t> bytes = test::ReadBytes(copy.Data.Prices() / "Hand Prices");
        QCOMPARE(bytes.size(), std::size_t{1040});
        const ByteReader saved(bytes);
        QCOMPARE(saved.F64(392), 450.25);
        QCOMPARE(saved.F64(6 * 104 + 64), 30.0);
        QCOMPARE(saved.F64(9 * 104 + 96), 2.0);
        QCOMPARE(saved.ShortString(7 * 104, 30), std::string("Bolts"));
        QCOMPARE(saved.ShortString(9 * 104 + 31, 30), std::string("Cubic Feet"));
        QCOMPARE(ReadPriceSet(copy.Data.Prices() / "Hand Prices").Rows[0].Name,
                 std::string("Prime Veneer"));

        // Shown again: no name, no prices, no roundwood rows; saved so, rows 7 to 10 are empty.
        editor = Open(window, "DefineNewPrices1", "TDefineNewLogPrices");
        QCOMPARE(Find<QLineEdit>(editor, "Edit1")->text(), QString());
        QCOMPARE(grid->Text(3, 4), std::string());
        QCOMPARE(grid->Text(7, 0), std::string());
        Type(grid, 7, 3, "11");
        TypeName(editor, "Bare Prices");
        QTest::keyClick(Find<QLineEdit>(editor, "Edit1"), Qt::Key_Return); // Save is the default
        QTRY_VERIFY(!editor->isVisible());
        const PriceSet bare = ReadPriceSet(copy.Data.Prices() / "Bare Prices");
        for (std::size_t r = 6; r < 10; ++r) {
            QVERIFY(bare.Rows[r].Name.empty() && bare.Rows[r].Units.empty());
        }
        QCOMPARE(bare.Rows[7].Prices[1], 11.0);
    }

    // A roundwood set without cull penalty greys the cull row and stores zeros there; a
    // fraction of a price per cubic foot is asked about before the set is saved.
    void CullRowAndCubicFeetFractions() {
        const RulesCopy copy;
        RoundwoodProductSet noCull =
            ReadRoundwoodProducts(copy.Data.Roundwood() / "Northern Roundwood");
        noCull.CullHandling = noCull.CullUnits = "none";
        WriteRoundwoodProducts(copy.Data.Roundwood() / "No Cull", noCull);
        app::TMain window(copy.Data, true);
        ShowMain(window);
        QWidget* editor = Open(window, "DefineNewPrices1", "TDefineNewLogPrices");
        RuleGrid* grid = Grid(editor);
        Type(grid, 9, 2, "3");
        ClickEntry(editor, "No Cull", true);
        for (int c = 2; c < 7; ++c) {
            QCOMPARE(grid->Text(9, c), std::string("0"));
            QVERIFY(grid->IsLocked(9, c));
        }
        Type(grid, 9, 3, "5"); // locked: the key goes nowhere
        QCOMPARE(grid->Text(9, 3), std::string("0"));
        QCOMPARE(grid->Text(9, 0), std::string("none"));

        ClickEntry(editor, "Northern Roundwood", true);
        QVERIFY(!grid->IsLocked(9, 3));
        QCOMPARE(grid->Text(9, 3), std::string());
        Type(grid, 9, 2, "0.5");
        TypeName(editor, "Half Dollar");
        ClickButton(editor, "SavePriceFile");
        QMessageBox* warning = Box(editor, "WarningBox");
        QVERIFY2(warning->text().contains("Row 10 (Cull), 8 ft logs: 0.5 counts as 0."),
                 qPrintable(warning->text()));
        Answer(warning, QMessageBox::No);
        QVERIFY(editor->isVisible());
        QVERIFY(!fs::exists(copy.Data.Prices() / "Half Dollar"));
        ClickButton(editor, "SavePriceFile");
        Answer(Box(editor, "WarningBox"), QMessageBox::Yes);
        QTRY_VERIFY(!editor->isVisible());
        QCOMPARE(ReadPriceSet(copy.Data.Prices() / "Half Dollar").Rows[9].Prices[0], 0.5);

        editor = Open(window, "DefineNewPrices1", "TDefineNewLogPrices");
        ClickEntry(editor, "No Cull", true);
        TypeName(editor, "No Cull Prices");
        ClickButton(editor, "SavePriceFile");
        QTRY_VERIFY(!editor->isVisible());
        const std::vector<std::uint8_t> bytes =
            test::ReadBytes(copy.Data.Prices() / "No Cull Prices");
        QCOMPARE(bytes.size(), std::size_t{1040});
        for (std::size_t i = 9 * 104 + 64; i < 1040; ++i) {
            QCOMPARE(bytes[i], std::uint8_t{0});
        }
        QCOMPARE(ByteReader(bytes).ShortString(9 * 104, 30), std::string("none"));
    }
};

} // namespace varnok

QTEST_MAIN(varnok::LogRulePriceDialogsTest)
#include "LogRulePriceDialogsTest.moc"
