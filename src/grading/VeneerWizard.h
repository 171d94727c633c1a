#pragma once

#include "grading/VeneerRules.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace varnok {

// Lists asked per small-end diameter: 9 to 14 inches, then one for 15 inches and over.
inline constexpr std::size_t kVeneerDiameterLists = 7;
// Lists asked per log length: 8, 10, 12, 14 and 16 feet.
inline constexpr std::size_t kVeneerLengthLists = 5;
inline constexpr int kVeneerWizardPages = 12;

// List positions, one per diameter or per length; -1 where nothing is chosen.
using VeneerDiameterChoices = std::array<int, kVeneerDiameterLists>;
using VeneerLengthChoices = std::array<int, kVeneerLengthLists>;

template <std::size_t N> constexpr std::array<int, N> UnchosenLists() {
    std::array<int, N> lists{};
    lists.fill(-1);
    return lists;
}

// What the pages of the veneer wizard show: positions in their lists, -1 where nothing is
// chosen. The dialog writes each choice here as the user makes it. A fresh one has every list
// empty, no length ticked and the names proposed.
struct VeneerWizardChoices {
    static constexpr VeneerDiameterChoices kNoDiameterChoice =
        UnchosenLists<kVeneerDiameterLists>();
    static constexpr VeneerLengthChoices kNoLengthChoice = UnchosenLists<kVeneerLengthLists>();

    // Page 1: 0 = "1 Grade Only" .. 2 = "3 Grades". Page 2: the names, UTF-8.
    int GradeCount = -1;
    std::array<std::string, 3> Names = {"Veneer Grade 1", "Veneer Grade 2", "Veneer Grade 3"};
    // Page 3: 0 = 9 inches .. 17 = 26 inches. Page 4: the lengths accepted.
    int MinDiameter = -1;
    std::array<bool, kVeneerLengthLists> Lengths{};
    // Page 5: 0 = 1 inch .. 5 = 6 inches of sweep.
    VeneerDiameterChoices Sweep = kNoDiameterChoice;
    // Page 6: 0 .. 8 defects, by diameter, by length or one number.
    VeneerDiameterChoices DefectsByDiameter = kNoDiameterChoice;
    VeneerLengthChoices DefectsByLength = kNoLengthChoice;
    int Defects = -1;
    // Page 7: 0 .. 7 inches. Page 8: 0 .. 15 feet.
    int KnotSize = -1;
    int SeamLength = -1;
    // Page 9: 0 = "yes", 1 = "no" per length; the angle 0 .. 9 in tens of degrees.
    VeneerLengthChoices InLine = kNoLengthChoice;
    int InLineAngle = -1;
    // Page 10: 0 = 1 inch .. 5 = 6 inches of hole. Page 11: 0 .. 10 in tens of percent.
    VeneerDiameterChoices Hole = kNoDiameterChoice;
    int HeartPercent = -1;
    // Page 12: 0 = "yes", 1 = "no" per length.
    VeneerLengthChoices Halves = kNoLengthChoice;
};

// What surface defects are counted by on page 6 (its radio group's positions).
enum class VeneerDefectBasis { Unchosen = -1, Diameter = 0, Length = 1, Neither = 2 };

// The veneer grading rule wizard: the number of grades and their names once, then eleven
// pages for each grade, each page stored into the record when it is left forward. In grades
// after the first, Back stops at the minimum-diameter page, so the grade count cannot change
// under grades already defined. "Next >" and the finish button are enabled only on a complete
// page. Choices of lists that a later page disables (diameters below the minimum, lengths not
// accepted) are cleared when the page that disables them is stored, so what is shown is what is
// written. A refused step (an incomplete page, Back where it is disabled) changes nothing.
class VeneerWizard {
public:
    enum class FinishOutcome { Refused, NextGrade, Save };

    VeneerWizard() { Start(); }

    // A new definition: record zeroed, page 1 with no choice, grade unset.
    void Start();

    VeneerWizardChoices& Choices() { return choices_; }
    const VeneerWizardChoices& Choices() const { return choices_; }
    // Page 6's radio group: refused (false) while it is locked, that is from a choice until
    // the next Back.
    bool ChooseDefectBasis(VeneerDefectBasis basis);
    VeneerDefectBasis DefectBasis() const { return basis_; }
    bool DefectBasisLocked() const { return basisLocked_; }

    // "Next >": stores the page on view and shows the next one; false (nothing changes) when
    // the page is incomplete or it is page 12.
    bool Next();
    // "< Back ": the page before, the one before that stored again.
    bool Back();
    // "Next Grade" / "Finished" on page 12: stores it and starts the next grade (page 3 of it)
    // or, after the last grade, reports that the record is ready to be saved; the wizard stays
    // on page 12, so a save that does not happen keeps the definition.
    FinishOutcome Finish();

    int Page() const { return page_; }
    int Grade() const { return grade_; } // 0 until page 1 is left
    // The number of grades chosen on page 1; 0 when none is.
    int GradeCount() const { return choices_.GradeCount + 1; }
    bool PageComplete() const;
    bool NextEnabled() const { return page_ < kVeneerWizardPages && PageComplete(); }
    bool BackEnabled() const;
    bool FinishEnabled() const { return page_ == kVeneerWizardPages && PageComplete(); }
    // "Finished" on the last grade's page 12 and before page 12, "Next Grade" otherwise.
    std::string FinishCaption() const;
    // Whether a per-diameter list (0 = 9 inches .. 6 = 15 inches and over) or a per-length list
    // (0 = 8 feet .. 4 = 16 feet) of the current grade is enabled.
    bool DiameterListEnabled(std::size_t list) const;
    bool LengthListEnabled(std::size_t list) const;
    // The text box under the pages: the current grade's name.
    const std::string& NameShown() const { return nameShown_; }
    // Whether the last grade was finished and nothing changed since: the record is complete.
    bool Finished() const { return finished_; }

    const VeneerRuleSet& Record() const { return record_; }

private:
    VeneerGradeRules& Block() { return record_.GradeBlock(grade_); }
    const VeneerGradeRules& Block() const { return record_.GradeBlock(grade_); }
    bool Complete(int page) const;
    bool DiameterListsComplete(const VeneerDiameterChoices& lists) const;
    bool LengthListsComplete(const VeneerLengthChoices& lists) const;
    void Store(int page);
    void StoreGradeCount();
    void StoreNames();
    void StoreDefects();
    void ResetPages();

    VeneerRuleSet record_;
    VeneerWizardChoices choices_;
    VeneerDefectBasis basis_ = VeneerDefectBasis::Unchosen;
    bool basisLocked_ = false;
    int page_ = 1;
    int grade_ = 0;
    std::string nameShown_;
    bool finished_ = false;
};

// The texts of the pages, as the user reads them.
std::string VeneerPageTitle(int page); // page 1 to 12; empty outside
// The entries of a list, in the order of their positions.
enum class VeneerChoiceList {
    GradeCount,
    MinDiameter,
    Sweep, // also the hole lists
    DefectBasis,
    DefectCount,
    KnotSize,
    SeamLength,
    YesNo,
    InLineAngle,
    HeartPercent,
};
std::vector<std::string> VeneerChoiceTexts(VeneerChoiceList list);
// The labels of the per-diameter lists (9" .. 14", >15") and per-length lists (8' .. 16').
std::string VeneerDiameterLabel(std::size_t list);
std::string VeneerLengthLabel(std::size_t list);
// The labels of the name fields on page 2: "Name 1)" .. "Name 3)".
std::string VeneerNameLabel(std::size_t row);
inline constexpr const char* kVeneerInLineAngleCaption = "Max angle between defects";
inline constexpr const char* kVeneerReservedCaption =
    "reserved for max height from which a veneer may be produced";

} // namespace varnok
