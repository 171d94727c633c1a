#include "grading/VeneerRulesView.h"

#include "support/Numbers.h"

#include <functional>
#include <string>

namespace varnok {
namespace {

constexpr std::array<int, 5> kLengths = {8, 10, 12, 14, 16};

std::string YesNo(std::uint8_t flag) {
    return flag != 0 ? "Yes" : "No";
}

// "9in =", ..., "14in =", and "15+in =" for the entry that stands for 15 inches and over.
std::string DiameterKey(int diameter) {
    return diameter == 15 ? "15+in =" : std::to_string(diameter) + "in =";
}

// The pieces of the per-diameter entries 9 to 15 that are above 0, each made by `piece`.
std::string DiameterPieces(const std::function<double(int)>& value,
                           const std::function<std::string(int, double)>& piece) {
    std::string text;
    for (int diameter = 9; diameter <= 15; ++diameter) {
        const double v = value(diameter);
        if (v > 0) {
            text += piece(diameter, v);
        }
    }
    return text;
}

// "8ft, " ... "14ft, " and "16ft" for each length whose flag is set: the last length ends the
// list, so it has no comma (and a list without 16 feet ends in a comma and a blank).
std::string LengthList(const std::function<bool(int)>& set, std::string_view unit) {
    std::string text;
    for (const int length : kLengths) {
        if (set(length)) {
            text += std::to_string(length) + std::string(unit) + (length == 16 ? "" : ", ");
        }
    }
    return text;
}

} // namespace

std::vector<VeneerViewerGrade> VeneerViewerGrades(const VeneerRuleSet& rules) {
    const int block2 = rules.GradeBlock(2).GradeCount;
    const int block3 = rules.GradeBlock(3).GradeCount;
    std::vector<VeneerViewerGrade> grades = {{1, rules.GradeName(1)}};
    if (block2 == 2 || block3 == 3) {
        grades.push_back({2, rules.GradeName(2)});
    }
    if (block3 == 3) {
        grades.push_back({3, rules.GradeName(3)});
    }
    return grades;
}

const std::array<std::string_view, kVeneerRowCount>& VeneerRowLabels() {
    static constexpr std::array<std::string_view, kVeneerRowCount> labels = {
        "Minimum Diameter (inches)",
        "Lengths Accepted (log lengths in feet)",
        "Max Sweep For Diameter (dia in inches = sweep\")",
        "Does Diameter Determine Max # Defects?",
        "Max # Defects For Diameter (dia in inches = #)",
        "Does Length Determine Max # Defects?",
        "Max # Defects For Length (length in feet = #)",
        "Max # Defects",
        "Max Knot Size (inches)",
        "Max Seam Length (feet)",
        "Log Lengths For Which Defects In Line Count As One",
        "Max In Line Angle (degrees)",
        "Max Hole Size For Diameter (inches)",
        "Max Heart Percent (percent)",
        "Log Lengths For Which Halves Are Treated Separately"};
    return labels;
}

std::array<std::string, kVeneerRowCount> VeneerGradeRows(const VeneerRuleSet& rules, int grade) {
    const VeneerGradeRules& b = rules.GradeBlock(grade);
    const auto general = [](double value) { return FormatGeneral(value); };

    // The first sweep piece ends in an inch mark, the others in "in", the last without a comma.
    const std::string sweep =
        DiameterPieces([&](int d) { return static_cast<double>(b.MaxSweepFor(d)); },
                       [&](int d, double v) {
                           const std::string end = d == 9 ? "\", " : d == 15 ? "in" : "in, ";
                           return DiameterKey(d) + general(v) + end;
                       });
    const std::string defectsForDiameter =
        DiameterPieces([&](int d) { return b.MaxDefectsForDiameterOf(d); },
                       [&](int d, double v) { return DiameterKey(d) + general(v) + ", "; });
    const std::string holes =
        DiameterPieces([&](int d) { return b.MaxHoleFor(d); },
                       [&](int d, double v) { return DiameterKey(d) + general(v) + "in, "; });
    std::string defectsForLength;
    for (const int length : kLengths) {
        if (const int count = b.MaxDefectsForLengthOf(length); count > 0) {
            defectsForLength += std::to_string(length) + "ft =" + std::to_string(count) + ", ";
        }
    }

    return {general(b.MinSmallEndDiameter),
            LengthList([&](int l) { return b.Accepts(l); }, ""),
            sweep,
            YesNo(b.DefectsVaryWithDiameter),
            defectsForDiameter,
            YesNo(b.DefectsVaryWithLength),
            defectsForLength,
            general(b.MaxDefects),
            general(b.MaxKnotSize),
            general(b.MaxSeamLength),
            LengthList([&](int l) { return b.InLineCountsAsOneFor(l); }, "ft"),
            general(b.MaxInLineAngle),
            holes,
            general(b.MaxHeartPercent),
            LengthList([&](int l) { return b.HalvesSeparateFor(l); }, "ft")};
}

} // namespace varnok
