// The roundwood product editor's choices as they land in the 200-byte record, what it refuses,
// and the viewer's table of the bundled sets.

#include "rules/RoundwoodCells.h"
#include "TestSupport.h"
#include "support/ByteBuffer.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <cstring>

namespace varnok {
namespace {

constexpr std::size_t kSlot = 52;

std::filesystem::path BundledRoundwood(const std::string& name) {
    return std::filesystem::path(VARNOK_TEST_DATA_DIR).parent_path().parent_path() / "data" /
           "Roundwood" / name;
}

std::vector<std::uint8_t> Saved(const RoundwoodChoices& choices) {
    return RoundwoodSetFromChoices(choices).Encode();
}

std::string ShortStringAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return ByteReader(bytes).ShortStringBytes(offset, 20);
}

std::uint32_t FloatBitsAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return ByteReader(bytes).U32(offset);
}

// Expects `statement` to throw VarnokError whose message holds `words`.
void ExpectRefused(const RoundwoodChoices& choices, const std::string& words) {
    try {
        RoundwoodSetFromChoices(choices);
        ADD_FAILURE() << "saved, expected a refusal with: " << words;
    } catch (const VarnokError& error) {
        EXPECT_NE(std::string(error.what()).find(words), std::string::npos) << error.what();
    }
}

TEST(RoundwoodEditor, UntouchedSetStoresEmptyNamesLimits8AndNoCullPenalty) {
    const std::vector<std::uint8_t> bytes = Saved(RoundwoodChoices{});
    ASSERT_EQ(bytes.size(), 200U);
    for (std::size_t p = 0; p < 3; ++p) {
        const std::size_t base = p * kSlot;
        EXPECT_EQ(bytes[base], 0) << "name length, product " << p + 1;
        EXPECT_EQ(bytes[base + 21], 0) << "units length, product " << p + 1;
        for (std::size_t limit = 42; limit <= 45; ++limit) {
            EXPECT_EQ(bytes[base + limit], 8) << "limit byte " << limit << ", product " << p + 1;
        }
        EXPECT_EQ(bytes[base + 46], 0);
        EXPECT_EQ(bytes[base + 47], 0);
        EXPECT_EQ(FloatBitsAt(bytes, base + 48), 0x3D4CCCCDU) << "the single nearest to 0.05";
    }
    EXPECT_EQ(ShortStringAt(bytes, 156), "none");
    EXPECT_EQ(ShortStringAt(bytes, 177), "none");
    EXPECT_EQ(bytes[198], 0);
    EXPECT_EQ(bytes[199], 0);
}

TEST(RoundwoodEditor, UnitAndCullChoicesStoreTheirTexts) {
    const std::array<std::pair<const char*, const char*>, 5> units = {
        {{"Cords", "Cords"},
         {"Cubic Ft", "Cubic Feet"},
         {"MBF", "MBF"},
         {"Tons", "Tons"},
         {"Cubic M", "Cubic Meters"}}};
    ASSERT_EQ(RoundwoodUnitChoices().size(), units.size());
    for (std::size_t u = 0; u < units.size(); ++u) {
        EXPECT_STREQ(RoundwoodUnitChoices()[u].Caption, units[u].first);
        RoundwoodChoices choices;
        choices.Products[2].Name = "Fuelwood";
        choices.Products[2].Unit = u;
        const std::vector<std::uint8_t> bytes = Saved(choices);
        EXPECT_EQ(ShortStringAt(bytes, 2 * kSlot + 21), units[u].second);
        EXPECT_EQ(ShortStringAt(bytes, 21), "") << "product 1 has no unit chosen";
    }

    const std::array<std::array<const char*, 3>, 3> culls = {
        {{"No Cull Penalty", "none", "none"},
         {"Cull Penalty (cubic feet)", "Cull", "Cubic Feet"},
         {"Cull Penalty (cubic meters)", "Cull", "Cubic Meters"}}};
    for (std::size_t c = 0; c < culls.size(); ++c) {
        EXPECT_STREQ(CullChoices()[c].Caption, culls[c][0]);
        RoundwoodChoices choices;
        choices.Cull = c;
        const std::vector<std::uint8_t> bytes = Saved(choices);
        EXPECT_EQ(ShortStringAt(bytes, 156), culls[c][1]);
        EXPECT_EQ(ShortStringAt(bytes, 177), culls[c][2]);
    }
}

TEST(RoundwoodEditor, NamesAreCutToTwentyCharacters) {
    struct Case {
        std::string typed;
        std::string stored; // Windows-1252 bytes
    };
    const Case cases[] = {
        {"Pulpwood", "Pulpwood"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", "ABCDEFGHIJKLMNOPQRST"},
        {"Bois de chauffage d\xC3\xA9\xC3\xA9", "Bois de chauffage d\xE9"},
        {"\xE2\x82\xAC Bolts", "\x80 Bolts"},
    };
    for (const Case& c : cases) {
        RoundwoodChoices choices;
        choices.Products[1].Name = c.typed;
        choices.Products[1].Unit = 0;
        const std::vector<std::uint8_t> bytes = Saved(choices);
        EXPECT_EQ(bytes[kSlot], c.stored.size()) << c.typed;
        EXPECT_EQ(ShortStringAt(bytes, kSlot), c.stored) << c.typed;
    }
}

TEST(RoundwoodEditor, SoundnessIsStoredAsTheNearestSingleToItsFraction) {
    const std::vector<int>& percents = RoundwoodLimitChoices(RoundwoodLimit::Soundness);
    ASSERT_EQ(percents.size(), 20U);
    EXPECT_EQ(percents.front(), 5);
    EXPECT_EQ(percents.back(), 100);
    for (const int p : percents) {
        RoundwoodChoices choices;
        choices.Products[0].Limits[4] = p;
        const std::vector<std::uint8_t> bytes = Saved(choices);
        char decimal[16];
        std::snprintf(decimal, sizeof decimal, "%d.%02d", p / 100, p % 100);
        EXPECT_EQ(FloatBitsAt(bytes, 48),
                  std::bit_cast<std::uint32_t>(std::strtof(decimal, nullptr)))
            << p << " %";
    }
    RoundwoodChoices full;
    full.Products[0].Limits[4] = 100;
    EXPECT_EQ(FloatBitsAt(Saved(full), 48), 0x3F800000U) << "exactly 1.0";
}

TEST(RoundwoodEditor, RefusesWhatWouldFitNoLogOrCannotBeStored) {
    struct Case {
        std::size_t product; // 0-based
        RoundwoodProductChoices choices;
        std::string words;
    };
    const Case cases[] = {
        {1,
         {"Bolts", 0, {20, 12, 8, 8, 5}},
         "Product 2 \"Bolts\": the minimum diameter (20 in.) is above the maximum diameter (12 "
         "in.)"},
        {0,
         {"Pulpwood", 2, {8, 8, 16, 10, 5}},
         "Product 1 \"Pulpwood\": the minimum length (16 ft.) is above the maximum length (10 "
         "ft.)"},
        {2,
         {"", std::nullopt, {9, 8, 8, 8, 5}},
         "Product 3: the minimum diameter (9 in.) is above"},
        {0, {"Pulpwood", std::nullopt, {8, 8, 8, 8, 5}}, "Product 1 \"Pulpwood\" has no units"},
        {0, {"Pulpwood", 5, {8, 8, 8, 8, 5}}, "there is no unit choice 6"},
        {1, {"Bolts", 0, {7, 8, 8, 8, 5}}, "the minimum diameter 7 in. is not one of the choices"},
        {1, {"Bolts", 0, {8, 51, 8, 8, 5}}, "the maximum diameter 51 in. is not one of"},
        {1, {"Bolts", 0, {8, 8, 9, 9, 5}}, "the minimum length 9 ft. is not one of the choices"},
        {1, {"Bolts", 0, {8, 8, 8, 8, 7}}, "the required soundness 7 % is not one of the choices"},
        {1, {"Bolts", 0, {8, 8, 8, 8, 0}}, "the required soundness 0 %"},
        {0, {"\xCE\xA9 logs", 0, {8, 8, 8, 8, 5}}, "cannot be stored"},
    };
    for (const Case& c : cases) {
        RoundwoodChoices choices;
        choices.Products[c.product] = c.choices;
        ExpectRefused(choices, c.words);
    }
    RoundwoodChoices badCull;
    badCull.Cull = 3;
    ExpectRefused(badCull, "There is no cull choice 4.");
}

TEST(RoundwoodEditor, ChoicesOfAStoredSetSaveItAgain) {
    for (const char* name : {"Appalachian Roundwood", "Northern Roundwood"}) {
        const std::vector<std::uint8_t> file = test::ReadBytes(BundledRoundwood(name));
        const RoundwoodChoices choices = RoundwoodChoicesOf(RoundwoodProductSet::Decode(file));
        EXPECT_EQ(Saved(choices), file) << name;
    }
    const RoundwoodChoices appalachian =
        RoundwoodChoicesOf(ReadRoundwoodProducts(BundledRoundwood("Appalachian Roundwood")));
    EXPECT_EQ(appalachian.Products[0].Unit, std::optional<std::size_t>(3)) << "Tons";
    EXPECT_EQ(appalachian.Products[0].Limits, (std::array<int, 5>{8, 16, 8, 16, 25}));
    EXPECT_EQ(appalachian.Cull, 1U) << "Cull Penalty (cubic feet)";

    // A slot without a name means nothing, so whatever its limits hold it takes the first
    // choices; a set saved without a cull choice reads as "No Cull Penalty".
    RoundwoodProductSet loose;
    loose.Products[2].Units = "cords";
    loose.Products[2].MinDiameter = 0;
    loose.Products[2].Soundness = 0.33F;
    loose.CullHandling = "";
    loose.CullUnits = "";
    const RoundwoodChoices fromLoose = RoundwoodChoicesOf(loose);
    EXPECT_EQ(fromLoose.Products[2].Limits, (std::array<int, 5>{8, 8, 8, 8, 5}));
    EXPECT_FALSE(fromLoose.Products[2].Unit);
    EXPECT_EQ(fromLoose.Cull, 0U);
}

TEST(RoundwoodEditor, ChoicesOfRefuseWhatTheEditorCannotShow) {
    struct Case {
        const char* what;
        void (*change)(RoundwoodProductSet&);
        std::string words;
    };
    const Case cases[] = {
        {"typed units", [](RoundwoodProductSet& s) { s.Products[0].Units = "cords"; },
         "Product 1 \"Pulpwood\": the units \"cords\" are none of the five unit choices."},
        {"soundness off the steps", [](RoundwoodProductSet& s) { s.Products[1].Soundness = 0.33F; },
         "Product 2 \"Tie Logs\": the required soundness 0.3"},
        {"diameter off the list", [](RoundwoodProductSet& s) { s.Products[2].MaxDiameter = 60; },
         "the maximum diameter 60 in. is not one of the choices."},
        {"minimum above maximum",
         [](RoundwoodProductSet& s) {
             s.Products[2].MinLength = 16;
             s.Products[2].MaxLength = 8;
         },
         "Product 3 \"Fuelwood\": the minimum length (16 ft.) is above"},
        {"foreign cull pair", [](RoundwoodProductSet& s) { s.CullUnits = "Tons"; },
         "The cull pair \"Cull\"/\"Tons\" is none of the three cull choices."},
    };
    for (const Case& c : cases) {
        RoundwoodProductSet set = ReadRoundwoodProducts(BundledRoundwood("Appalachian Roundwood"));
        c.change(set);
        try {
            RoundwoodChoicesOf(set);
            ADD_FAILURE() << c.what << ": no refusal";
        } catch (const VarnokError& error) {
            EXPECT_NE(std::string(error.what()).find(c.words), std::string::npos)
                << c.what << ": " << error.what();
        }
    }
}

TEST(RoundwoodViewer, TablesOfTheBundledSets) {
    using Column = std::array<std::string, 8>;
    const Column names = {"",
                          "Product Name",
                          "Units",
                          "Min Dia. (in.)",
                          "Max Dia. (in.)",
                          "Min Length (ft.)",
                          "Max Length (ft.)",
                          "Soundness (%)"};
    struct Case {
        const char* file;
        std::array<Column, 4> columns; // products 1 to 3 and cull
    };
    const Case cases[] = {
        {"Appalachian Roundwood",
         {{{"Product 1", "Pulpwood", "Tons", "8", "16", "8", "16", "0.25"},
           {"Product 2", "Tie Logs", "MBF", "12", "24", "8", "8", "0.10"},
           {"Product 3", "Fuelwood", "Tons", "8", "50", "8", "16", "1.00"},
           {"Cull Material", "Cull", "Cubic Feet", "", "", "", "", ""}}}},
        {"Northern Roundwood",
         {{{"Product 1", "Pulpwood", "Cords", "8", "24", "8", "16", "0.50"},
           {"Product 2", "Bolts", "Cords", "10", "20", "8", "10", "0.20"},
           {"Product 3", "Fuelwood", "Tons", "8", "50", "8", "16", "1.00"},
           {"Cull Material", "Cull", "Cubic Feet", "", "", "", "", ""}}}},
    };
    for (const Case& c : cases) {
        const RoundwoodViewerTable cells =
            RoundwoodViewerCells(ReadRoundwoodProducts(BundledRoundwood(c.file)));
        EXPECT_EQ(cells[0], names) << c.file;
        for (std::size_t col = 0; col < 4; ++col) {
            EXPECT_EQ(cells[col + 1], c.columns[col]) << c.file << ", column " << col + 1;
        }
    }

    // A failed read leaves the headers alone, nothing of a previous set.
    const RoundwoodViewerTable headers = RoundwoodViewerHeaders();
    EXPECT_EQ(headers[0], names);
    EXPECT_EQ(headers[4], (Column{"Cull Material", "", "", "", "", "", "", ""}));
    EXPECT_EQ(headers[2], (Column{"Product 2", "", "", "", "", "", "", ""}));
}

TEST(RoundwoodEditor, TableHeadersAndLabels) {
    const RoundwoodEditorTable cells = RoundwoodEditorHeaders();
    EXPECT_EQ(cells[0], (std::array<std::string, 3>{"", "Product Name", "Units"}));
    EXPECT_EQ(cells[3], (std::array<std::string, 3>{"Product 3", "", ""}));
    EXPECT_STREQ(RoundwoodLimitLabel(RoundwoodLimit::MinDiameter), "Min Diameter (in.)........");
    EXPECT_STREQ(RoundwoodLimitLabel(RoundwoodLimit::MaxDiameter), "Max Diameter (in.).......");
    EXPECT_STREQ(RoundwoodLimitLabel(RoundwoodLimit::MinLength), "Min Length (ft.)............");
    EXPECT_STREQ(RoundwoodLimitLabel(RoundwoodLimit::MaxLength), "Max Length (ft.)...........");
    EXPECT_STREQ(RoundwoodLimitLabel(RoundwoodLimit::Soundness), "Required Soundness..");
    EXPECT_EQ(RoundwoodLimitChoices(RoundwoodLimit::MinDiameter).size(), 43U); // 8 to 50
    EXPECT_EQ(RoundwoodLimitChoices(RoundwoodLimit::MaxLength),
              (std::vector<int>{8, 10, 12, 14, 16}));
}

} // namespace
} // namespace varnok
