#pragma once

#include "game/PatternEvaluation.h"

#include <nlohmann/json.hpp>

#include <string>

namespace varnok {

// One evaluated piece as the command-line contract writes it; with `reasons`, also its
// "explain" list: [{"product", "product_class", "passed", "rule", "detail"}].
nlohmann::json PieceToJson(const EvaluatedPiece& piece, bool reasons = false);

nlohmann::json PiecesToJson(const PatternEvaluation& evaluation, bool reasons = false);

// A piece's reasons as readable lines, each indented and ending in a line break, e.g.
// "      failed  #1 Sawlog  clear_cuttings: Cell 1.2.1, ...". Empty when it has none.
std::string ReasonsText(const EvaluatedPiece& piece);

} // namespace varnok
