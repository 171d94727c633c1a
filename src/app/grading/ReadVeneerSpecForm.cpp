#include "app/grading/ReadVeneerSpecForm.h"

#include "grading/VeneerRulesView.h"

#include <QTableWidget>

namespace varnok::app {
namespace {

constexpr int kColumnWidth = 390;
constexpr int kRowHeight = 24;

} // namespace

TReadVeneerSpecForm::TReadVeneerSpecForm(const DataFolder& data, QWidget* parent)
    : GradingRuleViewer(data.Veneer(),
                        {"TReadVeneerSpecForm", "View Veneer Grading Rules",
                         "Select the veneer grading rule to be viewed.",
                         "View Selected Veneer Grading Rule", "Veneer Grade", nullptr},
                        parent) {
    EmptyGrid();
}

std::vector<GradingRuleViewer::GradeItem>
TReadVeneerSpecForm::ReadRules(const std::filesystem::path& path) {
    rules_ = ReadVeneerRuleSet(path);
    std::vector<GradeItem> items;
    for (const VeneerViewerGrade& grade : VeneerViewerGrades(rules_)) {
        items.push_back({grade.Grade, QString::fromStdString(grade.Name)});
    }
    return items;
}

void TReadVeneerSpecForm::FillGrid(int grade) {
    const std::array<std::string, kVeneerRowCount> values = VeneerGradeRows(rules_, grade);
    std::vector<std::vector<std::string>> cells;
    for (std::size_t row = 0; row < values.size(); ++row) {
        cells.push_back({std::string(VeneerRowLabels()[row]), values[row]});
    }
    WriteCells(cells);
    FitColumns({kColumnWidth}, kRowHeight);
}

void TReadVeneerSpecForm::EmptyGrid() {
    Grid()->setColumnCount(2);
    Grid()->setRowCount(kVeneerRowCount);
    Grid()->clearContents();
    FitColumns({kColumnWidth}, kRowHeight);
}

} // namespace varnok::app
