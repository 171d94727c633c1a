// The veneer grading rule wizard driven page by page as its dialog drives it; what it stores is
// checked in the bytes of the written record, at the offsets of the file layout.

#include "grading/VeneerWizard.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace varnok {
namespace {

using Outcome = VeneerWizard::FinishOutcome;

// What one grade's pages are given. Every list of a page gets the choice, the disabled ones
// too, so that a disabled list's value is seen not to reach the file.
struct GradePlan {
    int MinDiameter = 0; // position: 0 = 9 inches
    std::array<bool, 5> Lengths = {true, true, true, true, true};
    int Sweep = 0;
    VeneerDefectBasis Basis = VeneerDefectBasis::Neither;
    int Defects = 0;
    int Knot = 0;
    int Seam = 0;
    int InLine = 0; // 0 = "yes"
    int Angle = 0;
    int Hole = 0;
    int Heart = 0;
    int Halves = 0;
};

// Pages 3 to 12 of the current grade, then the finish button, whose caption before the click
// goes to `caption`.
Outcome RunGrade(VeneerWizard& w, const GradePlan& plan, std::string* caption = nullptr) {
    VeneerWizardChoices& c = w.Choices();
    EXPECT_EQ(w.Page(), 3);
    c.MinDiameter = plan.MinDiameter;
    EXPECT_TRUE(w.Next());
    c.Lengths = plan.Lengths;
    EXPECT_TRUE(w.Next());
    c.Sweep.fill(plan.Sweep);
    EXPECT_TRUE(w.Next());
    EXPECT_TRUE(w.ChooseDefectBasis(plan.Basis));
    c.DefectsByDiameter.fill(plan.Defects);
    c.DefectsByLength.fill(plan.Defects);
    c.Defects = plan.Defects;
    EXPECT_TRUE(w.Next());
    c.KnotSize = plan.Knot;
    EXPECT_TRUE(w.Next());
    c.SeamLength = plan.Seam;
    EXPECT_TRUE(w.Next());
    c.InLine.fill(plan.InLine);
    c.InLineAngle = plan.Angle;
    EXPECT_TRUE(w.Next());
    c.Hole.fill(plan.Hole);
    EXPECT_TRUE(w.Next());
    c.HeartPercent = plan.Heart;
    EXPECT_TRUE(w.Next());
    EXPECT_EQ(w.Page(), 12);
    EXPECT_FALSE(w.NextEnabled());
    c.Halves.fill(plan.Halves);
    if (caption != nullptr) {
        *caption = w.FinishCaption();
    }
    return w.Finish();
}

// Pages 1 and 2.
void StartGrades(VeneerWizard& w, int count, const std::vector<std::string>& names = {}) {
    w.Choices().GradeCount = count - 1;
    ASSERT_TRUE(w.Next());
    for (std::size_t i = 0; i < names.size(); ++i) {
        w.Choices().Names[i] = names[i];
    }
    ASSERT_TRUE(w.Next());
}

// Bytes of grade block g (1 to 3) of the record at `offset`.
struct Bytes {
    std::vector<std::uint8_t> All;
    explicit Bytes(const VeneerWizard& w) : All(w.Record().Encode()) {}
    int U8(int g, std::size_t offset) const { return All.at(Base(g) + offset); }
    float F32(int g, std::size_t offset) const {
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            bits |= std::uint32_t{All.at(Base(g) + offset + i)} << (8 * i);
        }
        return std::bit_cast<float>(bits);
    }
    std::string Name(int g, int slot) const {
        const std::size_t at = Base(g) + 301 + 256 * static_cast<std::size_t>(slot - 1);
        return std::string(All.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                           All.begin() + static_cast<std::ptrdiff_t>(at) + 1 + All.at(at));
    }
    bool BlockIsZero(int g) const {
        for (std::size_t i = 0; i < VeneerRuleSet::kBlockSize; ++i) {
            if (All.at(Base(g) + i) != 0) {
                return false;
            }
        }
        return true;
    }
    static std::size_t Base(int g) {
        return VeneerRuleSet::kBlockSize * static_cast<std::size_t>(g - 1);
    }
};

constexpr std::size_t kSweep = 12;
constexpr std::size_t kDefectsForDiameter = 181;
constexpr std::size_t kDefectsForLength = 224;
constexpr std::size_t kInLine = 236;
constexpr std::size_t kHole = 246;
constexpr std::size_t kHalves = 292;

std::size_t AtDiameter(int d) {
    return static_cast<std::size_t>(d - 9);
}
std::size_t AtLength(int feet) {
    return static_cast<std::size_t>(feet - 8);
}

// One grade accepting 12 feet alone: the per-length lists of the defects, in-line and halves
// pages are enabled and required for 12 feet only, and every other length is written as 0 even
// where a value was chosen.
TEST(VeneerWizard, OneGradeOfTwelveFeetOnly) {
    VeneerWizard w;
    StartGrades(w, 1, {"Twelve"});
    const GradePlan plan{.MinDiameter = 3, // 12 inches
                         .Lengths = {false, false, true, false, false},
                         .Sweep = 1,
                         .Basis = VeneerDefectBasis::Length,
                         .Defects = 4,
                         .Knot = 2,
                         .Seam = 3,
                         .InLine = 0,
                         .Angle = 3,
                         .Hole = 2,
                         .Heart = 5,
                         .Halves = 0};
    // Stop on each per-length page to see which lists it offers and requires.
    VeneerWizardChoices& c = w.Choices();
    c.MinDiameter = plan.MinDiameter;
    ASSERT_TRUE(w.Next());
    c.Lengths = plan.Lengths;
    ASSERT_TRUE(w.Next());
    c.Sweep.fill(plan.Sweep);
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.ChooseDefectBasis(VeneerDefectBasis::Length));
    for (std::size_t list = 0; list < 5; ++list) {
        EXPECT_EQ(w.LengthListEnabled(list), list == 2) << list;
    }
    EXPECT_FALSE(w.NextEnabled());
    c.DefectsByLength[2] = plan.Defects;
    EXPECT_TRUE(w.NextEnabled()) << "the disabled lists are not required";
    ASSERT_TRUE(w.Next());
    c.KnotSize = plan.Knot;
    ASSERT_TRUE(w.Next());
    c.SeamLength = plan.Seam;
    ASSERT_TRUE(w.Next());
    c.InLineAngle = plan.Angle;
    EXPECT_FALSE(w.NextEnabled());
    c.InLine = {1, 1, 0, 1, 1}; // the disabled "no"s must not matter
    ASSERT_TRUE(w.Next());
    c.Hole.fill(plan.Hole);
    ASSERT_TRUE(w.Next());
    c.HeartPercent = plan.Heart;
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.FinishCaption(), "Finished");
    EXPECT_FALSE(w.FinishEnabled());
    c.Halves[2] = 0;
    ASSERT_EQ(w.Finish(), Outcome::Save);
    EXPECT_TRUE(w.Finished());

    const Bytes b(w);
    ASSERT_EQ(b.All.size(), std::size_t{3216});
    EXPECT_EQ(b.U8(1, 0), 1);
    EXPECT_EQ(b.U8(1, 1), 12);
    for (int feet = 8; feet <= 16; ++feet) {
        const int twelve = feet == 12 ? 1 : 0;
        EXPECT_EQ(b.U8(1, 2 + AtLength(feet)), twelve) << feet;
        EXPECT_EQ(b.U8(1, kDefectsForLength + AtLength(feet)), 4 * twelve) << feet;
        EXPECT_EQ(b.U8(1, kInLine + AtLength(feet)), twelve) << feet;
        EXPECT_EQ(b.U8(1, kHalves + AtLength(feet)), twelve) << feet;
    }
    EXPECT_EQ(b.U8(1, 180), 0);
    EXPECT_EQ(b.U8(1, 223), 1);
    EXPECT_EQ(b.U8(1, 233), 0);
    EXPECT_EQ(b.U8(1, 234), 2);
    EXPECT_EQ(b.U8(1, 235), 3);
    EXPECT_EQ(b.U8(1, 245), 30);
    EXPECT_EQ(b.F32(1, 288), 50.0F);
    EXPECT_EQ(b.Name(1, 1), "Twelve");
    EXPECT_EQ(b.Name(1, 2), "");
    EXPECT_EQ(b.U8(1, 1069), 100);
    EXPECT_TRUE(b.BlockIsZero(2));
    EXPECT_TRUE(b.BlockIsZero(3));
    EXPECT_EQ(VeneerRuleSet::Decode(b.All).Encode(), b.All);
}

// The per-diameter pages (sweep, defects by diameter, hole): lists below the minimum are off
// and not required; 9 to 14 inches hold their own choices (0 below the minimum), the ">15"
// choice holds from 15 to 50 inches. A minimum of 15 or more leaves only the ">15" list.
TEST(VeneerWizard, PerDiameterListsFollowTheMinimum) {
    struct Case {
        int minimum;              // inches
        int sweep, defects, hole; // positions chosen in every list
    };
    const Case cases[] = {{18, 2, 5, 3}, {15, 0, 0, 0}, {9, 5, 8, 5}, {12, 1, 2, 4}, {26, 3, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.minimum);
        VeneerWizard w;
        StartGrades(w, 1);
        w.Choices().MinDiameter = c.minimum - 9;
        ASSERT_TRUE(w.Next());
        w.Choices().Lengths = {true, true, true, true, true};
        ASSERT_TRUE(w.Next());
        for (std::size_t list = 0; list < 7; ++list) {
            EXPECT_EQ(w.DiameterListEnabled(list),
                      list == 6 || 9 + static_cast<int>(list) >= c.minimum)
                << list;
        }
        w.Choices().Sweep[6] = c.sweep;
        EXPECT_EQ(w.NextEnabled(), c.minimum >= 15) << "only the enabled lists are required";
        const GradePlan plan{.MinDiameter = c.minimum - 9,
                             .Sweep = c.sweep,
                             .Basis = VeneerDefectBasis::Diameter,
                             .Defects = c.defects,
                             .Hole = c.hole};
        w.Back();
        w.Back(); // to the minimum page, the later pages still filled in
        ASSERT_EQ(RunGrade(w, plan), Outcome::Save);
        const Bytes b(w);
        EXPECT_EQ(b.U8(1, 1), c.minimum);
        EXPECT_EQ(b.U8(1, 180), 1);
        for (int d = 9; d <= 50; ++d) {
            const bool asked = d >= c.minimum || d >= 15;
            EXPECT_EQ(b.F32(1, kSweep + 4 * AtDiameter(d)), asked ? c.sweep + 1.0F : 0.0F) << d;
            EXPECT_EQ(b.U8(1, kDefectsForDiameter + AtDiameter(d)), asked ? c.defects : 0) << d;
            EXPECT_EQ(b.U8(1, kHole + AtDiameter(d)), asked ? c.hole + 1 : 0) << d;
        }
    }
}

// Three grades: the names typed once stand in every block; pages 3 to 12 run three times with
// "Next Grade" twice and "Finished" once; in the later grades Back stops at the minimum
// diameter. Then a two-grade definition in the same wizard leaves block 3 all zero.
TEST(VeneerWizard, ThreeGradesThenTwo) {
    VeneerWizard w;
    StartGrades(w, 3, {"Prime", "Select", "Export"});
    const std::vector<std::string> names = {"Prime", "Select", "Export"};
    std::vector<std::string> captions;
    std::vector<std::string> shown;
    for (int g = 1; g <= 3; ++g) {
        EXPECT_EQ(w.Grade(), g);
        EXPECT_EQ(w.BackEnabled(), g == 1) << g;
        shown.push_back(w.NameShown());
        const GradePlan plan{.MinDiameter = 10 - 3 * g, .Sweep = g, .Knot = g, .Heart = 10};
        const Outcome outcome = RunGrade(w, plan, &captions.emplace_back());
        EXPECT_EQ(outcome, g < 3 ? Outcome::NextGrade : Outcome::Save) << g;
        if (g < 3) {
            EXPECT_EQ(w.Page(), 3);
            EXPECT_FALSE(w.Back());
            EXPECT_EQ(w.Page(), 3);
            w.Choices().MinDiameter = 0;
            ASSERT_TRUE(w.Next());
            ASSERT_TRUE(w.Back()) << "Back from page 4 shows page 3 again";
            EXPECT_EQ(w.Page(), 3);
            EXPECT_EQ(w.Grade(), g + 1);
        }
    }
    EXPECT_EQ(shown, names);
    EXPECT_EQ(captions, (std::vector<std::string>{"Next Grade", "Next Grade", "Finished"}));
    const Bytes three(w);
    for (int g = 1; g <= 3; ++g) {
        EXPECT_EQ(three.U8(g, 0), 3) << g;
        EXPECT_EQ(three.U8(g, 1), 19 - 3 * g) << g;
        EXPECT_EQ(three.U8(g, 234), g) << g;
        EXPECT_EQ(three.F32(g, kSweep + 4 * AtDiameter(40)), g + 1.0F) << g;
        EXPECT_EQ(three.F32(g, 288), 100.0F) << g;
        for (int slot = 1; slot <= 3; ++slot) {
            EXPECT_EQ(three.Name(g, slot), names[static_cast<std::size_t>(slot - 1)]);
        }
    }

    w.Start();
    EXPECT_EQ(w.Page(), 1);
    EXPECT_EQ(w.Grade(), 0);
    EXPECT_FALSE(w.NextEnabled());
    StartGrades(w, 2);
    ASSERT_EQ(RunGrade(w, {}), Outcome::NextGrade);
    ASSERT_EQ(RunGrade(w, {}), Outcome::Save);
    const Bytes two(w);
    EXPECT_EQ(two.U8(2, 0), 2);
    EXPECT_EQ(two.Name(1, 2), "Veneer Grade 2");
    EXPECT_EQ(two.Name(2, 3), "");
    EXPECT_TRUE(two.BlockIsZero(3));
}

// Storing the grade count zeroes what a larger count left: going back from three grades'
// names to one grade leaves neither a block nor a name slot for grades 2 and 3.
TEST(VeneerWizard, FewerGradesChosenAfterBackLeaveNoPhantom) {
    VeneerWizard w;
    StartGrades(w, 3, {"A", "B", "C"});
    ASSERT_TRUE(w.Back()); // page 2 again (page 1 stored again)
    ASSERT_TRUE(w.Back());
    EXPECT_EQ(w.Page(), 1);
    EXPECT_EQ(w.NameShown(), "");
    w.Choices().GradeCount = 0;
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.Next());
    ASSERT_EQ(RunGrade(w, {}), Outcome::Save);
    const Bytes b(w);
    EXPECT_EQ(b.U8(1, 0), 1);
    EXPECT_EQ(b.Name(1, 1), "A");
    EXPECT_EQ(b.Name(1, 2), "");
    EXPECT_EQ(b.Name(1, 3), "");
    EXPECT_TRUE(b.BlockIsZero(2));
    EXPECT_TRUE(b.BlockIsZero(3));
}

// Pages that may not be left: "Next >" is disabled and a click changes nothing.
TEST(VeneerWizard, IncompletePagesAreNotLeft) {
    struct Case {
        const char* what;
        int page;
        void (*spoil)(VeneerWizardChoices&);
    };
    const Case cases[] = {
        {"empty name", 2, [](VeneerWizardChoices& c) { c.Names[1] = ""; }},
        {"blank name", 2, [](VeneerWizardChoices& c) { c.Names[0] = "  \t"; }},
        {"name beyond Windows-1252", 2,
         [](VeneerWizardChoices& c) { c.Names[1] = "\xe2\x86\x92"; }},
        {"no minimum", 3, [](VeneerWizardChoices& c) { c.MinDiameter = -1; }},
        {"no length", 4, [](VeneerWizardChoices& c) { c.Lengths = {}; }},
        {"sweep at the minimum", 5, [](VeneerWizardChoices& c) { c.Sweep[1] = -1; }},
        {"sweep over 15", 5, [](VeneerWizardChoices& c) { c.Sweep[6] = -1; }},
        {"defects over 15", 6, [](VeneerWizardChoices& c) { c.DefectsByDiameter[6] = -1; }},
        {"knot", 7, [](VeneerWizardChoices& c) { c.KnotSize = -1; }},
        {"seam", 8, [](VeneerWizardChoices& c) { c.SeamLength = -1; }},
        {"angle", 9, [](VeneerWizardChoices& c) { c.InLineAngle = -1; }},
        {"in line at 16 ft", 9, [](VeneerWizardChoices& c) { c.InLine[4] = -1; }},
        {"hole", 10, [](VeneerWizardChoices& c) { c.Hole[5] = -1; }},
        {"heart", 11, [](VeneerWizardChoices& c) { c.HeartPercent = -1; }},
        {"halves", 12, [](VeneerWizardChoices& c) { c.Halves[0] = -1; }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        VeneerWizard w;
        VeneerWizardChoices& c = w.Choices();
        c = VeneerWizardChoices{};
        c.GradeCount = 1;
        c.MinDiameter = 1; // 10 inches: the 9-inch lists are off
        c.Lengths = {true, true, false, true, true};
        c.Sweep.fill(0);
        c.DefectsByDiameter.fill(0);
        c.KnotSize = c.SeamLength = c.InLineAngle = c.HeartPercent = 0;
        c.InLine.fill(1);
        c.Hole.fill(0);
        c.Halves.fill(1);
        c.Sweep[0] = c.Hole[0] = c.DefectsByDiameter[0] = -1; // off, so not required
        c.InLine[2] = c.Halves[2] = -1;
        while (w.Page() < k.page) {
            if (w.Page() == 6) {
                ASSERT_TRUE(w.ChooseDefectBasis(VeneerDefectBasis::Diameter));
            }
            ASSERT_TRUE(w.Next()) << w.Page();
        }
        if (k.page == 6) {
            ASSERT_TRUE(w.ChooseDefectBasis(VeneerDefectBasis::Diameter));
        }
        ASSERT_TRUE(w.PageComplete());
        const std::vector<std::uint8_t> stored = w.Record().Encode();
        k.spoil(c);
        EXPECT_FALSE(w.NextEnabled());
        EXPECT_FALSE(w.FinishEnabled());
        EXPECT_FALSE(w.Next());
        EXPECT_EQ(w.Finish(), Outcome::Refused);
        EXPECT_EQ(w.Page(), k.page);
        EXPECT_EQ(w.Record().Encode(), stored);
    }
}

// Back: from page 6 the defect choice is cleared; a radio choice locks the group until Back;
// a changed minimum clears the choices of lists it turns off; a changed defect basis leaves
// the other cases at 0; a name over 255 characters is cut.
TEST(VeneerWizard, BackStoresAgainAndForgetsWhatIsTurnedOff) {
    VeneerWizard w;
    StartGrades(w, 1, {std::string(300, 'n')});
    EXPECT_EQ(w.NameShown(), std::string(255, 'n'));
    VeneerWizardChoices& c = w.Choices();
    c.MinDiameter = 0;
    ASSERT_TRUE(w.Next());
    c.Lengths = {true, true, true, true, true};
    ASSERT_TRUE(w.Next());
    c.Sweep.fill(2);
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.ChooseDefectBasis(VeneerDefectBasis::Diameter));
    EXPECT_TRUE(w.DefectBasisLocked());
    EXPECT_FALSE(w.ChooseDefectBasis(VeneerDefectBasis::Neither));
    EXPECT_EQ(w.DefectBasis(), VeneerDefectBasis::Diameter);
    c.DefectsByDiameter.fill(3);
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.Back()); // page 6 again, its choice kept and free to change
    EXPECT_EQ(w.Page(), 6);
    EXPECT_EQ(w.DefectBasis(), VeneerDefectBasis::Diameter);
    EXPECT_FALSE(w.DefectBasisLocked());
    ASSERT_TRUE(w.Back()); // page 5: the defect choice is gone
    EXPECT_EQ(w.Page(), 5);
    ASSERT_TRUE(w.Back());
    ASSERT_TRUE(w.Back());
    EXPECT_EQ(w.Page(), 3);
    c.MinDiameter = 3; // 12 inches
    ASSERT_TRUE(w.Next());
    c.Lengths = {true, false, true, false, true};
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(c.Sweep, (VeneerDiameterChoices{-1, -1, -1, 2, 2, 2, 2}));
    EXPECT_EQ(c.DefectsByDiameter, (VeneerDiameterChoices{-1, -1, -1, 3, 3, 3, 3}));
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.DefectBasis(), VeneerDefectBasis::Unchosen);
    EXPECT_FALSE(w.NextEnabled());
    ASSERT_TRUE(w.ChooseDefectBasis(VeneerDefectBasis::Neither));
    c.Defects = 6;
    ASSERT_TRUE(w.Next());
    const Bytes b(w);
    EXPECT_EQ(b.U8(1, 1), 12);
    EXPECT_EQ(b.F32(1, kSweep + 4 * AtDiameter(11)), 0.0F);
    EXPECT_EQ(b.F32(1, kSweep + 4 * AtDiameter(12)), 3.0F);
    EXPECT_EQ(b.U8(1, 180), 0);
    EXPECT_EQ(b.U8(1, kDefectsForDiameter + AtDiameter(20)), 0);
    EXPECT_EQ(b.U8(1, 233), 6);
    EXPECT_EQ(b.U8(1, 2 + AtLength(10)), 0);
    EXPECT_EQ(b.Name(1, 1), std::string(255, 'n'));
}

// A cancelled save loses nothing: the finished wizard stays on page 12 and finishes again with
// the same record; Back makes it unfinished until the next finish.
TEST(VeneerWizard, FinishingAgainAfterASaveThatDidNotHappen) {
    VeneerWizard w;
    StartGrades(w, 1);
    ASSERT_EQ(RunGrade(w, {.Sweep = 4}), Outcome::Save);
    const std::vector<std::uint8_t> first = w.Record().Encode();
    EXPECT_EQ(w.Page(), 12);
    EXPECT_TRUE(w.FinishEnabled());
    EXPECT_EQ(w.Finish(), Outcome::Save);
    EXPECT_EQ(w.Record().Encode(), first);
    ASSERT_TRUE(w.Back());
    EXPECT_FALSE(w.Finished());
    EXPECT_EQ(w.Page(), 11);
    EXPECT_TRUE(w.NextEnabled());
}

TEST(VeneerWizard, Texts) {
    EXPECT_EQ(VeneerPageTitle(1), "How many different veneer grades would you like to specify?");
    EXPECT_EQ(VeneerPageTitle(10), "What is the maximum hole (end decay) diameter allowed "
                                   "(according to small-end diameter)?");
    EXPECT_EQ(VeneerPageTitle(12),
              "For what log lengths are surface defects in the two halves treated separately?");
    EXPECT_EQ(VeneerPageTitle(13), "");
    struct Case {
        VeneerChoiceList list;
        std::size_t count;
        std::string first, last;
    };
    const Case cases[] = {
        {VeneerChoiceList::GradeCount, 3, "1 Grade Only", "3 Grades"},
        {VeneerChoiceList::MinDiameter, 18, "9\"", "26\""},
        {VeneerChoiceList::Sweep, 6, "1\"", "6\""},
        {VeneerChoiceList::DefectBasis, 3, "diameter", "neither"},
        {VeneerChoiceList::DefectCount, 9, "0", "8"},
        {VeneerChoiceList::KnotSize, 8, "0\"", "7\""},
        {VeneerChoiceList::SeamLength, 16, "0'", "15'"},
        {VeneerChoiceList::YesNo, 2, "yes", "no"},
        {VeneerChoiceList::InLineAngle, 10, "  0 degrees", "90 degrees"},
        {VeneerChoiceList::HeartPercent, 11, "0%", "100%"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> texts = VeneerChoiceTexts(c.list);
        ASSERT_EQ(texts.size(), c.count) << c.first;
        EXPECT_EQ(texts.front(), c.first);
        EXPECT_EQ(texts.back(), c.last);
    }
    EXPECT_EQ(VeneerChoiceTexts(VeneerChoiceList::InLineAngle)[1], "10 degrees");
    EXPECT_EQ(VeneerDiameterLabel(0), "9\"");
    EXPECT_EQ(VeneerDiameterLabel(6), ">15\"");
    EXPECT_EQ(VeneerLengthLabel(4), "16'");
    EXPECT_EQ(VeneerNameLabel(2), "Name 3)");
}

} // namespace
} // namespace varnok
