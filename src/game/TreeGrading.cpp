#include "game/TreeGrading.h"

#include "game/PatternEvaluation.h"
#include "support/Numbers.h"

#include <algorithm>
#include <array>

namespace varnok {
namespace {

constexpr int kTrialStep = 4;        // inches between trial starts
constexpr int kTrialLength = 120;    // inches: 10 ft, before the trim
constexpr double kTrialReach = 72.0; // inches of the butt over which the trials start

} // namespace

ButtLogGrade GradeButtLog(const Tree& tree, const Market& market) {
    const int trim = market.TrimAllowance();
    const int trials = RoundToInt32((kTrialReach - trim) * 0.25) + 1;
    ButtLogGrade grade;
    for (int i = 0; i < trials; ++i) {
        const std::array<int, 2> pattern = {kTrialStep * i, kTrialStep * i + kTrialLength + trim};
        if (pattern[1] > tree.Stem.StemLength) {
            break; // every later trial ends higher still
        }
        const PatternEvaluation evaluation = EvaluatePattern(tree, market, pattern);
        // A 10 ft log is long enough to be graded whatever the trim, so every trial counts.
        const int code = evaluation.Pieces.front().Log.Segment.ProductClass;
        grade.Trials.push_back({pattern[0], pattern[1], code});
        grade.Code = std::min(grade.Code, code);
    }
    return grade;
}

std::string ButtLogGradeText(int code) {
    static constexpr std::array<const char*, 10> kTexts = {
        "#1 Veneer", "#2 Veneer", "#3 Veneer", "#1 Saw",   "#2 Saw",
        "#3 Saw",    "Product1",  "Product2",  "Product3", "Cull"};
    if (code < 1 || code > static_cast<int>(kTexts.size())) {
        return "No Grade";
    }
    return kTexts[static_cast<std::size_t>(code - 1)];
}

} // namespace varnok
