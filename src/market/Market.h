#pragma once

#include "grading/SawlogRules.h"
#include "grading/VeneerRules.h"
#include "market/LogLengthSet.h"
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
// prices and lengths, loaded once and passed by reference. A loaded market is not changed
// afterwards, so any number of threads may read it at once.
//
// The rule sets are plain members. What follows from the specs (the trim allowance, the log
// lengths and the veneer rules, whose record the specs carry) is set by SetSpecs alone, and
// faces mode is read from the sawlog rules, so none of them can disagree with its source.
class Market {
public:
    Market();

    std::string Name;
    PriceTable Prices;
    SawlogRuleSet SawlogRules; // the last complete record of the file
    RoundwoodProductSet Roundwood;
    LogRuleTable LogRule; // held in memory instead of being reopened at every scaling
    DefectFilterSet Filter;
    std::filesystem::path OptmcutsPath;

    const MarketSpecs& Specs() const { return specs_; }
    // Replaces the specs, and with them the trim allowance, the lengths and the veneer rules.
    // Throws VarnokError, leaving the market as it was, unless the trim is 4 or 8 inches.
    void SetSpecs(const MarketSpecs& specs);
    // Replaces the veneer rules: their record in the specs and the rules decoded from it.
    // Throws VarnokError when a grade name cannot be stored in Windows-1252.
    void SetVeneerRules(const VeneerRuleSet& rules);

    int TrimAllowance() const { return specs_.TrimAllowance; } // inches
    const LogLengthSet& Lengths() const { return lengths_; }
    const VeneerRuleSet& VeneerRules() const { return veneerRules_; }
    bool FacesMode() const { return SawlogRules.IsFacesMode(); }
    // The market named exactly "RESEARCH", whose comparisons fill the research results.
    bool IsResearchMarket() const { return Name == "RESEARCH"; }

    // The name of product 1 to 10: the veneer grade names, "#1 Sawlog" to "#3 Sawlog", the
    // roundwood product names, "Cull" (also for any other number).
    std::string ProductName(int productClass) const;

private:
    MarketSpecs specs_;
    LogLengthSet lengths_;
    VeneerRuleSet veneerRules_;
};

// The market names: the subfolders of the Markets folder, sorted case-insensitively.
std::vector<std::string> ListMarkets(const DataFolder& data);

// Loads market `name` from its folder: reads "Specs", then the price set (converted into the
// price table), the sawlog rules (last complete record), the roundwood products, the log rule
// and the defect filter set from their folders; the veneer rules come from the copy inside
// Specs. Rule names are opened by their exact name, else by a single case-insensitive match.
// Throws VarnokError when the name is not a plain file name, FileError naming the file when a
// file is missing, short or damaged (a trim other than 4 or 8, a name in Specs that is not a
// plain file name, a field outside what the engine can use, a price that does not fit the
// price table). Nothing is returned half-loaded.
Market LoadMarket(const DataFolder& data, std::string_view name);

// Builds a market object from a specs record (for a market being computed, whose folder may
// not exist yet). Throws as LoadMarket; damaged veneer rules in `specs` are blamed on the
// veneer rule file they were copied from.
Market BuildMarket(const DataFolder& data, std::string_view name, const MarketSpecs& specs);

} // namespace varnok
