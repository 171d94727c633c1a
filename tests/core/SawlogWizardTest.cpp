// The sawlog grading rule wizard without its window: the ordering rules of the bound lists,
// when "Next>" may be pressed, the order of the pages and the bytes of the record it builds.

#include "grading/SawlogWizard.h"
#include "support/ByteBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace varnok {
namespace {

using B = SawlogBound;
using S = SawlogWizardStep;
using C = SawlogCriterion;

constexpr int kNone = kNoChoice;

constexpr int Inch(int d) {
    return d - 8;
}

constexpr int Feet(int f) {
    return (f - 8) / 2;
}

struct DiameterSet {
    int Min, Max;
    bool Butt;
    int Variations;
};

// The diameter page as a user fills it: set 1's lower bound, then each upper bound (the next
// set's lower bound follows by itself), the butt boxes and the variation counts.
void FillDiameters(SawlogWizard& w, const std::vector<DiameterSet>& sets) {
    w.ChooseDiameter(1, B::Lower, Inch(sets.front().Min));
    for (std::size_t s = 0; s < sets.size(); ++s) {
        const int set = static_cast<int>(s) + 1;
        w.ChooseDiameter(set, B::Upper, Inch(sets[s].Max));
        w.SetButtLogsOnly(set, sets[s].Butt);
        w.ChooseVariationCount(set, sets[s].Variations - 1);
    }
}

void FillLengths(SawlogWizard& w, const std::vector<std::pair<int, int>>& variations) {
    w.ChooseLength(1, B::Lower, Feet(variations.front().first));
    for (std::size_t v = 0; v < variations.size(); ++v) {
        w.ChooseLength(static_cast<int>(v) + 1, B::Upper, Feet(variations[v].second));
    }
}

// List positions of the six criteria lists, in page order.
using Limits = std::array<int, kSawlogCriterionCount>;

void FillCriteria(SawlogWizard& w, const Limits& limits) {
    for (std::size_t c = 0; c < limits.size(); ++c) {
        w.ChooseCriterion(static_cast<C>(c), limits[c]);
    }
}

void StartGrades(SawlogWizard& w, int grades) {
    w.ChooseGradeCount(grades - 1);
    ASSERT_TRUE(w.Next());
}

void StartSets(SawlogWizard& w, int sets) {
    ASSERT_EQ(w.Step(), S::SetCount);
    ASSERT_FALSE(w.NextEnabled());
    w.ChooseSetCount(sets - 1);
    ASSERT_TRUE(w.Next());
}

// Bytes 0 to 27 of a cell in use, fractions given as their float bit patterns.
struct CellBytes {
    int G, D, L;
    std::array<std::uint8_t, 8> Head; // grade, diameters, lengths, butt, code, cuttings
    std::array<std::uint32_t, 4> Fractions;
    std::array<std::uint8_t, 3> Counts;
};

std::vector<std::uint8_t> Record(const std::vector<CellBytes>& cells) {
    ByteWriter bytes(SawlogRuleSet::kSize);
    for (const CellBytes& c : cells) {
        const std::size_t at = SawlogCellOffset(c.G, c.D, c.L);
        for (std::size_t i = 0; i < c.Head.size(); ++i) {
            bytes.U8(at + i, c.Head[i]);
        }
        for (std::size_t i = 0; i < c.Fractions.size(); ++i) {
            bytes.U32(at + 8 + 4 * i, c.Fractions[i]);
        }
        for (std::size_t i = 0; i < c.Counts.size(); ++i) {
            bytes.U8(at + 24 + i, c.Counts[i]);
        }
    }
    return bytes.Take();
}

// The entries of a diameter or length list, as the lists show them.
const std::vector<std::string>& Entries(bool lengths) {
    static const std::vector<std::string> diameters = SawlogDiameterChoices();
    static const std::vector<std::string> feet = SawlogLengthChoices();
    return lengths ? feet : diameters;
}

// Each row: diameter or length lists, the number of ranges shown, the lists chosen in turn
// ("b1=20": set 1's upper bound takes the entry "20"; "-" empties a list), then what the six
// lists a1 b1 a2 b2 a3 b3 show ("-": no value) and whether the page is complete.
struct OrderingCase {
    const char* What;
    bool Lengths;
    int Rows;
    const char* Choices;
    const char* After;
    bool Complete;
};

TEST(SawlogWizard, OrderingRulesActOnListPositions) {
    const OrderingCase cases[] = {
        {"b1 fills a2", false, 2, "a1=8 b1=20", "8 20 21 - - -", false},
        {"a2 chosen away from b1 is put back", false, 2, "a1=8 b1=20 a2=25", "8 20 21 - - -",
         false},
        {"b2 is free with two sets", false, 2, "a1=8 b1=20 b2=50", "8 20 21 50 - -", true},
        {"b1 fills nothing with one set", false, 1, "a1=8 b1=20", "8 20 - - - -", true},
        {"b1 on the last entry leaves a2 empty", false, 2, "a1=8 b1=50", "8 50 - - - -", false},
        {"a2 after b1 on the last entry stays empty", false, 2, "b1=50 a2=30", "- 50 - - - -",
         false},
        {"b2 on the last entry leaves a3 empty", false, 3, "a1=8 b1=12 b2=50", "8 12 13 50 - -",
         false},
        {"a3 before the entry after b2 moves up, after it stays", false, 3,
         "a1=8 b1=12 b2=16 a3=10 b3=40 a3=30", "8 12 13 16 30 40", false},
        {"b3 at or below b2 is cleared", false, 3, "a1=8 b1=12 b2=16 b3=16 b3=15",
         "8 12 13 16 17 -", false},
        {"three contiguous sets", false, 3, "a1=8 b1=12 b2=16 b3=17", "8 12 13 16 17 17", true},
        {"an upper bound chosen second may equal its lower", false, 1, "a1=14 b1=14",
         "14 14 - - - -", true},
        {"a lower bound chosen second may not", false, 1, "b1=14 a1=14", "- 14 - - - -", false},
        {"b1 below a1 is cleared", false, 1, "a1=20 b1=12", "20 - - - - -", false},
        {"b1 raised to a2 is cleared, a2 stays", false, 2, "a1=8 b1=20 b1=24", "8 - 21 - - -",
         false},
        {"a1 at a later bound is cleared", false, 2, "b2=30 a1=30", "- - - 30 - -", false},
        {"a2 at a1 is cleared", false, 2, "a1=20 a2=20", "20 - - - - -", false},
        {"emptying a list", false, 1, "a1=8 b1=9 b1=-", "8 - - - - -", false},
        {"a row not shown takes no choice", false, 1, "a2=30", "- - - - - -", false},
        {"lengths 8-10, 12-16", true, 2, "a1=8 b1=10 b2=16", "8 10 12 16 - -", true},
        {"a first variation to 16 ft leaves the second empty", true, 2, "a1=8 b1=16",
         "8 16 - - - -", false},
        {"one length per variation", true, 3, "a1=8 b1=8 b2=10 b3=16", "8 8 10 10 12 16", true},
    };
    for (const OrderingCase& c : cases) {
        SCOPED_TRACE(c.What);
        const std::vector<std::string>& entries = Entries(c.Lengths);
        SawlogBoundLists lists(static_cast<int>(entries.size()));
        lists.Clear(c.Rows);
        std::istringstream choices(c.Choices);
        for (std::string choice; choices >> choice;) {
            const std::string entry = choice.substr(3);
            const auto found = std::find(entries.begin(), entries.end(), entry);
            ASSERT_TRUE(entry == "-" || found != entries.end()) << choice;
            lists.Choose(choice[1] - '0', choice[0] == 'a' ? B::Lower : B::Upper,
                         entry == "-" ? kNone : static_cast<int>(found - entries.begin()));
        }
        std::string after;
        for (int row = 1; row <= 3; ++row) {
            for (const B bound : {B::Lower, B::Upper}) {
                const int at = lists.Position(row, bound);
                after += (after.empty() ? "" : " ") +
                         (at == kNone ? "-" : entries.at(static_cast<std::size_t>(at)));
            }
        }
        EXPECT_EQ(after, c.After);
        EXPECT_EQ(lists.Complete(), c.Complete);
    }
    SawlogBoundLists lengths(5);
    lengths.Clear(1);
    EXPECT_THROW(lengths.Choose(1, B::Upper, 5), std::out_of_range);
    EXPECT_THROW(lengths.Choose(4, B::Upper, 0), std::out_of_range);
}

// "Next>" follows each page's completeness: radio choices, variation counts, the criteria
// lists and their order (a deduction limit below a sweep limit keeps it disabled).
TEST(SawlogWizard, NextIsEnabledOnlyOnACompletePage) {
    SawlogWizard w;
    EXPECT_FALSE(w.NextEnabled());
    EXPECT_FALSE(w.Next());
    EXPECT_EQ(w.Step(), S::GradeCount);
    StartGrades(w, 1);
    StartSets(w, 2);
    FillDiameters(w, {{8, 15, false, 1}, {16, 30, false, 2}});
    EXPECT_TRUE(w.NextEnabled());
    w.ChooseVariationCount(3, 0); // a hidden set
    w.ChooseDiameter(3, B::Lower, Inch(31));
    EXPECT_EQ(w.Diameters().Position(3, B::Lower), kNone);
    EXPECT_EQ(w.VariationChoice(3), kNone);
    w.ChooseDiameter(2, B::Upper, kNone);
    EXPECT_FALSE(w.NextEnabled());
    w.ChooseDiameter(2, B::Upper, Inch(30));
    ASSERT_TRUE(w.Next());
    FillLengths(w, {{8, 16}});
    ASSERT_TRUE(w.Next());
    FillLengths(w, {{8, 10}, {12, 16}});
    ASSERT_TRUE(w.Next());
    ASSERT_EQ(w.Step(), S::Criteria);

    struct Case {
        Limits Chosen; // positions; sweeps and deduction in steps of 5 %
        bool Enabled;
    };
    const Case cases[] = {
        {{0, 0, 0, 5, 5, 4}, false}, // deduction 20 % below a sweep of 25 %
        {{0, 0, 0, 5, 5, 5}, true},
        {{0, 0, 0, 2, 6, 5}, false}, // below the sweep over 25 % of the end
        {{0, 0, 0, 0, 0, 0}, true},
        {{7, 3, 3, 20, 20, 20}, true},
        {{kNone, 0, 0, 0, 0, 0}, false},
        {{0, 0, kNone, 0, 0, 0}, false},
        {{0, 0, 0, 0, 0, kNone}, false},
    };
    for (const Case& c : cases) {
        FillCriteria(w, c.Chosen);
        EXPECT_EQ(w.NextEnabled(), c.Enabled) << c.Chosen[3] << " " << c.Chosen[5];
    }
    EXPECT_THROW(w.ChooseCriterion(C::MaxNumber, 4), std::out_of_range);
    EXPECT_THROW(w.ChooseCriterion(C::Deduction, 21), std::out_of_range);
}

// The record of a definition of one grade, one set 8 to 50 inches and one variation 8 to 16
// feet with the criteria `chosen`; empty when the wizard does not reach its name page.
std::vector<std::uint8_t> OneCellRecord(const Limits& chosen) {
    SawlogWizard w;
    w.ChooseGradeCount(0);
    w.Next();
    w.ChooseSetCount(0);
    w.Next();
    FillDiameters(w, {{8, 50, false, 1}});
    w.Next();
    FillLengths(w, {{8, 16}});
    w.Next();
    FillCriteria(w, chosen);
    return w.Next() && w.Step() == S::Name ? w.Rules().Encode() : std::vector<std::uint8_t>{};
}

// Each criteria choice is stored as its code: 2, 3, 5, 7 ft or 11 to 14 for clear faces, 99
// for "No Limit", the yields as the floats of 1/2, 2/3, 3/4, 5/6, percentages as fractions.
TEST(SawlogWizard, CriteriaChoicesAreStoredAsTheirCodes) {
    struct Case {
        Limits Chosen;
        std::uint8_t Code, Cuttings;
        std::array<std::uint32_t, 4> Fractions; // yield, sweeps, deduction
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0}, 2, 1, {0x3F000000, 0, 0, 0}},
        {{1, 1, 1, 1, 2, 3}, 3, 2, {0x3F2AAAAB, 0x3D4CCCCD, 0x3DCCCCCD, 0x3E19999A}},
        {{2, 2, 2, 3, 6, 7}, 5, 3, {0x3F400000, 0x3E19999A, 0x3E99999A, 0x3EB33333}},
        {{3, 3, 3, 4, 8, 9}, 7, 99, {0x3F555555, 0x3E4CCCCD, 0x3ECCCCCD, 0x3EE66666}},
        {{4, 0, 0, 10, 0, 10}, 11, 1, {0x3F000000, 0x3F000000, 0, 0x3F000000}},
        {{5, 0, 0, 0, 0, 20}, 12, 1, {0x3F000000, 0, 0, 0x3F800000}},
        {{6, 0, 0, 5, 5, 5}, 13, 1, {0x3F000000, 0x3E800000, 0x3E800000, 0x3E800000}},
        {{7, 3, 0, 20, 20, 20}, 14, 99, {0x3F000000, 0x3F800000, 0x3F800000, 0x3F800000}},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> bytes = OneCellRecord(c.Chosen);
        const ByteReader cell(bytes);
        EXPECT_EQ(cell.U8(6), c.Code) << int{c.Code};
        EXPECT_EQ(cell.U8(7), c.Cuttings) << int{c.Code};
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(cell.U32(8 + 4 * i), c.Fractions[i]) << int{c.Code} << " field " << i;
        }
    }
    // Every percentage of the lists is the float nearest p / 100.
    for (int position = 0; position <= 20; ++position) {
        const std::vector<std::uint8_t> bytes = OneCellRecord({0, 0, 0, position, 0, position});
        EXPECT_EQ(ByteReader(bytes).F32(12), static_cast<float>(5 * position / 100.0)) << position;
    }
}

// One grade, one set, one variation: the only cell in use is (1, 1, 1), and the rest of the
// record is zero even after a larger definition in the same dialog.
TEST(SawlogWizard, OneCellDefinitionWritesOnlyCellOneOneOne) {
    SawlogWizard w;
    StartGrades(w, 3);
    StartSets(w, 3);
    FillDiameters(w, {{8, 10, false, 3}, {11, 20, false, 3}, {21, 50, false, 3}});
    ASSERT_TRUE(w.Next());
    EXPECT_NE(w.Rules().Cell(1, 3, 3).LengthVariationCount, 0);

    w.Start();
    EXPECT_EQ(w.Step(), S::GradeCount);
    EXPECT_EQ(w.GradeText(), "");
    EXPECT_EQ(w.Rules().Encode(), std::vector<std::uint8_t>(SawlogRuleSet::kSize));
    StartGrades(w, 1);
    EXPECT_EQ(w.GradeText(), "SAW GRADE 1");
    StartSets(w, 1);
    FillDiameters(w, {{12, 40, true, 1}});
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.LengthTitle(),
              "Set the range of log lengths to be included for Diameter Range 1: 12 inches thru "
              "40 inches");
    FillLengths(w, {{10, 14}});
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.CriteriaTitle(), "Set the critera below for diameter set: 12 inches to 40 "
                                 "inches, and length variation: 10 feet to 14 feet, butt logs "
                                 "only.");
    FillCriteria(w, {5, 3, 1, 3, 6, 10});
    EXPECT_FALSE(w.FinishedEnabled());
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.Step(), S::Name);
    EXPECT_FALSE(w.NextEnabled());
    EXPECT_TRUE(w.FinishedEnabled());
    EXPECT_EQ(w.Rules().Encode(), Record({{1,
                                           1,
                                           1,
                                           {1, 12, 40, 10, 14, 1, 12, 99},
                                           {0x3F2AAAAB, 0x3E19999A, 0x3E99999A, 0x3F000000},
                                           {1, 1, 1}}}));
    const SawlogRuleSet decoded = SawlogRuleSet::Decode(w.Rules().Encode());
    EXPECT_EQ(decoded.GradeCount(), 1);
    EXPECT_TRUE(decoded.IsFacesMode());
}

// Two grades: the pages come in the order of the definition (after set 1's last variation,
// set 2's first; after grade 1's last cell, grade 2's set count), with their titles, and the
// record holds exactly the cells defined.
TEST(SawlogWizard, TwoGradeRunVisitsEveryCellAndWritesItsBytes) {
    SawlogWizard w;
    StartGrades(w, 2);
    EXPECT_EQ(std::pair(w.Grade(), w.GradeCount()), std::pair(1, 2));
    StartSets(w, 2);
    FillDiameters(w, {{8, 15, true, 2}, {16, 50, false, 1}});
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(std::pair(w.Step(), w.LengthSet()), std::pair(S::Lengths, 1));
    FillLengths(w, {{8, 10}, {12, 16}});
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(std::pair(w.Step(), w.LengthSet()), std::pair(S::Lengths, 2));
    EXPECT_EQ(w.Lengths().Rows(), 1);
    EXPECT_EQ(w.Lengths().Position(1, B::Lower), kNone);
    EXPECT_EQ(w.LengthTitle(), "Set the range of log lengths to be included for Diameter Range "
                               "2: 16 inches thru 50 inches");
    FillLengths(w, {{8, 16}});
    ASSERT_TRUE(w.Next());

    struct Page {
        int Set, Variation;
        const char* Title;
        Limits Chosen;
    };
    const Page grade1[] = {
        {1,
         1,
         "Set the critera below for diameter set: 8 inches to 15 inches, and length variation: "
         "8 feet to 10 feet, butt logs only.",
         {0, 0, 0, 0, 0, 0}},
        {1,
         2,
         "Set the critera below for diameter set: 8 inches to 15 inches, and length variation: "
         "12 feet to 16 feet, butt logs only.",
         {1, 1, 1, 1, 1, 1}},
        {2,
         1,
         "Set the critera below for diameter set: 16 inches to 50 inches, and length "
         "variation: 8 feet to 16 feet.",
         {2, 2, 2, 2, 3, 4}},
    };
    for (const Page& page : grade1) {
        ASSERT_EQ(w.Step(), S::Criteria);
        EXPECT_EQ(std::pair(w.CriteriaSet(), w.CriteriaVariation()),
                  std::pair(page.Set, page.Variation));
        EXPECT_EQ(w.CriteriaTitle(), page.Title);
        EXPECT_EQ(w.Criterion(C::Yield), kNone); // each page starts cleared
        FillCriteria(w, page.Chosen);
        ASSERT_TRUE(w.Next());
    }
    EXPECT_EQ(std::pair(w.Step(), w.Grade()), std::pair(S::SetCount, 2));
    EXPECT_EQ(w.GradeText(), "SAW GRADE 2");
    StartSets(w, 1);
    EXPECT_EQ(w.Diameters().Position(1, B::Lower), kNone);
    EXPECT_FALSE(w.ButtLogsOnly(1));
    FillDiameters(w, {{10, 50, false, 1}});
    ASSERT_TRUE(w.Next());
    FillLengths(w, {{8, 16}});
    ASSERT_TRUE(w.Next());
    FillCriteria(w, {6, 3, 3, 20, 20, 20});
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.Step(), S::Name);

    EXPECT_EQ(w.Rules().Encode(),
              Record({
                  {1, 1, 1, {1, 8, 15, 8, 10, 1, 2, 1}, {0x3F000000, 0, 0, 0}, {2, 2, 2}},
                  {1,
                   1,
                   2,
                   {1, 8, 15, 12, 16, 1, 3, 2},
                   {0x3F2AAAAB, 0x3D4CCCCD, 0x3D4CCCCD, 0x3D4CCCCD},
                   {2, 2, 2}},
                  {1,
                   2,
                   1,
                   {1, 16, 50, 8, 16, 0, 5, 3},
                   {0x3F400000, 0x3DCCCCCD, 0x3E19999A, 0x3E4CCCCD},
                   {2, 2, 1}},
                  {2,
                   1,
                   1,
                   {2, 10, 50, 8, 16, 0, 13, 99},
                   {0x3F555555, 0x3F800000, 0x3F800000, 0x3F800000},
                   {2, 1, 1}},
              }));
}

} // namespace
} // namespace varnok
