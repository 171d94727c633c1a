#pragma once

#include "grading/SawlogRules.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// The sawlog grading rule wizard without its window: which page is shown, what each list,
// check box and radio group holds, when "Next>" may be pressed, and how every page is stored
// into the rule set being built. The dialog paints this state and reports the user's choices.
//
// Every list is a pick list: a choice is its position in the list, kNoChoice when it has none.
// Choices for rows or lists that are not shown are ignored; a position outside the list throws
// std::out_of_range.

inline constexpr int kNoChoice = -1;

// The pages, numbered as the steps of the definition.
enum class SawlogWizardStep {
    GradeCount = 1, // "How many sawlog grades ...?"
    SetCount = 2,   // "How many sets ...?" (for the current grade)
    Diameters = 3,  // the diameter ranges, butt-log flags and variation counts
    Lengths = 4,    // the length ranges of one diameter set
    Criteria = 5,   // the limits of one (diameter set, length variation) cell
    Name = 42,      // the rule set's name
};

enum class SawlogBound { Lower, Upper };

// The six lists of the criteria page, in their order on the page.
enum class SawlogCriterion { MinLength, MaxNumber, Yield, SweepUnder25, SweepOver25, Deduction };
inline constexpr int kSawlogCriterionCount = 6;

// The lower and upper bound lists of up to three contiguous ranges (diameter sets in inches,
// or length variations in feet), compared by list position. Choosing a value applies the
// ordering rules to the list chosen alone; a list that the rules set in passing never runs its
// own rules, and is never set past the last position (it stays empty instead).
class SawlogBoundLists {
public:
    // `positions` entries in every list.
    explicit SawlogBoundLists(int positions) : positions_(positions) {}

    // Every list loses its value; rows 1 to `rows` are shown.
    void Clear(int rows);
    int Rows() const { return rows_; }
    int Positions() const { return positions_; }

    // Position of row `row`'s (1 to 3) bound list, or kNoChoice.
    int Position(int row, SawlogBound bound) const;
    // The user picks `position` (kNoChoice empties the list) in a list of a shown row.
    void Choose(int row, SawlogBound bound, int position);

    // Every shown list has a value, each lower bound is at or before its upper bound, and each
    // range after the first starts at the position after the previous one's upper bound.
    bool Complete() const;

private:
    // a1, b1, a2, b2, a3, b3: the lower and upper bounds of rows 1 to 3.
    std::array<int, 6> at_{kNoChoice, kNoChoice, kNoChoice, kNoChoice, kNoChoice, kNoChoice};
    int positions_;
    int rows_ = 0;
};

class SawlogWizard {
public:
    // The wizard at the start of a definition (Start).
    SawlogWizard();

    // A new definition: the grade-count page with no choice, no grade yet, and all 756 bytes
    // of the record zero, so that the file depends only on this definition.
    void Start();

    SawlogWizardStep Step() const { return step_; }
    int Grade() const { return grade_; }           // 0 before the first grade's pages
    int GradeCount() const { return gradeCount_; } // 0 until the first page is stored
    int SetCount() const { return setCount_; }     // of the current grade; 0 until chosen
    int LengthSet() const { return lengthSet_; }   // the set whose length page is shown
    int CriteriaSet() const { return criteriaSet_; }
    int CriteriaVariation() const { return criteriaVariation_; }

    // Grade-count page: 0 = "1 Grade Only", 1 = "2 Grades", 2 = "3 Grades".
    int GradeCountChoice() const { return gradeCountChoice_; }
    void ChooseGradeCount(int choice);
    // Set-count page: 0 to 2 for one to three sets.
    int SetCountChoice() const { return setCountChoice_; }
    void ChooseSetCount(int choice);

    // Diameter page: bounds at positions 0 ("8") to 42 ("50"); per set (1 to 3) its butt-log
    // box and its number of length variations (0 to 2 for one to three).
    const SawlogBoundLists& Diameters() const { return diameters_; }
    void ChooseDiameter(int set, SawlogBound bound, int position);
    bool ButtLogsOnly(int set) const;
    void SetButtLogsOnly(int set, bool butt);
    int VariationChoice(int set) const;
    void ChooseVariationCount(int set, int choice);

    // Length page of set LengthSet(): bounds at positions 0 ("8") to 4 ("16").
    const SawlogBoundLists& Lengths() const { return lengths_; }
    void ChooseLength(int variation, SawlogBound bound, int position);

    // Criteria page of cell (Grade(), CriteriaSet(), CriteriaVariation()), positions in the
    // lists of SawlogCriterionChoices.
    int Criterion(SawlogCriterion list) const;
    void ChooseCriterion(SawlogCriterion list, int position);

    // Whether the page shown is complete; never on the name page.
    bool NextEnabled() const;
    // Only on the name page.
    bool FinishedEnabled() const { return step_ == SawlogWizardStep::Name; }

    // Stores the page shown into the record and shows the next one, cleared. Returns false,
    // changing nothing, when NextEnabled() is false.
    bool Next();

    // The record built so far; complete once Step() is Name.
    const SawlogRuleSet& Rules() const { return rules_; }

    // "SAW GRADE g" once a grade is defined, "" before.
    std::string GradeText() const;
    // The length page's title for set LengthSet(), its bounds as stored.
    std::string LengthTitle() const;
    // The criteria page's title for its cell, from the cell's stored ranges and butt-log flag.
    std::string CriteriaTitle() const;

private:
    void RunGradeCountStep();
    void StoreDiameters();
    void ShowLengths();
    void StoreLengths();
    void StoreCriteria();
    void ShowCriteria(int set, int variation);
    int VariationCount(int set) const; // 1 to 3 as chosen on the diameter page; 0 unchosen
    bool DiameterPageComplete() const;
    bool CriteriaPageComplete() const;

    SawlogRuleSet rules_;
    SawlogWizardStep step_ = SawlogWizardStep::GradeCount;
    int grade_ = 0;
    int gradeCount_ = 0;
    int setCount_ = 0;
    int lengthSet_ = 0;
    int criteriaSet_ = 0;
    int criteriaVariation_ = 0;
    int gradeCountChoice_ = kNoChoice;
    int setCountChoice_ = kNoChoice;
    SawlogBoundLists diameters_;
    std::array<bool, 3> butt_{};
    std::array<int, 3> variationChoice_{kNoChoice, kNoChoice, kNoChoice};
    SawlogBoundLists lengths_;
    std::array<int, kSawlogCriterionCount> criteria_{};
};

// The texts of the wizard's pages, as the user reads them.
namespace sawlog_wizard_text {
inline constexpr std::string_view kGradeCountQuestion =
    "How many sawlog grades would you like to specify?";
inline constexpr std::array<std::string_view, 3> kGradeCountChoices = {"1 Grade Only", "2 Grades",
                                                                       "3 Grades"};
inline constexpr std::string_view kSetCountQuestion =
    "How many sets will you be dividing log diameters into?";
inline constexpr std::array<std::string_view, 3> kCountChoices = {"1", "2", "3"};
inline constexpr std::string_view kDiameterHeading =
    "Define the desired range for each diameter set.";
inline constexpr std::string_view kThru = "thru";
inline constexpr std::string_view kButtLogs = "Butt Logs";
inline constexpr std::string_view kVariationCount = "Number  Of Variations By Length";
inline constexpr std::string_view kClearCuttings = "Clear Cuttings";
inline constexpr std::string_view kMinLength = "Min. Length (feet)";
inline constexpr std::string_view kMaxNumber = "Max. Number";
inline constexpr std::string_view kYield = "Yield (percent)";
inline constexpr std::string_view kScalingDeductions = "Scaling Deductions";
inline constexpr std::string_view kSweepUnder25 =
    "Max Sweep And Crook (logs < 25% of end in sound defects)";
inline constexpr std::string_view kSweepOver25 =
    "Max Sweep And Crook (logs  > 25% of end in sound defects)";
inline constexpr std::string_view kDeduction = "Max Total Scaling Deduction";
inline constexpr std::string_view kNameQuestion =
    "What do you want to name this set of sawlog grading rules?";
inline constexpr std::string_view kProposedName = "default sawlog grading rules";
} // namespace sawlog_wizard_text

// "Diameter Set 1 (inches)" for set 1 to 3; "Length Variation 1 (feet)" for variation 1 to 3.
std::string SawlogDiameterRowLabel(int set);
std::string SawlogLengthRowLabel(int variation);

// The entries of the diameter lists ("8" to "50"), of the length lists ("8" to "16" in steps
// of 2) and of each criteria list, in list order.
std::vector<std::string> SawlogDiameterChoices();
std::vector<std::string> SawlogLengthChoices();
std::vector<std::string> SawlogCriterionChoices(SawlogCriterion list);

} // namespace varnok
