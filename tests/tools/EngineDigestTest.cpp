// The engine gives, for a few bundled trees under every bundled market, the digest committed in
// tests/data/engine-digest.txt: every field of every log the digest covers, its label and its
// explanation. The whole file is checked by `varnok-engine-digest data --check FILE`; a change
// meant to leave results alone must pass both, and one meant to change them rewrites the file.

#include "EngineDigest.h"
#include "TestSupport.h"

#include "market/Market.h"
#include "support/DataFolder.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace varnok {
namespace {

namespace fs = std::filesystem;

// The committed lines by their market and tree.
std::map<std::pair<std::string, int>, std::string> CommittedDigests() {
    std::ifstream in(fs::path(VARNOK_TEST_DATA_DIR) / "engine-digest.txt");
    std::map<std::pair<std::string, int>, std::string> lines;
    for (std::string line; std::getline(in, line);) {
        const auto first = line.find('\t');
        const int tree = std::stoi(line.substr(first + 1));
        lines[{line.substr(0, first), tree}] = line;
    }
    return lines;
}

TEST(EngineDigest, AFewTreesUnderEveryMarketGiveTheCommittedDigests) {
    const auto committed = CommittedDigests();
    ASSERT_EQ(committed.size(), 3U * 150U);
    const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
    // A short stem, the longest, a veneer log and a roundwood butt: the graders' main paths.
    for (const std::string market :
         {"Appalachian Doyle", "Lake States Scribner", "Northern International"}) {
        const Market loaded = LoadMarket(data, market);
        for (const int number : {1, 22, 36, 150}) {
            const auto tree = LoadTree(data, number, loaded.Filter);
            const digest::TreeDigest digest = digest::DigestTree(*tree, loaded);
            EXPECT_GT(digest.Explained, 0U);
            EXPECT_EQ(digest::DigestLine(market, number, digest), committed.at({market, number}))
                << market << " tree " << number;
        }
    }
}

} // namespace
} // namespace varnok
