// The desktop program runs in the user's locale. Labels and reports must read the same there
// as under "C": a comma-decimal locale is made for the test (with localedef, into a folder of
// its own) and the texts are produced under both.

#include "TestSupport.h"
#include "game/PatternEvaluation.h"
#include "market/Market.h"
#include "services/Reports.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <string>
#include <vector>

namespace varnok {
namespace {

constexpr const char* kCommaLocale = "de_DE.UTF-8";

// Every text a pattern evaluation and the products reports give for the golden trees.
std::vector<std::string> Texts() {
    const DataFolder data(test::GoldenData());
    const Market market = LoadMarket(data, "Hardwood8");
    std::vector<std::string> texts;
    ResearchResults results;
    for (const int n : {1, 4, 6}) {
        const std::unique_ptr<Tree> tree = LoadTree(data, n, market.Filter);
        std::vector<int> cuts;
        for (int p = 0; p < tree->Stem.StemLength; p += 140) {
            cuts.push_back(p);
        }
        cuts.push_back(tree->Stem.StemLength);
        for (const EvaluatedPiece& piece : EvaluatePattern(*tree, market, cuts).Pieces) {
            texts.insert(texts.end(), piece.LabelLines.begin(), piece.LabelLines.end());
            if (piece.Log.Graded) {
                results[n].push_back(MakeResearchEntry(piece));
            }
        }
    }
    for (const auto& lines : {ProductsReportLines(results, 1, 6), ProductsFileLines(results, 1, 6),
                              MarketDefinitionLines(market.Name, market.Specs())}) {
        texts.insert(texts.end(), lines.begin(), lines.end());
    }
    return texts;
}

class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string command = "localedef -i de_DE -f UTF-8 \"" +
                                    (folder_.Path() / kCommaLocale).string() + "\" 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << "localedef could not make " << kCommaLocale;
        setenv("LOCPATH", folder_.Path().c_str(), 1);
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
        unsetenv("LOCPATH");
    }
    test::TempFolder folder_;
};

TEST_F(CommaLocale, LabelsAndReportsReadAsUnderC) {
    const std::vector<std::string> underC = Texts();
    ASSERT_NE(std::setlocale(LC_ALL, kCommaLocale), nullptr);
    std::locale::global(std::locale(kCommaLocale));
    char sample[16];
    std::snprintf(sample, sizeof sample, "%.2f", 3.25);
    ASSERT_EQ(std::string(sample), "3,25"); // the locale is in force
    const std::vector<std::string> underComma = Texts();
    EXPECT_EQ(underComma, underC);
    // Decimal texts are there to compare: the volume line of the first label, "... bf".
    ASSERT_GT(underC.size(), 4U);
    EXPECT_NE(underC[4].find('.'), std::string::npos) << underC[4];
}

} // namespace
} // namespace varnok
