// "Define Sawlog Grading Rules" driven as a user drives it: the menu item, clicks on radio
// buttons, on list entries in their pop-ups and on the buttons, typed names and the question
// and error boxes; the saved file is read back and chosen at once in "Define Market".

#include "AppTestSupport.h"
#include "TestSupport.h"

#include "grading/SawlogRules.h"

#include <QAbstractItemView>
#include <QCheckBox>
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

QWidget* OpenWizard(app::TMain& window) {
    return test::Open(window, "DefineSawlogGradingRules1", "TSpecifySawForm");
}

// Opens the list's pop-up with a click, walks to the entry `text` with the arrow keys and takes
// it with Return (a click that soon after the opening press is taken for its release).
void Pick(QWidget* dialog, const char* list, const QString& text) {
    auto* box = Find<QComboBox>(dialog, list);
    const int target = box->findText(text);
    QVERIFY2(target >= 0, qPrintable(text));
    QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView* view = box->view();
    QTRY_VERIFY(view->isVisible());
    for (int step = 0; step <= box->count() && view->currentIndex().row() != target; ++step) {
        QTest::keyClick(view, view->currentIndex().row() < target ? Qt::Key_Down : Qt::Key_Up);
    }
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}

// Clicks the radio button `caption` of group `group` on its indicator.
void ChooseRadio(QWidget* dialog, const char* group, const QString& caption) {
    for (QRadioButton* button : Find<QGroupBox>(dialog, group)->findChildren<QRadioButton*>()) {
        if (button->text() == caption) {
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
            return;
        }
    }
    qFatal("no %s in %s", qPrintable(caption), group);
}

QString Shown(QWidget* dialog, const char* list) {
    return Find<QComboBox>(dialog, list)->currentText();
}

bool NextEnabled(QWidget* dialog) {
    return Find<QPushButton>(dialog, "Next")->isEnabled();
}

bool PageShown(QWidget* dialog, const char* page) {
    return Find<QWidget>(dialog, page)->isVisible();
}

// One cell's limits: minimum length, number, yield, the two sweeps and the deduction.
void FillCriteria(QWidget* dialog, const std::array<QString, 6>& limits) {
    const char* lists[] = {"ComboBox13", "ComboBox17", "ComboBox18",
                           "ComboBox19", "ComboBox20", "ComboBox21"};
    for (std::size_t i = 0; i < limits.size(); ++i) {
        Pick(dialog, lists[i], limits[i]);
    }
}

// One grade, one set 8 to 50, one variation 8 to 16: the shortest way to the name page.
void RunOneCell(QWidget* dialog) {
    ChooseRadio(dialog, "RadioGroup1", "1 Grade Only");
    ClickButton(dialog, "Next");
    ChooseRadio(dialog, "RadioGroup2", "1");
    ClickButton(dialog, "Next");
    Pick(dialog, "ComboBox1", "8");
    Pick(dialog, "ComboBox5", "50");
    ChooseRadio(dialog, "RadioGroup3", "1");
    ClickButton(dialog, "Next");
    Pick(dialog, "ComboBox10", "8");
    Pick(dialog, "ComboBox14", "16");
    ClickButton(dialog, "Next");
    FillCriteria(dialog, {"3", "2", "3/4", "10", "20", "30"});
    ClickButton(dialog, "Next");
}

void TypeName(QWidget* dialog, const QString& name) {
    auto* edit = Find<QLineEdit>(dialog, "Edit5");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, name);
}

} // namespace

class SpecifySawFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    // Two grades, the first with two diameter sets: the lists keep the sets contiguous, the
    // pages follow set by set and cell by cell, the file is saved under the name typed, the
    // sawlog reader gives back the record as saved, and "Define Market" offers it at once.
    void AWholeDefinitionIsSavedAndChosenInDefineMarket() {
        const test::BundledCopy copy;
        app::TMain window(copy.Data, true);
        window.show();
        QWidget* wizard = OpenWizard(window);
        QVERIFY(!Find<QPushButton>(wizard, "Back")->isVisible());
        QVERIFY(PageShown(wizard, "RadioGroup1") && !NextEnabled(wizard));
        ChooseRadio(wizard, "RadioGroup1", "2 Grades");
        ClickButton(wizard, "Next");
        QCOMPARE(Find<QLineEdit>(wizard, "Edit1")->text(), QString("SAW GRADE 1"));
        QVERIFY(PageShown(wizard, "RadioGroup2") && !NextEnabled(wizard));
        ChooseRadio(wizard, "RadioGroup2", "2");
        ClickButton(wizard, "Next");

        QVERIFY(PageShown(wizard, "GroupBox3"));
        QVERIFY(Find<QComboBox>(wizard, "ComboBox2")->isVisible());
        QVERIFY(!Find<QComboBox>(wizard, "ComboBox3")->isVisible());
        Pick(wizard, "ComboBox1", "8");
        Pick(wizard, "ComboBox5", "20");
        QCOMPARE(Shown(wizard, "ComboBox2"), QString("21"));
        Pick(wizard, "ComboBox2", "25");
        QCOMPARE(Shown(wizard, "ComboBox2"), QString("21"));
        Pick(wizard, "ComboBox6", "50");
        test::Click(Find<QCheckBox>(wizard, "CheckBox1"));
        ChooseRadio(wizard, "RadioGroup3", "2");
        QVERIFY(!NextEnabled(wizard)); // set 2 has no variation count yet
        ChooseRadio(wizard, "RadioGroup4", "1");
        QVERIFY(NextEnabled(wizard));
        ClickButton(wizard, "Next");

        const struct {
            std::vector<std::pair<const char*, QString>> Picks;
            QString Title;
        } lengthPages[] = {
            {{{"ComboBox10", "8"}, {"ComboBox14", "10"}, {"ComboBox15", "16"}},
             "Set the range of log lengths to be included for Diameter Range 1: 8 inches thru 20 "
             "inches"},
            {{{"ComboBox10", "8"}, {"ComboBox14", "16"}},
             "Set the range of log lengths to be included for Diameter Range 2: 21 inches thru "
             "50 inches"},
        };
        for (const auto& page : lengthPages) {
            QVERIFY(PageShown(wizard, "variationspage") && !NextEnabled(wizard));
            QCOMPARE(Find<QLabel>(wizard, "LengthTitle")->text(), page.Title);
            QCOMPARE(Find<QComboBox>(wizard, "ComboBox11")->isVisible(), page.Picks.size() == 3);
            for (const auto& [list, entry] : page.Picks) {
                Pick(wizard, list, entry);
            }
            ClickButton(wizard, "Next");
        }

        const struct {
            QString Title;
            std::array<QString, 6> Limits;
        } criteriaPages[] = {
            {"8 inches to 20 inches, and length variation: 8 feet to 10 feet, butt logs only.",
             {"2", "1", "1/2", "5", "10", "15"}},
            {"8 inches to 20 inches, and length variation: 12 feet to 16 feet, butt logs only.",
             {"1 Face Clear", "No Limit", "2/3", "0", "0", "0"}},
            {"21 inches to 50 inches, and length variation: 8 feet to 16 feet.",
             {"7", "3", "5/6", "25", "5", "25"}},
        };
        for (const auto& page : criteriaPages) {
            QVERIFY(PageShown(wizard, "GroupBox6") && !NextEnabled(wizard));
            QCOMPARE(Find<QLabel>(wizard, "CriteriaTitle")->text(),
                     "Set the critera below for diameter set: " + page.Title);
            FillCriteria(wizard, page.Limits);
            if (page.Limits[3] == "25") {
                Pick(wizard, "ComboBox21", "20"); // below the sweep limit
                QVERIFY(!NextEnabled(wizard));
                Pick(wizard, "ComboBox21", "25");
            }
            ClickButton(wizard, "Next");
        }

        QVERIFY(PageShown(wizard, "RadioGroup2") && !NextEnabled(wizard));
        QCOMPARE(Find<QLineEdit>(wizard, "Edit1")->text(), QString("SAW GRADE 2"));
        ChooseRadio(wizard, "RadioGroup2", "1");
        ClickButton(wizard, "Next");
        QVERIFY(Shown(wizard, "ComboBox1").isEmpty() &&
                !Find<QCheckBox>(wizard, "CheckBox1")->isChecked());
        Pick(wizard, "ComboBox1", "10");
        Pick(wizard, "ComboBox5", "50");
        ChooseRadio(wizard, "RadioGroup3", "1");
        ClickButton(wizard, "Next");
        Pick(wizard, "ComboBox10", "12");
        Pick(wizard, "ComboBox14", "16");
        ClickButton(wizard, "Next");
        FillCriteria(wizard, {"4 Faces Clear", "1", "3/4", "100", "100", "100"});
        ClickButton(wizard, "Next");

        QVERIFY(PageShown(wizard, "GroupBox7") && !NextEnabled(wizard));
        QVERIFY(Find<QPushButton>(wizard, "Finished")->isEnabled());
        QCOMPARE(Find<QLineEdit>(wizard, "Edit5")->text(), QString("default sawlog grading rules"));
        TypeName(wizard, "Hand Grades");
        ClickButton(wizard, "Finished");
        QTRY_VERIFY(!wizard->isVisible());

        const fs::path saved = copy.Data.SawGrades() / "Hand Grades";
        const std::vector<std::uint8_t> bytes = test::ReadBytes(saved);
        const SawlogRuleSet rules = ReadSawlogRuleSet(saved, RecordChoice::First);
        QCOMPARE(rules.Encode(), bytes);
        QCOMPARE(rules.GradeCount(), 2);
        QCOMPARE(std::vector<int>({rules.DiameterSetCount(1), rules.LengthVariationCount(1, 1),
                                   rules.LengthVariationCount(1, 2), rules.DiameterSetCount(2)}),
                 std::vector<int>({2, 2, 1, 1}));
        const SawlogRuleCell& butt = rules.Cell(1, 1, 2);
        QCOMPARE(
            std::vector<int>({butt.MinDiameter, butt.MaxDiameter, butt.MinLength, butt.MaxLength,
                              butt.ButtLogsOnly, butt.ClearCuttingCode, butt.MaxClearCuttings}),
            std::vector<int>({8, 20, 12, 16, 1, 11, 99}));
        QCOMPARE(rules.Cell(1, 2, 1).MaxSweepOver25, 0.05F);
        QCOMPARE(rules.Cell(1, 2, 1).MaxDeduction, 0.25F);
        QCOMPARE(rules.Cell(2, 1, 1).MinDiameter + rules.Cell(2, 1, 1).MinLength, 10 + 12);
        QCOMPARE(rules.Cell(2, 1, 1).ClearCuttingCode, std::uint8_t{14});
        QCOMPARE(rules.Cell(2, 1, 2).GradeNumber + rules.Cell(3, 1, 1).GradeNumber, 0);

        QWidget* market = test::Open(window, "DefineMarkeg1", "TCreateMarketForm");
        auto* sawlogs = Find<QListWidget>(market, "ListBox3");
        QVERIFY(test::Items(sawlogs).contains("Hand Grades"));
        test::ClickEntry(sawlogs, "Hand Grades");
        QCOMPARE(sawlogs->currentItem()->text(), QString("Hand Grades"));
    }

    // Cancel, Esc and the window's close leave at any page, write nothing, and the next
    // opening starts at the grade count with nothing chosen.
    void LeavingWritesNothingAndReopeningStartsAfresh() {
        const test::BundledCopy copy;
        const std::vector<std::string> before = ListFiles(copy.Data.SawGrades());
        app::TMain window(copy.Data, true);
        window.show();
        for (int way = 0; way < 3; ++way) {
            QWidget* wizard = OpenWizard(window);
            QVERIFY(PageShown(wizard, "RadioGroup1") && !NextEnabled(wizard));
            QVERIFY(Find<QLineEdit>(wizard, "Edit1")->text().isEmpty());
            for (QRadioButton* button : wizard->findChildren<QRadioButton*>()) {
                QVERIFY(!button->isChecked());
            }
            if (way == 0) {
                RunOneCell(wizard);
                QVERIFY(PageShown(wizard, "GroupBox7"));
                ClickButton(wizard, "Cancel");
            } else if (way == 1) {
                ChooseRadio(wizard, "RadioGroup1", "3 Grades");
                ClickButton(wizard, "Next");
                QTest::keyClick(wizard, Qt::Key_Escape);
            } else {
                ChooseRadio(wizard, "RadioGroup1", "1 Grade Only");
                wizard->close();
            }
            QTRY_VERIFY(!wizard->isVisible());
            QCOMPARE(ListFiles(copy.Data.SawGrades()), before);
        }
    }

    // A name that is no plain file name is refused with the dialog kept on its name page; an
    // existing name in other letters asks first: No keeps the file, Yes replaces that file.
    void BadAndExistingNamesKeepTheDialogOpen() {
        const test::BundledCopy copy;
        const fs::path factory = copy.Data.SawGrades() / "Factory Grades";
        const std::vector<std::uint8_t> old = test::ReadBytes(factory);
        app::TMain window(copy.Data, true);
        window.show();
        QWidget* wizard = OpenWizard(window);
        RunOneCell(wizard);
        for (const QString& bad : {QString(), QString("a/b"), QString("..")}) {
            TypeName(wizard, bad);
            ClickButton(wizard, "Finished");
            Answer(WaitForBox(wizard, "ErrorBox"), QMessageBox::Ok);
            QVERIFY(wizard->isVisible() && PageShown(wizard, "GroupBox7"));
        }
        TypeName(wizard, "factory grades");
        ClickButton(wizard, "Finished");
        QMessageBox* question = WaitForBox(wizard, "ReplaceBox");
        QVERIFY(question->text().contains("\"Factory Grades\""));
        Answer(question, QMessageBox::No);
        QVERIFY(wizard->isVisible());
        QCOMPARE(test::ReadBytes(factory), old);
        ClickButton(wizard, "Finished");
        Answer(WaitForBox(wizard, "ReplaceBox"), QMessageBox::Yes);
        QTRY_VERIFY(!wizard->isVisible());
        const SawlogRuleSet rules = ReadSawlogRuleSet(factory, RecordChoice::First);
        QCOMPARE(rules.Cell(1, 1, 1).ClearCuttingCode, std::uint8_t{3});
        QCOMPARE(rules.Cell(1, 1, 1).MaxDeduction, 0.3F);
        QVERIFY(!fs::exists(copy.Data.SawGrades() / "factory grades"));
    }
};

} // namespace varnok

QTEST_MAIN(varnok::SpecifySawFormTest)
#include "SpecifySawFormTest.moc"
