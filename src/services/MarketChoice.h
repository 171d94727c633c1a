#pragma once

#include "services/MarketStats.h"
#include "support/DataFolder.h"

#include <optional>
#include <string>

namespace varnok {

// The entry of "Market Selection" for a market: its name alone when it is complete, else the
// name and what it lacks: "NAME (incomplete: trees 1 to k of 150 stored)" (StoredTreesText),
// "NAME (optimal patterns unreadable)"; a market being computed says so first: "NAME (being
// computed: trees 1 to k of 150 stored)", "NAME (being computed)". Never fails.
std::string MarketEntryText(const MarketListing& market);

// Why market `name` cannot be chosen for play now: a computation (of this program or another)
// holds its lock, so its optimal patterns are still being written. Nothing when it may be
// chosen. Touches nothing; never fails.
std::optional<std::string> MarketChoiceRefusal(const DataFolder& data, const std::string& name);

// What the user is told, once, on choosing a market that is not complete: which trees the
// comparison cannot show, and why. Nothing for a complete market.
std::optional<std::string> MarketChoiceWarning(const MarketListing& market);

} // namespace varnok
