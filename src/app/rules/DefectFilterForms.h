#pragma once

#include "app/ClosableDialog.h"
#include "rules/DefectFilterBoxes.h"
#include "support/DataFolder.h"

#include <QWidget>

#include <array>
#include <filesystem>
#include <string>

class QCheckBox;
class QLineEdit;

namespace varnok::app {

class RuleFileList;

// The 59 check boxes of a defect filter set, named CheckBox1 to CheckBox59 by entry, in their
// groups and in columns. Boxes that can never act say why in their tooltip.
class DefectFilterBoxPanel : public QWidget {
    Q_OBJECT

public:
    enum class Mode {
        Editable, // the boxes of a shared code move together
        ReadOnly, // the boxes show a file and take neither clicks nor keys
    };
    DefectFilterBoxPanel(Mode mode, QWidget* parent);

    DefectFilterFlags Flags() const;
    void SetFlags(const DefectFilterFlags& flags);

private:
    std::array<QCheckBox*, DefectFilterSet::kEntryCount> boxes_{};
};

// "Define Defect Filter Set": which of the 59 defect codes count as grading defects, saved as a
// set of the filter folder. The boxes keep what the user left them at from one show to the
// next (the table's defaults at first); a failed save is reported and the dialog stays open.
class TFilterGradingDefectsForm : public ClosableDialog {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TFilterGradingDefectsForm(const DataFolder& data, QWidget* parent);

protected:
    // Empties the name field only.
    void showEvent(QShowEvent* event) override;

private:
    void SaveClick();

    const DataFolder& data_;
    DefectFilterBoxPanel* boxes_;
    QLineEdit* name_;
};

// "View Defect Filter Set": the sets of the filter folder, read afresh on every show, and the 59
// boxes of the one chosen, read-only; a box is checked only where its entry keeps the defect.
// A file that cannot be read is reported and leaves every box clear.
class TReadDefectsFileForm : public ClosableDialog {
    Q_OBJECT

public:
    TReadDefectsFileForm(const DataFolder& data, QWidget* parent);

    // Shows the viewer with the set `name` (matched ignoring letter case) selected and viewed;
    // for the market viewer. A set that cannot be read is reported as the view button does.
    void ShowFile(const std::string& name);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ReadDefectFileClick();
    void View(const std::filesystem::path& path);

    RuleFileList* list_;
    DefectFilterBoxPanel* boxes_;
};

} // namespace varnok::app
