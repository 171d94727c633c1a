#pragma once

#include "tree/Tree.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace varnok::cli {

// The value of --cuts: comma-separated whole inches. Throws VarnokError naming the first item
// that is not a whole number.
std::vector<int> ParseCuts(const std::string& text);

// A bucker's pattern covers the whole stem: from the butt to the top, or to the end of the last
// 4-inch step, where the optimal patterns end, so that `optimise`'s cuts are accepted. Checks
// first what every pattern must be (CheckPatternPositions: 2 to 27 cuts within the stem,
// ascending). Throws VarnokError naming the cut at fault or the end that is missing.
void CheckWholeStem(const std::vector<int>& cuts, const Tree& tree, int treeNumber);

// Prints `json` on one line. Names come from folder and file names, which need not be valid
// UTF-8: such bytes are shown as U+FFFD instead of stopping the command.
void PrintJson(const nlohmann::json& json);

} // namespace varnok::cli
