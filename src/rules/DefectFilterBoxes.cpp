#include "rules/DefectFilterBoxes.h"

#include <algorithm>
#include <cstring>

namespace varnok {
namespace {

constexpr std::size_t kFlange = 15;

bool SameGroup(const DefectFilterBox& a, const DefectFilterBox& b) {
    return std::strcmp(a.Group, b.Group) == 0;
}

// How many columns `sections` take when no column may exceed `limit` rows, filled in order.
std::vector<std::size_t> Pack(const std::vector<DefectFilterSection>& sections, int limit) {
    std::vector<std::size_t> columns;
    int rows = 0;
    for (const DefectFilterSection& section : sections) {
        if (columns.empty() || rows + section.Rows() > limit) {
            columns.push_back(0);
            rows = 0;
        }
        ++columns.back();
        rows += section.Rows();
    }
    return columns;
}

} // namespace

const std::array<DefectFilterBox, DefectFilterSet::kEntryCount>& DefectFilterBoxes() {
    static constexpr std::array<DefectFilterBox, DefectFilterSet::kEntryCount> kBoxes = {{
        {1, "Bulges", "", "Butt (BU)"},
        {2, "Bulges", "", "Stem (BU)"},
        {3, "Bumps", "", "High (B)"},
        {4, "Bumps", "", "Medium (B)"},
        {5, "Bumps", "", "Low (B)"},
        {6, "", "", "Burl (BL)"},
        {7, "", "", "Butt Scar (BS)"},
        {8, "", "", "Butt Swell (SWL)"},
        {9, "", "", "Canker (CA)"},
        {10, "Gall", "", "Basal (BG)"},
        {11, "Gall", "", "Stem (SG)"},
        {12, "", "", "Lesion (OL)"},
        {13, "", "", "Adventitious Bud Cluster/Epicormic Branch (AC)"},
        {14, "", "", "Conk (CO)"},
        {15, "", "", "Flange (FLA)"},
        {16, "", "", "Flute (FLU)"},
        {17, "", "", "Fork (F)"},
        {18, "", "", "Gum Lesion (GL)"},
        {19, "", "", "Large Hole (LH)"},
        {20, "Bark Scarrer", "", "Sound (SW)"},
        {21, "Bark Scarrer", "", "Unsound (UW)"},
        {22, "Bird Peck", "", "Open (OBPK)"},
        {23, "Bird Peck", "", "Closed (CBPK)"},
        {24, "", "", "Grub Damage (GD)"},
        {25, "", "", "Increment Borer (IB)"},
        {26, "", "", "Tap (T)"},
        {27, "", "", "Small Hole (SH)"},
        {28, "Knot", "", "Sound (SK)"},
        {29, "Knot", "", "Unsound (UK)"},
        {30, "", "", "Limb"},
        {31, "Overgrowth", "", "Knot (OK)"},
        {32, "Overgrowth", "", "Insect (OI)"},
        {33, "Overgrowth", "", "Bird Peck (OBP)"},
        {34, "Overgrowth", "", "Squirrel Bite (OSB)"},
        {35, "Overgrowth", "Bark Distortions", "Low (LD)"},
        {36, "Overgrowth", "Bark Distortions", "Medium (MD)"},
        {37, "Overgrowth", "Bark Distortions", "Heavy (HD)"},
        {38, "", "", "Seam (SE)"},
        {39, "", "", "Split (SP)"},
        {40, "", "", "Surface Rise (SR)"},
        {41, "Wound", "", "Sound (SW)"},
        {42, "Wound", "", "Unsound (UW)"},
        {43, "", "", "Double Pith (DP)"},
        {44, "", "", "Grease Spot (GS)"},
        {45, "", "", "Insect Channel (IC)"},
        {46, "", "", "Gum Spot (GM)"},
        {47, "", "", "Loose Heart (LOH)"},
        {48, "", "", "Stain and Streak (ST)"},
        {49, "", "", "Dormant Bud Trace (DBT)"},
        {50, "", "", "Worm Hole (WH)"},
        {51, "", "", "Ring Shake (RS)"},
        {52, "", "", "Heart Check (HC)"},
        {53, "", "", "Spider Heart (SPH)"},
        {54, "", "", "Wind and Ray Shake (WS)"},
        {55, "", "", "Soak (SO)"},
        {56, "", "", "Wet Wood (WW)"},
        {57, "", "", "Rot (R)"},
        {58, "", "", "Sound Void (SV)"},
        {59, "", "", "Large Maple Heart (LMH)"},
    }};
    return kBoxes;
}

std::optional<std::string> FilterBoxNeverActs(std::size_t entry) {
    static const DefectFilterSet table = DefaultDefectFilterSet();
    if (entry < 1 || entry > table.Entries.size()) {
        return std::nullopt;
    }
    const std::string& code = table.Entries[entry - 1].Code;
    if (entry == kFlange) {
        return "This box never acts: it decides the code \"" + code +
               "\", while flanges are coded \"FLA\", a code no entry holds, so they pass "
               "the filter whatever the box says.";
    }
    // Defect lines hold codes of two or three characters.
    if (code.size() > 3) {
        return "This box never acts: its code \"" + code + "\" has " + std::to_string(code.size()) +
               " letters, and a defect line holds codes of at most three.";
    }
    return std::nullopt;
}

std::optional<std::size_t> TwinFilterEntry(std::size_t entry) {
    static const DefectFilterSet table = DefaultDefectFilterSet();
    if (entry < 1 || entry > table.Entries.size()) {
        return std::nullopt;
    }
    const std::string& code = table.Entries[entry - 1].Code;
    for (std::size_t n = 1; n <= table.Entries.size(); ++n) {
        if (n != entry && table.Entries[n - 1].Code == code) {
            return n;
        }
    }
    return std::nullopt;
}

DefectFilterFlags DefaultFilterFlags() {
    DefectFilterFlags flags{};
    for (std::size_t n = 1; n <= flags.size(); ++n) {
        flags[n - 1] = DefaultFilterFlag(n);
    }
    return flags;
}

DefectFilterSet DefectFilterSetFromFlags(const DefectFilterFlags& checked) {
    DefectFilterSet set = DefaultDefectFilterSet();
    for (std::size_t i = 0; i < checked.size(); ++i) {
        set.Entries[i].Flag = checked[i] ? 1 : 0;
    }
    return set;
}

DefectFilterFlags ViewerFilterFlags(const DefectFilterSet& set) {
    DefectFilterFlags flags{};
    for (std::size_t i = 0; i < flags.size(); ++i) {
        flags[i] = set.Entries[i].Flag == 1;
    }
    return flags;
}

int DefectFilterSection::Rows() const {
    if (*Group == '\0') {
        return static_cast<int>(Entries.size());
    }
    const bool inner = std::any_of(Entries.begin(), Entries.end(), [](std::size_t n) {
        return *DefectFilterBoxes()[n - 1].InnerGroup != '\0';
    });
    return static_cast<int>(Entries.size()) + 1 + (inner ? 1 : 0);
}

std::vector<DefectFilterSection> DefectFilterSections() {
    std::vector<DefectFilterSection> sections;
    const DefectFilterBox* previous = nullptr;
    for (const DefectFilterBox& box : DefectFilterBoxes()) {
        const bool joins = previous != nullptr && *box.Group != '\0' && SameGroup(*previous, box);
        if (!joins) {
            sections.push_back(DefectFilterSection{box.Group, {}});
        }
        sections.back().Entries.push_back(box.Entry);
        previous = &box;
    }
    return sections;
}

std::vector<std::size_t> DefectFilterColumns(const std::vector<DefectFilterSection>& sections,
                                             std::size_t columns) {
    if (sections.empty() || columns == 0) {
        return {};
    }
    int tallest = 0;
    int total = 0;
    for (const DefectFilterSection& section : sections) {
        tallest = std::max(tallest, section.Rows());
        total += section.Rows();
    }
    for (int limit = tallest; limit < total; ++limit) {
        std::vector<std::size_t> packed = Pack(sections, limit);
        if (packed.size() <= columns) {
            return packed;
        }
    }
    return Pack(sections, total);
}

} // namespace varnok
