#include "grading/VeneerWizard.h"

#include "support/ShortString.h"

#include <optional>

namespace varnok {
namespace {

constexpr std::size_t kNameCapacity = 255;
constexpr std::size_t kLargeList = kVeneerDiameterLists - 1; // 15 inches and over
constexpr int kFirstDiameter = 9;
constexpr int kFirstLength = 8;

// Where a per-length list's value goes in the per-length arrays (8 to 16 feet, odd ones unused).
std::size_t LengthSlot(std::size_t list) {
    return 2 * list;
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

// A name that a grade can carry: not blank, and one that the file's character set can hold.
bool UsableName(const std::string& name) {
    return !IsBlank(name) && Utf8ToWindows1252(name).has_value();
}

// The name as the file keeps it: its first 255 characters.
std::string StoredName(const std::string& name) {
    const std::optional<std::string> bytes = Utf8ToWindows1252(name);
    return bytes ? Windows1252ToUtf8(bytes->substr(0, kNameCapacity)) : name;
}

// The lists for 9 to 14 inches individually (0 below the minimum or where nothing is chosen),
// the one for 15 inches and over at 15 and at every larger diameter, so that no log is held to
// a limit of 0 that the user never chose. Each entry is its list position plus `add`.
template <typename T>
void StoreByDiameter(std::array<T, 42>& values, const VeneerDiameterChoices& lists, int minDiameter,
                     int add) {
    values.fill(T{});
    for (std::size_t list = 0; list < kLargeList; ++list) {
        const int diameter = kFirstDiameter + static_cast<int>(list);
        if (diameter >= minDiameter && lists[list] >= 0) {
            values[list] = static_cast<T>(lists[list] + add);
        }
    }
    for (std::size_t at = kLargeList; at < values.size(); ++at) {
        values[at] = static_cast<T>(lists[kLargeList] + add);
    }
}

// Accepted lengths get their list's value ("yes" = 1, "no" = 0 for yes/no lists); the others,
// and the odd lengths, 0.
void StoreByLength(std::array<std::uint8_t, 9>& values, const VeneerLengthChoices& lists,
                   const std::array<std::uint8_t, 9>& accepted, bool yesNo) {
    values.fill(0);
    for (std::size_t list = 0; list < kVeneerLengthLists; ++list) {
        const std::size_t slot = LengthSlot(list);
        if (accepted[slot] == 0 || lists[list] < 0) {
            continue;
        }
        values[slot] = static_cast<std::uint8_t>(yesNo ? (lists[list] == 0 ? 1 : 0) : lists[list]);
    }
}

std::vector<std::string> Numbered(int first, int last, int step, const std::string& unit) {
    std::vector<std::string> texts;
    for (int n = first; n <= last; n += step) {
        texts.push_back(std::to_string(n) + unit);
    }
    return texts;
}

} // namespace

void VeneerWizard::Start() {
    record_ = VeneerRuleSet{};
    page_ = 1;
    grade_ = 0;
    finished_ = false;
    ResetPages();
}

void VeneerWizard::ResetPages() {
    choices_ = VeneerWizardChoices{};
    basis_ = VeneerDefectBasis::Unchosen;
    basisLocked_ = false;
    nameShown_.clear();
}

bool VeneerWizard::ChooseDefectBasis(VeneerDefectBasis basis) {
    if (page_ != 6 || basisLocked_ || basis == VeneerDefectBasis::Unchosen) {
        return false;
    }
    basis_ = basis;
    basisLocked_ = true;
    return true;
}

bool VeneerWizard::DiameterListEnabled(std::size_t list) const {
    if (list >= kLargeList || grade_ == 0) {
        return true;
    }
    // Before the minimum is stored every list is open, as on a fresh page.
    return kFirstDiameter + static_cast<int>(list) >= Block().MinSmallEndDiameter;
}

bool VeneerWizard::LengthListEnabled(std::size_t list) const {
    return grade_ != 0 && list < kVeneerLengthLists &&
           Block().LengthAccepted[LengthSlot(list)] != 0;
}

bool VeneerWizard::DiameterListsComplete(const VeneerDiameterChoices& lists) const {
    for (std::size_t list = 0; list < kVeneerDiameterLists; ++list) {
        if (DiameterListEnabled(list) && lists[list] < 0) {
            return false;
        }
    }
    return true;
}

bool VeneerWizard::LengthListsComplete(const VeneerLengthChoices& lists) const {
    for (std::size_t list = 0; list < kVeneerLengthLists; ++list) {
        if (LengthListEnabled(list) && lists[list] < 0) {
            return false;
        }
    }
    return true;
}

bool VeneerWizard::PageComplete() const {
    return Complete(page_);
}

bool VeneerWizard::Complete(int page) const {
    const VeneerWizardChoices& c = choices_;
    switch (page) {
    case 1:
        return c.GradeCount >= 0;
    case 2:
        // Names are stored in the first grade only; later grades pass through the page.
        if (grade_ > 1) {
            return true;
        }
        for (int g = 0; g < GradeCount(); ++g) {
            if (!UsableName(c.Names[static_cast<std::size_t>(g)])) {
                return false;
            }
        }
        return true;
    case 3:
        return c.MinDiameter >= 0;
    case 4:
        for (const bool ticked : c.Lengths) {
            if (ticked) {
                return true;
            }
        }
        return false;
    case 5:
        return DiameterListsComplete(c.Sweep);
    case 6:
        switch (basis_) {
        case VeneerDefectBasis::Diameter:
            return DiameterListsComplete(c.DefectsByDiameter);
        case VeneerDefectBasis::Length:
            return LengthListsComplete(c.DefectsByLength);
        case VeneerDefectBasis::Neither:
            return c.Defects >= 0;
        case VeneerDefectBasis::Unchosen:
            return false;
        }
        return false;
    case 7:
        return c.KnotSize >= 0;
    case 8:
        return c.SeamLength >= 0;
    case 9:
        return LengthListsComplete(c.InLine) && c.InLineAngle >= 0;
    case 10:
        return DiameterListsComplete(c.Hole);
    case 11:
        return c.HeartPercent >= 0;
    case 12:
        return LengthListsComplete(c.Halves);
    default:
        return false;
    }
}

bool VeneerWizard::BackEnabled() const {
    // In later grades the minimum-diameter page is the first: the grade count and the names
    // hold for the grades already defined.
    return page_ >= 2 && !(grade_ > 1 && page_ <= 3);
}

std::string VeneerWizard::FinishCaption() const {
    return page_ == kVeneerWizardPages && grade_ < GradeCount() ? "Next Grade" : "Finished";
}

void VeneerWizard::StoreGradeCount() {
    const int count = GradeCount();
    for (int g = 1; g <= 3; ++g) {
        VeneerGradeRules& block = record_.GradeBlock(g);
        if (g > count) {
            block = VeneerGradeRules{}; // no phantom grade from a larger count chosen before
            continue;
        }
        block.GradeCount = static_cast<std::uint8_t>(count);
        for (int slot = count + 1; slot <= 3; ++slot) {
            block.GradeNames[static_cast<std::size_t>(slot - 1)].clear();
        }
    }
}

void VeneerWizard::StoreNames() {
    if (grade_ != 1) {
        return;
    }
    const int count = GradeCount();
    for (int g = 1; g <= count; ++g) {
        for (int slot = 1; slot <= count; ++slot) {
            const auto at = static_cast<std::size_t>(slot - 1);
            record_.GradeBlock(g).GradeNames[at] = StoredName(choices_.Names[at]);
        }
    }
}

void VeneerWizard::StoreDefects() {
    VeneerGradeRules& b = Block();
    // Only the case chosen is filled; the others stay 0, also after a change of mind.
    b.DefectsVaryWithDiameter = 0;
    b.DefectsVaryWithLength = 0;
    b.MaxDefectsForDiameter.fill(0);
    b.MaxDefectsForLength.fill(0);
    b.MaxDefects = 0;
    switch (basis_) {
    case VeneerDefectBasis::Diameter:
        b.DefectsVaryWithDiameter = 1;
        StoreByDiameter(b.MaxDefectsForDiameter, choices_.DefectsByDiameter, b.MinSmallEndDiameter,
                        0);
        break;
    case VeneerDefectBasis::Length:
        b.DefectsVaryWithLength = 1;
        StoreByLength(b.MaxDefectsForLength, choices_.DefectsByLength, b.LengthAccepted, false);
        break;
    case VeneerDefectBasis::Neither:
        b.MaxDefects = static_cast<std::uint8_t>(choices_.Defects);
        break;
    case VeneerDefectBasis::Unchosen:
        break;
    }
}

void VeneerWizard::Store(int page) {
    VeneerWizardChoices& c = choices_;
    switch (page) {
    case 1:
        StoreGradeCount();
        return;
    case 2:
        StoreNames();
        return;
    default:
        break;
    }
    VeneerGradeRules& b = Block();
    switch (page) {
    case 3:
        b.MinSmallEndDiameter = static_cast<std::uint8_t>(c.MinDiameter + kFirstDiameter);
        for (std::size_t list = 0; list < kLargeList; ++list) {
            if (!DiameterListEnabled(list)) {
                c.Sweep[list] = c.DefectsByDiameter[list] = c.Hole[list] = -1;
            }
        }
        break;
    case 4:
        b.LengthAccepted.fill(0);
        for (std::size_t list = 0; list < kVeneerLengthLists; ++list) {
            b.LengthAccepted[LengthSlot(list)] = c.Lengths[list] ? 1 : 0;
            if (!c.Lengths[list]) {
                c.DefectsByLength[list] = c.InLine[list] = c.Halves[list] = -1;
            }
        }
        break;
    case 5:
        StoreByDiameter(b.MaxSweep, c.Sweep, b.MinSmallEndDiameter, 1);
        break;
    case 6:
        StoreDefects();
        break;
    case 7:
        b.MaxKnotSize = static_cast<std::uint8_t>(c.KnotSize);
        break;
    case 8:
        b.MaxSeamLength = static_cast<std::uint8_t>(c.SeamLength);
        break;
    case 9:
        StoreByLength(b.InLineCountsAsOne, c.InLine, b.LengthAccepted, true);
        b.MaxInLineAngle = static_cast<std::uint8_t>(c.InLineAngle * 10);
        break;
    case 10:
        StoreByDiameter(b.MaxHoleForDiameter, c.Hole, b.MinSmallEndDiameter, 1);
        break;
    case 11:
        b.MaxHeartPercent = static_cast<float>(c.HeartPercent * 10);
        b.ReservedMaxHeight = 100;
        break;
    case 12:
        StoreByLength(b.HalvesSeparate, c.Halves, b.LengthAccepted, true);
        break;
    default:
        break;
    }
}

bool VeneerWizard::Next() {
    if (!NextEnabled()) {
        return false;
    }
    Store(page_);
    if (page_ == 1) {
        if (grade_ == 0) {
            grade_ = 1;
        }
        nameShown_ = choices_.Names[static_cast<std::size_t>(grade_ - 1)];
    } else if (page_ == 2) {
        nameShown_ = record_.Blocks[0].GradeNames[static_cast<std::size_t>(grade_ - 1)];
    }
    ++page_;
    return true;
}

bool VeneerWizard::Back() {
    if (!BackEnabled()) {
        return false;
    }
    basisLocked_ = false;
    finished_ = false;
    if (page_ == 2) {
        page_ = 1;
        nameShown_.clear();
        return true;
    }
    if (page_ == 6) {
        basis_ = VeneerDefectBasis::Unchosen;
    }
    // The page before the one left is shown by going forward from the page before it, which
    // is still filled in: it is stored again on the way.
    page_ -= 2;
    Next();
    return true;
}

VeneerWizard::FinishOutcome VeneerWizard::Finish() {
    if (!FinishEnabled()) {
        return FinishOutcome::Refused;
    }
    Store(page_);
    if (grade_ >= GradeCount()) {
        finished_ = true;
        return FinishOutcome::Save;
    }
    ++grade_;
    const int countChoice = choices_.GradeCount;
    ResetPages();
    choices_.GradeCount = countChoice;
    page_ = 2;
    Next(); // page 2 of a later grade stores nothing and leads to the minimum diameter
    return FinishOutcome::NextGrade;
}

std::string VeneerPageTitle(int page) {
    static const std::array<const char*, kVeneerWizardPages> titles = {
        "How many different veneer grades would you like to specify?",
        "What are the names of each grade?",
        "What is the minimum small end diameter?",
        "What lengths are accepted?",
        "What is the maximum sweep allowed for each small end diameter?",
        "What does the maximum number of surface defects allowed vary with?",
        "What is the maximum knot size?",
        "What is the maximum seam length?",
        "For what lengths can defects in a line be counted as one?",
        "What is the maximum hole (end decay) diameter allowed (according to small-end "
        "diameter)?",
        "What is the maximum heart percent allowed?",
        "For what log lengths are surface defects in the two halves treated separately?",
    };
    if (page < 1 || page > kVeneerWizardPages) {
        return {};
    }
    return titles[static_cast<std::size_t>(page - 1)];
}

std::vector<std::string> VeneerChoiceTexts(VeneerChoiceList list) {
    switch (list) {
    case VeneerChoiceList::GradeCount:
        return {"1 Grade Only", "2 Grades", "3 Grades"};
    case VeneerChoiceList::MinDiameter:
        return Numbered(9, 26, 1, "\"");
    case VeneerChoiceList::Sweep:
        return Numbered(1, 6, 1, "\"");
    case VeneerChoiceList::DefectBasis:
        return {"diameter", "length", "neither"};
    case VeneerChoiceList::DefectCount:
        return Numbered(0, 8, 1, "");
    case VeneerChoiceList::KnotSize:
        return Numbered(0, 7, 1, "\"");
    case VeneerChoiceList::SeamLength:
        return Numbered(0, 15, 1, "'");
    case VeneerChoiceList::YesNo:
        return {"yes", "no"};
    case VeneerChoiceList::InLineAngle: {
        std::vector<std::string> texts = Numbered(0, 90, 10, " degrees");
        texts[0] = "  0 degrees"; // aligned with the two-digit angles below it
        return texts;
    }
    case VeneerChoiceList::HeartPercent:
        return Numbered(0, 100, 10, "%");
    }
    return {};
}

std::string VeneerDiameterLabel(std::size_t list) {
    if (list >= kLargeList) {
        return ">15\"";
    }
    return std::to_string(kFirstDiameter + static_cast<int>(list)) + "\"";
}

std::string VeneerLengthLabel(std::size_t list) {
    return std::to_string(kFirstLength + 2 * static_cast<int>(list)) + "'";
}

std::string VeneerNameLabel(std::size_t row) {
    return "Name " + std::to_string(row + 1) + ")";
}

} // namespace varnok
