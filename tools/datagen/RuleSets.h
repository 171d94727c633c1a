#pragma once

#include "grading/SawlogRules.h"
#include "grading/VeneerRules.h"
#include "rules/DefectFilterSet.h"
#include "rules/LogRule.h"
#include "rules/PriceSet.h"
#include "rules/RoundwoodProducts.h"
#include "support/DataFolder.h"

#include <string>
#include <vector>

namespace varnok::datagen {

// The standard rule sets of the bundled data, each built as its editor would have written it,
// and their file names inside their folders.

// Board-foot log rules for small-end diameters 6 to 50 in; entries 1 to 5 stay all zero.
// Doyle (D - 4)^2 L / 16 exactly; Scribner by Bruce's formula (0.79 D^2 - 2 D - 4) L / 16 in
// whole board feet; International 1/4-inch as the sum of its 4-ft sections (1/2 in of taper
// each, a half section at the next diameter for 10 and 14 ft), rounded to 5 board feet.
LogRuleTable DoyleRule();
LogRuleTable InternationalQuarterInchRule();
LogRuleTable ScribnerRule();

// The sawlog factory grades F1, F2, F3 by clear cuttings; and a mill's grades by clear faces
// (faces mode: 4, 3 and 2 or 1 clear faces).
SawlogRuleSet FactoryGrades();
SawlogRuleSet ClearFaceGrades();

// Three veneer grades: prime (16 in, 12 ft and longer, no defect), select (14 in, 10 ft and
// longer, 1 small defect) and export (12 in, 2 minor defects).
VeneerRuleSet HardwoodVeneer();

// A choice of p percent (0, 5, ..., 100) stored as a fraction: p x 0.01 rounded to a float.
float PercentFraction(int percent);

// Roundwood product sets: pulpwood by the ton, tie logs (per MBF), fuelwood by the ton; and
// pulpwood by the cord, bolts by the cord, fuelwood by the ton. Both charge cull by the cubic
// foot.
RoundwoodProductSet AppalachianRoundwood();
RoundwoodProductSet NorthernRoundwood();

// A price set with the roundwood set whose product names and units its rows 7 to 10 carry.
struct PriceSetFile {
    std::string Name;
    std::string RoundwoodName;
    PriceSet Prices;
};
std::vector<PriceSetFile> PriceSets();

// Every defect counts: all 59 entries checked.
DefectFilterSet StrictFilterSet();

// Writes all rule sets into their folders (created when missing) and returns how many files
// were written. Throws FileError when a folder or file cannot be written.
int WriteRuleSets(const DataFolder& data);

inline constexpr const char* kDoyleName = "Doyle";
inline constexpr const char* kInternationalName = "International Quarter Inch";
inline constexpr const char* kScribnerName = "Scribner";
inline constexpr const char* kFactoryGradesName = "Factory Grades";
inline constexpr const char* kClearFacesName = "Clear Faces";
inline constexpr const char* kVeneerName = "Hardwood Veneer";
inline constexpr const char* kAppalachianRoundwoodName = "Appalachian Roundwood";
inline constexpr const char* kNorthernRoundwoodName = "Northern Roundwood";
inline constexpr const char* kDefaultFilterName = "Default Filter";
inline constexpr const char* kStrictFilterName = "Strict Filter";

// Creates a folder and its parents. Throws FileError naming it when that fails.
void EnsureFolder(const std::filesystem::path& folder);

} // namespace varnok::datagen
