#pragma once

#include "app/grading/GradingRuleViewer.h"
#include "grading/SawlogRules.h"
#include "support/DataFolder.h"

namespace varnok::app {

// "View Sawlog Grading Rules": the first record of a file of the "SawGrades" folder, one grade
// at a time, each rule cell in use a column of the grid.
class TReadSawSpecForm : public GradingRuleViewer {
    Q_OBJECT

public:
    TReadSawSpecForm(const DataFolder& data, QWidget* parent);

protected:
    std::vector<GradeItem> ReadRules(const std::filesystem::path& path) override;
    void FillGrid(int grade) override;
    void EmptyGrid() override;

private:
    int ValueColumnWidth() const;

    SawlogRuleSet rules_;
};

} // namespace varnok::app
