// Speed of building the stem picture's geometry when a tree is shown. Target: under 20 ms for
// the longest bundled stem, so that showing a tree never feels slow.

#include "game/StemView.h"
#include "market/Market.h"
#include "tree/ShapeFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>

namespace varnok {
namespace {

struct LongestTree {
    DataFolder Data;
    Market TheMarket;
    int Number = 0;
    int Length = 0; // inches
};

// The bundled tree with the greatest stem length under "Appalachian Doyle"; nothing without
// the bundled data.
const std::optional<LongestTree>& Longest() {
    static const std::optional<LongestTree> longest = []() -> std::optional<LongestTree> {
        const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
        if (!std::filesystem::exists(data.MarketSpecsFile("Appalachian Doyle"))) {
            return std::nullopt;
        }
        LongestTree found{data, LoadMarket(data, "Appalachian Doyle")};
        for (int n = 1; n <= 150; ++n) {
            if (!std::filesystem::exists(data.ShapeFile(n))) {
                continue;
            }
            const int length = ReadCrossSections(data.ShapeFile(n)).back().Position;
            if (length > found.Length) {
                found.Number = n;
                found.Length = length;
            }
        }
        if (found.Number == 0) {
            return std::nullopt;
        }
        return found;
    }();
    return longest;
}

void BM_StemViewLoadLargestBundledTree(benchmark::State& state) {
    const std::optional<LongestTree>& tree = Longest();
    if (!tree) {
        state.SkipWithError("no bundled market \"Appalachian Doyle\" or trees");
        return;
    }
    for (auto _ : state) {
        StemView view = LoadStemView(tree->Data, tree->Number, tree->TheMarket.Filter, 1024, 692);
        benchmark::DoNotOptimize(view);
    }
    state.counters["tree"] = tree->Number;
    state.counters["inches"] = tree->Length;
}
BENCHMARK(BM_StemViewLoadLargestBundledTree)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace varnok
