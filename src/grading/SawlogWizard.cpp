#include "grading/SawlogWizard.h"

#include <initializer_list>
#include <stdexcept>

namespace varnok {
namespace {

constexpr int kDiameterPositions = 43; // 8 to 50 inches
constexpr int kLengthPositions = 5;    // 8 to 16 feet
constexpr int kPercentPositions = 21;  // 0 to 100 in steps of 5

constexpr std::array<int, kSawlogCriterionCount> kCriterionPositions = {
    8, 4, 4, kPercentPositions, kPercentPositions, kPercentPositions};

// The lists a1, b1, a2, b2, a3, b3 by their index in SawlogBoundLists::at_.
constexpr std::size_t kA1 = 0;
constexpr std::size_t kB1 = 1;
constexpr std::size_t kA2 = 2;
constexpr std::size_t kB2 = 3;
constexpr std::size_t kA3 = 4;
constexpr std::size_t kB3 = 5;

std::size_t ListIndex(int row, SawlogBound bound) {
    if (row < 1 || row > 3) {
        throw std::out_of_range("bound list row outside 1..3");
    }
    return static_cast<std::size_t>(2 * (row - 1) + (bound == SawlogBound::Upper ? 1 : 0));
}

void CheckPosition(int position, int positions) {
    if (position < kNoChoice || position >= positions) {
        throw std::out_of_range("list position outside the list");
    }
}

// The ordering rules of one changed list: the changed list `x`'s value is compared with the
// others in turn; any comparison with a list that holds no value (the changed list included,
// once cleared) is skipped.
class Rules {
public:
    Rules(std::array<int, 6>& at, std::size_t x, int last) : at_(at), x_(x), last_(last) {}

    bool Has(std::size_t list) const { return at_[list] != kNoChoice; }
    int At(std::size_t list) const { return at_[list]; }

    void ClearIfAtOrAfter(std::initializer_list<std::size_t> lists) {
        ClearIf(lists, [](int x, int y) { return x >= y; });
    }
    void ClearIfAtOrBefore(std::initializer_list<std::size_t> lists) {
        ClearIf(lists, [](int x, int y) { return x <= y; });
    }
    void ClearIfBefore(std::size_t list) {
        ClearIf({list}, [](int x, int y) { return x < y; });
    }

    // The changed list, or another, takes the position after `list`; past the last position it
    // is emptied instead, so that no range is made to start beyond the lists.
    void SetAfter(std::size_t target, std::size_t list) {
        at_[target] = At(list) < last_ ? At(list) + 1 : kNoChoice;
    }

private:
    template <typename Compare>
    void ClearIf(std::initializer_list<std::size_t> lists, Compare compare) {
        for (const std::size_t y : lists) {
            if (Has(x_) && Has(y) && compare(At(x_), At(y))) {
                at_[x_] = kNoChoice;
            }
        }
    }

    std::array<int, 6>& at_;
    std::size_t x_;
    int last_;
};

// p percent as a fraction, p x 0.01 in extended precision rounded to a float.
float PercentFraction(int position) {
    const long double percent = 5.0L * position;
    return static_cast<float>(percent * 0.01L);
}

std::uint8_t ClearCuttingCode(int position) {
    constexpr std::array<std::uint8_t, 8> codes = {2, 3, 5, 7, 11, 12, 13, 14};
    return codes.at(static_cast<std::size_t>(position));
}

std::uint8_t MaxClearCuttings(int position) {
    constexpr std::array<std::uint8_t, 4> limits = {1, 2, 3, 99};
    return limits.at(static_cast<std::size_t>(position));
}

float YieldFraction(int position) {
    // 1/2, 2/3, 3/4, 5/6: 2/3 is the float 3F2AAAAB, 5/6 the float 3F555555.
    constexpr std::array<float, 4> yields = {0.5F, 0.6666667F, 0.75F, 0.8333333F};
    return yields.at(static_cast<std::size_t>(position));
}

bool IsCount(int rows) {
    return rows >= 1 && rows <= 3;
}

} // namespace

void SawlogBoundLists::Clear(int rows) {
    at_.fill(kNoChoice);
    rows_ = rows;
}

int SawlogBoundLists::Position(int row, SawlogBound bound) const {
    return at_[ListIndex(row, bound)];
}

void SawlogBoundLists::Choose(int row, SawlogBound bound, int position) {
    const std::size_t x = ListIndex(row, bound);
    CheckPosition(position, positions_);
    if (row > rows_) {
        return;
    }
    at_[x] = position;
    Rules rules(at_, x, positions_ - 1);
    switch (x) {
    case kA1:
        rules.ClearIfAtOrAfter({kB1});
        rules.ClearIfAtOrAfter({kA2, kB2, kA3, kB3});
        break;
    case kB1:
        rules.ClearIfBefore(kA1);
        rules.ClearIfAtOrAfter({kA2, kB2, kA3, kB3});
        if (rows_ >= 2 && rules.Has(kB1)) {
            rules.SetAfter(kA2, kB1);
        }
        break;
    case kA2:
        rules.ClearIfAtOrBefore({kA1});
        if (rules.Has(kA2) && rules.Has(kB1) && rules.At(kA2) != rules.At(kB1) + 1) {
            rules.SetAfter(kA2, kB1);
        }
        rules.ClearIfAtOrAfter({kB2, kA3, kB3});
        break;
    case kB2:
        rules.ClearIfAtOrBefore({kA1, kB1});
        rules.ClearIfBefore(kA2);
        rules.ClearIfAtOrAfter({kA3, kB3});
        if (rows_ == 3 && rules.Has(kB2)) {
            rules.SetAfter(kA3, kB2);
        }
        break;
    case kA3:
        rules.ClearIfAtOrBefore({kA1});
        if (rules.Has(kA3) && rules.Has(kB2) && rules.At(kA3) <= rules.At(kB2) + 1) {
            rules.SetAfter(kA3, kB2);
        }
        rules.ClearIfAtOrBefore({kB1, kA2});
        rules.ClearIfAtOrAfter({kB3});
        break;
    default: // kB3
        rules.ClearIfAtOrBefore({kA1, kB1, kB2});
        rules.ClearIfBefore(kA3);
        rules.ClearIfAtOrBefore({kA2});
        break;
    }
}

bool SawlogBoundLists::Complete() const {
    if (!IsCount(rows_)) {
        return false;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(2 * rows_); ++i) {
        if (at_[i] == kNoChoice) {
            return false;
        }
    }
    for (std::size_t row = 0; row < static_cast<std::size_t>(rows_); ++row) {
        const int lower = at_[2 * row];
        if (lower > at_[2 * row + 1] || (row > 0 && lower != at_[2 * row - 1] + 1)) {
            return false;
        }
    }
    return true;
}

SawlogWizard::SawlogWizard() : diameters_(kDiameterPositions), lengths_(kLengthPositions) {
    Start();
}

void SawlogWizard::Start() {
    rules_ = SawlogRuleSet{};
    step_ = SawlogWizardStep::GradeCount;
    grade_ = gradeCount_ = setCount_ = 0;
    lengthSet_ = criteriaSet_ = criteriaVariation_ = 0;
    gradeCountChoice_ = setCountChoice_ = kNoChoice;
    diameters_.Clear(0);
    butt_.fill(false);
    variationChoice_.fill(kNoChoice);
    lengths_.Clear(0);
    criteria_.fill(kNoChoice);
}

void SawlogWizard::ChooseGradeCount(int choice) {
    CheckPosition(choice, 3);
    if (step_ == SawlogWizardStep::GradeCount) {
        gradeCountChoice_ = choice;
    }
}

void SawlogWizard::ChooseSetCount(int choice) {
    CheckPosition(choice, 3);
    if (step_ == SawlogWizardStep::SetCount) {
        setCountChoice_ = choice;
    }
}

void SawlogWizard::ChooseDiameter(int set, SawlogBound bound, int position) {
    if (step_ == SawlogWizardStep::Diameters) {
        diameters_.Choose(set, bound, position);
    }
}

bool SawlogWizard::ButtLogsOnly(int set) const {
    return butt_.at(static_cast<std::size_t>(set - 1));
}

void SawlogWizard::SetButtLogsOnly(int set, bool butt) {
    bool& flag = butt_.at(static_cast<std::size_t>(set - 1));
    if (step_ == SawlogWizardStep::Diameters && set <= setCount_) {
        flag = butt;
    }
}

int SawlogWizard::VariationChoice(int set) const {
    return variationChoice_.at(static_cast<std::size_t>(set - 1));
}

void SawlogWizard::ChooseVariationCount(int set, int choice) {
    int& chosen = variationChoice_.at(static_cast<std::size_t>(set - 1));
    CheckPosition(choice, 3);
    if (step_ == SawlogWizardStep::Diameters && set <= setCount_) {
        chosen = choice;
    }
}

void SawlogWizard::ChooseLength(int variation, SawlogBound bound, int position) {
    if (step_ == SawlogWizardStep::Lengths) {
        lengths_.Choose(variation, bound, position);
    }
}

int SawlogWizard::Criterion(SawlogCriterion list) const {
    return criteria_.at(static_cast<std::size_t>(list));
}

void SawlogWizard::ChooseCriterion(SawlogCriterion list, int position) {
    const auto index = static_cast<std::size_t>(list);
    CheckPosition(position, kCriterionPositions.at(index));
    if (step_ == SawlogWizardStep::Criteria) {
        criteria_[index] = position;
    }
}

int SawlogWizard::VariationCount(int set) const {
    return VariationChoice(set) + 1;
}

bool SawlogWizard::DiameterPageComplete() const {
    for (int set = 1; set <= setCount_; ++set) {
        if (VariationChoice(set) == kNoChoice) {
            return false;
        }
    }
    return diameters_.Complete();
}

bool SawlogWizard::CriteriaPageComplete() const {
    for (const int position : criteria_) {
        if (position == kNoChoice) {
            return false;
        }
    }
    const int deduction = Criterion(SawlogCriterion::Deduction);
    return deduction >= Criterion(SawlogCriterion::SweepUnder25) &&
           deduction >= Criterion(SawlogCriterion::SweepOver25);
}

bool SawlogWizard::NextEnabled() const {
    switch (step_) {
    case SawlogWizardStep::GradeCount:
        return gradeCountChoice_ != kNoChoice;
    case SawlogWizardStep::SetCount:
        return setCountChoice_ != kNoChoice;
    case SawlogWizardStep::Diameters:
        return DiameterPageComplete();
    case SawlogWizardStep::Lengths:
        return lengths_.Complete();
    case SawlogWizardStep::Criteria:
        return CriteriaPageComplete();
    case SawlogWizardStep::Name:
        return false;
    }
    return false;
}

bool SawlogWizard::Next() {
    if (!NextEnabled()) {
        return false;
    }
    switch (step_) {
    case SawlogWizardStep::GradeCount:
        RunGradeCountStep();
        break;
    case SawlogWizardStep::SetCount:
        setCount_ = setCountChoice_ + 1;
        setCountChoice_ = kNoChoice;
        diameters_.Clear(setCount_);
        butt_.fill(false);
        variationChoice_.fill(kNoChoice);
        lengthSet_ = 1;
        step_ = SawlogWizardStep::Diameters;
        break;
    case SawlogWizardStep::Diameters:
        StoreDiameters();
        ShowLengths();
        break;
    case SawlogWizardStep::Lengths:
        StoreLengths();
        if (lengthSet_ == setCount_) {
            ShowCriteria(1, 1);
        } else {
            // The diameter page is stored again, unchanged, on the way to the next set.
            ++lengthSet_;
            StoreDiameters();
            ShowLengths();
        }
        break;
    case SawlogWizardStep::Criteria:
        StoreCriteria();
        if (criteriaVariation_ < VariationCount(criteriaSet_)) {
            ShowCriteria(criteriaSet_, criteriaVariation_ + 1);
        } else if (criteriaSet_ < setCount_) {
            ShowCriteria(criteriaSet_ + 1, 1);
        } else if (grade_ == gradeCount_) {
            step_ = SawlogWizardStep::Name;
        } else {
            ++grade_;
            RunGradeCountStep(); // the grade count as still chosen on the first page
        }
        break;
    case SawlogWizardStep::Name:
        break;
    }
    return true;
}

void SawlogWizard::RunGradeCountStep() {
    grade_ = grade_ == 0 ? 1 : grade_;
    gradeCount_ = gradeCountChoice_ + 1;
    setCountChoice_ = kNoChoice;
    step_ = SawlogWizardStep::SetCount;
}

void SawlogWizard::StoreDiameters() {
    for (int d = 1; d <= setCount_; ++d) {
        for (int l = 1; l <= VariationCount(d); ++l) {
            SawlogRuleCell& cell = rules_.Cell(grade_, d, l);
            cell.GradeCount = static_cast<std::uint8_t>(gradeCount_);
            cell.DiameterSetCount = static_cast<std::uint8_t>(setCount_);
            cell.LengthVariationCount = static_cast<std::uint8_t>(VariationCount(d));
            cell.GradeNumber = static_cast<std::uint8_t>(grade_);
            cell.ButtLogsOnly = ButtLogsOnly(d) ? 1 : 0;
            cell.MinDiameter =
                static_cast<std::uint8_t>(8 + diameters_.Position(d, SawlogBound::Lower));
            cell.MaxDiameter =
                static_cast<std::uint8_t>(8 + diameters_.Position(d, SawlogBound::Upper));
        }
    }
    criteriaSet_ = criteriaVariation_ = 1;
}

void SawlogWizard::ShowLengths() {
    lengths_.Clear(VariationCount(lengthSet_));
    step_ = SawlogWizardStep::Lengths;
}

void SawlogWizard::StoreLengths() {
    for (int l = 1; l <= lengths_.Rows(); ++l) {
        SawlogRuleCell& cell = rules_.Cell(grade_, lengthSet_, l);
        cell.MinLength =
            static_cast<std::uint8_t>(8 + 2 * lengths_.Position(l, SawlogBound::Lower));
        cell.MaxLength =
            static_cast<std::uint8_t>(8 + 2 * lengths_.Position(l, SawlogBound::Upper));
    }
}

void SawlogWizard::StoreCriteria() {
    SawlogRuleCell& cell = rules_.Cell(grade_, criteriaSet_, criteriaVariation_);
    cell.ClearCuttingCode = ClearCuttingCode(Criterion(SawlogCriterion::MinLength));
    cell.MaxClearCuttings = MaxClearCuttings(Criterion(SawlogCriterion::MaxNumber));
    cell.YieldFraction = YieldFraction(Criterion(SawlogCriterion::Yield));
    cell.MaxSweepUnder25 = PercentFraction(Criterion(SawlogCriterion::SweepUnder25));
    cell.MaxSweepOver25 = PercentFraction(Criterion(SawlogCriterion::SweepOver25));
    cell.MaxDeduction = PercentFraction(Criterion(SawlogCriterion::Deduction));
}

void SawlogWizard::ShowCriteria(int set, int variation) {
    criteriaSet_ = set;
    criteriaVariation_ = variation;
    criteria_.fill(kNoChoice);
    step_ = SawlogWizardStep::Criteria;
}

std::string SawlogWizard::GradeText() const {
    return grade_ == 0 ? std::string() : "SAW GRADE " + std::to_string(grade_);
}

std::string SawlogWizard::LengthTitle() const {
    if (grade_ == 0 || lengthSet_ == 0) {
        return {};
    }
    const SawlogRuleCell& cell = rules_.Cell(grade_, lengthSet_, 1);
    return "Set the range of log lengths to be included for Diameter Range " +
           std::to_string(lengthSet_) + ": " + std::to_string(cell.MinDiameter) + " inches " +
           "thru " + std::to_string(cell.MaxDiameter) + " inches";
}

std::string SawlogWizard::CriteriaTitle() const {
    if (grade_ == 0 || criteriaSet_ == 0 || criteriaVariation_ == 0) {
        return {};
    }
    const SawlogRuleCell& cell = rules_.Cell(grade_, criteriaSet_, criteriaVariation_);
    return "Set the critera below for diameter set: " + std::to_string(cell.MinDiameter) +
           " inches to " + std::to_string(cell.MaxDiameter) + " inches, " +
           "and length variation: " + std::to_string(cell.MinLength) + " feet to " +
           std::to_string(cell.MaxLength) +
           (cell.ButtLogsOnly == 1 ? " feet, butt logs only." : " feet.");
}

std::string SawlogDiameterRowLabel(int set) {
    return "Diameter Set " + std::to_string(set) + " (inches)";
}

std::string SawlogLengthRowLabel(int variation) {
    return "Length Variation " + std::to_string(variation) + " (feet)";
}

std::vector<std::string> SawlogDiameterChoices() {
    std::vector<std::string> choices;
    for (int d = 8; d <= 50; ++d) {
        choices.push_back(std::to_string(d));
    }
    return choices;
}

std::vector<std::string> SawlogLengthChoices() {
    return {"8", "10", "12", "14", "16"};
}

std::vector<std::string> SawlogCriterionChoices(SawlogCriterion list) {
    switch (list) {
    case SawlogCriterion::MinLength:
        return {
            "2", "3", "5", "7", "1 Face Clear", "2 Faces Clear", "3 Faces Clear", "4 Faces Clear"};
    case SawlogCriterion::MaxNumber:
        return {"1", "2", "3", "No Limit"};
    case SawlogCriterion::Yield:
        return {"1/2", "2/3", "3/4", "5/6"};
    case SawlogCriterion::SweepUnder25:
    case SawlogCriterion::SweepOver25:
    case SawlogCriterion::Deduction:
        break;
    }
    std::vector<std::string> percents;
    for (int p = 0; p <= 100; p += 5) {
        percents.push_back(std::to_string(p));
    }
    return percents;
}

} // namespace varnok
