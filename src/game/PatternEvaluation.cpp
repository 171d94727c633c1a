#include "game/PatternEvaluation.h"

#include "rules/SaleUnits.h"
#include "support/Errors.h"
#include "support/Numbers.h"

#include <charconv>
#include <string_view>
#include <utility>

namespace varnok {
namespace {

constexpr const char* kInchSign = "\"";

// Two decimals after rounding to seven significant digits, as the labels show numbers, with a
// point whatever the locale.
std::string TwoDecimals(double value) {
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 6);
    double rounded = value;
    std::from_chars(buffer, written.ptr, rounded, std::chars_format::scientific);
    return FormatFixed(rounded, 2);
}

std::string Rounded(double value) {
    return std::to_string(RoundToInt(value));
}

} // namespace

void CheckPatternPositions(const Tree& tree, std::span<const int> positions) {
    if (positions.size() < 2 || positions.size() > 27) {
        throw VarnokError("A pattern needs 2 to 27 cut positions (butt and top included), not " +
                          std::to_string(positions.size()) + ".");
    }
    for (std::size_t k = 0; k < positions.size(); ++k) {
        const int p = positions[k];
        if (p < 0 || p > tree.Stem.StemLength) {
            throw VarnokError("Cut position " + std::to_string(p) +
                              " lies outside the stem (0 to " +
                              std::to_string(tree.Stem.StemLength) + " inches).");
        }
        if (k > 0 && p <= positions[k - 1]) {
            throw VarnokError("Cut positions must ascend: " + std::to_string(p) + " follows " +
                              std::to_string(positions[k - 1]) + ".");
        }
    }
}

std::array<std::string, 6> LabelLines(const Market& market, const EvaluatedLog& log,
                                      const std::string& productName) {
    const LogSegment& s = log.Segment;
    const LabelVolume volume =
        LabelVolumeOf(market.Roundwood, s.ProductClass, s.ShownVolume, log.CubicVolume);
    return {std::to_string(s.NominalLength) + "' " + productName,
            std::to_string(s.SED) + kInchSign + " sed", Rounded(s.Sweep) + kInchSign + " sweep",
            Rounded(static_cast<double>(s.SweepDeduction) * 100.0) + "%S  " +
                Rounded(static_cast<double>(s.Deduction) * 100.0) + "%C",
            TwoDecimals(volume.Amount) + " " + volume.Unit,
            // What the log sells for: $0.00 for a log sold as cull, whose charge shows in the net
            // line instead.
            "$" + PadLeft(TwoDecimals(log.ProductValue), 4)};
}

PatternEvaluation EvaluatePattern(const Tree& tree, const Market& market,
                                  std::span<const int> positions, GradeReasons reasons) {
    CheckPatternPositions(tree, positions);
    PatternEvaluation result;
    LogEvaluator evaluator(tree, market);
    float returns = 0.0F;
    for (std::size_t k = 0; k + 1 < positions.size(); ++k) {
        EvaluatedPiece piece;
        piece.Index = static_cast<int>(k + 1);
        if (reasons == GradeReasons::Record) {
            ExplainedLog explained = evaluator.ExplainLog(positions[k], positions[k + 1]);
            piece.Log = explained.Log;
            piece.Reasons = std::move(explained.Reasons);
        } else {
            piece.Log = evaluator.EvaluateLog(positions[k], positions[k + 1]);
        }
        const LogSegment& s = piece.Log.Segment;
        piece.ProductName = market.ProductName(s.ProductClass);
        if (piece.Log.Graded) {
            if (!piece.Log.SoldAsCull()) {
                returns = static_cast<float>(static_cast<double>(returns) + s.Value);
            }
            piece.RunningReturns = returns;
            piece.LabelLines = LabelLines(market, piece.Log, piece.ProductName);
        }
        if (piece.Log.SoldAsCull()) {
            result.CullPenalty = static_cast<float>(static_cast<double>(result.CullPenalty) +
                                                    static_cast<double>(s.Value));
        }
        result.Pieces.push_back(std::move(piece));
    }
    result.Returns = returns;
    return result;
}

std::vector<int> StoredOptimalCuts(const OptimalCutsTable& table, const std::filesystem::path& file,
                                   int treeNumber, const Tree& tree) {
    std::vector<int> cuts = CutPositions(table.Entry(treeNumber));
    const int top = tree.Stem.StemLength;
    if (!cuts.empty() && cuts.back() > top) {
        throw FileError(file, "the optimal pattern of tree " + std::to_string(treeNumber) +
                                  " ends at " + std::to_string(cuts.back()) +
                                  " inches, beyond the top of the stem (" + std::to_string(top) +
                                  " inches)");
    }
    return cuts;
}

} // namespace varnok
