#pragma once

#include "market/Market.h"
#include "support/DataFolder.h"

#include <functional>
#include <string>

namespace varnok {

// What a new market is made of: a name, a trim allowance (4 or 8 inches) and the names of one
// rule set of each kind in its folder.
struct MarketDefinition {
    std::string Name;
    int TrimAllowance = 8;
    std::string LogRule;
    std::string VeneerRules;
    std::string SawlogRules;
    std::string PriceSet;
    std::string FilterSet;
    std::string Roundwood;
};

// Called after each tree's pattern is stored, in tree order: the tree number and the count of
// trees (150). Runs on the calling thread.
using MarketProgress = std::function<void(int treeNumber, int treeCount)>;

// Defines and computes a market: checks every name before any file is touched, refuses an
// existing market folder ("I/O error 183"), loads the rule sets (the veneer rules are copied
// into Specs), creates the folder, writes "Specs", then finds the optimal pattern of trees 1 to
// 150 on `jobs` threads (0 = one per core) and stores them in "Optmcuts" in tree order, so the
// file is the same byte for byte whatever the number of threads.
// A missing or bad tree file stops the computation at that tree with its error; the entries of
// the trees before it stay in "Optmcuts" and the rest stay zero. Throws VarnokError or
// FileError; on success returns the new market, ready to be made current.
Market ComputeMarket(const DataFolder& data, const MarketDefinition& definition, int jobs,
                     const MarketProgress& progress);

} // namespace varnok
