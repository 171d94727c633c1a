#pragma once

#include "app/ClosableDialog.h"
#include "rules/RoundwoodCells.h"
#include "support/DataFolder.h"

#include <array>
#include <filesystem>
#include <string>

class QBoxLayout;
class QButtonGroup;
class QComboBox;
class QFontMetrics;
class QLineEdit;
class QTableWidget;

namespace varnok::app {

class RuleFileList;

// "Read Roundwood Products": the sets of the roundwood folder, read afresh on every show, and
// a read-only table of the one chosen (the button or a double click). A file that cannot be
// read is reported and leaves the headers alone, never the values of the set shown before.
class TReadRoundwood : public ClosableDialog {
    Q_OBJECT

public:
    TReadRoundwood(const DataFolder& data, QWidget* parent);

    // Shows the viewer with the set `name` (matched ignoring letter case) selected and viewed;
    // for the market viewer. A set that cannot be read is reported as the view button does.
    void ShowFile(const std::string& name);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ReadFileClick();
    void View(const std::filesystem::path& path);

    RuleFileList* list_;
    QTableWidget* grid_;
};

// "Define Roundwood Products": names, units and limits of up to three products and the
// handling of cull, saved as a set of the roundwood folder. Everything is checked before a
// file is touched; a failed save is reported and the dialog stays open.
//
// Components: StringGrid1 (names and units), RadioGroup1 to RadioGroup3 (units of products 1
// to 3), ComboBox1 to ComboBox15 (the five limits of product 1, then of 2 and 3), RadioGroup4
// (cull), Edit1 (the set's name), SaveProductDefinition ("Save"), Button2 ("Cancel").
class TDefineRoundwoodProductstab : public ClosableDialog {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TDefineRoundwoodProductstab(const DataFolder& data, QWidget* parent);

protected:
    // Empties the names and the set's name and sets every list to its first choice; the unit
    // and cull choices stay as the user left them, and the units cells show them.
    void showEvent(QShowEvent* event) override;

private:
    struct ColumnWidths {
        int Label;   // the row labels, pixels
        int Product; // each product's column, pixels
    };
    static ColumnWidths ColumnWidthsFor(const QFontMetrics& metrics);
    void BuildTable(QBoxLayout* layout, ColumnWidths widths);
    void BuildUnitsAndLimits(QBoxLayout* layout, ColumnWidths widths);

    void RadioGroupClick(std::size_t product);
    void SaveProductDefinitionClick();
    RoundwoodChoices Choices() const;

    const DataFolder& data_;
    QTableWidget* grid_;
    std::array<QButtonGroup*, kRoundwoodProductCount> units_{};
    std::array<std::array<QComboBox*, kRoundwoodLimitCount>, kRoundwoodProductCount> limits_{};
    QButtonGroup* cull_;
    QLineEdit* name_;
};

} // namespace varnok::app
