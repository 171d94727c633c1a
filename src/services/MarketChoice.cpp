#include "services/MarketChoice.h"

#include "support/FileLock.h"

namespace varnok {
namespace {

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

} // namespace

std::string MarketEntryText(const MarketListing& market) {
    if (market.BeingComputed) {
        // Before its first store the file may not be there yet: nothing to count.
        const bool counted = market.Problem.empty() && !market.Complete();
        return market.Name + (counted ? " (being computed: " + StoredTreesText(market.Missing) + ")"
                                      : " (being computed)");
    }
    if (!market.Problem.empty()) {
        return market.Name + " (optimal patterns unreadable)";
    }
    if (!market.Complete()) {
        return market.Name + " (incomplete: " + StoredTreesText(market.Missing) + ")";
    }
    return market.Name;
}

std::optional<std::string> MarketChoiceWarning(const MarketListing& market) {
    constexpr const char* kNoComparison =
        " can be bucked, but Compare shows no optimal pattern for them.";
    if (!market.Problem.empty()) {
        return "The optimal patterns of market " + Quoted(market.Name) +
               " cannot be read: " + market.Problem + ". Its trees" + kNoComparison;
    }
    if (market.Complete()) {
        return std::nullopt;
    }
    if (market.TreesStored() == 0) {
        return "Market " + Quoted(market.Name) + " holds no optimal pattern yet. Its trees" +
               kNoComparison;
    }
    std::string missing = TreeNumbersText(market.Missing); // "tree 37", "trees 5 to 150"
    missing.front() = 'T';
    return "Market " + Quoted(market.Name) + " is incomplete (" + StoredTreesText(market.Missing) +
           "). " + missing + kNoComparison;
}

std::optional<std::string> MarketChoiceRefusal(const DataFolder& data, const std::string& name) {
    if (!FileLock::IsHeld(data.MarketLockFile(name))) {
        return std::nullopt;
    }
    return "The market " + Quoted(name) +
           " is being computed now. It can be chosen once its computation is done.";
}

} // namespace varnok
