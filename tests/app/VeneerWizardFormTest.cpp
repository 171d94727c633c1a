// "Define Veneer Grading Rules" driven as a user drives it: radio buttons and check boxes
// clicked, lists chosen with the keys, names typed, the save dialog answered; what it writes is
// read back from the file and offered by "Define Market".

#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/grading/SpecifyVeneerForm.h"
#include "grading/VeneerRules.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>

#include <clocale>
#include <filesystem>

namespace varnok {
namespace {

namespace fs = std::filesystem;
using test::Answer;
using test::WaitForBox;
using test::Activate;
using test::ClickButton;
using test::Find;

// Clicks the radio button `caption` of the group box `group` on its indicator.
void ChooseRadio(QWidget* dialog, const char* group, const QString& caption) {
    for (QRadioButton* button : Find<QGroupBox>(dialog, group)->findChildren<QRadioButton*>()) {
        if (button->text() == caption) {
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
            return;
        }
    }
    qFatal("no %s in %s", qPrintable(caption), group);
}

// Chooses `value` in the list `number` with the keys, from its first entry down.
void Choose(QWidget* dialog, int number, const QString& value) {
    auto* box = Find<QComboBox>(dialog, "ComboBox" + QString::number(number));
    if (!box->isVisible() || !box->isEnabled()) {
        qFatal("ComboBox%d cannot be chosen", number);
    }
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int steps = box->findText(value); steps > 0; --steps) {
        QTest::keyClick(box, Qt::Key_Down);
    }
    if (box->currentText() != value) {
        qFatal("ComboBox%d shows %s, not %s", number, qPrintable(box->currentText()),
               qPrintable(value));
    }
}

// Clicks a length's check box on its indicator.
void Tick(QWidget* dialog, int number) {
    auto* box = Find<QCheckBox>(dialog, "CheckBox" + QString::number(number));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// Replaces the text of `edit` by typing; a character beyond ASCII comes as a key event with
// that text, as an input method sends it.
void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(edit, character.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        }
    }
}

bool Shown(const QWidget* dialog, const char* name) {
    return Find<QWidget>(dialog, name)->isVisible();
}

bool Enabled(const QWidget* dialog, const char* name) {
    return Find<QWidget>(dialog, name)->isEnabled();
}

QString Caption(const QWidget* dialog, const char* name) {
    return Find<QPushButton>(dialog, name)->text();
}

QFileDialog* SaveDialog(QWidget* dialog) {
    auto* save = Find<QFileDialog>(dialog, "SaveDialog1");
    if (!QTest::qWaitFor([save] { return save->isVisible(); }) || !Activate(save)) {
        qFatal("the save dialog did not open");
    }
    return save;
}

// Types `name` (a name, or a path) into the open save dialog and presses Return.
void SaveAs(QWidget* dialog, const QString& name) {
    QFileDialog* save = SaveDialog(dialog);
    auto* edit = Find<QLineEdit>(save, "fileNameEdit");
    TypeInto(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(!save->isVisible());
}

// A grade of every length with the first entry of every list, from the minimum-diameter page
// to the finish button.
void PlainGrade(QWidget* d) {
    ChooseRadio(d, "RadioGroup2", "9\"");
    ClickButton(d, "Button2");
    for (int box = 1; box <= 5; ++box) {
        Tick(d, box);
    }
    ClickButton(d, "Button2");
    for (int list = 1; list <= 7; ++list) {
        Choose(d, list, "1\"");
    }
    ClickButton(d, "Button2");
    ChooseRadio(d, "RadioGroup3", "neither");
    Choose(d, 8, "0");
    ClickButton(d, "Button2");
    Choose(d, 21, "0\"");
    ClickButton(d, "Button2");
    Choose(d, 22, "0'");
    ClickButton(d, "Button2");
    for (int list = 23; list <= 28; ++list) {
        Choose(d, list, list == 28 ? "  0 degrees" : "no");
    }
    ClickButton(d, "Button2");
    for (int list = 29; list <= 35; ++list) {
        Choose(d, list, "1\"");
    }
    ClickButton(d, "Button2");
    Choose(d, 36, "0%");
    ClickButton(d, "Button2");
    for (int list = 37; list <= 41; ++list) {
        Choose(d, list, "no");
    }
    ClickButton(d, "Button4");
}

} // namespace

class VeneerWizardFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    // Two grades through every page: the lists each page enables, the locked defect choice,
    // "Next Grade" and "Finished"; the file saved in "Veneer" holds what was chosen and is
    // offered at once by "Define Market".
    void WholeDefinitionSavedAndOfferedToMarkets() {
        test::BundledCopy copy;
        app::TMain window(copy.Data, true);
        window.show();
        QWidget* d = test::Open(window, "Createv1", "TSpecifyForm");
        QCOMPARE(Find<QGroupBox>(d, "RadioGroup1")->title(),
                 QString("How many different veneer grades would you like to specify?"));
        QVERIFY(!Enabled(d, "Button2") && !Enabled(d, "Button3") && !Enabled(d, "Button4"));
        QVERIFY(!Shown(d, "GroupBox12"));

        ChooseRadio(d, "RadioGroup1", "2 Grades");
        ClickButton(d, "Button2");
        QVERIFY(Shown(d, "name2box") && !Shown(d, "name3box"));
        auto* name1 = Find<QLineEdit>(d, "name1box");
        QCOMPARE(name1->text(), QString("Veneer Grade 1"));
        TypeInto(name1, "");
        QVERIFY(!Enabled(d, "Button2")); // an empty name cannot stand for a grade
        TypeInto(name1, "Peeler");
        ClickButton(d, "Button2");
        QCOMPARE(Find<QLineEdit>(d, "Edit1")->text(), QString("Peeler"));

        ChooseRadio(d, "RadioGroup2", "16\"");
        ClickButton(d, "Button2");
        Tick(d, 3);
        Tick(d, 5);
        ClickButton(d, "Button2");
        QVERIFY(!Enabled(d, "ComboBox6")); // 14 inches, below the minimum
        Choose(d, 7, "2\"");
        ClickButton(d, "Button2");
        ChooseRadio(d, "RadioGroup3", "length");
        QVERIFY(!Enabled(d, "RadioGroup3"));
        QVERIFY(Shown(d, "GroupBox5") && !Shown(d, "GroupBox4") && !Shown(d, "ComboBox8"));
        QVERIFY(!Enabled(d, "ComboBox17") && Enabled(d, "ComboBox18"));
        Choose(d, 18, "1");
        QVERIFY(!Enabled(d, "Button2")); // 16 feet still open
        Choose(d, 20, "2");
        ClickButton(d, "Button2");
        Choose(d, 21, "1\"");
        ClickButton(d, "Button2");
        Choose(d, 22, "2'");
        ClickButton(d, "Button2");
        Choose(d, 25, "yes");
        Choose(d, 27, "no");
        Choose(d, 28, "20 degrees");
        ClickButton(d, "Button2");
        Choose(d, 35, "3\"");
        ClickButton(d, "Button2");
        Choose(d, 36, "40%");
        ClickButton(d, "Button2");
        QVERIFY(!Enabled(d, "Button2"));
        Choose(d, 39, "no");
        Choose(d, 41, "yes");
        QCOMPARE(Caption(d, "Button4"), QString("Next Grade"));
        ClickButton(d, "Button4");

        QVERIFY(Shown(d, "RadioGroup2"));
        QVERIFY(!Enabled(d, "Button3")); // the grade count holds for the grade defined
        QCOMPARE(Find<QLineEdit>(d, "Edit1")->text(), QString("Veneer Grade 2"));
        PlainGrade(d);
        QFileDialog* save = SaveDialog(d);
        QCOMPARE(save->directory().absolutePath(),
                 QString::fromStdString(copy.Data.Veneer().string()));
        SaveAs(d, "Peeler Rules");
        QTRY_VERIFY(!d->isVisible());
        QVERIFY(d->findChild<QMessageBox*>() == nullptr);

        const fs::path file = copy.Data.Veneer() / "Peeler Rules";
        const auto* form = qobject_cast<app::TSpecifyForm*>(d);
        QCOMPARE(test::ReadBytes(file), form->Wizard().Record().Encode());
        const VeneerRuleSet read = ReadVeneerRuleSet(file);
        QCOMPARE(read.GradeCount(), 2);
        QCOMPARE(read.GradeName(1), std::string("Peeler"));
        QCOMPARE(read.GradeName(2), std::string("Veneer Grade 2"));
        const VeneerGradeRules& one = read.GradeBlock(1);
        using Lengths = std::array<std::uint8_t, 9>; // 8 to 16 feet
        QCOMPARE(int(one.MinSmallEndDiameter), 16);
        QCOMPARE(one.LengthAccepted, (Lengths{0, 0, 0, 0, 1, 0, 0, 0, 1}));
        QCOMPARE(one.MaxSweepFor(50), 2.0F);
        QCOMPARE(one.MaxDefectsForLength, (Lengths{0, 0, 0, 0, 1, 0, 0, 0, 2}));
        QCOMPARE(int(one.MaxKnotSize) * 100 + int(one.MaxSeamLength), 102);
        QCOMPARE(one.InLineCountsAsOne, (Lengths{0, 0, 0, 0, 1, 0, 0, 0, 0}));
        QCOMPARE(int(one.MaxInLineAngle), 20);
        QCOMPARE(one.MaxHoleFor(31), 3);
        QCOMPARE(one.MaxHeartPercent, 40.0F);
        QCOMPARE(one.HalvesSeparate, (Lengths{0, 0, 0, 0, 0, 0, 0, 0, 1}));
        QCOMPARE(int(read.GradeBlock(2).MinSmallEndDiameter), 9);

        QWidget* define = test::Open(window, "DefineMarkeg1", "TCreateMarketForm");
        auto* veneer = Find<QListWidget>(define, "ListBox2");
        test::ClickEntry(veneer, "Peeler Rules");
        QVERIFY(veneer->currentItem()->isSelected());
    }

    // A cancelled save dialog keeps the finished definition on its last page; a name that is
    // not plain is refused, an existing file replaced only on Yes, a folder elsewhere warned
    // about. Esc closes the wizard without saving, and the next opening starts anew.
    void SavingRefusedOrCancelledKeepsTheDefinition() {
        test::BundledCopy copy;
        const fs::path existing = copy.Data.Veneer() / "Hardwood Veneer";
        const std::vector<std::uint8_t> before = test::ReadBytes(existing);
        test::TempFolder elsewhere;
        app::TMain window(copy.Data, true);
        window.show();
        QWidget* d = test::Open(window, "Createv1", "TSpecifyForm");
        ChooseRadio(d, "RadioGroup1", "1 Grade Only");
        ClickButton(d, "Button2");
        ClickButton(d, "Button2");
        PlainGrade(d);
        const auto* form = qobject_cast<app::TSpecifyForm*>(d);
        const std::vector<std::uint8_t> defined = form->Wizard().Record().Encode();

        QTest::keyClick(SaveDialog(d), Qt::Key_Escape);
        QTRY_VERIFY(!Find<QFileDialog>(d, "SaveDialog1")->isVisible());
        QVERIFY(d->isVisible() && Shown(d, "GroupBox11") && Enabled(d, "Button4"));

        const QString outside = QString::fromStdString((elsewhere.Path() / "Mine").string());
        struct Case {
            QString typed;
            const char* box;
            QMessageBox::StandardButton answer;
            QString words; // in the box
        };
        const Case cases[] = {
            {QString::fromUtf8("Rules \xe2\x86\x92 new"), "ErrorBox", QMessageBox::Ok,
             "Windows-1252"},
            {"hardwood veneer", "ReplaceBox", QMessageBox::No, "Hardwood Veneer"},
            {outside, "ElsewhereBox", QMessageBox::No, "Define Market"},
            {outside, "ElsewhereBox", QMessageBox::Yes, "Define Market"},
        };
        for (const Case& c : cases) {
            ClickButton(d, "Button4");
            SaveAs(d, c.typed);
            QMessageBox* box = WaitForBox(d, c.box);
            QVERIFY2(box->text().contains(c.words), qPrintable(box->text()));
            Answer(box, c.answer);
            QCOMPARE(d->isVisible(), c.answer != QMessageBox::Yes);
        }
        QTRY_VERIFY(!d->isVisible());
        QCOMPARE(test::ReadBytes(existing), before);
        QCOMPARE(test::ReadBytes(elsewhere.Path() / "Mine"), defined);

        d = test::Open(window, "Createv1", "TSpecifyForm");
        ChooseRadio(d, "RadioGroup1", "3 Grades");
        ClickButton(d, "Button2");
        QTest::keyClick(d, Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        d = test::Open(window, "Createv1", "TSpecifyForm");
        QVERIFY(Shown(d, "RadioGroup1") && !Enabled(d, "Button2"));
        for (QRadioButton* button :
             Find<QGroupBox>(d, "RadioGroup1")->findChildren<QRadioButton*>()) {
            QVERIFY(!button->isChecked());
        }
        QCOMPARE(std::distance(fs::directory_iterator(copy.Data.Veneer()), {}), std::ptrdiff_t{1});
    }
};

} // namespace varnok

QTEST_MAIN(varnok::VeneerWizardFormTest)
#include "VeneerWizardFormTest.moc"
