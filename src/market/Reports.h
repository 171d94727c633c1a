#pragma once

#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "market/MarketSpecs.h"
#include "market/OptimalCuts.h"
#include "support/DataFolder.h"

#include <map>
#include <string>
#include <vector>

namespace varnok {

// The research results of a range of trees: each tree's graded logs of its stored optimal
// pattern, in order (every log, however many).
using ResearchResults = std::map<int, std::vector<ResearchEntry>>;

// The printed market definition, line by line.
std::vector<std::string> MarketDefinitionLines(const std::string& marketName,
                                               const MarketSpecs& specs);

// The cut locations of the stored optimal patterns of trees `from` to `to` (1 to 150).
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

// Writes lines as a UTF-8 text file with CR LF line ends. Throws FileError on failure.
void WriteCrLfFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

} // namespace varnok
