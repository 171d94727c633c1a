#include "game/PatternEvaluation.h"

#include "engine/LogValue.h"
#include "engine/SawlogGrading.h"
#include "engine/Scaling.h"
#include "support/Errors.h"
#include "support/Numbers.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace varnok {
namespace {

constexpr const char* kInchSign = "\"";

// Two decimals after rounding to seven significant digits, as the labels show numbers.
std::string TwoDecimals(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6e", value);
    return FormatFixed(std::strtod(buffer, nullptr), 2);
}

std::string PadLeft(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

// Cubic feet per unit of sale, as single-precision factors.
float VolumeFactor(std::string_view units) {
    if (units == "Cords") {
        return 0.014285714F;
    }
    if (units == "Tons") {
        return 0.035714287F;
    }
    if (units == "Cubic Meters") {
        return 0.028571429F;
    }
    if (units == "Cubic Feet") {
        return 1.0F;
    }
    return 0.0071428571F; // thousand board feet, and any other text
}

std::string Rounded(double value) {
    return std::to_string(RoundToInt(value));
}

std::array<std::string, 6> LabelLines(const Market& market, const EvaluatedPiece& piece) {
    const LogSegment& s = piece.Segment;
    std::array<std::string, 6> lines;
    lines[0] = std::to_string(s.NominalLength) + "' " + piece.ProductName;
    lines[1] = std::to_string(s.SED) + kInchSign + " sed";
    lines[2] = Rounded(s.Sweep) + kInchSign + " sweep";
    lines[3] = Rounded(static_cast<double>(s.SweepDeduction) * 100.0) + "%S  " +
               Rounded(static_cast<double>(s.Deduction) * 100.0) + "%C";
    const int product = s.ProductClass;
    if (product <= 6) {
        lines[4] = TwoDecimals(s.ShownVolume) + " bf";
    } else if (product <= 9) {
        const std::string& units =
            market.Roundwood.Products[static_cast<std::size_t>(product - 7)].Units;
        lines[4] = TwoDecimals(static_cast<double>(piece.CubicVolume) *
                               static_cast<double>(VolumeFactor(units))) +
                   " " + units;
    } else {
        lines[4] = TwoDecimals(piece.CubicVolume) + " " + market.Roundwood.CullUnits;
    }
    lines[5] = "$" + PadLeft(TwoDecimals(s.Value), 4);
    return lines;
}

void CheckPositions(const Tree& tree, std::span<const int> positions) {
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

ResearchEntry MakeResearchEntry(const EvaluatedPiece& piece) {
    const LogSegment& s = piece.Segment;
    ResearchEntry entry;
    entry.LengthInches = static_cast<std::int16_t>(s.LengthInches);
    entry.ProductName = piece.ProductName;
    entry.StartPosition = static_cast<std::uint16_t>(s.StartPosition);
    entry.EndPosition = static_cast<std::uint16_t>(s.EndPosition);
    entry.SED = static_cast<std::uint8_t>(s.SED & 0xFF);
    entry.LED = static_cast<std::uint8_t>(s.LED & 0xFF);
    entry.Sweep = s.Sweep;
    entry.SweepDeduction = s.SweepDeduction;
    entry.Deduction = s.Deduction;
    entry.Volume = static_cast<std::int16_t>(RoundToInt(s.ShownVolume));
    entry.Value = s.Value;
    entry.ButtLog = s.ButtLog;
    entry.ProductClass = s.ProductClass;
    return entry;
}

TrackedLog MakeTrackedLog(const EvaluatedPiece& piece) {
    const LogSegment& s = piece.Segment;
    TrackedLog log;
    log.LogIndex = piece.Index;
    log.LED = s.LED;
    log.SED = s.SED;
    log.LengthInches = s.LengthInches;
    log.ShownVolume = s.ShownVolume;
    log.SweepDeduction = s.SweepDeduction;
    log.Deduction = s.Deduction;
    log.ProductClass = s.ProductClass;
    log.Value = s.Value;
    log.Unit = s.ProductClass <= 6 ? "mbf" : "ft3";
    return log;
}

} // namespace

std::string ProductName(const Market& market, int productClass) {
    static constexpr std::array<const char*, 3> kSawlogs = {"#1 Sawlog", "#2 Sawlog", "#3 Sawlog"};
    if (productClass >= 1 && productClass <= 3) {
        return market.VeneerRules.GradeName(productClass);
    }
    if (productClass >= 4 && productClass <= 6) {
        return kSawlogs[static_cast<std::size_t>(productClass - 4)];
    }
    if (productClass >= 7 && productClass <= 9) {
        return market.Roundwood.Products[static_cast<std::size_t>(productClass - 7)].Name;
    }
    return "Cull";
}

PatternEvaluation EvaluatePattern(const Tree& tree, const Market& market,
                                  std::span<const int> positions) {
    CheckPositions(tree, positions);
    PatternEvaluation result;
    SawlogGrader sawlog(tree, market);
    float returns = 0.0F;
    for (std::size_t k = 0; k + 1 < positions.size(); ++k) {
        EvaluatedPiece piece;
        piece.Index = static_cast<int>(k + 1);
        LogSegment& s = piece.Segment;
        const int start = positions[k];
        const int end = positions[k + 1];
        SetSegmentEnds(tree, s, start, end);
        s.NominalLength = NominalLengthOf(market.Lengths, s.LengthInches);
        piece.Graded = s.NominalLength != 0;
        if (piece.Graded) {
            const LogValues values = GradeAndValueLog(tree, market, sawlog, s, start, end);
            piece.NetScale = values.NetScale;
            piece.CubicVolume = values.CubicVolume;
            s.ProductClass = values.ProductClass;
            s.Value = values.Best;
            s.ShownVolume =
                values.ProductClass <= 6 ? static_cast<float>(values.NetScale) : values.CubicVolume;
        } else {
            s.SawGrade = kNoGrade;
            s.VeneerGrade = kNoGrade;
            s.RoundwoodProduct = kNoGrade;
            s.ProductClass = kCullProduct;
            piece.CubicVolume = CubicVolume(s);
            s.ShownVolume = piece.CubicVolume;
        }
        piece.ProductName = ProductName(market, s.ProductClass);
        if (piece.Graded) {
            if (s.ProductClass != kCullProduct) {
                returns = static_cast<float>(static_cast<double>(returns) + s.Value);
            }
            piece.RunningReturns = returns;
            piece.LabelLines = LabelLines(market, piece);
        }
        if (s.ProductClass == kCullProduct) {
            s.Value = CullCharge(market, piece.CubicVolume);
            result.CullPenalty = static_cast<float>(static_cast<double>(result.CullPenalty) +
                                                    static_cast<double>(s.Value));
        }
        if (piece.Graded) {
            result.Research.push_back(MakeResearchEntry(piece));
            result.Tracking.push_back(MakeTrackedLog(piece));
        }
        result.Pieces.push_back(std::move(piece));
    }
    result.Returns = returns;
    return result;
}

} // namespace varnok
