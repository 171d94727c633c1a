// What the veneer grading rule viewer shows of a rule set.

#include "grading/VeneerRulesView.h"
#include "TestSupport.h"

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

TEST(VeneerViewer, RowTexts) {
    struct Case {
        const char* what;
        void (*set)(VeneerGradeRules&);
        std::size_t row;
        std::string text;
    };
    const Case cases[] = {
        {"min diameter", [](VeneerGradeRules& b) { b.MinSmallEndDiameter = 12; }, 0, "12"},
        {"8 and 12 ft end in a comma",
         [](VeneerGradeRules& b) { b.LengthAccepted[L(8)] = b.LengthAccepted[L(12)] = 1; }, 1,
         "8, 12, "},
        {"every length", [](VeneerGradeRules& b) { b.LengthAccepted.fill(1); }, 1,
         "8, 10, 12, 14, 16"},
        {"16 ft alone", [](VeneerGradeRules& b) { b.LengthAccepted[L(16)] = 1; }, 1, "16"},
        {"odd lengths are not shown", [](VeneerGradeRules& b) { b.LengthAccepted[L(9)] = 1; }, 1,
         ""},
        {"sweep from 9 in",
         [](VeneerGradeRules& b) {
             for (int d = 9; d <= 30; ++d) {
                 b.MaxSweep[D(d)] = 2;
             }
         },
         2, "9in =2\", 10in =2in, 11in =2in, 12in =2in, 13in =2in, 14in =2in, 15+in =2in"},
        {"sweep in general form, zero entries left out",
         [](VeneerGradeRules& b) { b.MaxSweep[D(10)] = 2.5F, b.MaxSweep[D(14)] = 1.0F; }, 2,
         "10in =2.5in, 14in =1in, "},
        {"sweep beyond 15 in is not shown", [](VeneerGradeRules& b) { b.MaxSweep[D(16)] = 3; }, 2,
         ""},
        {"defects vary with diameter", [](VeneerGradeRules& b) { b.DefectsVaryWithDiameter = 1; },
         3, "Yes"},
        {"any flag byte but 0 is yes", [](VeneerGradeRules& b) { b.DefectsVaryWithLength = 2; }, 5,
         "Yes"},
        {"defects by length off", [](VeneerGradeRules&) {}, 5, "No"},
        {"defects by diameter",
         [](VeneerGradeRules& b) {
             b.MaxDefectsForDiameter[D(9)] = 3, b.MaxDefectsForDiameter[D(15)] = 4;
             b.MaxDefectsForDiameter[D(50)] = 5;
         },
         4, "9in =3, 15+in =4, "},
        {"defects by length",
         [](VeneerGradeRules& b) {
             b.MaxDefectsForLength[L(8)] = 2, b.MaxDefectsForLength[L(16)] = 8;
         },
         6, "8ft =2, 16ft =8, "},
        {"max defects", [](VeneerGradeRules& b) { b.MaxDefects = 8; }, 7, "8"},
        {"knot", [](VeneerGradeRules& b) { b.MaxKnotSize = 7; }, 8, "7"},
        {"seam", [](VeneerGradeRules& b) { b.MaxSeamLength = 15; }, 9, "15"},
        {"in line",
         [](VeneerGradeRules& b) { b.InLineCountsAsOne[L(10)] = b.InLineCountsAsOne[L(16)] = 1; },
         10, "10ft, 16ft"},
        {"in line angle in degrees", [](VeneerGradeRules& b) { b.MaxInLineAngle = 90; }, 11, "90"},
        {"holes",
         [](VeneerGradeRules& b) {
             b.MaxHoleForDiameter[D(13)] = 1, b.MaxHoleForDiameter[D(15)] = 6;
         },
         12, "13in =1in, 15+in =6in, "},
        {"heart as a percentage", [](VeneerGradeRules& b) { b.MaxHeartPercent = 30; }, 13, "30"},
        {"halves",
         [](VeneerGradeRules& b) { b.HalvesSeparate[L(8)] = b.HalvesSeparate[L(14)] = 1; }, 14,
         "8ft, 14ft, "},
    };
    for (const Case& c : cases) {
        VeneerRuleSet rules;
        rules.GradeBlock(1).MaxHeartPercent = 100; // another block's values never show
        c.set(rules.GradeBlock(2));
        EXPECT_EQ(VeneerGradeRows(rules, 2)[c.row], c.text) << c.what;
    }
    EXPECT_THROW((void)VeneerGradeRows(VeneerRuleSet{}, 4), std::out_of_range);
}

TEST(VeneerViewer, Labels) {
    const auto& labels = VeneerRowLabels();
    EXPECT_EQ(labels[0], "Minimum Diameter (inches)");
    EXPECT_EQ(labels[2], "Max Sweep For Diameter (dia in inches = sweep\")");
    EXPECT_EQ(labels[4], "Max # Defects For Diameter (dia in inches = #)");
    EXPECT_EQ(labels[10], "Log Lengths For Which Defects In Line Count As One");
    EXPECT_EQ(labels[14], "Log Lengths For Which Halves Are Treated Separately");
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
    using Rows = std::array<std::string, kVeneerRowCount>;
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
