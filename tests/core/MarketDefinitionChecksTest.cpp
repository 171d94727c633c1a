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

TEST(MarketDefinitionWarnings, RoundwoodRowsThatDifferAndCullChargedWithoutPenalty) {
    struct Case {
        const char* what;
        std::function<void(PriceSet&, RoundwoodProductSet&)> change;
        std::vector<std::string> warnings;
    };
    const char* kRows = "The roundwood rows of the price set \"Prices\" do not match the "
                        "roundwood product set \"Roundwood\": ";
    const char* kTail = ". Each product is priced by the row in its place, in that row's units.";
    const Case cases[] = {
        {"the editor's own rows", [](PriceSet&, RoundwoodProductSet&) {}, {}},
        {"a unit and a name",
         [](PriceSet& p, RoundwoodProductSet&) {
             p.Rows[6].Units = "Cords";
             p.Rows[7].Name = "Bolts";
         },
         {kRows +
          std::string("product 1 is \"Pulpwood\" in \"Cords\" in the price set but "
                      "\"Pulpwood\" in \"Tons\" in the roundwood set; product 2 is \"Bolts\" "
                      "in \"MBF\" in the price set but \"Tie Logs\" in \"MBF\" in the "
                      "roundwood set") +
          kTail}},
        // Letter case counts: the label shows the roundwood set's name, the price the row's.
        {"letter case",
         [](PriceSet& p, RoundwoodProductSet&) { p.Rows[8].Name = "fuelwood"; },
         {kRows +
          std::string("product 3 is \"fuelwood\" in \"Cords\" in the price set but "
                      "\"Fuelwood\" in \"Cords\" in the roundwood set") +
          kTail}},
        {"an empty unit shows",
         [](PriceSet& p, RoundwoodProductSet&) { p.Rows[6].Units.clear(); },
         {kRows +
          std::string("product 1 is \"Pulpwood\" in \"\" in the price set but \"Pulpwood\" in "
                      "\"Tons\" in the roundwood set") +
          kTail}},
        // A product without a name is never sold: its row may say anything.
        {"an unnamed product",
         [](PriceSet& p, RoundwoodProductSet& r) {
             r.Products[2] = {};
             p.Rows[8].Name = "Anything";
         },
         {}},
        {"the cull units",
         [](PriceSet& p, RoundwoodProductSet&) { p.Rows[9].Units = "Cubic Meters"; },
         {kRows +
          std::string("cull is \"Cull\" in \"Cubic Meters\" in the price set but \"Cull\" in "
                      "\"Cubic Feet\" in the roundwood set") +
          kTail}},
        {"no cull penalty, cull rows as the editor stores them",
         [](PriceSet& p, RoundwoodProductSet& r) {
             r.CullHandling = "none";
             r.CullUnits = "none";
             p = PricesFor(r);
         },
         {}},
        {"no cull penalty meets a cull price",
         [](PriceSet&, RoundwoodProductSet& r) {
             r.CullHandling = "none";
             r.CullUnits = "none";
         },
         {"The roundwood product set \"Roundwood\" charges no cull penalty, but the price set "
          "\"Prices\" prices cull at 1 per \"Cubic Feet\", so every log sold as cull is charged "
          "all the same."}},
        // The charge is the 8 ft price rounded to whole dollars: 0.5 rounds to 0, 1.5 to 2.
        {"a cull price that rounds to nothing",
         [](PriceSet& p, RoundwoodProductSet& r) {
             r.CullHandling = "none";
             r.CullUnits = "none";
             p.Rows[9].Prices = {0.5, 7, 7, 7, 7};
         },
         {}},
        {"a cull price that rounds up",
         [](PriceSet& p, RoundwoodProductSet& r) {
             r.CullHandling = "none";
             r.CullUnits = "none";
             p.Rows[9].Prices = {1.5, 0, 0, 0, 0};
         },
         {"The roundwood product set \"Roundwood\" charges no cull penalty, but the price set "
          "\"Prices\" prices cull at 1.5 per \"Cubic Feet\", so every log sold as cull is "
          "charged all the same."}},
        {"both at once",
         [](PriceSet& p, RoundwoodProductSet& r) {
             r.CullHandling = "none";
             r.CullUnits = "none";
             p.Rows[7].Units = "Tons";
         },
         {kRows +
              std::string("product 2 is \"Tie Logs\" in \"Tons\" in the price set but \"Tie "
                          "Logs\" in \"MBF\" in the roundwood set") +
              kTail,
          "The roundwood product set \"Roundwood\" charges no cull penalty, but the price set "
          "\"Prices\" prices cull at 1 per \"Cubic Feet\", so every log sold as cull is charged "
          "all the same."}},
    };
    for (const Case& c : cases) {
        RoundwoodProductSet roundwood = Roundwood();
        PriceSet prices = PricesFor(roundwood);
        c.change(prices, roundwood);
        EXPECT_EQ(MarketDefinitionWarnings(prices, "Prices", roundwood, "Roundwood"), c.warnings)
            << c.what;
    }
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
