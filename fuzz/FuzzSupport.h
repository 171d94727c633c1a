#pragma once

// Shared by the fuzz targets: the golden data they start from, a scratch folder of this
// process, and the engine's invariants, checked on everything a target evaluates. A broken
// invariant prints what broke and traps, so libFuzzer keeps the input as a crash.

#include "engine/LogEvaluator.h"
#include "market/Market.h"
#include "support/DataFolder.h"
#include "support/Errors.h"
#include "tree/Tree.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace varnok::fuzz {

// The golden data folder (tests/data/golden/data) and its one market.
inline constexpr std::string_view kGoldenMarket = "Hardwood8";
const DataFolder& GoldenFolder();
const Market& GoldenMarket();
// The golden trees (1, 4 and 6) through the golden market's filter, each loaded once.
inline constexpr std::array<int, 3> kGoldenTrees = {1, 4, 6};
const Tree& GoldenTree(int treeNumber);
// A golden tree (1, 4 or 6) loaded anew through `filter`. Throws as LoadTree.
std::unique_ptr<Tree> LoadGoldenTree(int treeNumber, const DefectFilterSet& filter);

// A folder of this process alone under the temporary folder, made on first use and removed
// when the process exits normally, so inputs never land beside the sources.
const std::filesystem::path& ScratchFolder();
// Writes `bytes` to `path`, replacing it, without going through the code under test.
void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
// Writes `bytes` to ScratchFolder() / name and returns the path.
std::filesystem::path WriteScratchFile(std::string_view name, std::span<const std::uint8_t> bytes);

[[noreturn]] void Violation(const std::string& what);

// One evaluated log: deductions within 0..1, product class 1 to 10 and the grade it sells by,
// every value finite, net scale never above the log rule's volume for its diameter and length.
void CheckLog(const Market& market, const EvaluatedLog& log);

// Evaluates logs of every allowed length and a short cull piece from a few starts on the
// stem, checking each.
void CheckSampleLogs(const Tree& tree, const Market& market);

// Cuts the tree at `positions` through EvaluatePattern and checks every piece and the
// running returns. A VarnokError for positions it refuses passes on to the caller.
void CheckPattern(const Tree& tree, const Market& market, std::span<const int> positions);

// Optimises the tree, checks the optimum as a pattern, and checks that no pattern on the
// 4-inch grid, of a few drawn from `seed`, is worth more than the optimum by the same span
// values.
void CheckOptimum(const Tree& tree, const Market& market, std::uint64_t seed);

// A seed for CheckOptimum's patterns that follows the input, so that a crash replays.
std::uint64_t SeedOf(std::span<const std::uint8_t> bytes);

// Runs `body`: a VarnokError is the code refusing bad input, which is what it should do;
// any other exception breaks the readers' contract.
template <typename Body> void Refusable(Body&& body) {
    try {
        body();
    } catch (const VarnokError&) {
        // Refused, with a message for the user: the expected outcome for damaged input.
    } catch (const std::exception& e) {
        Violation(std::string("exception that is not a VarnokError: ") + e.what());
    }
}

} // namespace varnok::fuzz
