#include "cli/CommandSupport.h"

#include "game/PatternEvaluation.h"
#include "support/Errors.h"
#include "support/Numbers.h"

#include <iostream>

namespace varnok::cli {

std::vector<int> ParseCuts(const std::string& text) {
    std::vector<int> cuts;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = text.find(',', from);
        const std::string item =
            text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        const auto value = ParseInteger(item);
        if (!value) {
            throw VarnokError("--cuts: \"" + item + "\" is not a whole number of inches.");
        }
        cuts.push_back(*value);
        if (comma == std::string::npos) {
            break;
        }
        from = comma + 1;
    }
    return cuts;
}

void CheckWholeStem(const std::vector<int>& cuts, const Tree& tree, int treeNumber) {
    CheckPatternPositions(tree, cuts);
    const int top = tree.Stem.StemLength;
    const int lastStep = top / 4 * 4;
    const std::string whole = "--cuts must start at the butt (0) and end at the top (" +
                              std::to_string(top) + " inches for tree " +
                              std::to_string(treeNumber) + ")";
    if (cuts.front() != 0) {
        throw VarnokError(whole + "; this pattern starts at " + std::to_string(cuts.front()) + ".");
    }
    if (cuts.back() != top && cuts.back() != lastStep) {
        throw VarnokError(whole + "; this pattern ends at " + std::to_string(cuts.back()) +
                          ", leaving " + std::to_string(top - cuts.back()) +
                          " inches of the stem out.");
    }
}

void PrintJson(const nlohmann::json& json) {
    std::cout << json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

} // namespace varnok::cli
