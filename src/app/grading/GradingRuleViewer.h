#pragma once

#include "app/ClosableDialog.h"

#include <QString>

#include <filesystem>
#include <string>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QGridLayout;
class QPushButton;
class QTableWidget;

namespace varnok::app {

class RuleFileList;

// What the two grading rule viewers share: 1) the files of a rule folder, 2) "View Selected
// ..." reads the chosen file into the viewer's own record and lists its grades in a radio
// group of three columns, a grade chosen fills the grid, 3) "Exit Viewer". The rules of the
// market in force are never touched. A file that cannot be read shows its error and leaves the
// grade list empty and the group and grid disabled, so no grade of another file is shown under
// its name.
class GradingRuleViewer : public ClosableDialog {
    Q_OBJECT

public:
    // Shows the dialog with the file `name` of its folder selected and viewed (its first grade
    // on the grid). A name the folder does not hold is reported as a file that cannot be read.
    void ShowFile(const QString& name);

protected:
    struct Texts {
        const char* ClassName;       // the objectName: the class of the dialog
        const char* Caption;         // window title
        const char* SelectStep;      // "Select the ... grading rule to be viewed."
        const char* ViewButton;      // "View Selected ... Grading Rule"
        const char* GradeCaption;    // the radio group's caption
        const char* GradeLeftOnExit; // the one grade item left by "Exit Viewer"; null: none
    };

    GradingRuleViewer(std::filesystem::path folder, const Texts& texts, QWidget* parent);

    // A grade as the radio group lists it.
    struct GradeItem {
        int Grade = 0; // what the grid shows when it is chosen
        QString Caption;
    };
    // Reads `path` into the viewer's record and returns the grades to list. Throws FileError
    // when the file cannot be read; the record may then hold anything (it is not shown).
    virtual std::vector<GradeItem> ReadRules(const std::filesystem::path& path) = 0;
    // Sizes the grid and writes `grade`'s texts, from the record last read.
    virtual void FillGrid(int grade) = 0;
    // The grid as shown before any grade: its size, every cell empty.
    virtual void EmptyGrid() = 0;

    QTableWidget* Grid() const { return grid_; }
    // Writes `texts` [row][column] into the grid, the cells read-only, column 0 shaded as the
    // labels.
    void WriteCells(const std::vector<std::vector<std::string>>& texts);
    // The width a grid column needs for `text`, in pixels.
    int CellWidth(const QString& text) const;
    // Fixes the grid's size to show all its rows and columns: column c at least widths[c]
    // pixels wide (the last width for the columns beyond; at least one width), wider when its
    // texts need it; rows `rowHeight` high or as the font needs.
    void FitColumns(const std::vector<int>& widths, int rowHeight);

    void showEvent(QShowEvent* event) override;

private:
    void Button1Click();
    void View(const std::string& name);
    void SetGrades(const std::vector<GradeItem>& grades);
    void ShowNothing();

    Texts texts_;
    RuleFileList* list_;
    QPushButton* view_;
    QGroupBox* gradeBox_;
    QGridLayout* gradeLayout_;
    QButtonGroup* grades_;
    QTableWidget* grid_;
    QPushButton* exit_;
};

} // namespace varnok::app
