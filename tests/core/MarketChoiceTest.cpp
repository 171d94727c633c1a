#include "game/MarketChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnok {
namespace {

TEST(MarketChoice, AnEntrySaysWhatTheMarketLacksAndTheUserIsToldWhy) {
    struct Case {
        MarketProgress progress;
        const char* entry;
        std::vector<std::string> warning; // words of the warning; none for a complete market
    };
    const Case cases[] = {
        {{true, 150, ""}, "North", {}},
        {{false, 37, ""},
         "North (incomplete: trees 1 to 37 of 150 stored)",
         {"\"North\" is incomplete (trees 1 to 37 of 150 stored)", "no optimal pattern"}},
        {{false, 1, ""}, "North (incomplete: trees 1 to 1 of 150 stored)", {"trees 1 to 1 of"}},
        {{false, 0, ""},
         "North (incomplete: no tree stored)",
         {"\"North\" holds no optimal pattern yet", "can be bucked"}},
        // Every tree up to the last stored and still not complete: some in between lack one.
        {{false, 150, ""}, "North (incomplete: not every tree of 150 stored)", {"not every tree"}},
        // An unreadable file wins over any count: the listing could not count anything.
        {{false, 0, "/d/Markets/North/Optmcuts: File not found"},
         "North (optimal patterns unreadable)",
         {"cannot be read: /d/Markets/North/Optmcuts: File not found.", "can be bucked"}},
        {{true, 150, "/d/Optmcuts: Read beyond end of file"},
         "North (optimal patterns unreadable)",
         {"Read beyond end of file"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MarketEntryText("North", c.progress), c.entry);
        const std::optional<std::string> warning = MarketChoiceWarning("North", c.progress);
        ASSERT_EQ(warning.has_value(), !c.warning.empty()) << c.entry;
        for (const std::string& word : c.warning) {
            EXPECT_NE(warning->find(word), std::string::npos) << *warning;
        }
    }
}

} // namespace
} // namespace varnok
