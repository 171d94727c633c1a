#include "market/Market.h"

#include "support/Errors.h"
#include "support/Files.h"

#include <array>

namespace varnok {
namespace fs = std::filesystem;

namespace {

// A rule file named in Specs: refused unless a plain file name, so a damaged or hostile Specs
// can never reach outside its rule folder.
fs::path RuleFile(const fs::path& folder, const std::string& name, const fs::path& specsPath,
                  const char* what) {
    try {
        CheckPlainName(name, what);
    } catch (const VarnokError& error) {
        throw FileError(specsPath, error.what());
    }
    return FindEntry(folder, name);
}

} // namespace

Market::Market()
    : lengths_(LogLengthSet::FromTrim(specs_.TrimAllowance)),
      veneerRules_(VeneerRuleSet::Decode(specs_.VeneerRecord)) {}

void Market::SetSpecs(const MarketSpecs& specs) {
    LogLengthSet lengths = LogLengthSet::FromTrim(specs.TrimAllowance);
    VeneerRuleSet veneer = VeneerRuleSet::Decode(specs.VeneerRecord);
    specs_ = specs;
    lengths_ = lengths;
    veneerRules_ = std::move(veneer);
}

void Market::SetVeneerRules(const VeneerRuleSet& rules) {
    const std::vector<std::uint8_t> record = rules.Encode();
    std::copy(record.begin(), record.end(), specs_.VeneerRecord.begin());
    veneerRules_ = VeneerRuleSet::Decode(specs_.VeneerRecord);
}

std::string Market::ProductName(int productClass) const {
    static constexpr std::array<const char*, 3> kSawlogs = {"#1 Sawlog", "#2 Sawlog", "#3 Sawlog"};
    if (productClass >= 1 && productClass <= 3) {
        return veneerRules_.GradeName(productClass);
    }
    if (productClass >= 4 && productClass <= 6) {
        return kSawlogs[static_cast<std::size_t>(productClass - 4)];
    }
    if (productClass >= 7 && productClass <= 9) {
        return Roundwood.Products[static_cast<std::size_t>(productClass - 7)].Name;
    }
    return "Cull";
}

std::vector<std::string> ListMarkets(const DataFolder& data) {
    return ListFolders(data.Markets());
}

Market BuildMarket(const DataFolder& data, std::string_view name, const MarketSpecs& specs) {
    const fs::path specsPath = data.MarketSpecsFile(name);
    Market market;
    market.Name = std::string(name);
    FieldCheck(specsPath).OneOf("the trim allowance", specs.TrimAllowance, {4, 8});
    // A market being computed carries the veneer rules just copied from their file, so a
    // damaged record is blamed on that file; a loaded market's copy was checked with "Specs".
    VeneerRuleSet::Check(specs.VeneerRecord,
                         FieldCheck(FindEntry(data.Veneer(), specs.VeneerRuleName)));
    market.SetSpecs(specs);

    const fs::path pricePath = RuleFile(data.Prices(), specs.PriceSetName, specsPath, "price set");
    const PriceSet prices = ReadPriceSet(pricePath);
    try {
        market.Prices = ConvertPriceSet(prices, specs.PriceSetName);
    } catch (const VarnokError& error) {
        throw FileError(pricePath, error.what());
    }

    const fs::path sawPath =
        RuleFile(data.SawGrades(), specs.SawlogRuleName, specsPath, "sawlog grading rule");
    market.SawlogRules = ReadSawlogRuleSet(sawPath, RecordChoice::Last);

    const fs::path roundwoodPath =
        RuleFile(data.Roundwood(), specs.RoundwoodName, specsPath, "roundwood product set");
    market.Roundwood = ReadRoundwoodProducts(roundwoodPath);

    const fs::path logRulePath =
        RuleFile(data.LogRules(), specs.LogRuleName, specsPath, "log rule");
    market.LogRule = ReadLogRule(logRulePath);

    const fs::path filterPath =
        RuleFile(data.Filters(), specs.FilterSetName, specsPath, "defect filter set");
    market.Filter = ReadDefectFilterSet(filterPath);

    market.OptmcutsPath = data.OptimalCutsFile(name);
    return market;
}

Market LoadMarket(const DataFolder& data, std::string_view name) {
    CheckMarketExists(data, name);
    return BuildMarket(data, name, ReadMarketSpecs(data.MarketSpecsFile(name)));
}

} // namespace varnok
