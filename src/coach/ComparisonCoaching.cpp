#include "coach/ComparisonCoaching.h"

#include "coach/Coach.h"
#include "support/Numbers.h"

#include <algorithm>

namespace varnok {
namespace {

const char* const kMinusSign = "\xE2\x88\x92"; // U+2212

std::string CostText(double cost) {
    const std::string amount = FormatFixed(cost, 2);
    return amount == "0.00" ? "$0.00" : kMinusSign + ("$" + amount);
}

std::string Legend(const ComparisonCoaching& coaching) {
    std::string legend;
    if (!coaching.CutCosts.empty()) {
        legend = "Under each cut: what it costs, the most the pattern would gain without it.";
        const bool marked = std::any_of(coaching.CutCosts.begin(), coaching.CutCosts.end(),
                                        [](const CutCostLabel& label) { return label.Costliest; });
        if (marked) {
            legend += " The costliest is in red.";
        }
        legend += " ";
    }
    if (!coaching.AddedCuts.empty()) {
        legend += "Dashed: the cuts that would complete the pattern best. ";
    }
    return legend + "Click a log or its label to see why it got its grade.";
}

} // namespace

ComparisonCoaching CoachComparison(Coach& coach, std::span<const int> inches, int buttX) {
    const std::vector<CutCost> costs = coach.CutCosts(inches);
    const auto costliest = CostliestCut(costs);
    ComparisonCoaching coaching;
    for (std::size_t i = 0; i < costs.size(); ++i) {
        CutCostLabel label;
        label.Position = costs[i].Position;
        label.X = buttX + costs[i].Position;
        label.Cost = costs[i].Cost;
        label.Text = CostText(costs[i].Cost);
        label.Costliest = costliest == i;
        coaching.CutCosts.push_back(std::move(label));
    }
    for (const CoachedGap& gap : coach.BestCompletion(inches).Gaps) {
        for (const int cut : gap.AddedCuts) {
            // The stub above the usable length is waste whether it is cut off or not; the
            // optimal pattern shows no cut there either.
            if (cut == coach.UsableLength()) {
                continue;
            }
            coaching.AddedCuts.push_back(cut);
            coaching.AddedCutPixels.push_back(buttX + cut);
        }
    }
    coaching.Legend = Legend(coaching);
    return coaching;
}

int PieceAtX(std::span<const int> inches, int buttX, double pictureX) {
    if (inches.size() < 2) {
        return 0;
    }
    const double inch = pictureX - buttX;
    if (inch < inches.front() || inch > inches.back()) {
        return 0;
    }
    // The first cut above the point closes its piece; at the top that is the last piece.
    const auto above = std::upper_bound(inches.begin(), inches.end(), inch,
                                        [](double x, int cut) { return x < cut; });
    const auto piece = std::min<std::ptrdiff_t>(above - inches.begin(),
                                                static_cast<std::ptrdiff_t>(inches.size()) - 1);
    return static_cast<int>(piece);
}

GradeExplanationText ExplainPiece(Solution solution, const EvaluatedPiece& piece) {
    const LogSegment& s = piece.Log.Segment;
    GradeExplanationText text;
    text.Heading =
        std::string(solution == Solution::Optimal ? "Optimal" : "Bucker's") + " log " +
        std::to_string(piece.Index) + ", " + std::to_string(s.StartPosition) + " to " +
        std::to_string(s.EndPosition) + " in.: " +
        (piece.Log.Graded ? piece.LabelLines[0] : "too short to grade, " + piece.ProductName);
    for (const GradeReason& reason : piece.Reasons) {
        text.Lines.push_back(ReasonLine(reason));
    }
    return text;
}

} // namespace varnok
