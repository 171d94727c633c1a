#pragma once

#include "engine/GradeExplanation.h"
#include "engine/LogSegment.h"
#include "market/Market.h"
#include "tree/Tree.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace varnok {

namespace detail {
struct TreeIndex;
class SawlogGrader;
} // namespace detail

// Everything the engine works out about one log: the segment record with its geometry,
// deductions, grades and product, and the volumes and values behind the choice of product.
struct EvaluatedLog {
    // ProductClass, Value (dollars as sold: the cull charge for a log sold as cull) and
    // ShownVolume are set as the log sells.
    LogSegment Segment;
    bool Graded = false;        // false for a piece shorter than 8 ft plus trim
    std::uint16_t NetScale = 0; // board feet
    float CubicVolume = 0.0F;   // cubic feet
    // Dollars the log fetches sold each way; 0 where it does not qualify.
    float VeneerValue = 0.0F;
    float SawlogValue = 0.0F;
    float RoundwoodValue = 0.0F;
    // Dollars of the way it sells best: the greatest of the three, ties going to veneer, then
    // sawlog, then roundwood; 0 when none is positive and the log is sold as cull. This is
    // what a span is worth to the optimiser.
    float ProductValue = 0.0F;

    bool SoldAsCull() const { return Segment.ProductClass == kCullProduct; }
};

// What a value must beat to count, in dollars: Base + value > Target, worked in double as the
// optimiser adds a span's value to the best total at its start and compares the sum with the
// best total at its end. The default bar is beaten by every value.
struct ValueBar {
    double Base = 0.0;
    double Target = -std::numeric_limits<double>::infinity();
    bool BeatenBy(float value) const { return Base + static_cast<double>(value) > Target; }
};

// A log evaluated with the reasons for its grades and product.
struct ExplainedLog {
    EvaluatedLog Log;
    // Best product first: one verdict for each veneer and each sawlog grade better than the
    // one the log reached and for that one (every grade when it reached none), and for each
    // defined roundwood product; then, last, the "value" entry of the product the log sells
    // as, with what it fetches sold each way. A piece too short to grade has only its "value"
    // entry.
    std::vector<GradeReason> Reasons;
};

// The engine's one way to evaluate a log: a tree prepared once (its defects indexed by kind and
// by sawlog face, the market's rule cells flattened), then any number of logs of it, each
// scaled, graded and valued completely.
//
// Keeps references to the tree and the market: both must outlive the evaluator and stay
// unchanged. An evaluator keeps work areas, so one evaluator must not be used by two threads
// at once; several evaluators may share one tree and one market across threads.
class LogEvaluator {
public:
    LogEvaluator(const Tree& tree, const Market& market);
    ~LogEvaluator();
    LogEvaluator(const LogEvaluator&) = delete;
    LogEvaluator& operator=(const LogEvaluator&) = delete;

    // The log from `start` to `end` (inches from the butt). A piece shorter than 8 ft plus
    // trim is not graded: grades 4, sold as cull with its cull charge. Otherwise: sweep and
    // deductions, sawlog grade, roundwood product, veneer grade, scale, volume and values, and
    // the product it sells as (cull when nothing is worth anything).
    // Throws VarnokError unless 0 <= start < end <= the stem length.
    EvaluatedLog EvaluateLog(int start, int end) {
        return Evaluate(start, end, nullptr, Purpose::Everything, ValueBar{});
    }

    // EvaluateLog(start, end).ProductValue (dollars), the worth of a span to the optimiser,
    // without the work that cannot change it. With a bar: that value when it beats the bar,
    // else some value that does not beat it either (no grade is looked for that could only
    // fetch a value the bar stops). Throws as EvaluateLog.
    float ProductValue(int start, int end, const ValueBar& bar = ValueBar{}) {
        return Evaluate(start, end, nullptr, Purpose::ProductValue, bar).ProductValue;
    }

    // The same evaluation, with the graders recording why (see GradeTrace); the log comes out
    // exactly as EvaluateLog gives it. Throws as EvaluateLog.
    ExplainedLog ExplainLog(int start, int end);

    const Tree& TheTree() const { return tree_; }
    const Market& TheMarket() const { return market_; }

private:
    // What an evaluation is for: the whole log, or its ProductValue alone (the rest of the
    // log may then be left incomplete).
    enum class Purpose { Everything, ProductValue };
    EvaluatedLog Evaluate(int start, int end, GradeTrace* trace, Purpose purpose,
                          const ValueBar& bar);
    // The worst sawlog grade (1 to 3; 0 for none) that could still change the worth of a log
    // of `length` feet and `netScale` board feet whose other values come to `elsewhere`.
    int WorstGradeWorthFinding(int length, int netScale, float elsewhere,
                               const ValueBar& bar) const;
    GradeReason ValueReason(const EvaluatedLog& log) const;

    const Tree& tree_;
    const Market& market_;
    std::unique_ptr<detail::TreeIndex> index_;
    std::unique_ptr<detail::SawlogGrader> sawlog_;
};

} // namespace varnok
