#include "services/MarketChoice.h"

#include "TestSupport.h"
#include "support/FileLock.h"

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
        // A market being computed says so before what it holds so far.
        {{"North", after37, "", true},
         "North (being computed: trees 1 to 37 of 150 stored)",
         {"is incomplete (trees 1 to 37 of 150 stored)"}},
        {{"North", every, "", true},
         "North (being computed: no tree stored)",
         {"holds no optimal pattern yet"}},
        {{"North", {}, "/d/Markets/North/Optmcuts: File not found", true},
         "North (being computed)",
         {"cannot be read"}},
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

// While a computation holds a market's lock it cannot be chosen; once it lets go, it can.
TEST(MarketChoice, AMarketBeingComputedIsRefused) {
    const test::TempFolder folder;
    const DataFolder data(folder.Path());
    std::filesystem::create_directories(data.MarketFolder("North"));
    EXPECT_EQ(MarketChoiceRefusal(data, "North"), std::nullopt);
    {
        const std::optional<FileLock> lock = FileLock::TryLock(data.MarketLockFile("North"));
        ASSERT_TRUE(lock.has_value());
        EXPECT_EQ(MarketChoiceRefusal(data, "North"),
                  "The market \"North\" is being computed now. It can be chosen once its "
                  "computation is done.");
        EXPECT_EQ(MarketChoiceRefusal(data, "South"), std::nullopt);
        const std::vector<MarketListing> listing = ListMarketsWithProgress(data);
        ASSERT_EQ(listing.size(), 1U);
        EXPECT_TRUE(listing[0].BeingComputed);
    }
    EXPECT_EQ(MarketChoiceRefusal(data, "North"), std::nullopt);
    EXPECT_FALSE(ListMarketsWithProgress(data)[0].BeingComputed);
}

} // namespace
} // namespace varnok
