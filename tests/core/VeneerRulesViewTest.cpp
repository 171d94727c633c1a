// What the veneer grading rule viewer shows of a rule set.

#include "grading/VeneerRulesView.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace varnok {
namespace {

std::size_t D(int diameter) {
    return static_cast<std::size_t>(diameter - 9);
}

std::size_t L(int feet) {
    return static_cast<std::size_t>(feet - 8);
}

TEST(VeneerViewer, GradeListAndNamesFollowTheBlockCounts) {
    struct Case {
        std::array<std::uint8_t, 3> counts; // GradeCount of blocks 1, 2, 3
        std::vector<int> listed;
    };
    const Case cases[] = {
        {{1, 0, 0}, {1}},       {{2, 2, 0}, {1, 2}}, {{3, 3, 3}, {1, 2, 3}},
        {{3, 2, 3}, {1, 2, 3}}, {{2, 0, 0}, {1}},    {{3, 0, 3}, {1, 2, 3}},
        {{0, 0, 0}, {1}},       {{1, 3, 0}, {1}},    {{1, 0, 2}, {1}},
    };
    for (const Case& c : cases) {
        VeneerRuleSet rules;
        for (int g = 1; g <= 3; ++g) {
            VeneerGradeRules& block = rules.GradeBlock(g);
            block.GradeCount = c.counts[static_cast<std::size_t>(g - 1)];
            // Each block holds every name; only block g's slot g names grade g.
            for (int slot = 1; slot <= 3; ++slot) {
                block.GradeNames[static_cast<std::size_t>(slot - 1)] =
                    "block " + std::to_string(g) + " slot " + std::to_string(slot);
            }
        }
        const std::vector<VeneerViewerGrade> grades = VeneerViewerGrades(rules);
        std::vector<int> listed;
        for (const VeneerViewerGrade& grade : grades) {
            listed.push_back(grade.Grade);
            const std::string g = std::to_string(grade.Grade);
            EXPECT_EQ(grade.Name, "block " + g + " slot " + g);
        }
        EXPECT_EQ(listed, c.listed) << int(c.counts[0]) << int(c.counts[1]) << int(c.counts[2]);
    }
}

using Rows = std::array<std::string, kVeneerRowCount>;

// Every row of two grades: one with an entry in each list, one with the edge cases of the
// lists: the pieces of entries that are 0 left out, entries beyond 15 inches not shown, the
// last length alone ending without a comma, odd lengths never shown.
TEST(VeneerViewer, RowTexts) {
    VeneerRuleSet rules;
    VeneerGradeRules& full = rules.GradeBlock(2);
    full.MinSmallEndDiameter = 9;
    full.LengthAccepted[L(8)] = full.LengthAccepted[L(12)] = 1;
    for (int d = 9; d <= 30; ++d) {
        full.MaxSweep[D(d)] = 2;
    }
    full.DefectsVaryWithDiameter = 1;
    full.MaxDefectsForDiameter[D(9)] = 3, full.MaxDefectsForDiameter[D(15)] = 4;
    full.MaxDefectsForDiameter[D(50)] = 5;
    full.MaxDefectsForLength[L(8)] = 2, full.MaxDefectsForLength[L(16)] = 8;
    full.MaxDefects = 8, full.MaxKnotSize = 7, full.MaxSeamLength = 15, full.MaxInLineAngle = 90;
    full.InLineCountsAsOne[L(10)] = full.InLineCountsAsOne[L(16)] = 1;
    full.MaxHoleForDiameter[D(13)] = 1, full.MaxHoleForDiameter[D(15)] = 6;
    full.MaxHeartPercent = 30;
    full.HalvesSeparate[L(8)] = full.HalvesSeparate[L(14)] = 1;
    EXPECT_EQ(VeneerGradeRows(rules, 2),
              (Rows{"9", "8, 12, ",
                    "9in =2\", 10in =2in, 11in =2in, 12in =2in, 13in =2in, 14in =2in, 15+in =2in",
                    "Yes", "9in =3, 15+in =4, ", "No", "8ft =2, 16ft =8, ", "8", "7", "15",
                    "10ft, 16ft", "90", "13in =1in, 15+in =6in, ", "30", "8ft, 14ft, "}));

    VeneerGradeRules& edges = rules.GradeBlock(3);
    edges.LengthAccepted[L(9)] = edges.LengthAccepted[L(16)] = 1;
    edges.MaxSweep[D(10)] = 2.5F, edges.MaxSweep[D(14)] = 1.0F, edges.MaxSweep[D(16)] = 3;
    edges.DefectsVaryWithLength = 2; // any byte but 0 is yes
    edges.MaxHoleForDiameter[D(31)] = 4;
    edges.InLineCountsAsOne.fill(1);
    edges.MaxHeartPercent = 12.5F;
    EXPECT_EQ(VeneerGradeRows(rules, 3),
              (Rows{"0", "16", "10in =2.5in, 14in =1in, ", "No", "", "Yes", "", "0", "0", "0",
                    "8ft, 10ft, 12ft, 14ft, 16ft", "0", "", "12.5", ""}));
    EXPECT_EQ(VeneerGradeRows(rules, 1),
              Rows({"0", "", "", "No", "", "No", "", "0", "0", "0", "", "0", "", "0", ""}));
    EXPECT_THROW((void)VeneerGradeRows(rules, 4), std::out_of_range);
}

TEST(VeneerViewer, BundledHardwoodVeneer) {
    const VeneerRuleSet rules =
        ReadVeneerRuleSet(std::filesystem::path(VARNOK_TEST_DATA_DIR) / ".." / ".." / "data" /
                          "Veneer" / "Hardwood Veneer");
    const std::vector<VeneerViewerGrade> grades = VeneerViewerGrades(rules);
    ASSERT_EQ(grades.size(), 3U);
    EXPECT_EQ(grades[0].Name, "Prime Veneer");
    EXPECT_EQ(grades[1].Name, "Select Veneer");
    EXPECT_EQ(grades[2].Name, "Export Veneer");
    EXPECT_EQ(VeneerRowLabels()[2], "Max Sweep For Diameter (dia in inches = sweep\")");
    EXPECT_EQ(VeneerRowLabels()[14], "Log Lengths For Which Halves Are Treated Separately");
    EXPECT_EQ(VeneerGradeRows(rules, 1), (Rows{"16", "12, 14, 16", "15+in =1in", "No", "", "No", "",
                                               "0", "0", "0", "", "0", "15+in =1in, ", "30", ""}));
    EXPECT_EQ(VeneerGradeRows(rules, 2),
              (Rows{"14", "10, 12, 14, 16", "14in =1in, 15+in =2in", "No", "", "Yes",
                    "10ft =1, 12ft =1, 14ft =2, 16ft =2, ", "0", "1", "0", "14ft, 16ft", "20",
                    "14in =1in, 15+in =2in, ", "50", ""}));
    EXPECT_EQ(VeneerGradeRows(rules, 3),
              (Rows{"12", "8, 10, 12, 14, 16", "12in =2in, 13in =2in, 14in =2in, 15+in =2in", "Yes",
                    "12in =2, 13in =2, 14in =2, 15+in =3, ", "No", "", "0", "2", "0",
                    "8ft, 10ft, 12ft, 14ft, 16ft", "30",
                    "12in =2in, 13in =2in, 14in =2in, 15+in =3in, ", "50", "16ft"}));
}

} // namespace
} // namespace varnok
