#pragma once

#include "market/Market.h"
#include "support/DataFolder.h"

#include "market/OptimalCuts.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace varnok {

// One tree of a market: the net value (dollars: logs sold less cull charges) of its stored
// optimal pattern and of the naive pattern, 16 ft logs from the butt then the longest length
// that fits.
struct TreeValueStats {
    int Tree = 0;
    double Optimal = 0.0;
    double Naive = 0.0;
    int OptimalLogs = 0;
};

// How a market treats its trees, for instructors judging a market and for judging the data.
struct MarketStats {
    std::array<int, 11> LogsByProduct{}; // graded logs of the optimal patterns, by class 1 to 10
    int GradedLogs = 0;
    int WastePieces = 0; // pieces of the optimal patterns too short to grade
    double OptimalTotal = 0.0;
    double NaiveTotal = 0.0;
    double MinTree = 0.0; // optimal net value per tree
    double MedianTree = 0.0;
    double MaxTree = 0.0;
    std::vector<TreeValueStats> Trees; // trees with a stored pattern, in number order
    std::vector<int> Missing;          // as MissingTrees(table): empty for a complete market

    // Share of the optimal total lost by the naive patterns, percent; 0 for no value.
    double NaiveLossPercent() const;
    int TreesStored() const { return kTreeCount - static_cast<int>(Missing.size()); }
    bool Complete() const { return Missing.empty(); }
};

// The trees whose entry holds no pattern (is all zero), in number order. A market is complete
// only when there is none: a computation that stopped leaves the trees after the last one it
// stored, and damage can leave a hole anywhere. A stored pattern is never all zero for a stem
// of 4 inches or more.
std::vector<int> MissingTrees(const OptimalCutsTable& table);

// Tree numbers in words, runs joined: "tree 37", "trees 6 to 150", "trees 1 to 36, 38 to 150".
// Empty for no tree.
std::string TreeNumbersText(std::span<const int> trees);

// What an incomplete market holds, from its missing trees: "trees 1 to 4 of 150 stored" when
// the trees missing are the ones after the last stored (a computation that stopped), else with
// the missing named: "trees 1 to 36, 38 to 150 of 150 stored; none for tree 37"; "no tree
// stored" for none.
std::string StoredTreesText(std::span<const int> missing);

// A market of the data folder as a listing shows it.
struct MarketListing {
    std::string Name;
    std::vector<int> Missing; // as MissingTrees(table); empty when the optimal cuts cannot be read
    std::string Problem;      // why the optimal cuts cannot be read (the error's text), else empty
    bool BeingComputed = false; // a computation holds the market's lock now
    int TreesStored() const {
        return Problem.empty() ? kTreeCount - static_cast<int>(Missing.size()) : 0;
    }
    bool Complete() const { return Problem.empty() && Missing.empty(); }
};

// Every market of the data folder (ListMarkets order) with how much of it is computed and
// whether a computation (of this program or another) is at work on it. A market whose
// "Optmcuts" is missing or damaged is listed with the error as its Problem: listing never fails
// because of one market.
std::vector<MarketListing> ListMarketsWithProgress(const DataFolder& data);

// The naive cuts of a stem: butt, 16 ft logs while they fit, the longest allowed length that
// fits the rest, then the top (a shorter rest becomes a piece of its own).
std::vector<int> NaiveCuts(const LogLengthSet& lengths, int stemLength);

// Evaluates every tree with a stored optimal pattern, both ways. Throws FileError when
// "Optmcuts" or a tree file cannot be read.
MarketStats ComputeMarketStats(const DataFolder& data, const Market& market);

} // namespace varnok
