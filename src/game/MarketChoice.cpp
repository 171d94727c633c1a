#include "game/MarketChoice.h"

#include "market/OptimalCuts.h"

namespace varnok {
namespace {

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

// A computation stores the trees in order, so a market that stopped holds trees 1 to k; a
// market whose last tree is stored and still is not complete lacks some in between.
std::string StoredText(const MarketProgress& progress) {
    if (progress.TreesStored == 0) {
        return "no tree stored";
    }
    if (progress.TreesStored >= kTreeCount) {
        return "not every tree of " + std::to_string(kTreeCount) + " stored";
    }
    return "trees 1 to " + std::to_string(progress.TreesStored) + " of " +
           std::to_string(kTreeCount) + " stored";
}

} // namespace

std::string MarketEntryText(std::string_view name, const MarketProgress& progress) {
    std::string text(name);
    if (!progress.Problem.empty()) {
        return text + " (optimal patterns unreadable)";
    }
    if (!progress.Complete) {
        return text + " (incomplete: " + StoredText(progress) + ")";
    }
    return text;
}

std::optional<std::string> MarketChoiceWarning(std::string_view name,
                                               const MarketProgress& progress) {
    constexpr const char* kNoComparison =
        " can be bucked, but Compare shows no optimal pattern for them.";
    if (!progress.Problem.empty()) {
        return "The optimal patterns of market " + Quoted(name) +
               " cannot be read: " + progress.Problem + ". Its trees" + kNoComparison;
    }
    if (progress.Complete) {
        return std::nullopt;
    }
    if (progress.TreesStored == 0) {
        return "Market " + Quoted(name) + " holds no optimal pattern yet. Its trees" +
               kNoComparison;
    }
    return "Market " + Quoted(name) + " is incomplete (" + StoredText(progress) +
           "). Trees without a stored pattern" + kNoComparison;
}

} // namespace varnok
