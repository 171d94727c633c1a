#pragma once

#include "game/PatternEvaluation.h"

#include <nlohmann/json.hpp>

namespace varnok {

// One evaluated piece as the command-line contract writes it.
nlohmann::json PieceToJson(const EvaluatedPiece& piece);

nlohmann::json PiecesToJson(const PatternEvaluation& evaluation);

} // namespace varnok
