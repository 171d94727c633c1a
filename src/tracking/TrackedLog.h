#pragma once

#include "game/PatternEvaluation.h"

#include <cstdint>
#include <string>

namespace varnok {

// What the tracking store records of a graded log of a pattern.
struct TrackedLog {
    int LogIndex = 0;      // from 1
    std::uint16_t LED = 0; // inches
    std::uint16_t SED = 0; // inches
    std::uint16_t LengthInches = 0;
    float ShownVolume = 0.0F;    // board feet or cubic feet, as Unit says
    float SweepDeduction = 0.0F; // fractions
    float Deduction = 0.0F;
    std::uint8_t ProductClass = 0;
    float Value = 0.0F; // dollars; the cull charge for a log sold as cull
    std::string Unit;   // "mbf" for products 1 to 6, "ft3" for 7 to 10
};

// The tracking record of a piece of an evaluated pattern; meant for graded pieces.
TrackedLog MakeTrackedLog(const EvaluatedPiece& piece);

} // namespace varnok
