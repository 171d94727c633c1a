// The bundled data folder is exactly what the generator and the market computation write:
// regenerated here into a temporary folder and compared byte for byte.

#include "DataGen.h"
#include "Parameters.h"
#include "TestSupport.h"

#include "services/MarketComputation.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <set>

namespace varnok {
namespace {

namespace fs = std::filesystem;

const fs::path& Bundled() {
    static const fs::path path(VARNOK_BUNDLED_DATA_DIR);
    return path;
}

// Every regular file below `root`, as paths relative to it, leaving out the Markets folder.
std::set<fs::path> FilesOutsideMarkets(const fs::path& root) {
    std::set<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path relative = fs::relative(entry.path(), root);
        if (entry.is_regular_file() && *relative.begin() != "Markets") {
            files.insert(relative);
        }
    }
    return files;
}

TEST(BundledData, TheGeneratorWritesEveryFileAsCommitted) {
    test::TempFolder folder;
    datagen::GenerateDataFolder(folder.Path(), datagen::kSeed);
    const std::set<fs::path> generated = FilesOutsideMarkets(folder.Path());
    const std::set<fs::path> committed = FilesOutsideMarkets(Bundled());
    EXPECT_EQ(generated, committed);
    EXPECT_EQ(generated.size(), 300U + 13U);
    for (const fs::path& file : generated) {
        ASSERT_EQ(test::ReadBytes(folder.Path() / file), test::ReadBytes(Bundled() / file)) << file;
    }
}

TEST(BundledData, TheDefaultMarketComputesToTheCommittedBytes) {
    const fs::path committed = Bundled() / "Markets" / "Appalachian Doyle";
    const MarketSpecs specs = ReadMarketSpecs(committed / "Specs");
    MarketDefinition definition;
    definition.Name = "Appalachian Doyle";
    definition.TrimAllowance = specs.TrimAllowance;
    definition.LogRule = specs.LogRuleName;
    definition.VeneerRules = specs.VeneerRuleName;
    definition.SawlogRules = specs.SawlogRuleName;
    definition.PriceSet = specs.PriceSetName;
    definition.FilterSet = specs.FilterSetName;
    definition.Roundwood = specs.RoundwoodName;
    EXPECT_EQ(definition.TrimAllowance, 8);
    EXPECT_EQ(definition.LogRule, "Doyle");

    test::TempFolder folder;
    datagen::GenerateDataFolder(folder.Path(), datagen::kSeed);
    const Market market = ComputeMarket(DataFolder(folder.Path()), definition, 2, nullptr);
    const fs::path computed = folder.Path() / "Markets" / "Appalachian Doyle";
    EXPECT_EQ(test::ReadBytes(computed / "Specs"), test::ReadBytes(committed / "Specs"));
    EXPECT_EQ(test::ReadBytes(computed / "Optmcuts"), test::ReadBytes(committed / "Optmcuts"));
    EXPECT_EQ(ListFolders(Bundled() / "Markets"),
              (std::vector<std::string>{"Appalachian Doyle", "Lake States Scribner",
                                        "Northern International"}));
}

} // namespace
} // namespace varnok
