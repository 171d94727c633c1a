// Speed of the optimiser and of pattern evaluation. Run: build/bench/varnok_bench
// The synthetic 60 ft stem stands for a typical sawtimber tree under full market rules (three
// sawlog grades, three veneer grades, roundwood); the bundled benchmarks run every sample tree
// of the first bundled market.

#include "BundledTrees.h"
#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "optimiser/Optimiser.h"
#include "services/MarketComputation.h"
#include "support/Files.h"
#include "tree/TreeLoad.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace varnok {
namespace {

namespace fs = std::filesystem;

// A data folder holding the golden rules and market and tree 1 replaced by a 60 ft stem with
// sweep, knots, seams, decay and stain.
fs::path MakeBenchFolder() {
    const fs::path root = fs::temp_directory_path() / "varnok-bench-data";
    fs::remove_all(root);
    fs::copy(VARNOK_GOLDEN_DATA_DIR, root, fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
    std::ofstream shape(root / "Shapes" / "Tree1.SHP", std::ios::binary);
    shape << "Benchmark stem: 60 ft\r\n";
    for (int station = 0; station <= 15; ++station) {
        const double feet = station * 4.0;
        const int diameter = 24 - (station * 10) / 15;
        const double bow = station > 5 && station < 11 ? 1.5 : 0.0;
        char line[32];
        std::snprintf(line, sizeof line, "%4.1f%4d%4.1f%4.1f\r\n", feet, diameter,
                      (24 - diameter) / 2.0 + bow, (24 - diameter) / 2.0);
        shape << line;
    }
    std::ofstream defects(root / "Defects" / "Tree1.DEF", std::ios::binary);
    defects << "SK  6.0    4    2    2\r\n"
               "SK 14.5   20    1    1\r\n"
               "OK 22.0   31    3    4\r\n"
               "SK 27.0    9    2    2\r\n"
               "SK 33.5   15    1    1\r\n"
               "UK 38.0   26    2    3\r\n"
               "SK 44.0    2    1    1\r\n"
               "SK 47.5   33    2    2\r\n"
               "SK 52.0   12    3    3\r\n"
               "SK 56.0   24    2    2\r\n"
               "SE 18.0    7 30.0    9\r\n"
               "SE 40.0   28 46.0   28\r\n"
               " DY  0.0  5.0    6    0\r\n"
               "ST 30.0 36.0    2    3\r\n";
    return root;
}

struct Loaded {
    DataFolder Data;
    Market TheMarket;
    std::unique_ptr<Tree> TheTree;
};

Loaded& Synthetic() {
    static Loaded loaded = [] {
        DataFolder data(MakeBenchFolder());
        Market market = LoadMarket(data, "Hardwood8");
        std::unique_ptr<Tree> tree = LoadTree(data, 1, market.Filter);
        return Loaded{data, std::move(market), std::move(tree)};
    }();
    return loaded;
}

void BM_OptimiseTree60ft(benchmark::State& state) {
    Loaded& l = Synthetic();
    for (auto _ : state) {
        Optimiser optimiser(*l.TheTree, l.TheMarket);
        benchmark::DoNotOptimize(optimiser.OptimiseTree());
    }
}
BENCHMARK(BM_OptimiseTree60ft)->Unit(benchmark::kMillisecond);

void BM_EvaluateSixLogPattern(benchmark::State& state) {
    Loaded& l = Synthetic();
    const std::vector<int> cuts = {0, 104, 232, 360, 464, 592, 720};
    for (auto _ : state) {
        benchmark::DoNotOptimize(EvaluatePattern(*l.TheTree, l.TheMarket, cuts));
    }
}
BENCHMARK(BM_EvaluateSixLogPattern)->Unit(benchmark::kMicrosecond);

void BM_LoadTree(benchmark::State& state) {
    Loaded& l = Synthetic();
    for (auto _ : state) {
        const std::unique_ptr<Tree> tree = LoadTree(l.Data, 1, l.TheMarket.Filter);
        benchmark::DoNotOptimize(tree->Stem.StemLength);
    }
}
BENCHMARK(BM_LoadTree)->Unit(benchmark::kMicrosecond);

using bench::Bundled;
using bench::BundledSet;

// The bundled sample tree whose stem is nearest 60 ft, under the first bundled market.
void BM_OptimiseBundledTreeNear60ft(benchmark::State& state) {
    const BundledSet* set = Bundled();
    if (set == nullptr || set->Trees.empty()) {
        state.SkipWithError("no bundled market");
        return;
    }
    std::size_t nearest = 0;
    for (std::size_t i = 0; i < set->Trees.size(); ++i) {
        if (std::abs(set->Trees[i]->Stem.StemLength - 720) <
            std::abs(set->Trees[nearest]->Stem.StemLength - 720)) {
            nearest = i;
        }
    }
    const Tree& tree = *set->Trees[nearest];
    for (auto _ : state) {
        Optimiser optimiser(tree, set->TheMarket);
        benchmark::DoNotOptimize(optimiser.OptimiseTree());
    }
    state.counters["tree"] = set->Numbers[nearest];
    state.counters["inches"] = tree.Stem.StemLength;
}
BENCHMARK(BM_OptimiseBundledTreeNear60ft)->Unit(benchmark::kMillisecond);

// Every bundled sample tree of the first bundled market, optimised in turn.
void BM_OptimiseBundledTrees(benchmark::State& state) {
    const BundledSet* set = Bundled();
    if (set == nullptr) {
        state.SkipWithError("no bundled market");
        return;
    }
    for (auto _ : state) {
        for (const auto& tree : set->Trees) {
            Optimiser optimiser(*tree, set->TheMarket);
            benchmark::DoNotOptimize(optimiser.OptimiseTree());
        }
    }
    state.counters["trees"] = static_cast<double>(set->Trees.size());
}
BENCHMARK(BM_OptimiseBundledTrees)->Unit(benchmark::kMillisecond);

// The default bundled market computed afresh on one thread, as varnok-cli compute-market --jobs 1
// does it: 150 tree loads and optimisations and the Optmcuts file rewritten after each tree.
void BM_ComputeBundledMarketOneThread(benchmark::State& state) {
    const DataFolder bundled(VARNOK_BUNDLED_DATA_DIR);
    const fs::path specsPath = bundled.MarketSpecsFile("Appalachian Doyle");
    if (!fs::exists(specsPath)) {
        state.SkipWithError("no bundled market");
        return;
    }
    const fs::path root = fs::temp_directory_path() / "varnok-bench-market";
    fs::remove_all(root);
    fs::copy(VARNOK_BUNDLED_DATA_DIR, root, fs::copy_options::recursive);
    const DataFolder data(root);
    const MarketSpecs specs = ReadMarketSpecs(specsPath);
    MarketDefinition definition{"Bench",
                                specs.TrimAllowance,
                                specs.LogRuleName,
                                specs.VeneerRuleName,
                                specs.SawlogRuleName,
                                specs.PriceSetName,
                                specs.FilterSetName,
                                specs.RoundwoodName};
    for (auto _ : state) {
        fs::remove_all(data.MarketFolder(definition.Name));
        benchmark::DoNotOptimize(ComputeMarket(data, definition, 1, nullptr));
    }
    fs::remove_all(root);
}
BENCHMARK(BM_ComputeBundledMarketOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace varnok

BENCHMARK_MAIN();
