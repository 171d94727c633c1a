#include "services/MarketComputation.h"

#include "market/OptimalCuts.h"
#include "optimiser/Optimiser.h"
#include "support/ByteBuffer.h"
#include "support/FileLock.h"
#include "support/Files.h"
#include "tree/TreeLoad.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace varnok {
namespace fs = std::filesystem;

namespace {

constexpr std::chrono::milliseconds kStoreInterval{50};

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
// stored strictly in tree order and nothing after a failed tree is stored. Workers run at most
// `ahead` trees beyond the last tree stored, so a stop or a failure leaves little work under
// way. Once stopped (or once a tree failed) it hands out no more trees.
class TreeQueue {
public:
    TreeQueue(int treeCount, int ahead, std::stop_token stop)
        : results_(static_cast<std::size_t>(treeCount)), ahead_(ahead), stop_(std::move(stop)) {}

    // The next tree to compute, or nothing when all are handed out, a tree failed or the
    // computation is stopped. Waits while the workers are `ahead` trees beyond the stored ones.
    std::optional<int> Next() {
        std::unique_lock lock(mutex_);
        const auto finished = [&] {
            return stopped_ || failedTree_ != 0 || next_ > static_cast<int>(results_.size());
        };
        changed_.wait(lock, stop_, [&] { return finished() || next_ <= stored_ + ahead_; });
        if (finished() || stop_.stop_requested()) {
            return std::nullopt;
        }
        return next_++;
    }

    // Tree `tree` is stored: the workers may go on beyond it.
    void Stored(int tree) {
        std::lock_guard lock(mutex_);
        stored_ = tree;
        changed_.notify_all();
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

    void Stop() {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

    // Waits at most `patience` for tree `tree` to be done, to fail or for the computation to
    // stop; whether one of them happened.
    bool Settled(int tree, std::chrono::milliseconds patience) {
        std::unique_lock lock(mutex_);
        const auto& result = results_[static_cast<std::size_t>(tree - 1)];
        return changed_.wait_for(lock, stop_, patience, [&] {
            return stopped_ || result.has_value() || (failedTree_ != 0 && failedTree_ <= tree);
        });
    }

    // Waits for tree `tree`; its entry, or nothing when a tree at or before it failed or the
    // computation is stopped (even when the tree is done: nothing is stored after a stop).
    std::optional<OptimalCutEntry> WaitFor(int tree) {
        std::unique_lock lock(mutex_);
        const auto& result = results_[static_cast<std::size_t>(tree - 1)];
        const bool ready = changed_.wait(lock, stop_, [&] {
            return stopped_ || result.has_value() || (failedTree_ != 0 && failedTree_ <= tree);
        });
        if (!ready || stopped_ || stop_.stop_requested() ||
            (failedTree_ != 0 && failedTree_ <= tree)) {
            return std::nullopt;
        }
        return result;
    }

    // The first tree that failed (0 when none) and its error.
    int FailedTree() {
        std::lock_guard lock(mutex_);
        return failedTree_;
    }
    std::exception_ptr Error() {
        std::lock_guard lock(mutex_);
        return error_;
    }

private:
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::vector<std::optional<OptimalCutEntry>> results_;
    int ahead_;
    std::stop_token stop_;
    int next_ = 1;
    int stored_ = 0;
    int failedTree_ = 0;
    bool stopped_ = false;
    std::exception_ptr error_;
};

// Stops the queue when the coordinator leaves by any way, before the workers are joined, so
// that a failure or a cancellation never waits for the remaining trees.
class StopOnExit {
public:
    explicit StopOnExit(TreeQueue& queue) : queue_(queue) {}
    ~StopOnExit() { queue_.Stop(); }
    StopOnExit(const StopOnExit&) = delete;
    StopOnExit& operator=(const StopOnExit&) = delete;

private:
    TreeQueue& queue_;
};

OptimalCutEntry OptimiseOneTree(const DataFolder& data, const Market& market, int treeNumber) {
    const std::unique_ptr<Tree> tree = LoadTree(data, treeNumber, market.Filter);
    Optimiser optimiser(*tree, market);
    try {
        return MakeOptimalCutEntry(optimiser.OptimiseTree().Cuts);
    } catch (const FileError&) {
        throw;
    } catch (const VarnokError& error) {
        throw VarnokError("Tree " + std::to_string(treeNumber) + ": " + error.what());
    }
}

void Worker(const DataFolder& data, const Market& market, TreeQueue& queue) {
    while (const std::optional<int> number = queue.Next()) {
        try {
            queue.Done(*number, OptimiseOneTree(data, market, *number));
        } catch (...) {
            queue.Failed(*number, std::current_exception());
        }
    }
}

// Removes the market folder a computation made once the computation ends without storing a
// tree, so that a plain retry works instead of meeting "exists already". Destroyed while the
// market lock is still held, so no other computation has begun in the folder.
class NewFolderRemover {
public:
    NewFolderRemover(fs::path folder, bool made) : folder_(std::move(folder)), armed_(made) {}
    ~NewFolderRemover() {
        if (armed_) {
            std::error_code ignored;
            fs::remove_all(folder_, ignored);
        }
    }
    NewFolderRemover(const NewFolderRemover&) = delete;
    NewFolderRemover& operator=(const NewFolderRemover&) = delete;
    void Keep() { armed_ = false; }

private:
    fs::path folder_;
    bool armed_;
};

// The lock of the market's computation, taken at once or refused.
FileLock LockMarket(const DataFolder& data, const std::string& name, bool madeFolder) {
    const fs::path path = data.MarketLockFile(name);
    std::optional<FileLock> lock;
    try {
        lock = FileLock::TryLock(path);
    } catch (...) {
        NewFolderRemover remover(data.MarketFolder(name), madeFolder);
        throw;
    }
    if (!lock) {
        throw MarketBusy(name, FileLock::HolderOf(path));
    }
    return std::move(*lock);
}

std::string BusyText(const std::string& market, long holder) {
    const std::string by = holder > 0 ? " (by process " + std::to_string(holder) + ")" : "";
    return "The market \"" + market + "\" is being computed already" + by +
           "; try again when that computation is done.";
}

std::string CancelledText(const std::string& market, int treesStored) {
    const std::string stored = treesStored == 0 ? "no optimal pattern is stored"
                                                : "the optimal patterns of trees 1 to " +
                                                      std::to_string(treesStored) + " are stored";
    return "The computation of market \"" + market + "\" was cancelled after " +
           std::to_string(treesStored) + " of " + std::to_string(kTreeCount) + " trees; " + stored +
           ".";
}

} // namespace

MarketExists::MarketExists(const fs::path& folder, const std::string& market)
    : FileError(folder, "I/O error 183: a market named \"" + market + "\" exists already") {}

MarketBusy::MarketBusy(const std::string& market, long holder)
    : VarnokError(BusyText(market, holder)) {}

MarketComputationCancelled::MarketComputationCancelled(const std::string& market, int treesStored)
    : VarnokError(CancelledText(market, treesStored)), treesStored_(treesStored) {}

std::string MarketProgressText(int treeNumber, int treeCount) {
    return "Working on Tree Number " + std::to_string(treeNumber) + " of " +
           std::to_string(treeCount);
}

Market CheckMarketDefinition(const DataFolder& data, const MarketDefinition& definition) {
    CheckNames(definition);
    const fs::path folder = data.MarketFolder(definition.Name);
    std::error_code ec;
    if (fs::exists(folder, ec) && !definition.ReplaceExisting) {
        throw MarketExists(folder, definition.Name);
    }
    return BuildMarket(data, definition.Name, MakeSpecs(data, definition));
}

Market ComputeMarket(const DataFolder& data, const MarketDefinition& definition, int jobs,
                     const MarketProgress& progress, std::stop_token stop) {
    Market market = CheckMarketDefinition(data, definition);
    const MarketSpecs& specs = market.Specs();
    const fs::path folder = data.MarketFolder(definition.Name);
    std::error_code ec;
    const bool exists = fs::exists(folder, ec);
    if (exists && !definition.ReplaceExisting) { // made by someone else since the check
        throw MarketExists(folder, definition.Name);
    }

    if (!exists) {
        fs::create_directories(data.Markets(), ec);
        if (!fs::create_directory(folder, ec)) {
            throw FileError(folder, ec ? IoErrorText(ec.value()) : "I/O error 183");
        }
    }
    // Two computations of one market would write its Specs and Optmcuts in turn, and could
    // leave one definition with the patterns of the other, listed as complete.
    const FileLock lock = LockMarket(data, definition.Name, !exists);
    NewFolderRemover remover(folder, !exists); // destroyed before the lock is let go
    // The old patterns go before the old definition, so that no moment of a replacement pairs
    // the new Specs with optimal cuts computed under the old one.
    ByteWriter image(OptimalCutsTable::kSize);
    WriteFileBytes(market.OptmcutsPath, image.Data());
    WriteMarketSpecs(data.MarketSpecsFile(definition.Name), specs);

    const int threads = std::clamp(
        jobs > 0 ? jobs : static_cast<int>(std::thread::hardware_concurrency()), 1, kTreeCount);
    TreeQueue queue(kTreeCount, 2 * threads, stop);
    std::vector<std::jthread> workers;
    const StopOnExit stopOnExit(queue); // destroyed first: stops, then the workers join
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] { Worker(data, market, queue); });
    }
    // Trees go into the image in tree order; the image goes to the file at most every
    // kStoreInterval and at the end, each store whole (see WriteFileBytes), so a crash leaves
    // every entry whole or zero, and the computation pays no file rename per tree.
    int stored = 0;  // trees in the image
    int written = 0; // trees in the file
    auto lastStore = std::chrono::steady_clock::now();
    // Whether the image reached the file; a failed store is the failure of the first tree it
    // held, so the trees already in the file stay and are counted.
    const auto store = [&](DiskSync sync) {
        try {
            WriteFileBytes(market.OptmcutsPath, image.Data(), sync);
        } catch (...) {
            queue.Failed(written + 1, std::current_exception());
            return false;
        }
        written = stored;
        lastStore = std::chrono::steady_clock::now();
        remover.Keep();
        return true;
    };
    for (int n = 1; n <= kTreeCount; ++n) {
        if (progress) {
            try {
                progress(n, kTreeCount);
            } catch (...) {
                // Passed on as it is; the trees computed before it are kept all the same.
                if (written < stored) {
                    (void)store(DiskSync::Unsynced);
                }
                throw;
            }
        }
        // A tree that takes long (or a tree file held by another program) does not keep the
        // trees before it out of the file.
        if (written < stored && !queue.Settled(n, kStoreInterval) && !store(DiskSync::Unsynced)) {
            break;
        }
        const std::optional<OptimalCutEntry> entry = queue.WaitFor(n);
        if (!entry) {
            break;
        }
        EncodeOptimalCutEntry(image, n, *entry);
        stored = n;
        queue.Stored(n);
        // A sync per store made a computation several times slower on a busy disk; the last
        // store is synced, the others are whole after a crash of the program.
        const bool due = std::chrono::steady_clock::now() - lastStore >= kStoreInterval;
        if ((n == kTreeCount || due) &&
            !store(n == kTreeCount ? DiskSync::Synced : DiskSync::Unsynced)) {
            break;
        }
    }
    // Stopped or failed: the trees computed before it are kept, as a cancellation says.
    if (written < stored) {
        (void)store(DiskSync::Unsynced);
    }
    queue.Stop();
    workers.clear(); // joins
    if (written == kTreeCount) {
        return market;
    }
    // The tree after the last one stored either failed or was never waited for because the
    // computation was cancelled; a failure of a later tree under way when it was cancelled
    // does not count.
    if (queue.FailedTree() == written + 1) {
        std::rethrow_exception(queue.Error());
    }
    throw MarketComputationCancelled(definition.Name, written);
}

} // namespace varnok
