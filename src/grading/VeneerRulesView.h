#pragma once

#include "grading/VeneerRules.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// What the veneer grading rule viewer shows of a rule set. Pure texts: no file is opened here,
// and nothing fails (the grid shows whatever the record holds).

// A grade as the viewer lists it.
struct VeneerViewerGrade {
    int Grade = 0;    // 1 to 3: the block it shows
    std::string Name; // block g, name slot g
};

// The grades the viewer lists, each once: grade 1 always; grade 2 when block 2's GradeCount
// is 2 or block 3's is 3; grade 3 when block 3's GradeCount is 3. So a three-grade rule set,
// whose block 2 says 3, still lists three grades.
std::vector<VeneerViewerGrade> VeneerViewerGrades(const VeneerRuleSet& rules);

// The grid is 2 columns by 15 rows: labels in column 0, values in column 1.
inline constexpr int kVeneerRowCount = 15;

// "Minimum Diameter (inches)", "Lengths Accepted (log lengths in feet)", ...
const std::array<std::string_view, kVeneerRowCount>& VeneerRowLabels();

// Column 1 of grade `grade` (1 to 3, std::out_of_range otherwise), from block `grade`. Only
// the per-diameter entries 9 to 15 inches are shown, 15 standing for 15 and over; a piece of a
// list is left out when its entry is 0 (or, for flags, not set). Numbers are in general form
// with up to 15 significant digits of the stored value ("2", "30", "2.5").
std::array<std::string, kVeneerRowCount> VeneerGradeRows(const VeneerRuleSet& rules, int grade);

} // namespace varnok
