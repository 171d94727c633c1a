#pragma once

#include "app/ClosableDialog.h"
#include "grading/SawlogWizard.h"
#include "support/DataFolder.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QWidget;

namespace varnok::app {

// "Define Sawlog Grading Rules": a wizard that builds a new sawlog grading rule set page by
// page (grades, diameter sets, length variations, the limits of every cell) and saves it under
// a name in the "SawGrades" folder. Every show starts a new definition; Cancel, Esc or closing
// the window writes nothing. "Next>" is enabled only while the page shown is complete. A name
// that cannot be a rule file, a refused replacement or a failed write keeps the dialog open on
// the name page.
//
// Components: pages RadioGroup1 (grade count), RadioGroup2 (set count), GroupBox3 (diameters),
// variationspage (lengths), GroupBox6 (criteria), GroupBox7 (name); ComboBox1/ComboBox5 to
// ComboBox3/ComboBox7 (diameter bounds of sets 1 to 3), CheckBox1 to CheckBox3 (butt logs),
// RadioGroup3 to RadioGroup5 (variation counts), ComboBox10/ComboBox14 to ComboBox12/ComboBox16
// (length bounds), ComboBox13, ComboBox17 to ComboBox21 (criteria), Edit5 (name), Edit1 (grade),
// buttons Back (never shown), Next, Finished, Cancel.
class TSpecifySawForm : public ClosableDialog {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TSpecifySawForm(const DataFolder& data, QWidget* parent);

protected:
    // A show by the program starts a new definition at the grade-count page.
    void showEvent(QShowEvent* event) override;

private:
    struct BoundRow {
        QLabel* Label = nullptr;
        QComboBox* Lower = nullptr;
        QLabel* Thru = nullptr;
        QComboBox* Upper = nullptr;
    };

    QWidget* BuildCountPage(const char* name, std::string_view question,
                            std::span<const std::string_view> choices, QButtonGroup*& group);
    QWidget* BuildDiameterPage();
    QWidget* BuildLengthPage();
    QWidget* BuildCriteriaPage();
    QWidget* BuildNamePage();
    BoundRow MakeBoundRow(QWidget* page, const std::string& label, int lowerNumber, int upperNumber,
                          const std::vector<std::string>& choices);

    // After every choice and step: the page of the wizard's step and every widget as the
    // wizard holds it.
    void Paint();
    void PaintBoundRows(const std::array<BoundRow, 3>& rows, const SawlogBoundLists& lists);
    void NextClick();
    void FinishedClick();

    const DataFolder& data_;
    SawlogWizard wizard_;
    QStackedWidget* pages_ = nullptr;
    QWidget* gradeCountPage_ = nullptr;
    QWidget* setCountPage_ = nullptr;
    QWidget* diameterPage_ = nullptr;
    QWidget* lengthPage_ = nullptr;
    QWidget* criteriaPage_ = nullptr;
    QWidget* namePage_ = nullptr;
    QButtonGroup* gradeCount_ = nullptr;
    QButtonGroup* setCount_ = nullptr;
    std::array<BoundRow, 3> diameters_{};
    std::array<QCheckBox*, 3> butt_{};
    std::array<QWidget*, 3> variationBoxes_{};
    std::array<QButtonGroup*, 3> variations_{};
    QLabel* lengthTitle_ = nullptr;
    std::array<BoundRow, 3> lengths_{};
    QLabel* criteriaTitle_ = nullptr;
    std::array<QComboBox*, kSawlogCriterionCount> criteria_{};
    QLineEdit* name_ = nullptr;
    QLineEdit* grade_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* finished_ = nullptr;
};

} // namespace varnok::app
