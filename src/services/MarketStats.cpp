#include "services/MarketStats.h"

#include "game/PatternEvaluation.h"
#include "market/OptimalCuts.h"
#include "support/Errors.h"
#include "tree/TreeLoad.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

namespace varnok {
namespace {

double Net(const PatternEvaluation& e) {
    return static_cast<double>(e.Returns) - static_cast<double>(e.CullPenalty);
}

} // namespace

double MarketStats::NaiveLossPercent() const {
    return OptimalTotal > 0.0 ? (OptimalTotal - NaiveTotal) / OptimalTotal * 100.0 : 0.0;
}

std::vector<int> NaiveCuts(const LogLengthSet& lengths, int stemLength) {
    std::vector<int> cuts = {0};
    int position = 0;
    while (stemLength - position >= lengths.MaxLength) {
        position += lengths.MaxLength;
        cuts.push_back(position);
    }
    for (int i = 3; i >= 0; --i) {
        const int length = lengths.Lengths[static_cast<std::size_t>(i)];
        if (stemLength - position >= length) {
            position += length;
            cuts.push_back(position);
            break;
        }
    }
    if (position < stemLength) {
        cuts.push_back(stemLength);
    }
    return cuts;
}

int TreesStored(const OptimalCutsTable& table) {
    for (int n = kTreeCount; n >= 1; --n) {
        if (!CutPositions(table.Entry(n)).empty()) {
            return n;
        }
    }
    return 0;
}

std::vector<MarketListing> ListMarketsWithProgress(const DataFolder& data) {
    std::vector<MarketListing> listing;
    for (const std::string& name : ListMarkets(data)) {
        MarketListing market{name, 0, {}};
        try {
            market.TreesStored = TreesStored(ReadOptimalCuts(data.OptimalCutsFile(name)));
        } catch (const VarnokError& error) {
            market.Problem = error.what();
        }
        listing.push_back(std::move(market));
    }
    return listing;
}

MarketStats ComputeMarketStats(const DataFolder& data, const Market& market) {
    const OptimalCutsTable table = ReadOptimalCuts(market.OptmcutsPath);
    MarketStats stats;
    stats.TreesStored = TreesStored(table);
    for (int n = 1; n <= kTreeCount; ++n) {
        if (CutPositions(table.Entry(n)).empty()) {
            continue;
        }
        const std::unique_ptr<Tree> tree = LoadTree(data, n, market.Filter);
        const std::vector<int> cuts = StoredOptimalCuts(table, market.OptmcutsPath, n, *tree);
        const PatternEvaluation optimal = EvaluatePattern(*tree, market, cuts);
        const PatternEvaluation naive =
            EvaluatePattern(*tree, market, NaiveCuts(market.Lengths(), tree->Stem.StemLength));
        TreeValueStats treeStats{n, Net(optimal), Net(naive), 0};
        for (const EvaluatedPiece& piece : optimal.Pieces) {
            if (!piece.Log.Graded) {
                ++stats.WastePieces;
                continue;
            }
            ++stats.LogsByProduct[piece.Log.Segment.ProductClass];
            ++stats.GradedLogs;
            ++treeStats.OptimalLogs;
        }
        stats.OptimalTotal += treeStats.Optimal;
        stats.NaiveTotal += treeStats.Naive;
        stats.Trees.push_back(treeStats);
    }
    if (!stats.Trees.empty()) {
        std::vector<double> values;
        for (const TreeValueStats& t : stats.Trees) {
            values.push_back(t.Optimal);
        }
        std::sort(values.begin(), values.end());
        stats.MinTree = values.front();
        stats.MaxTree = values.back();
        const std::size_t mid = values.size() / 2;
        stats.MedianTree =
            values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
    }
    return stats;
}

} // namespace varnok
