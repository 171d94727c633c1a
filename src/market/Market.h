#pragma once

#include "grading/SawlogRules.h"
#include "grading/VeneerRules.h"
#include "market/MarketSpecs.h"
#include "market/PriceTable.h"
#include "rules/DefectFilterSet.h"
#include "rules/LogRule.h"
#include "rules/RoundwoodProducts.h"
#include "support/DataFolder.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// Everything the engine, the optimiser and the game read of the market in force: its rules,
// prices and lengths, loaded once and passed by reference. Immutable once built.
struct Market {
    std::string Name;
    MarketSpecs Specs;
    std::uint8_t TrimAllowance = 8; // inches
    LogLengthSet Lengths;
    PriceTable Prices;
    SawlogRuleSet SawlogRules;
    bool FacesMode = false;
    VeneerRuleSet VeneerRules; // from the copy inside Specs
    RoundwoodProductSet Roundwood;
    LogRuleTable LogRule; // held in memory instead of being reopened at every scaling
    DefectFilterSet Filter;
    std::filesystem::path OptmcutsPath;
    bool ResearchMarket = false; // the market named exactly "RESEARCH"
};

// The market names: the subfolders of the Markets folder, sorted case-insensitively.
std::vector<std::string> ListMarkets(const DataFolder& data);

// Loads market `name` from its folder: reads "Specs", then the price set (converted into the
// price table), the sawlog rules (last complete record) and faces mode, the roundwood
// products, the log rule and the defect filter set from their folders; the veneer rules come
// from the copy inside Specs. Rule names are opened by their exact name, else by a single
// case-insensitive match.
// Throws VarnokError when the name is not a plain file name, FileError naming the file when a
// file is missing, short or damaged (a trim other than 4 or 8, a name in Specs that is not a
// plain file name), VarnokError when a price does not fit the price table. Nothing is
// returned half-loaded.
Market LoadMarket(const DataFolder& data, std::string_view name);

// Builds a market object from a specs record (for a market being computed, whose folder may
// not exist yet). Throws as LoadMarket.
Market BuildMarket(const DataFolder& data, std::string_view name, const MarketSpecs& specs,
                   const std::filesystem::path& specsPath);

} // namespace varnok
