// The veneer grading rule wizard driven page by page as its dialog drives it; what it stores is
// checked in the bytes of the written record, at the offsets of the file layout.

#include "grading/VeneerWizard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
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
    int Defects = 0, Knot = 0, Seam = 0;
    int InLine = 0; // 0 = "yes"
    int Angle = 0, Hole = 0, Heart = 0, Halves = 0;
};

// Pages 3 to 12 of the current grade, then the finish button. `look` sees each page before
// it is filled in.
Outcome RunGrade(VeneerWizard& w, const GradePlan& plan,
                 const std::function<void(VeneerWizard&)>& look = {}) {
    VeneerWizardChoices& c = w.Choices();
    for (int page = 3; page <= 12; ++page) {
        EXPECT_EQ(w.Page(), page);
        if (look) {
            look(w);
        }
        switch (page) {
        case 3:
            c.MinDiameter = plan.MinDiameter;
            break;
        case 4:
            c.Lengths = plan.Lengths;
            break;
        case 5:
            c.Sweep.fill(plan.Sweep);
            break;
        case 6:
            EXPECT_TRUE(w.ChooseDefectBasis(plan.Basis));
            c.DefectsByDiameter.fill(plan.Defects);
            c.DefectsByLength.fill(plan.Defects);
            c.Defects = plan.Defects;
            break;
        case 7:
            c.KnotSize = plan.Knot;
            break;
        case 8:
            c.SeamLength = plan.Seam;
            break;
        case 9:
            c.InLine.fill(plan.InLine);
            c.InLineAngle = plan.Angle;
            break;
        case 10:
            c.Hole.fill(plan.Hole);
            break;
        case 11:
            c.HeartPercent = plan.Heart;
            break;
        default:
            c.Halves.fill(plan.Halves);
            break;
        }
        if (page < 12) {
            EXPECT_TRUE(w.Next()) << page;
        }
    }
    EXPECT_FALSE(w.NextEnabled());
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

// The written record, read at the offsets of the file layout in grade block g (1 to 3).
struct Bytes {
    std::vector<std::uint8_t> All;
    explicit Bytes(const VeneerWizard& w) : All(w.Record().Encode()) {}
    static std::size_t Base(int g) { return 1072 * static_cast<std::size_t>(g - 1); }
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
        const auto first = All.begin() + static_cast<std::ptrdiff_t>(at) + 1;
        return std::string(first, first + All.at(at));
    }
    bool BlockIsZero(int g) const {
        const auto first = All.begin() + static_cast<std::ptrdiff_t>(Base(g));
        return std::all_of(first, first + 1072, [](std::uint8_t b) { return b == 0; });
    }
};

std::size_t AtDiameter(int d) {
    return static_cast<std::size_t>(d - 9);
}
std::size_t AtLength(int feet) {
    return static_cast<std::size_t>(feet - 8);
}

// One grade accepting 12 feet alone: the per-length lists are enabled for 12 feet only and
// every other length is written as 0, though a value was chosen in it. A second finish, as
// after a cancelled save, gives the same record; Back leaves the definition unfinished.
TEST(VeneerWizard, OneGradeOfTwelveFeetOnly) {
    VeneerWizard w;
    StartGrades(w, 1, {"Twelve"});
    const GradePlan plan{.MinDiameter = 3,
                         .Lengths = {false, false, true, false, false},
                         .Sweep = 1,
                         .Basis = VeneerDefectBasis::Length,
                         .Defects = 4,
                         .Knot = 2,
                         .Seam = 3,
                         .Angle = 3,
                         .Heart = 5};
    std::vector<bool> enabled;
    ASSERT_EQ(RunGrade(w, plan,
                       [&](VeneerWizard& at) {
                           for (std::size_t list = 0; list < 5 && at.Page() == 12; ++list) {
                               enabled.push_back(at.LengthListEnabled(list));
                           }
                       }),
              Outcome::Save);
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, true, false, false}));
    const Bytes b(w);
    ASSERT_EQ(b.All.size(), std::size_t{3216});
    for (int feet = 8; feet <= 16; ++feet) {
        const int twelve = feet == 12 ? 1 : 0;
        EXPECT_EQ(b.U8(1, 2 + AtLength(feet)), twelve) << feet;
        EXPECT_EQ(b.U8(1, 224 + AtLength(feet)), 4 * twelve) << feet;
        EXPECT_EQ(b.U8(1, 236 + AtLength(feet)), twelve) << feet;
        EXPECT_EQ(b.U8(1, 292 + AtLength(feet)), twelve) << feet;
    }
    const std::vector<int> singles = {b.U8(1, 0),   b.U8(1, 1),   b.U8(1, 180),
                                      b.U8(1, 223), b.U8(1, 233), b.U8(1, 234),
                                      b.U8(1, 235), b.U8(1, 245), b.U8(1, 1069)};
    EXPECT_EQ(singles, (std::vector<int>{1, 12, 0, 1, 0, 2, 3, 30, 100}));
    EXPECT_EQ(b.F32(1, 288), 50.0F);
    EXPECT_EQ(b.Name(1, 1), "Twelve");
    EXPECT_EQ(b.Name(1, 2), "");
    EXPECT_TRUE(b.BlockIsZero(2) && b.BlockIsZero(3));

    EXPECT_EQ(w.Finish(), Outcome::Save);
    EXPECT_EQ(w.Record().Encode(), b.All);
    ASSERT_TRUE(w.Back());
    EXPECT_FALSE(w.Finished());
    EXPECT_EQ(w.Page(), 11);
}

// The per-diameter pages (sweep, defects by diameter, hole): lists below the minimum are off
// and not required; 9 to 14 inches hold their own choices (0 below the minimum), the ">15"
// choice holds from 15 to 50 inches. A minimum of 15 or more leaves only the ">15" list.
TEST(VeneerWizard, PerDiameterListsFollowTheMinimum) {
    struct Case {
        int minimum;              // inches
        int sweep, defects, hole; // positions chosen in every list
    };
    const Case cases[] = {{18, 2, 5, 3}, {15, 0, 0, 0}, {9, 5, 8, 5}, {12, 1, 2, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.minimum);
        VeneerWizard w;
        StartGrades(w, 1);
        auto look = [&](VeneerWizard& at) {
            if (at.Page() != 5) {
                return;
            }
            for (std::size_t list = 0; list < 7; ++list) {
                EXPECT_EQ(at.DiameterListEnabled(list),
                          list == 6 || 9 + static_cast<int>(list) >= c.minimum);
            }
            at.Choices().Sweep[6] = c.sweep;
            EXPECT_EQ(at.NextEnabled(), c.minimum >= 15);
        };
        const GradePlan plan{.MinDiameter = c.minimum - 9,
                             .Sweep = c.sweep,
                             .Basis = VeneerDefectBasis::Diameter,
                             .Defects = c.defects,
                             .Hole = c.hole};
        ASSERT_EQ(RunGrade(w, plan, look), Outcome::Save);
        const Bytes b(w);
        EXPECT_EQ(b.U8(1, 180), 1);
        for (int d = 9; d <= 50; ++d) {
            const bool asked = d >= c.minimum || d >= 15;
            EXPECT_EQ(b.F32(1, 12 + 4 * AtDiameter(d)), asked ? c.sweep + 1.0F : 0.0F) << d;
            EXPECT_EQ(b.U8(1, 181 + AtDiameter(d)), asked ? c.defects : 0) << d;
            EXPECT_EQ(b.U8(1, 246 + AtDiameter(d)), asked ? c.hole + 1 : 0) << d;
        }
    }
}

// Three grades: the names typed once stand in every block; pages 3 to 12 run three times with
// "Next Grade" twice and "Finished" once; in the later grades Back stops at the minimum
// diameter. Then a two-grade definition in the same wizard leaves block 3 all zero.
TEST(VeneerWizard, ThreeGradesThenTwo) {
    VeneerWizard w;
    const std::vector<std::string> names = {"Prime", "Select", "Export"};
    StartGrades(w, 3, names);
    std::vector<std::string> captions, shown;
    for (int g = 1; g <= 3; ++g) {
        EXPECT_EQ(w.Grade(), g);
        EXPECT_EQ(w.BackEnabled(), g == 1) << g;
        shown.push_back(w.NameShown());
        const GradePlan plan{.MinDiameter = 10 - 3 * g, .Sweep = g, .Knot = g, .Heart = 10};
        const Outcome outcome = RunGrade(w, plan, [&](VeneerWizard& at) {
            if (at.Page() == 12) {
                captions.push_back(at.FinishCaption());
            }
        });
        EXPECT_EQ(outcome, g < 3 ? Outcome::NextGrade : Outcome::Save) << g;
        EXPECT_EQ(w.Back(), g == 3) << g; // on page 3 of the next grade Back is refused
    }
    EXPECT_EQ(shown, names);
    EXPECT_EQ(captions, (std::vector<std::string>{"Next Grade", "Next Grade", "Finished"}));
    ASSERT_TRUE(w.Next());
    ASSERT_EQ(w.Finish(), Outcome::Save);
    const Bytes three(w);
    for (int g = 1; g <= 3; ++g) {
        EXPECT_EQ(three.U8(g, 0), 3) << g;
        EXPECT_EQ(three.U8(g, 1), 19 - 3 * g) << g;
        EXPECT_EQ(three.U8(g, 234), g) << g;
        EXPECT_EQ(three.F32(g, 12 + 4 * AtDiameter(40)), g + 1.0F) << g;
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

// Pages that may not be left: "Next >" is disabled and a click changes nothing. Lists that are
// off (9 inches below a minimum of 10, 12 feet not accepted) are left empty throughout.
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
        c.GradeCount = 1;
        c.MinDiameter = 1;
        c.Lengths = {true, true, false, true, true};
        c.Sweep = c.DefectsByDiameter = c.Hole = {-1, 0, 0, 0, 0, 0, 0};
        c.InLine = c.Halves = {1, 1, -1, 1, 1};
        c.KnotSize = c.SeamLength = c.InLineAngle = c.HeartPercent = 0;
        while (w.Page() <= k.page) {
            if (w.Page() == 6) {
                ASSERT_TRUE(w.ChooseDefectBasis(VeneerDefectBasis::Diameter));
            }
            if (w.Page() == k.page) {
                break;
            }
            ASSERT_TRUE(w.Next()) << w.Page();
        }
        ASSERT_TRUE(w.PageComplete());
        const std::vector<std::uint8_t> stored = w.Record().Encode();
        k.spoil(c);
        EXPECT_FALSE(w.NextEnabled() || w.FinishEnabled() || w.Next());
        EXPECT_EQ(w.Finish(), Outcome::Refused);
        EXPECT_EQ(w.Page(), k.page);
        EXPECT_EQ(w.Record().Encode(), stored);
    }
}

// Back: from page 6 the defect choice is cleared; a radio choice locks the group until Back;
// a changed minimum clears the choices of lists it turns off; a changed defect basis leaves
// the other cases at 0; fewer grades chosen again leave no block or name of the others; a
// name over 255 characters is cut.
TEST(VeneerWizard, BackStoresAgainAndForgetsWhatIsTurnedOff) {
    VeneerWizard w;
    StartGrades(w, 3, {std::string(300, 'n'), "B", "C"});
    ASSERT_TRUE(w.Back() && w.Back());
    EXPECT_EQ(w.Page(), 1);
    EXPECT_EQ(w.NameShown(), "");
    StartGrades(w, 1);
    EXPECT_EQ(w.NameShown(), std::string(255, 'n'));
    VeneerWizardChoices& c = w.Choices();
    c.MinDiameter = 0;
    c.Lengths = {true, true, true, true, true};
    c.Sweep.fill(2);
    c.DefectsByDiameter.fill(3);
    ASSERT_TRUE(w.Next() && w.Next() && w.Next());
    ASSERT_TRUE(w.ChooseDefectBasis(VeneerDefectBasis::Diameter));
    EXPECT_FALSE(w.ChooseDefectBasis(VeneerDefectBasis::Neither));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.Back()); // page 6 again, its choice kept and free to change
    EXPECT_EQ(w.Page(), 6);
    EXPECT_EQ(w.DefectBasis(), VeneerDefectBasis::Diameter);
    EXPECT_FALSE(w.DefectBasisLocked());
    ASSERT_TRUE(w.Back() && w.Back() && w.Back());
    EXPECT_EQ(w.Page(), 3);
    c.MinDiameter = 3; // 12 inches
    c.Lengths = {true, false, true, false, true};
    ASSERT_TRUE(w.Next() && w.Next());
    EXPECT_EQ(c.Sweep, (VeneerDiameterChoices{-1, -1, -1, 2, 2, 2, 2}));
    EXPECT_EQ(c.DefectsByDiameter, (VeneerDiameterChoices{-1, -1, -1, 3, 3, 3, 3}));
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.DefectBasis(), VeneerDefectBasis::Unchosen); // cleared when page 6 was left back
    ASSERT_TRUE(w.ChooseDefectBasis(VeneerDefectBasis::Neither));
    c.Defects = 6;
    ASSERT_TRUE(w.Next());
    const Bytes b(w);
    EXPECT_EQ(b.F32(1, 12 + 4 * AtDiameter(11)), 0.0F);
    EXPECT_EQ(b.F32(1, 12 + 4 * AtDiameter(12)), 3.0F);
    EXPECT_EQ(b.U8(1, 180) + b.U8(1, 181 + AtDiameter(20)), 0);
    EXPECT_EQ(b.U8(1, 233), 6);
    EXPECT_EQ(b.U8(1, 2 + AtLength(10)), 0);
    EXPECT_EQ(b.Name(1, 1), std::string(255, 'n'));
    EXPECT_EQ(b.Name(1, 2), "");
    EXPECT_TRUE(b.BlockIsZero(2) && b.BlockIsZero(3));
}

// The texts that are easy to get wrong: aligned or marked entries and the page titles' ends.
TEST(VeneerWizard, Texts) {
    EXPECT_EQ(VeneerChoiceTexts(VeneerChoiceList::InLineAngle).front(), "  0 degrees");
    EXPECT_EQ(VeneerChoiceTexts(VeneerChoiceList::InLineAngle).back(), "90 degrees");
    EXPECT_EQ(VeneerChoiceTexts(VeneerChoiceList::MinDiameter).back(), "26\"");
    EXPECT_EQ(VeneerChoiceTexts(VeneerChoiceList::SeamLength).back(), "15'");
    EXPECT_EQ(VeneerChoiceTexts(VeneerChoiceList::HeartPercent).size(), std::size_t{11});
    EXPECT_EQ(VeneerDiameterLabel(6), ">15\"");
    EXPECT_EQ(VeneerLengthLabel(4), "16'");
    EXPECT_EQ(VeneerPageTitle(10), "What is the maximum hole (end decay) diameter allowed "
                                   "(according to small-end diameter)?");
    EXPECT_EQ(VeneerPageTitle(13), "");
}

} // namespace
} // namespace varnok
