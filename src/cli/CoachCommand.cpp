// `varnok-cli coach`: what a bucker's cuts cost against the optimum.

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "coach/Coach.h"
#include "support/Numbers.h"

#include <algorithm>
#include <iomanip>
#include <iostream>

namespace varnok::cli {

namespace {

// The optimal patterns end at the usable length, not at the top: a pattern given that way is
// coached as ending at the top, since the stub above the usable length is waste either way.
// Only that end moves; any other last cut is the bucker's.
std::vector<int> ToTheTop(std::vector<int> cuts, const Tree& tree) {
    const int top = tree.Stem.StemLength;
    if (!cuts.empty() && cuts.back() == top / 4 * 4) {
        cuts.back() = top;
    }
    return cuts;
}

std::string Dollars(double value) {
    return "$" + FormatFixed(value, 2);
}

std::string Positions(const std::vector<int>& cuts) {
    if (cuts.empty()) {
        return "-";
    }
    std::string text;
    for (const int cut : cuts) {
        text += (text.empty() ? "" : " ") + std::to_string(cut);
    }
    return text;
}

nlohmann::json ToJson(const Completion& completion, const std::vector<CutCost>& costs) {
    nlohmann::json gaps = nlohmann::json::array();
    for (const CoachedGap& gap : completion.Gaps) {
        gaps.push_back({{"start", gap.Start},
                        {"end", gap.End},
                        {"best_value", gap.BestValue},
                        {"cuts", gap.AddedCuts}});
    }
    nlohmann::json cutCosts = nlohmann::json::array();
    for (const CutCost& cost : costs) {
        cutCosts.push_back({{"position", cost.Position}, {"cost", cost.Cost}});
    }
    return {{"best_cuts", completion.BestCuts}, {"gaps", gaps}, {"cut_costs", cutCosts}};
}

void PrintTable(const Completion& completion, const std::vector<CutCost>& costs) {
    std::cout << "\n   from      to   best value  cuts added\n";
    for (const CoachedGap& gap : completion.Gaps) {
        std::cout << std::setw(7) << gap.Start << std::setw(8) << gap.End << std::setw(13)
                  << Dollars(gap.BestValue) << "  " << Positions(gap.AddedCuts) << "\n";
    }
    std::cout << "Best completion: " << Positions(completion.BestCuts) << "\n";
    if (costs.empty()) {
        return;
    }
    std::cout << "\n    cut        cost\n";
    for (const CutCost& cost : costs) {
        std::cout << std::setw(7) << cost.Position << std::setw(12) << Dollars(cost.Cost) << "\n";
    }
    if (const auto costliest = CostliestCut(costs)) {
        const CutCost& cost = costs[*costliest];
        std::cout << "Costliest cut: " << cost.Position << " (" << Dollars(cost.Cost) << ")\n";
    }
}

} // namespace

int Commands::CoachPattern() {
    const Loaded loaded = LoadMarketAndTree();
    const Tree& tree = *loaded.TheTree;
    std::vector<int> cuts = ParseCuts(options_.Cuts);
    CheckWholeStem(cuts, tree, options_.Tree);
    cuts = ToTheTop(std::move(cuts), tree);
    Coach coach(tree, loaded.TheMarket);
    const Completion completion = coach.BestCompletion(cuts);
    const std::vector<CutCost> costs = coach.CutCosts(cuts);
    const double loss = coach.Loss(cuts);
    const double withCut = options_.At ? coach.ValueWithCutAt(cuts, *options_.At) : 0.0;
    if (options_.Json) {
        nlohmann::json json = {{"market", options_.Market},
                               {"tree", options_.Tree},
                               {"optimal_value", coach.OptimalValue()},
                               {"best_value", completion.BestValue},
                               {"loss", loss}};
        json.update(ToJson(completion, costs));
        if (options_.At) {
            json["at"] = {{"position", *options_.At}, {"best_value", withCut}};
        }
        PrintJson(json);
        return 0;
    }
    std::cout << "Tree " << options_.Tree << " (market " << options_.Market
              << "), cuts: " << Positions(cuts) << "\n"
              << "Optimal value:          " << Dollars(coach.OptimalValue()) << "\n"
              << "Best with these cuts:   " << Dollars(completion.BestValue) << "\n"
              << "Loss:                   " << Dollars(loss) << "\n";
    PrintTable(completion, costs);
    if (options_.At) {
        std::cout << "\nWith one more cut at " << *options_.At << ": " << Dollars(withCut) << "\n";
    }
    return 0;
}

} // namespace varnok::cli
