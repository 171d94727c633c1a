#pragma once

#include "engine/LogSegment.h"
#include "market/Market.h"
#include "tree/Tree.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace varnok {

// One piece of a pattern (the stretch between two consecutive cuts) as the engine sees it.
struct EvaluatedPiece {
    int Index = 0;              // from 1, butt first
    LogSegment Segment;         // ProductClass, Value (dollars) and ShownVolume set
    bool Graded = false;        // false for a piece shorter than 8 ft plus trim
    std::uint16_t NetScale = 0; // board feet
    float CubicVolume = 0.0F;   // cubic feet
    std::string ProductName;
    std::array<std::string, 6> LabelLines; // empty for a piece that was not graded
    float RunningReturns = 0.0F;           // returns up to and including this piece, dollars
};

// What the research table keeps of a graded log of an optimal pattern.
struct ResearchEntry {
    std::int16_t LengthInches = 0;
    std::string ProductName;
    std::uint16_t StartPosition = 0;
    std::uint16_t EndPosition = 0;
    std::uint8_t SED = 0;
    std::uint8_t LED = 0;
    float Sweep = 0.0F;
    float SweepDeduction = 0.0F;
    float Deduction = 0.0F;
    std::int16_t Volume = 0; // ShownVolume rounded
    std::string VolumeUnit = "Board Feet";
    float Value = 0.0F; // the cull charge for a log sold as cull
    std::uint8_t ButtLog = 0;
    std::uint8_t ProductClass = 0; // 1 to 10
};

// What the tracking store records of a graded log.
struct TrackedLog {
    int LogIndex = 0; // from 1
    std::uint16_t LED = 0;
    std::uint16_t SED = 0;
    std::uint16_t LengthInches = 0;
    float ShownVolume = 0.0F;
    float SweepDeduction = 0.0F;
    float Deduction = 0.0F;
    std::uint8_t ProductClass = 0;
    float Value = 0.0F; // the cull charge for a log sold as cull
    std::string Unit;   // "mbf" for products 1 to 6, "ft3" for 7 to 10
};

struct PatternEvaluation {
    std::vector<EvaluatedPiece> Pieces;
    float Returns = 0.0F;                // dollars: the logs not sold as cull
    float CullPenalty = 0.0F;            // dollars: the cull charges
    std::vector<ResearchEntry> Research; // graded logs in order
    std::vector<TrackedLog> Tracking;    // graded logs in order

    // The net line is shown only when something was charged as cull.
    bool ShowsNet() const { return CullPenalty > 0.0F; }
};

// Cuts a loaded tree at `positions` (inches from the butt, butt and top included, 2 to 27
// entries, strictly ascending, within the stem) and scales, grades and values every piece.
// A piece shorter than 8 ft plus trim is not graded and is charged as cull; a graded log sells
// in the way worth most (ties: veneer, sawlog, roundwood) or, when nothing is worth anything,
// as cull. Throws VarnokError for positions that break the rules above.
PatternEvaluation EvaluatePattern(const Tree& tree, const Market& market,
                                  std::span<const int> positions);

// The name of product 1 to 10 in the market: its veneer grade names, "#1 Sawlog" to
// "#3 Sawlog", its roundwood product names, "Cull".
std::string ProductName(const Market& market, int productClass);

} // namespace varnok
