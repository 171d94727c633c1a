#pragma once

#include "market/Market.h"
#include "market/OptimalCuts.h"
#include "support/DataFolder.h"
#include "tree/Tree.h"
#include "tree/TreeLoad.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace varnok::bench {

// The first bundled market and every bundled tree loaded through it.
struct BundledSet {
    Market TheMarket;
    std::vector<std::unique_ptr<Tree>> Trees;
    std::vector<int> Numbers; // tree numbers, parallel to Trees
};

// Loaded once per program; null without bundled data. Throws what the loads throw.
inline const BundledSet* Bundled() {
    static const std::unique_ptr<BundledSet> set = []() -> std::unique_ptr<BundledSet> {
        const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
        const std::vector<std::string> markets = ListMarkets(data);
        if (markets.empty()) {
            return nullptr;
        }
        auto loaded = std::make_unique<BundledSet>();
        loaded->TheMarket = LoadMarket(data, markets.front());
        for (int n = 1; n <= kTreeCount; ++n) {
            if (std::filesystem::exists(data.ShapeFile(n))) {
                loaded->Trees.push_back(LoadTree(data, n, loaded->TheMarket.Filter));
                loaded->Numbers.push_back(n);
            }
        }
        return loaded;
    }();
    return set.get();
}

} // namespace varnok::bench
