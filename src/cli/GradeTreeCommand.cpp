// `varnok-cli grade-tree`: the butt-log tree grade of a tree and the trial logs behind it.

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "game/TreeGrading.h"

#include <iomanip>
#include <iostream>

namespace varnok::cli {

int Commands::GradeTree() {
    Loaded loaded = LoadMarketAndTree();
    Market& market = loaded.TheMarket;
    if (options_.Trim != 0) {
        MarketSpecs specs = market.Specs();
        specs.TrimAllowance = static_cast<std::uint8_t>(options_.Trim);
        market.SetSpecs(specs);
    }
    const ButtLogGrade grade = GradeButtLog(*loaded.TheTree, market);
    const std::string text = ButtLogGradeText(grade.Code);
    if (options_.Json) {
        nlohmann::json trials = nlohmann::json::array();
        for (const ButtLogTrial& trial : grade.Trials) {
            trials.push_back(
                {{"start", trial.Start}, {"end", trial.End}, {"product", trial.ProductCode}});
        }
        PrintJson({{"market", options_.Market},
                   {"tree", options_.Tree},
                   {"trim", market.TrimAllowance()},
                   {"code", grade.Code},
                   {"grade", text},
                   {"trials", trials}});
        return 0;
    }
    std::cout << "Tree " << options_.Tree << " (market " << options_.Market << ", trim "
              << market.TrimAllowance() << " in): " << text << "\n\n"
              << "  start    end  product\n";
    for (const ButtLogTrial& trial : grade.Trials) {
        std::cout << std::setw(7) << trial.Start << std::setw(7) << trial.End << std::setw(9)
                  << trial.ProductCode << "  " << ButtLogGradeText(trial.ProductCode) << "\n";
    }
    return 0;
}

} // namespace varnok::cli
