#include "app/grading/ReadSawSpecForm.h"

#include "grading/SawlogRulesView.h"

#include <QTableWidget>

#include <algorithm>

namespace varnok::app {
namespace {

constexpr int kColumnWidth = 54;
constexpr int kLabelColumnWidth = 120; // once a grade is shown
constexpr int kRowHeight = 24;

} // namespace

TReadSawSpecForm::TReadSawSpecForm(const DataFolder& data, QWidget* parent)
    : GradingRuleViewer(data.SawGrades(),
                        {"TReadSawSpecForm", "View Sawlog Grading Rules",
                         "Select the sawlog grading rule to be viewed.",
                         "View Selected Sawlog Grading Rule", "Grade", "1"},
                        parent) {
    EmptyGrid();
}

std::vector<GradingRuleViewer::GradeItem>
TReadSawSpecForm::ReadRules(const std::filesystem::path& path) {
    rules_ = ReadSawlogRuleSet(path, RecordChoice::First);
    std::vector<GradeItem> items;
    for (const int grade : SawlogViewerGrades(rules_)) {
        items.push_back({grade, QString::number(grade)});
    }
    return items;
}

void TReadSawSpecForm::FillGrid(int grade) {
    WriteCells(SawlogGradeGrid(rules_, grade));
    FitColumns({kLabelColumnWidth, ValueColumnWidth()}, kRowHeight);
}

// Wide enough for the widest range, so that the dialog keeps its width from grade to grade.
int TReadSawSpecForm::ValueColumnWidth() const {
    return std::max(kColumnWidth, CellWidth("50 to 50"));
}

void TReadSawSpecForm::EmptyGrid() {
    Grid()->setColumnCount(kSawlogGridSize);
    Grid()->setRowCount(kSawlogGridSize);
    Grid()->clearContents();
    FitColumns({ValueColumnWidth()}, kRowHeight);
}

} // namespace varnok::app
