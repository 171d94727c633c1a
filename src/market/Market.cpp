#include "market/Market.h"

#include "support/Errors.h"
#include "support/Files.h"

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

std::vector<std::string> ListMarkets(const DataFolder& data) {
    return ListFolders(data.Markets());
}

Market BuildMarket(const DataFolder& data, std::string_view name, const MarketSpecs& specs,
                   const fs::path& specsPath) {
    Market market;
    market.Name = std::string(name);
    market.Specs = specs;
    if (specs.TrimAllowance != 4 && specs.TrimAllowance != 8) {
        throw FileError(specsPath, "the trim allowance is " + std::to_string(specs.TrimAllowance) +
                                       " inches; it must be 4 or 8");
    }
    market.TrimAllowance = specs.TrimAllowance;
    market.Lengths = LogLengthSet::FromTrim(specs.TrimAllowance);

    const fs::path pricePath = RuleFile(data.Prices(), specs.PriceSetName, specsPath, "price set");
    market.Prices = ConvertPriceSet(ReadPriceSet(pricePath), specs.PriceSetName);

    const fs::path sawPath =
        RuleFile(data.SawGrades(), specs.SawlogRuleName, specsPath, "sawlog grading rule");
    market.SawlogRules = ReadSawlogRuleSet(sawPath, RecordChoice::Last);
    market.FacesMode = market.SawlogRules.IsFacesMode();

    const fs::path roundwoodPath =
        RuleFile(data.Roundwood(), specs.RoundwoodName, specsPath, "roundwood product set");
    market.Roundwood = ReadRoundwoodProducts(roundwoodPath);

    const fs::path logRulePath =
        RuleFile(data.LogRules(), specs.LogRuleName, specsPath, "log rule");
    market.LogRule = ReadLogRule(logRulePath);

    const fs::path filterPath =
        RuleFile(data.Filters(), specs.FilterSetName, specsPath, "defect filter set");
    market.Filter = ReadDefectFilterSet(filterPath);

    market.VeneerRules = VeneerRuleSet::Decode(specs.VeneerRecord);
    market.OptmcutsPath = data.Markets() / fs::path(std::string(name)) / "Optmcuts";
    market.ResearchMarket = name == "RESEARCH";
    return market;
}

Market LoadMarket(const DataFolder& data, std::string_view name) {
    CheckPlainName(name, "market");
    const fs::path folder = data.Markets() / fs::path(std::string(name));
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        throw VarnokError("There is no market \"" + std::string(name) + "\" in " +
                          data.Markets().string() + ".");
    }
    const fs::path specsPath = folder / "Specs";
    return BuildMarket(data, name, ReadMarketSpecs(specsPath), specsPath);
}

} // namespace varnok
