#pragma once

#include "tree/Tree.h"

#include <nlohmann/json.hpp>

namespace varnok {

// The engine's tree model as JSON: stem, defect tables (keyed by their field names), the
// sector map and the per-inch profiles.
nlohmann::json TreeToJson(const Tree& tree);

} // namespace varnok
