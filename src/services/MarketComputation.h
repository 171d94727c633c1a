#pragma once

#include "market/Market.h"
#include "support/DataFolder.h"
#include "support/Errors.h"

#include <functional>
#include <stop_token>
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
    // Recompute a market that exists already instead of refusing it. Its rule sets are loaded
    // and checked before any of its files is touched; then its optimal cuts are cleared and its
    // definition replaced, so from that moment on it is an incomplete market (fewer than 150
    // trees stored) until the computation has stored every tree.
    bool ReplaceExisting = false;
};

// Called once per tree in tree order, before the computation stores tree n (trees 1 to n - 1
// are computed; they reach the file within about 50 ms, all of them once ComputeMarket returns
// or throws): the tree number and the count of trees (150). So the last call before an error
// names the tree that failed. Runs on the thread that called ComputeMarket; an exception it
// throws stops the computation as a cancellation does (trees 1 to n - 1 stay stored) and is
// passed on.
using MarketProgress = std::function<void(int treeNumber, int treeCount)>;

// The progress line of a computation at tree `treeNumber`: "Working on Tree Number 12 of 150".
std::string MarketProgressText(int treeNumber, int treeCount);

// Computing a market whose folder exists, without ReplaceExisting: "I/O error 183" for the
// folder. Nothing was written.
class MarketExists : public FileError {
public:
    MarketExists(const std::filesystem::path& folder, const std::string& market);
};

// Computing a market that another computation (of this program or another) is computing now.
// Nothing was written.
class MarketBusy : public VarnokError {
public:
    MarketBusy(const std::string& market, long holderProcess);
};

// A market computation stopped by its stop token. The trees stored before it stay in
// "Optmcuts"; the others are zero.
class MarketComputationCancelled : public VarnokError {
public:
    MarketComputationCancelled(const std::string& market, int treesStored);
    int TreesStored() const { return treesStored_; }

private:
    int treesStored_;
};

// What ComputeMarket checks before it touches a file, touching nothing itself: the names are
// plain and the trim allowance is 4 or 8 (VarnokError), the market's folder does not exist
// (MarketExists; unless ReplaceExisting), and every rule set loads and passes its checks
// (FileError naming the file). Returns the market ComputeMarket would compute, not made current
// anywhere. So a dialog can refuse a definition before it hands it to a computation elsewhere.
Market CheckMarketDefinition(const DataFolder& data, const MarketDefinition& definition);

// Defines and computes a market: checks every name before any file is touched, refuses an
// existing market folder (MarketExists) unless ReplaceExisting is set, loads the rule sets (the
// veneer rules are copied into Specs), creates the folder, takes the market's lock (refusing at
// once with MarketBusy while another computation of the market holds it; the lock is held to
// the end and released by the kernel if the process dies), writes "Optmcuts" as 150 zero
// entries and then "Specs", then finds the optimal pattern of trees 1 to 150 on `jobs` threads
// (0 = one per core) and stores them in "Optmcuts" in tree order, so the file is the same byte
// for byte whatever the number of threads.
// Every store replaces the whole "Optmcuts" through WriteFileBytes (a temporary file renamed
// over it), so a crash of the program at any moment leaves each entry either complete or all
// zero, and the trees stored always are 1 to k for some k (TreesStored in MarketStats.h). The
// cleared file and the store of tree 150 are synced to the disk; the stores between are not
// (DiskSync::Unsynced: whole after a power cut too where the file system writes a renamed
// file's data first, as ext4 does by default).
// A missing or bad tree file stops the computation at that tree with its error (the first such
// tree when several fail); the entries of the trees before it stay in "Optmcuts" and the rest
// stay zero. A computation of a new market that ends, failed or cancelled, before it stored a
// tree removes the folder it made. The threads work at most two trees each beyond the last tree
// stored. `stop` is checked between trees: once stop is requested no further tree is begun and
// MarketComputationCancelled is thrown as soon as the trees under way are done. Throws
// VarnokError or FileError; on success returns the new market, ready to be made current.
Market ComputeMarket(const DataFolder& data, const MarketDefinition& definition, int jobs,
                     const MarketProgress& progress, std::stop_token stop = {});

} // namespace varnok
