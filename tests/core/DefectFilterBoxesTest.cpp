// The 59 check boxes of the defect filter editor and viewer: their captions and groups, the
// record the editor saves from them, what the viewer checks, and how the boxes are laid out.

#include "rules/DefectFilterBoxes.h"
#include "TestSupport.h"
#include "support/ByteBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace varnok {
namespace {

constexpr std::size_t kEntry = 154;
constexpr std::size_t kFlag = 102;

std::filesystem::path BundledFilter(const std::string& name) {
    return std::filesystem::path(VARNOK_TEST_DATA_DIR).parent_path().parent_path() / "data" /
           "Filters" / name;
}

std::vector<std::size_t> Unchecked(const DefectFilterFlags& flags) {
    std::vector<std::size_t> entries;
    for (std::size_t n = 1; n <= flags.size(); ++n) {
        if (!flags[n - 1]) {
            entries.push_back(n);
        }
    }
    return entries;
}

const std::vector<std::size_t> kDefaultUnchecked = {8, 15, 20, 22, 35, 39, 41, 47, 49};

TEST(DefectFilterBoxes, CaptionsAndGroups) {
    const auto& boxes = DefectFilterBoxes();
    for (std::size_t n = 1; n <= boxes.size(); ++n) {
        EXPECT_EQ(boxes[n - 1].Entry, n);
    }
    struct Case {
        std::size_t entry;
        const char* group;
        const char* inner;
        const char* caption;
    };
    const Case cases[] = {
        {1, "Bulges", "", "Butt (BU)"},
        {5, "Bumps", "", "Low (B)"},
        {6, "", "", "Burl (BL)"},
        {13, "", "", "Adventitious Bud Cluster/Epicormic Branch (AC)"},
        {15, "", "", "Flange (FLA)"},
        {20, "Bark Scarrer", "", "Sound (SW)"},
        {23, "Bird Peck", "", "Closed (CBPK)"},
        {30, "", "", "Limb"},
        {34, "Overgrowth", "", "Squirrel Bite (OSB)"},
        {35, "Overgrowth", "Bark Distortions", "Low (LD)"},
        {37, "Overgrowth", "Bark Distortions", "Heavy (HD)"},
        {42, "Wound", "", "Unsound (UW)"},
        {57, "", "", "Rot (R)"},
        {59, "", "", "Large Maple Heart (LMH)"},
    };
    for (const Case& c : cases) {
        const DefectFilterBox& box = boxes[c.entry - 1];
        EXPECT_STREQ(box.Group, c.group) << c.entry;
        EXPECT_STREQ(box.InnerGroup, c.inner) << c.entry;
        EXPECT_STREQ(box.Caption, c.caption) << c.entry;
    }

    // The code a caption shows is the code its entry decides, apart from the captions that
    // show the class or the kind rather than the code.
    const DefectFilterSet table = DefaultDefectFilterSet();
    const std::set<std::size_t> showOtherCodes = {1, 2, 3, 4, 5, 6, 15};
    for (const DefectFilterBox& box : boxes) {
        const std::string caption = box.Caption;
        const std::size_t open = caption.rfind('(');
        if (open == std::string::npos) {
            EXPECT_EQ(caption, table.Entries[box.Entry - 1].Name) << box.Entry;
            continue;
        }
        const std::string shown = caption.substr(open + 1, caption.size() - open - 2);
        EXPECT_EQ(shown == table.Entries[box.Entry - 1].Code, !showOtherCodes.contains(box.Entry))
            << box.Entry << " " << caption;
    }

    std::vector<std::string> groups;
    for (const DefectFilterSection& section : DefectFilterSections()) {
        if (*section.Group != '\0') {
            groups.push_back(section.Group);
        }
    }
    EXPECT_EQ(groups, (std::vector<std::string>{"Bulges", "Bumps", "Gall", "Bark Scarrer",
                                                "Bird Peck", "Knot", "Overgrowth", "Wound"}));
}

TEST(DefectFilterBoxes, UntouchedEditorSavesTheDefaults) {
    const DefectFilterFlags defaults = DefaultFilterFlags();
    EXPECT_EQ(Unchecked(defaults), kDefaultUnchecked);
    const std::vector<std::uint8_t> bytes = DefectFilterSetFromFlags(defaults).Encode();
    ASSERT_EQ(bytes.size(), 9086U);
    for (std::size_t n = 1; n <= 59; ++n) {
        const bool unchecked = std::find(kDefaultUnchecked.begin(), kDefaultUnchecked.end(), n) !=
                               kDefaultUnchecked.end();
        EXPECT_EQ(bytes[(n - 1) * kEntry + kFlag], unchecked ? 0 : 1) << "entry " << n;
    }
    // Names, codes and classes are the fixed table's whatever the boxes say.
    DefectFilterFlags none{};
    const std::vector<std::uint8_t> cleared = DefectFilterSetFromFlags(none).Encode();
    const ByteReader r(cleared);
    EXPECT_EQ(r.ShortString(14 * kEntry + 51, 50), "GLA");
    EXPECT_EQ(r.ShortString(21 * kEntry + 51, 50), "OBPK");
    EXPECT_EQ(r.ShortStringBytes(56 * kEntry + 103, 50), " DY");
    EXPECT_EQ(r.ShortString(35 * kEntry, 50), "Medium Bark Distoriton");
    for (std::size_t n = 0; n < 59; ++n) {
        EXPECT_EQ(cleared[n * kEntry + kFlag], 0);
    }
    // The bundled "Default Filter" is what the untouched editor saves.
    EXPECT_EQ(test::ReadBytes(BundledFilter("Default Filter")), bytes);
}

TEST(DefectFilterBoxes, ViewerChecksOnlyFlagOne) {
    EXPECT_EQ(Unchecked(ViewerFilterFlags(ReadDefectFilterSet(BundledFilter("Default Filter")))),
              kDefaultUnchecked);
    EXPECT_TRUE(
        Unchecked(ViewerFilterFlags(ReadDefectFilterSet(BundledFilter("Strict Filter")))).empty());

    // A flag other than 0 and 1 removes the defect, so its box is not checked.
    std::vector<std::uint8_t> bytes = DefaultDefectFilterSet().Encode();
    bytes[27 * kEntry + kFlag] = 2;
    bytes[28 * kEntry + kFlag] = 255;
    bytes[29 * kEntry + kFlag] = 0;
    EXPECT_EQ(Unchecked(ViewerFilterFlags(DefectFilterSet::Decode(bytes))),
              (std::vector<std::size_t>{8, 15, 20, 22, 28, 29, 30, 35, 39, 41, 47, 49}));
}

TEST(DefectFilterBoxes, TwinsAndBoxesThatNeverAct) {
    const std::pair<std::size_t, std::optional<std::size_t>> twins[] = {
        {20, 41},          {41, 20},           {21, 42},          {42, 21},
        {1, std::nullopt}, {33, std::nullopt}, {0, std::nullopt}, {60, std::nullopt}};
    for (const auto& [entry, twin] : twins) {
        EXPECT_EQ(TwinFilterEntry(entry), twin) << entry;
    }
    // Twins start alike, or the first one shown would decide against what the second shows.
    const DefectFilterFlags defaults = DefaultFilterFlags();
    EXPECT_EQ(defaults[19], defaults[40]);
    EXPECT_EQ(defaults[20], defaults[41]);

    std::vector<std::size_t> neverAct;
    for (std::size_t n = 0; n <= 60; ++n) {
        if (const auto why = FilterBoxNeverActs(n)) {
            neverAct.push_back(n);
            EXPECT_NE(why->find("never acts"), std::string::npos) << *why;
        }
    }
    EXPECT_EQ(neverAct, (std::vector<std::size_t>{15, 22, 23}));
    EXPECT_NE(FilterBoxNeverActs(15)->find("\"GLA\""), std::string::npos);
    EXPECT_NE(FilterBoxNeverActs(15)->find("\"FLA\""), std::string::npos);
    EXPECT_NE(FilterBoxNeverActs(22)->find("\"OBPK\" has 4 letters"), std::string::npos);
    EXPECT_NE(FilterBoxNeverActs(23)->find("\"CBPK\""), std::string::npos);
}

// The tallest column of the best split of heights[from..] into at most `columns` columns,
// every split tried.
int BestTallest(const std::vector<int>& heights, std::size_t from, std::size_t columns) {
    int rest = 0;
    for (std::size_t i = from; i < heights.size(); ++i) {
        rest += heights[i];
    }
    if (columns == 1) {
        return rest;
    }
    int best = rest;
    int rows = 0;
    for (std::size_t end = from + 1; end < heights.size(); ++end) {
        rows += heights[end - 1];
        best = std::min(best, std::max(rows, BestTallest(heights, end, columns - 1)));
    }
    return best;
}

TEST(DefectFilterBoxes, SectionsSplitIntoColumnsWithTheLeastTallest) {
    const std::vector<DefectFilterSection> sections = DefectFilterSections();
    std::size_t boxes = 0;
    std::size_t next = 1;
    for (const DefectFilterSection& section : sections) {
        for (const std::size_t entry : section.Entries) {
            EXPECT_EQ(entry, next++) << "sections keep entry order";
        }
        boxes += section.Entries.size();
        if (*section.Group == '\0') {
            EXPECT_EQ(section.Entries.size(), 1U);
        }
        if (std::strcmp(section.Group, "Overgrowth") == 0) {
            EXPECT_EQ(section.Rows(), 9) << "seven boxes, its title and the inner title";
        }
    }
    EXPECT_EQ(boxes, 59U);

    // Synthetic sections of boxes without a group title, one row per box.
    struct Case {
        std::vector<std::size_t> groupSizes; // boxes per section
        std::size_t columns;
        std::vector<std::size_t> expected;
    };
    const Case cases[] = {
        {{}, 3, {}},
        {{1, 1, 1}, 0, {}},
        {{1}, 3, {1}},
        {{1, 1, 1, 1}, 2, {2, 2}},
        {{3, 1, 1, 1}, 2, {1, 3}},
        {{1, 1, 1, 3}, 2, {3, 1}},
        {{2, 2, 2}, 5, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        std::vector<DefectFilterSection> synthetic;
        std::size_t entry = 43; // boxes without an inner group
        for (const std::size_t size : c.groupSizes) {
            DefectFilterSection section{"", {}};
            for (std::size_t i = 0; i < size; ++i) {
                section.Entries.push_back(entry++);
            }
            synthetic.push_back(section);
        }
        EXPECT_EQ(DefectFilterColumns(synthetic, c.columns), c.expected);
    }

    std::vector<int> heights;
    for (const DefectFilterSection& section : sections) {
        heights.push_back(section.Rows());
    }
    for (const std::size_t columns : {2U, 3U, 4U}) {
        const std::vector<std::size_t> split = DefectFilterColumns(sections, columns);
        ASSERT_LE(split.size(), columns);
        std::size_t first = 0;
        int tallest = 0;
        for (const std::size_t count : split) {
            ASSERT_GT(count, 0U);
            int rows = 0;
            for (std::size_t i = first; i < first + count; ++i) {
                rows += heights[i];
            }
            tallest = std::max(tallest, rows);
            first += count;
        }
        EXPECT_EQ(first, sections.size());
        EXPECT_EQ(tallest, BestTallest(heights, 0, columns)) << columns << " columns";
    }
}

} // namespace
} // namespace varnok
