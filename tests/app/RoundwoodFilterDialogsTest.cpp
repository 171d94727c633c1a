// The roundwood product and defect filter viewers and editors, opened from the menu and driven
// with real clicks and keys; what the editors save is read back byte for byte.

#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/rules/DefectFilterForms.h"
#include "app/rules/RoundwoodForms.h"
#include "rules/DefectFilterSet.h"
#include "rules/RoundwoodProducts.h"
#include "support/ByteBuffer.h"
#include "support/Files.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <clocale>
#include <filesystem>

namespace varnok {
namespace {

using test::BundledCopy;
using test::ClickEntry;
using test::Find;
using test::Items;
using test::Open;

QString Cell(const QWidget* dialog, int row, int column) {
    return Find<QTableWidget>(dialog, "StringGrid1")->item(row, column)->text();
}

// Types `text` into a table cell the way a user does: a double click opens the cell's editor.
void TypeIntoCell(QWidget* dialog, int row, int column, const QString& text) {
    // The cell's editor takes the focus only in the active window, and the start-up veneer
    // viewer may be the one.
    test::Activate(dialog->window());
    auto* grid = Find<QTableWidget>(dialog, "StringGrid1");
    const QPoint at = grid->visualItemRect(grid->item(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (editor == nullptr || !grid->isAncestorOf(editor)) {
        qFatal("no editor opened on cell %d,%d", row, column);
    }
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
}

// Clicks a check box or radio button where a user does: on its indicator, since a button
// wider than its caption takes no click beyond the caption.
void ClickIndicator(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    QApplication::processEvents();
}

void ClickChoice(QWidget* dialog, const QString& group, const QString& caption) {
    for (QRadioButton* button : Find<QGroupBox>(dialog, group)->findChildren<QRadioButton*>()) {
        if (button->text() == caption) {
            ClickIndicator(button);
            return;
        }
    }
    qFatal("no choice %s in %s", qPrintable(caption), qPrintable(group));
}

// Picks a value of a drop-down list with the arrow keys, as the keyboard does (typing the
// value would depend on how fast the keys follow each other).
void Choose(QWidget* dialog, const QString& combo, const QString& value) {
    auto* box = Find<QComboBox>(dialog, combo);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int steps = box->findText(value); steps > 0; --steps) {
        QTest::keyClick(box, Qt::Key_Down);
    }
    if (box->currentText() != value) {
        qFatal("%s shows %s, not %s", qPrintable(combo), qPrintable(box->currentText()),
               qPrintable(value));
    }
}

void TypeName(QWidget* dialog, const QString& name) {
    auto* edit = Find<QLineEdit>(dialog, "Edit1");
    edit->setFocus();
    QTest::keyClicks(edit, name);
}

QCheckBox* Box(const QWidget* dialog, int entry) {
    return Find<QCheckBox>(dialog, "CheckBox" + QString::number(entry));
}

// The message box named `name` over `parent`, once it is shown.
QMessageBox* MessageBoxOver(QWidget* parent, const char* name) {
    QMessageBox* box = nullptr;
    for (int i = 0; i < 100 && box == nullptr; ++i) {
        QApplication::processEvents();
        box = parent->findChild<QMessageBox*>(name);
    }
    return box;
}

void Dismiss(QMessageBox* box, QMessageBox::StandardButton button = QMessageBox::Ok) {
    test::Click(box->button(button));
}

std::string ShortStringAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return ByteReader(bytes).ShortStringBytes(offset, 20);
}

constexpr std::size_t kFilterEntry = 154;
constexpr std::size_t kFlag = 102;

} // namespace

class RoundwoodFilterDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    void RoundwoodViewerShowsTheChosenSetAndClearsOnFailure() {
        BundledCopy copy;
        test::WriteBytes(copy.Data.Roundwood() / "Broken", std::vector<std::uint8_t>(120, 0));
        app::TMain window(copy.Data, false);
        window.show();
        QWidget* viewer = Open(window, "ViewRoundwoodProducts1", "TReadRoundwood");
        QCOMPARE(viewer->windowTitle(), QString("Read Roundwood Products"));
        auto* list = Find<QListWidget>(viewer, "ListBox1");
        QCOMPARE(Items(list),
                 (QStringList{"Appalachian Roundwood", "Broken", "Northern Roundwood"}));
        QCOMPARE(Cell(viewer, 0, 1), QString()); // emptied on show

        ClickEntry(list, "Northern Roundwood");
        test::ClickButton(viewer, "ReadFile");
        QCOMPARE(Cell(viewer, 0, 4), QString("Cull Material"));
        QCOMPARE(Cell(viewer, 1, 2), QString("Bolts"));
        QCOMPARE(Cell(viewer, 4, 1), QString("24"));
        QCOMPARE(Cell(viewer, 7, 2), QString("0.20"));

        ClickEntry(list, "Appalachian Roundwood", true);
        QCOMPARE(Cell(viewer, 1, 2), QString("Tie Logs"));
        QCOMPARE(Cell(viewer, 3, 2), QString("12"));

        // A file too short: the error, the headers, nothing of the set shown before.
        ClickEntry(list, "Broken", true);
        QMessageBox* error = MessageBoxOver(viewer, "ErrorBox");
        QVERIFY(error != nullptr);
        QVERIFY2(error->text().contains("Read beyond end of file"), qPrintable(error->text()));
        Dismiss(error);
        QCOMPARE(Cell(viewer, 0, 2), QString("Product 2"));
        QCOMPARE(Cell(viewer, 1, 0), QString("Product Name"));
        for (int row = 1; row < 8; ++row) {
            for (int column = 1; column < 5; ++column) {
                QCOMPARE(Cell(viewer, row, column), QString());
            }
        }
        QVERIFY(viewer->isVisible());

        // The market viewer's way in: a name in other letter case finds its file.
        qobject_cast<app::TReadRoundwood*>(viewer)->ShowFile("northern roundwood");
        QCOMPARE(list->currentItem()->text(), QString("Northern Roundwood"));
        QCOMPARE(Cell(viewer, 1, 1), QString("Pulpwood"));

        test::ClickButton(viewer, "Return");
        QVERIFY(!viewer->isVisible());
    }

    void FilterViewerChecksTheKeptDefectsReadOnly() {
        BundledCopy copy;
        std::vector<std::uint8_t> damaged = DefaultDefectFilterSet().Encode();
        damaged[27 * kFilterEntry + kFlag] = 2;
        test::WriteBytes(copy.Data.Filters() / "Damaged", damaged);
        app::TMain window(copy.Data, false);
        window.show();
        QWidget* viewer = Open(window, "ViewDefectFilterSet1", "TReadDefectsFileForm");
        QCOMPARE(viewer->windowTitle(), QString("View Defect Filter Set"));
        auto* list = Find<QListWidget>(viewer, "ListBox1");
        QCOMPARE(Items(list), (QStringList{"Damaged", "Default Filter", "Strict Filter"}));
        QCOMPARE(Box(viewer, 1)->text(), QString("Butt (BU)"));
        QCOMPARE(Box(viewer, 13)->text(),
                 QString("Adventitious Bud Cluster/Epicormic Branch (AC)"));
        QVERIFY(!Box(viewer, 1)->isChecked()); // cleared on show

        ClickEntry(list, "Default Filter");
        test::ClickButton(viewer, "ReadDefectFile");
        const QList<int> unchecked = {8, 15, 20, 22, 35, 39, 41, 47, 49};
        for (int n = 1; n <= 59; ++n) {
            QVERIFY2(Box(viewer, n)->isChecked() != unchecked.contains(n),
                     qPrintable(QString::number(n)));
        }
        // Read-only: neither a click nor the space bar changes a box.
        ClickIndicator(Box(viewer, 1));
        QTest::keyClick(Box(viewer, 8), Qt::Key_Space);
        QVERIFY(Box(viewer, 1)->isChecked());
        QVERIFY(!Box(viewer, 8)->isChecked());

        ClickEntry(list, "Strict Filter", true);
        for (int n = 1; n <= 59; ++n) {
            QVERIFY(Box(viewer, n)->isChecked());
        }

        // A flag byte of 2 refuses the file: an error and every box clear.
        ClickEntry(list, "Damaged", true);
        QMessageBox* error = MessageBoxOver(viewer, "ErrorBox");
        QVERIFY(error != nullptr);
        QVERIFY2(error->text().contains("entry 28 flag is 2"), qPrintable(error->text()));
        Dismiss(error);
        for (int n = 1; n <= 59; ++n) {
            QVERIFY(!Box(viewer, n)->isChecked());
        }

        qobject_cast<app::TReadDefectsFileForm*>(viewer)->ShowFile("DEFAULT FILTER");
        QCOMPARE(list->currentItem()->text(), QString("Default Filter"));
        QVERIFY(!Box(viewer, 49)->isChecked());
        QVERIFY(Box(viewer, 50)->isChecked());

        test::ClickButton(viewer, "Button1"); // Exit Viewer
        QVERIFY(!viewer->isVisible());
        QCOMPARE(list->count(), 0); // hiding empties the list
    }

    void RoundwoodEditorSavesWhatItShows() {
        BundledCopy copy;
        app::TMain window(copy.Data, false);
        window.show();
        QWidget* editor = Open(window, "DefineRoundwoodProducts", "TDefineRoundwoodProductstab");
        QCOMPARE(editor->windowTitle(), QString("Define Roundwood Products"));
        QCOMPARE(Cell(editor, 0, 2), QString("Product 2"));
        QCOMPARE(Cell(editor, 2, 0), QString("Units"));

        TypeIntoCell(editor, 1, 1, "Pulpwood");
        TypeIntoCell(editor, 1, 2, "ABCDEFGHIJKLMNOPQRSTUVWXY"); // 25 typed, 20 taken
        QCOMPARE(Cell(editor, 1, 2), QString("ABCDEFGHIJKLMNOPQRST"));
        ClickChoice(editor, "RadioGroup1", "Cubic Ft");
        ClickChoice(editor, "RadioGroup2", "Cords");
        QCOMPARE(Cell(editor, 2, 1), QString("Cubic Feet"));
        QCOMPARE(Cell(editor, 2, 2), QString("Cords"));
        QVERIFY(
            !(Find<QTableWidget>(editor, "StringGrid1")->item(2, 1)->flags() & Qt::ItemIsEditable));
        Choose(editor, "ComboBox2", "24");   // product 1, max diameter
        Choose(editor, "ComboBox4", "16");   // product 1, max length
        Choose(editor, "ComboBox5", "25");   // product 1, soundness
        Choose(editor, "ComboBox10", "100"); // product 2, soundness
        ClickChoice(editor, "RadioGroup4", "Cull Penalty (cubic meters)");
        TypeName(editor, "appalachian roundwood");
        test::ClickButton(editor, "SaveProductDefinition");

        // The bundled set of that name, in other letter case, is replaced once the user says so.
        QMessageBox* replace = MessageBoxOver(editor, "ReplaceBox");
        QVERIFY(replace != nullptr);
        Dismiss(replace, QMessageBox::Yes);
        QTRY_VERIFY(!editor->isVisible());
        QCOMPARE(static_cast<int>(ListFiles(copy.Data.Roundwood()).size()), 2);
        const std::vector<std::uint8_t> bytes =
            test::ReadBytes(copy.Data.Roundwood() / "Appalachian Roundwood");
        QCOMPARE(bytes.size(), std::size_t{200});
        QCOMPARE(ShortStringAt(bytes, 0), std::string("Pulpwood"));
        QCOMPARE(ShortStringAt(bytes, 21), std::string("Cubic Feet"));
        QCOMPARE(int(bytes[42]), 8);
        QCOMPARE(int(bytes[43]), 24);
        QCOMPARE(int(bytes[44]), 8);
        QCOMPARE(int(bytes[45]), 16);
        QCOMPARE(ByteReader(bytes).F32(48), 0.25F);
        QCOMPARE(ShortStringAt(bytes, 52), std::string("ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(ShortStringAt(bytes, 52 + 21), std::string("Cords"));
        QCOMPARE(ByteReader(bytes).U32(52 + 48), 0x3F800000U); // exactly 1.0
        QCOMPARE(int(bytes[104]), 0);
        QCOMPARE(ShortStringAt(bytes, 156), std::string("Cull"));
        QCOMPARE(ShortStringAt(bytes, 177), std::string("Cubic Meters"));
        QCOMPARE(ReadRoundwoodProducts(copy.Data.Roundwood() / "Appalachian Roundwood")
                     .Products[1]
                     .MaxDiameter,
                 std::uint8_t{8});

        // Saved under a new name, the viewer lists it at once.
        editor = Open(window, "DefineRoundwoodProducts", "TDefineRoundwoodProductstab");
        QCOMPARE(Cell(editor, 1, 1), QString());             // names emptied ...
        QCOMPARE(Cell(editor, 2, 1), QString("Cubic Feet")); // ... the kept units shown
        QCOMPARE(Cell(editor, 2, 3), QString());
        QCOMPARE(Find<QComboBox>(editor, "ComboBox2")->currentText(), QString("8"));
        QCOMPARE(Find<QLineEdit>(editor, "Edit1")->text(), QString());
        TypeIntoCell(editor, 1, 3, "Fuelwood");
        ClickChoice(editor, "RadioGroup3", "Tons");
        TypeName(editor, "Lake Roundwood");
        QTest::keyClick(Find<QLineEdit>(editor, "Edit1"), Qt::Key_Return); // Save is the default
        QTRY_VERIFY(!editor->isVisible());
        const RoundwoodProductSet lake =
            ReadRoundwoodProducts(copy.Data.Roundwood() / "Lake Roundwood");
        QCOMPARE(lake.Products[2].Name, std::string("Fuelwood"));
        QCOMPARE(lake.Products[2].Units, std::string("Tons"));
        QCOMPARE(lake.CullUnits, std::string("Cubic Meters")); // the cull choice kept
        QWidget* viewer = Open(window, "ViewRoundwoodProducts1", "TReadRoundwood");
        auto* list = Find<QListWidget>(viewer, "ListBox1");
        QVERIFY(Items(list).contains("Lake Roundwood"));
        ClickEntry(list, "Lake Roundwood", true);
        QCOMPARE(Cell(viewer, 1, 3), QString("Fuelwood"));
        QCOMPARE(Cell(viewer, 2, 4), QString("Cubic Meters"));
    }

    void RoundwoodEditorRefusesBeforeAnyFileIsTouched() {
        struct Case {
            const char* what;
            QString combo;
            QString value;
            QString setName;
            QString words;
        };
        const Case cases[] = {
            {"minimum diameter above maximum", "ComboBox1", "20", "Bad",
             "Product 1 \"Bolts\": the minimum diameter (20 in.) is above the maximum diameter "
             "(8 in.)"},
            {"minimum length above maximum", "ComboBox3", "12", "Bad",
             "Product 1 \"Bolts\": the minimum length (12 ft.) is above the maximum length (8 "
             "ft.)"},
            {"no name for the set", "ComboBox2", "30", "", "roundwood product set"},
            {"a name that is a path", "ComboBox2", "30", "../Bad", "roundwood product set"},
        };
        BundledCopy copy;
        app::TMain window(copy.Data, true);
        window.show();
        for (const Case& c : cases) {
            QWidget* editor =
                Open(window, "DefineRoundwoodProducts", "TDefineRoundwoodProductstab");
            TypeIntoCell(editor, 1, 1, "Bolts");
            ClickChoice(editor, "RadioGroup1", "Tons");
            Choose(editor, c.combo, c.value);
            TypeName(editor, c.setName);
            test::ClickButton(editor, "SaveProductDefinition");
            QMessageBox* error = MessageBoxOver(editor, "ErrorBox");
            QVERIFY2(error != nullptr, c.what);
            QVERIFY2(error->text().contains(c.words), qPrintable(error->text()));
            Dismiss(error);
            QVERIFY2(editor->isVisible(), c.what);
            QCOMPARE(static_cast<int>(ListFiles(copy.Data.Roundwood()).size()), 2);
            QVERIFY(!std::filesystem::exists(copy.Data.Root() / "Bad"));
            QTest::keyClick(editor, Qt::Key_Escape);
            QVERIFY2(!editor->isVisible(), "Esc closes the editor");
        }
    }

    void FilterEditorTwinsMoveTogetherAndTheSetIsSaved() {
        BundledCopy copy;
        app::TMain window(copy.Data, false);
        window.show();
        QWidget* editor = Open(window, "DefineDefectFilterSet1", "TFilterGradingDefectsForm");
        QCOMPARE(editor->windowTitle(), QString("Define Defect Filter Set"));
        QVERIFY(!Box(editor, 8)->isChecked());
        QVERIFY(Box(editor, 9)->isChecked());
        for (const int never : {15, 22, 23}) {
            QVERIFY2(Box(editor, never)->toolTip().contains("never acts"),
                     qPrintable(QString::number(never)));
        }
        QVERIFY(Box(editor, 16)->toolTip().isEmpty());

        // "SW" and "UW" each decide one code through two boxes, which move as one.
        ClickIndicator(Box(editor, 20));
        QVERIFY(Box(editor, 20)->isChecked());
        QVERIFY(Box(editor, 41)->isChecked());
        ClickIndicator(Box(editor, 42));
        QVERIFY(!Box(editor, 42)->isChecked());
        QVERIFY(!Box(editor, 21)->isChecked());
        Box(editor, 41)->setFocus();
        QTest::keyClick(Box(editor, 41), Qt::Key_Space);
        QVERIFY(!Box(editor, 41)->isChecked());
        QVERIFY(!Box(editor, 20)->isChecked());
        ClickIndicator(Box(editor, 41));
        ClickIndicator(Box(editor, 57)); // Rot (R) off
        TypeName(editor, "Mine");
        test::ClickButton(editor, "Save");
        QTRY_VERIFY(!editor->isVisible());

        const std::vector<std::uint8_t> bytes = test::ReadBytes(copy.Data.Filters() / "Mine");
        QCOMPARE(bytes.size(), std::size_t{9086});
        const QList<int> unchecked = {8, 15, 21, 22, 35, 39, 42, 47, 49, 57};
        for (int n = 1; n <= 59; ++n) {
            QCOMPARE(int(bytes[static_cast<std::size_t>(n - 1) * kFilterEntry + kFlag]),
                     unchecked.contains(n) ? 0 : 1);
        }
        QCOMPARE(ByteReader(bytes).ShortString(14 * kFilterEntry + 51, 50), std::string("GLA"));
        QCOMPARE(ReadDefectFilterSet(copy.Data.Filters() / "Mine").Entries[56].Flag,
                 std::uint8_t{0});

        // Shown again: the boxes as left, the name emptied; the viewer lists the set at once.
        editor = Open(window, "DefineDefectFilterSet1", "TFilterGradingDefectsForm");
        QVERIFY(!Box(editor, 57)->isChecked());
        QVERIFY(Box(editor, 20)->isChecked());
        QCOMPARE(Find<QLineEdit>(editor, "Edit1")->text(), QString());
        test::ClickButton(editor, "Cancel");
        QVERIFY(!editor->isVisible());
        QWidget* viewer = Open(window, "ViewDefectFilterSet1", "TReadDefectsFileForm");
        auto* list = Find<QListWidget>(viewer, "ListBox1");
        ClickEntry(list, "Mine", true);
        QVERIFY(!Box(viewer, 21)->isChecked());
        QVERIFY(Box(viewer, 41)->isChecked());
    }

    void UntouchedFilterEditorSavesTheDefaultFilter() {
        BundledCopy copy;
        app::TMain window(copy.Data, true);
        window.show();
        QWidget* editor = Open(window, "DefineDefectFilterSet1", "TFilterGradingDefectsForm");
        TypeName(editor, "Untouched");
        test::ClickButton(editor, "Save");
        QTRY_VERIFY(!editor->isVisible());
        QCOMPARE(test::ReadBytes(copy.Data.Filters() / "Untouched"),
                 test::ReadBytes(copy.Data.Filters() / "Default Filter"));
    }
};

} // namespace varnok

QTEST_MAIN(varnok::RoundwoodFilterDialogsTest)
#include "RoundwoodFilterDialogsTest.moc"
