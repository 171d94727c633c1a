#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// How far a market's optimal patterns go, as a market listing reads them from its optimal cuts.
struct MarketProgress {
    bool Complete = false; // every tree holds a pattern
    int TreesStored = 0;   // the trees the computation stored, 1 to this one
    std::string Problem;   // why the optimal cuts cannot be read, else empty
};

// The entry of "Market Selection" for a market: its name alone when it is complete, else the
// name and what it lacks: "NAME (incomplete: trees 1 to k of 150 stored)", "NAME (incomplete:
// no tree stored)", "NAME (optimal patterns unreadable)". Never fails.
std::string MarketEntryText(std::string_view name, const MarketProgress& progress);

// What the user is told, once, on choosing a market that is not complete: which trees the
// comparison cannot show, and why. Nothing for a complete market.
std::optional<std::string> MarketChoiceWarning(std::string_view name,
                                               const MarketProgress& progress);

} // namespace varnok
