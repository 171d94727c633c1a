#include "services/MarketStats.h"

#include "game/PatternEvaluation.h"
#include "market/OptimalCuts.h"
#include "support/Errors.h"
#include "support/FileLock.h"
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

std::vector<int> MissingTrees(const OptimalCutsTable& table) {
    std::vector<int> missing;
    for (int n = 1; n <= kTreeCount; ++n) {
        if (CutPositions(table.Entry(n)).empty()) {
            missing.push_back(n);
        }
    }
    return missing;
}

std::string TreeNumbersText(std::span<const int> trees) {
    std::string text;
    for (std::size_t i = 0; i < trees.size();) {
        std::size_t last = i;
        while (last + 1 < trees.size() && trees[last + 1] == trees[last] + 1) {
            ++last;
        }
        text += (text.empty() ? "" : ", ") + std::to_string(trees[i]);
        if (last > i) {
            text += " to " + std::to_string(trees[last]);
        }
        i = last + 1;
    }
    if (text.empty()) {
        return text;
    }
    return (trees.size() == 1 ? "tree " : "trees ") + text;
}

std::string StoredTreesText(std::span<const int> missing) {
    std::vector<int> stored;
    for (int n = 1, m = 0; n <= kTreeCount; ++n) {
        if (m < static_cast<int>(missing.size()) && missing[static_cast<std::size_t>(m)] == n) {
            ++m;
        } else {
            stored.push_back(n);
        }
    }
    if (stored.empty()) {
        return "no tree stored";
    }
    std::string text = TreeNumbersText(stored) + " of " + std::to_string(kTreeCount) + " stored";
    // Only the trees after the last one stored are missing: what a stopped computation leaves.
    const bool tail = missing.empty() || missing.front() == stored.back() + 1;
    return tail ? text : text + "; none for " + TreeNumbersText(missing);
}

std::vector<MarketListing> ListMarketsWithProgress(const DataFolder& data) {
    std::vector<MarketListing> listing;
    for (const std::string& name : ListMarkets(data)) {
        MarketListing market{name, {}, {}};
        market.BeingComputed = FileLock::IsHeld(data.MarketLockFile(name));
        try {
            market.Missing = MissingTrees(ReadOptimalCuts(data.OptimalCutsFile(name)));
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
    stats.Missing = MissingTrees(table);
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
