#pragma once

#include "app/grading/GradingRuleViewer.h"
#include "grading/VeneerRules.h"
#include "support/DataFolder.h"

namespace varnok::app {

// "View Veneer Grading Rules": the first record of a file of the "Veneer" folder, one grade
// at a time, its fifteen rules down the grid. The one dialog shown at start-up.
class TReadVeneerSpecForm : public GradingRuleViewer {
    Q_OBJECT

public:
    TReadVeneerSpecForm(const DataFolder& data, QWidget* parent);

protected:
    std::vector<GradeItem> ReadRules(const std::filesystem::path& path) override;
    void FillGrid(int grade) override;
    void EmptyGrid() override;

private:
    VeneerRuleSet rules_;
};

} // namespace varnok::app
