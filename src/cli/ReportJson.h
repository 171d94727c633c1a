#pragma once

#include "market/MarketSpecs.h"
#include "market/OptimalCuts.h"
#include "services/Reports.h"

#include <nlohmann/json.hpp>

#include <string>

namespace varnok {

// The stored optimal cuts of trees `from` to `to`: [{"tree", "cuts"}], cuts butt to top, empty
// for a tree with no stored pattern. The range is the caller's to check.
nlohmann::json CutLocationsToJson(const OptimalCutsTable& table, int from, int to);

// The graded logs of the optimal patterns of trees `from` to `to`: [{"tree", "logs": [{"segment",
// "start", "end", "length", "product", "product_class", "sed", "led", "sweep",
// "sweep_deduction", "deduction", "volume", "volume_unit", "value"}]}]; lengths, diameters and
// sweep in inches, deductions as fractions, value in dollars (negative for a log sold as cull:
// its cull charge).
nlohmann::json ResearchToJson(const ResearchResults& results, int from, int to);

// A market's definition: the rule set names by kind and the trim allowance in inches.
nlohmann::json MarketSpecsToJson(const std::string& market, const MarketSpecs& specs);

} // namespace varnok
