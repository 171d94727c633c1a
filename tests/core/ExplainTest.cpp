// Why a log took its grade: the reasons the graders record must agree with the grades they
// give, and a rule named as failed must be what held the log back, shown by loosening that one
// rule and seeing the product get past it.

#include "EngineFixtures.h"
#include "TestSupport.h"

#include "market/OptimalCuts.h"
#include "support/Numbers.h"
#include "tree/TreeLoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace varnok {
namespace {

using test::StraightTree;
using test::TestMarket;

std::filesystem::path BundledData() {
    return std::filesystem::path(VARNOK_TEST_DATA_DIR).parent_path().parent_path() / "data";
}

const GradeReason* VerdictOf(const ExplainedLog& explained, int productClass) {
    for (const GradeReason& reason : explained.Reasons) {
        if (reason.ProductClass == productClass && reason.Rule != "value") {
            return &reason;
        }
    }
    return nullptr;
}

// The reasons must state the grades the engine gave: every grade better than the one reached
// failed, the one reached passed, each roundwood product passed exactly when it is eligible,
// and the last entry names the product the log sells as. Returns a description of the first
// disagreement, or nothing.
std::optional<std::string> Disagreement(const ExplainedLog& explained, const Market& market) {
    const LogSegment& s = explained.Log.Segment;
    const std::vector<GradeReason>& reasons = explained.Reasons;
    if (reasons.empty() || reasons.back().Rule != "value" ||
        reasons.back().ProductClass != s.ProductClass || !reasons.back().Passed) {
        return "the last entry is not the value of the product sold";
    }
    if (!explained.Log.Graded) {
        return reasons.size() == 1 ? std::nullopt : std::optional<std::string>("ungraded extras");
    }
    std::size_t expected = 1;
    auto family = [&](int firstClass, int grades, int reached) -> std::optional<std::string> {
        const int last = reached <= grades ? reached : grades;
        for (int g = 1; g <= grades; ++g) {
            const GradeReason* verdict = VerdictOf(explained, firstClass + g - 1);
            if (g > last) {
                if (verdict != nullptr) {
                    return "a verdict for class " + std::to_string(firstClass + g - 1) +
                           ", worse than the grade reached";
                }
                continue;
            }
            ++expected;
            if (verdict == nullptr || verdict->Passed != (g == reached)) {
                return "class " + std::to_string(firstClass + g - 1) +
                       (verdict == nullptr ? " has no verdict" : " has the wrong verdict");
            }
        }
        return std::nullopt;
    };
    if (auto wrong = family(1, market.VeneerRules().GradeCount(), s.VeneerGrade)) {
        return wrong;
    }
    if (auto wrong = family(4, market.SawlogRules.GradeCount(), s.SawGrade)) {
        return wrong;
    }
    for (int p = 1; p <= 3; ++p) {
        const GradeReason* verdict = VerdictOf(explained, 6 + p);
        if (!market.Roundwood.Products[static_cast<std::size_t>(p - 1)].IsDefined()) {
            if (verdict != nullptr) {
                return "a verdict for an undefined roundwood product";
            }
            continue;
        }
        ++expected;
        if (verdict == nullptr ||
            verdict->Passed != (s.RoundwoodEligible[static_cast<std::size_t>(p - 1)] == 1)) {
            return "roundwood product " + std::to_string(p) + " disagrees with its eligibility";
        }
    }
    if (reasons.size() != expected) {
        return "extra entries";
    }
    for (const GradeReason& reason : reasons) {
        if (reason.Product != market.ProductName(reason.ProductClass) || reason.Detail.empty()) {
            return "entry for class " + std::to_string(reason.ProductClass) +
                   " is not named or has no detail";
        }
    }
    return std::nullopt;
}

void ExpectSameLog(const EvaluatedLog& a, const EvaluatedLog& b) {
    const LogSegment& s = a.Segment;
    const LogSegment& t = b.Segment;
    EXPECT_EQ(s.SED, t.SED);
    EXPECT_EQ(s.SawGrade, t.SawGrade);
    EXPECT_EQ(s.SawGradeTried, t.SawGradeTried);
    EXPECT_EQ(s.VeneerGrade, t.VeneerGrade);
    EXPECT_EQ(s.VeneerGradeMet, t.VeneerGradeMet);
    EXPECT_EQ(s.RoundwoodProduct, t.RoundwoodProduct);
    EXPECT_EQ(s.RoundwoodEligible, t.RoundwoodEligible);
    EXPECT_EQ(s.ProductClass, t.ProductClass);
    EXPECT_EQ(s.FaceGrades, t.FaceGrades);
    EXPECT_EQ(s.FaceFirstSector, t.FaceFirstSector);
    EXPECT_EQ(s.Value, t.Value);
    EXPECT_EQ(s.Deduction, t.Deduction);
    EXPECT_EQ(a.NetScale, b.NetScale);
    EXPECT_EQ(a.ProductValue, b.ProductValue);
}

// Loosens, for one product, the one rule named: the limit opened as wide as it goes, or the
// defect the rule is about taken off the tree. False for a rule that has no such lever.
bool Loosen(Market& market, Tree& tree, int productClass, const std::string& rule) {
    if (productClass >= 4 && productClass <= 6) {
        const int grade = productClass - 3;
        if (rule == "stain") {
            tree.StainProfile.fill(0);
            return true;
        }
        if (rule == "clear_cuttings" && market.FacesMode()) {
            // A face is clear only when nothing blocks it: take the surface defects away.
            for (SectorIntervals& sector : tree.SurfaceMap) {
                sector.Count = 0;
            }
            tree.ForkBulgeFree.fill(1);
            return true;
        }
        for (SawlogRuleCell& cell : market.SawlogRules.Cells) {
            if (cell.GradeNumber != grade) {
                continue;
            }
            if (rule == "sed") {
                cell.MinDiameter = 0;
                cell.MaxDiameter = 255;
            } else if (rule == "sweep") {
                cell.MaxSweepUnder25 = 1.0F;
            } else if (rule == "deduction") {
                cell.MaxDeduction = 1.0F;
            } else if (rule == "length") {
                cell.MinLength = 0;
            } else if (rule == "butt_only") {
                cell.ButtLogsOnly = 0;
            } else if (rule == "clear_cuttings") {
                cell.YieldFraction = 0.0F;
            } else {
                return false;
            }
        }
        return true;
    }
    if (productClass >= 7 && productClass <= 9) {
        RoundwoodProductSpec& product =
            market.Roundwood.Products[static_cast<std::size_t>(productClass - 7)];
        if (rule == "length") {
            product.MinLength = 0;
            product.MaxLength = 255;
        } else if (rule == "sed") {
            product.MinDiameter = 0;
            product.MaxDiameter = 255;
        } else if (rule == "deduction") {
            product.Soundness = 1.0F;
        } else {
            return false;
        }
        return true;
    }
    if (rule == "stain") {
        const auto end =
            std::remove_if(tree.EndDefects.begin(), tree.EndDefects.begin() + tree.EndDefectCount,
                           [](const EndDefect& d) {
                               return d.Kind == static_cast<std::uint8_t>(DefectKind::Stain);
                           });
        tree.EndDefectCount = static_cast<std::uint8_t>(end - tree.EndDefects.begin());
        return true;
    }
    bool known = true;
    for (SurfaceDefect& d : tree.SurfaceDefects) {
        const bool forkOrBulge = d.Kind == static_cast<std::uint8_t>(DefectKind::Fork) ||
                                 d.Kind == static_cast<std::uint8_t>(DefectKind::Bulge);
        if (rule == "fork_bulge" && forkOrBulge) {
            d.Position = -10000; // off the stem
            d.EndPosition = -10000;
        } else if (rule == "seam_straight" &&
                   d.Kind == static_cast<std::uint8_t>(DefectKind::Seam)) {
            d.EndSector = static_cast<std::uint8_t>(d.Sector);
        }
    }
    test::EditVeneer(market, [&](VeneerRuleSet& rules) {
        VeneerGradeRules& g = rules.GradeBlock(productClass);
        if (rule == "length") {
            g.LengthAccepted.fill(1);
        } else if (rule == "sed") {
            g.MinSmallEndDiameter = 0;
        } else if (rule == "sweep") {
            g.MaxSweep.fill(1000.0F);
        } else if (rule == "decay") {
            g.MaxHoleForDiameter.fill(255);
        } else if (rule == "heart") {
            g.MaxHeartPercent = 1.0e9F;
        } else if (rule == "seam_length") {
            g.MaxSeamLength = 255;
        } else if (rule == "knot_size") {
            g.MaxKnotSize = 255;
        } else if (rule == "defect_count") {
            g.MaxDefects = 255;
            g.MaxDefectsForDiameter.fill(255);
            g.MaxDefectsForLength.fill(255);
        } else {
            known = rule == "fork_bulge" || rule == "seam_straight";
        }
    });
    return known;
}

// Each failed verdict of the log, checked on its own: with only that rule loosened, the same
// product no longer fails by it. Adds the (product family, rule) pairs checked to `checked`.
void ExpectFailuresAreReal(const Tree& tree, const Market& market, int start, int end,
                           const ExplainedLog& explained, std::set<std::string>& checked) {
    for (const GradeReason& reason : explained.Reasons) {
        if (reason.Passed) {
            continue;
        }
        Market loose = market;
        auto changed = std::make_unique<Tree>(tree);
        ASSERT_TRUE(Loosen(loose, *changed, reason.ProductClass, reason.Rule))
            << "no way to loosen rule " << reason.Rule;
        LogEvaluator evaluator(*changed, loose);
        const ExplainedLog again = evaluator.ExplainLog(start, end);
        const GradeReason* verdict = VerdictOf(again, reason.ProductClass);
        if (verdict == nullptr) {
            // No verdict: the log now reaches a better grade of the same kind.
            const LogSegment& now = again.Log.Segment;
            const int c = reason.ProductClass;
            EXPECT_TRUE((c <= 3 && now.VeneerGrade < c) ||
                        (c >= 4 && c <= 6 && now.SawGrade + 3 < c))
                << reason.Product << " " << reason.Rule << " lost its verdict";
        } else {
            EXPECT_FALSE(!verdict->Passed && verdict->Rule == reason.Rule)
                << "log " << start << "-" << end << ", " << reason.Product << " still fails "
                << reason.Rule << ": " << verdict->Detail;
        }
        const char* family = reason.ProductClass <= 3   ? "veneer "
                             : reason.ProductClass <= 6 ? "sawlog "
                                                        : "roundwood ";
        checked.insert(family + reason.Rule);
    }
}

TEST(Explain, TheReasonsOfEveryOptimalLogOfTheDefaultMarketAgreeWithTheEngine) {
    const DataFolder data(BundledData());
    const Market market = LoadMarket(data, "Appalachian Doyle");
    const OptimalCutsTable optimal = ReadOptimalCuts(market.OptmcutsPath);
    std::set<std::string> checked;
    std::map<std::string, int> failedRules;
    int logs = 0;
    for (int number = 1; number <= 150; ++number) {
        const std::unique_ptr<Tree> tree = LoadTree(data, number, market.Filter);
        const std::vector<int> cuts = CutPositions(optimal.Entry(number));
        ASSERT_GE(cuts.size(), 2U) << "tree " << number;
        LogEvaluator evaluator(*tree, market);
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const ExplainedLog explained = evaluator.ExplainLog(cuts[k], cuts[k + 1]);
            ExpectSameLog(explained.Log, evaluator.EvaluateLog(cuts[k], cuts[k + 1]));
            const auto wrong = Disagreement(explained, market);
            ASSERT_FALSE(wrong) << "tree " << number << ", log " << k + 1 << ": " << *wrong;
            ExpectFailuresAreReal(*tree, market, cuts[k], cuts[k + 1], explained, checked);
            ++logs;
        }
    }
    EXPECT_GT(logs, 500);
    // The bundled trees exercise the common reasons; the rarer ones have their own cases below.
    for (const char* rule : {"veneer length", "veneer sed", "veneer sweep", "veneer knot_size",
                             "veneer decay", "sawlog sed", "sawlog length", "sawlog clear_cuttings",
                             "roundwood sed", "roundwood length"}) {
        EXPECT_TRUE(checked.contains(rule)) << rule << " never checked";
    }
}

// A 200 in. log (16 ft with the 8 in. trim) of a 20 in. straight stem, graded under one
// sawlog grade per cell and one open veneer grade; each case changes one thing.
struct LogSetup {
    std::unique_ptr<Tree> TheTree = StraightTree(400, 20, 20);
    std::unique_ptr<Market> TheMarket = TestMarket();
    int Start = 0;
    int End = 200;

    LogSetup() {
        test::SetSawlogGrades(*TheMarket, 3, 2, 0.5F, 99);
        test::SetVeneerGrade(*TheMarket, 1, test::OpenVeneerGrade(1, 4));
        TheMarket->Roundwood.Products[0] = test::RoundwoodProduct("Pulp", 6, 16, 8, 16, 0.5F);
        test::SetPrice(*TheMarket, 1, 900);
        test::SetPrice(*TheMarket, 4, 500);
        test::SetPrice(*TheMarket, 7, 60);
    }
};

TEST(Explain, EachRuleGivesItsNumbers) {
    struct Case {
        const char* what;
        void (*change)(LogSetup&);
        int productClass;
        const char* rule;
        const char* detail; // a part of the detail
    };
    const Case cases[] = {
        {"sawlog diameter range",
         [](LogSetup& s) { s.TheMarket->SawlogRules.Cell(1, 1, 1).MinDiameter = 21; }, 4, "sed",
         "Cell 1.1.1: SED 20 in. outside 21 to 50 in."},
        {"sawlog minimum length",
         [](LogSetup& s) { s.TheMarket->SawlogRules.Cell(1, 1, 1).MinLength = 18; }, 4, "length",
         "length 200 in. under the 18 ft minimum (216 in.)"},
        {"sawlog butt logs only, an upper log",
         [](LogSetup& s) {
             s.TheMarket->SawlogRules.Cell(1, 1, 1).ButtLogsOnly = 1;
             s.Start = 200;
             s.End = 400;
         },
         4, "butt_only", "butt logs only; this log starts at 200 in."},
        {"sawlog total deduction",
         [](LogSetup& s) {
             s.TheMarket->SawlogRules.Cell(1, 1, 1).MaxDeduction = 0.0F;
             test::AddSpan(*s.TheTree, DefectKind::Fork, 150, 170);
             test::Map(*s.TheTree);
         },
         4, "deduction", "over the 0.0% allowed"},
        {"sawlog clear cuttings: rings of knots at 60 and 130 in. leave runs under 96 in.",
         [](LogSetup& s) {
             s.TheMarket->SawlogRules.Cell(1, 1, 1).MaxClearCuttings = 1;
             for (const int x : {60, 130}) {
                 for (int sector = 0; sector < 36; ++sector) {
                     test::AddKnot(*s.TheTree, x, sector, 1);
                 }
             }
             test::Map(*s.TheTree);
         },
         4, "clear_cuttings",
         "the third-best face has 70 in. in the longest 1 of its 3 cuttings of 2 ft or more; "
         "the grade needs 96 in. (16 ft x 12 x yield 0.500) in at most 1 cutting"},
        {"sawlog stain over half the butt end",
         [](LogSetup& s) {
             test::AddEnd(*s.TheTree, DefectKind::Stain, 0, 100, 11, 11);
             test::Map(*s.TheTree);
         },
         4, "stain", "over the diameter 20 in. at 0 in.: 0.55, above 0.5; grade 1 becomes 2"},
        {"veneer length not accepted",
         [](LogSetup& s) {
             test::EditVeneer(*s.TheMarket,
                              [](VeneerRuleSet& r) { r.GradeBlock(1).LengthAccepted[8] = 0; });
         },
         1, "length", "16 ft not accepted (8, 10, 12, 14 ft)"},
        {"veneer minimum diameter",
         [](LogSetup& s) {
             test::EditVeneer(*s.TheMarket,
                              [](VeneerRuleSet& r) { r.GradeBlock(1).MinSmallEndDiameter = 22; });
         },
         1, "sed", "SED 20 in. under the minimum of 22 in."},
        {"veneer stain",
         [](LogSetup& s) {
             test::AddEnd(*s.TheTree, DefectKind::Stain, 0, 100, 2, 2);
             test::Map(*s.TheTree);
         },
         1, "stain", "stain touches the log"},
        {"veneer fork",
         [](LogSetup& s) {
             test::AddSpan(*s.TheTree, DefectKind::Fork, 150, 170);
             test::Map(*s.TheTree);
         },
         1, "fork_bulge", "a fork or bulge touches the log"},
        {"veneer knot size",
         [](LogSetup& s) {
             test::AddKnot(*s.TheTree, 50, 4, 5);
             test::Map(*s.TheTree);
         },
         1, "knot_size", "knot at 50 in. (sector 4) is 5 by 5 in., over the 3 in. allowed"},
        {"veneer seam too long",
         [](LogSetup& s) {
             test::AddSeam(*s.TheTree, 20, 5, 80, 5);
             test::Map(*s.TheTree);
         },
         1, "seam_length",
         "seam from 20 to 80 in. runs 60 in. in the log, over the 2 ft (24 in.) allowed"},
        {"veneer seam that turns",
         [](LogSetup& s) {
             test::AddSeam(*s.TheTree, 20, 5, 30, 7);
             test::Map(*s.TheTree);
         },
         1, "seam_straight", "turns from sector 5 to 7"},
        {"veneer decay hole at the butt",
         [](LogSetup& s) {
             test::AddEnd(*s.TheTree, DefectKind::Decay, 0, 50, 4, 1);
             test::Map(*s.TheTree);
         },
         1, "decay", "decay 4 in. at 0 in. and 0 in. at 200 in., the hole allowed"},
        {"veneer heart",
         [](LogSetup& s) {
             test::EditVeneer(*s.TheMarket,
                              [](VeneerRuleSet& r) { r.GradeBlock(1).MaxHeartPercent = 20.0F; });
             test::AddEnd(*s.TheTree, DefectKind::Heart, 0, 400, 6, 6);
             test::Map(*s.TheTree);
         },
         1, "heart", "heart 6 in. over the diameter 20 in. at 200 in.: 0.30, above 0.2"},
        {"veneer defect count",
         [](LogSetup& s) {
             for (const int sector : {0, 9, 18, 27, 4}) {
                 test::AddKnot(*s.TheTree, 40 + 20 * sector / 9, sector, 1);
             }
             test::Map(*s.TheTree);
         },
         1, "defect_count", "5 defects, over the limit of 4"},
        {"roundwood diameter", [](LogSetup&) {}, 7, "sed", "SED 20 in. outside 6 to 16 in."},
        {"roundwood length",
         [](LogSetup& s) {
             s.TheMarket->Roundwood.Products[0].MaxDiameter = 40;
             s.TheMarket->Roundwood.Products[0].MaxLength = 14;
         },
         7, "length", "16 ft outside 8 to 14 ft"},
        {"roundwood soundness",
         [](LogSetup& s) {
             s.TheMarket->Roundwood.Products[0].MaxDiameter = 40;
             s.TheMarket->Roundwood.Products[0].Soundness = 0.0F;
             test::AddSpan(*s.TheTree, DefectKind::Fork, 150, 170);
             test::Map(*s.TheTree);
         },
         7, "deduction", "over the 0.0% the product accepts"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogSetup setup;
        test::Map(*setup.TheTree);
        c.change(setup);
        LogEvaluator evaluator(*setup.TheTree, *setup.TheMarket);
        const ExplainedLog explained = evaluator.ExplainLog(setup.Start, setup.End);
        ExpectSameLog(explained.Log, evaluator.EvaluateLog(setup.Start, setup.End));
        const auto wrong = Disagreement(explained, *setup.TheMarket);
        EXPECT_FALSE(wrong) << *wrong;
        const GradeReason* verdict = VerdictOf(explained, c.productClass);
        ASSERT_NE(verdict, nullptr);
        EXPECT_FALSE(verdict->Passed);
        EXPECT_EQ(verdict->Rule, c.rule);
        EXPECT_NE(verdict->Detail.find(c.detail), std::string::npos) << verdict->Detail;
        std::set<std::string> checked;
        ExpectFailuresAreReal(*setup.TheTree, *setup.TheMarket, setup.Start, setup.End, explained,
                              checked);
    }
}

// Rule shapes the bundled default market does not have: the reasons still agree with the
// grades and name rules that really fail.
TEST(Explain, OtherRuleShapesAgreeToo) {
    struct Case {
        const char* what;
        void (*change)(Market&);
    };
    const Case cases[] = {
        {"grades that rise along the cells",
         [](Market& m) {
             std::swap(m.SawlogRules.Cell(1, 1, 1).GradeNumber,
                       m.SawlogRules.Cell(3, 1, 1).GradeNumber);
         }},
        {"faces mode, three clear faces",
         [](Market& m) {
             for (int g = 1; g <= 3; ++g) {
                 m.SawlogRules.Cell(g, 1, 1).ClearCuttingCode = 13;
             }
         }},
        {"the five longest cuttings counted",
         [](Market& m) {
             for (int g = 1; g <= 3; ++g) {
                 m.SawlogRules.Cell(g, 1, 1).MaxClearCuttings = 5;
                 m.SawlogRules.Cell(g, 1, 1).YieldFraction = 0.9F - 0.2F * static_cast<float>(g);
             }
         }},
        {"halves counted apart, limits by diameter and length",
         [](Market& m) {
             test::EditVeneer(m, [](VeneerRuleSet& r) {
                 VeneerGradeRules& g = r.GradeBlock(1);
                 g.HalvesSeparate.fill(1);
                 g.DefectsVaryWithDiameter = 1;
                 g.MaxDefectsForDiameter.fill(1);
                 g.DefectsVaryWithLength = 1;
                 g.MaxDefectsForLength.fill(2);
             });
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogSetup setup;
        setup.TheTree = StraightTree(400, 22, 12);
        Tree& tree = *setup.TheTree;
        for (int k = 0; k < 40; ++k) {
            test::AddKnot(tree, 10 + (k * 97) % 380, (k * 13) % 36, 1 + k % 3);
        }
        test::AddSeam(tree, 120, 6, 170, 6);
        test::AddEnd(tree, DefectKind::Stain, 250, 400, 7, 7);
        test::Map(tree);
        c.change(*setup.TheMarket);
        LogEvaluator evaluator(tree, *setup.TheMarket);
        std::set<std::string> checked;
        for (const auto& [start, end] :
             {std::pair{0, 200}, std::pair{104, 304}, std::pair{200, 400}, std::pair{0, 104},
              std::pair{52, 200}}) {
            const ExplainedLog explained = evaluator.ExplainLog(start, end);
            ExpectSameLog(explained.Log, evaluator.EvaluateLog(start, end));
            const auto wrong = Disagreement(explained, *setup.TheMarket);
            EXPECT_FALSE(wrong) << start << "-" << end << ": " << *wrong;
            ExpectFailuresAreReal(tree, *setup.TheMarket, start, end, explained, checked);
        }
        EXPECT_FALSE(checked.empty());
    }
}

TEST(Explain, AStainedGradeFallsToTheNextAndSaysSo) {
    LogSetup setup;
    test::AddEnd(*setup.TheTree, DefectKind::Stain, 0, 100, 11, 11);
    test::Map(*setup.TheTree);
    LogEvaluator evaluator(*setup.TheTree, *setup.TheMarket);
    const ExplainedLog explained = evaluator.ExplainLog(0, 200);
    ASSERT_EQ(explained.Log.Segment.SawGrade, 2);
    const GradeReason* second = VerdictOf(explained, 5);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->Passed);
    EXPECT_EQ(second->Rule, "stain");
    EXPECT_EQ(VerdictOf(explained, 6), nullptr); // grade 3 is worse than the one reached
}

TEST(Explain, AShortPieceHasOnlyItsCullCharge) {
    LogSetup setup;
    test::Map(*setup.TheTree);
    LogEvaluator evaluator(*setup.TheTree, *setup.TheMarket);
    const ExplainedLog explained = evaluator.ExplainLog(0, 100);
    ASSERT_EQ(explained.Reasons.size(), 1U);
    EXPECT_EQ(explained.Reasons[0].ProductClass, kCullProduct);
    EXPECT_EQ(explained.Reasons[0].Rule, "value");
    EXPECT_NE(explained.Reasons[0].Detail.find("100 in. is shorter than 8 ft plus trim (104 in.)"),
              std::string::npos)
        << explained.Reasons[0].Detail;
}

TEST(Explain, TheValueEntryNamesWhatEachWayFetches) {
    LogSetup setup;
    test::Map(*setup.TheTree);
    LogEvaluator evaluator(*setup.TheTree, *setup.TheMarket);
    const ExplainedLog explained = evaluator.ExplainLog(0, 200);
    const EvaluatedLog& log = explained.Log;
    ASSERT_EQ(log.Segment.ProductClass, 1); // veneer at 900 beats sawlog at 500
    const GradeReason& value = explained.Reasons.back();
    EXPECT_EQ(value.Product, "Prime");
    const std::string expected = "sells for $" + FormatFixed(log.VeneerValue, 2) +
                                 ", the most of veneer $" + FormatFixed(log.VeneerValue, 2) +
                                 ", sawlog $" + FormatFixed(log.SawlogValue, 2);
    EXPECT_EQ(value.Detail.substr(0, expected.size()), expected) << value.Detail;
}

} // namespace
} // namespace varnok
