#include "market/MarketComputation.h"

#include "market/OptimalCuts.h"
#include "optimiser/Optimiser.h"
#include "support/Errors.h"
#include "support/Files.h"
#include "tree/TreeLoad.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace varnok {
namespace fs = std::filesystem;

namespace {

void CheckNames(const MarketDefinition& d) {
    CheckPlainName(d.Name, "market");
    CheckPlainName(d.LogRule, "log rule");
    CheckPlainName(d.VeneerRules, "veneer grading rule");
    CheckPlainName(d.SawlogRules, "sawlog grading rule");
    CheckPlainName(d.PriceSet, "price set");
    CheckPlainName(d.FilterSet, "defect filter set");
    CheckPlainName(d.Roundwood, "roundwood product set");
    if (d.TrimAllowance != 4 && d.TrimAllowance != 8) {
        throw VarnokError("The trim allowance must be 4 or 8 inches, not " +
                          std::to_string(d.TrimAllowance) + ".");
    }
}

MarketSpecs MakeSpecs(const DataFolder& data, const MarketDefinition& d) {
    MarketSpecs specs;
    specs.TrimAllowance = static_cast<std::uint8_t>(d.TrimAllowance);
    specs.SawlogRuleName = d.SawlogRules;
    specs.LogRuleName = d.LogRule;
    specs.VeneerRuleName = d.VeneerRules;
    specs.PriceSetName = d.PriceSet;
    specs.FilterSetName = d.FilterSet;
    specs.RoundwoodName = d.Roundwood;
    const std::vector<std::uint8_t> veneer = ReadRecord(
        FindEntry(data.Veneer(), d.VeneerRules), MarketSpecs::kVeneerSize, RecordChoice::First);
    std::copy(veneer.begin(), veneer.end(), specs.VeneerRecord.begin());
    return specs;
}

// Hands out tree numbers to workers and takes their results back, so that the results are
// stored strictly in tree order and nothing after a failed tree is stored.
class TreeQueue {
public:
    explicit TreeQueue(int treeCount) : results_(static_cast<std::size_t>(treeCount)) {}

    // The next tree to compute, or nothing when all are handed out or a tree failed.
    std::optional<int> Next() {
        std::lock_guard lock(mutex_);
        if (failedTree_ != 0 || next_ > static_cast<int>(results_.size())) {
            return std::nullopt;
        }
        return next_++;
    }

    void Done(int tree, OptimalCutEntry entry) {
        std::lock_guard lock(mutex_);
        results_[static_cast<std::size_t>(tree - 1)] = entry;
        changed_.notify_all();
    }

    void Failed(int tree, std::exception_ptr error) {
        std::lock_guard lock(mutex_);
        if (failedTree_ == 0 || tree < failedTree_) {
            failedTree_ = tree;
            error_ = std::move(error);
        }
        changed_.notify_all();
    }

    // Waits for tree `tree`; its entry, or nothing when a tree at or before it failed.
    std::optional<OptimalCutEntry> WaitFor(int tree) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
            return results_[static_cast<std::size_t>(tree - 1)].has_value() ||
                   (failedTree_ != 0 && failedTree_ <= tree);
        });
        if (failedTree_ != 0 && failedTree_ <= tree) {
            return std::nullopt;
        }
        return results_[static_cast<std::size_t>(tree - 1)];
    }

    std::exception_ptr Error() {
        std::lock_guard lock(mutex_);
        return error_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<OptimalCutEntry>> results_;
    int next_ = 1;
    int failedTree_ = 0;
    std::exception_ptr error_;
};

OptimalCutEntry OptimiseOneTree(const DataFolder& data, const Market& market, int treeNumber,
                                Tree& tree) {
    LoadTree(tree, data, treeNumber, market.Filter);
    Optimiser optimiser(tree, market);
    try {
        return MakeOptimalCutEntry(optimiser.OptimiseTree().Cuts);
    } catch (const FileError&) {
        throw;
    } catch (const VarnokError& error) {
        throw VarnokError("Tree " + std::to_string(treeNumber) + ": " + error.what());
    }
}

void Worker(const DataFolder& data, const Market& market, TreeQueue& queue) {
    auto tree = std::make_unique<Tree>();
    while (const std::optional<int> number = queue.Next()) {
        try {
            queue.Done(*number, OptimiseOneTree(data, market, *number, *tree));
        } catch (...) {
            queue.Failed(*number, std::current_exception());
        }
    }
}

} // namespace

Market ComputeMarket(const DataFolder& data, const MarketDefinition& definition, int jobs,
                     const MarketProgress& progress) {
    CheckNames(definition);
    const fs::path folder = data.Markets() / fs::path(definition.Name);
    std::error_code ec;
    if (fs::exists(folder, ec)) {
        throw FileError(folder, "I/O error 183: a market named \"" + definition.Name +
                                    "\" exists already; remove its folder to compute it again");
    }
    const MarketSpecs specs = MakeSpecs(data, definition);
    const fs::path specsPath = folder / "Specs";
    Market market = BuildMarket(data, definition.Name, specs, specsPath);

    fs::create_directories(data.Markets(), ec);
    if (!fs::create_directory(folder, ec)) {
        throw FileError(folder, ec ? IoErrorText(ec.value()) : "I/O error 183");
    }
    WriteMarketSpecs(specsPath, specs);

    OptimalCutsTable table;
    RewrittenFile optmcuts(market.OptmcutsPath);
    optmcuts.Rewrite(table.Encode());
    const int threads = std::clamp(
        jobs > 0 ? jobs : static_cast<int>(std::thread::hardware_concurrency()), 1, kTreeCount);
    TreeQueue queue(kTreeCount);
    std::vector<std::jthread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] { Worker(data, market, queue); });
    }
    std::exception_ptr writeError;
    for (int n = 1; n <= kTreeCount; ++n) {
        const std::optional<OptimalCutEntry> entry = queue.WaitFor(n);
        if (!entry) {
            break;
        }
        table.Entry(n) = *entry;
        try {
            optmcuts.Rewrite(table.Encode());
        } catch (...) {
            writeError = std::current_exception();
            queue.Failed(n, writeError);
            break;
        }
        if (progress) {
            progress(n, kTreeCount);
        }
    }
    workers.clear(); // joins
    if (std::exception_ptr error = queue.Error()) {
        std::rethrow_exception(error);
    }
    return market;
}

} // namespace varnok
