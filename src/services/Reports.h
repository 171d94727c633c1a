#pragma once

#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "market/MarketSpecs.h"
#include "market/OptimalCuts.h"
#include "support/DataFolder.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace varnok {

// What the research results keep of a graded log of an optimal pattern.
struct ResearchEntry {
    std::int16_t LengthInches = 0;
    std::string ProductName;
    std::uint16_t StartPosition = 0; // inches
    std::uint16_t EndPosition = 0;
    std::uint8_t SED = 0; // inches, the low byte
    std::uint8_t LED = 0;
    float Sweep = 0.0F;          // inches
    float SweepDeduction = 0.0F; // fractions
    float Deduction = 0.0F;
    std::int16_t Volume = 0; // ShownVolume rounded, in VolumeUnit
    std::string VolumeUnit;  // "Board Feet" for products 1 to 6, "Cubic Feet" for 7 to 10
    // Dollars; for a log sold as cull its cull charge as a negative value, so that the values of
    // a tree sum to its net (returns less cull penalty) in every report and file made of them.
    float Value = 0.0F;
    std::uint8_t ButtLog = 0;
    std::uint8_t ProductClass = 0; // 1 to 10
};

// The research entry of a piece of an evaluated pattern; meant for graded pieces. A log sold as
// cull gets its cull charge negated.
ResearchEntry MakeResearchEntry(const EvaluatedPiece& piece);

// The research results of a range of trees: each tree's graded logs of its stored optimal
// pattern, in order (every log, however many).
using ResearchResults = std::map<int, std::vector<ResearchEntry>>;

// The printed market definition, line by line.
std::vector<std::string> MarketDefinitionLines(const std::string& marketName,
                                               const MarketSpecs& specs);

// The cut locations of the stored optimal patterns of trees `from` to `to` (1 to 150). Throws
// VarnokError for a range outside 1 to 150 or reversed.
std::vector<std::string> CutLocationLines(const OptimalCutsTable& table, int from, int to);

// Evaluates the stored optimal pattern of trees `from` to `to` of the market, touching nothing
// else. A tree with no stored pattern has no entries. Throws FileError when "Optmcuts" or a
// tree file cannot be read.
ResearchResults ResearchOptimalPatterns(const DataFolder& data, const Market& market, int from,
                                        int to);

// The products report: per tree, per graded log of its optimal pattern, length, product,
// small-end diameter, sweep and cull fractions, volume and value.
std::vector<std::string> ProductsReportLines(const ResearchResults& results, int from, int to);

// The comma-separated products file, lines without their CR LF ends: an empty line, the
// header, an empty line, then one row per log. A field holding a comma, a quote or a line
// break is quoted.
std::vector<std::string> ProductsFileLines(const ResearchResults& results, int from, int to);

} // namespace varnok
