#include "engine/LogEvaluator.h"

#include "engine/detail/SawlogGrading.h"
#include "engine/detail/Scaling.h"
#include "engine/detail/TreeIndex.h"
#include "engine/detail/Values.h"
#include "engine/detail/VeneerGrading.h"
#include "support/Errors.h"
#include "support/Numbers.h"

#include <algorithm>
#include <string>
#include <utility>

namespace varnok {

using namespace detail;

LogEvaluator::LogEvaluator(const Tree& tree, const Market& market)
    : tree_(tree), market_(market), index_(std::make_unique<TreeIndex>(tree)),
      sawlog_(std::make_unique<SawlogGrader>(tree, *index_, market.SawlogRules)) {}

LogEvaluator::~LogEvaluator() = default;

// The worth of a log is the most of its three values and 0, and a sawlog grade reached can only
// fall from there (stain), so a grade is worth looking for when it or a worse one fetches more
// than the log's other values and beats the bar.
int LogEvaluator::WorstGradeWorthFinding(int length, int netScale, float elsewhere,
                                         const ValueBar& bar) const {
    if (!SellsByBoardFoot(netScale)) {
        return 0; // no grade fetches anything
    }
    float worstOrWorse = 0.0F; // the most a grade from g down to the worst fetches
    for (int g = 3; g >= 1; --g) {
        worstOrWorse = std::max(worstOrWorse, SawlogValue(market_, g, length, netScale));
        if (worstOrWorse > elsewhere && bar.BeatenBy(worstOrWorse)) {
            return g;
        }
    }
    return 0;
}

EvaluatedLog LogEvaluator::Evaluate(int start, int end, GradeTrace* trace, Purpose purpose,
                                    const ValueBar& bar) {
    if (start < 0 || start >= end || end > tree_.Stem.StemLength) {
        throw VarnokError("A log from " + std::to_string(start) + " to " + std::to_string(end) +
                          " inches does not lie on the stem (0 to " +
                          std::to_string(tree_.Stem.StemLength) + " inches).");
    }
    EvaluatedLog log;
    LogSegment& s = log.Segment;
    SetSegmentEnds(tree_, s, start, end);
    s.NominalLength = market_.Lengths().NominalFeet(s.LengthInches);
    s.SawGrade = kNoGrade;
    s.VeneerGrade = kNoGrade;
    s.RoundwoodProduct = kNoGrade;
    if (s.NominalLength == 0) {
        s.ProductClass = kCullProduct;
        log.CubicVolume = CubicVolume(s);
        s.ShownVolume = log.CubicVolume;
        s.Value = CullCharge(market_, log.CubicVolume);
        return log;
    }
    log.Graded = true;
    ComputeSweep(tree_, *index_, market_.Lengths(), s);
    DecayDeduction(tree_, *index_, s);
    ForkBulgeDeduction(tree_, *index_, s);
    SeamDeduction(tree_, *index_, s);
    MarkButtLog(s);
    log.NetScale = NetScale(market_.LogRule, s);
    log.CubicVolume = CubicVolume(s);
    const int length = s.NominalLength;
    // The graders read none of each other's results, so their order is free; the trace lists
    // verdicts by product whatever the order.
    ClassRoundwood(market_, log.CubicVolume, s, trace);
    log.RoundwoodValue =
        RoundwoodValue(market_, s.RoundwoodProduct, length, log.NetScale, log.CubicVolume);
    // Under 30 board feet net a log is worth nothing as veneer or sawlog whatever its grades,
    // so its worth alone needs neither grade.
    const bool everything = purpose == Purpose::Everything;
    if (everything || SellsByBoardFoot(log.NetScale)) {
        GradeVeneerAll(tree_, *index_, market_.VeneerRules(), s, trace);
    }
    log.VeneerValue = VeneerValue(market_, s.VeneerGrade, length, log.NetScale);
    const float elsewhere = std::max({log.VeneerValue, log.RoundwoodValue, 0.0F});
    sawlog_->GradeSawlog(
        s, trace, everything ? 3 : WorstGradeWorthFinding(length, log.NetScale, elsewhere, bar));
    log.SawlogValue = SawlogValue(market_, s.SawGrade, length, log.NetScale);
    s.ProductClass = kCullProduct;
    if (log.VeneerValue > 0.0F && log.VeneerValue >= log.SawlogValue &&
        log.VeneerValue >= log.RoundwoodValue) {
        s.ProductClass = s.VeneerGrade;
        log.ProductValue = log.VeneerValue;
    } else if (log.SawlogValue > 0.0F && log.SawlogValue >= log.RoundwoodValue) {
        s.ProductClass = static_cast<std::uint8_t>(s.SawGrade + 3);
        log.ProductValue = log.SawlogValue;
    } else if (log.RoundwoodValue > 0.0F) {
        s.ProductClass = static_cast<std::uint8_t>(s.RoundwoodProduct + 6);
        log.ProductValue = log.RoundwoodValue;
    }
    s.ShownVolume = ShownVolumeOf(s.ProductClass, log.NetScale, log.CubicVolume);
    s.Value = log.SoldAsCull() ? CullCharge(market_, log.CubicVolume) : log.ProductValue;
    return log;
}

namespace {

std::string Dollars(float value) {
    return "$" + FormatFixed(static_cast<double>(value), 2);
}

// What a log fetches one way, and why nothing when it met the product but is too small.
std::string WayOfSelling(const char* way, float value, bool met, bool sells) {
    std::string text = std::string(way) + " " + Dollars(value);
    if (value <= 0.0F) {
        text += met && !sells ? " (too small to sell)" : met ? "" : " (no grade)";
    }
    return text;
}

} // namespace

GradeReason LogEvaluator::ValueReason(const EvaluatedLog& log) const {
    const LogSegment& s = log.Segment;
    GradeReason reason;
    reason.ProductClass = s.ProductClass;
    reason.Product = market_.ProductName(s.ProductClass);
    reason.Passed = true;
    reason.Rule = "value";
    if (!log.Graded) {
        reason.Detail = "not graded: " + std::to_string(s.LengthInches) +
                        " in. is shorter than 8 ft plus trim (" +
                        std::to_string(market_.Lengths().Lengths[0]) + " in.); charged " +
                        Dollars(s.Value) + " as cull";
        return reason;
    }
    const bool byBoardFoot = SellsByBoardFoot(log.NetScale);
    const std::string ways =
        WayOfSelling("veneer", log.VeneerValue, s.VeneerGrade <= 3, byBoardFoot) + ", " +
        WayOfSelling("sawlog", log.SawlogValue, s.SawGrade <= 3, byBoardFoot) + ", " +
        WayOfSelling("roundwood", log.RoundwoodValue, s.RoundwoodProduct <= 3,
                     SellsAsRoundwood(log.NetScale, log.CubicVolume)) +
        "; net scale " + std::to_string(log.NetScale) + " bd ft, " +
        FormatFixed(static_cast<double>(log.CubicVolume), 2) + " cu ft";
    reason.Detail =
        log.SoldAsCull()
            ? "nothing is worth anything (" + ways + "); charged " + Dollars(s.Value) + " as cull"
            : "sells for " + Dollars(log.ProductValue) + ", the most of " + ways;
    return reason;
}

ExplainedLog LogEvaluator::ExplainLog(int start, int end) {
    GradeTrace trace;
    ExplainedLog explained;
    explained.Log = Evaluate(start, end, &trace, Purpose::Everything, ValueBar{});
    // Grades worse than the one reached are left out: the sawlog grader stops trying cells
    // once a grade is reached, so their verdicts would be incomplete.
    const LogSegment& s = explained.Log.Segment;
    for (GradeReason& reason : trace.Verdicts()) {
        const int c = reason.ProductClass;
        if ((c <= 3 && c > s.VeneerGrade) || (c >= 4 && c <= 6 && c > s.SawGrade + 3)) {
            continue;
        }
        reason.Product = market_.ProductName(c);
        explained.Reasons.push_back(std::move(reason));
    }
    explained.Reasons.push_back(ValueReason(explained.Log));
    return explained;
}

} // namespace varnok
