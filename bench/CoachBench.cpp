// Speed of coaching on the largest bundled tree of the first bundled market: the per-tree
// precomputation against one optimisation of the same tree (target: under 1.2 times it), and
// the queries the game asks on every mouse move, on patterns of 27 and of 8 cuts (the
// benchmark's argument). The game's own work: the cost strip after a cut (target: under 2 ms)
// and a read-out update with its coaching line (target: under 50 microseconds).

#include "BundledTrees.h"
#include "coach/Coach.h"
#include "coach/CostStrip.h"
#include "game/Bucking.h"
#include "game/StemView.h"
#include "optimiser/Optimiser.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace varnok {
namespace {

using bench::Bundled;

// The bundled tree with the longest stem; null without bundled data.
const Tree* Largest(benchmark::State& state) {
    const bench::BundledSet* set = Bundled();
    if (set == nullptr || set->Trees.empty()) {
        state.SkipWithError("no bundled market");
        return nullptr;
    }
    std::size_t largest = 0;
    for (std::size_t i = 1; i < set->Trees.size(); ++i) {
        if (set->Trees[i]->Stem.StemLength > set->Trees[largest]->Stem.StemLength) {
            largest = i;
        }
    }
    state.counters["tree"] = set->Numbers[largest];
    state.counters["inches"] = set->Trees[largest]->Stem.StemLength;
    return set->Trees[largest].get();
}

const Market& TheMarket() {
    return Bundled()->TheMarket;
}

// `count` cuts, butt and top included, as the game places them: on the 4-inch grid from the
// butt, spread evenly. 27 is the most a pattern holds (gaps of 56 inches on the longest stem,
// too short for a log); 8 is a bucker's pattern of 17 ft logs. With `offset`, the inner cuts
// lie that many inches off the grid, as the command line allows.
std::vector<int> EvenCuts(const Tree& tree, int count, int offset = 0) {
    const int top = tree.Stem.StemLength;
    const int step = top / (count - 1) / kCutStep * kCutStep;
    std::vector<int> cuts = {0};
    for (int k = 1; k + 1 < count; ++k) {
        cuts.push_back(k * step + offset);
    }
    cuts.push_back(top);
    return cuts;
}

int CutCount(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

void BM_CoachOptimiseBaseline(benchmark::State& state) {
    const Tree* tree = Largest(state);
    if (tree == nullptr) {
        return;
    }
    for (auto _ : state) {
        Optimiser optimiser(*tree, TheMarket());
        benchmark::DoNotOptimize(optimiser.OptimiseTree());
    }
}
BENCHMARK(BM_CoachOptimiseBaseline)->Unit(benchmark::kMillisecond);

void BM_CoachPrecompute(benchmark::State& state) {
    const Tree* tree = Largest(state);
    if (tree == nullptr) {
        return;
    }
    for (auto _ : state) {
        Coach coach(*tree, TheMarket());
        benchmark::DoNotOptimize(coach.OptimalValue());
    }
}
BENCHMARK(BM_CoachPrecompute)->Unit(benchmark::kMillisecond);

// Times `query(coach, cuts)` on a coach built once, after one untimed call, so that spans off
// the grid are already kept.
template <typename Query> void TimeQuery(benchmark::State& state, int offset, Query query) {
    const Tree* tree = Largest(state);
    if (tree == nullptr) {
        return;
    }
    Coach coach(*tree, TheMarket());
    const std::vector<int> cuts = EvenCuts(*tree, CutCount(state), offset);
    query(coach, cuts);
    for (auto _ : state) {
        query(coach, cuts);
    }
}

void BM_CoachBestCompletion(benchmark::State& state) {
    TimeQuery(state, 0, [](Coach& coach, const std::vector<int>& cuts) {
        benchmark::DoNotOptimize(coach.BestCompletion(cuts));
    });
}
BENCHMARK(BM_CoachBestCompletion)->Arg(27)->Arg(8)->Unit(benchmark::kMicrosecond);

void BM_CoachLoss(benchmark::State& state) {
    TimeQuery(state, 0, [](Coach& coach, const std::vector<int>& cuts) {
        benchmark::DoNotOptimize(coach.Loss(cuts));
    });
}
BENCHMARK(BM_CoachLoss)->Arg(27)->Arg(8)->Unit(benchmark::kMicrosecond);

void BM_CoachCutCosts(benchmark::State& state) {
    TimeQuery(state, 0, [](Coach& coach, const std::vector<int>& cuts) {
        benchmark::DoNotOptimize(coach.CutCosts(cuts));
    });
}
BENCHMARK(BM_CoachCutCosts)->Arg(27)->Arg(8)->Unit(benchmark::kMicrosecond);

// The mouse sweeps the stem from butt to top, one grid point a query.
void BM_CoachValueWithCutAt(benchmark::State& state) {
    int position = 0;
    TimeQuery(state, 0, [&position](Coach& coach, const std::vector<int>& cuts) {
        benchmark::DoNotOptimize(coach.ValueWithCutAt(cuts, position));
        position = position + kCutStep > coach.StemLength() ? 0 : position + kCutStep;
    });
}
BENCHMARK(BM_CoachValueWithCutAt)->Arg(27)->Arg(8)->Unit(benchmark::kMicrosecond);

// All three answers a pattern gets when it changes: completion, loss and cut costs.
void BM_CoachWholeAnswer(benchmark::State& state) {
    TimeQuery(state, 0, [](Coach& coach, const std::vector<int>& cuts) {
        benchmark::DoNotOptimize(coach.BestCompletion(cuts));
        benchmark::DoNotOptimize(coach.Loss(cuts));
        benchmark::DoNotOptimize(coach.CutCosts(cuts));
    });
}
BENCHMARK(BM_CoachWholeAnswer)->Arg(27)->Arg(8)->Unit(benchmark::kMicrosecond);

// Cuts 1 inch off the grid need spans the precomputation never valued. The first query on a
// fresh coach values them; later ones find them kept.
void BM_CoachOffGridFirstQuery(benchmark::State& state) {
    const Tree* tree = Largest(state);
    if (tree == nullptr) {
        return;
    }
    const std::vector<int> cuts = EvenCuts(*tree, CutCount(state), 1);
    for (auto _ : state) {
        state.PauseTiming();
        Coach coach(*tree, TheMarket());
        state.ResumeTiming();
        benchmark::DoNotOptimize(coach.BestCompletion(cuts));
    }
}
// Each iteration builds a coach untimed (about a millisecond): a fixed count keeps the run short.
BENCHMARK(BM_CoachOffGridFirstQuery)
    ->Arg(27)
    ->Arg(8)
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);

void BM_CoachOffGridLaterQuery(benchmark::State& state) {
    TimeQuery(state, 1, [](Coach& coach, const std::vector<int>& cuts) {
        benchmark::DoNotOptimize(coach.BestCompletion(cuts));
    });
}
BENCHMARK(BM_CoachOffGridLaterQuery)->Arg(27)->Arg(8)->Unit(benchmark::kMicrosecond);

// After each cut the window works out the strip for the new pattern; the pattern is what it
// would be after the last cut of an even pattern.
void BM_CoachCostStripAfterCut(benchmark::State& state) {
    TimeQuery(state, 0, [](Coach& coach, const std::vector<int>& cuts) {
        benchmark::DoNotOptimize(BuildCostStrip(coach, cuts));
    });
}
BENCHMARK(BM_CoachCostStripAfterCut)->Arg(27)->Arg(8)->Arg(2)->Unit(benchmark::kMillisecond);

// One mouse move over the stem while coaching: the read-out worked out and its coaching line
// read from the strip. The mouse sweeps the stem from butt to top, one picture pixel a move.
void BM_CoachReadOutUpdate(benchmark::State& state) {
    const Tree* tree = Largest(state);
    if (tree == nullptr) {
        return;
    }
    Coach coach(*tree, TheMarket());
    const std::vector<int> cuts = EvenCuts(*tree, CutCount(state));
    const CostStrip strip = BuildCostStrip(coach, cuts);
    const int length = tree->Stem.StemLength;
    StemView view;
    view.CentreX = 512;
    view.CentreY = 346;
    view.StemLength = length;
    view.ButtX = 512 - length / 2;
    view.TopX = view.ButtX + length;
    view.Stations = {{0, 30, 0, 0}, {length, 10, 0, 0}};
    GameState game;
    game.StartTree(1, view);
    for (const int cut : cuts) {
        if (cut > 0 && cut < length) {
            game.MoveMouse(view, view.ButtX + cut, 300);
            game.Click(true);
        }
    }
    double x = view.ButtX;
    for (auto _ : state) {
        const std::optional<ReadOut> readOut = game.MoveMouse(view, x, 300);
        benchmark::DoNotOptimize(readOut);
        benchmark::DoNotOptimize(MakeCoachReadOut(strip, readOut->SnappedX - view.ButtX));
        x = x + 1.0 > view.TopX ? view.ButtX : x + 1.0;
    }
}
BENCHMARK(BM_CoachReadOutUpdate)->Arg(27)->Arg(8)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace varnok
