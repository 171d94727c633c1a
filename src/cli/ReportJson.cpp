#include "cli/ReportJson.h"

namespace varnok {

nlohmann::json CutLocationsToJson(const OptimalCutsTable& table, int from, int to) {
    nlohmann::json trees = nlohmann::json::array();
    for (int t = from; t <= to; ++t) {
        trees.push_back({{"tree", t}, {"cuts", CutPositions(table.Entry(t))}});
    }
    return trees;
}

nlohmann::json ResearchToJson(const ResearchResults& results, int from, int to) {
    nlohmann::json trees = nlohmann::json::array();
    for (int t = from; t <= to; ++t) {
        nlohmann::json logs = nlohmann::json::array();
        const auto found = results.find(t);
        if (found != results.end()) {
            int segment = 0;
            for (const ResearchEntry& e : found->second) {
                logs.push_back({{"segment", ++segment},
                                {"start", e.StartPosition},
                                {"end", e.EndPosition},
                                {"length", e.LengthInches},
                                {"product", e.ProductName},
                                {"product_class", e.ProductClass},
                                {"sed", e.SED},
                                {"led", e.LED},
                                {"sweep", static_cast<double>(e.Sweep)},
                                {"sweep_deduction", static_cast<double>(e.SweepDeduction)},
                                {"deduction", static_cast<double>(e.Deduction)},
                                {"volume", e.Volume},
                                {"volume_unit", e.VolumeUnit},
                                {"value", static_cast<double>(e.Value)}});
            }
        }
        trees.push_back({{"tree", t}, {"logs", logs}});
    }
    return trees;
}

nlohmann::json MarketSpecsToJson(const std::string& market, const MarketSpecs& specs) {
    return {{"market", market},
            {"veneer_rule", specs.VeneerRuleName},
            {"sawlog_rule", specs.SawlogRuleName},
            {"roundwood", specs.RoundwoodName},
            {"log_rule", specs.LogRuleName},
            {"price_set", specs.PriceSetName},
            {"filter_set", specs.FilterSetName},
            {"trim_allowance", specs.TrimAllowance}};
}

} // namespace varnok
