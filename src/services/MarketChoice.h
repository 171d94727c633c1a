#pragma once

#include "services/MarketStats.h"

#include <optional>
#include <string>

namespace varnok {

// The entry of "Market Selection" for a market: its name alone when it is complete, else the
// name and what it lacks: "NAME (incomplete: trees 1 to k of 150 stored)" (StoredTreesText),
// "NAME (optimal patterns unreadable)". Never fails.
std::string MarketEntryText(const MarketListing& market);

// What the user is told, once, on choosing a market that is not complete: which trees the
// comparison cannot show, and why. Nothing for a complete market.
std::optional<std::string> MarketChoiceWarning(const MarketListing& market);

} // namespace varnok
