#include "services/MarketChoice.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace varnok {
namespace {

TEST(MarketChoice, AnEntrySaysWhatTheMarketLacksAndTheUserIsToldWhy) {
    std::vector<int> after37(kTreeCount - 37);
    std::iota(after37.begin(), after37.end(), 38);
    std::vector<int> every(kTreeCount);
    std::iota(every.begin(), every.end(), 1);
    struct Case {
        MarketListing market;
        const char* entry;
        std::vector<std::string> warning; // words of the warning; none for a complete market
    };
    const Case cases[] = {
        {{"North", {}, ""}, "North", {}},
        {{"North", after37, ""},
         "North (incomplete: trees 1 to 37 of 150 stored)",
         {"\"North\" is incomplete (trees 1 to 37 of 150 stored). Trees 38 to 150 can be bucked",
          "no optimal pattern"}},
        {{"North", every, ""},
         "North (incomplete: no tree stored)",
         {"\"North\" holds no optimal pattern yet", "can be bucked"}},
        // A hole in the middle is named.
        {{"North", {37}, ""},
         "North (incomplete: trees 1 to 36, 38 to 150 of 150 stored; none for tree 37)",
         {"none for tree 37). Tree 37 can be bucked"}},
        // An unreadable file wins over any count: the listing could not count anything.
        {{"North", {}, "/d/Markets/North/Optmcuts: File not found"},
         "North (optimal patterns unreadable)",
         {"cannot be read: /d/Markets/North/Optmcuts: File not found.", "can be bucked"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MarketEntryText(c.market), c.entry);
        const std::optional<std::string> warning = MarketChoiceWarning(c.market);
        ASSERT_EQ(warning.has_value(), !c.warning.empty()) << c.entry;
        for (const std::string& word : c.warning) {
            EXPECT_NE(warning->find(word), std::string::npos) << *warning;
        }
    }
}

} // namespace
} // namespace varnok
