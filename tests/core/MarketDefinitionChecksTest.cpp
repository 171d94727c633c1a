#include "services/MarketDefinitionChecks.h"

#include "TestSupport.h"
#include "rules/PriceSetCells.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace varnok {
namespace {

MarketDefinition Complete() {
    MarketDefinition d;
    d.Name = "North";
    d.TrimAllowance = 4;
    d.LogRule = "Doyle";
    d.VeneerRules = "Veneer Three";
    d.SawlogRules = "Factory Grades";
    d.PriceSet = "Hardwood Whole";
    d.FilterSet = "Default Filter";
    d.Roundwood = "RW Two";
    return d;
}

TEST(MissingMarketChoice, TheFirstOpenStepOrWhatIsWrongWithTheName) {
    struct Case {
        std::function<void(MarketDefinition&)> change;
        std::optional<std::string> missing;
    };
    const Case cases[] = {
        {[](MarketDefinition&) {}, std::nullopt},
        {[](MarketDefinition& d) { d.LogRule.clear(); },
         "Step 1 is still open: select a log scaling rule."},
        // Of several open steps the first is named.
        {[](MarketDefinition& d) {
             d.SawlogRules.clear();
             d.Roundwood.clear();
             d.Name.clear();
         },
         "Step 3 is still open: select a sawlog grading rule."},
        {[](MarketDefinition& d) { d.Roundwood.clear(); },
         "Step 6 is still open: select roundwood products."},
        {[](MarketDefinition& d) { d.TrimAllowance = 0; },
         "Step 7 is still open: select a trim allowance."},
        {[](MarketDefinition& d) { d.TrimAllowance = 6; },
         "Step 7 is still open: select a trim allowance."},
        {[](MarketDefinition& d) { d.Name.clear(); },
         "Step 8 is still open: type a name for the market."},
        {[](MarketDefinition& d) { d.Name = "a/b"; },
         "The market name \"a/b\" holds a path separator; use a plain file name."},
        {[](MarketDefinition& d) { d.Name = ".."; },
         "The market name \"..\" is not a plain file name."},
        {[](MarketDefinition& d) { d.Name = std::string(256, 'M'); },
         "The market name is longer than 255 characters."},
        {[](MarketDefinition& d) { d.Name = std::string(255, 'M'); }, std::nullopt},
        // Whether the files exist is not a choice: that is for the computation's own check.
        {[](MarketDefinition& d) { d.PriceSet = "No Such Set"; }, std::nullopt},
    };
    for (const Case& c : cases) {
        MarketDefinition d = Complete();
        c.change(d);
        EXPECT_EQ(MissingMarketChoice(d), c.missing) << d.Name;
    }
}

// A price set written by the price editor for `roundwood`: its rows 7 to 10 as the roundwood
// set names them, cull at $1 (none for a set without cull penalty).
PriceSet PricesFor(const RoundwoodProductSet& roundwood) {
    const PriceRowHeads heads = PriceRowHeadsFor(roundwood);
    PriceSet set;
    for (std::size_t r = 0; r < set.Rows.size(); ++r) {
        set.Rows[r].Name = heads.Names[r];
        set.Rows[r].Units = heads.Units[r];
        set.Rows[r].Prices = {100, 110, 120, 130, 140};
    }
    set.Rows[9].Prices =
        heads.CullPriced ? std::array<double, 5>{1, 1, 1, 1, 1} : std::array<double, 5>{};
    return set;
}

RoundwoodProductSet Roundwood() {
    RoundwoodProductSet set;
    set.Products[0] = {"Pulpwood", "Tons", 8, 20, 8, 16, 0.5F};
    set.Products[1] = {"Tie Logs", "MBF", 10, 24, 8, 12, 0.25F};
    set.Products[2] = {"Fuelwood", "Cords", 8, 50, 8, 16, 1.0F};
    set.CullHandling = "Cull";
    set.CullUnits = "Cubic Feet";
    return set;
}

void NoCullPenalty(RoundwoodProductSet& roundwood) {
    roundwood.CullHandling = "none";
    roundwood.CullUnits = "none";
}

TEST(MarketDefinitionWarnings, RoundwoodRowsThatDifferAndCullChargedWithoutPenalty) {
    struct Case {
        const char* what;
        std::function<void(PriceSet&, RoundwoodProductSet&)> change;
        std::vector<std::string> mismatches;
        bool cullWithoutPenalty;
    };
    const Case cases[] = {
        {"the editor's own rows", [](PriceSet&, RoundwoodProductSet&) {}, {}, false},
        {"a unit and a name",
         [](PriceSet& p, RoundwoodProductSet&) {
             p.Rows[6].Units = "Cords";
             p.Rows[7].Name = "Bolts";
         },
         {"product 1 is \"Pulpwood\" in \"Cords\" in the price set but \"Pulpwood\" in "
          "\"Tons\" in the roundwood set",
          "product 2 is \"Bolts\" in \"MBF\" in the price set but \"Tie Logs\" in \"MBF\" in "
          "the roundwood set"},
         false},
        // Letter case counts: the label shows the roundwood set's name, the price the row's.
        {"letter case",
         [](PriceSet& p, RoundwoodProductSet&) { p.Rows[8].Name = "fuelwood"; },
         {"product 3 is \"fuelwood\" in \"Cords\" in the price set but \"Fuelwood\" in "
          "\"Cords\" in the roundwood set"},
         false},
        {"an empty unit shows",
         [](PriceSet& p, RoundwoodProductSet&) { p.Rows[6].Units.clear(); },
         {"product 1 is \"Pulpwood\" in \"\" in the price set but \"Pulpwood\" in \"Tons\" in "
          "the roundwood set"},
         false},
        // A product without a name is never sold: its row may say anything.
        {"an unnamed product",
         [](PriceSet& p, RoundwoodProductSet& r) {
             r.Products[2] = {};
             p.Rows[8].Name = "Anything";
         },
         {},
         false},
        {"the cull units",
         [](PriceSet& p, RoundwoodProductSet&) { p.Rows[9].Units = "Cubic Meters"; },
         {"cull is \"Cull\" in \"Cubic Meters\" in the price set but \"Cull\" in \"Cubic "
          "Feet\" in the roundwood set"},
         false},
        // Without a cull penalty the cull row's name and units do not matter, its price does.
        {"no cull penalty, cull rows as the editor stores them",
         [](PriceSet& p, RoundwoodProductSet& r) {
             NoCullPenalty(r);
             p = PricesFor(r);
         },
         {},
         false},
        {"no cull penalty meets a cull price",
         [](PriceSet&, RoundwoodProductSet& r) { NoCullPenalty(r); },
         {},
         true},
        // The charge is the 8 ft price rounded to whole dollars: 0.5 rounds to 0, 1.5 to 2.
        {"a cull price that rounds to nothing",
         [](PriceSet& p, RoundwoodProductSet& r) {
             NoCullPenalty(r);
             p.Rows[9].Prices = {0.5, 7, 7, 7, 7};
         },
         {},
         false},
        {"a cull price that rounds up",
         [](PriceSet& p, RoundwoodProductSet& r) {
             NoCullPenalty(r);
             p.Rows[9].Prices = {1.5, 0, 0, 0, 0};
         },
         {},
         true},
    };
    for (const Case& c : cases) {
        RoundwoodProductSet roundwood = Roundwood();
        PriceSet prices = PricesFor(roundwood);
        c.change(prices, roundwood);
        EXPECT_EQ(RoundwoodRowMismatches(prices, roundwood), c.mismatches) << c.what;
        EXPECT_EQ(ChargesCullWithoutPenalty(prices, roundwood), c.cullWithoutPenalty) << c.what;
        const std::size_t warnings =
            (c.mismatches.empty() ? 0 : 1) + (c.cullWithoutPenalty ? 1 : 0);
        EXPECT_EQ(MarketDefinitionWarnings(prices, "Prices", roundwood, "Roundwood").size(),
                  warnings)
            << c.what;
    }

    // Both at once: the rows first, then the cull charge, each in a sentence of its own.
    RoundwoodProductSet roundwood = Roundwood();
    PriceSet prices = PricesFor(roundwood);
    NoCullPenalty(roundwood);
    prices.Rows[7].Units = "Tons";
    prices.Rows[9].Prices[0] = 1.5;
    EXPECT_EQ(MarketDefinitionWarnings(prices, "Prices", roundwood, "Roundwood"),
              (std::vector<std::string>{
                  "The roundwood rows of the price set \"Prices\" do not match the roundwood "
                  "product set \"Roundwood\": product 2 is \"Tie Logs\" in \"Tons\" in the price "
                  "set but \"Tie Logs\" in \"MBF\" in the roundwood set. Each product is priced by "
                  "the row in its place, in that row's units.",
                  "The roundwood product set \"Roundwood\" charges no cull penalty, but the price "
                  "set \"Prices\" prices cull at 1.5 per \"Cubic Feet\", so every log sold as cull "
                  "is charged all the same."}));
}

// The files a definition names are read as a market reads them; the golden pair agrees.
TEST(MarketDefinitionWarnings, ReadFromTheRuleFolders) {
    const test::TempFolder folder;
    test::CopyGoldenData(folder.Path());
    const DataFolder data(folder.Path());
    MarketDefinition d = Complete();
    d.Roundwood = "rw two"; // one match ignoring letter case
    EXPECT_EQ(MarketDefinitionWarnings(data, d), std::vector<std::string>{});

    RoundwoodProductSet other = ReadRoundwoodProducts(data.Roundwood() / "RW Two");
    other.Products[0].Units = "Cubic Meters";
    WriteRoundwoodProducts(data.Roundwood() / "Other", other);
    d.Roundwood = "Other";
    const std::vector<std::string> warnings = MarketDefinitionWarnings(data, d);
    ASSERT_EQ(warnings.size(), 1U);
    EXPECT_NE(warnings[0].find("in \"Cubic Meters\" in the roundwood set"), std::string::npos)
        << warnings[0];

    d.PriceSet = "Missing";
    EXPECT_FILE_ERROR((void)MarketDefinitionWarnings(data, d), data.Prices() / "Missing",
                      "File not found");
}

} // namespace
} // namespace varnok
