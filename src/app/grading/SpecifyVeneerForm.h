#pragma once

#include "app/ClosableDialog.h"
#include "grading/VeneerWizard.h"
#include "support/DataFolder.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedLayout;

namespace varnok::app {

// "Define Veneer Grading Rules": the veneer wizard's pages, one at a time, bound to the
// wizard's state, which decides what is enabled, stored and shown; every change of a widget
// is written to the wizard and the pages painted again from it. Finishing the last grade opens
// a save dialog (objectName "SaveDialog1") in the data folder's "Veneer" folder; a name that is
// not plain is refused, a folder elsewhere is warned about (a market cannot use the file), an
// existing file is replaced only when the user says so. The wizard hides once the file is
// written; a cancelled save dialog or a failed save leaves it on its last page, ready to
// finish again. Each show starts a new definition; Cancel, Esc and closing save nothing.
class TSpecifyForm : public ClosableDialog {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TSpecifyForm(const DataFolder& data, QWidget* parent);

    const VeneerWizard& Wizard() const { return wizard_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A list whose position is a choice of the wizard, enabled by diameter, by length or always.
    enum class ListKind { Always, ByDiameter, ByLength };
    struct ListBinding {
        QComboBox* Box;
        int* Choice;
        ListKind Kind;
        std::size_t List;
    };

    QGroupBox* AddPage(const char* name, int page);
    QComboBox* AddList(QWidget* parent, int number, VeneerChoiceList texts, int* choice,
                       ListKind kind = ListKind::Always, std::size_t list = 0);
    // The labelled lists of every diameter or length in rows 0 and 1 of `grid`, named from
    // "ComboBox<firstNumber>" on.
    void AddDiameterLists(QWidget* parent, QGridLayout* grid, int firstNumber,
                          VeneerChoiceList texts, VeneerDiameterChoices& choices);
    void AddLengthLists(QWidget* parent, QGridLayout* grid, int firstNumber, VeneerChoiceList texts,
                        VeneerLengthChoices& choices);
    QButtonGroup* AddRadioGroup(QGroupBox* box, VeneerChoiceList texts, int columns);
    void BuildPages();

    void Button2Click(); // Next
    void Button3Click(); // Back
    void Button4Click(); // Finished, Next Grade
    void RadioGroup3Click(int position);
    void FileChosen(const QString& path);
    void Save(const std::filesystem::path& folder, const std::string& name,
              std::vector<std::uint8_t> bytes);
    void Paint();

    const DataFolder& data_;
    VeneerWizard wizard_;
    QStackedLayout* stack_ = nullptr;
    std::array<QGroupBox*, kVeneerWizardPages> pages_{};
    QButtonGroup* gradeCount_ = nullptr;
    std::array<QLabel*, 3> nameLabels_{};
    std::array<QLineEdit*, 3> names_{};
    QButtonGroup* minDiameter_ = nullptr;
    std::array<QCheckBox*, kVeneerLengthLists> lengths_{};
    QGroupBox* basisBox_ = nullptr;
    QButtonGroup* basis_ = nullptr;
    QGroupBox* byDiameter_ = nullptr;
    QGroupBox* byLength_ = nullptr;
    QComboBox* single_ = nullptr;
    std::vector<ListBinding> lists_;
    QLineEdit* gradeName_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* finish_ = nullptr;
    QFileDialog* saveDialog_ = nullptr;
};

} // namespace varnok::app
