// The generator's parts: its random numbers and arithmetic, the text of tree file lines as the
// core reads them back, and the rule sets it writes.

#include "DetMath.h"
#include "Random.h"
#include "RuleSets.h"
#include "TestSupport.h"
#include "TreeText.h"

#include "market/PriceTable.h"
#include "support/ByteBuffer.h"
#include "support/Errors.h"
#include "tree/DefectFile.h"
#include "tree/ShapeFile.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

namespace varnok {
namespace {

using namespace datagen;
using test::TempFolder;

TEST(DataGenRandom, SplitMixStreamIsTheReferenceOne) {
    // splitmix64 from state 0: the published first outputs.
    Random random(0);
    EXPECT_EQ(random.Next(), 0xE220A8397B1DCDAFULL);
    EXPECT_EQ(random.Next(), 0x6E789E6AA1B965F4ULL);
    EXPECT_EQ(random.Next(), 0x06C45D188009454FULL);
    Random same(12345);
    Random again(12345);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(same.Next(), again.Next());
    }
}

TEST(DataGenRandom, TransformsHaveTheirMeansAndLimits) {
    Random random(7);
    constexpr int kDraws = 40000;
    double sum = 0.0;
    double squares = 0.0;
    for (int i = 0; i < kDraws; ++i) {
        const double z = random.Normal();
        sum += z;
        squares += z * z;
    }
    EXPECT_NEAR(sum / kDraws, 0.0, 0.02);
    EXPECT_NEAR(squares / kDraws, 1.0, 0.03);

    struct PoissonCase {
        double Mean;
    };
    for (const PoissonCase c : {PoissonCase{0.2}, PoissonCase{1.5}, PoissonCase{12.0}}) {
        double total = 0.0;
        double totalSquares = 0.0;
        for (int i = 0; i < kDraws; ++i) {
            const int k = random.Poisson(c.Mean);
            ASSERT_GE(k, 0);
            total += k;
            totalSquares += static_cast<double>(k) * k;
        }
        const double mean = total / kDraws;
        EXPECT_NEAR(mean, c.Mean, 0.03 * c.Mean + 0.01) << c.Mean;
        EXPECT_NEAR(totalSquares / kDraws - mean * mean, c.Mean, 0.06 * c.Mean + 0.01) << c.Mean;
    }
    EXPECT_EQ(random.Poisson(0.0), 0);
    EXPECT_EQ(random.Poisson(-1.0), 0);
    EXPECT_THROW(random.Poisson(1000.0), std::domain_error);

    // Median of a lognormal is e^mu.
    int below = 0;
    for (int i = 0; i < kDraws; ++i) {
        below += random.LogNormal(std::log(1.5), 0.45) < 1.5 ? 1 : 0;
    }
    EXPECT_NEAR(static_cast<double>(below) / kDraws, 0.5, 0.015);

    const TruncatedNormal narrow{20.0, 4.0, 19.0, 21.0};
    const TruncatedNormal unreachable{17.0, 0.001, 21.0, 28.0}; // falls back to the limit
    for (int i = 0; i < 1000; ++i) {
        const double x = random.Truncated(narrow);
        ASSERT_TRUE(x >= 19.0 && x <= 21.0) << x;
    }
    EXPECT_EQ(random.Truncated(unreachable), 21.0);

    for (int i = 0; i < 1000; ++i) {
        const double u = random.Uniform();
        ASSERT_TRUE(u >= 0.0 && u < 1.0);
        const int k = random.UniformInt(-2, 2);
        ASSERT_TRUE(k >= -2 && k <= 2);
    }
    std::array<int, 3> picked{};
    const std::array<double, 3> weights = {0.6, 0.0, 0.4};
    for (int i = 0; i < kDraws; ++i) {
        ++picked[random.Pick(weights)];
    }
    EXPECT_EQ(picked[1], 0);
    EXPECT_NEAR(static_cast<double>(picked[0]) / kDraws, 0.6, 0.015);
}

TEST(DataGenMath, AgreesWithTheLibraryToRoundingError) {
    for (const double x : {1e-300, 1e-9, 0.05, 0.5, 0.7071, 1.0, 1.5, 2.0, 10.0, 1234.5, 1e300}) {
        EXPECT_NEAR(Ln(x), std::log(x), 4e-16 * std::fmax(1.0, std::fabs(std::log(x)))) << x;
    }
    for (const double x : {-700.0, -30.0, -2.9, -1.0, -1e-8, 0.0, 0.3, 1.0, 5.5, 300.0, 700.0}) {
        EXPECT_NEAR(Exp(x) / std::exp(x), 1.0, 2e-15) << x;
    }
    for (const double x : {-1000.0, -kPi, -2.0, -0.5, 0.0, 0.1, 1.0, kPi / 2.0, 3.0, 6.0, 100.0}) {
        EXPECT_NEAR(Sine(x), std::sin(x), 1e-13) << x;
        EXPECT_NEAR(Cosine(x), std::cos(x), 1e-13) << x;
    }
    EXPECT_EQ(Exp(0.0), 1.0);
    EXPECT_EQ(Ln(1.0), 0.0);
    EXPECT_THROW(Ln(0.0), std::domain_error);
    EXPECT_THROW(Ln(-1.0), std::domain_error);
    EXPECT_THROW(Ln(std::numeric_limits<double>::infinity()), std::domain_error);
    EXPECT_THROW(Exp(701.0), std::domain_error);
    EXPECT_THROW(Sine(2e6), std::domain_error);
}

TEST(DataGenText, LinesHaveTheirFixedWidths) {
    struct Case {
        DefectRecord Record;
        const char* Line;
    };
    const std::vector<Case> cases = {
        {{"F", DefectLayout::Span, {100, 125, 0, 0}}, "  F 10.0 12.5"},
        {{"BB", DefectLayout::Span, {0, 25, 0, 0}}, "BB  0.0  2.5"},
        {{"SWL", DefectLayout::Span, {0, 31, 0, 0}}, "SWL  0.0  3.1"},
        {{"SK", DefectLayout::Ellipse, {305, 4, 2, 3}}, "SK 30.5    4    2    3"},
        {{"T", DefectLayout::Ellipse, {1999, 35, 255, 1}}, "  T199.9   35  255    1"},
        {{"SE", DefectLayout::Seam, {0, 34, 120, 2}}, "SE  0.0   34 12.0    2"},
        {{"LMH", DefectLayout::End, {0, 489, 5, 4}}, "LMH  0.0 48.9    5    4"},
        {{"R", DefectLayout::End, {12, 1000, 0, 255}}, "  R  1.2100.0    0  255"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DefectLineText(c.Record), c.Line);
    }
    EXPECT_EQ(ShapeLineText({0, 24, 0, 0}), " 0.0  24 0.0 0.0");
    EXPECT_EQ(ShapeLineText({999, 5, 999, 105}), "99.9   599.910.5");
    EXPECT_EQ(ShapeLineText({1000, 4, 12, 7}), " 100   4 1.2 0.7");
    EXPECT_EQ(ShapeLineText({1990, 4, 0, 0}), " 199   4 0.0 0.0");
    EXPECT_EQ(ShapeFileText("Tree", {{0, 9, 0, 0}}), "Tree\r\n 0.0   9 0.0 0.0\r\n");
    EXPECT_EQ(DefectFileText({}), "");
}

TEST(DataGenText, ValuesThatDoNotFitAreRefused) {
    EXPECT_THROW(ShapeLineText({1005, 4, 0, 0}), VarnokError);  // 100.5 ft has no 4-char form
    EXPECT_THROW(ShapeLineText({0, 10000, 0, 0}), VarnokError); // diameter of 5 digits
    EXPECT_THROW(ShapeLineText({0, 20, 1000, 0}), VarnokError); // offset 100.0 in
    EXPECT_THROW(ShapeLineText({0, 20, -5, 0}), VarnokError);   // the sign would be lost
    EXPECT_THROW(ShapeLineText({-10, 20, 0, 0}), VarnokError);
    EXPECT_THROW(DefectLineText({"SK", DefectLayout::Ellipse, {10000, 0, 1, 1}}), VarnokError);
    EXPECT_THROW(DefectLineText({"SK", DefectLayout::Ellipse, {10, 0, 100000, 1}}), VarnokError);
    EXPECT_THROW(DefectLineText({"CBPK", DefectLayout::Ellipse, {10, 0, 1, 1}}), VarnokError);
    EXPECT_THROW(DefectLineText({"", DefectLayout::Ellipse, {10, 0, 1, 1}}), VarnokError);
}

// The lines as the core's readers take them: every layout and code width lands in the right
// fields, one-letter codes reach their filter entries.
TEST(DataGenText, TheCoreReadsTheLinesBack) {
    const TempFolder folder;
    const std::vector<ShapeStation> stations = {
        {0, 20, 15, 0}, {40, 18, 25, 10}, {1000, 8, 60, 60}, {1200, 4, 80, 80}};
    const std::vector<DefectRecord> defects = {
        {"F", DefectLayout::Span, {100, 125, 0, 0}},
        {"SK", DefectLayout::Ellipse, {305, 4, 2, 3}},
        {"SE", DefectLayout::Seam, {0, 34, 120, 2}},
        {"LMH", DefectLayout::End, {0, 489, 5, 4}},
        {"R", DefectLayout::End, {12, 60, 6, 0}},
        {"SWL", DefectLayout::Span, {0, 31, 0, 0}}, // unchecked in the default filter
        {"L", DefectLayout::Ellipse, {1195, 7, 1, 1}},
    };
    test::WriteText(folder.Path() / "T.SHP", ShapeFileText("header", stations));
    test::WriteText(folder.Path() / "T.DEF", DefectFileText(defects));
    auto tree = std::make_unique<Tree>();
    NewTree(*tree);
    ReadDefectFile(*tree, folder.Path() / "T.DEF", DefaultDefectFilterSet());
    ReadShapeFile(*tree, folder.Path() / "T.SHP");

    EXPECT_EQ(tree->Stem.StemLength, 1440);
    EXPECT_EQ(tree->Stem.PointPosition[2], 1200);
    EXPECT_EQ(tree->Stem.Diameter[48], 18);
    EXPECT_FLOAT_EQ(tree->Stem.CentreY[0], 1.5F);
    EXPECT_FLOAT_EQ(tree->Stem.CentreY[48], 2.5F - 1.0F); // surface offset less radius lost
    EXPECT_FLOAT_EQ(tree->Stem.CentreX[1200], 6.0F - 6.0F);

    ASSERT_EQ(tree->SurfaceDefectCount, 4);
    const SurfaceDefect& fork = tree->SurfaceDefects[0];
    EXPECT_EQ(fork.Kind, static_cast<int>(DefectKind::Fork));
    EXPECT_EQ(fork.Position, 120);
    EXPECT_EQ(fork.EndPosition, 150);
    const SurfaceDefect& knot = tree->SurfaceDefects[1];
    EXPECT_EQ(knot.Kind, static_cast<int>(DefectKind::Knot));
    EXPECT_EQ(knot.Position, 366);
    EXPECT_EQ(knot.Sector, 4);
    EXPECT_EQ(knot.Width, 2);
    EXPECT_EQ(knot.Length, 3);
    const SurfaceDefect& seam = tree->SurfaceDefects[2];
    EXPECT_EQ(seam.Kind, static_cast<int>(DefectKind::Seam));
    EXPECT_EQ(seam.Sector, 34);
    EXPECT_EQ(seam.EndPosition, 144);
    EXPECT_EQ(seam.EndSector, 2);
    EXPECT_EQ(tree->SurfaceDefects[3].Kind, static_cast<int>(DefectKind::Knot)); // the limb
    EXPECT_EQ(tree->SurfaceDefects[3].Position, 1434);

    ASSERT_EQ(tree->EndDefectCount, 2);
    EXPECT_EQ(tree->EndDefects[0].Kind, static_cast<int>(DefectKind::Heart));
    EXPECT_EQ(tree->EndDefects[0].EndPosition, 587);
    EXPECT_EQ(tree->EndDefects[0].StartDiameter, 5);
    EXPECT_EQ(tree->EndDefects[1].Kind, static_cast<int>(DefectKind::Decay));
    EXPECT_EQ(tree->EndDefects[1].StartPosition, 14);
    EXPECT_EQ(tree->EndDefects[1].StartDiameter, 6);
}

// --- rule sets, as read back from the files the generator writes -----------------------------

class GeneratedRules : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TempFolder>();
        EXPECT_EQ(WriteRuleSets(DataFolder(folder_->Path())), 13);
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static DataFolder Data() { return DataFolder(folder_->Path()); }

private:
    static inline std::unique_ptr<TempFolder> folder_;
};

TEST_F(GeneratedRules, LogRulesGiveThePublishedVolumes) {
    struct Case {
        const char* Rule;
        int Diameter;
        int Length;
        double BoardFeet;
    };
    const std::vector<Case> cases = {
        {kDoyleName, 20, 16, 256},
        {kDoyleName, 10, 16, 36},
        {kDoyleName, 28, 16, 576},
        {kDoyleName, 12, 10, 40},
        {kDoyleName, 16, 10, 90},
        {kDoyleName, 30, 16, 676},
        {kDoyleName, 6, 8, 2},
        {kDoyleName, 7, 10, 5.625}, // Doyle is kept exact, not rounded to whole board feet
        {kDoyleName, 50, 16, 2116},
        {kInternationalName, 20, 16, 290},
        {kInternationalName, 10, 16, 65},
        {kInternationalName, 28, 16, 585},
        {kInternationalName, 12, 16, 95},
        {kInternationalName, 12, 10, 55},
        {kInternationalName, 16, 10, 110},
        {kInternationalName, 30, 16, 675},
        {kInternationalName, 6, 8, 10},
        {kInternationalName, 8, 14, 35},
        {kInternationalName, 40, 16, 1220},
        {kInternationalName, 50, 16, 1920},
        {kInternationalName, 21, 8, 150},
        {kScribnerName, 20, 16, 272},
        {kScribnerName, 28, 16, 559},
        {kScribnerName, 12, 16, 86},
        {kScribnerName, 30, 16, 647},
        {kScribnerName, 6, 16, 12},
        {kScribnerName, 50, 16, 1871},
    };
    for (const Case& c : cases) {
        const LogRuleTable table = ReadLogRule(Data().LogRules() / c.Rule);
        EXPECT_EQ(table.VolumeFor(c.Diameter, c.Length), c.BoardFeet)
            << c.Rule << " " << c.Diameter << " in x " << c.Length << " ft";
    }
    for (const char* rule : {kDoyleName, kInternationalName, kScribnerName}) {
        const std::vector<std::uint8_t> bytes = test::ReadBytes(Data().LogRules() / rule);
        ASSERT_EQ(bytes.size(), 2200U) << rule;
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + 220, [](auto b) { return b == 0; }))
            << rule << ": entries 1 to 5 are all zero";
        const LogRuleTable table = LogRuleTable::Decode(bytes);
        for (int d = 6; d <= 50; ++d) {
            EXPECT_EQ(table.Entries[static_cast<std::size_t>(d - 1)].Diameter, d) << rule;
            for (int length = 8; length <= 16; length += 2) {
                const double v = table.VolumeFor(d, length);
                if (std::string(rule) != kDoyleName) {
                    EXPECT_EQ(v, std::round(v)) << rule << ": whole board feet";
                }
                EXPECT_GT(v, 0.0) << rule;
                if (d > 6) {
                    EXPECT_GE(v, table.VolumeFor(d - 1, length)) << rule << " " << d;
                }
                if (length > 8) {
                    EXPECT_GE(v, table.VolumeFor(d, length - 2)) << rule << " " << d;
                }
            }
        }
    }
}

TEST(DataGenRules, PercentChoicesAreTheNearestFloats) {
    const std::array<float, 21> expected = {0.0F,  0.05F, 0.1F,  0.15F, 0.2F,  0.25F, 0.3F,
                                            0.35F, 0.4F,  0.45F, 0.5F,  0.55F, 0.6F,  0.65F,
                                            0.7F,  0.75F, 0.8F,  0.85F, 0.9F,  0.95F, 1.0F};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const int percent = static_cast<int>(5 * i);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(PercentFraction(percent)),
                  std::bit_cast<std::uint32_t>(expected[i]))
            << percent;
    }
}

// What the editor guarantees of every sawlog rule file: counts written into each cell in use
// (and read from where the readers look), unused cells all zero, contiguous diameter sets and
// length variations, deduction limits no smaller than the sweep limits.
void ExpectEditorShape(const SawlogRuleSet& set, const std::vector<std::uint8_t>& bytes,
                       const std::string& name) {
    const int grades = set.GradeCount();
    ASSERT_GE(grades, 1) << name;
    for (int g = 1; g <= 3; ++g) {
        for (int d = 1; d <= 3; ++d) {
            for (int l = 1; l <= 3; ++l) {
                const std::string where =
                    name + " cell " + std::to_string(g) + std::to_string(d) + std::to_string(l);
                const SawlogRuleCell& cell = set.Cell(g, d, l);
                const std::size_t offset = SawlogCellOffset(g, d, l);
                const bool inUse = g <= grades && d <= set.DiameterSetCount(g) &&
                                   l <= set.LengthVariationCount(g, d);
                if (!inUse) {
                    EXPECT_TRUE(std::all_of(bytes.begin() + static_cast<long>(offset),
                                            bytes.begin() + static_cast<long>(offset + 28),
                                            [](auto b) { return b == 0; }))
                        << where;
                    continue;
                }
                EXPECT_EQ(cell.GradeNumber, g) << where;
                EXPECT_EQ(cell.GradeCount, grades) << where;
                EXPECT_EQ(cell.DiameterSetCount, set.DiameterSetCount(g)) << where;
                EXPECT_EQ(cell.LengthVariationCount, set.LengthVariationCount(g, d)) << where;
                EXPECT_EQ(bytes[offset + 27], 0) << where;
                EXPECT_LE(cell.MinDiameter, cell.MaxDiameter) << where;
                EXPECT_LE(cell.MinLength, cell.MaxLength) << where;
                EXPECT_GE(cell.MaxDeduction, cell.MaxSweepUnder25) << where;
                EXPECT_GE(cell.MaxDeduction, cell.MaxSweepOver25) << where;
                if (d > 1) {
                    EXPECT_EQ(cell.MinDiameter, set.Cell(g, d - 1, 1).MaxDiameter + 1) << where;
                }
                if (l > 1) {
                    EXPECT_EQ(cell.MinLength, set.Cell(g, d, l - 1).MaxLength + 2) << where;
                }
                const auto yieldBits = std::bit_cast<std::uint32_t>(cell.YieldFraction);
                EXPECT_TRUE(yieldBits == 0x3F000000U || yieldBits == 0x3F2AAAABU ||
                            yieldBits == 0x3F400000U || yieldBits == 0x3F555555U)
                    << where << std::hex << yieldBits;
                const int code = cell.ClearCuttingCode;
                EXPECT_EQ(code >= 11 && code <= 14, set.IsFacesMode()) << where;
            }
        }
    }
}

TEST_F(GeneratedRules, SawlogRulesAreWhatTheEditorWouldWrite) {
    for (const char* name : {kFactoryGradesName, kClearFacesName}) {
        const auto bytes = test::ReadBytes(Data().SawGrades() / name);
        ASSERT_EQ(bytes.size(), 756U) << name;
        ExpectEditorShape(SawlogRuleSet::Decode(bytes), bytes, name);
    }
    const SawlogRuleSet factory =
        ReadSawlogRuleSet(Data().SawGrades() / kFactoryGradesName, RecordChoice::First);
    EXPECT_FALSE(factory.IsFacesMode());
    EXPECT_EQ(factory.GradeCount(), 3);
    EXPECT_EQ(factory.DiameterSetCount(1), 3);
    EXPECT_EQ(factory.Cell(1, 1, 1).ButtLogsOnly, 1); // 13 to 15 in F1 only as butt logs
    EXPECT_EQ(factory.Cell(1, 2, 1).ButtLogsOnly, 0);
    EXPECT_EQ(factory.Cell(1, 1, 1).MinLength, 10);
    EXPECT_EQ(factory.Cell(3, 1, 1).MaxClearCuttings, 99);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(factory.Cell(1, 3, 1).YieldFraction), 0x3F555555U);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(factory.Cell(2, 3, 1).YieldFraction), 0x3F2AAAABU);
    EXPECT_EQ(factory.Cell(2, 3, 1).MaxSweepUnder25, 0.3F);
    EXPECT_EQ(factory.Cell(3, 1, 1).MaxDeduction, 0.5F);

    const SawlogRuleSet faces =
        ReadSawlogRuleSet(Data().SawGrades() / kClearFacesName, RecordChoice::Last);
    EXPECT_TRUE(faces.IsFacesMode());
    EXPECT_EQ(faces.Cell(1, 1, 1).ClearCuttingCode, 13); // three clear faces
    EXPECT_EQ(faces.LengthVariationCount(3, 2), 2);
}

TEST_F(GeneratedRules, VeneerRulesFollowTheEditorsConventions) {
    const VeneerRuleSet set = ReadVeneerRuleSet(Data().Veneer() / kVeneerName);
    ASSERT_EQ(set.GradeCount(), 3);
    const std::array<std::string, 3> names = {set.GradeName(1), set.GradeName(2), set.GradeName(3)};
    for (int g = 1; g <= 3; ++g) {
        const VeneerGradeRules& b = set.GradeBlock(g);
        const std::string where = "grade " + std::to_string(g);
        EXPECT_FALSE(names[static_cast<std::size_t>(g - 1)].empty()) << where;
        EXPECT_EQ(b.GradeCount, 3) << where;
        EXPECT_EQ(b.GradeNames, names) << where << ": every block holds every name";
        EXPECT_EQ(b.ReservedMaxHeight, 100) << where;
        const int min = b.MinSmallEndDiameter;
        for (int d = 9; d <= 50; ++d) {
            const std::string at = where + ", " + std::to_string(d) + " in";
            if (d < std::min(min, 15)) {
                EXPECT_EQ(b.MaxSweepFor(d), 0.0F) << at;
                EXPECT_EQ(b.MaxHoleFor(d), 0) << at;
                EXPECT_EQ(b.MaxDefectsForDiameterOf(d), 0) << at;
            }
            if (d >= 16) { // the ">15" choice holds for every larger diameter
                EXPECT_EQ(b.MaxSweepFor(d), b.MaxSweepFor(15)) << at;
                EXPECT_EQ(b.MaxHoleFor(d), b.MaxHoleFor(15)) << at;
            }
            if (d >= 16 && b.DefectsVaryWithDiameter != 0) {
                EXPECT_EQ(b.MaxDefectsForDiameterOf(d), b.MaxDefectsForDiameterOf(15)) << at;
            }
        }
        EXPECT_GE(b.MaxSweepFor(15), 1.0F) << where;
        EXPECT_LE(b.DefectsVaryWithDiameter + b.DefectsVaryWithLength, 1) << where;
        for (int length = 8; length <= 16; ++length) {
            const bool used = length % 2 == 0 && b.Accepts(length);
            const auto i = static_cast<std::size_t>(length - 8);
            if (!used) {
                EXPECT_EQ(b.InLineCountsAsOne[i], 0) << where << ", " << length << " ft";
                EXPECT_EQ(b.HalvesSeparate[i], 0) << where << ", " << length << " ft";
                EXPECT_EQ(b.MaxDefectsForLength[i], 0) << where << ", " << length << " ft";
            }
        }
        EXPECT_EQ(b.MaxInLineAngle % 10, 0) << where;
        EXPECT_LE(b.MaxInLineAngle, 90) << where;
        EXPECT_EQ(std::fmod(b.MaxHeartPercent, 10.0F), 0.0F) << where;
        EXPECT_LE(b.MaxHeartPercent, 100.0F) << where;
    }
    // Grades are ordered from the strictest.
    EXPECT_GT(set.GradeBlock(1).MinSmallEndDiameter, set.GradeBlock(2).MinSmallEndDiameter);
    EXPECT_GT(set.GradeBlock(2).MinSmallEndDiameter, set.GradeBlock(3).MinSmallEndDiameter);
    EXPECT_EQ(set.GradeBlock(1).MaxKnotSize, 0);
}

TEST_F(GeneratedRules, PriceSetsMatchTheirRoundwoodAndFitThePriceTable) {
    for (const PriceSetFile& expected : PriceSets()) {
        const PriceSet prices = ReadPriceSet(Data().Prices() / expected.Name);
        const RoundwoodProductSet roundwood =
            ReadRoundwoodProducts(Data().Roundwood() / expected.RoundwoodName);
        const std::string& name = expected.Name;
        for (std::size_t r = 0; r < 6; ++r) {
            EXPECT_EQ(prices.Rows[r].Name, FixedPriceRowNames()[r]) << name;
            EXPECT_EQ(prices.Rows[r].Units, "MBF") << name;
            for (std::size_t l = 1; l < 5; ++l) {
                EXPECT_GE(prices.Rows[r].Prices[l], prices.Rows[r].Prices[l - 1]) << name;
            }
            if (r > 0) {
                EXPECT_LT(prices.Rows[r].Prices[4], prices.Rows[r - 1].Prices[4]) << name;
            }
        }
        // Sawlog grades of the same size differ in value by at least about a fifth.
        EXPECT_GE(prices.Rows[3].Prices[4], 1.2 * prices.Rows[4].Prices[4]) << name;
        EXPECT_GE(prices.Rows[4].Prices[4], 1.2 * prices.Rows[5].Prices[4]) << name;
        for (std::size_t p = 0; p < 3; ++p) {
            EXPECT_TRUE(roundwood.Products[p].IsDefined()) << name;
            EXPECT_EQ(prices.Rows[6 + p].Name, roundwood.Products[p].Name) << name;
            EXPECT_EQ(prices.Rows[6 + p].Units, roundwood.Products[p].Units) << name;
        }
        EXPECT_EQ(prices.Rows[9].Name, "Cull") << name;
        EXPECT_EQ(prices.Rows[9].Units, "Cubic Feet") << name;
        EXPECT_EQ(roundwood.CullHandling, "Cull") << name;
        EXPECT_EQ(roundwood.CullUnits, "Cubic Feet") << name;
        EXPECT_GT(prices.Rows[9].Prices[0], 0.0) << name;
        for (const PriceRow& row : prices.Rows) {
            for (const double price : row.Prices) {
                EXPECT_EQ(price, std::round(price)) << name << ": whole dollars";
            }
        }
        PriceTable table;
        ASSERT_NO_THROW(table = ConvertPriceSet(prices, name)) << name;
        EXPECT_EQ(table.Price(10, 8), 140 * prices.Rows[9].Prices[0]) << name;
    }
    for (const char* set : {kAppalachianRoundwoodName, kNorthernRoundwoodName}) {
        const RoundwoodProductSet roundwood = ReadRoundwoodProducts(Data().Roundwood() / set);
        for (const RoundwoodProductSpec& p : roundwood.Products) {
            EXPECT_TRUE(p.MinDiameter >= 8 && p.MinDiameter <= p.MaxDiameter && p.MaxDiameter <= 50)
                << set;
            EXPECT_TRUE(p.MinLength >= 8 && p.MinLength <= p.MaxLength && p.MaxLength <= 16) << set;
            EXPECT_TRUE(p.Soundness > 0.0F && p.Soundness <= 1.0F) << set;
        }
    }
}

TEST_F(GeneratedRules, FilterSetsAreTheDefaultAndOneCountingEverything) {
    EXPECT_EQ(test::ReadBytes(Data().Filters() / kDefaultFilterName),
              DefaultDefectFilterSet().Encode());
    const DefectFilterSet strict = ReadDefectFilterSet(Data().Filters() / kStrictFilterName);
    const DefectFilterSet standard = DefaultDefectFilterSet();
    for (std::size_t n = 0; n < DefectFilterSet::kEntryCount; ++n) {
        EXPECT_EQ(strict.Entries[n].Flag, 1) << n + 1;
        EXPECT_EQ(strict.Entries[n].Code, standard.Entries[n].Code) << n + 1;
        EXPECT_EQ(strict.Entries[n].ClassCode, standard.Entries[n].ClassCode) << n + 1;
    }
}

} // namespace
} // namespace varnok
