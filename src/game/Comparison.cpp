#include "game/Comparison.h"

#include "market/OptimalCuts.h"
#include "support/Errors.h"
#include "support/Numbers.h"

#include <algorithm>

namespace varnok {
namespace {

constexpr int kLabelPixelsPerCharacter = 7;
constexpr int kLabelPadding = 4;
constexpr int kNetLinePixelsPerCharacter = 6;
constexpr std::size_t kReturnsWidth = 5;

// Characters, not bytes: product names from the rule files may hold letters that take two
// bytes in UTF-8, and the window sizes a label by what it shows.
int CharacterCount(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    }));
}

// The label sits under the middle of its log. The first log is measured back from its upper
// end and every other one up from its lower end, so a half inch falls differently on the two.
int LabelX(std::span<const int> inches, int buttX, std::size_t piece) {
    const int start = inches[piece];
    const int end = inches[piece + 1];
    const int half = static_cast<int>(RoundToInt((end - start) * 0.5));
    if (piece == 0) {
        return buttX + end - half;
    }
    return buttX + start + half;
}

LogLabel MakeLabel(const EvaluatedPiece& piece, std::span<const int> inches, int buttX) {
    LogLabel label;
    label.LogIndex = piece.Index;
    label.X = LabelX(inches, buttX, static_cast<std::size_t>(piece.Index - 1));
    label.Lines = piece.LabelLines;
    int longest = 0;
    for (const std::string& line : label.Lines) {
        longest = std::max(longest, CharacterCount(line));
    }
    label.MinimumWidth = kLabelPixelsPerCharacter * longest + kLabelPadding;
    return label;
}

std::string NetLine(double returns, double penalty) {
    return "$" + FormatFixed(returns, 2) + " - $" + FormatFixed(penalty, 2) +
           " (cull penalty) = $" + FormatFixed(returns - penalty, 2);
}

} // namespace

std::string ReturnsLine(Solution solution, double returns) {
    const char* prefix =
        solution == Solution::Optimal ? "Optimal Solution Returns $" : "Bucker Solution Returns $";
    return prefix + PadLeft(FormatFixed(returns, 2), kReturnsWidth);
}

StoredOptimum ReadStoredOptimum(const std::filesystem::path& optmcuts, int treeNumber,
                                const Tree& tree) {
    StoredOptimum optimum;
    OptimalCutsTable table;
    try {
        table = ReadOptimalCuts(optmcuts);
    } catch (const VarnokError& error) {
        optimum.Missing =
            std::string("The optimal patterns of this market cannot be read: ") + error.what();
        return optimum;
    }
    try {
        optimum.Cuts = StoredOptimalCuts(table, optmcuts, treeNumber, tree);
    } catch (const VarnokError& error) {
        optimum.Missing =
            std::string("The optimal pattern stored for this tree cannot be used: ") + error.what();
        return optimum;
    }
    if (optimum.Cuts.empty()) {
        optimum.Missing = "No optimal pattern is stored for this tree in this market.";
    }
    return optimum;
}

PatternResult ComparePattern(const Tree& tree, const Market& market, Solution solution,
                             std::span<const int> inches, int buttX, GradeReasons reasons) {
    PatternResult result;
    result.Evaluation = EvaluatePattern(tree, market, inches, reasons);
    const EvaluatedPiece* lastGraded = nullptr;
    for (const EvaluatedPiece& piece : result.Evaluation.Pieces) {
        if (!piece.Log.Graded) {
            continue;
        }
        result.Labels.push_back(MakeLabel(piece, inches, buttX));
        lastGraded = &piece;
    }
    if (lastGraded != nullptr) {
        result.ReturnsLine = ReturnsLine(solution, lastGraded->RunningReturns);
    }
    if (result.Evaluation.ShowsNet()) {
        result.NetLine = NetLine(result.Evaluation.Returns, result.Evaluation.CullPenalty);
        result.NetLineMinimumWidth = kNetLinePixelsPerCharacter * CharacterCount(*result.NetLine);
    }
    return result;
}

} // namespace varnok
